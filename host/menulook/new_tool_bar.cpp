// The toolbar in the menu style's look: image lists, background, gripper,
// separators and buttons through the custom-draw stages, drop-down menus
// and controls on separators.
//
// Painting precedence of WM_PAINT:
//   1. The background (style code's look) over the whole client area.
//   2. The gripper of a docked bar with CBRS_GRIPPER.
//   3. Every visible separator and button in order, the buttons through
//      OnCustomDraw (the stages the control's parent would be told of).
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

IMPLEMENT_DYNAMIC(CNewToolBar, CToolBar)

namespace {

COLORREF Sys(int index) { return GetSysColor(index); }

constexpr UINT kListFlags = ILC_COLORDDB | ILC_MASK;
constexpr int kDropDownWidth = 13;
// The room a gripper takes across a docked bar.
constexpr int kGripperRoom = 8;
constexpr COLORREF kWarmFrame = 0x840204;
constexpr COLORREF kWarmChecked = 0xC2EEFF;
constexpr COLORREF kHotTop = 0xDBEFFA;
constexpr COLORREF kHotBottom = 0x97D4FF;
constexpr COLORREF kPressedTop = 0x6B97F2;
constexpr COLORREF kPressedBottom = 0xA3CAF9;

CNewToolBar* g_activeToolBar = nullptr;
HHOOK g_toolBarHook = nullptr;

void Frame(HDC dc, const RECT& r, COLORREF colour)
{
    Draw3dRect(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, colour, colour);
}

// The style code as the buttons see it: 8 and 9 without a theme look like 2.
int ButtonStyleCode()
{
    const int code = CNewMenu::GetMenuDrawMode();
    if ((code == 8 || code == 9) && !IsThemeActiveHook()) {
        return 2;
    }
    return code;
}

COLORREF LookBase()
{
    const int code = CNewMenu::GetMenuDrawMode();
    return code >= 8 && code <= 11 ? GetMenuTextColor() : GetMenuFaceColor();
}

} // namespace

void DrawHotButtonFrame(HDC dc, const RECT& rect, bool pressed)
{
    Frame(dc, rect, kWarmFrame);
    RECT inner = rect;
    InflateRect(&inner, -1, -1);
    DrawGradient(dc, inner, pressed ? kPressedTop : kHotTop, pressed ? kPressedBottom : kHotBottom,
                 GradientDirection::Vertical, NearestColor::No);
}

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
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, info.hbmColor);
    const int amount = CNewMenu::GetIconShadeAmount();
    for (int y = 0; y < std::min<int>(size.cy, bm.bmHeight); ++y) {
        for (int x = 0; x < std::min<int>(size.cx, bm.bmWidth); ++x) {
            SetPixel(dc, x, y, DarkenColorBy(amount, GetPixel(dc, x, y)));
        }
    }
    SelectObject(dc, old);
    DeleteDC(dc);
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
    if (!HasDockedGripper(m_dwStyle)) {
        return;
    }
    const BarOrientation orientation =
        (m_dwStyle & CBRS_ORIENT_HORZ) != 0 ? BarOrientation::Horizontal : BarOrientation::Vertical;
    const GripperBorders borders{m_cxLeftBorder, m_cyTopBorder, m_cxRightBorder, m_cyBottomBorder};
    if (!DrawStyleGripper(dc, rect, borders, orientation)) {
        DrawPlainGripper(dc, rect, orientation);
        return;
    }
    const int code = CNewMenu::GetMenuDrawMode();
    if (code >= 6) {
        RECT corners = rect;
        if (orientation == BarOrientation::Horizontal) {
            corners = RECT{rect.left + m_cxLeftBorder, rect.top + 2, rect.right - m_cxRightBorder - 1,
                           rect.bottom - m_cxRightBorder};
        } else {
            corners = RECT{rect.left + m_cxLeftBorder - 1, rect.top + 3, rect.right - m_cxRightBorder,
                           rect.bottom - m_cxRightBorder - 1};
        }
        RoundBarCorners(dc, corners, code <= 7 ? Sys(COLOR_3DLIGHT) : GetMenuTextColor());
    }
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

// Painting -------------------------------------------------------------------------------------------------

