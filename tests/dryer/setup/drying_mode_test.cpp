// "Drying Mode Selection - 07": the mode it shows, the tower dryer that cannot dry in batches,
// what the mode buttons and ACCEPT send, the chains into the two set-up dialogs, where the
// dialogs open, their help texts and their layout.
#include <gtest/gtest.h>

#include "dryer/setup/drying_mode.h"
#include "dryer/setup/drying_mode_controls.h"
#include "dryer/setup/drying_mode_shared.h"
#include "platform/controls/controls.h"
#include "platform/windowing/dialog.h"
#include "tests/dryer/setup/drying_mode_support.h"

namespace {

using namespace drying_test;

using DryingModeSelection = DryingModeTest;

INT_PTR OpenSelection()
{
    return OpenDryingModeSelection(nullptr);
}

struct ShownMode {
    int type;  // dryingType reported
    bool continuous, batch;
};

class SelectionShowsTheMode : public DryingModeTest,
                              public ::testing::WithParamInterface<ShownMode> {};

TEST_P(SelectionShowsTheMode, FromTheReportedDryingType)
{
    const ShownMode mode = GetParam();
    Report(dryingType, mode.type);
    RunDialog(OpenSelection, kDryingModeSelectionTitle, [&] {
        EXPECT_EQ(Checked(kModeContinuousIndicator), mode.continuous);
        EXPECT_EQ(Checked(kModeBatchIndicator), mode.batch);
        EXPECT_TRUE(Enabled(kModeBatchButton));
        Press(kModeAcceptButton);
    });
    EXPECT_TRUE(RaisedFlags().empty());
}

INSTANTIATE_TEST_SUITE_P(DryingTypes, SelectionShowsTheMode,
                         ::testing::Values(ShownMode{kContinuousFlow, true, false},
                                           ShownMode{kBatchDrying, false, true},
                                           ShownMode{3, false, false}));

TEST_F(DryingModeSelection, TowerDryerShowsContinuousFlowAndCannotSwitch)
{
    Report(dryerConfigBits, towerBit.mask);
    Report(dryingType, kBatchDrying);
    const INT_PTR result = RunDialog(OpenSelection, kDryingModeSelectionTitle, [] {
        EXPECT_TRUE(Checked(kModeContinuousIndicator));
        EXPECT_FALSE(Checked(kModeBatchIndicator));
        EXPECT_FALSE(Enabled(kModeBatchButton));
        EXPECT_FALSE(Enabled(kModeBatchIndicator));
        EXPECT_FALSE(platform::PressControl(kModeBatchButton));
        Press(kModeAcceptButton);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(Value(DesiredSettings, dryingType), kContinuousFlow);
    EXPECT_EQ(RaisedFlags(), (std::set<Pending>{Pending::dryingType}));
}

TEST_F(DryingModeSelection, ModeButtonSendsNothingWhenTheDryerAlreadyRunsThatWay)
{
    Report(dryingType, kContinuousFlow);
    Report(moistureControlMode, kSchemeTemp);
    Report(dryerOptions, criterionTimeBit.mask);
    RunDialog(OpenSelection, kDryingModeSelectionTitle, [] {
        Press(kModeContinuousButton);
        EXPECT_TRUE(RaisedFlags().empty());
        Press(kModeAcceptButton);
    });
    EXPECT_TRUE(RaisedFlags().empty());
}

TEST_F(DryingModeSelection, StagedBatchSendsItsMoistureModeAtOnceAndTheTypeOnAccept)
{
    Report(dryingType, kContinuousFlow);
    Report(moistureControlMode, kSchemeTemp);
    Report(dryerOptions, criterionTimeBit.mask);
    RunDialog(OpenSelection, kDryingModeSelectionTitle, [] {
        Press(kModeBatchButton);
        EXPECT_TRUE(Checked(kModeBatchIndicator));
        EXPECT_FALSE(Checked(kModeContinuousIndicator));
        // the criteria byte did not change: only the moisture mode goes at once
        EXPECT_EQ(RaisedFlags(), (std::set<Pending>{Pending::moistureMode}));
        Press(kModeAcceptButton);
    });
    EXPECT_EQ(Value(DesiredSettings, moistureControlMode), kSchemeBatchMoisture);
    EXPECT_EQ(Value(DesiredSettings, dryingType), kBatchDrying);
    EXPECT_EQ(RaisedFlags(), (std::set<Pending>{Pending::moistureMode, Pending::dryingType}));
}

TEST_F(DryingModeSelection, ContinuousFlowDropsDualPlenumAndFirstHalfLoad)
{
    Report(dryingType, kBatchDrying);
    Report(moistureControlMode, kSchemeTemp);
    Report(dryerOptions, dualHeatBit.mask | firstHalfLoadBit.mask | criterionTempBit.mask);
    RunDialog(OpenSelection, kDryingModeSelectionTitle, [] {
        Press(kModeContinuousButton);
        EXPECT_EQ(RaisedFlags(), (std::set<Pending>{Pending::optionByte257}));
        Press(kModeAcceptButton);
    });
    EXPECT_EQ(Value(DesiredSettings, dryerOptions), criterionTempBit.mask);
    EXPECT_EQ(RaisedFlags(), (std::set<Pending>{Pending::optionByte257, Pending::dryingType}));
}

TEST_F(DryingModeSelection, StagedBatchKeepsDualPlenumButDropsFirstHalfLoad)
{
    Report(dryingType, kContinuousFlow);
    Report(moistureControlMode, kSchemeBatchMoisture);
    Report(dryerOptions, dualHeatBit.mask | firstHalfLoadBit.mask);
    RunDialog(OpenSelection, kDryingModeSelectionTitle, [] {
        Press(kModeBatchButton);
        EXPECT_EQ(RaisedFlags(), (std::set<Pending>{Pending::optionByte257}));
        Press(kModeAcceptButton);
    });
    EXPECT_EQ(Value(DesiredSettings, dryerOptions), dualHeatBit.mask);
    EXPECT_EQ(RaisedFlags(), (std::set<Pending>{Pending::optionByte257, Pending::dryingType}));
}

TEST_F(DryingModeSelection, AcceptNeverSendsTheHeatByteTheDialogCannotChange)
{
    Report(dryingType, kContinuousFlow);
    RunDialog(OpenSelection, kDryingModeSelectionTitle, [] {
        Report(optionByte224, temperatureHoldBit.mask);  // the dryer reports a change meanwhile
        Press(kModeAcceptButton);
    });
    EXPECT_TRUE(RaisedFlags().empty());
}

// ---- the chains into the set-up dialogs ----

struct Chain {
    const char* name;
    int type;        // dryingType reported
    int modeButton;  // pressed before MOISTURE CONTROL SETUP, or 0
    const wchar_t* setup;
    int accept;
};

void PrintTo(const Chain& c, std::ostream* os)
{
    *os << c.name;
}

class SelectionChain : public DryingModeTest, public ::testing::WithParamInterface<Chain> {};

TEST_P(SelectionChain, OpensTheSetupOfTheModeAndItsAcceptClosesBoth)
{
    const Chain& c = GetParam();
    Report(dryingType, c.type);
    Report(dryerOptions, criterionTimeBit.mask);
    Report(moistureControlMode, kSchemeTemp);
    const INT_PTR result = RunDialog(OpenSelection, kDryingModeSelectionTitle, [&] {
        if (c.modeButton != 0) Press(c.modeButton);
        Press(kModeMoistureSetupButton);
        ASSERT_TRUE(WaitForTitle(c.setup));
        EXPECT_TRUE(Window(kDryingModeSelectionTitle).has_value());  // still open beneath
        Press(c.accept);
    });
    EXPECT_EQ(result, 0);  // closed by the set-up dialog
    EXPECT_FALSE(Window(kDryingModeSelectionTitle).has_value());
    EXPECT_FALSE(Window(c.setup).has_value());
    EXPECT_EQ(DryingModeSelectionWindow, nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, SelectionChain,
    ::testing::Values(Chain{"continuous", kContinuousFlow, 0, kContinuousFlowSetupTitle,
                            kFlowAcceptButton},
                      Chain{"batch", kBatchDrying, 0, kStagedBatchSetupTitle, kBatchAcceptButton},
                      Chain{"to_batch", kContinuousFlow, kModeBatchButton, kStagedBatchSetupTitle,
                            kBatchAcceptButton},
                      Chain{"to_continuous", kBatchDrying, kModeContinuousButton,
                            kContinuousFlowSetupTitle, kFlowAcceptButton},
                      Chain{"other_type", 3, 0, kContinuousFlowSetupTitle, kFlowAcceptButton}),
    [](const auto& p) { return std::string(p.param.name); });

TEST_F(DryingModeSelection, ModeChangeOnItsWaySurvivesIntoTheSetup)
{
    // The mode buttons send the criteria byte and the moisture mode at once; the set-up that
    // opens before the dryer has echoed them keeps them rather than the image's old values.
    Report(dryingType, kContinuousFlow);
    Report(moistureControlMode, kSchemeTemp);
    Report(dryerOptions, firstHalfLoadBit.mask | criterionTimeBit.mask);
    RunDialog(OpenSelection, kDryingModeSelectionTitle, [] {
        Press(kModeBatchButton);
        Press(kModeMoistureSetupButton);
        ASSERT_TRUE(WaitForTitle(kStagedBatchSetupTitle));
        EXPECT_TRUE(PendingCommand.IsSet(Pending::dryingType));  // committed before it opened
        Press(kBatchAcceptButton);
    });
    EXPECT_EQ(Value(DesiredSettings, dryerOptions), criterionTimeBit.mask);
    EXPECT_EQ(Value(DesiredSettings, moistureControlMode), kSchemeBatchMoisture);
    EXPECT_TRUE(PendingCommand.IsSet(Pending::optionByte257));
    EXPECT_TRUE(PendingCommand.IsSet(Pending::moistureMode));
}

TEST_F(DryingModeSelection, SetupClosedWithoutAcceptLeavesTheSelectionOpen)
{
    Report(dryingType, kContinuousFlow);
    const INT_PTR result = RunDialog(OpenSelection, kDryingModeSelectionTitle, [] {
        Press(kModeMoistureSetupButton);
        CancelDialog(kContinuousFlowSetupTitle);
        EXPECT_TRUE(Window(kDryingModeSelectionTitle).has_value());
        Press(kModeAcceptButton);
    });
    EXPECT_EQ(result, IDOK);
}

// ---- where the dialogs open ----

LRESULT OwnerProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
{
    return DefWindowProc(wnd, msg, wp, lp);
}

TEST_F(DryingModeSelection, DialogsOpenCentredTwentyPixelsAboveTheirOwnersCentre)
{
    WNDCLASS wc;
    wc.lpfnWndProc = OwnerProc;
    wc.lpszClassName = L"DRYING_MODE_TEST_OWNER";
    RegisterClass(&wc);
    HWND owner = CreateWindowEx(0, wc.lpszClassName, L"", WS_POPUP | WS_VISIBLE, 100, 100, 400, 300,
                                nullptr, 0, nullptr, nullptr);
    ASSERT_NE(owner, nullptr);
    RECT selection{}, setup{};
    RunDialog([owner] { return OpenDryingModeSelection(owner); }, kDryingModeSelectionTitle,
              [&] {
                  selection = Window(kDryingModeSelectionTitle)->rect;
                  Press(kModeMoistureSetupButton);
                  ASSERT_TRUE(WaitForTitle(kContinuousFlowSetupTitle));
                  setup = Window(kContinuousFlowSetupTitle)->rect;
                  Press(kFlowAcceptButton);
              });
    const int width = selection.right - selection.left;
    const int height = selection.bottom - selection.top;
    EXPECT_EQ(selection.left, 100 + (400 - width) / 2);
    EXPECT_EQ(selection.top, 100 + (300 - height) / 2 - 20);
    // The set-up is wider than the selection under it: centred on it, but not left of the
    // screen.
    const int setupHeight = setup.bottom - setup.top;
    EXPECT_EQ(setup.left, 0);
    EXPECT_EQ(setup.top, selection.top + (height - setupHeight) / 2 - 20);
}

TEST_F(DryingModeSelection, DialogOpenedOverTheScreenNeverStartsAboveIt)
{
    RECT batch{};
    RunDialog([] { return OpenStagedBatchSetup(nullptr); }, kStagedBatchSetupTitle,
              [&] {
                  batch = Window(kStagedBatchSetupTitle)->rect;
                  CancelDialog(kStagedBatchSetupTitle);
              });
    EXPECT_EQ(batch.left, (640 - (batch.right - batch.left)) / 2);
    EXPECT_EQ(batch.top, 0);  // 440 high: 20 above the centre would be above the screen
}

// ---- help texts ----

struct Help {
    const char* name;
    std::function<INT_PTR()> open;
    const wchar_t* title;
    int button;
    const wchar_t* caption;
    const wchar_t* start;
};

void PrintTo(const Help& h, std::ostream* os)
{
    *os << h.name;
}

class HelpTexts : public DryingModeTest, public ::testing::WithParamInterface<Help> {};

TEST_P(HelpTexts, StartAsGivenAndFitTheMessageBox)
{
    const Help& h = GetParam();
    Report(moistureControlMode, kSchemeTemp);  // a scheme the continuous flow set-up offers
    RunDialog(h.open, h.title, [&] {
        Press(h.button);
        ASSERT_TRUE(WaitForMessageBox());
        ExpectFittingHelp(*MessageBoxShown(), h.caption, h.start);
        Screenshot(std::string("help-") + h.name);
        ASSERT_TRUE(platform::AnswerMessageBox(L"OK"));
        EXPECT_TRUE(Window(h.title).has_value());  // help leaves the dialog open
        CancelDialog(h.title);
    });
    EXPECT_TRUE(RaisedFlags().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Dialogs, HelpTexts,
    ::testing::Values(
        Help{"selection", OpenSelection, kDryingModeSelectionTitle, kModeHelpButton,
             L"Drying Mode Selection",
             L"This screen is used to select\nbatch or continuous flow drying."},
        Help{"continuous_flow", [] { return OpenContinuousFlowSetup(nullptr); },
             kContinuousFlowSetupTitle, kFlowHelpButton, L"Select Drying Criteria Help",
             L"There are two different continuous flow moisture control\nschemes that can be "
             L"selected."},
        Help{"staged_batch", [] { return OpenStagedBatchSetup(nullptr); }, kStagedBatchSetupTitle,
             kBatchHelpButton, L"Available Drying Modes Described",
             L"The following is a description of the function of each button."}),
    [](const auto& p) { return std::string(p.param.name); });

// ---- layout ----

TEST_F(DryingModeSelection, SelectionLayoutIsTidy)
{
    Report(dryingType, kBatchDrying);
    platform::WindowInfo shown;
    RunDialog(OpenSelection, kDryingModeSelectionTitle, [&] {
        shown = *Window(kDryingModeSelectionTitle);
        Screenshot("drying-mode-selection");
        Press(kModeAcceptButton);
    });
    Layout layout;
    layout.indicators = {kModeContinuousIndicator, kModeBatchIndicator};
    layout.pictures = {kModeMoistureSetupButton};
    ExpectTidyLayout(shown, layout);
}

}  // namespace
