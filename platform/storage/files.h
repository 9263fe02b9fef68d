// Files and folders with panel paths. "\Hard Disk\..." lives under <root>/Hard Disk, the USB
// drive ("\Hard Disk2\...", "USB Storage\...") under the USB folder, "\" is <root>; "COM1:"
// opens the serial port (platform/devices/serial.h). Names match case-insensitively, as on the
// panel.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "platform/runtime/clock.h"
#include "platform/runtime/utf8.h"  // file names on the host are UTF-8
#include "platform/win_types.h"

inline constexpr DWORD GENERIC_READ = 0x80000000u;
inline constexpr DWORD GENERIC_WRITE = 0x40000000u;
inline constexpr DWORD FILE_SHARE_READ = 0x1;
inline constexpr DWORD FILE_SHARE_WRITE = 0x2;
inline constexpr DWORD CREATE_NEW = 1;
inline constexpr DWORD CREATE_ALWAYS = 2;
inline constexpr DWORD OPEN_EXISTING = 3;
inline constexpr DWORD OPEN_ALWAYS = 4;
inline constexpr DWORD TRUNCATE_EXISTING = 5;

inline constexpr DWORD FILE_ATTRIBUTE_READONLY = 0x01;
inline constexpr DWORD FILE_ATTRIBUTE_HIDDEN = 0x02;
inline constexpr DWORD FILE_ATTRIBUTE_DIRECTORY = 0x10;
inline constexpr DWORD FILE_ATTRIBUTE_ARCHIVE = 0x20;
inline constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x80;
// A symbolic link: found entries and GetFileAttributes add it to what the link points at.
inline constexpr DWORD FILE_ATTRIBUTE_REPARSE_POINT = 0x400;
inline constexpr DWORD INVALID_FILE_ATTRIBUTES = 0xFFFFFFFFu;

inline constexpr DWORD FILE_BEGIN = 0;
inline constexpr DWORD FILE_CURRENT = 1;
inline constexpr DWORD FILE_END = 2;
inline constexpr DWORD INVALID_SET_FILE_POINTER = 0xFFFFFFFFu;
inline constexpr DWORD INVALID_FILE_SIZE = 0xFFFFFFFFu;

// Error codes left by failing calls (GetLastError, platform/runtime/threads.h).
inline constexpr DWORD ERROR_SUCCESS = 0;
inline constexpr DWORD ERROR_FILE_NOT_FOUND = 2;
inline constexpr DWORD ERROR_PATH_NOT_FOUND = 3;
inline constexpr DWORD ERROR_ACCESS_DENIED = 5;
inline constexpr DWORD ERROR_INVALID_HANDLE = 6;
inline constexpr DWORD ERROR_NOT_ENOUGH_MEMORY = 8;
inline constexpr DWORD ERROR_NO_MORE_FILES = 18;
inline constexpr DWORD ERROR_FILE_EXISTS = 80;
inline constexpr DWORD ERROR_INVALID_PARAMETER = 87;
inline constexpr DWORD ERROR_DISK_FULL = 112;
inline constexpr DWORD ERROR_INSUFFICIENT_BUFFER = 122;
inline constexpr DWORD ERROR_DIR_NOT_EMPTY = 145;
inline constexpr DWORD ERROR_ALREADY_EXISTS = 183;
inline constexpr DWORD ERROR_MORE_DATA = 234;

HANDLE CreateFile(const wchar_t* path, DWORD access, DWORD share, void* security, DWORD disposition,
                  DWORD attributes, HANDLE templateFile);
BOOL ReadFile(HANDLE file, void* buffer, DWORD toRead, DWORD* read, void* overlapped);
BOOL WriteFile(HANDLE file, const void* buffer, DWORD toWrite, DWORD* written, void* overlapped);
DWORD SetFilePointer(HANDLE file, LONG distance, LONG* distanceHigh, DWORD method);
DWORD GetFileSize(HANDLE file, DWORD* sizeHigh);
BOOL SetEndOfFile(HANDLE file);
BOOL FlushFileBuffers(HANDLE file);
BOOL GetFileTime(HANDLE file, FILETIME* created, FILETIME* accessed, FILETIME* written);

struct WIN32_FIND_DATA {
    DWORD dwFileAttributes = 0;
    FILETIME ftCreationTime;
    FILETIME ftLastAccessTime;
    FILETIME ftLastWriteTime;
    DWORD nFileSizeHigh = 0;
    DWORD nFileSizeLow = 0;
    wchar_t cFileName[260] = {};
};

// Patterns take "?" (one character) and "*" (any run) in the last component only.
HANDLE FindFirstFile(const wchar_t* pattern, WIN32_FIND_DATA* data);
BOOL FindNextFile(HANDLE find, WIN32_FIND_DATA* data);
BOOL FindClose(HANDLE find);

BOOL CopyFile(const wchar_t* from, const wchar_t* to, BOOL failIfExists);
BOOL DeleteFile(const wchar_t* path);
BOOL MoveFile(const wchar_t* from, const wchar_t* to);
BOOL CreateDirectory(const wchar_t* path, void* security);
BOOL RemoveDirectory(const wchar_t* path);
DWORD GetFileAttributes(const wchar_t* path);
BOOL SetFileAttributes(const wchar_t* path, DWORD attributes);

struct ULARGE_INTEGER {
    std::uint64_t QuadPart = 0;
};
BOOL GetDiskFreeSpaceEx(const wchar_t* path, ULARGE_INTEGER* freeToCaller, ULARGE_INTEGER* total,
                        ULARGE_INTEGER* totalFree);

namespace platform {

// Sets where panel paths live. Call once at start-up, before any file call.
void SetPanelRoots(const std::filesystem::path& root, const std::filesystem::path& usb);
const std::filesystem::path& PanelRoot();
const std::filesystem::path& UsbRoot();

// Host path of a panel path ("\Hard Disk\DataLog\x.dat" -> <root>/Hard Disk/DataLog/x.dat).
// Each existing component is matched case-insensitively; missing ones keep their spelling.
std::filesystem::path MapPanelPath(std::wstring_view panelPath);

// Case-insensitive match of a file name against a pattern with "?" and "*".
bool MatchPattern(std::wstring_view pattern, std::wstring_view name);

// Test seam for a full disk: the next `count` writes to files stop after `partialBytes` of
// their data and fail with ERROR_DISK_FULL, as the disk would. 0 ends it. Thread-safe.
void FailFileWrites(int count, DWORD partialBytes = 0);

// Test seam for a nearly full disk: GetDiskFreeSpaceEx reports `bytes` free (to the caller and
// in total) on every drive from now on; nullopt returns to what the disk says. Thread-safe.
void FakeDiskFreeSpace(std::optional<std::uint64_t> bytes);

}  // namespace platform