bool CNewToolBar::ApplicationActive() const
{
    CWnd* frame = GetParentFrame();
    if (frame == nullptr) {
        frame = m_pDockSite != nullptr ? m_pDockSite : AfxGetMainWnd();
    }
    HWND top = frame != nullptr ? GetAncestor(frame->GetSafeHwnd(), GA_ROOT) : nullptr;
    HWND focus = ::GetFocus();
    return top != nullptr && focus != nullptr && (focus == top || ::IsChild(top, focus) != FALSE);
}

void CNewToolBar::EraseBackground(HDC dc)
{
    CRect client;
    GetClientRect(&client);
    BarBackground bg;
    bg.bar = m_hWnd;
    bg.rect = client;
    bg.inner = client;
    CalcInsideRect(*reinterpret_cast<CRect*>(&bg.inner), (m_dwStyle & CBRS_ORIENT_HORZ) != 0);
    bg.orientation = (m_dwStyle & CBRS_ORIENT_VERT) != 0 ? BarOrientation::Vertical : BarOrientation::Horizontal;
    bg.docked = !IsFloating();
    FillBarBackground(dc, bg);
    const int code = CNewMenu::GetMenuDrawMode();
    if (bg.docked || bg.orientation != BarOrientation::Horizontal || code < 6 || code > 11 ||
        GetScreenColorDepth() < 256) {
        return;
    }
    // A floating bar shades each row of buttons on its own.
    COLORREF light = 0;
    COLORREF mid = 0;
    COLORREF dark = 0;
    if (code <= 7) {
        const COLORREF c = GetMenuBkColor(nullptr);
        light = LightenColor(60, c);
        mid = c;
        dark = DarkenColorBy(60, c);
    } else {
        const ShadedBarColours colours = GetShadedBarColours();
        light = colours.light;
        mid = colours.mid;
        dark = colours.dark;
    }
    CRect row(0, -1, 0, -1);
    auto shadeRow = [&] {
        if (row.top < 0 || row.bottom <= row.top) {
            return;
        }
        const int half = (row.top + row.bottom) / 2;
        DrawGradient(dc, RECT{client.left, row.top, client.right, half}, light, mid, GradientDirection::Vertical,
                     NearestColor::No);
        DrawGradient(dc, RECT{client.left, half, client.right, row.bottom}, mid, dark, GradientDirection::Vertical,
                     NearestColor::No);
    };
    const int count = GetCount();
    for (int i = 0; i < count; ++i) {
        TBBUTTON button{};
        if (!GetToolBarCtrl().GetButton(i, &button) || (button.fsState & TBSTATE_HIDDEN) != 0) {
            continue;
        }
        CRect item;
        GetItemRect(i, &item);
        if (button.fsStyle == TBSTYLE_SEP && (button.fsState & TBSTATE_WRAP) != 0) {
            DrawGradient(dc, RECT{client.left, item.top, client.right, item.bottom}, dark, light,
                         GradientDirection::Vertical, NearestColor::No);
            continue;
        }
        if (item.top != row.top || item.bottom != row.bottom) {
            shadeRow();
            row = CRect(client.left, item.top, client.right, item.bottom);
        }
    }
    shadeRow();
}

