// Message maps: per-class tables that tie a message, a notification code and
// a range of command ids to a member function of a command target. A class
// declares its table with DECLARE_MESSAGE_MAP and fills it between
// BEGIN_MESSAGE_MAP and END_MESSAGE_MAP; each table links to its base
// class's table, and dispatch searches from the object's own class down to
// CCmdTarget.
//
// Each entry keeps its handler as a member-function pointer of one of the
// typed signatures below. The entry macros check the handler's signature at
// compile time and convert it to the same signature on CCmdTarget, so
// calling it never goes through a pointer of another type.
#pragma once

#include <variant>

#include "platform/base/api.h"
#include "platform/base/types.h"
#include "platform/framework/geometry.h"

class CCmdTarget;
class CCmdUI;
class CDC;
class CMenu;
class CScrollBar;
class CWnd;
struct CREATESTRUCTA;
struct DRAWITEMSTRUCT;
struct HELPINFO;
struct MEASUREITEMSTRUCT;
struct MINMAXINFO;
struct NCCALCSIZE_PARAMS;
struct NMHDR;
struct WINDOWPOS;

// Message numbers the tables use; they are the window system's numbers.
namespace framework_messages {
constexpr UINT kNotify = 0x004E;
constexpr UINT kCommand = 0x0111;
// The table's message slot for an ON_REGISTERED_MESSAGE entry, whose number
// is read from a variable when messages arrive.
constexpr UINT kRegistered = 0xC002;
} // namespace framework_messages

// Codes that OnCmdMsg receives besides the controls' notification codes.
constexpr int CN_COMMAND = 0;
constexpr int CN_UPDATE_COMMAND_UI = -1;

// What a handler's arguments are made of.
enum AfxSig : UINT {
    AfxSig_end = 0,       // ends a table
    AfxSig_cmd,           // void ()                       ON_COMMAND, ON_CONTROL
    AfxSig_cmdEx,         // BOOL (UINT id)                ON_COMMAND_EX; FALSE routes on
    AfxSig_cmdRange,      // void (UINT id)                ON_COMMAND_RANGE
    AfxSig_cmdUI,         // void (CCmdUI*)                ON_UPDATE_COMMAND_UI[_RANGE]
    AfxSig_notify,        // void (NMHDR*, LRESULT*)       ON_NOTIFY
    AfxSig_notifyRange,   // void (UINT id, NMHDR*, LRESULT*) ON_NOTIFY_RANGE
    AfxSig_message,       // LRESULT (WPARAM, LPARAM)      ON_MESSAGE, ON_REGISTERED_MESSAGE
    AfxSig_notifyEx,      // BOOL (NMHDR*, LRESULT*)       ON_NOTIFY_REFLECT_EX; FALSE routes on
    AfxSig_notifyExRange, // BOOL (UINT id, NMHDR*, LRESULT*) ON_NOTIFY_EX[_RANGE]; FALSE routes on
    // Window message signatures (the ON_WM_ entries) follow from here.
    AfxSig_windowFirst = 100,
};

using AfxCmdHandler = void (CCmdTarget::*)();
using AfxCmdExHandler = BOOL (CCmdTarget::*)(UINT);
using AfxCmdRangeHandler = void (CCmdTarget::*)(UINT);
using AfxCmdUIHandler = void (CCmdTarget::*)(CCmdUI*);
using AfxNotifyHandler = void (CCmdTarget::*)(NMHDR*, LRESULT*);
using AfxNotifyRangeHandler = void (CCmdTarget::*)(UINT, NMHDR*, LRESULT*);
using AfxMessageHandler = LRESULT (CCmdTarget::*)(WPARAM, LPARAM);
using AfxNotifyExHandler = BOOL (CCmdTarget::*)(NMHDR*, LRESULT*);
using AfxNotifyExRangeHandler = BOOL (CCmdTarget::*)(UINT, NMHDR*, LRESULT*);

