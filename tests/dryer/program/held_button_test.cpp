// A button held down when a tick opens a question over it (the reload question of a held batch
// timer button): the question ends the press, so the release that follows is no click on the
// button behind the question, and the held button asks only once.
#include <gtest/gtest.h>

#include "dryer/link/dryer_image.h"
#include "dryer/link/pending_command.h"
#include "platform/runtime/runtime.h"
#include "tests/dryer/program/panel_run.h"

namespace {

using panel_test::PanelRun;

constexpr int kCool = 0x9061;
const wchar_t* const kKeypad = L"MODIFYING TIMER SETPOINT - 21";

POINT Centre(int id)
{
    const auto c = panel_test::FindControl(id);
    if (!c) return POINT{-1, -1};
    return POINT{(c->rect.left + c->rect.right) / 2, (c->rect.top + c->rect.bottom) / 2};
}

bool Pressed(int id)
{
    const auto c = panel_test::FindControl(id);
    return c.has_value() && c->pressed;
}

int MessageBoxes()
{
    int boxes = 0;
    for (const auto& w : platform::InspectWindows()) boxes += w.isMessageBox ? 1 : 0;
    return boxes;
}

class HeldCoolButton : public ::testing::TestWithParam<const wchar_t*> {};

TEST_P(HeldCoolButton, QuestionEndsThePressAndTheReleaseOpensNoKeypad)
{
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    panel.Pin(coolTimerSetting, MinSec{20, 0});
    panel.Pin(dryingType, kBatchDrying);
    const POINT p = Centre(kCool);
    ASSERT_TRUE(platform::PointerDown(p.x, p.y));
    EXPECT_TRUE(Pressed(kCool));
    panel.Advance(2000);
    const auto box = panel_test::TopMessageBox();
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->title, L"RELOAD TIMER REQUEST");
    EXPECT_FALSE(Pressed(kCool));  // shown released behind the question

    // The finger is still down; the release comes after the answer or before it.
    const bool answerFirst = std::wstring(GetParam()) == L"Yes";
    if (answerFirst) {
        ASSERT_TRUE(platform::AnswerMessageBox(GetParam()));
    }
    ASSERT_TRUE(platform::PointerMove(p.x + 1, p.y));
    ASSERT_TRUE(platform::PointerUp(p.x, p.y));
    EXPECT_FALSE(panel_test::FindTitled(kKeypad).has_value());
    if (!answerFirst) {
        EXPECT_EQ(MessageBoxes(), 1);
        ASSERT_TRUE(platform::AnswerMessageBox(GetParam()));
    }
    EXPECT_EQ(MessageBoxes(), 0);
    EXPECT_EQ(PendingCommand.IsSet(Pending::coolTimerReload), answerFirst);

    // Asked once: the ticks that follow ask nothing more and open nothing.
    panel.Advance(3000);
    EXPECT_EQ(MessageBoxes(), 0);
    EXPECT_FALSE(panel_test::FindTitled(kKeypad).has_value());
    EXPECT_FALSE(Pressed(kCool));

    // The button works as before: a tap opens its keypad.
    ASSERT_TRUE(platform::Tap(p.x, p.y));
    EXPECT_TRUE(panel_test::FindTitled(kKeypad).has_value());
    platform::PressControl(2);  // CANCEL
}

INSTANTIATE_TEST_SUITE_P(Answers, HeldCoolButton, ::testing::Values(L"Yes", L"No"),
                         [](const auto& param) {
                             return std::wstring(param.param) == L"Yes"
                                        ? std::string("YesWhileHeld")
                                        : std::string("NoAfterRelease");
                         });

}  // namespace
