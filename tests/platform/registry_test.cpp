// The panel registry: keys and typed values, sizes, missing keys and values, bad handles, and
// what survives closing and reopening the registry file.
#include "platform/storage/registry.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/storage/files.h"

namespace {

namespace fs = std::filesystem;

constexpr const wchar_t* kDryerKey = L"Software\\Tarrow\\OrbitDryer";

class Registry : public ::testing::Test {
protected:
    void SetUp() override
    {
        root_ = fs::temp_directory_path() /
                ("panel-registry-" + std::to_string(::getpid()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root_);
        fs::create_directories(root_);
        platform::SetPanelRoots(root_, {});
    }
    void TearDown() override
    {
        platform::CloseRegistry();
        platform::SetRegistryFile({});
        fs::remove_all(root_);
    }

    HKEY CreateDryerKey(DWORD* disposition = nullptr)
    {
        HKEY key = nullptr;
        EXPECT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, kDryerKey, 0, nullptr, 0, KEY_ALL_ACCESS,
                                 nullptr, &key, disposition),
                  ERROR_SUCCESS);
        return key;
    }

    fs::path root_;
};

TEST_F(Registry, CreatesKeysOnceAndOpensThemWhateverTheCase)
{
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, kDryerKey, 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(key, nullptr);
    DWORD disposition = 0;
    key = CreateDryerKey(&disposition);
    EXPECT_EQ(disposition, REG_CREATED_NEW_KEY);
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    key = CreateDryerKey(&disposition);
    EXPECT_EQ(disposition, REG_OPENED_EXISTING_KEY);
    RegCloseKey(key);

    EXPECT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, L"SOFTWARE\\tarrow\\orbitdryer\\", 0, KEY_READ, &key),
              ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, L"Software\\Tarrow", 0, KEY_READ, &key),
              ERROR_SUCCESS);  // the folders on the way are keys too
    HKEY child = nullptr;
    EXPECT_EQ(RegOpenKeyEx(key, L"OrbitDryer", 0, KEY_READ, &child), ERROR_SUCCESS);
    RegCloseKey(child);
    RegCloseKey(key);
    EXPECT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, kDryerKey, 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
}

TEST_F(Registry, StoresTypedValuesAndReportsTheirSize)
{
    HKEY key = CreateDryerKey();
    const BYTE scale = 2;
    ASSERT_EQ(RegSetValueEx(key, L"GRAPH_HORIZONTAL_SCALE", 0, REG_BINARY, &scale, 1),
              ERROR_SUCCESS);
    const DWORD word = 0x12345678;
    ASSERT_EQ(RegSetValueEx(key, L"Word", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&word), 4),
              ERROR_SUCCESS);

    DWORD type = 0;
    BYTE one = 0;
    DWORD length = 1;
    EXPECT_EQ(RegQueryValueEx(key, L"graph_horizontal_scale", nullptr, &type, &one, &length),
              ERROR_SUCCESS);
    EXPECT_EQ(type, REG_BINARY);
    EXPECT_EQ(one, 2);
    EXPECT_EQ(length, 1u);

    length = 0;
    EXPECT_EQ(RegQueryValueEx(key, L"Word", nullptr, &type, nullptr, &length), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_DWORD);
    EXPECT_EQ(length, 4u);

    length = 1;  // a value longer than the caller's buffer is not delivered
    one = 0xEE;
    EXPECT_EQ(RegQueryValueEx(key, L"Word", nullptr, &type, &one, &length), ERROR_MORE_DATA);
    EXPECT_EQ(length, 4u);
    EXPECT_EQ(one, 0xEE);

    DWORD back = 0;
    length = 4;
    EXPECT_EQ(
        RegQueryValueEx(key, L"Word", nullptr, nullptr, reinterpret_cast<BYTE*>(&back), &length),
        ERROR_SUCCESS);
    EXPECT_EQ(back, word);

    const BYTE replaced = 7;
    EXPECT_EQ(RegSetValueEx(key, L"GRAPH_HORIZONTAL_SCALE", 0, REG_BINARY, &replaced, 1),
              ERROR_SUCCESS);
    length = 1;
    RegQueryValueEx(key, L"GRAPH_HORIZONTAL_SCALE", nullptr, nullptr, &one, &length);
    EXPECT_EQ(one, 7);

    EXPECT_EQ(RegQueryValueEx(key, L"Missing", nullptr, &type, &one, &length),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegDeleteValue(key, L"Word"), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteValue(key, L"Word"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegQueryValueEx(key, L"Word", nullptr, nullptr, nullptr, &length),
              ERROR_FILE_NOT_FOUND);
    RegCloseKey(key);
}

TEST_F(Registry, ValuesSurviveReopening)
{
    HKEY key = CreateDryerKey();
    const BYTE traces = 0x3F;
    ASSERT_EQ(RegSetValueEx(key, L"GRAPH_TRACES_ON_OFF", 0, REG_BINARY, &traces, 1), ERROR_SUCCESS);
    RegCloseKey(key);
    platform::CloseRegistry();
    EXPECT_TRUE(fs::exists(root_ / "registry.sqlite"));

    ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, kDryerKey, 0, KEY_READ, &key), ERROR_SUCCESS);
    BYTE back = 0;
    DWORD length = 1;
    EXPECT_EQ(RegQueryValueEx(key, L"GRAPH_TRACES_ON_OFF", nullptr, nullptr, &back, &length),
              ERROR_SUCCESS);
    EXPECT_EQ(back, 0x3F);
    RegCloseKey(key);
}

