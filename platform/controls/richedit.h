// The rich edit control: window class "RichEdit20A", its messages,
// notifications and records. Text is 8-bit; a line break is one character
// in every position ("\r"), whatever form it was given in ("\r\n", "\n",
// "\r"). Lines never wrap: a text row is a paragraph, and the control
// scrolls sideways instead.
#pragma once

#include "platform/base/api.h"
#include "platform/base/types.h"
#include "platform/user/winuser.h"

inline constexpr const char* RICHEDIT_CLASSA = "RichEdit20A";
inline constexpr const char* RICHEDIT_CLASS = RICHEDIT_CLASSA;

// The class is a system class of every window system; this answers TRUE
// when it is registered (kept for callers that ask before creating one).
NUVEX_PLATFORM_API BOOL InitRichEditClass();

// Edit styles the control reads.
constexpr DWORD ES_LEFT = 0x0000;
constexpr DWORD ES_CENTER = 0x0001;
constexpr DWORD ES_RIGHT = 0x0002;
constexpr DWORD ES_MULTILINE = 0x0004;
constexpr DWORD ES_AUTOVSCROLL = 0x0040;
constexpr DWORD ES_AUTOHSCROLL = 0x0080;
constexpr DWORD ES_NOHIDESEL = 0x0100;
constexpr DWORD ES_READONLY = 0x0800;
constexpr DWORD ES_WANTRETURN = 0x1000;

// Messages shared with the plain edit control.
constexpr UINT EM_GETSEL = 0x00B0;
constexpr UINT EM_SETSEL = 0x00B1;
constexpr UINT EM_GETRECT = 0x00B2;
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
constexpr UINT EM_CANUNDO = 0x00C6;
constexpr UINT EM_UNDO = 0x00C7;
constexpr UINT EM_LINEFROMCHAR = 0x00C9;
constexpr UINT EM_EMPTYUNDOBUFFER = 0x00CD;
constexpr UINT EM_GETFIRSTVISIBLELINE = 0x00CE;
constexpr UINT EM_SETREADONLY = 0x00CF;
// wParam: POINT* that receives the client point of the character lParam.
constexpr UINT EM_POSFROMCHAR = 0x00D6;
// lParam: POINT* of a client point; answers the nearest character.
constexpr UINT EM_CHARFROMPOS = 0x00D7;

// Rich edit messages.
constexpr UINT EM_CANPASTE = WM_USER + 50;
constexpr UINT EM_EXGETSEL = WM_USER + 52;
constexpr UINT EM_EXLIMITTEXT = WM_USER + 53;
constexpr UINT EM_EXLINEFROMCHAR = WM_USER + 54;
constexpr UINT EM_EXSETSEL = WM_USER + 55;
constexpr UINT EM_FINDTEXT = WM_USER + 56;
constexpr UINT EM_GETCHARFORMAT = WM_USER + 58;
constexpr UINT EM_GETEVENTMASK = WM_USER + 59;
constexpr UINT EM_GETPARAFORMAT = WM_USER + 61;
constexpr UINT EM_GETSELTEXT = WM_USER + 62;
constexpr UINT EM_HIDESELECTION = WM_USER + 63;
constexpr UINT EM_SELECTIONTYPE = WM_USER + 66;
constexpr UINT EM_SETBKGNDCOLOR = WM_USER + 67;
constexpr UINT EM_SETCHARFORMAT = WM_USER + 68;
constexpr UINT EM_SETEVENTMASK = WM_USER + 69;
constexpr UINT EM_SETPARAFORMAT = WM_USER + 71;
constexpr UINT EM_GETTEXTRANGE = WM_USER + 75;
constexpr UINT EM_FINDTEXTEX = WM_USER + 79;
constexpr UINT EM_SETUNDOLIMIT = WM_USER + 82;
constexpr UINT EM_REDO = WM_USER + 84;
constexpr UINT EM_CANREDO = WM_USER + 85;
constexpr UINT EM_STOPGROUPTYPING = WM_USER + 88;

// WM_COMMAND notifications (high word of wParam).
constexpr WORD EN_SETFOCUS = 0x0100;
constexpr WORD EN_KILLFOCUS = 0x0200;
constexpr WORD EN_CHANGE = 0x0300;
constexpr WORD EN_UPDATE = 0x0400;
constexpr WORD EN_MAXTEXT = 0x0501;
constexpr WORD EN_HSCROLL = 0x0601;
constexpr WORD EN_VSCROLL = 0x0602;
// WM_NOTIFY notifications (NMHDR code).
constexpr UINT EN_SELCHANGE = 0x0702;
constexpr UINT EN_PROTECTED = 0x0704;

