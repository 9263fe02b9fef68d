// The set-up selection screen: its buttons and where they lead, the leave button, the burner
// mode button that the 1-second tick hides on a tower dryer, and the hardware set-up button of
// the extended set-up selection.
#include <gtest/gtest.h>

#include <map>

#include "dryer/link/dryer_image.h"
#include "dryer/link/link_state.h"
#include "dryer/screens/data_logger_setup.h"
#include "dryer/screens/entry_dialogs.h"
#include "dryer/screens/screen_manager.h"
#include "dryer/screens/screen_procs.h"
#include "dryer/setup/hardware_dialogs.h"
#include "dryer/setup/setup_selection.h"
#include "platform/windowing/dialog.h"
#include "resources/orbitdryer/bitmap_table.h"
#include "tests/dryer/program/panel_run.h"
#include "tests/dryer/setup/setup_support.h"

namespace {

using namespace setup_test;
using panel_test::FindTitled;
using panel_test::PanelRun;
using panel_test::Shown;

// The buttons at their places (client coordinates) and the dialogs they open.
struct Button {
    int id;
    int x, y;
    const wchar_t* opens;
};
constexpr Button kButtons[] = {
    {kSetupDryingModeButton, 10, 20, L"Drying Mode Selection - 07"},
    {kSetupDryingCriteriaButton, 10, 90, L"CONTINUOUS FLOW SETUP - 08"},
    {kSetupUnloadButton, 222, 20, L"Unload Parameters - 11"},
    {kSetupPlenumManagerButton, 222, 90, L"PLENUM TEMPERATURE MANAGER - 12"},
    {kSetupBurnerModeButton, 222, 160, L"Select Burner Mode - 10"},
    {kSetupCalibrationButton, 440, 20, L" MOISTURE SENSOR CALIBRATION - 13"},
    {kSetupExtendedButton, 440, 90, nullptr},
};

// Presses a button and closes the dialog it opened with Escape; false when none opened.
bool OpensAndCloses(int id, const wchar_t* title)
{
    if (!platform::PressControl(id) || !FindTitled(title).has_value()) return false;
    return platform::SendKey(VK_ESCAPE, false) && !FindTitled(title).has_value();
}

TEST(SetupSelection, ButtonsStandAtTheirPlacesAndOpenTheirDialogs)
{
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    ASSERT_TRUE(OpenSetupSelection());
    EXPECT_FALSE(Shown(kDryerPicClass));
    const auto leave = Control(kSetupSelectionExit);
    ASSERT_TRUE(leave.has_value());
    // The leave button (159 x 41) sits at 230, 395: every place counts from there.
    const POINT origin{leave->rect.left - 230, leave->rect.top - 395};
    EXPECT_EQ(leave->rect.right - origin.x, 230 + 159);
    EXPECT_EQ(leave->rect.bottom - origin.y, 395 + 41);
    for (const Button& b : kButtons) {
        const auto c = Control(b.id);
        ASSERT_TRUE(c.has_value() && c->visible) << b.id;
        EXPECT_EQ(c->rect,
                  (RECT{origin.x + b.x, origin.y + b.y, origin.x + b.x + 175, origin.y + b.y + 50}))
            << b.id;
        if (b.opens != nullptr) {
            EXPECT_TRUE(OpensAndCloses(b.id, b.opens)) << b.id;
        }
    }
    EXPECT_TRUE(Shown(kSetupSelectionClass));  // the dialogs open over the screen
}

TEST(SetupSelection, DryingSetupOpensTheStagedBatchSetupForAnyDryingTypeButZero)
{
    for (int type : {kBatchDrying, 3}) {
        PanelRun panel;
        ASSERT_TRUE(panel.started());
        panel.Pin(dryingType, type);
        ASSERT_TRUE(OpenSetupSelection());
        EXPECT_TRUE(OpensAndCloses(kSetupDryingCriteriaButton, L"STAGED BATCH SETUP - 09"));
    }
}

TEST(SetupSelection, MoreSetupShowsTheExtendedSelectionAndItsHardwareSetup)
{
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    ASSERT_TRUE(OpenSetupSelection());
    ASSERT_TRUE(platform::PressControl(kSetupExtendedButton));
    EXPECT_TRUE(Shown(kExtendedSetupClass));
    EXPECT_FALSE(Shown(kSetupSelectionClass));
    const auto hardware = Control(kExtendedHardwareButton);
    const auto leave = Control(kExtendedSetupExit);
    ASSERT_TRUE(hardware.has_value() && leave.has_value());
    EXPECT_EQ(hardware->rect.left - leave->rect.left, 222 - 230);
    EXPECT_EQ(hardware->rect.top - leave->rect.top, 230 - 395);
    EXPECT_EQ(hardware->rect.right - hardware->rect.left, 175);
    EXPECT_EQ(hardware->rect.bottom - hardware->rect.top, 50);
    ASSERT_TRUE(platform::PressControl(kExtendedHardwareButton));
    ASSERT_TRUE(FindTitled(L"DRYER HARDWARE SETUP - 05 ").has_value());
    ASSERT_TRUE(platform::PressControl(IDOK));  // ACCEPT/EXIT
    EXPECT_FALSE(FindTitled(L"DRYER HARDWARE SETUP - 05 ").has_value());
    EXPECT_TRUE(Shown(kExtendedSetupClass));

    // The day data logger has its button at 440, 20 beside the others.
    const auto logger = Control(kExtendedDataLoggerButton);
    ASSERT_TRUE(logger.has_value());
    EXPECT_EQ(logger->rect.left - leave->rect.left, 440 - 230);
    EXPECT_EQ(logger->rect.top - leave->rect.top, 20 - 395);
    ASSERT_TRUE(platform::PressControl(kExtendedDataLoggerButton));
    ASSERT_TRUE(FindTitled(kDataLoggerSetupTitle).has_value());
    ASSERT_TRUE(platform::PressControl(kLoggerExit));
    EXPECT_FALSE(FindTitled(kDataLoggerSetupTitle).has_value());
    EXPECT_TRUE(Shown(kExtendedSetupClass));
}

TEST(SetupSelection, LeaveReturnsHomeAndTakesTheHeatByteFromTheDryer)
{
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    panel.Pin(optionByte224, 0x28);
    ASSERT_TRUE(OpenSetupSelection());
    EXPECT_EQ(HomeShown.load(), 0);
    SetValue(DesiredSettings, optionByte224, 0x51);  // a working copy left by a dialog
    ASSERT_TRUE(platform::PressControl(kSetupSelectionExit));
    EXPECT_FALSE(Shown(kSetupSelectionClass));
    EXPECT_TRUE(Shown(kDryerPicClass));
    EXPECT_EQ(HomeShown.load(), 1);
    EXPECT_EQ(Value(DesiredSettings, optionByte224), 0x28);
    EXPECT_FALSE(PendingCommand.IsSet(Pending::byte224));
    // A change of the byte still on its way to the dryer is not taken back.
    ASSERT_TRUE(OpenSetupSelection());
    SetValue(DesiredSettings, optionByte224, 0x51);
    PendingCommand.Set(Pending::byte224);
    ASSERT_TRUE(platform::PressControl(kSetupSelectionExit));
    EXPECT_EQ(Value(DesiredSettings, optionByte224), 0x51);
}

// The board reports the tower bit from now on; the panel's image has it before the next tick.
void ReportTower(PanelRun& panel, bool tower)
{
    panel.sim().Control(std::string(tower ? "pin " : "unpin ") +
                        std::to_string(dryerConfigBits.offset) + (tower ? " 32" : ""));
    if (!tower) panel_test::SetOnBoard(panel.sim(), dryerConfigBits, 0);
    SetBits(DryerImage, towerBit, tower);
}

TEST(SetupSelection, BurnerModeButtonFollowsTheTowerBitWithinASecond)
{
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    ASSERT_TRUE(OpenSetupSelection());
    ASSERT_TRUE(Visible(kSetupBurnerModeButton));

    ReportTower(panel, true);
    // Until the tick hides it, a press on the button does nothing on a tower dryer.
    ASSERT_TRUE(platform::PressControl(kSetupBurnerModeButton));
    EXPECT_FALSE(FindTitled(kBurnerModeTitle).has_value());
    panel.Advance(1000);
    EXPECT_TRUE(IsSet(DryerImage, towerBit));
    EXPECT_FALSE(Visible(kSetupBurnerModeButton));
    EXPECT_TRUE(Visible(kSetupDryingModeButton));

    ReportTower(panel, false);
    panel.Advance(1000);
    EXPECT_FALSE(IsSet(DryerImage, towerBit));
    EXPECT_TRUE(Visible(kSetupBurnerModeButton));
}

TEST(SetupSelectionFaces, EveryButtonHasBothFacesAtItsSizeUnderIdsOfItsOwn)
{
    std::map<int, const BitmapResource*> table;
    for (const BitmapResource& r : OrbitDryerBitmaps()) {
        EXPECT_TRUE(table.emplace(r.id, &r).second) << "bitmap " << r.id << " twice";
    }
    for (int up : {kBitmapDryingModeUp, kBitmapContinuousFlowUp, kBitmapStagedBatchUp,
                   kBitmapUnloadParametersUp, kBitmapPlenumManagerUp, kBitmapBurnerModeUp,
                   kBitmapMoistureCalibrationUp, kBitmapExtendedSetupUp, kBitmapHardwareSetupUp}) {
        for (int id : {up, up - 1}) {  // released, pressed
            ASSERT_TRUE(table.contains(id)) << id;
            EXPECT_EQ(table[id]->width, 175) << id;
            EXPECT_EQ(table[id]->height, 50) << id;
        }
    }
}

}  // namespace
