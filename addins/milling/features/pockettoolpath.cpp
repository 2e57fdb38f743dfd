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

// How much deeper than the tool radius from a pass a point must lie to count
// as left standing by it (drawing units).
constexpr double kRestMargin = 0.0005;
// Where a cover lying wholly inside a piece splits it, as a share of the
// cover's width: off the middle, so that the cut misses the vertices of
// symmetric parts.
constexpr double kSplitShare = 0.5123;

// The closed pieces of a combination, with their orientation.
void KeepClosed(ChainList& cut, ChainList& into)
{
    for (auto& q : cut)
        if (q->GetCount() > 0 && q->IsClosed()) {
            q->IsClockwise(0);
            into.push_back(std::move(q));
        }
}

// The box from (x0, y0) to (x1, y1) as a closed chain of the orientation
// given.
std::unique_ptr<CCurveList> Box(double x0, double y0, double x1, double y1, int clockwise)
{
    std::vector<CPoint2D> corners{{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}};
    if (clockwise)
        std::reverse(corners.begin(), corners.end());
    auto box = std::make_unique<CCurveList>();
    for (size_t k = 0; k < corners.size(); ++k)
        box->Append(std::make_unique<CLineSegment2D>(corners[k], corners[(k + 1) % corners.size()]));
    box->IsClockwise(0);
    return box;
}

// The two halves of a piece left and right of a vertical line through the
// cover inside it; the cover then crosses both. Empty when the cut fails.
ChainList SplitAround(const CCurveList& piece, const CCurveList& cover, PairSearch search)
{
    double minX, minY, maxX, maxY, cx0, cy0, cx1, cy1;
    piece.GetBounds(minX, minY, maxX, maxY);
    cover.GetBounds(cx0, cy0, cx1, cy1);
    const double x = cx0 + kSplitShare * (cx1 - cx0);
    const double margin = 1.0 + (maxX - minX) + (maxY - minY);
    ChainList halves;
    const std::unique_ptr<CCurveList> others[] = {Box(x, minY - margin, maxX + margin, maxY + margin, piece.clockwise),
                                                  Box(minX - margin, minY - margin, x, maxY + margin, piece.clockwise)};
    for (const auto& other : others) {
        ChainList cut;
        if (piece.Combine(*other, CombineMode::Difference, cut, search) <= 0)
            return {};
        KeepClosed(cut, halves);
    }
    return halves;
}

// What is left of the pieces once every cover is taken away. A cover that
// lies wholly inside a piece would leave a hole, which a chain cannot hold:
// it is taken away again after the others, which may have opened the piece
// up to it, and a piece that still holds it whole is split through it
// first.
ChainList TakeAway(ChainList pieces, const ChainList& covers, PairSearch search)
{
    auto takeAway = [&](CCurveList& cover, bool split, bool& holds) {
        holds = false;
        ChainList next;
        ChainList todo = std::move(pieces);
        while (!todo.empty()) {
            std::unique_ptr<CCurveList> p = std::move(todo.back());
            todo.pop_back();
            ChainList cut;
            if (p->Combine(cover, CombineMode::Difference, cut, search) > 0) {
                KeepClosed(cut, next);
                continue;
            }
            // Apart or only touching.
            if (cover.ContainsList(*p, 0))
                continue;
            if (p->ContainsList(cover, 0)) {
                ChainList halves = split ? SplitAround(*p, cover, search) : ChainList{};
                if (!halves.empty()) {
                    for (auto& h : halves)
                        todo.push_back(std::move(h));
                    continue;
                }
                holds = true;
            }
            next.push_back(std::move(p));
        }
        pieces = std::move(next);
    };
    std::vector<CCurveList*> inside;
    bool holds = false;
    for (const auto& c : covers) {
        takeAway(*c, false, holds);
        if (holds)
            inside.push_back(c.get());
    }
    for (CCurveList* c : inside)
        takeAway(*c, true, holds);
    return pieces;
}

