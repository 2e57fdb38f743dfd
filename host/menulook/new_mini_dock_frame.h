// CNewMiniDockFrameWnd, the floating frame class that frames of the menu
// look give their docking bars, is one of the menu-aware frames.
#pragma once

#include "host/menulook/new_frames.h"
