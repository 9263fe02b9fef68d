// The serial port set-up shared by the display program and the firmware loader: the link to
// the Display I/O board runs at 38400 baud, 8 data bits, even parity with checking, one stop
// bit, and reads return at once with whatever bytes are already buffered.
#pragma once

#include "platform/win_types.h"

inline constexpr DWORD kLinkBaudRate = 38400;

// Opens the port ("COM1:") for reading and writing, no sharing, and configures it as above
// with the event mask set to character received. Returns INVALID_HANDLE_VALUE when the port
// cannot be opened; failures of the later set-up calls are ignored (the port stays usable as
// the driver left it).
HANDLE OpenLinkPort(const wchar_t* portName);
