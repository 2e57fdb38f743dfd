// The NC code pane: the pane object the host makes for the page, the text
// it shows for a known job, and the colours of every character: headings
// red, each NC word in the colour of its letters' style, all protected;
// the same in the host's own text control.
#include <gtest/gtest.h>

#include <cctype>
#include <string_view>

#include "addins/milling/core/nc_code_fill.h"
#include "addins/milling/core/nc_code_pane.h"
#include "addins/milling/core/tests/fake_panel.h"
#include "addins/milling/core/tests/strimo_test_support.h"
#include "addins/milling/features/contourfeature.h"
#include "host/shell/controls/rich_edit_line_ctrl.h"
#include "ipostprocessor.h"
#include "nctokens.h"
#include "platform/user/inspect.h"

namespace {

using Lines = std::vector<std::string>;

// The colour the pane text gives the character at `position`.
COLORREF ColourAt(const NcCodePaneText& pane, LONG position)
{
    for (const NcCodeRun& run : pane.runs)
        if (run.start <= position && position < run.end)
            return run.colour;
    return kNcHeadingColour;
}

// The colour a character of an NC block should show: that of the address
// letter it follows (a number, its sign and point and the blanks after a
// word go with the word), by the Power Control word classes.
COLORREF ExpectedColour(const std::string& line, size_t k)
{
    size_t at = k + 1;
    while (at > 0 && std::string_view("0123456789.-+= ").find(line[at - 1]) != std::string_view::npos)
        --at;
    if (at == 0)
        return NcStyleColour(kNcStylePlain);
    switch (line[at - 1]) {
    case 'N':
    case 'G':
    case ':':
        return NcStyleColour(kNcStyleGWord);
    case 'X':
    case 'Y':
    case 'Z':
    case 'I':
    case 'J':
    case 'K':
    case 'R':
        return NcStyleColour(kNcStyleAxis);
    case 'M':
        return NcStyleColour(kNcStyleMWord);
    case 'F':
    case 'S':
    case 'T':
    case 'D':
        return NcStyleColour(kNcStyleFeedSpeedTool);
    default:
        return NcStyleColour(kNcStylePlain);
    }
}

class NcCodePaneTest : public StrimoTest {
protected:
    void TearDown() override
    {
        if (m_pane != nullptr)
            m_pane->Release();
        StrimoTest::TearDown();
    }
    IHostDocument* Host() { return m_document->GetHostDocument(); }
    IPostprocessor* PowerControl() { return m_addin->Postprocessors().at(0); }

    // One operation (active) with two contours: the program is known.
    CMillingJob* KnownJob()
    {
        CMillingJob* job = FindMillingJob(Host());
        auto operation = std::make_unique<CMillingOperation>(PowerControl(), "", CMovePoint{}, false);
        operation->AddFeature(MakeSquareContour(20, nullptr));
        operation->AddFeature(MakeSquareContour(10, nullptr));
        job->AddOperation(std::move(operation), true);
        return job;
    }

    void MakePane(IRichEditControl* control)
    {
        IAddinCommand* pane = nullptr;
        ASSERT_EQ(m_services.strimoFactory->CreateInstance(nullptr, CLSID_NcCodePane, reinterpret_cast<void**>(&pane)),
                  S_OK);
        m_pane = pane;
        ASSERT_EQ(m_pane->Create(Host(), kPaneNcCode, reinterpret_cast<LONG_PTR>(control)), S_OK);
    }

    IAddinCommand* m_pane = nullptr;
};

TEST_F(NcCodePaneTest, ANewDocumentShowsAnEmptyPane)
{
    FakeRichEdit control;
    control.rows = {"stale"};
    MakePane(&control);
    EXPECT_TRUE(control.rows.empty());
    EXPECT_TRUE(control.ranges.empty());
    EXPECT_EQ(control.format.dwEffects, static_cast<DWORD>(CFE_PROTECTED));
    // The pane answers every event without touching the result.
    LONG result = 0x10000000;
    EXPECT_EQ(m_pane->OnEvent(0x2000000, nullptr, 1, 0, &result), S_OK);
    EXPECT_EQ(result, 0x10000000);
}

// The text is the job's pane program; every character has the colour of
// its word's class, headings red; the runs are protected like the rest.
TEST_F(NcCodePaneTest, AKnownJobShowsItsProgramInTheStylesColours)
{
    CMillingJob* job = KnownJob();
    FakeRichEdit control;
    MakePane(&control);
    // The program is longer than the first slice: the rest as the loop's
    // timer appends it.
    job->FinishNcCodePane();
    std::vector<bool> heading;
    const Lines lines = job->NcCodePaneLines(&heading);
    ASSERT_GT(lines.size(), 10u);
    EXPECT_EQ(control.rows, lines);
    ASSERT_EQ(heading.size(), lines.size());
    // The headings are the operation's and each feature's.
    Lines headings;
    for (size_t i = 0; i < lines.size(); ++i)
        if (heading[i])
            headings.push_back(lines[i]);
    EXPECT_EQ(headings, (Lines{"Operation 1", "Phase 1", "Phase 2"}));

    NcCodePaneText pane;
    for (const FakeRichEdit::RangeFormat& range : control.ranges) {
        pane.runs.push_back({range.start, range.end, range.format.crTextColor});
        EXPECT_EQ(range.format.dwEffects, static_cast<DWORD>(CFE_PROTECTED));
        EXPECT_EQ(range.format.dwMask & CFM_PROTECTED, static_cast<DWORD>(CFM_PROTECTED));
    }
    // The pane is appended a slice at a time, so a run may stop short of
    // the line break that ends a slice: every character of the lines is
    // checked against its expected colour below instead of comparing runs.
    LONG position = 0;
    size_t coloured = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        SCOPED_TRACE(lines[i]);
        for (size_t k = 0; k < lines[i].size(); ++k) {
            const COLORREF expected = heading[i] ? kNcHeadingColour : ExpectedColour(lines[i], k);
            ASSERT_EQ(ColourAt(pane, position + static_cast<LONG>(k)), expected) << "character " << k;
            coloured += expected != kNcHeadingColour ? 1 : 0;
        }
        position += static_cast<LONG>(lines[i].size()) + 1;
    }
    EXPECT_GT(coloured, 100u);
    // A run per word class: few runs for many characters.
    EXPECT_LT(pane.runs.size() * 4, coloured);
}

