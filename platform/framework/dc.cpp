// CDC and its paint, client and window forms: the drawing calls on a
// device context and the selection of wrapper objects.
#include "platform/framework/dc.h"

#include "platform/framework/wnd.h"

IMPLEMENT_DYNCREATE(CDC, CObject)
IMPLEMENT_DYNAMIC(CPaintDC, CDC)
IMPLEMENT_DYNAMIC(CClientDC, CDC)
IMPLEMENT_DYNAMIC(CWindowDC, CDC)

CDC::~CDC()
{
    if (m_ownsDC) {
        DeleteDC();
    } else {
        Detach();
    }
}

BOOL CDC::CreateCompatibleDC(CDC* reference)
{
    HDC dc = ::CreateCompatibleDC(reference != nullptr ? reference->m_hDC : nullptr);
    if (dc == nullptr || !Attach(dc)) {
        if (dc != nullptr) {
            ::DeleteDC(dc);
        }
        return FALSE;
    }
    m_ownsDC = true;
    return TRUE;
}

BOOL CDC::DeleteDC()
{
    if (m_hDC == nullptr) {
        return FALSE;
    }
    return ::DeleteDC(Detach());
}

CWnd* CDC::GetWindow() const { return CWnd::FromHandle(::WindowFromDC(m_hDC)); }
int CDC::SaveDC() { return ::SaveDC(m_hDC); }
BOOL CDC::RestoreDC(int saved) { return ::RestoreDC(m_hDC, saved); }
int CDC::GetDeviceCaps(int index) const { return ::GetDeviceCaps(m_hDC, index); }

namespace {

HGDIOBJ HandleOf(const CGdiObject* object) { return object != nullptr ? object->m_hObject : nullptr; }

} // namespace

CPen* CDC::SelectObject(CPen* pen) { return CPen::FromHandle(static_cast<HPEN>(::SelectObject(m_hDC, HandleOf(pen)))); }
CBrush* CDC::SelectObject(CBrush* brush)
{
    return CBrush::FromHandle(static_cast<HBRUSH>(::SelectObject(m_hDC, HandleOf(brush))));
}
CFont* CDC::SelectObject(CFont* font)
{
    return CFont::FromHandle(static_cast<HFONT>(::SelectObject(m_hDC, HandleOf(font))));
}
CBitmap* CDC::SelectObject(CBitmap* bitmap)
{
    return CBitmap::FromHandle(static_cast<HBITMAP>(::SelectObject(m_hDC, HandleOf(bitmap))));
}
int CDC::SelectObject(CRgn* region) { return ::SelectClipRgn(m_hDC, static_cast<HRGN>(HandleOf(region))); }
HGDIOBJ CDC::SelectObject(HGDIOBJ object) { return ::SelectObject(m_hDC, object); }
CGdiObject* CDC::SelectStockObject(int index)
{
    return CGdiObject::FromHandle(::SelectObject(m_hDC, ::GetStockObject(index)));
}
CPen* CDC::GetCurrentPen() const { return CPen::FromHandle(static_cast<HPEN>(::GetCurrentObject(m_hDC, OBJ_PEN))); }
CBrush* CDC::GetCurrentBrush() const
{
    return CBrush::FromHandle(static_cast<HBRUSH>(::GetCurrentObject(m_hDC, OBJ_BRUSH)));
}
CFont* CDC::GetCurrentFont() const { return CFont::FromHandle(static_cast<HFONT>(::GetCurrentObject(m_hDC, OBJ_FONT))); }
CBitmap* CDC::GetCurrentBitmap() const
{
    return CBitmap::FromHandle(static_cast<HBITMAP>(::GetCurrentObject(m_hDC, OBJ_BITMAP)));
}

