// The toolbar in the menu style's look: image lists, creation, borders and
// layout, controls on separators and drop-down menus (painting is in
// new_tool_bar_paint.cpp).
#include "host/menulook/new_tool_bar.h"

#include <algorithm>
#include <vector>

#include "host/menulook/bar_look.h"
#include "host/menulook/menu_colors.h"
#include "host/menulook/menu_drawing.h"
#include "host/menulook/menu_library.h"
#include "host/menulook/new_menu.h"
#include "platform/framework/app.h"
#include "platform/framework/framewnd.h"
#include "platform/gdi/dc_guards.h"

IMPLEMENT_DYNAMIC(CNewToolBar, CToolBar)

namespace {

constexpr UINT kListFlags = ILC_COLORDDB | ILC_MASK;
// The room a gripper takes across a docked bar.
constexpr int kGripperRoom = 8;

CNewToolBar* g_activeToolBar = nullptr;
HHOOK g_toolBarHook = nullptr;

COLORREF LookBase()
{
    const int code = CNewMenu::GetMenuDrawMode();
    return code >= 8 && code <= 11 ? GetMenuTextColor() : GetMenuFaceColor();
}

} // namespace

CNewToolBar::~CNewToolBar()
{
    for (HIMAGELIST list : {m_normal, m_faded, m_disabled}) {
        if (list != nullptr) {
            ImageList_Destroy(list);
        }
    }
}

SIZE CNewToolBar::ImageSize() const
{
    int w = 16;
    int h = 15;
    if (HIMAGELIST list = reinterpret_cast<HIMAGELIST>(::SendMessageA(m_hWnd, TB_GETIMAGELIST, 0, 0))) {
        ImageList_GetIconSize(list, &w, &h);
    } else if (m_normal != nullptr) {
        ImageList_GetIconSize(m_normal, &w, &h);
    }
    return SIZE{w, h};
}

HIMAGELIST CNewToolBar::MakeList() const
{
    const SIZE size = ImageSize();
    return ImageList_Create(size.cx, size.cy, kListFlags, 0, 10);
}

COLORREF CNewToolBar::DisabledTint() const { return LightenColor(115, LookBase()); }

COLORREF CNewToolBar::SetMaskColor(COLORREF colour)
{
    const COLORREF old = m_maskColor;
    m_maskColor = colour;
    return old;
}

// Image lists ---------------------------------------------------------------------------------------

BOOL CNewToolBar::LoadToolBar(UINT resourceId)
{
    const BOOL loaded = CToolBar::LoadToolBar(resourceId);
    if (loaded) {
        BuildImageLists(resourceId, 0xFF000000);
    }
    return loaded;
}

BOOL CNewToolBar::LoadToolBar(LPCSTR resourceName)
{
    if (resourceName == nullptr || reinterpret_cast<uintptr_t>(resourceName) > 0xFFFF) {
        return FALSE;
    }
    return LoadToolBar(static_cast<UINT>(reinterpret_cast<uintptr_t>(resourceName)));
}

BOOL CNewToolBar::BuildImageLists(UINT resourceId, COLORREF mask)
{
    int colors = 0;
    ScopedObject bitmap(LoadBitmapResource24(resourceId, nullptr, &colors));
    if (bitmap.Get() == nullptr) {
        return FALSE;
    }
    auto* picture = static_cast<HBITMAP>(bitmap.Get());
    if (mask == 0xFF000000) {
        mask = TopLeftPixel(picture);
    }
    if (m_normal != nullptr) {
        ImageList_Destroy(m_normal);
    }
    m_normal = MakeList();
    ImageList_AddMasked(m_normal, picture, mask);
    RebuildFadedImages();
    const COLORREF disabledMask = TintBitmap(picture, 110, DisabledTint());
    if (m_disabled != nullptr) {
        ImageList_Destroy(m_disabled);
    }
    m_disabled = MakeList();
    ImageList_AddMasked(m_disabled, picture, disabledMask);
    return TRUE;
}

