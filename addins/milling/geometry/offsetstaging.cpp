// Offsetting in stages (see offsetstaging.h): the choice of the stages and
// the staged offset that CCurveList::Offset runs by default.
#include "addins/milling/geometry/offsetstaging.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>

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
// The first stage is no shorter than the distance over this. Stages after
// it reach as far as their candidates allow (see the filtering offset), so
// a short first stage costs few further ones where the chain's features
// keep their neighbours, as the teeth of a gear do.
constexpr double kFirstStageFraction = 1024.0;

class CChainTurning {
public:
    CChainTurning(const CCurveList& chain, const CChainDistance& near) : m_chain(chain), m_near(near)
    {
        const int n = chain.GetCount();
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
        }
    }

    double Within(double reach) const
    {
        const int n = m_chain.GetCount();
        const int samples = std::min(n, kTurningSamples);
        double total = 0.0;
        for (int k = 0; k < samples; ++k) {
            const int i = static_cast<int>(static_cast<int64_t>(k) * n / samples);
            m_near.Within(IntersectionBox(*m_chain.segments[static_cast<size_t>(i)], kClosedSegment), reach, m_found);
            for (int j : m_found)
                total += m_turn[static_cast<size_t>(j)];
        }
        return samples > 0 ? total / samples : 0.0;
    }

private:
    const CCurveList& m_chain;
    // The tree of boxes over runs of the chain: built without sorting,
    // it finds the segments within reach of a sample as a grid would.
    const CChainDistance& m_near;
    ScratchVector<double> m_turn;
    mutable std::vector<int> m_found;
};

} // namespace

namespace {

// The staged offset's plan: its steps, and for one step whether the chain
// is a polygon that still turns back and forth within the distance (more
// than kFilterTurn on average). The corner arcs of such a polygon cross the
// pieces of the corners round them, the walk over the crossing records
// mostly loses its way there, and the filtering offset alone is faster than
// the walk and the filtering offset after it. (Chains with arcs, such as
// the outlines of strokes whose tangent arcs make up their turning, keep
// the walk.)
constexpr double kFilterTurn = kPi;

struct StagePlan {
    std::vector<double> steps;
    bool filter = false;
};

// `near` receives the chain's distance tree when the plan needs one, for
// the offset to use in turn.
StagePlan PlanStages(const CCurveList& chain, double distance, std::optional<CChainDistance>& near)
{
    if (chain.GetCount() < kTurningSamples || !chain.IsClosed() || !(distance > 0.0) || !std::isfinite(distance))
        return {{distance}, false};
    // The turning grows with the reach, so the search goes up from the
    // shortest first stage: the largest of distance / 2, / 4, ... (down to
    // the shortest) within which the chain turns little, and no stages when
    // it turns little within the whole distance. Asking about short reaches
    // first keeps the box queries small.
    near.emplace(chain);
    const CChainTurning turning(chain, *near);
    double first = distance / kFirstStageFraction;
    if (turning.Within(first) <= kStagingTurn) {
        while (first < distance / 2.0 && turning.Within(2.0 * first) <= kStagingTurn)
            first *= 2.0;
        if (first >= distance / 2.0) {
            const double whole = turning.Within(distance);
            if (whole <= kStagingTurn) {
                const bool polygon = std::all_of(chain.segments.begin(), chain.segments.end(), [](const auto& s) {
                    return s->GetType() == kSegmentTypeLine;
                });
                return {{distance}, polygon && whole > kFilterTurn};
            }
        }
    }
    // Only the outline of a region grows and shrinks like that: a chain
    // that crosses itself is offset in one go.
    if (chain.SelfIntersections(nullptr) > 0)
        return {{distance}, false};
    // The stages after the first are chosen as the offset goes, from how
    // its candidates narrow.
    return {{first, distance - first}, false};
}

} // namespace

std::vector<double> OffsetStages(const CCurveList& chain, double distance)
{
    std::optional<CChainDistance> near;
    return PlanStages(chain, distance, near).steps;
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
    std::optional<CChainDistance> near;
    const StagePlan plan = PlanStages(chain, distance, near);
    if (plan.steps.size() == 1 && !plan.filter)
        return inOneGo(chain, distance, results, simplify);
    std::vector<double> reached;
    if (plan.steps.size() > 1)
        reached.push_back(plan.steps.front());
    reached.push_back(distance);
    // The plan has more than one step only for a chain that does not cross
    // itself.
    std::vector<std::unique_ptr<CCurveList>> lists;
    const int count =
        FilteredOffsetInStages(chain, reached, side, lists, 0, 0.0, search, plan.steps.size() > 1,
                               near ? &*near : nullptr, true);
    if (simplify) {
        CGeometryToleranceScope raised(g_geometryTolerance * kChainingToleranceFactor);
        for (auto& list : lists)
            list->Simplify(simplifyTolerance);
    }
    for (auto& list : lists)
        results.push_back(std::move(list));
    return count;
}
