// The tree view ("SysTreeView32"): items with text, images, state and
// state images, expansion, the caret selection, hit-testing, painting and
// the TVN_*/NM_* notifications in the order clicks and keys produce them.
//
// Item handles are numbers that are never reused within a tree, so a
// stale handle fails cleanly instead of reaching another item.
#include <algorithm>
#include <cstring>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/controls/control_support.h"

namespace nuvex::controls {
namespace {

constexpr int kDefaultIndent = 19;
constexpr int kDragDistance = 4;      // pixels a pressed mouse moves before a drag starts
constexpr int kWheelRows = 3;         // rows per wheel notch
constexpr int kLabelPadding = 2;      // pixels left and right of a label's text
constexpr int kImageGap = 3;          // pixels between an image and the label
constexpr int kButtonSize = 9;        // the expand button's square
constexpr LRESULT kWantArrows = 0x0001;
constexpr LRESULT kWantChars = 0x0080;
constexpr int kChildrenAuto = -2;     // cChildren not given: counted from the children

struct Item {
    uintptr_t id = 0;
    uintptr_t parent = 0; // 0 for the roots
    std::vector<uintptr_t> children;
    std::string text;
    bool textCallback = false;
    int image = 0;
    int selectedImage = 0;
    int childrenFlag = kChildrenAuto;
    UINT state = 0;
    LPARAM lParam = 0;
};

struct Row {
    uintptr_t id;
    int level;
};

struct Tree {
    std::unordered_map<uintptr_t, Item> items;
    std::vector<uintptr_t> roots;
    uintptr_t nextId = 0x1000;
    uintptr_t caret = 0;
    uintptr_t dropHilite = 0;
    uintptr_t hot = 0;
    int firstVisible = 0; // row index at the top of the client area
    int indent = kDefaultIndent;
    int itemHeight = 0; // 0: from the font and the images
    HIMAGELIST normalImages = nullptr;
    HIMAGELIST stateImages = nullptr;
    HFONT font = nullptr;
    HFONT boldFont = nullptr;
    COLORREF background = CLR_NONE; // CLR_NONE: the system colours
    COLORREF textColour = CLR_NONE;
    bool focused = false;
    // Mouse press in progress.
    uintptr_t pressed = 0;
    bool leftDown = false;
    bool rightDown = false;
    POINT downAt{};
};

HTREEITEM Handle(uintptr_t id) { return reinterpret_cast<HTREEITEM>(id); }
uintptr_t IdOf(HTREEITEM item) { return reinterpret_cast<uintptr_t>(item); }

Item* Find(Tree& tree, uintptr_t id)
{
    auto it = tree.items.find(id);
    return it == tree.items.end() ? nullptr : &it->second;
}
Item* Find(Tree& tree, HTREEITEM item) { return Find(tree, IdOf(item)); }

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

bool IsExpanded(const Item& item) { return (item.state & TVIS_EXPANDED) != 0; }

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

HFONT BoldFont(Tree& tree)
{
    if (tree.boldFont == nullptr) {
        LOGFONTA font{};
        GetObjectA(ControlFont(tree.font), sizeof(font), &font);
        font.lfWeight = 700;
        tree.boldFont = CreateFontIndirectA(&font);
    }
    return tree.boldFont;
}

void DropBoldFont(Tree& tree)
{
    if (tree.boldFont != nullptr) {
        DeleteObject(tree.boldFont);
        tree.boldFont = nullptr;
    }
}

SIZE ImageSize(HIMAGELIST list)
{
    SIZE size{0, 0};
    int cx = 0;
    int cy = 0;
    if (list != nullptr && ImageList_GetIconSize(list, &cx, &cy)) {
        size = SIZE{cx, cy};
    }
    return size;
}

int ItemHeight(Tree& tree)
{
    if (tree.itemHeight > 0) {
        return tree.itemHeight;
    }
    const int images = std::max(ImageSize(tree.normalImages).cy, ImageSize(tree.stateImages).cy);
    return std::max(LineHeight(tree.font) + 3, images + 1);
}

bool RootLines(HWND hwnd)
{
    const auto style = static_cast<DWORD>(GetWindowLongPtrA(hwnd, GWL_STYLE));
    return (style & TVS_LINESATROOT) != 0 && (style & (TVS_HASLINES | TVS_HASBUTTONS)) != 0;
}

std::string DisplayText(HWND hwnd, Tree& tree, Item& item);

// Where the parts of a row lie, in client coordinates.
struct RowLayout {
    RECT row;
    RECT button; // empty when the row has no button column
    RECT stateImage;
    RECT image;
    RECT label;
};

RowLayout LayoutRow(HWND hwnd, Tree& tree, Item& item, int level, int rowIndex)
{
    RECT client{};
    GetClientRect(hwnd, &client);
    const int height = ItemHeight(tree);
    const int top = (rowIndex - tree.firstVisible) * height;
    RowLayout l{};
    l.row = RECT{0, top, client.right, top + height};
    const int x = (level + (RootLines(hwnd) ? 1 : 0)) * tree.indent;
    if (x >= tree.indent) {
        l.button = RECT{x - tree.indent, top, x, top + height};
    }
    int left = x;
    const UINT stateIndex = (item.state & TVIS_STATEIMAGEMASK) >> 12;
    const SIZE stateSize = ImageSize(tree.stateImages);
    if (stateIndex != 0 && stateSize.cx > 0) {
        l.stateImage = RECT{left, top, left + stateSize.cx, top + height};
        left += stateSize.cx;
    } else {
        l.stateImage = RECT{left, top, left, top + height};
    }
    const SIZE imageSize = ImageSize(tree.normalImages);
    if (imageSize.cx > 0) {
        l.image = RECT{left, top, left + imageSize.cx, top + height};
        left += imageSize.cx + kImageGap;
    } else {
        l.image = RECT{left, top, left, top + height};
    }
    const HFONT font = (item.state & TVIS_BOLD) != 0 ? BoldFont(tree) : tree.font;
    const int textWidth = TextWidth(font, DisplayText(hwnd, tree, item));
    l.label = RECT{left, top, left + textWidth + 2 * kLabelPadding, top + height};
    return l;
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

LRESULT NotifyTree(HWND hwnd, Tree& tree, UINT code, UINT action, uintptr_t oldId, uintptr_t newId,
                   POINT at = POINT{0, 0})
{
    NMTREEVIEWA nm{};
    nm.action = action;
    FillNotifyItem(nm.itemOld, Find(tree, oldId));
    FillNotifyItem(nm.itemNew, Find(tree, newId));
    nm.ptDrag = at;
    return SendNotify(hwnd, code, &nm.hdr);
}

std::string DisplayText(HWND hwnd, [[maybe_unused]] Tree& tree, Item& item)
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

bool Expand(HWND hwnd, Tree& tree, uintptr_t id, UINT code, bool byPerson);

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
            Expand(hwnd, tree, *it, TVE_EXPAND, false);
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
bool Expand(HWND hwnd, Tree& tree, uintptr_t id, UINT code, bool byPerson)
{
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
        CopyOut(DisplayText(hwnd, tree, *item), out->pszText, out->cchTextMax);
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

HTREEITEM HitTest(HWND hwnd, Tree& tree, TVHITTESTINFO* info)
{
    if (info == nullptr) {
        return nullptr;
    }
    info->hItem = nullptr;
    RECT client{};
    GetClientRect(hwnd, &client);
    const POINT pt = info->pt;
    UINT flags = 0;
    if (pt.x < client.left) {
        flags |= TVHT_TOLEFT;
    } else if (pt.x >= client.right) {
        flags |= TVHT_TORIGHT;
    }
    if (pt.y < client.top) {
        flags |= TVHT_ABOVE;
    } else if (pt.y >= client.bottom) {
        flags |= TVHT_BELOW;
    }
    if (flags != 0) {
        info->flags = flags;
        return nullptr;
    }
    const std::vector<Row> rows = VisibleRows(tree);
    const int row = tree.firstVisible + pt.y / std::max(1, ItemHeight(tree));
    if (row < 0 || row >= static_cast<int>(rows.size())) {
        info->flags = TVHT_NOWHERE;
        return nullptr;
    }
    Item& item = tree.items.at(rows[row].id);
    const RowLayout l = LayoutRow(hwnd, tree, item, rows[row].level, row);
    const auto style = static_cast<DWORD>(GetWindowLongPtrA(hwnd, GWL_STYLE));
    if (pt.x >= l.label.right) {
        flags = TVHT_ONITEMRIGHT;
    } else if (pt.x >= l.label.left) {
        flags = TVHT_ONITEMLABEL;
    } else if (pt.x >= l.image.left && l.image.right > l.image.left) {
        flags = TVHT_ONITEMICON;
    } else if (pt.x >= l.stateImage.left && l.stateImage.right > l.stateImage.left) {
        flags = TVHT_ONITEMSTATEICON;
    } else if (pt.x >= l.button.left && l.button.right > l.button.left && (style & TVS_HASBUTTONS) != 0 &&
               HasChildren(item)) {
        flags = TVHT_ONITEMBUTTON;
    } else {
        flags = TVHT_ONITEMINDENT;
    }
    info->flags = flags;
    info->hItem = Handle(item.id);
    return info->hItem;
}

// Painting ---------------------------------------------------------------------

void PaintButton(HDC dc, const RECT& area, bool expanded)
{
    const int cx = (area.left + area.right) / 2;
    const int cy = (area.top + area.bottom) / 2;
    RECT box{cx - kButtonSize / 2, cy - kButtonSize / 2, cx + kButtonSize / 2 + 1, cy + kButtonSize / 2 + 1};
    FillSolidRect(dc, &box, GetSysColor(COLOR_WINDOW));
    FrameRect(dc, &box, GetSysColorBrush(COLOR_BTNSHADOW));
    RECT minus{box.left + 2, cy, box.right - 2, cy + 1};
    FillSolidRect(dc, &minus, GetSysColor(COLOR_WINDOWTEXT));
    if (!expanded) {
        RECT bar{cx, box.top + 2, cx + 1, box.bottom - 2};
        FillSolidRect(dc, &bar, GetSysColor(COLOR_WINDOWTEXT));
    }
}

void Paint(HWND hwnd, Tree& tree, HDC dc)
{
    RECT client{};
    GetClientRect(hwnd, &client);
    const COLORREF window = tree.background != CLR_NONE ? tree.background : GetSysColor(COLOR_WINDOW);
    const COLORREF windowText = tree.textColour != CLR_NONE ? tree.textColour : GetSysColor(COLOR_WINDOWTEXT);
    FillSolidRect(dc, &client, window);
    const auto style = static_cast<DWORD>(GetWindowLongPtrA(hwnd, GWL_STYLE));
    const std::vector<Row> rows = VisibleRows(tree);
    SetBkMode(dc, TRANSPARENT);
    HGDIOBJ oldFont = SelectObject(dc, ControlFont(tree.font));
    HPEN linePen = CreatePen(PS_DOT, 1, GetSysColor(COLOR_BTNSHADOW));
    HGDIOBJ oldPen = SelectObject(dc, linePen);
    const int height = ItemHeight(tree);
    for (int row = tree.firstVisible; row < static_cast<int>(rows.size()); ++row) {
        if ((row - tree.firstVisible) * height >= client.bottom) {
            break;
        }
        Item& item = tree.items.at(rows[row].id);
        const RowLayout l = LayoutRow(hwnd, tree, item, rows[row].level, row);
        const int midY = (l.row.top + l.row.bottom) / 2;
        if ((style & TVS_HASLINES) != 0 && l.button.right > l.button.left) {
            const int midX = (l.button.left + l.button.right) / 2;
            MoveToEx(dc, midX, l.row.top, nullptr);
            LineTo(dc, midX, l.row.bottom);
            MoveToEx(dc, midX, midY, nullptr);
            LineTo(dc, l.button.right, midY);
        }
        if ((style & TVS_HASBUTTONS) != 0 && l.button.right > l.button.left && HasChildren(item)) {
            PaintButton(dc, l.button, IsExpanded(item));
        }
        const UINT stateIndex = (item.state & TVIS_STATEIMAGEMASK) >> 12;
        if (stateIndex != 0 && tree.stateImages != nullptr) {
            ImageList_Draw(tree.stateImages, static_cast<int>(stateIndex), dc, l.stateImage.left,
                           l.row.top + (height - ImageSize(tree.stateImages).cy) / 2, ILD_TRANSPARENT);
        }
        const bool selected = (item.state & (TVIS_SELECTED | TVIS_DROPHILITED)) != 0;
        if (tree.normalImages != nullptr) {
            const int image = selected ? item.selectedImage : item.image;
            ImageList_Draw(tree.normalImages, image, dc, l.image.left,
                           l.row.top + (height - ImageSize(tree.normalImages).cy) / 2,
                           ILD_TRANSPARENT | (item.state & TVIS_OVERLAYMASK));
        }
        COLORREF text = windowText;
        const bool showSelection = tree.focused || (style & TVS_SHOWSELALWAYS) != 0 ||
                                   (item.state & TVIS_DROPHILITED) != 0;
        if (selected && showSelection) {
            const bool active = tree.focused || (item.state & TVIS_DROPHILITED) != 0;
            FillSolidRect(dc, &l.label, GetSysColor(active ? COLOR_HIGHLIGHT : COLOR_BTNFACE));
            text = GetSysColor(active ? COLOR_HIGHLIGHTTEXT : COLOR_BTNTEXT);
        }
        SetTextColor(dc, text);
        SelectObject(dc, (item.state & TVIS_BOLD) != 0 ? BoldFont(tree) : ControlFont(tree.font));
        RECT textRect = l.label;
        textRect.left += kLabelPadding;
        const std::string label = DisplayText(hwnd, tree, item);
        DrawTextA(dc, label.c_str(), static_cast<int>(label.size()), &textRect,
                  DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        if (tree.focused && item.id == tree.caret) {
            DrawFocusRect(dc, &l.label);
        }
    }
    SelectObject(dc, oldPen);
    DeleteObject(linePen);
    SelectObject(dc, oldFont);
}

// Input ------------------------------------------------------------------------------

POINT ScreenPoint(HWND hwnd, POINT client)
{
    ClientToScreen(hwnd, &client);
    return client;
}

void OnButtonDown(HWND hwnd, Tree& tree, LPARAM lParam, bool right)
{
    if (GetFocus() != hwnd) {
        SetFocus(hwnd);
        if (!IsWindow(hwnd)) {
            return;
        }
    }
    TVHITTESTINFO hit{PointOf(lParam), 0, nullptr};
    HitTest(hwnd, tree, &hit);
    if (!right && (hit.flags & TVHT_ONITEMBUTTON) != 0) {
        Expand(hwnd, tree, IdOf(hit.hItem), TVE_TOGGLE, true);
        return;
    }
    tree.pressed = (hit.flags & TVHT_ONITEM) != 0 ? IdOf(hit.hItem) : 0;
    tree.leftDown = !right;
    tree.rightDown = right;
    tree.downAt = hit.pt;
    SetCapture(hwnd);
}

void OnMouseMove(HWND hwnd, Tree& tree, LPARAM lParam)
{
    const POINT pt = PointOf(lParam);
    const auto style = static_cast<DWORD>(GetWindowLongPtrA(hwnd, GWL_STYLE));
    if ((tree.leftDown || tree.rightDown) && tree.pressed != 0 && (style & TVS_DISABLEDRAGDROP) == 0 &&
        (std::abs(pt.x - tree.downAt.x) >= kDragDistance || std::abs(pt.y - tree.downAt.y) >= kDragDistance)) {
        const UINT code = tree.leftDown ? TVN_BEGINDRAGA : TVN_BEGINRDRAGA;
        const uintptr_t item = tree.pressed;
        tree.pressed = 0;
        tree.leftDown = tree.rightDown = false;
        if (GetCapture() == hwnd) {
            ReleaseCapture();
        }
        NotifyTree(hwnd, tree, code, 0, 0, item, tree.downAt);
        return;
    }
    if ((style & TVS_TRACKSELECT) != 0) {
        TVHITTESTINFO hit{pt, 0, nullptr};
        HitTest(hwnd, tree, &hit);
        const uintptr_t hot = (hit.flags & TVHT_ONITEM) != 0 ? IdOf(hit.hItem) : 0;
        if (hot != tree.hot) {
            tree.hot = hot;
            Redraw(hwnd);
        }
    }
}

void OnButtonUp(HWND hwnd, Tree& tree, LPARAM lParam, bool right)
{
    if ((right && !tree.rightDown) || (!right && !tree.leftDown)) {
        return;
    }
    tree.leftDown = tree.rightDown = false;
    const uintptr_t pressed = tree.pressed;
    tree.pressed = 0;
    if (GetCapture() == hwnd) {
        ReleaseCapture();
    }
    const POINT pt = PointOf(lParam);
    if (right) {
        if (SendSimpleNotify(hwnd, NM_RCLICK) == 0 && IsWindow(hwnd)) {
            const POINT screen = ScreenPoint(hwnd, pt);
            SendMessageA(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd),
                         MAKELPARAM(static_cast<WORD>(screen.x), static_cast<WORD>(screen.y)));
        }
        return;
    }
    if (SendSimpleNotify(hwnd, NM_CLICK) != 0 || !IsWindow(hwnd)) {
        return;
    }
    TVHITTESTINFO hit{pt, 0, nullptr};
    HitTest(hwnd, tree, &hit);
    if (pressed != 0 && (hit.flags & TVHT_ONITEM) != 0 && IdOf(hit.hItem) == pressed) {
        Select(hwnd, tree, pressed, TVC_BYMOUSE);
    }
}

void OnKeyDown(HWND hwnd, Tree& tree, WPARAM key)
{
    NMTVKEYDOWN nm{};
    nm.wVKey = static_cast<WORD>(key);
    SendNotify(hwnd, TVN_KEYDOWN, &nm.hdr);
    if (!IsWindow(hwnd)) {
        return;
    }
    const std::vector<Row> rows = VisibleRows(tree);
    if (rows.empty()) {
        return;
    }
    const int row = RowOf(rows, tree.caret);
    RECT client{};
    GetClientRect(hwnd, &client);
    const int page = std::max(1, client.bottom / std::max(1, ItemHeight(tree)));
    auto moveTo = [&](int target) {
        target = std::clamp(target, 0, static_cast<int>(rows.size()) - 1);
        Select(hwnd, tree, rows[target].id, TVC_BYKEYBOARD);
    };
    Item* caret = Find(tree, tree.caret);
    switch (key) {
    case VK_UP: moveTo(row < 0 ? 0 : row - 1); break;
    case VK_DOWN: moveTo(row < 0 ? 0 : row + 1); break;
    case VK_HOME: moveTo(0); break;
    case VK_END: moveTo(static_cast<int>(rows.size()) - 1); break;
    case VK_PRIOR: moveTo(row < 0 ? 0 : row - page + 1); break;
    case VK_NEXT: moveTo(row < 0 ? 0 : row + page - 1); break;
    case VK_LEFT:
        if (caret == nullptr) {
            moveTo(0);
        } else if (IsExpanded(*caret) && HasChildren(*caret)) {
            Expand(hwnd, tree, caret->id, TVE_COLLAPSE, true);
        } else if (caret->parent != 0) {
            Select(hwnd, tree, caret->parent, TVC_BYKEYBOARD);
        }
        break;
    case VK_RIGHT:
        if (caret == nullptr) {
            moveTo(0);
        } else if (!IsExpanded(*caret) && HasChildren(*caret)) {
            Expand(hwnd, tree, caret->id, TVE_EXPAND, true);
        } else if (!caret->children.empty()) {
            Select(hwnd, tree, caret->children.front(), TVC_BYKEYBOARD);
        }
        break;
    case VK_ADD:
        if (caret != nullptr) {
            Expand(hwnd, tree, caret->id, TVE_EXPAND, true);
        }
        break;
    case VK_SUBTRACT:
        if (caret != nullptr) {
            Expand(hwnd, tree, caret->id, TVE_COLLAPSE, true);
        }
        break;
    case VK_RETURN: SendSimpleNotify(hwnd, NM_RETURN); break;
    default: break;
    }
}

LRESULT HandleTree(HWND hwnd, Tree& tree, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case TVM_INSERTITEMA: return reinterpret_cast<LRESULT>(InsertItem(hwnd, tree, reinterpret_cast<const TVINSERTSTRUCTA*>(lParam)));
    case TVM_DELETEITEM: return DeleteItem(hwnd, tree, reinterpret_cast<HTREEITEM>(lParam)) ? TRUE : FALSE;
    case TVM_EXPAND: return Expand(hwnd, tree, static_cast<uintptr_t>(lParam), static_cast<UINT>(wParam), false) ? TRUE : FALSE;
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
    case WM_LBUTTONDOWN: OnButtonDown(hwnd, tree, lParam, false); return 0;
    case WM_RBUTTONDOWN: OnButtonDown(hwnd, tree, lParam, true); return 0;
    case WM_LBUTTONUP: OnButtonUp(hwnd, tree, lParam, false); return 0;
    case WM_RBUTTONUP: OnButtonUp(hwnd, tree, lParam, true); return 0;
    case WM_LBUTTONDBLCLK: {
        if (SendSimpleNotify(hwnd, NM_DBLCLK) != 0 || !IsWindow(hwnd)) {
            return 0;
        }
        TVHITTESTINFO hit{PointOf(lParam), 0, nullptr};
        HitTest(hwnd, tree, &hit);
        if ((hit.flags & (TVHT_ONITEM | TVHT_ONITEMBUTTON)) != 0) {
            Expand(hwnd, tree, IdOf(hit.hItem), TVE_TOGGLE, true);
        }
        return 0;
    }
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
        DeleteItem(hwnd, tree, TVI_ROOT);
        return 0;
    case WM_NCDESTROY: DropBoldFont(tree); return 0;
    default: return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

} // namespace

LRESULT TreeViewProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return StatefulProc<Tree, HandleTree>(hwnd, msg, wParam, lParam);
}

} // namespace nuvex::controls
