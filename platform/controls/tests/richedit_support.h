// Test support for the rich edit control: a parent window whose
// notifications the one message recorder logs (as "parent") and that
// answers EN_PROTECTED as the test says, and a fixture with a fresh window
// system, the parent and one control.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/controls/richedit.h"
#include "platform/controls/tests/message_rows.h"
#include "platform/display/headless/headless_display.h"
#include "platform/user/inspect.h"

namespace nuvex::controls::testing {

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

    // The notifications the parent heard since the last Clear, in order:
    // WM_COMMAND from a control and WM_NOTIFY.
    std::vector<Delivered> Notifications() const;
    // How many of them carry `code`.
    int Count(UINT code) const;
    void Clear() { recorder.Clear(); }

    HWND parent = nullptr;
    HWND edit = nullptr;
    MessageRecorder recorder;
    // The parent's answer to EN_PROTECTED (non-zero refuses the edit).
    LRESULT protectedAnswer = 1;
};

} // namespace nuvex::controls::testing
