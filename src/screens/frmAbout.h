#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class frmAbout;
}
class QLabel;

// "About Dunmark": the product's name, version and copyright, and "OK".
class frmAbout : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(QWidget* parent = nullptr);
    ~frmAbout() override;

    // Fills the texts and centres the screen. Runs by itself when the screen is first shown.
    void Form_Load();
    void cmdAboutOK_Click();

    QLabel* lblProductName = nullptr;
    QLabel* lblAboutVersion = nullptr;
    QLabel* lblAboutCopyright = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::unique_ptr<Ui::frmAbout> ui;
    bool m_loaded = false;
};
