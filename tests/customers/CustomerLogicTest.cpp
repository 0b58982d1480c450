#include "customers/CustomerLogic.h"

#include "app/AppError.h"
#include "support/TestFixtures.h"

#include <QSet>
#include <gtest/gtest.h>

namespace {

const QString Letters = QStringLiteral("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789");

// The cipher character that stands for c in a plain alphabet.
QChar cipherFor(QChar c, int alphabet) {
    return cust_CipherAlphabet().at(cust_PlainAlphabets()[alphabet].indexOf(c));
}

TEST(CardScramblerTest, AlphabetsHoldWhatTheScramblerNeeds) {
    const auto& plain = cust_PlainAlphabets();
    for (int a = 0; a < 3; ++a) {
        SCOPED_TRACE(a);
        ASSERT_EQ(plain[a].size(), 62);
        for (QChar c : Letters)
            EXPECT_EQ(plain[a].count(c), 1) << QString(c).toStdString();
    }
    EXPECT_NE(plain[0], plain[1]);
    EXPECT_NE(plain[1], plain[2]);
    EXPECT_NE(plain[0], plain[2]);

    const QString& cipher = cust_CipherAlphabet();
    ASSERT_EQ(cipher.size(), 62);
    EXPECT_EQ(QSet<QChar>(cipher.begin(), cipher.end()).size(), 62) << "every cipher character once";
    int lower = 0, upper = 0, digits = 0, marks = 0;
    for (QChar c : cipher) {
        if (c >= 'a' && c <= 'z')
            ++lower;
        else if (c >= 'A' && c <= 'Z')
            ++upper;
        else if (c >= '0' && c <= '9')
            ++digits;
        else if (c.isPrint() && !c.isSpace() && c.unicode() < 128)
            ++marks;
    }
    EXPECT_EQ(lower, 20);
    EXPECT_EQ(upper, 6);
    EXPECT_EQ(digits, 10);
    EXPECT_EQ(marks, 26);
}

TEST(CardScramblerTest, UnscramblingGivesBackWhatWasScrambled) {
    const QStringList texts = {"4111111111111111",
                               "5500 0055 5555 5559",
                               "a",
                               "Zz9",
                               " leading and trailing ",
                               Letters,
                               Letters + Letters + Letters,
                               "  ",
                               ""};
    for (const QString& text : texts) {
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
    EXPECT_NE(cust_sConvertCardText("4111111111111111", true), "4111111111111111");
    EXPECT_NE(cust_sConvertCardText("4111111111111111", true),
              cust_sConvertCardText("4111111111111112", true))
        << "one digit changed changes the stored form";
}

TEST(CardScramblerTest, EachPositionHasTheAlphabetOfTheWalk) {
    // The same letter thirteen times: the scrambled text holds it back to front, each through the
    // alphabet of its position in the walk 0, 1, 2, 1, 0, 1 and then 1, 2, 1, 0, 1 repeated.
    const int walk[13] = {0, 1, 2, 1, 0, 1, 1, 2, 1, 0, 1, 1, 2};
    const QString plain(13, QLatin1Char('k'));
    const QString scrambled = cust_sConvertCardText(plain, true);
    for (int i = 0; i < 13; ++i)
        EXPECT_EQ(scrambled.at(12 - i), cipherFor('k', walk[i])) << "position " << i + 1;

    // One character uses alphabet 0 only; "abc" ends with the cipher character of a in alphabet 0.
    EXPECT_EQ(cust_sConvertCardText("Q", true), QString(cipherFor('Q', 0)));
    const QString abc = cust_sConvertCardText("abc", true);
    EXPECT_EQ(abc, QString(cipherFor('c', 2)) + cipherFor('b', 1) + cipherFor('a', 0));

    // A space moves the walk on as well: the letter after it meets alphabet 2.
    EXPECT_EQ(cust_sConvertCardText("a b", true), QString(cipherFor('b', 2)) + ' ' + cipherFor('a', 0));

    // Letter case counts.
    EXPECT_NE(cust_sConvertCardText("m", true), cust_sConvertCardText("M", true));
}

TEST(CardScramblerTest, CharactersOutsideTheAlphabetsAreErrors) {
    for (const QString& text :
         {QStringLiteral("4111-1111"), QStringLiteral("12.5"), QStringLiteral("caf\u00e9")}) {
        SCOPED_TRACE(text.toStdString());
        try {
            cust_sConvertCardText(text, true);
            ADD_FAILURE() << "no error";
        } catch (const AppError& e) {
            EXPECT_EQ(e.number(), 5);
        }
    }
    // Unscrambling knows only the cipher characters.
    EXPECT_THROW(cust_sConvertCardText(QStringLiteral("ab\u00e9"), false), AppError);
}

class CrypticPasswordTest : public ProgramTest {};

TEST_F(CrypticPasswordTest, ReportsAnErrorUnderItsOwnNameAndGivesNothing) {
    EXPECT_EQ(proc_sCrypticPassword("4111 1111", true), cust_sConvertCardText("4111 1111", true));
    EXPECT_TRUE(platform->errorReports.empty());

    platform->errorAnswers = {{5, false}}; // go on: a part of a number is still no number
    EXPECT_EQ(proc_sCrypticPassword("4111-1111", true), std::nullopt);
    ASSERT_EQ(platform->errorReports.size(), 1u);
    EXPECT_EQ(platform->errorReports[0].location, "Procedures.bas ! proc_sCrypticPassword");
    EXPECT_EQ(platform->errorReports[0].number, 5);

    platform->errorAnswers = {{3, false}};
    EXPECT_EQ(proc_sCrypticPassword("x&y", false), std::nullopt);
    EXPECT_EQ(platform->errorReports.size(), 2u);
}

TEST(CardNumberCheckTest, CheckDigitRule) {
    // Well-known numbers that pass, and the same with a wrong check digit.
    EXPECT_TRUE(util_bValidCardNumber("4111111111111111"));
    EXPECT_TRUE(util_bValidCardNumber("5500005555555559"));
    EXPECT_TRUE(util_bValidCardNumber("4012888888881881"));
    EXPECT_FALSE(util_bValidCardNumber("4111111111111112"));
    EXPECT_FALSE(util_bValidCardNumber("5500005555555558"));

    // Shorter numbers are not tested, whatever their digits.
    EXPECT_TRUE(util_bValidCardNumber(""));
    EXPECT_TRUE(util_bValidCardNumber("123456789012345"));
    EXPECT_TRUE(util_bValidCardNumber("999999999999999"));

    // A body whose sum is a multiple of 10 passes with the check digit 0 only.
    for (int check = 0; check <= 9; ++check)
        EXPECT_EQ(util_bValidCardNumber("411111111111116" + QString::number(check)), check == 0) << check;

    // Marks in the body are skipped but keep their place: the places of the digits move.
    EXPECT_TRUE(util_bValidCardNumber("4111-1111-1111-1114"));
    EXPECT_FALSE(util_bValidCardNumber("4111-1111-1111-1111"));
    EXPECT_FALSE(util_bValidCardNumber("4111 1111 1111 1111"));

    // A last character that is not a digit fails the test; it raises nothing.
    EXPECT_NO_THROW(EXPECT_FALSE(util_bValidCardNumber("411111111111111X")));
    EXPECT_FALSE(util_bValidCardNumber("4111111111111111 "));
}

TEST(ExpiryTypingTest, KeysBeforeTheyLand) {
    // Digits and Backspace pass; every other key is dropped.
    EXPECT_EQ(cust_ExpiryKeyPress("", '7').keyAscii, '7');
    EXPECT_EQ(cust_ExpiryKeyPress("12/", 8).keyAscii, 8);
    for (int key : {'a', 'Z', '-', '.', ' ', '/'}) {
        const ExpiryKeyPress press = cust_ExpiryKeyPress("12", key);
        EXPECT_EQ(press.keyAscii, 0) << key;
        EXPECT_FALSE(press.rewrite.has_value()) << key;
    }
    // A slash after one digit makes a two-digit month with the slash after it, caret behind it.
    const ExpiryKeyPress slash = cust_ExpiryKeyPress("5", '/');
    EXPECT_EQ(slash.keyAscii, 0);
    ASSERT_TRUE(slash.rewrite.has_value());
    EXPECT_EQ(slash.rewrite->text, "05/");
    EXPECT_EQ(slash.rewrite->caret, 3);
    // A backslash counts as a slash.
    const ExpiryKeyPress backslash = cust_ExpiryKeyPress("9", '\\');
    ASSERT_TRUE(backslash.rewrite.has_value());
    EXPECT_EQ(backslash.rewrite->text, "09/");
    EXPECT_EQ(backslash.keyAscii, 0);
    EXPECT_FALSE(cust_ExpiryKeyPress("", '/').rewrite.has_value());
    EXPECT_FALSE(cust_ExpiryKeyPress("05/", '\\').rewrite.has_value());
}

TEST(ExpiryTypingTest, KeysAfterTheyLanded) {
    const auto slash = cust_ExpiryKeyUp("12", '2');
    ASSERT_TRUE(slash.has_value());
    EXPECT_EQ(slash->text, "12/");
    EXPECT_EQ(slash->caret, 3);
    const auto back = cust_ExpiryKeyUp("12", 8);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->text, "1");
    EXPECT_EQ(back->caret, 1);
    for (const QString& text :
         {QString(), QStringLiteral("1"), QStringLiteral("12/"), QStringLiteral("12/27")}) {
        EXPECT_FALSE(cust_ExpiryKeyUp(text, '3').has_value()) << text.toStdString();
        EXPECT_FALSE(cust_ExpiryKeyUp(text, 8).has_value()) << text.toStdString();
    }
}

} // namespace
