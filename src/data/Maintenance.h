#pragma once

#include <QDateTime>
#include <QString>

// Repair and compaction of the database file at start, keeping the file as it was before as the one
// backup generation.

// The files the compaction works with.
struct CompactionPaths {
    QString source;       // fullPath when given, else fileName in DataFolder
    QString backupFolder; // DataFolder + "Backup/"
    QString newFile;      // the source with its last three characters made "new" (Dunmark.new beside it)
    QString backupFile;   // fileName with its last three characters made "bak", in the backup folder
    QString backupPart;   // backupFile + ".part": the backup while it is being written
};

// The paths for a database file name (and, when not empty, the complete path of the file itself).
// Raises AppError 5 when they cannot work: a name of fewer than four characters or with a folder in it,
// no data folder, or paths that would fall on one another (a source that is itself named ".new").
CompactionPaths data_CompactionPaths(const QString& fileName, const QString& fullPath = QString());

// Compacts (and so repairs what the engine can repair) the database file and keeps the file as it was
// as the backup. Works only when no other program has the file: every running copy of the program holds
// a shared lock on it (Database::holdSharedLock), and when the file cannot be had exclusively, or the
// engine has an unfinished change pending on it, nothing is done and nothing is said. Every connection
// of this program to the file is closed first.
//
// Neither the database nor the backup can be lost: the compacted copy is written as Dunmark.new and
// checked; the backup is written in full beside the old one and then put in its place with one rename;
// then the compacted copy takes the database's place with one rename. At every moment the database file
// is there and whole (the old file or the compacted one), and the backup is the old one or the new one.
// When any step fails, the database and the previous backup stay as they were and the files this run
// made are removed. Nothing is ever reported: a damaged file shows when it is next used.
void data_RepairCompactDatabase(const QString& fileName, const QString& fullPath = QString());

// The number of steps of data_RepairCompactDatabase.
constexpr int CompactionStepCount = 9;

// Runs the first stepsToRun steps of data_RepairCompactDatabase and stops there as if the program had
// been killed: nothing of that run is cleaned up.
void data_RepairCompactDatabaseSteps(const QString& fileName, const QString& fullPath, int stepsToRun);

// What the start finds of the database file before anything uses it.
struct DatabaseHealth {
    enum State { Sound, Missing, Damaged };
    State state = Sound;
    QString problem;          // the engine's description of what is wrong (Missing, Damaged)
    bool backupSound = false; // Damaged: the backup generation is there and whole
    bool writable = true;     // the data folder (and the file, when there) can be written
};

// Checks the database file fileName in the data folder and its backup, reading only.
DatabaseHealth data_CheckDatabaseHealth(const QString& fileName);

// The name under which a damaged database is kept beside the restored one: "Dunmark damaged
// 2026-12-07 141230.mdb" for Dunmark.mdb.
QString data_DamagedFileName(const QString& fileName, const QDateTime& now);

// Puts the backup generation in the place of a damaged database. The damaged file is kept in the
// data folder under data_DamagedFileName (never deleted), with any unfinished change of the engine
// beside it, so that nothing of it is applied to the restored file. The backup is copied and checked
// first and takes the database's place with one rename: when any step fails, the database file is
// as it was. Returns the kept file's full path; raises AppError or DbError.
QString data_RestoreBackup(const QString& fileName, const QDateTime& now);
