#include "data/DataTestUtil.h"
#include "data/NewDatabase.h"
#include "data/Schema.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>

namespace {

struct ToolRun {
    int exitCode = -1; // -1: did not end normally
    QString out, err;
};

ToolRun runNewDb(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral(DUNMARK_NEWDB_PROGRAM), arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit) return {};
    return {process.exitCode(), QString::fromLocal8Bit(process.readAllStandardOutput()),
            QString::fromLocal8Bit(process.readAllStandardError())};
}

class NewDatabaseTest : public DataTest {
protected:
    QString blockingFile() const { // a plain file where a folder would have to be
        const QString path = QDir(scratch.path()).filePath("plain-file");
        EXPECT_TRUE(writeFile(path, {}));
        return path;
    }
    QTemporaryDir scratch;
};

TEST_F(NewDatabaseTest, ProgramFolderGetsItsFoldersAndADatabaseOnce) {
    const QString root = QDir(scratch.path()).filePath("Program Files/Dunmark");
    EXPECT_TRUE(data_MakeProgramFolder(root));
    const QString database = root + "/Data/Dunmark.mdb";
    EXPECT_TRUE(QFileInfo(root + "/Checks").isDir());
    EXPECT_EQ(data_FieldNames(database, "Cases").size(), 56);

    Database::releaseAll();
    EXPECT_FALSE(data_MakeProgramFolder(root)) << "a database that is there is kept (see the tool's test)";
    EXPECT_TRUE(nothingSaid());

    // What stands in the way is an error, and is left as it was.
    const QString blocker = blockingFile();
    EXPECT_NE(errorNumber([&] { data_MakeProgramFolder(blocker); }), 0);
    EXPECT_NE(errorNumber([&] { data_MakeProgramFolder(blocker + "/Dunmark"); }), 0);
    const QString odd = QDir(scratch.path()).filePath("Odd");
    ASSERT_TRUE(QDir().mkpath(odd + "/Data/Dunmark.mdb"));
    EXPECT_NE(errorNumber([&] { data_MakeProgramFolder(odd); }), 0) << "a folder is no database to keep";
    EXPECT_TRUE(QFileInfo(odd + "/Data/Dunmark.mdb").isDir());
}

TEST_F(NewDatabaseTest, ToolMakesTheDatabaseKeepsAnExistingOneAndFailsClearly) {
    const QString root = QDir(scratch.path()).filePath("Shop");
    const ToolRun first = runNewDb({root});
    EXPECT_EQ(first.exitCode, 0) << first.err.toStdString();
    EXPECT_TRUE(first.out.contains("Made a new database")) << first.out.toStdString();
    const QString database = root + "/Data/Dunmark.mdb";
    EXPECT_EQ(data_FieldNames(database, "Config").size(), 21);

    EXPECT_EQ(data_vChangeDBValue(database, "Config", "Memo", Value("remember the milk"), "", Value()),
              Value(""));
    Database::releaseAll();
    const QByteArray before = bytesOf(database);
    const ToolRun second = runNewDb({root + "/"});
    EXPECT_EQ(second.exitCode, 0) << second.err.toStdString();
    EXPECT_TRUE(second.out.contains("Kept the existing database")) << second.out.toStdString();
    EXPECT_EQ(bytesOf(database), before);

    const ToolRun usage = runNewDb({});
    EXPECT_GT(usage.exitCode, 0);
    EXPECT_TRUE(usage.err.contains("usage: dunmark-newdb PROGRAM_FOLDER")) << usage.err.toStdString();
    EXPECT_GT(runNewDb({root, root}).exitCode, 0);

    const QString blocker = blockingFile();
    const ToolRun failed = runNewDb({blocker + "/Dunmark"});
    EXPECT_GT(failed.exitCode, 0);
    EXPECT_TRUE(failed.err.startsWith("dunmark-newdb: could not make the database in "))
        << failed.err.toStdString();
    EXPECT_TRUE(failed.out.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(blocker + "/Dunmark"));
}

} // namespace
