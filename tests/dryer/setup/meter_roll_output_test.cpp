// "Meter Rolls Output Voltage Setup - 27": the percentage and voltage shown, each limit held
// within its range, every press sending the limit and which limit the meter rolls run at,
// DEFAULT, and ACCEPT and CANCEL ending the adjustment without taking back what was sent.
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>

#include "dryer/link/dryer_image.h"
#include "dryer/link/pending_command.h"
#include "dryer/setup/meter_roll_output_dialog.h"
#include "platform/windowing/dialog.h"
#include "tests/dryer/setup/drying_mode_support.h"

namespace {

using namespace drying_test;
using Flags = std::set<Pending>;
using L = MeterLimit;

std::wstring Percent(int raw)
{
    wchar_t text[32];
    FormatMeterRollPercent(raw, text, 32);
    return text;
}

std::wstring Volts(int raw)
{
    wchar_t text[32];
    FormatMeterRollVolts(raw, text, 32);
    return text;
}

TEST(MeterRollOutputFormat, ShowsPercentAndVolts)
{
    EXPECT_EQ(Percent(190), L"74.51 %");
    EXPECT_EQ(Volts(190), L"~7.5 V");
    EXPECT_EQ(Percent(255), L"100.00 %");
    EXPECT_EQ(Volts(255), L"~10.0 V");
    EXPECT_EQ(Percent(0), L"0.00 %");
    EXPECT_EQ(Volts(32), L"~1.3 V");
}

// A headless screen per test; the dryer reports the range 20-200 unless a test says otherwise.
class MeterRollOutputTest : public DryingModeTest {
protected:
    void SetUp() override
    {
        DryingModeTest::SetUp();
        Report(meterRollMinimum, 20);
        Report(meterRollMaximum, 200);
        Report(optionByte238, 0x08);  // a bushel counter reset on its way
    }
    INT_PTR RunMeter(const std::function<void()>& operate)
    {
        return RunDialog([] { return OpenMeterRollOutput(nullptr); }, kMeterRollOutputTitle,
                         operate);
    }
};

std::wstring Shown(L limit, int part)
{
    return TextOf(MeterControlId(limit, part));
}

void PressTimes(int id, int times)
{
    for (int i = 0; i < times; ++i) Press(id);
}

TEST_F(MeterRollOutputTest, OpensOnTheDryersRange)
{
    RunMeter([] {
        EXPECT_EQ(Shown(L::minimum, kMeterPercent), Percent(20));
        EXPECT_EQ(Shown(L::minimum, kMeterVolts), Volts(20));
        EXPECT_EQ(Shown(L::maximum, kMeterPercent), Percent(200));
        EXPECT_EQ(Shown(L::maximum, kMeterVolts), Volts(200));
        EXPECT_TRUE(RaisedFlags().empty());  // nothing sent before a press
        Press(IDCANCEL);
    });
}

TEST_F(MeterRollOutputTest, EachPressSendsTheLimitAndRunsTheRollsAtIt)
{
    RunMeter([] {
        Press(MeterControlId(L::maximum, kMeterUp));
        EXPECT_EQ(Shown(L::maximum, kMeterPercent), Percent(201));
        EXPECT_EQ(Value(DesiredSettings, meterRollMaximum), 201);
        EXPECT_EQ(BitsValue(DesiredSettings, meterRollAdjustBits), kAdjustingMaximum);
        EXPECT_EQ(RaisedFlags(), (Flags{Pending::byte236, Pending::optionByte238}));
        Press(MeterControlId(L::minimum, kMeterDown));
        EXPECT_EQ(Shown(L::minimum, kMeterVolts), Volts(19));
        EXPECT_EQ(Value(DesiredSettings, meterRollMinimum), 19);
        EXPECT_EQ(BitsValue(DesiredSettings, meterRollAdjustBits), kAdjustingMinimum);
        EXPECT_TRUE(IsSet(DesiredSettings, bushelResetBit));  // the other bits as reported
        Press(IDOK);
    });
    // ACCEPT ends the adjustment; the limits sent stay.
    EXPECT_EQ(BitsValue(DesiredSettings, meterRollAdjustBits), kAdjustingNone);
    EXPECT_EQ(Value(DesiredSettings, meterRollMaximum), 201);
    EXPECT_EQ(Value(DesiredSettings, meterRollMinimum), 19);
    EXPECT_EQ(RaisedFlags(), (Flags{Pending::byte236, Pending::byte237, Pending::optionByte238}));
}

TEST_F(MeterRollOutputTest, LimitsStayWithinTheirRanges)
{
    const struct {
        int minimum, maximum;  // reported
        int id;
        int presses;
        ImageField field;
        int after;
    } cases[] = {
        {20, 165, MeterControlId(L::maximum, kMeterDown), 1, meterRollMaximum, 165},
        {20, 250, MeterControlId(L::maximum, kMeterUp), 9, meterRollMaximum, 255},
        {64, 200, MeterControlId(L::minimum, kMeterUp), 1, meterRollMinimum, 64},
        {2, 200, MeterControlId(L::minimum, kMeterDown), 4, meterRollMinimum, 0},
        {100, 120, MeterControlId(L::minimum, kMeterDown), 1, meterRollMinimum, 64},
        {100, 120, MeterControlId(L::maximum, kMeterUp), 1, meterRollMaximum, 165},
    };
    for (const auto& c : cases) {
        PendingCommand.ClearAll();  // each case starts on what the dryer reports
        Report(meterRollMinimum, c.minimum);
        Report(meterRollMaximum, c.maximum);
        RunMeter([&] {
            PressTimes(c.id, c.presses);
            Press(IDCANCEL);
        });
        EXPECT_EQ(Value(DesiredSettings, c.field), c.after) << c.id << " " << c.presses;
    }
}

TEST_F(MeterRollOutputTest, DefaultSendsBothDefaultLimits)
{
    const INT_PTR result = RunMeter([] {
        Press(kMeterRollDefault);
        EXPECT_EQ(Shown(L::maximum, kMeterPercent), L"74.51 %");
        EXPECT_EQ(Shown(L::minimum, kMeterPercent), Percent(32));
        Press(IDCANCEL);
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(Value(DesiredSettings, meterRollMaximum), 190);
    EXPECT_EQ(Value(DesiredSettings, meterRollMinimum), 32);
    EXPECT_EQ(BitsValue(DesiredSettings, meterRollAdjustBits), kAdjustingNone);
    EXPECT_EQ(RaisedFlags(), (Flags{Pending::byte236, Pending::byte237, Pending::optionByte238}));
}

TEST_F(MeterRollOutputTest, LayoutIsTidy)
{
    RunMeter([] {
        const auto dialog = Window(kMeterRollOutputTitle);
        ASSERT_TRUE(dialog.has_value());
        Layout layout;
        layout.groups = {MeterControlId(L::minimum, kMeterGroup),
                         MeterControlId(L::maximum, kMeterGroup)};
        ExpectTidyLayout(*dialog, layout);
        Screenshot("meter_rolls_output_27");
        Press(IDOK);
    });
}

}  // namespace
