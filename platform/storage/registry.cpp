// The panel registry kept in an SQLite file. Keys are paths under the current-user and
// local-machine roots, matched without regard to case; values are typed byte strings. Each
// change is one transaction, so a power cut leaves either the old or the new value. A damaged
// file is moved aside whole and a fresh one made, so the panel saves its settings again.
//
// Tables:
//   reg_keys   (id, root, path)            root 1 = current user, 2 = local machine;
//                                          path "A\B\C" without leading or trailing "\"
//   reg_values (key_id, name, type, data)  one row per value, data as a blob
#include "platform/storage/registry.h"

#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/runtime/clock.h"
#include "platform/runtime/detail_text.h"
#include "platform/runtime/threads.h"
#include "platform/storage/detail_sqlite.h"
#include "platform/storage/files.h"

namespace {

namespace fs = std::filesystem;

using platform::storage::BindText;
using platform::storage::Db;
using platform::storage::Exec;
using platform::storage::Prepare;
using platform::storage::Statement;

constexpr std::uintptr_t kFirstKeyHandle = 0x1000;

constexpr const char* kSchema =
    "CREATE TABLE IF NOT EXISTS reg_keys ("
    "  id INTEGER PRIMARY KEY, root INTEGER NOT NULL, path TEXT NOT NULL COLLATE NOCASE,"
    "  UNIQUE (root, path));"
    "CREATE TABLE IF NOT EXISTS reg_values ("
    "  key_id INTEGER NOT NULL REFERENCES reg_keys(id), name TEXT NOT NULL COLLATE NOCASE,"
    "  type INTEGER NOT NULL, data BLOB NOT NULL, PRIMARY KEY (key_id, name));"
    "INSERT OR IGNORE INTO reg_keys (root, path) VALUES (1, ''), (2, '');";

struct OpenKey {
    int root = 0;
    std::string path;
};

struct Registry {
    std::mutex mutex;
    Db db;
    fs::path openedFile;
    fs::path overrideFile;
    std::map<std::uintptr_t, OpenKey> keys;
    std::uintptr_t nextKey = kFirstKeyHandle;
    platform::RegistryOpening opening;  // how the open file was opened
};

Registry& Reg()
{
    static Registry registry;
    return registry;
}

// The root number of a predefined key, or 0.
int PredefinedRoot(HKEY key)
{
    if (key == HKEY_CURRENT_USER) return 1;
    if (key == HKEY_LOCAL_MACHINE) return 2;
    return 0;
}

// "\\Software\\\\X\\" -> "Software\\X".
std::string NormalisePath(const wchar_t* subKey)
{
    std::string out;
    if (subKey == nullptr) return out;
    for (const std::wstring& part :
         platform::detail::SplitAtAny(std::wstring_view(subKey), L"\\")) {
        if (!out.empty()) out += '\\';
        out += platform::Narrow(part);
    }
    return out;
}

std::string Join(const std::string& a, const std::string& b)
{
    if (a.empty()) return b;
    if (b.empty()) return a;
    return a + "\\" + b;
}

// Caller holds the registry lock.
std::optional<OpenKey> Resolve(Registry& r, HKEY key)
{
    if (const int root = PredefinedRoot(key); root != 0) return OpenKey{root, {}};
    const auto it = r.keys.find(reinterpret_cast<std::uintptr_t>(key));
    if (it == r.keys.end()) return std::nullopt;
    return it->second;
}

// Opens a registry file and checks it: the schema is made, and SQLite's quick check must
// find the file whole. On failure `error` holds SQLite's result code and `why` its text.
Db OpenChecked(const fs::path& file, int& error, std::string& why)
{
    Db db = platform::storage::OpenWithSchema(file, kSchema, error, why);
    if (!db) return db;
    Statement check = Prepare(db.get(), "PRAGMA quick_check");
    const bool whole =
        check && sqlite3_step(check.get()) == SQLITE_ROW &&
        std::string_view(reinterpret_cast<const char*>(sqlite3_column_text(check.get(), 0))) ==
            "ok";
    if (!whole) {
        error = SQLITE_CORRUPT;
        why = "the file failed its check";
        return Db();
    }
    return db;
}

bool IsDamage(int error)
{
    const int primary = error & 0xFF;
    return primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB;
}

// "<file>.damaged-20260303-140500", or with "-2", "-3", ... when that name is taken.
fs::path AsideName(const fs::path& file)
{
    SYSTEMTIME t;
    GetLocalTime(&t);
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%04u%02u%02u-%02u%02u%02u", t.wYear, t.wMonth, t.wDay,
                  t.wHour, t.wMinute, t.wSecond);
    const std::string base = file.string() + ".damaged-" + stamp;
    fs::path aside = base;
    std::error_code ec;
    for (int n = 2; fs::exists(aside, ec) && n < 1000; ++n) aside = base + "-" + std::to_string(n);
    return aside;
}

