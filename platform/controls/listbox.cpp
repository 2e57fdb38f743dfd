// The "ListBox" class (and "ComboLBox", the list a combo box drops down):
// items with text and data, sorted insertion, single, multiple and extended
// selection by mouse and keyboard, owner-drawn fixed items, scrolling.
#include "platform/controls/control_support.h"
#include "platform/controls/listbox_internal.h"

#include <cctype>
#include <cstring>
#include <vector>

namespace nuvex::controls {
namespace {

struct Item {
    std::string text;
    ULONG_PTR data = 0;
    bool selected = false;
};

struct ListState {
    std::vector<Item> items;
    int current = -1; // single selection: the selected item
    int caret = 0;    // the focus item
    int anchor = 0;   // extended selection: the fixed end of a range
    int top = 0;
    int itemHeight = 0;
    int columnWidth = 0;
    bool focused = false;
    bool tracking = false; // the mouse button is down in the list
    HFONT font = nullptr;
    HWND notifyTarget = nullptr; // a dropped-down list tells its combo box
    bool verticalBar = false;    // made with WS_VSCROLL: the bar comes and goes with the need
};

enum class Selection { Single, Multiple, Extended, None };

Selection SelectionKind(HWND hwnd)
{
    const DWORD style = StyleOf(hwnd);
    if ((style & LBS_NOSEL) != 0) {
        return Selection::None;
    }
    if ((style & LBS_EXTENDEDSEL) != 0) {
        return Selection::Extended;
    }
    if ((style & LBS_MULTIPLESEL) != 0) {
        return Selection::Multiple;
    }
    return Selection::Single;
}

bool IsMultiSelect(HWND hwnd)
{
    const Selection kind = SelectionKind(hwnd);
    return kind == Selection::Multiple || kind == Selection::Extended;
}

bool IsOwnerDraw(HWND hwnd) { return (StyleOf(hwnd) & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)) != 0; }
bool HasStrings(HWND hwnd) { return !IsOwnerDraw(hwnd) || (StyleOf(hwnd) & LBS_HASSTRINGS) != 0; }
int Count(const ListState* s) { return static_cast<int>(s->items.size()); }
bool ValidIndex(const ListState* s, intptr_t index) { return index >= 0 && index < Count(s); }

HWND Target(HWND hwnd, const ListState* s) { return s->notifyTarget != nullptr ? s->notifyTarget : NotifyTarget(hwnd); }

void Notify(HWND hwnd, const ListState* s, WORD code)
{
    if ((StyleOf(hwnd) & LBS_NOTIFY) != 0 || s->notifyTarget != nullptr) {
        NotifyCommand(hwnd, code, Target(hwnd, s));
    }
}

int CompareNoCase(const std::string& a, const std::string& b)
{
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        const int ca = std::tolower(static_cast<unsigned char>(a[i]));
        const int cb = std::tolower(static_cast<unsigned char>(b[i]));
        if (ca != cb) {
            return ca < cb ? -1 : 1;
        }
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

bool StartsWithNoCase(const std::string& text, const std::string& prefix)
{
    return prefix.size() <= text.size() && CompareNoCase(text.substr(0, prefix.size()), prefix) == 0;
}

// Owner-drawn items without strings are ordered by the parent.
int CompareItems(HWND hwnd, const ListState* s, const Item& a, int indexA, const Item& b)
{
    if (HasStrings(hwnd)) {
        return CompareNoCase(a.text, b.text);
    }
    COMPAREITEMSTRUCT cis{};
    cis.CtlType = ODT_LISTBOX;
    cis.CtlID = static_cast<UINT>(GetDlgCtrlID(hwnd));
    cis.hwndItem = hwnd;
    cis.itemID1 = static_cast<UINT>(indexA);
    cis.itemData1 = a.data;
    cis.itemID2 = static_cast<UINT>(-1);
    cis.itemData2 = b.data;
    return static_cast<int>(SendMessageA(Target(hwnd, s), WM_COMPAREITEM, cis.CtlID, reinterpret_cast<LPARAM>(&cis)));
}

int ItemHeight(HWND hwnd, ListState* s)
{
    if (s->itemHeight <= 0) {
        s->itemHeight = MeasureFont(s->font).height;
        if (IsOwnerDraw(hwnd)) {
            MEASUREITEMSTRUCT mis{};
            mis.CtlType = ODT_LISTBOX;
            mis.CtlID = static_cast<UINT>(GetDlgCtrlID(hwnd));
            mis.itemHeight = static_cast<UINT>(s->itemHeight);
            SendMessageA(Target(hwnd, s), WM_MEASUREITEM, mis.CtlID, reinterpret_cast<LPARAM>(&mis));
            if (mis.itemHeight > 0) {
                s->itemHeight = static_cast<int>(mis.itemHeight);
            }
        }
    }
    return std::max(1, s->itemHeight);
}

int PageSize(HWND hwnd, ListState* s)
{
    RECT rc{};
    GetClientRect(hwnd, &rc);
    return std::max(1, Height(rc) / ItemHeight(hwnd, s));
}

RECT ItemRect(HWND hwnd, ListState* s, int index)
{
    RECT rc{};
    GetClientRect(hwnd, &rc);
    const int h = ItemHeight(hwnd, s);
    rc.top = (index - s->top) * h;
    rc.bottom = rc.top + h;
    return rc;
}

void UpdateScrollBar(HWND hwnd, ListState* s)
{
    if (!s->verticalBar) {
        return;
    }
    SCROLLINFO si{sizeof(si), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 0, 0, 0, 0};
    if ((StyleOf(hwnd) & LBS_DISABLENOSCROLL) != 0) {
        si.fMask |= SIF_DISABLENOSCROLL;
    }
    si.nMax = std::max(0, Count(s) - 1);
    si.nPage = static_cast<UINT>(PageSize(hwnd, s));
    si.nPos = s->top;
    SetScrollInfo(hwnd, SB_VERT, &si, TRUE);
}

void SetTop(HWND hwnd, ListState* s, int top)
{
    const int maxTop = std::max(0, Count(s) - PageSize(hwnd, s));
    top = std::clamp(top, 0, maxTop);
    if (top != s->top) {
        s->top = top;
        InvalidateRect(hwnd, nullptr, TRUE);
    }
    UpdateScrollBar(hwnd, s);
}

void ShowItem(HWND hwnd, ListState* s, int index)
{
    if (!ValidIndex(s, index)) {
        return;
    }
    const int page = PageSize(hwnd, s);
    if (index < s->top) {
        SetTop(hwnd, s, index);
    } else if (index >= s->top + page) {
        SetTop(hwnd, s, index - page + 1);
    }
}

UINT ItemState(HWND hwnd, const ListState* s, int index)
{
    UINT state = 0;
    const bool selected = IsMultiSelect(hwnd) ? s->items[static_cast<size_t>(index)].selected : index == s->current;
    if (selected) {
        state |= ODS_SELECTED;
    }
    if (s->focused && index == s->caret) {
        state |= ODS_FOCUS;
    }
    if (!IsWindowEnabled(hwnd)) {
        state |= ODS_DISABLED;
    }
    return state;
}

// Shows a change of one item: owner-drawn lists hear it as `action` at
// once, the others repaint the item.
void RedrawItem(HWND hwnd, ListState* s, int index, UINT action)
{
    if (!ValidIndex(s, index)) {
        return;
    }
    RECT rc = ItemRect(hwnd, s, index);
    if (IsOwnerDraw(hwnd) && IsWindowVisible(hwnd)) {
        RECT client{};
        GetClientRect(hwnd, &client);
        if (index >= s->top && rc.top < client.bottom) {
            HDC dc = GetDC(hwnd);
            SendDrawItem(hwnd, ODT_LISTBOX, static_cast<UINT>(index), action, ItemState(hwnd, s, index), dc, rc,
                         s->items[static_cast<size_t>(index)].data);
            ReleaseDC(hwnd, dc);
        }
        return;
    }
    InvalidateRect(hwnd, &rc, TRUE);
}

void SetCaret(HWND hwnd, ListState* s, int index)
{
    if (!ValidIndex(s, index) || index == s->caret) {
        if (ValidIndex(s, index)) {
            ShowItem(hwnd, s, index);
        }
        return;
    }
    const int old = s->caret;
    s->caret = index;
    if (s->focused) {
        RedrawItem(hwnd, s, old, ODA_FOCUS);
        RedrawItem(hwnd, s, index, ODA_FOCUS);
    }
    ShowItem(hwnd, s, index);
}

void SetSingle(HWND hwnd, ListState* s, int index)
{
    if (index == s->current) {
        return;
    }
    const int old = s->current;
    s->current = ValidIndex(s, index) ? index : -1;
    RedrawItem(hwnd, s, old, ODA_SELECT);
    RedrawItem(hwnd, s, s->current, ODA_SELECT);
}

// Selects items first..last (either order) to `selected`; answers whether
// anything changed.
bool SelectRange(HWND hwnd, ListState* s, int first, int last, bool selected)
{
    if (first > last) {
        std::swap(first, last);
    }
    first = std::max(first, 0);
    last = std::min(last, Count(s) - 1);
    bool changed = false;
    for (int i = first; i <= last; ++i) {
        Item& item = s->items[static_cast<size_t>(i)];
        if (item.selected != selected) {
            item.selected = selected;
            changed = true;
            RedrawItem(hwnd, s, i, ODA_SELECT);
        }
    }
    return changed;
}

void Paint(HWND hwnd, ListState* s, HDC dc)
{
    SavedDC saved(dc);
    RECT rc{};
    GetClientRect(hwnd, &rc);
    SelectObject(dc, DrawingFont(s->font));
    HBRUSH background = ControlColors(hwnd, dc, WM_CTLCOLORLISTBOX);
    const COLORREF textColor = IsWindowEnabled(hwnd) ? GetTextColor(dc) : GetSysColor(COLOR_GRAYTEXT);
    FillRect(dc, &rc, background);
    for (int i = s->top; i < Count(s); ++i) {
        const RECT itemRect = ItemRect(hwnd, s, i);
        if (itemRect.top >= rc.bottom) {
            break;
        }
        const UINT state = ItemState(hwnd, s, i);
        const Item& item = s->items[static_cast<size_t>(i)];
        if (IsOwnerDraw(hwnd)) {
            SendDrawItem(hwnd, ODT_LISTBOX, static_cast<UINT>(i), ODA_DRAWENTIRE, state, dc, itemRect, item.data);
            continue;
        }
        SetBkMode(dc, TRANSPARENT);
        if ((state & ODS_SELECTED) != 0) {
            FillRect(dc, &itemRect, GetSysColorBrush(COLOR_HIGHLIGHT));
            SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
        } else {
            SetTextColor(dc, textColor);
        }
        RECT textRect = itemRect;
        textRect.left += 2;
        DrawTextA(dc, item.text.data(), static_cast<int>(item.text.size()), &textRect,
                  DT_SINGLELINE | DT_NOPREFIX | DT_VCENTER | DT_EXPANDTABS);
        if ((state & ODS_FOCUS) != 0) {
            DrawFocusRect(dc, &itemRect);
        }
    }
}

int ItemFromPoint(HWND hwnd, ListState* s, POINT p)
{
    const int index = s->top + (p.y < 0 ? -1 : p.y / ItemHeight(hwnd, s));
    return std::clamp(index, 0, std::max(0, Count(s) - 1));
}

int InsertAt(HWND hwnd, ListState* s, intptr_t index, LPARAM lParam)
{
    Item item;
    if (HasStrings(hwnd)) {
        item.text = lParam != 0 ? reinterpret_cast<const char*>(lParam) : "";
    } else {
        item.data = static_cast<ULONG_PTR>(lParam);
    }
    if (index < 0) {
        index = Count(s);
    }
    if (index > Count(s)) {
        return static_cast<int>(LB_ERR);
    }
    s->items.insert(s->items.begin() + index, std::move(item));
    const int at = static_cast<int>(index);
    if (s->current >= at) {
        ++s->current;
    }
    if (s->caret >= at && Count(s) > 1) {
        ++s->caret;
    }
    if (s->anchor >= at && Count(s) > 1) {
        ++s->anchor;
    }
    UpdateScrollBar(hwnd, s);
    InvalidateRect(hwnd, nullptr, TRUE);
    return at;
}

int AddSorted(HWND hwnd, ListState* s, LPARAM lParam)
{
    if ((StyleOf(hwnd) & LBS_SORT) == 0) {
        return InsertAt(hwnd, s, -1, lParam);
    }
    Item probe;
    if (HasStrings(hwnd)) {
        probe.text = lParam != 0 ? reinterpret_cast<const char*>(lParam) : "";
    } else {
        probe.data = static_cast<ULONG_PTR>(lParam);
    }
    // After the items that sort equal, so equal texts keep their order.
    int index = 0;
    while (index < Count(s) && CompareItems(hwnd, s, s->items[static_cast<size_t>(index)], index, probe) <= 0) {
        ++index;
    }
    return InsertAt(hwnd, s, index, lParam);
}

void DeleteItemNotice(HWND hwnd, ListState* s, int index)
{
    if (!IsOwnerDraw(hwnd) && s->items[static_cast<size_t>(index)].data == 0) {
        return;
    }
    DELETEITEMSTRUCT dis{};
    dis.CtlType = ODT_LISTBOX;
    dis.CtlID = static_cast<UINT>(GetDlgCtrlID(hwnd));
    dis.itemID = static_cast<UINT>(index);
    dis.hwndItem = hwnd;
    dis.itemData = s->items[static_cast<size_t>(index)].data;
    SendMessageA(Target(hwnd, s), WM_DELETEITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis));
}

LRESULT Remove(HWND hwnd, ListState* s, intptr_t index)
{
    if (!ValidIndex(s, index)) {
        return LB_ERR;
    }
    const int at = static_cast<int>(index);
    DeleteItemNotice(hwnd, s, at);
    s->items.erase(s->items.begin() + at);
    if (s->current == at) {
        s->current = -1;
    } else if (s->current > at) {
        --s->current;
    }
    if (s->caret > at || s->caret >= Count(s)) {
        s->caret = std::max(0, s->caret - 1);
    }
    if (s->anchor > at || s->anchor >= Count(s)) {
        s->anchor = std::max(0, s->anchor - 1);
    }
    SetTop(hwnd, s, s->top);
    InvalidateRect(hwnd, nullptr, TRUE);
    return Count(s);
}

void Reset(HWND hwnd, ListState* s)
{
    for (int i = 0; i < Count(s); ++i) {
        DeleteItemNotice(hwnd, s, i);
    }
    s->items.clear();
    s->current = -1;
    s->caret = 0;
    s->anchor = 0;
    s->top = 0;
    UpdateScrollBar(hwnd, s);
    InvalidateRect(hwnd, nullptr, TRUE);
}

// Finds from after `start` round to it: a prefix match, or with `exact`
// the whole text (both ignoring case).
LRESULT Find(HWND hwnd, const ListState* s, intptr_t start, LPARAM lParam, bool exact)
{
    const int n = Count(s);
    if (n == 0) {
        return LB_ERR;
    }
    const int first = (start < 0 || start >= n) ? 0 : static_cast<int>(start) + 1;
    for (int k = 0; k < n; ++k) {
        const int i = (first + k) % n;
        const Item& item = s->items[static_cast<size_t>(i)];
        if (!HasStrings(hwnd)) {
            if (item.data == static_cast<ULONG_PTR>(lParam)) {
                return i;
            }
            continue;
        }
        const std::string wanted = lParam != 0 ? reinterpret_cast<const char*>(lParam) : "";
        if (exact ? CompareNoCase(item.text, wanted) == 0 : StartsWithNoCase(item.text, wanted)) {
            return i;
        }
    }
    return LB_ERR;
}

// A click or a key chose `index`: the selection follows the style and the
// Shift and Ctrl keys. Answers whether the selection changed.
bool Choose(HWND hwnd, ListState* s, int index, bool shift, bool control, bool toggle)
{
    if (!ValidIndex(s, index)) {
        return false;
    }
    bool changed = false;
    switch (SelectionKind(hwnd)) {
    case Selection::None: break;
    case Selection::Single:
        changed = index != s->current;
        SetSingle(hwnd, s, index);
        break;
    case Selection::Multiple:
        if (toggle) {
            changed = SelectRange(hwnd, s, index, index, !s->items[static_cast<size_t>(index)].selected);
        }
        break;
    case Selection::Extended:
        if (shift) {
            if (!control) {
                for (int i = 0; i < Count(s); ++i) {
                    const bool inRange = (i >= std::min(s->anchor, index) && i <= std::max(s->anchor, index));
                    if (!inRange) {
                        changed |= SelectRange(hwnd, s, i, i, false);
                    }
                }
            }
            changed |= SelectRange(hwnd, s, s->anchor, index, true);
        } else if (control) {
            if (toggle) {
                changed = SelectRange(hwnd, s, index, index, !s->items[static_cast<size_t>(index)].selected);
                s->anchor = index;
            }
        } else {
            changed |= SelectRange(hwnd, s, 0, Count(s) - 1, false);
            changed |= SelectRange(hwnd, s, index, index, true);
            s->anchor = index;
        }
        break;
    }
    SetCaret(hwnd, s, index);
    return changed;
}

LRESULT OnKeyDown(HWND hwnd, ListState* s, WPARAM key)
{
    if (Count(s) == 0) {
        return 0;
    }
    const int from = SelectionKind(hwnd) == Selection::Single && s->current >= 0 ? s->current : s->caret;
    const int page = PageSize(hwnd, s);
    int target = from;
    switch (key) {
    case VK_UP: target = from - 1; break;
    case VK_DOWN: target = from + 1; break;
    case VK_PRIOR: target = from - (page - 1); break;
    case VK_NEXT: target = from + (page - 1); break;
    case VK_HOME: target = 0; break;
    case VK_END: target = Count(s) - 1; break;
    case VK_SPACE: {
        const bool toggle = SelectionKind(hwnd) == Selection::Multiple ||
                            (SelectionKind(hwnd) == Selection::Extended && KeyDown(VK_CONTROL));
        if (toggle && Choose(hwnd, s, s->caret, false, true, true)) {
            Notify(hwnd, s, LBN_SELCHANGE);
        }
        return 0;
    }
    default: return 0;
    }
    target = std::clamp(target, 0, Count(s) - 1);
    const bool shift = KeyDown(VK_SHIFT);
    const bool control = KeyDown(VK_CONTROL);
    if (SelectionKind(hwnd) == Selection::Multiple || (SelectionKind(hwnd) == Selection::Extended && control && !shift)) {
        SetCaret(hwnd, s, target);
        return 0;
    }
    if (Choose(hwnd, s, target, shift, control, false)) {
        Notify(hwnd, s, LBN_SELCHANGE);
    }
    return 0;
}

LRESULT OnChar(HWND hwnd, ListState* s, WPARAM wParam)
{
    const auto ch = static_cast<char>(wParam & 0xFF);
    if (static_cast<unsigned char>(ch) < 0x20 || !HasStrings(hwnd)) {
        return 0;
    }
    const int from = SelectionKind(hwnd) == Selection::Single ? s->current : s->caret;
    const std::string prefix(1, ch);
    const LRESULT found = Find(hwnd, s, from, reinterpret_cast<LPARAM>(prefix.c_str()), false);
    if (found != LB_ERR && Choose(hwnd, s, static_cast<int>(found), false, false, false)) {
        Notify(hwnd, s, LBN_SELCHANGE);
    }
    return 0;
}

LRESULT OnListMessage(HWND hwnd, ListState* s, UINT msg, WPARAM wParam, LPARAM lParam)
{
    const auto index = static_cast<intptr_t>(static_cast<int32_t>(wParam));
    const bool multi = IsMultiSelect(hwnd);
    switch (msg) {
    case LB_ADDSTRING: return AddSorted(hwnd, s, lParam);
    case LB_INSERTSTRING: return InsertAt(hwnd, s, index, lParam);
    case LB_DELETESTRING: return Remove(hwnd, s, index);
    case LB_RESETCONTENT: Reset(hwnd, s); return 0;
    case LB_GETCOUNT: return Count(s);
    case LB_GETTEXT: {
        if (!ValidIndex(s, index) || lParam == 0) {
            return LB_ERR;
        }
        const Item& item = s->items[static_cast<size_t>(index)];
        if (!HasStrings(hwnd)) {
            std::memcpy(reinterpret_cast<void*>(lParam), &item.data, sizeof(item.data));
            return sizeof(item.data);
        }
        std::memcpy(reinterpret_cast<char*>(lParam), item.text.c_str(), item.text.size() + 1);
        return static_cast<LRESULT>(item.text.size());
    }
    case LB_GETTEXTLEN:
        if (!ValidIndex(s, index)) {
            return LB_ERR;
        }
        return HasStrings(hwnd) ? static_cast<LRESULT>(s->items[static_cast<size_t>(index)].text.size())
                                : static_cast<LRESULT>(sizeof(ULONG_PTR));
    case LB_GETITEMDATA: return ValidIndex(s, index) ? static_cast<LRESULT>(s->items[static_cast<size_t>(index)].data) : LB_ERR;
    case LB_SETITEMDATA:
        if (!ValidIndex(s, index)) {
            return LB_ERR;
        }
        s->items[static_cast<size_t>(index)].data = static_cast<ULONG_PTR>(lParam);
        return TRUE;
    case LB_FINDSTRING: return Find(hwnd, s, index, lParam, false);
    case LB_FINDSTRINGEXACT: return Find(hwnd, s, index, lParam, true);
    case LB_SELECTSTRING: {
        const LRESULT found = Find(hwnd, s, index, lParam, false);
        if (found == LB_ERR) {
            return LB_ERR;
        }
        if (multi) {
            SelectRange(hwnd, s, static_cast<int>(found), static_cast<int>(found), true);
            SetCaret(hwnd, s, static_cast<int>(found));
        } else {
            SetSingle(hwnd, s, static_cast<int>(found));
            SetCaret(hwnd, s, static_cast<int>(found));
        }
        return found;
    }
    case LB_SETCURSEL:
        if (multi) {
            return LB_ERR;
        }
        SetSingle(hwnd, s, static_cast<int>(index));
        if (!ValidIndex(s, index)) {
            return LB_ERR;
        }
        SetCaret(hwnd, s, static_cast<int>(index));
        return index;
    case LB_GETCURSEL:
        if (multi) {
            return Count(s) == 0 ? LB_ERR : s->caret;
        }
        return s->current >= 0 ? s->current : LB_ERR;
    case LB_SETSEL: {
        if (!multi) {
            return LB_ERR;
        }
        const auto item = static_cast<intptr_t>(static_cast<int32_t>(lParam));
        if (item == -1) {
            SelectRange(hwnd, s, 0, Count(s) - 1, wParam != 0);
            return 0;
        }
        if (!ValidIndex(s, item)) {
            return LB_ERR;
        }
        SelectRange(hwnd, s, static_cast<int>(item), static_cast<int>(item), wParam != 0);
        return 0;
    }
    case LB_GETSEL:
        if (!ValidIndex(s, index)) {
            return LB_ERR;
        }
        return (ItemState(hwnd, s, static_cast<int>(index)) & ODS_SELECTED) != 0 ? 1 : 0;
    case LB_GETSELCOUNT: {
        if (!multi) {
            return LB_ERR;
        }
        int count = 0;
        for (const Item& item : s->items) {
            count += item.selected ? 1 : 0;
        }
        return count;
    }
    case LB_GETSELITEMS: {
        if (!multi) {
            return LB_ERR;
        }
        auto* out = reinterpret_cast<INT*>(lParam);
        int n = 0;
        for (int i = 0; i < Count(s) && n < static_cast<int>(wParam) && out != nullptr; ++i) {
            if (s->items[static_cast<size_t>(i)].selected) {
                out[n++] = i;
            }
        }
        return n;
    }
    case LB_SELITEMRANGEEX: {
        if (!multi) {
            return LB_ERR;
        }
        const auto first = static_cast<int>(static_cast<int32_t>(wParam));
        const auto last = static_cast<int>(static_cast<int32_t>(lParam));
        if (first <= last) {
            SelectRange(hwnd, s, first, last, true);
        } else {
            SelectRange(hwnd, s, last, first, false);
        }
        return 0;
    }
    case LB_SELITEMRANGE:
        if (!multi) {
            return LB_ERR;
        }
        SelectRange(hwnd, s, LOWORD(lParam), HIWORD(lParam), wParam != 0);
        return 0;
    case LB_GETANCHORINDEX: return s->anchor;
    case LB_SETANCHORINDEX:
        if (!ValidIndex(s, index)) {
            return LB_ERR;
        }
        s->anchor = static_cast<int>(index);
        return 0;
    case LB_GETCARETINDEX: return s->caret;
    case LB_SETCARETINDEX:
        if (!ValidIndex(s, index)) {
            return LB_ERR;
        }
        SetCaret(hwnd, s, static_cast<int>(index));
        return 0;
    case LB_GETTOPINDEX: return s->top;
    case LB_SETTOPINDEX:
        if (!ValidIndex(s, index) && !(index == 0 && Count(s) == 0)) {
            return LB_ERR;
        }
        SetTop(hwnd, s, static_cast<int>(index));
        return 0;
    case LB_SETCOLUMNWIDTH: s->columnWidth = static_cast<int>(wParam); return 0;
    case LB_GETITEMHEIGHT: return ItemHeight(hwnd, s);
    case LB_SETITEMHEIGHT:
        if (LOWORD(lParam) == 0 || LOWORD(lParam) > 255) {
            return LB_ERR;
        }
        s->itemHeight = LOWORD(lParam);
        UpdateScrollBar(hwnd, s);
        InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    case LB_GETITEMRECT:
        if (!ValidIndex(s, index) || lParam == 0) {
            return LB_ERR;
        }
        *reinterpret_cast<RECT*>(lParam) = ItemRect(hwnd, s, static_cast<int>(index));
        return 1;
    case LB_ITEMFROMPOINT: {
        const POINT p = PointFromLParam(lParam);
        RECT rc{};
        GetClientRect(hwnd, &rc);
        if (Count(s) == 0) {
            return MAKELRESULT(0, 1);
        }
        const int raw = s->top + (p.y < 0 ? -1 : p.y / ItemHeight(hwnd, s));
        const bool outside = !PtInRect(&rc, p) || raw < 0 || raw >= Count(s);
        return MAKELRESULT(static_cast<WORD>(std::clamp(raw, 0, Count(s) - 1)), outside ? 1 : 0);
    }
    default: return 0;
    }
}

LRESULT HandleListBox(HWND hwnd, ListState& state, UINT msg, WPARAM wParam, LPARAM lParam)
{
    ListState* s = &state;
    if (msg == WM_NCCREATE) {
        const auto* cs = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        s->verticalBar = cs != nullptr && (static_cast<DWORD>(cs->style) & WS_VSCROLL) != 0;
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
    if (msg >= LB_ADDSTRING && msg <= LB_ITEMFROMPOINT) {
        return OnListMessage(hwnd, s, msg, wParam, lParam);
    }
    switch (msg) {
    case WM_NCDESTROY:
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    case WM_CREATE: UpdateScrollBar(hwnd, s); return 0;
    case WM_DESTROY: Reset(hwnd, s); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT:
    case WM_PRINTCLIENT:
        return PaintWith(hwnd, wParam, [&](HDC dc) { Paint(hwnd, s, dc); });
    case WM_SIZE: SetTop(hwnd, s, s->top); return 0;
    case WM_SETFONT:
        s->font = reinterpret_cast<HFONT>(wParam);
        if (!IsOwnerDraw(hwnd)) {
            s->itemHeight = 0;
        }
        UpdateScrollBar(hwnd, s);
        if (LOWORD(lParam) != 0) {
            InvalidateRect(hwnd, nullptr, TRUE);
        }
        return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(s->font);
    case WM_ENABLE: InvalidateRect(hwnd, nullptr, TRUE); return 0;
    case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_SETFOCUS:
        s->focused = true;
        RedrawItem(hwnd, s, s->caret, ODA_FOCUS);
        Notify(hwnd, s, LBN_SETFOCUS);
        return 0;
    case WM_KILLFOCUS:
        s->focused = false;
        RedrawItem(hwnd, s, s->caret, ODA_FOCUS);
        Notify(hwnd, s, LBN_KILLFOCUS);
        return 0;
    case WM_LBUTTONDOWN: {
        if (s->notifyTarget != nullptr) {
            // A dropped-down list holds the mouse: a click outside it ends
            // the drop without a choice.
            RECT rc{};
            GetClientRect(hwnd, &rc);
            if (!PtInRect(&rc, PointFromLParam(lParam))) {
                SendMessageA(s->notifyTarget, kComboListChosen, 0, reinterpret_cast<LPARAM>(hwnd));
                return 0;
            }
        }
        if (GetFocus() != hwnd && s->notifyTarget == nullptr) {
            SetFocus(hwnd);
        }
        if (Count(s) == 0) {
            return 0;
        }
        const int index = ItemFromPoint(hwnd, s, PointFromLParam(lParam));
        const bool shift = (wParam & MK_SHIFT) != 0;
        const bool control = (wParam & MK_CONTROL) != 0;
        const bool toggle = SelectionKind(hwnd) == Selection::Multiple || control;
        s->tracking = true;
        SetCapture(hwnd);
        if (Choose(hwnd, s, index, shift, control, toggle)) {
            Notify(hwnd, s, LBN_SELCHANGE);
        }
        return 0;
    }
    case WM_MOUSEMOVE:
        if (s->tracking && GetCapture() == hwnd && Count(s) > 0) {
            const int index = ItemFromPoint(hwnd, s, PointFromLParam(lParam));
            const Selection kind = SelectionKind(hwnd);
            if (kind == Selection::Single || kind == Selection::Extended) {
                if (index != s->caret && Choose(hwnd, s, index, kind == Selection::Extended, false, false)) {
                    Notify(hwnd, s, LBN_SELCHANGE);
                }
            }
        }
        return 0;
    case WM_LBUTTONUP:
        if (s->tracking) {
            s->tracking = false;
            if (GetCapture() == hwnd) {
                ReleaseCapture();
            }
            if (s->notifyTarget != nullptr) {
                // A dropped-down list: the click ends the choice.
                SendMessageA(s->notifyTarget, kComboListChosen, 0, reinterpret_cast<LPARAM>(hwnd));
            }
        }
        return 0;
    case WM_CAPTURECHANGED: s->tracking = false; return 0;
    case WM_LBUTTONDBLCLK:
        if (Count(s) > 0) {
            Notify(hwnd, s, LBN_DBLCLK);
        }
        return 0;
    case WM_KEYDOWN: return OnKeyDown(hwnd, s, wParam);
    case WM_CHAR: return OnChar(hwnd, s, wParam);
    case WM_VSCROLL: {
        const int page = PageSize(hwnd, s);
        switch (LOWORD(wParam)) {
        case SB_LINEUP: SetTop(hwnd, s, s->top - 1); break;
        case SB_LINEDOWN: SetTop(hwnd, s, s->top + 1); break;
        case SB_PAGEUP: SetTop(hwnd, s, s->top - page); break;
        case SB_PAGEDOWN: SetTop(hwnd, s, s->top + page); break;
        case SB_TOP: SetTop(hwnd, s, 0); break;
        case SB_BOTTOM: SetTop(hwnd, s, Count(s)); break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: SetTop(hwnd, s, static_cast<SHORT>(HIWORD(wParam))); break;
        default: break;
        }
        return 0;
    }
    case WM_MOUSEWHEEL: SetTop(hwnd, s, s->top - 3 * GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA); return 0;
    case kListSetNotifyTarget: s->notifyTarget = reinterpret_cast<HWND>(lParam); return 0;
    default: break;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

} // namespace

void RegisterListBoxClasses()
{
    RegisterControlClass("ListBox", StatefulProc<ListState, HandleListBox>, CS_DBLCLKS, nullptr);
    RegisterControlClass(WC_COMBOLBOXA, StatefulProc<ListState, HandleListBox>, CS_DBLCLKS | CS_SAVEBITS, nullptr);
}

} // namespace nuvex::controls
