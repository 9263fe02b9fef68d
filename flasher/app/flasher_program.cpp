// The program entry of NodeFlasher and its host set-up: status key, class and main window,
// the port, the 50 ms tick, the automatic scan and the message loop.
#include "flasher/app/flasher_program.h"

#include <atomic>
#include <cstdio>
#include <memory>

#include "flasher/app/main_window.h"
#include "flasher/node_link.h"
#include "flasher/node_messages.h"
#include "platform/devices/serial.h"
#include "platform/drawing/gdi.h"
#include "platform/drawing/resources.h"
#include "platform/runtime/program_start.h"
#include "platform/runtime/runtime.h"
#include "platform/runtime/utf8.h"
#include "platform/storage/files.h"
#include "platform/windowing/dialog.h"
#include "platform/windowing/window.h"

#if __has_include("sim/display_io_sim.h")
#include "sim/display_io_sim.h"
#define NODEFLASHER_HAS_SIMULATOR 1
#endif

namespace {

std::atomic<HWND> gMainWindow{nullptr};

constexpr BitmapResource kFlasherBitmaps[] = {
    {kSplashBitmapId, 300, 150, L"NodeFlasher\nnode firmware upload", ArtKind::Picture,
     RGB(200, 230, 255), nullptr},
};

}  // namespace

const wchar_t* MatchStatusKey(std::wstring_view commandLine)
{
    for (const wchar_t* key : kStatusKeys) {
        if (commandLine == key) return key;
    }
    return nullptr;
}

void ResetFlasherProgram()
{
    FlasherProgram = FlasherProgramState{};
    gMainWindow.store(nullptr);
    ResetNodeLinkForTest();
}

int RunNodeFlasher(HINSTANCE instance, const std::wstring& commandLine)
{
    if (const wchar_t* key = MatchStatusKey(commandLine); key != nullptr) {
        FlasherProgram.automaticScan = true;
        FlasherProgram.statusKey = key;
    }
    WNDCLASS wc;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = FlasherWindowProc;
    wc.hInstance = instance;
    wc.iconId = kFlasherIconId;
    wc.hbrBackground = GetStockObject(WHITE_BRUSH);
    wc.lpszClassName = kFlasherWindowClass;
    RegisterClass(&wc);
    HWND main =
        CreateWindowEx(0, kFlasherWindowClass, kFlasherWindowTitle, WS_VISIBLE, CW_USEDEFAULT,
                       CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, 0, instance, nullptr);
    if (main == nullptr) return 0;
    FlasherProgram.mainWindow = main;
    gMainWindow.store(main);

    if (!OpenNodeLink()) MessageBox(main, kCouldNotOpenPortText, L"", MB_OK);
    if (FlasherHooks().clearNodeSteps != nullptr) FlasherHooks().clearNodeSteps();
    InstallFlasherTick(main);
    ShowWindow(main, SW_SHOW);
    UpdateWindow(main);  // the first paint shows the splash until the tick closes it
    if (FlasherProgram.automaticScan && IsWindow(main)) {
        SendMessage(main, WM_COMMAND, kCmdScanNetwork, 0);
    }

    MSG msg;
    while (GetMessage(&msg, nullptr, 0, 0)) {
        TranslateMessage(&msg);
        DispatchMessage(&msg);
    }
    CloseNodeLink();
    gMainWindow.store(nullptr);
    return static_cast<int>(msg.wParam);
}

void RequestNodeFlasherQuit()
{
    PostMessage(gMainWindow.load(), WM_CLOSE, 0, 0);
}

int NodeFlasherMain(const NodeFlasherOptions& options)
{
    platform::ProgramStart start;
    start.program = "nodeflasher";
    start.root = options.root;
    start.usb = options.usb;
    start.port = options.simulate ? std::string() : options.port;
    start.screen.headless = options.headless;
    start.screen.title = "NodeFlasher";
    start.screen.controlSocket = options.control;
    start.screenAlreadyOpen = options.screenAlreadyOpen;
    start.http = options.http;
    if (!platform::SetUpPanelFolders(start)) return 2;

#ifdef NODEFLASHER_HAS_SIMULATOR
    std::unique_ptr<sim::DisplayIoSimulator> simulator;
    if (options.simulate) {
        simulator = std::make_unique<sim::DisplayIoSimulator>(sim::SimOptions{});
        if (!simulator->Start()) {
            std::fprintf(stderr, "nodeflasher: the simulator could not start: %s\n",
                         simulator->lastError().c_str());
            return 2;
        }
        platform::SetComPortDevice(L"COM1:", simulator->devicePath());
    } else {
        platform::SetComPortDevice(L"COM1:", options.port);
    }
#else
    if (options.simulate) {
        std::fprintf(stderr, "nodeflasher: built without the simulator\n");
        return 2;
    }
    platform::SetComPortDevice(L"COM1:", options.port);
#endif

    const platform::ProgramScreen screen(start);
    if (!screen.ok()) return 2;
    ResetFlasherProgram();
    platform::RegisterBitmapResources("nodeflasher", kFlasherBitmaps);
    return RunNodeFlasher(nullptr, platform::Widen(options.statusKey));
}
