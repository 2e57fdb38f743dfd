// CNewMiniDockFrameWnd: the floating frame class that frames of the menu
// look give their docking bars. A frame names it as its floating frame
// class when it enables docking; it floats bars as the framework's
// floating frame does.
#pragma once

#include "platform/framework/docking.h"

class CNewMiniDockFrameWnd : public CMiniDockFrameWnd {
    DECLARE_DYNCREATE(CNewMiniDockFrameWnd)
};
