// The record store on SQLite. A volume file holds any number of named databases; a database
// holds records; a record holds its properties in the order they were written.
//
// Tables:
//   rs_databases  (id, name, type, sort_orders)   sort_orders: "k1,k2,k3;k1,k2;..." as decimal
//                                                  property ids, one group per order
//   rs_records    (id, db_id)                      id grows with every write: the write order
//   rs_properties (record_id, seq, prop_id, text, filetime)
//                                                  text for wide strings (UTF-8), filetime for
//                                                  file times (64-bit, 100 ns since 1601)
#include "platform/storage/record_store.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <mutex>
#include <sstream>

#include "platform/runtime/threads.h"
#include "platform/storage/detail_sqlite.h"
#include "platform/storage/files.h"

namespace platform {

struct RecordFile {
    storage::Db db;
    std::mutex mutex;
};

}  // namespace platform

namespace {

using platform::Record;
using platform::RecordFile;
using platform::RecordProperty;
using platform::RecordSortOrder;
using platform::storage::BindText;
using platform::storage::Prepare;
using platform::storage::Statement;

constexpr const char* kSchema =
    "CREATE TABLE IF NOT EXISTS rs_databases ("
    "  id INTEGER PRIMARY KEY, name TEXT NOT NULL UNIQUE COLLATE NOCASE,"
    "  type INTEGER NOT NULL, sort_orders TEXT NOT NULL);"
    "CREATE TABLE IF NOT EXISTS rs_records ("
    "  id INTEGER PRIMARY KEY AUTOINCREMENT, db_id INTEGER NOT NULL);"
    "CREATE INDEX IF NOT EXISTS rs_records_db ON rs_records (db_id);"
    "CREATE TABLE IF NOT EXISTS rs_properties ("
    "  record_id INTEGER NOT NULL, seq INTEGER NOT NULL, prop_id INTEGER NOT NULL,"
    "  text TEXT, filetime INTEGER, PRIMARY KEY (record_id, seq));";

template <class T>
T Fail(DWORD error, T result)
{
    SetLastError(error);
    return result;
}

std::string EncodeOrders(std::span<const RecordSortOrder> orders)
{
    std::string out;
    for (std::size_t i = 0; i < orders.size(); ++i) {
        if (i > 0) out += ';';
        for (std::size_t k = 0; k < orders[i].size(); ++k) {
            if (k > 0) out += ',';
            out += std::to_string(orders[i][k]);
        }
    }
    return out;
}

// Reads back what EncodeOrders wrote; anything unreadable gives no orders.
std::vector<RecordSortOrder> DecodeOrders(std::string_view text)
{
    std::vector<RecordSortOrder> orders;
    if (text.empty()) return orders;
    orders.emplace_back();
    DWORD value = 0;
    bool digits = false;
    for (const char c : text) {
        if (c >= '0' && c <= '9') {
            value = value * 10 + static_cast<DWORD>(c - '0');
            digits = true;
        } else if (c == ',' || c == ';') {
            if (digits) orders.back().push_back(value);
            value = 0;
            digits = false;
            if (c == ';') orders.emplace_back();
        } else {
            return {};
        }
    }
    if (digits) orders.back().push_back(value);
    return orders;
}

std::uint64_t Ticks(const FILETIME& f)
{
    return (static_cast<std::uint64_t>(f.dwHighDateTime) << 32) | f.dwLowDateTime;
}

const RecordProperty* FindProperty(const Record& r, WORD number)
{
    for (const auto& p : r) {
        if (p.number() == number) return &p;
    }
    return nullptr;
}

// Compares two present values of a key; strings before times if the types differ.
int CompareValues(const RecordProperty& a, const RecordProperty& b)
{
    if (a.value.index() != b.value.index()) return a.value.index() < b.value.index() ? -1 : 1;
    if (const auto* ta = a.text()) {
        const int c = ta->compare(*b.text());
        return c < 0 ? -1 : (c > 0 ? 1 : 0);
    }
    const auto x = Ticks(*a.time());
    const auto y = Ticks(*b.time());
    return x < y ? -1 : (x > y ? 1 : 0);
}

bool Before(const RecordSortOrder& order, const Record& a, const Record& b)
{
    for (const auto key : order) {
        const WORD number = static_cast<WORD>(key >> 16);
        const RecordProperty* pa = FindProperty(a, number);
        const RecordProperty* pb = FindProperty(b, number);
        if (pa == nullptr && pb == nullptr) continue;
        if (pa == nullptr) return false;  // missing keys sort last
        if (pb == nullptr) return true;
        const int c = CompareValues(*pa, *pb);
        if (c != 0) return c < 0;
    }
    return false;
}

bool ValidProperty(const RecordProperty& p)
{
    const WORD type = static_cast<WORD>(p.id & 0xFFFF);
    if (p.text() != nullptr) return type == platform::kRecordWideString;
    return type == platform::kRecordFileTime;
}

// The database row of a name: id and sort orders. Caller holds the file lock.
bool FindDatabase(sqlite3* db, std::wstring_view name, long long& id,
                  std::vector<RecordSortOrder>& orders)
{
    Statement s = Prepare(db, "SELECT id, sort_orders FROM rs_databases WHERE name = ?1");
    if (!s) return false;
    const std::string narrow = platform::Narrow(name);
    BindText(s.get(), 1, narrow);
    if (sqlite3_step(s.get()) != SQLITE_ROW) return false;
    id = sqlite3_column_int64(s.get(), 0);
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(s.get(), 1));
    orders = DecodeOrders(text != nullptr ? text : "");
    return true;
}

}  // namespace

