// Table and dynaset recordsets: order, movement, finding, reading and writing.

#include "EngineTestUtil.h"

namespace {

QStringList column(Recordset& rs, const QString& field) {
    QStringList values;
    if (!rs.bof() || !rs.eof()) rs.moveFirst();
    while (!rs.eof()) {
        values.append(rs.value(field).toString());
        rs.moveNext();
    }
    return values;
}

} // namespace

class EngineTable : public EngineFixture {
protected:
    void SetUp() override {
        EngineFixture::SetUp();
        smith = addCustomer(QStringLiteral("Smith"));
        jones = addCustomer(QStringLiteral("Jones"));
        for (const auto& [customer, amount] :
             {std::pair{jones, 10.0}, {smith, 20.0}, {jones, 30.0}, {smith, 40.0}})
            addCase(customer, amount, true);
    }
    qint64 smith = 0;
    qint64 jones = 0;
};

TEST_F(EngineTable, FollowsTheChosenIndex) {
    Recordset rs = db.openTable(QStringLiteral("Cases"));
    EXPECT_EQ(rs.recordCount(), 4);
    EXPECT_EQ(column(rs, QStringLiteral("Amount")), QStringList({"10", "20", "30", "40"}));
    rs.setIndex(QStringLiteral("CustomerID"));
    // Smith was added first: his cases come first, each customer's in key order.
    EXPECT_EQ(column(rs, QStringLiteral("Amount")), QStringList({"20", "40", "10", "30"}));
    rs.moveLast();
    EXPECT_EQ(rs.value(QStringLiteral("Amount")), Value::currency(30));
    rs.movePrevious();
    rs.movePrevious();
    EXPECT_EQ(rs.value(QStringLiteral("Amount")), Value::currency(40));
    rs.movePrevious();
    rs.movePrevious();
    EXPECT_TRUE(rs.bof());
    EXPECT_FALSE(rs.eof());
    EXPECT_EQ(errorNumber([&] { rs.movePrevious(); }), 3021);
}

TEST_F(EngineTable, SeekFindsTheFirstMatchOrReportsNoMatch) {
    Recordset rs = db.openTable(QStringLiteral("Cases"));
    EXPECT_EQ(errorNumber([&] { rs.seek(QStringLiteral("="), Value(1)); }), 3019);
    rs.setIndex(QStringLiteral("CustomerID"));
    rs.seek(QStringLiteral("="), Value(jones));
    ASSERT_FALSE(rs.noMatch());
    EXPECT_EQ(rs.value(QStringLiteral("Amount")), Value::currency(10));
    rs.moveNext();
    EXPECT_EQ(rs.value(QStringLiteral("Amount")), Value::currency(30));

    rs.seek(QStringLiteral("="), Value("999"));
    EXPECT_TRUE(rs.noMatch());
    EXPECT_EQ(errorNumber([&] { rs.value(QStringLiteral("Amount")); }), 3021);

    rs.setIndex(QStringLiteral("PrimaryKey"));
    rs.seek(QStringLiteral("="), Value(3));
    EXPECT_EQ(rs.value(QStringLiteral("Amount")), Value::currency(30));
    rs.seek(QStringLiteral(">"), Value(3));
    EXPECT_EQ(rs.value(QStringLiteral("CaseID")), Value(qint64(4)));
    rs.seek(QStringLiteral("<"), Value(3));
    EXPECT_EQ(rs.value(QStringLiteral("CaseID")), Value(qint64(2)));
}

TEST_F(EngineTable, WithoutAnIndexWorksOnTheFirstRow) {
    Recordset config = db.openTable(QStringLiteral("Config"));
    EXPECT_TRUE(config.eof());
    config.addNew();
    config.setValue(QStringLiteral("CompanyName"), Value("Dunmark Ltd"));
    config.update();

    Recordset again = db.openTable(QStringLiteral("Config"));
    EXPECT_EQ(again.value(QStringLiteral("CompanyName")), Value("Dunmark Ltd"));
    EXPECT_TRUE(again.value(QStringLiteral("NextCheck")).isNull());
    again.edit();
    again.setValue(QStringLiteral("NextCheck"), Value("1,001"));
    again.update();
    EXPECT_EQ(db.openTable(QStringLiteral("Config")).value(QStringLiteral("NextCheck")), Value(qint64(1001)));
}

