// The NC code pane filled a slice at a time: CNcCodePaneSource writes the
// pane's lines on demand ("Operation n", the operation's numbered program
// cut at kMaxNcPaneLines, "Not Enough Memory..." when more remain), and
// CNcCodePaneFill styles and appends one slice of them per call, the first
// at once and the rest from the message loop, so that a long program never
// holds the loop for longer than one slice: the pane shows its first rows
// at once and fills below them while the person works on.
#pragma once

#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "addins/milling/features/millingfeature.h"
#include "addins/milling/features/ncfeaturewriter.h"
#include "platform/base/types.h"

class CMillingOperation;
struct IPostprocessor;
struct IRichEditControl;

// The pane shows at most this many lines of a program.
inline constexpr size_t kMaxNcPaneLines = 10240;
// Lines styled and appended per slice while its rows may be on screen:
// each such slice also repaints its rows, and the pause of one slice (its
// work and its paint) stays below one repaint of the whole pane
// (bench/milling/nc_pane_bench.cpp measures both).
inline constexpr size_t kNcPaneSliceLines = 12;
// More rows than a pane shows: the lines below them repaint nothing, so
// they go in larger slices that cost as much work as a small one costs
// work and paint.
inline constexpr size_t kNcPaneShownRows = 96;
inline constexpr size_t kNcPaneHiddenSliceLines = 28;
// The lines of the slice that follows `appended` lines.
constexpr size_t NcPaneSliceLines(size_t appended)
{
    return appended < kNcPaneShownRows ? kNcPaneSliceLines : kNcPaneHiddenSliceLines;
}
// Milliseconds between the slices run from the message loop.
inline constexpr unsigned kNcPaneSliceMs = 10;

class CNcCodePaneSource {
public:
    // The pane of a job whose active operation is `operation` (index
    // `active`); `hasOperations` false gives an empty pane. The operation
    // and its features must stay while the source writes (Follows tells).
    CNcCodePaneSource(bool hasOperations, const CMillingOperation* operation, long active,
                      const CNcOutputContext& context);
    CNcCodePaneSource(const CNcCodePaneSource&) = delete;
    CNcCodePaneSource& operator=(const CNcCodePaneSource&) = delete;

    // Appends the next pane lines, at most `count`, and beside each whether
    // it is a heading (no NC block); true while more remain.
    bool Next(std::vector<std::string>& lines, std::vector<bool>& heading, size_t count);
    bool Done() const { return m_ended && m_pending.empty(); }
    // Whether `operation` is still the operation, with the same features,
    // that the source started on; a source that no longer follows must not
    // write on.
    bool Follows(const CMillingOperation* operation) const;
    // All lines at once.
    std::vector<std::string> All(std::vector<bool>* heading = nullptr);

private:
    struct Line {
        std::string text;
        bool heading = false;
        bool program = false; // counts towards the pane's limit
    };
    // Moves lines of the program into the pending queue; false once the
    // program has ended.
    bool Fetch();

    const CMillingOperation* m_operation;
    std::vector<CMillingFeature*> m_features;
    CNcOutputContext m_context;
    size_t m_feature = 0;
    std::optional<CNcFeatureWriter> m_writer;
    bool m_writerStarted = false;
    std::deque<Line> m_pending;
    size_t m_programLines = 0; // program lines handed out so far
    bool m_ended = false;
};

class CNcCodePaneFill {
public:
    // Fills `control` with the lines of `source`, styled by `postprocessor`
    // (null: all in the heading colour). The control is lent; the fill
    // must go before it does.
    // `current` answers the job's active operation now: a slice checks
    // that the source still follows it and otherwise stops the fill.
    CNcCodePaneFill(IRichEditControl& control, std::unique_ptr<CNcCodePaneSource> source,
                    IPostprocessor* postprocessor, std::function<const CMillingOperation*()> current);
    ~CNcCodePaneFill();
    CNcCodePaneFill(const CNcCodePaneFill&) = delete;
    CNcCodePaneFill& operator=(const CNcCodePaneFill&) = delete;

    // Empties the control, shows the first slice and, while more remain,
    // leaves the rest to a timer of the message loop.
    void Begin();
    // Styles and appends the next slice; true while more remain.
    bool Slice();
    // Appends all that remains at once.
    void Finish();
    bool Done() const { return m_stopped || m_source->Done(); }
    const CNcCodePaneSource& Source() const { return *m_source; }

private:
    void StopTimer();
    static void OnTimer(HWND, UINT, UINT_PTR id, DWORD);
    // While the fill runs the control keeps its vertical scroll bar shown
    // (disabled while the rows fit): a bar that came and went as the pane
    // emptied and filled again would narrow the text and repaint every row
    // within one slice. Once the fill ends the bar follows the rows again,
    // so the filled pane shows as it would have without.
    void HoldVerticalBar();
    void ReleaseVerticalBar();

    IRichEditControl& m_control;
    std::unique_ptr<CNcCodePaneSource> m_source;
    IPostprocessor* m_postprocessor;
    std::function<const CMillingOperation*()> m_current;
    bool m_stopped = false;
    bool m_empty = true; // nothing appended yet
    size_t m_lines = 0;  // lines appended
    LONG m_length = 0;   // characters appended
    UINT_PTR m_timer = 0;
    bool m_barHeld = false;
};
