// The tree view: items built, expanded, clicked and keyed, with the
// notifications the parent hears in order; state, hit-testing and the
// handling of stale handles.
#include "platform/controls/tests/control_test_support.h"

#include <cstring>

#include "platform/controls/controls.h"
#include "platform/display/headless/headless_display.h"
#include "platform/user/inspect.h"

namespace nuvex::controls::commontesting {
namespace {

constexpr int kTreeId = 100;

class TreeView : public ControlTest {
protected:
    void SetUp() override
    {
        ControlTest::SetUp();
        tree = MakeControl(WC_TREEVIEWA, TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS,
                           {10, 10, 210, 210}, kTreeId);
        ASSERT_NE(tree, nullptr);
        part = Insert("Part", TVI_ROOT);
        pocket = Insert("Pocket", part);
        contour = Insert("Contour", part);
        tools = Insert("Tools", TVI_ROOT);
        Clear();
    }

    HTREEITEM Insert(const char* text, HTREEITEM under, HTREEITEM after = TVI_LAST, LPARAM data = 0)
    {
        TVINSERTSTRUCTA insert{};
        insert.hParent = under;
        insert.hInsertAfter = after;
        insert.item.mask = TVIF_TEXT | TVIF_PARAM;
        insert.item.pszText = const_cast<char*>(text);
        insert.item.lParam = data;
        return reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
    }
    RECT ItemRect(HTREEITEM item, bool labelOnly)
    {
        RECT rect{};
        std::memcpy(&rect, &item, sizeof(item));
        EXPECT_TRUE(SendMessageA(tree, TVM_GETITEMRECT, labelOnly ? TRUE : FALSE, reinterpret_cast<LPARAM>(&rect)));
        return rect;
    }
    POINT LabelPoint(HTREEITEM item)
    {
        const RECT r = ItemRect(item, true);
        return POINT{r.left + 3, (r.top + r.bottom) / 2};
    }
    HTREEITEM Next(UINT flag, HTREEITEM item = nullptr)
    {
        return reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, flag, reinterpret_cast<LPARAM>(item)));
    }
    UINT State(HTREEITEM item, UINT mask)
    {
        return static_cast<UINT>(SendMessageA(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), mask));
    }
    std::string Text(HTREEITEM item, int size = 64)
    {
        std::vector<char> buffer(static_cast<size_t>(size) + 8, '#');
        TVITEMA get{};
        get.mask = TVIF_TEXT;
        get.hItem = item;
        get.pszText = buffer.data();
        get.cchTextMax = size;
        if (!SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&get))) {
            return "<failed>";
        }
        EXPECT_EQ(buffer[static_cast<size_t>(size)], '#') << "wrote past the buffer";
        return buffer.data();
    }

    static Expect Note(UINT code) { return Notify(kTreeId, code); }
    static Expect Tree(UINT code, UINT action, HTREEITEM oldItem, HTREEITEM newItem)
    {
        return TreeNotify(kTreeId, code, action, oldItem, newItem);
    }

    HWND tree = nullptr;
    HTREEITEM part = nullptr;
    HTREEITEM pocket = nullptr;
    HTREEITEM contour = nullptr;
    HTREEITEM tools = nullptr;
};

TEST_F(TreeView, BuildsItemsInOrderAndWalksThem)
{
    EXPECT_EQ(SendMessageA(tree, TVM_GETCOUNT, 0, 0), 4);
    EXPECT_EQ(Next(TVGN_ROOT), part);
    EXPECT_EQ(Next(TVGN_NEXT, part), tools);
    EXPECT_EQ(Next(TVGN_CHILD, part), pocket);
    EXPECT_EQ(Next(TVGN_NEXT, pocket), contour);
    EXPECT_EQ(Next(TVGN_PREVIOUS, contour), pocket);
    EXPECT_EQ(Next(TVGN_PARENT, contour), part);
    EXPECT_EQ(Next(TVGN_PARENT, part), nullptr);
    // Collapsed children are not visible.
    EXPECT_EQ(Next(TVGN_NEXTVISIBLE, part), tools);
    EXPECT_EQ(Text(contour), "Contour");

    HTREEITEM first = Insert("Alpha", TVI_ROOT, TVI_FIRST);
    HTREEITEM sorted = Insert("Drill", part, TVI_SORT);
    HTREEITEM afterPocket = Insert("Island", part, pocket);
    EXPECT_EQ(Next(TVGN_ROOT), first);
    EXPECT_EQ(Next(TVGN_NEXT, pocket), afterPocket);
    EXPECT_EQ(Next(TVGN_NEXT, afterPocket), contour);
    EXPECT_EQ(Next(TVGN_PREVIOUS, sorted), nullptr) << "insertion by sort in an unsorted list goes before the first greater";
    EXPECT_EQ(Insert("orphan", reinterpret_cast<HTREEITEM>(static_cast<intptr_t>(0x7777))), nullptr);
}

