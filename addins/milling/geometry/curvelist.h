// CCurveList: the planar contour of the milling geometry, an owning ordered
// chain of line and arc segments in which, as a rule, each segment starts
// where the previous one ends.
//
// Conventions (as everywhere in this folder): x right, y up; a closed chain
// is clockwise or counter-clockwise by its clockwise flag (counter-clockwise
// encloses a positive area); lengths in drawing units; tolerant tests compare
// with g_geometryTolerance. Operations that fail set the status word
// (GetGeometryGlobal) to E_FAIL and return the neutral value named on them.
// Result arrays are growable: operations fill them from index 0 and never
// drop results.
#pragma once

#include <memory>
#include <vector>

#include "addins/milling/geometry/offsetstaging.h"
#include "addins/milling/geometry/segment2d.h"
#include "addins/milling/geometry/segmentindex.h"

struct IPlane;
struct ICurveSetEntity;

// How a chain passes a point, seen along a probe direction: a bit set of
// the arriving group (where the chain comes from, relative to the probe)
// and the leaving group (where it goes). Right is the clockwise side of the
// probe direction.
enum class CrossingCode : int {
    None = 0,
    ArrivesFromRight = 0x1,
    ArrivesFromLeft = 0x2,
    LeavesToRight = 0x4,
    LeavesToLeft = 0x8,
    ArrivesAlong = 0x10,
    LeavesAlong = 0x20,
    Arriving = 0x13,  // the whole arriving group
    Leaving = 0x2C,   // the whole leaving group
    Along = 0x30,     // the chain runs along the probe
    RightToLeft = 0x9, // crosses the probe from right to left
    LeftToRight = 0x6, // crosses the probe from left to right
    TouchesRight = 0x5, // comes from the right and goes back there
    TouchesLeft = 0xA,  // comes from the left and goes back there
};

constexpr CrossingCode operator&(CrossingCode a, CrossingCode b)
{
    return static_cast<CrossingCode>(static_cast<int>(a) & static_cast<int>(b));
}
constexpr CrossingCode operator|(CrossingCode a, CrossingCode b)
{
    return static_cast<CrossingCode>(static_cast<int>(a) | static_cast<int>(b));
}
constexpr CrossingCode& operator|=(CrossingCode& a, CrossingCode b) { return a = a | b; }
// Whether code holds any of the bits.
constexpr bool HasAny(CrossingCode code, CrossingCode bits) { return (code & bits) != CrossingCode::None; }

// Where a point lies relative to a closed chain (ClassifyPoint).
enum class PointPlace : int { Outside = 0, Inside = 1, On = 2 };

// What Combine makes of two closed chains.
enum class CombineMode : int { Union = 1, Difference = 2 };

// Which way Simplify may move a chain: anywhere within the tolerance, or
// only to the right or only to the left of its direction of travel.
enum class SimplifySide : int { Either, Right, Left };

// A closed chain whose area is below this many times the geometry tolerance
// times its length encloses nothing wider than the tolerance: its
// orientation is taken from its leftmost point instead of its area.
inline constexpr double kDegenerateAreaFactor = 0.5;

// A position on a chain: a point and the index of the segment that holds it.
struct CChainPosition {
    CPoint2D point;
    int index = 0;
};

class CCurveList : public CPoint2DBase {
public:
    // 1: the closed chain runs clockwise, 0: counter-clockwise. Written only
    // by IsClockwise; 0 before the first call.
    int clockwise = 0;
    std::vector<std::unique_ptr<CSegment2D>> segments;

    CCurveList() = default;
    ~CCurveList() override = default;
    CCurveList(const CCurveList&) = delete;
    CCurveList& operator=(const CCurveList&) = delete;
    CCurveList(CCurveList&&) = default;
    CCurveList& operator=(CCurveList&&) = default;

    void Clear() { segments.clear(); }
    int GetCount() const { return static_cast<int>(segments.size()); }
    void Append(std::unique_ptr<CSegment2D> segment) { segments.push_back(std::move(segment)); }
    // A new list with unreversed copies of every segment; the clockwise flag is copied.
    std::unique_ptr<CCurveList> Copy() const;

    // Appends the segments of one curve from its approximation at the
    // tolerance; reversed != 0 takes the curve the other way round. A curve
    // whose approximation fails contributes nothing.
    void AddEntityCurve(IPlane* curve, const void* reversed, double tolerance);
    // Appends the curves of a chain of the entity component in chain order,
    // each in the direction the chain runs it. A curve the chain cannot hand
    // out contributes nothing; a null chain adds nothing.
    void AddEntitySegments(ICurveSetEntity* chain, double tolerance);

