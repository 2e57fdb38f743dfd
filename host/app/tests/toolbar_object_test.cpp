// The toolbars of the running program's main frame as add-ins reach them
// through the application object: a toolbar added by name with its window
// text, id and show/hide item, its scripting object's bitmaps and buttons
// (each carrying the host command id of its add-in command), button
// states, and lookups by name and index.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/app/nuvex_app.h"
#include "host/app/tests/program_folder_support.h"
#include "host/shell/host_application.h"
#include "host/shell/main_frame.h"
#include "host/shell/toolbar_object.h"
#include "platform/controls/commctrl.h"
#include "platform/gdi/gdi.h"
#include "platform/user/menu.h"
#include "platform/user/winuser.h"

namespace {

constexpr LONG kTestCommandNumber = 7;
constexpr LONG kOtherCommandNumber = 8;
constexpr BYTE kEnabled = 4;
constexpr BYTE kPlain = 0;
constexpr BYTE kSeparator = 1;
constexpr int kViewMenu = 2;

class ToolbarObjectTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        addin = std::make_unique<TestAddinModule>(folder.AddTestAddin("testaddin"));
        ASSERT_TRUE(addin->Loaded());
        program = std::make_unique<RunningProgram>();
        ASSERT_TRUE(program->Start());
    }
    void TearDown() override
    {
        for (HBITMAP bitmap : bitmaps)
            ::DeleteObject(bitmap);
        program.reset();
        addin.reset();
    }
    IHostApplication& App() { return *program->App().HostApplication(); }
    CMainFrame& Frame() { return *program->Frame(); }
    HBITMAP Bitmap(int images)
    {
        HDC screen = ::GetDC(nullptr);
        HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 16 * images, 15);
        ::ReleaseDC(nullptr, screen);
        bitmaps.push_back(bitmap);
        return bitmap;
    }
    std::string WindowText(const CMainToolBar& toolbar)
    {
        char text[256] = {};
        ::GetWindowTextA(toolbar.GetSafeHwnd(), text, sizeof text);
        return text;
    }
    // The items of View > Toolbars: text and command id.
    std::vector<std::pair<std::string, UINT>> ToolbarsMenu()
    {
        std::vector<std::pair<std::string, UINT>> items;
        HMENU view = ::GetSubMenu(program->App().GetMainMenu(), kViewMenu);
        HMENU toolbars = view != nullptr ? ::GetSubMenu(view, 0) : nullptr;
        for (int i = 0; toolbars != nullptr && i < ::GetMenuItemCount(toolbars); ++i) {
            char text[256] = {};
            ::GetMenuStringA(toolbars, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
            items.emplace_back(text, ::GetMenuItemID(toolbars, i));
        }
        return items;
    }
    UINT HostId(LONG number) const
    {
        return kFirstHostCommandId + static_cast<UINT>(program->App().FindHostCommand(addin->Object(), number));
    }

    TestProgramFolder folder;
    std::unique_ptr<TestAddinModule> addin;
    std::unique_ptr<RunningProgram> program;
    std::vector<HBITMAP> bitmaps;
};

TEST_F(ToolbarObjectTest, AddedToolbarsAreNumberedDockedAndListedUnderViewToolbars)
{
    const size_t before = Frame().Toolbars().size();
    IToolbarControl* first = nullptr;
    IToolbarControl* second = nullptr;
    IToolbarControl* third = nullptr;
    ASSERT_EQ(App().AddToolbar("Manufacturing", &first), S_OK);
    ASSERT_EQ(App().AddToolbar("Manufacturing", &second), S_OK);
    ASSERT_EQ(App().AddToolbar("Manufacturing", &third), S_OK);
    ASSERT_NE(first, nullptr);
    EXPECT_NE(first, second);
    ASSERT_EQ(Frame().Toolbars().size(), before + 3);
    const std::vector<std::string> names = {"Manufacturing", "Manufacturing1", "Manufacturing2"};
    for (size_t i = 0; i < names.size(); ++i) {
        const CMainToolBar& toolbar = *Frame().Toolbars()[before + i];
        SCOPED_TRACE(names[i]);
        EXPECT_EQ(WindowText(toolbar), names[i]);
        EXPECT_EQ(static_cast<UINT>(toolbar.GetDlgCtrlID()), kFirstToolbarCommandId + before + i);
        EXPECT_NE(toolbar.m_pDockBar, nullptr) << "not docked";
    }
    const auto menu = ToolbarsMenu();
    ASSERT_EQ(menu.size(), 4u);
    EXPECT_EQ(menu[1], std::make_pair(names[0], kFirstToolbarCommandId + static_cast<UINT>(before)));
    EXPECT_EQ(menu[3], std::make_pair(names[2], kFirstToolbarCommandId + static_cast<UINT>(before) + 2));

    // Found by window text and by index; the standard toolbar has one too.
    IToolbarControl* found = nullptr;
    EXPECT_EQ(App().FindToolbar("Manufacturing1", &found), S_OK);
    EXPECT_EQ(found, second);
    EXPECT_EQ(App().GetToolbar(static_cast<LONG>(before), &found), S_OK);
    EXPECT_EQ(found, first);
    EXPECT_EQ(App().FindToolbar("Standard", &found), S_OK);
    EXPECT_NE(found, nullptr);
    EXPECT_EQ(App().FindToolbar("Milling", &found), E_FAIL);
    EXPECT_EQ(found, nullptr);
    found = first;
    EXPECT_EQ(App().GetToolbar(static_cast<LONG>(before) + 3, &found), E_FAIL);
    EXPECT_EQ(found, nullptr);
    LONG count = 0;
    EXPECT_EQ(App().GetToolbarCount(&count), S_OK);
    EXPECT_EQ(count, static_cast<LONG>(before) + 3);

    // Its show/hide item hides it and shows it again.
    CMainToolBar& toolbar = *Frame().Toolbars()[before];
    ASSERT_TRUE(toolbar.IsWindowVisible());
    Frame().SendMessage(WM_COMMAND, kFirstToolbarCommandId + before, 0);
    EXPECT_FALSE(toolbar.IsWindowVisible());
    Frame().SendMessage(WM_COMMAND, kFirstToolbarCommandId + before, 0);
    EXPECT_TRUE(toolbar.IsWindowVisible());
}

