// The batch timer panel: its buttons by drying type and dual heat, the keypad its buttons
// open, and the reload question that a button held across two 1-second ticks asks.
#include <gtest/gtest.h>

#include "dryer/link/dryer_image.h"
#include "dryer/link/pending_command.h"
#include "platform/runtime/runtime.h"
#include "resources/orbitdryer/panel_colours.h"
#include "tests/dryer/program/panel_run.h"

namespace {

using panel_test::PanelRun;

constexpr int kDry = 0x905E;
constexpr int kHiHeat = 0x905F;
constexpr int kLoHeat = 0x9060;
constexpr int kCool = 0x9061;
constexpr int kUnload = 0x9062;

bool ButtonShown(int id)
{
    const auto c = panel_test::FindControl(id);
    return c.has_value() && c->visible;
}

POINT Centre(int id)
{
    const auto c = panel_test::FindControl(id);
    if (!c) return POINT{-1, -1};
    return POINT{(c->rect.left + c->rect.right) / 2, (c->rect.top + c->rect.bottom) / 2};
}

struct Layout {
    int type;     // dryingType: kBatchDrying, or one that is neither batch nor continuous flow
    int options;  // dryerOptions: 0 or dualHeatBit
    bool dry, hiLo;
};

class BatchPanelLayout : public ::testing::TestWithParam<Layout> {};

TEST_P(BatchPanelLayout, ShowsDryOrHiAndLoHeatButtons)
{
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    panel.Pin(dryerOptions, GetParam().options);
    panel.Pin(dryingType, GetParam().type);
    ASSERT_TRUE(panel_test::Shown(L"BATCH_DRYING_WINDOW"));
    EXPECT_EQ(ButtonShown(kDry), GetParam().dry);
    EXPECT_EQ(ButtonShown(kHiHeat), GetParam().hiLo);
    EXPECT_EQ(ButtonShown(kLoHeat), GetParam().hiLo);
    EXPECT_TRUE(ButtonShown(kCool));
    EXPECT_TRUE(ButtonShown(kUnload));
}

INSTANTIATE_TEST_SUITE_P(DryingTypes, BatchPanelLayout,
                         ::testing::Values(Layout{kBatchDrying, 0, true, false},
                                           Layout{kBatchDrying, dualHeatBit.mask, false, true},
                                           Layout{3, 0, false, true},
                                           Layout{2, dualHeatBit.mask, false, true}));

TEST(BatchPanel, PaintsSettingsAndRemainingTimes)
{
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    panel.Pin(coolTimerSetting, MinSec{20, 0});
    panel.Pin(coolTimerRemaining, MinSec{12, 34});
    panel.Pin(dryingType, kBatchDrying);
    const auto w = panel_test::FindShown(L"BATCH_DRYING_WINDOW");
    ASSERT_TRUE(w.has_value());
    bool setting = false, minutes = false, seconds = false;
    for (const auto& t : w->texts) {
        setting |= t.text == L"20 Min 00 Sec" && t.colour == kCoolBlue;
        minutes |= t.text == L"12" && t.colour == kCoolBlue;
        seconds |= t.text == L"34" && t.colour == kCoolBlue;
    }
    EXPECT_TRUE(setting);
    EXPECT_TRUE(minutes);
    EXPECT_TRUE(seconds);
}

TEST(BatchPanel, TimerButtonOpensTheKeypadOnTheSetting)
{
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    panel.Pin(dryingType, kBatchDrying);
    ASSERT_TRUE(platform::PressControl(kCool));
    ASSERT_TRUE(panel_test::FindTitled(L"MODIFYING TIMER SETPOINT - 21").has_value());
    ASSERT_TRUE(platform::PressControl(2));  // CANCEL
    EXPECT_FALSE(panel_test::FindTitled(L"MODIFYING TIMER SETPOINT - 21").has_value());
    EXPECT_FALSE(PendingCommand.IsSet(Pending::coolTimerSetting));
}

TEST(TimerReload, HoldingCoolForOneTickAsksNothing)
{
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    panel.Pin(dryingType, kBatchDrying);
    const POINT p = Centre(kCool);
    ASSERT_TRUE(platform::PointerDown(p.x, p.y));
    panel.Advance(1000);
    ASSERT_TRUE(platform::PointerUp(p.x, p.y));
    // The release is a click: the keypad opens; cancel it.
    if (panel_test::FindTitled(L"MODIFYING TIMER SETPOINT - 21")) platform::PressControl(2);
    panel.Advance(3000);
    EXPECT_FALSE(panel_test::TopMessageBox().has_value());
    EXPECT_FALSE(PendingCommand.IsSet(Pending::coolTimerReload));
}

TEST(TimerReload, HoldingCoolAcrossTwoTicksAsksOnceAndReloadsOnYes)
{
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    panel.Pin(coolTimerSetting, MinSec{20, 0});
    panel.Pin(dryingType, kBatchDrying);
    const POINT p = Centre(kCool);
    ASSERT_TRUE(platform::PointerDown(p.x, p.y));
    panel.Advance(1000);
    EXPECT_FALSE(panel_test::TopMessageBox().has_value());
    panel.Advance(1000);
    auto box = panel_test::TopMessageBox();
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->title, L"RELOAD TIMER REQUEST");
    EXPECT_EQ(box->messageText, L"Reload COOL TIMER with 20 minutes and 00 seconds?");
    panel.Advance(3000);  // ticks go on under the question: still only one question
    int boxes = 0;
    for (const auto& w : platform::InspectWindows()) boxes += w.isMessageBox ? 1 : 0;
    EXPECT_EQ(boxes, 1);
    ASSERT_TRUE(platform::AnswerMessageBox(L"Yes"));
    EXPECT_EQ(ReadTime(DesiredSettings, coolTimerRemaining).minutes, 20);
    EXPECT_EQ(ReadTime(DesiredSettings, coolTimerRemaining).seconds, 0);
    EXPECT_TRUE(PendingCommand.IsSet(Pending::coolTimerReload));
    platform::PointerUp(p.x, p.y);
    if (panel_test::FindTitled(L"MODIFYING TIMER SETPOINT - 21")) platform::PressControl(2);
}

}  // namespace
