// Popup menus on screen: the "#32768" window class, item layout and
// painting, the menu bar's items, and the modal loop of TrackPopupMenu with
// mouse and keyboard navigation, WM_MENUCHAR, WM_CANCELMODE and the
// WH_MSGFILTER (MSGF_MENU) hook.
//
// Loop precedence for every message taken from the queue:
//   1. WM_QUIT ends the loop (cancelled) and is posted again for the caller.
//   2. The WH_MSGFILTER hooks (code MSGF_MENU) may take the message.
//   3. WM_CANCELMODE ends the loop (cancelled) and is then dispatched.
//   4. Mouse messages are the menu's: they select, open, choose or cancel.
//   5. Keys navigate; WM_CHAR chooses by mnemonic or asks the owner.
//   6. Everything else is translated and dispatched as usual.
#include <algorithm>
#include <cctype>

#include "platform/gdi/gdi.h"
#include "platform/gdi/gdiframe.h"
#include "platform/gdi/gditext.h"
#include "platform/user/input.h"
#include "platform/user/menu_model.h"
#include "platform/user/nonclient.h"

namespace nuvex::user {
namespace {

constexpr int kPopupFrame = 3;        // the popup's raised frame
constexpr int kSeparatorHeight = 9;
constexpr int kCheckColumn = 17;      // check mark column left of the text
constexpr int kArrowColumn = 17;      // submenu arrow column right of the text
constexpr int kAcceleratorGap = 16;
constexpr int kBarItemPadding = 8;    // each side of a menu bar item's text
constexpr int kFallbackCharWidth = 7; // when no font can measure

struct PopupLevel {
    HMENU menu = nullptr;
    HWND window = nullptr;
    int selected = -1;
    std::vector<RECT> items; // client coordinates
};

struct MenuTracker {
    HWND owner = nullptr;
    UINT flags = 0;
    bool fromBar = false;  // opened from a frame's menu bar
    int barStep = 0;       // -1 / +1: the bar's neighbouring item is wanted
    std::vector<PopupLevel> levels;
    bool done = false;
    bool chose = false;
    UINT chosen = 0;
};

MenuTracker* g_tracker = nullptr;

SIZE TextSize(const std::string& text)
{
    if (text.empty()) {
        return {0, 0};
    }
    if (HDC dc = GetDC(nullptr)) {
        HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
        SIZE size{};
        const BOOL ok = GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
        SelectObject(dc, old);
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

bool Selectable(const MenuItem& it) { return (it.type & MFT_SEPARATOR) == 0; }
bool Choosable(const MenuItem& it)
{
    return Selectable(it) && it.subMenu == nullptr && (it.state & (MF_GRAYED | MF_DISABLED)) == 0;
}

SIZE MeasureItem(HWND owner, const MenuItem& it, bool bar)
{
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

// Item rectangles of a popup, client coordinates; returns the client size.
SIZE LayoutPopup(HWND owner, const MenuData& menu, std::vector<RECT>* rects)
{
    std::vector<SIZE> sizes;
    int width = 0;
    for (const MenuItem& it : menu.items) {
        sizes.push_back(MeasureItem(owner, it, false));
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

// Item rectangles of a menu bar in window coordinates inside `bar`.
std::vector<RECT> LayoutBar(HWND owner, const MenuData& menu, const RECT& bar)
{
    std::vector<RECT> rects;
    int x = bar.left;
    for (const MenuItem& it : menu.items) {
        const SIZE s = MeasureItem(owner, it, true);
        rects.push_back(RECT{x, bar.top, x + s.cx, bar.bottom});
        x += s.cx;
    }
    return rects;
}

void DrawItem(HWND owner, HMENU menu, HDC dc, const MenuItem& it, const RECT& r, bool selected, bool bar)
{
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
    HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
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
    SelectObject(dc, oldFont);
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
                     static_cast<int>(i) == level->selected, false);
            // Owner drawing may have changed the menu; look it up again.
            menu = FindMenu(level->menu);
            if (menu == nullptr) {
                break;
            }
        }
    }
    EndPaint(hwnd, &ps);
}

int ItemAt(const PopupLevel& level, POINT screen)
{
    POINT p = screen;
    ScreenToClient(level.window, &p);
    for (size_t i = 0; i < level.items.size(); ++i) {
        if (PtInRect(&level.items[i], p) != FALSE) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void CloseLevelsFrom(MenuTracker& t, size_t first)
{
    while (t.levels.size() > first) {
        PopupLevel level = t.levels.back();
        if ((t.flags & TPM_NONOTIFY) == 0) {
            Send(t.owner, WM_UNINITMENUPOPUP, reinterpret_cast<WPARAM>(level.menu), 0);
        }
        if (W(level.window) != nullptr) {
            ShowWindow(level.window, SW_HIDE);
            DestroyWindow(level.window);
        }
        t.levels.pop_back();
    }
}

bool OpenLevel(MenuTracker& t, HMENU menu, POINT at, UINT align, const RECT* exclude, UINT position)
{
    if ((t.flags & TPM_NONOTIFY) == 0) {
        Send(t.owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), MAKELPARAM(static_cast<WORD>(position), 0));
    }
    const MenuData* data = FindMenu(menu);
    if (data == nullptr || data->items.empty()) {
        return false;
    }
    PopupLevel level;
    level.menu = menu;
    const SIZE client = LayoutPopup(t.owner, *data, &level.items);
    const int width = client.cx + 2 * kPopupFrame;
    const int height = client.cy + 2 * kPopupFrame;
    const int screenW = GetSystemMetrics(SM_CXSCREEN);
    const int screenH = GetSystemMetrics(SM_CYSCREEN);
    int x = at.x;
    int y = at.y;
    if ((align & TPM_RIGHTALIGN) != 0) {
        x -= width;
    } else if ((align & TPM_CENTERALIGN) != 0) {
        x -= width / 2;
    }
    if ((align & TPM_BOTTOMALIGN) != 0) {
        y -= height;
    } else if ((align & TPM_VCENTERALIGN) != 0) {
        y -= height / 2;
    }
    if (exclude != nullptr) {
        RECT popup{x, y, x + width, y + height};
        RECT overlap{};
        if (IntersectRect(&overlap, &popup, exclude) != FALSE) {
            if ((align & TPM_VERTICAL) != 0) {
                y = exclude->bottom + height <= screenH ? exclude->bottom : exclude->top - height;
            } else {
                x = exclude->right + width <= screenW ? exclude->right : exclude->left - width;
            }
        }
    }
    x = std::clamp(x, 0, std::max(0, screenW - width));
    y = std::clamp(y, 0, std::max(0, screenH - height));
    level.window = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE, "#32768",
                                   "", WS_POPUP | WS_BORDER | WS_CLIPSIBLINGS, x, y, width, height, t.owner, nullptr,
                                   nullptr, menu);
    if (level.window == nullptr) {
        return false;
    }
    t.levels.push_back(level);
    // Shown by placing it, so that a window procedure that draws its own
    // frame (a subclassed popup) adjusts the size and the frame first.
    SetWindowPos(level.window, HWND_TOPMOST, x, y, width, height,
                 SWP_NOACTIVATE | SWP_SHOWWINDOW | SWP_FRAMECHANGED);
    UpdateWindow(level.window);
    return true;
}

void Select(MenuTracker& t, size_t levelIndex, int item, bool byMouse, bool openSubmenu = true)
{
    if (levelIndex >= t.levels.size()) {
        return;
    }
    PopupLevel& level = t.levels[levelIndex];
    if (level.selected == item) {
        return; // the same item again: its submenu (if open) stays
    }
    CloseLevelsFrom(t, levelIndex + 1);
    PopupLevel& same = t.levels[levelIndex];
    same.selected = item;
    InvalidateRect(same.window, nullptr, FALSE);
    const MenuData* data = FindMenu(same.menu);
    if (data == nullptr || item < 0 || static_cast<size_t>(item) >= data->items.size()) {
        return;
    }
    const MenuItem it = data->items[static_cast<size_t>(item)];
    if ((t.flags & TPM_NONOTIFY) == 0) {
        const UINT bits = (it.state | it.type | (it.subMenu != nullptr ? MF_POPUP : 0u) | MF_HILITE |
                           (byMouse ? MF_MOUSESELECT : 0u)) & 0xFFFF;
        const WORD low = it.subMenu != nullptr ? static_cast<WORD>(item) : static_cast<WORD>(it.id);
        Send(t.owner, WM_MENUSELECT, MAKEWPARAM(low, static_cast<WORD>(bits)), reinterpret_cast<LPARAM>(same.menu));
    }
    if (openSubmenu && it.subMenu != nullptr && (it.state & (MF_GRAYED | MF_DISABLED)) == 0 &&
        levelIndex < t.levels.size()) {
        const PopupLevel& parent = t.levels[levelIndex];
        RECT r = parent.items[static_cast<size_t>(item)];
        POINT corner{r.right, r.top};
        ClientToScreen(parent.window, &corner);
        RECT exclude = r;
        MapWindowPoints(parent.window, nullptr, reinterpret_cast<POINT*>(&exclude), 2);
        OpenLevel(t, it.subMenu, POINT{corner.x + kPopupFrame, corner.y - kPopupFrame}, 0, nullptr,
                  static_cast<UINT>(item));
    }
}

void SelectFirst(MenuTracker& t)
{
    PopupLevel& level = t.levels.back();
    const MenuData* data = FindMenu(level.menu);
    if (data == nullptr) {
        return;
    }
    for (size_t i = 0; i < data->items.size(); ++i) {
        if (Selectable(data->items[i])) {
            level.selected = static_cast<int>(i);
            InvalidateRect(level.window, nullptr, FALSE);
            return;
        }
    }
}

void Choose(MenuTracker& t, size_t levelIndex, int item)
{
    const MenuData* data = FindMenu(t.levels[levelIndex].menu);
    if (data == nullptr || item < 0 || static_cast<size_t>(item) >= data->items.size()) {
        return;
    }
    const MenuItem& it = data->items[static_cast<size_t>(item)];
    if (it.subMenu != nullptr) {
        if (t.levels.size() == levelIndex + 1 || t.levels[levelIndex].selected != item) {
            t.levels[levelIndex].selected = -1; // selects again and opens
            Select(t, levelIndex, item, false);
        }
        if (t.levels.size() > levelIndex + 1) {
            SelectFirst(t);
        }
        return;
    }
    if (!Choosable(it)) {
        return;
    }
    t.chose = true;
    t.chosen = it.id;
    t.done = true;
}

void Cancel(MenuTracker& t) { t.done = true; }

bool IsMouseMessage(UINT m)
{
    return (m >= WM_MOUSEMOVE && m <= WM_MBUTTONDBLCLK) || (m >= WM_NCMOUSEMOVE && m <= WM_NCMBUTTONDBLCLK);
}

void HandleMouse(MenuTracker& t, const MSG& msg)
{
    const UINT m = msg.message >= WM_NCMOUSEMOVE && msg.message <= WM_NCMBUTTONDBLCLK
                       ? msg.message - (WM_NCMOUSEMOVE - WM_MOUSEMOVE)
                       : msg.message;
    int levelIndex = -1;
    for (int i = static_cast<int>(t.levels.size()) - 1; i >= 0; --i) {
        RECT r{};
        GetWindowRect(t.levels[static_cast<size_t>(i)].window, &r);
        if (PtInRect(&r, msg.pt) != FALSE) {
            levelIndex = i;
            break;
        }
    }
    const bool down = m == WM_LBUTTONDOWN || m == WM_RBUTTONDOWN || m == WM_MBUTTONDOWN || m == WM_LBUTTONDBLCLK ||
                      m == WM_RBUTTONDBLCLK;
    const bool up = m == WM_LBUTTONUP || (m == WM_RBUTTONUP && (t.flags & TPM_RIGHTBUTTON) != 0);
    if (levelIndex < 0) {
        if (down) {
            Cancel(t);
        }
        return;
    }
    const size_t index = static_cast<size_t>(levelIndex);
    const int item = ItemAt(t.levels[index], msg.pt);
    if (m == WM_MOUSEMOVE || down) {
        if (item >= 0) {
            Select(t, index, item, true);
        }
    } else if (up && item >= 0) {
        Choose(t, index, item);
    }
}

void MoveSelection(MenuTracker& t, int step)
{
    PopupLevel& level = t.levels.back();
    const MenuData* data = FindMenu(level.menu);
    if (data == nullptr || data->items.empty()) {
        return;
    }
    const int n = static_cast<int>(data->items.size());
    int at = level.selected;
    for (int i = 0; i < n; ++i) {
        at = at < 0 ? (step > 0 ? 0 : n - 1) : (at + step + n) % n;
        if (Selectable(data->items[static_cast<size_t>(at)])) {
            // A keyboard move does not open the submenu until Right or Enter.
            Select(t, t.levels.size() - 1, at, false, false);
            return;
        }
    }
}

bool HandleKey(MenuTracker& t, const MSG& msg)
{
    const size_t deepest = t.levels.size() - 1;
    const int selected = t.levels[deepest].selected;
    switch (msg.wParam) {
    case VK_DOWN: MoveSelection(t, 1); return true;
    case VK_UP: MoveSelection(t, -1); return true;
    case VK_RIGHT: {
        const MenuData* data = FindMenu(t.levels[deepest].menu);
        if (selected >= 0 && data != nullptr && data->items[static_cast<size_t>(selected)].subMenu != nullptr) {
            Choose(t, deepest, selected);
        } else if (t.fromBar) {
            t.barStep = 1;
            Cancel(t);
        }
        return true;
    }
    case VK_LEFT:
        if (t.levels.size() > 1) {
            CloseLevelsFrom(t, t.levels.size() - 1);
        } else if (t.fromBar) {
            t.barStep = -1;
            Cancel(t);
        }
        return true;
    case VK_RETURN:
        if (selected >= 0) {
            Choose(t, deepest, selected);
        }
        return true;
    case VK_ESCAPE:
        if (t.levels.size() > 1) {
            CloseLevelsFrom(t, t.levels.size() - 1);
        } else {
            Cancel(t);
        }
        return true;
    case VK_MENU:
    case VK_F10: Cancel(t); return true;
    default: return false;
    }
}

void HandleCharacter(MenuTracker& t, const MSG& msg)
{
    const size_t deepest = t.levels.size() - 1;
    PopupLevel& level = t.levels[deepest];
    const MenuData* data = FindMenu(level.menu);
    if (data == nullptr) {
        return;
    }
    const char typed = static_cast<char>(std::tolower(static_cast<int>(msg.wParam & 0xFF)));
    std::vector<int> matches;
    for (size_t i = 0; i < data->items.size(); ++i) {
        const std::string key = MnemonicOf(data->items[i].text);
        if (!key.empty() && key[0] == typed && Selectable(data->items[i])) {
            matches.push_back(static_cast<int>(i));
        }
    }
    if (matches.size() == 1) {
        Choose(t, deepest, matches.front());
        return;
    }
    if (matches.size() > 1) {
        auto next = std::upper_bound(matches.begin(), matches.end(), level.selected);
        Select(t, deepest, next == matches.end() ? matches.front() : *next, false, false);
        return;
    }
    const LRESULT answer = Send(t.owner, WM_MENUCHAR, MAKEWPARAM(static_cast<WORD>(msg.wParam & 0xFFFF), MF_POPUP),
                                reinterpret_cast<LPARAM>(level.menu));
    const int item = static_cast<int>(LOWORD(static_cast<uintptr_t>(answer)));
    switch (HIWORD(static_cast<uintptr_t>(answer))) {
    case MNC_EXECUTE: Choose(t, deepest, item); break;
    case MNC_SELECT: Select(t, deepest, item, false, false); break;
    case MNC_CLOSE: Cancel(t); break;
    default: break;
    }
}

// The tracker's mouse and key state; restores the previous loop's (none)
// whatever way the loop ends.
class TrackerScope {
public:
    explicit TrackerScope(MenuTracker* tracker) : m_previous(g_tracker) { g_tracker = tracker; }
    ~TrackerScope() { g_tracker = m_previous; }
    TrackerScope(const TrackerScope&) = delete;
    TrackerScope& operator=(const TrackerScope&) = delete;

private:
    MenuTracker* m_previous;
};

void RunLoop(MenuTracker& t)
{
    while (!t.done && !t.levels.empty()) {
        MSG msg{};
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE) == FALSE) {
            if ((t.flags & TPM_NONOTIFY) == 0) {
                Send(t.owner, WM_ENTERIDLE, MSGF_MENU, reinterpret_cast<LPARAM>(t.levels.back().window));
            }
            if (!t.done && PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE) == FALSE && !WaitForInput()) {
                // Nothing can ever happen: nobody will choose an item.
                Cancel(t);
            }
            continue;
        }
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            Cancel(t);
            break;
        }
        if (CallMsgFilterA(&msg, MSGF_MENU) != FALSE) {
            continue;
        }
        if (msg.message == WM_CANCELMODE) {
            Cancel(t);
            DispatchMessageA(&msg);
            break;
        }
        if (IsMouseMessage(msg.message)) {
            HandleMouse(t, msg);
            continue;
        }
        if (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) {
            if (!HandleKey(t, msg)) {
                TranslateMessage(&msg);
            }
            continue;
        }
        if (msg.message == WM_CHAR || msg.message == WM_SYSCHAR) {
            HandleCharacter(t, msg);
            continue;
        }
        if (msg.message == WM_KEYUP || msg.message == WM_SYSKEYUP) {
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

} // namespace

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
        DrawItem(hwnd, menu, dc, items[i], rects[i], (items[i].state & MF_HILITE) != 0, true);
    }
}

} // namespace nuvex::user

