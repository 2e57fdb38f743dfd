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

class CCmdTarget;
class CCmdUI;
struct NMHDR;

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

// The handler of an entry. The window family adds the signatures of its
// ON_WM_ entries here, with matching AfxSig values.
using AfxHandler = std::variant<std::monostate, AfxCmdHandler, AfxCmdExHandler, AfxCmdRangeHandler,
                                AfxCmdUIHandler, AfxNotifyHandler, AfxNotifyRangeHandler, AfxMessageHandler>;

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
#define ON_MESSAGE(message, memberFxn)                                                             \
    NUVEX_MSGMAP_ENTRY(message, 0, 0, 0, AfxSig_message, nullptr,                                  \
                       NUVEX_MSGMAP_HANDLER(LRESULT (ThisClass::*)(WPARAM, LPARAM), AfxMessageHandler, memberFxn))
// `messageVariable` is a UINT holding a registered message number; it is
// read when messages arrive, so it may be set after the table is built.
#define ON_REGISTERED_MESSAGE(messageVariable, memberFxn)                                          \
    NUVEX_MSGMAP_ENTRY(framework_messages::kRegistered, 0, 0, 0, AfxSig_message, &(messageVariable), \
                       NUVEX_MSGMAP_HANDLER(LRESULT (ThisClass::*)(WPARAM, LPARAM), AfxMessageHandler, memberFxn))
