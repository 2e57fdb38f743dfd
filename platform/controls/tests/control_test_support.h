// A parent window for the common-control tests whose notifications
// (WM_NOTIFY and WM_COMMAND) the one message recorder logs, as "parent";
// the rows are in message_rows.h. The parent can answer notifications as a
// test sets.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/controls/commctrl.h"
#include "platform/controls/tests/message_rows.h"
#include "platform/user/input.h"

namespace nuvex::controls::commontesting {

using testing::Command;
using testing::Delivered;
using testing::Expect;
using testing::Notify;
using testing::TreeNotify;

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

    // The notifications and commands the parent heard since the last
    // Clear, in order, but for the codes in `ignored`.
    std::vector<Delivered> Heard() const;
    // Compares them with `expected`, printing both side by side when they
    // differ.
    ::testing::AssertionResult SameHeard(const std::vector<Expect>& expected) const;
    void Clear() { recorder.Clear(); }

public:
    // How the parent answers a notification (nullopt: 0).
    std::function<std::optional<LRESULT>(NMHDR*)> answer;
    // WM_NOTIFY codes Heard leaves out (custom draw, tooltips...).
    std::vector<UINT> ignored{NM_CUSTOMDRAW};

protected:
    HWND parent = nullptr;
    testing::MessageRecorder recorder;
};

} // namespace nuvex::controls::commontesting
