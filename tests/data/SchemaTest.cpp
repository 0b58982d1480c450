#include "data/Schema.h"
#include "data/DataTestUtil.h"
#include "data/DatabaseProcs.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <algorithm>
#include <tuple>

namespace {

class SchemaTest : public DataTest {
protected:
    using Row = std::tuple<qint64, QString, QString>;

    // Every row of a saved query as (CustomerID, ShowAs, CaseOpen as "1", "0" or "Null"), after checking
    // that they come in display-name order (without regard to letter case); sorted, since the order of
    // one customer's rows is the engine's.
    static QList<Row> customerRows(const QString& query) {
        QList<Row> rows;
        Recordset rs = Database::open(DatabasePath).openDynaset(query);
        while (!rs.eof()) {
            const Value open = rs.value(QStringLiteral("CaseOpen"));
            rows.append({rs.value(QStringLiteral("CustomerID")).toLongLong(),
                         rs.value(QStringLiteral("ShowAs")).toString(),
                         open.isNull()   ? QStringLiteral("Null")
                         : open.toBool() ? QStringLiteral("1")
                                         : QStringLiteral("0")});
            rs.moveNext();
        }
        for (qsizetype i = 1; i < rows.size(); ++i)
            EXPECT_LE(std::get<1>(rows[i - 1]).compare(std::get<1>(rows[i]), Qt::CaseInsensitive), 0)
                << query.toStdString() << " row " << i;
        std::sort(rows.begin(), rows.end());
        return rows;
    }

