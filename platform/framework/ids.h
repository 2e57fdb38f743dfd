// The framework's standard command ids, control-bar ids and string ids.
// Programs use the same numbers in their menus, accelerators and tool-bar
// resources, so the framework's handlers answer them.
#pragma once

#include "platform/base/api.h"
#include "platform/base/types.h"

class CString;

// File commands.
constexpr UINT ID_FILE_NEW = 0xE100;           // 57600
constexpr UINT ID_FILE_OPEN = 0xE101;          // 57601
constexpr UINT ID_FILE_CLOSE = 0xE102;         // 57602
constexpr UINT ID_FILE_SAVE = 0xE103;          // 57603
constexpr UINT ID_FILE_SAVE_AS = 0xE104;       // 57604
constexpr UINT ID_FILE_PAGE_SETUP = 0xE105;    // 57605
constexpr UINT ID_FILE_PRINT_SETUP = 0xE106;   // 57606
constexpr UINT ID_FILE_PRINT = 0xE107;         // 57607
constexpr UINT ID_FILE_PRINT_DIRECT = 0xE108;  // 57608
constexpr UINT ID_FILE_PRINT_PREVIEW = 0xE109; // 57609
constexpr UINT ID_FILE_UPDATE = 0xE10A;        // 57610
constexpr UINT ID_FILE_SAVE_COPY_AS = 0xE10B;  // 57611
constexpr UINT ID_FILE_SEND_MAIL = 0xE10C;     // 57612
constexpr UINT ID_FILE_MRU_FIRST = 0xE110;     // 57616
constexpr UINT ID_FILE_MRU_FILE1 = 0xE110;
constexpr UINT ID_FILE_MRU_FILE2 = 0xE111;
constexpr UINT ID_FILE_MRU_FILE3 = 0xE112;
constexpr UINT ID_FILE_MRU_FILE4 = 0xE113;
constexpr UINT ID_FILE_MRU_LAST = 0xE11F;      // 57631

// Edit commands.
constexpr UINT ID_EDIT_CLEAR = 0xE120;         // 57632
constexpr UINT ID_EDIT_CLEAR_ALL = 0xE121;
constexpr UINT ID_EDIT_COPY = 0xE122;          // 57634
constexpr UINT ID_EDIT_CUT = 0xE123;           // 57635
constexpr UINT ID_EDIT_FIND = 0xE124;
constexpr UINT ID_EDIT_PASTE = 0xE125;         // 57637
constexpr UINT ID_EDIT_PASTE_LINK = 0xE126;
constexpr UINT ID_EDIT_PASTE_SPECIAL = 0xE127;
constexpr UINT ID_EDIT_REPEAT = 0xE128;
constexpr UINT ID_EDIT_REPLACE = 0xE129;
constexpr UINT ID_EDIT_SELECT_ALL = 0xE12A;    // 57642
constexpr UINT ID_EDIT_UNDO = 0xE12B;          // 57643
constexpr UINT ID_EDIT_REDO = 0xE12C;          // 57644

// Window commands.
constexpr UINT ID_WINDOW_NEW = 0xE130;         // 57648
constexpr UINT ID_WINDOW_ARRANGE = 0xE131;
constexpr UINT ID_WINDOW_CASCADE = 0xE132;
constexpr UINT ID_WINDOW_TILE_HORZ = 0xE133;
constexpr UINT ID_WINDOW_TILE_VERT = 0xE134;
constexpr UINT ID_WINDOW_SPLIT = 0xE135;

// Application and help commands.
constexpr UINT ID_APP_ABOUT = 0xE140;          // 57664
constexpr UINT ID_APP_EXIT = 0xE141;           // 57665
constexpr UINT ID_HELP_INDEX = 0xE142;
constexpr UINT ID_HELP_FINDER = 0xE143;
constexpr UINT ID_HELP_USING = 0xE144;
constexpr UINT ID_CONTEXT_HELP = 0xE145;       // 57669
constexpr UINT ID_HELP = 0xE146;               // 57670
constexpr UINT ID_DEFAULT_HELP = 0xE147;
constexpr UINT ID_NEXT_PANE = 0xE150;
constexpr UINT ID_PREV_PANE = 0xE151;

