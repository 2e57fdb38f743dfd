// The standard controls: class names, styles, messages, notifications and
// records of buttons, edits, statics, list boxes, combo boxes, scroll bars,
// trackbars, up-down controls and progress bars, with the scroll-bar, caret
// and clipboard functions they use. The controls are system classes: any
// module creates them by class name with CreateWindowEx or a dialog template.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/base/api.h"
#include "platform/base/types.h"
#include "platform/user/menu.h"
#include "platform/user/winuser.h"

// Class names --------------------------------------------------------------------
inline constexpr const char* WC_BUTTONA = "Button";
inline constexpr const char* WC_EDITA = "Edit";
inline constexpr const char* WC_STATICA = "Static";
inline constexpr const char* WC_LISTBOXA = "ListBox";
inline constexpr const char* WC_COMBOBOXA = "ComboBox";
inline constexpr const char* WC_SCROLLBARA = "ScrollBar";
inline constexpr const char* TRACKBAR_CLASSA = "msctls_trackbar32";
inline constexpr const char* UPDOWN_CLASSA = "msctls_updown32";
inline constexpr const char* PROGRESS_CLASSA = "msctls_progress32";
// The list window a drop-down combo box shows.
inline constexpr const char* WC_COMBOLBOXA = "ComboLBox";

// Owner-draw control kinds (ODT_MENU is the menus').
constexpr UINT ODT_LISTBOX = 2;
constexpr UINT ODT_COMBOBOX = 3;
constexpr UINT ODT_BUTTON = 4;
constexpr UINT ODT_STATIC = 5;
struct COMPAREITEMSTRUCT {
    UINT CtlType;
    UINT CtlID;
    HWND hwndItem;
    UINT itemID1;
    ULONG_PTR itemData1;
    UINT itemID2;
    ULONG_PTR itemData2;
    DWORD dwLocaleId;
};
struct DELETEITEMSTRUCT {
    UINT CtlType;
    UINT CtlID;
    UINT itemID;
    HWND hwndItem;
    ULONG_PTR itemData;
};

// Images of buttons and statics.
constexpr UINT IMAGE_BITMAP = 0;
constexpr UINT IMAGE_ICON = 1;

// Buttons ------------------------------------------------------------------------
constexpr DWORD BS_PUSHBUTTON = 0x0000;
constexpr DWORD BS_DEFPUSHBUTTON = 0x0001;
constexpr DWORD BS_CHECKBOX = 0x0002;
constexpr DWORD BS_AUTOCHECKBOX = 0x0003;
constexpr DWORD BS_RADIOBUTTON = 0x0004;
constexpr DWORD BS_3STATE = 0x0005;
constexpr DWORD BS_AUTO3STATE = 0x0006;
constexpr DWORD BS_GROUPBOX = 0x0007;
constexpr DWORD BS_USERBUTTON = 0x0008;
constexpr DWORD BS_AUTORADIOBUTTON = 0x0009;
constexpr DWORD BS_PUSHBOX = 0x000A;
constexpr DWORD BS_OWNERDRAW = 0x000B;
constexpr DWORD BS_TYPEMASK = 0x000F;
constexpr DWORD BS_LEFTTEXT = 0x0020;
constexpr DWORD BS_RIGHTBUTTON = BS_LEFTTEXT;
constexpr DWORD BS_TEXT = 0x0000;
constexpr DWORD BS_ICON = 0x0040;
constexpr DWORD BS_BITMAP = 0x0080;
constexpr DWORD BS_LEFT = 0x0100;
constexpr DWORD BS_RIGHT = 0x0200;
constexpr DWORD BS_CENTER = 0x0300;
constexpr DWORD BS_TOP = 0x0400;
constexpr DWORD BS_BOTTOM = 0x0800;
constexpr DWORD BS_VCENTER = 0x0C00;
constexpr DWORD BS_PUSHLIKE = 0x1000;
constexpr DWORD BS_MULTILINE = 0x2000;
constexpr DWORD BS_NOTIFY = 0x4000;
constexpr DWORD BS_FLAT = 0x8000;

