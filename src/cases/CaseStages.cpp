// The collection stages of a case: the stage boxes with their dates and print buttons, the stage
// shown on the Case tab and its colour by age, the advice to refuse further cheques.
#include "cases/CaseLogic.h"
#include "cases/frmCaseDetails.h"
#include "core/AppInfo.h"
#include "core/ErrorHandling.h"
#include "core/Format.h"
#include "core/Platform.h"
#include "data/DatabaseProcs.h"
#include "data/engine/Recordset.h"
#include "ui_frmCaseDetails.h"
#include "widgets/CaptionLabel.h"
#include "widgets/DatePicker.h"
#include "widgets/WidgetUtilities.h"

namespace {
// Today without a time of day.
QDateTime today() { return QDateTime(platform().now().date(), QTime(0, 0)); }

void paintBackground(QLabel* label, const QColor& colour) {
    QPalette p = label->palette();
    p.setColor(QPalette::Window, colour);
    label->setPalette(p);
}
} // namespace

void frmCaseDetails::connectStages() {
    for (int i = 0; i < 7; ++i) {
        QCheckBox* box = chkNotice[i];
        connect(box, &QCheckBox::stateChanged, this, [this, i] { chkNotice_Click(i); });
        // A change while the box has the focus is the user's own click.
        util_OnEvent(box, QEvent::FocusIn, [this](QEvent*) { bStageBoxFocus = true; });
        util_OnEvent(box, QEvent::FocusOut, [this](QEvent*) { bStageBoxFocus = false; });
        util_OnEvent(box, QEvent::MouseButtonPress, [this](QEvent*) { bCaseDirty = true; });
        connect(datNotice[i], &DatePicker::userPicked, this, [this, i] { datNotice_Click(i); });
    }
    connect(ui->lblStageDate, &CaptionLabel::changed, this, [this] { lblStageDate_Change(); });
    connect(ui->chkNoAccept, &QCheckBox::stateChanged, this, [this] { chkNoAccept_Click(); });
    for (int i = 0; i < 2; ++i)
        connect(optAcceptChecks[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on) optAcceptChecks_Click(i);
        });
}

void frmCaseDetails::chkNotice_Click(int index) {
    ErrorGuard g(QStringLiteral("frmCaseDetails ! chkNotice_Click"));
    // The highest stage still checked.
    int k = 0;
    QDateTime stageDate;
    QString stageName;
    for (int i = 6; i >= 0; --i) {
        if (chkNotice[i]->isChecked()) {
            k = i;
            stageDate = datNotice[i]->value();
            stageName = StageNames[i];
            break;
        }
    }

    if (chkNotice[index]->isChecked()) {
        if (bStageBoxFocus) {
            if (!g.run([&] {
                    datNotice[index]->setValue(today());
                    ui->lblStageDate->setCaption(fmt_Date(platform().now(), QStringLiteral("mmm d, yyyy")));
                    ui->lblStage->setCaption(StageNames[index]);
                }))
                return;
            if (!g.run([&] {
                    if (iAddNSFStage <= index) ui->chkAddNSF->setChecked(true);
                }))
                return;
            if (index >= CollectionStage) {
                if (!g.run([&] {
                        if (!ui->chkNoAccept->isChecked()) {
                            clearAcceptChecks();
                            ui->lblNoMore->setVisible(true);
                        }
                    }))
                    return;
                if (!g.run([&] { func_Recalc(); })) return;
            }
        }
        g.run([&] {
            datNotice[index]->setVisible(true);
            if (index > 0) cmdPrintNotice[index - 1]->setVisible(true);
        });
        return;
    }

    if (!g.run([&] {
            datNotice[index]->setVisible(false);
            if (index > 0) cmdPrintNotice[index - 1]->setVisible(false);
        }))
        return;
    if (!bStageBoxFocus) return;
    g.run([&] {
        ui->lblStage->setCaption(stageName);
        ui->lblStageDate->setCaption(stageDate.isValid() ? fmt_ShortDate(stageDate) : QString());
        ui->chkAddNSF->setChecked(k >= iAddNSFStage);
        if (index < CollectionStage) ui->lblNoMore->setVisible(false);
    });
}

