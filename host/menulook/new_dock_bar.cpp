// Dock bars and dialog bars in the menu style's look.
#include "host/menulook/new_dock_bar.h"

#include "host/menulook/bar_look.h"
#include "host/menulook/menu_colors.h"
#include "host/menulook/menu_drawing.h"
#include "host/menulook/new_menu.h"
#include "host/menulook/new_menu_bar.h"

IMPLEMENT_DYNCREATE(CNewDockBar, CDockBar)
IMPLEMENT_DYNAMIC(CNewDialogBar, CDialogBar)

// Dock bar -----------------------------------------------------------------------------------

BOOL CNewDockBar::SeparateMenuBarRows()
{
    CWnd* frame = GetParent();
    if (frame == nullptr) {
        return FALSE;
    }
    BOOL moved = FALSE;
    for (CControlBar* bar : AfxDockedBars(frame)) {
        if (bar->m_pDockBar != this || !bar->IsKindOf(RUNTIME_CLASS(CNewMenuBar))) {
            continue;
        }
        int menuRow = -1;
        int menuColumn = -1;
        if (!FindBar(bar, &menuRow, &menuColumn)) {
            continue;
        }
        for (CControlBar* other : AfxDockedBars(frame)) {
            int row = -1;
            int column = -1;
            if (other == bar || other->m_pDockBar != this || !FindBar(other, &row, &column) || row != menuRow) {
                continue;
            }
            // A bar beside the menu bar goes to the row after it.
            RemoveControlBar(other);
            DockControlBar(other, menuRow + 1, -1);
            moved = TRUE;
        }
    }
    return moved;
}

BOOL CNewDockBar::EraseBackground(HDC dc)
{
    CMenuBackgroundBrush* brush = GetMenuBackgroundBrush();
    if (brush == nullptr) {
        return FALSE;
    }
    CRect bar;
    GetWindowRect(&bar);
    CRect parent;
    if (CWnd* frame = GetParent()) {
        frame->GetWindowRect(&parent);
    }
    UnrealizeObject(brush->GetSafeHandle());
    POINT old{};
    SetBrushOrgEx(dc, parent.left - bar.left, 0, &old);
    RECT clip{};
    GetClipBox(dc, &clip);
    FillRect(dc, &clip, static_cast<HBRUSH>(brush->GetSafeHandle()));
    SetBrushOrgEx(dc, old.x, old.y, nullptr);
    return TRUE;
}

LRESULT CNewDockBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SIZEPARENT:
        SeparateMenuBarRows();
        break;
    case WM_ERASEBKGND:
        if (EraseBackground(reinterpret_cast<HDC>(wParam))) {
            return 1;
        }
        break;
    default: break;
    }
    return CDockBar::WindowProc(message, wParam, lParam);
}

// Dialog bar ---------------------------------------------------------------------------------

void CNewDialogBar::DoPaint(HDC dc)
{
    CRect client;
    GetClientRect(&client);
    DrawBorders(dc, client);
    DrawGripper(dc, client);
}

void CNewDialogBar::DrawBorders(HDC dc, CRect& rect)
{
    const int code = CNewMenu::GetMenuDrawMode();
    if (code == 2 || code == 3 || (code >= 6 && code <= 11)) {
        return;
    }
    if ((m_dwStyle & CBRS_BORDER_ANY) != 0) {
        DrawEdge(dc, &rect, BDR_RAISEDINNER, BF_RECT);
    }
}

void CNewDialogBar::DrawGripper(HDC dc, const CRect& rect)
{
    // The dialog bar's runs keep clear of the top and bottom borders only.
    const GripperBorders borders{0, m_cyTopBorder, 0, m_cyBottomBorder};
    DrawBarGripper(dc, rect, m_dwStyle, borders, RECT{rect.left, rect.top + 2, rect.right - 1, rect.bottom - 3},
                   RECT{rect.left + 2, rect.top, rect.right - 3, rect.bottom - 1});
}

void CNewDialogBar::EraseBackground(HDC dc)
{
    CRect client;
    GetClientRect(&client);
    CRect inner = client;
    CalcInsideRect(inner, (m_dwStyle & CBRS_ORIENT_HORZ) != 0);
    FillBarBackground(dc, BarBackgroundOf(m_hWnd, client, inner, m_dwStyle));
}

LRESULT CNewDialogBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_ERASEBKGND: EraseBackground(reinterpret_cast<HDC>(wParam)); return 1;
    case WM_PAINT: {
        PAINTSTRUCT ps{};
        HDC dc = BeginPaint(m_hWnd, &ps);
        if (dc != nullptr) {
            DoPaint(dc);
        }
        EndPaint(m_hWnd, &ps);
        return 0;
    }
    default: return CDialogBar::WindowProc(message, wParam, lParam);
    }
}