constexpr UINT BM_GETCHECK = 0x00F0;
constexpr UINT BM_SETCHECK = 0x00F1;
constexpr UINT BM_GETSTATE = 0x00F2;
constexpr UINT BM_SETSTATE = 0x00F3;
constexpr UINT BM_SETSTYLE = 0x00F4;
constexpr UINT BM_CLICK = 0x00F5;
constexpr UINT BM_GETIMAGE = 0x00F6;
constexpr UINT BM_SETIMAGE = 0x00F7;

constexpr WPARAM BST_UNCHECKED = 0x0000;
constexpr WPARAM BST_CHECKED = 0x0001;
constexpr WPARAM BST_INDETERMINATE = 0x0002;
constexpr WPARAM BST_PUSHED = 0x0004;
constexpr WPARAM BST_FOCUS = 0x0008;

constexpr WORD BN_CLICKED = 0;
constexpr WORD BN_PAINT = 1;
constexpr WORD BN_HILITE = 2;
constexpr WORD BN_UNHILITE = 3;
constexpr WORD BN_DISABLE = 4;
constexpr WORD BN_DOUBLECLICKED = 5;
constexpr WORD BN_PUSHED = BN_HILITE;
constexpr WORD BN_UNPUSHED = BN_UNHILITE;
constexpr WORD BN_DBLCLK = BN_DOUBLECLICKED;
constexpr WORD BN_SETFOCUS = 6;
constexpr WORD BN_KILLFOCUS = 7;

// Checks `id` of `dialog` (BM_SETCHECK).
NUVEX_PLATFORM_API BOOL CheckDlgButton(HWND dialog, int id, UINT check);
NUVEX_PLATFORM_API UINT IsDlgButtonChecked(HWND dialog, int id);
// Checks `check` and unchecks the other ids of first..last.
NUVEX_PLATFORM_API BOOL CheckRadioButton(HWND dialog, int first, int last, int check);

// Edits --------------------------------------------------------------------------
constexpr DWORD ES_LEFT = 0x0000;
constexpr DWORD ES_CENTER = 0x0001;
constexpr DWORD ES_RIGHT = 0x0002;
constexpr DWORD ES_MULTILINE = 0x0004;
constexpr DWORD ES_UPPERCASE = 0x0008;
constexpr DWORD ES_LOWERCASE = 0x0010;
constexpr DWORD ES_PASSWORD = 0x0020;
constexpr DWORD ES_AUTOVSCROLL = 0x0040;
constexpr DWORD ES_AUTOHSCROLL = 0x0080;
constexpr DWORD ES_NOHIDESEL = 0x0100;
constexpr DWORD ES_OEMCONVERT = 0x0400;
constexpr DWORD ES_READONLY = 0x0800;
constexpr DWORD ES_WANTRETURN = 0x1000;
constexpr DWORD ES_NUMBER = 0x2000;

