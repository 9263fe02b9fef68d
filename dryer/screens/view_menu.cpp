// The view menu (VIEW_SELECTION_WINDOW): chart or graph view of the home screen, the owner's
// manuals, the shutdown history, system information and the software release notes.
#include "dryer/screens/view_menu.h"

#include "dryer/link/link_state.h"
#include "dryer/link/pending_command.h"
#include "dryer/records/display_settings.h"
#include "dryer/screens/bitmap_buttons.h"
#include "dryer/screens/entry_dialogs.h"
#include "dryer/screens/screen_manager.h"
#include "dryer/screens/screen_procs.h"
#include "platform/runtime/threads.h"
#include "platform/windowing/dialog.h"
#include "platform/windowing/window.h"
#include "resources/orbitdryer/bitmap_ids.h"

namespace {

constexpr PlacedButton kViewButtons[] = {
    {kViewChartButton, L"CHART VIEW BUTTON", 10, 10, 200, 50, kBitmapChartViewUp,
     kBitmapChartViewDown},
    {kViewGraphButton, L"GRAPH VIEW BUTTON", 10, 70, 200, 50, kBitmapGraphViewUp,
     kBitmapGraphViewDown},
    {kViewManualsButton, L"MANUALS BUTTON", 10, 130, 200, 50, kBitmapManualsUp, kBitmapManualsDown},
    {kViewHistoryButton, L"HISTORY BUTTON", 230, 10, 200, 50, kBitmapHistoryUp, kBitmapHistoryDown},
    {kViewSystemInfoButton, L"HISTORY BUTTON", 230, 70, 200, 50, kBitmapSystemInfoUp,
     kBitmapSystemInfoDown},
    {kViewSoftwareInfoButton, L"SOFTWARE INFO BUTTON", 230, 130, 200, 50, kBitmapSoftwareInfoUp,
     kBitmapSoftwareInfoDown},
    {kViewExitButton, L"EXIT VIEW BUTTON", 151, 190, 158, 41, kBitmapExitUp, kBitmapExitDown},
};

BitmapButtonSet gViewFaces;

void CreateViewButtons(HWND wnd)
{
    CreateBitmapButtons(wnd, Screens().instance, kViewButtons, gViewFaces);
}

void HideMenu()
{
    ShowScreen(Screens().viewSelection, false);
}

// Chart (0) or graph (1) view: refused in batch drying; otherwise the board is told, the
// panels switch at once and the choice is kept in the registry.
void SelectView(int view)
{
    if (Value(DryerImage, dryingType) != kContinuousFlow) {
        MessageBox(Screens().viewSelection, view == 1 ? kGraphRefusal : kChartRefusal,
                   kRefusalCaption, MB_OK);
        return;
    }
    // The command carries the whole byte: start from what the board reports (its units and
    // batch safety bits stay as they are; the request bits 0-1 are not asked again), unless
    // an earlier change of the byte is still on its way.
    if (!PendingCommand.IsSet(unitsAndOptions.pending)) {
        CopyField(DryerImage, DesiredSettings, unitsAndOptions);
        SetBits(DesiredSettings, unitsRequestBits, false);
    }
    SetBits(DesiredSettings, graphViewBit, view == 1);
    PendingCommand.Set(unitsAndOptions.pending);

    const ScreenWindows& s = Screens();
    ShowScreen(s.customView, view == 0);
    ShowScreen(s.averageValues, view == 0);
    ShowScreen(s.graph, view == 1);
    ShowScreen(s.drawGraph, view == 1);
    ScreenManagerState().currentView = view;
    HideMenu();
    SaveDisplaySetting(kScreenViewSelectionValue, static_cast<BYTE>(view));
}

void OpenManuals()
{
    HideMenu();
    PROCESS_INFORMATION info;
    if (!CreateProcess(L"\\windows\\explorer.exe", L"\\hard disk\\manuals", nullptr, nullptr, FALSE,
                       0, nullptr, nullptr, nullptr, &info)) {
        MessageBox(Screens().main, L" Trying to Open Manuals",
                   L" Could not execute Explorer Program!", MB_OK);
        return;
    }
    if (info.hProcess != nullptr) CloseHandle(info.hProcess);
    if (info.hThread != nullptr) CloseHandle(info.hThread);
}

LRESULT OnViewCommand(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (LOWORD(wp)) {
        case kViewChartButton: SelectView(0); return 0;
        case kViewGraphButton: SelectView(1); return 0;
        case kViewManualsButton: OpenManuals(); return 0;
        case kViewHistoryButton:
            HideMenu();
            OpenShutdownHistory(Screens().main);
            return 0;
        case kViewSystemInfoButton:
            HideMenu();
            OpenSystemInformation(Screens().main);
            return 0;
        case kViewSoftwareInfoButton:
            HideMenu();
            OpenSoftwareRelease(Screens().main);
            return 0;
        case kViewExitButton: HideMenu(); return 0;
    }
    return DefWindowProc(wnd, msg, wp, lp);
}

LRESULT OnViewDrawItem(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
{
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
    if (item != nullptr && gViewFaces.Draw(*item)) return TRUE;
    return DefWindowProc(wnd, msg, wp, lp);
}

}  // namespace

LRESULT ViewSelectionProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
        case WM_CREATE: CreateViewButtons(wnd); return 0;
        case WM_COMMAND: return OnViewCommand(wnd, msg, wp, lp);
        case WM_DRAWITEM: return OnViewDrawItem(wnd, msg, wp, lp);
        case WM_DESTROY: gViewFaces.Release(); return 0;
    }
    return DefWindowProc(wnd, msg, wp, lp);
}
