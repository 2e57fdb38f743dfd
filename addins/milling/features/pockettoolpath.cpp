// CPocketFeature::ComputeFromContours: clearing passes and their moves.
//
// The first passes are those of the contour toolpath (boundaries offset
// inwards by tool radius + Offset, island outlines outwards, merged and cut
// out). Then every region pass is offset inwards by the step-over again and
// again, and the island outlines grown by the same step, until nothing is
// left; each new pass hangs under the pass it came from. The walk cuts every
// pass once per level and links a pass to its children by a feed move at the
// level (the links are no longer than about one step-over).
//
// Conventions: x right, y up, counter-clockwise positive; lengths in drawing
// units.
#include <algorithm>
#include <cmath>

#include "addins/milling/features/chainindex.h"
#include "addins/milling/features/contourfeature.h"
#include "addins/milling/features/pickedcurves.h"
#include "addins/milling/features/pocketfeature.h"
#include "addins/milling/features/toolpathareas.h"
#include "addins/milling/features/toolpathsteps.h"

using namespace toolpath;

namespace {

// Smallest tolerance of the inward passes (drawing units).
constexpr double kMinPassTolerance = 0.0005;
// Share of the uncut width that the simplification of a pass may take.
constexpr double kPassToleranceFactor = 0.7;
// A safety stop for degenerate input: no real pocket needs more passes.
constexpr size_t kMaxPasses = 1000000;

struct PassTree {
    ChainList loops;                                  // every pass, owned
    std::vector<std::unique_ptr<CRegionNode>> nodes;  // every node, owned
    CRegionList master;

