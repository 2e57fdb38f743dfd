// The "ListBox" class (and "ComboLBox", the list a combo box drops down):
// items with text and data, sorted insertion, single, multiple and extended
// selection by mouse and keyboard, owner-drawn fixed items, scrolling.
//
// This file holds the model: items, their geometry and scrolling, finding,
// and the selection. The messages are a table in listbox_messages.cpp, the
// keys and the mouse are in listbox_input.cpp and the painting in
// listbox_paint.cpp.
#include <cctype>

#include "platform/controls/listbox_model.h"

namespace nuvex::controls::listbox {
namespace {

HWND Target(HWND hwnd, const ListState& s) { return s.notifyTarget != nullptr ? s.notifyTarget : NotifyTarget(hwnd); }

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
int CompareItems(HWND hwnd, const ListState& s, const Item& a, int indexA, const Item& b)
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

void ShowItem(HWND hwnd, ListState& s, int index)
{
    if (!ValidIndex(s, index)) {
        return;
    }
    const int page = PageSize(hwnd, s);
    if (index < s.top) {
        SetTop(hwnd, s, index);
    } else if (index >= s.top + page) {
        SetTop(hwnd, s, index - page + 1);
    }
}

void DeleteItemNotice(HWND hwnd, ListState& s, int index)
{
    if (!IsOwnerDraw(hwnd) && s.items[static_cast<size_t>(index)].data == 0) {
        return;
    }
    DELETEITEMSTRUCT dis{};
    dis.CtlType = ODT_LISTBOX;
    dis.CtlID = static_cast<UINT>(GetDlgCtrlID(hwnd));
    dis.itemID = static_cast<UINT>(index);
    dis.hwndItem = hwnd;
    dis.itemData = s.items[static_cast<size_t>(index)].data;
    SendMessageA(Target(hwnd, s), WM_DELETEITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis));
}

} // namespace

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

void Notify(HWND hwnd, const ListState& s, WORD code)
{
    if ((StyleOf(hwnd) & LBS_NOTIFY) != 0 || s.notifyTarget != nullptr) {
        NotifyCommand(hwnd, code, Target(hwnd, s));
    }
}

int ItemHeight(HWND hwnd, ListState& s)
{
    if (s.itemHeight <= 0) {
        s.itemHeight = MeasureFont(s.font).height;
        if (IsOwnerDraw(hwnd)) {
            MEASUREITEMSTRUCT mis{};
            mis.CtlType = ODT_LISTBOX;
            mis.CtlID = static_cast<UINT>(GetDlgCtrlID(hwnd));
            mis.itemHeight = static_cast<UINT>(s.itemHeight);
            SendMessageA(Target(hwnd, s), WM_MEASUREITEM, mis.CtlID, reinterpret_cast<LPARAM>(&mis));
            if (mis.itemHeight > 0) {
                s.itemHeight = static_cast<int>(mis.itemHeight);
            }
        }
    }
    return std::max(1, s.itemHeight);
}

int PageSize(HWND hwnd, ListState& s)
{
    RECT rc{};
    GetClientRect(hwnd, &rc);
    return std::max(1, Height(rc) / ItemHeight(hwnd, s));
}

RECT ItemRect(HWND hwnd, ListState& s, int index)
{
    RECT rc{};
    GetClientRect(hwnd, &rc);
    const int h = ItemHeight(hwnd, s);
    rc.top = (index - s.top) * h;
    rc.bottom = rc.top + h;
    return rc;
}

int ItemFromPoint(HWND hwnd, ListState& s, POINT p)
{
    const int index = s.top + (p.y < 0 ? -1 : p.y / ItemHeight(hwnd, s));
    return std::clamp(index, 0, std::max(0, Count(s) - 1));
}

void UpdateScrollBar(HWND hwnd, ListState& s)
{
    if (!s.verticalBar) {
        return;
    }
    SCROLLINFO si{sizeof(si), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 0, 0, 0, 0};
    if ((StyleOf(hwnd) & LBS_DISABLENOSCROLL) != 0) {
        si.fMask |= SIF_DISABLENOSCROLL;
    }
    si.nMax = std::max(0, Count(s) - 1);
    si.nPage = static_cast<UINT>(PageSize(hwnd, s));
    si.nPos = s.top;
    SetScrollInfo(hwnd, SB_VERT, &si, TRUE);
}

void SetTop(HWND hwnd, ListState& s, int top)
{
    const int maxTop = std::max(0, Count(s) - PageSize(hwnd, s));
    top = std::clamp(top, 0, maxTop);
    if (top != s.top) {
        s.top = top;
        InvalidateRect(hwnd, nullptr, TRUE);
    }
    UpdateScrollBar(hwnd, s);
}

int InsertAt(HWND hwnd, ListState& s, intptr_t index, LPARAM lParam)
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
    s.items.insert(s.items.begin() + index, std::move(item));
    const int at = static_cast<int>(index);
    if (s.current >= at) {
        ++s.current;
    }
    if (s.caret >= at && Count(s) > 1) {
        ++s.caret;
    }
    if (s.anchor >= at && Count(s) > 1) {
        ++s.anchor;
    }
    UpdateScrollBar(hwnd, s);
    InvalidateRect(hwnd, nullptr, TRUE);
    return at;
}

int AddSorted(HWND hwnd, ListState& s, LPARAM lParam)
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
    while (index < Count(s) && CompareItems(hwnd, s, s.items[static_cast<size_t>(index)], index, probe) <= 0) {
        ++index;
    }
    return InsertAt(hwnd, s, index, lParam);
}

