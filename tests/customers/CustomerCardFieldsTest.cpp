#include "customers/CustomerScreenSupport.h"

#include "customers/CustomerLogic.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>

namespace {

const QString Question = QStringLiteral(
    "The credit card number was likely not entered correctly. Would you like to try entering it again?");

class CustomerCardFieldsTest : public CustomerScreenTest {
protected:
    static QString scrambled(const QString& plain) { return cust_sConvertCardText(plain, true); }

    // Opens the screen on a customer with a stored card number and goes to the page "Personal".
    qint64 openWithCard(const QString& plain) {
        const qint64 key = addCustomer({{"LastName", "Ames"}, {"CCNumber", scrambled(plain)}});
        addCustomer({{"LastName", "Baker"}});
        open();
        tabs()->setCurrentIndex(1);
        return key;
    }
    // Replaces the number in the box as the user does, and leaves the box.
    void enterNumber(const QString& plain) {
        box("txtCCNumber")->setFocus(Qt::MouseFocusReason);
        box("txtCCNumber")->selectAll();
        QTest::keyClicks(box("txtCCNumber"), plain);
        leaveBox();
    }
    QString storedForm() const { return child<QLabel>("lblEncryptedCreditCard")->text(); }
};

TEST_F(CustomerCardFieldsTest, TheNumberIsStoredScrambledAndShownPlain) {
    const qint64 a = openWithCard("4111 1111 1111 1111");
    EXPECT_EQ(box("txtCCNumber")->text(), "4111 1111 1111 1111");
    EXPECT_EQ(storedForm(), scrambled("4111 1111 1111 1111"));

    enterNumber("5500005555555559");
    EXPECT_TRUE(platform->messages.empty()) << "a number that passes is not questioned";
    EXPECT_EQ(storedForm(), scrambled("5500005555555559"));
    EXPECT_EQ(box("txtCCNumber")->text(), "5500005555555559");
    navigate(2);
    EXPECT_EQ(stored(a, "CCNumber").toString(), scrambled("5500005555555559"));
    // The plain number is in no field of the row.
    for (const char* field : {"CCNumber", "NameOnCard", "Verification", "Misc", "Notes", "Identification"})
        EXPECT_FALSE(stored(a, field).toString().contains("5500005555555559")) << field;

    // An emptied box stores an empty number.
    navigate(0);
    box("txtCCNumber")->setFocus(Qt::MouseFocusReason);
    box("txtCCNumber")->selectAll();
    QTest::keyClick(box("txtCCNumber"), Qt::Key_Backspace);
    leaveBox();
    EXPECT_EQ(storedForm(), "");
    navigate(2);
    EXPECT_EQ(stored(a, "CCNumber").toString(), "");

    // A fifteen-digit number is never questioned, whatever its digits.
    navigate(0);
    enterNumber("123456789012345");
    EXPECT_TRUE(platform->messages.empty());
    EXPECT_EQ(storedForm(), scrambled("123456789012345"));
}

TEST_F(CustomerCardFieldsTest, ANumberThatFailsTheCheckIsQuestioned) {
    const qint64 a = openWithCard("4111111111111111");

    // Yes: try again; the stored form keeps the number from before, and a save stores that.
    platform->answers = {Platform::Yes};
    enterNumber("4111111111111112");
    ASSERT_EQ(platform->messages.size(), 1u);
    EXPECT_EQ(platform->messages[0].text, Question);
    EXPECT_EQ(platform->messages[0].title, "Invalid Number");
    EXPECT_EQ(platform->messages[0].style, Platform::YesNo + Platform::Exclamation);
    EXPECT_EQ(storedForm(), scrambled("4111111111111111"));
    EXPECT_EQ(box("txtCCNumber")->text(), "4111111111111112") << "the box keeps what was typed";
    navigate(2);
    EXPECT_EQ(stored(a, "CCNumber").toString(), scrambled("4111111111111111"));

    // No: the number is kept as typed, scrambled and saved like any other.
    navigate(0);
    platform->answers = {Platform::No};
    enterNumber("4111111111111112");
    EXPECT_EQ(platform->messages.size(), 2u);
    EXPECT_EQ(storedForm(), scrambled("4111111111111112"));
    navigate(2);
    EXPECT_EQ(stored(a, "CCNumber").toString(), scrambled("4111111111111112"));

    // A last character that is not a digit fails the test: asked, never an error.
    navigate(0);
    platform->answers = {Platform::No};
    enterNumber("411111111111111X");
    ASSERT_EQ(platform->messages.size(), 3u);
    EXPECT_EQ(platform->messages[2].text, Question);
    EXPECT_TRUE(platform->errorReports.empty());
    EXPECT_EQ(storedForm(), scrambled("411111111111111X"));
}

TEST_F(CustomerCardFieldsTest, AMarkInTheNumberIsAnErrorAndTheBoxShowsWhatStays) {
    const qint64 a = openWithCard("4111111111111111");
    platform->errorAnswers = {{3, false}};
    enterNumber("4111-1111");
    ASSERT_EQ(platform->errorReports.size(), 1u);
    EXPECT_EQ(platform->errorReports[0].location, "Procedures.bas ! proc_sCrypticPassword");
    EXPECT_EQ(storedForm(), scrambled("4111111111111111"));
    EXPECT_EQ(box("txtCCNumber")->text(), "4111111111111111")
        << "the box shows the number that will be stored";

    // Going on after the error does not store a part of the number either.
    platform->errorAnswers = {{5, false}};
    enterNumber("12.34");
    EXPECT_EQ(platform->errorReports.size(), 2u);
    EXPECT_EQ(box("txtCCNumber")->text(), "4111111111111111");
    typeInto("txtVerification", "x");
    navigate(2);
    EXPECT_EQ(stored(a, "CCNumber").toString(), scrambled("4111111111111111"));
}

TEST_F(CustomerCardFieldsTest, ExpiryBoxTypingAid) {
    openWithCard("");
    QLineEdit* expiry = box("txtCCExpDate");
    expiry->setText("01/26");
    expiry->setFocus(Qt::MouseFocusReason);
    EXPECT_EQ(expiry->selectedText(), "01/26") << "entering the box selects its text";

    QTest::keyClicks(expiry, "1227");
    EXPECT_EQ(expiry->text(), "12/27") << "the slash comes by itself after the month";

    expiry->clear();
    QTest::keyClicks(expiry, "5/");
    EXPECT_EQ(expiry->text(), "05/");
    EXPECT_EQ(expiry->cursorPosition(), 3);
    QTest::keyClicks(expiry, "29");
    EXPECT_EQ(expiry->text(), "05/29");

    expiry->clear();
    QTest::keyClicks(expiry, "7\\");
    EXPECT_EQ(expiry->text(), "07/") << "a backslash acts as a slash";

    // Backspace over the slash takes the second digit with it.
    expiry->clear();
    QTest::keyClicks(expiry, "12");
    ASSERT_EQ(expiry->text(), "12/");
    QTest::keyClick(expiry, Qt::Key_Backspace);
    EXPECT_EQ(expiry->text(), "1");
    EXPECT_EQ(expiry->cursorPosition(), 1);

    // Letters and marks do nothing; a slash after two digits does nothing either.
    expiry->clear();
    QTest::keyClicks(expiry, "ab-.");
    EXPECT_EQ(expiry->text(), "");
    QTest::keyClicks(expiry, "0x3");
    EXPECT_EQ(expiry->text(), "03/");
    QTest::keyClicks(expiry, "/");
    EXPECT_EQ(expiry->text(), "03/");

    // A key held down: its repeated releases add nothing.
    expiry->clear();
    QTest::keyClicks(expiry, "1");
    QKeyEvent press(QEvent::KeyPress, Qt::Key_1, Qt::NoModifier, "1");
    QApplication::sendEvent(expiry, &press);
    QKeyEvent repeated(QEvent::KeyRelease, Qt::Key_1, Qt::NoModifier, "1", true);
    QApplication::sendEvent(expiry, &repeated);
    EXPECT_EQ(expiry->text(), "11");
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_1, Qt::NoModifier, "1");
    QApplication::sendEvent(expiry, &release);
    EXPECT_EQ(expiry->text(), "11/");
}

} // namespace
