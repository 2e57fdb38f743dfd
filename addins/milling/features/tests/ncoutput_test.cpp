// NC output of a feature: golden programs in both dialects, the words each
// move writes, programs of several features, and a parse-back round trip.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>

#include "addins/milling/features/contourfeature.h"
#include "addins/milling/features/tests/toolpath_check.h"
#include "addins/milling/features/ncfeaturewriter.h"
#include "postproc/postprocessor.h"

namespace {

CMove Line(uint8_t flag, CMovePoint s, CMovePoint e)
{
    CMove m;
    m.flag = flag;
    m.start = s;
    m.end = e;
    return m;
}

CMove Arc(uint8_t flag, CMovePoint s, CMovePoint e, CMovePoint c)
{
    CMove m = Line(flag, s, e);
    m.centre = c;
    m.radius = std::hypot(e.x - c.x, e.y - c.y);
    return m;
}

// A small part: approach, plunge, a square-ish loop with both arc senses, a
// move that changes nothing, and the retract.
void FillPart(CMillingFeature& f)
{
    const CMove moves[] = {
        Line(kMoveRapid, {0, 0, 20}, {0, 0, 2}),
        Line(kMoveFeedLine, {0, 0, 2}, {0, 0, -1.5}),
        Line(kMoveFeedLine, {0, 0, -1.5}, {10, 0, -1.5}),
        Arc(kMoveArcCounterClockwise, {10, 0, -1.5}, {10, 10, -1.5}, {10, 5, -1.5}),
        Line(kMoveFeedLine, {10, 10, -1.5}, {10, 10, -1.5}),
        Line(kMoveFeedLine, {10, 10, -1.5}, {0, 10, -1.5}),
        Arc(kMoveArcClockwise, {0, 10, -1.5}, {0, 0, -1.5}, {0.5, 5, -1.5}),
        Line(kMoveRapid, {0, 0, -1.5}, {0, 0, 20}),
    };
    for (const CMove& m : moves)
        ASSERT_TRUE(f.AppendMove(m, nullptr).ok());
}

using Postprocessor = toolpathcheck::PostprocessorHolder;

std::string Join(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& l : lines)
        text += l + "\n";
    return text;
}

std::string DataPath(const std::string& name)
{
    return std::string(NUVEX_TEST_SOURCE_DIR) + "/addins/milling/features/tests/data/" + name;
}

