// CPaneGroupDialog: the inside of a pane group's docking bar: a tab control
// with one tab per page, and the pages: a tree, a text (a rich-edit line
// control) or control panels that add-in commands put on it. Tree and text
// pages get their window and the add-in's handler object (a pane object)
// when the dialog is initialised; control-panel pages show the current
// panel of their stack in the shared scrolling area.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host/shell/controls/control_panel.h"
#include "host/shell/host_application.h"
#include "host/shell/scroll_tab_ctrl.h"
#include "iaddin.h"
#include "platform/framework/dialog.h"

class CDockingPaneBar;
class CNuvexDoc;
class IRichEditLineEvents;
class CActiveDocumentLineEvents;

// The kind of a page from its flag word (kPage* of the application): the
// control-panel bit wins over the others, the tree bit over the text bit.
enum class PageKind { Tree, Text, ControlPanels, None };
PageKind PageKindOf(uint32_t flags);

struct PanePage {
    std::string name;
    uint32_t flags = 0;
    int32_t commandIndex = -1;
    // The add-in's object for the page's command; null when none was made.
    ComPtr<IAddinCommand> handler;
    // The tree or text window; null for control-panel pages.
    std::unique_ptr<CWnd> window;
    // The scripting object inside the window.
    IUnknown* itemObject = nullptr;
    // The panels made on the page, in creation order, and the one on top.
    std::vector<std::unique_ptr<CControlPanel>> panels;
    CControlPanel* currentPanel = nullptr;
};

class CPaneGroupDialog final : public CDialog {
public:
    explicit CPaneGroupDialog(CDockingPaneBar& bar);
    ~CPaneGroupDialog() override;

    void AddPage(PanePage page) { m_pages.push_back(std::move(page)); }
    // The group shows its pages on a tab control.
    void AddTabControl();
    // Creates the dialog window inside the bar (125 x 100 dialog units).
    BOOL CreateInBar();

    std::vector<PanePage>& Pages() { return m_pages; }
    const std::vector<PanePage>& Pages() const { return m_pages; }
    CScrollTabCtrl* TabControl() const { return m_tabs.get(); }
    int32_t SelectedPage() const { return m_selected; }
    CNuvexDoc* GetDocument() const;
    // Where the line controls of text pages and panels send their events.
    IRichEditLineEvents* LineEvents();

    // Shows page i (its current panel or its window) and hides the others.
    void SelectPage(int32_t index);
    // A control's command for the selected page's current panel.
    void NotifyPanel(LONG value);
    // A new panel on control-panel page `page`; null when the page is not
    // one or the group has no tab control (the panel needs the page dialog).
    CControlPanel* CreateControlPanel(int32_t page);
    // Removes and deletes a panel of its page.
    void DestroyPanel(CControlPanel& panel);
    // Places the tab control and the page windows for the dialog's size.
    void LayoutPages();

    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void CreatePageWindows();
    void DeletePanels();

    CDockingPaneBar& m_bar;
    std::vector<PanePage> m_pages;
    int32_t m_selected = -1;
    std::unique_ptr<CScrollTabCtrl> m_tabs;
    bool m_initialised = false;
    std::unique_ptr<CActiveDocumentLineEvents> m_lineEvents;
};
