// "MODIFYING METER ROLL SPEED SETPOINTS (Use knob on control panel) - 23": the high, medium and
// low metering speeds of the selected moisture control scheme, the speed scheme button and the
// picture of the speeds. The home screen opens it through OpenMeterRollSpeed.
#pragma once

#include "platform/win_types.h"

// ---- control ids ----
inline constexpr int kMeterAccept = 1043;       // "ACCEPT / EXIT"
inline constexpr int kMeterCancel = 1044;       // "CANCEL / EXIT"
inline constexpr int kMeterDecrease = 1046;     // "DECREASE"
inline constexpr int kMeterIncrease = 1047;     // "INCREASE"
inline constexpr int kMeterSelect = 1048;       // "SELECT"
inline constexpr int kMeterScheme = 1049;       // the scheme button; its label follows the scheme
inline constexpr int kMeterFirstRadio = 1221;   // "ON / OFF", or tracking on
inline constexpr int kMeterSecondRadio = 1222;  // "TWO SPEED", or tracking off
inline constexpr int kMeterAdjustGroup = 1234;  // "Speed Adjust"

// The selected speed in DesiredSettings 159 (meteringModeBits).
inline constexpr int kMeterSelectLow = 0;
inline constexpr int kMeterSelectMedium = 1;
inline constexpr int kMeterSelectHigh = 2;

// Opens the screen modally over the owner: IDOK after ACCEPT / EXIT, IDCANCEL after CANCEL /
// EXIT (or the Cancel command), -1 when it could not be made.
INT_PTR OpenMeterRollSpeedSetpoints(HWND owner);
