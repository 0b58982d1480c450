#include "cases/CaseScreenSupport.h"
#include "widgets/CaptionLabel.h"

#include <QMenu>
#include <QTimer>

namespace {

class CaseNavigationTest : public CaseScreenTest {
protected:
    // Three customers: Adams with two open cases, Baker with one closed case, Clark with none.
    void SetUp() override {
        CaseScreenTest::SetUp();
        adams = addCustomer({{"LastName", "Adams"}, {"FirstName", "Amy"}, {"ShowAs", "Adams, Amy"}, {"City", "Kingston"}});
        baker = addCustomer({{"LastName", "Baker"}, {"ShowAs", "Baker"}});
        clark = addCustomer({{"LastName", "Clark"}, {"ShowAs", "Clark"}});
        open1 = addCase(adams, {{"Stage", "First Notice"}, {"StageDate", Value::date(QDate(2026, 11, 30))}});
        closed = addCase(baker, {{"CaseOpen", false}});
        open2 = addCase(adams, {{"Stage", "Police"}, {"StageDate", Value::date(QDate(2026, 12, 1))}});
    }
    QComboBox* picker() { return child<QComboBox>("cboCustomerList"); }
    void navigate(int index) { screen->cmdCaseNavigate_Click(index); }
    int messagesTitled(const QString& title) const {
        return int(std::count_if(platform->messages.begin(), platform->messages.end(),
                                 [&](const ScriptedPlatform::Message& m) { return m.title == title; }));
    }
    qint64 adams = 0, baker = 0, clark = 0, open1 = 0, closed = 0, open2 = 0;
};

TEST_F(CaseNavigationTest, StartsOnTheFirstOpenCaseWithItsCustomer) {
    open();
    EXPECT_EQ(screen->caseKey(), open1);
    EXPECT_EQ(screen->customerKey(), adams);
    EXPECT_TRUE(child<QWidget>("panNoCases")->isHidden());
    EXPECT_EQ(picker()->currentText(), "Adams, Amy  |  First Notice  |  11/30/2026") << "the case's customer is picked";
    // A click on a line of the customer's cases shows that case. (The texts of the customer block and of
    // these lines are CaseListLogic's, shown whole as CaseWindowTest checks.)
    auto* list = child<QListWidget>("lstCustomerCases");
    ASSERT_EQ(list->count(), 2);
    list->setFocus();
    list->setCurrentRow(1);
    EXPECT_EQ(screen->caseKey(), open2);
}

TEST_F(CaseNavigationTest, MovesThroughTheSetAndStopsAtBothEnds) {
    open();
    // Each step: a button (0 First, 1 Previous, 2 Next, 3 Last), the case shown after it, and how many
    // "Move Previous" and "Move Next" messages there have been. The closed case is not in the open set.
    const struct { int button; qint64 shown; int previous, next; } steps[] = {
        {1, open1, 1, 0}, {2, open2, 1, 0}, {2, open2, 1, 1}, {0, open1, 1, 1}, {3, open2, 1, 1}};
    for (const auto& s : steps) {
        SCOPED_TRACE(testing::Message() << "step " << &s - steps);
        navigate(s.button);
        EXPECT_EQ(screen->caseKey(), s.shown);
        EXPECT_EQ(messagesTitled("Move Previous"), s.previous);
        EXPECT_EQ(messagesTitled("Move Next"), s.next);
    }
    EXPECT_FALSE(screen->bNavigatingCases) << "the flag is reset on every way out";
    // The customer buttons page through Address in key order.
    screen->cmdCustomerNavigate_Click(3);
    EXPECT_EQ(screen->customerKey(), clark);
    screen->cmdCustomerNavigate_Click(2);
    EXPECT_EQ(messagesTitled("Move Next"), 2);
    EXPECT_EQ(screen->customerKey(), clark);
    EXPECT_FALSE(screen->bNavigatingCustomers);
}

TEST_F(CaseNavigationTest, NavigationSavesAChangedCaseFirst) {
    open();
    type("txtBank", "Commerce Bank"); // a key on the screen marks the case changed
    navigate(2);
    EXPECT_EQ(caseField(open1, "Bank").toString(), "Commerce Bank");
    EXPECT_EQ(screen->caseKey(), open2);
    EXPECT_FALSE(screen->bCaseDirty);
    // Tab and Shift+Tab only move the focus.
    QTest::keyClick(child<QLineEdit>("txtBank"), Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    EXPECT_FALSE(screen->bCaseDirty);

    // An installment typed in, then New Case: the installment is saved before the screen clears.
    retype("txtInstallmentAmount_0", "40");
    QTest::mouseClick(child<QAbstractButton>("cmdNewCase"), Qt::LeftButton);
    EXPECT_EQ(screen->sCaseMode, "N");
    EXPECT_EQ(caseField(open2, "Installment1Amount").currencyScaled(), 400000);
}

TEST_F(CaseNavigationTest, ACaseLeavingTheViewWidensItWithARedFlash) {
    open();
    screen->optCaseStatus_MouseDown(1); // the user presses "Closed" on an open case
    EXPECT_EQ(text("cboView"), "All Cases");
    EXPECT_EQ(screen->sCaseSQL, screen->sAllCasesSQL);
    EXPECT_TRUE(screen->timFlashCaseFilter->isActive());
    for (int tick = 0; tick < 6; ++tick) { // red, normal, three times
        screen->timFlashCaseFilter_Timer();
        const QColor shown = child<QComboBox>("cboView")->palette().color(QPalette::Button);
        EXPECT_EQ(shown, tick % 2 ? screen->palette().color(QPalette::Base) : QColor(Qt::red)) << tick;
    }
    screen->timFlashCaseFilter_Timer();
    EXPECT_FALSE(screen->timFlashCaseFilter->isActive()) << "three blinks, then it stops";
    EXPECT_EQ(screen->iFlashCount, 0) << "ready for the next flash";
}

TEST_F(CaseNavigationTest, TheViewSelectorLoadsItsSetAndAnEmptySetShowsNoCase) {
    open();
    child<QComboBox>("cboView")->setCurrentIndex(1);
    screen->cboView_Click();
    EXPECT_EQ(screen->caseKey(), closed);
    // No closed case at all: the case controls are disabled and the panel says so.
    Database::open(DatabasePath).execute("UPDATE Cases SET CaseOpen = True");
    screen->cboView_Click();
    EXPECT_EQ(screen->caseKey(), 0);
    EXPECT_EQ(text("panCaseNavigate"), "") << "no case on display: the key panel is blank";
    EXPECT_FALSE(child<QTabWidget>("tabCases")->isEnabled());
    // The screen opened without an open case shows none either, with the first listed customer.
    Database::open(DatabasePath).execute("UPDATE Cases SET CaseOpen = False");
    open();
    EXPECT_EQ(screen->caseKey(), 0);
    EXPECT_FALSE(child<QTabWidget>("tabCases")->isEnabled());
    EXPECT_EQ(screen->customerKey(), screen->pickerKey(0));
}

TEST_F(CaseNavigationTest, ACustomerWithOnlyClosedCasesWidensTheOpenView) {
    open();
    screen->func_CaseGetCustomerRecord(baker);
    screen->func_DisplayAppropriateCase();
    EXPECT_EQ(text("cboView"), "All Cases");
    EXPECT_TRUE(screen->timFlashCaseFilter->isActive());
    EXPECT_EQ(screen->caseKey(), closed);
    ASSERT_EQ(child<QListWidget>("lstCustomerCases")->count(), 1);
    EXPECT_TRUE(child<QListWidget>("lstCustomerCases")->item(0)->text().endsWith("\t\tClosed"));
}

TEST_F(CaseNavigationTest, TheLookupListsTheSetAndShowsTheChoice) {
    open();
    screen->cmdCaseLookup_Click();
    auto* list = child<QListWidget>("lstSelectCase");
    EXPECT_FALSE(child<QWidget>("fraCaseLookup")->isHidden());
    EXPECT_FALSE(child<QWidget>("panCaseControls")->isEnabled());
    ASSERT_EQ(list->count(), 2);
    EXPECT_TRUE(list->item(0)->text().startsWith(QString::number(open1) + "\t"));
    // Sorted by stage: First Notice, then Police.
    child<QRadioButton>("optCaseSortBy_2")->setChecked(true);
    EXPECT_TRUE(list->item(1)->text().endsWith("   Police"));
    // Select without a line.
    list->setCurrentRow(-1);
    screen->cmdLookupResult_Click(0);
    EXPECT_EQ(messagesTitled("Select Case To Display"), 1);
    EXPECT_FALSE(child<QWidget>("fraCaseLookup")->isHidden()) << "the lookup stays open";
    // Select a line.
    list->setCurrentRow(1);
    screen->cmdLookupResult_Click(0);
    EXPECT_EQ(screen->caseKey(), open2);
    EXPECT_TRUE(child<QWidget>("fraCaseLookup")->isHidden());
    EXPECT_TRUE(child<QWidget>("panCaseControls")->isEnabled());
    EXPECT_TRUE(screen->bSkipPickerDropDown);
    // Cancel changes nothing.
    screen->cmdCaseLookup_Click();
    screen->cmdLookupResult_Click(1);
    EXPECT_TRUE(screen->caseKey() == open2 && child<QWidget>("fraCaseLookup")->isHidden());
}

TEST_F(CaseNavigationTest, ThePickerListsEveryCustomerOnceWithoutOpenCasesFirst) {
    const qint64 nameless = addCustomer({{"LastName", "Zed"}});
    addCase(adams, {{"CaseOpen", false}}); // Adams is in both queries now
    open();
    QStringList items;
    for (int i = 0; i < picker()->count(); ++i) items << picker()->itemText(i);
    // Adams is in both queries, twice in the open-case one, but listed once, with the open case; the
    // customers without an open case come first, in their query's order.
    EXPECT_EQ(items, QStringList({"   [no 'Show As' info]", "Baker", "Clark",
                                  "Adams, Amy  |  First Notice  |  11/30/2026"})) << "each customer once";
    EXPECT_TRUE(!picker()->itemIcon(3).isNull() && picker()->itemIcon(1).isNull()) << "open case: an icon";
    EXPECT_EQ(screen->pickerKey(0), nameless);

    // Choosing a customer shows it, and leaves the case on display.
    picker()->setCurrentIndex(1);
    screen->cboCustomerList_Click();
    EXPECT_EQ(screen->customerKey(), baker);
    EXPECT_EQ(screen->caseKey(), open1);

    // A customer that is not listed (added since the start) leaves the picker as it is.
    const qint64 late = addCustomer({{"LastName", "Late"}, {"ShowAs", "Late"}});
    screen->selectPickerCustomer(late);
    EXPECT_EQ(picker()->currentIndex(), 1);
    EXPECT_TRUE(platform->errorReports.empty());
}

TEST_F(CaseNavigationTest, DefaultShowAsNamesAreWrittenOnce) {
    // The names are composed as CaseListLogic pins; a name given (here, the one written by the first run)
    // is kept by the second, even after a name part changes.
    const qint64 lee = addCustomer({{"LastName", "Lee"}, {"FirstName", "Ann"}, {"Initial", "M"}, {"CompanyName", "Acme Tools"}});
    open();
    screen->mnuAssignDefaultShowAs_Click();
    EXPECT_EQ(platform->messages.back().text, "Done");
    EXPECT_EQ(customerField(lee, "ShowAs").toString(), "Lee, Ann M.   [Acme Tools]");
    Database::open(DatabasePath).execute("UPDATE Address SET FirstName = \"Bea\" WHERE LastName = \"Lee\"");
    screen->func_AssignDefaultShowAsNames();
    EXPECT_EQ(customerField(lee, "ShowAs").toString(), "Lee, Ann M.   [Acme Tools]");
}

TEST_F(CaseNavigationTest, TheCustomerSearchMatchesWholeValuesSafely) {
    const qint64 obrien = addCustomer({{"LastName", "O\"Brien"}, {"ShowAs", "O'Brien"}});
    open();
    auto* search = child<QLineEdit>("txtCustomerSearch");
    auto* by = child<QComboBox>("cboCustomerSearchBy");
    screen->cmdCustomerFind_Click(0);
    EXPECT_EQ(messagesTitled("Search Parameter Missing"), 1);

    // Letter case is ignored; a part of a name finds nothing; a quote in the value is found; a number field
    // takes a number; only a field of Address can be searched. Enter finds as the button does. Each row:
    // the customer shown after it and the "No Match" messages so far.
    const struct { const char* by; QString value; qint64 found; int noMatch; } finds[] = {
        {"LastName", "baker", baker, 0}, {"LastName", "Bak", baker, 1}, {"LastName", "O\"Brien", obrien, 1},
        {"CustomerID", QString::number(adams), adams, 1},
        {"LastName = LastName OR CustomerID", "1", adams, 2}};
    for (const auto& f : finds) {
        SCOPED_TRACE(testing::Message() << f.by << ": " << f.value.toStdString());
        by->setEditText(f.by);
        search->setText(f.value);
        QTest::keyClick(search, Qt::Key_Return);
        EXPECT_EQ(screen->customerKey(), f.found);
        EXPECT_EQ(messagesTitled("No Match"), f.noMatch);
    }
    EXPECT_TRUE(platform->errorReports.empty());
}

TEST_F(CaseNavigationTest, NewCaseSaveCancelDeleteAndUndo) {
    open();
    const qint64 before = countRows("Cases");
    QTest::mouseClick(child<QAbstractButton>("cmdNewCase"), Qt::LeftButton);
    EXPECT_EQ(textsDiffering({{"cmdNewCase", "&Save Case"}, {"cmdDeleteCase", "&Cancel Case"}}), "");
    for (const char* name : {"cmdCaseNavigate_0", "cmdCaseNavigate_2", "cmdCustomerNavigate_1", "cmdCustomerFind_0",
                             "panCustomer", "cboView", "cmdCaseLookup", "cmdRevert"})
        EXPECT_FALSE(child<QWidget>(name)->isEnabled()) << name;
    for (const char* menu : {"mnuFile", "mnuShow"})
        EXPECT_FALSE(child<QMenu>(menu)->menuAction()->isEnabled()) << menu;

    // Cancel answered No keeps the entry.
    platform->answers = {Platform::No};
    QTest::mouseClick(child<QAbstractButton>("cmdDeleteCase"), Qt::LeftButton);
    EXPECT_EQ(screen->sCaseMode, "N");
    // Yes goes back to the first open case and writes nothing.
    platform->answers = {Platform::Yes};
    QTest::mouseClick(child<QAbstractButton>("cmdDeleteCase"), Qt::LeftButton);
    EXPECT_EQ(screen->sCaseMode, "");
    EXPECT_EQ(screen->caseKey(), open1);
    EXPECT_EQ(countRows("Cases"), before);
    EXPECT_TRUE(child<QWidget>("cboView")->isEnabled());

    // Undo All brings the stored version back.
    child<QLineEdit>("txtBank")->setText("Changed");
    screen->cmdRevert_Click();
    EXPECT_EQ(text("txtBank"), "");

    // Delete: No keeps it, Yes deletes it and shows the first open case.
    platform->answers = {Platform::No, Platform::Yes};
    screen->cmdDeleteCase_Click();
    EXPECT_EQ(countRows("Cases"), before);
    screen->cmdDeleteCase_Click();
    EXPECT_EQ(countRows("Cases"), before - 1);
    EXPECT_TRUE(caseField(open1, "CaseID").isEmpty());
    EXPECT_EQ(screen->caseKey(), open2);
}

TEST_F(CaseNavigationTest, ANewCaseIsNeverWrittenOverAStoredOne) {
    open();
    QTest::mouseClick(child<QAbstractButton>("cmdNewCase"), Qt::LeftButton);
    type("txtBank", "New Bank");
    EXPECT_FALSE(screen->func_SaveCase(false)) << "no write onto the case shown before";
    // Closing the screen with the changed new case adds it as a new row.
    const qint64 before = countRows("Cases");
    EXPECT_TRUE(screen->close());
    EXPECT_EQ(countRows("Cases"), before + 1);
    EXPECT_EQ(caseField(open1, "Bank").toString(), "") << "neither the save nor the close wrote onto it";
}

TEST_F(CaseNavigationTest, AFailedSaveIsNotASuccess) {
    open();
    QTest::mouseClick(child<QAbstractButton>("cmdNewCase"), Qt::LeftButton);
    // A stage date that is no date makes the colouring and then the save fail; the user stops each.
    platform->errorReportHandler = [](const Platform::ErrorReportInfo&) { return Platform::ErrorReportAnswer{3, false}; };
    screen->findChild<CaptionLabel*>("lblStageDate")->setCaption("not a date");
    ASSERT_EQ(platform->errorReports.size(), 1u);
    EXPECT_EQ(platform->errorReports[0].location, "frmCaseDetails ! lblStageDate_Change");
    const qint64 before = countRows("Cases");
    QTest::mouseClick(child<QAbstractButton>("cmdNewCase"), Qt::LeftButton);
    ASSERT_EQ(platform->errorReports.size(), 2u);
    EXPECT_EQ(platform->errorReports[1].location, "frmCaseDetails ! func_SaveCase");
    EXPECT_EQ(screen->sCaseMode, "N") << "still taking in the new case";
    EXPECT_EQ(text("cmdNewCase"), "&Save Case");
    EXPECT_EQ(countRows("Cases"), before);

    // A changed stored case that cannot be saved stays on display when the user navigates away.
    platform->answers = {Platform::Yes};
    screen->cmdDeleteCase_Click();
    screen->bCaseDirty = true;
    screen->findChild<CaptionLabel*>("lblStageDate")->setCaption("not a date");
    navigate(2);
    EXPECT_EQ(screen->caseKey(), open1);
    EXPECT_FALSE(screen->close()) << "and the screen does not close on it, still changed";
    QTest::mouseClick(child<QAbstractButton>("cmdNewCase"), Qt::LeftButton);
    EXPECT_EQ(screen->sCaseMode, "") << "nor does New Case clear it";
    EXPECT_EQ(screen->caseKey(), open1);
    EXPECT_EQ(platform->errorReports.back().location, "frmCaseDetails ! func_SaveCase");
}

TEST_F(CaseNavigationTest, ClosingWritesAChangedCase) {
    open();
    type("txtCheckNum", "815");
    EXPECT_TRUE(screen->close());
    EXPECT_EQ(caseField(open1, "CheckNumber").toString(), "815");
}

TEST_F(CaseNavigationTest, TheMailEntryOpensAMailToTheMaker) {
    open();
    screen->findChild<QAction*>("mnuWebSite_5")->trigger();
    EXPECT_TRUE(platform->openedTargets.size() == 1 && platform->openedTargets[0].startsWith("mailto:"));
}

} // namespace
