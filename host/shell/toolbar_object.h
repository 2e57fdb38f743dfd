// CToolbarObject: the scripting object of one toolbar of the main frame,
// through which add-ins put command buttons, bitmaps and controls on it
// (IToolbarControl). A button or control of an add-in command carries the
// command's host command id, 10000 + its command-table index, so its clicks
// reach the command engine like the command's menu item.
//
// The frame owns one object per toolbar (the owner's reference) and lends
// it to add-ins without a reference of theirs. The controls the object puts
// on its toolbar are its own: they, and their places in the program's list
// of toolbar controls, go with it.
#pragma once

#include <atomic>
#include <memory>
#include <vector>

#include "icontrols.h"

class CAddinHost;
class CNewToolBar;
class CWnd;
class IToolbarHostedControl;

class CToolbarObject final : public IToolbarControl {
public:
    // The toolbar and the host outlive the object. The count starts at 1:
    // the owner's reference.
    CToolbarObject(CNewToolBar& toolbar, CAddinHost& host);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE Reserved3() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reserved4(LONG_PTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reserved5(LONG_PTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetButtonState(IAddin* addin, LONG commandId, LONG state) override;
    HRESULT STDMETHODCALLTYPE Reserved7(LONG_PTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE AddBitmap(LONG count, HBITMAP bitmap, LONG* firstImage) override;
    HRESULT STDMETHODCALLTYPE Reserved9(LONG_PTR, LONG_PTR, LONG_PTR, LONG_PTR, LONG_PTR, LONG_PTR, LONG_PTR,
                                        LONG_PTR) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Reserved10(LONG_PTR, LONG_PTR, LONG_PTR, LONG_PTR, LONG_PTR, LONG_PTR, LONG_PTR) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Reserved11(LONG_PTR, LONG_PTR, LONG_PTR, LONG_PTR, LONG_PTR, LONG_PTR, LONG_PTR) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE AddButtonControl(IAddin* addin, LONG commandId, const char* text, LONG width,
                                               DWORD style) override;
    HRESULT STDMETHODCALLTYPE AddButton(IAddin* addin, LONG commandId, LONG image, BYTE state, BYTE style,
                                        const char* text) override;
    HRESULT STDMETHODCALLTYPE Reserved14(LONG_PTR, LONG_PTR, LONG_PTR, LONG_PTR, LONG_PTR, LONG_PTR) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Reserved15(LONG_PTR, LONG_PTR, LONG_PTR, LONG_PTR, LONG_PTR, LONG_PTR) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Reserved16(LONG_PTR, LONG_PTR, LONG_PTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE AddEditControl(IAddin* addin, LONG commandId, const char* text, LONG width,
                                             DWORD style) override;
    HRESULT STDMETHODCALLTYPE AddComboBoxControl(IAddin* addin, LONG commandId, const char* text, LONG width,
                                                 LONG dropHeight, DWORD style) override;
    HRESULT STDMETHODCALLTYPE AddStaticControl(IAddin* addin, LONG commandId, const char* text, LONG width,
                                               DWORD style) override;
    HRESULT STDMETHODCALLTYPE AddSpinControl(IAddin* addin, LONG commandId, const char* text, LONG width,
                                             DWORD style) override;
    virtual ~CToolbarObject();

    CNewToolBar& Toolbar() { return m_toolbar; }
    // The images the toolbar's image list holds (0 without one).
    int ImageCount() const;
    size_t ControlCount() const { return m_controls.size(); }

private:
    enum class ControlKind { Button, Edit, ComboBox, Static, Spin };
    struct Control;
    HRESULT AddControl(ControlKind kind, IAddin* addin, LONG commandId, const char* text, LONG width,
                       LONG dropHeight, DWORD style);

    CNewToolBar& m_toolbar;
    CAddinHost& m_host;
    std::atomic<LONG> m_references{1};
    std::vector<std::unique_ptr<Control>> m_controls;
};
