#include "support/TestFixtures.h"

#include "core/AppInfo.h"
#include "core/ErrorHandling.h"
#include "core/Help.h"
#include "data/NewDatabase.h"

TempProgramFolder::TempProgramFolder() {
    proc_SetProgramPaths(m_dir.path());
    data_MakeProgramFolder(m_dir.path());
}

void ProgramTest::SetUp() {
    platform = &installScriptedPlatform();
    folder = std::make_unique<TempProgramFolder>();
    // Report output goes to DUNMARK_TEST_REPORT_FOLDER when it is set (to look at the PDF files).
    platform->reportFolder = qEnvironmentVariable("DUNMARK_TEST_REPORT_FOLDER", folder->path());
    ErrorAction = ErrorActions::Leave;
    EndProgramRequested = false;
    OtherErrorInfo.clear();
    HelpTopic.clear();
}

::testing::AssertionResult ProgramTest::nothingSaid() const {
    if (!platform->messages.empty())
        return ::testing::AssertionFailure() << "message \"" << platform->messages[0].title.toStdString()
                                             << "\": " << platform->messages[0].text.toStdString();
    if (!platform->errorReports.empty())
        return ::testing::AssertionFailure() << "error report " << platform->errorReports[0].number << " at "
                                             << platform->errorReports[0].location.toStdString();
    return ::testing::AssertionSuccess();
}

QStringList ProgramTest::messageTitles() const {
    QStringList titles;
    for (const ScriptedPlatform::Message& m : platform->messages)
        titles << m.title;
    return titles;
}
