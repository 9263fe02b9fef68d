// The modal dialogs the home screen opens: the minutes-and-seconds keypad, the temperature
// entry, the moisture setpoint, the meter roll speed screen and the dialogs of the view menu.
// The keypads themselves come with the timer and setpoint screens; until then each opens as
// its dialog with its title and a CANCEL button, so navigation works end to end.
#pragma once

#include "dryer/link/dryer_image.h"
#include "platform/win_types.h"

inline constexpr const wchar_t* kTimerKeypadTitle = L"MODIFYING TIMER SETPOINT - 21";
inline constexpr const wchar_t* kTemperatureEntryTitle = L"Modifying Temperature Setpoint - 22";
inline constexpr const wchar_t* kMoistureSetpointTitle = L" MOISTURE SETPOINT - 26";
inline constexpr const wchar_t* kMeterRollSpeedTitle =
    L"MODIFYING METER ROLL SPEED SETPOINTS (Use knob on control panel) - 23";
inline constexpr const wchar_t* kDefaultsSwitchTitle = L"Please turn off DEFAULTS dipswitch! - 33";
inline constexpr const wchar_t* kShutdownHistoryTitle = L"Shutdown History -29";
inline constexpr const wchar_t* kSystemInformationTitle =
    L" SYSTEM INFORMATION / SOFTWARE VERSION - 32";
inline constexpr const wchar_t* kSoftwareReleaseTitle = L"Software Release Information - 30";
inline constexpr const wchar_t* kSampleTimeTitle = L"Select Data Log Sample Time - 35";
inline constexpr const wchar_t* kDataLoggerSetupTitle = L"DAY DATA LOGGER SETUP - 19";

// The minutes-and-seconds keypad's record, filled by the opener.
struct TimerKeypad {
    int minutes = 0;
    int seconds = 0;
    int minimumMinutes = 0;
    int minimumSeconds = 0;
    int maximumMinutes = 255;
    int maximumSeconds = 59;
    int defaultMinutes = 0;
    int defaultSeconds = 0;
    ImageField target = dryTimerSetting;  // the time pair it edits, sent by the field's flag
};
TimerKeypad& SharedTimerKeypad();

// A temperature entry block: limits and value, and the setpoint it edits.
struct TemperatureEntry {
    int minimum = 50;
    int maximum = 150;
    int value = 100;
    int defaultValue = 100;
    ImageField target = grainSetpointMain;  // the word it edits, sent by the field's flag
};
TemperatureEntry& SharedTemperatureEntry();

// Each returns the dialog's result (IDOK, IDCANCEL, or -1 when it could not be made).
INT_PTR OpenTimerKeypad(HWND owner);
INT_PTR OpenTemperatureEntry(HWND owner);
INT_PTR OpenMoistureSetpoint(HWND owner);
INT_PTR OpenMeterRollSpeed(HWND owner);
INT_PTR OpenDefaultsSwitchDialog(HWND owner);
INT_PTR OpenShutdownHistory(HWND owner);
INT_PTR OpenSystemInformation(HWND owner);
INT_PTR OpenSoftwareRelease(HWND owner);
INT_PTR OpenSampleTimeDialog(HWND owner);
INT_PTR OpenDataLoggerSetup(HWND owner);

// Resets the shared entry records to their start-up values.
void ResetEntryDialogs();
