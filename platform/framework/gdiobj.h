// The drawing-object wrappers: CGdiObject owns one drawing-object handle
// and deletes it when destroyed; CPen, CBrush, CFont, CBitmap and CRgn add
// their creation functions. FromHandle gives an object for a handle that
// nobody wraps; such temporary objects never delete their handle and are
// freed at the next idle time.
#pragma once

#include "platform/base/api.h"
#include "platform/base/types.h"
#include "platform/framework/object.h"
#include "platform/gdi/gdi.h"

class NUVEX_PLATFORM_API CGdiObject : public CObject {
    DECLARE_DYNCREATE(CGdiObject)
public:
    CGdiObject() = default;
    ~CGdiObject() override;
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;

    HGDIOBJ m_hObject = nullptr;
    HGDIOBJ GetSafeHandle() const { return m_hObject; }
    operator HGDIOBJ() const { return m_hObject; }

    static CGdiObject* FromHandle(HGDIOBJ handle);
    static void DeleteTempMap();
    // FALSE when this object already holds a handle or `handle` is null.
    BOOL Attach(HGDIOBJ handle);
    HGDIOBJ Detach();
    // Deletes the handle now; FALSE when there is none.
    BOOL DeleteObject();
    int GetObject(int size, LPVOID out) const;
    UINT GetObjectType() const;
    BOOL CreateStockObject(int index);
    BOOL UnrealizeObject();
};

class NUVEX_PLATFORM_API CPen : public CGdiObject {
    DECLARE_DYNAMIC(CPen)
public:
    CPen() = default;
    CPen(int style, int width, COLORREF color);
    operator HPEN() const { return static_cast<HPEN>(m_hObject); }
    static CPen* FromHandle(HPEN handle);
    BOOL CreatePen(int style, int width, COLORREF color);
    BOOL CreatePenIndirect(const LOGPEN* pen);
    int GetLogPen(LOGPEN* pen) const;
};

class NUVEX_PLATFORM_API CBrush : public CGdiObject {
    DECLARE_DYNAMIC(CBrush)
public:
    CBrush() = default;
    explicit CBrush(COLORREF color);
    CBrush(int hatch, COLORREF color);
    operator HBRUSH() const { return static_cast<HBRUSH>(m_hObject); }
    static CBrush* FromHandle(HBRUSH handle);
    BOOL CreateSolidBrush(COLORREF color);
    BOOL CreateHatchBrush(int hatch, COLORREF color);
    BOOL CreatePatternBrush(class CBitmap* bitmap);
    BOOL CreateBrushIndirect(const LOGBRUSH* brush);
    BOOL CreateSysColorBrush(int index);
    int GetLogBrush(LOGBRUSH* brush) const;
};

class NUVEX_PLATFORM_API CFont : public CGdiObject {
    DECLARE_DYNAMIC(CFont)
public:
    operator HFONT() const { return static_cast<HFONT>(m_hObject); }
    static CFont* FromHandle(HFONT handle);
    BOOL CreateFontIndirect(const LOGFONTA* font);
    BOOL CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic, BYTE underline,
                    BYTE strikeOut, BYTE charSet, BYTE outPrecision, BYTE clipPrecision, BYTE quality,
                    BYTE pitchAndFamily, LPCSTR face);
    // `pointSize` in tenths of a point, converted for the screen.
    BOOL CreatePointFont(int pointSize, LPCSTR face, class CDC* dc = nullptr);
    int GetLogFont(LOGFONTA* font) const;
};

class NUVEX_PLATFORM_API CBitmap : public CGdiObject {
    DECLARE_DYNAMIC(CBitmap)
public:
    operator HBITMAP() const { return static_cast<HBITMAP>(m_hObject); }
    static CBitmap* FromHandle(HBITMAP handle);
    // The bitmap resource `id` of the running program.
    BOOL LoadBitmap(UINT id);
    BOOL CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits);
    BOOL CreateBitmapIndirect(const BITMAP* bitmap);
    BOOL CreateCompatibleBitmap(class CDC* dc, int width, int height);
    int GetBitmap(BITMAP* bitmap) const;
    LONG GetBitmapBits(LONG size, void* bits) const;
    LONG SetBitmapBits(DWORD size, const void* bits);
};

class NUVEX_PLATFORM_API CRgn : public CGdiObject {
    DECLARE_DYNAMIC(CRgn)
public:
    operator HRGN() const { return static_cast<HRGN>(m_hObject); }
    static CRgn* FromHandle(HRGN handle);
    BOOL CreateRectRgn(int left, int top, int right, int bottom);
    BOOL CreateRectRgnIndirect(LPCRECT rect);
    BOOL CreateEllipticRgn(int left, int top, int right, int bottom);
    BOOL CreateRoundRectRgn(int left, int top, int right, int bottom, int width, int height);
    BOOL CreatePolygonRgn(const POINT* points, int count, int fillMode);
    void SetRectRgn(int left, int top, int right, int bottom);
    void SetRectRgn(LPCRECT rect);
    int CombineRgn(const CRgn* a, const CRgn* b, int mode);
    int CopyRgn(const CRgn* source);
    int OffsetRgn(int dx, int dy);
    int GetRgnBox(LPRECT box) const;
    BOOL PtInRegion(int x, int y) const;
    BOOL PtInRegion(POINT point) const { return PtInRegion(point.x, point.y); }
    BOOL RectInRegion(LPCRECT rect) const;
    BOOL EqualRgn(const CRgn* other) const;
};