constexpr UINT EM_GETSEL = 0x00B0;
constexpr UINT EM_SETSEL = 0x00B1;
constexpr UINT EM_GETRECT = 0x00B2;
constexpr UINT EM_SETRECT = 0x00B3;
constexpr UINT EM_SETRECTNP = 0x00B4;
constexpr UINT EM_SCROLL = 0x00B5;
constexpr UINT EM_LINESCROLL = 0x00B6;
constexpr UINT EM_SCROLLCARET = 0x00B7;
constexpr UINT EM_GETMODIFY = 0x00B8;
constexpr UINT EM_SETMODIFY = 0x00B9;
constexpr UINT EM_GETLINECOUNT = 0x00BA;
constexpr UINT EM_LINEINDEX = 0x00BB;
constexpr UINT EM_LINELENGTH = 0x00C1;
constexpr UINT EM_REPLACESEL = 0x00C2;
constexpr UINT EM_GETLINE = 0x00C4;
constexpr UINT EM_LIMITTEXT = 0x00C5;
constexpr UINT EM_SETLIMITTEXT = EM_LIMITTEXT;
constexpr UINT EM_CANUNDO = 0x00C6;
constexpr UINT EM_UNDO = 0x00C7;
constexpr UINT EM_LINEFROMCHAR = 0x00C9;
constexpr UINT EM_SETPASSWORDCHAR = 0x00CC;
constexpr UINT EM_EMPTYUNDOBUFFER = 0x00CD;
constexpr UINT EM_GETFIRSTVISIBLELINE = 0x00CE;
constexpr UINT EM_SETREADONLY = 0x00CF;
constexpr UINT EM_GETPASSWORDCHAR = 0x00D2;
constexpr UINT EM_SETMARGINS = 0x00D3;
constexpr UINT EM_GETMARGINS = 0x00D4;
constexpr UINT EM_GETLIMITTEXT = 0x00D5;
constexpr UINT EM_POSFROMCHAR = 0x00D6;
constexpr UINT EM_CHARFROMPOS = 0x00D7;

constexpr WORD EN_SETFOCUS = 0x0100;
constexpr WORD EN_KILLFOCUS = 0x0200;
constexpr WORD EN_CHANGE = 0x0300;
constexpr WORD EN_UPDATE = 0x0400;
constexpr WORD EN_ERRSPACE = 0x0500;
constexpr WORD EN_MAXTEXT = 0x0501;
constexpr WORD EN_HSCROLL = 0x0601;
constexpr WORD EN_VSCROLL = 0x0602;

// EM_SETMARGINS flags.
constexpr WPARAM EC_LEFTMARGIN = 0x0001;
constexpr WPARAM EC_RIGHTMARGIN = 0x0002;

// Text limit of an edit without EM_LIMITTEXT (and the largest limit).
constexpr UINT kEditDefaultLimit = 0x7FFFFFFE;

// Statics ------------------------------------------------------------------------
constexpr DWORD SS_LEFT = 0x0000;
constexpr DWORD SS_CENTER = 0x0001;
constexpr DWORD SS_RIGHT = 0x0002;
constexpr DWORD SS_ICON = 0x0003;
constexpr DWORD SS_BLACKRECT = 0x0004;
constexpr DWORD SS_GRAYRECT = 0x0005;
constexpr DWORD SS_WHITERECT = 0x0006;
constexpr DWORD SS_BLACKFRAME = 0x0007;
constexpr DWORD SS_GRAYFRAME = 0x0008;
constexpr DWORD SS_WHITEFRAME = 0x0009;
constexpr DWORD SS_SIMPLE = 0x000B;
constexpr DWORD SS_LEFTNOWORDWRAP = 0x000C;
constexpr DWORD SS_OWNERDRAW = 0x000D;
constexpr DWORD SS_BITMAP = 0x000E;
constexpr DWORD SS_ETCHEDHORZ = 0x0010;
constexpr DWORD SS_ETCHEDVERT = 0x0011;
constexpr DWORD SS_ETCHEDFRAME = 0x0012;
constexpr DWORD SS_TYPEMASK = 0x001F;
constexpr DWORD SS_NOPREFIX = 0x0080;
constexpr DWORD SS_NOTIFY = 0x0100;
constexpr DWORD SS_CENTERIMAGE = 0x0200;
constexpr DWORD SS_RIGHTJUST = 0x0400;
constexpr DWORD SS_REALSIZEIMAGE = 0x0800;
constexpr DWORD SS_SUNKEN = 0x1000;
constexpr DWORD SS_ENDELLIPSIS = 0x4000;

constexpr UINT STM_SETICON = 0x0170;
constexpr UINT STM_GETICON = 0x0171;
constexpr UINT STM_SETIMAGE = 0x0172;
constexpr UINT STM_GETIMAGE = 0x0173;

constexpr WORD STN_CLICKED = 0;
constexpr WORD STN_DBLCLK = 1;
constexpr WORD STN_ENABLE = 2;
constexpr WORD STN_DISABLE = 3;

