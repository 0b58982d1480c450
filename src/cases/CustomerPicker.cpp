// The customer picker, the default "Show As" names and the customer block of the case screen.
#include "app/AppInfo.h"
#include "app/ErrorHandling.h"
#include "cases/CaseListLogic.h"
#include "cases/frmCaseDetails.h"
#include "data/engine/Database.h"
#include "ui_frmCaseDetails.h"
#include "util/Platform.h"
#include "util/Scoped.h"
#include "util/Utilities.h"
#include "util/WidgetUtilities.h"

#include <QFocusEvent>
#include <QPainter>
#include <QSet>
#include <QStandardItemModel>

namespace {

// The mark of a customer with an open case.
QIcon openCaseIcon() {
    static const QIcon icon = [] {
        QPixmap pixmap(16, 16);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.setBrush(QColor(0xc0, 0x20, 0x20));
        p.setPen(Qt::NoPen);
        p.drawEllipse(QRectF(2, 2, 12, 12));
        p.setPen(QPen(Qt::white, 2));
        p.drawLine(QPointF(8, 4.5), QPointF(8, 9.5));
        p.drawPoint(QPointF(8, 12));
        return QIcon(pixmap);
    }();
    return icon;
}

// The customer key of a picker item as a number (beside its quoted key).
constexpr int CustomerKeyRole = Qt::UserRole + 1;

QString quotedKey(qint64 key) { return QLatin1Char('"') + QString::number(key) + QLatin1Char('"'); }

void cursorToStart(QComboBox* combo) {
    if (QLineEdit* edit = combo->lineEdit()) {
        edit->deselect();
        edit->setCursorPosition(0);
    }
}

} // namespace

void frmCaseDetails::connectPicker() {
    connect(ui->cboCustomerList, &QComboBox::activated, this, [this] { cboCustomerList_Click(); });
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
    const QString key = ui->cboCustomerList->itemData(index).toString();
    if (key.size() < 2) return 0;
    return util_sStripQuotes(Value(key)).toLongLong();
}

void frmCaseDetails::selectPickerCustomer(qint64 customer) {
    const int index = m_pickerRows.value(customer, -1);
    if (index < 0) return; // not listed (added since the start): the picker stays as it is
    {
        const QSignalBlocker blocker(ui->cboCustomerList);
        ui->cboCustomerList->setCurrentIndex(index);
    }
    cursorToStart(ui->cboCustomerList);
}

void frmCaseDetails::func_PopulateCustomerList() {
    ErrorGuard g(QStringLiteral("frmCaseDetails ! func_PopulateCustomerList"));
    QSet<QString> keys;
    QList<QStandardItem*> withOpenCase;
    QList<QStandardItem*> withoutOpenCase;
    bool filled = false;
    // Every customer once, by the first row that names it; customers with an open case first.
    const auto addRows = [&](const QString& query, bool openCase, QList<QStandardItem*>& items) {
        Database db = Database::open(DatabasePath);
        Recordset rs = db.openDynaset(query);
        if (rs.recordCount() <= 0) return;
        filled = true;
        for (; !rs.eof(); rs.moveNext()) {
            const QString key = quotedKey(rs.value(QStringLiteral("CustomerID")).toLongLong());
            if (keys.contains(key)) continue;
            keys.insert(key);
            auto* item = openCase ? new QStandardItem(openCaseIcon(), QString()) : new QStandardItem();
            item->setText(openCase ? case_sPickerItemText(true, rs.value(QStringLiteral("ShowAs")),
                                                          rs.value(QStringLiteral("Stage")),
                                                          rs.value(QStringLiteral("StageDate")))
                                   : case_sPickerItemText(false, rs.value(QStringLiteral("ShowAs")), Value(), Value()));
            item->setData(key, Qt::UserRole);
            item->setData(rs.value(QStringLiteral("CustomerID")).toLongLong(), CustomerKeyRole);
            items.append(item);
        }
    };
    const auto discard = [&] {
        qDeleteAll(withOpenCase);
        qDeleteAll(withoutOpenCase);
    };
    if (!g.run([&] { addRows(QStringLiteral("q_CustomerListWithOpenCaseDetails"), true, withOpenCase); }))
        return discard();
    if (!g.run([&] { addRows(QStringLiteral("q_CustomerListWithNoOpenCase"), false, withoutOpenCase); }))
        return discard();
    if (!filled) return;

    if (!g.run([&] {
            auto* model = new QStandardItemModel(ui->cboCustomerList);
            model->appendColumn(withoutOpenCase + withOpenCase);
            const QSignalBlocker blocker(ui->cboCustomerList);
            ui->cboCustomerList->setModel(model); // the combo box deletes its previous model
            m_pickerFilled = true;
            // The row of each customer, so that selecting one needs no search through the list.
            m_pickerRows.clear();
            for (int row = 0; row < model->rowCount(); ++row)
                m_pickerRows.insert(model->item(row)->data(CustomerKeyRole).toLongLong(), row);
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
                        Value(case_sDefaultShowAs(rs.value(QStringLiteral("LastName")), rs.value(QStringLiteral("FirstName")),
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
    msgBox(QStringLiteral("Done"), Platform::OkOnly, QStringLiteral("Assign Default 'Show As' Names"));
}

void frmCaseDetails::cboCustomerList_Click() {
    ErrorGuard g(QStringLiteral("frmCaseDetails ! cboCustomerList_Click"));
    const int index = ui->cboCustomerList->currentIndex();
    if (index < 0) return;
    if (!g.run([&] { func_CaseGetCustomerRecord(pickerKey(index)); })) return;
    cursorToStart(ui->cboCustomerList);
}

void frmCaseDetails::cboCustomerList_GotFocus() {
    if (bSkipPickerDropDown) {
        bSkipPickerDropDown = false;
        return;
    }
    if (ui->cboCustomerList->count() > 0) ui->cboCustomerList->showPopup();
    cursorToStart(ui->cboCustomerList);
}

void frmCaseDetails::func_DisplayCustomerInfo(Recordset& rs) {
    ErrorGuard g(QStringLiteral("frmCaseDetails ! func_DisplayCustomerInfo"));
    if (!g.run([&] {
            QString block = case_sCustomerTextBlock([&](const QString& name) { return rs.value(name); });
            ui->lblCustomerAddress->setText(block.replace(QChar(13), QChar(10)));
        }))
        return;
    // The key first: the no-more-cheques box writes to the customer on display.
    if (!g.run([&] { setCustomerKey(rs.value(QStringLiteral("CustomerID")).toLongLong()); })) return;
    if (!g.run([&] {
            const Value noMore = rs.value(QStringLiteral("NoMoreChecks"));
            ui->chkNoAccept->setChecked(!noMore.isNull() && noMore.toBool());
        }))
        return;
    if (!g.run([&] { ui->txtNotes->setPlainText(rs.value(QStringLiteral("Notes")).toString()); })) return;
    g.run([&] { func_DisplayCustomersCases(); });
}
