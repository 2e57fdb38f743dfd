// The application with an MDI frame, document templates, documents and
// views: command routing through view, document, child frame, main frame
// and application; update-UI states of menu items; several documents and
// views; saving and opening through the archive; the save-changes
// question; the message loop; profile settings and the recent-file list;
// the standard command line.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "platform/framework/app.h"
#include "platform/framework/cmdui.h"
#include "platform/framework/doctemplate.h"
#include "platform/framework/document.h"
#include "platform/framework/ids.h"
#include "platform/framework/mdi.h"
#include "platform/framework/menu.h"
#include "platform/framework/view.h"
#include "platform/user/commdlg.h"
#include "platform/user/input.h"
#include "platform/user/inspect.h"

namespace {

using Log = std::vector<std::string>;
Log g_log;

constexpr UINT kMainResource = 128;
constexpr UINT kDocResource = 129;
constexpr UINT kRouteCommand = 32800;  // every target sees it and passes it on
constexpr UINT kGridCommand = 32801;   // the view checks it
constexpr UINT kAppOnlyCommand = 32802;
constexpr UINT kFrameOnlyCommand = 32803;

// Each target notes the command and passes it on (FALSE).
#define NUVEX_ROUTE_NOTE(who)                         \
    BOOL OnRoute(UINT)                               \
    {                                                \
        g_log.push_back(who);                        \
        return FALSE;                                \
    }

class CTestDoc : public CDocument {
    DECLARE_DYNCREATE(CTestDoc)
public:
    CString m_text;
    LONG m_number = 0;
    bool m_gridOn = false;

    void Serialize(CArchive& archive) override
    {
        if (archive.IsStoring()) {
            archive << m_text << m_number;
        } else {
            archive >> m_text >> m_number;
        }
    }
    BOOL OnNewDocument() override
    {
        if (!CDocument::OnNewDocument()) {
            return FALSE;
        }
        m_text = "new";
        m_number = 1;
        return TRUE;
    }
    void DeleteContents() override
    {
        m_text.Empty();
        m_number = 0;
    }

protected:
    NUVEX_ROUTE_NOTE("document")
    void OnCopy() { g_log.push_back("document copy " + std::string(GetTitle().GetString())); }
    DECLARE_MESSAGE_MAP()
};

IMPLEMENT_DYNCREATE(CTestDoc, CDocument)
BEGIN_MESSAGE_MAP(CTestDoc, CDocument)
    ON_COMMAND_EX(kRouteCommand, OnRoute)
    ON_COMMAND(ID_EDIT_COPY, OnCopy)
END_MESSAGE_MAP()

class CTestView : public CView {
    DECLARE_DYNCREATE(CTestView)
public:
    int m_draws = 0;
    int m_initialUpdates = 0;
    std::vector<LPARAM> m_hints;
    CTestDoc* Doc() const { return static_cast<CTestDoc*>(GetDocument()); }

