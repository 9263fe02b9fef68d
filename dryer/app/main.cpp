// orbitdryer: the operator display of the grain dryer. Reads the command line and runs the
// display; bad options end with one line on stderr and exit code 2. SIGTERM and SIGINT end the
// display through its normal shutdown.
#include <cstdio>

#include "dryer/app/orbitdryer.h"
#include "platform/runtime/command_line.h"
#include "platform/runtime/termination.h"

int main(int argc, char** argv)
{
    const CommandLine line = ParseCommandLine(platform::Arguments(argc, argv));
    if (line.help) {
        std::fputs(OrbitDryerUsage(), stdout);
        return 0;
    }
    if (!line.options) {
        std::fprintf(stderr, "%s\n", line.error.c_str());
        return 2;
    }
    const platform::TerminationSignals signals;  // each becomes a quit of the message loop
    return OrbitDryerMain(*line.options);
}
