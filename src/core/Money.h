#pragma once

#include <QString>
#include <compare>
#include <optional>

// An amount of money as the database's currency type keeps it: a whole number of ten-thousandths of
// a dollar. All money arithmetic of the program is done in it, so no amount passes through binary
// floating point on its way from a box to the file and back. Sums and differences that leave the
// 64-bit range raise error 6 (Overflow).
class Money {
public:
    static constexpr qint64 UnitsPerDollar = 10000;

    constexpr Money() = default;
    static constexpr Money fromUnits(qint64 units) {
        Money m;
        m.m_units = units;
        return m;
    }
    static constexpr Money fromCents(qint64 cents) { return fromUnits(cents * 100); }
    // The largest amount a box takes: $999,999,999.99. Anything bigger is refused on entry.
    static constexpr Money largestEntry() { return fromCents(99999999999); }

    constexpr qint64 units() const { return m_units; }
    constexpr bool isZero() const { return m_units == 0; }
    constexpr auto operator<=>(const Money&) const = default;

    Money operator+(Money other) const;
    Money operator-(Money other) const;
    Money operator-() const;
    Money& operator+=(Money other) { return *this = *this + other; }

    // This amount times a percentage (30 for 30 %), cut to whole ten-thousandths.
    Money percent(double percentage) const;
    // Beyond the entry limit in either direction.
    bool isTooLarge() const { return *this > largestEntry() || *this < -largestEntry(); }

private:
    qint64 m_units = 0;
};

// Reads an amount as the screens write it: "$1,234.50", "1234.5", "-$5.00", "($5.00)"; an empty or
// blank text is 0. Exact: the decimal digits are taken as they stand (four places kept, the fifth
// rounds). A text that is not a number raises error 13, one too large for the currency type error 6.
Money money_Read(const QString& text);
// An amount as a plain decimal for other programs: "-1234.50" (two places, or up to four when the
// amount holds fractions of a cent), no symbol, no thousands separators.
QString money_sPlain(Money amount);

// The same without raising: nothing for a text that is not a number or does not fit.
std::optional<Money> money_Parse(const QString& text);

// Rounds an amount down to the cent unless its fraction of a cent is at least 0.95 (12.3449 gives
// 12.34, 12.3496 gives 12.35): the rounding of the collection charge.
Money util_fRoundOff(Money amount);

// What a box of figures takes: an amount of money up to $999,999,999.99, or a percentage up to
// 999.99 (higher percentages could not be worked out in the currency type).
enum class EntryKind { Amount, Percentage };
constexpr double LargestPercentage = 999.99;
// True when the text is a figure beyond what a box of that kind takes (a text that is no number at
// all is not "too large").
bool money_bEntryTooLarge(const QString& text, EntryKind kind);
// The message that refuses such a figure, and its title.
QString money_sEntryTooLargeMessage(EntryKind kind);
extern const QString EntryTooLargeTitle;
