// CSnapEngine: the lists behind the snapping of the cursor: the recent
// points that stay snappable, the tracking lines (guide lines through
// snapped or clicked points, three permanent axis lines first) and the
// candidates found under the aperture. The cursor evaluation fills the hit
// words; this class keeps the lists within their limits.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "ientityrecord.h"
#include "igeometry.h"
#include "objectmodel/line_object.h"
#include "objectmodel/plane_object.h"
#include "objectmodel/vector3.h"
#include "platform/com/unknwn.h"

// Kind bits of snapped points.
constexpr uint32_t kSnapEndPoint = 0x1;
constexpr uint32_t kSnapIntersection = 0x2;
constexpr uint32_t kSnapNearest = 0x4;
constexpr uint32_t kSnapMidPoint = 0x8;
constexpr uint32_t kSnapCentre = 0x10;
constexpr uint32_t kSnapOrigin = 0x10000;

constexpr size_t kMaxTrackingLines = 30;
constexpr size_t kAxisTrackingLines = 3;
constexpr size_t kMaxRecentPoints = 41;
constexpr uint32_t kTrackingLineColour = 0x202020;
constexpr uint32_t kViewTrackingLineColour = 0xFF8000;
constexpr double kDefaultAperture = 24.0;

// Candidate kind masks.
constexpr uint32_t kCandidatePoint = 0x1;
constexpr uint32_t kCandidateLine = 0x2;
constexpr uint32_t kCandidatePlane = 0x4;
constexpr uint32_t kCandidateReserved = 0x8;
constexpr uint32_t kCandidateOther = 0x10000000;
// Holder flags that keep an object out of the candidates.
constexpr uint32_t kNeverSnapped = 0x2 | 0x20 | 0x20000000;
// List flag bit of an entry that snapping skips.
constexpr uint32_t kListSkipSnap = 0x1;

class CNuvexDoc;

struct RecentPoint {
    uint32_t kind = 0;
    uintptr_t owner = 0;
    CVector3 point;
};

struct TrackingLine {
    uint32_t hit = 0;
    uint32_t kind = 0;
    // Holds a CLineObject with a colour and an attribute child; hidden.
    ComPtr<IEntityRecord> holder;
    CLineObject* line = nullptr;
};

struct SnapCandidate {
    uint32_t hit = 0;
    ComPtr<IGeometryEntity> geometry;
    uint32_t mask = 0;
    IEntityRecord* holder = nullptr;
};

class CSnapEngine {
public:
    // The origin as recent point and the three axis lines.
    CSnapEngine();
    virtual ~CSnapEngine() = default;

    // Forgets the candidates and the tracking hits.
    void Reset();
    // Back to the three axis lines.
    void Refresh();
    // Back to the origin alone.
    void ResetRecentPoints();
    // An equal line (point and direction) is not added twice; at the limit
    // the oldest line after the axis lines goes.
    void AddTrackingLine(const CVector3& point, const CVector3& direction, uint32_t kind);
    // The same, drawn in the colour of lines that add-ins add.
    void AddViewTrackingLine(const CVector3& point, const CVector3& direction, uint32_t kind);
    // An equal entry is not added twice; at the limit the oldest entry
    // after the origin goes.
    void AddRecentPoint(const CVector3& point, uint32_t kind, uintptr_t owner);
    void ClearCandidateHits();
    void ClearTrackingHits();
    // The four sides of the aperture (top, bottom, right, left), normals
    // pointing inwards; the cursor evaluation builds them.
    void SetAperturePlanes(const CPlaneObject& top, const CPlaneObject& bottom, const CPlaneObject& right,
                           const CPlaneObject& left);
    // The filter the candidates must pass: interface IDs (any one answered
    // keeps the candidate; empty keeps all), the kind-filter word and the
    // objects to test instead of the document's (empty: the document's).
    void SetActiveFilter(std::vector<GUID> interfaceIds, uint32_t kindFilter, std::vector<IEntityRecord*> objects);
    // Copies the current command level's snapping filter for the modifier
    // kind (1 plain, 2 Ctrl, 4 Shift) into the active filter; with several
    // bits the last one (plain, Ctrl, Shift) wins, with none the active
    // filter stays. Ids that name no record of the document are skipped;
    // a filter whose ids all went still lets no other object in.
    void SelectLevelFilter(const CNuvexDoc& document, uint32_t modifierKind);
    // Tests the active objects, or else the document's objects and the
    // command objects of no command or the running one, skipping entries
    // whose list flags carry kListSkipSnap; hits are appended.
    void CollectCandidates(CNuvexDoc& document);
    // True while the active filter names objects.
    bool HasObjectFilter() const { return m_hasObjectFilter; }
    // Appends the holder's geometry when it lies under the aperture and
    // passes the active filter.
    void TestCandidate(IEntityRecord* holder);
    // The first tracking line whose hit word is 4 (nearest), or null.
    const CLineObject* FindTrackingDirection() const;
    // flag: 1 at the first line that is hit or when recent points exist,
    // 0 for lines that are neither; unchanged without lines.
    void QueryTrackingActive(uint32_t* flag) const;

    std::vector<RecentPoint>& RecentPoints() { return m_recent; }
    std::vector<TrackingLine>& TrackingLines() { return m_tracking; }
    std::vector<SnapCandidate>& Candidates() { return m_candidates; }
    uint32_t ResultKind() const { return m_resultKind; }
    const CVector3& ResultPoint() const { return m_resultPoint; }
    // Set by the cursor evaluation.
    void SetResult(uint32_t kind, const CVector3& point)
    {
        m_resultKind = kind;
        m_resultPoint = point;
    }

private:
    void AddLine(const CVector3& point, const CVector3& direction, uint32_t kind, uint32_t colour);
    void AddAxisLines();

    std::vector<RecentPoint> m_recent;
    std::vector<TrackingLine> m_tracking;
    std::vector<SnapCandidate> m_candidates;
    uint32_t m_resultKind = 0;
    CVector3 m_resultPoint;
    std::array<CPlaneObject, 4> m_aperturePlanes;
    std::vector<GUID> m_filterIds;
    std::vector<IEntityRecord*> m_filterObjects;
    bool m_hasObjectFilter = false;
    uint32_t m_kindFilter = 0xFFFFFFFFu;
    uint32_t m_snapModes = 0xFFFFFFFFu;
    double m_aperture = kDefaultAperture;
};
