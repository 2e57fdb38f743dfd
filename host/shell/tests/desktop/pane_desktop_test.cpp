// A person with an add-in's pane group on a desktop: the pane test add-in,
// loaded through the registry stand-in and connected to the host's
// application object, registers a group with a tree, a text and a
// control-panel page; a drawing's view shows it as a docking bar with
// tabs, on the sdl back-end on a virtual X server, driven by real X
// pointer and key events: the panel of a running command reports a typed
// value and a button click to the command, the bar floats when its
// gripper is dragged out of the frame and docks again when the floating
// frame's caption is dragged to the frame's left edge.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

#include "host/shell/docking_pane_bar.h"
#include "host/shell/host_application.h"
#include "host/shell/tests/desktop/pane_test_addin.h"
#include "host/view/tests/desktop/desktop_fixture.h"
#include "host/view/view_commands.h"
#include "platform/display/screenshot.h"
#include "platform/display/sdl/sdl_display.h"
#include "platform/display/sdl/tests/xserver_support.h"
#include "platform/kernel/classobject.h"
#include "platform/kernel/module.h"
#include "platform/user/inspect.h"

namespace {

using nuvex::testing::FindProgram;
using nuvex::testing::Pointer;
using nuvex::testing::PumpMessagesUntil;
using nuvex::testing::VirtualServer;

constexpr int kWaitMs = 5000;
constexpr UINT_PTR kPumpTimer = 1;

std::string AddinPath() { return std::string(NUVEX_PANE_TEST_ADDIN_DIR) + "/panetest.so"; }

// The application's side with the loaded add-in as add-in 0.
class PaneDesktopServices : public DesktopServices {
public:
    IHostApplication* GetHostApplication() override { return application; }
    IClassFactory* GetAddinClassFactory(int32_t addinIndex) override
    {
        return addinIndex == 0 ? factory : nullptr;
    }
    IClassFactory* GetClassFactoryForAddin(IAddin* addin) override
    {
        return addin != nullptr && addin == fakeAddin ? factory : DesktopServices::GetClassFactoryForAddin(addin);
    }
    IHostApplication* application = nullptr;
    IClassFactory* factory = nullptr;
};

// The registry stand-in of the test lives in its own folder.
class ScopedConfigDir {
public:
    ScopedConfigDir()
    {
        char pattern[] = "/tmp/nuvex-panes-XXXXXX";
        m_path = mkdtemp(pattern) != nullptr ? pattern : "";
        setenv("NUVEX_CONFIG_DIR", m_path.c_str(), 1);
    }
    ~ScopedConfigDir()
    {
        unsetenv("NUVEX_CONFIG_DIR");
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }

private:
    std::string m_path;
};

class PaneDesktopTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const std::string program = FindProgram("Xvfb");
        if (program.empty()) {
            GTEST_SKIP() << "Xvfb is not installed (tools/deps.sh installs the xvfb package); "
                            "the desktop pane test needs a virtual X server";
        }
        config = std::make_unique<ScopedConfigDir>();
        server = std::make_unique<VirtualServer>(program);
        const std::string display = server->Start();
        ASSERT_FALSE(display.empty()) << "Xvfb did not start";
        setenv("DISPLAY", display.c_str(), 1);
        setenv("NUVEX_DISPLAY", "sdl", 1);
        setenv("LIBGL_ALWAYS_SOFTWARE", "1", 1);
        ResetWindowSystem(1024, 768);
        ASSERT_TRUE(StartSdlDisplay());
        started = true;
        pointer = std::make_unique<Pointer>(display);
        file = ::testing::TempDir() + "/pane_desktop.nvx";
        ASSERT_TRUE(WriteFixtureDrawing(file));
    }
    void TearDown() override
    {
        if (frame != nullptr && frame->GetSafeHwnd() != nullptr) {
            frame->DestroyWindow();
        }
        frame.reset();
        document.reset();
        application.reset();
        if (addin != nullptr) {
            addin->Release();
        }
        pointer.reset();
        if (started) {
            StopSdlDisplay();
            ResetWindowSystem();
        }
        setenv("NUVEX_DISPLAY", "headless", 1);
        server.reset();
        config.reset();
        if (!file.empty()) {
            std::filesystem::remove(file);
        }
    }

    // Loads the add-in module, registers it and makes the add-in object
    // through the class object that the registry names.
    void LoadAddin()
    {
        HMODULE module = LoadLibraryA(AddinPath().c_str());
        ASSERT_NE(module, nullptr) << AddinPath();
        auto registerServer = reinterpret_cast<HRESULT (*)()>(GetProcAddress(module, "DllRegisterServer"));
        ASSERT_NE(registerServer, nullptr);
        ASSERT_EQ(registerServer(), S_OK);
        log = reinterpret_cast<PaneTestLogFunction>(GetProcAddress(module, kPaneTestLogExport));
        ASSERT_NE(log, nullptr);
        void* factory = nullptr;
        ASSERT_EQ(CoGetClassObject(CLSID_PaneTestAddin, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory, &factory),
                  S_OK);
        services.factory = static_cast<IClassFactory*>(factory);
        void* made = nullptr;
        ASSERT_EQ(services.factory->CreateInstance(nullptr, CLSID_PaneTestAddin, &made), S_OK);
        addin = static_cast<IAddin*>(made);
        services.fakeAddin = addin;
    }
    // Connects it as the host does; a host whose application does not yet
    // keep command classes gets them filled in as it would.
    void Connect()
    {
        application = std::make_unique<CHostApplication>(services);
        services.application = application.get();
        ASSERT_EQ(addin->Connect(application.get()), S_OK);
        const struct {
            long command;
            CLSID handler;
        } classes[] = {{kPaneTestTreeCommand, CLSID_PaneTestTree},
                       {kPaneTestTextCommand, CLSID_PaneTestText},
                       {kPaneTestPanelCommand, CLSID_PaneTestPanelCommand}};
        for (const auto& entry : classes) {
            const int32_t index = services.GetHostCommand(addin, static_cast<uint32_t>(entry.command));
            ASSERT_GE(index, 0);
            CommandTableEntry& command = services.commands[static_cast<size_t>(index)];
            if (command.handlerClass == GUID{}) {
                command.handlerClass = entry.handler;
            }
        }
    }
    std::string Log() const
    {
        char buffer[8192] = {};
        log(buffer, sizeof buffer);
        return buffer;
    }
    // Runs the message loop until `done` or the time is up.
    bool PumpUntil(const std::function<bool()>& done, int ms = kWaitMs) { return PumpMessagesUntil(done, ms); }
    void Settle() { PumpUntil([] { return false; }, 300); }
    // A person's drag: pressed, moved in steps, released.
    void Drag(HWND target, POINT from, POINT to)
    {
        pointer->Move(target, from);
        Settle();
        pointer->Press(target, from);
        Settle();
        constexpr int kSteps = 6;
        for (int i = 1; i <= kSteps; ++i) {
            const POINT step{from.x + (to.x - from.x) * i / kSteps, from.y + (to.y - from.y) * i / kSteps};
            pointer->Move(target, step);
            Settle();
        }
        pointer->Release(target, to);
        Settle();
    }
    CDockingPaneBar* Bar()
    {
        const std::vector<CDockingPaneBar*> bars = CDockingPaneBar::BarsOf(*frame);
        return bars.empty() ? nullptr : bars.front();
    }
    HWND FloatingFrame()
    {
        CDockingPaneBar* bar = Bar();
        HWND top = bar != nullptr ? ::GetAncestor(bar->GetSafeHwnd(), GA_ROOT) : nullptr;
        return top != frame->GetSafeHwnd() ? top : nullptr;
    }
    POINT CentreOf(HWND window)
    {
        RECT rect{};
        ::GetWindowRect(window, &rect);
        return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    }

    std::unique_ptr<ScopedConfigDir> config;
    std::unique_ptr<VirtualServer> server;
    std::unique_ptr<Pointer> pointer;
    PaneDesktopServices services;
    DesktopOutput output;
    std::unique_ptr<CHostApplication> application;
    std::unique_ptr<CNuvexDoc> document;
    std::unique_ptr<CDesktopViewFrame> frame;
    IAddin* addin = nullptr;
    PaneTestLogFunction log = nullptr;
    std::string file;
    bool started = false;
};

