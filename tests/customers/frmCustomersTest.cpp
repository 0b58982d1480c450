#include "customers/CustomerScreenSupport.h"

#include "customers/CustomerLogic.h"

#include <QAbstractItemView>
#include <QPlainTextEdit>

namespace {

const QColor Red(255, 0, 0), Black(0, 0, 0);

class frmCustomersTest : public CustomerScreenTest {
protected:
    // A customer with every field of the screen filled.
    static QMap<QString, Value> filled(const QString& last) {
        return {{"Title", "Mrs."}, {"FirstName", "Alma"}, {"LastName", last}, {"CompanyName", "Harbour Bakery"},
                {"City", "Brookfield"}, {"Fax", "902-555-0103"}, {"Notes", "First line\nSecond line"},
                {"NoMoreChecks", true}, {"CCName", "Visa"}, {"ExpDate", "12/27"}, {"Verification", "1970-05-01"},
                {"CCNumber", cust_sConvertCardText("4111111111111111", true)}};
    }
    QCheckBox* noAccept() const { return control<QCheckBox>("chkNoAccept"); }
    QComboBox* cards() const { return control<QComboBox>("cboCreditCards"); }
    QString note() const { return control<QPlainTextEdit>("txtNote")->toPlainText(); }
    void expectWaysOutEnabled(bool enabled) {
        for (QPushButton* b : customers->cmdCustomerNavigate)
            EXPECT_EQ(b->isEnabled(), enabled) << b->objectName().toStdString();
        EXPECT_EQ(button("cmdClose")->isEnabled(), enabled);
    }
};

TEST_F(frmCustomersTest, PagesThroughTheCustomersInKeyOrder) {
    const qint64 a = addCustomer({{"LastName", "Ames"}});
    const qint64 b = addCustomer({{"LastName", "Baker"}});
    const qint64 c = addCustomer({{"LastName", "Cole"}});
    openCustomers();
    EXPECT_EQ(boxText("txtLName"), "Ames") << "opening shows the first customer";
    EXPECT_EQ(keyOnDisplay(), QString::number(a));
    EXPECT_EQ(platform->pointer, -1) << "the busy pointer of the opening is gone";

    // end: the title of the "No more records." message, if any.
    const struct { int button; qint64 shown; const char* end; } steps[] = {
        {1, a, "Move Previous"}, {2, b, nullptr}, {3, c, nullptr},
        {2, c, "Move Next"},     {1, b, nullptr}, {0, a, nullptr}};
    for (const auto& step : steps) {
        const size_t before = platform->messages.size();
        navigate(step.button);
        EXPECT_EQ(keyOnDisplay(), QString::number(step.shown)) << step.button;
        ASSERT_EQ(platform->messages.size(), before + (step.end ? 1 : 0)) << step.button;
        if (step.end) {
            EXPECT_EQ(platform->messages.back().text, "No more records.");
            EXPECT_EQ(platform->messages.back().title, step.end);
            EXPECT_EQ(platform->messages.back().style, Platform::Information);
        }
    }
    EXPECT_EQ(boxText("txtLName"), "Ames");

    // A key that is no longer stored: the message, and the customer on display stays.
    customers->func_CustGetCustomerRecord(c + 50);
    EXPECT_EQ(platform->messages.back().text, "The customer record no longer exists.");
    EXPECT_EQ(boxText("txtLName"), "Ames");
    customers->func_CustGetCustomerRecord(b);
    EXPECT_EQ(boxText("txtLName"), "Baker");
}

TEST_F(frmCustomersTest, EmptyTableStateAndNewAndCancelFromIt) {
    const auto expectEmptyState = [&] {
        EXPECT_EQ(keyOnDisplay(), "0");
        EXPECT_FALSE(tabs()->isEnabled());
        EXPECT_FALSE(button("cmdDelete")->isEnabled() || button("cmdRevert")->isEnabled());
        EXPECT_EQ(caption("cmdNew") + caption("cmdDelete"), "&New&Delete");
    };
    openCustomers();
    expectEmptyState();
    EXPECT_TRUE(platform->messages.empty()) << "an empty table is nothing to say";

    click("cmdNew");
    EXPECT_TRUE(tabs()->isEnabled() && button("cmdRevert")->isEnabled());
    EXPECT_EQ(caption("cmdNew") + caption("cmdDelete"), "&Save&Cancel");
    EXPECT_EQ(QApplication::focusWidget(), box("txtTitle"));

    // Cancel, answered No: the new entry stays; Yes: back to the empty state.
    typeInto("txtLName", "Nobody");
    platform->answers = {Platform::No};
    click("cmdDelete");
    ASSERT_EQ(platform->messages.size(), 1u);
    EXPECT_EQ(platform->messages[0].text, "Are you sure you want to cancel this new record?");
    EXPECT_EQ(boxText("txtLName"), "Nobody");
    EXPECT_EQ(caption("cmdNew"), "&Save");
    platform->answers = {Platform::Yes};
    click("cmdDelete");
    expectEmptyState();
    EXPECT_EQ(boxText("txtLName"), "");
    EXPECT_EQ(countRows("Address"), 0);

    // New and Save: the first customer is added and shown.
    click("cmdNew");
    typeInto("txtFName", "Lee");
    typeInto("txtLName", "Park");
    click("cmdNew");
    ASSERT_EQ(countRows("Address"), 1);
    EXPECT_TRUE(tabs()->isEnabled());
    EXPECT_EQ(stored(keyOnDisplay().toLongLong(), "FirstName"), Value("Lee"));
}

TEST_F(frmCustomersTest, NullFieldsShowEmptyBoxesAfterAFilledCustomer) {
    addCustomer(filled("Ames"));
    const qint64 bare = addCustomer({{"LastName", "Bare"}}); // every other field Null
    openCustomers();
    EXPECT_EQ(note(), "First line\nSecond line");
    EXPECT_TRUE(noAccept()->isChecked());
    EXPECT_EQ(noAccept()->palette().color(QPalette::WindowText), Red);
    EXPECT_EQ(cards()->currentText(), "Visa") << "filling the card list keeps the name on display";
    EXPECT_EQ(boxText("txtCCExpDate"), "12/27");

    navigate(2);
    EXPECT_EQ(boxText("txtLName"), "Bare");
    for (QLineEdit* b : customers->findChildren<QLineEdit*>())
        EXPECT_TRUE(b == box("txtLName") || b->text().isEmpty()) << b->objectName().toStdString();
    EXPECT_EQ(note(), "");
    EXPECT_FALSE(noAccept()->isChecked());
    EXPECT_EQ(noAccept()->palette().color(QPalette::WindowText), Black);
    EXPECT_EQ(cards()->currentText(), "");
    EXPECT_EQ(control<QLabel>("lblEncryptedCreditCard")->text(), "");
    EXPECT_FALSE(customers->bCustomerDirty) << "showing a customer is no change";

    // A save after a key press writes the empty boxes as they stand and a Null flag as False.
    typeInto("txtMisc", "x");
    QTest::keyClick(box("txtMisc"), Qt::Key_Backspace);
    navigate(0);
    EXPECT_EQ(stored(bare, "CompanyName"), Value(""));
    EXPECT_EQ(stored(bare, "NoMoreChecks"), Value(false));
    EXPECT_EQ(stored(bare, "ShowAs"), Value("Bare")) << "a customer without a display name gets the default one";
}

TEST_F(frmCustomersTest, NavigationSavesWhatWasTypedWithoutAsking) {
    const qint64 a = addCustomer(filled("Ames"));
    const qint64 b = addCustomer({{"LastName", "Baker"}, {"City", "Halifax"}});
    openCustomers();
    typeInto("txtCity", " North");
    typeInto("txtFName", "e");
    EXPECT_TRUE(customers->bCustomerDirty);
    EXPECT_EQ(caption("cmdNew") + caption("cmdDelete"), "&New&Delete") << "a first-name key adds no customer";
    expectWaysOutEnabled(true);
    navigate(2);
    EXPECT_TRUE(platform->messages.empty()) << "nothing asked";
    EXPECT_FALSE(customers->bCustomerDirty) << "the navigation clears the flag";
    EXPECT_EQ(countRows("Address"), 2);
    EXPECT_EQ(stored(a, "City"), Value("Brookfield North"));
    EXPECT_EQ(stored(a, "FirstName"), Value("Almae")) << "a first name corrects the customer on display";
    // Every field is written from the screen; the scrambled number is kept as it was.
    EXPECT_EQ(stored(a, "Notes"), Value("First line\nSecond line"));
    EXPECT_EQ(stored(a, "NoMoreChecks"), Value(true));
    EXPECT_EQ(stored(a, "CCNumber"), Value(cust_sConvertCardText("4111111111111111", true)));

    // Text written by code is no change; nor are Tab and Shift+Tab.
    box("txtCity")->setText("Changed by code");
    navigate(0);
    EXPECT_EQ(stored(b, "City"), Value("Halifax"));
    box("txtFax")->setFocus();
    QTest::keyClick(box("txtFax"), Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    EXPECT_FALSE(customers->bCustomerDirty);

    // Any other key counts, even one that changes nothing.
    QTest::keyClick(box("txtFax"), Qt::Key_Left);
    EXPECT_TRUE(customers->bCustomerDirty);
    box("txtFax")->setText("555-0000");
    navigate(3);
    EXPECT_EQ(stored(a, "Fax"), Value("555-0000"));
}

TEST_F(frmCustomersTest, CheckBoxAndCardListMarkAChangeOnlyWhenTheUserMakesOne) {
    const qint64 a = addCustomer({{"LastName", "Ames"}, {"NoMoreChecks", false}, {"CCName", "Discover"}});
    addCustomer({{"LastName", "Baker"}});
    openCustomers();
    noAccept()->setChecked(true); // by code: nothing to save
    EXPECT_FALSE(customers->bCustomerDirty);
    noAccept()->setChecked(false);

    // A card name picked with the mouse alone is no change.
    tabs()->setCurrentIndex(1);
    const int visa = cards()->findText("Visa");
    ASSERT_GE(visa, 0) << "the list holds the card names of the list and of the customers";
    cards()->showPopup();
    QAbstractItemView* view = cards()->view();
    ASSERT_TRUE(view->isVisible());
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                      view->visualRect(view->model()->index(visa, 0)).center());
    EXPECT_EQ(cards()->currentText(), "Visa");
    EXPECT_FALSE(customers->bCustomerDirty);
    navigate(2);
    EXPECT_EQ(stored(a, "CCName"), Value("Discover"));
    navigate(0);

    // A click on the check box and a name typed into the list are changes, and are saved.
    tabs()->setCurrentIndex(0);
    QTest::mouseClick(noAccept(), Qt::LeftButton);
    EXPECT_TRUE(noAccept()->isChecked() && customers->bCustomerDirty);
    navigate(2);
    EXPECT_EQ(stored(a, "NoMoreChecks"), Value(true));
    navigate(0);
    tabs()->setCurrentIndex(1);
    cards()->setFocus();
    cards()->lineEdit()->selectAll();
    QTest::keyClicks(cards()->lineEdit(), "Amex");
    EXPECT_TRUE(customers->bCustomerDirty);
    navigate(2);
    EXPECT_EQ(stored(a, "CCName"), Value("Amex"));
}

TEST_F(frmCustomersTest, NewCustomerStateDisablesEveryWayOut) {
    const qint64 a = addCustomer(filled("Ames"));
    openCustomers();
    tabs()->setCurrentIndex(1);
    click("cmdNew");
    EXPECT_EQ(tabs()->currentIndex(), 0);
    for (QLineEdit* b : customers->findChildren<QLineEdit*>())
        EXPECT_EQ(b->text(), "") << b->objectName().toStdString();
    EXPECT_FALSE(noAccept()->isChecked());
    EXPECT_EQ(keyOnDisplay(), QString::number(a)) << "the key on display stays until the save";
    expectWaysOutEnabled(false);
    customers->close();
    EXPECT_TRUE(customers->isVisible()) << "the close box does not drop the entry either";

    typeInto("txtTitle", "Mr.");
    typeInto("txtLName", "Chen");
    tabs()->setCurrentIndex(1);
    typeInto("txtCCExpDate", "0928");
    click("cmdNew");
    ASSERT_EQ(countRows("Address"), 2);
    const qint64 added = keyOnDisplay().toLongLong();
    EXPECT_GT(added, a);
    EXPECT_EQ(stored(added, "LastName"), Value("Chen"));
    EXPECT_EQ(stored(added, "ExpDate"), Value("09/28"));
    EXPECT_EQ(stored(added, "CCNumber"), Value(""));
    EXPECT_EQ(stored(a, "FirstName"), Value("Alma")) << "the customer shown before is untouched";
    expectWaysOutEnabled(true);
    navigate(0);
    EXPECT_EQ(boxText("txtLName"), "Ames");
}

TEST_F(frmCustomersTest, UndoAllReadsTheStoredCustomerAgain) {
    const qint64 a = addCustomer(filled("Ames"));
    openCustomers();
    QTest::keyClick(box("txtCity"), Qt::Key_Escape);
    EXPECT_TRUE(customers->isVisible()) << "Escape does not close the screen";
    click("cmdHelp");
    ASSERT_EQ(platform->helpCalls.size(), 1u);
    EXPECT_EQ(platform->helpCalls[0].topic, "Add_a_new_customer.htm");
    typeInto("txtLName", "xyz");
    noAccept()->setChecked(false);
    click("cmdRevert");
    EXPECT_EQ(boxText("txtLName"), "Ames");
    EXPECT_TRUE(noAccept()->isChecked());
    EXPECT_TRUE(customers->bCustomerDirty) << "Undo All leaves the flag as it is";

    // In the new-record state it shows the customer from before and stays in that state.
    click("cmdNew");
    typeInto("txtLName", "Newcomer");
    click("cmdRevert");
    EXPECT_EQ(boxText("txtLName"), "Ames");
    EXPECT_EQ(keyOnDisplay(), QString::number(a));
    EXPECT_EQ(caption("cmdNew") + caption("cmdDelete"), "&Save&Cancel");
}

TEST_F(frmCustomersTest, StoredTextsLongerThanTheTypingLimitAreKeptWhole) {
    const QString longName = "Bartholomew-Fitzgerald-Ramsbottom Jr"; // 36 characters, the box takes 30
    const qint64 a = addCustomer({{"LastName", longName}, {"Phone", "555"}});
    addCustomer({{"LastName", "Short"}});
    openCustomers();
    EXPECT_EQ(boxText("txtLName"), longName);
    typeInto("txtTelephone1", "1");
    navigate(2);
    EXPECT_EQ(stored(a, "LastName"), Value(longName)) << "a save after a key press cuts nothing short";
    EXPECT_EQ(stored(a, "Phone"), Value("5551"));
    typeInto("txtLName", QString(40, 'z'));
    EXPECT_EQ(boxText("txtLName").size(), 30) << "the next customer's box has its typing limit again";
}

TEST_F(frmCustomersTest, ASaveThatFailsKeepsTheChangesOnScreen) {
    const qint64 a = addCustomer({{"LastName", "Ames"}});
    addCustomer({{"LastName", "Baker"}});
    openCustomers();
    execute("CREATE TRIGGER keepAddress BEFORE UPDATE ON Address BEGIN SELECT RAISE(ABORT, 'kept'); END");
    typeInto("txtCity", "Truro");
    platform->errorAnswers = {{3, false}};
    navigate(2);
    ASSERT_EQ(platform->errorReports.size(), 1u);
    EXPECT_EQ(platform->errorReports[0].location, "frmCustomers ! func_SaveCustomer");
    EXPECT_EQ(boxText("txtLName"), "Ames") << "the screen stays on the customer";
    EXPECT_EQ(boxText("txtCity"), "Truro");
    EXPECT_TRUE(customers->bCustomerDirty);

    execute("DROP TRIGGER keepAddress");
    navigate(2);
    EXPECT_EQ(stored(a, "City"), Value("Truro"));
    EXPECT_EQ(boxText("txtLName"), "Baker");
}

} // namespace
