// CCmdTarget: an object that handles commands through its message map.
// Commands, command-UI updates and notifications reach it through OnCmdMsg;
// other messages through DispatchMapMessage. Objects that route commands on
// (frames to their views and documents, the application last) override
// OnCmdMsg and ask the next target when their own map has no handler.
#pragma once

#include "platform/base/api.h"
#include "platform/base/types.h"
#include "platform/framework/dispatch.h"
#include "platform/framework/msgmap.h"
#include "platform/framework/object.h"

class NUVEX_PLATFORM_API CCmdTarget : public CObject {
    DECLARE_DYNAMIC(CCmdTarget)
public:
    CCmdTarget();
    ~CCmdTarget() override;
    // The object's IDispatch points back at it, so it is not copied.
    CCmdTarget(const CCmdTarget&) = delete;
    CCmdTarget& operator=(const CCmdTarget&) = delete;

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

    // Automation ---------------------------------------------------------
    // Gives the object an IDispatch of its own, which calls through the
    // dispatch map; without it GetIDispatch answers null.
    void EnableAutomation();
    // The object's IDispatch, with a reference added when `addRef`.
    LPDISPATCH GetIDispatch(BOOL addRef);
    // The command target behind an IDispatch that GetIDispatch gave, else null.
    static CCmdTarget* FromIDispatch(LPDISPATCH dispatch);

    // The object's reference count as its interfaces see it. It starts at
    // 1; when ExternalRelease brings it to 0, OnFinalRelease runs (which
    // deletes the object).
    ULONG ExternalAddRef();
    ULONG ExternalRelease();
    // IUnknown and IDispatch (with automation enabled), then GetInterfaceHook.
    HRESULT ExternalQueryInterface(const void* iid, void** out);
    virtual void OnFinalRelease();

    // Calls the dispatch-map handler of `dispid`: DISP_E_MEMBERNOTFOUND
    // when there is none, DISP_E_BADPARAMCOUNT, DISP_E_PARAMNOTFOUND for
    // named arguments, DISP_E_TYPEMISMATCH (with the argument's slot in
    // `argumentError`) when an argument does not convert.
    HRESULT InvokeDispatch(DISPID dispid, WORD flags, DISPPARAMS* params, VARIANT* result, UINT* argumentError);

    // Calls the event-sink-map handler of (control `idCtrl`, event's
    // dispid). FALSE when there is none or it failed (then the event's
    // m_hResult holds why); else the handler's answer. With `handlerInfo`
    // nothing is called: TRUE and this object as the target when a handler
    // exists.
    virtual BOOL OnEvent(UINT idCtrl, AFX_EVENT* event, AFX_CMDHANDLERINFO* handlerInfo);

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;
    static const AFX_DISPMAP* GetThisDispatchMap();
    virtual const AFX_DISPMAP* GetDispatchMap() const;
    static const AFX_EVENTSINKMAP* GetThisEventSinkMap();
    virtual const AFX_EVENTSINKMAP* GetEventSinkMap() const;
    // Further interfaces the object answers (QueryInterface beyond
    // IUnknown and IDispatch), without a reference added; null for none.
    virtual LPUNKNOWN GetInterfaceHook(const void* iid);

    LONG m_dwRef = 1;

private:
    // The IDispatch that GetIDispatch hands out; it lives inside the object.
    class XDispatch final : public IDispatch {
    public:
        explicit XDispatch(CCmdTarget* owner) : m_owner(owner) {}
        HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
        ULONG STDMETHODCALLTYPE AddRef() override;
        ULONG STDMETHODCALLTYPE Release() override;
        HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
        HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
        HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                                DISPID* ids) override;
        HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params,
                                         VARIANT* result, EXCEPINFO* exception, UINT* argumentError) override;
        CCmdTarget* m_owner;
    };
    XDispatch m_xDispatch{this};
    bool m_automation = false;
};