TEST(NcOutput, GoldenProgramsInBothDialects)
{
    struct Case {
        const char* file;
        int dialect;
        CNcMachineSettings machine;
    };
    const Case cases[] = {
        {"part_dialect0.nc", 0, {true, false, false}},
        {"part_dialect0_numbered.nc", 0, {true, false, true}},
        {"part_dialect0_not_modal_spaced.nc", 0, {false, true, false}},
        {"part_dialect1.nc", 1, {true, false, false}},
        {"part_dialect1_numbered.nc", 1, {true, false, true}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        CContourFeature f;
        FillPart(f);
        Postprocessor pp(c.dialect);
        CNcOutputContext context;
        context.postprocessor = pp.p;
        context.machine = c.machine;
        std::vector<std::string> lines;
        ASSERT_TRUE(f.WriteNc(lines, 1, CMillingFeature::NcBlocks::Discard, context).ok());
        std::ifstream in(DataPath(c.file));
        std::stringstream golden;
        golden << in.rdbuf();
        const std::string actual = Join(lines);
        if (actual != golden.str()) {
            // The output goes to the test's temporary folder, never into the
            // source tree, so a failed run leaves the checkout clean.
            const std::string written = ::testing::TempDir() + c.file + ".out";
            std::ofstream(written) << actual;
            ADD_FAILURE() << "differs from the golden file; output written to " << written << ":\n" << actual;
        }
    }
}

// The words of single moves, in the first dialect.
TEST(NcOutput, WordsOfSingleMoves)
{
    struct Case {
        const char* name;
        std::vector<CMove> moves;
        CNcMachineSettings machine;
        CMovePoint origin;
        bool invertedZ;
        std::vector<std::string> expected; // the move lines, between first block and retract
    };
    const std::vector<Case> cases = {
        {"modal_feed_lines_share_one_g1",
         {Line(kMoveFeedLine, {0, 0, 0}, {5, 0, 0}), Line(kMoveFeedLine, {5, 0, 0}, {5, 5, 0})},
         {true, false, false}, {}, false, {"G01X5", "Y5"}},
        {"not_modal_repeats_g1",
         {Line(kMoveFeedLine, {0, 0, 0}, {5, 0, 0}), Line(kMoveFeedLine, {5, 0, 0}, {5, 5, 0})},
         {false, false, false}, {}, false, {"G01X5", "G01Y5"}},
        {"z_only_with_numbers", {Line(kMoveFeedLine, {0, 0, 0}, {0, 0, -2})}, {true, false, true}, {}, false,
         {"N2G01Z-2"}},
        {"repeat_point_writes_nothing",
         {Line(kMoveFeedLine, {0, 0, 0}, {0, 0, 0}), Line(kMoveFeedLine, {0, 0, 0}, {1, 0, 0})},
         {true, false, true}, {}, false, {"N2G01X1"}},
        {"origin_and_inverted_z", {Line(kMoveFeedLine, {15, 20, 5}, {15, 20, 0})}, {true, false, false},
         {10, 20, 5}, true, {"G01Z5"}},
        {"full_circle_arc_keeps_ij",
         {Arc(kMoveArcCounterClockwise, {3, 0, 0}, {3, 0, 0}, {0, 0, 0})}, {true, false, false}, {}, false,
         {"G03I-3J0"}},
        {"ij_are_offsets_from_the_arc_start",
         {Arc(kMoveArcClockwise, {110, 20, 0}, {120, 30, 0}, {120, 20, 0})}, {true, false, false},
         {100, 0, 0}, false, {"G02X20Y30I10J0"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CContourFeature f;
        for (const CMove& m : c.moves)
            ASSERT_TRUE(f.AppendMove(m, nullptr).ok());
        Postprocessor pp(0);
        CNcOutputContext context;
        context.postprocessor = pp.p;
        context.machine = c.machine;
        context.origin = c.origin;
        context.invertedZ = c.invertedZ;
        std::vector<std::string> lines;
        ASSERT_TRUE(f.WriteNc(lines, -1, CMillingFeature::NcBlocks::Discard, context).ok());
        ASSERT_EQ(lines.size(), c.expected.size() + 3) << Join(lines);
        for (size_t i = 0; i < c.expected.size(); ++i)
            EXPECT_EQ(lines[i + 1], c.expected[i]);
        for (const std::string& l : lines)
            EXPECT_FALSE(l.empty());
    }
}

TEST(NcOutput, HeadingSeparatorAndNothingToWrite)
{
    Postprocessor pp(0);
    CNcOutputContext context;
    context.postprocessor = pp.p;
    context.machine = {true, true, false};
    CContourFeature f;
    FillPart(f);
    std::vector<std::string> lines;
    ASSERT_TRUE(f.WriteNc(lines, 2, CMillingFeature::NcBlocks::Discard, context).ok());
    EXPECT_EQ(lines.front(), "Phase 2");
    EXPECT_NE(lines[1].find(' '), std::string::npos) << lines[1];
    EXPECT_EQ(lines[lines.size() - 2].find(' '), std::string::npos); // the retract
    EXPECT_EQ(lines.back().find(' '), std::string::npos);            // the program end
    lines.clear();
    ASSERT_TRUE(f.WriteNc(lines, -1, CMillingFeature::NcBlocks::Discard, context).ok());
    EXPECT_NE(lines.front().rfind("Phase", 0), 0u);

    CContourFeature empty;
    lines.clear();
    EXPECT_TRUE(empty.WriteNc(lines, 1, CMillingFeature::NcBlocks::Keep, context).ok());
    EXPECT_TRUE(lines.empty());
    EXPECT_TRUE(empty.RecordedBlocks().empty());

    CNcOutputContext none;
    Status status = f.WriteNc(lines, 1, CMillingFeature::NcBlocks::Discard, none);
    ASSERT_FALSE(status.ok());
    EXPECT_EQ(status.error().code, FeatureError::NoPostprocessor);
    EXPECT_TRUE(lines.empty());
}

TEST(NcOutput, OperationProgramRunsEveryFeatureWithContinuingNumbers)
{
    Postprocessor pp(0);
    CNcOutputContext context;
    context.postprocessor = pp.p;
    context.machine = {true, false, true};
    CContourFeature first, second;
    FillPart(first);
    FillPart(second);
    std::vector<std::string> lines;
    context.lastFeature = false;
    ASSERT_TRUE(first.WriteNc(lines, -1, CMillingFeature::NcBlocks::Keep, context).ok());
    const size_t firstCount = lines.size();
    context.lastFeature = true;
    ASSERT_TRUE(second.WriteNc(lines, -1, CMillingFeature::NcBlocks::Keep, context).ok());
    int ends = 0, expectedNumber = 1;
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string& l = lines[i];
        ends += l == "M30";
        if (l[0] == 'N') {
            EXPECT_EQ(std::stoi(l.substr(1)), expectedNumber) << l;
            ++expectedNumber;
        }
    }
    EXPECT_EQ(ends, 1);
    EXPECT_EQ(lines.back(), "M30");
    EXPECT_EQ(lines[firstCount - 1], "G00Z20"); // the first feature ends with its retract
    // Every block but the program end is recorded.
    EXPECT_EQ(first.RecordedBlocks().size(), firstCount);
    EXPECT_EQ(second.RecordedBlocks().size(), lines.size() - firstCount - 1);
}

// A program written a few lines at a time is the program WriteNc writes,
// whatever the step: headings, arcs that print as several blocks, block
// numbers that continue into the next feature, the retract and the end.
TEST(NcOutput, AProgramWrittenInStepsIsTheWholeProgram)
{
    Postprocessor pp(0);
    struct Case {
        const char* name;
        size_t step;
        CNcMachineSettings machine;
        int number;
    };
    const Case cases[] = {
        {"one_line_a_step_numbered", 1, {true, false, true}, 2},
        {"three_lines_a_step", 3, {false, true, false}, 1},
        {"no_heading", 2, {true, true, true}, -1},
        {"all_at_once", 1000, {true, false, false}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CContourFeature feature;
        FillPart(feature);
        CNcOutputContext whole;
        whole.postprocessor = pp.p;
        whole.machine = c.machine;
        whole.nextBlockNumber = 7;
        whole.lastFeature = false;
        std::vector<std::string> expected;
        ASSERT_TRUE(feature.WriteNc(expected, c.number, CMillingFeature::NcBlocks::Discard, whole).ok());

        CNcOutputContext stepped = whole;
        stepped.nextBlockNumber = 7;
        CNcFeatureWriter writer(feature, c.number, false, stepped);
        std::vector<std::string> lines;
        size_t calls = 0;
        while (!writer.Done()) {
            const size_t before = lines.size();
            ASSERT_TRUE(writer.Write(lines, c.step).ok());
            // A call stops once it has its lines, short of the end only
            // by a move's blocks.
            if (!writer.Done()) {
                EXPECT_GE(lines.size() - before, c.step);
            }
            ASSERT_LT(++calls, 100u);
        }
        EXPECT_EQ(lines, expected);
        EXPECT_EQ(stepped.nextBlockNumber, whole.nextBlockNumber) << "the next feature's numbers go on from here";
        EXPECT_TRUE(feature.RecordedBlocks().empty()) << "nothing is recorded without the switch";
        EXPECT_TRUE(writer.Write(lines, 5).ok());
        EXPECT_EQ(lines, expected) << "a finished writer writes nothing more";
    }
}

TEST(NcOutput, AWriterWithoutMovesOrPostprocessorWritesNothing)
{
    Postprocessor pp(0);
    CContourFeature empty;
    CNcOutputContext context;
    context.postprocessor = pp.p;
    std::vector<std::string> lines;
    CNcFeatureWriter nothing(empty, 1, true, context);
    EXPECT_TRUE(nothing.Write(lines, 10).ok());
    EXPECT_TRUE(nothing.Done());
    EXPECT_TRUE(lines.empty()) << "no heading for a feature without moves";

    CContourFeature part;
    FillPart(part);
    CNcOutputContext bare;
    CNcFeatureWriter refused(part, 1, true, bare);
    const Status status = refused.Write(lines, 10);
    ASSERT_FALSE(status.ok());
    EXPECT_EQ(status.error().code, FeatureError::NoPostprocessor);
    EXPECT_TRUE(refused.Done());
    EXPECT_TRUE(lines.empty());
}

// Reads a program back with the parser and rebuilds the end points and arc
// centres: they match the toolpath within 0.001.
TEST(NcOutput, ParsedBackGivesTheSameMoves)
{
    for (int dialect : {0, 1}) {
        SCOPED_TRACE(dialect);
        Postprocessor pp(dialect);
        CNcOutputContext context;
        context.postprocessor = pp.p;
        context.machine = {true, true, true};
        context.origin = {1, 2, 3};
        CContourFeature f;
        FillPart(f);
        std::vector<std::string> lines;
        ASSERT_TRUE(f.WriteNc(lines, -1, CMillingFeature::NcBlocks::Discard, context).ok());
        INT count = 0;
        INT codes[kNcMaxBlockTokens], kinds[kNcMaxBlockTokens];
        VARIANT values[kNcMaxBlockTokens] = {};
        CMovePoint at;
        std::vector<CMove> parsed;
        int motion = kNcRapid;
        for (const std::string& l : lines) {
            ASSERT_EQ(pp.p->ParseBlock(l.c_str(), &count, codes, kinds, values, nullptr), S_OK);
            CMovePoint end = at;
            double i = 0, j = 0;
            bool moved = false;
            for (INT t = 0; t < count; ++t) {
                switch (codes[t]) {
                case kNcRapid: case kNcLinear: case kNcArcClockwise: case kNcArcCounterClockwise:
                    motion = codes[t];
                    break;
                case kNcX: end.x = values[t].dblVal; moved = true; break;
                case kNcY: end.y = values[t].dblVal; moved = true; break;
                case kNcZ: end.z = values[t].dblVal; moved = true; break;
                case kNcCentreI: i = values[t].dblVal; moved = true; break;
                case kNcCentreJ: j = values[t].dblVal; moved = true; break;
                default: break;
                }
            }
            if (moved) {
                CMove m = Line(motion == kNcRapid ? kMoveRapid : kMoveFeedLine, at, end);
                if (motion == kNcArcClockwise || motion == kNcArcCounterClockwise)
                    m.centre = {at.x + i, at.y + j, at.z};
                parsed.push_back(m);
            }
            at = end;
        }
        // Moves that change nothing write nothing, the first block and the
        // retract add one each.
        const std::vector<CMove>& moves = f.Moves();
        ASSERT_EQ(parsed.size(), moves.size() - 1 + 2);
        size_t k = 1;
        for (const CMove& m : moves) {
            if (&m == &moves[4])
                continue; // the move that changes nothing
            SCOPED_TRACE(k);
            EXPECT_NEAR(parsed[k].end.x, m.end.x - 1, 1e-3);
            EXPECT_NEAR(parsed[k].end.y, m.end.y - 2, 1e-3);
            EXPECT_NEAR(parsed[k].end.z, m.end.z - 3, 1e-3);
            if (IsArcMove(m.flag)) {
                EXPECT_NEAR(parsed[k].centre.x, m.centre.x - 1, 1e-3);
                EXPECT_NEAR(parsed[k].centre.y, m.centre.y - 2, 1e-3);
            }
            ++k;
        }
        count = 0;
    }
}

} // namespace

namespace {

using toolpathcheck::ReadBlock;
using toolpathcheck::ReadProgram;

bool IsArcCode(int motion) { return toolpathcheck::IsArcMotion(motion); }

// A chain of arcs that a strict controller finds hardest: small radii at
// positions off the grid, half turns with chords along the axes (odd and even
// in thousandths), full turns, arcs shorter than the grid, and random ones.
std::vector<CMove> HardArcs(unsigned seed)
{
    std::vector<CMove> moves;
    CMovePoint at{0.0, 0.0, -1.0};
    uint64_t state = seed;
    auto random = [&]() {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<double>(state >> 11) / static_cast<double>(1ull << 53);
    };
    auto arc = [&](double cx, double cy, double sweep, bool clockwise) {
        const double r = std::hypot(at.x - cx, at.y - cy);
        const double a = std::atan2(at.y - cy, at.x - cx) + (clockwise ? -sweep : sweep);
        CMovePoint end{cx + r * std::cos(a), cy + r * std::sin(a), at.z};
        if (sweep >= 2.0 * M_PI)
            end = at;
        moves.push_back(Arc(clockwise ? kMoveArcClockwise : kMoveArcCounterClockwise, at, end, {cx, cy, at.z}));
        at = end;
    };
    auto line = [&](double x, double y) {
        moves.push_back(Line(kMoveFeedLine, at, {x, y, at.z}));
        at = {x, y, at.z};
    };
    for (int k = 0; k < 400; ++k) {
        const double r = 0.3 + 3.0 * random();
        switch (k % 6) {
        case 0: // half turn, chord along y
            arc(at.x + r, at.y, M_PI, random() < 0.5);
            break;
        case 1: // half turn with an odd chord in thousandths along x
            line(std::round(at.x * 1000.0) / 1000.0 + 0.0004 * random(), std::round(at.y * 1000.0) / 1000.0);
            arc(at.x, at.y + 0.0005 + std::floor(r * 1000.0) / 1000.0, M_PI, random() < 0.5);
            break;
        case 2: // full turn
            arc(at.x + r * std::cos(7.0 * k), at.y + r * std::sin(7.0 * k), 2.0 * M_PI, random() < 0.5);
            break;
        case 3: // shorter than the grid
            arc(at.x + r, at.y + r * random(), 0.0003 / r, random() < 0.5);
            break;
        default: // anything
            arc(at.x + r * (random() - 0.5), at.y + r * (random() - 0.5), 2.0 * M_PI * random(), random() < 0.5);
            break;
        }
        if (k % 7 == 0)
            line(at.x + random(), at.y + random());
    }
    return moves;
}

} // namespace

TEST(NcOutput, EveryPrintedArcIsConsistentAndReadsBackAsItsMove)
{
    CContourFeature f;
    for (const CMove& m : HardArcs(22))
        ASSERT_TRUE(f.AppendMove(m, nullptr).ok());
    const CMovePoint origin{0.1234, -0.0005, 0.0};
    for (int dialect : {0, 1}) {
        for (const CNcMachineSettings& machine : {CNcMachineSettings{true, true, true}, CNcMachineSettings{}}) {
            SCOPED_TRACE(testing::Message() << "dialect " << dialect << " modal " << machine.modal);
            Postprocessor pp(dialect);
            CNcOutputContext context;
            context.postprocessor = pp.p;
            context.machine = machine;
            context.origin = origin;
            std::vector<std::string> lines;
            ASSERT_TRUE(f.WriteNc(lines, -1, CMillingFeature::NcBlocks::Discard, context).ok());
            const std::vector<ReadBlock> blocks = ReadProgram(pp.p, lines);

            // Every arc: the two radii of its printed numbers agree.
            for (const ReadBlock& b : blocks) {
                if (!IsArcCode(b.motion))
                    continue;
                const double r1 = std::hypot(b.start.x - b.centre.x, b.start.y - b.centre.y);
                const double r2 = std::hypot(b.end.x - b.centre.x, b.end.y - b.centre.y);
                ASSERT_LE(std::fabs(r1 - r2), 0.0005 + 1e-9) << r1 << " " << r2;
            }

            // Every move reads back: its blocks end at its end within the
            // print precision, each arc block in the move's sense about a
            // centre within 0.001 of the move's, its end on the move's arc.
            size_t next = 1; // after the first block
            for (const CMove& m : f.Moves()) {
                const CMovePoint end{m.end.x - origin.x, m.end.y - origin.y, m.end.z - origin.z};
                const CMovePoint centre{m.centre.x - origin.x, m.centre.y - origin.y, 0.0};
                const CMovePoint printedEnd{std::round(end.x * 1000.0) / 1000.0, std::round(end.y * 1000.0) / 1000.0,
                                            0.0};
                CMovePoint reached = next > 0 ? blocks[next - 1].end : CMovePoint{};
                while (std::fabs(reached.x - printedEnd.x) > 1e-9 || std::fabs(reached.y - printedEnd.y) > 1e-9) {
                    ASSERT_LT(next, blocks.size() - 1) << "the move's end is never reached";
                    const ReadBlock& b = blocks[next++];
                    if (IsArcMove(m.flag) && IsArcCode(b.motion)) {
                        EXPECT_EQ(b.motion, IsClockwiseArc(m.flag) ? kNcArcClockwise : kNcArcCounterClockwise);
                        EXPECT_NEAR(b.centre.x, centre.x, 0.001 + 1e-9);
                        EXPECT_NEAR(b.centre.y, centre.y, 0.001 + 1e-9);
                        EXPECT_NEAR(std::hypot(b.end.x - centre.x, b.end.y - centre.y), m.radius, 0.001);
                    } else if (IsArcMove(m.flag)) {
                        EXPECT_LT(m.radius * 1e-3, 0.01) << "only arcs too small for a centre go straight";
                    }
                    reached = b.end;
                }
                if (IsArcMove(m.flag) && std::hypot(m.end.x - m.start.x, m.end.y - m.start.y) < 1e-9) {
                    // A full turn is one block that ends where it starts.
                    ASSERT_LT(next, blocks.size());
                    const ReadBlock& b = blocks[next++];
                    EXPECT_TRUE(IsArcCode(b.motion));
                    EXPECT_NEAR(b.end.x, b.start.x, 1e-9);
                    EXPECT_NEAR(b.end.y, b.start.y, 1e-9);
                    EXPECT_NEAR(b.centre.x, centre.x, 0.001 + 1e-9);
                    EXPECT_NEAR(b.centre.y, centre.y, 0.001 + 1e-9);
                }
            }
            EXPECT_EQ(next, blocks.size() - 1) << "only the retract is left";
        }
    }
}
