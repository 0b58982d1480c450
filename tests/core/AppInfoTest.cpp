#include "core/AppInfo.h"

#include "AppVersion.h"

#include <gtest/gtest.h>

namespace {

TEST(AppInfo, PathsFollowTheProgramFolder) {
    proc_SetProgramPaths("/opt/dunmark/");
    EXPECT_EQ(ProgramFolder, "/opt/dunmark");
    EXPECT_EQ(DataFolder, "/opt/dunmark/Data/");
    EXPECT_EQ(ReportsFolder, DataFolder);
    EXPECT_EQ(ChecksFolder, "/opt/dunmark/Checks/");
    EXPECT_EQ(DatabasePath, "/opt/dunmark/Data/Dunmark.mdb");
    EXPECT_EQ(SettingsDatabasePath, DatabasePath);
    EXPECT_EQ(HelpFile, "/opt/dunmark/Dunmark.qch");
    EXPECT_EQ(proc_vGetInternalInfo("HelpFile"), HelpFile);

    // The data elsewhere; the help file stays with the program.
    proc_SetProgramPaths("/opt/dunmark", "/home/lee/.local/share/Dunmark/");
    EXPECT_EQ(ReportsFolder, "/home/lee/.local/share/Dunmark/Data/");
    EXPECT_EQ(ChecksFolder, "/home/lee/.local/share/Dunmark/Checks/");
    EXPECT_EQ(SettingsDatabasePath, "/home/lee/.local/share/Dunmark/Data/Dunmark.mdb");
    EXPECT_EQ(HelpFile, "/opt/dunmark/Dunmark.qch");
}

TEST(AppInfo, InternalInfoByKey) {
    const QString mm = QString("%1.%2").arg(DUNMARK_VERSION_MAJOR).arg(DUNMARK_VERSION_MINOR);
    const QString rev = QString::number(DUNMARK_VERSION_REVISION);
    EXPECT_EQ(proc_vGetInternalInfo("AppName"), "Dunmark");
    EXPECT_EQ(proc_vGetInternalInfo("AppTitle"), "Dunmark");
    EXPECT_EQ(proc_vGetInternalInfo("Version"), "Version: " + mm + "  Build " + rev);
    EXPECT_EQ(proc_vGetInternalInfo("Version", true), "Version: " + mm + "." + rev);
    EXPECT_EQ(proc_vGetInternalInfo("AppNameAndVersion"), "Dunmark   Version: " + mm + "  Build " + rev);
    EXPECT_EQ(proc_vGetInternalInfo("AppNameAndVersion", true), "Dunmark   Version: " + mm + "." + rev);
    EXPECT_EQ(proc_vGetInternalInfo("AppName", true), "Dunmark");
    EXPECT_TRUE(proc_vGetInternalInfo("Copyright").startsWith("Copyright"));
    EXPECT_TRUE(proc_vGetInternalInfo("version").isEmpty()) << "keys are compared with letter case";
    EXPECT_TRUE(proc_vGetInternalInfo("Nonsense").isEmpty());
}

} // namespace
