// Empty bodies of the log, graph and shutdown history operations that the ticks call; the
// record keeping replaces them with the real ones.
#include "dryer/records/data_log_hooks.h"

void WriteGraphSample() {}
void RepaintGraphScreen() {}
void CountDownGraphScreen() {}
void RepaintSystemInformation() {}
void ResetMoistureViewState() {}
