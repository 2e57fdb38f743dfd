// What a desktop test reads of the running simulation command: the run's
// state and the stretch of toolpath of its current line. It sits in a file
// of its own because the add-in's headers and the host's both declare a
// language table of their own, so no file can include both.
#pragma once

#include <optional>

struct IAddinCommand;

struct SimulationProbePoint {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
};

struct SimulationProbe {
    bool featureChosen = false;
    bool running = false;
    double speedFactor = 0.0;
    long lineIndex = -1;
    long lineCount = 0;
    // The current line's row of the panel's NC text (-1: none) and its
    // stretch of path; only when the line index lies in the program.
    long row = -1;
    SimulationProbePoint from;
    SimulationProbePoint to;
};

// The state of `command` when it is the simulation command, else nothing.
std::optional<SimulationProbe> ProbeSimulation(IAddinCommand* command);
