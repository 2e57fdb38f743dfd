// Dock bars, floating frames, moving bars between them, and the bar layout
// saved in the profile.
#include "platform/framework/docking.h"

#include "platform/framework/framewnd.h"
#include "platform/gdi/dc_guards.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <unordered_map>

IMPLEMENT_DYNAMIC(CDockBar, CControlBar)
IMPLEMENT_DYNAMIC(CMiniFrameWnd, CWnd)
IMPLEMENT_DYNAMIC(CMiniDockFrameWnd, CMiniFrameWnd)
IMPLEMENT_DYNAMIC(CDockState, CObject)

namespace {

constexpr UINT kPaneFirst = 0xE900; // the frame's client pane
constexpr int kDockZone = 32;       // how near a side a dropped bar docks (pixels)
constexpr int kDragOutline = 3;     // the thickness of a dragged frame's outline

struct SideInfo {
    UINT id;
    DWORD align;
};
// The order in which sides are tried and laid out.
constexpr SideInfo kSides[] = {
    {AFX_IDW_DOCKBAR_TOP, CBRS_ALIGN_TOP},
    {AFX_IDW_DOCKBAR_BOTTOM, CBRS_ALIGN_BOTTOM},
    {AFX_IDW_DOCKBAR_LEFT, CBRS_ALIGN_LEFT},
    {AFX_IDW_DOCKBAR_RIGHT, CBRS_ALIGN_RIGHT},
};

// The bars that dock on each frame, by frame window.
std::unordered_map<HWND, std::vector<CControlBar*>>& SiteBars()
{
    static std::unordered_map<HWND, std::vector<CControlBar*>> bars;
    return bars;
}

void Remember(CWnd* frame, CControlBar* bar)
{
    auto& bars = SiteBars()[frame->GetSafeHwnd()];
    if (std::find(bars.begin(), bars.end(), bar) == bars.end()) {
        bars.push_back(bar);
    }
    bar->m_pDockSite = frame;
}


// Where the profile lives.
struct ProfileKey {
    HKEY root = HKEY_CURRENT_USER;
    std::string subKey = "Software\\Nuvex\\Workbench";
};
ProfileKey& Profile()
{
    static ProfileKey key;
    return key;
}

std::string SectionKey(LPCSTR profileName, const char* part)
{
    return Profile().subKey + "\\" + profileName + "-" + part;
}

bool WriteInt(HKEY key, const char* name, int value)
{
    const auto data = static_cast<DWORD>(value);
    return RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof(data)) ==
           ERROR_SUCCESS;
}

bool ReadInt(HKEY key, const char* name, int* value)
{
    DWORD type = 0;
    DWORD data = 0;
    DWORD size = sizeof(data);
    if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&data), &size) != ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof(data)) {
        return false;
    }
    *value = static_cast<int>(data);
    return true;
}

CMiniDockFrameWnd* FloatingFrameOf(CControlBar* bar)
{
    if (bar->m_pDockBar == nullptr || !bar->m_pDockBar->IsFloatingDockBar()) {
        return nullptr;
    }
    CWnd* frame = bar->m_pDockBar->GetParent();
    return frame != nullptr && frame->IsKindOf(RUNTIME_CLASS(CMiniDockFrameWnd)) ? static_cast<CMiniDockFrameWnd*>(frame)
                                                                                   : nullptr;
}

// Takes `bar` out of where it is; an emptied floating frame goes away.
void Undock(CControlBar* bar)
{
    CDockBar* from = bar->m_pDockBar;
    if (from == nullptr) {
        return;
    }
    CMiniDockFrameWnd* floating = FloatingFrameOf(bar);
    from->RemoveControlBar(bar);
    if (floating != nullptr && floating->m_wndDockBar.GetDockedCount() == 0) {
        floating->DestroyWindow();
    } else if (floating != nullptr) {
        floating->RecalcLayout();
    }
}

// A floating bar's frame is of the class the dock site asked for when it
// enabled docking (a mini dock frame or a class made from one), else the
// plain mini dock frame.
CMiniDockFrameWnd* NewFloatingFrame(CWnd* frame)
{
    auto* site = dynamic_cast<CFrameWnd*>(frame);
    const CRuntimeClass* type = site != nullptr ? site->m_pFloatingFrameClass : nullptr;
    if (type != nullptr && type->IsDerivedFrom(RUNTIME_CLASS(CMiniDockFrameWnd)) && type->m_pfnCreateObject != nullptr) {
        return static_cast<CMiniDockFrameWnd*>(type->CreateObject());
    }
    return new CMiniDockFrameWnd();
}

} // namespace

