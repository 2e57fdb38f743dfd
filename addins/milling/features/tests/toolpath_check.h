// Machining checks of toolpaths from their moves: clearance of every cutting
// move to every outline by exact line and arc distances, coverage of the
// area the tool can reach, and NC programs read back as a controller and as
// the NC reader read them.
//
// Conventions: the plane of the moves is x right, y up; arcs run
// counter-clockwise when ccw is set; lengths in drawing units. Distances are
// computed in closed form (no sampling of the curves measured against).
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "addins/milling/features/millingfeature.h"
#include "addins/milling/geometry/curvelist.h"

struct IPostprocessor;

namespace toolpathcheck {

// A line or an arc in the plane. An arc whose start equals its end is a
// full circle.
struct PlaneCurve {
    bool arc = false;
    CPoint2D start;
    CPoint2D end;
    CPoint2D centre;
    double radius = 0.0;
    bool ccw = true;

    static PlaneCurve Line(CPoint2D a, CPoint2D b);
    // The arc about c from a to b (a full circle when a equals b).
    static PlaneCurve Arc(CPoint2D c, CPoint2D a, CPoint2D b, bool ccw);
    static PlaneCurve FromSegment(const CSegment2D& segment);
    // The plane projection of a move; a vertical move is a line of length 0.
    static PlaneCurve FromMove(const CMove& move);

    double SweepRad() const;    // (0, 2 pi]; 2 pi for a full circle
    CPoint2D At(double t) const; // t in [0, 1] along the curve
    double Length() const;
};

double Distance(CPoint2D p, const PlaneCurve& c);
double Distance(const PlaneCurve& a, const PlaneCurve& b);

// Curves in a bucket grid, for nearest-distance queries that look only at
// the curves nearby.
class CurveIndex {
public:
    explicit CurveIndex(std::vector<PlaneCurve> curves);

    // The distance from p (or from a curve) to the nearest curve, exact as
    // long as it is below `reach`; `reach` or more otherwise.
    double DistanceFrom(CPoint2D p, double reach) const;
    double DistanceFrom(const PlaneCurve& c, double reach) const;
    void Bounds(double& minX, double& minY, double& maxX, double& maxY) const;
    const std::vector<PlaneCurve>& Curves() const { return m_curves; }

private:
    double DistanceWithin(const PlaneCurve& c, double reach) const;

    std::vector<PlaneCurve> m_curves;
    double m_minX = 0, m_minY = 0, m_maxX = 0, m_maxY = 0;
    double m_cell = 1.0;
    int m_columns = 1, m_rows = 1;
    std::vector<std::vector<size_t>> m_cells;
};

// The outlines of the parts: their segments indexed, and how many of them
// contain a point.
class OutlineSet {
public:
    explicit OutlineSet(const std::vector<std::unique_ptr<CCurveList>>& contours);

    double DistanceFrom(CPoint2D p, double reach) const { return m_index.DistanceFrom(p, reach); }
    double DistanceFrom(const PlaneCurve& c, double reach) const { return m_index.DistanceFrom(c, reach); }
    // The number of outlines that contain p (a point on an outline may
    // count either way).
    int Depth(CPoint2D p) const;
    void Bounds(double& minX, double& minY, double& maxX, double& maxY) const { m_index.Bounds(minX, minY, maxX, maxY); }
    const std::vector<PlaneCurve>& Segments() const { return m_index.Curves(); }

private:
    std::vector<std::vector<PlaneCurve>> m_contours;
    CurveIndex m_index;
};

// Where the tool centre may stand: nearer than the offset distance to no
// outline, in the area being machined, told by how many outlines contain a
// point: an odd number inside milling (inside a boundary and outside its
// islands, an island's own pocket again inside), an even number outside
// milling (outside every part, or inside a part's hole).
enum class Machining { Inside, Outside };

struct Clearance {
    double nearest = 0.0; // the least distance of a cutting move to an outline
    size_t move = 0;      // the move that comes nearest
    int movesOutside = 0; // cutting moves that lie outside the machined area
};

// The cutting moves are those that reach below the top of the material.
bool IsCutting(const CMove& move, double zTop);
Clearance MeasureClearance(const std::vector<CMove>& moves, const OutlineSet& outlines, double distance,
                           Machining machining, double zTop);

// The boundary of the free area of the tool centre, as exact pieces of the
// curves at the offset distance from the outlines: offset lines and arcs of
// every segment and circles about every vertex, kept where they keep the
// distance from every outline.
class FreeArea {
public:
    FreeArea(const OutlineSet& outlines, double distance, Machining machining);
    bool Contains(CPoint2D p) const;
    double DistanceFrom(CPoint2D p) const; // 0 inside
    const std::vector<PlaneCurve>& Boundary() const { return m_boundary; }
    double BoundaryLength() const;

private:
    bool Keeps(CPoint2D p, CPoint2D away) const;
    // away: the unit direction from a line piece's own segment; for an arc
    // piece +1 or -1, away from or towards its centre.
    void AddKeptPieces(const PlaneCurve& piece, CPoint2D lineAway, double arcAway);

