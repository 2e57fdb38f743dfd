// Line and arc segments: the two kinds of piece of every contour, offset and
// pass of the milling geometry kernel.
//
// Conventions (as everywhere in this folder): x right, y up; an arc runs
// counter-clockwise when its ccw flag is set; the right side of a direction
// of travel is its clockwise normal; lengths in drawing units, angles in
// radians; tolerant tests compare with g_geometryTolerance. Queries that can
// fail set the status word (GetGeometryGlobal) to E_FAIL and return a
// neutral value.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "addins/milling/geometry/point2d.h"

// Type codes answered by GetType.
inline constexpr int kSegmentTypeLine = 0x2000001;
inline constexpr int kSegmentTypeArc = 0x2000002;

// Position flags: a point is accepted when it lies ...
using SegmentFlags = uint32_t;
inline constexpr SegmentFlags kAtStart = 0x1;          // at the start point
inline constexpr SegmentFlags kAtEnd = 0x2;            // at the end point
inline constexpr SegmentFlags kInside = 0x10;          // strictly inside
inline constexpr SegmentFlags kBeyondStart = 0x100;    // on the extension before the start
inline constexpr SegmentFlags kBeyondEnd = 0x200;      // on the extension after the end
inline constexpr SegmentFlags kClosedSegment = 0x13;   // start, end and inside
inline constexpr SegmentFlags kWithoutEnd = 0x11;      // start and inside
inline constexpr SegmentFlags kWithoutStart = 0x12;    // end and inside
inline constexpr SegmentFlags kAnywhere = 0xFFFFFFFFu; // the whole carrier line or circle

// The intersection points of two segments: at most two.
using SegmentPoints = std::array<CPoint2D, 2>;

// Abstract planar geometric object.
class CGeomObject2D : public CPoint2DBase {
public:
    virtual int GetType() const = 0;
    virtual int IsCurveKind() const = 0;
    virtual int IsAreaKind() const = 0;
};

// Abstract planar curve.
class CCurve2D : public CGeomObject2D {
public:
    int IsCurveKind() const override { return 1; }
    int IsAreaKind() const override { return 0; }
    virtual int IsCompoundKind() const = 0;
    virtual int IsSegmentKind() const = 0;
};

// Abstract segment: a line or an arc.
class CSegment2D : public CCurve2D {
public:
    int IsCompoundKind() const override { return 0; }
    int IsSegmentKind() const override { return 1; }

    // A nearest pair of points between this segment and other. Crossing
    // segments answer a crossing point for both.
    virtual void ClosestPoints(const CSegment2D& other, CPoint2D& onThis, CPoint2D& onOther) const = 0;
    // Exchanges start and end (an arc also inverts its sense). Returns 1.
    virtual int Reverse() = 0;
    // Signed or forward distance between two points along the segment (see
    // the implementations for the modes).
    virtual double DistanceBetween(const CPoint2D& a, const CPoint2D& b, int mode, int aOnSegment,
                                   int bOnSegment) const = 0;
    // A new copy, reversed when asked; the caller owns it.
    virtual std::unique_ptr<CSegment2D> Clone(int reversed) const = 0;
    // Moves the segment parallel to itself by distance to the right side of
    // travel (rightSide != 0) or the left. 0 when it cannot (zero-length
    // line, arc radius that would not stay positive), leaving it unchanged.
    virtual int Offset(double distance, int rightSide) = 0;
    // Tests only the position of p along the segment; p is assumed on the carrier.
    virtual int IsPointOn(const CPoint2D& p, SegmentFlags flags) const = 0;
    // Crossing points accepted by both flag words, written to out; returns 0, 1 or 2.
    virtual int Intersect(const CSegment2D& other, SegmentPoints& out, SegmentFlags flagsThis,
                          SegmentFlags flagsOther) const = 0;
    virtual int IsClosed(int flag) const = 0;
    // Distance from the start to p along the segment; p is projected first
    // unless pOnSegment is set.
    virtual double DistanceAlong(const CPoint2D& p, int pOnSegment) const = 0;
    virtual double GetLength() const = 0;
    virtual void SetStartPoint(const CPoint2D& p) = 0;
    virtual CPoint2D GetStartPoint() const = 0;
    virtual void SetEndPoint(const CPoint2D& p) = 0;
    virtual CPoint2D GetEndPoint() const = 0;
    // Direction of travel at p (a line ignores p). Sets the status word.
    virtual CPoint2D GetDirectionAt(const CPoint2D& p, int normalise) const = 0;
    // Sets the status word; a line answers 0.0.
    virtual double GetCurvature() const = 0;
    // Sets the status word; a line always fails.
    virtual CPoint2D GetCentre() const = 0;
    // Nearest point: flags kAnywhere projects on the carrier, any other value
    // means the closed segment.
    virtual CPoint2D ClosestPoint(const CPoint2D& p, SegmentFlags flags) const = 0;
};

