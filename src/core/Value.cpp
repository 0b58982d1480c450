#include "core/Value.h"

#include "core/AppError.h"

#include <QRegularExpression>
#include <cmath>
#include <limits>

namespace {

constexpr qint64 CurrencyScale = 10000;
// The day numbers of 1 January 100 and 31 December 9999, the range of the classic date type.
constexpr double MinDayNumber = -657434.0;
constexpr double MaxDayNumber = 2958466.0;

[[noreturn]] void typeMismatch() {
    throw AppError(ErrNo::TypeMismatch, QStringLiteral("Type mismatch"));
}
[[noreturn]] void invalidUseOfNull() {
    throw AppError(94, QStringLiteral("Invalid use of Null"));
}
[[noreturn]] void overflow() {
    throw AppError(ErrNo::Overflow, QStringLiteral("Overflow"));
}

QDate baseDate() {
    return QDate(1899, 12, 30);
}

// The pieces of a text that reads as a number: sign, integer digits, fraction digits and exponent.
struct NumberText {
    bool negative = false;
    QString integerDigits;
    QString fractionDigits;
    bool hasExponent = false;
    int exponent = 0;
};

bool isBlank(QChar c) {
    return c == u' ' || c == u'\t';
}

std::optional<NumberText> scanNumber(const QString& text) {
    QStringView s = QStringView(text).trimmed();
    NumberText n;
    bool parenthesised = false;
    if (s.size() >= 2 && s.front() == u'(' && s.back() == u')') {
        parenthesised = true;
        s = s.mid(1, s.size() - 2).trimmed();
    }
    bool seenSign = false;
    bool seenDollar = false;
    while (!s.isEmpty()) {
        const QChar c = s.front();
        if ((c == u'-' || c == u'+') && !seenSign && !parenthesised) {
            seenSign = true;
            n.negative = (c == u'-');
        } else if (c == u'$' && !seenDollar) {
            seenDollar = true;
        } else {
            break;
        }
        s = s.mid(1);
        while (!s.isEmpty() && isBlank(s.front()))
            s = s.mid(1);
    }
    n.negative = n.negative || parenthesised;

    qsizetype i = 0;
    bool lastWasComma = false;
    while (i < s.size() && (s[i].isDigit() || (s[i] == u',' && !n.integerDigits.isEmpty()))) {
        lastWasComma = s[i] == u',';
        if (!lastWasComma) n.integerDigits += s[i];
        ++i;
    }
    if (lastWasComma) return std::nullopt;
    if (i < s.size() && s[i] == u'.') {
        ++i;
        while (i < s.size() && s[i].isDigit())
            n.fractionDigits += s[i++];
    }
    if (n.integerDigits.isEmpty() && n.fractionDigits.isEmpty()) return std::nullopt;
    if (i < s.size() && (s[i] == u'e' || s[i] == u'E' || s[i] == u'd' || s[i] == u'D')) {
        ++i;
        bool expNegative = false;
        if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) expNegative = s[i++] == u'-';
        QString digits;
        while (i < s.size() && s[i].isDigit())
            digits += s[i++];
        if (digits.isEmpty() || digits.size() > 4) return std::nullopt;
        n.hasExponent = true;
        n.exponent = digits.toInt() * (expNegative ? -1 : 1);
    }
    if (i != s.size()) return std::nullopt;
    return n;
}

qint64 roundHalfEvenDiv(qint64 value, qint64 divisor) {
    qint64 q = value / divisor;
    const qint64 r = value % divisor;
    const qint64 twice = 2 * (r < 0 ? -r : r);
    if (twice > divisor || (twice == divisor && (q % 2) != 0)) q += (value < 0) ? -1 : 1;
    return q;
}

qint64 doubleToLongLong(double d) {
    const double r = std::nearbyint(d); // the default rounding mode rounds half to even
    if (!std::isfinite(r) || r < -9223372036854775808.0 || r >= 9223372036854775808.0) overflow();
    return static_cast<qint64>(r);
}

