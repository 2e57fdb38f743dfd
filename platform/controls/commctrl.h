// The common controls' public face: image lists, tree view, tab control,
// toolbar, status bar and tooltips, with their messages, styles, records
// and notifications. The window classes are registered with every window
// system; InitCommonControls(Ex) is kept for callers and always succeeds.
#pragma once

#include "platform/base/api.h"
#include "platform/base/types.h"
#include "platform/gdi/gdi.h"
#include "platform/user/notify.h"
#include "platform/user/winuser.h"

// Class names.
inline constexpr const char* WC_TREEVIEWA = "SysTreeView32";
inline constexpr const char* WC_TABCONTROLA = "SysTabControl32";
inline constexpr const char* TOOLBARCLASSNAMEA = "ToolbarWindow32";
inline constexpr const char* STATUSCLASSNAMEA = "msctls_statusbar32";
inline constexpr const char* TOOLTIPS_CLASSA = "tooltips_class32";
#define WC_TREEVIEW WC_TREEVIEWA
#define WC_TABCONTROL WC_TABCONTROLA
#define TOOLBARCLASSNAME TOOLBARCLASSNAMEA
#define STATUSCLASSNAME STATUSCLASSNAMEA
#define TOOLTIPS_CLASS TOOLTIPS_CLASSA

struct INITCOMMONCONTROLSEX {
    DWORD dwSize;
    DWORD dwICC;
};
constexpr DWORD ICC_LISTVIEW_CLASSES = 0x0001;
constexpr DWORD ICC_TREEVIEW_CLASSES = 0x0002;
constexpr DWORD ICC_BAR_CLASSES = 0x0004;
constexpr DWORD ICC_TAB_CLASSES = 0x0008;
constexpr DWORD ICC_UPDOWN_CLASS = 0x0010;
constexpr DWORD ICC_PROGRESS_CLASS = 0x0020;
constexpr DWORD ICC_WIN95_CLASSES = 0x00FF;
NUVEX_PLATFORM_API void InitCommonControls();
NUVEX_PLATFORM_API BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* init);

// Messages every common control answers.
constexpr UINT CCM_FIRST = 0x2000;
constexpr UINT CCM_SETBKCOLOR = CCM_FIRST + 1;
constexpr UINT CCM_SETCOLORSCHEME = CCM_FIRST + 2;
constexpr UINT CCM_GETCOLORSCHEME = CCM_FIRST + 3;

// Styles shared by toolbars and status bars (placement along the parent).
constexpr DWORD CCS_TOP = 0x0001;
constexpr DWORD CCS_NOMOVEY = 0x0002;
constexpr DWORD CCS_BOTTOM = 0x0003;
constexpr DWORD CCS_NORESIZE = 0x0004;
constexpr DWORD CCS_NOPARENTALIGN = 0x0008;
constexpr DWORD CCS_ADJUSTABLE = 0x0020;
constexpr DWORD CCS_NODIVIDER = 0x0040;
constexpr DWORD CCS_VERT = 0x0080;

struct COLORSCHEME {
    DWORD dwSize;
    COLORREF clrBtnHighlight;
    COLORREF clrBtnShadow;
};

// The record of a control's mouse notification (NM_CLICK, NM_RCLICK ...)
// where the control names what was clicked.
struct NMMOUSE {
    NMHDR hdr;
    DWORD_PTR dwItemSpec; // the part, button id or item clicked
    DWORD_PTR dwItemData;
    POINT pt;             // client coordinates
    LPARAM dwHitInfo;
};
using LPNMMOUSE = NMMOUSE*;

// Image lists ------------------------------------------------------------------

constexpr UINT ILC_MASK = 0x0001;
constexpr UINT ILC_COLOR = 0x0000;
constexpr UINT ILC_COLORDDB = 0x00FE;
constexpr UINT ILC_COLOR4 = 0x0004;
constexpr UINT ILC_COLOR8 = 0x0008;
constexpr UINT ILC_COLOR16 = 0x0010;
constexpr UINT ILC_COLOR24 = 0x0018;
constexpr UINT ILC_COLOR32 = 0x0020;
constexpr UINT ILC_PALETTE = 0x0800;
constexpr UINT ILC_MIRROR = 0x2000;

constexpr UINT ILD_NORMAL = 0x0000;
constexpr UINT ILD_TRANSPARENT = 0x0001;
constexpr UINT ILD_BLEND25 = 0x0002;
constexpr UINT ILD_FOCUS = ILD_BLEND25;
constexpr UINT ILD_BLEND50 = 0x0004;
constexpr UINT ILD_SELECTED = ILD_BLEND50;
constexpr UINT ILD_BLEND = ILD_BLEND50;
constexpr UINT ILD_MASK = 0x0010;
constexpr UINT ILD_IMAGE = 0x0020;
constexpr UINT ILD_ROP = 0x0040;
constexpr UINT ILD_OVERLAYMASK = 0x0F00;
constexpr UINT ILD_PRESERVEALPHA = 0x1000;

constexpr UINT INDEXTOOVERLAYMASK(UINT i) { return i << 8; }
constexpr UINT INDEXTOSTATEIMAGEMASK(UINT i) { return i << 12; }

struct IMAGEINFO {
    HBITMAP hbmImage; // the list's own bitmaps; the caller must not delete them
    HBITMAP hbmMask;
    int Unused1;
    int Unused2;
    RECT rcImage; // the image's cell in those bitmaps
};

