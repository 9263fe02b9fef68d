// Copying the shutdown history to the USB drive as "DryerShutdownHistory.txt": the lines are
// written to "DryerShutdownHistory.tmp" first, which replaces the old file only when every line
// is on the drive.
#include "dryer/records/shutdown_history_export.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <vector>

#include "dryer/records/shutdown_history.h"
#include "platform/runtime/threads.h"
#include "platform/storage/files.h"
#include "platform/windowing/dialog.h"

namespace {

constexpr std::size_t kFieldLimit = 500;  // characters of one field in the file

std::atomic<ShutdownExportObserver> gObserver{nullptr};

// Wide text as the file's single-byte text: characters beyond 8 bits become '?'.
void AppendField(std::string& line, const std::wstring& field)
{
    const std::size_t n = std::min(field.size(), kFieldLimit);
    for (std::size_t i = 0; i < n; ++i) {
        const wchar_t c = field[i];
        line += c >= 0 && c <= 0xFF ? static_cast<char>(static_cast<unsigned char>(c)) : '?';
    }
    line += ';';
}

// The reason of the call that just failed; never 0, which would read as success.
DWORD FailureCode()
{
    const DWORD error = GetLastError();
    return error != 0 ? error : ERROR_ACCESS_DENIED;
}

bool WriteAll(HANDLE file, const std::string& bytes)
{
    DWORD written = 0;
    return WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

ShutdownExportResult Failed(ShutdownExportOutcome outcome, DWORD error, std::size_t lines = 0)
{
    return ShutdownExportResult{outcome, error, lines};
}

// Writes every line; the error of the first write that failed, or 0.
DWORD WriteLines(HANDLE file, const std::vector<ShutdownRow>& rows, std::size_t& lines)
{
    for (const ShutdownRow& row : rows) {
        if (!WriteAll(file, ShutdownExportLine(row))) return FailureCode();
        ++lines;
        if (const ShutdownExportObserver observer = gObserver.load()) observer(lines);
    }
    return 0;
}

// Gives the finished file its real name in place of an older export.
bool PutInPlace()
{
    if (!DeleteFile(kShutdownExportFile) && GetLastError() != ERROR_FILE_NOT_FOUND) return false;
    return MoveFile(kShutdownExportTemporary, kShutdownExportFile) != FALSE;
}

std::wstring WithCode(const wchar_t* format, DWORD error)
{
    wchar_t text[96];
    std::swprintf(text, std::size(text), format, static_cast<long>(error));
    return text;
}

}  // namespace

bool UsbDrivePresent()
{
    WIN32_FIND_DATA found;
    HANDLE find = FindFirstFile(kUsbDrive, &found);
    if (find == INVALID_HANDLE_VALUE) return false;
    FindClose(find);
    return true;
}

std::string ShutdownExportLine(const ShutdownRow& row)
{
    std::string line;
    AppendField(line, row.text);
    AppendField(line, row.node);
    AppendField(line, row.date);
    AppendField(line, row.time);
    line += '\n';
    return line;
}

void SetShutdownExportObserver(ShutdownExportObserver observer)
{
    gObserver.store(observer);
}

ShutdownExportResult ExportShutdownHistory()
{
    HANDLE file = CreateFile(kShutdownExportTemporary, GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                             CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return Failed(ShutdownExportOutcome::fileNotOpened, GetLastError());
    }
    std::vector<ShutdownRow> rows;
    DWORD error = 0;
    const ShutdownReadOutcome read = ReadShutdownHistory(ShutdownSort::byDateTime, rows, error);
    std::size_t lines = 0;
    if (read == ShutdownReadOutcome::read) error = WriteLines(file, rows, lines);
    if (read == ShutdownReadOutcome::read && error == 0 && !FlushFileBuffers(file)) {
        error = FailureCode();
    }
    CloseHandle(file);
    if (read == ShutdownReadOutcome::read && error == 0 && !PutInPlace()) error = FailureCode();
    if (read != ShutdownReadOutcome::read || error != 0) {
        DeleteFile(kShutdownExportTemporary);  // ignored: the drive may be gone with it
    }
    switch (read) {
        case ShutdownReadOutcome::mountFailed:
            return Failed(ShutdownExportOutcome::mountFailed, error);
        case ShutdownReadOutcome::databaseNotOpened:
            return Failed(ShutdownExportOutcome::databaseNotOpened, error);
        case ShutdownReadOutcome::read: break;
    }
    if (error != 0) return Failed(ShutdownExportOutcome::writeFailed, error, lines);
    return ShutdownExportResult{ShutdownExportOutcome::done, 0, lines};
}

ShutdownExportMessage ShutdownExportMessageFor(const ShutdownExportResult& result)
{
    switch (result.outcome) {
        case ShutdownExportOutcome::done:
        case ShutdownExportOutcome::fileNotOpened: return {};
        case ShutdownExportOutcome::mountFailed:
            return {WithCode(L"ERROR: CeMountDBVol failed (%ld)", result.error), L"", MB_OK};
        case ShutdownExportOutcome::databaseNotOpened:
            switch (result.error) {
                case ERROR_NOT_ENOUGH_MEMORY: return {L"NOT ENOUGHT MEMORY!", L"", MB_OK};
                case ERROR_INVALID_PARAMETER: return {L"INVALIDE PARAMETER!", L"", MB_OK};
                case ERROR_FILE_NOT_FOUND: return {L"FILE NOT FOUND!", L"", MB_OK};
                default: return {WithCode(L"ERROR: Handler (%ld)", result.error), L"", MB_OK};
            }
        case ShutdownExportOutcome::writeFailed:
            return {L"Could not copy file to flashdrive.", L"FAILED TO COPY", MB_OK | MB_ICONSTOP};
    }
    return {};
}