// CDockBar -------------------------------------------------------------------------------

CDockBar::~CDockBar()
{
    for (const auto& row : m_rows) {
        for (CControlBar* bar : row) {
            bar->m_pDockBar = nullptr;
        }
    }
}

BOOL CDockBar::Create(CWnd* parent, DWORD alignStyle, UINT id)
{
    m_dwStyle = alignStyle & CBRS_ALIGN_ANY;
    SetBorders(0, 0, 0, 0);
    return CWnd::CreateEx(0, AfxRegisterWndClass(0, nullptr, reinterpret_cast<HBRUSH>(static_cast<intptr_t>(COLOR_BTNFACE + 1))),
                          nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, CRect(0, 0, 0, 0),
                          parent, id);
}

void CDockBar::DockControlBar(CControlBar* bar, int row, int column)
{
    if (bar == nullptr) {
        return;
    }
    // The bar moves over first, so that an emptied floating frame can go
    // without taking the bar's window along.
    ::SetParent(bar->GetSafeHwnd(), m_hWnd);
    if (bar->m_pDockBar != nullptr && bar->m_pDockBar != this) {
        Undock(bar);
    } else if (bar->m_pDockBar == this) {
        RemoveControlBar(bar);
    }
    if (row < 0 || row >= static_cast<int>(m_rows.size())) {
        m_rows.emplace_back();
        row = static_cast<int>(m_rows.size()) - 1;
    }
    auto& line = m_rows[static_cast<size_t>(row)];
    const auto at = column < 0 || column > static_cast<int>(line.size()) ? line.end() : line.begin() + column;
    line.insert(at, bar);
    bar->m_pDockBar = this;
    // The bar takes this side's orientation and leaves any floating state.
    const DWORD kept = bar->GetBarStyle() & ~(CBRS_ALIGN_ANY | CBRS_FLOATING);
    bar->SetBarStyle(kept | (IsFloatingDockBar() ? (CBRS_ALIGN_TOP | CBRS_FLOATING) : m_dwStyle));
    if (!IsFloatingDockBar()) {
        bar->m_uMRUDockID = static_cast<UINT>(GetDlgCtrlID());
    }
    LayoutBars();
}

BOOL CDockBar::RemoveControlBar(CControlBar* bar)
{
    for (auto row = m_rows.begin(); row != m_rows.end(); ++row) {
        auto it = std::find(row->begin(), row->end(), bar);
        if (it != row->end()) {
            row->erase(it);
            if (row->empty()) {
                m_rows.erase(row);
            }
            bar->m_pDockBar = nullptr;
            return TRUE;
        }
    }
    return FALSE;
}

BOOL CDockBar::FindBar(const CControlBar* bar, int* row, int* column) const
{
    for (size_t r = 0; r < m_rows.size(); ++r) {
        for (size_t c = 0; c < m_rows[r].size(); ++c) {
            if (m_rows[r][c] == bar) {
                *row = static_cast<int>(r);
                *column = static_cast<int>(c);
                return TRUE;
            }
        }
    }
    return FALSE;
}

int CDockBar::GetDockedCount() const
{
    int count = 0;
    for (const auto& row : m_rows) {
        count += static_cast<int>(row.size());
    }
    return count;
}

CSize CDockBar::CalcFixedLayout(BOOL stretch, BOOL horizontal)
{
    int thickness = 0;
    int length = 0;
    for (const auto& row : m_rows) {
        int rowThickness = 0;
        int rowLength = 0;
        for (CControlBar* bar : row) {
            if ((bar->GetStyle() & WS_VISIBLE) == 0) {
                continue;
            }
            const CSize size = IsFloatingDockBar() ? bar->CalcDynamicLayout(-1, LM_HORZ | LM_MRUWIDTH)
                                                   : bar->CalcFixedLayout(FALSE, horizontal);
            rowThickness = std::max<int>(rowThickness, horizontal ? size.cy : size.cx);
            rowLength += horizontal ? size.cx : size.cy;
        }
        thickness += rowThickness;
        length = std::max(length, rowLength);
    }
    if (stretch) {
        length = 32767;
    }
    return horizontal ? CSize(length, thickness) : CSize(thickness, length);
}

