// The money of a case: the processing fee, the collection charge, the collectable amount, the paid
// amount and the balance, and the controls that steer them.
#include "cases/CaseLogic.h"
#include "cases/frmCaseDetails.h"
#include "core/AppInfo.h"
#include "core/ErrorHandling.h"
#include "core/Format.h"
#include "core/Help.h"
#include "data/ConfigSettings.h"
#include "ui_frmCaseDetails.h"
#include "widgets/CaptionLabel.h"
#include "widgets/WidgetUtilities.h"

namespace {
const QString AddCharges = QStringLiteral("Add in collection charges:");
const QString DeductCharges = QStringLiteral("Deduct collection charges:");
} // namespace

void frmCaseDetails::connectAmounts() {
    connect(ui->txtAmount, &QLineEdit::textChanged, this, [this] { txtAmount_Change(); });
    connect(ui->txtCollectionDollar, &QLineEdit::textChanged, this, [this] { func_AddDollar(); });
    connect(ui->txtCollectionPercent, &QLineEdit::textChanged, this, [this] { func_AddPercent(); });
    for (QLineEdit* box : {ui->txtAmount, ui->txtCollectionDollar, ui->txtCollectionPercent}) {
        util_OnEvent(box, QEvent::FocusIn, [box](QEvent*) { util_SelectAllText(box); });
        util_InstallNumbersOnly(box, false);
    }
    // Leaving an amount box writes it in the money format, the percentage in the standard format; a
    // figure beyond what the box takes is refused first.
    const auto reformatOnLeave = [this](QLineEdit* box, EntryKind kind) {
        util_OnEvent(box, QEvent::FocusOut, [this, box, kind](QEvent*) {
            if (util_bRefuseTooLargeEntry(box, kind)) return;
            ErrorGuard g(QStringLiteral("frmCaseDetails ! ") + box->objectName() + QStringLiteral("_LostFocus"));
            g.run([&] {
                if (box->text().isEmpty()) return;
                box->setText(kind == EntryKind::Amount ? fmt_Currency(money_Read(box->text()))
                                                       : fmt_Standard(util_dReadNumber(box->text())));
            });
        });
    };
    reformatOnLeave(ui->txtAmount, EntryKind::Amount);
    reformatOnLeave(ui->txtCollectionDollar, EntryKind::Amount);
    reformatOnLeave(ui->txtCollectionPercent, EntryKind::Percentage);

    for (int i = 0; i < 2; ++i)
        connect(optCollectionType[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on) optCollectionType_Click(i);
        });
    connect(ui->chkIncludeNSF, &QCheckBox::stateChanged, this, [this] { chkIncludeNSF_Click(); });
    connect(ui->chkAddCollectionFee, &QCheckBox::stateChanged, this, [this] { chkAddCollectionFee_Click(); });
    connect(ui->cmdCollectionCharges, &QAbstractButton::clicked, this, [this] { cmdCollectionCharges_Click(); });
    connect(ui->chkAddNSF, &QCheckBox::stateChanged, this, [this] { chkAddNSF_Click(); });
    for (int i = 0; i < 5; ++i) {
        mnuAddNSF[i]->setCheckable(true);
        connect(mnuAddNSF[i], &QAction::triggered, this, [this, i] { mnuAddNSF_Click(i); });
    }
    // Only a user's press marks the case changed; values set by code do not.
    for (QWidget* w : std::initializer_list<QWidget*>{ui->chkAddNSF, ui->chkIncludeNSF, ui->chkAddCollectionFee,
                                                      optCollectionType[0], optCollectionType[1]})
        util_OnEvent(w, QEvent::MouseButtonPress, [this](QEvent*) { bCaseDirty = true; });
    connect(ui->cmdMessage, &QAbstractButton::clicked, this, [this] { cmdMessage_Click(); });
}

