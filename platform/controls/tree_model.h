// The tree view's model shared by its files: items, rows, the tree's
// state, and the steps the message handler, the input and the painting
// call on each other. Item handles are numbers that are never reused
// within a tree, so a stale handle fails cleanly instead of reaching
// another item.
#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "platform/controls/common_control_support.h"

namespace nuvex::controls::tree {

constexpr int kDefaultIndent = 19;
constexpr int kWheelRows = 3;         // rows per wheel notch
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
    bool pressedWasCaret = false; // the press fell on the item that had the caret
    // Label editing in place.
    HWND editor = nullptr;       // the edit control over the label
    uintptr_t editing = 0;       // the item whose label it edits
    uintptr_t editPending = 0;   // a click on the caret's label waits for the edit timer
    WNDPROC editorBase = nullptr; // the edit class's procedure under the editor's
    bool endingEdit = false;
};

inline HTREEITEM Handle(uintptr_t id) { return reinterpret_cast<HTREEITEM>(id); }
inline uintptr_t IdOf(HTREEITEM item) { return reinterpret_cast<uintptr_t>(item); }
Item* Find(Tree& tree, uintptr_t id);
inline Item* Find(Tree& tree, HTREEITEM item) { return Find(tree, IdOf(item)); }
// The roots for parent 0.
std::vector<uintptr_t>& ChildList(Tree& tree, uintptr_t parent);
bool HasChildren(const Item& item);
inline bool IsExpanded(const Item& item) { return (item.state & TVIS_EXPANDED) != 0; }
// The items a person can see by scrolling, top to bottom.
std::vector<Row> VisibleRows(Tree& tree);
int RowOf(const std::vector<Row>& rows, uintptr_t id);
void Redraw(HWND hwnd);
void ClampScroll(HWND hwnd, Tree& tree);

// Text shown for the item (asking the parent for callback texts).
std::string DisplayText(HWND hwnd, Item& item);
LRESULT NotifyTree(HWND hwnd, Tree& tree, UINT code, UINT action, uintptr_t oldId, uintptr_t newId,
                   POINT at = POINT{0, 0});
// Moves the caret to `id` (0: none). Answers false when the parent vetoed.
bool Select(HWND hwnd, Tree& tree, uintptr_t id, UINT action);
// Expands, collapses or toggles `id`. A person's click or key always
// notifies; the message notifies until the item was expanded once.
enum class By : uint8_t { Program, Person };
bool Expand(HWND hwnd, Tree& tree, uintptr_t id, UINT code, By by);

// Opens the ancestors of `id` and scrolls it into the client area.
void EnsureVisible(HWND hwnd, Tree& tree, uintptr_t id);

// Label editing in place (treeview_edit.cpp).
constexpr UINT_PTR kEditTimer = 0x7E01;
// Asks the parent (TVN_BEGINLABELEDIT, a non-zero answer refuses) and puts
// an edit control over the label of `id`; answers it, or null.
HWND BeginLabelEdit(HWND hwnd, Tree& tree, uintptr_t id);
// Ends the edit: TVN_ENDLABELEDIT with the text (null when cancelled); the
// label takes the text when the parent answers TRUE. False without an edit.
// EditorFocus::Leaving: the editor is losing the focus to another window,
// so it closes once that move is done.
enum class LabelEnd : uint8_t { Accept, Cancel };
enum class EditorFocus : uint8_t { Stays, Leaving };
bool EndLabelEdit(HWND hwnd, Tree& tree, LabelEnd end, EditorFocus focus = EditorFocus::Stays);
// A click on the caret's label starts editing after the double-click time.
void ArmLabelEdit(HWND hwnd, Tree& tree, uintptr_t id);
void OnEditTimer(HWND hwnd, Tree& tree);

// Layout and painting (treeview_paint.cpp).
HFONT BoldFont(Tree& tree);
void DropBoldFont(Tree& tree);
SIZE ImageSize(HIMAGELIST list);
int ItemHeight(Tree& tree);
struct RowLayout {
    RECT row;
    RECT button; // empty when the row has no button column
    RECT stateImage;
    RECT image;
    RECT label;
};
// Where the parts of a row lie, in client coordinates.
RowLayout LayoutRow(HWND hwnd, Tree& tree, Item& item, int level, int rowIndex);
HTREEITEM HitTest(HWND hwnd, Tree& tree, TVHITTESTINFO* info);
void Paint(HWND hwnd, Tree& tree, HDC dc);

// Mouse and keys (treeview_input.cpp).
enum class Button : uint8_t { Left, Right };
void OnButtonDown(HWND hwnd, Tree& tree, LPARAM lParam, Button button);
void OnMouseMove(HWND hwnd, Tree& tree, LPARAM lParam);
void OnButtonUp(HWND hwnd, Tree& tree, LPARAM lParam, Button button);
void OnKeyDown(HWND hwnd, Tree& tree, WPARAM key);
void OnDoubleClick(HWND hwnd, Tree& tree, LPARAM lParam);

} // namespace nuvex::controls::tree
