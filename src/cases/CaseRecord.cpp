// The case record: clearing the screen for a new case, showing a stored case and saving the case on
// display.
#include "cases/CaseLogic.h"
#include "cases/frmCaseDetails.h"
#include "core/AppInfo.h"
#include "core/ErrorHandling.h"
#include "core/Format.h"
#include "core/Platform.h"
#include "data/ConfigSettings.h"
#include "data/engine/Database.h"
#include "ui_frmCaseDetails.h"
#include "widgets/CaptionLabel.h"
#include "widgets/DataWidgets.h"
#include "widgets/DatePicker.h"
#include "widgets/WidgetUtilities.h"

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
            dCollectionDollars = config_Money(QStringLiteral("CollectionChargeDollars"));
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
            dNSFfee = config_Money(QStringLiteral("NSFfee"));
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
    m_unreadable.clear();
    if (!g.run([&] { func_ClearCaseData(); })) return;
    if (!g.run([&] {
            if (ui->cmdShowCase->isEnabled() && !bLoading) cmdShowCase_Click();
        }))
        return;

    // Fields in the order of the screen's filling. A value the file holds in a form that does not
    // fit its field (a text in a date or amount field, written by another program) leaves its
    // control as the clear set it; the fields are named in one message at the end.
    QStringList unreadable;
    const auto show = [&](const char* name, bool guarded, const std::function<void(const Value&)>& write) {
        return g.run([&] {
            const Value v = rs.value(field(name));
            if (guarded && (v.isNull() || v.isEmpty())) return;
            try {
                write(v);
            } catch (const AppError& e) {
                if (e.number() != ErrNo::TypeMismatch && e.number() != ErrNo::Overflow) throw;
                if (!unreadable.contains(field(name))) unreadable << field(name);
            }
        });
    };
    const auto guarded = [&](const char* name, const std::function<void(const Value&)>& write) {
        return show(name, true, write);
    };
    const auto always = [&](const char* name, const std::function<void(const Value&)>& write) {
        return show(name, false, write);
    };
    const auto text = [](QLineEdit* box) { return [box](const Value& v) { box->setText(v.toString()); }; };
    const auto date = [](DatePicker* picker) { return [picker](const Value& v) { picker->setValue(v.toDateTime()); }; };
    const auto amount = [](AmountLabel* label) { return [label](const Value& v) { label->setAmount(v.toMoney()); }; };
    const auto currencyText = [](QLineEdit* box) {
        return [box](const Value& v) { box->setText(v.isNull() ? QString() : fmt_Currency(v.toMoney())); };
    };
    const auto check = [](QAbstractButton* box) { return [box](const Value& v) { box->setChecked(yes(v)); }; };

    if (!g.run([&] { setCaseKey(rs.value(QStringLiteral("CaseID")).toLongLong()); })) return;
    if (!always("CaseOpen", [&](const Value& v) { optCaseStatus[yes(v) ? 0 : 1]->setChecked(true); })) return;
    if (!always("ReferenceNumber", text(ui->txtReference))) return;
    if (!guarded("DateReceived", date(ui->datReceived))) return;
    if (!guarded("Stage", [&](const Value& v) { ui->lblStage->setCaption(v.toString()); })) return;
    if (!guarded("StageDate", [&](const Value& v) {
            v.toDateTime(); // a date, or the field is unreadable
            ui->lblStageDate->setCaption(v.toString());
        }))
        return;
    if (!always("CustomerID", [&](const Value& v) { setCaseCustomerKey(v.isNull() ? 0 : v.toLongLong()); })) return;
    if (!guarded("FinalResult", [&](const Value& v) { ui->cboFinalResult->setEditText(v.toString()); })) return;
    if (!guarded("DetailNotes", [&](const Value& v) { ui->txtDetails->setPlainText(v.toString()); })) return;
    if (!guarded("CheckDate", date(ui->datCheckDate))) return;
    if (!guarded("CheckType", [&](const Value& v) { ui->cboCheckType->setEditText(v.toString()); })) return;
    if (!always("CheckAmount", currencyText(ui->txtAmount))) return;
    if (!guarded("Bank", text(ui->txtBank))) return;
    if (!guarded("Branch", text(ui->txtBranch))) return;
    if (!guarded("AccountNumber", text(ui->txtAcountNum))) return;
    if (!guarded("TransitNumber", text(ui->txtTransitNum))) return;
    if (!guarded("BranchNumber", text(ui->txtBranchNum))) return;
    if (!guarded("CheckNumber", text(ui->txtCheckNum))) return;
    if (!guarded("CollectionCompany", text(ui->txtCollectionCompany))) return;
    if (!guarded("CollectionContact", text(ui->txtCollectionContact))) return;
    if (!always("CollectionPercent", [&](const Value& v) {
            ui->txtCollectionPercent->setText(v.isNull() ? QString() : fmt_Standard(v.toDouble()));
        }))
        return;
    if (!always("CollectionDollar", currencyText(ui->txtCollectionDollar))) return;
    if (!always("PercentCollectionType", [&](const Value& v) { optCollectionType[yes(v) ? 0 : 1]->setChecked(true); }))
        return;
    if (!always("IncludeNSF", check(ui->chkIncludeNSF))) return;
    if (!always("IncludeCollectionCharges", check(ui->chkAddCollectionFee))) return;
    for (int i = 0; i < 7; ++i)
        if (!always(StageFlagFields[i], check(chkNotice[i]))) return;
    for (int i = 0; i < 7; ++i)
        if (!guarded(StageDateFields[i], date(datNotice[i]))) return;
    if (!guarded("CheckAmount", amount(ui->lblCheckAmount))) return;
    if (!always("AddNSF", check(ui->chkAddNSF))) return;
    if (!guarded("CollectionCharge", amount(ui->lblCollectionFee))) return;
    if (!guarded("CollectableAmount", amount(ui->lblCollectable))) return;
    for (int i = 0; i < 5; ++i) {
        const QByteArray name = installmentAmountField(i).toLatin1();
        if (!always(name.constData(), currencyText(txtInstallmentAmount[i]))) return;
    }
    for (int i = 0; i < 5; ++i) {
        const QByteArray name = installmentDateField(i).toLatin1();
        if (!guarded(name.constData(), date(datInstallmentDate[i]))) return;
    }
    if (!guarded("AmountPaid", amount(ui->lblPaidAmount))) return;
    if (!guarded("BallanceOwed", amount(ui->lblBalance))) return;
    if (!g.run([&] { func_CosmeticCaseAdjustments(rs); })) return;
    if (unreadable.isEmpty()) return;

    // What the screen would write for each unreadable field now: as long as that stays so, the
    // file keeps its own value.
    g.run([&] {
        const QList<CaseField> fields = caseFields();
        for (int i = 0; i < fields.size(); ++i) {
            if (!unreadable.contains(fields[i].name)) continue;
            try {
                m_unreadable.insert(i, fields[i].value());
            } catch (const AppError&) {
                m_unreadable.insert(i, Value());
            }
        }
        msgBox(QStringLiteral("Some details of the case %1 cannot be read from the database: %2.\r\rThey are "
                              "shown empty and stay as they are in the database unless you change them.")
                   .arg(ui->txtReference->text(), unreadable.join(QStringLiteral(", "))),
               Platform::Exclamation, QStringLiteral("Unreadable Case Details"));
    });
}

