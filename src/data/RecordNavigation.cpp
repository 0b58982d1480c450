#include "data/RecordNavigation.h"

#include "core/ErrorHandling.h"
#include "core/Platform.h"
#include "data/engine/Recordset.h"

bool data_bMoveOneRecord(Recordset& rs, int direction) {
    if (direction == 1) {
        rs.movePrevious();
        if (!rs.bof()) return true;
        rs.moveFirst();
    } else if (direction == 2) {
        rs.moveNext();
        if (!rs.eof()) return true;
        rs.moveLast();
    } else {
        return true;
    }
    msgBox(QStringLiteral("No more records."), Platform::Information,
           direction == 1 ? QStringLiteral("Move Previous") : QStringLiteral("Move Next"));
    return false;
}

bool data_bPositionRecord(ErrorGuard& g, Recordset& rs, qint64 key, std::optional<int> direction,
                          const std::function<bool()>& locate) {
    bool ok = false;
    if (key != NoRecordKey) {
        if (!g.run([&] { ok = locate(); }) || !ok) return false;
        if (!g.run([&] { ok = data_bMoveOneRecord(rs, direction.value_or(-1)); }) || !ok) return false;
    } else if (!g.run([&] {
                   if (direction == 0) rs.moveFirst();
                   if (direction == 3) rs.moveLast();
               })) {
        return false;
    }
    return !rs.bof() && !rs.eof();
}
