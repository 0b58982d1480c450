#include "customers/CustomerScreenSupport.h"

#include "app/AppInfo.h"
#include "cases/frmCaseDetails.h"
#include "data/DatabaseProcs.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

namespace {

// The customer screen as the case screen opens it: from its menu entry or its button, positioned on
// the case screen's customer, and handing the customer on display back on Close.
class CustomerCaseScreenTest : public CustomerScreenTest {
protected:
    void SetUp() override {
        CustomerScreenTest::SetUp();
        // An agency on record, so that the case screen asks for nothing at its start.
        data_vChangeDBValue(SettingsDatabasePath, "Config", "CollectionCompanyName",
                            Value("Reliable Collections"), QString(), Value());
    }
    void TearDown() override {
        caseScreen.reset();
        CustomerScreenTest::TearDown();
    }
    frmCaseDetails& openCaseScreen() {
        caseScreen = std::make_unique<frmCaseDetails>();
        caseScreen->Form_Load();
        caseScreen->show();
        QApplication::setActiveWindow(caseScreen.get());
        return *caseScreen;
    }
    template <class T> T* caseChild(const char* name) const {
        T* found = caseScreen->findChild<T*>(name);
        if (!found) ADD_FAILURE() << "no control " << name;
        return found;
    }
    // What the customer screen shows while it is on display.
    static QString shown(QObject* customers, const char* box) {
        return customers->findChild<QLineEdit*>(box)->text();
    }

    std::unique_ptr<frmCaseDetails> caseScreen;
};

TEST_F(CustomerCaseScreenTest, CloseHandsTheCustomerOnDisplayBack) {
    const qint64 ames = addCustomer({{"LastName", "Ames"}, {"FirstName", "Alma"}});
    const qint64 baker = addCustomer({{"LastName", "Baker"}, {"FirstName", "Bo"}});
    const qint64 cole = addCustomer({{"LastName", "Cole"}, {"FirstName", "Cy"}});
    addCase(ames, true);
    const qint64 bakerFirst = addCase(baker, true);
    addCase(baker, false);
    const qint64 coleCase = addCase(cole, false);
    frmCaseDetails& cases = openCaseScreen();
    ASSERT_EQ(cases.customerKey(), ames) << "the case screen starts on the first open case";
    EXPECT_TRUE(caseChild<QToolButton>("cmdCustomerData")->isEnabled());
    EXPECT_TRUE(caseChild<QAction>("mnuShowMenu_2")->isEnabled());

    // The case screen goes to Baker; the customer screen opens on Baker, goes on to Cole, changes
    // him and closes.
    cases.func_CaseGetCustomerRecord(baker);
    bool navigatingDuringShow = true;
    platform->modalHandlers.push_back([&](QObject* screen) {
        auto* customers = qobject_cast<frmCustomers*>(screen);
        ASSERT_NE(customers, nullptr);
        EXPECT_TRUE(customers->isVisible());
        EXPECT_EQ(customers->windowTitle(), "Add / Edit Customers");
        EXPECT_EQ(shown(customers, "txtLName"), "Baker");
        navigatingDuringShow = cases.bNavigatingCustomers;
        QTest::mouseClick(customers->cmdCustomerNavigate[2], Qt::LeftButton);
        QLineEdit* first = customers->findChild<QLineEdit*>("txtFName");
        first->setFocus();
        QTest::keyClicks(first, "rus");
        QTest::mouseClick(customers->findChild<QPushButton*>("cmdClose"), Qt::LeftButton);
        EXPECT_FALSE(customers->isVisible()) << "Close closes the screen";
    });
    caseChild<QAction>("mnuShowMenu_2")->trigger();
    EXPECT_EQ(platform->modalScreens, QStringList{"frmCustomers"});
    EXPECT_FALSE(navigatingDuringShow);
    EXPECT_TRUE(platform->errorReports.empty());
    EXPECT_EQ(stored(cole, "FirstName").toString(), "Cyrus") << "Close saves a changed customer";
    EXPECT_EQ(cases.customerKey(), cole) << "the case screen shows the customer handed back";
    EXPECT_EQ(cases.caseKey(), coleCase) << "and that customer's first case";
    EXPECT_FALSE(cases.bNavigatingCustomers);
    EXPECT_EQ(caseChild<QListWidget>("lstCustomerCases")->count(), 1);

    // The button opens it as well; closed at once, it hands back the customer it shows.
    platform->modalHandlers.push_back([&](QObject* screen) {
        auto* customers = qobject_cast<frmCustomers*>(screen);
        EXPECT_EQ(shown(customers, "txtLName"), "Cole");
        QTest::mouseClick(customers->cmdCustomerNavigate[1], Qt::LeftButton);
        customers->close(); // the close box
    });
    QTest::mouseClick(caseChild<QToolButton>("cmdCustomerData"), Qt::LeftButton);
    EXPECT_EQ(platform->modalScreens.size(), 2);
    EXPECT_EQ(cases.customerKey(), baker);
    EXPECT_EQ(cases.caseKey(), bakerFirst);
    EXPECT_EQ(stored(baker, "FirstName").toString(), "Bo") << "nothing was typed: nothing is saved";
}

TEST_F(CustomerCaseScreenTest, TheLastCustomerDeletedEmptiesTheCaseScreen) {
    const qint64 only = addCustomer({{"LastName", "Solo"}});
    frmCaseDetails& cases = openCaseScreen();
    cases.func_CaseGetCustomerRecord(only);
    ASSERT_EQ(cases.customerKey(), only);
    platform->modalHandlers.push_back([&](QObject* screen) {
        auto* customers = qobject_cast<frmCustomers*>(screen);
        platform->answers = {Platform::Yes};
        QTest::mouseClick(customers->findChild<QPushButton*>("cmdDelete"), Qt::LeftButton);
        QTest::mouseClick(customers->findChild<QPushButton*>("cmdClose"), Qt::LeftButton);
    });
    caseChild<QAction>("mnuShowMenu_2")->trigger();
    EXPECT_EQ(rows("Address"), 0);
    EXPECT_EQ(cases.customerKey(), 0);
    EXPECT_EQ(caseChild<QLabel>("panCustomerNavigate")->text(), "0");
    EXPECT_FALSE(caseChild<QWidget>("cmdNewCase")->isEnabled());
    EXPECT_TRUE(platform->errorReports.empty());
}

} // namespace
