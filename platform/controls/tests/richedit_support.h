// Test support for the rich edit control: a parent window that records the
// control's notifications and answers EN_PROTECTED as the test says, and a
// fixture with a fresh window system, the parent and one control.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/controls/richedit.h"
#include "platform/display/headless/headless_display.h"
#include "platform/user/inspect.h"

namespace nuvex::controls::testing {

struct Notification {
    UINT code = 0;       // EN_ code of WM_COMMAND or WM_NOTIFY
    bool viaNotify = false;
    ENPROTECTED protectedInfo{}; // EN_PROTECTED only
    CHARRANGE range{};           // EN_SELCHANGE only
};

// What the parent heard and how it answers EN_PROTECTED.
struct ParentLog {
    std::vector<Notification> heard;
    LRESULT protectedAnswer = 1;

    int Count(UINT code) const;
    void Clear() { heard.clear(); }
};

class RichEditTest : public ::testing::Test {
protected:
    static constexpr int kControlId = 7;
    // The style the text pages use: child, visible, both scroll bars,
    // multi-line, automatic scrolling both ways, want-return.
    static constexpr DWORD kPageStyle = 0x503010C4;

    void SetUp() override;
    void TearDown() override;

    // Text, selection and sending messages.
    std::string Text() const;
    void SetText(const char* text) { SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)); }
    void Select(LONG min, LONG max);
    CHARRANGE Selection() const;
    void SetFormat(LONG min, LONG max, DWORD mask, DWORD effects, COLORREF colour = 0);
    // The screen point of character `position` (its top left, moved by `dx`, `dy`).
    POINT ScreenPointOf(LONG position, int dx = 0, int dy = 0) const;
    // Focus to the control and its caret to `position`.
    void FocusAt(LONG position);

    HWND parent = nullptr;
    HWND edit = nullptr;
    ParentLog log;
};

} // namespace nuvex::controls::testing
