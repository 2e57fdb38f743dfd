// The process's handle maps of windows, menus, device contexts and drawing
// objects, and their clearing at idle time.
#include "platform/framework/handlemap.h"

#include "platform/framework/dc.h"
#include "platform/framework/gdiobj.h"
#include "platform/framework/menu.h"
#include "platform/framework/wnd.h"

namespace {

// The maps live as long as the process; everything runs on the GUI thread.
CHandleMap<HWND, CWnd, &CWnd::m_hWnd>& WindowMap()
{
    static CHandleMap<HWND, CWnd, &CWnd::m_hWnd> map;
    return map;
}

CHandleMap<HMENU, CMenu, &CMenu::m_hMenu>& MenuMap()
{
    static CHandleMap<HMENU, CMenu, &CMenu::m_hMenu> map;
    return map;
}

CHandleMap<HDC, CDC, &CDC::m_hDC>& DCMap()
{
    static CHandleMap<HDC, CDC, &CDC::m_hDC> map;
    return map;
}

// Drawing objects get one temporary map per wrapper type, so FromHandle of
// a pen gives a real CPen.
template <class T>
CHandleMap<HGDIOBJ, T, &CGdiObject::m_hObject>& GdiMap()
{
    static CHandleMap<HGDIOBJ, T, &CGdiObject::m_hObject> map;
    return map;
}

} // namespace

CWnd* CWnd::FromHandle(HWND hwnd) { return WindowMap().FromHandle(hwnd); }
CWnd* CWnd::FromHandlePermanent(HWND hwnd) { return hwnd != nullptr ? WindowMap().LookupPermanent(hwnd) : nullptr; }
void CWnd::DeleteTempMap() { WindowMap().DeleteTemp(); }

BOOL CWnd::Attach(HWND hwnd)
{
    if (m_hWnd != nullptr || hwnd == nullptr || FromHandlePermanent(hwnd) != nullptr) {
        return FALSE;
    }
    WindowMap().SetPermanent(hwnd, this);
    m_hWnd = hwnd;
    return TRUE;
}

HWND CWnd::Detach()
{
    HWND hwnd = m_hWnd;
    if (hwnd != nullptr && WindowMap().LookupPermanent(hwnd) == this) {
        WindowMap().RemovePermanent(hwnd);
    }
    m_hWnd = nullptr;
    return hwnd;
}

CMenu* CMenu::FromHandle(HMENU menu) { return MenuMap().FromHandle(menu); }
CMenu* CMenu::FromHandlePermanent(HMENU menu) { return menu != nullptr ? MenuMap().LookupPermanent(menu) : nullptr; }
void CMenu::DeleteTempMap() { MenuMap().DeleteTemp(); }

BOOL CMenu::Attach(HMENU menu)
{
    if (m_hMenu != nullptr || menu == nullptr || FromHandlePermanent(menu) != nullptr) {
        return FALSE;
    }
    MenuMap().SetPermanent(menu, this);
    m_hMenu = menu;
    return TRUE;
}

HMENU CMenu::Detach()
{
    HMENU menu = m_hMenu;
    if (menu != nullptr && MenuMap().LookupPermanent(menu) == this) {
        MenuMap().RemovePermanent(menu);
    }
    m_hMenu = nullptr;
    return menu;
}

CDC* CDC::FromHandle(HDC dc) { return DCMap().FromHandle(dc); }
void CDC::DeleteTempMap() { DCMap().DeleteTemp(); }

BOOL CDC::Attach(HDC dc)
{
    if (m_hDC != nullptr || dc == nullptr) {
        return FALSE;
    }
    m_hDC = dc;
    m_hAttribDC = dc;
    DCMap().SetPermanent(dc, this);
    return TRUE;
}

HDC CDC::Detach()
{
    HDC dc = m_hDC;
    if (dc != nullptr && DCMap().LookupPermanent(dc) == this) {
        DCMap().RemovePermanent(dc);
    }
    m_hDC = nullptr;
    m_hAttribDC = nullptr;
    m_ownsDC = false;
    return dc;
}

CGdiObject* CGdiObject::FromHandle(HGDIOBJ handle) { return GdiMap<CGdiObject>().FromHandle(handle); }
CPen* CPen::FromHandle(HPEN handle) { return GdiMap<CPen>().FromHandle(handle); }
CBrush* CBrush::FromHandle(HBRUSH handle) { return GdiMap<CBrush>().FromHandle(handle); }
CFont* CFont::FromHandle(HFONT handle) { return GdiMap<CFont>().FromHandle(handle); }
CBitmap* CBitmap::FromHandle(HBITMAP handle) { return GdiMap<CBitmap>().FromHandle(handle); }
CRgn* CRgn::FromHandle(HRGN handle) { return GdiMap<CRgn>().FromHandle(handle); }

void CGdiObject::DeleteTempMap()
{
    GdiMap<CGdiObject>().DeleteTemp();
    GdiMap<CPen>().DeleteTemp();
    GdiMap<CBrush>().DeleteTemp();
    GdiMap<CFont>().DeleteTemp();
    GdiMap<CBitmap>().DeleteTemp();
    GdiMap<CRgn>().DeleteTemp();
}

void AfxDeleteTempMaps()
{
    CWnd::DeleteTempMap();
    CMenu::DeleteTempMap();
    CDC::DeleteTempMap();
    CGdiObject::DeleteTempMap();
}