void CDockBar::LayoutBars()
{
    const BOOL horizontal = IsHorizontal();
    int offset = 0;
    for (const auto& row : m_rows) {
        int rowThickness = 0;
        int along = 0;
        for (CControlBar* bar : row) {
            if ((bar->GetStyle() & WS_VISIBLE) == 0) {
                continue;
            }
            const CSize size = IsFloatingDockBar() ? bar->CalcDynamicLayout(-1, LM_HORZ | LM_MRUWIDTH)
                                                   : bar->CalcFixedLayout(FALSE, horizontal);
            if (horizontal) {
                ::MoveWindow(bar->GetSafeHwnd(), along, offset, size.cx, size.cy, TRUE);
                along += size.cx;
                rowThickness = std::max<int>(rowThickness, size.cy);
            } else {
                ::MoveWindow(bar->GetSafeHwnd(), offset, along, size.cx, size.cy, TRUE);
                along += size.cy;
                rowThickness = std::max<int>(rowThickness, size.cx);
            }
        }
        offset += rowThickness;
    }
}

LRESULT CDockBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SIZEPARENT) {
        auto* layout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
        // An empty side takes no room and stays visible for later bars.
        if (layout != nullptr && GetDockedCount() > 0) {
            OnSizeParent(layout);
            if (layout->hDWP != nullptr) {
                LayoutBars();
            }
        } else if (layout != nullptr && layout->hDWP != nullptr) {
            CRect none(layout->rect.left, layout->rect.top, layout->rect.left, layout->rect.top);
            AfxRepositionWindow(layout, m_hWnd, &none);
        }
        return 0;
    }
    return CControlBar::WindowProc(message, wParam, lParam);
}

// CMiniFrameWnd, CMiniDockFrameWnd --------------------------------------------------------

BOOL CMiniFrameWnd::Create(LPCSTR title, DWORD style, const RECT& rect, CWnd* owner)
{
    return CWnd::CreateEx(WS_EX_TOOLWINDOW, AfxRegisterWndClass(CS_DBLCLKS), title, style | WS_POPUP, rect.left,
                          rect.top, rect.right - rect.left, rect.bottom - rect.top,
                          owner != nullptr ? owner->GetSafeHwnd() : nullptr, nullptr);
}

BOOL CMiniDockFrameWnd::Create(CWnd* dockSite, DWORD barStyle)
{
    (void)barStyle;
    m_pDockSite = dockSite;
    if (!CMiniFrameWnd::Create(nullptr, WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN, CRect(0, 0, 100, 50), dockSite)) {
        return FALSE;
    }
    if (!m_wndDockBar.Create(this, CBRS_ALIGN_TOP, AFX_IDW_DOCKBAR_FLOAT)) {
        return FALSE;
    }
    // The floating bars' commands go where they went while docked.
    m_wndDockBar.SetOwner(dockSite);
    return TRUE;
}

std::vector<CControlBar*> CMiniDockFrameWnd::Bars() const
{
    std::vector<CControlBar*> bars;
    for (CControlBar* bar : AfxDockedBars(m_pDockSite)) {
        if (bar->m_pDockBar == &m_wndDockBar) {
            bars.push_back(bar);
        }
    }
    return bars;
}

void CMiniDockFrameWnd::EndDrag(bool drop)
{
    if (!m_dragging) {
        return;
    }
    m_dragging = false;
    AfxDrawDragTracker(m_pDockSite, m_dragOutline, kDragOutline);
    if (::GetCapture() == m_hWnd) {
        ReleaseCapture();
    }
    if (!drop) {
        return;
    }
    POINT cursor{};
    ::GetCursorPos(&cursor);
    const CPoint dropPoint(cursor.x, cursor.y);
    CWnd* site = m_pDockSite;
    // The frame may go away once its last bar docks: nothing of it is used
    // after the first drop.
    const std::vector<CControlBar*> bars = Bars();
    CRect frame;
    GetWindowRect(&frame);
    for (CControlBar* bar : bars) {
        // A bar that stays afloat puts the frame where the drag took it:
        // the drop moves the bar's top-left, which sits inside the frame.
        CRect barRect;
        bar->GetWindowRect(&barRect);
        const CPoint start(m_dragStart.x + barRect.left - frame.left, m_dragStart.y + barRect.top - frame.top);
        AfxDropControlBar(site, bar, dropPoint, start);
    }
}

