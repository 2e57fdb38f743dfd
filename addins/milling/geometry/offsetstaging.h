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

// Staged: a chain that turns a lot within the distance is offset by the
// filtering offset in the stages OffsetStages gives, each stage narrowing
// the candidates of the next to what made up its outline. OneGo: every chain
// is offset by the whole distance at once (the plain offset the staged one
// is checked against). Both give the same outlines within the
// simplification.
enum class OffsetStaging { Staged, OneGo };

// The first step of a staged offset and what is left; they add up to the
// distance. Offsetting fine teeth by many times their size in one go crosses
// each piece with the pieces of every tooth within the distance. So a chain
// that turns a lot within the distance is first offset by a fraction of it
// small enough for the chain (at least 1/1024 of it); only the segments and
// vertices that make up the outline at one stage can make it up at the
// next, and only the share of each that did, so the candidates of a stage
// stay near the outline. The stages between the first and the distance are
// chosen as the offset goes: each reaches as far as its candidates allow
// once cut at their neighbours on the outline before. One step for chains
// that turn little within the distance, that are open, or that cross
// themselves. distance > 0.
std::vector<double> OffsetStages(const CCurveList& chain, double distance);

// The offset in the stages above; the rest as CCurveList::Offset (which
// calls it for OffsetStaging::Staged). Internal to the offset.
int StagedOffset(const CCurveList& chain, double distance, int side, std::vector<std::unique_ptr<CCurveList>>& results,
                 int useCornerLimit, double cornerAngleDegrees, int simplify, double simplifyTolerance,
                 PairSearch search);
