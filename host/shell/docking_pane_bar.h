// CDockingPaneBar: the docking control bar of one pane group. Each view
// makes one per registered group on its frame. The bar draws its own frame:
// while docked a gripper with a close and a dock/float button, and a
// 6-pixel sizing edge on the side that faces the document, which the user
// drags to make the bar thicker or thinner. Dragging the gripper floats the
// bar, or docks it at another side the group allows; the floating frame's
// caption drags it back. Inside lies the group's pane group dialog with its
// pages.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/shell/docking_pane_bar_layout.h"
#include "host/shell/host_application.h"
#include "host/shell/pane_group_dialog.h"
#include "platform/framework/commonctrls.h"
#include "platform/framework/controlbar.h"

class CFrameWnd;
class CNuvexDoc;
struct IAddinCommand;

// The bar window's style as a view creates it: child, visible, docked left
// with a border on the right.
inline constexpr DWORD kPaneBarStyle = 0x50001400;
// The sizes of a bar before its first layout, and the smallest.
inline constexpr int kPaneBarDefaultSize = 200;
inline constexpr int kPaneBarMinimumSize = kPaneBarMinimum;

class CDockingPaneBar : public CControlBar {
    DECLARE_DYNAMIC(CDockingPaneBar)
public:
    explicit CDockingPaneBar(CNuvexDoc* document);
    ~CDockingPaneBar() override;

    // The bar becomes one of `frame`'s bars (its list of bars) until it
    // goes away.
    void AttachToFrame(CFrameWnd& frame);
    // The page tables gain one page.
    void AddPage(const PaneItem& item);
    // The group shows its pages on a tab control (made with the window).
    void AddTabControl();

    // Creates the bar window on `parent` with the group's name as its
    // title; the CBRS part of `style` becomes the bar style. Then the pane
    // group dialog, whose size gives the bar's sizes (docked, 9 pixels
    // more across for the sizing edge and the margin). FALSE when the bar
    // window cannot be made.
    BOOL Create(CWnd* parent, LPCSTR name, DWORD style, UINT id);

    CNuvexDoc* GetDocument() const { return m_document; }
    CPaneGroupDialog& Dialog() { return m_dialog; }
    const std::vector<PanePage>& Pages() const { return m_dialog.Pages(); }
    std::vector<PanePage>& Pages() { return m_dialog.Pages(); }
    CScrollTabCtrl* TabControl() const { return m_dialog.TabControl(); }

    // The side the bar sits at now.
    PaneBarSide Side() const;
    CSize HorizontalDockedSize() const { return m_horizontalSize; }
    CSize VerticalDockedSize() const { return m_verticalSize; }
    CSize FloatingSize() const { return m_floatingSize; }
    bool IsTracking() const { return m_tracking != Tracking::None; }

    // The pane bars on a frame, in the order they were added to it.
    static std::vector<CDockingPaneBar*> BarsOf(CFrameWnd& frame);

    CSize CalcFixedLayout(BOOL stretch, BOOL horizontal) override;
    CSize CalcDynamicLayout(int length, DWORD mode) override;
    void OnUpdateCmdUI(CWnd*, BOOL) override {}

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    enum class Tracking { None, Sizing, Dragging };

    // Non-client area.
    void OnNcCalcSize(RECT* rect);
    void OnNcPaint();
    LRESULT OnNcHitTest(CPoint screen);
    bool OnNcLButtonDown(LRESULT hit, CPoint screen);
    // Docked <-> floating.
    void ToggleDocking();
    // Tracking the sizing edge or a drag by the gripper.
    void StartSizing(CPoint screen);
    void StartDragging(CPoint screen);
    void TrackTo(CPoint screen);
    void StopTracking(bool accept);
    void DrawTracker();
    CSize WindowSize() const;
    void PlaceDialog();

    COLORREF m_highlight;
    COLORREF m_shadow;
    CPaneGroupDialog m_dialog;
    CNuvexDoc* m_document;
    CFrameWnd* m_frame = nullptr;
    CSize m_horizontalSize{kPaneBarDefaultSize, kPaneBarDefaultSize};
    CSize m_verticalSize{kPaneBarDefaultSize, kPaneBarDefaultSize};
    CSize m_floatingSize{kPaneBarDefaultSize, kPaneBarDefaultSize};
    // Screen coordinates while tracking.
    CRect m_tracker;
    CPoint m_trackStart;
    PaneBarSide m_trackSide = PaneBarSide::Floating;
    Tracking m_tracking = Tracking::None;
    bool m_placing = false;
    CWnd* m_lastDockBar = nullptr;
};
