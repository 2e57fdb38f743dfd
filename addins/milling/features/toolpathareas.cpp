// Areas bounded by closed loops (see toolpathareas.h).
#include "addins/milling/features/toolpathareas.h"

#include <cmath>

namespace toolpath {

namespace {

bool BoxesMeet(const SegmentBox& a, const SegmentBox& b)
{
    if (a.unbounded || b.unbounded)
        return true;
    return !(a.maxX < b.minX || b.maxX < a.minX || a.maxY < b.minY || b.maxY < a.minY);
}

bool LoopContains(const CCurveList& outer, const CCurveList& inner)
{
    return const_cast<CCurveList&>(outer).ContainsList(inner, 0) != 0;
}

} // namespace

ChainList CutAway(ChainList areas, const std::vector<const CCurveList*>& cuts, PairSearch search)
{
    for (const CCurveList* cut : cuts) {
        const SegmentBox cutBox = ChainBox(*cut);
        ChainList next;
        for (auto& area : areas) {
            if (!BoxesMeet(ChainBox(*area), cutBox)) {
                next.push_back(std::move(area));
                continue;
            }
            ChainList pieces;
            const int n = area->Combine(*cut, CombineMode::Difference, pieces, search);
            if (n <= 0) {
                // Apart, touching, or one inside the other.
                if (!LoopContains(*cut, *area))
                    next.push_back(std::move(area));
                continue;
            }
            for (auto& p : pieces)
                if (p->GetCount() > 0 && p->IsClosed()) {
                    p->IsClockwise(0);
                    next.push_back(std::move(p));
                }
        }
        areas = std::move(next);
    }
    return areas;
}

std::vector<int> HolesInside(CCurveList& area, const std::vector<const CCurveList*>& loops)
{
    std::vector<int> holes;
    const SegmentBox box = ChainBox(area);
    for (size_t i = 0; i < loops.size(); ++i) {
        const SegmentBox b = ChainBox(*loops[i]);
        if (!b.unbounded && !box.unbounded &&
            (b.minX < box.minX || b.maxX > box.maxX || b.minY < box.minY || b.maxY > box.maxY))
            continue;
        if (area.ContainsList(*loops[i], 0))
            holes.push_back(static_cast<int>(i));
    }
    return holes;
}

ChainList Grown(const std::vector<const CCurveList*>& loops, double distance, double tolerance)
{
    ChainList grown;
    for (const CCurveList* loop : loops)
        for (auto& g : OffsetClosed(*loop, distance, loop->clockwise ? 0 : 1, tolerance))
            if (g->clockwise == loop->clockwise)
                grown.push_back(std::move(g));
    return grown;
}

int InnermostAround(const std::vector<const CCurveList*>& candidates, const CCurveList& loop)
{
    int best = -1;
    double bestArea = 0.0;
    const SegmentBox box = ChainBox(loop);
    for (size_t i = 0; i < candidates.size(); ++i) {
        if (!BoxesMeet(ChainBox(*candidates[i]), box) || !LoopContains(*candidates[i], loop))
            continue;
        const double area = std::fabs(candidates[i]->SignedArea());
        if (best < 0 || area < bestArea) {
            best = static_cast<int>(i);
            bestArea = area;
        }
    }
    return best;
}

std::vector<const CCurveList*> Pointers(const ChainList& chains)
{
    std::vector<const CCurveList*> p;
    p.reserve(chains.size());
    for (const auto& c : chains)
        p.push_back(c.get());
    return p;
}

} // namespace toolpath
