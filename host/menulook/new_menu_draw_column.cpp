// The column and shaded-column item-drawing families (style codes 2, 3 and
// 8 to 11): an image column beside a light text area, a filled and
// outlined selection, shadowed images and the bar items' faces.
#include <algorithm>

#include "host/menulook/menu_colors.h"
#include "host/menulook/menu_library.h"
#include "host/menulook/new_menu_paint.h"

namespace {

COLORREF Sys(int index) { return GetSysColor(index); }
bool ManyColours() { return GetScreenColorDepth() > 256; }

void Outline(HDC dc, const RECT& r, COLORREF colour)
{
    ScopedSelect pen(dc, CreatePen(PS_SOLID, 1, colour), ScopedSelect::Owns::Yes);
    ScopedSelect brush(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, r.left, r.top, r.right, r.bottom);
}

struct ColumnColours {
    COLORREF text;      // T, text area
    COLORREF column;    // C, image column
    COLORREF selection; // S
    COLORREF pen;       // P
    COLORREF check;
    COLORREF checkSelected;
    COLORREF bar;       // B
    COLORREF window10;  // W10 (shaded looks)
};

// The check box of an item without image: filled, outlined, with its mark.
void DrawColumnCheck(ItemPaint& p, const ColumnColours& c)
{
    const CheckBitmaps bitmaps = ItemCheckBitmaps(p);
    if (!p.checked && bitmaps.unchecked == nullptr) {
        return;
    }
    RECT box = ColumnRect(p);
    InflateRect(&box, -1, -1);
    if (p.rtl) {
        box.left += 1;
    } else {
        box.right -= 1;
    }
    FillSolidRect(p.dc, &box, p.selected ? c.checkSelected : c.check);
    Outline(p.dc, box, c.pen);
    DrawCheckGlyph(p, box, p.grayed ? Sys(COLOR_GRAYTEXT) : Sys(COLOR_MENUTEXT), bitmaps);
}

// Images of the column families.
void DrawColumnImage(ItemPaint& p, const ColumnColours& c, bool shadedFamily)
{
    const RECT column = ColumnRect(p);
    const int x = column.left + 3;
    const int y = column.top + (column.bottom - column.top - p.ih) / 2;
    const int index = p.record->ImageIndex();
    const bool faded = CNewMenu::GetFadedIcons() != FALSE;
    if (p.hasImage) {
        if (p.disabled) {
            if (shadedFamily || faded) {
                DrawItemImage(p, index + 2, x, y);
            } else {
                DrawItemImageMono(p, index, x, y, GetNearestColor(p.dc, DarkenColorBy(70, c.column)));
            }
        } else if (p.selected) {
            if (shadedFamily) {
                DrawItemImage(p, index, x, y);
            } else {
                DrawItemImageMono(p, index, x + 1, y + 1, GetNearestColor(p.dc, ShadeColor70(c.selection)));
                DrawItemImage(p, index, x - 1, y - 1);
            }
        } else {
            DrawItemImage(p, faded ? index + 1 : index, x, y);
        }
        return;
    }
    if (p.checkImage) {
        DrawCheckImage(p, column.left + 3, p.item.top + 4);
        return;
    }
    const COLORREF glyph = GlyphColor(p, false);
    if (p.selected && !p.hasImage && SystemGlyph(p.record->commandId) != 0 &&
        (p.record->commandId & 0xFFF0) >= 0xF000 && p.record->commandId <= 0xFFFF) {
        RECT shadow = column;
        OffsetRect(&shadow, 1, 1);
        CNewMenu::DrawGlyph(p.dc, shadow, SystemGlyph(p.record->commandId), p.isDefault,
                            ShadeColor70(GetHighlightColor()));
        RECT face = column;
        OffsetRect(&face, -1, -1);
        CNewMenu::DrawGlyph(p.dc, face, SystemGlyph(p.record->commandId), p.isDefault, Sys(COLOR_MENUTEXT));
        return;
    }
    if (DrawSystemGlyph(p, column, glyph)) {
        return;
    }
    DrawColumnCheck(p, c);
}

void DrawColumnSeparator(ItemPaint& p)
{
    const RECT text = PopupTextRect(p);
    const int y = (p.item.top + p.item.bottom) / 2;
    RECT line = p.rtl ? RECT{p.item.left, y, text.right, y + 1} : RECT{text.left, y, p.item.right, y + 1};
    FillSolidRect(p.dc, &line, Sys(COLOR_GRAYTEXT));
}

// The shadow right of (below) an open bar item's face, over `sampled`.
void DrawOpenItemShadow(ItemPaint& p, const RECT& face, COLORREF sampled)
{
    if (!ManyColours()) {
        if (p.vertical) {
            RECT rows{face.left + 4, face.bottom - 1, face.right, face.bottom + 1};
            FillSolidRect(p.dc, &rows, Sys(COLOR_BTNSHADOW));
        } else {
            RECT columns{face.right, face.top + 4, face.right + 2, p.item.bottom};
            FillSolidRect(p.dc, &columns, Sys(COLOR_BTNSHADOW));
        }
        return;
    }
    if (p.vertical) {
        for (int j = 1; j <= 4; ++j) {
            const int y = face.bottom + 4 - j;
            for (int x = face.left; x < face.right + 4; ++x) {
                const int k = x - face.left;
                const COLORREF c = k < 4 ? sampled
                                   : k < 8 ? DarkenColorBy(6 * j * (k - 3), sampled)
                                           : DarkenColorBy(30 * j, sampled);
                SetPixel(p.dc, x, y, c);
            }
        }
        return;
    }
    for (int i = 1; i <= 4; ++i) {
        const int x = face.right + 4 - i;
        for (int y = face.top; y < p.item.bottom; ++y) {
            const int j = y - face.top;
            const COLORREF c = j < 4 ? sampled
                               : j < 8 ? DarkenColorBy(6 * i * (j - 3), sampled)
                                       : DarkenColorBy(30 * i, sampled);
            SetPixel(p.dc, x, y, c);
        }
    }
}

// The text colour of a popup item of the column looks.
COLORREF ColumnTextColor(const ItemPaint& p)
{
    if (p.grayed) {
        return Sys(COLOR_GRAYTEXT);
    }
    if (MenuLibrary().highContrast != FALSE && !p.selected) {
        return Sys(COLOR_WINDOWTEXT);
    }
    return Sys(COLOR_MENUTEXT);
}

RECT BarFace(const ItemPaint& p)
{
    RECT face = p.item;
    if (p.vertical) {
        face.bottom -= 4;
    } else {
        face.right -= 4;
    }
    return face;
}

} // namespace

