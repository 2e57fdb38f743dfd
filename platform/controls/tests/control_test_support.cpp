// The host window and input helpers of the control tests.
#include "platform/controls/tests/control_test.h"

#include <algorithm>

namespace nuvex::controls::testing {
namespace {

ControlTest* g_current = nullptr;

LRESULT CALLBACK HostProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

} // namespace

void ControlTest::SetUp()
{
    ResetWindowSystem();
    g_current = this;
    WNDCLASSA wc{};
    wc.lpfnWndProc = HostProc;
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    wc.lpszClassName = "ControlTestHost";
    RegisterClassA(&wc);
    host = CreateWindowExA(0, "ControlTestHost", "host", WS_POPUP | WS_VISIBLE, 100, 100, 400, 300, nullptr, nullptr,
                           nullptr, nullptr);
    ASSERT_NE(host, nullptr);
    StartRecording(recorder, host);
    PumpUntilIdle();
}

void ControlTest::TearDown()
{
    SetMessageSpy(nullptr);
    ResetWindowSystem();
    ClipboardClear();
    g_current = nullptr;
}

HWND ControlTest::Make(const char* className, const char* text, DWORD style, RECT rect, int id, DWORD exStyle)
{
    HWND hwnd = CreateWindowExA(exStyle, className, text, style | WS_CHILD | WS_VISIBLE, rect.left, rect.top,
                                rect.right - rect.left, rect.bottom - rect.top, host,
                                reinterpret_cast<HMENU>(static_cast<intptr_t>(id)), nullptr, nullptr);
    PumpUntilIdle();
    return hwnd;
}

namespace {

void HoldKeys(std::initializer_list<int> keys, KeyAction action)
{
    for (int key : keys) {
        InjectKey(key, action);
    }
}

} // namespace

void ControlTest::ClickAt(HWND hwnd, int x, int y, std::initializer_list<int> heldKeys)
{
    POINT p{x, y};
    ClientToScreen(hwnd, &p);
    HoldKeys(heldKeys, KeyAction::Down);
    HeadlessClick(p);
    HoldKeys(heldKeys, KeyAction::Up);
    PumpUntilIdle();
}

void ControlTest::DragAt(HWND hwnd, POINT from, POINT to, int steps, std::initializer_list<int> heldKeys)
{
    ClientToScreen(hwnd, &from);
    ClientToScreen(hwnd, &to);
    HoldKeys(heldKeys, KeyAction::Down);
    InjectMouseMove(from);
    InjectMouseButton(MouseButton::Left, KeyAction::Down);
    PumpUntilIdle();
    for (int i = 1; i <= steps; ++i) {
        InjectMouseMove(POINT{from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps});
        PumpUntilIdle();
    }
    InjectMouseButton(MouseButton::Left, KeyAction::Up);
    HoldKeys(heldKeys, KeyAction::Up);
    PumpUntilIdle();
}

void ControlTest::PressKeys(HWND hwnd, std::initializer_list<int> chord)
{
    if (GetFocus() != hwnd) {
        SetFocus(hwnd);
    }
    PumpUntilIdle();
    HeadlessPressKeys(chord);
    PumpUntilIdle();
}

void ControlTest::Type(HWND hwnd, std::string_view text)
{
    if (GetFocus() != hwnd) {
        SetFocus(hwnd);
    }
    PumpUntilIdle();
    HeadlessTypeText(text);
    PumpUntilIdle();
}

COLORREF ControlTest::PixelAt(HWND hwnd, int x, int y)
{
    RedrawWindow(host, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    PumpUntilIdle();
    POINT p{x, y};
    MapWindowPoints(hwnd, host, &p, 1);
    HDC dc = GetDC(host);
    const COLORREF c = GetPixel(dc, p.x, p.y);
    ReleaseDC(host, dc);
    return c;
}

std::string ControlTest::TextOf(HWND hwnd)
{
    char buffer[1024] = {};
    GetWindowTextA(hwnd, buffer, sizeof(buffer));
    return buffer;
}

LRESULT ControlTest::OnHostMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_COMMAND:
    case WM_HSCROLL:
    case WM_VSCROLL: return 0;
    case WM_NOTIFY: return notifyAnswer ? notifyAnswer(*reinterpret_cast<const NMHDR*>(lParam)) : 0;
    case WM_DRAWITEM: return TRUE;
    case WM_MEASUREITEM: {
        auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        if (measuredHeight != 0) {
            mis->itemHeight = measuredHeight;
        }
        return TRUE;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:
        if (answerColors) {
            SetTextColor(reinterpret_cast<HDC>(wParam), colorText);
            SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
            return reinterpret_cast<LRESULT>(colorBrush);
        }
        return 0;
    default: break;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

bool ControlTest::AnyFits(const std::vector<Delivered>& heard, const Expect& expected) const
{
    return std::any_of(heard.begin(), heard.end(), [&](const Delivered& d) { return recorder.Fits(expected, d); });
}

std::string ControlTest::HostLog() const
{
    return recorder.Describe(
        HeardOf({WM_COMMAND, WM_NOTIFY, WM_HSCROLL, WM_VSCROLL, WM_DRAWITEM, WM_MEASUREITEM}));
}

namespace {

LRESULT CALLBACK HostProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return g_current != nullptr ? g_current->OnHostMessage(hwnd, msg, wParam, lParam)
                                : DefWindowProcA(hwnd, msg, wParam, lParam);
}

} // namespace

} // namespace nuvex::controls::testing