using namespace nuvex::user;

namespace nuvex::user {

// The popup loop; `fromBar` lets Left and Right leave it for the frame
// menu bar's neighbouring item, reported in `barStep`.
BOOL TrackMenu(HMENU menu, UINT flags, int x, int y, HWND owner, const TPMPARAMS* params, bool fromBar, int* barStep)
{
    if (FindMenu(menu) == nullptr || W(owner) == nullptr || g_tracker != nullptr) {
        return FALSE;
    }
    MenuTracker tracker;
    tracker.owner = owner;
    tracker.flags = flags;
    tracker.fromBar = fromBar;
    TrackerScope scope(&tracker);
    Send(owner, WM_ENTERMENULOOP, TRUE, 0);
    if ((flags & TPM_NONOTIFY) == 0 && W(owner) != nullptr) {
        Send(owner, WM_INITMENU, reinterpret_cast<WPARAM>(menu), 0);
    }
    const RECT* exclude = params != nullptr && params->cbSize >= sizeof(TPMPARAMS) ? &params->rcExclude : nullptr;
    if (W(owner) != nullptr && OpenLevel(tracker, menu, POINT{x, y}, flags, exclude, 0)) {
        RunLoop(tracker);
    }
    CloseLevelsFrom(tracker, 0);
    if (W(owner) != nullptr) {
        if ((flags & TPM_NONOTIFY) == 0) {
            Send(owner, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
        }
        Send(owner, WM_EXITMENULOOP, TRUE, 0);
    }
    if (barStep != nullptr) {
        *barStep = tracker.barStep;
    }
    if (!tracker.chose) {
        return FALSE;
    }
    if ((flags & TPM_RETURNCMD) != 0) {
        return static_cast<BOOL>(tracker.chosen);
    }
    PostMessageA(owner, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(tracker.chosen), 0), 0);
    return TRUE;
}

} // namespace nuvex::user

