// Control bars: the WM_SIZEPARENT layout along the frame's edges, idle
// command-UI updates, and the tool and status bars.
#include "platform/framework/controlbar.h"

#include <algorithm>
#include <vector>

#include "platform/framework/dc.h"
#include "platform/framework/docking.h"
#include "platform/kernel/resource.h"
#include "platform/kernel/resource_records.h"
#include "platform/user/dialog.h"

IMPLEMENT_DYNAMIC(CControlBar, CWnd)
IMPLEMENT_DYNAMIC(CToolBar, CControlBar)
IMPLEMENT_DYNAMIC(CStatusBar, CControlBar)
IMPLEMENT_DYNAMIC(CDialogBar, CControlBar)

namespace {

constexpr int kEdge = 2;          // a CBRS_BORDER_* edge
constexpr int kGripper = 8;       // room for the gripper across the bar
constexpr int kStretchLength = 32767;
constexpr int kPaneEdges = 6;     // a status pane's edges and text insets around its text
constexpr int kPaneGap = 2;       // the status control's gap before every part but the first
constexpr int kImageExtra = 7;    // a button is this much larger than its image
constexpr UINT kSeparator = 0;    // ID_SEPARATOR

// The control styles a bar gives its control: the bar, not the control,
// decides where it goes.
constexpr DWORD kPlacedByBar = CCS_NOPARENTALIGN | CCS_NOMOVEY | CCS_NODIVIDER | CCS_NORESIZE;

class CToolCmdUI : public CCmdUI {
public:
    void Enable(BOOL on) override
    {
        CCmdUI::Enable(on);
        auto* bar = static_cast<CToolBar*>(m_pOther);
        bar->GetToolBarCtrl().EnableButton(static_cast<int>(m_nID), on);
    }
    void SetCheck(int check) override
    {
        CCmdUI::SetCheck(check);
        auto* bar = static_cast<CToolBar*>(m_pOther);
        bar->GetToolBarCtrl().CheckButton(static_cast<int>(m_nID), check == 1);
        bar->GetToolBarCtrl().Indeterminate(static_cast<int>(m_nID), check == 2);
    }
    void SetText(const char*) override {} // buttons keep their texts
};

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

// CControlBar ---------------------------------------------------------------------------

CControlBar::~CControlBar()
{
    if (m_pDockBar != nullptr) {
        m_pDockBar->RemoveControlBar(this);
    }
    AfxForgetControlBar(this);
}

void CControlBar::EnableDocking(DWORD style) { m_dwDockStyle = style & CBRS_ALIGN_ANY; }

BOOL CControlBar::OnDragMessage(UINT message, WPARAM, LPARAM lParam)
{
    switch (message) {
    case WM_LBUTTONDOWN: {
        if (m_dwDockStyle == 0 || m_pDockSite == nullptr || IsFloating()) {
            return FALSE;
        }
        CRect client;
        GetClientRect(&client);
        CRect inside = client;
        CalcInsideRect(inside, IsHorizontal());
        const CPoint point(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        // Only the gripper and the borders around the items start a drag.
        if (inside.PtInRect(point)) {
            return FALSE;
        }
        m_dragging = true;
        POINT screen = point;
        ClientToScreen(&screen);
        m_dragStart = screen;
        SetCapture();
        return TRUE;
    }
    case WM_LBUTTONUP: {
        if (!m_dragging) {
            return FALSE;
        }
        m_dragging = false;
        ReleaseCapture();
        POINT drop{};
        ::GetCursorPos(&drop);
        AfxDropControlBar(m_pDockSite, this, CPoint(drop.x, drop.y), CPoint(m_dragStart.x, m_dragStart.y));
        return TRUE;
    }
    case WM_MOUSEMOVE: return m_dragging ? TRUE : FALSE;
    case WM_CAPTURECHANGED:
        if (m_dragging && reinterpret_cast<HWND>(lParam) != m_hWnd) {
            m_dragging = false;
        }
        return FALSE;
    default: return FALSE;
    }
}

void CControlBar::SetBarStyle(DWORD style)
{
    m_dwStyle = style & CBRS_ALL;
    if (m_hWnd != nullptr) {
        Invalidate();
    }
}

void CControlBar::SetBorders(int left, int top, int right, int bottom)
{
    m_cxLeftBorder = left;
    m_cyTopBorder = top;
    m_cxRightBorder = right;
    m_cyBottomBorder = bottom;
}

DWORD CControlBar::TakeBarStyle(DWORD style)
{
    m_dwStyle = style & CBRS_ALL;
    return style & ~CBRS_ALL;
}

void CControlBar::CalcInsideRect(CRect& rect, BOOL horizontal) const
{
    rect.left += m_cxLeftBorder + kEdge * ((m_dwStyle & CBRS_BORDER_LEFT) != 0 ? 1 : 0);
    rect.top += m_cyTopBorder + kEdge * ((m_dwStyle & CBRS_BORDER_TOP) != 0 ? 1 : 0);
    rect.right -= m_cxRightBorder + kEdge * ((m_dwStyle & CBRS_BORDER_RIGHT) != 0 ? 1 : 0);
    rect.bottom -= m_cyBottomBorder + kEdge * ((m_dwStyle & CBRS_BORDER_BOTTOM) != 0 ? 1 : 0);
    if ((m_dwStyle & CBRS_GRIPPER) != 0 && !IsFloating()) {
        if (horizontal) {
            rect.left += kGripper;
        } else {
            rect.top += kGripper;
        }
    }
}

CSize CControlBar::CalcFixedLayout(BOOL stretch, BOOL horizontal)
{
    // The borders alone; bars with items add theirs.
    CRect inside(0, 0, 0, 0);
    CalcInsideRect(inside, horizontal);
    CSize size(-inside.Width(), -inside.Height());
    if (stretch) {
        (horizontal ? size.cx : size.cy) = kStretchLength;
    }
    return size;
}

CSize CControlBar::CalcDynamicLayout(int, DWORD mode)
{
    return CalcFixedLayout((mode & LM_STRETCH) != 0, (mode & LM_HORZ) != 0);
}

void CControlBar::OnSizeParent(AFX_SIZEPARENTPARAMS* layout)
{
    if (layout == nullptr || (GetStyle() & WS_VISIBLE) == 0 || IsFloating()) {
        return;
    }
    CRect free(layout->rect);
    const DWORD align = m_dwStyle & CBRS_ALIGN_ANY;
    const BOOL horizontal = (align & CBRS_ORIENT_HORZ) != 0 || align == 0;
    CSize size = (m_dwStyle & CBRS_SIZE_DYNAMIC) != 0
                     ? CalcDynamicLayout(-1, (horizontal ? (LM_HORZ | LM_HORZDOCK) : LM_VERTDOCK) |
                                                 (layout->bStretch ? LM_STRETCH : 0))
                     : CalcFixedLayout(layout->bStretch, horizontal);
    CRect bar = free;
    if (horizontal) {
        size.cx = std::min<LONG>(size.cx, free.Width());
        size.cy = std::min<LONG>(size.cy, free.Height());
        bar.right = bar.left + size.cx;
        if ((align & CBRS_ALIGN_BOTTOM) != 0 && (align & CBRS_ALIGN_TOP) == 0) {
            bar.top = free.bottom - size.cy;
            layout->rect.bottom -= size.cy;
        } else {
            bar.bottom = free.top + size.cy;
            layout->rect.top += size.cy;
        }
        layout->sizeTotal.cy += size.cy;
        layout->sizeTotal.cx = std::max(layout->sizeTotal.cx, size.cx);
    } else {
        size.cx = std::min<LONG>(size.cx, free.Width());
        size.cy = std::min<LONG>(size.cy, free.Height());
        bar.bottom = bar.top + size.cy;
        if ((align & CBRS_ALIGN_RIGHT) != 0 && (align & CBRS_ALIGN_LEFT) == 0) {
            bar.left = free.right - size.cx;
            layout->rect.right -= size.cx;
        } else {
            bar.right = free.left + size.cx;
            layout->rect.left += size.cx;
        }
        layout->sizeTotal.cx += size.cx;
        layout->sizeTotal.cy = std::max(layout->sizeTotal.cy, size.cy);
    }
    if (layout->hDWP != nullptr) {
        AfxRepositionWindow(layout, m_hWnd, &bar);
    }
}

LRESULT CControlBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (OnDragMessage(message, wParam, lParam)) {
        return 0;
    }
    switch (message) {
    case WM_SIZEPARENT: OnSizeParent(reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam)); return 0;
    case WM_IDLEUPDATECMDUI:
        if (IsWindowVisible()) {
            CWnd* target = GetOwner();
            OnUpdateCmdUI(target != nullptr ? target : GetParent(), static_cast<BOOL>(wParam));
        }
        return 0;
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM: {
        // What the bar's controls (or the bars a dock bar holds) tell their
        // parent is the owner's to route, unless the bar handles it itself.
        LRESULT result = 0;
        if (OnWndMsg(message, wParam, lParam, &result)) {
            return result;
        }
        if (CWnd* owner = GetOwner(); owner != nullptr && owner != this) {
            return owner->SendMessage(message, wParam, lParam);
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
    default: return CWnd::WindowProc(message, wParam, lParam);
    }
}

void CControlBar::PostNcDestroy()
{
    if (m_bAutoDelete) {
        delete this;
    }
}

// CToolBar ------------------------------------------------------------------------------

CToolBar::~CToolBar() { m_control.m_hWnd = nullptr; }

BOOL CToolBar::Create(CWnd* parent, DWORD style, UINT id)
{
    return CreateEx(parent, 0, style, CRect(m_cxLeftBorder, m_cyTopBorder, m_cxRightBorder, m_cyBottomBorder), id);
}

BOOL CToolBar::CreateEx(CWnd* parent, DWORD controlStyle, DWORD style, CRect borders, UINT id)
{
    DWORD windowStyle = TakeBarStyle(style) | controlStyle | kPlacedByBar;
    if ((m_dwStyle & CBRS_TOOLTIPS) != 0) {
        windowStyle |= TBSTYLE_TOOLTIPS;
    }
    SetBorders(borders.left, borders.top, borders.right, borders.bottom);
    if (!CWnd::CreateEx(0, TOOLBARCLASSNAMEA, nullptr, windowStyle | WS_CHILD, CRect(0, 0, 0, 0), parent, id)) {
        return FALSE;
    }
    m_control.m_hWnd = m_hWnd;
    m_control.SetButtonStructSize(static_cast<int>(sizeof(TBBUTTON)));
    SetOwner(parent);
    return TRUE;
}

CToolBarCtrl& CToolBar::GetToolBarCtrl() const
{
    m_control.m_hWnd = m_hWnd;
    return m_control;
}

BOOL CToolBar::LoadToolBar(UINT id)
{
    const auto bytes = FindResourceBytes(nullptr, kResourceToolbar, static_cast<WORD>(id));
    if (!bytes) {
        return FALSE;
    }
    const auto layout = DecodeToolbarTemplate(*bytes);
    if (!layout || layout->width == 0 || layout->height == 0) {
        return FALSE;
    }
    SetSizes(CSize(layout->width + kImageExtra, layout->height + kImageExtra), CSize(layout->width, layout->height));
    if (!LoadBitmap(id)) {
        return FALSE;
    }
    std::vector<UINT> ids(layout->items.begin(), layout->items.end());
    return SetButtons(ids.data(), static_cast<int>(ids.size()));
}

BOOL CToolBar::LoadBitmap(UINT id)
{
    CBitmap bitmap;
    if (!bitmap.LoadBitmap(id)) {
        return FALSE;
    }
    BITMAP info{};
    bitmap.GetBitmap(&info);
    const int count = std::max(1, static_cast<int>(info.bmWidth) / std::max<int>(1, m_sizeImage.cx));
    return GetToolBarCtrl().AddBitmap(count, &bitmap) >= 0;
}

BOOL CToolBar::SetButtons(const UINT* ids, int count)
{
    if (count < 0) {
        return FALSE;
    }
    CToolBarCtrl& control = GetToolBarCtrl();
    while (control.GetButtonCount() > 0) {
        control.DeleteButton(0);
    }
    std::vector<TBBUTTON> buttons(static_cast<size_t>(count));
    int image = 0;
    for (int i = 0; i < count; ++i) {
        TBBUTTON& b = buttons[static_cast<size_t>(i)];
        b.iString = -1;
        if (ids == nullptr) {
            b.fsStyle = BTNS_SEP; // filled in later with SetButtonInfo
            continue;
        }
        if (ids[i] == kSeparator) {
            b.fsStyle = BTNS_SEP;
        } else {
            b.idCommand = static_cast<int>(ids[i]);
            b.iBitmap = image++;
            b.fsState = TBSTATE_ENABLED;
            b.fsStyle = BTNS_BUTTON;
        }
    }
    return count == 0 || control.AddButtons(count, buttons.data());
}

void CToolBar::SetSizes(SIZE button, SIZE image)
{
    m_sizeImage = image;
    SendMessage(TB_SETBITMAPSIZE, 0, MAKELPARAM(static_cast<WORD>(image.cx), static_cast<WORD>(image.cy)));
    SendMessage(TB_SETBUTTONSIZE, 0, MAKELPARAM(static_cast<WORD>(button.cx), static_cast<WORD>(button.cy)));
}

int CToolBar::CommandToIndex(UINT id) const { return GetToolBarCtrl().CommandToIndex(id); }
int CToolBar::GetCount() const { return GetToolBarCtrl().GetButtonCount(); }

UINT CToolBar::GetItemID(int index) const
{
    TBBUTTON button{};
    return GetToolBarCtrl().GetButton(index, &button) ? static_cast<UINT>(button.idCommand) : 0;
}

void CToolBar::GetItemRect(int index, LPRECT rect) const
{
    if (rect != nullptr && !GetToolBarCtrl().GetItemRect(index, rect)) {
        SetRectEmpty(rect);
    }
}

UINT CToolBar::GetButtonStyle(int index) const
{
    TBBUTTON button{};
    if (!GetToolBarCtrl().GetButton(index, &button)) {
        return 0;
    }
    return MAKELONG(button.fsStyle, button.fsState);
}

void CToolBar::SetButtonStyle(int index, UINT style)
{
    TBBUTTONINFOA info{};
    info.cbSize = sizeof(info);
    info.dwMask = TBIF_BYINDEX | TBIF_STYLE | TBIF_STATE;
    info.fsStyle = static_cast<BYTE>(LOWORD(style));
    info.fsState = static_cast<BYTE>(HIWORD(style));
    GetToolBarCtrl().SetButtonInfo(index, &info);
}

void CToolBar::GetButtonInfo(int index, UINT& id, UINT& style, int& image) const
{
    TBBUTTON button{};
    if (!GetToolBarCtrl().GetButton(index, &button)) {
        id = style = 0;
        image = 0;
        return;
    }
    id = static_cast<UINT>(button.idCommand);
    style = MAKELONG(button.fsStyle, button.fsState);
    image = button.iBitmap;
}

void CToolBar::SetButtonInfo(int index, UINT id, UINT style, int image)
{
    TBBUTTONINFOA info{};
    info.cbSize = sizeof(info);
    info.dwMask = TBIF_BYINDEX | TBIF_COMMAND | TBIF_STYLE | TBIF_STATE | TBIF_IMAGE;
    info.idCommand = static_cast<int>(id);
    info.fsStyle = static_cast<BYTE>(LOWORD(style));
    info.fsState = static_cast<BYTE>(HIWORD(style));
    info.iImage = image;
    GetToolBarCtrl().SetButtonInfo(index, &info);
}

BOOL CToolBar::SetButtonText(int index, LPCSTR text)
{
    TBBUTTONINFOA info{};
    info.cbSize = sizeof(info);
    info.dwMask = TBIF_BYINDEX | TBIF_TEXT;
    info.pszText = const_cast<LPSTR>(text);
    return GetToolBarCtrl().SetButtonInfo(index, &info);
}

CString CToolBar::GetButtonText(int index) const
{
    char buffer[256] = {};
    TBBUTTONINFOA info{};
    info.cbSize = sizeof(info);
    info.dwMask = TBIF_BYINDEX | TBIF_TEXT;
    info.pszText = buffer;
    info.cchText = static_cast<int>(sizeof(buffer));
    GetToolBarCtrl().GetButtonInfo(index, &info);
    return CString(buffer);
}

CSize CToolBar::WrapButtons(int length, BOOL horizontal)
{
    CToolBarCtrl& control = GetToolBarCtrl();
    const int count = control.GetButtonCount();
    int x = 0;
    for (int i = 0; i < count; ++i) {
        TBBUTTON button{};
        control.GetButton(i, &button);
        BYTE state = static_cast<BYTE>(button.fsState & ~TBSTATE_WRAP);
        if (!horizontal) {
            state |= TBSTATE_WRAP;
        } else if (i + 1 < count) {
            CRect r;
            control.GetItemRect(i, &r);
            TBBUTTON next{};
            control.GetButton(i + 1, &next);
            CRect nextRect;
            control.GetItemRect(i + 1, &nextRect);
            x += r.Width();
            if (x + nextRect.Width() > length && length >= 0) {
                state |= TBSTATE_WRAP;
                x = 0;
            }
        }
        if (state != button.fsState) {
            // By index: separators and repeated ids cannot be found by id.
            TBBUTTONINFOA info{};
            info.cbSize = sizeof(info);
            info.dwMask = TBIF_BYINDEX | TBIF_STATE;
            info.fsState = state;
            control.SetButtonInfo(i, &info);
        }
    }
    SIZE extent{0, 0};
    control.GetMaxSize(&extent);
    return CSize(extent.cx, extent.cy);
}

CSize CToolBar::CalcFixedLayout(BOOL stretch, BOOL horizontal)
{
    const CSize items = WrapButtons(horizontal ? kStretchLength : 0, horizontal);
    CRect inside(0, 0, 0, 0);
    CalcInsideRect(inside, horizontal);
    CSize size(items.cx - inside.Width(), items.cy - inside.Height());
    if (stretch) {
        (horizontal ? size.cx : size.cy) = kStretchLength;
    }
    return size;
}

CSize CToolBar::CalcDynamicLayout(int length, DWORD mode)
{
    if ((mode & (LM_HORZDOCK | LM_VERTDOCK)) != 0 || length < 0) {
        return CalcFixedLayout((mode & LM_STRETCH) != 0, (mode & LM_VERTDOCK) == 0);
    }
    // A floating bar: rows no wider than `length`.
    CRect inside(0, 0, 0, 0);
    CalcInsideRect(inside, TRUE);
    const CSize items = WrapButtons(length + inside.Width(), TRUE);
    return CSize(items.cx - inside.Width(), items.cy - inside.Height());
}

void CToolBar::OnUpdateCmdUI(CWnd* target, BOOL disableIfNoHandler)
{
    CToolCmdUI state;
    state.m_pOther = this;
    const int count = GetCount();
    state.m_nIndexMax = static_cast<UINT>(count);
    for (int i = 0; i < count; ++i) {
        TBBUTTON button{};
        if (!GetToolBarCtrl().GetButton(i, &button) || (button.fsStyle & BTNS_SEP) != 0) {
            continue;
        }
        state.m_nIndex = static_cast<UINT>(i);
        state.m_nID = static_cast<UINT>(button.idCommand);
        state.m_bEnableChanged = FALSE;
        state.m_bContinueRouting = FALSE;
        state.DoUpdate(target, disableIfNoHandler);
    }
}

// CStatusBar ----------------------------------------------------------------------------

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
    CFont* font = GetFont();
    HGDIOBJ old = ::SelectObject(dc.GetSafeHdc(), font != nullptr ? static_cast<HGDIOBJ>(font->GetSafeHandle())
                                                                  : GetStockObject(DEFAULT_GUI_FONT));
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
    ::SelectObject(dc.GetSafeHdc(), old);
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
        CFont* font = GetFont();
        HGDIOBJ old = ::SelectObject(dc.GetSafeHdc(), font != nullptr ? static_cast<HGDIOBJ>(font->GetSafeHandle())
                                                                      : GetStockObject(DEFAULT_GUI_FONT));
        ::GetTextMetricsA(dc.GetSafeHdc(), &metrics);
        ::SelectObject(dc.GetSafeHdc(), old);
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

// CDialogBar ------------------------------------------------------------------------------

namespace {

// The dialog manager's procedure for a bar: nothing of its own, the
// framework's procedure (subclassed in) does the work.
INT_PTR DialogBarProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG ? TRUE : FALSE; }

// The template as a child window without a frame of its own.
DialogTemplate AsChild(const DialogTemplate& source, UINT style)
{
    DialogTemplate child = source;
    child.style &= ~(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_VISIBLE);
    child.style |= WS_CHILD | (style & WS_VISIBLE);
    return child;
}

} // namespace

BOOL CDialogBar::Create(CWnd* parent, UINT templateId, UINT style, UINT id)
{
    return Create(parent, UserIntName(static_cast<WORD>(templateId)), style, id);
}

BOOL CDialogBar::Create(CWnd* parent, LPCSTR templateName, UINT style, UINT id)
{
    if (parent == nullptr || templateName == nullptr || !UserIsIntName(templateName)) {
        return FALSE;
    }
    const auto bytes = FindResourceBytes(nullptr, kResourceDialog, static_cast<WORD>(reinterpret_cast<uintptr_t>(templateName)));
    if (!bytes) {
        return FALSE;
    }
    const auto decoded = DecodeDialogTemplate(*bytes);
    return decoded ? CreateIndirect(parent, *decoded, style, id) : FALSE;
}

BOOL CDialogBar::CreateIndirect(CWnd* parent, const DialogTemplate& dialogTemplate, UINT style, UINT id)
{
    if (parent == nullptr || m_hWnd != nullptr) {
        return FALSE;
    }
    HWND dialog = CreateDialogIndirectParamA(nullptr, AsChild(dialogTemplate, style), parent->GetSafeHwnd(),
                                             DialogBarProc, 0);
    return Adopt(dialog, style, id);
}

BOOL CDialogBar::Adopt(HWND dialog, UINT style, UINT id)
{
    if (dialog == nullptr) {
        return FALSE;
    }
    if (!SubclassWindow(dialog)) {
        ::DestroyWindow(dialog);
        return FALSE;
    }
    TakeBarStyle(style);
    SetDlgCtrlID(static_cast<int>(id));
    SetBorders(0, 0, 0, 0);
    CRect r;
    GetWindowRect(&r);
    m_sizeDefault = r.Size();
    SetOwner(GetParent());
    return TRUE;
}

CSize CDialogBar::CalcFixedLayout(BOOL stretch, BOOL horizontal)
{
    if (!stretch) {
        return m_sizeDefault;
    }
    return horizontal ? CSize(32767, m_sizeDefault.cy) : CSize(m_sizeDefault.cx, 32767);
}

void CDialogBar::OnUpdateCmdUI(CWnd* target, BOOL disableIfNoHandler)
{
    UpdateDialogControls(target, disableIfNoHandler);
}

LRESULT CDialogBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND || message == WM_NOTIFY) {
        // The controls' messages are the owner's to route.
        LRESULT result = 0;
        if (OnWndMsg(message, wParam, lParam, &result)) {
            return result;
        }
        if (CWnd* owner = GetOwner(); owner != nullptr && owner != this) {
            return owner->SendMessage(message, wParam, lParam);
        }
    }
    return CControlBar::WindowProc(message, wParam, lParam);
}
