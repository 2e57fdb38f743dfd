// The list box's model shared by its files: items, the state of one list,
// the selection kinds, and the steps the message table, the input and the
// painting call on each other.
#pragma once

#include <string>
#include <vector>

#include "platform/controls/control_support.h"

namespace nuvex::controls::listbox {

struct Item {
    std::string text;
    ULONG_PTR data = 0;
    bool selected = false;
};

struct ListState {
    std::vector<Item> items;
    int current = -1; // single selection: the selected item
    int caret = 0;    // the focus item
    int anchor = 0;   // extended selection: the fixed end of a range
    int top = 0;
    int itemHeight = 0;
    int columnWidth = 0;
    bool focused = false;
    bool tracking = false; // the mouse button is down in the list
    HFONT font = nullptr;
    HWND notifyTarget = nullptr; // a dropped-down list tells its combo box
    bool verticalBar = false;    // made with WS_VSCROLL: the bar comes and goes with the need
};

enum class Selection { Single, Multiple, Extended, None };

Selection SelectionKind(HWND hwnd);
bool IsMultiSelect(HWND hwnd);
inline bool IsOwnerDraw(HWND hwnd) { return (StyleOf(hwnd) & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)) != 0; }
inline bool HasStrings(HWND hwnd) { return !IsOwnerDraw(hwnd) || (StyleOf(hwnd) & LBS_HASSTRINGS) != 0; }
inline int Count(const ListState& s) { return static_cast<int>(s.items.size()); }
inline bool ValidIndex(const ListState& s, intptr_t index) { return index >= 0 && index < Count(s); }

// Notifications (listbox.cpp): LBN_* when the style asks, or always to the
// combo box of a dropped-down list.
void Notify(HWND hwnd, const ListState& s, WORD code);

// Geometry and scrolling (listbox.cpp).
int ItemHeight(HWND hwnd, ListState& s);
int PageSize(HWND hwnd, ListState& s);
RECT ItemRect(HWND hwnd, ListState& s, int index);
// The item under a client point, clamped to the items.
int ItemFromPoint(HWND hwnd, ListState& s, POINT p);
void UpdateScrollBar(HWND hwnd, ListState& s);
void SetTop(HWND hwnd, ListState& s, int top);

// Items (listbox.cpp).
int InsertAt(HWND hwnd, ListState& s, intptr_t index, LPARAM lParam);
// Where LBS_SORT puts it, else at the end.
int AddSorted(HWND hwnd, ListState& s, LPARAM lParam);
LRESULT Remove(HWND hwnd, ListState& s, intptr_t index);
void Reset(HWND hwnd, ListState& s);
// Finds from after `start` round to it: a prefix match, or with `exact`
// the whole text (both ignoring case).
LRESULT Find(HWND hwnd, const ListState& s, intptr_t start, LPARAM lParam, bool exact);

// Selection and the caret (listbox.cpp).
UINT ItemState(HWND hwnd, const ListState& s, int index);
// Shows a change of one item: owner-drawn lists hear it as `action` at
// once, the others repaint the item.
void RedrawItem(HWND hwnd, ListState& s, int index, UINT action);
void SetCaret(HWND hwnd, ListState& s, int index);
void SetSingle(HWND hwnd, ListState& s, int index);
// Selects or unselects items first..last (either order); answers whether
// anything changed.
enum class Mark : uint8_t { Unselected, Selected };
inline Mark MarkOf(bool selected) { return selected ? Mark::Selected : Mark::Unselected; }
bool SelectRange(HWND hwnd, ListState& s, int first, int last, Mark mark);
// A click or a key chose `index`: the selection follows the style and the
// Shift and Ctrl keys; `toggle` flips a multiple-selection item. Answers
// whether the selection changed.
struct ChoiceKeys {
    bool shift = false;
    bool control = false;
    bool toggle = false;
};
bool Choose(HWND hwnd, ListState& s, int index, ChoiceKeys keys);

// Keys and mouse (listbox_input.cpp).
LRESULT OnKeyDown(HWND hwnd, ListState& s, const Message& m);
LRESULT OnChar(HWND hwnd, ListState& s, const Message& m);
LRESULT OnButtonDown(HWND hwnd, ListState& s, const Message& m);
LRESULT OnMouseMove(HWND hwnd, ListState& s, const Message& m);
LRESULT OnButtonUp(HWND hwnd, ListState& s, const Message& m);
LRESULT OnVScroll(HWND hwnd, ListState& s, const Message& m);

// Painting (listbox_paint.cpp).
void Paint(HWND hwnd, ListState& s, HDC dc);

} // namespace nuvex::controls::listbox
