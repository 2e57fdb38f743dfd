// The simulation's run with a scripted clock: rapid and feed timing, the
// time carried from one line to the next, stop and start, F, T and the
// colour words, the rows marked, the restart; the lines matched with a
// feature's moves and its NC program.
#include <gtest/gtest.h>

#include <cmath>

#include "addins/milling/core/simulation.h"
#include "addins/milling/core/simulation_program.h"
#include "addins/milling/core/milling_operation.h"
#include "addins/milling/core/tests/strimo_test_support.h"
#include "ipostprocessor.h"
#include "nctokens.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

SimulationToken Code(int32_t code) { return {code, 0, 0.0}; }
SimulationToken Real(int32_t code, double value) { return {code, 0, value}; }
SimulationToken Integer(int32_t code, int32_t value) { return {code, value, 0.0}; }

// A line along x from `from` to `to` with the tokens, shown on `row`.
SimulationLine Line(double from, double to, std::vector<SimulationToken> tokens, long row = -1)
{
    SimulationLine line;
    line.tokens = std::move(tokens);
    line.segment = SimulationSegment::Straight({from, 0, 0}, {to, 0, 0});
    line.row = row;
    return line;
}

// A simulation on a clock the test sets, started on its lines and stepped
// once (the step that only reads the first line).
class ScriptedRun {
public:
    explicit ScriptedRun(std::vector<SimulationLine> lines)
        : simulation([this] { return now; })
    {
        simulation.SetLines(std::move(lines));
        simulation.SetMarker([this](long row) { marked.push_back(row); });
        simulation.Start();
        EXPECT_EQ(simulation.Step(), StepResult::Draw);
    }
    StepResult At(DWORD milliseconds)
    {
        now = milliseconds;
        return simulation.Step();
    }
    double X() const { return simulation.ToolPosition().value().x; }

    DWORD now = 0;
    CSimulation simulation;
    std::vector<long> marked;
};

// F600 is 10 units a second: a 20-long move takes 2 seconds; a rapid at
// the start speed of 50 units a second takes 0.4.
TEST(Simulation, RapidAndFeedMovesTakeTheirTime)
{
    ScriptedRun run({Line(0, 20, {Code(kNcLinear), Real(kNcFeed, 600)}), Line(20, 40, {Code(kNcRapid)})});
    EXPECT_EQ(run.simulation.LineIndex(), 0);
    EXPECT_DOUBLE_EQ(run.simulation.FeedSpeed(), 10.0);
    EXPECT_EQ(run.At(1000), StepResult::Draw);
    EXPECT_DOUBLE_EQ(run.simulation.T(), 0.5);
    EXPECT_DOUBLE_EQ(run.X(), 10.0);
    EXPECT_EQ(run.At(2000), StepResult::Draw);
    EXPECT_EQ(run.simulation.LineIndex(), 0);
    EXPECT_DOUBLE_EQ(run.simulation.T(), 1.0) << "a budget that exactly covers the rest ends on the line";
    EXPECT_EQ(run.At(2200), StepResult::Draw);
    EXPECT_EQ(run.simulation.LineIndex(), 1);
    EXPECT_TRUE(run.simulation.Rapid());
    EXPECT_NEAR(run.simulation.T(), 0.5, 1e-12) << "0.2 s of the rapid's 0.4 s";
    EXPECT_NEAR(run.X(), 30.0, 1e-9);

    // The speed factor divides the time.
    ScriptedRun fast({Line(0, 20, {Code(kNcLinear), Real(kNcFeed, 600)}), Line(20, 40, {})});
    EXPECT_TRUE(fast.simulation.SetSpeedFactor(4.0));
    fast.At(250);
    EXPECT_DOUBLE_EQ(fast.X(), 10.0);
    for (double refused : {-1.0, std::nan(""), static_cast<double>(INFINITY)})
        EXPECT_FALSE(fast.simulation.SetSpeedFactor(refused)) << refused;
    EXPECT_DOUBLE_EQ(fast.simulation.SpeedFactor(), 4.0);
}

