#include "app/Startup.h"
#include "util/QtPlatform.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Dunmark"));
    QApplication::setOrganizationName(QStringLiteral("Dunmark"));
    setPlatform(std::make_unique<QtPlatform>());
    if (!Main()) return 1;
    return QApplication::exec();
}