qint64 doubleToCurrency(double d) {
    const double scaled = std::round(d * CurrencyScale);
    if (!std::isfinite(scaled) || scaled < -9223372036854775808.0 || scaled >= 9223372036854775808.0)
        overflow();
    return static_cast<qint64>(scaled);
}

QString formatDouble(double d) {
    QString s = QString::number(d, 'g', 15);
    const qsizetype e = s.indexOf(u'e');
    if (e >= 0) s[e] = u'E';
    return s;
}

QString twoDigits(int n) {
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

// Reads exactly `count` digits at s[i...]; -1 when any of them is not a digit.
int fixedDigits(QStringView s, qsizetype i, int count) {
    int n = 0;
    for (int k = 0; k < count; ++k) {
        const char16_t c = s[i + k].unicode();
        if (c < u'0' || c > u'9') return -1;
        n = n * 10 + (c - u'0');
    }
    return n;
}

// The day number of a date and a time of day (milliseconds since midnight).
double dayNumberOf(const QDate& date, qint64 msecsOfDay) {
    const double days = static_cast<double>(date.toJulianDay() - baseDate().toJulianDay());
    const double fraction = static_cast<double>(msecsOfDay) / 86400000.0;
    return days >= 0 ? days + fraction : days - fraction;
}

// The date and time of day (milliseconds since midnight) of a day number.
std::pair<QDate, int> splitDayNumber(double dayNumber) {
    if (!std::isfinite(dayNumber) || dayNumber < MinDayNumber || dayNumber >= MaxDayNumber) overflow();
    qint64 days = static_cast<qint64>(std::trunc(dayNumber));
    qint64 msecs = std::llround(std::fabs(dayNumber - static_cast<double>(days)) * 86400000.0);
    // Whole seconds unless the value really carries milliseconds (avoids 23:59:59.999 from rounding).
    if (msecs % 1000 != 0 && std::llabs(msecs - std::llround(msecs / 1000.0) * 1000) <= 1)
        msecs = std::llround(msecs / 1000.0) * 1000;
    if (msecs >= 86400000) {
        msecs -= 86400000;
        days += dayNumber < 0 ? -1 : 1;
    }
    return {QDate::fromJulianDay(baseDate().toJulianDay() + days), static_cast<int>(msecs)};
}

// The stored form 'YYYY-MM-DD HH:MM:SS' (or the date alone), read without regular expressions.
std::optional<std::pair<QDate, int>> parseStoredForm(const QString& text) {
    const QStringView s(text);
    if (s.size() != 10 && s.size() != 19) return std::nullopt;
    if (s[4] != u'-' || s[7] != u'-') return std::nullopt;
    const int year = fixedDigits(s, 0, 4), month = fixedDigits(s, 5, 2), day = fixedDigits(s, 8, 2);
    if (year < 0 || month < 0 || day < 0) return std::nullopt;
    int hour = 0, minute = 0, second = 0;
    if (s.size() == 19) {
        if (s[10] != u' ' || s[13] != u':' || s[16] != u':') return std::nullopt;
        hour = fixedDigits(s, 11, 2);
        minute = fixedDigits(s, 14, 2);
        second = fixedDigits(s, 17, 2);
        if (hour < 0 || minute < 0 || second < 0) return std::nullopt;
    }
    const QDate date(year, month, day);
    if (!date.isValid() || !QTime::isValid(hour, minute, second, 0)) return std::nullopt;
    return std::pair<QDate, int>{date, ((hour * 60 + minute) * 60 + second) * 1000};
}

// Any accepted date text as a date and a time of day (milliseconds since midnight).
std::optional<std::pair<QDate, int>> parseDateParts(const QString& text) {
    if (auto stored = parseStoredForm(text)) return stored;

    static const QRegularExpression classic(QStringLiteral(
        R"(^\s*(\d{1,2})/(\d{1,2})/(\d{2}|\d{4})(?:\s+(\d{1,2}):(\d{1,2})(?::(\d{1,2}))?\s*([AaPp][Mm])?)?\s*$)"));
    static const QRegularExpression iso(QStringLiteral(
        R"(^\s*(\d{4})-(\d{1,2})-(\d{1,2})(?:[ T](\d{1,2}):(\d{2})(?::(\d{2})(?:\.\d+)?)?)?\s*$)"));
    static const QRegularExpression timeOnly(
        QStringLiteral(R"(^\s*(\d{1,2}):(\d{1,2})(?::(\d{1,2}))?\s*([AaPp][Mm])?\s*$)"));

    int year = 1899, month = 12, day = 30, hour = 0, minute = 0, second = 0;
    QString ampm;
    bool timeGiven = false;
    if (const auto m = classic.match(text); m.hasMatch()) {
        month = m.captured(1).toInt();
        day = m.captured(2).toInt();
        year = m.captured(3).toInt();
        if (m.captured(3).size() == 2) year += year < 30 ? 2000 : 1900;
        timeGiven = m.hasCaptured(4);
        hour = m.captured(4).toInt();
        minute = m.captured(5).toInt();
        second = m.captured(6).toInt();
        ampm = m.captured(7);
    } else if (const auto m = iso.match(text); m.hasMatch()) {
        year = m.captured(1).toInt();
        month = m.captured(2).toInt();
        day = m.captured(3).toInt();
        hour = m.captured(4).toInt();
        minute = m.captured(5).toInt();
        second = m.captured(6).toInt();
    } else if (const auto m = timeOnly.match(text); m.hasMatch()) {
        timeGiven = true;
        hour = m.captured(1).toInt();
        minute = m.captured(2).toInt();
        second = m.captured(3).toInt();
        ampm = m.captured(4);
    } else {
        return std::nullopt;
    }
    if (!ampm.isEmpty()) {
        if (!timeGiven || hour < 1 || hour > 12) return std::nullopt;
        const bool pm = ampm.startsWith(u'P', Qt::CaseInsensitive);
        hour = (hour % 12) + (pm ? 12 : 0);
    }
    const QDate date(year, month, day);
    if (!date.isValid() || !QTime::isValid(hour, minute, second, 0)) return std::nullopt;
    return std::pair<QDate, int>{date, ((hour * 60 + minute) * 60 + second) * 1000};
}

} // namespace

