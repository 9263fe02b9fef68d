// The three questions of the extended set-up selection.
#include "dryer/setup/extended_setup_questions.h"

#include "dryer/link/dryer_image.h"
#include "dryer/link/working_copy.h"
#include "platform/windowing/dialog.h"

bool AskMeteringRollReverse(HWND owner)
{
    const bool active = IsSet(DryerImage, meteringRollReverseBit);
    const wchar_t* question = active
                                  ? L"Do you wish to DEACTIVATE the Metering Roll Reverse Option?"
                                  : L"Do you wish to ACTIVATE the Metering Roll Reverse Option?";
    if (MessageBox(owner, question, kMeteringRollReverseCaption, MB_YESNOCANCEL) != IDYES) {
        return false;
    }
    TakeWorkingCopy(optionByte49);
    SetBits(DesiredSettings, meteringRollReverseBit, !active);
    PendingCommand.Set(optionByte49.pending);
    return true;
}

bool AskUnitsOfMeasure(HWND owner)
{
    const bool si = IsSet(DryerImage, siUnitsBit);
    const wchar_t* question = si ? L"Switch to English Units (Fahrenheit, bushels, etc.)?"
                                 : L"Switch to Metric (SI) Units (Celsius, metric ton, etc.)?";
    if (MessageBox(owner, question, si ? kEnglishUnitsCaption : kSiUnitsCaption, MB_YESNOCANCEL) !=
        IDYES) {
        return false;
    }
    // The byte goes out once; its two request bits would ask the dryer to save or restore its
    // settings, so a copy taken from the image carries neither.
    if (!PendingCommand.IsSet(unitsAndOptions.pending)) {
        CopyField(DryerImage, DesiredSettings, unitsAndOptions);
        SetBits(DesiredSettings, unitsRequestBits, false);
    }
    SetBits(DesiredSettings, siUnitsBit, !si);
    PendingCommand.Set(unitsAndOptions.pending);
    return true;
}

bool AskClearBatchCounter(HWND owner)
{
    if (MessageBox(owner, L"Do wish to clear the batch counter?", kBatchCounterCaption,
                   MB_YESNO | MB_ICONSTOP) != IDYES) {
        return false;
    }
    SetValue(DesiredSettings, batchCount, 0);
    PendingCommand.Set(batchCount.pending);
    return true;
}

bool BatchCounterOffered()
{
    return Value(DryerImage, dryingType) != 0;
}
