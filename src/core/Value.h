#pragma once

#include "core/Money.h"

#include <QDateTime>
#include <QString>
#include <optional>

// The variant that passes between the screens and the record operations.
//
// Conversions follow the old desktop-basic rules:
// - A text "reads as a number" when, apart from leading/trailing blanks, it is a decimal number with an
//   optional sign, "$" symbol, "," thousands separators and exponent; "(...)" makes it negative:
//   "$1,234.50", "-$5.00", "($5.00)". Any other text raises AppError 13 "Type mismatch".
// - Empty reads as 0, "" and False; Null raises AppError 94 "Invalid use of Null" when read as a number,
//   a date or a truth value, but toString() of Null is "".
// - As a number, True is -1 and False is 0 (the basic rule). Yes/No fields are nevertheless stored as
//   1/0 in the database; the engine converts.
// - A Date is a day number: days since 30 December 1899, with the time of day as the fraction. Time
//   zones play no part: only the date and clock parts of a QDateTime are used.
// - Currency is a 64-bit integer scaled by 10 000 (four decimals, exact).
class Value {
public:
    enum class Kind { Empty, Null, Boolean, Integer, Double, Currency, Date, Text };

    Value() = default; // Empty
    Value(bool b) : m_kind(Kind::Boolean), m_int(b ? 1 : 0) {}
    Value(int i) : m_kind(Kind::Integer), m_int(i) {}
    Value(qint64 i) : m_kind(Kind::Integer), m_int(i) {}
    Value(double d) : m_kind(Kind::Double), m_double(d) {}
    Value(const QString& s) : m_kind(Kind::Text), m_text(s) {}
    Value(const char* s) : m_kind(Kind::Text), m_text(QString::fromUtf8(s)) {}

    static Value empty() { return Value(); }
    static Value null();
    static Value currency(double amount);           // rounded to four decimals
    static Value currencyFromScaled(qint64 scaled); // amount * 10 000
    static Value money(Money amount) { return currencyFromScaled(amount.units()); }
    static Value date(const QDateTime& dateTime);   // an invalid QDateTime gives Null
    static Value date(const QDate& date);           // midnight
    static Value fromDayNumber(double dayNumber);

    Kind kind() const { return m_kind; }
    bool isEmpty() const { return m_kind == Kind::Empty; }
    bool isNull() const { return m_kind == Kind::Null; }
    // A number kind (Boolean, Integer, Double, Currency), Empty, or a text that reads as a number.
    bool isNumeric() const;

    double toDouble() const;   // a Date gives its day number
    qint64 toLongLong() const; // rounds half to even; AppError 6 on overflow
    bool toBool() const;       // also accepts the texts "True" / "False"
    QString toString() const;
    QDateTime toDateTime() const;  // texts "M/d/yyyy [h:mm[:ss] [AM|PM]]" or "yyyy-MM-dd [HH:mm:ss]"
    QDate toDate() const;          // the date part alone, by the same rules as toDateTime()
    qint64 currencyScaled() const; // the amount * 10 000, exact for texts and currency
    // The value as an amount of money (exact for texts and currency); Null and Empty give 0.
    Money toMoney() const { return isNull() || isEmpty() ? Money() : Money::fromUnits(currencyScaled()); }

    bool operator==(const Value& other) const;
    bool operator!=(const Value& other) const { return !(*this == other); }

    // Kind and content, for diagnostics and test output: Text("abc"), Currency(12.5) ...
    QString debugString() const;

    // Helpers shared with the rest of the engine.
    static std::optional<double> parseNumber(const QString& text);
    static std::optional<qint64> parseCurrency(const QString& text);
    static std::optional<QDateTime> parseDateTime(const QString& text);
    // The day number of a date text (the forms toDateTime() reads), building no QDateTime.
    static std::optional<double> parseDayNumber(const QString& text);
    static double toDayNumber(const QDateTime& dateTime);
    static QDateTime fromDayNumberToDateTime(double dayNumber);

private:
    Kind m_kind = Kind::Empty;
    qint64 m_int = 0;      // Boolean (1/0), Integer, Currency (scaled)
    double m_double = 0.0; // Double, Date (day number)
    QString m_text;
};
