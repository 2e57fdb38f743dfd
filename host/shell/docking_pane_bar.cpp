// The docking bar of a pane group: its page tables, its window and tab
// control, and the handler objects of its pages.
#include "host/shell/docking_pane_bar.h"

#include <algorithm>

#include "host/document/nuvex_doc.h"
#include "platform/framework/framewnd.h"
#include "platform/framework/gdiobj.h"
#include "platform/gdi/syscolor.h"
#include "platform/user/dialog.h"
#include "platform/user/winuser.h"

IMPLEMENT_DYNAMIC(CScrollTabCtrl, CTabCtrl)
IMPLEMENT_DYNAMIC(CDockingPaneBar, CControlBar)

namespace {

// The pane group's page area in dialog units, and what a docked bar adds
// across it: the 6-pixel sizing edge and a 3-pixel margin.
constexpr int kPageAreaWidthDlu = 125;
constexpr int kPageAreaHeightDlu = 100;
constexpr int kDockedExtra = 9;
// The tab control keeps this far from the bar's client edges.
constexpr int kTabInset = 5;
constexpr int kStretchLength = 32767;
constexpr UINT kTabControlId = 1;

} // namespace

CDockingPaneBar::CDockingPaneBar(CNuvexDoc* document) : m_document(document) {}

CDockingPaneBar::~CDockingPaneBar()
{
    if (m_frame != nullptr) {
        m_frame->RemoveControlBar(this);
    }
    if (m_tabs != nullptr && m_tabs->GetSafeHwnd() != nullptr) {
        m_tabs->DestroyWindow();
    }
}

void CDockingPaneBar::AttachToFrame(CFrameWnd& frame)
{
    m_frame = &frame;
    frame.AddControlBar(this);
}

void CDockingPaneBar::AddPage(const PaneItem& item)
{
    PanePage page;
    page.name = item.name;
    page.flags = item.flags;
    page.commandIndex = item.commandIndex;
    m_pages.push_back(std::move(page));
}

void CDockingPaneBar::AddTabControl()
{
    if (m_tabs == nullptr) {
        m_tabs = std::make_unique<CScrollTabCtrl>();
    }
}

BOOL CDockingPaneBar::Create(CWnd* parent, LPCSTR name, DWORD style, UINT id)
{
    LPCSTR className = AfxRegisterWndClass(CS_DBLCLKS, LoadCursorA(nullptr, IDC_ARROW), GetSysColorBrush(COLOR_BTNFACE));
    const DWORD windowStyle = TakeBarStyle(style) | WS_CLIPCHILDREN;
    if (!CWnd::CreateEx(0, className, name, windowStyle, CRect(0, 0, 0, 0), parent, id)) {
        return FALSE;
    }
    // The page area's size decides the bar's sizes: docked across, it adds
    // the sizing edge and the margin.
    const LONG base = GetDialogBaseUnits();
    const int width = kPageAreaWidthDlu * static_cast<int>(base & 0xFFFF) / 4;
    const int height = kPageAreaHeightDlu * static_cast<int>((base >> 16) & 0xFFFF) / 8;
    m_horizontalSize = CSize(width, height + kDockedExtra);
    m_verticalSize = CSize(width + kDockedExtra, height);
    if (m_tabs != nullptr) {
        const DWORD tabStyle = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | TCS_BOTTOM;
        if (m_tabs->Create(tabStyle, CRect(0, 0, 0, 0), this, kTabControlId)) {
            m_tabs->SetFont(CFont::FromHandle(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT))));
            for (size_t i = 0; i < m_pages.size(); ++i) {
                m_tabs->InsertItem(static_cast<int>(i), m_pages[i].name.c_str());
            }
            if (!m_pages.empty()) {
                m_tabs->SetCurSel(0);
            }
            PlaceTabControl();
        }
    }
    CreatePageHandlers();
    return TRUE;
}

void CDockingPaneBar::CreatePageHandlers()
{
    if (m_tabs == nullptr || m_document == nullptr) {
        return;
    }
    IDocumentServices& services = m_document->Services();
    for (PanePage& page : m_pages) {
        const bool hasWindow =
            (page.flags & kPageControlPanels) == 0 && (page.flags & (kPageTree | kPageText)) != 0;
        if (!hasWindow || page.commandIndex < 0 || page.handler) {
            continue;
        }
        const CommandTableEntry* entry = services.GetCommandEntry(page.commandIndex);
        IClassFactory* factory = entry != nullptr ? services.GetAddinClassFactory(entry->addinIndex) : nullptr;
        if (factory == nullptr) {
            continue;
        }
        void* object = nullptr;
        if (SUCCEEDED(factory->CreateInstance(nullptr, entry->handlerClass, &object)) && object != nullptr) {
            page.handler = ComPtr<IAddinCommand>::Adopt(static_cast<IAddinCommand*>(object));
        }
    }
}

std::vector<CDockingPaneBar*> CDockingPaneBar::BarsOf(CFrameWnd& frame)
{
    std::vector<CDockingPaneBar*> bars;
    for (POSITION position = frame.m_listControlBars.GetHeadPosition(); position != nullptr;) {
        CControlBar* bar = frame.m_listControlBars.GetNext(position);
        if (bar != nullptr && bar->IsKindOf(RUNTIME_CLASS(CDockingPaneBar))) {
            bars.push_back(static_cast<CDockingPaneBar*>(bar));
        }
    }
    return bars;
}

CSize CDockingPaneBar::CalcFixedLayout(BOOL stretch, BOOL horizontal)
{
    if (IsFloating()) {
        return CSize(m_verticalSize.cx - kDockedExtra, m_horizontalSize.cy - kDockedExtra);
    }
    int length = kStretchLength;
    if (!stretch) {
        CRect site(0, 0, 0, 0);
        if (CWnd* parent = GetParent()) {
            parent->GetClientRect(&site);
        }
        length = std::max<int>(horizontal ? site.Width() : site.Height(), kPaneBarMinimumSize);
    }
    return horizontal ? CSize(length, m_horizontalSize.cy) : CSize(m_verticalSize.cx, length);
}

void CDockingPaneBar::PlaceTabControl()
{
    if (m_tabs == nullptr || m_tabs->GetSafeHwnd() == nullptr) {
        return;
    }
    CRect client;
    GetClientRect(&client);
    client.DeflateRect(kTabInset, kTabInset);
    if (client.Width() < 0 || client.Height() < 0) {
        client = CRect(0, 0, 0, 0);
    }
    m_tabs->MoveWindow(&client, TRUE);
}

LRESULT CDockingPaneBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    const LRESULT result = CControlBar::WindowProc(message, wParam, lParam);
    if (message == WM_SIZE) {
        PlaceTabControl();
    }
    return result;
}
