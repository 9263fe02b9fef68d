// The copy thread: steps 1 to 8 of an install, one run per install dialog. Each copied file is
// followed by a pause of 1 s. Cancel stops the run after the file it is copying; since the
// platform copies through a temporary file, no half file is ever left in place of a good one.
// A file that cannot be copied or deleted gets its own line, and the ending then says the
// transfer is incomplete, with the count; the rest is copied all the same.
#include "installer/copy_thread.h"

#include <atomic>
#include <memory>

#include "installer/install_dialogs.h"
#include "installer/install_paths.h"
#include "installer/language_install.h"
#include "installer/release_lists.h"
#include "platform/runtime/clock.h"
#include "platform/runtime/threads.h"
#include "platform/storage/files.h"
#include "platform/windowing/dialog.h"

namespace {

constexpr DWORD kFilePauseMs = 1000;

constexpr const wchar_t kBlankLine[] = L"       ";
constexpr const wchar_t kCompleteLine[] = L"       Dryer program transfer is complete.  PRESS OK.";
constexpr const wchar_t kRemoveDriveLine[] = L"NOTE:  Remove USB flash drive!";
constexpr const wchar_t kNoLanguagesLine[] = L"Languages not present on USB Flash drive.";
constexpr const wchar_t kLanguageMissingText[] =
    L"Languages are not present \n on this dryer. \n \nCreate new flash stick with selected "
    L"language \n and install.";
constexpr const wchar_t kLanguageMissingCaption[] = L" LANGUAGE IS MISSING...";

std::atomic<unsigned> gLastRun{0};
std::atomic<unsigned> gStoppedUpTo{0};  // runs up to this number were cancelled
std::atomic<int> gRunning{0};
std::atomic<std::int64_t> gPauseEnd{0};
HANDLE gThread = nullptr;  // the last run's thread; user-interface thread only

std::wstring CopyingLine(const std::wstring& release, const std::wstring& entry)
{
    return L"Copying " + release + L"\\" + entry + L" to Hard Disk of Dryer.  Please wait.";
}

std::wstring IncompleteLine(int failures)
{
    return L"       Dryer program transfer is INCOMPLETE: " + std::to_wstring(failures) +
           L" file(s) failed.  PRESS OK.";
}

bool IsFolder(const WIN32_FIND_DATA& found)
{
    return (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// Copies one found entry from one folder into another, overwriting; folders are passed over.
// A failure is reported as `shownAs`.
void CopyFoundEntry(CopyJob& job, const WIN32_FIND_DATA& found, const std::wstring& from,
                    const std::wstring& to, const std::wstring& shownAs)
{
    if (IsFolder(found)) return;
    const std::wstring entry = found.cFileName;
    // A name with a separator would be read or written outside its folder.
    if (!IsPlainName(entry) ||
        !CopyFile((from + L"\\" + entry).c_str(), (to + L"\\" + entry).c_str(), FALSE)) {
        AddFailureLine(job, L"FAILED to copy " + shownAs);
    }
}

void CopyOneFile(CopyJob& job, const std::wstring& from, const std::wstring& to,
                 const std::wstring& shownAs)
{
    if (!CopyFile(from.c_str(), to.c_str(), FALSE))
        AddFailureLine(job, L"FAILED to copy " + shownAs);
}

// Step 2: the release folder's own entries. False when the folder has none (the run ends)
// or Cancel stopped it.
bool CopyReleaseFiles(CopyJob& job)
{
    const std::wstring from = UsbRoot() + job.release;
    const std::wstring to = PanelRoot() + job.release;
    WIN32_FIND_DATA found;
    HANDLE find = FindFirstFile((from + L"\\*.*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return false;
    bool more = true;
    while (more && !StopAsked(job)) {
        AddInstallLine(job, CopyingLine(job.release, found.cFileName));
        CopyFoundEntry(job, found, from, to, job.release + L"\\" + found.cFileName);
        PauseCopy(kFilePauseMs);
        more = FindNextFile(find, &found) != FALSE;
    }
    FindClose(find);
    return !StopAsked(job);
}

// Step 3: NodeFlasher from the copied release, and the system files on the panel with a hard
// disk.
void InstallProgramsAndSystemFiles(CopyJob& job)
{
    const std::wstring panel = PanelRoot();
    AddInstallLine(job, L"Installing NodeFlasher.exe to Hard Disk");
    CopyOneFile(job, panel + job.release + L"\\NodeFlasher.exe", panel + L"NodeFlasher.exe",
                L"NodeFlasher.exe");
    AddInstallLine(job, L"Attempting to Install System Files.");
    if (!HasHardDisk()) return;
    const std::wstring system = L"\\Hard Disk2\\" + job.release + L"\\SystemFiles\\";
    AddInstallLine(job, L"Installing \\Hard Disk\\nk.bin");
    CopyOneFile(job, system + L"nk.bin", L"\\Hard Disk\\nk.bin",
                job.release + L"\\SystemFiles\\nk.bin");
    AddInstallLine(job, L"\\Hard Disk\\config.sys");
    CopyOneFile(job, system + L"config.sys", L"\\Hard Disk\\config.sys",
                job.release + L"\\SystemFiles\\config.sys");
}

// Steps 4 and 5: a folder of the release ("WarningBitmaps", "Manuals") into the same folder
// of the panel. False when Cancel stopped it.
bool CopyReleaseSubfolder(CopyJob& job, const std::wstring& name)
{
    const std::wstring to = PanelRoot() + name;
    CreateDirectory(to.c_str(), nullptr);  // it may be there already
    const std::wstring from = UsbRoot() + job.release + L"\\" + name;
    WIN32_FIND_DATA found;
    HANDLE find = FindFirstFile((from + L"\\*.*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return !StopAsked(job);
    bool more = true;
    while (more && !StopAsked(job)) {
        AddInstallLine(job, CopyingLine(job.release, found.cFileName));
        CopyFoundEntry(job, found, from, to, job.release + L"\\" + name + L"\\" + found.cFileName);
        PauseCopy(kFilePauseMs);
        more = FindNextFile(find, &found) != FALSE;
    }
    FindClose(find);
    return !StopAsked(job);
}

void FinishInstall(CopyJob& job)
{
    AddInstallLine(job, kBlankLine);
    AddInstallLine(job,
                   job.failures == 0 ? std::wstring(kCompleteLine) : IncompleteLine(job.failures));
    AddInstallLine(job, kBlankLine);
    AddInstallLine(job, kRemoveDriveLine);
    SendMessage(job.dialog, kInstallButtonText, 0, reinterpret_cast<LPARAM>(L"OK"));
}

void RunCopy(CopyJob& job)
{
    for (const std::wstring& line : job.firstLines) AddFailureLine(job, line);
    if (job.release.empty() || !IsPlainName(job.release)) return;  // nothing was chosen
    // 1. The release folder on the panel.
    CreateDirectory((PanelRoot() + job.release).c_str(), nullptr);
    // 2. to 6.
    if (!CopyReleaseFiles(job)) return;
    InstallProgramsAndSystemFiles(job);
    if (!CopyReleaseSubfolder(job, L"WarningBitmaps")) return;
    if (!CopyReleaseSubfolder(job, L"Manuals")) return;
    if (FolderExists(UsbRoot() + job.release + L"\\Languages")) {
        // The install dialog stays open after the languages, so that the operator reads the
        // completion lines below and closes it with OK.
        if (!RunLanguageStep(job)) return;
    } else {
        AddInstallLine(job, kNoLanguagesLine);
    }
    // 7. and 8.
    FinishInstall(job);
    if (!FolderExists(PanelRoot() + L"Languages")) {
        MessageBox(nullptr, kLanguageMissingText, kLanguageMissingCaption, MB_OK);
    }
}

DWORD CopyThreadMain(void* parameter)
{
    std::unique_ptr<CopyJob> job(static_cast<CopyJob*>(parameter));
    if (job->previous != nullptr) {
        // A cancelled run finishes its file first; two runs never copy at once.
        WaitForSingleObject(job->previous, INFINITE);
        CloseHandle(job->previous);
        job->previous = nullptr;
    }
    RunCopy(*job);
    job.reset();
    --gRunning;
    return 0;
}

}  // namespace

void StartCopyThread(HWND dialog, const std::wstring& selectedRelease,
                     std::vector<std::wstring> firstLines)
{
    auto job = std::make_unique<CopyJob>();
    job->dialog = dialog;
    job->release = ReleaseToCopy(selectedRelease);
    job->number = ++gLastRun;
    job->previous = gThread;
    job->firstLines = std::move(firstLines);
    ++gRunning;
    HANDLE thread = CreateThread(nullptr, 0, CopyThreadMain, job.get(), 0, nullptr);
    if (thread == nullptr) {
        --gRunning;
        return;  // the previous run's handle stays in gThread
    }
    job.release();  // the thread owns it now
    gThread = thread;
}

void StopCopyThread()
{
    gStoppedUpTo = gLastRun.load();
}

void AddInstallLine(CopyJob& job, const std::wstring& line)
{
    SendMessage(job.dialog, kInstallAddLine, 0, reinterpret_cast<LPARAM>(line.c_str()));
}

void AddFailureLine(CopyJob& job, const std::wstring& line)
{
    ++job.failures;
    AddInstallLine(job, line);
}

bool StopAsked(const CopyJob& job)
{
    return job.number <= gStoppedUpTo.load();
}

void PauseCopy(DWORD milliseconds)
{
    const std::int64_t end = platform::NowMs() + milliseconds;
    gPauseEnd = end;
    // The end is fixed before the pause is seen, so that a test moving the clock at once
    // cannot make it longer.
    platform::SleepUntil(end);
    gPauseEnd = 0;
}

void ShowLanguageProgress(CopyJob& job)
{
    SendMessage(job.dialog, kInstallShowLanguage, 0, 0);
}

void SetInstallProgressRange(CopyJob& job, int top)
{
    SendMessage(job.dialog, kInstallProgressRange, static_cast<WPARAM>(top), 0);
}

void SetInstallProgressPos(CopyJob& job, int position)
{
    SendMessage(job.dialog, kInstallProgressPos, static_cast<WPARAM>(position), 0);
}

bool UsbCopyRunning()
{
    return gRunning.load() > 0;
}

std::int64_t UsbCopyPauseEnd()
{
    return gPauseEnd.load();
}

HANDLE UsbCopyThreadHandle()
{
    return gThread;
}
