#include "data/engine/Value.h"

#include "EngineTestUtil.h"

#include <QDateTime>
#include <QTimeZone>

TEST(ValueNumbers, TextReadsAsNumberByTheBasicRules) {
    EXPECT_DOUBLE_EQ(Value("$1,234.50").toDouble(), 1234.5);
    EXPECT_DOUBLE_EQ(Value("($5.00)").toDouble(), -5.0);
    EXPECT_DOUBLE_EQ(Value("-$5.00").toDouble(), -5.0);
    EXPECT_DOUBLE_EQ(Value("  42  ").toDouble(), 42.0);
    EXPECT_DOUBLE_EQ(Value("1.5E+3").toDouble(), 1500.0);
    EXPECT_DOUBLE_EQ(Value(".25").toDouble(), 0.25);
    EXPECT_TRUE(Value("$1,234.50").isNumeric());
    EXPECT_FALSE(Value("12abc").isNumeric());
    EXPECT_FALSE(Value("").isNumeric());
    EXPECT_FALSE(Value("1,").isNumeric());
    EXPECT_FALSE(Value("(-5)").isNumeric());
}

TEST(ValueNumbers, TextThatIsNoNumberIsATypeMismatch) {
    EXPECT_EQ(errorNumber([] { Value("abc").toDouble(); }), ErrNo::TypeMismatch);
    EXPECT_EQ(errorNumber([] { Value("").toLongLong(); }), ErrNo::TypeMismatch);
    EXPECT_EQ(errorNumber([] { Value("5 apples").currencyScaled(); }), ErrNo::TypeMismatch);
    EXPECT_EQ(errorNumber([] { Value("maybe").toBool(); }), ErrNo::TypeMismatch);
    EXPECT_EQ(errorNumber([] { Value("31/31/2024").toDateTime(); }), ErrNo::TypeMismatch);
}

TEST(ValueNumbers, EmptyNullAndBooleansFollowTheBasicRules) {
    EXPECT_EQ(Value().toDouble(), 0.0);
    EXPECT_EQ(Value().toString(), QString());
    EXPECT_FALSE(Value().toBool());
    EXPECT_EQ(Value::null().toString(), QString());
    EXPECT_EQ(errorNumber([] { Value::null().toDouble(); }), 94);
    EXPECT_EQ(errorNumber([] { Value::null().toBool(); }), 94);
    EXPECT_EQ(Value(true).toDouble(), -1.0);
    EXPECT_EQ(Value(true).toLongLong(), -1);
    EXPECT_EQ(Value(false).toDouble(), 0.0);
    EXPECT_EQ(Value(true).toString(), QStringLiteral("True"));
    EXPECT_TRUE(Value("true").toBool());
    EXPECT_FALSE(Value("False").toBool());
    EXPECT_TRUE(Value("-1").toBool());
    EXPECT_EQ(Value(-99).kind(), Value::Kind::Integer);
}

TEST(ValueNumbers, WholeNumbersRoundHalfToEvenAndReportOverflow) {
    EXPECT_EQ(Value(2.5).toLongLong(), 2);
    EXPECT_EQ(Value(3.5).toLongLong(), 4);
    EXPECT_EQ(Value(-2.5).toLongLong(), -2);
    EXPECT_EQ(Value("7.5").toLongLong(), 8);
    EXPECT_EQ(Value::currencyFromScaled(25000).toLongLong(), 2);
    EXPECT_EQ(Value::currencyFromScaled(35000).toLongLong(), 4);
    EXPECT_EQ(errorNumber([] { Value(1e300).toLongLong(); }), ErrNo::Overflow);
}

TEST(ValueCurrency, KeepsFourDecimalsExactlyAndPrintsWithoutTrailingZeros) {
    EXPECT_EQ(Value("12.50").currencyScaled(), 125000);
    EXPECT_EQ(Value("$1,234.5678").currencyScaled(), 12345678);
    EXPECT_EQ(Value("0.00005").currencyScaled(), 1);
    EXPECT_EQ(Value("($5.00)").currencyScaled(), -50000);
    EXPECT_EQ(Value(12).currencyScaled(), 120000);
    EXPECT_EQ(Value::currency(12.5).toString(), QStringLiteral("12.5"));
    EXPECT_EQ(Value::currency(-0.05).toString(), QStringLiteral("-0.05"));
    EXPECT_EQ(Value::currency(7).toString(), QStringLiteral("7"));
    const Value large = Value::currencyFromScaled(*Value::parseCurrency(QStringLiteral("92233720368.5477")));
    EXPECT_EQ(large.currencyScaled(), 922337203685477);
    EXPECT_EQ(large.toString(), QStringLiteral("92233720368.5477"));
    EXPECT_EQ(Value::currency(92233720368.5477).currencyScaled(), 922337203685477);
    EXPECT_EQ(errorNumber([] { Value("99999999999999999999").currencyScaled(); }), ErrNo::Overflow);
}

