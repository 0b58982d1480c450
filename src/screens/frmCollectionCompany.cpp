#include "screens/frmCollectionCompany.h"

#include "core/AppInfo.h"
#include "core/ErrorHandling.h"
#include "core/Format.h"
#include "core/Help.h"
#include "core/Pointer.h"
#include "data/ConfigSettings.h"
#include "data/engine/Database.h"
#include "ui_frmCollectionCompany.h"
#include "widgets/WidgetUtilities.h"

#include <algorithm>

namespace {
const QString HelpTopics[3] = {QStringLiteral("Processing_Fee.htm"), QStringLiteral("Collection_Charges.htm"),
                               QStringLiteral("Collection_Info.htm")};

// A percentage field as a number: a field without a value reads as 0.
double numberOf(const Value& value) { return value.isNull() || value.isEmpty() ? 0.0 : value.toDouble(); }
} // namespace

frmCollectionCompany::frmCollectionCompany(QWidget* parent)
    : QDialog(parent), ui(new Ui::frmCollectionCompany) {
    ui->setupUi(this);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    cmdHelp = {ui->cmdHelp_0, ui->cmdHelp_1, ui->cmdHelp_2};
    for (int i = 0; i < 3; ++i)
        connect(cmdHelp[i], &QPushButton::clicked, this, [this, i] { cmdHelp_Click(i); });
    connect(ui->cmdExitCategories, &QPushButton::clicked, this, [this] { cmdExitCategories_Click(); });
    connect(ui->cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });

    // The boxes of the three groups start at one line: every label as wide as the widest.
    const std::array<QLabel*, 6> labels = {ui->lblCollectionCompany, ui->lblCollectionContact,
                                           ui->lblCollectionPercent, ui->lblCollectionDollar,
                                           ui->lblCourtCosts,        ui->lblNSFfee};
    int labelWidth = 0;
    for (QLabel* label : labels)
        labelWidth = std::max(labelWidth, label->sizeHint().width());
    for (QLabel* label : labels)
        label->setMinimumWidth(labelWidth);

    for (auto [box, kind] : entryBoxes()) connectAmountBox(box, kind);
}

frmCollectionCompany::~frmCollectionCompany() { util_DetachControls(this); }

std::array<std::pair<QLineEdit*, EntryKind>, 4> frmCollectionCompany::entryBoxes() const {
    return {{{ui->txtCollectionPercent, EntryKind::Percentage},
             {ui->txtCollectionDollar, EntryKind::Amount},
             {ui->txtCourtCosts, EntryKind::Amount},
             {ui->txtNSFfee, EntryKind::Amount}}};
}

// An amount box: typing replaces the whole text on entering, only digits, Backspace and one decimal
// point are taken, and leaving writes the number in the box's format (a figure beyond what the box
// takes is refused first).
void frmCollectionCompany::connectAmountBox(QLineEdit* box, EntryKind kind) {
    util_OnEvent(box, QEvent::FocusIn, [box](QEvent*) { util_SelectAllText(box); });
    util_InstallNumbersOnly(box, false);
    util_OnEvent(box, QEvent::FocusOut, [box, kind](QEvent*) {
        if (util_bRefuseTooLargeEntry(box, kind)) return;
        ErrorGuard g(QStringLiteral("frmCollectionCompany ! ") + box->objectName() +
                     QStringLiteral("_LostFocus"));
        g.run([&] {
            // A text that is no number (a lone point, something pasted) stays as typed.
            if (kind == EntryKind::Amount) {
                if (const auto amount = money_Parse(box->text())) box->setText(fmt_Currency(*amount));
            } else if (const auto number = Value::parseNumber(box->text())) {
                box->setText(fmt_Standard(*number));
            }
        });
    });
}

void frmCollectionCompany::showEvent(QShowEvent* event) {
    if (!m_loaded) Form_Load();
    QDialog::showEvent(event);
}

void frmCollectionCompany::Form_Load() {
    m_loaded = true;
    ErrorGuard g(QStringLiteral("frmCollectionCompany ! Form_Load"));
    const auto leave = [] { util_SetMousePointer(0); };
    if (!g.run([] { util_SetMousePointer(11); })) return leave();
    if (!g.run([this] { util_CenterForm(this); })) return leave();
    if (!g.run([this] {
            // The screen carries the icon of the screen that opened it.
            if (QWidget* opener = parentWidget()) setWindowIcon(opener->window()->windowIcon());
        }))
        return leave();
    if (!g.run([this] { func_GetData(); })) return leave();
    g.run([] { util_SetMousePointer(0); });
}

