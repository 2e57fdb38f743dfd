// The up-down class "msctls_updown32": two arrow buttons that step a
// position within a 32-bit range, optionally through a buddy window whose
// text shows the position. Each step asks the parent first (UDN_DELTAPOS,
// which may refuse it), then reports WM_VSCROLL (WM_HSCROLL for UDS_HORZ)
// with SB_THUMBPOSITION, and SB_ENDSCROLL when the button is released.
#include "platform/controls/control_support.h"

#include <cstdlib>
#include <vector>

namespace nuvex::controls {
namespace {

constexpr const char* kBuddyProcProp = "nuvex.updown.buddyproc";
constexpr const char* kBuddyOwnerProp = "nuvex.updown.owner";
constexpr UINT_PTR kRepeatTimer = 1;
constexpr UINT kFirstRepeatMs = 500;
constexpr UINT kRepeatMs = 100;

enum class Arrow { None, Up, Down };

struct UpDownState {
    // The default range runs from 100 down to 0, so the up arrow lowers
    // the position, as the platform has it.
    int lower = 100;
    int upper = 0;
    int pos = 0;
    int base = 10;
    HWND buddy = nullptr;
    std::vector<UDACCEL> accels{{0, 1}};
    Arrow pressed = Arrow::None;
};

bool IsHorizontal(HWND hwnd) { return (StyleOf(hwnd) & UDS_HORZ) != 0; }

std::string FormatPos(HWND hwnd, const UpDownState* s, int value)
{
    if (s->base == 16) {
        char text[16] = {};
        std::snprintf(text, sizeof(text), "0x%X", static_cast<unsigned>(value));
        return text;
    }
    const std::string digits =
        std::to_string(value < 0 ? -static_cast<int64_t>(value) : static_cast<int64_t>(value));
    const bool group = (StyleOf(hwnd) & UDS_NOTHOUSANDS) == 0;
    std::string out;
    if (value < 0) {
        out.push_back('-');
    }
    for (size_t i = 0; i < digits.size(); ++i) {
        if (group && i > 0 && (digits.size() - i) % 3 == 0) {
            out.push_back(',');
        }
        out.push_back(digits[i]);
    }
    return out;
}

// The buddy's text as a position; false when it is not a number.
bool ParseBuddy(const UpDownState* s, int* value)
{
    char text[64] = {};
    GetWindowTextA(s->buddy, text, sizeof(text));
    std::string clean;
    for (const char* p = text; *p != '\0'; ++p) {
        if (*p != ',' && *p != ' ') {
            clean.push_back(*p);
        }
    }
    if (clean.empty()) {
        return false;
    }
    char* end = nullptr;
    const long long parsed = std::strtoll(clean.c_str(), &end, s->base == 16 ? 16 : 10);
    if (end == nullptr || *end != '\0' || parsed < INT32_MIN || parsed > INT32_MAX) {
        return false;
    }
    *value = static_cast<int>(parsed);
    return true;
}

void ShowInBuddy(HWND hwnd, const UpDownState* s)
{
    if (s->buddy != nullptr && IsWindow(s->buddy) && (StyleOf(hwnd) & UDS_SETBUDDYINT) != 0) {
        SetWindowTextA(s->buddy, FormatPos(hwnd, s, s->pos).c_str());
    }
}

int ClampToRange(const UpDownState* s, int value)
{
    return std::clamp(value, std::min(s->lower, s->upper), std::max(s->lower, s->upper));
}

// One step of the up (+1) or down (-1) arrow.
void Step(HWND hwnd, UpDownState* s, int direction)
{
    if ((StyleOf(hwnd) & UDS_SETBUDDYINT) != 0 && s->buddy != nullptr) {
        int value = 0;
        if (ParseBuddy(s, &value)) {
            s->pos = ClampToRange(s, value);
        }
    }
    const int increment = static_cast<int>(s->accels.empty() ? 1 : s->accels.front().nInc);
    const int sign = s->upper >= s->lower ? 1 : -1;
    NMUPDOWN nm{};
    nm.hdr.hwndFrom = hwnd;
    nm.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(hwnd));
    nm.hdr.code = UDN_DELTAPOS;
    nm.iPos = s->pos;
    nm.iDelta = direction * sign * increment;
    HWND target = NotifyTarget(hwnd);
    if (target != nullptr &&
        SendMessageA(target, WM_NOTIFY, nm.hdr.idFrom, reinterpret_cast<LPARAM>(&nm)) != 0) {
        return;
    }
    const int64_t wanted = static_cast<int64_t>(s->pos) + nm.iDelta;
    const int low = std::min(s->lower, s->upper);
    const int high = std::max(s->lower, s->upper);
    int next = s->pos;
    if (wanted > high) {
        next = (StyleOf(hwnd) & UDS_WRAP) != 0 ? low : high;
    } else if (wanted < low) {
        next = (StyleOf(hwnd) & UDS_WRAP) != 0 ? high : low;
    } else {
        next = static_cast<int>(wanted);
    }
    if (next == s->pos) {
        return;
    }
    s->pos = next;
    ShowInBuddy(hwnd, s);
    NotifyScroll(hwnd, IsHorizontal(hwnd) ? WM_HSCROLL : WM_VSCROLL, SB_THUMBPOSITION, s->pos);
}

// The up arrow is the top (or, horizontal, the right) half.
Arrow ArrowAt(HWND hwnd, POINT p)
{
    RECT rc{};
    GetClientRect(hwnd, &rc);
    if (!PtInRect(&rc, p)) {
        return Arrow::None;
    }
    if (IsHorizontal(hwnd)) {
        return p.x >= Width(rc) / 2 ? Arrow::Up : Arrow::Down;
    }
    return p.y < Height(rc) / 2 ? Arrow::Up : Arrow::Down;
}

void Paint(HWND hwnd, UpDownState* s, HDC dc)
{
    RECT rc{};
    GetClientRect(hwnd, &rc);
    RECT up = rc;
    RECT down = rc;
    if (IsHorizontal(hwnd)) {
        down.right = up.left = rc.left + Width(rc) / 2;
    } else {
        up.bottom = down.top = rc.top + Height(rc) / 2;
    }
    const UINT inactive = IsWindowEnabled(hwnd) ? 0 : DFCS_INACTIVE;
    DrawFrameControl(dc, &up, DFC_SCROLL,
                     (IsHorizontal(hwnd) ? DFCS_SCROLLRIGHT : DFCS_SCROLLUP) | inactive |
                         (s->pressed == Arrow::Up ? DFCS_PUSHED : 0));
    DrawFrameControl(dc, &down, DFC_SCROLL,
                     (IsHorizontal(hwnd) ? DFCS_SCROLLLEFT : DFCS_SCROLLDOWN) | inactive |
                         (s->pressed == Arrow::Down ? DFCS_PUSHED : 0));
}

// The buddy hears Up and Down as steps of its up-down (UDS_ARROWKEYS).
LRESULT CALLBACK BuddyProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto previous = reinterpret_cast<WNDPROC>(GetPropA(hwnd, kBuddyProcProp));
    auto owner = reinterpret_cast<HWND>(GetPropA(hwnd, kBuddyOwnerProp));
    if (msg == WM_KEYDOWN && (wParam == VK_UP || wParam == VK_DOWN) && owner != nullptr && IsWindow(owner)) {
        if (auto* s = StateOf<UpDownState>(owner)) {
            Step(owner, s, wParam == VK_UP ? 1 : -1);
            return 0;
        }
    }
    if (msg == WM_KEYUP && (wParam == VK_UP || wParam == VK_DOWN) && owner != nullptr && IsWindow(owner)) {
        NotifyScroll(owner, IsHorizontal(owner) ? WM_HSCROLL : WM_VSCROLL, SB_ENDSCROLL, 0);
        return 0;
    }
    if (msg == WM_NCDESTROY) {
        RemovePropA(hwnd, kBuddyProcProp);
        RemovePropA(hwnd, kBuddyOwnerProp);
    }
    return previous != nullptr ? CallWindowProcA(previous, hwnd, msg, wParam, lParam)
                               : DefWindowProcA(hwnd, msg, wParam, lParam);
}

