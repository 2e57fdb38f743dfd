// Title items of every look: a horizontal band at the top of a popup or a
// vertical band along its left edge, with gradient, round, framed or
// engraved backgrounds and an optional image.
#include <algorithm>

#include "host/menulook/menu_colors.h"
#include "host/menulook/new_menu_paint.h"

void CNewMenu::DrawItemTitle(DRAWITEMSTRUCT* dis)
{
    const auto* record = reinterpret_cast<const CNewMenuItemData*>(dis->itemData);
    if (record == nullptr) {
        return;
    }
    const auto* title = dynamic_cast<const CNewMenuItemDataTitle*>(record);
    HDC dc = dis->hDC;
    const UINT bits = record->titleStyle;
    const bool vertical = (bits & kTitleVertical) != 0;
    // 1. Colours.
    COLORREF text = GetSysColor(COLOR_CAPTIONTEXT);
    COLORREF back = MixColor86(GetSysColor(COLOR_WINDOW), GetMenuBkColor(GetSafeHmenu()));
    COLORREF fill = GetSysColor(COLOR_ACTIVECAPTION);
    if (title != nullptr) {
        text = title->textColor != kDefaultColor ? title->textColor : text;
        back = title->backColor != kDefaultColor ? title->backColor : back;
        fill = title->fillColor != kDefaultColor ? title->fillColor : fill;
    }
    // 2. Vertical titles take the popup's whole height.
    RECT r = dis->rcItem;
    if (vertical) {
        RECT client{};
        if (HWND window = WindowFromDC(dc); window != nullptr && GetClientRect(window, &client) != FALSE) {
            r.top = client.top;
            r.bottom = client.bottom;
        } else {
            GetClipBox(dc, &client);
            r.top = client.top;
            r.bottom = client.bottom;
        }
        r.right += GetSystemMetrics(SM_CXMENUCHECK);
    }
    // 3. Font and text origin.
    LOGFONTA font{};
    GetMenuTitleFont(&font);
    if (vertical) {
        font.lfEscapement = 900;
        font.lfOrientation = 900;
    }
    ScopedSelect selectFont(dc, CreateFontIndirectA(&font), ScopedSelect::Owns::Yes);
    SIZE image{};
    const bool hasImage = record->Icons() != nullptr && record->ImageIndex() >= 0;
    if (hasImage) {
        const SIZE s = record->Icons()->GetIconSize();
        image = SIZE{s.cx + 4, s.cy + 4};
    }
    SIZE extent{};
    GetTextExtentPoint32A(dc, record->text.c_str(), static_cast<int>(record->text.size()), &extent);
    POINT origin = vertical ? POINT{r.left + 2, r.bottom - 4 - image.cy} : POINT{r.left + image.cx + 2, r.top};
    // 4. Background.
    if ((bits & kTitleGradient) != 0) {
        if (vertical) {
            DrawGradient(dc, r, back, fill, GradientDirection::Vertical, NearestColor::Yes);
        } else {
            DrawGradient(dc, r, fill, back, GradientDirection::Horizontal, NearestColor::Yes);
        }
    } else if ((bits & kTitleRound) != 0) {
        RECT round = r;
        if (vertical) {
            origin.y -= 2;
            round.right = r.left + extent.cy + 4;
        } else {
            origin.x += std::min<LONG>(10, (r.right - r.left - extent.cx) / 2);
        }
        FillSolidRect(dc, &r, back);
        ScopedSelect pen(dc, CreatePen(PS_SOLID, 1, RGB(255, 255, 255)), ScopedSelect::Owns::Yes);
        ScopedSelect brush(dc, CreateSolidBrush(fill), ScopedSelect::Owns::Yes);
        RoundRect(dc, round.left, round.top, round.right, round.bottom, 10, 10);
    } else {
        FillSolidRect(dc, &r, fill);
    }
    // 5. Frame and centring.
    if ((bits & kTitle3dFrame) != 0) {
        Draw3dRect(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, GetSysColor(COLOR_BTNSHADOW),
                   GetSysColor(COLOR_BTNHIGHLIGHT));
    }
    if ((bits & kTitleCentred) != 0) {
        if (vertical) {
            origin.y = (r.top + r.bottom + extent.cx) / 2;
        } else {
            origin.x = (r.left + image.cx + r.right - extent.cx) / 2;
        }
    }
    // 6. Text and image.
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColour = SetTextColor(dc, text);
    TextOutA(dc, origin.x, origin.y, record->text.c_str(), static_cast<int>(record->text.size()));
    SetTextColor(dc, oldColour);
    SetBkMode(dc, oldMode);
    if (hasImage) {
        const int x = vertical ? origin.x : origin.x - image.cx;
        const int y = vertical ? origin.y + 2 : origin.y + 2;
        ImageList_Draw(record->Icons()->ImageList(), record->ImageIndex(), dc, x, y, ILD_TRANSPARENT);
    }
    // 7. Engraved lines.
    if ((bits & kTitleEngraved) != 0) {
        const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
        const COLORREF highlight = GetSysColor(COLOR_BTNHIGHLIGHT);
        if (vertical) {
            Draw3dRect(dc, r.left + 20, r.top + 5, 2, r.bottom - r.top - 10, shadow, highlight);
            Draw3dRect(dc, r.left + 23, r.top + 15, 2, r.bottom - r.top - 30, shadow, highlight);
        } else {
            Draw3dRect(dc, r.left + 2, r.bottom - 7, r.right - r.left - 4, 2, highlight, shadow);
            Draw3dRect(dc, r.left + 12, r.bottom - 4, r.right - r.left - 24, 2, shadow, highlight);
        }
    }
}
