// The panel's record store: named databases of records inside a volume file on the panel's
// disk, each record a list of typed properties (wide strings and file times), read back in one
// of up to four sort orders fixed when the database is created. The shutdown history keeps its
// records here. Each volume file is an SQLite file; deleting it clears everything in it.
//
//   auto volume = platform::RecordVolume::Mount(L"\\Hard Disk\\ShutdownHistoryDB");
//   auto db = volume->OpenDatabase(L"ShutdownHistoryDB", 2);
//   db->SeekToBeginning();
//   while (auto record = db->ReadNext()) { ... }
//
// Failures return false or nothing and leave the reason in GetLastError: ERROR_FILE_NOT_FOUND
// for a missing database, ERROR_ALREADY_EXISTS when creating one that exists,
// ERROR_INVALID_PARAMETER for a bad name, sort order or property, ERROR_ACCESS_DENIED when the
// volume file cannot be used.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/runtime/clock.h"
#include "platform/win_types.h"

namespace platform {

// A property id as the panel writes it: the id in the high 16 bits, the value type in the low.
using RecordPropertyId = DWORD;
inline constexpr WORD kRecordWideString = 0x001F;
inline constexpr WORD kRecordFileTime = 0x0040;
constexpr RecordPropertyId MakeRecordPropertyId(WORD id, WORD type)
{
    return (static_cast<DWORD>(id) << 16) | type;
}

struct RecordProperty {
    RecordPropertyId id = 0;
    std::variant<std::wstring, FILETIME> value;

    static RecordProperty Text(WORD id, std::wstring text)
    {
        return {MakeRecordPropertyId(id, kRecordWideString), std::move(text)};
    }
    static RecordProperty Time(WORD id, FILETIME time)
    {
        return {MakeRecordPropertyId(id, kRecordFileTime), time};
    }
    WORD number() const { return static_cast<WORD>(id >> 16); }
    const std::wstring* text() const { return std::get_if<std::wstring>(&value); }
    const FILETIME* time() const { return std::get_if<FILETIME>(&value); }
};

using Record = std::vector<RecordProperty>;

// The keys of one sort order, first to last, all ascending. Keys name properties by id (the
// type half is ignored). A record without a key property sorts after those that have it;
// records equal in every key keep the order they were written in.
using RecordSortOrder = std::vector<RecordPropertyId>;
inline constexpr std::size_t kMaxRecordSortOrders = 4;

struct RecordFile;  // the open volume file, shared by the volume and its open databases

// An open database, reading in the sort order it was opened with.
class RecordDatabase {
public:
    // Records in the database now.
    DWORD RecordCount() const;

    // Starts reading from the first record in the sort order, including every record written
    // so far.
    bool SeekToBeginning();

    // The next record in the sort order, then advances; nothing after the last.
    std::optional<Record> ReadNext();

    // Adds a new record. Properties must be wide strings or file times with matching type ids.
    bool WriteRecord(const Record& record);

private:
    friend class RecordVolume;
    RecordDatabase(std::shared_ptr<RecordFile> file, long long id, RecordSortOrder order);

    std::shared_ptr<RecordFile> file_;
    long long id_ = 0;
    RecordSortOrder order_;
    std::vector<Record> snapshot_;
    std::size_t next_ = 0;
};

// A mounted volume file. Unmounted when the last copy of it and its databases are gone.
class RecordVolume {
public:
    // Opens the volume file at a panel path, creating it empty when it is missing.
    static std::optional<RecordVolume> Mount(std::wstring_view panelPath);

    // Creates a database with up to four sort orders.
    bool CreateDatabase(std::wstring_view name, DWORD type,
                        std::span<const RecordSortOrder> sortOrders);

    // Opens a database to read in one of its sort orders (0 to the number of orders - 1).
    std::optional<RecordDatabase> OpenDatabase(std::wstring_view name, std::size_t sortOrder);

private:
    explicit RecordVolume(std::shared_ptr<RecordFile> file) : file_(std::move(file)) {}
    std::shared_ptr<RecordFile> file_;
};

// Deletes a volume file with everything in it, and what the store keeps beside it (a journal
// left by a write that a power cut interrupted), so that a volume mounted later starts empty.
// False when there was no volume file or it could not be deleted.
bool DeleteRecordVolume(std::wstring_view panelPath);

}  // namespace platform
