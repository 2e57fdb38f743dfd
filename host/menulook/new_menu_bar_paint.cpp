// Painting the menu bar: its non-client area and gripper, its background,
// the buttons (through the frame's owner-drawn item drawing) and the MDI
// buttons with their "Marlett" glyphs.
#include <algorithm>
#include <cstring>

#include "host/menulook/bar_look.h"
#include "host/menulook/menu_colors.h"
#include "host/menulook/menu_drawing.h"
#include "host/menulook/menu_library.h"
#include "host/menulook/new_menu_bar.h"
#include "platform/framework/dc.h"

namespace {

COLORREF Sys(int index) { return GetSysColor(index); }

} // namespace

void DrawMarlettGlyph(HDC dc, CRect rect, char glyph, BOOL normalWeight, BOOL greyed)
{
    rect.DeflateRect(2, 2);
    LOGFONTA font{};
    font.lfHeight = -rect.Height();
    font.lfWeight = normalWeight ? FW_NORMAL : FW_EXTRALIGHT;
    font.lfCharSet = DEFAULT_CHARSET;
    std::strncpy(font.lfFaceName, "Marlett", LF_FACESIZE - 1);
    ScopedSelect select(dc, CreateFontIndirectA(&font), ScopedSelect::Owns::Yes);
    const COLORREF oldColour = SetTextColor(dc, greyed ? Sys(COLOR_GRAYTEXT) : Sys(COLOR_BTNTEXT));
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    RECT r = rect;
    DrawTextA(dc, &glyph, 1, &r, DT_CENTER | DT_SINGLELINE | DT_VCENTER);
    SetBkMode(dc, oldMode);
    SetTextColor(dc, oldColour);
}

void CMenuBarButton::Draw(HWND frame, HDC dc)
{
    MENUITEMINFOA info{};
    info.cbSize = kMenuItemInfoSize32;
    info.fMask = MIIM_ID | MIIM_TYPE | MIIM_DATA;
    if (::GetMenuItemInfoA(m_menu, static_cast<UINT>(m_position), TRUE, &info) == FALSE ||
        (info.fType & MFT_OWNERDRAW) == 0) {
        return;
    }
    CRect r;
    GetRect(r, (m_state & kItemVertical) != 0);
    DRAWITEMSTRUCT draw{ODT_MENU, 0, info.wID, m_state | ODA_DRAWENTIRE, m_state, reinterpret_cast<HWND>(m_menu), dc,
                        r, info.dwItemData};
    ::SendMessageA(frame, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw));
}

void CMenuBarSysButton::DrawBackground(HDC dc, const RECT& r)
{
    const int code = CNewMenu::GetMenuDrawMode();
    const bool hot = (m_state & kItemHot) != 0;
    const bool pressed = (m_state & kItemSelected) != 0;
    const bool checked = (m_state & kItemChecked) != 0;
    const bool themed = IsThemeActiveHook() != FALSE;
    const bool warm = code == 10 || code == 11 || ((code == 8 || code == 9) && themed);
    if (code == 0 || code == 1 || code == 4 || code == 5) {
        if (hot) {
            const COLORREF light = Sys(COLOR_HIGHLIGHTTEXT);
            const COLORREF dark = Sys(COLOR_BTNSHADOW);
            Draw3dRect(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, pressed ? dark : light,
                       pressed ? light : dark);
        }
    } else if (code == 2 || code == 3 || ((code == 8 || code == 9) && !themed)) {
        if (hot || checked) {
            FillSolidRect(dc, &r, GetHighlightColor());
            FrameSolid(dc, r, Sys(COLOR_HIGHLIGHT));
        }
    } else if (code == 6 || code == 7) {
        if (hot) {
            const COLORREF c = Sys(COLOR_HIGHLIGHT);
            const COLORREF light = LightenColor(60, c);
            const COLORREF dark = DarkenColorBy(60, c);
            DrawGradient(dc, r, pressed ? c : light, pressed ? dark : c, GradientDirection::Vertical, NearestColor::No);
            FrameSolid(dc, r, dark);
        }
    } else if (warm && hot) {
        DrawGradient(dc, r, pressed ? kWarmPressedTop : kWarmHotTop, pressed ? kWarmPressedBottom : kWarmHotBottom,
                     GradientDirection::Vertical, NearestColor::No);
        FrameSolid(dc, r, kWarmFrame);
    }
}