// Moves a damaged registry file and its journals aside; false when it cannot be moved (then
// it is left as it is, and the registry stays unusable rather than losing the file).
bool MoveAside(const fs::path& file, fs::path& aside)
{
    aside = AsideName(file);
    std::error_code ec;
    fs::rename(file, aside, ec);
    if (ec) return false;
    for (const char* journal : {"-journal", "-wal", "-shm"}) {
        fs::path from = file;
        from += journal;
        fs::path to = aside;
        to += journal;
        if (fs::exists(from, ec)) fs::rename(from, to, ec);  // a stale journal only goes along
    }
    return true;
}

// Opens the registry file for the current panel root if it is not open yet, moving a damaged
// one aside. Caller holds the registry lock.
sqlite3* Database(Registry& r)
{
    const fs::path wanted =
        r.overrideFile.empty() ? platform::PanelRoot() / "registry.sqlite" : r.overrideFile;
    if (r.db && wanted == r.openedFile) return r.db.get();
    r.db.reset();
    r.opening = platform::RegistryOpening{};
    r.opening.file = wanted;
    int error = SQLITE_OK;
    std::string why;
    Db db = OpenChecked(wanted, error, why);
    if (!db && IsDamage(error)) {
        fs::path aside;
        if (MoveAside(wanted, aside)) {
            std::fprintf(stderr,
                         "panel: the registry %s was damaged (%s); it was moved to %s and a new "
                         "one made\n",
                         wanted.c_str(), why.c_str(), aside.c_str());
            r.opening.outcome = platform::RegistryOpening::Outcome::Recovered;
            r.opening.movedTo = aside;
            r.opening.reason = why;
            db = OpenChecked(wanted, error, why);
        }
    }
    if (!db) {
        r.opening.outcome = platform::RegistryOpening::Outcome::Unusable;
        r.opening.reason = why;
        return nullptr;  // every call fails; nothing is overwritten
    }
    r.db = std::move(db);
    r.openedFile = wanted;
    return r.db.get();
}

// The row id of a key, or 0 when it does not exist.
sqlite3_int64 KeyId(sqlite3* db, const OpenKey& key)
{
    Statement s = Prepare(db, "SELECT id FROM reg_keys WHERE root = ?1 AND path = ?2");
    if (!s) return 0;
    sqlite3_bind_int(s.get(), 1, key.root);
    BindText(s.get(), 2, key.path);
    return sqlite3_step(s.get()) == SQLITE_ROW ? sqlite3_column_int64(s.get(), 0) : 0;
}

HKEY NewKeyHandle(Registry& r, OpenKey key)
{
    const std::uintptr_t id = r.nextKey;
    r.nextKey += 4;
    r.keys.emplace(id, std::move(key));
    return reinterpret_cast<HKEY>(id);
}

constexpr LONG Code(DWORD error)
{
    return static_cast<LONG>(error);
}

// Runs `work` inside one write transaction; rolls back unless it returns ERROR_SUCCESS.
template <class Work>
LONG InTransaction(sqlite3* db, Work&& work)
{
    platform::storage::WriteTransaction transaction(db);
    if (!transaction.Began()) return Code(ERROR_ACCESS_DENIED);
    const LONG result = work();
    if (result != Code(ERROR_SUCCESS)) return result;
    if (!transaction.Commit()) return Code(ERROR_ACCESS_DENIED);
    return result;
}