std::vector<std::pair<QLineEdit*, EntryKind>> frmCaseDetails::entryBoxes() const {
    std::vector<std::pair<QLineEdit*, EntryKind>> boxes = {{ui->txtAmount, EntryKind::Amount},
                                                           {ui->txtCollectionDollar, EntryKind::Amount},
                                                           {ui->txtCollectionPercent, EntryKind::Percentage}};
    for (QLineEdit* box : txtInstallmentAmount) boxes.emplace_back(box, EntryKind::Amount);
    return boxes;
}

QList<frmCaseDetails::CaseField> frmCaseDetails::caseFields() const {
    const auto text = [](const QString& s) { return [s] { return Value(s); }; };
    const auto amountOf = [](const QString& s) { return [s] { return Value::money(money_Read(s)); }; };
    QList<CaseField> f = {
        {QStringLiteral("CaseOpen"), [this] { return checked(optCaseStatus[0]); }},
        {QStringLiteral("ReferenceNumber"), text(ui->txtReference->text())},
        {QStringLiteral("DateReceived"), [this] { return Value::date(ui->datReceived->value()); }},
        {QStringLiteral("Stage"), text(ui->lblStage->caption())},
        {QStringLiteral("StageDate"),
         [this] {
             const QString caption = ui->lblStageDate->caption();
             if (caption.isEmpty()) return Value::null();
             const QDateTime d = util_ReadDate(caption);
             if (!d.isValid()) throw AppError(ErrNo::TypeMismatch, QStringLiteral("Type mismatch"));
             return Value::date(d);
         }},
        {QStringLiteral("CustomerID"), [this] { return Value(caseCustomerKey()); }},
        {QStringLiteral("FinalResult"), text(ui->cboFinalResult->currentText())},
        {QStringLiteral("DetailNotes"), text(ui->txtDetails->toPlainText())},
        {QStringLiteral("CheckDate"), [this] { return Value::date(ui->datCheckDate->value()); }},
        {QStringLiteral("CheckType"), text(ui->cboCheckType->currentText())},
        {QStringLiteral("CheckAmount"), amountOf(ui->txtAmount->text())},
        {QStringLiteral("Bank"), text(ui->txtBank->text())},
        {QStringLiteral("Branch"), text(ui->txtBranch->text())},
        {QStringLiteral("AccountNumber"), text(ui->txtAcountNum->text())},
        {QStringLiteral("TransitNumber"), text(ui->txtTransitNum->text())},
        {QStringLiteral("BranchNumber"), text(ui->txtBranchNum->text())},
        {QStringLiteral("CheckNumber"), text(ui->txtCheckNum->text())},
        {QStringLiteral("CollectionCompany"), text(ui->txtCollectionCompany->text())},
        {QStringLiteral("CollectionContact"), text(ui->txtCollectionContact->text())},
        {QStringLiteral("CollectionPercent"), [this] { return Value(util_dReadNumber(ui->txtCollectionPercent->text())); }},
        {QStringLiteral("CollectionDollar"), amountOf(ui->txtCollectionDollar->text())},
        {QStringLiteral("PercentCollectionType"), [this] { return checked(optCollectionType[0]); }},
        {QStringLiteral("IncludeNSF"), [this] { return checked(ui->chkIncludeNSF); }},
        {QStringLiteral("IncludeCollectionCharges"), [this] { return checked(ui->chkAddCollectionFee); }}};
    for (int i = 0; i < 7; ++i) f.append({field(StageFlagFields[i]), [this, i] { return checked(chkNotice[i]); }});
    for (int i = 0; i < 7; ++i) f.append({field(StageDateFields[i]), [this, i] { return pickerDate(datNotice[i]); }});
    f.append({QStringLiteral("CheckAmount"), amountOf(ui->lblCheckAmount->caption())});
    f.append({QStringLiteral("AddNSF"), [this] { return checked(ui->chkAddNSF); }});
    f.append({QStringLiteral("CollectionCharge"), amountOf(ui->lblCollectionFee->caption())});
    f.append({QStringLiteral("CollectableAmount"), amountOf(ui->lblCollectable->caption())});
    for (int i = 0; i < 5; ++i) f.append({installmentAmountField(i), amountOf(txtInstallmentAmount[i]->text())});
    for (int i = 0; i < 5; ++i)
        f.append({installmentDateField(i), [this, i] { return pickerDate(datInstallmentDate[i]); }});
    f.append({QStringLiteral("AmountPaid"), amountOf(ui->lblPaidAmount->caption())});
    f.append({QStringLiteral("BallanceOwed"), amountOf(ui->lblBalance->caption())});
    return f;
}

