#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class QObject;
class ReportDocument;

// Everything that would stop a test or leave the process goes through this interface: message
// boxes, the modal and modeless display of screens, dialogs, the shell, the help viewer, report
// output, the clipboard, the mouse pointer and the clock. The running program uses the Qt
// implementation (QtPlatform); tests use a scripted one.
class Platform {
public:
    // Classic message box styles and answers.
    enum Style {
        OkOnly = 0,
        YesNo = 4,
        Critical = 16,
        Question = 32,
        Exclamation = 48,
        Information = 64,
    };
    enum Answer { Ok = 1, Yes = 6, No = 7 };

    enum class HelpCommand { Contents, Index, Search, Topic };
    enum class ReportTarget { Preview, Printer };

    // What the user chose on the error report screen.
    struct ErrorReportAnswer {
        int action = 3;          // 3 leave, 4 try again, 5 go on
        bool endProgram = false; // Shift alone held while pressing a stop button
    };
    struct ErrorReportInfo {
        int number = 0;
        QString description;
        QString location;
        QString otherInfo;
    };

    virtual ~Platform() = default;

    // A message box; text may use carriage returns alone as line breaks. The title is never empty
    // here (msgBox() below puts in the application title). Returns Ok, Yes or No.
    virtual int messageBox(const QString& text, int style, const QString& title) = 0;

    // Shows a screen (a QWidget) modally and returns when it has closed.
    virtual void showModal(QObject* screen) = 0;
    // Shows a screen beside the others and returns at once.
    virtual void showModeless(QObject* screen) = 0;

    // The error report screen, shown modally; returns the user's choice.
    virtual ErrorReportAnswer showErrorReport(const ErrorReportInfo& info) = 0;

    // The file-open dialog; an empty text when cancelled. The filter is Qt's ("Description (*.a *.b)",
    // entries apart by ";;"); its patterns match names in any letter case.
    virtual QString getOpenFileName(const QString& title, const QString& folder, const QString& filter) = 0;
    // The file-save dialog, proposing suggestedPath (a folder and a name); it asks before replacing
    // a file. An empty text when cancelled.
    virtual QString getSaveFileName(const QString& title, const QString& suggestedPath, const QString& filter) = 0;

    // Opens a file, web address or e-mail address with the desktop's default program.
    virtual void openTarget(const QString& target) = 0;
    // Starts another program; false when it could not be started.
    virtual bool startProgram(const QString& program, const QStringList& arguments) = 0;
    // Opens the help viewer on the help file; topic is the page name (Topic only).
    virtual void showHelp(const QString& helpFile, HelpCommand command, const QString& topic) = 0;

    // Sends a report to the preview window (print, zoom, pages, "Save as PDF...") or, through the
    // printer dialog, to the printer. Raises 482 when there is no printer or it fails.
    virtual void outputReport(const ReportDocument& document, ReportTarget target, const QString& title) = 0;

    virtual void setClipboardText(const QString& text) = 0;

    // The screen-wide mouse pointer: a Qt::CursorShape, or -1 for the normal pointer.
    virtual void setPointer(int cursorShape) = 0;

    virtual QDateTime now() = 0;
    // Lets pending window events run (used while waiting).
    virtual void processEvents() = 0;
    // Ends the program at once: every screen closes, nothing more runs.
    virtual void quitProgram() = 0;
};

// The platform in use. Set once at start (or by a test) with setPlatform.
Platform& platform();
void setPlatform(std::unique_ptr<Platform> p);

// A message box in the program's one idiom: a box without a title carries the application title.
int msgBox(const QString& text, int style = Platform::OkOnly, const QString& title = QString());
