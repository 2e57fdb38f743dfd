// CSimulation: stepping the tool along the program's lines.
#include "addins/milling/core/simulation.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "nctokens.h"
#include "platform/kernel/tickcount.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
// A straight move that changes no coordinate by this much writes no NC
// block (the NC output's rule), so it has no line (drawing units).
constexpr double kNoMoveTolerance = 1e-6;
// An arc whose end meets its start within this angle runs the full circle
// (radians).
constexpr double kFullCircleAngle = 1e-9;

double Distance(const CMovePoint& a, const CMovePoint& b)
{
    return std::sqrt((b.x - a.x) * (b.x - a.x) + (b.y - a.y) * (b.y - a.y) + (b.z - a.z) * (b.z - a.z));
}

bool WritesBlock(const CMove& move)
{
    if (IsArcMove(move.flag))
        return true;
    return std::fabs(move.end.x - move.start.x) >= kNoMoveTolerance ||
           std::fabs(move.end.y - move.start.y) >= kNoMoveTolerance ||
           std::fabs(move.end.z - move.start.z) >= kNoMoveTolerance;
}

} // namespace

SimulationSegment SimulationSegment::Straight(const CMovePoint& from, const CMovePoint& to)
{
    SimulationSegment segment;
    segment.start = from;
    segment.end = to;
    segment.length = Distance(from, to);
    return segment;
}

SimulationSegment SimulationSegment::FromMove(const CMove& move)
{
    if (!IsArcMove(move.flag) || !(move.radius > 0.0))
        return Straight(move.start, move.end);
    SimulationSegment segment;
    segment.start = move.start;
    segment.end = move.end;
    segment.arc = true;
    segment.clockwise = IsClockwiseArc(move.flag);
    segment.centre = move.centre;
    segment.radius = move.radius;
    const double a0 = std::atan2(move.start.y - move.centre.y, move.start.x - move.centre.x);
    const double a1 = std::atan2(move.end.y - move.centre.y, move.end.x - move.centre.x);
    double sweep = segment.clockwise ? a0 - a1 : a1 - a0;
    while (sweep <= kFullCircleAngle)
        sweep += 2.0 * kPi;
    while (sweep > 2.0 * kPi + kFullCircleAngle)
        sweep -= 2.0 * kPi;
    segment.sweepRad = sweep;
    segment.length = move.radius * sweep;
    return segment;
}

CMovePoint SimulationSegment::PointAt(double distance) const
{
    if (!(length > 0.0))
        return start;
    const double f = std::clamp(distance / length, 0.0, 1.0);
    if (!arc)
        return {start.x + (end.x - start.x) * f, start.y + (end.y - start.y) * f, start.z + (end.z - start.z) * f};
    const double a0 = std::atan2(start.y - centre.y, start.x - centre.x);
    const double a = a0 + (clockwise ? -1.0 : 1.0) * sweepRad * f;
    return {centre.x + radius * std::cos(a), centre.y + radius * std::sin(a), start.z + (end.z - start.z) * f};
}

std::vector<SimulationLine> MatchSimulationLines(const std::vector<CMove>& moves,
                                                 const std::vector<std::vector<SimulationToken>>& blocks)
{
    std::vector<SimulationLine> lines;
    if (moves.empty())
        return lines;
    const CMovePoint first = moves.front().start;
    const CMovePoint last = moves.back().end;
    const CMovePoint above{last.x, last.y, first.z};
    std::vector<SimulationSegment> stretches;
    stretches.push_back(SimulationSegment::Straight(first, first));
    for (const CMove& move : moves) {
        if (WritesBlock(move))
            stretches.push_back(SimulationSegment::FromMove(move));
    }
    stretches.push_back(SimulationSegment::Straight(last, above));
    stretches.push_back(SimulationSegment::Straight(above, first));
    // One line per stretch; a block list that does not match (a program cut
    // short) leaves the remaining lines without tokens or rows.
    lines.resize(stretches.size());
    for (size_t j = 0; j < stretches.size(); ++j) {
        lines[j].segment = stretches[j];
        if (j < blocks.size()) {
            lines[j].tokens = blocks[j];
            lines[j].row = static_cast<long>(j) + 1;
        }
    }
    return lines;
}

