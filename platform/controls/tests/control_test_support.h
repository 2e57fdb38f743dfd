// A parent window for the common-control tests that records what its
// controls tell it (WM_NOTIFY and WM_COMMAND) and can answer some of it.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/controls/commctrl.h"
#include "platform/user/input.h"

namespace nuvex::controls::commontesting {

// One notification as the parent heard it.
struct Heard {
    UINT message;      // WM_NOTIFY or WM_COMMAND
    UINT code;         // NMHDR code, or the WM_COMMAND notification code
    UINT_PTR id;       // control id, or the WM_COMMAND id
    UINT action = 0;   // NMTREEVIEW action where the code carries one
    HTREEITEM oldItem = nullptr;
    HTREEITEM newItem = nullptr;
};
bool operator==(const Heard& a, const Heard& b);
std::string Describe(const Heard& heard);
std::string Describe(const std::vector<Heard>& list);

class ControlTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A child control of `className` in the parent's client area.
    HWND MakeControl(const char* className, DWORD style, RECT at, int id = 100);
    // The parent's client point `pt` of control `control`, on the screen.
    POINT ScreenOf(HWND control, POINT pt) const;
    // Clicks (down, up) at a control's client point and pumps.
    void Click(HWND control, POINT pt, MouseButton button = MouseButton::Left);

public:
    // What the parent heard, in order, and how it answers a notification
    // (nullopt: 0).
    std::vector<Heard> heard;
    std::function<std::optional<LRESULT>(NMHDR*)> answer;
    // WM_NOTIFY codes the recorder leaves out (custom draw, tooltips...).
    std::vector<UINT> ignored{NM_CUSTOMDRAW};

protected:
    HWND parent = nullptr;
};

// Compares with a table and prints both sides on failure.
::testing::AssertionResult SameHeard(const std::vector<Heard>& expected, const std::vector<Heard>& actual);

} // namespace nuvex::controls::commontesting
