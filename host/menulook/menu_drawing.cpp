// Drawing helpers of the menu looks: bitmaps, masks, tints, work areas, bar
// popups, background brushes, one bar item's repaint, rotated text and the
// off-screen DC.
#include "host/menulook/menu_drawing.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "host/menulook/menu_colors.h"
#include "host/menulook/menu_library.h"
#include "host/menulook/new_menu.h"
#include "platform/framework/app.h"
#include "platform/framework/doctemplate.h"
#include "platform/gdi/dc_guards.h"
#include "platform/kernel/resource.h"

namespace {

// The extended style of a window laid out right to left.
constexpr LONG_PTR kLayoutRightToLeft = 0x00400000;
// The gradient part of the wide background brush.
constexpr int kBrushGradientWidth = 700;
constexpr int kBrushHeight = 20;

std::vector<std::unique_ptr<CMenuBackgroundBrush>>& Brushes()
{
    static std::vector<std::unique_ptr<CMenuBackgroundBrush>> brushes;
    return brushes;
}

CMenuBackgroundBrush*& LastBrush()
{
    static CMenuBackgroundBrush* last = nullptr;
    return last;
}

} // namespace

void FrameSolid(HDC dc, const RECT& r, COLORREF colour)
{
    Draw3dRect(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, colour, colour);
}

LOGFONTA MenuLogFont()
{
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof metrics;
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0) == FALSE) {
        LOGFONTA font{};
        font.lfHeight = -11;
        font.lfWeight = FW_NORMAL;
        std::strncpy(font.lfFaceName, "Tahoma", LF_FACESIZE - 1);
        return font;
    }
    return metrics.lfMenuFont;
}

HFONT CreateMenuFont(bool bold, int escapement)
{
    LOGFONTA font = MenuLogFont();
    if (bold) {
        font.lfWeight = FW_BOLD;
    }
    font.lfEscapement = escapement;
    font.lfOrientation = escapement;
    return CreateFontIndirectA(&font);
}

// Bitmaps ----------------------------------------------------------------------------------------

int GetBitmapColorCount(const BITMAPINFOHEADER& header)
{
    if (header.biClrUsed != 0) {
        return static_cast<int>(header.biClrUsed);
    }
    switch (header.biBitCount) {
    case 1: return 2;
    case 4: return 16;
    case 8: return 256;
    default: return 0;
    }
}

HBITMAP LoadBitmapResource24(UINT resourceId, HMODULE module, int* colors)
{
    auto bytes = FindResourceBytes(module, kResourceBitmap, static_cast<WORD>(resourceId));
    if (!bytes) {
        return nullptr;
    }
    const auto image = DecodeBitmap(*bytes);
    if (!image || image->width < 1 || image->height < 1) {
        return nullptr;
    }
    if (colors != nullptr) {
        // Resource pictures are kept in true colour.
        *colors = 0;
    }
    return CreateBitmap(image->width, image->height, 1, 32, image->bgra.data());
}

