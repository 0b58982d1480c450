#pragma once

#include "core/Platform.h"

#include <QWidget>

class QHelpEngine;
class QTabWidget;
class QTextBrowser;

// The help viewer: a window over the compiled help file with its contents, index and full-text
// search beside the page on display.
class HelpViewer : public QWidget {
    Q_OBJECT
public:
    explicit HelpViewer(const QString& helpFile, QWidget* parent = nullptr);

    void open(Platform::HelpCommand command, const QString& topic);

private:
    void showPage(const QUrl& url);

    QString m_helpFile;
    bool m_ready = false;
    QHelpEngine* m_engine = nullptr;
    QTabWidget* m_tabs = nullptr;
    QTextBrowser* m_browser = nullptr;
};
