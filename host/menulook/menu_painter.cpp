// The popup-menu painters: frame lines, the inner band, the background and
// the soft shadow blended over a copy of the screen; and the shadow strips.
#include "host/menulook/menu_painter.h"

#include <algorithm>

#include "host/menulook/menu_colors.h"
#include "host/menulook/menu_drawing.h"
#include "host/menulook/menu_library.h"
#include "platform/gdi/dc_guards.h"
#include "platform/kernel/errors.h"

namespace {

COLORREF Sys(int index) { return GetSysColor(index); }

SIZE WindowSize(HWND window)
{
    RECT r{};
    GetWindowRect(window, &r);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

void Frame3d(HDC dc, int x, int y, int w, int h, COLORREF c) { Draw3dRect(dc, x, y, w, h, c, c); }

} // namespace

CMenuWindowRecord::~CMenuWindowRecord()
{
    ForgetBackground();
    if (savedRegion != reinterpret_cast<HRGN>(1) && savedRegion != nullptr) {
        DeleteObject(savedRegion);
    }
}

void CMenuWindowRecord::ForgetBackground()
{
    if (background != nullptr) {
        DeleteObject(background);
        background = nullptr;
    }
}

void CMenuWindowRecord::SetMenu(HMENU handle)
{
    menu = handle;
    active = CNewMenu::GetDrawAllPopupMenus() ||
                     dynamic_cast<CNewMenu*>(CMenu::FromHandlePermanent(handle)) != nullptr
                 ? TRUE
                 : FALSE;
}

CMenuLookPainter::CMenuLookPainter(int styleCode, DWORD frameFlag, MenuMeasureRoutine measure, MenuDrawRoutine draw,
                                   MenuCommonRoutine common)
    : m_styleCode(styleCode), m_frameFlag(frameFlag), m_measure(measure), m_draw(draw), m_common(common)
{
    if (IsDropShadowEnabled()) {
        m_farInset = SIZE{2, 2};
    }
}

BOOL CMenuLookPainter::OnSubclass(HWND window)
{
    CMenuWindowRecord* record = FindMenuWindowRecord(window);
    if (record == nullptr || !record->active || !HasOwnFrame()) {
        return FALSE;
    }
    record->flags |= kRecordStylesChanged;
    SetWindowLongA(window, GWL_STYLE, static_cast<LONG_PTR>(record->savedStyle & ~WS_BORDER));
    SetWindowLongA(window, GWL_EXSTYLE,
                   static_cast<LONG_PTR>(record->savedExStyle & ~(WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE)));
    return TRUE;
}

BOOL CMenuLookPainter::OnUnsubclass(HWND window)
{
    CMenuWindowRecord* record = FindMenuWindowRecord(window);
    if (record == nullptr) {
        return FALSE;
    }
    if (IsMenu(record->menu) != FALSE) {
        if (auto* menu = dynamic_cast<CNewMenu*>(CMenu::FromHandlePermanent(record->menu))) {
            menu->OnUnInitMenuPopup();
        }
    }
    if ((record->flags & kRecordStylesChanged) != 0) {
        SetLastError(0);
        DWORD style = record->savedStyle;
        if ((record->flags & kRecordOnReuse) != 0) {
            style |= WS_VISIBLE;
        }
        SetWindowLongA(window, GWL_STYLE, static_cast<LONG_PTR>(style));
        SetWindowLongA(window, GWL_EXSTYLE, static_cast<LONG_PTR>(record->savedExStyle));
    }
    return TRUE;
}

RECT CMenuLookPainter::ClientInWindow(HWND window)
{
    RECT client{};
    GetClientRect(window, &client);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    RECT frame{};
    GetWindowRect(window, &frame);
    OffsetRect(&client, origin.x - frame.left, origin.y - frame.top);
    return client;
}

void CMenuLookPainter::CaptureBackground(HWND window, CMenuWindowRecord& record)
{
    if (record.background != nullptr) {
        return;
    }
    const SIZE size = WindowSize(window);
    ScopedWindowDC screen(nullptr, ScopedWindowDC::Kind::Window);
    if (screen.Get() == nullptr) {
        return;
    }
    const MemoryDC memory(screen.Get());
    record.background = CreateCompatibleBitmap(screen.Get(), size.cx + 10, size.cy + 10);
    const SelectedObject selected(memory.Get(), record.background);
    BitBlt(memory.Get(), 0, 0, size.cx + 10, size.cy + 10, screen.Get(), record.position.x, record.position.y,
           SRCCOPY);
}

void CMenuLookPainter::DrawPopupShadow(HWND window, HDC dc, const CMenuWindowRecord& record)
{
    if (IsDropShadowEnabled()) {
        return;
    }
    const SIZE size = WindowSize(window);
    const int w = size.cx;
    const int h = size.cy;
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ old = record.background != nullptr ? SelectObject(memory, record.background) : nullptr;
    auto under = [&](int x, int y) {
        const COLORREF c = record.background != nullptr ? GetPixel(memory, x, y) : CLR_INVALID;
        return c == CLR_INVALID ? Sys(COLOR_3DFACE) : c;
    };
    if (GetScreenColorDepth() > 256) {
        for (int i = 1; i <= 4; ++i) {
            const int x = w - i;
            for (int y = 0; y < h; ++y) {
                const COLORREF b = under(x, y);
                COLORREF c = b;
                if (y >= 4 && y <= 7) {
                    c = DarkenColorBy(6 * i * (y - 3), b);
                } else if (y >= 8 && y <= h - 5) {
                    c = DarkenColorBy(30 * i, b);
                } else if (y >= h - 4) {
                    c = DarkenColorBy(6 * i * (h - y), b);
                }
                SetPixel(dc, x, y, c);
            }
        }
        for (int j = 1; j <= 4; ++j) {
            const int y = h - j;
            for (int x = 0; x <= w - 5; ++x) {
                const COLORREF b = under(x, y);
                COLORREF c = b;
                if (x >= 4 && x <= 7) {
                    c = DarkenColorBy((x - 3) * 6 * j, b);
                } else if (x >= 8) {
                    c = DarkenColorBy(30 * j, b);
                }
                SetPixel(dc, x, y, c);
            }
        }
    } else {
        if (record.background != nullptr) {
            BitBlt(dc, w - 2, 0, 2, h, memory, w - 2, 0, SRCCOPY);
            BitBlt(dc, 0, h - 2, w, 2, memory, 0, h - 2, SRCCOPY);
        }
        for (int i = 3; i <= 4; ++i) {
            for (int y = 0; y < h - 2; ++y) {
                SetPixel(dc, w - i, y, y < 4 ? under(w - i, y) : Sys(COLOR_BTNSHADOW));
            }
        }
        for (int j = 3; j <= 4; ++j) {
            for (int x = 0; x <= w - 5; ++x) {
                SetPixel(dc, x, h - j, x < 4 ? under(x, h - j) : Sys(COLOR_BTNSHADOW));
            }
        }
    }
    if (old != nullptr) {
        SelectObject(memory, old);
    }
    DeleteDC(memory);
}

void FillFrameBands(HDC dc, const RECT& outer, const RECT& inner, COLORREF colour)
{
    const RECT bands[] = {
        {outer.left, outer.top, outer.right, inner.top},
        {outer.left, inner.bottom, outer.right, outer.bottom},
        {outer.left, outer.top, inner.left, outer.bottom},
        {inner.right - 1, outer.top, outer.right, outer.bottom},
    };
    for (const RECT& band : bands) {
        if (band.left < band.right && band.top < band.bottom) {
            FillSolidRect(dc, &band, colour);
        }
    }
}

CMenuLookPainter::FrameContext CMenuLookPainter::BeginFrame(HWND window)
{
    FrameContext f;
    CMenuWindowRecord* record = FindMenuWindowRecord(window);
    if (!HasOwnFrame() || record == nullptr) {
        return f;
    }
    CaptureBackground(window, *record);
    const SIZE size = WindowSize(window);
    f.record = record;
    f.w = size.cx;
    f.h = size.cy;
    f.client = ClientInWindow(window);
    f.contrast = MenuLibrary().highContrast != FALSE;
    f.shadow = IsDropShadowEnabled() != FALSE;
    return f;
}

BOOL CMenuLookPainter::DrawFrame(HWND window, HDC dc, BOOL afterSystem)
{
    const FrameContext f = BeginFrame(window);
    if (f.record == nullptr) {
        return FALSE;
    }
    const int inner = f.shadow ? 2 : 6;
    const int outer = f.shadow ? 0 : 4;
    if (!afterSystem) {
        FillFrameBands(dc, RECT{1, 1, f.w - inner + 1, f.h - inner + 1}, f.client, GetMenuBkColor(nullptr));
    }
    Frame3d(dc, 0, 0, f.w - outer, f.h - outer, f.contrast ? Sys(COLOR_BTNTEXT) : Sys(COLOR_HIGHLIGHT));
    if (!f.shadow && !f.contrast) {
        DrawPopupShadow(window, dc, *f.record);
    }
    return TRUE;
}

BOOL CMenuLookPainterEx::DrawFrame(HWND window, HDC dc, BOOL afterSystem)
{
    const FrameContext f = BeginFrame(window);
    if (f.record == nullptr) {
        return FALSE;
    }
    const int w = f.w;
    const int h = f.h;
    const bool shadow = f.shadow;
    // 1. Colours.
    const COLORREF b = GetMenuBkColor(f.record->menu);
    const COLORREF wnd = Sys(COLOR_WINDOW);
    COLORREF inner = MixColor86(wnd, b);
    const COLORREF outer = DarkenColorBy(128, b);
    COLORREF side = GetScreenColorDepth() <= 256 ? Sys(COLOR_BTNFACE) : MixColor86(b, wnd);
    if (GetNearestColor(dc, inner) == GetNearestColor(dc, side)) {
        inner = wnd;
        side = b;
    }
    const int in = shadow ? 2 : 6;
    const int out = shadow ? 0 : 4;
    // 2./3. Bands, lines and shadow.
    if (!afterSystem) {
        FillFrameBands(dc, RECT{1, 1, w - in + 1, h - in + 1}, f.client, inner);
    }
    if (f.contrast) {
        Frame3d(dc, 0, 0, w - out, h - out, Sys(COLOR_BTNTEXT));
    } else {
        Frame3d(dc, 1, 1, w - in, h - in, inner);
        RECT line{1, 2, 2, 2 + h - (shadow ? 4 : 8)};
        FillSolidRect(dc, &line, side);
        Frame3d(dc, 0, 0, w - out, h - out, outer);
        if (!shadow) {
            DrawPopupShadow(window, dc, *f.record);
        }
    }
    // 4. The joint with the opening bar item.
    DrawJoint(window, dc, *f.record);
    return TRUE;
}

void CMenuLookPainterEx::DrawJoint(HWND window, HDC dc, const CMenuWindowRecord& record)
{
    auto* menu = dynamic_cast<CNewMenu*>(CMenu::FromHandlePermanent(record.menu));
    auto* parent = menu != nullptr ? dynamic_cast<CNewMenu*>(CMenu::FromHandlePermanent(menu->GetParentMenu())) : nullptr;
    if (parent == nullptr || parent->IsPopup()) {
        return;
    }
    const SIZE size = WindowSize(window);
    RECT popup{record.position.x, record.position.y, record.position.x + size.cx, record.position.y + size.cy};
    RECT border{};
    parent->GetMenuBorderRect(&border);
    RECT joint{};
    if (IntersectRect(&joint, &popup, &border) == FALSE) {
        return;
    }
    if (joint.right - joint.left <= joint.bottom - joint.top) {
        joint.top += 1;
        joint.bottom -= 1;
    } else {
        joint.left += 1;
        joint.right -= 1;
    }
    OffsetRect(&joint, -popup.left, -popup.top);
    FillSolidRect(dc, &joint,
                  GetScreenColorDepth() > 256 ? MixColor86(GetMenuBarBkColor(nullptr), Sys(COLOR_WINDOW))
                                              : Sys(COLOR_BTNFACE));
}

BOOL CMenuLookPainter::EraseBackground(HWND window, HDC dc)
{
    RECT client{};
    GetClientRect(window, &client);
    client.left -= 2;
    if (HasOwnFrame()) {
        client.right -= 1;
    }
    FillSolidRect(dc, &client, GetMenuBkColor(nullptr));
    return TRUE;
}

BOOL CMenuLookPainterEx::EraseBackground(HWND window, HDC dc)
{
    CMenuWindowRecord* record = FindMenuWindowRecord(window);
    if (record == nullptr || record->menu == nullptr) {
        return CMenuLookPainter::EraseBackground(window, dc);
    }
    RECT client{};
    GetClientRect(window, &client);
    client.left -= 2;
    if (HasOwnFrame()) {
        client.right -= 1;
    }
    FillSolidRect(dc, &client, GetMenuBarBkColor(record->menu));
    return TRUE;
}

BOOL CMenuLookPainter::OnNcCalcSize(HWND, NCCALCSIZE_PARAMS* params)
{
    if (!HasOwnFrame() || params == nullptr) {
        return FALSE;
    }
    const bool shadow = IsDropShadowEnabled() != FALSE;
    RECT& r = params->rgrc[0];
    r.left += m_frameInset.cx;
    r.top += m_frameInset.cy;
    r.right -= shadow ? 1 : 5;
    r.bottom -= shadow ? 2 : 6;
    return FALSE;
}

BOOL CMenuLookPainter::OnWindowPosChanging(HWND, WINDOWPOS* pos)
{
    if (!HasOwnFrame() || pos == nullptr) {
        return FALSE;
    }
    const int delta = IsDropShadowEnabled() ? -2 : 2;
    if ((pos->flags & SWP_NOSIZE) == 0) {
        pos->cx += delta;
        pos->cy += delta;
    }
    if ((pos->flags & SWP_NOMOVE) == 0) {
        pos->y -= 1;
    }
    return TRUE;
}

BOOL CMenuLookPainter::GetFrameRect(HWND window, RECT* rect)
{
    if (GetWindowRect(window, rect) == FALSE) {
        return FALSE;
    }
    if (HasOwnFrame()) {
        const bool shadow = IsDropShadowEnabled() != FALSE;
        rect->left += 2;
        rect->top += 2;
        rect->bottom -= shadow ? 3 : 7;
    }
    return TRUE;
}

// Shadow strips ------------------------------------------------------------------------------------------

namespace {

struct ShadeCreation {
    RECT rect;
    HWND owner;
    BOOL bottom;
};

constexpr char kShadeClass[] = "ShadeWindow";

} // namespace

BOOL RegisterShadeWindowClass()
{
    WNDCLASSA existing{};
    if (GetClassInfoA(nullptr, kShadeClass, &existing) != FALSE) {
        return TRUE;
    }
    WNDCLASSA wc{};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = &ShadeWindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = kShadeClass;
    return RegisterClassA(&wc) != 0 ? TRUE : FALSE;
}

HWND CreateShadeWindows(HWND owner, const RECT* rect)
{
    RegisterShadeWindowClass();
    RECT r{};
    if (rect != nullptr) {
        r = *rect;
    } else {
        GetWindowRect(owner, &r);
    }
    HWND last = nullptr;
    for (BOOL bottom : {TRUE, FALSE}) {
        ShadeCreation creation{r, owner, bottom};
        last = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TRANSPARENT, kShadeClass, "",
                               WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, CW_USEDEFAULT, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr, GetModuleHandleA(nullptr), &creation);
    }
    return last;
}

