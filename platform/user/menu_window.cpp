// Popup menus on screen: the "#32768" window class, item layout and
// painting, and the menu bar's items. The modal loop that opens, navigates
// and closes the popups is in menu_loop.cpp.
#include <algorithm>
#include <cctype>

#include "platform/gdi/dc_guards.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/gdiframe.h"
#include "platform/gdi/gditext.h"
#include "platform/user/input.h"
#include "platform/user/menu_model.h"
#include "platform/user/menu_tracker.h"
#include "platform/user/nonclient.h"

namespace nuvex::user {
namespace {

constexpr int kSeparatorHeight = 9;
constexpr int kCheckColumn = 17;      // check mark column left of the text
constexpr int kArrowColumn = 17;      // submenu arrow column right of the text
constexpr int kAcceleratorGap = 16;
constexpr int kBarItemPadding = 8;    // each side of a menu bar item's text
constexpr int kFallbackCharWidth = 7; // when no font can measure

// Where an item stands: a popup's row or a menu bar's button.
enum class ItemPlace { Popup, MenuBar };

SIZE TextSize(const std::string& text)
{
    if (text.empty()) {
        return {0, 0};
    }
    if (HDC dc = GetDC(nullptr)) {
        SIZE size{};
        BOOL ok = FALSE;
        {
            const SelectedObject font(dc, GetStockObject(DEFAULT_GUI_FONT));
            ok = GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
        }
        ReleaseDC(nullptr, dc);
        if (ok != FALSE) {
            return size;
        }
    }
    return {static_cast<LONG>(text.size()) * kFallbackCharWidth, 13};
}

std::string WithoutAmpersands(const std::string& text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size()) {
            ++i;
        }
        out.push_back(text[i]);
    }
    return out;
}

// Label and accelerator, split at the tab.
std::pair<std::string, std::string> SplitText(const std::string& text)
{
    const size_t tab = text.find('\t');
    if (tab == std::string::npos) {
        return {WithoutAmpersands(text), {}};
    }
    return {WithoutAmpersands(text.substr(0, tab)), text.substr(tab + 1)};
}

SIZE MeasureItem(HWND owner, const MenuItem& it, ItemPlace place)
{
    const bool bar = place == ItemPlace::MenuBar;
    if ((it.type & MFT_OWNERDRAW) != 0) {
        MEASUREITEMSTRUCT mis{ODT_MENU, 0, it.id, 0, 0, it.data};
        Send(owner, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis));
        return {static_cast<LONG>(mis.itemWidth), static_cast<LONG>(mis.itemHeight)};
    }
    if ((it.type & MFT_SEPARATOR) != 0) {
        return {0, kSeparatorHeight};
    }
    const auto [label, accelerator] = SplitText(it.text);
    const SIZE text = TextSize(label);
    const int height = std::max(GetSystemMetrics(SM_CYMENU), static_cast<int>(text.cy) + 4);
    if (bar) {
        return {text.cx + 2 * kBarItemPadding, GetSystemMetrics(SM_CYMENU)};
    }
    int width = kCheckColumn + text.cx + kArrowColumn;
    if (!accelerator.empty()) {
        width += kAcceleratorGap + TextSize(accelerator).cx;
    }
    return {width, height};
}

// Item rectangles of a menu bar in window coordinates inside `bar`.
std::vector<RECT> LayoutBar(HWND owner, const MenuData& menu, const RECT& bar)
{
    std::vector<RECT> rects;
    int x = bar.left;
    for (const MenuItem& it : menu.items) {
        const SIZE s = MeasureItem(owner, it, ItemPlace::MenuBar);
        rects.push_back(RECT{x, bar.top, x + s.cx, bar.bottom});
        x += s.cx;
    }
    return rects;
}

