#include "screens/frmMemoPad.h"

#include "core/AppInfo.h"
#include "core/ErrorHandling.h"
#include "data/DatabaseProcs.h"
#include "ui_frmMemoPad.h"
#include "widgets/WidgetUtilities.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <algorithm>

namespace {
const QString Location = QStringLiteral("frmMemoPad ! ");
const QString Config = QStringLiteral("Config");
const QString MemoField = QStringLiteral("Memo");
} // namespace

frmMemoPad::frmMemoPad(QWidget* parent) : QDialog(parent), ui(new Ui::frmMemoPad) {
    ui->setupUi(this);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                   Qt::WindowCloseButtonHint);
    txtMemo = ui->txtMemo;
    connect(ui->cmdClearMemo, &QPushButton::clicked, this, [this] { cmdClearMemo_Click(); });
    connect(ui->cmdRevertMemo, &QPushButton::clicked, this, [this] { cmdRevertMemo_Click(); });
    connect(ui->cmdExitMemo, &QPushButton::clicked, this, [this] { cmdExitMemo_Click(); });
    // Small enough to move aside, never so small that the buttons are cut.
    int buttons = 0;
    for (QPushButton* b : {ui->cmdClearMemo, ui->cmdRevertMemo, ui->cmdExitMemo}) buttons += b->sizeHint().width();
    setMinimumSize(buttons + twipsX(120) * 4, ui->cmdExitMemo->sizeHint().height() * 3 + twipsY(420));
}

frmMemoPad::~frmMemoPad() { util_DetachControls(this); }

int frmMemoPad::twipsX(int twips) const { return qRound(twips * logicalDpiX() / 1440.0); }
int frmMemoPad::twipsY(int twips) const { return qRound(twips * logicalDpiY() / 1440.0); }

QString frmMemoPad::storedMemo() {
    // A Config without its row yet holds no memo.
    if (data_lGetRecordCount(SettingsDatabasePath, Config) == 0) return QString();
    const Value memo = data_vCheckDBValue(SettingsDatabasePath, Config, MemoField, QString(), Value(QString()));
    return memo.isNull() || memo.isEmpty() ? QString() : memo.toString();
}

void frmMemoPad::showEvent(QShowEvent* event) {
    if (!m_loaded) Form_Load();
    QDialog::showEvent(event);
}

void frmMemoPad::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    Form_Resize();
}

void frmMemoPad::Form_Load() {
    m_loaded = true;
    ErrorGuard g(Location + QStringLiteral("Form_Load"));
    if (!g.run([this] { util_CenterForm(this); })) return;
    g.run([this] { txtMemo->setPlainText(storedMemo()); });
}

void frmMemoPad::Form_Resize() {
    ErrorGuard g(Location + QStringLiteral("Form_Resize"));
    g.run([this] {
        // 120 twips less than the inner width (60 each side) and 420 less than the inner height,
        // or what the buttons need where that is more.
        const int margin = twipsX(60);
        const int buttonHeight = ui->cmdExitMemo->sizeHint().height();
        const int room = std::max(twipsY(420), buttonHeight + 3 * twipsY(60));
        txtMemo->setGeometry(margin, twipsY(60), std::max(0, width() - twipsX(120)), std::max(0, height() - room));
        int x = width() - margin;
        const int y = height() - twipsY(60) - buttonHeight;
        for (QPushButton* b : {ui->cmdExitMemo, ui->cmdRevertMemo, ui->cmdClearMemo}) {
            const int w = b->sizeHint().width();
            x -= w;
            b->setGeometry(x, y, w, buttonHeight);
            x -= margin * 2;
        }
    });
}

void frmMemoPad::cmdClearMemo_Click() { txtMemo->clear(); }

void frmMemoPad::cmdRevertMemo_Click() {
    ErrorGuard g(Location + QStringLiteral("cmdRevertMemo_Click"));
    g.run([this] { txtMemo->setPlainText(storedMemo()); });
}

void frmMemoPad::cmdExitMemo_Click() {
    ErrorGuard g(Location + QStringLiteral("cmdExitMemo_Click"));
    // The one place where the memo is stored; a Config without its row gets it. A memo that could
    // not be stored stays on the screen.
    Value stored;
    if (!g.run([&] {
            stored = data_vChangeDBValue(SettingsDatabasePath, Config, MemoField, Value(txtMemo->toPlainText()),
                                         QString(), Value(QString()));
        }))
        return;
    if (stored.kind() == Value::Kind::Text && stored.toString().isEmpty()) close();
}