// List boxes ---------------------------------------------------------------------
constexpr DWORD LBS_NOTIFY = 0x0001;
constexpr DWORD LBS_SORT = 0x0002;
constexpr DWORD LBS_NOREDRAW = 0x0004;
constexpr DWORD LBS_MULTIPLESEL = 0x0008;
constexpr DWORD LBS_OWNERDRAWFIXED = 0x0010;
constexpr DWORD LBS_OWNERDRAWVARIABLE = 0x0020;
constexpr DWORD LBS_HASSTRINGS = 0x0040;
constexpr DWORD LBS_USETABSTOPS = 0x0080;
constexpr DWORD LBS_NOINTEGRALHEIGHT = 0x0100;
constexpr DWORD LBS_MULTICOLUMN = 0x0200;
constexpr DWORD LBS_WANTKEYBOARDINPUT = 0x0400;
constexpr DWORD LBS_EXTENDEDSEL = 0x0800;
constexpr DWORD LBS_DISABLENOSCROLL = 0x1000;
constexpr DWORD LBS_NOSEL = 0x4000;
constexpr DWORD LBS_COMBOBOX = 0x8000;
constexpr DWORD LBS_STANDARD = LBS_NOTIFY | LBS_SORT | WS_VSCROLL | WS_BORDER;

constexpr UINT LB_ADDSTRING = 0x0180;
constexpr UINT LB_INSERTSTRING = 0x0181;
constexpr UINT LB_DELETESTRING = 0x0182;
constexpr UINT LB_SELITEMRANGEEX = 0x0183;
constexpr UINT LB_RESETCONTENT = 0x0184;
constexpr UINT LB_SETSEL = 0x0185;
constexpr UINT LB_SETCURSEL = 0x0186;
constexpr UINT LB_GETSEL = 0x0187;
constexpr UINT LB_GETCURSEL = 0x0188;
constexpr UINT LB_GETTEXT = 0x0189;
constexpr UINT LB_GETTEXTLEN = 0x018A;
constexpr UINT LB_GETCOUNT = 0x018B;
constexpr UINT LB_SELECTSTRING = 0x018C;
constexpr UINT LB_GETTOPINDEX = 0x018E;
constexpr UINT LB_FINDSTRING = 0x018F;
constexpr UINT LB_GETSELCOUNT = 0x0190;
constexpr UINT LB_GETSELITEMS = 0x0191;
constexpr UINT LB_SETCOLUMNWIDTH = 0x0195;
constexpr UINT LB_SETTOPINDEX = 0x0197;
constexpr UINT LB_GETITEMRECT = 0x0198;
constexpr UINT LB_GETITEMDATA = 0x0199;
constexpr UINT LB_SETITEMDATA = 0x019A;
constexpr UINT LB_SELITEMRANGE = 0x019B;
constexpr UINT LB_SETANCHORINDEX = 0x019C;
constexpr UINT LB_GETANCHORINDEX = 0x019D;
constexpr UINT LB_SETCARETINDEX = 0x019E;
constexpr UINT LB_GETCARETINDEX = 0x019F;
constexpr UINT LB_SETITEMHEIGHT = 0x01A0;
constexpr UINT LB_GETITEMHEIGHT = 0x01A1;
constexpr UINT LB_FINDSTRINGEXACT = 0x01A2;
constexpr UINT LB_ITEMFROMPOINT = 0x01A9;

constexpr LRESULT LB_OKAY = 0;
constexpr LRESULT LB_ERR = -1;
constexpr LRESULT LB_ERRSPACE = -2;

constexpr WORD LBN_ERRSPACE = static_cast<WORD>(-2);
constexpr WORD LBN_SELCHANGE = 1;
constexpr WORD LBN_DBLCLK = 2;
constexpr WORD LBN_SELCANCEL = 3;
constexpr WORD LBN_SETFOCUS = 4;
constexpr WORD LBN_KILLFOCUS = 5;

