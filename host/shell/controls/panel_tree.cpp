// The pane tree and its scripting object: the object's slots as tree
// messages, and the tree's notifications turned into events of its owner.
#include "host/shell/controls/panel_tree.h"

#include <algorithm>

#include "platform/controls/commctrl.h"

namespace {

// The event a tree's owner receives.
constexpr LONG kEventTree = 0x2000000;

} // namespace

// CTreeObject --------------------------------------------------------------------------

HRESULT CTreeObject::Unadvise(IUnknown* sink)
{
    std::vector<ComPtr<IUnknown>>& sinks = m_tree.Sinks();
    auto found = std::find_if(sinks.begin(), sinks.end(), [&](const ComPtr<IUnknown>& p) { return p.Get() == sink; });
    if (found == sinks.end()) {
        return E_FAIL;
    }
    sinks.erase(found);
    return S_OK;
}

HRESULT CTreeObject::Advise(IUnknown* sink)
{
    m_tree.Sinks().push_back(ComPtr<IUnknown>::Share(sink));
    return S_OK;
}

HRESULT CTreeObject::ClientToScreen(LONG x, LONG y, LONG* screenX, LONG* screenY)
{
    return Forward([&](CTreeCtrl& tree) {
        POINT point{x, y};
        tree.ClientToScreen(&point);
        SetOptional(screenX, point.x);
        SetOptional(screenY, point.y);
    });
}

HRESULT CTreeObject::HitTest(LONG x, LONG y, UINT* flags, HTREEITEM* item)
{
    return Forward([&](CTreeCtrl& tree) {
        TVHITTESTINFO info{};
        info.pt = POINT{x, y};
        const auto hit = reinterpret_cast<HTREEITEM>(tree.SendMessage(TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)));
        SetOptional(flags, info.flags);
        SetOptional(item, hit);
    });
}

HRESULT CTreeObject::GetItemState(HTREEITEM item, UINT stateMask, UINT* state)
{
    return Forward([&](CTreeCtrl& tree) { SetOptional(state, tree.GetItemState(item, stateMask)); });
}

HRESULT CTreeObject::SetItemState(HTREEITEM item, UINT state, UINT stateMask)
{
    CTreeCtrl* tree = GetControl();
    return tree != nullptr && tree->SetItemState(item, state, stateMask) ? S_OK : E_FAIL;
}

HRESULT CTreeObject::GetCheck(HTREEITEM item, BOOL* checked)
{
    return Forward([&](CTreeCtrl& tree) {
        const UINT image = (tree.GetItemState(item, TVIS_STATEIMAGEMASK) & TVIS_STATEIMAGEMASK) >> 12;
        SetOptional(checked, static_cast<int>(image) - 1);
    });
}

HRESULT CTreeObject::SetCheck(HTREEITEM item, BOOL checked)
{
    CTreeCtrl* tree = GetControl();
    const UINT image = (checked ? 2u : 1u) << 12;
    return tree != nullptr && tree->SetItemState(item, image, TVIS_STATEIMAGEMASK) ? S_OK : E_FAIL;
}

HRESULT CTreeObject::SetItemText(HTREEITEM item, const char* text)
{
    return Forward([&](CTreeCtrl& tree) { tree.SetItemText(item, text); });
}

HRESULT CTreeObject::SelectItem(HTREEITEM item)
{
    return Forward([&](CTreeCtrl& tree) { tree.SendMessage(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item)); });
}

HRESULT CTreeObject::GetSelectedItem(HTREEITEM* item)
{
    return Forward([&](CTreeCtrl& tree) { SetOptional(item, tree.GetSelectedItem()); });
}

HRESULT CTreeObject::Expand(HTREEITEM item, UINT code)
{
    return Forward([&](CTreeCtrl& tree) { tree.Expand(item, code); });
}

HRESULT CTreeObject::DeleteAllItems()
{
    return Forward([&](CTreeCtrl& tree) { tree.DeleteAllItems(); });
}

HRESULT CTreeObject::DeleteItem(HTREEITEM item)
{
    return Forward([&](CTreeCtrl& tree) { tree.DeleteItem(item); });
}

HRESULT CTreeObject::InsertItem(const char* text, HTREEITEM parent, HTREEITEM insertAfter, HTREEITEM* item)
{
    return Forward([&](CTreeCtrl& tree) {
        TVINSERTSTRUCTA insert{};
        insert.hParent = parent;
        insert.hInsertAfter = insertAfter;
        insert.item.mask = TVIF_TEXT;
        insert.item.pszText = const_cast<char*>(text != nullptr ? text : "");
        SetOptional(item, tree.InsertItem(&insert));
    });
}

// CPanelTree ---------------------------------------------------------------------------

void CPanelTree::NotifyOwner(int32_t code, void* data)
{
    if (m_owner == nullptr) {
        return;
    }
    TreeEventRecord record{&m_object, code, data};
    LONG answer = 0;
    m_owner->OnEvent(kEventTree, &record, 1, 0, &answer);
}

BOOL CPanelTree::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (message != WM_NOTIFY) {
        return CTreeCtrl::OnChildNotify(message, wParam, lParam, result);
    }
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header == nullptr) {
        return FALSE;
    }
    switch (header->code) {
    case TVN_SELCHANGEDA: {
        const auto* change = reinterpret_cast<const NMTREEVIEWA*>(lParam);
        TreeSelectionChange items{change->itemOld.hItem, change->itemNew.hItem};
        NotifyOwner(kTreeEventSelectionChanged, &items);
        break;
    }
    case NM_RCLICK: {
        POINT where = m_lastMouse;
        NotifyOwner(kTreeEventRightClick, &where);
        break;
    }
    case TVN_SELCHANGINGA:
    case TVN_GETDISPINFOA:
    case TVN_SETDISPINFOA:
    case TVN_ITEMEXPANDINGA:
    case TVN_ITEMEXPANDEDA:
    case TVN_BEGINDRAGA:
    case TVN_BEGINRDRAGA:
    case TVN_DELETEITEMA:
    case TVN_BEGINLABELEDITA:
    case TVN_ENDLABELEDITA:
    case TVN_KEYDOWN:
    case NM_CLICK:
    case NM_DBLCLK:
    case NM_RETURN:
    case NM_RDBLCLK:
    case NM_SETFOCUS:
    case NM_KILLFOCUS:
        break;
    default:
        return CTreeCtrl::OnChildNotify(message, wParam, lParam, result);
    }
    if (result != nullptr) {
        *result = 0;
    }
    return TRUE;
}

LRESULT CPanelTree::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_MOUSEMOVE) {
        m_lastMouse = POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    }
    return CTreeCtrl::WindowProc(message, wParam, lParam);
}
