// Command routing through a chain of command targets (view with a base
// class, document, frame, application), command-UI updates and the other
// message-map entries.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/framework/cmdtarget.h"
#include "platform/framework/cmdui.h"

namespace {

using Log = std::vector<std::string>;

constexpr UINT kCut = 57635;
constexpr UINT kCopy = 57634;
constexpr UINT kSave = 57603;
constexpr UINT kPrint = 57607;
constexpr UINT kAbout = 57664;
constexpr UINT kZoom = 32790;
constexpr UINT kToolFirst = 32800;
constexpr UINT kToolLast = 32805;
constexpr UINT kUnknown = 40000;
constexpr UINT kTreeId = 1001;
constexpr int kTreeClick = -2;
constexpr UINT kPing = 0x0401;
constexpr UINT kEditId = 1002;
constexpr UINT kEditChanged = 0x0300;

UINT g_registeredMessage = 0;

class CRecordingTarget : public CCmdTarget {
public:
    CRecordingTarget(Log& log, const char* name) : m_log(log), m_name(name) {}

protected:
    void Note(const std::string& what) { m_log.push_back(m_name + "." + what); }

    Log& m_log;
    std::string m_name;
};

class CViewBase : public CRecordingTarget {
public:
    using CRecordingTarget::CRecordingTarget;
    bool m_hasSelection = false;

protected:
    void OnCut() { Note("OnCut"); }
    void OnCopy() { Note("OnCopy"); }
    void OnUpdateCopy(CCmdUI* cmdUI) { cmdUI->Enable(m_hasSelection); }
    void OnTool(UINT id) { Note("OnTool " + std::to_string(id)); }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CViewBase, CCmdTarget)
    ON_COMMAND(kCut, OnCut)
    ON_COMMAND(kCopy, OnCopy)
    ON_UPDATE_COMMAND_UI(kCopy, OnUpdateCopy)
    ON_COMMAND_RANGE(kToolFirst, kToolLast, OnTool)
END_MESSAGE_MAP()

class CTestView : public CViewBase {
public:
    using CViewBase::CViewBase;
    UINT m_currentTool = kToolFirst + 2;
    NMHDR* m_lastHeader = nullptr;

protected:
    void OnCopyWithFormats() { Note("OnCopyWithFormats"); }
    void OnZoom() { Note("OnZoom"); }
    BOOL OnSaveEx(UINT id)
    {
        Note("OnSaveEx declines " + std::to_string(id));
        return FALSE;
    }
    void OnUpdateTool(CCmdUI* cmdUI) { cmdUI->SetRadio(cmdUI->m_nID == m_currentTool); }
    void OnTreeClick(NMHDR* header, LRESULT* result)
    {
        Note("OnTreeClick");
        m_lastHeader = header;
        *result = 1;
    }
    LRESULT OnPing(WPARAM wParam, LPARAM lParam)
    {
        Note("OnPing");
        return static_cast<LRESULT>(wParam) + lParam;
    }
    void OnEditChanged() { Note("OnEditChanged"); }
    LRESULT OnRegistered(WPARAM, LPARAM)
    {
        Note("OnRegistered");
        return 7;
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestView, CViewBase)
    ON_COMMAND(kCopy, OnCopyWithFormats)
    ON_COMMAND(kZoom, OnZoom)
    ON_COMMAND_EX(kSave, OnSaveEx)
    ON_UPDATE_COMMAND_UI_RANGE(kToolFirst, kToolLast, OnUpdateTool)
    ON_NOTIFY(kTreeClick, kTreeId, OnTreeClick)
    ON_MESSAGE(kPing, OnPing)
    ON_CONTROL(kEditChanged, kEditId, OnEditChanged)
    ON_REGISTERED_MESSAGE(g_registeredMessage, OnRegistered)
END_MESSAGE_MAP()

class CTestDocument : public CRecordingTarget {
public:
    using CRecordingTarget::CRecordingTarget;
    bool m_modified = true;

protected:
    void OnSave() { Note("OnSave"); }
    void OnUpdateSave(CCmdUI* cmdUI)
    {
        cmdUI->Enable(m_modified);
        cmdUI->SetText(m_modified ? "Save*" : "Save");
    }
    void OnUpdatePrint(CCmdUI* cmdUI)
    {
        Note("OnUpdatePrint routes on");
        cmdUI->ContinueRouting();
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestDocument, CCmdTarget)
    ON_COMMAND(kSave, OnSave)
    ON_UPDATE_COMMAND_UI(kSave, OnUpdateSave)
    ON_UPDATE_COMMAND_UI(kPrint, OnUpdatePrint)
END_MESSAGE_MAP()

class CTestApp : public CRecordingTarget {
public:
    using CRecordingTarget::CRecordingTarget;

protected:
    void OnAbout() { Note("OnAbout"); }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestApp, CCmdTarget)
    ON_COMMAND(kAbout, OnAbout)
END_MESSAGE_MAP()

// Routes as a frame does: the active view, the view's document, the frame
// itself, then the application.
class CTestFrame : public CRecordingTarget {
public:
    CTestFrame(Log& log, CCmdTarget& view, CCmdTarget& document, CCmdTarget& app)
        : CRecordingTarget(log, "frame"), m_view(view), m_document(document), m_app(app)
    {
    }