// The member-function types of the window-message entries (ON_WM_ and the
// reflected forms). BOOL is int and DWORD is UINT, so some names are the same
// type (BoolCreate and IntCreate, MouseActivate and SetCursor, ActivateApp
// and ShowWindow) and the variant lists each type once; the entry's AfxSig
// says how the message's parameters are cracked into its arguments.
namespace afx_window_handlers {
using BoolVoid = BOOL (CCmdTarget::*)();
using IntCreate = int (CCmdTarget::*)(CREATESTRUCTA*);
using BoolCreate = BOOL (CCmdTarget::*)(CREATESTRUCTA*);
using SizeHandler = void (CCmdTarget::*)(UINT, int, int);
using MoveHandler = void (CCmdTarget::*)(int, int);
using BoolDC = BOOL (CCmdTarget::*)(CDC*);
using FlagsPoint = void (CCmdTarget::*)(UINT, CPoint);
using HitTest = LRESULT (CCmdTarget::*)(CPoint);
using Wheel = BOOL (CCmdTarget::*)(UINT, short, CPoint);
using Key = void (CCmdTarget::*)(UINT, UINT, UINT);
using Timer = void (CCmdTarget::*)(UINT_PTR);
using Window = void (CCmdTarget::*)(CWnd*);
using SetCursor = BOOL (CCmdTarget::*)(CWnd*, UINT, UINT);
using MouseActivate = int (CCmdTarget::*)(CWnd*, UINT, UINT);
using Activate = void (CCmdTarget::*)(UINT, CWnd*, BOOL);
using ActivateApp = void (CCmdTarget::*)(BOOL, DWORD);
using InitMenuPopup = void (CCmdTarget::*)(CMenu*, UINT, BOOL);
using InitMenu = void (CCmdTarget::*)(CMenu*);
using MenuSelect = void (CCmdTarget::*)(UINT, UINT, HMENU);
using MenuChar = LRESULT (CCmdTarget::*)(UINT, UINT, CMenu*);
using DrawItem = void (CCmdTarget::*)(int, DRAWITEMSTRUCT*);
using MeasureItem = void (CCmdTarget::*)(int, MEASUREITEMSTRUCT*);
using Scroll = void (CCmdTarget::*)(UINT, UINT, CScrollBar*);
using CtlColor = HBRUSH (CCmdTarget::*)(CDC*, CWnd*, UINT);
using ShowWindow = void (CCmdTarget::*)(BOOL, UINT);
using WindowPos = void (CCmdTarget::*)(WINDOWPOS*);
using MinMax = void (CCmdTarget::*)(MINMAXINFO*);
using ContextMenu = void (CCmdTarget::*)(CWnd*, CPoint);
using HelpInfo = BOOL (CCmdTarget::*)(HELPINFO*);
using SettingChange = void (CCmdTarget::*)(UINT, LPCSTR);
using Bool = void (CCmdTarget::*)(BOOL);
using BoolBool = BOOL (CCmdTarget::*)(BOOL);
using UintVoid = UINT (CCmdTarget::*)();
using UintLparam = void (CCmdTarget::*)(UINT, LPARAM);
using NcCalcSize = void (CCmdTarget::*)(BOOL, NCCALCSIZE_PARAMS*);
using MdiActivate = void (CCmdTarget::*)(BOOL, CWnd*, CWnd*);
using CtlColorReflect = HBRUSH (CCmdTarget::*)(CDC*, UINT);
using DrawItemReflect = void (CCmdTarget::*)(DRAWITEMSTRUCT*);
using MeasureItemReflect = void (CCmdTarget::*)(MEASUREITEMSTRUCT*);
using ScrollReflect = void (CCmdTarget::*)(UINT, UINT);
} // namespace afx_window_handlers

