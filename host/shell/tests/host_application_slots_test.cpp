// The host application object's operations on the add-in host's tables,
// without a main frame: their results for good and bad arguments.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "host/shell/addin_host.h"
#include "host/shell/host_application.h"
#include "platform/user/menu.h"
#include "platform/user/inspect.h"

namespace {

constexpr GUID kClassA = {0xA1A1A1A1, 0x2222, 0x3333, {0x44, 0x44, 0x55, 0x55, 0x55, 0x55, 0x55, 0x01}};
constexpr GUID kClassB = {0xB2B2B2B2, 0x2222, 0x3333, {0x44, 0x44, 0x55, 0x55, 0x55, 0x55, 0x55, 0x02}};
constexpr GUID kHandler = {0xC3C3C3C3, 0x2222, 0x3333, {0x44, 0x44, 0x55, 0x55, 0x55, 0x55, 0x55, 0x03}};

IAddin* const kAddinA = reinterpret_cast<IAddin*>(0x1000);
IAddin* const kAddinB = reinterpret_cast<IAddin*>(0x2000);
IAddin* const kUnknownAddin = reinterpret_cast<IAddin*>(0x3000);
IClassFactory* const kFactoryB = reinterpret_cast<IClassFactory*>(0x2200);

class HostApplicationSlotsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetWindowSystem();
        CAddinRecord a;
        a.addin = kAddinA;
        a.classId = kClassA;
        // B's module gave a factory but no add-in object.
        CAddinRecord b;
        b.classFactory = kFactoryB;
        b.classId = kClassB;
        CAddinRecord c;
        c.addin = kAddinB;
        host.AddinRecords() = {a, b, c};
        host.SetProgramFolder("/opt/nuvex");
        host.LanguageTable().SetChosenLanguage("DE");
    }
    void TearDown() override { ResetWindowSystem(); }
    IHostApplication& App() { return *host.HostApplication(); }

    CAddinHost host;
};

TEST_F(HostApplicationSlotsTest, TablesOfHandlersFileTypesAndCommandClasses)
{
    EXPECT_EQ(App().RegisterEventHandlerClass(kAddinA, kHandler, 0x30), S_OK);
    ASSERT_EQ(host.RootHandlerClasses().size(), 1u);
    EXPECT_EQ(host.RootHandlerClasses()[0].addin, kAddinA);
    EXPECT_TRUE(host.RootHandlerClasses()[0].classId == kHandler);
    EXPECT_EQ(host.RootHandlerClasses()[0].mask, 0x30u);

    EXPECT_EQ(App().RegisterFileType("Drawings", "dxf", 3, kHandler, 12), S_OK);
    ASSERT_EQ(host.FileTypes().size(), 1u);
    EXPECT_EQ(host.FileTypes()[0].description, "Drawings");
    EXPECT_EQ(host.FileTypes()[0].extension, "dxf");
    EXPECT_EQ(host.FileTypes()[0].flags, 3u);
    EXPECT_EQ(host.FileTypes()[0].value, 12);

    EXPECT_EQ(App().RegisterCommandClass(kAddinA, 40, kHandler), S_OK);
    EXPECT_EQ(App().SetCommandTexts(kAddinA, 40, "pocket", nullptr), S_OK);
    EXPECT_EQ(App().SetCommandTexts(kAddinA, 40, nullptr, "pk"), S_OK);
    EXPECT_EQ(App().SetCommandStatusTexts(kAddinA, 40, "Mills a pocket", "Pocket"), S_OK);
    const CAddinCommandEntry* entry = host.CommandEntry(0);
    ASSERT_NE(entry, nullptr);
    EXPECT_TRUE(entry->handlerClass == kHandler);
    EXPECT_EQ(entry->name, "pocket");
    EXPECT_EQ(entry->shortName, "pk");
    EXPECT_EQ(entry->statusText, "Mills a pocket");
    EXPECT_EQ(entry->toolTip, "Pocket");
    // An add-in the host did not load names no command.
    EXPECT_EQ(App().RegisterCommandClass(kUnknownAddin, 40, kHandler), E_FAIL);
    EXPECT_EQ(App().SetCommandTexts(kUnknownAddin, 40, "x", "y"), E_FAIL);
    EXPECT_EQ(App().SetCommandStatusTexts(kUnknownAddin, 40, "x", "y"), E_FAIL);
    EXPECT_EQ(host.CommandCount(), 1u);
}