    BOOL OnCmdMsg(UINT id, int code, void* pExtra, AFX_CMDHANDLERINFO* handlerInfo) override
    {
        return m_view.OnCmdMsg(id, code, pExtra, handlerInfo) || m_document.OnCmdMsg(id, code, pExtra, handlerInfo) ||
               CCmdTarget::OnCmdMsg(id, code, pExtra, handlerInfo) || m_app.OnCmdMsg(id, code, pExtra, handlerInfo);
    }

protected:
    void OnUpdatePrint(CCmdUI* cmdUI)
    {
        Note("OnUpdatePrint");
        cmdUI->SetCheck(1);
    }

    DECLARE_MESSAGE_MAP()

private:
    CCmdTarget& m_view;
    CCmdTarget& m_document;
    CCmdTarget& m_app;
};

BEGIN_MESSAGE_MAP(CTestFrame, CCmdTarget)
    ON_UPDATE_COMMAND_UI(kPrint, OnUpdatePrint)
END_MESSAGE_MAP()

// Keeps the state that update handlers asked for, as a menu item would show
// it.
class CRecordingCmdUI : public CCmdUI {
public:
    explicit CRecordingCmdUI(UINT id) { m_nID = id; }
    void Enable(BOOL on) override
    {
        enabled = on != FALSE;
        CCmdUI::Enable(on);
    }
    void SetCheck(int value) override { check = value; }
    void SetText(const char* value) override { text = value; }

