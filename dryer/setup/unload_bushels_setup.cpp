// " UNLOAD BUSHELS SETUP SCREEN - 17": UP and DOWN step the bushels-per-hour calibration factor
// within 50 to 150 % (a held button repeats through the 100 ms tick) and ACCEPT sends it when it
// differs from what the dryer reports. CLEAR asks before it zeroes the total bushels: the reset
// request (bushelResetBit) goes at once, and the answer decoder keeps it on its way until the
// dryer reports a zero counter.
#include "dryer/setup/unload_bushels_setup.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <iterator>

#include "dryer/link/dryer_image.h"
#include "dryer/link/pending_command.h"
#include "dryer/link/repaint_routes.h"
#include "dryer/link/working_copy.h"
#include "dryer/screens/auto_repeat.h"
#include "dryer/screens/screen_manager.h"
#include "platform/controls/controls.h"
#include "platform/windowing/dialog.h"

namespace {

constexpr const wchar_t* kHelpText =
    L"Touching the BPH Calibration button will\ndisplay the Unload Bushels Setup screen.\n\n"
    L"UP and DOWN set the calibration factor\n(50 to 150 %) so that the bushels counted\n"
    L"match the bushels delivered.\n\nCLEAR sets the total bushels back to zero.";

constexpr std::array<int, 2> kStepButtons{kBushelsFactorUp, kBushelsFactorDown};

constexpr unsigned kCounterPerBushel = 3600;  // the counter holds bushels x 3600

// ---- layout ----
// The factor's frame on the left, the total's on the right; HELP and ACCEPT below.
constexpr int kFrameX[2] = {10, 270};
constexpr int kFrameTop = 8;
constexpr int kFrameWidth = 250;
constexpr int kFrameHeight = 140;
constexpr int kFieldTop = kFrameTop + 34;
constexpr int kFieldHeight = 30;
constexpr int kButtonTop = 160;
constexpr int kButtonWidth = 180;
constexpr int kButtonHeight = 46;

constexpr std::array<DialogControl, 9> kControls{{
    {WC_BUTTON, L"BPH CALIBRATION", kBushelsFactorFrame, kFrameX[0], kFrameTop, kFrameWidth,
     kFrameHeight, BS_GROUPBOX, 0},
    {WC_STATIC, L"", kBushelsFactor, kFrameX[0] + 45, kFieldTop, 160, kFieldHeight,
     SS_CENTER | WS_BORDER, 0},
    {WC_BUTTON, L"UP", kBushelsFactorUp, kFrameX[0] + 14, kFieldTop + 46, 106, 46, BS_PUSHBUTTON,
     0},
    {WC_BUTTON, L"DOWN", kBushelsFactorDown, kFrameX[0] + 130, kFieldTop + 46, 106, 46,
     BS_PUSHBUTTON, 0},
    {WC_BUTTON, L"TOTAL BUSHELS", kBushelsTotalFrame, kFrameX[1], kFrameTop, kFrameWidth,
     kFrameHeight, BS_GROUPBOX, 0},
    {WC_STATIC, L"", kBushelsTotal, kFrameX[1] + 25, kFieldTop, 200, kFieldHeight,
     SS_CENTER | WS_BORDER, 0},
    {WC_BUTTON, L"CLEAR", kBushelsClear, kFrameX[1] + 35, kFieldTop + 46, 180, 46, BS_PUSHBUTTON,
     0},
    {WC_BUTTON, L"HELP", kBushelsHelp, kFrameX[0], kButtonTop, kButtonWidth, kButtonHeight,
     BS_PUSHBUTTON, 0},
    {WC_BUTTON, L"ACCEPT", IDOK, kFrameX[1] + kFrameWidth - kButtonWidth, kButtonTop, kButtonWidth,
     kButtonHeight, BS_PUSHBUTTON, 0},
}};

// ---- what the screen shows ----

void ShowFactor(HWND dlg)
{
    wchar_t text[24];
    std::swprintf(text, std::size(text), L"  %d %%", Value(DesiredSettings, bphCalibration));
    SetDlgItemText(dlg, kBushelsFactor, text);
}

// The total as the dryer counts it; the decoder repaints the screen when the counter changes.
void ShowTotal(HWND dlg)
{
    wchar_t text[24];
    std::swprintf(
        text, std::size(text), L" %u",
        static_cast<unsigned>(ReadCounter(DryerImage, bushelCounter) / kCounterPerBushel));
    SetDlgItemText(dlg, kBushelsTotal, text);
}

// ---- the buttons ----

void Step(HWND dlg, int by)
{
    const int factor = std::clamp(Value(DesiredSettings, bphCalibration) + by,
                                  kBphCalibrationLowest, kBphCalibrationHighest);
    SetValue(DesiredSettings, bphCalibration, factor);
    ShowFactor(dlg);
}

// The reset request goes in the option byte as the dryer reports it (or as it is already on
// its way), with the reset bit set.
void AskToZeroTotal(HWND dlg)
{
    if (MessageBox(dlg, kZeroBushelsQuestion, kBushelCounterCaption,
                   MB_YESNOCANCEL | MB_ICONQUESTION) != IDYES) {
        return;
    }
    TakeWorkingCopy(optionByte238);
    SetBits(DesiredSettings, bushelResetBit, true);
    PendingCommand.Set(optionByte238.pending);
}

void OnOpen(HWND dlg)
{
    TakeWorkingCopy(bphCalibration);
    ShowFactor(dlg);
    ShowTotal(dlg);
    SetRepaintWindow(RepaintTarget::bushelCounterScreen, dlg);
    RegisterAutoRepeat(dlg, kStepButtons);
}

void Close(HWND dlg, INT_PTR result)
{
    UnregisterAutoRepeat(dlg);
    SetRepaintWindow(RepaintTarget::bushelCounterScreen, nullptr);
    EndDialog(dlg, result);
}

void Accept(HWND dlg)
{
    SendIfChanged(bphCalibration);
    Close(dlg, IDOK);
}

INT_PTR OnCommand(HWND dlg, int id)
{
    switch (id) {
        case kBushelsFactorUp: Step(dlg, +1); return TRUE;
        case kBushelsFactorDown: Step(dlg, -1); return TRUE;
        case kBushelsClear: AskToZeroTotal(dlg); return TRUE;
        case kBushelsHelp:
            MessageBox(dlg, kHelpText, kBphCalibrationHelpCaption, MB_OK);
            return TRUE;
        case IDOK: Accept(dlg); return TRUE;
        case IDCANCEL: Close(dlg, IDCANCEL); return TRUE;
    }
    return FALSE;
}

INT_PTR UnloadBushelsSetupProc(HWND dlg, UINT msg, WPARAM wp, LPARAM)
{
    switch (msg) {
        case WM_INITDIALOG: OnOpen(dlg); return TRUE;
        case WM_PAINT: ShowTotal(dlg); return FALSE;
        case WM_COMMAND: return OnCommand(dlg, LOWORD(wp));
        case WM_DESTROY:
            UnregisterAutoRepeat(dlg);
            SetRepaintWindow(RepaintTarget::bushelCounterScreen, nullptr);
            return FALSE;
    }
    return FALSE;
}

}  // namespace

INT_PTR OpenUnloadBushelsSetup(HWND owner)
{
    DialogTemplate tmpl;
    tmpl.caption = kUnloadBushelsSetupTitle;
    tmpl.width = 530;
    tmpl.height = 250;
    tmpl.style = WS_POPUP | WS_CAPTION | DS_CENTER;
    tmpl.controls = kControls;
    return DialogBoxIndirectParam(Screens().instance, tmpl, owner, UnloadBushelsSetupProc, 0);
}
