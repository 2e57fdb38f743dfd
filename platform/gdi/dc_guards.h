// Scope guards of device-context state: a drawing object selected for a
// scope, put back by the one it replaced when the scope ends, and a memory
// device context deleted at the end of its scope. Declared in that order
// (context, then selections), they undo in the reverse order, as the state
// was made.
#pragma once

#include "platform/gdi/gdi.h"

class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : m_dc(dc), m_previous(SelectObject(dc, object)) {}
    ~SelectedObject()
    {
        if (m_previous != nullptr) {
            SelectObject(m_dc, m_previous);
        }
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

    // The object the selection replaced; null when it did not take.
    HGDIOBJ Previous() const { return m_previous; }

private:
    HDC m_dc;
    HGDIOBJ m_previous;
};

// A memory device context compatible with `like` (the screen when null).
class MemoryDC {
public:
    explicit MemoryDC(HDC like = nullptr) : m_dc(CreateCompatibleDC(like)) {}
    ~MemoryDC()
    {
        if (m_dc != nullptr) {
            DeleteDC(m_dc);
        }
    }
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;

    // Null when it could not be made.
    HDC Get() const { return m_dc; }

private:
    HDC m_dc;
};
