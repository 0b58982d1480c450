#include "core/Pointer.h"

#include "core/Platform.h"

#include <Qt>

std::optional<int> util_CursorShapeFor(int pointer) {
    switch (pointer) {
    case 1: return Qt::ArrowCursor;
    case 2: return Qt::CrossCursor;
    case 3: return Qt::IBeamCursor;
    case 4: return Qt::DragMoveCursor; // icon
    case 5: return Qt::SizeAllCursor;  // size
    case 6: return Qt::SizeBDiagCursor;
    case 7: return Qt::SizeVerCursor;
    case 8: return Qt::SizeFDiagCursor;
    case 9: return Qt::SizeHorCursor;
    case 10: return Qt::UpArrowCursor;
    case 11: return Qt::WaitCursor;
    case 12: return Qt::ForbiddenCursor;
    case 13: return Qt::BusyCursor;
    case 14: return Qt::WhatsThisCursor;
    case 15: return Qt::SizeAllCursor;
    default: return std::nullopt;
    }
}

void util_SetMousePointer(int pointer) {
    if (pointer == 0) {
        platform().setPointer(-1);
        return;
    }
    if (auto shape = util_CursorShapeFor(pointer)) platform().setPointer(*shape);
}
