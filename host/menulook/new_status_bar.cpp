// The status bar in the menu style's look: background, panes and grip.
#include "host/menulook/new_status_bar.h"

#include <algorithm>

#include "host/menulook/menu_colors.h"
#include "host/menulook/menu_drawing.h"
#include "host/menulook/new_menu.h"
#include "platform/gdi/dc_guards.h"

IMPLEMENT_DYNAMIC(CNewStatusBar, CStatusBar)

namespace {

COLORREF Sys(int index) { return GetSysColor(index); }

constexpr COLORREF kWhite = RGB(255, 255, 255);

void Square(HDC dc, int x, int y, COLORREF colour)
{
    const RECT r{x, y, x + 2, y + 2};
    FillSolidRect(dc, &r, colour);
}

void Line(HDC dc, int x0, int y0, int x1, int y1)
{
    MoveToEx(dc, x0, y0, nullptr);
    LineTo(dc, x1, y1);
}

} // namespace

void DrawGripDots(HDC dc, const RECT& r, COLORREF dot, COLORREF highlight)
{
    const int n = std::min((r.right - r.left) / 4, (r.bottom - r.top) / 4);
    for (int column = 0; n - 1 - column > 0; ++column) {
        const int x = r.right - 4 - 4 * column;
        for (int k = 0; k < n - 1 - column; ++k) {
            const int y = r.bottom - 3 - 4 * k;
            if (highlight != CLR_INVALID) {
                Square(dc, x + 1, y + 1, highlight);
            }
            Square(dc, x, y, dot);
        }
    }
}

void DrawGripLines(HDC dc, const RECT& r)
{
    ScopedObject shadow(CreatePen(PS_SOLID, 1, Sys(COLOR_BTNSHADOW)));
    ScopedObject light(CreatePen(PS_SOLID, 1, Sys(COLOR_BTNHIGHLIGHT)));
    const int m = std::min(r.right - r.left, r.bottom - r.top) - 4;
    const SelectedObject pen(dc, shadow.Get());
    for (int d = 2; d < m; d += 4) {
        SelectObject(dc, shadow.Get());
        Line(dc, r.right - d, r.bottom, r.right, r.bottom - d);
        Line(dc, r.right - d - 1, r.bottom, r.right, r.bottom - d - 1);
        SelectObject(dc, light.Get());
        Line(dc, r.right - d - 2, r.bottom, r.right, r.bottom - d - 2);
    }
}

void CNewStatusBar::GetPaneRect(int pane, RECT* rect)
{
    *rect = RECT{0, 0, 0, 0};
    if (CStatusBar::DefWindowProc(SB_GETRECT, static_cast<WPARAM>(pane), reinterpret_cast<LPARAM>(rect)) == 0) {
        *rect = RECT{0, 0, 0, 0};
        return;
    }
    if (pane != GetCount() - 1) {
        return;
    }
    UINT id = 0;
    UINT style = 0;
    int width = 0;
    GetPaneInfo(pane, id, style, width);
    if ((style & SBPS_STRETCH) == 0) {
        rect->right = rect->left + width + 3 * GetSystemMetrics(SM_CXEDGE);
    } else {
        CRect client;
        GetClientRect(&client);
        rect->right = client.right;
        if ((GetStyle() & SBARS_SIZEGRIP) != 0) {
            rect->right -= GetSystemMetrics(SM_CXSMICON) + GetSystemMetrics(SM_CXEDGE);
        }
    }
}

