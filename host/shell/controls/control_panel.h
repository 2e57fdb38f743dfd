// CControlPanel (IControlPanel): a set of child controls that an add-in
// command puts on a control-panel page of a pane group and drives through
// the controls' scripting objects. Panels made on one page form a stack of
// which only the current one shows. Clicks and changes in its controls
// reach the owner as command events.
//
// The page owns its panels: a panel lives until its page goes or the add-in
// calls Destroy. AddRef and Release only count, so an add-in that holds the
// lent pointer cannot free it. Controls removed by RemoveAll take their
// windows with them; a separately made scripting object stays, detached
// (every slot E_FAIL), until the panel goes, so an add-in's stale pointer
// never drives a window that is gone.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "icontrols.h"
#include "platform/framework/gdiobj.h"
#include "platform/framework/wnd.h"

class CPaneGroupDialog;

// The scripting object made beside a panel control, type-erased.
class CPanelControlObject {
public:
    virtual ~CPanelControlObject() = default;
    virtual IUnknown* Unknown() = 0;
    virtual void Detach() = 0;
};

class CControlPanel final : public IControlPanel {
public:
    // On page `page` of `group`; hidden unless the group has tabs and the
    // page is its selected page.
    CControlPanel(CPaneGroupDialog& group, int32_t page);
    CControlPanel(const CControlPanel&) = delete;
    CControlPanel& operator=(const CControlPanel&) = delete;
    virtual ~CControlPanel();

    bool IsHidden() const { return m_hidden; }
    int32_t Page() const { return m_page; }
    CControlPanel* PreviousPanel() const { return m_previous; }
    void SetPreviousPanel(CControlPanel* panel) { m_previous = panel; }
    size_t GetControlCount() const { return m_controls.size(); }
    CWnd* GetControlWindow(size_t index) const { return m_controls[index].get(); }

    // SW_SHOW or SW_HIDE: hiding a shown panel remembers each control's
    // visibility first; showing skips controls remembered invisible. Ends
    // with Layout.
    void ShowControls(int show);
    // A control's command (ID in the low word, code or spin delta in the
    // high word) for the owner: see the .cpp for the rules.
    void NotifyOwner(LONG value);

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IControlPanel
    HRESULT STDMETHODCALLTYPE Layout() override;
    HRESULT STDMETHODCALLTYPE EnableNotify(BOOL on) override;
    HRESULT STDMETHODCALLTYPE AddTitle(const char* text, DWORD style, const RECT* rect, LONG id, LONG* index) override;
    HRESULT STDMETHODCALLTYPE GetControl(LONG id, IUnknown** out) override;
    HRESULT STDMETHODCALLTYPE GetOwner(IAddinCommand** owner) override;
    HRESULT STDMETHODCALLTYPE SetOwner(IAddinCommand* owner) override;
    HRESULT STDMETHODCALLTYPE AddSpin(const char* text, DWORD style, const RECT* rect, LONG id, LONG* index) override;
    HRESULT STDMETHODCALLTYPE AddListBox(const char* text, DWORD style, const RECT* rect, LONG id, LONG* index) override;
    HRESULT STDMETHODCALLTYPE AddStatic(const char* text, DWORD style, const RECT* rect, LONG id, LONG* index) override;
    HRESULT STDMETHODCALLTYPE AddEdit(const char* text, DWORD style, const RECT* rect, LONG id, LONG* index) override;
    HRESULT STDMETHODCALLTYPE AddComboBox(const char* text, DWORD style, const RECT* rect, LONG id,
                                          LONG* index) override;
    HRESULT STDMETHODCALLTYPE AddButton(const char* text, DWORD style, const RECT* rect, LONG id, LONG* index) override;
    HRESULT STDMETHODCALLTYPE RemoveAll() override;
    HRESULT STDMETHODCALLTYPE ShowAll() override;
    HRESULT STDMETHODCALLTYPE HideAll() override;
    HRESULT STDMETHODCALLTYPE Destroy() override;
    HRESULT STDMETHODCALLTYPE AddSlider(const char* text, DWORD style, const RECT* rect, LONG id, LONG* index) override;
    HRESULT STDMETHODCALLTYPE AddRichEdit(const char* text, DWORD style, const RECT* rect, LONG id,
                                          LONG* index) override;

    // The kinds of control a panel makes.
    enum class Kind { Title, Spin, ListBox, Static, Edit, ComboBox, Button, Slider, RichEdit };

private:
    HRESULT Add(Kind kind, const char* text, DWORD style, const RECT* rect, LONG id, LONG* index);
    CFont* FontFor(Kind kind);

    bool m_notify = true;
    IAddinCommand* m_owner = nullptr;
    CControlPanel* m_previous = nullptr;
    bool m_hidden = true;
    std::vector<DWORD> m_visibility;
    std::vector<std::unique_ptr<CWnd>> m_controls;
    // Null for a control whose object lives inside it (the rich edit).
    std::vector<std::unique_ptr<CPanelControlObject>> m_objects;
    std::vector<IUnknown*> m_unknowns;
    // Objects of removed controls, detached, kept until the panel goes.
    std::vector<std::unique_ptr<CPanelControlObject>> m_retired;
    CPaneGroupDialog& m_group;
    int32_t m_page;
    ULONG m_references = 0;
    CFont m_titleFont;
};