namespace {

// The header of a top-down true-colour picture of width x height.
BITMAPINFO TopDownHeader(LONG width, LONG height)
{
    BITMAPINFO header{};
    header.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    header.bmiHeader.biWidth = width;
    header.bmiHeader.biHeight = -height;
    header.bmiHeader.biPlanes = 1;
    header.bmiHeader.biBitCount = 32;
    header.bmiHeader.biCompression = BI_RGB;
    return header;
}

bool ReadBitmapPixels(HBITMAP bitmap, LONG* width, LONG* height, std::vector<uint32_t>& pixels)
{
    BITMAP info{};
    if (bitmap == nullptr || GetObjectA(bitmap, sizeof info, &info) == 0 || info.bmWidth < 1 || info.bmHeight < 1) {
        return false;
    }
    *width = info.bmWidth;
    *height = info.bmHeight;
    pixels.assign(static_cast<size_t>(info.bmWidth) * static_cast<size_t>(info.bmHeight), 0);
    BITMAPINFO header = TopDownHeader(info.bmWidth, info.bmHeight);
    HDC dc = CreateCompatibleDC(nullptr);
    const int lines =
        GetDIBits(dc, bitmap, 0, static_cast<UINT>(info.bmHeight), pixels.data(), &header, DIB_RGB_COLORS);
    DeleteDC(dc);
    return lines == info.bmHeight;
}

bool WriteBitmapPixels(HBITMAP bitmap, LONG width, LONG height, const std::vector<uint32_t>& pixels)
{
    BITMAPINFO header = TopDownHeader(width, height);
    HDC dc = CreateCompatibleDC(nullptr);
    const int lines = SetDIBits(dc, bitmap, 0, static_cast<UINT>(height), pixels.data(), &header, DIB_RGB_COLORS);
    DeleteDC(dc);
    return lines == height;
}

COLORREF PixelColor(uint32_t bgra)
{
    return RGB(static_cast<BYTE>((bgra >> 16) & 0xFF), static_cast<BYTE>((bgra >> 8) & 0xFF),
               static_cast<BYTE>(bgra & 0xFF));
}

uint32_t PixelValue(COLORREF c, uint32_t alpha)
{
    return (alpha & 0xFF000000u) | (static_cast<uint32_t>(GetRValue(c)) << 16) |
           (static_cast<uint32_t>(GetGValue(c)) << 8) | GetBValue(c);
}

} // namespace

bool ReadBitmapImage(HBITMAP bitmap, ImagePixels& image)
{
    LONG w = 0;
    LONG h = 0;
    std::vector<uint32_t> pixels;
    if (!ReadBitmapPixels(bitmap, &w, &h, pixels)) {
        return false;
    }
    image.width = w;
    image.height = h;
    image.bgra.resize(pixels.size() * 4);
    std::memcpy(image.bgra.data(), pixels.data(), image.bgra.size());
    return true;
}

ImagePixels ImageListPixels(HIMAGELIST list, int index)
{
    ImagePixels image;
    HICON icon = list != nullptr ? ImageList_GetIcon(list, index, ILD_NORMAL) : nullptr;
    if (icon == nullptr) {
        return image;
    }
    ICONINFO info{};
    if (GetIconInfo(icon, &info) != FALSE) {
        ReadBitmapImage(info.hbmColor, image);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
    }
    DestroyIcon(icon);
    return image;
}

HBITMAP CopyBitmap(HBITMAP bitmap)
{
    LONG w = 0;
    LONG h = 0;
    std::vector<uint32_t> pixels;
    if (!ReadBitmapPixels(bitmap, &w, &h, pixels)) {
        return nullptr;
    }
    return CreateBitmap(w, h, 1, 32, pixels.data());
}

COLORREF TopLeftPixel(HBITMAP bitmap)
{
    LONG w = 0;
    LONG h = 0;
    std::vector<uint32_t> pixels;
    if (!ReadBitmapPixels(bitmap, &w, &h, pixels)) {
        return CLR_INVALID;
    }
    return PixelColor(pixels[0]);
}

COLORREF TintBitmap(HBITMAP bitmap, int weight, COLORREF colour)
{
    LONG w = 0;
    LONG h = 0;
    std::vector<uint32_t> pixels;
    if (!ReadBitmapPixels(bitmap, &w, &h, pixels)) {
        return CLR_INVALID;
    }
    for (uint32_t& p : pixels) {
        const COLORREF c = PixelColor(p);
        const int g = (GetRValue(c) + GetGValue(c) + GetBValue(c)) / 3;
        auto mix = [&](int ch) { return static_cast<BYTE>((weight * g + (255 - weight) * ch) >> 8); };
        p = PixelValue(RGB(mix(GetRValue(colour)), mix(GetGValue(colour)), mix(GetBValue(colour))), p);
    }
    WriteBitmapPixels(bitmap, w, h, pixels);
    return PixelColor(pixels[0]);
}

