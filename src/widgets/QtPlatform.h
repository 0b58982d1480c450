#pragma once

#include "core/Platform.h"

#include <QPointer>

class HelpViewer;

// A file dialog filter (entries apart by ";;", each a description with its patterns in parentheses at
// the end) whose patterns match names in any letter case: "*.jpg" becomes "*.[jJ][pP][gG]", so that
// a scan named "FRONT.JPG" is listed on a file system that tells cases apart.
QString util_sCaseInsensitiveFilter(const QString& filter);

// The Platform of the running program: real message boxes, dialogs, windows, printer and clock.
class QtPlatform : public Platform {
public:
    QtPlatform();
    ~QtPlatform() override;

    int messageBox(const QString& text, int style, const QString& title) override;
    void showModal(QObject* screen) override;
    void showModeless(QObject* screen) override;
    ErrorReportAnswer showErrorReport(const ErrorReportInfo& info) override;
    QString getOpenFileName(const QString& title, const QString& folder, const QString& filter) override;
    QString getSaveFileName(const QString& title, const QString& suggestedPath, const QString& filter) override;
    void openTarget(const QString& target) override;
    bool startProgram(const QString& program, const QStringList& arguments) override;
    void showHelp(const QString& helpFile, HelpCommand command, const QString& topic) override;
    void outputReport(const ReportDocument& document, ReportTarget target, const QString& title) override;
    void setClipboardText(const QString& text) override;
    void setPointer(int cursorShape) override;
    QDateTime now() override;
    void processEvents() override;
    void quitProgram() override;

private:
    QPointer<HelpViewer> m_helpViewer;
};
