#include "screens/frmExport.h"

#include "core/AppInfo.h"
#include "core/ErrorHandling.h"
#include "core/Platform.h"
#include "core/Utilities.h"
#include "widgets/WidgetUtilities.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QSaveFile>
#include <QVBoxLayout>

namespace {
// The sets in the order of the options, with the words of their file names.
constexpr std::array<ExportSet, 4> Sets = {ExportSet::AllCases, ExportSet::OpenCases, ExportSet::CurrentSet,
                                           ExportSet::Customers};
const char* const FileWords[] = {"all cases", "open cases", "cases on display", "customers"};
} // namespace

frmExport::frmExport(const QString& currentSetSql, const QString& currentViewText, QWidget* parent)
    : QDialog(parent), m_currentSetSql(currentSetSql) {
    setObjectName(QStringLiteral("frmExport"));
    setWindowTitle(QStringLiteral("Export"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Write to a CSV file for a spreadsheet program:"), this));
    const QString onDisplay = currentViewText.trimmed().isEmpty()
                                  ? QStringLiteral("Cases on &display")
                                  : QStringLiteral("Cases on &display (%1)").arg(currentViewText.trimmed());
    const QString captions[] = {QStringLiteral("&All cases"), QStringLiteral("&Open cases"), onDisplay,
                                QStringLiteral("&Customers (without card details)")};
    for (int i = 0; i < 4; ++i) {
        optExportSet[i] = new QRadioButton(captions[i], this);
        optExportSet[i]->setObjectName(QStringLiteral("optExportSet_%1").arg(i));
        layout->addWidget(optExportSet[i]);
    }
    optExportSet[2]->setEnabled(!currentSetSql.isEmpty());
    optExportSet[0]->setChecked(true);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* exportButton = buttons->addButton(QStringLiteral("&Export…"), QDialogButtonBox::AcceptRole);
    exportButton->setObjectName(QStringLiteral("cmdExport"));
    exportButton->setDefault(true);
    buttons->addButton(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cmdCancel"));
    util_AddHelpButton(buttons, QStringLiteral("frmExport"), QStringLiteral("Exporting_to_a_Spreadsheet.htm"));
    layout->addSpacing(6);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    connect(exportButton, &QPushButton::clicked, this, [this] { cmdExport_Click(); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    adjustSize();
    util_CenterForm(this);
}

ExportSet frmExport::chosenSet() const {
    for (int i = 0; i < 4; ++i)
        if (optExportSet[i]->isChecked()) return Sets[i];
    return ExportSet::AllCases;
}

QString frmExport::suggestedPath() const {
    const int index = int(std::find(Sets.begin(), Sets.end(), chosenSet()) - Sets.begin());
    return util_sDocumentsFile(QStringLiteral("%1 %2 %3.csv")
                                   .arg(proc_vGetInternalInfo(QStringLiteral("AppTitle")), QLatin1String(FileWords[index]),
                                        platform().now().date().toString(Qt::ISODate)));
}

void frmExport::cmdExport_Click() {
    ErrorGuard g(QStringLiteral("frmExport ! cmdExport_Click"));
    QString path;
    if (!g.run([&] {
            path = platform().getSaveFileName(QStringLiteral("Export"), suggestedPath(),
                                              QStringLiteral("CSV files (*.csv);;All files (*)"));
        }))
        return;
    if (path.isEmpty()) return; // the save dialog was cancelled: the choice stays open
    if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".csv");
    int rows = 0;
    bool written = false;
    if (!g.run([&] { written = writeFile(path, rows); }) || !written) return;
    msgBox(QStringLiteral("%1 %2 written to\r%3")
               .arg(rows)
               .arg(chosenSet() == ExportSet::Customers ? QStringLiteral("customers") : QStringLiteral("cases"),
                    QDir::toNativeSeparators(path)),
           Platform::Information, QStringLiteral("Export"));
    accept();
}

bool frmExport::writeFile(const QString& path, int& rows) {
    // The file is written beside its final name and put in place only when it is whole.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        msgBox(QStringLiteral("The file could not be written:\r%1\r%2").arg(QDir::toNativeSeparators(path),
                                                                           file.errorString()),
               Platform::Exclamation, QStringLiteral("Export"));
        return false;
    }
    QProgressDialog progress(QStringLiteral("Exporting…"), QStringLiteral("Stop"), 0, 0, this);
    progress.setWindowTitle(QStringLiteral("Export"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(500);
    progress.setAutoReset(false);
    rows = data_ExportCsv(DatabasePath, chosenSet(), m_currentSetSql, file, [&](int done, int total) {
        progress.setMaximum(total);
        progress.setValue(done);
        return !progress.wasCanceled();
    });
    if (rows < 0) {
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        msgBox(QStringLiteral("The file could not be written:\r%1\r%2").arg(QDir::toNativeSeparators(path),
                                                                           file.errorString()),
               Platform::Exclamation, QStringLiteral("Export"));
        return false;
    }
    return true;
}