// Every image is kept as 32-bit colour with its own mask (ILC_MASK) or
// alpha (ILC_COLOR32). Counts and indexes are checked: a bad index answers
// failure (-1, FALSE or null) and changes nothing.
NUVEX_PLATFORM_API HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int initial, int grow);
NUVEX_PLATFORM_API BOOL ImageList_Destroy(HIMAGELIST list);
NUVEX_PLATFORM_API int ImageList_GetImageCount(HIMAGELIST list);
// Grows with empty images or drops the last ones.
NUVEX_PLATFORM_API BOOL ImageList_SetImageCount(HIMAGELIST list, UINT count);
// Adds as many images as the bitmap holds cells of the list's width; the
// first new index, or -1. Without a mask bitmap every pixel is opaque.
NUVEX_PLATFORM_API int ImageList_Add(HIMAGELIST list, HBITMAP image, HBITMAP mask);
// As Add, with the pixels of colour `maskColour` made transparent.
NUVEX_PLATFORM_API int ImageList_AddMasked(HIMAGELIST list, HBITMAP image, COLORREF maskColour);
NUVEX_PLATFORM_API BOOL ImageList_Replace(HIMAGELIST list, int index, HBITMAP image, HBITMAP mask);
// Index -1 appends; answers the index written or -1.
NUVEX_PLATFORM_API int ImageList_ReplaceIcon(HIMAGELIST list, int index, HICON icon);
inline int ImageList_AddIcon(HIMAGELIST list, HICON icon) { return ImageList_ReplaceIcon(list, -1, icon); }
// Index -1 removes every image.
NUVEX_PLATFORM_API BOOL ImageList_Remove(HIMAGELIST list, int index);
inline BOOL ImageList_RemoveAll(HIMAGELIST list) { return ImageList_Remove(list, -1); }
NUVEX_PLATFORM_API COLORREF ImageList_SetBkColor(HIMAGELIST list, COLORREF colour);
NUVEX_PLATFORM_API COLORREF ImageList_GetBkColor(HIMAGELIST list);
// Overlay 1..15 shows image `index` when ILD_OVERLAYMASK names it.
NUVEX_PLATFORM_API BOOL ImageList_SetOverlayImage(HIMAGELIST list, int index, int overlay);
NUVEX_PLATFORM_API BOOL ImageList_Draw(HIMAGELIST list, int index, HDC dc, int x, int y, UINT style);
// dx, dy of 0 draw the whole image; background CLR_NONE draws transparently,
// CLR_DEFAULT with the list's background colour; foreground is the blend
// colour of ILD_BLEND* (CLR_DEFAULT: the highlight colour).
NUVEX_PLATFORM_API BOOL ImageList_DrawEx(HIMAGELIST list, int index, HDC dc, int x, int y, int dx, int dy,
                                         COLORREF background, COLORREF foreground, UINT style);
// A new icon of the image (the caller destroys it), or null.
NUVEX_PLATFORM_API HICON ImageList_GetIcon(HIMAGELIST list, int index, UINT flags);
NUVEX_PLATFORM_API BOOL ImageList_GetIconSize(HIMAGELIST list, int* cx, int* cy);
// Sets a new size and removes every image.
NUVEX_PLATFORM_API BOOL ImageList_SetIconSize(HIMAGELIST list, int cx, int cy);
NUVEX_PLATFORM_API BOOL ImageList_GetImageInfo(HIMAGELIST list, int index, IMAGEINFO* info);
NUVEX_PLATFORM_API HIMAGELIST ImageList_Duplicate(HIMAGELIST list);
// Copies (ILCF_MOVE: moves) image `source` of `from` over image `dest` of `to`; ILCF_SWAP exchanges them.
constexpr UINT ILCF_MOVE = 0x0;
constexpr UINT ILCF_SWAP = 0x1;
NUVEX_PLATFORM_API BOOL ImageList_Copy(HIMAGELIST to, int dest, HIMAGELIST from, int source, UINT flags);

// Tree view ---------------------------------------------------------------------

inline HTREEITEM const TVI_ROOT = reinterpret_cast<HTREEITEM>(static_cast<intptr_t>(-0x10000));
inline HTREEITEM const TVI_FIRST = reinterpret_cast<HTREEITEM>(static_cast<intptr_t>(-0x0FFFF));
inline HTREEITEM const TVI_LAST = reinterpret_cast<HTREEITEM>(static_cast<intptr_t>(-0x0FFFE));
inline HTREEITEM const TVI_SORT = reinterpret_cast<HTREEITEM>(static_cast<intptr_t>(-0x0FFFD));

constexpr DWORD TVS_HASBUTTONS = 0x0001;
constexpr DWORD TVS_HASLINES = 0x0002;
constexpr DWORD TVS_LINESATROOT = 0x0004;
constexpr DWORD TVS_EDITLABELS = 0x0008;
constexpr DWORD TVS_DISABLEDRAGDROP = 0x0010;
constexpr DWORD TVS_SHOWSELALWAYS = 0x0020;
constexpr DWORD TVS_RTLREADING = 0x0040;
constexpr DWORD TVS_NOTOOLTIPS = 0x0080;
constexpr DWORD TVS_CHECKBOXES = 0x0100;
constexpr DWORD TVS_TRACKSELECT = 0x0200;
constexpr DWORD TVS_SINGLEEXPAND = 0x0400;
constexpr DWORD TVS_INFOTIP = 0x0800;
constexpr DWORD TVS_FULLROWSELECT = 0x1000;

constexpr UINT TVIF_TEXT = 0x0001;
constexpr UINT TVIF_IMAGE = 0x0002;
constexpr UINT TVIF_PARAM = 0x0004;
constexpr UINT TVIF_STATE = 0x0008;
constexpr UINT TVIF_HANDLE = 0x0010;
constexpr UINT TVIF_SELECTEDIMAGE = 0x0020;
constexpr UINT TVIF_CHILDREN = 0x0040;

