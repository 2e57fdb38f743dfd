// The pane group dialog: its tab control, the windows and handler objects
// of tree and text pages, which page shows, and the control panels of its
// control-panel pages.
#include "host/shell/pane_group_dialog.h"

#include <algorithm>

#include "host/document/nuvex_doc.h"
#include "host/shell/controls/command_handler.h"
#include "host/shell/controls/panel_tree.h"
#include "host/shell/controls/rich_edit_events.h"
#include "host/shell/controls/rich_edit_line_ctrl.h"
#include "host/shell/docking_pane_bar.h"
#include "platform/controls/commctrl.h"
#include "platform/gdi/gdi.h"

namespace {

constexpr UINT kTabControlId = 1;
// Child, visible, clipping its children, tabs at the bottom.
constexpr DWORD kTabStyle = 0x52000002;
// Child, visible, clipping its children; 125 x 100 dialog units.
constexpr DWORD kGroupDialogStyle = 0x52000000;
constexpr SHORT kGroupDialogWidthDlu = 125;
constexpr SHORT kGroupDialogHeightDlu = 100;
constexpr DWORD kClientEdge = 0x200;
// The tab control keeps this far from the dialog's edges.
constexpr int kTabInset = 5;
const CRect kFirstPageRect(0, 0, 100, 100);

CFont* GuiFont() { return CFont::FromHandle(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT))); }

} // namespace

PageKind PageKindOf(uint32_t flags)
{
    if ((flags & kPageControlPanels) != 0) {
        return PageKind::ControlPanels;
    }
    if ((flags & kPageTree) != 0) {
        return PageKind::Tree;
    }
    if ((flags & kPageText) != 0) {
        return PageKind::Text;
    }
    return PageKind::None;
}

CPaneGroupDialog::CPaneGroupDialog(CDockingPaneBar& bar) : m_bar(bar) {}

CPaneGroupDialog::~CPaneGroupDialog()
{
    DeletePanels();
    if (GetSafeHwnd() != nullptr) {
        DestroyWindow();
    }
}

void CPaneGroupDialog::AddTabControl()
{
    if (m_tabs == nullptr) {
        m_tabs = std::make_unique<CScrollTabCtrl>();
    }
}

BOOL CPaneGroupDialog::CreateInBar()
{
    DialogTemplate dialog;
    dialog.style = kGroupDialogStyle;
    dialog.cx = kGroupDialogWidthDlu;
    dialog.cy = kGroupDialogHeightDlu;
    return CreateIndirect(dialog, &m_bar);
}

CNuvexDoc* CPaneGroupDialog::GetDocument() const { return m_bar.GetDocument(); }

IRichEditLineEvents* CPaneGroupDialog::LineEvents()
{
    CNuvexDoc* document = GetDocument();
    if (m_lineEvents == nullptr && document != nullptr) {
        m_lineEvents = std::make_unique<CActiveDocumentLineEvents>(document->Services());
    }
    return m_lineEvents.get();
}

// 1. The dialog is initialised; without a tab control nothing more.
// 2. The tab control gets one tab per page.
// 3. Tree and text pages get their window, and the add-in's handler object
//    when the page has a command (the views call its Create later).
// 4. The first page is selected.
BOOL CPaneGroupDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_initialised = true;
    if (m_tabs == nullptr) {
        return TRUE;
    }
    if (!m_tabs->CreateScrolling(kTabStyle, CRect(0, 0, 0, 0), this, kTabControlId)) {
        return TRUE;
    }
    m_tabs->SetFont(GuiFont());
    for (size_t i = 0; i < m_pages.size(); ++i) {
        m_tabs->InsertItem(static_cast<int>(i), m_pages[i].name.c_str());
    }
    CreatePageWindows();
    if (!m_pages.empty()) {
        m_selected = -1;
        SelectPage(0);
    }
    LayoutPages();
    return TRUE;
}

void CPaneGroupDialog::CreatePageWindows()
{
    CNuvexDoc* document = GetDocument();
    for (PanePage& page : m_pages) {
        const PageKind kind = PageKindOf(page.flags);
        if (kind == PageKind::Tree) {
            auto tree = std::make_unique<CPanelTree>();
            if (!tree->Create(kPanelTreeStyle, kFirstPageRect, m_tabs.get(), 0)) {
                continue;
            }
            tree->ModifyStyleEx(0, kClientEdge, SWP_FRAMECHANGED);
            tree->SetFont(GuiFont());
            page.itemObject = static_cast<IControlBase*>(&tree->ScriptingObject());
            page.window = std::move(tree);
        } else if (kind == PageKind::Text) {
            auto text = std::make_unique<CRichEditLineCtrl>(LineEvents());
            if (!text->Create(kRichEditLineStyle, kFirstPageRect, m_tabs.get(), 0)) {
                continue;
            }
            text->ModifyStyleEx(0, kClientEdge, SWP_FRAMECHANGED);
            text->SetEventMask(kRichEditLineEventMask);
            text->SetFont(GuiFont());
            page.itemObject = static_cast<IControlBase*>(&text->ScriptingObject());
            page.window = std::move(text);
        } else {
            continue;
        }
        if (page.commandIndex >= 0 && document != nullptr && !page.handler) {
            page.handler = MakeCommandHandler(document->Services(), page.commandIndex);
        }
        if (auto* tree = dynamic_cast<CPanelTree*>(page.window.get())) {
            tree->SetOwner(page.handler.Get());
        }
    }
}

