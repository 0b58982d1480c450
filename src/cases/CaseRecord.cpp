// The case record: clearing the screen for a new case, showing a stored case and saving the case on
// display.
#include "app/AppInfo.h"
#include "app/ErrorHandling.h"
#include "cases/CaptionLabel.h"
#include "cases/CaseLogic.h"
#include "cases/frmCaseDetails.h"
#include "data/ConfigSettings.h"
#include "data/engine/Database.h"
#include "ui_frmCaseDetails.h"
#include "util/DataWidgets.h"
#include "util/DatePicker.h"
#include "util/Format.h"
#include "util/Platform.h"

namespace {

const char* const StageFlagFields[7] = {"PhoneCall", "FirstNotice", "SecondNotice", "FinalNotice",
                                        "Collection", "Police",      "Attorney"};
const char* const StageDateFields[7] = {"PhoneDate",           "FirstNoticeDate",      "SecondNoticeDate",
                                        "FinalNoticeDate",     "CollectionNoticeDate", "PoliceNoticeDate",
                                        "AttorneyNoticeDate"};

QString field(const char* name) { return QString::fromLatin1(name); }
QString installmentAmountField(int i) { return QStringLiteral("Installment%1Amount").arg(i + 1); }
QString installmentDateField(int i) { return QStringLiteral("Installment%1Date").arg(i + 1); }

// A Yes/No field as the screen reads it: Null counts as False.
bool yes(const Value& v) { return !v.isNull() && !v.isEmpty() && v.toBool(); }
// A picker's date as it is stored: only while the picker is shown.
Value pickerDate(const DatePicker* picker) {
    return picker->isHidden() ? Value::null() : Value::date(picker->value());
}
Value checked(const QAbstractButton* box) { return Value(box->isChecked()); }

} // namespace

void frmCaseDetails::func_ClearCaseData() {
    ErrorGuard g(QStringLiteral("frmCaseDetails ! func_ClearCaseData"));
    const QDateTime now = platform().now();
    if (!g.run([&] { optCaseStatus[0]->setChecked(true); })) return;
    if (!g.run([&] { ui->txtReference->setText(proc_sNumberGenerator(now)); })) return;
    if (!g.run([&] { ui->datReceived->setValue(now); })) return;
    if (!g.run([&] {
            ui->lblStage->setCaption(QString());
            ui->lblStageDate->setCaption(QString());
        }))
        return;
    if (!g.run([&] { setCaseCustomerKey(customerKey()); })) return;
    if (!g.run([&] {
            ui->cboFinalResult->setEditText(QString());
            ui->txtDetails->setPlainText(QString());
            ui->datCheckDate->setValue(now);
            ui->cboCheckType->setEditText(QString());
        }))
        return;
    if (!g.run([&] {
            ui->txtAmount->setText(QStringLiteral("$0.00"));
            for (QLineEdit* box : {ui->txtBank, ui->txtBranch, ui->txtAcountNum, ui->txtTransitNum,
                                   ui->txtBranchNum, ui->txtCheckNum})
                box->setText(QString());
        }))
        return;
    if (!g.run([&] {
            if (auto company = config_Text(QStringLiteral("CollectionCompanyName"))) {
                sCollectionCompany = *company;
                ui->txtCollectionCompany->setText(*company);
            }
            if (auto officer = config_Text(QStringLiteral("CollectionOfficerName"))) {
                sCollectionOfficer = *officer;
                ui->txtCollectionContact->setText(*officer);
            }
        }))
        return;
    if (!g.run([&] {
            dCollectionPercent = config_Number(QStringLiteral("CollectionChargePercent"));
            ui->txtCollectionPercent->setText(fmt_Standard(dCollectionPercent));
            dCollectionDollars = config_Number(QStringLiteral("CollectionChargeDollars"));
            ui->txtCollectionDollar->setText(fmt_Currency(dCollectionDollars));
        }))
        return;
    if (!g.run([&] { optCollectionType[dCollectionPercent == 0 ? 1 : 0]->setChecked(true); })) return;
    if (!g.run([&] {
            bIncludeNSF = config_Bool(QStringLiteral("IncludeNSF"));
            ui->chkIncludeNSF->setChecked(bIncludeNSF);
        }))
        return;
    if (!g.run([&] {
            ui->chkAddCollectionFee->setChecked(false);
            for (QCheckBox* box : chkNotice) box->setChecked(false);
        }))
        return;
    if (!g.run([&] { ui->lblCheckAmount->setCaption(QStringLiteral("$0.00")); })) return;
    if (!g.run([&] {
            dNSFfee = config_Number(QStringLiteral("NSFfee"));
            ui->chkAddNSF->setChecked(iAddNSFStage == 0);
        }))
        return;
    g.run([&] {
        ui->lblCollectionFee->setCaption(QStringLiteral("$0.00"));
        ui->lblCollectable->setCaption(QStringLiteral("$0.00"));
        for (QLineEdit* box : txtInstallmentAmount) box->setText(QStringLiteral("$0.00"));
        ui->lblPaidAmount->setCaption(QStringLiteral("$0.00"));
        ui->lblBalance->setCaption(QStringLiteral("$0.00"));
    });
}

