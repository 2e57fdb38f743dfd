// The tree view's label editing in place: an edit control over an item's
// label, asked for with TVN_BEGINLABELEDIT and reported with
// TVN_ENDLABELEDIT when Enter, Esc or the loss of the focus ends it.
#include <algorithm>
#include <utility>

#include "platform/controls/tree_model.h"

namespace nuvex::controls::tree {
namespace {

constexpr int kEditorSlack = 12; // room after the text, so typing does not scroll at once
constexpr int kEditorMinWidth = 40;

// The editor's procedure over the edit class: Enter and Esc end the edit
// instead of reaching the edit (or a dialog around the tree), and losing
// the focus keeps the text.
LRESULT CALLBACK EditorProc(HWND editor, UINT msg, WPARAM wParam, LPARAM lParam)
{
    HWND treeWindow = GetParent(editor);
    Tree* tree = treeWindow != nullptr ? StateOf<Tree>(treeWindow) : nullptr;
    WNDPROC base = tree != nullptr && tree->editorBase != nullptr ? tree->editorBase : DefWindowProcA;
    if (tree == nullptr || tree->editor != editor) {
        return CallWindowProcA(base, editor, msg, wParam, lParam);
    }
    switch (msg) {
    case WM_GETDLGCODE: return CallWindowProcA(base, editor, msg, wParam, lParam) | DLGC_WANTALLKEYS;
    case WM_KEYDOWN:
        if (wParam == VK_RETURN || wParam == VK_ESCAPE) {
            EndLabelEdit(treeWindow, *tree, wParam == VK_ESCAPE ? LabelEnd::Cancel : LabelEnd::Accept);
            return 0;
        }
        break;
    case WM_CHAR:
        if (wParam == '\r' || wParam == 0x1B) {
            return 0;
        }
        break;
    case WM_KILLFOCUS: {
        const LRESULT result = CallWindowProcA(base, editor, msg, wParam, lParam);
        if (StateOf<Tree>(treeWindow) == tree && tree->editor == editor) {
            EndLabelEdit(treeWindow, *tree, LabelEnd::Accept, EditorFocus::Leaving);
        }
        return result;
    }
    default: break;
    }
    return CallWindowProcA(base, editor, msg, wParam, lParam);
}

void FillDispInfo(NMTVDISPINFOA& nm, const Item& item)
{
    nm.item.mask = TVIF_HANDLE | TVIF_PARAM | TVIF_STATE | TVIF_TEXT;
    nm.item.hItem = Handle(item.id);
    nm.item.state = item.state;
    nm.item.stateMask = 0xFFFF;
    nm.item.lParam = item.lParam;
}

} // namespace

HWND BeginLabelEdit(HWND hwnd, Tree& tree, uintptr_t id)
{
    tree.editPending = 0;
    KillTimer(hwnd, kEditTimer);
    if (tree.editor != nullptr) {
        EndLabelEdit(hwnd, tree, LabelEnd::Accept);
        if (StateOf<Tree>(hwnd) != &tree) {
            return nullptr;
        }
    }
    Item* item = Find(tree, id);
    if (item == nullptr) {
        return nullptr;
    }
    if (tree.caret != id && !Select(hwnd, tree, id, TVC_UNKNOWN)) {
        return nullptr;
    }
    if (!IsWindow(hwnd) || (item = Find(tree, id)) == nullptr) {
        return nullptr;
    }
    std::string text = DisplayText(hwnd, *item);
    NMTVDISPINFOA nm{};
    FillDispInfo(nm, *item);
    nm.item.pszText = text.data();
    nm.item.cchTextMax = static_cast<int>(text.size() + 1);
    if (SendNotify(hwnd, TVN_BEGINLABELEDITA, &nm.hdr) != 0 || !IsWindow(hwnd) || (item = Find(tree, id)) == nullptr) {
        return nullptr;
    }
    EnsureVisible(hwnd, tree, id);
    const std::vector<Row> rows = VisibleRows(tree);
    const int row = RowOf(rows, id);
    if (row < 0) {
        return nullptr;
    }
    const RowLayout layout = LayoutRow(hwnd, tree, *item, rows[row].level, row);
    RECT client{};
    GetClientRect(hwnd, &client);
    HFONT font = ControlFont(tree.font);
    const int width = std::max(TextWidth(font, text) + kEditorSlack, kEditorMinWidth);
    const int right = std::min(static_cast<int>(client.right), static_cast<int>(layout.label.left) + width);
    HWND editor = CreateWindowExA(0, "Edit", text.c_str(), WS_CHILD | WS_BORDER | ES_AUTOHSCROLL, layout.label.left,
                                  layout.label.top, std::max(right - static_cast<int>(layout.label.left), 1),
                                  layout.label.bottom - layout.label.top, hwnd, nullptr, nullptr, nullptr);
    if (editor == nullptr) {
        return nullptr;
    }
    SendMessageA(editor, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    tree.editorBase = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(editor, GWL_WNDPROC));
    SetWindowLongPtrA(editor, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(&EditorProc));
    tree.editor = editor;
    tree.editing = id;
    SendMessageA(editor, EM_SETSEL, 0, -1);
    ShowWindow(editor, SW_SHOW);
    SetFocus(editor);
    return IsWindow(editor) ? editor : nullptr;
}

bool EndLabelEdit(HWND hwnd, Tree& tree, LabelEnd end, EditorFocus focus)
{
    const bool cancel = end == LabelEnd::Cancel;
    const bool focusLeaving = focus == EditorFocus::Leaving;
    if (tree.editor == nullptr || tree.endingEdit) {
        return false;
    }
    tree.endingEdit = true;
    HWND editor = tree.editor;
    const uintptr_t id = tree.editing;
    std::string text;
    if (!cancel) {
        text.resize(static_cast<size_t>(std::max(GetWindowTextLengthA(editor), 0)) + 1);
        text.resize(static_cast<size_t>(GetWindowTextA(editor, text.data(), static_cast<int>(text.size()))));
    }
    if (Item* item = Find(tree, id)) {
        NMTVDISPINFOA nm{};
        FillDispInfo(nm, *item);
        nm.item.pszText = cancel ? nullptr : text.data();
        nm.item.cchTextMax = cancel ? 0 : static_cast<int>(text.size() + 1);
        const LRESULT keep = SendNotify(hwnd, TVN_ENDLABELEDITA, &nm.hdr);
        if (!IsWindow(hwnd)) {
            return true;
        }
        Item* still = Find(tree, id);
        if (!cancel && keep != 0 && still != nullptr) {
            if (still->textCallback) {
                NMTVDISPINFOA set{};
                FillDispInfo(set, *still);
                set.item.mask = TVIF_HANDLE | TVIF_TEXT;
                set.item.pszText = text.data();
                SendNotify(hwnd, TVN_SETDISPINFOA, &set.hdr);
            } else {
                still->text = text;
            }
        }
    }
    if (!IsWindow(hwnd)) {
        return true;
    }
    tree.editor = nullptr;
    tree.editing = 0;
    if (focusLeaving) {
        // The focus is on its way to another window: destroying the editor
        // now would hand it to the tree first.
        PostMessageA(editor, WM_CLOSE, 0, 0);
    } else if (IsWindow(editor)) {
        DestroyWindow(editor);
    }
    tree.endingEdit = false;
    Redraw(hwnd);
    return true;
}

void ArmLabelEdit(HWND hwnd, Tree& tree, uintptr_t id)
{
    tree.editPending = id;
    SetTimer(hwnd, kEditTimer, GetDoubleClickTime(), nullptr);
}

void OnEditTimer(HWND hwnd, Tree& tree)
{
    KillTimer(hwnd, kEditTimer);
    const uintptr_t id = std::exchange(tree.editPending, 0);
    if (id != 0 && id == tree.caret && GetFocus() == hwnd) {
        BeginLabelEdit(hwnd, tree, id);
    }
}

} // namespace nuvex::controls::tree
