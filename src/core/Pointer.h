#pragma once

#include <optional>

// The screen-wide mouse pointer by its classic number: 0 normal (clears every busy pointer set
// before), 11 busy, the other standard pointers for 1 to 15; any other value does nothing.
void util_SetMousePointer(int pointer);

// The Qt cursor shape for a classic pointer number 1 to 15; nothing for 0 and out-of-range numbers.
std::optional<int> util_CursorShapeFor(int pointer);
