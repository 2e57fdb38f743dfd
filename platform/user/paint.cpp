// Invalidation and painting: update areas, RedrawWindow and its flags,
// UpdateWindow, BeginPaint/EndPaint with WM_NCPAINT and WM_ERASEBKGND, and
// the device contexts of windows.
#include <algorithm>

#include "platform/user/window_system.h"

namespace nuvex::user {
namespace {

bool ChildrenIncluded(const Window* w, UINT flags)
{
    if ((flags & RDW_ALLCHILDREN) != 0) {
        return true;
    }
    if ((flags & RDW_NOCHILDREN) != 0) {
        return false;
    }
    return (w->style & WS_CLIPCHILDREN) == 0;
}

// Adds `rect` (client coordinates; null for all) to the update area of `w`
// and, by the flags, of its children.
void Invalidate(Window* w, const RECT* rect, UINT flags)
{
    RECT area{0, 0, Width(w->client), Height(w->client)};
    if (rect != nullptr && IntersectRect(&area, &area, rect) == FALSE) {
        if ((flags & RDW_FRAME) != 0) {
            w->frameNeeded = true;
        }
        return;
    }
    if (!IsRectEmpty(&area)) {
        if (w->updatePending) {
            UnionRect(&w->update, &w->update, &area);
        } else {
            w->update = area;
            w->updatePending = true;
        }
        if ((flags & RDW_ERASE) != 0) {
            w->eraseNeeded = true;
        }
    }
    if ((flags & RDW_FRAME) != 0) {
        w->frameNeeded = true;
    }
    if ((flags & RDW_INTERNALPAINT) != 0) {
        w->internalPaint = true;
    }
    if (!ChildrenIncluded(w, flags)) {
        return;
    }
    for (Window* child : w->children) {
        if ((child->style & WS_VISIBLE) == 0) {
            continue;
        }
        RECT inChild{};
        if (IntersectRect(&inChild, &area, &child->rect) == FALSE) {
            continue;
        }
        // Into the child's client coordinates.
        OffsetRect(&inChild, -(child->rect.left + child->client.left), -(child->rect.top + child->client.top));
        Invalidate(child, &inChild, flags | (flags & RDW_ALLCHILDREN));
    }
}

bool Contains(const RECT& outer, const RECT& inner)
{
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

// A window whose DC does not leave its children out paints over them, and
// over their own children whatever their styles: every visible descendant
// that shows under `covered` (screen coordinates) and does not wait for
// that part already is invalidated there, erased, and its frame too where
// the frame was covered, so that it paints again after the window. A
// descendant that a sibling above it hides there (or above one of its
// ancestors, clipping siblings) lost nothing to the paint: its pixels never
// showed there, and a paint of it would change nothing on the screen.
void CoverDescendants(Window* w, const RECT& covered)
{
    for (Window* child : w->children) {
        if ((child->style & WS_VISIBLE) == 0) {
            continue;
        }
        const RECT whole = ScreenWindowRect(child);
        RECT hit{};
        if (IntersectRect(&hit, &covered, &whole) == FALSE || !ShownPart(child, hit, &hit)) {
            continue;
        }
        const RECT client = ScreenClientRect(child);
        if (!Contains(client, hit)) {
            child->frameNeeded = true;
        }
        RECT inClient{};
        if (IntersectRect(&inClient, &hit, &client) != FALSE) {
            OffsetRect(&inClient, -client.left, -client.top);
            if (!child->updatePending || !Contains(child->update, inClient)) {
                Invalidate(child, &inClient, RDW_INVALIDATE | RDW_ERASE | RDW_NOCHILDREN);
            }
        }
        CoverDescendants(child, hit);
    }
}

// `area` of `w`'s client as the part of the screen that its paint covers.
void CoverChildren(Window* w, const RECT& area)
{
    if (IsRectEmpty(&area) || w->children.empty()) {
        return;
    }
    RECT covered = area;
    const RECT client = ScreenClientRect(w);
    OffsetRect(&covered, client.left, client.top);
    CoverDescendants(w, covered);
}

void Validate(Window* w, const RECT* rect, UINT flags)
{
    if (rect == nullptr) {
        w->updatePending = false;
        w->eraseNeeded = false;
        w->internalPaint = (flags & RDW_NOINTERNALPAINT) != 0 ? false : w->internalPaint;
    } else if (w->updatePending) {
        // The update area is one rectangle: it shrinks when a validated
        // rectangle covers one of its sides completely.
        RECT u = w->update;
        const RECT& v = *rect;
        if (v.left <= u.left && v.right >= u.right) {
            if (v.top <= u.top && v.bottom > u.top) {
                u.top = std::min(v.bottom, u.bottom);
            }
            if (v.bottom >= u.bottom && v.top < u.bottom) {
                u.bottom = std::max(v.top, u.top);
            }
        }
        if (v.top <= u.top && v.bottom >= u.bottom) {
            if (v.left <= u.left && v.right > u.left) {
                u.left = std::min(v.right, u.right);
            }
            if (v.right >= u.right && v.left < u.right) {
                u.right = std::max(v.left, u.left);
            }
        }
        w->update = u;
        if (IsRectEmpty(&u)) {
            w->updatePending = false;
            w->eraseNeeded = false;
        }
    }
    if ((flags & RDW_NOFRAME) != 0) {
        w->frameNeeded = false;
    }
    if ((flags & RDW_NOERASE) != 0) {
        w->eraseNeeded = false;
    }
    if (!ChildrenIncluded(w, flags)) {
        return;
    }
    for (Window* child : w->children) {
        if (rect == nullptr) {
            Validate(child, nullptr, flags);
            continue;
        }
        RECT inChild{};
        if (IntersectRect(&inChild, rect, &child->rect) != FALSE) {
            OffsetRect(&inChild, -(child->rect.left + child->client.left), -(child->rect.top + child->client.top));
            Validate(child, &inChild, flags);
        }
    }
}

// Paints `hwnd` now (WM_PAINT sent, not posted), or only erases what waits
// for erasing, then its children when asked. Only visible, unlocked windows
// with something to paint.
enum class PaintPass : uint8_t { Paint, EraseOnly };
void PaintNow(HWND hwnd, WithChildren children, PaintPass pass)
{
    Window* w = W(hwnd);
    if (w == nullptr || !IsReallyVisible(w) || w->redrawOff) {
        return;
    }
    WindowSystem& system = System();
    const bool locked = system.locked != nullptr && (system.locked == hwnd || IsChild(system.locked, hwnd));
    if (!locked) {
        if (pass == PaintPass::EraseOnly) {
            if (w->frameNeeded) {
                w->frameNeeded = false;
                Send(hwnd, WM_NCPAINT, 1, 0);
            }
            if ((w = W(hwnd)) != nullptr && w->eraseNeeded) {
                w->eraseNeeded = false;
                if (HDC dc = MakeWindowDC(w, DcArea::Client, &w->update, StyleClipFlags(w))) {
                    Send(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
                    FreeDC(dc);
                }
            }
        } else if (w->updatePending || w->internalPaint || w->frameNeeded) {
            if (!w->updatePending && !w->internalPaint) {
                w->frameNeeded = false;
                Send(hwnd, WM_NCPAINT, 1, 0);
            } else {
                w->beganPaint = false;
                Send(hwnd, WM_PAINT, 0, 0);
                if ((w = W(hwnd)) != nullptr && !w->beganPaint) {
                    w->updatePending = false;
                    w->eraseNeeded = false;
                    w->internalPaint = false;
                    w->frameNeeded = false;
                }
            }
        }
    }
    if (children == WithChildren::No || (w = W(hwnd)) == nullptr) {
        return;
    }
    std::vector<HWND> list;
    for (Window* child : w->children) {
        list.push_back(child->handle);
    }
    for (HWND child : list) {
        PaintNow(child, WithChildren::Yes, pass);
    }
}

} // namespace

void InvalidateUncovered(Window* parent, const Window* w, const RECT& area)
{
    Invalidate(parent, &area, RDW_INVALIDATE | RDW_ERASE);
    if (ChildrenIncluded(parent, RDW_INVALIDATE)) {
        return;
    }
    // The parent's invalidation leaves its children out: the siblings that
    // lay below `w` show again where it was.
    bool below = false;
    for (Window* sibling : parent->children) {
        if (sibling == w) {
            below = true;
            continue;
        }
        RECT inSibling{};
        if (!below || (sibling->style & WS_VISIBLE) == 0 || IntersectRect(&inSibling, &area, &sibling->rect) == FALSE) {
            continue;
        }
        // Into the sibling's window, then its client coordinates.
        OffsetRect(&inSibling, -sibling->rect.left, -sibling->rect.top);
        if (!Contains(sibling->client, inSibling)) {
            sibling->frameNeeded = true;
        }
        OffsetRect(&inSibling, -sibling->client.left, -sibling->client.top);
        Invalidate(sibling, &inSibling, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    }
}

void InvalidateWhole(Window* w, EraseBackground erase, WithFrame frame, WithChildren children)
{
    Invalidate(w, nullptr,
               RDW_INVALIDATE | (erase == EraseBackground::Yes ? RDW_ERASE : 0u) |
                   (frame == WithFrame::Yes ? RDW_FRAME : 0u) |
                   (children == WithChildren::Yes ? RDW_ALLCHILDREN : RDW_NOCHILDREN));
}

} // namespace nuvex::user

using namespace nuvex::user;

BOOL RedrawWindow(HWND hwnd, const RECT* rect, HRGN, UINT flags)
{
    WindowSystem& system = System();
    std::vector<HWND> targets;
    if (hwnd == nullptr || hwnd == system.Desktop()->handle) {
        for (Window* top : system.Desktop()->children) {
            targets.push_back(top->handle);
        }
        rect = nullptr;
        flags |= RDW_ALLCHILDREN;
    } else if (W(hwnd) == nullptr) {
        return FALSE;
    } else {
        targets.push_back(hwnd);
    }
    for (HWND target : targets) {
        Window* w = W(target);
        if (w == nullptr) {
            continue;
        }
        if ((flags & RDW_INVALIDATE) != 0) {
            Invalidate(w, rect, flags);
        } else if ((flags & RDW_VALIDATE) != 0) {
            Validate(w, rect, flags);
        }
        if ((flags & RDW_UPDATENOW) != 0) {
            const bool children = ChildrenIncluded(w, flags) || (flags & RDW_ALLCHILDREN) != 0;
            PaintNow(target, children ? WithChildren::Yes : WithChildren::No, PaintPass::Paint);
        } else if ((flags & RDW_ERASENOW) != 0) {
            PaintNow(target, ChildrenIncluded(w, flags) ? WithChildren::Yes : WithChildren::No, PaintPass::EraseOnly);
        }
    }
    return TRUE;
}

BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase)
{
    return RedrawWindow(hwnd, rect, nullptr, RDW_INVALIDATE | (erase != FALSE ? RDW_ERASE : 0u));
}

BOOL ValidateRect(HWND hwnd, const RECT* rect)
{
    if (hwnd == nullptr) {
        return FALSE;
    }
    return RedrawWindow(hwnd, rect, nullptr, RDW_VALIDATE | RDW_NOCHILDREN);
}

BOOL GetUpdateRect(HWND hwnd, RECT* rect, BOOL erase)
{
    Window* w = W(hwnd);
    if (w == nullptr) {
        return FALSE;
    }
    if (rect != nullptr) {
        *rect = w->updatePending ? w->update : RECT{0, 0, 0, 0};
    }
    if (erase != FALSE && w->updatePending && w->eraseNeeded) {
        PaintNow(hwnd, WithChildren::No, PaintPass::EraseOnly);
    }
    return w->updatePending ? TRUE : FALSE;
}

BOOL UpdateWindow(HWND hwnd)
{
    if (W(hwnd) == nullptr) {
        return FALSE;
    }
    PaintNow(hwnd, WithChildren::Yes, PaintPass::Paint);
    return TRUE;
}

HDC BeginPaint(HWND hwnd, PAINTSTRUCT* paint)
{
    Window* w = W(hwnd);
    if (w == nullptr || paint == nullptr) {
        return nullptr;
    }
    if (w->frameNeeded) {
        w->frameNeeded = false;
        Send(hwnd, WM_NCPAINT, 1, 0);
        if ((w = W(hwnd)) == nullptr) {
            return nullptr;
        }
    }
    w->beganPaint = true;
    const RECT area = w->updatePending ? w->update : RECT{0, 0, 0, 0};
    const bool erase = w->eraseNeeded;
    w->updatePending = false;
    w->eraseNeeded = false;
    w->internalPaint = false;
    const DWORD clipFlags = StyleClipFlags(w);
    if ((clipFlags & DCX_CLIPCHILDREN) == 0) {
        CoverChildren(w, area);
    }
    HDC dc = MakeWindowDC(w, DcArea::Client, &area, clipFlags);
    if (dc == nullptr) {
        return nullptr;
    }
    System().dcs[dc] = DeviceContextRecord{hwnd, true};
    BOOL mustErase = FALSE;
    if (erase) {
        mustErase = Send(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) == 0 ? TRUE : FALSE;
    }
    *paint = PAINTSTRUCT{};
    paint->hdc = dc;
    paint->fErase = mustErase;
    paint->rcPaint = area;
    return dc;
}

BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* paint)
{
    if (paint == nullptr || paint->hdc == nullptr) {
        return FALSE;
    }
    ReleaseDC(hwnd, paint->hdc);
    return TRUE;
}

namespace {

// A DC of `hwnd` (null or the desktop: of the screen) that leaves out the
// windows `flags` name.
HDC MakeDC(HWND hwnd, DWORD flags)
{
    WindowSystem& system = System();
    HDC dc = nullptr;
    if (hwnd == nullptr || hwnd == system.Desktop()->handle) {
        if ((flags & DCX_WINDOW) != 0) {
            ComposeScreen();
        }
        dc = MakeScreenDC();
    } else {
        Window* w = W(hwnd);
        if (w == nullptr) {
            return nullptr;
        }
        dc = MakeWindowDC(w, (flags & DCX_WINDOW) != 0 ? DcArea::Window : DcArea::Client, nullptr, flags);
    }
    if (dc != nullptr) {
        system.dcs[dc] = DeviceContextRecord{hwnd, false};
    }
    return dc;
}

// The clip flags a window's style gives its DCs; none for the screen.
DWORD StyleClipFlagsOf(HWND hwnd)
{
    const Window* w = hwnd != nullptr ? W(hwnd) : nullptr;
    return w != nullptr && w != System().Desktop() ? StyleClipFlags(w) : 0u;
}

} // namespace

// The flags alone decide which windows the DC leaves out: a DC asked for
// without DCX_CLIPCHILDREN draws over the children whatever the style.
HDC GetDCEx(HWND hwnd, HRGN, DWORD flags) { return MakeDC(hwnd, flags); }
HDC GetDC(HWND hwnd) { return MakeDC(hwnd, DCX_CACHE | StyleClipFlagsOf(hwnd)); }
HDC GetWindowDC(HWND hwnd) { return MakeDC(hwnd, DCX_WINDOW | DCX_CACHE | StyleClipFlagsOf(hwnd)); }

int ReleaseDC(HWND, HDC dc)
{
    auto& dcs = System().dcs;
    auto it = dcs.find(dc);
    if (it == dcs.end()) {
        return 0;
    }
    dcs.erase(it);
    FreeDC(dc);
    return 1;
}

HWND WindowFromDC(HDC dc)
{
    auto& dcs = System().dcs;
    auto it = dcs.find(dc);
    return it == dcs.end() ? nullptr : it->second.hwnd;
}
