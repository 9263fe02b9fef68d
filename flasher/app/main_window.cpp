// NodeFlasher's main window: four coloured bands, one per step (scan, select, upload, exit),
// each with its button and its texts; the splash over it for the first 2.5 s; and the 50 ms
// timer that drives the programming link.
#include <array>

#include "flasher/app/flasher_program.h"
#include "flasher/app/main_window.h"
#include "flasher/node_link.h"
#include "platform/controls/controls.h"
#include "platform/drawing/gdi.h"
#include "platform/windowing/dialog.h"
#include "platform/windowing/window.h"

namespace {

constexpr UINT kMsgCloseSplash = WM_APP + 0x201;
constexpr int kTextLeft = 225;
constexpr int kTextRight = 640;
constexpr int kSelectedFolderLeft = 375;
// The band texts are laid out for the panel's small font: "PROGRAM TO UPLOAD -->" fits the
// 150 pixels before the folder name.
constexpr LONG kBandFontHeight = 12;

struct Band {
    RECT fill;
    COLORREF colour;
    const wchar_t* caption;
    int x, y, width, height;
    WORD command;
};

constexpr std::array<Band, 4> kBands = {{
    {{10, 5, 630, 105}, RGB(20, 220, 20), L"SCAN NETWORK", 15, 25, 200, 50, kCmdScanNetwork},
    {{10, 125, 630, 225}, RGB(255, 255, 0), L"SELECT PROGRAM", 15, 150, 200, 50, kCmdSelectProgram},
    {{10, 248, 630, 348}, RGB(50, 50, 220), L"START UPLOAD", 15, 275, 200, 50, kCmdStartUpload},
    {{10, 373, 630, 470}, RGB(255, 25, 50), L"EXIT TO DRYER", 15, 400, 200, 50, kCmdExitToDryer},
}};

struct BandText {
    int top, bottom;
    const wchar_t* text;
};

constexpr std::array<BandText, 6> kFixedTexts = {{
    {30, 55, L"Scan the network for all nodes present."},
    {55, 80, L"(This will also report address conflicts for Fan/Heaters.)"},
    {155, 180, L"Select program to upload."},
    {280, 305, L"Start uploading new program to dryer."},
    {305, 330, L"(Once started this cannot be cancelled!)"},
    {405, 430, L"Exit NodeFlasher and Start Dryer."},
}};

constexpr std::array<int, 3> kLineRows = {112, 237, 362};

void DrawLine(HDC dc, int left, int top, int right, int bottom, const wchar_t* text)
{
    RECT r{left, top, right, bottom};
    DrawText(dc, text, -1, &r, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
}

void PaintBands(HDC dc, int width, int height)
{
    RECT all{0, 0, width, height};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    for (const Band& band : kBands) {
        HBRUSH brush = CreateSolidBrush(band.colour);
        FillRect(dc, &band.fill, brush);
        DeleteObject(brush);
    }
    HPEN pen = CreatePen(PS_SOLID, 2, RGB(0, 0, 0));
    HGDIOBJ oldPen = SelectObject(dc, pen);
    for (int y : kLineRows) {
        MoveToEx(dc, 10, y, nullptr);
        LineTo(dc, 630, y);
    }
    SelectObject(dc, oldPen);
    DeleteObject(pen);

    LOGFONT lf;
    lf.lfHeight = kBandFontHeight;
    HFONT font = CreateFontIndirect(&lf);
    HGDIOBJ oldFont = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    for (const BandText& t : kFixedTexts)
        DrawLine(dc, kTextLeft, t.top, kTextRight, t.bottom, t.text);
    if (FlasherProgram.programSelected) {
        DrawLine(dc, kTextLeft, 180, kTextRight, 205, L"PROGRAM TO UPLOAD -->");
        const std::wstring folder = SelectedProgramFolder();
        DrawLine(dc, kSelectedFolderLeft, 180, kTextRight, 205, folder.c_str());
    } else {
        DrawLine(dc, kTextLeft, 180, kTextRight, 205, L"(Must select PROGRAM prior to upload.)");
    }
    SelectObject(dc, oldFont);
    DeleteObject(font);
}

void PaintMainWindow(HWND wnd)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(wnd, &ps);
    RECT client;
    GetClientRect(wnd, &client);
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, client.right, client.bottom);
    HGDIOBJ oldBitmap = SelectObject(memory, bitmap);
    PaintBands(memory, client.right, client.bottom);
    BitBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
    SelectObject(memory, oldBitmap);
    DeleteObject(bitmap);
    DeleteDC(memory);
    EndPaint(wnd, &ps);
    if (FlasherProgram.programSelected) EnableWindow(GetDlgItem(wnd, kCmdStartUpload), TRUE);
}