TEST_F(HostApplicationSlotsTest, AddinsFolderAndLanguage)
{
    IAddin* addin = reinterpret_cast<IAddin*>(0x1);
    EXPECT_EQ(App().GetAddin(kClassA, &addin), S_OK);
    EXPECT_EQ(addin, kAddinA);
    // A record without an add-in object is no loaded add-in.
    EXPECT_EQ(App().GetAddin(kClassB, &addin), E_FAIL);
    EXPECT_EQ(addin, nullptr);
    EXPECT_EQ(App().GetAddin(kHandler, &addin), E_FAIL);
    IClassFactory* factory = reinterpret_cast<IClassFactory*>(0x1);
    EXPECT_EQ(App().GetAddinClassFactory(kClassB, &factory), S_OK);
    EXPECT_EQ(factory, kFactoryB);
    factory = reinterpret_cast<IClassFactory*>(0x1);
    EXPECT_EQ(App().GetAddinClassFactory(kHandler, &factory), E_FAIL);
    EXPECT_EQ(factory, reinterpret_cast<IClassFactory*>(0x1));

    char folder[64] = {};
    EXPECT_EQ(App().GetProgramFolder(folder), S_OK);
    EXPECT_STREQ(folder, "/opt/nuvex");
    char chosen[16] = {};
    char fallback[16] = {};
    EXPECT_EQ(App().GetLanguage(chosen, fallback), S_OK);
    EXPECT_STREQ(chosen, "DE");
    EXPECT_STREQ(fallback, "EN");
}

TEST_F(HostApplicationSlotsTest, MenusOfTheMainMenuAndOfPopupsTheObjectMade)
{
    HMENU mainMenu = ::CreateMenu();
    ::AppendMenuA(mainMenu, MF_STRING, 57600, "&File");
    host.SetMainMenu(mainMenu);
    HMENU given = nullptr;
    EXPECT_EQ(App().GetMainMenu(&given), S_OK);
    EXPECT_EQ(given, mainMenu);

    EXPECT_EQ(App().InsertPopupMenu(mainMenu, -1, "&Milling"), S_OK);
    EXPECT_EQ(App().InsertPopupMenu(nullptr, -1, "&Lost"), E_FAIL);
    HMENU other = ::CreatePopupMenu();
    LONG position = -5;
    // Whatever menu is passed, the position is the main menu's.
    EXPECT_EQ(App().FindMenuPosition(other, "&Milling", &position), S_OK);
    EXPECT_EQ(position, 1);
    EXPECT_EQ(App().FindMenuPosition(other, "&Absent", &position), S_OK);
    EXPECT_EQ(position, -1);
    position = -5;
    EXPECT_EQ(App().FindMenuPosition(nullptr, "&Milling", &position), E_FAIL);
    EXPECT_EQ(position, -1);
    HMENU milling = nullptr;
    ASSERT_EQ(App().GetSubMenu(mainMenu, 1, &milling), S_OK);
    ASSERT_NE(milling, nullptr);
    EXPECT_EQ(App().GetSubMenu(mainMenu, 0, &milling), E_FAIL);
    ASSERT_EQ(App().GetSubMenu(mainMenu, 1, &milling), S_OK);

    // Items of add-in commands carry 10000 + their entry; a null add-in 0.
    EXPECT_EQ(App().AddMenuItem(milling, kAddinA, 3, MF_STRING, "&Pocket", nullptr), S_OK);
    EXPECT_EQ(App().AddMenuSeparator(milling, nullptr, 0, MF_SEPARATOR, nullptr), S_OK);
    EXPECT_EQ(App().InsertMenuItem(milling, 0, kAddinB, 4, MF_STRING, "&Contour"), S_OK);
    EXPECT_EQ(App().InsertMenuItem(milling, -1, kUnknownAddin, 4, MF_STRING, "&Lost"), E_FAIL);
    EXPECT_EQ(App().AddMenuItem(nullptr, kAddinA, 3, MF_STRING, "&Lost", nullptr), E_FAIL);
    LONG count = 0;
    EXPECT_EQ(App().GetMenuItemCount(milling, &count), S_OK);
    EXPECT_EQ(count, 3);
    EXPECT_EQ(::GetMenuItemID(milling, 0), 10001u);
    EXPECT_EQ(::GetMenuItemID(milling, 1), 10000u);
    EXPECT_EQ(host.FindHostCommand(kAddinB, 4), 1);
    // Outside the objects' menus a plain item is made.
    EXPECT_EQ(App().AddMenuItem(other, kAddinA, 3, MF_STRING, "&Pocket", nullptr), S_OK);
    EXPECT_EQ(::GetMenuItemID(other, 0), 10000u);
    ::DestroyMenu(other);
    host.SetMainMenu(nullptr);
    ::DestroyMenu(mainMenu);
}