void frmCaseDetails::func_Recalc() {
    ErrorGuard g(QStringLiteral("frmCaseDetails ! func_Recalc"));
    const bool inCollection = chkNotice[CollectionStage]->isChecked();
    Money charge;
    Money collectable;
    if (!g.run([&] { dCheckAmount = ui->lblCheckAmount->amount(); })) return;
    if (!g.run([&] {
            const bool byPercent = optCollectionType[0]->isChecked();
            const bool includeNSF = ui->chkIncludeNSF->isChecked();
            // The percentage taken of the processing fee too makes the fee due.
            if (inCollection && byPercent && includeNSF && !ui->chkAddNSF->isChecked()) ui->chkAddNSF->setChecked(true);
            charge = case_CollectionCharge(
                {dCheckAmount, dNSFfee, dCollectionPercent, dCollectionDollars, inCollection, byPercent, includeNSF});
        }))
        return;
    if (!g.run([&] { ui->lblCollectionFee->setAmount(charge); })) return;
    if (!g.run([&] {
            collectable = case_Collectable(dCheckAmount, ui->chkAddNSF->isChecked(), dNSFfee, inCollection,
                                           ui->cmdCollectionCharges->text() == QLatin1String("+"), charge);
            ui->lblCollectable->setAmount(collectable);
        }))
        return;
    if (bLoading) return;
    Money paid;
    if (!g.run([&] {
            QStringList texts;
            for (QLineEdit* box : txtInstallmentAmount) {
                // A figure beyond what the box takes is refused when the box is left; until then
                // the sums wait.
                if (money_bEntryTooLarge(box->text(), EntryKind::Amount)) return;
                texts << box->text();
            }
            paid = case_PaidAmount(texts);
            ui->lblBalance->setAmount(collectable - paid);
            ui->lblPaidAmount->setAmount(paid);
        }))
        return;
}

// The charge typed into its box becomes the one in force; a case in collection is recalculated. A
// figure beyond what the box takes is left for the box's leaving rule to refuse.
template <class T> void frmCaseDetails::takeCharge(const QString& procedure, const QLineEdit* box, T& charge) {
    ErrorGuard g(QStringLiteral("frmCaseDetails ! ") + procedure);
    if (bLoading) return;
    constexpr EntryKind kind = std::is_same_v<T, Money> ? EntryKind::Amount : EntryKind::Percentage;
    if (money_bEntryTooLarge(box->text(), kind)) return;
    if (!g.run([&] {
            if (box->text().isEmpty()) return;
            if constexpr (kind == EntryKind::Amount)
                charge = money_Read(box->text());
            else
                charge = util_dReadNumber(box->text());
        }))
        return;
    if (!bNavigatingCases && chkNotice[CollectionStage]->isChecked()) g.run([&] { func_Recalc(); });
}

void frmCaseDetails::func_AddDollar() {
    takeCharge(QStringLiteral("func_AddDollar"), ui->txtCollectionDollar, dCollectionDollars);
}

void frmCaseDetails::func_AddPercent() {
    takeCharge(QStringLiteral("func_AddPercent"), ui->txtCollectionPercent, dCollectionPercent);
}

void frmCaseDetails::func_LoadCollectionSettings() {
    ErrorGuard g(QStringLiteral("frmCaseDetails ! func_LoadCollectionSettings"));
    if (!g.run([&] {
            ui->mnuPrintNoticesToScreen->setCheckable(true);
            ui->mnuPrintNoticesToScreen->setChecked(config_Bool(QStringLiteral("PrintNoticesToScreen")));
        }))
        return;
    if (!g.run([&] {
            dNSFfee = config_Money(QStringLiteral("NSFfee"));
            dCollectionPercent = config_Number(QStringLiteral("CollectionChargePercent"));
            dCollectionDollars = config_Money(QStringLiteral("CollectionChargeDollars"));
        }))
        return;
    if (!g.run([&] {
            if (auto company = config_Text(QStringLiteral("CollectionCompanyName"))) sCollectionCompany = *company;
            if (auto officer = config_Text(QStringLiteral("CollectionOfficerName"))) sCollectionOfficer = *officer;
        }))
        return;
    if (!g.run([&] { bIncludeNSF = config_Bool(QStringLiteral("IncludeNSF")); })) return;
    if (!g.run([&] { ui->lblProcessingFee->setAmount(dNSFfee); })) return;
    g.run([&] {
        // A stage outside 0 to 4 (or none stored yet) counts as the first stage.
        const double stage = config_Number(QStringLiteral("AddNSF"));
        iAddNSFStage = (stage >= 0 && stage <= 4) ? int(stage) : 0;
        for (int i = 0; i < 5; ++i) mnuAddNSF[i]->setChecked(i == iAddNSFStage);
    });
}

