// CScrollTabCtrl: the tab control of a pane group, tabs at the bottom. The
// control-panel pages share one scrolling area inside it: a viewport and,
// in the viewport, the page dialog (CScrollPageDialog) that holds the panel
// controls. When the page dialog is larger than the viewport, 14-pixel
// scroll bars appear and move it.
#pragma once

#include "platform/framework/commonctrls.h"
#include "platform/framework/ctrls.h"
#include "platform/framework/dialog.h"

class CPaneGroupDialog;

// The parent of every panel control. It hands their commands and spin
// changes to the selected page's current panel; a notification that arises
// while an owner handles another is dropped.
class CScrollPageDialog final : public CDialog {
public:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    bool IsForwarding() const { return m_forwarding; }

private:
    CPaneGroupDialog* Group() const;
    bool m_forwarding = false;
};

// The scroll bars' control IDs.
inline constexpr UINT kPageVerticalScrollId = 67;
inline constexpr UINT kPageHorizontalScrollId = 68;
// Their thickness, and what the viewport gives up for one.
inline constexpr int kPageScrollBarSize = 12;
inline constexpr int kPageScrollBarSpace = 14;
// A line of scrolling.
inline constexpr int kPageScrollLine = 5;

struct ScrollAxis {
    int page = 0;    // the visible extent
    int maximum = 0; // the page dialog's extent - 1
    bool shown = false;
};

class CScrollTabCtrl final : public CTabCtrl {
    DECLARE_DYNAMIC(CScrollTabCtrl)
public:
    CScrollTabCtrl() = default;
    ~CScrollTabCtrl() override;

    // The tab control with its viewport, page dialog and hidden scroll bars.
    BOOL CreateScrolling(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    // Places the viewport, the scroll bars and the page dialog for the
    // page dialog's present size.
    void RecalcLayout();

    CDialog& Viewport() { return m_viewport; }
    CScrollPageDialog& PageDialog() { return m_pageDialog; }
    CScrollBar& VerticalBar() { return m_vertical; }
    CScrollBar& HorizontalBar() { return m_horizontal; }
    const ScrollAxis& Vertical() const { return m_verticalAxis; }
    const ScrollAxis& Horizontal() const { return m_horizontalAxis; }
    // The tab control's display area (client area less the tabs).
    CRect DisplayArea();

    // A scroll request of one bar (SB_* code, the thumb's position).
    void Scroll(bool vertical, int code, int thumb);
    // Every command counts as handled here, after the control that sent it
    // has seen it.
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    bool m_made = false;
    ScrollAxis m_horizontalAxis;
    ScrollAxis m_verticalAxis;
    CScrollBar m_horizontal;
    CScrollBar m_vertical;
    CDialog m_viewport;
    CScrollPageDialog m_pageDialog;
};
