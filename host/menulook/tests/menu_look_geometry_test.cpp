// Pure tables of the menu looks: colour arithmetic, the colour scheme per
// style code, gradients in bands, free timer ids, item measures, the image
// column's geometry, the popup painters' frame geometry and the soft
// shadow's darkening.
#include <gtest/gtest.h>

#include <string>

#include "host/menulook/menu_colors.h"
#include "host/menulook/menu_library.h"
#include "host/menulook/menu_painter.h"
#include "host/menulook/new_menu_paint.h"
#include "host/menulook/tests/menu_test_support.h"
#include "platform/user/input.h"

namespace {

class MenuLookGeometryTest : public MenuLookTest {};

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

TEST_F(MenuLookGeometryTest, ColourFunctionsWorkPerChannelWithRounding)
{
    struct Case {
        const char* name;
        COLORREF result;
        COLORREF expected;
    };
    const Case cases[] = {
        {"shade white", ShadeColor70(kWhite), RGB(179, 179, 217)},
        {"shade black keeps some blue", ShadeColor70(kBlack), RGB(0, 0, 39)},
        {"darken grey by 30", DarkenColorBy(30, RGB(128, 128, 128)), RGB(113, 113, 113)},
        {"darken by 0", DarkenColorBy(0, RGB(1, 2, 3)), RGB(1, 2, 3)},
        {"mix 86 of white", MixColor86(kWhite, kBlack), RGB(219, 219, 219)},
        {"mix 70 of white", MixColor70(kWhite, kBlack), RGB(179, 179, 179)},
        {"mix 70 channels apart", MixColor70(RGB(100, 0, 0), RGB(0, 0, 200)), RGB(70, 0, 60)},
        {"lighten black by 60", LightenColor(60, kBlack), RGB(60, 60, 60)},
        {"lighten white stays", LightenColor(100, kWhite), kWhite},
        {"add stops at 255", AddToColor(100, RGB(200, 10, 155)), RGB(255, 110, 255)},
        {"blend half", BlendColor(kBlack, kWhite, 128), RGB(127, 127, 127)},
        {"blend none of the second", BlendColor(RGB(200, 100, 0), kWhite, 0), RGB(199, 99, 0)},
        {"blend with -1", BlendColor(kBlack, static_cast<COLORREF>(-1), 50), static_cast<COLORREF>(-1)},
        {"grey", GrayColor(RGB(30, 60, 90)), RGB(60, 60, 60)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.result, c.expected);
    }
    EXPECT_TRUE(IsLightColor(RGB(129, 128, 128)));
    EXPECT_FALSE(IsLightColor(RGB(128, 128, 128)));
    EXPECT_EQ(MenuMulDiv(5, 1, 2), 3);
    EXPECT_EQ(MenuMulDiv(-5, 1, 2), -3);
    EXPECT_EQ(MenuMulDiv(1, 1, 0), -1);
}

TEST_F(MenuLookGeometryTest, TheSchemeFollowsTheStyleCodeAndTheSystemColours)
{
    const COLORREF menu = GetSysColor(COLOR_MENU);
    const COLORREF window10 = DarkenColorBy(10, GetSysColor(COLOR_WINDOW));
    struct Case {
        int code;
        COLORREF first;
        COLORREF second;
    };
    // No theme library: the warm codes mix the caption colour, the others
    // take the menu colour and a blend towards the window.
    const COLORREF warm = MixColor70(window10, GetSysColor(COLOR_ACTIVECAPTION));
    const Case cases[] = {
        {0, menu, BlendColor(menu, GetSysColor(COLOR_WINDOW), 220)},
        {8, menu, BlendColor(menu, GetSysColor(COLOR_WINDOW), 220)},
        {9, menu, BlendColor(menu, GetSysColor(COLOR_WINDOW), 220)},
        {10, warm, LightenColor(110, warm)},
        {11, warm, LightenColor(110, warm)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("style " + std::to_string(c.code));
        UseStyle(c.code);
        COLORREF first = 0;
        COLORREF second = 0;
        GetMenuColors(&first, &second, TRUE);
        EXPECT_EQ(first, c.first);
        EXPECT_EQ(second, c.second);
        EXPECT_EQ(GetMenuTextColor(), c.first);
    }
    // A system of the older style gives the menu colour for every code.
    MenuLibrary().osStyle = kOsStyleNt4;
    for (int code : {0, 8, 10}) {
        UseStyle(code);
        COLORREF first = 0;
        COLORREF second = 0;
        GetMenuColors(&first, &second, TRUE);
        EXPECT_EQ(first, menu);
        EXPECT_EQ(second, menu);
    }
    MenuLibrary().osStyle = GetOsStyle();
    EXPECT_FALSE(IsThemeActiveHook());
    EXPECT_EQ(ThemeGetThemeColor(nullptr, 1, 1, 3821, nullptr), 1);
    EXPECT_EQ(ThemeOpenThemeData(nullptr, "Window"), nullptr);
    EXPECT_EQ(GetMenuBarBkColor(nullptr), menu);
    EXPECT_EQ(GetMenuBkColor(nullptr), menu);
    EXPECT_EQ(GetMenuFaceColor(), GetSysColor(COLOR_3DFACE));
    // A menu's own background brush wins.
    CNewMenu own;
    ASSERT_TRUE(own.CreatePopupMenu());
    HBRUSH brush = CreateSolidBrush(RGB(10, 20, 30));
    MENUINFO info{};
    info.cbSize = sizeof info;
    info.fMask = MIM_BACKGROUND;
    info.hbrBack = brush;
    SetMenuInfo(own.GetSafeHmenu(), &info);
    EXPECT_EQ(GetMenuBkColor(own.GetSafeHmenu()), RGB(10, 20, 30));
    EXPECT_EQ(GetMenuBarBkColor(own.GetSafeHmenu()), RGB(10, 20, 30));
    DeleteObject(brush);
}

TEST_F(MenuLookGeometryTest, GradientsWithoutTheEntryPointFillBandsTwoPixelsThick)
{
    const GradientFillProc saved = MenuLibrary().gradientFill;
    MenuLibrary().gradientFill = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateBitmap(4, 10, 1, 32, nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    DrawGradient(dc, RECT{0, 0, 4, 10}, kBlack, kWhite, GradientDirection::Vertical, NearestColor::No);
    EXPECT_EQ(GetPixel(dc, 0, 0), kBlack);
    for (int y = 0; y < 10; y += 2) {
        SCOPED_TRACE(y);
        EXPECT_EQ(GetPixel(dc, 1, y), GetPixel(dc, 1, y + 1));
        const int expected = MenuMulDiv(255, y, 10);
        EXPECT_EQ(GetPixel(dc, 3, y), RGB(expected, expected, expected));
    }
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    MenuLibrary().gradientFill = saved;
    // With the entry point the gradient runs smoothly.
    EXPECT_NE(saved, nullptr);
}

TEST_F(MenuLookGeometryTest, UnusedTimersSkipIdsInUse)
{
    HWND window = CreateMenuOwnerWindow(RECT{0, 0, 50, 50});
    EXPECT_EQ(SetUnusedTimer(nullptr, 100), 0u);
    EXPECT_EQ(SetUnusedTimer(window, 100), 31u);
    EXPECT_EQ(SetUnusedTimer(window, 100), 32u);
    KillTimer(window, 31);
    EXPECT_EQ(SetUnusedTimer(window, 100), 31u);
    DestroyWindow(window);
}

TEST_F(MenuLookGeometryTest, ItemsMeasureByFamily)
{
    CNewMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    menu.AppendItem(MF_STRING, 1, "Plain");
    menu.AppendItem(MF_SEPARATOR, 0, nullptr);
    const CNewMenuItemData& plain = *menu.ItemRecords()[0];
    auto measure = [&](MenuMeasureRoutine routine, const CNewMenuItemData& record, BOOL bar) {
        MEASUREITEMSTRUCT item{ODT_MENU, 0, static_cast<UINT>(record.commandId), 0, 0,
                               reinterpret_cast<ULONG_PTR>(&record)};
        (menu.*routine)(&item, bar);
        return SIZE{static_cast<LONG>(item.itemWidth), static_cast<LONG>(item.itemHeight)};
    };
    ASSERT_EQ(GetSystemMetrics(SM_CYMENU), 19);
    EXPECT_EQ(measure(&CNewMenu::MeasureItemColumn, plain, FALSE).cy, 22);
    EXPECT_EQ(measure(&CNewMenu::MeasureItemClassic, plain, FALSE).cy, 19);
    EXPECT_EQ(measure(&CNewMenu::MeasureItemGradient, plain, FALSE).cy, 21);
    for (MenuMeasureRoutine routine : {&CNewMenu::MeasureItemColumn, &CNewMenu::MeasureItemClassic}) {
        const SIZE separator = measure(routine, *menu.ItemRecords()[1], FALSE);
        EXPECT_EQ(separator.cx, 3);
        EXPECT_EQ(separator.cy, 3);
    }
    // A bar text with a mnemonic: 6 narrower (column), half a check mark
    // narrower (classic) than the text's extent.
    CNewMenuItemData mnemonic;
    mnemonic.text = "&File";
    mnemonic.commandId = 2;
    CNewMenuItemData bare;
    bare.text = "&File";
    bare.commandId = 2;
    const LONG column = measure(&CNewMenu::MeasureItemColumn, mnemonic, TRUE).cx;
    const LONG classic = measure(&CNewMenu::MeasureItemClassic, mnemonic, TRUE).cx;
    EXPECT_EQ(classic - column, 6 - GetSystemMetrics(SM_CXMENUCHECK) / 2);
    // A larger icon raises the column item.
    menu.SetIconSize(16, 20);
    EXPECT_EQ(measure(&CNewMenu::MeasureItemColumn, plain, FALSE).cy, 27);
    // Vertical titles lose a check mark's width, except under the
    // compatibility layer.
    CNewMenuItemDataTitle title;
    title.text = "Title";
    title.flags = kOwnerDrawnSeparator;
    title.titleStyle = kTitleItem | kTitleVertical;
    const LONG native = measure(&CNewMenu::MeasureItemColumn, title, FALSE).cx;
    MenuLibrary().wine = TRUE;
    const LONG wine = measure(&CNewMenu::MeasureItemColumn, title, FALSE).cx;
    MenuLibrary().wine = FALSE;
    EXPECT_EQ(wine - native, GetSystemMetrics(SM_CXMENUCHECK));
}

TEST_F(MenuLookGeometryTest, TheClassicImageColumnSitsBesideTheText)
{
    CNewMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    menu.AppendItem(MF_STRING, 1, "Plain");
    DRAWITEMSTRUCT dis{ODT_MENU, 0, 1, ODA_DRAWENTIRE, 0, reinterpret_cast<HWND>(menu.GetSafeHmenu()), nullptr,
                       RECT{10, 40, 110, 59}, reinterpret_cast<ULONG_PTR>(menu.ItemRecords()[0].get())};
    ItemPaint p;
    ASSERT_TRUE(PrepareItemPaint(p, menu, &dis, FALSE));
    const ClassicGeometry g = ClassicLayout(p);
    auto same = [](const RECT& a, const RECT& b) { return EqualRect(&a, &b) != FALSE; };
    EXPECT_TRUE(same(g.column, RECT{11, 40, 35, 59}));
    EXPECT_TRUE(same(g.imageBox, RECT{15, 42, 31, 57}));
    EXPECT_TRUE(same(g.frameBox, RECT{13, 40, 33, 59}));
    EXPECT_TRUE(same(g.text, RECT{39, 40, 95, 59}));
    // A disabled item is never selected while selecting disabled items is off.
    dis.itemState = ODS_SELECTED | ODS_GRAYED;
    ASSERT_TRUE(PrepareItemPaint(p, menu, &dis, FALSE));
    EXPECT_TRUE(p.selected);
    CNewMenu::SetSelectDisabledItems(FALSE);
    ASSERT_TRUE(PrepareItemPaint(p, menu, &dis, FALSE));
    EXPECT_FALSE(p.selected);
    CNewMenu::SetSelectDisabledItems(TRUE);
}

TEST_F(MenuLookGeometryTest, PaintersFrameThePopupWithoutTheSystemShadow)
{
    CMenuLookPainter framed(0, 1, &CNewMenu::MeasureItemClassic, &CNewMenu::DrawItemClassic, &CNewMenu::DrawItemTitle);
    CMenuLookPainter plain(1, 0, &CNewMenu::MeasureItemClassic, &CNewMenu::DrawItemClassic, &CNewMenu::DrawItemTitle);
    ASSERT_FALSE(IsDropShadowEnabled());
    NCCALCSIZE_PARAMS params{};
    params.rgrc[0] = RECT{100, 100, 200, 300};
    framed.OnNcCalcSize(nullptr, &params);
    const RECT inset{102, 102, 195, 294};
    EXPECT_TRUE(EqualRect(&params.rgrc[0], &inset) != FALSE);
    params.rgrc[0] = RECT{100, 100, 200, 300};
    plain.OnNcCalcSize(nullptr, &params);
    EXPECT_EQ(params.rgrc[0].right, 200);
    WINDOWPOS pos{nullptr, nullptr, 10, 20, 100, 200, 0};
    EXPECT_TRUE(framed.OnWindowPosChanging(nullptr, &pos));
    EXPECT_EQ(pos.cx, 102);
    EXPECT_EQ(pos.cy, 202);
    EXPECT_EQ(pos.y, 19);
    EXPECT_FALSE(plain.OnWindowPosChanging(nullptr, &pos));
    HWND window = CreateMenuOwnerWindow(RECT{50, 60, 150, 260});
    RECT frame{};
    EXPECT_TRUE(framed.GetFrameRect(window, &frame));
    const RECT expected{52, 62, 150, 253};
    EXPECT_TRUE(EqualRect(&frame, &expected) != FALSE);
    DestroyWindow(window);
}

TEST_F(MenuLookGeometryTest, TheSoftShadowDarkensTheScreenUnderThePopup)
{
    UseStyle(0);
    HWND owner = CreateMenuOwnerWindow(RECT{0, 0, 300, 300});
    CNewMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    for (UINT id = 1; id <= 6; ++id) {
        menu.AppendItem(MF_STRING, id, ("Item " + std::to_string(id)).c_str());
    }
    CapturedPixels popup;
    RunPopup(menu.GetSafeHmenu(), owner, POINT{20, 20}, {[&] { popup = CaptureWindow(FindPopupWindow()); }});
    ASSERT_FALSE(popup.Empty());
    auto at = [&](int x, int y) {
        const uint32_t p = popup.pixels[static_cast<size_t>(y) * static_cast<size_t>(popup.width) + static_cast<size_t>(x)];
        return RGB(static_cast<BYTE>((p >> 16) & 0xFF), static_cast<BYTE>((p >> 8) & 0xFF), static_cast<BYTE>(p & 0xFF));
    };
    const int w = popup.width;
    const int h = popup.height;
    // The owner is white: the innermost shadow column darkens it by 120,
    // the outermost by 30; the top rows and left columns show it unchanged.
    EXPECT_EQ(at(w - 4, h / 2), DarkenColorBy(120, kWhite));
    EXPECT_EQ(at(w - 1, h / 2), DarkenColorBy(30, kWhite));
    EXPECT_EQ(at(w - 1, 1), kWhite);
    EXPECT_EQ(at(1, h - 1), kWhite);
    EXPECT_EQ(at(w / 2, h - 4), DarkenColorBy(120, kWhite));
    DestroyWindow(owner);
}

} // namespace
