#include "app/Startup.h"

#include "app/AppInfo.h"
#include "app/ErrorHandling.h"
#include "util/Platform.h"
#include "util/Pointer.h"
#include "util/WidgetUtilities.h"

#include <QCoreApplication>
#include <QLabel>
#include <QMainWindow>

namespace {

// Until the case screen exists, the working screen is a plain window that names the program and
// the database it works on.
QWidget* makeWorkingScreen() {
    auto* window = new QMainWindow;
    window->setObjectName(QStringLiteral("frmWorkingScreen"));
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowTitle(proc_vGetInternalInfo(QStringLiteral("AppNameAndVersion")));
    auto* label = new QLabel(QStringLiteral("<h2>%1</h2><p>Database: %2</p>")
                                 .arg(proc_vGetInternalInfo(QStringLiteral("AppTitle")).toHtmlEscaped(),
                                      DatabasePath.toHtmlEscaped()));
    label->setAlignment(Qt::AlignCenter);
    window->setCentralWidget(label);
    window->resize(640, 485);
    util_CenterForm(window);
    return window;
}

} // namespace

QWidget* Main() {
    ErrorGuard g(QStringLiteral("Startup ! Main"));
    QWidget* screen = nullptr;
    if (!g.run([] { util_SetMousePointer(11); })) return nullptr;
    if (!g.run([] { proc_SetProgramPaths(QCoreApplication::applicationDirPath()); })) return nullptr;
    if (!g.run([] { util_SetMousePointer(0); })) return nullptr;
    if (!g.run([&] {
            screen = makeWorkingScreen();
            platform().showModeless(screen);
        }))
        return nullptr;
    return screen;
}
