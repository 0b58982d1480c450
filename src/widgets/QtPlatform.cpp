#include "widgets/QtPlatform.h"

#include "core/ErrorHandling.h"
#include "widgets/HelpViewer.h"
#include "widgets/frmUnexpectedError.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QDialog>
#include <QEventLoop>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTextDocument>
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

void QtPlatform::outputReport(QTextDocument& document, ReportTarget target, const QString& title) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(title);
    if (target == ReportTarget::Preview) {
        QPrintPreviewDialog preview(&printer, QApplication::activeWindow());
        preview.setWindowTitle(title);
        QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                         [&document](QPrinter* p) { document.print(p); });
        preview.exec();
        return;
    }
    QPrintDialog dialog(&printer, QApplication::activeWindow());
    if (dialog.exec() == QDialog::Accepted) document.print(&printer);
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