TEST_F(NcCodePaneTest, TheTextFollowsTheActiveOperation)
{
    CMillingJob* job = KnownJob();
    auto other = std::make_unique<CMillingOperation>(PowerControl(), "", CMovePoint{}, false);
    other->AddFeature(MakeSquareContour(5, nullptr));
    job->AddOperation(std::move(other), false);
    FakeRichEdit control;
    MakePane(&control);
    job->FinishNcCodePane();
    ASSERT_FALSE(control.rows.empty());
    EXPECT_EQ(control.rows.front(), "Operation 1");
    const size_t firstLength = control.rows.size();
    job->SetActiveOperation(1);
    job->FinishNcCodePane();
    EXPECT_EQ(control.rows, job->NcCodePaneLines());
    EXPECT_EQ(control.rows.front(), "Operation 2");
    EXPECT_LT(control.rows.size(), firstLength);
}

TEST_F(NcCodePaneTest, WithoutAPostprocessorEverythingStaysRed)
{
    const Lines lines = {"Operation 1", "Phase 1", "G00 X1.000"};
    EXPECT_TRUE(BuildNcCodePaneText(lines, {true, true, false}, nullptr).runs.empty());
    const NcCodePaneText pane = BuildNcCodePaneText(lines, {true, true, false}, PowerControl());
    EXPECT_EQ(pane.text, "Operation 1\nPhase 1\nG00 X1.000");
    // G00 and the blank blue, the X word dark red up to the text's end.
    EXPECT_EQ(pane.runs, (std::vector<NcCodeRun>{{20, 24, NcStyleColour(kNcStyleGWord)},
                                                 {24, 30, NcStyleColour(kNcStyleAxis)}}));
}

// A contour of `moves` feed moves zigzagging up the part: a block each.
std::unique_ptr<CMillingFeature> Zigzag(int moves)
{
    auto feature = std::make_unique<CContourFeature>();
    CMovePoint at{0, 0, -1};
    for (int i = 0; i < moves; ++i) {
        CMove move;
        move.flag = kMoveFeedLine;
        move.start = at;
        at.x = (i % 2 == 0) ? 40.0 : 0.0;
        at.y += 0.5;
        move.end = at;
        EXPECT_TRUE(feature->AppendMove(move, nullptr).ok());
    }
    return feature;
}

// A long program shows its first slice at once and the rest a slice per
// step of the loop's timer; filled, the pane is the one-piece fill: the
// same rows, every character in the same colour.
TEST_F(NcCodePaneTest, ALongProgramFillsASliceAtATime)
{
    CMillingJob* job = FindMillingJob(Host());
    auto operation = std::make_unique<CMillingOperation>(PowerControl(), "", CMovePoint{}, false);
    operation->AddFeature(Zigzag(150));
    operation->AddFeature(Zigzag(90));
    job->AddOperation(std::move(operation), true);
    std::vector<bool> heading;
    const Lines lines = job->NcCodePaneLines(&heading);
    ASSERT_GT(lines.size(), kNcPaneShownRows + 4 * kNcPaneHiddenSliceLines) << "small and large slices both";

    FakeRichEdit sliced;
    MakePane(&sliced);
    EXPECT_EQ(sliced.rows, Lines(lines.begin(), lines.begin() + kNcPaneSliceLines)) << "the first slice at once";
    size_t steps = 0;
    size_t shown = kNcPaneSliceLines;
    while (job->ContinueNcCodePane()) {
        ++steps;
        shown += NcPaneSliceLines(shown);
        ASSERT_EQ(sliced.rows.size(), shown) << "step " << steps;
    }
    // The step that appends the last lines answers that none remain.
    EXPECT_LE(lines.size() - shown, NcPaneSliceLines(shown));
    EXPECT_FALSE(job->ContinueNcCodePane()) << "a filled pane has nothing more to do";
    EXPECT_EQ(sliced.rows, lines);

    FakeRichEdit whole;
    FillNcCodePane(whole, BuildNcCodePaneText(lines, heading, PowerControl()));
    NcCodePaneText slicedText;
    NcCodePaneText wholeText;
    for (const FakeRichEdit::RangeFormat& range : sliced.ranges)
        slicedText.runs.push_back({range.start, range.end, range.format.crTextColor});
    for (const FakeRichEdit::RangeFormat& range : whole.ranges)
        wholeText.runs.push_back({range.start, range.end, range.format.crTextColor});
    LONG position = 0;
    for (const std::string& line : lines) {
        for (size_t k = 0; k < line.size(); ++k)
            ASSERT_EQ(ColourAt(slicedText, position + static_cast<LONG>(k)),
                      ColourAt(wholeText, position + static_cast<LONG>(k)))
                << line << " character " << k;
        position += static_cast<LONG>(line.size()) + 1;
    }
    job->SetNcCodeControl(nullptr);
}

