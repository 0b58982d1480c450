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
    const struct {
        int number;
        const char* title;
        int action;
    } rows[] = {
        {3000, "Can't open database", 3},
        {3024, "Invalid database name - database not found", 3},
        {3044, "Invalid path - database not found", 3},
        {3051, "Database in use or marked as read-only", 3},
        {3061, "Invalid database query", 3},
        {3078, "Database table not found", 3},
        {3260, "Database locked by another user", 3},
        {3261, "Database locked by another user", 3},
        {3021, nullptr, 5},
        {32755, nullptr, 3},
    };
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
    EXPECT_TRUE(platform->errorReports.empty());
}

TEST_F(ErrorHandlingTest, ChangedByAnotherUserUsesItsOwnText) {
    err_HandleError("frmCaseDetails ! func_SaveCase", AppError(3197, "Data has changed"));
    ASSERT_EQ(platform->messages.size(), 1u);
    EXPECT_EQ(platform->messages[0].title, "Changes Will Not be Saved");
    EXPECT_TRUE(platform->messages[0].text.startsWith("Someone else has made changes and updated data during"));
    EXPECT_TRUE(platform->messages[0].text.endsWith("try again. - 3197"));
    EXPECT_FALSE(platform->messages[0].text.contains("Data has changed"));
}

TEST_F(ErrorHandlingTest, PrinterAndDuplicateKeyErrorsShowTwoBoxesExplanationFirst) {
    err_HandleError("frmCaseDetails ! func_PrintReport", AppError(482, "Printer error"));
    ASSERT_EQ(messageTitles(), QStringList({"Printer Error", "Dunmark"})) << "the short message has no title";
    EXPECT_EQ(platform->messages[0].style, 16);
    EXPECT_TRUE(platform->messages[0].text.startsWith("There is a problem comunicating with the printer."));
    EXPECT_EQ(platform->messages[1].text, "Printer error - 482");
    EXPECT_EQ(platform->messages[1].style, 64);

    platform->messages.clear();
    err_HandleError("frmCustomers ! func_SaveCustomer", AppError(3022, "Duplicate value"));
    ASSERT_EQ(messageTitles(), QStringList({"Can't Save Duplicate Entry", "Dunmark"}));
    EXPECT_EQ(platform->messages[0].style, 64);
    EXPECT_EQ(platform->messages[0].text, "An entry (database record) with the same name already exists, therefore "
                                          "the current information can't be saved.");
    EXPECT_EQ(platform->messages[1].text, "Duplicate value - 3022");
    EXPECT_EQ(ErrorAction, 3);
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
    EXPECT_TRUE(box.text.contains(QString(CR) + "1.  Close any running copies of the program, except this one." + CR +
                                  "2.  Close all open windows"));
    EXPECT_TRUE(box.text.endsWith(QString(CR) + CR + "The above information has been copied to the clipboard. Open a "
                                                     "program such as Word or Notepad and select Paste."));
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

    platform->errorAnswers = {{3, false}};
    err_HandleError("frmCaseDetails ! func_Recalc", AppError(11, "Division by zero"));
    EXPECT_EQ(ErrorAction, 3);
    EXPECT_EQ(platform->pointer, -1);
    EXPECT_FALSE(platform->quitRequested);
}

TEST_F(ErrorHandlingTest, EndProgramRequestedEndsTheProgramAndIsCleared) {
    platform->errorAnswers = {{3, true}};
    err_HandleError("frmCaseDetails ! func_Recalc", AppError(11, "Division by zero"));
    EXPECT_TRUE(platform->quitRequested);
    EXPECT_FALSE(EndProgramRequested);
    EXPECT_EQ(platform->pointer, -1);
}

// A procedure written with the guard: counts how often each of its three steps ran.
struct GuardedProcedure {
    int first = 0, second = 0, third = 0;
    int failuresLeft = 1;
    bool run() {
        ErrorGuard g("Procedures.bas ! proc_Sample");
        if (!g.run([&] { ++first; })) return false;
        if (!g.run([&] {
                ++second;
                if (failuresLeft > 0) {
                    --failuresLeft;
                    throw AppError(9, "Subscript out of range");
                }
            }))
            return false;
        if (!g.run([&] { ++third; })) return false;
        return true;
    }
};

TEST_F(ErrorHandlingTest, GuardRetriesGoesOnOrLeavesAsTheUserChooses) {
    GuardedProcedure retried;
    platform->errorAnswers = {{4, false}};
    EXPECT_TRUE(retried.run());
    EXPECT_EQ(retried.second, 2) << "try again ran the failing step a second time";
    EXPECT_EQ(retried.third, 1);

    GuardedProcedure ignored;
    platform->errorAnswers = {{5, false}};
    EXPECT_TRUE(ignored.run());
    EXPECT_EQ(ignored.second, 1);
    EXPECT_EQ(ignored.third, 1) << "ignore went on with the next step";

    GuardedProcedure stopped;
    platform->errorAnswers = {{3, false}};
    EXPECT_FALSE(stopped.run());
    EXPECT_EQ(stopped.third, 0) << "stop left the procedure";
    EXPECT_EQ(platform->errorReports.size(), 3u);
    EXPECT_EQ(platform->errorReports[0].location, "Procedures.bas ! proc_Sample");
}

TEST_F(ErrorHandlingTest, GuardLetsTheProcedureHandleItsOwnErrorsFirst) {
    int tries = 0;
    ErrorGuard g("Database.bas ! data_sGetFieldName");
    g.setLocalHandler([](const AppError& e) -> std::optional<int> {
        if (e.number() == 3265) return ErrorActions::Leave;
        return std::nullopt;
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
