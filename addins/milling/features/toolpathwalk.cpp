// The moves of a pass tree, shared by the contour and pocket toolpaths:
// writing line and arc moves (CMoveWriter) and the walk that cuts every pass
// once per level, entering and leaving the children at their link points
// (WalkLevels, see toolpathsteps.h).
#include "addins/milling/features/toolpathsteps.h"

namespace toolpath {

Status CMoveWriter::Line(uint8_t flag, const CMovePoint& from, const CMovePoint& to)
{
    CMove m;
    m.flag = flag;
    m.start = from;
    m.end = to;
    return m_feature.AppendMove(m, m_factory);
}

Status CMoveWriter::Segment(const CSegment2D& s, double z)
{
    const CPoint2D a = s.GetStartPoint(), b = s.GetEndPoint();
    CMove m;
    m.start = {a.x, a.y, z};
    m.end = {b.x, b.y, z};
    if (s.GetType() == kSegmentTypeArc) {
        const auto& arc = static_cast<const CArcSegment2D&>(s);
        m.flag = arc.ccw ? kMoveArcCounterClockwise : kMoveArcClockwise;
        m.centre = {arc.centre.x, arc.centre.y, z};
        m.radius = arc.radius;
    } else {
        m.flag = kMoveFeedLine;
    }
    return m_feature.AppendMove(m, m_factory);
}

namespace {

// One node being cut: the stops round its pass and the next piece.
struct Frame {
    CRegionNode* node;
    std::vector<CChainPosition> stops;
    size_t next = 0;
    bool cutAny = false;
};

Frame Enter(CRegionNode* node, const CChainPosition& start)
{
    node->cursor = 0;
    node->SortIntersections(start);
    Frame f{node, {start}};
    for (CRegionNode* child : node->children)
        f.stops.push_back({child->parentPoint, child->parentSegment});
    f.stops.push_back(start);
    return f;
}

Status Link(CMoveWriter& out, const WalkParams& p, const CPoint2D& from, const CPoint2D& to, double z)
{
    if (p.link == LinkStyle::Feed)
        return out.Line(kMoveFeedLine, {from.x, from.y, z}, {to.x, to.y, z});
    FEATURE_TRY(out.Line(kMoveRapid, {from.x, from.y, z}, {from.x, from.y, p.safe}));
    FEATURE_TRY(out.Line(kMoveRapid, {from.x, from.y, p.safe}, {to.x, to.y, p.safe}));
    FEATURE_TRY(out.Line(kMoveRapid, {to.x, to.y, p.safe}, {to.x, to.y, p.engage}));
    return out.Line(kMoveFeedLine, {to.x, to.y, p.engage}, {to.x, to.y, z});
}

// Cuts a root's tree at one level without recursion (pocket trees can be
// hundreds of rings deep). Pieces between consecutive distinct stops cover a
// pass exactly once; when every stop is one point the whole pass is one piece.
Status CutTree(CRegionNode* root, double z, const WalkParams& p, CMoveWriter& out)
{
    std::vector<Frame> stack;
    stack.push_back(Enter(root, {root->pass->GetStartPoint(), 0}));
    while (!stack.empty()) {
        Frame& f = stack.back();
        if (f.next + 1 >= f.stops.size()) {
            CRegionNode* done = f.node;
            stack.pop_back();
            if (!stack.empty())
                FEATURE_TRY(Link(out, p, done->entryPoint, done->parentPoint, z));
            continue;
        }
        const CChainPosition a = f.stops[f.next];
        const CChainPosition b = f.stops[f.next + 1];
        const bool last = f.next + 2 == f.stops.size();
        if (a.point.IsNotEqual(b.point) || (last && !f.cutAny)) {
            std::unique_ptr<CCurveList> piece = f.node->pass->CutAt(a, b);
            if (piece)
                for (const auto& s : piece->segments)
                    FEATURE_TRY(out.Segment(*s, z));
            f.cutAny = true;
        }
        const size_t childIndex = f.next;
        ++f.next;
        if (last)
            continue;
        CRegionNode* child = f.node->children[childIndex];
        f.node->cursor = static_cast<int>(childIndex + 1);
        FEATURE_TRY(Link(out, p, child->parentPoint, child->entryPoint, z));
        stack.push_back(Enter(child, {child->entryPoint, child->entrySegment}));
    }
    return Ok{};
}

} // namespace

Status WalkLevels(const CRegionList& tree, const WalkParams& p, CMoveWriter& out)
{
    bool firstApproach = true;
    CPoint2D last;
    double lastZ = p.levels.empty() ? 0.0 : p.levels.front();
    for (double z : p.levels) {
        for (CRegionNode* node = tree.first; node != nullptr; node = node->next) {
            if (node->parent != nullptr)
                continue;
            const CPoint2D s = node->pass->GetStartPoint();
            if (firstApproach || s.IsNotEqual(last)) {
                if (!firstApproach) {
                    FEATURE_TRY(out.Line(kMoveRapid, {last.x, last.y, lastZ}, {last.x, last.y, p.safe}));
                    FEATURE_TRY(out.Line(kMoveRapid, {last.x, last.y, p.safe}, {s.x, s.y, p.safe}));
                }
                FEATURE_TRY(out.Line(kMoveRapid, {s.x, s.y, p.safe}, {s.x, s.y, p.engage}));
                FEATURE_TRY(out.Line(kMoveFeedLine, {s.x, s.y, p.engage}, {s.x, s.y, z}));
                firstApproach = false;
                last = s;
            } else {
                FEATURE_TRY(out.Line(kMoveFeedLine, {s.x, s.y, lastZ}, {s.x, s.y, z}));
            }
            FEATURE_TRY(CutTree(node, z, p, out));
            lastZ = z;
        }
        if (p.afterLevel)
            p.afterLevel();
    }
    return Ok{};
}

} // namespace toolpath
