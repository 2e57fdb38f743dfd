// CCmdTarget: an object that handles commands through its message map.
// Commands, command-UI updates and notifications reach it through OnCmdMsg;
// other messages through DispatchMapMessage. Objects that route commands on
// (frames to their views and documents, the application last) override
// OnCmdMsg and ask the next target when their own map has no handler.
#pragma once

#include "platform/base/api.h"
#include "platform/base/types.h"
#include "platform/framework/msgmap.h"
#include "platform/framework/object.h"

class NUVEX_PLATFORM_API CCmdTarget : public CObject {
    DECLARE_DYNAMIC(CCmdTarget)
public:
    CCmdTarget() = default;

    // Dispatches command `id` with code `code` through this object's map,
    // searching its own class's table first, then its base classes':
    //   CN_COMMAND or a control notification code (pExtra unused): the
    //     handler is called; ON_COMMAND_EX handlers answer for themselves.
    //   CN_UPDATE_COMMAND_UI (pExtra: CCmdUI*): the update handler is
    //     called; FALSE when it called ContinueRouting.
    //   MAKELONG(notification, WM_NOTIFY) (pExtra: AFX_NOTIFY*): the
    //     notification handler is called.
    // With `handlerInfo`, nothing is called: the target and entry that would
    // handle it are filled in. Returns TRUE when handled.
    virtual BOOL OnCmdMsg(UINT id, int code, void* pExtra, AFX_CMDHANDLERINFO* handlerInfo);

    // Dispatches a message through the map's ON_MESSAGE and
    // ON_REGISTERED_MESSAGE entries, and WM_COMMAND (id in the low word of
    // wParam, code in the high word) through OnCmdMsg. Returns TRUE and the
    // handler's answer in `result` (may be null) when handled.
    BOOL DispatchMapMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

    // The entry of this object's map chain for (message, code, id), or null.
    // For registered messages `message` is the registered number.
    const AFX_MSGMAP_ENTRY* FindMessageEntry(UINT message, UINT code, UINT id) const;

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;
};
