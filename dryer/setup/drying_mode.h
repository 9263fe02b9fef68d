// The drying mode dialogs: "Drying Mode Selection - 07" chooses continuous flow or staged batch
// and leads to "CONTINUOUS FLOW SETUP - 08" or "STAGED BATCH SETUP - 09".
#pragma once

#include "platform/win_types.h"

inline constexpr const wchar_t* kDryingModeSelectionTitle = L"Drying Mode Selection - 07";
inline constexpr const wchar_t* kContinuousFlowSetupTitle = L"CONTINUOUS FLOW SETUP - 08";
inline constexpr const wchar_t* kStagedBatchSetupTitle = L"STAGED BATCH SETUP - 09";

// Each opens its dialog modally and returns its result.
INT_PTR OpenDryingModeSelection(HWND owner);
INT_PTR OpenContinuousFlowSetup(HWND owner);
INT_PTR OpenStagedBatchSetup(HWND owner);
