// The batch timer panel (BATCH_DRYING_WINDOW): remaining and set times of the batch timers
// and one button per timer to change its setting.
#pragma once

#include "platform/win_types.h"

inline constexpr int kBatchDryButton = 0x905E;
inline constexpr int kBatchHiHeatButton = 0x905F;
inline constexpr int kBatchLoHeatButton = 0x9060;
inline constexpr int kBatchCoolButton = 0x9061;
inline constexpr int kBatchUnloadButton = 0x9062;
inline constexpr int kBatchSampleTimeCommand = 0x9024;

// Shows and hides the dry, hi-heat and lo-heat buttons by drying type and dual heat.
void LayOutBatchTimerButtons();
// Whether a timer button of the panel is held down now (the reload hold rule reads it).
bool BatchTimerButtonPressed(int id);