// A budget past the end of a move goes on to the next in the same step:
// the line index moves on by one and t on the new move is the surplus over
// its time.
TEST(Simulation, TheBudgetCarriesAcrossMoves)
{
    ScriptedRun run({Line(0, 10, {Code(kNcLinear)}), Line(10, 30, {}), Line(30, 31, {}), Line(31, 32, {})});
    EXPECT_EQ(run.At(1500), StepResult::Draw);
    EXPECT_EQ(run.simulation.LineIndex(), 1);
    EXPECT_DOUBLE_EQ(run.simulation.T(), 0.25);
    EXPECT_DOUBLE_EQ(run.X(), 15.0);
    // 1.5 s more: the rest of line 1 (1.5 s) exactly.
    EXPECT_EQ(run.At(3000), StepResult::Draw);
    EXPECT_EQ(run.simulation.LineIndex(), 1);
    // Several moves in one step.
    EXPECT_EQ(run.At(3150), StepResult::Draw);
    EXPECT_EQ(run.simulation.LineIndex(), 3);
    EXPECT_NEAR(run.simulation.T(), 0.5, 1e-9);
}

// Stop keeps the line and t; the step after a start only reads the current
// line, so the time while stopped is not counted.
TEST(Simulation, StopAndStartAgain)
{
    ScriptedRun run({Line(0, 20, {Code(kNcLinear)}), Line(20, 40, {})});
    run.At(500);
    run.simulation.Stop();
    EXPECT_FALSE(run.simulation.Running());
    EXPECT_FALSE(run.simulation.SteppingStarted());
    EXPECT_DOUBLE_EQ(run.simulation.T(), 0.25);
    run.simulation.Start();
    EXPECT_EQ(run.At(60000), StepResult::Draw);
    EXPECT_DOUBLE_EQ(run.simulation.T(), 0.25) << "a minute stopped moves nothing";
    run.At(60500);
    EXPECT_DOUBLE_EQ(run.simulation.T(), 0.5);
    EXPECT_TRUE(run.simulation.ToolShown());
}

// F sets the speed of the motion in force: on a G0 line the rapid speed;
// T picks the tool (its number less 1); M35 sets and M36 clears the colour.
TEST(Simulation, TheWordsOfTheLines)
{
    ScriptedRun run({Line(0, 10, {Code(kNcRapid), Real(kNcFeed, 1200), Integer(kNcTool, 3), Code(kNcM35)}),
                     Line(10, 20, {Code(kNcLinear), Real(kNcFeed, 300), Code(kNcM36)}),
                     Line(20, 30, {Integer(kNcTool, 0)})});
    EXPECT_DOUBLE_EQ(run.simulation.RapidSpeed(), 20.0);
    EXPECT_DOUBLE_EQ(run.simulation.FeedSpeed(), 10.0) << "an F on a G0 line leaves the feed";
    EXPECT_EQ(run.simulation.ToolIndex(), 2);
    EXPECT_TRUE(run.simulation.ColourFlag());
    run.At(500); // the rapid's 10 at 20 a second
    run.At(600);
    EXPECT_EQ(run.simulation.LineIndex(), 1);
    EXPECT_DOUBLE_EQ(run.simulation.FeedSpeed(), 5.0);
    EXPECT_FALSE(run.simulation.ColourFlag());
    EXPECT_NEAR(run.simulation.T(), 0.05, 1e-12);
    run.At(2600);
    EXPECT_EQ(run.simulation.LineIndex(), 2);
    EXPECT_EQ(run.simulation.ToolIndex(), -1) << "T0 is no tool of the list";
}