// Column (codes 2 and 3) -----------------------------------------------------------------------------

void CNewMenu::DrawItemColumn(DRAWITEMSTRUCT* dis, BOOL bar)
{
    ItemPaint p;
    if (!BeginItemPaint(p, *this, dis, bar)) {
        return;
    }
    ItemTarget target(p);
    const bool contrast = MenuLibrary().highContrast != FALSE;
    ColumnColours c{};
    const COLORREF window = Sys(COLOR_WINDOW);
    c.bar = GetMenuBarBkColor(GetSafeHmenu());
    c.text = MixColor86(window, c.bar);
    c.column = GetScreenColorDepth() <= 256 ? Sys(COLOR_3DFACE) : MixColor86(c.bar, window);
    c.selection = GetHighlightColor();
    c.pen = contrast ? Sys(COLOR_BTNTEXT) : Sys(COLOR_HIGHLIGHT);
    if (GetNearestColor(p.dc, c.text) == GetNearestColor(p.dc, c.column)) {
        c.text = window;
        c.column = c.bar;
    }
    c.check = MixColor86(c.column, Sys(COLOR_HIGHLIGHT));
    c.checkSelected = ManyColours() ? MixColor86(c.selection, Sys(COLOR_HIGHLIGHT)) : c.check;
    const bool lit = p.selected || p.hot || p.inactive;
    if (bar) {
        FillSolidRect(p.dc, &p.item, c.bar);
        const RECT face = BarFace(p);
        if (p.selected || p.hot) {
            const COLORREF fill = p.hot ? c.selection : c.column;
            FillSolidRect(p.dc, &face, fill);
            Outline(p.dc, face,
                    p.hot ? c.pen : (contrast ? Sys(COLOR_BTNTEXT) : DarkenColorBy(128, GetMenuBarBkColor(GetSafeHmenu()))));
            if (p.selected && !p.hot) {
                DrawOpenItemShadow(p, face, c.bar);
            }
        }
        RecordBarBorder(p, face);
        DrawBarLabel(p, face, p.grayed || p.inactive ? Sys(COLOR_GRAYTEXT) : Sys(COLOR_MENUTEXT));
        return;
    }
    const RECT column = ColumnRect(p);
    RECT textArea = p.item;
    if (p.rtl) {
        textArea.right = column.left;
    } else {
        textArea.left = column.right;
    }
    FillSolidRect(p.dc, &column, c.column);
    FillSolidRect(p.dc, &textArea, c.text);
    if (p.separator) {
        DrawColumnSeparator(p);
        return;
    }
    if (lit && !p.inactive) {
        if (!p.unmoved) {
            FillSolidRect(p.dc, &p.item, c.selection);
        }
        Outline(p.dc, p.item, c.pen);
    }
    DrawColumnImage(p, c, false);
    DrawItemText(p, PopupTextRect(p), ColumnTextColor(p));
}