TEST_F(PaneDesktopTest, APersonUsesTheAddinsPanesInADockingBar)
{
    LoadAddin();
    Connect();
    ASSERT_EQ(application->PaneGroups().size(), 1u);

    document = std::make_unique<CNuvexDoc>(services, output);
    document->m_bAutoDelete = FALSE;
    ASSERT_TRUE(document->OnOpenDocument(file.c_str()));
    frame = std::make_unique<CDesktopViewFrame>();
    ASSERT_TRUE(frame->CreateWithView(*document, "Pane test", RECT{60, 60, 760, 560}));
    output.view = frame->View();
    // The frame made its view without a document template: the document
    // learns of it here, as a template's frame would tell it.
    document->AddView(frame->View());
    frame->View()->SendMessage(WM_COMMAND, kCommandZoomAll, 0);
    ASSERT_TRUE(SdlWaitUntilShown(frame->GetSafeHwnd(), kWaitMs)) << "the frame never showed on the X server";
    ::SetTimer(frame->GetSafeHwnd(), kPumpTimer, 50, nullptr);
    SCOPED_TRACE(pointer->ThroughX() ? "input through the X test extension" : "input through SDL events");

    // The bar docks at the left with the tree page shown, the pane objects
    // filled their pages.
    CDockingPaneBar* bar = Bar();
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->Side(), PaneBarSide::Left);
    ASSERT_EQ(bar->Pages().size(), 3u);
    EXPECT_NE(Log().find("tree filled"), std::string::npos) << Log();
    EXPECT_NE(Log().find("text filled"), std::string::npos) << Log();
    EXPECT_TRUE(bar->Pages()[kPaneTestTreePage].window->IsWindowVisible());

    // The command's panel: the value typed into its edit and the click on
    // "Apply" reach the running command.
    const int32_t command = services.GetHostCommand(addin, kPaneTestPanelCommand);
    document->StartCommand(command, 1);
    ASSERT_NE(Log().find("panel made"), std::string::npos) << Log();
    PanePage& panelPage = bar->Pages()[kPaneTestPanelPage];
    ASSERT_EQ(bar->Dialog().SelectedPage(), kPaneTestPanelPage);
    ASSERT_NE(panelPage.currentPanel, nullptr);
    Settle();
    HWND edit = panelPage.currentPanel->GetControlWindow(2)->GetSafeHwnd();
    HWND apply = panelPage.currentPanel->GetControlWindow(3)->GetSafeHwnd();
    pointer->Click(frame->GetSafeHwnd(), CentreOf(edit));
    Settle();
    pointer->Key(frame->GetSafeHwnd(), '4');
    pointer->Key(frame->GetSafeHwnd(), '2');
    Settle();
    pointer->Click(frame->GetSafeHwnd(), CentreOf(apply));
    ASSERT_TRUE(PumpUntil([&] { return Log().find("panel 102 0 text 42") != std::string::npos; })) << Log();
    EXPECT_NE(Log().find("panel 101 768"), std::string::npos) << "the edit's changes: " << Log();
    {
        const std::string shot = ::testing::TempDir() + "/pane_desktop_panel.png";
        EXPECT_TRUE(SaveWindowScreenshot(frame->GetSafeHwnd(), shot.c_str()));
        if (std::getenv("NUVEX_KEEP_SCREENSHOTS") == nullptr) {
            std::filesystem::remove(shot);
        }
    }

    // Dragging the gripper out of the frame floats the bar.
    RECT barRect{};
    ::GetWindowRect(bar->GetSafeHwnd(), &barRect);
    const POINT grip{barRect.left + 40, barRect.top + 8};
    Drag(frame->GetSafeHwnd(), grip, POINT{880, 520});
    ASSERT_TRUE(PumpUntil([&] { return FloatingFrame() != nullptr; })) << "the bar did not float";
    HWND floating = FloatingFrame();
    ASSERT_TRUE(SdlWaitUntilShown(floating, kWaitMs));
    EXPECT_EQ(bar->Side(), PaneBarSide::Floating);
    char title[64] = {};
    ::GetWindowTextA(floating, title, sizeof title);
    EXPECT_STREQ(title, kPaneTestGroupName);

    // Dragging the floating frame's caption to the frame's left edge docks
    // it there again.
    RECT floatRect{};
    ::GetWindowRect(floating, &floatRect);
    RECT client{};
    ::GetClientRect(frame->GetSafeHwnd(), &client);
    POINT leftEdge{client.left + 6, client.top + 200};
    ::ClientToScreen(frame->GetSafeHwnd(), &leftEdge);
    Drag(floating, POINT{floatRect.left + 40, floatRect.top + 8}, leftEdge);
    ASSERT_TRUE(PumpUntil([&] { return FloatingFrame() == nullptr; })) << "the bar did not dock again";
    EXPECT_EQ(bar->Side(), PaneBarSide::Left);
}

} // namespace
