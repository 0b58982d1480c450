#include "customers/CustomerScreenSupport.h"

#include <QAction>
#include <QListWidget>
#include <QToolButton>

namespace {

// The customer screen as the case screen opens it: from its menu entry or its button, positioned on
// the case screen's customer, and handing the customer on display back on Close.
class CustomerCaseScreenTest : public CustomerScreenTest {
protected:
    static frmCustomers* shownCustomers(QObject* modal) {
        auto* shown = qobject_cast<frmCustomers*>(modal);
        EXPECT_NE(shown, nullptr);
        return shown;
    }
    static void press(frmCustomers* shown, const char* name) {
        QTest::mouseClick(shown->findChild<QPushButton*>(name), Qt::LeftButton);
    }
    static QString lastName(frmCustomers* shown) { return shown->findChild<QLineEdit*>("txtLName")->text(); }
};

TEST_F(CustomerCaseScreenTest, CloseHandsTheCustomerOnDisplayBack) {
    const qint64 ames = addCustomer({{"LastName", "Ames"}, {"FirstName", "Alma"}});
    const qint64 baker = addCustomer({{"LastName", "Baker"}, {"FirstName", "Bo"}});
    const qint64 cole = addCustomer({{"LastName", "Cole"}, {"FirstName", "Cy"}});
    addCase(ames);
    const qint64 bakerFirst = addCase(baker);
    closedCase(baker);
    const qint64 coleCase = closedCase(cole);
    frmCaseDetails& cases = open();
    ASSERT_EQ(cases.customerKey(), ames) << "the case screen starts on the first open case";

    // From the menu, on Baker; the user goes on to Cole, changes him and closes.
    cases.func_CaseGetCustomerRecord(baker);
    bool navigatingDuringShow = true;
    platform->modalHandlers.push_back([&](QObject* modal) {
        frmCustomers* shown = shownCustomers(modal);
        ASSERT_NE(shown, nullptr);
        EXPECT_TRUE(shown->isVisible());
        EXPECT_EQ(lastName(shown), "Baker");
        navigatingDuringShow = cases.bNavigatingCustomers;
        QTest::mouseClick(shown->cmdCustomerNavigate[2], Qt::LeftButton);
        QLineEdit* first = shown->findChild<QLineEdit*>("txtFName");
        first->setFocus();
        QTest::keyClicks(first, "rus");
        press(shown, "cmdClose");
        EXPECT_FALSE(shown->isVisible()) << "Close closes the screen";
    });
    child<QAction>("mnuShowMenu_2")->trigger();
    EXPECT_EQ(platform->modalScreens, QStringList{"frmCustomers"});
    EXPECT_FALSE(navigatingDuringShow);
    EXPECT_TRUE(platform->errorReports.empty());
    EXPECT_EQ(stored(cole, "FirstName"), Value("Cyrus")) << "Close saves a changed customer";
    EXPECT_EQ(cases.customerKey(), cole) << "the case screen shows the customer handed back";
    EXPECT_EQ(cases.caseKey(), coleCase) << "and that customer's first case";
    EXPECT_FALSE(cases.bNavigatingCustomers);
    EXPECT_EQ(child<QListWidget>("lstCustomerCases")->count(), 1);

    // From the button; the close box hands back the customer shown, and nothing typed is nothing saved.
    platform->modalHandlers.push_back([&](QObject* modal) {
        frmCustomers* shown = shownCustomers(modal);
        ASSERT_NE(shown, nullptr);
        EXPECT_EQ(lastName(shown), "Cole");
        QTest::mouseClick(shown->cmdCustomerNavigate[1], Qt::LeftButton);
        shown->close();
    });
    QTest::mouseClick(child<QToolButton>("cmdCustomerData"), Qt::LeftButton);
    EXPECT_EQ(platform->modalScreens.size(), 2);
    EXPECT_EQ(cases.customerKey(), baker);
    EXPECT_EQ(cases.caseKey(), bakerFirst);
    EXPECT_EQ(stored(baker, "FirstName"), Value("Bo"));
}

TEST_F(CustomerCaseScreenTest, TheLastCustomerDeletedEmptiesTheCaseScreen) {
    const qint64 only = addCustomer({{"LastName", "Solo"}});
    frmCaseDetails& cases = open();
    cases.func_CaseGetCustomerRecord(only);
    ASSERT_EQ(cases.customerKey(), only);
    platform->modalHandlers.push_back([&](QObject* modal) {
        frmCustomers* shown = shownCustomers(modal);
        ASSERT_NE(shown, nullptr);
        platform->answers = {Platform::Yes};
        press(shown, "cmdDelete");
        press(shown, "cmdClose");
    });
    child<QAction>("mnuShowMenu_2")->trigger();
    EXPECT_EQ(countRows("Address"), 0);
    EXPECT_EQ(cases.customerKey(), 0);
    EXPECT_EQ(text("panCustomerNavigate"), "") << "no customer: the key panel is blank";
    EXPECT_FALSE(child<QWidget>("cmdNewCase")->isEnabled());
    EXPECT_TRUE(platform->errorReports.empty());
}

} // namespace
