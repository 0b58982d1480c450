#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class frmCalendar;
}
class QCalendarWidget;
class QTimer;

// "Calendar": a month calendar on today's date, with the time of day in the title bar (brought up
// to date every 10 seconds). A double click on a day brings the calendar back to today.
class frmCalendar : public QDialog {
    Q_OBJECT
public:
    explicit frmCalendar(QWidget* parent = nullptr);
    ~frmCalendar() override;

    // Centres the screen, shows today and the time. Runs by itself when the screen is first shown.
    void Form_Load();
    void Timer1_Timer();
    void Calendar_DblClick();

    QCalendarWidget* Calendar = nullptr;
    QTimer* Timer1 = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::unique_ptr<Ui::frmCalendar> ui;
    bool m_loaded = false;
};
