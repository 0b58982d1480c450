#pragma once

#include "core/Pointer.h"

// A flag that is set for the length of a handler and reset on every way out of it.
class ScopedFlag {
public:
    explicit ScopedFlag(bool& flag) : m_flag(flag) { m_flag = true; }
    ~ScopedFlag() { m_flag = false; }
    ScopedFlag(const ScopedFlag&) = delete;
    ScopedFlag& operator=(const ScopedFlag&) = delete;

private:
    bool& m_flag;
};

// The busy pointer for the length of an operation; the normal pointer after it.
class BusyPointer {
public:
    BusyPointer() { util_SetMousePointer(11); }
    ~BusyPointer() { util_SetMousePointer(0); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;
};
