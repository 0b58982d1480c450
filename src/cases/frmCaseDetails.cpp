#include "cases/frmCaseDetails.h"

#include "core/AppInfo.h"
#include "ui_frmCaseDetails.h"
#include "widgets/CaptionLabel.h"
#include "widgets/DatePicker.h"
#include "widgets/WidgetUtilities.h"

#include <QFocusEvent>
#include <QComboBox>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTabBar>
#include <QTabWidget>
#include <QToolTip>

frmCaseDetails::frmCaseDetails(QWidget* parent) : QMainWindow(parent), ui(new Ui::frmCaseDetails) {
    ui->setupUi(this);
    gatherControls();

    // The no-cases panel lies over the pages of the tab strip, below its tabs.
    ui->fraCaseArea->layout()->removeWidget(ui->panNoCases);
    // Outside the layouts it cannot widen the window itself: the tabs are kept wide enough for it.
    ui->tabCases->setMinimumWidth(ui->panNoCases->minimumSizeHint().width() + 16);
    ui->panNoCases->raise();
    ui->panNoCases->hide();
    ui->tabCases->installEventFilter(this);

    ui->lblNoMore->hide();
    for (int i = 0; i < 7; ++i) datNotice[i]->hide();
    for (auto* b : cmdPrintNotice) b->hide();
    for (auto* d : datInstallmentDate) d->hide();
    ui->lblProcessingFee->hide();

    connectAmounts();
    connectStages();
    connectInstallments();
    connectEditing();
    connectNavigation();
    connectPicker();
    connectMenus();
    connectPrinting();
    installKeyPreview();
    // Nothing on display yet: the key panels are blank and the case buttons have nowhere to go.
    setCaseKey(0);
    setCustomerKey(0);
}

frmCaseDetails::~frmCaseDetails() { util_DetachControls(this); }

void frmCaseDetails::gatherControls() {
    optCaseStatus = {ui->optCaseStatus_0, ui->optCaseStatus_1};
    optCollectionType = {ui->optCollectionType_0, ui->optCollectionType_1};
    optAcceptChecks = {ui->optAcceptChecks_0, ui->optAcceptChecks_1};
    chkNotice = {ui->chkNotice_0, ui->chkNotice_1, ui->chkNotice_2, ui->chkNotice_3,
                 ui->chkNotice_4, ui->chkNotice_5, ui->chkNotice_6};
    datNotice = {ui->datNotice_0, ui->datNotice_1, ui->datNotice_2, ui->datNotice_3,
                 ui->datNotice_4, ui->datNotice_5, ui->datNotice_6};
    cmdPrintNotice = {ui->cmdPrintNotice_0, ui->cmdPrintNotice_1, ui->cmdPrintNotice_2,
                      ui->cmdPrintNotice_3, ui->cmdPrintNotice_4, ui->cmdPrintNotice_5};
    txtInstallmentAmount = {ui->txtInstallmentAmount_0, ui->txtInstallmentAmount_1, ui->txtInstallmentAmount_2,
                            ui->txtInstallmentAmount_3, ui->txtInstallmentAmount_4};
    datInstallmentDate = {ui->datInstallmentDate_0, ui->datInstallmentDate_1, ui->datInstallmentDate_2,
                          ui->datInstallmentDate_3, ui->datInstallmentDate_4};
    mnuAddNSF = {ui->mnuAddNSF_0, ui->mnuAddNSF_1, ui->mnuAddNSF_2, ui->mnuAddNSF_3, ui->mnuAddNSF_4};
}

std::array<AmountLabel*, 7> frmCaseDetails::amountLabels() const {
    return {ui->lblCheckAmount, ui->lblProcessingFee, ui->lblCollectionFee, ui->lblCollectable,
            ui->lblPaidAmount,  ui->lblBalance,       nullptr};
}

void frmCaseDetails::setCaseKey(qint64 key) {
    m_caseKey = key;
    showCaseKey();
    adjustCaseNavigation();
}

bool frmCaseDetails::caseOnDisplay() const {
    return ui->tabCases->isEnabledTo(this);
}

void frmCaseDetails::showCaseKey() {
    ui->panCaseNavigate->setText(m_caseKey != 0 && caseOnDisplay() ? QString::number(m_caseKey) : QString());
}

void frmCaseDetails::adjustCaseNavigation() {
    const bool browsing = ui->cmdNewCase->text() == QLatin1String("&New Case");
    for (QAbstractButton* b : cmdCaseNavigate) setAvailable(b, browsing && m_caseKey != 0);
}

void frmCaseDetails::setCustomerKey(qint64 key) {
    m_customerKey = key;
    ui->panCustomerNavigate->setText(key ? QString::number(key) : QString());
}

void frmCaseDetails::setCaseCustomerKey(qint64 key) {
    m_caseCustomerKey = key;
    ui->lblCustomerID->setText(key ? QString::number(key) : QString());
}

// The screen sees keys before its controls: any key but Tab and Shift+Tab (which only move the
// focus) marks the case changed.
void frmCaseDetails::installKeyPreview() {
    for (QWidget* child : findChildren<QWidget*>()) child->installEventFilter(this);
}

bool frmCaseDetails::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress: {
        const int key = static_cast<QKeyEvent*>(event)->key();
        // Typing into the find box changes nothing of the case.
        if (key != Qt::Key_Tab && key != Qt::Key_Backtab && watched != ui->txtFind) bCaseDirty = true;
        break;
    }
    case QEvent::ToolTip:
        // A picker entry too long for the picker (a small desktop, a long name) shows whole on hover.
        if (watched == ui->cboCustomerList || watched == ui->cboCustomerList->lineEdit()) {
            const QString entry = ui->cboCustomerList->currentText();
            QLineEdit* edit = ui->cboCustomerList->lineEdit();
            if (edit->fontMetrics().horizontalAdvance(entry) > edit->contentsRect().width() - 4)
                QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), entry, edit);
            else
                QToolTip::hideText();
            return true;
        }
        break;
    case QEvent::Resize:
    case QEvent::Move:
        if (watched == ui->tabCases) {
            // Over the pages, just below the tabs (whose height follows the font and the scaling).
            const QRect tabs = ui->tabCases->geometry();
            ui->panNoCases->setGeometry(tabs.adjusted(8, ui->tabCases->tabBar()->height() + 4, -8, -8));
        }
        break;
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}
