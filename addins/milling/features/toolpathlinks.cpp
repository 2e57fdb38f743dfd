// The links of a pass tree, shared by the contour and pocket toolpaths: the
// nearest points between every pass and its parent (LinkToParents, see
// toolpathsteps.h), with one search structure per parent pass.
#include "addins/milling/features/toolpathsteps.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

namespace toolpath {

namespace {


// The nearest-pair search of a pass with its children. The answer is that of
// CCurveList::ClosestPoints of the pass with the child: the first pair of
// segments (pass segment i, then child segment j) nearer than the stop
// distance when there is one, else the first pair at the least distance.
// The grid and the tree over the pass are built once for all its children.
// Pairs nearer than the stop come from the pass segments within the stop of
// each child segment; the least distance is searched within a reach that
// starts at the stop distance and doubles until a pair lies within it,
// nearest tree nodes first, each pass segment measured only against the
// child segments within the best distance found so far.
class CPassIndex {
public:
    explicit CPassIndex(const CCurveList& pass) : m_pass(pass), m_grid(Boxes(pass))
    {
        if (m_grid.Count() > 0)
            Build(0, m_grid.Count());
    }

    void Link(CRegionNode& child, double stopDistance) const
    {
        const CCurveList& other = *child.pass;
        if (m_pass.segments.empty() || other.segments.empty()) {
            m_pass.ClosestPoints(other, child.parentPoint, child.entryPoint, &child.parentSegment,
                                 &child.entrySegment, stopDistance);
            return;
        }
        std::vector<SegmentBox> boxes;
        boxes.reserve(other.segments.size());
        for (const auto& s : other.segments)
            boxes.push_back(IntersectionBox(*s, kClosedSegment));
        Pair best;
        const double stop = stopDistance + g_geometryTolerance;
        if (stopDistance > 0.0) {
            for (int j = 0; j < static_cast<int>(boxes.size()); ++j)
                Visit(other, boxes, j, stop, [&](const Pair& p) {
                    if (stop > p.distance && (!best.found || p.Before(best)))
                        best = p;
                });
            if (best.found) {
                Take(child, best);
                return;
            }
        }
        // The least distance: the pass segments near the child's box, the
        // nearest boxes first, each against the child segments within the
        // bound in force, until a pair lies within the reach.
        SegmentBox childBox = boxes.front();
        for (const SegmentBox& box : boxes)
            childBox = Enclosing(childBox, box);
        const CSegmentGrid childGrid(boxes);
        std::vector<std::pair<double, int>> open; // (gap, node), a heap nearest first
        std::vector<int> childFound;
        for (double reach = stopDistance > 0.0 ? stop : kFirstReach;; reach *= 2.0) {
            if (!std::isfinite(reach)) { // no finite distance: the plain search decides
                m_pass.ClosestPoints(other, child.parentPoint, child.entryPoint, &child.parentSegment,
                                     &child.entrySegment, stopDistance);
                return;
            }
            auto bound = [&] { return best.found ? std::min(best.distance, reach) : reach; };
            open.assign(1, {BoxDistance(m_nodes.front().box, childBox), 0});
            while (!open.empty()) {
                std::pop_heap(open.begin(), open.end(), std::greater<>());
                const auto [gap, n] = open.back();
                open.pop_back();
                if (gap > bound())
                    break;
                const Node& node = m_nodes[static_cast<size_t>(n)];
                if (node.left >= 0) {
                    for (int c : {node.left, node.right}) {
                        const double g = BoxDistance(m_nodes[static_cast<size_t>(c)].box, childBox);
                        if (g <= bound()) {
                            open.emplace_back(g, c);
                            std::push_heap(open.begin(), open.end(), std::greater<>());
                        }
                    }
                    continue;
                }
                for (int i = node.lo; i < node.hi; ++i) {
                    const double within = bound();
                    const SegmentBox& box = m_grid.Box(i);
                    if (BoxDistance(box, childBox) > within)
                        continue;
                    childGrid.Query(Grown(box, within), childFound);
                    for (int j : childFound) {
                        if (BoxDistance(box, boxes[static_cast<size_t>(j)]) > bound())
                            continue;
                        const Pair p = Measure(other, i, j);
                        if (!(p.distance <= reach))
                            continue;
                        if (!best.found || p.distance < best.distance ||
                            (!(best.distance < p.distance) && p.Before(best)))
                            best = p;
                    }
                }
            }
            if (best.found)
                break;
        }
        Take(child, best);
    }

private:
    // First reach of the search without a stop distance (drawing units).
    static constexpr double kFirstReach = 0.01;
    static constexpr int kLeafSize = 8;