void frmCaseDetails::datNotice_Click(int) {
    ErrorGuard g(QStringLiteral("frmCaseDetails ! datNotice_Click"));
    g.run([&] {
        for (int k = 6; k >= 0; --k) {
            if (!chkNotice[k]->isChecked()) continue;
            ui->lblStageDate->setCaption(fmt_ShortDate(datNotice[k]->value()));
            ui->lblStage->setCaption(StageNames[k]);
            break;
        }
    });
    bCaseDirty = true;
}

void frmCaseDetails::lblStageDate_Change() {
    sStageDate = ui->lblStageDate->caption();
    colourStageLabels();
}

void frmCaseDetails::colourStageLabels() {
    ErrorGuard g(QStringLiteral("frmCaseDetails ! lblStageDate_Change"));
    g.run([&] {
        StageColour colour = StageColour::Normal;
        if (!sStageDate.isEmpty() && ui->lblStage->caption() != StageNames[CollectionStage]) {
            const QDateTime date = util_ReadDate(sStageDate);
            if (!date.isValid()) throw AppError(ErrNo::TypeMismatch, QStringLiteral("Type mismatch"));
            colour = case_StageColour(platform().now(), date, ui->lblStage->caption());
        }
        const QColor background = colour == StageColour::Yellow ? QColor(0xff, 0xff, 0x00)
                                  : colour == StageColour::Red  ? QColor(0xff, 0x00, 0x00)
                                                                : ui->lblStage->palette().color(QPalette::Button);
        paintBackground(ui->lblStage, background);
        paintBackground(ui->lblStageDate, background);
    });
}

void frmCaseDetails::func_CosmeticCaseAdjustments(Recordset& rs) {
    ErrorGuard g(QStringLiteral("frmCaseDetails ! func_CosmeticCaseAdjustments"));
    if (!g.run([&] {
            const bool closed = optCaseStatus[1]->isChecked();
            ui->cboFinalResult->setEnabled(closed);
            if (!closed) ui->cboFinalResult->setEditText(QString());
        }))
        return;
    if (!g.run([&] { ui->lblProcessingFee->setVisible(ui->chkAddNSF->isChecked()); })) return;
    if (!g.run([&] {
            const bool anyStage = std::any_of(chkNotice.begin(), chkNotice.end(),
                                              [](const QCheckBox* box) { return box->isChecked(); });
            // Without a stage only the stage labels are emptied: whether the fee is owed is the
            // case's own stored choice, and the amounts shown must agree with the stored ones.
            if (!anyStage) {
                ui->lblStageDate->setCaption(QString());
                ui->lblStage->setCaption(QString());
            }
        }))
        return;
    if (!g.run([&] {
            if (!ui->lblNoMore->isHidden()) {
                clearAcceptChecks();
                ui->lblNoMore->setVisible(false);
            }
        }))
        return;
    if (!g.run([&] {
            if (!sStageDate.isEmpty()) colourStageLabels();
        }))
        return;
    if (!g.run([&] {
            const Value add = rs.value(QStringLiteral("IncludeCollectionCharges"));
            setCollectionChargesDirection(!add.isNull() && add.toBool());
        }))
        return;
    bNavigatingCases = false;
    g.run([&] { func_Recalc(); });
}

void frmCaseDetails::chkNoAccept_Click() {
    ErrorGuard g(QStringLiteral("frmCaseDetails ! chkNoAccept_Click"));
    if (!g.run([&] {
            data_vChangeDBValue(DatabasePath, QStringLiteral("Address"), QStringLiteral("NoMoreChecks"),
                                Value(ui->chkNoAccept->isChecked()), QStringLiteral("PrimaryKey"),
                                Value(customerKey()));
        }))
        return;
    g.run([&] { util_ColourCaptionByCheck(ui->chkNoAccept); });
}

void frmCaseDetails::optAcceptChecks_Click(int index) {
    ErrorGuard g(QStringLiteral("frmCaseDetails ! optAcceptChecks_Click"));
    if (!g.run([&] { ui->chkNoAccept->setChecked(index == 0); })) return;
    g.run([&] { ui->lblNoMore->setVisible(false); });
}

// Neither option selected: the group's exclusivity is lifted for the moment.
void frmCaseDetails::clearAcceptChecks() {
    for (QRadioButton* option : optAcceptChecks) {
        option->setAutoExclusive(false);
        const QSignalBlocker blocker(option);
        option->setChecked(false);
        option->setAutoExclusive(true);
    }
}
