#include "data/DataTestUtil.h"
#include "data/Schema.h"

#include <QFileInfo>
#include <algorithm>
#include <tuple>

namespace {

class SchemaTest : public DataTest {
protected:
    using Row = std::tuple<qint64, QString, QString>;

    // The rows of a saved query as (CustomerID, ShowAs, CaseOpen as shown by debugString), after checking
    // their display-name order (letter case aside); sorted, since one customer's rows come in any order.
    static QList<Row> customerRows(const QString& query) {
        QList<Row> rows;
        for (Recordset rs = Database::open(DatabasePath).openDynaset(query); !rs.eof(); rs.moveNext())
            rows.append({rs.value("CustomerID").toLongLong(), rs.value("ShowAs").toString(),
                         rs.value("CaseOpen").debugString()});
        for (qsizetype i = 1; i < rows.size(); ++i)
            EXPECT_LE(std::get<1>(rows[i - 1]).compare(std::get<1>(rows[i]), Qt::CaseInsensitive), 0)
                << query.toStdString() << " row " << i;
        std::sort(rows.begin(), rows.end());
        return rows;
    }
};

TEST_F(SchemaTest, NewFileHasEmptyTablesWithEveryFieldExactlyNamedInOrder) {
    const auto names = [](const char* list) { return QString::fromLatin1(list).split(' '); };
    EXPECT_EQ(data_FieldNames(DatabasePath, "Address"),
              names("CustomerID Title FirstName Initial LastName CompanyName Address1 Address2 City "
                    "StateOrProv PostalCode Country Phone Phone2 Extension Fax Email Code Type Misc Notes "
                    "Identification CCName NameOnCard CCNumber ExpDate Verification NoMoreChecks ShowAs"));
    EXPECT_EQ(data_FieldNames(DatabasePath, "Cases"),
              names("CaseID CustomerID CaseOpen ReferenceNumber DateReceived Stage StageDate FinalResult "
                    "DetailNotes CheckDate CheckType CheckAmount Bank Branch AccountNumber TransitNumber "
                    "BranchNumber CheckNumber CollectionCompany CollectionContact CollectionPercent "
                    "CollectionDollar PercentCollectionType IncludeNSF IncludeCollectionCharges AddNSF "
                    "PhoneCall FirstNotice SecondNotice FinalNotice Collection Police Attorney PhoneDate "
                    "FirstNoticeDate SecondNoticeDate FinalNoticeDate CollectionNoticeDate PoliceNoticeDate "
                    "AttorneyNoticeDate CollectionCharge CollectableAmount Installment1Amount "
                    "Installment2Amount Installment3Amount Installment4Amount Installment5Amount "
                    "Installment1Date Installment2Date Installment3Date Installment4Date Installment5Date "
                    "AmountPaid BallanceOwed CheckFrontImageFile CheckBackImageFile"));
    EXPECT_EQ(data_FieldNames(DatabasePath, "Config"),
              names("CollectionCompanyName CollectionOfficerName CollectionChargePercent "
                    "CollectionChargeDollars CourtCosts NSFfee IncludeNSF AddNSF PrintNoticesToScreen Memo "
                    "CompanyName Contact Address1 Address2 City ProvState Postal Country Phone Ext Fax"));

    for (const char* table : {"Address", "Cases", "Config"})
        EXPECT_EQ(countRows(table), 0) << table << ": no row, not even in Config";
    EXPECT_FALSE(QFileInfo::exists(DatabasePath + "-journal")) << "nothing half-made left behind";
    EXPECT_TRUE(nothingSaid());
}

TEST_F(SchemaTest, FieldsKeepTheirKindsAndSizes) {
    const qint64 customer = addCustomer("Zero, Leading", {{"PostalCode", Value("0123")}});
    const QDateTime received(QDate(2026, 3, 5), QTime(14, 30, 0));
    // (The currency and boolean fields are read in the record operations' tests.)
    const qint64 caseKey = addCase(customer, true, {{"CheckNumber", Value("000789")},
                                                    {"CollectionPercent", Value(12.5)},
                                                    {"DateReceived", Value::date(received)}});
    const auto read = [&](const char* field) { return caseValue(field, Value(caseKey)); };
    EXPECT_EQ(read("DateReceived"), Value::date(received)) << "a Value compares its kind too";
    EXPECT_EQ(read("CheckNumber"), Value("000789")) << "text that looks like a number stays text";
    EXPECT_EQ(read("CollectionPercent"), Value(12.5));
    EXPECT_EQ(data_vCheckDBValue(DatabasePath, "Address", "PostalCode", "PrimaryKey", Value(customer)),
              Value("0123"));

    // Sizes: ShowAs 160 characters, Email 50, Config.AddNSF a 16-bit integer.
    const struct {
        const char *table, *field;
        Value fits, tooBig;
        int error;
    } limits[] = {{"Address", "ShowAs", Value(QString(160, u'x')), Value(QString(161, u'x')), 3163},
                  {"Address", "Email", Value(QString(50, u'x')), Value(QString(51, u'x')), 3163},
                  {"Config", "AddNSF", Value(32767), Value(32768), 3349}};
    for (const auto& limit : limits) {
        Recordset rs = Database::open(DatabasePath).openTable(limit.table);
        rs.addNew();
        EXPECT_EQ(errorNumber([&] { rs.setValue(limit.field, limit.fits); }), 0) << limit.field;
        EXPECT_EQ(errorNumber([&] { rs.setValue(limit.field, limit.tooBig); }), limit.error) << limit.field;
        rs.cancelUpdate();
    }
}

TEST_F(SchemaTest, PrimaryKeyAndCustomerIndexesFindTheirRows) {
    const qint64 smith = addCustomer("Smith");
    const qint64 jones = addCustomer("Jones");
    const qint64 c1 = addCase(jones, true);
    const qint64 c2 = addCase(smith, true);
    const qint64 c3 = addCase(jones, false);
    const qint64 c4 = addCase(smith, false);

    // By customer: that customer's cases in key order, the customers in key order.
    EXPECT_EQ(caseValue("CaseID", Value(smith), {}, "CustomerID"), Value(c2));
    Recordset rs = Database::open(DatabasePath).openTable("Cases");
    rs.setIndex("CustomerID");
    const auto keys = [](auto... k) { return QStringList{QString::number(k)...}; };
    EXPECT_EQ(column(rs, "CaseID"), keys(c2, c4, c1, c3));
}

TEST_F(SchemaTest, CustomerListQueriesListTheRightCustomers) {
    const qint64 none = addCustomer("Adams");        // no case at all
    const qint64 twoOpen = addCustomer("baker");     // two open cases; lower case sorts among the others
    const qint64 closedOnly = addCustomer("Carter"); // one closed case
    const qint64 mixed = addCustomer("Dunn");        // one open and one closed case
    addCase(twoOpen, true, {{"Stage", Value("First Notice")}});
    addCase(twoOpen, true, {{"Stage", Value("Police")}});
    addCase(closedOnly, false, {{"Stage", Value("Attorney")}});
    addCase(mixed, true, {{"Stage", Value("Phone Call")}});
    addCase(mixed, false, {{"Stage", Value("Collection")}});
    const QString yes = "Boolean(True)", no = "Boolean(False)";
    const Row a{none, "Adams", "Null"}, b{twoOpen, "baker", yes}, c{closedOnly, "Carter", no},
        dClosed{mixed, "Dunn", no}, dOpen{mixed, "Dunn", yes};

    const std::pair<const char*, QList<Row>> cases[] = {
        {"q_CustomerListWithCaseHistory", {b, b, c, dClosed, dOpen}}, // inner join: no Adams
        {"q_CustomerListWithClosedCaseDetails", {c, dClosed}},
        {"q_CustomerListWithNoOpenCase", {a, c, dClosed}},
        {"q_CustomerListWithOpenCase", {b, dOpen}},           // DISTINCT: baker once
        {"q_CustomerListWithOpenCaseDetails", {b, b, dOpen}}, // the stages differ
        {"q_CustomerListWithOpenCaseExtendedDetails", {b, b, dOpen}},
        {"q_CustomerListWithOrWithoutCase", {a, b, b, c, dClosed, dOpen}}};
    ASSERT_EQ(data_CustomerListQueries().size(), std::size(cases));
    for (const auto& [query, rows] : cases)
        EXPECT_EQ(customerRows(query), rows) << query;

    // Two open cases at the same stage and date are one row of the details query.
    Database::open(DatabasePath)
        .execute(QStringLiteral("UPDATE Cases SET Stage = \"Police\" WHERE CustomerID = %1").arg(twoOpen));
    EXPECT_EQ(customerRows("q_CustomerListWithOpenCaseDetails"), (QList<Row>{b, dOpen}));
}

TEST_F(SchemaTest, ListQueriesOfferStartersAndTheValuesOfSavedRows) {
    EXPECT_EQ(listed("q_ListCheckTypes", "CheckType"), (QStringList{"Account Closed", "NSF"}));
    EXPECT_EQ(listed("q_ListFinalResults", "FinalResult"),
              (QStringList{"Can't Locate", "Can't Pay", "Paid in Full", "Partially Paid"}));
    const QStringList cards = listed("q_ListCreditCards", "CCName");
    EXPECT_TRUE(cards.contains("Visa") && cards.contains("MasterCard"));

    const qint64 customer = addCustomer("Evans", {{"CCName", Value("Store Card")}});
    addCustomer("Fox", {{"CCName", Value("visa")}});
    addCase(customer, true,
            {{"CheckType", Value("Money Order")}, {"FinalResult", Value("Settled by agency")}});
    addCase(customer, true, {{"CheckType", Value("money order")}, {"FinalResult", Value("")}});
    addCase(customer, false, {{"CheckType", Value("nsf")}, {"FinalResult", Value("paid in full")}});
    addCase(customer, false, {{"CheckType", Value("")}});
    addCase(customer, false); // Null type and result

    // Values differing only in letter case are offered once; empty values not at all.
    const auto offered = [](const char* query, const char* field) {
        QStringList list = listed(query, field);
        list.sort(Qt::CaseInsensitive);
        return list.join('|').toLower().toStdString();
    };
    EXPECT_EQ(offered("q_ListCheckTypes", "CheckType"), "account closed|money order|nsf");
    EXPECT_EQ(offered("q_ListFinalResults", "FinalResult"),
              "can't locate|can't pay|paid in full|partially paid|settled by agency");
    const QStringList cardsNow = listed("q_ListCreditCards", "CCName");
    EXPECT_EQ(cardsNow.size(), cards.size() + 1);
    EXPECT_TRUE(cardsNow.contains("Store Card"));
}

} // namespace
