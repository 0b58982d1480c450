#pragma once

#include <QDateEdit>
#include <QDateTime>

// A date picker that keeps the time of day it was given and tells a user's pick (typed or chosen in
// the calendar) apart from a date written by code: only the former emits userPicked.
class DatePicker : public QDateEdit {
    Q_OBJECT
public:
    explicit DatePicker(QWidget* parent = nullptr);

    // Writes a date (and keeps its time of day) without counting as a user's pick.
    void setValue(const QDateTime& value);
    QDateTime value() const;

signals:
    void userPicked();

private:
    QTime m_time;
    bool m_writing = false;
};
