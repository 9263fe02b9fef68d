// Port set-up in the order the link has always used: open, device control block, time-outs,
// event mask.
#include "common/link/link_port.h"

#include "platform/devices/serial.h"
#include "platform/storage/files.h"

HANDLE OpenLinkPort(const wchar_t* portName)
{
    HANDLE port =
        CreateFile(portName, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (port == INVALID_HANDLE_VALUE || port == nullptr) return INVALID_HANDLE_VALUE;

    // Everything the driver reported stays, except what the link needs.
    DCB dcb;
    GetCommState(port, &dcb);  // on failure the defaults of DCB are completed below
    dcb.BaudRate = kLinkBaudRate;
    dcb.ByteSize = 8;
    dcb.Parity = EVENPARITY;
    dcb.fParity = 1;
    dcb.StopBits = ONESTOPBIT;
    dcb.fNull = 0;
    SetCommState(port, &dcb);  // ignored on purpose: the link simply sees no valid answers

    // A read returns at once with what is buffered, never waiting.
    COMMTIMEOUTS timeouts;
    GetCommTimeouts(port, &timeouts);
    timeouts.ReadIntervalTimeout = MAXDWORD;
    timeouts.ReadTotalTimeoutMultiplier = 0;
    timeouts.ReadTotalTimeoutConstant = 0;
    timeouts.WriteTotalTimeoutMultiplier = 0;
    timeouts.WriteTotalTimeoutConstant = 0;
    SetCommTimeouts(port, &timeouts);

    SetCommMask(port, EV_RXCHAR);
    return port;
}
