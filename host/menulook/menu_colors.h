// Colour arithmetic of the menu looks on COLORREF values (red in the low
// byte), each channel computed on its own with integer arithmetic and
// masked to 8 bits; the screen colour count, gradients, and the colour
// scheme that follows the style code, the system colours and (where a
// theme library exists) the theme. Without a theme library every theme
// query fails and the colours follow the system colours.
#pragma once

#include "platform/gdi/gdi.h"
#include "platform/user/menu.h"

// The fixed colours of the warm (shaded) looks.
inline constexpr COLORREF kWarmSelection = 0xC2EEFF;
inline constexpr COLORREF kWarmCheck = 0x6FC0FF;
inline constexpr COLORREF kWarmCheckSelected = 0x3E80FE;
inline constexpr COLORREF kWarmFrame = 0x840204;
inline constexpr COLORREF kWarmHotTop = 0xDBEFFA;
inline constexpr COLORREF kWarmHotBottom = 0x97D4FF;
inline constexpr COLORREF kWarmPressedTop = 0x6B97F2;
inline constexpr COLORREF kWarmPressedBottom = 0xA3CAF9;

// Rounding multiply-divide: a * b / c rounded half away from zero; -1
// when c is 0.
int MenuMulDiv(int a, int b, int c);

COLORREF ShadeColor70(COLORREF c);
COLORREF DarkenColorBy(int amount, COLORREF c);
COLORREF MixColor86(COLORREF c1, COLORREF c2);
COLORREF MixColor70(COLORREF c1, COLORREF c2);
COLORREF LightenColor(int amount, COLORREF c);
COLORREF AddToColor(int amount, COLORREF c);
// (c1 x alpha + (255 - alpha) x c0) / 256; -1 when c1 is -1.
COLORREF BlendColor(COLORREF c0, COLORREF c1, int alpha);
COLORREF GrayColor(COLORREF c);
bool IsLightColor(COLORREF c);

// COLOR_HIGHLIGHT in high contrast; 70 % window and 30 % highlight above
// 256 colours; else COLOR_WINDOW.
COLORREF GetHighlightColor();
// The screen's colour count, read once; 64000 for more than 256.
int GetScreenColorDepth();
// Forgets the cached colour count (a test changes the screen).
void ResetScreenColorDepth();

void InflateRectBy(RECT& rect, int left, int top, int right, int bottom);
// The theme library's IsThemeActive when there is one, else FALSE.
BOOL IsThemeActiveHook();

enum class GradientDirection { Vertical, Horizontal };
enum class NearestColor { No, Yes };
// A gradient from start to end: top to bottom (Vertical) or left to right.
void DrawGradient(HDC dc, const RECT& rect, COLORREF start, COLORREF end, GradientDirection direction,
                  NearestColor nearest);

// Colour scheme --------------------------------------------------------------------------------
// The popup background: the menu's own background brush when it has one,
// COLOR_MENUBAR with flat menus, else COLOR_MENU.
COLORREF GetMenuBkColor(HMENU menu = nullptr);
// The menu-bar background.
COLORREF GetMenuBarBkColor(HMENU menu = nullptr);
COLORREF GetMenuFaceColor();
// The two column colours of the shaded looks.
void GetMenuColors(COLORREF* first, COLORREF* second, BOOL light);
COLORREF GetMenuTextColor();

// Theme entry points, bound on first use; a missing one answers its
// failure value.
using HTHEME = void*;
HRESULT ThemeGetCurrentThemeName(LPSTR name, int nameChars, LPSTR color, int colorChars, LPSTR size,
                                 int sizeChars);
HTHEME ThemeGetWindowTheme(HWND window);
HTHEME ThemeOpenThemeData(HWND window, LPCSTR classList);
HRESULT ThemeCloseThemeData(HTHEME theme);
HRESULT ThemeGetThemeColor(HTHEME theme, int part, int state, int property, COLORREF* colour);