void DrawItem(HWND owner, HMENU menu, HDC dc, const MenuItem& it, const RECT& r, bool selected, ItemPlace place)
{
    const bool bar = place == ItemPlace::MenuBar;
    UINT state = selected ? ODS_SELECTED : 0u;
    state |= (it.state & MF_GRAYED) != 0 ? ODS_GRAYED : 0u;
    state |= (it.state & MF_DISABLED) != 0 ? ODS_DISABLED : 0u;
    state |= (it.state & MF_CHECKED) != 0 ? ODS_CHECKED : 0u;
    state |= (it.state & MFS_DEFAULT) != 0 ? ODS_DEFAULT : 0u;
    if ((it.type & MFT_OWNERDRAW) != 0) {
        DRAWITEMSTRUCT dis{ODT_MENU, 0, it.id, ODA_DRAWENTIRE, state, reinterpret_cast<HWND>(menu), dc, r, it.data};
        Send(owner, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));
        // As on the platform, the submenu arrow of an owner-drawn popup
        // item is the system's.
        if (it.subMenu != nullptr && !bar) {
            RECT arrow{r.right - kArrowColumn, r.top, r.right, r.bottom};
            const bool grayed = (it.state & (MF_GRAYED | MF_DISABLED)) != 0;
            DrawMarlettGlyph(dc, &arrow, '8', GetSysColor(grayed ? COLOR_GRAYTEXT : COLOR_MENUTEXT));
        }
        return;
    }
    const MenuData* data = FindMenu(menu);
    HBRUSH back = data != nullptr && data->background != nullptr
                      ? data->background
                      : reinterpret_cast<HBRUSH>(static_cast<uintptr_t>((bar ? COLOR_MENUBAR : COLOR_MENU) + 1));
    RECT fill = r;
    FillRect(dc, &fill, selected ? reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(COLOR_HIGHLIGHT + 1)) : back);
    if ((it.type & MFT_SEPARATOR) != 0) {
        RECT line{r.left + 1, (r.top + r.bottom) / 2 - 1, r.right - 1, (r.top + r.bottom) / 2 + 1};
        DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
        return;
    }
    const bool grayed = (it.state & (MF_GRAYED | MF_DISABLED)) != 0;
    const COLORREF color = grayed ? GetSysColor(COLOR_GRAYTEXT)
                                  : GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT);
    if ((it.state & MF_CHECKED) != 0 && !bar) {
        RECT check{r.left, r.top, r.left + kCheckColumn, r.bottom};
        DrawMarlettGlyph(dc, &check, (it.type & MFT_RADIOCHECK) != 0 ? 'h' : 'a', color);
    }
    if (it.subMenu != nullptr && !bar) {
        RECT arrow{r.right - kArrowColumn, r.top, r.right, r.bottom};
        DrawMarlettGlyph(dc, &arrow, '8', color);
    }
    const auto [label, accelerator] = SplitText(it.text);
    const SelectedObject font(dc, GetStockObject(DEFAULT_GUI_FONT));
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColor = SetTextColor(dc, color);
    RECT textRect = r;
    if (bar) {
        DrawTextA(dc, it.text.c_str(), static_cast<int>(it.text.size()), &textRect,
                  DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    } else {
        textRect.left += kCheckColumn;
        textRect.right -= kArrowColumn;
        const std::string shown = it.text.substr(0, it.text.find('\t'));
        DrawTextA(dc, shown.c_str(), static_cast<int>(shown.size()), &textRect, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
        if (!accelerator.empty()) {
            DrawTextA(dc, accelerator.c_str(), static_cast<int>(accelerator.size()), &textRect,
                      DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_NOPREFIX);
        }
    }
    SetTextColor(dc, oldColor);
    SetBkMode(dc, oldMode);
}

PopupLevel* LevelOfWindow(HWND hwnd)
{
    if (g_tracker == nullptr) {
        return nullptr;
    }
    for (PopupLevel& level : g_tracker->levels) {
        if (level.window == hwnd) {
            return &level;
        }
    }
    return nullptr;
}

void PaintPopup(HWND hwnd)
{
    PAINTSTRUCT ps{};
    HDC dc = BeginPaint(hwnd, &ps);
    PopupLevel* level = LevelOfWindow(hwnd);
    const MenuData* menu = level != nullptr ? FindMenu(level->menu) : nullptr;
    if (dc != nullptr && menu != nullptr && g_tracker != nullptr) {
        for (size_t i = 0; i < menu->items.size() && i < level->items.size(); ++i) {
            DrawItem(g_tracker->owner, level->menu, dc, menu->items[i], level->items[i],
                     static_cast<int>(i) == level->selected, ItemPlace::Popup);
            // Owner drawing may have changed the menu; look it up again.
            menu = FindMenu(level->menu);
            if (menu == nullptr) {
                break;
            }
        }
    }
    EndPaint(hwnd, &ps);
}

} // namespace