LRESULT ShadeWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE: {
        const LRESULT result = DefWindowProcA(window, message, wParam, lParam);
        const auto* cs = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        const auto* creation = cs != nullptr ? static_cast<const ShadeCreation*>(cs->lpCreateParams) : nullptr;
        if (creation != nullptr) {
            const RECT& r = creation->rect;
            if (creation->bottom) {
                SetWindowPos(window, HWND_TOPMOST, r.left + 5, r.bottom, r.right - r.left, 5, 0x54);
            } else {
                SetWindowPos(window, HWND_TOPMOST, r.right, r.top + 5, 5, r.bottom - r.top - 5, 0x50);
            }
        }
        return result;
    }
    case WM_MOVE: {
        const LRESULT result = DefWindowProcA(window, message, wParam, lParam);
        InvalidateRect(window, nullptr, TRUE);
        return result;
    }
    case WM_PAINT: {
        PAINTSTRUCT ps{};
        HDC dc = BeginPaint(window, &ps);
        RECT client{};
        GetClientRect(window, &client);
        DrawShadeStrip(dc, client, GetSysColor(COLOR_ACTIVECAPTION));
        ValidateRect(window, nullptr);
        EndPaint(window, &ps);
        return 0;
    }
    case WM_ERASEBKGND: {
        RECT client{};
        GetClientRect(window, &client);
        DrawShadeStrip(reinterpret_cast<HDC>(wParam), client, GetSysColor(COLOR_ACTIVECAPTION));
        ValidateRect(window, nullptr);
        return 0;
    }
    case WM_NCHITTEST: return HTTRANSPARENT;
    case WM_TIMER: {
        KillTimer(window, wParam);
        RECT parent{};
        GetWindowRect(GetParent(window), &parent);
        SetWindowPos(window, HWND_TOP, parent.right, parent.top, 6, parent.bottom - parent.top, 0x44);
        return 0;
    }
    default: return DefWindowProcA(window, message, wParam, lParam);
    }
}

