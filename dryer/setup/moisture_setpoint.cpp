// " MOISTURE SETPOINT - 26" and its keypad "MODIFY M/C SETPOINT". The screen keeps a working
// copy of the setpoint in DesiredSettings; the keypad has no display of its own and types
// into the screen's value field; the screen sends the setpoint once the keypad has closed.
#include "dryer/setup/moisture_setpoint.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "dryer/link/dryer_image.h"
#include "dryer/link/pending_command.h"
#include "dryer/link/repaint_routes.h"
#include "dryer/link/working_copy.h"
#include "dryer/screens/entry_dialogs.h"
#include "dryer/screens/screen_manager.h"
#include "platform/controls/controls.h"
#include "platform/runtime/runtime.h"

namespace {

// ---- the keypad ----

// The entry: the first key (a digit or DELETE) starts from 0.
struct MoistureKeypadState {
    bool firstKey = false;
    int number = 0;  // tenths of a percent
    HWND valueField = nullptr;
};

MoistureKeypadState gKeypad;

// Digits in three columns, DELETE, 0 and ACCEPT on the bottom row.
constexpr int kKeyWidth = 80;
constexpr int kKeyHeight = 56;
constexpr int kKeyColumn[3] = {12, 100, 188};
constexpr int kKeyRow[4] = {12, 76, 140, 204};
constexpr int kKeypadWidth = 292;
constexpr int kKeypadHeight = 306;

constexpr DialogControl Key(const wchar_t* text, int id, int column, int row)
{
    return DialogControl{WC_BUTTON,  text,          id, kKeyColumn[column], kKeyRow[row], kKeyWidth,
                         kKeyHeight, BS_PUSHBUTTON, 0};
}

constexpr std::array<DialogControl, 12> kKeys{{
    Key(L"7", kMoistureKeyDigit0 + 7, 0, 0),
    Key(L"8", kMoistureKeyDigit0 + 8, 1, 0),
    Key(L"9", kMoistureKeyDigit0 + 9, 2, 0),
    Key(L"4", kMoistureKeyDigit0 + 4, 0, 1),
    Key(L"5", kMoistureKeyDigit0 + 5, 1, 1),
    Key(L"6", kMoistureKeyDigit0 + 6, 2, 1),
    Key(L"1", kMoistureKeyDigit0 + 1, 0, 2),
    Key(L"2", kMoistureKeyDigit0 + 2, 1, 2),
    Key(L"3", kMoistureKeyDigit0 + 3, 2, 2),
    Key(L"DELETE", kMoistureKeyDelete, 0, 3),
    Key(L"0", kMoistureKeyDigit0, 1, 3),
    Key(L"ACCEPT", kMoistureKeyAccept, 2, 3),
}};

void ShowTypedNumber()
{
    wchar_t text[32];
    std::swprintf(text, std::size(text), L"%02d.%01d %%", gKeypad.number / 10, gKeypad.number % 10);
    if (gKeypad.valueField != nullptr) SetWindowText(gKeypad.valueField, text);
}

void StartEntry()
{
    if (!gKeypad.firstKey) {
        gKeypad.firstKey = true;
        gKeypad.number = 0;
    }
}

void PressDigit(int digit)
{
    StartEntry();
    const int typed = gKeypad.number * 10 + digit;
    if (typed < 1000) gKeypad.number = typed;  // a fourth digit is not taken
    ShowTypedNumber();
}

void PressDelete()
{
    const bool started = gKeypad.firstKey;
    StartEntry();
    if (started) gKeypad.number /= 10;
    ShowTypedNumber();
}

void AcceptSetpoint(HWND dlg)
{
    SetValue(DesiredSettings, moistureSetpoint, gKeypad.number);
    EndDialog(dlg, IDOK);
}

INT_PTR OnKey(HWND dlg, int id)
{
    if (id >= kMoistureKeyDigit0 && id <= kMoistureKeyDigit0 + 9) {
        PressDigit(id - kMoistureKeyDigit0);
        return TRUE;
    }
    switch (id) {
        case kMoistureKeyDelete: PressDelete(); return TRUE;
        case kMoistureKeyAccept: AcceptSetpoint(dlg); return TRUE;
        case IDCANCEL: EndDialog(dlg, IDCANCEL); return TRUE;
    }
    return FALSE;
}

// The keypad sits in the top left corner, clear of the screen's value field.
void PlaceKeypad(HWND dlg)
{
    RECT r;
    if (GetWindowRect(dlg, &r) == FALSE) return;
    MoveWindow(dlg, 0, 0, r.right - r.left, r.bottom - r.top, FALSE);
}

INT_PTR MoistureKeypadProc(HWND dlg, UINT msg, WPARAM wp, LPARAM)
{
    switch (msg) {
        case WM_INITDIALOG:
            gKeypad.firstKey = false;
            PlaceKeypad(dlg);
            return TRUE;
        case WM_COMMAND: return OnKey(dlg, LOWORD(wp));
    }
    return FALSE;
}

// ---- the screen ----

constexpr int kSetpointScreenWidth = 400;
constexpr int kSetpointScreenHeight = 200;

constexpr std::array<DialogControl, 4> kScreenControls{{
    {WC_STATIC, L"M/C SETPOINT", kMoistureSetpointLabel, 20, 38, 150, 24, SS_LEFT, 0},
    {WC_STATIC, L"", kMoistureSetpointValue, 190, 30, 190, 40, SS_CENTER | WS_BORDER, 0},
    {WC_BUTTON, L"MODIFY", kMoistureSetpointModify, 190, 90, 90, 50, BS_PUSHBUTTON, 0},
    {WC_BUTTON, L"EXIT", kMoistureSetpointExit, 290, 90, 90, 50, BS_PUSHBUTTON, 0},
}};

bool gTyping = false;  // the keypad is writing into the value field

// The setpoint being sent while its flag is up, else the dryer's.
void ShowSetpoint(HWND dlg)
{
    if (gTyping) return;
    const int tenths = PendingCommand.IsSet(moistureSetpoint.pending)
                           ? Value(DesiredSettings, moistureSetpoint)
                           : Value(DryerImage, moistureSetpoint);
    wchar_t text[32];
    std::swprintf(text, std::size(text), L"%d.%01d %%", tenths / 10, tenths % 10);
    SetDlgItemText(dlg, kMoistureSetpointValue, text);
}

void CentreOnScreen(HWND dlg)
{
    RECT r;
    if (GetWindowRect(dlg, &r) == FALSE) return;
    const int w = r.right - r.left;
    const int h = r.bottom - r.top;
    MoveWindow(dlg, std::max(0, (platform::kScreenWidth - w) / 2),
               std::max(0, (platform::kScreenHeight - h) / 2), w, h, FALSE);
}

void OnScreenOpen(HWND dlg)
{
    TakeWorkingCopy(moistureSetpoint);
    CopyField(DryerImage, DesiredSettings, moistureModeSetting);
    CentreOnScreen(dlg);
    ShowSetpoint(dlg);
    SetRepaintWindow(RepaintTarget::moistureSetpointScreen, dlg);
}

// The keypad types into the value field; what it accepts is sent if the dryer does not have it
// already. A keypad closed without ACCEPT leaves the working copy, so nothing new is sent.
void Modify(HWND dlg)
{
    gTyping = true;
    OpenMoistureSetpointKeypad(dlg, GetDlgItem(dlg, kMoistureSetpointValue));
    gTyping = false;
    SendIfChanged(moistureSetpoint);
    ShowSetpoint(dlg);
}

void CloseScreen(HWND dlg)
{
    if (RepaintWindow(RepaintTarget::moistureSetpointScreen) == dlg) {
        SetRepaintWindow(RepaintTarget::moistureSetpointScreen, nullptr);
    }
    EndDialog(dlg, IDCANCEL);
}

INT_PTR MoistureSetpointProc(HWND dlg, UINT msg, WPARAM wp, LPARAM)
{
    switch (msg) {
        case WM_INITDIALOG: OnScreenOpen(dlg); return TRUE;
        case WM_PAINT: ShowSetpoint(dlg); return FALSE;  // the dryer's echo, then the default
        case WM_COMMAND:
            switch (LOWORD(wp)) {
                case kMoistureSetpointModify: Modify(dlg); return TRUE;
                case kMoistureSetpointExit: CloseScreen(dlg); return TRUE;
            }
            return FALSE;
    }
    return FALSE;
}

}  // namespace

INT_PTR OpenMoistureSetpointKeypad(HWND owner, HWND valueField)
{
    gKeypad = MoistureKeypadState{};
    gKeypad.valueField = valueField;
    DialogTemplate tmpl;
    tmpl.caption = kMoistureSetpointKeypadTitle;
    tmpl.width = kKeypadWidth;
    tmpl.height = kKeypadHeight;
    tmpl.style = WS_POPUP | WS_CAPTION;
    tmpl.controls = kKeys;
    return DialogBoxIndirectParam(Screens().instance, tmpl, owner, MoistureKeypadProc, 0);
}

INT_PTR OpenMoistureSetpointScreen(HWND owner)
{
    DialogTemplate tmpl;
    tmpl.caption = kMoistureSetpointTitle;
    tmpl.width = kSetpointScreenWidth;
    tmpl.height = kSetpointScreenHeight;
    tmpl.style = WS_POPUP | WS_CAPTION;
    tmpl.controls = kScreenControls;
    return DialogBoxIndirectParam(Screens().instance, tmpl, owner, MoistureSetpointProc, 0);
}