TEST_F(EngineTable, NewKeysAreReadableAtOnceAndNeverReused) {
    Recordset rs = db.openTable(QStringLiteral("Cases"));
    rs.addNew();
    const Value reserved = rs.value(QStringLiteral("CaseID"));
    EXPECT_EQ(reserved, Value(qint64(5)));
    EXPECT_TRUE(rs.value(QStringLiteral("Amount")).isNull());
    rs.setValue(QStringLiteral("Amount"), Value("$7.25"));
    rs.update();
    EXPECT_EQ(rs.value(QStringLiteral("CaseID")), reserved);
    EXPECT_EQ(rs.value(QStringLiteral("Amount")), Value::currencyFromScaled(72500));

    rs.remove();
    EXPECT_EQ(errorNumber([&] { rs.value(QStringLiteral("Amount")); }), 3167);
    rs.addNew();
    rs.update();
    EXPECT_EQ(rs.value(QStringLiteral("CaseID")), Value(qint64(6)));

    // Default values show in a new row and are stored.
    Recordset customers = db.openTable(QStringLiteral("Customers"));
    customers.addNew();
    EXPECT_EQ(customers.value(QStringLiteral("Active")), Value(true));
    customers.setValue(QStringLiteral("LastName"), Value("Carter"));
    customers.update();
    EXPECT_EQ(customers.value(QStringLiteral("Active")), Value(true));
}

class EngineDynaset : public EngineFixture {};

TEST_F(EngineDynaset, KeepsKeyOrderWithoutOrderByAndHonoursOrderBy) {
    for (const char* name : {"delta", "Alpha", "charlie", "Bravo", "alpha"})
        addCustomer(QString::fromUtf8(name), QStringLiteral("Town"));
    db.createIndex(QStringLiteral("LastName"), QStringLiteral("Customers"), QStringLiteral("LastName"));

    // The WHERE can use the LastName index; the set is still in key order.
    Recordset plain = db.openDynaset(QStringLiteral("SELECT * FROM Customers WHERE LastName > \"B\""));
    EXPECT_EQ(column(plain, QStringLiteral("LastName")), QStringList({"delta", "charlie", "Bravo"}));
    EXPECT_TRUE(plain.updatable());

    // Sorting ignores letter case; equal names stay in key order.
    Recordset sorted =
        db.openDynaset(QStringLiteral("SELECT LastName AS Name, City FROM Customers ORDER BY LastName"));
    EXPECT_EQ(column(sorted, QStringLiteral("Name")),
              QStringList({"Alpha", "alpha", "Bravo", "charlie", "delta"}));
    Recordset descending =
        db.openDynaset(QStringLiteral("Select* FROM Customers c ORDER BY c.LastName DESC"));
    EXPECT_EQ(column(descending, QStringLiteral("LastName")).first(), QStringLiteral("delta"));

    Recordset distinct =
        db.openDynaset(QStringLiteral("SELECT DISTINCT LastName FROM Customers ORDER BY LastName"));
    EXPECT_EQ(distinct.recordCount(), 4);
    EXPECT_FALSE(distinct.updatable());
    EXPECT_EQ(
        db.openDynaset(QStringLiteral("SELECT * FROM Customers WHERE LastName = \"ALPHA\"")).recordCount(),
        2);
}

TEST_F(EngineDynaset, MovesAndFindsInSetOrder) {
    const qint64 able = addCustomer(QStringLiteral("Able"));
    const qint64 obrien = addCustomer(QStringLiteral("O\"Brien"));
    for (int i = 1; i <= 6; ++i)
        addCase(i % 2 ? able : obrien, i, i != 3);

    Recordset rs = db.openDynaset(QStringLiteral("SELECT * FROM Cases WHERE CaseOpen = True"));
    EXPECT_EQ(rs.recordCount(), 5);
    EXPECT_FALSE(rs.bof());
    EXPECT_EQ(rs.value(QStringLiteral("CaseID")), Value(qint64(1)));

    rs.findFirst(QStringLiteral("CustomerID = %1").arg(obrien));
    EXPECT_FALSE(rs.noMatch());
    EXPECT_EQ(rs.value(QStringLiteral("CaseID")), Value(qint64(2)));
    rs.findNext(QStringLiteral("CustomerID = %1").arg(obrien));
    EXPECT_EQ(rs.value(QStringLiteral("CaseID")), Value(qint64(4)));
    EXPECT_EQ(rs.absolutePosition(), 2);
    rs.findNext(QStringLiteral("CustomerID = %1 AND CaseOpen = True").arg(obrien));
    EXPECT_EQ(rs.value(QStringLiteral("CaseID")), Value(qint64(6)));
    rs.findNext(QStringLiteral("CustomerID = %1").arg(obrien));
    EXPECT_TRUE(rs.noMatch());
    EXPECT_EQ(rs.value(QStringLiteral("CaseID")), Value(qint64(6))); // the position stays
    rs.findPrevious(QStringLiteral("CaseID < 4"));
    EXPECT_EQ(rs.value(QStringLiteral("CaseID")), Value(qint64(2)));
    rs.findLast(QStringLiteral("Amount > 0"));
    EXPECT_EQ(rs.value(QStringLiteral("CaseID")), Value(qint64(6)));
    rs.findFirst(QStringLiteral("CaseID = 3")); // not in the set
    EXPECT_TRUE(rs.noMatch());

    rs.moveLast();
    rs.moveNext();
    EXPECT_TRUE(rs.eof());
    EXPECT_EQ(errorNumber([&] { rs.moveNext(); }), 3021);
    rs.movePrevious();
    EXPECT_EQ(rs.value(QStringLiteral("CaseID")), Value(qint64(6)));

    // Criteria with quotes, on a set over a table name.
    Recordset customers = db.openDynaset(QStringLiteral("Customers"));
    customers.findFirst(QStringLiteral("LastName = \"o\"\"brien\""));
    EXPECT_EQ(customers.value(QStringLiteral("CustomerID")), Value(obrien));
    EXPECT_EQ(errorNumber([&] { customers.findFirst(QStringLiteral("Missing = 1")); }), 3265);
    EXPECT_EQ(errorNumber([&] { customers.seek(QStringLiteral("="), Value(1)); }), 3251);
}

