#include "customers/CustomerScreenSupport.h"

#include <QAction>
#include <QAbstractItemView>
#include <functional>
#include <QToolButton>

namespace {

// The customer screen as the case screen opens it: from its menu entry or its button, positioned on
// the case screen's customer, and handing the customer on display back on Close.
class CustomerCaseScreenTest : public CustomerScreenTest {
protected:
    // What the user does on the customer screen the case screen shows next; the helpers work on it.
    void whenShown(std::function<void()> user) {
        platform->modalHandlers.push_back([this, user](QObject* modal) {
            shown = qobject_cast<frmCustomers*>(modal);
            ASSERT_NE(shown, nullptr);
            user();
            shown = nullptr;
        });
    }
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
    whenShown([&] {
        EXPECT_EQ(boxText("txtLName"), "Baker");
        navigatingDuringShow = cases.bNavigatingCustomers;
        navigate(2);
        typeInto("txtFName", "rus");
        click("cmdClose");
        EXPECT_FALSE(shown->isVisible()) << "Close closes the screen";
    });
    child<QAction>("mnuShowMenu_2")->trigger();
    EXPECT_EQ(platform->modalScreens, QStringList{"frmCustomers"});
    EXPECT_FALSE(navigatingDuringShow);
    EXPECT_EQ(stored(cole, "FirstName"), Value("Cyrus")) << "Close saves a changed customer";
    EXPECT_EQ(cases.customerKey(), cole) << "the case screen shows the customer handed back";
    EXPECT_EQ(cases.caseKey(), coleCase) << "and that customer's first case";
    EXPECT_EQ(child<QListWidget>("lstCustomerCases")->count(), 1);

    // From the button; the close box hands back the customer shown, and nothing typed is nothing saved.
    whenShown([&] {
        EXPECT_EQ(boxText("txtLName"), "Cole");
        navigate(1);
        shown->close();
    });
    QTest::mouseClick(child<QToolButton>("cmdCustomerData"), Qt::LeftButton);
    EXPECT_EQ(platform->modalScreens.size(), 2);
    EXPECT_EQ(cases.customerKey(), baker);
    EXPECT_EQ(cases.caseKey(), bakerFirst);
    EXPECT_EQ(stored(baker, "FirstName"), Value("Bo"));
}

TEST_F(CustomerCaseScreenTest, TheLastCustomerDeletedEmptiesTheCaseScreen) {
    const qint64 only = addCustomer({{"LastName", "Solo"}, {"City", "Digby"}});
    frmCaseDetails& cases = open();
    cases.func_CaseGetCustomerRecord(only);
    ASSERT_EQ(cases.customerKey(), only);
    whenShown([&] {
        platform->answers = {Platform::Yes};
        click("cmdDelete");
        EXPECT_EQ(boxText("txtLName"), "") << "the customer screen is in its empty state";
        click("cmdClose");
    });
    child<QAction>("mnuShowMenu_2")->trigger();
    EXPECT_EQ(countRows("Address"), 0);
    EXPECT_EQ(cases.customerKey(), 0);
    EXPECT_EQ(text("panCustomerNavigate"), "") << "no customer: the key panel is blank";
    EXPECT_FALSE(child<QWidget>("cmdNewCase")->isEnabled());
}

// What the customer screen saves shows in the case screen's picker at once: added, renamed and
// deleted customers, each by its display name (those without an open case first); the customer on
// display stays chosen.
TEST_F(CustomerCaseScreenTest, ThePickerFollowsTheCustomerScreen) {
    const qint64 ames = addCustomer({{"LastName", "Ames"}, {"FirstName", "Alma"}, {"ShowAs", "Ames, Alma"}});
    const qint64 baker = addCustomer({{"LastName", "Baker"}, {"ShowAs", "Bo's Bakery"}});
    const qint64 cole = addCustomer({{"LastName", "Cole"}, {"ShowAs", "Cole"}});
    addCase(ames);
    const qint64 coleCase = closedCase(cole);
    frmCaseDetails& cases = open();
    const auto items = [&] {
        QStringList texts;
        auto* picker = child<QComboBox>("cboCustomerList");
        for (int i = 0; i < picker->count(); ++i) texts << picker->itemText(i).section("  |  ", 0, 0);
        return texts;
    };
    const struct {
        const char* what;
        qint64 start; // the customer the screen opens on
        std::function<void()> user;
        QStringList picker;
    } steps[] = {
        {"a new customer gets the default name", ames,
         [&] {
             click("cmdNew");
             typeInto("txtLName", "Dunn");
             typeInto("txtFName", "Di");
             click("cmdNew");
             click("cmdClose");
         },
         {"Bo's Bakery", "Cole", "Dunn, Di", "Ames, Alma"}},
        {"a default name follows a rename, a name of its own stays", ames,
         [&] {
             typeInto("txtLName", "bury");
             navigate(2);
             EXPECT_EQ(boxText("txtLName"), "Baker");
             typeInto("txtLName", "s");
             navigate(1);
             click("cmdClose");
         },
         {"Bo's Bakery", "Cole", "Dunn, Di", "Amesbury, Alma"}},
        {"a deleted customer goes, with the case on display", cole,
         [&] {
             platform->answers = {Platform::Yes, Platform::Yes};
             click("cmdDelete");
             click("cmdClose");
         },
         {"Bo's Bakery", "Dunn, Di", "Amesbury, Alma"}},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.what);
        cases.func_CaseGetCustomerRecord(step.start);
        if (step.start == cole) cases.func_GetCaseRecord(coleCase, false);
        whenShown(step.user);
        child<QAction>("mnuShowMenu_2")->trigger();
        EXPECT_EQ(items(), step.picker);
        const int chosen = child<QComboBox>("cboCustomerList")->currentIndex();
        ASSERT_GE(chosen, 0);
        EXPECT_EQ(cases.pickerKey(chosen), cases.customerKey()) << "the customer on display is chosen";
        EXPECT_FALSE(child<QComboBox>("cboCustomerList")->view()->isVisible()) << "no list opened";
    }
    EXPECT_EQ(stored(baker, "LastName"), Value("Bakers"));
    EXPECT_NE(cases.caseKey(), coleCase) << "the deleted customer's case is no longer on display";
}

// A new case shows in its customer's case list and the picker's open-case details at once; the
// default names assigned from the menu show in the picker at once.
TEST_F(CustomerCaseScreenTest, ANewCaseAndDefaultNamesShowAtOnce) {
    const qint64 ames = addCustomer({{"LastName", "Ames"}, {"FirstName", "Alma"}});
    frmCaseDetails& cases = open();
    cases.func_CaseGetCustomerRecord(ames);
    auto* picker = child<QComboBox>("cboCustomerList");
    ASSERT_EQ(picker->count(), 1);
    EXPECT_EQ(picker->itemText(0), "   [no 'Show As' info]");

    platform->answers = {Platform::Ok};
    child<QAction>("mnuAssignDefaultShowAs")->trigger();
    EXPECT_EQ(picker->itemText(0), "Ames, Alma");

    QTest::mouseClick(child<QAbstractButton>("cmdNewCase"), Qt::LeftButton);
    userClick("chkNotice_1");
    QTest::mouseClick(child<QAbstractButton>("cmdNewCase"), Qt::LeftButton);
    EXPECT_EQ(child<QListWidget>("lstCustomerCases")->count(), 1);
    EXPECT_TRUE(picker->itemText(0).startsWith("Ames, Alma  |  First Notice")) << picker->itemText(0).toStdString();
    EXPECT_FALSE(picker->itemIcon(0).isNull()) << "marked as a customer with an open case";
}

} // namespace
