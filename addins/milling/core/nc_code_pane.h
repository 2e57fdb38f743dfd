// CNcCodePane: the pane object of the "NC code" page of the pane group
// "Workshop". It hands the page's text control to the document's milling
// job, which refills it whenever the active operation or its features
// change; and the filling itself (nc_code_fill.h cuts it into slices):
// the program's text, the headings in red and every NC word in the colour of the character styles
// its postprocessor gives it, all protected against editing.
#pragma once

#include <string>
#include <vector>

#include "addins/milling/core/command_object.h"
#include "addins/milling/core/strimo_ids.h"
#include "platform/base/types.h"

class CMillingAddin;
struct IPostprocessor;
struct IRichEditControl;

class CNcCodePane final : public CAddinCommandObject<CLSID_NcCodePane> {
public:
    CNcCodePane() = default;

    // `context` is the page's text control (IRichEditControl*). The job
    // keeps it and fills it at once. S_OK, also without a document.
    HRESULT STDMETHODCALLTYPE Create(IHostDocument* document, LONG commandNumber, LONG_PTR context) override;
    // S_OK for every event; the result word stays as the host set it.
    HRESULT STDMETHODCALLTYPE OnEvent(LONG event, void* value, LONG final, LONG kind, LONG* result) override;

private:
    CMillingAddin* m_addin = nullptr;
    IRichEditControl* m_control = nullptr;
    IHostDocument* m_document = nullptr;
};

// The colour of the headings and of anything the postprocessor does not
// style: red.
inline constexpr COLORREF kNcHeadingColour = 0x0000FF;
// The colour of a character style of the postprocessor (COLORREF,
// 0x00BBGGRR); an unknown style shows as plain text.
COLORREF NcStyleColour(INT style);

// A stretch [start, end) of the pane's text in one colour other than the
// heading colour. Positions count a line break as one character.
struct NcCodeRun {
    LONG start = 0;
    LONG end = 0;
    COLORREF colour = 0;
    bool operator==(const NcCodeRun&) const = default;
};

// What the pane shows: the lines joined by line breaks, and the coloured
// runs in text order (adjacent runs of one colour merged; blanks take the
// colour before them).
struct NcCodePaneText {
    std::string text;
    std::vector<NcCodeRun> runs;
};

// Lines whose `heading` entry is true stay in the heading colour; every
// other line is read by the postprocessor for its styles. Without a
// postprocessor every line stays in the heading colour.
NcCodePaneText BuildNcCodePaneText(const std::vector<std::string>& lines, const std::vector<bool>& heading,
                                   IPostprocessor* postprocessor);

// Empties the control: all rows deleted, the default format red and
// protected.
void ClearNcCodePane(IRichEditControl& control);
// Appends the pane text in one piece below what the control holds (after a
// line break when it holds text), then colours the runs (protected too);
// `start` is where the text begins in the control's text.
void AppendNcCodePaneText(IRichEditControl& control, const NcCodePaneText& text, LONG start);
// Replaces the control's text with the pane text in one piece.
void FillNcCodePane(IRichEditControl& control, const NcCodePaneText& text);