// Combo boxes --------------------------------------------------------------------
constexpr DWORD CBS_SIMPLE = 0x0001;
constexpr DWORD CBS_DROPDOWN = 0x0002;
constexpr DWORD CBS_DROPDOWNLIST = 0x0003;
constexpr DWORD CBS_OWNERDRAWFIXED = 0x0010;
constexpr DWORD CBS_OWNERDRAWVARIABLE = 0x0020;
constexpr DWORD CBS_AUTOHSCROLL = 0x0040;
constexpr DWORD CBS_OEMCONVERT = 0x0080;
constexpr DWORD CBS_SORT = 0x0100;
constexpr DWORD CBS_HASSTRINGS = 0x0200;
constexpr DWORD CBS_NOINTEGRALHEIGHT = 0x0400;
constexpr DWORD CBS_DISABLENOSCROLL = 0x0800;
constexpr DWORD CBS_UPPERCASE = 0x2000;
constexpr DWORD CBS_LOWERCASE = 0x4000;

constexpr UINT CB_GETEDITSEL = 0x0140;
constexpr UINT CB_LIMITTEXT = 0x0141;
constexpr UINT CB_SETEDITSEL = 0x0142;
constexpr UINT CB_ADDSTRING = 0x0143;
constexpr UINT CB_DELETESTRING = 0x0144;
constexpr UINT CB_GETCOUNT = 0x0146;
constexpr UINT CB_GETCURSEL = 0x0147;
constexpr UINT CB_GETLBTEXT = 0x0148;
constexpr UINT CB_GETLBTEXTLEN = 0x0149;
constexpr UINT CB_INSERTSTRING = 0x014A;
constexpr UINT CB_RESETCONTENT = 0x014B;
constexpr UINT CB_FINDSTRING = 0x014C;
constexpr UINT CB_SELECTSTRING = 0x014D;
constexpr UINT CB_SETCURSEL = 0x014E;
constexpr UINT CB_SHOWDROPDOWN = 0x014F;
constexpr UINT CB_GETITEMDATA = 0x0150;
constexpr UINT CB_SETITEMDATA = 0x0151;
constexpr UINT CB_GETDROPPEDCONTROLRECT = 0x0152;
constexpr UINT CB_SETITEMHEIGHT = 0x0153;
constexpr UINT CB_GETITEMHEIGHT = 0x0154;
constexpr UINT CB_GETDROPPEDSTATE = 0x0157;
constexpr UINT CB_FINDSTRINGEXACT = 0x0158;
constexpr UINT CB_GETTOPINDEX = 0x015B;
constexpr UINT CB_SETTOPINDEX = 0x015C;
constexpr UINT CB_GETDROPPEDWIDTH = 0x015F;
constexpr UINT CB_SETDROPPEDWIDTH = 0x0160;

constexpr LRESULT CB_OKAY = 0;
constexpr LRESULT CB_ERR = -1;
constexpr LRESULT CB_ERRSPACE = -2;

constexpr WORD CBN_ERRSPACE = static_cast<WORD>(-1);
constexpr WORD CBN_SELCHANGE = 1;
constexpr WORD CBN_DBLCLK = 2;
constexpr WORD CBN_SETFOCUS = 3;
constexpr WORD CBN_KILLFOCUS = 4;
constexpr WORD CBN_EDITCHANGE = 5;
constexpr WORD CBN_EDITUPDATE = 6;
constexpr WORD CBN_DROPDOWN = 7;
constexpr WORD CBN_CLOSEUP = 8;
constexpr WORD CBN_SELENDOK = 9;
constexpr WORD CBN_SELENDCANCEL = 10;

// Scroll bars --------------------------------------------------------------------
constexpr DWORD SBS_HORZ = 0x0000;
constexpr DWORD SBS_VERT = 0x0001;
constexpr DWORD SBS_TOPALIGN = 0x0002;
constexpr DWORD SBS_LEFTALIGN = 0x0002;
constexpr DWORD SBS_BOTTOMALIGN = 0x0004;
constexpr DWORD SBS_RIGHTALIGN = 0x0004;
constexpr DWORD SBS_SIZEBOX = 0x0008;
constexpr DWORD SBS_SIZEGRIP = 0x0010;

