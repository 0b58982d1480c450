#include "support/TestFixtures.h"

#include "core/AppInfo.h"
#include "core/ErrorHandling.h"
#include "core/Help.h"
#include "data/NewDatabase.h"

#include <QDir>

TempProgramFolder::TempProgramFolder() {
    QDir root(m_dir.path());
    root.mkpath(QStringLiteral("Data"));
    root.mkpath(QStringLiteral("Checks"));
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
