// The M/C button's moisture and setpoint shortcut and the two commands the message loop
// raises for the decoder (the metering screen and the defaults-switch screen).
#pragma once

inline constexpr const wchar_t* kMeteringQuestion = L"Do you wish to set the metering rolls speed?";
inline constexpr const wchar_t* kMeteringCaption = L" SET METERING SPEED VIA DISPLAY?";
inline constexpr const wchar_t* kLearningQuestion =
    L"The Moisture Control learning period has not expired.  Modifying the MC Setpoint is not "
    L"recommended until the learning period is complete.  Do wish to modify the moisture "
    L"control setpoint?";
inline constexpr const wchar_t* kLearningCaption = L"MOISTURE CONTROL LEARNING PERIOD STILL ACTIVE";

void OnMcButton();
void OnOpenMeteringCommand();
void OpenDefaultsSwitchScreen();
