// The short cuts of the engine's reading paths: the current row kept from the query that found it, finds
// with their value as a parameter, dates read without time zone work.

#include "EngineTestUtil.h"

#include <QDateTime>

class EngineSpeedPaths : public EngineFixture {
protected:
    void SetUp() override {
        EngineFixture::SetUp();
        oslo = addCustomer("Olsen", "Oslo", 12.5);
        quoted = addCustomer("O'Brien", "Cork", 7.25);
        lower = addCustomer("o'brien", "Oslo", 1.0);
        speech = addCustomer("Say \"hi\"", "Bergen", 3.0);
    }
    qint64 oslo = 0, quoted = 0, lower = 0, speech = 0;
};

TEST_F(EngineSpeedPaths, CurrentRowFollowsEditsUpdatesAndMoves) {
    Recordset rs = db.openTable("Customers");
    rs.setIndex("PrimaryKey");
    rs.seek("=", Value(quoted));
    ASSERT_FALSE(rs.noMatch());
    EXPECT_EQ(rs.value("Balance"), Value::currency(7.25));
    EXPECT_EQ(rs.value("Balance"), Value::currency(7.25)) << "a field read twice reads the same";

    rs.edit();
    rs.setValue("Balance", Value::currency(99.5));
    EXPECT_EQ(rs.value("Balance"), Value::currency(99.5)) << "the pending value while editing";
    rs.cancelUpdate();
    EXPECT_EQ(rs.value("Balance"), Value::currency(7.25)) << "cancelled: the row as it is";
    rs.edit();
    rs.setValue("City", Value("Galway"));
    rs.update();
    EXPECT_EQ(rs.value("City"), Value("Galway"));
    EXPECT_EQ(rs.value("LastName"), Value("O'Brien"));

    rs.moveNext();
    EXPECT_EQ(rs.value("Balance"), Value::currency(1.0)) << "the next row, not the one read before";
    rs.movePrevious();
    EXPECT_EQ(rs.value("City"), Value("Galway"));

    // A new row becomes the current row with the values written, defaults included.
    rs.addNew();
    rs.setValue("LastName", Value("Newman"));
    rs.update();
    EXPECT_EQ(rs.value("Active"), Value(true));
    EXPECT_TRUE(rs.value("Balance").isNull());

    // A sorted set keeps its row ids; the row read is the one at the position, after edits too.
    Recordset sorted = db.openDynaset("SELECT * FROM Customers ORDER BY LastName DESC");
    EXPECT_EQ(sorted.value("City"), Value("Bergen"));
    sorted.edit();
    sorted.setValue("City", Value("Tromso"));
    sorted.update();
    sorted.moveNext();
    EXPECT_EQ(sorted.value("Balance"), Value::currency(12.5));
    sorted.movePrevious();
    EXPECT_EQ(sorted.value("City"), Value("Tromso"));
    sorted.remove();
    EXPECT_ERROR(3167, sorted.value("City")) << "a deleted row is not read from what was kept";
    sorted.moveNext();
    EXPECT_EQ(sorted.value("LastName"), Value("Olsen"));

    // A change made elsewhere is seen once the row is located again.
    ASSERT_EQ(OtherSession(path).exec("UPDATE Customers SET City = 'Bodo' WHERE LastName = 'Olsen'"),
              SQLITE_OK);
    rs.seek("=", Value(oslo));
    EXPECT_EQ(rs.value("City"), Value("Bodo"));
}

