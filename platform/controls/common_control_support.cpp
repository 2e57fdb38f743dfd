// Shared helpers of the common controls and the registration of their
// window classes with every window system.
#include "platform/controls/common_control_support.h"

#include <algorithm>
#include <cstring>

#include "platform/user/window_system.h"

namespace nuvex::controls {

LRESULT SendNotify(HWND control, UINT code, NMHDR* header, HWND target)
{
    header->hwndFrom = control;
    header->idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(control));
    header->code = code;
    if (target == nullptr) {
        target = GetParent(control);
    }
    if (target == nullptr) {
        return 0;
    }
    return SendMessageA(target, WM_NOTIFY, header->idFrom, reinterpret_cast<LPARAM>(header));
}

LRESULT SendSimpleNotify(HWND control, UINT code, HWND target)
{
    NMHDR header{};
    return SendNotify(control, code, &header, target);
}

HFONT ControlFont(HFONT chosen)
{
    return chosen != nullptr ? chosen : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

int LineHeight(HFONT font)
{
    HDC dc = GetDC(nullptr);
    TEXTMETRICA metrics{};
    {
        const SelectedObject selected(dc, ControlFont(font));
        GetTextMetricsA(dc, &metrics);
    }
    ReleaseDC(nullptr, dc);
    return std::max<int>(metrics.tmHeight, 1);
}

int TextWidth(HFONT font, const std::string& text)
{
    if (text.empty()) {
        return 0;
    }
    HDC dc = GetDC(nullptr);
    SIZE size{};
    {
        const SelectedObject selected(dc, ControlFont(font));
        GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    }
    ReleaseDC(nullptr, dc);
    return size.cx;
}

int CopyOut(const std::string& text, LPSTR buffer, int size)
{
    if (buffer == nullptr || size <= 0) {
        return 0;
    }
    const int count = std::min(static_cast<int>(text.size()), size - 1);
    std::memcpy(buffer, text.data(), static_cast<size_t>(count));
    buffer[count] = '\0';
    return count;
}

namespace {

const nuvex::user::SystemClassEntry kClasses[] = {
    {"SysTreeView32", CS_DBLCLKS, TreeViewProc, kStateBytes, COLOR_WINDOW + 1},
    {"tooltips_class32", CS_SAVEBITS | CS_DBLCLKS, ToolTipProc, kStateBytes, COLOR_INFOBK + 1},
    {"msctls_statusbar32", CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, StatusBarProc, kStateBytes, COLOR_BTNFACE + 1},
    {"ToolbarWindow32", CS_DBLCLKS, ToolbarProc, kStateBytes, COLOR_BTNFACE + 1},
    {"SysTabControl32", CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, TabControlProc, kStateBytes, COLOR_BTNFACE + 1},
};

// Added when the library loads, before any window system exists.
[[maybe_unused]] const bool kRegistered = [] {
    nuvex::user::AddSystemClassEntries(kClasses, std::size(kClasses));
    return true;
}();

} // namespace

} // namespace nuvex::controls

void InitCommonControls() {}

BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* init)
{
    return init != nullptr && init->dwSize == sizeof(INITCOMMONCONTROLSEX) ? TRUE : FALSE;
}
