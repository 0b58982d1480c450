#include "support/ScriptedPlatform.h"

#include "core/AppError.h"
#include "core/ReportDocument.h"

#include <QCoreApplication>
#include <QDir>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

// Takes the first queued answer into answer; false when none is queued.
template <class T> bool take(std::deque<T>& queue, T& answer) {
    if (queue.empty()) return false;
    answer = std::move(queue.front());
    queue.pop_front();
    return true;
}

} // namespace

int ScriptedPlatform::messageBox(const QString& text, int style, const QString& title) {
    messages.push_back({text, style, title});
    int answer = Ok;
    if (!take(answers, answer) && (style & 0x0f) == YesNo) {
        ADD_FAILURE() << "Unanswered question: " << title.toStdString() << ": " << text.toStdString();
        return No;
    }
    return answer;
}

void ScriptedPlatform::showModal(QObject* screen) {
    modalScreens << screen->objectName();
    auto* widget = qobject_cast<QWidget*>(screen);
    std::function<void(QObject*)> handler;
    if (!take(modalHandlers, handler)) {
        ADD_FAILURE() << "Unexpected modal screen " << screen->objectName().toStdString();
    } else {
        if (widget) widget->show();
        handler(screen);
    }
    if (widget && widget->isVisible()) widget->close();
}

void ScriptedPlatform::showModeless(QObject* screen) {
    modelessScreens << screen->objectName();
    if (auto* widget = qobject_cast<QWidget*>(screen)) widget->show();
}

Platform::ErrorReportAnswer ScriptedPlatform::showErrorReport(const ErrorReportInfo& info) {
    errorReports.push_back(info);
    if (errorReportHandler) return errorReportHandler(info);
    ErrorReportAnswer answer;
    if (!take(errorAnswers, answer))
        ADD_FAILURE() << "Unexpected error report: " << info.number << " " << info.description.toStdString()
                      << " at " << info.location.toStdString();
    return answer;
}

QString ScriptedPlatform::getOpenFileName(const QString& title, const QString& folder, const QString& filter) {
    openFileCalls.push_back({title, folder, filter});
    QString answer;
    take(openFileAnswers, answer);
    return answer;
}

QString ScriptedPlatform::getSaveFileName(const QString&, const QString& suggestedPath, const QString&) {
    saveFileSuggestions << suggestedPath;
    QString answer;
    take(saveFileAnswers, answer);
    return answer;
}

void ScriptedPlatform::outputReport(const ReportDocument& document, ReportTarget target, const QString& title) {
    reportTargets.push_back(target);
    if (target == ReportTarget::Printer && printerFails)
        throw AppError(ErrNo::PrinterError, QStringLiteral("Printer Error"));
    const QString file = QDir(reportFolder.isEmpty() ? QDir::tempPath() : reportFolder)
                             .filePath(QString("report-%1-%2.pdf").arg(reportFiles.size() + 1).arg(title));
    QStringList texts;
    document.writePdf(file, &texts);
    reportFiles << file;
    reportTexts << texts.join(QStringLiteral("\f"));
}

void ScriptedPlatform::processEvents() {
    ++processEventsCalls;
    QCoreApplication::processEvents();
    clock = clock.addMSecs(tickMilliseconds);
    if (onProcessEvents) onProcessEvents();
}

ScriptedPlatform& installScriptedPlatform() {
    auto p = std::make_unique<ScriptedPlatform>();
    ScriptedPlatform& ref = *p;
    setPlatform(std::move(p));
    return ref;
}
