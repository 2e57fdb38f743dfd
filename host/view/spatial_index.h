// CSpatialIndex: a bounding-volume tree over the extents of the document's
// objects, so that picking and snapping under the cursor test only the
// objects whose extents reach into the aperture or box instead of every
// object of a large drawing. It answers with object-list indices in list
// order, and always includes the objects that report no finite extents
// (unbounded lines, planes, classes without extents), so the objects it
// leaves out are exactly those that no hit test inside the region could
// find: results equal those of a walk over the whole list.
//
// The tree follows the document by itself: it is rebuilt when the object
// list's records, their count or the undo history changed since the last
// build. A change of an object's geometry in place that bypasses the undo
// history must be announced with Invalidate.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "objectmodel/plane_object.h"

class CNuvexDoc;
struct IEntityRecord;

class CSpatialIndex {
public:
    explicit CSpatialIndex(CNuvexDoc& document);

    // Indices, ascending, of the object-list entries whose extents are not
    // wholly outside one of the planes (inside: (P - origin) . normal >
    // -tolerance), and of every entry without finite extents.
    const std::vector<uint32_t>& Query(const std::array<CPlaneObject, 4>& planes);
    void Invalidate() { m_valid = false; }
    size_t IndexedCount() const { return m_boxes.size(); }

private:
    struct Box {
        double lo[3];
        double hi[3];
    };
    struct Node {
        Box box;
        uint32_t first;  // into m_order (leaf) or the first child (inner)
        uint32_t count;  // 0 for inner nodes
    };
    bool IsStale() const;
    void Rebuild();
    uint32_t Build(uint32_t first, uint32_t count);
    static bool Outside(const Box& box, const std::array<CPlaneObject, 4>& planes);

    CNuvexDoc& m_document;
    bool m_valid = false;
    std::vector<IEntityRecord*> m_records;
    int32_t m_undoPosition = -1;
    size_t m_undoSteps = 0;
    size_t m_pendingUndo = 0;
    std::vector<Box> m_boxes;           // by object index
    std::vector<uint32_t> m_order;      // object indices with finite extents, tree order
    std::vector<uint32_t> m_unbounded;  // object indices without finite extents
    std::vector<Node> m_nodes;
    std::vector<uint32_t> m_result;
};
