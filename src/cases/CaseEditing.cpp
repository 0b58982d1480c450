// The browse and new-case states and the buttons that act on the case as a whole.
#include "cases/frmCaseDetails.h"
#include "core/AppInfo.h"
#include "core/ErrorHandling.h"
#include "core/Platform.h"
#include "data/DatabaseProcs.h"
#include "screens/frmSuggestions.h"
#include "ui_frmCaseDetails.h"
#include "widgets/DatePicker.h"
#include "widgets/WidgetUtilities.h"

namespace {
constexpr int DropDownTextLimit = 30;

// A drop-down's typed text is cut back to 30 characters as keys come in.
void limitTypedText(QComboBox* combo) {
    if (!combo->lineEdit()) return;
    new KeyPressFilter(combo->lineEdit(), [combo](int keyAscii) {
        if (combo->currentText().size() >= DropDownTextLimit) combo->setEditText(combo->currentText().left(DropDownTextLimit));
        return keyAscii;
    });
}

const QStringList FinalResultSuggestions = {QStringLiteral("Paid in Full"), QStringLiteral("Partially Paid"),
                                            QStringLiteral("Can't Pay"), QStringLiteral("Can't Locate")};
const QStringList CheckTypeSuggestions = {QStringLiteral("NSF"), QStringLiteral("Account Closed")};
} // namespace

void frmCaseDetails::connectEditing() {
    cmdTypeSuggestion = {ui->cmdTypeSuggestion_0, ui->cmdTypeSuggestion_1};
    connect(ui->cmdNewCase, &QAbstractButton::clicked, this, [this] { cmdNewCase_Click(); });
    connect(ui->cmdDeleteCase, &QAbstractButton::clicked, this, [this] { cmdDeleteCase_Click(); });
    connect(ui->cmdRevert, &QAbstractButton::clicked, this, [this] { cmdRevert_Click(); });
    for (int i = 0; i < 2; ++i)
        connect(cmdTypeSuggestion[i], &QAbstractButton::clicked, this, [this, i] { cmdTypeSuggestion_Click(i); });
    connect(ui->cboCheckType, &QComboBox::activated, this, [this] { bCaseDirty = true; });
    for (DatePicker* picker : {ui->datReceived, ui->datCheckDate})
        connect(picker, &DatePicker::userPicked, this, [this] { bCaseDirty = true; });
    for (QLineEdit* box : {ui->txtAcountNum, ui->txtBranchNum, ui->txtCheckNum, ui->txtTransitNum})
        util_OnEvent(box, QEvent::FocusIn, [box](QEvent*) { util_SelectAllText(box); });
    limitTypedText(ui->cboCheckType);
    limitTypedText(ui->cboFinalResult);
}

void frmCaseDetails::setAvailable(QObject* control, bool enabled) {
    if (auto* widget = qobject_cast<QWidget*>(control))
        widget->setEnabled(enabled);
    else if (auto* action = qobject_cast<QAction*>(control))
        action->setEnabled(enabled);
}

void frmCaseDetails::func_EnableControls(bool enable) {
    ErrorGuard g(QStringLiteral("frmCaseDetails ! func_EnableControls"));
    g.run([&] {
        ui->cmdNewCase->setText(enable ? QStringLiteral("&New Case") : QStringLiteral("&Save Case"));
        ui->cmdDeleteCase->setText(enable ? QStringLiteral("&Delete Case") : QStringLiteral("&Cancel Case"));
        adjustCaseNavigation();
        for (QAbstractButton* b : cmdCustomerNavigate) setAvailable(b, enable);
        for (QAbstractButton* b : cmdCustomerFind) setAvailable(b, enable);
        // While a new case is taken in, nothing may load another case in its place.
        for (QObject* control : std::initializer_list<QObject*>{
                 ui->cmdCustomerData, ui->panCustomer, ui->cmdRevert, ui->mnuFile->menuAction(),
                 ui->mnuShow->menuAction(), ui->cboView, ui->cmdCaseLookup, ui->cmdFilter, ui->Command1})
            setAvailable(control, enable);
        if (enable) {
            ui->panCustomerNavigate->update();
            ui->panCaseNavigate->update();
        }
    });
}

