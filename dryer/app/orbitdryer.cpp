// The program entry of the operator display and its host set-up. The entry follows the panel
// program's order: look for a running display, set up the instance, preset the dryer state,
// hide the taskbar, then run the message loop with its two request checks.
#include "dryer/app/orbitdryer.h"

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "dryer/app/timers.h"
#include "dryer/link/link_state.h"
#include "dryer/records/data_log_hooks.h"
#include "dryer/records/display_settings.h"
#include "dryer/records/shutdown_history.h"
#include "dryer/screens/batch_timers_panel.h"
#include "dryer/screens/entry_dialogs.h"
#include "dryer/screens/home_panels.h"
#include "dryer/screens/screen_manager.h"
#include "dryer/setup/bracketed_five_speed_setup.h"
#include "dryer/setup/hardware_dialogs.h"
#include "dryer/setup/unload_parameters.h"
#include "platform/devices/serial.h"
#include "platform/drawing/gdi.h"
#include "platform/runtime/instance_lock.h"
#include "platform/runtime/program_start.h"
#include "platform/runtime/runtime.h"
#include "platform/storage/files.h"
#include "platform/storage/registry.h"
#include "platform/windowing/dialog.h"
#include "platform/windowing/window.h"
#include "resources/orbitdryer/bitmap_table.h"
#include "resources/orbitdryer/home_panel_art.h"

#if __has_include("sim/display_io_sim.h")
#include "platform/devices/host_stream.h"
#include "platform/runtime/threads.h"
#include "sim/display_io_sim.h"
#define ORBITDRYER_HAS_SIMULATOR 1
#endif

namespace {

#ifdef ORBITDRYER_HAS_SIMULATOR
// Serves the simulator's control channel (warnings, faults, byte settings) on a local socket
// during a --simulate run, so that someone trying the panel can raise a shutdown or cut the
// link and watch the display react.
class SimulatorControl {
public:
    SimulatorControl(sim::DisplayIoSimulator& simulator, const std::string& path)
        : simulator_(simulator), server_(path)
    {
        if (server_.valid()) thread_ = CreateThread(nullptr, 0, &Serve, this, 0, nullptr);
    }
    ~SimulatorControl()
    {
        stop_ = true;
        if (thread_ == nullptr) return;
        WaitForSingleObject(thread_, INFINITE);
        CloseHandle(thread_);
    }
    SimulatorControl(const SimulatorControl&) = delete;
    SimulatorControl& operator=(const SimulatorControl&) = delete;

    bool valid() const { return thread_ != nullptr; }
    const std::string& error() const { return server_.error(); }

private:
    static DWORD Serve(void* self)
    {
        auto* control = static_cast<SimulatorControl*>(self);
        while (!control->stop_) {
            control->server_.Serve(200, [control](const std::string& line) {
                return control->simulator_.Control(line);
            });
        }
        return 0;
    }

    sim::DisplayIoSimulator& simulator_;
    platform::LineSocketServer server_;
    std::atomic<bool> stop_{false};
    HANDLE thread_ = nullptr;
};
#endif

// Posted by the decoder's hooks (communication thread) to the main window.
constexpr UINT kMsgHomeComposition = WM_APP + 0x102;
constexpr UINT kMsgBatchLayout = WM_APP + 0x103;
constexpr UINT kMsgRefreshButtons = WM_APP + 0x104;
// Posted once at start-up when the registry was damaged and has been made afresh.
constexpr UINT kMsgRegistryNotice = WM_APP + 0x105;

std::atomic<HWND> gMainWindow{nullptr};
HINSTANCE gInstance = nullptr;
platform::InstanceLock* gInstanceLock = nullptr;  // set by OrbitDryerMain for raise requests
platform::RegistryOpening gRegistry;              // how the registry opened at start-up

// ---- decoder hooks: hand the work to the user-interface thread ----

void PostHomeComposition()
{
    PostMessage(gMainWindow.load(), kMsgHomeComposition, 0, 0);
}

void PostRefreshButtons()
{
    PostMessage(gMainWindow.load(), kMsgRefreshButtons, 0, 0);
}

void PostBatchLayout(std::uint8_t)
{
    PostMessage(gMainWindow.load(), kMsgBatchLayout, 0, 0);
}

// Tells the operator that the stored settings were lost with a damaged registry file, and
// where that file went.
void ShowRegistryNotice(HWND wnd)
{
    const std::wstring text =
        L"The settings file " + gRegistry.file.filename().wstring() +
        L" was damaged and could not be read. It was moved aside as " +
        gRegistry.movedTo.filename().wstring() +
        L" and a new one was made: the display settings are back at their defaults.";
    MessageBox(wnd, text.c_str(), L"SETTINGS FILE DAMAGED", MB_OK);
}

// The main window procedure of the screen manager, with the hook messages in front.
LRESULT ProgramWindowProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
        case kMsgRegistryNotice: ShowRegistryNotice(wnd); return 0;
        case kMsgHomeComposition:
            HomeComposition();
            RefreshMainButtons();
            return 0;
        case kMsgBatchLayout: LayOutBatchTimerButtons(); return 0;
        case kMsgRefreshButtons: RefreshMainButtons(); return 0;
    }
    return MainWindowProc(wnd, msg, wp, lp);
}

