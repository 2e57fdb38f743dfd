// The "Button" class: push and default push buttons, check boxes (plain,
// automatic, three-state), radio buttons (plain and automatic), group boxes
// and owner-drawn buttons, with their images.
#include "platform/controls/control_support.h"

namespace nuvex::controls {
namespace {

struct ButtonState {
    WPARAM check = BST_UNCHECKED;
    bool pushed = false;
    bool focused = false;
    bool spaceDown = false; // the space bar pressed the button
    HFONT font = nullptr;
    HBITMAP bitmap = nullptr;
    HICON icon = nullptr;
};

DWORD TypeOf(HWND hwnd) { return StyleOf(hwnd) & BS_TYPEMASK; }

bool IsCheckType(DWORD type)
{
    return type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE || type == BS_AUTO3STATE;
}
bool IsRadioType(DWORD type) { return type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON; }
bool IsPushType(DWORD type)
{
    return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON || type == BS_USERBUTTON || type == BS_PUSHBOX;
}

constexpr int kCheckBoxSize = 13;
constexpr int kCheckTextGap = 4;

// Unchecks the other automatic radio buttons of `hwnd`'s group: the
// siblings from the nearest WS_GROUP at or before it to the next WS_GROUP.
void UncheckGroupSiblings(HWND hwnd)
{
    HWND first = hwnd;
    while ((StyleOf(first) & WS_GROUP) == 0) {
        HWND previous = GetWindow(first, GW_HWNDPREV);
        if (previous == nullptr) {
            break;
        }
        first = previous;
    }
    for (HWND sibling = first; sibling != nullptr; sibling = GetWindow(sibling, GW_HWNDNEXT)) {
        if (sibling != first && (StyleOf(sibling) & WS_GROUP) != 0) {
            break;
        }
        if (sibling == hwnd) {
            continue;
        }
        char name[16] = {};
        GetClassNameA(sibling, name, sizeof(name));
        if (std::string_view(name) == "Button" && (StyleOf(sibling) & BS_TYPEMASK) == BS_AUTORADIOBUTTON) {
            SendMessageA(sibling, BM_SETCHECK, BST_UNCHECKED, 0);
        }
    }
}

void DrawOwner(HWND hwnd, ButtonState* s, HDC dc, UINT action)
{
    RECT rc{};
    GetClientRect(hwnd, &rc);
    UINT state = 0;
    if (s->pushed) {
        state |= ODS_SELECTED;
    }
    if (s->focused) {
        state |= ODS_FOCUS;
    }
    if (!IsWindowEnabled(hwnd)) {
        state |= ODS_DISABLED;
    }
    SendDrawItem(hwnd, ODT_BUTTON, 0, action, state, dc, rc, 0);
}

// Draws the caption or image into `box` with the style's alignment.
void DrawLabel(HWND hwnd, ButtonState* s, HDC dc, RECT box, UINT defaultAlign)
{
    const DWORD style = StyleOf(hwnd);
    const bool enabled = IsWindowEnabled(hwnd) != FALSE;
    if ((style & BS_BITMAP) != 0 && s->bitmap != nullptr) {
        BITMAP bm{};
        GetObjectA(s->bitmap, sizeof(bm), &bm);
        const int x = box.left + (Width(box) - bm.bmWidth) / 2;
        const int y = box.top + (Height(box) - bm.bmHeight) / 2;
        DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(s->bitmap), 0, x, y, bm.bmWidth, bm.bmHeight,
                   DST_BITMAP | (enabled ? DSS_NORMAL : DSS_DISABLED));
        return;
    }
    if ((style & BS_ICON) != 0 && s->icon != nullptr) {
        const int cx = GetSystemMetrics(SM_CXICON);
        const int cy = GetSystemMetrics(SM_CYICON);
        DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(s->icon), 0, box.left + (Width(box) - cx) / 2,
                   box.top + (Height(box) - cy) / 2, cx, cy, DST_ICON | (enabled ? DSS_NORMAL : DSS_DISABLED));
        return;
    }
    char text[512] = {};
    const int length = GetWindowTextA(hwnd, text, sizeof(text));
    if (length == 0) {
        return;
    }
    UINT format = (style & BS_MULTILINE) != 0 ? DT_WORDBREAK : DT_SINGLELINE;
    switch (style & BS_CENTER) {
    case BS_LEFT: format |= DT_LEFT; break;
    case BS_RIGHT: format |= DT_RIGHT; break;
    case BS_CENTER: format |= DT_CENTER; break;
    default: format |= defaultAlign; break;
    }
    switch (style & BS_VCENTER) {
    case BS_TOP: format |= DT_TOP; break;
    case BS_BOTTOM: format |= DT_BOTTOM; break;
    default: format |= DT_VCENTER; break;
    }
    SetBkMode(dc, TRANSPARENT);
    if (!enabled) {
        // The classic embossed look: highlight one pixel down-right, then
        // the shadow colour on top.
        RECT shifted = box;
        OffsetRect(&shifted, 1, 1);
        SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
        DrawTextA(dc, text, length, &shifted, format);
        SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    }
    DrawTextA(dc, text, length, &box, format);
}

