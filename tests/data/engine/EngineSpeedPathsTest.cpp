// The short cuts of the engine's reading paths: the current row kept from the query that found it, finds
// with their value as a parameter, dates read without time zone work, statistics after compaction.

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
        for (int i = 0; i < 6; ++i)
            addCase(i % 2 ? oslo : quoted, 10.0 * (i + 1), i != 3);
    }

    QString lastNameFound(Recordset& rs) {
        return rs.noMatch() ? QStringLiteral("-") : rs.value("LastName").toString();
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
    EXPECT_EQ(rs.value("Active"), Value(true));
    EXPECT_EQ(rs.value("Active"), Value(true));

    rs.edit();
    rs.setValue("Balance", Value::currency(99.5));
    EXPECT_EQ(rs.value("Balance"), Value::currency(99.5)) << "the pending value while editing";
    rs.cancelUpdate();
    EXPECT_EQ(rs.value("Balance"), Value::currency(7.25)) << "cancelled: the row as it is";

    rs.edit();
    rs.setValue("Balance", Value::currency(99.5));
    rs.setValue("City", Value("Galway"));
    rs.update();
    EXPECT_EQ(rs.value("Balance"), Value::currency(99.5));
    EXPECT_EQ(rs.value("City"), Value("Galway"));
    EXPECT_EQ(rs.value("LastName"), Value("O'Brien"));

    rs.moveNext();
    EXPECT_EQ(rs.value("CustomerID"), Value(lower));
    EXPECT_EQ(rs.value("Balance"), Value::currency(1.0)) << "the next row, not the one read before";
    EXPECT_EQ(rs.value("City"), Value("Oslo"));
    rs.movePrevious();
    EXPECT_EQ(rs.value("Balance"), Value::currency(99.5));
    EXPECT_EQ(rs.value("City"), Value("Galway"));

    // A new row becomes the current row with the values written, defaults included.
    rs.addNew();
    rs.setValue("LastName", Value("Newman"));
    rs.update();
    EXPECT_EQ(rs.value("LastName"), Value("Newman"));
    EXPECT_EQ(rs.value("Active"), Value(true));
    EXPECT_TRUE(rs.value("Balance").isNull());

    // A sorted set keeps its row ids; the row read is the one at the position, after edits too.
    Recordset sorted = db.openDynaset("SELECT * FROM Customers ORDER BY LastName DESC");
    EXPECT_EQ(sorted.value("LastName"), Value("Say \"hi\""));
    EXPECT_EQ(sorted.value("City"), Value("Bergen"));
    sorted.edit();
    sorted.setValue("City", Value("Tromso"));
    sorted.update();
    EXPECT_EQ(sorted.value("City"), Value("Tromso"));
    sorted.moveNext();
    EXPECT_EQ(sorted.value("LastName"), Value("Olsen"));
    EXPECT_EQ(sorted.value("Balance"), Value::currency(12.5));
    sorted.movePrevious();
    EXPECT_EQ(sorted.value("City"), Value("Tromso"));
    sorted.remove();
    EXPECT_ERROR(3167, sorted.value("City")) << "a deleted row is not read from what was kept";
    sorted.moveNext();
    EXPECT_EQ(sorted.value("LastName"), Value("Olsen"));

    // A change made elsewhere is seen once the row is located again.
    OtherSession other(path);
    ASSERT_EQ(other.exec("UPDATE Customers SET City = 'Bodo' WHERE LastName = 'Olsen'"), SQLITE_OK);
    rs.seek("=", Value(oslo));
    EXPECT_EQ(rs.value("City"), Value("Bodo"));
}