// ---- instance set-up ----

bool InitInstance(HINSTANCE instance)
{
    gInstance = instance;
    WNDCLASS wc;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = ProgramWindowProc;
    wc.hInstance = instance;
    wc.iconId = 101;
    wc.hbrBackground = GetStockObject(BLACK_BRUSH);
    wc.lpszClassName = kMainWindowClass;
    RegisterClass(&wc);

    HWND main =
        CreateWindowEx(WS_EX_TOPMOST, kMainWindowClass, kMainWindowTitle, WS_VISIBLE, CW_USEDEFAULT,
                       CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, 0, instance, nullptr);
    if (main == nullptr) return false;

    ClearShutdownHistoryVolumeId();
    gMainWindow.store(main);
    if (gInstanceLock != nullptr) {
        gInstanceLock->ListenForRaise([] { PostMessage(gMainWindow.load(), kMsgRaiseMain, 0, 0); });
    }
    LoadDisplaySettings();
    if (gRegistry.outcome == platform::RegistryOpening::Outcome::Recovered) {
        SaveDisplaySettings();  // the fresh registry holds the settings in use again
        PostMessage(main, kMsgRegistryNotice, 0, 0);
    }
    // Until the dryer reports its view, the stored one decides the home screen.
    SetBits(DryerImage, graphViewBit, CurrentDisplaySettings().screenView == 1);
    CreateScreenSet(main, instance);
    HomeCompositionHook.store(PostHomeComposition);
    RefreshMainButtonsHook.store(PostRefreshButtons);
    EnableTimerButtonsHook.store(PostBatchLayout);
    HardwareSetupAcceptedHook = RequestStatusRefresh;
    OpenDryerLink();  // without a port the display runs without a link
    ResetMoistureViewState();

    StartTimers(main);
    SetShutdownTextSource(&home_panels::WarningCatalogueText);  // records carry the catalogue text
    StartShutdownHistory();
    UpdateWindow(main);
    return true;
}

void HideTaskbar()
{
    HKEY key = nullptr;
    DWORD disposition = 0;
    if (RegCreateKeyEx(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Shell\\AutoHide", 0, nullptr, 0,
                       KEY_ALL_ACCESS, nullptr, &key, &disposition) != ERROR_SUCCESS) {
        return;  // ignored: the panel works with the taskbar shown
    }
    const BYTE one = 1;
    RegSetValueEx(key, L"Default", 0, REG_DWORD, &one, 1);
    RegCloseKey(key);
}

HWND FindMainWindow()
{
    return FindWindow(kMainWindowClass, kMainWindowTitle);
}

// After every message: the decoder's two requests become commands to the main window.
void CheckLinkRequests()
{
    if (OpenMeteringScreenRequest.load() == 1) {
        OpenMeteringScreenRequest.store(0);
        SendMessage(FindMainWindow(), WM_COMMAND, kCmdOpenMetering, 0);
    }
    if (DefaultsSwitchScreenRequest.load() != 0 && DefaultsSwitchDismissed.load() == 0) {
        DefaultsSwitchScreenRequest.store(0);
        SendMessage(FindMainWindow(), WM_COMMAND, kCmdDefaultsSwitch, 0);
    }
}

int MessageLoop(HACCEL accelerators)
{
    MSG msg;
    while (GetMessage(&msg, nullptr, 0, 0)) {
        if (!TranslateAccelerator(msg.hwnd, accelerators, &msg)) {
            TranslateMessage(&msg);
            DispatchMessage(&msg);
        }
        CheckLinkRequests();
    }
    return static_cast<int>(msg.wParam);
}

// Program-start values of everything a run keeps in globals (a test may run several).
void ResetProgramState()
{
    ResetLinkStateForTest();
    ResetScreenManager();
    ResetTicks();
    ResetUnloadRatesWarning();
    ResetFiveSpeedSelection();
    gMainWindow.store(nullptr);
}

std::vector<BitmapResource>& ProgramBitmaps()
{
    static std::vector<BitmapResource> table;
    return table;
}

void RegisterProgramBitmaps()
{
    std::vector<BitmapResource>& table = ProgramBitmaps();
    table.clear();
    for (const BitmapResource& r : OrbitDryerBitmaps()) table.push_back(r);
    for (const BitmapResource& r : HomePanelBitmaps()) table.push_back(r);
    platform::RegisterBitmapResources("orbitdryer", table);
}

}  // namespace

