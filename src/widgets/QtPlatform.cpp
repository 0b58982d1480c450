#include "widgets/QtPlatform.h"

#include "core/ErrorHandling.h"
#include "core/ReportDocument.h"
#include "core/Utilities.h"
#include "widgets/HelpViewer.h"
#include "widgets/frmUnexpectedError.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QAction>
#include <QDialog>
#include <QDir>
#include <QEventLoop>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProcess>
#include <QPrinterInfo>
#include <QRegularExpression>
#include <QTextDocument>
#include <QToolBar>
#include <optional>
#include <QUrl>

#include <cstdlib>

namespace {

// Closes a modal loop when its screen hides or goes away.
class CloseWatcher : public QObject {
public:
    CloseWatcher(QWidget* screen, QEventLoop* loop) : m_loop(loop) { screen->installEventFilter(this); }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Hide || event->type() == QEvent::Close) m_loop->quit();
        return false;
    }

private:
    QEventLoop* m_loop;
};

} // namespace

QtPlatform::QtPlatform() = default;
QtPlatform::~QtPlatform() { delete m_helpViewer.data(); }

int QtPlatform::messageBox(const QString& text, int style, const QString& title) {
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(title);
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QChar(13), QChar(10));
    box.setText(shown);
    switch (style & 0x70) {
    case Critical: box.setIcon(QMessageBox::Critical); break;
    case Question: box.setIcon(QMessageBox::Question); break;
    case Exclamation: box.setIcon(QMessageBox::Warning); break;
    case Information: box.setIcon(QMessageBox::Information); break;
    default: break;
    }
    if ((style & 0x0f) == YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        return box.exec() == QMessageBox::Yes ? Yes : No;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return Ok;
}

void QtPlatform::showModal(QObject* screen) {
    if (auto* dialog = qobject_cast<QDialog*>(screen)) {
        dialog->exec();
        return;
    }
    auto* widget = qobject_cast<QWidget*>(screen);
    if (!widget) return;
    QPointer<QWidget> guard(widget);
    QEventLoop loop;
    CloseWatcher watcher(widget, &loop);
    QObject::connect(widget, &QObject::destroyed, &loop, &QEventLoop::quit);
    widget->setWindowModality(Qt::ApplicationModal);
    widget->show();
    if (guard && guard->isVisible()) loop.exec(QEventLoop::DialogExec);
}

void QtPlatform::showModeless(QObject* screen) {
    if (auto* widget = qobject_cast<QWidget*>(screen)) {
        widget->show();
        widget->raise();
        widget->activateWindow();
    }
}

Platform::ErrorReportAnswer QtPlatform::showErrorReport(const ErrorReportInfo& info) {
    frmUnexpectedError screen(QApplication::activeWindow());
    screen.ErrorLocation = info.location;
    screen.setError(info.number, info.description, info.otherInfo);
    screen.exec();
    return {screen.chosenAction(), EndProgramRequested};
}

QString util_sCaseInsensitiveFilter(const QString& filter) {
    static const QRegularExpression entryForm(QStringLiteral("^(.*)\\(([^()]*)\\)$"));
    QStringList entries = filter.split(QStringLiteral(";;"));
    for (QString& entry : entries) {
        const QRegularExpressionMatch match = entryForm.match(entry);
        if (!match.hasMatch()) continue;
        QString patterns;
        for (const QChar c : match.captured(2)) {
            if (c.isLetter() && c.toLower() != c.toUpper())
                patterns += QLatin1Char('[') + c.toLower() + c.toUpper() + QLatin1Char(']');
            else
                patterns += c;
        }
        entry = match.captured(1) + QLatin1Char('(') + patterns + QLatin1Char(')');
    }
    return entries.join(QStringLiteral(";;"));
}

