#include "support/ScriptedPlatform.h"

#include <QCoreApplication>
#include <QDir>
#include "core/AppError.h"
#include "core/ReportDocument.h"
#include <QWidget>
#include <gtest/gtest.h>

int ScriptedPlatform::messageBox(const QString& text, int style, const QString& title) {
    messages.push_back({text, style, title});
    if (!answers.empty()) {
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }
    if ((style & 0x0f) == YesNo) {
        ADD_FAILURE() << "Unanswered question: " << title.toStdString() << ": " << text.toStdString();
        return No;
    }
    return Ok;
}

void ScriptedPlatform::showModal(QObject* screen) {
    modalScreens << screen->objectName();
    if (modalHandlers.empty()) {
        ADD_FAILURE() << "Unexpected modal screen " << screen->objectName().toStdString();
    } else {
        auto handler = std::move(modalHandlers.front());
        modalHandlers.pop_front();
        if (auto* widget = qobject_cast<QWidget*>(screen)) widget->show();
        handler(screen);
    }
    if (auto* widget = qobject_cast<QWidget*>(screen); widget && widget->isVisible()) widget->close();
}

void ScriptedPlatform::showModeless(QObject* screen) {
    modelessScreens << screen->objectName();
    if (auto* widget = qobject_cast<QWidget*>(screen)) widget->show();
}

Platform::ErrorReportAnswer ScriptedPlatform::showErrorReport(const ErrorReportInfo& info) {
    errorReports.push_back(info);
    if (errorReportHandler) return errorReportHandler(info);
    if (errorAnswers.empty()) {
        ADD_FAILURE() << "Unexpected error report: " << info.number << " " << info.description.toStdString()
                      << " at " << info.location.toStdString();
        return {};
    }
    const ErrorReportAnswer answer = errorAnswers.front();
    errorAnswers.pop_front();
    return answer;
}

QString ScriptedPlatform::getOpenFileName(const QString& title, const QString& folder, const QString& filter) {
    openFileCalls.push_back({title, folder, filter});
    if (openFileAnswers.empty()) return QString();
    QString answer = openFileAnswers.front();
    openFileAnswers.pop_front();
    return answer;
}

QString ScriptedPlatform::getSaveFileName(const QString&, const QString& suggestedPath, const QString&) {
    saveFileSuggestions << suggestedPath;
    if (saveFileAnswers.empty()) return QString();
    QString answer = saveFileAnswers.front();
    saveFileAnswers.pop_front();
    return answer;
}

void ScriptedPlatform::openTarget(const QString& target) { openedTargets << target; }

bool ScriptedPlatform::startProgram(const QString& program, const QStringList& arguments) {
    startedPrograms.emplace_back(program, arguments);
    return startProgramSucceeds;
}

void ScriptedPlatform::showHelp(const QString& helpFile, HelpCommand command, const QString& topic) {
    helpCalls.push_back({helpFile, command, topic});
}

void ScriptedPlatform::outputReport(const ReportDocument& document, ReportTarget target, const QString& title) {
    reportTargets.push_back(target);
    if (target == ReportTarget::Printer && printerFails)
        throw AppError(ErrNo::PrinterError, QStringLiteral("Printer Error"));
    const QString folder = reportFolder.isEmpty() ? QDir::tempPath() : reportFolder;
    const QString file =
        QDir(folder).filePath(QStringLiteral("report-%1-%2.pdf").arg(reportFiles.size() + 1).arg(title));
    QStringList texts;
    document.writePdf(file, &texts);
    reportFiles << file;
    reportTexts << texts.join(QStringLiteral("\f"));
}

void ScriptedPlatform::setClipboardText(const QString& text) { clipboard = text; }

void ScriptedPlatform::setPointer(int cursorShape) {
    pointer = cursorShape;
    pointerHistory.push_back(cursorShape);
}

QDateTime ScriptedPlatform::now() { return clock; }

void ScriptedPlatform::processEvents() {
    ++processEventsCalls;
    QCoreApplication::processEvents();
    clock = clock.addMSecs(tickMilliseconds);
    if (onProcessEvents) onProcessEvents();
}

void ScriptedPlatform::quitProgram() { quitRequested = true; }

ScriptedPlatform& installScriptedPlatform() {
    auto p = std::make_unique<ScriptedPlatform>();
    ScriptedPlatform& ref = *p;
    setPlatform(std::move(p));
    return ref;
}
