// nodeflasher: scans the boards of the dryer's control network, uploads new firmware to them
// and hands over to the dryer's start program. Bad options end with one line on stderr and
// exit code 2. SIGTERM and SIGINT end it through its normal shutdown.
#include <cstdio>

#include "flasher/app/flasher_dialogs.h"
#include "flasher/app/flasher_program.h"
#include "platform/runtime/command_line.h"
#include "platform/runtime/termination.h"

int main(int argc, char** argv)
{
    const FlasherCommandLine line = ParseFlasherCommandLine(platform::Arguments(argc, argv));
    if (line.help) {
        std::fputs(NodeFlasherUsage(), stdout);
        return 0;
    }
    if (!line.options) {
        std::fprintf(stderr, "%s\n", line.error.c_str());
        return 2;
    }
    const platform::TerminationSignals signals;  // each becomes a quit of the message loop
    InstallNodeFlasherScreens();
    return NodeFlasherMain(*line.options);
}
