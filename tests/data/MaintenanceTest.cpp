#include "core/AppInfo.h"
#include "data/DatabaseProcs.h"
#include "data/Maintenance.h"
#include "data/engine/EngineTestUtil.h"
#include "support/OldDatabase.h"
#include "support/TestFixtures.h"

#include <QDir>
#include <QFileInfo>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

// SQLite's own full check of a file, and the number of customers in it (0 when it cannot be read).
bool intact(const QString& path) {
    return QFileInfo::exists(path) && OtherSession(path).text("PRAGMA integrity_check") == "ok";
}
int customersIn(const QString& path) {
    return QFileInfo::exists(path) ? OtherSession(path).text("SELECT count(*) FROM Address").toInt() : 0;
}

class MaintenanceTest : public ProgramTest {
protected:
    QString backupFile() const { return DataFolder + "Backup/Dunmark.bak"; }
    QString newFile() const { return DataFolder + "Dunmark.new"; }

    // A database with room to gain: customers written, and some of them deleted again.
    int fillWithSlack(int customers = 120, int removed = 80) {
        Database::releaseAll();
        QFile::remove(DatabasePath);
        old_WriteDatabase(DatabasePath, {.customers = customers, .casesPerCustomer = 3});
        const QString remove = QStringLiteral("DELETE FROM Address WHERE CustomerID <= %1; "
                                              "DELETE FROM Cases WHERE CustomerID <= %1").arg(removed);
        EXPECT_EQ(OtherSession(DatabasePath).exec(remove.toUtf8().constData()), SQLITE_OK);
        Database::releaseAll(); // as when the program last ended
        return customers - removed;
    }

    // A customer added between two starts.
    static void addCustomer() {
        ASSERT_EQ(OtherSession(DatabasePath).exec("INSERT INTO Address (LastName) VALUES ('Later')"),
                  SQLITE_OK);
    }

    QStringList leftovers() const {
        QStringList found;
        for (const QString& f : {newFile(), backupFile() + ".part", DatabasePath + "-journal"})
            if (QFileInfo::exists(f)) found << f;
        return found;
    }
};

TEST_F(MaintenanceTest, PathsOfTheFilesInvolved) {
    const auto paths = [](const QString& full = QString()) { // source, new file, backup folder and file
        const CompactionPaths p = data_CompactionPaths("Dunmark.mdb", full);
        return QStringList{p.source, p.newFile, p.backupFolder, p.backupFile};
    };
    const QString backups = DataFolder + "Backup/";
    EXPECT_EQ(paths(), QStringList({QDir::cleanPath(DatabasePath), QDir::cleanPath(newFile()), backups,
                                    backupFile()}));
    // A file elsewhere: its new file beside it, the backup named after fileName in the data folder.
    EXPECT_EQ(paths("/srv/books/Ledger.mdb"),
              QStringList({"/srv/books/Ledger.mdb", "/srv/books/Ledger.new", backups, backupFile()}));
    EXPECT_EQ(paths("/srv/books/Ledger.db")[1], "/srv/books/Ledgernew") << "the last three characters";

    // Names that would make two of the files one, or put the backup elsewhere.
    for (const auto& [name, full] : std::vector<std::pair<QString, QString>>{
             {"Dunmark.mdb", DataFolder + "Dunmark.new"}, {"mdb", ""}, {"../Dunmark.mdb", ""}, {"", ""}})
        EXPECT_THROW(data_CompactionPaths(name, full), AppError)
            << name.toStdString() << " " << full.toStdString();
}