TEST_F(HostApplicationSlotsTest, WithoutAFrameOrADocumentTheWindowSideIsEmpty)
{
    IHostDocument* document = reinterpret_cast<IHostDocument*>(0x1);
    EXPECT_EQ(App().GetActiveDocument(&document), S_OK);
    EXPECT_EQ(document, nullptr);
    HMENU menu = reinterpret_cast<HMENU>(0x1);
    EXPECT_EQ(App().GetViewContextMenu(&menu), S_OK);
    EXPECT_EQ(menu, nullptr);
    CProgressCtrl* progress = reinterpret_cast<CProgressCtrl*>(0x1);
    EXPECT_EQ(App().GetProgressControl(&progress), S_OK);
    EXPECT_EQ(progress, nullptr);
    EXPECT_EQ(App().FocusCommandLine(), S_OK);
    EXPECT_EQ(App().AddAccelerator(kAddinA, 3, 0, 'K'), E_FAIL);
    LONG toolbars = -1;
    EXPECT_EQ(App().GetToolbarCount(&toolbars), S_OK);
    EXPECT_EQ(toolbars, 0);
    HMENU defaultMenu = reinterpret_cast<HMENU>(0x1);
    EXPECT_EQ(App().GetDefaultMenu(&defaultMenu), S_OK);
    EXPECT_EQ(defaultMenu, nullptr);
}

TEST_F(HostApplicationSlotsTest, ReservedSlotsAnswerTheirFixedResultsAndToolbarsNeedAFrame)
{
    EXPECT_EQ(App().Reserved22(1, 2), S_OK);
    EXPECT_EQ(App().Reserved23(1, 2), E_NOTIMPL);
    EXPECT_EQ(App().Reserved24(1), S_OK);
    EXPECT_EQ(App().Reserved25(1), S_OK);
    EXPECT_EQ(App().Reserved26(1, 2), S_OK);
    EXPECT_EQ(App().Reserved27(), S_OK);
    EXPECT_EQ(App().Reserved28(1), S_OK);
    EXPECT_EQ(App().Reserved29(1, 2, 3, 4), S_OK);
    EXPECT_EQ(App().Reserved36(1, 2, 3, 4, 5, 6), S_OK);
    // Without a main frame there are no toolbars and no toolbar controls.
    IToolbarControl* toolbar = reinterpret_cast<IToolbarControl*>(0x1);
    EXPECT_EQ(App().AddToolbar("Milling", &toolbar), E_FAIL);
    EXPECT_EQ(toolbar, nullptr);
    toolbar = reinterpret_cast<IToolbarControl*>(0x1);
    EXPECT_EQ(App().FindToolbar("Standard", &toolbar), E_FAIL);
    EXPECT_EQ(toolbar, nullptr);
    toolbar = reinterpret_cast<IToolbarControl*>(0x1);
    EXPECT_EQ(App().GetToolbar(0, &toolbar), E_FAIL);
    EXPECT_EQ(toolbar, nullptr);
    IUnknown* control = reinterpret_cast<IUnknown*>(0x1);
    EXPECT_EQ(App().GetToolbarCommandControl(kAddinA, 3, &control), E_FAIL);
    EXPECT_EQ(control, nullptr);
}

TEST_F(HostApplicationSlotsTest, AddinPointsServeTheAddinsRecordAndAnUnknownAddinTheMainPoint)
{
    ComPtr<IConnectionPoint> main;
    ComPtr<IConnectionPoint> mine;
    ComPtr<IConnectionPoint> stranger;
    ASSERT_EQ(App().GetEventConnectionPoint(main.Receive()), S_OK);
    ASSERT_EQ(App().GetAddinConnectionPoint(kAddinB, mine.Receive()), S_OK);
    ASSERT_EQ(App().GetAddinConnectionPoint(kUnknownAddin, stranger.Receive()), S_OK);
    EXPECT_EQ(static_cast<CConnectionPoint*>(mine.Get())->EventGroup(), 2);
    EXPECT_EQ(stranger.Get(), main.Get());
    EXPECT_NE(mine.Get(), main.Get());
}

} // namespace