TEST_F(EngineDynaset, EditsAddsAndDeletesAreSeenByTheNextOpen) {
    const qint64 able = addCustomer(QStringLiteral("Able"));
    addCustomer(QStringLiteral("Baker"));
    Recordset rs = db.openDynaset(QStringLiteral("SELECT * FROM Customers ORDER BY LastName"));
    rs.edit();
    rs.setValue(QStringLiteral("City"), Value("Zurich"));
    rs.setValue(QStringLiteral("Since"), Value("3/5/2024 2:30:00 PM"));
    rs.update();
    rs.addNew();
    rs.setValue(QStringLiteral("LastName"), Value("Carter"));
    const Value key = rs.value(QStringLiteral("CustomerID"));
    rs.update();
    EXPECT_EQ(rs.value(QStringLiteral("CustomerID")), key);
    EXPECT_EQ(rs.recordCount(), 3);
    rs.moveFirst();
    rs.moveNext();
    rs.remove();
    rs.moveNext();
    EXPECT_EQ(rs.value(QStringLiteral("LastName")), Value("Carter"));

    Recordset again = db.openDynaset(QStringLiteral("SELECT * FROM Customers ORDER BY LastName"));
    EXPECT_EQ(column(again, QStringLiteral("LastName")), QStringList({"Able", "Carter"}));
    again.moveFirst();
    EXPECT_EQ(again.value(QStringLiteral("CustomerID")), Value(able));
    EXPECT_EQ(again.value(QStringLiteral("City")), Value("Zurich"));
    EXPECT_EQ(again.value(QStringLiteral("Since")).toDateTime(), QDateTime(QDate(2024, 3, 5), QTime(14, 30)));
    EXPECT_EQ(again.value(QStringLiteral("CustomerID")), Value(able));
    again.findFirst(QStringLiteral("Since = #3/5/2024 2:30:00 PM#"));
    EXPECT_FALSE(again.noMatch());
}

TEST_F(EngineDynaset, RowsEditedOutOfTheSetWhileMovingAreEachVisitedOnce) {
    const qint64 able = addCustomer(QStringLiteral("Able"));
    for (int i = 1; i <= 5; ++i)
        addCase(able, i, true);
    for (const char* sql : {"SELECT * FROM Cases WHERE CaseOpen = True",
                            "SELECT * FROM Cases WHERE CaseOpen = True ORDER BY Amount DESC"}) {
        Recordset rs = db.openDynaset(QString::fromUtf8(sql));
        QStringList visited;
        while (!rs.eof()) {
            visited.append(rs.value(QStringLiteral("Amount")).toString());
            rs.edit();
            rs.setValue(QStringLiteral("CaseOpen"), Value(false));
            rs.update();
            rs.moveNext();
        }
        EXPECT_EQ(visited.size(), 5) << sql;
        EXPECT_EQ(db.openDynaset(QString::fromUtf8(sql)).recordCount(), 0) << sql;
        db.execute(QStringLiteral("UPDATE Cases SET CaseOpen = True"));
    }
}

