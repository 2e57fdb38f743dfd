// CDC: a device context and the drawing calls on it. A CDC made by the
// framework owns its handle as its form says: CPaintDC begins and ends
// painting, CClientDC and CWindowDC get and release a window's DC, a memory
// DC (CreateCompatibleDC) is deleted with its object. FromHandle wraps a
// handle without owning it. Selecting a wrapper object answers the wrapper
// of what was selected before.
#pragma once

#include "platform/base/api.h"
#include "platform/base/types.h"
#include "platform/framework/cstring.h"
#include "platform/framework/geometry.h"
#include "platform/framework/gdiobj.h"
#include "platform/gdi/gdi.h"
#include "platform/user/winuser.h"

class CWnd;

class NUVEX_PLATFORM_API CDC : public CObject {
    DECLARE_DYNCREATE(CDC)
public:
    CDC() = default;
    // Deletes a DC this object created (memory DCs); wrapped DCs are left.
    ~CDC() override;
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    HDC m_hDC = nullptr;
    HDC m_hAttribDC = nullptr;
    HDC GetSafeHdc() const { return m_hDC; }
    operator HDC() const { return m_hDC; }

    static CDC* FromHandle(HDC dc);
    static void DeleteTempMap();
    BOOL Attach(HDC dc);
    HDC Detach();
    BOOL CreateCompatibleDC(CDC* reference);
    BOOL DeleteDC();
    CWnd* GetWindow() const;

    int SaveDC();
    BOOL RestoreDC(int saved);
    int GetDeviceCaps(int index) const;

    // Selection: the previous object as a wrapper (temporary unless it is
    // one we know).
    CPen* SelectObject(CPen* pen);
    CBrush* SelectObject(CBrush* brush);
    CFont* SelectObject(CFont* font);
    CBitmap* SelectObject(CBitmap* bitmap);
    int SelectObject(CRgn* region);
    HGDIOBJ SelectObject(HGDIOBJ object);
    CGdiObject* SelectStockObject(int index);
    CPen* GetCurrentPen() const;
    CBrush* GetCurrentBrush() const;
    CFont* GetCurrentFont() const;
    CBitmap* GetCurrentBitmap() const;

    COLORREF SetTextColor(COLORREF color);
    COLORREF GetTextColor() const;
    COLORREF SetBkColor(COLORREF color);
    COLORREF GetBkColor() const;
    int SetBkMode(int mode);
    int GetBkMode() const;
    int SetROP2(int rop);
    int GetROP2() const;
    int SetPolyFillMode(int mode);
    int SetStretchBltMode(int mode);
    UINT SetTextAlign(UINT align);

    int SetMapMode(int mode);
    int GetMapMode() const;
    CPoint SetViewportOrg(int x, int y);
    CPoint SetViewportOrg(POINT point) { return SetViewportOrg(point.x, point.y); }
    CPoint GetViewportOrg() const;
    CPoint OffsetViewportOrg(int dx, int dy);
    CPoint SetWindowOrg(int x, int y);
    CPoint SetWindowOrg(POINT point) { return SetWindowOrg(point.x, point.y); }
    CPoint GetWindowOrg() const;
    CSize SetWindowExt(int x, int y);
    CSize SetViewportExt(int x, int y);
    void LPtoDP(LPPOINT points, int count = 1) const;
    void LPtoDP(LPRECT rect) const;
    void DPtoLP(LPPOINT points, int count = 1) const;
    void DPtoLP(LPRECT rect) const;

    int SelectClipRgn(CRgn* region);
    int SelectClipRgn(CRgn* region, int mode);
    int IntersectClipRect(int left, int top, int right, int bottom);
    int IntersectClipRect(LPCRECT rect);
    int ExcludeClipRect(int left, int top, int right, int bottom);
    int ExcludeClipRect(LPCRECT rect);
    int GetClipBox(LPRECT box) const;
    BOOL PtVisible(int x, int y) const;
    BOOL RectVisible(LPCRECT rect) const;

