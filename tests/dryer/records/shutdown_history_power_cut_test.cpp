// A power cut while the decoder adds shutdown records: a child process adds records as fast as
// it can and is killed outright (SIGKILL, as a power cut stops the panel) at a different moment
// each round. Every time the volume must still be a sound database whose records are all whole
// (three properties), which the history lists and to which it adds again.
#include <gtest/gtest.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>

#include "dryer/records/shutdown_history.h"
#include "platform/storage/record_store.h"
#include "tests/dryer/records/history_test_support.h"

namespace {

using history_test::HistoryFolder;

// SQLite's own check of the file, below the record store (which would hide a damaged page).
std::string IntegrityOf(const std::filesystem::path& file)
{
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        return "cannot open";
    }
    std::string result = "no answer";
    sqlite3_stmt* s = nullptr;
    if (sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &s, nullptr) == SQLITE_OK &&
        sqlite3_step(s) == SQLITE_ROW) {
        result = reinterpret_cast<const char*>(sqlite3_column_text(s, 0));
    }
    sqlite3_finalize(s);
    sqlite3_close(db);
    return result;
}

// Every record the store returns, each with its three properties.
std::size_t WholeRecords()
{
    auto volume = platform::RecordVolume::Mount(kShutdownHistoryVolume);
    if (!volume) return 0;
    auto db = volume->OpenDatabase(kShutdownHistoryDatabase, 2);
    if (!db) return 0;
    std::size_t whole = 0;
    while (auto record = db->ReadNext()) {
        EXPECT_EQ(record->size(), 3u);
        if (record->size() == 3) ++whole;
    }
    EXPECT_EQ(whole, db->RecordCount());
    return whole;
}

// The child: adds records until it is killed. It never returns into the test framework.
[[noreturn]] void AddForever()
{
    for (std::uint8_t i = 0;; ++i) AddShutdownRecord(0x0E, static_cast<std::uint8_t>(1 + i % 25));
}

using ShutdownHistoryPowerCut = HistoryFolder;

TEST_F(ShutdownHistoryPowerCut, KilledDuringAddsLeavesASoundHistory)
{
    CreateShutdownHistoryIfMissing();
    std::size_t before = 0;
    int interrupted = 0;  // rounds killed inside a write, its journal left behind
    for (int round = 0; round < 25; ++round) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) AddForever();
        // A different moment in the write each round: from before the first add to deep
        // inside a run of them.
        std::this_thread::sleep_for(std::chrono::microseconds(300 + (round * 7919) % 20000));
        ASSERT_EQ(::kill(child, SIGKILL), 0);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status));
        if (std::filesystem::exists(Volume().string() + "-journal")) ++interrupted;

        ASSERT_EQ(IntegrityOf(Volume()), "ok") << "round " << round;
        const std::size_t after = WholeRecords();
        EXPECT_GE(after, before) << "round " << round;  // nothing written before is lost
        before = after;
        EXPECT_EQ(ReadShutdownHistory(ShutdownSort::byDateTime).size(), after);
    }
    EXPECT_GT(before, 0u);  // the children did get records in
    RecordProperty("interrupted_writes", interrupted);
    std::printf("%d of 25 rounds were killed inside a write\n", interrupted);
    AddShutdownRecord(0x0E, 8);
    EXPECT_EQ(WholeRecords(), before + 1);
}

}  // namespace
