// "USER SETTINGS - 20": asks the dryer to store its current settings for later, or to take
// back the settings it stored. The boards keep the stored set; the panel only sends the request.
#pragma once

#include "platform/win_types.h"

inline constexpr const wchar_t* kUserSettingsTitle = L"USER SETTINGS - 20";
inline constexpr int kUserSettingsSaveText = 1900;
inline constexpr int kUserSettingsRestoreText = 1901;
inline constexpr int kUserSettingsSave = 1902;
inline constexpr int kUserSettingsRestore = 1903;

// SAVE SETTINGS or RESTORE SETTINGS sends its request once (a request bit of unitsAndOptions,
// the byte's other bits as the dryer reports them) and returns IDOK; CANCEL returns IDCANCEL.
INT_PTR OpenUserSettings(HWND owner);
