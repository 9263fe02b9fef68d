// "System Diagnostics - 14": airswitch testing of the Fan/Heaters present, who sets the metering
// roll speed (this screen or the knob on the panel), the metering rolls sensor failure shutdown,
// and the doors to the wiring checks, the meter roll output set-up and the sensor calibration.
// Unlike the other set-up screens every answer goes to the dryer at once.
#include "dryer/setup/system_diagnostics.h"

#include <array>

#include "dryer/link/link_state.h"
#include "dryer/link/pending_command.h"
#include "dryer/link/repaint_routes.h"
#include "dryer/link/working_copy.h"
#include "dryer/screens/home_panels.h"
#include "dryer/screens/screen_manager.h"
#include "dryer/setup/meter_roll_output_dialog.h"
#include "dryer/setup/moisture_sensor_calibration.h"
#include "platform/controls/controls.h"
#include "platform/windowing/dialog.h"

namespace {

constexpr const wchar_t* kAirswitchCaption = L" AIRSWITCH TESTING - DIAGNOSTIC PURPOSES ONLY!";
constexpr const wchar_t* kEnableQuestion = L"Do you wish to ENABLE airswitch testing?";
constexpr const wchar_t* kRecyclePowerText =
    L"You must recycle power to enable the Disable Airswitch option.";
constexpr const wchar_t* kDisableQuestion = L"Do you wish to DISABLE airswitch testing?";
constexpr const wchar_t* kDisableConfirmCaption = L" AIRSWITCH TESTING DISABLE CONFIRMATION";
constexpr const wchar_t* kDisableConfirmText =
    L"Pressing YES will DISABLE all airswitch testing!  Proceed?";

constexpr const wchar_t* kViaKnobCaption = L" SET METERING SPEED VIA KNOB (ENCODER)?";
constexpr const wchar_t* kViaKnobQuestion =
    L"Do you wish to set metering speed using knob on \t\t\t\t\t\t\t\t\t\tlocated on front panel?";
constexpr const wchar_t* kViaDisplayCaption = L" SET METERING SPEED VIA DISPLAY?";
constexpr const wchar_t* kViaDisplayQuestion =
    L"Do you wish to set metering speed using touch screen?  Selecting \t\t\t\t\t\t\t\t\t\tyes "
    L"will disable meterin roll speed adjust knob on panel.";

constexpr const wchar_t* kSensorOnCaption = L" ENABLE METERING ROLLS SENSOR?";
constexpr const wchar_t* kSensorOnQuestion = L"Do you wish to ENABLE the unload metering sensor?";
constexpr const wchar_t* kSensorOffCaption = L" DISABLE THE METERING ROLLS SENSOR?";
constexpr const wchar_t* kSensorOffQuestion =
    L"Do you wish to DISABLE the unload metering sensor failure shutdown?\t\t\t\t\t\t\t\tRPM / "
    L"BPH measurements will always read as zero.";

constexpr const wchar_t* kHelpCaption = L"EXIT - Exits this screen";
constexpr const wchar_t* kHelpText =
    L"Each Button is described below\n\n"
    L"DISABLE / ENABLE Testing - Turns the airswitch test of every\nFan/Heater off or back on.\n"
    L"Set MR Speed Via Screen - Chooses whether the metering roll\nspeed is set on this screen "
    L"or with the knob on the panel.\n"
    L"Metering Rolls Sensor - Turns the metering rolls sensor\nfailure shutdown off or back on.\n"
    L"Check Light Outputs - Shows the light outputs of the panel.\n"
    L"Check Switch Wiring - Shows the switches of the panel.\n"
    L"Setup Metering Rolls - Sets the meter rolls output voltage.\n"
    L"Calibrate Moisture Sensors - Calibrates the moisture sensors.";

constexpr const wchar_t* kDisableTestingText = L"DISABLE Testing";
constexpr const wchar_t* kEnableTestingText = L"ENABLE Testing";

HWND gDiagnostics = nullptr;  // the open screen, repainted by the decoder

// ---- airswitch testing ----

int PresentHeaters()
{
    return PresentHeaterCount(Value(DryerImage, heaterCountCode));
}

// True when some byte of the image, present Fan/Heater or not, reports testing off.
bool AnyAirswitchTestOff()
{
    for (int heater = 1; heater <= kMaxHeaters; ++heater) {
        if (IsSet(DryerImage, ForHeater(airswitchTestOffBit, heater))) return true;
    }
    return false;
}

// True when a present Fan/Heater is to run without the test (its working copy says so).
bool PresentHeaterTestOff()
{
    const int present = PresentHeaters();
    for (int heater = 1; heater <= present; ++heater) {
        if (IsSet(DesiredSettings, ForHeater(airswitchTestOffBit, heater))) return true;
    }
    return false;
}

// Turns the test on or off for every Fan/Heater present and sends each of their bytes.
void SetAirswitchTestOff(bool off)
{
    const int present = PresentHeaters();
    for (int heater = 1; heater <= present; ++heater) {
        SetBits(DesiredSettings, ForHeater(airswitchTestOffBit, heater), off);
        PendingCommand.Set(ForHeater(heaterControlBits, heater).pending);
    }
}

// The dryer has been powered up again since the test was turned off (148 bit 3 set while 118
// bit 5 no longer reports it): testing comes back on by itself.
bool TestReturnsAfterPowerCycle()
{
    return IsSet(DryerImage, airswitchPowerCycleBit) && !IsSet(DryerImage, airswitchDisabledBit);
}

void ShowAirswitchState(HWND dlg)
{
    bool off = false;
    if (AnyAirswitchTestOff()) {
        if (TestReturnsAfterPowerCycle()) {
            SetAirswitchTestOff(false);
        } else {
            off = true;
        }
    }
    SetDlgItemText(dlg, kDiagAirswitchButton, off ? kEnableTestingText : kDisableTestingText);
    CheckDlgButton(dlg, kDiagAirswitchDisabledBox, off ? BST_CHECKED : BST_UNCHECKED);
}

bool AnsweredYes(HWND dlg, const wchar_t* text, const wchar_t* caption, UINT icon)
{
    return MessageBox(dlg, text, caption, MB_YESNOCANCEL | icon) == IDYES;
}

void OnAirswitchButton(HWND dlg)
{
    if (PresentHeaterTestOff()) {
        if (AnsweredYes(dlg, kEnableQuestion, kAirswitchCaption, MB_ICONQUESTION)) {
            SetAirswitchTestOff(false);
        }
    } else if (IsSet(DryerImage, airswitchPowerCycleBit)) {
        MessageBox(dlg, kRecyclePowerText, kAirswitchCaption, MB_OK | MB_ICONEXCLAMATION);
        return;
    } else if (AnsweredYes(dlg, kDisableQuestion, kAirswitchCaption, MB_ICONEXCLAMATION) &&
               AnsweredYes(dlg, kDisableConfirmText, kDisableConfirmCaption, MB_ICONEXCLAMATION)) {
        SetAirswitchTestOff(true);
    }
    InvalidateRect(dlg, nullptr, FALSE);
}

// ---- metering ----

void OnMeteringSourceButton(HWND dlg)
{
    if (MeteringByDisplay.load() != 0) {
        if (AnsweredYes(dlg, kViaKnobQuestion, kViaKnobCaption, MB_ICONQUESTION)) {
            MeteringByDisplay.store(0);
        }
    } else if (AnsweredYes(dlg, kViaDisplayQuestion, kViaDisplayCaption, MB_ICONQUESTION)) {
        MeteringByDisplay.store(1);
    }
}

void OnMeteringSensorButton(HWND dlg)
{
    const bool disabled = IsSet(DesiredSettings, meterRollsDisabledBit);
    const wchar_t* text = disabled ? kSensorOnQuestion : kSensorOffQuestion;
    const wchar_t* caption = disabled ? kSensorOnCaption : kSensorOffCaption;
    if (!AnsweredYes(dlg, text, caption, MB_ICONQUESTION)) return;
    SetBits(DesiredSettings, meterRollsDisabledBit, !disabled);
    PendingCommand.Set(optionByte49.pending);
}

// ---- the dialog ----

constexpr int kLeft = 12;
constexpr int kColumn2 = 322;
constexpr int kButtonWidth = 296;
constexpr int kButtonHeight = 44;
constexpr int kRowStep = 56;

constexpr std::array<DialogControl, 11> kControls{{
    {WC_BUTTON, L"Airswitch Testing", kDiagAirswitchFrame, kLeft, 8, 606, 84, BS_GROUPBOX, 0},
    {WC_BUTTON, kDisableTestingText, kDiagAirswitchButton, kLeft + 12, 32, 270, kButtonHeight,
     BS_PUSHBUTTON, 0},
    {WC_BUTTON, L"Air Switch Testing Disabled", kDiagAirswitchDisabledBox, kColumn2 + 12, 40, 270,
     28, BS_CHECKBOX, 0},
    {WC_BUTTON, L"Set MR Speed Via Screen", kDiagMeteringSourceButton, kLeft, 104, kButtonWidth,
     kButtonHeight, BS_PUSHBUTTON, 0},
    {WC_BUTTON, L"Metering Rolls Sensor", kDiagMeteringSensorButton, kColumn2, 104, kButtonWidth,
     kButtonHeight, BS_PUSHBUTTON, 0},
    {WC_BUTTON, L"Check Light Outputs", kDiagLightOutputsButton, kLeft, 104 + kRowStep,
     kButtonWidth, kButtonHeight, BS_PUSHBUTTON, 0},
    {WC_BUTTON, L"Check Switch Wiring", kDiagSwitchWiringButton, kColumn2, 104 + kRowStep,
     kButtonWidth, kButtonHeight, BS_PUSHBUTTON, 0},
    {WC_BUTTON, L"Setup Metering Rolls", kDiagMeterRollsButton, kLeft, 104 + 2 * kRowStep,
     kButtonWidth, kButtonHeight, BS_PUSHBUTTON, 0},
    {WC_BUTTON, L"Calibrate Moisture Sensors", kDiagCalibrationButton, kColumn2, 104 + 2 * kRowStep,
     kButtonWidth, kButtonHeight, BS_PUSHBUTTON, 0},
    {WC_BUTTON, L"Help", kDiagHelpButton, kLeft, 104 + 3 * kRowStep + 12, kButtonWidth,
     kButtonHeight, BS_PUSHBUTTON, 0},
    {WC_BUTTON, L"Exit", IDOK, kColumn2, 104 + 3 * kRowStep + 12, kButtonWidth, kButtonHeight,
     BS_PUSHBUTTON, 0},
}};

void OnOpen(HWND dlg)
{
    gDiagnostics = dlg;
    SetRepaintWindow(RepaintTarget::airswitchTestScreen, dlg);
    TakeWorkingCopy(optionByte49);
    TakeWorkingCopy(heaterControlBits);
    ShowAirswitchState(dlg);
}

void Close(HWND dlg, INT_PTR result)
{
    SetRepaintWindow(RepaintTarget::airswitchTestScreen, nullptr);
    gDiagnostics = nullptr;
    EndDialog(dlg, result);
}

INT_PTR OnCommand(HWND dlg, int id)
{
    switch (id) {
        case kDiagAirswitchButton: OnAirswitchButton(dlg); return TRUE;
        case kDiagMeteringSourceButton: OnMeteringSourceButton(dlg); return TRUE;
        case kDiagMeteringSensorButton: OnMeteringSensorButton(dlg); return TRUE;
        case kDiagLightOutputsButton: OpenLightOutputs(dlg); return TRUE;
        case kDiagSwitchWiringButton: OpenSwitchTest(dlg); return TRUE;
        case kDiagMeterRollsButton: OpenMeterRollOutput(dlg); return TRUE;
        case kDiagCalibrationButton: OpenMoistureSensorCalibration(dlg); return TRUE;
        case kDiagHelpButton: MessageBox(dlg, kHelpText, kHelpCaption, MB_OK); return TRUE;
        case IDOK:
        case IDCANCEL: Close(dlg, IDOK); return TRUE;
    }
    return FALSE;
}

INT_PTR SystemDiagnosticsProc(HWND dlg, UINT msg, WPARAM wp, LPARAM)
{
    switch (msg) {
        case WM_INITDIALOG: OnOpen(dlg); return TRUE;
        // Every repaint (the decoder asks for one when 101-106 change) reads the image anew;
        // the dialog then paints its face as usual.
        case WM_PAINT: ShowAirswitchState(dlg); return FALSE;
        case WM_COMMAND: return OnCommand(dlg, LOWORD(wp));
    }
    return FALSE;
}

}  // namespace

int PresentHeaterCount(int code)
{
    if (code < 0 || code > 0xFF) return 0;
    home_panels::PanelImage image{};
    SetValue(image, heaterCountCode, code);
    return home_panels::HeaterCount(image);
}

INT_PTR OpenSystemDiagnostics(HWND owner)
{
    DialogTemplate tmpl;
    tmpl.caption = kSystemDiagnosticsTitle;
    tmpl.width = 630;
    tmpl.height = 380;
    tmpl.style = WS_POPUP | WS_CAPTION | DS_CENTER;
    tmpl.controls = kControls;
    return DialogBoxIndirectParam(Screens().instance, tmpl, owner, SystemDiagnosticsProc, 0);
}
