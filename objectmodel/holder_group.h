// Finding the group that a holder's object belongs to: the first child
// record of the holder whose class identifiers name IIdGroup.
#pragma once

#include "imodelobject.h"
#include "platform/com/unknwn.h"

// The group of the holder `target` (an IEntityRecord), with a reference of
// its own, or null when the target is no holder or carries no group.
ComPtr<IIdGroup> FindHolderGroup(IUnknown* target);
