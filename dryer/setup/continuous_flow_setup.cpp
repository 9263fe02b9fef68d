// "CONTINUOUS FLOW SETUP - 08": the moisture control scheme of a continuous-flow dryer
// (temperature or moisture regulation, and at how many speeds), auto centering and the five
// speed set-up, the maximum grain temperature safety limit and the upper moisture sensor.
// Working copies: moistureControlMode, optionByte224, unitsAndOptions and batchWord277.
#include <array>
#include <cstdio>

#include "dryer/link/dryer_image.h"
#include "dryer/link/pending_command.h"
#include "dryer/link/working_copy.h"
#include "dryer/screens/screen_manager.h"
#include "dryer/setup/bracketed_five_speed_setup.h"
#include "dryer/setup/drying_mode.h"
#include "dryer/setup/drying_mode_controls.h"
#include "dryer/setup/drying_mode_shared.h"
#include "platform/controls/controls.h"
#include "platform/windowing/dialog.h"

namespace {

constexpr const wchar_t* kHelpCaption = L"Select Drying Criteria Help";
constexpr const wchar_t* kHelpText =
    L"There are two different continuous flow moisture control\n"
    L"schemes that can be selected.\n"
    L"\n"
    L"TEMPERATURE: the dryer sets the unload speed from the grain\n"
    L"temperature, at 2 SPEED or 5 SPEED.\n"
    L"MOISTURE: the dryer sets the unload speed from the grain\n"
    L"moisture, at a VARIABLE speed or at 5 SPEED.\n"
    L"A scheme button takes effect at once.\n"
    L"\n"
    L"5 Speed Setup (five speed schemes only): AUTO CENTERING lets the\n"
    L"dryer re-center the five speeds by itself; 5 SPEED SETUP sets\n"
    L"the limits and speed steps.\n"
    L"\n"
    L"Safety Parameters: ENABLE puts the maximum grain temperature\n"
    L"in force, DISABLE takes it out. MAX GRAIN TEMP sets the limit\n"
    L"(100 to 200 F).\n"
    L"\n"
    L"Upper Moisture Sensor: SELECT switches it between ENABLED\n"
    L"and DISABLED.\n"
    L"\n"
    L"ACCEPT sends the other changes to the dryer and closes this screen.";

// The fields this dialog edits, taken as working copies when it opens and sent on ACCEPT.
constexpr std::array<ImageField, 4> kFlowFields{moistureControlMode, optionByte224, unitsAndOptions,
                                                batchWord277};

// Sets the scheme bits of the working moistureControlMode and sends it at once when it now
// differs from what the dryer reports; the other bits of the byte stay as they are.
void SetScheme(int scheme)
{
    SetBitsValue(DesiredSettings, moistureSchemeBits, scheme);
    SendIfChanged(moistureControlMode);
}

bool IsFlowScheme(int scheme)
{
    return scheme == kSchemeTemp || scheme == kSchemeTempFiveSpeed || scheme == kSchemeVariable ||
           scheme == kSchemeFiveSpeed;
}

void ShowScheme(HWND dlg)
{
    // A scheme this screen does not offer (none, three speeds, a batch value) becomes
    // temperature regulation at two speeds.
    if (!IsFlowScheme(BitsValue(DesiredSettings, moistureSchemeBits))) SetScheme(kSchemeTemp);
    const int scheme = BitsValue(DesiredSettings, moistureSchemeBits);
    const bool byTemperature = scheme == kSchemeTemp || scheme == kSchemeTempFiveSpeed;
    const bool fiveSpeed = scheme == kSchemeTempFiveSpeed || scheme == kSchemeFiveSpeed;
    ShowChecked(dlg, kFlowTemperatureIndicator, byTemperature);
    ShowChecked(dlg, kFlowMoistureIndicator, !byTemperature);
    ShowChecked(dlg, kFlowTempTwoSpeedIndicator, scheme == kSchemeTemp);
    ShowChecked(dlg, kFlowTempFiveSpeedIndicator, scheme == kSchemeTempFiveSpeed);
    ShowChecked(dlg, kFlowVariableIndicator, scheme == kSchemeVariable);
    ShowChecked(dlg, kFlowMoistureFiveSpeedIndicator, scheme == kSchemeFiveSpeed);
    EnableControls(dlg,
                   {kFlowTempGroup, kFlowTempTwoSpeedButton, kFlowTempFiveSpeedButton,
                    kFlowTempTwoSpeedIndicator, kFlowTempFiveSpeedIndicator},
                   byTemperature);
    EnableControls(dlg,
                   {kFlowMoistureGroup, kFlowVariableButton, kFlowMoistureFiveSpeedButton,
                    kFlowVariableIndicator, kFlowMoistureFiveSpeedIndicator},
                   !byTemperature);
    EnableControls(dlg,
                   {kFlowFiveSpeedGroup, kFlowAutoCenteringButton, kFlowAutoCenteringIndicator,
                    kFlowFiveSpeedSetupButton},
                   fiveSpeed);
}

void RefreshFlowSetup(HWND dlg)
{
    ShowScheme(dlg);
    ShowChecked(dlg, kFlowAutoCenteringIndicator, IsSet(DesiredSettings, centerAdjustBit));
    const bool sensorDisabled = IsSet(DesiredSettings, upperSensorDisabledBit);
    ShowChecked(dlg, kFlowSensorEnabledIndicator, !sensorDisabled);
    ShowChecked(dlg, kFlowSensorDisabledIndicator, sensorDisabled);
    const bool safety = IsSet(DesiredSettings, safetyEnabledBit);
    SetDlgItemText(dlg, kFlowSafetyButton, safety ? L"DISABLE" : L"ENABLE");
    EnableControls(dlg, {kFlowMaxGrainTempButton, kFlowMaxGrainTempValue}, safety);
    wchar_t text[16];
    std::swprintf(text, 16, L"%d F", Value(DesiredSettings, batchWord277));
    SetDlgItemText(dlg, kFlowMaxGrainTempValue, text);
}

// The safety button moves both bits together: the limit is in force exactly while the safety
// parameters are enabled.
void ToggleSafety()
{
    const bool enable = !IsSet(DesiredSettings, safetyEnabledBit);
    SetBits(DesiredSettings, safetyEnabledBit, enable);
    SetBits(DesiredSettings, maxGrainTempBit, enable);
}

void ToggleBits(ImageBits bits)
{
    SetBits(DesiredSettings, bits, !IsSet(DesiredSettings, bits));
}

void AcceptFlowSetup(HWND dlg)
{
    for (ImageField field : kFlowFields) SendIfChanged(field);
    CloseDryingModeChain(dlg);
}

INT_PTR OnFlowCommand(HWND dlg, int id)
{
    switch (id) {
        case kFlowTemperatureButton:
        case kFlowTempTwoSpeedButton: SetScheme(kSchemeTemp); break;
        case kFlowMoistureButton:
        case kFlowMoistureFiveSpeedButton: SetScheme(kSchemeFiveSpeed); break;
        case kFlowTempFiveSpeedButton: SetScheme(kSchemeTempFiveSpeed); break;
        case kFlowVariableButton: SetScheme(kSchemeVariable); break;
        case kFlowAutoCenteringButton: ToggleBits(centerAdjustBit); break;
        case kFlowSensorSelectButton: ToggleBits(upperSensorDisabledBit); break;
        case kFlowSafetyButton: ToggleSafety(); break;
        case kFlowMaxGrainTempButton: EditMaxGrainTemperature(dlg); break;
        case kFlowFiveSpeedSetupButton: OpenFiveSpeedSetup(dlg); break;
        case kFlowHelpButton:
            MessageBox(dlg, kHelpText, kHelpCaption, MB_OK | MB_ICONINFORMATION);
            return TRUE;
        case kFlowAcceptButton: AcceptFlowSetup(dlg); return TRUE;
        case IDCANCEL: EndDialog(dlg, IDCANCEL); return TRUE;
        default: return TRUE;  // the indicators only show the settings
    }
    RefreshFlowSetup(dlg);
    return TRUE;
}

INT_PTR ContinuousFlowSetupProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
        case WM_INITDIALOG:
            for (ImageField field : kFlowFields) TakeWorkingCopy(field);
            PlaceDryingModeDialog(dlg, reinterpret_cast<HWND>(lp));
            RefreshFlowSetup(dlg);
            return TRUE;
        case WM_COMMAND: return OnFlowCommand(dlg, LOWORD(wp));
    }
    return FALSE;
}

