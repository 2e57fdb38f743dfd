// Toggling picked objects in a command's own list of picks: an id already
// in the list leaves it, any other joins it at the end.
#pragma once

#include "objectmodel/selection_set_object.h"

struct ISelectionSet;

// Toggles every non-zero id of `picks` in `list`, in pick order, through an
// index of the list, so a part picked in one click toggles thousands of
// curves without a search per curve. A null set changes nothing.
void TogglePicks(CSelectionSetObject& list, ISelectionSet* picks);