void CMenuBarSysButton::Draw(HWND frame, HDC dc)
{
    CRect r;
    GetRect(r, (m_state & kItemVertical) != 0);
    DrawBackground(dc, r);
    CRect inner = r;
    inner.DeflateRect(2, 2);
    HWND child = CNewMenuBar::GetActiveMDIChild(frame);
    switch (m_bitmap) {
    case 1: {
        HICON icon = child != nullptr ? reinterpret_cast<HICON>(GetClassLongPtrA(child, GCLP_HICONSM)) : nullptr;
        if (icon != nullptr) {
            DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(icon), 0, r.left + 2, r.top + 2, 20, 20,
                       DST_ICON);
        }
        break;
    }
    case 2: DrawMarlettGlyph(dc, inner, '2', TRUE, FALSE); break;
    case 3:
    case 7: {
        const bool greyed = child == nullptr || (GetWindowLongA(child, GWL_STYLE) & WS_MINIMIZEBOX) == 0;
        DrawMarlettGlyph(dc, inner, '0', TRUE, greyed);
        break;
    }
    case 5:
    case 6: {
        HMENU system = child != nullptr ? GetSystemMenu(child, FALSE) : nullptr;
        const UINT state = system != nullptr ? GetMenuState(system, SC_CLOSE, MF_BYCOMMAND) : 0xFFFFFFFF;
        const bool greyed = state == 0xFFFFFFFF || (state & MF_DISABLED) != 0 || (state & MF_GRAYED) != 0;
        DrawMarlettGlyph(dc, inner, 'r', TRUE, greyed);
        break;
    }
    default:
        DrawStateA(dc, nullptr, nullptr, static_cast<LPARAM>(m_bitmap), 0, inner.left, inner.top, inner.Width(),
                   inner.Height(), DST_BITMAP);
        break;
    }
}

void CNewMenuBar::DrawBorders(CDC*, CRect&) {}

void CNewMenuBar::DrawGripper(CDC* dc, const CRect& rect)
{
    if (!HasDockedGripper(m_dwStyle)) {
        return;
    }
    const BarOrientation orientation =
        (m_dwStyle & CBRS_ORIENT_HORZ) != 0 ? BarOrientation::Horizontal : BarOrientation::Vertical;
    const GripperBorders borders{m_cxLeftBorder, m_cyTopBorder, m_cxRightBorder, m_cyBottomBorder};
    if (!DrawStyleGripper(dc->GetSafeHdc(), rect, borders, orientation)) {
        CRect plain = rect;
        if (orientation == BarOrientation::Horizontal) {
            plain.left += 2;
        } else {
            plain.top += 2;
        }
        DrawPlainGripper(dc->GetSafeHdc(), plain, orientation);
    }
}

void CNewMenuBar::OnNcPaint()
{
    ScopedWindowDC dc(m_hWnd, ScopedWindowDC::Kind::Window);
    if (dc.Get() == nullptr) {
        return;
    }
    CRect window;
    GetWindowRect(&window);
    CRect client;
    GetClientRect(&client);
    ClientToScreen(&client);
    client.OffsetRect(-window.left, -window.top);
    window.OffsetRect(-window.left, -window.top);
    const int saved = SaveDC(dc.Get());
    ExcludeClipRect(dc.Get(), client.left, client.top, client.right, client.bottom);
    CDC* wrapper = CDC::FromHandle(dc.Get());
    DrawBorders(wrapper, window);
    IntersectClipRect(dc.Get(), window.left, window.top, window.right, window.bottom);
    if (!IsFloating()) {
        POINT old{};
        SetWindowOrgEx(dc.Get(), -client.left, -client.top, &old);
        SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc.Get()), 0);
        SetWindowOrgEx(dc.Get(), old.x, old.y, nullptr);
    } else {
        SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc.Get()), 0);
    }
    DrawGripper(wrapper, window);
    RestoreDC(dc.Get(), saved);
}

void CNewMenuBar::EraseBackground(HDC dc)
{
    CRect window;
    GetWindowRect(&window);
    ScreenToClient(&window);
    CMenuBackgroundBrush* brush = GetMenuBackgroundBrush();
    if (brush == nullptr) {
        FillSolidRect(dc, &window, GetMenuBarBkColor(nullptr));
        return;
    }
    CRect frame;
    if (CWnd* parent = GetParent()) {
        parent->GetWindowRect(&frame);
        ScreenToClient(&frame);
    }
    UnrealizeObject(brush->GetSafeHandle());
    POINT old{};
    SetBrushOrgEx(dc, frame.left, frame.top, &old);
    FillRect(dc, &window, static_cast<HBRUSH>(brush->GetSafeHandle()));
    SetBrushOrgEx(dc, old.x, old.y, nullptr);
}

void CNewMenuBar::OnPaint()
{
    PAINTSTRUCT ps{};
    HDC dc = BeginPaint(m_hWnd, &ps);
    if (dc == nullptr) {
        return;
    }
    EraseBackground(dc);
    UINT uiState = 0;
    BOOL cues = FALSE;
    if (MenuLibrary().osStyle > kOsStyleNt4 && SystemParametersInfoA(SPI_GETKEYBOARDCUES, 0, &cues, 0) != FALSE &&
        cues == FALSE && m_frame != nullptr) {
        uiState = static_cast<UINT>(::SendMessageA(GetAncestor(m_frame, GA_ROOT), WM_QUERYUISTATE, 0, 0));
    }
    {
        ScopedSelect font(dc, CreateMenuFont(), ScopedSelect::Owns::Yes);
        const bool vertical = !IsFloating() && IsVerticalBar();
        for (auto& item : m_items) {
            item->m_state = (uiState & UISF_HIDEACCEL) != 0 ? (item->m_state | kItemNoAccel)
                                                             : (item->m_state & ~kItemNoAccel);
            item->m_state = vertical ? (item->m_state | kItemVertical) : (item->m_state & ~kItemVertical);
            item->Draw(m_frame, dc);
        }
    }
    EndPaint(m_hWnd, &ps);
}
