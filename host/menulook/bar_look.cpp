// Grippers, corners and backgrounds of the bars in the style codes' looks.
#include "host/menulook/bar_look.h"

#include "host/menulook/menu_colors.h"
#include "host/menulook/menu_drawing.h"
#include "host/menulook/new_menu.h"

namespace {

COLORREF Sys(int index) { return GetSysColor(index); }

void Square(HDC dc, int x, int y, COLORREF colour)
{
    const RECT r{x, y, x + 2, y + 2};
    FillSolidRect(dc, &r, colour);
}

// Theme base colours and the four colours they give.
struct ThemeRow {
    COLORREF base;
    ShadedBarColours colours;
};
constexpr ThemeRow kThemeRows[] = {
    {0xAADADA, {0xDEF7F4, 0xACDED1, 0x91C6B7, 0x588060}},
    {0xE5D7D7, {0xFAF4F3, 0xECE2E1, 0xB59799, 0x947C7C}},
    {0xF5C2A3, {0xFEECDD, 0xF9DBC4, 0xE2A981, 0x9C613B}},
};

} // namespace

bool HasDockedGripper(DWORD barStyle) { return (barStyle & (CBRS_GRIPPER | CBRS_FLOATING)) == CBRS_GRIPPER; }

bool DrawStyleGripper(HDC dc, const RECT& r, const GripperBorders& b, BarOrientation orientation)
{
    const int code = CNewMenu::GetMenuDrawMode();
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    const bool horizontal = orientation == BarOrientation::Horizontal;
    if (code == 2 || code == 3) {
        ScopedSelect pen(dc, CreatePen(PS_SOLID, 1, ShadeColor70(GetMenuFaceColor())), ScopedSelect::Owns::Yes);
        if (horizontal) {
            for (int y = r.top + b.top + 4; y < height - b.top - b.bottom - 8; y += 2) {
                MoveToEx(dc, r.left + 4, y, nullptr);
                LineTo(dc, r.left + 7, y);
            }
        } else {
            for (int x = r.left + b.left + 4; x < width - b.left - b.right - 4; x += 2) {
                MoveToEx(dc, x, r.top + 4, nullptr);
                LineTo(dc, x, r.top + 7);
            }
        }
        return true;
    }
    if (code == 6 || code == 7) {
        const COLORREF dark = DarkenColorBy(100, GetMenuBkColor(nullptr));
        if (horizontal) {
            for (int y = r.top + b.top + 4; y < height - b.top - b.bottom - 8; y += 4) {
                Square(dc, r.left + b.left + 4, y + 1, dark);
            }
        } else {
            for (int x = r.left + b.left + 4; x < width - b.right - 4; x += 4) {
                Square(dc, x, r.top + b.left + 4, dark);
            }
        }
        return true;
    }
    if (code >= 8 && code <= 11) {
        const COLORREF dark = DarkenColorBy(10, Sys(COLOR_ACTIVECAPTION));
        const COLORREF white = RGB(255, 255, 255);
        if (horizontal) {
            for (int y = r.top + b.top + 4; y < height - b.top - b.bottom - 8; y += 4) {
                Square(dc, r.left + b.left + 5, y + 2, white);
                Square(dc, r.left + b.left + 4, y + 1, dark);
            }
        } else {
            for (int x = r.left + b.left + 4; x < width - b.right - 4; x += 4) {
                Square(dc, x + 1, r.top + b.left + 5, white);
                Square(dc, x, r.top + b.left + 4, dark);
            }
        }
        return true;
    }
    return false;
}

void DrawBarGripper(HDC dc, const RECT& rect, DWORD barStyle, const GripperBorders& borders,
                    const RECT& cornersHorizontal, const RECT& cornersVertical)
{
    if (!HasDockedGripper(barStyle)) {
        return;
    }
    const BarOrientation orientation =
        (barStyle & CBRS_ORIENT_HORZ) != 0 ? BarOrientation::Horizontal : BarOrientation::Vertical;
    if (!DrawStyleGripper(dc, rect, borders, orientation)) {
        DrawPlainGripper(dc, rect, orientation);
        return;
    }
    const int code = CNewMenu::GetMenuDrawMode();
    if (code >= 6) {
        RoundBarCorners(dc, orientation == BarOrientation::Horizontal ? cornersHorizontal : cornersVertical,
                        code <= 7 ? Sys(COLOR_3DLIGHT) : GetMenuTextColor());
    }
}

BarBackground BarBackgroundOf(HWND bar, const RECT& client, const RECT& inner, DWORD barStyle)
{
    BarBackground bg;
    bg.bar = bar;
    bg.rect = client;
    bg.inner = inner;
    bg.orientation = (barStyle & CBRS_ORIENT_VERT) != 0 ? BarOrientation::Vertical : BarOrientation::Horizontal;
    bg.docked = (barStyle & CBRS_FLOATING) == 0;
    return bg;
}

void DrawPlainGripper(HDC dc, const RECT& r, BarOrientation orientation)
{
    const COLORREF light = Sys(COLOR_BTNHIGHLIGHT);
    const COLORREF shadow = Sys(COLOR_BTNSHADOW);
    if (orientation == BarOrientation::Horizontal) {
        Draw3dRect(dc, r.left + 2, r.top + 2, 3, r.bottom - r.top - 4, light, shadow);
    } else {
        Draw3dRect(dc, r.left + 2, r.top + 2, r.right - r.left - 4, 3, light, shadow);
    }
}

