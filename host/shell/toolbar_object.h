// CToolbarObject: the scripting object of one main-frame toolbar, through
// which add-ins put their command buttons on it. A button that stands for
// an add-in command carries the command's host command id (10000 plus its
// command-table index), so its clicks reach the command engine like the
// menu items of the command. The controls that a toolbar could hold besides
// buttons are not offered (E_NOTIMPL), as no add-in puts any there.
#pragma once

#include "icontrols.h"

class CAddinHost;
class CToolBar;

class CToolbarObject final : public IToolbarControl {
public:
    // `host` keeps the command table and the main frame; it and `toolbar`
    // outlive the object. The count starts at 1, the frame's reference.
    CToolbarObject(CAddinHost& host, CToolBar& toolbar);
    CToolbarObject(const CToolbarObject&) = delete;
    CToolbarObject& operator=(const CToolbarObject&) = delete;

    CToolBar& Toolbar() const { return m_toolbar; }
    // The images the toolbar's image list holds (0 without one).
    int ImageCount() const;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
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
    HRESULT STDMETHODCALLTYPE Reserved10(LONG_PTR, LONG_PTR, LONG_PTR, LONG_PTR, LONG_PTR, LONG_PTR,
                                         LONG_PTR) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Reserved11(LONG_PTR, LONG_PTR, LONG_PTR, LONG_PTR, LONG_PTR, LONG_PTR,
                                         LONG_PTR) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE AddButtonControl(IAddin*, LONG, const char*, LONG, DWORD) override
    {
        return E_NOTIMPL;
    }
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
    HRESULT STDMETHODCALLTYPE AddEditControl(IAddin*, LONG, const char*, LONG, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE AddComboBoxControl(IAddin*, LONG, const char*, LONG, LONG, DWORD) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE AddStaticControl(IAddin*, LONG, const char*, LONG, DWORD) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE AddSpinControl(IAddin*, LONG, const char*, LONG, DWORD) override { return E_NOTIMPL; }

private:
    ~CToolbarObject() = default;

    CAddinHost& m_host;
    CToolBar& m_toolbar;
    LONG m_references = 1;
};
