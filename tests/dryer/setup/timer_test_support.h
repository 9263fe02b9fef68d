// Driving the timer screen and the minutes-and-seconds keypad of a panel run: keys by name,
// opening a page's keypad, reading the entry and the texts a window drew.
#pragma once

#include <gtest/gtest.h>

#include <cwctype>
#include <optional>
#include <string>
#include <vector>

#include "dryer/screens/screen_manager.h"
#include "dryer/setup/timer_keypad.h"
#include "dryer/setup/timer_screen.h"
#include "platform/runtime/runtime.h"
#include "platform/windowing/dialog.h"
#include "tests/dryer/program/panel_run.h"

namespace timer_test {

// Keys of the keypad.
inline int M(int digit)
{
    return kTimerMinutesDigit0 + digit;
}
inline int S(int digit)
{
    return kTimerSecondsDigit0 + digit;
}
inline constexpr int kMinutesDelete = kTimerMinutesDelete;
inline constexpr int kSecondsDelete = kTimerSecondsDelete;
inline constexpr int kDefaultKey = kTimerDefault;
inline constexpr int kAccept = IDOK;
inline constexpr int kCancel = IDCANCEL;

inline std::optional<platform::WindowInfo> Keypad()
{
    return panel_test::FindTitled(kTimerKeypadTitle);
}

inline bool KeypadOpen()
{
    return Keypad().has_value();
}

// Shows the timer screen (TIMERS on the home screen) unless it is shown already.
inline bool ShowTimerScreen()
{
    if (panel_test::Shown(L"TIMER_SELECT_WINDOW")) return true;
    return platform::PressControl(kCmdTimers) && panel_test::Shown(L"TIMER_SELECT_WINDOW");
}

// Opens the keypad on the timer of a page button.
inline bool OpenPageKeypad(int button)
{
    return ShowTimerScreen() && platform::PressControl(button) && KeypadOpen();
}

inline bool Type(const std::vector<int>& keys)
{
    for (int key : keys) {
        if (!platform::PressControl(key)) return false;
    }
    return true;
}

// The entry " mmm : ss " the keypad shows (the limit lines start with two blanks).
inline std::wstring Entry()
{
    const auto keypad = Keypad();
    if (!keypad) return L"(no keypad)";
    for (const auto& t : keypad->texts) {
        if (t.text.size() > 1 && t.text[0] == L' ' && std::iswdigit(t.text[1])) return t.text;
    }
    return L"(no entry)";
}

// ACCEPT on an entry out of range: the warning comes, OK closes it and the keypad. Returns
// whether the warning said what it should.
inline bool AcceptIsRefused()
{
    if (!platform::PressControl(kAccept)) return false;
    const auto box = panel_test::TopMessageBox();
    if (!box) return false;
    const bool said = box->title == kOutOfRangeCaption && box->messageText == kOutOfRangeText &&
                      box->buttons.size() == 1;
    return platform::AnswerMessageBox(L"OK") && said;
}

// ACCEPT on an entry within range: the keypad closes without a word.
inline bool AcceptIsTaken()
{
    return platform::PressControl(kAccept) && !panel_test::TopMessageBox() && !KeypadOpen();
}

inline std::vector<platform::DrawnText> TextsOf(const wchar_t* className)
{
    const auto w = panel_test::FindShown(className);
    return w ? w->texts : std::vector<platform::DrawnText>{};
}

inline const platform::DrawnText* FindText(const std::vector<platform::DrawnText>& texts,
                                           const std::wstring& text)
{
    for (const auto& t : texts) {
        if (t.text == text) return &t;
    }
    return nullptr;
}

// The colour a text was drawn in; a text that was not drawn fails the test.
inline COLORREF ColourOf(const std::vector<platform::DrawnText>& texts, const std::wstring& text)
{
    const platform::DrawnText* t = FindText(texts, text);
    if (t == nullptr) {
        ADD_FAILURE() << "not drawn: \"" << panel_test::Narrow(text) << "\"";
        return 0xFFFFFFFF;
    }
    return t->colour;
}

inline bool Inside(const RECT& inner, const RECT& outer)
{
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

inline bool Overlap(const RECT& a, const RECT& b)
{
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// The client area of a window with a caption and a one-pixel frame, in screen coordinates.
inline RECT ClientOf(const platform::WindowInfo& w)
{
    return RECT{w.rect.left + 1, w.rect.top + 21, w.rect.right - 1, w.rect.bottom - 1};
}

// Every text a window drew lies in its client area, clear of its controls and of the other
// texts.
inline void ExpectLaidOutCleanly(const platform::WindowInfo& w)
{
    const RECT client = ClientOf(w);
    for (std::size_t i = 0; i < w.texts.size(); ++i) {
        const auto& t = w.texts[i];
        const std::string name = panel_test::Narrow(t.text);
        EXPECT_TRUE(Inside(t.rect, client)) << name << " leaves its window";
        for (const auto& c : w.controls) {
            if (c.visible) {
                EXPECT_FALSE(Overlap(t.rect, c.rect)) << name << " under a button";
            }
        }
        for (std::size_t j = i + 1; j < w.texts.size(); ++j) {
            EXPECT_FALSE(Overlap(t.rect, w.texts[j].rect))
                << name << " overlaps " << panel_test::Narrow(w.texts[j].text);
        }
    }
}

}  // namespace timer_test
