// Offsetting in stages (see offsetstaging.h): the choice of the stages and
// the staged offset that CCurveList::Offset runs by default.
#include "addins/milling/geometry/offsetstaging.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "addins/milling/geometry/curvelist.h"
#include "addins/milling/geometry/offsetfilter.h"

namespace {

// How much a chain turns near its segments: the angle it turns through
// (corners and arcs) within `reach` of a segment, averaged over up to
// kTurningSamples segments spread along it. The offsets of a stretch that
// turns little do not cross one another; where the chain turns back and
// forth many times within the offset distance (fine teeth, ripples), each
// segment's offset crosses those of many others.
constexpr int kTurningSamples = 64;
constexpr double kStagingTurn = 3.0 * kPi;
// The first stage is no shorter than the distance over this.
constexpr double kFirstStageFraction = 64.0;

class CChainTurning {
public:
    explicit CChainTurning(const CCurveList& chain)
    {
        const int n = chain.GetCount();
        std::vector<SegmentBox> boxes;
        boxes.reserve(static_cast<size_t>(n));
        m_turn.resize(static_cast<size_t>(n));
        for (int i = 0; i < n; ++i) {
            const CSegment2D& s = *chain.segments[static_cast<size_t>(i)];
            const CSegment2D& h = *chain.segments[static_cast<size_t>(i == 0 ? n - 1 : i - 1)];
            const CPoint2D u = s.GetStartPoint();
            const CPoint2D a = h.GetDirectionAt(u, 1), b = s.GetDirectionAt(u, 1);
            double turn = std::fabs(std::atan2(a.Cross(b), a.Dot(b)));
            if (s.GetType() == kSegmentTypeArc)
                turn += static_cast<const CArcSegment2D&>(s).SweepAngle();
            m_turn[static_cast<size_t>(i)] = turn;
            boxes.push_back(IntersectionBox(s, kClosedSegment));
        }
        m_grid = std::make_unique<CSegmentGrid>(std::move(boxes));
    }

    double Within(double reach) const
    {
        const int n = m_grid->Count();
        const int samples = std::min(n, kTurningSamples);
        double total = 0.0;
        for (int k = 0; k < samples; ++k) {
            const int i = static_cast<int>(static_cast<int64_t>(k) * n / samples);
            m_grid->Query(Grown(m_grid->Box(i), reach), m_found, false);
            for (int j : m_found)
                total += m_turn[static_cast<size_t>(j)];
        }
        return samples > 0 ? total / samples : 0.0;
    }

private:
    std::vector<double> m_turn;
    std::unique_ptr<CSegmentGrid> m_grid;
    mutable std::vector<int> m_found;
};

// Whether every list of a stage is closed (at the chaining tolerance): only
// the outline of a region can be offset further as a region.
bool AllClosed(const std::vector<std::unique_ptr<CCurveList>>& lists)
{
    CGeometryToleranceScope raised(g_geometryTolerance * kChainingToleranceFactor);
    for (const auto& list : lists)
        if (list->GetCount() > 0 && !list->IsClosed())
            return false;
    return true;
}

} // namespace

std::vector<double> OffsetStages(const CCurveList& chain, double distance)
{
    if (chain.GetCount() < kTurningSamples || !chain.IsClosed() || !(distance > 0.0) || !std::isfinite(distance))
        return {distance};
    const CChainTurning turning(chain);
    if (turning.Within(distance) <= kStagingTurn)
        return {distance};
    // Only the outline of a region grows and shrinks like that: a chain
    // that crosses itself is offset in one go.
    if (chain.SelfIntersections(nullptr) > 0)
        return {distance};
    double first = distance / 2.0;
    while (first > distance / kFirstStageFraction && turning.Within(first) > kStagingTurn)
        first /= 2.0;
    return {first, distance - first};
}

int StagedOffset(const CCurveList& chain, double distance, int side, std::vector<std::unique_ptr<CCurveList>>& results,
                 int useCornerLimit, double cornerAngleDegrees, int simplify, double simplifyTolerance,
                 PairSearch search)
{
    auto inOneGo = [&](const CCurveList& from, double by, std::vector<std::unique_ptr<CCurveList>>& into,
                       int simplifyThis) {
        return from.Offset(by, side, into, useCornerLimit, cornerAngleDegrees, simplifyThis, simplifyTolerance,
                           search, OffsetStaging::OneGo);
    };
    if (IsWithinTolerance(distance))
        return inOneGo(chain, distance, results, simplify);
    if (distance < 0.0) {
        distance = -distance;
        side = side ? 0 : 1;
    }
    const std::vector<double> steps = OffsetStages(chain, distance);
    if (steps.size() == 1)
        return inOneGo(chain, distance, results, simplify);
    std::vector<std::unique_ptr<CCurveList>> lists;
    inOneGo(chain, steps[0], lists, 0);
    for (size_t k = 1; k < steps.size(); ++k) {
        // A stage that lost its way (an open list) leaves the whole offset
        // to be done in one go.
        if (!AllClosed(lists)) {
            lists.clear();
            inOneGo(chain, distance, lists, simplify);
            break;
        }
        const int last = k + 1 == steps.size() ? simplify : 0;
        std::vector<std::unique_ptr<CCurveList>> next;
        for (const auto& list : lists)
            if (list->GetCount() > 0)
                inOneGo(*list, steps[k], next, last);
        lists = std::move(next);
    }
    const int count = static_cast<int>(lists.size());
    for (auto& list : lists)
        results.push_back(std::move(list));
    return count;
}
