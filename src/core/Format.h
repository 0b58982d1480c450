#pragma once

#include "core/Money.h"

#include <QDateTime>
#include <QString>

// The program's one way of writing and reading amounts and dates on screen.

// "Currency": the system's money format with two decimals ($1,234.50; -$5.00), the cent rounded
// half away from zero. Exact: written from the amount's digits.
QString fmt_Currency(Money amount);
// "Standard": thousands separators and two decimals (1,234.50).
QString fmt_Standard(double number);
// A date by a classic pattern ("mmm d, yyyy", "mmmm dd, yyyy", "mm/dd/yy", ...).
QString fmt_Date(const QDateTime& dateTime, const QString& classicPattern);
// The same for a bare date (no local-time conversion: the quick form for long lists).
QString fmt_Date(const QDate& date, const QString& classicPattern);
// The short date form (M/d/yyyy: always a four-digit year, so that the text reads back right).
QString fmt_ShortDate(const QDateTime& dateTime);
// Translates a classic date pattern into Qt's (month letters m become M; minutes stay m after h;
// "AM/PM" becomes AP).
QString fmt_QtDatePattern(const QString& classicPattern);

// Reads a number that is not money (a percentage) as the screens write it: "1,234.50", "12.5"; an
// empty or blank text is 0. A text that is not a number raises the type-mismatch error 13. Amounts
// of money are read with money_Read.
double util_dReadNumber(const QString& text);
// Reads a date as the screens write it (short form, "mmm d, yyyy", ISO); an invalid QDateTime when
// the text is not a date.
QDateTime util_ReadDate(const QString& text);
