// The panel connectors of the simulated Display I/O board: the light outputs it drives (marked
// as activated once the dryer has run them, or shorted on request) and the panel switches it
// reads, which a control command can turn like a technician checking the wiring.
#pragma once

#include <string>
#include <vector>

#include "sim/dryer_model.h"

namespace sim {

// The switches of a dryer at rest in automatic: FAN n AUTO and BURNER n AUTO of each present
// Fan/Heater. Other switches keep their bits.
void SetAutomaticSwitches(StatusImage& image, int heaters);
// After each dryer second: the outputs the dryer drives now (fans, burners, load, unload, the
// start light) are marked activated; a mark stays until "lights clear".
void MarkActivatedLights(StatusImage& image);

// Control commands of the connectors (see PanelIoControlHelp); the words as split on blanks.
bool IsPanelIoCommand(const std::string& command);
std::string PanelIoControl(StatusImage& image, const std::vector<std::string>& words);
std::string PanelIoControlHelp();

}  // namespace sim