HBITMAP CreateMaskBitmap(HBITMAP bitmap, COLORREF transparent)
{
    BITMAP info{};
    if (bitmap == nullptr || GetObjectA(bitmap, sizeof info, &info) == 0) {
        return nullptr;
    }
    HBITMAP mask = CreateBitmap(info.bmWidth, info.bmHeight, 1, 1, nullptr);
    if (mask == nullptr) {
        return nullptr;
    }
    const MemoryDC source;
    const MemoryDC target;
    const SelectedObject sourceBitmap(source.Get(), bitmap);
    const SelectedObject targetBitmap(target.Get(), mask);
    SetBkColor(source.Get(), transparent);
    BitBlt(target.Get(), 0, 0, info.bmWidth, info.bmHeight, source.Get(), 0, 0, SRCCOPY);
    BitBlt(source.Get(), 0, 0, info.bmWidth, info.bmHeight, target.Get(), 0, 0, SRCINVERT);
    return mask;
}

// Monitors and popups ------------------------------------------------------------------------------

namespace {

RECT WorkArea(HMONITOR monitor)
{
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (monitor != nullptr && GetMonitorInfoA(monitor, &info) != FALSE) {
        return info.rcWork;
    }
    return RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

} // namespace

RECT GetMonitorWorkArea(HWND window) { return WorkArea(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST)); }

RECT GetMonitorWorkArea(const RECT& rect) { return WorkArea(MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST)); }

BOOL TrackBarPopupMenu(HMENU menu, UINT flags, const BarPopupPlacement& placement)
{
    RECT button = placement.button;
    const RECT work = GetMonitorWorkArea(button);
    const POINT centre{(work.left + work.right) / 2, (work.top + work.bottom) / 2};
    const bool rtl = (GetWindowLongA(placement.owner, GWL_EXSTYLE) & kLayoutRightToLeft) != 0;
    TPMPARAMS params{sizeof(TPMPARAMS), button};
    if (placement.vertical) {
        button.top = std::max(button.top, work.top);
        if (centre.x >= button.right) {
            if (button.right <= work.left) {
                button.right = work.left + 1;
            }
            return TrackPopupMenuEx(menu, flags, button.right - 1, button.top + 1, placement.owner, nullptr);
        }
        if (button.left <= work.left) {
            button.left = work.left + 1;
        }
        return TrackPopupMenuEx(menu, flags | (rtl ? 0u : TPM_RIGHTALIGN), button.left - 1, button.top + 1,
                                placement.owner, nullptr);
    }
    int h = 0;
    if (auto* newMenu = dynamic_cast<CNewMenu*>(CMenu::FromHandlePermanent(menu))) {
        h = GetMenuItemCount(menu) * newMenu->GetIconSize().cy;
    }
    const bool known = h > 0;
    const bool upwards = centre.y < button.top && !(known && button.bottom + h < work.bottom);
    button.left = std::max(button.left, work.left);
    if (upwards) {
        button.top = std::min(button.top, work.bottom);
        return TrackPopupMenuEx(menu, flags | TPM_BOTTOMALIGN | TPM_VERTICAL | (rtl ? TPM_RIGHTALIGN : 0u),
                                button.left, button.top, placement.owner, &params);
    }
    button.bottom = std::max(button.bottom, work.top);
    return TrackPopupMenuEx(menu, flags | TPM_VERTICAL | (rtl ? TPM_RIGHTALIGN : 0u), button.left, button.bottom,
                            placement.owner, &params);
}

// Background brushes --------------------------------------------------------------------------------

