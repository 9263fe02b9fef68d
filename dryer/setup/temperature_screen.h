// The temperature setpoint screen " SELECT TEMPERATURE SETPOINT TO MODIFY - 02": its two child
// windows, their setpoint buttons and the texts they show.
#pragma once

inline constexpr const wchar_t* kPlenumSetpointClass = L"PLENUM_SETPOINT_CHILD_WINDOW";
inline constexpr const wchar_t* kPlenumSetpointCaption =
    L" Plenum Temperature Setpoint Adjustment (Range = 50 to 250 F -> 10 to 120 C)";
inline constexpr const wchar_t* kGrainSetpointClass = L"GRAIN_TEMP_SETPOINT_CHILD_WINDOW";
inline constexpr const wchar_t* kGrainSetpointCaption =
    L" Grain Temperature Setpoint Adjustment (Range = 50 to 150 F -> 10 to 71 C)";

// Buttons of the plenum setpoint window: burner N is kBurnerButton1 + N - 1; the dual-heat
// layout has its own four.
inline constexpr int kBurnerButton1 = 0x9141;
inline constexpr int kHiHeatButton = 0x9147;       // hiHeatPlenumSetpoint (258)
inline constexpr int kDualBurner1Button = 0x9148;  // burner 1 in the dual-heat layout
inline constexpr int kLoHeatButton = 0x9149;       // upperPlenumSetpoint (260)
inline constexpr int kDualBurner2Button = 0x914A;  // burner 2 in the dual-heat layout
// Buttons of the grain setpoint window.
inline constexpr int kGrainButton = 0x9150;
inline constexpr int kGrainUpperButton = 0x9151;  // dual heat
inline constexpr int kGrainLowerButton = 0x9152;

// The grain window's help texts.
inline constexpr const wchar_t* kGrainHelpTitle =
    L"Increase temperature setpoint to decrease moisture";
inline constexpr const wchar_t* kGrainHelpF1 = L"EACH 5 DEGREE CHANGE IN TEMPERATURE SETPOINT";
inline constexpr const wchar_t* kGrainHelpF2 = L"IS EQUAL TO 1 POINT CHANGE IN MOISTURE";
inline constexpr const wchar_t* kGrainHelpC1 = L"EACH 2.5 DEGREE CHANGE IN TEMPERATURE  ";
inline constexpr const wchar_t* kGrainHelpC2 = L"SETPOINT IS EQUAL TO 1 POINT CHANGE";
inline constexpr const wchar_t* kGrainHelpC3 = L"IN MOISTURE";
