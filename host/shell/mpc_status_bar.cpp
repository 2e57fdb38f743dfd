// MPCStatusBar: pane insertion and the controls that live in panes.
#include "host/shell/mpc_status_bar.h"

#include "platform/controls/commctrl.h"
#include "platform/framework/wnd.h"
#include "platform/user/winuser.h"

IMPLEMENT_DYNCREATE(MPCStatusBarPaneControlInfo, CObject)
IMPLEMENT_DYNCREATE(MPCStatusBar, CNewStatusBar)

MPCStatusBar::~MPCStatusBar()
{
    // Controls the bar owns go with it; the others stay with their owners.
    for (std::unique_ptr<MPCStatusBarPaneControlInfo>& record : m_controls) {
        if (record->m_bAutodelete) {
            delete record->m_hWnd;
        }
        record->m_hWnd = nullptr;
    }
    m_controls.clear();
}

MPCStatusBarPaneControlInfo* MPCStatusBar::GetPaneControlInfo(UINT paneId)
{
    for (std::unique_ptr<MPCStatusBarPaneControlInfo>& record : m_controls) {
        if (record->m_nPaneID == paneId) {
            return record.get();
        }
    }
    return nullptr;
}

BOOL MPCStatusBar::AddControl(CWnd* control, UINT paneId, BOOL autoDelete)
{
    if (control == nullptr || GetPaneControlInfo(paneId) != nullptr || CommandToIndex(paneId) < 0) {
        return FALSE;
    }
    auto record = std::make_unique<MPCStatusBarPaneControlInfo>();
    record->m_hWnd = control;
    record->m_nPaneID = paneId;
    record->m_bAutodelete = autoDelete;
    m_controls.push_back(std::move(record));
    PositionControls();
    Invalidate(TRUE);
    return TRUE;
}

BOOL MPCStatusBar::GetPaneRecord(int index, MPCStatusBarPane& out) const
{
    if (index < 0 || index >= GetCount()) {
        return FALSE;
    }
    GetPaneInfo(index, out.nID, out.nStyle, out.cxText);
    out.strText = GetPaneText(index);
    return TRUE;
}

BOOL MPCStatusBar::AddIndicator(int position, UINT paneId)
{
    // 1. Every pane as it is now.
    std::vector<MPCStatusBarPane> panes;
    for (MPCStatusBarPane pane; GetPaneRecord(static_cast<int>(panes.size()), pane);) {
        panes.push_back(pane);
    }
    // 2. The position within the panes; the pane count appends.
    const int count = static_cast<int>(panes.size());
    if (position < 0) {
        position = 0;
    }
    if (position > count) {
        position = count > 0 ? count - 1 : 0;
    }
    // 3. An id is one pane's only.
    for (const MPCStatusBarPane& pane : panes) {
        if (pane.nID == paneId) {
            return FALSE;
        }
    }
    // 4. The new pane in its place.
    MPCStatusBarPane added;
    added.nID = paneId;
    const auto inserted = static_cast<size_t>(position);
    panes.insert(panes.begin() + static_cast<std::ptrdiff_t>(inserted), added);

    // 5. The indicators anew; the old panes get back what they had.
    SetRedraw(FALSE);
    std::vector<UINT> ids;
    ids.reserve(panes.size());
    for (const MPCStatusBarPane& pane : panes) {
        ids.push_back(pane.nID);
    }
    SetIndicators(ids.data(), static_cast<int>(ids.size()));
    for (size_t i = 0; i < panes.size(); ++i) {
        const int index = static_cast<int>(i);
        if (i == inserted) {
            SetPaneInfo(index, paneId, GetPaneStyle(index), kNewPaneWidth);
            SetPaneText(index, "", TRUE);
        } else {
            SetPaneInfo(index, panes[i].nID, panes[i].nStyle, panes[i].cxText);
            SetPaneText(index, panes[i].strText, TRUE);
        }
    }
    // 6. Shown again, the controls in their (maybe moved) panes.
    SetRedraw(TRUE);
    PositionControls();
    Invalidate(TRUE);
    return TRUE;
}

void MPCStatusBar::SetPaneWidth(int index, int width)
{
    UINT id = 0;
    UINT style = 0;
    int oldWidth = 0;
    GetPaneInfo(index, id, style, oldWidth);
    SetPaneInfo(index, id, style, width);
}

void MPCStatusBar::PositionControls()
{
    if (m_hWnd == nullptr) {
        return;
    }
    int horizontal = 0;
    int vertical = 0;
    int spacing = 0;
    GetStatusBarCtrl().GetBorders(horizontal, vertical, spacing);
    for (const std::unique_ptr<MPCStatusBarPaneControlInfo>& record : m_controls) {
        const int index = CommandToIndex(record->m_nPaneID);
        if (index < 0 || record->m_hWnd == nullptr || record->m_hWnd->GetSafeHwnd() == nullptr) {
            continue;
        }
        RECT rect{};
        GetPaneRect(index, &rect);
        // A pane with the fill bit gives its control all of it; the others
        // keep the bar's borders round it.
        if ((GetPaneStyle(index) & kFillPaneStyle) == 0) {
            rect.top += vertical;
            rect.bottom -= vertical;
            rect.left += horizontal + spacing;
            rect.right -= horizontal + spacing;
        }
        record->m_hWnd->MoveWindow(&rect, TRUE);
    }
}

LRESULT MPCStatusBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SIZE: {
        const LRESULT result = CNewStatusBar::WindowProc(message, wParam, lParam);
        PositionControls();
        return result;
    }
    case WM_ERASEBKGND:
        return TRUE;
    default:
        return CNewStatusBar::WindowProc(message, wParam, lParam);
    }
}
