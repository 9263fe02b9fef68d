// The panel's serial port on a host terminal device: "COM1:" opens the device chosen on the
// command line, the device control block maps onto termios, and reads follow the panel
// driver's time-outs on the panel clock. Pseudo-terminals, used by the simulator and the
// tests, refuse the parity setting on this kernel; the port then runs without it.
#include "platform/devices/serial.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cwctype>
#include <map>
#include <mutex>
#include <string_view>

#include "platform/runtime/clock.h"
#include "platform/runtime/detail_handles.h"
#include "platform/runtime/threads.h"
#include "platform/storage/files.h"

namespace {

constexpr int kPollSliceMs = 5;           // real-time slice while a read waits for bytes
constexpr int kWriteStallLimitMs = 2000;  // a write gives up when the line takes nothing this long
constexpr int kBusyRetryMs = 20;          // a port held by the previous program is tried again
constexpr int kBusyWaitLimitMs = 2000;    // ... for this long

struct BaudEntry {
    DWORD baud;
    speed_t speed;
};
constexpr BaudEntry kBauds[] = {
    {1200, B1200},   {2400, B2400},   {4800, B4800},     {9600, B9600},     {19200, B19200},
    {38400, B38400}, {57600, B57600}, {115200, B115200}, {230400, B230400},
};

struct PortTable {
    std::mutex mutex;
    std::map<std::wstring, std::string> devices;  // "COM1" -> host device
};

PortTable& Ports()
{
    static PortTable table;
    return table;
}

// "com1:" -> "COM1"; empty when the name is not a port name.
std::wstring PortKey(std::wstring_view name)
{
    if (name.size() < 4) return {};
    std::wstring key;
    for (const wchar_t c : name) key += static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
    if (key.back() == L':') key.pop_back();
    if (key.size() < 4 || key.compare(0, 3, L"COM") != 0) return {};
    for (std::size_t i = 3; i < key.size(); ++i) {
        if (key[i] < L'0' || key[i] > L'9') return {};
    }
    return key;
}

DWORD ErrorFromErrno(int e)
{
    switch (e) {
        case ENOENT: return ERROR_FILE_NOT_FOUND;
        case EINVAL: return ERROR_INVALID_PARAMETER;
        case ENOMEM: return ERROR_NOT_ENOUGH_MEMORY;
        default: return ERROR_ACCESS_DENIED;
    }
}

template <class T>
T Fail(DWORD error, T result)
{
    SetLastError(error);
    return result;
}

void MakeRaw(int fd)
{
    termios tio{};
    if (::tcgetattr(fd, &tio) != 0) return;  // not a terminal: nothing to set
    ::cfmakeraw(&tio);
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    ::tcsetattr(fd, TCSANOW, &tio);  // best effort; the port sets its own mode on SetCommState
}

class SerialPort : public platform::detail::HandleObject {
public:
    explicit SerialPort(int fd) : fd_(fd) {}
    ~SerialPort() override
    {
        ::ioctl(fd_, TIOCNXCL);  // let the next opener in; fails harmlessly on non-terminals
        ::close(fd_);
    }
    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;

    int fd() const { return fd_; }

    COMMTIMEOUTS timeouts() const
    {
        std::lock_guard lock(mutex_);
        return timeouts_;
    }
    void setTimeouts(const COMMTIMEOUTS& t)
    {
        std::lock_guard lock(mutex_);
        timeouts_ = t;
    }

