// CPickHelper: single and box picking with priority classes and occlusion.
#include "host/view/picking.h"

#include "host/document/nuvex_doc.h"
#include "host/view/gl_api.h"
#include "host/view/spatial_index.h"
#include "host/view/view_tool_state.h"
#include "host/view/view_transform.h"
#include "igeometry.h"
#include "iids.h"
#include "objectmodel/entity_record.h"
#include "objectmodel/tolerance.h"

namespace {

enum Side { kTop = 0, kBottom = 1, kRight = 2, kLeft = 3 };

bool Answers(IUnknown* object, REFIID iid)
{
    ComPtr<IUnknown> answer;
    return SUCCEEDED(object->QueryInterface(iid, answer.ReceiveVoid())) && answer;
}

// The picking filter tables of a level follow the three snapping ones.
constexpr int kPickingFilterTables = 3;

}  // namespace

std::vector<IEntityRecord*> ResolveFilterObjects(CNuvexDoc& document, const std::vector<uint32_t>& ids)
{
    std::vector<IEntityRecord*> records;
    for (uint32_t id : ids) {
        IEntityRecord* found = nullptr;
        for (size_t i = 0; i < document.GetObjectCount() && found == nullptr; ++i) {
            IEntityRecord* record = document.GetObjectAt(i);
            if (static_cast<uint32_t>(ObjectIdOf(record)) == id) {
                found = record;
            }
        }
        for (const CommandObjectEntry& entry : document.GetCommandObjects()) {
            if (found != nullptr || !entry.object) {
                break;
            }
            ComPtr<IEntityRecord> record;
            if (SUCCEEDED(entry.object->QueryInterface(IID_IEntityRecord, record.ReceiveVoid())) && record &&
                static_cast<uint32_t>(ObjectIdOf(record.Get())) == id) {
                found = record.Get();
            }
        }
        if (found != nullptr) {
            records.push_back(found);
        }
    }
    return records;
}

CPickHelper::CPickHelper(CNuvexDoc& document) : m_document(document)
{
    for (CPlaneObject& plane : m_planes) {
        plane.SetLifetime(Lifetime::OwnerHeld);
    }
    m_pickLine.SetLifetime(Lifetime::OwnerHeld);
}

CPickHelper::~CPickHelper() = default;

void CPickHelper::Reset()
{
    m_candidates.clear();
}

int32_t CPickHelper::PriorityClass(uint32_t flags)
{
    if ((flags & kPickClass4) != 0) {
        return 4;
    }
    if ((flags & kPickClass3) != 0) {
        return 3;
    }
    if ((flags & kPickClass1) != 0) {
        return 1;
    }
    if ((flags & kPickClass0) != 0) {
        return 0;
    }
    return 2;
}

int32_t CPickHelper::ComparePickKinds(uint32_t a, uint32_t b)
{
    if ((a & kPickKindOther) != 0) {
        return (b & kPickKindOther) != 0 ? 0 : 1;
    }
    if ((b & kPickKindOther) != 0) {
        return -1;
    }
    if ((a & kPickKindPoint) != 0) {
        return (b & kPickKindPoint) != 0 ? 0 : 1;
    }
    if ((a & kPickKindLine) != 0) {
        if ((b & kPickKindPoint) != 0) {
            return -1;
        }
        return (b & kPickKindLine) != 0 ? 0 : 1;
    }
    if ((a & kPickKindPlane) != 0) {
        if ((b & (kPickKindPoint | kPickKindLine)) != 0) {
            return -1;
        }
        return (b & kPickKindPlane) != 0 ? 0 : 1;
    }
    if ((a & kPickKindReserved) != 0) {
        return (b & (kPickKindPoint | kPickKindLine | kPickKindPlane)) != 0 ? -1 : 0;
    }
    return 0;
}

