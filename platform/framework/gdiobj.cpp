// The drawing-object wrappers: creation, attaching and deletion.
#include "platform/framework/gdiobj.h"

#include "platform/framework/dc.h"
#include "platform/kernel/resource.h"
#include "platform/kernel/resource_records.h"
#include "platform/user/winuser.h"

IMPLEMENT_DYNCREATE(CGdiObject, CObject)
IMPLEMENT_DYNAMIC(CPen, CGdiObject)
IMPLEMENT_DYNAMIC(CBrush, CGdiObject)
IMPLEMENT_DYNAMIC(CFont, CGdiObject)
IMPLEMENT_DYNAMIC(CBitmap, CGdiObject)
IMPLEMENT_DYNAMIC(CRgn, CGdiObject)

CGdiObject::~CGdiObject() { DeleteObject(); }

BOOL CGdiObject::Attach(HGDIOBJ handle)
{
    if (m_hObject != nullptr || handle == nullptr) {
        return FALSE;
    }
    m_hObject = handle;
    return TRUE;
}

HGDIOBJ CGdiObject::Detach()
{
    HGDIOBJ handle = m_hObject;
    m_hObject = nullptr;
    return handle;
}

BOOL CGdiObject::DeleteObject()
{
    if (m_hObject == nullptr) {
        return FALSE;
    }
    return ::DeleteObject(Detach());
}

int CGdiObject::GetObject(int size, LPVOID out) const { return ::GetObjectA(m_hObject, size, out); }
UINT CGdiObject::GetObjectType() const { return ::GetObjectType(m_hObject); }
BOOL CGdiObject::CreateStockObject(int index) { return Attach(::GetStockObject(index)); }
BOOL CGdiObject::UnrealizeObject() { return ::UnrealizeObject(m_hObject); }

CPen::CPen(int style, int width, COLORREF color) { CreatePen(style, width, color); }
BOOL CPen::CreatePen(int style, int width, COLORREF color) { return Attach(::CreatePen(style, width, color)); }
BOOL CPen::CreatePenIndirect(const LOGPEN* pen) { return Attach(::CreatePenIndirect(pen)); }
int CPen::GetLogPen(LOGPEN* pen) const { return GetObject(sizeof(LOGPEN), pen); }

CBrush::CBrush(COLORREF color) { CreateSolidBrush(color); }
CBrush::CBrush(int hatch, COLORREF color) { CreateHatchBrush(hatch, color); }
BOOL CBrush::CreateSolidBrush(COLORREF color) { return Attach(::CreateSolidBrush(color)); }
BOOL CBrush::CreateHatchBrush(int hatch, COLORREF color) { return Attach(::CreateHatchBrush(hatch, color)); }
BOOL CBrush::CreatePatternBrush(CBitmap* bitmap)
{
    return bitmap != nullptr ? Attach(::CreatePatternBrush(static_cast<HBITMAP>(bitmap->m_hObject))) : FALSE;
}
BOOL CBrush::CreateBrushIndirect(const LOGBRUSH* brush) { return Attach(::CreateBrushIndirect(brush)); }
BOOL CBrush::CreateSysColorBrush(int index) { return Attach(::CreateSolidBrush(::GetSysColor(index))); }
int CBrush::GetLogBrush(LOGBRUSH* brush) const { return GetObject(sizeof(LOGBRUSH), brush); }

BOOL CFont::CreateFontIndirect(const LOGFONTA* font) { return Attach(::CreateFontIndirectA(font)); }
BOOL CFont::CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic,
                       BYTE underline, BYTE strikeOut, BYTE charSet, BYTE outPrecision, BYTE clipPrecision,
                       BYTE quality, BYTE pitchAndFamily, LPCSTR face)
{
    return Attach(::CreateFontA(height, width, escapement, orientation, weight, italic, underline, strikeOut, charSet,
                                outPrecision, clipPrecision, quality, pitchAndFamily, face));
}

BOOL CFont::CreatePointFont(int pointSize, LPCSTR face, CDC* dc)
{
    LOGFONTA font{};
    HDC screen = dc != nullptr ? dc->m_hDC : ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    if (dc == nullptr) {
        ::ReleaseDC(nullptr, screen);
    }
    // Tenths of a point to pixels, rounded, as a character height.
    font.lfHeight = -((pointSize * (dpi > 0 ? dpi : 96) + 360) / 720);
    font.lfWeight = 400;
    if (face != nullptr) {
        snprintf(font.lfFaceName, sizeof font.lfFaceName, "%s", face);
    }
    return CreateFontIndirect(&font);
}

