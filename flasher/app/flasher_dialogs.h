// NodeFlasher's dialogs of the scan and the upload, and the hooks that plug them and their
// tick steps into the main window.
#pragma once

#include <string>

#include "flasher/app/flasher_program.h"
#include "platform/win_types.h"

// Scan dialog.
inline constexpr const wchar_t kScanCaption[] = L" SCANNING NETWORK...";
inline constexpr int kScanList = 1002;
inline constexpr int kScanExit = 1003;
inline constexpr int kScanAgain = 1004;

// Upload dialog.
inline constexpr const wchar_t kUploadCaption[] = L" UPLOAD PROGRESS...";
inline constexpr int kUploadList = 1006;
inline constexpr int kUploadExit = 1007;
inline constexpr int kUploadStart = 1008;
inline constexpr int kUploadNodeList = 1009;

// Warning dialog before the upload.
inline constexpr const wchar_t kWarningCaption[] = L" Warning / Error Messages";
inline constexpr int kWarningList = 1009;
inline constexpr int kWarningOk = 1015;

// Opens the scan dialog; a status key (or null) is reported with the first scan.
void OpenScanDialog(HWND owner, const wchar_t* statusKey);
// The scan list's sinks while the dialog is open.
void AddScanDialogLine(const wchar_t* line);
void ClearScanDialogList();

// START UPLOAD of the main window: the warning about boards without a program file (when some
// has none), then the upload dialog.
void OpenUploadDialogs(HWND owner);
void AddUploadDialogLine(const wchar_t* line);

// Plugs the scan and upload screens and their tick steps into the main window, as NodeFlasher
// runs them (tests may plug their own).
void InstallNodeFlasherScreens();