void CNewToolBar::PaintButtonBack(HDC dc, const RECT& rect, UINT state, bool dropDown)
{
    const int code = ButtonStyleCode();
    const bool hot = (state & CDIS_HOT) != 0;
    const bool pressed = (state & (CDIS_SELECTED | CDIS_HOT)) == (CDIS_SELECTED | CDIS_HOT);
    const bool checked = (state & CDIS_CHECKED) != 0;
    const bool open = (state & CDIS_INDETERMINATE) != 0;
    if (!hot && !checked && !open) {
        return;
    }
    RECT face = rect;
    RECT part{rect.right - kDropDownWidth, rect.top, rect.right, rect.bottom};
    bool framed = true;
    auto frameWith = [&](auto draw) {
        draw(face);
        if (dropDown) {
            draw(part);
        }
    };
    if (code == 2 || code == 3) {
        if (open && !hot) {
            FillSolidRect(dc, &face, MixColor86(GetMenuBarBkColor(nullptr), Sys(COLOR_WINDOW)));
            const COLORREF pen = MenuLibrary().highContrast ? Sys(COLOR_BTNTEXT)
                                                            : DarkenColorBy(128, GetMenuBarBkColor(nullptr));
            frameWith([&](const RECT& r) { Frame(dc, r, pen); });
        } else {
            FillSolidRect(dc, &face, GetHighlightColor());
            frameWith([&](const RECT& r) { Frame(dc, r, Sys(COLOR_HIGHLIGHT)); });
        }
    } else if (code == 6 || code == 7) {
        const COLORREF c = Sys(COLOR_HIGHLIGHT);
        const COLORREF light = LightenColor(60, c);
        const COLORREF dark = DarkenColorBy(60, c);
        if (pressed) {
            DrawGradient(dc, face, c, dark, GradientDirection::Vertical, NearestColor::No);
        } else if (hot) {
            DrawGradient(dc, face, light, c, GradientDirection::Vertical, NearestColor::No);
        } else if (checked || GetScreenColorDepth() < 256) {
            FillSolidRect(dc, &face, light);
        } else {
            const COLORREF b = GetMenuBkColor(nullptr);
            const int half = (face.top + face.bottom) / 2;
            DrawGradient(dc, RECT{face.left, face.top, face.right, half}, LightenColor(60, b), b,
                         GradientDirection::Vertical, NearestColor::No);
            DrawGradient(dc, RECT{face.left, half, face.right, face.bottom}, b, DarkenColorBy(60, b),
                         GradientDirection::Vertical, NearestColor::No);
        }
        frameWith([&](const RECT& r) { Frame(dc, r, dark); });
    } else if (code >= 8 && code <= 11) {
        if (hot) {
            frameWith([&](const RECT& r) { DrawHotButtonFrame(dc, r, pressed); });
        } else if (checked) {
            FillSolidRect(dc, &face, kWarmChecked);
            frameWith([&](const RECT& r) { Frame(dc, r, kWarmFrame); });
        } else {
            if (GetScreenColorDepth() <= 256) {
                FillSolidRect(dc, &face, GetMenuTextColor());
            } else {
                DrawGradient(dc, face, MixColor86(GetMenuBkColor(nullptr), DarkenColorBy(10, Sys(COLOR_WINDOW))),
                             GetMenuTextColor(), GradientDirection::Horizontal, NearestColor::No);
            }
            const COLORREF pen = MenuLibrary().highContrast ? Sys(COLOR_BTNTEXT)
                                                            : DarkenColorBy(128, GetMenuBarBkColor(nullptr));
            frameWith([&](const RECT& r) { Frame(dc, r, pen); });
        }
    } else {
        // Classic looks: 3-D frames, no look for the open state's face.
        const COLORREF light = Sys(COLOR_HIGHLIGHTTEXT);
        const COLORREF dark = Sys(COLOR_BTNSHADOW);
        const bool sunken = pressed || checked || open;
        frameWith([&](const RECT& r) {
            Draw3dRect(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, sunken ? dark : light,
                       sunken ? light : dark);
        });
        framed = !open;
    }
    (void)framed;
}

