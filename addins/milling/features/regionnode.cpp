// CRegionNode and CRegionList: links, ordering of children along a pass.
#include "addins/milling/features/regionnode.h"

#include <algorithm>

void CRegionNode::SetParent(CRegionNode* newParent)
{
    if (newParent != nullptr)
        newParent->children.push_back(this);
    parent = newParent;
}

void CRegionNode::SortIntersections(const CChainPosition& from)
{
    if (pass == nullptr || pass->GetCount() == 0)
        return;
    const int count = pass->GetCount();
    auto along = [&](int segment, const CPoint2D& p) {
        return pass->segments[static_cast<size_t>(segment)]->DistanceAlong(p, 1);
    };
    const double fromAlong = along(from.index, from.point);
    // Key: segments counted forwards from the start segment; on the start
    // segment, points before the start belong at the very end of the loop.
    auto key = [&](const CRegionNode* child) {
        int steps = (child->parentSegment - from.index + count) % count;
        const double d = along(child->parentSegment, child->parentPoint);
        if (steps == 0 && d < fromAlong && !child->parentPoint.IsEqual(from.point))
            steps = count;
        return std::make_pair(steps, d);
    };
    std::stable_sort(children.begin(), children.end(),
                     [&](const CRegionNode* a, const CRegionNode* b) { return key(a) < key(b); });
}

CRegionNode* CRegionList::Append(CRegionNode* node)
{
    node->previous = last;
    node->next = nullptr;
    if (last != nullptr)
        last->next = node;
    else
        first = node;
    last = node;
    return node;
}

void CRegionList::Splice(const CRegionList& other)
{
    if (other.first == nullptr)
        return;
    if (last != nullptr) {
        last->next = other.first;
        other.first->previous = last;
    } else {
        first = other.first;
    }
    last = other.last;
}

void CRegionList::Clear(bool deleteNodes)
{
    if (deleteNodes) {
        for (CRegionNode* node = first; node != nullptr;) {
            CRegionNode* following = node->next;
            delete node;
            node = following;
        }
    }
    first = nullptr;
    last = nullptr;
}
