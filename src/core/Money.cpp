#include "core/Money.h"

#include "core/AppError.h"
#include "core/Value.h"

#include <cmath>

namespace {
// 128-bit products and quotients, so that no intermediate result can overflow.
__extension__ using Wide = __int128;

[[noreturn]] void overflow() { throw AppError(ErrNo::Overflow, QStringLiteral("Overflow")); }

// Floor division for a positive divisor.
Wide floorDiv(Wide a, Wide b) {
    Wide q = a / b;
    if ((a % b != 0) && (a < 0)) --q;
    return q;
}

Money fromWide(Wide units) {
    if (units > std::numeric_limits<qint64>::max() || units < std::numeric_limits<qint64>::min()) overflow();
    return Money::fromUnits(static_cast<qint64>(units));
}
} // namespace

Money Money::operator+(Money other) const {
    qint64 r = 0;
    if (__builtin_add_overflow(m_units, other.m_units, &r)) overflow();
    return fromUnits(r);
}

Money Money::operator-(Money other) const {
    qint64 r = 0;
    if (__builtin_sub_overflow(m_units, other.m_units, &r)) overflow();
    return fromUnits(r);
}

Money Money::operator-() const {
    if (m_units == std::numeric_limits<qint64>::min()) overflow();
    return fromUnits(-m_units);
}

Money Money::percent(double percentage) const {
    // A percentage comes with at most four decimals ("Standard" text, or a typed figure); as
    // ten-thousandths of a percent it is a whole number, so the product is exact before the cut.
    const double scaled = std::round(percentage * 10000.0);
    if (!std::isfinite(scaled) || std::fabs(scaled) > 9.0e18) overflow();
    const Wide product = Wide(m_units) * Wide(static_cast<qint64>(scaled));
    return fromWide(floorDiv(product, Wide(100) * 10000));
}

std::optional<Money> money_Parse(const QString& text) {
    if (text.trimmed().isEmpty()) return Money();
    if (const auto units = Value::parseCurrency(text)) return Money::fromUnits(*units);
    return std::nullopt;
}

Money money_Read(const QString& text) {
    if (const auto m = money_Parse(text)) return *m;
    if (Value::parseNumber(text)) overflow();
    throw AppError(ErrNo::TypeMismatch, QStringLiteral("Type mismatch"));
}

Money util_fRoundOff(Money amount) {
    // floor(amount * 100 + 0.05) / 100 in dollars: 0.05 cent is 5 units, a cent 100.
    return fromWide(floorDiv(Wide(amount.units()) + 5, 100) * 100);
}

const QString EntryTooLargeTitle = QStringLiteral("Figure Too Large");

bool money_bEntryTooLarge(const QString& text, EntryKind kind) {
    if (kind == EntryKind::Percentage) {
        const auto number = Value::parseNumber(text);
        return number && std::fabs(*number) > LargestPercentage;
    }
    if (const auto amount = money_Parse(text)) return amount->isTooLarge();
    return Value::parseNumber(text).has_value(); // a number too large for the currency type
}

QString money_sEntryTooLargeMessage(EntryKind kind) {
    return kind == EntryKind::Percentage
               ? QStringLiteral("The percentage is too large. A collection charge of at most 999.99 % can be "
                                "used; please correct the figure.")
               : QStringLiteral("The amount is too large. Amounts of up to $999,999,999.99 can be kept; please "
                                "correct the figure.");
}

QString money_sPlain(Money amount) {
    const qint64 units = amount.units();
    const quint64 whole = units < 0 ? quint64(-(units + 1)) + 1 : quint64(units);
    QString fraction = QString::number(whole % Money::UnitsPerDollar).rightJustified(4, QLatin1Char('0'));
    while (fraction.size() > 2 && fraction.endsWith(QLatin1Char('0'))) fraction.chop(1);
    return (units < 0 ? QStringLiteral("-") : QString()) + QString::number(whole / Money::UnitsPerDollar) +
           QLatin1Char('.') + fraction;
}
