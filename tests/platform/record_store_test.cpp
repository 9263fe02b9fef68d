// The record store: volumes, databases, writing records and reading them back in each sort
// order, with ties, as the shutdown history uses it.
#include "platform/storage/record_store.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/runtime/threads.h"
#include "platform/storage/files.h"

namespace {

namespace fs = std::filesystem;
using platform::MakeRecordPropertyId;
using platform::Record;
using platform::RecordProperty;
using platform::RecordSortOrder;
using platform::RecordVolume;

constexpr const wchar_t* kVolume = L"\\Hard Disk\\ShutdownHistoryDB";
constexpr const wchar_t* kName = L"ShutdownHistoryDB";
constexpr DWORD kText = MakeRecordPropertyId(1, platform::kRecordWideString);
constexpr DWORD kNode = MakeRecordPropertyId(2, platform::kRecordWideString);
constexpr DWORD kWhen = MakeRecordPropertyId(3, platform::kRecordFileTime);

const std::vector<RecordSortOrder> kOrders = {
    {kText, kNode, kWhen},  // by warning
    {kNode, kText, kWhen},  // by node
    {kWhen, kText, kNode},  // by date and time
};

class RecordStore : public ::testing::Test {
protected:
    void SetUp() override
    {
        root_ = fs::temp_directory_path() /
                ("panel-records-" + std::to_string(::getpid()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root_);
        fs::create_directories(root_ / "Hard Disk");
        platform::SetPanelRoots(root_, {});
    }
    void TearDown() override { fs::remove_all(root_); }

    fs::path root_;
};

// A shutdown record with a fourth property that tells otherwise equal records apart.
Record Shutdown(const wchar_t* text, const wchar_t* node, DWORD when, const wchar_t* tag)
{
    return {RecordProperty::Text(1, text), RecordProperty::Text(2, node),
            RecordProperty::Time(3, FILETIME{when, 0}), RecordProperty::Text(4, tag)};
}

std::vector<std::wstring> TagsInOrder(RecordVolume& volume, std::size_t order)
{
    std::vector<std::wstring> tags;
    auto db = volume.OpenDatabase(kName, order);
    EXPECT_TRUE(db.has_value());
    if (!db) return tags;
    db->SeekToBeginning();
    while (auto record = db->ReadNext()) {
        EXPECT_EQ(record->size(), 4u);
        tags.push_back(
            record->size() == 4 && record->at(3).text() != nullptr ? *record->at(3).text() : L"?");
    }
    return tags;
}

TEST_F(RecordStore, ReadsInEachSortOrderWithTiesInWriteOrder)
{
    auto volume = RecordVolume::Mount(kVolume);
    ASSERT_TRUE(volume.has_value());
    ASSERT_TRUE(volume->CreateDatabase(kName, 0, kOrders));
    auto db = volume->OpenDatabase(kName, 0);
    ASSERT_TRUE(db.has_value());
    ASSERT_TRUE(db->WriteRecord(Shutdown(L"0E08 - MAIN I/O - X", L"MAIN I/O", 300, L"a")));
    ASSERT_TRUE(db->WriteRecord(Shutdown(L"0101 - DISPLAY I/O - Y", L"DISPLAY I/O", 100, L"b")));
    ASSERT_TRUE(db->WriteRecord(Shutdown(L"0E08 - MAIN I/O - X", L"MAIN I/O", 200, L"c")));
    ASSERT_TRUE(db->WriteRecord(Shutdown(L"0205 - FAN", L"FAN/HEATER #1", 200, L"d")));
    ASSERT_TRUE(db->WriteRecord(Shutdown(L"0E08 - MAIN I/O - X", L"MAIN I/O", 200, L"e")));
    EXPECT_EQ(db->RecordCount(), 5u);

    using Tags = std::vector<std::wstring>;
    EXPECT_EQ(TagsInOrder(*volume, 0), (Tags{L"b", L"d", L"c", L"e", L"a"}));
    EXPECT_EQ(TagsInOrder(*volume, 1), (Tags{L"b", L"d", L"c", L"e", L"a"}));
    EXPECT_EQ(TagsInOrder(*volume, 2), (Tags{L"b", L"d", L"c", L"e", L"a"}));

    // The first text, the last node name and the latest time tell the three orders apart.
    ASSERT_TRUE(db->WriteRecord(Shutdown(L"0001 - A", L"ZZ NODE", 999, L"f")));
    EXPECT_EQ(TagsInOrder(*volume, 0), (Tags{L"f", L"b", L"d", L"c", L"e", L"a"}));
    EXPECT_EQ(TagsInOrder(*volume, 1), (Tags{L"b", L"d", L"c", L"e", L"a", L"f"}));
    EXPECT_EQ(TagsInOrder(*volume, 2), (Tags{L"b", L"d", L"c", L"e", L"a", L"f"}));
    ASSERT_TRUE(db->WriteRecord(Shutdown(L"0E08 - MAIN I/O - X", L"A NODE", 1, L"g")));
    EXPECT_EQ(TagsInOrder(*volume, 0), (Tags{L"f", L"b", L"d", L"g", L"c", L"e", L"a"}));
    EXPECT_EQ(TagsInOrder(*volume, 1), (Tags{L"g", L"b", L"d", L"c", L"e", L"a", L"f"}));
    EXPECT_EQ(TagsInOrder(*volume, 2), (Tags{L"g", L"b", L"d", L"c", L"e", L"a", L"f"}));
}

TEST_F(RecordStore, KeepsPropertiesAndRecordsAcrossMounts)
{
    {
        auto volume = RecordVolume::Mount(kVolume);
        ASSERT_TRUE(volume.has_value());
        ASSERT_TRUE(volume->CreateDatabase(kName, 0, kOrders));
        auto db = volume->OpenDatabase(kName, 0);
        ASSERT_TRUE(db->WriteRecord(
            Shutdown(L"0E08 - MAIN I/O - OUT OF GRAIN TIMER EXPIRED", L"MAIN I/O", 77, L"\u00b0")));
    }
    EXPECT_TRUE(fs::exists(root_ / "Hard Disk" / "ShutdownHistoryDB"));
    auto volume = RecordVolume::Mount(L"\\hard disk\\shutdownhistorydb");
    ASSERT_TRUE(volume.has_value());
    SetLastError(0);
    EXPECT_FALSE(volume->CreateDatabase(kName, 0, kOrders));
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    auto db = volume->OpenDatabase(kName, 2);
    ASSERT_TRUE(db.has_value());
    EXPECT_EQ(db->RecordCount(), 1u);
    auto record = db->ReadNext();
    ASSERT_TRUE(record.has_value());
    ASSERT_EQ(record->size(), 4u);
    EXPECT_EQ((*record)[0].id, kText);
    EXPECT_EQ(*(*record)[0].text(), L"0E08 - MAIN I/O - OUT OF GRAIN TIMER EXPIRED");
    EXPECT_EQ(*(*record)[1].text(), L"MAIN I/O");
    EXPECT_EQ((*record)[2].id, kWhen);
    EXPECT_EQ((*record)[2].time()->dwLowDateTime, 77u);
    EXPECT_EQ(*(*record)[3].text(), L"\u00b0");
    EXPECT_FALSE(db->ReadNext().has_value());
    EXPECT_TRUE(db->SeekToBeginning());
    EXPECT_TRUE(db->ReadNext().has_value());
}

TEST_F(RecordStore, DeletingTheVolumeFileClearsIt)
{
    {
        auto volume = RecordVolume::Mount(kVolume);
        ASSERT_TRUE(volume->CreateDatabase(kName, 0, kOrders));
        volume->OpenDatabase(kName, 0)->WriteRecord(Shutdown(L"x", L"y", 1, L"z"));
    }
    ASSERT_TRUE(DeleteFile(kVolume));
    auto volume = RecordVolume::Mount(kVolume);
    ASSERT_TRUE(volume.has_value());
    SetLastError(0);
    EXPECT_FALSE(volume->OpenDatabase(kName, 0).has_value());
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    ASSERT_TRUE(volume->CreateDatabase(kName, 0, kOrders));
    EXPECT_EQ(volume->OpenDatabase(kName, 0)->RecordCount(), 0u);
}

TEST_F(RecordStore, DeletingAVolumeTakesItsLeftoverJournalAlong)
{
    {
        auto volume = RecordVolume::Mount(kVolume);
        ASSERT_TRUE(volume->CreateDatabase(kName, 0, kOrders));
        volume->OpenDatabase(kName, 0)->WriteRecord(Shutdown(L"x", L"y", 1, L"z"));
    }
    const fs::path file = root_ / "Hard Disk" / "ShutdownHistoryDB";
    // What a power cut in the middle of a write leaves beside the volume.
    std::ofstream(file.string() + "-journal") << "journal of a write that never finished";
    EXPECT_TRUE(platform::DeleteRecordVolume(kVolume));
    EXPECT_FALSE(fs::exists(file));
    EXPECT_FALSE(fs::exists(file.string() + "-journal"));
    auto volume = RecordVolume::Mount(kVolume);
    ASSERT_TRUE(volume.has_value());
    EXPECT_FALSE(volume->OpenDatabase(kName, 0).has_value());

    SetLastError(0);
    EXPECT_FALSE(platform::DeleteRecordVolume(L"\\Hard Disk\\None"));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
}

TEST_F(RecordStore, VolumeThatCannotBeDeletedKeepsItsJournal)
{
    const fs::path blocked = root_ / "Hard Disk" / "Blocked";
    fs::create_directories(blocked / "inside");  // not a file: it cannot be deleted as one
    std::ofstream(blocked.string() + "-journal") << "journal";
    EXPECT_FALSE(platform::DeleteRecordVolume(L"\\Hard Disk\\Blocked"));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_TRUE(fs::exists(blocked.string() + "-journal"));
}

TEST_F(RecordStore, RefusesWhatItCannotKeep)
{
    auto volume = RecordVolume::Mount(kVolume);
    ASSERT_TRUE(volume.has_value());
    const std::vector<RecordSortOrder> five(5, RecordSortOrder{kText});
    EXPECT_FALSE(volume->CreateDatabase(L"Too many", 0, five));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_FALSE(volume->CreateDatabase(L"", 0, kOrders));
    ASSERT_TRUE(volume->CreateDatabase(kName, 0, kOrders));
    EXPECT_FALSE(volume->OpenDatabase(kName, 3).has_value());
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);