    bool Read(std::span<std::byte> buffer, DWORD& got) override
    {
        got = 0;
        const COMMTIMEOUTS t = timeouts();
        const bool returnAtOnce = t.ReadIntervalTimeout == MAXDWORD &&
                                  t.ReadTotalTimeoutMultiplier == 0 &&
                                  t.ReadTotalTimeoutConstant == 0;
        if (!TakeBuffered(buffer, got)) return false;
        if (returnAtOnce || got == buffer.size() || platform::IsVirtualClock()) return true;
        // With the interval time-out at its maximum a read returns as soon as bytes are there.
        if (t.ReadIntervalTimeout == MAXDWORD && got > 0) return true;

        const std::uint64_t total =
            static_cast<std::uint64_t>(t.ReadTotalTimeoutMultiplier) * buffer.size() +
            t.ReadTotalTimeoutConstant;
        const bool noTotal = t.ReadTotalTimeoutMultiplier == 0 && t.ReadTotalTimeoutConstant == 0;
        const std::int64_t deadline =
            platform::NowMs() + static_cast<std::int64_t>(std::min<std::uint64_t>(total, INT_MAX));
        std::int64_t lastByteAt = platform::NowMs();
        while (got < buffer.size()) {
            const std::int64_t now = platform::NowMs();
            if (!noTotal && now >= deadline) break;
            if (got > 0 && t.ReadIntervalTimeout != 0 && t.ReadIntervalTimeout != MAXDWORD &&
                now - lastByteAt >= t.ReadIntervalTimeout) {
                break;
            }
            pollfd p{fd_, POLLIN, 0};
            const int wait =
                noTotal ? kPollSliceMs
                        : static_cast<int>(std::min<std::int64_t>(kPollSliceMs, deadline - now));
            if (::poll(&p, 1, wait) < 0 && errno != EINTR)
                return Fail(ErrorFromErrno(errno), false);
            const DWORD before = got;
            if (!TakeBuffered(buffer, got)) return false;
            if (got != before) {
                lastByteAt = platform::NowMs();
                if (t.ReadIntervalTimeout == MAXDWORD) break;
            }
        }
        return true;
    }

    bool Write(std::span<const std::byte> data, DWORD& written) override
    {
        written = 0;
        int stalledMs = 0;
        while (written < data.size()) {
            const ssize_t n = ::write(fd_, data.data() + written, data.size() - written);
            if (n > 0) {
                written += static_cast<DWORD>(n);
                stalledMs = 0;
                continue;
            }
            if (n < 0 && errno == EINTR) continue;
            if (n < 0 && errno != EAGAIN) return Fail(ErrorFromErrno(errno), false);
            // The line is full: wait for room, but not for ever.
            if (stalledMs >= kWriteStallLimitMs) return Fail(ERROR_ACCESS_DENIED, false);
            pollfd p{fd_, POLLOUT, 0};
            ::poll(&p, 1, kPollSliceMs * 2);  // a failed poll just retries the write
            stalledMs += kPollSliceMs * 2;
        }
        return true;
    }

    bool Flush() override
    {
        if (::tcdrain(fd_) == 0) return true;
        return Fail(ErrorFromErrno(errno), false);
    }

private:
    // Reads what is buffered now, without waiting.
    bool TakeBuffered(std::span<std::byte> buffer, DWORD& got)
    {
        while (got < buffer.size()) {
            const ssize_t n = ::read(fd_, buffer.data() + got, buffer.size() - got);
            if (n > 0) {
                got += static_cast<DWORD>(n);
                continue;
            }
            if (n < 0 && errno == EINTR) continue;
            if (n == 0 || errno == EAGAIN) return true;
            if (errno == EIO) return true;  // the far side of a pseudo-terminal is closed
            return Fail(ErrorFromErrno(errno), false);
        }
        return true;
    }

    int fd_;
    mutable std::mutex mutex_;
    COMMTIMEOUTS timeouts_{};
};

}  // namespace

