// The installer's three dialogs: the drive search, the release selection and the install
// dialog with its list of lines, and the messages by which the copy thread talks to the
// install dialog.
#pragma once

#include "platform/win_types.h"
#include "platform/windowing/window.h"

// Search dialog.
inline constexpr const wchar_t kSearchCaption[] = L"Searching for USB flash drive...";
inline constexpr int kSearchCancel = 1001;
inline constexpr int kSearchProgress = 1002;
inline constexpr int kSearchText = 1003;
inline constexpr int kSearchHint1 = 1011;
inline constexpr int kSearchHint2 = 1012;
inline constexpr INT_PTR kDriveFound = 100;  // the search dialog's result when a release shows

// Selection dialog.
inline constexpr const wchar_t kSelectionCaption[] = L"Select file to copy from USB to Dryer";
inline constexpr int kSelectionCancel = 1004;
inline constexpr int kSelectionList = 1006;
inline constexpr int kSelectionDown = 1007;
inline constexpr int kSelectionUp = 1008;
inline constexpr int kSelectionCopy = 1009;
inline constexpr int kSelectionNewest = 1010;
inline constexpr int kSelectionNewestLabel = 1013;

// Install dialog.
inline constexpr const wchar_t kInstallCaption[] = L"Installing Software Update...";
inline constexpr int kInstallProgress = 1036;
inline constexpr int kInstallCancel = 1037;
inline constexpr int kInstallList = 1038;
inline constexpr int kInstallLanguageText = 1039;
inline constexpr int kInstallCopyingText = 1040;
// The install list's character height in pixels: small enough that a line naming a warning
// picture ("Copying CAN_DRYER_P105\NID_02_WARNING_ID_14.bmp to Hard Disk of Dryer.  Please
// wait.") stands whole in the list.
inline constexpr int kInstallListFontHeight = 12;

// What the copy thread sends to the install dialog (SendMessage, so that a text lives until
// the dialog has taken it; a closed dialog takes nothing and nothing happens).
inline constexpr UINT kInstallAddLine = WM_APP + 1;        // lParam: const wchar_t* line
inline constexpr UINT kInstallButtonText = WM_APP + 2;     // lParam: const wchar_t* text
inline constexpr UINT kInstallShowLanguage = WM_APP + 3;   // shows the language progress
inline constexpr UINT kInstallProgressRange = WM_APP + 4;  // wParam: top of the range; pos 0
inline constexpr UINT kInstallProgressPos = WM_APP + 5;    // wParam: position

// Opens the search dialog (modal). Returns kDriveFound when the tick found a release, else
// IDCANCEL.
INT_PTR OpenSearchDialog(HWND owner);
// One search tick with the dialog open: moves its bar to the counter.
void ShowSearchProgress(int seconds);
// RETRY: the bar back to 0 of 90.
void ResetSearchProgress();
// Closes the search dialog with a result.
void CloseSearchDialog(INT_PTR result);

// Opens the selection dialog (modal) over the USB release list.
void OpenSelectionDialog(HWND owner);

// Opens the install dialog (modal); it starts the copy thread for the selected release and
// closes the selection dialog if that is open.
void OpenInstallDialog(HWND owner);

// Test seam: called on the user-interface thread each time the install dialog's progress bar
// is set, with the bar's own position and range top afterwards.
using InstallProgressObserver = void (*)(int position, int top);
void SetInstallProgressObserver(InstallProgressObserver observer);
