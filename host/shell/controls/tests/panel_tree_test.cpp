// The pane tree: its scripting object's slots, and the events its owner
// hears: one per selection change with the old and new items, a right click
// with the last mouse position, nothing for expansion or renaming.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/shell/controls/panel_tree.h"
#include "objectmodel/com_object.h"
#include "platform/controls/commctrl.h"
#include "platform/user/inspect.h"

namespace {

struct TreeEvent {
    LONG event = 0;
    ITreeControl* object = nullptr;
    int32_t code = 0;
    uintptr_t first = 0;
    uintptr_t second = 0;
};

class TreeOwner : public CCountedObject<IAddinCommand, IID_IAddinCommand> {
public:
    HRESULT STDMETHODCALLTYPE Create(IHostDocument*, LONG, LONG_PTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnEvent(LONG event, void* value, LONG, LONG, LONG* result) override
    {
        const auto* record = static_cast<const TreeEventRecord*>(value);
        TreeEvent seen{event, record->object, record->code};
        if (record->code == kTreeEventSelectionChanged) {
            const auto* change = static_cast<const TreeSelectionChange*>(record->data);
            seen.first = reinterpret_cast<uintptr_t>(change->previous);
            seen.second = reinterpret_cast<uintptr_t>(change->selected);
        } else {
            const auto* point = static_cast<const POINT*>(record->data);
            seen.first = static_cast<uintptr_t>(point->x);
            seen.second = static_cast<uintptr_t>(point->y);
        }
        events.push_back(seen);
        *result = 0;
        return S_OK;
    }
    std::vector<TreeEvent> events;
};

class PanelTreeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetWindowSystem();
        ASSERT_TRUE(window.CreateEx(0, CWnd::AfxRegisterWndClass(0), "", WS_POPUP | WS_VISIBLE, CRect(0, 0, 300, 300),
                                    nullptr, 0));
        ASSERT_TRUE(tree.Create(kPanelTreeStyle | WS_VISIBLE, CRect(0, 0, 200, 200), &window, 0));
        tree.SetOwner(&owner);
        object = &tree.ScriptingObject();
        object->InsertItem("Milling 2.5D", TVI_ROOT, TVI_LAST, &root);
        object->InsertItem("Phase 1", root, TVI_LAST, &phase);
        object->Expand(root, TVE_EXPAND);
    }
    void TearDown() override
    {
        tree.DestroyWindow();
        window.DestroyWindow();
        AfxDeleteTempMaps();
        ResetWindowSystem();
    }
    CWnd window;
    CPanelTree tree;
    TreeOwner owner;
    ITreeControl* object = nullptr;
    HTREEITEM root = nullptr;
    HTREEITEM phase = nullptr;
};

TEST_F(PanelTreeTest, SelectionChangesReachTheOwnerWithOldAndNewItems)
{
    ASSERT_NE(root, nullptr);
    ASSERT_NE(phase, nullptr);
    EXPECT_EQ(object->SelectItem(root), S_OK);
    EXPECT_EQ(object->SelectItem(phase), S_OK);
    ASSERT_EQ(owner.events.size(), 2u);
    EXPECT_EQ(owner.events[0].event, 0x2000000);
    EXPECT_EQ(owner.events[0].object, object);
    EXPECT_EQ(owner.events[0].code, -402);
    EXPECT_EQ(owner.events[0].first, 0u);
    EXPECT_EQ(owner.events[0].second, reinterpret_cast<uintptr_t>(root));
    EXPECT_EQ(owner.events[1].first, reinterpret_cast<uintptr_t>(root));
    EXPECT_EQ(owner.events[1].second, reinterpret_cast<uintptr_t>(phase));
    HTREEITEM selected = nullptr;
    EXPECT_EQ(object->GetSelectedItem(&selected), S_OK);
    EXPECT_EQ(selected, phase);
}

TEST_F(PanelTreeTest, ARightClickCarriesTheLastMousePosition)
{
    tree.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(17, 9));
    owner.events.clear();
    tree.SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(60, 70));
    tree.SendMessage(WM_RBUTTONUP, 0, MAKELPARAM(60, 70));
    ASSERT_FALSE(owner.events.empty());
    const TreeEvent& click = owner.events.back();
    EXPECT_EQ(click.code, -5);
    EXPECT_EQ(click.first, 17u);
    EXPECT_EQ(click.second, 9u);
}

