// Where the installer reads and writes. The panel comes in two variants, told apart by whether
// "\Hard Disk" exists (the ICOP panel) or not (the AB panel); releases, programs and the
// language tree live under PanelRoot, the flash drive is UsbRoot.
#pragma once

#include <string>
#include <string_view>

// True on the panel with a hard disk ("\Hard Disk" exists).
bool HasHardDisk();

// "\Hard Disk\" with a hard disk, else the root "\".
std::wstring PanelRoot();

// The flash drive: "\Hard Disk2\" with a hard disk, else "USB Storage\".
std::wstring UsbRoot();

// The panel's language tree: "\Hard Disk\Languages", else "\Languages".
std::wstring PanelLanguageRoot();

// True when the path names a folder (a link to one counts).
bool FolderExists(const std::wstring& path);

// True when a name found on a drive can stand as one path component: not empty, not "." or
// "..", and without "\" or "/", which would lead the panel path out of its folder.
bool IsPlainName(std::wstring_view name);
