// The fan of the dryer picture against the simulated board: a running fan turns through its
// three pictures, one every 100 ms tick, and a stopped fan stands still. The board is held
// still (no loading, unloading or metering) so that the fan is the only thing that moves.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dryer/link/dryer_image.h"
#include "platform/drawing/gdi.h"
#include "platform/runtime/runtime.h"
#include "tests/dryer/program/panel_run.h"

namespace {

using panel_test::PanelRun;

// The dryer picture's pixels (left column of the screen) as the screen shows them now.
std::vector<COLORREF> DryerPicturePixels(const PanelRun& panel, int frame)
{
    const std::string name = "frame" + std::to_string(frame) + ".png";
    if (!platform::SaveScreenshot(panel.root() / name)) return {};
    const std::wstring panelPath = L"\\" + std::wstring(name.begin(), name.end());
    HBITMAP shot = SHLoadDIBitmap(panelPath.c_str());
    if (shot == nullptr) return {};
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, shot);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < 420; ++y) {
        for (int x = 0; x < 240; ++x) pixels.push_back(GetPixel(dc, x, y));
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(shot);
    return pixels;
}

// A one-fan dryer that stands still, its fan running (or not) and its burner off.
sim::SimOptions StillDryer()
{
    sim::SimOptions options;
    options.scenario = "continuous-1fh";
    options.realTime = false;
    return options;
}

void HoldBoard(PanelRun& panel, bool fanRunning)
{
    using panel_test::SetOnBoard;
    SetOnBoard(panel.sim(), dryerState, kDryerStateIdle);  // not loading, not unloading
    SetOnBoard(panel.sim(), dryerState2, 0);
    SetOnBoard(panel.sim(), loadStatusBits, 0);  // meter rolls still
    SetOnBoard(panel.sim(), ForHeater(heaterState, 1), fanRunning ? fanRunningBit.mask : 0);
    SetOnBoard(panel.sim(), ForHeater(heaterPictureBits, 1), fanRunning ? fanOnBit.mask : 0);
    panel.Cycles(3);
}

TEST(FanAnimation, RunningFanTurnsThroughThreePicturesEvery100Ms)
{
    PanelRun panel(StillDryer());
    ASSERT_TRUE(panel.started());
    HoldBoard(panel, true);
    std::vector<std::vector<COLORREF>> frames;
    for (int i = 0; i < 4; ++i) {
        frames.push_back(DryerPicturePixels(panel, i));
        ASSERT_FALSE(frames.back().empty());
        platform::AdvanceClock(100);
    }
    EXPECT_NE(frames[0], frames[1]);
    EXPECT_NE(frames[1], frames[2]);
    EXPECT_NE(frames[0], frames[2]);
    EXPECT_EQ(frames[0], frames[3]);  // three pictures, then round again
}

TEST(FanAnimation, StoppedFanStandsStill)
{
    PanelRun panel(StillDryer());
    ASSERT_TRUE(panel.started());
    HoldBoard(panel, false);
    const std::vector<COLORREF> first = DryerPicturePixels(panel, 0);
    ASSERT_FALSE(first.empty());
    platform::AdvanceClock(100);
    EXPECT_EQ(first, DryerPicturePixels(panel, 1));
    platform::AdvanceClock(100);
    EXPECT_EQ(first, DryerPicturePixels(panel, 2));
}

}  // namespace