// The areas a step wider than the tool radius leaves standing between a
// region pass and its inward passes: the points deeper than the radius from
// the pass (its offset by the radius, less the islands grown as far) that
// lie farther than the radius from every inward pass. A slot the step
// jumps over, the lobes and corners an inward offset loses, ribs between
// two passes and beside the islands. Each becomes a region pass of its own,
// which is offset inwards in turn. An area that still holds an island is
// left standing.
ChainList LeftStanding(const CCurveList& pass, const std::vector<const CCurveList*>& islandLoops,
                       const ChainList& inward, double radius, double tolerance, PairSearch search)
{
    const int cw = pass.clockwise;
    ChainList rest = OffsetClosed(pass, radius + kRestMargin, cw, tolerance);
    rest.erase(std::remove_if(rest.begin(), rest.end(), [&](const auto& r) { return r->clockwise != cw; }), rest.end());
    if (rest.empty())
        return rest;
    // What the passes cut: the island loops' (merged, with the areas they
    // enclose) and the inward passes', each grown by the radius.
    IslandOffsets near = OffsetIslands(islandLoops, radius + kRestMargin, tolerance);
    ChainList nearHoles;
    MergeIslands(near.outlines, nearHoles, nullptr, search);
    ChainList cover;
    for (const auto& loop : inward)
        for (auto& grown : OffsetClosed(*loop, radius, loop->clockwise ? 0 : 1, 0.0))
            if (grown->clockwise == loop->clockwise)
                cover.push_back(std::move(grown));
    for (auto& outline : near.outlines)
        cover.push_back(std::move(outline));
    ChainList standing;
    for (auto& p : TakeAway(std::move(rest), cover, search)) {
        double length = 0.0;
        const double area = p->SignedArea(&length);
        // Slivers where a cover runs along the rest's edge enclose nothing.
        if (p->clockwise != cw || !(std::fabs(area) > kRestMargin * length))
            continue;
        bool holds = false;
        for (const CCurveList* island : islandLoops)
            holds = holds || p->ContainsList(*island, 0);
        if (!holds)
            standing.push_back(std::move(p));
    }
    return standing;
}

// Offsets one region pass inwards by the step and grows its island children
// by the same step; rebuilds the node's children from the results. Returns
// the new region nodes, which are offset in turn.
std::vector<CRegionNode*> StepInwards(PassTree& tree, CRegionNode& node, double step, double radius,
                                      double tolerance, PairSearch search)
{
    std::vector<CRegionNode*> created;
    const int cw = node.pass->clockwise;
    ChainList regions = OffsetClosed(*node.pass, step, cw, tolerance);
    regions.erase(std::remove_if(regions.begin(), regions.end(), [&](const auto& r) { return r->clockwise != cw; }),
                  regions.end());
    std::vector<CRegionNode*> islandKids;
    for (CRegionNode* child : node.children)
        if (child->island)
            islandKids.push_back(child);
    std::vector<const CCurveList*> islandLoops;
    for (CRegionNode* kid : islandKids)
        islandLoops.push_back(kid->pass);
    if (regions.empty()) {
        // Nothing is left of the region one step in; what the pass did not
        // reach becomes the last passes.
        if (step > radius)
            for (auto& r : LeftStanding(*node.pass, islandLoops, regions, radius, tolerance, search))
                created.push_back(tree.Add(std::move(r), 0, &node));
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
    ChainList standing;
    if (step > radius)
        standing = LeftStanding(*node.pass, islandLoops, regions, radius, tolerance, search);

    node.children.clear();
    std::vector<CRegionNode*> newRegions;
    std::vector<std::unique_ptr<CChainIndex>> regionIndexes;
    for (auto& r : regions) {
        regionIndexes.push_back(search == PairSearch::Indexed ? std::make_unique<CChainIndex>(*r) : nullptr);
        newRegions.push_back(tree.Add(std::move(r), 0, &node));
    }
    // Each old island goes under the grown outline that holds it, or back
    // under this node when that outline became part of a region pass.
    std::vector<CRegionNode*> holder(islandKids.size(), nullptr);
    for (size_t b = 0; b < outlines.size(); ++b) {
        if (touched[b])
            continue;
        CRegionNode* parent = nullptr;
        for (size_t r = 0; r < newRegions.size() && parent == nullptr; ++r)
            if (regionIndexes[r] ? regionIndexes[r]->ContainsList(*outlines[b]) != 0
                                 : newRegions[r]->pass->ContainsList(*outlines[b], 0) != 0)
                parent = newRegions[r];
        if (parent == nullptr)
            continue;
        CRegionNode* grown = tree.Add(std::move(outlines[b]), 1, parent);
        for (int member : members[b])
            holder[static_cast<size_t>(originals.outlineSource[static_cast<size_t>(member)])] = grown;
    }
    for (size_t k = 0; k < islandKids.size(); ++k)
        islandKids[k]->SetParent(holder[k] != nullptr ? holder[k] : &node);
    created = newRegions;
    for (auto& r : standing)
        created.push_back(tree.Add(std::move(r), 0, &node));
    // Enclosed free areas are regions of their own, reached from above.
    for (auto& f : freeLoops)
        created.push_back(tree.Add(std::move(f), 0, nullptr));
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
