// The choices of the home panels: which state line, which burner line, which layout, which
// status lines and which fan picture a dryer image gives.
#include <gtest/gtest.h>

#include <string>

#include "dryer/screens/home_panels.h"

using namespace home_panels;

namespace {

constexpr COLORREF kGreen = 0x0000FF00;
constexpr COLORREF kRed = 0x000000FF;
constexpr COLORREF kBlue = 0x00FF0000;
constexpr COLORREF kYellow = 0x0000FFFF;
constexpr COLORREF kOrange = 0x000064C8;
constexpr unsigned kBlinkOn = 1;
constexpr unsigned kBlinkOff = 0;
const std::wstring kSixteenBlanks(16, L' ');

struct Image {
    PanelImage bytes{};
    Image() { bytes[171] = 0xA0; }  // not loading, as at start-up
    Image& Set(int offset, int value)
    {
        bytes[static_cast<std::size_t>(offset)] = static_cast<std::uint8_t>(value);
        return *this;
    }
    Image& Or(int offset, int bits)
    {
        bytes[static_cast<std::size_t>(offset)] |= static_cast<std::uint8_t>(bits);
        return *this;
    }
    Image& Le(int offset, int value)
    {
        Set(offset, value & 0xFF);
        return Set(offset + 1, (value >> 8) & 0xFF);
    }
    Image& Be(int offset, int value)
    {
        Set(offset, (value >> 8) & 0xFF);
        return Set(offset + 1, value & 0xFF);
    }
    Image& Celsius() { return Or(266, 0x80); }
};

std::wstring Degrees(int value, wchar_t unit)
{
    return std::to_wstring(value) + L' ' + wchar_t{176} + unit;
}

// ---- state line ----

TEST(StateLine, AirSwitchDisabledWinsOverEverythingAndFlashes)
{
    Image image;
    image.Or(118, 0x20).Set(171, 0x00).Or(188, 0x40).Set(271, 1);
    const StateLine on = ChooseStateLine(image.bytes, kBlinkOn);
    EXPECT_EQ(on.rule, 1);
    EXPECT_EQ(on.text, L"** AIRSWITCH DISABLED **");
    EXPECT_EQ(on.colour, kRed);
    const StateLine off = ChooseStateLine(image.bytes, kBlinkOff);
    EXPECT_EQ(off.text, kSixteenBlanks);
}

TEST(StateLine, LearningPeriodIsSteadyAboveFiveMinutesAndFlashesRedBelow)
{
    Image image;
    image.Set(52, 6).Or(179, 0x04).Set(171, 0xA8).Set(187, 3);
    StateLine line = ChooseStateLine(image.bytes, kBlinkOff);
    EXPECT_EQ(line.rule, 2);
    EXPECT_EQ(line.text, L"M/C AUTO MODE: 6 Minutes");
    EXPECT_EQ(line.colour, 0x0000FF64u);
    EXPECT_EQ(line.fontHeight, 30);

    image.Set(52, 5);
    line = ChooseStateLine(image.bytes, kBlinkOn);
    EXPECT_EQ(line.text, L"M/C AUTO MODE: 5 Minutes");
    EXPECT_EQ(line.colour, 0x000000C8u);
    EXPECT_EQ(ChooseStateLine(image.bytes, kBlinkOff).text, L"");
}

TEST(StateLine, LearningPeriodNeedsSchemeThree)
{
    Image image;
    image.Set(52, 6).Or(179, 0x04).Set(171, 0xA8).Set(187, 4);
    EXPECT_NE(ChooseStateLine(image.bytes, kBlinkOn).rule, 2);
}

TEST(StateLine, TemperatureHoldShowsTheShortfall)
{
    Image image;
    image.Or(224, 0x08).Or(188, 0x40).Le(149, 150).Le(93, 120);
    StateLine line = ChooseStateLine(image.bytes, kBlinkOn);
    EXPECT_EQ(line.rule, 3);
    EXPECT_EQ(line.text, L"TEMP HOLD... [- " + Degrees(30, L'F') + L"]");
    EXPECT_EQ(line.colour, kGreen);

    // Selector 1 and 2 use their own sensors against the first setpoint.
    image.Set(184, 1).Le(91, 140);
    EXPECT_EQ(ChooseStateLine(image.bytes, kBlinkOn).text,
              L"TEMP HOLD... [- " + Degrees(10, L'F') + L"]");
    image.Set(184, 2).Le(89, 100);
    EXPECT_EQ(ChooseStateLine(image.bytes, kBlinkOn).text,
              L"TEMP HOLD... [- " + Degrees(50, L'F') + L"]");
    image.Set(184, 7);
    EXPECT_EQ(ChooseStateLine(image.bytes, kBlinkOn).text, L"");
}

TEST(StateLine, TemperatureHoldWithDualHeatUsesUpperOrLowerSetpoint)
{
    Image image;
    image.Or(224, 0x08).Or(188, 0x40).Or(257, 0x02).Le(151, 200).Le(153, 160).Le(93, 150);
    EXPECT_EQ(ChooseStateLine(image.bytes, kBlinkOn).text,
              L"TEMP HOLD... [- " + Degrees(10, L'F') + L"]");
    image.Or(148, 0x10);
    EXPECT_EQ(ChooseStateLine(image.bytes, kBlinkOn).text,
              L"TEMP HOLD... [- " + Degrees(50, L'F') + L"]");
}

TEST(StateLine, TemperatureHoldInCelsiusConvertsTheShortfallAsATemperature)
{
    Image image;
    image.Or(224, 0x08).Or(188, 0x40).Le(149, 150).Le(93, 100).Celsius();
    EXPECT_EQ(ChooseStateLine(image.bytes, kBlinkOn).text,
              L"TEMP HOLD... [- " + Degrees(10, L'C') + L"]");
}

struct LoadCase {
    int left;
    int setting;
    COLORREF colour;
};

class StateLineLoading : public ::testing::TestWithParam<LoadCase> {};

TEST_P(StateLineLoading, ColourFollowsTheShareOfTimeLeft)
{
    const LoadCase c = GetParam();
    Image image;
    image.Set(171, 0x80).Set(24, c.left / 60).Set(25, c.left % 60);
    image.Set(26, c.setting / 60).Set(27, c.setting % 60);
    const StateLine line = ChooseStateLine(image.bytes, kBlinkOn);
    EXPECT_EQ(line.rule, 4);
    EXPECT_EQ(line.text, L"LOADING...");
    EXPECT_EQ(line.colour, c.colour);
}

INSTANTIATE_TEST_SUITE_P(Shares, StateLineLoading,
                         ::testing::Values(LoadCase{40, 60, kGreen}, LoadCase{30, 60, kYellow},
                                           LoadCase{16, 60, kYellow}, LoadCase{15, 60, kRed},
                                           LoadCase{0, 60, kRed}, LoadCase{5, 0, kGreen},
                                           LoadCase{0, 0, kRed}));

TEST(StateLine, LoadCountDownShowsElapsedTime)
{
    Image image;
    image.Set(171, 0x20).Set(24, 0).Set(25, 40).Set(26, 1).Set(27, 0).Or(28, 0x01);
    const StateLine line = ChooseStateLine(image.bytes, kBlinkOn);
    EXPECT_EQ(line.text, L"LOADING...  0:20");
    EXPECT_EQ(line.colour, kGreen);
}

TEST(StateLine, CenterAdjustFlashesInTheLastThreeMinutes)
{
    Image image;
    image.Le(290, 3500).Or(188, 0x40).Or(224, 0x80).Set(187, 4);
    StateLine line = ChooseStateLine(image.bytes, kBlinkOn);
    EXPECT_EQ(line.rule, 5);
    EXPECT_EQ(line.text, L"CENTER ADJ... [01:40]");
    EXPECT_EQ(line.colour, kRed);
    EXPECT_EQ(ChooseStateLine(image.bytes, kBlinkOff).text, kSixteenBlanks);

    image.Le(290, 3420);
    EXPECT_EQ(ChooseStateLine(image.bytes, kBlinkOn).rule, 7);  // 180 s is not below 180
}

TEST(StateLine, CenterAdjustPastTheHourReadsZero)
{
    Image image;
    image.Le(290, 3700).Or(188, 0x40).Or(224, 0x80).Set(187, 5);
    EXPECT_EQ(ChooseStateLine(image.bytes, kBlinkOn).text, L"CENTER ADJ... [00:00]");
}

TEST(StateLine, UnloadingWinsOverDryerStarted)
{
    Image image;
    image.Or(188, 0x40).Or(172, 0x01);
    StateLine line = ChooseStateLine(image.bytes, kBlinkOn);
    EXPECT_EQ(line.rule, 6);
    EXPECT_EQ(line.text, L"UNLOADING...");
    EXPECT_EQ(line.colour, kBlue);
    image.Set(172, 0).Or(171, 0x40).Or(43, 0x01).Set(39, 2).Set(40, 5);
    EXPECT_EQ(ChooseStateLine(image.bytes, kBlinkOn).text, L"UNLOADING...  2:05");
}

TEST(StateLine, StartedStoppedHoldAndCoolDown)
{
    Image image;
    EXPECT_EQ(ChooseStateLine(image.bytes, kBlinkOn).text, L"DRYER STOPPED");
    EXPECT_EQ(ChooseStateLine(image.bytes, kBlinkOn).colour, kRed);
    image.Set(271, 0x01);
    EXPECT_EQ(ChooseStateLine(image.bytes, kBlinkOn).text, L"DRYER COOLING DOWN");
    EXPECT_EQ(ChooseStateLine(image.bytes, kBlinkOn).colour, kBlue);
    image.Or(188, 0x40);
    EXPECT_EQ(ChooseStateLine(image.bytes, kBlinkOn).text, L"DRYER STARTED");
    EXPECT_EQ(ChooseStateLine(image.bytes, kBlinkOn).colour, kGreen);
    image.Or(257, 0x01).Set(8, 1);
    EXPECT_EQ(ChooseStateLine(image.bytes, kBlinkOn).text, L"UNLOAD HOLD");
    EXPECT_EQ(ChooseStateLine(image.bytes, kBlinkOn).colour, kRed);
}

TEST(StateLine, RulesKeepTheirOrder)
{
    // Each step adds the condition of a higher rule; the line follows the highest.
    Image image;
    image.Set(271, 1);
    EXPECT_EQ(ChooseStateLine(image.bytes, 1).rule, 8);
    image.Or(188, 0x40);
    EXPECT_EQ(ChooseStateLine(image.bytes, 1).rule, 7);
    image.Or(172, 0x01);
    EXPECT_EQ(ChooseStateLine(image.bytes, 1).rule, 6);
    image.Le(290, 3500).Or(224, 0x80).Set(187, 4);
    EXPECT_EQ(ChooseStateLine(image.bytes, 1).rule, 5);
    image.Set(171, 0x20);
    EXPECT_EQ(ChooseStateLine(image.bytes, 1).rule, 4);
    image.Or(224, 0x08);
    EXPECT_EQ(ChooseStateLine(image.bytes, 1).rule, 3);
    image.Set(52, 9).Or(179, 0x04).Or(171, 0x08).Set(187, 3);
    EXPECT_EQ(ChooseStateLine(image.bytes, 1).rule, 2);
    image.Or(118, 0x20);
    EXPECT_EQ(ChooseStateLine(image.bytes, 1).rule, 1);
}

// ---- plenum panel ----

TEST(PlenumLayout, CountCodeChoosesTheLayout)
{
    const PlenumLayout expected[] = {PlenumLayout::One,  PlenumLayout::Two, PlenumLayout::Three,
                                     PlenumLayout::Four, PlenumLayout::Six, PlenumLayout::None};
    for (int code = 0; code <= 5; ++code) {
        Image image;
        image.Set(3, code);
        EXPECT_EQ(ChoosePlenumLayout(image.bytes), expected[code]) << code;
    }
}

TEST(PlenumLayout, TowerBitGivesOnePlenumWhateverTheCount)
{
    Image image;
    image.Set(3, 4).Or(225, 0x20);
    EXPECT_EQ(ChoosePlenumLayout(image.bytes), PlenumLayout::One);
}

struct ThresholdCase {
    int temperature;
    const wchar_t* line;
};

class FourPlenumThresholds : public ::testing::TestWithParam<ThresholdCase> {};

TEST_P(FourPlenumThresholds, TemperatureDecidesTheSensorFault)
{
    const ThresholdCase c = GetParam();
    Image image;
    image.Set(3, 3).Le(83 - 2 * 3, c.temperature);
    const PanelText line = BurnerLine(image.bytes, 3, PlenumLayout::Four);
    EXPECT_EQ(line.text, c.line);
}

INSTANTIATE_TEST_SUITE_P(Limits, FourPlenumThresholds,
                         ::testing::Values(ThresholdCase{261, L"Plenum 3 Sensor Shorted"},
                                           ThresholdCase{260, L"BURNER OFF"},
                                           ThresholdCase{-35, L"BURNER OFF"},
                                           ThresholdCase{-36, L"Plenum 3 Sensor Open"}));

TEST(PlenumBurnerLine, SmallLayoutsTestTheBoardFlags)
{
    Image image;
    image.Set(3, 1).Or(137 - 1, 0x20).Le(81, 150);
    PanelText line = BurnerLine(image.bytes, 1, PlenumLayout::Two);
    EXPECT_EQ(line.text, L"SENSOR SHORTED");
    EXPECT_EQ(line.colour, kOrange);
    image.Set(136, 0x10);
    EXPECT_EQ(BurnerLine(image.bytes, 1, PlenumLayout::Two).text, L"SENSOR OPEN");
}

TEST(PlenumBurnerLine, OneHeaterReportsAReadingOutOfRange)
{
    Image image;
    image.Le(81, -36);
    EXPECT_EQ(BurnerLine(image.bytes, 1, PlenumLayout::One).text, L"Plenum 1 Sensor Open");
    image.Le(81, 261);
    EXPECT_EQ(BurnerLine(image.bytes, 1, PlenumLayout::One).text, L"Plenum 1 Sensor Shorted");
    image.Le(81, 260);
    EXPECT_EQ(BurnerLine(image.bytes, 1, PlenumLayout::One).text, L"BURNER OFF");
}

TEST(PlenumBurnerLine, PurgingWinsOverAFaultySensor)
{
    Image image;
    image.Set(3, 3).Le(83 - 2 * 2, 300).Or(149 - 2, 0x01).Or(137 - 2, 0x20);
    PanelText line = BurnerLine(image.bytes, 2, PlenumLayout::Four);
    EXPECT_EQ(line.text, L"Purging...");
    EXPECT_EQ(line.colour, kGreen);
    image.Set(147, 0x02);
    line = BurnerLine(image.bytes, 2, PlenumLayout::Four);
    EXPECT_EQ(line.text, L"Igniting...");
    EXPECT_EQ(line.colour, kRed);
    EXPECT_EQ(BurnerLine(image.bytes, 2, PlenumLayout::Two).text, L"Igniting...");
}

TEST(PlenumBurnerLine, OnePlenumLayoutSaysBurnerIs)
{
    Image image;
    image.Or(148, 0x01);
    EXPECT_EQ(BurnerLine(image.bytes, 1, PlenumLayout::One).text, L"Burner is\n  Purging...");
    image.Set(148, 0x02);
    EXPECT_EQ(BurnerLine(image.bytes, 1, PlenumLayout::One).text, L"Burner is\n  Igniting...");
}

TEST(PlenumBurnerLine, BurnerStates)
{
    Image image;
    image.Set(130, 0x02);
    PanelText line = BurnerLine(image.bytes, 1, PlenumLayout::Two);
    EXPECT_EQ(line.text, L"LOW FIRE");
    EXPECT_EQ(line.colour, kBlue);
    image.Set(130, 0x06);
    line = BurnerLine(image.bytes, 1, PlenumLayout::Two);
    EXPECT_EQ(line.text, L"HIGH FIRE");
    EXPECT_EQ(line.colour, kRed);
    image.Or(225, 0x22);
    EXPECT_EQ(BurnerLine(image.bytes, 1, PlenumLayout::One).text, L"BURNER ON");
    image.Set(130, 0x00);
    line = BurnerLine(image.bytes, 1, PlenumLayout::One);
    EXPECT_EQ(line.text, L"BURNER OFF");
    EXPECT_EQ(line.colour, kGreen);
}

// ---- dryer picture ----

TEST(DryerPictureChoice, ByModulesAndConfiguration)
{
    Image image;
    EXPECT_EQ(ChooseDryerPicture(image.bytes), DryerPicture::OneModule);
    image.Or(225, 0x20);
    EXPECT_EQ(ChooseDryerPicture(image.bytes), DryerPicture::Tower);
    image.Or(225, 0x80);
    EXPECT_EQ(ChooseDryerPicture(image.bytes), DryerPicture::OneModule);
    image.Set(4, 1);
    EXPECT_EQ(ChooseDryerPicture(image.bytes), DryerPicture::TwoModule);
    image.Set(4, 2);
    EXPECT_EQ(ChooseDryerPicture(image.bytes), DryerPicture::ThreeModule);
    EXPECT_EQ(DryerBodyBitmap(DryerPicture::OneModule), 367);
    EXPECT_EQ(DryerBodyBitmap(DryerPicture::TwoModule), 324);
    EXPECT_EQ(DryerBodyBitmap(DryerPicture::ThreeModule), 323);
    EXPECT_EQ(DryerBodyBitmap(DryerPicture::Tower), 406);
}

struct SchemeCase {
    int mode;          // byte 187
    int speedSetting;  // byte 201
    const wchar_t* type;
    const wchar_t* control;
    COLORREF controlColour;
    bool dischargeLine;
};

class OneModuleStatusLines : public ::testing::TestWithParam<SchemeCase> {};

TEST_P(OneModuleStatusLines, FollowTheMoistureControlScheme)
{
    const SchemeCase c = GetParam();
    Image image;
    image.Set(187, c.mode).Set(201, c.speedSetting).Be(189, 145);
    const auto lines = DryerStatusLines(image.bytes, DryerPicture::OneModule);
    ASSERT_EQ(lines.size(), 9u);
    EXPECT_EQ(lines[0].text, c.type);
    EXPECT_EQ(lines[0].colour, kGreen);
    EXPECT_EQ(lines[1].text, c.control);
    EXPECT_EQ(lines[1].colour, c.controlColour);
    EXPECT_EQ(lines[7].text, c.dischargeLine ? L"14.5%" : L"");
}

INSTANTIATE_TEST_SUITE_P(Schemes, OneModuleStatusLines,
                         ::testing::Values(SchemeCase{0x01, 0, L"TEMP", L"MANUAL", kRed, true},
                                           SchemeCase{0x81, 0, L"TEMP", L"AUTO 2SP", kGreen, true},
                                           SchemeCase{0xC1, 0, L"TEMP", L"ON/OFF", kGreen, true},
                                           SchemeCase{0x02, 5, L"3 SPEED", L"AUTO", kGreen, false},
                                           SchemeCase{0x02, 4, L"3 SPEED", L"MANUAL", kRed, false},
                                           SchemeCase{0x03, 3, L"VARIABLE", L"AUTO", kGreen, false},
                                           SchemeCase{0x03, 2, L"VARIABLE", L"MANUAL", kRed, false},
                                           SchemeCase{0x84, 0, L"5 SPEED", L"AUTO", kGreen, false},
                                           SchemeCase{0x04, 0, L"5 SPEED", L"MANUAL", kRed, false},
                                           SchemeCase{0x85, 0, L"TEMP-5SP", L"AUTO", kGreen, true},
                                           SchemeCase{0x06, 3, L"MC: NONE", L"AUTO", kGreen,
                                                      false}));

TEST(OneModuleStatusLinesMore, BatchLines)
{
    Image image;
    image.Set(8, 1).Or(257, 0x30).Be(221, 12);
    const auto lines = DryerStatusLines(image.bytes, DryerPicture::OneModule);
    EXPECT_EQ(lines[0].text, L"BATCH");
    EXPECT_EQ(lines[1].text, L"TIME:TEMP");
    EXPECT_EQ(lines[3].text, L"BAT 12");
    image.Set(257, 0x40);
    EXPECT_EQ(DryerStatusLines(image.bytes, DryerPicture::OneModule)[1].text, L"MOIST");
    image.Set(8, 2);
    EXPECT_EQ(DryerStatusLines(image.bytes, DryerPicture::OneModule)[0].text, L"TYPE:NONE");
}

TEST(OneModuleStatusLinesMore, SpeedMeterRollThroughputTotalsAndSensor)
{
    Image image;
    image.Set(187, 0x84).Set(245, 7).Set(220, 3).Be(197, 123).Be(173, 1000);
    image.Le(164, 3600 * 250).Set(166, (3600 * 250 >> 16) & 0xFF).Set(167, 0);
    image.Be(193, 1234).Or(293, 0x80).Or(292, 0x02);
    auto lines = DryerStatusLines(image.bytes, DryerPicture::OneModule);
    EXPECT_EQ(lines[2].text, L"M-HI 7");
    EXPECT_EQ(lines[2].colour, kRed);
    EXPECT_EQ(lines[3].text, L"RPM 12.3");
    EXPECT_EQ(lines[4].text, L"BPH 1000");
    EXPECT_EQ(lines[5].text, L"TB 250");
    EXPECT_EQ(lines[6].text, Degrees(123, L'F'));
    EXPECT_EQ(lines[6].colour, kYellow);
    EXPECT_EQ(lines[8].text, L"SAMPLING");

    image.Celsius();
    lines = DryerStatusLines(image.bytes, DryerPicture::OneModule);
    EXPECT_EQ(lines[4].text, L"MTH 25");
    EXPECT_EQ(lines[5].text, L"MT 6");
    EXPECT_EQ(lines[6].text, Degrees(50, L'C'));  // 123.4 F is 50.7 C

    image.Or(49, 0x20);
    EXPECT_EQ(DryerStatusLines(image.bytes, DryerPicture::OneModule)[3].text, L"DISABLED");
    EXPECT_EQ(DryerStatusLines(image.bytes, DryerPicture::Tower)[2].text, L"DISABLED");
}

TEST(OneModuleStatusLinesMore, SpeedLineOfTheOtherSchemes)
{
    Image image;
    image.Set(187, 0x03).Set(245, 4).Set(223, 5).Set(155, 1);
    EXPECT_EQ(DryerStatusLines(image.bytes, DryerPicture::OneModule)[2].text, L"MED 4.5");
    image.Set(155, 2);
    EXPECT_EQ(DryerStatusLines(image.bytes, DryerPicture::OneModule)[2].text, L"HI 4");
    image.Set(155, 0);
    EXPECT_EQ(DryerStatusLines(image.bytes, DryerPicture::OneModule)[2].text, L"LOW 4");
    image.Or(187, 0x40);
    EXPECT_EQ(DryerStatusLines(image.bytes, DryerPicture::OneModule)[2].text, L"OFF");
    image.Set(187, 0x02).Set(201, 6);
    EXPECT_EQ(DryerStatusLines(image.bytes, DryerPicture::OneModule)[2].text, L"LO 4");
}

TEST(DryerReadout, TemperatureOrMoistureMode)
{
    Image image;
    image.Set(187, 0x01);
    EXPECT_TRUE(TemperatureReadout(image.bytes));
    image.Set(187, 0x09);
    EXPECT_FALSE(TemperatureReadout(image.bytes));
    image.Set(187, 0x05);
    EXPECT_TRUE(TemperatureReadout(image.bytes));
    image.Set(187, 0x03);
    EXPECT_FALSE(TemperatureReadout(image.bytes));
    image.Set(8, 1).Or(257, 0x20);
    EXPECT_TRUE(TemperatureReadout(image.bytes));
}

TEST(FanPictures, SetFollowsHeatAndFanFlags)
{
    Image image;
    EXPECT_EQ(FanBitmap(image.bytes, 1, 0, true), 292);
    image.Set(136, 0x01);  // fan on
    EXPECT_EQ(FanBitmap(image.bytes, 1, 1, true), 296);
    EXPECT_EQ(FanBitmap(image.bytes, 1, 1, false), 345);
    image.Set(136, 0x03);  // heat on, low fire
    EXPECT_EQ(FanBitmap(image.bytes, 1, 2, true), 306);
    EXPECT_EQ(FanBitmap(image.bytes, 1, 2, false), 352);
    image.Set(130, 0x05);  // high fire
    EXPECT_EQ(FanBitmap(image.bytes, 1, 0, true), 301);
    EXPECT_EQ(FanBitmap(image.bytes, 1, 2, false), 349);
    // Fan/heater 6 reads the first byte of each array.
    image.Set(131, 0x01);
    EXPECT_EQ(FanBitmap(image.bytes, 6, 0, false), 344);
}

TEST(Units, CelsiusTruncatesTowardZero)
{
    EXPECT_EQ(DisplayTemperature(212, true), 100);
    EXPECT_EQ(DisplayTemperature(0, true), -17);
    EXPECT_EQ(DisplayTemperature(212, false), 212);
}

}  // namespace
