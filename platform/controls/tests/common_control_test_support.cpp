// The parent window of the common-control tests and what it heard.
#include "platform/controls/tests/control_test_support.h"

#include <algorithm>

#include "platform/display/headless/headless_display.h"
#include "platform/user/inspect.h"

namespace nuvex::controls::commontesting {
namespace {

ControlTest* g_current = nullptr;

LRESULT ParentProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    ControlTest* test = g_current;
    if (test != nullptr && msg == WM_NOTIFY) {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (test->answer) {
            if (auto result = test->answer(header)) {
                return *result;
            }
        }
        return 0;
    }
    if (test != nullptr && msg == WM_COMMAND) {
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

} // namespace

std::vector<Delivered> ControlTest::Heard() const
{
    std::vector<Delivered> heard;
    for (const Delivered& d : recorder.Deliveries(testing::kParentRole, {WM_NOTIFY, WM_COMMAND})) {
        const auto code = d.DetailOf("code");
        if (d.message == WM_NOTIFY && code &&
            std::find(ignored.begin(), ignored.end(), static_cast<UINT>(*code)) != ignored.end()) {
            continue;
        }
        heard.push_back(d);
    }
    return heard;
}

::testing::AssertionResult ControlTest::SameHeard(const std::vector<Expect>& expected) const
{
    return recorder.Matches(expected, Heard());
}

void ControlTest::SetUp()
{
    ResetWindowSystem();
    g_current = this;
    WNDCLASSA wc{};
    wc.lpfnWndProc = ParentProc;
    wc.lpszClassName = "ControlTestParent";
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<intptr_t>(COLOR_BTNFACE + 1));
    RegisterClassA(&wc);
    parent = CreateWindowExA(0, "ControlTestParent", "parent", WS_POPUP | WS_VISIBLE, 100, 100, 400, 300, nullptr,
                             nullptr, nullptr, nullptr);
    ASSERT_NE(parent, nullptr);
    testing::StartRecording(recorder, parent);
    PumpUntilIdle();
}

void ControlTest::TearDown()
{
    SetMessageSpy(nullptr);
    ResetWindowSystem();
    g_current = nullptr;
}

HWND ControlTest::MakeControl(const char* className, DWORD style, RECT at, int id)
{
    HWND hwnd = CreateWindowExA(0, className, "", WS_CHILD | WS_VISIBLE | style, at.left, at.top,
                                at.right - at.left, at.bottom - at.top, parent,
                                reinterpret_cast<HMENU>(static_cast<intptr_t>(id)), nullptr, nullptr);
    PumpUntilIdle();
    return hwnd;
}

POINT ControlTest::ScreenOf(HWND control, POINT pt) const
{
    ClientToScreen(control, &pt);
    return pt;
}

void ControlTest::Click(HWND control, POINT pt, MouseButton button)
{
    HeadlessClick(ScreenOf(control, pt), button);
    PumpUntilIdle();
}

} // namespace nuvex::controls::commontesting