Value Value::null() {
    Value v;
    v.m_kind = Kind::Null;
    return v;
}

Value Value::currency(double amount) {
    return currencyFromScaled(doubleToCurrency(amount));
}

Value Value::currencyFromScaled(qint64 scaled) {
    Value v;
    v.m_kind = Kind::Currency;
    v.m_int = scaled;
    return v;
}

Value Value::date(const QDateTime& dateTime) {
    if (!dateTime.isValid()) return null();
    return fromDayNumber(toDayNumber(dateTime));
}

Value Value::date(const QDate& date) {
    if (!date.isValid()) return null();
    return fromDayNumber(dayNumberOf(date, 0));
}

Value Value::fromDayNumber(double dayNumber) {
    Value v;
    v.m_kind = Kind::Date;
    v.m_double = dayNumber;
    return v;
}

bool Value::isNumeric() const {
    switch (m_kind) {
    case Kind::Empty:
    case Kind::Boolean:
    case Kind::Integer:
    case Kind::Double:
    case Kind::Currency:
        return true;
    case Kind::Text:
        return parseNumber(m_text).has_value();
    case Kind::Null:
    case Kind::Date:
        return false;
    }
    return false;
}

double Value::toDouble() const {
    switch (m_kind) {
    case Kind::Empty:
        return 0.0;
    case Kind::Null:
        invalidUseOfNull();
    case Kind::Boolean:
        return m_int ? -1.0 : 0.0;
    case Kind::Integer:
        return static_cast<double>(m_int);
    case Kind::Currency:
        return static_cast<double>(m_int) / CurrencyScale;
    case Kind::Double:
    case Kind::Date:
        return m_double;
    case Kind::Text:
        if (const auto d = parseNumber(m_text)) return *d;
        typeMismatch();
    }
    return 0.0;
}