constexpr DWORD kPush = BS_PUSHBUTTON;
constexpr DWORD kRadio = BS_RADIOBUTTON;
constexpr DWORD kGroup = BS_GROUPBOX;

}  // namespace

INT_PTR OpenContinuousFlowSetup(HWND owner)
{
    static constexpr auto kControls = std::to_array<DialogControl>({
        // the scheme and its options (left)
        {WC_BUTTON, L"TEMPERATURE", kFlowTemperatureButton, 15, 10, 150, 40, kPush, 0},
        {WC_BUTTON, L"", kFlowTemperatureIndicator, 175, 20, 20, 20, kRadio, 0},
        {WC_BUTTON, L"Temp Based Options", kFlowTempGroup, 10, 56, 290, 72, kGroup, 0},
        {WC_BUTTON, L"2 SPEED", kFlowTempTwoSpeedButton, 22, 79, 105, 38, kPush, 0},
        {WC_BUTTON, L"", kFlowTempTwoSpeedIndicator, 132, 88, 20, 20, kRadio, 0},
        {WC_BUTTON, L"5 SPEED", kFlowTempFiveSpeedButton, 162, 79, 105, 38, kPush, 0},
        {WC_BUTTON, L"", kFlowTempFiveSpeedIndicator, 272, 88, 20, 20, kRadio, 0},
        {WC_BUTTON, L"MOISTURE", kFlowMoistureButton, 15, 140, 150, 40, kPush, 0},
        {WC_BUTTON, L"", kFlowMoistureIndicator, 175, 150, 20, 20, kRadio, 0},
        {WC_BUTTON, L"Moisture Based Options", kFlowMoistureGroup, 10, 186, 290, 72, kGroup, 0},
        {WC_BUTTON, L"VARIABLE", kFlowVariableButton, 22, 209, 105, 38, kPush, 0},
        {WC_BUTTON, L"", kFlowVariableIndicator, 132, 218, 20, 20, kRadio, 0},
        {WC_BUTTON, L"5 SPEED", kFlowMoistureFiveSpeedButton, 162, 209, 105, 38, kPush, 0},
        {WC_BUTTON, L"", kFlowMoistureFiveSpeedIndicator, 272, 218, 20, 20, kRadio, 0},
        // safety, upper sensor and five speed set-up (right)
        {WC_BUTTON, L"Safety Parameters", kFlowSafetyGroup, 315, 4, 293, 110, kGroup, 0},
        {WC_BUTTON, L"DISABLE", kFlowSafetyButton, 327, 26, 140, 36, kPush, 0},
        {WC_BUTTON, L"MAX GRAIN TEMP", kFlowMaxGrainTempButton, 327, 68, 140, 36, kPush, 0},
        {WC_STATIC, L"", kFlowMaxGrainTempValue, 477, 76, 110, 20, SS_LEFT, 0},
        {WC_BUTTON, L"Upper Moisture Sensor", kFlowSensorGroup, 315, 120, 293, 86, kGroup, 0},
        {WC_BUTTON, L"SELECT", kFlowSensorSelectButton, 327, 144, 140, 36, kPush, 0},
        {WC_BUTTON, L"ENABLED", kFlowSensorEnabledIndicator, 477, 141, 110, 20, kRadio, 0},
        {WC_BUTTON, L"DISABLED", kFlowSensorDisabledIndicator, 477, 165, 110, 20, kRadio, 0},
        {WC_BUTTON, L"5 Speed Setup", kFlowFiveSpeedGroup, 315, 212, 293, 126, kGroup, 0},
        {WC_BUTTON, L"AUTO CENTERING", kFlowAutoCenteringButton, 327, 236, 140, 36, kPush, 0},
        {WC_BUTTON, L"ENABLED", kFlowAutoCenteringIndicator, 477, 244, 110, 20, kRadio, 0},
        {WC_BUTTON, L"5 SPEED SETUP", kFlowFiveSpeedSetupButton, 327, 288, 140, 36, kPush, 0},
        // leaving
        {WC_BUTTON, L"ACCEPT", kFlowAcceptButton, 15, 280, 135, 50, kPush, 0},
        {WC_BUTTON, L"HELP", kFlowHelpButton, 165, 280, 135, 50, kPush, 0},
    });
    DialogTemplate tmpl;
    tmpl.caption = kContinuousFlowSetupTitle;
    tmpl.width = 620;
    tmpl.height = 370;
    tmpl.style = WS_POPUP | WS_CAPTION;
    tmpl.controls = kControls;
    return DialogBoxIndirectParam(Screens().instance, tmpl, owner, ContinuousFlowSetupProc,
                                  reinterpret_cast<LPARAM>(owner));
}
