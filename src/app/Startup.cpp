#include "app/Startup.h"

#include "app/AppInfo.h"
#include "app/ErrorHandling.h"
#include "cases/frmCaseDetails.h"
#include "data/DatabaseProcs.h"
#include "data/Maintenance.h"
#include "data/Upgrade.h"
#include "data/engine/Database.h"
#include "screens/frmSplash.h"
#include "util/Platform.h"
#include "util/Pointer.h"
#include "util/Utilities.h"

#include <QCoreApplication>
#include <QPointer>
#include <QScopeGuard>

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
    // The folders, the database paths and the help file.
    if (!g.run([&] { proc_SetProgramPaths(programFolder); })) return nullptr;
    if (!g.run([&] {
            splash = new frmSplash;
            splash->Form_Load();
        }))
        return nullptr;
    if (!g.run([] { util_Wait(1); })) return nullptr;
    if (!g.run([] {
            if (!data_sGetFieldName(DatabasePath, QStringLiteral("Address"), QStringLiteral("ShowAs")))
                data_UpgradeDatabase(DatabasePath);
        }))
        return nullptr;
    if (!g.run([] { data_RepairCompactDatabase(QStringLiteral("Dunmark.mdb")); })) return nullptr;

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