void CPickHelper::Evaluate(const CViewTransform& view, const CPoint2& first, const CPoint2& second,
                           uint32_t inputKinds, uint32_t modifierKind, BOOL flaggedOnly)
{
    m_pickLine = view.CursorLine();
    m_word = inputKinds;
    if (IsSingle()) {
        m_crossing = 1;
    } else if (IsBox()) {
        const bool leftward = first.x.GetValue() > second.x.GetValue() + kRealTolerance;
        const bool upward = first.y.GetValue() < second.y.GetValue() - kRealTolerance;
        m_crossing = ((inputKinds & kCrossingBoxPick) == kCrossingBoxPick || leftward || upward) ? 1 : 0;
    } else {
        m_crossing = 0;
    }
    m_flaggedOnly = flaggedOnly;
    changed = FALSE;
    if (m_region.GetCount() > 0) {
        m_region.RemoveAll();
        changed = TRUE;
    }
    if (refreshRequest) {
        changed = TRUE;
        refreshRequest = FALSE;
    }
    m_occluders.clear();
    Reset();
    if ((inputKinds & (kPickInput | kSinglePick | kBoxPick)) == 0) {
        return;
    }
    BuildSidePlanes(view, first, second);
    SelectFilter(modifierKind);
    CollectCandidates();
    if (IsSingle()) {
        ChooseSingle();
    } else if (IsBox()) {
        for (const Candidate& candidate : m_candidates) {
            m_region.Add(ObjectIdOf(candidate.record));
        }
    }
}

void CPickHelper::BuildSidePlanes(const CViewTransform& view, const CPoint2& first, const CPoint2& second)
{
    double left = 0.0;
    double right = 0.0;
    double bottom = 0.0;
    double top = 0.0;
    if (IsSingle()) {
        const double h = m_aperture / 2.0;
        left = first.x.GetValue() - h;
        right = first.x.GetValue() + h;
        bottom = first.y.GetValue() - h;
        top = first.y.GetValue() + h;
    } else if (IsBox()) {
        const CRealRect box(first, second);
        left = box.left.GetValue();
        right = box.right.GetValue();
        bottom = box.bottom.GetValue();
        top = box.top.GetValue();
    } else {
        return;
    }
    auto side = [&view](CPlaneObject& plane, double a, double b, double stepA, double stepB) {
        const CVector3 origin = view.ModelPointAt(a, b);
        plane.SetOriginValue(origin);
        plane.SetNormalValue((view.ModelPointAt(a + stepA, b + stepB) - origin).Normalized());
    };
    side(m_planes[kLeft], left, 0.0, 1.0, 0.0);
    side(m_planes[kRight], right, 0.0, -1.0, 0.0);
    side(m_planes[kBottom], 0.0, bottom, 0.0, 1.0);
    side(m_planes[kTop], 0.0, top, 0.0, -1.0);
    m_region.FirstCorner() = first;
    m_region.SecondCorner() = IsSingle() ? first : second;
    m_region.PickLine() = view.CursorLine();
    m_region.TopPlane() = m_planes[kTop];
    m_region.BottomPlane() = m_planes[kBottom];
    m_region.RightPlane() = m_planes[kRight];
    m_region.LeftPlane() = m_planes[kLeft];
}

void CPickHelper::SelectFilter(uint32_t modifierKind)
{
    const CommandLevel& level = m_document.Level(m_document.GetCurrentLevel());
    struct Choice {
        uint32_t bit;
        ModifierTable table;
    };
    static constexpr Choice kChoices[] = {
        {0x1, ModifierTable::Plain}, {0x2, ModifierTable::Ctrl}, {0x4, ModifierTable::Shift}};
    for (const Choice& choice : kChoices) {
        if ((modifierKind & choice.bit) == 0) {
            continue;
        }
        const size_t table = kPickingFilterTables + static_cast<size_t>(choice.table);
        m_filterObjects = level.filterIds[table];
        m_filterIds.clear();
        for (const FilterGuidRecord& record : level.filterGuids[table]) {
            m_filterIds.push_back(record.id);
        }
        m_kindFilter = level.filterFlags[table];
    }
}