TEST_F(PanelTreeTest, ExpandingAndRenamingSendNothing)
{
    owner.events.clear();
    EXPECT_EQ(object->Expand(root, TVE_COLLAPSE), S_OK);
    EXPECT_EQ(object->Expand(root, TVE_EXPAND), S_OK);
    EXPECT_EQ(object->SetItemText(phase, "Phase 2"), S_OK);
    EXPECT_TRUE(owner.events.empty());
    EXPECT_EQ(std::string(tree.GetItemText(phase).GetString()), "Phase 2");
    EXPECT_NE(tree.GetItemState(root, TVIS_EXPANDED) & TVIS_EXPANDED, 0u);
}

TEST_F(PanelTreeTest, WithoutAnOwnerNotificationsAreConsumed)
{
    tree.SetOwner(nullptr);
    EXPECT_EQ(object->SelectItem(root), S_OK);
    EXPECT_TRUE(owner.events.empty());
}

TEST_F(PanelTreeTest, ObjectSlots)
{
    void* out = reinterpret_cast<void*>(0x1);
    EXPECT_EQ(object->QueryInterface(IID_IControlBase, &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(object->QueryInterface(IID_ITreeControl, &out), S_OK);
    object->Release();
    EXPECT_EQ(object->GetCommandObject(nullptr, nullptr), E_NOTIMPL);
    EXPECT_EQ(object->SetDocument(nullptr), E_NOTIMPL);
    EXPECT_EQ(object->GetDocument(nullptr), E_NOTIMPL);
    EXPECT_EQ(object->Reserved19(0, 0), E_NOTIMPL);

    // The active operation in bold, as the features pane shows it.
    EXPECT_EQ(object->SetItemState(phase, TVIS_BOLD, TVIS_BOLD), S_OK);
    UINT state = 0;
    EXPECT_EQ(object->GetItemState(phase, TVIS_BOLD, &state), S_OK);
    EXPECT_EQ(state, TVIS_BOLD);
    EXPECT_EQ(object->SetCheck(phase, TRUE), S_OK);
    BOOL checked = -1;
    EXPECT_EQ(object->GetCheck(phase, &checked), S_OK);
    EXPECT_EQ(checked, 1);
    EXPECT_EQ(object->SetCheck(phase, FALSE), S_OK);
    EXPECT_EQ(object->GetCheck(phase, &checked), S_OK);
    EXPECT_EQ(checked, 0);

    // A right click's point tested and put on the screen.
    RECT itemRect{};
    ASSERT_TRUE(tree.GetItemRect(root, &itemRect, TRUE));
    UINT flags = 0;
    HTREEITEM hit = nullptr;
    EXPECT_EQ(object->HitTest(itemRect.left + 2, itemRect.top + 2, &flags, &hit), S_OK);
    EXPECT_EQ(hit, root);
    EXPECT_NE(flags & TVHT_ONITEM, 0u);
    EXPECT_EQ(object->HitTest(190, 190, &flags, &hit), S_OK);
    EXPECT_EQ(hit, nullptr);
    LONG x = 0;
    LONG y = 0;
    tree.SetWindowPos(nullptr, 30, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    EXPECT_EQ(object->ClientToScreen(5, 6, &x, &y), S_OK);
    POINT expected{5, 6};
    ::ClientToScreen(tree.m_hWnd, &expected);
    EXPECT_EQ(x, expected.x);
    EXPECT_EQ(y, expected.y);

    EXPECT_EQ(object->DeleteItem(phase), S_OK);
    EXPECT_EQ(tree.SendMessage(TVM_GETCOUNT), 1);
    EXPECT_EQ(object->DeleteAllItems(), S_OK);
    EXPECT_EQ(tree.SendMessage(TVM_GETCOUNT), 0);
}

// Counts its references and never frees itself.
struct CountingSink : IUnknown {
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++count; }
    ULONG STDMETHODCALLTYPE Release() override { return --count; }
    ULONG count = 0;
};

TEST_F(PanelTreeTest, SinksAreKeptWithAReferenceUntilUnadvised)
{
    CountingSink sink;
    EXPECT_EQ(object->Advise(&sink), S_OK);
    EXPECT_EQ(sink.count, 1u);
    EXPECT_EQ(object->Unadvise(&sink), S_OK);
    EXPECT_EQ(sink.count, 0u);
    EXPECT_EQ(object->Unadvise(&sink), E_FAIL);
}

} // namespace