void CMiniDockFrameWnd::RecalcLayout()
{
    // The caption shows the title of the first bar that floats here.
    const std::vector<CControlBar*> bars = Bars();
    if (!bars.empty()) {
        CString title;
        bars.front()->GetWindowText(title);
        CString current;
        GetWindowText(current);
        if (current != title) {
            SetWindowText(title);
        }
    }
    const CSize size = m_wndDockBar.CalcFixedLayout(FALSE, TRUE);
    CRect outer(0, 0, std::max<LONG>(size.cx, 1), std::max<LONG>(size.cy, 1));
    ::AdjustWindowRectEx(&outer, GetStyle(), FALSE, GetExStyle());
    SetWindowPos(nullptr, 0, 0, outer.Width(), outer.Height(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    CRect client;
    GetClientRect(&client);
    m_wndDockBar.MoveWindow(&client);
    m_wndDockBar.LayoutBars();
}

LRESULT CMiniDockFrameWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CLOSE: {
        // Closing hides the bars; the frame stays for them.
        for (CControlBar* bar : AfxDockedBars(m_pDockSite)) {
            if (bar->m_pDockBar == &m_wndDockBar) {
                bar->ShowWindow(SW_HIDE);
            }
        }
        ShowWindow(SW_HIDE);
        return 0;
    }
    case WM_NCLBUTTONDOWN:
        if (wParam == static_cast<WPARAM>(HTCAPTION) && m_pDockSite != nullptr) {
            m_dragging = true;
            m_dragStart = CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            GetWindowRect(&m_dragOutline);
            SetCapture();
            AfxDrawDragTracker(m_pDockSite, m_dragOutline, kDragOutline);
            return 0;
        }
        break;
    case WM_MOUSEMOVE:
        if (m_dragging) {
            POINT cursor{};
            ::GetCursorPos(&cursor);
            CRect moved;
            GetWindowRect(&moved);
            moved.OffsetRect(cursor.x - m_dragStart.x, cursor.y - m_dragStart.y);
            if (moved != m_dragOutline) {
                AfxDrawDragTracker(m_pDockSite, m_dragOutline, kDragOutline);
                m_dragOutline = moved;
                AfxDrawDragTracker(m_pDockSite, m_dragOutline, kDragOutline);
            }
            return 0;
        }
        break;
    case WM_LBUTTONUP:
        if (m_dragging) {
            EndDrag(true);
            return 0;
        }
        break;
    case WM_CAPTURECHANGED:
        if (m_dragging && reinterpret_cast<HWND>(lParam) != m_hWnd) {
            EndDrag(false);
        }
        break;
    case WM_NCLBUTTONDBLCLK:
        if (wParam == static_cast<WPARAM>(HTCAPTION)) {
            // A double click on the caption puts the bars back where they were docked.
            CWnd* site = m_pDockSite;
            std::vector<CControlBar*> bars;
            for (CControlBar* bar : AfxDockedBars(site)) {
                if (bar->m_pDockBar == &m_wndDockBar) {
                    bars.push_back(bar);
                }
            }
            for (CControlBar* bar : bars) {
                AfxDockControlBar(site, bar, bar->m_uMRUDockID);
            }
            return 0;
        }
        break;
    default: break;
    }
    return CMiniFrameWnd::WindowProc(message, wParam, lParam);
}

void CMiniDockFrameWnd::PostNcDestroy() { delete this; }

// Frame operations ------------------------------------------------------------------------

void AfxEnableDocking(CWnd* frame, DWORD style)
{
    if (frame == nullptr) {
        return;
    }
    for (const SideInfo& side : kSides) {
        if ((style & side.align) == 0 || AfxGetDockBar(frame, side.id) != nullptr) {
            continue;
        }
        auto* dock = new CDockBar();
        dock->m_bAutoDelete = TRUE;
        if (!dock->Create(frame, side.align, side.id)) {
            delete dock;
        }
    }
}

CDockBar* AfxGetDockBar(CWnd* frame, UINT id)
{
    if (frame == nullptr) {
        return nullptr;
    }
    CWnd* child = CWnd::FromHandlePermanent(::GetDlgItem(frame->GetSafeHwnd(), static_cast<int>(id)));
    return child != nullptr && child->IsKindOf(RUNTIME_CLASS(CDockBar)) ? static_cast<CDockBar*>(child) : nullptr;
}

