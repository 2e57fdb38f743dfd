// The docking pane bars a view makes on its frame, one per pane group the
// application registered, and the first update of their pages' handler
// objects.
#pragma once

#include <vector>

#include "host/shell/host_application.h"

class CFrameWnd;
class CNuvexDoc;

// Where a bar of a group with flag word `flags` docks when it is made
// (AFX_IDW_DOCKBAR_*): the first of the left, right, top and bottom bits
// set, left when none is.
UINT InitialDockSide(uint32_t flags);
// The sides (CBRS_ALIGN_*) a bar of a group with flag word `flags` may dock at.
DWORD AllowedDockSides(uint32_t flags);

// For each group in order: a bar for `document` appended to `frame`'s bars
// with the group's pages (and a tab control when the group has tabs),
// created with the group's name, allowed its sides and docked on its
// initial side; the frame docks on every side with the menu look's
// floating frames. False when a bar window cannot be made (that bar is
// gone; those made before it stay with the frame).
bool CreatePaneBars(CFrameWnd& frame, CNuvexDoc& document, const std::vector<PaneGroup>& groups);

// Create on each page handler object of `frame`'s pane bars: the
// document's IHostDocument, the add-in command id of the page's command
// and the page's tree or text control object.
void CreatePaneHandlers(CFrameWnd& frame, CNuvexDoc& document);
