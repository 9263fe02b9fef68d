// "DRYER HARDWARE SETUP - 05 ": stepping each group (the fan/heaters within what the modules
// allow), the sampler question, the flags ACCEPT/EXIT raises and those it must not (dual heat
// among them), the standard and model layouts, and the dryer taking the new build.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "dryer/app/timers.h"
#include "dryer/link/dryer_image.h"
#include "dryer/screens/screen_manager.h"
#include "dryer/screens/screen_procs.h"
#include "dryer/setup/hardware_dialogs.h"
#include "dryer/setup/setup_selection.h"
#include "platform/windowing/dialog.h"
#include "tests/dryer/program/panel_run.h"
#include "tests/dryer/setup/setup_support.h"

namespace {

using namespace setup_test;
using panel_test::PanelRun;

using Report = std::vector<std::pair<ImageField, int>>;
constexpr int kOne = 0, kTwo = 1, kThree = 2, kFour = 3, kSix = 4;  // heaterCountCode

// Puts fields on the board once (the dryer echoes what the panel sends afterwards) and opens
// the dialog.
bool OpenWith(PanelRun& panel, const Report& report)
{
    for (const auto& [field, value] : report) panel_test::SetOnBoard(panel.sim(), field, value);
    panel.Cycles(2);
    return OpenHardwareSetupDialog();
}

bool Select(int group)
{
    return platform::PressControl(HardwareSelectId(group));
}

int Desired(ImageField field)
{
    return Value(DesiredSettings, field);
}

// The checked indicator of the group that shows a field.
int Shown(ImageField field)
{
    const std::pair<ImageField, std::pair<int, int>> groups[] = {
        {heaterCountCode, {kHardwareHeaters, 5}},
        {moduleCountCode, {kHardwareModules, 3}},
        {fuelCode, {kHardwareFuel, 4}},
        {loadSystemCode, {kHardwareLoadSystem, 3}},
        {dryerLengthCode, {kHardwareLength, 15}}};
    for (const auto& [f, group] : groups) {
        if (f == field) return CheckedIndex(HardwareChoiceId(group.first, 0), group.second);
    }
    return -3;
}

// A field reported, a SELECT pressed, and the field's codes after each press (desired and shown).
struct Steps {
    Report report;
    int group;
    ImageField field;
    std::vector<int> after;
};

void ExpectSteps(const Steps& s)
{
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    ASSERT_TRUE(OpenWith(panel, s.report));
    for (int code : s.after) {
        ASSERT_TRUE(Select(s.group));
        EXPECT_EQ(Desired(s.field), code);
        EXPECT_EQ(Shown(s.field), code);
    }
    ASSERT_TRUE(platform::PressControl(IDOK));
}

TEST(HardwareSetup, ModulesSelectKeepsTheFanHeatersInRange)
{
    const ImageField m = moduleCountCode, h = heaterCountCode;
    const Steps steps[] = {
        {{{m, 1}, {h, kThree}}, kHardwareModules, h, {kFour}},  // two modules, Three: Four
        {{{m, 2}, {h, kSix}}, kHardwareModules, h, {kThree}},   // three modules, Six: Three
        {{{h, kTwo}}, kHardwareModules, h, {kThree}},           // one module, Two: Three
        {{}, kHardwareModules, m, {1, 2, 0}},                   // One, Two, Three, One
        {{{m, 7}}, kHardwareModules, m, {0}},                   // past the table
    };
    for (const Steps& s : steps) {
        SCOPED_TRACE(&s - steps);
        ExpectSteps(s);
    }
}

TEST(HardwareSetup, FanHeaterSelectStaysWithinWhatTheModulesAllow)
{
    const ImageField m = moduleCountCode, h = heaterCountCode, c = dryerConfigBits;
    const Steps steps[] = {
        {{}, kHardwareHeaters, h, {kTwo, kThree, kOne}},                // one module
        {{{m, 1}, {h, kThree}}, kHardwareHeaters, h, {kFour, kThree}},  // two modules
        {{{m, 2}, {h, kFour}}, kHardwareHeaters, h, {kSix, kFour}},     // three modules
        {{{c, 0x20}}, kHardwareHeaters, h, {kThree, kOne}},             // config bit 5
        {{{c, 0xA0}, {h, kTwo}}, kHardwareHeaters, h, {kOne, kThree}},  // bit 5, Two reported
        {{{h, kSix}}, kHardwareHeaters, h, {kOne}},                     // one module, Six
        {{{m, 1}, {h, kSix}}, kHardwareHeaters, h, {kThree}},           // two modules, Six
        {{{m, 2}}, kHardwareHeaters, h, {kFour}},                       // three modules, One
    };
    for (const Steps& s : steps) {
        SCOPED_TRACE(&s - steps);
        ExpectSteps(s);
    }
}

TEST(HardwareSetup, LengthFuelAndLoadSelectWrapAtTheEndOfTheirTables)
{
    const Steps steps[] = {
        {{{dryerLengthCode, 12}}, kHardwareLength, dryerLengthCode, {13, 14, 0}},
        {{{dryerLengthCode, 20}}, kHardwareLength, dryerLengthCode, {0}},  // past the table
        {{{fuelCode, 2}}, kHardwareFuel, fuelCode, {3, 0}},
        {{{fuelCode, 9}}, kHardwareFuel, fuelCode, {0}},
        {{{loadSystemCode, 1}}, kHardwareLoadSystem, loadSystemCode, {2, 0}},
        {{{loadSystemCode, 3}}, kHardwareLoadSystem, loadSystemCode, {0}},
    };
    for (const Steps& s : steps) {
        SCOPED_TRACE(&s - steps);
        ExpectSteps(s);
    }
}

TEST(HardwareSetup, FanHeaterChoicesFollowTheModuleCount)
{
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    ASSERT_TRUE(OpenWith(panel, {}));
    const char* enabled[] = {"11100", "00110", "00011"};  // One ... Six, by module count
    for (const char* row : enabled) {
        for (int code = kOne; code <= kSix; ++code) {
            EXPECT_EQ(Enabled(HardwareChoiceId(kHardwareHeaters, code)), row[code] == '1') << row;
        }
        ASSERT_TRUE(Select(kHardwareModules));
    }
    ASSERT_TRUE(platform::PressControl(IDOK));
}

TEST(HardwareSetup, SamplerAsksBeforeEnablingOnly)
{
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    ASSERT_TRUE(OpenWith(panel, {{samplerOption, 0x05}}));
    const int box = HardwareChoiceId(kHardwareSampler, 0);
    for (const wchar_t* answer : {L"No", L"Cancel", L"Yes"}) {
        ASSERT_TRUE(Select(kHardwareSampler));
        const auto question = panel_test::TopMessageBox();
        ASSERT_TRUE(question.has_value());
        EXPECT_EQ(question->title, L" ENABLE CYCLED MOISTURE SAMPLER?");
        EXPECT_EQ(question->messageText,
                  L"Selecting YES requires cycled sampler to be installed!!!");
        ASSERT_TRUE(platform::AnswerMessageBox(answer));
        EXPECT_EQ(Checked(box), std::wstring(answer) == L"Yes");
    }
    ASSERT_TRUE(Select(kHardwareSampler));  // on: off without a question
    EXPECT_FALSE(panel_test::TopMessageBox().has_value());
    EXPECT_FALSE(Checked(box));
    ASSERT_TRUE(Select(kHardwareSampler));
    ASSERT_TRUE(platform::AnswerMessageBox(L"Yes"));
    ASSERT_TRUE(platform::PressControl(IDOK));
    EXPECT_EQ(Desired(samplerOption), 0x85);
    EXPECT_EQ(SetupFlagsSet(), Flags{"optionByte293"});
}

// Fields reported, the SELECT buttons pressed (the sampler question answered Yes) and the flags
// ACCEPT/EXIT raises.
struct Change {
    Report report;
    std::vector<int> selects;
    Flags flags;
};

TEST(HardwareSetup, AcceptRaisesExactlyTheFlagsOfTheChangedFields)
{
    const int fuel = kHardwareFuel, length = kHardwareLength;
    const Report dualHeat{{dryerOptions, 0x32}};
    const Change changes[] = {
        {{}, {}, {}},
        {{}, {fuel}, {"fuel"}},
        {{}, {kHardwareLoadSystem}, {"loadSystem"}},
        {{}, {length}, {"dryerLength"}},
        {{}, {kHardwareHeaters}, {"heaterCount"}},
        {{}, {kHardwareModules}, {"heaterCount", "moduleCount"}},
        {{}, {kHardwareSampler}, {"optionByte293"}},
        {{}, {fuel, fuel, fuel, fuel}, {}},  // round the table
        {{}, {fuel, length}, {"fuel", "dryerLength"}},
        {dualHeat, {kHardwareHeaters}, {"heaterCount", "optionByte257"}},  // Two: no dual heat
        {dualHeat, {}, {}},                                                // One keeps it
        {{{heaterCountCode, kTwo}, {dryerOptions, 0x12}}, {}, {"optionByte257"}},
        {{{heaterCountCode, kTwo}, {dryerOptions, 0x30}}, {}, {}},  // dual heat already off
        {{{heaterCountCode, kSix}}, {}, {}},  // inconsistent with one module, left alone
    };
    for (const Change& c : changes) {
        SCOPED_TRACE(&c - changes);
        PanelRun panel;  // one module, One, LP, end fill, 20 ft, no sampler, no dual heat
        ASSERT_TRUE(panel.started());
        ASSERT_TRUE(OpenWith(panel, c.report));
        for (int group : c.selects) {
            ASSERT_TRUE(Select(group));
            if (group == kHardwareSampler) {
                ASSERT_TRUE(platform::AnswerMessageBox(L"Yes"));
            }
        }
        ASSERT_TRUE(platform::PressControl(IDOK));
        EXPECT_FALSE(panel_test::FindTitled(kHardwareSetupTitle).has_value());
        EXPECT_EQ(SetupFlagsSet(), c.flags);
        if (PendingCommand.IsSet(Pending::optionByte257)) {  // dual heat off, the rest kept
            EXPECT_EQ(Desired(dryerOptions), Value(DryerImage, dryerOptions) & ~dualHeatBit.mask);
        }
    }
}

TEST(HardwareSetup, ReopenedBeforeTheEchoShowsTheChangeOnItsWay)
{
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    ASSERT_TRUE(OpenWith(panel, {}));
    ASSERT_TRUE(Select(kHardwareFuel));  // Natural Gas
    ASSERT_TRUE(platform::PressControl(IDOK));
    // No exchange runs while the test presses: the fuel has not reached the dryer yet.
    ASSERT_TRUE(platform::PressControl(kExtendedHardwareButton));
    EXPECT_EQ(Shown(fuelCode), 1);
    ASSERT_TRUE(platform::PressControl(IDOK));
    EXPECT_EQ(Desired(fuelCode), 1);
    EXPECT_EQ(SetupFlagsSet(), Flags{"fuel"});
}

TEST(HardwareSetup, PublishesItsScreenNumberAndAcceptRedrawsTheMainDisplaysLater)
{
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    ScreenManagerState().entryContextValid = false;
    ASSERT_TRUE(OpenWith(panel, {}));
    EXPECT_EQ(ScreenManagerState().entryContext, 16);
    EXPECT_TRUE(ScreenManagerState().entryContextValid);
    ASSERT_TRUE(platform::PressControl(IDOK));
    EXPECT_TRUE(Ticks().statusRefreshRequested);
    panel.Advance(25 * 175);
    EXPECT_FALSE(Ticks().statusRefreshRequested);
}

TEST(HardwareSetup, TheDryerTakesTheNewBuild)
{
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    ASSERT_TRUE(OpenWith(panel, {{dryerOptions, 0x32}, {samplerOption, 0x01}}));
    for (int group : {kHardwareModules, kHardwareHeaters, kHardwareFuel, kHardwareLoadSystem,
                      kHardwareLength, kHardwareSampler}) {
        ASSERT_TRUE(Select(group));
    }
    ASSERT_TRUE(platform::AnswerMessageBox(L"Yes"));
    ASSERT_TRUE(platform::PressControl(IDOK));
    panel.Cycles(3);
    const std::pair<ImageField, int> expected[] = {
        {heaterCountCode, kFour}, {moduleCountCode, 1}, {fuelCode, 1},        {loadSystemCode, 1},
        {dryerLengthCode, 7},     {dryerOptions, 0x30}, {samplerOption, 0x81}};
    for (const auto& [field, value] : expected) {
        EXPECT_EQ(panel_test::SimByte(panel.sim(), field), value) << field.offset;
        EXPECT_EQ(Value(DryerImage, field), value) << field.offset;
    }
    EXPECT_TRUE(SetupFlagsSet().empty());  // every field echoed
}

// ---- layouts ----

const int kGroupIds[] = {kHardwareModules, kHardwareLoadSystem, kHardwareLength, kHardwareHeaters,
                         kHardwareFuel,    kHardwareMeterRoll,  kHardwareSampler};

int GroupOf(int id)
{
    for (int group : kGroupIds) {
        if (id >= group && id < group + 40) return group;
    }
    return 0;
}

TEST(HardwareSetup, StandardLayoutShowsEveryGroupWithLengthsInFeet)
{
    for (int config : {0x80, 0x8F, 0x00, 0x30}) {
        PanelRun panel;
        ASSERT_TRUE(panel.started());
        ASSERT_TRUE(OpenWith(panel, {{dryerConfigBits, config}}));
        for (int group : kGroupIds) EXPECT_TRUE(Visible(group)) << group;
        EXPECT_EQ(Text(kHardwareLength), L"Dryer Length (ft)");
        EXPECT_EQ(Text(kHardwareHeaters), L"Number FH");
        EXPECT_EQ(Text(HardwareChoiceId(kHardwareLength, 0)), L"8");
        EXPECT_EQ(Text(HardwareChoiceId(kHardwareLength, 10)), L"28");
        EXPECT_EQ(Text(HardwareChoiceId(kHardwareLength, 11)), L"34");
        EXPECT_TRUE(Visible(HardwareChoiceId(kHardwareHeaters, kSix)));
        EXPECT_EQ(CheckedIndex(HardwareChoiceId(kHardwareMeterRoll, 0), 2), 1);  // 7 inch
        ExpectTidyLayout(kHardwareSetupTitle, GroupOf);
        ASSERT_TRUE(platform::PressControl(IDOK));
    }
}

TEST(HardwareSetup, ModelLayoutShowsModelNumbersAndOneOrThreeFans)
{
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    ASSERT_TRUE(OpenWith(panel, {{dryerConfigBits, 0x25}, {dryerLengthCode, 10}}));
    EXPECT_EQ(Text(kHardwareLength), L"Model Number");
    EXPECT_EQ(Text(kHardwareHeaters), L"Number of Fans");
    EXPECT_EQ(Text(HardwareChoiceId(kHardwareLength, 0)), L"Model A1 / A2");
    EXPECT_EQ(Text(HardwareChoiceId(kHardwareLength, 10)), L"Model L1 / L2");
    EXPECT_EQ(Text(HardwareChoiceId(kHardwareLength, 11)), L"NOT USED");
    EXPECT_EQ(Text(HardwareChoiceId(kHardwareLength, 14)), L"NOT USED");
    EXPECT_EQ(Shown(dryerLengthCode), 10);  // the model is the length code
    for (int group : {kHardwareModules, kHardwareLoadSystem, kHardwareMeterRoll}) {
        EXPECT_FALSE(Visible(group)) << group;
        EXPECT_FALSE(Visible(HardwareChoiceId(group, 0))) << group;
    }
    EXPECT_FALSE(Visible(HardwareSelectId(kHardwareModules)));
    EXPECT_FALSE(Visible(HardwareSelectId(kHardwareLoadSystem)));
    for (int code = kOne; code <= kSix; ++code) {
        EXPECT_EQ(Visible(HardwareChoiceId(kHardwareHeaters, code)),
                  code == kOne || code == kThree);
    }
    // Fuel and model number move up into the space of the hidden groups.
    const auto modules = Control(kHardwareModules);
    EXPECT_EQ(Control(kHardwareLength)->rect.top, modules->rect.top);
    EXPECT_EQ(Control(kHardwareFuel)->rect.top, modules->rect.top);
    ExpectTidyLayout(kHardwareSetupTitle, GroupOf);
    ASSERT_TRUE(platform::PressControl(IDOK));
    EXPECT_TRUE(SetupFlagsSet().empty());
}

TEST(HardwareSetup, ShowsAFourInchMeterRollWhenTheDryerSaysSo)
{
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    ASSERT_TRUE(OpenWith(panel, {{ioBits.Element(6), fourInchMeterRollBit.mask}}));
    EXPECT_EQ(Text(HardwareChoiceId(kHardwareMeterRoll, 0)), L"4 inch");
    EXPECT_EQ(CheckedIndex(HardwareChoiceId(kHardwareMeterRoll, 0), 2), 0);
    ASSERT_TRUE(platform::PressControl(IDOK));
}

}  // namespace