constexpr UINT TVIS_SELECTED = 0x0002;
constexpr UINT TVIS_CUT = 0x0004;
constexpr UINT TVIS_DROPHILITED = 0x0008;
constexpr UINT TVIS_BOLD = 0x0010;
constexpr UINT TVIS_EXPANDED = 0x0020;
constexpr UINT TVIS_EXPANDEDONCE = 0x0040;
constexpr UINT TVIS_EXPANDPARTIAL = 0x0080;
constexpr UINT TVIS_OVERLAYMASK = 0x0F00;
constexpr UINT TVIS_STATEIMAGEMASK = 0xF000;
constexpr UINT TVIS_USERMASK = 0xF000;

constexpr UINT TVE_COLLAPSE = 0x0001;
constexpr UINT TVE_EXPAND = 0x0002;
constexpr UINT TVE_TOGGLE = 0x0003;
constexpr UINT TVE_EXPANDPARTIAL = 0x4000;
constexpr UINT TVE_COLLAPSERESET = 0x8000;

constexpr UINT TVGN_ROOT = 0x0000;
constexpr UINT TVGN_NEXT = 0x0001;
constexpr UINT TVGN_PREVIOUS = 0x0002;
constexpr UINT TVGN_PARENT = 0x0003;
constexpr UINT TVGN_CHILD = 0x0004;
constexpr UINT TVGN_FIRSTVISIBLE = 0x0005;
constexpr UINT TVGN_NEXTVISIBLE = 0x0006;
constexpr UINT TVGN_PREVIOUSVISIBLE = 0x0007;
constexpr UINT TVGN_DROPHILITE = 0x0008;
constexpr UINT TVGN_CARET = 0x0009;
constexpr UINT TVGN_LASTVISIBLE = 0x000A;

constexpr UINT TVC_UNKNOWN = 0x0000;
constexpr UINT TVC_BYMOUSE = 0x0001;
constexpr UINT TVC_BYKEYBOARD = 0x0002;

constexpr UINT TVHT_NOWHERE = 0x0001;
constexpr UINT TVHT_ONITEMICON = 0x0002;
constexpr UINT TVHT_ONITEMLABEL = 0x0004;
constexpr UINT TVHT_ONITEMINDENT = 0x0008;
constexpr UINT TVHT_ONITEMBUTTON = 0x0010;
constexpr UINT TVHT_ONITEMRIGHT = 0x0020;
constexpr UINT TVHT_ONITEMSTATEICON = 0x0040;
constexpr UINT TVHT_ONITEM = TVHT_ONITEMICON | TVHT_ONITEMLABEL | TVHT_ONITEMSTATEICON;
constexpr UINT TVHT_ABOVE = 0x0100;
constexpr UINT TVHT_BELOW = 0x0200;
constexpr UINT TVHT_TORIGHT = 0x0400;
constexpr UINT TVHT_TOLEFT = 0x0800;

constexpr WPARAM TVSIL_NORMAL = 0;
constexpr WPARAM TVSIL_STATE = 2;

constexpr int I_CHILDRENCALLBACK = -1;
constexpr int I_IMAGECALLBACK = -1;
inline LPSTR const LPSTR_TEXTCALLBACKA = reinterpret_cast<LPSTR>(static_cast<intptr_t>(-1));
#define LPSTR_TEXTCALLBACK LPSTR_TEXTCALLBACKA

constexpr UINT TV_FIRST = 0x1100;
constexpr UINT TVM_INSERTITEMA = TV_FIRST + 0;
constexpr UINT TVM_DELETEITEM = TV_FIRST + 1;
constexpr UINT TVM_EXPAND = TV_FIRST + 2;
constexpr UINT TVM_GETITEMRECT = TV_FIRST + 4;
constexpr UINT TVM_GETCOUNT = TV_FIRST + 5;
constexpr UINT TVM_GETINDENT = TV_FIRST + 6;
constexpr UINT TVM_SETINDENT = TV_FIRST + 7;
constexpr UINT TVM_GETIMAGELIST = TV_FIRST + 8;
constexpr UINT TVM_SETIMAGELIST = TV_FIRST + 9;
constexpr UINT TVM_GETNEXTITEM = TV_FIRST + 10;
constexpr UINT TVM_SELECTITEM = TV_FIRST + 11;
constexpr UINT TVM_GETITEMA = TV_FIRST + 12;
constexpr UINT TVM_SETITEMA = TV_FIRST + 13;
constexpr UINT TVM_EDITLABELA = TV_FIRST + 14;
constexpr UINT TVM_GETEDITCONTROL = TV_FIRST + 15;
constexpr UINT TVM_GETVISIBLECOUNT = TV_FIRST + 16;
constexpr UINT TVM_HITTEST = TV_FIRST + 17;
constexpr UINT TVM_SORTCHILDREN = TV_FIRST + 19;
constexpr UINT TVM_ENSUREVISIBLE = TV_FIRST + 20;
constexpr UINT TVM_ENDEDITLABELNOW = TV_FIRST + 22;
constexpr UINT TVM_SETITEMHEIGHT = TV_FIRST + 27;
constexpr UINT TVM_GETITEMHEIGHT = TV_FIRST + 28;
constexpr UINT TVM_SETBKCOLOR = TV_FIRST + 29;
constexpr UINT TVM_SETTEXTCOLOR = TV_FIRST + 30;
constexpr UINT TVM_GETBKCOLOR = TV_FIRST + 31;
constexpr UINT TVM_GETTEXTCOLOR = TV_FIRST + 32;
constexpr UINT TVM_GETITEMSTATE = TV_FIRST + 39;
#define TVM_INSERTITEM TVM_INSERTITEMA
#define TVM_GETITEM TVM_GETITEMA
#define TVM_SETITEM TVM_SETITEMA
#define TVM_EDITLABEL TVM_EDITLABELA

