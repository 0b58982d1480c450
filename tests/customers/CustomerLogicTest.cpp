#include "customers/CustomerLogic.h"

#include "core/AppError.h"
#include "data/engine/EngineTestUtil.h"
#include "support/TestFixtures.h"

#include <gtest/gtest.h>

namespace {

const QString Letters = QStringLiteral("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789");

// The cipher character that stands for c in a plain alphabet.
QChar cipherFor(QChar c, int alphabet) {
    return cust_CipherAlphabet().at(cust_PlainAlphabets()[alphabet].indexOf(c));
}

TEST(CardScramblerTest, UnscramblingGivesBackWhatWasScrambled) {
    for (const QString& text : {QStringLiteral("4111111111111111"), QStringLiteral("5500 0055 5555 5559"),
                                QStringLiteral("Zz9"), QStringLiteral(" leading and trailing "), Letters,
                                Letters + Letters + Letters, QStringLiteral("  "), QString()}) {
        SCOPED_TRACE(text.toStdString());
        const QString scrambled = cust_sConvertCardText(text, true);
        EXPECT_EQ(scrambled.size(), text.size());
        EXPECT_EQ(cust_sConvertCardText(scrambled, false), text);
        // Spaces stay spaces, at the mirrored place; nothing else of the plain text shows.
        for (qsizetype i = 0; i < text.size(); ++i)
            EXPECT_EQ(scrambled.at(text.size() - 1 - i) == ' ', text.at(i) == ' ') << i;
        for (QChar c : scrambled)
            EXPECT_TRUE(c == ' ' || cust_CipherAlphabet().contains(c));
    }
    EXPECT_NE(cust_sConvertCardText("4111111111111111", true),
              cust_sConvertCardText("4111111111111112", true))
        << "one digit changed changes the stored form";
}

TEST(CardScramblerTest, EachPositionHasTheAlphabetOfTheWalk) {
    // The same letter thirteen times: the scrambled text holds it back to front, each through the
    // alphabet of its position in the walk 0, 1, 2, 1, 0, 1 and then 1, 2, 1, 0, 1 repeated.
    const int walk[13] = {0, 1, 2, 1, 0, 1, 1, 2, 1, 0, 1, 1, 2};
    const QString scrambled = cust_sConvertCardText(QString(13, QLatin1Char('k')), true);
    for (int i = 0; i < 13; ++i)
        EXPECT_EQ(scrambled.at(12 - i), cipherFor('k', walk[i])) << "position " << i + 1;
    // A space moves the walk on as well: the letter after it meets alphabet 2.
    EXPECT_EQ(cust_sConvertCardText("a b", true), QString(cipherFor('b', 2)) + ' ' + cipherFor('a', 0));
    EXPECT_NE(cust_sConvertCardText("m", true), cust_sConvertCardText("M", true)) << "letter case counts";
}

TEST(CardScramblerTest, CharactersOutsideTheAlphabetsAreErrors) {
    for (const QString& text :
         {QStringLiteral("4111-1111"), QStringLiteral("12.5"), QStringLiteral("caf\u00e9")}) {
        EXPECT_EQ(errorNumber([&] { cust_sConvertCardText(text, true); }), 5) << text.toStdString();
    }
    EXPECT_THROW(cust_sConvertCardText(QStringLiteral("ab\u00e9"), false), AppError)
        << "unscrambling knows only the cipher characters";
}

TEST(CardNumberCheckTest, CheckDigitRule) {
    // Numbers that pass and fail; shorter ones are not tested; marks are skipped but keep their place;
    // a last character that is not a digit fails.
    const std::pair<const char*, bool> numbers[] = {
        {"4111111111111111", true},     {"5500005555555559", true},     {"4012888888881881", true},
        {"4111111111111112", false},    {"5500005555555558", false},    {"", true},
        {"123456789012345", true},      {"999999999999999", true},      {"4111-1111-1111-1114", true},
        {"4111-1111-1111-1111", false}, {"4111 1111 1111 1111", false}, {"411111111111111X", false},
        {"4111111111111111 ", false}};
    for (const auto& [number, valid] : numbers)
        EXPECT_EQ(util_bValidCardNumber(number), valid) << number;
    // A body whose sum is a multiple of 10 passes with the check digit 0 only.
    for (int check = 0; check <= 9; ++check)
        EXPECT_EQ(util_bValidCardNumber("411111111111116" + QString::number(check)), check == 0) << check;
}

} // namespace
