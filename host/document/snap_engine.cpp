// CSnapEngine: the recent points, tracking lines and candidates.
#include "host/document/snap_engine.h"

#include "objectmodel/attribute_set.h"
#include "objectmodel/collection_b.h"
#include "objectmodel/entity_record.h"

#include "host/document/nuvex_doc.h"
#include "iids.h"

CSnapEngine::CSnapEngine()
{
    AddRecentPoint(CVector3(0.0, 0.0, 0.0), kSnapOrigin, 0);
    AddAxisLines();
}

void CSnapEngine::AddAxisLines()
{
    const CVector3 origin(0.0, 0.0, 0.0);
    AddTrackingLine(origin, CVector3(1.0, 0.0, 0.0), kSnapOrigin);
    AddTrackingLine(origin, CVector3(0.0, 1.0, 0.0), kSnapOrigin);
    AddTrackingLine(origin, CVector3(0.0, 0.0, 1.0), kSnapOrigin);
}

void CSnapEngine::Reset()
{
    m_resultKind = 0;
    m_candidates.clear();
    ClearTrackingHits();
}

void CSnapEngine::Refresh()
{
    m_tracking.clear();
    AddAxisLines();
}

void CSnapEngine::ResetRecentPoints()
{
    m_recent.clear();
    AddRecentPoint(CVector3(0.0, 0.0, 0.0), kSnapOrigin, 0);
}

void CSnapEngine::AddTrackingLine(const CVector3& point, const CVector3& direction, uint32_t kind)
{
    AddLine(point, direction, kind, kTrackingLineColour);
}

void CSnapEngine::AddViewTrackingLine(const CVector3& point, const CVector3& direction, uint32_t kind)
{
    AddLine(point, direction, kind, kViewTrackingLineColour);
}

void CSnapEngine::AddLine(const CVector3& point, const CVector3& direction, uint32_t kind, uint32_t colour)
{
    for (const TrackingLine& line : m_tracking) {
        if (line.line->GetPointValue() == point && line.line->GetDirectionValue() == direction) {
            return;
        }
    }
    if (m_tracking.size() >= kMaxTrackingLines) {
        m_tracking.erase(m_tracking.begin() + static_cast<std::ptrdiff_t>(kAxisTrackingLines));
    }
    auto* line = new CLineObject(point, direction);
    auto holder = ComPtr<IEntityRecord>::Share(new CEntityRecord(static_cast<ILineEx*>(line)));
    holder->AddChild(new CCollectionB(colour, 0));
    holder->AddChild(new CAttributeSet(2, 1, 1, 0));
    holder->AddFlags(kRecordHidden);
    m_tracking.push_back(TrackingLine{0, kind, std::move(holder), line});
}

void CSnapEngine::AddRecentPoint(const CVector3& point, uint32_t kind, uintptr_t owner)
{
    for (const RecentPoint& recent : m_recent) {
        if (recent.point == point && recent.kind == kind && recent.owner == owner) {
            return;
        }
    }
    if (m_recent.size() >= kMaxRecentPoints) {
        m_recent.erase(m_recent.begin() + 1);
    }
    m_recent.push_back(RecentPoint{kind, owner, point});
}

void CSnapEngine::ClearCandidateHits()
{
    for (SnapCandidate& candidate : m_candidates) {
        candidate.hit = 0;
    }
}

void CSnapEngine::ClearTrackingHits()
{
    for (TrackingLine& line : m_tracking) {
        line.hit = 0;
    }
}

const CLineObject* CSnapEngine::FindTrackingDirection() const
{
    for (const TrackingLine& line : m_tracking) {
        if (line.hit == kSnapNearest) {
            return line.line;
        }
    }
    return nullptr;
}

void CSnapEngine::QueryTrackingActive(uint32_t* flag) const
{
    if (flag == nullptr) {
        return;
    }
    for (const TrackingLine& line : m_tracking) {
        if (line.hit != 0 || !m_recent.empty()) {
            *flag = 1;
            return;
        }
        *flag = 0;
    }
}

void CSnapEngine::SetAperturePlanes(const CPlaneObject& top, const CPlaneObject& bottom, const CPlaneObject& right,
                                    const CPlaneObject& left)
{
    m_aperturePlanes[0] = top;
    m_aperturePlanes[1] = bottom;
    m_aperturePlanes[2] = right;
    m_aperturePlanes[3] = left;
}