int CFont::GetLogFont(LOGFONTA* font) const { return GetObject(sizeof(LOGFONTA), font); }

BOOL CBitmap::LoadBitmap(UINT id)
{
    auto bytes = FindResourceBytes(nullptr, kResourceBitmap, static_cast<WORD>(id));
    if (!bytes) {
        return FALSE;
    }
    auto image = DecodeBitmap(*bytes);
    if (!image) {
        return FALSE;
    }
    return Attach(::CreateBitmap(image->width, image->height, 1, 32, image->bgra.data()));
}

BOOL CBitmap::CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits)
{
    return Attach(::CreateBitmap(width, height, planes, bitsPerPixel, bits));
}
BOOL CBitmap::CreateBitmapIndirect(const BITMAP* bitmap) { return Attach(::CreateBitmapIndirect(bitmap)); }
BOOL CBitmap::CreateCompatibleBitmap(CDC* dc, int width, int height)
{
    return Attach(::CreateCompatibleBitmap(dc != nullptr ? dc->m_hDC : nullptr, width, height));
}
int CBitmap::GetBitmap(BITMAP* bitmap) const { return GetObject(sizeof(BITMAP), bitmap); }
LONG CBitmap::GetBitmapBits(LONG size, void* bits) const
{
    return ::GetBitmapBits(static_cast<HBITMAP>(m_hObject), size, bits);
}
LONG CBitmap::SetBitmapBits(DWORD size, const void* bits)
{
    return ::SetBitmapBits(static_cast<HBITMAP>(m_hObject), size, bits);
}

BOOL CRgn::CreateRectRgn(int left, int top, int right, int bottom)
{
    return Attach(::CreateRectRgn(left, top, right, bottom));
}
BOOL CRgn::CreateRectRgnIndirect(LPCRECT rect) { return Attach(::CreateRectRgnIndirect(rect)); }
BOOL CRgn::CreateEllipticRgn(int left, int top, int right, int bottom)
{
    return Attach(::CreateEllipticRgn(left, top, right, bottom));
}
BOOL CRgn::CreateRoundRectRgn(int left, int top, int right, int bottom, int width, int height)
{
    return Attach(::CreateRoundRectRgn(left, top, right, bottom, width, height));
}
BOOL CRgn::CreatePolygonRgn(const POINT* points, int count, int fillMode)
{
    return Attach(::CreatePolygonRgn(points, count, fillMode));
}
void CRgn::SetRectRgn(int left, int top, int right, int bottom)
{
    ::SetRectRgn(static_cast<HRGN>(m_hObject), left, top, right, bottom);
}
void CRgn::SetRectRgn(LPCRECT rect) { SetRectRgn(rect->left, rect->top, rect->right, rect->bottom); }
int CRgn::CombineRgn(const CRgn* a, const CRgn* b, int mode)
{
    return ::CombineRgn(static_cast<HRGN>(m_hObject), a != nullptr ? static_cast<HRGN>(a->m_hObject) : nullptr,
                        b != nullptr ? static_cast<HRGN>(b->m_hObject) : nullptr, mode);
}
int CRgn::CopyRgn(const CRgn* source) { return CombineRgn(source, nullptr, RGN_COPY); }
int CRgn::OffsetRgn(int dx, int dy) { return ::OffsetRgn(static_cast<HRGN>(m_hObject), dx, dy); }
int CRgn::GetRgnBox(LPRECT box) const { return ::GetRgnBox(static_cast<HRGN>(m_hObject), box); }
BOOL CRgn::PtInRegion(int x, int y) const { return ::PtInRegion(static_cast<HRGN>(m_hObject), x, y); }
BOOL CRgn::RectInRegion(LPCRECT rect) const { return ::RectInRegion(static_cast<HRGN>(m_hObject), rect); }
BOOL CRgn::EqualRgn(const CRgn* other) const
{
    return other != nullptr ? ::EqualRgn(static_cast<HRGN>(m_hObject), static_cast<HRGN>(other->m_hObject)) : FALSE;
}
