// CImageStripWindow: its bitmaps, its place and its painting.
#include "host/shell/snap_glyph_strip.h"

#include <algorithm>

#include "platform/framework/dc.h"
#include "platform/gdi/gdi.h"
#include "platform/user/winuser.h"

namespace {

constexpr const char* kTooltipClass = "tooltips_class32";

struct SnapGlyph {
    uint32_t kind;
    UINT bitmap;
};
constexpr SnapGlyph kSnapGlyphs[] = {
    {0x1, kEndPointGlyph}, {0x8, kMidPointGlyph}, {0x10, kCentreGlyph}, {0x2, kIntersectionGlyph}, {0x4, kNearestGlyph},
};

SIZE SizeOf(const CBitmap& bitmap)
{
    BITMAP info{};
    bitmap.GetBitmap(&info);
    return {info.bmWidth, info.bmHeight};
}

} // namespace

BEGIN_MESSAGE_MAP(CImageStripWindow, CWnd)
    ON_WM_SHOWWINDOW()
    ON_WM_WINDOWPOSCHANGING()
    ON_WM_PAINT()
END_MESSAGE_MAP()

CImageStripWindow::~CImageStripWindow()
{
    RemoveAllBitmaps();
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd)) {
        DestroyWindow();
    }
}

BOOL CImageStripWindow::Create(CWnd* parent, DWORD style)
{
    return CreateEx(0, kTooltipClass, nullptr, style | WS_POPUP, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                    CW_USEDEFAULT, parent != nullptr ? parent->GetSafeHwnd() : nullptr, nullptr);
}

BOOL CImageStripWindow::AddBitmap(UINT resourceId)
{
    auto bitmap = std::make_unique<CBitmap>();
    if (!bitmap->LoadBitmap(resourceId)) {
        return FALSE;
    }
    m_bitmaps.push_back(std::move(bitmap));
    return TRUE;
}

void CImageStripWindow::RemoveAllBitmaps()
{
    for (std::unique_ptr<CBitmap>& bitmap : m_bitmaps) {
        bitmap->DeleteObject();
    }
    m_bitmaps.clear();
}

void CImageStripWindow::MoveTo(int x, int y)
{
    m_x = x;
    m_y = y;
    FitToBitmaps();
}

void CImageStripWindow::FitToBitmaps()
{
    int width = 2;
    int height = 0;
    for (const std::unique_ptr<CBitmap>& bitmap : m_bitmaps) {
        const SIZE size = SizeOf(*bitmap);
        width += size.cx;
        height = std::max(height, static_cast<int>(size.cy) + 2);
    }
    if (width < 1 || height < 1 || m_hWnd == nullptr) {
        return;
    }
    ::SetWindowPos(m_hWnd, HWND_TOPMOST, m_x, m_y, width, height, SWP_NOACTIVATE);
}

void CImageStripWindow::OnShowWindow(BOOL show, UINT status)
{
    if (show && m_bitmaps.empty()) {
        return;
    }
    CWnd::OnShowWindow(show, status);
}

void CImageStripWindow::OnWindowPosChanging(WINDOWPOS* pos)
{
    if (pos != nullptr && m_bitmaps.empty()) {
        pos->flags &= ~SWP_SHOWWINDOW;
    }
    CWnd::OnWindowPosChanging(pos);
}

void CImageStripWindow::OnPaint()
{
    CPaintDC paint(this);
    RECT client{};
    GetClientRect(&client);
    CDC memory;
    memory.CreateCompatibleDC(&paint);
    CBitmap canvas;
    canvas.CreateCompatibleBitmap(&paint, client.right, client.bottom);
    CBitmap* previous = memory.SelectObject(&canvas);
    memory.FillSolidRect(&client, kSnapGlyphBackground);
    CDC glyphs;
    glyphs.CreateCompatibleDC(&paint);
    int x = 0;
    for (const std::unique_ptr<CBitmap>& bitmap : m_bitmaps) {
        const SIZE size = SizeOf(*bitmap);
        CBitmap* before = glyphs.SelectObject(bitmap.get());
        memory.BitBlt(x, 0, size.cx, size.cy, &glyphs, 0, 0, SRCCOPY);
        glyphs.SelectObject(before);
        x += size.cx;
    }
    paint.BitBlt(0, 0, client.right, client.bottom, &memory, 0, 0, SRCCOPY);
    memory.SelectObject(previous);
}

std::vector<UINT> SnapGlyphsOfKind(uint32_t kind)
{
    std::vector<UINT> glyphs;
    for (const SnapGlyph& glyph : kSnapGlyphs) {
        if ((kind & glyph.kind) != 0) {
            glyphs.push_back(glyph.bitmap);
        }
    }
    return glyphs;
}

BOOL ShowSnapGlyphStrip(CImageStripWindow& strip, uint32_t kind, POINT cursorScreen)
{
    strip.RemoveAllBitmaps();
    for (UINT glyph : SnapGlyphsOfKind(kind)) {
        strip.AddBitmap(glyph);
    }
    if (strip.GetBitmapCount() == 0) {
        strip.ShowWindow(SW_HIDE);
        return FALSE;
    }
    strip.MoveTo(cursorScreen.x + kSnapGlyphOffset, cursorScreen.y + kSnapGlyphOffset);
    strip.ShowWindow(SW_SHOWNOACTIVATE);
    strip.Invalidate();
    strip.UpdateWindow();
    return TRUE;
}
