#include "bench/SampleData.h"

#include "data/Find.h"
#include "data/engine/Database.h"

#include <QDateTime>
#include <QStringList>
#include <random>
#include <sqlite3.h>
#include <stdexcept>

namespace {

const QStringList FirstNames = {"James", "Mary", "Robert", "Patricia", "John", "Jennifer", "Michael", "Linda",
                                "David", "Elizabeth", "William", "Barbara", "Richard", "Susan", "Joseph", "Jessica",
                                "Thomas", "Sarah", "Charles", "Karen", "Daniel", "Nancy", "Matthew", "Lisa",
                                "Anthony", "Betty", "Mark", "Margaret", "Donald", "Sandra", "Ann", "Lee"};
const QStringList LastNames = {"Smith", "Johnson", "Williams", "Brown", "Jones", "Garcia", "Miller", "Davis",
                               "Rodriguez", "Martinez", "Hernandez", "Lopez", "Gonzalez", "Wilson", "Anderson",
                               "Thomas", "Taylor", "Moore", "Jackson", "Martin", "Lee", "Perez", "Thompson", "White",
                               "Harris", "Sanchez", "Clark", "Ramirez", "Lewis", "Robinson", "O'Brien", "MacLeod"};
const QStringList Companies = {"", "", "", "Acme Tools", "Northside Hardware", "Bluewater Marine", "Pine & Oak Furniture",
                               "Harbour Bakery", "Summit Auto Repair", "Greenleaf Landscaping", "Quick Print Shop"};
const QStringList Streets = {"Main St", "Oak Ave", "Maple Dr", "Cedar Ln", "Elm St", "Lakeview Rd", "Park Blvd",
                             "Hillcrest Way", "River Rd", "King St W"};
const QStringList Cities = {"Springfield", "Riverton", "Fairview", "Lakeside", "Greenville", "Kingston", "Milton",
                            "Ashford", "Brookfield", "Clayton"};
const QStringList States = {"ON", "BC", "NY", "OH", "WA", "TX", "MB", "NS", "CA", "MI"};
const QStringList Banks = {"First National Bank", "Royal Trust", "Citizens Savings", "Harbour Credit Union",
                           "Commerce Bank", "Pioneer Savings"};
const QStringList Stages = {"Phone Call", "First Notice", "Second Notice", "Final Notice", "Collection", "Police",
                            "Attorney"};
const QStringList CheckTypes = {"NSF", "NSF", "NSF", "Account Closed", "Stop Payment"};
const QStringList Results = {"Paid in Full", "Partially Paid", "Can't Pay", "Can't Locate"};

struct Db {
    sqlite3* handle = nullptr;
    explicit Db(const QString& path) {
        if (sqlite3_open_v2(path.toUtf8().constData(), &handle, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
            throw std::runtime_error("cannot open the sample database");
        find_RegisterSqlFunctions(handle); // the find index's triggers need it
    }
    ~Db() { sqlite3_close(handle); }
    void exec(const char* sql) {
        char* message = nullptr;
        if (sqlite3_exec(handle, sql, nullptr, nullptr, &message) != SQLITE_OK) {
            const std::string text = message ? message : "error";
            sqlite3_free(message);
            throw std::runtime_error(text);
        }
    }
};

struct Insert {
    sqlite3_stmt* stmt = nullptr;
    Insert(sqlite3* db, const QString& sql) {
        if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &stmt, nullptr) != SQLITE_OK)
            throw std::runtime_error(sqlite3_errmsg(db));
    }
    ~Insert() { sqlite3_finalize(stmt); }
    void text(int i, const QString& s) { sqlite3_bind_text(stmt, i, s.toUtf8().constData(), -1, SQLITE_TRANSIENT); }
    void integer(int i, qint64 v) { sqlite3_bind_int64(stmt, i, v); }
    void real(int i, double v) { sqlite3_bind_double(stmt, i, v); }
    void null(int i) { sqlite3_bind_null(stmt, i); }
    void date(int i, const QDateTime& d) {
        if (d.isValid())
            text(i, d.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
        else
            null(i);
    }
    void run() {
        if (sqlite3_step(stmt) != SQLITE_DONE) throw std::runtime_error(sqlite3_errmsg(sqlite3_db_handle(stmt)));
        sqlite3_reset(stmt);
        sqlite3_clear_bindings(stmt);
    }
};

qint64 cents(double amount) { return qint64(amount * 100.0 + 0.5) * 100; } // currency: amount * 10 000

} // namespace

void sample_Fill(const QString& databasePath, const SampleSize& size) {
    std::mt19937 rng(size.seed);
    const auto pick = [&](const QStringList& list) {
        return list[std::uniform_int_distribution<int>(0, int(list.size()) - 1)(rng)];
    };
    const auto number = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    const auto digits = [&](int n) {
        QString s;
        for (int i = 0; i < n; ++i) s += QChar('0' + number(0, 9));
        return s;
    };

    Db db(databasePath);
    db.exec("BEGIN");
    // Many rows in one transaction: the find index is made afterwards, in one pass.
    for (const QString& trigger : find_TriggerNames())
        db.exec(QStringLiteral("DROP TRIGGER IF EXISTS %1").arg(trigger).toUtf8().constData());
    {
        Insert customer(db.handle,
                        QStringLiteral("INSERT INTO Address (Title, FirstName, Initial, LastName, CompanyName, Address1, "
                                       "City, StateOrProv, PostalCode, Country, Phone, Code, Type, Notes, Identification, "
                                       "NoMoreChecks, ShowAs) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"));
        for (int i = 0; i < size.customers; ++i) {
            const QString first = pick(FirstNames), last = pick(LastNames), company = pick(Companies);
            const QString initial = number(0, 2) ? QString(QChar('A' + number(0, 25))) : QString();
            customer.text(1, number(0, 1) ? QStringLiteral("Mr.") : QStringLiteral("Ms."));
            customer.text(2, first);
            customer.text(3, initial);
            customer.text(4, last);
            customer.text(5, company);
            customer.text(6, QString::number(number(10, 9999)) + QLatin1Char(' ') + pick(Streets));
            customer.text(7, pick(Cities));
            customer.text(8, pick(States));
            customer.text(9, QStringLiteral("K%1A %2B%3").arg(number(1, 9)).arg(number(1, 9)).arg(number(1, 9)));
            customer.text(10, QStringLiteral("Canada"));
            customer.text(11, QStringLiteral("(%1) %2-%3").arg(number(200, 999)).arg(digits(3), digits(4)));
            customer.text(12, QStringLiteral("C%1").arg(i + 1, 5, 10, QLatin1Char('0')));
            customer.text(13, company.isEmpty() ? QStringLiteral("Personal") : QStringLiteral("Business"));
            customer.text(14, number(0, 3) ? QString() : QStringLiteral("Prefers calls after 5 pm."));
            customer.text(15, QStringLiteral("Driver's licence %1").arg(digits(8)));
            customer.integer(16, number(0, 9) == 0 ? 1 : 0);
            QString showAs = last + QStringLiteral(", ") + first + (initial.isEmpty() ? QString() : QLatin1Char(' ') + initial + QLatin1Char('.'));
            if (!company.isEmpty()) showAs += QStringLiteral("   [") + company + QLatin1Char(']');
            customer.text(17, showAs);
            customer.run();
        }

        Insert item(db.handle,
                    QStringLiteral("INSERT INTO Cases (CustomerID, CaseOpen, ReferenceNumber, DateReceived, Stage, StageDate, "
                                   "FinalResult, DetailNotes, CheckDate, CheckType, CheckAmount, Bank, Branch, AccountNumber, "
                                   "TransitNumber, BranchNumber, CheckNumber, CollectionCompany, CollectionContact, "
                                   "CollectionPercent, CollectionDollar, PercentCollectionType, IncludeNSF, "
                                   "IncludeCollectionCharges, AddNSF, PhoneCall, FirstNotice, SecondNotice, FinalNotice, "
                                   "Collection, Police, Attorney, PhoneDate, FirstNoticeDate, SecondNoticeDate, "
                                   "FinalNoticeDate, CollectionNoticeDate, PoliceNoticeDate, AttorneyNoticeDate, "
                                   "CollectionCharge, CollectableAmount, Installment1Amount, Installment1Date, AmountPaid, "
                                   "BallanceOwed) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,"
                                   "?,?,?,?,?,?,?,?,?,?,?,?)"));
        const QDateTime today(QDate(2026, 12, 1), QTime(0, 0));
        for (int i = 0; i < size.cases; ++i) {
            const QDateTime received = today.addDays(-number(0, 720)).addSecs(number(28800, 64800));
            const bool open = number(0, 1) == 1;
            const int stage = number(-1, 6); // -1: no stage yet
            const double amount = number(2000, 250000) / 100.0;
            const double fee = 20.0;
            const double percent = 30.0;
            const bool inCollection = stage >= 4;
            const double charge = inCollection ? int(amount * percent) / 100.0 : 0.0;
            const double collectable = amount + fee + charge;
            const double paid = open ? (number(0, 3) == 0 ? int(collectable * 25) / 100.0 : 0.0) : collectable;
            int c = 1;
            item.integer(c++, number(1, size.customers));
            item.integer(c++, open ? 1 : 0);
            item.text(c++, QString::number(quint32(3'900'000'000u + quint32(i) * 97u), 16).toUpper());
            item.date(c++, received);
            QDateTime stageDate = stage >= 0 ? received.addDays(3 * (stage + 1)) : QDateTime();
            if (stage >= 0) item.text(c++, Stages[stage]); else item.null(c++);
            item.date(c++, stageDate.isValid() ? QDateTime(stageDate.date(), QTime(0, 0)) : QDateTime());
            if (open) item.null(c++); else item.text(c++, pick(Results));
            item.text(c++, number(0, 2) ? QString() : QStringLiteral("Left a message with the writer's office."));
            item.date(c++, received.addDays(-number(3, 20)));
            item.text(c++, pick(CheckTypes));
            item.integer(c++, cents(amount));
            item.text(c++, pick(Banks));
            item.text(c++, pick(Cities) + QStringLiteral(" branch"));
            item.text(c++, digits(9));
            item.text(c++, digits(5));
            item.text(c++, digits(3));
            item.text(c++, QString::number(number(100, 9999)));
            item.text(c++, QStringLiteral("Reliable Collections Inc."));
            item.text(c++, QStringLiteral("Pat Officer"));
            item.real(c++, percent);
            item.integer(c++, cents(25));
            item.integer(c++, 1);
            item.integer(c++, 1);
            item.integer(c++, 1);
            item.integer(c++, 1);
            for (int s = 0; s < 7; ++s) item.integer(c++, s <= stage ? 1 : 0);
            for (int s = 0; s < 7; ++s)
                item.date(c++, s <= stage ? QDateTime(received.addDays(3 * (s + 1)).date(), QTime(0, 0)) : QDateTime());
            item.integer(c++, cents(charge));
            item.integer(c++, cents(collectable));
            item.integer(c++, cents(paid));
            item.date(c++, paid > 0 ? QDateTime(received.addDays(30).date(), QTime(0, 0)) : QDateTime());
            item.integer(c++, cents(paid));
            item.integer(c++, cents(collectable - paid));
            item.run();
        }
        Insert config(db.handle, QStringLiteral("INSERT INTO Config (CollectionCompanyName, CollectionOfficerName, "
                                                "CollectionChargePercent, CollectionChargeDollars, CourtCosts, NSFfee, "
                                                "IncludeNSF, AddNSF, PrintNoticesToScreen) VALUES (?,?,?,?,?,?,?,?,?)"));
        config.text(1, QStringLiteral("Reliable Collections Inc."));
        config.text(2, QStringLiteral("Pat Officer"));
        config.real(3, 30.0);
        config.integer(4, cents(25));
        config.integer(5, cents(150));
        config.integer(6, cents(20));
        config.integer(7, 1);
        config.integer(8, 1);
        config.integer(9, 1);
        config.run();
    }
    db.exec("UPDATE Cases SET Installment2Amount = 0, Installment3Amount = 0, Installment4Amount = 0, "
            "Installment5Amount = 0");
    db.exec("COMMIT");
    Database index = Database::open(databasePath);
    index.beginTrans();
    find_CreateIndex(index);
    index.commitTrans();
}