namespace platform::detail {

bool IsSerialPortName(std::wstring_view name)
{
    return !name.empty() && name.back() == L':' && !PortKey(name).empty();
}

HANDLE OpenSerialPort(std::wstring_view portName)
{
    const std::wstring key = PortKey(portName);
    std::string device;
    {
        PortTable& table = Ports();
        std::lock_guard lock(table.mutex);
        const auto it = table.devices.find(key);
        if (it != table.devices.end()) device = it->second;
    }
    if (device.empty()) {
        // Without a set device COMn is the host's n-th serial port.
        const long n = std::wcstol(key.c_str() + 3, nullptr, 10);
        if (n < 1) return Fail(ERROR_FILE_NOT_FOUND, INVALID_HANDLE_VALUE);
        device = "/dev/ttyS" + std::to_string(n - 1);
    }
    // At a hand-over the program that started this one may still hold the port for a moment:
    // a busy port is tried again for a short while (real time: this waits on the device).
    int fd = -1;
    for (int waited = 0;; waited += kBusyRetryMs) {
        fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        if (fd >= 0 || errno != EBUSY || waited >= kBusyWaitLimitMs) break;
        ::poll(nullptr, 0, kBusyRetryMs);
    }
    if (fd < 0) return Fail(ErrorFromErrno(errno), INVALID_HANDLE_VALUE);
    // Only a terminal device is a port: a regular file or a pipe given as the device would
    // take every request the link writes, without limit.
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISCHR(st.st_mode)) {
        ::close(fd);
        return Fail(ERROR_FILE_NOT_FOUND, INVALID_HANDLE_VALUE);
    }
    if (::ioctl(fd, TIOCEXCL) != 0) {
        // Exclusive use is not offered by every device; the port works without it.
    }
    return AddHandle(std::make_shared<SerialPort>(fd));
}

}  // namespace platform::detail

BOOL GetCommState(HANDLE port, DCB* dcb)
{
    const auto p = platform::detail::FindHandleAs<SerialPort>(port);
    if (!p) return FALSE;
    if (dcb == nullptr) return Fail(ERROR_INVALID_PARAMETER, FALSE);
    termios tio{};
    if (::tcgetattr(p->fd(), &tio) != 0) return Fail(ErrorFromErrno(errno), FALSE);
    DCB out;
    const speed_t speed = ::cfgetospeed(&tio);
    for (const auto& b : kBauds) {
        if (b.speed == speed) out.BaudRate = b.baud;
    }
    switch (tio.c_cflag & CSIZE) {
        case CS5: out.ByteSize = 5; break;
        case CS6: out.ByteSize = 6; break;
        case CS7: out.ByteSize = 7; break;
        default: out.ByteSize = 8; break;
    }
    out.Parity = (tio.c_cflag & PARENB) == 0
                     ? NOPARITY
                     : ((tio.c_cflag & PARODD) != 0 ? ODDPARITY : EVENPARITY);
    out.fParity = (tio.c_iflag & INPCK) != 0 ? 1 : 0;
    out.StopBits = (tio.c_cflag & CSTOPB) != 0 ? TWOSTOPBITS : ONESTOPBIT;
    out.fNull = 0;
    out.fBinary = 1;
    *dcb = out;
    return TRUE;
}

BOOL SetCommState(HANDLE port, const DCB* dcb)
{
    const auto p = platform::detail::FindHandleAs<SerialPort>(port);
    if (!p) return FALSE;
    if (dcb == nullptr) return Fail(ERROR_INVALID_PARAMETER, FALSE);
    const auto baud = std::find_if(std::begin(kBauds), std::end(kBauds),
                                   [&](const BaudEntry& b) { return b.baud == dcb->BaudRate; });
    if (baud == std::end(kBauds)) return Fail(ERROR_INVALID_PARAMETER, FALSE);
    tcflag_t size = CS8;
    switch (dcb->ByteSize) {
        case 5: size = CS5; break;
        case 6: size = CS6; break;
        case 7: size = CS7; break;
        case 8: size = CS8; break;
        default: return Fail(ERROR_INVALID_PARAMETER, FALSE);
    }
    if (dcb->Parity > EVENPARITY || (dcb->StopBits != ONESTOPBIT && dcb->StopBits != TWOSTOPBITS)) {
        return Fail(ERROR_INVALID_PARAMETER, FALSE);
    }

    termios tio{};
    if (::tcgetattr(p->fd(), &tio) != 0) return Fail(ErrorFromErrno(errno), FALSE);
    ::cfmakeraw(&tio);  // no null stripping, no translation, no echo
    tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE | CSTOPB | PARENB | PARODD | CRTSCTS);
    tio.c_cflag |= size | CLOCAL | CREAD;
    if (dcb->StopBits == TWOSTOPBITS) tio.c_cflag |= CSTOPB;
    tio.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY | INPCK | IGNPAR | PARMRK);
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    ::cfsetispeed(&tio, baud->speed);
    ::cfsetospeed(&tio, baud->speed);

    termios withParity = tio;
    if (dcb->Parity != NOPARITY) {
        withParity.c_cflag |= PARENB;
        if (dcb->Parity == ODDPARITY) withParity.c_cflag |= PARODD;
        if (dcb->fParity != 0) withParity.c_iflag |= INPCK;
    }
    if (::tcsetattr(p->fd(), TCSANOW, &withParity) == 0) return TRUE;
    // A pseudo-terminal refuses parity: keep speed and raw mode without it.
    if (errno == EINVAL && dcb->Parity != NOPARITY && ::tcsetattr(p->fd(), TCSANOW, &tio) == 0) {
        return TRUE;
    }
    return Fail(ErrorFromErrno(errno), FALSE);
}