COLORREF CDC::SetTextColor(COLORREF color) { return ::SetTextColor(m_hDC, color); }
COLORREF CDC::GetTextColor() const { return ::GetTextColor(m_hDC); }
COLORREF CDC::SetBkColor(COLORREF color) { return ::SetBkColor(m_hDC, color); }
COLORREF CDC::GetBkColor() const { return ::GetBkColor(m_hDC); }
int CDC::SetBkMode(int mode) { return ::SetBkMode(m_hDC, mode); }
int CDC::GetBkMode() const { return ::GetBkMode(m_hDC); }
int CDC::SetROP2(int rop) { return ::SetROP2(m_hDC, rop); }
int CDC::GetROP2() const { return ::GetROP2(m_hDC); }
int CDC::SetPolyFillMode(int mode) { return ::SetPolyFillMode(m_hDC, mode); }
int CDC::SetStretchBltMode(int mode) { return ::SetStretchBltMode(m_hDC, mode); }
UINT CDC::SetTextAlign(UINT align) { return ::SetTextAlign(m_hDC, align); }

int CDC::SetMapMode(int mode) { return ::SetMapMode(m_hDC, mode); }
int CDC::GetMapMode() const { return ::GetMapMode(m_hDC); }
CPoint CDC::SetViewportOrg(int x, int y)
{
    CPoint old;
    ::SetViewportOrgEx(m_hDC, x, y, &old);
    return old;
}
CPoint CDC::GetViewportOrg() const
{
    CPoint origin;
    ::GetViewportOrgEx(m_hDC, &origin);
    return origin;
}
CPoint CDC::OffsetViewportOrg(int dx, int dy)
{
    CPoint old;
    ::OffsetViewportOrgEx(m_hDC, dx, dy, &old);
    return old;
}
CPoint CDC::SetWindowOrg(int x, int y)
{
    CPoint old;
    ::SetWindowOrgEx(m_hDC, x, y, &old);
    return old;
}
CPoint CDC::GetWindowOrg() const
{
    CPoint origin;
    ::GetWindowOrgEx(m_hDC, &origin);
    return origin;
}
CSize CDC::SetWindowExt(int x, int y)
{
    CSize old;
    ::SetWindowExtEx(m_hDC, x, y, &old);
    return old;
}
CSize CDC::SetViewportExt(int x, int y)
{
    CSize old;
    ::SetViewportExtEx(m_hDC, x, y, &old);
    return old;
}
void CDC::LPtoDP(LPPOINT points, int count) const { ::LPtoDP(m_hDC, points, count); }
void CDC::LPtoDP(LPRECT rect) const { ::LPtoDP(m_hDC, reinterpret_cast<POINT*>(rect), 2); }
void CDC::DPtoLP(LPPOINT points, int count) const { ::DPtoLP(m_hDC, points, count); }
void CDC::DPtoLP(LPRECT rect) const { ::DPtoLP(m_hDC, reinterpret_cast<POINT*>(rect), 2); }

int CDC::SelectClipRgn(CRgn* region) { return ::SelectClipRgn(m_hDC, static_cast<HRGN>(HandleOf(region))); }
int CDC::SelectClipRgn(CRgn* region, int mode)
{
    return ::ExtSelectClipRgn(m_hDC, static_cast<HRGN>(HandleOf(region)), mode);
}
int CDC::IntersectClipRect(int left, int top, int right, int bottom)
{
    return ::IntersectClipRect(m_hDC, left, top, right, bottom);
}
int CDC::IntersectClipRect(LPCRECT rect) { return IntersectClipRect(rect->left, rect->top, rect->right, rect->bottom); }
int CDC::ExcludeClipRect(int left, int top, int right, int bottom)
{
    return ::ExcludeClipRect(m_hDC, left, top, right, bottom);
}
int CDC::ExcludeClipRect(LPCRECT rect) { return ExcludeClipRect(rect->left, rect->top, rect->right, rect->bottom); }
int CDC::GetClipBox(LPRECT box) const { return ::GetClipBox(m_hDC, box); }
BOOL CDC::PtVisible(int x, int y) const { return ::PtVisible(m_hDC, x, y); }
BOOL CDC::RectVisible(LPCRECT rect) const { return ::RectVisible(m_hDC, rect); }