TEST_F(ToolbarObjectTest, ButtonsTakeImagesOfTheToolbarAndCarryTheHostCommandId)
{
    IToolbarControl* toolbar = nullptr;
    ASSERT_EQ(App().AddToolbar("Manufacturing", &toolbar), S_OK);
    CMainToolBar& bar = *Frame().Toolbars().back();
    IAddin* owner = addin->Object();

    LONG first = -1;
    EXPECT_EQ(toolbar->AddBitmap(1, Bitmap(1), &first), S_OK);
    EXPECT_EQ(first, 0) << "a toolbar without images starts at 0";
    EXPECT_EQ(toolbar->AddBitmap(2, Bitmap(2), &first), S_OK);
    EXPECT_EQ(first, 1);
    EXPECT_EQ(toolbar->AddBitmap(1, Bitmap(1), nullptr), S_OK);

    struct Case {
        const char* name;
        IAddin* addin;
        LONG command;
        LONG image;
        BYTE style;
        HRESULT result;
    };
    const Case cases[] = {
        {"the last image", owner, kTestCommandNumber, 3, kPlain, S_OK},
        {"one past the images", owner, kTestCommandNumber, 4, kPlain, E_FAIL},
        {"a negative image", owner, kTestCommandNumber, -1, kPlain, E_FAIL},
        {"the same command again", owner, kTestCommandNumber, 0, kPlain, S_OK},
        {"a separator needs no add-in nor image", nullptr, 0, 99, kSeparator, S_OK},
        {"a plain button needs an add-in", nullptr, kOtherCommandNumber, 0, kPlain, E_FAIL},
        {"another command", owner, kOtherCommandNumber, 1, kPlain, S_OK},
    };
    int added = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const int buttons = bar.GetToolBarCtrl().GetButtonCount();
        EXPECT_EQ(toolbar->AddButton(c.addin, c.command, c.image, kEnabled, c.style, "text"), c.result);
        EXPECT_EQ(bar.GetToolBarCtrl().GetButtonCount(), buttons + (c.result == S_OK ? 1 : 0));
        added += c.result == S_OK ? 1 : 0;
    }
    ASSERT_EQ(bar.GetToolBarCtrl().GetButtonCount(), added);
    const UINT test = HostId(kTestCommandNumber);
    const UINT other = HostId(kOtherCommandNumber);
    const std::vector<UINT> ids = {test, test, 0, other};
    const std::vector<int> images = {3, 0, 0, 1};
    for (int i = 0; i < added; ++i) {
        TBBUTTON button{};
        ASSERT_TRUE(bar.GetToolBarCtrl().GetButton(i, &button));
        EXPECT_EQ(static_cast<UINT>(button.idCommand), ids[static_cast<size_t>(i)]) << i;
        if (ids[static_cast<size_t>(i)] != 0) {
            EXPECT_EQ(button.iBitmap, images[static_cast<size_t>(i)]) << i;
            EXPECT_EQ(button.fsState, kEnabled) << i;
        } else {
            EXPECT_EQ(button.fsStyle & kSeparator, kSeparator);
        }
    }

    // Button states follow the command on every toolbar; an unknown
    // command changes nothing.
    EXPECT_EQ(toolbar->SetButtonState(owner, kOtherCommandNumber, 0), S_OK);
    EXPECT_FALSE(bar.GetToolBarCtrl().IsButtonEnabled(static_cast<int>(other)));
    EXPECT_TRUE(bar.GetToolBarCtrl().IsButtonEnabled(static_cast<int>(test)));
    EXPECT_EQ(toolbar->SetButtonState(owner, 4711, 0), E_FAIL);

    // The controls are not offered.
    EXPECT_EQ(toolbar->AddEditControl(owner, kTestCommandNumber, "", 50, 0), E_NOTIMPL);
    void* unknown = nullptr;
    EXPECT_EQ(toolbar->QueryInterface(IID_IToolbarControl, &unknown), S_OK);
    EXPECT_EQ(unknown, toolbar);
    toolbar->Release();
}

} // namespace
