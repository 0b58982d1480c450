#pragma once

#include <QtGlobal>
#include <functional>
#include <optional>

class ErrorGuard;
class Recordset;

// The move codes of the record loaders: 0 first, 1 previous, 2 next, 3 last; the key -99 means no key.
constexpr qint64 NoRecordKey = -99;

// Moves one row back (1) or on (2); at either end it says "No more records." (titled "Move Previous"
// or "Move Next") and returns false, the set staying where it was. Other codes do nothing.
bool data_bMoveOneRecord(Recordset& rs, int direction);

// How a record loader finds the row to show: with a key, locate() positions the set on it (and says
// so itself when there is none), then the set moves one row back or on; without a key, the move code
// alone positions it. Each part runs as a step of the loader's guard. True when the set is on a row
// to show.
bool data_bPositionRecord(ErrorGuard& g, Recordset& rs, qint64 key, std::optional<int> direction,
                          const std::function<bool()>& locate);
