// CSimulation: the tool's run along a feature's toolpath in real time,
// scaled by a speed factor. The program is a list of NC lines, each with
// the tokens of its block, the stretch of path the tool covers while the
// line runs, and the row of the NC text that shows it. Each step spends the
// time since the previous one on the lines in order, carrying what is left
// of it from one line to the next, and marks the rows it passes; after the
// last line the run starts again at line 0.
//
// Conventions: document coordinates and drawing units; speeds in units per
// second; the clock in milliseconds, wrapping at 2^32 like the tick count.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "addins/milling/features/millingfeature.h"
#include "platform/base/types.h"

// One stretch of path: a straight line, or an arc in a plane of constant z
// around `centre`.
struct SimulationSegment {
    CMovePoint start;
    CMovePoint end;
    bool arc = false;
    bool clockwise = false;
    CMovePoint centre;
    double radius = 0.0;
    double sweepRad = 0.0; // the arc's angle, > 0 either way round
    double length = 0.0;

    static SimulationSegment Straight(const CMovePoint& from, const CMovePoint& to);
    static SimulationSegment FromMove(const CMove& move);
    // The point at `distance` along it (held to 0 .. length).
    CMovePoint PointAt(double distance) const;
};

// A token as the simulation reads it: the code with its integer or real
// value.
struct SimulationToken {
    int32_t code = 0;
    int32_t integer = 0;
    double real = 0.0;
};

struct SimulationLine {
    std::vector<SimulationToken> tokens;
    SimulationSegment segment;
    long row = -1; // the row of the NC text that shows the line; -1: none
};

// The recorded blocks of a feature's NC program (first rapid, one block per
// move that writes one, retract, program end) matched with its moves: the
// first rapid starts at the first move's start, each move's block covers the
// move, the retract climbs to the height the program started at, and the
// program end returns to the start, where the next round begins. Row j + 1
// shows block j (row 0 holds the heading). Empty without moves.
std::vector<SimulationLine> MatchSimulationLines(const std::vector<CMove>& moves,
                                                 const std::vector<std::vector<SimulationToken>>& blocks);

using SimulationClock = std::function<DWORD()>;
// Told the row of each line a step enters.
using SimulationMarker = std::function<void(long row)>;

// Where a step left the run.
enum class StepResult { Draw = 1, Restarted = 0 };

class CSimulation {
public:
    static constexpr double kStartRapidSpeed = 50.0; // units per second
    static constexpr double kStartFeedSpeed = 10.0;

    // The clock defaults to the system's tick count.
    explicit CSimulation(SimulationClock clock = {});

    // A new program: the run stops and goes back to line 0 with the start
    // speeds, motion, tool and colour.
    void SetLines(std::vector<SimulationLine> lines);
    const std::vector<SimulationLine>& Lines() const { return m_lines; }
    void SetMarker(SimulationMarker marker) { m_marker = std::move(marker); }

    // Start (does nothing while running): running and tool shown. The first
    // step after it only reads the current line, so the time while stopped
    // is not counted.
    void Start();
    // Stop (does nothing unless running): the line and the place on it
    // stay, so the next start goes on from there.
    void Stop();

    // One step; see the file comment. Restarted when the run has come back
    // to line 0 (the caller draws nothing for this step).
    StepResult Step();

    // The tool's place: the point at t of the current line's stretch;
    // nothing without lines or past the last line.
    std::optional<CMovePoint> ToolPosition() const;

    // Values that are not a finite number of 0 or more are refused (false).
    bool SetSpeedFactor(double factor);

    bool Running() const { return m_running; }
    bool ToolShown() const { return m_toolShown; }
    bool SteppingStarted() const { return m_steppingStarted; }
    long LineIndex() const { return m_lineIndex; }
    double T() const { return m_t; }
    double RapidSpeed() const { return m_rapidSpeed; }
    double FeedSpeed() const { return m_feedSpeed; }
    double SpeedFactor() const { return m_speedFactor; }
    bool Rapid() const { return m_rapid; }
    long ToolIndex() const { return m_toolIndex; }
    bool ColourFlag() const { return m_colourFlag; }

private:
    void ReadTokens(const SimulationLine& line);
    void Mark(long row);

    SimulationClock m_clock;
    SimulationMarker m_marker;
    std::vector<SimulationLine> m_lines;
    long m_lineIndex = 0;
    double m_t = 0.0;
    double m_rapidSpeed = kStartRapidSpeed;
    double m_feedSpeed = kStartFeedSpeed;
    double m_speedFactor = 1.0;
    bool m_rapid = false;
    long m_toolIndex = 0;
    bool m_colourFlag = false;
    bool m_running = false;
    bool m_toolShown = false;
    bool m_steppingStarted = false;
    DWORD m_lastTick = 0;
    long m_lastMarkedRow = -1;
};
