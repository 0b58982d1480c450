#pragma once

#include <QDialog>
#include <array>
#include <memory>

namespace Ui {
class frmUnexpectedError;
}
class QPushButton;

// The error report screen: shows an unexpected error and lets the user choose how the failing
// procedure goes on (try again, ignore, stop). Shift alone held while pressing a stop button also
// asks for the program to end once the screen has closed.
class frmUnexpectedError : public QDialog {
    Q_OBJECT
public:
    explicit frmUnexpectedError(QWidget* parent = nullptr);
    ~frmUnexpectedError() override;

    // Set before the screen is shown.
    QString ErrorLocation;
    void setError(int number, const QString& description, const QString& otherInfo);

    // The action chosen (3 leave, 4 try again, 5 go on); 3 when the screen was closed otherwise.
    int chosenAction() const { return m_action; }

    // The text of an error report as it would be sent.
    QString func_sBuildReportText() const;

    std::array<QPushButton*, 6> cmdErrorAction{};

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Form_Load();
    void cmdErrorAction_Click(int index);
    void cmdEmailErrorInfo_Click();

    std::unique_ptr<Ui::frmUnexpectedError> ui;
    int m_number = 0;
    QString m_description;
    QString m_otherInfo;
    int m_action = 3;
    bool m_loaded = false;
};