TEST_F(TreeView, ClickingExpandsSelectsAndNotifiesInOrder)
{
    // The button of "Part" expands it; the click takes the focus first.
    const RECT partRow = ItemRect(part, false);
    const RECT partLabel = ItemRect(part, true);
    const int indent = static_cast<int>(SendMessageA(tree, TVM_GETINDENT, 0, 0));
    Click(tree, POINT{partLabel.left - indent / 2 - 1, (partRow.top + partRow.bottom) / 2});
    EXPECT_TRUE(SameHeard({Note(NM_SETFOCUS), Tree(TVN_ITEMEXPANDINGA, TVE_EXPAND, nullptr, part),
                           Tree(TVN_ITEMEXPANDEDA, TVE_EXPAND, nullptr, part)}));
    EXPECT_EQ(State(part, TVIS_EXPANDED | TVIS_EXPANDEDONCE), TVIS_EXPANDED | TVIS_EXPANDEDONCE);
    EXPECT_EQ(Next(TVGN_NEXTVISIBLE, part), pocket);

    // A click on a label selects it after NM_CLICK.
    Clear();
    Click(tree, LabelPoint(pocket));
    EXPECT_TRUE(SameHeard({Note(NM_CLICK), Tree(TVN_SELCHANGINGA, TVC_BYMOUSE, nullptr, pocket),
                           Tree(TVN_SELCHANGEDA, TVC_BYMOUSE, nullptr, pocket)}));
    EXPECT_EQ(Next(TVGN_CARET), pocket);
    EXPECT_EQ(State(pocket, TVIS_SELECTED), TVIS_SELECTED);

    Clear();
    Click(tree, LabelPoint(contour));
    EXPECT_TRUE(SameHeard({Note(NM_CLICK), Tree(TVN_SELCHANGINGA, TVC_BYMOUSE, pocket, contour),
                           Tree(TVN_SELCHANGEDA, TVC_BYMOUSE, pocket, contour)}));
    EXPECT_EQ(State(pocket, TVIS_SELECTED), 0u);

    // A right click tells the parent and selects nothing.
    Clear();
    Click(tree, LabelPoint(tools), MouseButton::Right);
    EXPECT_TRUE(SameHeard({Note(NM_RCLICK)}));
    EXPECT_EQ(Next(TVGN_CARET), contour);
}

TEST_F(TreeView, DoubleClickTogglesAndCollapsingMovesTheCaretUp)
{
    SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(part));
    SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(contour));
    SetFocus(tree);
    PumpUntilIdle();
    Clear();
    HeadlessDoubleClick(ScreenOf(tree, LabelPoint(part)));
    PumpUntilIdle();
    EXPECT_TRUE(SameHeard({Note(NM_CLICK), Tree(TVN_SELCHANGINGA, TVC_BYMOUSE, contour, part),
                           Tree(TVN_SELCHANGEDA, TVC_BYMOUSE, contour, part), Note(NM_DBLCLK),
                           Tree(TVN_ITEMEXPANDINGA, TVE_COLLAPSE, nullptr, part),
                           Tree(TVN_ITEMEXPANDEDA, TVE_COLLAPSE, nullptr, part)}));

    // Collapsing by message with the caret inside moves the caret to the item.
    SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(part));
    SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(pocket));
    Clear();
    SendMessageA(tree, TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(part));
    EXPECT_EQ(Next(TVGN_CARET), part);
    EXPECT_TRUE(SameHeard({Tree(TVN_SELCHANGINGA, TVC_UNKNOWN, pocket, part),
                           Tree(TVN_SELCHANGEDA, TVC_UNKNOWN, pocket, part)}))
        << "expanded once: the message itself no longer notifies";
}

