// What the home panels and the warning window draw, read back through the platform's
// inspection of the last paint (texts, colours, rectangles).
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "dryer/link/dryer_image.h"
#include "dryer/screens/home_panels.h"
#include "platform/drawing/gdi.h"
#include "platform/drawing/resources.h"
#include "platform/runtime/runtime.h"
#include "platform/windowing/window.h"
#include "resources/orbitdryer/home_panel_art.h"
#include "resources/orbitdryer/panel_colours.h"
#include "tests/dryer/program/panel_run.h"
#include "tests/dryer/screens/drawn_text_support.h"
#include "tests/dryer/screens/scene_image_support.h"

using namespace home_panels;
using screens_test::Degrees;
using screens_test::Drawn;
using screens_test::DrawnTexts;
using screens_test::Has;
using screens_test::SceneImage;

namespace {

HomePanelInputs gInputs;  // all but the image
SceneImage gImage;
bool gStepRequest = false;
int gLinkResets = 0;

void ReadInputs(HomePanelInputs& out)
{
    out = gInputs;
    out.image = gImage.bytes;
}
bool TakeStep()
{
    const bool was = gStepRequest;
    gStepRequest = false;
    return was;
}
void CountReset()
{
    ++gLinkResets;
}

// The platform records the box of the drawn glyphs; it lies inside the text's rectangle.
bool Within(const RECT& inner, const RECT& outer)
{
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom && inner.right > inner.left;
}

class PanelPaint : public ::testing::Test {
protected:
    // The test binary shares one panel clock with the whole-program tests: the virtual one.
    static void SetUpTestSuite()
    {
        panel_test::EnsureVirtualClock();
        platform::ScreenOptions options;
        options.headless = true;
        platform::OpenScreen(options);
        platform::RegisterBitmapResources("orbitdryer_screens_test", HomePanelBitmaps());
    }

    static void TearDownTestSuite()
    {
        Windows().clear();
        platform::CloseScreen();
    }

    static std::map<std::wstring, HWND>& Windows()
    {
        static std::map<std::wstring, HWND> windows;
        return windows;
    }

    void SetUp() override
    {
        gInputs = HomePanelInputs{};
        gImage = SceneImage{};
        gInputs.blinkFlags = 1;
        gStepRequest = false;
        gLinkResets = 0;
        ResetHomePanelState();
        SetHomePanelSource(HomePanelSource{&ReadInputs, &TakeStep, &CountReset});
    }

    // The windows live for the whole run, as on the panel (the warning window posts the quit
    // message when destroyed); a test shows the one it paints and hides it afterwards.
    void TearDown() override
    {
        if (wnd_ != nullptr) ShowWindow(wnd_, SW_HIDE);
        ResetHomePanelSource();
    }

    // The dryer image the panels paint from.
    SceneImage& Image() { return gImage; }

    void Open(const wchar_t* className, WNDPROC proc, int width, int height)
    {
        std::map<std::wstring, HWND>& windows = Windows();
        className_ = className;
        if (auto found = windows.find(className); found != windows.end()) {
            wnd_ = found->second;
            ShowWindow(wnd_, SW_SHOW);
            return;
        }
        WNDCLASS wc{};
        wc.lpfnWndProc = proc;
        wc.lpszClassName = className;
        wc.hbrBackground = GetStockObject(BLACK_BRUSH);
        RegisterClass(&wc);
        wnd_ = CreateWindowEx(0, className, L"", WS_POPUP | WS_VISIBLE, 0, 0, width, height,
                              nullptr, 0, nullptr, nullptr);
        ASSERT_NE(wnd_, nullptr);
        windows[className] = wnd_;
    }

    // Paints the window now and returns the texts of that paint.
    DrawnTexts Paint()
    {
        InvalidateRect(wnd_, nullptr, TRUE);
        UpdateWindow(wnd_);
        for (const platform::WindowInfo& w : platform::InspectWindows()) {
            if (w.className == className_) return w.texts;
        }
        return {};
    }