    // 1 when the end of the last segment meets the start of the first.
    // Empty list: E_FAIL and 0.
    int IsClosed() const;
    // Empty list: E_FAIL and a point without meaning.
    CPoint2D GetStartPoint() const;
    CPoint2D GetEndPoint() const;
    // Call on non-empty lists only.
    void GetBounds(double& minX, double& minY, double& maxX, double& maxY) const;
    double GetLength(double* length = nullptr) const;
    // 1 clockwise, 0 counter-clockwise or failure (empty, open, or crossing
    // itself when asked to check); stores the answer in clockwise.
    int IsClockwise(int checkSelfIntersections);
    // The area enclosed by the chain taken as closed (joining its end to its
    // start), arcs included: positive counter-clockwise. With scale, also
    // the chain's length, the measure of how small an area is negligible.
    double SignedArea(double* scale = nullptr) const;
    // Open list: E_FAIL and Outside. A point within the tolerance of a
    // segment is On the boundary.
    PointPlace ClassifyPoint(CPoint2D point, int refreshOrientation);
    // ClassifyPoint with the orientation known, looking only at the
    // segments among (ascending indices): the caller's selection must hold
    // every segment within the tolerance of the point and every one whose
    // box meets the horizontal line left of it, so that a search over
    // nearby segments answers as the scan over all of them would.
    PointPlace ClassifyPointAmong(CPoint2D point, const std::vector<int>& among) const;
    // Whether point lies within the tolerance of segment k.
    bool IsOnSegment(int k, const CPoint2D& point) const;
    // ClassifyPoint's answer from the crossings (points on segments indices)
    // of the horizontal line through point with the chain, the orientation
    // already known.
    PointPlace ClassifyByRayCrossings(CPoint2D point, const std::vector<CPoint2D>& points,
                                      const std::vector<int>& indices) const;
    // 1 when the other chain (not empty) lies inside this one.
    int ContainsList(const CCurveList& other, int refreshOrientation);
    // Replaces flat arcs (at most a half turn) by their chords and merges
    // runs of nearly collinear lines; never merges the whole chain into one
    // line. With a side, only the changes that move the chain to that side
    // of its direction of travel (or leave it in place) are made, so that
    // the simplified chain comes no nearer to what lies on the other side.
    void Simplify(double tolerance, SimplifySide side = SimplifySide::Either);
    // How the chain passes the point c on segment k, seen along direction b
    // (a bit set of the arriving and leaving groups).
    CrossingCode ClassifyCrossing(int k, const CPoint2D& c, const CPoint2D& b) const;

    // Crossing points between all pairs of segments (joints excluded).
    int SelfIntersections(std::vector<CPoint2D>* points, PairSearch search = PairSearch::Indexed) const;
    int IntersectSegment(const CSegment2D& segment, std::vector<CPoint2D>* points, std::vector<int>* indices,
                         SegmentFlags chainFlags, SegmentFlags segmentFlags) const;
    // IntersectSegment with the segments among (ascending indices; null:
    // every segment) only.
    int IntersectSegmentAmong(const CSegment2D& segment, const std::vector<int>* among, std::vector<CPoint2D>* points,
                              std::vector<int>* indices, SegmentFlags chainFlags, SegmentFlags segmentFlags) const;
    int IntersectWith(const CCurveList& other, std::vector<CPoint2D>* points, std::vector<int>* indicesThis,
                      std::vector<int>* indicesOther, SegmentFlags flagsThis, SegmentFlags flagsOther,
                      PairSearch search = PairSearch::Indexed) const;
    // Nearest point of the chain; empty list: E_FAIL and (0, 0).
    CPoint2D ClosestPoint(const CPoint2D& point, SegmentFlags flags, int* index = nullptr) const;
    // Nearest pair of points; stops at the first pair nearer than
    // stopDistance + tolerance when stopDistance > 0. Empty list: E_FAIL,
    // nothing written.
    void ClosestPoints(const CCurveList& other, CPoint2D& onThis, CPoint2D& onOther, int* indexThis,
                       int* indexOther, double stopDistance) const;
    // The piece of a closed chain from start to end in the chain's direction.
    std::unique_ptr<CCurveList> CutAt(const CChainPosition& start, const CChainPosition& end) const;

    // Offsets the chain by distance to the side (see offset.cpp); appends
    // every result list to results and returns how many it appended. A
    // chain that turns back and forth a lot within the distance is offset
    // in stages unless staging is OneGo (offsetstaging.h).
    int Offset(double distance, int side, std::vector<std::unique_ptr<CCurveList>>& results, int useCornerLimit,
               double cornerAngleDegrees, int simplify, double simplifyTolerance,
               PairSearch search = PairSearch::Indexed, OffsetStaging staging = OffsetStaging::Staged) const;

    // Union or difference of two closed chains with current clockwise
    // flags; appends the outlines to results and returns how many, or -1
    // when the chains do not cross.
    int Combine(const CCurveList& other, CombineMode mode, std::vector<std::unique_ptr<CCurveList>>& results,
                PairSearch search = PairSearch::Indexed) const;

    // Flag word of segment i for intersections and for the nearest point.
    SegmentFlags IntersectionMask(int i, bool closed) const;
    SegmentFlags NearestMask(int i, bool closed) const;

private:
    const CSegment2D& Seg(int i) const { return *segments[static_cast<size_t>(i)]; }
    PointPlace ClassifyAmong(const CPoint2D& point, const std::vector<int>* among) const;
};

// The order of positions along a chain from its start: by segment, then by
// distance along the segment; equal positions keep their order. Returns the
// indices into positions in that order (the pass nodes order their children
// with it).
std::vector<int> OrderAlongChain(const CCurveList& chain, const std::vector<CChainPosition>& positions);