class CLineSegment2D : public CSegment2D {
public:
    CPoint2D start;
    CPoint2D end;

    CLineSegment2D() = default;
    CLineSegment2D(const CPoint2D& s, const CPoint2D& e) : start(s), end(e) {}

    int GetType() const override { return kSegmentTypeLine; }
    void ClosestPoints(const CSegment2D& other, CPoint2D& onThis, CPoint2D& onOther) const override;
    int Reverse() override;
    // Mode 2: da - db; any other mode: db - da (signed distances along the line).
    double DistanceBetween(const CPoint2D& a, const CPoint2D& b, int mode, int aOnSegment,
                           int bOnSegment) const override;
    std::unique_ptr<CSegment2D> Clone(int reversed) const override;
    int Offset(double distance, int rightSide) override;
    int IsPointOn(const CPoint2D& p, SegmentFlags flags) const override;
    int Intersect(const CSegment2D& other, SegmentPoints& out, SegmentFlags flagsThis,
                  SegmentFlags flagsOther) const override;
    int IsClosed(int) const override { return 0; }
    double DistanceAlong(const CPoint2D& p, int pOnSegment) const override;
    double GetLength() const override { return (end - start).Length(); }
    void SetStartPoint(const CPoint2D& p) override { start = p; }
    CPoint2D GetStartPoint() const override { return start; }
    void SetEndPoint(const CPoint2D& p) override { end = p; }
    CPoint2D GetEndPoint() const override { return end; }
    CPoint2D GetDirectionAt(const CPoint2D& p, int normalise) const override;
    double GetCurvature() const override;
    CPoint2D GetCentre() const override;
    CPoint2D ClosestPoint(const CPoint2D& p, SegmentFlags flags) const override;
};

class CArcSegment2D : public CSegment2D {
public:
    CVector2D startDir;
    CVector2D endDir;
    double radius = 0.0;
    CPoint2D centre;
    int ccw = 1;

    CArcSegment2D() = default;
    CArcSegment2D(const CPoint2D& c, const CPoint2D& startPoint, const CPoint2D& endPoint, int counterClockwise);
    CArcSegment2D(const CPoint2D& c, double r, const CPoint2D& startPoint, const CPoint2D& endPoint,
                  int counterClockwise);
    void Set(const CPoint2D& c, const CPoint2D& startPoint, const CPoint2D& endPoint, int counterClockwise);
    void Set(const CPoint2D& c, double r, const CPoint2D& startPoint, const CPoint2D& endPoint,
             int counterClockwise);
    // A full circle beginning at angle 0; the sense is left as it was.
    void SetCircle(const CPoint2D& c, double r);
    void SetRadius(double r) { radius = r; }
    double GetRadius() const { return radius; }
    void SetCentre(const CPoint2D& c) { centre = c; }
    // Extreme points for bounding boxes.
    CPoint2D GetMinXPoint() const;
    CPoint2D GetMaxXPoint() const;
    CPoint2D GetMinYPoint() const;
    CPoint2D GetMaxYPoint() const;
    // Start and end directions agree (tolerant).
    bool IsFullCircle() const { return startDir.IsEqual(endDir) != 0; }
    // The swept angle in [0, 2*pi] (2*pi for a full circle).
    double SweepAngle() const;

    int GetType() const override { return kSegmentTypeArc; }
    void ClosestPoints(const CSegment2D& other, CPoint2D& onThis, CPoint2D& onOther) const override;
    int Reverse() override;
    // Mode 4: the shorter signed way when a point is off the arc; other
    // modes: the forward distance from a to b (mode 2: from b to a).
    double DistanceBetween(const CPoint2D& a, const CPoint2D& b, int mode, int aOnSegment,
                           int bOnSegment) const override;
    std::unique_ptr<CSegment2D> Clone(int reversed) const override;
    int Offset(double distance, int rightSide) override;
    int IsPointOn(const CPoint2D& p, SegmentFlags flags) const override;
    int Intersect(const CSegment2D& other, SegmentPoints& out, SegmentFlags flagsThis,
                  SegmentFlags flagsOther) const override;
    int IsClosed(int flag) const override;
    double DistanceAlong(const CPoint2D& p, int pOnSegment) const override;
    double GetLength() const override;
    void SetStartPoint(const CPoint2D& p) override;
    CPoint2D GetStartPoint() const override { return centre + startDir.ToPoint() * radius; }
    void SetEndPoint(const CPoint2D& p) override;
    CPoint2D GetEndPoint() const override { return centre + endDir.ToPoint() * radius; }
    CPoint2D GetDirectionAt(const CPoint2D& p, int normalise) const override;
    double GetCurvature() const override;
    CPoint2D GetCentre() const override;
    CPoint2D ClosestPoint(const CPoint2D& p, SegmentFlags flags) const override;

private:
    CPoint2D ExtremePoint(const CPoint2D& axis) const;
};