CPoint CDC::MoveTo(int x, int y)
{
    CPoint old;
    ::MoveToEx(m_hDC, x, y, &old);
    return old;
}
CPoint CDC::GetCurrentPosition() const
{
    CPoint position;
    ::GetCurrentPositionEx(m_hDC, &position);
    return position;
}
BOOL CDC::LineTo(int x, int y) { return ::LineTo(m_hDC, x, y); }
BOOL CDC::Polyline(const POINT* points, int count) { return ::Polyline(m_hDC, points, count); }
BOOL CDC::Polygon(const POINT* points, int count) { return ::Polygon(m_hDC, points, count); }
BOOL CDC::PolyPolygon(const POINT* points, const INT* counts, int polygons)
{
    return ::PolyPolygon(m_hDC, points, counts, polygons);
}
BOOL CDC::Rectangle(int left, int top, int right, int bottom) { return ::Rectangle(m_hDC, left, top, right, bottom); }
BOOL CDC::Rectangle(LPCRECT rect) { return Rectangle(rect->left, rect->top, rect->right, rect->bottom); }
BOOL CDC::RoundRect(int left, int top, int right, int bottom, int width, int height)
{
    return ::RoundRect(m_hDC, left, top, right, bottom, width, height);
}
BOOL CDC::Ellipse(int left, int top, int right, int bottom) { return ::Ellipse(m_hDC, left, top, right, bottom); }
BOOL CDC::Ellipse(LPCRECT rect) { return Ellipse(rect->left, rect->top, rect->right, rect->bottom); }
void CDC::FillRect(LPCRECT rect, CBrush* brush) { ::FillRect(m_hDC, rect, static_cast<HBRUSH>(HandleOf(brush))); }
void CDC::FrameRect(LPCRECT rect, CBrush* brush) { ::FrameRect(m_hDC, rect, static_cast<HBRUSH>(HandleOf(brush))); }
void CDC::InvertRect(LPCRECT rect) { ::InvertRect(m_hDC, rect); }
void CDC::FillSolidRect(LPCRECT rect, COLORREF color) { ::FillSolidRect(m_hDC, rect, color); }
void CDC::FillSolidRect(int x, int y, int width, int height, COLORREF color)
{
    const RECT rect{x, y, x + width, y + height};
    ::FillSolidRect(m_hDC, &rect, color);
}
void CDC::Draw3dRect(LPCRECT rect, COLORREF topLeft, COLORREF bottomRight)
{
    ::Draw3dRect(m_hDC, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, topLeft,
                 bottomRight);
}
void CDC::Draw3dRect(int x, int y, int width, int height, COLORREF topLeft, COLORREF bottomRight)
{
    ::Draw3dRect(m_hDC, x, y, width, height, topLeft, bottomRight);
}
BOOL CDC::DrawEdge(LPRECT rect, UINT edge, UINT flags) { return ::DrawEdge(m_hDC, rect, edge, flags); }
void CDC::DrawFocusRect(LPCRECT rect) { ::DrawFocusRect(m_hDC, rect); }
BOOL CDC::DrawFrameControl(LPRECT rect, UINT type, UINT state) { return ::DrawFrameControl(m_hDC, rect, type, state); }
BOOL CDC::FillRgn(CRgn* region, CBrush* brush)
{
    return ::FillRgn(m_hDC, static_cast<HRGN>(HandleOf(region)), static_cast<HBRUSH>(HandleOf(brush)));
}
BOOL CDC::FrameRgn(CRgn* region, CBrush* brush, int width, int height)
{
    return ::FrameRgn(m_hDC, static_cast<HRGN>(HandleOf(region)), static_cast<HBRUSH>(HandleOf(brush)), width, height);
}
COLORREF CDC::SetPixel(int x, int y, COLORREF color) { return ::SetPixel(m_hDC, x, y, color); }
COLORREF CDC::GetPixel(int x, int y) const { return ::GetPixel(m_hDC, x, y); }
BOOL CDC::DrawIcon(int x, int y, HICON icon) { return ::DrawIcon(m_hDC, x, y, icon); }

