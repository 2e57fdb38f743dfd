// The tool bar: a toolbar control placed by its bar, its buttons from a
// toolbar resource or a list of ids, wrapped into rows for a length, and
// enabled and checked by idle command-UI updates.
#include <algorithm>
#include <vector>

#include "platform/framework/controlbar_internal.h"
#include "platform/kernel/resource.h"
#include "platform/kernel/resource_records.h"

IMPLEMENT_DYNAMIC(CToolBar, CControlBar)

namespace {

constexpr int kImageExtra = 7;    // a button is this much larger than its image

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

} // namespace

using nuvex::framework::bars::kPlacedByBar;
using nuvex::framework::bars::kSeparator;
using nuvex::framework::bars::kStretchLength;

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
