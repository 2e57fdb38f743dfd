// The "ComboBox" class: a simple combo (edit over a list), a drop-down
// combo (edit, button and a list that drops down) and a drop-down list
// (the chosen item, button and list). The edit is a child "Edit" with id
// 1001, the list a child "ListBox" with id 1000 for the simple style, else
// a popup "ComboLBox" owned by the combo box.
#include "platform/controls/control_support.h"
#include "platform/controls/listbox_internal.h"

#include <cstring>
#include <vector>

namespace nuvex::controls {
namespace {

constexpr int kEditId = 1001;
constexpr int kListId = 1000;

struct ComboState {
    HWND edit = nullptr;
    HWND list = nullptr;
    HFONT font = nullptr;
    DWORD listScrollStyle = 0; // WS_VSCROLL and WS_HSCROLL the box was made with
    bool dropped = false;
    bool focused = false;
    int droppedHeight = 100; // list height when dropped
    int droppedWidth = 0;    // 0: the combo's width
    int fieldHeight = 0;     // the selection field (-1 of CB_GETITEMHEIGHT)
    int selectionOnDrop = -1;
    bool showingSelection = false; // the edit's text changes to show the list's choice
};

DWORD Kind(HWND hwnd) { return StyleOf(hwnd) & 3; }
bool IsDropKind(HWND hwnd) { return Kind(hwnd) == CBS_DROPDOWN || Kind(hwnd) == CBS_DROPDOWNLIST; }

int FieldHeight(ComboState* s)
{
    if (s->fieldHeight <= 0) {
        s->fieldHeight = MeasureFont(s->font).height + 8;
    }
    return s->fieldHeight;
}

RECT ButtonRect(HWND hwnd, ComboState* s)
{
    RECT rc{};
    GetClientRect(hwnd, &rc);
    const int cx = GetSystemMetrics(SM_CXVSCROLL);
    return RECT{rc.right - 2 - cx, 2, rc.right - 2, FieldHeight(s) - 2};
}

LRESULT ToList(ComboState* s, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return s->list != nullptr ? SendMessageA(s->list, msg, wParam, lParam) : CB_ERR;
}

int Selected(ComboState* s) { return static_cast<int>(ToList(s, LB_GETCURSEL, 0, 0)); }

std::string ItemText(ComboState* s, int index)
{
    const LRESULT length = ToList(s, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length < 0) {
        return {};
    }
    std::vector<char> buffer(static_cast<size_t>(length) + sizeof(ULONG_PTR) + 1, '\0');
    ToList(s, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer.data()));
    return std::string(buffer.data());
}

// Shows the selected item in the edit (or the field of a drop-down list).
void ShowSelection(HWND hwnd, ComboState* s)
{
    const int index = Selected(s);
    if (s->edit != nullptr) {
        const std::string text = index >= 0 ? ItemText(s, index) : std::string();
        // Edit notifications are for what a person types, not for this.
        s->showingSelection = true;
        SetWindowTextA(s->edit, text.c_str());
        s->showingSelection = false;
        SendMessageA(s->edit, EM_SETSEL, 0, static_cast<LPARAM>(-1));
    }
    InvalidateRect(hwnd, nullptr, FALSE);
}

void Notify(HWND hwnd, WORD code) { NotifyCommand(hwnd, code); }

void Layout(HWND hwnd, ComboState* s)
{
    RECT rc{};
    GetClientRect(hwnd, &rc);
    const int field = FieldHeight(s);
    if (s->edit != nullptr) {
        const int right = Kind(hwnd) == CBS_SIMPLE ? rc.right : ButtonRect(hwnd, s).left;
        MoveWindow(s->edit, 3, 3, std::max(0, right - 4), std::max(0, field - 6), TRUE);
    }
    if (Kind(hwnd) == CBS_SIMPLE && s->list != nullptr) {
        MoveWindow(s->list, 0, field, Width(rc), std::max(0, Height(rc) - field), TRUE);
    }
}

enum class Drop : uint8_t { Close, Open };

void ShowDropDown(HWND hwnd, ComboState* s, Drop drop)
{
    const bool show = drop == Drop::Open;
    if (!IsDropKind(hwnd) || s->list == nullptr || show == s->dropped) {
        return;
    }
    if (show) {
        Notify(hwnd, CBN_DROPDOWN);
        RECT rc{};
        GetWindowRect(hwnd, &rc);
        const int width = s->droppedWidth > 0 ? s->droppedWidth : Width(rc);
        s->selectionOnDrop = Selected(s);
        SetWindowPos(s->list, HWND_TOPMOST, rc.left, rc.bottom, width, s->droppedHeight, SWP_NOACTIVATE | SWP_SHOWWINDOW);
        s->dropped = true;
        SetCapture(s->list);
    } else {
        s->dropped = false;
        if (GetCapture() == s->list) {
            ReleaseCapture();
        }
        ShowWindow(s->list, SW_HIDE);
        Notify(hwnd, CBN_CLOSEUP);
    }
    InvalidateRect(hwnd, nullptr, FALSE);
}

// Ends a drop: DropEnd::Accept keeps the list's choice, else the selection
// goes back.
enum class DropEnd : uint8_t { Cancel, Accept };

void EndDrop(HWND hwnd, ComboState* s, DropEnd end)
{
    const bool accept = end == DropEnd::Accept;
    if (!s->dropped) {
        return;
    }
    const int before = s->selectionOnDrop;
    if (!accept) {
        ToList(s, LB_SETCURSEL, static_cast<WPARAM>(before), 0);
    }
    Notify(hwnd, accept ? CBN_SELENDOK : CBN_SELENDCANCEL);
    ShowDropDown(hwnd, s, Drop::Close);
    ShowSelection(hwnd, s);
    if (accept && Selected(s) != before) {
        Notify(hwnd, CBN_SELCHANGE);
    }
}

// Moves the selection by a key without dropping the list.
void Step(HWND hwnd, ComboState* s, WPARAM key)
{
    const int count = static_cast<int>(ToList(s, LB_GETCOUNT, 0, 0));
    if (count <= 0) {
        return;
    }
    const int current = Selected(s);
    int target = current;
    switch (key) {
    case VK_UP: target = current < 0 ? 0 : current - 1; break;
    case VK_DOWN: target = current + 1; break;
    case VK_HOME: target = 0; break;
    case VK_END: target = count - 1; break;
    case VK_PRIOR: target = current - 8; break;
    case VK_NEXT: target = current + 8; break;
    default: return;
    }
    target = std::clamp(target, 0, count - 1);
    if (target == current) {
        return;
    }
    ToList(s, LB_SETCURSEL, static_cast<WPARAM>(target), 0);
    if (!s->dropped) {
        ShowSelection(hwnd, s);
        Notify(hwnd, CBN_SELCHANGE);
    }
}

// Keys of the combo box and of its edit: F4 and Alt+Up/Down drop and close
// the list, Enter and Esc end a drop, arrows step through the items.
bool OnKey(HWND hwnd, ComboState* s, WPARAM key)
{
    const bool alt = KeyDown(VK_MENU);
    if (key == VK_F4 || (alt && (key == VK_UP || key == VK_DOWN))) {
        if (s->dropped) {
            EndDrop(hwnd, s, DropEnd::Accept);
        } else {
            ShowDropDown(hwnd, s, Drop::Open);
        }
        return true;
    }
    if (s->dropped && key == VK_RETURN) {
        EndDrop(hwnd, s, DropEnd::Accept);
        return true;
    }
    if (s->dropped && key == VK_ESCAPE) {
        EndDrop(hwnd, s, DropEnd::Cancel);
        return true;
    }
    if (key == VK_UP || key == VK_DOWN || key == VK_PRIOR || key == VK_NEXT ||
        ((key == VK_HOME || key == VK_END) && s->edit == nullptr)) {
        Step(hwnd, s, key);
        return true;
    }
    return false;
}

// The edit of a combo box passes its navigation keys to the combo box.
LRESULT CALLBACK ComboEditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto previous = reinterpret_cast<WNDPROC>(GetPropA(hwnd, "nuvex.combo.edit"));
    HWND combo = GetParent(hwnd);
    if (msg == WM_KEYDOWN && combo != nullptr) {
        auto* s = StateOf<ComboState>(combo);
        if (s != nullptr && (wParam == VK_UP || wParam == VK_DOWN || wParam == VK_F4 || wParam == VK_PRIOR ||
                             wParam == VK_NEXT || (s->dropped && (wParam == VK_RETURN || wParam == VK_ESCAPE)))) {
            OnKey(combo, s, wParam);
            return 0;
        }
    }
    if (msg == WM_NCDESTROY) {
        RemovePropA(hwnd, "nuvex.combo.edit");
    }
    return previous != nullptr ? CallWindowProcA(previous, hwnd, msg, wParam, lParam)
                               : DefWindowProcA(hwnd, msg, wParam, lParam);
}

