// Pane bars of a view's frame: made per registered group, and their
// pages' handler objects told about the document at the first update.
#include "host/view/view_pane_bars.h"

#include <memory>

#include "host/document/nuvex_doc.h"
#include "host/menulook/new_mini_dock_frame.h"
#include "host/shell/child_frame.h"
#include "host/shell/docking_pane_bar.h"
#include "host/shell/document_pane_bars.h"
#include "platform/framework/framewnd.h"

namespace {

struct DockSide {
    uint32_t flag;
    UINT dockBar;
};
// In the order the flag word's bits are read.
constexpr DockSide kInitialSides[] = {
    {kPaneDockLeft, AFX_IDW_DOCKBAR_LEFT},
    {kPaneDockRight, AFX_IDW_DOCKBAR_RIGHT},
    {kPaneDockTop, AFX_IDW_DOCKBAR_TOP},
    {kPaneDockBottom, AFX_IDW_DOCKBAR_BOTTOM},
};

struct AllowedSide {
    uint32_t flag;
    DWORD align;
};
constexpr AllowedSide kAllowedSides[] = {
    {kPaneMayDockLeft, CBRS_ALIGN_LEFT},
    {kPaneMayDockRight, CBRS_ALIGN_RIGHT},
    {kPaneMayDockTop, CBRS_ALIGN_TOP},
    {kPaneMayDockBottom, CBRS_ALIGN_BOTTOM},
};

// Tool tips, fly-by prompts and a dynamic size.
constexpr DWORD kPaneBarExtraStyle = CBRS_TOOLTIPS | CBRS_FLYBY | CBRS_SIZE_DYNAMIC;

} // namespace

UINT InitialDockSide(uint32_t flags)
{
    for (const DockSide& side : kInitialSides) {
        if ((flags & side.flag) != 0) {
            return side.dockBar;
        }
    }
    return AFX_IDW_DOCKBAR_LEFT;
}

DWORD AllowedDockSides(uint32_t flags)
{
    DWORD sides = 0;
    for (const AllowedSide& side : kAllowedSides) {
        if ((flags & side.flag) != 0) {
            sides |= side.align;
        }
    }
    return sides;
}

bool CreatePaneBars(CFrameWnd& frame, CNuvexDoc& document, const std::vector<PaneGroup>& groups)
{
    if (document.Panes() == nullptr) {
        document.SetPanes(std::make_unique<CDocumentPaneBars>(document));
    }
    for (const PaneGroup& group : groups) {
        auto* bar = new CDockingPaneBar(&document);
        bar->AttachToFrame(frame);
        if ((group.flags & kPaneHasTabs) != 0) {
            bar->AddTabControl();
        }
        for (const PaneItem& item : group.items) {
            bar->AddPage(item);
        }
        if (!bar->Create(&frame, group.name.c_str(), kPaneBarStyle, 0)) {
            delete bar;
            return false;
        }
        // From now on a document window owns the bar; in any other frame
        // the bar goes with its window.
        if (auto* childFrame = dynamic_cast<CChildFrame*>(&frame)) {
            childFrame->AdoptPaneBar(std::unique_ptr<CDockingPaneBar>(bar));
        } else {
            bar->m_bAutoDelete = TRUE;
        }
        bar->EnableDocking(AllowedDockSides(group.flags));
        bar->SetBarStyle(bar->GetBarStyle() | kPaneBarExtraStyle);
        frame.EnableDocking(CBRS_ALIGN_ANY);
        frame.m_pFloatingFrameClass = RUNTIME_CLASS(CNewMiniDockFrameWnd);
        frame.DockControlBar(bar, InitialDockSide(group.flags));
    }
    return true;
}

void CreatePaneHandlers(CFrameWnd& frame, CNuvexDoc& document)
{
    IDocumentServices& services = document.Services();
    for (CDockingPaneBar* bar : CDockingPaneBar::BarsOf(frame)) {
        for (const PanePage& page : bar->Pages()) {
            if (!page.handler) {
                continue;
            }
            const CommandTableEntry* entry = services.GetCommandEntry(page.commandIndex);
            const LONG commandId = entry != nullptr ? static_cast<LONG>(entry->addinCommandId) : 0;
            // A pane object fills and reads its page through the page's
            // tree or text control object.
            page.handler->Create(document.GetHostDocument(), commandId, reinterpret_cast<LONG_PTR>(page.itemObject));
        }
    }
}
