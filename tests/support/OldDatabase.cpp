#include "support/OldDatabase.h"

#include "data/engine/Database.h"

#include <QDate>

namespace {

FieldDef text(const char* name, int size) {
    return {QString::fromLatin1(name), FieldType::Text, size};
}
FieldDef of(const char* name, int type) {
    return {QString::fromLatin1(name), type};
}
FieldDef key(const char* name) {
    FieldDef f{QString::fromLatin1(name), FieldType::Long};
    f.autoIncrement = true;
    return f;
}

QList<FieldDef> oldAddressFields(bool withEmail) {
    QList<FieldDef> f = {
        key("CustomerID"),    text("Title", 10),       text("FirstName", 50),  text("Initial", 5),
        text("LastName", 50), text("CompanyName", 80), text("Address1", 80),   text("Address2", 80),
        text("City", 50),     text("StateOrProv", 30), text("PostalCode", 20), text("Country", 50),
        text("Phone", 30),    text("Phone2", 30),      text("Extension", 10),  text("Fax", 30)};
    if (withEmail) f.append(text("Email", 50));
    f += {text("Code", 30),
          text("Type", 50),
          text("Misc", 80),
          of("Notes", FieldType::Memo),
          text("Identification", 80),
          text("CCName", 50),
          text("NameOnCard", 80),
          text("CCNumber", 50),
          text("ExpDate", 10),
          text("Verification", 30),
          of("NoMoreChecks", FieldType::Boolean)};
    return f;
}

QList<FieldDef> oldCaseFields(const QString& balanceField) {
    QList<FieldDef> f = {key("CaseID"),
                         of("CustomerID", FieldType::Long),
                         of("CaseOpen", FieldType::Boolean),
                         text("ReferenceNumber", 20),
                         of("DateReceived", FieldType::Date),
                         text("Stage", 50),
                         of("StageDate", FieldType::Date),
                         text("FinalResult", 50),
                         of("DetailNotes", FieldType::Memo),
                         of("CheckDate", FieldType::Date),
                         text("CheckType", 50),
                         of("CheckAmount", FieldType::Currency),
                         text("Bank", 50),
                         text("Branch", 100),
                         text("AccountNumber", 30),
                         text("TransitNumber", 20),
                         text("BranchNumber", 20),
                         text("CheckNumber", 20),
                         text("CollectionCompany", 50),
                         text("CollectionContact", 50),
                         of("CollectionPercent", FieldType::Double),
                         of("CollectionDollar", FieldType::Currency),
                         of("PercentCollectionType", FieldType::Boolean),
                         of("IncludeNSF", FieldType::Boolean),
                         of("IncludeCollectionCharges", FieldType::Boolean),
                         of("AddNSF", FieldType::Boolean)};
    for (const char* stage :
         {"PhoneCall", "FirstNotice", "SecondNotice", "FinalNotice", "Collection", "Police", "Attorney"})
        f.append(of(stage, FieldType::Boolean));
    for (const char* date : {"PhoneDate", "FirstNoticeDate", "SecondNoticeDate", "FinalNoticeDate",
                             "CollectionNoticeDate", "PoliceNoticeDate", "AttorneyNoticeDate"})
        f.append(of(date, FieldType::Date));
    f.append(of("CollectionCharge", FieldType::Currency));
    f.append(of("CollectableAmount", FieldType::Currency));
    for (int i = 1; i <= 5; ++i)
        f.append({QStringLiteral("Installment%1Amount").arg(i), FieldType::Currency});
    for (int i = 1; i <= 5; ++i)
        f.append({QStringLiteral("Installment%1Date").arg(i), FieldType::Date});
    f.append(of("AmountPaid", FieldType::Currency));
    f.append({balanceField, FieldType::Currency});
    f.append(text("CheckFrontImageFile", 255));
    f.append(text("CheckBackImageFile", 255));
    return f;
}

QList<FieldDef> oldConfigFields() {
    return {text("CollectionCompanyName", 50),
            text("CollectionOfficerName", 50),
            of("CollectionChargePercent", FieldType::Double),
            of("CollectionChargeDollars", FieldType::Currency),
            of("CourtCosts", FieldType::Currency),
            of("NSFfee", FieldType::Currency),
            of("IncludeNSF", FieldType::Boolean),
            of("AddNSF", FieldType::Integer),
            of("PrintNoticesToScreen", FieldType::Boolean),
            of("Memo", FieldType::Memo),
            text("CompanyName", 80),
            text("Contact", 80),
            text("Address1", 80),
            text("Address2", 80),
            text("City", 50),
            text("ProvState", 30),
            text("Postal", 20),
            text("Country", 50),
            text("Phone", 30),
            text("Ext", 10),
            text("Fax", 30)};
}

// The list tables of that release with their list queries.
void addLists(Database& db) {
    struct List {
        const char* table;
        const char* field;
        const char* query;
        const char* source;
        QStringList entries;
    };
    const QList<List> lists = {
        {"ListCheckTypes", "CheckType", "q_ListCheckTypes", "Cases", {"NSF", "Account Closed"}},
        {"ListFinalResults", "FinalResult", "q_ListFinalResults", "Cases", {"Paid in Full", "Can't Pay"}},
        {"ListCreditCards", "CCName", "q_ListCreditCards", "Address", {"Visa", "MasterCard"}},
    };
    for (const List& list : lists) {
        const QString table = QString::fromLatin1(list.table);
        const QString field = QString::fromLatin1(list.field);
        db.createTable(table, {text(list.field, 50)});
        Recordset rs = db.openTable(table);
        for (const QString& entry : list.entries) {
            rs.addNew();
            rs.setValue(field, Value(entry));
            rs.update();
        }
        rs.close();
        db.createQuery(
            QString::fromLatin1(list.query),
            QStringLiteral("SELECT %2 FROM %1 UNION SELECT %2 FROM %3 WHERE %2 Is Not Null AND %2 <> \"\" "
                           "ORDER BY %2")
                .arg(table, field, QString::fromLatin1(list.source)));
    }
}

const char* const LastNames[] = {"Okafor", "Lindqvist", "Marchetti", "Dubois",
                                 "Haddad", "Kowalski",  "Brennan",   "Tanaka"};
const char* const FirstNames[] = {"Ada", "Nils", "Chiara", "Luc", "Rami", "Ewa", "Sean", "Yuki"};
const char* const Cities[] = {"Halifax", "Moncton", "Fredericton", "Truro"};
const char* const Stages[] = {"Phone Call", "First Notice", "Second Notice", "Final Notice", "Collection"};

} // namespace