TEST_F(Registry, FollowsTheRegistryFileSetting)
{
    platform::SetRegistryFile(root_ / "other.sqlite");
    HKEY key = CreateDryerKey();
    RegCloseKey(key);
    EXPECT_TRUE(fs::exists(root_ / "other.sqlite"));
    platform::SetRegistryFile({});
    EXPECT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, kDryerKey, 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
}

TEST_F(Registry, BadKeysAndArgumentsFailSoftly)
{
    HKEY key = CreateDryerKey();
    ASSERT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    BYTE b = 1;
    DWORD length = 1;
    const HKEY bad[] = {key, nullptr, reinterpret_cast<HKEY>(0x80000000),
                        reinterpret_cast<HKEY>(0x4321)};
    for (HKEY k : bad) {
        EXPECT_EQ(RegSetValueEx(k, L"x", 0, REG_BINARY, &b, 1), ERROR_INVALID_HANDLE);
        EXPECT_EQ(RegQueryValueEx(k, L"x", nullptr, nullptr, &b, &length), ERROR_INVALID_HANDLE);
        EXPECT_EQ(RegDeleteValue(k, L"x"), ERROR_INVALID_HANDLE);
        EXPECT_EQ(RegCloseKey(k), ERROR_INVALID_HANDLE);
        HKEY out = nullptr;
        EXPECT_EQ(RegOpenKeyEx(k, L"x", 0, KEY_READ, &out), ERROR_INVALID_HANDLE);
    }
    key = CreateDryerKey();
    EXPECT_EQ(RegSetValueEx(key, L"x", 0, REG_BINARY, nullptr, 4), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegQueryValueEx(key, L"x", nullptr, nullptr, &b, nullptr), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, L"a", 0, nullptr, 0, 0, nullptr, nullptr, nullptr),
              ERROR_INVALID_PARAMETER);
    RegCloseKey(key);
}

std::string Contents(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Damage is found when the registry opens: the damaged file is kept aside byte for byte, and a
// fresh registry takes its place so that values are stored again.
TEST_F(Registry, DamagedFileIsMovedAsideAndAFreshOneStoresValues)
{
    // A registry with a value, then cut short the way a full disk or a power cut leaves it.
    HKEY key = CreateDryerKey();
    std::string big(6000, 'x');
    ASSERT_EQ(RegSetValueEx(key, L"Big", 0, REG_BINARY, reinterpret_cast<const BYTE*>(big.data()),
                            static_cast<DWORD>(big.size())),
              ERROR_SUCCESS);
    RegCloseKey(key);
    platform::CloseRegistry();
    const std::string whole = Contents(root_ / "registry.sqlite");
    const std::vector<std::string> damaged = {
        "this is not a database, just some text.....",
        whole.substr(0, 100) + std::string(whole.size() - 100, '\xA5'),
    };
    for (const std::string& bytes : damaged) {
        for (const auto& entry : fs::directory_iterator(root_)) fs::remove_all(entry.path());
        std::ofstream(root_ / "registry.sqlite", std::ios::binary) << bytes;

        const platform::RegistryOpening opening = platform::OpenRegistry();
        EXPECT_EQ(opening.outcome, platform::RegistryOpening::Outcome::Recovered);
        EXPECT_EQ(opening.movedTo.parent_path(), root_);
        EXPECT_EQ(opening.movedTo.filename().string().rfind("registry.sqlite.damaged-", 0), 0u);
        EXPECT_EQ(Contents(opening.movedTo), bytes);

        key = CreateDryerKey();
        const BYTE view = 1;
        EXPECT_EQ(RegSetValueEx(key, L"SCREEN_VIEW_SELECTION", 0, REG_BINARY, &view, 1),
                  ERROR_SUCCESS);
        RegCloseKey(key);
        platform::CloseRegistry();
        EXPECT_EQ(platform::OpenRegistry().outcome, platform::RegistryOpening::Outcome::Opened);
        ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, kDryerKey, 0, KEY_READ, &key), ERROR_SUCCESS);
        BYTE back = 0;
        DWORD length = 1;
        EXPECT_EQ(RegQueryValueEx(key, L"SCREEN_VIEW_SELECTION", nullptr, nullptr, &back, &length),
                  ERROR_SUCCESS);
        EXPECT_EQ(back, 1);
        RegCloseKey(key);
        platform::CloseRegistry();
    }
}

TEST_F(Registry, AFolderInPlaceOfTheFileIsLeftAloneAndCallsFail)
{
    fs::create_directories(root_ / "registry.sqlite" / "keep");
    EXPECT_EQ(platform::OpenRegistry().outcome, platform::RegistryOpening::Outcome::Unusable);
    HKEY key = nullptr;
    EXPECT_NE(
        RegCreateKeyEx(HKEY_CURRENT_USER, kDryerKey, 0, nullptr, 0, 0, nullptr, &key, nullptr),
        ERROR_SUCCESS);
    EXPECT_TRUE(fs::is_directory(root_ / "registry.sqlite" / "keep"));
}

}  // namespace