void RoundBarCorners(HDC dc, const RECT& r, COLORREF colour)
{
    const int right = r.right - 1;
    const int bottom = r.bottom - 1;
    const POINT points[] = {
        {r.left, r.top},     {r.left + 1, r.top},  {r.left, r.top + 1},  {right, r.top},    {right - 1, r.top},
        {right, r.top + 1},  {r.left, bottom},     {r.left + 1, bottom}, {r.left, bottom - 1},
        {right, bottom},     {right - 1, bottom},  {right, bottom - 1},
    };
    for (const POINT& p : points) {
        SetPixel(dc, p.x, p.y, colour);
    }
}

void FillDockBackground(HWND barWindow, HDC dc, const RECT& rect)
{
    HWND parent = GetParent(barWindow);
    HWND frame = parent != nullptr && GetParent(parent) != nullptr ? GetParent(parent) : parent;
    CMenuBackgroundBrush* brush = GetMenuBackgroundBrush();
    if (brush == nullptr || frame == nullptr) {
        FillSolidRect(dc, &rect, GetMenuBarBkColor(nullptr));
        return;
    }
    RECT barRect{};
    RECT frameRect{};
    GetWindowRect(barWindow, &barRect);
    GetWindowRect(frame, &frameRect);
    UnrealizeObject(brush->GetSafeHandle());
    POINT old{};
    SetBrushOrgEx(dc, frameRect.left - barRect.left, 0, &old);
    FillRect(dc, &rect, static_cast<HBRUSH>(brush->GetSafeHandle()));
    SetBrushOrgEx(dc, old.x, old.y, nullptr);
}

ShadedBarColours GetShadedBarColours()
{
    if (!IsThemeActiveHook()) {
        COLORREF first = 0;
        COLORREF second = 0;
        GetMenuColors(&first, &second, TRUE);
        return ShadedBarColours{second, BlendColor(first, second, 100), first, CLR_INVALID};
    }
    const COLORREF base = GetMenuTextColor();
    for (const ThemeRow& row : kThemeRows) {
        if (row.base == base) {
            return row.colours;
        }
    }
    return ShadedBarColours{LightenColor(140, base), LightenColor(115, base), DarkenColorBy(40, base),
                            DarkenColorBy(110, base)};
}

ShadedBarColours BarGradientColours(int code)
{
    if (code <= 7) {
        const COLORREF c = GetMenuBkColor(nullptr);
        return ShadedBarColours{LightenColor(60, c), c, DarkenColorBy(60, c), DarkenColorBy(150, c)};
    }
    return GetShadedBarColours();
}

void FillBarBackground(HDC dc, const BarBackground& bg)
{
    const int code = CNewMenu::GetMenuDrawMode();
    const RECT& r = bg.rect;
    const bool poor = GetScreenColorDepth() < 256;
    if (code >= 6 && code <= 11 && bg.docked) {
        FillDockBackground(bg.bar, dc, r);
    }
    if (code == 2 || code == 3) {
        FillSolidRect(dc, &r, MixColor86(GetMenuFaceColor(), Sys(COLOR_WINDOW)));
        return;
    }
    if (code < 6 || code > 11) {
        FillSolidRect(dc, &r, Sys(COLOR_3DLIGHT));
        return;
    }
    if (poor) {
        const COLORREF solid = code <= 7 ? DarkenColorBy(30, GetMenuBarBkColor(nullptr))
                                         : DarkenColorBy(30, GetHighlightColor());
        FillSolidRect(dc, &bg.inner, solid);
        return;
    }
    const ShadedBarColours colours = BarGradientColours(code);
    const COLORREF light = colours.light;
    const COLORREF mid = colours.mid;
    const COLORREF dark = colours.dark;
    const COLORREF line = colours.line;
    const COLORREF topLine = code <= 7 ? LightenColor(125, GetMenuBkColor(nullptr)) : CLR_INVALID;
    if (bg.orientation == BarOrientation::Horizontal) {
        const int bottom = bg.docked ? r.bottom - 2 : r.bottom;
        const int half = (r.top + r.bottom) / 2;
        DrawGradient(dc, RECT{r.left, r.top + (bg.docked ? 2 : 0), r.right, half}, light, mid,
                     GradientDirection::Vertical, NearestColor::No);
        DrawGradient(dc, RECT{r.left, half, r.right, bottom}, mid, dark, GradientDirection::Vertical, NearestColor::No);
        if (bg.docked) {
            if (topLine != CLR_INVALID) {
                const RECT top{r.left + 2, bg.inner.top + 1, r.right - 2, bg.inner.top + 2};
                FillSolidRect(dc, &top, topLine);
            }
            if (line != CLR_INVALID) {
                const RECT bottomLine{r.left + 2, r.bottom - 3, r.right - 2, r.bottom - 2};
                FillSolidRect(dc, &bottomLine, line);
            }
        }
    } else {
        const int half = (r.left + r.right) / 2;
        DrawGradient(dc, RECT{r.left + 2, r.top, half, r.bottom}, light, mid, GradientDirection::Horizontal,
                     NearestColor::No);
        DrawGradient(dc, RECT{half, r.top, r.right - 3, r.bottom}, mid, dark, GradientDirection::Horizontal,
                     NearestColor::No);
        if (bg.docked) {
            if (topLine != CLR_INVALID) {
                const RECT left{bg.inner.left, r.top, bg.inner.left + 1, r.bottom};
                FillSolidRect(dc, &left, topLine);
            }
            if (line != CLR_INVALID) {
                const RECT right{r.right - 3, r.top, r.right - 2, r.bottom};
                FillSolidRect(dc, &right, line);
            }
        }
    }
}