void ReleaseBuddy(UpDownState* s)
{
    if (s->buddy == nullptr || !IsWindow(s->buddy)) {
        s->buddy = nullptr;
        return;
    }
    if (auto previous = GetPropA(s->buddy, kBuddyProcProp)) {
        SetWindowLongPtrA(s->buddy, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
        RemovePropA(s->buddy, kBuddyProcProp);
        RemovePropA(s->buddy, kBuddyOwnerProp);
    }
    s->buddy = nullptr;
}

HWND AttachBuddy(HWND hwnd, UpDownState* s, HWND buddy)
{
    HWND previous = s->buddy;
    ReleaseBuddy(s);
    if (buddy == nullptr || !IsWindow(buddy)) {
        return previous;
    }
    s->buddy = buddy;
    const DWORD style = StyleOf(hwnd);
    if ((style & UDS_ARROWKEYS) != 0 && GetPropA(buddy, kBuddyProcProp) == nullptr) {
        SetPropA(buddy, kBuddyOwnerProp, reinterpret_cast<HANDLE>(hwnd));
        SetPropA(buddy, kBuddyProcProp,
                 reinterpret_cast<HANDLE>(SetWindowLongPtrA(buddy, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(BuddyProc))));
    }
    if ((style & (UDS_ALIGNRIGHT | UDS_ALIGNLEFT)) != 0) {
        // The up-down takes its width off the buddy's side and its height.
        RECT buddyRect{};
        GetWindowRect(buddy, &buddyRect);
        HWND parent = GetParent(buddy);
        POINT origin{buddyRect.left, buddyRect.top};
        ScreenToClient(parent, &origin);
        RECT own{};
        GetWindowRect(hwnd, &own);
        const int width = Width(own) > 0 ? Width(own) : GetSystemMetrics(SM_CXVSCROLL);
        const int buddyWidth = std::max(0, Width(buddyRect) - width);
        const bool right = (style & UDS_ALIGNRIGHT) != 0;
        SetWindowPos(buddy, nullptr, right ? origin.x : origin.x + width, origin.y, buddyWidth, Height(buddyRect),
                     SWP_NOZORDER | SWP_NOACTIVATE);
        SetWindowPos(hwnd, nullptr, right ? origin.x + buddyWidth : origin.x, origin.y, width, Height(buddyRect),
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    ShowInBuddy(hwnd, s);
    return previous;
}

LRESULT HandleUpDown(HWND hwnd, UpDownState& state, UINT msg, WPARAM wParam, LPARAM lParam)
{
    UpDownState* s = &state;
    if (msg == WM_NCCREATE) {
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
    switch (msg) {
    case WM_CREATE:
        if ((StyleOf(hwnd) & UDS_AUTOBUDDY) != 0) {
            AttachBuddy(hwnd, s, GetWindow(hwnd, GW_HWNDPREV));
        }
        return 0;
    case WM_DESTROY: ReleaseBuddy(s); return 0;
    case WM_NCDESTROY:
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    case WM_ERASEBKGND: return 1;
    case WM_PAINT:
    case WM_PRINTCLIENT:
        return PaintWith(hwnd, wParam, [&](HDC dc) { Paint(hwnd, s, dc); });
    case WM_ENABLE: InvalidateRect(hwnd, nullptr, TRUE); return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        const Arrow arrow = ArrowAt(hwnd, PointFromLParam(lParam));
        if (arrow == Arrow::None) {
            return 0;
        }
        if (s->buddy != nullptr && IsWindow(s->buddy)) {
            SetFocus(s->buddy);
        }
        s->pressed = arrow;
        SetCapture(hwnd);
        InvalidateRect(hwnd, nullptr, FALSE);
        Step(hwnd, s, arrow == Arrow::Up ? 1 : -1);
        SetTimer(hwnd, kRepeatTimer, kFirstRepeatMs, nullptr);
        return 0;
    }
    case WM_TIMER:
        if (wParam == kRepeatTimer && s->pressed != Arrow::None) {
            SetTimer(hwnd, kRepeatTimer, kRepeatMs, nullptr);
            Step(hwnd, s, s->pressed == Arrow::Up ? 1 : -1);
        }
        return 0;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
        if (s->pressed != Arrow::None) {
            s->pressed = Arrow::None;
            KillTimer(hwnd, kRepeatTimer);
            if (msg == WM_LBUTTONUP && GetCapture() == hwnd) {
                ReleaseCapture();
            }
            InvalidateRect(hwnd, nullptr, FALSE);
            NotifyScroll(hwnd, IsHorizontal(hwnd) ? WM_HSCROLL : WM_VSCROLL, SB_ENDSCROLL, 0);
        }
        return 0;
    case UDM_SETRANGE:
        s->upper = static_cast<SHORT>(LOWORD(lParam));
        s->lower = static_cast<SHORT>(HIWORD(lParam));
        s->pos = ClampToRange(s, s->pos);
        return 0;
    case UDM_GETRANGE:
        return MAKELRESULT(static_cast<WORD>(s->upper), static_cast<WORD>(s->lower));
    case UDM_SETRANGE32:
        s->lower = static_cast<int>(static_cast<int32_t>(wParam));
        s->upper = static_cast<int>(static_cast<int32_t>(lParam));
        s->pos = ClampToRange(s, s->pos);
        return 0;
    case UDM_GETRANGE32:
        if (wParam != 0) {
            *reinterpret_cast<int*>(wParam) = s->lower;
        }
        if (lParam != 0) {
            *reinterpret_cast<int*>(lParam) = s->upper;
        }
        return 0;
    case UDM_SETPOS:
    case UDM_SETPOS32: {
        const int previous = s->pos;
        const int wanted = msg == UDM_SETPOS ? static_cast<SHORT>(LOWORD(lParam)) : static_cast<int>(lParam);
        s->pos = ClampToRange(s, wanted);
        ShowInBuddy(hwnd, s);
        return previous;
    }
    case UDM_GETPOS:
    case UDM_GETPOS32: {
        bool error = false;
        if ((StyleOf(hwnd) & UDS_SETBUDDYINT) != 0 && s->buddy != nullptr && IsWindow(s->buddy)) {
            int value = 0;
            if (ParseBuddy(s, &value) && value == ClampToRange(s, value)) {
                s->pos = value;
            } else {
                error = true;
            }
        }
        if (msg == UDM_GETPOS32) {
            if (lParam != 0) {
                *reinterpret_cast<BOOL*>(lParam) = error ? TRUE : FALSE;
            }
            return s->pos;
        }
        return MAKELRESULT(static_cast<WORD>(s->pos), error ? 1 : 0);
    }
    case UDM_SETBUDDY: return reinterpret_cast<LRESULT>(AttachBuddy(hwnd, s, reinterpret_cast<HWND>(wParam)));
    case UDM_GETBUDDY: return reinterpret_cast<LRESULT>(s->buddy);
    case UDM_SETBASE: {
        if (wParam != 10 && wParam != 16) {
            return 0;
        }
        const int previous = s->base;
        s->base = static_cast<int>(wParam);
        ShowInBuddy(hwnd, s);
        return previous;
    }
    case UDM_GETBASE: return s->base;
    case UDM_SETACCEL: {
        const auto* accels = reinterpret_cast<const UDACCEL*>(lParam);
        if (accels == nullptr || wParam == 0) {
            return FALSE;
        }
        s->accels.assign(accels, accels + wParam);
        return TRUE;
    }
    case UDM_GETACCEL: {
        auto* out = reinterpret_cast<UDACCEL*>(lParam);
        const size_t n = std::min<size_t>(wParam, s->accels.size());
        for (size_t i = 0; i < n && out != nullptr; ++i) {
            out[i] = s->accels[i];
        }
        return static_cast<LRESULT>(s->accels.size());
    }
    default: break;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

} // namespace

void RegisterUpDownClass()
{
    RegisterControlClass(UPDOWN_CLASSA, StatefulProc<UpDownState, HandleUpDown>,
                         CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, nullptr);
}

} // namespace nuvex::controls
