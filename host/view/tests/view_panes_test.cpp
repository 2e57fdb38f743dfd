// A view in an MDI child frame of a program with an application object:
// the application's events around the view's first update and its
// activation, in order with the document's events and the pane pages'
// handler objects, and the docking pane bars the view makes on its frame.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "host/document/tests/document_test_support.h"
#include "host/menulook/new_mini_dock_frame.h"
#include "host/shell/docking_pane_bar.h"
#include "host/shell/host_application.h"
#include "host/shell/tests/recording_sink.h"
#include "host/view/nuvex_view.h"
#include "host/view/tests/view_test_app.h"
#include "host/view/tests/view_test_support.h"
#include "host/view/view_pane_bars.h"
#include "platform/framework/app.h"
#include "platform/framework/docking.h"
#include "platform/framework/mdi.h"
#include "platform/user/commdlg.h"
#include "platform/user/inspect.h"

namespace {

constexpr GUID kTreeHandler = {0x7d1f0c2a, 0x33b1, 0x4f0e, {0x9a, 0x51, 0x10, 0x22, 0x33, 0x44, 0x55, 0x66}};
// A group of this name cannot get its bar window.
constexpr const char* kRefusedGroup = "Refused";

// A pane page's handler object: its Create goes into the log.
class RecordingPageHandler : public CCountedObject<IAddinCommand, IID_IAddinCommand> {
public:
    explicit RecordingPageHandler(std::vector<std::string>& log) : m_log(log) {}
    HRESULT STDMETHODCALLTYPE Create(IHostDocument* document, LONG commandNumber, LONG_PTR context) override
    {
        // A pane object gets its page's tree.
        void* tree = nullptr;
        auto* control = reinterpret_cast<IUnknown*>(context);
        const bool isTree = control != nullptr && SUCCEEDED(control->QueryInterface(IID_ITreeControl, &tree));
        m_log.push_back("create " + ObjectToken(static_cast<IUnknown*>(document)) + " " +
                        std::to_string(commandNumber) + " " + (isTree ? "tree" : std::to_string(context)));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnEvent(LONG, void*, LONG, LONG, LONG* result) override
    {
        *result = 0x10000000;
        return S_OK;
    }

private:
    std::vector<std::string>& m_log;
};

class AppServices : public TestServices {
public:
    IHostApplication* GetHostApplication() override { return application; }
    IHostApplication* application = nullptr;
};

// Refuses the creation of bar windows titled as the refused group.
LRESULT CALLBACK RefuseBarWindow(int code, WPARAM wParam, LPARAM lParam)
{
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (call->message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(call->lParam);
        if (create->lpszName != nullptr && std::string(create->lpszName) == kRefusedGroup) {
            ::DestroyWindow(call->hwnd);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

class ViewPanesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetWindowSystem();
        setenv("LIBGL_ALWAYS_SOFTWARE", "1", 1);
        AddViewVariables(services);
        services.application = &application;
        services.addinFactory.maker = [this](const IID& iid) -> IUnknown* {
            if (iid == kTreeHandler) {
                return static_cast<IAddinCommand*>(new RecordingPageHandler(output.log));
            }
            return nullptr;
        };
        SetDialogAnswerHook([](const DialogRequest&) -> std::optional<DialogAnswer> {
            return DialogAnswer{IDNO, "", 0};
        });
        ComPtr<IConnectionPoint> point;
        ASSERT_EQ(application.GetEventConnectionPoint(point.Receive()), S_OK);
        DWORD cookie = 0;
        ASSERT_EQ(point->Advise(&sink, &cookie), S_OK);
    }
    void TearDown() override
    {
        if (app != nullptr) {
            app->CloseProgram();
        }
        app.reset();
        SetDialogAnswerHook(nullptr);
        AfxDeleteTempMaps();
        ResetWindowSystem();
    }

    // The pane groups of an add-in: "Features" docks left with tabs and
    // three pages (a tree page with a handler class, a panel page, a text
    // page without a command); "Output" docks at the bottom without tabs.
    void RegisterPaneGroups()
    {
        LONG features = -1;
        LONG output = -1;
        application.AddPaneGroup("Features", 0x311, &features);
        application.AddPaneItem(features, "Tree", kPageTree, services.fakeAddin, 40, nullptr);
        services.commands[0].handlerClass = kTreeHandler;
        application.AddPaneItem(features, "Panels", kPageControlPanels | kPageTree, services.fakeAddin, 41, nullptr);
        application.AddPaneItem(features, "Text", kPageText, nullptr, 0, nullptr);
        application.AddPaneGroup("Output", 0x8 | 0xC00, &output);
        application.AddPaneItem(output, "Log", kPageText, services.fakeAddin, 42, nullptr);
        services.commands[2].handlerClass = kTreeHandler;
    }
    void StartProgram()
    {
        app = std::make_unique<CViewTestApp>("NuvexViewPaneTests", "Nuvex View Pane Tests", services, output, nullptr);
        ASSERT_TRUE(app->InitInstance());
    }
    // File New: the new drawing, named `name` in the logs.
    CNuvexDoc* NewDrawing(const std::string& name)
    {
        CNuvexDoc* document = app->NewDrawing();
        if (document != nullptr) {
            names.emplace_back(ObjectToken(static_cast<IUnknown*>(document->GetHostDocument())), name);
        }
        return document;
    }
    // The log without the view updates and what activation refreshes (the
    // command line, the buttons, the command states), documents by their
    // names.
    std::vector<std::string> Events() const
    {
        std::vector<std::string> events;
        for (std::string entry : output.log) {
            if (entry == "update" || entry.starts_with("line ") || entry.starts_with("button ") ||
                entry.starts_with("states ")) {
                continue;
            }
            for (const auto& [token, name] : names) {
                const size_t at = entry.find(token + " ");
                if (at != std::string::npos) {
                    entry.replace(at, token.size(), name);
                } else if (entry.size() >= token.size() && entry.ends_with(token)) {
                    entry.replace(entry.size() - token.size(), token.size(), name);
                }
            }
            events.push_back(entry);
        }
        return events;
    }

    TestConfigFolder folder{"nuvex-viewpanes-"};
    AppServices services;
    TestOutput output;
    // The sink outlives the application, which releases it.
    RecordingSink sink{output.log, "app"};
    CHostApplication application{services};
    // Each document's token in the logs, and its name.
    std::vector<std::pair<std::string, std::string>> names;
    std::unique_ptr<CViewTestApp> app;
};

TEST_F(ViewPanesTest, TheApplicationHearsOfTheFirstUpdateBeforeThePagesAndOfActivationBeforeTheDocument)
{
    RegisterPaneGroups();
    StartProgram();
    CNuvexDoc* first = NewDrawing("one");
    ASSERT_NE(first, nullptr);
    // The frame updates its view first, then activates it (twice: as the
    // active view and as the frame shows).
    const std::vector<std::string> expected = {"app 0 one", "create one 40 tree", "app 6 one", "event 3", "app 6 one",
                                               "event 3"};
    EXPECT_EQ(Events(), expected);
}

TEST_F(ViewPanesTest, ASecondDrawingDeactivatesTheFirstAsItIsActivatedAndEachWayTheApplicationHearsFirst)
{
    RegisterPaneGroups();
    StartProgram();
    CNuvexDoc* first = NewDrawing("one");
    ASSERT_NE(first, nullptr);
    output.log.clear();
    CNuvexDoc* second = NewDrawing("two");
    ASSERT_NE(second, nullptr);
    // The first drawing's view is deactivated as the second one's is
    // activated, after the second one's first update.
    const std::vector<std::string> expected = {"app 0 two", "create two 40 tree", "app 7 one", "event 4",
                                               "app 6 two", "event 3",         "app 6 two", "event 3"};
    EXPECT_EQ(Events(), expected);

    // The view's own activation handler, both ways.
    output.log.clear();
    CNuvexView* view = ViewOf(first);
    view->OnActivateView(FALSE, nullptr, view);
    view->OnActivateView(TRUE, view, nullptr);
    EXPECT_EQ(Events(), (std::vector<std::string>{"app 7 one", "event 4", "app 6 one", "event 3"}));
}

TEST_F(ViewPanesTest, EachPaneGroupGetsADockedBarOnTheViewsFrameWithItsPagesAndTheirHandlers)
{
    RegisterPaneGroups();
    StartProgram();
    CNuvexDoc* document = NewDrawing("one");
    ASSERT_NE(document, nullptr);
    CFrameWnd* frame = ViewOf(document)->GetParentFrame();
    ASSERT_NE(frame, nullptr);
    const std::vector<CDockingPaneBar*> bars = CDockingPaneBar::BarsOf(*frame);
    ASSERT_EQ(bars.size(), 2u);

    struct Expected {
        const char* title;
        UINT dockBar;
        DWORD allowed;
        size_t pages;
        bool tabs;
        std::vector<bool> handlers;
    };
    const Expected expected[] = {
        {"Features", AFX_IDW_DOCKBAR_LEFT, CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT, 3, true, {true, false, false}},
        {"Output", AFX_IDW_DOCKBAR_BOTTOM, CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM, 1, false, {false}},
    };
    for (size_t i = 0; i < bars.size(); ++i) {
        SCOPED_TRACE(expected[i].title);
        CDockingPaneBar* bar = bars[i];
        ASSERT_NE(bar->GetSafeHwnd(), nullptr);
        CString title;
        bar->GetWindowText(title);
        EXPECT_EQ(title, CString(expected[i].title));
        EXPECT_EQ(bar->GetDocument(), document);
        ASSERT_NE(bar->m_pDockBar, nullptr);
        EXPECT_EQ(static_cast<UINT>(bar->m_pDockBar->GetDlgCtrlID()), expected[i].dockBar);
        EXPECT_EQ(bar->GetDockingStyle(), expected[i].allowed);
        EXPECT_EQ(bar->GetBarStyle() & 0x34u, 0x34u);
        EXPECT_NE(bar->GetStyle() & WS_CLIPCHILDREN, 0u);
        ASSERT_EQ(bar->Pages().size(), expected[i].pages);
        for (size_t page = 0; page < expected[i].pages; ++page) {
            EXPECT_EQ(static_cast<bool>(bar->Pages()[page].handler), expected[i].handlers[page]) << page;
        }
        ASSERT_EQ(bar->TabControl() != nullptr, expected[i].tabs);
        if (expected[i].tabs) {
            ASSERT_NE(bar->TabControl()->GetSafeHwnd(), nullptr);
            EXPECT_EQ(bar->TabControl()->GetItemCount(), static_cast<int>(expected[i].pages));
        }
    }
    EXPECT_EQ(frame->m_pFloatingFrameClass, RUNTIME_CLASS(CNewMiniDockFrameWnd));
    // A pane bar floated by command sits in a frame of that class.
    ASSERT_TRUE(AfxFloatControlBar(frame, bars[1], CPoint(200, 200), CBRS_ALIGN_TOP));
    ASSERT_NE(bars[1]->m_pDockBar, nullptr);
    CWnd* floating = bars[1]->m_pDockBar->GetParent();
    ASSERT_NE(floating, nullptr);
    EXPECT_TRUE(floating->IsKindOf(RUNTIME_CLASS(CNewMiniDockFrameWnd)));
    for (UINT side : {AFX_IDW_DOCKBAR_TOP, AFX_IDW_DOCKBAR_LEFT, AFX_IDW_DOCKBAR_RIGHT, AFX_IDW_DOCKBAR_BOTTOM}) {
        EXPECT_NE(AfxGetDockBar(frame, side), nullptr) << side;
    }
    // The bars leave the frame's list with the frame.
    const HWND frameWindow = frame->m_hWnd;
    app->CloseAllDocuments(TRUE);
    EXPECT_FALSE(::IsWindow(frameWindow));
}

TEST_F(ViewPanesTest, AViewWhoseBarCannotBeMadeIsNotCreated)
{
    RegisterPaneGroups();
    application.AddPaneGroup(kRefusedGroup, 0x10, nullptr);
    StartProgram();
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, RefuseBarWindow, nullptr, 0);
    app->OnFileNew();
    UnhookWindowsHookEx(hook);
    EXPECT_EQ(app->Frame()->MDIGetActive(), nullptr);
    for (const std::string& entry : output.log) {
        EXPECT_EQ(entry.rfind("app 0", 0), std::string::npos) << entry;
    }

    // Without the refusal the same groups make a view with all three bars.
    CNuvexDoc* document = NewDrawing("one");
    ASSERT_NE(document, nullptr);
    EXPECT_EQ(CDockingPaneBar::BarsOf(*ViewOf(document)->GetParentFrame()).size(), 3u);
}

TEST(PaneDockSides, TheFlagWordNamesTheFirstSideAndTheAllowedSides)
{
    struct Case {
        const char* name;
        uint32_t flags;
        UINT initial;
        DWORD allowed;
    };
    const Case cases[] = {
        {"none: left, nowhere else", 0x0, AFX_IDW_DOCKBAR_LEFT, 0},
        {"left and top: left", 0x5, AFX_IDW_DOCKBAR_LEFT, 0},
        {"right", 0x2, AFX_IDW_DOCKBAR_RIGHT, 0},
        {"top", 0x4, AFX_IDW_DOCKBAR_TOP, 0},
        {"bottom", 0x8, AFX_IDW_DOCKBAR_BOTTOM, 0},
        {"the milling group", 0x311, AFX_IDW_DOCKBAR_LEFT, CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT},
        {"every side", 0xF10, AFX_IDW_DOCKBAR_LEFT, CBRS_ALIGN_ANY},
        {"top and bottom only", 0xC00, AFX_IDW_DOCKBAR_LEFT, CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        EXPECT_EQ(InitialDockSide(test.flags), test.initial);
        EXPECT_EQ(AllowedDockSides(test.flags), test.allowed);
    }
}

} // namespace