// ---- splash ----

INT_PTR SplashProc(HWND dlg, UINT msg, WPARAM, LPARAM)
{
    switch (msg) {
        case WM_INITDIALOG:
            FlasherProgram.splash = dlg;
            // The tick may have counted past the splash time while the window came up.
            if (FlasherProgram.splashTicks >= kSplashTicks) PostMessage(dlg, kMsgCloseSplash, 0, 0);
            return TRUE;
        case kMsgCloseSplash:
            FlasherProgram.splash = nullptr;
            EndDialog(dlg, IDOK);
            return TRUE;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(dlg, &ps);
            RECT client;
            GetClientRect(dlg, &client);
            FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
            HBITMAP picture = LoadBitmap(nullptr, kSplashBitmapId);
            if (picture != nullptr) {
                BITMAP info{};
                GetObject(picture, sizeof info, &info);
                HDC memory = CreateCompatibleDC(dc);
                HGDIOBJ old = SelectObject(memory, picture);
                BitBlt(dc, (client.right - info.bmWidth) / 2, 10, info.bmWidth, info.bmHeight,
                       memory, 0, 0, SRCCOPY);
                SelectObject(memory, old);
                DeleteDC(memory);
                DeleteObject(picture);
            }
            LOGFONT lf;
            lf.lfHeight = 20;
            lf.lfWeight = FW_BOLD;
            HFONT font = CreateFontIndirect(&lf);
            HGDIOBJ oldFont = SelectObject(dc, font);
            SetBkMode(dc, TRANSPARENT);
            SetTextColor(dc, RGB(0, 0, 0));
            RECT line{0, client.bottom - 40, client.right, client.bottom - 10};
            DrawText(dc, kSplashVersionText, -1, &line, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
            SelectObject(dc, oldFont);
            DeleteObject(font);
            EndPaint(dlg, &ps);
            return TRUE;
        }
    }
    return FALSE;
}

void OpenSplash(HWND owner)
{
    DialogTemplate tmpl;
    tmpl.width = kSplashWidth;
    tmpl.height = kSplashHeight;
    tmpl.style = WS_POPUP | DS_CENTER;
    tmpl.background = RGB(255, 255, 255);
    DialogBoxIndirectParam(nullptr, tmpl, owner, SplashProc, 0);
}

// Step 1 of every FlasherTick: counts the first 50 ticks, then tells the splash to go.
void SplashCheck()
{
    if (FlasherProgram.splashTicks < kSplashTicks) ++FlasherProgram.splashTicks;
    if (FlasherProgram.splashTicks >= kSplashTicks && FlasherProgram.splash != nullptr) {
        PostMessage(FlasherProgram.splash, kMsgCloseSplash, 0, 0);
    }
}

void CreateBandButtons(HWND wnd)
{
    for (const Band& band : kBands) {
        DWORD style = WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON;
        if (band.command == kCmdSelectProgram || band.command == kCmdStartUpload) {
            style |= WS_DISABLED;
        }
        CreateWindowEx(0, L"button", band.caption, style, band.x, band.y, band.width, band.height,
                       wnd, band.command, nullptr, nullptr);
    }
}

void OnCommand(HWND wnd, WORD id)
{
    switch (id) {
        case kCmdScanNetwork: ScanNetwork(wnd); break;
        case kCmdSelectProgram: SelectProgram(wnd); break;
        case kCmdStartUpload: StartUpload(wnd); break;
        case kCmdExitToDryer: ExitToDryer(wnd); break;
    }
}

}  // namespace

void InstallFlasherTick(HWND wnd)
{
    FlasherTickSteps steps = FlasherHooks().tick;
    steps.splashCheck = SplashCheck;
    SetFlasherTickSteps(steps);
    SetTimer(wnd, kFlasherTimerId, kFlasherTickMs, nullptr);
}

LRESULT FlasherWindowProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
        case WM_CREATE: CreateBandButtons(wnd); return 0;
        case WM_TIMER:
            if (wp == kFlasherTimerId) FlasherTick();
            if (wp == kExitPauseTimerId) FinishExitToDryer(wnd);
            return 0;
        case WM_PAINT:
            PaintMainWindow(wnd);
            if (!FlasherProgram.splashShown) {
                FlasherProgram.splashShown = true;
                OpenSplash(wnd);
            }
            return 0;
        case WM_COMMAND: OnCommand(wnd, LOWORD(wp)); return 0;
        case WM_DESTROY:
            KillTimer(wnd, kFlasherTimerId);
            KillTimer(wnd, kExitPauseTimerId);
            FlasherProgram.mainWindow = nullptr;
            PostQuitMessage(0);
            return 0;
    }
    return DefWindowProc(wnd, msg, wp, lp);
}
