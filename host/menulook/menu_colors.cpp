// Colour arithmetic, the screen colour count, gradients and the colour
// scheme of the menu looks.
#include "host/menulook/menu_colors.h"

#include "platform/base/hresult.h"

#include <algorithm>
#include <cstdlib>

#include "host/menulook/menu_library.h"
#include "host/menulook/new_menu.h"

namespace {

int Red(COLORREF c) { return static_cast<int>(c & 0xFF); }
int Green(COLORREF c) { return static_cast<int>((c >> 8) & 0xFF); }
int Blue(COLORREF c) { return static_cast<int>((c >> 16) & 0xFF); }
COLORREF Pack(int r, int g, int b)
{
    return static_cast<COLORREF>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}

template <typename F>
COLORREF PerChannel(COLORREF c, F f)
{
    return Pack(f(Red(c)), f(Green(c)), f(Blue(c)));
}

template <typename F>
COLORREF PerChannel2(COLORREF a, COLORREF b, F f)
{
    return Pack(f(Red(a), Red(b)), f(Green(a), Green(b)), f(Blue(a), Blue(b)));
}

// Theme colour queries of the caption.
constexpr int kWindowCaption = 1;
constexpr int kCaptionActive = 1;
constexpr int kFillColorHint = 3821;
constexpr int kEdgeHighlightColor = 3805;

// Nearest-colour replacements: table A for a mixed caption colour, table
// B for a theme's fill colour hint.
struct Replacement {
    COLORREF found;
    COLORREF result;
};
constexpr Replacement kTableA[] = {{0xF0C5AC, 0xF5C2A3}, {0xE6E6E6, 0xE5D7D7}, {0xCCDCD6, 0xAADADA}};
constexpr Replacement kTableB[] = {{0xE55400, 0xF5C2A3}, {0xBEA3A4, 0xE5D7D7}, {0x86B8AA, 0xAADADA}};

template <size_t N>
bool Replace(const Replacement (&table)[N], COLORREF* c)
{
    for (const Replacement& r : table) {
        if (r.found == *c) {
            *c = r.result;
            return true;
        }
    }
    return false;
}

COLORREF Nearest(COLORREF c)
{
    HDC dc = GetDC(nullptr);
    if (dc == nullptr) {
        return c;
    }
    const COLORREF near = GetNearestColor(dc, c);
    ReleaseDC(nullptr, dc);
    return near;
}

COLORREF MenuBrushColor(HMENU menu)
{
    if (menu == nullptr) {
        return CLR_INVALID;
    }
    MENUINFO info{};
    info.cbSize = kMenuInfoSize32;
    info.fMask = MIM_BACKGROUND;
    if (GetMenuInfo(menu, &info) == FALSE || info.hbrBack == nullptr) {
        return CLR_INVALID;
    }
    LOGBRUSH brush{};
    if (GetObjectA(info.hbrBack, sizeof brush, &brush) == 0) {
        return CLR_INVALID;
    }
    return brush.lbColor;
}

BOOL FlatMenus()
{
    BOOL flat = FALSE;
    return SystemParametersInfoA(SPI_GETFLATMENU, 0, &flat, 0) != FALSE && flat != FALSE;
}

} // namespace

int MenuMulDiv(int a, int b, int c)
{
    if (c == 0) {
        return -1;
    }
    const long long product = static_cast<long long>(a) * b;
    long long q = product / c;
    const long long r = product % c;
    if (2 * std::llabs(r) >= std::llabs(static_cast<long long>(c))) {
        q += (product < 0) != (c < 0) ? -1 : 1;
    }
    return static_cast<int>(q);
}

COLORREF ShadeColor70(COLORREF c)
{
    return Pack(MenuMulDiv(Red(c), 7, 10), MenuMulDiv(Green(c), 7, 10), MenuMulDiv(Blue(c) + 55, 7, 10));
}

COLORREF DarkenColorBy(int amount, COLORREF c)
{
    return PerChannel(c, [amount](int ch) { return MenuMulDiv(ch, 255 - amount, 255); });
}

COLORREF MixColor86(COLORREF c1, COLORREF c2)
{
    return PerChannel2(c1, c2, [](int a, int b) { return MenuMulDiv(86, a, 100) + MenuMulDiv(14, b, 100); });
}

COLORREF MixColor70(COLORREF c1, COLORREF c2)
{
    return PerChannel2(c1, c2, [](int a, int b) { return MenuMulDiv(7, a, 10) + MenuMulDiv(3, b, 10); });
}

COLORREF LightenColor(int amount, COLORREF c)
{
    return PerChannel(c, [amount](int ch) { return ch + MenuMulDiv(255 - ch, amount, 255); });
}

COLORREF AddToColor(int amount, COLORREF c)
{
    return PerChannel(c, [amount](int ch) { return std::min(ch + amount, 255); });
}