    void OnDraw(CDC*) override { ++m_draws; }
    void OnInitialUpdate() override
    {
        ++m_initialUpdates;
        CView::OnInitialUpdate();
    }
    void OnUpdate(CView* sender, LPARAM hint, CObject* hintObject) override
    {
        m_hints.push_back(hint);
        CView::OnUpdate(sender, hint, hintObject);
    }

protected:
    NUVEX_ROUTE_NOTE("view")
    void OnUpdateGrid(CCmdUI* cmdUI) { cmdUI->SetCheck(Doc()->m_gridOn ? 1 : 0); }
    void OnGrid() { Doc()->m_gridOn = !Doc()->m_gridOn; }
    void OnKeyDown(UINT key, UINT, UINT) { g_log.push_back("view key " + std::to_string(key)); }
    DECLARE_MESSAGE_MAP()
};

IMPLEMENT_DYNCREATE(CTestView, CView)
BEGIN_MESSAGE_MAP(CTestView, CView)
    ON_COMMAND_EX(kRouteCommand, OnRoute)
    ON_COMMAND(kGridCommand, OnGrid)
    ON_UPDATE_COMMAND_UI(kGridCommand, OnUpdateGrid)
    ON_WM_KEYDOWN()
END_MESSAGE_MAP()

class CTestChildFrame : public CMDIChildWnd {
    DECLARE_DYNCREATE(CTestChildFrame)
protected:
    NUVEX_ROUTE_NOTE("child frame")
    DECLARE_MESSAGE_MAP()
};

IMPLEMENT_DYNCREATE(CTestChildFrame, CMDIChildWnd)
BEGIN_MESSAGE_MAP(CTestChildFrame, CMDIChildWnd)
    ON_COMMAND_EX(kRouteCommand, OnRoute)
END_MESSAGE_MAP()

class CTestMainFrame : public CMDIFrameWnd {
    DECLARE_DYNCREATE(CTestMainFrame)
protected:
    NUVEX_ROUTE_NOTE("main frame")
    void OnFrameOnly() { g_log.push_back("main frame only"); }
    DECLARE_MESSAGE_MAP()
};

IMPLEMENT_DYNCREATE(CTestMainFrame, CMDIFrameWnd)
BEGIN_MESSAGE_MAP(CTestMainFrame, CMDIFrameWnd)
    ON_COMMAND_EX(kRouteCommand, OnRoute)
    ON_COMMAND(kFrameOnlyCommand, OnFrameOnly)
END_MESSAGE_MAP()

class CTestApp : public CWinApp {
public:
    CTestApp() : CWinApp("FrameworkTests") {}

    BOOL InitInstance() override
    {
        SetRegistryKey("Nuvex Framework Tests");
        LoadStdProfileSettings(4);
        m_docTemplate = new CMultiDocTemplate(kDocResource, RUNTIME_CLASS(CTestDoc), RUNTIME_CLASS(CTestChildFrame),
                                              RUNTIME_CLASS(CTestView));
        AddDocTemplate(m_docTemplate);
        auto* frame = new CTestMainFrame;
        if (!frame->LoadFrame(kMainResource, WS_OVERLAPPEDWINDOW)) {
            return FALSE;
        }
        m_pMainWnd = frame;
        frame->ShowWindow(SW_SHOW);
        return TRUE;
    }
    CTestMainFrame* Frame() const { return static_cast<CTestMainFrame*>(m_pMainWnd); }
    CMultiDocTemplate* m_docTemplate = nullptr;

protected:
    NUVEX_ROUTE_NOTE("application")
    void OnAppOnly() { g_log.push_back("application only"); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestApp, CWinApp)
    ON_COMMAND_EX(kRouteCommand, OnRoute)
    ON_COMMAND(kAppOnlyCommand, OnAppOnly)
    ON_COMMAND(ID_FILE_NEW, OnFileNew)
END_MESSAGE_MAP()

// A menu item's state as the update pass left it.
struct ItemState {
    bool enabled;
    bool checked;
};

ItemState StateOf(HMENU menu, UINT id)
{
    const UINT state = GetMenuState(menu, id, MF_BYCOMMAND);
    return {(state & MF_GRAYED) == 0, (state & MF_CHECKED) != 0};
}

CTestView* FirstView(CDocument* document)
{
    POSITION position = document->GetFirstViewPosition();
    return position != nullptr ? static_cast<CTestView*>(document->GetNextView(position)) : nullptr;
}

class DocViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetWindowSystem();
        g_log.clear();
        m_configDir = std::filesystem::temp_directory_path() /
                      ("nuvex-docview-" + std::to_string(getpid()) + "-" +
                       ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(m_configDir);
        setenv("NUVEX_CONFIG_DIR", m_configDir.c_str(), 1);
        SetDialogAnswerHook([this](const DialogRequest& request) -> std::optional<DialogAnswer> {
            m_requests.push_back(request);
            if (m_answers.empty()) {
                return DialogAnswer{IDCANCEL, "", 0};
            }
            DialogAnswer answer = m_answers.front();
            m_answers.erase(m_answers.begin());
            return answer;
        });
        m_app = std::make_unique<CTestApp>();
        ASSERT_TRUE(m_app->InitInstance());
    }
    void TearDown() override
    {
        if (m_app != nullptr && m_app->m_pMainWnd != nullptr) {
            m_app->CloseAllDocuments(TRUE);
            if (m_app->m_pMainWnd != nullptr) {
                m_app->m_pMainWnd->DestroyWindow();
            }
        }
        m_app.reset();
        SetDialogAnswerHook(nullptr);
        AfxDeleteTempMaps();
        ResetWindowSystem();
        unsetenv("NUVEX_CONFIG_DIR");
        std::error_code ignored;
        std::filesystem::remove_all(m_configDir, ignored);
    }

