#include "data/Maintenance.h"

#include "core/AppError.h"
#include "core/AppInfo.h"
#include "core/ErrorHandling.h"
#include "data/engine/Database.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <array>
#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <unistd.h>

namespace {

// The last three characters of a name made into ending.
QString withEnding(const QString& name, const char* ending) {
    return name.left(name.size() - 3) + QLatin1String(ending);
}

// An unfinished change of the engine on the file (its rollback journal or write-ahead log); a file in
// that state must not be moved, or the change would be applied to another file.
bool changePending(const QString& path) {
    return QFileInfo::exists(path + QStringLiteral("-journal")) ||
           QFileInfo::exists(path + QStringLiteral("-wal"));
}

// Puts a file's content, or a folder's entries, on the disk before the next step relies on them.
void syncToDisk(const QString& path, bool folder) {
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | (folder ? O_DIRECTORY : 0));
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

// rename(2): replaces an existing file of the new name in one step.
void replaceFile(const QString& from, const QString& to) {
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0)
        throw AppError(ErrNo::PathFileAccess, QStringLiteral("Path/File access error"));
}

// Writes a copy of a file under a new name and puts it on the disk.
void copyWhole(const QString& from, const QString& to) {
    QFile in(from);
    QFile out(to);
    if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        throw AppError(ErrNo::PathFileAccess, QStringLiteral("Path/File access error"));
    for (;;) {
        const QByteArray chunk = in.read(1 << 20);
        if (chunk.isEmpty()) break;
        if (out.write(chunk) != chunk.size())
            throw AppError(ErrNo::PathFileAccess, QStringLiteral("Path/File access error"));
    }
    if (in.error() != QFileDevice::NoError || !out.flush() || ::fsync(out.handle()) != 0)
        throw AppError(ErrNo::PathFileAccess, QStringLiteral("Path/File access error"));
}

void removeIfThere(const QString& path) {
    if (QFileInfo::exists(path) && !QFile::remove(path))
        throw AppError(ErrNo::PathFileAccess, QStringLiteral("Path/File access error"));
}

[[noreturn]] void throwInUse(const QString& path) {
    throw DbError(3045, QStringLiteral("Could not use '%1'; file already in use.").arg(path));
}

void repairCompact(const QString& fileName, const QString& fullPath, int stepsToRun) {
    ErrorGuard g(QStringLiteral("Database.bas ! data_RepairCompactDatabase"));
    // Whatever goes wrong ends the routine without a word.
    g.setLocalHandler([](const AppError&) -> std::optional<int> { return ErrorActions::Leave; });

    CompactionPaths paths;
    Database hold; // the source, held exclusively while the files are moved
    bool madeNew = false;
    bool madePart = false;

    const std::array<std::function<void()>, CompactionStepCount> steps = {
        [&] { paths = data_CompactionPaths(fileName, fullPath); },
        [&] {
            if (!QDir().mkpath(paths.backupFolder))
                throw AppError(ErrNo::PathNotFound, QStringLiteral("Path not found"));
        },
        [&] {
            // No connection of this program may stay on the file; opening it exclusively finishes (rolls
            // back) a change that a killed program left behind.
            Database::release(paths.source);
            Database test = Database::openExclusive(paths.source);
            test.close();
            if (changePending(paths.source)) throwInUse(paths.source);
        },
        [&] {
            removeIfThere(paths.newFile);
            removeIfThere(paths.backupPart);
        },
        [&] {
            madeNew = true;
            Database::compactDatabase(paths.source, paths.newFile);
            syncToDisk(paths.newFile, false);
        },
        [&] {
            hold = Database::openExclusive(paths.source);
            if (changePending(paths.source) || changePending(paths.newFile)) throwInUse(paths.source);
        },
        [&] {
            madePart = true;
            copyWhole(paths.source, paths.backupPart);
        },
        [&] {
            replaceFile(paths.backupPart, paths.backupFile);
            madePart = false;
            syncToDisk(paths.backupFolder, true);
        },
        [&] {
            replaceFile(paths.newFile, paths.source);
            madeNew = false;
            syncToDisk(QFileInfo(paths.source).absolutePath(), true);
            hold.close();
        },
    };

    for (int i = 0; i < CompactionStepCount; ++i) {
        if (i >= stepsToRun) return; // stopped here as a killed program would be
        if (!g.run(steps[i])) {
            hold.close();
            if (madeNew) QFile::remove(paths.newFile);
            if (madePart) QFile::remove(paths.backupPart);
            return;
        }
    }
}

} // namespace