int CNewToolBar::AddFadedImage(HICON icon, int index)
{
    ICONINFO info{};
    if (icon == nullptr || GetIconInfo(icon, &info) == FALSE) {
        return -1;
    }
    ScopedObject colour(info.hbmColor);
    ScopedObject mask(info.hbmMask);
    BITMAP bm{};
    GetObjectA(info.hbmColor, sizeof bm, &bm);
    const SIZE size = ImageSize();
    {
        const MemoryDC memory;
        const SelectedObject selected(memory.Get(), info.hbmColor);
        const int amount = CNewMenu::GetIconShadeAmount();
        for (int y = 0; y < std::min<int>(size.cy, bm.bmHeight); ++y) {
            for (int x = 0; x < std::min<int>(size.cx, bm.bmWidth); ++x) {
                SetPixel(memory.Get(), x, y, DarkenColorBy(amount, GetPixel(memory.Get(), x, y)));
            }
        }
    }
    if (index == -1) {
        return ImageList_Add(m_faded, info.hbmColor, info.hbmMask);
    }
    return ImageList_Replace(m_faded, index, info.hbmColor, info.hbmMask) != FALSE ? index : -1;
}

void CNewToolBar::RebuildFadedImages()
{
    if (m_faded != nullptr) {
        ImageList_Destroy(m_faded);
    }
    m_faded = MakeList();
    const int count = m_normal != nullptr ? ImageList_GetImageCount(m_normal) : 0;
    for (int i = 0; i < count; ++i) {
        HICON icon = ImageList_GetIcon(m_normal, i, ILD_NORMAL);
        AddFadedImage(icon, -1);
        if (icon != nullptr) {
            DestroyIcon(icon);
        }
    }
    SetImageListForState();
}

void CNewToolBar::SetImageListForState()
{
    if (m_hWnd == nullptr) {
        return;
    }
    HIMAGELIST list = CNewMenu::GetFadedIcons() ? m_faded : m_normal;
    if (list != nullptr) {
        ::SendMessageA(m_hWnd, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(list));
    }
}

LRESULT CNewToolBar::OnAddBitmap(WPARAM count, const TBADDBITMAP* add)
{
    const LRESULT result = CToolBar::DefWindowProc(TB_ADDBITMAP, count, reinterpret_cast<LPARAM>(add));
    const int held = m_normal != nullptr ? ImageList_GetImageCount(m_normal) : 0;
    if (result == -1 || add == nullptr || result < held) {
        return result;
    }
    ScopedObject copy;
    if (add->hInst == nullptr) {
        copy.Reset(CopyBitmap(reinterpret_cast<HBITMAP>(add->nID)));
    } else {
        int colors = 0;
        copy.Reset(LoadBitmapResource24(static_cast<UINT>(add->nID), reinterpret_cast<HMODULE>(add->hInst), &colors));
    }
    auto* bitmap = static_cast<HBITMAP>(copy.Get());
    BITMAP info{};
    if (bitmap == nullptr || GetObjectA(bitmap, sizeof info, &info) == 0) {
        return result;
    }
    const COLORREF maskColour = m_maskColor == 0xFF000000 ? TopLeftPixel(bitmap) : m_maskColor;
    ScopedObject mask(CreateMaskBitmap(bitmap, maskColour));
    const int images = std::max<int>(1, static_cast<int>(count));
    if (m_normal == nullptr) {
        m_normal = ImageList_Create(info.bmWidth / images, info.bmHeight, kListFlags, 0, 10);
    }
    ImageList_Add(m_normal, bitmap, static_cast<HBITMAP>(mask.Get()));
    RebuildFadedImages();
    if (m_disabled == nullptr) {
        m_disabled = ImageList_Create(info.bmWidth / images, info.bmHeight, kListFlags, 0, 10);
    }
    ImageList_Add(m_disabled, bitmap, static_cast<HBITMAP>(mask.Get()));
    return result;
}

