#include "core/ErrorHandling.h"
#include "core/Pointer.h"
#include "support/TestFixtures.h"

#include <Qt>

namespace {

const QChar CR(13);

class ErrorHandlingTest : public ProgramTest {};

TEST_F(ErrorHandlingTest, ShortMessageRowsShowTheirTitleAndLeave) {
    // A title: one box "description - number" and the action Leave with the normal pointer back. No title:
    // no box; No current record goes on with the busy pointer kept, a cancelled dialog leaves.
    const struct { int number; const char* title; int action; } rows[] = {
        {3000, "Can't open database", 3}, {3024, "Invalid database name - database not found", 3},
        {3044, "Invalid path - database not found", 3}, {3051, "Database in use or marked as read-only", 3},
        {3061, "Invalid database query", 3}, {3078, "Database table not found", 3},
        {3260, "Database locked by another user", 3}, {3261, "Database locked by another user", 3},
        {3021, nullptr, 5}, {32755, nullptr, 3}};
    for (const auto& row : rows) {
        platform->messages.clear();
        util_SetMousePointer(11);
        ErrorAction = 0;
        err_HandleError("Database.bas ! data_vCheckDBValue", AppError(row.number, "Something failed"));
        EXPECT_EQ(messageTitles(), row.title ? QStringList{row.title} : QStringList()) << row.number;
        if (row.title && platform->messages.size() == 1) {
            EXPECT_EQ(platform->messages[0].text, "Something failed - " + QString::number(row.number));
            EXPECT_EQ(platform->messages[0].style, 64);
        }
        EXPECT_EQ(ErrorAction, row.action) << row.number;
        EXPECT_EQ(platform->pointer, row.action == 5 ? int(Qt::WaitCursor) : -1) << row.number;
    }
}

TEST_F(ErrorHandlingTest, ChangedByAnotherUserUsesItsOwnText) {
    err_HandleError("frmCaseDetails ! func_SaveCase", AppError(3197, "Data has changed"));
    ASSERT_EQ(messageTitles(), QStringList{"Changes Will Not be Saved"});
    EXPECT_TRUE(platform->messages[0].text.startsWith("Someone else has made changes and updated data during"));
    EXPECT_TRUE(platform->messages[0].text.endsWith("try again. - 3197")) << "not the description";
}

TEST_F(ErrorHandlingTest, PrinterAndDuplicateKeyErrorsShowTwoBoxesExplanationFirst) {
    // The second, short message has no title.
    const struct { int number; const char *title, *explanation; int style; } rows[] = {
        {482, "Printer Error", "There is a problem comunicating", 16},
        {3022, "Can't Save Duplicate Entry", "An entry (database record) with the same name", 64}};
    for (const auto& row : rows) {
        platform->messages.clear();
        err_HandleError("frmCustomers ! func_SaveCustomer", AppError(row.number, "Failed"));
        ASSERT_EQ(messageTitles(), QStringList({row.title, "Dunmark"})) << row.number;
        EXPECT_TRUE(platform->messages[0].text.startsWith(row.explanation)) << row.number;
        EXPECT_EQ(platform->messages[0].style, row.style) << row.number;
        EXPECT_EQ(platform->messages[1].text, "Failed - " + QString::number(row.number)) << row.number;
        EXPECT_EQ(platform->messages[1].style, 64) << row.number;
        EXPECT_EQ(ErrorAction, 3) << row.number;
    }
}

TEST_F(ErrorHandlingTest, CorruptedDatabaseReportGoesToScreenAndClipboard) {
    err_HandleError("Database.bas ! data_lGetRecordCount", AppError(3343, "Unrecognized database format."));
    ASSERT_EQ(platform->messages.size(), 1u);
    const auto& box = platform->messages[0];
    EXPECT_EQ(box.title, "Corrupted Database");
    EXPECT_EQ(box.style, 16);
    EXPECT_TRUE(box.text.startsWith(QString("Location: Database.bas ! data_lGetRecordCount") + CR +
                                    "Unrecognized database format." + CR + CR +
                                    "The above database file has been corrupted"));
    EXPECT_TRUE(box.text.contains("\r\rThe above information has been copied to the clipboard."));
    EXPECT_EQ(platform->clipboard, "Corrupted Database" + QString(CR) + CR + box.text);
    EXPECT_EQ(ErrorAction, 3);
}

TEST_F(ErrorHandlingTest, OtherErrorsAskTheReportScreen) {
    OtherErrorInfo = "extra";
    util_SetMousePointer(11);
    platform->errorAnswers = {{4, false}};
    err_HandleError("frmCaseDetails ! func_Recalc", AppError(11, "Division by zero"));
    ASSERT_EQ(platform->errorReports.size(), 1u);
    EXPECT_EQ(platform->errorReports[0].number, 11);
    EXPECT_EQ(platform->errorReports[0].location, "frmCaseDetails ! func_Recalc");
    EXPECT_EQ(platform->errorReports[0].otherInfo, "extra");
    EXPECT_EQ(ErrorAction, 4);
    EXPECT_EQ(platform->pointer, Qt::WaitCursor) << "try again leaves the pointer as it was";
    EXPECT_TRUE(OtherErrorInfo.isEmpty());
    EXPECT_FALSE(platform->quitRequested);

    // Stop with the end of the program asked: it ends, and the request is cleared.
    platform->errorAnswers = {{3, true}};
    err_HandleError("frmCaseDetails ! func_Recalc", AppError(11, "Division by zero"));
    EXPECT_EQ(ErrorAction, 3);
    EXPECT_EQ(platform->pointer, -1);
    EXPECT_TRUE(platform->quitRequested);
    EXPECT_FALSE(EndProgramRequested);
}

// A procedure written with the guard: counts how often its second and third steps ran.
struct GuardedProcedure {
    int second = 0, third = 0;
    int failuresLeft = 1;
    bool run() {
        ErrorGuard g("Procedures.bas ! proc_Sample");
        const auto failing = [&] {
            ++second;
            if (failuresLeft-- > 0) throw AppError(9, "Subscript out of range");
        };
        return g.run([] {}) && g.run(failing) && g.run([&] { ++third; });
    }
};

TEST_F(ErrorHandlingTest, GuardRetriesGoesOnOrLeavesAsTheUserChooses) {
    // Try again runs the failing step a second time, ignore goes on with the next, stop leaves.
    const struct { int answer; bool result; int second, third; } rows[] = {
        {4, true, 2, 1}, {5, true, 1, 1}, {3, false, 1, 0}};
    for (const auto& row : rows) {
        GuardedProcedure procedure;
        platform->errorAnswers = {{row.answer, false}};
        EXPECT_EQ(procedure.run(), row.result) << row.answer;
        EXPECT_EQ(procedure.second, row.second) << row.answer;
        EXPECT_EQ(procedure.third, row.third) << row.answer;
    }
    EXPECT_EQ(platform->errorReports.size(), 3u);
    EXPECT_EQ(platform->errorReports[0].location, "Procedures.bas ! proc_Sample");
}

TEST_F(ErrorHandlingTest, GuardLetsTheProcedureHandleItsOwnErrorsFirst) {
    int tries = 0;
    ErrorGuard g("Database.bas ! data_sGetFieldName");
    g.setLocalHandler([](const AppError& e) -> std::optional<int> {
        return e.number() == 3265 ? std::optional<int>(ErrorActions::Leave) : std::nullopt;
    });
    EXPECT_FALSE(g.run([&] {
        ++tries;
        throw AppError(3265, "Item not found in this collection.");
    }));
    EXPECT_EQ(tries, 1);
    EXPECT_TRUE(nothingSaid());
}

TEST_F(ErrorHandlingTest, ErrorWhileTheReportScreenShowsLeavesSilently) {
    GuardedProcedure inner;
    inner.failuresLeft = 100;
    bool innerResult = true;
    platform->errorReportHandler = [&](const Platform::ErrorReportInfo&) {
        EXPECT_TRUE(err_bReportScreenShowing());
        innerResult = inner.run(); // raises while the screen is "on display"
        return Platform::ErrorReportAnswer{5, false};
    };
    GuardedProcedure outer;
    EXPECT_TRUE(outer.run());
    EXPECT_FALSE(innerResult);
    EXPECT_EQ(inner.second, 1);
    EXPECT_EQ(inner.third, 0);
    EXPECT_EQ(platform->errorReports.size(), 1u) << "the report screen never opens inside itself";
    EXPECT_EQ(outer.third, 1);
    EXPECT_FALSE(err_bReportScreenShowing());
}

TEST_F(ErrorHandlingTest, NonProgramExceptionsAreReportedToo) {
    platform->errorAnswers = {{3, false}};
    ErrorGuard g("Utility.bas ! util_Sample");
    EXPECT_FALSE(g.run([] { throw std::out_of_range("index"); }));
    ASSERT_EQ(platform->errorReports.size(), 1u);
    EXPECT_EQ(platform->errorReports[0].description, "index");
}

} // namespace