// The handler of an entry.
using AfxHandler = std::variant<
    std::monostate, AfxCmdHandler, AfxCmdExHandler, AfxCmdRangeHandler, AfxCmdUIHandler, AfxNotifyHandler,
    AfxNotifyRangeHandler, AfxMessageHandler, AfxNotifyExHandler, AfxNotifyExRangeHandler,
    afx_window_handlers::BoolVoid, afx_window_handlers::IntCreate,
    afx_window_handlers::SizeHandler, afx_window_handlers::MoveHandler, afx_window_handlers::BoolDC,
    afx_window_handlers::FlagsPoint, afx_window_handlers::HitTest, afx_window_handlers::Wheel,
    afx_window_handlers::Key, afx_window_handlers::Timer, afx_window_handlers::Window,
    afx_window_handlers::SetCursor, afx_window_handlers::Activate,
    afx_window_handlers::InitMenuPopup, afx_window_handlers::InitMenu,
    afx_window_handlers::MenuSelect, afx_window_handlers::MenuChar, afx_window_handlers::DrawItem,
    afx_window_handlers::MeasureItem, afx_window_handlers::Scroll, afx_window_handlers::CtlColor,
    afx_window_handlers::ShowWindow, afx_window_handlers::WindowPos, afx_window_handlers::MinMax,
    afx_window_handlers::ContextMenu, afx_window_handlers::HelpInfo, afx_window_handlers::SettingChange,
    afx_window_handlers::Bool, afx_window_handlers::BoolBool, afx_window_handlers::UintVoid,
    afx_window_handlers::UintLparam, afx_window_handlers::NcCalcSize, afx_window_handlers::MdiActivate,
    afx_window_handlers::CtlColorReflect, afx_window_handlers::DrawItemReflect,
    afx_window_handlers::MeasureItemReflect, afx_window_handlers::ScrollReflect>;

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;             // framework_messages::kCommand, kNotify, kRegistered or a message
    UINT nCode;                // notification code (16 bits for WM_NOTIFY) or CN_ code
    UINT nID;                  // first control or command id
    UINT nLastID;              // last id of the range (nID for one id)
    AfxSig nSig;
    const UINT* pRegistered;   // ON_REGISTERED_MESSAGE: the variable holding the number
    AfxHandler handler;
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();  // null for CCmdTarget's own table
    const AFX_MSGMAP_ENTRY* lpEntries;     // ends with an AfxSig_end entry
};

// What OnCmdMsg fills in, instead of calling, when asked for the handler.
struct AFX_CMDHANDLERINFO {
    CCmdTarget* pTarget;
    const AFX_MSGMAP_ENTRY* pEntry;
};

// The extra argument of OnCmdMsg for WM_NOTIFY codes
// (code = MAKELONG(notification, WM_NOTIFY)).
struct AFX_NOTIFY {
    LRESULT* pResult;
    NMHDR* pNMHDR;
};

// In the class body. It leaves the access at `protected`.
#define DECLARE_MESSAGE_MAP()                           \
protected:                                              \
    static const AFX_MSGMAP* GetThisMessageMap();       \
    const AFX_MSGMAP* GetMessageMap() const override;

// In one source file, around the table's entries.
#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                       \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
    const AFX_MSGMAP* theClass::GetThisMessageMap()                                  \
    {                                                                                \
        using ThisClass = theClass;                                                  \
        using TheBaseClass = baseClass;                                              \
        static const AFX_MSGMAP_ENTRY messageEntries[] = {

#define END_MESSAGE_MAP()                                                            \
    {0, 0, 0, 0, AfxSig_end, nullptr, AfxHandler()}                                  \
    }                                                                                \
    ;                                                                                \
    static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &messageEntries[0]}; \
    return &messageMap;                                                              \
    }

// The handler `memberFxn` of ThisClass, checked against `Sig` (a signature
// on ThisClass) and converted to `BaseSig` on CCmdTarget.
#define NUVEX_MSGMAP_HANDLER(Sig, BaseSig, memberFxn) \
    AfxHandler(static_cast<BaseSig>(static_cast<Sig>(&ThisClass::memberFxn)))

#define NUVEX_MSGMAP_ENTRY(message, code, id, lastId, sig, registered, handler) \
    {static_cast<UINT>(message), static_cast<UINT>(code), static_cast<UINT>(id), static_cast<UINT>(lastId), sig, \
     registered, handler},

#define ON_COMMAND(id, memberFxn)                                                                  \
    NUVEX_MSGMAP_ENTRY(framework_messages::kCommand, CN_COMMAND, id, id, AfxSig_cmd, nullptr,      \
                       NUVEX_MSGMAP_HANDLER(void (ThisClass::*)(), AfxCmdHandler, memberFxn))
#define ON_COMMAND_EX(id, memberFxn)                                                               \
    NUVEX_MSGMAP_ENTRY(framework_messages::kCommand, CN_COMMAND, id, id, AfxSig_cmdEx, nullptr,    \
                       NUVEX_MSGMAP_HANDLER(BOOL (ThisClass::*)(UINT), AfxCmdExHandler, memberFxn))
#define ON_COMMAND_EX_RANGE(id, lastId, memberFxn)                                                 \
    NUVEX_MSGMAP_ENTRY(framework_messages::kCommand, CN_COMMAND, id, lastId, AfxSig_cmdEx, nullptr, \
                       NUVEX_MSGMAP_HANDLER(BOOL (ThisClass::*)(UINT), AfxCmdExHandler, memberFxn))
