// CSnapEngine: the recent points, tracking lines and candidates.
#include "host/document/snap_engine.h"

#include "objectmodel/attribute_set.h"
#include "objectmodel/collection_b.h"
#include "objectmodel/entity_record.h"

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
