// The temperature keypad "Modifying Temperature Setpoint - 22": one global record holds the
// entry; the dialog procedure turns the keys into it, paints the number and, on ACCEPT, checks
// the value in whole °F against the setpoint's range before it goes to DesiredSettings.
#include "dryer/setup/temperature_keypad.h"

#include <array>
#include <optional>

#include "dryer/link/pending_command.h"
#include "dryer/link/working_copy.h"
#include "dryer/screens/home_panels.h"
#include "dryer/screens/screen_manager.h"
#include "platform/controls/controls.h"
#include "platform/drawing/gdi.h"
#include "platform/drawing/painter.h"

namespace {

constexpr int kKeyDelete = 10;  // the key field's codes besides the digits 0-9
constexpr int kKeyDefault = 11;

// The keypad's state, filled when it opens.
struct TemperatureKeypadState {
    int entryState = 0;     // 0, 1 or 2: how many digits the entry has taken (see PressKey)
    int value = 0;          // the number on the keypad, in the units it shows
    int maximum = 0;        // °F
    int minimum = 0;        // °F
    int key = 0;            // last key: 0-9, kKeyDelete, kKeyDefault
    int defaultValue = 0;   // °F
    bool firstKey = false;  // a digit or DELETE came since opening
    ImageField target{};    // the setpoint word; its pending flag is target.pending
    int screenNumber = kKeepScreenNumber;
    bool celsius = false;  // the entry is typed in °C (the image's units when it opened)
    // The °F value the number stands for while no key has changed it: the current setpoint
    // or the default, which a Celsius number cannot always give back exactly.
    std::optional<int> exactFahrenheit;
};

TemperatureKeypadState gKeypad;

constexpr COLORREF kValueColour = RGB(50, 0, 250);
constexpr COLORREF kKeypadFace = 0x00C0C0C0;
constexpr COLORREF kDisplayWhite = 0x00FFFFFF;
constexpr RECT kValueRect{150, 40, 398, 110};
constexpr RECT kDisplayRect{140, 30, 408, 120};

// ---- layout ----
// Digits in three columns with "0" between DELETE and CLEAR below them; DEFAULT, ACCEPT and
// CANCEL in a column of their own on the right.
constexpr int kKeyWidth = 80;
constexpr int kKeyHeight = 52;
constexpr int kColumn[] = {25, 115, 205};
constexpr int kRow[] = {135, 197, 259, 321};
constexpr int kSideX = 310;
constexpr int kSideWidth = 160;

constexpr DialogControl Key(const wchar_t* text, int id, int column, int row)
{
    return DialogControl{.className = WC_BUTTON,
                         .text = text,
                         .id = id,
                         .x = kColumn[column],
                         .y = kRow[row],
                         .width = kKeyWidth,
                         .height = kKeyHeight,
                         .style = BS_PUSHBUTTON};
}
// A key of the right-hand column, from `row` down to `lastRow`.
constexpr DialogControl SideKey(const wchar_t* text, int id, int row, int lastRow)
{
    return DialogControl{.className = WC_BUTTON,
                         .text = text,
                         .id = id,
                         .x = kSideX,
                         .y = kRow[row],
                         .width = kSideWidth,
                         .height = kRow[lastRow] - kRow[row] + kKeyHeight,
                         .style = BS_PUSHBUTTON};
}

constexpr std::array<DialogControl, 15> kControls{{
    Key(L"7", kKeypadDigit0 + 7, 0, 0),
    Key(L"8", kKeypadDigit0 + 8, 1, 0),
    Key(L"9", kKeypadDigit0 + 9, 2, 0),
    Key(L"4", kKeypadDigit0 + 4, 0, 1),
    Key(L"5", kKeypadDigit0 + 5, 1, 1),
    Key(L"6", kKeypadDigit0 + 6, 2, 1),
    Key(L"1", kKeypadDigit0 + 1, 0, 2),
    Key(L"2", kKeypadDigit0 + 2, 1, 2),
    Key(L"3", kKeypadDigit0 + 3, 2, 2),
    Key(L"DELETE", kKeypadDelete, 0, 3),
    Key(L"0", kKeypadDigit0, 1, 3),
    Key(L"CLEAR", kKeypadClear, 2, 3),
    SideKey(L"DEFAULT", kKeypadDefault, 0, 0),
    SideKey(L"ACCEPT", kKeypadAccept, 1, 2),
    SideKey(L"CANCEL", kKeypadCancel, 3, 3),
}};
constexpr int kDialogWidth = kSideX + kSideWidth + 25 + 2;
constexpr int kDialogHeight = kRow[3] + kKeyHeight + 20 + 22;

// ---- the entry ----

void StartEntry(const TemperatureSetpoint& setpoint)
{
    TakeWorkingCopy(setpoint.target);
    const int current = Value(DryerImage, setpoint.target);
    gKeypad = TemperatureKeypadState{};
    gKeypad.maximum = setpoint.maximum;
    gKeypad.minimum = setpoint.minimum;
    gKeypad.defaultValue = setpoint.defaultValue;
    gKeypad.target = setpoint.target;
    gKeypad.screenNumber = setpoint.screenNumber;
    gKeypad.celsius = IsSet(DryerImage, siUnitsBit);
    gKeypad.value = DisplayTemperature(current, gKeypad.celsius);
    gKeypad.exactFahrenheit = current;
}

// A digit (0-9) or DELETE. An entry takes at most three digits; DELETE drops the last one.
void PressKey(int key)
{
    gKeypad.key = key;
    const bool del = key == kKeyDelete;
    switch (gKeypad.entryState) {
        case 0:
            if (!gKeypad.firstKey) {
                gKeypad.firstKey = true;
                gKeypad.value = 0;
            }
            gKeypad.value = del ? gKeypad.value / 10 : key;
            gKeypad.entryState = 1;
            break;
        case 1:
            gKeypad.value = del ? gKeypad.value / 10 : gKeypad.value * 10 + key;
            gKeypad.entryState = 2;
            break;
        default:
            if (del) {
                gKeypad.value /= 10;
                gKeypad.entryState = 1;
            } else if (gKeypad.value < 100) {
                gKeypad.value = gKeypad.value * 10 + key;
            } else {
                return;  // a fourth digit: ignored, the number is unchanged
            }
            break;
    }
    gKeypad.exactFahrenheit.reset();
}

void Clear()
{
    gKeypad.value = 0;
    gKeypad.entryState = 0;
    gKeypad.exactFahrenheit.reset();
}

void PutDefault()
{
    gKeypad.key = kKeyDefault;
    gKeypad.value = DisplayTemperature(gKeypad.defaultValue, gKeypad.celsius);
    gKeypad.entryState = gKeypad.value >= 100 ? 2 : (gKeypad.value >= 10 ? 1 : 0);
    gKeypad.exactFahrenheit = gKeypad.defaultValue;
}

// The whole-°F value the entry asks for, checked against the range as it would be stored.
std::optional<int> AcceptedFahrenheit()
{
    int f = gKeypad.value;
    if (gKeypad.exactFahrenheit) {
        f = *gKeypad.exactFahrenheit;
    } else if (gKeypad.celsius) {
        f = CelsiusEntryToFahrenheit(gKeypad.value);
    }
    if (f < gKeypad.minimum || f > gKeypad.maximum) return std::nullopt;
    return f;
}

// Desired value first, flag last; a value the board already reports raises no flag.
void Store(int fahrenheit)
{
    SetValue(DesiredSettings, gKeypad.target, fahrenheit);
    SendIfChanged(gKeypad.target);
}

// ---- the dialog ----

void PublishScreenNumber(int number)
{
    ScreenManagerState().entryContext = number;
    ScreenManagerState().entryContextValid = true;
}

void Close(HWND dlg, INT_PTR result)
{
    PublishScreenNumber(0);
    EndDialog(dlg, result);
}

void OnAccept(HWND dlg)
{
    const std::optional<int> f = AcceptedFahrenheit();
    if (!f) {
        MessageBox(dlg, kOutOfRangeText, kOutOfRangeCaption, MB_OK);
        Close(dlg, IDCANCEL);
        return;
    }
    Store(*f);
    Close(dlg, IDOK);
}

void PaintKeypad(HWND dlg)
{
    platform::Painter paint(dlg, kKeypadFace);
    paint.Box(kDisplayRect, kDisplayWhite, kValueColour, 2);
    const std::wstring text = home_panels::Format(
        L" %03d %c%c ", gKeypad.value, home_panels::kDegree, gKeypad.celsius ? L'C' : L'F');
    paint.TextToFit(text, kValueRect, kValueColour, 60, 900, DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
}

void Repaint(HWND dlg)
{
    InvalidateRect(dlg, nullptr, FALSE);
}

BOOL OnKeypadCommand(HWND dlg, int id)
{
    if (id >= kKeypadDigit0 && id <= kKeypadDigit0 + 9) {
        PressKey(id - kKeypadDigit0);
        Repaint(dlg);
        return TRUE;
    }
    switch (id) {
        case kKeypadDelete: PressKey(kKeyDelete); break;
        case kKeypadClear: Clear(); break;
        case kKeypadDefault: PutDefault(); break;
        case kKeypadAccept: OnAccept(dlg); return TRUE;
        case kKeypadCancel: Close(dlg, IDCANCEL); return TRUE;
        default: return FALSE;
    }
    Repaint(dlg);
    return TRUE;
}

void OnInitKeypad()
{
    // The template's DS_CENTER has centred the dialog over its owner (never off the screen).
    if (gKeypad.screenNumber != kKeepScreenNumber) PublishScreenNumber(gKeypad.screenNumber);
}

INT_PTR TemperatureKeypadProc(HWND dlg, UINT msg, WPARAM wp, LPARAM)
{
    switch (msg) {
        case WM_INITDIALOG: OnInitKeypad(); return TRUE;
        case WM_PAINT: PaintKeypad(dlg); return TRUE;
        case WM_COMMAND: return OnKeypadCommand(dlg, LOWORD(wp));
    }
    return FALSE;
}

}  // namespace

INT_PTR OpenTemperatureKeypad(HWND owner, const TemperatureSetpoint& setpoint)
{
    StartEntry(setpoint);
    DialogTemplate tmpl;
    tmpl.caption = kTemperatureKeypadTitle;
    tmpl.width = kDialogWidth;
    tmpl.height = kDialogHeight;
    tmpl.style = WS_POPUP | WS_CAPTION | DS_CENTER;
    tmpl.controls = kControls;
    tmpl.background = kKeypadFace;
    return DialogBoxIndirectParam(Screens().instance, tmpl, owner, TemperatureKeypadProc, 0);
}
