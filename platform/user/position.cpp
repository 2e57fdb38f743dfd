// Window placement: SetWindowPos and its messages, showing and hiding,
// maximising, coordinates and mapping, hit-testing and the window under a
// point.
#include <algorithm>

#include "platform/user/window_system.h"

namespace nuvex::user {

Window* TopLevelOf(Window* w)
{
    Window* desktop = System().Desktop();
    while (w != nullptr && w->parent != desktop && w->parent != nullptr) {
        w = w->parent;
    }
    return w;
}

RECT ScreenWindowRect(const Window* w)
{
    RECT r = w->rect;
    for (const Window* p = w->parent; p != nullptr && p != System().Desktop(); p = p->parent) {
        const int dx = p->rect.left + p->client.left;
        const int dy = p->rect.top + p->client.top;
        r = {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
    }
    return r;
}

RECT ScreenClientRect(const Window* w)
{
    const RECT r = ScreenWindowRect(w);
    return {r.left + w->client.left, r.top + w->client.top, r.left + w->client.right, r.top + w->client.bottom};
}

bool IsReallyVisible(const Window* w)
{
    const Window* desktop = System().Desktop();
    for (; w != nullptr && w != desktop; w = w->parent) {
        if ((w->style & WS_VISIBLE) == 0) {
            return false;
        }
    }
    return w == desktop;
}

void ResizeSurface(Window* w)
{
    if (!IsTopLevel(w)) {
        return;
    }
    // At least one pixel, so that a DC of an empty window has a surface.
    const int width = std::max(Width(w->rect), 1);
    const int height = std::max(Height(w->rect), 1);
    const size_t needed = static_cast<size_t>(width) * static_cast<size_t>(height);
    if (w->pixels.size() == needed) {
        return;
    }
    // A resize keeps nothing: the window repaints what it shows.
    w->pixels.assign(needed, 0xFF000000u | GetSysColor(COLOR_WINDOW));
}

namespace {

// Moves `w` in its sibling list according to `insertAfter`.
void Reorder(Window* w, HWND insertAfter)
{
    auto& list = w->parent->children;
    list.erase(std::remove(list.begin(), list.end(), w), list.end());
    const bool desktopLevel = w->parent == System().Desktop();
    if (insertAfter == HWND_TOPMOST && desktopLevel) {
        w->exStyle |= WS_EX_TOPMOST;
        list.insert(list.begin(), w);
        return;
    }
    if (insertAfter == HWND_NOTOPMOST && desktopLevel) {
        w->exStyle &= ~WS_EX_TOPMOST;
        insertAfter = HWND_TOP;
    }
    if (insertAfter == HWND_BOTTOM) {
        list.push_back(w);
        return;
    }
    if (insertAfter == HWND_TOP || insertAfter == HWND_TOPMOST || insertAfter == HWND_NOTOPMOST) {
        auto at = list.begin();
        if (desktopLevel && (w->exStyle & WS_EX_TOPMOST) == 0) {
            while (at != list.end() && ((*at)->exStyle & WS_EX_TOPMOST) != 0) {
                ++at;
            }
        }
        list.insert(at, w);
        return;
    }
    auto after = std::find_if(list.begin(), list.end(), [&](Window* s) { return s->handle == insertAfter; });
    list.insert(after == list.end() ? list.end() : after + 1, w);
}

// After the child `w` changed its place among its siblings (`before` is the
// old order, topmost first): where it and a sibling overlap and their order
// flipped, the one now on top shows there and paints again.
void ShowRestacked(Window* w, const std::vector<Window*>& before)
{
    if ((w->style & WS_VISIBLE) == 0) {
        return;
    }
    const auto& after = w->parent->children;
    auto above = [](const std::vector<Window*>& list, const Window* a, const Window* b) {
        return std::find(list.begin(), list.end(), a) < std::find(list.begin(), list.end(), b);
    };
    for (Window* sibling : after) {
        RECT overlap{};
        if (sibling == w || (sibling->style & WS_VISIBLE) == 0 ||
            above(before, w, sibling) == above(after, w, sibling) ||
            IntersectRect(&overlap, &w->rect, &sibling->rect) == FALSE) {
            continue;
        }
        Window* shown = above(after, w, sibling) ? w : sibling;
        // Into the shown window's client coordinates.
        OffsetRect(&overlap, -(shown->rect.left + shown->client.left), -(shown->rect.top + shown->client.top));
        RedrawWindow(shown->handle, &overlap, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    }
}

// A top-level window may be activated: visible, enabled, not a child.
bool CanActivate(const Window* w)
{
    return w != nullptr && IsTopLevel(w) && (w->style & WS_VISIBLE) != 0 && (w->style & WS_DISABLED) == 0 &&
           (w->exStyle & WS_EX_NOACTIVATE) == 0 && !w->destroying;
}

// The window to activate when `gone` stops being active: its owner when it
// can be, else the topmost other top-level window that can.
Window* NextToActivate(Window* gone)
{
    if (gone->owner != nullptr && CanActivate(gone->owner)) {
        return gone->owner;
    }
    for (Window* top : System().Desktop()->children) {
        if (top != gone && CanActivate(top) && (top->exStyle & WS_EX_TOOLWINDOW) == 0) {
            return top;
        }
    }
    return nullptr;
}

} // namespace

void OnWindowHiddenOrGone(Window* w, WindowLeaving leaving)
{
    WindowSystem& system = System();
    const HWND hwnd = w->handle;
    if (system.capture != nullptr && (system.capture == hwnd || IsChild(hwnd, system.capture))) {
        ReleaseCapture();
    }
    if ((w = W(hwnd)) == nullptr) {
        return;
    }
    const bool focusInside = system.focus != nullptr && (system.focus == hwnd || IsChild(hwnd, system.focus));
    if (IsTopLevel(w) && system.active == hwnd) {
        Window* next = NextToActivate(w);
        if (next != nullptr) {
            SetActiveWindow(next->handle);
        } else {
            SetActiveWindow(nullptr);
        }
    } else if (focusInside) {
        Window* parent = w->parent;
        const bool toParent = leaving == WindowLeaving::Destroyed && parent != nullptr && parent != system.Desktop();
        SetFocus(toParent ? parent->handle : nullptr);
    }
    if ((w = W(hwnd)) != nullptr && system.focus != nullptr &&
        (system.focus == hwnd || IsChild(hwnd, system.focus))) {
        SetFocus(nullptr);
    }
}

LRESULT HitTest(HWND hwnd, POINT screen)
{
    return Send(hwnd, WM_NCHITTEST, 0, MAKELPARAM(static_cast<WORD>(screen.x), static_cast<WORD>(screen.y)));
}

namespace {

// Searches the children of `parent` (topmost first) for the window under
// `screen`; windows answering HTTRANSPARENT let the search go on below.
HWND Under(Window* parent, POINT screen, LRESULT* hit)
{
    std::vector<HWND> order;
    for (Window* child : parent->children) {
        order.push_back(child->handle);
    }
    for (HWND handle : order) {
        Window* child = W(handle);
        if (child == nullptr || (child->style & WS_VISIBLE) == 0) {
            continue;
        }
        RECT r = ScreenWindowRect(child);
        if (!PtInRect(&r, screen)) {
            continue;
        }
        // A disabled top-level window takes the point without acting on it;
        // a disabled child hides what lies under it and its parent is hit.
        if ((child->style & WS_DISABLED) != 0 && IsTopLevel(child)) {
            *hit = HTERROR;
            return handle;
        }
        if ((child->style & WS_DISABLED) != 0) {
            *hit = HTCLIENT;
            return parent != System().Desktop() ? parent->handle : nullptr;
        }
        RECT client = ScreenClientRect(child);
        if (PtInRect(&client, screen)) {
            LRESULT inner = HTNOWHERE;
            HWND deeper = Under(child, screen, &inner);
            if (deeper != nullptr) {
                *hit = inner;
                return deeper;
            }
        }
        LRESULT code = HitTest(handle, screen);
        if (code == HTTRANSPARENT) {
            continue;
        }
        *hit = code;
        return handle;
    }
    return nullptr;
}

} // namespace

HWND WindowUnder(POINT screen, LRESULT* hitCode)
{
    LRESULT hit = HTNOWHERE;
    HWND hwnd = Under(System().Desktop(), screen, &hit);
    if (hitCode != nullptr) {
        *hitCode = hwnd != nullptr ? hit : HTNOWHERE;
    }
    return hwnd;
}

} // namespace nuvex::user

using namespace nuvex::user;

BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags)
{
    WindowSystem& system = System();
    Window* w = W(hwnd);
    if (w == nullptr || w == system.Desktop()) {
        return FALSE;
    }
    const bool wasVisible = (w->style & WS_VISIBLE) != 0;
    if ((flags & SWP_SHOWWINDOW) != 0 && wasVisible) {
        flags &= ~SWP_SHOWWINDOW;
    }
    if ((flags & SWP_HIDEWINDOW) != 0 && !wasVisible) {
        flags &= ~SWP_HIDEWINDOW;
    }
    if ((flags & SWP_NOMOVE) == 0 && x == w->rect.left && y == w->rect.top) {
        flags |= SWP_NOMOVE;
    }
    if ((flags & SWP_NOSIZE) == 0 && cx == Width(w->rect) && cy == Height(w->rect)) {
        flags |= SWP_NOSIZE;
    }
    WINDOWPOS pos{hwnd, insertAfter, x, y, std::max(cx, 0), std::max(cy, 0), flags};
    if ((flags & SWP_NOMOVE) != 0) {
        pos.x = w->rect.left;
        pos.y = w->rect.top;
    }
    if ((flags & SWP_NOSIZE) != 0) {
        pos.cx = Width(w->rect);
        pos.cy = Height(w->rect);
    }
    if ((flags & SWP_NOSENDCHANGING) == 0) {
        Send(hwnd, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&pos));
        if ((w = W(hwnd)) == nullptr) {
            return FALSE;
        }
        pos.cx = std::max(pos.cx, 0);
        pos.cy = std::max(pos.cy, 0);
    }
    const RECT oldRect = w->rect;
    const RECT oldClient = w->client;
    RECT newRect{pos.x, pos.y, pos.x + pos.cx, pos.y + pos.cy};
    const bool sized = Width(newRect) != Width(oldRect) || Height(newRect) != Height(oldRect);
    const bool moved = newRect.left != oldRect.left || newRect.top != oldRect.top;
    if (sized || moved || (pos.flags & SWP_FRAMECHANGED) != 0) {
        NCCALCSIZE_PARAMS params{};
        params.rgrc[0] = newRect;
        params.rgrc[1] = oldRect;
        params.rgrc[2] = {oldRect.left + oldClient.left, oldRect.top + oldClient.top, oldRect.left + oldClient.right,
                          oldRect.top + oldClient.bottom};
        params.lppos = &pos;
        if (sized || (pos.flags & SWP_FRAMECHANGED) != 0) {
            Send(hwnd, WM_NCCALCSIZE, TRUE, reinterpret_cast<LPARAM>(&params));
            if ((w = W(hwnd)) == nullptr) {
                return FALSE;
            }
            const RECT& c = params.rgrc[0];
            w->client = {c.left - newRect.left, c.top - newRect.top, c.right - newRect.left, c.bottom - newRect.top};
        }
        w->rect = newRect;
        ResizeSurface(w);
    }
    if ((pos.flags & SWP_NOZORDER) == 0) {
        const std::vector<Window*> before = w->parent->children;
        Reorder(w, pos.hwndInsertAfter);
        if (!IsTopLevel(w) && (pos.flags & SWP_NOREDRAW) == 0) {
            ShowRestacked(w, before);
        }
    }
    if ((pos.flags & SWP_SHOWWINDOW) != 0) {
        w->style |= WS_VISIBLE;
    } else if ((pos.flags & SWP_HIDEWINDOW) != 0) {
        w->style &= ~WS_VISIBLE;
    }
    const bool geometryChanged = sized || moved || (pos.flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW)) != 0;
    // Repaint: what the window uncovered in its parent, and the window
    // itself when it appeared, changed size or changed its frame.
    if ((pos.flags & SWP_NOREDRAW) == 0) {
        Window* parent = w->parent;
        if ((moved || sized || (pos.flags & SWP_HIDEWINDOW) != 0) && wasVisible && parent != system.Desktop() &&
            IsReallyVisible(parent)) {
            InvalidateUncovered(parent, w, oldRect); // parent client coordinates
        }
        if ((w->style & WS_VISIBLE) != 0 &&
            ((pos.flags & SWP_SHOWWINDOW) != 0 || sized || (pos.flags & SWP_FRAMECHANGED) != 0 ||
             (moved && !IsTopLevel(w)))) {
            InvalidateWhole(w, EraseBackground::Yes, WithFrame::Yes, WithChildren::Yes);
        }
    }
    if (geometryChanged) {
        system.mouseMovePending = true;
    }
    if ((pos.flags & SWP_NOACTIVATE) == 0 && IsTopLevel(w) && (w->style & WS_VISIBLE) != 0 &&
        ((pos.flags & SWP_SHOWWINDOW) != 0 || (pos.flags & SWP_NOZORDER) == 0) && system.active != hwnd) {
        SetActiveWindow(hwnd);
        if ((w = W(hwnd)) == nullptr) {
            return FALSE;
        }
    }
    // The changed message reports what actually changed.
    WINDOWPOS done{hwnd, pos.hwndInsertAfter, w->rect.left, w->rect.top, Width(w->rect), Height(w->rect), pos.flags};
    if (!moved) {
        done.flags |= SWP_NOMOVE;
    }
    if (!sized) {
        done.flags |= SWP_NOSIZE;
    }
    Send(hwnd, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&done));
    if ((pos.flags & SWP_HIDEWINDOW) != 0 && (w = W(hwnd)) != nullptr && !w->destroying) {
        OnWindowHiddenOrGone(w, WindowLeaving::Hidden);
    }
    return TRUE;
}

BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint)
{
    return SetWindowPos(hwnd, nullptr, x, y, width, height,
                        SWP_NOZORDER | SWP_NOACTIVATE | (repaint != FALSE ? 0u : SWP_NOREDRAW));
}

BOOL BringWindowToTop(HWND hwnd) { return SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE); }

BOOL ShowWindow(HWND hwnd, int command)
{
    WindowSystem& system = System();
    Window* w = W(hwnd);
    if (w == nullptr || w == system.Desktop()) {
        return FALSE;
    }
    const BOOL wasVisible = (w->style & WS_VISIBLE) != 0 ? TRUE : FALSE;
    UINT flags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER;
    bool show = true;
    RECT target = w->rect;
    bool resize = false;
    WPARAM sizeKind = SIZE_RESTORED;
    switch (command) {
    case SW_HIDE:
        show = false;
        flags |= SWP_HIDEWINDOW | SWP_NOACTIVATE;
        break;
    case SW_SHOWNA:
    case SW_SHOWNOACTIVATE: flags |= SWP_SHOWWINDOW | SWP_NOACTIVATE; break;
    case SW_SHOWMAXIMIZED: {
        if ((w->style & WS_MAXIMIZE) == 0) {
            if ((w->style & WS_MINIMIZE) == 0) {
                w->normalRect = w->rect;
            }
            MINMAXINFO info{};
            const int frame = GetSystemMetrics(SM_CXFRAME);
            RECT area = IsTopLevel(w) ? RECT{0, 0, system.screenWidth, system.screenHeight} : w->parent->client;
            OffsetRect(&area, -area.left, -area.top);
            info.ptMaxSize = {Width(area) + 2 * frame, Height(area) + 2 * frame};
            info.ptMaxPosition = {-frame, -frame};
            info.ptMinTrackSize = {GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
            info.ptMaxTrackSize = {GetSystemMetrics(SM_CXMAXIMIZED), GetSystemMetrics(SM_CYMAXIMIZED)};
            Send(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
            if ((w = W(hwnd)) == nullptr) {
                return wasVisible;
            }
            w->style = (w->style & ~WS_MINIMIZE) | WS_MAXIMIZE;
            target = {info.ptMaxPosition.x, info.ptMaxPosition.y, info.ptMaxPosition.x + info.ptMaxSize.x,
                      info.ptMaxPosition.y + info.ptMaxSize.y};
            resize = true;
        }
        sizeKind = SIZE_MAXIMIZED;
        flags |= SWP_SHOWWINDOW | SWP_FRAMECHANGED;
        flags &= ~SWP_NOZORDER;
        break;
    }
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
    case SW_SHOWMINNOACTIVE:
        if ((w->style & WS_MINIMIZE) == 0) {
            if ((w->style & WS_MAXIMIZE) == 0) {
                w->normalRect = w->rect;
            }
            w->style = (w->style & ~WS_MAXIMIZE) | WS_MINIMIZE;
            const int cx = GetSystemMetrics(SM_CXMIN) + 48;
            const int cy = GetSystemMetrics(SM_CYMIN);
            target = {0, system.screenHeight - cy, cx, system.screenHeight};
            resize = true;
        }
        sizeKind = SIZE_MINIMIZED;
        flags |= SWP_SHOWWINDOW | SWP_FRAMECHANGED;
        if (command != SW_SHOWMINIMIZED) {
            flags |= SWP_NOACTIVATE;
        }
        break;
    case SW_RESTORE:
    case SW_SHOWNORMAL:
    case SW_SHOWDEFAULT:
        if ((w->style & (WS_MAXIMIZE | WS_MINIMIZE)) != 0) {
            w->style &= ~(WS_MAXIMIZE | WS_MINIMIZE);
            target = w->normalRect;
            resize = true;
            flags |= SWP_FRAMECHANGED;
        }
        flags |= SWP_SHOWWINDOW;
        flags &= ~SWP_NOZORDER;
        break;
    case SW_SHOW:
    default:
        flags |= SWP_SHOWWINDOW;
        flags &= ~SWP_NOZORDER;
        break;
    }
    if (!IsTopLevel(w)) {
        flags |= SWP_NOACTIVATE | SWP_NOZORDER;
    }
    if (show != (wasVisible != FALSE)) {
        Send(hwnd, WM_SHOWWINDOW, show ? TRUE : FALSE, 0);
        if (W(hwnd) == nullptr) {
            return wasVisible;
        }
    }
    if (resize) {
        flags &= ~(SWP_NOMOVE | SWP_NOSIZE);
    }
    if (!show && !wasVisible) {
        return wasVisible;
    }
    SetWindowPos(hwnd, HWND_TOP, target.left, target.top, Width(target), Height(target), flags);
    if (resize && (w = W(hwnd)) != nullptr && sizeKind != SIZE_RESTORED) {
        // WM_SIZE from the position change said "restored"; say the kind.
        Send(hwnd, WM_SIZE, sizeKind,
             MAKELPARAM(static_cast<WORD>(Width(w->client)), static_cast<WORD>(Height(w->client))));
    }
    return wasVisible;
}

BOOL GetWindowPlacement(HWND hwnd, WINDOWPLACEMENT* placement)
{
    Window* w = W(hwnd);
    if (w == nullptr || placement == nullptr) {
        return FALSE;
    }
    placement->length = sizeof(WINDOWPLACEMENT);
    placement->flags = 0;
    if ((w->style & WS_VISIBLE) == 0) {
        placement->showCmd = SW_HIDE;
    } else if ((w->style & WS_MAXIMIZE) != 0) {
        placement->showCmd = SW_SHOWMAXIMIZED;
    } else if ((w->style & WS_MINIMIZE) != 0) {
        placement->showCmd = SW_SHOWMINIMIZED;
    } else {
        placement->showCmd = SW_SHOWNORMAL;
    }
    placement->ptMinPosition = {-1, -1};
    placement->ptMaxPosition = {-1, -1};
    placement->rcNormalPosition = (w->style & (WS_MAXIMIZE | WS_MINIMIZE)) != 0 ? w->normalRect : w->rect;
    return TRUE;
}

BOOL SetWindowPlacement(HWND hwnd, const WINDOWPLACEMENT* placement)
{
    Window* w = W(hwnd);
    if (w == nullptr || placement == nullptr) {
        return FALSE;
    }
    const RECT& r = placement->rcNormalPosition;
    if ((w->style & (WS_MAXIMIZE | WS_MINIMIZE)) != 0) {
        w->normalRect = r;
    } else {
        SetWindowPos(hwnd, nullptr, r.left, r.top, Width(r), Height(r), SWP_NOZORDER | SWP_NOACTIVATE);
    }
    ShowWindow(hwnd, static_cast<int>(placement->showCmd));
    return TRUE;
}

// Coordinates -----------------------------------------------------------------------

BOOL GetWindowRect(HWND hwnd, RECT* rect)
{
    Window* w = W(hwnd);
    if (w == nullptr || rect == nullptr) {
        return FALSE;
    }
    *rect = w == System().Desktop() ? w->rect : ScreenWindowRect(w);
    return TRUE;
}

BOOL GetClientRect(HWND hwnd, RECT* rect)
{
    Window* w = W(hwnd);
    if (w == nullptr || rect == nullptr) {
        return FALSE;
    }
    *rect = {0, 0, Width(w->client), Height(w->client)};
    return TRUE;
}

BOOL ClientToScreen(HWND hwnd, POINT* point)
{
    Window* w = W(hwnd);
    if (w == nullptr || point == nullptr) {
        return FALSE;
    }
    if (w != System().Desktop()) {
        const RECT c = ScreenClientRect(w);
        point->x += c.left;
        point->y += c.top;
    }
    return TRUE;
}

BOOL ScreenToClient(HWND hwnd, POINT* point)
{
    Window* w = W(hwnd);
    if (w == nullptr || point == nullptr) {
        return FALSE;
    }
    if (w != System().Desktop()) {
        const RECT c = ScreenClientRect(w);
        point->x -= c.left;
        point->y -= c.top;
    }
    return TRUE;
}

int MapWindowPoints(HWND from, HWND to, POINT* points, UINT count)
{
    POINT origin{0, 0};
    POINT target{0, 0};
    if (from != nullptr && ClientToScreen(from, &origin) == FALSE) {
        return 0;
    }
    if (to != nullptr && ClientToScreen(to, &target) == FALSE) {
        return 0;
    }
    const int dx = origin.x - target.x;
    const int dy = origin.y - target.y;
    for (UINT i = 0; points != nullptr && i < count; ++i) {
        points[i].x += dx;
        points[i].y += dy;
    }
    return static_cast<int>(MAKELONG(static_cast<WORD>(dx), static_cast<WORD>(dy)));
}

HWND WindowFromPoint(POINT screen) { return WindowUnder(screen, nullptr); }

HWND ChildWindowFromPoint(HWND parent, POINT client)
{
    Window* p = W(parent);
    if (p == nullptr) {
        return nullptr;
    }
    RECT area{0, 0, Width(p->client), Height(p->client)};
    if (!PtInRect(&area, client)) {
        return nullptr;
    }
    for (Window* child : p->children) {
        if (PtInRect(&child->rect, client)) {
            return child->handle;
        }
    }
    return parent;
}

BOOL AdjustWindowRectEx(RECT* rect, DWORD style, BOOL menu, DWORD exStyle)
{
    if (rect == nullptr) {
        return FALSE;
    }
    int border = 0;
    if ((style & WS_THICKFRAME) != 0) {
        border = GetSystemMetrics(SM_CXFRAME);
    } else if ((style & WS_DLGFRAME) != 0 || (exStyle & WS_EX_DLGMODALFRAME) != 0) {
        border = GetSystemMetrics(SM_CXDLGFRAME);
    } else if ((style & WS_BORDER) != 0) {
        border = GetSystemMetrics(SM_CXBORDER);
    }
    int top = border;
    if ((style & WS_CAPTION) == WS_CAPTION) {
        top += (exStyle & WS_EX_TOOLWINDOW) != 0 ? GetSystemMetrics(SM_CYSMCAPTION) : GetSystemMetrics(SM_CYCAPTION);
    }
    if (menu != FALSE) {
        top += GetSystemMetrics(SM_CYMENU);
    }
    int edge = (exStyle & WS_EX_CLIENTEDGE) != 0 ? GetSystemMetrics(SM_CXEDGE) : 0;
    rect->left -= border + edge;
    rect->right += border + edge;
    rect->top -= top + edge;
    rect->bottom += border + edge;
    return TRUE;
}
