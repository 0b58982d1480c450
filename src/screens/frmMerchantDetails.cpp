#include "screens/frmMerchantDetails.h"

#include "core/AppInfo.h"
#include "core/ErrorHandling.h"
#include "core/Help.h"
#include "data/ConfigSettings.h"
#include "data/engine/Database.h"
#include "widgets/WidgetUtilities.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

frmMerchantDetails::frmMerchantDetails(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmMerchantDetails"));
    setWindowTitle(QStringLiteral("Merchant Details"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    auto* layout = new QVBoxLayout(this);
    auto* intro = new QLabel(QStringLiteral("Your business as it heads the notices you print:"), this);
    layout->addWidget(intro);
    auto* form = new QFormLayout;
    layout->addLayout(form);
    // The fields of Config with their captions and lengths.
    const struct {
        const char* field;
        const char* caption;
        int length;
    } fields[] = {{"CompanyName", "&Business name:", 80}, {"Contact", "C&ontact:", 80},
                  {"Address1", "&Address:", 80},         {"Address2", "", 80},
                  {"City", "C&ity:", 50},                {"ProvState", "&State or province:", 30},
                  {"Postal", "&ZIP or postal code:", 20}, {"Country", "Co&untry:", 50},
                  {"Phone", "&Telephone:", 30},          {"Ext", "&Extension:", 10},
                  {"Fax", "&Fax:", 30}};
    for (const auto& f : fields) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QStringLiteral("txt") + QString::fromLatin1(f.field));
        edit->setMaxLength(f.length);
        edit->setMinimumWidth(f.length >= 50 ? 320 : 160);
        form->addRow(QString::fromLatin1(f.caption), edit);
        m_fields.append({QString::fromLatin1(f.field), edit});
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("cmdOK"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cmdCancel"));
    buttons->button(QDialogButtonBox::Help)->setObjectName(QStringLiteral("cmdHelp"));
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] { cmdOK_Click(); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(buttons, &QDialogButtonBox::helpRequested, this, [] {
        HelpTopic = QStringLiteral("Merchant_Details.htm");
        api_DisplayHTMLHelp(QStringLiteral("Topic"));
    });
    func_GetData();
    util_CenterForm(this);
}

QLineEdit* frmMerchantDetails::box(const QString& field) const {
    for (const Field& f : m_fields)
        if (f.name == field) return f.box;
    return nullptr;
}

void frmMerchantDetails::func_GetData() {
    ErrorGuard g(QStringLiteral("frmMerchantDetails ! func_GetData"));
    Database db;
    Recordset rs;
    if (!g.run([&] {
            db = Database::open(SettingsDatabasePath);
            rs = db.openTable(QStringLiteral("Config"));
        }))
        return;
    if (rs.bof() && rs.eof()) return;
    g.run([&] {
        for (const Field& f : std::as_const(m_fields)) f.box->setText(rs.value(f.name).toString());
    });
}

bool frmMerchantDetails::func_SaveData() {
    ErrorGuard g(QStringLiteral("frmMerchantDetails ! func_SaveData"));
    QList<std::pair<QString, Value>> values;
    for (const Field& f : std::as_const(m_fields)) values.append({f.name, Value(f.box->text().trimmed())});
    return g.runWhole([&] { config_WriteAll(values); });
}

void frmMerchantDetails::cmdOK_Click() {
    // What could not be written stays on the screen, so that the user can correct it or cancel.
    if (func_SaveData()) accept();
}
