#include "data/NewDatabase.h"

#include "core/AppError.h"
#include "data/Schema.h"

#include <QDir>
#include <QFileInfo>

bool data_MakeProgramFolder(const QString& programFolder) {
    QDir root(programFolder);
    for (const QString& sub :
         {QStringLiteral("Data"), QStringLiteral("Data/Backup"), QStringLiteral("Checks")}) {
        if (!root.mkpath(sub))
            throw AppError(ErrNo::PathFileAccess,
                           QStringLiteral("Cannot make the folder %1").arg(root.filePath(sub)));
    }
    const QString database = root.filePath(QStringLiteral("Data/Dunmark.mdb"));
    const QFileInfo existing(database);
    if (existing.isFile()) return false;
    if (existing.exists())
        throw AppError(
            ErrNo::PathFileAccess,
            QStringLiteral("Cannot make the database file %1: a folder of that name is there").arg(database));
    data_CreateNewDatabase(database);
    return true;
}
