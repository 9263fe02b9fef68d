// The operations the program's ticks call on the data logs, the graph, the shutdown history and
// the service screens, in one list; each is defined beside what it works on (the two of the
// service screens are empty in data_log_hooks.cpp until those screens are built).
#pragma once

// Long-term data log (one sample every 12 seconds while logging is on; long_term_log.cpp, the
// set-up dialog's repaint in data_logger_setup.cpp).
void RefreshLongTermFillLevel();
void AppendLongTermSample();
int LongTermFillLevelPercent();
void RepaintDataLogSetup();
// Short-term and graph logs, sampled while the dryer unloads (short_term_log.cpp, graph_log.cpp,
// the graph screen's repaint in graph_screen.cpp).
void SetDataLogUnloading(bool unloading);
void WriteShortTermSample();
void WriteGraphSample();
void RepaintGraphScreen();
void CountDownGraphScreen();
// Shutdown history: start-up, the volume identifier, and the hold of its delete button
// (shutdown_history.cpp).
void ClearShutdownHistoryVolumeId();
void StartShutdownHistory();
void ShutdownHistoryHoldTick();
// Screens that repaint once a second while open.
void RepaintSystemInformation();
// Display state of the moisture view and the diagnostics screens, back to its defaults.
void ResetMoistureViewState();
