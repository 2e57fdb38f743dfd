// The status bar: a status control placed by its bar, its panes from a
// list of indicator ids, their widths, styles and texts, and the texts and
// states of idle command-UI updates.
#include <algorithm>

#include "platform/framework/controlbar_internal.h"
#include "platform/framework/dc.h"
#include "platform/gdi/dc_guards.h"

IMPLEMENT_DYNAMIC(CStatusBar, CControlBar)

namespace {

constexpr int kPaneEdges = 6;     // a status pane's edges and text insets around its text
constexpr int kPaneGap = 2;       // the status control's gap before every part but the first

// The font the bar's panes are measured in: the bar's own, else the GUI font.
HGDIOBJ BarFont(CWnd& bar)
{
    CFont* font = bar.GetFont();
    return font != nullptr ? static_cast<HGDIOBJ>(font->GetSafeHandle()) : GetStockObject(DEFAULT_GUI_FONT);
}

class CStatusCmdUI : public CCmdUI {
public:
    void Enable(BOOL on) override
    {
        CCmdUI::Enable(on);
        auto* bar = static_cast<CStatusBar*>(m_pOther);
        const UINT style = bar->GetPaneStyle(static_cast<int>(m_nIndex));
        bar->SetPaneStyle(static_cast<int>(m_nIndex), on ? (style & ~SBPS_DISABLED) : (style | SBPS_DISABLED));
    }
    void SetCheck(int check) override
    {
        CCmdUI::SetCheck(check);
        auto* bar = static_cast<CStatusBar*>(m_pOther);
        const UINT style = bar->GetPaneStyle(static_cast<int>(m_nIndex));
        bar->SetPaneStyle(static_cast<int>(m_nIndex), check != 0 ? (style | SBPS_POPOUT) : (style & ~SBPS_POPOUT));
    }
    void SetText(const char* text) override
    {
        CCmdUI::SetText(text);
        static_cast<CStatusBar*>(m_pOther)->SetPaneText(static_cast<int>(m_nIndex), text);
    }
};

} // namespace

using nuvex::framework::bars::kPlacedByBar;
using nuvex::framework::bars::kSeparator;
using nuvex::framework::bars::kStretchLength;

CStatusBar::~CStatusBar() { m_control.m_hWnd = nullptr; }

BOOL CStatusBar::Create(CWnd* parent, DWORD style, UINT id) { return CreateEx(parent, 0, style, id); }

BOOL CStatusBar::CreateEx(CWnd* parent, DWORD controlStyle, DWORD style, UINT id)
{
    DWORD windowStyle = TakeBarStyle(style) | controlStyle | kPlacedByBar;
    if (parent != nullptr && (parent->GetStyle() & WS_THICKFRAME) != 0) {
        windowStyle |= SBARS_SIZEGRIP;
    }
    SetBorders(0, 2, 0, 0);
    if (!CWnd::CreateEx(0, STATUSCLASSNAMEA, nullptr, windowStyle | WS_CHILD, CRect(0, 0, 0, 0), parent, id)) {
        return FALSE;
    }
    m_control.m_hWnd = m_hWnd;
    SetOwner(parent);
    return TRUE;
}

CStatusBarCtrl& CStatusBar::GetStatusBarCtrl() const
{
    m_control.m_hWnd = m_hWnd;
    return m_control;
}

BOOL CStatusBar::SetIndicators(const UINT* ids, int count)
{
    if (count < 1 || count > 256) {
        return FALSE;
    }
    m_panes.assign(static_cast<size_t>(count), Pane{});
    CClientDC dc(this);
    {
        const SelectedObject font(dc.GetSafeHdc(), BarFont(*this));
        for (int i = 0; i < count; ++i) {
            Pane& pane = m_panes[static_cast<size_t>(i)];
            pane.id = ids != nullptr ? ids[i] : kSeparator;
            if (pane.id != kSeparator) {
                pane.text.LoadString(pane.id);
                SIZE extent{0, 0};
                ::GetTextExtentPoint32A(dc.GetSafeHdc(), pane.text.GetString(), pane.text.GetLength(), &extent);
                pane.width = extent.cx;
            } else if (i == 0) {
                pane.style = SBPS_NOBORDERS | SBPS_STRETCH;
            }
        }
    }
    UpdateAllPanes(TRUE, TRUE);
    return TRUE;
}

void CStatusBar::UpdateAllPanes(BOOL updateRects, BOOL updateText)
{
    if (m_hWnd == nullptr || m_panes.empty()) {
        return;
    }
    CStatusBarCtrl& control = GetStatusBarCtrl();
    if (updateRects) {
        CRect client;
        GetClientRect(&client);
        int fixed = 0;
        int stretchers = 0;
        for (size_t i = 0; i < m_panes.size(); ++i) {
            fixed += m_panes[i].width + kPaneEdges + (i > 0 ? kPaneGap : 0);
            stretchers += (m_panes[i].style & SBPS_STRETCH) != 0 ? 1 : 0;
        }
        const int spare = std::max(0, static_cast<int>(client.Width()) - fixed);
        std::vector<int> edges;
        int right = 0;
        for (size_t i = 0; i < m_panes.size(); ++i) {
            const Pane& pane = m_panes[i];
            right += pane.width + kPaneEdges + (i > 0 ? kPaneGap : 0);
            if ((pane.style & SBPS_STRETCH) != 0 && stretchers > 0) {
                right += spare / stretchers;
            }
            edges.push_back(right);
        }
        edges.back() = -1;
        control.SetParts(static_cast<int>(edges.size()), edges.data());
    }
    if (updateText) {
        for (size_t i = 0; i < m_panes.size(); ++i) {
            const Pane& pane = m_panes[i];
            const bool disabled = (pane.style & SBPS_DISABLED) != 0;
            control.SetText(disabled ? "" : pane.text.GetString(), static_cast<int>(i),
                            static_cast<int>(pane.style & (SBPS_NOBORDERS | SBPS_POPOUT | SBPS_OWNERDRAW)));
        }
    }
}