LRESULT CNewToolBar::OnReplaceBitmap(const TBREPLACEBITMAP* replace)
{
    const LRESULT result = CToolBar::DefWindowProc(TB_REPLACEBITMAP, 0, reinterpret_cast<LPARAM>(replace));
    if (result == 0 || replace == nullptr || m_normal == nullptr) {
        return result;
    }
    TBADDBITMAP add{replace->hInstNew, replace->nIDNew};
    const LRESULT index = CToolBar::DefWindowProc(TB_ADDBITMAP, static_cast<WPARAM>(replace->nButtons),
                                                  reinterpret_cast<LPARAM>(&add));
    ScopedObject copy;
    if (replace->hInstNew == nullptr) {
        copy.Reset(CopyBitmap(reinterpret_cast<HBITMAP>(replace->nIDNew)));
    } else {
        int colors = 0;
        copy.Reset(LoadBitmapResource24(static_cast<UINT>(replace->nIDNew),
                                        reinterpret_cast<HMODULE>(replace->hInstNew), &colors));
    }
    auto* bitmap = static_cast<HBITMAP>(copy.Get());
    if (bitmap == nullptr || index < 0) {
        return result;
    }
    const COLORREF maskColour = m_maskColor == 0xFF000000 ? TopLeftPixel(bitmap) : m_maskColor;
    ScopedObject mask(CreateMaskBitmap(bitmap, maskColour));
    ImageList_Replace(m_normal, static_cast<int>(index), bitmap, static_cast<HBITMAP>(mask.Get()));
    RebuildFadedImages();
    if (m_disabled != nullptr) {
        ImageList_Replace(m_disabled, static_cast<int>(index), bitmap, static_cast<HBITMAP>(mask.Get()));
    }
    return result;
}

// Creation, borders and layout -----------------------------------------------------------------------

int CNewToolBar::OnCreate()
{
    const int code = CNewMenu::GetMenuDrawMode();
    COLORSCHEME scheme{sizeof(COLORSCHEME), 0xFF000000, 0};
    if (code == 2 || code == 3) {
        scheme.clrBtnShadow = ShadeColor70(GetMenuFaceColor());
        ::SendMessageA(m_hWnd, TB_SETCOLORSCHEME, 0, reinterpret_cast<LPARAM>(&scheme));
    } else if (code >= 8 && code <= 11) {
        SetBorders(3, 1, 3, 1);
        scheme.clrBtnShadow = ShadeColor70(GetMenuTextColor());
        ::SendMessageA(m_hWnd, TB_SETCOLORSCHEME, 0, reinterpret_cast<LPARAM>(&scheme));
    }
    return 0;
}

void CNewToolBar::OnBarStyleChange(DWORD, DWORD newStyle)
{
    const int code = CNewMenu::GetMenuDrawMode();
    if (code >= 6 && code <= 11) {
        if ((newStyle & CBRS_FLOATING) != 0) {
            SetBorders(0, 0, 0, 0);
        } else {
            SetBorders(3, 1, 3, 1);
        }
    }
}

void CNewToolBar::DrawBorders(HDC dc, CRect& rect)
{
    const int code = CNewMenu::GetMenuDrawMode();
    if (code == 2 || code == 3 || (code >= 6 && code <= 11)) {
        return;
    }
    if ((m_dwStyle & CBRS_BORDER_ANY) != 0) {
        DrawEdge(dc, &rect, BDR_RAISEDINNER, BF_RECT);
    }
}

void CNewToolBar::DrawGripper(HDC dc, const CRect& rect)
{
    const GripperBorders borders{m_cxLeftBorder, m_cyTopBorder, m_cxRightBorder, m_cyBottomBorder};
    DrawBarGripper(dc, rect, m_dwStyle, borders,
                   RECT{rect.left + m_cxLeftBorder, rect.top + 2, rect.right - m_cxRightBorder - 1,
                        rect.bottom - m_cxRightBorder},
                   RECT{rect.left + m_cxLeftBorder - 1, rect.top + 3, rect.right - m_cxRightBorder,
                        rect.bottom - m_cxRightBorder - 1});
}

