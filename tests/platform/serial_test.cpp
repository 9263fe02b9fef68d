// The serial port against a pseudo-terminal pair with the panel's line settings (38400 baud,
// 8 data bits, even parity with checking, 1 stop bit): bytes both ways unchanged, reads that
// return at once, purging, and soft failures.
#include "platform/devices/serial.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <unistd.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

#include "platform/runtime/threads.h"
#include "platform/storage/files.h"

namespace {

class SerialPort : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(pty_.valid());
        platform::SetComPortDevice(L"COM1:", pty_.slavePath());
        port_ = Open();
        ASSERT_NE(port_, INVALID_HANDLE_VALUE);
    }
    void TearDown() override
    {
        if (port_ != INVALID_HANDLE_VALUE) CloseHandle(port_);
        platform::SetComPortDevice(L"COM1:", "");
    }

    static HANDLE Open()
    {
        return CreateFile(L"COM1:", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0,
                          nullptr);
    }

    // The panel's set-up of the line.
    void SetUpLine()
    {
        DCB dcb;
        ASSERT_TRUE(GetCommState(port_, &dcb));
        dcb.BaudRate = CBR_38400;
        dcb.ByteSize = 8;
        dcb.Parity = EVENPARITY;
        dcb.fParity = 1;
        dcb.StopBits = ONESTOPBIT;
        dcb.fNull = 0;
        ASSERT_TRUE(SetCommState(port_, &dcb));
        COMMTIMEOUTS t;
        t.ReadIntervalTimeout = MAXDWORD;
        ASSERT_TRUE(SetCommTimeouts(port_, &t));
        ASSERT_TRUE(SetCommMask(port_, EV_RXCHAR));
    }

    // Waits (briefly, in real time: the pseudo-terminal moves bytes in real time) until the
    // panel side has `count` bytes queued.
    bool WaitForQueued(DWORD count)
    {
        for (int i = 0; i < 2000; ++i) {
            COMSTAT status;
            DWORD errors = 0;
            if (ClearCommError(port_, &errors, &status) && status.cbInQue >= count) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return false;
    }

    std::vector<BYTE> ReadMaster(std::size_t count)
    {
        std::vector<BYTE> got;
        while (got.size() < count) {
            pollfd p{pty_.masterFd(), POLLIN, 0};
            if (::poll(&p, 1, 2000) <= 0) break;
            std::array<BYTE, 512> buf{};
            const ssize_t n = ::read(pty_.masterFd(), buf.data(), buf.size());
            if (n <= 0) break;
            got.insert(got.end(), buf.begin(), buf.begin() + n);
        }
        return got;
    }

    platform::PseudoTerminal pty_;
    HANDLE port_ = INVALID_HANDLE_VALUE;
};

// Every byte value, including null, the flow-control bytes and line ends.
std::vector<BYTE> AllBytes()
{
    std::vector<BYTE> bytes(256);
    for (int i = 0; i < 256; ++i) bytes[static_cast<std::size_t>(i)] = static_cast<BYTE>(i);
    return bytes;
}

TEST_F(SerialPort, TakesThePanelLineSettings)
{
    SetUpLine();
    DCB dcb;
    ASSERT_TRUE(GetCommState(port_, &dcb));
    EXPECT_EQ(dcb.BaudRate, CBR_38400);
    EXPECT_EQ(dcb.ByteSize, 8);
    EXPECT_EQ(dcb.StopBits, ONESTOPBIT);
    EXPECT_EQ(dcb.fNull, 0u);
    // A pseudo-terminal may refuse parity; a real port keeps even parity.
    EXPECT_TRUE(dcb.Parity == EVENPARITY || dcb.Parity == NOPARITY);
}

TEST_F(SerialPort, RefusesSettingsItCannotApply)
{
    DCB dcb;
    ASSERT_TRUE(GetCommState(port_, &dcb));
    dcb.BaudRate = 12345;
    EXPECT_FALSE(SetCommState(port_, &dcb));
    dcb.BaudRate = CBR_38400;
    dcb.ByteSize = 9;
    EXPECT_FALSE(SetCommState(port_, &dcb));
    EXPECT_FALSE(SetCommState(port_, nullptr));
}