// Each line entered marks its row once; after the last line the run starts
// again at line 0 (that step draws nothing) and goes on from there.
TEST(Simulation, TheRowsPassedAreMarkedAndTheRunStartsAgain)
{
    ScriptedRun run({Line(0, 10, {Code(kNcLinear)}, 1), Line(10, 20, {}, 2), Line(20, 30, {}, -1), Line(30, 40, {}, 4)});
    run.At(100);
    run.At(200);
    EXPECT_EQ(run.marked, (std::vector<long>{1}));
    run.At(3500);
    EXPECT_EQ(run.marked, (std::vector<long>{1, 2, 4})) << "a line without a row marks nothing";
    EXPECT_EQ(run.At(4500), StepResult::Restarted);
    EXPECT_EQ(run.simulation.LineIndex(), 0);
    EXPECT_DOUBLE_EQ(run.simulation.T(), 0.0);
    EXPECT_TRUE(run.simulation.Running());
    EXPECT_EQ(run.At(5000), StepResult::Draw);
    EXPECT_DOUBLE_EQ(run.X(), 5.0) << "the time past the end is not spent again";
    EXPECT_EQ(run.marked, (std::vector<long>{1, 2, 4, 1}));
}

TEST(Simulation, EdgesOfTheRun)
{
    // F0: the move never ends, the tool stays on it.
    ScriptedRun stuck({Line(0, 10, {Code(kNcLinear), Real(kNcFeed, 0)}), Line(10, 20, {})});
    stuck.At(100000);
    EXPECT_EQ(stuck.simulation.LineIndex(), 0);
    EXPECT_DOUBLE_EQ(stuck.simulation.T(), 0.0);
    // Lines of no length take no time.
    ScriptedRun empty({Line(0, 0, {Code(kNcLinear)}), Line(0, 0, {}), Line(0, 10, {}), Line(10, 20, {})});
    empty.At(500);
    EXPECT_EQ(empty.simulation.LineIndex(), 2);
    EXPECT_DOUBLE_EQ(empty.simulation.T(), 0.5);
    // The tick count wraps: the unsigned difference is the time.
    CSimulation wrapped([] { return DWORD{0}; });
    DWORD now = 0xFFFFFF00u;
    CSimulation clock([&now] { return now; });
    clock.SetLines({Line(0, 100, {Code(kNcLinear)}), Line(100, 110, {})});
    clock.Start();
    clock.Step();
    now = 0x00000100u; // 512 ms later
    clock.Step();
    EXPECT_NEAR(clock.T(), 0.0512, 1e-12);
    // No lines: nothing to step, no position.
    wrapped.Start();
    EXPECT_EQ(wrapped.Step(), StepResult::Restarted);
    EXPECT_FALSE(wrapped.ToolPosition().has_value());
}

CMove Move(uint8_t flag, CMovePoint start, CMovePoint end, CMovePoint centre = {}, double radius = 0.0)
{
    CMove move;
    move.flag = flag;
    move.start = start;
    move.end = end;
    move.centre = centre;
    move.radius = radius;
    return move;
}