    HWND wnd_ = nullptr;
    std::wstring className_;
};

// ---- state line ----

TEST_F(PanelPaint, StateLineDrawsCentredBoldLineInItsColour)
{
    Open(L"TEST_STATE_LINE", DryerStateLineProc, 400, 40);
    Image().On(dryerStartedBit);
    const auto line = Drawn(Paint(), L"DRYER STARTED");
    EXPECT_EQ(line.colour, kGreen);
    EXPECT_TRUE(Within(line.rect, RECT{5, 0, 390, 45}));
}

TEST_F(PanelPaint, StateLineAirSwitchFlashesWithTheBlinkBit)
{
    Open(L"TEST_STATE_LINE", DryerStateLineProc, 400, 40);
    Image().On(airswitchDisabledBit);
    EXPECT_EQ(Drawn(Paint(), L"** AIRSWITCH DISABLED **").colour, kRed);
    gInputs.blinkFlags = 0;
    EXPECT_FALSE(Has(Paint(), L"** AIRSWITCH DISABLED **"));
}

// ---- plenum panel ----

TEST_F(PanelPaint, OnePlenumLayout)
{
    Open(L"TEST_PLENUM", PlenumPanelProc, 400, 175);
    Image()
        .Set(ForHeater(plenumTemp, 1), 185)
        .Set(ForHeater(plenumSetpoint, 1), 190)
        .On(ForHeater(burnerOnBit, 1))
        .On(ForHeater(highFireBit, 1));
    const auto texts = Paint();
    EXPECT_TRUE(Has(texts, L"SETPOINT"));
    EXPECT_EQ(Drawn(texts, Degrees(190, L'F') + L" ").colour, kSetpointYellow);
    EXPECT_EQ(Drawn(texts, L"185").colour, kRed);
    EXPECT_EQ(Drawn(texts, L"HIGH FIRE").colour, kRed);
}

TEST_F(PanelPaint, TowerBitDrawsOnePlenumWithSixHeaters)
{
    Open(L"TEST_PLENUM", PlenumPanelProc, 400, 175);
    Image().Set(heaterCountCode, 4).On(towerBit);
    const auto texts = Paint();
    EXPECT_TRUE(Has(texts, L"SETPOINT"));
    EXPECT_FALSE(Has(texts, L"PLENUM 6"));
}

TEST_F(PanelPaint, TwoPlenumLayoutShowsUpperOverLower)
{
    Open(L"TEST_PLENUM", PlenumPanelProc, 400, 175);
    Image()
        .Set(heaterCountCode, 1)
        .Set(ForHeater(plenumTemp, 1), 150)
        .Set(ForHeater(plenumTemp, 2), 170)
        .Set(ForHeater(plenumSetpoint, 1), 160)
        .On(ForHeater(sensorShortedBit, 1));  // plenum 1 shorted by the board's flags
    const auto texts = Paint();
    const auto upper = Drawn(texts, L"PLENUM 2 (UPPER)");
    const auto lower = Drawn(texts, L"PLENUM 1 (LOWER)");
    EXPECT_LT(upper.rect.top, lower.rect.top);
    const auto shorted = Drawn(texts, L"SENSOR SHORTED");
    EXPECT_EQ(shorted.colour, kOrange);
    EXPECT_GE(shorted.rect.top, 70);  // the lower row
    EXPECT_TRUE(Has(texts, L"SP:  " + Degrees(160, L'F') + L" "));
    EXPECT_TRUE(Has(texts, L"170"));
}

TEST_F(PanelPaint, ThreePlenumLayoutColumns)
{
    Open(L"TEST_PLENUM", PlenumPanelProc, 400, 175);
    Image().Set(heaterCountCode, 2);
    const auto texts = Paint();
    const auto p1 = Drawn(texts, L"PLENUM 1 (LOWER)");
    const auto p2 = Drawn(texts, L"PLENUM 2 (MIDDLE)");
    const auto p3 = Drawn(texts, L"PLENUM 3 (UPPER)");
    EXPECT_LT(p1.rect.left, p2.rect.left);
    EXPECT_LT(p2.rect.left, p3.rect.left);
}

TEST_F(PanelPaint, FourPlenumLayoutReportsShortedSensorByTemperature)
{
    Open(L"TEST_PLENUM", PlenumPanelProc, 400, 175);
    Image().Set(heaterCountCode, 3).Set(ForHeater(plenumTemp, 3), 261);
    auto texts = Paint();
    for (int k = 1; k <= 4; ++k) EXPECT_TRUE(Has(texts, L"PLENUM " + std::to_wstring(k)));
    EXPECT_EQ(Drawn(texts, L"Plenum 3 Sensor Shorted").colour, kOrange);
    Image().Set(ForHeater(plenumTemp, 3), 260);
    texts = Paint();
    EXPECT_FALSE(Has(texts, L"Plenum 3 Sensor Shorted"));
    EXPECT_TRUE(Has(texts, L"260"));
}

TEST_F(PanelPaint, SixPlenumLayoutAndOpenSensor)
{
    Open(L"TEST_PLENUM", PlenumPanelProc, 400, 175);
    Image().Set(heaterCountCode, 4).Set(ForHeater(plenumTemp, 6), -36);
    const auto texts = Paint();
    for (int k = 1; k <= 6; ++k) EXPECT_TRUE(Has(texts, L"PLENUM " + std::to_wstring(k)));
    EXPECT_TRUE(Has(texts, L"Plenum 6 Sensor Open"));
    EXPECT_TRUE(Has(texts, L"SETPOINT"));
}

TEST_F(PanelPaint, UnknownCountCodeDrawsABlackPanel)
{
    Open(L"TEST_PLENUM", PlenumPanelProc, 400, 175);
    Image().Set(heaterCountCode, 9);
    EXPECT_TRUE(Paint().empty());
}

TEST_F(PanelPaint, PlenumInCelsius)
{
    Open(L"TEST_PLENUM", PlenumPanelProc, 400, 175);
    Image().Set(ForHeater(plenumTemp, 1), 212).Set(ForHeater(plenumSetpoint, 1), 212).Celsius();
    const auto texts = Paint();
    EXPECT_TRUE(Has(texts, L"100"));
    EXPECT_TRUE(Has(texts, Degrees(100, L'C') + L" "));
}

TEST_F(PanelPaint, PurgingBurnerWithFaultySensorShowsPurging)
{
    Open(L"TEST_PLENUM", PlenumPanelProc, 400, 175);
    Image()
        .Set(heaterCountCode, 3)
        .Set(ForHeater(plenumTemp, 3), 300)
        .On(ForHeater(purgingBit, 3));  // burner 3 purging
    const auto texts = Paint();
    EXPECT_EQ(Drawn(texts, L"Purging...").colour, kGreen);
    EXPECT_FALSE(Has(texts, L"Plenum 3 Sensor Shorted"));
}

TEST_F(PanelPaint, DualHeatSetpointsOnTheOnePlenumLayout)
{
    Open(L"TEST_PLENUM", PlenumPanelProc, 400, 175);
    Image()
        .Set(dryingType, kBatchDrying)
        .On(dualHeatBit)
        .Set(ForHeater(plenumSetpoint, 1), 150)
        .Set(upperPlenumSetpoint, 210);
    auto texts = Paint();
    EXPECT_EQ(Drawn(texts, Degrees(150, L'F') + L" ").colour, kRed);
    EXPECT_TRUE(Has(texts, Degrees(210, L'F') + L" "));
    Image().On(loHeatPlenumBit);
    texts = Paint();
    EXPECT_EQ(Drawn(texts, Degrees(210, L'F') + L" ").colour, kBlue);
}

// ---- dryer picture ----

TEST_F(PanelPaint, OneModulePictureStatusColumnAndReadout)
{
    Open(L"TEST_DRYER_PIC", DryerPicProc, 240, 420);
    Image()
        .Set(moistureSchemeBits, kSchemeTemp)  // temperature scheme, automatic
        .On(moistureAutoBit)
        .Set(GrainTempEntry(0), 112)
        .Set(grainSetpointMain, 120)
        .Set(wetMoisture, 215)
        .Set(bushelsPerHour, 850);
    const auto texts = Paint();
    EXPECT_TRUE(Within(Drawn(texts, L"TEMP").rect, RECT{180, 280, 250, 300}));
    EXPECT_TRUE(Within(Drawn(texts, L"AUTO 2SP").rect, RECT{180, 290, 250, 310}));
    EXPECT_TRUE(Within(Drawn(texts, L"BPH 850").rect, RECT{180, 320, 250, 340}));
    EXPECT_EQ(Drawn(texts, L"21.5%").colour, kMoistureGreen);
    const auto readout = Drawn(texts, L"112");
    EXPECT_TRUE(Within(readout.rect, RECT{0, 335, 140, 415}));
    EXPECT_EQ(readout.colour, kGreen);
    EXPECT_TRUE(Has(texts, std::wstring(L"SP 120") + wchar_t{176} + L"F"));
    EXPECT_TRUE(Has(texts, std::wstring(L"112") + wchar_t{176} + L"F"));
}

TEST_F(PanelPaint, OneModulePictureInCelsius)
{
    Open(L"TEST_DRYER_PIC", DryerPicProc, 240, 420);
    Image()
        .Set(moistureSchemeBits, kSchemeTemp)
        .On(moistureAutoBit)
        .Set(GrainTempEntry(0), 212)
        .Celsius();
    const auto texts = Paint();
    EXPECT_TRUE(Has(texts, L"100"));
    EXPECT_TRUE(Has(texts, std::wstring(L"100") + wchar_t{176} + L"C"));
}

TEST_F(PanelPaint, MoistureReadoutAndDualHeatSetpoints)
{
    Open(L"TEST_DRYER_PIC", DryerPicProc, 240, 420);
    Image()
        .Set(moistureSchemeBits, kSchemeVariable)
        .Set(dryMoisture, 152)
        .Set(moistureSetpoint, 150);
    auto texts = Paint();
    EXPECT_TRUE(Has(texts, L"15.2"));
    EXPECT_TRUE(Has(texts, L"SP 15.0%"));

    Image()
        .Set(dryingType, kBatchDrying)
        .On(criterionTempBit)  // batch by temperature, dual heat
        .On(dualHeatBit)
        .Set(grainSetpointUpper, 180)
        .Set(grainSetpointLower, 140);
    texts = Paint();
    EXPECT_TRUE(Has(texts, std::wstring(L"L-SP 140") + wchar_t{176} + L"F"));
    EXPECT_TRUE(Has(texts, std::wstring(L"U-SP 180") + wchar_t{176} + L"F"));
    EXPECT_TRUE(Has(texts, L"Ave In:"));
}

TEST_F(PanelPaint, EachPictureDrawsItsStatusColumn)
{
    Open(L"TEST_DRYER_PIC", DryerPicProc, 240, 420);
    Image()
        .Set(moistureSchemeBits, kSchemeThreeSpeed)
        .Set(moistureSetpoint, 155)
        .Set(moduleCountCode, 1);
    auto texts = Paint();
    EXPECT_TRUE(Within(Drawn(texts, L"3 SPEED").rect, RECT{155, 272, 255, 286}));
    EXPECT_TRUE(Within(Drawn(texts, L"SP: 15.5%").rect, RECT{155, 356, 255, 370}));
    Image().Set(moduleCountCode, 2);
    texts = Paint();
    EXPECT_TRUE(Within(Drawn(texts, L"3 SPEED").rect, RECT{145, 260, 245, 275}));
    EXPECT_TRUE(Has(texts, L"SP: 15.5%"));
    Image().Set(moduleCountCode, 0).On(towerBit).Set(meterRollSpeed, 1234);
    texts = Paint();
    EXPECT_FALSE(Has(texts, L"3 SPEED"));  // the tower has no type line
    EXPECT_TRUE(Has(texts, L"RPM 12.34"));
}

TEST_F(PanelPaint, RiceLabelReplacesGrainTemperature)
{
    Open(L"TEST_DRYER_PIC", DryerPicProc, 240, 420);
    Image().On(riceBit);
    EXPECT_TRUE(Within(Drawn(Paint(), L"RICE").rect, RECT{195, 200, 250, 220}));
}

// ---- warning window ----

TEST_F(PanelPaint, ShutdownPanelForGrainOverheat)
{
    Open(L"TEST_WARNING", WarningWindowProc, 430, 325);
    Image().Warning(0x0305);
    auto texts = Paint();
    EXPECT_EQ(Drawn(texts, L"0305 - BURNER #2 GRAIN OVERHEAT").colour, kWhite);
    EXPECT_EQ(Drawn(texts, L"WARNING!").colour, kRed);
    EXPECT_TRUE(Has(texts, L"PRESS STOP BUTTON TO CLEAR"));
    EXPECT_TRUE(Has(texts, L"PRESS START FOR EMERGENCY COOLING"));
    EXPECT_TRUE(Has(texts, L"WARNING: BEFORE ENTERING EMERGENCY COOLING INPSPECT"));
    EXPECT_TRUE(Has(texts, L"DRYER FOR CAUSE OF TEMPERATURE HI LIMIT!"));
    wchar_t title[64] = {};
    GetWindowText(wnd_, title, 64);
    EXPECT_EQ(std::wstring(title), L" WARNING - DRYER SHUTTING DOWN!");

    Image().On(emergencyCoolingBit).Set(GrainTempEntry(0), 140);
    texts = Paint();
    EXPECT_EQ(Drawn(texts, L"EMERGENCY COOLING").colour, kBlue);
    EXPECT_TRUE(Has(texts, L"GRAIN TEMPERATURE: 140 " + std::wstring(1, wchar_t{176}) + L" F"));
    EXPECT_TRUE(Has(texts, L"WARNING: CONTINUE TO MONITOR DRYER"));
    EXPECT_TRUE(Has(texts, L"AND TEMPERATURES!"));
    EXPECT_FALSE(Has(texts, L"PRESS START FOR EMERGENCY COOLING"));
}

TEST_F(PanelPaint, DoorWarningShowsOnlyTextTitleAndStop)
{
    Open(L"TEST_WARNING", WarningWindowProc, 430, 325);
    Image().Warning(0x0E05);
    auto texts = Paint();
    EXPECT_TRUE(Has(texts, L"0E05 - MAIN I/O - REAR DISCHARGE DOOR OPENED"));
    EXPECT_TRUE(Has(texts, L"WARNING!"));
    EXPECT_TRUE(Has(texts, L"PRESS STOP BUTTON TO CLEAR"));
    EXPECT_FALSE(Has(texts, L"PRESS START FOR EMERGENCY COOLING"));
    gInputs.blinkFlags = 0;
    EXPECT_FALSE(Has(Paint(), L"WARNING!"));  // the title flashes
}

TEST_F(PanelPaint, CoolDownTitleCountsDown)
{
    Open(L"TEST_WARNING", WarningWindowProc, 430, 325);
    Image().Warning(0x0E01).On(coolDownRunningBit).Time(coolDownRemaining, 2, 5);
    const auto texts = Paint();
    EXPECT_EQ(Drawn(texts, L"COOL DOWN: 2:05").colour, kBlue);
    EXPECT_TRUE(Has(texts, L"PRESS START TO RESTART DRYER"));
}

TEST_F(PanelPaint, ConnectionLostWinsOverAShutdownAndAsksForALinkReset)
{
    Open(L"TEST_WARNING", WarningWindowProc, 430, 325);
    Image().Warning(0x0E05);
    gInputs.linkWatchdog = 0;
    const auto texts = Paint();
    const auto reconnect = Drawn(texts, L"Trying to Reconnect...");
    EXPECT_EQ(reconnect.colour, kTextBlue);
    // Whole, inside its box (5 to 325).
    RECT window{};
    GetWindowRect(wnd_, &window);
    EXPECT_GE(reconnect.rect.left - window.left, 5);
    EXPECT_LE(reconnect.rect.right - window.left, 325);
    EXPECT_FALSE(Has(texts, L"WARNING!"));
    EXPECT_GE(gLinkResets, 1);
    wchar_t title[64] = {};
    GetWindowText(wnd_, title, 64);
    EXPECT_EQ(std::wstring(title), L" CONNECTION TO DRYER LOST!");
}

TEST_F(PanelPaint, ReconnectBarStepsOnlyOnARequest)
{
    Open(L"TEST_WARNING", WarningWindowProc, 430, 325);
    gInputs.linkWatchdog = 0;
    Paint();
    EXPECT_EQ(ReconnectBarState().position, 0);
    gStepRequest = true;
    Paint();
    EXPECT_EQ(ReconnectBarState().position, 1);
    EXPECT_FALSE(gStepRequest);  // the panel took the request
    Paint();
    EXPECT_EQ(ReconnectBarState().position, 1);
}

}  // namespace
