// Tolerances of the object model's geometry, one place for all of them.
#pragma once

#include <cmath>

// kRealTolerance: the absolute tolerance of every comparison of real numbers
// in the geometry model (unit: model units, usually millimetres; for angle
// vectors the unit of the cosine and sine). Two numbers are equal when their
// difference is below it, and a number is less than another only when it is
// so by more than it; there is no relative tolerance on comparisons. Valid for
// coordinates up to about 1e9, where doubles still resolve 1e-6. Its value is
// fixed: stored documents and add-ins rely on exactly this behaviour, so it is
// not a knob; erring larger merges distinct points, erring smaller splits
// points that callers meant as one.
inline constexpr double kRealTolerance = 1e-6;

// kMatrixSingularRelativeTolerance: a 4x4 matrix counts as singular when its
// determinant, divided by the product of the Euclidean lengths of its rows,
// is below this value in magnitude. The ratio is dimensionless, lies in
// [0, 1] (Hadamard's inequality), does not change when a row is scaled, and
// is 1 for orthogonal rows; so uniform and per-axis scalings of any size
// invert, while rank-deficient matrices, whose computed determinant is
// rounding noise of about 1e-15 of the row product, do not. Rows that are
// this close to linear dependence leave an inverse with no trustworthy
// digits at the model tolerance. Erring larger rejects more usable matrices
// (they get the identity as inverse); erring smaller lets through inverses
// made of rounding noise.
inline constexpr double kMatrixSingularRelativeTolerance = 1e-12;

// Deliberate exact comparison of doubles (keeps -Wfloat-equal meaningful):
// true for equal values, also for 0.0 and -0.0; false whenever one is NaN.
inline bool Exactly(double a, double b)
{
    return a <= b && a >= b;
}

// Tolerant comparison with an explicit tolerance: |a - b| < tolerance.
inline bool NearlyEqual(double a, double b, double tolerance)
{
    return std::fabs(a - b) < tolerance;
}
