#include "core/Help.h"

#include "core/AppInfo.h"
#include "core/ErrorHandling.h"
#include "core/Platform.h"
#include "core/Pointer.h"

QString HelpTopic;

QString api_sHelpPageAddress(const QString& page) {
    return QStringLiteral("qthelp://org.dunmark.help/doc/pages/") + page;
}

void api_DisplayHTMLHelp(const QString& command) {
    ErrorGuard g(QStringLiteral("API.bas ! api_DisplayHTMLHelp"));
    g.run([&] {
        const QString helpFile = proc_vGetInternalInfo(QStringLiteral("HelpFile"));
        if (command == QLatin1String("Contents")) {
            platform().showHelp(helpFile, Platform::HelpCommand::Contents, QString());
        } else if (command == QLatin1String("Index")) {
            platform().showHelp(helpFile, Platform::HelpCommand::Index, QString());
        } else if (command == QLatin1String("Search")) {
            platform().showHelp(helpFile, Platform::HelpCommand::Search, QString());
        } else if (command == QLatin1String("Topic")) {
            if (!HelpTopic.endsWith(QLatin1String(".htm"))) HelpTopic += QStringLiteral(".htm");
            platform().showHelp(helpFile, Platform::HelpCommand::Topic, HelpTopic);
        }
    });
}

void api_OpenSeparateProgramFile(const QString& target) {
    ErrorGuard g(QStringLiteral("API.bas ! api_OpenSeparateProgramFile"));
    if (!g.run([] { util_SetMousePointer(11); })) return;
    if (!g.run([&] { platform().openTarget(target); })) return;
    g.run([] { util_SetMousePointer(0); });
}
