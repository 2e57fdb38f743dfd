// CCmdTarget: dispatch through the message-map chain.
#include "platform/framework/cmdtarget.h"

#include "platform/framework/cmdui.h"

namespace {

bool InRange(const AFX_MSGMAP_ENTRY& entry, UINT id) { return id >= entry.nID && id <= entry.nLastID; }

// Whether `entry` handles `message`: registered entries by the number their
// variable holds now.
bool SameMessage(const AFX_MSGMAP_ENTRY& entry, UINT message)
{
    if (entry.pRegistered != nullptr) {
        return *entry.pRegistered != 0 && *entry.pRegistered == message;
    }
    return entry.nMessage == message;
}

} // namespace

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap()
{
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, AfxSig_end, nullptr, AfxHandler()}};
    static const AFX_MSGMAP map = {nullptr, &entries[0]};
    return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const { return GetThisMessageMap(); }

const AFX_MSGMAP_ENTRY* CCmdTarget::FindMessageEntry(UINT message, UINT code, UINT id) const
{
    for (const AFX_MSGMAP* map = GetMessageMap(); map != nullptr;
         map = map->pfnGetBaseMap != nullptr ? map->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* entry = map->lpEntries; entry->nSig != AfxSig_end; ++entry) {
            if (SameMessage(*entry, message) && entry->nCode == code && InRange(*entry, id)) {
                return entry;
            }
        }
    }
    return nullptr;
}

BOOL CCmdTarget::OnCmdMsg(UINT id, int code, void* pExtra, AFX_CMDHANDLERINFO* handlerInfo)
{
    // 1. Which table slot the code belongs to: notifications carry WM_NOTIFY
    //    in their high word, everything else is a WM_COMMAND code.
    UINT message = framework_messages::kCommand;
    UINT entryCode = static_cast<UINT>(code);
    if (HIWORD(static_cast<UINT>(code)) == framework_messages::kNotify) {
        message = framework_messages::kNotify;
        entryCode = LOWORD(static_cast<UINT>(code));
    }
    // 2. The first entry of the chain, own class first.
    const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(message, entryCode, id);
    if (entry == nullptr) {
        return FALSE;
    }
    // 3. Asked only who would handle it.
    if (handlerInfo != nullptr) {
        handlerInfo->pTarget = this;
        handlerInfo->pEntry = entry;
        return TRUE;
    }
    // 4. Call the handler with the arguments of its signature.
    const AfxHandler& handler = entry->handler;
    if (const auto* update = std::get_if<AfxCmdUIHandler>(&handler)) {
        auto* cmdUI = static_cast<CCmdUI*>(pExtra);
        if (cmdUI == nullptr) {
            return FALSE;
        }
        cmdUI->m_bContinueRouting = FALSE;
        (this->**update)(cmdUI);
        const BOOL handled = cmdUI->m_bContinueRouting ? FALSE : TRUE;
        cmdUI->m_bContinueRouting = FALSE;
        return handled;
    }
    if (const auto* command = std::get_if<AfxCmdHandler>(&handler)) {
        (this->**command)();
        return TRUE;
    }
    if (const auto* commandEx = std::get_if<AfxCmdExHandler>(&handler)) {
        return (this->**commandEx)(id) ? TRUE : FALSE;
    }
    if (const auto* range = std::get_if<AfxCmdRangeHandler>(&handler)) {
        (this->**range)(id);
        return TRUE;
    }
    auto* notify = static_cast<AFX_NOTIFY*>(pExtra);
    if (const auto* notifyHandler = std::get_if<AfxNotifyHandler>(&handler)) {
        if (notify == nullptr) {
            return FALSE;
        }
        (this->**notifyHandler)(notify->pNMHDR, notify->pResult);
        return TRUE;
    }
    if (const auto* notifyEx = std::get_if<AfxNotifyExRangeHandler>(&handler)) {
        if (notify == nullptr) {
            return FALSE;
        }
        return (this->**notifyEx)(id, notify->pNMHDR, notify->pResult) ? TRUE : FALSE;
    }
    if (const auto* notifyRange = std::get_if<AfxNotifyRangeHandler>(&handler)) {
        if (notify == nullptr) {
            return FALSE;
        }
        (this->**notifyRange)(id, notify->pNMHDR, notify->pResult);
        return TRUE;
    }
    return FALSE;
}

BOOL CCmdTarget::DispatchMapMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (message == framework_messages::kCommand) {
        const BOOL handled = OnCmdMsg(LOWORD(wParam), static_cast<int>(static_cast<short>(HIWORD(wParam))),
                                      nullptr, nullptr);
        if (handled && result != nullptr) {
            *result = 0;
        }
        return handled;
    }
    const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(message, 0, 0);
    if (entry == nullptr) {
        return FALSE;
    }
    const auto* handler = std::get_if<AfxMessageHandler>(&entry->handler);
    if (handler == nullptr) {
        return FALSE;
    }
    const LRESULT answer = (this->**handler)(wParam, lParam);
    if (result != nullptr) {
        *result = answer;
    }
    return TRUE;
}