void frmCollectionCompany::func_GetData() {
    ErrorGuard g(QStringLiteral("frmCollectionCompany ! func_GetData"));
    Database db;
    Recordset rs;
    if (!g.run([&] {
            db = Database::open(SettingsDatabasePath);
            rs = db.openTable(QStringLiteral("Config"));
        }))
        return;
    // Before the first start has stored anything, the screen keeps its starting values.
    if (rs.bof() && rs.eof()) return;
    if (!g.run([&] { ui->txtNSFfee->setText(fmt_Currency(rs.value(QStringLiteral("NSFfee")).toMoney())); }))
        return;
    if (!g.run([&] {
            ui->txtCourtCosts->setText(fmt_Currency(rs.value(QStringLiteral("CourtCosts")).toMoney()));
        }))
        return;
    if (!g.run([&] {
            ui->txtCollectionPercent->setText(
                fmt_Standard(numberOf(rs.value(QStringLiteral("CollectionChargePercent")))));
        }))
        return;
    if (!g.run([&] {
            ui->txtCollectionDollar->setText(
                fmt_Currency(rs.value(QStringLiteral("CollectionChargeDollars")).toMoney()));
        }))
        return;
    if (!g.run([&] {
            const Value include = rs.value(QStringLiteral("IncludeNSF"));
            ui->chkIncludeNSF->setChecked(!include.isNull() && !include.isEmpty() && include.toBool());
        }))
        return;
    if (!g.run([&] {
            const Value company = rs.value(QStringLiteral("CollectionCompanyName"));
            ui->txtCollectionCompany->setText(company.isNull() ? QString() : company.toString());
        }))
        return;
    g.run([&] {
        const Value officer = rs.value(QStringLiteral("CollectionOfficerName"));
        ui->txtCollectionContact->setText(officer.isNull() ? QString() : officer.toString());
    });
}

bool frmCollectionCompany::func_SaveData() {
    ErrorGuard g(QStringLiteral("frmCollectionCompany ! func_SaveData"));
    // A figure beyond what its box takes is refused, as on leaving the box.
    for (auto [box, kind] : entryBoxes())
        if (util_bRefuseTooLargeEntry(box, kind)) return false;
    // Every value is worked out before anything is written, so that no row is written with some
    // settings missing.
    QList<std::pair<QString, Value>> values;
    if (!g.runWhole([&] {
            const auto currencyOf = [](QLineEdit* box) { return Value::money(money_Read(box->text())); };
            values = {{QStringLiteral("NSFfee"), currencyOf(ui->txtNSFfee)},
                      {QStringLiteral("CourtCosts"), currencyOf(ui->txtCourtCosts)},
                      {QStringLiteral("CollectionChargePercent"), Value(util_dReadNumber(ui->txtCollectionPercent->text()))},
                      {QStringLiteral("CollectionChargeDollars"), currencyOf(ui->txtCollectionDollar)},
                      {QStringLiteral("IncludeNSF"), Value(ui->chkIncludeNSF->isChecked())},
                      {QStringLiteral("CollectionCompanyName"), Value(ui->txtCollectionCompany->text())},
                      {QStringLiteral("CollectionOfficerName"), Value(ui->txtCollectionContact->text())}};
        }))
        return false;

    // A Config without its row yet (the first start) gets the row here, so that nothing typed is lost.
    return g.runWhole([&] { config_WriteAll(values); });
}

void frmCollectionCompany::cmdExitCategories_Click() {
    // What could not be written stays on the screen, so that the user can correct it or cancel.
    if (func_SaveData()) accept();
}

void frmCollectionCompany::cmdCancel_Click() {
    reject();
}

void frmCollectionCompany::cmdHelp_Click(int index) {
    ErrorGuard g(QStringLiteral("frmCollectionCompany ! cmdHelp_Click"));
    if (!g.run([&] { HelpTopic = HelpTopics[index]; })) return;
    g.run([] { api_DisplayHTMLHelp(QStringLiteral("Topic")); });
}