QString QtPlatform::getOpenFileName(const QString& title, const QString& folder, const QString& filter) {
    // The descriptions alone are shown: the patterns in any letter case would only confuse.
    const QString patterns = util_sCaseInsensitiveFilter(filter);
    return QFileDialog::getOpenFileName(QApplication::activeWindow(), title, folder, patterns, nullptr,
                                        QFileDialog::HideNameFilterDetails);
}

QString QtPlatform::getSaveFileName(const QString& title, const QString& suggestedPath, const QString& filter) {
    return QFileDialog::getSaveFileName(QApplication::activeWindow(), title, suggestedPath, filter);
}

void QtPlatform::openTarget(const QString& target) {
    QUrl url = QUrl::fromUserInput(target);
    if (target.startsWith(QLatin1String("mailto:"), Qt::CaseInsensitive)) url = QUrl(target);
    QDesktopServices::openUrl(url);
}

bool QtPlatform::startProgram(const QString& program, const QStringList& arguments) {
    return QProcess::startDetached(program, arguments);
}

void QtPlatform::showHelp(const QString& helpFile, HelpCommand command, const QString& topic) {
    if (!m_helpViewer) m_helpViewer = new HelpViewer(helpFile);
    m_helpViewer->open(command, topic);
}

void QtPlatform::outputReport(const ReportDocument& document, ReportTarget target, const QString& title) {
    // An error while painting is carried out of Qt's signal and raised when the dialog has closed.
    std::optional<AppError> failure;
    auto paint = [&](QPrinter* p) {
        try {
            document.print(*p);
        } catch (const AppError& e) {
            failure = e;
        }
    };
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(title);
    printer.setPageSize(QPageSize(QPageSize::Letter));
    if (target == ReportTarget::Preview) {
        QPrintPreviewDialog preview(&printer, QApplication::activeWindow());
        preview.setWindowTitle(title);
        QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview, paint);
        if (auto* bar = preview.findChild<QToolBar*>()) {
            bar->addSeparator();
            QAction* save = bar->addAction(QStringLiteral("Save as PDF..."));
            save->setToolTip(QStringLiteral("Save the report as a PDF file"));
            QObject::connect(save, &QAction::triggered, &preview, [&] {
                const QString path = getSaveFileName(QStringLiteral("Save as PDF"),
                                                     util_sDocumentsFile(report_sPdfFileName(title, QDate::currentDate())),
                                                     QStringLiteral("PDF files (*.pdf)"));
                if (path.isEmpty()) return;
                try {
                    document.writePdf(path);
                } catch (const AppError& e) {
                    QMessageBox::warning(&preview, QStringLiteral("Save as PDF"), e.description());
                }
            });
        }
        preview.exec();
        if (failure) throw *failure;
        return;
    }
    if (QPrinterInfo::availablePrinters().isEmpty())
        throw AppError(ErrNo::PrinterError, QStringLiteral("No printer is set up on this computer."));
    QPrintDialog dialog(&printer, QApplication::activeWindow());
    if (dialog.exec() != QDialog::Accepted) return;
    if (!printer.isValid()) throw AppError(ErrNo::PrinterError, QStringLiteral("Printer Error"));
    paint(&printer);
    if (failure) throw *failure;
}

void QtPlatform::setClipboardText(const QString& text) {
    QApplication::clipboard()->clear();
    QApplication::clipboard()->setText(text);
}

void QtPlatform::setPointer(int cursorShape) {
    if (cursorShape < 0) {
        while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
        return;
    }
    const QCursor cursor(static_cast<Qt::CursorShape>(cursorShape));
    if (QApplication::overrideCursor())
        QApplication::changeOverrideCursor(cursor);
    else
        QApplication::setOverrideCursor(cursor);
}

QDateTime QtPlatform::now() { return QDateTime::currentDateTime(); }

void QtPlatform::processEvents() { QApplication::processEvents(QEventLoop::AllEvents, 50); }

void QtPlatform::quitProgram() {
    QApplication::closeAllWindows();
    std::exit(0);
}
