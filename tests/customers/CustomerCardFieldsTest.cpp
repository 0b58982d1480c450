#include "customers/CustomerScreenSupport.h"

#include "customers/CustomerLogic.h"

namespace {

class CustomerCardFieldsTest : public CustomerScreenTest {
protected:
    static QString scrambled(const QString& plain) { return cust_sConvertCardText(plain, true); }

    // Opens the screen on a customer with a stored card number, on the page "Personal".
    qint64 openWithCard(const QString& plain) {
        const qint64 key = addCustomer({{"LastName", "Ames"}, {"CCNumber", scrambled(plain)}});
        addCustomer({{"LastName", "Baker"}});
        openCustomers();
        tabs()->setCurrentIndex(1);
        return key;
    }
    // Replaces the number in the box as the user does, and leaves the box.
    void enterNumber(const QString& plain) {
        if (box("txtCCNumber")->isHidden()) QTest::mouseClick(button("cmdShowCCNumber"), Qt::LeftButton);
        box("txtCCNumber")->setFocus(Qt::MouseFocusReason);
        box("txtCCNumber")->selectAll();
        if (plain.isEmpty())
            QTest::keyClick(box("txtCCNumber"), Qt::Key_Backspace);
        else
            QTest::keyClicks(box("txtCCNumber"), plain);
        leaveBox();
    }
    QString storedForm() const { return control<QLabel>("lblEncryptedCreditCard")->text(); }
    // Saves by going to the next customer and back; gives the stored number.
    QString saved(qint64 customer) {
        navigate(2);
        navigate(0);
        return stored(customer, "CCNumber").toString();
    }
};

TEST_F(CustomerCardFieldsTest, TheNumberIsMaskedUntilShown) {
    const std::pair<QString, QString> masks[] = {
        {"4111 1111 1111 1234", "•••• •••• •••• 1234"}, {"5500-0055-5555-5559", "••••-••••-••••-5559"},
        {"1234", "1234"}, {"", ""}};
    for (const auto& [plain, masked] : masks) EXPECT_EQ(cust_sMaskCardNumber(plain), masked) << plain.toStdString();

    openWithCard("4111111111111111");
    EXPECT_TRUE(box("txtCCNumber")->isHidden());
    EXPECT_EQ(boxText("txtCCNumberMasked"), "••••••••••••1111");
    EXPECT_EQ(caption("cmdShowCCNumber"), "Show");
    QTest::mouseClick(button("cmdShowCCNumber"), Qt::LeftButton);
    EXPECT_TRUE(box("txtCCNumber")->isVisible() && box("txtCCNumberMasked")->isHidden());
    EXPECT_EQ(caption("cmdShowCCNumber"), "Hide");

    // The next customer, without a number, shows the open box; coming back masks the number again.
    navigate(2);
    EXPECT_TRUE(box("txtCCNumber")->isVisible());
    EXPECT_FALSE(button("cmdShowCCNumber")->isEnabled());
    navigate(0);
    EXPECT_TRUE(box("txtCCNumber")->isHidden());
    EXPECT_TRUE(platform->messages.empty());
}

TEST_F(CustomerCardFieldsTest, TheNumberIsStoredScrambledAndShownPlain) {
    const qint64 a = openWithCard("4111 1111 1111 1111");
    EXPECT_EQ(boxText("txtCCNumber"), "4111 1111 1111 1111");
    EXPECT_EQ(storedForm(), scrambled("4111 1111 1111 1111"));

    // Numbers that pass, a fifteen-digit one whatever its digits, and an emptied box: never questioned.
    for (const QString& number :
         {QStringLiteral("5500005555555559"), QStringLiteral("123456789012345"), QString()}) {
        enterNumber(number);
        EXPECT_EQ(storedForm(), scrambled(number));
        EXPECT_EQ(boxText("txtCCNumber"), number);
        EXPECT_EQ(saved(a), scrambled(number));
        for (const char* field : {"CCNumber", "NameOnCard", "Verification", "Misc", "Notes"})
            EXPECT_TRUE(number.isEmpty() || !stored(a, field).toString().contains(number)) << field;
    }
    EXPECT_TRUE(platform->messages.empty());
}

TEST_F(CustomerCardFieldsTest, ANumberThatFailsTheCheckIsQuestioned) {
    const qint64 a = openWithCard("4111111111111111");
    const QString question = "The credit card number was likely not entered correctly. Would you like to try "
                             "entering it again?";

    // Yes: try again, the stored form keeps the number from before and a save stores that; No: the
    // number is kept as typed, like any other; so is one whose last character is no digit.
    const struct { int answer; const char *typed, *kept; } rows[] = {
        {Platform::Yes, "4111111111111112", "4111111111111111"},
        {Platform::No, "4111111111111112", "4111111111111112"},
        {Platform::No, "411111111111111X", "411111111111111X"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.typed);
        platform->answers = {row.answer};
        const size_t before = platform->messages.size();
        enterNumber(row.typed);
        ASSERT_EQ(platform->messages.size(), before + 1);
        EXPECT_EQ(platform->messages.back().text, question);
        EXPECT_EQ(platform->messages.back().style, Platform::YesNo + Platform::Exclamation);
        EXPECT_EQ(boxText("txtCCNumber"), row.typed) << "the box keeps what was typed";
        EXPECT_EQ(saved(a), scrambled(row.kept));
    }
}

TEST_F(CustomerCardFieldsTest, AMarkInTheNumberIsAnErrorAndTheBoxShowsWhatStays) {
    const qint64 a = openWithCard("4111111111111111");
    // Leaving the procedure or going on after the error: no part of the number is stored.
    for (const auto& [answer, number] : {std::pair{3, "4111-1111"}, std::pair{5, "12.34"}}) {
        platform->errorAnswers = {{answer, false}};
        const size_t before = platform->errorReports.size();
        enterNumber(number);
        ASSERT_EQ(platform->errorReports.size(), before + 1);
        EXPECT_EQ(platform->errorReports.back().location, "Procedures.bas ! proc_sCrypticPassword");
        EXPECT_EQ(storedForm(), scrambled("4111111111111111"));
        EXPECT_EQ(boxText("txtCCNumber"), "4111111111111111") << "the box shows the number that is stored";
    }
    typeInto("txtVerification", "x");
    EXPECT_EQ(saved(a), scrambled("4111111111111111"));
}

TEST_F(CustomerCardFieldsTest, ExpiryBoxTypingAid) {
    openWithCard("");
    QLineEdit* expiry = box("txtCCExpDate");
    expiry->setText("01/26");
    expiry->setFocus(Qt::MouseFocusReason);
    EXPECT_EQ(expiry->selectedText(), "01/26") << "entering the box selects its text";

    // Keys typed into the empty box, and what it shows after them.
    const std::pair<const char*, const char*> typed[] = {
        {"1227", "12/27"}, // the slash comes by itself after the month
        {"5/29", "05/29"}, {"7\\", "07/"}, {"ab-.", ""}, {"0x3/", "03/"}, {"/", ""}, {"5/\\", "05/"},
        {"12a- /3", "12/3"}}; // after a full month only digits
    for (const auto& [keys, shown] : typed) {
        expiry->clear();
        QTest::keyClicks(expiry, keys);
        EXPECT_EQ(expiry->text(), shown) << keys;
    }
    // Backspace over the slash takes the second digit with it.
    expiry->clear();
    QTest::keyClicks(expiry, "12");
    QTest::keyClick(expiry, Qt::Key_Backspace);
    EXPECT_EQ(expiry->text(), "1");
    EXPECT_EQ(expiry->cursorPosition(), 1);

    // A key held down: its repeated releases add nothing.
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
