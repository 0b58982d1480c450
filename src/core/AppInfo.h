#pragma once

#include <QString>

// Folder and file paths, set once at start by proc_SetProgramPaths (from Main) and read everywhere.
// Folders that end in a separator keep it ("/"): DataFolder, ReportsFolder, ChecksFolder.
// The data lie under the data home: the program folder itself, or the user's own data folder when
// the program folder cannot be written (see proc_sDataHome).
extern QString ProgramFolder;        // the program's folder, no trailing separator
extern QString DataFolder;           // data home + "/Data/"
extern QString ReportsFolder;        // the same as DataFolder
extern QString ChecksFolder;         // data home + "/Checks/"
extern QString DatabasePath;         // DataFolder + "Dunmark.mdb": cases, customers, lists, queries
extern QString SettingsDatabasePath; // the same file, used for every read and write of Config
extern QString HelpFile;             // ProgramFolder + "/Dunmark.qch"

// Sets every path above from the program's folder and the data home (the program folder when empty).
void proc_SetProgramPaths(const QString& programFolder, const QString& dataHome = QString());

// Where the program's data belong: the program folder when this user may write there (a folder
// of its own, as the build lays it out) or when it holds a database already, else the user's data folder, ~/.local/share/Dunmark (or
// $XDG_DATA_HOME/Dunmark), as for a program installed read-only under /opt.
QString proc_sDataHome(const QString& programFolder);

// The application's name, title, version and help file by key (keys compared exactly; an unknown
// key gives an empty text). With versionWithRevision the version reads "1.0.35" instead of
// "1.0  Build 35".
QString proc_vGetInternalInfo(const QString& infoName, bool versionWithRevision = false);