// 1. Nothing without a tab control or when the page shows already.
// 2. A control-panel page shows the shared viewport.
// 3. Every page's current panel, or else its window, shows when it is the
//    page and hides otherwise.
// 4. A page with a window hides the viewport.
void CPaneGroupDialog::SelectPage(int32_t index)
{
    if (m_tabs == nullptr || index == m_selected || index < 0 || static_cast<size_t>(index) >= m_pages.size()) {
        return;
    }
    PanePage& chosen = m_pages[static_cast<size_t>(index)];
    // The panels' controls show only on the selected page.
    m_selected = index;
    if (chosen.window == nullptr) {
        m_tabs->Viewport().ShowWindow(SW_SHOW);
    }
    for (size_t i = 0; i < m_pages.size(); ++i) {
        PanePage& page = m_pages[i];
        const int show = static_cast<int32_t>(i) == index ? SW_SHOW : SW_HIDE;
        if (page.currentPanel != nullptr) {
            page.currentPanel->ShowControls(show);
        } else if (page.window != nullptr) {
            page.window->ShowWindow(show);
        }
    }
    if (chosen.window != nullptr) {
        m_tabs->Viewport().ShowWindow(SW_HIDE);
    }
    if (m_tabs->GetCurSel() != index) {
        m_tabs->SetCurSel(index);
    }
}

void CPaneGroupDialog::NotifyPanel(LONG value)
{
    if (m_selected < 0 || static_cast<size_t>(m_selected) >= m_pages.size()) {
        return;
    }
    if (CControlPanel* panel = m_pages[static_cast<size_t>(m_selected)].currentPanel) {
        panel->NotifyOwner(value);
    }
}

CControlPanel* CPaneGroupDialog::CreateControlPanel(int32_t page)
{
    if (m_tabs == nullptr || page < 0 || static_cast<size_t>(page) >= m_pages.size() ||
        PageKindOf(m_pages[static_cast<size_t>(page)].flags) != PageKind::ControlPanels) {
        return nullptr;
    }
    auto panel = std::make_unique<CControlPanel>(*this, page);
    CControlPanel* made = panel.get();
    m_pages[static_cast<size_t>(page)].panels.push_back(std::move(panel));
    return made;
}

void CPaneGroupDialog::DestroyPanel(CControlPanel& panel)
{
    PanePage& page = m_pages[static_cast<size_t>(panel.Page())];
    CControlPanel* below = panel.PreviousPanel();
    if (page.currentPanel == &panel) {
        page.currentPanel = below;
        if (m_selected == panel.Page()) {
            panel.ShowControls(SW_HIDE);
            if (below != nullptr) {
                below->ShowControls(SW_SHOW);
            }
        }
    }
    for (const std::unique_ptr<CControlPanel>& other : page.panels) {
        if (other->PreviousPanel() == &panel) {
            other->SetPreviousPanel(below != other.get() ? below : nullptr);
        }
    }
    auto found = std::find_if(page.panels.begin(), page.panels.end(),
                              [&](const std::unique_ptr<CControlPanel>& p) { return p.get() == &panel; });
    if (found != page.panels.end()) {
        page.panels.erase(found);
    }
}

void CPaneGroupDialog::DeletePanels()
{
    for (PanePage& page : m_pages) {
        page.currentPanel = nullptr;
        page.panels.clear();
    }
}

// The tab control fills the dialog less 5 pixels each side; tree and text
// windows fill its display area (2 pixels more at the left and top, 1 at
// the right and bottom).
void CPaneGroupDialog::LayoutPages()
{
    if (!m_initialised || m_tabs == nullptr || m_tabs->GetSafeHwnd() == nullptr) {
        return;
    }
    CRect client;
    GetClientRect(&client);
    client.DeflateRect(kTabInset, kTabInset);
    if (client.Width() < 0 || client.Height() < 0) {
        client = CRect(0, 0, 0, 0);
    }
    m_tabs->MoveWindow(&client, TRUE);
    CRect area = m_tabs->DisplayArea();
    area.left -= 2;
    area.top -= 2;
    area.right += 1;
    area.bottom -= 1;
    for (PanePage& page : m_pages) {
        if (page.window != nullptr && page.window->GetSafeHwnd() != nullptr) {
            page.window->MoveWindow(&area, TRUE);
        }
    }
}

BOOL CPaneGroupDialog::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (lParam == 0 && wParam == IDOK) {
        return TRUE;
    }
    if (lParam == 0 && wParam == IDCANCEL) {
        if (CNuvexDoc* document = GetDocument()) {
            document->CancelCommand();
        }
        return TRUE;
    }
    if (m_tabs == nullptr) {
        NotifyPanel(static_cast<LONG>(static_cast<DWORD>(wParam)));
        return TRUE;
    }
    if (LOWORD(wParam) == IDOK && lParam != 0) {
        NotifyPanel(static_cast<LONG>(static_cast<DWORD>(wParam)));
        return TRUE;
    }
    return CDialog::OnCommand(wParam, lParam);
}

BOOL CPaneGroupDialog::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header != nullptr && header->idFrom == kTabControlId && m_tabs != nullptr) {
        SelectPage(m_tabs->GetCurSel());
    }
    return CDialog::OnNotify(wParam, lParam, result);
}

LRESULT CPaneGroupDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY) {
        // The panels go first: their controls live in the page dialog.
        DeletePanels();
        for (PanePage& page : m_pages) {
            page.window.reset();
        }
        m_tabs.reset();
    }
    const LRESULT result = CDialog::WindowProc(message, wParam, lParam);
    if (message == WM_SIZE) {
        LayoutPages();
    }
    return result;
}
