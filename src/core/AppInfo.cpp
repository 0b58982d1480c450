#include "core/AppInfo.h"

#include "AppVersion.h"

QString ProgramFolder;
QString DataFolder;
QString ReportsFolder;
QString ChecksFolder;
QString DatabasePath;
QString SettingsDatabasePath;
QString HelpFile;

void proc_SetProgramPaths(const QString& programFolder) {
    ProgramFolder = programFolder;
    while (ProgramFolder.size() > 1 && ProgramFolder.endsWith(QLatin1Char('/'))) ProgramFolder.chop(1);
    DataFolder = ProgramFolder + QStringLiteral("/Data/");
    ReportsFolder = DataFolder;
    ChecksFolder = ProgramFolder + QStringLiteral("/Checks/");
    DatabasePath = DataFolder + QStringLiteral("Dunmark.mdb");
    SettingsDatabasePath = DataFolder + QStringLiteral("Dunmark.mdb");
    HelpFile = ProgramFolder + QStringLiteral("/Dunmark.qch");
}

QString proc_vGetInternalInfo(const QString& infoName, bool versionWithRevision) {
    static const QString title = QStringLiteral("Dunmark");
    const QString majorMinor =
        QString::number(DUNMARK_VERSION_MAJOR) + QLatin1Char('.') + QString::number(DUNMARK_VERSION_MINOR);
    const QString revision = QString::number(DUNMARK_VERSION_REVISION);
    const QString version = versionWithRevision ? majorMinor + QLatin1Char('.') + revision
                                                : majorMinor + QStringLiteral("  Build ") + revision;

    if (infoName == QLatin1String("AppName")) return QStringLiteral("Dunmark");
    if (infoName == QLatin1String("AppTitle")) return title;
    if (infoName == QLatin1String("AppNameAndVersion")) return title + QStringLiteral("   Version: ") + version;
    if (infoName == QLatin1String("Version")) return QStringLiteral("Version: ") + version;
    if (infoName == QLatin1String("Copyright")) return QStringLiteral(DUNMARK_COPYRIGHT);
    if (infoName == QLatin1String("HelpFile")) return HelpFile;
    return QString();
}
