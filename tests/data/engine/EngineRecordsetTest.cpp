// Table and dynaset recordsets: order, movement, finding, reading and writing.

#include "EngineTestUtil.h"

namespace {

qint64 caseId(const Recordset& rs) {
    return rs.value("CaseID").toLongLong();
}

} // namespace

class EngineTable : public EngineFixture {
protected:
    void SetUp() override {
        EngineFixture::SetUp();
        smith = addCustomer("Smith");
        jones = addCustomer("Jones");
        for (const auto& [customer, amount] :
             {std::pair{jones, 10.0}, {smith, 20.0}, {jones, 30.0}, {smith, 40.0}})
            addCase(customer, amount, true);
    }
    qint64 smith = 0;
    qint64 jones = 0;
};

TEST_F(EngineTable, FollowsTheChosenIndexAndSeeksTheFirstMatch) {
    Recordset rs = db.openTable("Cases");
    EXPECT_EQ(column(rs, "Amount"), QStringList({"10", "20", "30", "40"}));
    EXPECT_ERROR(3019, rs.seek("=", Value(1))) << "no index chosen";
    rs.setIndex("CustomerID");
    // Smith was added first: his cases come first, each customer's in key order.
    EXPECT_EQ(column(rs, "Amount"), QStringList({"20", "40", "10", "30"}));
    rs.moveLast();
    rs.movePrevious();
    rs.movePrevious();
    EXPECT_EQ(rs.value("Amount"), Value::currency(40));
    rs.movePrevious();
    rs.movePrevious();
    EXPECT_TRUE(rs.bof());
    EXPECT_FALSE(rs.eof());
    EXPECT_ERROR(3021, rs.movePrevious());

    rs.seek("=", Value(jones));
    EXPECT_EQ(rs.value("Amount"), Value::currency(10));
    rs.moveNext();
    EXPECT_EQ(rs.value("Amount"), Value::currency(30));
    rs.seek("=", Value("999"));
    EXPECT_TRUE(rs.noMatch());
    EXPECT_ERROR(3021, rs.value("Amount"));

    rs.setIndex("PrimaryKey");
    const std::tuple<const char*, int, int> seeks[] = {{"=", 3, 3}, {">", 3, 4}, {"<", 3, 2}, {">=", 5, 0}};
    for (const auto& [comparison, key, found] : seeks) {
        rs.seek(comparison, Value(key));
        EXPECT_EQ(rs.noMatch() ? 0 : caseId(rs), found) << comparison << key;
    }
}

TEST_F(EngineTable, NewKeysAreReadableAtOnceAndNeverReusedAndDefaultsAreStored) {
    Recordset rs = db.openTable("Cases");
    rs.addNew();
    EXPECT_EQ(caseId(rs), 5);
    EXPECT_TRUE(rs.value("Amount").isNull());
    rs.setValue("Amount", Value("$7.25"));
    rs.update();
    EXPECT_EQ(caseId(rs), 5);
    EXPECT_EQ(rs.value("Amount"), Value::currencyFromScaled(72500));
    rs.remove();
    rs.addNew();
    rs.update();
    EXPECT_EQ(caseId(rs), 6) << "the key of the deleted last row is not given again";
    db.execute("DELETE FROM Cases");
    db.close();
    Database::releaseAll(); // as after a restart of the program
    db = Database::open(path);
    rs = db.openTable("Cases");
    rs.addNew();
    EXPECT_EQ(caseId(rs), 7) << "nor after every row went and the program started again";
    rs.cancelUpdate();

    // A table without an index works on its first row (the record operations' tests write Config so);
    // a text is stored as the number it reads as.
    Recordset config = db.openTable("Config");
    config.addNew();
    config.setValue("NextCheck", Value("1,001"));
    config.update();
    EXPECT_EQ(db.openTable("Config").value("NextCheck"), Value(qint64(1001)));
}

class EngineDynaset : public EngineFixture {};

TEST_F(EngineDynaset, KeepsKeyOrderWithoutOrderByAndHonoursOrderBy) {
    for (const char* name : {"delta", "Alpha", "charlie", "Bravo", "alpha"})
        addCustomer(name, "Town");
    db.createIndex("LastName", "Customers", "LastName");

    // The WHERE can use the LastName index; the set is still in key order.
    Recordset plain = db.openDynaset("SELECT * FROM Customers WHERE LastName > \"B\"");
    EXPECT_EQ(column(plain, "LastName"), QStringList({"delta", "charlie", "Bravo"}));
    // Sorting ignores letter case; equal names stay in key order.
    Recordset sorted = db.openDynaset("SELECT LastName AS Name, City FROM Customers ORDER BY LastName");
    EXPECT_EQ(column(sorted, "Name"), QStringList({"Alpha", "alpha", "Bravo", "charlie", "delta"}));
    Recordset descending = db.openDynaset("Select* FROM Customers c ORDER BY c.LastName DESC");
    EXPECT_EQ(column(descending, "LastName").first(), "delta");

    EXPECT_EQ(db.openDynaset("SELECT DISTINCT LastName FROM Customers ORDER BY LastName").recordCount(), 4);
    EXPECT_EQ(db.openDynaset("SELECT * FROM Customers WHERE LastName = \"ALPHA\"").recordCount(), 2);
}

