// The message table: names and parameter meanings of every message the
// window system knows, looked up by id.
#include <algorithm>
#include <array>
#include <cstdio>
#include <string>

#include "platform/user/messages.h"
#include "platform/user/window_system.h"

namespace {

using K = ParamKind;

// Sorted by id; FindMessageInfo searches it by bisection.
constexpr MessageInfo kMessages[] = {
    {WM_NULL, "WM_NULL", K::Unused, K::Unused, ""},
    {WM_CREATE, "WM_CREATE", K::Unused, K::Pointer, "lParam: CREATESTRUCTA*; answer -1 refuses"},
    {WM_DESTROY, "WM_DESTROY", K::Unused, K::Unused, ""},
    {WM_MOVE, "WM_MOVE", K::Unused, K::Point, "lParam: client origin in parent client coordinates"},
    {WM_SIZE, "WM_SIZE", K::Value, K::Size, "wParam: SIZE_* kind; lParam: client width, height"},
    {WM_ACTIVATE, "WM_ACTIVATE", K::Value, K::Handle, "wParam: WA_* state (high word: minimised); lParam: other window"},
    {WM_SETFOCUS, "WM_SETFOCUS", K::Handle, K::Unused, "wParam: window that lost the focus"},
    {WM_KILLFOCUS, "WM_KILLFOCUS", K::Handle, K::Unused, "wParam: window that gets the focus"},
    {WM_ENABLE, "WM_ENABLE", K::Value, K::Unused, "wParam: enabled"},
    {WM_SETREDRAW, "WM_SETREDRAW", K::Value, K::Unused, "wParam: redraw on"},
    {WM_SETTEXT, "WM_SETTEXT", K::Unused, K::Pointer, "lParam: text"},
    {WM_GETTEXT, "WM_GETTEXT", K::Value, K::Pointer, "wParam: buffer size; lParam: buffer"},
    {WM_GETTEXTLENGTH, "WM_GETTEXTLENGTH", K::Unused, K::Unused, ""},
    {WM_PAINT, "WM_PAINT", K::Unused, K::Unused, ""},
    {WM_CLOSE, "WM_CLOSE", K::Unused, K::Unused, ""},
    {WM_QUIT, "WM_QUIT", K::Value, K::Unused, "wParam: exit code"},
    {WM_ERASEBKGND, "WM_ERASEBKGND", K::Pointer, K::Unused, "wParam: device context; answer: erased"},
    {WM_SYSCOLORCHANGE, "WM_SYSCOLORCHANGE", K::Unused, K::Unused, ""},
    {WM_SHOWWINDOW, "WM_SHOWWINDOW", K::Value, K::Value, "wParam: shown; lParam: reason"},
    {WM_SETTINGCHANGE, "WM_SETTINGCHANGE", K::Value, K::Pointer, "wParam: SPI_* action; lParam: section"},
    {WM_ACTIVATEAPP, "WM_ACTIVATEAPP", K::Value, K::Value, "wParam: activated; lParam: thread"},
    {WM_CANCELMODE, "WM_CANCELMODE", K::Unused, K::Unused, ""},
    {WM_SETCURSOR, "WM_SETCURSOR", K::Handle, K::Value, "wParam: window under the cursor; lParam: hit code, mouse message"},
    {WM_MOUSEACTIVATE, "WM_MOUSEACTIVATE", K::Handle, K::Value, "wParam: top-level window; lParam: hit code, mouse message"},
    {WM_GETMINMAXINFO, "WM_GETMINMAXINFO", K::Unused, K::Pointer, "lParam: MINMAXINFO*"},
    {WM_NEXTDLGCTL, "WM_NEXTDLGCTL", K::Value, K::Value, "wParam: control, or previous (non-zero) / next; lParam: wParam is a control"},
    {WM_DRAWITEM, "WM_DRAWITEM", K::Value, K::Pointer, "wParam: control id; lParam: DRAWITEMSTRUCT*"},
    {WM_MEASUREITEM, "WM_MEASUREITEM", K::Value, K::Pointer, "wParam: control id; lParam: MEASUREITEMSTRUCT*"},
    {WM_DELETEITEM, "WM_DELETEITEM", K::Value, K::Pointer, "wParam: control id; lParam: DELETEITEMSTRUCT*"},
    {WM_VKEYTOITEM, "WM_VKEYTOITEM", K::Value, K::Handle, "wParam: key (low), caret index (high); lParam: list box"},
    {WM_CHARTOITEM, "WM_CHARTOITEM", K::Value, K::Handle, "wParam: character (low), caret index (high); lParam: list box"},
    {WM_SETFONT, "WM_SETFONT", K::Handle, K::Value, "wParam: font; lParam: redraw"},
    {WM_GETFONT, "WM_GETFONT", K::Unused, K::Unused, ""},
    {WM_COMPAREITEM, "WM_COMPAREITEM", K::Value, K::Pointer, "wParam: control id; lParam: COMPAREITEMSTRUCT*"},
    {WM_WINDOWPOSCHANGING, "WM_WINDOWPOSCHANGING", K::Unused, K::Pointer, "lParam: WINDOWPOS*, may be changed"},
    {WM_WINDOWPOSCHANGED, "WM_WINDOWPOSCHANGED", K::Unused, K::Pointer, "lParam: WINDOWPOS*"},
    {WM_NOTIFY, "WM_NOTIFY", K::Value, K::Pointer, "wParam: control id; lParam: NMHDR*"},
    {WM_HELP, "WM_HELP", K::Unused, K::Pointer, "lParam: HELPINFO*"},
    {WM_CONTEXTMENU, "WM_CONTEXTMENU", K::Handle, K::Point, "wParam: window clicked; lParam: screen point"},
    {WM_STYLECHANGING, "WM_STYLECHANGING", K::Value, K::Pointer, "wParam: GWL_STYLE or GWL_EXSTYLE; lParam: STYLESTRUCT*"},
    {WM_STYLECHANGED, "WM_STYLECHANGED", K::Value, K::Pointer, "wParam: GWL_STYLE or GWL_EXSTYLE; lParam: STYLESTRUCT*"},
    {WM_GETICON, "WM_GETICON", K::Value, K::Unused, "wParam: icon kind"},
    {WM_SETICON, "WM_SETICON", K::Value, K::Handle, "wParam: icon kind; lParam: icon"},
    {WM_NCCREATE, "WM_NCCREATE", K::Unused, K::Pointer, "lParam: CREATESTRUCTA*; answer FALSE refuses"},
    {WM_NCDESTROY, "WM_NCDESTROY", K::Unused, K::Unused, ""},
    {WM_NCCALCSIZE, "WM_NCCALCSIZE", K::Value, K::Pointer, "wParam: NCCALCSIZE_PARAMS given; lParam: RECT* or NCCALCSIZE_PARAMS*"},
    {WM_NCHITTEST, "WM_NCHITTEST", K::Unused, K::Point, "lParam: screen point; answer: HT* code"},
    {WM_NCPAINT, "WM_NCPAINT", K::Value, K::Unused, "wParam: update region, 1 for the whole frame"},
    {WM_NCACTIVATE, "WM_NCACTIVATE", K::Value, K::Unused, "wParam: active look"},
    {WM_GETDLGCODE, "WM_GETDLGCODE", K::Value, K::Pointer, "wParam: virtual key; lParam: MSG*"},
    {WM_NCMOUSEMOVE, "WM_NCMOUSEMOVE", K::Value, K::Point, "wParam: hit code; lParam: screen point"},
    {WM_NCLBUTTONDOWN, "WM_NCLBUTTONDOWN", K::Value, K::Point, "wParam: hit code; lParam: screen point"},
    {WM_NCLBUTTONUP, "WM_NCLBUTTONUP", K::Value, K::Point, "wParam: hit code; lParam: screen point"},
    {WM_NCLBUTTONDBLCLK, "WM_NCLBUTTONDBLCLK", K::Value, K::Point, "wParam: hit code; lParam: screen point"},
    {WM_NCRBUTTONDOWN, "WM_NCRBUTTONDOWN", K::Value, K::Point, "wParam: hit code; lParam: screen point"},
    {WM_NCRBUTTONUP, "WM_NCRBUTTONUP", K::Value, K::Point, "wParam: hit code; lParam: screen point"},
    {WM_NCRBUTTONDBLCLK, "WM_NCRBUTTONDBLCLK", K::Value, K::Point, "wParam: hit code; lParam: screen point"},
    {WM_NCMBUTTONDOWN, "WM_NCMBUTTONDOWN", K::Value, K::Point, "wParam: hit code; lParam: screen point"},
    {WM_NCMBUTTONUP, "WM_NCMBUTTONUP", K::Value, K::Point, "wParam: hit code; lParam: screen point"},
    {WM_NCMBUTTONDBLCLK, "WM_NCMBUTTONDBLCLK", K::Value, K::Point, "wParam: hit code; lParam: screen point"},
    {WM_KEYDOWN, "WM_KEYDOWN", K::Value, K::Flags, "wParam: virtual key; lParam: repeat, scan code, KF_* bits"},
    {WM_KEYUP, "WM_KEYUP", K::Value, K::Flags, "wParam: virtual key; lParam: repeat, scan code, KF_* bits"},
    {WM_CHAR, "WM_CHAR", K::Value, K::Flags, "wParam: character; lParam: key data"},
    {WM_DEADCHAR, "WM_DEADCHAR", K::Value, K::Flags, "wParam: character; lParam: key data"},
    {WM_SYSKEYDOWN, "WM_SYSKEYDOWN", K::Value, K::Flags, "wParam: virtual key; lParam: repeat, scan code, KF_* bits"},
    {WM_SYSKEYUP, "WM_SYSKEYUP", K::Value, K::Flags, "wParam: virtual key; lParam: repeat, scan code, KF_* bits"},
    {WM_SYSCHAR, "WM_SYSCHAR", K::Value, K::Flags, "wParam: character; lParam: key data"},
    {WM_INITDIALOG, "WM_INITDIALOG", K::Handle, K::Value, "wParam: control to focus; lParam: creation data"},
    {WM_COMMAND, "WM_COMMAND", K::Value, K::Handle, "wParam: id (low), notification (high; 0 menu, 1 accelerator); lParam: control"},
    {WM_SYSCOMMAND, "WM_SYSCOMMAND", K::Value, K::Point, "wParam: SC_* command; lParam: screen point"},
    {WM_TIMER, "WM_TIMER", K::Value, K::Pointer, "wParam: timer id; lParam: TIMERPROC"},
    {WM_HSCROLL, "WM_HSCROLL", K::Value, K::Handle, "wParam: SB_* code, position; lParam: scroll bar control"},
    {WM_VSCROLL, "WM_VSCROLL", K::Value, K::Handle, "wParam: SB_* code, position; lParam: scroll bar control"},
    {WM_INITMENU, "WM_INITMENU", K::Handle, K::Unused, "wParam: menu"},
    {WM_INITMENUPOPUP, "WM_INITMENUPOPUP", K::Handle, K::Value, "wParam: popup menu; lParam: position (low), system menu (high)"},
    {WM_MENUSELECT, "WM_MENUSELECT", K::Value, K::Handle, "wParam: item id or position (low), MF_* flags (high); lParam: menu"},
    {WM_MENUCHAR, "WM_MENUCHAR", K::Value, K::Handle, "wParam: character (low), MF_* flags (high); lParam: menu"},
    {WM_ENTERIDLE, "WM_ENTERIDLE", K::Value, K::Handle, "wParam: MSGF_* source; lParam: menu window or dialog"},
    {WM_UNINITMENUPOPUP, "WM_UNINITMENUPOPUP", K::Handle, K::Value, "wParam: popup menu"},
    {WM_CHANGEUISTATE, "WM_CHANGEUISTATE", K::Value, K::Unused, "wParam: UIS_* action (low), UISF_* flags (high)"},
    {WM_UPDATEUISTATE, "WM_UPDATEUISTATE", K::Value, K::Unused, "wParam: UIS_* action (low), UISF_* flags (high)"},
    {WM_QUERYUISTATE, "WM_QUERYUISTATE", K::Unused, K::Unused, "answer: UISF_* flags"},
    {WM_CTLCOLORMSGBOX, "WM_CTLCOLORMSGBOX", K::Pointer, K::Handle, "wParam: device context; lParam: message box"},
    {WM_CTLCOLOREDIT, "WM_CTLCOLOREDIT", K::Pointer, K::Handle, "wParam: device context; lParam: edit control"},
    {WM_CTLCOLORLISTBOX, "WM_CTLCOLORLISTBOX", K::Pointer, K::Handle, "wParam: device context; lParam: list box"},
    {WM_CTLCOLORBTN, "WM_CTLCOLORBTN", K::Pointer, K::Handle, "wParam: device context; lParam: button"},
    {WM_CTLCOLORDLG, "WM_CTLCOLORDLG", K::Pointer, K::Handle, "wParam: device context; lParam: dialog"},
    {WM_CTLCOLORSCROLLBAR, "WM_CTLCOLORSCROLLBAR", K::Pointer, K::Handle, "wParam: device context; lParam: scroll bar"},
    {WM_CTLCOLORSTATIC, "WM_CTLCOLORSTATIC", K::Pointer, K::Handle, "wParam: device context; lParam: static or read-only edit"},
    {MN_GETHMENU, "MN_GETHMENU", K::Unused, K::Unused, "answer: the menu shown"},
    {MN_REUSEPOPUP, "MN_REUSEPOPUP", K::Unused, K::Unused, "the popup-menu window is shown again"},
    {WM_MOUSEMOVE, "WM_MOUSEMOVE", K::Flags, K::Point, "wParam: MK_* keys; lParam: client point"},
    {WM_LBUTTONDOWN, "WM_LBUTTONDOWN", K::Flags, K::Point, "wParam: MK_* keys; lParam: client point"},
    {WM_LBUTTONUP, "WM_LBUTTONUP", K::Flags, K::Point, "wParam: MK_* keys; lParam: client point"},
    {WM_LBUTTONDBLCLK, "WM_LBUTTONDBLCLK", K::Flags, K::Point, "wParam: MK_* keys; lParam: client point"},
    {WM_RBUTTONDOWN, "WM_RBUTTONDOWN", K::Flags, K::Point, "wParam: MK_* keys; lParam: client point"},
    {WM_RBUTTONUP, "WM_RBUTTONUP", K::Flags, K::Point, "wParam: MK_* keys; lParam: client point"},
    {WM_RBUTTONDBLCLK, "WM_RBUTTONDBLCLK", K::Flags, K::Point, "wParam: MK_* keys; lParam: client point"},
    {WM_MBUTTONDOWN, "WM_MBUTTONDOWN", K::Flags, K::Point, "wParam: MK_* keys; lParam: client point"},
    {WM_MBUTTONUP, "WM_MBUTTONUP", K::Flags, K::Point, "wParam: MK_* keys; lParam: client point"},
    {WM_MBUTTONDBLCLK, "WM_MBUTTONDBLCLK", K::Flags, K::Point, "wParam: MK_* keys; lParam: client point"},
    {WM_MOUSEWHEEL, "WM_MOUSEWHEEL", K::Value, K::Point, "wParam: MK_* keys (low), delta (high); lParam: screen point"},
    {WM_PARENTNOTIFY, "WM_PARENTNOTIFY", K::Value, K::Value, "wParam: event, child id; lParam: child or point"},
    {WM_ENTERMENULOOP, "WM_ENTERMENULOOP", K::Value, K::Unused, "wParam: tracked popup"},
    {WM_EXITMENULOOP, "WM_EXITMENULOOP", K::Value, K::Unused, "wParam: tracked popup"},
    {WM_CAPTURECHANGED, "WM_CAPTURECHANGED", K::Unused, K::Handle, "lParam: window that gets the capture"},
    {WM_MDICREATE, "WM_MDICREATE", K::Unused, K::Pointer, "lParam: MDICREATESTRUCT*"},
    {WM_MDIDESTROY, "WM_MDIDESTROY", K::Handle, K::Unused, "wParam: child"},
    {WM_MDIACTIVATE, "WM_MDIACTIVATE", K::Handle, K::Handle, "to the client: wParam child; to children: wParam deactivated, lParam activated"},
    {WM_MDIRESTORE, "WM_MDIRESTORE", K::Handle, K::Unused, "wParam: child"},
    {WM_MDINEXT, "WM_MDINEXT", K::Handle, K::Value, "wParam: child; lParam: non-zero for the previous"},
    {WM_MDIMAXIMIZE, "WM_MDIMAXIMIZE", K::Handle, K::Unused, "wParam: child"},
    {WM_MDITILE, "WM_MDITILE", K::Flags, K::Unused, "wParam: MDITILE_ flags"},
    {WM_MDICASCADE, "WM_MDICASCADE", K::Flags, K::Unused, "wParam: MDITILE_ flags"},
    {WM_MDIICONARRANGE, "WM_MDIICONARRANGE", K::Unused, K::Unused, ""},
    {WM_MDIGETACTIVE, "WM_MDIGETACTIVE", K::Unused, K::Pointer, "lParam: BOOL* maximised"},
    {WM_MDISETMENU, "WM_MDISETMENU", K::Handle, K::Handle, "wParam: frame menu; lParam: window menu"},
    {WM_MDIREFRESHMENU, "WM_MDIREFRESHMENU", K::Unused, K::Unused, ""},
    {WM_CUT, "WM_CUT", K::Unused, K::Unused, ""},
    {WM_COPY, "WM_COPY", K::Unused, K::Unused, ""},
    {WM_PASTE, "WM_PASTE", K::Unused, K::Unused, ""},
    {WM_CLEAR, "WM_CLEAR", K::Unused, K::Unused, ""},
    {WM_UNDO, "WM_UNDO", K::Unused, K::Unused, "answer: undone"},
    {WM_PRINT, "WM_PRINT", K::Pointer, K::Flags, "wParam: device context; lParam: PRF_* options"},
    {WM_PRINTCLIENT, "WM_PRINTCLIENT", K::Pointer, K::Flags, "wParam: device context; lParam: PRF_* options"},
};

constexpr bool IsSorted()
{
    for (size_t i = 1; i < std::size(kMessages); ++i) {
        if (kMessages[i - 1].id >= kMessages[i].id) {
            return false;
        }
    }
    return true;
}
static_assert(IsSorted(), "the message table must be sorted by id without duplicates");

} // namespace

const MessageInfo* FindMessageInfo(UINT id)
{
    const auto* end = std::end(kMessages);
    const auto* it = std::lower_bound(std::begin(kMessages), end, id,
                                      [](const MessageInfo& row, UINT key) { return row.id < key; });
    return (it != end && it->id == id) ? it : nullptr;
}

const char* MessageName(UINT id)
{
    thread_local std::string text;
    if (const MessageInfo* row = FindMessageInfo(id)) {
        return row->name;
    }
    if (const std::string* registered = nuvex::user::RegisteredMessageName(id)) {
        text = *registered;
        return text.c_str();
    }
    char buffer[32];
    if (id >= WM_APP && id < 0xC000) {
        std::snprintf(buffer, sizeof buffer, "WM_APP+%u", id - WM_APP);
    } else if (id >= WM_USER && id < WM_APP) {
        std::snprintf(buffer, sizeof buffer, "WM_USER+%u", id - WM_USER);
    } else {
        std::snprintf(buffer, sizeof buffer, "0x%04X", id);
    }
    text = buffer;
    return text.c_str();
}
