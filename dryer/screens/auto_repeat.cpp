// The held-button repeat of the step buttons, stepped by the 100 ms tick.
#include "dryer/screens/auto_repeat.h"

#include <vector>

#include "platform/controls/controls.h"
#include "platform/windowing/window.h"

namespace {

constexpr int kAutoRepeatDelay = 5;  // 100 ms ticks before a held button repeats

struct AutoRepeatScreen {
    HWND screen = nullptr;
    std::vector<int> buttons;
    int counter = kAutoRepeatDelay;
};

std::vector<AutoRepeatScreen> gAutoRepeat;

}  // namespace

void RegisterAutoRepeat(HWND screen, std::span<const int> buttonIds)
{
    UnregisterAutoRepeat(screen);
    gAutoRepeat.push_back(
        AutoRepeatScreen{screen, std::vector<int>(buttonIds.begin(), buttonIds.end())});
}

void UnregisterAutoRepeat(HWND screen)
{
    std::erase_if(gAutoRepeat, [screen](const AutoRepeatScreen& s) { return s.screen == screen; });
}

void StepAutoRepeat()
{
    // By index: a repeated command may open or close a screen and change the list.
    for (std::size_t i = 0; i < gAutoRepeat.size(); ++i) {
        AutoRepeatScreen& s = gAutoRepeat[i];
        int held = 0;
        for (int id : s.buttons) {
            HWND b = GetDlgItem(s.screen, id);
            if (b != nullptr && (SendMessage(b, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0) {
                held = id;
                break;
            }
        }
        if (held == 0) {
            s.counter = kAutoRepeatDelay;
            continue;
        }
        if (s.counter > 0) --s.counter;
        if (s.counter == 0) SendMessage(s.screen, WM_COMMAND, MAKEWPARAM(held, BN_CLICKED), 0);
    }
}

void ResetAutoRepeat()
{
    gAutoRepeat.clear();
}