namespace platform {

// ---- volume ----

std::optional<RecordVolume> RecordVolume::Mount(std::wstring_view panelPath)
{
    if (panelPath.empty()) return Fail(ERROR_INVALID_PARAMETER, std::nullopt);
    auto file = std::make_shared<RecordFile>();
    int error = SQLITE_OK;
    std::string why;
    file->db = storage::OpenWithSchema(MapPanelPath(panelPath), kSchema, error, why);
    if (!file->db) return Fail(ERROR_ACCESS_DENIED, std::nullopt);
    return RecordVolume(std::move(file));
}

bool RecordVolume::CreateDatabase(std::wstring_view name, DWORD type,
                                  std::span<const RecordSortOrder> sortOrders)
{
    if (name.empty() || sortOrders.size() > kMaxRecordSortOrders) {
        return Fail(ERROR_INVALID_PARAMETER, false);
    }
    std::lock_guard lock(file_->mutex);
    Statement s = Prepare(file_->db.get(),
                          "INSERT INTO rs_databases (name, type, sort_orders) VALUES (?1, ?2, ?3)");
    if (!s) return Fail(ERROR_ACCESS_DENIED, false);
    const std::string narrow = Narrow(name);
    const std::string orders = EncodeOrders(sortOrders);
    BindText(s.get(), 1, narrow);
    sqlite3_bind_int64(s.get(), 2, type);
    BindText(s.get(), 3, orders);
    const int rc = sqlite3_step(s.get());
    if (rc == SQLITE_CONSTRAINT) return Fail(ERROR_ALREADY_EXISTS, false);
    if (rc != SQLITE_DONE) return Fail(ERROR_ACCESS_DENIED, false);
    return true;
}

std::optional<RecordDatabase> RecordVolume::OpenDatabase(std::wstring_view name,
                                                         std::size_t sortOrder)
{
    long long id = 0;
    std::vector<RecordSortOrder> orders;
    {
        std::lock_guard lock(file_->mutex);
        if (!FindDatabase(file_->db.get(), name, id, orders)) {
            return Fail(ERROR_FILE_NOT_FOUND, std::nullopt);
        }
    }
    RecordSortOrder order;
    if (!orders.empty() || sortOrder != 0) {
        if (sortOrder >= orders.size()) return Fail(ERROR_INVALID_PARAMETER, std::nullopt);
        order = orders[sortOrder];
    }
    RecordDatabase database(file_, id, std::move(order));
    if (!database.SeekToBeginning()) return std::nullopt;
    return database;
}

bool DeleteRecordVolume(std::wstring_view panelPath)
{
    if (panelPath.empty()) return Fail(ERROR_INVALID_PARAMETER, false);
    const std::filesystem::path file = MapPanelPath(panelPath);
    std::error_code ec;
    const bool removed = std::filesystem::remove(file, ec);
    if (ec) return Fail(ERROR_ACCESS_DENIED, false);  // the journal stays with its volume
    // A journal left without its volume would be played back into the next volume of the name.
    for (const char* beside : {"-journal", "-wal", "-shm"}) {
        std::error_code ignored;  // most of the time there is none
        std::filesystem::remove(file.string() + beside, ignored);
    }
    return removed ? true : Fail(ERROR_FILE_NOT_FOUND, false);
}

// ---- database ----

RecordDatabase::RecordDatabase(std::shared_ptr<RecordFile> file, long long id,
                               RecordSortOrder order)
    : file_(std::move(file)), id_(id), order_(std::move(order))
{
}

DWORD RecordDatabase::RecordCount() const
{
    std::lock_guard lock(file_->mutex);
    Statement s = Prepare(file_->db.get(), "SELECT COUNT(*) FROM rs_records WHERE db_id = ?1");
    if (!s) return 0;
    sqlite3_bind_int64(s.get(), 1, id_);
    if (sqlite3_step(s.get()) != SQLITE_ROW) return 0;
    return static_cast<DWORD>(sqlite3_column_int64(s.get(), 0));
}

bool RecordDatabase::SeekToBeginning()
{
    std::vector<Record> records;
    {
        std::lock_guard lock(file_->mutex);
        Statement s = Prepare(file_->db.get(),
                              "SELECT r.id, p.prop_id, p.text, p.filetime FROM rs_records r "
                              "LEFT JOIN rs_properties p ON p.record_id = r.id "
                              "WHERE r.db_id = ?1 ORDER BY r.id, p.seq");
        if (!s) return Fail(ERROR_ACCESS_DENIED, false);
        sqlite3_bind_int64(s.get(), 1, id_);
        long long current = -1;
        int rc = SQLITE_ROW;
        while ((rc = sqlite3_step(s.get())) == SQLITE_ROW) {
            const long long recordId = sqlite3_column_int64(s.get(), 0);
            if (recordId != current) {
                records.emplace_back();
                current = recordId;
            }
            if (sqlite3_column_type(s.get(), 1) == SQLITE_NULL) continue;  // no properties
            RecordProperty p;
            p.id = static_cast<RecordPropertyId>(sqlite3_column_int64(s.get(), 1));
            if (sqlite3_column_type(s.get(), 2) != SQLITE_NULL) {
                const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(s.get(), 2));
                p.value = Widen(text != nullptr ? text : "");
            } else {
                const auto ticks = static_cast<std::uint64_t>(sqlite3_column_int64(s.get(), 3));
                p.value = FILETIME{static_cast<DWORD>(ticks & 0xFFFF'FFFFu),
                                   static_cast<DWORD>(ticks >> 32)};
            }
            records.back().push_back(std::move(p));
        }
        if (rc != SQLITE_DONE) return Fail(ERROR_ACCESS_DENIED, false);
    }
    std::stable_sort(records.begin(), records.end(),
                     [&](const Record& a, const Record& b) { return Before(order_, a, b); });
    snapshot_ = std::move(records);
    next_ = 0;
    return true;
}

std::optional<Record> RecordDatabase::ReadNext()
{
    if (next_ >= snapshot_.size()) return Fail(ERROR_NO_MORE_FILES, std::nullopt);
    return snapshot_[next_++];
}

bool RecordDatabase::WriteRecord(const Record& record)
{
    if (!std::all_of(record.begin(), record.end(), ValidProperty)) {
        return Fail(ERROR_INVALID_PARAMETER, false);
    }
    std::lock_guard lock(file_->mutex);
    sqlite3* db = file_->db.get();
    storage::WriteTransaction transaction(db);
    if (!transaction.Began()) return Fail(ERROR_ACCESS_DENIED, false);
    bool ok = false;
    {
        Statement add = Prepare(db, "INSERT INTO rs_records (db_id) VALUES (?1)");
        Statement prop = Prepare(db,
                                 "INSERT INTO rs_properties (record_id, seq, prop_id, text, "
                                 "filetime) VALUES (?1, ?2, ?3, ?4, ?5)");
        if (add && prop) {
            sqlite3_bind_int64(add.get(), 1, id_);
            ok = sqlite3_step(add.get()) == SQLITE_DONE;
            const sqlite3_int64 recordId = sqlite3_last_insert_rowid(db);
            for (std::size_t i = 0; ok && i < record.size(); ++i) {
                const RecordProperty& p = record[i];
                sqlite3_reset(prop.get());
                sqlite3_clear_bindings(prop.get());
                sqlite3_bind_int64(prop.get(), 1, recordId);
                sqlite3_bind_int64(prop.get(), 2, static_cast<sqlite3_int64>(i));
                sqlite3_bind_int64(prop.get(), 3, p.id);
                if (const auto* text = p.text()) {
                    const std::string narrow = Narrow(*text);
                    BindText(prop.get(), 4, narrow);
                } else {
                    sqlite3_bind_int64(prop.get(), 5, static_cast<sqlite3_int64>(Ticks(*p.time())));
                }
                ok = sqlite3_step(prop.get()) == SQLITE_DONE;
            }
        }
    }
    if (ok && transaction.Commit()) return true;
    // The record is not written: the transaction is rolled back as it ends.
    const DWORD error = sqlite3_errcode(db) == SQLITE_FULL ? ERROR_DISK_FULL : ERROR_ACCESS_DENIED;
    return Fail(error, false);
}

}  // namespace platform
