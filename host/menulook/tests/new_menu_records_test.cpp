// The records of owner-drawn menus stay one per position through every
// item operation (duplicate command ids included), loaded menus convert
// with their submenus, lookups, titles, mnemonics, accelerator texts, the
// choice of look and the image options.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "host/menulook/menu_library.h"
#include "host/menulook/tests/menu_test_support.h"
#include "platform/framework/menu.h"
#include "platform/kernel/tickcount.h"
#include "platform/user/keyboard.h"

namespace {

class NewMenuRecordsTest : public MenuLookTest {};

ULONG_PTR ItemData(HMENU menu, UINT position)
{
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_DATA;
    return GetMenuItemInfoA(menu, position, TRUE, &info) != FALSE ? info.dwItemData : 0;
}

// One record per position, each item's data the record at its position,
// every item owner-drawn, and the record's id the item's.
void ExpectInStep(const CNewMenu& menu)
{
    const HMENU handle = menu.GetSafeHmenu();
    const auto& records = menu.ItemRecords();
    ASSERT_EQ(static_cast<size_t>(GetMenuItemCount(handle)), records.size());
    for (UINT i = 0; i < records.size(); ++i) {
        SCOPED_TRACE("position " + std::to_string(i));
        EXPECT_EQ(ItemData(handle, i), reinterpret_cast<ULONG_PTR>(records[i].get()));
        // The type, not GetMenuState: for a submenu item the state's bits 8
        // to 15 hold the submenu's item count.
        MENUITEMINFOA type{};
        type.cbSize = sizeof type;
        type.fMask = MIIM_TYPE;
        ASSERT_TRUE(GetMenuItemInfoA(handle, i, TRUE, &type));
        EXPECT_NE(type.fType & MFT_OWNERDRAW, 0u);
        HMENU submenu = GetSubMenu(handle, static_cast<int>(i));
        if (submenu != nullptr) {
            EXPECT_EQ(records[i]->commandId, reinterpret_cast<UINT_PTR>(submenu));
        } else if ((records[i]->flags & MF_SEPARATOR) == 0) {
            EXPECT_EQ(records[i]->commandId, GetMenuItemID(handle, static_cast<int>(i)));
        }
    }
}

TEST_F(NewMenuRecordsTest, RandomItemOperationsKeepOneRecordPerPosition)
{
    const unsigned seed = 20261210;
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    CNewMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    // Few ids, so that they repeat.
    auto id = [&] { return static_cast<UINT>(100 + random() % 4); };
    for (int step = 0; step < 400; ++step) {
        const int count = menu.GetMenuItemCount();
        const UINT position = count > 0 ? static_cast<UINT>(random() % static_cast<unsigned>(count)) : 0;
        const std::string text = "item " + std::to_string(step);
        const unsigned operation = random() % 9;
        SCOPED_TRACE("operation " + std::to_string(operation));
        switch (operation) {
        case 0: menu.AppendItem(MF_STRING, id(), text.c_str()); break;
        case 1: menu.AppendItem(MF_SEPARATOR, 0, nullptr); break;
        case 2: menu.InsertItem(position, MF_STRING | MF_BYPOSITION, id(), text.c_str()); break;
        case 3: menu.InsertItem(id(), MF_STRING, id(), text.c_str()); break;
        case 4: menu.ModifyODMenu(text.c_str(), id(), static_cast<CNewMenuIcons*>(nullptr), -1); break;
        case 5: {
            // A removed submenu is the caller's: this test deletes it.
            HMENU submenu = GetSubMenu(menu.GetSafeHmenu(), static_cast<int>(position));
            menu.RemoveMenu(position, MF_BYPOSITION);
            delete dynamic_cast<CNewMenu*>(CMenu::FromHandlePermanent(submenu));
            break;
        }
        case 6: menu.DeleteMenu(position, MF_BYPOSITION); break;
        case 7: menu.RemoveMenu(id(), MF_BYCOMMAND); break;
        case 8:
            if (CNewMenu* popup = menu.AppendPopup(text.c_str())) {
                popup->AppendItem(MF_STRING, id(), "inner");
            }
            break;
        }
        ExpectInStep(menu);
        if (HasFailure()) {
            FAIL() << "after step " << step;
        }
    }
}

TEST_F(NewMenuRecordsTest, RemovingAPositionTakesThatPositionsRecordWhenAnIdRepeats)
{
    for (const bool deleting : {false, true}) {
        SCOPED_TRACE(deleting ? "DeleteMenu" : "RemoveMenu");
        CNewMenu menu;
        ASSERT_TRUE(menu.CreatePopupMenu());
        menu.AppendItem(MF_STRING, 7, "first");
        menu.AppendItem(MF_STRING, 8, "other");
        menu.AppendItem(MF_STRING, 7, "second");
        if (deleting) {
            ASSERT_TRUE(menu.DeleteMenu(2, MF_BYPOSITION));
        } else {
            ASSERT_TRUE(menu.RemoveMenu(2, MF_BYPOSITION));
        }
        ExpectInStep(menu);
        ASSERT_EQ(menu.ItemRecords().size(), 2u);
        EXPECT_EQ(menu.ItemRecords()[0]->text, "first");
        EXPECT_EQ(menu.ItemRecords()[1]->text, "other");
        // By command: the first position with the id goes.
        ASSERT_TRUE(deleting ? menu.DeleteMenu(7, MF_BYCOMMAND) : menu.RemoveMenu(7, MF_BYCOMMAND));
        ExpectInStep(menu);
        ASSERT_EQ(menu.ItemRecords().size(), 1u);
        EXPECT_EQ(menu.ItemRecords()[0]->text, "other");
    }
}

TEST_F(NewMenuRecordsTest, LoadedMenusConvertWithTheirSubmenus)
{
    HMENU bar = CreateMenu();
    HMENU file = CreatePopupMenu();
    AppendMenuA(file, MF_STRING, kCmdNew, "&New");
    AppendMenuA(file, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(file, MF_STRING | MF_CHECKED, kCmdSave, "&Save");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "&File");
    AppendMenuA(bar, MF_STRING, 300, "&Help");
    CNewMenu menu;
    ASSERT_TRUE(menu.LoadMenu(bar));
    EXPECT_FALSE(menu.IsPopup());
    ExpectInStep(menu);
    auto* fileMenu = dynamic_cast<CNewMenu*>(CMenu::FromHandlePermanent(file));
    ASSERT_NE(fileMenu, nullptr);
    EXPECT_TRUE(fileMenu->IsPopup());
    EXPECT_EQ(fileMenu->GetParentMenu(), bar);
    ExpectInStep(*fileMenu);
    EXPECT_EQ(menu.ItemRecords()[0]->text, "&File");
    EXPECT_EQ(fileMenu->ItemRecords()[2]->text, "&Save");
    // The state survives the conversion.
    EXPECT_NE(GetMenuState(file, 2, MF_BYPOSITION) & MF_CHECKED, 0u);
    // Converting again keeps the same records.
    const CNewMenuItemData* before = fileMenu->ItemRecords()[0].get();
    fileMenu->UpdateMenu();
    EXPECT_EQ(fileMenu->ItemRecords()[0].get(), before);
    // Lookups by command reach the submenu.
    int at = -1;
    EXPECT_EQ(menu.FindMenuItemOwner(kCmdSave, &at), fileMenu);
    EXPECT_EQ(at, 2);
    EXPECT_EQ(menu.FindItemRecord(kCmdSave), fileMenu->ItemRecords()[2].get());
    EXPECT_EQ(GetCNewMenuFromHandle(bar, kCmdSave), fileMenu);
    // A handle that is no menu is refused.
    CNewMenu other;
    EXPECT_FALSE(other.LoadMenu(static_cast<HMENU>(nullptr)));
}

TEST_F(NewMenuRecordsTest, ItemOperationsAddWhatTheFlagsSay)
{
    CNewMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    menu.AppendItem(MF_STRING, 0, nullptr);
    EXPECT_EQ(menu.ItemRecords()[0]->flags, 0x900u);
    menu.AppendItem(MF_STRING | MF_BYPOSITION, 0, nullptr);
    EXPECT_EQ(menu.ItemRecords()[1]->flags, 0xD00u);
    menu.InsertItem(static_cast<UINT>(-1), MF_STRING | MF_BYPOSITION, 5, "last");
    EXPECT_EQ(menu.ItemRecords()[2]->text, "last");
    EXPECT_EQ(GetMenuItemID(menu.GetSafeHmenu(), 2), 5u);
    // Text and item data.
    EXPECT_TRUE(menu.SetMenuText(2, "changed"));
    EXPECT_EQ(menu.ItemRecords()[2]->text, "changed");
    EXPECT_TRUE(menu.SetItemData(2, 1234));
    EXPECT_EQ(menu.GetItemData(2), 1234u);
    EXPECT_EQ(menu.GetItemData(9), static_cast<uint32_t>(-1));
    EXPECT_TRUE(menu.ChangeCommandId(5, 6));
    EXPECT_EQ(GetMenuItemID(menu.GetSafeHmenu(), 2), 6u);
    EXPECT_EQ(menu.ItemRecords()[2]->commandId, 6u);
    EXPECT_FALSE(menu.SetMenuText(7, "nowhere"));
    ExpectInStep(menu);
}

TEST_F(NewMenuRecordsTest, ChangingAnItemsImageOrTextKeepsItsCurrentState)
{
    CNewMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    menu.AppendItem(MF_STRING, kCmdSave, "Save");
    menu.AppendItem(MF_STRING, kCmdCut, "Cut");
    // Set after the records were made, as the command-UI update does.
    CheckMenuItem(menu.GetSafeHmenu(), kCmdSave, MF_BYCOMMAND | MF_CHECKED);
    EnableMenuItem(menu.GetSafeHmenu(), kCmdCut, MF_BYCOMMAND | MF_GRAYED);
    ASSERT_TRUE(menu.LoadToolBar(kToolBarId));
    ASSERT_TRUE(menu.ModifyODMenu("Cut here", kCmdCut, static_cast<CNewMenuIcons*>(nullptr), -1));
    EXPECT_NE(GetMenuState(menu.GetSafeHmenu(), kCmdSave, MF_BYCOMMAND) & MF_CHECKED, 0u);
    EXPECT_NE(GetMenuState(menu.GetSafeHmenu(), kCmdCut, MF_BYCOMMAND) & MF_GRAYED, 0u);
    EXPECT_EQ(menu.ItemRecords()[1]->text, "Cut here");
    // A command the menu lacks gets no record.
    EXPECT_FALSE(menu.ModifyODMenu("Print", kCmdPrint, static_cast<CNewMenuIcons*>(nullptr), -1));
    EXPECT_EQ(menu.ItemRecords().size(), 2u);
    ExpectInStep(menu);
}

TEST_F(NewMenuRecordsTest, LookupsByText)
{
    CNewMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    menu.AppendItem(MF_STRING, 1, "Plain");
    CNewMenu* tools = menu.AppendPopup("Tools");
    menu.AppendItem(MF_STRING, 2, "tools");
    menu.AppendItem(MF_STRING, 3, "Tools");
    ASSERT_NE(tools, nullptr);
    EXPECT_EQ(menu.FindSubMenuByText("Tools")->GetSafeHmenu(), tools->GetSafeHmenu());
    EXPECT_EQ(menu.FindSubMenuByText("TOOLS"), nullptr);
    // The first matching text decides, even when it opens no submenu.
    EXPECT_EQ(menu.FindSubMenuByText("Plain"), nullptr);
    EXPECT_EQ(menu.FindItemByData("tools"), 2);
    EXPECT_EQ(menu.FindItemByData("absent"), -1);
}

TEST_F(NewMenuRecordsTest, RemovingByTextTakesTheNamedNeighbour)
{
    struct Case {
        const char* name;
        int mode;
        std::vector<std::string> left;
    };
    const Case cases[] = {
        {"the item", 0, {"a", "c", "d"}},
        {"before", 1, {"b", "c", "d"}},
        {"after", 2, {"a", "b", "d"}},
        {"after then before", 3, {"b", "d"}},
        {"only found", 7, {"a", "b", "c", "d"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CNewMenu menu;
        ASSERT_TRUE(menu.CreatePopupMenu());
        for (const char* text : {"a", "b", "c", "d"}) {
            menu.AppendItem(MF_STRING, 10, text);
        }
        EXPECT_EQ(menu.RemoveMenuByText("b", c.mode), 1);
        std::vector<std::string> left;
        for (const auto& record : menu.ItemRecords()) {
            left.push_back(record->text);
        }
        EXPECT_EQ(left, c.left);
        ExpectInStep(menu);
    }
}

TEST_F(NewMenuRecordsTest, TitlesTakeTheFirstPositionAndAColumnWhenVertical)
{
    CNewMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    menu.AppendItem(MF_STRING, 1, "One");
    menu.AppendItem(MF_STRING, 2, "Two");
    ASSERT_TRUE(menu.SetMenuTitle("Title", kTitleVertical));
    ASSERT_NE(menu.GetMenuTitle(), nullptr);
    EXPECT_EQ(menu.GetMenuTitle()->titleStyle, kTitleVertical | kTitleItem);
    EXPECT_NE(GetMenuState(menu.GetSafeHmenu(), 1, MF_BYPOSITION) & MF_MENUBREAK, 0u);
    ExpectInStep(menu);
    EXPECT_TRUE(menu.SetMenuTitleColors(RGB(1, 2, 3), kDefaultColor, kDefaultColor));
    EXPECT_EQ(menu.GetMenuTitle()->textColor, RGB(1, 2, 3));
    // Horizontal again: the column break goes.
    ASSERT_TRUE(menu.SetMenuTitle("Title", 0));
    EXPECT_EQ(GetMenuState(menu.GetSafeHmenu(), 1, MF_BYPOSITION) & MF_MENUBREAK, 0u);
    ASSERT_TRUE(menu.RemoveMenuTitle());
    EXPECT_EQ(menu.GetMenuTitle(), nullptr);
    EXPECT_EQ(menu.GetMenuItemCount(), 2);
    EXPECT_FALSE(menu.RemoveMenuTitle());
    ExpectInStep(menu);
}

TEST_F(NewMenuRecordsTest, MnemonicsMatchTheLetterAfterAnAmpersandInAnyCase)
{
    CNewMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    menu.AppendItem(MF_STRING, 1, "Plain File");
    menu.AppendItem(MF_STRING, 2, "&Open");
    menu.AppendItem(MF_STRING, 3, "Print &Fast");
    struct Case {
        UINT character;
        LRESULT answer;
    };
    const Case cases[] = {{'f', MAKELRESULT(2, MNC_EXECUTE)}, {'F', MAKELRESULT(2, MNC_EXECUTE)},
                          {'o', MAKELRESULT(1, MNC_EXECUTE)}, {'p', 0}, {'x', 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<char>(c.character));
        EXPECT_EQ(HookMenuPopup(c.character, MF_POPUP, &menu), c.answer);
    }
    CMenu plain;
    plain.CreatePopupMenu();
    plain.AppendMenu(MF_STRING, 1, "&Open");
    EXPECT_EQ(HookMenuPopup('o', MF_POPUP, &plain), 0);
}

TEST_F(NewMenuRecordsTest, DisplayTextsCarryTheAcceleratorsOfTheTable)
{
    const ACCEL keys[] = {
        {FVIRTKEY | FCONTROL, 'N', 10},
        {FVIRTKEY | FALT | FSHIFT, VK_F4, 11},
        {FVIRTKEY, VK_DELETE, 11},
        {0, 'q', 12},
    };
    HACCEL table = CreateAcceleratorTableA(keys, 4);
    struct Case {
        const char* name;
        UINT id;
        const char* text;
        UINT flags;
        std::string shown;
    };
    const Case cases[] = {
        {"control letter", 10, "&New", 0, "&New\tCtrl+N"},
        {"two keys", 11, "Close", 0, "Close\tAlt+Shift+F4, Delete"},
        {"character", 12, "Quit", 0, "Quit\tq"},
        {"no key", 13, "None", 0, "None"},
        {"own tab", 10, "New\tF2", 0, "New\tF2"},
        {"popup", 10, "File", MF_POPUP, "File"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CNewMenuItemData data;
        data.text = c.text;
        data.commandId = c.id;
        data.flags = c.flags;
        EXPECT_EQ(data.GetString(table), c.shown);
    }
    // Without a table a text is cut at its tab.
    CNewMenuItemData tabbed;
    tabbed.text = "New\tF2";
    EXPECT_EQ(tabbed.GetString(nullptr), "New");
    DestroyAcceleratorTable(table);
}

TEST_F(NewMenuRecordsTest, TheDrawModeSelectsAPainterAndAnswersThePreviousCode)
{
    EXPECT_NE(CNewMenu::SetMenuDrawMode(8), -1);
    EXPECT_EQ(CNewMenu::SetMenuDrawMode(3), 8);
    EXPECT_EQ(CNewMenu::GetMenuDrawMode(), 3);
    EXPECT_EQ(CNewMenu::SetMenuDrawMode(12), -1);
    EXPECT_EQ(CNewMenu::GetMenuDrawMode(), 3);
    // Under the compatibility layer even codes become the odd one after.
    MenuLibrary().wine = TRUE;
    EXPECT_EQ(CNewMenu::SetMenuDrawMode(8), 3);
    EXPECT_EQ(CNewMenu::GetMenuDrawMode(), 9);
    MenuLibrary().wine = FALSE;
    {
        CMenuOptionScope scope(CMenuOptionScope::StyleOnly::Yes, 4);
        EXPECT_EQ(CNewMenu::GetMenuDrawMode(), 4);
    }
    EXPECT_EQ(CNewMenu::GetMenuDrawMode(), 9);
    {
        CMenuOptionScope scope(kOptionScopeStyle);
        EXPECT_EQ(MenuLibrary().optionWord, kOptionScopeStyle);
    }
    EXPECT_EQ(MenuLibrary().optionWord, 0u);
}

TEST_F(NewMenuRecordsTest, CheckImagesNeedBothIdsAndRefreshesAreRateLimited)
{
    CNewMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    EXPECT_FALSE(menu.SetCheckImages(0, 5));
    EXPECT_EQ(menu.CheckImages(), nullptr);
    EXPECT_EQ(menu.CheckImageId(), -1);
    // The tool bar's bitmap serves as check image too.
    EXPECT_TRUE(menu.SetCheckImages(kToolBarId, kToolBarId));
    EXPECT_NE(menu.CheckImages(), nullptr);

    DWORD now = 100000;
    ScopedTickSource clock([&] { return now; });
    MenuLibrary().cacheRefreshed = false;
    CNewMenu::RefreshMenuCaches();
    EXPECT_EQ(MenuLibrary().lastCacheRefresh, 100000u);
    now += 1500;
    CNewMenu::RefreshMenuCaches();
    EXPECT_EQ(MenuLibrary().lastCacheRefresh, 100000u);
    now += 600;
    CNewMenu::RefreshMenuCaches();
    EXPECT_EQ(MenuLibrary().lastCacheRefresh, 102100u);
}

TEST_F(NewMenuRecordsTest, AResourceIdThatNamesNoToolBarButtonIsABitmap)
{
    CNewMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    // The tool bar holds the command: its image.
    ASSERT_TRUE(menu.AppendItem(MF_STRING, kCmdSave, "Save", MenuImageResource{kToolBarId}));
    EXPECT_EQ(menu.ItemRecords()[0]->ImageIndex(), 6);
    EXPECT_FALSE(menu.ItemRecords()[0]->Icons()->IsBitmapSet());
    // It does not: the bitmap of that id, as one loose image.
    ASSERT_TRUE(menu.AppendItem(MF_STRING, 4711, "Other", MenuImageResource{kToolBarId}));
    ASSERT_NE(menu.ItemRecords()[1]->Icons(), nullptr);
    EXPECT_TRUE(menu.ItemRecords()[1]->Icons()->IsBitmapSet());
    EXPECT_EQ(menu.ItemRecords()[1]->ImageIndex(), 0);
    ExpectInStep(menu);
}

} // namespace
