// orbitdryer: the operator display of the grain dryer. Parses the command line and runs the
// display; unknown options and unusable values end with one line on stderr and exit code 2.
#include <cstdio>
#include <string>
#include <vector>

#include "dryer/app/orbitdryer.h"

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    const CommandLine line = ParseCommandLine(args);
    if (line.help) {
        std::fputs(OrbitDryerUsage(), stdout);
        return 0;
    }
    if (!line.options) {
        std::fprintf(stderr, "%s\n", line.error.c_str());
        return 2;
    }
    return OrbitDryerMain(*line.options);
}
