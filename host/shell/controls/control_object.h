// CControlObject: what every control's scripting object shares: the ten
// IControlBase slots, the pointer to the control window it forwards to, and
// its reference count.
//
// A scripting object lives exactly as long as its owner: the control it is
// embedded in, or the control panel that made it. AddRef and Release only
// count (never below 0) and never free the object, so an add-in's
// unbalanced Release cannot free memory a control or panel owns. When the
// control window goes away before the object, the owner detaches it and
// every forwarding slot answers E_FAIL from then on.
#pragma once

#include <initializer_list>

#include "icontrols.h"
#include "platform/framework/wnd.h"

// The document binding of a toolbar control, which answers slots 3, 8 and 9
// for its embedded scripting object.
class IControlBinding {
public:
    virtual HRESULT GetCommandObject(IHostDocument* document, IAddinCommand** handler) = 0;
    virtual HRESULT SetDocument(IHostDocument* document) = 0;
    virtual HRESULT GetDocument(IHostDocument** document) = 0;

protected:
    ~IControlBinding() = default;
};

// What slots 3, 8 and 9 answer and which identifiers QueryInterface knows.
enum class ControlObjectKind {
    // Button, combo box, edit, slider, spin, static: the binding's answers
    // (E_FAIL, with nulls, without one); IUnknown, IControlBase and its own.
    Bindable,
    // List box: E_NOTIMPL, E_FAIL, E_FAIL; IUnknown, IControlBase and its own.
    ListBox,
    // Tree, rich edit: E_NOTIMPL for all three; IUnknown and its own only.
    Pane,
};

// Copies text with its terminating zero into a caller's buffer, cut to
// kControlTextBufferSize bytes; answers the characters written.
int CopyControlText(const char* text, size_t length, char* buffer);
// The window text of `window` into a caller's buffer, cut as above.
int CopyWindowText(const CWnd& window, char* buffer);

template <class Interface, class Control, ControlObjectKind Kind>
class CControlObject : public Interface {
public:
    CControlObject(Control* control, const IID& ownIid, IControlBinding* binding = nullptr)
        : m_documentBound(binding != nullptr ? 1 : 0), m_control(control), m_ownIid(ownIid), m_binding(binding)
    {
    }
    CControlObject(const CControlObject&) = delete;
    CControlObject& operator=(const CControlObject&) = delete;

    Control* GetControl() const { return m_control; }
    // The control window is gone (or is going): the object stops driving it.
    void Detach() { m_control = nullptr; }
    BOOL IsDocumentBound() const { return m_documentBound; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (out == nullptr) {
            return E_POINTER;
        }
        *out = nullptr;
        const bool known = iid == IID_IUnknown || iid == m_ownIid ||
                           (Kind != ControlObjectKind::Pane && iid == IID_IControlBase);
        if (!known) {
            return E_NOINTERFACE;
        }
        *out = static_cast<Interface*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_references; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        if (m_references > 0) {
            --m_references;
        }
        return m_references;
    }

    HRESULT STDMETHODCALLTYPE GetCommandObject(IHostDocument* document, IAddinCommand** handler) override
    {
        if (Kind != ControlObjectKind::Bindable) {
            return E_NOTIMPL;
        }
        if (m_binding == nullptr || m_control == nullptr) {
            if (handler != nullptr) {
                *handler = nullptr;
            }
            return E_FAIL;
        }
        return m_binding->GetCommandObject(document, handler);
    }
    HRESULT STDMETHODCALLTYPE Enable(BOOL enable) override
    {
        if (m_control == nullptr) {
            return E_FAIL;
        }
        m_control->EnableWindow(enable);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Redraw(const RECT* rect) override
    {
        if (m_control == nullptr) {
            return E_FAIL;
        }
        m_control->RedrawWindow(rect, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ModifyStyle(DWORD remove, DWORD add, UINT windowPosFlags) override
    {
        if (m_control == nullptr) {
            return E_FAIL;
        }
        m_control->ModifyStyle(remove, add, windowPosFlags);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ModifyStyleEx(DWORD remove, DWORD add, UINT windowPosFlags) override
    {
        if (m_control == nullptr) {
            return E_FAIL;
        }
        m_control->ModifyStyleEx(remove, add, windowPosFlags);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetDocument(IHostDocument* document) override
    {
        if (Kind == ControlObjectKind::Pane) {
            return E_NOTIMPL;
        }
        if (m_binding == nullptr || m_control == nullptr) {
            return E_FAIL;
        }
        return m_binding->SetDocument(document);
    }
    HRESULT STDMETHODCALLTYPE GetDocument(IHostDocument** document) override
    {
        if (Kind == ControlObjectKind::Pane) {
            return E_NOTIMPL;
        }
        if (m_binding == nullptr || m_control == nullptr) {
            if (document != nullptr) {
                *document = nullptr;
            }
            return E_FAIL;
        }
        return m_binding->GetDocument(document);
    }

    virtual ~CControlObject() = default;

protected:
    // Runs `action` on the control, or answers E_FAIL without one.
    template <class Action>
    HRESULT Forward(Action&& action)
    {
        if (m_control == nullptr) {
            return E_FAIL;
        }
        action(*m_control);
        return S_OK;
    }

private:
    BOOL m_documentBound;
    Control* m_control;
    ULONG m_references = 0;
    const IID& m_ownIid;
    IControlBinding* m_binding;
};

// Writes `value` through an out pointer that may be null.
template <class T, class V>
void SetOptional(T* out, V value)
{
    if (out != nullptr) {
        *out = static_cast<T>(value);
    }
}
