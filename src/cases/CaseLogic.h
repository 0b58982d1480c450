#pragma once

#include "core/Money.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <array>

// The case screen's arithmetic and texts, free of widgets.

// The reference number of a case created at the given moment: the seconds since 31 December 1899
// (local time) plus one, as upper-case hexadecimal of an unsigned 32-bit number (after 7 February
// 2036 the seconds less 3155760000).
QString proc_sNumberGenerator(const QDateTime& now);

// The stage names by index 0 to 6 (Phone Call ... Attorney).
extern const std::array<QString, 7> StageNames;
constexpr int CollectionStage = 4;

// How the collection charge is worked out for a case.
struct ChargeInput {
    Money checkAmount;
    Money nsfFee;
    double percent = 0;      // the charge percentage in force
    Money dollars;           // the fixed charge in force
    bool inCollection = false; // the Collection stage box is checked
    bool byPercent = true;     // "Percent" is selected, else "Dollar"
    bool includeNSF = false;   // the percentage also applies to the processing fee
};

// The collection charge, rounded to cents by util_fRoundOff; 0 unless the case is in collection.
Money case_CollectionCharge(const ChargeInput& in);
// The collectable amount: the cheque, plus the fee when it is added, plus or minus the charge while
// the case is in collection.
Money case_Collectable(Money checkAmount, bool addNSF, Money nsfFee, bool inCollection, bool addCharges,
                       Money charge);
// The paid amount from the five installment box texts: nothing counts while the first box is empty.
Money case_PaidAmount(const QStringList& installmentTexts);

// The background of the stage labels for a stage date: yellow when more than 7 and at most 14 days
// old, red when older, normal otherwise and always for the Collection stage.
enum class StageColour { Normal, Yellow, Red };
StageColour case_StageColour(const QDateTime& now, const QDateTime& stageDate, const QString& stage);
