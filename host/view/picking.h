// CPickHelper: decides which document objects a click or a dragged box
// selects. Evaluate gathers the objects under a square aperture around the
// cursor (single pick) or inside the box between its corners (box pick),
// keeps only those of the highest priority class, and leaves the result in
// its pick region: the best candidate of a single pick, every candidate of
// a box. The picker also draws the rubber band of a selection or zoom box.
//
// Priority classes come from the record flags (kPickClass*); among equal
// classes a single pick prefers, in order, objects without geometry,
// points, lines, planes and the reserved kind, then the nearest to the pick
// line, later objects winning ties. Objects flagged as occluders hide
// candidates whose nearest point lies behind them along the pick line.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "ientity.h"
#include "ientityrecord.h"
#include "objectmodel/line_object.h"
#include "objectmodel/pick_region_object.h"
#include "objectmodel/plane_object.h"
#include "objectmodel/point2.h"
#include "platform/com/unknwn.h"

class CNuvexDoc;
class CViewTransform;
class CSpatialIndex;
struct ViewToolState;

// Input-kind words of the pick modes.
constexpr uint32_t kPickInput = 0x4;
constexpr uint32_t kSinglePick = 0x10004;
constexpr uint32_t kBoxPick = 0x20004;
constexpr uint32_t kCrossingBoxPick = 0x60004;

// Pick kinds.
constexpr uint32_t kPickKindPoint = 0x1;
constexpr uint32_t kPickKindLine = 0x2;
constexpr uint32_t kPickKindPlane = 0x4;
constexpr uint32_t kPickKindReserved = 0x8;
constexpr uint32_t kPickKindOther = 0x10000000;

// Record flags that picking reads.
constexpr uint32_t kPickNever = 0x2 | 0x20000000;
constexpr uint32_t kPickNotSingle = 0x4;
constexpr uint32_t kPickNotBox = 0x8;
constexpr uint32_t kPickFlagged = 0x400;
constexpr uint32_t kPickClass4 = 0x20000;
constexpr uint32_t kPickClass3 = 0x10000;
constexpr uint32_t kPickClass1 = 0x40000;
constexpr uint32_t kPickClass0 = 0x80000;
constexpr uint32_t kPickTouchLine = 0x100;
constexpr uint32_t kPickPlaneOccludesOnlyWithBit = 0x800;
constexpr uint32_t kPickOccluder = 0x1000;
constexpr uint32_t kPickNeverOccluded = 0x80;
// List flag of entries that picking skips.
constexpr uint32_t kListSkipPick = 0x1;

constexpr double kPickAperture = 20.0;

class CPickHelper {
public:
    explicit CPickHelper(CNuvexDoc& document);
    ~CPickHelper();
    CPickHelper(const CPickHelper&) = delete;
    CPickHelper& operator=(const CPickHelper&) = delete;

    // Corners in view coordinates: the cursor twice for a single pick, the
    // box's first corner and the cursor for a box.
    void Evaluate(const CViewTransform& view, const CPoint2& first, const CPoint2& second, uint32_t inputKinds,
                  uint32_t modifierKind, BOOL flaggedOnly);
    // Releases the candidates.
    void Reset();
    // Phase 2 only, while the view has a box's first corner.
    void DrawSelectionBox(const ViewToolState& view, int phase, uint32_t modifierKind) const;

    // Used instead of walking every document object when set: it names the
    // objects that may lie in the region (never fewer than would be hit).
    void SetSpatialIndex(CSpatialIndex* index) { m_index = index; }

    CPickRegionObject& Region() { return m_region; }
    BOOL changed = TRUE;
    BOOL refreshRequest = FALSE;

    // Precedence of pick kinds: > 0 when a wins, < 0 when b does.
    static int32_t ComparePickKinds(uint32_t a, uint32_t b);
    // Priority class 0 to 4 of a record's flags.
    static int32_t PriorityClass(uint32_t flags);

    struct Candidate {
        ComPtr<IEntityBase> entity;
        uint32_t kind = 0;
        IEntityRecord* record = nullptr;
        uint32_t flags = 0;
    };
    const std::vector<Candidate>& Candidates() const { return m_candidates; }
    int32_t BestClass() const { return m_bestClass; }
    uint32_t CrossingFlag() const { return m_crossing; }

private:
    void BuildSidePlanes(const CViewTransform& view, const CPoint2& first, const CPoint2& second);
    void SelectFilter(uint32_t modifierKind);
    void CollectCandidates();
    void AddCandidate(IEntityRecord* record);
    bool IsOccluded(IEntityBase* entity);
    bool IsSingle() const { return (m_word & kSinglePick) == kSinglePick; }
    bool IsBox() const { return (m_word & kBoxPick) == kBoxPick; }
    void ChooseSingle();

    CNuvexDoc& m_document;
    std::array<CPlaneObject, 4> m_planes;  // top, bottom, right, left
    CLineObject m_pickLine;
    std::vector<IEntityBase*> m_occluders;
    int32_t m_bestClass = 0;
    std::vector<Candidate> m_candidates;
    CPickRegionObject m_region;
    uint32_t m_crossing = 0;
    uint32_t m_word = 0;
    std::vector<GUID> m_filterIds;
    uint32_t m_kindFilter = 0xFFFFFFFFu;
    BOOL m_flaggedOnly = FALSE;
    double m_aperture = kPickAperture;
    std::vector<uint32_t> m_filterObjects;
    CSpatialIndex* m_index = nullptr;
};

// The document records (object list, then command objects) whose ids, cut
// to 32 bits as the filter tables keep them, are in ids; in the ids' order.
std::vector<IEntityRecord*> ResolveFilterObjects(CNuvexDoc& document, const std::vector<uint32_t>& ids);
