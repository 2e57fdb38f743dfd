// The list box's messages: one handler per LB_* and window message, looked
// up in a table by the class procedure, and the registration of "ListBox"
// and "ComboLBox".
#include <cstring>

#include "platform/controls/listbox_internal.h"
#include "platform/controls/listbox_model.h"

namespace nuvex::controls::listbox {
namespace {

using Row = MessageRow<ListState>;

// wParam as an item index.
intptr_t IndexArgument(const Message& m) { return static_cast<intptr_t>(static_cast<int32_t>(m.wParam)); }

// Items ------------------------------------------------------------------------

LRESULT OnGetText(HWND hwnd, ListState& s, const Message& m)
{
    const intptr_t index = IndexArgument(m);
    if (!ValidIndex(s, index) || m.lParam == 0) {
        return LB_ERR;
    }
    const Item& item = s.items[static_cast<size_t>(index)];
    if (!HasStrings(hwnd)) {
        std::memcpy(reinterpret_cast<void*>(m.lParam), &item.data, sizeof(item.data));
        return sizeof(item.data);
    }
    std::memcpy(reinterpret_cast<char*>(m.lParam), item.text.c_str(), item.text.size() + 1);
    return static_cast<LRESULT>(item.text.size());
}

LRESULT OnGetTextLength(HWND hwnd, ListState& s, const Message& m)
{
    const intptr_t index = IndexArgument(m);
    if (!ValidIndex(s, index)) {
        return LB_ERR;
    }
    return HasStrings(hwnd) ? static_cast<LRESULT>(s.items[static_cast<size_t>(index)].text.size())
                            : static_cast<LRESULT>(sizeof(ULONG_PTR));
}

LRESULT OnGetItemData(HWND, ListState& s, const Message& m)
{
    const intptr_t index = IndexArgument(m);
    return ValidIndex(s, index) ? static_cast<LRESULT>(s.items[static_cast<size_t>(index)].data) : LB_ERR;
}

LRESULT OnSetItemData(HWND, ListState& s, const Message& m)
{
    const intptr_t index = IndexArgument(m);
    if (!ValidIndex(s, index)) {
        return LB_ERR;
    }
    s.items[static_cast<size_t>(index)].data = static_cast<ULONG_PTR>(m.lParam);
    return TRUE;
}

// Selection --------------------------------------------------------------------

LRESULT OnSelectString(HWND hwnd, ListState& s, const Message& m)
{
    const LRESULT found = Find(hwnd, s, IndexArgument(m), m.lParam, false);
    if (found == LB_ERR) {
        return LB_ERR;
    }
    if (IsMultiSelect(hwnd)) {
        SelectRange(hwnd, s, static_cast<int>(found), static_cast<int>(found), Mark::Selected);
        SetCaret(hwnd, s, static_cast<int>(found));
    } else {
        SetSingle(hwnd, s, static_cast<int>(found));
        SetCaret(hwnd, s, static_cast<int>(found));
    }
    return found;
}

LRESULT OnSetCurrentSelection(HWND hwnd, ListState& s, const Message& m)
{
    const intptr_t index = IndexArgument(m);
    if (IsMultiSelect(hwnd)) {
        return LB_ERR;
    }
    SetSingle(hwnd, s, static_cast<int>(index));
    if (!ValidIndex(s, index)) {
        return LB_ERR;
    }
    SetCaret(hwnd, s, static_cast<int>(index));
    return index;
}

LRESULT OnGetCurrentSelection(HWND hwnd, ListState& s, const Message&)
{
    if (IsMultiSelect(hwnd)) {
        return Count(s) == 0 ? LB_ERR : s.caret;
    }
    return s.current >= 0 ? s.current : LB_ERR;
}

LRESULT OnSetSelected(HWND hwnd, ListState& s, const Message& m)
{
    if (!IsMultiSelect(hwnd)) {
        return LB_ERR;
    }
    const auto item = static_cast<intptr_t>(static_cast<int32_t>(m.lParam));
    if (item == -1) {
        SelectRange(hwnd, s, 0, Count(s) - 1, MarkOf(m.wParam != 0));
        return 0;
    }
    if (!ValidIndex(s, item)) {
        return LB_ERR;
    }
    SelectRange(hwnd, s, static_cast<int>(item), static_cast<int>(item), MarkOf(m.wParam != 0));
    return 0;
}

LRESULT OnGetSelected(HWND hwnd, ListState& s, const Message& m)
{
    const intptr_t index = IndexArgument(m);
    if (!ValidIndex(s, index)) {
        return LB_ERR;
    }
    return (ItemState(hwnd, s, static_cast<int>(index)) & ODS_SELECTED) != 0 ? 1 : 0;
}

LRESULT OnGetSelectedCount(HWND hwnd, ListState& s, const Message&)
{
    if (!IsMultiSelect(hwnd)) {
        return LB_ERR;
    }
    int count = 0;
    for (const Item& item : s.items) {
        count += item.selected ? 1 : 0;
    }
    return count;
}

LRESULT OnGetSelectedItems(HWND hwnd, ListState& s, const Message& m)
{
    if (!IsMultiSelect(hwnd)) {
        return LB_ERR;
    }
    auto* out = reinterpret_cast<INT*>(m.lParam);
    int n = 0;
    for (int i = 0; i < Count(s) && n < static_cast<int>(m.wParam) && out != nullptr; ++i) {
        if (s.items[static_cast<size_t>(i)].selected) {
            out[n++] = i;
        }
    }
    return n;
}

LRESULT OnSelectItemRangeEx(HWND hwnd, ListState& s, const Message& m)
{
    if (!IsMultiSelect(hwnd)) {
        return LB_ERR;
    }
    const auto first = static_cast<int>(static_cast<int32_t>(m.wParam));
    const auto last = static_cast<int>(static_cast<int32_t>(m.lParam));
    if (first <= last) {
        SelectRange(hwnd, s, first, last, Mark::Selected);
    } else {
        SelectRange(hwnd, s, last, first, Mark::Unselected);
    }
    return 0;
}

LRESULT OnSelectItemRange(HWND hwnd, ListState& s, const Message& m)
{
    if (!IsMultiSelect(hwnd)) {
        return LB_ERR;
    }
    SelectRange(hwnd, s, LOWORD(m.lParam), HIWORD(m.lParam), MarkOf(m.wParam != 0));
    return 0;
}

LRESULT OnSetAnchorIndex(HWND, ListState& s, const Message& m)
{
    const intptr_t index = IndexArgument(m);
    if (!ValidIndex(s, index)) {
        return LB_ERR;
    }
    s.anchor = static_cast<int>(index);
    return 0;
}

LRESULT OnSetCaretIndex(HWND hwnd, ListState& s, const Message& m)
{
    const intptr_t index = IndexArgument(m);
    if (!ValidIndex(s, index)) {
        return LB_ERR;
    }
    SetCaret(hwnd, s, static_cast<int>(index));
    return 0;
}

// Scrolling and geometry ---------------------------------------------------------

LRESULT OnSetTopIndex(HWND hwnd, ListState& s, const Message& m)
{
    const intptr_t index = IndexArgument(m);
    if (!ValidIndex(s, index) && !(index == 0 && Count(s) == 0)) {
        return LB_ERR;
    }
    SetTop(hwnd, s, static_cast<int>(index));
    return 0;
}

LRESULT OnSetItemHeight(HWND hwnd, ListState& s, const Message& m)
{
    if (LOWORD(m.lParam) == 0 || LOWORD(m.lParam) > 255) {
        return LB_ERR;
    }
    s.itemHeight = LOWORD(m.lParam);
    UpdateScrollBar(hwnd, s);
    InvalidateRect(hwnd, nullptr, TRUE);
    return 0;
}

LRESULT OnGetItemRect(HWND hwnd, ListState& s, const Message& m)
{
    const intptr_t index = IndexArgument(m);
    if (!ValidIndex(s, index) || m.lParam == 0) {
        return LB_ERR;
    }
    *reinterpret_cast<RECT*>(m.lParam) = ItemRect(hwnd, s, static_cast<int>(index));
    return 1;
}

// The nearest item in the low word, and in the high word whether the point
// lies outside the client area or the items.
LRESULT OnItemFromPoint(HWND hwnd, ListState& s, const Message& m)
{
    const POINT p = PointFromLParam(m.lParam);
    RECT rc{};
    GetClientRect(hwnd, &rc);
    if (Count(s) == 0) {
        return MAKELRESULT(0, 1);
    }
    const int raw = s.top + (p.y < 0 ? -1 : p.y / ItemHeight(hwnd, s));
    const bool outside = !PtInRect(&rc, p) || raw < 0 || raw >= Count(s);
    return MAKELRESULT(static_cast<WORD>(std::clamp(raw, 0, Count(s) - 1)), outside ? 1 : 0);
}

// Window messages ----------------------------------------------------------------

LRESULT OnNcCreate(HWND hwnd, ListState& s, const Message& m)
{
    const auto* cs = reinterpret_cast<const CREATESTRUCTA*>(m.lParam);
    s.verticalBar = cs != nullptr && (static_cast<DWORD>(cs->style) & WS_VSCROLL) != 0;
    return DefWindowProcA(hwnd, m.id, m.wParam, m.lParam);
}

LRESULT OnPaint(HWND hwnd, ListState& s, const Message& m)
{
    return PaintWith(hwnd, m.wParam, [&](HDC dc) { Paint(hwnd, s, dc); });
}

LRESULT OnSetFont(HWND hwnd, ListState& s, const Message& m)
{
    s.font = reinterpret_cast<HFONT>(m.wParam);
    if (!IsOwnerDraw(hwnd)) {
        s.itemHeight = 0;
    }
    UpdateScrollBar(hwnd, s);
    if (LOWORD(m.lParam) != 0) {
        InvalidateRect(hwnd, nullptr, TRUE);
    }
    return 0;
}

// WM_SETFOCUS and WM_KILLFOCUS.
LRESULT OnFocus(HWND hwnd, ListState& s, const Message& m)
{
    s.focused = m.id == WM_SETFOCUS;
    RedrawItem(hwnd, s, s.caret, ODA_FOCUS);
    Notify(hwnd, s, s.focused ? LBN_SETFOCUS : LBN_KILLFOCUS);
    return 0;
}

constexpr Row kMessages[] = {
    // Items.
    {LB_ADDSTRING, [](HWND hwnd, ListState& s, const Message& m) -> LRESULT { return AddSorted(hwnd, s, m.lParam); }},
    {LB_INSERTSTRING, [](HWND hwnd, ListState& s, const Message& m) -> LRESULT {
         return InsertAt(hwnd, s, IndexArgument(m), m.lParam);
     }},
    {LB_DELETESTRING, [](HWND hwnd, ListState& s, const Message& m) -> LRESULT { return Remove(hwnd, s, IndexArgument(m)); }},
    {LB_RESETCONTENT, [](HWND hwnd, ListState& s, const Message&) -> LRESULT {
         Reset(hwnd, s);
         return 0;
     }},
    {LB_GETCOUNT, [](HWND, ListState& s, const Message&) -> LRESULT { return Count(s); }},
    {LB_GETTEXT, OnGetText},
    {LB_GETTEXTLEN, OnGetTextLength},
    {LB_GETITEMDATA, OnGetItemData},
    {LB_SETITEMDATA, OnSetItemData},
    {LB_FINDSTRING, [](HWND hwnd, ListState& s, const Message& m) -> LRESULT {
         return Find(hwnd, s, IndexArgument(m), m.lParam, false);
     }},
    {LB_FINDSTRINGEXACT, [](HWND hwnd, ListState& s, const Message& m) -> LRESULT {
         return Find(hwnd, s, IndexArgument(m), m.lParam, true);
     }},
    // Selection.
    {LB_SELECTSTRING, OnSelectString},
    {LB_SETCURSEL, OnSetCurrentSelection},
    {LB_GETCURSEL, OnGetCurrentSelection},
    {LB_SETSEL, OnSetSelected},
    {LB_GETSEL, OnGetSelected},
    {LB_GETSELCOUNT, OnGetSelectedCount},
    {LB_GETSELITEMS, OnGetSelectedItems},
    {LB_SELITEMRANGEEX, OnSelectItemRangeEx},
    {LB_SELITEMRANGE, OnSelectItemRange},
    {LB_GETANCHORINDEX, [](HWND, ListState& s, const Message&) -> LRESULT { return s.anchor; }},
    {LB_SETANCHORINDEX, OnSetAnchorIndex},
    {LB_GETCARETINDEX, [](HWND, ListState& s, const Message&) -> LRESULT { return s.caret; }},
    {LB_SETCARETINDEX, OnSetCaretIndex},
    // Scrolling and geometry.
    {LB_GETTOPINDEX, [](HWND, ListState& s, const Message&) -> LRESULT { return s.top; }},
    {LB_SETTOPINDEX, OnSetTopIndex},
    {LB_SETCOLUMNWIDTH, [](HWND, ListState& s, const Message& m) -> LRESULT {
         s.columnWidth = static_cast<int>(m.wParam);
         return 0;
     }},
    {LB_GETITEMHEIGHT, [](HWND hwnd, ListState& s, const Message&) -> LRESULT { return ItemHeight(hwnd, s); }},
    {LB_SETITEMHEIGHT, OnSetItemHeight},
    {LB_GETITEMRECT, OnGetItemRect},
    {LB_ITEMFROMPOINT, OnItemFromPoint},
    // Window messages.
    {WM_NCCREATE, OnNcCreate},
    {WM_CREATE, [](HWND hwnd, ListState& s, const Message&) -> LRESULT {
         UpdateScrollBar(hwnd, s);
         return 0;
     }},
    {WM_DESTROY, [](HWND hwnd, ListState& s, const Message&) -> LRESULT {
         Reset(hwnd, s);
         return 0;
     }},
    {WM_ERASEBKGND, [](HWND, ListState&, const Message&) -> LRESULT { return 1; }},
    {WM_PAINT, OnPaint},
    {WM_PRINTCLIENT, OnPaint},
    {WM_SIZE, [](HWND hwnd, ListState& s, const Message&) -> LRESULT {
         SetTop(hwnd, s, s.top);
         return 0;
     }},
    {WM_SETFONT, OnSetFont},
    {WM_GETFONT, [](HWND, ListState& s, const Message&) -> LRESULT { return reinterpret_cast<LRESULT>(s.font); }},
    {WM_ENABLE, [](HWND hwnd, ListState&, const Message&) -> LRESULT {
         InvalidateRect(hwnd, nullptr, TRUE);
         return 0;
     }},
    {WM_GETDLGCODE, [](HWND, ListState&, const Message&) -> LRESULT { return DLGC_WANTARROWS | DLGC_WANTCHARS; }},
    {WM_SETFOCUS, OnFocus},
    {WM_KILLFOCUS, OnFocus},
    {WM_LBUTTONDOWN, OnButtonDown},
    {WM_MOUSEMOVE, OnMouseMove},
    {WM_LBUTTONUP, OnButtonUp},
    {WM_CAPTURECHANGED, [](HWND, ListState& s, const Message&) -> LRESULT {
         s.tracking = false;
         return 0;
     }},
    {WM_LBUTTONDBLCLK, [](HWND hwnd, ListState& s, const Message&) -> LRESULT {
         if (Count(s) > 0) {
             Notify(hwnd, s, LBN_DBLCLK);
         }
         return 0;
     }},
    {WM_KEYDOWN, OnKeyDown},
    {WM_CHAR, OnChar},
    {WM_VSCROLL, OnVScroll},
    {WM_MOUSEWHEEL, [](HWND hwnd, ListState& s, const Message& m) -> LRESULT {
         SetTop(hwnd, s, s.top - 3 * GET_WHEEL_DELTA_WPARAM(m.wParam) / WHEEL_DELTA);
         return 0;
     }},
    {kListSetNotifyTarget, [](HWND, ListState& s, const Message& m) -> LRESULT {
         s.notifyTarget = reinterpret_cast<HWND>(m.lParam);
         return 0;
     }},
};

LRESULT HandleListBox(HWND hwnd, ListState& s, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return DispatchByTable(kMessages, hwnd, s, msg, wParam, lParam, MessageRange{LB_ADDSTRING, LB_ITEMFROMPOINT});
}

} // namespace
} // namespace nuvex::controls::listbox

namespace nuvex::controls {

void RegisterListBoxClasses()
{
    using listbox::HandleListBox;
    using listbox::ListState;
    RegisterControlClass("ListBox", StatefulProc<ListState, HandleListBox>, CS_DBLCLKS, nullptr);
    RegisterControlClass(WC_COMBOLBOXA, StatefulProc<ListState, HandleListBox>, CS_DBLCLKS | CS_SAVEBITS, nullptr);
}

} // namespace nuvex::controls