void CPickHelper::CollectCandidates()
{
    m_bestClass = 0;
    if (!m_filterObjects.empty()) {
        for (IEntityRecord* record : ResolveFilterObjects(m_document, m_filterObjects)) {
            AddCandidate(record);
        }
        return;
    }
    if (m_index != nullptr) {
        for (uint32_t i : m_index->Query(m_planes)) {
            if ((m_document.GetObjectFlagsAt(i) & kListSkipPick) == 0) {
                AddCandidate(m_document.GetObjectAt(i));
            }
        }
    } else {
        for (size_t i = 0; i < m_document.GetObjectCount(); ++i) {
            if ((m_document.GetObjectFlagsAt(i) & kListSkipPick) == 0) {
                AddCandidate(m_document.GetObjectAt(i));
            }
        }
    }
    const int32_t command = m_document.Level(m_document.GetCurrentLevel()).commandIndex;
    for (const CommandObjectEntry& entry : m_document.GetCommandObjects()) {
        if ((entry.owner != kNoOwner && entry.owner != command) || (entry.flags & kListSkipPick) != 0 ||
            !entry.object) {
            continue;
        }
        ComPtr<IEntityRecord> record;
        if (SUCCEEDED(entry.object->QueryInterface(IID_IEntityRecord, record.ReceiveVoid())) && record) {
            AddCandidate(record.Get());
        }
    }
}

void CPickHelper::AddCandidate(IEntityRecord* record)
{
    if (record == nullptr) {
        return;
    }
    uint32_t flags = 0;
    record->GetFlags(&flags);
    if ((flags & kPickNever) != 0 || (m_flaggedOnly && (flags & kPickFlagged) == 0) ||
        (IsSingle() && (flags & kPickNotSingle) != 0) || (IsBox() && (flags & kPickNotBox) != 0)) {
        return;
    }
    const int32_t priority = PriorityClass(flags);
    if (priority < m_bestClass) {
        return;
    }
    IUnknown* object = nullptr;
    if (FAILED(record->GetObject(&object)) || object == nullptr) {
        return;
    }
    ComPtr<IEntityBase> entity;
    if (FAILED(object->QueryInterface(IID_IEntityBase, entity.ReceiveVoid())) || !entity) {
        return;
    }
    auto hitTest = [&]() {
        if (IsSingle() && (flags & kPickTouchLine) != 0) {
            CVector3 point;
            return SUCCEEDED(entity->NearestPointToLine(&m_pickLine, &point, 1)) && m_pickLine.ContainsPoint(point);
        }
        BOOL inside = FALSE;
        return SUCCEEDED(entity->HitTest(&m_planes[kLeft], &m_planes[kBottom], &m_planes[kRight], &m_planes[kTop],
                                         m_crossing, &inside)) &&
               inside != FALSE;
    };
    uint32_t kind = 0;
    if (Answers(entity.Get(), IID_IGeometryEntity)) {
        struct KindOfInterface {
            const GUID* id;
            uint32_t bit;
            bool planeLike;
        };
        static constexpr KindOfInterface kKinds[] = {{&IID_IPoint3, kPickKindPoint, false},
                                                     {&IID_ILine, kPickKindLine, false},
                                                     {&IID_IPlane, kPickKindPlane, true},
                                                     {&IID_IReserved21, kPickKindReserved, true}};
        bool matched = false;
        bool planeLike = false;
        for (const KindOfInterface& k : kKinds) {
            if (Answers(entity.Get(), *k.id)) {
                matched = true;
                planeLike = planeLike || k.planeLike;
                kind |= k.bit & m_kindFilter;
            }
        }
        if (kind == 0 && !matched && (m_kindFilter & kPickKindOther) != 0) {
            kind = kPickKindOther;
        }
        if (hitTest()) {
            if (IsSingle() &&
                ((planeLike && (flags & kPickPlaneOccludesOnlyWithBit) == 0) || (flags & kPickOccluder) != 0)) {
                m_occluders.push_back(entity.Get());
            }
        } else {
            kind = 0;
        }
    } else if (hitTest()) {
        kind = kPickKindOther;
        if (IsSingle() && (flags & kPickOccluder) != 0) {
            m_occluders.push_back(entity.Get());
        }
    }
    if (kind == 0) {
        return;
    }
    if (!m_filterIds.empty()) {
        bool answers = false;
        for (const GUID& id : m_filterIds) {
            if (Answers(entity.Get(), id)) {
                answers = true;
                break;
            }
        }
        if (!answers) {
            return;
        }
    }
    if (priority > m_bestClass) {
        Reset();
        m_bestClass = priority;
    }
    m_candidates.push_back(Candidate{std::move(entity), kind, record, flags});
}