BOOL TrackPopupMenuEx(HMENU menu, UINT flags, int x, int y, HWND owner, const TPMPARAMS* params)
{
    return TrackMenu(menu, flags, x, y, owner, params, false, nullptr);
}

BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int, HWND owner, const RECT*)
{
    return TrackPopupMenuEx(menu, flags, x, y, owner, nullptr);
}

BOOL EndMenu()
{
    if (g_tracker == nullptr) {
        return FALSE;
    }
    g_tracker->done = true;
    return TRUE;
}

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

namespace nuvex::user {

void TrackMenuBar(HWND hwnd, int position)
{
    for (int guard = 0; guard < 64 && position >= 0; ++guard) {
        Window* w = W(hwnd);
        HMENU bar = w != nullptr ? w->menu : nullptr;
        const int count = GetMenuItemCount(bar);
        if (bar == nullptr || position >= count) {
            return;
        }
        HMENU popup = GetSubMenu(bar, position);
        if (popup == nullptr) {
            const UINT id = GetMenuItemID(bar, position);
            if ((GetMenuState(bar, id, MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED)) == 0) {
                PostMessageA(hwnd, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), 0), 0);
            }
            return;
        }
        RECT item{};
        GetMenuItemRect(hwnd, bar, static_cast<UINT>(position), &item);
        HiliteMenuItem(hwnd, bar, static_cast<UINT>(position), MF_BYPOSITION | MF_HILITE);
        DrawMenuBar(hwnd);
        TPMPARAMS params{sizeof(TPMPARAMS), item};
        int step = 0;
        TrackMenu(popup, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_VERTICAL, item.left, item.bottom, hwnd, &params, true,
                  &step);
        if (W(hwnd) == nullptr || IsMenu(bar) == FALSE) {
            return;
        }
        HiliteMenuItem(hwnd, bar, static_cast<UINT>(position), MF_BYPOSITION | MF_UNHILITE);
        DrawMenuBar(hwnd);
        if (step == 0) {
            return;
        }
        position = (position + step + count) % count;
    }
}

} // namespace nuvex::user
