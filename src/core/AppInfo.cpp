#include "core/AppInfo.h"

#include "AppVersion.h"

#include <QFileInfo>
#include <QStandardPaths>

QString ProgramFolder;
QString DataFolder;
QString ReportsFolder;
QString ChecksFolder;
QString DatabasePath;
QString SettingsDatabasePath;
QString HelpFile;

namespace {

QString withoutTrailingSeparator(QString folder) {
    while (folder.size() > 1 && folder.endsWith(QLatin1Char('/'))) folder.chop(1);
    return folder;
}

} // namespace

void proc_SetProgramPaths(const QString& programFolder, const QString& dataHome) {
    ProgramFolder = withoutTrailingSeparator(programFolder);
    const QString home = dataHome.isEmpty() ? ProgramFolder : withoutTrailingSeparator(dataHome);
    DataFolder = home + QStringLiteral("/Data/");
    ReportsFolder = DataFolder;
    ChecksFolder = home + QStringLiteral("/Checks/");
    DatabasePath = DataFolder + QStringLiteral("Dunmark.mdb");
    SettingsDatabasePath = DataFolder + QStringLiteral("Dunmark.mdb");
    HelpFile = ProgramFolder + QStringLiteral("/Dunmark.qch");
}

QString proc_sDataHome(const QString& programFolder) {
    // QFileInfo asks the system (access()) whether this user may write, so root may write anywhere.
    const QFileInfo folder(programFolder);
    if (folder.isDir() && folder.isWritable()) return withoutTrailingSeparator(programFolder);
    // Data already beside the program (a copy on a read-only share, say) are the user's data: they are
    // opened there, read-only, rather than hidden behind a new empty database elsewhere.
    if (QFileInfo::exists(withoutTrailingSeparator(programFolder) + QStringLiteral("/Data/Dunmark.mdb")))
        return withoutTrailingSeparator(programFolder);
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/Dunmark");
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