    // A node of the tree over ranges of the pass's segments in chain order:
    // consecutive segments lie together, so halving a range gives boxes
    // that shrink with the depth. A leaf holds up to kLeafSize segments.
    struct Node {
        SegmentBox box;
        int lo = 0, hi = 0;        // segments lo .. hi - 1
        int left = -1, right = -1; // -1 at a leaf
    };

    static SegmentBox Enclosing(SegmentBox a, const SegmentBox& b)
    {
        a.unbounded = a.unbounded || b.unbounded;
        a.minX = std::min(a.minX, b.minX);
        a.minY = std::min(a.minY, b.minY);
        a.maxX = std::max(a.maxX, b.maxX);
        a.maxY = std::max(a.maxY, b.maxY);
        return a;
    }

    int Build(int lo, int hi)
    {
        const int index = static_cast<int>(m_nodes.size());
        m_nodes.push_back({});
        Node node;
        node.lo = lo;
        node.hi = hi;
        if (hi - lo > kLeafSize) {
            const int mid = lo + (hi - lo) / 2;
            node.left = Build(lo, mid);
            node.right = Build(mid, hi);
            node.box = Enclosing(m_nodes[static_cast<size_t>(node.left)].box,
                                 m_nodes[static_cast<size_t>(node.right)].box);
        } else {
            node.box = m_grid.Box(lo);
            for (int i = lo + 1; i < hi; ++i)
                node.box = Enclosing(node.box, m_grid.Box(i));
        }
        m_nodes[static_cast<size_t>(index)] = node;
        return index;
    }

    struct Pair {
        bool found = false;
        int i = 0, j = 0;
        double distance = 0.0;
        CPoint2D onPass, onChild;
        bool Before(const Pair& other) const { return i < other.i || (i == other.i && j < other.j); }
    };

    static std::vector<SegmentBox> Boxes(const CCurveList& pass)
    {
        std::vector<SegmentBox> boxes;
        boxes.reserve(pass.segments.size());
        for (const auto& s : pass.segments)
            boxes.push_back(IntersectionBox(*s, kClosedSegment));
        return boxes;
    }

    // Measures child segment j against the pass segments whose boxes lie
    // within reach of its box.
    template <typename Use>
    void Visit(const CCurveList& other, const std::vector<SegmentBox>& boxes, int j, double reach, Use&& use) const
    {
        const SegmentBox& box = boxes[static_cast<size_t>(j)];
        m_grid.Query(Grown(box, reach), m_found);
        for (int i : m_found) {
            if (BoxDistance(m_grid.Box(i), box) > reach)
                continue;
            use(Measure(other, i, j));
        }
    }

    Pair Measure(const CCurveList& other, int i, int j) const
    {
        Pair p;
        p.found = true;
        p.i = i;
        p.j = j;
        m_pass.segments[static_cast<size_t>(i)]->ClosestPoints(*other.segments[static_cast<size_t>(j)], p.onPass,
                                                               p.onChild);
        p.distance = (p.onPass - p.onChild).Length();
        return p;
    }

    static void Take(CRegionNode& child, const Pair& p)
    {
        child.parentPoint = p.onPass;
        child.entryPoint = p.onChild;
        child.parentSegment = p.i;
        child.entrySegment = p.j;
    }

    const CCurveList& m_pass;
    CSegmentGrid m_grid;
    std::vector<Node> m_nodes; // the root first
    mutable std::vector<int> m_found;
};

} // namespace

void LinkToParents(const std::vector<CRegionNode*>& nodes, double stopDistance, PairSearch search)
{
    std::unordered_map<const CCurveList*, std::unique_ptr<CPassIndex>> indexes;
    for (CRegionNode* node : nodes) {
        if (node->parent == nullptr)
            continue;
        const CCurveList& pass = *node->parent->pass;
        if (search == PairSearch::AllPairs) {
            pass.ClosestPoints(*node->pass, node->parentPoint, node->entryPoint, &node->parentSegment,
                               &node->entrySegment, stopDistance);
            continue;
        }
        auto& index = indexes[&pass];
        if (!index)
            index = std::make_unique<CPassIndex>(pass);
        index->Link(*node, stopDistance);
    }
}

} // namespace toolpath
