// The control ids of the screen "Shutdown History -29" (OpenShutdownHistory in
// entry_dialogs.h opens it). EXIT's id is the one the 1-second tick watches.
#pragma once

#include "dryer/records/shutdown_history.h"

inline constexpr int kHistoryList = 1101;
inline constexpr int kHistorySortByWarning = 1102;
inline constexpr int kHistorySortByDateTime = 1103;
inline constexpr int kHistorySortByNode = 1104;
inline constexpr int kHistoryCopyToUsb = 1105;
inline constexpr int kHistoryShowHelp = 1106;
inline constexpr int kHistoryExit = kShutdownHistoryExitButton;  // 1107
inline constexpr int kHistoryClear = 1108;                       // hidden: the held EXIT asks
inline constexpr int kHistorySortedByWarning = 1109;             // indicators, set by the screen
inline constexpr int kHistorySortedByDateTime = 1110;
inline constexpr int kHistorySortedByNode = 1111;