    CRegionNode* Add(std::unique_ptr<CCurveList> loop, int island, CRegionNode* parent)
    {
        nodes.push_back(std::make_unique<CRegionNode>());
        CRegionNode* node = nodes.back().get();
        node->pass = loop.get();
        node->island = island;
        loops.push_back(std::move(loop));
        node->SetParent(parent);
        master.Append(node);
        return node;
    }
};

// The offsets of a loop inwards (to the side of its orientation) that keep
// its orientation: the loops that remain of its area; the others are holes.
ChainList Inwards(const CCurveList& loop, double distance, double tolerance)
{
    const int cw = loop.clockwise;
    ChainList inner = OffsetClosed(loop, distance, cw, tolerance);
    inner.erase(std::remove_if(inner.begin(), inner.end(), [&](const auto& r) { return r->clockwise != cw; }),
                inner.end());
    return inner;
}

// How much deeper than the tool radius from a pass a point must lie to count
// as left standing by it (drawing units).
constexpr double kRestMargin = 0.0005;
// The island children of a region pass grown by the tool radius (and the
// margin): one outline per child, the same united where they meet, and the
// areas the united outlines enclose.
struct IslandReach {
    IslandOffsets grown;
    ChainList united;
    ChainList enclosed;
};

IslandReach ReachOfIslands(const std::vector<const CCurveList*>& islandLoops, double radius, double tolerance,
                           PairSearch search)
{
    IslandReach reach;
    reach.grown = OffsetIslands(islandLoops, radius + kRestMargin, tolerance);
    for (const auto& o : reach.grown.outlines)
        reach.united.push_back(o->Copy());
    MergeIslands(reach.united, reach.enclosed, nullptr, search);
    return reach;
}

// An area left standing, with the island outlines (of IslandReach::united)
// it holds: the area is cleared round them.
struct StandingArea {
    std::unique_ptr<CCurveList> loop;
    std::vector<int> holes;
};

// What of the areas no pass reaches: outside the covers and outside the
// islands' reach; slivers and turned-over pieces enclose nothing.
void Uncut(ChainList areas, const ChainList& covers, const IslandReach& reach, int cw, PairSearch search,
           std::vector<StandingArea>& standing)
{
    std::vector<const CCurveList*> cuts = Pointers(covers);
    for (const auto& o : reach.grown.outlines)
        cuts.push_back(o.get());
    const std::vector<const CCurveList*> united = Pointers(reach.united);
    for (auto& p : CutAway(std::move(areas), cuts, search)) {
        double length = 0.0;
        const double area = p->SignedArea(&length);
        if (p->clockwise != cw || !(std::fabs(area) > kRestMargin * length))
            continue;
        StandingArea s;
        s.holes = HolesInside(*p, united);
        s.loop = std::move(p);
        standing.push_back(std::move(s));
    }
}

// The areas a step wider than the tool radius leaves standing between a
// region pass and its inward passes: the points deeper than the radius from
// the pass (its offset by the radius, less the islands grown as far) that
// lie farther than the radius from every inward pass. A slot the step
// jumps over, the lobes and corners an inward offset loses, ribs between
// two passes, the band an inward pass loses where an island's outline cuts
// it off. Each becomes a region pass of its own, which is offset inwards in
// turn, round the islands it holds.
std::vector<StandingArea> LeftStanding(const CCurveList& pass, const IslandReach& reach, const ChainList& inward,
                                       double radius, double tolerance, PairSearch search)
{
    std::vector<StandingArea> standing;
    const int cw = pass.clockwise;
    ChainList rest = Inwards(pass, radius + kRestMargin, tolerance);
    if (rest.empty())
        return standing;
    // What the inward passes cut: each grown by the radius.
    const ChainList cover = Grown(Pointers(inward), radius, 0.0);
    // Areas enclosed between islands that lie within the rest.
    ChainList enclosed;
    for (const auto& e : reach.enclosed) {
        bool within = false;
        for (const auto& r : rest)
            within = within || r->ContainsList(*e, 0);
        if (within)
            enclosed.push_back(e->Copy());
    }
    Uncut(std::move(rest), cover, reach, cw, search, standing);
    for (auto& e : enclosed) {
        const int ecw = e->clockwise;
        ChainList one;
        one.push_back(std::move(e));
        Uncut(std::move(one), cover, reach, ecw, search, standing);
    }
    return standing;
}

// The areas between a grown island outline and the islands it grew from that
// neither pass reaches: where islands' outlines meet at a notch, the grown
// outline's notch lies farther than the step from theirs. Free areas the
// outline encloses are cleared by their own passes (covers).
std::vector<StandingArea> Notches(const CCurveList& outline, const IslandReach& reach, const ChainList& covers,
                                  double radius, double tolerance, PairSearch search)
{
    std::vector<StandingArea> standing;
    const int cw = outline.clockwise;
    ChainList inner = Inwards(outline, radius + kRestMargin, tolerance);
    if (!inner.empty())
        Uncut(std::move(inner), covers, reach, cw, search, standing);
    return standing;
}

// Adds an area left standing under a parent: a region pass, with an island
// pass under it for each island outline it holds. Returns the region node.
CRegionNode* AddStanding(PassTree& tree, StandingArea& area, const IslandReach& reach, CRegionNode* parent)
{
    CRegionNode* region = tree.Add(std::move(area.loop), 0, parent);
    for (int h : area.holes)
        tree.Add(reach.united[static_cast<size_t>(h)]->Copy(), 1, region);
    return region;
}

// Offsets one region pass inwards by the step and grows its island children
// by the same step; rebuilds the node's children from the results. Returns
// the new region nodes, which are offset in turn.
std::vector<CRegionNode*> StepInwards(PassTree& tree, CRegionNode& node, double step, double radius,
                                      double tolerance, PairSearch search)
{
    std::vector<CRegionNode*> created;
    ChainList regions = Inwards(*node.pass, step, tolerance);
    std::vector<CRegionNode*> islandKids;
    for (CRegionNode* child : node.children)
        if (child->island)
            islandKids.push_back(child);
    std::vector<const CCurveList*> islandLoops;
    for (CRegionNode* kid : islandKids)
        islandLoops.push_back(kid->pass);
    // A step wider than the radius leaves material the passes do not reach.
    const bool wide = step > radius;
    IslandReach reach;
    if (wide)
        reach = ReachOfIslands(islandLoops, radius, tolerance, search);
    if (regions.empty()) {
        // Nothing is left of the region one step in; what the pass did not
        // reach becomes the last passes.
        if (wide)
            for (StandingArea& s : LeftStanding(*node.pass, reach, regions, radius, tolerance, search))
                created.push_back(AddStanding(tree, s, reach, &node));
        return created;
    }
    IslandOffsets offsets = OffsetIslands(islandLoops, step, tolerance);
    const IslandOffsets originals = CopyOutlines(offsets);
    ChainList outlines = std::move(offsets.outlines);
    ChainList holes;
    std::vector<std::vector<int>> members;
    MergeIslands(outlines, holes, &members, search);
    ChainList freeLoops = KeepReachable(offsets.loops, offsets.loopSource, originals, regions, true, search);
    for (auto& h : KeepReachable(holes, {}, originals, regions, true, search))
        freeLoops.push_back(std::move(h));
    const std::vector<bool> touched = CutIslandsFromBoundaries(regions, outlines, search);
    std::vector<StandingArea> standing;
    ChainList freeCovers;
    if (wide) {
        standing = LeftStanding(*node.pass, reach, regions, radius, tolerance, search);
        freeCovers = Grown(Pointers(freeLoops), radius, 0.0);
    }

    node.children.clear();
    std::vector<CRegionNode*> newRegions;
    for (auto& r : regions)
        newRegions.push_back(tree.Add(std::move(r), 0, &node));
    // Enclosed free areas are regions of their own, reached from above.
    std::vector<CRegionNode*> freeNodes;
    for (auto& f : freeLoops)
        freeNodes.push_back(tree.Add(std::move(f), 0, nullptr));
    // Each grown outline goes under the innermost new region around it (an
    // enclosed free area round an island is cleared round it).
    std::vector<const CCurveList*> around;
    for (CRegionNode* r : newRegions)
        around.push_back(r->pass);
    for (CRegionNode* f : freeNodes)
        around.push_back(f->pass);
    // The grown outlines that stand in the free areas are held by the united
    // outline round those areas as well: they go under the areas.
    std::vector<std::vector<int>> standingMembers;
    ChainList inFree = IslandsInFreeLoops(std::vector<const CCurveList*>(around.begin() + static_cast<std::ptrdiff_t>(newRegions.size()), around.end()),
                                          originals, &standingMembers, search);
    std::vector<bool> placed(outlines.size() + inFree.size(), true);
    for (size_t b = 0; b < outlines.size(); ++b)
        placed[b] = !touched[b];
    for (size_t b = 0; b < inFree.size(); ++b) {
        outlines.push_back(std::move(inFree[b]));
        members.push_back(std::move(standingMembers[b]));
    }
    // Each old island goes under the grown outline that holds it, or back
    // under this node when that outline became part of a region pass.
    std::vector<CRegionNode*> holder(islandKids.size(), nullptr);
    std::vector<CRegionNode*> notches;
    for (size_t b = 0; b < outlines.size(); ++b) {
        if (!placed[b])
            continue;
        const int inner = InnermostAround(around, *outlines[b]);
        if (inner < 0)
            continue;
        CRegionNode* parent = static_cast<size_t>(inner) < newRegions.size()
                                  ? newRegions[static_cast<size_t>(inner)]
                                  : freeNodes[static_cast<size_t>(inner) - newRegions.size()];
        CRegionNode* grown = tree.Add(std::move(outlines[b]), 1, parent);
        for (int member : members[b])
            holder[static_cast<size_t>(originals.outlineSource[static_cast<size_t>(member)])] = grown;
        if (wide)
            for (StandingArea& s : Notches(*grown->pass, reach, freeCovers, radius, tolerance, search))
                notches.push_back(AddStanding(tree, s, reach, grown));
    }
    for (size_t k = 0; k < islandKids.size(); ++k)
        islandKids[k]->SetParent(holder[k] != nullptr ? holder[k] : &node);
    created = newRegions;
    for (StandingArea& s : standing)
        created.push_back(AddStanding(tree, s, reach, &node));
    for (CRegionNode* f : freeNodes)
        created.push_back(f);
    for (CRegionNode* n : notches)
        created.push_back(n);
    return created;
}

} // namespace