// Shaded column (codes 8 to 11) -------------------------------------------------------------------------

void CNewMenu::DrawItemShaded(DRAWITEMSTRUCT* dis, BOOL bar)
{
    ItemPaint p;
    if (!BeginItemPaint(p, *this, dis, bar)) {
        return;
    }
    ItemTarget target(p);
    const bool contrast = MenuLibrary().highContrast != FALSE;
    const int code = GetMenuDrawMode();
    ColumnColours c{};
    c.window10 = DarkenColorBy(10, Sys(COLOR_WINDOW));
    c.bar = bar ? GetMenuBarBkColor(GetSafeHmenu()) : GetMenuBkColor(GetSafeHmenu());
    GetMenuColors(&c.column, nullptr, TRUE);
    c.text = bar ? c.column : MixColor86(c.window10, c.bar);
    c.pen = contrast ? Sys(COLOR_BTNTEXT) : Sys(COLOR_HIGHLIGHT);
    c.selection = kWarmSelection;
    c.check = kWarmCheck;
    c.checkSelected = kWarmCheckSelected;
    if (!IsThemeActiveHook() && (code == 8 || code == 9)) {
        c.selection = GetHighlightColor();
        c.check = c.checkSelected = MixColor86(c.selection, Sys(COLOR_HIGHLIGHT));
    }
    if (GetNearestColor(p.dc, c.text) == GetNearestColor(p.dc, c.column)) {
        c.text = c.window10;
    }
    if (bar && !p.hot) {
        c.selection = c.column;
    }
    if (bar) {
        const RECT face = BarFace(p);
        MENUINFO info{};
        info.cbSize = kMenuInfoSize32;
        info.fMask = MIM_BACKGROUND;
        const bool brush = ::GetMenuInfo(GetSafeHmenu(), &info) != FALSE && info.hbrBack != nullptr;
        if (brush) {
            POINT old{};
            SetBrushOrgEx(p.dc, 0, 0, &old);
            FillRect(p.dc, &p.item, info.hbrBack);
            SetBrushOrgEx(p.dc, old.x, old.y, nullptr);
        } else {
            FillSolidRect(p.dc, &p.item, c.column);
        }
        if (p.hot || p.selected) {
            if (!ManyColours()) {
                FillSolidRect(p.dc, &face, c.window10);
            } else if (p.hot) {
                DrawGradient(p.dc, face, c.window10, c.selection, GradientDirection::Vertical, NearestColor::Yes);
            } else {
                DrawGradient(p.dc, face, c.window10, c.column, GradientDirection::Vertical, NearestColor::Yes);
            }
            Outline(p.dc, face,
                    p.hot ? c.pen : (contrast ? Sys(COLOR_BTNTEXT) : DarkenColorBy(128, GetMenuBarBkColor(GetSafeHmenu()))));
            if (p.selected && !p.hot) {
                COLORREF sampled = CLR_INVALID;
                const POINT at = p.vertical ? POINT{p.item.left + 4, p.item.bottom - 4} : POINT{p.item.right - 1, p.item.top};
                sampled = GetPixel(p.dc, at.x, at.y);
                if (sampled == CLR_INVALID) {
                    sampled = c.column;
                }
                DrawOpenItemShadow(p, face, sampled);
            }
        }
        RecordBarBorder(p, face);
        COLORREF text = Sys(COLOR_MENUTEXT);
        if (p.grayed || p.inactive) {
            text = ManyColours() ? Sys(COLOR_GRAYTEXT) : c.window10;
        }
        DrawBarLabel(p, face, text);
        return;
    }
    const RECT column = ColumnRect(p);
    RECT textArea = p.item;
    if (p.rtl) {
        textArea.right = column.left;
        DrawGradient(p.dc, column, c.column, c.text, GradientDirection::Horizontal, NearestColor::Yes);
    } else {
        textArea.left = column.right;
        DrawGradient(p.dc, column, c.text, c.column, GradientDirection::Horizontal, NearestColor::Yes);
    }
    FillSolidRect(p.dc, &textArea, c.text);
    if (p.separator) {
        DrawColumnSeparator(p);
        return;
    }
    const bool lit = p.selected || p.hot || p.inactive;
    if (lit && !p.inactive) {
        FillSolidRect(p.dc, &p.item, p.unmoved ? c.text : c.selection);
        Outline(p.dc, p.item, c.pen);
    }
    DrawColumnImage(p, c, true);
    DrawItemText(p, PopupTextRect(p), ColumnTextColor(p));
}
