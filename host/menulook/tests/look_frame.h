// A demo frame of the library's classes for the tests: an MDI frame with a
// menu bar, a toolbar with a drop-down button, a status bar with panes and
// a grip, and an MDI child; its menus and tool bar are resources the
// fixture registers for the test program.
#pragma once

#include <memory>
#include <vector>

#include "host/menulook/new_frames.h"
#include "host/menulook/new_menu_bar.h"
#include "host/menulook/new_status_bar.h"
#include "host/menulook/new_tool_bar.h"
#include "host/menulook/tests/menu_test_support.h"
#include "platform/kernel/resource.h"

// The frame's resource id (menu) and commands.
inline constexpr UINT kLookFrameId = 910;
inline constexpr UINT kCmdAbout = 57664;
inline constexpr UINT kCmdExit = 57665;
inline constexpr UINT kCmdCopy = 57634;
inline constexpr UINT kCmdPaste = 57637;
inline constexpr UINT kCmdCascade = 57650;
inline constexpr UINT kPaneCoordinates = 911;

// The menu resource of the frame.
class LookFrameResources {
public:
    LookFrameResources();
    ~LookFrameResources();
    LookFrameResources(const LookFrameResources&) = delete;
    LookFrameResources& operator=(const LookFrameResources&) = delete;

private:
    std::vector<uint8_t> m_menu;
    ResourceEntry m_entries[1];
};

class CLookFrame : public CNewMDIFrameWnd {
public:
    // Creates the frame at the rectangle with its bars; null on failure.
    static CLookFrame* Open(const RECT& rect);
    // Takes the bar's idle updates (the menu, the bars' states) now.
    void IdleUpdate();
    // An MDI child of the frame.
    CNewMDIChildWnd* OpenChild(const char* title);
    BOOL PreTranslateMessage(MSG* msg) override;
    // The fixture's commands are enabled and recorded.
    BOOL OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo) override;

    CNewMenuBar m_menuBar;
    CNewToolBar m_toolBar;
    CNewStatusBar m_statusBar;
    std::vector<UINT> m_commands; // WM_COMMAND ids the frame received

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    int CreateBars();
};

// Takes queued messages through the frame's translation (as the
// program's loop does) until the queue is empty.
void PumpFrameMessages(CLookFrame& frame);

// A test with the demo frame open at (0, 0, 500, 300), the focus in it.
class LookFrameTest : public MenuLookTest {
protected:
    void SetUp() override;
    void TearDown() override;

    std::unique_ptr<LookFrameResources> m_frameResources;
    CLookFrame* m_frame = nullptr;
};
