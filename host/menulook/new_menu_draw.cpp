// The classic, flat-bar and gradient item-drawing families.
#include <algorithm>

#include "host/menulook/menu_colors.h"
#include "host/menulook/menu_library.h"
#include "host/menulook/new_menu_paint.h"

namespace {

COLORREF Sys(int index) { return GetSysColor(index); }

bool ThreeD() { return MenuLibrary().osStyle >= kOsStyle95; }

void Frame3d(HDC dc, const RECT& r, COLORREF topLeft, COLORREF bottomRight)
{
    Draw3dRect(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, topLeft, bottomRight);
}

// The check mark without image in the classic and gradient families.
void DrawClassicCheck(ItemPaint& p, const ClassicGeometry& g, COLORREF glyph)
{
    const CheckBitmaps bitmaps = ItemCheckBitmaps(p);
    if (!p.checked && bitmaps.unchecked == nullptr) {
        return;
    }
    if (ThreeD()) {
        RECT edge = g.frameBox;
        InflateRect(&edge, -1, -1);
        DrawEdge(p.dc, &edge, BDR_SUNKENOUTER, BF_RECT);
    }
    RECT glyphBox = g.frameBox;
    InflateRect(&glyphBox, 1, 1);
    if (p.checked && bitmaps.checked == nullptr) {
        OffsetRect(&glyphBox, 1, 2);
    }
    DrawCheckGlyph(p, glyphBox, glyph, bitmaps);
}

// Shared by the classic and gradient popup items.
struct ClassicColours {
    COLORREF background;
    COLORREF frameDark;  // top-left of a sunken frame
    COLORREF frameLight; // bottom-right of a sunken frame
};

void DrawClassicImageColumn(ItemPaint& p, const ClassicGeometry& g, const ClassicColours& colours, bool gradient,
                            COLORREF monoColour)
{
    // Image frame.
    if (p.hasImage && ThreeD()) {
        if (p.checked) {
            Frame3d(p.dc, g.frameBox, colours.frameDark, colours.frameLight);
        } else if (p.selected && !p.grayed) {
            Frame3d(p.dc, g.frameBox, colours.frameLight, colours.frameDark);
        }
    }
    const int index = p.record->ImageIndex();
    if (p.hasImage) {
        if (p.disabled) {
            if (gradient) {
                DrawItemImageMono(p, index, g.imageBox.left, g.imageBox.top, monoColour);
            } else {
                DrawItemImage(p, index + 2, g.imageBox.left, g.imageBox.top);
            }
        } else {
            DrawItemImage(p, index, g.imageBox.left, g.imageBox.top);
        }
    } else if (p.checkImage) {
        DrawCheckImage(p, g.imageBox.left, g.imageBox.top);
    } else if (!DrawSystemGlyph(p, g.frameBox, GlyphColor(p, true))) {
        DrawClassicCheck(p, g, GlyphColor(p, true));
    }
}

} // namespace

// Classic ------------------------------------------------------------------------------------------

void CNewMenu::DrawItemClassic(DRAWITEMSTRUCT* dis, BOOL bar)
{
    ItemPaint p;
    if (!BeginItemPaint(p, *this, dis, bar)) {
        return;
    }
    ItemTarget target(p);
    const COLORREF back = bar ? GetMenuBarBkColor(GetSafeHmenu()) : Sys(COLOR_MENU);
    FillSolidRect(p.dc, &p.item, back);
    if (p.separator) {
        RECT line = p.item;
        line.left += 1;
        line.top += 1;
        DrawEtchedSeparator(p.dc, line);
        return;
    }
    if (bar) {
        const RECT frame{p.item.left, p.item.top, p.item.right - 2, p.item.bottom};
        if (p.selected) {
            Frame3d(p.dc, frame, Sys(COLOR_BTNSHADOW), Sys(COLOR_BTNHIGHLIGHT));
        } else if (p.hot && !p.inactive) {
            Frame3d(p.dc, frame, Sys(COLOR_BTNHIGHLIGHT), Sys(COLOR_BTNSHADOW));
        }
        RecordBarBorder(p, RECT{p.item.left + 1, p.item.top - 1, p.item.right - 1, p.item.bottom - 1});
        RECT label{p.item.left, p.item.top, p.item.right + 6, p.item.bottom};
        if (p.selected) {
            OffsetRect(&label, 1, 1);
        }
        DrawBarLabel(p, label, p.inactive ? Sys(COLOR_GRAYTEXT) : Sys(COLOR_MENUTEXT));
        return;
    }
    const ClassicGeometry g = ClassicLayout(p);
    if (p.selected) {
        const RECT fill = p.hasImage || p.checkImage || p.checked ? g.textArea : p.item;
        FillSolidRect(p.dc, &fill, Sys(COLOR_HIGHLIGHT));
    }
    DrawClassicImageColumn(p, g, ClassicColours{back, Sys(COLOR_BTNSHADOW), Sys(COLOR_BTNHIGHLIGHT)}, false, 0);
    if (p.grayed) {
        if (!p.selected) {
            RECT shadow = g.text;
            OffsetRect(&shadow, 1, 1);
            DrawItemText(p, shadow, Sys(COLOR_BTNHIGHLIGHT));
            DrawItemText(p, g.text, Sys(COLOR_GRAYTEXT));
        } else {
            DrawItemText(p, g.text, back);
        }
    } else {
        DrawItemText(p, g.text, p.selected ? Sys(COLOR_HIGHLIGHTTEXT) : Sys(COLOR_MENUTEXT));
    }
}

