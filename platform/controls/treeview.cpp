// The tree view ("SysTreeView32"): items with text, images, state and
// state images, expansion, the caret selection and the TVN_*/NM_*
// notifications; the message handler. Layout and painting live in
// treeview_paint.cpp, mouse and keys in treeview_input.cpp.
#include <algorithm>
#include <cctype>
#include <cstring>
#include <utility>

#include "platform/controls/tree_model.h"

namespace nuvex::controls::tree {


Item* Find(Tree& tree, uintptr_t id)
{
    auto it = tree.items.find(id);
    return it == tree.items.end() ? nullptr : &it->second;
}

std::vector<uintptr_t>& ChildList(Tree& tree, uintptr_t parent)
{
    return parent == 0 ? tree.roots : tree.items.at(parent).children;
}

bool HasChildren(const Item& item)
{
    if (item.childrenFlag == kChildrenAuto) {
        return !item.children.empty();
    }
    return item.childrenFlag != 0 || !item.children.empty();
}


namespace {

void CollectRows(Tree& tree, const std::vector<uintptr_t>& ids, int level, std::vector<Row>& rows)
{
    for (uintptr_t id : ids) {
        rows.push_back(Row{id, level});
        Item& item = tree.items.at(id);
        if (IsExpanded(item)) {
            CollectRows(tree, item.children, level + 1, rows);
        }
    }
}

} // namespace

// The items a person can see by scrolling, top to bottom.
std::vector<Row> VisibleRows(Tree& tree)
{
    std::vector<Row> rows;
    CollectRows(tree, tree.roots, 0, rows);
    return rows;
}

int RowOf(const std::vector<Row>& rows, uintptr_t id)
{
    for (size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].id == id) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void FillNotifyItem(TVITEMA& out, const Item* item)
{
    out = TVITEMA{};
    if (item == nullptr) {
        return;
    }
    out.mask = TVIF_HANDLE | TVIF_STATE | TVIF_PARAM;
    out.hItem = Handle(item->id);
    out.state = item->state;
    out.stateMask = 0xFFFF;
    out.lParam = item->lParam;
}

LRESULT NotifyTree(HWND hwnd, Tree& tree, UINT code, UINT action, uintptr_t oldId, uintptr_t newId, POINT at)
{
    NMTREEVIEWA nm{};
    nm.action = action;
    FillNotifyItem(nm.itemOld, Find(tree, oldId));
    FillNotifyItem(nm.itemNew, Find(tree, newId));
    nm.ptDrag = at;
    return SendNotify(hwnd, code, &nm.hdr);
}

std::string DisplayText(HWND hwnd, Item& item)
{
    if (!item.textCallback) {
        return item.text;
    }
    char buffer[260] = {};
    NMTVDISPINFOA nm{};
    nm.item.mask = TVIF_TEXT;
    nm.item.hItem = Handle(item.id);
    nm.item.state = item.state;
    nm.item.lParam = item.lParam;
    nm.item.pszText = buffer;
    nm.item.cchTextMax = static_cast<int>(sizeof(buffer));
    SendNotify(hwnd, TVN_GETDISPINFOA, &nm.hdr);
    if (nm.item.pszText == nullptr || nm.item.pszText == LPSTR_TEXTCALLBACKA) {
        return {};
    }
    if (nm.item.pszText == buffer) {
        buffer[sizeof(buffer) - 1] = '\0';
    }
    return std::string(nm.item.pszText);
}

void Redraw(HWND hwnd) { InvalidateRect(hwnd, nullptr, TRUE); }

void ClampScroll(HWND hwnd, Tree& tree)
{
    const int count = static_cast<int>(VisibleRows(tree).size());
    RECT client{};
    GetClientRect(hwnd, &client);
    const int page = std::max(1, client.bottom / std::max(1, ItemHeight(tree)));
    tree.firstVisible = std::clamp(tree.firstVisible, 0, std::max(0, count - page));
}


// Opens the ancestors of `id` and scrolls it into the client area.
void EnsureVisible(HWND hwnd, Tree& tree, uintptr_t id)
{
    std::vector<uintptr_t> ancestors;
    for (Item* item = Find(tree, id); item != nullptr && item->parent != 0; item = Find(tree, item->parent)) {
        ancestors.push_back(item->parent);
    }
    for (auto it = ancestors.rbegin(); it != ancestors.rend(); ++it) {
        Item* ancestor = Find(tree, *it);
        if (ancestor != nullptr && !IsExpanded(*ancestor)) {
            Expand(hwnd, tree, *it, TVE_EXPAND, By::Program);
            if (!IsWindow(hwnd)) {
                return;
            }
        }
    }
    const std::vector<Row> rows = VisibleRows(tree);
    const int row = RowOf(rows, id);
    if (row < 0) {
        return;
    }
    RECT client{};
    GetClientRect(hwnd, &client);
    const int page = std::max(1, client.bottom / std::max(1, ItemHeight(tree)));
    if (row < tree.firstVisible) {
        tree.firstVisible = row;
    } else if (row >= tree.firstVisible + page) {
        tree.firstVisible = row - page + 1;
    }
}

// Moves the caret to `id` (0: none). Answers false when the parent vetoed.
bool Select(HWND hwnd, Tree& tree, uintptr_t id, UINT action)
{
    if (id == tree.caret) {
        return true;
    }
    const uintptr_t old = tree.caret;
    if (NotifyTree(hwnd, tree, TVN_SELCHANGINGA, action, old, id) != 0 || !IsWindow(hwnd)) {
        return false;
    }
    if (id != 0 && Find(tree, id) == nullptr) {
        return false; // deleted by the parent meanwhile
    }
    if (Item* previous = Find(tree, tree.caret)) {
        previous->state &= ~TVIS_SELECTED;
    }
    tree.caret = id;
    if (Item* item = Find(tree, id)) {
        item->state |= TVIS_SELECTED;
        EnsureVisible(hwnd, tree, id);
        if (!IsWindow(hwnd)) {
            return false;
        }
    }
    Redraw(hwnd);
    NotifyTree(hwnd, tree, TVN_SELCHANGEDA, action, Find(tree, old) != nullptr ? old : 0, tree.caret);
    return true;
}

bool IsDescendant(Tree& tree, uintptr_t id, uintptr_t ancestor)
{
    for (Item* item = Find(tree, id); item != nullptr; item = Find(tree, item->parent)) {
        if (item->parent == ancestor) {
            return true;
        }
    }
    return false;
}

void DeleteSubtree(HWND hwnd, Tree& tree, uintptr_t id);

// Expands, collapses or toggles `id`. A person's click or key always
// notifies; the message notifies until the item was expanded once.
bool Expand(HWND hwnd, Tree& tree, uintptr_t id, UINT code, By by)
{
    const bool byPerson = by == By::Person;
    Item* item = Find(tree, id);
    if (item == nullptr) {
        return false;
    }
    UINT action = code & TVE_TOGGLE;
    if (action == TVE_TOGGLE) {
        action = IsExpanded(*item) ? TVE_COLLAPSE : TVE_EXPAND;
    }
    if (action == 0) {
        return false;
    }
    const bool expand = action == TVE_EXPAND;
    if (!HasChildren(*item)) {
        return false;
    }
    if (expand == IsExpanded(*item) && (code & TVE_COLLAPSERESET) == 0) {
        return true;
    }
    const bool notify = byPerson || (item->state & TVIS_EXPANDEDONCE) == 0;
    if (notify) {
        if (NotifyTree(hwnd, tree, TVN_ITEMEXPANDINGA, action, 0, id) != 0 || !IsWindow(hwnd)) {
            return false;
        }
        item = Find(tree, id);
        if (item == nullptr) {
            return false;
        }
    }
    if (expand) {
        item->state |= TVIS_EXPANDED | TVIS_EXPANDEDONCE;
    } else {
        item->state &= ~TVIS_EXPANDED;
        if (tree.caret != 0 && IsDescendant(tree, tree.caret, id)) {
            Select(hwnd, tree, id, TVC_UNKNOWN);
            if (!IsWindow(hwnd) || (item = Find(tree, id)) == nullptr) {
                return false;
            }
        }
        if ((code & TVE_COLLAPSERESET) != 0) {
            const std::vector<uintptr_t> children = item->children;
            for (uintptr_t child : children) {
                DeleteSubtree(hwnd, tree, child);
            }
            if ((item = Find(tree, id)) == nullptr) {
                return false;
            }
            item->state &= ~TVIS_EXPANDEDONCE;
        }
    }
    ClampScroll(hwnd, tree);
    Redraw(hwnd);
    if (notify) {
        NotifyTree(hwnd, tree, TVN_ITEMEXPANDEDA, action, 0, id);
    }
    return true;
}

// Removes `id` and its descendants, announcing each (children first).
void DeleteSubtree(HWND hwnd, Tree& tree, uintptr_t id)
{
    Item* item = Find(tree, id);
    if (item == nullptr) {
        return;
    }
    const std::vector<uintptr_t> children = item->children;
    for (uintptr_t child : children) {
        DeleteSubtree(hwnd, tree, child);
    }
    NotifyTree(hwnd, tree, TVN_DELETEITEMA, 0, id, 0);
    if (!IsWindow(hwnd) || (item = Find(tree, id)) == nullptr) {
        return;
    }
    if (tree.caret == id) {
        tree.caret = 0;
    }
    if (tree.dropHilite == id) {
        tree.dropHilite = 0;
    }
    if (tree.hot == id) {
        tree.hot = 0;
    }
    if (tree.pressed == id) {
        tree.pressed = 0;
    }
    std::vector<uintptr_t>& siblings = ChildList(tree, item->parent);
    siblings.erase(std::remove(siblings.begin(), siblings.end(), id), siblings.end());
    if (item->parent != 0) {
        Item& parent = tree.items.at(item->parent);
        if (parent.children.empty() && parent.childrenFlag == kChildrenAuto) {
            parent.state &= ~TVIS_EXPANDED;
        }
    }
    tree.items.erase(id);
}

bool DeleteItem(HWND hwnd, Tree& tree, HTREEITEM handle)
{
    if (handle == nullptr || handle == TVI_ROOT) {
        // Everything goes; the caret simply vanishes.
        if (Item* caret = Find(tree, tree.caret)) {
            caret->state &= ~TVIS_SELECTED;
        }
        tree.caret = 0;
        const std::vector<uintptr_t> roots = tree.roots;
        for (uintptr_t id : roots) {
            DeleteSubtree(hwnd, tree, id);
            if (!IsWindow(hwnd)) {
                return false;
            }
        }
        tree.firstVisible = 0;
        Redraw(hwnd);
        return true;
    }
    const uintptr_t id = IdOf(handle);
    Item* item = Find(tree, id);
    if (item == nullptr) {
        return false;
    }
    if (tree.editing != 0 && (tree.editing == id || IsDescendant(tree, tree.editing, id))) {
        // The label being edited goes: the edit ends as if cancelled.
        EndLabelEdit(hwnd, tree, LabelEnd::Cancel);
        if (!IsWindow(hwnd) || (item = Find(tree, id)) == nullptr) {
            return false;
        }
    }
    if (tree.caret == id || IsDescendant(tree, tree.caret, id)) {
        // The caret moves to the next sibling, else the previous, else the parent.
        const std::vector<uintptr_t>& siblings = ChildList(tree, item->parent);
        const auto at = std::find(siblings.begin(), siblings.end(), id);
        uintptr_t next = item->parent;
        if (at + 1 != siblings.end()) {
            next = *(at + 1);
        } else if (at != siblings.begin()) {
            next = *(at - 1);
        }
        if (!Select(hwnd, tree, next, TVC_UNKNOWN)) {
            if (!IsWindow(hwnd)) {
                return false;
            }
            if (Item* caret = Find(tree, tree.caret)) {
                caret->state &= ~TVIS_SELECTED;
            }
            tree.caret = 0;
        }
    }
    DeleteSubtree(hwnd, tree, id);
    if (!IsWindow(hwnd)) {
        return false;
    }
    ClampScroll(hwnd, tree);
    Redraw(hwnd);
    return true;
}

int CompareNoCase(const std::string& a, const std::string& b)
{
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        const int ca = std::tolower(static_cast<unsigned char>(a[i]));
        const int cb = std::tolower(static_cast<unsigned char>(b[i]));
        if (ca != cb) {
            return ca < cb ? -1 : 1;
        }
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

bool ApplyItem(Tree& tree, Item& item, const TVITEMA& in)
{
    if ((in.mask & TVIF_TEXT) != 0) {
        item.textCallback = in.pszText == LPSTR_TEXTCALLBACKA;
        item.text = item.textCallback || in.pszText == nullptr ? std::string() : std::string(in.pszText);
    }
    if ((in.mask & TVIF_IMAGE) != 0) {
        item.image = in.iImage;
    }
    if ((in.mask & TVIF_SELECTEDIMAGE) != 0) {
        item.selectedImage = in.iSelectedImage;
    }
    if ((in.mask & TVIF_PARAM) != 0) {
        item.lParam = in.lParam;
    }
    if ((in.mask & TVIF_CHILDREN) != 0) {
        item.childrenFlag = in.cChildren;
    }
    if ((in.mask & TVIF_STATE) != 0) {
        const UINT before = item.state;
        item.state = (item.state & ~in.stateMask) | (in.state & in.stateMask);
        if (((before ^ item.state) & TVIS_BOLD) != 0) {
            (void)tree; // the bold font is made when painting needs it
        }
    }
    return true;
}

HTREEITEM InsertItem(HWND hwnd, Tree& tree, const TVINSERTSTRUCTA* insert)
{
    if (insert == nullptr) {
        return nullptr;
    }
    uintptr_t parent = 0;
    if (insert->hParent != nullptr && insert->hParent != TVI_ROOT) {
        if (Find(tree, insert->hParent) == nullptr) {
            return nullptr;
        }
        parent = IdOf(insert->hParent);
    }
    Item item;
    item.id = tree.nextId;
    tree.nextId += 0x10;
    item.parent = parent;
    ApplyItem(tree, item, insert->item);
    item.state &= ~(TVIS_SELECTED | TVIS_EXPANDEDONCE);
    std::vector<uintptr_t>& siblings = ChildList(tree, parent);
    auto position = siblings.end();
    const HTREEITEM after = insert->hInsertAfter;
    if (after == TVI_FIRST) {
        position = siblings.begin();
    } else if (after == TVI_SORT) {
        const std::string text = item.textCallback ? std::string() : item.text;
        position = std::find_if(siblings.begin(), siblings.end(), [&](uintptr_t other) {
            const Item& o = tree.items.at(other);
            return CompareNoCase(o.textCallback ? std::string() : o.text, text) > 0;
        });
    } else if (after != TVI_LAST && after != nullptr) {
        auto found = std::find(siblings.begin(), siblings.end(), IdOf(after));
        if (found != siblings.end()) {
            position = found + 1;
        }
    }
    const uintptr_t id = item.id;
    siblings.insert(position, id);
    tree.items.emplace(id, std::move(item));
    Redraw(hwnd);
    return Handle(id);
}

BOOL GetItem(HWND hwnd, Tree& tree, TVITEMA* out)
{
    if (out == nullptr) {
        return FALSE;
    }
    Item* item = Find(tree, out->hItem);
    if (item == nullptr) {
        return FALSE;
    }
    if ((out->mask & TVIF_TEXT) != 0) {
        CopyOut(DisplayText(hwnd, *item), out->pszText, out->cchTextMax);
        if ((item = Find(tree, out->hItem)) == nullptr) {
            return FALSE;
        }
    }
    if ((out->mask & TVIF_IMAGE) != 0) {
        out->iImage = item->image;
    }
    if ((out->mask & TVIF_SELECTEDIMAGE) != 0) {
        out->iSelectedImage = item->selectedImage;
    }
    if ((out->mask & TVIF_PARAM) != 0) {
        out->lParam = item->lParam;
    }
    if ((out->mask & TVIF_STATE) != 0) {
        out->state = item->state & out->stateMask;
    }
    if ((out->mask & TVIF_CHILDREN) != 0) {
        out->cChildren = item->childrenFlag == kChildrenAuto ? (item->children.empty() ? 0 : 1) : item->childrenFlag;
    }
    return TRUE;
}

LRESULT NextItem(Tree& tree, UINT flag, HTREEITEM handle)
{
    const uintptr_t id = IdOf(handle);
    auto result = [](uintptr_t found) { return reinterpret_cast<LRESULT>(Handle(found)); };
    switch (flag) {
    case TVGN_ROOT: return result(tree.roots.empty() ? 0 : tree.roots.front());
    case TVGN_CARET: return result(tree.caret);
    case TVGN_DROPHILITE: return result(tree.dropHilite);
    case TVGN_CHILD: {
        if (handle == nullptr || handle == TVI_ROOT) {
            return result(tree.roots.empty() ? 0 : tree.roots.front());
        }
        Item* item = Find(tree, id);
        return result(item == nullptr || item->children.empty() ? 0 : item->children.front());
    }
    case TVGN_PARENT: {
        Item* item = Find(tree, id);
        return result(item == nullptr ? 0 : item->parent);
    }
    case TVGN_NEXT:
    case TVGN_PREVIOUS: {
        Item* item = Find(tree, id);
        if (item == nullptr) {
            return 0;
        }
        const std::vector<uintptr_t>& siblings = ChildList(tree, item->parent);
        const auto at = std::find(siblings.begin(), siblings.end(), id);
        if (flag == TVGN_NEXT) {
            return result(at + 1 == siblings.end() ? 0 : *(at + 1));
        }
        return result(at == siblings.begin() ? 0 : *(at - 1));
    }
    case TVGN_FIRSTVISIBLE:
    case TVGN_LASTVISIBLE:
    case TVGN_NEXTVISIBLE:
    case TVGN_PREVIOUSVISIBLE: {
        const std::vector<Row> rows = VisibleRows(tree);
        if (rows.empty()) {
            return 0;
        }
        if (flag == TVGN_FIRSTVISIBLE) {
            return result(rows[std::min<size_t>(tree.firstVisible, rows.size() - 1)].id);
        }
        if (flag == TVGN_LASTVISIBLE) {
            return result(rows.back().id);
        }
        const int row = RowOf(rows, id);
        if (row < 0) {
            return 0;
        }
        const int next = flag == TVGN_NEXTVISIBLE ? row + 1 : row - 1;
        return next < 0 || next >= static_cast<int>(rows.size()) ? 0 : result(rows[next].id);
    }
    default: return 0;
    }
}

LRESULT HandleTree(HWND hwnd, Tree& tree, UINT msg, WPARAM wParam, LPARAM lParam);

} // namespace nuvex::controls::tree

namespace nuvex::controls {

LRESULT TreeViewProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return StatefulProc<tree::Tree, tree::HandleTree>(hwnd, msg, wParam, lParam);
}

} // namespace nuvex::controls