void CNewToolBar::PaintButtonFace(HDC dc, const NMTBCUSTOMDRAW& draw, bool dropDown)
{
    const UINT state = draw.nmcd.uItemState;
    const RECT& r = draw.nmcd.rc;
    const int code = CNewMenu::GetMenuDrawMode();
    const bool disabled = (state & CDIS_DISABLED) != 0;
    const bool hot = (state & CDIS_HOT) != 0;
    const bool pressed = (state & (CDIS_SELECTED | CDIS_HOT)) == (CDIS_SELECTED | CDIS_HOT);
    HIMAGELIST list = disabled ? m_disabled : (!hot && CNewMenu::GetFadedIcons() ? m_faded : m_normal);
    const int index = static_cast<int>(draw.nmcd.lItemlParam);
    int w = 0;
    int h = 0;
    if (list != nullptr) {
        ImageList_GetIconSize(list, &w, &h);
    }
    const int right = dropDown ? r.right - kDropDownWidth + 6 : r.right;
    int x = (r.left + right - w) / 2;
    int y = (r.top + r.bottom - h) / 2;
    const bool text = draw.rcText.right > draw.rcText.left;
    if (text) {
        if ((GetStyle() & TBSTYLE_LIST) != 0) {
            x = r.left + 3;
        } else {
            y = r.top + 4;
        }
    }
    if (list != nullptr && index >= 0 && index < ImageList_GetImageCount(list)) {
        if ((code == 2 || code == 3) && hot && !pressed && !disabled) {
            HICON icon = ImageList_GetIcon(list, index, ILD_NORMAL);
            if (icon != nullptr) {
                ScopedObject brush(CreateSolidBrush(GetNearestColor(dc, ShadeColor70(GetHighlightColor()))));
                DrawStateA(dc, static_cast<HBRUSH>(brush.Get()), nullptr, reinterpret_cast<LPARAM>(icon), 0, x + 1,
                           y + 1, 0, 0, DST_ICON | DSS_MONO);
                DestroyIcon(icon);
            }
            ImageList_Draw(list, index, dc, x - 1, y - 1, ILD_TRANSPARENT);
        } else {
            ImageList_Draw(list, index, dc, x, y, ILD_TRANSPARENT);
        }
    }
    if (text) {
        char buffer[256] = {};
        const int length = static_cast<int>(
            ::SendMessageA(m_hWnd, TB_GETBUTTONTEXTA, draw.nmcd.dwItemSpec, reinterpret_cast<LPARAM>(buffer)));
        ScopedSelect font(dc, GetStockObject(ANSI_VAR_FONT));
        const int oldMode = SetBkMode(dc, TRANSPARENT);
        const COLORREF colour = disabled ? Sys(COLOR_GRAYTEXT)
                                : hot && (code == 6 || code == 7) ? Sys(COLOR_HIGHLIGHTTEXT)
                                                                  : Sys(COLOR_WINDOWTEXT);
        const COLORREF oldColour = SetTextColor(dc, colour);
        RECT textRect = draw.rcText;
        DrawTextA(dc, buffer, std::max(length, 0), &textRect, DT_CENTER | DT_SINGLELINE | DT_VCENTER);
        SetTextColor(dc, oldColour);
        SetBkMode(dc, oldMode);
    }
    if (dropDown) {
        const COLORREF arrow = disabled ? Sys(COLOR_GRAYTEXT) : Sys(COLOR_WINDOWTEXT);
        const int centre = r.right - kDropDownWidth / 2 - 1;
        const int top = (r.top + r.bottom) / 2 - 1;
        for (int row = 0; row < 3; ++row) {
            const int half = 2 - row;
            const RECT line{centre - half, top + row, centre + half + 1, top + row + 1};
            FillSolidRect(dc, &line, arrow);
        }
    }
}

LRESULT CNewToolBar::OnCustomDraw(NMTBCUSTOMDRAW* draw)
{
    switch (draw->nmcd.dwDrawStage) {
    case CDDS_PREPAINT: return CDRF_NOTIFYITEMDRAW | CDRF_NOTIFYPOSTPAINT | CDRF_SKIPDEFAULT;
    case CDDS_ITEMPREPAINT: {
        const int index = CommandToIndex(static_cast<UINT>(draw->nmcd.dwItemSpec));
        const bool dropDown = index >= 0 && (GetButtonStyle(index) & TBSTYLE_DROPDOWN) != 0;
        PaintButtonBack(draw->nmcd.hdc, draw->nmcd.rc, draw->nmcd.uItemState, dropDown);
        PaintButtonFace(draw->nmcd.hdc, *draw, dropDown);
        return CDRF_SKIPDEFAULT;
    }
    case CDDS_POSTPAINT:
    case CDDS_ITEMPOSTPAINT: return 0x24;
    default: return 0;
    }
}