void frmCaseDetails::func_EnabledCases(bool enable) {
    ErrorGuard g(QStringLiteral("frmCaseDetails ! func_EnabledCases"));
    g.run([&] {
        ui->tabCases->setCurrentIndex(0);
        if (enable) {
            ui->panNoCases->setVisible(false);
            ui->tabCases->setEnabled(true);
            setAvailable(ui->cmdDeleteCase, true);
            setAvailable(ui->cmdRevert, true);
            ui->cmdShowCase->setEnabled(false);
        } else {
            if (!ui->panNoCases->isHidden()) return;
            ui->fraCaseLookup->setVisible(false);
            ui->lblNoCases->setVisible(true);
            ui->panNoCases->raise();
            ui->panNoCases->setVisible(true);
            ui->tabCases->setEnabled(false);
            ui->cmdDeleteCase->setEnabled(false);
            ui->cmdRevert->setEnabled(false);
            // A case of another customer is still loaded: the user can go back to it.
            if (caseKey() != 0) setAvailable(ui->cmdShowCase, true);
        }
        showCaseKey();
    });
}

void frmCaseDetails::cmdNewCase_Click() {
    ErrorGuard g(QStringLiteral("frmCaseDetails ! cmdNewCase_Click"));
    if (ui->cmdNewCase->text() == QLatin1String("&New Case")) {
        // Changes to the case on display are saved first, as when moving to another case; a case
        // that cannot be saved stays on display.
        if (caseKey() != 0 && !saveChangedCase()) return;
        if (!g.run([&] {
                sCaseMode = QStringLiteral("N");
                func_ClearCaseData();
                func_EnabledCases(true);
                func_EnableControls(false);
                ui->tabCases->setCurrentIndex(1);
                ui->txtAmount->setFocus();
            }))
            return;
        return;
    }
    // "&Save Case": the new case stays on display with its new key; a failed save keeps the entry.
    if (!func_SaveCase(true)) return;
    sCaseMode.clear();
    bCaseDirty = false;
    if (!g.run([&] { func_EnableControls(true); })) return;
    // The customer's case list and the picker's open-case details now include the new case.
    if (!g.run([&] { func_DisplayCustomersCases(); })) return;
    g.run([&] { func_RefreshCustomerList(); });
}

void frmCaseDetails::cmdDeleteCase_Click() {
    ErrorGuard g(QStringLiteral("frmCaseDetails ! cmdDeleteCase_Click"));
    if (ui->cmdDeleteCase->text() == QLatin1String("&Delete Case")) {
        if (msgBox(QStringLiteral("Are you sure you want to eliminate this record?  It may prove to be a valuable "
                                  "reference in the future."),
                   Platform::YesNo + Platform::Question, QStringLiteral("Delete Case")) != Platform::Yes)
            return;
        if (!g.run([&] {
                data_DeleteRecord(DatabasePath, QStringLiteral("Cases"), QStringLiteral("PrimaryKey"), Value(caseKey()));
            }))
            return;
    } else {
        if (msgBox(QStringLiteral("Are you sure you want to cancel this new record?"),
                   Platform::YesNo + Platform::Question, QStringLiteral("Cancel Case")) != Platform::Yes)
            return;
        sCaseMode.clear();
        if (!g.run([&] { func_EnableControls(true); })) return;
    }
    // What was on screen has been thrown away on purpose.
    bCaseDirty = false;
    g.run([&] { func_GetCaseRecord(NoKey, false, 0, sOpenCasesSQL); });
}

void frmCaseDetails::cmdRevert_Click() {
    ErrorGuard g(QStringLiteral("frmCaseDetails ! cmdRevert_Click"));
    g.run([&] { func_GetCaseRecord(caseKey(), false); });
}

void frmCaseDetails::cmdTypeSuggestion_Click(int index) {
    ErrorGuard g(QStringLiteral("frmCaseDetails ! cmdTypeSuggestion_Click"));
    g.run([&] {
        frmSuggestions suggestions(this);
        suggestions.setSuggestions((index == 0 ? FinalResultSuggestions : CheckTypeSuggestions).join(QStringLiteral("\r\n")));
        platform().showModal(&suggestions);
    });
}