constexpr UINT TVN_FIRST = 0U - 400U;
constexpr UINT TVN_SELCHANGINGA = TVN_FIRST - 1;
constexpr UINT TVN_SELCHANGEDA = TVN_FIRST - 2;
constexpr UINT TVN_GETDISPINFOA = TVN_FIRST - 3;
constexpr UINT TVN_SETDISPINFOA = TVN_FIRST - 4;
constexpr UINT TVN_ITEMEXPANDINGA = TVN_FIRST - 5;
constexpr UINT TVN_ITEMEXPANDEDA = TVN_FIRST - 6;
constexpr UINT TVN_BEGINDRAGA = TVN_FIRST - 7;
constexpr UINT TVN_BEGINRDRAGA = TVN_FIRST - 8;
constexpr UINT TVN_DELETEITEMA = TVN_FIRST - 9;
constexpr UINT TVN_BEGINLABELEDITA = TVN_FIRST - 10;
constexpr UINT TVN_ENDLABELEDITA = TVN_FIRST - 11;
constexpr UINT TVN_KEYDOWN = TVN_FIRST - 12;
#define TVN_SELCHANGING TVN_SELCHANGINGA
#define TVN_SELCHANGED TVN_SELCHANGEDA
#define TVN_GETDISPINFO TVN_GETDISPINFOA
#define TVN_SETDISPINFO TVN_SETDISPINFOA
#define TVN_ITEMEXPANDING TVN_ITEMEXPANDINGA
#define TVN_ITEMEXPANDED TVN_ITEMEXPANDEDA
#define TVN_BEGINDRAG TVN_BEGINDRAGA
#define TVN_BEGINRDRAG TVN_BEGINRDRAGA
#define TVN_DELETEITEM TVN_DELETEITEMA
#define TVN_BEGINLABELEDIT TVN_BEGINLABELEDITA
#define TVN_ENDLABELEDIT TVN_ENDLABELEDITA

struct TVITEMA {
    UINT mask;
    HTREEITEM hItem;
    UINT state;
    UINT stateMask;
    LPSTR pszText;
    int cchTextMax;
    int iImage;
    int iSelectedImage;
    int cChildren;
    LPARAM lParam;
};
using TVITEM = TVITEMA;
using TV_ITEM = TVITEMA;
struct TVINSERTSTRUCTA {
    HTREEITEM hParent;
    HTREEITEM hInsertAfter;
    TVITEMA item;
};
using TVINSERTSTRUCT = TVINSERTSTRUCTA;
using TV_INSERTSTRUCT = TVINSERTSTRUCTA;
struct TVHITTESTINFO {
    POINT pt;
    UINT flags;
    HTREEITEM hItem;
};
struct NMTREEVIEWA {
    NMHDR hdr;
    UINT action; // TVC_* for selection, TVE_* for expansion
    TVITEMA itemOld;
    TVITEMA itemNew;
    POINT ptDrag;
};
using NMTREEVIEW = NMTREEVIEWA;
using NM_TREEVIEW = NMTREEVIEWA;
struct NMTVDISPINFOA {
    NMHDR hdr;
    TVITEMA item;
};
using NMTVDISPINFO = NMTVDISPINFOA;
using TV_DISPINFO = NMTVDISPINFOA;
struct NMTVKEYDOWN {
    NMHDR hdr;
    WORD wVKey;
    UINT flags;
};
using TV_KEYDOWN = NMTVKEYDOWN;

// Tab control ---------------------------------------------------------------------

constexpr DWORD TCS_SCROLLOPPOSITE = 0x0001;
constexpr DWORD TCS_BOTTOM = 0x0002;
constexpr DWORD TCS_RIGHT = 0x0002;
constexpr DWORD TCS_MULTISELECT = 0x0004;
constexpr DWORD TCS_FLATBUTTONS = 0x0008;
constexpr DWORD TCS_FORCEICONLEFT = 0x0010;
constexpr DWORD TCS_FORCELABELLEFT = 0x0020;
constexpr DWORD TCS_HOTTRACK = 0x0040;
constexpr DWORD TCS_VERTICAL = 0x0080;
constexpr DWORD TCS_TABS = 0x0000;
constexpr DWORD TCS_BUTTONS = 0x0100;
constexpr DWORD TCS_SINGLELINE = 0x0000;
constexpr DWORD TCS_MULTILINE = 0x0200;
constexpr DWORD TCS_FIXEDWIDTH = 0x0400;
constexpr DWORD TCS_RAGGEDRIGHT = 0x0800;
constexpr DWORD TCS_FOCUSONBUTTONDOWN = 0x1000;
constexpr DWORD TCS_OWNERDRAWFIXED = 0x2000;
constexpr DWORD TCS_TOOLTIPS = 0x4000;
constexpr DWORD TCS_FOCUSNEVER = 0x8000;

constexpr UINT TCIF_TEXT = 0x0001;
constexpr UINT TCIF_IMAGE = 0x0002;
constexpr UINT TCIF_RTLREADING = 0x0004;
constexpr UINT TCIF_PARAM = 0x0008;
constexpr UINT TCIF_STATE = 0x0010;
constexpr DWORD TCIS_BUTTONPRESSED = 0x0001;
constexpr DWORD TCIS_HIGHLIGHTED = 0x0002;

constexpr UINT TCHT_NOWHERE = 0x0001;
constexpr UINT TCHT_ONITEMICON = 0x0002;
constexpr UINT TCHT_ONITEMLABEL = 0x0004;
constexpr UINT TCHT_ONITEM = TCHT_ONITEMICON | TCHT_ONITEMLABEL;

