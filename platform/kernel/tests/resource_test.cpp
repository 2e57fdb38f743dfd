// Resources compiled from a script into this program and into a module,
// found by type and id, and decoded into their records.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <set>

#include "platform/kernel/errors.h"
#include "platform/kernel/module.h"
#include "platform/kernel/resource.h"
#include "platform/kernel/tests/resources/test_ids.h"

namespace {

std::span<const uint8_t> Bytes(WORD type, WORD id)
{
    HRSRC resource = FindResourceA(nullptr, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(type));
    if (resource == nullptr) {
        ADD_FAILURE() << "no resource " << id << " of type " << type;
        return {};
    }
    const auto* data = static_cast<const uint8_t*>(LockResource(LoadResource(nullptr, resource)));
    return {data, SizeofResource(nullptr, resource)};
}

} // namespace

TEST(Resources, StringsByIdWithinTheBuffer)
{
    struct Case {
        UINT id;
        int size;
        const char* text;
        int length;
    };
    const Case kCases[] = {
        {IDS_TEST_FROM_HEADER, 64, "Command", 7},
        {IDS_TEST_FROM_HEADER, 4, "Com", 3},
        {IDS_TEST_FROM_HEADER, 1, "", 0},
        {20001, 64, "tab\there, quote \" and \\ backslash, \xE9", 36},
        {0, 64, "id zero", 7},
        {20002, 64, "", 0},
        {20003, 64, "", 0},
        {0x10000 + IDS_TEST_FROM_HEADER, 64, "", 0},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(std::to_string(c.id) + " in " + std::to_string(c.size));
        char buffer[65]; // one more than the largest size, to see what lies past it
        std::memset(buffer, 'x', sizeof buffer);
        EXPECT_EQ(LoadStringA(nullptr, c.id, buffer, c.size), c.length);
        EXPECT_STREQ(buffer, c.text);
        EXPECT_EQ(buffer[c.size], 'x') << "nothing written past the buffer";
    }
    char buffer[4] = "abc";
    EXPECT_EQ(LoadStringA(nullptr, IDS_TEST_FROM_HEADER, buffer, 0), 0);
    EXPECT_STREQ(buffer, "abc");
}

TEST(Resources, EachModuleHasItsOwnTable)
{
    HMODULE module = LoadLibraryA(KERNEL_TEST_MODULE_DIR "\\KernelTestModule.dll");
    ASSERT_NE(module, nullptr);
    char buffer[64];
    EXPECT_GT(LoadStringA(module, IDS_TEST_FROM_HEADER, buffer, sizeof buffer), 0);
    EXPECT_STREQ(buffer, "Command of the module");
    EXPECT_GT(LoadStringA(GetModuleHandleA(nullptr), IDS_TEST_FROM_HEADER, buffer, sizeof buffer), 0);
    EXPECT_STREQ(buffer, "Command");
    EXPECT_EQ(FindResourceA(module, MAKEINTRESOURCEA(IDR_TEST_MENU), RT_MENU), nullptr);
    FreeLibrary(module);
}

TEST(Resources, LookupByTypeAndId)
{
    EXPECT_NE(FindResourceA(nullptr, "#128", RT_MENU), nullptr);
    EXPECT_EQ(FindResourceA(nullptr, "#128", "#4"), FindResourceA(nullptr, MAKEINTRESOURCEA(128), RT_MENU));

    struct Case {
        const char* name;
        LPCSTR id;
        LPCSTR type;
        DWORD error;
    };
    const Case kCases[] = {
        {"unknown_id", MAKEINTRESOURCEA(129), RT_MENU, ERROR_RESOURCE_NAME_NOT_FOUND},
        {"unknown_type", MAKEINTRESOURCEA(128), MAKEINTRESOURCEA(77), ERROR_RESOURCE_TYPE_NOT_FOUND},
        {"text_name", "MAINMENU", RT_MENU, ERROR_RESOURCE_NAME_NOT_FOUND},
        {"bad_number", "#12x", RT_MENU, ERROR_RESOURCE_NAME_NOT_FOUND},
        {"too_big", "#65536", RT_MENU, ERROR_RESOURCE_NAME_NOT_FOUND},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        SetLastError(0);
        EXPECT_EQ(FindResourceA(nullptr, c.id, c.type), nullptr);
        EXPECT_EQ(GetLastError(), c.error);
    }
    int notAModule = 0;
    EXPECT_EQ(FindResourceA(reinterpret_cast<HMODULE>(&notAModule), MAKEINTRESOURCEA(128), RT_MENU), nullptr);

    const std::span<const uint8_t> data = Bytes(kResourceData, 300);
    EXPECT_NE(std::string(data.begin(), data.end()).find("#define IDR_TEST_MENU 128"), std::string::npos);
}