CMenuBackgroundBrush::CMenuBackgroundBrush(int kind, COLORREF first, COLORREF second)
    : m_kind(kind), m_first(first), m_second(second)
{
    const int os = MenuLibrary().osStyle;
    if (os != kOsStyleNt4 && os != kOsStyle95 && (kind == kBrushGradient || kind == kBrushWarmGradient)) {
        ScopedWindowDC screen(nullptr);
        const int width = ((GetSystemMetrics(SM_CXFULLSCREEN) + 16) / 8) * 8;
        HBITMAP bitmap = ::CreateCompatibleBitmap(screen.Get(), width, kBrushHeight);
        {
            const MemoryDC memory(screen.Get());
            const SelectedObject selected(memory.Get(), bitmap);
            if (width >= kBrushGradientWidth + 1) {
                DrawGradient(memory.Get(), RECT{0, 0, kBrushGradientWidth, kBrushHeight}, first, second,
                             GradientDirection::Horizontal, NearestColor::Yes);
                RECT rest{kBrushGradientWidth, 0, width, kBrushHeight};
                FillSolidRect(memory.Get(), &rest, second);
            } else {
                DrawGradient(memory.Get(), RECT{0, 0, width, kBrushHeight}, first, second,
                             GradientDirection::Horizontal, NearestColor::Yes);
            }
        }
        Attach(::CreatePatternBrush(bitmap));
        ::DeleteObject(bitmap);
    } else {
        Attach(::CreateSolidBrush(first));
    }
}

CMenuBackgroundBrush* GetMenuBackgroundBrush()
{
    const int code = CNewMenu::GetMenuDrawMode();
    int kind = 0;
    COLORREF first = 0;
    COLORREF second = 0;
    const bool poor = GetScreenColorDepth() < 256 || MenuLibrary().highContrast;
    switch (code) {
    case 2:
    case 3:
        kind = kBrushSolid;
        first = second = GetSysColor(COLOR_BTNFACE);
        break;
    case 8:
    case 9:
        GetMenuColors(&first, &second, TRUE);
        kind = kBrushGradient;
        if (poor) {
            first = second = GetSysColor(COLOR_BTNFACE);
            kind = kBrushSolid;
        }
        break;
    case 10:
    case 11:
        GetMenuColors(&first, &second, TRUE);
        kind = poor ? kBrushSolid : kBrushWarmGradient;
        break;
    default: return nullptr;
    }
    CMenuBackgroundBrush*& last = LastBrush();
    auto matches = [&](const CMenuBackgroundBrush* b) {
        return b != nullptr && b->Kind() == kind && b->First() == first && b->Second() == second;
    };
    if (matches(last)) {
        return last;
    }
    for (const auto& brush : Brushes()) {
        if (matches(brush.get())) {
            last = brush.get();
            return last;
        }
    }
    Brushes().push_back(std::make_unique<CMenuBackgroundBrush>(kind, first, second));
    last = Brushes().back().get();
    return last;
}

void ForgetMenuBackgroundBrushes()
{
    LastBrush() = nullptr;
    Brushes().clear();
}

void SetMenuBackground(HMENU menu)
{
    CMenuBackgroundBrush* brush = GetMenuBackgroundBrush();
    if (brush == nullptr) {
        return;
    }
    MENUINFO info{};
    info.cbSize = kMenuInfoSize32;
    info.fMask = MIM_BACKGROUND;
    info.hbrBack = static_cast<HBRUSH>(brush->GetSafeHandle());
    if (IsMenu(menu) != FALSE && dynamic_cast<CNewMenu*>(CMenu::FromHandlePermanent(menu)) != nullptr) {
        SetMenuInfo(menu, &info);
    }
    CWinApp* app = AfxGetApp();
    if (app == nullptr) {
        return;
    }
    POSITION position = app->GetFirstDocTemplatePosition();
    while (position != nullptr) {
        auto* multi = dynamic_cast<CMultiDocTemplate*>(app->GetNextDocTemplate(position));
        if (multi != nullptr && multi->m_hMenuShared != nullptr &&
            dynamic_cast<CNewMenu*>(CMenu::FromHandlePermanent(multi->m_hMenuShared)) != nullptr) {
            SetMenuInfo(multi->m_hMenuShared, &info);
        }
    }
}

