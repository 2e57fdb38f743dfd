// What the control bars' files share: the length of a stretched bar, the
// separator id and the control styles a bar gives its control. Private to
// the framework family.
#pragma once

#include "platform/framework/controlbar.h"

namespace nuvex::framework::bars {

constexpr int kStretchLength = 32767;
constexpr UINT kSeparator = 0; // ID_SEPARATOR

// The control styles a bar gives its control: the bar, not the control,
// decides where it goes.
constexpr DWORD kPlacedByBar = CCS_NOPARENTALIGN | CCS_NOMOVEY | CCS_NODIVIDER | CCS_NORESIZE;

} // namespace nuvex::framework::bars
