// The rich edit control: window class "RichEdit20A", its messages,
// notifications and records. Text is 8-bit; a line break is one character
// in every position ("\r"), whatever form it was given in ("\r\n", "\n",
// "\r"). Lines never wrap: a text row is a paragraph, and the control
// scrolls sideways instead.
#pragma once

#include "platform/base/api.h"
#include "platform/base/types.h"
#include "platform/controls/controls.h"
#include "platform/user/winuser.h"

inline constexpr const char* RICHEDIT_CLASSA = "RichEdit20A";
inline constexpr const char* RICHEDIT_CLASS = RICHEDIT_CLASSA;

// The vertical scroll bar stays shown, disabled, while the text fits (the
// horizontal bar still comes and goes with the widest row). Changing the
// style lays the bar out anew at once.
inline constexpr DWORD ES_DISABLENOSCROLL = 0x00002000;

// The class is a system class of every window system; this answers TRUE
// when it is registered (kept for callers that ask before creating one).
NUVEX_PLATFORM_API BOOL InitRichEditClass();

// The edit styles, the messages shared with the plain edit control and its
// WM_COMMAND notifications come from controls.h.

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
