// dryersim's command line: the dryer to play, the line to serve and the control socket, read
// the way every panel program reads its options (platform/runtime/command_line.h).
#pragma once

#include <string>
#include <vector>

#include "platform/runtime/command_line.h"
#include "sim/display_io_sim.h"

namespace sim {

// The settings file of a dryersim started without --settings-file, in its working folder.
inline constexpr const char* kDefaultSettingsFile = "dryersim-settings.json";

struct SimCommandLine {
    platform::CommandLineResult result;
    SimOptions options;
    std::string controlSocket;  // empty: commands on stdin only
};

SimCommandLine ParseSimCommandLine(const std::vector<std::string>& args);
std::string SimUsage();

}  // namespace sim
