// Printing from the case screen: the notices of the case on display and the three lists, through
// the report engine (reports/ReportLogic.h) after the templates have been unpacked.
#include "cases/frmCaseDetails.h"
#include "core/AppInfo.h"
#include "core/ErrorHandling.h"
#include "core/Platform.h"
#include "core/Scoped.h"
#include "core/Utilities.h"
#include "data/ConfigSettings.h"
#include "reports/ReportArchiveLogic.h"
#include "reports/ReportLogic.h"
#include "screens/frmMerchantDetails.h"
#include "ui_frmCaseDetails.h"

#include <QDir>
#include <QFileInfo>

namespace {
const char* const NoticeTemplates[6] = {"First Notice.rpt",       "Second Notice.rpt",      "Final Notice.rpt",
                                        "Collection Request.rpt", "Collection Request.rpt", "Collection Request.rpt"};
} // namespace

void frmCaseDetails::connectPrinting() {
    for (int i = 0; i < 6; ++i)
        connect(cmdPrintNotice[i], &QAbstractButton::clicked, this, [this, i] { cmdPrintNotice_Click(i); });
    const std::pair<QMenu*, const char*> lists[] = {{ui->mnuCurrent, "Current Bad Checks.rpt"},
                                                    {ui->mnuComplete, "All Bad Checks.rpt"},
                                                    {ui->mnuNoChecks, "Checks Not Accepted.rpt"}};
    for (auto [menu, name] : lists) {
        const QList<QAction*> entries = menu->actions();
        for (int i = 0; i < entries.size(); ++i) {
            const QString templateName = QString::fromLatin1(name);
            connect(entries[i], &QAction::triggered, this, [this, templateName, i] { mnuReport_Click(templateName, i); });
        }
    }
    connect(ui->mnuPrintNoticesToScreen, &QAction::triggered, this, [this] { mnuPrintNoticesToScreen_Click(); });
    connect(ui->mnuMerchantDetails, &QAction::triggered, this, [this] { mnuMerchantDetails_Click(); });
}

void frmCaseDetails::func_PrintReports(const QString& reportFile, const QString& formula, int destination,
                                       const QString& pdfFile) {
    ErrorGuard g(QStringLiteral("frmCaseDetails ! func_PrintReports"));
    BusyPointer busy;
    // Its message has been shown when the archive is missing; the print goes on with what is there.
    if (!g.run([] { func_bExtractReports(); })) return;
    // The report reads the stored case: the case on display is written first, changed or not. A new
    // case is not written here (it would go over the stored one); a failed write ends the print.
    if (sCaseMode != QLatin1String("N") && caseOnDisplay()) {
        if (!func_SaveCase(false)) return;
        bCaseDirty = false;
    }
    bNavigatingCases = false;

    // A template still missing after the extraction is unpacked once more, then named and given up.
    int missing = 0;
    g.setLocalHandler([&](const AppError& e) -> std::optional<int> {
        if (e.number() != ReportErr::TemplateNotFound) return std::nullopt;
        const bool archive = QFileInfo::exists(report_sArchivePath()) || QFileInfo::exists(report_sLeftoverArchivePath());
        if (++missing == 1 && archive && func_bExtractReports()) return ErrorActions::Retry;
        msgBox(QStringLiteral("The report template \"%1\" is missing from the folder %2, so it cannot be printed.")
                   .arg(QFileInfo(reportFile).fileName(), QDir::toNativeSeparators(ReportsFolder)),
               Platform::Exclamation, QStringLiteral("Report Template Missing"));
        return ErrorActions::Leave;
    });
    g.run([&] {
        ReportControl report;
        report.ReportFileName = reportFile;
        report.SelectionFormula = formula;
        report.Destination = destination;
        report.PrintFileName = pdfFile;
        report.run();
    });
}

void frmCaseDetails::cmdPrintNotice_Click(int index) {
    ErrorGuard g(QStringLiteral("frmCaseDetails ! cmdPrintNotice_Click"));
    if (index < 0 || index >= 6) return;
    if (sCaseMode == QLatin1String("N")) {
        msgBox(QStringLiteral("Please save the new case first: its notice is printed from the saved case."),
               Platform::Information, QStringLiteral("Save the Case First"));
        return;
    }
    QString path, formula;
    int destination = 1;
    if (!g.run([&] {
            destination = ui->mnuPrintNoticesToScreen->isChecked() ? 0 : 1;
            path = ReportsFolder + QString::fromLatin1(NoticeTemplates[index]);
            formula = report_sReferenceFormula(ui->txtReference->text());
        }))
        return;
    g.run([&] { func_PrintReports(path, formula, destination); });
}

void frmCaseDetails::mnuReport_Click(const QString& templateName, int index) {
    ErrorGuard g(QStringLiteral("frmCaseDetails ! mnuReport_Click"));
    QString pdfFile;
    if (index == ReportControl::ToFile) {
        const QString suggested = util_sDocumentsFile(
            report_sPdfFileName(QFileInfo(templateName).completeBaseName(), platform().now().date()));
        if (!g.run([&] {
                pdfFile = platform().getSaveFileName(QStringLiteral("Save the Report as PDF"), suggested,
                                                     QStringLiteral("PDF files (*.pdf)"));
            }))
            return;
        if (pdfFile.isEmpty()) return;
    }
    g.run([&] { func_PrintReports(ReportsFolder + templateName, QString(), index, pdfFile); });
}

void frmCaseDetails::mnuPrintNoticesToScreen_Click() {
    ErrorGuard g(QStringLiteral("frmCaseDetails ! mnuPrintNoticesToScreen_Click"));
    // The action has turned its check mark over; it is stored at once. When it cannot be stored
    // the mark goes back, so that it always shows the stored setting.
    const bool toScreen = ui->mnuPrintNoticesToScreen->isChecked();
    if (!g.runWhole([&] { config_Write(QStringLiteral("PrintNoticesToScreen"), Value(toScreen)); }))
        ui->mnuPrintNoticesToScreen->setChecked(!toScreen);
}

void frmCaseDetails::mnuMerchantDetails_Click() {
    ErrorGuard g(QStringLiteral("frmCaseDetails ! mnuMerchantDetails_Click"));
    frmMerchantDetails details(this);
    g.run([&] { platform().showModal(&details); });
}
