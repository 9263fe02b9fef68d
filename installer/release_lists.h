// The release folders ("CAN_DRYER_P???") on the flash drive and on the panel, and the record of
// one install: the lists, the search state and the release the operator chose.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "platform/win_types.h"

inline constexpr std::size_t kMaxReleases = 16;           // each list holds up to 16 names
inline constexpr std::size_t kMaxReleaseNameChars = 260;  // wide characters of one name
inline constexpr const wchar_t kReleasePattern[] = L"CAN_DRYER_P???";
inline constexpr const wchar_t kNoneSelected[] = L"none selected";  // holds no letter C
inline constexpr int kSearchSeconds = 90;  // the search gives up after 90 ticks of 1 s

struct UsbInstallRecord {
    std::vector<std::wstring> usbReleases;        // on the drive, in the order listed
    std::vector<std::wstring> installedReleases;  // on the panel, in the order listed
    std::wstring selectedRelease = kNoneSelected;
    bool searching = false;
    int searchSeconds = 0;  // 0 to 90
    HWND mainWindow = nullptr;
    HWND searchDialog = nullptr;     // while the search dialog is open
    HWND selectionDialog = nullptr;  // while the selection dialog is open
    // Old releases that could not be deleted wholly; the install list shows them first.
    std::vector<std::wstring> cleanupFailureLines;
};

extern UsbInstallRecord UsbInstall;

// The release folders matching `folder` + "CAN_DRYER_P???", in the order the file system lists
// them (sorted by name), up to 16. Files, links and names that would leave the folder are not
// releases.
std::vector<std::wstring> ListReleaseFolders(const std::wstring& folder);

// The USB check: fills the USB release list; true when the drive holds at least one release.
bool UsbCheck();

// Fills the installed release list from the panel.
void ListInstalledReleases();

// The release the copy acts on: the selected text from its first "C" on, or empty when it has
// none ("none selected").
std::wstring ReleaseToCopy(const std::wstring& selected);