int RunOrbitDryer(HINSTANCE instance)
{
    if (HWND running = FindWindow(kMainWindowClass, nullptr); running != nullptr) {
        // The low bit brings the running display's owned windows forward with it.
        SetForegroundWindow(reinterpret_cast<HWND>(reinterpret_cast<std::uintptr_t>(running) | 1u));
        return 0;
    }
    if (!InitInstance(instance)) return 0;

    SetForegroundWindow(FindMainWindow());
    const ACCEL table[] = {{FVIRTKEY | FALT, VK_F4, kCmdAltF4},
                           {FVIRTKEY | FALT, VK_OEM_2, kCmdAltSlash}};
    HACCEL accelerators = CreateAcceleratorTable(table, 2);

    SetValue(DryerImage, dryerState, kDryerStateIdle);
    HideTaskbar();
    return MessageLoop(accelerators);
}

void RequestOrbitDryerQuit()
{
    PostMessage(gMainWindow.load(), WM_CLOSE, 0, 0);
}

int OrbitDryerMain(const OrbitDryerOptions& options)
{
    // The programs this display starts (the explorer on the manuals) get its panel options; not
    // the simulator's pseudo-terminal, which ends with this program.
    platform::ProgramStart start;
    start.program = "orbitdryer";
    start.root = options.root;
    start.usb = options.usb;
    start.port = options.simulate ? std::string() : options.port;
    start.makeHardDisk = true;
    start.screen.headless = options.headless;
    start.screen.scale = options.scale;
    start.screen.fullscreen = options.fullscreen;
    start.screen.title = "OrbitDryer";
    start.screen.controlSocket = options.control;
    start.screenAlreadyOpen = options.screenAlreadyOpen;
    start.http = options.http;
    const std::optional<platform::PanelFolders> folders = platform::SetUpPanelFolders(start);
    if (!folders) return 2;
    const std::filesystem::path& root = folders->root;

    // One display per panel root; without the lock it does not run at all, since two
    // displays on one root would poll one port and write one set of files.
    platform::InstanceLock instance;
    switch (instance.Claim(root / "orbitdryer.lock")) {
        case platform::InstanceClaim::First: break;
        case platform::InstanceClaim::AlreadyRunning:
            std::fprintf(stderr, "orbitdryer: a display already runs on panel root %s; %s\n",
                         root.string().c_str(),
                         instance.raised() ? "it was brought to the front"
                                           : "it could not be asked to come to the front");
            return 0;
        case platform::InstanceClaim::Failed:
            std::fprintf(stderr,
                         "orbitdryer: %s; a second display on this root cannot be ruled out, so "
                         "none starts\n",
                         instance.error().c_str());
            return 2;
    }

    gRegistry = platform::OpenRegistry();  // a damaged file is moved aside (said on stderr)
    if (gRegistry.outcome == platform::RegistryOpening::Outcome::Unusable) {
        std::fprintf(
            stderr, "orbitdryer: the registry %s cannot be used (%s); settings will not be saved\n",
            gRegistry.file.c_str(), gRegistry.reason.c_str());
    }
#ifdef ORBITDRYER_HAS_SIMULATOR
    std::unique_ptr<sim::DisplayIoSimulator> simulator;
    std::unique_ptr<SimulatorControl> simulatorControl;
    if (options.simulate) {
        sim::SimOptions simOptions;
        if (!options.scenario.empty()) simOptions.scenario = options.scenario;
        // The simulated board keeps the settings the panel saves beside the panel's files.
        simOptions.settingsFile = (root / "dryersim-settings.json").string();
        simulator = std::make_unique<sim::DisplayIoSimulator>(simOptions);
        if (!simulator->Start()) {
            std::fprintf(stderr, "orbitdryer: the simulator could not start: %s\n",
                         simulator->lastError().c_str());
            return 2;
        }
        platform::SetComPortDevice(L"COM1:", simulator->devicePath());
        if (!options.simControl.empty()) {
            simulatorControl = std::make_unique<SimulatorControl>(*simulator, options.simControl);
            if (!simulatorControl->valid()) {
                std::fprintf(stderr, "orbitdryer: cannot open the simulator socket %s: %s\n",
                             options.simControl.c_str(), simulatorControl->error().c_str());
                return 2;
            }
        }
    } else {
        platform::SetComPortDevice(L"COM1:", options.port);
    }
#else
    if (options.simulate) {
        std::fprintf(stderr, "orbitdryer: built without the simulator\n");
        return 2;
    }
    platform::SetComPortDevice(L"COM1:", options.port);
#endif

    const platform::ProgramScreen screen(start);
    if (!screen.ok()) return 2;

    ResetProgramState();
    RegisterProgramBitmaps();
    gInstanceLock = &instance;
    const int code = RunOrbitDryer(nullptr);
    StopDryerLink();
    HomeCompositionHook.store(nullptr);
    RefreshMainButtonsHook.store(nullptr);
    EnableTimerButtonsHook.store(nullptr);
    instance.Release();  // no raise requests once the windows go
    gInstanceLock = nullptr;
    // Windows, timers and the control socket go with the screen this run opened (at the end of
    // this scope); a test's screen is the test's to close.
    return code;
}