int CStatusBar::CommandToIndex(UINT id) const
{
    for (size_t i = 0; i < m_panes.size(); ++i) {
        if (m_panes[i].id == id) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

UINT CStatusBar::GetItemID(int index) const
{
    return index >= 0 && index < GetCount() ? m_panes[static_cast<size_t>(index)].id : 0;
}

void CStatusBar::GetItemRect(int index, LPRECT rect) const
{
    if (rect != nullptr && !GetStatusBarCtrl().GetRect(index, rect)) {
        SetRectEmpty(rect);
    }
}

void CStatusBar::GetPaneInfo(int index, UINT& id, UINT& style, int& width) const
{
    if (index < 0 || index >= GetCount()) {
        id = style = 0;
        width = 0;
        return;
    }
    const Pane& pane = m_panes[static_cast<size_t>(index)];
    id = pane.id;
    style = pane.style;
    width = pane.width;
}

void CStatusBar::SetPaneInfo(int index, UINT id, UINT style, int width)
{
    if (index < 0 || index >= GetCount()) {
        return;
    }
    Pane& pane = m_panes[static_cast<size_t>(index)];
    pane.id = id;
    pane.style = style;
    pane.width = std::max(width, 0);
    UpdateAllPanes(TRUE, TRUE);
}

UINT CStatusBar::GetPaneStyle(int index) const
{
    return index >= 0 && index < GetCount() ? m_panes[static_cast<size_t>(index)].style : 0;
}

void CStatusBar::SetPaneStyle(int index, UINT style)
{
    if (index < 0 || index >= GetCount() || m_panes[static_cast<size_t>(index)].style == style) {
        return;
    }
    m_panes[static_cast<size_t>(index)].style = style;
    UpdateAllPanes(TRUE, TRUE);
}

CString CStatusBar::GetPaneText(int index) const
{
    return index >= 0 && index < GetCount() ? m_panes[static_cast<size_t>(index)].text : CString();
}

BOOL CStatusBar::SetPaneText(int index, LPCSTR text, BOOL update)
{
    if (index < 0 || index >= GetCount()) {
        return FALSE;
    }
    Pane& pane = m_panes[static_cast<size_t>(index)];
    const CString value(text != nullptr ? text : "");
    if (pane.text == value) {
        return TRUE;
    }
    pane.text = value;
    if (update) {
        const bool disabled = (pane.style & SBPS_DISABLED) != 0;
        GetStatusBarCtrl().SetText(disabled ? "" : pane.text.GetString(), index,
                                   static_cast<int>(pane.style & (SBPS_NOBORDERS | SBPS_POPOUT | SBPS_OWNERDRAW)));
    }
    return TRUE;
}

CSize CStatusBar::CalcFixedLayout(BOOL stretch, BOOL horizontal)
{
    TEXTMETRICA metrics{};
    {
        CClientDC dc(this);
        const SelectedObject font(dc.GetSafeHdc(), BarFont(*this));
        ::GetTextMetricsA(dc.GetSafeHdc(), &metrics);
    }
    CRect inside(0, 0, 0, 0);
    CalcInsideRect(inside, horizontal);
    int width = 0;
    for (const Pane& pane : m_panes) {
        width += pane.width + kPaneEdges;
    }
    // The control's text line, its pane edges and its borders above and below.
    const int height = static_cast<int>(metrics.tmHeight) + 4 + 2 * 2;
    return CSize(stretch ? kStretchLength : width - inside.Width(), height - inside.Height());
}

void CStatusBar::OnUpdateCmdUI(CWnd* target, BOOL disableIfNoHandler)
{
    CStatusCmdUI state;
    state.m_pOther = this;
    state.m_nIndexMax = static_cast<UINT>(m_panes.size());
    for (size_t i = 0; i < m_panes.size(); ++i) {
        if (m_panes[i].id == kSeparator) {
            continue;
        }
        state.m_nIndex = static_cast<UINT>(i);
        state.m_nID = m_panes[i].id;
        state.m_bEnableChanged = FALSE;
        state.m_bContinueRouting = FALSE;
        // Panes show what their handlers say; without one they stay as they are.
        state.DoUpdate(target, FALSE);
    }
    (void)disableIfNoHandler;
}

LRESULT CStatusBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    const LRESULT result = CControlBar::WindowProc(message, wParam, lParam);
    if (message == WM_SIZE) {
        UpdateAllPanes(TRUE, FALSE);
    }
    return result;
}
