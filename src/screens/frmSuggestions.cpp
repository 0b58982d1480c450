#include "screens/frmSuggestions.h"

#include "core/ErrorHandling.h"
#include "ui_frmSuggestions.h"
#include "widgets/WidgetUtilities.h"

#include <QRegularExpression>

frmSuggestions::frmSuggestions(QWidget* parent) : QDialog(parent), ui(new Ui::frmSuggestions) {
    ui->setupUi(this);
    setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    txtSuggestions = ui->txtSuggestions;
    connect(ui->cmdClose, &QPushButton::clicked, this, &QDialog::accept);
}

frmSuggestions::~frmSuggestions() = default;

void frmSuggestions::setSuggestions(const QString& text) {
    QString lines = text;
    lines.replace(QRegularExpression(QStringLiteral("\r\n|\r")), QStringLiteral("\n"));
    txtSuggestions->setPlainText(lines);
}

QString frmSuggestions::suggestions() const {
    return txtSuggestions->toPlainText().replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
}

void frmSuggestions::showEvent(QShowEvent* event) {
    if (!m_loaded) Form_Load();
    QDialog::showEvent(event);
}

void frmSuggestions::Form_Load() {
    m_loaded = true;
    ErrorGuard g(QStringLiteral("frmSuggestions ! Form_Load"));
    g.run([this] { util_CenterForm(this); });
}
