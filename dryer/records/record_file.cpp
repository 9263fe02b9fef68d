// The data logs' record files: size, seek, cut and the whole-record append.
#include "dryer/records/record_file.h"

#include "platform/runtime/threads.h"
#include "platform/storage/files.h"

RecordFile::~RecordFile()
{
    if (ok()) CloseHandle(handle_);  // a failed close loses nothing: every write was checked
}

std::uint64_t RecordFile::Size() const
{
    DWORD high = 0;
    const DWORD low = GetFileSize(handle_, &high);
    if (low == INVALID_FILE_SIZE && GetLastError() != ERROR_SUCCESS) return 0;
    return (static_cast<std::uint64_t>(high) << 32) | low;
}

bool RecordFile::SeekTo(std::uint64_t offset) const
{
    LONG high = static_cast<LONG>(offset >> 32);
    const DWORD low =
        SetFilePointer(handle_, static_cast<LONG>(offset & 0xFFFF'FFFFu), &high, FILE_BEGIN);
    return !(low == INVALID_SET_FILE_POINTER && GetLastError() != ERROR_SUCCESS);
}

void RecordFile::CutTo(std::uint64_t size) const
{
    if (SeekTo(size)) SetEndOfFile(handle_);
}

bool RecordFile::AppendWhole(std::span<const std::uint8_t> record) const
{
    if (record.empty()) return false;
    const std::uint64_t size = Size();
    const std::uint64_t end = size - size % record.size();
    if (!SeekTo(end)) return false;
    DWORD written = 0;
    const BOOL ok =
        WriteFile(handle_, record.data(), static_cast<DWORD>(record.size()), &written, nullptr);
    if (ok != FALSE && written == record.size()) return true;
    CutTo(end);  // a full disk took part of the record: take it off again
    return false;
}