TEST(ValueText, NumbersPrintAsPlainDecimals) {
    EXPECT_EQ(Value(1234).toString(), QStringLiteral("1234"));
    EXPECT_EQ(Value(0.1 + 0.2).toString(), QStringLiteral("0.3"));
    EXPECT_EQ(Value(-2.75).toString(), QStringLiteral("-2.75"));
    EXPECT_EQ(Value(qint64(9007199254740993)).toString(), QStringLiteral("9007199254740993"));
}

TEST(ValueDate, DayNumbersCountFromTheEndOf1899AndIgnoreTimeZones) {
    EXPECT_EQ(Value::date(QDate(1899, 12, 30)).toDouble(), 0.0);
    EXPECT_EQ(Value::date(QDate(1900, 1, 1)).toDouble(), 2.0);
    EXPECT_EQ(Value::date(QDate(2024, 3, 1)).toDouble(), 45352.0);
    EXPECT_DOUBLE_EQ(Value::date(QDateTime(QDate(2024, 3, 1), QTime(18, 0))).toDouble(), 45352.75);
    EXPECT_DOUBLE_EQ(Value::date(QDateTime(QDate(1899, 12, 29), QTime(6, 0))).toDouble(), -1.25);
    EXPECT_EQ(Value::fromDayNumber(-1.25).toDateTime(), QDateTime(QDate(1899, 12, 29), QTime(6, 0)));

    // The clock time is kept as given, whatever the zone of the QDateTime: on a daylight-saving change day
    // the day number is still a quarter or three quarters of a day.
    const QDateTime utc(QDate(2024, 3, 31), QTime(18, 0), QTimeZone::utc());
    EXPECT_DOUBLE_EQ(Value::date(utc).toDouble(), 45382.75);
    const QDateTime back = Value::date(QDateTime(QDate(2024, 3, 10), QTime(2, 30, 15))).toDateTime();
    EXPECT_EQ(back.date(), QDate(2024, 3, 10));
    EXPECT_EQ(back.time(), QTime(2, 30, 15));
    EXPECT_TRUE(Value::date(QDateTime()).isNull());
}

TEST(ValueDate, PrintsAndReadsTheClassicForms) {
    EXPECT_EQ(Value::date(QDate(2024, 3, 5)).toString(), QStringLiteral("3/5/2024"));
    EXPECT_EQ(Value::date(QDateTime(QDate(2024, 12, 25), QTime(15, 4, 5))).toString(),
              QStringLiteral("12/25/2024 3:04:05 PM"));
    EXPECT_EQ(Value::date(QDateTime(QDate(2024, 1, 2), QTime(0, 30))).toString(),
              QStringLiteral("1/2/2024 12:30:00 AM"));
    EXPECT_EQ(Value("3/5/2024").toDateTime(), QDateTime(QDate(2024, 3, 5), QTime(0, 0)));
    EXPECT_EQ(Value("03/05/2024 11:15:00 PM").toDateTime(), QDateTime(QDate(2024, 3, 5), QTime(23, 15)));
    EXPECT_EQ(Value("2024-03-05 23:15:09").toDateTime(), QDateTime(QDate(2024, 3, 5), QTime(23, 15, 9)));
    EXPECT_EQ(Value("2024-03-05").toDateTime(), QDateTime(QDate(2024, 3, 5), QTime(0, 0)));
    EXPECT_FALSE(Value::parseDateTime(QStringLiteral("2/30/2024")).has_value());
    EXPECT_FALSE(Value::parseDateTime(QStringLiteral("1/2/2024 13:00 PM")).has_value());
}

TEST(ValueEquality, ComparesKindAndContent) {
    EXPECT_EQ(Value(5), Value(qint64(5)));
    EXPECT_NE(Value(5), Value(5.0));
    EXPECT_NE(Value("a"), Value("A"));
    EXPECT_EQ(Value::null(), Value::null());
    EXPECT_NE(Value::null(), Value());
    EXPECT_EQ(Value::currency(1.25), Value::currencyFromScaled(12500));
}