void CSnapEngine::SetActiveFilter(std::vector<GUID> interfaceIds, uint32_t kindFilter,
                                  std::vector<IEntityRecord*> objects)
{
    m_filterIds = std::move(interfaceIds);
    m_kindFilter = kindFilter;
    m_filterObjects = std::move(objects);
    m_hasObjectFilter = !m_filterObjects.empty();
}

void CSnapEngine::SelectLevelFilter(const CNuvexDoc& document, uint32_t modifierKind)
{
    const CommandLevel& level = document.Level(document.GetCurrentLevel());
    for (const uint32_t kind : {1u, 2u, 4u}) {
        if ((modifierKind & kind) == 0) {
            continue;
        }
        const size_t table = static_cast<size_t>(kSnapFilterSet + ModifierTableOfKind(static_cast<long>(kind)));
        m_filterIds.clear();
        for (const FilterGuidRecord& record : level.filterGuids[table]) {
            m_filterIds.push_back(record.id);
        }
        m_kindFilter = level.filterFlags[table];
        m_filterObjects = document.FindRecordsById(level.filterIds[table]);
        m_hasObjectFilter = !level.filterIds[table].empty();
    }
}

void CSnapEngine::CollectCandidates(CNuvexDoc& document)
{
    if (m_hasObjectFilter) {
        for (IEntityRecord* holder : m_filterObjects) {
            TestCandidate(holder);
        }
        return;
    }
    for (size_t i = 0; i < document.GetObjectCount(); ++i) {
        if ((document.GetObjectFlagsAt(i) & kListSkipSnap) == 0) {
            TestCandidate(document.GetObjectAt(i));
        }
    }
    const int32_t command = document.Level(document.GetCurrentLevel()).commandIndex;
    for (const CommandObjectEntry& entry : document.GetCommandObjects()) {
        if ((entry.owner != kNoOwner && entry.owner != command) || (entry.flags & kListSkipSnap) != 0 ||
            !entry.object) {
            continue;
        }
        ComPtr<IEntityRecord> holder;
        if (SUCCEEDED(entry.object->QueryInterface(IID_IEntityRecord, holder.ReceiveVoid())) && holder) {
            TestCandidate(holder.Get());
        }
    }
}

void CSnapEngine::TestCandidate(IEntityRecord* holder)
{
    if (holder == nullptr) {
        return;
    }
    uint32_t flags = 0;
    holder->GetFlags(&flags);
    if ((flags & kNeverSnapped) != 0) {
        return;
    }
    // The holder hands out its object without a reference.
    IUnknown* object = nullptr;
    if (FAILED(holder->GetObject(&object)) || object == nullptr) {
        return;
    }
    ComPtr<IGeometryEntity> geometry;
    if (FAILED(object->QueryInterface(IID_IGeometryEntity, geometry.ReceiveVoid())) ||
        !geometry) {
        return;
    }
    BOOL hit = FALSE;
    // The entity takes the sides as left, bottom, right, top.
    if (FAILED(geometry->HitTest(&m_aperturePlanes[3], &m_aperturePlanes[1], &m_aperturePlanes[2],
                                 &m_aperturePlanes[0], 1, &hit)) ||
        hit == FALSE) {
        return;
    }
    struct KindOfInterface {
        const GUID* id;
        uint32_t bit;
    };
    static constexpr KindOfInterface kKinds[] = {{&IID_IPoint3, kCandidatePoint},
                                                 {&IID_ILine, kCandidateLine},
                                                 {&IID_IPlane, kCandidatePlane},
                                                 {&IID_IReserved21, kCandidateReserved}};
    uint32_t mask = 0;
    bool known = false;
    for (const KindOfInterface& kind : kKinds) {
        ComPtr<IUnknown> answer;
        if (SUCCEEDED(geometry->QueryInterface(*kind.id, answer.ReceiveVoid())) &&
            answer) {
            known = true;
            mask |= kind.bit & m_kindFilter;
        }
    }
    if (!known && (m_kindFilter & kCandidateOther) != 0) {
        mask = kCandidateOther;
    }
    if (mask == 0) {
        return;
    }
    if (!m_filterIds.empty()) {
        bool answers = false;
        for (const GUID& id : m_filterIds) {
            ComPtr<IUnknown> answer;
            if (SUCCEEDED(geometry->QueryInterface(id, answer.ReceiveVoid())) && answer) {
                answers = true;
                break;
            }
        }
        if (!answers) {
            return;
        }
    }
    m_candidates.push_back(SnapCandidate{0, std::move(geometry), mask, holder});
}
