#pragma once

#include "core/Platform.h"

#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

// The Platform of the tests: answers message boxes from a queue and records every one shown,
// hands modal screens to callbacks instead of blocking, keeps a settable clock that moves on a
// little each time events are processed, and writes report output to PDF files.
class ScriptedPlatform : public Platform {
public:
    struct Message {
        QString text;
        int style;
        QString title;
    };
    struct HelpCall {
        QString helpFile;
        HelpCommand command;
        QString topic;
    };

    // Answers for message boxes, taken in order. With none queued, an OK box answers Ok and a
    // question fails the test.
    std::deque<int> answers;
    std::vector<Message> messages;

    // Callbacks for modal screens, taken in order; each gets the screen while it is "shown". With
    // none queued, a modal screen fails the test.
    std::deque<std::function<void(QObject*)>> modalHandlers;
    QStringList modalScreens; // object names of the modal screens shown
    QStringList modelessScreens;

    // Answers for the error report screen, or a callback that decides (it may raise errors itself).
    std::deque<ErrorReportAnswer> errorAnswers;
    std::function<ErrorReportAnswer(const ErrorReportInfo&)> errorReportHandler;
    std::vector<ErrorReportInfo> errorReports;

    // Answers for the open dialog, taken in order (none queued: cancelled); each call's title, folder
    // and filter.
    std::deque<QString> openFileAnswers;
    struct OpenFileCall {
        QString title;
        QString folder;
        QString filter;
    };
    std::vector<OpenFileCall> openFileCalls;
    // Answers for the save dialog, taken in order (none queued: cancelled); each call's suggested path.
    std::deque<QString> saveFileAnswers;
    QStringList saveFileSuggestions;
    QStringList openedTargets;
    std::vector<HelpCall> helpCalls;

    QString reportFolder;      // where report output is written as PDF files
    QStringList reportFiles;   // the files written, in order
    std::vector<ReportTarget> reportTargets; // every output asked for, also a failed one
    QStringList reportTexts;   // the plain text of each file written, its sections joined by form feeds
    bool printerFails = false; // output to the printer raises 482

    QString clipboard;
    int pointer = -1;          // the current override cursor shape, -1 for the normal pointer
    std::vector<int> pointerHistory;

    QDateTime clock = QDateTime(QDate(2026, 12, 4), QTime(22, 16, 6));
    qint64 tickMilliseconds = 50; // how far the clock moves each time events are processed
    int processEventsCalls = 0;
    std::function<void()> onProcessEvents; // called each time events are processed, after the clock moved
    bool quitRequested = false;

    int messageBox(const QString& text, int style, const QString& title) override;
    void showModal(QObject* screen) override;
    void showModeless(QObject* screen) override;
    ErrorReportAnswer showErrorReport(const ErrorReportInfo& info) override;
    QString getOpenFileName(const QString& title, const QString& folder, const QString& filter) override;
    QString getSaveFileName(const QString& title, const QString& suggestedPath, const QString& filter) override;
    void openTarget(const QString& target) override { openedTargets << target; }
    bool startProgram(const QString&, const QStringList&) override { return true; } // as if started
    void showHelp(const QString& helpFile, HelpCommand command, const QString& topic) override {
        helpCalls.push_back({helpFile, command, topic});
    }
    void outputReport(const ReportDocument& document, ReportTarget target, const QString& title) override;
    void setClipboardText(const QString& text) override { clipboard = text; }
    void setPointer(int cursorShape) override { pointerHistory.push_back(pointer = cursorShape); }
    QDateTime now() override { return clock; }
    void processEvents() override;
    void quitProgram() override { quitRequested = true; }
};

// Installs a fresh ScriptedPlatform as the program's platform and returns it.
ScriptedPlatform& installScriptedPlatform();
