#include "screens/frmCollectionCompany.h"

#include "app/AppInfo.h"
#include "app/ErrorHandling.h"
#include "data/engine/Database.h"
#include "ui_frmCollectionCompany.h"
#include "util/Format.h"
#include "util/Help.h"
#include "util/Pointer.h"
#include "util/WidgetUtilities.h"

#include <algorithm>

namespace {
const QString HelpTopics[3] = {QStringLiteral("Processing_Fee.htm"), QStringLiteral("Collection_Charges.htm"),
                               QStringLiteral("Collection_Info.htm")};

// An amount field as a number: a field without a value reads as 0.
double amountOf(const Value& value) {
    return value.isNull() || value.isEmpty() ? 0.0 : value.toDouble();
}
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

    connectAmountBox(ui->txtCollectionPercent, fmt_Standard);
    connectAmountBox(ui->txtCollectionDollar, fmt_Currency);
    connectAmountBox(ui->txtCourtCosts, fmt_Currency);
    connectAmountBox(ui->txtNSFfee, fmt_Currency);
}

frmCollectionCompany::~frmCollectionCompany() = default;

// An amount box: typing replaces the whole text on entering, only digits, Backspace and one decimal
// point are taken, and leaving writes the number in the box's format.
void frmCollectionCompany::connectAmountBox(QLineEdit* box, QString (*format)(double)) {
    util_OnEvent(box, QEvent::FocusIn, [box](QEvent*) { util_SelectAllText(box); });
    util_InstallNumbersOnly(box, false);
    util_OnEvent(box, QEvent::FocusOut, [box, format](QEvent*) {
        ErrorGuard g(QStringLiteral("frmCollectionCompany ! ") + box->objectName() +
                     QStringLiteral("_LostFocus"));
        g.run([&] {
            // A text that is no number (a lone point, something pasted) stays as typed.
            if (const auto number = Value::parseNumber(box->text())) box->setText(format(*number));
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
    if (!g.run([&] { ui->txtNSFfee->setText(fmt_Currency(amountOf(rs.value(QStringLiteral("NSFfee"))))); }))
        return;
    if (!g.run([&] {
            ui->txtCourtCosts->setText(fmt_Currency(amountOf(rs.value(QStringLiteral("CourtCosts")))));
        }))
        return;
    if (!g.run([&] {
            ui->txtCollectionPercent->setText(
                fmt_Standard(amountOf(rs.value(QStringLiteral("CollectionChargePercent")))));
        }))
        return;
    if (!g.run([&] {
            ui->txtCollectionDollar->setText(
                fmt_Currency(amountOf(rs.value(QStringLiteral("CollectionChargeDollars")))));
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
    Database db;
    Recordset rs;
    if (!g.run([&] {
            db = Database::open(SettingsDatabasePath);
            rs = db.openTable(QStringLiteral("Config"));
        }))
        return false;
    // A Config without its row yet (the first start) gets the row here, so that nothing typed is lost.
    if (!g.run([&] {
            if (rs.bof() && rs.eof())
                rs.addNew();
            else
                rs.edit();
        }))
        return false;
    const auto set = [&](const char* field, const auto& value) {
        return g.run([&] { rs.setValue(QString::fromLatin1(field), value()); });
    };
    const auto currencyOf = [](QLineEdit* box) {
        return [box] { return Value::currency(util_dReadAmount(box->text())); };
    };
    if (!set("NSFfee", currencyOf(ui->txtNSFfee))) return false;
    if (!set("CourtCosts", currencyOf(ui->txtCourtCosts))) return false;
    if (!set("CollectionChargePercent",
             [this] { return Value(util_dReadAmount(ui->txtCollectionPercent->text())); }))
        return false;
    if (!set("CollectionChargeDollars", currencyOf(ui->txtCollectionDollar))) return false;
    if (!set("IncludeNSF", [this] { return Value(ui->chkIncludeNSF->isChecked()); })) return false;
    if (!set("CollectionCompanyName", [this] { return Value(ui->txtCollectionCompany->text()); }))
        return false;
    if (!set("CollectionOfficerName", [this] { return Value(ui->txtCollectionContact->text()); }))
        return false;
    return g.run([&] { rs.update(); });
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
