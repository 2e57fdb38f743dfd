// CPoint, CSize and CRect: the window and drawing coordinates as value
// types over POINT, SIZE and RECT, so a CRect passes wherever a RECT* is
// expected. Rectangles are half-open: right and bottom lie outside.
#pragma once

#include "platform/base/types.h"

class CSize : public SIZE {
public:
    constexpr CSize() : SIZE{0, 0} {}
    constexpr CSize(int x, int y) : SIZE{x, y} {}
    constexpr CSize(SIZE s) : SIZE(s) {}
    constexpr bool operator==(const SIZE& o) const { return cx == o.cx && cy == o.cy; }
    constexpr bool operator!=(const SIZE& o) const { return !(*this == o); }
    constexpr CSize operator+(SIZE o) const { return CSize(cx + o.cx, cy + o.cy); }
    constexpr CSize operator-(SIZE o) const { return CSize(cx - o.cx, cy - o.cy); }
    constexpr CSize operator-() const { return CSize(-cx, -cy); }
    CSize& operator+=(SIZE o) { cx += o.cx; cy += o.cy; return *this; }
    CSize& operator-=(SIZE o) { cx -= o.cx; cy -= o.cy; return *this; }
};

class CPoint : public POINT {
public:
    constexpr CPoint() : POINT{0, 0} {}
    constexpr CPoint(int x0, int y0) : POINT{x0, y0} {}
    constexpr CPoint(POINT p) : POINT(p) {}
    constexpr explicit CPoint(SIZE s) : POINT{s.cx, s.cy} {}
    // x in the low word, y in the high word, both signed (mouse messages).
    explicit CPoint(LPARAM packed)
        : POINT{static_cast<SHORT>(LOWORD(static_cast<uintptr_t>(packed))),
                static_cast<SHORT>(HIWORD(static_cast<uintptr_t>(packed)))}
    {
    }
    void Offset(int dx, int dy) { x += dx; y += dy; }
    void Offset(POINT p) { Offset(p.x, p.y); }
    void Offset(SIZE s) { Offset(s.cx, s.cy); }
    void SetPoint(int x0, int y0) { x = x0; y = y0; }
    constexpr bool operator==(const POINT& o) const { return x == o.x && y == o.y; }
    constexpr bool operator!=(const POINT& o) const { return !(*this == o); }
    CPoint& operator+=(SIZE s) { Offset(s); return *this; }
    CPoint& operator-=(SIZE s) { Offset(-s.cx, -s.cy); return *this; }
    CPoint& operator+=(POINT p) { Offset(p); return *this; }
    CPoint& operator-=(POINT p) { Offset(-p.x, -p.y); return *this; }
    constexpr CPoint operator+(SIZE s) const { return CPoint(x + s.cx, y + s.cy); }
    constexpr CPoint operator-(SIZE s) const { return CPoint(x - s.cx, y - s.cy); }
    constexpr CPoint operator+(POINT p) const { return CPoint(x + p.x, y + p.y); }
    // The difference of two points is a size.
    constexpr CSize operator-(POINT p) const { return CSize(x - p.x, y - p.y); }
    constexpr CPoint operator-() const { return CPoint(-x, -y); }
};

class CRect : public RECT {
public:
    constexpr CRect() : RECT{0, 0, 0, 0} {}
    constexpr CRect(int l, int t, int r, int b) : RECT{l, t, r, b} {}
    constexpr CRect(const RECT& r) : RECT(r) {}
    CRect(const RECT* r) : RECT(r != nullptr ? *r : RECT{0, 0, 0, 0}) {}
    constexpr CRect(POINT topLeft, SIZE size) : RECT{topLeft.x, topLeft.y, topLeft.x + size.cx, topLeft.y + size.cy} {}
    constexpr CRect(POINT topLeft, POINT bottomRight) : RECT{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y} {}

    constexpr int Width() const { return right - left; }
    constexpr int Height() const { return bottom - top; }
    constexpr CSize Size() const { return CSize(Width(), Height()); }
    CPoint& TopLeft() { return *reinterpret_cast<CPoint*>(&left); }
    CPoint& BottomRight() { return *reinterpret_cast<CPoint*>(&right); }
    const CPoint& TopLeft() const { return *reinterpret_cast<const CPoint*>(&left); }
    const CPoint& BottomRight() const { return *reinterpret_cast<const CPoint*>(&right); }
    constexpr CPoint CenterPoint() const { return CPoint((left + right) / 2, (top + bottom) / 2); }

    operator RECT*() { return this; }
    operator const RECT*() const { return this; }

