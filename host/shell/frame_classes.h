// The framework classes the program's frames, bars and document template
// derive from, named once here: the owner-drawn menu look's frame, bar and
// template classes take their places when they exist. The frames' bases are
// macros as well, because the run-time class records name their base class
// as a token.
#pragma once

#include "host/menulook/new_frames.h"
#include "host/menulook/new_tool_bar.h"
#include "platform/framework/controlbar.h"
#include "platform/framework/doctemplate.h"
#include "platform/framework/mdi.h"

#define NUVEX_MAIN_FRAME_BASE CNewMDIFrameWnd
#define NUVEX_CHILD_FRAME_BASE CNewMDIChildWnd

using CMainFrameBase = NUVEX_MAIN_FRAME_BASE;
using CChildFrameBase = NUVEX_CHILD_FRAME_BASE;
using CMainToolBar = CNewToolBar;
using CDrawingTemplateBase = CNewMultiDocTemplate;