// Control bars and their view commands.
constexpr UINT AFX_IDW_CONTROLBAR_FIRST = 0xE800;  // 59392
constexpr UINT AFX_IDW_CONTROLBAR_LAST = 0xE8FF;
constexpr UINT AFX_IDW_TOOLBAR = 0xE800;           // 59392
constexpr UINT AFX_IDW_STATUS_BAR = 0xE801;        // 59393
constexpr UINT AFX_IDW_PREVIEW_BAR = 0xE802;
constexpr UINT AFX_IDW_RESIZE_BAR = 0xE803;        // 59395
constexpr UINT AFX_IDW_REBAR = 0xE804;
constexpr UINT AFX_IDW_DIALOGBAR = 0xE805;
constexpr UINT AFX_IDW_DOCKBAR_TOP = 0xE81B;       // 59419
constexpr UINT AFX_IDW_DOCKBAR_LEFT = 0xE81C;
constexpr UINT AFX_IDW_DOCKBAR_RIGHT = 0xE81D;
constexpr UINT AFX_IDW_DOCKBAR_BOTTOM = 0xE81E;
constexpr UINT AFX_IDW_DOCKBAR_FLOAT = 0xE81F;     // 59423
constexpr UINT ID_VIEW_TOOLBAR = 0xE800;
constexpr UINT ID_VIEW_STATUS_BAR = 0xE801;
constexpr UINT ID_VIEW_REBAR = 0xE804;
constexpr UINT ID_VIEW_AUTOARRANGE = 0xE805;
constexpr UINT ID_INDICATOR_EXT = 0xE700;
constexpr UINT ID_INDICATOR_CAPS = 0xE701;
constexpr UINT ID_INDICATOR_NUM = 0xE702;
constexpr UINT ID_INDICATOR_SCRL = 0xE703;
constexpr UINT ID_INDICATOR_OVR = 0xE704;
constexpr UINT ID_INDICATOR_REC = 0xE705;
constexpr UINT ID_SEPARATOR = 0;

// Windows inside frames.
constexpr UINT AFX_IDW_PANE_FIRST = 0xE900;        // 59648: the view
constexpr UINT AFX_IDW_PANE_LAST = 0xE9FF;
constexpr UINT AFX_IDW_HSCROLL_FIRST = 0xEA00;
constexpr UINT AFX_IDW_VSCROLL_FIRST = 0xEA10;
constexpr UINT AFX_IDW_SIZE_BOX = 0xEA20;
constexpr UINT AFX_IDW_PANE_SAVE = 0xEA21;
// The first id the MDI client gives to its children's Window menu items.
constexpr UINT AFX_IDM_FIRST_MDICHILD = 0xFF00;

// OLE server commands and the in-place frame's resize bar.
constexpr UINT ID_OLE_INSERT_NEW = 0xE200;
constexpr UINT ID_OLE_EDIT_LINKS = 0xE201;
constexpr UINT ID_OLE_VERB_FIRST = 0xE210;

// Application-level id: shown on a frame's system menu for tool windows.
constexpr UINT AFX_IDS_APP_TITLE = 0xE000;         // 57344
constexpr UINT AFX_IDS_IDLEMESSAGE = 0xE001;       // 57345 "Ready"
constexpr UINT AFX_IDS_HELPMODEMESSAGE = 0xE002;
constexpr UINT AFX_IDS_APP_TITLE_EMBEDDING = 0xE003;
constexpr UINT AFX_IDS_COMPANY_NAME = 0xE004;
constexpr UINT AFX_IDS_OBJ_TITLE_INPLACE = 0xE005;

