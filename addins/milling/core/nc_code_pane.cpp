// CNcCodePane and the filling of the NC code pane.
#include "addins/milling/core/nc_code_pane.h"

#include <algorithm>
#include <array>

#include "addins/milling/core/milling_addin.h"
#include "addins/milling/core/milling_job.h"
#include "icontrols.h"
#include "ipostprocessor.h"
#include "nctokens.h"

namespace {

// A character the postprocessor gave no style (blanks, past the styled
// length).
constexpr INT kNoStyle = -1;

struct StyleColour {
    INT style;
    COLORREF colour;
};
// Word classes in colours that stay apart on a white page.
constexpr StyleColour kStyleColours[] = {
    {kNcStylePlain, 0x000000},         // black
    {kNcStyleNumber, 0x000000},        // black (a number in a word takes the word's colour)
    {kNcStyleComment, 0x008000},       // green
    {kNcStyleRawText, 0x808080},       // grey
    {kNcStyleGWord, 0xC00000},         // blue
    {kNcStyleAxis, 0x000080},          // dark red
    {kNcStyleMWord, 0x800080},         // purple
    {kNcStyleFeedSpeedTool, 0x006060}, // olive
};

CHARFORMAT ProtectedFormat(COLORREF colour)
{
    CHARFORMAT format{};
    format.cbSize = sizeof format;
    format.dwMask = CFM_COLOR | CFM_PROTECTED | CFM_BOLD;
    format.dwEffects = CFE_PROTECTED;
    format.crTextColor = colour;
    return format;
}

void AddRun(std::vector<NcCodeRun>& runs, LONG start, LONG end, COLORREF colour)
{
    if (start >= end || colour == kNcHeadingColour)
        return;
    if (!runs.empty() && runs.back().end == start && runs.back().colour == colour) {
        runs.back().end = end;
        return;
    }
    runs.push_back({start, end, colour});
}

} // namespace

COLORREF NcStyleColour(INT style)
{
    for (const StyleColour& entry : kStyleColours)
        if (entry.style == style)
            return entry.colour;
    return kStyleColours[0].colour;
}

NcCodePaneText BuildNcCodePaneText(const std::vector<std::string>& lines, const std::vector<bool>& heading,
                                   IPostprocessor* postprocessor)
{
    NcCodePaneText pane;
    size_t size = 0;
    for (const std::string& line : lines)
        size += line.size() + 1;
    pane.text.reserve(size);

    std::array<INT, kNcMaxBlockTokens> codes{};
    std::array<INT, kNcMaxBlockTokens> kinds{};
    std::array<VARIANT, kNcMaxBlockTokens> values{};
    std::array<INT, kNcMaxLineLength> styles{};
    INT count = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            pane.text += '\n';
        const std::string& line = lines[i];
        const auto start = static_cast<LONG>(pane.text.size());
        pane.text += line;
        const bool isHeading = i < heading.size() && heading[i];
        if (isHeading || postprocessor == nullptr || line.empty())
            continue;
        styles.fill(kNoStyle);
        if (FAILED(postprocessor->ParseBlock(line.c_str(), &count, codes.data(), kinds.data(), values.data(),
                                             styles.data())))
            continue;
        // A run per stretch of one colour. A word shows in the colour of
        // its letters: its number, the blanks after it, characters without
        // a style and the line break go with the colour before them, so a
        // block needs a run per word class, not per character class.
        const size_t styled = std::min(line.size(), styles.size());
        COLORREF colour = NcStyleColour(kNcStylePlain);
        LONG runStart = start;
        for (size_t k = 0; k < styled; ++k) {
            if (styles[k] == kNoStyle || styles[k] == kNcStyleNumber || styles[k] == kNcStylePlain)
                continue;
            const COLORREF next = NcStyleColour(styles[k]);
            if (next != colour) {
                AddRun(pane.runs, runStart, start + static_cast<LONG>(k), colour);
                colour = next;
                runStart = start + static_cast<LONG>(k);
            }
        }
        const bool breakFollows = i + 1 < lines.size();
        AddRun(pane.runs, runStart, start + static_cast<LONG>(styled) + (breakFollows ? 1 : 0), colour);
    }
    if (postprocessor != nullptr)
        postprocessor->ParseBlock("", &count, codes.data(), kinds.data(), values.data(), styles.data());
    return pane;
}

void ClearNcCodePane(IRichEditControl& control)
{
    LONG rows = 0;
    control.GetRowCount(&rows);
    control.DeleteRowRange(0, rows, FALSE);
    CHARFORMAT format = ProtectedFormat(kNcHeadingColour);
    control.SetDefaultCharFormat(&format);
}

void AppendNcCodePaneText(IRichEditControl& control, const NcCodePaneText& text, LONG start)
{
    if (!text.text.empty())
        control.AppendText(text.text.c_str(), FALSE);
    for (const NcCodeRun& run : text.runs) {
        CHARFORMAT coloured = ProtectedFormat(run.colour);
        control.SetRangeFormat(start + run.start, start + run.end, &coloured);
    }
}

void FillNcCodePane(IRichEditControl& control, const NcCodePaneText& text)
{
    ClearNcCodePane(control);
    AppendNcCodePaneText(control, text, 0);
}

HRESULT CNcCodePane::Create(IHostDocument* document, LONG, LONG_PTR context)
{
    m_document = document;
    m_control = reinterpret_cast<IRichEditControl*>(context);
    if (document == nullptr)
        return S_OK;
    m_addin = CMillingAddin::FromDocument(document);
    CMillingJob* job = FindMillingJob(document);
    if (job == nullptr)
        return S_OK;
    job->SetNcCodeControl(m_control);
    job->UpdateNcCodePane();
    return S_OK;
}

HRESULT CNcCodePane::OnEvent(LONG, void*, LONG, LONG, LONG*) { return S_OK; }
