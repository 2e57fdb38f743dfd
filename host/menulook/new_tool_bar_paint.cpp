// Painting the toolbar in the menu style's look.
//
// Painting precedence of WM_PAINT:
//   1. The background (style code's look) over the whole client area.
//   2. The gripper of a docked bar with CBRS_GRIPPER.
//   3. Every visible separator and button in order, the buttons through
//      OnCustomDraw (the stages the control's parent would be told of).
#include <algorithm>

#include "host/menulook/bar_look.h"
#include "host/menulook/menu_colors.h"
#include "host/menulook/menu_drawing.h"
#include "host/menulook/menu_library.h"
#include "host/menulook/new_menu.h"
#include "host/menulook/new_tool_bar.h"
#include "platform/framework/app.h"
#include "platform/framework/framewnd.h"

namespace {

COLORREF Sys(int index) { return GetSysColor(index); }

// The drop-down part of a button, at its right.
constexpr int kDropDownWidth = 13;

// The style code as the buttons see it: 8 and 9 without a theme look like 2.
int ButtonStyleCode()
{
    const int code = CNewMenu::GetMenuDrawMode();
    if ((code == 8 || code == 9) && !IsThemeActiveHook()) {
        return 2;
    }
    return code;
}

// Calls f(button, item rectangle) for every button that is not hidden.
template <typename F>
void ForEachShownButton(CNewToolBar& bar, F f)
{
    const int count = bar.GetCount();
    for (int i = 0; i < count; ++i) {
        TBBUTTON button{};
        if (!bar.GetToolBarCtrl().GetButton(i, &button) || (button.fsState & TBSTATE_HIDDEN) != 0) {
            continue;
        }
        CRect item;
        bar.GetItemRect(i, &item);
        f(button, item);
    }
}

} // namespace

void DrawHotButtonFrame(HDC dc, const RECT& rect, bool pressed)
{
    FrameSolid(dc, rect, kWarmFrame);
    RECT inner = rect;
    InflateRect(&inner, -1, -1);
    DrawGradient(dc, inner, pressed ? kWarmPressedTop : kWarmHotTop, pressed ? kWarmPressedBottom : kWarmHotBottom,
                 GradientDirection::Vertical, NearestColor::No);
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
    CRect inner = client;
    CalcInsideRect(inner, (m_dwStyle & CBRS_ORIENT_HORZ) != 0);
    const BarBackground bg = BarBackgroundOf(m_hWnd, client, inner, m_dwStyle);
    FillBarBackground(dc, bg);
    const int code = CNewMenu::GetMenuDrawMode();
    if (bg.docked || bg.orientation != BarOrientation::Horizontal || code < 6 || code > 11 ||
        GetScreenColorDepth() < 256) {
        return;
    }
    // A floating bar shades each row of buttons on its own.
    const ShadedBarColours colours = BarGradientColours(code);
    const COLORREF light = colours.light;
    const COLORREF mid = colours.mid;
    const COLORREF dark = colours.dark;
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
    ForEachShownButton(*this, [&](const TBBUTTON& button, const CRect& item) {
        if (button.fsStyle == TBSTYLE_SEP && (button.fsState & TBSTATE_WRAP) != 0) {
            DrawGradient(dc, RECT{client.left, item.top, client.right, item.bottom}, dark, light,
                         GradientDirection::Vertical, NearestColor::No);
            return;
        }
        if (item.top != row.top || item.bottom != row.bottom) {
            shadeRow();
            row = CRect(client.left, item.top, client.right, item.bottom);
        }
    });
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
            frameWith([&](const RECT& r) { FrameSolid(dc, r, pen); });
        } else {
            FillSolidRect(dc, &face, GetHighlightColor());
            frameWith([&](const RECT& r) { FrameSolid(dc, r, Sys(COLOR_HIGHLIGHT)); });
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
        frameWith([&](const RECT& r) { FrameSolid(dc, r, dark); });
    } else if (code >= 8 && code <= 11) {
        if (hot) {
            frameWith([&](const RECT& r) { DrawHotButtonFrame(dc, r, pressed); });
        } else if (checked) {
            FillSolidRect(dc, &face, kWarmSelection);
            frameWith([&](const RECT& r) { FrameSolid(dc, r, kWarmFrame); });
        } else {
            if (GetScreenColorDepth() <= 256) {
                FillSolidRect(dc, &face, GetMenuTextColor());
            } else {
                DrawGradient(dc, face, MixColor86(GetMenuBkColor(nullptr), DarkenColorBy(10, Sys(COLOR_WINDOW))),
                             GetMenuTextColor(), GradientDirection::Horizontal, NearestColor::No);
            }
            const COLORREF pen = MenuLibrary().highContrast ? Sys(COLOR_BTNTEXT)
                                                            : DarkenColorBy(128, GetMenuBarBkColor(nullptr));
            frameWith([&](const RECT& r) { FrameSolid(dc, r, pen); });
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
    ForEachShownButton(*this, [&](const TBBUTTON& button, const CRect& item) {
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
            return;
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
    });
    draw.nmcd.dwDrawStage = CDDS_POSTPAINT;
    OnCustomDraw(&draw);
    EndPaint(m_hWnd, &ps);
}

