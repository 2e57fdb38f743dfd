// The rich edit control's text: characters with their formats, rows,
// replacement with undo and redo, protection and search. No window here;
// the window (richedit_window.cpp and its neighbours) drives it.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/controls/richedit.h"

namespace nuvex::controls {

// The line break character inside the text.
inline constexpr char kBreak = '\r';

// What one character looks like and the paragraph it belongs to.
struct RichCharFormat {
    DWORD effects = CFE_AUTOCOLOR; // CFE_* bits
    COLORREF color = 0;            // used without CFE_AUTOCOLOR
    WORD alignment = PFA_LEFT;     // of the character's paragraph
    LONG startIndent = 0;          // twips
    LONG rightIndent = 0;
    LONG offset = 0;

    bool operator==(const RichCharFormat&) const = default;
    bool Protected() const { return (effects & CFE_PROTECTED) != 0; }
};

// Applies the fields of `format` that its mask names.
void ApplyCharFormat(RichCharFormat& target, const CHARFORMATA& format);
void ApplyParaFormat(RichCharFormat& target, const PARAFORMAT& format);

// Turns "\r\n", "\n" and "\r" into single breaks.
std::string NormalizeBreaks(std::string_view text);

struct RichRange {
    LONG min = 0;
    LONG max = 0;
    bool Empty() const { return min == max; }
};

// Exported for the tests of the text model.
class NUVEX_PLATFORM_API RichText {
public:
    LONG Length() const { return static_cast<LONG>(m_text.size()); }
    const std::string& Text() const { return m_text; }
    const RichCharFormat& FormatAt(LONG position) const { return m_formats[static_cast<size_t>(position)]; }

    // Rows: row i starts at RowStart(i); the break ending it is not part of
    // RowLength(i). There is always at least one row.
    LONG RowCount() const { return static_cast<LONG>(m_rowStarts.size()); }
    LONG RowStart(LONG row) const { return m_rowStarts[static_cast<size_t>(row)]; }
    LONG RowLength(LONG row) const;
    LONG RowOf(LONG position) const;

    // Replaces [range) (clamped) by `text` (breaks already normalised) in
    // format `format`. With `undoable` the change is recorded (typing joins
    // the previous typing record while it continues at its end); otherwise
    // undo and redo are emptied, since their positions no longer hold.
    enum class Record : uint8_t { None, Step, Typing };
    void Replace(RichRange range, std::string_view text, const RichCharFormat& format, Record record);
    // Sets the formats of [range) through `change`.
    template <class Change>
    void ChangeFormats(RichRange range, Change change)
    {
        for (LONG i = range.min; i < range.max && i < Length(); ++i) {
            change(m_formats[static_cast<size_t>(i)]);
        }
    }

    // The range that [range) touches in protected characters' terms: an
    // insertion point is protected when every character next to it is.
    bool TouchesProtected(RichRange range) const;

    // Undo and redo answer the range of text they put back (for the
    // selection); nullopt when there is nothing to do.
    bool CanUndo() const { return !m_undo.empty(); }
    bool CanRedo() const { return !m_redo.empty(); }
    std::optional<RichRange> Undo();
    std::optional<RichRange> Redo();
    void EmptyUndo();
    void StopTyping() { m_typingOpen = false; }
    void SetUndoLimit(size_t limit);

    // The first match of `what` in [range) (range.max -1 means the end),
    // searching forwards with FR_DOWN and backwards from range.max without
    // it; FR_MATCHCASE compares exactly, FR_WHOLEWORD needs word ends on
    // both sides. An empty pattern never matches.
    std::optional<RichRange> Find(std::string_view what, RichRange range, WPARAM flags) const;

    // The word around `position` (letters, digits and '_'), or the single
    // other character there.
    RichRange WordAt(LONG position) const;

private:
    struct Edit {
        LONG position = 0;
        std::string removed;
        std::vector<RichCharFormat> removedFormats;
        std::string inserted;
        std::vector<RichCharFormat> insertedFormats;
    };
    void ApplyEdit(LONG position, LONG removeCount, const std::string& text,
                   const std::vector<RichCharFormat>& formats);

    std::string m_text;
    std::vector<RichCharFormat> m_formats;
    std::vector<LONG> m_rowStarts{0};
    std::vector<Edit> m_undo;
    std::vector<Edit> m_redo;
    bool m_typingOpen = false;
    size_t m_undoLimit = 100;
};

} // namespace nuvex::controls
