#include "core/Value.h"

#include "EngineTestUtil.h"

#include <QDateTime>
#include <QTimeZone>

TEST(ValueNumbers, TextReadsAsNumberByTheBasicRulesOrIsATypeMismatch) {
    const std::pair<const char*, double> numbers[] = {{"$1,234.50", 1234.5}, {"($5.00)", -5.0},
                                                      {"-$5.00", -5.0},      {"  42  ", 42.0},
                                                      {"1.5E+3", 1500.0},    {".25", 0.25}};
    for (const auto& [text, number] : numbers) {
        EXPECT_DOUBLE_EQ(Value(text).toDouble(), number) << text;
        EXPECT_TRUE(Value(text).isNumeric()) << text;
    }
    for (const char* text : {"12abc", "", "1,", "(-5)"})
        EXPECT_FALSE(Value(text).isNumeric()) << text;
    EXPECT_ERROR(ErrNo::TypeMismatch, Value("abc").toDouble());
    EXPECT_ERROR(ErrNo::TypeMismatch, Value("").toLongLong());
    EXPECT_ERROR(ErrNo::TypeMismatch, Value("5 apples").currencyScaled());
    EXPECT_ERROR(ErrNo::TypeMismatch, Value("maybe").toBool());
}

TEST(ValueNumbers, EmptyNullAndBooleansFollowTheBasicRules) {
    EXPECT_EQ(Value().toDouble(), 0.0);
    EXPECT_ERROR(94, Value::null().toDouble());
    EXPECT_ERROR(94, Value::null().toBool());
    EXPECT_EQ(Value(true).toDouble(), -1.0);
    EXPECT_EQ(Value(true).toLongLong(), -1);
    for (const auto& [value, text] : {std::pair{Value(), ""}, {Value::null(), ""}, {Value(true), "True"}})
        EXPECT_EQ(value.toString(), text) << value.debugString().toStdString();
    for (const auto& [value, truth] :
         {std::pair{Value(), false}, {Value("true"), true}, {Value("False"), false}, {Value("-1"), true}})
        EXPECT_EQ(value.toBool(), truth) << value.debugString().toStdString();
}

TEST(ValueNumbers, WholeNumbersRoundHalfToEvenAndReportOverflow) {
    const std::pair<Value, qint64> rounded[] = {
        {Value(2.5), 2}, {Value(3.5), 4}, {Value(-2.5), -2}, {Value("7.5"), 8},
        {Value::currencyFromScaled(25000), 2}, {Value::currencyFromScaled(35000), 4},
        {Value::currencyFromScaled(-25000), -2}};
    for (const auto& [value, whole] : rounded)
        EXPECT_EQ(value.toLongLong(), whole) << value.debugString().toStdString();
    EXPECT_ERROR(ErrNo::Overflow, Value(1e300).toLongLong());
}

TEST(ValueCurrency, KeepsFourDecimalsExactlyAndPrintsWithoutTrailingZeros) {
    const std::pair<Value, qint64> scaled[] = {
        {"12.50", 125000}, {"$1,234.5678", 12345678}, {"0.00005", 1}, {"($5.00)", -50000}, {12, 120000}};
    for (const auto& [value, number] : scaled)
        EXPECT_EQ(value.currencyScaled(), number) << value.debugString().toStdString();
    for (const auto& [amount, text] : {std::pair{12.5, "12.5"}, {-0.05, "-0.05"}, {7.0, "7"}})
        EXPECT_EQ(Value::currency(amount).toString(), text) << text;
    const Value large = Value::currencyFromScaled(*Value::parseCurrency("92233720368.5477"));
    EXPECT_EQ(large.currencyScaled(), 922337203685477);
    EXPECT_EQ(large.toString(), "92233720368.5477");
    EXPECT_EQ(Value::currency(92233720368.5477).currencyScaled(), 922337203685477);
    EXPECT_ERROR(ErrNo::Overflow, Value("99999999999999999999").currencyScaled());
}

TEST(ValueText, NumbersPrintAsPlainDecimals) {
    EXPECT_EQ(Value(0.1 + 0.2).toString(), "0.3");
    EXPECT_EQ(Value(-2.75).toString(), "-2.75");
    EXPECT_EQ(Value(qint64(9007199254740993)).toString(), "9007199254740993");
}