TEST_F(TreeView, KeysMoveTheCaretAndExpand)
{
    SetFocus(tree);
    SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(part));
    PumpUntilIdle();
    struct KeyCase {
        const char* name;
        int key;
        HTREEITEM caret;
        UINT partExpanded;
    };
    const KeyCase cases[] = {
        {"right_expands", VK_RIGHT, part, TVIS_EXPANDED},
        {"right_again_enters", VK_RIGHT, pocket, TVIS_EXPANDED},
        {"down_moves", VK_DOWN, contour, TVIS_EXPANDED},
        {"down_leaves_the_branch", VK_DOWN, tools, TVIS_EXPANDED},
        {"down_stops_at_the_end", VK_DOWN, tools, TVIS_EXPANDED},
        {"home", VK_HOME, part, TVIS_EXPANDED},
        {"left_collapses", VK_LEFT, part, 0},
        {"end", VK_END, tools, 0},
        {"up", VK_UP, part, 0},
    };
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(c.name);
        Clear();
        HeadlessPressKeys({c.key});
        PumpUntilIdle();
        EXPECT_EQ(Next(TVGN_CARET), c.caret);
        EXPECT_EQ(State(part, TVIS_EXPANDED), c.partExpanded);
        ASSERT_FALSE(Heard().empty());
        EXPECT_EQ(Heard().front().DetailOf("code"), TVN_KEYDOWN);
    }
    Clear();
    HeadlessPressKeys({VK_DOWN});
    PumpUntilIdle();
    EXPECT_TRUE(SameHeard({Note(TVN_KEYDOWN), Tree(TVN_SELCHANGINGA, TVC_BYKEYBOARD, part, tools),
                           Tree(TVN_SELCHANGEDA, TVC_BYKEYBOARD, part, tools)}));
}

TEST_F(TreeView, ParentVetoesSelectionAndExpansion)
{
    answer = [](NMHDR* header) -> std::optional<LRESULT> {
        if (header->code == TVN_SELCHANGINGA || header->code == TVN_ITEMEXPANDINGA) {
            return TRUE;
        }
        return std::nullopt;
    };
    EXPECT_FALSE(SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(tools)));
    EXPECT_EQ(Next(TVGN_CARET), nullptr);
    EXPECT_FALSE(SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(part)));
    EXPECT_EQ(State(part, TVIS_EXPANDED), 0u);
    Click(tree, LabelPoint(tools));
    EXPECT_EQ(Next(TVGN_CARET), nullptr);
}

TEST_F(TreeView, MessageExpansionNotifiesOnlyUntilExpandedOnce)
{
    SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(part));
    SendMessageA(tree, TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(part));
    SendMessageA(tree, TVM_EXPAND, TVE_TOGGLE, reinterpret_cast<LPARAM>(part));
    EXPECT_TRUE(SameHeard({Tree(TVN_ITEMEXPANDINGA, TVE_EXPAND, nullptr, part),
                           Tree(TVN_ITEMEXPANDEDA, TVE_EXPAND, nullptr, part)}));
    EXPECT_EQ(State(part, TVIS_EXPANDED), TVIS_EXPANDED);
    EXPECT_FALSE(SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(tools)))
        << "an item without children does not expand";

    // Collapse-reset removes the children and forgets the first expansion.
    Clear();
    SendMessageA(tree, TVM_EXPAND, TVE_COLLAPSE | TVE_COLLAPSERESET, reinterpret_cast<LPARAM>(part));
    EXPECT_TRUE(SameHeard({Tree(TVN_DELETEITEMA, 0, pocket, nullptr), Tree(TVN_DELETEITEMA, 0, contour, nullptr)}));
    EXPECT_EQ(Next(TVGN_CHILD, part), nullptr);
    EXPECT_EQ(State(part, TVIS_EXPANDEDONCE | TVIS_EXPANDED), 0u);
}