COLORREF BlendColor(COLORREF c0, COLORREF c1, int alpha)
{
    if (c1 == static_cast<COLORREF>(-1)) {
        return static_cast<COLORREF>(-1);
    }
    return PerChannel2(c0, c1, [alpha](int a, int b) { return (b * alpha + (255 - alpha) * a) / 256; });
}

COLORREF GrayColor(COLORREF c)
{
    const int g = (Red(c) + Green(c) + Blue(c)) / 3;
    return Pack(g, g, g);
}

bool IsLightColor(COLORREF c) { return Red(c) + Green(c) + Blue(c) > 384; }

int GetScreenColorDepth()
{
    MenuLibraryState& state = MenuLibrary();
    if (state.screenColorCount == 0) {
        int colours = 64000;
        if (HDC dc = GetDC(nullptr)) {
            const int count = GetDeviceCaps(dc, NUMCOLORS);
            colours = count == -1 ? 64000 : count;
            ReleaseDC(nullptr, dc);
        }
        state.screenColorCount = colours;
    }
    return state.screenColorCount;
}

void ResetScreenColorDepth() { MenuLibrary().screenColorCount = 0; }

COLORREF GetHighlightColor()
{
    if (MenuLibrary().highContrast) {
        return GetSysColor(COLOR_HIGHLIGHT);
    }
    if (GetScreenColorDepth() > 256) {
        return MixColor70(GetSysColor(COLOR_WINDOW), GetSysColor(COLOR_HIGHLIGHT));
    }
    return GetSysColor(COLOR_WINDOW);
}

void InflateRectBy(RECT& rect, int left, int top, int right, int bottom)
{
    rect.left -= left;
    rect.top -= top;
    rect.right += right;
    rect.bottom += bottom;
}

BOOL IsThemeActiveHook()
{
    const IsThemeActiveProc active = MenuLibrary().isThemeActive;
    return active != nullptr ? active() : FALSE;
}

void DrawGradient(HDC dc, const RECT& rect, COLORREF start, COLORREF end, GradientDirection direction,
                  NearestColor nearest)
{
    if (GetDeviceCaps(dc, NUMCOLORS) == -1) {
        nearest = NearestColor::No;
    }
    const bool horizontal = direction == GradientDirection::Horizontal;
    const GradientFillProc fill = MenuLibrary().gradientFill;
    if (nearest == NearestColor::No && fill != nullptr) {
        TRIVERTEX v[2]{};
        v[0].x = rect.left;
        v[0].y = rect.top;
        v[0].Red = static_cast<COLOR16>(Red(start) << 8);
        v[0].Green = static_cast<COLOR16>(Green(start) << 8);
        v[0].Blue = static_cast<COLOR16>(Blue(start) << 8);
        v[1].x = rect.right;
        v[1].y = rect.bottom;
        v[1].Red = static_cast<COLOR16>(Red(end) << 8);
        v[1].Green = static_cast<COLOR16>(Green(end) << 8);
        v[1].Blue = static_cast<COLOR16>(Blue(end) << 8);
        GRADIENT_RECT mesh{0, 1};
        fill(dc, v, 2, &mesh, 1, horizontal ? GRADIENT_FILL_RECT_H : GRADIENT_FILL_RECT_V);
        return;
    }
    // Bands 2 pixels thick over a fill of the end colour.
    auto band = [&](const RECT& r, COLORREF c) {
        if (nearest == NearestColor::Yes) {
            FillSolidRect(dc, &r, GetNearestColor(dc, c));
        } else {
            HBRUSH brush = CreateSolidBrush(c);
            FillRect(dc, &r, brush);
            DeleteObject(brush);
        }
    };
    band(rect, end);
    const int n = horizontal ? rect.right - rect.left : rect.bottom - rect.top;
    if (n <= 0) {
        return;
    }
    for (int i = 0; i <= n; i += 2) {
        const COLORREF c = Pack(Red(start) + MenuMulDiv(Red(end) - Red(start), i, n),
                                Green(start) + MenuMulDiv(Green(end) - Green(start), i, n),
                                Blue(start) + MenuMulDiv(Blue(end) - Blue(start), i, n));
        RECT r = rect;
        if (horizontal) {
            r.left = rect.left + i;
            r.right = std::min<LONG>(r.left + 2, rect.right);
        } else {
            r.top = rect.top + i;
            r.bottom = std::min<LONG>(r.top + 2, rect.bottom);
        }
        if (r.left < r.right && r.top < r.bottom) {
            band(r, c);
        }
    }
}

// Colour scheme ----------------------------------------------------------------------------------

COLORREF GetMenuBkColor(HMENU menu)
{
    const COLORREF brush = MenuBrushColor(menu);
    if (brush != CLR_INVALID) {
        return brush;
    }
    if (MenuLibrary().osStyle == kOsStyleXp && FlatMenus()) {
        return GetSysColor(COLOR_MENUBAR);
    }
    return GetSysColor(COLOR_MENU);
}

