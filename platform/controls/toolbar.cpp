// The toolbar ("ToolbarWindow32"): buttons with images from bitmaps or
// image lists and texts, check and group buttons, drop-downs (TBN_DROPDOWN),
// the flat look with hot tracking, its place along the parent, custom
// drawing with NMTBCUSTOMDRAW and tooltips asked for with TTN_NEEDTEXT.
// Clicks reach the notify window (the parent, or TB_SETPARENT's window) as
// WM_COMMAND.
//
// This file holds the model: the layout of the buttons, their records,
// bitmaps, strings and states. The messages are a table in
// toolbar_messages.cpp, the mouse is in toolbar_input.cpp and the painting
// in toolbar_paint.cpp.
#include <algorithm>
#include <cstring>
#include <string>

#include "platform/controls/toolbar_model.h"
#include "platform/kernel/resource.h"
#include "platform/kernel/resource_records.h"

namespace nuvex::controls::toolbar {
namespace {

bool HasTexts(const Toolbar& tb)
{
    return std::any_of(tb.buttons.begin(), tb.buttons.end(), [](const Button& b) { return !b.text.empty(); });
}

int TopOffset(HWND hwnd) { return (StyleOf(hwnd) & CCS_NODIVIDER) != 0 ? 0 : kDividerHeight; }

std::string TextOf(const Toolbar& tb, INT_PTR iString)
{
    if (iString == -1) {
        return {};
    }
    if (iString >= 0 && iString < 0x10000) {
        return static_cast<size_t>(iString) < tb.strings.size() ? tb.strings[static_cast<size_t>(iString)] : std::string();
    }
    return std::string(reinterpret_cast<const char*>(iString));
}

// A bitmap of the module's resources (32-bit, rows bottom-up in the bytes).
HBITMAP LoadResourceBitmap(HINSTANCE instance, UINT_PTR id)
{
    if (id > 0xFFFF) {
        return nullptr;
    }
    const auto bytes = FindResourceBytes(instance, kResourceBitmap, static_cast<WORD>(id));
    if (!bytes) {
        return nullptr;
    }
    const auto image = DecodeBitmap(*bytes);
    if (!image || image->width <= 0 || image->height <= 0) {
        return nullptr;
    }
    return CreateBitmap(image->width, image->height, 1, 32, image->bgra.data());
}

} // namespace

SIZE ButtonSize(const Toolbar& tb, DWORD style)
{
    if (tb.buttonSize.cx > 0 && tb.buttonSize.cy > 0) {
        return tb.buttonSize;
    }
    SIZE size{tb.bitmapSize.cx + kButtonExtra, tb.bitmapSize.cy + kButtonExtra};
    if (HasTexts(tb)) {
        int widest = 0;
        for (const Button& b : tb.buttons) {
            widest = std::max(widest, TextWidth(tb.font, b.text));
        }
        if ((style & TBSTYLE_LIST) != 0) {
            size.cx += widest + kTextGap;
            size.cy = std::max<LONG>(size.cy, LineHeight(tb.font) + kButtonExtra);
        } else {
            size.cx = std::max<LONG>(size.cx, widest + kButtonExtra);
            size.cy += LineHeight(tb.font) + kTextGap;
        }
    }
    return size;
}

bool HasArrow(const Toolbar& tb, const Button& b)
{
    return (b.style & BTNS_DROPDOWN) != 0 && (tb.exStyle & TBSTYLE_EX_DRAWDDARROWS) != 0 &&
           (b.style & BTNS_WHOLEDROPDOWN) == 0;
}

Layout LayoutButtons(HWND hwnd, const Toolbar& tb)
{
    RECT client{};
    GetClientRect(hwnd, &client);
    const DWORD style = StyleOf(hwnd);
    const SIZE size = ButtonSize(tb, style);
    const bool wrapable = (style & TBSTYLE_WRAPABLE) != 0;
    Layout layout;
    int x = tb.indent;
    int y = TopOffset(hwnd);
    layout.rows = tb.buttons.empty() ? 0 : 1;
    bool rowStarted = false;
    for (const Button& b : tb.buttons) {
        if (IsHidden(b)) {
            layout.rects.push_back(RECT{});
            continue;
        }
        int width = b.width > 0 ? b.width : size.cx;
        if (IsSeparator(b)) {
            width = b.image > 0 ? b.image : kSeparatorWidth;
        } else if (HasArrow(tb, b)) {
            width += kArrowWidth;
        }
        if (wrapable && rowStarted && x + width > client.right) {
            x = tb.indent;
            y += size.cy;
            ++layout.rows;
        }
        const RECT r{x, y, x + width, y + size.cy};
        layout.rects.push_back(r);
        layout.extent.cx = std::max<LONG>(layout.extent.cx, r.right);
        layout.extent.cy = std::max<LONG>(layout.extent.cy, r.bottom);
        x += width;
        rowStarted = true;
        if ((b.state & TBSTATE_WRAP) != 0) {
            x = tb.indent;
            y += size.cy;
            ++layout.rows;
            rowStarted = false;
        }
    }
    return layout;
}

int IndexOfCommand(const Toolbar& tb, WPARAM id)
{
    for (size_t i = 0; i < tb.buttons.size(); ++i) {
        if (tb.buttons[i].id == static_cast<int>(id)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

int ButtonAt(HWND hwnd, const Toolbar& tb, POINT pt, bool* onSeparator)
{
    const Layout layout = LayoutButtons(hwnd, tb);
    for (size_t i = 0; i < layout.rects.size(); ++i) {
        if (!IsHidden(tb.buttons[i]) && PtInRect(&layout.rects[i], pt)) {
            if (onSeparator != nullptr) {
                *onSeparator = IsSeparator(tb.buttons[i]);
            }
            return static_cast<int>(i);
        }
    }
    return -1;
}

void SyncTools(HWND hwnd, Toolbar& tb)
{
    if (tb.tooltip == nullptr || !IsWindow(tb.tooltip)) {
        return;
    }
    TTTOOLINFOA tool{};
    tool.cbSize = sizeof(tool);
    tool.hwnd = hwnd;
    while (SendMessageA(tb.tooltip, TTM_ENUMTOOLSA, 0, reinterpret_cast<LPARAM>(&tool))) {
        SendMessageA(tb.tooltip, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    }
    const Layout layout = LayoutButtons(hwnd, tb);
    for (size_t i = 0; i < tb.buttons.size(); ++i) {
        const Button& b = tb.buttons[i];
        if (IsSeparator(b) || IsHidden(b)) {
            continue;
        }
        TTTOOLINFOA add{};
        add.cbSize = sizeof(add);
        add.hwnd = hwnd;
        add.uId = static_cast<UINT_PTR>(b.id);
        add.rect = layout.rects[i];
        add.lpszText = LPSTR_TEXTCALLBACKA;
        SendMessageA(tb.tooltip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&add));
    }
}

void Changed(HWND hwnd, Toolbar& tb)
{
    SyncTools(hwnd, tb);
    Redraw(hwnd);
}

void AutoSize(HWND hwnd, Toolbar& tb)
{
    const DWORD style = StyleOf(hwnd);
    HWND parent = GetParent(hwnd);
    if ((style & CCS_NORESIZE) != 0 || parent == nullptr || tb.placing) {
        return;
    }
    tb.placing = true;
    const Layout layout = LayoutButtons(hwnd, tb);
    const SIZE size = ButtonSize(tb, style);
    const int height = std::max(layout.rows, 1) * size.cy + TopOffset(hwnd);
    if ((style & CCS_NOPARENTALIGN) != 0) {
        RECT r{};
        GetWindowRect(hwnd, &r);
        SetWindowPos(hwnd, nullptr, 0, 0, r.right - r.left, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    } else {
        RECT client{};
        GetClientRect(parent, &client);
        const bool bottom = (style & CCS_BOTTOM) == CCS_BOTTOM;
        SetWindowPos(hwnd, nullptr, 0, bottom ? client.bottom - height : 0, client.right, height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    tb.placing = false;
    Changed(hwnd, tb);
}

Button FromRecord(const Toolbar& tb, const TBBUTTON& record)
{
    Button b;
    b.image = record.iBitmap;
    b.id = record.idCommand;
    b.state = record.fsState;
    b.style = record.fsStyle;
    b.data = record.dwData;
    b.text = TextOf(tb, record.iString);
    return b;
}

void ToRecord(const Toolbar& tb, const Button& b, TBBUTTON& out)
{
    out = TBBUTTON{};
    out.iBitmap = b.image;
    out.idCommand = b.id;
    out.fsState = b.state;
    out.fsStyle = b.style;
    out.dwData = b.data;
    out.iString = -1;
    for (size_t i = 0; i < tb.strings.size(); ++i) {
        if (!b.text.empty() && tb.strings[i] == b.text) {
            out.iString = static_cast<INT_PTR>(i);
            break;
        }
    }
}

int AddBitmap(Toolbar& tb, int count, const TBADDBITMAP* add)
{
    if (add == nullptr || count <= 0) {
        return -1;
    }
    for (const AddedBitmap& known : tb.bitmaps) {
        if (known.instance == add->hInst && known.id == add->nID) {
            return known.first;
        }
    }
    HBITMAP bitmap = add->hInst == nullptr ? reinterpret_cast<HBITMAP>(add->nID) : LoadResourceBitmap(add->hInst, add->nID);
    if (bitmap == nullptr) {
        return -1;
    }
    if (tb.own == nullptr) {
        tb.own = ImageList_Create(tb.bitmapSize.cx, tb.bitmapSize.cy, ILC_COLOR32 | ILC_MASK, count, 8);
    }
    const int before = ImageList_GetImageCount(tb.own);
    const int first = ImageList_AddMasked(tb.own, bitmap, kClassicFace);
    if (add->hInst != nullptr) {
        DeleteObject(bitmap);
    }
    if (first < 0) {
        return -1;
    }
    // The caller's count rules, whatever the bitmap's width held.
    ImageList_SetImageCount(tb.own, static_cast<UINT>(before + count));
    tb.bitmaps.push_back(AddedBitmap{add->hInst, add->nID, first, count});
    return first;
}

BOOL ReplaceBitmap(Toolbar& tb, const TBREPLACEBITMAP* replace)
{
    if (replace == nullptr || tb.own == nullptr) {
        return FALSE;
    }
    for (AddedBitmap& known : tb.bitmaps) {
        if (known.instance != replace->hInstOld || known.id != replace->nIDOld) {
            continue;
        }
        HBITMAP bitmap = replace->hInstNew == nullptr ? reinterpret_cast<HBITMAP>(replace->nIDNew)
                                                      : LoadResourceBitmap(replace->hInstNew, replace->nIDNew);
        if (bitmap == nullptr) {
            return FALSE;
        }
        HIMAGELIST scratch = ImageList_Create(tb.bitmapSize.cx, tb.bitmapSize.cy, ILC_COLOR32 | ILC_MASK, 0, 8);
        ImageList_AddMasked(scratch, bitmap, kClassicFace);
        if (replace->hInstNew != nullptr) {
            DeleteObject(bitmap);
        }
        const int available = std::min({known.count, std::max(replace->nButtons, 0), ImageList_GetImageCount(scratch)});
        for (int i = 0; i < available; ++i) {
            HICON icon = ImageList_GetIcon(scratch, i, ILD_NORMAL);
            ImageList_ReplaceIcon(tb.own, known.first + i, icon);
            DestroyIcon(icon);
        }
        ImageList_Destroy(scratch);
        known.instance = replace->hInstNew;
        known.id = replace->nIDNew;
        return TRUE;
    }
    return FALSE;
}

int AddStrings(Toolbar& tb, HINSTANCE instance, LPARAM lParam)
{
    const int first = static_cast<int>(tb.strings.size());
    if (instance != nullptr) {
        // A string resource whose first character separates the strings.
        char buffer[1024] = {};
        const int length = LoadStringA(instance, static_cast<UINT>(lParam), buffer, static_cast<int>(sizeof(buffer)));
        if (length <= 0) {
            return -1;
        }
        const char separator = buffer[0];
        std::string current;
        for (int i = 1; i < length; ++i) {
            if (buffer[i] == separator) {
                tb.strings.push_back(current);
                current.clear();
            } else {
                current += buffer[i];
            }
        }
        if (!current.empty()) {
            tb.strings.push_back(current);
        }
        return first;
    }
    const char* text = reinterpret_cast<const char*>(lParam);
    if (text == nullptr) {
        return -1;
    }
    // Texts one after another, the list ending with an empty one.
    while (*text != '\0') {
        tb.strings.emplace_back(text);
        text += std::strlen(text) + 1;
    }
    return first;
}

void SetState(Toolbar& tb, int index, BYTE bit, Bit value)
{
    const bool on = value == Bit::Set;
    BYTE& state = tb.buttons[static_cast<size_t>(index)].state;
    state = on ? static_cast<BYTE>(state | bit) : static_cast<BYTE>(state & ~bit);
}

void CheckInGroup(Toolbar& tb, int index)
{
    int first = index;
    while (first > 0 && (tb.buttons[static_cast<size_t>(first) - 1].style & BTNS_GROUP) != 0 &&
           !IsSeparator(tb.buttons[static_cast<size_t>(first) - 1])) {
        --first;
    }
    for (size_t i = static_cast<size_t>(first);
         i < tb.buttons.size() && (tb.buttons[i].style & BTNS_GROUP) != 0 && !IsSeparator(tb.buttons[i]); ++i) {
        SetState(tb, static_cast<int>(i), TBSTATE_CHECKED, BitOf(static_cast<int>(i) == index));
    }
}

} // namespace nuvex::controls::toolbar
