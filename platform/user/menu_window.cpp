// The popup-menu window class "#32768" and the menus owned by windows.
#include "platform/user/window_system.h"

namespace nuvex::user {

LRESULT PopupMenuWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == MN_GETHMENU) {
        return reinterpret_cast<LRESULT>(GetPropA(hwnd, "#32768.menu"));
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

void DestroyWindowMenu(HMENU) {}

} // namespace nuvex::user

namespace nuvex::user {
void PaintMenuBar(HWND, HDC, const RECT&) {}
} // namespace nuvex::user