qint64 Value::toLongLong() const {
    switch (m_kind) {
    case Kind::Empty:
        return 0;
    case Kind::Null:
        invalidUseOfNull();
    case Kind::Boolean:
        return m_int ? -1 : 0;
    case Kind::Integer:
        return m_int;
    case Kind::Currency:
        return roundHalfEvenDiv(m_int, CurrencyScale);
    case Kind::Double:
    case Kind::Date:
        return doubleToLongLong(m_double);
    case Kind::Text:
        if (const auto d = parseNumber(m_text)) return doubleToLongLong(*d);
        typeMismatch();
    }
    return 0;
}

bool Value::toBool() const {
    switch (m_kind) {
    case Kind::Empty:
        return false;
    case Kind::Null:
        invalidUseOfNull();
    case Kind::Boolean:
    case Kind::Integer:
    case Kind::Currency:
        return m_int != 0;
    case Kind::Double:
    case Kind::Date:
        return m_double != 0.0;
    case Kind::Text: {
        const QString t = m_text.trimmed();
        if (t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0) return true;
        if (t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0) return false;
        if (const auto d = parseNumber(t)) return *d != 0.0;
        typeMismatch();
    }
    }
    return false;
}

QString Value::toString() const {
    switch (m_kind) {
    case Kind::Empty:
    case Kind::Null:
        return QString();
    case Kind::Boolean:
        return m_int ? QStringLiteral("True") : QStringLiteral("False");
    case Kind::Integer:
        return QString::number(m_int);
    case Kind::Double:
        return formatDouble(m_double);
    case Kind::Currency: {
        const bool negative = m_int < 0;
        const quint64 magnitude = negative ? 0 - static_cast<quint64>(m_int) : static_cast<quint64>(m_int);
        QString s = QString::number(magnitude / CurrencyScale);
        if (const quint64 fraction = magnitude % CurrencyScale) {
            QString f = QStringLiteral("%1").arg(fraction, 4, 10, QLatin1Char('0'));
            while (f.endsWith(u'0'))
                f.chop(1);
            s += u'.' + f;
        }
        return negative ? u'-' + s : s;
    }
    case Kind::Date: {
        // The classic display: the date alone at midnight, the time alone on day 0, otherwise both.
        const auto [d, msecs] = splitDayNumber(m_double);
        const QTime t = QTime::fromMSecsSinceStartOfDay(msecs);
        const QString datePart = QStringLiteral("%1/%2/%3").arg(d.month()).arg(d.day()).arg(d.year());
        const int hour12 = t.hour() % 12 == 0 ? 12 : t.hour() % 12;
        const QString timePart = QStringLiteral("%1:%2:%3 %4")
                                     .arg(hour12)
                                     .arg(twoDigits(t.minute()), twoDigits(t.second()),
                                          t.hour() < 12 ? QStringLiteral("AM") : QStringLiteral("PM"));
        const bool hasTime = t.msecsSinceStartOfDay() / 1000 != 0;
        if (!hasTime) return datePart;
        if (std::trunc(m_double) == 0.0) return timePart;
        return datePart + u' ' + timePart;
    }
    case Kind::Text:
        return m_text;
    }
    return QString();
}

QDateTime Value::toDateTime() const {
    switch (m_kind) {
    case Kind::Null:
        invalidUseOfNull();
    case Kind::Text: {
        if (const auto parts = parseDateParts(m_text))
            return QDateTime(parts->first, QTime::fromMSecsSinceStartOfDay(parts->second));
        if (const auto d = parseNumber(m_text)) return fromDayNumberToDateTime(*d);
        typeMismatch();
    }
    default:
        return fromDayNumberToDateTime(toDouble());
    }
}

qint64 Value::currencyScaled() const {
    switch (m_kind) {
    case Kind::Currency:
        return m_int;
    case Kind::Integer: {
        qint64 r = 0;
        if (__builtin_mul_overflow(m_int, CurrencyScale, &r)) overflow();
        return r;
    }
    case Kind::Text:
        if (const auto c = parseCurrency(m_text)) return *c;
        if (parseNumber(m_text)) overflow();
        typeMismatch();
    default:
        return doubleToCurrency(toDouble());
    }
}