void frmCaseDetails::func_DisplayCaseInfo(Recordset& rs) {
    ErrorGuard g(QStringLiteral("frmCaseDetails ! func_DisplayCaseInfo"));
    if (!g.run([&] { func_ClearCaseData(); })) return;
    if (!g.run([&] {
            if (ui->cmdShowCase->isEnabled() && !bLoading) cmdShowCase_Click();
        }))
        return;

    // Fields in the order of the screen's filling; a guarded field is written only when it has a value.
    const auto guarded = [&](const char* name, const std::function<void(const Value&)>& write) {
        return g.run([&] {
            const Value v = rs.value(field(name));
            if (!v.isNull() && !v.isEmpty()) write(v);
        });
    };
    const auto text = [](QLineEdit* box) { return [box](const Value& v) { box->setText(v.toString()); }; };
    const auto date = [](DatePicker* picker) { return [picker](const Value& v) { picker->setValue(v.toDateTime()); }; };
    const auto amount = [](AmountLabel* label) { return [label](const Value& v) { label->setAmount(v.toDouble()); }; };
    const auto currencyText = [](const Value& v) { return v.isNull() ? QString() : fmt_Currency(v.toDouble()); };

    if (!g.run([&] { setCaseKey(rs.value(QStringLiteral("CaseID")).toLongLong()); })) return;
    if (!g.run([&] { optCaseStatus[yes(rs.value(QStringLiteral("CaseOpen"))) ? 0 : 1]->setChecked(true); })) return;
    if (!g.run([&] { ui->txtReference->setText(rs.value(QStringLiteral("ReferenceNumber")).toString()); })) return;
    if (!guarded("DateReceived", date(ui->datReceived))) return;
    if (!guarded("Stage", [&](const Value& v) { ui->lblStage->setCaption(v.toString()); })) return;
    if (!guarded("StageDate", [&](const Value& v) { ui->lblStageDate->setCaption(v.toString()); })) return;
    if (!g.run([&] {
            const Value v = rs.value(QStringLiteral("CustomerID"));
            setCaseCustomerKey(v.isNull() ? 0 : v.toLongLong());
        }))
        return;
    if (!guarded("FinalResult", [&](const Value& v) { ui->cboFinalResult->setEditText(v.toString()); })) return;
    if (!guarded("DetailNotes", [&](const Value& v) { ui->txtDetails->setPlainText(v.toString()); })) return;
    if (!guarded("CheckDate", date(ui->datCheckDate))) return;
    if (!guarded("CheckType", [&](const Value& v) { ui->cboCheckType->setEditText(v.toString()); })) return;
    if (!g.run([&] { ui->txtAmount->setText(currencyText(rs.value(QStringLiteral("CheckAmount")))); })) return;
    if (!guarded("Bank", text(ui->txtBank))) return;
    if (!guarded("Branch", text(ui->txtBranch))) return;
    if (!guarded("AccountNumber", text(ui->txtAcountNum))) return;
    if (!guarded("TransitNumber", text(ui->txtTransitNum))) return;
    if (!guarded("BranchNumber", text(ui->txtBranchNum))) return;
    if (!guarded("CheckNumber", text(ui->txtCheckNum))) return;
    if (!guarded("CollectionCompany", text(ui->txtCollectionCompany))) return;
    if (!guarded("CollectionContact", text(ui->txtCollectionContact))) return;
    if (!g.run([&] {
            const Value v = rs.value(QStringLiteral("CollectionPercent"));
            ui->txtCollectionPercent->setText(v.isNull() ? QString() : fmt_Standard(v.toDouble()));
        }))
        return;
    if (!g.run([&] { ui->txtCollectionDollar->setText(currencyText(rs.value(QStringLiteral("CollectionDollar")))); }))
        return;
    if (!g.run([&] {
            optCollectionType[yes(rs.value(QStringLiteral("PercentCollectionType"))) ? 0 : 1]->setChecked(true);
        }))
        return;
    if (!g.run([&] { ui->chkIncludeNSF->setChecked(yes(rs.value(QStringLiteral("IncludeNSF")))); })) return;
    if (!g.run([&] {
            ui->chkAddCollectionFee->setChecked(yes(rs.value(QStringLiteral("IncludeCollectionCharges"))));
        }))
        return;
    for (int i = 0; i < 7; ++i)
        if (!g.run([&] { chkNotice[i]->setChecked(yes(rs.value(field(StageFlagFields[i])))); })) return;
    for (int i = 0; i < 7; ++i)
        if (!guarded(StageDateFields[i], date(datNotice[i]))) return;
    if (!guarded("CheckAmount", amount(ui->lblCheckAmount))) return;
    if (!g.run([&] { ui->chkAddNSF->setChecked(yes(rs.value(QStringLiteral("AddNSF")))); })) return;
    if (!guarded("CollectionCharge", amount(ui->lblCollectionFee))) return;
    if (!guarded("CollectableAmount", amount(ui->lblCollectable))) return;
    for (int i = 0; i < 5; ++i)
        if (!g.run([&] { txtInstallmentAmount[i]->setText(currencyText(rs.value(installmentAmountField(i)))); }))
            return;
    for (int i = 0; i < 5; ++i) {
        const QByteArray name = installmentDateField(i).toLatin1();
        if (!guarded(name.constData(), date(datInstallmentDate[i]))) return;
    }
    if (!guarded("AmountPaid", amount(ui->lblPaidAmount))) return;
    if (!guarded("BallanceOwed", amount(ui->lblBalance))) return;
    g.run([&] { func_CosmeticCaseAdjustments(rs); });
}