BOOL CDC::PatBlt(int x, int y, int width, int height, DWORD rop) { return ::PatBlt(m_hDC, x, y, width, height, rop); }
BOOL CDC::BitBlt(int x, int y, int width, int height, CDC* source, int sx, int sy, DWORD rop)
{
    return ::BitBlt(m_hDC, x, y, width, height, source != nullptr ? source->m_hDC : nullptr, sx, sy, rop);
}
BOOL CDC::StretchBlt(int x, int y, int width, int height, CDC* source, int sx, int sy, int sourceWidth,
                     int sourceHeight, DWORD rop)
{
    return ::StretchBlt(m_hDC, x, y, width, height, source != nullptr ? source->m_hDC : nullptr, sx, sy, sourceWidth,
                        sourceHeight, rop);
}
BOOL CDC::TransparentBlt(int x, int y, int width, int height, CDC* source, int sx, int sy, int sourceWidth,
                         int sourceHeight, UINT transparent)
{
    return ::TransparentBlt(m_hDC, x, y, width, height, source != nullptr ? source->m_hDC : nullptr, sx, sy,
                            sourceWidth, sourceHeight, transparent);
}
BOOL CDC::AlphaBlend(int x, int y, int width, int height, CDC* source, int sx, int sy, int sourceWidth,
                     int sourceHeight, BLENDFUNCTION blend)
{
    return ::AlphaBlend(m_hDC, x, y, width, height, source != nullptr ? source->m_hDC : nullptr, sx, sy, sourceWidth,
                        sourceHeight, blend);
}

BOOL CDC::TextOut(int x, int y, LPCSTR text, int length) { return ::TextOutA(m_hDC, x, y, text, length); }
BOOL CDC::TextOut(int x, int y, const CString& text) { return TextOut(x, y, text.GetString(), text.GetLength()); }
BOOL CDC::ExtTextOut(int x, int y, UINT options, LPCRECT rect, LPCSTR text, UINT length, const INT* dx)
{
    return ::ExtTextOutA(m_hDC, x, y, options, rect, text, length, dx);
}
int CDC::DrawText(LPCSTR text, int length, LPRECT rect, UINT format)
{
    return ::DrawTextA(m_hDC, text, length, rect, format);
}
int CDC::DrawText(const CString& text, LPRECT rect, UINT format)
{
    return DrawText(text.GetString(), text.GetLength(), rect, format);
}
CSize CDC::GetTextExtent(LPCSTR text, int length) const
{
    CSize size;
    ::GetTextExtentPoint32A(m_hDC, text, length, &size);
    return size;
}
CSize CDC::GetTextExtent(const CString& text) const { return GetTextExtent(text.GetString(), text.GetLength()); }
BOOL CDC::GetTextMetrics(TEXTMETRICA* metrics) const { return ::GetTextMetricsA(m_hDC, metrics); }

CPaintDC::CPaintDC(CWnd* wnd) : m_hWnd(wnd != nullptr ? wnd->m_hWnd : nullptr)
{
    Attach(::BeginPaint(m_hWnd, &m_ps));
}

CPaintDC::~CPaintDC()
{
    Detach();
    ::EndPaint(m_hWnd, &m_ps);
}

CClientDC::CClientDC(CWnd* wnd) : m_hWnd(wnd != nullptr ? wnd->m_hWnd : nullptr) { Attach(::GetDC(m_hWnd)); }

CClientDC::~CClientDC()
{
    ::ReleaseDC(m_hWnd, Detach());
}

CWindowDC::CWindowDC(CWnd* wnd) : m_hWnd(wnd != nullptr ? wnd->m_hWnd : nullptr) { Attach(::GetWindowDC(m_hWnd)); }

CWindowDC::~CWindowDC()
{
    ::ReleaseDC(m_hWnd, Detach());
}