bool Value::operator==(const Value& other) const {
    if (m_kind != other.m_kind) return false;
    switch (m_kind) {
    case Kind::Empty:
    case Kind::Null:
        return true;
    case Kind::Boolean:
    case Kind::Integer:
    case Kind::Currency:
        return m_int == other.m_int;
    case Kind::Double:
    case Kind::Date:
        return m_double == other.m_double;
    case Kind::Text:
        return m_text == other.m_text;
    }
    return false;
}

QString Value::debugString() const {
    static const char* const names[] = {"Empty",  "Null",     "Boolean", "Integer",
                                        "Double", "Currency", "Date",    "Text"};
    const QString name = QLatin1String(names[static_cast<int>(m_kind)]);
    switch (m_kind) {
    case Kind::Empty:
    case Kind::Null:
        return name;
    case Kind::Text:
        return QStringLiteral("%1(\"%2\")").arg(name, m_text);
    case Kind::Date:
        return QStringLiteral("%1(%2 = %3)").arg(name, QString::number(m_double, 'g', 17), toString());
    default:
        return QStringLiteral("%1(%2)").arg(name, toString());
    }
}

std::optional<double> Value::parseNumber(const QString& text) {
    const auto n = scanNumber(text);
    if (!n) return std::nullopt;
    QString c = n->negative ? QStringLiteral("-") : QString();
    c += n->integerDigits.isEmpty() ? QStringLiteral("0") : n->integerDigits;
    if (!n->fractionDigits.isEmpty()) c += u'.' + n->fractionDigits;
    if (n->hasExponent) c += u'e' + QString::number(n->exponent);
    bool ok = false;
    const double d = c.toDouble(&ok);
    if (!ok || !std::isfinite(d)) return std::nullopt;
    return d;
}

std::optional<qint64> Value::parseCurrency(const QString& text) {
    const auto n = scanNumber(text);
    if (!n) return std::nullopt;
    if (n->hasExponent) {
        const auto d = parseNumber(text);
        if (!d || std::fabs(*d) >= 9.2233720368547758e14) return std::nullopt;
        return doubleToCurrency(*d);
    }
    // Exact decimal arithmetic: integer digits, four fraction digits, rounded on the fifth.
    QString digits = n->integerDigits + (n->fractionDigits + QStringLiteral("0000")).left(4);
    const bool roundUp = n->fractionDigits.size() > 4 && n->fractionDigits[4] >= u'5';
    qint64 scaled = 0;
    for (const QChar c : digits) {
        if (__builtin_mul_overflow(scaled, qint64(10), &scaled) ||
            __builtin_add_overflow(scaled, qint64(c.digitValue()), &scaled))
            return std::nullopt;
    }
    if (roundUp && __builtin_add_overflow(scaled, qint64(1), &scaled)) return std::nullopt;
    return n->negative ? -scaled : scaled;
}

std::optional<QDateTime> Value::parseDateTime(const QString& text) {
    const auto parts = parseDateParts(text);
    if (!parts) return std::nullopt;
    return QDateTime(parts->first, QTime::fromMSecsSinceStartOfDay(parts->second));
}

std::optional<double> Value::parseDayNumber(const QString& text) {
    const auto parts = parseDateParts(text);
    if (!parts) return std::nullopt;
    return dayNumberOf(parts->first, parts->second);
}

double Value::toDayNumber(const QDateTime& dateTime) {
    return dayNumberOf(dateTime.date(), dateTime.time().msecsSinceStartOfDay());
}

QDateTime Value::fromDayNumberToDateTime(double dayNumber) {
    const auto [date, msecs] = splitDayNumber(dayNumber);
    return QDateTime(date, QTime::fromMSecsSinceStartOfDay(msecs));
}

QDate Value::toDate() const {
    switch (m_kind) {
    case Kind::Null:
        invalidUseOfNull();
    case Kind::Text: {
        if (const auto parts = parseDateParts(m_text)) return parts->first;
        if (const auto d = parseNumber(m_text)) return splitDayNumber(*d).first;
        typeMismatch();
    }
    default:
        return splitDayNumber(toDouble()).first;
    }
}