TEST_F(MaintenanceTest, FirstAndSecondStartKeepTheFileAsItWasAsTheOneBackup) {
    const int customers = fillWithSlack();
    const QByteArray beforeFirst = bytesOf(DatabasePath);
    // A connection of this program is open on the file and this program holds the file: both are let go.
    ASSERT_EQ(data_lGetRecordCount(DatabasePath, "Address"), customers);
    Database::holdSharedLock(DatabasePath);

    data_RepairCompactDatabase("Dunmark.mdb");

    EXPECT_EQ(bytesOf(backupFile()), beforeFirst) << "the backup is the file as it was";
    EXPECT_LT(QFileInfo(DatabasePath).size(), beforeFirst.size()) << "the database was compacted";
    EXPECT_EQ(QDir(DataFolder + "Backup").entryList(QDir::Files), QStringList({"Dunmark.bak"}));

    // Second start: the backup is replaced by the file as it was before this start.
    addCustomer();
    const QByteArray beforeSecond = bytesOf(DatabasePath);
    data_RepairCompactDatabase("Dunmark.mdb");
    EXPECT_EQ(bytesOf(backupFile()), beforeSecond);
    EXPECT_EQ(customersIn(DatabasePath), customers + 1);
    EXPECT_EQ(leftovers(), QStringList());
    EXPECT_TRUE(nothingSaid());
}

