// Saving and restoring the dryer's settings, the whole way: settings changed on the display
// (the moisture sampler set-up among them), "USER SETTINGS - 20" asking the simulated board to
// save them, further changes, and a restore that brings back exactly the saved set; then a
// damaged file that the board refuses, changing nothing and saying why.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <unistd.h>

#include "dryer/link/dryer_image.h"
#include "dryer/link/pending_command.h"
#include "dryer/screens/screen_manager.h"
#include "dryer/setup/moisture_sampler_setup.h"
#include "dryer/setup/user_settings_dialog.h"
#include "platform/windowing/window.h"
#include "sim/saved_settings.h"
#include "tests/dryer/program/panel_run.h"
#include "tests/dryer/setup/drying_mode_support.h"

namespace {

namespace fs = std::filesystem;
using namespace drying_test;
using panel_test::PanelRun;

const ImageField kPlenum1 = ForHeater(plenumSetpoint, 1);

void OpenUserSettingsFromTimer(HWND wnd, UINT, UINT_PTR id, DWORD)
{
    KillTimer(wnd, id);
    OpenUserSettings(Screens().main);
}

void OpenSamplerFromTimer(HWND wnd, UINT, UINT_PTR id, DWORD)
{
    KillTimer(wnd, id);
    OpenMoistureSamplerSetup(Screens().main);
}

// Opens a dialog on the display's own thread, as its button would.
void OpenFromTimer(PanelRun& panel, TIMERPROC open, const wchar_t* title)
{
    constexpr UINT_PTR kOpenTimer = 0x5E49;
    ASSERT_NE(SetTimer(Screens().main, kOpenTimer, 10, open), 0u);
    panel.Advance(175);
    ASSERT_TRUE(WaitForTitle(title)) << panel_test::Narrow(title);
}

// A screen's change: the desired value, then its flag; the exchanges until the dryer echoes.
void Change(PanelRun& panel, ImageField field, int value)
{
    SetValue(DesiredSettings, field, value);
    PendingCommand.Set(field.pending);
    panel.Cycles(4);
    ASSERT_EQ(Value(DryerImage, field), value);
}

// The sampler settings changed through their screen: `presses` of each SELECT.
void StepSampler(PanelRun& panel, int presses)
{
    OpenFromTimer(panel, OpenSamplerFromTimer, kMoistureSamplerTitle);
    for (int i = 0; i < presses; ++i) {
        Press(kSamplerActionSelect);
        Press(kSamplerDelaySelect);
        Press(kSamplerGrainTempSelect);
    }
    Press(kSamplerExit);
    ASSERT_TRUE(WaitForTitle(kMoistureSamplerTitle, false));
    panel.Cycles(4);
}

void PressUserSettings(PanelRun& panel, int button)
{
    OpenFromTimer(panel, OpenUserSettingsFromTimer, kUserSettingsTitle);
    Press(button);
    ASSERT_TRUE(WaitForTitle(kUserSettingsTitle, false));
    panel.Cycles(4);  // the one-shot request, the board's answer, its decoding
}

sim::StatusImage DisplayedImage()
{
    sim::StatusImage image{};
    for (std::size_t i = 0; i < image.size(); ++i) image[i] = DryerImage[i];
    return image;
}

// Every saved setting the display shows equals the set's. The metering control group is not
// mirrored into the display's image (the decoder keeps who sets the metering speed in the
// desired values instead); the board's own bytes are compared for it.
::testing::AssertionResult ShowsTheSet(const sim::StatusImage& set)
{
    const sim::StatusImage shown = DisplayedImage();
    for (const ImageField& field : kImageLayout) {
        if (!sim::IsSavedSetting(field) || field == meteringControl) continue;
        for (std::size_t i = field.offset; i < field.end(); ++i) {
            if (shown[i] != set[i]) {
                return ::testing::AssertionFailure() << "offset " << i << " shows " << int{shown[i]}
                                                     << ", the set holds " << int{set[i]};
            }
        }
    }
    return ::testing::AssertionSuccess();
}

std::string ReadText(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The metering control group as the board holds it equals the set's.
::testing::AssertionResult BoardHoldsTheMetering(PanelRun& panel, const sim::StatusImage& set)
{
    const std::array<std::uint8_t, 300> board = panel.sim().Image();
    for (std::size_t i = meteringControl.offset; i < meteringControl.end(); ++i) {
        if (board[i] != set[i]) {
            return ::testing::AssertionFailure()
                   << "offset " << i << " holds " << int{board[i]} << ", the set " << int{set[i]};
        }
    }
    return ::testing::AssertionSuccess();
}

TEST(SavedSettingsOnTheDryer, RestoreBringsBackExactlyTheSavedSetAndADamagedFileNothing)
{
    const fs::path folder =
        fs::temp_directory_path() / ("orbitdryer-saved-settings-" + std::to_string(::getpid()));
    fs::remove_all(folder);
    const fs::path file = folder / "board" / "settings.json";
    sim::SimOptions options;
    options.settingsFile = file.string();
    PanelRun panel(options);
    ASSERT_TRUE(panel.started());

    // Settings as the operator leaves them, then SAVE SETTINGS.
    Change(panel, kPlenum1, 190);
    Change(panel, bphCalibration, 120);
    Change(panel, moistureSetpoint, 155);
    StepSampler(panel, 1);
    ASSERT_EQ(Value(DryerImage, samplerOption) & 0x3E, 0x20 | 0x08 | 0x02);
    PressUserSettings(panel, kUserSettingsSave);
    ASSERT_TRUE(fs::exists(file));
    const sim::SavedSettingsReading saved = sim::ReadSavedSettings(file);
    ASSERT_TRUE(saved.settings.has_value()) << saved.error;
    EXPECT_TRUE(ShowsTheSet(*saved.settings));
    EXPECT_EQ(Value(*saved.settings, kPlenum1), 190);

    // Changed again, then RESTORE SETTINGS.
    Change(panel, kPlenum1, 150);
    Change(panel, bphCalibration, 90);
    Change(panel, moistureSetpoint, 170);
    StepSampler(panel, 2);
    EXPECT_FALSE(ShowsTheSet(*saved.settings));
    PressUserSettings(panel, kUserSettingsRestore);
    EXPECT_TRUE(ShowsTheSet(*saved.settings));
    EXPECT_TRUE(BoardHoldsTheMetering(panel, *saved.settings));
    EXPECT_EQ(Value(DryerImage, kPlenum1), 190);
    EXPECT_EQ(Value(DryerImage, bphCalibration), 120);
    EXPECT_EQ(Value(DryerImage, moistureSetpoint), 155);
    EXPECT_FALSE(IsSet(DryerImage, unitsRequestBits));
    panel.Cycles(6);  // and it stays so: nothing on the display sends the old values again
    EXPECT_TRUE(ShowsTheSet(*saved.settings));

    // One byte of the file changed: the board refuses it, the display shows what it showed.
    Change(panel, kPlenum1, 160);
    std::string text = ReadText(file);
    const auto at = text.find("\"163\": [120]");
    ASSERT_NE(at, std::string::npos);
    text[at + 9] = '3';  // 130: still a byte, caught by the checksum
    std::ofstream(file, std::ios::binary) << text;
    const sim::StatusImage before = DisplayedImage();
    ::testing::internal::CaptureStderr();
    PressUserSettings(panel, kUserSettingsRestore);
    panel.Cycles(2);
    const std::string log = ::testing::internal::GetCapturedStderr();
    EXPECT_TRUE(ShowsTheSet(before));
    EXPECT_EQ(Value(DryerImage, kPlenum1), 160);
    EXPECT_NE(log.find(file.string()), std::string::npos) << log;
    EXPECT_NE(log.find("checksum"), std::string::npos) << log;
    EXPECT_NE(log.find("nothing was changed"), std::string::npos) << log;

    panel.Stop();
    fs::remove_all(folder);
}

}  // namespace
