// The questions of the extended set-up selection: switching the metering roll reverse option,
// switching the units of measure, clearing the batch counter. Each asks, and on Yes puts the
// change into DesiredSettings and raises its flag.
#pragma once

#include "platform/win_types.h"

inline constexpr const wchar_t* kMeteringRollReverseCaption = L" METERING ROLL REVERSE OPTION";
inline constexpr const wchar_t* kEnglishUnitsCaption = L"SWITCH TO ENGLISH UNITS OF MEASURE";
inline constexpr const wchar_t* kSiUnitsCaption = L"SWITCH TO SI UNITS OF MEASURE";
inline constexpr const wchar_t* kBatchCounterCaption = L"BATCH COUNTER";

// Each returns true when the operator answered Yes and the change is on its way.
bool AskMeteringRollReverse(HWND owner);
bool AskUnitsOfMeasure(HWND owner);
bool AskClearBatchCounter(HWND owner);

// The batch counter button is offered only on batch dryers (dryingType not 0).
bool BatchCounterOffered();
