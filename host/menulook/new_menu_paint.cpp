// The steps every item-drawing family shares: state adjustments, texts,
// image column geometry, images, glyphs and check marks.
#include "host/menulook/new_menu_paint.h"

#include <algorithm>
#include <cstring>

#include "host/menulook/menu_colors.h"
#include "host/menulook/menu_library.h"

namespace {

constexpr UINT_PTR kFirstSystemCommand = 0xF000;
constexpr UINT_PTR kLastSystemCommand = 0xF150;

bool IsMenuHandle(UINT_PTR id) { return id > 0xFFFF && IsMenu(reinterpret_cast<HMENU>(id)) != FALSE; }

} // namespace

bool PrepareItemPaint(ItemPaint& p, CNewMenu& menu, DRAWITEMSTRUCT* dis, BOOL bar)
{
    p.menu = &menu;
    p.dis = dis;
    p.record = reinterpret_cast<const CNewMenuItemData*>(dis->itemData);
    if (p.record == nullptr) {
        return false;
    }
    p.bar = bar;
    p.dc = dis->hDC;
    p.item = dis->rcItem;
    p.iw = menu.GetIconSize().cx;
    p.ih = menu.GetIconSize().cy;
    p.separator = (p.record->flags & MF_SEPARATOR) != 0;
    p.popupItem = IsMenuHandle(p.record->commandId) || (p.record->flags & MF_POPUP) != 0;
    UINT state = dis->itemState;
    // 2. Bar items: tracking bits become the hot look.
    if (bar) {
        if (!p.popupItem && (state & kStateBarTracking) != 0) {
            state = (state | ODS_HOTLIGHT) & ~(ODS_SELECTED | kStateBarTracking);
        } else if ((state & kStateBarTracking) == 0 && menu.OpenPopupCount() == 0 && (state & ODS_SELECTED) != 0) {
            state = (state | ODS_HOTLIGHT) & ~ODS_SELECTED;
        }
    }
    // 3. Disabled items are never selected unless allowed; has the cursor moved?
    if ((state & ODS_GRAYED) != 0 && (state & ODS_SELECTED) != 0 && !CNewMenu::GetSelectDisabledItems()) {
        state &= ~ODS_SELECTED;
    }
    MenuLibraryState& library = MenuLibrary();
    const DWORD position = GetMessagePos();
    // The position is remembered at each key press in a popup (the window
    // procedure of subclassed popups); drawing only compares, so that a
    // repaint of many items does not take itself for keyboard navigation.
    p.unmoved = position == library.lastMessagePos;
    p.state = state;
    p.selected = (state & ODS_SELECTED) != 0;
    p.grayed = (state & ODS_GRAYED) != 0;
    p.disabled = (state & ODS_DISABLED) != 0;
    p.checked = (state & ODS_CHECKED) != 0;
    p.hot = (state & ODS_HOTLIGHT) != 0;
    p.inactive = (state & ODS_INACTIVE) != 0;
    p.isDefault = (state & ODS_DEFAULT) != 0;
    p.vertical = (state & kStateBarVertical) != 0;
    p.rtl = (p.record->flags & MFT_RIGHTORDER) != 0;
    // 4. The image column's cases.
    p.hasImage = p.record->ImageIndex() != -1 && p.record->Icons() != nullptr;
    p.selectedImage = p.hasImage && p.selected && !p.grayed;
    p.disabledImage = p.hasImage && p.grayed;
    p.checkImage = p.checked && !p.hasImage && menu.CheckImages() != nullptr &&
                   (p.selected ? menu.SelectedCheckImageId() >= 1 : menu.CheckImageId() > 0);
    // 5. Label and accelerator.
    const HACCEL table = CNewMenu::GetShowAccelerators() ? menu.GetAccelerator() : nullptr;
    const std::string text = p.record->GetString(table);
    const size_t tab = text.find('\t');
    p.label = text.substr(0, tab);
    p.accelerator = tab != std::string::npos ? text.substr(tab + 1) : std::string();
    if (p.rtl) {
        p.labelFormat = DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_RTLREADING;
        p.acceleratorFormat = DT_SINGLELINE | DT_VCENTER;
    }
    if ((state & ODS_NOACCEL) != 0) {
        BOOL cues = FALSE;
        const bool showCues = library.osStyle >= kOsStyle2000 &&
                              SystemParametersInfoA(SPI_GETKEYBOARDCUES, 0, &cues, 0) != FALSE && cues != FALSE;
        if (!showCues) {
            p.labelFormat |= DT_HIDEPREFIX;
            p.acceleratorFormat |= DT_HIDEPREFIX;
        }
    }
    return true;
}

bool BeginItemPaint(ItemPaint& p, CNewMenu& menu, DRAWITEMSTRUCT* dis, BOOL bar)
{
    if (!PrepareItemPaint(p, menu, dis, bar)) {
        return false;
    }
    if (p.separator && (p.record->titleStyle & kTitleItem) != 0) {
        menu.DrawTitle(dis);
        return false;
    }
    return true;
}

