// Checking a feature command's parameters before its toolpath is computed.
#pragma once

#include "addins/milling/features/millingparams.h"

// Whether a tool was chosen from the tool store.
enum class ToolChoice { None, Chosen };

// Valid when a tool is chosen and both groups hold: the Z levels (Z Top at
// or above Z Bottom, Z Top + Z Engage at or below Z Safe Plane, Z Engage
// not negative) and the tool's motion (spindle, feed and plunge speeds and
// the radial step above 0, and a vertical step above 0 unless Z Top equals
// Z Bottom). The comparisons are exact: the values are what the person
// typed.
bool MillingParametersValid(const CMillingParams& params, ToolChoice tool);