void CNewStatusBar::DrawPanes(HDC dc)
{
    const int code = CNewMenu::GetMenuDrawMode();
    COLORREF dark = Sys(COLOR_BTNSHADOW);
    COLORREF light = Sys(COLOR_BTNHIGHLIGHT);
    if (code == 6 || code == 7) {
        dark = light = DarkenColorBy(100, GetMenuBkColor(nullptr));
    } else if (code >= 8 && code <= 11) {
        dark = DarkenColorBy(10, Sys(COLOR_ACTIVECAPTION));
        light = kWhite;
    }
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    ScopedSelect font(dc, CreateMenuFont(), ScopedSelect::Owns::Yes);
    const COLORREF oldColour = SetTextColor(dc, Sys(COLOR_BTNTEXT));
    for (int pane = 0; pane < GetCount(); ++pane) {
        RECT r{};
        GetPaneRect(pane, &r);
        const CString text = GetPaneText(pane);
        int x = r.left;
        const int y = r.top - 1;
        if (auto* icon = reinterpret_cast<HICON>(CStatusBar::DefWindowProc(SB_GETICON, static_cast<WPARAM>(pane), 0))) {
            ICONINFO info{};
            if (GetIconInfo(icon, &info) != FALSE) {
                BITMAP bm{};
                GetObjectA(info.hbmColor, sizeof bm, &bm);
                DrawIconEx(dc, r.left + 2, r.top + 1, icon, bm.bmWidth, bm.bmHeight, 0, nullptr, DI_NORMAL);
                x += bm.bmWidth + 1;
                DeleteObject(info.hbmColor);
                DeleteObject(info.hbmMask);
            }
        }
        RECT clip{x, r.top - 1, r.right, r.bottom};
        ExtTextOutA(dc, x + 2, y + 2, ETO_CLIPPED, &clip, text.GetString(), static_cast<UINT>(text.GetLength()), nullptr);
        if (GetItemID(pane) != 0) {
            Draw3dRect(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, dark, light);
        }
    }
    SetTextColor(dc, oldColour);
    SetBkMode(dc, oldMode);
}

void CNewStatusBar::DrawSizeGrip(HDC dc, const RECT& rect)
{
    const int code = CNewMenu::GetMenuDrawMode();
    if (code == 6 || code == 7) {
        DrawGripDots(dc, rect, DarkenColorBy(100, GetMenuBkColor(nullptr)), CLR_INVALID);
    } else if (code >= 8 && code <= 11) {
        DrawGripDots(dc, rect, DarkenColorBy(10, Sys(COLOR_ACTIVECAPTION)), kWhite);
    } else {
        DrawGripLines(dc, rect);
    }
}

void CNewStatusBar::OnPaint()
{
    PAINTSTRUCT ps{};
    HDC dc = BeginPaint(m_hWnd, &ps);
    if (dc == nullptr) {
        return;
    }
    HWND top = GetAncestor(m_hWnd, GA_ROOT);
    if (top == nullptr || top == m_hWnd) {
        EndPaint(m_hWnd, &ps);
        CStatusBar::DefWindowProc(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
        return;
    }
    CRect client;
    GetClientRect(&client);
    RECT grip{};
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    const bool maximised = GetWindowPlacement(top, &placement) != FALSE && placement.showCmd == SW_SHOWMAXIMIZED;
    if (!maximised && (GetStyle() & SBARS_SIZEGRIP) != 0) {
        grip = RECT{client.right - GetSystemMetrics(SM_CXVSCROLL) - 2, client.top, client.right, client.bottom};
    }
    CMenuBackgroundBrush* brush = GetMenuBackgroundBrush();
    auto fill = [&](const RECT& r) {
        if (brush != nullptr) {
            FillRect(dc, &r, static_cast<HBRUSH>(brush->GetSafeHandle()));
        } else {
            FillSolidRect(dc, &r, GetMenuBarBkColor(nullptr));
        }
    };
    POINT old{};
    if (brush != nullptr) {
        UnrealizeObject(brush->GetSafeHandle());
        SetBrushOrgEx(dc, 0, 0, &old);
    }
    fill(client);
    DrawPanes(dc);
    if (IsRectEmpty(&grip) == FALSE) {
        RECT back = grip;
        back.left -= 2;
        fill(back);
        OffsetRect(&grip, -1, -2);
        DrawSizeGrip(dc, grip);
    }
    if (brush != nullptr) {
        SetBrushOrgEx(dc, old.x, old.y, nullptr);
    }
    EndPaint(m_hWnd, &ps);
}

LRESULT CNewStatusBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: OnPaint(); return 0;
    default: return CStatusBar::WindowProc(message, wParam, lParam);
    }
}
