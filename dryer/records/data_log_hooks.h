// The operations the program's ticks call on the data logs, the graph and the shutdown
// history. The logs themselves are built separately; until then these do nothing.
#pragma once

// Long-term data log (one sample every 12 seconds while logging is on; long_term_log.cpp, the
// set-up dialog's repaint in data_logger_setup.cpp).
void RefreshLongTermFillLevel();
void AppendLongTermSample();
int LongTermFillLevelPercent();
void RepaintDataLogSetup();
// Short-term and graph logs, sampled while the dryer unloads (the short-term ones are in
// short_term_log.cpp).
void SetDataLogUnloading(bool unloading);
void WriteShortTermSample();
void WriteGraphSample();
void RepaintGraphScreen();
void CountDownGraphScreen();
// Shutdown history: start-up, the volume identifier, and the hold of its delete button.
void ClearShutdownHistoryVolumeId();
void StartShutdownHistory();
void ShutdownHistoryHoldTick();
bool ShutdownHistorySuppressesBanner();
// Screens that repaint once a second while open.
void RepaintSystemInformation();
// Display state of the moisture view and the diagnostics screens, back to its defaults.
void ResetMoistureViewState();