    CTestDoc* NewDocument()
    {
        m_app->OnFileNew();
        CMDIChildWnd* child = m_app->Frame()->MDIGetActive();
        return child != nullptr ? static_cast<CTestDoc*>(child->GetActiveDocument()) : nullptr;
    }
    LRESULT Command(UINT id) { return m_app->Frame()->SendMessage(WM_COMMAND, id, 0); }
    std::string TempPath(const char* name) const { return (m_configDir / name).string(); }

    std::filesystem::path m_configDir;
    std::unique_ptr<CTestApp> m_app;
    std::vector<DialogRequest> m_requests;
    std::vector<DialogAnswer> m_answers;
};

TEST_F(DocViewTest, CommandRoutingReachesViewDocumentChildFrameMainFrameAndApplicationInOrder)
{
    CTestDoc* document = NewDocument();
    ASSERT_NE(document, nullptr);
    Command(kRouteCommand);
    EXPECT_EQ(g_log, (Log{"view", "document", "child frame", "main frame", "application"}));

    g_log.clear();
    Command(kAppOnlyCommand);
    Command(kFrameOnlyCommand);
    EXPECT_EQ(g_log, (Log{"application only", "main frame only"}));
}

TEST_F(DocViewTest, TwoDocumentsGetTheirOwnFramesAndTheActiveOneTakesTheCommands)
{
    CTestDoc* first = NewDocument();
    CTestDoc* second = NewDocument();
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    ASSERT_NE(first, second);
    EXPECT_STREQ(first->GetTitle(), "Doc1");
    EXPECT_STREQ(second->GetTitle(), "Doc2");
    EXPECT_EQ(m_app->m_docTemplate->m_docList.GetCount(), 2);

    CMDIFrameWnd* frame = m_app->Frame();
    EXPECT_EQ(frame->GetActiveFrame()->GetActiveDocument(), second);
    Command(ID_EDIT_COPY);
    frame->MDIActivate(FirstView(first)->GetParentFrame());
    EXPECT_EQ(frame->GetActiveFrame()->GetActiveDocument(), first);
    Command(ID_EDIT_COPY);
    EXPECT_EQ(g_log, (Log{"document copy Doc2", "document copy Doc1"}));

    // Each view got its first update once, and the frames' captions name
    // their documents.
    CTestView* view = FirstView(second);
    EXPECT_EQ(view->m_initialUpdates, 1);
    CString caption;
    view->GetParentFrame()->GetWindowText(caption);
    EXPECT_STREQ(caption, "Doc2");
    // The document type's menu is on the main frame while a child is active.
    EXPECT_EQ(::GetMenu(frame->m_hWnd), m_app->m_docTemplate->m_hMenuShared);
}

// However the main frame gets the focus back (it is given it, or it is
// activated again when a dialog or a popup that had the activation goes),
// the keys reach the active child's view; with no child open the frame
// keeps the focus itself.
TEST_F(DocViewTest, KeysReachTheActiveViewWhenTheFrameTakesTheFocusBack)
{
    CTestDoc* document = NewDocument();
    ASSERT_NE(document, nullptr);
    CTestView* view = FirstView(document);
    CMDIFrameWnd* frame = m_app->Frame();
    // A window that takes the activation and the focus, then goes.
    auto passingWindow = [&](bool destroy) {
        HWND popup = ::CreateWindowExA(0, "#32770", "passing", WS_POPUP | WS_VISIBLE, 10, 10, 100, 60, frame->m_hWnd,
                                       nullptr, nullptr, nullptr);
        ::SetActiveWindow(popup);
        ::SetFocus(popup);
        if (!destroy) {
            ::ShowWindow(popup, SW_HIDE);
        }
        ::DestroyWindow(popup);
    };
    struct Row {
        const char* name;
        std::function<void()> act;
    };
    const Row rows[] = {
        {"the frame is given the focus", [&] { frame->SetFocus(); }},
        {"a popup that had the activation is destroyed", [&] { passingWindow(true); }},
        {"a dialog that had the activation is hidden first", [&] { passingWindow(false); }},
        {"the frame is activated again", [&] {
             ::SetActiveWindow(nullptr);
             ::SetActiveWindow(frame->m_hWnd);
         }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ::SetFocus(nullptr);
        row.act();
        EXPECT_EQ(::GetFocus(), view->m_hWnd);
        PumpUntilIdle();
        g_log.clear();
        InjectKey(VK_ESCAPE, KeyAction::Down);
        InjectKey(VK_ESCAPE, KeyAction::Up);
        PumpUntilIdle();
        EXPECT_EQ(g_log, (Log{"view key " + std::to_string(VK_ESCAPE)}));
    }

    m_app->CloseAllDocuments(FALSE);
    frame->SetFocus();
    EXPECT_EQ(::GetFocus(), frame->m_hWnd);
}

TEST_F(DocViewTest, MenuItemsFollowTheirHandlersAndUpdateHandlers)
{
    CMDIFrameWnd* frame = m_app->Frame();
    CTestDoc* document = NewDocument();
    ASSERT_NE(document, nullptr);
    HMENU bar = ::GetMenu(frame->m_hWnd);
    HMENU edit = ::GetSubMenu(bar, 1);
    frame->UpdateMenuState(CMenu::FromHandle(edit));
    // Copy has a document handler, Paste has none, Grid is checked by the
    // view's update handler.
    EXPECT_TRUE(StateOf(edit, ID_EDIT_COPY).enabled);
    EXPECT_FALSE(StateOf(edit, ID_EDIT_PASTE).enabled);
    EXPECT_TRUE(StateOf(edit, kGridCommand).enabled);
    EXPECT_FALSE(StateOf(edit, kGridCommand).checked);

    Command(kGridCommand);
    frame->UpdateMenuState(CMenu::FromHandle(edit));
    EXPECT_TRUE(StateOf(edit, kGridCommand).checked);

    // A disabled item's command (through an accelerator) does nothing.
    g_log.clear();
    frame->SendMessage(WM_COMMAND, MAKEWPARAM(ID_EDIT_PASTE, 1), 0);
    EXPECT_TRUE(g_log.empty());
}

TEST_F(DocViewTest, NewWindowShowsTheSameDocumentAndUpdatesReachTheOtherViews)
{
    CTestDoc* document = NewDocument();
    ASSERT_NE(document, nullptr);
    CTestView* first = FirstView(document);
    Command(ID_WINDOW_NEW);
    ASSERT_EQ(document->GetViewCount(), 2);
    POSITION position = document->GetFirstViewPosition();
    document->GetNextView(position);
    auto* second = static_cast<CTestView*>(document->GetNextView(position));
    CString caption;
    second->GetParentFrame()->GetWindowText(caption);
    EXPECT_STREQ(caption, "Doc1:2");

    first->m_hints.clear();
    second->m_hints.clear();
    document->UpdateAllViews(first, 42);
    EXPECT_TRUE(first->m_hints.empty());
    EXPECT_EQ(second->m_hints, (std::vector<LPARAM>{42}));

    // Closing one window keeps the document; closing the last closes it.
    second->GetParentFrame()->SendMessage(WM_CLOSE);
    EXPECT_EQ(document->GetViewCount(), 1);
    EXPECT_EQ(m_app->m_docTemplate->m_docList.GetCount(), 1);
    first->GetParentFrame()->SendMessage(WM_CLOSE);
    EXPECT_EQ(m_app->m_docTemplate->m_docList.GetCount(), 0);
    EXPECT_EQ(m_app->Frame()->MDIGetActive(), nullptr);
    // Without a child the frame shows its own menu again.
    m_app->Frame()->OnUpdateFrameMenu(nullptr);
    EXPECT_EQ(::GetMenu(m_app->Frame()->m_hWnd), m_app->Frame()->m_hMenuDefault);
}

TEST_F(DocViewTest, SavedDocumentOpensWithItsDataNameAndRecentFileEntry)
{
    CTestDoc* document = NewDocument();
    ASSERT_NE(document, nullptr);
    document->m_text = "pocket with island";
    document->m_number = -77;
    document->SetModifiedFlag();
    const std::string path = TempPath("part.tst");
    ASSERT_TRUE(document->DoSave(path.c_str()));
    EXPECT_FALSE(document->IsModified());
    EXPECT_STREQ(document->GetTitle(), "part.tst");
    document->OnCloseDocument();

    CDocument* opened = m_app->OpenDocumentFile(path.c_str());
    ASSERT_NE(opened, nullptr);
    auto* reopened = static_cast<CTestDoc*>(opened);
    EXPECT_STREQ(reopened->m_text, "pocket with island");
    EXPECT_EQ(reopened->m_number, -77);
    EXPECT_STREQ(reopened->GetPathName(), path.c_str());
    ASSERT_NE(m_app->m_pRecentFileList, nullptr);
    EXPECT_STREQ((*m_app->m_pRecentFileList)[0], path.c_str());
    // Opening it again brings the open document forward.
    EXPECT_EQ(m_app->OpenDocumentFile(path.c_str()), opened);
    EXPECT_EQ(m_app->m_docTemplate->m_docList.GetCount(), 1);
}

TEST_F(DocViewTest, DamagedFilesAreRefusedWithAMessageAndLeaveNoDocument)
{
    struct DamagedCase {
        const char* name;
        std::string bytes;
    };
    const DamagedCase cases[] = {
        {"empty file", ""},
        {"text shorter than its length", std::string("\x20" "abc", 4)},
        {"number cut short", std::string("\x02" "ab\x01\x02", 5)},
        {"huge length prefix", std::string("\xFF\xFF\xFF\xFF\xFF\xFF\x7F", 7)},
    };
    for (const DamagedCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = TempPath("damaged.tst");
        std::ofstream(path, std::ios::binary) << c.bytes;
        m_requests.clear();
        EXPECT_EQ(m_app->OpenDocumentFile(path.c_str()), nullptr);
        EXPECT_EQ(m_app->m_docTemplate->m_docList.GetCount(), 0);
        ASSERT_EQ(m_requests.size(), 1u);
        EXPECT_EQ(m_requests[0].kind, DialogRequestKind::MessageBox);
        EXPECT_EQ(m_requests[0].text, "Unexpected file format.");
    }
    // A missing file is reported too.
    m_requests.clear();
    EXPECT_EQ(m_app->OpenDocumentFile(TempPath("missing.tst").c_str()), nullptr);
    EXPECT_EQ(m_requests.size(), 1u);
}

TEST_F(DocViewTest, ClosingAModifiedDocumentAsksWhetherToSave)
{
    struct CloseCase {
        const char* name;
        std::vector<DialogAnswer> answers;
        bool closed;
        bool savedFile;
    };
    const std::string path = TempPath("saved.tst");
    const CloseCase cases[] = {
        {"cancel keeps the document", {{IDCANCEL, "", 0}}, false, false},
        {"no closes without saving", {{IDNO, "", 0}}, true, false},
        {"yes asks for a name and saves", {{IDYES, "", 0}, {IDOK, path, 0}}, true, true},
        {"yes then cancelling the name keeps it", {{IDYES, "", 0}, {IDCANCEL, "", 0}}, false, false},
    };
    for (const CloseCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(path);
        CTestDoc* document = NewDocument();
        ASSERT_NE(document, nullptr);
        document->SetModifiedFlag();
        m_requests.clear();
        m_answers = c.answers;
        FirstView(document)->GetParentFrame()->SendMessage(WM_CLOSE);
        ASSERT_FALSE(m_requests.empty());
        EXPECT_EQ(m_requests[0].text, "Save changes to Doc" + std::to_string(m_app->m_docTemplate->m_nUntitledCount) + "?");
        EXPECT_EQ(m_requests[0].type & MB_TYPEMASK, MB_YESNOCANCEL);
        EXPECT_EQ(m_app->m_docTemplate->m_docList.GetCount(), c.closed ? 0 : 1);
        EXPECT_EQ(std::filesystem::exists(path), c.savedFile);
        if (!c.closed) {
            document->SetModifiedFlag(FALSE);
            document->OnCloseDocument();
        }
    }
}

TEST_F(DocViewTest, ClosingTheMainWindowAsksAboutEveryModifiedDocument)
{
    CTestDoc* first = NewDocument();
    CTestDoc* second = NewDocument();
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    first->SetModifiedFlag();
    second->SetModifiedFlag();
    // The second question is cancelled: nothing closes, nothing is lost.
    m_answers = {{IDNO, "", 0}, {IDCANCEL, "", 0}};
    m_app->Frame()->SendMessage(WM_CLOSE);
    ASSERT_EQ(m_requests.size(), 2u);
    EXPECT_EQ(m_requests[0].text, "Save changes to Doc1?");
    EXPECT_EQ(m_requests[1].text, "Save changes to Doc2?");
    ASSERT_NE(m_app->m_pMainWnd, nullptr);
    EXPECT_EQ(m_app->m_docTemplate->m_docList.GetCount(), 2);

    m_requests.clear();
    m_answers = {{IDNO, "", 0}, {IDNO, "", 0}};
    m_app->Frame()->SendMessage(WM_CLOSE);
    EXPECT_EQ(m_requests.size(), 2u);
    EXPECT_EQ(m_app->m_pMainWnd, nullptr);
    EXPECT_EQ(m_app->m_docTemplate->m_docList.GetCount(), 0);
}

TEST_F(DocViewTest, MessageLoopRunsIdleUpdatesAndEndsWhenTheMainWindowCloses)
{
    CTestDoc* document = NewDocument();
    ASSERT_NE(document, nullptr);
    CTestView* view = FirstView(document);
    int idleTurns = 0;
    SetIdleScript([&]() {
        ++idleTurns;
        if (idleTurns == 1) {
            // The view was painted before the loop went idle.
            EXPECT_GE(view->m_draws, 1);
            m_app->Frame()->PostMessage(WM_CLOSE);
            return true;
        }
        return false;
    });
    const int exitCode = m_app->Run();
    SetIdleScript(nullptr);
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(idleTurns, 1);
    EXPECT_EQ(m_app->m_pMainWnd, nullptr);
    EXPECT_EQ(m_app->m_docTemplate->m_docList.GetCount(), 0);
}

TEST_F(DocViewTest, ProfileSettingsAndRecentFilesPersistInTheRegistry)
{
    EXPECT_EQ(m_app->GetProfileInt("Settings", "Zoom", 7), 7u);
    EXPECT_TRUE(m_app->WriteProfileInt("Settings", "Zoom", -3));
    EXPECT_EQ(static_cast<int>(m_app->GetProfileInt("Settings", "Zoom", 7)), -3);
    EXPECT_TRUE(m_app->WriteProfileString("Settings", "Language", "EN"));
    EXPECT_STREQ(m_app->GetProfileString("Settings", "Language", "DE"), "EN");
    const BYTE bytes[] = {1, 0, 255};
    EXPECT_TRUE(m_app->WriteProfileBinary("Bars", "State", bytes, sizeof bytes));
    std::vector<BYTE> read;
    EXPECT_TRUE(m_app->GetProfileBinary("Bars", "State", read));
    EXPECT_EQ(read, (std::vector<BYTE>{1, 0, 255}));
    EXPECT_TRUE(m_app->WriteProfileString("Settings", "Language", nullptr));
    EXPECT_STREQ(m_app->GetProfileString("Settings", "Language", "DE"), "DE");

    // Five files into a list of four: the oldest drops out; a repeat moves
    // to the front.
    for (const char* name : {"a.tst", "b.tst", "c.tst", "d.tst", "e.tst", "c.tst"}) {
        m_app->AddToRecentFileList(name);
    }
    m_app->SaveStdProfileSettings();
    CTestApp second;
    second.SetRegistryKey("Nuvex Framework Tests");
    second.LoadStdProfileSettings(4);
    ASSERT_NE(second.m_pRecentFileList, nullptr);
    std::vector<std::string> files;
    for (int i = 0; i < second.m_pRecentFileList->GetCount(); ++i) {
        files.emplace_back((*second.m_pRecentFileList)[i].GetString());
    }
    EXPECT_EQ(files, (std::vector<std::string>{"c.tst", "e.tst", "d.tst", "b.tst"}));
}

TEST_F(DocViewTest, RecentFilesAppearInTheFileMenu)
{
    m_app->AddToRecentFileList("/work/one.tst");
    m_app->AddToRecentFileList("/work/two.tst");
    NewDocument();
    HMENU file = ::GetSubMenu(::GetMenu(m_app->Frame()->m_hWnd), 0);
    m_app->Frame()->UpdateMenuState(CMenu::FromHandle(file));
    CString first;
    CString second;
    CMenu::FromHandle(file)->GetMenuString(ID_FILE_MRU_FILE1, first, MF_BYCOMMAND);
    CMenu::FromHandle(file)->GetMenuString(ID_FILE_MRU_FILE2, second, MF_BYCOMMAND);
    EXPECT_STREQ(first, "&1 two.tst");
    EXPECT_STREQ(second, "&2 one.tst");
    EXPECT_TRUE(StateOf(file, ID_FILE_MRU_FILE2).enabled);
    EXPECT_EQ(::GetMenuItemID(file, 3), ID_FILE_MRU_FILE2);
    EXPECT_EQ(::GetMenuItemID(file, 4), 0u);  // the separator after the list
}

TEST(CommandLineTest, StandardSwitchesAndFileNames)
{
    struct CommandLineCase {
        const char* name;
        std::vector<const char*> args;
        CCommandLineInfo::ShellCommand command;
        const char* file;
        bool embedded;
    };
    const CommandLineCase cases[] = {
        {"nothing makes a new document", {}, CCommandLineInfo::FileNew, "", false},
        {"a file opens it", {"part.nvx"}, CCommandLineInfo::FileOpen, "part.nvx", false},
        {"print", {"/p", "part.nvx"}, CCommandLineInfo::FilePrint, "part.nvx", false},
        {"embedded server makes nothing", {"-Embedding"}, CCommandLineInfo::FileNothing, "", true},
        {"registration", {"/RegServer"}, CCommandLineInfo::AppRegister, "", false},
        {"unregistration", {"/unregserver"}, CCommandLineInfo::AppUnregister, "", false},
        {"shell open through dde", {"/dde"}, CCommandLineInfo::FileDDE, "", false},
    };
    for (const CommandLineCase& c : cases) {
        SCOPED_TRACE(c.name);
        CWinApp app("CommandLine");
        app.SetCommandLine(static_cast<int>(c.args.size()), c.args.data());
        CCommandLineInfo info;
        app.ParseCommandLine(info);
        EXPECT_EQ(info.m_nShellCommand, c.command);
        EXPECT_STREQ(info.m_strFileName, c.file);
        EXPECT_EQ(info.m_bRunEmbedded != FALSE, c.embedded);
    }
}

} // namespace
