// The four display settings in the registry stand-in: defaults, the load checks and saving.
#include "dryer/records/display_settings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "platform/storage/files.h"
#include "platform/storage/registry.h"
#include "tests/dryer/program/panel_run.h"

namespace {

class DisplaySettingsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        root_ = panel_test::FreshPanelRoot();
        platform::SetPanelRoots(root_, root_ / "Hard Disk2");
    }
    void TearDown() override
    {
        std::error_code ec;
        std::filesystem::remove_all(root_, ec);
    }
    static void Store(const wchar_t* name, std::vector<BYTE> bytes)
    {
        HKEY key = nullptr;
        DWORD disposition = 0;
        ASSERT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, kDisplaySettingsKey, 0, nullptr, 0,
                                 KEY_ALL_ACCESS, nullptr, &key, &disposition),
                  0);
        ASSERT_EQ(
            RegSetValueEx(key, name, 0, REG_BINARY, bytes.data(), static_cast<DWORD>(bytes.size())),
            0);
        RegCloseKey(key);
    }

    std::filesystem::path root_;
};

TEST_F(DisplaySettingsTest, MissingKeyKeepsTheDefaults)
{
    CurrentDisplaySettings().sampleTimeMinutes = 1;
    LoadDisplaySettings();
    const DisplaySettings& s = CurrentDisplaySettings();
    EXPECT_EQ(s.graphHorizontalScale, 0);
    EXPECT_EQ(s.graphTraces, 0);
    EXPECT_EQ(s.sampleTimeMinutes, 10);
    EXPECT_EQ(s.screenView, 0);
}

struct LoadCase {
    const wchar_t* name;
    std::vector<BYTE> stored;
    BYTE DisplaySettings::*field;
    BYTE expected;
};

class DisplaySettingsLoad : public DisplaySettingsTest,
                            public ::testing::WithParamInterface<LoadCase> {};

TEST_P(DisplaySettingsLoad, AppliesTheLoadChecks)
{
    Store(GetParam().name, GetParam().stored);
    LoadDisplaySettings();
    EXPECT_EQ(CurrentDisplaySettings().*(GetParam().field), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Values, DisplaySettingsLoad,
    ::testing::Values(
        LoadCase{kGraphHorizontalScaleValue, {3}, &DisplaySettings::graphHorizontalScale, 3},
        LoadCase{kGraphHorizontalScaleValue, {7}, &DisplaySettings::graphHorizontalScale, 0},
        LoadCase{kGraphTracesValue, {0x3F}, &DisplaySettings::graphTraces, 0x3F},
        LoadCase{kSampleTimeValue, {20}, &DisplaySettings::sampleTimeMinutes, 5},
        LoadCase{kSampleTimeValue, {3}, &DisplaySettings::sampleTimeMinutes, 3},
        LoadCase{kSampleTimeValue, {15}, &DisplaySettings::sampleTimeMinutes, 15},
        LoadCase{kSampleTimeValue, {1, 0}, &DisplaySettings::sampleTimeMinutes, 10},
        LoadCase{kScreenViewSelectionValue, {1}, &DisplaySettings::screenView, 1},
        LoadCase{kScreenViewSelectionValue, {2}, &DisplaySettings::screenView, 0}));

TEST_F(DisplaySettingsTest, SaveWritesOneBinaryByteAndRemembersIt)
{
    ASSERT_TRUE(SaveDisplaySetting(kScreenViewSelectionValue, 1));
    EXPECT_EQ(CurrentDisplaySettings().screenView, 1);
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, kDisplaySettingsKey, 0, KEY_READ, &key), 0);
    BYTE data[4] = {};
    DWORD length = sizeof(data);
    DWORD type = 0;
    EXPECT_EQ(RegQueryValueEx(key, kScreenViewSelectionValue, nullptr, &type, data, &length), 0);
    RegCloseKey(key);
    EXPECT_EQ(type, REG_BINARY);
    EXPECT_EQ(length, 1u);
    EXPECT_EQ(data[0], 1);
}

}  // namespace
