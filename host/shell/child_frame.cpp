// CChildFrame: the frame class the drawing template makes by class.
#include "host/shell/child_frame.h"

IMPLEMENT_DYNCREATE(CChildFrame, NUVEX_CHILD_FRAME_BASE)