    const OutlineSet& m_outlines;
    double m_distance;
    Machining m_machining;
    std::vector<PlaneCurve> m_boundary;
    std::unique_ptr<CurveIndex> m_index; // of the boundary
};

// Cutting moves at the deepest level, as plane curves.
std::vector<PlaneCurve> DeepestCut(const std::vector<CMove>& moves);

// Points of the boundary of the free area that the cut never traces
// (contour milling); fraction of the boundary's samples, and the worst.
struct Trace {
    double missedFraction = 0.0;
    double worst = 0.0; // the largest distance of a boundary sample from the cut
    CPoint2D worstAt;
};
Trace MeasureTrace(const FreeArea& free, const std::vector<PlaneCurve>& cut, double step, double tolerance);

// Grid points the tool can reach (within the tool radius of the free area)
// that no cutting move at the deepest level comes within the tool radius of
// (pocket milling).
struct Coverage {
    int reachable = 0;
    int uncut = 0;
    double worst = 0.0; // how far beyond the tool radius the worst uncut point lies
    CPoint2D worstAt;
    double UncutFraction() const { return reachable > 0 ? static_cast<double>(uncut) / reachable : 0.0; }
};
Coverage MeasureCoverage(const FreeArea& free, const OutlineSet& outlines, const std::vector<PlaneCurve>& cut,
                         double toolRadius, double gridStep, double tolerance);

// Owns a postprocessor of the plug-in: the new object holds the one
// reference released here.
struct PostprocessorHolder {
    explicit PostprocessorHolder(int dialect);
    ~PostprocessorHolder();
    PostprocessorHolder(const PostprocessorHolder&) = delete;
    PostprocessorHolder& operator=(const PostprocessorHolder&) = delete;
    IPostprocessor* p = nullptr;
};

// One block of a program as a controller reads it: the motion in force, the
// printed start and end, and the centre taken as the printed start plus I
// and J.
struct ReadBlock {
    int motion = 0;
    CMovePoint start;
    CMovePoint end;
    CMovePoint centre;
};
// Blocks that carry a coordinate or a centre word; parses with the
// postprocessor and leaves its buffers empty.
std::vector<ReadBlock> ReadProgram(IPostprocessor* postprocessor, const std::vector<std::string>& lines);
bool IsArcMotion(int motion);
// The largest difference of the two radii (printed start and end to the
// printed centre) over the program's arcs.
double WorstArcRadiusDifference(const std::vector<ReadBlock>& blocks);

// One move drawn by the NC reader, in program coordinates.
struct DrawnMove {
    bool arc = false;
    CMovePoint start;
    CMovePoint end;
    CMovePoint centre;
    bool ccw = true;
};
// Reads the program's lines with the postprocessor into an NC reader over
// a document that records what it is given, interprets it and returns what
// was drawn. The entity component must be registered.
std::vector<DrawnMove> DrawProgram(IPostprocessor* postprocessor, const std::vector<std::string>& lines);

// Compares what the reader drew with the moves, offset by the origin: each
// move that changes the position is drawn as one or more pieces that follow
// it (arcs about its centre in its sense, or straight where an arc is too
// small to print) and end at its end, full circles as full circles. Empty
// when everything matches; else a description of the first difference.
std::string CompareDrawn(const std::vector<CMove>& moves, const std::vector<DrawnMove>& drawn, CMovePoint origin,
                         double tolerance);

} // namespace toolpathcheck