Status CPocketFeature::ComputeFromContours(const std::vector<std::unique_ptr<CCurveList>>& contours,
                                           const CMillingParams& params, CMoveEntityFactory* factory,
                                           CProgressSteps* progress, PairSearch search)
{
    CProgressSteps none(nullptr);
    CProgressSteps& steps = progress != nullptr ? *progress : none;
    ClearMoves();
    m_params = params;
    m_params.outside = 0;
    CGeometryToleranceScope restoreTolerance(g_geometryTolerance);

    Result<std::vector<double>> levels = ComputeLevels(params);
    if (!levels.ok())
        return Passed(levels.error(), "CPocketFeature::ComputeFromContours: levels");
    const double radius = params.tool.diameter / 2.0;
    const double ratio = params.tool.radialStep / 100.0;
    const double step = 2.0 * radius * ratio;
    if (!(step > 0.0) || !std::isfinite(step) || !(radius > 0.0))
        return Error{FeatureError::BadRadialStep, "step " + std::to_string(step)};
    const double tolerance = std::max((1.0 - ratio) * radius * kPassToleranceFactor, kMinPassTolerance);

    ContourTable table = KeepUsableContours(contours);
    if (table.contours.empty())
        return Error{FeatureError::NoUsableContour, m_name};
    steps.Advance(8);
    Status nested = NestContours(table, 0, search);
    if (!nested.ok())
        return Passed(nested.error(), "CPocketFeature::ComputeFromContours: nesting");
    steps.Advance(8);

    ChainList roots, islands;
    std::vector<int> islandRoot;
    BuildPasses(table, radius + params.offset, 0, roots, islands, islandRoot, search);
    if (roots.empty())
        return Error{FeatureError::NoToolpath, m_name};
    PassTree tree;
    std::vector<CRegionNode*> work;
    for (auto& r : roots)
        work.push_back(tree.Add(std::move(r), 0, nullptr));
    for (size_t i = 0; i < islands.size(); ++i)
        tree.Add(std::move(islands[i]), 1, work[static_cast<size_t>(islandRoot[i])]);
    steps.Advance(8);
    for (size_t i = 0; i < work.size(); ++i) {
        if (tree.nodes.size() >= kMaxPasses)
            return Error{FeatureError::BadRadialStep, "more than " + std::to_string(kMaxPasses) + " passes"};
        for (CRegionNode* created : StepInwards(tree, *work[i], step, radius, tolerance, search))
            work.push_back(created);
    }
    steps.Advance(8);

    std::vector<CRegionNode*> linked;
    for (CRegionNode* node = tree.master.first; node != nullptr; node = node->next)
        linked.push_back(node);
    LinkToParents(linked, step, search);
    steps.Advance(8);

    CMoveWriter writer(*this, factory);
    WalkParams walk{levels.value(), params.zSafePlane, params.zTop + params.zEngage, LinkStyle::Feed, {}};
    walk.afterLevel = [&steps] { steps.Advance(8); };
    Status walked = WalkLevels(tree.master, walk, writer);
    tree.master.Clear(false);
    if (!walked.ok()) {
        ClearMoves();
        return Passed(walked.error(), "CPocketFeature::ComputeFromContours: walking the levels");
    }
    return Ok{};
}

Status CPocketFeature::GenerateToolpath(ISelectionSet* picked, const CMillingParams& params,
                                        IHostDocument* document, CToolpathProgressBar* progress)
{
    return ComputeFromPicks(*this, picked, document, progress,
                            [&](const std::vector<std::unique_ptr<CCurveList>>& contours, CMoveEntityFactory* factory,
                                CProgressSteps* steps) { return ComputeFromContours(contours, params, factory, steps); });
}
