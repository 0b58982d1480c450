#include "app/Startup.h"
#include "core/AppInfo.h"
#include "data/DatabaseProcs.h"
#include "data/Maintenance.h"
#include "data/engine/Database.h"
#include "screens/frmSplash.h"
#include "support/OldDatabase.h"
#include "support/TestFixtures.h"

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QScopeGuard>
#include <QScreen>
#include <QSet>
#include <QTemporaryDir>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Notes when windows first appear and go, by the scripted clock.
class WindowLog : public QObject {
public:
    explicit WindowLog(ScriptedPlatform& platform) : m_platform(platform) { qApp->installEventFilter(this); }
    ~WindowLog() override { qApp->removeEventFilter(this); }

    // The time of the first event of that kind for that window; invalid when there was none.
    QDateTime when(const QString& window, QEvent::Type type) const {
        const auto found = m_first.find({window, type});
        return found == m_first.end() ? QDateTime() : found->second;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* window = qobject_cast<QWidget*>(watched);
        if ((event->type() == QEvent::Show || event->type() == QEvent::Hide) && window && window->isWindow())
            m_first.try_emplace({window->objectName(), event->type()}, m_platform.clock);
        return false;
    }

private:
    ScriptedPlatform& m_platform;
    std::map<std::pair<QString, int>, QDateTime> m_first;
};

bool splashAround() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<frmSplash*>(w)) return true;
    return false;
}

int chmodPath(const QString& path, mode_t mode) { return ::chmod(QFile::encodeName(path).constData(), mode); }

class StartupTest : public ProgramTest {
protected:
    void TearDown() override {
        QList<QPointer<QWidget>> caseScreens;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == QLatin1String("frmCaseDetails")) caseScreens << w;
        for (const QPointer<QWidget>& w : caseScreens)
            delete w.data();
        Database::releaseAll();
    }

    QString backupFile() const { return DataFolder + "Backup/Dunmark.bak"; }
};