CSimulation::CSimulation(SimulationClock clock) : m_clock(std::move(clock))
{
    if (!m_clock)
        m_clock = [] { return GetTickCount(); };
}

void CSimulation::SetLines(std::vector<SimulationLine> lines)
{
    m_lines = std::move(lines);
    m_lineIndex = 0;
    m_t = 0.0;
    m_rapidSpeed = kStartRapidSpeed;
    m_feedSpeed = kStartFeedSpeed;
    m_rapid = false;
    m_toolIndex = 0;
    m_colourFlag = false;
    m_running = false;
    m_steppingStarted = false;
    m_lastMarkedRow = -1;
}

void CSimulation::Start()
{
    if (m_running)
        return;
    m_running = true;
    m_toolShown = true;
}

void CSimulation::Stop()
{
    if (!m_running)
        return;
    m_running = false;
    m_steppingStarted = false;
}

bool CSimulation::SetSpeedFactor(double factor)
{
    if (!std::isfinite(factor) || factor < 0.0)
        return false;
    m_speedFactor = factor;
    return true;
}

void CSimulation::ReadTokens(const SimulationLine& line)
{
    for (const SimulationToken& token : line.tokens) {
        switch (token.code) {
        case kNcRapid: m_rapid = true; break;
        case kNcLinear:
        case kNcArcClockwise:
        case kNcArcCounterClockwise: m_rapid = false; break;
        case kNcFeed: (m_rapid ? m_rapidSpeed : m_feedSpeed) = token.real / 60.0; break;
        case kNcTool: m_toolIndex = static_cast<long>(token.integer) - 1; break;
        case kNcM36: m_colourFlag = false; break;
        case kNcM35: m_colourFlag = true; break;
        default: break;
        }
    }
}

void CSimulation::Mark(long row)
{
    if (row < 0 || row == m_lastMarkedRow)
        return;
    m_lastMarkedRow = row;
    if (m_marker)
        m_marker(row);
}

StepResult CSimulation::Step()
{
    const DWORD now = m_clock();
    if (m_lines.empty())
        return StepResult::Restarted;
    // Unsigned difference: a tick count that wrapped still gives the time.
    double budget = m_steppingStarted ? static_cast<double>(static_cast<DWORD>(now - m_lastTick)) / 1000.0 : 0.0;
    while (!m_steppingStarted || budget > 0.0) {
        if (m_lineIndex < 0 || static_cast<size_t>(m_lineIndex) >= m_lines.size()) {
            m_lineIndex = 0;
            m_t = 0.0;
        }
        const SimulationLine& line = m_lines[static_cast<size_t>(m_lineIndex)];
        ReadTokens(line);
        if (!m_steppingStarted) {
            m_steppingStarted = true;
            break;
        }
        Mark(line.row);
        const double speed = (m_rapid ? m_rapidSpeed : m_feedSpeed) * m_speedFactor;
        // No way to go takes no time; no speed takes for ever (the tool
        // stays on the line).
        const double moveTime = !(line.segment.length > 0.0) ? 0.0
                                : speed > 0.0 ? line.segment.length / speed
                                              : std::numeric_limits<double>::infinity();
        const double timeLeft = (1.0 - m_t) * moveTime;
        if (budget <= timeLeft) {
            m_t = std::isinf(moveTime) ? m_t : m_t + budget / moveTime;
            budget = 0.0;
            break;
        }
        budget -= timeLeft;
        m_t = 1.0;
        if (static_cast<size_t>(m_lineIndex) + 1 >= m_lines.size()) {
            // Back to the start; what is left of the time is dropped, so a
            // program shorter than one step never makes a step run it twice.
            m_lineIndex = 0;
            m_t = 0.0;
            m_lastTick = now;
            return StepResult::Restarted;
        }
        ++m_lineIndex;
        m_t = 0.0;
    }
    m_lastTick = now;
    m_steppingStarted = true;
    return StepResult::Draw;
}

std::optional<CMovePoint> CSimulation::ToolPosition() const
{
    if (m_lineIndex < 0 || static_cast<size_t>(m_lineIndex) >= m_lines.size())
        return std::nullopt;
    const SimulationSegment& segment = m_lines[static_cast<size_t>(m_lineIndex)].segment;
    return segment.PointAt(m_t * segment.length);
}
