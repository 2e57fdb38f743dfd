// The geometry kernel's module-wide tolerance and status word.
//
// Conventions of every geometry file of this folder:
// - Axes: x to the right, y up, in the plane of the part; z (where it
//   appears) completes a right-handed frame.
// - Orientation: counter-clockwise is the positive sense of rotation (a
//   counter-clockwise closed chain encloses a positive area).
// - Units: lengths in drawing units (millimetres in practice), angles in
//   radians unless a name says degrees.
// - Tolerance: one absolute length, g_geometryTolerance, read at the moment
//   of each comparison; "zero" means strictly inside (-tol, tol).
#pragma once

#include "platform/base/hresult.h"

// Absolute tolerance of every tolerant comparison of the milling geometry
// (drawing units). Valid range: > 0, far below the smallest feature of a part.
// Erring larger merges nearby points; erring smaller splits touching ones.
// The offset raises it to 100 times its value while it chains results, and
// the toolpath generators do the same around their tests; use
// CGeometryToleranceScope for that.
extern double g_geometryTolerance;

// The initial value of g_geometryTolerance.
inline constexpr double kDefaultGeometryTolerance = 1e-6;

// Factor by which the offset raises the tolerance while it chains its pieces.
inline constexpr double kChainingToleranceFactor = 100.0;

inline constexpr double kPi = 3.141592653589793;
inline constexpr double kTwoPi = 6.283185307179586;

// The status word: 0 after a query that can fail succeeded, E_FAIL when it
// had no answer. Written by the kernel, read by the caller after the call.
void SetGeometryGlobal(HRESULT status);
HRESULT GetGeometryGlobal();

// Sets g_geometryTolerance for the lifetime of the object and puts the
// previous value back on destruction.
class CGeometryToleranceScope {
public:
    explicit CGeometryToleranceScope(double tolerance);
    ~CGeometryToleranceScope();
    CGeometryToleranceScope(const CGeometryToleranceScope&) = delete;
    CGeometryToleranceScope& operator=(const CGeometryToleranceScope&) = delete;

private:
    double m_saved;
};

// True when v lies strictly within the tolerance of zero.
inline bool IsWithinTolerance(double v) { return -g_geometryTolerance < v && v < g_geometryTolerance; }

// A deliberate exact comparison of two doubles (keeps -Wfloat-equal on):
// true for equal values, also for 0.0 and -0.0; false whenever one is NaN.
// Named apart from the object model's comparison so that a file may include
// both headers.
inline bool ExactlyEqual(double a, double b) { return a <= b && a >= b; }
