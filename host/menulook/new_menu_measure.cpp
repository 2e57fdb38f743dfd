// Measuring owner-drawn items in the three measuring families: classic,
// gradient and column; titles and system-menu items.
#include <algorithm>

#include "host/menulook/menu_drawing.h"
#include "host/menulook/menu_library.h"
#include "host/menulook/new_menu.h"

namespace {

enum class MeasureFamily { Classic, Gradient, Column };

// Separators that are no title.
constexpr int kSeparatorSize = 3;

bool IsSystemCommand(UINT_PTR id)
{
    const UINT_PTR masked = id & 0xFFF0;
    return masked >= 0xF000 && masked <= 0xF150 && id <= 0xFFFF;
}

SIZE TextExtent(const std::string& text, const LOGFONTA& font)
{
    ScopedWindowDC screen(nullptr);
    SIZE size{};
    if (screen.Get() == nullptr) {
        return size;
    }
    ScopedSelect select(screen.Get(), CreateFontIndirectA(&font), ScopedSelect::Owns::Yes);
    GetTextExtentPoint32A(screen.Get(), text.c_str(), static_cast<int>(text.size()), &size);
    return size;
}

std::string WithoutTabs(std::string text)
{
    std::string out;
    for (char c : text) {
        if (c == '\t') {
            out += "nnn";
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace

// One measure of an item by family (the common steps).
static void MeasureByFamily(CNewMenu& menu, MEASUREITEMSTRUCT* item, BOOL bar, MeasureFamily family,
                            const CNewMenuItemData& record)
{
    const SIZE icon = menu.GetIconSize();
    const int iw = icon.cx;
    const int ih = icon.cy;
    // 1. Separators and titles.
    if ((record.flags & MF_SEPARATOR) != 0 && (record.titleStyle & kTitleItem) == 0) {
        item->itemWidth = kSeparatorSize;
        item->itemHeight = kSeparatorSize;
        return;
    }
    if ((record.titleStyle & kTitleItem) != 0) {
        LOGFONTA titleFont{};
        CNewMenu::GetMenuTitleFont(&titleFont);
        const SIZE text = TextExtent(record.text, titleFont);
        SIZE image{};
        if (record.Icons() != nullptr && record.ImageIndex() >= 0) {
            const SIZE s = record.Icons()->GetIconSize();
            image = SIZE{s.cx + 2, s.cy + 2};
        }
        const UINT bits = record.titleStyle;
        if ((bits & kTitleVertical) != 0) {
            int width = std::max<int>(text.cy, image.cx);
            if (!MenuLibrary().wine) {
                width -= GetSystemMetrics(SM_CXMENUCHECK);
            }
            width += (bits & kTitleEngraved) != 0 ? 8 : (bits & kTitleRound) != 0 ? 4 : 0;
            item->itemWidth = static_cast<UINT>(std::max(width, 0));
            item->itemHeight = 0;
        } else {
            item->itemWidth = static_cast<UINT>(text.cx + image.cx);
            item->itemHeight = static_cast<UINT>(std::max(text.cy, image.cy) + ((bits & kTitleEngraved) != 0 ? 8 : 0));
        }
        return;
    }
    // 2. The font, bold for the default item.
    LOGFONTA font = MenuLogFont();
    const UINT defaultItem = ::GetMenuDefaultItem(menu.GetSafeHmenu(), 0, 0);
    if (defaultItem != static_cast<UINT>(-1) && defaultItem == record.commandId) {
        font.lfWeight = FW_BOLD;
    }
    // 3. The text.
    const HACCEL table = CNewMenu::GetShowAccelerators() ? menu.GetAccelerator() : nullptr;
    std::string text = record.GetString(table);
    if (family != MeasureFamily::Classic) {
        text = WithoutTabs(text);
    }
    const SIZE size = TextExtent(text, font);
    const int w = size.cx;
    const int h = size.cy;
    const bool ampersand = text.find('&') != std::string::npos;
    const int check = GetSystemMetrics(SM_CXMENUCHECK);
    const int menuHeight = GetSystemMetrics(SM_CYMENU);
    // 4. Width and height by family.
    int width = 0;
    int height = 0;
    switch (family) {
    case MeasureFamily::Classic:
    case MeasureFamily::Gradient: {
        const int pad = family == MeasureFamily::Classic ? 4 : 6;
        width = bar ? w - (ampersand ? check / 2 : 0) : w + 2 * iw + 2;
        height = std::max(menuHeight, ih + pad);
        break;
    }
    case MeasureFamily::Column:
        if (bar) {
            width = w - (ampersand ? 6 : 0);
            height = std::max(menuHeight, ih + 2);
        } else {
            width = w + iw + 6 + ((record.flags & MF_POPUP) != 0 ? menuHeight : menuHeight / 2);
            height = menuHeight > ih + 8 ? menuHeight : ih + 7;
        }
        break;
    }
    height = std::max(height, h);
    item->itemWidth = static_cast<UINT>(std::max(width, 0));
    item->itemHeight = static_cast<UINT>(height);
}

static void Measure(CNewMenu& menu, MEASUREITEMSTRUCT* item, BOOL bar, MeasureFamily family)
{
    const auto* record = reinterpret_cast<const CNewMenuItemData*>(item->itemData);
    if (record == nullptr) {
        return;
    }
    MeasureByFamily(menu, item, bar, family, *record);
    // 6. System-menu items take the size of the next real item.
    if (!IsSystemCommand(record->commandId) || (record->flags & MF_POPUP) != 0) {
        return;
    }
    const auto& records = menu.ItemRecords();
    auto self = std::find_if(records.begin(), records.end(), [&](const auto& r) { return r.get() == record; });
    if (self != records.end()) {
        for (auto it = self + 1; it != records.end(); ++it) {
            if ((*it)->commandId != 0) {
                MEASUREITEMSTRUCT other = *item;
                other.itemData = reinterpret_cast<ULONG_PTR>(it->get());
                MeasureByFamily(menu, &other, bar, family, **it);
                item->itemWidth = std::max(item->itemWidth, other.itemWidth);
                break;
            }
        }
    }
    item->itemHeight = static_cast<UINT>(GetSystemMetrics(SM_CYMENU));
}

void CNewMenu::MeasureItemClassic(MEASUREITEMSTRUCT* item, BOOL bar) { Measure(*this, item, bar, MeasureFamily::Classic); }

void CNewMenu::MeasureItemGradient(MEASUREITEMSTRUCT* item, BOOL bar)
{
    Measure(*this, item, bar, MeasureFamily::Gradient);
}

void CNewMenu::MeasureItemColumn(MEASUREITEMSTRUCT* item, BOOL bar) { Measure(*this, item, bar, MeasureFamily::Column); }
