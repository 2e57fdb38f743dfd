// The floating frame class of docking bars.
#include "host/menulook/new_mini_dock_frame.h"

IMPLEMENT_DYNCREATE(CNewMiniDockFrameWnd, CMiniDockFrameWnd)