BOOL RedrawMenuBarItem(HWND frame, HMENU menu, int position, UINT state)
{
    RECT item{};
    if (position == -1 || GetMenuItemRect(frame, menu, static_cast<UINT>(position), &item) == FALSE) {
        return FALSE;
    }
    MENUITEMINFOA info{};
    info.cbSize = kMenuItemInfoSize32;
    info.fMask = MIIM_ID | MIIM_TYPE | MIIM_DATA;
    if (GetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &info) == FALSE ||
        (info.fType & MFT_OWNERDRAW) == 0) {
        return FALSE;
    }
    ScopedWindowDC dc(frame, ScopedWindowDC::Kind::Window);
    if (dc.Get() == nullptr) {
        return FALSE;
    }
    ScopedSelect font(dc.Get(), CreateMenuFont(), ScopedSelect::Owns::Yes);
    RECT window{};
    GetWindowRect(frame, &window);
    OffsetRect(&item, -window.left, -window.top);
    if (MenuLibrary().wine) {
        const bool thick = (GetWindowLongA(frame, GWL_STYLE) & WS_THICKFRAME) != 0;
        const int x = GetSystemMetrics(thick ? SM_CXFRAME : SM_CXDLGFRAME);
        const int y = GetSystemMetrics(SM_CYMENU) + GetSystemMetrics(SM_CYCAPTION) +
                      GetSystemMetrics(thick ? SM_CYFRAME : SM_CYDLGFRAME) + 1;
        OffsetRect(&item, -x, -y);
    }
    DRAWITEMSTRUCT draw{ODT_MENU, 0, info.wID, ODA_DRAWENTIRE, state, reinterpret_cast<HWND>(menu), dc.Get(), item,
                        info.dwItemData};
    MenuLibrary().lastRedrawnBarItem = info.dwItemData;
    POINT oldOrigin{};
    SetWindowOrgEx(dc.Get(), 0, 0, &oldOrigin);
    SendMessageA(frame, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw));
    SetWindowOrgEx(dc.Get(), oldOrigin.x, oldOrigin.y, nullptr);
    return TRUE;
}

// Text ------------------------------------------------------------------------------------------------

