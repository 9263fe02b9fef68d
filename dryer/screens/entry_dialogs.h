// The modal dialogs the home screen opens: the moisture setpoint, the meter roll speed screen
// and the dialogs of the view menu.
#pragma once

#include "dryer/link/dryer_image.h"
#include "platform/win_types.h"

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

// Each returns the dialog's result (IDOK, IDCANCEL, or -1 when it could not be made).
INT_PTR OpenMoistureSetpoint(HWND owner);
INT_PTR OpenMeterRollSpeed(HWND owner);
INT_PTR OpenDefaultsSwitchDialog(HWND owner);
INT_PTR OpenShutdownHistory(HWND owner);
INT_PTR OpenSystemInformation(HWND owner);
INT_PTR OpenSoftwareRelease(HWND owner);
INT_PTR OpenSampleTimeDialog(HWND owner);
INT_PTR OpenDataLoggerSetup(HWND owner);