// The scroll codes, SCROLLINFO and the scroll functions are the window
// system's (platform/user/scroll.h, included by winuser.h).

// Trackbars ----------------------------------------------------------------------
constexpr DWORD TBS_AUTOTICKS = 0x0001;
constexpr DWORD TBS_VERT = 0x0002;
constexpr DWORD TBS_HORZ = 0x0000;
constexpr DWORD TBS_TOP = 0x0004;
constexpr DWORD TBS_BOTTOM = 0x0000;
constexpr DWORD TBS_LEFT = 0x0004;
constexpr DWORD TBS_RIGHT = 0x0000;
constexpr DWORD TBS_BOTH = 0x0008;
constexpr DWORD TBS_NOTICKS = 0x0010;
constexpr DWORD TBS_ENABLESELRANGE = 0x0020;
constexpr DWORD TBS_FIXEDLENGTH = 0x0040;
constexpr DWORD TBS_NOTHUMB = 0x0080;

constexpr UINT TBM_GETPOS = WM_USER;
constexpr UINT TBM_GETRANGEMIN = WM_USER + 1;
constexpr UINT TBM_GETRANGEMAX = WM_USER + 2;
constexpr UINT TBM_GETTIC = WM_USER + 3;
constexpr UINT TBM_SETTIC = WM_USER + 4;
constexpr UINT TBM_SETPOS = WM_USER + 5;
constexpr UINT TBM_SETRANGE = WM_USER + 6;
constexpr UINT TBM_SETRANGEMIN = WM_USER + 7;
constexpr UINT TBM_SETRANGEMAX = WM_USER + 8;
constexpr UINT TBM_CLEARTICS = WM_USER + 9;
constexpr UINT TBM_SETSEL = WM_USER + 10;
constexpr UINT TBM_SETSELSTART = WM_USER + 11;
constexpr UINT TBM_SETSELEND = WM_USER + 12;
constexpr UINT TBM_GETNUMTICS = WM_USER + 16;
constexpr UINT TBM_GETSELSTART = WM_USER + 17;
constexpr UINT TBM_GETSELEND = WM_USER + 18;
constexpr UINT TBM_CLEARSEL = WM_USER + 19;
constexpr UINT TBM_SETTICFREQ = WM_USER + 20;
constexpr UINT TBM_SETPAGESIZE = WM_USER + 21;
constexpr UINT TBM_GETPAGESIZE = WM_USER + 22;
constexpr UINT TBM_SETLINESIZE = WM_USER + 23;
constexpr UINT TBM_GETLINESIZE = WM_USER + 24;
constexpr UINT TBM_GETTHUMBRECT = WM_USER + 25;
constexpr UINT TBM_GETCHANNELRECT = WM_USER + 26;

// Scroll codes a trackbar sends its parent in WM_HSCROLL / WM_VSCROLL.
constexpr WORD TB_LINEUP = 0;
constexpr WORD TB_LINEDOWN = 1;
constexpr WORD TB_PAGEUP = 2;
constexpr WORD TB_PAGEDOWN = 3;
constexpr WORD TB_THUMBPOSITION = 4;
constexpr WORD TB_THUMBTRACK = 5;
constexpr WORD TB_TOP = 6;
constexpr WORD TB_BOTTOM = 7;
constexpr WORD TB_ENDTRACK = 8;

// Up-down controls ---------------------------------------------------------------
constexpr DWORD UDS_WRAP = 0x0001;
constexpr DWORD UDS_SETBUDDYINT = 0x0002;
constexpr DWORD UDS_ALIGNRIGHT = 0x0004;
constexpr DWORD UDS_ALIGNLEFT = 0x0008;
constexpr DWORD UDS_AUTOBUDDY = 0x0010;
constexpr DWORD UDS_ARROWKEYS = 0x0020;
constexpr DWORD UDS_HORZ = 0x0040;
constexpr DWORD UDS_NOTHOUSANDS = 0x0080;

