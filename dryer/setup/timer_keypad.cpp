// The minutes-and-seconds keypad: a digit pad for minutes (up to three digits, at most 249) on
// the left, one for seconds (two digits, the first 0-5) on the right, DEFAULT, ACCEPT and CANCEL
// in the middle. The entry is checked against the timer's limits on ACCEPT and only then
// written to DesiredSettings.
#include "dryer/setup/timer_keypad.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>

#include "dryer/link/pending_command.h"
#include "dryer/link/working_copy.h"
#include "dryer/screens/screen_manager.h"
#include "platform/controls/controls.h"
#include "platform/drawing/painter.h"
#include "platform/windowing/dialog.h"
#include "resources/orbitdryer/panel_colours.h"

namespace {

// ---- the keypad's record --------------------------------------------------------------------

constexpr int kKeyDelete = 10;
constexpr int kKeyDefault = 11;
constexpr int kLastSecond = 59;

// One record for the one keypad, filled by the screen that opens it.
struct TimerKeypadRecord {
    std::int32_t secondsState = 0;  // 0, 1 or 2 digits typed
    std::int32_t minutesState = 0;  // 0 to 3 digits typed
    std::uint8_t seconds = 0;
    std::uint8_t minutes = 0;
    std::uint8_t maximumMinutes = 255;
    std::uint8_t defaultMinutes = 0;
    std::uint8_t minimumMinutes = 0;
    std::uint8_t maximumSeconds = kLastSecond;
    std::uint8_t defaultSeconds = 0;
    std::uint8_t minimumSeconds = 0;
    ImageField target;      // the pair in DesiredSettings, minutes byte first; its flag
    std::int32_t key = 0;   // last key: 0-9, kKeyDelete, kKeyDefault
    bool firstKey = false;  // shared by both pads: set by the first key after opening
    std::int32_t screenNumber = kKeepScreenNumber;  // kKeepScreenNumber: publishes none
};
TimerKeypadRecord gKeypad;

std::uint8_t ByteOf(int value)
{
    return static_cast<std::uint8_t>(std::clamp(value, 0, 255));
}

void LoadKeypad(const TimerSetting& timer)
{
    const MinSec reported = ReadTime(DryerImage, timer.target);
    gKeypad.secondsState = 0;
    gKeypad.minutesState = 0;
    gKeypad.firstKey = false;
    gKeypad.minutes = ByteOf(reported.minutes);
    gKeypad.seconds = ByteOf(reported.seconds);
    gKeypad.minimumMinutes = ByteOf(timer.minimum.minutes);
    gKeypad.minimumSeconds = ByteOf(timer.minimum.seconds);
    gKeypad.maximumMinutes = ByteOf(timer.maximum.minutes);
    gKeypad.maximumSeconds = ByteOf(timer.maximum.seconds);
    gKeypad.defaultMinutes = ByteOf(timer.defaultValue.minutes);
    gKeypad.defaultSeconds = ByteOf(timer.defaultValue.seconds);
    gKeypad.target = timer.target;
    gKeypad.screenNumber = timer.screenNumber;
}

// ---- typing ---------------------------------------------------------------------------------
// Each pad counts the digits typed in its state. A digit the entry cannot take (a fourth minute
// digit, a third after 25 or more minutes, a second seconds digit after 6 or more) is refused
// and leaves the state as it was, so that DELETE removes the last digit that was taken.

void MinutesKey(int key)
{
    TimerKeypadRecord& k = gKeypad;
    const bool erase = key == kKeyDelete;
    switch (k.minutesState) {
        case 0:
            if (!k.firstKey) {
                k.firstKey = true;
                k.minutes = 0;
            }
            if (erase) {
                k.minutes /= 10;
            } else {
                k.minutes = ByteOf(key);
                if (key != 0) k.minutesState = 1;  // a leading 0 is no digit
            }
            break;
        case 1:
            if (erase) {
                k.minutes /= 10;
                k.minutesState = 0;
            } else {
                k.minutes = ByteOf(k.minutes * 10 + key);
                k.minutesState = 2;
            }
            break;
        case 2:
            if (erase) {
                k.minutes /= 10;
                k.minutesState = 1;
            } else if (k.minutes <= 24) {
                k.minutes = ByteOf(k.minutes * 10 + key);
                k.minutesState = 3;
            }
            break;
        default:
            if (erase) {
                k.minutes /= 10;
                k.minutesState = 2;
            }
            break;
    }
}

void SecondsKey(int key)
{
    TimerKeypadRecord& k = gKeypad;
    const bool erase = key == kKeyDelete;
    switch (k.secondsState) {
        case 0:
            if (!k.firstKey) {
                k.firstKey = true;
                k.seconds = 0;
            }
            if (erase) {
                k.seconds /= 10;
            } else {
                k.seconds = ByteOf(key);
                if (key != 0) k.secondsState = 1;
            }
            break;
        case 1:
            if (erase) {
                k.seconds /= 10;
                k.secondsState = 0;
            } else if (k.seconds <= 5) {
                k.seconds = ByteOf(k.seconds * 10 + key);
                k.secondsState = 2;
            }
            break;
        default:
            if (erase) {
                k.seconds /= 10;
                k.secondsState = 1;
            }
            break;
    }
}

void DefaultKey()
{
    TimerKeypadRecord& k = gKeypad;
    k.minutes = k.defaultMinutes;
    k.seconds = k.defaultSeconds;
    k.secondsState = k.defaultSeconds > 9 ? 1 : 0;
    k.minutesState = k.defaultMinutes > 99 ? 3 : (k.defaultMinutes < 10 ? 1 : 2);
}

// ---- accepting ------------------------------------------------------------------------------

int TotalSeconds(int minutes, int seconds)
{
    return minutes * 60 + seconds;
}

// The pair is what gets stored: its seconds must be a clock's, and its total within the limits.
// Seconds from the dryer that the operator did not retype (say 02:75) are refused here rather
// than passed on because 2 minutes and 75 seconds happen to lie within the limits.
bool EntryInRange()
{
    const TimerKeypadRecord& k = gKeypad;
    if (k.seconds > kLastSecond) return false;
    const int total = TotalSeconds(k.minutes, k.seconds);
    return total <= TotalSeconds(k.maximumMinutes, k.maximumSeconds) &&
           total >= TotalSeconds(k.minimumMinutes, k.minimumSeconds);
}

// Writes the pair, then raises the flag when the dryer reports another value. A flag already
// raised for an earlier entry stays raised and now carries this one.
void StoreEntry()
{
    const ImageField target = gKeypad.target;
    const MinSec entry{gKeypad.minutes, gKeypad.seconds};
    WriteTime(DesiredSettings, target, entry);
    SendIfChanged(target);
}

void CloseKeypad(HWND dlg, INT_PTR result)
{
    ScreenManagerState().entryContext = 0;
    ScreenManagerState().entryContextValid = true;
    EndDialog(dlg, result);
}

void Accept(HWND dlg)
{
    if (!EntryInRange()) {
        MessageBox(dlg, kOutOfRangeText, kOutOfRangeCaption, MB_OK);
        CloseKeypad(dlg, IDCANCEL);
        return;
    }
    StoreEntry();
    CloseKeypad(dlg, IDOK);
}

// ---- the dialog -----------------------------------------------------------------------------

constexpr COLORREF kEntryColour = 0x00FA0032;  // RGB 50, 0, 250
constexpr int kLimitPitch = 15;                // the limit lines stand 15 pixels apart
constexpr int kLimitFont = 14;  // a 15-pixel line: DejaVu's cell is a pixel taller than asked
constexpr int kEntryFont = 60;
constexpr LONG kEntryWeight = 900;

void DrawLimit(platform::Painter& paint, const wchar_t* format, int minutes, int seconds, int x,
               int y)
{
    wchar_t text[32];
    std::swprintf(text, std::size(text), format, minutes, seconds);
    paint.Text(text, RECT{x, y, paint.width(), y + kLimitPitch}, kBlack, kLimitFont, FW_NORMAL,
               DT_LEFT | DT_SINGLELINE);
}

void PaintKeypad(HWND dlg)
{
    platform::Painter paint(dlg, kSilver);
    const TimerKeypadRecord& k = gKeypad;
    DrawLimit(paint, L"  Default = %02d : %02d  ", k.defaultMinutes, k.defaultSeconds, 431, 50);
    DrawLimit(paint, L"  Maximum = %02d : %02d  ", k.maximumMinutes, k.maximumSeconds, 420, 65);
    DrawLimit(paint, L"  Minimum = %02d : %02d  ", k.minimumMinutes, k.minimumSeconds, 423, 80);
    wchar_t entry[32];
    std::swprintf(entry, std::size(entry), L" %03d : %02d ", k.minutes, k.seconds);
    paint.TextToFit(entry, RECT{150, 40, 398, 110}, kEntryColour, kEntryFont, kEntryWeight,
                    DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
}

void OpenKeypad(HWND dlg)
{
    if (gKeypad.screenNumber != kKeepScreenNumber) {
        ScreenManagerState().entryContext = gKeypad.screenNumber;
        ScreenManagerState().entryContextValid = true;
    }
    InvalidateRect(dlg, nullptr, FALSE);
}

void Typed(HWND dlg)
{
    InvalidateRect(dlg, nullptr, FALSE);
}

INT_PTR OnKeypadCommand(HWND dlg, int id)
{
    if (id >= kTimerMinutesDigit0 && id <= kTimerMinutesDelete) {
        gKeypad.key = id - kTimerMinutesDigit0;
        MinutesKey(gKeypad.key);
        Typed(dlg);
        return TRUE;
    }
    if (id >= kTimerSecondsDigit0 && id <= kTimerSecondsDelete) {
        gKeypad.key = id - kTimerSecondsDigit0;
        SecondsKey(gKeypad.key);
        Typed(dlg);
        return TRUE;
    }
    switch (id) {
        case kTimerDefault:
            gKeypad.key = kKeyDefault;
            DefaultKey();
            Typed(dlg);
            return TRUE;
        case IDOK: Accept(dlg); return TRUE;
        case IDCANCEL: CloseKeypad(dlg, IDCANCEL); return TRUE;
    }
    return FALSE;
}

INT_PTR TimerKeypadProc(HWND dlg, UINT msg, WPARAM wp, LPARAM)
{
    switch (msg) {
        case WM_INITDIALOG: OpenKeypad(dlg); return TRUE;
        case WM_PAINT: PaintKeypad(dlg); return TRUE;
        case WM_ERASEBKGND: return TRUE;  // the paint covers the whole client area
        case WM_COMMAND: return OnKeypadCommand(dlg, LOWORD(wp));
    }
    return FALSE;
}

// ---- the template ---------------------------------------------------------------------------
// Client area 630 x 360: the entry and the limits along the top, the minutes pad (1-9 in three
// rows, then 0 and DELETE) on the left, the seconds pad on the right, the three commands between.

constexpr int kKeyWidth = 60;
constexpr int kKeyHeight = 50;
constexpr int kKeyGap = 8;
constexpr int kPadTop = 125;
constexpr int kMinutesPadLeft = 10;
constexpr int kSecondsPadLeft = 424;

constexpr DialogControl PadKey(const wchar_t* label, int id, int left, int column, int row,
                               int columns = 1)
{
    return DialogControl{WC_BUTTON,
                         label,
                         id,
                         left + column * (kKeyWidth + kKeyGap),
                         kPadTop + row * (kKeyHeight + kKeyGap),
                         columns * kKeyWidth + (columns - 1) * kKeyGap,
                         kKeyHeight,
                         BS_PUSHBUTTON,
                         0};
}

constexpr std::array<DialogControl, 11> Pad(int left, int digit0, int erase)
{
    return {{
        PadKey(L"1", digit0 + 1, left, 0, 0),
        PadKey(L"2", digit0 + 2, left, 1, 0),
        PadKey(L"3", digit0 + 3, left, 2, 0),
        PadKey(L"4", digit0 + 4, left, 0, 1),
        PadKey(L"5", digit0 + 5, left, 1, 1),
        PadKey(L"6", digit0 + 6, left, 2, 1),
        PadKey(L"7", digit0 + 7, left, 0, 2),
        PadKey(L"8", digit0 + 8, left, 1, 2),
        PadKey(L"9", digit0 + 9, left, 2, 2),
        PadKey(L"0", digit0, left, 0, 3),
        PadKey(L"DELETE", erase, left, 1, 3, 2),
    }};
}

constexpr auto kMinutesPad = Pad(kMinutesPadLeft, kTimerMinutesDigit0, kTimerMinutesDelete);
constexpr auto kSecondsPad = Pad(kSecondsPadLeft, kTimerSecondsDigit0, kTimerSecondsDelete);

constexpr auto kKeypadControls = [] {
    std::array<DialogControl, 25> all{};
    std::size_t n = 0;
    for (const DialogControl& c : kMinutesPad) all[n++] = c;
    for (const DialogControl& c : kSecondsPad) all[n++] = c;
    all[n++] =
        DialogControl{WC_BUTTON, L"DEFAULT", kTimerDefault, 240, 125, 150, 60, BS_PUSHBUTTON, 0};
    all[n++] = DialogControl{WC_BUTTON, L"ACCEPT", IDOK, 240, 205, 150, 60, BS_PUSHBUTTON, 0};
    all[n++] = DialogControl{WC_BUTTON, L"CANCEL", IDCANCEL, 240, 285, 150, 60, BS_PUSHBUTTON, 0};
    return all;
}();

}  // namespace

INT_PTR OpenTimerKeypad(HWND owner, const TimerSetting& timer)
{
    LoadKeypad(timer);
    DialogTemplate tmpl;
    tmpl.caption = kTimerKeypadTitle;
    tmpl.width = 632;   // client 630 inside a 1-pixel frame
    tmpl.height = 382;  // client 360 below the 20-pixel caption
    tmpl.style = WS_POPUP | WS_CAPTION | DS_CENTER;
    tmpl.controls = kKeypadControls;
    tmpl.background = kSilver;
    return DialogBoxIndirectParam(Screens().instance, tmpl, owner, TimerKeypadProc, 0);
}
