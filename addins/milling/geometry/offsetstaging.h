// Offsetting in stages: how CCurveList::Offset handles a chain that turns
// back and forth many times within the distance.
//
// Conventions (as everywhere in this folder): x right, y up, counter-
// clockwise positive; lengths in drawing units.
#pragma once

#include <memory>
#include <vector>

#include "addins/milling/geometry/segmentindex.h"

class CCurveList;

// Staged: a chain that turns a lot within the distance is offset in the
// stages OffsetStages gives, each stage offsetting the outlines of the one
// before. OneGo: every chain is offset by the whole distance at once (the
// plain offset the staged one is checked against). Both give the same
// outlines within the simplification.
enum class OffsetStaging { Staged, OneGo };

// The distances a staged offset offsets a chain by in turn; they add up to
// the distance. The outline of a region offset by a and then by b is its
// offset by a + b: growing or shrinking a region by a disc of radius a and
// then by one of radius b grows or shrinks it by a disc of radius a + b.
// Offsetting fine teeth by many times their size in one go crosses each
// piece with the pieces of every tooth within the distance. So a chain that
// turns a lot within the distance is first offset by a fraction of it small
// enough for the chain (at least 1/64 of it), and that outline, which has no
// bend sharper than the first distance on the offset side, by the rest. One
// distance for chains that turn little within it, that are open, or that
// cross themselves. distance > 0.
std::vector<double> OffsetStages(const CCurveList& chain, double distance);

// The offset in the stages above, each stage in one go; the rest as
// CCurveList::Offset (which calls it for OffsetStaging::Staged). Internal to
// the offset.
int StagedOffset(const CCurveList& chain, double distance, int side, std::vector<std::unique_ptr<CCurveList>>& results,
                 int useCornerLimit, double cornerAngleDegrees, int simplify, double simplifyTolerance,
                 PairSearch search);
