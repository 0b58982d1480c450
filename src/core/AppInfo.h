#pragma once

#include <QString>

// Folder and file paths, set once at start by proc_SetProgramPaths (from Main) and read everywhere.
// Folders that end in a separator keep it ("/"): DataFolder, ReportsFolder, ChecksFolder.
extern QString ProgramFolder;        // the program's folder, no trailing separator
extern QString DataFolder;           // ProgramFolder + "/Data/"
extern QString ReportsFolder;        // the same as DataFolder
extern QString ChecksFolder;         // ProgramFolder + "/Checks/"
extern QString DatabasePath;         // DataFolder + "Dunmark.mdb": cases, customers, lists, queries
extern QString SettingsDatabasePath; // the same file, used for every read and write of Config
extern QString HelpFile;             // ProgramFolder + "/Dunmark.qch"

// Sets every path above from the program's folder.
void proc_SetProgramPaths(const QString& programFolder);

// The application's name, title, version and help file by key (keys compared exactly; an unknown
// key gives an empty text). With versionWithRevision the version reads "1.0.35" instead of
// "1.0  Build 35".
QString proc_vGetInternalInfo(const QString& infoName, bool versionWithRevision = false);