RECT TextBounds(HWND hwnd, HDC dc, RECT box)
{
    char text[512] = {};
    const int length = GetWindowTextA(hwnd, text, sizeof(text));
    RECT calc = box;
    DrawTextA(dc, text, length, &calc, DT_SINGLELINE | DT_CALCRECT);
    RECT out = box;
    out.right = std::min(box.right, calc.right);
    const int h = Height(calc);
    out.top = box.top + (Height(box) - h) / 2;
    out.bottom = out.top + h;
    InflateRect(&out, 1, 1);
    return out;
}

void PaintPush(HWND hwnd, ButtonState* s, HDC dc, RECT rc, HBRUSH)
{
    const DWORD type = TypeOf(hwnd);
    const bool isDefault = type == BS_DEFPUSHBUTTON;
    FillRect(dc, &rc, GetSysColorBrush(COLOR_BTNFACE));
    if (isDefault) {
        FrameRect(dc, &rc, GetSysColorBrush(COLOR_WINDOWFRAME));
        InflateRect(&rc, -1, -1);
    }
    if (s->pushed || s->check == BST_CHECKED) {
        if (isDefault || s->pushed) {
            FrameRect(dc, &rc, GetSysColorBrush(COLOR_BTNSHADOW));
        } else {
            DrawEdge(dc, &rc, EDGE_SUNKEN, BF_RECT);
        }
    } else {
        RECT edge = rc;
        DrawFrameControl(dc, &edge, DFC_BUTTON, DFCS_BUTTONPUSH);
    }
    RECT label = rc;
    InflateRect(&label, -4, -3);
    if (s->pushed) {
        OffsetRect(&label, 1, 1);
    }
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    DrawLabel(hwnd, s, dc, label, DT_CENTER);
    if (s->focused) {
        RECT focus = rc;
        InflateRect(&focus, -3, -3);
        DrawFocusRect(dc, &focus);
    }
}

void PaintCheckOrRadio(HWND hwnd, ButtonState* s, HDC dc, RECT rc, HBRUSH background)
{
    const DWORD style = StyleOf(hwnd);
    const DWORD type = style & BS_TYPEMASK;
    FillRect(dc, &rc, background);
    const bool leftText = (style & BS_LEFTTEXT) != 0;
    RECT box{};
    box.top = rc.top + (Height(rc) - kCheckBoxSize) / 2;
    box.bottom = box.top + kCheckBoxSize;
    box.left = leftText ? rc.right - kCheckBoxSize : rc.left;
    box.right = box.left + kCheckBoxSize;
    UINT state = IsRadioType(type) ? DFCS_BUTTONRADIO : DFCS_BUTTONCHECK;
    if (s->check == BST_CHECKED) {
        state |= DFCS_CHECKED;
    } else if (s->check == BST_INDETERMINATE) {
        state |= DFCS_BUTTON3STATE | DFCS_CHECKED;
    }
    if (s->pushed) {
        state |= DFCS_PUSHED;
    }
    if (!IsWindowEnabled(hwnd)) {
        state |= DFCS_INACTIVE;
    }
    DrawFrameControl(dc, &box, DFC_BUTTON, state);
    RECT label = rc;
    if (leftText) {
        label.right = box.left - kCheckTextGap;
    } else {
        label.left = box.right + kCheckTextGap;
    }
    DrawLabel(hwnd, s, dc, label, leftText ? DT_RIGHT : DT_LEFT);
    if (s->focused) {
        RECT focus = TextBounds(hwnd, dc, label);
        DrawFocusRect(dc, &focus);
    }
}

