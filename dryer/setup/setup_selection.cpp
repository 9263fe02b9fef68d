// The set-up selection screen " SELECT HARDWARE SETUP PARAMETER TO MODIFY - 03": its bitmap
// buttons lead to the drying mode, unload, plenum manager, burner mode and calibration dialogs
// and to the extended set-up selection.
#include "dryer/setup/setup_selection.h"

#include <iterator>

#include "dryer/link/dryer_image.h"
#include "dryer/link/link_state.h"
#include "dryer/link/working_copy.h"
#include "dryer/screens/leave_button.h"
#include "dryer/screens/screen_manager.h"
#include "dryer/screens/screen_procs.h"
#include "dryer/setup/drying_mode.h"
#include "dryer/setup/hardware_dialogs.h"
#include "dryer/setup/moisture_sensor_calibration.h"
#include "dryer/setup/plenum_manager.h"
#include "dryer/setup/unload_parameters.h"
#include "platform/controls/controls.h"
#include "platform/drawing/gdi.h"
#include "platform/windowing/window.h"
#include "resources/orbitdryer/bitmap_ids.h"

namespace {

constexpr int kButtonWidth = 175;
constexpr int kButtonHeight = 50;

constexpr PlacedButton kButtons[] = {
    {kSetupDryingModeButton, L"DRYING MODE", 10, 20, kButtonWidth, kButtonHeight,
     kBitmapDryingModeUp, kBitmapDryingModeDown},
    {kSetupDryingCriteriaButton, L"DRYING SETUP", 10, 90, kButtonWidth, kButtonHeight,
     kBitmapContinuousFlowUp, kBitmapContinuousFlowDown},
    {kSetupUnloadButton, L"UNLOAD PARAMETERS", 222, 20, kButtonWidth, kButtonHeight,
     kBitmapUnloadParametersUp, kBitmapUnloadParametersDown},
    {kSetupPlenumManagerButton, L"PLENUM MANAGER", 222, 90, kButtonWidth, kButtonHeight,
     kBitmapPlenumManagerUp, kBitmapPlenumManagerDown},
    {kSetupBurnerModeButton, L"BURNER MODE", 222, 160, kButtonWidth, kButtonHeight,
     kBitmapBurnerModeUp, kBitmapBurnerModeDown},
    {kSetupCalibrationButton, L"CALIBRATION", 440, 20, kButtonWidth, kButtonHeight,
     kBitmapMoistureCalibrationUp, kBitmapMoistureCalibrationDown},
    {kSetupExtendedButton, L"MORE SETUP", 440, 90, kButtonWidth, kButtonHeight,
     kBitmapExtendedSetupUp, kBitmapExtendedSetupDown},
};

BitmapButtonSet gFaces;
BitmapButtonSet gLeaveFaces;
// The drying set-up button of a batch dryer opens the staged batch set-up and wears its face.
BitmapButtonSet gBatchFaces;

bool BatchDryer()
{
    return Value(DryerImage, dryingType) != kContinuousFlow;
}

void CreateSelectionButtons(HWND wnd)
{
    CreateBitmapButtons(wnd, Screens().instance, kButtons, gFaces);
    const ButtonFace batch[] = {
        {kSetupDryingCriteriaButton, kBitmapStagedBatchUp, kBitmapStagedBatchDown}};
    gBatchFaces.Load(Screens().instance, batch);
    CreateLeaveButton(wnd, gLeaveFaces, kSetupSelectionExit, 230, 395);
}

BOOL DrawSelectionButton(const DRAWITEMSTRUCT& item)
{
    if (item.CtlID == static_cast<UINT>(kSetupDryingCriteriaButton) && BatchDryer()) {
        return gBatchFaces.Draw(item) ? TRUE : FALSE;
    }
    return gFaces.Draw(item) || gLeaveFaces.Draw(item) ? TRUE : FALSE;
}

// Black background; the drying set-up button follows the drying type, which repaints this
// screen when it changes.
void PaintSelection(HWND wnd)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(wnd, &ps);
    RECT r;
    GetClientRect(wnd, &r);
    FillRect(dc, &r, GetStockObject(BLACK_BRUSH));
    EndPaint(wnd, &ps);
    InvalidateRect(GetDlgItem(wnd, kSetupDryingCriteriaButton), nullptr, FALSE);
}

void Leave(HWND wnd)
{
    // The heat and options byte's working copy starts again from what the dryer reports.
    TakeWorkingCopy(optionByte224);
    HomeShown.store(1);
    ReturnToHome(wnd);
}

void OpenDryingCriteria(HWND wnd)
{
    if (BatchDryer()) {
        OpenStagedBatchSetup(wnd);
    } else {
        OpenContinuousFlowSetup(wnd);
    }
}

void OpenBurnerModeIfOffered(HWND wnd)
{
    // A tower dryer has no burner mode to choose; its button is hidden, and a press that
    // comes before the tick hides it does nothing.
    if (IsSet(DryerImage, towerBit)) return;
    OpenBurnerMode(wnd);
}

LRESULT OnSelectionCommand(HWND wnd, int id)
{
    switch (id) {
        case kSetupSelectionExit: Leave(wnd); return 0;
        case kSetupDryingModeButton: OpenDryingModeSelection(wnd); return 0;
        case kSetupDryingCriteriaButton: OpenDryingCriteria(wnd); return 0;
        case kSetupUnloadButton: OpenUnloadParameters(wnd); return 0;
        case kSetupPlenumManagerButton: OpenPlenumManager(wnd); return 0;
        case kSetupBurnerModeButton: OpenBurnerModeIfOffered(wnd); return 0;
        case kSetupCalibrationButton: OpenMoistureSensorCalibration(wnd); return 0;
        case kSetupExtendedButton:
            ShowScreen(wnd, false);
            ShowScreen(Screens().extendedSetup, true);
            return 0;
    }
    return 0;
}

}  // namespace

LRESULT SetupSelectionProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
        case WM_CREATE: CreateSelectionButtons(wnd); return 0;
        case WM_DESTROY:
            gFaces.Release();
            gLeaveFaces.Release();
            gBatchFaces.Release();
            break;
        case WM_DRAWITEM:
            if (DrawSelectionButton(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp))) return TRUE;
            break;
        case WM_PAINT: PaintSelection(wnd); return 0;
        case WM_COMMAND: return OnSelectionCommand(wnd, LOWORD(wp));
    }
    return DefWindowProc(wnd, msg, wp, lp);
}

void RefreshSetupButtons()
{
    ShowScreen(GetDlgItem(Screens().setupSelection, kSetupBurnerModeButton),
               !IsSet(DryerImage, towerBit));
    RefreshExtendedSetupButtons();
}