void CNewToolBar::OnPaint()
{
    PAINTSTRUCT ps{};
    HDC dc = BeginPaint(m_hWnd, &ps);
    if (dc == nullptr) {
        return;
    }
    EraseBackground(dc);
    CRect client;
    GetClientRect(&client);
    DrawGripper(dc, client);
    const bool active = ApplicationActive();
    NMTBCUSTOMDRAW draw{};
    draw.nmcd.hdr = NMHDR{m_hWnd, static_cast<UINT_PTR>(GetDlgCtrlID()), NM_CUSTOMDRAW};
    draw.nmcd.hdc = dc;
    draw.nmcd.rc = client;
    for (DWORD stage : {CDDS_PREPAINT, CDDS_PREERASE, CDDS_POSTERASE}) {
        draw.nmcd.dwDrawStage = stage;
        OnCustomDraw(&draw);
    }
    const int code = CNewMenu::GetMenuDrawMode();
    COLORREF darkLine = DarkenColorBy(40, GetMenuTextColor());
    COLORREF lightLine = LightenColor(140, GetMenuTextColor());
    if (code == 2 || code == 3) {
        darkLine = lightLine = DarkenColorBy(40, GetMenuFaceColor());
    } else if (code == 6 || code == 7) {
        darkLine = lightLine = LightenColor(150, Sys(COLOR_3DDKSHADOW));
    }
    POINT cursor{-1, -1};
    ::GetCursorPos(&cursor);
    if (::WindowFromPoint(cursor) == m_hWnd) {
        ScreenToClient(&cursor);
    } else {
        cursor = POINT{-1, -1};
    }
    const bool horizontal = (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
    const int thickness = darkLine == lightLine ? 1 : 2;
    CRect previous(0, 0, 0, 0);
    const int count = GetCount();
    for (int i = 0; i < count; ++i) {
        TBBUTTON button{};
        if (!GetToolBarCtrl().GetButton(i, &button) || (button.fsState & TBSTATE_HIDDEN) != 0) {
            continue;
        }
        CRect item;
        GetItemRect(i, &item);
        if (button.fsStyle == TBSTYLE_SEP) {
            if ((button.fsState & TBSTATE_WRAP) != 0 && IsFloating()) {
                const int top = (item.bottom + previous.bottom) / 2 - 1;
                Draw3dRect(dc, item.left + 4, top, client.right - 2 - item.left - 4, thickness, darkLine, lightLine);
            } else if (button.idCommand != 0 && GetDlgItem(button.idCommand) != nullptr) {
                // A control sits here.
            } else if (horizontal) {
                const int left = (item.left + item.right) / 2 - 1;
                Draw3dRect(dc, left, item.top + 3, thickness, item.Height() - 6, darkLine, lightLine);
            } else {
                const int top = (item.bottom + previous.bottom) / 2;
                Draw3dRect(dc, item.left + 3, top, previous.right - 3 - item.left - 3, thickness, darkLine, lightLine);
            }
            previous = item;
            continue;
        }
        UINT state = 0;
        if ((button.fsState & TBSTATE_INDETERMINATE) != 0) {
            state |= CDIS_INDETERMINATE;
        }
        if ((button.fsState & TBSTATE_ENABLED) == 0) {
            state |= CDIS_DISABLED;
        }
        if ((button.fsState & TBSTATE_CHECKED) != 0) {
            state |= CDIS_CHECKED;
        }
        if (active && item.PtInRect(cursor)) {
            if ((button.fsState & TBSTATE_PRESSED) != 0) {
                state |= CDIS_SELECTED | CDIS_HOT;
            } else if ((button.fsState & TBSTATE_ENABLED) != 0) {
                state |= CDIS_HOT;
            }
        } else if ((button.fsState & TBSTATE_PRESSED) != 0) {
            state |= CDIS_HOT;
        }
        draw.rcText = RECT{0, 0, 0, 0};
        char text[256] = {};
        const int length = static_cast<int>(
            ::SendMessageA(m_hWnd, TB_GETBUTTONTEXTA, static_cast<WPARAM>(button.idCommand), reinterpret_cast<LPARAM>(text)));
        const bool dropDown = (button.fsStyle & TBSTYLE_DROPDOWN) != 0;
        if (length > 0) {
            SIZE extent{};
            {
                ScopedSelect font(dc, GetStockObject(ANSI_VAR_FONT));
                GetTextExtentPoint32A(dc, text, length, &extent);
            }
            const SIZE image = ImageSize();
            if ((GetStyle() & TBSTYLE_LIST) != 0) {
                const int top = (item.top + item.bottom - extent.cy) / 2 + 2;
                draw.rcText = RECT{item.left + 4 + image.cx, top, item.right - (dropDown ? 17 : 2), top + extent.cy};
            } else {
                const int centre = (item.left + item.right) / 2 - (dropDown ? 7 : 0);
                draw.rcText = RECT{centre - extent.cx / 2, item.bottom - 1 - extent.cy, centre + extent.cx / 2 + 1,
                                   item.bottom - 1};
            }
        }
        draw.nmcd.rc = item;
        draw.nmcd.dwItemSpec = static_cast<DWORD_PTR>(button.idCommand);
        draw.nmcd.uItemState = state;
        draw.nmcd.lItemlParam = static_cast<LPARAM>(button.iBitmap);
        draw.nmcd.dwDrawStage = CDDS_ITEMPREPAINT;
        OnCustomDraw(&draw);
        draw.nmcd.dwDrawStage = CDDS_ITEMPOSTPAINT;
        OnCustomDraw(&draw);
        previous = item;
    }
    draw.nmcd.dwDrawStage = CDDS_POSTPAINT;
    OnCustomDraw(&draw);
    EndPaint(m_hWnd, &ps);
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