void AfxDrawDragTracker(CWnd* frame, const CRect& screenRect, int thickness)
{
    if (frame == nullptr || frame->GetSafeHwnd() == nullptr || screenRect.IsRectEmpty()) {
        return;
    }
    CRect window;
    frame->GetWindowRect(&window);
    CRect outline = screenRect;
    outline.OffsetRect(-window.left, -window.top);
    HDC dc = ::GetDCEx(frame->GetSafeHwnd(), nullptr, DCX_WINDOW | DCX_CACHE | DCX_LOCKWINDOWUPDATE);
    if (dc == nullptr) {
        return;
    }
    // Every other pixel, so that the outline shows on any colour.
    static const WORD kHalftoneRows[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
    HBITMAP pattern = ::CreateBitmap(8, 8, 1, 1, kHalftoneRows);
    HBRUSH brush = pattern != nullptr ? ::CreatePatternBrush(pattern) : nullptr;
    {
        // Without a brush nothing is selected and nothing is put back.
        const SelectedObject selected(dc, brush);
        if (thickness <= 0) {
            outline.DeflateRect(1, 1);
            ::PatBlt(dc, outline.left, outline.top, outline.Width(), outline.Height(), PATINVERT);
        } else {
            const int t = std::min({thickness, outline.Width() / 2, outline.Height() / 2});
            ::PatBlt(dc, outline.left, outline.top, outline.Width(), t, PATINVERT);
            ::PatBlt(dc, outline.left, outline.bottom - t, outline.Width(), t, PATINVERT);
            ::PatBlt(dc, outline.left, outline.top + t, t, outline.Height() - 2 * t, PATINVERT);
            ::PatBlt(dc, outline.right - t, outline.top + t, t, outline.Height() - 2 * t, PATINVERT);
        }
    }
    if (brush != nullptr) {
        ::DeleteObject(brush);
    }
    if (pattern != nullptr) {
        ::DeleteObject(pattern);
    }
    ::ReleaseDC(frame->GetSafeHwnd(), dc);
}

void AfxRecalcBarLayout(CWnd* frame)
{
    if (frame != nullptr && frame->GetSafeHwnd() != nullptr) {
        frame->RepositionBars(AFX_IDW_CONTROLBAR_FIRST, AFX_IDW_CONTROLBAR_LAST, kPaneFirst);
    }
}

BOOL AfxDockControlBar(CWnd* frame, CControlBar* bar, UINT dockBarId, LPCRECT rect)
{
    if (frame == nullptr || bar == nullptr || bar->GetSafeHwnd() == nullptr) {
        return FALSE;
    }
    CDockBar* dock = nullptr;
    for (const SideInfo& side : kSides) {
        if ((dockBarId == 0 || dockBarId == side.id) && (bar->GetDockingStyle() & side.align) != 0) {
            dock = AfxGetDockBar(frame, side.id);
            if (dock != nullptr) {
                break;
            }
        }
    }
    if (dock == nullptr) {
        return FALSE;
    }
    Remember(frame, bar);
    (void)rect; // bars dock in a new row at the side's far edge
    int row = -1;
    dock->DockControlBar(bar, row);
    bar->ShowWindow(SW_SHOWNA);
    AfxRecalcBarLayout(frame);
    return TRUE;
}

BOOL AfxFloatControlBar(CWnd* frame, CControlBar* bar, CPoint screen, DWORD style)
{
    if (frame == nullptr || bar == nullptr || bar->GetSafeHwnd() == nullptr) {
        return FALSE;
    }
    Remember(frame, bar);
    CMiniDockFrameWnd* floating = FloatingFrameOf(bar);
    if (floating == nullptr) {
        floating = NewFloatingFrame(frame);
        if (floating == nullptr || !floating->Create(frame, style)) {
            delete floating;
            return FALSE;
        }
        floating->m_wndDockBar.DockControlBar(bar);
    }
    bar->ShowWindow(SW_SHOWNA);
    floating->RecalcLayout();
    floating->SetWindowPos(nullptr, screen.x, screen.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    AfxRecalcBarLayout(frame);
    return TRUE;
}

void AfxShowControlBar(CWnd* frame, CControlBar* bar, BOOL show)
{
    if (bar == nullptr || bar->GetSafeHwnd() == nullptr) {
        return;
    }
    bar->ShowWindow(show ? SW_SHOWNA : SW_HIDE);
    if (CMiniDockFrameWnd* floating = FloatingFrameOf(bar)) {
        floating->ShowWindow(show ? SW_SHOWNA : SW_HIDE);
        floating->RecalcLayout();
    }
    AfxRecalcBarLayout(frame);
}

void AfxDropControlBar(CWnd* frame, CControlBar* bar, CPoint drop, CPoint from)
{
    if (frame == nullptr || bar == nullptr) {
        return;
    }
    CRect client;
    frame->GetClientRect(&client);
    frame->ClientToScreen(&client);
    if (client.PtInRect(drop)) {
        const struct {
            UINT id;
            DWORD align;
            int distance;
        } nearSides[] = {
            {AFX_IDW_DOCKBAR_TOP, CBRS_ALIGN_TOP, drop.y - client.top},
            {AFX_IDW_DOCKBAR_BOTTOM, CBRS_ALIGN_BOTTOM, client.bottom - 1 - drop.y},
            {AFX_IDW_DOCKBAR_LEFT, CBRS_ALIGN_LEFT, drop.x - client.left},
            {AFX_IDW_DOCKBAR_RIGHT, CBRS_ALIGN_RIGHT, client.right - 1 - drop.x},
        };
        for (const auto& side : nearSides) {
            if (side.distance < kDockZone && (bar->GetDockingStyle() & side.align) != 0 &&
                AfxGetDockBar(frame, side.id) != nullptr) {
                AfxDockControlBar(frame, bar, side.id);
                return;
            }
        }
    }
    CRect barRect;
    bar->GetWindowRect(&barRect);
    AfxFloatControlBar(frame, bar, CPoint(barRect.left + drop.x - from.x, barRect.top + drop.y - from.y));
}

void AfxForgetControlBar(CControlBar* bar)
{
    for (auto& [frame, bars] : SiteBars()) {
        bars.erase(std::remove(bars.begin(), bars.end(), bar), bars.end());
    }
}

std::vector<CControlBar*> AfxDockedBars(CWnd* frame)
{
    if (frame == nullptr) {
        return {};
    }
    auto it = SiteBars().find(frame->GetSafeHwnd());
    return it == SiteBars().end() ? std::vector<CControlBar*>{} : it->second;
}

// Bar layout ---------------------------------------------------------------------------------

void CDockState::SetProfileKey(HKEY root, LPCSTR subKey)
{
    Profile().root = root;
    Profile().subKey = subKey != nullptr ? subKey : "";
}

BOOL CDockState::SaveState(LPCSTR profileName) const
{
    if (profileName == nullptr) {
        return FALSE;
    }
    HKEY summary = nullptr;
    if (RegCreateKeyA(Profile().root, SectionKey(profileName, "Summary").c_str(), &summary) != ERROR_SUCCESS) {
        return FALSE;
    }
    bool written = WriteInt(summary, "Bars", static_cast<int>(m_arrBarInfo.size()));
    RegCloseKey(summary);
    for (size_t i = 0; i < m_arrBarInfo.size() && written; ++i) {
        const CControlBarInfo& info = m_arrBarInfo[i];
        HKEY key = nullptr;
        const std::string part = "Bar" + std::to_string(i);
        if (RegCreateKeyA(Profile().root, SectionKey(profileName, part.c_str()).c_str(), &key) != ERROR_SUCCESS) {
            return FALSE;
        }
        written = WriteInt(key, "BarID", static_cast<int>(info.m_nBarID)) &&
                  WriteInt(key, "Visible", info.m_bVisible ? 1 : 0) &&
                  WriteInt(key, "Floating", info.m_bFloating ? 1 : 0) &&
                  WriteInt(key, "DockBarID", static_cast<int>(info.m_uDockBarID)) &&
                  WriteInt(key, "XPos", info.m_pointPos.x) && WriteInt(key, "YPos", info.m_pointPos.y) &&
                  WriteInt(key, "Row", info.m_nRow) && WriteInt(key, "Column", info.m_nColumn);
        RegCloseKey(key);
    }
    return written ? TRUE : FALSE;
}

BOOL CDockState::LoadState(LPCSTR profileName)
{
    if (profileName == nullptr) {
        return FALSE;
    }
    HKEY summary = nullptr;
    if (RegOpenKeyA(Profile().root, SectionKey(profileName, "Summary").c_str(), &summary) != ERROR_SUCCESS) {
        return FALSE;
    }
    int count = 0;
    const bool counted = ReadInt(summary, "Bars", &count);
    RegCloseKey(summary);
    // A damaged count is refused rather than trusted.
    if (!counted || count < 0 || count > 1024) {
        return FALSE;
    }
    std::vector<CControlBarInfo> loaded(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        HKEY key = nullptr;
        const std::string part = "Bar" + std::to_string(i);
        if (RegOpenKeyA(Profile().root, SectionKey(profileName, part.c_str()).c_str(), &key) != ERROR_SUCCESS) {
            return FALSE;
        }
        CControlBarInfo& info = loaded[static_cast<size_t>(i)];
        int id = 0;
        int visible = 0;
        int floating = 0;
        int dock = 0;
        const bool complete = ReadInt(key, "BarID", &id) && ReadInt(key, "Visible", &visible) &&
                              ReadInt(key, "Floating", &floating) && ReadInt(key, "DockBarID", &dock) &&
                              ReadInt(key, "XPos", &info.m_pointPos.x) && ReadInt(key, "YPos", &info.m_pointPos.y) &&
                              ReadInt(key, "Row", &info.m_nRow) && ReadInt(key, "Column", &info.m_nColumn);
        RegCloseKey(key);
        if (!complete) {
            return FALSE;
        }
        info.m_nBarID = static_cast<UINT>(id);
        info.m_bVisible = visible != 0;
        info.m_bFloating = floating != 0;
        info.m_uDockBarID = static_cast<UINT>(dock);
    }
    m_arrBarInfo = std::move(loaded);
    return TRUE;
}

void AfxGetDockState(CWnd* frame, CDockState& state)
{
    state.Clear();
    for (CControlBar* bar : AfxDockedBars(frame)) {
        CControlBarInfo info;
        info.m_nBarID = static_cast<UINT>(bar->GetDlgCtrlID());
        info.m_bVisible = (bar->GetStyle() & WS_VISIBLE) != 0 ? TRUE : FALSE;
        if (CDockBar* dock = bar->m_pDockBar) {
            info.m_uDockBarID = static_cast<UINT>(dock->GetDlgCtrlID());
            info.m_bFloating = dock->IsFloatingDockBar() ? TRUE : FALSE;
            dock->FindBar(bar, &info.m_nRow, &info.m_nColumn);
            if (info.m_bFloating) {
                CRect where;
                dock->GetParent()->GetWindowRect(&where);
                info.m_pointPos = CPoint(where.left, where.top);
            }
        }
        state.m_arrBarInfo.push_back(info);
    }
}

void AfxSetDockState(CWnd* frame, const CDockState& state)
{
    const std::vector<CControlBar*> bars = AfxDockedBars(frame);
    auto barOf = [&](UINT id) -> CControlBar* {
        for (CControlBar* bar : bars) {
            if (static_cast<UINT>(bar->GetDlgCtrlID()) == id) {
                return bar;
            }
        }
        return nullptr;
    };
    // Rows and columns in order, so that each bar lands where it was.
    std::vector<const CControlBarInfo*> order;
    for (const CControlBarInfo& info : state.m_arrBarInfo) {
        order.push_back(&info);
    }
    std::stable_sort(order.begin(), order.end(), [](const CControlBarInfo* a, const CControlBarInfo* b) {
        return a->m_nRow != b->m_nRow ? a->m_nRow < b->m_nRow : a->m_nColumn < b->m_nColumn;
    });
    for (const CControlBarInfo* info : order) {
        CControlBar* bar = barOf(info->m_nBarID);
        if (bar == nullptr) {
            continue;
        }
        if (info->m_bFloating) {
            AfxFloatControlBar(frame, bar, info->m_pointPos);
        } else if (CDockBar* dock = AfxGetDockBar(frame, info->m_uDockBarID)) {
            const int row = info->m_nRow;
            const int column = info->m_nColumn;
            Remember(frame, bar);
            dock->DockControlBar(bar, row, column);
        }
        AfxShowControlBar(frame, bar, info->m_bVisible);
    }
    AfxRecalcBarLayout(frame);
}
