// The program a simulation runs: a feature's NC text as its operation's
// postprocessor writes it (with the heading "Phase 1"), and the lines the
// tool steps through, each with its block's tokens, its stretch of path and
// its row in that text.
#pragma once

#include <string>
#include <vector>

#include "addins/milling/core/simulation.h"

class CMillingFeature;
class CMillingOperation;
struct CNcMachineSettings;

struct SimulationProgram {
    std::vector<std::string> text;
    std::vector<SimulationLine> lines;
    // Why the text is missing or incomplete; empty when it is whole.
    std::string message;
};

// Writes the feature's program through the operation's postprocessor with
// the machine's switches, relative to the operation's origin, and matches
// its blocks with the feature's moves. Without a postprocessor the text is
// empty and the lines carry no tokens (the tool still runs, at the start
// speeds); the message says why.
SimulationProgram BuildSimulationProgram(CMillingFeature& feature, const CMillingOperation* operation,
                                         const CNcMachineSettings& machine);
