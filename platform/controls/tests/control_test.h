// Test support for the controls: a host window whose messages the one
// message recorder logs (as "parent"; the rows are in message_rows.h),
// that answers notifications, owner-draw measures and colours as a test
// sets, creation helpers, and input as a person gives it through the
// headless display.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/controls/controls.h"
#include "platform/controls/tests/message_rows.h"
#include "platform/display/headless/headless_display.h"
#include "platform/gdi/gdi.h"
#include "platform/user/inspect.h"

namespace nuvex::controls::testing {

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
    std::vector<Delivered> HeardOf(std::initializer_list<UINT> messages) const
    {
        return recorder.Deliveries(kParentRole, messages);
    }
    // Compares what the host heard of `messages` with `expected`, printing
    // both side by side when they differ.
    ::testing::AssertionResult Heard(std::initializer_list<UINT> messages, const std::vector<Expect>& expected) const
    {
        return recorder.Matches(expected, HeardOf(messages));
    }
    // Whether the host heard a delivery of `expected`'s kind among `heard`.
    bool AnyFits(const std::vector<Delivered>& heard, const Expect& expected) const;
    // The host's notifications, commands, scroll and owner-draw messages, a line each.
    std::string HostLog() const;
    void Clear() { recorder.Clear(); }

    HWND host = nullptr;
    MessageRecorder recorder;
    // Answers the host gives: WM_NOTIFY (return value) and WM_MEASUREITEM
    // (item height); a brush for WM_CTLCOLOR*.
    std::function<LRESULT(const NMHDR&)> notifyAnswer;
    UINT measuredHeight = 0;
    HBRUSH colorBrush = nullptr;
    COLORREF colorText = 0;
    bool answerColors = false;
};

} // namespace nuvex::controls::testing
