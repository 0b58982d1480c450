#include "app/Startup.h"

#include "app/AppInfo.h"
#include "app/ErrorHandling.h"
#include "cases/frmCaseDetails.h"
#include "util/Platform.h"
#include "util/Pointer.h"
#include "util/WidgetUtilities.h"

#include <QCoreApplication>


QWidget* Main() {
    ErrorGuard g(QStringLiteral("Startup ! Main"));
    QWidget* screen = nullptr;
    if (!g.run([] { util_SetMousePointer(11); })) return nullptr;
    if (!g.run([] { proc_SetProgramPaths(QCoreApplication::applicationDirPath()); })) return nullptr;
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
