// CCurveList::Offset: the curves at a constant distance beside a chain.
//
// Conventions (as everywhere in this folder): x right, y up, counter-
// clockwise positive; side 1 puts a positive distance to the right of the
// direction of travel, side 0 to the left; lengths in drawing units; tolerant
// tests compare with g_geometryTolerance.
//
// The driver runs these steps, each a method of COffsetBuilder
// (offsetbuilder.h):
//  1. BuildPieces: offset every segment and settle the joint at every
//     vertex (round corner arcs on the outer side, sharp corners where the
//     chain bends only slightly and the caller asks for them).
//  2. AddCaps: half circles round the ends of an open chain
//     (offsetpieces.cpp for steps 1 and 2).
//  3. SearchCrossings: trim neighbouring pieces at inner corners, record
//     every other crossing of two pieces, drop pieces that cross nothing and
//     lie too near the chain (offsetcrossings.cpp).
//  4. AssignLabels and the walks: decide, from the crossing records, which
//     portions lie outside every loop, and collect them.
//  5. Chain: join the collected portions into result lists (offsetwalk.cpp
//     for steps 4 and 5).
// CCurveList::Offset then checks the lists (offsetfilter.h) and, where the
// walk went wrong, replaces them by the filtering offset. By default a
// chain that turns back and forth a lot within the distance goes to the
// filtering offset directly, in stages where that serves (offsetstaging.h).
#include "addins/milling/geometry/offsetbuilder.h"
#include "addins/milling/geometry/offsetfilter.h"

namespace offsetwalk {

int COffsetBuilder::Run(std::vector<std::unique_ptr<CCurveList>>& results, int simplify, double simplifyTolerance)
{
    BuildPieces();
    if (m_pieces.empty())
        return 0;
    if (m_pieces.size() == 1) {
        auto list = std::make_unique<CCurveList>();
        list->Append(std::move(m_pieces[0].segment));
        results.push_back(std::move(list));
        return 1;
    }
    AddCaps();
    SearchCrossings();
    if (!NumberRuns())
        return 0;
    AssignLabels();
    std::vector<std::unique_ptr<CSegment2D>> output = OutputWalk();
    if (output.empty())
        return 0;
    return Chain(std::move(output), results, simplify, simplifyTolerance);
}

} // namespace offsetwalk


int CCurveList::Offset(double distance, int side, std::vector<std::unique_ptr<CCurveList>>& results,
                       int useCornerLimit, double cornerAngleDegrees, int simplify, double simplifyTolerance,
                       PairSearch search, OffsetStaging staging) const
{
    if (segments.empty())
        return 0;
    if (staging == OffsetStaging::Staged)
        return StagedOffset(*this, distance, side, results, useCornerLimit, cornerAngleDegrees, simplify,
                            simplifyTolerance, search);
    if (IsWithinTolerance(distance)) {
        results.push_back(Copy());
        results.back()->clockwise = 0;
        return 1;
    }
    if (distance < 0.0) {
        distance = -distance;
        side = side ? 0 : 1;
    }
    std::vector<std::unique_ptr<CCurveList>> lists;
    offsetwalk::COffsetBuilder builder(*this, distance, side, useCornerLimit, cornerAngleDegrees, search);
    int count = builder.Run(lists, 0, 0.0);
    // The walk over the crossing records can lose its way where the chain
    // collapses, touches itself or doubles back; its result must never hand
    // out a path nearer to the chain than the distance (the tool would cut
    // into the part) or break a closed chain's offset open. Such a result,
    // and an empty one, is replaced by the filtering offset.
    if (count == 0 || !OffsetResultIsSound(*this, distance, lists)) {
        lists.clear();
        count = FilteredOffset(*this, distance, side, lists, 0, 0.0, search);
    }
    // A corner arc where the chain bends only a little can be so short that
    // it reads as a full circle at the chaining tolerance.
    ChordArcSlivers(lists);
    if (simplify) {
        CGeometryToleranceScope raised(g_geometryTolerance * kChainingToleranceFactor);
        for (auto& list : lists)
            list->Simplify(simplifyTolerance);
    }
    for (auto& list : lists)
        results.push_back(std::move(list));
    return count;
}