OldDatabaseContent old_WriteDatabase(const QString& path, const OldDatabaseOptions& options) {
    OldDatabaseContent content;
    Database db = Database::create(path);
    db.beginTrans();
    db.createTable(QStringLiteral("Address"), oldAddressFields(options.withEmail),
                   QStringLiteral("CustomerID"));
    db.createTable(QStringLiteral("Cases"), oldCaseFields(options.balanceField), QStringLiteral("CaseID"));
    db.createTable(QStringLiteral("Config"), oldConfigFields());
    db.createIndex(QStringLiteral("CustomerID"), QStringLiteral("Cases"), QStringLiteral("CustomerID"));
    addLists(db);

    Recordset config = db.openTable(QStringLiteral("Config"));
    config.addNew();
    config.setValue(QStringLiteral("CollectionCompanyName"), Value(options.agencyName));
    config.setValue(QStringLiteral("CollectionOfficerName"), Value(QStringLiteral("M. Arsenault")));
    config.setValue(QStringLiteral("CollectionChargePercent"), Value(25.0));
    config.setValue(QStringLiteral("NSFfee"), Value::currency(20));
    config.setValue(QStringLiteral("Memo"), Value(QStringLiteral("Kept from the old release")));
    config.update();
    config.close();

    Recordset customers = db.openTable(QStringLiteral("Address"));
    Recordset cases = db.openTable(QStringLiteral("Cases"));
    const QDate received(2024, 3, 11);
    for (int c = 0; c < options.customers; ++c) {
        OldCustomer customer;
        customer.lastName =
            QString::fromLatin1(LastNames[c % 8]) + (c >= 8 ? QString::number(c / 8) : QString());
        customer.firstName = QString::fromLatin1(FirstNames[(c * 3) % 8]);
        customer.city = QString::fromLatin1(Cities[c % 4]);
        customers.addNew();
        customer.customerId = customers.value(QStringLiteral("CustomerID")).toLongLong();
        customers.setValue(QStringLiteral("LastName"), Value(customer.lastName));
        customers.setValue(QStringLiteral("FirstName"), Value(customer.firstName));
        customers.setValue(QStringLiteral("City"), Value(customer.city));
        customers.setValue(QStringLiteral("Phone"), Value(QStringLiteral("902-555-%1").arg(1200 + c)));
        customers.setValue(QStringLiteral("NoMoreChecks"), Value(c % 3 == 2));
        customers.update();
        content.customers.append(customer);

        for (int k = 0; k < options.casesPerCustomer; ++k) {
            const int n = c * options.casesPerCustomer + k;
            OldCase entry;
            entry.customerId = customer.customerId;
            entry.referenceNumber =
                QStringLiteral("5F%1").arg(0xA30 + n * 7, 4, 16, QLatin1Char('0')).toUpper();
            entry.open = n % 3 != 1;
            entry.checkAmountScaled = (4250 + 1731 * n) * 100;
            entry.balanceScaled = entry.open ? entry.checkAmountScaled + 200000 : 0;
            entry.stage = QString::fromLatin1(Stages[n % 5]);
            cases.addNew();
            entry.caseId = cases.value(QStringLiteral("CaseID")).toLongLong();
            cases.setValue(QStringLiteral("CustomerID"), Value(entry.customerId));
            cases.setValue(QStringLiteral("CaseOpen"), Value(entry.open));
            cases.setValue(QStringLiteral("ReferenceNumber"), Value(entry.referenceNumber));
            cases.setValue(QStringLiteral("DateReceived"), Value::date(received.addDays(n * 9)));
            cases.setValue(QStringLiteral("Stage"), Value(entry.stage));
            cases.setValue(QStringLiteral("StageDate"), Value::date(received.addDays(n * 9 + 4)));
            cases.setValue(QStringLiteral("CheckType"), Value(QStringLiteral("NSF")));
            cases.setValue(QStringLiteral("CheckAmount"), Value::currencyFromScaled(entry.checkAmountScaled));
            cases.setValue(options.balanceField, Value::currencyFromScaled(entry.balanceScaled));
            cases.setValue(QStringLiteral("Bank"), Value(QStringLiteral("County Savings")));
            cases.update();
            content.cases.append(entry);
        }
    }
    customers.close();
    cases.close();
    db.commitTrans();
    db.close();
    Database::release(path);
    return content;
}
