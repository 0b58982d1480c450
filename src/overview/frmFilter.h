#pragma once

#include "overview/FilterLogic.h"

#include <QDialog>
#include <array>
#include <memory>

namespace Ui {
class frmFilter;
}
class CaseDisplay;
class QLabel;
class QRadioButton;

// "Filter": narrows the case set of the case screen by status, stage, agency, partial payment and a
// date condition. "OK" makes the choices the case screen's set and shows its first case; "Cancel"
// changes nothing. Every opening is a new dialog, starting from the design choices.
class frmFilter : public QDialog {
    Q_OBJECT
public:
    explicit frmFilter(CaseDisplay& caseScreen, QWidget* parent = nullptr);
    ~frmFilter() override;

    void Form_Load();
    // Fills the stage list and the agencies of the cases.
    void func_AssignValues();
    void optDate_Click(int index);
    void optDateReceived_Click(int index);
    void cmdOKEventFilter_Click();
    void cmdCancelEventFilter_Click();

    // The choices on display.
    FilterChoices choices() const;

    std::array<QRadioButton*, 3> optCaseStatus{};
    std::array<QRadioButton*, 4> optDate{};
    std::array<QRadioButton*, 4> optDateReceived{};
    std::array<QLabel*, 2> lblDateParm{};

private:
    std::unique_ptr<Ui::frmFilter> ui;
    CaseDisplay& m_caseScreen;
};