// Event mask (EM_SETEVENTMASK): which notifications the parent gets.
// EN_SETFOCUS and EN_KILLFOCUS always go.
constexpr DWORD ENM_NONE = 0x00000000;
constexpr DWORD ENM_CHANGE = 0x00000001;
constexpr DWORD ENM_UPDATE = 0x00000002;
constexpr DWORD ENM_SCROLL = 0x00000004;
constexpr DWORD ENM_SCROLLEVENTS = 0x00000008;
constexpr DWORD ENM_KEYEVENTS = 0x00010000;
constexpr DWORD ENM_MOUSEEVENTS = 0x00020000;
constexpr DWORD ENM_SELCHANGE = 0x00080000;
constexpr DWORD ENM_PROTECTED = 0x00200000;

// Character format masks and effects.
constexpr DWORD CFM_BOLD = 0x00000001;
constexpr DWORD CFM_ITALIC = 0x00000002;
constexpr DWORD CFM_UNDERLINE = 0x00000004;
constexpr DWORD CFM_STRIKEOUT = 0x00000008;
constexpr DWORD CFM_PROTECTED = 0x00000010;
constexpr DWORD CFM_CHARSET = 0x08000000;
constexpr DWORD CFM_FACE = 0x20000000;
constexpr DWORD CFM_COLOR = 0x40000000;
constexpr DWORD CFM_SIZE = 0x80000000;
constexpr DWORD CFM_EFFECTS = CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT | CFM_PROTECTED | CFM_COLOR;
constexpr DWORD CFE_BOLD = 0x00000001;
constexpr DWORD CFE_ITALIC = 0x00000002;
constexpr DWORD CFE_UNDERLINE = 0x00000004;
constexpr DWORD CFE_STRIKEOUT = 0x00000008;
constexpr DWORD CFE_PROTECTED = 0x00000010;
constexpr DWORD CFE_AUTOCOLOR = 0x40000000;

// EM_SETCHARFORMAT / EM_GETCHARFORMAT targets.
constexpr WPARAM SCF_DEFAULT = 0x0000;
constexpr WPARAM SCF_SELECTION = 0x0001;
constexpr WPARAM SCF_WORD = 0x0002;
constexpr WPARAM SCF_ALL = 0x0004;

// EM_SELECTIONTYPE answers.
constexpr WORD SEL_EMPTY = 0x0000;
constexpr WORD SEL_TEXT = 0x0001;
constexpr WORD SEL_MULTICHAR = 0x0004;

// Paragraph format masks and alignments.
constexpr DWORD PFM_STARTINDENT = 0x00000001;
constexpr DWORD PFM_RIGHTINDENT = 0x00000002;
constexpr DWORD PFM_OFFSET = 0x00000004;
constexpr DWORD PFM_ALIGNMENT = 0x00000008;
constexpr DWORD PFM_OFFSETINDENT = 0x80000000;
constexpr WORD PFA_LEFT = 1;
constexpr WORD PFA_RIGHT = 2;
constexpr WORD PFA_CENTER = 3;

// EM_FINDTEXTEX flags.
constexpr WPARAM FR_DOWN = 0x00000001;
constexpr WPARAM FR_WHOLEWORD = 0x00000002;
constexpr WPARAM FR_MATCHCASE = 0x00000004;

// Clipboard format of text (EM_CANPASTE).
constexpr UINT CF_TEXT = 1;

struct CHARRANGE {
    LONG cpMin;
    LONG cpMax; // -1 with cpMin 0 selects everything
};

// Sizes of points are in twips (1/20 point).
struct CHARFORMATA {
    UINT cbSize;
    DWORD dwMask;
    DWORD dwEffects;
    LONG yHeight;
    LONG yOffset;
    COLORREF crTextColor;
    BYTE bCharSet;
    BYTE bPitchAndFamily;
    CHAR szFaceName[32];
};
static_assert(sizeof(CHARFORMATA) == 60, "callers hand the 60-byte record");
using CHARFORMAT = CHARFORMATA;

struct PARAFORMAT {
    UINT cbSize;
    DWORD dwMask;
    WORD wNumbering;
    WORD wReserved;
    LONG dxStartIndent; // twips
    LONG dxRightIndent;
    LONG dxOffset;
    WORD wAlignment;
    SHORT cTabCount;
    LONG rgxTabs[32];
};

struct FINDTEXTA {
    CHARRANGE chrg;
    LPCSTR lpstrText;
};
struct FINDTEXTEXA {
    CHARRANGE chrg;      // where to look; cpMax -1 means to the end
    LPCSTR lpstrText;
    CHARRANGE chrgText;  // what was found
};
using FINDTEXTEX = FINDTEXTEXA;
struct TEXTRANGEA {
    CHARRANGE chrg;
    LPSTR lpstrText;     // must hold the range and its terminating zero
};

// EN_PROTECTED: an edit of `chrg` touches protected text. The parent
// answers non-zero to refuse it, zero to let it happen.
struct ENPROTECTED {
    NMHDR nmhdr;
    UINT msg;            // the message that would change the text
    WPARAM wParam;
    LPARAM lParam;
    CHARRANGE chrg;
};
struct SELCHANGE {
    NMHDR nmhdr;
    CHARRANGE chrg;
    WORD seltyp;
};
