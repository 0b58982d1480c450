#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class frmMemoPad;
}
class QPlainTextEdit;
class QPushButton;

// "Memo Pad": one free text kept in the settings (the field Memo of Config). Only "Exit" stores it;
// closing the window any other way drops the changes. "Undo" brings back the stored text.
class frmMemoPad : public QDialog {
    Q_OBJECT
public:
    explicit frmMemoPad(QWidget* parent = nullptr);
    ~frmMemoPad() override;

    // Centres the screen and shows the stored memo. Runs by itself when the screen is first shown.
    void Form_Load();
    // The memo box fills the window but for a margin and the row of buttons.
    void Form_Resize();
    void cmdClearMemo_Click();
    void cmdRevertMemo_Click();
    void cmdExitMemo_Click();

    QPlainTextEdit* txtMemo = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // The memo as stored ("" when there is none yet).
    static QString storedMemo();
    int twipsX(int twips) const;
    int twipsY(int twips) const;

    std::unique_ptr<Ui::frmMemoPad> ui;
    bool m_loaded = false;
};
