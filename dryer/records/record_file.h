// The data logs' files of fixed-size records on the panel's disk: a handle closed when the call
// that opened it returns (nothing is kept open between ticks), and an append that keeps every
// record on its boundary whatever a power cut or a full disk left behind.
#pragma once

#include <cstdint>
#include <span>

#include "platform/win_types.h"

class RecordFile {
public:
    explicit RecordFile(HANDLE handle) : handle_(handle) {}
    ~RecordFile();
    RecordFile(const RecordFile&) = delete;
    RecordFile& operator=(const RecordFile&) = delete;

    bool ok() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
    HANDLE get() const { return handle_; }

    std::uint64_t Size() const;  // 0 when it cannot be read
    bool SeekTo(std::uint64_t offset) const;
    // Cuts the file back to `size` bytes; a failure is ignored (the next append tries again).
    void CutTo(std::uint64_t size) const;
    // Writes `record` behind the last whole record of its size: a record cut short by a power
    // cut is written over, and a record the disk takes only in part is cut off again. True
    // when the record was written whole.
    bool AppendWhole(std::span<const std::uint8_t> record) const;

private:
    HANDLE handle_;
};
