#include "support/OldDatabase.h"

#include "data/engine/Database.h"

#include <QDate>

namespace {

// Fields written as "Name:Type" with K the self-numbering key, Tn text of length n, M memo, B yes/no,
// I integer, L long, C currency, F double, D date.
QList<FieldDef> fields(const QString& described) {
    using namespace FieldType;
    static const int types[] = {Long, Text, Memo, Boolean, Integer, Long, Currency, Double, Date};
    QList<FieldDef> result;
    for (const QString& item : described.split(u' ', Qt::SkipEmptyParts)) {
        const QString type = item.section(u':', 1);
        const int kind = types[QString("KTMBILCFD").indexOf(type[0])];
        result.append({item.section(u':', 0, 0), kind, type.mid(1).toInt(), type[0] == u'K'});
    }
    return result;
}

QString addressFields(bool withEmail) {
    return QString("CustomerID:K Title:T10 FirstName:T50 Initial:T5 LastName:T50 CompanyName:T80 "
                   "Address1:T80 Address2:T80 City:T50 StateOrProv:T30 PostalCode:T20 Country:T50 Phone:T30 "
                   "Phone2:T30 Extension:T10 Fax:T30 ") +
           (withEmail ? "Email:T50 " : "") +
           "Code:T30 Type:T50 Misc:T80 Notes:M Identification:T80 CCName:T50 NameOnCard:T80 CCNumber:T50 "
           "ExpDate:T10 Verification:T30 NoMoreChecks:B";
}

QString caseFields(const QString& balanceField) {
    return "CaseID:K CustomerID:L CaseOpen:B ReferenceNumber:T20 DateReceived:D Stage:T50 StageDate:D "
           "FinalResult:T50 DetailNotes:M CheckDate:D CheckType:T50 CheckAmount:C Bank:T50 Branch:T100 "
           "AccountNumber:T30 TransitNumber:T20 BranchNumber:T20 CheckNumber:T20 CollectionCompany:T50 "
           "CollectionContact:T50 CollectionPercent:F CollectionDollar:C PercentCollectionType:B "
           "IncludeNSF:B IncludeCollectionCharges:B AddNSF:B PhoneCall:B FirstNotice:B SecondNotice:B "
           "FinalNotice:B Collection:B Police:B Attorney:B PhoneDate:D FirstNoticeDate:D SecondNoticeDate:D "
           "FinalNoticeDate:D CollectionNoticeDate:D PoliceNoticeDate:D AttorneyNoticeDate:D "
           "CollectionCharge:C CollectableAmount:C Installment1Amount:C Installment2Amount:C "
           "Installment3Amount:C Installment4Amount:C Installment5Amount:C Installment1Date:D "
           "Installment2Date:D Installment3Date:D Installment4Date:D Installment5Date:D AmountPaid:C " +
           balanceField + ":C CheckFrontImageFile:T255 CheckBackImageFile:T255";
}

const char* const ConfigFields =
    "CollectionCompanyName:T50 CollectionOfficerName:T50 CollectionChargePercent:F CollectionChargeDollars:C "
    "CourtCosts:C NSFfee:C IncludeNSF:B AddNSF:I PrintNoticesToScreen:B Memo:M CompanyName:T80 Contact:T80 "
    "Address1:T80 Address2:T80 City:T50 ProvState:T30 Postal:T20 Country:T50 Phone:T30 Ext:T10 Fax:T30";

// Adds a row and returns its key (0 for a table without one).
qint64 addRow(Recordset& rs, const QList<std::pair<QString, Value>>& values, const QString& key = {}) {
    rs.addNew();
    const qint64 id = key.isEmpty() ? 0 : rs.value(key).toLongLong();
    for (const auto& [field, value] : values) rs.setValue(field, value);
    rs.update();
    return id;
}

// The list tables of that release with their list queries.
void addLists(Database& db) {
    const std::tuple<QString, QString, QString, QStringList> lists[] = {
        {"ListCheckTypes", "CheckType", "Cases", {"NSF", "Account Closed"}},
        {"ListFinalResults", "FinalResult", "Cases", {"Paid in Full", "Can't Pay"}},
        {"ListCreditCards", "CCName", "Address", {"Visa", "MasterCard"}},
    };
    for (const auto& [table, field, source, entries] : lists) {
        db.createTable(table, fields(field + ":T50"));
        Recordset rs = db.openTable(table);
        for (const QString& entry : entries) addRow(rs, {{field, Value(entry)}});
        rs.close();
        const QString sql = "SELECT %2 FROM %1 UNION SELECT %2 FROM %3 WHERE %2 Is Not Null AND %2 <> \"\" "
                            "ORDER BY %2";
        db.createQuery("q_" + table, sql.arg(table, field, source));
    }
}

const char* const LastNames[] = {"Okafor", "Lindqvist", "Marchetti", "Dubois",
                                 "Haddad", "Kowalski",  "Brennan",   "Tanaka"};
const char* const Stages[] = {"Phone Call", "First Notice", "Second Notice", "Final Notice", "Collection"};

} // namespace

void old_WriteDatabase(const QString& path, const OldDatabaseOptions& options) {
    Database db = Database::create(path);
    db.beginTrans();
    db.createTable("Address", fields(addressFields(options.withEmail)), "CustomerID");
    db.createTable("Cases", fields(caseFields(options.balanceField)), "CaseID");
    db.createTable("Config", fields(ConfigFields));
    db.createIndex("CustomerID", "Cases", "CustomerID");
    addLists(db);

    Recordset config = db.openTable("Config");
    addRow(config, {{"CollectionCompanyName", "Northgate Recovery"}, {"CollectionChargePercent", 25.0},
                    {"CollectionOfficerName", "M. Arsenault"}, {"NSFfee", Value::currency(20)},
                    {"Memo", "Kept from the old release"}});
    config.close();

    Recordset customers = db.openTable("Address");
    Recordset cases = db.openTable("Cases");
    for (int c = 0; c < options.customers; ++c) {
        const QString lastName = LastNames[c % 8] + (c >= 8 ? QString::number(c / 8) : QString());
        const qint64 customer = addRow(customers,
                                       {{"LastName", lastName}, {"FirstName", LastNames[(c * 3) % 8]},
                                        {"City", c % 2 ? "Halifax" : "Moncton"},
                                        {"Phone", QString("902-555-%1").arg(1200 + c)},
                                        {"NoMoreChecks", c % 3 == 2}},
                                       "CustomerID");
        for (int k = 0; k < options.casesPerCustomer; ++k) {
            const int n = c * options.casesPerCustomer + k;
            const bool open = n % 3 != 1;
            const qint64 amount = (4250 + 1731 * n) * 100;
            const QDate received = QDate(2024, 3, 11).addDays(n * 9);
            addRow(cases, {{"CustomerID", customer}, {"CaseOpen", open}, {"Stage", Stages[n % 5]},
                           {"ReferenceNumber", QString("5F%1").arg(0xA30 + n * 7, 4, 16).toUpper()},
                           {"DateReceived", Value::date(received)}, {"CheckType", "NSF"},
                           {"StageDate", Value::date(received.addDays(4))}, {"Bank", "County Savings"},
                           {"CheckAmount", Value::currencyFromScaled(amount)},
                           {options.balanceField, Value::currencyFromScaled(open ? amount + 200000 : 0)}});
        }
    }
    customers.close();
    cases.close();
    db.commitTrans();
    db.close();
    Database::release(path);
}
