// The screen manager: the main window procedure, the table of child windows created once at
// start-up, the five bottom buttons, the home composition and the switch to the selection
// screens. Windows are only ever shown and hidden after creation.
#include "dryer/screens/screen_manager.h"

#include "dryer/link/link_state.h"
#include "dryer/link/pending_command.h"
#include "dryer/screens/batch_timers_panel.h"
#include "dryer/screens/bitmap_buttons.h"
#include "dryer/screens/home_panels.h"
#include "dryer/screens/mc_button.h"
#include "dryer/screens/screen_procs.h"
#include "platform/controls/controls.h"
#include "platform/drawing/gdi.h"
#include "platform/drawing/painter.h"
#include "platform/windowing/window.h"
#include "resources/orbitdryer/bitmap_table.h"
#include "resources/orbitdryer/panel_colours.h"

namespace {

constexpr DWORD kChildExStyle = WS_EX_NODRAG | WS_EX_CLIENTEDGE | WS_EX_WINDOWEDGE;
constexpr COLORREF kBetaRed = kRed;

enum class Background { White, Black, LightGrey, Silver };
enum class Initially { Hidden, Shown };

// One row of the child window table.
struct ChildWindowRow {
    const wchar_t* className;
    const wchar_t* title;
    int x, y, width, height;
    bool caption;
    bool selectionScreen;  // top-most with a dialog frame
    Background background;
    Initially initially;
    WNDPROC proc;
    HWND ScreenWindows::*handle;
};

// The child windows in creation order. GRAPH_WINDOW, AVERAGE_VALUES_WINDOW, CUSTOM_VIEW_WINDOW
// and BATCH_DRYING_WINDOW are then arranged by the home composition.
constexpr ChildWindowRow kChildWindows[] = {
    {kViewSelectionClass, L"  VIEW SELECTION WINDOW - 04", 100, 50, 450, 275, true, false,
     Background::White, Initially::Hidden, ViewSelectionProc, &ScreenWindows::viewSelection},
    {kWarningClass, L" WARNING - DRYER SHUTTING DOWN! - 05", 10, 20, 430, 325, true, false,
     Background::White, Initially::Hidden, WarningWindowProc, &ScreenWindows::warning},
    {kLineGraphClass, L" GRAIN TEMPERATURE / MOISTURE", 0, 40, 240, 205, true, false,
     Background::Black, Initially::Hidden, LineGraphProc, &ScreenWindows::lineGraph},
    {kAverageValuesClass, L" DRYER STATUS CHART", 240, 40, 400, 205, true, false, Background::Black,
     Initially::Shown, AverageValuesProc, &ScreenWindows::averageValues},
    {kCustomViewClass, L" PLENUM(S)", 240, 245, 400, 175, true, false, Background::Black,
     Initially::Shown, PlenumPanelProc, &ScreenWindows::customView},
    {kUnloadStatusClass, L" UNLOAD STATUS", 0, 245, 240, 175, true, false, Background::Black,
     Initially::Hidden, UnloadStatusProc, &ScreenWindows::unloadStatus},
    {kRightStatusBarClass, L" DRYER BAR STATUS", 240, 0, 400, 40, false, false, Background::Black,
     Initially::Shown, DryerStateLineProc, &ScreenWindows::rightStatusBar},
    {kButtonBarClass, L" DRYER BAR STATUS", 0, 420, 640, 55, false, false, Background::LightGrey,
     Initially::Shown, ButtonBarProc, &ScreenWindows::buttonBar},
    {kTimerSelectClass, L" SELECT TIMER TO MODIFY - 01", 0, 0, 640, 475, true, true,
     Background::Black, Initially::Hidden, TimerSelectProc, &ScreenWindows::timerSelect},
    {kTempSelectClass, L" SELECT TEMPERATURE SETPOINT TO MODIFY - 02", 0, 0, 640, 475, true, true,
     Background::Black, Initially::Hidden, TempSelectProc, &ScreenWindows::tempSelect},
    {kSetupSelectionClass, L" SELECT HARDWARE SETUP PARAMETER TO MODIFY - 03", 0, 0, 640, 475, true,
     true, Background::Black, Initially::Hidden, SetupSelectionProc,
     &ScreenWindows::setupSelection},
    {kExtendedSetupClass, L" SELECT SETUP PARAMETER TO MODIFY - 06", 0, 0, 640, 475, true, true,
     Background::Black, Initially::Hidden, ExtendedSetupProc, &ScreenWindows::extendedSetup},
    {kGraphClass, L" GRAPH OF SELECTED DRYER VARIABLES", 240, 40, 400, 380, false, false,
     Background::Silver, Initially::Hidden, GraphWindowProc, &ScreenWindows::graph},
    {kDryerPicClass, L" SYSTEM STATUS", 0, 0, 240, 420, false, false, Background::Silver,
     Initially::Shown, DryerPicProc, &ScreenWindows::dryerPic},
    {kBatchDryingClass, L" BATCH DRYING TIMERS", 240, 40, 400, 205, true, false, Background::Black,
     Initially::Hidden, BatchDryingProc, &ScreenWindows::batchDrying},
};

// The five bottom buttons of the main window.
struct MainButtonRow {
    int id;
    const wchar_t* text;
    int x;
    int upBitmap;
    int downBitmap;
};
constexpr MainButtonRow kMainButtons[] = {
    {kCmdTimers, L"TIMERS", 20, kBitmapTimersUp, kBitmapTimersDown},
    {kCmdTemps, L"TEMPS", 144, kBitmapTempUp, kBitmapTempDown},
    {kCmdSetup, L"SETUP", 268, kBitmapSetupUp, kBitmapSetupDown},
    {kCmdView, L"VIEW", 392, kBitmapViewUp, kBitmapViewDown},
    {kCmdMisc, L"MISC", 516, kBitmapMcUp, kBitmapMcDown},
};
constexpr int kMainButtonTop = 427;
constexpr int kMainButtonWidth = 105;
constexpr int kMainButtonHeight = 40;

ScreenWindows gScreens;
ScreenState gState;
BitmapButtonSet gMainFaces;
HBITMAP gMcGreyed = nullptr;
HBRUSH gSilverBrush = nullptr;

HBRUSH BackgroundBrush(Background b)
{
    switch (b) {
        case Background::White: return GetStockObject(WHITE_BRUSH);
        case Background::Black: return GetStockObject(BLACK_BRUSH);
        case Background::LightGrey: return GetStockObject(LTGRAY_BRUSH);
        case Background::Silver:
            if (gSilverBrush == nullptr) gSilverBrush = CreateSolidBrush(kSilver);
            return gSilverBrush;
    }
    return GetStockObject(BLACK_BRUSH);
}

HWND CreateChildWindow(const ChildWindowRow& row, HWND main, HINSTANCE instance)
{
    WNDCLASS wc;
    wc.style = CS_HREDRAW | CS_VREDRAW | CS_NOCLOSE;
    wc.lpfnWndProc = row.proc;
    wc.hInstance = instance;
    wc.iconId = 101;
    wc.hbrBackground = BackgroundBrush(row.background);
    wc.lpszClassName = row.className;
    RegisterClass(&wc);  // a second run in the same process keeps the first registration

    DWORD style = WS_CHILD | WS_VISIBLE;
    DWORD exStyle = kChildExStyle;
    if (row.caption) style |= WS_CAPTION;
    if (row.selectionScreen) {
        style |= WS_DLGFRAME;
        exStyle |= WS_EX_TOPMOST;
    }
    HWND wnd = CreateWindowEx(exStyle, row.className, row.title, style, row.x, row.y, row.width,
                              row.height, main, 0, instance, nullptr);
    ShowWindow(wnd, row.initially == Initially::Shown ? SW_SHOW : SW_HIDE);
    return wnd;
}

void CreateMainButtons(HWND main, HINSTANCE instance)
{
    ButtonFace faces[std::size(kMainButtons)];
    for (std::size_t i = 0; i < std::size(kMainButtons); ++i) {
        const MainButtonRow& b = kMainButtons[i];
        gScreens.buttons[i] = CreateBitmapButton(main, instance, b.text, b.id, b.x, kMainButtonTop,
                                                 kMainButtonWidth, kMainButtonHeight);
        faces[i] = ButtonFace{b.id, b.upBitmap, b.downBitmap};
    }
    gMainFaces.Load(instance, faces);
    // Children made later sit further back; the buttons must stay in front of the strip.
    for (HWND b : gScreens.buttons) SetWindowPos(b, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    gMcGreyed = LoadBitmap(instance, kBitmapMcGreyed);
}

void PaintMainWindow(HWND wnd)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(wnd, &ps);
    // Normally covered by the child windows; seen only where no panel is shown.
    {
        platform::Painter paint(dc);
        paint.TextToFit(L"BETA VERSION OF SOFTWARE", RECT{25, 250, 200, 300}, kBetaRed, 16,
                        FW_NORMAL, DT_LEFT, 1, 10);
    }
    EndPaint(wnd, &ps);
}

LRESULT OnMainDrawItem(LPARAM lp)
{
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
    if (item == nullptr) return FALSE;
    gMainFaces.SetOverride(kCmdMisc,
                           (MoistureControlUnavailable.load() != 0) ? gMcGreyed : nullptr);
    return gMainFaces.Draw(*item) ? TRUE : FALSE;
}

void OnMainDestroy()
{
    gMainFaces.Release();
    if (gMcGreyed != nullptr) DeleteObject(gMcGreyed);
    gMcGreyed = nullptr;
    PostQuitMessage(0);
}

void ShowMainButtons(bool show)
{
    for (HWND b : gScreens.buttons) ShowScreen(b, show);
}

void OpenTimerSelection()
{
    HideEverything(gScreens.timerSelect);
}

void OpenTempSelection()
{
    gState.entryContext = 17;
    gState.entryContextValid = true;
    HideEverything(gScreens.tempSelect);
}

void OpenSetupSelection()
{
    ShowScreen(gScreens.warning, false);
    HideEverything(gScreens.setupSelection);
    HomeShown.store(0);
}

void OpenViewMenu()
{
    ShowScreen(gScreens.viewSelection, true);
    SetWindowPos(gScreens.viewSelection, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

LRESULT OnMainCommand(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (LOWORD(wp)) {
        case kCmdTimers: OpenTimerSelection(); return 0;
        case kCmdTemps: OpenTempSelection(); return 0;
        case kCmdSetup: OpenSetupSelection(); return 0;
        case kCmdView: OpenViewMenu(); return 0;
        case kCmdMisc: OnMcButton(); return 0;
        case kCmdOpenMetering: OnOpenMeteringCommand(); return 0;
        case kCmdDefaultsSwitch: OpenDefaultsSwitchScreen(); return 0;
    }
    return DefWindowProc(wnd, msg, wp, lp);
}

}  // namespace

ScreenWindows& Screens()
{
    return gScreens;
}

ScreenState& ScreenManagerState()
{
    return gState;
}

void ResetScreenManager()
{
    gScreens = ScreenWindows{};
    gState = ScreenState{};
}

void ShowScreen(HWND wnd, bool show)
{
    if (wnd == nullptr) return;
    ShowWindow(wnd, show ? SW_SHOW : SW_HIDE);
}

void CreateScreenSet(HWND main, HINSTANCE instance)
{
    gScreens.main = main;
    gScreens.instance = instance;
    for (const ChildWindowRow& row : kChildWindows) {
        gScreens.*(row.handle) = CreateChildWindow(row, main, instance);
    }
    CreateMainButtons(main, instance);
    HomeComposition();
}

void HomeComposition()
{
    gState.currentView = IsSet(DryerImage, graphViewBit) ? 1 : 0;
    LayOutBatchTimerButtons();
    if (Value(DryerImage, dryingType) != kContinuousFlow) {
        ShowScreen(gScreens.drawGraph, false);
        ShowScreen(gScreens.graph, false);
        ShowScreen(gScreens.averageValues, false);
        ShowScreen(gScreens.customView, true);
        ShowScreen(gScreens.batchDrying, true);
    } else if (gState.currentView == 1) {
        ShowScreen(gScreens.drawGraph, true);
        ShowScreen(gScreens.graph, true);
        ShowScreen(gScreens.averageValues, false);
        ShowScreen(gScreens.customView, false);
        ShowScreen(gScreens.batchDrying, false);
    } else {
        ShowScreen(gScreens.drawGraph, false);
        ShowScreen(gScreens.graph, false);
        ShowScreen(gScreens.customView, true);
        ShowScreen(gScreens.averageValues, true);
        ShowScreen(gScreens.batchDrying, false);
    }
}

void ReturnToHome(HWND screen)
{
    ShowScreen(screen, false);
    ShowScreen(gScreens.dryerPic, true);
    ShowScreen(gScreens.rightStatusBar, true);
    HomeComposition();
    ShowScreen(gScreens.buttonBar, true);
    ShowMainButtons(true);
}

void HideEverything(HWND target)
{
    ShowScreen(gScreens.lineGraph, false);
    ShowScreen(gScreens.unloadStatus, false);
    ShowScreen(gScreens.rightStatusBar, false);
    ShowScreen(gScreens.customView, false);
    ShowScreen(gScreens.averageValues, false);
    ShowScreen(gScreens.buttonBar, false);
    ShowMainButtons(false);
    ShowScreen(gScreens.drawGraph, false);
    ShowScreen(gScreens.dryerPic, false);
    ShowScreen(target, true);
    ShowScreen(gScreens.batchDrying, false);
}

void RefreshMainButtons()
{
    for (HWND b : gScreens.buttons) {
        if (b != nullptr) InvalidateRect(b, nullptr, FALSE);
    }
}

LRESULT MainWindowProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
        case WM_COMMAND: return OnMainCommand(wnd, msg, wp, lp);
        case WM_DRAWITEM: return OnMainDrawItem(lp);
        case WM_PAINT: PaintMainWindow(wnd); return 0;
        case WM_DESTROY: OnMainDestroy(); return 0;
        case kMsgRaiseMain: SetForegroundWindow(wnd); return 0;
    }
    return DefWindowProc(wnd, msg, wp, lp);
}