void frmCaseDetails::txtAmount_Change() {
    ErrorGuard g(QStringLiteral("frmCaseDetails ! txtAmount_Change"));
    if (ui->txtAmount->text().isEmpty()) return;
    // A figure beyond what the box takes is refused when the box is left; until then nothing follows it.
    if (money_bEntryTooLarge(ui->txtAmount->text(), EntryKind::Amount)) return;
    if (!g.run([&] { dCheckAmount = money_Read(ui->txtAmount->text()); })) return;
    if (!g.run([&] { ui->lblCheckAmount->setAmount(dCheckAmount); })) return;
    if (!bNavigatingCases && !chkNotice[CollectionStage]->isChecked()) g.run([&] { func_Recalc(); });
}

void frmCaseDetails::optCollectionType_Click(int) {
    if (optCollectionType[0]->isChecked())
        func_AddPercent();
    else
        func_AddDollar();
}

void frmCaseDetails::chkIncludeNSF_Click() {
    ErrorGuard g(QStringLiteral("frmCaseDetails ! chkIncludeNSF_Click"));
    if (bNavigatingCases) return;
    if (chkNotice[CollectionStage]->isChecked()) g.run([&] { func_Recalc(); });
}

void frmCaseDetails::setCollectionChargesDirection(bool add) {
    ui->cmdCollectionCharges->setText(add ? QStringLiteral("+") : QStringLiteral("-"));
    ui->lblCollectionCharges->setText(add ? AddCharges : DeductCharges);
}

void frmCaseDetails::chkAddCollectionFee_Click() {
    ErrorGuard g(QStringLiteral("frmCaseDetails ! chkAddCollectionFee_Click"));
    if (bNavigatingCases) return;
    if (!g.run([&] { setCollectionChargesDirection(ui->chkAddCollectionFee->isChecked()); })) return;
    if (chkNotice[CollectionStage]->isChecked()) g.run([&] { func_Recalc(); });
}

void frmCaseDetails::cmdCollectionCharges_Click() {
    ErrorGuard g(QStringLiteral("frmCaseDetails ! cmdCollectionCharges_Click"));
    if (bNavigatingCases) return;
    if (!g.run([&] {
            const bool add = ui->cmdCollectionCharges->text() != QLatin1String("+");
            setCollectionChargesDirection(add);
            ui->chkAddCollectionFee->setChecked(add);
        }))
        return;
    if (chkNotice[CollectionStage]->isChecked())
        if (!g.run([&] { func_Recalc(); })) return;
    bCaseDirty = true;
}

void frmCaseDetails::chkAddNSF_Click() {
    ErrorGuard g(QStringLiteral("frmCaseDetails ! chkAddNSF_Click"));
    if (bNavigatingCases) return;
    if (!g.run([&] {
            if (ui->chkAddNSF->isChecked()) {
                ui->lblProcessingFee->setVisible(true);
                ui->lblProcessingFee->setAmount(config_Money(QStringLiteral("NSFfee")));
            } else {
                ui->lblProcessingFee->setVisible(false);
            }
        }))
        return;
    g.run([&] { func_Recalc(); });
}

void frmCaseDetails::mnuAddNSF_Click(int index) {
    ErrorGuard g(QStringLiteral("frmCaseDetails ! mnuAddNSF_Click"));
    if (!g.run([&] {
            for (QAction* item : mnuAddNSF) item->setChecked(false);
            iAddNSFStage = index;
            mnuAddNSF[index]->setChecked(true);
        }))
        return;
    if (!g.run([&] {
            const bool due = index < 4 ? chkNotice[index]->isChecked()
                                       : (chkNotice[4]->isChecked() || chkNotice[5]->isChecked() ||
                                          chkNotice[6]->isChecked());
            if (due) ui->chkAddNSF->setChecked(true);
        }))
        return;
    g.run([&] { config_Write(QStringLiteral("AddNSF"), Value(index)); });
}

void frmCaseDetails::cmdMessage_Click() {
    HelpTopic = QStringLiteral("Potential_problem_applying_processing_fee.htm");
    api_DisplayHTMLHelp(QStringLiteral("Topic"));
}
