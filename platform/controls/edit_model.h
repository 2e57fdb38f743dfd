// The edit control's model shared by its files: the state of one edit, its
// lines and positions, and the changes the messages and the input make.
// Lines end with "\r\n" (a lone "\n" ends one too); a multi-line edit
// breaks lines only there.
#pragma once

#include <string>
#include <vector>

#include "platform/controls/control_support.h"

namespace nuvex::controls::edit {

constexpr int kDefaultMargin = 2;

struct Line {
    size_t start = 0;
    size_t length = 0; // without the line break
};

struct EditState {
    std::string text;
    size_t anchor = 0;
    size_t caret = 0;
    UINT limit = kEditDefaultLimit;
    bool modified = false;
    bool focused = false;
    HFONT font = nullptr;
    char passwordChar = '*';
    int leftMargin = kDefaultMargin;
    int rightMargin = kDefaultMargin;
    bool hasFormatRect = false;
    RECT formatRect{};
    int firstLine = 0; // multi-line: the top line shown
    int scrollX = 0;   // pixels scrolled to the left
    // One level of undo: the text and selection before the last change
    // (undoing swaps them, so a second undo redoes).
    bool canUndo = false;
    std::string undoText;
    size_t undoAnchor = 0;
    size_t undoCaret = 0;
    bool typingRun = false; // consecutive typed characters undo as one
    bool verticalBar = false; // made with WS_VSCROLL: the bar comes and goes with the need
};

inline bool IsMulti(HWND hwnd) { return (StyleOf(hwnd) & ES_MULTILINE) != 0; }
inline bool IsReadOnly(HWND hwnd) { return (StyleOf(hwnd) & ES_READONLY) != 0; }
inline bool IsPassword(HWND hwnd) { return !IsMulti(hwnd) && (StyleOf(hwnd) & ES_PASSWORD) != 0; }
inline size_t SelStart(const EditState& s) { return std::min(s.anchor, s.caret); }
inline size_t SelEnd(const EditState& s) { return std::max(s.anchor, s.caret); }

// Lines and positions (edit.cpp). A single-line edit's text is one line
// whatever it holds.
enum class Breaks : uint8_t { SingleLine, MultiLine };
inline Breaks BreaksOf(HWND hwnd) { return IsMulti(hwnd) ? Breaks::MultiLine : Breaks::SingleLine; }
std::vector<Line> SplitLines(const std::string& text, Breaks breaks);
int LineIndexOf(const std::vector<Line>& lines, size_t pos);
RECT FormatRect(HWND hwnd, const EditState& s);
int LineHeight(const EditState& s);
int VisibleLines(HWND hwnd, const EditState& s);
// The text as shown: password characters in place of the text.
std::string Shown(HWND hwnd, const EditState& s, const Line& line);
int LineOffsetX(HWND hwnd, const EditState& s, const std::string& shown);
// Client position of the character boundary `pos`.
POINT PointOf(HWND hwnd, const EditState& s, size_t pos);
// The character boundary nearest to the client point `pt`.
size_t PosFromPoint(HWND hwnd, const EditState& s, POINT pt);
// The character boundaries before and after `pos` ("\r\n" is one).
size_t PreviousBoundary(const std::string& text, size_t pos);
size_t NextBoundary(const std::string& text, size_t pos);
bool IsWordChar(char c);

// Scrolling and the caret (edit.cpp).
void UpdateScrollBars(HWND hwnd, EditState& s);
// Scrolls the caret into view, places it and repaints.
void MoveCaret(HWND hwnd, EditState& s);
// After a change: EN_UPDATE, the caret, then EN_CHANGE.
void NotifyChanged(HWND hwnd, EditState& s);

// Changes (edit.cpp): who makes them, whether undo can take them back, and
// whether they are typed (consecutive typed characters undo as one).
enum class Origin { Person, Program };
enum class Undoable : uint8_t { No, Yes };
enum class Typed : uint8_t { No, Yes };
enum class Direction : uint8_t { Backward, Forward };
// Replaces the selection with `insert`. A person's change respects the
// read-only style and the room the style leaves; every change respects the
// text limit, cutting what does not fit and telling the parent EN_MAXTEXT.
// Answers whether the text changed.
bool ReplaceSelection(HWND hwnd, EditState& s, std::string insert, Origin origin, Undoable undoable, Typed typed);
// Deletes the selection, or the character before or after the caret.
void Delete(HWND hwnd, EditState& s, Direction direction);
void Copy(HWND hwnd, EditState& s);
void Paste(HWND hwnd, EditState& s);
bool Undo(HWND hwnd, EditState& s);
void SetSelection(HWND hwnd, EditState& s, size_t anchor, size_t caret);

// Keys and mouse (edit_input.cpp).
LRESULT GetDialogCode(HWND hwnd, LPARAM lParam);
LRESULT OnChar(HWND hwnd, EditState& s, const Message& m);
LRESULT OnKeyDown(HWND hwnd, EditState& s, const Message& m);
LRESULT OnButtonDown(HWND hwnd, EditState& s, const Message& m);
LRESULT OnMouseMove(HWND hwnd, EditState& s, const Message& m);
LRESULT OnButtonUp(HWND hwnd, EditState& s, const Message& m);
// Selects the word under the double click.
LRESULT OnDoubleClick(HWND hwnd, EditState& s, const Message& m);

// Painting (edit_paint.cpp).
void Paint(HWND hwnd, EditState& s, HDC dc);

} // namespace nuvex::controls::edit
