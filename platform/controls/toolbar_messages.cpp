// The toolbar's messages: one handler per TB_* and window message, looked
// up in a table by the class procedure. Messages without a row reach
// DefWindowProc.
#include <algorithm>
#include <utility>

#include "platform/controls/toolbar_model.h"

namespace nuvex::controls::toolbar {
namespace {

using Row = MessageRow<Toolbar>;

int ButtonCount(const Toolbar& tb) { return static_cast<int>(tb.buttons.size()); }
// wParam as a button index.
int IndexArgument(const Message& m) { return static_cast<int>(static_cast<intptr_t>(m.wParam)); }
bool IsButtonIndex(const Toolbar& tb, int index) { return index >= 0 && index < ButtonCount(tb); }
Button& ButtonOf(Toolbar& tb, int index) { return tb.buttons[static_cast<size_t>(index)]; }

// Sets or clears a state bit of the button with command wParam.
LRESULT ChangeStateByCommand(HWND hwnd, Toolbar& tb, WPARAM id, BYTE bit, Bit value)
{
    const int index = IndexOfCommand(tb, id);
    if (index < 0) {
        return FALSE;
    }
    if (bit == TBSTATE_CHECKED && value == Bit::Set && (ButtonOf(tb, index).style & BTNS_GROUP) != 0) {
        CheckInGroup(tb, index);
    } else {
        SetState(tb, index, bit, value);
    }
    if (bit == TBSTATE_HIDDEN) {
        Changed(hwnd, tb);
    } else {
        Redraw(hwnd);
    }
    return TRUE;
}

template <BYTE StateBit>
LRESULT SetStateBit(HWND hwnd, Toolbar& tb, const Message& m)
{
    return ChangeStateByCommand(hwnd, tb, m.wParam, StateBit, BitOf(LOWORD(m.lParam) != 0));
}

template <BYTE StateBit>
LRESULT GetStateBit(HWND, Toolbar& tb, const Message& m)
{
    const int index = IndexOfCommand(tb, m.wParam);
    return index < 0 ? 0 : (ButtonOf(tb, index).state & StateBit);
}

LRESULT OnAddOrInsertButtons(HWND hwnd, Toolbar& tb, const Message& m)
{
    const auto* records = reinterpret_cast<const TBBUTTON*>(m.lParam);
    const size_t n = m.id == TB_ADDBUTTONSA ? m.wParam : 1;
    if (records == nullptr || n > kMaxButtonsPerCall) {
        return FALSE;
    }
    size_t at = tb.buttons.size();
    if (m.id == TB_INSERTBUTTONA && IsButtonIndex(tb, IndexArgument(m))) {
        at = static_cast<size_t>(IndexArgument(m));
    }
    for (size_t i = 0; i < n; ++i) {
        tb.buttons.insert(tb.buttons.begin() + static_cast<ptrdiff_t>(at + i), FromRecord(tb, records[i]));
    }
    Changed(hwnd, tb);
    return TRUE;
}

LRESULT OnDeleteButton(HWND hwnd, Toolbar& tb, const Message& m)
{
    const int index = IndexArgument(m);
    if (!IsButtonIndex(tb, index)) {
        return FALSE;
    }
    tb.buttons.erase(tb.buttons.begin() + index);
    tb.hot = -1;
    if (tb.pressed == index) {
        tb.pressed = -1;
    } else if (tb.pressed > index) {
        --tb.pressed;
    }
    Changed(hwnd, tb);
    return TRUE;
}

LRESULT OnGetButton(HWND, Toolbar& tb, const Message& m)
{
    auto* out = reinterpret_cast<TBBUTTON*>(m.lParam);
    if (!IsButtonIndex(tb, IndexArgument(m)) || out == nullptr) {
        return FALSE;
    }
    ToRecord(tb, ButtonOf(tb, IndexArgument(m)), *out);
    return TRUE;
}

LRESULT OnSetState(HWND hwnd, Toolbar& tb, const Message& m)
{
    const int at = IndexOfCommand(tb, m.wParam);
    if (at < 0) {
        return FALSE;
    }
    const bool hiddenChanged = ((ButtonOf(tb, at).state ^ LOWORD(m.lParam)) & TBSTATE_HIDDEN) != 0;
    ButtonOf(tb, at).state = static_cast<BYTE>(LOWORD(m.lParam));
    if (hiddenChanged) {
        Changed(hwnd, tb);
    } else {
        Redraw(hwnd);
    }
    return TRUE;
}

LRESULT OnGetState(HWND, Toolbar& tb, const Message& m)
{
    const int at = IndexOfCommand(tb, m.wParam);
    return at < 0 ? -1 : ButtonOf(tb, at).state;
}

LRESULT OnAddBitmap(HWND hwnd, Toolbar& tb, const Message& m)
{
    const int first = AddBitmap(tb, IndexArgument(m), reinterpret_cast<const TBADDBITMAP*>(m.lParam));
    Redraw(hwnd);
    return first;
}

LRESULT OnReplaceBitmap(HWND hwnd, Toolbar& tb, const Message& m)
{
    const BOOL done = ReplaceBitmap(tb, reinterpret_cast<const TBREPLACEBITMAP*>(m.lParam));
    Redraw(hwnd);
    return done;
}

LRESULT OnGetButtonText(HWND, Toolbar& tb, const Message& m)
{
    const int at = IndexOfCommand(tb, m.wParam);
    if (at < 0) {
        return -1;
    }
    const std::string& text = ButtonOf(tb, at).text;
    if (m.lParam != 0) {
        // The caller sized its buffer by a call with a null buffer.
        CopyOut(text, reinterpret_cast<LPSTR>(m.lParam), static_cast<int>(text.size()) + 1);
    }
    return static_cast<LRESULT>(text.size());
}

// The rectangle of a shown button into lParam.
LRESULT RectOf(HWND hwnd, Toolbar& tb, int index, LPARAM lParam)
{
    auto* rect = reinterpret_cast<RECT*>(lParam);
    if (index < 0 || rect == nullptr || IsHidden(ButtonOf(tb, index))) {
        return FALSE;
    }
    *rect = LayoutButtons(hwnd, tb).rects[static_cast<size_t>(index)];
    return TRUE;
}

LRESULT OnGetItemRect(HWND hwnd, Toolbar& tb, const Message& m)
{
    const int index = IndexArgument(m);
    return RectOf(hwnd, tb, IsButtonIndex(tb, index) ? index : -1, m.lParam);
}

LRESULT OnGetRect(HWND hwnd, Toolbar& tb, const Message& m)
{
    return RectOf(hwnd, tb, IndexOfCommand(tb, m.wParam), m.lParam);
}

LRESULT OnSetButtonSize(HWND hwnd, Toolbar& tb, const Message& m)
{
    tb.buttonSize = SIZE{LOWORD(static_cast<uintptr_t>(m.lParam)), HIWORD(static_cast<uintptr_t>(m.lParam))};
    Changed(hwnd, tb);
    return TRUE;
}

LRESULT OnGetButtonSize(HWND hwnd, Toolbar& tb, const Message&)
{
    const SIZE size = ButtonSize(tb, StyleOf(hwnd));
    return MAKELRESULT(static_cast<WORD>(size.cx), static_cast<WORD>(size.cy));
}

LRESULT OnSetBitmapSize(HWND hwnd, Toolbar& tb, const Message& m)
{
    const SIZE size{LOWORD(static_cast<uintptr_t>(m.lParam)), HIWORD(static_cast<uintptr_t>(m.lParam))};
    if (size.cx <= 0 || size.cy <= 0) {
        return FALSE;
    }
    if (tb.own != nullptr && ImageList_GetImageCount(tb.own) > 0) {
        return FALSE; // images of the old size are already in
    }
    tb.bitmapSize = size;
    if (tb.own != nullptr) {
        ImageList_SetIconSize(tb.own, size.cx, size.cy);
    }
    Changed(hwnd, tb);
    return TRUE;
}

LRESULT OnSetTooltips(HWND hwnd, Toolbar& tb, const Message& m)
{
    if (tb.ownTooltip && tb.tooltip != nullptr && reinterpret_cast<HWND>(m.wParam) != tb.tooltip) {
        DestroyWindow(tb.tooltip);
    }
    tb.tooltip = reinterpret_cast<HWND>(m.wParam);
    tb.ownTooltip = false;
    SyncTools(hwnd, tb);
    return 0;
}

LRESULT OnSetCommandId(HWND hwnd, Toolbar& tb, const Message& m)
{
    if (!IsButtonIndex(tb, IndexArgument(m))) {
        return FALSE;
    }
    ButtonOf(tb, IndexArgument(m)).id = static_cast<int>(m.lParam);
    SyncTools(hwnd, tb);
    return TRUE;
}

LRESULT OnChangeBitmap(HWND hwnd, Toolbar& tb, const Message& m)
{
    const int at = IndexOfCommand(tb, m.wParam);
    if (at < 0) {
        return FALSE;
    }
    ButtonOf(tb, at).image = static_cast<int>(m.lParam);
    Redraw(hwnd);
    return TRUE;
}

LRESULT OnGetBitmap(HWND, Toolbar& tb, const Message& m)
{
    const int at = IndexOfCommand(tb, m.wParam);
    return at < 0 ? -1 : ButtonOf(tb, at).image;
}

LRESULT OnSetIndent(HWND hwnd, Toolbar& tb, const Message& m)
{
    tb.indent = std::max(IndexArgument(m), 0);
    Changed(hwnd, tb);
    return TRUE;
}

// TB_SETIMAGELIST, TB_SETHOTIMAGELIST and TB_SETDISABLEDIMAGELIST; the
// normal list sets the bitmap size.
LRESULT OnSetImageList(HWND hwnd, Toolbar& tb, const Message& m)
{
    HIMAGELIST& slot = m.id == TB_SETIMAGELIST ? tb.images : m.id == TB_SETHOTIMAGELIST ? tb.hotImages : tb.disabledImages;
    HIMAGELIST old = std::exchange(slot, reinterpret_cast<HIMAGELIST>(m.lParam));
    int cx = 0;
    int cy = 0;
    if (m.id == TB_SETIMAGELIST && slot != nullptr && ImageList_GetIconSize(slot, &cx, &cy)) {
        tb.bitmapSize = SIZE{cx, cy};
    }
    Changed(hwnd, tb);
    return reinterpret_cast<LRESULT>(old);
}

LRESULT OnSetStyle(HWND hwnd, Toolbar& tb, const Message& m)
{
    SetWindowLongPtrA(hwnd, GWL_STYLE, static_cast<LONG_PTR>(m.lParam));
    Changed(hwnd, tb);
    return 0;
}

LRESULT OnSetExtendedStyle(HWND hwnd, Toolbar& tb, const Message& m)
{
    const DWORD old = std::exchange(tb.exStyle, static_cast<DWORD>(m.lParam));
    Changed(hwnd, tb);
    return static_cast<LRESULT>(old);
}

// TB_GETBUTTONINFOA and TB_SETBUTTONINFOA: the button by command, or by
// index with TBIF_BYINDEX.
LRESULT OnButtonInfo(HWND hwnd, Toolbar& tb, const Message& m)
{
    const bool get = m.id == TB_GETBUTTONINFOA;
    auto* info = reinterpret_cast<TBBUTTONINFOA*>(m.lParam);
    if (info == nullptr || info->cbSize != sizeof(TBBUTTONINFOA)) {
        return get ? -1 : FALSE;
    }
    const int index = IndexArgument(m);
    const int at = (info->dwMask & TBIF_BYINDEX) != 0 ? (IsButtonIndex(tb, index) ? index : -1)
                                                      : IndexOfCommand(tb, m.wParam);
    if (at < 0) {
        return get ? -1 : FALSE;
    }
    Button& b = ButtonOf(tb, at);
    if (get) {
        if ((info->dwMask & TBIF_COMMAND) != 0) info->idCommand = b.id;
        if ((info->dwMask & TBIF_IMAGE) != 0) info->iImage = b.image;
        if ((info->dwMask & TBIF_STATE) != 0) info->fsState = b.state;
        if ((info->dwMask & TBIF_STYLE) != 0) info->fsStyle = b.style;
        if ((info->dwMask & TBIF_LPARAM) != 0) info->lParam = b.data;
        if ((info->dwMask & TBIF_SIZE) != 0) {
            const RECT r = LayoutButtons(hwnd, tb).rects[static_cast<size_t>(at)];
            info->cx = static_cast<WORD>(r.right - r.left);
        }
        if ((info->dwMask & TBIF_TEXT) != 0) CopyOut(b.text, info->pszText, info->cchText);
        return at;
    }
    if ((info->dwMask & TBIF_COMMAND) != 0) b.id = info->idCommand;
    if ((info->dwMask & TBIF_IMAGE) != 0) b.image = info->iImage;
    if ((info->dwMask & TBIF_STATE) != 0) b.state = info->fsState;
    if ((info->dwMask & TBIF_STYLE) != 0) b.style = info->fsStyle;
    if ((info->dwMask & TBIF_LPARAM) != 0) b.data = info->lParam;
    if ((info->dwMask & TBIF_SIZE) != 0) b.width = info->cx;
    if ((info->dwMask & TBIF_TEXT) != 0) b.text = info->pszText != nullptr ? info->pszText : "";
    Changed(hwnd, tb);
    return TRUE;
}

// The button under the point in lParam; a separator as -index - 1.
LRESULT OnHitTest(HWND hwnd, Toolbar& tb, const Message& m)
{
    const auto* pt = reinterpret_cast<const POINT*>(m.lParam);
    if (pt == nullptr) {
        return -1;
    }
    bool separator = false;
    const int at = ButtonAt(hwnd, tb, *pt, &separator);
    return at < 0 ? -1 : (separator ? -at - 1 : at);
}

LRESULT OnSetHotItem(HWND hwnd, Toolbar& tb, const Message& m)
{
    const int old = tb.hot;
    tb.hot = IsButtonIndex(tb, IndexArgument(m)) ? IndexArgument(m) : -1;
    Redraw(hwnd);
    return old;
}

LRESULT OnGetMaxSize(HWND hwnd, Toolbar& tb, const Message& m)
{
    auto* size = reinterpret_cast<SIZE*>(m.lParam);
    if (size == nullptr) {
        return FALSE;
    }
    *size = LayoutButtons(hwnd, tb).extent;
    return TRUE;
}

LRESULT OnSetColorScheme(HWND hwnd, Toolbar& tb, const Message& m)
{
    const auto* scheme = reinterpret_cast<const COLORSCHEME*>(m.lParam);
    if (scheme != nullptr && scheme->dwSize >= sizeof(COLORSCHEME)) {
        tb.scheme = *scheme;
        Redraw(hwnd);
    }
    return 0;
}

LRESULT OnGetColorScheme(HWND, Toolbar& tb, const Message& m)
{
    auto* scheme = reinterpret_cast<COLORSCHEME*>(m.lParam);
    if (scheme == nullptr || scheme->dwSize < sizeof(COLORSCHEME)) {
        return FALSE;
    }
    *scheme = tb.scheme;
    return TRUE;
}

LRESULT OnCreate(HWND hwnd, Toolbar& tb, const Message&)
{
    if ((StyleOf(hwnd) & TBSTYLE_TOOLTIPS) != 0) {
        tb.tooltip = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP, 0, 0, 0, 0, hwnd, nullptr, nullptr, nullptr);
        tb.ownTooltip = tb.tooltip != nullptr;
    }
    AutoSize(hwnd, tb);
    return 0;
}

// The tooltip asks the toolbar; the toolbar asks its owner, then falls
// back on the button's text.
LRESULT OnNotify(HWND hwnd, Toolbar& tb, const Message& m)
{
    auto* header = reinterpret_cast<NMHDR*>(m.lParam);
    if (header == nullptr || header->hwndFrom != tb.tooltip) {
        return 0;
    }
    const LRESULT result = SendMessageA(NotifyWindow(hwnd, tb), WM_NOTIFY, m.wParam, m.lParam);
    if (header->code == TTN_NEEDTEXTA && IsWindow(hwnd)) {
        auto* info = reinterpret_cast<NMTTDISPINFOA*>(m.lParam);
        const int index = IndexOfCommand(tb, header->idFrom);
        if (index >= 0 && info->lpszText == info->szText && info->szText[0] == '\0') {
            CopyOut(ButtonOf(tb, index).text, info->szText, static_cast<int>(sizeof(info->szText)));
        }
    }
    return result;
}

LRESULT OnSetFont(HWND hwnd, Toolbar& tb, const Message& m)
{
    tb.font = reinterpret_cast<HFONT>(m.wParam);
    if (m.lParam != 0) {
        Changed(hwnd, tb);
    }
    return 0;
}

LRESULT OnPaint(HWND hwnd, Toolbar& tb, const Message&)
{
    return PaintWith(hwnd, 0, [&](HDC dc) { Paint(hwnd, tb, dc); });
}

LRESULT OnDestroy(HWND, Toolbar& tb, const Message&)
{
    if (tb.ownTooltip && tb.tooltip != nullptr) {
        DestroyWindow(tb.tooltip);
    }
    tb.tooltip = nullptr;
    return 0;
}

LRESULT OnNcDestroy(HWND, Toolbar& tb, const Message&)
{
    if (tb.own != nullptr) {
        ImageList_Destroy(tb.own);
        tb.own = nullptr;
    }
    return 0;
}

constexpr Row kMessages[] = {
    // Buttons.
    {TB_BUTTONSTRUCTSIZE, [](HWND, Toolbar&, const Message&) -> LRESULT { return 0; }}, // one layout of TBBUTTON here
    {TB_ADDBUTTONSA, OnAddOrInsertButtons},
    {TB_INSERTBUTTONA, OnAddOrInsertButtons},
    {TB_DELETEBUTTON, OnDeleteButton},
    {TB_GETBUTTON, OnGetButton},
    {TB_BUTTONCOUNT, [](HWND, Toolbar& tb, const Message&) -> LRESULT { return ButtonCount(tb); }},
    {TB_COMMANDTOINDEX, [](HWND, Toolbar& tb, const Message& m) -> LRESULT { return IndexOfCommand(tb, m.wParam); }},
    {TB_SETCMDID, OnSetCommandId},
    {TB_GETBUTTONINFOA, OnButtonInfo},
    {TB_SETBUTTONINFOA, OnButtonInfo},
    // States.
    {TB_ENABLEBUTTON, SetStateBit<TBSTATE_ENABLED>},
    {TB_CHECKBUTTON, SetStateBit<TBSTATE_CHECKED>},
    {TB_PRESSBUTTON, SetStateBit<TBSTATE_PRESSED>},
    {TB_HIDEBUTTON, SetStateBit<TBSTATE_HIDDEN>},
    {TB_INDETERMINATE, SetStateBit<TBSTATE_INDETERMINATE>},
    {TB_ISBUTTONENABLED, GetStateBit<TBSTATE_ENABLED>},
    {TB_ISBUTTONCHECKED, GetStateBit<TBSTATE_CHECKED>},
    {TB_ISBUTTONPRESSED, GetStateBit<TBSTATE_PRESSED>},
    {TB_ISBUTTONHIDDEN, GetStateBit<TBSTATE_HIDDEN>},
    {TB_ISBUTTONINDETERMINATE, GetStateBit<TBSTATE_INDETERMINATE>},
    {TB_SETSTATE, OnSetState},
    {TB_GETSTATE, OnGetState},
    // Images and texts.
    {TB_ADDBITMAP, OnAddBitmap},
    {TB_REPLACEBITMAP, OnReplaceBitmap},
    {TB_ADDSTRINGA, [](HWND, Toolbar& tb, const Message& m) -> LRESULT {
         return AddStrings(tb, reinterpret_cast<HINSTANCE>(m.wParam), m.lParam);
     }},
    {TB_GETBUTTONTEXTA, OnGetButtonText},
    {TB_CHANGEBITMAP, OnChangeBitmap},
    {TB_GETBITMAP, OnGetBitmap},
    {TB_SETIMAGELIST, OnSetImageList},
    {TB_SETHOTIMAGELIST, OnSetImageList},
    {TB_SETDISABLEDIMAGELIST, OnSetImageList},
    {TB_GETIMAGELIST, [](HWND, Toolbar& tb, const Message&) -> LRESULT { return reinterpret_cast<LRESULT>(ImagesOf(tb)); }},
    {TB_GETHOTIMAGELIST, [](HWND, Toolbar& tb, const Message&) -> LRESULT { return reinterpret_cast<LRESULT>(tb.hotImages); }},
    {TB_GETDISABLEDIMAGELIST,
     [](HWND, Toolbar& tb, const Message&) -> LRESULT { return reinterpret_cast<LRESULT>(tb.disabledImages); }},
    // Sizes and places.
    {TB_GETITEMRECT, OnGetItemRect},
    {TB_GETRECT, OnGetRect},
    {TB_SETBUTTONSIZE, OnSetButtonSize},
    {TB_GETBUTTONSIZE, OnGetButtonSize},
    {TB_SETBITMAPSIZE, OnSetBitmapSize},
    {TB_AUTOSIZE, [](HWND hwnd, Toolbar& tb, const Message&) -> LRESULT {
         AutoSize(hwnd, tb);
         return 0;
     }},
    {TB_GETROWS, [](HWND hwnd, Toolbar& tb, const Message&) -> LRESULT { return LayoutButtons(hwnd, tb).rows; }},
    {TB_SETROWS, [](HWND, Toolbar&, const Message&) -> LRESULT { return 0; }},
    {TB_SETINDENT, OnSetIndent},
    {TB_HITTEST, OnHitTest},
    {TB_GETMAXSIZE, OnGetMaxSize},
    {TB_GETPADDING, [](HWND, Toolbar&, const Message&) -> LRESULT { return MAKELRESULT(kButtonExtra, kButtonExtra); }},
    {TB_SETPADDING, [](HWND, Toolbar&, const Message&) -> LRESULT { return MAKELRESULT(kButtonExtra, kButtonExtra); }},
    // The bar's windows, styles, hot item and colours.
    {TB_GETTOOLTIPS, [](HWND, Toolbar& tb, const Message&) -> LRESULT { return reinterpret_cast<LRESULT>(tb.tooltip); }},
    {TB_SETTOOLTIPS, OnSetTooltips},
    {TB_SETPARENT, [](HWND, Toolbar& tb, const Message& m) -> LRESULT {
         return reinterpret_cast<LRESULT>(std::exchange(tb.notify, reinterpret_cast<HWND>(m.wParam)));
     }},
    {TB_SETSTYLE, OnSetStyle},
    {TB_GETSTYLE, [](HWND hwnd, Toolbar&, const Message&) -> LRESULT { return static_cast<LRESULT>(StyleOf(hwnd)); }},
    {TB_SETEXTENDEDSTYLE, OnSetExtendedStyle},
    {TB_GETEXTENDEDSTYLE, [](HWND, Toolbar& tb, const Message&) -> LRESULT { return static_cast<LRESULT>(tb.exStyle); }},
    {TB_GETHOTITEM, [](HWND, Toolbar& tb, const Message&) -> LRESULT { return tb.hot; }},
    {TB_SETHOTITEM, OnSetHotItem},
    {TB_SETCOLORSCHEME, OnSetColorScheme},
    {TB_GETCOLORSCHEME, OnGetColorScheme},
    // Window messages.
    {WM_CREATE, OnCreate},
    {WM_SIZE, [](HWND hwnd, Toolbar& tb, const Message&) -> LRESULT {
         Changed(hwnd, tb);
         return 0;
     }},
    {WM_NOTIFY, OnNotify},
    {WM_SETFONT, OnSetFont},
    {WM_GETFONT, [](HWND, Toolbar& tb, const Message&) -> LRESULT { return reinterpret_cast<LRESULT>(tb.font); }},
    {WM_LBUTTONDOWN, OnMouseMessage},
    {WM_LBUTTONDBLCLK, OnMouseMessage},
    {WM_LBUTTONUP, OnMouseMessage},
    {WM_RBUTTONDOWN, OnMouseMessage},
    {WM_RBUTTONUP, OnMouseMessage},
    {WM_MOUSEMOVE, OnMouseMessage},
    {WM_CAPTURECHANGED, OnCaptureChanged},
    {WM_ERASEBKGND, [](HWND, Toolbar&, const Message&) -> LRESULT { return TRUE; }},
    {WM_PAINT, OnPaint},
    {WM_DESTROY, OnDestroy},
    {WM_NCDESTROY, OnNcDestroy},
};

LRESULT HandleToolbar(HWND hwnd, Toolbar& tb, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return DispatchByTable(kMessages, hwnd, tb, msg, wParam, lParam);
}

} // namespace
} // namespace nuvex::controls::toolbar

namespace nuvex::controls {

LRESULT ToolbarProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return StatefulProc<toolbar::Toolbar, toolbar::HandleToolbar>(hwnd, msg, wParam, lParam);
}

} // namespace nuvex::controls