bool CPickHelper::IsOccluded(IEntityBase* entity)
{
    CPlaneObject depth(m_pickLine.GetPointValue(), m_pickLine.GetDirectionValue());
    depth.SetLifetime(Lifetime::OwnerHeld);
    CVector3 b;
    if (FAILED(entity->NearestPointToLine(&m_pickLine, &b, 1))) {
        return false;
    }
    CReal behind;
    CVector3 bCopy = b;
    depth.Distance(&bCopy, &behind, 0);
    CLineObject ray(b, m_pickLine.GetDirectionValue());
    ray.SetLifetime(Lifetime::OwnerHeld);
    for (IEntityBase* occluder : m_occluders) {
        CVector3 a;
        if (FAILED(occluder->NearestPointToLine(&ray, &a, 1)) || !ray.ContainsPoint(a)) {
            continue;
        }
        CReal before;
        depth.Distance(&a, &before, 0);
        if (before.GetValue() < behind.GetValue() - kRealTolerance) {
            return true;
        }
    }
    return false;
}

void CPickHelper::ChooseSingle()
{
    const Candidate* best = nullptr;
    double bestValue = 0.0;
    for (const Candidate& candidate : m_candidates) {
        double value = -1.0;
        ComPtr<IGeometryEntity> geometry;
        if (SUCCEEDED(candidate.entity->QueryInterface(IID_IGeometryEntity, geometry.ReceiveVoid())) && geometry) {
            CReal distance;
            value = SUCCEEDED(geometry->GetDistanceTo(&m_pickLine, &distance, 1)) ? distance.GetValue() : 0.0;
        }
        if ((candidate.flags & kPickNeverOccluded) == 0 && IsOccluded(candidate.entity.Get())) {
            continue;
        }
        if (best == nullptr) {
            best = &candidate;
            bestValue = value;
            continue;
        }
        const int32_t order = ComparePickKinds(best->kind, candidate.kind);
        if (order < 0 || (order == 0 && value < bestValue + kRealTolerance)) {
            best = &candidate;
            bestValue = value;
        }
    }
    if (best != nullptr) {
        m_region.Add(ObjectIdOf(best->record));
    }
}

void CPickHelper::DrawSelectionBox(const ViewToolState& view, int phase, uint32_t) const
{
    if (phase != 2 || !view.boxStarted || view.transform == nullptr || view.gl == nullptr) {
        return;
    }
    const CViewTransform& transform = *view.transform;
    const CMatrix4& m = transform.ViewToModel();
    const CVector3 a = transform.ModelPointAt(view.clickPoint.x, view.clickPoint.y);
    const CVector3 c = transform.CursorLine().GetPointValue();
    const CVector3 u(m(0, 0), m(0, 1), m(0, 2));
    const CVector3 v(m(1, 0), m(1, 1), m(1, 2));
    const CVector3 b = a + u * ((c - a).Dot(u) / u.Dot(u));
    const CVector3 d = a + v * ((c - a).Dot(v) / v.Dot(v));
    GlApi& gl = *view.gl;
    if (view.zoomWindow) {
        gl.Color3d(0.0, 0.0, 1.0);
    } else {
        gl.Color3d(1.0, 0.0, 0.0);
    }
    gl.LineWidth(1.0f);
    gl.DepthFunc(GL_ALWAYS);
    gl.Begin(GL_LINE_LOOP);
    for (const CVector3* p : {&a, &b, &c, &d}) {
        gl.Vertex3d(p->x.GetValue(), p->y.GetValue(), p->z.GetValue());
    }
    gl.End();
    gl.DepthFunc(GL_LESS);
}
