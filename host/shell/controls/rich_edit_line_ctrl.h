// CRichEditLineCtrl: a rich edit whose text rows are grouped into numbered
// lines. Each line is a run of consecutive rows with an id that stays fixed
// while rows come and go around it, and flags that govern Enter at its
// ends. The lines always describe the text: line i covers the rows after
// those of lines 0 to i-1, and a line may have no rows. Every change of a
// line's rows is reported to the active document's event sinks (events 10,
// 11 and 7). Add-ins drive it through the embedded CRichEditObject.
//
// Rows are the editor's own lines, separated by line breaks; row numbers
// count from 0.
#pragma once

#include <cstdint>
#include <vector>

#include "host/shell/controls/rich_edit_object.h"
#include "platform/framework/richeditctrl.h"

// The rows of one line that one change touched: its id, the first row
// inside the line, how many of its existing rows changed, and how its row
// count changed (positive: rows inserted).
struct LineRowChange {
    LONG id = 0;
    LONG firstRow = 0;
    LONG changedRows = 0;
    LONG rowDelta = 0;
    bool operator==(const LineRowChange&) const = default;
};

// Where the control's document events go.
class IRichEditLineEvents {
public:
    // Whether the main frame has an active document; without one the
    // control keeps no books and fires nothing.
    virtual bool HasActiveDocument() = 0;
    // Event 10: a line was created by typing.
    virtual void LineCreated(LONG id) = 0;
    // Event 11: the rows of consecutive lines changed.
    virtual void RowsChanged(const std::vector<LineRowChange>& changes) = 0;
    // Event 7: the text changed.
    virtual void TextChanged() = 0;

protected:
    ~IRichEditLineEvents() = default;
};

// The style of a line control: child, visible, both scroll bars, multiline,
// scrolling both ways, Enter kept.
inline constexpr DWORD kRichEditLineStyle = 0x503010C4;
// The events a text page asks of it: change, update, scroll, selection
// change and protected-text requests.
inline constexpr DWORD kRichEditLineEventMask = 0x0028000B;

struct LineEntry {
    LONG rows = 0;
    LONG flags = 0;
    LONG id = 0;
};

class CRichEditLineCtrl final : public CRichEditCtrl {
public:
    // `events` may be null (nothing is fired and no active document is
    // assumed); it outlives the control.
    explicit CRichEditLineCtrl(IRichEditLineEvents* events = nullptr);
    ~CRichEditLineCtrl() override;

    CRichEditObject& ScriptingObject() { return m_object; }
    const std::vector<LineEntry>& Lines() const { return m_lines; }
    LONG StoredRowCount() const { return m_rowCount; }
    LONG NextId() const { return m_nextId; }

    // Line bookkeeping, used by the keyboard handlers and the interface.
    // The index of the line with that id, -1 when none.
    int32_t FindLineById(LONG id) const;
    // How GetLineOffset names its line.
    enum class LineBy : uint8_t { Index, Id };
    // Rows before the line (by index, or by id); -1 for an unknown one.
    LONG GetLineOffset(LONG line, LineBy by) const;
    // The line holding `row` and the row's offset in it (a negative row
    // counts as 0); false beyond the last line.
    bool LineFromRow(LONG row, LONG* id, LONG* offset) const;
    // Moves the selection snapshot on and reads it anew; with `recount`
    // the lines follow the change of the row count (see the .cpp).
    void RefreshSnapshot(bool recount);

    // New lines and their removal.
    LONG InsertLineAfter(int32_t index, LONG flags);
    void RemoveLineAt(int32_t index) { m_lines.erase(m_lines.begin() + index); }
    LineEntry& LineAt(int32_t index) { return m_lines[static_cast<size_t>(index)]; }

    // Text operations that keep the selection and the books: the event
    // mask is 0 and the selection hidden while `start`..`end` becomes
    // `text`; the selection comes back, shifted when it lay behind.
    void ReplaceSuspended(LONG start, LONG end, const char* text, BOOL canUndo);
    // Row counts as the editor has them now.
    LONG EditorRowCount() const;
    void SetNotifySwitch(bool on) { m_notifySwitch = on; }
    bool NotifySwitch() const { return m_notifySwitch; }

    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    struct Snapshot {
        LONG start = 0;
        LONG end = 0;
        LONG startRow = 0;
        LONG endRow = 0;
        LONG startRowIndex = 0;
        LONG startRowLength = 0;
    };
    // Answers whether the key was swallowed or handled here.
    bool OnEnter();
    bool OnBackspace();
    bool OnDelete();
    // The reflected change notification.
    void OnTextChange();
    bool BooksApply();
    // Lets the default handling process the key with the switch off.
    void ProcessWithSwitchOff(UINT message, WPARAM wParam, LPARAM lParam);
    void ClearProtection(LONG start, LONG count);
    bool IsProtected(LONG position);
    void Fire11(const std::vector<LineRowChange>& changes);

    IRichEditLineEvents* m_events;
    bool m_notifySwitch = true;
    Snapshot m_previous;
    Snapshot m_current;
    LONG m_rowCount = 0;
    LONG m_nextId = 1;
    std::vector<LineEntry> m_lines;
    CRichEditObject m_object;
};
