// The customer picker, the default "Show As" names and the customer block of the case screen.
#include "cases/CaseListLogic.h"
#include "cases/CustomerPickerModel.h"
#include "cases/frmCaseDetails.h"
#include "core/AppInfo.h"
#include "core/ErrorHandling.h"
#include "core/Platform.h"
#include "core/Scoped.h"
#include "core/Utilities.h"
#include "customers/CustomerLogic.h"
#include "data/engine/Database.h"
#include "ui_frmCaseDetails.h"
#include "widgets/WidgetUtilities.h"

#include <QFocusEvent>

void frmCaseDetails::connectPicker() {
    connect(ui->cboCustomerList, &QComboBox::activated, this, [this] { cboCustomerList_Click(); });
    m_picker = new CustomerPickerModel(ui->cboCustomerList);
    ui->cboCustomerList->setModel(m_picker);
    ui->cboCustomerList->setInsertPolicy(QComboBox::NoInsert);
    ui->cboCustomerList->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    util_OnEvent(ui->cboCustomerList, QEvent::FocusIn, [this](QEvent* event) {
        // Focus coming back from the open list itself, or from another window, is no new visit.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason) cboCustomerList_GotFocus();
    });
    connect(ui->mnuAssignDefaultShowAs, &QAction::triggered, this, [this] { mnuAssignDefaultShowAs_Click(); });
}

qint64 frmCaseDetails::pickerKey(int index) const {
    return m_picker->customerAt(index);
}

void frmCaseDetails::selectPickerCustomer(qint64 customer) {
    const int index = m_picker->rowOf(customer);
    if (index < 0) return; // not listed (added since the start): the picker stays as it is
    {
        const QSignalBlocker blocker(ui->cboCustomerList);
        ui->cboCustomerList->setCurrentIndex(index);
    }
    util_ShowTextFromStart(ui->cboCustomerList);
}

void frmCaseDetails::func_PopulateCustomerList() {
    ErrorGuard g(QStringLiteral("frmCaseDetails ! func_PopulateCustomerList"));
    QList<PickerEntry> entries;
    if (!g.run([&] { entries = case_ReadPickerEntries(DatabasePath); })) return;
    if (entries.isEmpty()) return;
    if (!g.run([&] {
            const QSignalBlocker blocker(ui->cboCustomerList);
            m_picker->setEntries(std::move(entries));
        }))
        return;
    if (!g.run([&] {
            if (caseCustomerKey() == 0) {
                {
                    const QSignalBlocker blocker(ui->cboCustomerList);
                    ui->cboCustomerList->setCurrentIndex(0);
                }
                func_CaseGetCustomerRecord(pickerKey(0));
            } else {
                func_CaseGetCustomerRecord(caseCustomerKey());
            }
        }))
        return;
    g.run([&] { util_AdjustWidthOfComboBoxListPortion(this, ui->cboCustomerList); });
}

void frmCaseDetails::func_RefreshCustomerList() {
    ErrorGuard g(QStringLiteral("frmCaseDetails ! func_RefreshCustomerList"));
    QList<PickerEntry> entries;
    if (!g.run([&] { entries = case_ReadPickerEntries(DatabasePath); })) return;
    g.run([&] {
        {
            const QSignalBlocker blocker(ui->cboCustomerList);
            m_picker->setEntries(std::move(entries));
        }
        selectPickerCustomer(customerKey());
        util_AdjustWidthOfComboBoxListPortion(this, ui->cboCustomerList);
    });
}

void frmCaseDetails::func_AssignDefaultShowAsNames() {
    ErrorGuard g(QStringLiteral("frmCaseDetails ! func_AssignDefaultShowAsNames"));
    Database db;
    Recordset rs;
    if (!g.run([&] {
            db = Database::open(DatabasePath);
            rs = db.openTable(QStringLiteral("Address"));
            db.beginTrans();
        }))
        return;
    for (; !rs.eof(); rs.moveNext()) {
        const bool ok = g.run([&] {
            const Value showAs = rs.value(QStringLiteral("ShowAs"));
            if (!showAs.isNull() && !showAs.toString().isEmpty()) return;
            rs.edit();
            rs.setValue(QStringLiteral("ShowAs"),
                        Value(cust_sDefaultShowAs(rs.value(QStringLiteral("LastName")), rs.value(QStringLiteral("FirstName")),
                                                  rs.value(QStringLiteral("Initial")),
                                                  rs.value(QStringLiteral("CompanyName")))));
            rs.update();
        });
        if (!ok) break;
    }
    g.run([&] { db.commitTrans(); });
}

void frmCaseDetails::mnuAssignDefaultShowAs_Click() {
    BusyPointer busy;
    func_AssignDefaultShowAsNames();
    func_RefreshCustomerList();
    msgBox(QStringLiteral("Done"), Platform::OkOnly, QStringLiteral("Assign Default 'Show As' Names"));
}

void frmCaseDetails::cboCustomerList_Click() {
    ErrorGuard g(QStringLiteral("frmCaseDetails ! cboCustomerList_Click"));
    const int index = ui->cboCustomerList->currentIndex();
    if (index < 0) return;
    if (!g.run([&] { func_CaseGetCustomerRecord(pickerKey(index)); })) return;
    // No case on display to keep (the no-cases message is up): the chosen customer's case is shown,
    // or the message stays, now about them.
    if (!caseOnDisplay() && !g.run([&] { func_DisplayAppropriateCase(); })) return;
    util_ShowTextFromStart(ui->cboCustomerList);
}

void frmCaseDetails::cboCustomerList_GotFocus() {
    if (bSkipPickerDropDown) {
        bSkipPickerDropDown = false;
        return;
    }
    if (ui->cboCustomerList->count() > 0) ui->cboCustomerList->showPopup();
    util_ShowTextFromStart(ui->cboCustomerList);
}

void frmCaseDetails::func_DisplayCustomerInfo(Recordset& rs) {
    ErrorGuard g(QStringLiteral("frmCaseDetails ! func_DisplayCustomerInfo"));
    if (!g.run([&] {
            QString block = case_sCustomerTextBlock([&](const QString& name) { return rs.value(name); });
            ui->lblCustomerAddress->setText(block.replace(QChar(13), QChar(10)));
        }))
        return;
    // The key first: the no-more-cheques box writes to the customer on display. The picker names the
    // customer on display too, whichever way they came.
    if (!g.run([&] {
            setCustomerKey(rs.value(QStringLiteral("CustomerID")).toLongLong());
            selectPickerCustomer(customerKey());
        }))
        return;
    if (!g.run([&] {
            const Value noMore = rs.value(QStringLiteral("NoMoreChecks"));
            ui->chkNoAccept->setChecked(!noMore.isNull() && noMore.toBool());
        }))
        return;
    if (!g.run([&] { ui->txtNotes->setPlainText(rs.value(QStringLiteral("Notes")).toString()); })) return;
    g.run([&] { func_DisplayCustomersCases(); });
}
