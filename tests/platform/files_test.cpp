// Panel files: path mapping, name patterns, the create dispositions, reading and writing,
// finding, copying, moving, folders, attributes and free space.
#include "platform/storage/files.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "platform/runtime/threads.h"

namespace {

namespace fs = std::filesystem;

class PanelFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        root_ = fs::temp_directory_path() /
                ("panel-files-" + std::to_string(::getpid()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root_);
        fs::create_directories(root_ / "Hard Disk" / "DataLog");
        fs::create_directories(root_ / "usb");
        platform::SetPanelRoots(root_, root_ / "usb");
    }
    void TearDown() override { fs::remove_all(root_); }

    void Put(const fs::path& p, const std::string& text) { std::ofstream(root_ / p) << text; }
    std::string Get(const fs::path& p)
    {
        std::ifstream in(root_ / p);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    fs::path root_;
};

// ---- path mapping ----

struct MapCase {
    const wchar_t* panel;
    const char* host;  // relative to the panel root
};

TEST_F(PanelFiles, MapsPanelPathsUnderTheRoots)
{
    const MapCase cases[] = {
        {L"\\Hard Disk\\DataLog\\x.dat", "Hard Disk/DataLog/x.dat"},
        {L"\\hard disk\\datalog\\x.dat", "Hard Disk/DataLog/x.dat"},  // existing folders' case
        {L"\\HARD DISK\\New\\Deeper\\y.txt", "Hard Disk/New/Deeper/y.txt"},
        {L"\\Hard Disk2\\DryerDataLog.dat", "usb/DryerDataLog.dat"},
        {L"\\hard disk2\\a\\b", "usb/a/b"},
        {L"USB Storage\\Release\\file.bin", "usb/Release/file.bin"},
        {L"\\USB Storage\\x", "usb/x"},
        {L"\\registry.sqlite", "registry.sqlite"},
        {L"relative.txt", "relative.txt"},
        {L"/Hard Disk/DataLog/", "Hard Disk/DataLog"},
        {L"\\Hard Disk\\\\DataLog\\.\\z", "Hard Disk/DataLog/z"},
        {L"\\Hard Disk\\..\\..\\..\\etc\\passwd", "etc/passwd"},  // never above the root
        {L"\\Hard Disk2\\..\\..\\x", "usb/x"},
        {L"\\", ""},
        {L"", ""},
    };
    for (const auto& c : cases) {
        const fs::path expected = std::string(c.host).empty() ? root_ : root_ / c.host;
        EXPECT_EQ(platform::MapPanelPath(c.panel), expected) << platform::Narrow(c.panel);
    }
}

TEST_F(PanelFiles, MatchesExistingNamesWhateverTheirCase)
{
    Put("Hard Disk/DataLog/ShortTerm_A.DAT", "x");
    EXPECT_EQ(platform::MapPanelPath(L"\\HARD DISK\\DATALOG\\shortterm_a.dat"),
              root_ / "Hard Disk/DataLog/ShortTerm_A.DAT");
    Put("Hard Disk/Releases.ZIP", "x");
    EXPECT_EQ(platform::MapPanelPath(L"\\hard disk\\releases.zip"),
              root_ / "Hard Disk/Releases.ZIP");
}

// ---- patterns ----

struct PatternCase {
    const wchar_t* pattern;
    const wchar_t* name;
    bool matches;
};

TEST(PanelPattern, MatchesLikeThePanel)
{
    const PatternCase cases[] = {
        {L"*", L"anything", true},
        {L"*.*", L"noextension", true},
        {L"*.*", L"a.b.c", true},
        {L"*.dat", L"LOG.DAT", true},
        {L"*.dat", L"log.data", false},
        {L"*.dat", L".dat", true},
        {L"CAN_DRYER_P???", L"CAN_DRYER_P123", true},
        {L"CAN_DRYER_P???", L"can_dryer_p12", false},
        {L"CAN_DRYER_P???", L"CAN_DRYER_P1234", false},
        {L"a*b*c", L"aXXbYYc", true},
        {L"a*b*c", L"aXXbYY", false},
        {L"a*b", L"abab", true},
        {L"*x", L"", false},
        {L"", L"", true},
        {L"", L"a", false},
        {L"?", L"", false},
        {L"**", L"", true},
        {L"*?*", L"z", true},
        {L"DataLog", L"datalog", true},
        {L"Data?og", L"DataLog", true},
        {L"Data?og", L"Data/og", true},
        {L"\u00e9t\u00e9*", L"\u00c9T\u00c9.txt", true},
        // the edges of the letters that fold: A and Z and their neighbours, which do not
        {L"*.zip", L"A.ZIP", true},
        {L"a", L"A", true},
        {L"@", L"`", false},
        {L"[", L"{", false},
        {L"\u00e0", L"\u00c0", true},
        {L"\u00fe", L"\u00de", true},
        {L"\u00ff", L"\u00df", false},
        {L"\u00f7", L"\u00d7", false},
        {L"\u00df", L"\u00bf", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(platform::MatchPattern(c.pattern, c.name), c.matches)
            << platform::Narrow(c.pattern) << " vs " << platform::Narrow(c.name);
    }
}

TEST(PanelText, WidensAndNarrowsUtf8)
{
    const std::wstring wide = L"Temp 25\u00b0C \u20ac \U0001F600";
    EXPECT_EQ(platform::Widen(platform::Narrow(wide)), wide);
    EXPECT_EQ(platform::Narrow(L"\u00b0"), "\xC2\xB0");
    EXPECT_EQ(platform::Widen("abc"), L"abc");
    EXPECT_EQ(platform::Widen("\xFF"
                              "a"),
              L"\uFFFDa");                                    // stray byte
    EXPECT_EQ(platform::Widen("\xC2"), L"\uFFFD");            // cut short
    EXPECT_EQ(platform::Widen("\xC0\x80"), L"\uFFFD\uFFFD");  // overlong
}

// ---- create dispositions ----

HANDLE Create(const wchar_t* path, DWORD disposition, DWORD access = GENERIC_READ | GENERIC_WRITE)
{
    return CreateFile(path, access, 0, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

TEST_F(PanelFiles, CreateDispositionsBehaveAsOnThePanel)
{
    const wchar_t* path = L"\\Hard Disk\\d.txt";
    SetLastError(99);
    HANDLE h = Create(path, OPEN_EXISTING);
    EXPECT_EQ(h, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);

    h = Create(path, OPEN_ALWAYS);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
    DWORD n = 0;
    ASSERT_TRUE(WriteFile(h, "hello", 5, &n, nullptr));
    EXPECT_EQ(n, 5u);
    CloseHandle(h);

    h = Create(path, OPEN_ALWAYS);
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    EXPECT_EQ(GetFileSize(h, nullptr), 5u);  // open-always keeps the contents
    CloseHandle(h);

    EXPECT_EQ(Create(path, CREATE_NEW), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_FILE_EXISTS);

    h = Create(path, TRUNCATE_EXISTING);
    EXPECT_EQ(GetFileSize(h, nullptr), 0u);
    CloseHandle(h);

    h = Create(path, CREATE_ALWAYS);
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    CloseHandle(h);

    EXPECT_EQ(Create(L"\\Hard Disk\\Missing\\x.txt", OPEN_ALWAYS), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(Create(L"\\Hard Disk\\DataLog", OPEN_EXISTING), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_EQ(Create(path, 77), INVALID_HANDLE_VALUE);
    EXPECT_EQ(CreateFile(nullptr, 0, 0, nullptr, OPEN_EXISTING, 0, nullptr), INVALID_HANDLE_VALUE);
}

TEST_F(PanelFiles, ReadsWritesSeeksAndTruncates)
{
    HANDLE h = Create(L"\\Hard Disk\\DataLog\\log.dat", CREATE_ALWAYS);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    DWORD n = 0;
    ASSERT_TRUE(WriteFile(h, "0123456789", 10, &n, nullptr));
    EXPECT_EQ(SetFilePointer(h, 2, nullptr, FILE_BEGIN), 2u);
    char buf[4] = {};
    ASSERT_TRUE(ReadFile(h, buf, 3, &n, nullptr));
    EXPECT_EQ(std::string(buf, n), "234");
    EXPECT_EQ(SetFilePointer(h, -2, nullptr, FILE_END), 8u);
    EXPECT_EQ(SetFilePointer(h, 1, nullptr, FILE_CURRENT), 9u);
    ASSERT_TRUE(ReadFile(h, buf, 3, &n, nullptr));
    EXPECT_EQ(n, 1u);
    ASSERT_TRUE(ReadFile(h, buf, 3, &n, nullptr));  // at the end: success, nothing read
    EXPECT_EQ(n, 0u);
    EXPECT_EQ(SetFilePointer(h, -20, nullptr, FILE_BEGIN), INVALID_SET_FILE_POINTER);
    SetFilePointer(h, 4, nullptr, FILE_BEGIN);
    EXPECT_TRUE(SetEndOfFile(h));
    DWORD high = 9;
    EXPECT_EQ(GetFileSize(h, &high), 4u);
    EXPECT_EQ(high, 0u);
    EXPECT_TRUE(FlushFileBuffers(h));
    FILETIME created, accessed, written;
    EXPECT_TRUE(GetFileTime(h, &created, &accessed, &written));
    SYSTEMTIME st;
    ASSERT_TRUE(FileTimeToSystemTime(&written, &st));
    EXPECT_GE(st.wYear, 2020);
    EXPECT_TRUE(CloseHandle(h));
    EXPECT_EQ(Get("Hard Disk/DataLog/log.dat"), "0123");

    EXPECT_FALSE(ReadFile(h, buf, 1, &n, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_FALSE(WriteFile(h, buf, 1, &n, nullptr));
    EXPECT_EQ(GetFileSize(h, nullptr), INVALID_FILE_SIZE);
    EXPECT_FALSE(GetFileTime(h, nullptr, nullptr, nullptr));
}

TEST_F(PanelFiles, AFullDiskFailsTheWrite)
{
    if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full on this host";
    platform::SetPanelRoots("/dev", root_ / "usb");
    HANDLE h = CreateFile(L"\\full", GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    DWORD n = 99;
    EXPECT_FALSE(WriteFile(h, "x", 1, &n, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_DISK_FULL);
    EXPECT_EQ(n, 0u);
    CloseHandle(h);
}

TEST_F(PanelFiles, AFullDiskCanBeMadeToHappenOnDemand)
{
    HANDLE h = Create(L"\\Hard Disk\\DataLog\\log.dat", CREATE_ALWAYS);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    DWORD n = 0;
    platform::FailFileWrites(2, 3);  // the next two writes stop after three bytes
    EXPECT_FALSE(WriteFile(h, "0123456789", 10, &n, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_DISK_FULL);
    EXPECT_EQ(n, 3u);
    EXPECT_FALSE(WriteFile(h, "abcdef", 6, &n, nullptr));
    EXPECT_EQ(n, 3u);
    EXPECT_TRUE(WriteFile(h, "XY", 2, &n, nullptr));  // the disk has room again
    EXPECT_EQ(n, 2u);
    platform::FailFileWrites(5);
    platform::FailFileWrites(0);  // called off
    EXPECT_TRUE(WriteFile(h, "Z", 1, &n, nullptr));
    EXPECT_TRUE(CloseHandle(h));
    EXPECT_EQ(Get("Hard Disk/DataLog/log.dat"), "012abcXYZ");
}

// ---- finding ----

std::set<std::wstring> FindAll(const wchar_t* pattern)
{
    std::set<std::wstring> names;
    WIN32_FIND_DATA data;
    HANDLE h = FindFirstFile(pattern, &data);
    if (h == INVALID_HANDLE_VALUE) return names;
    do {
        names.insert(data.cFileName);
    } while (FindNextFile(h, &data));
    EXPECT_EQ(GetLastError(), ERROR_NO_MORE_FILES);
    EXPECT_TRUE(FindClose(h));
    return names;
}

TEST_F(PanelFiles, FindsFilesAndFoldersByPattern)
{
    Put("Hard Disk/CAN_DRYER_P101", "");
    Put("Hard Disk/CAN_DRYER_P2", "");
    Put("Hard Disk/notes.TXT", "abc");
    fs::create_directories(root_ / "Hard Disk/CAN_DRYER_P777");

    using Set = std::set<std::wstring>;
    EXPECT_EQ(FindAll(L"\\Hard Disk\\CAN_DRYER_P???"), (Set{L"CAN_DRYER_P101", L"CAN_DRYER_P777"}));
    EXPECT_EQ(FindAll(L"\\hard disk\\*.txt"), (Set{L"notes.TXT"}));
    EXPECT_EQ(FindAll(L"\\Hard Disk\\*.*"), (Set{L"CAN_DRYER_P101", L"CAN_DRYER_P2",
                                                 L"CAN_DRYER_P777", L"DataLog", L"notes.TXT"}));
    EXPECT_EQ(FindAll(L"\\Hard Disk\\nothing*"), Set{});
    EXPECT_EQ(FindAll(L"\\No Such Folder\\*"), Set{});

    WIN32_FIND_DATA data;
    HANDLE h = FindFirstFile(L"\\Hard Disk\\notes.txt", &data);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_EQ(std::wstring(data.cFileName), L"notes.TXT");
    EXPECT_EQ(data.nFileSizeLow, 3u);
    EXPECT_EQ(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY, 0u);
    FindClose(h);

    h = FindFirstFile(L"\\Hard Disk\\CAN_DRYER_P777", &data);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_NE(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY, 0u);
    EXPECT_FALSE(FindClose(reinterpret_cast<HANDLE>(0x55)));
    EXPECT_TRUE(FindClose(h));
    EXPECT_FALSE(FindClose(h));
    EXPECT_FALSE(FindNextFile(h, &data));
}

TEST_F(PanelFiles, FindingTheUsbFolderTellsWhetherTheDriveIsThere)
{
    WIN32_FIND_DATA data;
    HANDLE h = FindFirstFile(L"\\Hard Disk2", &data);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    FindClose(h);
    fs::remove_all(root_ / "usb");
    EXPECT_EQ(FindFirstFile(L"\\Hard Disk2", &data), INVALID_HANDLE_VALUE);
}

// ---- whole files and folders ----

TEST_F(PanelFiles, CopiesWithOrWithoutOverwrite)
{
    Put("Hard Disk/a.txt", "new");
    Put("usb/a.txt", "old");
    EXPECT_FALSE(CopyFile(L"\\Hard Disk\\a.txt", L"\\Hard Disk2\\a.txt", TRUE));
    EXPECT_EQ(GetLastError(), ERROR_FILE_EXISTS);
    EXPECT_EQ(Get("usb/a.txt"), "old");
    EXPECT_TRUE(CopyFile(L"\\Hard Disk\\a.txt", L"\\Hard Disk2\\a.txt", FALSE));
    EXPECT_EQ(Get("usb/a.txt"), "new");
    EXPECT_TRUE(CopyFile(L"\\Hard Disk\\a.txt", L"USB Storage\\b.txt", TRUE));
    EXPECT_EQ(Get("usb/b.txt"), "new");
    EXPECT_FALSE(CopyFile(L"\\Hard Disk\\none.txt", L"\\Hard Disk2\\c.txt", FALSE));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(fs::exists(root_ / "usb/c.txt"));
    EXPECT_FALSE(CopyFile(L"\\Hard Disk\\a.txt", L"\\Hard Disk2\\nofolder\\c.txt", FALSE));
    EXPECT_EQ(FindAll(L"\\Hard Disk2\\*"), (std::set<std::wstring>{L"a.txt", L"b.txt"}));
}

// A copy that the disk cuts short (a full disk, a pulled drive) fails and leaves the earlier
// target whole, with no part file beside it.
TEST_F(PanelFiles, ACopyCutShortLeavesTheEarlierTargetWhole)
{
    const std::string big(200 * 1024, 'n');  // more than one chunk of the copy
    Put("usb/nk.bin", big);
    Put("Hard Disk/nk.bin", "the old system");
    platform::FailFileWrites(1, 1000);  // the first chunk stops after 1000 bytes
    EXPECT_FALSE(CopyFile(L"\\Hard Disk2\\nk.bin", L"\\Hard Disk\\nk.bin", FALSE));
    EXPECT_EQ(GetLastError(), ERROR_DISK_FULL);
    EXPECT_EQ(Get("Hard Disk/nk.bin"), "the old system");
    platform::FailFileWrites(1);
    EXPECT_FALSE(CopyFile(L"\\Hard Disk2\\nk.bin", L"\\Hard Disk\\new.bin", FALSE));
    EXPECT_FALSE(fs::exists(root_ / "Hard Disk/new.bin"));
    for (const auto& entry : fs::directory_iterator(root_ / "Hard Disk")) {
        EXPECT_EQ(entry.path().filename().string().find("part"), std::string::npos) << entry.path();
    }
    EXPECT_TRUE(CopyFile(L"\\Hard Disk2\\nk.bin", L"\\Hard Disk\\nk.bin", FALSE));
    EXPECT_EQ(Get("Hard Disk/nk.bin"), big);
}

// A symbolic link is reported as one, found or asked for by name; a caller that deletes must
// be able to tell it from the folder it points at.
TEST_F(PanelFiles, LinksAreMarked)
{
    fs::create_directories(root_ / "elsewhere");
    fs::create_directory_symlink(root_ / "elsewhere", root_ / "Hard Disk/linked");
    Put("Hard Disk/plain.txt", "x");
    const DWORD linked = GetFileAttributes(L"\\Hard Disk\\linked");
    EXPECT_NE(linked & FILE_ATTRIBUTE_DIRECTORY, 0u);
    EXPECT_NE(linked & FILE_ATTRIBUTE_REPARSE_POINT, 0u);
    EXPECT_EQ(GetFileAttributes(L"\\Hard Disk\\plain.txt") & FILE_ATTRIBUTE_REPARSE_POINT, 0u);
    WIN32_FIND_DATA data;
    HANDLE h = FindFirstFile(L"\\Hard Disk\\l*", &data);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_NE(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT, 0u);
    FindClose(h);
}

TEST_F(PanelFiles, DeletesAndMovesFiles)
{
    Put("Hard Disk/a.txt", "a");
    Put("Hard Disk/b.txt", "b");
    EXPECT_FALSE(MoveFile(L"\\Hard Disk\\a.txt", L"\\Hard Disk\\b.txt"));
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    EXPECT_TRUE(MoveFile(L"\\Hard Disk\\a.txt", L"\\Hard Disk2\\moved.txt"));
    EXPECT_EQ(Get("usb/moved.txt"), "a");
    EXPECT_TRUE(DeleteFile(L"\\HARD DISK\\B.TXT"));
    EXPECT_FALSE(fs::exists(root_ / "Hard Disk/b.txt"));
    EXPECT_FALSE(DeleteFile(L"\\Hard Disk\\b.txt"));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(DeleteFile(L"\\Hard Disk\\DataLog"));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
}

TEST_F(PanelFiles, CreatesAndRemovesFolders)
{
    EXPECT_TRUE(CreateDirectory(L"\\Hard Disk\\GraphDataLog", nullptr));
    EXPECT_FALSE(CreateDirectory(L"\\hard disk\\graphdatalog", nullptr));
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    EXPECT_FALSE(CreateDirectory(L"\\Hard Disk\\No\\Deeper", nullptr));
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
    Put("Hard Disk/GraphDataLog/g.dat", "");
    EXPECT_FALSE(RemoveDirectory(L"\\Hard Disk\\GraphDataLog"));
    EXPECT_EQ(GetLastError(), ERROR_DIR_NOT_EMPTY);
    EXPECT_TRUE(DeleteFile(L"\\Hard Disk\\GraphDataLog\\g.dat"));
    EXPECT_TRUE(RemoveDirectory(L"\\Hard Disk\\GraphDataLog"));
    EXPECT_FALSE(RemoveDirectory(L"\\Hard Disk\\GraphDataLog"));
}

TEST_F(PanelFiles, KeepsTheReadOnlyAttribute)
{
    Put("Hard Disk/r.txt", "r");
    EXPECT_EQ(GetFileAttributes(L"\\Hard Disk\\r.txt"), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(GetFileAttributes(L"\\Hard Disk"), FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(GetFileAttributes(L"\\Hard Disk\\none"), INVALID_FILE_ATTRIBUTES);
    ASSERT_TRUE(SetFileAttributes(L"\\Hard Disk\\r.txt", FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(GetFileAttributes(L"\\Hard Disk\\r.txt"), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(Create(L"\\Hard Disk\\r.txt", OPEN_EXISTING), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_FALSE(DeleteFile(L"\\Hard Disk\\r.txt"));
    HANDLE h = Create(L"\\Hard Disk\\r.txt", OPEN_EXISTING, GENERIC_READ);
    EXPECT_NE(h, INVALID_HANDLE_VALUE);
    CloseHandle(h);
    ASSERT_TRUE(SetFileAttributes(L"\\Hard Disk\\r.txt", FILE_ATTRIBUTE_NORMAL));
    EXPECT_TRUE(DeleteFile(L"\\Hard Disk\\r.txt"));
}

TEST_F(PanelFiles, ReportsFreeSpace)
{
    ULARGE_INTEGER freeToCaller, total, totalFree;
    ASSERT_TRUE(GetDiskFreeSpaceEx(L"\\Hard Disk2\\", &freeToCaller, &total, &totalFree));
    EXPECT_GT(total.QuadPart, 0u);
    EXPECT_LE(freeToCaller.QuadPart, totalFree.QuadPart);
    EXPECT_LE(totalFree.QuadPart, total.QuadPart);
    EXPECT_FALSE(GetDiskFreeSpaceEx(L"\\No Drive\\", &freeToCaller, nullptr, nullptr));
}

TEST_F(PanelFiles, FreeSpaceCanBeMadeSmallOnDemand)
{
    platform::FakeDiskFreeSpace(5000 * 1024);
    ULARGE_INTEGER freeToCaller, total, totalFree;
    ASSERT_TRUE(GetDiskFreeSpaceEx(L"\\Hard Disk", &freeToCaller, &total, &totalFree));
    EXPECT_EQ(freeToCaller.QuadPart, 5000u * 1024u);
    EXPECT_EQ(totalFree.QuadPart, 5000u * 1024u);
    EXPECT_GE(total.QuadPart, totalFree.QuadPart);
    EXPECT_FALSE(GetDiskFreeSpaceEx(L"\\No Drive\\", &freeToCaller, nullptr, nullptr));
    platform::FakeDiskFreeSpace(std::nullopt);
    ASSERT_TRUE(GetDiskFreeSpaceEx(L"\\Hard Disk", &freeToCaller, nullptr, nullptr));
    EXPECT_NE(freeToCaller.QuadPart, 5000u * 1024u);
}

}  // namespace
