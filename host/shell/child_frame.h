// CChildFrame: the MDI child frame of a drawing, holding its view and the
// docking bars of the registered pane groups.
#pragma once

#include "host/shell/frame_classes.h"

class CChildFrame : public CChildFrameBase {
    DECLARE_DYNCREATE(CChildFrame)
};