void CNewToolBar::NoticeStyle()
{
    if (m_dwStyle != m_seenStyle) {
        const DWORD old = m_seenStyle;
        m_seenStyle = m_dwStyle;
        OnBarStyleChange(old, m_dwStyle);
    }
    // The control lays its buttons out from its left edge: a docked
    // horizontal bar's gripper needs the room before them.
    if (m_hWnd != nullptr) {
        const bool room = HasDockedGripper(m_dwStyle) && (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
        ::SendMessageA(m_hWnd, TB_SETINDENT, room ? static_cast<WPARAM>(kGripperRoom + m_cxLeftBorder) : 0, 0);
    }
}

CSize CNewToolBar::CalcFixedLayout(BOOL stretch, BOOL horizontal)
{
    NoticeStyle();
    return CToolBar::CalcFixedLayout(stretch, horizontal);
}

CSize CNewToolBar::CalcDynamicLayout(int length, DWORD mode)
{
    NoticeStyle();
    m_layoutOrientation = (mode & LM_VERTDOCK) != 0 ? 1 : 2;
    const CSize size = CToolBar::CalcDynamicLayout(length, mode);
    const bool vertical = m_layoutOrientation == 1;
    m_layoutOrientation = 0;
    if ((mode & LM_COMMIT) != 0) {
        const int count = GetCount();
        for (int i = 0; i < count; ++i) {
            TBBUTTON button{};
            if (!GetToolBarCtrl().GetButton(i, &button) || (button.fsStyle & TBSTYLE_SEP) == 0 ||
                button.idCommand == 0) {
                continue;
            }
            CWnd* control = GetDlgItem(button.idCommand);
            if (control == nullptr) {
                continue;
            }
            ::SendMessageA(m_hWnd, TB_HIDEBUTTON, static_cast<WPARAM>(button.idCommand), vertical ? TRUE : FALSE);
            if (vertical) {
                control->ShowWindow(SW_HIDE);
                continue;
            }
            CRect rect;
            GetItemRect(i, &rect);
            rect.DeflateRect(1, 1);
            CRect own;
            control->GetWindowRect(&own);
            const int top = rect.top + (rect.Height() - own.Height()) / 2;
            control->SetWindowPos(nullptr, rect.left, top, rect.Width(), own.Height(),
                                  SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
        }
    }
    return size;
}

LRESULT CNewToolBar::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    const LRESULT result = CToolBar::DefWindowProc(message, wParam, lParam);
    if (message == TB_GETBUTTON && m_layoutOrientation != 0 && result != 0 && lParam != 0) {
        auto* button = reinterpret_cast<TBBUTTON*>(lParam);
        if ((button->fsStyle & TBSTYLE_SEP) != 0 && button->idCommand != 0) {
            if (m_layoutOrientation == 1) {
                button->fsState |= TBSTATE_HIDDEN;
            } else {
                button->fsState &= static_cast<BYTE>(~TBSTATE_HIDDEN);
            }
        }
    }
    return result;
}

BOOL CNewToolBar::InsertControl(int index, CWnd* control, DWORD_PTR data)
{
    if (control == nullptr || control->GetSafeHwnd() == nullptr) {
        return FALSE;
    }
    control->SendMessage(WM_SETFONT, SendMessage(WM_GETFONT, 0, 0), 0);
    CRect rect;
    control->GetWindowRect(&rect);
    TBBUTTON button{};
    button.iBitmap = rect.Width();
    button.idCommand = control->GetDlgCtrlID();
    button.fsStyle = static_cast<BYTE>(TBSTYLE_SEP);
    button.dwData = data;
    button.iString = -1;
    const int count = GetCount();
    if (index < 0 || index > count) {
        index = count;
    }
    if (!GetToolBarCtrl().InsertButton(index, &button)) {
        return FALSE;
    }
    if (auto* frame = dynamic_cast<CFrameWnd*>(m_pDockSite)) {
        frame->DelayRecalcLayout();
    }
    return TRUE;
}

BOOL CNewToolBar::SetDropDown(UINT commandId)
{
    const int index = CommandToIndex(commandId);
    return index >= 0 ? SetDropDownByIndex(index) : FALSE;
}

BOOL CNewToolBar::SetDropDownByIndex(int index)
{
    if (index < 0 || index >= GetCount()) {
        return FALSE;
    }
    const LRESULT extended = ::SendMessageA(m_hWnd, TB_GETEXTENDEDSTYLE, 0, 0);
    ::SendMessageA(m_hWnd, TB_SETEXTENDEDSTYLE, 0, extended | TBSTYLE_EX_DRAWDDARROWS);
    SetButtonStyle(index, GetButtonStyle(index) | TBSTYLE_DROPDOWN);
    return TRUE;
}

// Drop-down menus ----------------------------------------------------------------------------------------

void CNewToolBar::TrackDropDownMenu(UINT commandId, CMenu* menu)
{
    const int index = CommandToIndex(commandId);
    if (menu == nullptr || index < 0) {
        return;
    }
    CRect rect;
    GetItemRect(index, &rect);
    ClientToScreen(&rect);
    GetToolBarCtrl().Indeterminate(static_cast<int>(commandId), TRUE);
    UpdateWindow();
    if (auto* newMenu = dynamic_cast<CNewMenu*>(menu)) {
        if (auto* parent = dynamic_cast<CNewMenu*>(CMenu::FromHandlePermanent(newMenu->GetParentMenu()))) {
            parent->SetMenuBorderRect(rect);
        }
    }
    MSG msg{};
    while (::PeekMessageA(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE) != FALSE) {
        ::DispatchMessageA(&msg);
    }
    m_openDropDown = index;
    g_activeToolBar = this;
    g_toolBarHook = SetWindowsHookExA(WH_MSGFILTER, &ToolBarMsgFilterHook, nullptr, 0);
    CWnd* frame = GetParentFrame();
    HWND owner = frame != nullptr ? frame->GetSafeHwnd() : ::GetParent(m_hWnd);
    TrackBarPopupMenu(menu->GetSafeHmenu(), 0, BarPopupPlacement{rect, owner, (m_dwStyle & CBRS_ORIENT_VERT) != 0});
    if (g_toolBarHook != nullptr) {
        UnhookWindowsHookEx(g_toolBarHook);
    }
    g_toolBarHook = nullptr;
    g_activeToolBar = nullptr;
    m_openDropDown = -1;
    if (m_hWnd != nullptr) {
        GetToolBarCtrl().Indeterminate(static_cast<int>(commandId), FALSE);
    }
}

LRESULT ToolBarMsgFilterHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == MSGF_MENU && g_activeToolBar != nullptr && lParam != 0) {
        g_activeToolBar->FilterMenuMessage(*reinterpret_cast<const MSG*>(lParam));
    }
    return CallNextHookEx(g_toolBarHook, code, wParam, lParam);
}