constexpr UINT TCM_FIRST = 0x1300;
constexpr UINT TCM_GETIMAGELIST = TCM_FIRST + 2;
constexpr UINT TCM_SETIMAGELIST = TCM_FIRST + 3;
constexpr UINT TCM_GETITEMCOUNT = TCM_FIRST + 4;
constexpr UINT TCM_GETITEMA = TCM_FIRST + 5;
constexpr UINT TCM_SETITEMA = TCM_FIRST + 6;
constexpr UINT TCM_INSERTITEMA = TCM_FIRST + 7;
constexpr UINT TCM_DELETEITEM = TCM_FIRST + 8;
constexpr UINT TCM_DELETEALLITEMS = TCM_FIRST + 9;
constexpr UINT TCM_GETITEMRECT = TCM_FIRST + 10;
constexpr UINT TCM_GETCURSEL = TCM_FIRST + 11;
constexpr UINT TCM_SETCURSEL = TCM_FIRST + 12;
constexpr UINT TCM_HITTEST = TCM_FIRST + 13;
constexpr UINT TCM_SETITEMEXTRA = TCM_FIRST + 14;
constexpr UINT TCM_ADJUSTRECT = TCM_FIRST + 40;
constexpr UINT TCM_SETITEMSIZE = TCM_FIRST + 41;
constexpr UINT TCM_REMOVEIMAGE = TCM_FIRST + 42;
constexpr UINT TCM_SETPADDING = TCM_FIRST + 43;
constexpr UINT TCM_GETROWCOUNT = TCM_FIRST + 44;
constexpr UINT TCM_GETTOOLTIPS = TCM_FIRST + 45;
constexpr UINT TCM_SETTOOLTIPS = TCM_FIRST + 46;
constexpr UINT TCM_GETCURFOCUS = TCM_FIRST + 47;
constexpr UINT TCM_SETCURFOCUS = TCM_FIRST + 48;
constexpr UINT TCM_SETMINTABWIDTH = TCM_FIRST + 49;
#define TCM_GETITEM TCM_GETITEMA
#define TCM_SETITEM TCM_SETITEMA
#define TCM_INSERTITEM TCM_INSERTITEMA

constexpr UINT TCN_FIRST = 0U - 550U;
constexpr UINT TCN_KEYDOWN = TCN_FIRST - 0;
constexpr UINT TCN_SELCHANGE = TCN_FIRST - 1;
constexpr UINT TCN_SELCHANGING = TCN_FIRST - 2;

struct TCITEMA {
    UINT mask;
    DWORD dwState;
    DWORD dwStateMask;
    LPSTR pszText;
    int cchTextMax;
    int iImage;
    LPARAM lParam;
};
using TCITEM = TCITEMA;
using TC_ITEM = TCITEMA;
struct NMTCKEYDOWN {
    NMHDR hdr;
    WORD wVKey;
    UINT flags;
};
struct TCHITTESTINFO {
    POINT pt;
    UINT flags;
};

// Toolbar -------------------------------------------------------------------------

constexpr BYTE TBSTATE_CHECKED = 0x01;
constexpr BYTE TBSTATE_PRESSED = 0x02;
constexpr BYTE TBSTATE_ENABLED = 0x04;
constexpr BYTE TBSTATE_HIDDEN = 0x08;
constexpr BYTE TBSTATE_INDETERMINATE = 0x10;
constexpr BYTE TBSTATE_WRAP = 0x20;
constexpr BYTE TBSTATE_ELLIPSES = 0x40;
constexpr BYTE TBSTATE_MARKED = 0x80;

// Button styles (low byte) and toolbar window styles.
constexpr DWORD TBSTYLE_BUTTON = 0x0000;
constexpr DWORD TBSTYLE_SEP = 0x0001;
constexpr DWORD TBSTYLE_CHECK = 0x0002;
constexpr DWORD TBSTYLE_GROUP = 0x0004;
constexpr DWORD TBSTYLE_CHECKGROUP = TBSTYLE_GROUP | TBSTYLE_CHECK;
constexpr DWORD TBSTYLE_DROPDOWN = 0x0008;
constexpr DWORD TBSTYLE_AUTOSIZE = 0x0010;
constexpr DWORD TBSTYLE_NOPREFIX = 0x0020;
constexpr DWORD TBSTYLE_TOOLTIPS = 0x0100;
constexpr DWORD TBSTYLE_WRAPABLE = 0x0200;
constexpr DWORD TBSTYLE_ALTDRAG = 0x0400;
constexpr DWORD TBSTYLE_FLAT = 0x0800;
constexpr DWORD TBSTYLE_LIST = 0x1000;
constexpr DWORD TBSTYLE_CUSTOMERASE = 0x2000;
constexpr DWORD TBSTYLE_TRANSPARENT = 0x8000;
constexpr BYTE BTNS_BUTTON = 0x00;
constexpr BYTE BTNS_SEP = 0x01;
constexpr BYTE BTNS_CHECK = 0x02;
constexpr BYTE BTNS_GROUP = 0x04;
constexpr BYTE BTNS_CHECKGROUP = 0x06;
constexpr BYTE BTNS_DROPDOWN = 0x08;
constexpr BYTE BTNS_AUTOSIZE = 0x10;
constexpr BYTE BTNS_NOPREFIX = 0x20;
constexpr BYTE BTNS_SHOWTEXT = 0x40;
constexpr BYTE BTNS_WHOLEDROPDOWN = 0x80;
constexpr DWORD TBSTYLE_EX_DRAWDDARROWS = 0x00000001;
constexpr DWORD TBSTYLE_EX_MIXEDBUTTONS = 0x00000008;
constexpr DWORD TBSTYLE_EX_HIDECLIPPEDBUTTONS = 0x00000010;

