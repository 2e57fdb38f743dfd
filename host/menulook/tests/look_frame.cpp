// The demo frame of the library's classes.
#include "host/menulook/tests/look_frame.h"

#include <algorithm>
#include <iterator>

#include "platform/framework/cmdui.h"

#include "host/menulook/tests/menu_test_support.h"
#include "platform/framework/ids.h"
#include "platform/kernel/resource_records.h"

namespace {

MenuTemplateItem Item(const char* text, UINT id)
{
    MenuTemplateItem item;
    item.text = text;
    item.id = id;
    return item;
}

MenuTemplateItem Separator()
{
    MenuTemplateItem item;
    item.flags = kMenuSeparator;
    return item;
}

MenuTemplateItem Popup(const char* text, std::vector<MenuTemplateItem> children)
{
    MenuTemplateItem item;
    item.flags = kMenuPopup;
    item.text = text;
    item.children = std::move(children);
    return item;
}

MenuTemplate FrameMenu()
{
    MenuTemplate menu;
    menu.items = {
        Popup("&File", {Item("&New\tCtrl+N", kCmdNew), Item("&Open...", kCmdOpen), Item("&Save", kCmdSave), Separator(),
                        Item("E&xit", kCmdExit)}),
        Popup("&Edit", {Item("Cu&t", kCmdCut), Item("&Copy", kCmdCopy), Item("&Paste", kCmdPaste)}),
        Popup("&View", {Item("&Toolbar", ID_VIEW_TOOLBAR), Item("&Status Bar", ID_VIEW_STATUS_BAR)}),
        Popup("&Window", {Item("&Cascade", kCmdCascade)}),
        Popup("&Help", {Item("&About", kCmdAbout)}),
    };
    return menu;
}

} // namespace

LookFrameResources::LookFrameResources()
{
    m_menu = EncodeMenuTemplate(FrameMenu());
    m_entries[0] = {kResourceMenu, static_cast<WORD>(kLookFrameId), m_menu.data(), static_cast<DWORD>(m_menu.size())};
    RegisterModuleResources(reinterpret_cast<const void*>(&FrameMenu), m_entries, 1);
}

LookFrameResources::~LookFrameResources() { UnregisterModuleResources(m_entries); }

CLookFrame* CLookFrame::Open(const RECT& rect)
{
    auto* frame = new CLookFrame();
    if (!frame->LoadFrame(kLookFrameId, WS_OVERLAPPEDWINDOW, nullptr, nullptr)) {
        delete frame;
        return nullptr;
    }
    frame->WindowMenu().LoadToolBar(kToolBarId);
    frame->SetWindowPos(nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                        SWP_NOZORDER | SWP_NOACTIVATE);
    frame->ShowWindow(SW_SHOW);
    frame->UpdateWindow();
    frame->IdleUpdate();
    return frame;
}

int CLookFrame::CreateBars()
{
    EnableDocking(CBRS_ALIGN_ANY);
    if (!m_menuBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_GRIPPER | CBRS_SIZE_DYNAMIC)) {
        return -1;
    }
    m_menuBar.EnableDocking(CBRS_ALIGN_ANY);
    DockControlBar(&m_menuBar, AFX_IDW_DOCKBAR_TOP);
    if (!m_toolBar.CreateEx(this, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_GRIPPER | CBRS_TOOLTIPS,
                            CRect(0, 0, 0, 0), AFX_IDW_TOOLBAR) ||
        !m_toolBar.LoadToolBar(kToolBarId)) {
        return -1;
    }
    m_toolBar.SetDropDown(kCmdOpen);
    m_toolBar.EnableDocking(CBRS_ALIGN_ANY);
    DockControlBar(&m_toolBar, AFX_IDW_DOCKBAR_TOP);
    if (!m_statusBar.Create(this)) {
        return -1;
    }
    const UINT panes[] = {0, kPaneCoordinates};
    m_statusBar.SetIndicators(panes, 2);
    m_statusBar.SetPaneInfo(0, 0, SBPS_STRETCH, 100);
    m_statusBar.SetPaneInfo(1, kPaneCoordinates, SBPS_NORMAL, 90);
    m_statusBar.SetPaneText(0, "Ready");
    m_statusBar.SetPaneText(1, "X 12.5  Y 40");
    return 0;
}

BOOL CLookFrame::OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo)
{
    const UINT commands[] = {kCmdNew, kCmdOpen, kCmdCut, kCmdPrint, kCmdCopy, kCmdPaste, kCmdAbout, kCmdExit};
    const bool ours = std::find(std::begin(commands), std::end(commands), id) != std::end(commands);
    if (ours && code == CN_UPDATE_COMMAND_UI && extra != nullptr) {
        static_cast<CCmdUI*>(extra)->Enable(TRUE);
        return TRUE;
    }
    if (ours && code == CN_COMMAND && handlerInfo == nullptr) {
        m_commands.push_back(id);
        return TRUE;
    }
    return CNewMDIFrameWnd::OnCmdMsg(id, code, extra, handlerInfo);
}

LRESULT CLookFrame::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    const LRESULT result = CNewMDIFrameWnd::WindowProc(message, wParam, lParam);
    if (message == WM_CREATE && result != -1) {
        return CreateBars();
    }
    return result;
}

BOOL CLookFrame::PreTranslateMessage(MSG* msg)
{
    if (m_menuBar.TranslateFrameMessage(msg)) {
        return TRUE;
    }
    return CNewMDIFrameWnd::PreTranslateMessage(msg);
}

void CLookFrame::IdleUpdate()
{
    SendMessage(WM_IDLEUPDATECMDUI, TRUE, 0);
    SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE);
    PumpFrameMessages(*this);
    RecalcLayout();
    PumpFrameMessages(*this);
}

CNewMDIChildWnd* CLookFrame::OpenChild(const char* title)
{
    auto* child = new CNewMDIChildWnd();
    if (!child->Create(nullptr, title, WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, CRect(10, 10, 200, 150), this)) {
        delete child;
        return nullptr;
    }
    return child;
}

void PumpFrameMessages(CLookFrame& frame)
{
    MSG msg{};
    for (int guard = 0; guard < 10000 && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE) != FALSE; ++guard) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        if (!CWnd::WalkPreTranslateTree(frame.GetSafeHwnd(), &msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
}

void LookFrameTest::SetUp()
{
    MenuLookTest::SetUp();
    m_frameResources = std::make_unique<LookFrameResources>();
    m_frame = CLookFrame::Open(RECT{0, 0, 500, 300});
    ASSERT_NE(m_frame, nullptr);
    ::SetFocus(m_frame->GetSafeHwnd());
}

void LookFrameTest::TearDown()
{
    SetIdleScript(nullptr);
    if (m_frame != nullptr && ::IsWindow(m_frame->GetSafeHwnd())) {
        ::DestroyWindow(m_frame->GetSafeHwnd());
    }
    m_frameResources.reset();
    MenuLookTest::TearDown();
}
