#include "screens/frmAbout.h"

#include "core/AppInfo.h"
#include "core/ErrorHandling.h"
#include "screens/frmSplash.h"
#include "ui_frmAbout.h"
#include "widgets/WidgetUtilities.h"

#include <QApplication>

frmAbout::frmAbout(QWidget* parent) : QDialog(parent), ui(new Ui::frmAbout) {
    ui->setupUi(this);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    lblProductName = ui->lblProductName;
    lblAboutVersion = ui->lblAboutVersion;
    lblAboutCopyright = ui->lblAboutCopyright;
    connect(ui->cmdAboutOK, &QPushButton::clicked, this, [this] { cmdAboutOK_Click(); });
}

frmAbout::~frmAbout() { util_DetachControls(this); }

void frmAbout::showEvent(QShowEvent* event) {
    if (!m_loaded) Form_Load();
    QDialog::showEvent(event);
}

void frmAbout::Form_Load() {
    m_loaded = true;
    ErrorGuard g(QStringLiteral("frmAbout ! Form_Load"));
    if (!g.run([this] {
            setWindowTitle(QStringLiteral("About ") + proc_vGetInternalInfo(QStringLiteral("AppName")));
            lblAboutCopyright->setText(proc_vGetInternalInfo(QStringLiteral("Copyright")));
            lblProductName->setText(proc_vGetInternalInfo(QStringLiteral("AppTitle")));
            lblAboutVersion->setText(proc_vGetInternalInfo(QStringLiteral("Version")));
            // The opener's icon, or the splash screen's picture where the program has none.
            const QIcon icon = parentWidget() ? parentWidget()->window()->windowIcon() : QApplication::windowIcon();
            ui->picIcon->setPixmap(icon.isNull() ? splash_Picture(64, 64) : icon.pixmap(64, 64));
        }))
        return;
    g.run([this] {
        adjustSize();
        util_CenterForm(this);
    });
}

void frmAbout::cmdAboutOK_Click() { close(); }