// The first rapid waits at the start, each move that writes a block is a
// line, a straight move that changes nothing writes none, the retract
// climbs and the program end goes back to the start.
TEST(SimulationLines, MatchTheBlocksWithTheMoves)
{
    const std::vector<CMove> moves = {
        Move(kMoveRapid, {0, 0, 5}, {0, 0, 0}),
        Move(kMoveFeedLine, {0, 0, 0}, {10, 0, 0}),
        Move(kMoveFeedLine, {10, 0, 0}, {10, 0, 0}),
        Move(kMoveArcCounterClockwise, {10, 0, 0}, {15, 5, 0}, {10, 5, 0}, 5.0),
        Move(kMoveArcClockwise, {15, 5, 0}, {10, 10, 0}, {10, 5, 0}, 5.0),
    };
    std::vector<std::vector<SimulationToken>> blocks(7);
    for (size_t j = 0; j < blocks.size(); ++j)
        blocks[j] = {Integer(kNcBlockNumber, static_cast<int32_t>(j))};
    const std::vector<SimulationLine> lines = MatchSimulationLines(moves, blocks);
    ASSERT_EQ(lines.size(), 7u);
    const double lengths[] = {0.0, 5.0, 10.0, 5.0 * kPi / 2.0, 5.0 * 3.0 * kPi / 2.0, 5.0, std::hypot(10.0, 10.0)};
    for (size_t j = 0; j < lines.size(); ++j) {
        SCOPED_TRACE(j);
        EXPECT_NEAR(lines[j].segment.length, lengths[j], 1e-12);
        EXPECT_EQ(lines[j].row, static_cast<long>(j) + 1);
        EXPECT_EQ(lines[j].tokens.at(0).integer, static_cast<int32_t>(j));
    }
    // Half way round the counter-clockwise quarter: 45 degrees from -x.
    const CMovePoint half = lines[3].segment.PointAt(lines[3].segment.length / 2.0);
    EXPECT_NEAR(half.x, 10.0 + 5.0 * std::cos(-kPi / 4.0), 1e-12);
    EXPECT_NEAR(half.y, 5.0 + 5.0 * std::sin(-kPi / 4.0), 1e-12);
    // The clockwise three quarters passes through (5, 5).
    const CMovePoint third = lines[4].segment.PointAt(lines[4].segment.length * 2.0 / 3.0);
    EXPECT_NEAR(third.x, 5.0, 1e-12);
    EXPECT_NEAR(third.y, 5.0, 1e-12);
    EXPECT_NEAR(lines[5].segment.end.z, 5.0, 1e-12) << "the retract climbs to the first height";
    EXPECT_NEAR(lines[6].segment.end.x, 0.0, 1e-12);
    EXPECT_NEAR(lines[6].segment.end.z, 5.0, 1e-12);

    // Fewer blocks than lines: the rest have no tokens and no row.
    const std::vector<SimulationLine> cut = MatchSimulationLines(moves, {{}, {}});
    ASSERT_EQ(cut.size(), 7u);
    EXPECT_EQ(cut[1].row, 2);
    EXPECT_EQ(cut[2].row, -1);
    EXPECT_TRUE(MatchSimulationLines({}, blocks).empty());
}

class SimulationProgramTest : public StrimoTest {};

// The program of a contour through the shipped dialect: the heading, then
// one row per line, each line's motion word that of its block, the rows
// numbered from 1.
TEST_F(SimulationProgramTest, TheProgramOfAContour)
{
    std::unique_ptr<CMillingFeature> contour = MakeSquareContour(20.0, nullptr);
    ASSERT_FALSE(contour->Moves().empty());
    CMillingOperation operation(m_addin->Postprocessors().at(0), "", CMovePoint{}, false);
    CNcMachineSettings machine;
    const SimulationProgram program = BuildSimulationProgram(*contour, &operation, machine);
    EXPECT_TRUE(program.message.empty()) << program.message;
    ASSERT_EQ(program.text.size(), program.lines.size() + 1);
    EXPECT_EQ(program.text[0], "Phase 1");
    bool sawArc = false;
    for (size_t j = 0; j < program.lines.size(); ++j) {
        SCOPED_TRACE(program.text[j + 1]);
        const SimulationLine& line = program.lines[j];
        EXPECT_EQ(line.row, static_cast<long>(j) + 1);
        ASSERT_FALSE(line.tokens.empty());
        const int32_t code = line.tokens[0].code;
        const char* word = code == kNcRapid ? "G00" : code == kNcLinear ? "G01" : code == kNcArcClockwise ? "G02"
                           : code == kNcArcCounterClockwise ? "G03" : "M";
        EXPECT_EQ(program.text[j + 1].rfind(word, 0), 0u);
        sawArc = sawArc || line.segment.arc;
    }
    EXPECT_TRUE(sawArc) << "the outside contour rounds its corners";

    // Without a machine the tool still runs, the text stays empty.
    CMillingOperation bare(CMovePoint{}, false);
    const SimulationProgram silent = BuildSimulationProgram(*contour, &bare, machine);
    EXPECT_TRUE(silent.text.empty());
    EXPECT_FALSE(silent.message.empty());
    EXPECT_EQ(silent.lines.size(), program.lines.size());
}

} // namespace
