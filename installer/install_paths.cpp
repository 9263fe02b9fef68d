// The storage roots of the two panel variants and the check on names found on a drive.
#include "installer/install_paths.h"

#include "platform/storage/files.h"

bool HasHardDisk()
{
    return FolderExists(L"\\Hard Disk");
}

std::wstring PanelRoot()
{
    return HasHardDisk() ? L"\\Hard Disk\\" : L"\\";
}

std::wstring UsbRoot()
{
    return HasHardDisk() ? L"\\Hard Disk2\\" : L"USB Storage\\";
}

std::wstring PanelLanguageRoot()
{
    return PanelRoot() + L"Languages";
}

bool FolderExists(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributes(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool IsPlainName(std::wstring_view name)
{
    if (name.empty() || name == L"." || name == L"..") return false;
    return name.find_first_of(L"\\/") == std::wstring_view::npos;
}
