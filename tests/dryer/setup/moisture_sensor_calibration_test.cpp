// " MOISTURE SENSOR CALIBRATION - 13" on a running panel: the sensors' readings and the offsets
// it opens on, the readings following the dryer, the offsets' bounds, what ACCEPT sends (only the
// words that changed, and the dryer taking them), leaving without ACCEPT, a held step button and
// HELP.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "dryer/link/dryer_image.h"
#include "dryer/link/pending_command.h"
#include "dryer/setup/moisture_sensor_calibration.h"
#include "dryer/setup/setup_selection.h"
#include "platform/windowing/dialog.h"
#include "tests/dryer/program/panel_run.h"
#include "tests/dryer/setup/calibration_screens_support.h"
#include "tests/dryer/setup/service_screens_support.h"
#include "tests/dryer/setup/setup_support.h"

namespace {

using namespace calibration_test;
using panel_test::PanelRun;
using service_test::Report;
using setup_test::Text;

constexpr CalibrationOffset kWetMoist = CalibrationOffset::wetMoist;
constexpr CalibrationOffset kDryMoist = CalibrationOffset::dryMoist;
constexpr CalibrationOffset kWetTemp = CalibrationOffset::wetTemp;
constexpr CalibrationOffset kDryTemp = CalibrationOffset::dryTemp;

bool OpenCalibration(PanelRun& panel, const Report& report = {})
{
    return service_test::OpenWith(panel, report, kSetupCalibrationButton,
                                  kMoistureSensorCalibrationTitle);
}

bool ScreenOpen()
{
    return panel_test::FindTitled(kMoistureSensorCalibrationTitle).has_value();
}

bool Up(CalibrationOffset offset, int times = 1)
{
    return Press(CalibrationOffsetId(offset, kOffsetUp), times);
}

bool Down(CalibrationOffset offset, int times = 1)
{
    return Press(CalibrationOffsetId(offset, kOffsetDown), times);
}

std::wstring Shown(CalibrationOffset offset)
{
    return Text(CalibrationOffsetId(offset, kOffsetField));
}

int FrameOf(int id)
{
    switch (id) {
        case kCalibrationWetFrame:
        case kCalibrationWetMoisture:
        case kCalibrationWetTemperature: return kCalibrationWetFrame;
        case kCalibrationDryFrame:
        case kCalibrationDryMoisture:
        case kCalibrationDryTemperature: return kCalibrationDryFrame;
    }
    return 0;
}

TEST(MoistureSensorCalibration, ShowsTheSensorsAndOffsetsAndFollowsTheReadings)
{
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    panel.Pin(wetMoisture, 215);
    panel.Pin(wetSensorTemp, 652);
    panel.Pin(dryMoisture, 148);
    panel.Pin(drySensorTemp, 701);
    ASSERT_TRUE(OpenCalibration(panel, {{wetMoistureOffset, -5},
                                        {dryMoistureOffset, 12},
                                        {wetSensorTempOffset, 0},
                                        {drySensorTempOffset, -100}}));
    EXPECT_EQ(Text(kCalibrationWetMoisture), L"MOISTURE:    21.5 %");
    EXPECT_EQ(Text(kCalibrationWetTemperature), L"TEMPERATURE: 65.2 F");
    EXPECT_EQ(Text(kCalibrationDryMoisture), L"MOISTURE:    14.8 %");
    EXPECT_EQ(Text(kCalibrationDryTemperature), L"TEMPERATURE: 70.1 F");
    EXPECT_EQ(Shown(kWetMoist), L"-0.5");
    EXPECT_EQ(Shown(kDryMoist), L"1.2");
    EXPECT_EQ(Shown(kWetTemp), L"0.0");
    EXPECT_EQ(Shown(kDryTemp), L"-10.0");
    setup_test::ExpectTidyLayout(kMoistureSensorCalibrationTitle, FrameOf);
    ExpectTextsFit();
    service_test::Screenshot("moisture-sensor-calibration");

    // The dryer reports new readings while the screen is open.
    panel.Pin(wetMoisture, 5);
    panel.Pin(drySensorTemp, 1234);
    EXPECT_EQ(Text(kCalibrationWetMoisture), L"MOISTURE:     0.5 %");
    EXPECT_EQ(Text(kCalibrationDryTemperature), L"TEMPERATURE: 123.4 F");
    ASSERT_TRUE(Press(IDOK));
    EXPECT_FALSE(ScreenOpen());
    EXPECT_TRUE(Raised().empty());
}

TEST(MoistureSensorCalibration, OffsetsStopAtPlusAndMinusTenAndAcceptSendsThem)
{
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    ASSERT_TRUE(OpenCalibration(panel, {{wetMoistureOffset, 99}, {drySensorTempOffset, -99}}));
    ASSERT_TRUE(Up(kWetMoist, 3));
    ASSERT_TRUE(Down(kDryTemp, 3));
    EXPECT_EQ(Shown(kWetMoist), L"10.0");
    EXPECT_EQ(Shown(kDryTemp), L"-10.0");
    EXPECT_TRUE(Raised().empty());  // nothing before ACCEPT
    // From the bound the other way is open.
    ASSERT_TRUE(Down(kWetMoist));
    ASSERT_TRUE(Up(kWetMoist));
    ASSERT_TRUE(Press(IDOK));
    EXPECT_FALSE(ScreenOpen());
    EXPECT_EQ(Raised(),
              (std::set<Pending>{Pending::calibrationWord234, Pending::calibrationWord241}));
    // Signed words, high byte first.
    EXPECT_EQ(DesiredSettings[wetMoistureOffset.offset], 0x00);
    EXPECT_EQ(DesiredSettings[wetMoistureOffset.offset + 1], 100);
    EXPECT_EQ(DesiredSettings[drySensorTempOffset.offset], 0xFF);
    EXPECT_EQ(DesiredSettings[drySensorTempOffset.offset + 1], 0x9C);
    panel.Cycles(3);
    EXPECT_EQ(Value(DryerImage, wetMoistureOffset), 100);
    EXPECT_EQ(Value(DryerImage, drySensorTempOffset), -100);
    EXPECT_TRUE(Raised().empty());  // the dryer echoed both
}

TEST(MoistureSensorCalibration, AcceptSendsOnlyTheWordsThatDiffer)
{
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    ASSERT_TRUE(OpenCalibration(panel, {{dryMoistureOffset, 20}, {wetSensorTempOffset, -3}}));
    ASSERT_TRUE(Up(kDryMoist, 2));  // and back: the dryer has it already
    ASSERT_TRUE(Down(kDryMoist, 2));
    ASSERT_TRUE(Up(kWetTemp, 4));
    EXPECT_EQ(Shown(kWetTemp), L"0.1");
    ASSERT_TRUE(Press(IDOK));
    EXPECT_EQ(Raised(), std::set<Pending>{Pending::calibrationWord243});
    EXPECT_EQ(Value(DesiredSettings, wetSensorTempOffset), 1);

    // Opened again before the dryer echoes: the offset on its way is shown.
    ASSERT_TRUE(platform::PressControl(kSetupCalibrationButton));
    EXPECT_EQ(Shown(kWetTemp), L"0.1");
    EXPECT_EQ(Shown(kDryMoist), L"2.0");
    ASSERT_TRUE(Press(IDOK));
    EXPECT_EQ(Raised(), std::set<Pending>{Pending::calibrationWord243});
    panel.Cycles(3);
    EXPECT_EQ(Value(DryerImage, wetSensorTempOffset), 1);
    EXPECT_EQ(Value(DryerImage, dryMoistureOffset), 20);
    EXPECT_TRUE(Raised().empty());
}

TEST(MoistureSensorCalibration, LeavingWithoutAcceptSendsNothing)
{
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    ASSERT_TRUE(OpenCalibration(panel, {{wetMoistureOffset, 7}}));
    ASSERT_TRUE(Up(kWetMoist, 5));
    ASSERT_TRUE(Down(kDryTemp, 2));
    ASSERT_TRUE(platform::SendKey(VK_ESCAPE, false));
    EXPECT_FALSE(ScreenOpen());
    EXPECT_TRUE(Raised().empty());
    panel.Cycles(2);
    EXPECT_EQ(Value(DryerImage, wetMoistureOffset), 7);
    // The next opening starts from what the dryer has.
    ASSERT_TRUE(platform::PressControl(kSetupCalibrationButton));
    EXPECT_EQ(Shown(kWetMoist), L"0.7");
    EXPECT_EQ(Shown(kDryTemp), L"0.0");
    ASSERT_TRUE(Press(IDOK));
    EXPECT_TRUE(Raised().empty());
}

// A held ">>>" steps once per 100 ms tick after half a second; the release is one more press.
TEST(MoistureSensorCalibration, HeldStepButtonRepeatsThroughTheTick)
{
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    ASSERT_TRUE(OpenCalibration(panel));
    const POINT finger = Middle(CalibrationOffsetId(kWetTemp, kOffsetUp));
    ASSERT_TRUE(platform::PointerDown(finger.x, finger.y));
    panel.Advance(400);
    EXPECT_EQ(Shown(kWetTemp), L"0.0");  // not yet half a second
    panel.Advance(1100);
    const std::wstring held = Shown(kWetTemp);
    EXPECT_GE(std::stod(held), 0.9);
    EXPECT_LE(std::stod(held), 1.2);
    ASSERT_TRUE(platform::PointerUp(finger.x, finger.y));
    const std::wstring released = Shown(kWetTemp);
    panel.Advance(1000);
    EXPECT_EQ(Shown(kWetTemp), released);  // nothing more once released
    EXPECT_TRUE(Raised().empty());
    ASSERT_TRUE(Press(IDOK));
    EXPECT_EQ(Raised(), std::set<Pending>{Pending::calibrationWord243});
}

TEST(MoistureSensorCalibration, HelpExplainsAndKeepsTheScreen)
{
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    ASSERT_TRUE(OpenCalibration(panel));
    ASSERT_TRUE(Press(kCalibrationHelp));
    const auto help = panel_test::TopMessageBox();
    ASSERT_TRUE(help.has_value());
    EXPECT_EQ(help->title, L"Moisture Sensor Calibration");
    EXPECT_EQ(help->messageText.rfind(
                  L"To properly calibrate either moisture\nsensor, take several samples of the "
                  L"grain over a\nperiod of time, average these values and calibrate\nthe "
                  L"sensors accordingly.",
                  0),
              0u);
    ExpectTextsFit();
    service_test::Screenshot("moisture-sensor-calibration-help");
    ASSERT_TRUE(platform::AnswerMessageBox(L"OK"));
    EXPECT_TRUE(ScreenOpen());
    ASSERT_TRUE(Press(IDOK));
    EXPECT_FALSE(ScreenOpen());
}

}  // namespace