LRESULT Remove(HWND hwnd, ListState& s, intptr_t index)
{
    if (!ValidIndex(s, index)) {
        return LB_ERR;
    }
    const int at = static_cast<int>(index);
    DeleteItemNotice(hwnd, s, at);
    s.items.erase(s.items.begin() + at);
    if (s.current == at) {
        s.current = -1;
    } else if (s.current > at) {
        --s.current;
    }
    if (s.caret > at || s.caret >= Count(s)) {
        s.caret = std::max(0, s.caret - 1);
    }
    if (s.anchor > at || s.anchor >= Count(s)) {
        s.anchor = std::max(0, s.anchor - 1);
    }
    SetTop(hwnd, s, s.top);
    InvalidateRect(hwnd, nullptr, TRUE);
    return Count(s);
}

void Reset(HWND hwnd, ListState& s)
{
    for (int i = 0; i < Count(s); ++i) {
        DeleteItemNotice(hwnd, s, i);
    }
    s.items.clear();
    s.current = -1;
    s.caret = 0;
    s.anchor = 0;
    s.top = 0;
    UpdateScrollBar(hwnd, s);
    InvalidateRect(hwnd, nullptr, TRUE);
}

LRESULT Find(HWND hwnd, const ListState& s, intptr_t start, LPARAM lParam, bool exact)
{
    const int n = Count(s);
    if (n == 0) {
        return LB_ERR;
    }
    const int first = (start < 0 || start >= n) ? 0 : static_cast<int>(start) + 1;
    for (int k = 0; k < n; ++k) {
        const int i = (first + k) % n;
        const Item& item = s.items[static_cast<size_t>(i)];
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

UINT ItemState(HWND hwnd, const ListState& s, int index)
{
    UINT state = 0;
    const bool selected = IsMultiSelect(hwnd) ? s.items[static_cast<size_t>(index)].selected : index == s.current;
    if (selected) {
        state |= ODS_SELECTED;
    }
    if (s.focused && index == s.caret) {
        state |= ODS_FOCUS;
    }
    if (!IsWindowEnabled(hwnd)) {
        state |= ODS_DISABLED;
    }
    return state;
}

void RedrawItem(HWND hwnd, ListState& s, int index, UINT action)
{
    if (!ValidIndex(s, index)) {
        return;
    }
    RECT rc = ItemRect(hwnd, s, index);
    if (IsOwnerDraw(hwnd) && IsWindowVisible(hwnd)) {
        RECT client{};
        GetClientRect(hwnd, &client);
        if (index >= s.top && rc.top < client.bottom) {
            HDC dc = GetDC(hwnd);
            SendDrawItem(hwnd, ODT_LISTBOX, static_cast<UINT>(index), action, ItemState(hwnd, s, index), dc, rc,
                         s.items[static_cast<size_t>(index)].data);
            ReleaseDC(hwnd, dc);
        }
        return;
    }
    InvalidateRect(hwnd, &rc, TRUE);
}

void SetCaret(HWND hwnd, ListState& s, int index)
{
    if (!ValidIndex(s, index) || index == s.caret) {
        if (ValidIndex(s, index)) {
            ShowItem(hwnd, s, index);
        }
        return;
    }
    const int old = s.caret;
    s.caret = index;
    if (s.focused) {
        RedrawItem(hwnd, s, old, ODA_FOCUS);
        RedrawItem(hwnd, s, index, ODA_FOCUS);
    }
    ShowItem(hwnd, s, index);
}

void SetSingle(HWND hwnd, ListState& s, int index)
{
    if (index == s.current) {
        return;
    }
    const int old = s.current;
    s.current = ValidIndex(s, index) ? index : -1;
    RedrawItem(hwnd, s, old, ODA_SELECT);
    RedrawItem(hwnd, s, s.current, ODA_SELECT);
}

bool SelectRange(HWND hwnd, ListState& s, int first, int last, Mark mark)
{
    const bool selected = mark == Mark::Selected;
    if (first > last) {
        std::swap(first, last);
    }
    first = std::max(first, 0);
    last = std::min(last, Count(s) - 1);
    bool changed = false;
    for (int i = first; i <= last; ++i) {
        Item& item = s.items[static_cast<size_t>(i)];
        if (item.selected != selected) {
            item.selected = selected;
            changed = true;
            RedrawItem(hwnd, s, i, ODA_SELECT);
        }
    }
    return changed;
}

bool Choose(HWND hwnd, ListState& s, int index, ChoiceKeys keys)
{
    const auto [shift, control, toggle] = keys;
    if (!ValidIndex(s, index)) {
        return false;
    }
    bool changed = false;
    switch (SelectionKind(hwnd)) {
    case Selection::None: break;
    case Selection::Single:
        changed = index != s.current;
        SetSingle(hwnd, s, index);
        break;
    case Selection::Multiple:
        if (toggle) {
            changed = SelectRange(hwnd, s, index, index, MarkOf(!s.items[static_cast<size_t>(index)].selected));
        }
        break;
    case Selection::Extended:
        if (shift) {
            if (!control) {
                for (int i = 0; i < Count(s); ++i) {
                    const bool inRange = (i >= std::min(s.anchor, index) && i <= std::max(s.anchor, index));
                    if (!inRange) {
                        changed |= SelectRange(hwnd, s, i, i, Mark::Unselected);
                    }
                }
            }
            changed |= SelectRange(hwnd, s, s.anchor, index, Mark::Selected);
        } else if (control) {
            if (toggle) {
                changed = SelectRange(hwnd, s, index, index, MarkOf(!s.items[static_cast<size_t>(index)].selected));
                s.anchor = index;
            }
        } else {
            changed |= SelectRange(hwnd, s, 0, Count(s) - 1, Mark::Unselected);
            changed |= SelectRange(hwnd, s, index, index, Mark::Selected);
            s.anchor = index;
        }
        break;
    }
    SetCaret(hwnd, s, index);
    return changed;
}

} // namespace nuvex::controls::listbox
