// Steps shared by the contour and pocket toolpaths: usable contours, nesting,
// offsets with orientation, merging island outlines, cutting them out of
// boundary passes, the first pass tree, and the walk that turns a pass tree
// into moves level by level.
//
// Conventions: x right, y up, counter-clockwise positive; a clockwise chain
// has its inside on the right, so offsetting to the side of its clockwise
// flag goes inwards. Lengths in drawing units.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "addins/milling/features/millingfeature.h"
#include "addins/milling/features/regionnode.h"

namespace toolpath {

using ChainList = std::vector<std::unique_ptr<CCurveList>>;

// The box of a whole chain, grown like the boxes of crossing searches: two
// chains whose boxes do not overlap neither cross nor contain one another.
SegmentBox ChainBox(const CCurveList& chain);

// The tests between chains below run on the pairs whose boxes overlap, found
// through a grid over the chains' boxes, and test a long chain against a
// short one through the grid over its segments (chainindex.h), so that they
// take about n log n in all (PairSearch::Indexed); or they test every pair
// with the chains' own tests (PairSearch::AllPairs, the plain search the
// indexed one is checked against). Both give the same answers.

// Offsets a chain to a side (in stages where the chain turns a lot within
// the distance, offsetstaging.h); keeps the closed results with their
// orientation.
ChainList OffsetClosed(const CCurveList& chain, double distance, int side, double tolerance);

// The outward offsets of a set of islands: outlines with the islands'
// orientation, and inner loops (areas enclosed by an outline, such as the bay
// of a C-shaped island), each with the index of the island it came from.
struct IslandOffsets {
    ChainList outlines;
    std::vector<int> outlineSource;
    ChainList loops;
    std::vector<int> loopSource;
};
// The outlines alone, copied (what the free loops are clipped against after
// the outlines themselves have been merged).
IslandOffsets CopyOutlines(const IslandOffsets& offsets);
IslandOffsets OffsetIslands(const std::vector<const CCurveList*>& islands, double distance, double tolerance);

// The free loops (inner loops and holes between merged outlines) that the
// tool may cut: each loop is clipped against the island outlines but its own
// source's (-1: none), so that no piece comes nearer to an island than the
// outlines do; pieces an outline covers are dropped. Inside a part (inside)
// a piece is kept only within one of the boundary passes. A piece may hold
// island outlines: the caller puts them under it, so that it is cleared
// round them.
ChainList KeepReachable(ChainList& loops, const std::vector<int>& loopSource, const IslandOffsets& originals,
                        const ChainList& boundaries, bool inside, PairSearch search = PairSearch::Indexed);

// The island outlines that stand in free loops (an island in the bay of
// another, one in the middle of a ring of islands): the original outlines
// that lie wholly inside one of the loops, united among themselves. The
// united outline around the free loop holds them too, so they are not among
// the merged outlines. members as for MergeIslands, by original outline.
ChainList IslandsInFreeLoops(const std::vector<const CCurveList*>& freeLoops, const IslandOffsets& originals,
                             std::vector<std::vector<int>>* members, PairSearch search = PairSearch::Indexed);

// Unites overlapping island outlines until none cross; the holes of a union
// (areas enclosed between islands) are appended to holes. When members is
// given it is filled parallel to the merged outlines with the indices of the
// original outlines each one absorbed.
void MergeIslands(ChainList& islands, ChainList& holes, std::vector<std::vector<int>>* members = nullptr,
                  PairSearch search = PairSearch::Indexed);

// Cuts the island outlines out of the boundary passes. An outline that crosses
// a boundary becomes part of it and is marked touched; one that contains a
// boundary pass removes that pass.
std::vector<bool> CutIslandsFromBoundaries(ChainList& boundaries, const ChainList& islands,
                                           PairSearch search = PairSearch::Indexed);

struct ContourTable {
    ChainList contours;
    std::vector<int> parent;   // innermost containing contour, -1 for none
    std::vector<int> machined; // 1: cut as a boundary, 0: an island (or the part, outside)
};

// Copies the closed contours that do not cross themselves, with orientation.
ContourTable KeepUsableContours(const ChainList& contours);

// Rejects crossing pairs; sets parents and the machined flags (even depths
// inside, odd depths outside).
Status NestContours(ContourTable& table, int outside, PairSearch search = PairSearch::Indexed);

// The first passes: per machined contour its inward offsets with its
// islands' outlines cut out, enclosed free areas as roots; with outside the
// outer pass around every top-level contour. Island outlines that stay whole
// go to islands with the index of the root that contains them.
void BuildPasses(ContourTable& table, double distance, int outside, ChainList& roots, ChainList& islands,
                 std::vector<int>& islandRoot, PairSearch search = PairSearch::Indexed);

// Sets the link points of every node that has a parent: the nearest points
// of the parent's pass and the node's own (the answer of the parent pass's
// ClosestPoints with the node's pass and the stop distance). Indexed: one
// grid over each parent pass serves all its children, and the nearest pair
// is searched within a growing distance instead of from the first pair.
void LinkToParents(const std::vector<CRegionNode*>& nodes, double stopDistance,
                   PairSearch search = PairSearch::Indexed);

// How the tool goes from a pass to a child pass and back: retract, traverse
// and plunge (contour), or one feed move at the level (pocket).
enum class LinkStyle { Retract, Feed };

struct WalkParams {
    std::vector<double> levels;
    double safe = 0.0;
    double engage = 0.0;
    LinkStyle link = LinkStyle::Retract;
    // Called after each level is cut (may be empty).
    std::function<void()> afterLevel;
};

class CMoveWriter {
public:
    CMoveWriter(CMillingFeature& feature, CMoveEntityFactory* factory) : m_feature(feature), m_factory(factory) {}
    Status Line(uint8_t flag, const CMovePoint& from, const CMovePoint& to);
    Status Segment(const CSegment2D& segment, double z);

private:
    CMillingFeature& m_feature;
    CMoveEntityFactory* m_factory;
};

// Walks every root of the tree once per level; each pass is cut exactly once
// per level, children entered at their link points on the way round.
Status WalkLevels(const CRegionList& tree, const WalkParams& params, CMoveWriter& out);

} // namespace toolpath