TEST_F(EngineDynaset, MovesAndFindsInSetOrder) {
    const qint64 able = addCustomer("Able");
    const qint64 obrien = addCustomer("O\"Brien");
    for (int i = 1; i <= 6; ++i)
        addCase(i % 2 ? able : obrien, i, i != 3);

    Recordset rs = db.openDynaset("SELECT * FROM Cases WHERE CaseOpen = True");
    EXPECT_EQ(rs.recordCount(), 5);
    EXPECT_EQ(caseId(rs), 1);
    const QString ofObrien = QStringLiteral("CustomerID = %1").arg(obrien);
    rs.findFirst(ofObrien);
    rs.findNext(ofObrien);
    EXPECT_EQ(caseId(rs), 4);
    rs.findPrevious("CaseID < 4");
    EXPECT_EQ(caseId(rs), 2);

    rs.moveLast();
    rs.moveNext();
    EXPECT_TRUE(rs.eof());
    rs.movePrevious();
    EXPECT_EQ(caseId(rs), 6);

    EXPECT_ERROR(3251, db.openDynaset("Customers").seek("=", Value(1))) << "seek is for tables";
}

TEST_F(EngineDynaset, EditsAddsAndDeletesAreSeenByTheNextOpen) {
    addCustomer("Able");
    addCustomer("Baker");
    Recordset rs = db.openDynaset("SELECT * FROM Customers ORDER BY LastName");
    rs.edit();
    rs.setValue("City", Value("Zurich"));
    rs.setValue("Since", Value("3/5/2024 2:30:00 PM"));
    rs.update();
    rs.addNew();
    rs.setValue("LastName", Value("Carter"));
    const Value key = rs.value("CustomerID");
    rs.update();
    EXPECT_EQ(rs.value("CustomerID"), key);
    EXPECT_EQ(rs.recordCount(), 3);
    rs.moveFirst();
    rs.moveNext();
    rs.remove();
    rs.moveNext();
    EXPECT_EQ(rs.value("LastName"), Value("Carter"));

    Recordset again = db.openDynaset("SELECT * FROM Customers ORDER BY LastName");
    EXPECT_EQ(column(again, "LastName"), QStringList({"Able", "Carter"}));
    again.moveFirst();
    EXPECT_EQ(again.value("City"), Value("Zurich"));
    EXPECT_EQ(again.value("Since").toDateTime(), QDateTime(QDate(2024, 3, 5), QTime(14, 30)));
    again.findFirst("Since = #3/5/2024 2:30:00 PM#");
    EXPECT_FALSE(again.noMatch());
}

TEST_F(EngineDynaset, RowsEditedOutOfTheSetWhileMovingAreEachVisitedOnce) {
    const qint64 able = addCustomer("Able");
    for (int i = 1; i <= 5; ++i)
        addCase(able, i, true);
    for (const char* sql : {"SELECT * FROM Cases WHERE CaseOpen = True",
                            "SELECT * FROM Cases WHERE CaseOpen = True ORDER BY Amount DESC"}) {
        int visited = 0;
        for (Recordset rs = db.openDynaset(sql); !rs.eof(); rs.moveNext(), ++visited) {
            rs.edit();
            rs.setValue("CaseOpen", Value(false));
            rs.update();
        }
        EXPECT_EQ(visited, 5) << sql;
        EXPECT_EQ(db.openDynaset(sql).recordCount(), 0) << sql;
        db.execute("UPDATE Cases SET CaseOpen = True");
    }
}

TEST_F(EngineDynaset, JoinsAreReadOnlyButReadAndFound) {
    const qint64 able = addCustomer("Able", "Cork");
    const qint64 baker = addCustomer("Baker", "cork");
    addCase(able, 12.5, true);
    addCase(baker, 7, false);
    Recordset rs = db.openDynaset(
        "SELECT Cases.CaseID, Customers.LastName, Cases.Amount, Cases.CaseOpen, Cases.Amount * 2 AS Twice "
        "FROM Cases INNER JOIN Customers ON Cases.CustomerID = Customers.CustomerID ORDER BY "
        "Customers.LastName");
    ASSERT_EQ(rs.recordCount(), 2);
    EXPECT_EQ(rs.value("Amount"), Value::currency(12.5));
    EXPECT_EQ(rs.value("CaseOpen"), Value(true));
    EXPECT_EQ(rs.value("Twice"), Value(qint64(250000))) << "an expression keeps the stored form";
    rs.findFirst("LastName = \"BAKER\" AND CaseOpen = False");
    EXPECT_EQ(caseId(rs), 2);
    EXPECT_ERROR(3027, rs.edit());
    EXPECT_ERROR(3027, rs.addNew());
}

class EngineStorage : public EngineFixture {};

TEST_F(EngineStorage, ValuesAreStoredInTheirDocumentedForms) {
    Recordset rs = db.openTable("Customers");
    rs.addNew();
    rs.setValue("LastName", Value("Able"));
    rs.setValue("Balance", Value("92,233,720,368.5477"));
    rs.setValue("Visits", Value(true)); // True as a number is -1
    rs.setValue("City", Value());       // Empty into text is ""
    rs.setValue("Notes", Value::null());
    rs.update();

    OtherSession raw(path);
    const std::pair<const char*, const char*> stored[] = {
        {"Active", "1"},  {"Balance", "922337203685477"}, {"typeof(Balance)", "integer"},
        {"Visits", "-1"}, {"typeof(City)", "text"},       {"typeof(Notes)", "null"}};
    for (const auto& [expression, text] : stored)
        EXPECT_EQ(raw.text(QByteArray("SELECT ") + expression + " FROM Customers"), QString(text))
            << expression;

    Recordset back = db.openDynaset("SELECT * FROM Customers WHERE Active = True");
    ASSERT_EQ(back.recordCount(), 1);
    EXPECT_EQ(back.value("Balance").toString(), "92233720368.5477");
    EXPECT_EQ(back.value("City"), Value(""));
    EXPECT_TRUE(back.value("Notes").isNull());

    // Dates written elsewhere without a time still read as dates.
    raw.exec("UPDATE Customers SET Since = '2023-07-04'");
    EXPECT_EQ(db.openTable("Customers").value("Since"), Value::date(QDate(2023, 7, 4)));
}