bool frmCaseDetails::func_SaveCase(bool newCase) {
    ErrorGuard g(QStringLiteral("frmCaseDetails ! func_SaveCase"));
    // A new case is never written over a stored one: only "&Save Case" adds it.
    if (!newCase && sCaseMode == QLatin1String("N")) return false;

    // A figure beyond what its box takes is refused, as on leaving the box.
    for (auto [box, kind] : entryBoxes())
        if (util_bRefuseTooLargeEntry(box, kind)) return false;

    // Every value is worked out before anything is written: a text that does not read as its field
    // stops the save, so that no row is written with some fields missing, whatever the user answers
    // to the report.
    QList<std::pair<QString, Value>> values;
    if (!g.runWhole([&] {
            const QList<CaseField> fields = caseFields();
            for (int i = 0; i < fields.size(); ++i) {
                Value v = fields[i].value();
                // A field the file holds unreadable keeps its value while the screen leaves it alone.
                if (!newCase && m_unreadable.contains(i) && m_unreadable.value(i) == v) continue;
                values.append({fields[i].name, std::move(v)});
            }
        }))
        return false;

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

    if (!g.runWhole([&] {
            for (const auto& [name, value] : values) rs.setValue(name, value);
            const qint64 key = rs.value(QStringLiteral("CaseID")).toLongLong();
            rs.update();
            setCaseKey(key);
            m_unreadable.clear();
        }))
        return false;

    // A type or result typed for this case is offered from now on.
    g.run([&] {
        data_PopulateListingCombo(this, DatabasePath, QStringLiteral("q_ListCheckTypes"), QStringLiteral("CheckType"),
                                  ui->cboCheckType);
        data_PopulateListingCombo(this, DatabasePath, QStringLiteral("q_ListFinalResults"),
                                  QStringLiteral("FinalResult"), ui->cboFinalResult);
    });
    return true;
}
