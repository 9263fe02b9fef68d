// The registry of the panel: keys under the current-user and local-machine roots with typed
// values, kept in an SQLite file in the panel root. Every write is one atomic transaction.
#pragma once

#include <filesystem>
#include <string>

#include "platform/win_types.h"

inline HKEY const HKEY_CURRENT_USER = reinterpret_cast<HKEY>(std::uintptr_t{0x80000001});
inline HKEY const HKEY_LOCAL_MACHINE = reinterpret_cast<HKEY>(std::uintptr_t{0x80000002});

inline constexpr DWORD REG_NONE = 0;
inline constexpr DWORD REG_SZ = 1;
inline constexpr DWORD REG_BINARY = 3;
inline constexpr DWORD REG_DWORD = 4;

inline constexpr DWORD REG_CREATED_NEW_KEY = 1;
inline constexpr DWORD REG_OPENED_EXISTING_KEY = 2;

inline constexpr DWORD KEY_READ = 0x20019;
inline constexpr DWORD KEY_WRITE = 0x20006;
inline constexpr DWORD KEY_ALL_ACCESS = 0xF003F;

using REGSAM = DWORD;

// All return ERROR_SUCCESS (0) or an error code (platform/storage/files.h): ERROR_FILE_NOT_FOUND
// for a missing key or value, ERROR_MORE_DATA when the caller's buffer is smaller than the value
// (the needed size is returned in *dataLength), ERROR_INVALID_HANDLE for a bad key.
LONG RegCreateKeyEx(HKEY root, const wchar_t* subKey, DWORD reserved, wchar_t* className,
                    DWORD options, REGSAM access, void* security, HKEY* result, DWORD* disposition);
LONG RegOpenKeyEx(HKEY root, const wchar_t* subKey, DWORD options, REGSAM access, HKEY* result);
LONG RegQueryValueEx(HKEY key, const wchar_t* name, DWORD* reserved, DWORD* type, BYTE* data,
                     DWORD* dataLength);
LONG RegSetValueEx(HKEY key, const wchar_t* name, DWORD reserved, DWORD type, const BYTE* data,
                   DWORD dataLength);
LONG RegDeleteValue(HKEY key, const wchar_t* name);
LONG RegCloseKey(HKEY key);

namespace platform {

// Where the registry is kept. By default "<panel root>/registry.sqlite", opened at the first
// registry call (and reopened when the panel root changes); a path set here takes its place.
// An empty path returns to the default.
void SetRegistryFile(const std::filesystem::path& file);

// Closes the registry file; the next call opens it again. Open keys stay valid. Tests use it
// to check what survives a restart.
void CloseRegistry();

// Opens the registry file now (programs call it at start-up). A damaged file, one that is no
// database or fails its check, is moved aside as "<file>.damaged-<yyyymmdd-hhmmss>" (with its
// journal) and a fresh registry is made in its place, so that settings are saved again; this
// is said on stderr, and the outcome lets the program tell the operator.
struct RegistryOpening {
    enum class Outcome { Opened, Recovered, Unusable };
    Outcome outcome = Outcome::Opened;
    std::filesystem::path file;
    std::filesystem::path movedTo;  // Recovered: where the damaged file went
    std::string reason;             // Recovered, Unusable: what was wrong, one line
};
RegistryOpening OpenRegistry();

}  // namespace platform
