// The toolbar ("ToolbarWindow32"): buttons with images from bitmaps or
// image lists and texts, check and group buttons, drop-downs (TBN_DROPDOWN),
// the flat look with hot tracking, its place along the parent, custom
// drawing with NMTBCUSTOMDRAW and tooltips asked for with TTN_NEEDTEXT.
// Clicks reach the notify window (the parent, or TB_SETPARENT's window) as
// WM_COMMAND.
#include <algorithm>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "platform/controls/common_control_support.h"
#include "platform/kernel/resource.h"
#include "platform/kernel/resource_records.h"

namespace nuvex::controls {
namespace {

constexpr SIZE kDefaultBitmap{16, 15};
constexpr int kButtonExtra = 7;        // a button is this much larger than its image
constexpr int kSeparatorWidth = 8;     // a separator without its own width
constexpr int kArrowWidth = 12;        // the drop-down arrow part (TBSTYLE_EX_DRAWDDARROWS)
constexpr int kDividerHeight = 2;      // the etched line above the buttons (without CCS_NODIVIDER)
constexpr int kTextGap = 2;            // between image and text
constexpr size_t kMaxButtonsPerCall = 0x10000;
constexpr COLORREF kClassicFace = RGB(192, 192, 192); // background of classic button bitmaps
constexpr WPARAM kClicked = 0;         // BN_CLICKED

struct Button {
    int image = 0;
    int id = 0;
    BYTE state = 0;
    BYTE style = 0;
    DWORD_PTR data = 0;
    std::string text;
    int width = 0; // from TBBUTTONINFO's cx; 0: the usual width
};

struct AddedBitmap {
    HINSTANCE instance;
    UINT_PTR id;
    int first;
    int count;
};

struct Toolbar {
    std::vector<Button> buttons;
    std::vector<std::string> strings;
    std::vector<AddedBitmap> bitmaps;
    SIZE bitmapSize = kDefaultBitmap;
    SIZE buttonSize{0, 0}; // 0: from the bitmap size and the texts
    HIMAGELIST own = nullptr; // made for TB_ADDBITMAP
    HIMAGELIST images = nullptr;
    HIMAGELIST hotImages = nullptr;
    HIMAGELIST disabledImages = nullptr;
    DWORD exStyle = 0;
    int indent = 0;
    HWND notify = nullptr; // null: the parent
    HWND tooltip = nullptr;
    bool ownTooltip = false;
    int hot = -1;
    int pressed = -1;   // button held down by the mouse
    COLORSCHEME scheme{sizeof(COLORSCHEME), CLR_DEFAULT, CLR_DEFAULT};
    HFONT font = nullptr;
    bool placing = false;
};

DWORD StyleOf(HWND hwnd) { return static_cast<DWORD>(GetWindowLongPtrA(hwnd, GWL_STYLE)); }
HWND NotifyWindow(HWND hwnd, Toolbar& tb) { return tb.notify != nullptr ? tb.notify : GetParent(hwnd); }
bool IsSeparator(const Button& b) { return (b.style & BTNS_SEP) != 0; }
bool IsHidden(const Button& b) { return (b.state & TBSTATE_HIDDEN) != 0; }

HIMAGELIST ImagesOf(Toolbar& tb) { return tb.images != nullptr ? tb.images : tb.own; }

bool HasTexts(const Toolbar& tb)
{
    return std::any_of(tb.buttons.begin(), tb.buttons.end(), [](const Button& b) { return !b.text.empty(); });
}

SIZE ButtonSize(Toolbar& tb, DWORD style)
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

int TopOffset(HWND hwnd) { return (StyleOf(hwnd) & CCS_NODIVIDER) != 0 ? 0 : kDividerHeight; }

struct Layout {
    std::vector<RECT> rects; // empty rectangles for hidden buttons
    int rows = 0;
    SIZE extent{0, 0};       // right and bottom of the buttons
};

Layout LayoutButtons(HWND hwnd, Toolbar& tb)
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

void Redraw(HWND hwnd) { InvalidateRect(hwnd, nullptr, TRUE); }

// Keeps one tooltip tool per button, over the button's rectangle.
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

// Follows the parent's top (or bottom) edge at its full width, as tall as the rows.
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

std::string TextOf(Toolbar& tb, INT_PTR iString)
{
    if (iString == -1) {
        return {};
    }
    if (iString >= 0 && iString < 0x10000) {
        return static_cast<size_t>(iString) < tb.strings.size() ? tb.strings[static_cast<size_t>(iString)] : std::string();
    }
    return std::string(reinterpret_cast<const char*>(iString));
}

Button FromRecord(Toolbar& tb, const TBBUTTON& record)
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

int ButtonAt(HWND hwnd, Toolbar& tb, POINT pt, bool* onSeparator = nullptr)
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

void SetState(Toolbar& tb, int index, BYTE bit, bool on)
{
    BYTE& state = tb.buttons[static_cast<size_t>(index)].state;
    state = on ? static_cast<BYTE>(state | bit) : static_cast<BYTE>(state & ~bit);
}

// Checks `index` and unchecks the other buttons of its group (the run of
// neighbouring group buttons).
void CheckInGroup(Toolbar& tb, int index)
{
    int first = index;
    while (first > 0 && (tb.buttons[static_cast<size_t>(first) - 1].style & BTNS_GROUP) != 0 &&
           !IsSeparator(tb.buttons[static_cast<size_t>(first) - 1])) {
        --first;
    }
    for (size_t i = static_cast<size_t>(first);
         i < tb.buttons.size() && (tb.buttons[i].style & BTNS_GROUP) != 0 && !IsSeparator(tb.buttons[i]); ++i) {
        SetState(tb, static_cast<int>(i), TBSTATE_CHECKED, static_cast<int>(i) == index);
    }
}

void DropDown(HWND hwnd, Toolbar& tb, int index, bool* treatPressed)
{
    const Layout layout = LayoutButtons(hwnd, tb);
    NMTOOLBARA nm{};
    nm.iItem = tb.buttons[static_cast<size_t>(index)].id;
    ToRecord(tb, tb.buttons[static_cast<size_t>(index)], nm.tbButton);
    nm.rcButton = layout.rects[static_cast<size_t>(index)];
    SetState(tb, index, TBSTATE_PRESSED, true);
    Redraw(hwnd);
    UpdateWindow(hwnd);
    const LRESULT answer = SendNotify(hwnd, TBN_DROPDOWN, &nm.hdr, NotifyWindow(hwnd, tb));
    *treatPressed = answer == TBDDRET_TREATPRESSED;
    if (!IsWindow(hwnd)) {
        return;
    }
    Toolbar* live = StateOf<Toolbar>(hwnd);
    if (live != nullptr && !*treatPressed && index < static_cast<int>(live->buttons.size())) {
        SetState(*live, index, TBSTATE_PRESSED, false);
        Redraw(hwnd);
    }
}

void OnButtonDown(HWND hwnd, Toolbar& tb, LPARAM lParam)
{
    const POINT pt = PointOf(lParam);
    bool separator = false;
    const int index = ButtonAt(hwnd, tb, pt, &separator);
    if (index < 0 || separator) {
        return;
    }
    const Button& b = tb.buttons[static_cast<size_t>(index)];
    if ((b.state & TBSTATE_ENABLED) == 0) {
        return;
    }
    if ((b.style & BTNS_DROPDOWN) != 0) {
        const RECT r = LayoutButtons(hwnd, tb).rects[static_cast<size_t>(index)];
        const bool onArrow = !HasArrow(tb, b) || pt.x >= r.right - kArrowWidth;
        if (onArrow) {
            bool treatPressed = false;
            DropDown(hwnd, tb, index, &treatPressed);
            if (!treatPressed || !IsWindow(hwnd)) {
                return;
            }
        }
    }
    tb.pressed = index;
    SetState(tb, index, TBSTATE_PRESSED, true);
    SetCapture(hwnd);
    Redraw(hwnd);
}

void OnMouseMove(HWND hwnd, Toolbar& tb, LPARAM lParam)
{
    const POINT pt = PointOf(lParam);
    bool separator = false;
    int under = ButtonAt(hwnd, tb, pt, &separator);
    if (separator) {
        under = -1;
    }
    if (tb.pressed >= 0 && tb.pressed < static_cast<int>(tb.buttons.size())) {
        const bool inside = under == tb.pressed;
        if (((tb.buttons[static_cast<size_t>(tb.pressed)].state & TBSTATE_PRESSED) != 0) != inside) {
            SetState(tb, tb.pressed, TBSTATE_PRESSED, inside);
            Redraw(hwnd);
        }
    }
    if (under != tb.hot && (StyleOf(hwnd) & TBSTYLE_FLAT) != 0) {
        tb.hot = under;
        Redraw(hwnd);
    }
}

void OnButtonUp(HWND hwnd, Toolbar& tb, LPARAM lParam)
{
    const int index = std::exchange(tb.pressed, -1);
    if (GetCapture() == hwnd) {
        ReleaseCapture();
    }
    if (index < 0 || index >= static_cast<int>(tb.buttons.size())) {
        return;
    }
    SetState(tb, index, TBSTATE_PRESSED, false);
    Redraw(hwnd);
    if (ButtonAt(hwnd, tb, PointOf(lParam)) != index) {
        return;
    }
    Button& b = tb.buttons[static_cast<size_t>(index)];
    if ((b.style & BTNS_CHECK) != 0) {
        if ((b.style & BTNS_GROUP) != 0) {
            CheckInGroup(tb, index);
        } else {
            SetState(tb, index, TBSTATE_CHECKED, (b.state & TBSTATE_CHECKED) == 0);
        }
    }
    SendMessageA(NotifyWindow(hwnd, tb), WM_COMMAND, MAKEWPARAM(static_cast<WORD>(b.id), kClicked),
                 reinterpret_cast<LPARAM>(hwnd));
}

// Painting ----------------------------------------------------------------------

UINT ItemState(HWND hwnd, Toolbar& tb, int index)
{
    const Button& b = tb.buttons[static_cast<size_t>(index)];
    UINT state = 0;
    if ((b.state & TBSTATE_CHECKED) != 0) {
        state |= CDIS_CHECKED;
    }
    if ((b.state & TBSTATE_ENABLED) == 0) {
        state |= CDIS_DISABLED;
    }
    if ((b.state & TBSTATE_INDETERMINATE) != 0) {
        state |= CDIS_INDETERMINATE;
    }
    if ((b.state & TBSTATE_PRESSED) != 0) {
        state |= CDIS_SELECTED;
    }
    if (index == tb.hot && (StyleOf(hwnd) & TBSTYLE_FLAT) != 0) {
        state |= CDIS_HOT;
    }
    return state;
}

void PaintButton(HWND hwnd, Toolbar& tb, HDC dc, int index, const RECT& r, UINT itemState)
{
    const Button& b = tb.buttons[static_cast<size_t>(index)];
    const bool flat = (StyleOf(hwnd) & TBSTYLE_FLAT) != 0;
    if (IsSeparator(b)) {
        if (flat) {
            const int x = (r.left + r.right) / 2 - 1;
            Draw3dRect(dc, x, r.top + 2, 2, r.bottom - r.top - 4, GetSysColor(COLOR_BTNSHADOW),
                       GetSysColor(COLOR_BTNHIGHLIGHT));
        }
        return;
    }
    RECT face = r;
    if (HasArrow(tb, b)) {
        face.right -= kArrowWidth;
    }
    const bool down = (itemState & (CDIS_SELECTED | CDIS_CHECKED)) != 0;
    if (down) {
        DrawEdge(dc, &face, flat ? BDR_SUNKENOUTER : EDGE_SUNKEN, BF_RECT);
    } else if (!flat || (itemState & CDIS_HOT) != 0) {
        DrawEdge(dc, &face, flat ? BDR_RAISEDINNER : EDGE_RAISED, BF_RECT);
    }
    const int shift = (itemState & CDIS_SELECTED) != 0 ? 1 : 0;
    HIMAGELIST list = ImagesOf(tb);
    if ((itemState & CDIS_DISABLED) != 0 && tb.disabledImages != nullptr) {
        list = tb.disabledImages;
    } else if ((itemState & CDIS_HOT) != 0 && tb.hotImages != nullptr) {
        list = tb.hotImages;
    }
    const bool listStyle = (StyleOf(hwnd) & TBSTYLE_LIST) != 0;
    int imageX = (face.left + face.right - tb.bitmapSize.cx) / 2;
    int imageY = face.top + (face.bottom - face.top - tb.bitmapSize.cy) / 2;
    if (!b.text.empty()) {
        if (listStyle) {
            imageX = face.left + 3;
        } else {
            imageY = face.top + 3;
        }
    }
    if (list != nullptr && b.image >= 0) {
        const UINT blend = (itemState & CDIS_DISABLED) != 0 && list != tb.disabledImages ? ILD_BLEND50 : 0;
        ImageList_DrawEx(list, b.image, dc, imageX + shift, imageY + shift, 0, 0, CLR_NONE,
                         GetSysColor(COLOR_BTNFACE), ILD_TRANSPARENT | blend);
    }
    if (!b.text.empty()) {
        RECT text = face;
        if (listStyle) {
            text.left = imageX + tb.bitmapSize.cx + kTextGap;
        } else {
            text.top = imageY + tb.bitmapSize.cy + kTextGap;
        }
        OffsetRect(&text, shift, shift);
        SetTextColor(dc, GetSysColor((itemState & CDIS_DISABLED) != 0 ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
        DrawTextA(dc, b.text.c_str(), static_cast<int>(b.text.size()), &text,
                  (listStyle ? DT_LEFT : DT_CENTER) | DT_SINGLELINE | (listStyle ? DT_VCENTER : DT_TOP));
    }
    if ((b.style & BTNS_DROPDOWN) != 0) {
        // A small downward triangle in the arrow part (or at the face's right).
        const int cx = HasArrow(tb, b) ? r.right - kArrowWidth / 2 : face.right - 5;
        const int cy = (r.top + r.bottom) / 2;
        for (int row = 0; row < 3; ++row) {
            RECT line{cx - 2 + row, cy - 1 + row, cx + 3 - row, cy + row};
            FillSolidRect(dc, &line, GetSysColor(COLOR_BTNTEXT));
        }
        if (HasArrow(tb, b) && (down || !flat || (itemState & CDIS_HOT) != 0)) {
            RECT arrow{face.right, r.top, r.right, r.bottom};
            DrawEdge(dc, &arrow, flat ? BDR_RAISEDINNER : EDGE_RAISED, BF_RECT);
        }
    }
}

void Paint(HWND hwnd, Toolbar& tb, HDC dc)
{
    RECT client{};
    GetClientRect(hwnd, &client);
    HWND target = NotifyWindow(hwnd, tb);
    NMTBCUSTOMDRAW cd{};
    cd.nmcd.dwDrawStage = CDDS_PREPAINT;
    cd.nmcd.hdc = dc;
    cd.nmcd.rc = client;
    cd.clrText = GetSysColor(COLOR_BTNTEXT);
    cd.clrBtnFace = GetSysColor(COLOR_BTNFACE);
    cd.clrBtnHighlight = GetSysColor(COLOR_BTNHIGHLIGHT);
    cd.clrHighlightHotTrack = GetSysColor(COLOR_HIGHLIGHT);
    cd.nStringBkMode = TRANSPARENT;
    cd.nHLStringBkMode = OPAQUE;
    const LRESULT prepaint = SendNotify(hwnd, NM_CUSTOMDRAW, &cd.nmcd.hdr, target);
    if (!IsWindow(hwnd)) {
        return;
    }
    if ((prepaint & CDRF_SKIPDEFAULT) == 0 && (StyleOf(hwnd) & TBSTYLE_TRANSPARENT) == 0) {
        FillSolidRect(dc, &client, GetSysColor(COLOR_BTNFACE));
        if ((StyleOf(hwnd) & CCS_NODIVIDER) == 0) {
            Draw3dRect(dc, client.left, client.top, client.right - client.left, kDividerHeight,
                       GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNHIGHLIGHT));
        }
    }
    HGDIOBJ oldFont = SelectObject(dc, ControlFont(tb.font));
    SetBkMode(dc, TRANSPARENT);
    const Layout layout = LayoutButtons(hwnd, tb);
    for (size_t i = 0; i < tb.buttons.size() && i < layout.rects.size(); ++i) {
        if (IsHidden(tb.buttons[i])) {
            continue;
        }
        const UINT itemState = ItemState(hwnd, tb, static_cast<int>(i));
        LRESULT item = CDRF_DODEFAULT;
        if ((prepaint & CDRF_NOTIFYITEMDRAW) != 0) {
            cd.nmcd.dwDrawStage = CDDS_ITEMPREPAINT;
            cd.nmcd.rc = layout.rects[i];
            cd.nmcd.dwItemSpec = static_cast<DWORD_PTR>(tb.buttons[i].id);
            cd.nmcd.uItemState = itemState;
            cd.nmcd.lItemlParam = static_cast<LPARAM>(tb.buttons[i].data);
            cd.rcText = layout.rects[i];
            item = SendNotify(hwnd, NM_CUSTOMDRAW, &cd.nmcd.hdr, target);
            if (!IsWindow(hwnd) || StateOf<Toolbar>(hwnd) != &tb || i >= tb.buttons.size()) {
                return;
            }
        }
        if ((item & CDRF_SKIPDEFAULT) == 0) {
            PaintButton(hwnd, tb, dc, static_cast<int>(i), layout.rects[i], itemState);
        }
        if ((item & CDRF_NOTIFYPOSTPAINT) != 0) {
            cd.nmcd.dwDrawStage = CDDS_ITEMPOSTPAINT;
            SendNotify(hwnd, NM_CUSTOMDRAW, &cd.nmcd.hdr, target);
            if (!IsWindow(hwnd)) {
                return;
            }
        }
    }
    SelectObject(dc, oldFont);
    if ((prepaint & CDRF_NOTIFYPOSTPAINT) != 0) {
        cd.nmcd.dwDrawStage = CDDS_POSTPAINT;
        cd.nmcd.rc = client;
        cd.nmcd.dwItemSpec = 0;
        cd.nmcd.uItemState = 0;
        SendNotify(hwnd, NM_CUSTOMDRAW, &cd.nmcd.hdr, target);
    }
}

// Message handling --------------------------------------------------------------

LRESULT ByCommand(HWND hwnd, Toolbar& tb, WPARAM id, BYTE bit, bool on)
{
    const int index = IndexOfCommand(tb, id);
    if (index < 0) {
        return FALSE;
    }
    if (bit == TBSTATE_CHECKED && on && (tb.buttons[static_cast<size_t>(index)].style & BTNS_GROUP) != 0) {
        CheckInGroup(tb, index);
    } else {
        SetState(tb, index, bit, on);
    }
    if (bit == TBSTATE_HIDDEN) {
        Changed(hwnd, tb);
    } else {
        Redraw(hwnd);
    }
    return TRUE;
}

LRESULT IsState(Toolbar& tb, WPARAM id, BYTE bit)
{
    const int index = IndexOfCommand(tb, id);
    return index < 0 ? 0 : (tb.buttons[static_cast<size_t>(index)].state & bit);
}

void CreateOwnTooltip(HWND hwnd, Toolbar& tb)
{
    tb.tooltip = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP, 0, 0, 0, 0, hwnd, nullptr, nullptr, nullptr);
    tb.ownTooltip = tb.tooltip != nullptr;
}

LRESULT OnNotify(HWND hwnd, Toolbar& tb, WPARAM wParam, LPARAM lParam)
{
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    if (header == nullptr || header->hwndFrom != tb.tooltip) {
        return 0;
    }
    // The tooltip asks the toolbar; the toolbar asks its owner, then falls
    // back on the button's text.
    const LRESULT result = SendMessageA(NotifyWindow(hwnd, tb), WM_NOTIFY, wParam, lParam);
    if (header->code == TTN_NEEDTEXTA && IsWindow(hwnd)) {
        auto* info = reinterpret_cast<NMTTDISPINFOA*>(lParam);
        const int index = IndexOfCommand(tb, header->idFrom);
        if (index >= 0 && info->lpszText == info->szText && info->szText[0] == '\0') {
            CopyOut(tb.buttons[static_cast<size_t>(index)].text, info->szText, static_cast<int>(sizeof(info->szText)));
        }
    }
    return result;
}

LRESULT HandleToolbar(HWND hwnd, Toolbar& tb, UINT msg, WPARAM wParam, LPARAM lParam)
{
    const int count = static_cast<int>(tb.buttons.size());
    const int index = static_cast<int>(static_cast<intptr_t>(wParam));
    const bool validIndex = index >= 0 && index < count;
    switch (msg) {
    case TB_BUTTONSTRUCTSIZE: return 0; // one layout of TBBUTTON on this platform
    case TB_ADDBUTTONSA:
    case TB_INSERTBUTTONA: {
        const auto* records = reinterpret_cast<const TBBUTTON*>(lParam);
        const size_t n = msg == TB_ADDBUTTONSA ? wParam : 1;
        if (records == nullptr || n > kMaxButtonsPerCall) {
            return FALSE;
        }
        size_t at = tb.buttons.size();
        if (msg == TB_INSERTBUTTONA && validIndex) {
            at = static_cast<size_t>(index);
        }
        for (size_t i = 0; i < n; ++i) {
            tb.buttons.insert(tb.buttons.begin() + static_cast<ptrdiff_t>(at + i), FromRecord(tb, records[i]));
        }
        Changed(hwnd, tb);
        return TRUE;
    }
    case TB_DELETEBUTTON:
        if (!validIndex) {
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
    case TB_GETBUTTON: {
        auto* out = reinterpret_cast<TBBUTTON*>(lParam);
        if (!validIndex || out == nullptr) {
            return FALSE;
        }
        ToRecord(tb, tb.buttons[static_cast<size_t>(index)], *out);
        return TRUE;
    }
    case TB_BUTTONCOUNT: return count;
    case TB_COMMANDTOINDEX: return IndexOfCommand(tb, wParam);
    case TB_ENABLEBUTTON: return ByCommand(hwnd, tb, wParam, TBSTATE_ENABLED, LOWORD(lParam) != 0);
    case TB_CHECKBUTTON: return ByCommand(hwnd, tb, wParam, TBSTATE_CHECKED, LOWORD(lParam) != 0);
    case TB_PRESSBUTTON: return ByCommand(hwnd, tb, wParam, TBSTATE_PRESSED, LOWORD(lParam) != 0);
    case TB_HIDEBUTTON: return ByCommand(hwnd, tb, wParam, TBSTATE_HIDDEN, LOWORD(lParam) != 0);
    case TB_INDETERMINATE: return ByCommand(hwnd, tb, wParam, TBSTATE_INDETERMINATE, LOWORD(lParam) != 0);
    case TB_ISBUTTONENABLED: return IsState(tb, wParam, TBSTATE_ENABLED);
    case TB_ISBUTTONCHECKED: return IsState(tb, wParam, TBSTATE_CHECKED);
    case TB_ISBUTTONPRESSED: return IsState(tb, wParam, TBSTATE_PRESSED);
    case TB_ISBUTTONHIDDEN: return IsState(tb, wParam, TBSTATE_HIDDEN);
    case TB_ISBUTTONINDETERMINATE: return IsState(tb, wParam, TBSTATE_INDETERMINATE);
    case TB_SETSTATE: {
        const int at = IndexOfCommand(tb, wParam);
        if (at < 0) {
            return FALSE;
        }
        const bool hiddenChanged = ((tb.buttons[static_cast<size_t>(at)].state ^ LOWORD(lParam)) & TBSTATE_HIDDEN) != 0;
        tb.buttons[static_cast<size_t>(at)].state = static_cast<BYTE>(LOWORD(lParam));
        if (hiddenChanged) {
            Changed(hwnd, tb);
        } else {
            Redraw(hwnd);
        }
        return TRUE;
    }
    case TB_GETSTATE: {
        const int at = IndexOfCommand(tb, wParam);
        return at < 0 ? -1 : tb.buttons[static_cast<size_t>(at)].state;
    }
    case TB_ADDBITMAP: {
        const int first = AddBitmap(tb, index, reinterpret_cast<const TBADDBITMAP*>(lParam));
        Redraw(hwnd);
        return first;
    }
    case TB_REPLACEBITMAP: {
        const BOOL done = ReplaceBitmap(tb, reinterpret_cast<const TBREPLACEBITMAP*>(lParam));
        Redraw(hwnd);
        return done;
    }
    case TB_ADDSTRINGA: return AddStrings(tb, reinterpret_cast<HINSTANCE>(wParam), lParam);
    case TB_GETBUTTONTEXTA: {
        const int at = IndexOfCommand(tb, wParam);
        if (at < 0) {
            return -1;
        }
        const std::string& text = tb.buttons[static_cast<size_t>(at)].text;
        if (lParam != 0) {
            // The caller sized its buffer by a call with a null buffer.
            CopyOut(text, reinterpret_cast<LPSTR>(lParam), static_cast<int>(text.size()) + 1);
        }
        return static_cast<LRESULT>(text.size());
    }
    case TB_GETITEMRECT: {
        auto* rect = reinterpret_cast<RECT*>(lParam);
        if (!validIndex || rect == nullptr || IsHidden(tb.buttons[static_cast<size_t>(index)])) {
            return FALSE;
        }
        *rect = LayoutButtons(hwnd, tb).rects[static_cast<size_t>(index)];
        return TRUE;
    }
    case TB_GETRECT: {
        const int at = IndexOfCommand(tb, wParam);
        auto* rect = reinterpret_cast<RECT*>(lParam);
        if (at < 0 || rect == nullptr || IsHidden(tb.buttons[static_cast<size_t>(at)])) {
            return FALSE;
        }
        *rect = LayoutButtons(hwnd, tb).rects[static_cast<size_t>(at)];
        return TRUE;
    }
    case TB_SETBUTTONSIZE:
        tb.buttonSize = SIZE{LOWORD(static_cast<uintptr_t>(lParam)), HIWORD(static_cast<uintptr_t>(lParam))};
        Changed(hwnd, tb);
        return TRUE;
    case TB_GETBUTTONSIZE: {
        const SIZE size = ButtonSize(tb, StyleOf(hwnd));
        return MAKELRESULT(static_cast<WORD>(size.cx), static_cast<WORD>(size.cy));
    }
    case TB_SETBITMAPSIZE: {
        const SIZE size{LOWORD(static_cast<uintptr_t>(lParam)), HIWORD(static_cast<uintptr_t>(lParam))};
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
    case TB_AUTOSIZE: AutoSize(hwnd, tb); return 0;
    case TB_GETTOOLTIPS: return reinterpret_cast<LRESULT>(tb.tooltip);
    case TB_SETTOOLTIPS:
        if (tb.ownTooltip && tb.tooltip != nullptr && reinterpret_cast<HWND>(wParam) != tb.tooltip) {
            DestroyWindow(tb.tooltip);
        }
        tb.tooltip = reinterpret_cast<HWND>(wParam);
        tb.ownTooltip = false;
        SyncTools(hwnd, tb);
        return 0;
    case TB_SETPARENT: return reinterpret_cast<LRESULT>(std::exchange(tb.notify, reinterpret_cast<HWND>(wParam)));
    case TB_GETROWS: return LayoutButtons(hwnd, tb).rows;
    case TB_SETROWS: return 0;
    case TB_SETCMDID:
        if (!validIndex) {
            return FALSE;
        }
        tb.buttons[static_cast<size_t>(index)].id = static_cast<int>(lParam);
        SyncTools(hwnd, tb);
        return TRUE;
    case TB_CHANGEBITMAP: {
        const int at = IndexOfCommand(tb, wParam);
        if (at < 0) {
            return FALSE;
        }
        tb.buttons[static_cast<size_t>(at)].image = static_cast<int>(lParam);
        Redraw(hwnd);
        return TRUE;
    }
    case TB_GETBITMAP: {
        const int at = IndexOfCommand(tb, wParam);
        return at < 0 ? -1 : tb.buttons[static_cast<size_t>(at)].image;
    }
    case TB_SETINDENT:
        tb.indent = std::max(index, 0);
        Changed(hwnd, tb);
        return TRUE;
    case TB_SETIMAGELIST:
    case TB_SETHOTIMAGELIST:
    case TB_SETDISABLEDIMAGELIST: {
        HIMAGELIST& slot = msg == TB_SETIMAGELIST ? tb.images : msg == TB_SETHOTIMAGELIST ? tb.hotImages : tb.disabledImages;
        HIMAGELIST old = std::exchange(slot, reinterpret_cast<HIMAGELIST>(lParam));
        int cx = 0;
        int cy = 0;
        if (msg == TB_SETIMAGELIST && slot != nullptr && ImageList_GetIconSize(slot, &cx, &cy)) {
            tb.bitmapSize = SIZE{cx, cy};
        }
        Changed(hwnd, tb);
        return reinterpret_cast<LRESULT>(old);
    }
    case TB_GETIMAGELIST: return reinterpret_cast<LRESULT>(ImagesOf(tb));
    case TB_GETHOTIMAGELIST: return reinterpret_cast<LRESULT>(tb.hotImages);
    case TB_GETDISABLEDIMAGELIST: return reinterpret_cast<LRESULT>(tb.disabledImages);
    case TB_SETSTYLE:
        SetWindowLongPtrA(hwnd, GWL_STYLE, static_cast<LONG_PTR>(lParam));
        Changed(hwnd, tb);
        return 0;
    case TB_GETSTYLE: return static_cast<LRESULT>(StyleOf(hwnd));
    case TB_SETEXTENDEDSTYLE: {
        const DWORD old = std::exchange(tb.exStyle, static_cast<DWORD>(lParam));
        Changed(hwnd, tb);
        return static_cast<LRESULT>(old);
    }
    case TB_GETEXTENDEDSTYLE: return static_cast<LRESULT>(tb.exStyle);
    case TB_GETBUTTONINFOA:
    case TB_SETBUTTONINFOA: {
        auto* info = reinterpret_cast<TBBUTTONINFOA*>(lParam);
        if (info == nullptr || info->cbSize != sizeof(TBBUTTONINFOA)) {
            return msg == TB_GETBUTTONINFOA ? -1 : FALSE;
        }
        const int at = (info->dwMask & TBIF_BYINDEX) != 0 ? (validIndex ? index : -1) : IndexOfCommand(tb, wParam);
        if (at < 0) {
            return msg == TB_GETBUTTONINFOA ? -1 : FALSE;
        }
        Button& b = tb.buttons[static_cast<size_t>(at)];
        if (msg == TB_GETBUTTONINFOA) {
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
    case TB_HITTEST: {
        const auto* pt = reinterpret_cast<const POINT*>(lParam);
        if (pt == nullptr) {
            return -1;
        }
        bool separator = false;
        const int at = ButtonAt(hwnd, tb, *pt, &separator);
        return at < 0 ? -1 : (separator ? -at - 1 : at);
    }
    case TB_GETHOTITEM: return tb.hot;
    case TB_SETHOTITEM: {
        const int old = tb.hot;
        tb.hot = validIndex ? index : -1;
        Redraw(hwnd);
        return old;
    }
    case TB_GETMAXSIZE: {
        auto* size = reinterpret_cast<SIZE*>(lParam);
        if (size == nullptr) {
            return FALSE;
        }
        *size = LayoutButtons(hwnd, tb).extent;
        return TRUE;
    }
    case TB_GETPADDING: return MAKELRESULT(kButtonExtra, kButtonExtra);
    case TB_SETPADDING: return MAKELRESULT(kButtonExtra, kButtonExtra);
    case TB_SETCOLORSCHEME: {
        const auto* scheme = reinterpret_cast<const COLORSCHEME*>(lParam);
        if (scheme != nullptr && scheme->dwSize >= sizeof(COLORSCHEME)) {
            tb.scheme = *scheme;
            Redraw(hwnd);
        }
        return 0;
    }
    case TB_GETCOLORSCHEME: {
        auto* scheme = reinterpret_cast<COLORSCHEME*>(lParam);
        if (scheme == nullptr || scheme->dwSize < sizeof(COLORSCHEME)) {
            return FALSE;
        }
        *scheme = tb.scheme;
        return TRUE;
    }

    case WM_CREATE:
        if ((StyleOf(hwnd) & TBSTYLE_TOOLTIPS) != 0) {
            CreateOwnTooltip(hwnd, tb);
        }
        AutoSize(hwnd, tb);
        return 0;
    case WM_SIZE: Changed(hwnd, tb); return 0;
    case WM_NOTIFY: return OnNotify(hwnd, tb, wParam, lParam);
    case WM_SETFONT:
        tb.font = reinterpret_cast<HFONT>(wParam);
        if (lParam != 0) {
            Changed(hwnd, tb);
        }
        return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(tb.font);
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MOUSEMOVE: {
        if (tb.tooltip != nullptr && IsWindow(tb.tooltip)) {
            MSG relayed{hwnd, msg, wParam, lParam, static_cast<DWORD>(GetMessageTime()), {}};
            SendMessageA(tb.tooltip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
            if (!IsWindow(hwnd)) {
                return 0;
            }
        }
        if (msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK) {
            OnButtonDown(hwnd, tb, lParam);
        } else if (msg == WM_LBUTTONUP) {
            OnButtonUp(hwnd, tb, lParam);
        } else if (msg == WM_MOUSEMOVE) {
            OnMouseMove(hwnd, tb, lParam);
        } else if (msg == WM_RBUTTONUP) {
            NMMOUSE nm{};
            nm.pt = PointOf(lParam);
            const int at = ButtonAt(hwnd, tb, nm.pt);
            nm.dwItemSpec = at < 0 ? static_cast<DWORD_PTR>(-1) : static_cast<DWORD_PTR>(tb.buttons[static_cast<size_t>(at)].id);
            SendNotify(hwnd, NM_RCLICK, &nm.hdr, NotifyWindow(hwnd, tb));
        }
        return 0;
    }
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lParam) != hwnd && tb.pressed >= 0 && tb.pressed < count) {
            SetState(tb, tb.pressed, TBSTATE_PRESSED, false);
            tb.pressed = -1;
            Redraw(hwnd);
        }
        return 0;
    case WM_ERASEBKGND: return TRUE;
    case WM_PAINT: {
        PAINTSTRUCT ps{};
        HDC dc = BeginPaint(hwnd, &ps);
        if (dc != nullptr) {
            Paint(hwnd, tb, dc);
        }
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_DESTROY:
        if (tb.ownTooltip && tb.tooltip != nullptr) {
            DestroyWindow(tb.tooltip);
        }
        tb.tooltip = nullptr;
        return 0;
    case WM_NCDESTROY:
        if (tb.own != nullptr) {
            ImageList_Destroy(tb.own);
            tb.own = nullptr;
        }
        return 0;
    default: return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

} // namespace

LRESULT ToolbarProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return StatefulProc<Toolbar, HandleToolbar>(hwnd, msg, wParam, lParam);
}

} // namespace nuvex::controls
