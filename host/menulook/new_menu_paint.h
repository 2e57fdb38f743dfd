// What every item-drawing family shares: the item's state after the
// common adjustments, its label and accelerator text, the geometry of the
// image column, and the drawing of images, glyphs, texts and check marks.
// Internal to the drawing files of host/menulook.
#pragma once

#include <optional>
#include <string>

#include "host/menulook/menu_drawing.h"
#include "host/menulook/new_menu.h"

struct ItemPaint {
    CNewMenu* menu = nullptr;
    DRAWITEMSTRUCT* dis = nullptr;
    const CNewMenuItemData* record = nullptr;
    BOOL bar = FALSE;
    HDC dc = nullptr;
    RECT item{};
    UINT state = 0;
    bool selected = false;
    bool grayed = false;    // ODS_GRAYED
    bool disabled = false;  // ODS_DISABLED
    bool checked = false;
    bool hot = false;
    bool inactive = false;
    bool isDefault = false;
    bool vertical = false;  // bar docked left or right
    bool rtl = false;
    bool unmoved = false;   // the cursor has not moved since the last key
    bool separator = false;
    bool hasImage = false;
    bool selectedImage = false;
    bool disabledImage = false;
    bool checkImage = false;
    bool popupItem = false; // opens a submenu
    std::string label;
    std::string accelerator;
    UINT labelFormat = DT_SINGLELINE | DT_VCENTER;
    UINT acceleratorFormat = DT_SINGLELINE | DT_VCENTER | DT_RIGHT;
    int iw = 16;
    int ih = 15;
};

// Common steps 2 to 6 of every draw family; false when there is no record.
bool PrepareItemPaint(ItemPaint& p, CNewMenu& menu, DRAWITEMSTRUCT* dis, BOOL bar);
// The common steps, and title items drawn by the common routine: false
// when nothing more is to be drawn (no record, or a title done).
bool BeginItemPaint(ItemPaint& p, CNewMenu& menu, DRAWITEMSTRUCT* dis, BOOL bar);

// Popup items other than separators draw off screen and are copied to the
// target when this goes; bar items and separators draw straight.
class ItemTarget {
public:
    explicit ItemTarget(ItemPaint& p)
    {
        if (!p.bar && !p.separator) {
            m_memory.emplace(p.item, p.dc);
            p.dc = m_memory->Get();
        }
    }

private:
    std::optional<CNewMemDC> m_memory;
};

// Records the bar item's rectangle (item coordinates) as the menu's
// border rectangle, in screen coordinates.
void RecordBarBorder(const ItemPaint& p, RECT rect);

// Geometry of the classic and gradient families.
struct ClassicGeometry {
    RECT column{};
    RECT textArea{};
    RECT text{};
    RECT imageBox{};
    RECT frameBox{};
};
ClassicGeometry ClassicLayout(const ItemPaint& p);
// The popup text rectangle shared by every family.
RECT PopupTextRect(const ItemPaint& p);
// The image column of the column families (IW + 8 wide).
RECT ColumnRect(const ItemPaint& p);

// The image (index of the set, already moved by the state) at (x, y),
// centred in the icon size when smaller.
void DrawItemImage(const ItemPaint& p, int index, int x, int y);
// The image's shape in one colour.
void DrawItemImageMono(const ItemPaint& p, int index, int x, int y, COLORREF colour);
void DrawCheckImage(const ItemPaint& p, int x, int y);
// The label (and accelerator) in the colour, transparent.
void DrawItemText(const ItemPaint& p, const RECT& rect, COLORREF colour);
// The bar label, centred, rotated for vertical bars.
void DrawBarLabel(const ItemPaint& p, const RECT& rect, COLORREF colour);
HFONT CreateItemFont(const ItemPaint& p);
// System-menu commands without their own image get a glyph; true when drawn.
bool DrawSystemGlyph(const ItemPaint& p, const RECT& box, COLORREF colour);
char SystemGlyph(UINT_PTR id);

struct CheckBitmaps {
    HBITMAP checked = nullptr;
    HBITMAP unchecked = nullptr;
};
CheckBitmaps ItemCheckBitmaps(const ItemPaint& p);
// The check mark of an item without image (common step 9): bitmaps or the
// glyphs "b" and "i" in the glyph box, centred vertically in the icon height.
void DrawCheckGlyph(const ItemPaint& p, const RECT& glyphBox, COLORREF colour, const CheckBitmaps& bitmaps);
COLORREF GlyphColor(const ItemPaint& p, bool classicFamily);

// Separator of the classic and gradient families: an etched line along the top.
void DrawEtchedSeparator(HDC dc, RECT rect);