// Flat bar ------------------------------------------------------------------------------------------

void CNewMenu::DrawItemFlatBar(DRAWITEMSTRUCT* dis, BOOL bar)
{
    if (!bar) {
        DrawItemClassic(dis, bar);
        return;
    }
    ItemPaint p;
    if (!PrepareItemPaint(p, *this, dis, bar)) {
        return;
    }
    const bool lit = p.selected || p.hot;
    FillSolidRect(p.dc, &p.item, lit ? Sys(COLOR_HIGHLIGHT) : GetMenuBarBkColor(GetSafeHmenu()));
    RecordBarBorder(p, p.item);
    const COLORREF text = p.grayed ? Sys(COLOR_GRAYTEXT) : lit ? Sys(COLOR_HIGHLIGHTTEXT) : Sys(COLOR_MENUTEXT);
    DrawBarLabel(p, p.item, text);
}

// Gradient ------------------------------------------------------------------------------------------

void CNewMenu::DrawItemGradient(DRAWITEMSTRUCT* dis, BOOL bar)
{
    ItemPaint p;
    if (!BeginItemPaint(p, *this, dis, bar)) {
        return;
    }
    ItemTarget target(p);
    const bool contrast = MenuLibrary().highContrast != FALSE;
    const COLORREF m = GetMenuBkColor(GetSafeHmenu());
    COLORREF dark = DarkenColorBy(60, m);
    COLORREF light = LightenColor(60, m);
    const COLORREF darker = DarkenColorBy(100, m);
    COLORREF frame = GetNearestColor(p.dc, DarkenColorBy(70, dark));
    if (contrast) {
        dark = light = Sys(COLOR_BTNTEXT);
        frame = Sys(COLOR_BTNSHADOW);
    }
    const COLORREF b = bar ? GetMenuBarBkColor(GetSafeHmenu()) : m;
    if (p.separator) {
        FillSolidRect(p.dc, &p.item, light);
        RECT line{p.item.left + 1, p.item.top, p.item.right - 1, p.item.bottom};
        DrawEtchedSeparator(p.dc, line);
        return;
    }
    if (bar) {
        const RECT back{p.item.left, p.item.top, p.item.right - 1, p.item.bottom};
        if ((p.hot || p.selected) && !p.inactive && !contrast) {
            DrawGradient(p.dc, back, LightenColor(30, m), DarkenColorBy(30, m), GradientDirection::Vertical,
                         NearestColor::Yes);
        } else {
            MENUINFO info{};
            info.cbSize = kMenuInfoSize32;
            info.fMask = MIM_BACKGROUND;
            if (!contrast && ::GetMenuInfo(GetSafeHmenu(), &info) != FALSE && info.hbrBack != nullptr) {
                POINT old{};
                SetBrushOrgEx(p.dc, 0, 0, &old);
                FillRect(p.dc, &back, info.hbrBack);
                SetBrushOrgEx(p.dc, old.x, old.y, nullptr);
            } else {
                FillSolidRect(p.dc, &back, b);
            }
        }
        const RECT frameRect{p.item.left, p.item.top + 1, p.item.right - 1, p.item.bottom};
        if (p.selected) {
            Frame3d(p.dc, frameRect, dark, light);
        } else if (p.hot && !p.inactive) {
            Frame3d(p.dc, frameRect, light, dark);
        }
        RecordBarBorder(p, RECT{p.item.left, p.item.top, p.item.right - 1, p.item.bottom - 1});
        const RECT label{p.item.left, p.item.top + 2, p.item.right + 6, p.item.bottom};
        DrawBarLabel(p, label, p.inactive ? darker : Sys(COLOR_MENUTEXT));
        return;
    }
    if (contrast) {
        FillSolidRect(p.dc, &p.item, b);
    } else {
        DrawGradient(p.dc, p.item, LightenColor(30, b), DarkenColorBy(30, b), GradientDirection::Vertical,
                     NearestColor::Yes);
    }
    const ClassicGeometry g = ClassicLayout(p);
    if (p.selected) {
        const RECT fill = p.hasImage || p.checkImage || p.checked ? g.textArea : p.item;
        const COLORREF highlight = Sys(COLOR_HIGHLIGHT);
        if (contrast) {
            FillSolidRect(p.dc, &fill, highlight);
        } else {
            DrawGradient(p.dc, fill, LightenColor(30, highlight), DarkenColorBy(30, highlight),
                         GradientDirection::Vertical, NearestColor::Yes);
        }
        Frame3d(p.dc, fill, dark, light);
    }
    DrawClassicImageColumn(p, g, ClassicColours{b, dark, light}, true, frame);
    if (p.grayed) {
        if (!p.selected) {
            RECT shifted = g.text;
            OffsetRect(&shifted, 1, 1);
            DrawItemText(p, shifted, frame);
        } else {
            DrawItemText(p, g.text, b);
        }
    } else {
        DrawItemText(p, g.text, p.selected ? Sys(COLOR_HIGHLIGHTTEXT) : Sys(COLOR_MENUTEXT));
    }
}