    // Empty: no area (width or height zero or negative).
    constexpr bool IsRectEmpty() const { return right <= left || bottom <= top; }
    constexpr bool IsRectNull() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
    constexpr bool PtInRect(POINT p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
    void SetRect(int l, int t, int r, int b) { left = l; top = t; right = r; bottom = b; }
    void SetRectEmpty() { SetRect(0, 0, 0, 0); }
    void CopyRect(const RECT* r) { *static_cast<RECT*>(this) = *r; }
    constexpr bool EqualRect(const RECT* r) const
    {
        return left == r->left && top == r->top && right == r->right && bottom == r->bottom;
    }
    void InflateRect(int dx, int dy) { left -= dx; top -= dy; right += dx; bottom += dy; }
    void InflateRect(SIZE s) { InflateRect(s.cx, s.cy); }
    void InflateRect(int l, int t, int r, int b) { left -= l; top -= t; right += r; bottom += b; }
    void InflateRect(const RECT* r) { InflateRect(r->left, r->top, r->right, r->bottom); }
    void DeflateRect(int dx, int dy) { InflateRect(-dx, -dy); }
    void DeflateRect(SIZE s) { InflateRect(-s.cx, -s.cy); }
    void DeflateRect(int l, int t, int r, int b) { InflateRect(-l, -t, -r, -b); }
    void DeflateRect(const RECT* r) { DeflateRect(r->left, r->top, r->right, r->bottom); }
    void OffsetRect(int dx, int dy) { left += dx; right += dx; top += dy; bottom += dy; }
    void OffsetRect(POINT p) { OffsetRect(p.x, p.y); }
    void OffsetRect(SIZE s) { OffsetRect(s.cx, s.cy); }
    void MoveToX(int x) { right += x - left; left = x; }
    void MoveToY(int y) { bottom += y - top; top = y; }
    void MoveToXY(int x, int y) { MoveToX(x); MoveToY(y); }
    void MoveToXY(POINT p) { MoveToXY(p.x, p.y); }
    void NormalizeRect()
    {
        if (left > right) {
            const LONG t = left; left = right; right = t;
        }
        if (top > bottom) {
            const LONG t = top; top = bottom; bottom = t;
        }
    }
    // The overlap of a and b; empty (all zero) when they do not overlap.
    // Returns whether the result has an area.
    BOOL IntersectRect(const RECT* a, const RECT* b)
    {
        CRect r(a->left > b->left ? a->left : b->left, a->top > b->top ? a->top : b->top,
                a->right < b->right ? a->right : b->right, a->bottom < b->bottom ? a->bottom : b->bottom);
        if (r.IsRectEmpty()) {
            SetRectEmpty();
            return FALSE;
        }
        *this = r;
        return TRUE;
    }
    // The bounding box of a and b; an empty operand does not count.
    BOOL UnionRect(const RECT* a, const RECT* b)
    {
        const CRect ra(*a);
        const CRect rb(*b);
        if (ra.IsRectEmpty()) {
            *this = rb.IsRectEmpty() ? CRect() : rb;
        } else if (rb.IsRectEmpty()) {
            *this = ra;
        } else {
            SetRect(ra.left < rb.left ? ra.left : rb.left, ra.top < rb.top ? ra.top : rb.top,
                    ra.right > rb.right ? ra.right : rb.right, ra.bottom > rb.bottom ? ra.bottom : rb.bottom);
        }
        return IsRectEmpty() ? FALSE : TRUE;
    }

    constexpr bool operator==(const RECT& r) const { return EqualRect(&r); }
    constexpr bool operator!=(const RECT& r) const { return !EqualRect(&r); }
    CRect& operator=(const RECT& r) { CopyRect(&r); return *this; }
    CRect& operator+=(POINT p) { OffsetRect(p); return *this; }
    CRect& operator-=(POINT p) { OffsetRect(-p.x, -p.y); return *this; }
    CRect& operator&=(const RECT& r) { IntersectRect(this, &r); return *this; }
    CRect& operator|=(const RECT& r) { UnionRect(this, &r); return *this; }
    CRect operator+(POINT p) const { CRect r(*this); r.OffsetRect(p); return r; }
    CRect operator-(POINT p) const { CRect r(*this); r.OffsetRect(-p.x, -p.y); return r; }
    CRect operator&(const RECT& o) const { CRect r; r.IntersectRect(this, &o); return r; }
    CRect operator|(const RECT& o) const { CRect r; r.UnionRect(this, &o); return r; }
};
