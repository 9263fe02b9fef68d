// "STAGED BATCH SETUP - 09": when a batch is dry (TIME, TEMPERATURE, both, or MOISTURE), the
// safety limits (maximum drying time, maximum grain temperature), single or dual plenum, and
// the heat of moisture drying. Working copies: dryerOptions (the criteria byte),
// moistureControlMode, optionByte224, unitsAndOptions, batchTimePair and batchWord277.
#include <array>
#include <cstdio>

#include "dryer/link/dryer_image.h"
#include "dryer/link/pending_command.h"
#include "dryer/link/working_copy.h"
#include "dryer/screens/screen_manager.h"
#include "dryer/setup/drying_mode.h"
#include "dryer/setup/drying_mode_controls.h"
#include "dryer/setup/drying_mode_shared.h"
#include "dryer/setup/timer_keypad.h"
#include "platform/controls/controls.h"
#include "platform/windowing/dialog.h"

namespace {

constexpr const wchar_t* kDualRefusedText =
    L"Dual-Plenum Temperature Mode is only available on single fan/heater models.";
constexpr const wchar_t* kDualRefusedCaption = L"INVALID SELECTION";
constexpr const wchar_t* kNoCriterionCaption = L"Select Drying Criteria Help";
constexpr const wchar_t* kNoCriterionText =
    L"You must select a Staged Batch Drying Criteria.  You must select\n"
    L"TIME and/or TEMPERATURE, or MOISTURE.\n"
    L"\n"
    L"Press OK, select a drying criterion, then press ACCEPT again.";
constexpr const wchar_t* kHelpCaption = L"Available Drying Modes Described";
constexpr const wchar_t* kHelpText =
    L"The following is a description of the function of each button.\n"
    L"\n"
    L"TIME: drying is complete when the dry timer(s) expire.\n"
    L"TEMPERATURE: drying is complete when the grain temperature\n"
    L"reaches its setpoint. With TIME and TEMPERATURE both selected,\n"
    L"both must be met.\n"
    L"MOISTURE: the batch is dried under automatic moisture control.\n"
    L"\n"
    L"DISABLE / ENABLE: takes the safety limits out of force or puts\n"
    L"them in force. MAX TIME (up to 255:00) limits the drying time\n"
    L"with TEMPERATURE; MAX GRAIN TEMP (100 to 200 F) limits the\n"
    L"grain temperature with TIME or MOISTURE.\n"
    L"\n"
    L"SINGLE / DUAL *: one plenum temperature, or a hi-heat and a\n"
    L"lo-heat stage with dry timers of their own. Dual plenum is only\n"
    L"available on single fan/heater dryers.\n"
    L"\n"
    L"FULL, 1/3 - 2/3, 1/2 - 1/2: the heat used for MOISTURE drying.\n"
    L"\n"
    L"ACCEPT sends the settings to the dryer and closes this screen.";

// The description line under the criteria.
constexpr const wchar_t* kTimeAndTemp = L"Time and Temp must both be met for drying to be complete";
constexpr const wchar_t* kTempAlone = L"Temperature setpoint must be met for drying to be complete";
constexpr const wchar_t* kTimeAlone = L"Time must be met for drying to be complete";
constexpr const wchar_t* kMoistureCriterion = L"Batch Moisture Control";
constexpr const wchar_t* kNoCriterion = L"Please Select Drying Criteria!";

// The maximum drying time, as the minutes-and-seconds keypad takes it.
constexpr MinSec kMaxTimeMinimum{0, 0};
constexpr MinSec kMaxTimeMaximum{255, 0};
constexpr MinSec kMaxTimeDefault{255, 0};

// The fields sent on ACCEPT; moistureControlMode is a working copy too, sent at once by the
// criteria buttons.
constexpr std::array<ImageField, 5> kBatchFields{dryerOptions, optionByte224, unitsAndOptions,
                                                 batchTimePair, batchWord277};

// True while the working copy has the bits set.
bool Selected(ImageBits bits)
{
    return IsSet(DesiredSettings, bits);
}

bool SafetyEnabled()
{
    return IsSet(DesiredSettings, safetyEnabledBit);
}

// Dual plenum needs a single fan/heater.
bool SingleFanDryer()
{
    return Value(DryerImage, heaterCountCode) == 0;
}

void OpenBatchSetup()
{
    TakeWorkingCopy(moistureControlMode);
    for (ImageField field : kBatchFields) TakeWorkingCopy(field);
}

// Dual plenum is dropped where it cannot run: with loading in the first half of a batch, and
// on a dryer with more than one fan/heater while the temperature-based options are offered.
void DropImpossibleDualPlenum()
{
    if (Selected(firstHalfLoadBit) && CurrentValue(dryingType) == kBatchDrying) {
        SetBits(DesiredSettings, dualHeatBit, false);
    }
    if (!Selected(criterionMoistureBit) && !SingleFanDryer()) {
        SetBits(DesiredSettings, dualHeatBit, false);
    }
}

const wchar_t* Description()
{
    const bool time = Selected(criterionTimeBit);
    const bool temp = Selected(criterionTempBit);
    if (time && temp) return kTimeAndTemp;
    if (temp) return kTempAlone;
    if (time) return kTimeAlone;
    if (Selected(criterionMoistureBit)) return kMoistureCriterion;
    return kNoCriterion;
}

void ShowCriteria(HWND dlg)
{
    const bool moisture = Selected(criterionMoistureBit);
    ShowChecked(dlg, kBatchTimeIndicator, Selected(criterionTimeBit));
    ShowChecked(dlg, kBatchTemperatureIndicator, Selected(criterionTempBit));
    ShowChecked(dlg, kBatchMoistureIndicator, moisture);
    EnableControls(dlg,
                   {kBatchTempGroup, kBatchSingleButton, kBatchDualButton, kBatchSingleIndicator,
                    kBatchDualIndicator, kBatchDualNote1, kBatchDualNote2},
                   !moisture);
    EnableControls(
        dlg,
        {kBatchMoistureGroup, kBatchFullHeatButton, kBatchTwoThirdsButton, kBatchHalfButton,
         kBatchFullHeatIndicator, kBatchTwoThirdsIndicator, kBatchHalfIndicator},
        moisture);
    SetDlgItemText(dlg, kBatchDescription, Description());
}

void ShowSafety(HWND dlg)
{
    const bool safety = SafetyEnabled();
    const bool grainLimit =
        safety && (Selected(criterionTimeBit) || Selected(criterionMoistureBit));
    const bool timeLimit = safety && Selected(criterionTempBit);
    SetDlgItemText(dlg, kBatchSafetyButton, safety ? L"DISABLE" : L"ENABLE");
    EnableControls(dlg, {kBatchMaxGrainTempButton, kBatchMaxGrainTempValue}, grainLimit);
    EnableControls(dlg, {kBatchMaxTimeButton, kBatchMaxTimeValue}, timeLimit);
    wchar_t text[16];
    const MinSec maxTime = ReadTime(DesiredSettings, batchTimePair);
    std::swprintf(text, 16, L"%03d:%02d", maxTime.minutes, maxTime.seconds);
    SetDlgItemText(dlg, kBatchMaxTimeValue, text);
    std::swprintf(text, 16, L"%d F", Value(DesiredSettings, batchWord277));
    SetDlgItemText(dlg, kBatchMaxGrainTempValue, text);
}

void RefreshBatchSetup(HWND dlg)
{
    DropImpossibleDualPlenum();
    const bool dual = Selected(dualHeatBit) && SingleFanDryer();
    ShowChecked(dlg, kBatchSingleIndicator, !dual);
    ShowChecked(dlg, kBatchDualIndicator, dual);
    ShowChecked(dlg, kBatchFullHeatIndicator, Selected(fullHeatBit));
    ShowChecked(dlg, kBatchTwoThirdsIndicator, Selected(twoThirdsHeatBit));
    ShowChecked(dlg, kBatchHalfIndicator, Selected(halfHeatBit));
    ShowCriteria(dlg);
    ShowSafety(dlg);
}

// After TIME or TEMPERATURE: the batch dries by time or temperature, and bit 7 says whether a
// setpoint (the grain temperature) must be reached. Sent at once when it changed.
void CriterionChanged()
{
    SetBitsValue(DesiredSettings, moistureSchemeBits, kSchemeBatchTimeOrTemp);
    SetBits(DesiredSettings, batchSetpointCriterionBit, Selected(criterionTempBit));
    SendIfChanged(moistureControlMode);
}

void ToggleTime()
{
    const bool on = !Selected(criterionTimeBit);
    SetBits(DesiredSettings, criterionTimeBit, on);
    if (!on) {
        SetBits(DesiredSettings, maxGrainTempBit, false);
    } else if (SafetyEnabled()) {
        SetBits(DesiredSettings, maxGrainTempBit, true);
    }
    SetBits(DesiredSettings, criterionMoistureBit, false);
    CriterionChanged();
}

void ToggleTemperature()
{
    if (Selected(criterionMoistureBit)) SetBits(DesiredSettings, maxGrainTempBit, false);
    const bool on = !Selected(criterionTempBit);
    SetBits(DesiredSettings, criterionTempBit, on);
    if (!on) {
        SetBits(DesiredSettings, maxDryTimeBit, false);
    } else if (SafetyEnabled()) {
        SetBits(DesiredSettings, maxDryTimeBit, true);
    }
    SetBits(DesiredSettings, criterionMoistureBit, false);
    CriterionChanged();
}

void ChooseHeat(ImageBits heat)
{
    SetBits(DesiredSettings, heatChoiceBits, false);
    SetBits(DesiredSettings, heat, true);
    SendIfChanged(optionByte224);
}

// MOISTURE is a criterion on its own, dried at full heat; the maximum drying time stays in
// force and the maximum grain temperature follows the safety parameters.
void ChooseMoisture()
{
    SetBits(DesiredSettings, criterionMoistureBit, true);
    for (ImageBits bits : {dualHeatBit, criterionTimeBit, criterionTempBit}) {
        SetBits(DesiredSettings, bits, false);
    }
    SetBits(DesiredSettings, maxDryTimeBit, true);
    SetBits(DesiredSettings, maxGrainTempBit, SafetyEnabled());
    SetBitsValue(DesiredSettings, moistureSchemeBits, kSchemeBatchMoisture);
    SetBits(DesiredSettings, batchSetpointCriterionBit, true);
    SendIfChanged(moistureControlMode);
    ChooseHeat(fullHeatBit);
}

void ChooseDualPlenum(HWND dlg)
{
    if (!SingleFanDryer()) {
        MessageBox(dlg, kDualRefusedText, kDualRefusedCaption, MB_RETRYCANCEL | MB_ICONINFORMATION);
        SetBits(DesiredSettings, dualHeatBit, false);
        return;
    }
    SetBits(DesiredSettings, dualHeatBit, true);
}

// Disabling keeps which limits are in force for the next enabling; enabling puts in force the
// limits of the selected criteria.
void ToggleSafety()
{
    if (SafetyEnabled()) {
        SetBits(DesiredSettings, safetyEnabledBit, false);
        return;
    }
    SetBits(DesiredSettings, safetyEnabledBit, true);
    SetBits(DesiredSettings, maxGrainTempBit,
            Selected(criterionTimeBit) || Selected(criterionMoistureBit));
    SetBits(DesiredSettings, maxDryTimeBit, Selected(criterionTempBit));
}

void EditMaxTime(HWND dlg)
{
    OpenTimerKeypad(dlg,
                    TimerSetting{batchTimePair, kMaxTimeMinimum, kMaxTimeMaximum, kMaxTimeDefault});
}

void AcceptBatchSetup(HWND dlg)
{
    if (!IsSet(DesiredSettings, batchCriteriaBits)) {
        MessageBox(dlg, kNoCriterionText, kNoCriterionCaption, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    for (ImageField field : kBatchFields) SendIfChanged(field);
    CloseDryingModeChain(dlg);
}

INT_PTR OnBatchCommand(HWND dlg, int id)
{
    switch (id) {
        case kBatchTimeButton: ToggleTime(); break;
        case kBatchTemperatureButton: ToggleTemperature(); break;
        case kBatchMoistureButton: ChooseMoisture(); break;
        case kBatchSingleButton: SetBits(DesiredSettings, dualHeatBit, false); break;
        case kBatchDualButton: ChooseDualPlenum(dlg); break;
        case kBatchFullHeatButton: ChooseHeat(fullHeatBit); break;
        case kBatchTwoThirdsButton: ChooseHeat(twoThirdsHeatBit); break;
        case kBatchHalfButton: ChooseHeat(halfHeatBit); break;
        case kBatchSafetyButton: ToggleSafety(); break;
        case kBatchMaxTimeButton: EditMaxTime(dlg); break;
        case kBatchMaxGrainTempButton: EditMaxGrainTemperature(dlg); break;
        case kBatchHelpButton:
            MessageBox(dlg, kHelpText, kHelpCaption, MB_OK | MB_ICONINFORMATION);
            return TRUE;
        case kBatchAcceptButton: AcceptBatchSetup(dlg); return TRUE;
        case IDCANCEL: EndDialog(dlg, IDCANCEL); return TRUE;
        default: return TRUE;  // the indicators only show the settings
    }
    RefreshBatchSetup(dlg);
    return TRUE;
}

INT_PTR StagedBatchSetupProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
        case WM_INITDIALOG:
            OpenBatchSetup();
            PlaceDryingModeDialog(dlg, reinterpret_cast<HWND>(lp));
            RefreshBatchSetup(dlg);
            return TRUE;
        case WM_COMMAND: return OnBatchCommand(dlg, LOWORD(wp));
    }
    return FALSE;
}

constexpr DWORD kPush = BS_PUSHBUTTON;
constexpr DWORD kRadio = BS_RADIOBUTTON;
constexpr DWORD kGroup = BS_GROUPBOX;

}  // namespace