void DrawShadeStrip(HDC dc, const RECT& rect, COLORREF colour)
{
    const int w = rect.right - rect.left;
    const int h = rect.bottom - rect.top;
    if (GetScreenColorDepth() <= 256) {
        const COLORREF old = SetBkColor(dc, GetSysColor(COLOR_BTNSHADOW));
        ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
        SetBkColor(dc, old);
        return;
    }
    auto blend = [&](int x, int y, int alpha) {
        const COLORREF pixel = GetPixel(dc, rect.left + x, rect.top + y);
        SetPixel(dc, rect.left + x, rect.top + y, BlendColor(colour, pixel, std::clamp(alpha, 0, 255)));
    };
    if (w >= h) {
        for (int y = 0; y <= 4 && y < h; ++y) {
            const int k = 4 - y;
            for (int x = 0; x < w; ++x) {
                if (x <= 4) {
                    blend(x, y, 255 - 10 * k * x);
                } else if (x <= w - 5) {
                    blend(x, y, 240 - 40 * k);
                } else {
                    blend(x, y, 255 - 10 * k * (w - 1 - x));
                }
            }
        }
    } else {
        for (int x = 0; x <= 4 && x < w; ++x) {
            const int k = 4 - x;
            for (int y = 0; y < h; ++y) {
                blend(x, y, y <= 4 ? 255 - 10 * k * y : 240 - 40 * k);
            }
        }
    }
}
