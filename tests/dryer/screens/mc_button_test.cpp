// The M/C button's paths by drying type, moisture-control scheme and dryer options, and the
// two screens the message loop opens for the decoder.
#include <gtest/gtest.h>

#include <vector>

#include "dryer/link/dryer_image.h"
#include "dryer/link/link_state.h"
#include "dryer/screens/screen_manager.h"
#include "dryer/setup/meter_roll_speed_screen.h"
#include "platform/drawing/gdi.h"
#include "platform/runtime/runtime.h"
#include "resources/orbitdryer/bitmap_ids.h"
#include "tests/dryer/program/panel_run.h"

namespace {

using panel_test::PanelRun;

constexpr int kMcButton = 0x8805;
constexpr const wchar_t* kTemperature = L"Modifying Temperature Setpoint - 22";
constexpr const wchar_t* kMoisture = L" MOISTURE SETPOINT - 26";
constexpr const wchar_t* kMeterRoll =
    L"MODIFYING METER ROLL SPEED SETPOINTS (Use knob on control panel) - 23";
constexpr const wchar_t* kLearning = L"MOISTURE CONTROL LEARNING PERIOD STILL ACTIVE";
constexpr const wchar_t* kMetering = L" SET METERING SPEED VIA DISPLAY?";

// One thing the button opens: a dialog (closed with CANCEL) or a question (answered).
struct Step {
    const wchar_t* title;
    const wchar_t* answer;  // null: a dialog
};

// dryerOptions: the batch criteria and dual heat
constexpr int kByTime = criterionTimeBit.mask;
constexpr int kByTemp = criterionTempBit.mask;
constexpr int kByMoisture = criterionMoistureBit.mask;
constexpr int kDualHeat = dualHeatBit.mask;

struct McCase {
    const char* name;
    int type;          // dryingType
    int moistureMode;  // moistureControlMode: the scheme, and moistureAutoBit
    int options;       // dryerOptions
    bool learning;     // mcAutoModeMinutes above 0 and learningPeriodBit
    bool meteringByDisplay;
    std::vector<Step> steps;
    const wchar_t* screenAfter;  // a window shown afterwards, or null
};

void PrintTo(const McCase& c, std::ostream* os)
{
    *os << c.name;
}

class McButton : public ::testing::TestWithParam<McCase> {};

void FollowSteps(const std::vector<Step>& steps)
{
    for (const Step& step : steps) {
        if (step.answer != nullptr) {
            const auto box = panel_test::TopMessageBox();
            ASSERT_TRUE(box.has_value()) << panel_test::Narrow(step.title);
            EXPECT_EQ(box->title, step.title);
            ASSERT_TRUE(platform::AnswerMessageBox(step.answer));
        } else {
            ASSERT_TRUE(panel_test::FindTitled(step.title).has_value())
                << panel_test::Narrow(step.title);
            // CANCEL, or Escape on a screen whose cancel button has an id of its own
            if (!platform::PressControl(2)) {
                ASSERT_TRUE(platform::SendKey(VK_ESCAPE, false));
            }
        }
    }
}

TEST_P(McButton, OpensWhatTheDryerCalls)
{
    const McCase& c = GetParam();
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    panel.Pin(moistureControlMode, c.moistureMode);
    panel.Pin(dryerOptions, c.options);
    panel.Pin(mcAutoModeMinutes, c.learning ? 30 : 0);
    panel.Pin(switchInputs179, c.learning ? learningPeriodBit.mask : 0);
    panel.Pin(dryingType, c.type);
    MeteringByDisplay.store(c.meteringByDisplay ? 1 : 0);
    ASSERT_TRUE(platform::PressControl(kMcButton));
    FollowSteps(c.steps);
    EXPECT_FALSE(panel_test::TopMessageBox().has_value());
    EXPECT_FALSE(panel_test::FindTitled(kTemperature).has_value());
    EXPECT_FALSE(panel_test::FindTitled(kMoisture).has_value());
    if (c.screenAfter != nullptr) {
        EXPECT_TRUE(panel_test::Shown(c.screenAfter));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Paths, McButton,
    ::testing::Values(McCase{"scheme 1",
                             kContinuousFlow,
                             kSchemeTemp,
                             0,
                             false,
                             false,
                             {{kTemperature, nullptr}},
                             nullptr},
                      McCase{"scheme 1, drying type 3 asks twice",
                             3,
                             kSchemeTemp,
                             0,
                             false,
                             false,
                             {{kTemperature, nullptr}, {kTemperature, nullptr}},
                             nullptr},
                      McCase{"scheme 3",
                             kContinuousFlow,
                             kSchemeVariable,
                             0,
                             false,
                             false,
                             {{kMoisture, nullptr}},
                             nullptr},
                      McCase{"scheme 3 learning, yes",
                             kContinuousFlow,
                             kSchemeVariable,
                             0,
                             true,
                             false,
                             {{kLearning, L"Yes"}, {kMoisture, nullptr}},
                             nullptr},
                      McCase{"scheme 3 learning, no",
                             kContinuousFlow,
                             kSchemeVariable,
                             0,
                             true,
                             false,
                             {{kLearning, L"No"}},
                             nullptr},
                      McCase{"scheme 4",
                             kContinuousFlow,
                             kSchemeFiveSpeed,
                             0,
                             false,
                             false,
                             {{kMoisture, nullptr}},
                             nullptr},
                      McCase{"scheme 5",
                             kContinuousFlow,
                             kSchemeTempFiveSpeed,
                             0,
                             false,
                             false,
                             {{kTemperature, nullptr}},
                             nullptr},
                      McCase{"scheme 2 does nothing",
                             kContinuousFlow,
                             kSchemeThreeSpeed,
                             0,
                             false,
                             false,
                             {},
                             nullptr},
                      McCase{"batch by temperature",
                             kBatchDrying,
                             0,
                             kByTemp,
                             false,
                             false,
                             {{kTemperature, nullptr}},
                             nullptr},
                      McCase{"batch dual heat goes to the temperature screen",
                             kBatchDrying,
                             0,
                             kByTemp | kDualHeat,
                             false,
                             false,
                             {},
                             L"TEMP_SELECT_WINDOW"},
                      McCase{"batch by moisture",
                             kBatchDrying,
                             moistureAutoBit.mask,
                             kByMoisture | kByTemp,
                             false,
                             false,
                             {{kMoisture, nullptr}},
                             nullptr},
                      McCase{"batch bracketed scheme",
                             kBatchDrying,
                             kSchemeAveraging,
                             0,
                             false,
                             false,
                             {{kTemperature, nullptr}},
                             nullptr},
                      McCase{"batch by time alone is unavailable",
                             kBatchDrying,
                             kSchemeTemp,
                             kByTime,
                             false,
                             false,
                             {},
                             nullptr},
                      McCase{"metering by display asks first, then the scheme",
                             kContinuousFlow,
                             kSchemeFiveSpeed,
                             0,
                             false,
                             true,
                             {{kMetering, L"Yes"}, {kMeterRoll, nullptr}, {kMoisture, nullptr}},
                             nullptr},
                      McCase{"metering question, then unavailable",
                             kBatchDrying,
                             kSchemeTemp,
                             kByTime,
                             false,
                             true,
                             {{kMetering, L"No"}},
                             nullptr}),
    [](const ::testing::TestParamInfo<McCase>& test) {
        return "Case" + std::to_string(test.index);
    });

// True when the button shows the bitmap, pixel for pixel, on the screen.
bool ButtonShows(HWND button, int bitmapId)
{
    HBITMAP face = LoadBitmap(Screens().instance, bitmapId);
    BITMAP info{};
    GetObject(face, sizeof info, &info);
    HDC faceDc = CreateCompatibleDC(nullptr);
    SelectObject(faceDc, face);
    HDC screen = GetDC(button);
    int differing = 0;
    for (int y = 0; y < info.bmHeight; ++y) {
        for (int x = 0; x < info.bmWidth; ++x) {
            const COLORREF shown = GetPixel(screen, x, y);
            const bool unreadable = shown == static_cast<COLORREF>(-1);
            differing += unreadable || shown != GetPixel(faceDc, x, y) ? 1 : 0;
        }
    }
    ReleaseDC(button, screen);
    DeleteDC(faceDc);
    DeleteObject(face);
    return info.bmWidth > 0 && differing == 0;
}

HWND McButtonWindow()
{
    return Screens().buttons[4];
}

// The board's report alone must change the face: the drying type stays batch throughout, so
// no home composition repaints the button bar on the way.
TEST(McButtonFace, FollowsTheBoardReportingMoistureControlUnavailable)
{
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    panel.Pin(dryingType, kBatchDrying);
    panel.Pin(dryerOptions, kByMoisture);
    EXPECT_EQ(MoistureControlUnavailable.load(), 0);
    EXPECT_TRUE(ButtonShows(McButtonWindow(), kBitmapMcUp));

    panel.Pin(dryerOptions, kByTime);
    EXPECT_EQ(MoistureControlUnavailable.load(), 1);
    EXPECT_TRUE(ButtonShows(McButtonWindow(), kBitmapMcGreyed));

    panel.Pin(dryerOptions, kByMoisture);
    EXPECT_TRUE(ButtonShows(McButtonWindow(), kBitmapMcUp));
}

TEST(McButtonFace, FollowsTheDryingType)
{
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    panel.Pin(dryerOptions, kByTime);
    EXPECT_TRUE(ButtonShows(McButtonWindow(), kBitmapMcUp));  // continuous flow
    panel.Pin(dryingType, kBatchDrying);
    EXPECT_TRUE(ButtonShows(McButtonWindow(), kBitmapMcGreyed));
    panel.Pin(dryingType, kContinuousFlow);
    EXPECT_TRUE(ButtonShows(McButtonWindow(), kBitmapMcUp));
}

TEST(LoopCommands, MeteringRequestOpensTheMeterRollScreen)
{
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    OpenMeteringScreenRequest.store(1);
    panel.Advance(175);
    ASSERT_TRUE(panel_test::FindTitled(kMeterRoll).has_value());
    EXPECT_EQ(OpenMeteringScreenRequest.load(), 0);
    EXPECT_EQ(MeteringScreenShowing.load(), 1);
    ASSERT_TRUE(platform::PressControl(kMeterCancel));
    EXPECT_EQ(MeteringScreenShowing.load(), 0);
}

TEST(LoopCommands, DefaultsDipswitchScreenOpensOncePerRun)
{
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    panel.Pin(runState, defaultsSwitchBit.mask);
    const auto dialog = panel_test::FindTitled(L"Please turn off DEFAULTS dipswitch! - 33");
    ASSERT_TRUE(dialog.has_value());
    ASSERT_TRUE(platform::PressControl(1001));  // EXIT
    EXPECT_EQ(DefaultsSwitchDismissed.load(), 1);
    panel.Pin(runState, 0);
    panel.Pin(runState, defaultsSwitchBit.mask);
    EXPECT_FALSE(panel_test::FindTitled(L"Please turn off DEFAULTS dipswitch! - 33").has_value());
}

}  // namespace