struct TBBUTTON {
    int iBitmap;
    int idCommand;
    BYTE fsState;
    BYTE fsStyle;
    BYTE bReserved[6]; // pads to the pointer-sized fields
    DWORD_PTR dwData;
    INT_PTR iString; // index into the toolbar's strings, or a text pointer
};
using LPTBBUTTON = TBBUTTON*;
struct TBADDBITMAP {
    HINSTANCE hInst; // null: nID is a bitmap handle
    UINT_PTR nID;
};
struct TBREPLACEBITMAP {
    HINSTANCE hInstOld;
    UINT_PTR nIDOld;
    HINSTANCE hInstNew;
    UINT_PTR nIDNew;
    int nButtons;
};
constexpr UINT TBIF_IMAGE = 0x00000001;
constexpr UINT TBIF_TEXT = 0x00000002;
constexpr UINT TBIF_STATE = 0x00000004;
constexpr UINT TBIF_STYLE = 0x00000008;
constexpr UINT TBIF_LPARAM = 0x00000010;
constexpr UINT TBIF_COMMAND = 0x00000020;
constexpr UINT TBIF_SIZE = 0x00000040;
constexpr UINT TBIF_BYINDEX = 0x80000000;
struct TBBUTTONINFOA {
    UINT cbSize;
    DWORD dwMask;
    int idCommand;
    int iImage;
    BYTE fsState;
    BYTE fsStyle;
    WORD cx;
    DWORD_PTR lParam;
    LPSTR pszText;
    int cchText;
};

constexpr UINT TB_ENABLEBUTTON = WM_USER + 1;
constexpr UINT TB_CHECKBUTTON = WM_USER + 2;
constexpr UINT TB_PRESSBUTTON = WM_USER + 3;
constexpr UINT TB_HIDEBUTTON = WM_USER + 4;
constexpr UINT TB_INDETERMINATE = WM_USER + 5;
constexpr UINT TB_ISBUTTONENABLED = WM_USER + 9;
constexpr UINT TB_ISBUTTONCHECKED = WM_USER + 10;
constexpr UINT TB_ISBUTTONPRESSED = WM_USER + 11;
constexpr UINT TB_ISBUTTONHIDDEN = WM_USER + 12;
constexpr UINT TB_ISBUTTONINDETERMINATE = WM_USER + 13;
constexpr UINT TB_SETSTATE = WM_USER + 17;
constexpr UINT TB_GETSTATE = WM_USER + 18;
constexpr UINT TB_ADDBITMAP = WM_USER + 19;
constexpr UINT TB_ADDBUTTONSA = WM_USER + 20;
constexpr UINT TB_INSERTBUTTONA = WM_USER + 21;
constexpr UINT TB_DELETEBUTTON = WM_USER + 22;
constexpr UINT TB_GETBUTTON = WM_USER + 23;
constexpr UINT TB_BUTTONCOUNT = WM_USER + 24;
constexpr UINT TB_COMMANDTOINDEX = WM_USER + 25;
constexpr UINT TB_ADDSTRINGA = WM_USER + 28;
constexpr UINT TB_GETITEMRECT = WM_USER + 29;
constexpr UINT TB_BUTTONSTRUCTSIZE = WM_USER + 30;
constexpr UINT TB_SETBUTTONSIZE = WM_USER + 31;
constexpr UINT TB_SETBITMAPSIZE = WM_USER + 32;
constexpr UINT TB_AUTOSIZE = WM_USER + 33;
constexpr UINT TB_GETTOOLTIPS = WM_USER + 35;
constexpr UINT TB_SETTOOLTIPS = WM_USER + 36;
constexpr UINT TB_SETPARENT = WM_USER + 37;
constexpr UINT TB_SETROWS = WM_USER + 39;
constexpr UINT TB_GETROWS = WM_USER + 40;
constexpr UINT TB_SETCMDID = WM_USER + 42;
constexpr UINT TB_CHANGEBITMAP = WM_USER + 43;
constexpr UINT TB_GETBITMAP = WM_USER + 44;
constexpr UINT TB_GETBUTTONTEXTA = WM_USER + 45;
constexpr UINT TB_REPLACEBITMAP = WM_USER + 46;
constexpr UINT TB_SETINDENT = WM_USER + 47;
constexpr UINT TB_SETIMAGELIST = WM_USER + 48;
constexpr UINT TB_GETIMAGELIST = WM_USER + 49;
constexpr UINT TB_GETRECT = WM_USER + 51;
constexpr UINT TB_SETHOTIMAGELIST = WM_USER + 52;
constexpr UINT TB_GETHOTIMAGELIST = WM_USER + 53;
constexpr UINT TB_SETDISABLEDIMAGELIST = WM_USER + 54;
constexpr UINT TB_GETDISABLEDIMAGELIST = WM_USER + 55;
constexpr UINT TB_SETSTYLE = WM_USER + 56;
constexpr UINT TB_GETSTYLE = WM_USER + 57;
constexpr UINT TB_GETBUTTONSIZE = WM_USER + 58;
constexpr UINT TB_SETBUTTONWIDTH = WM_USER + 59;
constexpr UINT TB_SETMAXTEXTROWS = WM_USER + 60;
constexpr UINT TB_GETTEXTROWS = WM_USER + 61;
constexpr UINT TB_GETBUTTONINFOA = WM_USER + 65;
constexpr UINT TB_SETBUTTONINFOA = WM_USER + 66;
constexpr UINT TB_HITTEST = WM_USER + 69;
constexpr UINT TB_GETHOTITEM = WM_USER + 71;
constexpr UINT TB_SETHOTITEM = WM_USER + 72;
constexpr UINT TB_GETMAXSIZE = WM_USER + 83;
constexpr UINT TB_SETEXTENDEDSTYLE = WM_USER + 84;
constexpr UINT TB_GETEXTENDEDSTYLE = WM_USER + 85;
constexpr UINT TB_GETPADDING = WM_USER + 86;
constexpr UINT TB_SETPADDING = WM_USER + 87;
constexpr UINT TB_SETCOLORSCHEME = CCM_SETCOLORSCHEME;
constexpr UINT TB_GETCOLORSCHEME = CCM_GETCOLORSCHEME;
#define TB_ADDBUTTONS TB_ADDBUTTONSA
#define TB_INSERTBUTTON TB_INSERTBUTTONA
#define TB_ADDSTRING TB_ADDSTRINGA
#define TB_GETBUTTONTEXT TB_GETBUTTONTEXTA
#define TB_GETBUTTONINFO TB_GETBUTTONINFOA
#define TB_SETBUTTONINFO TB_SETBUTTONINFOA