// Standard strings (prompts and messages). 61440.. hold the file dialog
// titles, 61700.. the document and validation messages.
constexpr UINT AFX_IDS_OPENFILE = 0xF000;          // 61440 "Open"
constexpr UINT AFX_IDS_SAVEFILE = 0xF001;          // 61441 "Save As"
constexpr UINT AFX_IDS_ALLFILTER = 0xF002;         // 61442 "All Files (*.*)"
constexpr UINT AFX_IDS_UNTITLED = 0xF003;          // 61443 "Untitled"
constexpr UINT AFX_IDS_SAVEFILECOPY = 0xF004;      // 61444 "Save As"
constexpr UINT AFX_IDS_PREVIEW_CLOSE = 0xF005;
constexpr UINT AFX_IDS_UNNAMED_FILE = 0xF006;
constexpr UINT AFX_IDS_HIDE = 0xF011;
constexpr UINT AFX_IDP_NO_ERROR_AVAILABLE = 0xF020;
constexpr UINT AFX_IDS_NOT_SUPPORTED_EXCEPTION = 0xF021;
constexpr UINT AFX_IDP_INVALID_FILENAME = 0xF100;  // 61696
constexpr UINT AFX_IDP_FAILED_TO_OPEN_DOC = 0xF101; // 61697
constexpr UINT AFX_IDP_FAILED_TO_SAVE_DOC = 0xF102; // 61698
constexpr UINT AFX_IDP_ASK_TO_SAVE = 0xF103;       // 61699
constexpr UINT AFX_IDP_FAILED_TO_CREATE_DOC = 0xF104;
constexpr UINT AFX_IDP_FILE_TOO_LARGE = 0xF105;
constexpr UINT AFX_IDP_FAILED_TO_START_PRINT = 0xF106;
constexpr UINT AFX_IDP_FAILED_TO_LAUNCH_HELP = 0xF107;
constexpr UINT AFX_IDP_INTERNAL_FAILURE = 0xF108;
constexpr UINT AFX_IDP_COMMAND_FAILURE = 0xF109;
constexpr UINT AFX_IDP_FAILED_MEMORY_ALLOC = 0xF10A;
constexpr UINT AFX_IDP_UNREG_DONE = 0xF10B;
constexpr UINT AFX_IDP_UNREG_FAILURE = 0xF10C;
constexpr UINT AFX_IDP_DLL_LOAD_FAILED = 0xF10D;
constexpr UINT AFX_IDP_DLL_BAD_VERSION = 0xF10E;
constexpr UINT AFX_IDP_PARSE_INT = 0xF110;         // 61712 "Please enter an integer."
constexpr UINT AFX_IDP_PARSE_REAL = 0xF111;        // 61713 "Please enter a number."
constexpr UINT AFX_IDP_PARSE_INT_RANGE = 0xF112;   // 61714 "Please enter an integer between %1 and %2."
constexpr UINT AFX_IDP_PARSE_REAL_RANGE = 0xF113;  // 61715 "Please enter a number between %1 and %2."
constexpr UINT AFX_IDP_PARSE_STRING_SIZE = 0xF114; // 61716 "Please enter no more than %1 characters."
constexpr UINT AFX_IDP_PARSE_RADIO_BUTTON = 0xF115;
constexpr UINT AFX_IDP_PARSE_BYTE = 0xF116;
constexpr UINT AFX_IDP_PARSE_UINT = 0xF117;
constexpr UINT AFX_IDP_PARSE_DATETIME = 0xF118;
constexpr UINT AFX_IDP_PARSE_CURRENCY = 0xF119;
constexpr UINT AFX_IDP_FAILED_INVALID_FORMAT = 0xF120;
constexpr UINT AFX_IDP_FAILED_INVALID_PATH = 0xF121;
constexpr UINT AFX_IDP_FAILED_DISK_FULL = 0xF122;
constexpr UINT AFX_IDP_FAILED_ACCESS_READ = 0xF123;
constexpr UINT AFX_IDP_FAILED_ACCESS_WRITE = 0xF124;
constexpr UINT AFX_IDP_FAILED_IO_ERROR_READ = 0xF125;
constexpr UINT AFX_IDP_FAILED_IO_ERROR_WRITE = 0xF126;
constexpr UINT AFX_IDS_SCSIZE = 0xEF00;            // 61184: system menu item names
constexpr UINT AFX_IDS_SCCLOSE = 0xEF06;           // 61190
constexpr UINT AFX_IDS_MDICHILD = 0xEF1F;          // 61215 "Activate this window"

// Document template string parts (CDocTemplate::GetDocString).
// The text of a document template's string resource is
// "window title\ndocument name\nfile new name\nfilter name\nfilter
// extension\nregistry file type id\nregistry file type name".

// The framework's standard text of string `id`, or null when it has none.
// A program's own string table entry with the same id takes precedence
// (AfxLoadString).
NUVEX_PLATFORM_API const char* AfxStandardString(UINT id);
// The running program's string `id`, else the framework's standard text;
// FALSE (and an empty text) when neither has it.
NUVEX_PLATFORM_API BOOL AfxLoadString(UINT id, CString& text);