namespace nuvex::controls::tree {

LRESULT HandleTree(HWND hwnd, Tree& tree, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case TVM_INSERTITEMA: return reinterpret_cast<LRESULT>(InsertItem(hwnd, tree, reinterpret_cast<const TVINSERTSTRUCTA*>(lParam)));
    case TVM_DELETEITEM: return DeleteItem(hwnd, tree, reinterpret_cast<HTREEITEM>(lParam)) ? TRUE : FALSE;
    case TVM_EXPAND: return Expand(hwnd, tree, static_cast<uintptr_t>(lParam), static_cast<UINT>(wParam), By::Program) ? TRUE : FALSE;
    case TVM_GETITEMRECT: {
        auto* rect = reinterpret_cast<RECT*>(lParam);
        if (rect == nullptr) {
            return FALSE;
        }
        HTREEITEM handle{};
        std::memcpy(&handle, rect, sizeof(handle));
        const std::vector<Row> rows = VisibleRows(tree);
        const int row = RowOf(rows, IdOf(handle));
        if (row < 0) {
            return FALSE;
        }
        const RowLayout l = LayoutRow(hwnd, tree, tree.items.at(rows[row].id), rows[row].level, row);
        *rect = wParam != 0 ? l.label : l.row;
        return TRUE;
    }
    case TVM_GETCOUNT: return static_cast<LRESULT>(tree.items.size());
    case TVM_GETINDENT: return tree.indent;
    case TVM_SETINDENT:
        tree.indent = std::max(static_cast<int>(wParam), 0);
        Redraw(hwnd);
        return 0;
    case TVM_GETIMAGELIST:
        return reinterpret_cast<LRESULT>(wParam == TVSIL_STATE ? tree.stateImages : wParam == TVSIL_NORMAL ? tree.normalImages : nullptr);
    case TVM_SETIMAGELIST: {
        HIMAGELIST* slot = wParam == TVSIL_STATE ? &tree.stateImages : wParam == TVSIL_NORMAL ? &tree.normalImages : nullptr;
        if (slot == nullptr) {
            return 0;
        }
        HIMAGELIST old = std::exchange(*slot, reinterpret_cast<HIMAGELIST>(lParam));
        Redraw(hwnd);
        return reinterpret_cast<LRESULT>(old);
    }
    case TVM_GETNEXTITEM: return NextItem(tree, static_cast<UINT>(wParam), reinterpret_cast<HTREEITEM>(lParam));
    case TVM_SELECTITEM: {
        const auto handle = reinterpret_cast<HTREEITEM>(lParam);
        if (handle != nullptr && Find(tree, handle) == nullptr) {
            return FALSE;
        }
        switch (wParam) {
        case TVGN_CARET: return Select(hwnd, tree, IdOf(handle), TVC_UNKNOWN) ? TRUE : FALSE;
        case TVGN_DROPHILITE:
            if (Item* old = Find(tree, tree.dropHilite)) {
                old->state &= ~TVIS_DROPHILITED;
            }
            tree.dropHilite = IdOf(handle);
            if (Item* item = Find(tree, handle)) {
                item->state |= TVIS_DROPHILITED;
            }
            Redraw(hwnd);
            return TRUE;
        case TVGN_FIRSTVISIBLE: {
            EnsureVisible(hwnd, tree, IdOf(handle));
            const int row = RowOf(VisibleRows(tree), IdOf(handle));
            if (row >= 0) {
                tree.firstVisible = row;
                ClampScroll(hwnd, tree);
            }
            Redraw(hwnd);
            return TRUE;
        }
        default: return FALSE;
        }
    }
    case TVM_GETITEMA: return GetItem(hwnd, tree, reinterpret_cast<TVITEMA*>(lParam));
    case TVM_SETITEMA: {
        const auto* in = reinterpret_cast<const TVITEMA*>(lParam);
        Item* item = in == nullptr ? nullptr : Find(tree, in->hItem);
        if (item == nullptr) {
            return FALSE;
        }
        ApplyItem(tree, *item, *in);
        Redraw(hwnd);
        return TRUE;
    }
    case TVM_GETITEMSTATE: {
        Item* item = Find(tree, reinterpret_cast<HTREEITEM>(wParam));
        return item == nullptr ? 0 : static_cast<LRESULT>(item->state & static_cast<UINT>(lParam));
    }
    case TVM_GETVISIBLECOUNT: {
        RECT client{};
        GetClientRect(hwnd, &client);
        return client.bottom / std::max(1, ItemHeight(tree));
    }
    case TVM_HITTEST: return reinterpret_cast<LRESULT>(HitTest(hwnd, tree, reinterpret_cast<TVHITTESTINFO*>(lParam)));
    case TVM_ENSUREVISIBLE:
        if (Find(tree, reinterpret_cast<HTREEITEM>(lParam)) == nullptr) {
            return FALSE;
        }
        EnsureVisible(hwnd, tree, static_cast<uintptr_t>(lParam));
        Redraw(hwnd);
        return TRUE;
    case TVM_SORTCHILDREN: {
        const auto handle = reinterpret_cast<HTREEITEM>(lParam);
        const uintptr_t parent = handle == nullptr || handle == TVI_ROOT ? 0 : IdOf(handle);
        if (parent != 0 && Find(tree, parent) == nullptr) {
            return FALSE;
        }
        auto sortLevel = [&](auto&& self, uintptr_t of) -> void {
            std::vector<uintptr_t>& list = ChildList(tree, of);
            std::stable_sort(list.begin(), list.end(), [&](uintptr_t a, uintptr_t b) {
                return CompareNoCase(tree.items.at(a).text, tree.items.at(b).text) < 0;
            });
            if (wParam != 0) {
                for (uintptr_t child : list) {
                    self(self, child);
                }
            }
        };
        sortLevel(sortLevel, parent);
        Redraw(hwnd);
        return TRUE;
    }
    case TVM_SETITEMHEIGHT: {
        const int old = ItemHeight(tree);
        tree.itemHeight = static_cast<int>(static_cast<intptr_t>(wParam)) <= 0 ? 0 : static_cast<int>(wParam);
        Redraw(hwnd);
        return old;
    }
    case TVM_GETITEMHEIGHT: return ItemHeight(tree);
    case TVM_EDITLABELA:
        return reinterpret_cast<LRESULT>(BeginLabelEdit(hwnd, tree, static_cast<uintptr_t>(lParam)));
    case TVM_GETEDITCONTROL: return reinterpret_cast<LRESULT>(tree.editor);
    case TVM_ENDEDITLABELNOW: return EndLabelEdit(hwnd, tree, wParam != 0 ? LabelEnd::Cancel : LabelEnd::Accept) ? TRUE : FALSE;
    case WM_TIMER:
        if (wParam == kEditTimer) {
            OnEditTimer(hwnd, tree);
        }
        return 0;
    case TVM_SETBKCOLOR: return static_cast<LRESULT>(std::exchange(tree.background, static_cast<COLORREF>(lParam)));
    case TVM_GETBKCOLOR: return static_cast<LRESULT>(tree.background);
    case TVM_SETTEXTCOLOR: return static_cast<LRESULT>(std::exchange(tree.textColour, static_cast<COLORREF>(lParam)));
    case TVM_GETTEXTCOLOR: return static_cast<LRESULT>(tree.textColour);

    case WM_SETFONT:
        tree.font = reinterpret_cast<HFONT>(wParam);
        DropBoldFont(tree);
        if (lParam != 0) {
            Redraw(hwnd);
        }
        return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(tree.font);
    case WM_GETDLGCODE: return kWantArrows | kWantChars;
    case WM_SETFOCUS:
        tree.focused = true;
        Redraw(hwnd);
        SendSimpleNotify(hwnd, NM_SETFOCUS);
        return 0;
    case WM_KILLFOCUS:
        tree.focused = false;
        Redraw(hwnd);
        SendSimpleNotify(hwnd, NM_KILLFOCUS);
        return 0;
    case WM_LBUTTONDOWN: OnButtonDown(hwnd, tree, lParam, Button::Left); return 0;
    case WM_RBUTTONDOWN: OnButtonDown(hwnd, tree, lParam, Button::Right); return 0;
    case WM_LBUTTONUP: OnButtonUp(hwnd, tree, lParam, Button::Left); return 0;
    case WM_RBUTTONUP: OnButtonUp(hwnd, tree, lParam, Button::Right); return 0;
    case WM_LBUTTONDBLCLK: OnDoubleClick(hwnd, tree, lParam); return 0;
    case WM_RBUTTONDBLCLK: SendSimpleNotify(hwnd, NM_RDBLCLK); return 0;
    case WM_MOUSEMOVE: OnMouseMove(hwnd, tree, lParam); return 0;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lParam) != hwnd) {
            tree.leftDown = tree.rightDown = false;
            tree.pressed = 0;
        }
        return 0;
    case WM_KEYDOWN: OnKeyDown(hwnd, tree, wParam); return 0;
    case WM_MOUSEWHEEL:
        tree.firstVisible -= GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA * kWheelRows;
        ClampScroll(hwnd, tree);
        Redraw(hwnd);
        return 0;
    case WM_SIZE:
        ClampScroll(hwnd, tree);
        Redraw(hwnd);
        return 0;
    case WM_ERASEBKGND: return TRUE;
    case WM_PAINT: {
        PAINTSTRUCT ps{};
        HDC dc = BeginPaint(hwnd, &ps);
        if (dc != nullptr) {
            Paint(hwnd, tree, dc);
        }
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_DESTROY:
        // The editor goes with the tree, without a word.
        tree.editor = nullptr;
        tree.editing = 0;
        DeleteItem(hwnd, tree, TVI_ROOT);
        return 0;
    case WM_NCDESTROY: DropBoldFont(tree); return 0;
    default: return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

} // namespace nuvex::controls::tree
