// CPanelTree: the tree of a tree page, with its scripting object CTreeObject
// (ITreeControl) inside it. The page's pane object (the owner) fills the
// tree through the object and hears the tree's selection changes and right
// clicks as event 0x2000000 with a TreeEventRecord, without a command
// level. Other tree notifications are consumed without effect, so no
// expansion or label edit is ever refused.
#pragma once

#include <vector>

#include "host/shell/controls/control_object.h"
#include "platform/framework/commonctrls.h"

class CPanelTree;

class CTreeObject final : public CControlObject<ITreeControl, CTreeCtrl, ControlObjectKind::Pane> {
public:
    CTreeObject(CTreeCtrl* tree, CPanelTree& owner) : CControlObject(tree, IID_ITreeControl), m_tree(owner) {}

    HRESULT STDMETHODCALLTYPE Unadvise(IUnknown* sink) override;
    HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink) override;
    HRESULT STDMETHODCALLTYPE ClientToScreen(LONG x, LONG y, LONG* screenX, LONG* screenY) override;
    HRESULT STDMETHODCALLTYPE HitTest(LONG x, LONG y, UINT* flags, HTREEITEM* item) override;
    HRESULT STDMETHODCALLTYPE GetItemState(HTREEITEM item, UINT stateMask, UINT* state) override;
    HRESULT STDMETHODCALLTYPE SetItemState(HTREEITEM item, UINT state, UINT stateMask) override;
    HRESULT STDMETHODCALLTYPE GetCheck(HTREEITEM item, BOOL* checked) override;
    HRESULT STDMETHODCALLTYPE SetCheck(HTREEITEM item, BOOL checked) override;
    HRESULT STDMETHODCALLTYPE SetItemText(HTREEITEM item, const char* text) override;
    HRESULT STDMETHODCALLTYPE Reserved19(LONG_PTR, LONG_PTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SelectItem(HTREEITEM item) override;
    HRESULT STDMETHODCALLTYPE GetSelectedItem(HTREEITEM* item) override;
    HRESULT STDMETHODCALLTYPE Expand(HTREEITEM item, UINT code) override;
    HRESULT STDMETHODCALLTYPE DeleteAllItems() override;
    HRESULT STDMETHODCALLTYPE DeleteItem(HTREEITEM item) override;
    HRESULT STDMETHODCALLTYPE InsertItem(const char* text, HTREEITEM parent, HTREEITEM insertAfter,
                                         HTREEITEM* item) override;

private:
    CPanelTree& m_tree;
};

// The style a tree page creates its tree with: child, tab stop, buttons,
// lines, lines at the root, label editing, selection always shown, tracking
// selection; not visible.
inline constexpr DWORD kPanelTreeStyle = 0x4001022F;

class CPanelTree final : public CTreeCtrl {
public:
    CPanelTree() : m_object(this, *this) {}
    ~CPanelTree() override { m_object.Detach(); }

    CTreeObject& ScriptingObject() { return m_object; }
    // Borrowed: the page keeps the pane object alive.
    void SetOwner(IAddinCommand* owner) { m_owner = owner; }
    IAddinCommand* GetOwner() const { return m_owner; }
    POINT LastMousePosition() const { return m_lastMouse; }
    // Advised sinks are kept, with a reference each, but not called.
    std::vector<ComPtr<IUnknown>>& Sinks() { return m_sinks; }

    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // Sends the owner event 0x2000000 with a record of `code` and `data`.
    void NotifyOwner(int32_t code, void* data);

    POINT m_lastMouse{0, 0};
    CTreeObject m_object;
    IAddinCommand* m_owner = nullptr;
    std::vector<ComPtr<IUnknown>> m_sinks;
};
