// copyorbitfiles: installs a software release from a USB flash drive onto the panel and hands
// over to the next program. Bad options end with one line on stderr and exit code 2. SIGTERM
// and SIGINT end it through its normal shutdown.
#include <cstdio>

#include "installer/app/copy_orbit_files.h"
#include "platform/runtime/command_line.h"
#include "platform/runtime/termination.h"

int main(int argc, char** argv)
{
    const CopyOrbitFilesCommandLine line =
        ParseCopyOrbitFilesCommandLine(platform::Arguments(argc, argv));
    if (line.help) {
        std::fputs(CopyOrbitFilesUsage(), stdout);
        return 0;
    }
    if (!line.options) {
        std::fprintf(stderr, "%s\n", line.error.c_str());
        return 2;
    }
    const platform::TerminationSignals signals;  // each becomes a quit of the message loop
    return CopyOrbitFilesMain(*line.options);
}