void RecordBarBorder(const ItemPaint& p, RECT rect)
{
    if (!p.bar || (!p.selected && !p.hot)) {
        return;
    }
    RECT window{};
    if (HWND owner = WindowFromDC(p.dc)) {
        GetWindowRect(owner, &window);
    }
    OffsetRect(&rect, window.left, window.top);
    p.menu->SetMenuBorderRect(rect);
    MenuLibrary().lastDrawnBarItem = p.dis->itemData;
}

ClassicGeometry ClassicLayout(const ItemPaint& p)
{
    ClassicGeometry g;
    const RECT& r = p.item;
    if (p.rtl) {
        g.column = RECT{r.right - p.iw - 8, r.top, r.right, r.bottom};
        g.textArea = RECT{r.left + 1, r.top, r.right - p.iw - 8, r.bottom};
        g.text = RECT{g.textArea.left + 15, r.top, g.textArea.right - 4, r.bottom};
    } else {
        g.column = RECT{r.left + 1, r.top, r.left + p.iw + 9, r.bottom};
        g.textArea = RECT{r.left + p.iw + 9, r.top, r.right, r.bottom};
        g.text = RECT{g.textArea.left + 4, r.top, g.textArea.right - 15, r.bottom};
    }
    const int h = r.bottom - r.top;
    const int vertical = (h - p.ih + 1) / 2;
    g.imageBox = RECT{g.column.left + 4, g.column.top + vertical, g.column.right - 4, g.column.bottom - vertical};
    g.frameBox = g.imageBox;
    InflateRect(&g.frameBox, 2, 2);
    return g;
}

RECT PopupTextRect(const ItemPaint& p)
{
    const RECT& r = p.item;
    if (p.rtl) {
        return RECT{r.left + 15, r.top, r.right - (p.iw + 8) - 4, r.bottom};
    }
    return RECT{r.left + p.iw + 8 + 4, r.top, r.right - 15, r.bottom};
}

RECT ColumnRect(const ItemPaint& p)
{
    const RECT& r = p.item;
    return p.rtl ? RECT{r.right - p.iw - 8, r.top, r.right, r.bottom} : RECT{r.left, r.top, r.left + p.iw + 8, r.bottom};
}

namespace {

// The item's image list, with (x, y) moved so that an image smaller than
// the icon size sits in its middle; null without images.
HIMAGELIST CentredImage(const ItemPaint& p, int* x, int* y)
{
    CNewMenuIcons* icons = p.record->Icons();
    if (icons == nullptr || icons->ImageList() == nullptr) {
        return nullptr;
    }
    const SIZE size = icons->GetIconSize();
    if (size.cx < p.iw) {
        *x += (p.iw - size.cx) / 2;
    }
    if (size.cy < p.ih) {
        *y += (p.ih - size.cy) / 2;
    }
    return icons->ImageList();
}

} // namespace

void DrawItemImage(const ItemPaint& p, int index, int x, int y)
{
    if (HIMAGELIST list = CentredImage(p, &x, &y)) {
        ImageList_Draw(list, index, p.dc, x, y, ILD_TRANSPARENT);
    }
}

void DrawItemImageMono(const ItemPaint& p, int index, int x, int y, COLORREF colour)
{
    HIMAGELIST list = CentredImage(p, &x, &y);
    if (list == nullptr) {
        return;
    }
    HICON icon = ImageList_GetIcon(list, index, ILD_NORMAL);
    if (icon == nullptr) {
        return;
    }
    ScopedObject brush(CreateSolidBrush(colour));
    DrawStateA(p.dc, static_cast<HBRUSH>(brush.Get()), nullptr, reinterpret_cast<LPARAM>(icon), 0, x, y, 0, 0,
               DST_ICON | DSS_MONO);
    DestroyIcon(icon);
}

void DrawCheckImage(const ItemPaint& p, int x, int y)
{
    HIMAGELIST list = p.menu->CheckImages();
    if (list != nullptr) {
        ImageList_Draw(list, p.selected ? 1 : 0, p.dc, x, y, ILD_TRANSPARENT);
    }
}

HFONT CreateItemFont(const ItemPaint& p) { return CreateMenuFont(p.isDefault, p.vertical ? -900 : 0); }

void DrawItemText(const ItemPaint& p, const RECT& rect, COLORREF colour)
{
    ScopedSelect font(p.dc, CreateItemFont(p), ScopedSelect::Owns::Yes);
    const int oldMode = SetBkMode(p.dc, TRANSPARENT);
    const COLORREF oldColour = SetTextColor(p.dc, colour);
    RECT r = rect;
    DrawTextA(p.dc, p.label.c_str(), static_cast<int>(p.label.size()), &r, p.labelFormat);
    if (!p.accelerator.empty()) {
        RECT a = rect;
        DrawTextA(p.dc, p.accelerator.c_str(), static_cast<int>(p.accelerator.size()), &a,
                  p.acceleratorFormat | DT_NOPREFIX);
    }
    SetTextColor(p.dc, oldColour);
    SetBkMode(p.dc, oldMode);
}