BOOL CNewToolBar::FilterMenuMessage(const MSG& msg)
{
    if (msg.message != WM_MOUSEMOVE || ::WindowFromPoint(msg.pt) != m_hWnd) {
        return FALSE;
    }
    POINT client = msg.pt;
    ScreenToClient(&client);
    const int count = GetCount();
    for (int i = 0; i < count; ++i) {
        CRect rect;
        GetItemRect(i, &rect);
        if (rect.PtInRect(client) && i != m_openDropDown && (GetButtonStyle(i) & TBSTYLE_SEP) == 0) {
            CWnd* frame = GetParentFrame();
            ::PostMessageA(frame != nullptr ? frame->GetSafeHwnd() : ::GetParent(m_hWnd), WM_CANCELMODE, 0, 0);
            break;
        }
    }
    return FALSE;
}

LRESULT CNewToolBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE: {
        const LRESULT created = CToolBar::WindowProc(message, wParam, lParam);
        return created == -1 ? -1 : OnCreate();
    }
    case WM_PAINT: OnPaint(); return 0;
    case WM_ERASEBKGND: EraseBackground(reinterpret_cast<HDC>(wParam)); return 1;
    case TB_ADDBITMAP: return OnAddBitmap(wParam, reinterpret_cast<const TBADDBITMAP*>(lParam));
    case TB_REPLACEBITMAP: return OnReplaceBitmap(reinterpret_cast<const TBREPLACEBITMAP*>(lParam));
    default: break;
    }
    return CToolBar::WindowProc(message, wParam, lParam);
}
