// "DAY DATA LOGGER SETUP - 19": switches the long-term data log on and off through the dryer,
// shows how full the log file is, deletes it and copies it to the USB drive. Opened by
// OpenDataLoggerSetup (entry_dialogs.h).
#pragma once

inline constexpr int kLoggerOnButton = 1901;
inline constexpr int kLoggerOffButton = 1902;
inline constexpr int kLoggerOnIndicator = 1903;
inline constexpr int kLoggerOffIndicator = 1904;
inline constexpr int kLoggerUsedSpaceLabel = 1905;
inline constexpr int kLoggerUsedSpace = 1906;  // "%d %%"
inline constexpr int kLoggerProgress = 1907;
inline constexpr int kLoggerDelete = 1908;
inline constexpr int kLoggerSendToUsb = 1909;
inline constexpr int kLoggerExit = 1910;
inline constexpr int kLoggerStateFrame = 1911;
inline constexpr int kLoggerSpaceFrame = 1912;
