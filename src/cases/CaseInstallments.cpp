// The five installments of a case: their amounts, their dates and the first-key dating.
#include "cases/frmCaseDetails.h"
#include "core/ErrorHandling.h"
#include "core/Format.h"
#include "core/Platform.h"
#include "core/Utilities.h"
#include "ui_frmCaseDetails.h"
#include "widgets/DatePicker.h"
#include "widgets/WidgetUtilities.h"

#include <QKeyEvent>

void frmCaseDetails::connectInstallments() {
    for (int i = 0; i < 5; ++i) {
        QLineEdit* box = txtInstallmentAmount[i];
        connect(box, &QLineEdit::textChanged, this, [this, i] { txtInstallmentAmount_Change(i); });
        util_OnEvent(box, QEvent::FocusIn, [box](QEvent*) { util_SelectAllText(box); });
        new KeyPressFilter(box, [this, i, box](int keyAscii) {
            const int key = util_ForceNumbersOnly(box->text(), keyAscii, false);
            // The first key typed into an installment without a date dates it today.
            if (datInstallmentDate[i]->isHidden()) bInstallmentDateDue = true;
            return key;
        });
        util_OnEvent(box, QEvent::KeyRelease, [this, i](QEvent* event) {
            if (!static_cast<QKeyEvent*>(event)->isAutoRepeat()) txtInstallmentAmount_KeyUp(i);
        });
        util_OnEvent(box, QEvent::FocusOut, [this, i](QEvent*) { txtInstallmentAmount_LostFocus(i); });
        connect(datInstallmentDate[i], &DatePicker::userPicked, this, [this] { bCaseDirty = true; });
    }
}

void frmCaseDetails::txtInstallmentAmount_Change(int index) {
    ErrorGuard g(QStringLiteral("frmCaseDetails ! txtInstallmentAmount_Change"));
    const QString text = txtInstallmentAmount[index]->text();
    if (!text.isEmpty() && !money_bEntryTooLarge(text, EntryKind::Amount))
        if (!g.run([&] { datInstallmentDate[index]->setVisible(!money_Read(text).isZero()); })) return;
    if (!bNavigatingCases) g.run([&] { func_Recalc(); });
}

void frmCaseDetails::txtInstallmentAmount_KeyUp(int index) {
    if (!bInstallmentDateDue) return;
    bInstallmentDateDue = false;
    datInstallmentDate[index]->setValue(QDateTime(platform().now().date(), QTime(0, 0)));
}

void frmCaseDetails::txtInstallmentAmount_LostFocus(int index) {
    ErrorGuard g(QStringLiteral("frmCaseDetails ! txtInstallmentAmount_LostFocus"));
    QLineEdit* box = txtInstallmentAmount[index];
    if (util_bRefuseTooLargeEntry(box, EntryKind::Amount)) return;
    if (!g.run([&] {
            if (box->text().isEmpty()) box->setText(QStringLiteral("0"));
            box->setText(fmt_Currency(money_Read(box->text())));
        }))
        return;
    if (box->text() == fmt_Currency(Money())) datInstallmentDate[index]->setVisible(false);
}
