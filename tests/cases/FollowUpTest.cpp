#include "cases/CaseScreenSupport.h"
#include "cases/frmFollowUp.h"
#include "reports/ReportArchiveLogic.h"

#include <QFile>

namespace {

class FollowUpTest : public CaseScreenTest {
protected:
    qint64 caseAt(const QString& stage, const QDateTime& stageDate, bool open = true) {
        return addCase(addCustomer({{"LastName", stage}, {"ShowAs", "Show " + stage}}),
                       {{"Stage", stage}, {"StageDate", Value::date(stageDate)}, {"CaseOpen", open},
                        {"BallanceOwed", Value::currency(12.5)}});
    }
};

TEST_F(FollowUpTest, TheAgeingRuleOfTheStageColoursDecidesTheList) {
    const QDateTime now = platform->clock;
    const QDateTime week = now.addDays(-7), fortnight = now.addDays(-14);
    const struct {
        const char* stage;
        QDateTime date;
        bool open, listed;
        StageColour colour;
        const char* step;
    } rows[] = {
        {"First Notice", week, true, false, {}, ""},                        // exactly 7 days: not yet
        {"Second Notice", week.addSecs(-1), true, true, StageColour::Yellow, "Final Notice due"},
        {"Final Notice", fortnight, true, true, StageColour::Yellow, "Send to collection?"}, // 14: yellow
        {"Phone Call", fortnight.addSecs(-1), true, true, StageColour::Red, "First Notice due"},
        {"Collection", now.addDays(-40), true, false, {}, ""},              // never the Collection stage
        {"Police", now.addDays(-40), false, false, {}, ""},                 // closed
        {"Attorney", now.addDays(-30), true, true, StageColour::Red, "Ask the attorney for news"},
    };
    for (const auto& r : rows) caseAt(r.stage, r.date, r.open);
    addCase(addCustomer({{"LastName", "Nobody"}})); // no stage yet

    const QList<FollowUpLine> lines = follow_ReadWorklist(DatabasePath, now);
    QStringList listed;
    for (const FollowUpLine& l : lines) listed << l.stage;
    EXPECT_EQ(listed, QStringList({"Attorney", "Phone Call", "Final Notice", "Second Notice"})) << "oldest first";
    for (const auto& r : rows) {
        if (!r.listed) continue;
        const auto it = std::find_if(lines.begin(), lines.end(), [&](const FollowUpLine& l) { return l.stage == r.stage; });
        ASSERT_NE(it, lines.end()) << r.stage;
        EXPECT_EQ(it->colour, r.colour) << r.stage;
        EXPECT_EQ(it->daysWaiting, r.date.date().daysTo(now.date())) << r.stage;
        EXPECT_EQ(it->nextStep, r.step) << r.stage;
    }
}

TEST_F(FollowUpTest, ADoubleClickedLineOpensItsCaseWithItsCustomer) {
    const qint64 other = caseAt("First Notice", platform->clock.addDays(-1));
    const qint64 due = caseAt("Final Notice", platform->clock.addDays(-20));
    open();
    screen->func_GetCaseRecord(other, false);
    screen->mnuFollowUpList_Click();
    ASSERT_EQ(platform->modelessScreens, QStringList({"frmFollowUp"}));
    auto* list = screen->findChild<frmFollowUp*>("frmFollowUp");
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->model().rowCount(), 1);
    EXPECT_EQ(list->model().index(0, FollowUpModel::Balance).data().toString(), "$12.50");

    list->openCaseOfRow(0);
    EXPECT_EQ(screen->caseKey(), due);
    EXPECT_EQ(screen->customerKey(), caseField(due, "CustomerID").toLongLong());
    EXPECT_TRUE(platform->errorReports.empty());

    // Opening it again brings the same window up to date.
    caseAt("Second Notice", platform->clock.addDays(-9));
    screen->mnuFollowUpList_Click();
    EXPECT_EQ(screen->findChildren<frmFollowUp*>().size(), 1);
    EXPECT_EQ(list->model().rowCount(), 2);
}

TEST_F(FollowUpTest, PrintSendsTheListAsItStandsToThePreview) {
    ASSERT_TRUE(QFile::copy(DUNMARK_TEST_REPORT_ARCHIVE, report_sArchivePath()));
    caseAt("Second Notice", platform->clock.addDays(-9));
    caseAt("Attorney", platform->clock.addDays(-30));
    frmFollowUp list(nullptr);
    list.func_Refresh();
    list.findChild<QPushButton*>("cmdPrint")->click();
    ASSERT_EQ(platform->reportTexts.size(), 1);
    EXPECT_EQ(platform->reportTargets, std::vector<Platform::ReportTarget>{Platform::ReportTarget::Preview});
    const QString text = platform->reportTexts[0];
    for (const char* s : {"Follow-up List", "Show Attorney", "Show Second Notice", "Final Notice due", "30", "9",
                          "$25.00", "2 cases"})
        EXPECT_TRUE(text.contains(s)) << s << "\n" << text.toStdString();
    EXPECT_LT(text.indexOf("Show Attorney"), text.indexOf("Show Second Notice")) << "in the list's order";
}

} // namespace
