// The program entry of CopyOrbitFiles and its host set-up: panel folders and screen, the class
// and main window, the command bar, the one-second search timer, the accelerators and the
// message loop.
#include "installer/app/copy_orbit_files.h"

#include <atomic>
#include <cstdio>

#include "installer/usb_install.h"
#include "platform/drawing/gdi.h"
#include "platform/runtime/program_start.h"
#include "platform/windowing/window.h"

namespace {

std::atomic<HWND> gMainWindow{nullptr};

int MessageLoop(HWND main, HACCEL accelerators)
{
    MSG msg;
    while (GetMessage(&msg, nullptr, 0, 0)) {
        if (!TranslateAccelerator(main, accelerators, &msg)) {
            TranslateMessage(&msg);
            DispatchMessage(&msg);
        }
    }
    return static_cast<int>(msg.wParam);
}

}  // namespace

void ResetCopyOrbitFiles()
{
    gMainWindow.store(nullptr);
    ResetUsbInstall();
}

int RunCopyOrbitFiles(HINSTANCE instance)
{
    WNDCLASS wc;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = CopyWindowProc;
    wc.hInstance = instance;
    wc.iconId = kCopyIconId;
    wc.hbrBackground = GetStockObject(WHITE_BRUSH);
    wc.lpszClassName = kCopyWindowClass;
    RegisterClass(&wc);
    HWND main =
        CreateWindowEx(0, kCopyWindowClass, kCopyWindowTitle, WS_VISIBLE, CW_USEDEFAULT,
                       CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, 0, instance, nullptr);
    if (main == nullptr) {
        std::fputs("copyorbitfiles: the main window could not be made\n", stderr);
        return 2;
    }
    gMainWindow.store(main);
    ShowWindow(main, SW_SHOW);
    UpdateWindow(main);
    ShowCommandBar(main);
    SetTimer(main, kUsbSearchTimerId, kUsbSearchTickMs, nullptr);
    // The keyboard's way to the menu commands: Alt+F4 leaves, Alt+/ shows the About box.
    const ACCEL table[] = {{FVIRTKEY | FALT, VK_F4, kCmdFileExit},
                           {FVIRTKEY | FALT, VK_OEM_2, kCmdHelpAbout}};
    HACCEL accelerators = CreateAcceleratorTable(table, 2);
    const int code = MessageLoop(main, accelerators);
    gMainWindow.store(nullptr);
    return code;
}

void RequestCopyOrbitFilesQuit()
{
    PostMessage(gMainWindow.load(), WM_CLOSE, 0, 0);
}

int CopyOrbitFilesMain(const CopyOrbitFilesOptions& options)
{
    platform::ProgramStart start;
    start.program = "copyorbitfiles";
    start.root = options.root;
    start.usb = options.usb;
    // No port of its own: the PANEL_PORT it was given goes on to NodeFlasher and the display.
    start.screen.headless = options.headless;
    start.screen.title = "CopyOrbitFiles";
    start.screen.controlSocket = options.control;
    start.screenAlreadyOpen = options.screenAlreadyOpen;
    start.http = options.http;
    if (!platform::SetUpPanelFolders(start)) return 2;
    const platform::ProgramScreen screen(start);
    if (!screen.ok()) return 2;
    ResetCopyOrbitFiles();
    RegisterCopyOrbitFilesPictures();
    return RunCopyOrbitFiles(nullptr);
}