bool Selectable(const MenuItem& it) { return (it.type & MFT_SEPARATOR) == 0; }
bool Choosable(const MenuItem& it)
{
    return Selectable(it) && it.subMenu == nullptr && (it.state & (MF_GRAYED | MF_DISABLED)) == 0;
}

SIZE LayoutPopup(HWND owner, const MenuData& menu, std::vector<RECT>* rects)
{
    std::vector<SIZE> sizes;
    int width = 0;
    for (const MenuItem& it : menu.items) {
        sizes.push_back(MeasureItem(owner, it, ItemPlace::Popup));
        width = std::max(width, static_cast<int>(sizes.back().cx));
    }
    rects->clear();
    int y = 0;
    for (const SIZE& s : sizes) {
        rects->push_back(RECT{0, y, width, y + s.cy});
        y += s.cy;
    }
    return {width, y};
}

LRESULT PopupMenuWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_NCCREATE: {
        const auto* cs = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(hwnd, 0, reinterpret_cast<LONG_PTR>(cs != nullptr ? cs->lpCreateParams : nullptr));
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
    case MN_GETHMENU: return GetWindowLongPtrA(hwnd, 0);
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    case WM_ERASEBKGND: {
        const MenuData* data = FindMenu(reinterpret_cast<HMENU>(GetWindowLongPtrA(hwnd, 0)));
        HBRUSH brush = data != nullptr && data->background != nullptr
                           ? data->background
                           : reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(COLOR_MENU + 1));
        RECT r{};
        GetClientRect(hwnd, &r);
        FillRect(reinterpret_cast<HDC>(wParam), &r, brush);
        return TRUE;
    }
    case WM_PAINT: PaintPopup(hwnd); return 0;
    default: return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

void PaintMenuBar(HWND hwnd, HDC dc, const RECT& bar)
{
    Window* w = W(hwnd);
    const MenuData* data = w != nullptr ? FindMenu(w->menu) : nullptr;
    if (data == nullptr) {
        return;
    }
    const std::vector<RECT> rects = LayoutBar(hwnd, *data, bar);
    const HMENU menu = data->handle;
    const std::vector<MenuItem> items = data->items;
    for (size_t i = 0; i < items.size(); ++i) {
        DrawItem(hwnd, menu, dc, items[i], rects[i], (items[i].state & MF_HILITE) != 0, ItemPlace::MenuBar);
    }
}

} // namespace nuvex::user

using namespace nuvex::user;

BOOL GetMenuItemRect(HWND hwnd, HMENU menu, UINT position, RECT* rect)
{
    if (rect == nullptr) {
        return FALSE;
    }
    if (g_tracker != nullptr) {
        for (const PopupLevel& level : g_tracker->levels) {
            if (level.menu == menu && position < level.items.size()) {
                *rect = level.items[position];
                MapWindowPoints(level.window, nullptr, reinterpret_cast<POINT*>(rect), 2);
                return TRUE;
            }
        }
    }
    Window* w = W(hwnd);
    const MenuData* data = FindMenu(menu);
    if (w == nullptr || data == nullptr || w->menu != menu || position >= data->items.size()) {
        return FALSE;
    }
    const NonClientLayout layout = ComputeNonClient(w);
    const std::vector<RECT> rects = LayoutBar(hwnd, *data, layout.menuBar);
    *rect = rects[position];
    const RECT screen = ScreenWindowRect(w);
    OffsetRect(rect, screen.left, screen.top);
    return TRUE;
}

int MenuItemFromPoint(HWND hwnd, HMENU menu, POINT screen)
{
    const MenuData* data = FindMenu(menu);
    if (data == nullptr) {
        return -1;
    }
    for (UINT i = 0; i < data->items.size(); ++i) {
        RECT r{};
        if (GetMenuItemRect(hwnd, menu, i, &r) != FALSE && PtInRect(&r, screen) != FALSE) {
            return static_cast<int>(i);
        }
    }
    return -1;
}
