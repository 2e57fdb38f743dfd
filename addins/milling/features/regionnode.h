// CRegionNode and CRegionList: the tree of closed passes that the contour,
// curve and pocket toolpath generators build and walk.
#pragma once

#include <vector>

#include "addins/milling/geometry/curvelist.h"

class CRegionNode {
public:
    CRegionNode* next = nullptr;
    CRegionNode* previous = nullptr;
    // The closed pass; owned by the generator's tree, not by the node.
    CCurveList* pass = nullptr;
    // Passes entered from this one, in the order they are visited.
    std::vector<CRegionNode*> children;
    CRegionNode* parent = nullptr;
    int island = 0; // 1: runs around an island, placed under the pass containing it
    int cursor = 0; // children visited so far in the current walk
    CPoint2D entryPoint; // link point on this node's own pass
    int entrySegment = 0;
    CPoint2D parentPoint; // link point on the parent's pass
    int parentSegment = 0;

    // Appends the node to a non-null parent's children, then records the parent.
    void SetParent(CRegionNode* newParent);
    // Orders the children by the position of their parent points along this
    // pass, counted forwards from the given position (segment, then distance
    // along it); equal positions keep their order. A child linked exactly at
    // the start position goes first.
    void SortIntersections(const CChainPosition& from);
};

// A doubly linked list of nodes. It deletes nodes only when asked to (Clear),
// and never their passes.
class CRegionList {
public:
    CRegionNode* first = nullptr;
    CRegionNode* last = nullptr;

    CRegionList() = default;
    CRegionList(const CRegionList&) = delete;
    CRegionList& operator=(const CRegionList&) = delete;

    CRegionNode* Append(CRegionNode* node);
    // Links the other list's nodes after this list's last node; the other list
    // is left as it is and must not delete them again.
    void Splice(const CRegionList& other);
    void Clear(bool deleteNodes);
};