TEST_F(EngineSpeedPaths, FindsWithValuesInQuotesAndNumbers) {
    Recordset rs = db.openDynaset("Customers");
    rs.findFirst(R"(LastName = "O'Brien")");
    EXPECT_EQ(rs.value("CustomerID"), Value(quoted));
    rs.findNext(R"(LastName = "O'Brien")");
    EXPECT_EQ(rs.value("CustomerID"), Value(lower)) << "texts compare without letter case";
    rs.findNext(R"(LastName = "O'Brien")");
    EXPECT_TRUE(rs.noMatch());
    EXPECT_EQ(rs.value("CustomerID"), Value(lower)) << "no match: the position stays";
    rs.findPrevious(R"([LastName] = "O'BRIEN")");
    EXPECT_EQ(rs.value("CustomerID"), Value(quoted));
    rs.findLast(R"(LastName = "o'brien")");
    EXPECT_EQ(rs.value("CustomerID"), Value(lower));

    rs.findFirst(R"(LastName = "Say ""hi""")");
    EXPECT_EQ(lastNameFound(rs), "Say \"hi\"");
    rs.findFirst(R"(LastName = "Say ""hi"" ")");
    EXPECT_TRUE(rs.noMatch()) << "a trailing blank is part of the text";
    rs.findFirst(R"(LastName = "x' OR '1'='1")");
    EXPECT_TRUE(rs.noMatch()) << "the value is data, never SQL";
    EXPECT_EQ(rs.value("CustomerID"), Value(speech));

    // The same criterion with one key after another finds each row, never the row of an earlier key.
    for (const qint64 key : {speech, oslo, lower, quoted, oslo}) {
        rs.findFirst(QStringLiteral("CustomerID = %1").arg(key));
        ASSERT_FALSE(rs.noMatch()) << key;
        EXPECT_EQ(rs.value("CustomerID"), Value(key));
    }
    rs.findFirst("CustomerID = 999");
    EXPECT_TRUE(rs.noMatch());
    rs.findFirst(QStringLiteral("CustomerID = \"%1\"").arg(lower));
    EXPECT_EQ(rs.value("CustomerID"), Value(lower)) << "a number in quotes against a number field";
    rs.findFirst("CustomerID = -1");
    EXPECT_TRUE(rs.noMatch());
    EXPECT_ERROR(3265, rs.findFirst("Nowhere = 1"));
    EXPECT_ERROR(3265, rs.findFirst(R"(Nowhere = "x")"));

    // A set with its own condition finds only among its rows.
    Recordset inOslo = db.openDynaset(R"(SELECT * FROM Customers WHERE City = "Oslo")");
    inOslo.findFirst(R"(LastName = "O'Brien")");
    EXPECT_EQ(inOslo.value("CustomerID"), Value(lower)) << "the O'Brien of Cork is not in the set";
    inOslo.findFirst(QStringLiteral("CustomerID = %1").arg(quoted));
    EXPECT_TRUE(inOslo.noMatch());
    inOslo.findFirst("Balance = 125000");
    EXPECT_EQ(inOslo.value("CustomerID"), Value(oslo)) << "currency compares its stored form";

    Recordset open = db.openDynaset("SELECT * FROM Cases WHERE CaseOpen = True");
    open.findFirst("CaseID = 4");
    EXPECT_TRUE(open.noMatch()) << "case 4 is closed";
    open.findFirst("CaseID = 3");
    ASSERT_FALSE(open.noMatch());
    open.moveNext();
    EXPECT_EQ(open.value("CaseID"), Value(qint64(5)));
    open.findPrevious("CustomerID = " + QString::number(quoted));
    EXPECT_EQ(open.value("CaseID"), Value(qint64(3)));
}

TEST_F(EngineSpeedPaths, DatesReadBackIdentical) {
    const QList<QDateTime> moments = {
        QDateTime(QDate(2026, 3, 5), QTime(14, 30, 0)),    QDateTime(QDate(2024, 2, 29), QTime(0, 0, 0)),
        QDateTime(QDate(2023, 12, 31), QTime(23, 59, 59)), QDateTime(QDate(1850, 6, 15), QTime(13, 45, 10)),
        QDateTime(QDate(1899, 12, 30), QTime(6, 0, 1)),    QDateTime(QDate(9999, 12, 31), QTime(23, 59, 59)),
        QDateTime(QDate(2026, 3, 29), QTime(2, 30, 0)),    QDateTime(QDate(2026, 11, 1), QTime(1, 30, 0))};
    QList<qint64> keys;
    {
        Recordset rs = db.openTable("Customers");
        for (const QDateTime& moment : moments) {
            rs.addNew();
            rs.setValue("LastName", Value("Dated"));
            rs.setValue("Since", Value::date(moment));
            rs.update();
            keys.append(rs.value("CustomerID").toLongLong());
        }
    }
    OtherSession other(path);
    Recordset rs = db.openTable("Customers");
    rs.setIndex("PrimaryKey");
    for (qsizetype i = 0; i < moments.size(); ++i) {
        const QDateTime& moment = moments[i];
        rs.seek("=", Value(keys[i]));
        ASSERT_FALSE(rs.noMatch());
        const Value since = rs.value("Since");
        EXPECT_EQ(since.kind(), Value::Kind::Date) << moment.toString(Qt::ISODate).toStdString();
        EXPECT_EQ(since, Value::date(moment));
        EXPECT_EQ(since.toDateTime().date(), moment.date());
        EXPECT_EQ(since.toDateTime().time(), moment.time());
        EXPECT_EQ(since.toDate(), moment.date());
        const QString stored = other.text(QStringLiteral("SELECT Since FROM Customers WHERE CustomerID = %1")
                                              .arg(keys[i])
                                              .toUtf8()
                                              .constData());
        EXPECT_EQ(stored, moment.toString("yyyy-MM-dd HH:mm:ss"));
        EXPECT_EQ(Value::parseDayNumber(stored), Value::date(moment).toDouble()) << stored.toStdString();
    }
    rs.seek("=", Value(keys[0]));
    EXPECT_EQ(rs.value("Since").toString(), "3/5/2026 2:30:00 PM");
    rs.seek("=", Value(keys[1]));
    EXPECT_EQ(rs.value("Since").toString(), "2/29/2024");
    rs.seek("=", Value(keys[3]));
    EXPECT_LT(rs.value("Since").toDouble(), 0.0) << "before the base day";
    EXPECT_EQ(rs.value("Since").toString(), "6/15/1850 1:45:10 PM");
    rs.seek("=", Value(keys[4]));
    EXPECT_EQ(rs.value("Since").toString(), "6:00:01 AM") << "on day 0 the time alone";

    // Null, texts written by others in other forms, and a text that is no date.
    ASSERT_EQ(other.exec("INSERT INTO Customers (CustomerID, LastName, Since) VALUES (901, 'A', NULL), "
                         "(902, 'B', '2024-2-9'), (903, 'C', '2024-02-09T08:07:06'), "
                         "(904, 'D', '2024-02-30 00:00:00'), (905, 'E', '2024-02-09 8:07:06')"),
              SQLITE_OK);
    rs.seek("=", Value(901));
    EXPECT_TRUE(rs.value("Since").isNull());
    EXPECT_ERROR(94, rs.value("Since").toDate());
    EXPECT_ERROR(94, rs.value("Since").toDateTime());
    rs.seek("=", Value(902));
    EXPECT_EQ(rs.value("Since"), Value::date(QDate(2024, 2, 9)));
    rs.seek("=", Value(903));
    EXPECT_EQ(rs.value("Since"), Value::date(QDateTime(QDate(2024, 2, 9), QTime(8, 7, 6))));
    rs.seek("=", Value(905));
    EXPECT_EQ(rs.value("Since"), Value::date(QDateTime(QDate(2024, 2, 9), QTime(8, 7, 6))));
    rs.seek("=", Value(904));
    EXPECT_EQ(rs.value("Since"), Value("2024-02-30 00:00:00")) << "kept as the text it is";
    EXPECT_ERROR(13, rs.value("Since").toDate());
}

TEST_F(EngineSpeedPaths, DatesFromTextsAndDayNumbers) {
    EXPECT_EQ(Value("2026-03-05 14:30:00").toDate(), QDate(2026, 3, 5));
    EXPECT_EQ(Value("3/5/2026 2:30 PM").toDate(), QDate(2026, 3, 5));
    EXPECT_EQ(Value(" 2026-03-05 ").toDate(), QDate(2026, 3, 5));
    EXPECT_EQ(Value(46086.75).toDate(), QDate(2026, 3, 5));
    EXPECT_EQ(Value::fromDayNumber(-1.5).toDateTime(), QDateTime(QDate(1899, 12, 29), QTime(12, 0)));
    EXPECT_EQ(Value::fromDayNumber(-1.5).toDate(), QDate(1899, 12, 29));
    EXPECT_EQ(Value::parseDayNumber("1899-12-29 12:00:00"), -1.5);
    EXPECT_EQ(Value::parseDayNumber("2026-03-05 18:00:00"), 46086.75);
    for (const char* bad : {"2026-13-05 00:00:00", "2026-03-05 24:00:00", "2026-03-05 10:60:00",
                            "2026-03-05x10:00:00", "2026-0a-05", "12/31/2026 13:00 PM", "tomorrow"}) {
        EXPECT_FALSE(Value::parseDayNumber(bad).has_value()) << bad;
        EXPECT_FALSE(Value::parseDateTime(bad).has_value()) << bad;
    }
    EXPECT_ERROR(13, Value("tomorrow").toDate());
    EXPECT_ERROR(6, Value::fromDayNumber(3e6).toDate());
    EXPECT_EQ(Value::date(QDate()), Value::null());
    EXPECT_EQ(Value::date(QDate(2026, 3, 5)), Value::fromDayNumber(46086.0));
}

TEST_F(EngineSpeedPaths, CompactedFileCarriesStatistics) {
    db.close();
    Database::releaseAll();
    const QString copy = dir.filePath("Compacted.db");
    Database::compactDatabase(path, copy);
    OtherSession other(copy);
    EXPECT_GE(other.text("SELECT count(*) FROM sqlite_stat1 WHERE tbl = 'Cases'").toInt(), 1);
    EXPECT_EQ(other.text("PRAGMA quick_check"), "ok");
    Database compacted = Database::open(copy);
    Recordset rs = compacted.openDynaset("SELECT * FROM Cases WHERE CaseOpen = True");
    EXPECT_EQ(rs.recordCount(), 5);
    rs.findFirst("CaseID = 6");
    EXPECT_EQ(rs.value("Amount"), Value::currency(60.0));
    compacted.close();
    Database::release(copy);
    EXPECT_EQ(OtherSession(copy).text("PRAGMA quick_check"), "ok") << "released after its statistics";
}
