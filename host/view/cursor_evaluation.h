// CCursorEvaluator: finds the model point the cursor snaps to while a
// command waits for point input. From the lines under a square aperture
// around the cursor it offers end points, mid points, centres and mutual
// intersections, then the recent points, crossings with tracking lines and
// finally the nearest point of a line; the point nearest to the cursor line
// wins, equal distances adding their kinds. The result (kind word and
// point) is left in the document's snap engine, which also learns which
// tracking lines to show and gets new ones through the snapped point.
//
// Switches: the level's option word (0x1 snaps, 0x2 tracking) and the
// document's system variables (kOsnapVariable and following), each on
// when its byte is non-zero.
#pragma once

#include <cstdint>
#include <vector>

#include "host/document/nuvex_doc.h"
#include "host/document/snap_engine.h"
#include "objectmodel/point2.h"

class CNuvexDoc;
class CViewTransform;
class CSpatialIndex;

constexpr int32_t kOsnapVariable = 18;
constexpr int32_t kTrackingVariable = 19;
constexpr int32_t kOsnapEndPointVariable = 20;
constexpr int32_t kOsnapMidPointVariable = 21;
constexpr int32_t kOsnapCenterPointVariable = 22;
constexpr int32_t kOsnapIntersectionVariable = 23;
constexpr int32_t kOsnapNearestVariable = 24;

// Option-word bits of a level.
constexpr uint32_t kOptionSnaps = 0x1;
constexpr uint32_t kOptionTracking = 0x2;
constexpr uint32_t kOptionSketchPlane = 0x10;
// Input-kind bit of point input.
constexpr uint32_t kPointInput = 0x2;

// The table of a modifier kind (1 plain, 2 Ctrl, 4 Shift).
ModifierTable TableOfModifier(uint32_t modifierKind);
// The current level's option and input-kind words for a modifier kind.
uint32_t LevelOptions(const CNuvexDoc& document, uint32_t modifierKind);
uint32_t LevelInputKinds(const CNuvexDoc& document, uint32_t modifierKind);
// A system variable's byte is non-zero.
bool IsSwitchOn(const CNuvexDoc& document, int32_t index);
// The snap kinds whose variables are on: 1 end, 4 nearest, 8 mid, 0x10
// centre, 2 intersection.
uint32_t SnapKindsSwitchedOn(const CNuvexDoc& document);

class CCursorEvaluator {
public:
    explicit CCursorEvaluator(CNuvexDoc& document);

    // cursor: view coordinates; the view's matrices and cursor line must
    // be up to date.
    void Evaluate(const CViewTransform& view, const CPoint2& cursor, uint32_t modifierKind);
    // Candidates come from the index instead of a walk over every object.
    void SetSpatialIndex(CSpatialIndex* index) { m_index = index; }
    CSnapEngine& Engine();

private:
    struct Offer;
    void SelectLevelFilter(uint32_t modifierKind);
    void CollectCandidates();

    CNuvexDoc& m_document;
    CSpatialIndex* m_index = nullptr;
    bool m_filterHasObjects = false;
    std::array<CPlaneObject, 4> m_aperture;  // top, bottom, right, left
};
