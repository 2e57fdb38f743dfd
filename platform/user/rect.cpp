// Rectangle helpers. Rectangles exclude their right and bottom edges.
#include <algorithm>

#include "platform/user/winuser.h"

BOOL PtInRect(const RECT* rect, POINT p)
{
    return rect != nullptr && p.x >= rect->left && p.x < rect->right && p.y >= rect->top && p.y < rect->bottom
               ? TRUE
               : FALSE;
}

BOOL SetRect(RECT* rect, int left, int top, int right, int bottom)
{
    if (rect == nullptr) {
        return FALSE;
    }
    *rect = {left, top, right, bottom};
    return TRUE;
}

BOOL SetRectEmpty(RECT* rect) { return SetRect(rect, 0, 0, 0, 0); }

BOOL IsRectEmpty(const RECT* rect)
{
    return rect == nullptr || rect->right <= rect->left || rect->bottom <= rect->top ? TRUE : FALSE;
}

BOOL CopyRect(RECT* dst, const RECT* src)
{
    if (dst == nullptr || src == nullptr) {
        return FALSE;
    }
    *dst = *src;
    return TRUE;
}

BOOL EqualRect(const RECT* a, const RECT* b)
{
    return a != nullptr && b != nullptr && a->left == b->left && a->top == b->top && a->right == b->right &&
                   a->bottom == b->bottom
               ? TRUE
               : FALSE;
}

BOOL OffsetRect(RECT* rect, int dx, int dy)
{
    if (rect == nullptr) {
        return FALSE;
    }
    *rect = {rect->left + dx, rect->top + dy, rect->right + dx, rect->bottom + dy};
    return TRUE;
}

BOOL InflateRect(RECT* rect, int dx, int dy)
{
    if (rect == nullptr) {
        return FALSE;
    }
    *rect = {rect->left - dx, rect->top - dy, rect->right + dx, rect->bottom + dy};
    return TRUE;
}

BOOL IntersectRect(RECT* dst, const RECT* a, const RECT* b)
{
    if (dst == nullptr || a == nullptr || b == nullptr) {
        return FALSE;
    }
    RECT r{std::max(a->left, b->left), std::max(a->top, b->top), std::min(a->right, b->right),
           std::min(a->bottom, b->bottom)};
    if (IsRectEmpty(&r) != FALSE) {
        *dst = {0, 0, 0, 0};
        return FALSE;
    }
    *dst = r;
    return TRUE;
}

BOOL UnionRect(RECT* dst, const RECT* a, const RECT* b)
{
    if (dst == nullptr || a == nullptr || b == nullptr) {
        return FALSE;
    }
    const bool emptyA = IsRectEmpty(a) != FALSE;
    const bool emptyB = IsRectEmpty(b) != FALSE;
    if (emptyA && emptyB) {
        *dst = {0, 0, 0, 0};
        return FALSE;
    }
    if (emptyA) {
        *dst = *b;
    } else if (emptyB) {
        *dst = *a;
    } else {
        *dst = {std::min(a->left, b->left), std::min(a->top, b->top), std::max(a->right, b->right),
                std::max(a->bottom, b->bottom)};
    }
    return TRUE;
}
