// MPCStatusBar: the main frame's status bar in the bar library's flat look,
// with panes that can be inserted at run time and child controls (the
// command-line edit, the progress bar) that live in panes and follow them
// whenever the bar is resized or its panes change. A control names its pane
// by indicator id, so it stays in its pane when other panes are inserted.
#pragma once

#include <memory>
#include <vector>

#include "host/menulook/new_status_bar.h"
#include "platform/framework/cstring.h"
#include "platform/framework/object.h"

class CWnd;

// A control placed in a pane. With auto-delete the status bar deletes the
// control (and so its window) when the bar is destroyed.
class MPCStatusBarPaneControlInfo : public CObject {
    DECLARE_DYNCREATE(MPCStatusBarPaneControlInfo)
public:
    CWnd* m_hWnd = nullptr;
    UINT m_nPaneID = 0;
    BOOL m_bAutodelete = TRUE;
};

// A snapshot of one pane while the indicator list is rebuilt.
class MPCStatusBarPane : public CObject {
public:
    MPCStatusBarPane() = default;
    MPCStatusBarPane(const MPCStatusBarPane& other) : CObject() { *this = other; }
    MPCStatusBarPane& operator=(const MPCStatusBarPane& other)
    {
        if (this != &other) {
            nID = other.nID;
            cxText = other.cxText;
            nStyle = other.nStyle;
            strText = other.strText;
        }
        return *this;
    }

    UINT nID = 0;
    int cxText = 0;
    UINT nStyle = 0;
    CString strText;
};

class MPCStatusBar : public CNewStatusBar {
    DECLARE_DYNCREATE(MPCStatusBar)
public:
    // The width a pane inserted by AddIndicator has until it is set.
    static constexpr int kNewPaneWidth = 50;
    // The pane style bit whose control fills the whole pane.
    static constexpr UINT kFillPaneStyle = 0x1;

    MPCStatusBar() = default;
    ~MPCStatusBar() override;
    MPCStatusBar(const MPCStatusBar&) = delete;
    MPCStatusBar& operator=(const MPCStatusBar&) = delete;

    // Attaches `control` (a child window of the bar) to the pane with
    // `paneId`; FALSE, with nothing changed, when no pane has that id or the
    // pane already holds a control.
    BOOL AddControl(CWnd* control, UINT paneId, BOOL autoDelete = TRUE);
    // The first record of the pane, or null.
    MPCStatusBarPaneControlInfo* GetPaneControlInfo(UINT paneId);
    // Inserts an empty pane with `paneId` at `position` (clamped to the
    // panes; the pane count appends); FALSE, with nothing changed, when a
    // pane has that id already.
    BOOL AddIndicator(int position, UINT paneId);
    void SetPaneWidth(int index, int width);
    // FALSE for an index outside the panes.
    BOOL GetPaneRecord(int index, MPCStatusBarPane& out) const;
    // Moves every attached control into its pane.
    void PositionControls();

    const std::vector<std::unique_ptr<MPCStatusBarPaneControlInfo>>& ControlRecords() const { return m_controls; }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    std::vector<std::unique_ptr<MPCStatusBarPaneControlInfo>> m_controls;
};