// A fill whose operation changes under it before it is done stops instead
// of writing features that may be gone; the job's next refill shows what
// it holds then.
TEST_F(NcCodePaneTest, AFillStopsWhenItsOperationChanges)
{
    CMillingJob* job = FindMillingJob(Host());
    auto operation = std::make_unique<CMillingOperation>(PowerControl(), "", CMovePoint{}, false);
    operation->AddFeature(Zigzag(400));
    job->AddOperation(std::move(operation), true);
    FakeRichEdit control;
    MakePane(&control);
    const size_t shown = control.rows.size();
    ASSERT_EQ(shown, kNcPaneSliceLines);

    // The feature goes without the job being told.
    job->GetOperation(0)->RemoveFeature(0);
    EXPECT_FALSE(job->ContinueNcCodePane());
    EXPECT_EQ(control.rows.size(), shown) << "nothing of the removed feature was appended";
    job->UpdateNcCodePane();
    EXPECT_EQ(control.rows, Lines{"Operation 1"});

    // Deleting the operation refills the pane at once.
    job->GetOperation(0)->AddFeature(Zigzag(400));
    job->UpdateNcCodePane();
    ASSERT_EQ(control.rows.size(), kNcPaneSliceLines);
    job->DeleteOperation(0);
    EXPECT_FALSE(job->ContinueNcCodePane());
    EXPECT_TRUE(control.rows.empty());
    job->SetNcCodeControl(nullptr);
}

// In the host's text control: the rows, the colours of a G word and an
// axis word, and every character protected against editing.
TEST_F(NcCodePaneTest, TheHostsControlShowsColouredProtectedText)
{
    CMillingJob* job = KnownJob();
    ResetWindowSystem();
    CWnd window;
    ASSERT_TRUE(window.CreateEx(0, CWnd::AfxRegisterWndClass(0), "", WS_POPUP | WS_VISIBLE, CRect(0, 0, 400, 300),
                                nullptr, 0));
    {
        CRichEditLineCtrl control;
        ASSERT_TRUE(control.Create(kRichEditLineStyle, CRect(0, 0, 300, 200), &window, 0));
        IRichEditControl* object = &control.ScriptingObject();
        MakePane(object);
        job->FinishNcCodePane();
        const Lines lines = job->NcCodePaneLines();
        LONG rows = 0;
        object->GetRowCount(&rows);
        ASSERT_EQ(rows, static_cast<LONG>(lines.size()));
        char buffer[256];
        LONG length = 0;
        object->GetRow(2, buffer, sizeof buffer, &length);
        EXPECT_EQ(std::string(buffer, static_cast<size_t>(length)), lines[2]);
        LONG textLength = 0;
        object->GetTextLength(&textLength);
        LONG rowStart = 0;
        object->RowIndex(2, &rowStart);
        struct Probe {
            LONG position;
            COLORREF colour;
        };
        std::vector<Probe> probes = {{0, kNcHeadingColour}};
        for (size_t k = 0; k < lines[2].size(); ++k)
            if (std::isalpha(static_cast<unsigned char>(lines[2][k])))
                probes.push_back({rowStart + static_cast<LONG>(k), ExpectedColour(lines[2], k)});
        for (LONG position = 0; position < textLength; position += 37)
            probes.push_back({position, 0xFFFFFFFF});
        for (const Probe& probe : probes) {
            SCOPED_TRACE(probe.position);
            CHARFORMAT format{};
            format.cbSize = sizeof format;
            DWORD mask = 0;
            ASSERT_EQ(object->GetCharFormat(probe.position, &format, &mask), S_OK);
            EXPECT_NE(format.dwEffects & CFE_PROTECTED, 0u);
            if (probe.colour != 0xFFFFFFFF) {
                EXPECT_EQ(format.crTextColor, probe.colour);
            }
        }
        job->SetNcCodeControl(nullptr);
    }
    window.DestroyWindow();
    AfxDeleteTempMaps();
    ResetWindowSystem();
}

} // namespace
