#include "core/AppError.h"
#include "core/Format.h"
#include "core/Money.h"
#include "support/TestFixtures.h"

#include <QLocale>
#include <gtest/gtest.h>

namespace {

class MoneyTest : public ::testing::Test {
protected:
    void SetUp() override { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
};

TEST_F(MoneyTest, TextReadsToTheExactAmountAndBack) {
    const struct { const char* text; qint64 units; const char* shown; } cases[] = {
        {"$1,234.50", 12345000, "$1,234.50"}, {"1234.5", 12345000, "$1,234.50"},
        {"-$5.00", -50000, "($5.00)"}, {"($5.00)", -50000, "($5.00)"}, {"", 0, "$0.00"}, {"   ", 0, "$0.00"},
        {"0.1", 1000, "$0.10"},
        // Beyond what a double holds to the cent: every digit is kept.
        {"999999999999.99", 9999999999999900, "$999,999,999,999.99"},
        {"$922,337,203,685,477.5807", 9223372036854775807, "$922,337,203,685,477.58"},
        // Four places are kept; the cent of a shown amount rounds half away from zero.
        {"0.005", 50, "$0.01"}, {"-0.005", -50, "($0.01)"}, {"0.0049", 49, "$0.00"}, {"-0.0001", -1, "$0.00"},
    };
    for (const auto& c : cases) {
        const Money amount = money_Read(QString::fromLatin1(c.text));
        EXPECT_EQ(amount.units(), c.units) << c.text;
        EXPECT_EQ(fmt_Currency(amount), c.shown) << c.text;
    }
}

TEST_F(MoneyTest, TextThatIsNoAmountOrDoesNotFitRaisesItsError) {
    EXPECT_ERROR(13, money_Read("abc"));
    EXPECT_ERROR(13, money_Read("1.2.3"));
    EXPECT_ERROR(0, money_Read("922337203685477")) << "within the currency type";
    EXPECT_ERROR(6, money_Read("922337203685478")) << "just beyond it";
    EXPECT_ERROR(6, money_Read("1e300"));
    EXPECT_FALSE(money_Parse("abc").has_value());
    EXPECT_FALSE(money_Parse("1e300").has_value());
}

TEST_F(MoneyTest, SumsBeyondTheCurrencyTypeRaiseOverflow) {
    const Money top = Money::fromUnits(std::numeric_limits<qint64>::max());
    EXPECT_THROW(top + Money::fromUnits(1), AppError);
    EXPECT_THROW(-top - Money::fromUnits(2), AppError);
    EXPECT_EQ((top - top).units(), 0);
}

TEST_F(MoneyTest, RoundOffAddsAFiftiethOfACentThenFloors) {
    const std::pair<const char*, const char*> cases[] = {
        {"1.234", "1.23"}, {"1.235", "1.23"}, {"1.2396", "1.24"}, {"2.999", "2.99"},
        {"2.9996", "3.00"}, {"0", "0"}, {"12345678.91", "12345678.91"}, {"-1.2351", "-1.24"}};
    for (const auto& [in, out] : cases) EXPECT_EQ(util_fRoundOff(money_Read(in)), money_Read(out)) << in;
}

TEST_F(MoneyTest, APercentageOfAnAmountIsCutToTenThousandths) {
    EXPECT_EQ(money_Read("100").percent(12.3449), money_Read("12.3449"));
    EXPECT_EQ(money_Read("0.03").percent(50), money_Read("0.015"));
    EXPECT_EQ(money_Read("0.0001").percent(50), Money()) << "half a unit is cut";
    EXPECT_EQ(Money::largestEntry().percent(999.99).units(), Money::largestEntry().units() / 100 * 99999 / 100);
}

TEST_F(MoneyTest, EntriesBeyondWhatABoxTakes) {
    EXPECT_FALSE(money_bEntryTooLarge("$999,999,999.99", EntryKind::Amount));
    EXPECT_TRUE(money_bEntryTooLarge("1000000000", EntryKind::Amount));
    EXPECT_TRUE(money_bEntryTooLarge("1e300", EntryKind::Amount)) << "beyond the currency type too";
    EXPECT_TRUE(money_bEntryTooLarge("-1000000000", EntryKind::Amount));
    EXPECT_FALSE(money_bEntryTooLarge("abc", EntryKind::Amount)) << "not a number is another error";
    EXPECT_FALSE(money_bEntryTooLarge("", EntryKind::Amount));
    EXPECT_FALSE(money_bEntryTooLarge("999.99", EntryKind::Percentage));
    EXPECT_TRUE(money_bEntryTooLarge("1,000.00", EntryKind::Percentage));
}

} // namespace