    std::optional<bool> enabled;
    std::optional<int> check;
    std::optional<std::string> text;
};

class CommandRouting : public ::testing::Test {
protected:
    Log m_log;
    CTestView m_view{m_log, "view"};
    CTestDocument m_document{m_log, "document"};
    CTestApp m_app{m_log, "app"};
    CTestFrame m_frame{m_log, m_view, m_document, m_app};
};

TEST_F(CommandRouting, CommandsReachTheFirstTargetWithAHandler)
{
    struct RouteCase {
        const char* name;
        UINT id;
        bool handled;
        Log log;
    };
    const RouteCase kCases[] = {
        {"own_entry_before_base_entry", kCopy, true, {"view.OnCopyWithFormats"}},
        {"base_class_map", kCut, true, {"view.OnCut"}},
        {"range_gets_the_id", kToolFirst + 3, true, {"view.OnTool 32803"}},
        {"range_last_id", kToolLast, true, {"view.OnTool 32805"}},
        {"view_declines_document_handles", kSave, true, {"view.OnSaveEx declines 57603", "document.OnSave"}},
        {"application_last", kAbout, true, {"app.OnAbout"}},
        {"nobody", kUnknown, false, {}},
        {"just_past_range", kToolLast + 1, false, {}},
    };
    for (const RouteCase& c : kCases) {
        SCOPED_TRACE(c.name);
        m_log.clear();
        EXPECT_EQ(m_frame.OnCmdMsg(c.id, CN_COMMAND, nullptr, nullptr) != FALSE, c.handled);
        EXPECT_EQ(m_log, c.log);
    }
}

TEST_F(CommandRouting, HandlerQueriesCallNothing)
{
    AFX_CMDHANDLERINFO info{};
    ASSERT_TRUE(m_frame.OnCmdMsg(kAbout, CN_COMMAND, nullptr, &info));
    EXPECT_EQ(info.pTarget, &m_app);
    ASSERT_NE(info.pEntry, nullptr);
    EXPECT_EQ(info.pEntry->nID, kAbout);
    ASSERT_TRUE(m_view.OnCmdMsg(kToolFirst + 1, CN_COMMAND, nullptr, &info));
    EXPECT_EQ(info.pEntry->nSig, AfxSig_cmdRange);
    EXPECT_FALSE(m_frame.OnCmdMsg(kUnknown, CN_COMMAND, nullptr, &info));
    EXPECT_TRUE(m_log.empty());
}

TEST_F(CommandRouting, UpdateHandlersSetTheItemState)
{
    struct UpdateCase {
        const char* name;
        UINT id;
        BOOL disableIfNoHandler;
        bool handled;
        std::optional<bool> enabled;
        std::optional<int> check;
        std::optional<std::string> text;
    };
    const UpdateCase kCases[] = {
        {"disabled_without_selection", kCopy, TRUE, true, false, {}, {}},
        {"radio_on_current_tool", kToolFirst + 2, TRUE, true, {}, 1, {}},
        {"radio_off_other_tool", kToolFirst + 4, TRUE, true, {}, 0, {}},
        {"document_state_and_text", kSave, TRUE, true, true, {}, "Save*"},
        {"continue_routing_reaches_frame", kPrint, TRUE, true, {}, 1, {}},
        {"command_handler_enables", kAbout, TRUE, false, true, {}, {}},
        {"no_handler_disables", kUnknown, TRUE, false, false, {}, {}},
        {"no_handler_left_alone", kUnknown, FALSE, false, {}, {}, {}},
        {"separator_left_alone", 0, TRUE, true, {}, {}, {}},
    };
    for (const UpdateCase& c : kCases) {
        SCOPED_TRACE(c.name);
        CRecordingCmdUI item(c.id);
        EXPECT_EQ(item.DoUpdate(&m_frame, c.disableIfNoHandler) != FALSE, c.handled);
        EXPECT_EQ(item.enabled, c.enabled);
        EXPECT_EQ(item.check, c.check);
        EXPECT_EQ(item.text, c.text);
    }
    EXPECT_EQ(m_log, (Log{"document.OnUpdatePrint routes on", "frame.OnUpdatePrint"}))
        << "update handlers run no commands";
}

TEST_F(CommandRouting, UpdatesFollowTheTargetsState)
{
    m_view.m_hasSelection = true;
    m_document.m_modified = false;
    m_view.m_currentTool = kToolFirst + 4;
    CRecordingCmdUI copy(kCopy);
    CRecordingCmdUI save(kSave);
    CRecordingCmdUI tool(kToolFirst + 4);
    copy.DoUpdate(&m_frame, TRUE);
    save.DoUpdate(&m_frame, TRUE);
    tool.DoUpdate(&m_frame, TRUE);
    EXPECT_EQ(copy.enabled, true);
    EXPECT_EQ(save.enabled, false);
    EXPECT_EQ(save.text, "Save");
    EXPECT_EQ(tool.check, 1);
}

TEST_F(CommandRouting, NotificationsAndMessages)
{
    LRESULT result = 0;
    int header = 0;
    AFX_NOTIFY notify{&result, reinterpret_cast<NMHDR*>(&header)};
    EXPECT_TRUE(m_frame.OnCmdMsg(kTreeId, static_cast<int>(MAKELONG(static_cast<WORD>(kTreeClick), 0x004E)),
                                 &notify, nullptr));
    EXPECT_EQ(result, 1);
    EXPECT_EQ(m_view.m_lastHeader, reinterpret_cast<NMHDR*>(&header));
    EXPECT_FALSE(m_frame.OnCmdMsg(kTreeId + 1, static_cast<int>(MAKELONG(static_cast<WORD>(kTreeClick), 0x004E)),
                                  &notify, nullptr));
    EXPECT_FALSE(m_view.OnCmdMsg(kTreeId, CN_COMMAND, nullptr, nullptr)) << "a notification entry is no command";

    result = 0;
    EXPECT_TRUE(m_view.DispatchMapMessage(kPing, 2, 3, &result));
    EXPECT_EQ(result, 5);
    EXPECT_FALSE(m_view.DispatchMapMessage(kPing + 1, 2, 3, &result));

    EXPECT_FALSE(m_view.DispatchMapMessage(0xC123, 0, 0, &result)) << "the variable is not set yet";
    g_registeredMessage = 0xC123;
    EXPECT_TRUE(m_view.DispatchMapMessage(0xC123, 0, 0, &result));
    EXPECT_EQ(result, 7);
    g_registeredMessage = 0;

    EXPECT_TRUE(m_view.DispatchMapMessage(0x0111, MAKELONG(static_cast<WORD>(kZoom), 0), 0, nullptr));
    EXPECT_FALSE(m_view.DispatchMapMessage(0x0111, MAKELONG(static_cast<WORD>(kAbout), 0), 0, nullptr));
    EXPECT_TRUE(m_view.DispatchMapMessage(0x0111, MAKELONG(static_cast<WORD>(kEditId), kEditChanged), 0, nullptr));
    EXPECT_FALSE(m_view.DispatchMapMessage(0x0111, MAKELONG(static_cast<WORD>(kEditId), 0), 0, nullptr))
        << "a control entry is no menu command";
    EXPECT_EQ(m_log, (Log{"view.OnTreeClick", "view.OnPing", "view.OnRegistered", "view.OnZoom", "view.OnEditChanged"}));
}

} // namespace
