#include "core/Format.h"

#include "core/AppError.h"
#include "core/Value.h"

#include <QLocale>

QString fmt_Currency(Money amount) {
    const QLocale locale;
    const qint64 units = amount.units();
    // Whole cents, half away from zero, taken from the digits (no floating point on the way).
    const quint64 magnitude = units < 0 ? 0 - static_cast<quint64>(units) : static_cast<quint64>(units);
    const quint64 cents = (magnitude + 50) / 100;
    const bool negative = units < 0 && cents != 0;
    const QString number = locale.toString(qulonglong(cents / 100)) + locale.decimalPoint() +
                           QStringLiteral("%1").arg(cents % 100, 2, 10, QLatin1Char('0'));
    // The locale's own placing of the symbol and the sign ("($7.00)" for a negative in the United
    // States), from a whole sample amount of 7.
    const QString sample =
        locale.toCurrencyString(qlonglong(negative ? -7 : 7), locale.currencySymbol(QLocale::CurrencySymbol));
    const qsizetype seven = sample.lastIndexOf(QLatin1Char('7'));
    return sample.left(seven) + number + sample.mid(seven + 1);
}

QString fmt_Standard(double number) { return QLocale().toString(number, 'f', 2); }

QString fmt_QtDatePattern(const QString& classicPattern) {
    QString out;
    bool afterHour = false;
    for (qsizetype i = 0; i < classicPattern.size();) {
        const QChar c = classicPattern[i];
        // The classic morning/afternoon marker: Qt's "AP" gives the same "AM" or "PM".
        if (classicPattern.mid(i, 5).compare(QLatin1String("AM/PM"), Qt::CaseInsensitive) == 0) {
            out += QStringLiteral("AP");
            afterHour = false;
            i += 5;
            continue;
        }
        qsizetype run = 1;
        while (i + run < classicPattern.size() && classicPattern[i + run] == c) ++run;
        if (c == QLatin1Char('m') || c == QLatin1Char('M')) {
            // After an hour, "m"/"mm" is minutes; otherwise months.
            out += afterHour && run <= 2 ? QString(run, QLatin1Char('m')) : QString(run, QLatin1Char('M'));
        } else if (c == QLatin1Char('n')) {
            out += QString(run, QLatin1Char('m')); // classic "n" is minutes
        } else {
            out += QString(run, c);
        }
        if (c == QLatin1Char('h') || c == QLatin1Char('H')) afterHour = true;
        else if (c.isLetter() && c != QLatin1Char('m') && c != QLatin1Char('M')) afterHour = false;
        i += run;
    }
    return out;
}

QString fmt_Date(const QDateTime& dateTime, const QString& classicPattern) {
    if (!dateTime.isValid()) return QString();
    return QLocale().toString(dateTime, fmt_QtDatePattern(classicPattern));
}

QString fmt_Date(const QDate& date, const QString& classicPattern) {
    if (!date.isValid()) return QString();
    return QLocale().toString(date, fmt_QtDatePattern(classicPattern));
}

QString fmt_ShortDate(const QDateTime& dateTime) { return fmt_Date(dateTime, QStringLiteral("m/d/yyyy")); }

double util_dReadNumber(const QString& text) {
    if (text.trimmed().isEmpty()) return 0.0;
    if (auto number = Value::parseNumber(text)) return *number;
    throw AppError(ErrNo::TypeMismatch, QStringLiteral("Type mismatch"));
}

QDateTime util_ReadDate(const QString& text) {
    if (auto parsed = Value::parseDateTime(text.trimmed())) return *parsed;
    for (const char* pattern : {"MMM d, yyyy", "MMMM d, yyyy", "MMMM dd, yyyy", "MM/dd/yy"}) {
        const QDateTime dt = QLocale().toDateTime(text.trimmed(), QString::fromLatin1(pattern));
        if (dt.isValid()) return dt;
    }
    return QDateTime();
}