constexpr UINT TBN_FIRST = 0U - 700U;
constexpr UINT TBN_GETBUTTONINFOA = TBN_FIRST - 0;
constexpr UINT TBN_BEGINDRAG = TBN_FIRST - 1;
constexpr UINT TBN_ENDDRAG = TBN_FIRST - 2;
constexpr UINT TBN_DROPDOWN = TBN_FIRST - 10;
constexpr UINT TBN_HOTITEMCHANGE = TBN_FIRST - 13;
constexpr LRESULT TBDDRET_DEFAULT = 0;
constexpr LRESULT TBDDRET_NODEFAULT = 1;
constexpr LRESULT TBDDRET_TREATPRESSED = 2;

struct NMTOOLBARA {
    NMHDR hdr;
    int iItem; // the button's command id
    TBBUTTON tbButton;
    int cchText;
    LPSTR pszText;
    RECT rcButton;
};
using NMTOOLBAR = NMTOOLBARA;
using TBNOTIFY = NMTOOLBARA;

constexpr LRESULT TBCDRF_NOEDGES = 0x00010000;
constexpr LRESULT TBCDRF_HILITEHOTTRACK = 0x00020000;
constexpr LRESULT TBCDRF_NOOFFSET = 0x00040000;
constexpr LRESULT TBCDRF_NOMARK = 0x00080000;
constexpr LRESULT TBCDRF_NOETCHEDEFFECT = 0x00100000;
constexpr LRESULT TBCDRF_BLENDICON = 0x00200000;
constexpr LRESULT TBCDRF_NOBACKGROUND = 0x00400000;

struct NMTBCUSTOMDRAW {
    NMCUSTOMDRAW nmcd;
    HBRUSH hbrMonoDither;
    HBRUSH hbrLines;
    HPEN hpenLines;
    COLORREF clrText;
    COLORREF clrMark;
    COLORREF clrTextHighlight;
    COLORREF clrBtnFace;
    COLORREF clrBtnHighlight;
    COLORREF clrHighlightHotTrack;
    RECT rcText;
    int nStringBkMode;
    int nHLStringBkMode;
    int iListGap;
};
using LPNMTBCUSTOMDRAW = NMTBCUSTOMDRAW*;

// Status bar ----------------------------------------------------------------------

constexpr DWORD SBARS_SIZEGRIP = 0x0100;
constexpr DWORD SBARS_TOOLTIPS = 0x0800;
constexpr WPARAM SBT_OWNERDRAW = 0x1000;
constexpr WPARAM SBT_NOBORDERS = 0x0100;
constexpr WPARAM SBT_POPOUT = 0x0200;
constexpr WPARAM SBT_RTLREADING = 0x0400;
constexpr WPARAM SBT_NOTABPARSING = 0x0800;
constexpr WPARAM SB_SIMPLEID = 0x00FF;

constexpr UINT SB_SETTEXTA = WM_USER + 1;
constexpr UINT SB_GETTEXTA = WM_USER + 2;
constexpr UINT SB_GETTEXTLENGTHA = WM_USER + 3;
constexpr UINT SB_SETPARTS = WM_USER + 4;
constexpr UINT SB_GETPARTS = WM_USER + 6;
constexpr UINT SB_GETBORDERS = WM_USER + 7;
constexpr UINT SB_SETMINHEIGHT = WM_USER + 8;
constexpr UINT SB_SIMPLE = WM_USER + 9;
constexpr UINT SB_GETRECT = WM_USER + 10;
constexpr UINT SB_ISSIMPLE = WM_USER + 14;
constexpr UINT SB_SETICON = WM_USER + 15;
constexpr UINT SB_SETTIPTEXTA = WM_USER + 16;
constexpr UINT SB_GETTIPTEXTA = WM_USER + 18;
constexpr UINT SB_GETICON = WM_USER + 20;
constexpr UINT SB_SETBKCOLOR = CCM_SETBKCOLOR;
#define SB_SETTEXT SB_SETTEXTA
#define SB_GETTEXT SB_GETTEXTA
#define SB_GETTEXTLENGTH SB_GETTEXTLENGTHA

// Tooltips --------------------------------------------------------------------------

constexpr DWORD TTS_ALWAYSTIP = 0x01;
constexpr DWORD TTS_NOPREFIX = 0x02;
constexpr DWORD TTS_NOANIMATE = 0x10;
constexpr DWORD TTS_NOFADE = 0x20;
constexpr DWORD TTS_BALLOON = 0x40;

constexpr UINT TTF_IDISHWND = 0x0001;
constexpr UINT TTF_CENTERTIP = 0x0002;
constexpr UINT TTF_RTLREADING = 0x0004;
constexpr UINT TTF_SUBCLASS = 0x0010;
constexpr UINT TTF_TRACK = 0x0020;
constexpr UINT TTF_ABSOLUTE = 0x0080;
constexpr UINT TTF_TRANSPARENT = 0x0100;
constexpr UINT TTF_DI_SETITEM = 0x8000;

