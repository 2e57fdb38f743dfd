// The running simulation command's state for desktop tests.
#include "addins/milling/core/tests/desktop/simulation_probe.h"

#include "addins/milling/core/simulation_command.h"

std::optional<SimulationProbe> ProbeSimulation(IAddinCommand* command)
{
    void* same = nullptr;
    if (command == nullptr || FAILED(command->QueryInterface(CLSID_SimulationCommand, &same)) || same == nullptr)
        return std::nullopt;
    command->Release();
    // The add-in's commands hand out themselves for their class id.
    const auto& simulation = *static_cast<CSimulationCommand*>(command);
    const CSimulation& run = simulation.Simulation();
    SimulationProbe probe;
    probe.featureChosen = simulation.ChosenFeature() != nullptr;
    probe.running = run.Running();
    probe.speedFactor = run.SpeedFactor();
    probe.lineIndex = run.LineIndex();
    probe.lineCount = static_cast<long>(run.Lines().size());
    if (probe.lineIndex >= 0 && probe.lineIndex < probe.lineCount) {
        const SimulationLine& line = run.Lines()[static_cast<size_t>(probe.lineIndex)];
        probe.row = line.row;
        probe.from = {line.segment.start.x, line.segment.start.y, line.segment.start.z};
        probe.to = {line.segment.end.x, line.segment.end.y, line.segment.end.z};
    }
    return probe;
}