TEST(Resources, MenuTemplate)
{
    const std::optional<MenuTemplate> menu = DecodeMenuTemplate(Bytes(kResourceMenu, IDR_TEST_MENU));
    ASSERT_TRUE(menu.has_value());
    ASSERT_EQ(menu->items.size(), 2u);
    const MenuTemplateItem& file = menu->items[0];
    EXPECT_EQ(file.text, "&File");
    EXPECT_EQ(file.flags, kMenuPopup);
    ASSERT_EQ(file.children.size(), 4u);
    EXPECT_EQ(file.children[0].text, "&New\tCtrl+N");
    EXPECT_EQ(file.children[0].id, 57600u);
    EXPECT_EQ(file.children[1].flags, kMenuSeparator);
    ASSERT_EQ(file.children[2].children.size(), 1u);
    EXPECT_EQ(file.children[2].children[0].flags, kMenuGrayed);
    EXPECT_EQ(file.children[3].flags, kMenuChecked | kMenuRadioCheck);
    EXPECT_EQ(menu->items[1].flags, kMenuHelp);
    EXPECT_EQ(menu->items[1].id, 57670u);
}

TEST(Resources, AcceleratorTable)
{
    const std::span<const uint8_t> bytes = Bytes(kResourceAccelerator, 128);
    EXPECT_EQ(bytes.size(), 6u * 6u) << "6 bytes per entry";
    const std::optional<std::vector<AcceleratorEntry>> table = DecodeAccelerators(bytes);
    ASSERT_TRUE(table.has_value());
    const std::vector<AcceleratorEntry> kExpected = {
        {kAccelVirtualKey, 0x1B, 32773},
        {kAccelVirtualKey, 0x72, 32780},
        {kAccelVirtualKey | kAccelShift, 0x70, 57669},
        {kAccelVirtualKey | kAccelControl, 'N', 57600},
        {0, 3, 57634},
        {0, 'a', 40000},
    };
    EXPECT_EQ(*table, kExpected);
}

TEST(Resources, DialogTemplate)
{
    const std::optional<DialogTemplate> dialog = DecodeDialogTemplate(Bytes(kResourceDialog, IDD_TEST_DIALOG));
    ASSERT_TRUE(dialog.has_value());
    EXPECT_EQ(dialog->style, 0x80C80000u | 0x80u | 0x40u) << "FONT adds DS_SETFONT";
    EXPECT_EQ(dialog->caption, "Machine postprocessor settings");
    EXPECT_EQ(dialog->fontPointSize, 8);
    EXPECT_EQ(dialog->fontFace, "MS Sans Serif");
    EXPECT_EQ(dialog->cx, 200);
    EXPECT_EQ(dialog->cy, 120);
    ASSERT_EQ(dialog->items.size(), 5u);

    struct Expected {
        const char* className;
        const char* text;
        INT id;
        DWORD style;
        DWORD exStyle;
        SHORT x, y, cx, cy;
    };
    const Expected kItems[] = {
        {"STATIC", "Machine:", -1, 0x50020000, 0, 7, 7, 50, 8},
        {"COMBOBOX", "", 1000, 0x50010000 | 0x3 | 0x00200000, 0, 60, 5, 130, 80},
        {"msctls_trackbar32", "Slider", 1001, 0x50000010, 0x200, 7, 30, 100, 15},
        {"BUTTON", "OK", 1, 0x50010001, 0, 90, 100, 50, 14},
        {"BUTTON", "Cancel", 2, 0x50010000, 0, 143, 100, 50, 14},
    };
    for (size_t i = 0; i < std::size(kItems); ++i) {
        SCOPED_TRACE(kItems[i].text);
        const DialogItemTemplate& item = dialog->items[i];
        EXPECT_EQ(item.className, kItems[i].className);
        EXPECT_EQ(item.text, kItems[i].text);
        EXPECT_EQ(item.id, kItems[i].id);
        EXPECT_EQ(item.style, kItems[i].style);
        EXPECT_EQ(item.exStyle, kItems[i].exStyle);
        EXPECT_EQ((std::vector<SHORT>{item.x, item.y, item.cx, item.cy}),
                  (std::vector<SHORT>{kItems[i].x, kItems[i].y, kItems[i].cx, kItems[i].cy}));
    }
}

TEST(Resources, ToolbarAsWords)
{
    const std::span<const uint8_t> bytes = Bytes(kResourceToolbar, 128);
    const std::vector<uint8_t> kWords = {1, 0, 16, 0, 15, 0, 3, 0, 0x00, 0xE1, 0, 0, 0x05, 0x80};
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.end()), kWords);
    const std::optional<ToolbarTemplate> toolbar = DecodeToolbarTemplate(bytes);
    ASSERT_TRUE(toolbar.has_value());
    EXPECT_EQ(toolbar->items, (std::vector<WORD>{57600, 0, 32773}));
}

