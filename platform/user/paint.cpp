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
                if (HDC dc = MakeWindowDC(w, DcArea::Client, &w->update)) {
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
    HDC dc = MakeWindowDC(w, DcArea::Client, &area);
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

HDC GetDCEx(HWND hwnd, HRGN, DWORD flags)
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
        dc = MakeWindowDC(w, (flags & DCX_WINDOW) != 0 ? DcArea::Window : DcArea::Client, nullptr);
    }
    if (dc != nullptr) {
        system.dcs[dc] = DeviceContextRecord{hwnd, false};
    }
    return dc;
}

HDC GetDC(HWND hwnd) { return GetDCEx(hwnd, nullptr, DCX_CACHE); }
HDC GetWindowDC(HWND hwnd) { return GetDCEx(hwnd, nullptr, DCX_WINDOW | DCX_CACHE); }

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
