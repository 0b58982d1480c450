#include "widgets/frmUnexpectedError.h"

#include "core/ErrorHandling.h"
#include "core/Platform.h"
#include "core/Pointer.h"
#include "ui_frmUnexpectedError.h"
#include "widgets/WidgetUtilities.h"

#include <QMouseEvent>

namespace {
constexpr int actionForButton[6] = {ErrorActions::Retry, ErrorActions::GoOn, ErrorActions::Leave,
                                    ErrorActions::Retry, ErrorActions::GoOn, ErrorActions::Leave};
bool isStopButton(int index) { return index == 2 || index == 5; }
} // namespace

frmUnexpectedError::frmUnexpectedError(QWidget* parent) : QDialog(parent), ui(new Ui::frmUnexpectedError) {
    ui->setupUi(this);
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    cmdErrorAction = {ui->cmdErrorAction_0, ui->cmdErrorAction_1, ui->cmdErrorAction_2,
                      ui->cmdErrorAction_3, ui->cmdErrorAction_4, ui->cmdErrorAction_5};
    for (int i = 0; i < 6; ++i) {
        connect(cmdErrorAction[i], &QPushButton::clicked, this, [this, i] { cmdErrorAction_Click(i); });
        if (isStopButton(i)) cmdErrorAction[i]->installEventFilter(this);
    }
    connect(ui->cmdEmailErrorInfo, &QPushButton::clicked, this, &frmUnexpectedError::cmdEmailErrorInfo_Click);
}

frmUnexpectedError::~frmUnexpectedError() = default;

void frmUnexpectedError::setError(int number, const QString& description, const QString& otherInfo) {
    m_number = number;
    m_description = description;
    m_otherInfo = otherInfo;
}

void frmUnexpectedError::showEvent(QShowEvent* event) {
    if (!m_loaded) {
        m_loaded = true;
        Form_Load();
    }
    QDialog::showEvent(event);
}

void frmUnexpectedError::Form_Load() {
    util_SetMousePointer(11);
    util_CenterForm(this);
    ui->lblErrorNumber->setText(QString::number(m_number));
    ui->lblErrorDescription->setText(m_description);
    ui->lblErrorLocation->setText(ErrorLocation);
    ui->lblErrorOtherInfo->setText(m_otherInfo);
    util_SetMousePointer(0);
}

bool frmUnexpectedError::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress) {
        // Shift alone, read at the press, asks for the program to end after the screen closes.
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->modifiers() == Qt::ShiftModifier) EndProgramRequested = true;
    }
    return QDialog::eventFilter(watched, event);
}

void frmUnexpectedError::cmdErrorAction_Click(int index) {
    m_action = actionForButton[index];
    ErrorAction = m_action;
    accept();
}

QString frmUnexpectedError::func_sBuildReportText() const {
    return QStringLiteral("Error Information:, Occurred: ") +
           platform().now().toString(QStringLiteral("M/d/yyyy h:mm:ss AP")) + QStringLiteral(", ") +
           ui->lblErrorLocationCaption->text() + QStringLiteral("  ") + ui->lblErrorLocation->text() +
           QStringLiteral(", ") + ui->lblErrorDescriptionCaption->text() + QStringLiteral("  ") +
           ui->lblErrorDescription->text() + QStringLiteral(", Error #:  ") + ui->lblErrorNumber->text() +
           QStringLiteral(", Other Info:  ") + ui->lblErrorOtherInfo->text() + QStringLiteral(", Steps:,") +
           ui->txtSteps->toPlainText();
}

void frmUnexpectedError::cmdEmailErrorInfo_Click() {
    const QString report = func_sBuildReportText();
    const bool attachDatabase = ui->chkIncludeData->isChecked();
    proc_SendErrorReport(report, attachDatabase);
}
