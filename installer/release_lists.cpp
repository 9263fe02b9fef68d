// Finding release folders on the drive and on the panel.
#include "installer/release_lists.h"

#include "installer/install_paths.h"
#include "platform/storage/files.h"

UsbInstallRecord UsbInstall;

std::vector<std::wstring> ListReleaseFolders(const std::wstring& folder)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATA found;
    HANDLE find = FindFirstFile((folder + kReleasePattern).c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        const DWORD attributes = found.dwFileAttributes;
        if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) continue;
        if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) continue;  // a link leads elsewhere
        std::wstring name = found.cFileName;
        if (!IsPlainName(name) || name.size() > kMaxReleaseNameChars) continue;
        names.push_back(std::move(name));
    } while (names.size() < kMaxReleases && FindNextFile(find, &found));
    FindClose(find);
    return names;
}

bool UsbCheck()
{
    UsbInstall.usbReleases = ListReleaseFolders(UsbRoot());
    return !UsbInstall.usbReleases.empty();
}

void ListInstalledReleases()
{
    UsbInstall.installedReleases = ListReleaseFolders(PanelRoot());
}

std::wstring ReleaseToCopy(const std::wstring& selected)
{
    const std::size_t c = selected.find(L'C');
    return c == std::wstring::npos ? std::wstring() : selected.substr(c);
}
