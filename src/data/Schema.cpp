#include "data/Schema.h"

#include "data/Find.h"
#include "data/engine/Database.h"

#include <QFile>

namespace {

FieldDef text(const char* name, int size) { return {QString::fromLatin1(name), FieldType::Text, size}; }
FieldDef memo(const char* name) { return {QString::fromLatin1(name), FieldType::Memo}; }
FieldDef of(const char* name, int type) { return {QString::fromLatin1(name), type}; }
FieldDef key(const char* name) {
    FieldDef f{QString::fromLatin1(name), FieldType::Long};
    f.autoIncrement = true;
    return f;
}

QList<FieldDef> addressFields() {
    return {key("CustomerID"),     text("Title", 10),        text("FirstName", 50),  text("Initial", 5),
            text("LastName", 50),  text("CompanyName", 80),  text("Address1", 80),   text("Address2", 80),
            text("City", 50),      text("StateOrProv", 30),  text("PostalCode", 20), text("Country", 50),
            text("Phone", 30),     text("Phone2", 30),       text("Extension", 10),  text("Fax", 30),
            text("Email", 50),     text("Code", 30),         text("Type", 50),       text("Misc", 80),
            memo("Notes"),         text("Identification", 80), text("CCName", 50),   text("NameOnCard", 80),
            text("CCNumber", 50),  text("ExpDate", 10),      text("Verification", 30),
            of("NoMoreChecks", FieldType::Boolean),          text("ShowAs", 160)};
}

QList<FieldDef> caseFields() {
    QList<FieldDef> f = {key("CaseID"),
                         of("CustomerID", FieldType::Long),
                         of("CaseOpen", FieldType::Boolean),
                         text("ReferenceNumber", 20),
                         of("DateReceived", FieldType::Date),
                         text("Stage", 50),
                         of("StageDate", FieldType::Date),
                         text("FinalResult", 50),
                         memo("DetailNotes"),
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
    for (const char* stage : {"PhoneCall", "FirstNotice", "SecondNotice", "FinalNotice", "Collection", "Police", "Attorney"})
        f.append(of(stage, FieldType::Boolean));
    for (const char* date : {"PhoneDate", "FirstNoticeDate", "SecondNoticeDate", "FinalNoticeDate",
                             "CollectionNoticeDate", "PoliceNoticeDate", "AttorneyNoticeDate"})
        f.append(of(date, FieldType::Date));
    f.append(of("CollectionCharge", FieldType::Currency));
    f.append(of("CollectableAmount", FieldType::Currency));
    for (int i = 1; i <= 5; ++i) f.append({QStringLiteral("Installment%1Amount").arg(i), FieldType::Currency});
    for (int i = 1; i <= 5; ++i) f.append({QStringLiteral("Installment%1Date").arg(i), FieldType::Date});
    f.append(of("AmountPaid", FieldType::Currency));
    f.append(of("BallanceOwed", FieldType::Currency));
    f.append(text("CheckFrontImageFile", 255));
    f.append(text("CheckBackImageFile", 255));
    return f;
}

QList<FieldDef> configFields() {
    return {text("CollectionCompanyName", 50),
            text("CollectionOfficerName", 50),
            of("CollectionChargePercent", FieldType::Double),
            of("CollectionChargeDollars", FieldType::Currency),
            of("CourtCosts", FieldType::Currency),
            of("NSFfee", FieldType::Currency),
            of("IncludeNSF", FieldType::Boolean),
            of("AddNSF", FieldType::Integer),
            of("PrintNoticesToScreen", FieldType::Boolean),
            memo("Memo"),
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

// A list table with its starter entries, and the list query that offers them together with the
// values typed into the saved rows of another table.
struct ListDefinition {
    const char* table;
    const char* field;
    const char* query;
    const char* source; // the table whose saved values join the list
    QStringList starters;
};

const QList<ListDefinition>& lists() {
    static const QList<ListDefinition> all = {
        {"ListCheckTypes", "CheckType", "q_ListCheckTypes", "Cases", {"NSF", "Account Closed"}},
        {"ListFinalResults",
         "FinalResult",
         "q_ListFinalResults",
         "Cases",
         {"Paid in Full", "Partially Paid", "Can't Pay", "Can't Locate"}},
        {"ListCreditCards",
         "CCName",
         "q_ListCreditCards",
         "Address",
         {"Visa", "MasterCard", "American Express", "Discover", "Diners Club"}},
    };
    return all;
}

QString quoted(const QString& text) {
    QString s = text;
    return QLatin1Char('"') + s.replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
}

} // namespace

const QList<SavedQuery>& data_CustomerListQueries() {
    static const QList<SavedQuery> queries = {
        {QStringLiteral("q_CustomerListWithCaseHistory"),
         QStringLiteral("SELECT Address.CustomerID, Address.ShowAs, Cases.CaseOpen, Cases.Stage, Cases.StageDate"
                        " FROM Address INNER JOIN Cases ON Address.CustomerID = Cases.CustomerID"
                        " ORDER BY Address.ShowAs;")},
        {QStringLiteral("q_CustomerListWithClosedCaseDetails"),
         QStringLiteral("SELECT Address.CustomerID, Address.ShowAs, Cases.CaseOpen, Cases.Stage, Cases.StageDate"
                        " FROM Address LEFT JOIN Cases ON Address.CustomerID = Cases.CustomerID"
                        " Where (((Cases.CaseOpen) = False))"
                        " ORDER BY Address.ShowAs;")},
        {QStringLiteral("q_CustomerListWithNoOpenCase"),
         QStringLiteral("SELECT Address.CustomerID, Address.ShowAs, Cases.CaseOpen"
                        " FROM Address LEFT JOIN Cases ON Address.CustomerID = Cases.CustomerID"
                        " Where (((Cases.CaseOpen) Is Null Or (Cases.CaseOpen) = False))"
                        " ORDER BY Address.ShowAs;")},
        {QStringLiteral("q_CustomerListWithOpenCase"),
         QStringLiteral("SELECT DISTINCT Address.CustomerID, Address.ShowAs, Cases.CaseOpen"
                        " FROM Address LEFT JOIN Cases ON Address.CustomerID = Cases.CustomerID"
                        " Where (((Cases.CaseOpen) = True))"
                        " ORDER BY Address.ShowAs;")},
        {QStringLiteral("q_CustomerListWithOpenCaseDetails"),
         QStringLiteral("SELECT DISTINCT Address.CustomerID, Address.ShowAs, Cases.CaseOpen, Cases.Stage, "
                        "Cases.StageDate"
                        " FROM Address LEFT JOIN Cases ON Address.CustomerID = Cases.CustomerID"
                        " Where (((Cases.CaseOpen) = True))"
                        " ORDER BY Address.ShowAs;")},
        {QStringLiteral("q_CustomerListWithOpenCaseExtendedDetails"),
         QStringLiteral("SELECT DISTINCT Address.CustomerID, Address.ShowAs, Cases.CaseOpen, Cases.CaseID, "
                        "Cases.ReferenceNumber, Cases.Stage, Cases.StageDate, Cases.DateReceived, Cases.BallanceOwed"
                        " FROM Address LEFT JOIN Cases ON Address.CustomerID = Cases.CustomerID"
                        " Where (((Cases.CaseOpen) = True))"
                        " ORDER BY Address.ShowAs;")},
        {QStringLiteral("q_CustomerListWithOrWithoutCase"),
         QStringLiteral("SELECT Address.CustomerID, Address.ShowAs, Cases.CaseOpen, Cases.Stage, Cases.StageDate"
                        " FROM Address LEFT JOIN Cases ON Address.CustomerID = Cases.CustomerID"
                        " ORDER BY Address.ShowAs;")},
    };
    return queries;
}

void data_CreateNewDatabase(const QString& path) {
    Database db = Database::create(path);
    db.beginTrans();
    try {
        db.createTable(QStringLiteral("Address"), addressFields(), QStringLiteral("CustomerID"));
        db.createTable(QStringLiteral("Cases"), caseFields(), QStringLiteral("CaseID"));
        db.createTable(QStringLiteral("Config"), configFields());
        db.createIndex(QStringLiteral("CustomerID"), QStringLiteral("Cases"), QStringLiteral("CustomerID"));
        // For the open and closed case sets and the customer lists sorted by display name.
        db.createIndex(QStringLiteral("CaseOpen"), QStringLiteral("Cases"), QStringLiteral("CaseOpen"));
        db.createIndex(QStringLiteral("ShowAs"), QStringLiteral("Address"), QStringLiteral("ShowAs"));
        // The customer lists and the overview join customers and the case columns they show: with those
        // columns in an index the join never reads the case rows themselves, whether it starts from the
        // customers or from the open cases.
        db.execute(QStringLiteral("CREATE INDEX Cases_CustomerList ON Cases "
                                  "(CustomerID, CaseOpen, Stage, StageDate, ReferenceNumber, DateReceived, BallanceOwed)"));
        db.execute(QStringLiteral("CREATE INDEX Cases_OpenCustomerList ON Cases "
                                  "(CaseOpen, CustomerID, Stage, StageDate, ReferenceNumber, DateReceived, BallanceOwed)"));
        // The list queries read the distinct values of one column of the saved rows.
        db.createIndex(QStringLiteral("CheckType"), QStringLiteral("Cases"), QStringLiteral("CheckType"));
        db.createIndex(QStringLiteral("FinalResult"), QStringLiteral("Cases"), QStringLiteral("FinalResult"));
        db.createIndex(QStringLiteral("CCName"), QStringLiteral("Address"), QStringLiteral("CCName"));

        for (const ListDefinition& list : lists()) {
            const QString table = QString::fromLatin1(list.table);
            const QString field = QString::fromLatin1(list.field);
            db.createTable(table, {text(list.field, 50)});
            for (const QString& entry : list.starters)
                db.execute(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(table, field, quoted(entry)));
            const QString source = QString::fromLatin1(list.source);
            db.createQuery(QString::fromLatin1(list.query),
                           QStringLiteral("SELECT %2 FROM %1 UNION SELECT %2 FROM %3 WHERE %2 Is Not Null AND %2 <> \"\" "
                                          "ORDER BY %2")
                               .arg(table, field, source));
        }
        for (const SavedQuery& query : data_CustomerListQueries()) db.createQuery(query.name, query.sql);
        find_CreateIndex(db);
        db.commitTrans();
    } catch (...) {
        db.rollback();
        db.close();
        Database::release(path);
        QFile::remove(path);
        throw;
    }
}
