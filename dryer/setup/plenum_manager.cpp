// "PLENUM TEMPERATURE MANAGER - 12": the working copy of the manager's byte, its on/off bit
// toggled by SELECT ON / OFF and its two three-bit settings stepped round by INCREASE and
// DECREASE (7 up gives 0, 0 down gives 7). ACCEPT sends the byte when it changed.
#include "dryer/setup/plenum_manager.h"

#include <array>
#include <iterator>

#include "dryer/link/dryer_image.h"
#include "dryer/link/working_copy.h"
#include "dryer/screens/auto_repeat.h"
#include "dryer/screens/screen_manager.h"
#include "dryer/setup/drying_mode_shared.h"
#include "platform/controls/controls.h"
#include "platform/windowing/dialog.h"

namespace {

constexpr const wchar_t* kHelpText =
    L"The Plenum Temp Manager will reduce the plenum\ntemperature setpoint(s) if the unload "
    L"rate\nreaches its maximum allowable value for the\ntime specified by the Time Between "
    L"Steps menu.\nOnce the time has been exceeded the dryer\nwill reduce the temp setpoint by "
    L"the amount \ngiven in the Size of Temperature Steps menu.\n\nIf the time given by the "
    L"Time Between Steps \nmenu without the unload rate at its maximum\nvalue, the dryer will "
    L"increase the plenum \nsetpoint in the selected increments until \neither the original "
    L"setpoint is reached, or\nthe maximum unload rate is reached.\n";

constexpr int kSettingValues = 8;  // three bits each
constexpr const wchar_t* kStepTimeText[kSettingValues] = {
    L"15 MINUTES", L"30 MINUTES", L"45 MINUTES", L"1 HOUR    ",
    L"1.5 HOURS ", L"2 HOURS   ", L"3 HOURS   ", L"4 HOURS   "};
constexpr const wchar_t* kStepSizeText[kSettingValues] = {L"Select  ", L"2 DEG F ", L"3 DEG F ",
                                                          L"5 DEG F ", L"10 DEG F", L"15 DEG F",
                                                          L"20 DEG F", L"25 DEG F"};

constexpr std::array<int, 4> kStepButtons{kPlenumTimeIncrease, kPlenumTimeDecrease,
                                          kPlenumSizeIncrease, kPlenumSizeDecrease};

// The working copy of the manager's byte.
int gByte = 0;

// Layout: the on/off choice across the top, the two settings side by side below it, the three
// buttons at the bottom.
constexpr int kSettingTop = 88;
constexpr int kSettingWidth = 265;
constexpr int kSettingLeft[2] = {10, 285};
constexpr int kButtonTop = 240;
constexpr int kButtonWidth = 170;
constexpr int kButtonHeight = 46;

struct SettingControls {
    int frame;
    const wchar_t* title;
    int field, increase, decrease;
};
constexpr SettingControls kSettings[2] = {
    {kPlenumTimeFrame, L"TIME BETWEEN STEPS", kPlenumTimeField, kPlenumTimeIncrease,
     kPlenumTimeDecrease},
    {kPlenumSizeFrame, L"SIZE OF TEMPERATURE STEPS", kPlenumSizeField, kPlenumSizeIncrease,
     kPlenumSizeDecrease},
};
constexpr int kControlCount = 4 + 2 * 4 + 3;

std::array<DialogControl, kControlCount> BuildControls()
{
    std::array<DialogControl, kControlCount> c{};
    int n = 0;
    c[n++] = {WC_BUTTON, L"PLENUM TEMP MANAGER", kPlenumOnOffFrame, 10, 8, 540, 70, BS_GROUPBOX, 0};
    c[n++] = {WC_BUTTON, L"SELECT ON / OFF", kPlenumSelectOnOff, 24, 30, 180, 38, BS_PUSHBUTTON, 0};
    c[n++] = {WC_BUTTON, L"ON", kPlenumOn, 240, 37, 90, 24, BS_RADIOBUTTON | WS_GROUP, 0};
    c[n++] = {WC_BUTTON, L"OFF", kPlenumOff, 350, 37, 90, 24, BS_RADIOBUTTON, 0};
    for (int i = 0; i < 2; ++i) {
        const SettingControls& s = kSettings[i];
        const int x = kSettingLeft[i];
        c[n++] = {WC_BUTTON, s.title, s.frame, x, kSettingTop, kSettingWidth, 140, BS_GROUPBOX, 0};
        c[n++] = {WC_STATIC,
                  L"",
                  s.field,
                  x + 14,
                  kSettingTop + 30,
                  kSettingWidth - 28,
                  30,
                  SS_CENTER | WS_BORDER,
                  0};
        c[n++] = {WC_BUTTON, L"INCREASE", s.increase,    x + 14, kSettingTop + 78,
                  112,       46,          BS_PUSHBUTTON, 0};
        c[n++] = {WC_BUTTON, L"DECREASE", s.decrease,    x + 139, kSettingTop + 78,
                  112,       46,          BS_PUSHBUTTON, 0};
    }
    c[n++] = {WC_BUTTON,    L"ACCEPT",     kPlenumAccept, 10, kButtonTop,
              kButtonWidth, kButtonHeight, BS_PUSHBUTTON, 0};
    c[n++] = {WC_BUTTON,    L"HELP",       kPlenumHelp,   195, kButtonTop,
              kButtonWidth, kButtonHeight, BS_PUSHBUTTON, 0};
    c[n++] = {WC_BUTTON,    L"CANCEL",     kPlenumCancel, 380, kButtonTop,
              kButtonWidth, kButtonHeight, BS_PUSHBUTTON, 0};
    return c;
}

// The manager's bits read from and written into the working copy.
int WorkingBits(ImageBits bits)
{
    return (gByte & bits.mask) >> bits.shift();
}

void SetWorkingBits(ImageBits bits, int value)
{
    gByte = (gByte & ~bits.mask) | ((value << bits.shift()) & bits.mask);
}

void Refresh(HWND dlg)
{
    SetDlgItemText(dlg, kPlenumTimeField, PlenumStepTimeText(WorkingBits(plenumStepTimeBits)));
    SetDlgItemText(dlg, kPlenumSizeField, PlenumStepSizeText(WorkingBits(plenumStepSizeBits)));
    const bool on = WorkingBits(plenumManagerOnBit) != 0;
    ShowChecked(dlg, kPlenumOn, on);
    ShowChecked(dlg, kPlenumOff, !on);
}

// Steps a three-bit setting round: up from 7 gives 0, down from 0 gives 7.
void Step(HWND dlg, ImageBits bits, int by)
{
    SetWorkingBits(bits, (WorkingBits(bits) + by + kSettingValues) % kSettingValues);
    Refresh(dlg);
}

void OnOpen(HWND dlg)
{
    PlaceDryingModeDialog(dlg, Screens().main);
    TakeWorkingCopy(plenumManagerByte50);
    gByte = Value(DesiredSettings, plenumManagerByte50);
    RegisterAutoRepeat(dlg, kStepButtons);
    Refresh(dlg);
}

void Close(HWND dlg, INT_PTR result)
{
    UnregisterAutoRepeat(dlg);
    EndDialog(dlg, result);
}

void Accept(HWND dlg)
{
    SetValue(DesiredSettings, plenumManagerByte50, gByte);
    SendIfChanged(plenumManagerByte50);
    Close(dlg, IDOK);
}

INT_PTR OnCommand(HWND dlg, int id)
{
    switch (id) {
        case kPlenumSelectOnOff:
            gByte ^= plenumManagerOnBit.mask;
            Refresh(dlg);
            return TRUE;
        case kPlenumTimeIncrease: Step(dlg, plenumStepTimeBits, +1); return TRUE;
        case kPlenumTimeDecrease: Step(dlg, plenumStepTimeBits, -1); return TRUE;
        case kPlenumSizeIncrease: Step(dlg, plenumStepSizeBits, +1); return TRUE;
        case kPlenumSizeDecrease: Step(dlg, plenumStepSizeBits, -1); return TRUE;
        case kPlenumAccept: Accept(dlg); return TRUE;
        case kPlenumHelp:
            MessageBox(dlg, kHelpText, kPlenumManagerHelpCaption, MB_OKCANCEL);
            return TRUE;
        case kPlenumCancel:
        case IDCANCEL: Close(dlg, IDCANCEL); return TRUE;
    }
    return FALSE;  // the radio buttons only show the choice
}

INT_PTR PlenumManagerProc(HWND dlg, UINT msg, WPARAM wp, LPARAM)
{
    switch (msg) {
        case WM_INITDIALOG: OnOpen(dlg); return TRUE;
        case WM_COMMAND: return OnCommand(dlg, LOWORD(wp));
        case WM_DESTROY: UnregisterAutoRepeat(dlg); return FALSE;
    }
    return FALSE;
}

}  // namespace

const wchar_t* PlenumStepTimeText(int value)
{
    return kStepTimeText[static_cast<unsigned>(value) % kSettingValues];
}

const wchar_t* PlenumStepSizeText(int value)
{
    return kStepSizeText[static_cast<unsigned>(value) % kSettingValues];
}

INT_PTR OpenPlenumManager(HWND owner)
{
    static const std::array<DialogControl, kControlCount> kControls = BuildControls();
    DialogTemplate tmpl;
    tmpl.caption = kPlenumManagerTitle;
    tmpl.width = 572;
    tmpl.height = 330;
    tmpl.style = WS_POPUP | WS_CAPTION;
    tmpl.controls = kControls;
    return DialogBoxIndirectParam(Screens().instance, tmpl, owner, PlenumManagerProc, 0);
}
