#include "cases/CaseScreenSupport.h"
#include "core/AppInfo.h"
#include "core/Money.h"
#include "data/Export.h"
#include "data/engine/Database.h"

#include <QBuffer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QTemporaryFile>

namespace {

class ExportTest : public CaseScreenTest {
protected:
    // The export read back by Python's csv module, as a spreadsheet program would read it.
    QList<QStringList> readBack(ExportSet set, const QString& currentSet = QString()) {
        QTemporaryFile file;
        EXPECT_TRUE(file.open());
        written = data_ExportCsv(DatabasePath, set, currentSet, file);
        file.close();
        QProcess python;
        python.start("python3", {"-c", "import csv, json, sys\n"
                                       "rows = list(csv.reader(open(sys.argv[1], encoding='utf-8-sig', newline='')))\n"
                                       "print(json.dumps(rows))",
                                 file.fileName()});
        EXPECT_TRUE(python.waitForFinished(20000)) << "python3 is needed to read the export back";
        QList<QStringList> rows;
        for (const auto& row : QJsonDocument::fromJson(python.readAllStandardOutput()).array()) {
            QStringList fields;
            for (const auto& field : row.toArray()) fields << field.toString();
            rows << fields;
        }
        return rows;
    }
    static QString field(const QList<QStringList>& rows, int row, const QString& name) {
        const int column = int(rows[0].indexOf(name));
        return column < 0 ? "<no column " + name + ">" : rows[row][column];
    }
    int written = 0;
};

TEST_F(ExportTest, CasesRoundTripThroughACsvReader) {
    const QString notes = "Said \"next week\", twice,\r\nthen nothing.\nÉlodie's cheque";
    const qint64 lee = addCustomer({{"LastName", "Lee"}, {"ShowAs", "Lee, Ann"}});
    const qint64 zoe = addCustomer({{"LastName", "Zoë"}, {"ShowAs", "Zoë, \"Z\""}});
    addCase(zoe, {{"CheckAmount", Value::money(Money::fromCents(-1))}, {"CaseOpen", false}});
    addCase(lee, {{"CheckAmount", Value::money(Money::fromCents(123456789))},
                  {"DetailNotes", notes},
                  {"StageDate", Value::date(QDateTime(QDate(2026, 3, 4), QTime(13, 5)))}});

    // written from outside: a value that is not a date goes out as it is stored
    Database::open(DatabasePath).execute("UPDATE Cases SET CheckDate = 'next week' WHERE CaseOpen = False");

    const QList<QStringList> all = readBack(ExportSet::AllCases);
    ASSERT_EQ(all.size(), 3);
    EXPECT_EQ(written, 2);
    EXPECT_EQ(all[0].first(), "Customer");
    EXPECT_EQ(field(all, 1, "Customer"), "Lee, Ann") << "sorted by display name";
    EXPECT_EQ(field(all, 1, "CheckAmount"), "1234567.89");
    EXPECT_EQ(field(all, 1, "DetailNotes"), notes);
    EXPECT_EQ(field(all, 1, "DateReceived"), "2026-11-01T10:00:00");
    EXPECT_EQ(field(all, 1, "StageDate"), "2026-03-04T13:05:00");
    EXPECT_EQ(field(all, 1, "CaseOpen"), "Yes");
    EXPECT_EQ(field(all, 2, "Customer"), "Zoë, \"Z\"");
    EXPECT_EQ(field(all, 2, "CheckAmount"), "-0.01");
    EXPECT_EQ(field(all, 2, "CaseOpen"), "No");
    EXPECT_EQ(field(all, 2, "CustomerID"), QString::number(zoe));
    EXPECT_EQ(field(all, 2, "CheckDate"), "next week");
    EXPECT_EQ(field(all, 2, "StageDate"), "") << "Null";

    const QList<QStringList> open = readBack(ExportSet::OpenCases);
    ASSERT_EQ(open.size(), 2);
    EXPECT_EQ(field(open, 1, "Customer"), "Lee, Ann");
    const QList<QStringList> current =
        readBack(ExportSet::CurrentSet, QString("SELECT * FROM Cases WHERE CustomerID = %1").arg(zoe));
    ASSERT_EQ(current.size(), 2);
    EXPECT_EQ(field(current, 1, "Customer"), "Zoë, \"Z\"");
}

TEST_F(ExportTest, CustomersLeaveTheCardFieldsOut) {
    addCustomer({{"LastName", "Lee"}, {"ShowAs", "Lee"}, {"CCNumber", "secret"}, {"NoMoreChecks", true}});
    const QList<QStringList> rows = readBack(ExportSet::Customers);
    ASSERT_EQ(rows.size(), 2);
    for (const char* card : {"CCName", "NameOnCard", "CCNumber", "ExpDate", "Verification"})
        EXPECT_FALSE(rows[0].contains(card)) << card;
    EXPECT_FALSE(rows[1].contains("secret"));
    EXPECT_EQ(field(rows, 1, "NoMoreChecks"), "Yes");
    EXPECT_EQ(money_sPlain(Money::fromUnits(12345)), "1.2345");
    EXPECT_EQ(money_sPlain(Money::fromUnits(-50000)), "-5.00");
}

TEST_F(ExportTest, ProgressCanStopALongExport) {
    const qint64 lee = addCustomer({{"LastName", "Lee"}});
    Database::open(DatabasePath)
        .execute(QString("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 1200) "
                         "INSERT INTO Cases (CustomerID, CaseOpen) SELECT %1, 1 FROM n").arg(lee));
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    QList<int> seen;
    EXPECT_EQ(data_ExportCsv(DatabasePath, ExportSet::AllCases, {}, out,
                             [&](int done, int total) {
                                 seen << done;
                                 EXPECT_EQ(total, 1200);
                                 return done < 1000;
                             }),
              -1);
    EXPECT_EQ(seen, QList<int>({500, 1000}));
}

} // namespace