TEST_F(StartupTest, AnOlderDatabaseIsUpgradedBeforeTheCompactionUnderTheSplashScreenAndOnlyOnce) {
    Database::releaseAll();
    ASSERT_TRUE(QFile::remove(DatabasePath));
    old_WriteDatabase(DatabasePath);
    const Value firstReference =
        data_vCheckDBValue(DatabasePath, "Cases", "ReferenceNumber", "PrimaryKey", 1);
    WindowLog log(*platform);

    QWidget* screen = Main(folder->path());

    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(screen->objectName(), "frmCaseDetails");
    EXPECT_EQ(platform->modelessScreens, QStringList({"frmSplash", "frmCaseDetails"}));
    EXPECT_EQ(DatabasePath, QDir(folder->path()).filePath("Data/Dunmark.mdb"));
    EXPECT_FALSE(splashAround()) << "the splash screen is gone at the end";

    // The splash screen stood for at least a second and until the case screen was up.
    const QDateTime splashShown = log.when("frmSplash", QEvent::Show);
    const QDateTime splashHidden = log.when("frmSplash", QEvent::Hide);
    const QDateTime caseShown = log.when("frmCaseDetails", QEvent::Show);
    ASSERT_TRUE(splashShown.isValid() && splashHidden.isValid() && caseShown.isValid());
    EXPECT_GE(splashShown.msecsTo(splashHidden), 1000);
    EXPECT_LE(caseShown, splashHidden);

    // Upgraded, then compacted: the backup is the upgraded file as it was before the compaction.
    EXPECT_TRUE(data_sGetFieldName(DatabasePath, "Cases", "BallanceOwed"));
    EXPECT_TRUE(data_sGetFieldName(backupFile(), "Address", "ShowAs"));

    // The case screen shows the first open case of the upgraded file.
    EXPECT_EQ(screen->findChild<QLineEdit*>("txtReference")->text(), firstReference.toString());
    EXPECT_EQ(platform->pointer, -1) << "the normal pointer at the end";
    EXPECT_TRUE(nothingSaid());

    // This running copy holds the database: another one could not compact it now.
    const int other = ::open(QFile::encodeName(DatabasePath).constData(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(other, 0);
    EXPECT_NE(::flock(other, LOCK_EX | LOCK_NB), 0);
    ::close(other);

    // The next start finds the design current: compacted, not upgraded (a query the upgrade would
    // make again stays away).
    delete screen;
    Database::releaseAll(); // the program ended
    Database::open(DatabasePath).deleteQuery("q_CustomerListWithOpenCase");
    Database::releaseAll();
    ASSERT_NE(Main(folder->path()), nullptr);
    EXPECT_FALSE(Database::open(DatabasePath).queryExists("q_CustomerListWithOpenCase"));
}

TEST_F(StartupTest, StartUpThatEndsEarlyTakesTheSplashScreenAlong) {
    data_vChangeDBValue(SettingsDatabasePath, "Config", "CollectionCompanyName", Value("Northgate"), "", "");
    Database::releaseAll();
    // Something holds the database exclusively for the whole start, so this copy cannot take its hold.
    const int holder = ::open(QFile::encodeName(DatabasePath).constData(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(holder, 0);
    ASSERT_EQ(::flock(holder, LOCK_EX | LOCK_NB), 0);
    WindowLog log(*platform);
    QDateTime reported;
    platform->errorReportHandler = [&](const Platform::ErrorReportInfo&) {
        reported = platform->clock;
        return Platform::ErrorReportAnswer{3, false};
    };

    EXPECT_EQ(Main(folder->path()), nullptr);
    ASSERT_EQ(platform->errorReports.size(), 1u);
    EXPECT_EQ(platform->errorReports[0].number, 3045);
    EXPECT_EQ(platform->errorReports[0].location, "Startup ! Main");
    EXPECT_GE(log.when("frmSplash", QEvent::Show).secsTo(reported), 1 + 3 * 3)
        << "the splash second, then the hold tried again for a while";
    EXPECT_FALSE(splashAround());
    EXPECT_FALSE(log.when("frmCaseDetails", QEvent::Show).isValid()) << "no case screen";
    EXPECT_FALSE(QFileInfo::exists(backupFile())) << "no compaction under another holder";

    // Going on without the hold opens the case screen all the same.
    platform->errorReportHandler = nullptr;
    platform->errorAnswers.push_back({5, false});
    EXPECT_NE(Main(folder->path()), nullptr);
    EXPECT_EQ(platform->errorReports.size(), 2u);
    EXPECT_FALSE(splashAround());
    ::close(holder);
}

TEST_F(StartupTest, TheSplashScreenShowsTheCopyrightAndItsPictureAtOnce) {
    frmSplash splash;
    splash.Form_Load();

    EXPECT_GE(platform->processEventsCalls, 1) << "painted at once";
    EXPECT_TRUE(splash.lblCopywrite->text().startsWith("Copyright"));
    const QRect desktop = splash.screen()->geometry();
    EXPECT_EQ(splash.frameGeometry().left(),
              desktop.left() + (desktop.width() - splash.frameGeometry().width()) / 2)
        << "centred";

    // A picture of its own, drawn over the whole label: not one colour.
    const QImage picture = splash.imgSplash->pixmap().toImage();
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.size(), splash.imgSplash->minimumSize());
    QSet<QRgb> colours;
    for (int y = 0; y < picture.height(); y += 7)
        for (int x = 0; x < picture.width(); x += 7)
            colours.insert(picture.pixel(x, y));
    EXPECT_GT(colours.size(), 50);
}

// Start-up on a database that is damaged, missing or read-only: one message, one choice, and no file
// overwritten without the user's yes.
class StartupDatabaseTest : public StartupTest {
protected:
    enum class Damage { Pages, ZeroBytes, NotADatabase, FileMissing, FolderMissing };

    // A first start leaves a whole backup of the file; the program then ends.
    void startOnceForABackup() {
        data_vChangeDBValue(DatabasePath, "Config", "CollectionCompanyName", Value("Northgate"), "", "");
        QWidget* screen = Main(folder->path());
        ASSERT_NE(screen, nullptr);
        delete screen;
        Database::releaseAll();
        ASSERT_TRUE(QFileInfo::exists(backupFile()));
        platform->modelessScreens.clear();
    }

    static void damage(const QString& path, Damage how) {
        QFile file(path);
        switch (how) {
        case Damage::Pages: {
            // The first page (the schema's root) stays; the pages of the tables after it are overwritten.
            ASSERT_TRUE(file.open(QIODevice::ReadWrite));
            ASSERT_GT(file.size(), 3 * 4096);
            file.seek(4096);
            file.write(QByteArray(int(file.size() - 4096), char(0xA5)));
            break;
        }
        case Damage::ZeroBytes:
            ASSERT_TRUE(writeFile(path, {}));
            break;
        case Damage::NotADatabase:
            ASSERT_TRUE(writeFile(path, "Cheques to follow up:\nLee, 100.00\n"));
            break;
        case Damage::FileMissing:
            ASSERT_TRUE(file.remove());
            break;
        case Damage::FolderMissing:
            ASSERT_TRUE(QDir(DataFolder).removeRecursively());
            break;
        }
    }

    QStringList dataFiles() const { return QDir(DataFolder).entryList(QDir::Files, QDir::Name); }
};

// The database is looked at before any screen opens: a damaged or missing file gives one question, and
// nothing is overwritten or made without the user's yes.
TEST_F(StartupDatabaseTest, ADamagedOrMissingFileGivesOneReportAndIsReplacedOnlyWithTheUsersYes) {
    const struct {
        const char* what;
        Damage damage;
        bool backupWhole;
        int answer; // to the report's question; 0 when it asks none
    } cases[] = {
        {"damaged pages, restored", Damage::Pages, true, Platform::Yes},
        {"an empty file, restored", Damage::ZeroBytes, true, Platform::Yes},
        {"no database at all, restored", Damage::NotADatabase, true, Platform::Yes},
        {"damaged pages, not restored", Damage::Pages, true, Platform::No},
        {"damaged, and the backup too", Damage::Pages, false, 0},
        {"file missing, made", Damage::FileMissing, true, Platform::Yes},
        {"Data folder missing, made", Damage::FolderMissing, true, Platform::Yes},
        {"Data folder missing, not made", Damage::FolderMissing, true, Platform::No},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        startOnceForABackup();
        damage(DatabasePath, c.damage);
        if (!c.backupWhole) damage(backupFile(), Damage::Pages);
        const bool missing = c.damage >= Damage::FileMissing;
        const QByteArray damaged = bytesOf(DatabasePath);
        const QStringList filesBefore = dataFiles();
        if (c.answer) platform->answers = {c.answer};
        // A new database has no agency details yet: the first start asks for them.
        if (missing) platform->modalHandlers = {[](QObject*) {}};

        QWidget* screen = Main(folder->path());

        const QString title = missing ? "Database Not Found" : "Corrupted Database";
        QStringList titles{title};
        if (missing && screen) titles << "Collection Agency";
        EXPECT_EQ(messageTitles(), titles)
            << "one message, whatever else goes wrong; no read-only warning for a Data folder made just now";
        ASSERT_FALSE(platform->messages.empty());
        const auto& report = platform->messages[0];
        const int damagedStyle = Platform::Critical + (c.answer ? Platform::YesNo : Platform::OkOnly);
        EXPECT_EQ(report.style, missing ? Platform::YesNo + Platform::Question : damagedStyle);
        EXPECT_TRUE(platform->modelessScreens.isEmpty() || c.answer == Platform::Yes) << "no screen before the choice";
        if (c.answer != Platform::Yes) {
            EXPECT_EQ(screen, nullptr) << "the program closes";
            EXPECT_EQ(bytesOf(DatabasePath), damaged) << "nothing overwritten";
            EXPECT_EQ(dataFiles(), filesBefore);
            EXPECT_EQ(QFileInfo::exists(DataFolder), !missing) << "nothing made";
            continue;
        }
        ASSERT_NE(screen, nullptr);
        delete screen;
        if (missing) {
            EXPECT_NO_THROW(Database::checkIntegrity(DatabasePath));
            EXPECT_EQ(platform->modalScreens, QStringList({"frmCollectionCompany"}));
            EXPECT_TRUE(QFileInfo(DataFolder + "Backup").isDir());
            continue;
        }
        EXPECT_EQ(data_vCheckDBValue(DatabasePath, "Config", "CollectionCompanyName", "", "").toString(), "Northgate")
            << "the backup's content";
        const QStringList keptFiles = QDir(DataFolder).entryList({"Dunmark damaged *.mdb"}, QDir::Files);
        ASSERT_EQ(keptFiles.size(), 1) << "the damaged file is kept";
        EXPECT_TRUE(report.text.contains("\"" + keptFiles[0] + "\"")) << "under the name the message gives";
        EXPECT_EQ(bytesOf(DataFolder + keptFiles[0]), damaged);
        EXPECT_NE(bytesOf(backupFile()), damaged) << "the backup is never made from the damaged file";
    }
}

// While it lives, this process acts as an ordinary user, also towards access(): root takes on the
// identity of "nobody" and keeps its own as the saved one, to take it back at the end.
class OrdinaryUser {
public:
    OrdinaryUser() : m_wasRoot(::geteuid() == 0) {
        m_ok = !m_wasRoot || (::setresgid(Nobody, Nobody, 0) == 0 && ::setresuid(Nobody, Nobody, 0) == 0);
    }
    ~OrdinaryUser() {
        if (m_wasRoot && (::setresuid(0, 0, 0) != 0 || ::setresgid(0, 0, 0) != 0)) std::abort();
    }
    bool ok() const { return m_ok; }

private:
    static constexpr uid_t Nobody = 65534;
    bool m_wasRoot;
    bool m_ok;
};

// A folder the user cannot write to: one warning, then the screen. Root may write anywhere, so it acts
// as an ordinary user for the start; where that is impossible the test says so and is skipped.
TEST_F(StartupDatabaseTest, AReadOnlyFolderGivesOneWarningAtStart) {
    startOnceForABackup();
    // The ordinary user must reach the folder, read the files and write nowhere; the database there is
    // opened there, not replaced by a new one in the user's folder.
    for (const QString& path : {DataFolder, folder->path()}) chmodPath(path, 0555);
    chmodPath(DatabasePath, 0444);
    const auto writable = qScopeGuard([&] { chmodPath(DataFolder, 0755), chmodPath(folder->path(), 0755); });
    for (QString dir = QFileInfo(folder->path()).absolutePath(); dir != "/"; dir = QFileInfo(dir).absolutePath())
        if (::geteuid() == 0 && (QFileInfo(dir).permissions() & QFileDevice::ExeOther) == 0)
            GTEST_SKIP() << "the temporary folder " << dir.toStdString() << " cannot be reached by other users";
    OrdinaryUser user;
    if (!user.ok()) GTEST_SKIP() << "root could not act as an ordinary user here, so every folder stays writable";

    std::unique_ptr<QWidget> screen(Main(folder->path()));

    EXPECT_NE(screen, nullptr);
    EXPECT_TRUE(DatabasePath.startsWith(folder->path())) << "the database in the program folder";
    ASSERT_EQ(messageTitles(), QStringList{"Read-Only Database"});
    EXPECT_EQ(platform->messages[0].style, Platform::Exclamation);
}

// As installed under /opt: a program folder this user cannot write to and no data yet. The data go
// to the user's data folder, made at the first start without a question; later starts treat a
// missing database there as always.
TEST_F(StartupTest, AReadOnlyProgramFolderKeepsTheDataInTheUsersFolderMadeAtTheFirstStart) {
    QTemporaryDir program, userData;
    ASSERT_EQ(chmodPath(program.path(), 0555), 0);
    ASSERT_EQ(chmodPath(userData.path(), 0777), 0);
    for (QString dir = QFileInfo(program.path()).absolutePath(); dir != "/"; dir = QFileInfo(dir).absolutePath())
        if (::geteuid() == 0 && (QFileInfo(dir).permissions() & QFileDevice::ExeOther) == 0)
            GTEST_SKIP() << "the temporary folder " << dir.toStdString() << " cannot be reached by other users";
    qputenv("XDG_DATA_HOME", QFile::encodeName(userData.path()));
    const auto restoreEnvironment = qScopeGuard([] { qunsetenv("XDG_DATA_HOME"); });
    OrdinaryUser user;
    if (!user.ok()) GTEST_SKIP() << "root could not act as an ordinary user here, so every folder stays writable";
    ASSERT_FALSE(QFileInfo(program.path()).isWritable());
    platform->modalHandlers = {[](QObject*) {}};

    QWidget* screen = Main(program.path());

    ASSERT_NE(screen, nullptr);
    const QString home = userData.path() + "/Dunmark/";
    EXPECT_EQ(DatabasePath, home + "Data/Dunmark.mdb");
    EXPECT_EQ(ChecksFolder, home + "Checks/");
    EXPECT_TRUE(QFileInfo(ChecksFolder).isDir());
    EXPECT_TRUE(QFileInfo::exists(backupFile()));
    ASSERT_EQ(platform->messages.size(), 1u) << "no question and no warning at the first start";
    EXPECT_EQ(platform->messages[0].title, "Collection Agency") << "only the agency's details asked";
    EXPECT_TRUE(QDir(program.path()).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot));
    delete screen;
    Database::releaseAll();

    // The database gone later: the usual question.
    ASSERT_TRUE(QFile::remove(DatabasePath));
    platform->answers = {Platform::No};
    EXPECT_EQ(Main(program.path()), nullptr);
    ASSERT_EQ(platform->messages.size(), 2u);
    EXPECT_EQ(platform->messages[1].title, "Database Not Found");
}

} // namespace