COLORREF GetMenuBarBkColor(HMENU menu)
{
    const COLORREF brush = MenuBrushColor(menu);
    if (brush != CLR_INVALID) {
        return brush;
    }
    if (MenuLibrary().osStyle == kOsStyleXp) {
        if (FlatMenus() || IsThemeActiveHook()) {
            return GetSysColor(COLOR_MENUBAR);
        }
    }
    return GetSysColor(COLOR_MENU);
}

COLORREF GetMenuFaceColor()
{
    const int os = MenuLibrary().osStyle;
    return os == kOsStyle95 || os == kOsStyleNt4 ? GetSysColor(COLOR_MENU) : GetSysColor(COLOR_3DFACE);
}

void GetMenuColors(COLORREF* first, COLORREF* second, BOOL light)
{
    const int os = MenuLibrary().osStyle;
    const COLORREF menu = GetSysColor(COLOR_MENU);
    COLORREF a = menu;
    COLORREF b = menu;
    const int code = CNewMenu::GetMenuDrawMode();
    COLORREF window10 = DarkenColorBy(10, GetSysColor(COLOR_WINDOW));
    COLORREF caption = GetSysColor(COLOR_ACTIVECAPTION);
    if (os == kOsStyle95 || os == kOsStyleNt4) {
        // Both the menu colour.
    } else if (code == 10 || code == 11) {
        a = Nearest(MixColor70(window10, caption));
        Replace(kTableA, &a);
        b = LightenColor(110, a);
    } else if (!IsThemeActiveHook()) {
        a = menu;
        b = BlendColor(menu, GetSysColor(COLOR_WINDOW), 220);
    } else {
        HTHEME theme = ThemeOpenThemeData(nullptr, "Window");
        COLORREF hint = CLR_INVALID;
        if (theme != nullptr) {
            COLORREF value = 0;
            if (SUCCEEDED(ThemeGetThemeColor(theme, kWindowCaption, kCaptionActive, kFillColorHint, &value))) {
                hint = value;
                caption = value;
            }
            if (SUCCEEDED(ThemeGetThemeColor(theme, kWindowCaption, kCaptionActive, kEdgeHighlightColor, &value))) {
                window10 = value;
            }
            ThemeCloseThemeData(theme);
        }
        a = hint;
        if (theme == nullptr || hint == CLR_INVALID || !Replace(kTableB, &a)) {
            a = Nearest(MixColor70(window10, caption));
            if (theme == nullptr) {
                Replace(kTableA, &a);
            }
        }
        const int lighter = theme == nullptr ? 100 : 110;
        if (light) {
            b = LightenColor(lighter, a);
        } else {
            b = LightenColor(200, a);
            a = DarkenColorBy(20, a);
        }
    }
    if (first != nullptr) {
        *first = a;
    }
    if (second != nullptr) {
        *second = b;
    }
}

COLORREF GetMenuTextColor()
{
    COLORREF first = 0;
    GetMenuColors(&first, nullptr, TRUE);
    return first;
}

// Theme entry points -----------------------------------------------------------------------------
// The platform has no theme library: the holders find no entry and every
// query answers its failure value.

HRESULT ThemeGetCurrentThemeName(LPSTR name, int nameChars, LPSTR color, int colorChars, LPSTR size, int sizeChars)
{
    using Proc = HRESULT (*)(LPSTR, int, LPSTR, int, LPSTR, int);
    static const CDynLib library("UxTheme.dll", "GetCurrentThemeName");
    const auto proc = reinterpret_cast<Proc>(library.Entry());
    return proc != nullptr ? proc(name, nameChars, color, colorChars, size, sizeChars) : 0;
}

HTHEME ThemeGetWindowTheme(HWND window)
{
    using Proc = HTHEME (*)(HWND);
    static const CDynLib library("UxTheme.dll", "GetWindowTheme");
    const auto proc = reinterpret_cast<Proc>(library.Entry());
    return proc != nullptr ? proc(window) : nullptr;
}

HTHEME ThemeOpenThemeData(HWND window, LPCSTR classList)
{
    using Proc = HTHEME (*)(HWND, LPCSTR);
    static const CDynLib library("UxTheme.dll", "OpenThemeData");
    const auto proc = reinterpret_cast<Proc>(library.Entry());
    return proc != nullptr ? proc(window, classList) : nullptr;
}

HRESULT ThemeCloseThemeData(HTHEME theme)
{
    using Proc = HRESULT (*)(HTHEME);
    static const CDynLib library("UxTheme.dll", "CloseThemeData");
    const auto proc = reinterpret_cast<Proc>(library.Entry());
    return proc != nullptr ? proc(theme) : 0;
}

HRESULT ThemeGetThemeColor(HTHEME theme, int part, int state, int property, COLORREF* colour)
{
    using Proc = HRESULT (*)(HTHEME, int, int, int, COLORREF*);
    static const CDynLib library("UxTheme.dll", "GetThemeColor");
    const auto proc = reinterpret_cast<Proc>(library.Entry());
    return proc != nullptr ? proc(theme, part, state, property, colour) : 1;
}
