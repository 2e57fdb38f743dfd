// The list box's painting: the background in the parent's colours, then
// each visible item, drawn by its owner or as text with the selection and
// focus marks.
#include "platform/controls/listbox_model.h"

namespace nuvex::controls::listbox {

void Paint(HWND hwnd, ListState& s, HDC dc)
{
    SavedDC saved(dc);
    RECT rc{};
    GetClientRect(hwnd, &rc);
    SelectObject(dc, DrawingFont(s.font));
    HBRUSH background = ControlColors(hwnd, dc, WM_CTLCOLORLISTBOX);
    const COLORREF textColor = IsWindowEnabled(hwnd) ? GetTextColor(dc) : GetSysColor(COLOR_GRAYTEXT);
    FillRect(dc, &rc, background);
    for (int i = s.top; i < Count(s); ++i) {
        const RECT itemRect = ItemRect(hwnd, s, i);
        if (itemRect.top >= rc.bottom) {
            break;
        }
        const UINT state = ItemState(hwnd, s, i);
        const Item& item = s.items[static_cast<size_t>(i)];
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

} // namespace nuvex::controls::listbox
