// " MOISTURE SETPOINT - 26" and its keypad "MODIFY M/C SETPOINT": what the keys type into the
// screen's value field, what ACCEPT stores and sends, a keypad left without ACCEPT sending
// nothing, the setpoint shown while a change is on its way, and where the two windows lie.
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "dryer/link/dryer_image.h"
#include "dryer/link/pending_command.h"
#include "dryer/screens/entry_dialogs.h"
#include "dryer/setup/moisture_setpoint.h"
#include "platform/windowing/dialog.h"
#include "platform/windowing/window.h"
#include "tests/dryer/setup/drying_mode_support.h"

namespace {

using namespace drying_test;

// A headless screen per test, the image set by the test.
class MoistureSetpointTest : public DryingModeTest {};

constexpr int kDelete = -1;  // in a key list: DELETE

void TypeKeys(const std::vector<int>& keys)
{
    for (int k : keys) Press(k == kDelete ? kMoistureKeyDelete : kMoistureKeyDigit0 + k);
}

std::wstring ShownValue()
{
    return TextOf(kMoistureSetpointValue);
}

// Opens the screen on a dryer reporting `tenths`, presses MODIFY, and works the keypad.
INT_PTR RunKeypad(
    int tenths, const std::function<void()>& onKeypad,
    const std::function<void()>& afterKeypad = [] {})
{
    Report(moistureSetpoint, tenths);
    return RunDialog([] { return OpenMoistureSetpoint(nullptr); }, kMoistureSetpointTitle,
                     [&] {
                         Press(kMoistureSetpointModify);
                         ASSERT_TRUE(WaitForTitle(kMoistureSetpointKeypadTitle));
                         onKeypad();
                         ASSERT_TRUE(WaitForTitle(kMoistureSetpointKeypadTitle, false));
                         afterKeypad();
                         Press(kMoistureSetpointExit);
                     });
}

void Accept()
{
    Press(kMoistureKeyAccept);
}

// Leaves the keypad without ACCEPT (the panel has no keyboard; Escape stands for any other way
// the keypad can close).
void LeaveKeypad()
{
    platform::SendKey(VK_ESCAPE, false);
}

struct TypingCase {
    const char* name;
    std::vector<int> keys;
    const wchar_t* shown;
};

void PrintTo(const TypingCase& c, std::ostream* os)
{
    *os << c.name;
}

class MoistureKeypadTyping : public MoistureSetpointTest,
                             public ::testing::WithParamInterface<TypingCase> {};

TEST_P(MoistureKeypadTyping, TypesIntoTheScreensValueField)
{
    RunKeypad(140, [] {
        TypeKeys(GetParam().keys);
        EXPECT_EQ(ShownValue(), GetParam().shown);
        LeaveKeypad();
    });
}

INSTANTIATE_TEST_SUITE_P(
    Keys, MoistureKeypadTyping,
    ::testing::Values(TypingCase{"OneFiveFive", {1, 5, 5}, L"15.5 %"},
                      TypingCase{"DeleteAfterOneFiveLeavesOne", {1, 5, kDelete}, L"00.1 %"},
                      TypingCase{"FirstKeyDeleteStartsFromZero", {kDelete}, L"00.0 %"},
                      TypingCase{"FirstDigitStartsFromZero", {7}, L"00.7 %"},
                      TypingCase{"LeadingZeros", {0, 0, 9, 5}, L"09.5 %"},
                      TypingCase{"NoFourthDigit", {9, 9, 9, 9}, L"99.9 %"},
                      TypingCase{"DeleteThenMore", {2, 0, 5, kDelete, 1}, L"20.1 %"}));

TEST_F(MoistureSetpointTest, MoistureSetpointShowsTheDryersSetpoint)
{
    Report(moistureSetpoint, 145);
    RunDialog([] { return OpenMoistureSetpoint(nullptr); }, kMoistureSetpointTitle,
              [] {
                  EXPECT_EQ(ShownValue(), L"14.5 %");
                  Press(kMoistureSetpointExit);
              });
    EXPECT_TRUE(RaisedFlags().empty());
}

TEST_F(MoistureSetpointTest, MoistureKeypadAcceptStoresAndSendsTheSetpoint)
{
    const INT_PTR result = RunKeypad(
        140,
        [] {
            TypeKeys({1, 5, 5});
            Accept();
        },
        [] { EXPECT_EQ(ShownValue(), L"15.5 %"); });  // the change on its way
    EXPECT_EQ(result, IDCANCEL);                      // the screen is left with EXIT
    EXPECT_EQ(Value(DesiredSettings, moistureSetpoint), 155);
    EXPECT_EQ(DesiredSettings[moistureSetpoint.offset], 0);  // high byte first
    EXPECT_EQ(DesiredSettings[moistureSetpoint.offset + 1], 155);
    EXPECT_EQ(RaisedFlags(), (std::set<Pending>{Pending::moistureSetpoint}));
}

TEST_F(MoistureSetpointTest, MoistureKeypadAcceptOfTheDryersValueSendsNothing)
{
    RunKeypad(140, [] {
        TypeKeys({1, 4, 0});
        Accept();
    });
    EXPECT_EQ(Value(DesiredSettings, moistureSetpoint), 140);
    EXPECT_TRUE(RaisedFlags().empty());
}

// The keypad's first key clears the entry; left then without ACCEPT, the typed number must not
// reach the dryer, nor may an entry that was never typed (a setpoint of 0.0 %).
TEST_F(MoistureSetpointTest, MoistureKeypadLeftWithoutAcceptSendsNothing)
{
    const std::vector<std::vector<int>> entries{{}, {3}, {kDelete}};
    for (const auto& keys : entries) {
        RunKeypad(
            140,
            [&] {
                TypeKeys(keys);
                LeaveKeypad();
            },
            [] { EXPECT_EQ(ShownValue(), L"14.0 %"); });
        EXPECT_EQ(Value(DesiredSettings, moistureSetpoint), 140);
        EXPECT_TRUE(RaisedFlags().empty());
    }
}

// The keypad lies in the top left corner and leaves the value field it types into in sight.
TEST_F(MoistureSetpointTest, MoistureKeypadLeavesTheValueFieldInSight)
{
    RunKeypad(123, [] {
        TypeKeys({1, 5, 5});
        const auto keypad = Window(kMoistureSetpointKeypadTitle);
        const auto screen = Window(kMoistureSetpointTitle);
        ASSERT_TRUE(keypad.has_value());
        ASSERT_TRUE(screen.has_value());
        EXPECT_EQ(keypad->rect.left, 0);
        EXPECT_EQ(keypad->rect.top, 0);
        const RECT field = ControlOf(kMoistureSetpointValue).rect;
        EXPECT_GE(field.left, keypad->rect.right);
        EXPECT_GE(screen->rect.left, 0);
        EXPECT_LE(screen->rect.right, 640);
        ExpectTidyLayout(*keypad, Layout{});
        ExpectTidyLayout(*screen, Layout{});
        Screenshot("moisture_setpoint_26_keypad");
        LeaveKeypad();
    });
}

}  // namespace