CompactionPaths data_CompactionPaths(const QString& fileName, const QString& fullPath) {
    const auto invalid = [] {
        throw AppError(ErrNo::InvalidCall, QStringLiteral("Invalid procedure call or argument"));
    };
    if (fileName.size() < 4 || fileName.contains(QLatin1Char('/')) || DataFolder.isEmpty()) invalid();
    CompactionPaths p;
    p.source = QDir::cleanPath(fullPath.isEmpty() ? DataFolder + fileName : fullPath);
    p.backupFolder = DataFolder + QStringLiteral("Backup/");
    p.newFile = withEnding(p.source, "new");
    p.backupFile = p.backupFolder + withEnding(fileName, "bak");
    p.backupPart = p.backupFile + QStringLiteral(".part");
    const QStringList files = {p.source, p.newFile, QDir::cleanPath(p.backupFile),
                               QDir::cleanPath(p.backupPart)};
    for (int i = 0; i < files.size(); ++i)
        for (int j = i + 1; j < files.size(); ++j)
            if (QFileInfo(files[i]).absoluteFilePath() == QFileInfo(files[j]).absoluteFilePath()) invalid();
    return p;
}

void data_RepairCompactDatabase(const QString& fileName, const QString& fullPath) {
    repairCompact(fileName, fullPath, CompactionStepCount);
}

void data_RepairCompactDatabaseSteps(const QString& fileName, const QString& fullPath, int stepsToRun) {
    repairCompact(fileName, fullPath, stepsToRun);
}

DatabaseHealth data_CheckDatabaseHealth(const QString& fileName) {
    const CompactionPaths paths = data_CompactionPaths(fileName);
    DatabaseHealth health;
    const QFileInfo file(paths.source);
    const QFileInfo folder(file.absolutePath());
    health.writable = folder.isDir() && folder.isWritable() && (!file.exists() || file.isWritable());
    if (!file.exists()) {
        health.state = DatabaseHealth::Missing;
        health.problem = QStringLiteral("Could not find file '%1'.").arg(paths.source);
        return health;
    }
    try {
        Database::checkIntegrity(paths.source);
        return health;
    } catch (const DbError& e) {
        health.state = DatabaseHealth::Damaged;
        health.problem = e.description();
    }
    try {
        Database::checkIntegrity(paths.backupFile);
        health.backupSound = true;
    } catch (const DbError&) {
        health.backupSound = false;
    }
    return health;
}

QString data_DamagedFileName(const QString& fileName, const QDateTime& now) {
    const QFileInfo name(fileName);
    return name.completeBaseName() + QStringLiteral(" damaged ") +
           now.toString(QStringLiteral("yyyy-MM-dd HHmmss")) + QLatin1Char('.') + name.suffix();
}

QString data_RestoreBackup(const QString& fileName, const QDateTime& now) {
    const CompactionPaths paths = data_CompactionPaths(fileName);
    const QString kept = DataFolder + data_DamagedFileName(fileName, now);
    if (QFileInfo::exists(kept))
        throw AppError(ErrNo::PathFileAccess, QStringLiteral("Path/File access error"));
    Database::release(paths.source);

    // A checked copy of the backup waits beside the database.
    removeIfThere(paths.newFile);
    try {
        copyWhole(paths.backupFile, paths.newFile);
        Database::checkIntegrity(paths.newFile);
    } catch (...) {
        QFile::remove(paths.newFile);
        throw;
    }

    // The damaged file keeps a second name, so that the rename below leaves it in the folder; the
    // engine's leftovers of an unfinished change go along with it.
    if (::link(QFile::encodeName(paths.source).constData(), QFile::encodeName(kept).constData()) != 0) {
        try {
            copyWhole(paths.source, kept);
        } catch (...) {
            QFile::remove(kept);
            QFile::remove(paths.newFile);
            throw;
        }
    }
    for (const char* leftover : {"-journal", "-wal", "-shm"}) {
        const QString from = paths.source + QLatin1String(leftover);
        if (QFileInfo::exists(from)) replaceFile(from, kept + QLatin1String(leftover));
    }
    replaceFile(paths.newFile, paths.source);
    syncToDisk(QFileInfo(paths.source).absolutePath(), true);
    return kept;
}