void Paint(HWND hwnd, ComboState* s, HDC dc)
{
    SavedDC saved(dc);
    RECT rc{};
    GetClientRect(hwnd, &rc);
    SelectObject(dc, DrawingFont(s->font));
    const bool dropList = Kind(hwnd) == CBS_DROPDOWNLIST;
    HBRUSH background = ControlColors(hwnd, dc, dropList ? WM_CTLCOLORLISTBOX : WM_CTLCOLOREDIT);
    RECT field{rc.left, rc.top, rc.right, Kind(hwnd) == CBS_SIMPLE ? FieldHeight(s) : rc.bottom};
    FillRect(dc, &field, Kind(hwnd) == CBS_SIMPLE ? GetSysColorBrush(COLOR_BTNFACE) : background);
    RECT edge = field;
    DrawEdge(dc, &edge, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    FillRect(dc, &edge, background);
    if (IsDropKind(hwnd)) {
        RECT button = ButtonRect(hwnd, s);
        DrawFrameControl(dc, &button, DFC_SCROLL,
                         DFCS_SCROLLCOMBOBOX | (s->dropped ? DFCS_PUSHED | DFCS_FLAT : 0) |
                             (IsWindowEnabled(hwnd) ? 0 : DFCS_INACTIVE));
    }
    if (dropList) {
        RECT text{edge.left + 1, edge.top + 1, ButtonRect(hwnd, s).left - 1, edge.bottom - 1};
        const int index = Selected(s);
        if (s->focused && !s->dropped) {
            FillRect(dc, &text, GetSysColorBrush(COLOR_HIGHLIGHT));
            SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
        } else if (!IsWindowEnabled(hwnd)) {
            SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
        }
        if (index >= 0) {
            const std::string label = ItemText(s, index);
            SetBkMode(dc, TRANSPARENT);
            RECT inner = text;
            inner.left += 2;
            DrawTextA(dc, label.data(), static_cast<int>(label.size()), &inner, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
        }
        if (s->focused && !s->dropped) {
            DrawFocusRect(dc, &text);
        }
    }
}

LRESULT OnCreate(HWND hwnd, ComboState* s, const CREATESTRUCTA* cs)
{
    const DWORD style = StyleOf(hwnd);
    const DWORD kind = style & 3;
    HINSTANCE instance = cs != nullptr ? cs->hInstance : nullptr;
    DWORD listStyle = WS_BORDER | WS_VSCROLL | s->listScrollStyle | LBS_NOTIFY | LBS_COMBOBOX | LBS_NOINTEGRALHEIGHT;
    if ((style & CBS_SORT) != 0) {
        listStyle |= LBS_SORT;
    }
    if ((style & CBS_OWNERDRAWFIXED) != 0) {
        listStyle |= LBS_OWNERDRAWFIXED;
    }
    if ((style & CBS_HASSTRINGS) != 0) {
        listStyle |= LBS_HASSTRINGS;
    }
    if (kind == CBS_SIMPLE) {
        s->list = CreateWindowExA(0, "ListBox", nullptr, listStyle | WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, hwnd,
                                  reinterpret_cast<HMENU>(static_cast<intptr_t>(kListId)), instance, nullptr);
    } else {
        s->droppedHeight = std::max(cs != nullptr ? cs->cy : 0, FieldHeight(s) * 2);
        s->list = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, WC_COMBOLBOXA, nullptr, listStyle | WS_POPUP, 0, 0,
                                  10, 10, hwnd, nullptr, instance, nullptr);
    }
    if (s->list == nullptr) {
        return -1;
    }
    SendMessageA(s->list, kListSetNotifyTarget, 0, reinterpret_cast<LPARAM>(hwnd));
    if (kind != CBS_DROPDOWNLIST) {
        DWORD editStyle = WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL;
        if ((style & CBS_UPPERCASE) != 0) {
            editStyle |= ES_UPPERCASE;
        }
        if ((style & CBS_LOWERCASE) != 0) {
            editStyle |= ES_LOWERCASE;
        }
        s->edit = CreateWindowExA(0, "Edit", cs != nullptr ? cs->lpszName : nullptr, editStyle, 0, 0, 10, 10, hwnd,
                                  reinterpret_cast<HMENU>(static_cast<intptr_t>(kEditId)), instance, nullptr);
        if (s->edit == nullptr) {
            return -1;
        }
        SetPropA(s->edit, "nuvex.combo.edit",
                 reinterpret_cast<HANDLE>(SetWindowLongPtrA(s->edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ComboEditProc))));
    }
    if (IsDropKind(hwnd)) {
        // The window keeps the selection field's height; the rest of the
        // height it was made with is the dropped list's.
        SetWindowPos(hwnd, nullptr, 0, 0, cs != nullptr ? cs->cx : 100, FieldHeight(s),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    Layout(hwnd, s);
    return 0;
}

LRESULT OnComboMessage(HWND hwnd, ComboState* s, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case CB_ADDSTRING: return ToList(s, LB_ADDSTRING, wParam, lParam);
    case CB_INSERTSTRING: return ToList(s, LB_INSERTSTRING, wParam, lParam);
    case CB_DELETESTRING: {
        const int before = Selected(s);
        const LRESULT r = ToList(s, LB_DELETESTRING, wParam, lParam);
        if (before >= 0 && Selected(s) < 0) {
            ShowSelection(hwnd, s);
        }
        return r;
    }
    case CB_RESETCONTENT:
        ToList(s, LB_RESETCONTENT, 0, 0);
        ShowSelection(hwnd, s);
        InvalidateRect(hwnd, nullptr, FALSE);
        return CB_OKAY;
    case CB_GETCOUNT: return ToList(s, LB_GETCOUNT, 0, 0);
    case CB_GETCURSEL: return ToList(s, LB_GETCURSEL, 0, 0);
    case CB_SETCURSEL: {
        const LRESULT r = ToList(s, LB_SETCURSEL, wParam, 0);
        ShowSelection(hwnd, s);
        return r;
    }
    case CB_GETLBTEXT: return ToList(s, LB_GETTEXT, wParam, lParam);
    case CB_GETLBTEXTLEN: return ToList(s, LB_GETTEXTLEN, wParam, 0);
    case CB_FINDSTRING: return ToList(s, LB_FINDSTRING, wParam, lParam);
    case CB_FINDSTRINGEXACT: return ToList(s, LB_FINDSTRINGEXACT, wParam, lParam);
    case CB_SELECTSTRING: {
        const LRESULT found = ToList(s, LB_FINDSTRING, wParam, lParam);
        if (found == CB_ERR) {
            return CB_ERR;
        }
        ToList(s, LB_SETCURSEL, static_cast<WPARAM>(found), 0);
        ShowSelection(hwnd, s);
        return found;
    }
    case CB_GETITEMDATA: return ToList(s, LB_GETITEMDATA, wParam, 0);
    case CB_SETITEMDATA: return ToList(s, LB_SETITEMDATA, wParam, lParam);
    case CB_GETTOPINDEX: return ToList(s, LB_GETTOPINDEX, 0, 0);
    case CB_SETTOPINDEX: return ToList(s, LB_SETTOPINDEX, wParam, 0) == LB_ERR ? CB_ERR : CB_OKAY;
    case CB_GETEDITSEL: {
        if (s->edit == nullptr) {
            return CB_ERR;
        }
        return SendMessageA(s->edit, EM_GETSEL, wParam, lParam);
    }
    case CB_SETEDITSEL:
        if (s->edit == nullptr) {
            return CB_ERR;
        }
        SendMessageA(s->edit, EM_SETSEL, static_cast<WPARAM>(static_cast<SHORT>(LOWORD(lParam))),
                     static_cast<LPARAM>(static_cast<SHORT>(HIWORD(lParam))));
        return TRUE;
    case CB_LIMITTEXT:
        if (s->edit == nullptr) {
            return CB_ERR;
        }
        SendMessageA(s->edit, EM_LIMITTEXT, wParam, 0);
        return TRUE;
    case CB_SHOWDROPDOWN:
        if (wParam != 0) {
            ShowDropDown(hwnd, s, Drop::Open);
        } else {
            ShowDropDown(hwnd, s, Drop::Close);
        }
        return TRUE;
    case CB_GETDROPPEDSTATE: return s->dropped ? TRUE : FALSE;
    case CB_GETDROPPEDCONTROLRECT: {
        auto* out = reinterpret_cast<RECT*>(lParam);
        if (out == nullptr) {
            return CB_ERR;
        }
        GetWindowRect(hwnd, out);
        if (IsDropKind(hwnd)) {
            out->bottom = out->top + FieldHeight(s) + s->droppedHeight;
        }
        return TRUE;
    }
    case CB_GETITEMHEIGHT:
        return static_cast<intptr_t>(static_cast<int32_t>(wParam)) == -1 ? FieldHeight(s)
                                                                         : ToList(s, LB_GETITEMHEIGHT, 0, 0);
    case CB_SETITEMHEIGHT:
        if (static_cast<intptr_t>(static_cast<int32_t>(wParam)) == -1) {
            if (lParam <= 0 || lParam > 255) {
                return CB_ERR;
            }
            s->fieldHeight = static_cast<int>(lParam);
            if (IsDropKind(hwnd)) {
                RECT rc{};
                GetWindowRect(hwnd, &rc);
                SetWindowPos(hwnd, nullptr, 0, 0, Width(rc), s->fieldHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            }
            Layout(hwnd, s);
            return CB_OKAY;
        }
        return ToList(s, LB_SETITEMHEIGHT, 0, lParam);
    case CB_GETDROPPEDWIDTH: {
        RECT rc{};
        GetWindowRect(hwnd, &rc);
        return s->droppedWidth > 0 ? s->droppedWidth : Width(rc);
    }
    case CB_SETDROPPEDWIDTH:
        s->droppedWidth = static_cast<int>(wParam);
        return s->droppedWidth;
    default: return CB_ERR;
    }
}

LRESULT HandleComboBox(HWND hwnd, ComboState& state, UINT msg, WPARAM wParam, LPARAM lParam)
{
    ComboState* s = &state;
    if (msg == WM_NCCREATE) {
        // The scroll bars a combo box is made with belong to its list: on
        // the box itself they would cover the selection field and take its
        // clicks.
        const DWORD style = StyleOf(hwnd);
        state.listScrollStyle = style & (WS_VSCROLL | WS_HSCROLL);
        if (state.listScrollStyle != 0) {
            SetWindowLongPtrA(hwnd, GWL_STYLE, static_cast<LONG_PTR>(style & ~(WS_VSCROLL | WS_HSCROLL)));
        }
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
    if (msg >= CB_GETEDITSEL && msg <= CB_SETDROPPEDWIDTH) {
        return OnComboMessage(hwnd, s, msg, wParam, lParam);
    }
    switch (msg) {
    case WM_CREATE: return OnCreate(hwnd, s, reinterpret_cast<const CREATESTRUCTA*>(lParam));
    case WM_DESTROY:
        if (s->list != nullptr && Kind(hwnd) != CBS_SIMPLE) {
            DestroyWindow(s->list);
        }
        s->list = nullptr;
        return 0;
    case WM_NCDESTROY:
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    case WM_ERASEBKGND: return 1;
    case WM_PAINT:
    case WM_PRINTCLIENT:
        return PaintWith(hwnd, wParam, [&](HDC dc) { Paint(hwnd, s, dc); });
    case WM_SIZE: Layout(hwnd, s); return 0;
    case WM_SETFONT:
        s->font = reinterpret_cast<HFONT>(wParam);
        s->fieldHeight = 0;
        if (s->edit != nullptr) {
            SendMessageA(s->edit, WM_SETFONT, wParam, lParam);
        }
        if (s->list != nullptr) {
            SendMessageA(s->list, WM_SETFONT, wParam, lParam);
        }
        Layout(hwnd, s);
        return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(s->font);
    case WM_SETTEXT:
        if (s->edit != nullptr) {
            return SendMessageA(s->edit, WM_SETTEXT, wParam, lParam);
        }
        // A drop-down list shows only its items: the text selects one.
        if (lParam != 0) {
            const LRESULT found = ToList(s, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), lParam);
            if (found == LB_ERR) {
                return CB_ERR;
            }
            ToList(s, LB_SETCURSEL, static_cast<WPARAM>(found), 0);
            InvalidateRect(hwnd, nullptr, FALSE);
        }
        return TRUE;
    case WM_GETTEXT: {
        if (s->edit != nullptr) {
            return SendMessageA(s->edit, WM_GETTEXT, wParam, lParam);
        }
        auto* buffer = reinterpret_cast<char*>(lParam);
        if (buffer == nullptr || wParam == 0) {
            return 0;
        }
        const int index = Selected(s);
        const std::string text = index >= 0 ? ItemText(s, index) : std::string();
        const size_t n = std::min(text.size(), static_cast<size_t>(wParam) - 1);
        std::memcpy(buffer, text.data(), n);
        buffer[n] = '\0';
        return static_cast<LRESULT>(n);
    }
    case WM_GETTEXTLENGTH: {
        if (s->edit != nullptr) {
            return SendMessageA(s->edit, WM_GETTEXTLENGTH, 0, 0);
        }
        const int index = Selected(s);
        return index >= 0 ? static_cast<LRESULT>(ItemText(s, index).size()) : 0;
    }
    case WM_ENABLE:
        if (s->edit != nullptr) {
            EnableWindow(s->edit, wParam != 0 ? TRUE : FALSE);
        }
        if (s->list != nullptr) {
            EnableWindow(s->list, wParam != 0 ? TRUE : FALSE);
        }
        InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_SETFOCUS:
        if (s->edit != nullptr) {
            SetFocus(s->edit);
            return 0;
        }
        s->focused = true;
        InvalidateRect(hwnd, nullptr, FALSE);
        Notify(hwnd, CBN_SETFOCUS);
        return 0;
    case WM_KILLFOCUS:
        if (s->edit == nullptr) {
            s->focused = false;
            EndDrop(hwnd, s, DropEnd::Cancel);
            InvalidateRect(hwnd, nullptr, FALSE);
            Notify(hwnd, CBN_KILLFOCUS);
        }
        return 0;
    case WM_COMMAND:
        if (reinterpret_cast<HWND>(lParam) == s->edit && s->edit != nullptr) {
            switch (HIWORD(wParam)) {
            case EN_CHANGE:
                if (!s->showingSelection) {
                    Notify(hwnd, CBN_EDITCHANGE);
                }
                break;
            case EN_UPDATE:
                if (!s->showingSelection) {
                    Notify(hwnd, CBN_EDITUPDATE);
                }
                break;
            case EN_SETFOCUS:
                s->focused = true;
                Notify(hwnd, CBN_SETFOCUS);
                break;
            case EN_KILLFOCUS:
                s->focused = false;
                EndDrop(hwnd, s, DropEnd::Cancel);
                Notify(hwnd, CBN_KILLFOCUS);
                break;
            default: break;
            }
            return 0;
        }
        if (reinterpret_cast<HWND>(lParam) == s->list && s->list != nullptr) {
            if (HIWORD(wParam) == LBN_SELCHANGE && !s->dropped) {
                ShowSelection(hwnd, s);
                Notify(hwnd, CBN_SELCHANGE);
            } else if (HIWORD(wParam) == LBN_DBLCLK) {
                Notify(hwnd, CBN_DBLCLK);
            }
        }
        return 0;
    case kComboListChosen:
        if (s->dropped) {
            POINT cursor{};
            GetCursorPos(&cursor);
            RECT listRect{};
            GetWindowRect(s->list, &listRect);
            EndDrop(hwnd, s, PtInRect(&listRect, cursor) != FALSE ? DropEnd::Accept : DropEnd::Cancel);
        }
        return 0;
    case WM_LBUTTONDOWN: {
        if (!IsDropKind(hwnd)) {
            return 0;
        }
        if (GetFocus() != hwnd && GetFocus() != s->edit) {
            SetFocus(hwnd);
        }
        RECT button = ButtonRect(hwnd, s);
        if (Kind(hwnd) == CBS_DROPDOWNLIST || PtInRect(&button, PointFromLParam(lParam))) {
            if (s->dropped) {
                EndDrop(hwnd, s, DropEnd::Cancel);
            } else {
                ShowDropDown(hwnd, s, Drop::Open);
            }
        }
        return 0;
    }
    case WM_KEYDOWN: OnKey(hwnd, s, wParam); return 0;
    case WM_CHAR:
        if (s->edit == nullptr && static_cast<unsigned char>(wParam & 0xFF) >= 0x20) {
            const std::string prefix(1, static_cast<char>(wParam & 0xFF));
            const LRESULT found = ToList(s, LB_FINDSTRING, static_cast<WPARAM>(Selected(s)),
                                         reinterpret_cast<LPARAM>(prefix.c_str()));
            if (found != LB_ERR && found != Selected(s)) {
                ToList(s, LB_SETCURSEL, static_cast<WPARAM>(found), 0);
                if (!s->dropped) {
                    ShowSelection(hwnd, s);
                    Notify(hwnd, CBN_SELCHANGE);
                }
            }
        }
        return 0;
    case WM_CANCELMODE: EndDrop(hwnd, s, DropEnd::Cancel); return 0;
    default: break;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

} // namespace

void RegisterComboBoxClass()
{
    RegisterControlClass("ComboBox", StatefulProc<ComboState, HandleComboBox>, CS_DBLCLKS, nullptr);
}

} // namespace nuvex::controls