TEST_F(EngineDynaset, JoinsAreReadOnlyButReadAndFound) {
    const qint64 able = addCustomer(QStringLiteral("Able"), QStringLiteral("Cork"));
    const qint64 baker = addCustomer(QStringLiteral("Baker"), QStringLiteral("cork"));
    addCase(able, 12.5, true);
    addCase(baker, 7, false);
    Recordset rs = db.openDynaset(QStringLiteral(
        "SELECT Cases.CaseID, Customers.LastName, Cases.Amount, Cases.CaseOpen, Cases.Amount * 2 AS Twice "
        "FROM Cases INNER JOIN Customers ON Cases.CustomerID = Customers.CustomerID ORDER BY "
        "Customers.LastName"));
    EXPECT_FALSE(rs.updatable());
    ASSERT_EQ(rs.recordCount(), 2);
    EXPECT_EQ(rs.fieldName(1), QStringLiteral("LastName"));
    EXPECT_EQ(rs.value(QStringLiteral("Amount")), Value::currency(12.5));
    EXPECT_EQ(rs.value(QStringLiteral("CaseOpen")), Value(true));
    EXPECT_EQ(rs.value(QStringLiteral("Twice")),
              Value(qint64(250000))); // an expression keeps the stored form
    rs.findFirst(QStringLiteral("LastName = \"BAKER\" AND CaseOpen = False"));
    EXPECT_FALSE(rs.noMatch());
    EXPECT_EQ(rs.value(QStringLiteral("CaseID")), Value(qint64(2)));
    EXPECT_EQ(errorNumber([&] { rs.edit(); }), 3027);
    EXPECT_EQ(errorNumber([&] { rs.addNew(); }), 3027);
    EXPECT_EQ(db.openDynaset(QStringLiteral("SELECT DISTINCT City FROM Customers")).recordCount(), 1);
}

class EngineStorage : public EngineFixture {};

TEST_F(EngineStorage, ValuesAreStoredInTheirDocumentedForms) {
    Recordset rs = db.openTable(QStringLiteral("Customers"));
    rs.addNew();
    rs.setValue(QStringLiteral("LastName"), Value("Able"));
    rs.setValue(QStringLiteral("Active"), Value(true));
    rs.setValue(QStringLiteral("Balance"), Value("92,233,720,368.5477"));
    rs.setValue(QStringLiteral("Since"), Value::date(QDateTime(QDate(2024, 2, 29), QTime(23, 59, 58))));
    rs.setValue(QStringLiteral("Rate"), Value("1.5"));
    rs.setValue(QStringLiteral("Visits"), Value(true)); // True as a number is -1
    rs.setValue(QStringLiteral("City"), Value());       // Empty into text is ""
    rs.setValue(QStringLiteral("Notes"), Value::null());
    rs.update();
    const qint64 id = rs.value(QStringLiteral("CustomerID")).toLongLong();

    OtherSession raw(path);
    const QByteArray where = QStringLiteral(" FROM Customers WHERE CustomerID = %1").arg(id).toUtf8();
    EXPECT_EQ(raw.text("SELECT Active" + where), QStringLiteral("1"));
    EXPECT_EQ(raw.text("SELECT Balance" + where), QStringLiteral("922337203685477"));
    EXPECT_EQ(raw.text("SELECT typeof(Balance)" + where), QStringLiteral("integer"));
    EXPECT_EQ(raw.text("SELECT Since" + where), QStringLiteral("2024-02-29 23:59:58"));
    EXPECT_EQ(raw.text("SELECT Visits" + where), QStringLiteral("-1"));
    EXPECT_EQ(raw.text("SELECT typeof(City)" + where), QStringLiteral("text"));
    EXPECT_EQ(raw.text("SELECT typeof(Notes)" + where), QStringLiteral("null"));

    Recordset back = db.openDynaset(QStringLiteral("SELECT * FROM Customers WHERE Active = True"));
    ASSERT_EQ(back.recordCount(), 1);
    EXPECT_EQ(back.value(QStringLiteral("Active")), Value(true));
    EXPECT_EQ(back.value(QStringLiteral("Balance")).toString(), QStringLiteral("92233720368.5477"));
    EXPECT_EQ(back.value(QStringLiteral("Since")).toString(), QStringLiteral("2/29/2024 11:59:58 PM"));
    EXPECT_EQ(back.value(QStringLiteral("Rate")), Value(1.5));
    EXPECT_EQ(back.value(QStringLiteral("City")), Value(""));
    EXPECT_TRUE(back.value(QStringLiteral("Notes")).isNull());
    EXPECT_EQ(db.openDynaset(QStringLiteral("SELECT * FROM Customers WHERE Active = False")).recordCount(),
              0);

    // Dates written elsewhere without a time still read as dates.
    raw.exec("UPDATE Customers SET Since = '2023-07-04'");
    EXPECT_EQ(db.openTable(QStringLiteral("Customers")).value(QStringLiteral("Since")),
              Value::date(QDate(2023, 7, 4)));
}
