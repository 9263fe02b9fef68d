// The language installer: replaces the panel's language tree with the one carried in the
// release folder on the flash drive, as a step of the copy thread.
#pragma once

#include <array>
#include <string>
#include <string_view>

struct CopyJob;

struct LanguageEntry {
    const wchar_t* name;  // shown in the progress lines
    const wchar_t* code;  // names the language's folder
};

inline constexpr std::array<LanguageEntry, 13> kLanguages = {{
    {L"English", L"EN"},
    {L"Bulgarian", L"BG"},
    {L"Czech", L"CS"},
    {L"Danish", L"DA"},
    {L"Dutch", L"NL"},
    {L"French", L"FR"},
    {L"German", L"DE"},
    {L"Hungarian", L"HU"},
    {L"Polish", L"PL"},
    {L"Portuguese", L"PT"},
    {L"Romanian", L"RO"},
    {L"Russian", L"RU"},
    {L"Spanish", L"ES"},
}};

// The folder code of a language name; a name not in the table is English's.
const wchar_t* LanguageCode(std::wstring_view name);

// Removes the panel's language tree: for each code XX\Bitmaps, XX\WarningBitmaps and XX, then
// the files of the root and the root. Missing folders are skipped. Files that stay are lines of
// the job.
void RemovePanelLanguageTree(CopyJob& job);

// The language step: removes the old tree, then creates the thirteen language folders and
// copies each one's bitmaps, help files and root files from the release on the drive, with the
// progress bar. Returns false when Cancel stopped it.
bool RunLanguageStep(CopyJob& job);
