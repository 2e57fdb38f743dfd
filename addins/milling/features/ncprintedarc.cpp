// Printed arcs: the grid centre of an arc block whose two printed radii agree
// (see ncprintedarc.h). Work is done in grid units (thousandths), where every
// printed number is an integer, so the radii of the printed numbers are
// computed exactly as a reader of the program computes them.
#include "addins/milling/features/ncprintedarc.h"

#include <cmath>
#include <numbers>
#include <optional>

namespace {

constexpr double kGridPerUnit = 1000.0;
// The two printed radii may differ by this much, in grid units; a hair is
// kept back so that the reader's own rounding cannot push it over.
constexpr double kRadiusSlack = kNcArcRadiusTolerance * kGridPerUnit - 1e-6;
// The printed centre lies within one grid step of the true one in each
// coordinate.
constexpr double kCentreReach = 1.0;
// The printed arc sweeps within this angle of the true one: far less than the
// difference between an arc and its complement, which a centre on the wrong
// side of a short chord would give.
constexpr double kSweepSlack = std::numbers::pi / 4.0;
// Halving stops here; an arc still without a centre is printed straight.
constexpr int kMaxSplits = 6;
// True start and end closer than this (drawing units) make a full turn.
constexpr double kFullTurnGap = 1e-7;

struct Vec {
    double x;
    double y;
};

// The angle swept from a to b about the origin in the given sense, in
// (0, 2 pi]; a zero angle is a full turn.
double Sweep(Vec a, Vec b, bool clockwise)
{
    const double cross = a.x * b.y - a.y * b.x;
    const double dot = a.x * b.x + a.y * b.y;
    double angle = std::atan2(clockwise ? -cross : cross, dot);
    if (angle <= 0.0)
        angle += 2.0 * std::numbers::pi;
    return angle;
}

std::optional<NcGridPoint> ChooseCentre(NcGridPoint start, NcGridPoint end, Vec trueCentre, double trueSweep,
                                        bool clockwise)
{
    const bool fullTurn = start == end;
    std::optional<NcGridPoint> best;
    double bestDistance = 0.0;
    const auto baseX = static_cast<int64_t>(std::floor(trueCentre.x));
    const auto baseY = static_cast<int64_t>(std::floor(trueCentre.y));
    for (int64_t cx = baseX - 1; cx <= baseX + 2; ++cx) {
        for (int64_t cy = baseY - 1; cy <= baseY + 2; ++cy) {
            const double dx = static_cast<double>(cx) - trueCentre.x;
            const double dy = static_cast<double>(cy) - trueCentre.y;
            if (std::fabs(dx) > kCentreReach || std::fabs(dy) > kCentreReach)
                continue;
            const Vec a{static_cast<double>(start.x - cx), static_cast<double>(start.y - cy)};
            const Vec b{static_cast<double>(end.x - cx), static_cast<double>(end.y - cy)};
            const double r1 = std::hypot(a.x, a.y);
            const double r2 = std::hypot(b.x, b.y);
            if (r1 < 1.0 || std::fabs(r1 - r2) > kRadiusSlack)
                continue;
            const double sweep = fullTurn ? 2.0 * std::numbers::pi : Sweep(a, b, clockwise);
            if (std::fabs(sweep - trueSweep) > kSweepSlack)
                continue;
            const double distance = std::hypot(dx, dy);
            if (!best || distance < bestDistance) {
                best = NcGridPoint{cx, cy};
                bestDistance = distance;
            }
        }
    }
    return best;
}

// Appends the pieces of one arc (true coordinates in grid units) that starts
// at the printed `start`; returns the printed position after them.
NcGridPoint PrintPiece(NcGridPoint start, Vec s, Vec e, Vec c, double sweep, bool clockwise, int splits,
                       std::vector<NcPrintedArcPiece>& out)
{
    const NcGridPoint end{std::llround(e.x), std::llround(e.y)};
    if (start == end && sweep < std::numbers::pi)
        return start; // shorter than the grid: the printed arc would not move
    if (std::optional<NcGridPoint> centre = ChooseCentre(start, end, c, sweep, clockwise)) {
        out.push_back({end, *centre, false});
        return end;
    }
    const double radius = std::hypot(s.x - c.x, s.y - c.y);
    // Halves shorter than a few grid steps gain nothing from a further split.
    if (splits < kMaxSplits && radius * sweep > 4.0) {
        const double half = (clockwise ? -sweep : sweep) / 2.0;
        const double cosine = std::cos(half);
        const double sine = std::sin(half);
        const Vec r{s.x - c.x, s.y - c.y};
        const Vec middle{c.x + r.x * cosine - r.y * sine, c.y + r.x * sine + r.y * cosine};
        const NcGridPoint reached = PrintPiece(start, s, middle, c, sweep / 2.0, clockwise, splits + 1, out);
        return PrintPiece(reached, middle, e, c, sweep / 2.0, clockwise, splits + 1, out);
    }
    if (start == end)
        return start;
    out.push_back({end, {}, true});
    return end;
}

} // namespace

int64_t NcGridValue(double value) { return std::llround(value * kGridPerUnit); }

double NcGridCoordinate(int64_t value) { return static_cast<double>(value) / kGridPerUnit; }

std::vector<NcPrintedArcPiece> PrintArc(NcGridPoint printedStart, double startX, double startY, double endX,
                                        double endY, double centreX, double centreY, bool clockwise)
{
    const Vec s{startX * kGridPerUnit, startY * kGridPerUnit};
    const Vec e{endX * kGridPerUnit, endY * kGridPerUnit};
    const Vec c{centreX * kGridPerUnit, centreY * kGridPerUnit};
    const bool fullTurn = std::hypot(endX - startX, endY - startY) < kFullTurnGap;
    const double sweep = fullTurn ? 2.0 * std::numbers::pi
                                  : Sweep({s.x - c.x, s.y - c.y}, {e.x - c.x, e.y - c.y}, clockwise);
    std::vector<NcPrintedArcPiece> pieces;
    PrintPiece(printedStart, s, e, c, sweep, clockwise, 0, pieces);
    return pieces;
}