TEST_F(TreeView, DeletingTheCaretMovesItAndStaleHandlesFail)
{
    SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(pocket));
    EXPECT_EQ(State(part, TVIS_EXPANDED), TVIS_EXPANDED) << "selecting shows the item";
    Clear();
    EXPECT_TRUE(SendMessageA(tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(pocket)));
    EXPECT_TRUE(SameHeard({Tree(TVN_SELCHANGINGA, TVC_UNKNOWN, pocket, contour),
                           Tree(TVN_SELCHANGEDA, TVC_UNKNOWN, pocket, contour),
                           Tree(TVN_DELETEITEMA, 0, pocket, nullptr)}));
    EXPECT_EQ(Next(TVGN_CARET), contour);

    // The handle is gone for good, even after new items are made.
    Insert("New", part);
    EXPECT_EQ(Text(pocket), "<failed>");
    EXPECT_FALSE(SendMessageA(tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(pocket)));
    EXPECT_EQ(State(pocket, 0xFFFF), 0u);
    EXPECT_FALSE(SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(pocket)));

    Clear();
    EXPECT_TRUE(SendMessageA(tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT)));
    EXPECT_EQ(SendMessageA(tree, TVM_GETCOUNT, 0, 0), 0);
    EXPECT_EQ(Next(TVGN_CARET), nullptr);
    EXPECT_EQ(Heard().size(), 4u) << "one TVN_DELETEITEM per item, no selection change";
}

TEST_F(TreeView, ItemFieldsStateAndBold)
{
    TVITEMA set{};
    set.mask = TVIF_STATE | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    set.hItem = tools;
    set.state = TVIS_BOLD | INDEXTOSTATEIMAGEMASK(2);
    set.stateMask = TVIS_BOLD | TVIS_STATEIMAGEMASK;
    set.iImage = 3;
    set.iSelectedImage = 4;
    ASSERT_TRUE(SendMessageA(tree, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&set)));
    EXPECT_EQ(State(tools, TVIS_BOLD), TVIS_BOLD);
    EXPECT_EQ(State(tools, TVIS_STATEIMAGEMASK) >> 12, 2u);
    TVITEMA get{};
    get.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_CHILDREN | TVIF_STATE;
    get.hItem = part;
    get.stateMask = 0xFFFF;
    ASSERT_TRUE(SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&get)));
    EXPECT_EQ(get.cChildren, 1);
    get.hItem = tools;
    ASSERT_TRUE(SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&get)));
    EXPECT_EQ(get.iImage, 3);
    EXPECT_EQ(get.iSelectedImage, 4);
    EXPECT_EQ(get.cChildren, 0);
    EXPECT_EQ(get.state, TVIS_BOLD | INDEXTOSTATEIMAGEMASK(2));

    // Text is cut to the caller's buffer and terminated.
    EXPECT_EQ(Text(contour, 4), "Con");
    EXPECT_EQ(Text(contour, 1), "");
}

TEST_F(TreeView, HitTestNamesThePartUnderThePoint)
{
    const RECT label = ItemRect(part, true);
    const int mid = (label.top + label.bottom) / 2;
    RECT client{};
    GetClientRect(tree, &client);
    const int rowHeight = static_cast<int>(SendMessageA(tree, TVM_GETITEMHEIGHT, 0, 0));
    struct HitCase {
        const char* name;
        POINT pt;
        UINT flags;
        HTREEITEM item;
    };
    const HitCase cases[] = {
        {"label", {label.left + 2, mid}, TVHT_ONITEMLABEL, part},
        {"right_of_label", {label.right + 5, mid}, TVHT_ONITEMRIGHT, part},
        {"button", {label.left - 5, mid}, TVHT_ONITEMBUTTON, part},
        {"second_row", {label.left + 2, mid + rowHeight}, TVHT_ONITEMLABEL, tools},
        {"below_the_items", {label.left + 2, mid + 5 * rowHeight}, TVHT_NOWHERE, nullptr},
        {"above", {5, -3}, TVHT_ABOVE, nullptr},
        {"right_of_client", {client.right + 1, mid}, TVHT_TORIGHT, nullptr},
    };
    for (const HitCase& c : cases) {
        SCOPED_TRACE(c.name);
        TVHITTESTINFO hit{c.pt, 0, nullptr};
        const auto item = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
        EXPECT_EQ(hit.flags, c.flags);
        EXPECT_EQ(item, c.item);
        EXPECT_EQ(hit.hItem, c.item);
    }
}