void PaintGroupBox(HWND hwnd, ButtonState* s, HDC dc, RECT rc, HBRUSH background)
{
    char text[512] = {};
    const int length = GetWindowTextA(hwnd, text, sizeof(text));
    SIZE extent{};
    GetTextExtentPoint32A(dc, length > 0 ? text : "X", length > 0 ? length : 1, &extent);
    RECT frame = rc;
    frame.top += extent.cy / 2;
    DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
    if (length > 0) {
        RECT label{rc.left + 8, rc.top, rc.left + 8 + extent.cx + 4, rc.top + extent.cy};
        label.right = std::min(label.right, rc.right - 8);
        FillRect(dc, &label, background);
        InflateRect(&label, -2, 0);
        (void)s;
        SetBkMode(dc, TRANSPARENT);
        if (!IsWindowEnabled(hwnd)) {
            SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
        }
        DrawTextA(dc, text, length, &label, DT_SINGLELINE | DT_LEFT | DT_TOP);
    }
}

void Paint(HWND hwnd, ButtonState* s, HDC dc)
{
    const DWORD type = TypeOf(hwnd);
    if (type == BS_OWNERDRAW) {
        DrawOwner(hwnd, s, dc, ODA_DRAWENTIRE);
        return;
    }
    SavedDC saved(dc);
    RECT rc{};
    GetClientRect(hwnd, &rc);
    SelectObject(dc, DrawingFont(s->font));
    // Push-like check boxes and radio buttons are push buttons that stay
    // pushed in while checked.
    const bool pushLook = IsPushType(type) || ((StyleOf(hwnd) & BS_PUSHLIKE) != 0 && type != BS_GROUPBOX);
    HBRUSH background = ControlColors(hwnd, dc, pushLook ? WM_CTLCOLORBTN : WM_CTLCOLORSTATIC);
    if (pushLook) {
        PaintPush(hwnd, s, dc, rc, background);
    } else if (type == BS_GROUPBOX) {
        PaintGroupBox(hwnd, s, dc, rc, background);
    } else {
        PaintCheckOrRadio(hwnd, s, dc, rc, background);
    }
}

// Shows a change of the pushed or focus state: owner-drawn buttons hear
// it as ODA_SELECT or ODA_FOCUS at once, the others repaint.
void ShowStateChange(HWND hwnd, ButtonState* s, UINT ownerAction)
{
    if (TypeOf(hwnd) == BS_OWNERDRAW) {
        if (!IsWindowVisible(hwnd)) {
            return;
        }
        HDC dc = GetDC(hwnd);
        DrawOwner(hwnd, s, dc, ownerAction);
        ReleaseDC(hwnd, dc);
        return;
    }
    InvalidateRect(hwnd, nullptr, FALSE);
}

enum class Push : uint8_t { Up, Down };

void SetPushed(HWND hwnd, ButtonState* s, Push push)
{
    const bool pushed = push == Push::Down;
    if (s->pushed == pushed) {
        return;
    }
    s->pushed = pushed;
    if ((StyleOf(hwnd) & BS_NOTIFY) != 0) {
        NotifyCommand(hwnd, pushed ? BN_HILITE : BN_UNHILITE);
    }
    ShowStateChange(hwnd, s, ODA_SELECT);
}

