// Areas bounded by closed loops, for the passes that clear what earlier
// passes left: cutting loops away from areas, growing loops by the tool's
// reach, and finding the innermost loop around another.
//
// An area is its outer loop; what lies wholly inside it and must stay out
// of it (an island with its clearance) is kept beside it as a hole.
#pragma once

#include <vector>

#include "addins/milling/features/toolpathsteps.h"

namespace toolpath {

// The parts of the areas outside every cut loop: a cut that crosses an
// area's outline takes its piece out of it, one that covers the area
// removes it; one that lies wholly inside an area leaves the outline as it
// is (HolesInside tells which of them an area holds). Closed parts only,
// with their orientation.
ChainList CutAway(ChainList areas, const std::vector<const CCurveList*>& cuts, PairSearch search);

// The indices of the loops that lie wholly inside an area.
std::vector<int> HolesInside(CCurveList& area, const std::vector<const CCurveList*>& loops);

// Each loop grown outwards by a distance: the area a pass along it and
// everything it encloses take (the outer loops only).
ChainList Grown(const std::vector<const CCurveList*>& loops, double distance, double tolerance);

// The innermost of the candidates that contains the loop (the one of least
// area), or -1 when none does.
int InnermostAround(const std::vector<const CCurveList*>& candidates, const CCurveList& loop);

std::vector<const CCurveList*> Pointers(const ChainList& chains);

} // namespace toolpath