void DrawBarLabel(const ItemPaint& p, const RECT& rect, COLORREF colour)
{
    ScopedSelect font(p.dc, CreateItemFont(p), ScopedSelect::Owns::Yes);
    const int oldMode = SetBkMode(p.dc, TRANSPARENT);
    const COLORREF oldColour = SetTextColor(p.dc, colour);
    const UINT hide = p.labelFormat & DT_HIDEPREFIX;
    if (p.vertical) {
        DrawRotatedText(p.dc, p.label.c_str(), static_cast<int>(p.label.size()), &rect,
                        DT_CENTER | DT_VCENTER | DT_SINGLELINE | hide);
    } else {
        RECT r = rect;
        DrawTextA(p.dc, p.label.c_str(), static_cast<int>(p.label.size()), &r,
                  DT_CENTER | DT_VCENTER | DT_SINGLELINE | hide);
    }
    SetTextColor(p.dc, oldColour);
    SetBkMode(p.dc, oldMode);
}

char SystemGlyph(UINT_PTR id)
{
    switch (id & 0xFFF0) {
    case SC_MINIMIZE: return '0';
    case SC_MAXIMIZE: return '1';
    case SC_RESTORE: return '2';
    case SC_CLOSE: return 'r';
    default: return 0;
    }
}

bool DrawSystemGlyph(const ItemPaint& p, const RECT& box, COLORREF colour)
{
    const UINT_PTR id = p.record->commandId;
    if (p.hasImage || (id & 0xFFF0) < kFirstSystemCommand || (id & 0xFFF0) > kLastSystemCommand || id > 0xFFFF) {
        return false;
    }
    const char glyph = SystemGlyph(id);
    if (glyph == 0) {
        return false;
    }
    CNewMenu::DrawGlyph(p.dc, box, glyph, p.isDefault, colour);
    return true;
}

COLORREF GlyphColor(const ItemPaint& p, bool classicFamily)
{
    if (p.grayed || p.inactive) {
        return GetSysColor(COLOR_GRAYTEXT);
    }
    if (classicFamily && p.selected) {
        return GetSysColor(COLOR_HIGHLIGHTTEXT);
    }
    return GetSysColor(COLOR_MENUTEXT);
}

void CNewMenu::DrawGlyph(HDC dc, RECT rect, char glyph, BOOL bold, COLORREF color)
{
    InflateRect(&rect, -2, -2);
    LOGFONTA font{};
    font.lfHeight = -(rect.bottom - rect.top);
    font.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    std::strncpy(font.lfFaceName, "Marlett", LF_FACESIZE - 1);
    ScopedSelect select(dc, CreateFontIndirectA(&font), ScopedSelect::Owns::Yes);
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColour = SetTextColor(dc, color);
    DrawTextA(dc, &glyph, 1, &rect, DT_CENTER | DT_SINGLELINE | DT_VCENTER);
    SetTextColor(dc, oldColour);
    SetBkMode(dc, oldMode);
}

CheckBitmaps ItemCheckBitmaps(const ItemPaint& p)
{
    CheckBitmaps bitmaps;
    MENUITEMINFOA info{};
    info.cbSize = kMenuItemInfoSize32;
    info.fMask = MIIM_CHECKMARKS;
    HMENU menu = reinterpret_cast<HMENU>(p.dis->hwndItem);
    if (::GetMenuItemInfoA(menu, p.dis->itemID, FALSE, &info) != FALSE) {
        bitmaps.checked = info.hbmpChecked;
        bitmaps.unchecked = info.hbmpUnchecked;
    }
    return bitmaps;
}

void DrawCheckGlyph(const ItemPaint& p, const RECT& glyphBox, COLORREF colour, const CheckBitmaps& bitmaps)
{
    // A box of the icon height, centred in the glyph box.
    RECT box = glyphBox;
    const int h = box.bottom - box.top;
    if (h > p.ih) {
        box.top += (h - p.ih) / 2;
        box.bottom = box.top + p.ih;
    }
    auto centred = [&](HBITMAP bitmap) {
        BITMAP info{};
        if (GetObjectA(bitmap, sizeof info, &info) == 0) {
            return;
        }
        const int x = (glyphBox.left + glyphBox.right - info.bmWidth) / 2;
        const int y = (glyphBox.top + glyphBox.bottom - info.bmHeight) / 2;
        DrawStateA(p.dc, nullptr, nullptr, reinterpret_cast<LPARAM>(bitmap), 0, x, y, 0, 0,
                   DST_BITMAP | DSS_MONO | (p.grayed ? DSS_DISABLED : 0u));
    };
    if (!p.checked) {
        centred(bitmaps.unchecked);
        return;
    }
    if (bitmaps.checked == nullptr) {
        CNewMenu::DrawGlyph(p.dc, box, 'b', p.isDefault, colour);
    } else if (bitmaps.unchecked == nullptr) {
        CNewMenu::DrawGlyph(p.dc, box, 'i', p.isDefault, colour);
    } else {
        centred(bitmaps.checked);
    }
}

void DrawEtchedSeparator(HDC dc, RECT rect)
{
    RECT line{rect.left, rect.top, rect.right, rect.top + 2};
    DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
}
