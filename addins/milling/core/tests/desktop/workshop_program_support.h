// The milling add-in's "Workshop" panes in the running program: the sample
// part opened with a pocket of its inner curves made by the pocket command
// (driven through the drawing's command engine, as the view and the
// command line drive it), the Features tree and the NC code text as the
// person sees them, and a loop pumped in steps of the window system's time
// so that the NC code pane's slices and the view's redraws run headless.
#pragma once

#include <string>
#include <vector>

#include "platform/base/types.h"

class CNuvexApp;
class CNuvexDoc;
class CTreeCtrl;
class CRichEditLineCtrl;
class CDockingPaneBar;
struct IAddin;

// The sample part: the plate outline (the first four objects) around a
// pocket with rounded corners, a round and a square island.
inline constexpr long kSampleObjects = 18;
inline constexpr long kSamplePlateObjects = 4;

// The drawing's "Workshop" bar and its pages; nulls where they are missing.
struct WorkshopPanes {
    CDockingPaneBar* bar = nullptr;
    CTreeCtrl* features = nullptr;
    CRichEditLineCtrl* ncCode = nullptr;
    long group = -1;
    long featuresPage = -1;
    long ncCodePage = -1;
    long propertiesPage = -1;
};
WorkshopPanes FindWorkshop(CNuvexApp& app, CNuvexDoc& document);

// The milling add-in as the program holds it, or null.
IAddin* StrimoAddin(CNuvexApp& app);
// The host command table's index of one of the add-in's commands, or -1.
int StrimoCommandIndex(CNuvexApp& app, long commandNumber);

// Runs the pocket command on the sample's inner curves: its operation
// child accepted with Enter, the curves picked, the pocket accepted with
// Enter. Empty on success, else what went wrong.
std::string AddSamplePocket(CNuvexApp& app, CNuvexDoc& document);

// The tree's items depth first, each indented by two blanks a level, with
// " [bold]" after an item in bold.
std::vector<std::string> TreeLines(const CTreeCtrl& tree);
// The text control's rows.
std::vector<std::string> TextRows(CRichEditLineCtrl& control);

// Dispatches what the queue holds and the program's idle work, then moves
// the window system's time on by `stepMs`, `steps` times.
void PumpProgram(CNuvexApp& app, int steps, unsigned stepMs = 10);
