// The modal loop of TrackPopupMenu with mouse and keyboard navigation,
// WM_MENUCHAR, WM_CANCELMODE and the WH_MSGFILTER (MSGF_MENU) hook, and the
// frame menu bar's walk from popup to popup.
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
#include "platform/user/menu_tracker.h"
#include "platform/user/nonclient.h"

namespace nuvex::user {

MenuTracker* g_tracker = nullptr;

namespace {

constexpr int kPopupFrame = 3;        // the popup's raised frame

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

// How an item came to be selected: the owner hears MF_MOUSESELECT for the
// mouse.
enum class SelectedBy { Keyboard, Mouse };
// Whether selecting an item with a submenu opens it.
enum class Submenu { Open, StayClosed };

void Select(MenuTracker& t, size_t levelIndex, int item, SelectedBy by, Submenu submenu = Submenu::Open)
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
                           (by == SelectedBy::Mouse ? MF_MOUSESELECT : 0u)) & 0xFFFF;
        const WORD low = it.subMenu != nullptr ? static_cast<WORD>(item) : static_cast<WORD>(it.id);
        Send(t.owner, WM_MENUSELECT, MAKEWPARAM(low, static_cast<WORD>(bits)), reinterpret_cast<LPARAM>(same.menu));
    }
    if (submenu == Submenu::Open && it.subMenu != nullptr && (it.state & (MF_GRAYED | MF_DISABLED)) == 0 &&
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
            Select(t, levelIndex, item, SelectedBy::Keyboard);
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
            Select(t, index, item, SelectedBy::Mouse);
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
            Select(t, t.levels.size() - 1, at, SelectedBy::Keyboard, Submenu::StayClosed);
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
        Select(t, deepest, next == matches.end() ? matches.front() : *next, SelectedBy::Keyboard,
               Submenu::StayClosed);
        return;
    }
    const LRESULT answer = Send(t.owner, WM_MENUCHAR, MAKEWPARAM(static_cast<WORD>(msg.wParam & 0xFFFF), MF_POPUP),
                                reinterpret_cast<LPARAM>(level.menu));
    const int item = static_cast<int>(LOWORD(static_cast<uintptr_t>(answer)));
    switch (HIWORD(static_cast<uintptr_t>(answer))) {
    case MNC_EXECUTE: Choose(t, deepest, item); break;
    case MNC_SELECT: Select(t, deepest, item, SelectedBy::Keyboard, Submenu::StayClosed); break;
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

// The popup loop; opened from the menu bar, Left and Right leave it for the
// frame menu bar's neighbouring item, reported in `barStep`.
BOOL TrackMenu(HMENU menu, UINT flags, int x, int y, HWND owner, const TPMPARAMS* params, MenuOpenedFrom from,
               int* barStep)
{
    if (FindMenu(menu) == nullptr || W(owner) == nullptr || g_tracker != nullptr) {
        return FALSE;
    }
    MenuTracker tracker;
    tracker.owner = owner;
    tracker.flags = flags;
    tracker.fromBar = from == MenuOpenedFrom::MenuBar;
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

using namespace nuvex::user;

BOOL TrackPopupMenuEx(HMENU menu, UINT flags, int x, int y, HWND owner, const TPMPARAMS* params)
{
    return TrackMenu(menu, flags, x, y, owner, params, MenuOpenedFrom::Popup, nullptr);
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
        TrackMenu(popup, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_VERTICAL, item.left, item.bottom, hwnd, &params,
                  MenuOpenedFrom::MenuBar, &step);
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