// The click of a person (or BM_CLICK): automatic kinds change their check,
// then the parent hears BN_CLICKED.
void Click(HWND hwnd, ButtonState* s)
{
    switch (TypeOf(hwnd)) {
    case BS_AUTOCHECKBOX:
        SendMessageA(hwnd, BM_SETCHECK, s->check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED, 0);
        break;
    case BS_AUTO3STATE:
        SendMessageA(hwnd, BM_SETCHECK, (s->check + 1) % 3, 0);
        break;
    case BS_AUTORADIOBUTTON:
        SendMessageA(hwnd, BM_SETCHECK, BST_CHECKED, 0);
        UncheckGroupSiblings(hwnd);
        break;
    default: break;
    }
    NotifyCommand(hwnd, BN_CLICKED);
}

bool InClient(HWND hwnd, LPARAM lParam)
{
    RECT rc{};
    GetClientRect(hwnd, &rc);
    return PtInRect(&rc, PointFromLParam(lParam)) != FALSE;
}

LRESULT HandleButton(HWND hwnd, ButtonState& state, UINT msg, WPARAM wParam, LPARAM lParam)
{
    ButtonState* s = &state;
    if (msg == WM_NCCREATE) {
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
    const DWORD type = TypeOf(hwnd);
    switch (msg) {
    case WM_NCDESTROY:
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    case WM_NCHITTEST:
        // Group boxes let clicks through to what lies behind them.
        if (type == BS_GROUPBOX) {
            return HTTRANSPARENT;
        }
        break;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT:
    case WM_PRINTCLIENT:
        return PaintWith(hwnd, wParam, [&](HDC dc) { Paint(hwnd, s, dc); });
    case WM_SETFONT:
        s->font = reinterpret_cast<HFONT>(wParam);
        if (LOWORD(lParam) != 0) {
            InvalidateRect(hwnd, nullptr, TRUE);
        }
        return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(s->font);
    case WM_SETTEXT: {
        const LRESULT r = DefWindowProcA(hwnd, msg, wParam, lParam);
        InvalidateRect(hwnd, nullptr, TRUE);
        return r;
    }
    case WM_ENABLE: InvalidateRect(hwnd, nullptr, TRUE); return 0;
    case WM_GETDLGCODE:
        if (type == BS_GROUPBOX) {
            return DLGC_STATIC;
        }
        if (IsRadioType(type)) {
            return DLGC_BUTTON | DLGC_RADIOBUTTON;
        }
        if (type == BS_DEFPUSHBUTTON) {
            return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
        }
        if (IsPushType(type) || type == BS_OWNERDRAW) {
            return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
        }
        return DLGC_BUTTON;
    case WM_SETFOCUS:
        s->focused = true;
        ShowStateChange(hwnd, s, ODA_FOCUS);
        if ((StyleOf(hwnd) & BS_NOTIFY) != 0) {
            NotifyCommand(hwnd, BN_SETFOCUS);
        }
        return 0;
    case WM_KILLFOCUS:
        s->focused = false;
        s->spaceDown = false;
        if (GetCapture() == hwnd) {
            ReleaseCapture();
        }
        SetPushed(hwnd, s, Push::Up);
        ShowStateChange(hwnd, s, ODA_FOCUS);
        if ((StyleOf(hwnd) & BS_NOTIFY) != 0) {
            NotifyCommand(hwnd, BN_KILLFOCUS);
        }
        return 0;
    case WM_LBUTTONDBLCLK:
        if (IsRadioType(type) || type == BS_OWNERDRAW || (StyleOf(hwnd) & BS_NOTIFY) != 0) {
            if (type != BS_GROUPBOX) {
                NotifyCommand(hwnd, BN_DOUBLECLICKED);
            }
            return 0;
        }
        [[fallthrough]];
    case WM_LBUTTONDOWN:
        if (type == BS_GROUPBOX) {
            return 0;
        }
        SetCapture(hwnd);
        SetFocus(hwnd);
        SetPushed(hwnd, s, Push::Down);
        return 0;
    case WM_MOUSEMOVE:
        if (GetCapture() == hwnd && !s->spaceDown) {
            SetPushed(hwnd, s, InClient(hwnd, lParam) ? Push::Down : Push::Up);
        }
        return 0;
    case WM_LBUTTONUP:
        if (GetCapture() == hwnd) {
            const bool click = s->pushed && InClient(hwnd, lParam);
            SetPushed(hwnd, s, Push::Up);
            ReleaseCapture();
            if (click) {
                Click(hwnd, s);
            }
        }
        return 0;
    case WM_CAPTURECHANGED:
        if (!s->spaceDown) {
            SetPushed(hwnd, s, Push::Up);
        }
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_SPACE && type != BS_GROUPBOX) {
            if ((lParam & (1 << 30)) == 0) {
                s->spaceDown = true;
                SetPushed(hwnd, s, Push::Down);
            }
            return 0;
        }
        break;
    case WM_KEYUP:
        if (wParam == VK_SPACE && s->spaceDown) {
            s->spaceDown = false;
            const bool click = s->pushed;
            SetPushed(hwnd, s, Push::Up);
            if (click) {
                Click(hwnd, s);
            }
            return 0;
        }
        break;
    case BM_CLICK:
        if (type != BS_GROUPBOX && IsWindowEnabled(hwnd)) {
            Click(hwnd, s);
        }
        return 0;
    case BM_GETCHECK: return (IsCheckType(type) || IsRadioType(type)) ? static_cast<LRESULT>(s->check) : 0;
    case BM_SETCHECK: {
        if (!IsCheckType(type) && !IsRadioType(type)) {
            return 0;
        }
        WPARAM check = wParam & 3;
        if (check == BST_INDETERMINATE && type != BS_3STATE && type != BS_AUTO3STATE) {
            check = BST_CHECKED;
        }
        if (check > BST_INDETERMINATE) {
            check = BST_UNCHECKED;
        }
        if (check != s->check) {
            s->check = check;
            InvalidateRect(hwnd, nullptr, FALSE);
        }
        // A checked radio button is the one the Tab key reaches in its group.
        if (IsRadioType(type)) {
            const DWORD style = StyleOf(hwnd);
            const DWORD wanted = check == BST_CHECKED ? (style | WS_TABSTOP) : (style & ~WS_TABSTOP);
            if (wanted != style) {
                SetWindowLongPtrA(hwnd, GWL_STYLE, static_cast<LONG_PTR>(wanted));
            }
        }
        return 0;
    }
    case BM_GETSTATE:
        return static_cast<LRESULT>(s->check | (s->pushed ? BST_PUSHED : 0) | (s->focused ? BST_FOCUS : 0));
    case BM_SETSTATE: SetPushed(hwnd, s, wParam != 0 ? Push::Down : Push::Up); return 0;
    case BM_SETSTYLE: {
        const DWORD style = (StyleOf(hwnd) & ~0xFFFFu) | (static_cast<DWORD>(wParam) & 0xFFFFu);
        SetWindowLongPtrA(hwnd, GWL_STYLE, static_cast<LONG_PTR>(style));
        if (LOWORD(lParam) != 0) {
            InvalidateRect(hwnd, nullptr, TRUE);
        }
        return 0;
    }
    case BM_GETIMAGE:
        if (wParam == IMAGE_BITMAP) {
            return reinterpret_cast<LRESULT>(s->bitmap);
        }
        if (wParam == IMAGE_ICON) {
            return reinterpret_cast<LRESULT>(s->icon);
        }
        return 0;
    case BM_SETIMAGE: {
        LRESULT previous = 0;
        if (wParam == IMAGE_BITMAP) {
            previous = reinterpret_cast<LRESULT>(s->bitmap);
            s->bitmap = reinterpret_cast<HBITMAP>(lParam);
        } else if (wParam == IMAGE_ICON) {
            previous = reinterpret_cast<LRESULT>(s->icon);
            s->icon = reinterpret_cast<HICON>(lParam);
        } else {
            return 0;
        }
        InvalidateRect(hwnd, nullptr, TRUE);
        return previous;
    }
    default: break;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

} // namespace

void RegisterButtonClass()
{
    RegisterControlClass("Button", StatefulProc<ButtonState, HandleButton>,
                         CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, nullptr);
}

} // namespace nuvex::controls

// CheckDlgButton, IsDlgButtonChecked and CheckRadioButton belong to the
// dialog manager (platform/user/dialog_items.cpp).
