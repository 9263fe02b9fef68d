// The old release cleanup: with two or more releases on the panel the operator is asked to
// delete all but one; declined, and with less than 6144 kB free, asked again. The deletion
// pass offers the releases one by one, smallest name first; the last listed is kept.
#include "installer/old_release_cleanup.h"

#include <cwctype>
#include <string>

#include "installer/install_paths.h"
#include "installer/release_lists.h"
#include "platform/storage/files.h"
#include "platform/windowing/dialog.h"

namespace {

constexpr const wchar_t kTooManyText[] =
    L"More than one OLD set of dryer files were found on \n the Dryer's hard disk.  It is "
    L"recommended that all but one \n be deleted.  Delete the old files?";
constexpr const wchar_t kTooManyCaption[] = L" TOO MANY OLD DRYER PROGRAM FILES!";
constexpr const wchar_t kLowMemoryText[] =
    L"Memory is low (%d kB) due to old dryer program files. \n It is recommended that all but "
    L"one of the old files \n be deleted.  Delete the old files?";
constexpr const wchar_t kLowMemoryCaption[] = L" REMOVE OLD DRYER FILES?";
constexpr const wchar_t kDeleteCaption[] = L"Delete the following?";

std::wstring Upper(const std::wstring& text)
{
    std::wstring upper = text;
    for (wchar_t& c : upper) c = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
    return upper;
}

// The free space on the panel's storage in kB, as the program may use it.
std::uint64_t FreeKb()
{
    ULARGE_INTEGER freeToCaller;
    const std::wstring root = HasHardDisk() ? L"\\Hard Disk" : L"\\";
    if (!GetDiskFreeSpaceEx(root.c_str(), &freeToCaller, nullptr, nullptr)) return 0;
    return freeToCaller.QuadPart / 1024;
}

std::wstring LowMemoryText(std::uint64_t kb)
{
    std::wstring text = kLowMemoryText;
    text.replace(text.find(L"%d"), 2, std::to_wstring(kb));
    return text;
}

void NoteFailures(const std::vector<std::wstring>& failed)
{
    for (const std::wstring& path : failed) {
        UsbInstall.cleanupFailureLines.push_back(L"FAILED to delete " + path);
    }
}

}  // namespace

void RunOldReleaseCleanup(HWND owner)
{
    if (!FolderExists(HasHardDisk() ? L"\\Hard Disk" : L"\\")) return;
    ListInstalledReleases();
    if (UsbInstall.installedReleases.size() < 2) return;
    if (MessageBox(owner, kTooManyText, kTooManyCaption, MB_YESNO | MB_ICONEXCLAMATION) == IDYES) {
        RunDeletionPass(owner);
        return;
    }
    // Free space is measured only once the operator has declined.
    const std::uint64_t kb = FreeKb();
    if (kb >= kLowMemoryKb) return;
    if (MessageBox(owner, LowMemoryText(kb).c_str(), kLowMemoryCaption,
                   MB_YESNO | MB_ICONEXCLAMATION) == IDYES) {
        RunDeletionPass(owner);
    }
}

void RunDeletionPass(HWND owner)
{
    const std::size_t rounds = UsbInstall.installedReleases.size();
    for (std::size_t round = 1; round < rounds; ++round) {
        ListInstalledReleases();
        const auto& names = UsbInstall.installedReleases;
        if (names.size() < 2) return;
        // The smallest name as upper-case text, among all but the last listed.
        std::size_t candidate = 0;
        for (std::size_t i = 1; i + 1 < names.size(); ++i) {
            if (Upper(names[i]) < Upper(names[candidate])) candidate = i;
        }
        const std::wstring name = names[candidate];
        if (MessageBox(owner, name.c_str(), kDeleteCaption, MB_YESNO | MB_ICONEXCLAMATION) ==
            IDYES) {
            NoteFailures(DeleteReleaseFolder(name));
        }
    }
}

std::vector<std::wstring> DeleteReleaseFolder(const std::wstring& name)
{
    const std::wstring folder = PanelRoot() + name;
    if (!IsPlainName(name)) return {folder};
    const DWORD attributes = GetFileAttributes(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return {};  // already gone
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 ||
        (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        return {folder};  // not a release folder of this panel
    }
    std::vector<std::wstring> failed = DeleteFilesInside(folder);
    if (failed.empty() && !RemoveDirectory(folder.c_str())) failed.push_back(folder);
    return failed;
}

std::vector<std::wstring> DeleteFilesInside(const std::wstring& folder)
{
    std::vector<std::wstring> failed;
    const DWORD attributes = GetFileAttributes(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        return failed;
    }
    WIN32_FIND_DATA found;
    HANDLE find = FindFirstFile((folder + L"\\*.*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return failed;
    do {
        const std::wstring entry = found.cFileName;
        const bool link = (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
        const bool subfolder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if (subfolder && !link) continue;  // only the files directly inside
        const std::wstring path = folder + L"\\" + entry;
        // A name with a separator would reach another folder: it stays, and is reported.
        if (!IsPlainName(entry) || !DeleteFile(path.c_str())) failed.push_back(path);
    } while (FindNextFile(find, &found));
    FindClose(find);
    return failed;
}