TEST_F(SerialPort, ReadWithNothingBufferedReturnsAtOnce)
{
    SetUpLine();
    std::array<BYTE, 302> buf{};
    DWORD got = 99;
    EXPECT_TRUE(ReadFile(port_, buf.data(), static_cast<DWORD>(buf.size()), &got, nullptr));
    EXPECT_EQ(got, 0u);
}

TEST_F(SerialPort, CarriesEveryByteValueBothWays)
{
    SetUpLine();
    const std::vector<BYTE> bytes = AllBytes();
    DWORD written = 0;
    ASSERT_TRUE(
        WriteFile(port_, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
    EXPECT_EQ(written, bytes.size());
    EXPECT_EQ(ReadMaster(bytes.size()), bytes);

    ASSERT_EQ(::write(pty_.masterFd(), bytes.data(), bytes.size()),
              static_cast<ssize_t>(bytes.size()));
    ASSERT_TRUE(WaitForQueued(static_cast<DWORD>(bytes.size())));
    std::vector<BYTE> back(300);
    DWORD got = 0;
    ASSERT_TRUE(ReadFile(port_, back.data(), static_cast<DWORD>(back.size()), &got, nullptr));
    back.resize(got);
    EXPECT_EQ(back, bytes);
}

TEST_F(SerialPort, PurgeDiscardsReceivedBytes)
{
    SetUpLine();
    const BYTE junk[] = {1, 2, 3};
    ASSERT_EQ(::write(pty_.masterFd(), junk, sizeof junk), 3);
    ASSERT_TRUE(WaitForQueued(3));
    EXPECT_TRUE(PurgeComm(port_, PURGE_RXCLEAR | PURGE_TXCLEAR));
    BYTE buf[8];
    DWORD got = 99;
    EXPECT_TRUE(ReadFile(port_, buf, sizeof buf, &got, nullptr));
    EXPECT_EQ(got, 0u);
}

TEST_F(SerialPort, ReopensAfterClose)
{
    ASSERT_TRUE(CloseHandle(port_));
    port_ = Open();
    ASSERT_NE(port_, INVALID_HANDLE_VALUE);
    SetUpLine();
    const BYTE hello[] = {'h', 'i'};
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(port_, hello, 2, &written, nullptr));
    EXPECT_EQ(ReadMaster(2), std::vector<BYTE>(hello, hello + 2));
}

TEST_F(SerialPort, ClosedOrUnknownPortsFailSoftly)
{
    HANDLE stale = port_;
    ASSERT_TRUE(CloseHandle(port_));
    port_ = INVALID_HANDLE_VALUE;
    DCB dcb;
    COMMTIMEOUTS t;
    BYTE b = 0;
    DWORD n = 0;
    EXPECT_FALSE(GetCommState(stale, &dcb));
    EXPECT_FALSE(SetCommState(stale, &dcb));
    EXPECT_FALSE(SetCommTimeouts(stale, &t));
    EXPECT_FALSE(GetCommTimeouts(stale, &t));
    EXPECT_FALSE(PurgeComm(stale, PURGE_RXCLEAR));
    EXPECT_FALSE(SetCommMask(stale, EV_RXCHAR));
    EXPECT_FALSE(ReadFile(stale, &b, 1, &n, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_FALSE(WriteFile(stale, &b, 1, &n, nullptr));

    platform::SetComPortDevice(L"COM7:", "/nonexistent/tty");
    EXPECT_EQ(CreateFile(L"COM7:", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr),
              INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
}

TEST(SerialDevice, OnlyATerminalDeviceOpensAsAPort)
{
    // A regular file or a pipe behind COM1: would take every request the link writes.
    const auto file = std::filesystem::temp_directory_path() /
                      ("serial_test_regular_" + std::to_string(::getpid()));
    {
        std::ofstream(file) << "log";
    }
    platform::SetComPortDevice(L"COM8:", file.string());
    EXPECT_EQ(
        CreateFile(L"COM8:", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr),
        INVALID_HANDLE_VALUE);
    EXPECT_EQ(std::filesystem::file_size(file), 3u);
    std::filesystem::remove(file);
    platform::SetComPortDevice(L"COM8:", "/tmp");
    EXPECT_EQ(CreateFile(L"COM8:", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr),
              INVALID_HANDLE_VALUE);
    platform::SetComPortDevice(L"COM8:", "");
}

}  // namespace