TEST(Resources, ImagesFromPng)
{
    const std::span<const uint8_t> bytes = Bytes(kResourceBitmap, 6017);
    ASSERT_EQ(bytes.size(), kBitmapInfoHeaderSize + 3 * 2 * 4);
    // The header as bitmap readers look at it: size, width, height, planes, bits.
    EXPECT_EQ(bytes[0], 40);
    EXPECT_EQ(bytes[4], 3);
    EXPECT_EQ(bytes[8], 2);
    EXPECT_EQ(bytes[12], 1);
    EXPECT_EQ(bytes[14], 32);
    // Rows run bottom-up: the first stored pixel is the lower left one (white).
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + 40, bytes.begin() + 44), (std::vector<uint8_t>{255, 255, 255, 255}));

    const std::optional<ImagePixels> image = DecodeBitmap(bytes);
    ASSERT_TRUE(image.has_value());
    EXPECT_EQ(image->width, 3);
    EXPECT_EQ(image->height, 2);
    const std::vector<uint8_t> kTopDown = {
        0, 0, 255, 255, 0, 255, 0, 255, 255, 0, 0, 255,        // red, green, blue
        255, 255, 255, 255, 0, 0, 0, 255, 128, 128, 128, 128,  // white, black, translucent grey
    };
    EXPECT_EQ(image->bgra, kTopDown);

    const std::optional<CursorImage> cursor = DecodeCursor(Bytes(kResourceCursor, 146));
    ASSERT_TRUE(cursor.has_value());
    EXPECT_EQ(cursor->hotSpotX, 2);
    EXPECT_EQ(cursor->hotSpotY, 1);
    EXPECT_EQ(cursor->image.bgra, kTopDown);
    EXPECT_TRUE(DecodeBitmap(Bytes(kResourceIcon, 200)).has_value());
}

TEST(Resources, DecodersRefuseEveryTruncation)
{
    struct Case {
        const char* name;
        WORD type;
        WORD id;
        bool (*decodes)(std::span<const uint8_t>);
    };
    const Case kCases[] = {
        {"menu", kResourceMenu, IDR_TEST_MENU, [](std::span<const uint8_t> b) { return DecodeMenuTemplate(b).has_value(); }},
        {"dialog", kResourceDialog, IDD_TEST_DIALOG,
         [](std::span<const uint8_t> b) { return DecodeDialogTemplate(b).has_value(); }},
        {"toolbar", kResourceToolbar, 128, [](std::span<const uint8_t> b) { return DecodeToolbarTemplate(b).has_value(); }},
        {"bitmap", kResourceBitmap, 6017, [](std::span<const uint8_t> b) { return DecodeBitmap(b).has_value(); }},
        {"cursor", kResourceCursor, 146, [](std::span<const uint8_t> b) { return DecodeCursor(b).has_value(); }},
        {"accelerators", kResourceAccelerator, 128,
         [](std::span<const uint8_t> b) { return b.size() % 6 != 0 && DecodeAccelerators(b).has_value(); }},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        const std::span<const uint8_t> bytes = Bytes(c.type, c.id);
        ASSERT_FALSE(bytes.empty());
        // Each prefix is copied, so that a read past its end is caught.
        for (size_t length = 0; length < bytes.size(); ++length) {
            const std::vector<uint8_t> prefix(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(length));
            EXPECT_FALSE(c.decodes(prefix)) << "prefix of " << length << " bytes";
        }
        std::vector<uint8_t> longer(bytes.begin(), bytes.end());
        longer.push_back(0);
        EXPECT_FALSE(c.decodes(longer)) << "trailing byte";
    }
    // A popup nesting deeper than any menu is refused, not followed.
    std::vector<uint8_t> deep;
    for (int i = 0; i < 1000; ++i) {
        deep.insert(deep.end(), {1, 0, kMenuPopup, 0, 0, 0, 0, 0, 0, 0});
    }
    EXPECT_FALSE(DecodeMenuTemplate(deep).has_value());
}

TEST(ResourceCompiler, ReportsEveryBadLine)
{
    const std::string command = std::string(NUVEX_RESCOMP) + " " + KERNEL_TEST_RESOURCE_DIR +
                                "/bad/errors.nrc /dev/null 2>&1";
    FILE* pipe = ::popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string output;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) {
        output += buffer;
    }
    const int status = ::pclose(pipe);
    EXPECT_NE(status, 0);
    std::set<int> lines;
    size_t pos = 0;
    const std::string marker = "errors.nrc:";
    while ((pos = output.find(marker, pos)) != std::string::npos) {
        pos += marker.size();
        lines.insert(std::atoi(output.c_str() + pos));
    }
    EXPECT_EQ(lines, (std::set<int>{3, 6, 8, 10, 11, 13, 15})) << output;
}