TEST(ValueDate, DayNumbersCountFromTheEndOf1899AndIgnoreTimeZones) {
    const std::pair<QDateTime, double> days[] = {
        {QDateTime(QDate(1899, 12, 30), QTime(0, 0)), 0.0}, {QDateTime(QDate(1900, 1, 1), QTime(0, 0)), 2.0},
        {QDateTime(QDate(2024, 3, 1), QTime(18, 0)), 45352.75},
        {QDateTime(QDate(2026, 3, 5), QTime(18, 0)), 46086.75},
        {QDateTime(QDate(1899, 12, 29), QTime(6, 0)), -1.25},
        {QDateTime(QDate(1899, 12, 29), QTime(12, 0)), -1.5},
        // The clock time is kept as given, whatever the zone or a daylight-saving change.
        {QDateTime(QDate(2024, 3, 31), QTime(18, 0), QTimeZone::utc()), 45382.75},
        {QDateTime(QDate(2024, 3, 10), QTime(2, 30)), 45361.104166666664}};
    for (const auto& [moment, day] : days) {
        const std::string row = moment.toString(Qt::ISODate).toStdString();
        EXPECT_DOUBLE_EQ(Value::date(moment).toDouble(), day) << row;
        EXPECT_EQ(Value::fromDayNumber(day).toDateTime(), QDateTime(moment.date(), moment.time())) << row;
        EXPECT_EQ(Value::fromDayNumber(day).toDate(), moment.date()) << row;
        EXPECT_DOUBLE_EQ(*Value::parseDayNumber(moment.toString("yyyy-MM-dd HH:mm:ss")), day) << row;
    }
    EXPECT_EQ(Value(46086.75).toDate(), QDate(2026, 3, 5));
    EXPECT_EQ(Value::date(QDate(2026, 3, 5)), Value::fromDayNumber(46086.0));
    EXPECT_TRUE(Value::date(QDateTime()).isNull());
    EXPECT_EQ(Value::date(QDate()), Value::null());
    EXPECT_ERROR(6, Value::fromDayNumber(3e6).toDate());
}

TEST(ValueDate, PrintsAndReadsTheClassicForms) {
    const std::pair<QDateTime, const char*> printed[] = {
        {QDateTime(QDate(2024, 3, 5), QTime(0, 0)), "3/5/2024"},
        {QDateTime(QDate(2024, 12, 25), QTime(15, 4, 5)), "12/25/2024 3:04:05 PM"},
        {QDateTime(QDate(2024, 1, 2), QTime(0, 30)), "1/2/2024 12:30:00 AM"},
        {QDateTime(QDate(1850, 6, 15), QTime(13, 45, 10)), "6/15/1850 1:45:10 PM"},
        {QDateTime(QDate(1899, 12, 30), QTime(6, 0, 1)), "6:00:01 AM"}}; // on day 0 the time alone
    for (const auto& [moment, text] : printed)
        EXPECT_EQ(Value::date(moment).toString(), text) << text;
    const std::pair<const char*, QDateTime> read[] = {
        {"3/5/2024", QDateTime(QDate(2024, 3, 5), QTime(0, 0))},
        {"03/05/2024 11:15:00 PM", QDateTime(QDate(2024, 3, 5), QTime(23, 15))},
        {"3/5/2026 2:30 PM", QDateTime(QDate(2026, 3, 5), QTime(14, 30))},
        {"2024-03-05 23:15:09", QDateTime(QDate(2024, 3, 5), QTime(23, 15, 9))},
        {" 2024-03-05 ", QDateTime(QDate(2024, 3, 5), QTime(0, 0))}};
    for (const auto& [text, dateTime] : read)
        EXPECT_EQ(Value(text).toDateTime(), dateTime) << text;
    for (const char* bad : {"2026-13-05 00:00:00", "2026-03-05 24:00:00", "2026-03-05 10:60:00", "2026-0a-05",
                            "2026-03-05x10:00:00", "12/31/2026 13:00 PM", "2/30/2024", "tomorrow"}) {
        EXPECT_FALSE(Value::parseDayNumber(bad).has_value()) << bad;
        EXPECT_FALSE(Value::parseDateTime(bad).has_value()) << bad;
    }
    EXPECT_ERROR(ErrNo::TypeMismatch, Value("31/31/2024").toDateTime());
    EXPECT_ERROR(ErrNo::TypeMismatch, Value("tomorrow").toDate());
}

TEST(ValueEquality, ComparesKindAndContent) {
    EXPECT_EQ(Value(5), Value(qint64(5)));
    EXPECT_NE(Value(5), Value(5.0));
    EXPECT_NE(Value("a"), Value("A"));
    EXPECT_EQ(Value::null(), Value::null());
    EXPECT_NE(Value::null(), Value());
    EXPECT_EQ(Value::currency(1.25), Value::currencyFromScaled(12500));
}
