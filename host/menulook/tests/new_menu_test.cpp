// Owner-drawn menu items: records in step with the platform menu, owner-
// drawn separators, insertion by position, tool-bar images by command and
// bitmap images shared between menus.
#include <gtest/gtest.h>

#include "host/menulook/new_menu.h"
#include "platform/gdi/gdi.h"
#include "platform/kernel/resource.h"

namespace {

// A 16 x 15 image per button, each button filled with its own blue value.
ImagePixels Strip(int buttons)
{
    ImagePixels strip;
    strip.width = 16 * buttons;
    strip.height = 15;
    strip.bgra.resize(static_cast<size_t>(strip.width) * 15 * 4);
    for (LONG y = 0; y < 15; ++y) {
        for (LONG x = 0; x < strip.width; ++x) {
            uint8_t* p = &strip.bgra[(static_cast<size_t>(y) * static_cast<size_t>(strip.width) + static_cast<size_t>(x)) * 4];
            p[0] = static_cast<uint8_t>(10 + 40 * (x / 16));
            p[3] = 255;
        }
    }
    return strip;
}

// Tool bar 128: File New, a separator, Accept, File Save; tool bar 129 has
// no bitmap.
struct ToolBarResources {
    ToolBarResources()
    {
        ToolbarTemplate toolBar;
        toolBar.width = 16;
        toolBar.height = 15;
        toolBar.items = {57600, 0, 40000, 57603};
        toolBarBytes = EncodeToolbarTemplate(toolBar);
        bitmapBytes = EncodeBitmap(Strip(3));
        entries[0] = {kResourceToolbar, 128, toolBarBytes.data(), static_cast<DWORD>(toolBarBytes.size())};
        entries[1] = {kResourceBitmap, 128, bitmapBytes.data(), static_cast<DWORD>(bitmapBytes.size())};
        entries[2] = {kResourceToolbar, 129, toolBarBytes.data(), static_cast<DWORD>(toolBarBytes.size())};
        // The anchor says which module the table belongs to: this test
        // program, as the generated resource files of a module do.
        RegisterModuleResources(reinterpret_cast<const void*>(&Strip), entries, 3);
    }
    ~ToolBarResources() { UnregisterModuleResources(entries); }
    std::vector<uint8_t> toolBarBytes;
    std::vector<uint8_t> bitmapBytes;
    ResourceEntry entries[3];
};

ULONG_PTR ItemData(HMENU menu, UINT position)
{
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_DATA;
    EXPECT_TRUE(GetMenuItemInfoA(menu, position, TRUE, &info));
    return info.dwItemData;
}

TEST(NewMenuTest, ItemsAreOwnerDrawnWithTheirRecordsInPositionOrder)
{
    CNewMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    EXPECT_TRUE(menu.InsertItem(0, MF_STRING | MF_BYPOSITION, 40000, "Accept"));
    EXPECT_TRUE(menu.AppendItem(MF_STRING, 0, nullptr));
    EXPECT_TRUE(menu.InsertItem(static_cast<UINT>(-1), MF_STRING | MF_BYPOSITION, 32777, "Zoom all"));
    EXPECT_TRUE(menu.InsertItem(1, MF_STRING | MF_BYPOSITION, 32773, "Cancel"));
    // By command: before the item of command 32777.
    EXPECT_TRUE(menu.InsertItem(32777, MF_STRING, 57643, "Undo"));
    EXPECT_FALSE(menu.InsertItem(99, MF_STRING, 57644, "Redo"));

    const HMENU handle = menu.GetSafeHmenu();
    const auto& records = menu.ItemRecords();
    const UINT ids[] = {40000, 32773, 0, 57643, 32777};
    ASSERT_EQ(menu.GetMenuItemCount(), 5);
    ASSERT_EQ(records.size(), 5u);
    for (UINT i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(records[i]->commandId, ids[i]);
        EXPECT_EQ(ItemData(handle, i), reinterpret_cast<ULONG_PTR>(records[i].get()));
        EXPECT_NE(GetMenuState(handle, i, MF_BYPOSITION) & MF_OWNERDRAW, 0u);
    }
    EXPECT_EQ(records[2]->flags, kOwnerDrawnSeparator);
    EXPECT_NE(GetMenuState(handle, 2, MF_BYPOSITION) & MF_SEPARATOR, 0u);
    EXPECT_EQ(records[0]->text, "Accept");
    EXPECT_EQ(records[3]->text, "Undo");

    // Rebuilt from empty, as the view does on every right click.
    menu.DestroyMenu();
    EXPECT_FALSE(IsMenu(handle));
    EXPECT_TRUE(menu.ItemRecords().empty());
    ASSERT_TRUE(menu.CreatePopupMenu());
    EXPECT_EQ(menu.GetMenuItemCount(), 0);
}

TEST(NewMenuTest, AToolBarGivesItsImagesToTheItemsOfItsCommands)
{
    ToolBarResources resources;
    CNewMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    menu.AppendItem(MF_STRING, 57603, "Save");
    menu.AppendItem(MF_STRING, 32777, "Zoom all");
    menu.AppendItem(MF_STRING, 40000, "Accept");
    ASSERT_TRUE(menu.LoadToolBar(128));
    const auto& records = menu.ItemRecords();
    // The separator takes no image: the third button has index 6.
    EXPECT_EQ(records[0]->ImageIndex(), 6);
    EXPECT_EQ(records[1]->ImageIndex(), -1);
    EXPECT_EQ(records[2]->ImageIndex(), 3);
    ASSERT_NE(records[2]->Icons(), nullptr);
    const ImagePixels& accept = records[2]->Icons()->Image(3);
    EXPECT_EQ(accept.width, 16);
    EXPECT_EQ(accept.bgra[0], 50);
    EXPECT_EQ(records[0]->Icons()->Image(6).bgra[0], 90);
    // The faded copy is darker.
    EXPECT_LT(records[2]->Icons()->Image(4).bgra[0], 50);
    // A second menu shares the set.
    CNewMenu other;
    ASSERT_TRUE(other.CreatePopupMenu());
    other.AppendItem(MF_STRING, 57600, "New");
    ASSERT_TRUE(other.LoadToolBar(128));
    EXPECT_EQ(other.ItemRecords()[0]->Icons(), records[0]->Icons());
    EXPECT_EQ(other.ItemRecords()[0]->ImageIndex(), 0);

    EXPECT_FALSE(menu.LoadToolBar(129));
    EXPECT_FALSE(menu.LoadToolBar(4711));
}

TEST(NewMenuTest, BitmapsAreCopiedIntoSharedImagesThatGoWithTheirLastItem)
{
    const size_t before = CNewMenuIcons::GlobalCount();
    uint32_t pixels[16 * 16];
    for (uint32_t& p : pixels) {
        p = 0xFF3060A0;
    }
    HBITMAP bitmap = CreateBitmap(16, 16, 1, 32, pixels);
    ASSERT_NE(bitmap, nullptr);
    {
        CNewMenu first;
        CNewMenu second;
        ASSERT_TRUE(first.CreatePopupMenu());
        ASSERT_TRUE(second.CreatePopupMenu());
        EXPECT_TRUE(first.InsertItem(0, MF_STRING | MF_BYPOSITION, 40000, "Accept", bitmap));
        // The menu keeps a copy: the caller's bitmap may go.
        DeleteObject(bitmap);
        bitmap = CreateBitmap(16, 16, 1, 32, pixels);
        EXPECT_TRUE(second.AppendItem(MF_STRING, 40000, "Accept", bitmap));
        const CNewMenuItemData& a = *first.ItemRecords()[0];
        const CNewMenuItemData& b = *second.ItemRecords()[0];
        ASSERT_NE(a.Icons(), nullptr);
        EXPECT_EQ(a.Icons(), b.Icons());
        EXPECT_EQ(a.ImageIndex(), b.ImageIndex());
        EXPECT_EQ(a.Icons()->Image(a.ImageIndex()).bgra[2], 0x30);
        EXPECT_EQ(CNewMenuIcons::GlobalCount(), before + 1);
        // A null bitmap gives an item without image.
        EXPECT_TRUE(second.AppendItem(MF_STRING, 40001, "Repeat", static_cast<HBITMAP>(nullptr)));
        EXPECT_EQ(second.ItemRecords()[1]->ImageIndex(), -1);
    }
    EXPECT_EQ(CNewMenuIcons::GlobalCount(), before);
    DeleteObject(bitmap);
}

} // namespace