// What every call on a key starts with: the registry locked for the whole call, the key's
// handle resolved and the registry file open. `failed` is the call's error when the handle is
// unknown or the file cannot be used, else ERROR_SUCCESS.
struct KeyCall {
    // Made in this order: the lock is taken before the handle is resolved.
    Registry& r = Reg();
    std::lock_guard<std::mutex> lock{r.mutex};
    std::optional<OpenKey> key;
    sqlite3* db = nullptr;
    LONG failed = Code(ERROR_INVALID_HANDLE);

    explicit KeyCall(HKEY handle) : key(Resolve(r, handle))
    {
        if (!key) return;
        db = Database(r);
        failed = Code(db != nullptr ? ERROR_SUCCESS : ERROR_ACCESS_DENIED);
    }
};

// A sub key of an open key ("A\B" below "Software" is "Software\A\B").
OpenKey SubKey(const OpenKey& base, const wchar_t* subKey)
{
    return OpenKey{base.root, Join(base.path, NormalisePath(subKey))};
}

// A statement on one value of an existing key, with ?1 bound to the key's row and ?2 to the
// value's name. Null with `failed` ERROR_FILE_NOT_FOUND for a missing key, ERROR_ACCESS_DENIED
// when SQLite refuses the SQL.
struct ValueStatement {
    Statement statement;
    LONG failed = Code(ERROR_SUCCESS);
};

ValueStatement OnValue(sqlite3* db, const OpenKey& key, const char* sql, const wchar_t* name)
{
    const sqlite3_int64 id = KeyId(db, key);
    if (id == 0) return {nullptr, Code(ERROR_FILE_NOT_FOUND)};
    Statement s = Prepare(db, sql);
    if (!s) return {nullptr, Code(ERROR_ACCESS_DENIED)};
    sqlite3_bind_int64(s.get(), 1, id);
    BindText(s.get(), 2, name != nullptr ? platform::Narrow(name) : std::string());
    return {std::move(s)};
}

}  // namespace

LONG RegCreateKeyEx(HKEY root, const wchar_t* subKey, DWORD, wchar_t*, DWORD, REGSAM, void*,
                    HKEY* result, DWORD* disposition)
{
    if (result == nullptr) return Code(ERROR_INVALID_PARAMETER);
    *result = nullptr;
    const KeyCall call(root);
    if (call.failed != Code(ERROR_SUCCESS)) return call.failed;
    sqlite3* db = call.db;
    const OpenKey key = SubKey(*call.key, subKey);

    bool created = false;
    const LONG rc = InTransaction(db, [&]() -> LONG {
        created = KeyId(db, key) == 0;
        // Every folder on the way is a key of its own.
        Statement insert =
            Prepare(db, "INSERT OR IGNORE INTO reg_keys (root, path) VALUES (?1, ?2)");
        if (!insert) return Code(ERROR_ACCESS_DENIED);
        std::size_t at = 0;
        for (;;) {
            at = key.path.find('\\', at);
            const std::string prefix = key.path.substr(0, at);
            sqlite3_reset(insert.get());
            sqlite3_bind_int(insert.get(), 1, key.root);
            BindText(insert.get(), 2, prefix);
            if (sqlite3_step(insert.get()) != SQLITE_DONE) return Code(ERROR_ACCESS_DENIED);
            if (at == std::string::npos) break;
            ++at;
        }
        return Code(ERROR_SUCCESS);
    });
    if (rc != Code(ERROR_SUCCESS)) return rc;
    if (disposition != nullptr)
        *disposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
    *result = NewKeyHandle(call.r, key);
    return Code(ERROR_SUCCESS);
}

LONG RegOpenKeyEx(HKEY root, const wchar_t* subKey, DWORD, REGSAM, HKEY* result)
{
    if (result == nullptr) return Code(ERROR_INVALID_PARAMETER);
    *result = nullptr;
    const KeyCall call(root);
    if (call.failed != Code(ERROR_SUCCESS)) return call.failed;
    const OpenKey key = SubKey(*call.key, subKey);
    if (KeyId(call.db, key) == 0) return Code(ERROR_FILE_NOT_FOUND);
    *result = NewKeyHandle(call.r, key);
    return Code(ERROR_SUCCESS);
}

