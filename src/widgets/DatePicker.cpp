#include "widgets/DatePicker.h"

DatePicker::DatePicker(QWidget* parent) : QDateEdit(parent) {
    setCalendarPopup(true);
    setDisplayFormat(QStringLiteral("M/d/yyyy"));
    setMinimumDate(QDate(100, 1, 1));
    connect(this, &QDateEdit::dateChanged, this, [this] {
        if (!m_writing) emit userPicked();
    });
}

void DatePicker::setValue(const QDateTime& value) {
    m_writing = true;
    m_time = value.time();
    setDate(value.date());
    m_writing = false;
}

QDateTime DatePicker::value() const { return QDateTime(date(), m_time); }