void DrawRotatedText(HDC dc, const char* text, int length, const RECT* rect, UINT format)
{
    if (text == nullptr) {
        return;
    }
    if (length == -1 || length == -2) {
        length = static_cast<int>(std::strlen(text));
    }
    const std::string local(text, static_cast<size_t>(std::max(length, 0)));
    // 1. A raster font cannot turn: an outline face of the same record.
    LOGFONTA font{};
    HGDIOBJ current = GetCurrentObject(dc, OBJ_FONT);
    GetObjectA(current, sizeof font, &font);
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    ScopedObject outline;
    HGDIOBJ oldFont = nullptr;
    if ((font.lfEscapement != 0 || font.lfOrientation != 0) && (metrics.tmPitchAndFamily & 0x06) == 0) {
        LOGFONTA turned = font;
        std::strncpy(turned.lfFaceName, "Arial", LF_FACESIZE - 1);
        turned.lfOutPrecision = 7;
        outline.Reset(CreateFontIndirectA(&turned));
        oldFont = SelectObject(dc, outline.Get());
        GetTextMetricsA(dc, &metrics);
    }
    // 2. Drawing moves the current position.
    const bool rtl = (GetLayout(dc) & LAYOUT_RTL) != 0;
    const UINT oldAlign = SetTextAlign(dc, rtl ? TA_UPDATECP | TA_RIGHT : TA_UPDATECP);
    POINT oldPosition{};
    GetCurrentPositionEx(dc, &oldPosition);
    int angle = ((font.lfOrientation % 3600) + 3600) % 3600;
    const int textHeight = metrics.tmHeight;
    if ((format & DT_CENTER) != 0 && rect != nullptr) {
        POINT start{};
        switch (angle) {
        case 900:
            start = {(rect->left + rect->right - textHeight) / 2, rtl ? rect->top + 4 : rect->bottom - 4};
            break;
        case 1800:
            start = {rtl ? rect->left + 4 : rect->right - 4, (rect->top + rect->bottom + textHeight) / 2};
            break;
        case 2700:
            start = {(rect->left + rect->right + textHeight) / 2, rtl ? rect->bottom - 4 : rect->top + 4};
            break;
        default:
            angle = 0;
            start = {rtl ? rect->right - 4 : rect->left + 4, (rect->top + rect->bottom - textHeight) / 2};
            break;
        }
        MoveToEx(dc, start.x, start.y, nullptr);
    }
    // 3. Piece by piece; a single '&' underlines the next character.
    const bool hidePrefix = (format & DT_HIDEPREFIX) != 0;
    const UINT clip = rect != nullptr ? ETO_CLIPPED : 0u;
    size_t i = 0;
    while (i < local.size()) {
        size_t end = local.find('&', i);
        if (end == std::string::npos) {
            end = local.size();
        }
        if (end > i) {
            ExtTextOutA(dc, 0, 0, clip, rect, local.data() + i, static_cast<UINT>(end - i), nullptr);
        }
        if (end >= local.size()) {
            break;
        }
        if (end + 1 < local.size() && local[end + 1] == '&') {
            ExtTextOutA(dc, 0, 0, clip, rect, "&", 1, nullptr);
            i = end + 2;
            continue;
        }
        i = end + 1;
        if (i >= local.size()) {
            break;
        }
        POINT at{};
        GetCurrentPositionEx(dc, &at);
        if (!hidePrefix) {
            SIZE size{};
            GetTextExtentPointA(dc, local.data() + i, 1, &size);
            const int length = size.cx - metrics.tmOverhang / 2;
            const int below = metrics.tmAscent + 1;
            RECT line{};
            switch (angle) {
            case 900: line = {at.x + below, at.y - length, at.x + below + 1, at.y}; break;
            case 1800: line = {at.x - length, at.y - below - 1, at.x, at.y - below}; break;
            case 2700: line = {at.x - below - 1, at.y, at.x - below, at.y + length}; break;
            default: line = {at.x, at.y + below, at.x + length, at.y + below + 1}; break;
            }
            if (rtl && angle == 0) {
                OffsetRect(&line, -length, 0);
            }
            const COLORREF oldBack = SetBkColor(dc, GetTextColor(dc));
            ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &line, nullptr, 0, nullptr);
            SetBkColor(dc, oldBack);
            MoveToEx(dc, at.x, at.y, nullptr);
        }
        ExtTextOutA(dc, 0, 0, clip, rect, local.data() + i, 1, nullptr);
        ++i;
    }
    // 4. Position, alignment and font back.
    MoveToEx(dc, oldPosition.x, oldPosition.y, nullptr);
    SetTextAlign(dc, oldAlign);
    if (oldFont != nullptr) {
        SelectObject(dc, oldFont);
    }
}

// Off-screen DC ----------------------------------------------------------------------------------------

CNewMemDC::CNewMemDC(const RECT& rect, HDC target) : m_rect(rect), m_target(target)
{
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (target == nullptr || width <= 0 || height <= 0) {
        return;
    }
    m_dc = CreateCompatibleDC(target);
    m_bitmap = CreateCompatibleBitmap(target, width, height);
    if (m_dc == nullptr || m_bitmap == nullptr) {
        if (m_dc != nullptr) {
            DeleteDC(m_dc);
            m_dc = nullptr;
        }
        if (m_bitmap != nullptr) {
            DeleteObject(m_bitmap);
            m_bitmap = nullptr;
        }
        return;
    }
    m_oldBitmap = SelectObject(m_dc, m_bitmap);
    SetWindowOrgEx(m_dc, rect.left, rect.top, nullptr);
}

CNewMemDC::~CNewMemDC()
{
    if (m_dc == nullptr) {
        return;
    }
    if (!m_noCopy) {
        BitBlt(m_target, m_rect.left, m_rect.top, m_rect.right - m_rect.left, m_rect.bottom - m_rect.top, m_dc,
               m_rect.left, m_rect.top, SRCCOPY);
    }
    SelectObject(m_dc, m_oldBitmap);
    DeleteDC(m_dc);
    DeleteObject(m_bitmap);
}
