// The language step of the copy thread. The progress bar starts again at 0 for each of the 39
// folder copies (three for each of the thirteen languages). The install dialog is left open
// after the step: the copy thread still adds the completion lines and turns Cancel into OK.
#include "installer/language_install.h"

#include "installer/copy_thread.h"
#include "installer/install_paths.h"
#include "installer/old_release_cleanup.h"
#include "installer/release_lists.h"
#include "platform/storage/files.h"

namespace {

constexpr DWORD kCompletePauseMs = 3000;

// Deletes the files of one folder of the old tree and then the folder; a missing folder is
// skipped, files that stay are reported.
void RemoveOldFolder(CopyJob& job, const std::wstring& folder)
{
    const DWORD attributes = GetFileAttributes(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return;
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        DeleteFile(folder.c_str());  // a link in the tree goes as a link, never what it shows
        return;
    }
    for (const std::wstring& path : DeleteFilesInside(folder)) {
        AddFailureLine(job, L"FAILED to delete " + path);
    }
    RemoveDirectory(folder.c_str());  // a folder the table does not know keeps it
}

// Copies every file of a source folder into a panel folder, moving the bar over the entries.
// Subfolder entries are passed over. False when Cancel stopped it.
bool CopyLanguageFolder(CopyJob& job, const std::wstring& source, const std::wstring& panel)
{
    std::vector<WIN32_FIND_DATA> entries;
    WIN32_FIND_DATA found;
    HANDLE find = FindFirstFile((source + L"\\*.*").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            entries.push_back(found);
        } while (FindNextFile(find, &found));
        FindClose(find);
    }
    SetInstallProgressRange(job, static_cast<int>(entries.size()));
    int handled = 0;
    for (const WIN32_FIND_DATA& entry : entries) {
        if (StopAsked(job)) return false;
        const std::wstring name = entry.cFileName;
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
            if (!IsPlainName(name) ||
                !CopyFile((source + L"\\" + name).c_str(), (panel + L"\\" + name).c_str(), FALSE)) {
                // Named from the release folder on, as the other copy lines are.
                const std::wstring shown = source.substr(UsbRoot().size()) + L"\\" + name;
                AddFailureLine(job, L"FAILED to copy " + shown);
            }
        }
        SetInstallProgressPos(job, ++handled);
    }
    return !StopAsked(job);
}

}  // namespace

const wchar_t* LanguageCode(std::wstring_view name)
{
    for (const LanguageEntry& language : kLanguages) {
        if (name == language.name) return language.code;
    }
    return L"EN";
}

void RemovePanelLanguageTree(CopyJob& job)
{
    const std::wstring root = PanelLanguageRoot();
    for (const LanguageEntry& language : kLanguages) {
        const std::wstring folder = root + L"\\" + language.code;
        RemoveOldFolder(job, folder + L"\\Bitmaps");
        RemoveOldFolder(job, folder + L"\\WarningBitmaps");
        RemoveOldFolder(job, folder);
    }
    RemoveOldFolder(job, root);
}

bool RunLanguageStep(CopyJob& job)
{
    RemovePanelLanguageTree(job);
    AddInstallLine(job, L"Creating main language directory...");
    ShowLanguageProgress(job);
    const std::wstring panelRoot = PanelLanguageRoot();
    CreateDirectory(panelRoot.c_str(), nullptr);
    const std::wstring sourceRoot = UsbRoot() + job.release + L"\\Languages\\";
    for (const LanguageEntry& language : kLanguages) {
        const std::wstring panel = panelRoot + L"\\" + language.code;
        const std::wstring source = sourceRoot + language.code;
        const std::wstring name = language.name;
        for (const wchar_t* sub : {L"", L"\\Bitmaps", L"\\WarningBitmaps"}) {
            CreateDirectory((panel + sub).c_str(), nullptr);
        }
        AddInstallLine(job, L"Copying " + name + L" graphic files...");
        if (!CopyLanguageFolder(job, source + L"\\Bitmaps", panel + L"\\Bitmaps")) return false;
        AddInstallLine(job, L"Copying " + name + L" shutdown help files...");
        if (!CopyLanguageFolder(job, source + L"\\WarningBitmaps", panel + L"\\WarningBitmaps")) {
            return false;
        }
        AddInstallLine(job, L"Copying " + name + L" root language files...");
        if (!CopyLanguageFolder(job, source, panel)) return false;
    }
    AddInstallLine(job, L"Languages Installation Complete...");
    PauseCopy(kCompletePauseMs);
    return !StopAsked(job);
}
