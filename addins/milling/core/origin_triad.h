// The three arrows of an origin, X, Y and Z (Z down when inverted), drawn
// in a constant size on the screen: shafts 50 pixels long, each with four
// barbs from 40 pixels out and 4 pixels off the axis to its tip. The
// operation's origin marker and the Add Operation command's preview share it.
#pragma once

#include <cstdint>

#include "addins/milling/features/millingfeature.h"

struct IGraphicsContext;

void DrawOriginTriad(IGraphicsContext* context, const CMovePoint& origin, bool invertedZ, uint32_t colour);