INT_PTR OpenStagedBatchSetup(HWND owner)
{
    static constexpr auto kControls = std::to_array<DialogControl>({
        // the drying criteria
        {WC_BUTTON, L"TIME", kBatchTimeButton, 10, 8, 130, 34, kPush, 0},
        {WC_BUTTON, L"TIME - Dry Timer(s) must expire before drying is complete",
         kBatchTimeIndicator, 150, 15, 470, 20, kRadio, 0},
        {WC_BUTTON, L"TEMPERATURE", kBatchTemperatureButton, 10, 48, 130, 34, kPush, 0},
        {WC_BUTTON, L"TEMPERATURE - Grain Temp must reach setpoint before drying is complete",
         kBatchTemperatureIndicator, 150, 48, 470, 34, kRadio | BS_MULTILINE, 0},
        {WC_BUTTON, L"MOISTURE", kBatchMoistureButton, 10, 88, 130, 34, kPush, 0},
        {WC_BUTTON, L"MOISTURE - Batch automatic moisture control selected",
         kBatchMoistureIndicator, 150, 95, 470, 20, kRadio, 0},
        {WC_STATIC, L"", kBatchDescription, 10, 130, 608, 20, SS_CENTER, 0},
        // safety limits (left)
        {WC_BUTTON, L"Safety Parameters", kBatchSafetyGroup, 10, 156, 300, 152, kGroup, 0},
        {WC_BUTTON, L"DISABLE", kBatchSafetyButton, 22, 179, 140, 34, kPush, 0},
        {WC_BUTTON, L"MAX TIME", kBatchMaxTimeButton, 22, 221, 140, 34, kPush, 0},
        {WC_STATIC, L"", kBatchMaxTimeValue, 175, 229, 120, 20, SS_LEFT, 0},
        {WC_BUTTON, L"MAX GRAIN TEMP", kBatchMaxGrainTempButton, 22, 263, 140, 34, kPush, 0},
        {WC_STATIC, L"", kBatchMaxGrainTempValue, 175, 271, 120, 20, SS_LEFT, 0},
        // plenums and heat (right)
        {WC_BUTTON, L"Temperature Based Options", kBatchTempGroup, 320, 156, 298, 134, kGroup, 0},
        {WC_BUTTON, L"SINGLE", kBatchSingleButton, 332, 178, 95, 32, kPush, 0},
        {WC_BUTTON, L"Single Plenum", kBatchSingleIndicator, 440, 184, 165, 20, kRadio, 0},
        {WC_BUTTON, L"DUAL *", kBatchDualButton, 332, 216, 95, 32, kPush, 0},
        {WC_BUTTON, L"Dual Plenum", kBatchDualIndicator, 440, 222, 165, 20, kRadio, 0},
        {WC_STATIC, L"*Dual mode only available", kBatchDualNote1, 332, 252, 275, 17, SS_LEFT, 0},
        {WC_STATIC, L"on single fan model", kBatchDualNote2, 332, 269, 275, 17, SS_LEFT, 0},
        {WC_BUTTON, L"Moisture Based Options", kBatchMoistureGroup, 320, 296, 298, 118, kGroup, 0},
        {WC_BUTTON, L"FULL", kBatchFullHeatButton, 332, 317, 95, 28, kPush, 0},
        {WC_BUTTON, L"FULL HEAT", kBatchFullHeatIndicator, 440, 321, 165, 20, kRadio, 0},
        {WC_BUTTON, L"1/3 - 2/3", kBatchTwoThirdsButton, 332, 349, 95, 28, kPush, 0},
        {WC_BUTTON, L"2/3 HEAT", kBatchTwoThirdsIndicator, 440, 353, 165, 20, kRadio, 0},
        {WC_BUTTON, L"1/2 - 1/2", kBatchHalfButton, 332, 381, 95, 28, kPush, 0},
        {WC_BUTTON, L"1/2 HEAT", kBatchHalfIndicator, 440, 385, 165, 20, kRadio, 0},
        // leaving
        {WC_BUTTON, L"ACCEPT", kBatchAcceptButton, 15, 330, 140, 50, kPush, 0},
        {WC_BUTTON, L"HELP", kBatchHelpButton, 165, 330, 140, 50, kPush, 0},
    });
    DialogTemplate tmpl;
    tmpl.caption = kStagedBatchSetupTitle;
    tmpl.width = 630;
    tmpl.height = 440;
    tmpl.style = WS_POPUP | WS_CAPTION;
    tmpl.controls = kControls;
    return DialogBoxIndirectParam(Screens().instance, tmpl, owner, StagedBatchSetupProc,
                                  reinterpret_cast<LPARAM>(owner));
}
