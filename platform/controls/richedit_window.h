// The steps of the rich edit window shared by its files: notifications,
// the selection and scrolling (richedit_window.cpp), editing
// (richedit_edit.cpp), the keyboard and the mouse (richedit_input.cpp) and
// the message table (richedit_messages.cpp). Private to the controls
// family.
#pragma once

#include <string_view>

#include "platform/controls/control_support.h"
#include "platform/controls/richedit_state.h"

namespace nuvex::controls::richedit {

// True while the window and its state still exist: a parent may destroy
// the control while it handles a notification.
inline bool Alive(HWND hwnd, const RichEditState* s) { return IsWindow(hwnd) && StateOf<RichEditState>(hwnd) == s; }
inline DWORD Style(const RichEditState& s) { return static_cast<DWORD>(GetWindowLongA(s.hwnd, GWL_STYLE)); }
inline bool Multiline(const RichEditState& s) { return (Style(s) & ES_MULTILINE) != 0; }

// Notifications (richedit_window.cpp). Those answering bool answer false
// when the window went away.
bool NotifyCommand(RichEditState& s, WORD code);
LRESULT NotifyParent(RichEditState& s, NMHDR& header, UINT code);
// The window's own scroll bars follow the rows and the first visible one,
// and sideways the widest row seen and the scroll position.
void UpdateScrollBars(RichEditState& s);
// After the text changed from position `from` on: the rows from there to
// the bottom of the client repaint, then EN_UPDATE and EN_CHANGE as the
// event mask asks.
bool Changed(RichEditState& s, LONG from);

// Repainting only what changed, so that text added or styled below the
// visible rows costs no paint. Rows [first, last] are marked for repainting
// as far as the client shows them; `last` kRowsToBottom means down to the
// client's bottom edge.
inline constexpr LONG kRowsToBottom = -1;
void InvalidateRows(RichEditState& s, LONG first, LONG last);
// The rows whose look depends on `range` as a selection: its highlight
// where a selection is shown, the caret's row where the caret is.
void InvalidateSelection(RichEditState& s, RichRange range);

// Selection and scrolling (richedit_window.cpp).
// Sets the selection; EN_SELCHANGE when it changed and the mask asks.
bool SetSelection(RichEditState& s, LONG anchor, LONG caret);
// Selection from a CHARRANGE as EM_EXSETSEL and EM_SETSEL take it: (0, -1)
// is everything, a negative start removes the selection (caret at its end).
bool SetSelectionRange(RichEditState& s, LONG cpMin, LONG cpMax);
bool ScrollTo(RichEditState& s, LONG firstRow, int xScroll);
bool ScrollCaretIntoView(RichEditState& s);

// Editing (richedit_edit.cpp).
enum class EditCheck : uint8_t { Person, Program };
// Replaces the selection by `text` in the insertion format. A person's
// edit is refused when the control is read-only, when it would exceed the
// limit (EN_MAXTEXT) or when protected text refuses it (EN_PROTECTED).
// False when it did not happen or the window went away.
bool ReplaceSelection(RichEditState& s, std::string_view raw, EditCheck check, RichText::Record record, UINT msg,
                      WPARAM wParam, LPARAM lParam);
bool CopySelection(RichEditState& s);
bool Cut(RichEditState& s);
bool Paste(RichEditState& s);
enum class UndoStep : uint8_t { Undo, Redo };
bool ApplyUndo(RichEditState& s, UndoStep step);
// Deletes the selection, or the character before (Backspace) or after
// (Delete) an empty one.
bool DeleteKey(RichEditState& s, int key);

// Keyboard and mouse (richedit_input.cpp).
bool KeyDown(RichEditState& s, int key);
bool Character(RichEditState& s, char c);
LRESULT OnLButtonDown(RichEditState& s, WPARAM keys, LPARAM lParam);
LRESULT OnMouseMove(RichEditState& s, LPARAM lParam);
LRESULT OnLButtonUp(RichEditState& s);
LRESULT OnDoubleClick(RichEditState& s, LPARAM lParam);
enum class FocusChange : uint8_t { Gained, Lost };
LRESULT OnFocus(RichEditState& s, FocusChange change);

// The messages after creation (richedit_messages.cpp); those without a row
// reach DefWindowProc.
LRESULT Dispatch(RichEditState& s, UINT msg, WPARAM wParam, LPARAM lParam);

} // namespace nuvex::controls::richedit
