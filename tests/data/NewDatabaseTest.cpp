#include "data/NewDatabase.h"
#include "data/DataTestUtil.h"
#include "data/DatabaseProcs.h"
#include "data/Schema.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

namespace {

QByteArray fileHash(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

struct ToolRun {
    int exitCode = -1;
    QString out;
    QString err;
};

ToolRun runNewDb(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral(DUNMARK_NEWDB_PROGRAM), arguments);
    ToolRun run;
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit) return run;
    run.exitCode = process.exitCode();
    run.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    run.err = QString::fromLocal8Bit(process.readAllStandardError());
    return run;
}

class NewDatabaseTest : public DataTest {
protected:
    QTemporaryDir scratch;
};

TEST_F(NewDatabaseTest, ProgramFolderGetsItsFoldersAndADatabaseOnce) {
    const QString root = QDir(scratch.path()).filePath("Program Files/Dunmark");
    EXPECT_TRUE(data_MakeProgramFolder(root));
    const QString database = root + "/Data/Dunmark.mdb";
    EXPECT_TRUE(QFileInfo(root + "/Data").isDir());
    EXPECT_TRUE(QFileInfo(root + "/Checks").isDir());
    ASSERT_TRUE(QFileInfo(database).isFile());
    EXPECT_EQ(data_FieldNames(database, "Cases").size(), 56);
    EXPECT_TRUE(data_sGetFieldName(database, "Address", "ShowAs"));
    for (const SavedQuery& query : data_CustomerListQueries())
        EXPECT_TRUE(Database::open(database).queryExists(query.name)) << query.name.toStdString();

    // A database with data in it is kept as it is, to the byte.
    EXPECT_EQ(data_vChangeDBValue(database, "Config", "CompanyName", Value("Corner Store"), "", Value()),
              Value(""));
    Database::releaseAll();
    const QByteArray before = fileHash(database);
    ASSERT_FALSE(before.isEmpty());
    EXPECT_FALSE(data_MakeProgramFolder(root));
    EXPECT_EQ(fileHash(database), before);
    EXPECT_EQ(data_vCheckDBValue(database, "Config", "CompanyName", "", Value()), Value("Corner Store"));
    EXPECT_TRUE(platform->messages.empty());
}

TEST_F(NewDatabaseTest, ProgramFolderThatCannotBeMadeIsAnError) {
    const QString blocker = QDir(scratch.path()).filePath("plain-file");
    {
        QFile file(blocker);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("not a folder");
    }
    EXPECT_NE(errorNumber([&] { data_MakeProgramFolder(blocker); }), 0)
        << "a file where the folder should be";
    EXPECT_NE(errorNumber([&] { data_MakeProgramFolder(blocker + "/Dunmark"); }), 0);

    // A folder standing where the database file should be is not a database that can be kept.
    const QString odd = QDir(scratch.path()).filePath("Odd");
    ASSERT_TRUE(QDir().mkpath(odd + "/Data/Dunmark.mdb"));
    EXPECT_NE(errorNumber([&] { data_MakeProgramFolder(odd); }), 0);
    EXPECT_TRUE(QFileInfo(odd + "/Data/Dunmark.mdb").isDir()) << "left as it was";
}

TEST_F(NewDatabaseTest, ToolMakesTheDatabaseKeepsAnExistingOneAndFailsClearly) {
    const QString root = QDir(scratch.path()).filePath("Shop");
    const ToolRun first = runNewDb({root});
    EXPECT_EQ(first.exitCode, 0) << first.err.toStdString();
    EXPECT_TRUE(first.out.contains("Made a new database")) << first.out.toStdString();
    EXPECT_TRUE(QFileInfo(root + "/Checks").isDir());
    const QString database = root + "/Data/Dunmark.mdb";
    EXPECT_EQ(data_FieldNames(database, "Config").size(), 21);
    EXPECT_EQ(data_lGetRecordCount(database, "Config"), 0);

    EXPECT_EQ(data_vChangeDBValue(database, "Config", "Memo", Value("remember the milk"), "", Value()),
              Value(""));
    Database::releaseAll();
    const QByteArray before = fileHash(database);
    const ToolRun second = runNewDb({root + "/"});
    EXPECT_EQ(second.exitCode, 0) << second.err.toStdString();
    EXPECT_TRUE(second.out.contains("Kept the existing database")) << second.out.toStdString();
    EXPECT_EQ(fileHash(database), before);

    const ToolRun usage = runNewDb({});
    EXPECT_NE(usage.exitCode, 0);
    EXPECT_TRUE(usage.err.contains("usage: dunmark-newdb PROGRAM_FOLDER")) << usage.err.toStdString();
    EXPECT_FALSE(runNewDb({root, root}).exitCode == 0);

    const QString blocker = QDir(scratch.path()).filePath("plain-file");
    {
        QFile file(blocker);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    const ToolRun failed = runNewDb({blocker + "/Dunmark"});
    EXPECT_NE(failed.exitCode, 0);
    ASSERT_NE(failed.exitCode, -1) << "the tool did not end normally";
    EXPECT_TRUE(failed.err.startsWith("dunmark-newdb: could not make the database in "))
        << failed.err.toStdString();
    EXPECT_TRUE(failed.out.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(blocker + "/Dunmark"));
}

} // namespace