LONG RegQueryValueEx(HKEY key, const wchar_t* name, DWORD*, DWORD* type, BYTE* data,
                     DWORD* dataLength)
{
    if (data != nullptr && dataLength == nullptr) return Code(ERROR_INVALID_PARAMETER);
    const KeyCall call(key);
    if (call.failed != Code(ERROR_SUCCESS)) return call.failed;
    const ValueStatement value =
        OnValue(call.db, *call.key,
                "SELECT type, data FROM reg_values WHERE key_id = ?1 AND name = ?2", name);
    sqlite3_stmt* s = value.statement.get();
    if (s == nullptr) return value.failed;
    if (sqlite3_step(s) != SQLITE_ROW) return Code(ERROR_FILE_NOT_FOUND);

    const auto storedType = static_cast<DWORD>(sqlite3_column_int64(s, 0));
    const void* blob = sqlite3_column_blob(s, 1);
    const auto size = static_cast<DWORD>(sqlite3_column_bytes(s, 1));
    if (type != nullptr) *type = storedType;
    if (data == nullptr) {
        if (dataLength != nullptr) *dataLength = size;
        return Code(ERROR_SUCCESS);
    }
    if (*dataLength < size) {
        *dataLength = size;
        return Code(ERROR_MORE_DATA);
    }
    if (size > 0) std::memcpy(data, blob, size);
    *dataLength = size;
    return Code(ERROR_SUCCESS);
}

LONG RegSetValueEx(HKEY key, const wchar_t* name, DWORD, DWORD type, const BYTE* data,
                   DWORD dataLength)
{
    if (data == nullptr && dataLength > 0) return Code(ERROR_INVALID_PARAMETER);
    const KeyCall call(key);
    if (call.failed != Code(ERROR_SUCCESS)) return call.failed;
    return InTransaction(call.db, [&]() -> LONG {
        const ValueStatement value = OnValue(call.db, *call.key,
                                             "INSERT OR REPLACE INTO reg_values "
                                             "(key_id, name, type, data) VALUES (?1, ?2, ?3, ?4)",
                                             name);
        sqlite3_stmt* s = value.statement.get();
        if (s == nullptr) return value.failed;
        static const BYTE kEmpty = 0;
        sqlite3_bind_int64(s, 3, type);
        sqlite3_bind_blob(s, 4, data != nullptr ? data : &kEmpty, static_cast<int>(dataLength),
                          SQLITE_TRANSIENT);
        return sqlite3_step(s) == SQLITE_DONE ? Code(ERROR_SUCCESS) : Code(ERROR_ACCESS_DENIED);
    });
}

LONG RegDeleteValue(HKEY key, const wchar_t* name)
{
    const KeyCall call(key);
    if (call.failed != Code(ERROR_SUCCESS)) return call.failed;
    return InTransaction(call.db, [&]() -> LONG {
        const ValueStatement value = OnValue(
            call.db, *call.key, "DELETE FROM reg_values WHERE key_id = ?1 AND name = ?2", name);
        sqlite3_stmt* s = value.statement.get();
        if (s == nullptr) return value.failed;
        if (sqlite3_step(s) != SQLITE_DONE) return Code(ERROR_ACCESS_DENIED);
        return sqlite3_changes(call.db) > 0 ? Code(ERROR_SUCCESS) : Code(ERROR_FILE_NOT_FOUND);
    });
}

LONG RegCloseKey(HKEY key)
{
    if (PredefinedRoot(key) != 0) return Code(ERROR_SUCCESS);
    Registry& r = Reg();
    std::lock_guard lock(r.mutex);
    return r.keys.erase(reinterpret_cast<std::uintptr_t>(key)) > 0 ? Code(ERROR_SUCCESS)
                                                                   : Code(ERROR_INVALID_HANDLE);
}

namespace platform {

void SetRegistryFile(const std::filesystem::path& file)
{
    Registry& r = Reg();
    std::lock_guard lock(r.mutex);
    r.overrideFile = file;
}

void CloseRegistry()
{
    Registry& r = Reg();
    std::lock_guard lock(r.mutex);
    r.db.reset();
    r.openedFile.clear();
}

RegistryOpening OpenRegistry()
{
    Registry& r = Reg();
    std::lock_guard lock(r.mutex);
    Database(r);
    return r.opening;
}

}  // namespace platform