TEST_F(EngineSpeedPaths, FindsWithValuesInQuotesAndNumbers) {
    Recordset rs = db.openDynaset("Customers");
    const auto found = [&] { return rs.noMatch() ? qint64(-1) : rs.value("CustomerID").toLongLong(); };
    rs.findLast(R"([LastName] = "O'BRIEN")");
    EXPECT_EQ(found(), lower) << "texts compare without letter case";
    rs.findNext(R"(LastName = "O'Brien")");
    EXPECT_TRUE(rs.noMatch());
    EXPECT_EQ(rs.value("CustomerID"), Value(lower)) << "no match: the position stays";

    const auto byKey = [](qint64 key) { return QStringLiteral("CustomerID = %1").arg(key); };
    const std::pair<QString, qint64> finds[] = {
        {R"(LastName = "Say ""hi""")", speech},
        {R"(LastName = "Say ""hi"" ")", -1}, // a trailing blank is part of the text
        {R"(LastName = "x' OR '1'='1")", -1}, // the value is data, never SQL
        // The same criterion with one key after another finds each row, never the row of an earlier key.
        {byKey(speech), speech}, {byKey(oslo), oslo}, {byKey(lower), lower}, {byKey(oslo), oslo},
        {QStringLiteral("CustomerID = \"%1\"").arg(quoted), quoted}, // a number in quotes
        {"CustomerID = 999", -1}, {"CustomerID = -1", -1}};
    for (const auto& [criterion, key] : finds) {
        rs.findFirst(criterion);
        EXPECT_EQ(found(), key) << criterion.toStdString();
    }
    EXPECT_ERROR(3265, rs.findFirst("Nowhere = 1"));
    EXPECT_ERROR(3265, rs.findFirst(R"(Nowhere = "x")"));

    // A set with its own condition finds only among its rows.
    Recordset inOslo = db.openDynaset(R"(SELECT * FROM Customers WHERE City = "Oslo")");
    inOslo.findFirst(R"(LastName = "O'Brien")");
    EXPECT_EQ(inOslo.value("CustomerID"), Value(lower)) << "the O'Brien of Cork is not in the set";
    inOslo.findFirst("Balance = 125000");
    EXPECT_EQ(inOslo.value("CustomerID"), Value(oslo)) << "currency compares its stored form";
}

TEST_F(EngineSpeedPaths, DatesReadBackIdentical) {
    Recordset rs = db.openTable("Customers");
    rs.setIndex("PrimaryKey");
    OtherSession other(path);
    // A leap day, the end of a day, before day 0, the last day there is, and two daylight-saving changes.
    for (const char* text : {"2024-02-29 00:00:00", "2023-12-31 23:59:59", "1850-06-15 13:45:10",
                             "9999-12-31 23:59:59", "2026-03-29 02:30:00", "2026-11-01 01:30:00"}) {
        const QDateTime moment = QDateTime::fromString(text, "yyyy-MM-dd HH:mm:ss");
        rs.addNew();
        rs.setValue("LastName", Value("Dated"));
        rs.setValue("Since", Value::date(moment));
        rs.update();
        const qint64 key = rs.value("CustomerID").toLongLong();
        rs.seek("=", Value(key));
        const Value since = rs.value("Since");
        EXPECT_EQ(since, Value::date(moment)) << text; // a Value compares its kind too
        const QString stored = QStringLiteral("SELECT Since FROM Customers WHERE CustomerID = %1").arg(key);
        EXPECT_EQ(other.text(stored.toUtf8()), moment.toString("yyyy-MM-dd HH:mm:ss"));
    }

    // Null, texts written by others in other forms, and a text that is no date.
    ASSERT_EQ(other.exec("INSERT INTO Customers (CustomerID, LastName, Since) VALUES (901, 'A', NULL), "
                         "(902, 'B', '2024-2-9'), (903, 'C', '2024-02-09T08:07:06'), "
                         "(904, 'D', '2024-02-30 00:00:00'), (905, 'E', '2024-02-09 8:07:06')"),
              SQLITE_OK);
    const QDateTime morning(QDate(2024, 2, 9), QTime(8, 7, 6));
    const std::pair<int, Value> read[] = {{902, Value::date(QDate(2024, 2, 9))},
                                          {903, Value::date(morning)},
                                          {905, Value::date(morning)},
                                          {904, Value("2024-02-30 00:00:00")}}; // kept as the text it is
    for (const auto& [key, value] : read) {
        rs.seek("=", Value(key));
        EXPECT_EQ(rs.value("Since"), value) << key;
    }
    rs.seek("=", Value(901));
    EXPECT_TRUE(rs.value("Since").isNull());
}