    CPoint MoveTo(int x, int y);
    CPoint MoveTo(POINT point) { return MoveTo(point.x, point.y); }
    CPoint GetCurrentPosition() const;
    BOOL LineTo(int x, int y);
    BOOL LineTo(POINT point) { return LineTo(point.x, point.y); }
    BOOL Polyline(const POINT* points, int count);
    BOOL Polygon(const POINT* points, int count);
    BOOL PolyPolygon(const POINT* points, const INT* counts, int polygons);
    BOOL Rectangle(int left, int top, int right, int bottom);
    BOOL Rectangle(LPCRECT rect);
    BOOL RoundRect(int left, int top, int right, int bottom, int width, int height);
    BOOL Ellipse(int left, int top, int right, int bottom);
    BOOL Ellipse(LPCRECT rect);
    void FillRect(LPCRECT rect, CBrush* brush);
    void FrameRect(LPCRECT rect, CBrush* brush);
    void InvertRect(LPCRECT rect);
    void FillSolidRect(LPCRECT rect, COLORREF color);
    void FillSolidRect(int x, int y, int width, int height, COLORREF color);
    void Draw3dRect(LPCRECT rect, COLORREF topLeft, COLORREF bottomRight);
    void Draw3dRect(int x, int y, int width, int height, COLORREF topLeft, COLORREF bottomRight);
    BOOL DrawEdge(LPRECT rect, UINT edge, UINT flags);
    void DrawFocusRect(LPCRECT rect);
    BOOL DrawFrameControl(LPRECT rect, UINT type, UINT state);
    BOOL FillRgn(CRgn* region, CBrush* brush);
    BOOL FrameRgn(CRgn* region, CBrush* brush, int width, int height);
    COLORREF SetPixel(int x, int y, COLORREF color);
    COLORREF SetPixel(POINT point, COLORREF color) { return SetPixel(point.x, point.y, color); }
    COLORREF GetPixel(int x, int y) const;
    BOOL DrawIcon(int x, int y, HICON icon);

    BOOL PatBlt(int x, int y, int width, int height, DWORD rop);
    BOOL BitBlt(int x, int y, int width, int height, CDC* source, int sx, int sy, DWORD rop);
    BOOL StretchBlt(int x, int y, int width, int height, CDC* source, int sx, int sy, int sourceWidth,
                    int sourceHeight, DWORD rop);
    BOOL TransparentBlt(int x, int y, int width, int height, CDC* source, int sx, int sy, int sourceWidth,
                        int sourceHeight, UINT transparent);
    BOOL AlphaBlend(int x, int y, int width, int height, CDC* source, int sx, int sy, int sourceWidth,
                    int sourceHeight, BLENDFUNCTION blend);

    BOOL TextOut(int x, int y, LPCSTR text, int length);
    BOOL TextOut(int x, int y, const CString& text);
    BOOL ExtTextOut(int x, int y, UINT options, LPCRECT rect, LPCSTR text, UINT length, const INT* dx = nullptr);
    int DrawText(LPCSTR text, int length, LPRECT rect, UINT format);
    int DrawText(const CString& text, LPRECT rect, UINT format);
    CSize GetTextExtent(LPCSTR text, int length) const;
    CSize GetTextExtent(const CString& text) const;
    BOOL GetTextMetrics(TEXTMETRICA* metrics) const;

protected:
    // Whether the destructor deletes the DC (memory DCs made here).
    bool m_ownsDC = false;
};

// Painting in a WM_PAINT handler: BeginPaint at construction, EndPaint at
// destruction.
class NUVEX_PLATFORM_API CPaintDC : public CDC {
    DECLARE_DYNAMIC(CPaintDC)
public:
    explicit CPaintDC(CWnd* wnd);
    ~CPaintDC() override;
    PAINTSTRUCT m_ps{};

protected:
    HWND m_hWnd = nullptr;
};

// The client-area DC of a window, released at destruction.
class NUVEX_PLATFORM_API CClientDC : public CDC {
    DECLARE_DYNAMIC(CClientDC)
public:
    explicit CClientDC(CWnd* wnd);
    ~CClientDC() override;

protected:
    HWND m_hWnd = nullptr;
};

// The whole-window DC (non-client area included), released at destruction.
class NUVEX_PLATFORM_API CWindowDC : public CDC {
    DECLARE_DYNAMIC(CWindowDC)
public:
    explicit CWindowDC(CWnd* wnd);
    ~CWindowDC() override;

protected:
    HWND m_hWnd = nullptr;
};
