#include "app/Startup.h"
#include "app/AppInfo.h"
#include "data/DatabaseProcs.h"
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
#include <QScreen>
#include <QSet>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

// Notes when windows appear and go, by the scripted clock.
class WindowLog : public QObject {
public:
    explicit WindowLog(ScriptedPlatform& platform) : m_platform(platform) { qApp->installEventFilter(this); }
    ~WindowLog() override { qApp->removeEventFilter(this); }

    // The time of the first event of that kind for that window; invalid when there was none.
    QDateTime when(const QString& window, QEvent::Type type) const {
        for (const auto& [name, eventType, at] : m_entries)
            if (name == window && eventType == type) return at;
        return {};
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if ((event->type() == QEvent::Show || event->type() == QEvent::Hide) && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->isWindow())
            m_entries.emplace_back(watched->objectName(), event->type(), m_platform.clock);
        return false;
    }

private:
    ScriptedPlatform& m_platform;
    std::vector<std::tuple<QString, QEvent::Type, QDateTime>> m_entries;
};

bool splashAround() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<frmSplash*>(w)) return true;
    return false;
}

QByteArray bytesOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

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
    EXPECT_TRUE(screen->isVisible());
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
    EXPECT_TRUE(data_sGetFieldName(DatabasePath, "Address", "ShowAs"));
    EXPECT_TRUE(data_sGetFieldName(DatabasePath, "Cases", "BallanceOwed"));
    EXPECT_TRUE(data_sGetFieldName(backupFile(), "Address", "ShowAs"));
    EXPECT_FALSE(QFileInfo::exists(DataFolder + "Dunmark.new"));

    // The case screen shows the first open case of the upgraded file.
    EXPECT_EQ(screen->findChild<QLineEdit*>("txtReference")->text(), firstReference.toString());
    EXPECT_EQ(platform->pointer, -1) << "the normal pointer at the end";
    EXPECT_TRUE(platform->errorReports.empty());
    EXPECT_TRUE(platform->messages.empty());

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
    const QByteArray beforeSecond = bytesOf(DatabasePath);
    ASSERT_NE(Main(folder->path()), nullptr);
    EXPECT_FALSE(Database::open(DatabasePath).queryExists("q_CustomerListWithOpenCase"));
    EXPECT_EQ(bytesOf(backupFile()), beforeSecond) << "the file as it was before this start";
    EXPECT_TRUE(platform->errorReports.empty());
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
    EXPECT_TRUE(log.when("frmSplash", QEvent::Hide).isValid());
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

    EXPECT_TRUE(splash.isVisible());
    EXPECT_EQ(platform->modelessScreens, QStringList({"frmSplash"}));
    EXPECT_GE(platform->processEventsCalls, 1) << "painted at once";
    EXPECT_FALSE(splash.lblCopywrite->text().isEmpty());
    EXPECT_EQ(splash.lblCopywrite->text(), proc_vGetInternalInfo("Copyright"));
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

} // namespace
