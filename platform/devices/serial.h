// The serial port "COM1:" on a host device (a real port or a pseudo-terminal), with the
// device control block and time-outs of the panel's serial driver. Open it with
// CreateFile(L"COM1:", ...) (platform/storage/files.h); read and write with ReadFile and WriteFile.
#pragma once

#include <string>

#include "platform/win_types.h"

inline constexpr BYTE NOPARITY = 0;
inline constexpr BYTE ODDPARITY = 1;
inline constexpr BYTE EVENPARITY = 2;
inline constexpr BYTE ONESTOPBIT = 0;
inline constexpr BYTE TWOSTOPBITS = 2;
inline constexpr DWORD CBR_38400 = 38400;

struct DCB {
    DWORD DCBlength = sizeof(DCB);
    DWORD BaudRate = 0;
    DWORD fBinary = 1;
    DWORD fParity = 0;  // parity checking on input
    DWORD fNull = 0;    // discard null bytes
    BYTE ByteSize = 8;
    BYTE Parity = NOPARITY;
    BYTE StopBits = ONESTOPBIT;
};

struct COMMTIMEOUTS {
    DWORD ReadIntervalTimeout = 0;
    DWORD ReadTotalTimeoutMultiplier = 0;
    DWORD ReadTotalTimeoutConstant = 0;
    DWORD WriteTotalTimeoutMultiplier = 0;
    DWORD WriteTotalTimeoutConstant = 0;
};

inline constexpr DWORD EV_RXCHAR = 0x0001;
inline constexpr DWORD PURGE_TXABORT = 0x0001;
inline constexpr DWORD PURGE_RXABORT = 0x0002;
inline constexpr DWORD PURGE_TXCLEAR = 0x0004;
inline constexpr DWORD PURGE_RXCLEAR = 0x0008;

BOOL GetCommState(HANDLE port, DCB* dcb);
// Applies what the device accepts: a pseudo-terminal refuses parity, so there the port keeps
// raw mode and speed without parity; a real port gets the full setting. Returns FALSE only
// when the device refuses the setting altogether.
BOOL SetCommState(HANDLE port, const DCB* dcb);
BOOL GetCommTimeouts(HANDLE port, COMMTIMEOUTS* timeouts);
// ReadIntervalTimeout = MAXDWORD with zero totals: a read returns at once with what is buffered.
// Other values make a read wait on the panel clock up to the total time-out.
BOOL SetCommTimeouts(HANDLE port, const COMMTIMEOUTS* timeouts);
BOOL SetCommMask(HANDLE port, DWORD mask);
BOOL PurgeComm(HANDLE port, DWORD flags);

// What waits in the port's queues. The panel never sees line errors here, so `errors` is 0.
struct COMSTAT {
    DWORD cbInQue = 0;   // bytes received and not yet read
    DWORD cbOutQue = 0;  // bytes written and not yet sent
};
BOOL ClearCommError(HANDLE port, DWORD* errors, COMSTAT* status);

namespace platform {

// The host device behind a port name ("COM1:" -> "/dev/ttyS0" or a pseudo-terminal path).
void SetComPortDevice(const std::wstring& portName, const std::string& device);

// A pseudo-terminal pair for the simulator and tests: the master is kept open here, the
// slave path is what the panel side opens as "COM1:".
class PseudoTerminal {
public:
    PseudoTerminal();  // opens a pair in raw mode; valid() tells whether it worked
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    bool valid() const { return masterFd_ >= 0; }
    int masterFd() const { return masterFd_; }
    const std::string& slavePath() const { return slavePath_; }

private:
    int masterFd_ = -1;
    int slaveKeepFd_ = -1;  // keeps the slave side alive while the panel reopens it
    std::string slavePath_;
};

}  // namespace platform
