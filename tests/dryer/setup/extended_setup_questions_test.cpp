// The questions of the extended set-up selection: the metering roll reverse option and the
// units of measure, each asked the way round the dryer reports it, and the batch counter,
// offered on batch dryers only. No changes nothing; Yes sends the change and the dryer takes it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dryer/link/dryer_image.h"
#include "dryer/screens/screen_manager.h"
#include "dryer/screens/screen_procs.h"
#include "dryer/setup/extended_setup_questions.h"
#include "dryer/setup/setup_selection.h"
#include "platform/windowing/dialog.h"
#include "tests/dryer/program/panel_run.h"
#include "tests/dryer/setup/service_screens_support.h"
#include "tests/dryer/setup/setup_support.h"

namespace {

using namespace setup_test;
using panel_test::PanelRun;

bool OpenExtendedWith(PanelRun& panel, service_test::Report report)
{
    for (const auto& [field, value] : report) panel_test::SetOnBoard(panel.sim(), field, value);
    panel.Cycles(4);  // the 1-second tick has shown or hidden the buttons
    return OpenSetupSelection() && platform::PressControl(kSetupExtendedButton) &&
           panel_test::Shown(kExtendedSetupClass);
}

// Presses the button; the question it asks, checked, then answered.
void AskAndAnswer(int button, const std::wstring& caption, const std::wstring& text,
                  const std::vector<std::wstring>& buttons, const wchar_t* answer)
{
    ASSERT_TRUE(platform::PressControl(button));
    const auto box = panel_test::TopMessageBox();
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->title, caption);
    EXPECT_EQ(box->messageText, text);
    EXPECT_EQ(box->buttons, buttons);
    ASSERT_TRUE(platform::AnswerMessageBox(answer));
    EXPECT_TRUE(panel_test::Shown(kExtendedSetupClass));
}

const std::vector<std::wstring> kYesNoCancel{L"Yes", L"No", L"Cancel"};

TEST(ExtendedSetupQuestions, MeteringRollReverseIsAskedTheWayRoundTheDryerReports)
{
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    ASSERT_TRUE(OpenExtendedWith(panel, {{optionByte49, 0x20}}));  // another option is on
    const std::wstring activate = L"Do you wish to ACTIVATE the Metering Roll Reverse Option?";
    for (const wchar_t* answer : {L"No", L"Cancel"}) {
        AskAndAnswer(kExtendedRollReverseButton, kMeteringRollReverseCaption, activate,
                     kYesNoCancel, answer);
        EXPECT_FALSE(PendingCommand.IsSet(optionByte49.pending)) << panel_test::Narrow(answer);
    }
    AskAndAnswer(kExtendedRollReverseButton, kMeteringRollReverseCaption, activate, kYesNoCancel,
                 L"Yes");
    EXPECT_EQ(Value(DesiredSettings, optionByte49), 0x30);
    EXPECT_TRUE(PendingCommand.IsSet(optionByte49.pending));
    panel.Cycles(3);
    EXPECT_EQ(Value(DryerImage, optionByte49), 0x30);
    EXPECT_FALSE(PendingCommand.IsSet(optionByte49.pending));  // echoed
    AskAndAnswer(kExtendedRollReverseButton, kMeteringRollReverseCaption,
                 L"Do you wish to DEACTIVATE the Metering Roll Reverse Option?", kYesNoCancel,
                 L"Yes");
    EXPECT_EQ(Value(DesiredSettings, optionByte49), 0x20);
    EXPECT_TRUE(SetupFlagsSet().empty());  // nothing else goes out
}

TEST(ExtendedSetupQuestions, UnitsSwitchSendsOnlyTheUnitsBitNeverASettingsRequest)
{
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    // The dryer reports the save and restore request bits set: they must not be sent back.
    ASSERT_TRUE(OpenExtendedWith(panel, {{unitsAndOptions, 0x03}}));
    AskAndAnswer(kExtendedUnitsButton, kSiUnitsCaption,
                 L"Switch to Metric (SI) Units (Celsius, metric ton, etc.)?", kYesNoCancel, L"No");
    EXPECT_FALSE(PendingCommand.IsSet(unitsAndOptions.pending));
    AskAndAnswer(kExtendedUnitsButton, kSiUnitsCaption,
                 L"Switch to Metric (SI) Units (Celsius, metric ton, etc.)?", kYesNoCancel, L"Yes");
    EXPECT_EQ(Value(DesiredSettings, unitsAndOptions), 0x80);
    EXPECT_TRUE(PendingCommand.IsSet(unitsAndOptions.pending));
    panel.Cycles(3);
    EXPECT_TRUE(IsSet(DryerImage, siUnitsBit));
    EXPECT_FALSE(PendingCommand.IsSet(unitsAndOptions.pending));  // sent once
    AskAndAnswer(kExtendedUnitsButton, kEnglishUnitsCaption,
                 L"Switch to English Units (Fahrenheit, bushels, etc.)?", kYesNoCancel, L"Yes");
    EXPECT_FALSE(IsSet(DesiredSettings, siUnitsBit));
    EXPECT_EQ(BitsValue(DesiredSettings, unitsRequestBits), 0);
}

TEST(ExtendedSetupQuestions, BatchCounterIsOfferedOnBatchDryersAndClearedOnYes)
{
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    ASSERT_TRUE(OpenExtendedWith(panel, {{batchCount, 12}}));
    EXPECT_FALSE(Visible(kExtendedBatchCounterButton));  // continuous flow
    ASSERT_TRUE(platform::PressControl(kExtendedSetupExit));
    panel_test::SetOnBoard(panel.sim(), dryingType, 1);
    panel.Cycles(4);
    ASSERT_TRUE(OpenSetupSelection() && platform::PressControl(kSetupExtendedButton));
    EXPECT_EQ(Value(DryerImage, dryingType), 1);
    panel.Cycles(4);  // the 1-second tick shows the button
    EXPECT_TRUE(Visible(kExtendedBatchCounterButton));
    const std::vector<std::wstring> yesNo{L"Yes", L"No"};
    AskAndAnswer(kExtendedBatchCounterButton, kBatchCounterCaption,
                 L"Do wish to clear the batch counter?", yesNo, L"No");
    EXPECT_FALSE(PendingCommand.IsSet(batchCount.pending));
    AskAndAnswer(kExtendedBatchCounterButton, kBatchCounterCaption,
                 L"Do wish to clear the batch counter?", yesNo, L"Yes");
    EXPECT_EQ(Value(DesiredSettings, batchCount), 0);
    EXPECT_TRUE(PendingCommand.IsSet(batchCount.pending));
    panel.Cycles(3);
    EXPECT_EQ(Value(DryerImage, batchCount), 0);
    EXPECT_FALSE(PendingCommand.IsSet(batchCount.pending));
    service_test::Screenshot("extended-setup-batch");
}

}  // namespace
