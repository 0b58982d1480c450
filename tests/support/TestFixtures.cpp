#include "support/TestFixtures.h"

#include "app/AppInfo.h"
#include "app/ErrorHandling.h"
#include "data/NewDatabase.h"
#include "util/Help.h"

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
    platform->reportFolder = folder->path();
    ErrorAction = ErrorActions::Leave;
    EndProgramRequested = false;
    OtherErrorInfo.clear();
    HelpTopic.clear();
}
