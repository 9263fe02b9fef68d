// The install command and the drive search. The command looks for release folders on the
// drive and offers the only one, the most recent (the last listed) or a list; without one it
// offers a search of up to 90 s, which the main window's 1-second tick drives.
#include "installer/usb_install.h"

#include <string>

#include "installer/copy_thread.h"
#include "installer/install_dialogs.h"
#include "installer/old_release_cleanup.h"
#include "installer/release_lists.h"
#include "platform/windowing/dialog.h"

namespace {

constexpr const wchar_t kNoDriveText[] =
    L"USB flash drive was not found.  Be sure the \n \t\t\t\t\t\t\t\t\t\tUSB flash drive is "
    L"inserted in the slot behind display. \n\n \t\t\t\t\t\t\t\t\t\tDo you wish to search for "
    L"the USB drive?";
constexpr const wchar_t kNoDriveCaption[] = L" NO USB FLASH DRIVE FOUND";
constexpr const wchar_t kOneReleaseText[] =
    L"One program file was found on USB flash drive.\n \t\t\t\t\t\t\t\t\t\tDo you wish to copy "
    L"this dryer program to the dryer hard drive?\n \t\t\t\t\t\t\t\t\t\tONLY PROGRAM FOUND: %s "
    L"\n\n ";
constexpr const wchar_t kManyReleasesText[] =
    L"Multiple (%d) program files were found on USB flash drive.\n \t\t\t\t\t\t\t\t\t\tDo you "
    L"wish to copy the most recent dryer program found to the dryer hard drive?\n "
    L"\t\t\t\t\t\t\t\t\t\tMOST RECENT PROGRAM FOUND: %s \n\n \t\t\t\t\t\t\t\t\t\t(Pressing YES "
    L"is recommended.)\n \t\t\t\t\t\t\t\t\t\t(Press NO to choose from a list.)";
constexpr const wchar_t kCopyCaption[] = L" COPY PROGRAM FILE FROM USB FLASH DRIVE?";
constexpr const wchar_t kGiveUpText[] =
    L"A USB flash drive cannot be found.\n Some large flash drives can take in excess of 90 "
    L"seconds to detect. \n\n Press RETRY if you suspect this is the problem.";
constexpr const wchar_t kGiveUpCaption[] = L" COULD NOT DETECT A USB FLASH DRIVE";
constexpr const wchar_t kFoundText[] =
    L"A USB flash drive was found. \n Do you wish to search for dryer program files now?";
constexpr const wchar_t kFoundCaption[] = L" USB FLASH CARD FOUND";

// Puts a value in place of the first "%d" or "%s" of a text.
std::wstring Fill(std::wstring text, const wchar_t* field, const std::wstring& value)
{
    const std::size_t at = text.find(field);
    if (at != std::wstring::npos) text.replace(at, 2, value);
    return text;
}

// Install the release: the cleanup, then the install dialog, which starts the copy.
void InstallRelease(HWND owner, const std::wstring& name)
{
    RunOldReleaseCleanup(owner);
    UsbInstall.selectedRelease = name;
    OpenInstallDialog(owner);
}

// The search of up to 90 s. True when a drive was found and the operator wants its releases.
bool SearchForDrive(HWND owner)
{
    UsbInstall.searching = true;
    UsbInstall.searchSeconds = 0;
    const INT_PTR result = OpenSearchDialog(owner);
    UsbInstall.searching = false;
    if (result != kDriveFound) return false;
    return MessageBox(owner, kFoundText, kFoundCaption, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

// The drive is there with releases: the only one, the most recent or a list.
void OfferReleases(HWND owner)
{
    const auto& releases = UsbInstall.usbReleases;
    if (releases.size() == 1) {
        const std::wstring text = Fill(kOneReleaseText, L"%s", releases.front());
        if (MessageBox(owner, text.c_str(), kCopyCaption, MB_YESNOCANCEL | MB_ICONQUESTION) ==
            IDYES) {
            InstallRelease(owner, releases.front());
        }
        return;
    }
    const std::wstring newest = releases.back();  // the most recent is the last listed
    const std::wstring text =
        Fill(Fill(kManyReleasesText, L"%d", std::to_wstring(releases.size())), L"%s", newest);
    switch (MessageBox(owner, text.c_str(), kCopyCaption, MB_YESNOCANCEL | MB_ICONQUESTION)) {
        case IDYES: InstallRelease(owner, newest); break;
        case IDNO: OpenSelectionDialog(owner); break;
        default: break;
    }
}

}  // namespace

void InstallFromUsb(HWND mainWindow)
{
    UsbInstall.mainWindow = mainWindow;
    // A search that finds the drive runs the command again, here rather than from inside the
    // tick, so that the dialogs do not pile up.
    for (;;) {
        if (UsbCheck()) {
            OfferReleases(mainWindow);
            return;
        }
        if (MessageBox(mainWindow, kNoDriveText, kNoDriveCaption, MB_YESNO | MB_ICONINFORMATION) !=
            IDYES) {
            return;
        }
        if (!SearchForDrive(mainWindow)) return;
    }
}

void UsbSearchTick(HWND mainWindow)
{
    if (!UsbInstall.searching) return;
    if (UsbInstall.searchSeconds >= kSearchSeconds) {
        UsbInstall.searching = false;
        HWND owner = UsbInstall.searchDialog != nullptr ? UsbInstall.searchDialog : mainWindow;
        if (MessageBox(owner, kGiveUpText, kGiveUpCaption, MB_RETRYCANCEL | MB_ICONEXCLAMATION) ==
            IDRETRY) {
            UsbInstall.searching = true;
            UsbInstall.searchSeconds = 0;
            ResetSearchProgress();
        } else {
            CloseSearchDialog(IDCANCEL);
        }
        return;
    }
    ++UsbInstall.searchSeconds;
    ShowSearchProgress(UsbInstall.searchSeconds);
    if (UsbCheck()) {
        UsbInstall.searching = false;
        CloseSearchDialog(kDriveFound);
    }
}

void ResetUsbInstall()
{
    StopCopyThread();
    UsbInstall = UsbInstallRecord{};
}
