#include "app/Startup.h"

#include "cases/frmCaseDetails.h"
#include "core/AppInfo.h"
#include "core/ErrorHandling.h"
#include "core/Platform.h"
#include "core/Pointer.h"
#include "core/Utilities.h"
#include "data/DatabaseProcs.h"
#include "data/Maintenance.h"
#include "data/NewDatabase.h"
#include "data/Upgrade.h"
#include "data/engine/Database.h"
#include "screens/frmSplash.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QScopeGuard>

namespace {

const QString DatabaseFileName = QStringLiteral("Dunmark.mdb");
const QChar CR(13); // a line break in a message box

// Missing database: the user may have a new, empty one made, as dunmark-newdb makes it.
bool offerNewDatabase(ErrorGuard& g, const QString& dataHome) {
    const QString text =
        QStringLiteral("The database file %1 could not be found.")
            .arg(QDir::toNativeSeparators(DatabasePath)) +
        CR + CR +
        QStringLiteral("Do you want to start with a new, empty database there? Choose No to close the "
                       "program, for example to put the database file back in its place first.");
    if (msgBox(text, Platform::YesNo + Platform::Question, QStringLiteral("Database Not Found")) !=
        Platform::Yes)
        return false;
    return g.run([&] { data_MakeProgramFolder(dataHome); });
}

// Damaged database: one report, and the backup put in its place when it is whole and the user agrees.
bool offerRestore(ErrorGuard& g, const DatabaseHealth& health) {
    const QString title = QStringLiteral("Corrupted Database");
    const QString backupFolder = QDir::toNativeSeparators(DataFolder + QStringLiteral("Backup"));
    const QDateTime now = platform().now(); // the kept file's name is the one the message gives
    const QString kept = data_DamagedFileName(DatabaseFileName, now);
    QString text =
        QStringLiteral("Location: ") + QDir::toNativeSeparators(DatabasePath) + CR + health.problem + CR +
        CR + QStringLiteral("The above database file has been corrupted and needs to be repaired.") + CR;
    const QString manualRepair = QStringLiteral(
        "The help system's page 'Repairing a Corrupt Database' explains how to repair the file by "
        "hand (the help system can be run independently of the program).");
    if (health.backupSound) {
        text += QStringLiteral("The backup made when the program last started (in %1) is whole.")
                    .arg(backupFolder) +
                CR + CR +
                QStringLiteral(
                    "Do you want to put the backup in the damaged file's place? Changes made since the "
                    "backup was taken are not in it. The damaged file is kept beside it as \"%1\".")
                    .arg(kept) +
                CR + CR + QStringLiteral("Choose No to close the program. ") + manualRepair;
    } else {
        text += QStringLiteral(
                    "There is no whole backup in %1 to put in its place, so the program will now close.")
                    .arg(backupFolder) +
                CR + CR + manualRepair;
    }
    platform().setClipboardText(title + CR + CR + text);
    if (!health.backupSound) {
        msgBox(text, Platform::Critical, title);
        return false;
    }
    if (msgBox(text, Platform::YesNo + Platform::Critical, title) != Platform::Yes) return false;
    return g.run([&] { data_RestoreBackup(DatabaseFileName, now); });
}

// The database is checked once before any screen opens, so that a missing or damaged file gives the
// user one clear choice instead of an error from every screen that reads it. In the user's own data
// folder, a first start (no Data folder yet, as after installing the program) makes the database
// without a question.
bool databaseReady(ErrorGuard& g, const QString& programFolder, const QString& dataHome) {
    const bool firstStartAtHome = dataHome != programFolder && !QFileInfo::exists(DataFolder);
    DatabaseHealth health;
    if (!g.run([&] { health = data_CheckDatabaseHealth(DatabaseFileName); })) return false;
    switch (health.state) {
    case DatabaseHealth::Missing:
        if (firstStartAtHome) {
            if (!g.run([&] { data_MakeProgramFolder(dataHome); })) return false;
        } else if (!offerNewDatabase(g, dataHome)) {
            return false;
        }
        // Looked at again: a Data folder made just now can be written to.
        if (!g.run([&] { health = data_CheckDatabaseHealth(DatabaseFileName); })) return false;
        break;
    case DatabaseHealth::Damaged:
        if (!offerRestore(g, health)) return false;
        break;
    case DatabaseHealth::Sound:
        break;
    }
    if (!health.writable)
        msgBox(QStringLiteral(
                   "The database %1 or its folder is read-only, so no change you make in this session "
                   "can be saved. To work on your cases, close the program and make the folder and the "
                   "file writable for you.")
                   .arg(QDir::toNativeSeparators(DatabasePath)),
               Platform::Exclamation, QStringLiteral("Read-Only Database"));
    return true;
}

} // namespace

QWidget* Main() {
    return Main(QCoreApplication::applicationDirPath());
}

QWidget* Main(const QString& programFolder) {
    ErrorGuard g(QStringLiteral("Startup ! Main"));
    QWidget* screen = nullptr;
    QPointer<frmSplash> splash;
    // The splash screen goes however start-up ends.
    const auto unloadSplash = qScopeGuard([&] {
        if (!splash) return;
        splash->close();
        delete splash;
    });

    if (!g.run([] { util_SetMousePointer(11); })) return nullptr;
    // The folders, the database paths and the help file; the data beside the program when this user
    // may write there, else in the user's own data folder.
    QString dataHome;
    if (!g.run([&] {
            dataHome = proc_sDataHome(programFolder);
            proc_SetProgramPaths(programFolder, dataHome);
        }))
        return nullptr;
    if (!databaseReady(g, ProgramFolder, dataHome)) return nullptr;
    if (!g.run([&] {
            splash = new frmSplash;
            splash->Form_Load();
        }))
        return nullptr;
    if (!g.run([] { util_Wait(1); })) return nullptr;
    if (!g.run([] {
            if (!data_sGetFieldName(DatabasePath, QStringLiteral("Address"), QStringLiteral("ShowAs")) ||
                !data_bHasFindIndex(DatabasePath))
                data_UpgradeDatabase(DatabasePath);
        }))
        return nullptr;
    if (!g.run([] { data_RepairCompactDatabase(DatabaseFileName); })) return nullptr;

    // From here on every other copy of the program knows that this one uses the database. A missing file
    // has been reported by the database operations already; another copy busy compacting the file is
    // waited for a little.
    g.setLocalHandler([tries = 0](const AppError& e) mutable -> std::optional<int> {
        if (e.number() == 3024 || e.number() == 3044) return ErrorActions::GoOn;
        if (e.number() != 3045 || tries >= 3) return std::nullopt;
        ++tries;
        util_Wait(3);
        return ErrorActions::Retry;
    });
    if (!g.run([] { Database::holdSharedLock(DatabasePath); })) return nullptr;
    g.setLocalHandler({});

    if (!g.run([] { util_SetMousePointer(0); })) return nullptr;
    if (!g.run([&] {
            auto* caseScreen = new frmCaseDetails;
            caseScreen->setAttribute(Qt::WA_DeleteOnClose);
            caseScreen->Form_Load();
            screen = caseScreen;
            platform().showModeless(screen);
        }))
        return nullptr;
    return screen;
}
