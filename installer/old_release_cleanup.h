// Removing old releases from the panel before a new one is copied: the two questions, the
// free-space test and the deletion pass.
#pragma once

#include <string>
#include <vector>

#include "platform/win_types.h"

inline constexpr unsigned kLowMemoryKb = 6144;  // less free space than this asks to delete

// The old release cleanup: asks whether to delete old releases when the panel holds two or
// more, or when memory is low after the operator declined. Runs on the user-interface thread.
void RunOldReleaseCleanup(HWND owner);

// The deletion pass: offers the smallest name but the last listed, (count - 1) times.
void RunDeletionPass(HWND owner);

// Deletes the release folder `name` in PanelRoot: the files directly inside it, then the
// folder. Nothing outside PanelRoot and that folder is touched, whatever the name holds: a
// name with a separator or "..", a link or a file in its place is refused, and links inside
// are removed as links. Returns the files that could not be deleted (empty when all went).
std::vector<std::wstring> DeleteReleaseFolder(const std::wstring& name);

// Deletes the files directly inside a panel folder (links as links, subfolders left) and
// returns the panel paths of those that stayed. A folder that is a link is left alone.
std::vector<std::wstring> DeleteFilesInside(const std::wstring& folder);