    auto db = volume->OpenDatabase(kName, 0);
    Record wrongType = {{MakeRecordPropertyId(1, platform::kRecordFileTime), std::wstring(L"x")}};
    EXPECT_FALSE(db->WriteRecord(wrongType));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(db->RecordCount(), 0u);

    EXPECT_FALSE(RecordVolume::Mount(L"\\Hard Disk\\No Folder\\Volume").has_value());
    std::ofstream(root_ / "Hard Disk" / "Garbage") << "not a volume file, only some text here...";
    EXPECT_FALSE(RecordVolume::Mount(L"\\Hard Disk\\Garbage").has_value());
}

TEST_F(RecordStore, RecordsWithoutAKeySortLast)
{
    auto volume = RecordVolume::Mount(kVolume);
    ASSERT_TRUE(volume->CreateDatabase(kName, 0, kOrders));
    auto db = volume->OpenDatabase(kName, 2);
    ASSERT_TRUE(
        db->WriteRecord({RecordProperty::Text(1, L"no time"), RecordProperty::Text(4, L"n")}));
    ASSERT_TRUE(db->WriteRecord(Shutdown(L"t", L"node", 5, L"t")));
    db->SeekToBeginning();
    auto first = db->ReadNext();
    ASSERT_TRUE(first.has_value());
    EXPECT_EQ(*first->back().text(), L"t");
    auto second = db->ReadNext();
    ASSERT_TRUE(second.has_value());
    EXPECT_EQ(second->size(), 2u);
}

}  // namespace