constexpr UINT UDM_SETRANGE = WM_USER + 101;
constexpr UINT UDM_GETRANGE = WM_USER + 102;
constexpr UINT UDM_SETPOS = WM_USER + 103;
constexpr UINT UDM_GETPOS = WM_USER + 104;
constexpr UINT UDM_SETBUDDY = WM_USER + 105;
constexpr UINT UDM_GETBUDDY = WM_USER + 106;
constexpr UINT UDM_SETACCEL = WM_USER + 107;
constexpr UINT UDM_GETACCEL = WM_USER + 108;
constexpr UINT UDM_SETBASE = WM_USER + 109;
constexpr UINT UDM_GETBASE = WM_USER + 110;
constexpr UINT UDM_SETRANGE32 = WM_USER + 111;
constexpr UINT UDM_GETRANGE32 = WM_USER + 112;
constexpr UINT UDM_SETPOS32 = WM_USER + 113;
constexpr UINT UDM_GETPOS32 = WM_USER + 114;

constexpr int UD_MAXVAL = 0x7FFF;
constexpr int UD_MINVAL = -UD_MAXVAL;

constexpr UINT UDN_FIRST = static_cast<UINT>(-721);
constexpr UINT UDN_DELTAPOS = UDN_FIRST - 1;

struct UDACCEL {
    UINT nSec;
    UINT nInc;
};
// UDN_DELTAPOS: the position before the step and the step; answering
// non-zero refuses the step.
struct NMUPDOWN {
    NMHDR hdr;
    int iPos;
    int iDelta;
};
using LPNMUPDOWN = NMUPDOWN*;

// Progress bars ------------------------------------------------------------------
constexpr DWORD PBS_SMOOTH = 0x0001;
constexpr DWORD PBS_VERTICAL = 0x0004;

constexpr UINT PBM_SETRANGE = WM_USER + 1;
constexpr UINT PBM_SETPOS = WM_USER + 2;
constexpr UINT PBM_DELTAPOS = WM_USER + 3;
constexpr UINT PBM_SETSTEP = WM_USER + 4;
constexpr UINT PBM_STEPIT = WM_USER + 5;
constexpr UINT PBM_SETRANGE32 = WM_USER + 6;
constexpr UINT PBM_GETRANGE = WM_USER + 7;
constexpr UINT PBM_GETPOS = WM_USER + 8;
constexpr UINT PBM_SETBARCOLOR = WM_USER + 9;
constexpr UINT PBM_SETBKCOLOR = 0x2001;

struct PBRANGE {
    int iLow;
    int iHigh;
};

// Caret ----------------------------------------------------------------------------
// One caret for the process, owned by a window. The controls draw it
// themselves while they paint, so nothing is inverted behind their back.
NUVEX_PLATFORM_API BOOL CreateCaret(HWND hwnd, HBITMAP bitmap, int width, int height);
NUVEX_PLATFORM_API BOOL DestroyCaret();
NUVEX_PLATFORM_API BOOL SetCaretPos(int x, int y);
NUVEX_PLATFORM_API BOOL GetCaretPos(POINT* point);
NUVEX_PLATFORM_API BOOL ShowCaret(HWND hwnd);
NUVEX_PLATFORM_API BOOL HideCaret(HWND hwnd);
NUVEX_PLATFORM_API UINT GetCaretBlinkTime();

// Clipboard (text) ------------------------------------------------------------------
constexpr UINT CF_TEXT = 1;
// The process's clipboard of text, kept in memory.
NUVEX_PLATFORM_API void ClipboardSetText(std::string_view text);
NUVEX_PLATFORM_API std::optional<std::string> ClipboardGetText();
NUVEX_PLATFORM_API void ClipboardClear();
NUVEX_PLATFORM_API BOOL IsClipboardFormatAvailable(UINT format);
