// CDockingPaneBar: the docking control bar of one pane group. Each view
// makes one per registered group on its frame; the bar keeps the group's
// pages (name, flag word, command index, the page's handler object and four
// per-page words) and, for a group with tabs, a scrolling tab control with
// one tab per page.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "host/shell/host_application.h"
#include "platform/framework/commonctrls.h"
#include "platform/framework/controlbar.h"

class CFrameWnd;
class CNuvexDoc;
struct IAddinCommand;

// The tab control of a pane group's pages.
class CScrollTabCtrl : public CTabCtrl {
    DECLARE_DYNAMIC(CScrollTabCtrl)
};

struct PanePage {
    std::string name;
    uint32_t flags = 0;
    int32_t commandIndex = -1;
    // The add-in's object for the page's command; null when none was made.
    ComPtr<IAddinCommand> handler;
    // Per-page words, 0 when the page is made; the first is handed to the
    // handler's Create.
    std::array<uint32_t, 4> words{};
};

// The bar window's style as a view creates it: child, visible, docked left
// with a border on the right.
inline constexpr DWORD kPaneBarStyle = 0x50001400;
// The sizes of a bar before its first layout, and the smallest.
inline constexpr int kPaneBarDefaultSize = 200;
inline constexpr int kPaneBarMinimumSize = 32;

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
    // title; the CBRS part of `style` becomes the bar style. Then the tab
    // control with its tabs and the pages' handler objects, when the bar
    // has one. FALSE when the bar window cannot be made.
    BOOL Create(CWnd* parent, LPCSTR name, DWORD style, UINT id);
    // Makes the handler objects of tree and text pages that have a command,
    // through the class factory of the command's add-in; a page whose
    // object cannot be made stays without one. Only a bar with tabs shows
    // pages, so only it makes them.
    void CreatePageHandlers();

    CNuvexDoc* GetDocument() const { return m_document; }
    const std::vector<PanePage>& Pages() const { return m_pages; }
    CScrollTabCtrl* TabControl() const { return m_tabs.get(); }

    // The pane bars on a frame, in the order they were added to it.
    static std::vector<CDockingPaneBar*> BarsOf(CFrameWnd& frame);

    CSize CalcFixedLayout(BOOL stretch, BOOL horizontal) override;
    void OnUpdateCmdUI(CWnd*, BOOL) override {}

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void PlaceTabControl();

    CNuvexDoc* m_document;
    CFrameWnd* m_frame = nullptr;
    std::vector<PanePage> m_pages;
    std::unique_ptr<CScrollTabCtrl> m_tabs;
    CSize m_horizontalSize{kPaneBarDefaultSize, kPaneBarDefaultSize};
    CSize m_verticalSize{kPaneBarDefaultSize, kPaneBarDefaultSize};
};