TEST_F(MaintenanceTest, NothingHappensWhileAnotherCopyHoldsTheDatabase) {
    fillWithSlack();
    data_RepairCompactDatabase("Dunmark.mdb"); // a backup from an earlier start
    addCustomer();
    const QByteArray database = bytesOf(DatabasePath);
    const QByteArray backup = bytesOf(backupFile());
    ASSERT_NE(database, backup);

    // Another running copy holds the shared lock on the file, as every copy does (a flock belongs to one
    // open of the file, so an open made here stands for another process's).
    const int fd = ::open(QFile::encodeName(DatabasePath).constData(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::flock(fd, LOCK_SH | LOCK_NB), 0);
    data_RepairCompactDatabase("Dunmark.mdb");
    EXPECT_EQ(bytesOf(DatabasePath), database);
    EXPECT_EQ(bytesOf(backupFile()), backup);
    EXPECT_EQ(leftovers(), QStringList());
    ::close(fd);

    // Once the other copy has gone, the start compacts again.
    data_RepairCompactDatabase("Dunmark.mdb");
    EXPECT_EQ(bytesOf(backupFile()), database);
    EXPECT_TRUE(nothingSaid());
}

TEST_F(MaintenanceTest, ADamagedFileAPendingChangeOrNoFileIsLeftAsItIs) {
    fillWithSlack();
    data_RepairCompactDatabase("Dunmark.mdb");
    const QByteArray backup = bytesOf(backupFile());
    const QByteArray good = bytesOf(DatabasePath);
    ASSERT_GT(good.size(), 3 * 4096);
    QByteArray damaged = good; // a proper header over damaged pages: the engine's check of the copy fails
    for (qsizetype i = 4096; i < damaged.size(); ++i)
        damaged[i] = char(i * 7);
    // What the file holds, and whether a journal the engine does not finish lies beside it.
    const std::tuple<const char*, QByteArray, bool> cases[] = {
        {"garbage", QByteArray(20000, '\x5a'), false}, {"damaged pages", damaged, false},
        {"pending change", good, true}};

    for (const auto& [what, content, journal] : cases) {
        SCOPED_TRACE(what);
        Database::releaseAll();
        ASSERT_TRUE(writeFile(DatabasePath, content));
        ASSERT_TRUE(!journal || writeFile(DatabasePath + "-journal", {}));
        data_RepairCompactDatabase("Dunmark.mdb");
        EXPECT_EQ(bytesOf(DatabasePath), content);
        EXPECT_EQ(bytesOf(backupFile()), backup);
        if (journal) QFile::remove(DatabasePath + "-journal");
        EXPECT_EQ(leftovers(), QStringList());
    }

    // A missing database: nothing to do, nothing said.
    QFile::remove(DatabasePath);
    data_RepairCompactDatabase("Dunmark.mdb");
    EXPECT_FALSE(QFileInfo::exists(DatabasePath));
    EXPECT_EQ(bytesOf(backupFile()), backup);
    EXPECT_TRUE(nothingSaid());
}

TEST_F(MaintenanceTest, AStepThatFailsLateRemovesWhatTheRunMadeAndKeepsTheDatabase) {
    fillWithSlack();
    const QByteArray before = bytesOf(DatabasePath);
    ASSERT_TRUE(QDir().mkpath(backupFile() + "/kept")); // the backup's name is taken by a folder

    data_RepairCompactDatabase("Dunmark.mdb");

    EXPECT_EQ(bytesOf(DatabasePath), before);
    EXPECT_TRUE(QFileInfo(backupFile() + "/kept").isDir());
    EXPECT_EQ(leftovers(), QStringList());
    EXPECT_TRUE(nothingSaid());
}

TEST_F(MaintenanceTest, StaleFilesOfAnEarlierRunAreReplacedAndASourceNamedNewIsNeverTouched) {
    const int customers = fillWithSlack();
    const QByteArray before = bytesOf(DatabasePath);
    ASSERT_TRUE(QDir().mkpath(DataFolder + "Backup"));
    for (const QString& stale : {newFile(), backupFile() + ".part"})
        ASSERT_TRUE(writeFile(stale, "half written"));
    data_RepairCompactDatabase("Dunmark.mdb");
    EXPECT_EQ(bytesOf(backupFile()), before);
    EXPECT_EQ(customersIn(DatabasePath), customers);
    EXPECT_EQ(leftovers(), QStringList());

    // The file to compact is itself called Dunmark.new: its new file would be itself.
    ASSERT_TRUE(QFile::copy(DatabasePath, newFile()));
    const QByteArray source = bytesOf(newFile());
    const QByteArray backup = bytesOf(backupFile());
    data_RepairCompactDatabase("Dunmark.mdb", newFile());
    EXPECT_EQ(bytesOf(newFile()), source);
    EXPECT_EQ(bytesOf(backupFile()), backup);
    EXPECT_TRUE(nothingSaid());
}

TEST_F(MaintenanceTest, AKillBetweenAnyTwoStepsLeavesAUsableDatabaseAndTheNextStartFinishes) {
    for (int steps = 0; steps <= CompactionStepCount; ++steps) {
        SCOPED_TRACE(QStringLiteral("killed after step %1").arg(steps).toStdString());
        QTemporaryDir programFolder;
        ASSERT_TRUE(QDir(programFolder.path()).mkpath("Data"));
        proc_SetProgramPaths(programFolder.path());
        const int customers = fillWithSlack(60, 20);
        data_RepairCompactDatabase("Dunmark.mdb"); // the previous start's backup
        addCustomer();
        const QByteArray before = bytesOf(DatabasePath);
        const QByteArray previousBackup = bytesOf(backupFile());

        data_RepairCompactDatabaseSteps("Dunmark.mdb", QString(), steps);

        // The database is there and whole (the file as it was, or its compacted copy); the backup is
        // the previous one or the file as it was, and whole.
        EXPECT_TRUE(intact(DatabasePath));
        EXPECT_EQ(customersIn(DatabasePath), customers + 1);
        const QByteArray backupNow = bytesOf(backupFile());
        EXPECT_TRUE(backupNow == previousBackup || backupNow == before);
        EXPECT_TRUE(intact(backupFile()));

        // The next start (a new process) completes the work and leaves nothing behind.
        Database::releaseAll();
        addCustomer();
        const QByteArray beforeNext = bytesOf(DatabasePath);
        data_RepairCompactDatabase("Dunmark.mdb");
        EXPECT_EQ(bytesOf(backupFile()), beforeNext);
        EXPECT_EQ(customersIn(DatabasePath), customers + 2);
        EXPECT_TRUE(intact(DatabasePath));
        EXPECT_EQ(leftovers(), QStringList());
        Database::releaseAll();
    }
    EXPECT_TRUE(nothingSaid());
}

} // namespace
