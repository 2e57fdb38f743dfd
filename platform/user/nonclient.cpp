// Non-client layout and hit-testing of windows with the classic frame.
#include "platform/user/nonclient.h"

#include <algorithm>

namespace nuvex::user {

NonClientLayout ComputeNonClient(DWORD style, DWORD exStyle, bool hasMenu, int width, int height)
{
    NonClientLayout l;
    if ((style & WS_THICKFRAME) != 0) {
        l.border = GetSystemMetrics(SM_CXFRAME);
        l.sizingFrame = true;
    } else if ((style & WS_DLGFRAME) != 0 || (exStyle & WS_EX_DLGMODALFRAME) != 0) {
        l.border = GetSystemMetrics(SM_CXDLGFRAME);
    } else if ((style & WS_BORDER) != 0) {
        l.border = GetSystemMetrics(SM_CXBORDER);
    }
    int top = l.border;
    if ((style & WS_CAPTION) == WS_CAPTION) {
        l.smallCaption = (exStyle & WS_EX_TOOLWINDOW) != 0;
        const int height = l.smallCaption ? GetSystemMetrics(SM_CYSMCAPTION) : GetSystemMetrics(SM_CYCAPTION);
        l.caption = {l.border, top, width - l.border, top + height};
        top += height;
        const int button = (l.smallCaption ? GetSystemMetrics(SM_CXSMSIZE) : GetSystemMetrics(SM_CXSIZE));
        const int inset = 2;
        int right = l.caption.right - inset;
        if ((style & WS_SYSMENU) != 0) {
            if (!l.smallCaption) {
                l.sysMenu = {l.caption.left + inset, l.caption.top, l.caption.left + inset + height - 2, l.caption.bottom};
            }
            l.closeButton = {right - button, l.caption.top + inset, right, l.caption.bottom - inset};
            right -= button + inset;
            if (!l.smallCaption && (style & (WS_MAXIMIZEBOX | WS_MINIMIZEBOX)) != 0) {
                l.maxButton = {right - button, l.caption.top + inset, right, l.caption.bottom - inset};
                right -= button;
                l.minButton = {right - button, l.caption.top + inset, right, l.caption.bottom - inset};
            }
        }
    }
    if (hasMenu) {
        const int menu = GetSystemMetrics(SM_CYMENU);
        l.menuBar = {l.border, top, width - l.border, top + menu};
        top += menu;
    }
    if ((exStyle & WS_EX_CLIENTEDGE) != 0) {
        l.edge = GetSystemMetrics(SM_CXEDGE);
    } else if ((exStyle & WS_EX_STATICEDGE) != 0) {
        l.edge = GetSystemMetrics(SM_CXBORDER);
    }
    RECT inner{l.border + l.edge, top + l.edge, width - l.border - l.edge, height - l.border - l.edge};
    if ((style & WS_VSCROLL) != 0) {
        const int cx = GetSystemMetrics(SM_CXVSCROLL);
        l.vScroll = {inner.right - cx, inner.top, inner.right, inner.bottom};
        inner.right -= cx;
    }
    if ((style & WS_HSCROLL) != 0) {
        const int cy = GetSystemMetrics(SM_CYHSCROLL);
        l.hScroll = {inner.left, inner.bottom - cy, inner.right, inner.bottom};
        inner.bottom -= cy;
        if ((style & WS_VSCROLL) != 0) {
            l.vScroll.bottom -= cy;
        }
    }
    inner.right = std::max(inner.right, inner.left);
    inner.bottom = std::max(inner.bottom, inner.top);
    l.client = inner;
    return l;
}

NonClientLayout ComputeNonClient(const Window* w)
{
    const bool hasMenu = IsTopLevel(w) && (w->style & WS_CHILD) == 0 && w->menu != nullptr;
    return ComputeNonClient(w->style, w->exStyle, hasMenu, Width(w->rect), Height(w->rect));
}

LRESULT HitTestLayout(const NonClientLayout& l, DWORD style, int width, int height, POINT p)
{
    if (p.x < 0 || p.y < 0 || p.x >= width || p.y >= height) {
        return HTNOWHERE;
    }
    if (PtInRect(&l.client, p)) {
        return HTCLIENT;
    }
    if (l.border > 0 && (p.x < l.border || p.y < l.border || p.x >= width - l.border || p.y >= height - l.border)) {
        if (!l.sizingFrame) {
            return HTBORDER;
        }
        // Corners reach a caption button's width along each edge.
        const int corner = GetSystemMetrics(SM_CXSIZE) + l.border;
        const bool left = p.x < corner;
        const bool right = p.x >= width - corner;
        const bool top = p.y < corner;
        const bool bottom = p.y >= height - corner;
        if (p.y < l.border) {
            return left ? HTTOPLEFT : right ? HTTOPRIGHT : HTTOP;
        }
        if (p.y >= height - l.border) {
            return left ? HTBOTTOMLEFT : right ? HTBOTTOMRIGHT : HTBOTTOM;
        }
        if (p.x < l.border) {
            return top ? HTTOPLEFT : bottom ? HTBOTTOMLEFT : HTLEFT;
        }
        return top ? HTTOPRIGHT : bottom ? HTBOTTOMRIGHT : HTRIGHT;
    }
    if (PtInRect(&l.caption, p)) {
        if (PtInRect(&l.closeButton, p)) {
            return HTCLOSE;
        }
        if (PtInRect(&l.maxButton, p)) {
            return HTMAXBUTTON;
        }
        if (PtInRect(&l.minButton, p)) {
            return HTMINBUTTON;
        }
        if (PtInRect(&l.sysMenu, p)) {
            return HTSYSMENU;
        }
        return HTCAPTION;
    }
    if (PtInRect(&l.menuBar, p)) {
        return HTMENU;
    }
    if (PtInRect(&l.vScroll, p)) {
        return HTVSCROLL;
    }
    if (PtInRect(&l.hScroll, p)) {
        return HTHSCROLL;
    }
    if ((style & WS_VSCROLL) != 0 && (style & WS_HSCROLL) != 0 && p.x >= l.hScroll.right && p.y >= l.vScroll.bottom &&
        p.x < l.vScroll.right && p.y < l.hScroll.bottom) {
        return (style & WS_THICKFRAME) != 0 ? HTGROWBOX : HTBORDER;
    }
    return HTBORDER;
}

} // namespace nuvex::user
