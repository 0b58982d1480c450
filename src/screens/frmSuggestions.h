#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class frmSuggestions;
}
class QPlainTextEdit;

// "Suggestions": a small tool window that shows lines of advice, one under the other, for reading
// only. The opener puts in the text (lines joined by "\r\n") and shows the screen.
class frmSuggestions : public QDialog {
    Q_OBJECT
public:
    explicit frmSuggestions(QWidget* parent = nullptr);
    ~frmSuggestions() override;

    // The lines to show, joined by "\r\n" (a lone "\n" or "\r" also ends a line).
    void setSuggestions(const QString& text);
    // The lines on display, joined by "\r\n".
    QString suggestions() const;

    // Centres the screen. Runs by itself when the screen is first shown.
    void Form_Load();

    QPlainTextEdit* txtSuggestions = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::unique_ptr<Ui::frmSuggestions> ui;
    bool m_loaded = false;
};
