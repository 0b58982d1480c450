#include "reports/ReportArchiveLogic.h"

#include "core/AppError.h"
#include "core/AppInfo.h"
#include "core/ErrorHandling.h"
#include "core/Platform.h"
#include "core/Utilities.h"

#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <quazip/quazip.h>
#include <quazip/quazipfile.h>

namespace {

constexpr int AccessRetries = 5;

void unpack(const QString& archive) {
    QuaZip zip(archive);
    if (!zip.open(QuaZip::mdUnzip))
        throw AppError(ErrNo::PathFileAccess, QStringLiteral("The archive %1 cannot be read.").arg(archive));
    const QDir target(ReportsFolder);
    for (bool more = zip.goToFirstFile(); more; more = zip.goToNextFile()) {
        // Only the templates themselves, by their bare names: nothing lands outside the folder.
        const QString name = QFileInfo(zip.getCurrentFileName()).fileName();
        if (!report_TemplateNames().contains(name)) continue;
        QuaZipFile entry(&zip);
        if (!entry.open(QIODevice::ReadOnly))
            throw AppError(ErrNo::PathFileAccess, QStringLiteral("%1 cannot be read from %2.").arg(name, archive));
        const QByteArray bytes = entry.readAll();
        entry.close();
        // A template that already holds the archive's text is left as it is; any other is written over.
        QFile out(target.filePath(name));
        if (out.open(QIODevice::ReadOnly) && out.size() == bytes.size() && out.readAll() == bytes) continue;
        out.close();
        if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(bytes) != bytes.size() || !out.flush())
            throw AppError(ErrNo::PathFileAccess, QStringLiteral("%1 cannot be written.").arg(target.filePath(name)));
    }
}

} // namespace

const QStringList& report_TemplateNames() {
    static const QStringList names = {
        QStringLiteral("First Notice.rpt"),         QStringLiteral("Second Notice.rpt"),
        QStringLiteral("Final Notice.rpt"),         QStringLiteral("Collection Request.rpt"),
        QStringLiteral("Current Bad Checks.rpt"),   QStringLiteral("All Bad Checks.rpt"),
        QStringLiteral("Checks Not Accepted.rpt"),  QStringLiteral("Follow-up List.rpt")};
    return names;
}

QString report_sArchivePath() { return ProgramFolder + QStringLiteral("/brenvola.ccs"); }
QString report_sLeftoverArchivePath() { return ProgramFolder + QStringLiteral("/brenvola.exe"); }

bool func_bExtractReports() {
    ErrorGuard g(QStringLiteral("frmCaseDetails ! func_bExtractReports"));
    int attempts = 0;
    g.setLocalHandler([&](const AppError& e) -> std::optional<int> {
        if (e.number() != ErrNo::PathFileAccess || ++attempts > AccessRetries) return std::nullopt;
        util_Wait(1);
        return ErrorActions::Retry;
    });
    const QString archive = report_sArchivePath();
    const QString leftover = report_sLeftoverArchivePath();
    bool present = true;
    if (!g.runWhole([&] {
            if (util_bDoesFileExist(archive)) return;
            if (!util_bDoesFileExist(leftover)) {
                present = false;
                return;
            }
            if (!QFile::rename(leftover, archive))
                throw AppError(ErrNo::PathFileAccess, QStringLiteral("%1 cannot be renamed.").arg(leftover));
        }))
        return false;
    if (!present) {
        msgBox(QStringLiteral("The brenvola.ccs file is not available. It needs to be installed."), Platform::OkOnly);
        return false;
    }
    attempts = 0;
    return g.runWhole([&] { unpack(archive); });
}