TEST_F(TreeView, DraggingAPressedItemStartsADrag)
{
    const POINT from = ScreenOf(tree, LabelPoint(tools));
    HeadlessDrag(from, POINT{from.x + 20, from.y + 20}, 4);
    PumpUntilIdle();
    EXPECT_TRUE(SameHeard({Note(NM_SETFOCUS), Tree(TVN_BEGINDRAGA, 0, nullptr, tools)}));
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(TreeView, DestroyingTheTreeAnnouncesEveryItem)
{
    DestroyWindow(tree);
    EXPECT_EQ(Heard().size(), 4u);
    for (const Delivered& h : Heard()) {
        EXPECT_EQ(h.DetailOf("code"), TVN_DELETEITEMA);
    }
}

// Label editing in place: the parent hears TVN_BEGINLABELEDIT (and may
// refuse) and TVN_ENDLABELEDIT with the new text, or none when cancelled.
class TreeLabelEdit : public TreeView {
protected:
    void SetUp() override
    {
        TreeView::SetUp();
        answer = [this](NMHDR* header) -> std::optional<LRESULT> {
            if (header->code == TVN_BEGINLABELEDITA) {
                const auto* info = reinterpret_cast<NMTVDISPINFOA*>(header);
                told.push_back("begin " + std::string(info->item.pszText) + " " + std::to_string(info->item.lParam));
                return refuseBegin ? TRUE : FALSE;
            }
            if (header->code == TVN_ENDLABELEDITA) {
                const auto* info = reinterpret_cast<NMTVDISPINFOA*>(header);
                told.push_back(info->item.pszText == nullptr ? "end <none>" : "end " + std::string(info->item.pszText));
                return keepText ? TRUE : FALSE;
            }
            return std::nullopt;
        };
    }
    HWND Editor() { return reinterpret_cast<HWND>(SendMessageA(tree, TVM_GETEDITCONTROL, 0, 0)); }
    HWND EditLabel(HTREEITEM item)
    {
        return reinterpret_cast<HWND>(SendMessageA(tree, TVM_EDITLABELA, 0, reinterpret_cast<LPARAM>(item)));
    }

    std::vector<std::string> told;
    bool refuseBegin = false;
    bool keepText = true;
};

TEST_F(TreeLabelEdit, TypedTextEndsWithEnterOrIsDroppedWithEsc)
{
    HTREEITEM drill = Insert("Drill", TVI_ROOT, TVI_LAST, 42);
    HWND editor = EditLabel(drill);
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(Editor(), editor);
    EXPECT_EQ(Next(TVGN_CARET), drill) << "editing selects the item";
    EXPECT_EQ(GetFocus(), editor);
    EXPECT_EQ(GetParent(editor), tree);
    // The editor lies over the label and shows the whole text selected.
    RECT label = ItemRect(drill, true);
    RECT at{};
    GetWindowRect(editor, &at);
    MapWindowPoints(nullptr, tree, reinterpret_cast<POINT*>(&at), 2);
    EXPECT_EQ(at.left, label.left);
    EXPECT_EQ(at.top, label.top);
    EXPECT_EQ(SendMessageA(editor, EM_GETSEL, 0, 0), MAKELONG(0, 5));
    UpdateWindow(tree);
    const GdiSurface surface = GetWindowSurface(parent);
    RECT screen{};
    GetWindowRect(editor, &screen);
    RECT parentAt{};
    GetWindowRect(parent, &parentAt);
    const uint32_t corner = surface.pixels[static_cast<size_t>(screen.top - parentAt.top) * static_cast<size_t>(surface.stride) +
                                           static_cast<size_t>(screen.left - parentAt.left)];
    EXPECT_EQ(corner & 0xFFFFFFu, 0u) << "the editor's black border over the label";

    HeadlessTypeText("Peck drill");
    HeadlessPressKeys({VK_RETURN});
    PumpUntilIdle();
    EXPECT_EQ(told, (std::vector<std::string>{"begin Drill 42", "end Peck drill"}));
    EXPECT_EQ(Text(drill), "Peck drill");
    EXPECT_EQ(Editor(), nullptr);
    EXPECT_FALSE(IsWindow(editor));
    EXPECT_EQ(GetFocus(), tree) << "the focus comes back to the tree";

    told.clear();
    ASSERT_NE(EditLabel(drill), nullptr);
    HeadlessTypeText("Reamer");
    HeadlessPressKeys({VK_ESCAPE});
    PumpUntilIdle();
    EXPECT_EQ(told, (std::vector<std::string>{"begin Peck drill 42", "end <none>"}));
    EXPECT_EQ(Text(drill), "Peck drill");

    // A parent that answers FALSE keeps the old label.
    told.clear();
    keepText = false;
    ASSERT_NE(EditLabel(drill), nullptr);
    HeadlessTypeText("Tap");
    HeadlessPressKeys({VK_RETURN});
    PumpUntilIdle();
    EXPECT_EQ(told.back(), "end Tap");
    EXPECT_EQ(Text(drill), "Peck drill");
}

TEST_F(TreeLabelEdit, ParentMayRefuseAndLosingTheFocusKeepsTheText)
{
    refuseBegin = true;
    EXPECT_EQ(EditLabel(tools), nullptr);
    EXPECT_EQ(Editor(), nullptr);
    refuseBegin = false;

    HWND editor = EditLabel(tools);
    ASSERT_NE(editor, nullptr);
    SendMessageA(editor, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Tool store"));
    SetFocus(parent);
    PumpUntilIdle();
    EXPECT_EQ(told, (std::vector<std::string>{"begin Tools 0", "begin Tools 0", "end Tool store"}));
    EXPECT_EQ(Text(tools), "Tool store");
    EXPECT_FALSE(IsWindow(editor));
    EXPECT_EQ(GetFocus(), parent);

    // Deleting the item being edited ends the edit as cancelled first.
    told.clear();
    ASSERT_NE(EditLabel(tools), nullptr);
    Clear();
    SendMessageA(tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(tools));
    EXPECT_EQ(told.back(), "end <none>");
    EXPECT_EQ(Editor(), nullptr);
    ASSERT_FALSE(Heard().empty());
    EXPECT_EQ(Heard().front().DetailOf("code"), TVN_ENDLABELEDITA);
}

TEST_F(TreeLabelEdit, ASecondClickOnTheSelectedLabelEditsIt)
{
    struct Case {
        const char* name;
        DWORD style;
        bool doubleClick;
        bool edits;
    };
    const Case cases[] = {
        {"second_click", TVS_EDITLABELS, false, true},
        {"double_click_toggles_instead", TVS_EDITLABELS, true, false},
        {"without_the_style", 0, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetWindowLongPtrA(tree, GWL_STYLE, (GetWindowLongPtrA(tree, GWL_STYLE) & ~static_cast<LONG_PTR>(TVS_EDITLABELS)) | c.style);
        told.clear();
        SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(tools));
        const POINT at = ScreenOf(tree, LabelPoint(part));
        HeadlessClick(at);
        PumpUntilIdle();
        ASSERT_EQ(Next(TVGN_CARET), part);
        AdvanceWindowSystemTime(1000);
        PumpUntilIdle();
        EXPECT_EQ(Editor(), nullptr) << "the first click only selects";
        if (c.doubleClick) {
            HeadlessDoubleClick(at);
        } else {
            HeadlessClick(at);
        }
        PumpUntilIdle();
        EXPECT_EQ(Editor(), nullptr) << "not before the double-click time";
        AdvanceWindowSystemTime(GetDoubleClickTime());
        PumpUntilIdle();
        EXPECT_EQ(Editor() != nullptr, c.edits);
        EXPECT_EQ(told.empty(), !c.edits);
        SendMessageA(tree, TVM_ENDEDITLABELNOW, TRUE, 0);
        PumpUntilIdle();
        AdvanceWindowSystemTime(1000);
    }
}

} // namespace
} // namespace nuvex::controls::commontesting