bool frmCaseDetails::func_SaveCase(bool newCase) {
    ErrorGuard g(QStringLiteral("frmCaseDetails ! func_SaveCase"));
    // A new case is never written over a stored one: only "&Save Case" adds it.
    if (!newCase && sCaseMode == QLatin1String("N")) return false;

    Database db;
    Recordset rs;
    if (!g.run([&] {
            db = Database::open(DatabasePath);
            rs = db.openTable(QStringLiteral("Cases"));
            rs.setIndex(QStringLiteral("PrimaryKey"));
        }))
        return false;
    if (sCaseMode != QLatin1String("N") && rs.bof() && rs.eof()) return false;
    if (!g.run([&] {
            if (newCase) {
                rs.addNew();
                return;
            }
            rs.seek(QStringLiteral("="), Value(caseKey()));
            if (rs.noMatch())
                throw AppError(3167, QStringLiteral("The case %1 is no longer in the database.").arg(caseKey()));
            rs.edit();
        }))
        return false;

    const auto set = [&](const QString& name, const std::function<Value()>& value) {
        return g.run([&] { rs.setValue(name, value()); });
    };
    const auto text = [](const QString& s) { return [s] { return Value(s); }; };
    const auto amountOf = [](const QString& s) { return [s] { return Value::currency(util_dReadAmount(s)); }; };

    bool ok = set(QStringLiteral("CaseOpen"), [&] { return checked(optCaseStatus[0]); }) &&
              set(QStringLiteral("ReferenceNumber"), text(ui->txtReference->text())) &&
              set(QStringLiteral("DateReceived"), [&] { return Value::date(ui->datReceived->value()); }) &&
              set(QStringLiteral("Stage"), text(ui->lblStage->caption())) &&
              set(QStringLiteral("StageDate"),
                  [&] {
                      const QString caption = ui->lblStageDate->caption();
                      if (caption.isEmpty()) return Value::null();
                      const QDateTime d = util_ReadDate(caption);
                      if (!d.isValid()) throw AppError(ErrNo::TypeMismatch, QStringLiteral("Type mismatch"));
                      return Value::date(d);
                  }) &&
              set(QStringLiteral("CustomerID"), [&] { return Value(caseCustomerKey()); }) &&
              set(QStringLiteral("FinalResult"), text(ui->cboFinalResult->currentText())) &&
              set(QStringLiteral("DetailNotes"), text(ui->txtDetails->toPlainText())) &&
              set(QStringLiteral("CheckDate"), [&] { return Value::date(ui->datCheckDate->value()); }) &&
              set(QStringLiteral("CheckType"), text(ui->cboCheckType->currentText())) &&
              set(QStringLiteral("CheckAmount"), amountOf(ui->txtAmount->text())) &&
              set(QStringLiteral("Bank"), text(ui->txtBank->text())) &&
              set(QStringLiteral("Branch"), text(ui->txtBranch->text())) &&
              set(QStringLiteral("AccountNumber"), text(ui->txtAcountNum->text())) &&
              set(QStringLiteral("TransitNumber"), text(ui->txtTransitNum->text())) &&
              set(QStringLiteral("BranchNumber"), text(ui->txtBranchNum->text())) &&
              set(QStringLiteral("CheckNumber"), text(ui->txtCheckNum->text())) &&
              set(QStringLiteral("CollectionCompany"), text(ui->txtCollectionCompany->text())) &&
              set(QStringLiteral("CollectionContact"), text(ui->txtCollectionContact->text())) &&
              set(QStringLiteral("CollectionPercent"),
                  [&] { return Value(util_dReadAmount(ui->txtCollectionPercent->text())); }) &&
              set(QStringLiteral("CollectionDollar"), amountOf(ui->txtCollectionDollar->text())) &&
              set(QStringLiteral("PercentCollectionType"), [&] { return checked(optCollectionType[0]); }) &&
              set(QStringLiteral("IncludeNSF"), [&] { return checked(ui->chkIncludeNSF); }) &&
              set(QStringLiteral("IncludeCollectionCharges"), [&] { return checked(ui->chkAddCollectionFee); });
    for (int i = 0; ok && i < 7; ++i) ok = set(field(StageFlagFields[i]), [&] { return checked(chkNotice[i]); });
    for (int i = 0; ok && i < 7; ++i) ok = set(field(StageDateFields[i]), [&] { return pickerDate(datNotice[i]); });
    ok = ok && set(QStringLiteral("CheckAmount"), amountOf(ui->lblCheckAmount->caption())) &&
         set(QStringLiteral("AddNSF"), [&] { return checked(ui->chkAddNSF); }) &&
         set(QStringLiteral("CollectionCharge"), amountOf(ui->lblCollectionFee->caption())) &&
         set(QStringLiteral("CollectableAmount"), amountOf(ui->lblCollectable->caption()));
    for (int i = 0; ok && i < 5; ++i) ok = set(installmentAmountField(i), amountOf(txtInstallmentAmount[i]->text()));
    for (int i = 0; ok && i < 5; ++i)
        ok = set(installmentDateField(i), [&] { return pickerDate(datInstallmentDate[i]); });
    ok = ok && set(QStringLiteral("AmountPaid"), amountOf(ui->lblPaidAmount->caption())) &&
         set(QStringLiteral("BallanceOwed"), amountOf(ui->lblBalance->caption()));
    if (!ok) return false;

    bool written = false;
    if (!g.run([&] {
            const qint64 key = rs.value(QStringLiteral("CaseID")).toLongLong();
            rs.update();
            setCaseKey(key);
            written = true;
        }))
        return false;

    // A type or result typed for this case is offered from now on.
    g.run([&] {
        data_PopulateListingCombo(this, DatabasePath, QStringLiteral("q_ListCheckTypes"), QStringLiteral("CheckType"),
                                  ui->cboCheckType);
        data_PopulateListingCombo(this, DatabasePath, QStringLiteral("q_ListFinalResults"),
                                  QStringLiteral("FinalResult"), ui->cboFinalResult);
    });
    return written;
}
