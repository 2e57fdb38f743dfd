// Test support for the controls: a host window that records what its
// controls tell it (commands, notifications, scroll and owner-draw
// messages), creation helpers, and input as a person gives it through the
// headless display.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/controls/controls.h"
#include "platform/display/headless/headless_display.h"
#include "platform/gdi/gdi.h"
#include "platform/user/inspect.h"

namespace nuvex::controls::testing {

// One message the host heard from a control.
struct Heard {
    UINT message = 0;
    int id = 0;       // control id (WM_COMMAND, WM_NOTIFY, WM_DRAWITEM)
    UINT code = 0;    // notification code, scroll code, or item action
    int value = 0;    // scroll position, NMUPDOWN iPos, or item id
    int delta = 0;    // NMUPDOWN iDelta, or owner-draw item state
    HWND from = nullptr;

    bool operator==(const Heard& o) const
    {
        return message == o.message && id == o.id && code == o.code && value == o.value && delta == o.delta;
    }
};
// Readable rows for expectations.
Heard Command(int id, UINT code);
Heard Notify(int id, UINT code, int pos = 0, int delta = 0);
Heard Scroll(UINT message, UINT code, int pos = 0);
Heard DrawItem(int id, UINT item, UINT action, UINT state);
std::string Describe(const std::vector<Heard>& heard);

class ControlTest : public ::testing::Test {
public:
    // The host window's procedure hands its messages here.
    LRESULT OnHostMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

protected:
    void SetUp() override;
    void TearDown() override;

    // A control of `className` in the host at `rect` (host client coordinates).
    HWND Make(const char* className, const char* text, DWORD style, RECT rect, int id, DWORD exStyle = 0);
    // Clicks the client point (x, y) of `hwnd`, as a person would, and lets
    // the messages run.
    void ClickAt(HWND hwnd, int x, int y, std::initializer_list<int> heldKeys = {});
    // Presses at client point `from` of `hwnd`, moves to `to` (client
    // points of `hwnd`) in `steps` and releases, letting the messages run
    // between the steps as they would while a person drags.
    void DragAt(HWND hwnd, POINT from, POINT to, int steps = 3, std::initializer_list<int> heldKeys = {});
    // Presses and releases keys in `hwnd` after giving it the focus.
    void PressKeys(HWND hwnd, std::initializer_list<int> chord);
    void Type(HWND hwnd, std::string_view text);
    // The colour at client point (x, y) of `hwnd` after painting.
    COLORREF PixelAt(HWND hwnd, int x, int y);
    // Text of a window.
    static std::string TextOf(HWND hwnd);
    // What the host heard of the given messages, in order, since the last Clear.
    std::vector<Heard> HeardOf(std::initializer_list<UINT> messages) const;
    void Clear() { heard.clear(); }

    HWND host = nullptr;
    std::vector<Heard> heard;
    // Answers the host gives: WM_NOTIFY (return value) and WM_MEASUREITEM
    // (item height); a brush for WM_CTLCOLOR*.
    std::function<LRESULT(const NMHDR&)> notifyAnswer;
    UINT measuredHeight = 0;
    HBRUSH colorBrush = nullptr;
    COLORREF colorText = 0;
    bool answerColors = false;
};

} // namespace nuvex::controls::testing
