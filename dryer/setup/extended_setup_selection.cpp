// The extended set-up selection " SELECT SETUP PARAMETER TO MODIFY - 06": the service screens
// and questions behind the set-up selection's MORE SETUP button. Its twelve bitmap buttons
// open their dialogs or ask their questions; the leave button returns to the home screen.
#include <iterator>

#include "dryer/link/dryer_image.h"
#include "dryer/link/link_state.h"
#include "dryer/screens/bitmap_buttons.h"
#include "dryer/screens/entry_dialogs.h"
#include "dryer/screens/leave_button.h"
#include "dryer/screens/screen_manager.h"
#include "dryer/screens/screen_procs.h"
#include "dryer/setup/burner_differential.h"
#include "dryer/setup/clock_dialog.h"
#include "dryer/setup/extended_setup_questions.h"
#include "dryer/setup/hardware_dialogs.h"
#include "dryer/setup/moisture_sampler_setup.h"
#include "dryer/setup/printer_setup_dialog.h"
#include "dryer/setup/system_diagnostics.h"
#include "dryer/setup/unload_bushels_setup.h"
#include "dryer/setup/user_settings_dialog.h"
#include "platform/controls/controls.h"
#include "platform/windowing/window.h"
#include "resources/orbitdryer/bitmap_ids.h"

namespace {

constexpr int kWidth = 175;
constexpr int kHeight = 50;

constexpr PlacedButton kButtons[] = {
    {kExtendedDiagnosticsButton, L"DIAGNOSTICS", 10, 20, kWidth, kHeight, kBitmapDiagnosticsUp,
     kBitmapDiagnosticsDown},
    {kExtendedBurnerDifferentialButton, L"BURNER DIFFERENTIAL", 10, 90, kWidth, kHeight,
     kBitmapBurnerDifferentialUp, kBitmapBurnerDifferentialDown},
    {kExtendedPrinterButton, L"PRINTER SETUP", 10, 160, kWidth, kHeight, kBitmapPrinterSetupUp,
     kBitmapPrinterSetupDown},
    {kExtendedRollReverseButton, L"ROLL REVERSE", 10, 230, kWidth, kHeight, kBitmapRollReverseUp,
     kBitmapRollReverseDown},
    {kExtendedSamplerButton, L"MOISTURE SAMPLER", 10, 300, kWidth, kHeight,
     kBitmapMoistureSamplerUp, kBitmapMoistureSamplerDown},
    {kExtendedUnloadBushelsButton, L"UNLOAD BUSHELS", 222, 20, kWidth, kHeight,
     kBitmapUnloadBushelsUp, kBitmapUnloadBushelsDown},
    {kExtendedClockButton, L"TIME / DATE", 222, 90, kWidth, kHeight, kBitmapTimeDateUp,
     kBitmapTimeDateDown},
    {kExtendedUnitsButton, L"UNITS", 222, 160, kWidth, kHeight, kBitmapUnitsUp, kBitmapUnitsDown},
    {kExtendedHardwareButton, L"HARDWARE SETUP", 222, 230, kWidth, kHeight, kBitmapHardwareSetupUp,
     kBitmapHardwareSetupDown},
    {kExtendedDataLoggerButton, L"DAY DATA LOGGER", 440, 20, kWidth, kHeight, kBitmapDataLoggerUp,
     kBitmapDataLoggerDown},
    {kExtendedUserSettingsButton, L"USER SETTINGS", 440, 90, kWidth, kHeight, kBitmapUserSettingsUp,
     kBitmapUserSettingsDown},
    {kExtendedBatchCounterButton, L"BATCH COUNTER", 440, 160, kWidth, kHeight,
     kBitmapBatchCounterUp, kBitmapBatchCounterDown},
};

BitmapButtonSet gFaces;
BitmapButtonSet gLeaveFaces;

void Leave(HWND wnd)
{
    HomeShown.store(1);
    ReturnToHome(wnd);
}

void OnCommand(HWND wnd, int id)
{
    switch (id) {
        case kExtendedSetupExit: Leave(wnd); return;
        case kExtendedDiagnosticsButton: OpenSystemDiagnostics(wnd); return;
        case kExtendedBurnerDifferentialButton: OpenBurnerDifferential(wnd); return;
        case kExtendedPrinterButton: OpenPrinterSetup(wnd); return;
        case kExtendedRollReverseButton: AskMeteringRollReverse(wnd); return;
        case kExtendedSamplerButton:
            // A press that comes before the tick hides the button does nothing.
            if (IsSet(DryerImage, samplerInstalledBit)) OpenMoistureSamplerSetup(wnd);
            return;
        case kExtendedUnloadBushelsButton: OpenUnloadBushelsSetup(wnd); return;
        case kExtendedClockButton: OpenClockDialog(wnd); return;
        case kExtendedUnitsButton: AskUnitsOfMeasure(wnd); return;
        case kExtendedHardwareButton: OpenHardwareSetup(wnd); return;
        case kExtendedDataLoggerButton: OpenDataLoggerSetup(wnd); return;
        case kExtendedUserSettingsButton: OpenUserSettings(wnd); return;
        case kExtendedBatchCounterButton:
            if (BatchCounterOffered()) AskClearBatchCounter(wnd);
            return;
    }
}

}  // namespace

LRESULT ExtendedSetupProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
        case WM_CREATE:
            CreateBitmapButtons(wnd, Screens().instance, kButtons, gFaces);
            CreateLeaveButton(wnd, gLeaveFaces, kExtendedSetupExit, 230, 395);
            return 0;
        case WM_DESTROY:
            gFaces.Release();
            gLeaveFaces.Release();
            break;
        case WM_DRAWITEM:
            if (lp != 0) {
                const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
                if (gFaces.Draw(item) || gLeaveFaces.Draw(item)) return TRUE;
            }
            break;
        case WM_COMMAND: OnCommand(wnd, LOWORD(wp)); return 0;
    }
    return DefWindowProc(wnd, msg, wp, lp);
}

void RefreshExtendedSetupButtons()
{
    ShowScreen(GetDlgItem(Screens().extendedSetup, kExtendedSamplerButton),
               IsSet(DryerImage, samplerInstalledBit));
    ShowScreen(GetDlgItem(Screens().extendedSetup, kExtendedBatchCounterButton),
               BatchCounterOffered());
}
