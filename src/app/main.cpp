#include "app/Startup.h"
#include "widgets/QtPlatform.h"

#include <QApplication>
#include <QLocale>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // Amounts and dates follow the user's regional settings; without any, the program's own.
    if (QLocale().language() == QLocale::C) QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QApplication::setApplicationName(QStringLiteral("Dunmark"));
    QApplication::setOrganizationName(QStringLiteral("Dunmark"));
    // The desktop entry of the installed program, so that the desktop shows its name and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.dunmark.Dunmark"));
    setPlatform(std::make_unique<QtPlatform>());
    if (!Main()) return 1;
    return QApplication::exec();
}
