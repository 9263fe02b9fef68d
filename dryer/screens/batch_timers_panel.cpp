// The batch timer panel: three colour-coded columns (dry, cool, unload) with each timer's
// remaining time in large digits and its setting above, and a button per timer that opens
// the minutes-and-seconds keypad on the timer's setting.
#include "dryer/screens/batch_timers_panel.h"

#include <cstdio>

#include "dryer/link/link_state.h"
#include "dryer/link/pending_command.h"
#include "dryer/screens/entry_dialogs.h"
#include "dryer/screens/screen_manager.h"
#include "dryer/screens/screen_procs.h"
#include "dryer/setup/timer_keypad.h"
#include "platform/controls/controls.h"
#include "platform/drawing/gdi.h"
#include "platform/drawing/painter.h"
#include "platform/windowing/window.h"
#include "resources/orbitdryer/panel_colours.h"

namespace {

constexpr COLORREF kDryColour = kSetpointYellow;
constexpr COLORREF kCoolColour = kCoolBlue;
constexpr COLORREF kUnloadColour = kReadingGreen;
constexpr COLORREF kGridColour = kSeparatorGrey;

// One timer button and the timer it edits.
struct TimerButtonRow {
    int id;
    const wchar_t* label;
    DWORD style;
    int x, y, width, height;
    ImageField setting;
    int maximumMinutes;
    int defaultMinutes;
};
constexpr TimerButtonRow kTimerButtons[] = {
    {kBatchDryButton, L"DRY", BS_MULTILINE, 5, 110, 110, 55, dryTimerSetting, 200, 60},
    {kBatchHiHeatButton, L"HI HEAT", 0, 7, 55, 110, 25, dryTimerSetting, 200, 60},
    {kBatchLoHeatButton, L"LO HEAT", 0, 7, 140, 110, 25, loHeatTimerSetting, 200, 60},
    {kBatchCoolButton, L"COOL", 0, 138, 110, 110, 55, coolTimerSetting, 60, 20},
    {kBatchUnloadButton, L"UNLOAD", 0, 273, 110, 110, 55, unloadTimerSetting, 60, 10},
};

bool DualHeat()
{
    return IsSet(DryerImage, dualHeatBit);
}

void CreateTimerButtons(HWND wnd)
{
    for (const TimerButtonRow& b : kTimerButtons) {
        CreateWindowEx(0, WC_BUTTON, b.label, WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON | b.style, b.x,
                       b.y, b.width, b.height, wnd, b.id, Screens().instance, nullptr);
    }
}

// From 00:00 to the row's maximum. The home screen has no screen number of its own: the keypad
// publishes none while it is open, and clears the indicator when it closes.
void OpenTimerSetting(const TimerButtonRow& b)
{
    const TimerSetting timer{
        b.setting, {0, 0}, {b.maximumMinutes, 0}, {b.defaultMinutes, 0}, kKeepScreenNumber};
    OpenTimerKeypad(Screens().main, timer);
}

LRESULT OnBatchCommand(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
{
    const int id = LOWORD(wp);
    if (id == kBatchSampleTimeCommand) {
        OpenSampleTimeDialog(Screens().main);
        return 0;
    }
    for (const TimerButtonRow& b : kTimerButtons) {
        if (b.id == id) {
            OpenTimerSetting(b);
            return 0;
        }
    }
    return DefWindowProc(wnd, msg, wp, lp);
}

// ---- painting ----

struct PanelFont {
    int height;
    int weight;
};
constexpr PanelFont kSettingFont{18, 300};
constexpr PanelFont kMinutesFont{66, 900};
constexpr PanelFont kSecondsFont{32, 900};
constexpr PanelFont kDualMinutesFont{32, 900};
constexpr PanelFont kDualSecondsFont{20, 900};
constexpr PanelFont kAveragingFont{16, 400};

void DrawWithFont(platform::Painter& paint, PanelFont f, COLORREF colour, const wchar_t* text,
                  RECT r, UINT format)
{
    paint.Text(text, r, colour, f.height, f.weight, format);
}

void DrawSetting(platform::Painter& paint, ImageField setting, COLORREF colour, RECT r)
{
    const MinSec time = ReadTime(DryerImage, setting);
    wchar_t text[32];
    std::swprintf(text, std::size(text), L"%02d Min %02d Sec", time.minutes, time.seconds);
    DrawWithFont(paint, kSettingFont, colour, text, r, DT_CENTER);
}

// Remaining minutes right-aligned in one box, seconds left-aligned in the box beside it.
void DrawRemaining(platform::Painter& paint, ImageField remaining, COLORREF colour, RECT minutesBox,
                   RECT secondsBox, PanelFont minutesFont, PanelFont secondsFont)
{
    const MinSec left = ReadTime(DryerImage, remaining);
    wchar_t minutes[8];
    wchar_t seconds[8];
    std::swprintf(minutes, std::size(minutes), L"%d", left.minutes);
    std::swprintf(seconds, std::size(seconds), L"%02d", left.seconds);
    DrawWithFont(paint, minutesFont, colour, minutes, minutesBox, DT_RIGHT);
    DrawWithFont(paint, secondsFont, colour, seconds, secondsBox, DT_LEFT);
}

bool WaitingForIncomingMoisture()
{
    // A third condition, bit 0 of a status byte the answers do not carry (256), always reads
    // clear.
    return IsSet(DryerImage, criterionMoistureBit) &&
           BitsValue(DryerImage, moistureSchemeBits) == kSchemeAveraging &&
           !IsSet(DryerImage, notFillingBit) && !IsSet(DryerImage, batchLayoutBit);
}

void DrawLine(platform::Painter& paint, int width, int x1, int y1, int x2, int y2)
{
    paint.Line(x1, y1, x2, y2, kGridColour, width);
}

void DrawGrid(platform::Painter& paint, bool dualHeat)
{
    DrawLine(paint, 3, 126, 0, 126, 170);
    DrawLine(paint, 3, 259, 0, 259, 170);
    DrawLine(paint, 1, 0, 20, 400, 20);
    if (dualHeat) {
        DrawLine(paint, 3, 0, 87, 126, 87);
        DrawLine(paint, 1, 0, 107, 126, 107);
    }
}

void DrawDryColumn(platform::Painter& paint, bool dualHeat)
{
    if (dualHeat) {
        DrawRemaining(paint, dryTimerRemaining, kDryColour, RECT{0, 20, 70, 60},
                      RECT{75, 30, 150, 60}, kDualMinutesFont, kDualSecondsFont);
        DrawRemaining(paint, loHeatTimerRemaining, kDryColour, RECT{0, 107, 70, 147},
                      RECT{75, 117, 150, 147}, kDualMinutesFont, kDualSecondsFont);
        DrawSetting(paint, loHeatTimerSetting, kDryColour, RECT{0, 87, 126, 107});
    } else if (WaitingForIncomingMoisture()) {
        DrawWithFont(paint, kAveragingFont, kDryColour, L"AVERAGING", RECT{0, 30, 126, 48},
                     DT_CENTER);
        DrawWithFont(paint, kAveragingFont, kDryColour, L"INCOMING", RECT{0, 50, 126, 68},
                     DT_CENTER);
        DrawWithFont(paint, kAveragingFont, kDryColour, L"MOISTURE", RECT{0, 70, 126, 88},
                     DT_CENTER);
    } else {
        DrawRemaining(paint, dryTimerRemaining, kDryColour, RECT{0, 15, 90, 90},
                      RECT{90, 55, 150, 135}, kMinutesFont, kSecondsFont);
    }
}

void PaintBatchPanel(HWND wnd)
{
    platform::Painter paint(wnd, kBlack);

    const bool dualHeat = DualHeat();
    DrawSetting(paint, dryTimerSetting, kDryColour, RECT{0, 0, 126, 20});
    DrawSetting(paint, coolTimerSetting, kCoolColour, RECT{126, 0, 259, 20});
    DrawSetting(paint, unloadTimerSetting, kUnloadColour, RECT{259, 0, 400, 20});
    DrawRemaining(paint, coolTimerRemaining, kCoolColour, RECT{120, 15, 220, 90},
                  RECT{220, 55, 280, 135}, kMinutesFont, kSecondsFont);
    DrawRemaining(paint, unloadTimerRemaining, kUnloadColour, RECT{220, 15, 350, 90},
                  RECT{350, 55, 410, 135}, kMinutesFont, kSecondsFont);
    DrawDryColumn(paint, dualHeat);
    DrawGrid(paint, dualHeat);
}

}  // namespace

void LayOutBatchTimerButtons()
{
    HWND panel = Screens().batchDrying;
    if (panel == nullptr) return;
    bool hiLo = false;
    switch (Value(DryerImage, dryingType)) {
        case kContinuousFlow: hiLo = false; break;
        case 3: hiLo = true; break;
        default: hiLo = DualHeat(); break;
    }
    ShowScreen(GetDlgItem(panel, kBatchDryButton), !hiLo);
    ShowScreen(GetDlgItem(panel, kBatchHiHeatButton), hiLo);
    ShowScreen(GetDlgItem(panel, kBatchLoHeatButton), hiLo);
    ShowScreen(GetDlgItem(panel, kBatchCoolButton), true);
    ShowScreen(GetDlgItem(panel, kBatchUnloadButton), true);
    EnableWindow(GetDlgItem(panel, kBatchDryButton), TRUE);
}

bool BatchTimerButtonPressed(int id)
{
    HWND panel = Screens().batchDrying;
    if (panel == nullptr) return false;
    HWND button = GetDlgItem(panel, id);
    if (button == nullptr) return false;
    return (SendMessage(button, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
}

LRESULT BatchDryingProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
        case WM_CREATE: CreateTimerButtons(wnd); return 0;
        case WM_PAINT: PaintBatchPanel(wnd); return 0;
        case WM_ERASEBKGND: return 1;  // the paint covers the whole client area
        case WM_COMMAND: return OnBatchCommand(wnd, msg, wp, lp);
    }
    return DefWindowProc(wnd, msg, wp, lp);
}
