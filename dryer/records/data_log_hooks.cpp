// Empty bodies of the log, graph and shutdown history operations that the ticks call; the
// record keeping replaces them with the real ones.
#include "dryer/records/data_log_hooks.h"

void RefreshLongTermFillLevel() {}
void AppendLongTermSample() {}
int LongTermFillLevelPercent()
{
    return 0;
}
void RepaintDataLogSetup() {}
void ClearShutdownHistoryVolumeId() {}
void StartShutdownHistory() {}
void ShutdownHistoryHoldTick() {}
bool ShutdownHistorySuppressesBanner()
{
    return false;
}
void RepaintSystemInformation() {}
void ResetMoistureViewState() {}
