#include "customers/CustomerScreenSupport.h"

#include "customers/CustomerLogic.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

namespace {

class frmCustomersTest : public CustomerScreenTest {
protected:
    // A customer with every field of the screen filled.
    static QMap<QString, Value> filled(const QString& last) {
        return {{"Title", "Mrs."},
                {"FirstName", "Alma"},
                {"Initial", "J"},
                {"LastName", last},
                {"CompanyName", "Harbour Bakery"},
                {"Address1", "12 Quay St"},
                {"Address2", "Unit 4"},
                {"City", "Brookfield"},
                {"StateOrProv", "NS"},
                {"PostalCode", "B0N 1C0"},
                {"Country", "Canada"},
                {"Phone", "902-555-0101"},
                {"Phone2", "902-555-0102"},
                {"Extension", "44"},
                {"Fax", "902-555-0103"},
                {"Code", "C-17"},
                {"Type", "Retail"},
                {"Misc", "Pays late"},
                {"Notes", "First line\nSecond line"},
                {"NoMoreChecks", true},
                {"Identification", "Driver's Licence - 1234567"},
                {"CCName", "Visa"},
                {"NameOnCard", "Alma J " + last},
                {"CCNumber", cust_sConvertCardText("4111111111111111", true)},
                {"ExpDate", "12/27"},
                {"Verification", "1970-05-01"}};
    }
    QString text(const char* name) const { return box(name)->text(); }
};

const char* const GeneralBoxes[] = {
    "txtTitle",      "txtFName",     "txtInitial", "txtLName",        "txtCompany", "txtAddress1",
    "txtAddress2",   "txtCity",      "txtProv",    "txtPostal",       "txtCountry", "txtTelephone1",
    "txtTelephone2", "txtExtension", "txtFax",     "txtCustomerCode", "txtBusType", "txtMisc"};

TEST_F(frmCustomersTest, TheScreenAsDesigned) {
    addCustomer(filled("Ames"));
    open();
    EXPECT_EQ(screen->windowTitle(), "Add / Edit Customers");
    ASSERT_EQ(tabs()->count(), 2);
    EXPECT_EQ(tabs()->tabText(0), "General");
    EXPECT_EQ(tabs()->tabText(1), "Personal");
    EXPECT_EQ(tabs()->currentIndex(), 0);

    // Labels name their boxes, with their access keys; typing limits as designed.
    const std::tuple<QLabel*, QString, QWidget*> labels[] = {
        {child<QLabel>("lblTitle"), "Titl&e / First name:", box("txtTitle")},
        {child<QLabel>("lblInitial"), "Initi&al / Last name:", box("txtInitial")},
        {child<QLabel>("lblCity"), "City / Pro&v-State:", box("txtCity")},
        {child<QLabel>("lblPostal"), "&Postal / Country:", box("txtPostal")},
        {child<QLabel>("lblTelephone2"), "P&hone 2 / Ext:", box("txtTelephone2")},
        {child<QLabel>("lblCustomerCode"), "C&ode / Type:", box("txtCustomerCode")},
        {child<QLabel>("lblPersonalInfo"), "&Identification:", box("txtPersonalInfo")},
        {child<QLabel>("lblCreditCards"), "&Credit card:", child<QComboBox>("cboCreditCards")},
        {child<QLabel>("lblNameOnCC"), "Name on ca&rd:", box("txtNameOnCC")},
        {child<QLabel>("lblCCNumber"), "N&umber:", box("txtCCNumber")},
        {child<QLabel>("lblCCExpDate"), "E&xp.:", box("txtCCExpDate")}};
    for (const auto& [label, caption, buddy] : labels) {
        EXPECT_EQ(label->text(), caption);
        EXPECT_EQ(label->buddy(), buddy) << caption.toStdString();
    }
    const std::pair<const char*, int> limits[] = {
        {"txtTitle", 4},       {"txtFName", 25},    {"txtInitial", 1},       {"txtLName", 30},
        {"txtCompany", 40},    {"txtAddress1", 40}, {"txtAddress2", 40},     {"txtCity", 30},
        {"txtProv", 2},        {"txtPostal", 10},   {"txtCountry", 30},      {"txtTelephone1", 20},
        {"txtTelephone2", 20}, {"txtExtension", 5}, {"txtFax", 20},          {"txtCustomerCode", 20},
        {"txtBusType", 20},    {"txtMisc", 40},     {"txtPersonalInfo", 50}, {"txtNameOnCC", 50},
        {"txtCCNumber", 25},   {"txtCCExpDate", 5}, {"txtVerification", 20}};
    for (const auto& [name, limit] : limits)
        EXPECT_EQ(box(name)->maxLength(), limit) << name;
    EXPECT_EQ(box("txtPersonalInfo")->toolTip(), "Indicate type & ID - ex; Driver's Licence - 1234567");
    EXPECT_EQ(box("txtVerification")->toolTip(), "To confirm CC#, such as date of birth");
    EXPECT_EQ(child<QLabel>("lblExpDateHint")->text(), "mm/yy");
    EXPECT_EQ(child<QCheckBox>("chkNoAccept")->text(), "Do not accept anymore checks !");
    EXPECT_TRUE(child<QLabel>("lblEncryptedCreditCard")->isHidden()) << "the stored form is not shown";

    const char* captions[4] = {"|<", "<", ">", ">|"};
    const char* tips[4] = {"First", "Previous", "Next", "Last"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(screen->cmdCustomerNavigate[i]->text(), captions[i]);
        EXPECT_EQ(screen->cmdCustomerNavigate[i]->toolTip(), tips[i]);
    }
    EXPECT_EQ(caption("cmdNew"), "&New");
    EXPECT_EQ(caption("cmdDelete"), "&Delete");
    EXPECT_EQ(caption("cmdRevert"), "&Undo All");
    EXPECT_EQ(caption("cmdClose"), "C&lose");
    EXPECT_EQ(caption("cmdHelp"), "Help");

    // Tab order: New first, the fields in their order, then the navigation buttons.
    const QStringList expected = {"cmdNew",
                                  "tabCustomer",
                                  "txtTitle",
                                  "txtFName",
                                  "txtInitial",
                                  "txtLName",
                                  "txtCompany",
                                  "txtAddress1",
                                  "txtAddress2",
                                  "txtCity",
                                  "txtProv",
                                  "txtPostal",
                                  "txtCountry",
                                  "txtTelephone1",
                                  "txtTelephone2",
                                  "txtExtension",
                                  "txtFax",
                                  "txtCustomerCode",
                                  "txtBusType",
                                  "txtMisc",
                                  "txtNote",
                                  "chkNoAccept",
                                  "txtPersonalInfo",
                                  "cboCreditCards",
                                  "txtNameOnCC",
                                  "txtCCNumber",
                                  "txtCCExpDate",
                                  "txtVerification",
                                  "cmdCustomerNavigate_0",
                                  "cmdCustomerNavigate_1",
                                  "cmdCustomerNavigate_2",
                                  "cmdCustomerNavigate_3"};
    QStringList order;
    QWidget* w = button("cmdNew");
    for (int i = 0; i < 300 && order.size() < expected.size(); ++i, w = w->nextInFocusChain())
        if (expected.contains(w->objectName()) && !order.contains(w->objectName())) order << w->objectName();
    EXPECT_EQ(order, expected);

    // Enter in a box clicks nothing (no default button); Escape does not close the screen.
    box("txtCity")->setFocus();
    QTest::keyClick(box("txtCity"), Qt::Key_Return);
    QTest::keyClick(box("txtCity"), Qt::Key_Escape);
    EXPECT_TRUE(screen->isVisible());
    EXPECT_EQ(caption("cmdNew"), "&New");
    EXPECT_EQ(rows("Address"), 1);

    click("cmdHelp");
    ASSERT_EQ(platform->helpCalls.size(), 1u);
    EXPECT_EQ(platform->helpCalls[0].command, Platform::HelpCommand::Topic);
    EXPECT_EQ(platform->helpCalls[0].topic, "Add_a_new_customer.htm");
}

TEST_F(frmCustomersTest, PagesThroughTheCustomersInKeyOrder) {
    const qint64 a = addCustomer({{"LastName", "Ames"}});
    const qint64 b = addCustomer({{"LastName", "Baker"}});
    const qint64 c = addCustomer({{"LastName", "Cole"}});
    open();
    EXPECT_EQ(text("txtLName"), "Ames") << "opening shows the first customer";
    EXPECT_EQ(keyOnDisplay(), QString::number(a));
    EXPECT_EQ(platform->pointer, -1) << "the busy pointer of the opening is gone";

    navigate(1);
    ASSERT_EQ(platform->messages.size(), 1u);
    EXPECT_EQ(platform->messages[0].text, "No more records.");
    EXPECT_EQ(platform->messages[0].title, "Move Previous");
    EXPECT_EQ(platform->messages[0].style, Platform::Information);
    EXPECT_EQ(text("txtLName"), "Ames");
    EXPECT_EQ(keyOnDisplay(), QString::number(a));

    navigate(2);
    EXPECT_EQ(text("txtLName"), "Baker");
    EXPECT_EQ(keyOnDisplay(), QString::number(b));
    navigate(3);
    EXPECT_EQ(text("txtLName"), "Cole");
    navigate(2);
    ASSERT_EQ(platform->messages.size(), 2u);
    EXPECT_EQ(platform->messages[1].title, "Move Next");
    EXPECT_EQ(platform->messages[1].text, "No more records.");
    EXPECT_EQ(keyOnDisplay(), QString::number(c));
    navigate(1);
    EXPECT_EQ(text("txtLName"), "Baker");
    navigate(0);
    EXPECT_EQ(text("txtLName"), "Ames");

    // A key that is no longer stored: the message, and the customer on display stays.
    screen->func_CustGetCustomerRecord(c + 50);
    ASSERT_EQ(platform->messages.size(), 3u);
    EXPECT_EQ(platform->messages[2].text, "The customer record no longer exists.");
    EXPECT_EQ(platform->messages[2].title, "Record Doesn't Exist");
    EXPECT_EQ(platform->messages[2].style, Platform::Exclamation);
    EXPECT_EQ(text("txtLName"), "Ames");
    screen->func_CustGetCustomerRecord(b);
    EXPECT_EQ(text("txtLName"), "Baker");
    EXPECT_TRUE(platform->errorReports.empty());
}

TEST_F(frmCustomersTest, EmptyTableStateAndNewAndCancelFromIt) {
    open();
    EXPECT_EQ(keyOnDisplay(), "0");
    EXPECT_FALSE(tabs()->isEnabled());
    EXPECT_FALSE(button("cmdDelete")->isEnabled());
    EXPECT_FALSE(button("cmdRevert")->isEnabled());
    EXPECT_TRUE(button("cmdNew")->isEnabled());
    EXPECT_TRUE(platform->messages.empty()) << "an empty table is nothing to say";

    click("cmdNew");
    EXPECT_TRUE(tabs()->isEnabled());
    EXPECT_TRUE(button("cmdDelete")->isEnabled());
    EXPECT_TRUE(button("cmdRevert")->isEnabled());
    EXPECT_EQ(caption("cmdNew"), "&Save");
    EXPECT_EQ(caption("cmdDelete"), "&Cancel");
    EXPECT_FALSE(button("cmdClose")->isEnabled());
    EXPECT_EQ(QApplication::focusWidget(), box("txtTitle"));

    // Cancel, answered No: the new entry stays.
    typeInto("txtLName", "Nobody");
    platform->answers = {Platform::No};
    click("cmdDelete");
    ASSERT_EQ(platform->messages.size(), 1u);
    EXPECT_EQ(platform->messages[0].text, "Are you sure you want to cancel this new record?");
    EXPECT_EQ(platform->messages[0].title, "Cancel Customer");
    EXPECT_EQ(platform->messages[0].style, Platform::YesNo + Platform::Question);
    EXPECT_EQ(text("txtLName"), "Nobody");
    EXPECT_EQ(caption("cmdNew"), "&Save");

    // Yes: back to the empty state.
    platform->answers = {Platform::Yes};
    click("cmdDelete");
    EXPECT_EQ(caption("cmdNew"), "&New");
    EXPECT_EQ(caption("cmdDelete"), "&Delete");
    EXPECT_TRUE(button("cmdClose")->isEnabled());
    EXPECT_FALSE(tabs()->isEnabled());
    EXPECT_FALSE(button("cmdDelete")->isEnabled());
    EXPECT_FALSE(button("cmdRevert")->isEnabled());
    EXPECT_EQ(text("txtLName"), "");
    EXPECT_EQ(keyOnDisplay(), "0");
    EXPECT_EQ(rows("Address"), 0);

    // New and Save: the first customer is added and shown.
    click("cmdNew");
    typeInto("txtFName", "Lee");
    typeInto("txtLName", "Park");
    click("cmdNew");
    ASSERT_EQ(rows("Address"), 1);
    EXPECT_EQ(caption("cmdNew"), "&New");
    EXPECT_TRUE(tabs()->isEnabled());
    const qint64 key = keyOnDisplay().toLongLong();
    EXPECT_GT(key, 0);
    EXPECT_EQ(stored(key, "LastName").toString(), "Park");
    EXPECT_EQ(stored(key, "FirstName").toString(), "Lee");
}

TEST_F(frmCustomersTest, NullFieldsShowEmptyBoxesAfterAFilledCustomer) {
    addCustomer(filled("Ames"));
    const qint64 bare = addCustomer({{"LastName", "Bare"}}); // every other field Null
    open();
    EXPECT_EQ(text("txtCompany"), "Harbour Bakery");
    EXPECT_EQ(child<QPlainTextEdit>("txtNote")->toPlainText(), "First line\nSecond line");
    EXPECT_TRUE(child<QCheckBox>("chkNoAccept")->isChecked());
    EXPECT_EQ(child<QCheckBox>("chkNoAccept")->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    EXPECT_EQ(child<QComboBox>("cboCreditCards")->currentText(), "Visa")
        << "filling the card list keeps the name on display";
    EXPECT_GT(child<QComboBox>("cboCreditCards")->count(), 1);
    EXPECT_EQ(text("txtCCNumber"), "4111111111111111");
    EXPECT_EQ(text("txtCCExpDate"), "12/27");
    EXPECT_EQ(text("txtVerification"), "1970-05-01");

    navigate(2);
    EXPECT_EQ(text("txtLName"), "Bare");
    for (const char* name : GeneralBoxes)
        if (QString(name) != "txtLName") {
            EXPECT_EQ(text(name), "") << name;
        }
    EXPECT_EQ(child<QPlainTextEdit>("txtNote")->toPlainText(), "");
    EXPECT_FALSE(child<QCheckBox>("chkNoAccept")->isChecked());
    EXPECT_EQ(child<QCheckBox>("chkNoAccept")->palette().color(QPalette::WindowText), QColor(0, 0, 0));
    for (const char* name :
         {"txtPersonalInfo", "txtNameOnCC", "txtCCNumber", "txtCCExpDate", "txtVerification"})
        EXPECT_EQ(text(name), "") << name;
    EXPECT_EQ(child<QComboBox>("cboCreditCards")->currentText(), "");
    EXPECT_EQ(child<QLabel>("lblEncryptedCreditCard")->text(), "");
    EXPECT_FALSE(screen->bCustomerDirty) << "showing a customer is no change";

    // A save after a key press writes the empty boxes as they stand and a Null flag as False.
    typeInto("txtMisc", "x");
    QTest::keyClick(box("txtMisc"), Qt::Key_Backspace);
    navigate(0);
    EXPECT_EQ(stored(bare, "CompanyName").kind(), Value::Kind::Text);
    EXPECT_EQ(stored(bare, "CompanyName").toString(), "");
    EXPECT_EQ(stored(bare, "NoMoreChecks").kind(), Value::Kind::Boolean);
    EXPECT_FALSE(stored(bare, "NoMoreChecks").toBool());
    EXPECT_TRUE(stored(bare, "ShowAs").isNull()) << "the screen does not write the display name";
}

TEST_F(frmCustomersTest, NavigationSavesWhatWasTypedWithoutAsking) {
    const qint64 a = addCustomer(filled("Ames"));
    const qint64 b = addCustomer({{"LastName", "Baker"}, {"City", "Halifax"}});
    open();
    typeInto("txtCity", " North");
    EXPECT_TRUE(screen->bCustomerDirty);
    navigate(2);
    EXPECT_TRUE(platform->messages.empty());
    EXPECT_FALSE(screen->bCustomerDirty) << "the navigation clears the flag";
    EXPECT_EQ(stored(a, "City").toString(), "Brookfield North");
    // Every field is written from the screen; the scrambled number is kept as it was.
    EXPECT_EQ(stored(a, "Notes").toString(), "First line\nSecond line");
    EXPECT_TRUE(stored(a, "NoMoreChecks").toBool());
    EXPECT_EQ(stored(a, "CCNumber").toString(), cust_sConvertCardText("4111111111111111", true));
    EXPECT_EQ(stored(a, "CCName").toString(), "Visa");

    // Text written by code is no change: nothing is saved.
    box("txtCity")->setText("Changed by code");
    navigate(0);
    EXPECT_EQ(stored(b, "City").toString(), "Halifax");

    // Tab and Shift+Tab only move the focus.
    box("txtFax")->setFocus();
    QTest::keyClick(box("txtFax"), Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    EXPECT_FALSE(screen->bCustomerDirty);

    // Any other key counts, even one that changes nothing.
    QTest::keyClick(box("txtFax"), Qt::Key_Left);
    EXPECT_TRUE(screen->bCustomerDirty);
    box("txtFax")->setText("555-0000");
    navigate(3);
    EXPECT_EQ(stored(a, "Fax").toString(), "555-0000");
    EXPECT_EQ(text("txtLName"), "Baker");
}

TEST_F(frmCustomersTest, TheCheckBoxMarksAChangeOnlyUnderTheMouse) {
    const qint64 a = addCustomer({{"LastName", "Ames"}, {"NoMoreChecks", false}});
    addCustomer({{"LastName", "Baker"}});
    open();
    QCheckBox* box = noAccept();
    box->setChecked(true); // by code
    EXPECT_FALSE(screen->bCustomerDirty);
    EXPECT_EQ(box->palette().color(QPalette::WindowText), QColor(255, 0, 0))
        << "the colour follows also code";
    box->setChecked(false);
    EXPECT_EQ(box->palette().color(QPalette::WindowText), QColor(0, 0, 0));

    QTest::mouseClick(box, Qt::LeftButton);
    EXPECT_TRUE(box->isChecked());
    EXPECT_TRUE(screen->bCustomerDirty);
    EXPECT_EQ(box->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    navigate(2);
    EXPECT_TRUE(stored(a, "NoMoreChecks").toBool());
}

TEST_F(frmCustomersTest, ACardNamePickedWithTheMouseAloneIsNotSaved) {
    const qint64 a = addCustomer({{"LastName", "Ames"}, {"CCName", "Discover"}});
    addCustomer({{"LastName", "Baker"}});
    open();
    tabs()->setCurrentIndex(1);
    QComboBox* list = cards();
    ASSERT_EQ(list->currentText(), "Discover");
    const int visa = list->findText("Visa");
    ASSERT_GE(visa, 0) << "the list holds the card names of the list and of the customers";

    list->showPopup();
    QAbstractItemView* view = list->view();
    ASSERT_TRUE(view->isVisible());
    const QRect item = view->visualRect(view->model()->index(visa, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, item.center());
    EXPECT_EQ(list->currentText(), "Visa");
    EXPECT_FALSE(screen->bCustomerDirty);

    navigate(2);
    EXPECT_EQ(stored(a, "CCName").toString(), "Discover") << "a pick by mouse alone is no change";
    navigate(0);
    EXPECT_EQ(list->currentText(), "Discover");

    // Typed into the list, the name is a change and is saved.
    list->setFocus();
    list->lineEdit()->selectAll();
    QTest::keyClicks(list->lineEdit(), "Amex");
    EXPECT_TRUE(screen->bCustomerDirty);
    navigate(2);
    EXPECT_EQ(stored(a, "CCName").toString(), "Amex");
}

TEST_F(frmCustomersTest, TypingAFirstNameCorrectsTheCustomerOnDisplay) {
    const qint64 a = addCustomer(filled("Ames"));
    addCustomer({{"LastName", "Baker"}});
    open();
    typeInto("txtFName", "e");
    EXPECT_EQ(caption("cmdNew"), "&New") << "a key in the first name begins no new customer";
    EXPECT_EQ(caption("cmdDelete"), "&Delete");
    for (QPushButton* b : screen->cmdCustomerNavigate)
        EXPECT_TRUE(b->isEnabled());
    EXPECT_TRUE(button("cmdClose")->isEnabled());
    navigate(2);
    EXPECT_EQ(rows("Address"), 2);
    EXPECT_EQ(stored(a, "FirstName").toString(), "Almae");
}

TEST_F(frmCustomersTest, NewCustomerStateDisablesEveryWayOut) {
    const qint64 a = addCustomer(filled("Ames"));
    open();
    tabs()->setCurrentIndex(1);
    click("cmdNew");
    EXPECT_EQ(tabs()->currentIndex(), 0);
    for (const char* name : GeneralBoxes)
        EXPECT_EQ(text(name), "") << name;
    EXPECT_EQ(text("txtCCNumber"), "");
    EXPECT_EQ(child<QLabel>("lblEncryptedCreditCard")->text(), "");
    EXPECT_FALSE(noAccept()->isChecked());
    EXPECT_EQ(keyOnDisplay(), QString::number(a)) << "the key on display stays until the save";
    for (QPushButton* b : screen->cmdCustomerNavigate)
        EXPECT_FALSE(b->isEnabled());
    EXPECT_FALSE(button("cmdClose")->isEnabled());

    // The close box does not drop the entry either.
    screen->close();
    EXPECT_TRUE(screen->isVisible());

    typeInto("txtTitle", "Mr.");
    typeInto("txtFName", "Bo");
    typeInto("txtLName", "Chen");
    tabs()->setCurrentIndex(1);
    typeInto("txtCCExpDate", "0928");
    click("cmdNew");
    ASSERT_EQ(rows("Address"), 2);
    const qint64 added = keyOnDisplay().toLongLong();
    EXPECT_GT(added, a);
    EXPECT_EQ(stored(added, "LastName").toString(), "Chen");
    EXPECT_EQ(stored(added, "Title").toString(), "Mr.");
    EXPECT_EQ(stored(added, "ExpDate").toString(), "09/28");
    EXPECT_EQ(stored(added, "CCNumber").toString(), "");
    EXPECT_FALSE(stored(added, "NoMoreChecks").toBool());
    EXPECT_TRUE(stored(added, "ShowAs").isNull());
    EXPECT_EQ(stored(a, "LastName").toString(), "Ames") << "the customer shown before is untouched";
    EXPECT_EQ(stored(a, "FirstName").toString(), "Alma");
    EXPECT_EQ(caption("cmdNew"), "&New");
    for (QPushButton* b : screen->cmdCustomerNavigate)
        EXPECT_TRUE(b->isEnabled());
    EXPECT_TRUE(button("cmdClose")->isEnabled());

    navigate(0);
    EXPECT_EQ(text("txtLName"), "Ames");
    navigate(3);
    EXPECT_EQ(text("txtLName"), "Chen");
}

TEST_F(frmCustomersTest, UndoAllReadsTheStoredCustomerAgain) {
    const qint64 a = addCustomer(filled("Ames"));
    open();
    typeInto("txtLName", "xyz");
    noAccept()->setChecked(false);
    click("cmdRevert");
    EXPECT_EQ(text("txtLName"), "Ames");
    EXPECT_TRUE(noAccept()->isChecked());
    EXPECT_TRUE(screen->bCustomerDirty) << "Undo All leaves the flag as it is";

    // In the new-record state it shows the customer from before and stays in that state.
    click("cmdNew");
    typeInto("txtLName", "Newcomer");
    click("cmdRevert");
    EXPECT_EQ(text("txtLName"), "Ames");
    EXPECT_EQ(keyOnDisplay(), QString::number(a));
    EXPECT_EQ(caption("cmdNew"), "&Save");
    EXPECT_EQ(caption("cmdDelete"), "&Cancel");
}

TEST_F(frmCustomersTest, StoredTextsLongerThanTheTypingLimitAreKeptWhole) {
    const QString longName = "Bartholomew-Fitzgerald-Ramsbottom Jr"; // 36 characters, the box takes 30
    const qint64 a = addCustomer({{"LastName", longName}, {"Phone", "555"}});
    addCustomer({{"LastName", "Short"}});
    open();
    EXPECT_EQ(text("txtLName"), longName);
    typeInto("txtTelephone1", "1");
    navigate(2);
    EXPECT_EQ(stored(a, "LastName").toString(), longName) << "a save after a key press cuts nothing short";
    EXPECT_EQ(stored(a, "Phone").toString(), "5551");
    // The next customer's box has its typing limit again.
    EXPECT_EQ(box("txtLName")->maxLength(), 30);
    typeInto("txtLName", QString(40, 'z'));
    EXPECT_EQ(text("txtLName").size(), 30);
}

TEST_F(frmCustomersTest, ASaveThatFailsKeepsTheChangesOnScreen) {
    const qint64 a = addCustomer({{"LastName", "Ames"}});
    addCustomer({{"LastName", "Baker"}});
    open();
    execute("CREATE TRIGGER keepAddress BEFORE UPDATE ON Address BEGIN SELECT RAISE(ABORT, 'kept'); END");
    typeInto("txtCity", "Truro");
    platform->errorAnswers = {{3, false}};
    navigate(2);
    ASSERT_EQ(platform->errorReports.size(), 1u);
    EXPECT_EQ(platform->errorReports[0].location, "frmCustomers ! func_SaveCustomer");
    EXPECT_EQ(text("txtLName"), "Ames") << "the screen stays on the customer";
    EXPECT_EQ(text("txtCity"), "Truro");
    EXPECT_TRUE(screen->bCustomerDirty);

    // Once the file takes it again, the next navigation writes it.
    execute("DROP TRIGGER keepAddress");
    navigate(2);
    EXPECT_EQ(stored(a, "City").toString(), "Truro");
    EXPECT_EQ(text("txtLName"), "Baker");
}

} // namespace
