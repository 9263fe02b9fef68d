// Opening a panel file on SQLite, running and preparing SQL, and write transactions: what the
// registry and the record store share.
#include "platform/storage/detail_sqlite.h"

namespace platform::storage {

namespace {

constexpr int kBusyTimeoutMs = 2000;  // another panel program may be writing at hand-over

}  // namespace

Db OpenWithSchema(const std::filesystem::path& file, const char* schema, int& error,
                  std::string& why)
{
    sqlite3* raw = nullptr;
    error =
        sqlite3_open_v2(file.c_str(), &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    Db db(raw);
    const auto failed = [&] {
        why = db ? sqlite3_errmsg(db.get()) : sqlite3_errstr(error);
        return Db();
    };
    if (error != SQLITE_OK) return failed();
    sqlite3_busy_timeout(db.get(), kBusyTimeoutMs);
    if (!Exec(db.get(), schema)) {
        error = sqlite3_errcode(db.get());
        return failed();
    }
    return db;
}

bool Exec(sqlite3* db, const char* sql)
{
    return sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

Statement Prepare(sqlite3* db, const char* sql)
{
    sqlite3_stmt* s = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &s, nullptr) != SQLITE_OK) {
        sqlite3_finalize(s);
        return nullptr;
    }
    return Statement(s);
}

void BindText(sqlite3_stmt* s, int index, const std::string& text)
{
    sqlite3_bind_text(s, index, text.c_str(), -1, SQLITE_TRANSIENT);
}

WriteTransaction::WriteTransaction(sqlite3* db) : db_(db), open_(Exec(db, "BEGIN IMMEDIATE")) {}

WriteTransaction::~WriteTransaction()
{
    if (open_) Exec(db_, "ROLLBACK");  // a failed rollback leaves nothing changed either
}

bool WriteTransaction::Commit()
{
    if (!open_ || !Exec(db_, "COMMIT")) return false;
    open_ = false;
    return true;
}

}  // namespace platform::storage