#define ON_COMMAND_RANGE(id, lastId, memberFxn)                                                    \
    NUVEX_MSGMAP_ENTRY(framework_messages::kCommand, CN_COMMAND, id, lastId, AfxSig_cmdRange, nullptr, \
                       NUVEX_MSGMAP_HANDLER(void (ThisClass::*)(UINT), AfxCmdRangeHandler, memberFxn))
#define ON_UPDATE_COMMAND_UI(id, memberFxn)                                                        \
    NUVEX_MSGMAP_ENTRY(framework_messages::kCommand, CN_UPDATE_COMMAND_UI, id, id, AfxSig_cmdUI, nullptr, \
                       NUVEX_MSGMAP_HANDLER(void (ThisClass::*)(CCmdUI*), AfxCmdUIHandler, memberFxn))
#define ON_UPDATE_COMMAND_UI_RANGE(id, lastId, memberFxn)                                          \
    NUVEX_MSGMAP_ENTRY(framework_messages::kCommand, CN_UPDATE_COMMAND_UI, id, lastId, AfxSig_cmdUI, nullptr, \
                       NUVEX_MSGMAP_HANDLER(void (ThisClass::*)(CCmdUI*), AfxCmdUIHandler, memberFxn))
// A control's WM_COMMAND notification `code` from control `id`.
#define ON_CONTROL(code, id, memberFxn)                                                            \
    NUVEX_MSGMAP_ENTRY(framework_messages::kCommand, code, id, id, AfxSig_cmd, nullptr,            \
                       NUVEX_MSGMAP_HANDLER(void (ThisClass::*)(), AfxCmdHandler, memberFxn))
#define ON_NOTIFY(code, id, memberFxn)                                                             \
    NUVEX_MSGMAP_ENTRY(framework_messages::kNotify, static_cast<WORD>(code), id, id, AfxSig_notify, nullptr, \
                       NUVEX_MSGMAP_HANDLER(void (ThisClass::*)(NMHDR*, LRESULT*), AfxNotifyHandler, memberFxn))
#define ON_NOTIFY_RANGE(code, id, lastId, memberFxn)                                               \
    NUVEX_MSGMAP_ENTRY(framework_messages::kNotify, static_cast<WORD>(code), id, lastId, AfxSig_notifyRange, \
                       nullptr,                                                                    \
                       NUVEX_MSGMAP_HANDLER(void (ThisClass::*)(UINT, NMHDR*, LRESULT*), AfxNotifyRangeHandler, \
                                            memberFxn))
// The _EX forms answer whether they handled the notification; FALSE lets
// the next command target see it.
#define ON_NOTIFY_EX(code, id, memberFxn)                                                          \
    NUVEX_MSGMAP_ENTRY(framework_messages::kNotify, static_cast<WORD>(code), id, id, AfxSig_notifyExRange, \
                       nullptr,                                                                    \
                       NUVEX_MSGMAP_HANDLER(BOOL (ThisClass::*)(UINT, NMHDR*, LRESULT*), AfxNotifyExRangeHandler, \
                                            memberFxn))
#define ON_NOTIFY_EX_RANGE(code, id, lastId, memberFxn)                                            \
    NUVEX_MSGMAP_ENTRY(framework_messages::kNotify, static_cast<WORD>(code), id, lastId, AfxSig_notifyExRange, \
                       nullptr,                                                                    \
                       NUVEX_MSGMAP_HANDLER(BOOL (ThisClass::*)(UINT, NMHDR*, LRESULT*), AfxNotifyExRangeHandler, \
                                            memberFxn))
#define ON_MESSAGE(message, memberFxn)                                                             \
    NUVEX_MSGMAP_ENTRY(message, 0, 0, 0, AfxSig_message, nullptr,                                  \
                       NUVEX_MSGMAP_HANDLER(LRESULT (ThisClass::*)(WPARAM, LPARAM), AfxMessageHandler, memberFxn))
// `messageVariable` is a UINT holding a registered message number; it is
// read when messages arrive, so it may be set after the table is built.
#define ON_REGISTERED_MESSAGE(messageVariable, memberFxn)                                          \
    NUVEX_MSGMAP_ENTRY(framework_messages::kRegistered, 0, 0, 0, AfxSig_message, &(messageVariable), \
                       NUVEX_MSGMAP_HANDLER(LRESULT (ThisClass::*)(WPARAM, LPARAM), AfxMessageHandler, memberFxn))
