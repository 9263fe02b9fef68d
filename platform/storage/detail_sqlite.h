// The SQLite pieces that the registry and the record store share: an open file and a prepared
// statement as owned values, opening a file the way every panel file on SQLite is opened,
// running SQL, binding text, and a write transaction that rolls back unless it is committed.
// Not for application code.
#pragma once

#include <sqlite3.h>

#include <filesystem>
#include <memory>
#include <string>

namespace platform::storage {

struct DbClose {
    void operator()(sqlite3* db) const { sqlite3_close(db); }
};
struct StatementFinalize {
    void operator()(sqlite3_stmt* s) const { sqlite3_finalize(s); }
};
using Db = std::unique_ptr<sqlite3, DbClose>;
using Statement = std::unique_ptr<sqlite3_stmt, StatementFinalize>;

// Opens a file for reading and writing, creating it when it is missing, waits up to two seconds
// for another panel program that is writing to it, and makes the schema (statements that
// create what is missing). Null on failure, with SQLite's result code in `error` and its text
// in `why`.
Db OpenWithSchema(const std::filesystem::path& file, const char* schema, int& error,
                  std::string& why);

// Runs SQL without results; false when SQLite refused it.
bool Exec(sqlite3* db, const char* sql);

// A prepared statement, or null when SQLite refused the SQL.
Statement Prepare(sqlite3* db, const char* sql);

// Binds a copy of `text` to the parameter at `index` (1 for ?1).
void BindText(sqlite3_stmt* s, int index, const std::string& text);

// One write transaction (BEGIN IMMEDIATE) for a scope: rolled back when the scope ends without
// a successful Commit. A failed rollback leaves nothing changed either.
class WriteTransaction {
public:
    explicit WriteTransaction(sqlite3* db);
    ~WriteTransaction();
    WriteTransaction(const WriteTransaction&) = delete;
    WriteTransaction& operator=(const WriteTransaction&) = delete;

    // False when the transaction could not begin (another writer held the file too long).
    bool Began() const { return open_; }
    // COMMIT; false when it failed, and the transaction is then rolled back at the end.
    bool Commit();

private:
    sqlite3* db_;
    bool open_;
};

}  // namespace platform::storage