constexpr WPARAM TTDT_AUTOMATIC = 0;
constexpr WPARAM TTDT_RESHOW = 1;
constexpr WPARAM TTDT_AUTOPOP = 2;
constexpr WPARAM TTDT_INITIAL = 3;

struct TTTOOLINFOA {
    UINT cbSize;
    UINT uFlags;
    HWND hwnd;    // the window that holds the tool
    UINT_PTR uId; // the tool's id, or its window with TTF_IDISHWND
    RECT rect;    // in hwnd's client coordinates (not used with TTF_IDISHWND)
    HINSTANCE hinst;
    LPSTR lpszText; // text, LPSTR_TEXTCALLBACKA (ask with TTN_NEEDTEXT), or a string id with hinst
    LPARAM lParam;
    void* lpReserved;
};
using TOOLINFOA = TTTOOLINFOA;
using TOOLINFO = TTTOOLINFOA;
using TTTOOLINFO = TTTOOLINFOA;
struct TTHITTESTINFOA {
    HWND hwnd;
    POINT pt;
    TTTOOLINFOA ti;
};
using TTHITTESTINFO = TTHITTESTINFOA;

constexpr UINT TTM_ACTIVATE = WM_USER + 1;
constexpr UINT TTM_SETDELAYTIME = WM_USER + 3;
constexpr UINT TTM_ADDTOOLA = WM_USER + 4;
constexpr UINT TTM_DELTOOLA = WM_USER + 5;
constexpr UINT TTM_NEWTOOLRECTA = WM_USER + 6;
constexpr UINT TTM_RELAYEVENT = WM_USER + 7;
constexpr UINT TTM_GETTOOLINFOA = WM_USER + 8;
constexpr UINT TTM_SETTOOLINFOA = WM_USER + 9;
constexpr UINT TTM_HITTESTA = WM_USER + 10;
constexpr UINT TTM_GETTEXTA = WM_USER + 11;
constexpr UINT TTM_UPDATETIPTEXTA = WM_USER + 12;
constexpr UINT TTM_GETTOOLCOUNT = WM_USER + 13;
constexpr UINT TTM_ENUMTOOLSA = WM_USER + 14;
constexpr UINT TTM_GETCURRENTTOOLA = WM_USER + 15;
constexpr UINT TTM_WINDOWFROMPOINT = WM_USER + 16;
constexpr UINT TTM_TRACKACTIVATE = WM_USER + 17;
constexpr UINT TTM_TRACKPOSITION = WM_USER + 18;
constexpr UINT TTM_SETTIPBKCOLOR = WM_USER + 19;
constexpr UINT TTM_SETTIPTEXTCOLOR = WM_USER + 20;
constexpr UINT TTM_GETDELAYTIME = WM_USER + 21;
constexpr UINT TTM_GETTIPBKCOLOR = WM_USER + 22;
constexpr UINT TTM_GETTIPTEXTCOLOR = WM_USER + 23;
constexpr UINT TTM_SETMAXTIPWIDTH = WM_USER + 24;
constexpr UINT TTM_GETMAXTIPWIDTH = WM_USER + 25;
constexpr UINT TTM_SETMARGIN = WM_USER + 26;
constexpr UINT TTM_GETMARGIN = WM_USER + 27;
constexpr UINT TTM_POP = WM_USER + 28;
constexpr UINT TTM_UPDATE = WM_USER + 29;
#define TTM_ADDTOOL TTM_ADDTOOLA
#define TTM_DELTOOL TTM_DELTOOLA
#define TTM_NEWTOOLRECT TTM_NEWTOOLRECTA
#define TTM_GETTOOLINFO TTM_GETTOOLINFOA
#define TTM_SETTOOLINFO TTM_SETTOOLINFOA
#define TTM_HITTEST TTM_HITTESTA
#define TTM_GETTEXT TTM_GETTEXTA
#define TTM_UPDATETIPTEXT TTM_UPDATETIPTEXTA
#define TTM_ENUMTOOLS TTM_ENUMTOOLSA
#define TTM_GETCURRENTTOOL TTM_GETCURRENTTOOLA

constexpr UINT TTN_FIRST = 0U - 520U;
constexpr UINT TTN_GETDISPINFOA = TTN_FIRST - 0;
constexpr UINT TTN_SHOW = TTN_FIRST - 1;
constexpr UINT TTN_POP = TTN_FIRST - 2;
constexpr UINT TTN_GETDISPINFOW = TTN_FIRST - 10;
constexpr UINT TTN_NEEDTEXTA = TTN_GETDISPINFOA;
constexpr UINT TTN_NEEDTEXTW = TTN_GETDISPINFOW;
#define TTN_NEEDTEXT TTN_NEEDTEXTA
#define TTN_GETDISPINFO TTN_GETDISPINFOA

// The tooltip asks for text with the 8-bit form only; the wide form exists
// for handlers that answer both.
struct NMTTDISPINFOA {
    NMHDR hdr;
    LPSTR lpszText; // points at szText, at a text of the handler, or a string id with hinst
    char szText[80];
    HINSTANCE hinst;
    UINT uFlags;
    LPARAM lParam;
};
struct NMTTDISPINFOW {
    NMHDR hdr;
    wchar_t* lpszText;
    wchar_t szText[80];
    HINSTANCE hinst;
    UINT uFlags;
    LPARAM lParam;
};
using NMTTDISPINFO = NMTTDISPINFOA;
using TOOLTIPTEXTA = NMTTDISPINFOA;
using TOOLTIPTEXTW = NMTTDISPINFOW;
using TOOLTIPTEXT = NMTTDISPINFOA;
