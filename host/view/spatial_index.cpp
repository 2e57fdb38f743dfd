// CSpatialIndex: a median-split box tree over object extents.
#include "host/view/spatial_index.h"

#include <algorithm>
#include <cmath>

#include "host/document/nuvex_doc.h"
#include "ientity.h"
#include "iids.h"
#include "objectmodel/tolerance.h"

namespace {

constexpr uint32_t kLeafSize = 8;
// Extents are tested against planes with twice the hit tests' tolerance,
// so rounding never drops an object that a hit test would find.
constexpr double kCullTolerance = 2.0 * kRealTolerance;

}  // namespace

CSpatialIndex::CSpatialIndex(CNuvexDoc& document) : m_document(document) {}

bool CSpatialIndex::IsStale() const
{
    if (!m_valid || m_records.size() != m_document.GetObjectCount() ||
        m_undoPosition != m_document.GetUndoPosition() || m_undoSteps != m_document.GetUndoStepCount() ||
        m_pendingUndo != m_document.GetPendingUndoCount()) {
        return true;
    }
    for (size_t i = 0; i < m_records.size(); ++i) {
        if (m_records[i] != m_document.GetObjectAt(i)) {
            return true;
        }
    }
    return false;
}

void CSpatialIndex::Rebuild()
{
    const size_t count = m_document.GetObjectCount();
    m_records.resize(count);
    m_boxes.assign(count, Box{});
    m_order.clear();
    m_unbounded.clear();
    m_nodes.clear();
    for (size_t i = 0; i < count; ++i) {
        IEntityRecord* record = m_document.GetObjectAt(i);
        m_records[i] = record;
        IUnknown* object = nullptr; // borrowed from the record
        ComPtr<IEntityBase> entity;
        bool bounded = false;
        if (record != nullptr && SUCCEEDED(record->GetObject(&object)) && object != nullptr &&
            SUCCEEDED(object->QueryInterface(IID_IEntityBase, entity.ReceiveVoid())) && entity) {
            CVector3 lo;
            CVector3 hi;
            if (entity->GetExtents(&lo, &hi, 0) == S_OK) {
                Box& box = m_boxes[i];
                const double values[6] = {lo.x.GetValue(), lo.y.GetValue(), lo.z.GetValue(),
                                          hi.x.GetValue(), hi.y.GetValue(), hi.z.GetValue()};
                bounded = std::all_of(std::begin(values), std::end(values), [](double v) { return std::isfinite(v); });
                for (int a = 0; a < 3; ++a) {
                    box.lo[a] = std::min(values[a], values[a + 3]);
                    box.hi[a] = std::max(values[a], values[a + 3]);
                }
            }
        }
        (bounded ? m_order : m_unbounded).push_back(static_cast<uint32_t>(i));
    }
    if (!m_order.empty()) {
        m_nodes.reserve(2 * m_order.size() / kLeafSize + 2);
        Build(0, static_cast<uint32_t>(m_order.size()));
    }
    m_undoPosition = m_document.GetUndoPosition();
    m_undoSteps = m_document.GetUndoStepCount();
    m_pendingUndo = m_document.GetPendingUndoCount();
    m_valid = true;
}

uint32_t CSpatialIndex::Build(uint32_t first, uint32_t count)
{
    Box box{{HUGE_VAL, HUGE_VAL, HUGE_VAL}, {-HUGE_VAL, -HUGE_VAL, -HUGE_VAL}};
    for (uint32_t i = first; i < first + count; ++i) {
        const Box& b = m_boxes[m_order[i]];
        for (int a = 0; a < 3; ++a) {
            box.lo[a] = std::min(box.lo[a], b.lo[a]);
            box.hi[a] = std::max(box.hi[a], b.hi[a]);
        }
    }
    const auto node = static_cast<uint32_t>(m_nodes.size());
    m_nodes.push_back(Node{box, first, count});
    if (count <= kLeafSize) {
        return node;
    }
    int axis = 0;
    for (int a = 1; a < 3; ++a) {
        if (box.hi[a] - box.lo[a] > box.hi[axis] - box.lo[axis]) {
            axis = a;
        }
    }
    const uint32_t half = count / 2;
    auto centre = [this, axis](uint32_t index) { return m_boxes[index].lo[axis] + m_boxes[index].hi[axis]; };
    std::nth_element(m_order.begin() + first, m_order.begin() + first + half, m_order.begin() + first + count,
                     [&centre](uint32_t a, uint32_t b) { return centre(a) < centre(b); });
    // Children are built right after their parent: the left child is the
    // next node, the right one is recorded in the parent.
    Build(first, half);
    const uint32_t right = Build(first + half, count - half);
    m_nodes[node].first = right;
    m_nodes[node].count = 0;
    return node;
}

bool CSpatialIndex::Outside(const Box& box, const std::array<CPlaneObject, 4>& planes)
{
    for (const CPlaneObject& plane : planes) {
        const CVector3& o = plane.GetOriginValue();
        const CVector3& n = plane.GetNormalValue();
        const double normal[3] = {n.x.GetValue(), n.y.GetValue(), n.z.GetValue()};
        const double origin[3] = {o.x.GetValue(), o.y.GetValue(), o.z.GetValue()};
        double most = 0.0;
        for (int a = 0; a < 3; ++a) {
            most += normal[a] * ((normal[a] > 0.0 ? box.hi[a] : box.lo[a]) - origin[a]);
        }
        if (most < -kCullTolerance) {
            return true;
        }
    }
    return false;
}

const std::vector<uint32_t>& CSpatialIndex::Query(const std::array<CPlaneObject, 4>& planes)
{
    if (IsStale()) {
        Rebuild();
    }
    m_result = m_unbounded;
    if (!m_nodes.empty()) {
        uint32_t stack[64];
        int top = 0;
        stack[top++] = 0;
        while (top > 0) {
            const uint32_t index = stack[--top];
            const Node& node = m_nodes[index];
            if (Outside(node.box, planes)) {
                continue;
            }
            if (node.count > 0) {
                for (uint32_t i = node.first; i < node.first + node.count; ++i) {
                    if (!Outside(m_boxes[m_order[i]], planes)) {
                        m_result.push_back(m_order[i]);
                    }
                }
                continue;
            }
            stack[top++] = index + 1;
            stack[top++] = node.first;
        }
    }
    std::sort(m_result.begin(), m_result.end());
    return m_result;
}