BOOL GetCommTimeouts(HANDLE port, COMMTIMEOUTS* timeouts)
{
    const auto p = platform::detail::FindHandleAs<SerialPort>(port);
    if (!p) return FALSE;
    if (timeouts == nullptr) return Fail(ERROR_INVALID_PARAMETER, FALSE);
    *timeouts = p->timeouts();
    return TRUE;
}

BOOL SetCommTimeouts(HANDLE port, const COMMTIMEOUTS* timeouts)
{
    const auto p = platform::detail::FindHandleAs<SerialPort>(port);
    if (!p) return FALSE;
    if (timeouts == nullptr) return Fail(ERROR_INVALID_PARAMETER, FALSE);
    p->setTimeouts(*timeouts);
    return TRUE;
}

BOOL SetCommMask(HANDLE port, DWORD)
{
    return platform::detail::FindHandleAs<SerialPort>(port) ? TRUE : FALSE;
}

BOOL PurgeComm(HANDLE port, DWORD flags)
{
    const auto p = platform::detail::FindHandleAs<SerialPort>(port);
    if (!p) return FALSE;
    const bool input = (flags & (PURGE_RXABORT | PURGE_RXCLEAR)) != 0;
    const bool output = (flags & (PURGE_TXABORT | PURGE_TXCLEAR)) != 0;
    if (!input && !output) return TRUE;
    const int queue = input && output ? TCIOFLUSH : (input ? TCIFLUSH : TCOFLUSH);
    if (::tcflush(p->fd(), queue) != 0) return Fail(ErrorFromErrno(errno), FALSE);
    return TRUE;
}

BOOL ClearCommError(HANDLE port, DWORD* errors, COMSTAT* status)
{
    const auto p = platform::detail::FindHandleAs<SerialPort>(port);
    if (!p) return FALSE;
    if (errors != nullptr) *errors = 0;
    if (status != nullptr) {
        int in = 0;
        int out = 0;
        if (::ioctl(p->fd(), FIONREAD, &in) != 0) in = 0;  // unknown counts read as empty
        if (::ioctl(p->fd(), TIOCOUTQ, &out) != 0) out = 0;
        status->cbInQue = static_cast<DWORD>(std::max(in, 0));
        status->cbOutQue = static_cast<DWORD>(std::max(out, 0));
    }
    return TRUE;
}

namespace platform {

void SetComPortDevice(const std::wstring& portName, const std::string& device)
{
    const std::wstring key = PortKey(portName);
    if (key.empty()) return;
    PortTable& table = Ports();
    std::lock_guard lock(table.mutex);
    if (device.empty()) {
        table.devices.erase(key);
    } else {
        table.devices[key] = device;
    }
}

PseudoTerminal::PseudoTerminal()
{
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master < 0) return;
    char name[128] = {};
    if (::grantpt(master) != 0 || ::unlockpt(master) != 0 ||
        ::ptsname_r(master, name, sizeof name) != 0) {
        ::close(master);
        return;
    }
    const int keep = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (keep < 0) {
        ::close(master);
        return;
    }
    MakeRaw(keep);
    MakeRaw(master);
    masterFd_ = master;
    slaveKeepFd_ = keep;
    slavePath_ = name;
}

PseudoTerminal::~PseudoTerminal()
{
    if (slaveKeepFd_ >= 0) ::close(slaveKeepFd_);
    if (masterFd_ >= 0) ::close(masterFd_);
}

}  // namespace platform