    static QStringList texts(const QList<ListItem>& items) {
        QStringList out;
        for (const ListItem& item : items)
            out << item.text;
        return out;
    }
};

TEST_F(SchemaTest, TablesHaveEveryFieldExactlyNamedInTableOrder) {
    const QStringList address = {"CustomerID",  "Title",          "FirstName",    "Initial",    "LastName",
                                 "CompanyName", "Address1",       "Address2",     "City",       "StateOrProv",
                                 "PostalCode",  "Country",        "Phone",        "Phone2",     "Extension",
                                 "Fax",         "Email",          "Code",         "Type",       "Misc",
                                 "Notes",       "Identification", "CCName",       "NameOnCard", "CCNumber",
                                 "ExpDate",     "Verification",   "NoMoreChecks", "ShowAs"};
    QStringList cases = {"CaseID",
                         "CustomerID",
                         "CaseOpen",
                         "ReferenceNumber",
                         "DateReceived",
                         "Stage",
                         "StageDate",
                         "FinalResult",
                         "DetailNotes",
                         "CheckDate",
                         "CheckType",
                         "CheckAmount",
                         "Bank",
                         "Branch",
                         "AccountNumber",
                         "TransitNumber",
                         "BranchNumber",
                         "CheckNumber",
                         "CollectionCompany",
                         "CollectionContact",
                         "CollectionPercent",
                         "CollectionDollar",
                         "PercentCollectionType",
                         "IncludeNSF",
                         "IncludeCollectionCharges",
                         "AddNSF",
                         "PhoneCall",
                         "FirstNotice",
                         "SecondNotice",
                         "FinalNotice",
                         "Collection",
                         "Police",
                         "Attorney",
                         "PhoneDate",
                         "FirstNoticeDate",
                         "SecondNoticeDate",
                         "FinalNoticeDate",
                         "CollectionNoticeDate",
                         "PoliceNoticeDate",
                         "AttorneyNoticeDate",
                         "CollectionCharge",
                         "CollectableAmount",
                         "Installment1Amount",
                         "Installment2Amount",
                         "Installment3Amount",
                         "Installment4Amount",
                         "Installment5Amount",
                         "Installment1Date",
                         "Installment2Date",
                         "Installment3Date",
                         "Installment4Date",
                         "Installment5Date",
                         "AmountPaid",
                         "BallanceOwed",
                         "CheckFrontImageFile",
                         "CheckBackImageFile"};
    const QStringList config = {"CollectionCompanyName",
                                "CollectionOfficerName",
                                "CollectionChargePercent",
                                "CollectionChargeDollars",
                                "CourtCosts",
                                "NSFfee",
                                "IncludeNSF",
                                "AddNSF",
                                "PrintNoticesToScreen",
                                "Memo",
                                "CompanyName",
                                "Contact",
                                "Address1",
                                "Address2",
                                "City",
                                "ProvState",
                                "Postal",
                                "Country",
                                "Phone",
                                "Ext",
                                "Fax"};

    EXPECT_EQ(data_FieldNames(DatabasePath, "Address"), address);
    EXPECT_EQ(data_FieldNames(DatabasePath, "Cases"), cases);
    EXPECT_EQ(data_FieldNames(DatabasePath, "Config"), config);

    // The names as the file itself spells them, letter case included.
    EXPECT_EQ(
        rawText("SELECT name FROM pragma_table_info('Cases') WHERE name = 'BallanceOwed' COLLATE BINARY"),
        "BallanceOwed");
    EXPECT_EQ(rawText("SELECT COUNT(*) FROM pragma_table_info('Cases') WHERE name LIKE 'BalanceOwed'"), "0");
    EXPECT_EQ(
        rawText("SELECT group_concat(name, ',') FROM (SELECT name FROM sqlite_master WHERE type = 'table' "
                "AND name IN ('Address', 'Cases', 'Config') ORDER BY name COLLATE BINARY)"),
        "Address,Cases,Config");
    EXPECT_TRUE(platform->messages.empty());
    EXPECT_TRUE(platform->errorReports.empty());
}

TEST_F(SchemaTest, FieldsKeepTheirKindsAndSizes) {
    const qint64 customer =
        addCustomer("Zero, Leading", {{"PostalCode", Value("0123")}, {"Notes", Value("")}});
    const QDateTime received(QDate(2026, 3, 5), QTime(14, 30, 0));
    const qint64 caseKey = addCase(customer, true,
                                   {{"CheckAmount", Value::currency(1234.5678)},
                                    {"CheckNumber", Value("000789")},
                                    {"CollectionPercent", Value(12.5)},
                                    {"DateReceived", Value::date(received)},
                                    {"DetailNotes", Value("00042")}});

    const auto read = [&](const char* field) {
        return data_vCheckDBValue(DatabasePath, "Cases", field, "PrimaryKey", Value(caseKey));
    };
    EXPECT_EQ(read("CheckAmount").kind(), Value::Kind::Currency);
    EXPECT_EQ(read("CheckAmount").currencyScaled(), 12345678);
    EXPECT_EQ(read("CaseOpen").kind(), Value::Kind::Boolean);
    EXPECT_TRUE(read("CaseOpen").toBool());
    EXPECT_EQ(read("DateReceived").kind(), Value::Kind::Date);
    EXPECT_EQ(read("DateReceived").toDateTime(), received);
    EXPECT_EQ(read("CheckNumber"), Value("000789")) << "text that looks like a number stays text";
    EXPECT_EQ(read("DetailNotes"), Value("00042"));
    EXPECT_DOUBLE_EQ(read("CollectionPercent").toDouble(), 12.5);
    EXPECT_EQ(data_vCheckDBValue(DatabasePath, "Address", "PostalCode", "PrimaryKey", Value(customer)),
              Value("0123"));
    EXPECT_EQ(
        rawText(QStringLiteral("SELECT typeof(Notes) FROM Address WHERE CustomerID = %1").arg(customer)),
        "text")
        << "an empty text is stored as an empty string, not Null";

    // The stored forms other programs see: 1/0, the amount * 10 000, 'YYYY-MM-DD HH:MM:SS'.
    EXPECT_EQ(rawText(QStringLiteral("SELECT CaseOpen || '|' || CheckAmount || '|' || DateReceived || '|' || "
                                     "typeof(CheckNumber) FROM Cases WHERE CaseID = %1")
                          .arg(caseKey)),
              "1|12345678|2026-03-05 14:30:00|text");
    EXPECT_EQ(data_lGetRecordCount(DatabasePath, "Select * FROM Cases WHERE CaseOpen = True"), 1);
    EXPECT_EQ(data_lGetRecordCount(DatabasePath, "Select * FROM Cases WHERE CaseOpen = False"), 0);

    // ShowAs holds 160 characters and Email 50; one more is refused.
    Recordset rs = Database::open(DatabasePath).openTable("Address");
    rs.edit();
    EXPECT_EQ(errorNumber([&] { rs.setValue("ShowAs", Value(QString(160, u'x'))); }), 0);
    EXPECT_EQ(errorNumber([&] { rs.setValue("ShowAs", Value(QString(161, u'x'))); }), 3163);
    EXPECT_EQ(errorNumber([&] { rs.setValue("Email", Value(QString(50, u'x'))); }), 0);
    EXPECT_EQ(errorNumber([&] { rs.setValue("Email", Value(QString(51, u'x'))); }), 3163);
    rs.cancelUpdate();
    // Config.AddNSF is a 16-bit integer.
    Recordset config = Database::open(DatabasePath).openTable("Config");
    config.addNew();
    EXPECT_EQ(errorNumber([&] { config.setValue("AddNSF", Value(32767)); }), 0);
    EXPECT_EQ(errorNumber([&] { config.setValue("AddNSF", Value(32768)); }), 3349);
    config.cancelUpdate();
}

TEST_F(SchemaTest, KeysAreNeverReusedAfterADelete) {
    const qint64 a = addCustomer("A");
    const qint64 b = addCustomer("B");
    const qint64 c = addCustomer("C");
    EXPECT_EQ(b, a + 1);
    EXPECT_EQ(c, b + 1);
    data_DeleteRecord(DatabasePath, "Address", "PrimaryKey", Value(c));
    EXPECT_EQ(addCustomer("D"), c + 1) << "the key of the deleted last row is not given again";

    const qint64 first = addCase(a, true);
    const qint64 second = addCase(a, true);
    ASSERT_TRUE(data_bDeleteSpecificRecordsInTable(DatabasePath, "DELETE FROM Cases"));
    Database::releaseAll(); // as after a restart of the program
    const qint64 third = addCase(b, false);
    EXPECT_GT(third, second);
    EXPECT_NE(third, first);

    // A compacted copy keeps counting from where the file was.
    const QString copy = QDir(DataFolder).filePath("Compacted.mdb");
    Database::releaseAll();
    Database::compactDatabase(DatabasePath, copy);
    Recordset rs = Database::open(copy).openTable("Cases");
    rs.addNew();
    EXPECT_EQ(rs.value("CaseID").toLongLong(), third + 1);
    rs.cancelUpdate();
    EXPECT_TRUE(platform->messages.empty());
}

TEST_F(SchemaTest, PrimaryKeyAndCustomerIndexesFindTheirRows) {
    const qint64 smith = addCustomer("Smith");
    const qint64 jones = addCustomer("Jones");
    const qint64 c1 = addCase(jones, true, {{"ReferenceNumber", Value("R1")}});
    const qint64 c2 = addCase(smith, true, {{"ReferenceNumber", Value("R2")}});
    const qint64 c3 = addCase(jones, false, {{"ReferenceNumber", Value("R3")}});
    const qint64 c4 = addCase(smith, false, {{"ReferenceNumber", Value("R4")}});

    EXPECT_EQ(data_vCheckDBValue(DatabasePath, "Cases", "ReferenceNumber", "PrimaryKey", Value(c3)),
              Value("R3"));
    EXPECT_EQ(data_vCheckDBValue(DatabasePath, "Address", "ShowAs", "PrimaryKey", Value(jones)),
              Value("Jones"));
    // By customer: the first case of that customer, then that customer's others in key order.
    EXPECT_EQ(data_vCheckDBValue(DatabasePath, "Cases", "CaseID", "CustomerID", Value(smith)), Value(c2));
    Recordset rs = Database::open(DatabasePath).openTable("Cases");
    rs.setIndex("CustomerID");
    QList<qint64> order;
    for (; !rs.eof(); rs.moveNext())
        order << rs.value("CaseID").toLongLong();
    const QList<qint64> expected =
        smith < jones ? QList<qint64>{c2, c4, c1, c3} : QList<qint64>{c1, c3, c2, c4};
    EXPECT_EQ(order, expected);

    // The primary keys are unique.
    Database db = Database::open(DatabasePath);
    EXPECT_EQ(
        errorNumber([&] { db.execute(QStringLiteral("INSERT INTO Cases (CaseID) VALUES (%1)").arg(c1)); }),
        3022);
    EXPECT_EQ(errorNumber([&] {
                  db.execute(QStringLiteral("INSERT INTO Address (CustomerID) VALUES (%1)").arg(jones));
              }),
              3022);
}

TEST_F(SchemaTest, CustomerListQueriesHaveExactlyTheirTexts) {
    const QList<std::pair<QString, QString>> expected = {
        {"q_CustomerListWithCaseHistory",
         "SELECT Address.CustomerID, Address.ShowAs, Cases.CaseOpen, Cases.Stage, Cases.StageDate FROM "
         "Address "
         "INNER JOIN Cases ON Address.CustomerID = Cases.CustomerID ORDER BY Address.ShowAs;"},
        {"q_CustomerListWithClosedCaseDetails", "SELECT Address.CustomerID, Address.ShowAs, Cases.CaseOpen, "
                                                "Cases.Stage, Cases.StageDate FROM Address "
                                                "LEFT JOIN Cases ON Address.CustomerID = Cases.CustomerID "
                                                "Where (((Cases.CaseOpen) = False)) ORDER BY "
                                                "Address.ShowAs;"},
        {"q_CustomerListWithNoOpenCase",
         "SELECT Address.CustomerID, Address.ShowAs, Cases.CaseOpen FROM Address LEFT JOIN Cases ON "
         "Address.CustomerID = Cases.CustomerID Where (((Cases.CaseOpen) Is Null Or (Cases.CaseOpen) = "
         "False)) "
         "ORDER BY Address.ShowAs;"},
        {"q_CustomerListWithOpenCase",
         "SELECT DISTINCT Address.CustomerID, Address.ShowAs, Cases.CaseOpen FROM Address LEFT JOIN Cases ON "
         "Address.CustomerID = Cases.CustomerID Where (((Cases.CaseOpen) = True)) ORDER BY Address.ShowAs;"},
        {"q_CustomerListWithOpenCaseDetails", "SELECT DISTINCT Address.CustomerID, Address.ShowAs, "
                                              "Cases.CaseOpen, Cases.Stage, Cases.StageDate FROM "
                                              "Address LEFT JOIN Cases ON Address.CustomerID = "
                                              "Cases.CustomerID Where (((Cases.CaseOpen) = True)) ORDER "
                                              "BY Address.ShowAs;"},
        {"q_CustomerListWithOpenCaseExtendedDetails",
         "SELECT DISTINCT Address.CustomerID, Address.ShowAs, Cases.CaseOpen, Cases.CaseID, "
         "Cases.ReferenceNumber, "
         "Cases.Stage, Cases.StageDate, Cases.DateReceived, Cases.BallanceOwed FROM Address LEFT JOIN Cases "
         "ON "
         "Address.CustomerID = Cases.CustomerID Where (((Cases.CaseOpen) = True)) ORDER BY Address.ShowAs;"},
        {"q_CustomerListWithOrWithoutCase",
         "SELECT Address.CustomerID, Address.ShowAs, Cases.CaseOpen, Cases.Stage, Cases.StageDate FROM "
         "Address "
         "LEFT JOIN Cases ON Address.CustomerID = Cases.CustomerID ORDER BY Address.ShowAs;"},
    };
    const QList<SavedQuery>& queries = data_CustomerListQueries();
    ASSERT_EQ(queries.size(), expected.size());
    Database db = Database::open(DatabasePath);
    for (qsizetype i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(queries[i].name, expected[i].first);
        EXPECT_EQ(queries[i].sql, expected[i].second);
        EXPECT_TRUE(db.queryExists(expected[i].first)) << expected[i].first.toStdString();
    }
}

TEST_F(SchemaTest, CustomerListQueriesListTheRightCustomers) {
    const qint64 none = addCustomer("Adams");    // no case at all
    const qint64 twoOpen = addCustomer("baker"); // two open cases (lower case: sorted without regard to case)
    const qint64 closedOnly = addCustomer("Carter"); // one closed case
    const qint64 mixed = addCustomer("Dunn");        // one open and one closed case
    addCase(twoOpen, true, {{"Stage", Value("First Notice")}});
    addCase(twoOpen, true, {{"Stage", Value("Police")}});
    addCase(closedOnly, false, {{"Stage", Value("Attorney")}});
    addCase(mixed, true, {{"Stage", Value("Phone Call")}});
    addCase(mixed, false, {{"Stage", Value("Collection")}});
    const QString t = "1", f = "0", n = "Null";

    EXPECT_EQ(customerRows("q_CustomerListWithCaseHistory"), (QList<Row>{{twoOpen, "baker", t},
                                                                         {twoOpen, "baker", t},
                                                                         {closedOnly, "Carter", f},
                                                                         {mixed, "Dunn", f},
                                                                         {mixed, "Dunn", t}}))
        << "an inner join: no customer without a case";
    EXPECT_EQ(customerRows("q_CustomerListWithClosedCaseDetails"),
              (QList<Row>{{closedOnly, "Carter", f}, {mixed, "Dunn", f}}));
    EXPECT_EQ(customerRows("q_CustomerListWithNoOpenCase"),
              (QList<Row>{{none, "Adams", n}, {closedOnly, "Carter", f}, {mixed, "Dunn", f}}));
    EXPECT_EQ(customerRows("q_CustomerListWithOpenCase"),
              (QList<Row>{{twoOpen, "baker", t}, {mixed, "Dunn", t}}))
        << "DISTINCT: two open cases give one row";
    EXPECT_EQ(customerRows("q_CustomerListWithOpenCaseDetails"),
              (QList<Row>{{twoOpen, "baker", t}, {twoOpen, "baker", t}, {mixed, "Dunn", t}}))
        << "the stages differ, so both open cases show";
    EXPECT_EQ(customerRows("q_CustomerListWithOpenCaseExtendedDetails").size(), 3);
    EXPECT_EQ(customerRows("q_CustomerListWithOrWithoutCase"), (QList<Row>{{none, "Adams", n},
                                                                           {twoOpen, "baker", t},
                                                                           {twoOpen, "baker", t},
                                                                           {closedOnly, "Carter", f},
                                                                           {mixed, "Dunn", f},
                                                                           {mixed, "Dunn", t}}));

    // The customer without a case has Null case columns.
    Recordset rs = Database::open(DatabasePath).openDynaset("q_CustomerListWithOrWithoutCase");
    rs.findFirst(QStringLiteral("CustomerID = %1").arg(none));
    ASSERT_FALSE(rs.noMatch());
    EXPECT_TRUE(rs.value("Stage").isNull());
    EXPECT_TRUE(rs.value("StageDate").isNull());

    // Two open cases at the same stage and date are one row of the details query.
    Database::open(DatabasePath)
        .execute(QStringLiteral("UPDATE Cases SET Stage = \"Police\" WHERE CustomerID = %1").arg(twoOpen));
    EXPECT_EQ(customerRows("q_CustomerListWithOpenCaseDetails"),
              (QList<Row>{{twoOpen, "baker", t}, {mixed, "Dunn", t}}));
    EXPECT_EQ(data_lGetRecordCount(DatabasePath, "q_CustomerListWithOrWithoutCase"), 6);
}

TEST_F(SchemaTest, ListQueriesOfferStartersAndTheValuesOfSavedRows) {
    EXPECT_EQ(texts(data_ListingItems(DatabasePath, "q_ListCheckTypes", "CheckType")),
              (QStringList{"Account Closed", "NSF"}));
    EXPECT_EQ(texts(data_ListingItems(DatabasePath, "q_ListFinalResults", "FinalResult")),
              (QStringList{"Can't Locate", "Can't Pay", "Paid in Full", "Partially Paid"}));
    const QStringList cards = texts(data_ListingItems(DatabasePath, "q_ListCreditCards", "CCName"));
    EXPECT_TRUE(cards.contains("Visa"));
    EXPECT_TRUE(cards.contains("MasterCard"));

    const qint64 customer = addCustomer("Evans", {{"CCName", Value("Store Card")}});
    addCustomer("Fox", {{"CCName", Value("visa")}});
    addCase(customer, true,
            {{"CheckType", Value("Money Order")}, {"FinalResult", Value("Settled by agency")}});
    addCase(customer, true, {{"CheckType", Value("money order")}, {"FinalResult", Value("")}});
    addCase(customer, false, {{"CheckType", Value("nsf")}, {"FinalResult", Value("paid in full")}});
    addCase(customer, false, {{"CheckType", Value("")}});
    addCase(customer, false); // Null type and result

    const QStringList types = texts(data_ListingItems(DatabasePath, "q_ListCheckTypes", "CheckType"));
    EXPECT_EQ(types.size(), 3) << types.join('|').toStdString();
    EXPECT_EQ(types.filter("NSF", Qt::CaseInsensitive).size(), 1)
        << "a starter typed in lower case is not doubled";
    EXPECT_EQ(types.filter("Money Order", Qt::CaseInsensitive).size(), 1);
    EXPECT_FALSE(types.contains("")) << "empty values are not offered";
    const QStringList results = texts(data_ListingItems(DatabasePath, "q_ListFinalResults", "FinalResult"));
    EXPECT_EQ(results.size(), 5) << results.join('|').toStdString();
    EXPECT_TRUE(results.contains("Settled by agency"));
    const QStringList cardsNow = texts(data_ListingItems(DatabasePath, "q_ListCreditCards", "CCName"));
    EXPECT_EQ(cardsNow.size(), cards.size() + 1);
    EXPECT_TRUE(cardsNow.contains("Store Card"));
}

TEST_F(SchemaTest, NewDatabaseHasEmptyTablesAndNoConfigRow) {
    EXPECT_EQ(countRows("Address"), 0);
    EXPECT_EQ(countRows("Cases"), 0);
    EXPECT_EQ(countRows("Config"), 0);
    EXPECT_EQ(data_lGetRecordCount(DatabasePath, "Config"), 0);
    EXPECT_TRUE(QFileInfo(DataFolder).isDir());
    EXPECT_TRUE(QFileInfo(ChecksFolder).isDir());
    // The creation leaves nothing half-made behind: no journal beside the file.
    EXPECT_FALSE(QFileInfo::exists(DatabasePath + "-journal"));
}

} // namespace
