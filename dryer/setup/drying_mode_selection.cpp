// "Drying Mode Selection - 07": the operator chooses continuous flow or staged batch drying and
// goes on to the set-up of the chosen mode. The dialog edits working copies of dryingType,
// moistureControlMode and dryerOptions in DesiredSettings.
#include <array>

#include "dryer/link/dryer_image.h"
#include "dryer/link/pending_command.h"
#include "dryer/link/working_copy.h"
#include "dryer/screens/bitmap_buttons.h"
#include "dryer/screens/screen_manager.h"
#include "dryer/setup/drying_mode.h"
#include "dryer/setup/drying_mode_controls.h"
#include "dryer/setup/drying_mode_shared.h"
#include "platform/controls/controls.h"
#include "platform/windowing/dialog.h"
#include "resources/orbitdryer/bitmap_ids.h"

namespace {

constexpr const wchar_t* kHelpCaption = L"Drying Mode Selection";
constexpr const wchar_t* kHelpText =
    L"This screen is used to select\n"
    L"batch or continuous flow drying.\n"
    L"\n"
    L"CONTINUOUS FLOW: grain moves through the dryer without stopping,\n"
    L"and the unload (metering roll) speed holds its moisture.\n"
    L"\n"
    L"STAGED BATCH: the dryer holds one charge of grain and dries it\n"
    L"until the drying criteria are met. STAGED BATCH is greyed out\n"
    L"on dryers that only run in continuous flow.\n"
    L"\n"
    L"MOISTURE CONTROL SETUP saves the selection and opens the set-up\n"
    L"of the selected drying mode.\n"
    L"\n"
    L"ACCEPT saves the selection and closes this screen.";

constexpr std::array<ButtonFace, 1> kFaces{{
    {kModeMoistureSetupButton, kBitmapMoistureSetupUp, kBitmapMoistureSetupDown},
}};

BitmapButtonSet gFaces;

// The working copies this dialog edits: dryingType, sent on ACCEPT, and dryerOptions, sent at
// once by the mode buttons, which also set moistureControlMode whole. optionByte224 is left
// alone: no control here changes it, and the set-up dialogs take their own copy.
void OpenSelection(HWND dlg)
{
    DryingModeSelectionWindow = dlg;
    for (ImageField field : {dryingType, dryerOptions}) TakeWorkingCopy(field);
    gFaces.Load(Screens().instance, kFaces);
}

// Brings the working dryingType and the controls in step. A dryer with towerBit set does not
// dry in batches: continuous flow is forced and STAGED BATCH cannot be chosen.
void RefreshSelection(HWND dlg)
{
    const bool batchOffered = !IsSet(DryerImage, towerBit);
    if (!batchOffered) SetValue(DesiredSettings, dryingType, kContinuousFlow);
    EnableControls(dlg, {kModeBatchButton, kModeBatchIndicator}, batchOffered);
    const int type = Value(DesiredSettings, dryingType);
    if (type == kContinuousFlow || type == kBatchDrying) {
        ShowChecked(dlg, kModeContinuousIndicator, type == kContinuousFlow);
        ShowChecked(dlg, kModeBatchIndicator, type == kBatchDrying);
    }
}

// The mode buttons: the new mode's moisture control default and criteria byte are sent at once
// when they differ from what the dryer reports; dryingType waits for ACCEPT.
void ChooseMode(HWND dlg, int type)
{
    if (type == kContinuousFlow) SetBits(DesiredSettings, dualHeatBit, false);
    SetValue(DesiredSettings, dryingType, type);
    SetValue(DesiredSettings, moistureControlMode,
             type == kContinuousFlow ? kSchemeTemp : kSchemeBatchMoisture);
    SetBits(DesiredSettings, firstHalfLoadBit, false);
    SendIfChanged(moistureControlMode);
    SendIfChanged(dryerOptions);
    RefreshSelection(dlg);
}

// Sends the mode. optionByte224 is not sent from here: no control of this dialog changes it,
// so a difference from the image could only be a stale copy overwriting the dryer's own bits
// (bit 3, the temperature hold, is the dryer's).
void CommitSelection()
{
    SendIfChanged(dryingType);
    SendIfChanged(dryerOptions);
}

void OpenModeSetup(HWND dlg)
{
    CommitSelection();
    if (Value(DesiredSettings, dryingType) == kBatchDrying) {
        OpenStagedBatchSetup(dlg);
    } else {
        OpenContinuousFlowSetup(dlg);
    }
}

INT_PTR OnSelectionCommand(HWND dlg, int id)
{
    switch (id) {
        case kModeContinuousButton: ChooseMode(dlg, kContinuousFlow); return TRUE;
        case kModeBatchButton: ChooseMode(dlg, kBatchDrying); return TRUE;
        case kModeMoistureSetupButton: OpenModeSetup(dlg); return TRUE;
        case kModeAcceptButton:
            CommitSelection();
            EndDialog(dlg, IDOK);
            return TRUE;
        case kModeHelpButton:
            MessageBox(dlg, kHelpText, kHelpCaption, MB_OK | MB_ICONINFORMATION);
            return TRUE;
        case IDCANCEL: EndDialog(dlg, IDCANCEL); return TRUE;
    }
    return TRUE;  // the indicators only show the mode
}

INT_PTR DryingModeSelectionProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
        case WM_INITDIALOG:
            OpenSelection(dlg);
            PlaceDryingModeDialog(dlg, reinterpret_cast<HWND>(lp));
            RefreshSelection(dlg);
            return TRUE;
        case WM_DRAWITEM: return gFaces.Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
        case WM_COMMAND: return OnSelectionCommand(dlg, LOWORD(wp));
        case WM_DESTROY:
            gFaces.Release();
            if (DryingModeSelectionWindow == dlg) DryingModeSelectionWindow = nullptr;
            return FALSE;
    }
    return FALSE;
}

}  // namespace

INT_PTR OpenDryingModeSelection(HWND owner)
{
    static constexpr std::array<DialogControl, 7> kControls{{
        {WC_BUTTON, L"CONTINUOUS FLOW", kModeContinuousButton, 15, 15, 175, 45, BS_PUSHBUTTON, 0},
        {WC_BUTTON, L"CONTINUOUS FLOW", kModeContinuousIndicator, 205, 27, 175, 20, BS_RADIOBUTTON,
         0},
        {WC_BUTTON, L"STAGED BATCH", kModeBatchButton, 15, 70, 175, 45, BS_PUSHBUTTON, 0},
        {WC_BUTTON, L"STAGED BATCH", kModeBatchIndicator, 205, 82, 175, 20, BS_RADIOBUTTON, 0},
        {WC_BUTTON, L"MOISTURE CONTROL SETUP", kModeMoistureSetupButton, 15, 130, 175, 50,
         BS_OWNERDRAW, 0},
        {WC_BUTTON, L"ACCEPT", kModeAcceptButton, 205, 135, 85, 45, BS_PUSHBUTTON, 0},
        {WC_BUTTON, L"HELP", kModeHelpButton, 300, 135, 80, 45, BS_PUSHBUTTON, 0},
    }};
    DialogTemplate tmpl;
    tmpl.caption = kDryingModeSelectionTitle;
    tmpl.width = 397;
    tmpl.height = 217;
    tmpl.style = WS_POPUP | WS_CAPTION;
    tmpl.controls = kControls;
    return DialogBoxIndirectParam(Screens().instance, tmpl, owner, DryingModeSelectionProc,
                                  reinterpret_cast<LPARAM>(owner));
}
