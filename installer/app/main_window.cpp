// CopyOrbitFiles' main window: the title picture, the four picture buttons (start the dryer,
// start NodeFlasher, install from USB, exit to Windows), the menu commands and the hand-over
// to the next program. Every hand-over ends the program, whether the next one started or not.
#include <array>

#include "installer/app/copy_orbit_files.h"
#include "installer/usb_install.h"
#include "platform/controls/controls.h"
#include "platform/drawing/gdi.h"
#include "platform/runtime/process.h"
#include "platform/storage/files.h"
#include "platform/windowing/dialog.h"
#include "platform/windowing/window.h"

namespace {

struct PictureButton {
    WORD command;
    int x, y, width, height;
    int bitmap;
};

constexpr std::array<PictureButton, 4> kButtons = {{
    {kCmdStartDryer, 350, 55, 250, 60, kBitmapStartDryer},
    {kCmdNodeFlasher, 350, 160, 250, 60, kBitmapNodeFlasher},
    {kCmdInstallFromUsb, 350, 235, 250, 60, kBitmapInstall},
    {kCmdExitToWindows, 350, 310, 250, 60, kBitmapExitToWindows},
}};

// Every bitmap the window loads when it is made and frees when it goes.
constexpr std::array<int, 8> kLoadedBitmaps = {
    kBitmapStartDryer, kBitmapStartDryerAlt, kBitmapNodeFlasher,   kBitmapNodeFlasherAlt,
    kBitmapInstall,    kBitmapInstallAlt,    kBitmapExitToWindows, kBitmapExitToWindowsAlt,
};
std::array<HBITMAP, kLoadedBitmaps.size()> gBitmaps{};

// A program the main window hands over to, with the message box that says it did not start.
struct HandOver {
    const wchar_t* withHardDisk;
    const wchar_t* withoutHardDisk;
    const wchar_t* failureText;
    const wchar_t* failureIcop;
    const wchar_t* failureAb;
};

constexpr HandOver kKickoff = {L"\\Hard Disk\\Kickoff.exe", L"\\Kickoff.exe", kKickoffMissingText,
                               kKickoffMissingIcop, kKickoffMissingAb};
constexpr HandOver kNodeFlasher = {L"\\Hard Disk\\NodeFlasher.exe", L"\\NodeFlasher.exe",
                                   kNodeFlasherMissingText, kNodeFlasherMissingIcop,
                                   kNodeFlasherMissingAb};

// The panel with a hard disk (ICOP) keeps its programs in "\Hard Disk"; the other (AB) in the
// root.
bool PanelHasHardDisk()
{
    const DWORD attributes = GetFileAttributes(L"\\Hard Disk");
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// Starts a panel program with the given command line; the handles are not kept.
bool StartProgram(const wchar_t* path, const wchar_t* commandLine)
{
    PROCESS_INFORMATION info;
    if (!CreateProcess(path, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr,
                       &info)) {
        return false;
    }
    if (info.hProcess != nullptr) CloseHandle(info.hProcess);
    if (info.hThread != nullptr) CloseHandle(info.hThread);
    return true;
}

void HandOverTo(HWND wnd, const HandOver& next)
{
    const bool hardDisk = PanelHasHardDisk();
    if (!StartProgram(hardDisk ? next.withHardDisk : next.withoutHardDisk, L"")) {
        MessageBox(wnd, next.failureText, hardDisk ? next.failureIcop : next.failureAb, MB_OK);
    }
    DestroyWindow(wnd);
}

void ExitToWindows(HWND wnd)
{
    if (MessageBox(wnd, kExitQuestionText, kExitQuestionCaption, MB_YESNO | MB_ICONEXCLAMATION) !=
        IDYES) {
        return;
    }
    // A desktop that does not start has no message of its own; the program ends all the same.
    StartProgram(L"\\windows\\explorer.exe", PanelHasHardDisk() ? L"\\hard disk\\" : L"\\");
    DestroyWindow(wnd);
}

void LoadButtonBitmaps()
{
    for (std::size_t i = 0; i < kLoadedBitmaps.size(); ++i) {
        gBitmaps[i] = LoadBitmap(nullptr, kLoadedBitmaps[i]);
    }
}

void FreeButtonBitmaps()
{
    for (HBITMAP& bitmap : gBitmaps) {
        if (bitmap != nullptr) DeleteObject(bitmap);
        bitmap = nullptr;
    }
}

HBITMAP LoadedBitmap(int id)
{
    for (std::size_t i = 0; i < kLoadedBitmaps.size(); ++i) {
        if (kLoadedBitmaps[i] == id) return gBitmaps[i];
    }
    return nullptr;
}

void CreatePictureButtons(HWND wnd)
{
    for (const PictureButton& b : kButtons) {
        CreateWindowEx(0, WC_BUTTON, L"SETUP", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, b.x, b.y,
                       b.width, b.height, wnd, b.command, nullptr, nullptr);
    }
}

// Copies a bitmap unscaled to (x, y) of the context.
void DrawBitmap(HDC dc, HBITMAP bitmap, int x, int y, int width, int height)
{
    if (bitmap == nullptr) return;
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(dc, x, y, width, height, memory, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
}

void DrawPictureButton(const DRAWITEMSTRUCT& item)
{
    for (const PictureButton& b : kButtons) {
        if (b.command != item.CtlID) continue;
        DrawBitmap(item.hDC, LoadedBitmap(b.bitmap), item.rcItem.left, item.rcItem.top,
                   item.rcItem.right - item.rcItem.left, item.rcItem.bottom - item.rcItem.top);
        return;
    }
}

void PaintMainWindow(HWND wnd)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(wnd, &ps);
    RECT client;
    GetClientRect(wnd, &client);
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP canvas = CreateCompatibleBitmap(dc, client.right, client.bottom);
    HGDIOBJ oldCanvas = SelectObject(memory, canvas);
    FillRect(memory, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    PaintCommandBar(memory, client.right);
    HBITMAP title = LoadBitmap(nullptr, kBitmapTitle);
    DrawBitmap(memory, title, kTitlePicture.left, kTitlePicture.top,
               kTitlePicture.right - kTitlePicture.left, kTitlePicture.bottom - kTitlePicture.top);
    if (title != nullptr) DeleteObject(title);
    BitBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
    SelectObject(memory, oldCanvas);
    DeleteObject(canvas);
    DeleteDC(memory);
    EndPaint(wnd, &ps);
}

void OnCommand(HWND wnd, int id)
{
    if (OnCommandBar(wnd, id)) return;
    CloseMenus(wnd);
    switch (id) {
        case kCmdStartDryer: HandOverTo(wnd, kKickoff); return;
        case kCmdNodeFlasher: HandOverTo(wnd, kNodeFlasher); return;
        case kCmdExitToWindows: ExitToWindows(wnd); return;
        case kCmdInstallFromUsb: InstallFromUsb(wnd); return;
        case kCmdFileExit: DestroyWindow(wnd); return;
        case kCmdHelpAbout: OpenAboutBox(wnd); return;
    }
}

void OnCreate(HWND wnd)
{
    LoadButtonBitmaps();
    CreatePictureButtons(wnd);
    CreateCommandBar(wnd);
}

void OnDestroy(HWND wnd)
{
    KillTimer(wnd, kUsbSearchTimerId);
    FreeButtonBitmaps();  // the command bar goes with its window
    PostQuitMessage(0);
}

}  // namespace

LRESULT CopyWindowProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
        case WM_CREATE: OnCreate(wnd); return 0;
        case WM_PAINT: PaintMainWindow(wnd); return 0;
        case WM_DRAWITEM:
            DrawPictureButton(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
            return TRUE;
        case WM_LBUTTONDOWN: CloseMenus(wnd); return 0;
        case WM_COMMAND: OnCommand(wnd, LOWORD(wp)); return 0;
        case WM_TIMER:
            if (wp == kUsbSearchTimerId) UsbSearchTick(wnd);
            return 0;
        case WM_DESTROY: OnDestroy(wnd); return 0;
    }
    return DefWindowProc(wnd, msg, wp, lp);
}
