// dunmark-screen NAME: shows one screen of Dunmark with sample content, for looking at it
// (tools/screenshot takes it as its program). Names: frmUnexpectedError [TAB].
#include "app/AppInfo.h"
#include "app/frmUnexpectedError.h"
#include "util/QtPlatform.h"

#include <QApplication>
#include <QTabWidget>
#include <QTextStream>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    setPlatform(std::make_unique<QtPlatform>());
    proc_SetProgramPaths(QCoreApplication::applicationDirPath());
    const QString name = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    if (name == QLatin1String("frmUnexpectedError")) {
        frmUnexpectedError screen;
        screen.ErrorLocation = QStringLiteral("frmCaseDetails ! func_Recalc");
        screen.setError(11, QStringLiteral("Division by zero"), QString());
        if (argc > 2) screen.findChild<QTabWidget*>(QStringLiteral("tabError"))->setCurrentIndex(atoi(argv[2]));
        screen.exec();
        return 0;
    }
    QTextStream(stderr) << "usage: dunmark-screen frmUnexpectedError\n";
    return 2;
}
