// The control gallery: one screen with every built-in control of the panel platform, a modal
// dialog and a message box. With --screenshot it composes the screen headless and saves it;
// with --screenshot-dialog it also opens the dialog and a message box over it and saves that.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

#include "platform/controls/controls.h"
#include "platform/drawing/gdi.h"
#include "platform/drawing/gdi_scope.h"
#include "platform/drawing/painter.h"
#include "platform/runtime/command_line.h"
#include "platform/runtime/runtime.h"
#include "platform/runtime/termination.h"
#include "platform/windowing/dialog.h"
#include "platform/windowing/window.h"

namespace {

constexpr const wchar_t* kGalleryClass = L"GALLERY_WINDOW";
constexpr COLORREF kBackground = RGB(192, 192, 192);

enum ControlId : int {
    kPush = 101,
    kDefault,
    kMultiLine,
    kOwnerDrawn,
    kDisabled,
    kHeld,
    kCheckWarning,
    kCheckNode,
    kRadioF,
    kRadioC,
    kLeftText,
    kCentreText,
    kRightText,
    kProgress,
    kPicture,
    kListView,
    kListBox,
    kVScroll,
    kHScroll,
    kScrollText,
    kOpenDialog,
    kOpenMessage,
    kGroupButtons,
    kGroupOptions,
    kGroupTexts,
    kDialogList = 201,
    kDialogCheck,
    kDialogText,
};

constexpr UINT kOpenDialogMessage = WM_APP + 1;
constexpr UINT_PTR kShotTimer = 1;
constexpr UINT_PTR kAnswerTimer = 2;

struct Options {
    std::string screenshot;
    std::string dialogShot;
    bool headless = false;
    int scale = 1;
};

Options g_options;
HWND g_main = nullptr;
HBITMAP g_picture = nullptr;
bool g_shotFailed = false;

// ---- small helpers ----

HWND Make(const wchar_t* cls, const wchar_t* text, DWORD style, int x, int y, int w, int h,
          HWND parent, int id)
{
    return CreateWindowEx(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent, id,
                          nullptr, nullptr);
}

// Handles everything already waiting (messages, timers, paints) and returns.
void DrainQueue()
{
    MSG msg;
    for (int guard = 0; guard < 10000 && PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE); ++guard) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        TranslateMessage(&msg);
        DispatchMessage(&msg);
    }
}

bool Shoot(const std::string& path)
{
    DrainQueue();
    bool ok = platform::SaveScreenshot(path);
    if (!ok) g_shotFailed = true;
    std::fprintf(ok ? stdout : stderr, "%s %s\n", ok ? "saved" : "could not save", path.c_str());
    return ok;
}

// A small landscape (sky, grass, a sun) for the picture control.
HBITMAP MakePicture(int w, int h)
{
    HDC screen = GetDC(g_main);
    HBITMAP bmp = CreateCompatibleBitmap(screen, w, h);
    ReleaseDC(g_main, screen);
    const platform::MemoryDc dc(nullptr);
    const platform::Selection selected(dc.get(), bmp);
    platform::Painter paint(dc.get(), w, h);
    paint.Fill(RECT{0, 0, w, h}, RGB(96, 160, 224));
    paint.Fill(RECT{0, h * 2 / 3, w, h}, RGB(64, 144, 48));
    paint.Ellipse(RECT{w / 2, 4, w / 2 + h / 3, 4 + h / 3}, RGB(255, 208, 0), RGB(0, 0, 0), 1);
    return bmp;
}

// ---- the gallery screen ----

void FillListView(HWND list)
{
    const wchar_t* headers[] = {L"Shutdown ID", L"Node ID", L"Date", L"Time"};
    const int widths[] = {128, 100, 102, 66};
    for (int i = 0; i < 4; ++i) {
        LVCOLUMN col;
        col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        col.cx = widths[i];
        col.pszText = headers[i];
        col.iSubItem = i;
        SendMessage(list, LVM_INSERTCOLUMN, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&col));
    }
    const wchar_t* rows[][4] = {
        {L"0E08 - NO GRAIN", L"MAIN I/O", L"Mar 02, 2026", L"6:15 AM"},
        {L"0203 - HI LIMIT", L"FAN/HEATER #1", L"Mar 03, 2026", L"11:40 PM"},
        {L"0F01 - SENSOR", L"MOISTURE CONT", L"Mar 05, 2026", L"2:05 PM"},
        {L"0105 - LINK LOST", L"DISPLAY I/O", L"Mar 07, 2026", L"9:30 AM"},
    };
    for (int i = 0; i < 12; ++i) {
        const auto& row = rows[i % 4];
        LVITEM item;
        item.mask = LVIF_TEXT;
        item.iItem = 0;  // each new row goes to the top
        item.pszText = const_cast<wchar_t*>(row[0]);
        auto at = static_cast<WPARAM>(
            SendMessage(list, LVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&item)));
        for (int c = 1; c < 4; ++c) {
            item.iSubItem = c;
            item.pszText = const_cast<wchar_t*>(row[c]);
            SendMessage(list, LVM_SETITEMTEXT, at, reinterpret_cast<LPARAM>(&item));
        }
    }
    SendMessage(list, LVM_SETSELECTIONMARK, 0, 1);
}

void FillListBox(HWND list)
{
    for (int i = 1; i <= 14; ++i) {
        wchar_t line[64];
        std::swprintf(line, 64, L"Copying file %02d to Hard Disk.", i);
        SendMessage(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line));
    }
    SendMessage(list, LB_SETCURSEL, 2, 0);
}

void SetScrollBar(HWND bar, int max, int page, int pos)
{
    SCROLLINFO si;
    si.fMask = SIF_ALL;
    si.nMin = 0;
    si.nMax = max;
    si.nPage = static_cast<UINT>(page);
    si.nPos = pos;
    SetScrollInfo(bar, SB_CTL, &si, TRUE);
}

void ShowScrollPositions(HWND wnd)
{
    wchar_t text[64];
    std::swprintf(text, 64, L"Vertical %d, horizontal %d",
                  static_cast<int>(SendDlgItemMessage(wnd, kVScroll, SBM_GETPOS, 0, 0)),
                  static_cast<int>(SendDlgItemMessage(wnd, kHScroll, SBM_GETPOS, 0, 0)));
    SetDlgItemText(wnd, kScrollText, text);
}

void CreateGallery(HWND wnd)
{
    Make(WC_BUTTON, L"Buttons", BS_GROUPBOX, 8, 2, 200, 158, wnd, kGroupButtons);
    Make(WC_BUTTON, L"Push", BS_PUSHBUTTON, 18, 24, 86, 32, wnd, kPush);
    Make(WC_BUTTON, L"Default", BS_DEFPUSHBUTTON, 112, 24, 86, 32, wnd, kDefault);
    Make(WC_BUTTON, L"TWO LINE\nLABEL", BS_PUSHBUTTON | BS_MULTILINE, 18, 62, 86, 44, wnd,
         kMultiLine);
    Make(WC_BUTTON, L"OWNER", BS_OWNERDRAW, 112, 62, 86, 44, wnd, kOwnerDrawn);
    HWND disabled = Make(WC_BUTTON, L"Disabled", BS_PUSHBUTTON, 18, 114, 86, 32, wnd, kDisabled);
    EnableWindow(disabled, FALSE);
    HWND held = Make(WC_BUTTON, L"Held", BS_PUSHBUTTON, 112, 114, 86, 32, wnd, kHeld);
    SendMessage(held, BM_SETSTATE, TRUE, 0);

    Make(WC_BUTTON, L"Options", BS_GROUPBOX, 8, 164, 200, 112, wnd, kGroupOptions);
    Make(WC_BUTTON, L"Sorted by warning.", BS_AUTOCHECKBOX, 18, 184, 184, 20, wnd, kCheckWarning);
    Make(WC_BUTTON, L"Sorted by node id.", BS_AUTOCHECKBOX, 18, 206, 184, 20, wnd, kCheckNode);
    Make(WC_BUTTON, L"Fahrenheit", BS_AUTORADIOBUTTON | WS_GROUP, 18, 230, 184, 20, wnd, kRadioF);
    Make(WC_BUTTON, L"Celsius", BS_AUTORADIOBUTTON, 18, 252, 184, 20, wnd, kRadioC);
    CheckDlgButton(wnd, kCheckWarning, BST_CHECKED);
    CheckDlgButton(wnd, kRadioF, BST_CHECKED);

    Make(WC_BUTTON, L"Texts", BS_GROUPBOX, 8, 280, 200, 96, wnd, kGroupTexts);
    Make(WC_STATIC, L"Left aligned", SS_LEFT, 18, 300, 180, 20, wnd, kLeftText);
    Make(WC_STATIC, L"Centred 72\u00B0F", SS_CENTER, 18, 322, 180, 20, wnd, kCentreText);
    Make(WC_STATIC, L"Right aligned", SS_RIGHT, 18, 344, 180, 20, wnd, kRightText);

    HWND progress = Make(PROGRESS_CLASS, L"", 0, 8, 386, 200, 22, wnd, kProgress);
    SendMessage(progress, PBM_SETRANGE, 0, MAKELPARAM(0, 90));
    SendMessage(progress, PBM_SETPOS, 54, 0);
    HWND picture = Make(WC_STATIC, L"", SS_BITMAP, 8, 414, 64, 40, wnd, kPicture);
    g_picture = MakePicture(64, 40);
    SendMessage(picture, STM_SETIMAGE, 0, reinterpret_cast<LPARAM>(g_picture));
    Make(WC_STATIC, L"Picture and progress bar", SS_LEFT, 80, 416, 128, 40, wnd, 0);

    FillListView(
        Make(WC_LISTVIEW, L"", LVS_REPORT | LVS_SINGLESEL, 216, 6, 416, 168, wnd, kListView));
    FillListBox(Make(WC_LISTBOX, L"", LBS_NOTIFY, 216, 182, 270, 130, wnd, kListBox));
    SetScrollBar(Make(WC_SCROLLBAR, L"", SBS_VERT, 494, 182, 18, 132, wnd, kVScroll), 100, 20, 30);
    SetScrollBar(Make(WC_SCROLLBAR, L"", SBS_HORZ, 520, 182, 112, 18, wnd, kHScroll), 50, 10, 10);
    Make(WC_STATIC, L"", SS_LEFT, 520, 206, 112, 40, wnd, kScrollText);
    ShowScrollPositions(wnd);
    Make(WC_BUTTON, L"OPEN DIALOG", BS_PUSHBUTTON, 520, 250, 112, 30, wnd, kOpenDialog);
    Make(WC_BUTTON, L"MESSAGE BOX", BS_PUSHBUTTON, 520, 286, 112, 30, wnd, kOpenMessage);
    Make(WC_STATIC,
         L"Push, default, multi-line and owner-drawn buttons, check boxes, radio buttons, "
         L"group frames, texts, a picture, a progress bar, a list view, a list box and "
         L"scroll bars.",
         SS_LEFT, 216, 330, 416, 80, wnd, 0);
}

void DrawOwnerButton(const DRAWITEMSTRUCT* dis)
{
    if (dis == nullptr) return;
    const bool pressed = (dis->itemState & ODS_SELECTED) != 0;
    platform::Painter paint(dis->hDC);
    RECT r = dis->rcItem;
    paint.Fill(r, pressed ? RGB(16, 96, 16) : RGB(32, 144, 32));
    paint.Frame(r, RGB(0, 48, 0));
    if (pressed) {
        r.left += 2;
        r.top += 2;
    }
    paint.Text(L"OWNER", r, RGB(255, 255, 255), -15, FW_BOLD,
               DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void OnScroll(HWND wnd, HWND bar, WORD code, int thumb)
{
    int pos = static_cast<int>(SendMessage(bar, SBM_GETPOS, 0, 0));
    switch (code) {
        case SB_LINEUP: pos -= 1; break;
        case SB_LINEDOWN: pos += 1; break;
        case SB_PAGEUP: pos -= 10; break;
        case SB_PAGEDOWN: pos += 10; break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: pos = thumb; break;
        default: return;
    }
    SendMessage(bar, SBM_SETPOS, static_cast<WPARAM>(pos), TRUE);
    ShowScrollPositions(wnd);
}

// ---- the dialog ----

INT_PTR GalleryDialogProc(HWND dlg, UINT msg, WPARAM wp, LPARAM /*lp*/);

const DialogControl kDialogControls[] = {
    {L"static",
     L"A modal dialog from a template table. The screen behind it is disabled "
     L"until it closes.",
     kDialogText, 12, 8, 436, 40, SS_LEFT, 0},
    {L"listbox", L"", kDialogList, 12, 52, 290, 94, LBS_NOTIFY, 0},
    {L"button", L"Keep settings", kDialogCheck, 314, 52, 134, 22, BS_AUTOCHECKBOX, 0},
    {L"button", L"ACCEPT", IDOK, 314, 266, 134, 34, BS_DEFPUSHBUTTON, 0},
    {L"button", L"CANCEL", IDCANCEL, 170, 266, 134, 34, BS_PUSHBUTTON, 0},
};

INT_PTR OpenGalleryDialog(HWND owner)
{
    DialogTemplate t;
    t.caption = L" GALLERY DIALOG - 99";
    t.width = 460;
    t.height = 340;
    t.style = WS_POPUP | WS_CAPTION | DS_CENTER;
    t.controls = kDialogControls;
    return DialogBoxIndirectParam(nullptr, t, owner, GalleryDialogProc, 0);
}

int AskQuestion(HWND owner)
{
    return MessageBox(owner,
                      L"USB flash drive was not found.\n \t\t\t\t\t\t\t\t\t\tDo you wish to "
                      L"search for the USB drive?",
                      L" NO USB FLASH DRIVE FOUND", MB_YESNOCANCEL | MB_ICONQUESTION);
}

void OnDialogTimer(HWND dlg, UINT_PTR id)
{
    KillTimer(dlg, id);
    if (id == kShotTimer) {
        // the message box's own loop runs from here; the answer timer fires inside it
        SetTimer(dlg, kAnswerTimer, 150, nullptr);
        AskQuestion(dlg);
        EndDialog(dlg, IDOK);
        return;
    }
    if (id == kAnswerTimer) {
        Shoot(g_options.dialogShot);
        HWND box = FindWindow(L"#MessageBox", nullptr);
        if (box != nullptr) SendMessage(GetDlgItem(box, IDCANCEL), BM_CLICK, 0, 0);
    }
}

INT_PTR GalleryDialogProc(HWND dlg, UINT msg, WPARAM wp, LPARAM /*lp*/)
{
    switch (msg) {
        case WM_INITDIALOG:
            for (const wchar_t* line : {L"Load startup delay", L"Out of grain timer",
                                        L"Fan startup delay", L"Unload cleanout delay"}) {
                SendDlgItemMessage(dlg, kDialogList, LB_ADDSTRING, 0,
                                   reinterpret_cast<LPARAM>(line));
            }
            SendDlgItemMessage(dlg, kDialogList, LB_SETCURSEL, 1, 0);
            if (!g_options.dialogShot.empty()) SetTimer(dlg, kShotTimer, 150, nullptr);
            return TRUE;
        case WM_TIMER: OnDialogTimer(dlg, wp); return TRUE;
        case WM_COMMAND:
            if (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL) {
                EndDialog(dlg, LOWORD(wp));
                return TRUE;
            }
            return FALSE;
    }
    return FALSE;
}

// ---- the main window ----

LRESULT OnCommand(HWND wnd, int id)
{
    switch (id) {
        case kOpenDialog: OpenGalleryDialog(wnd); return 0;
        case kOpenMessage:
            MessageBox(wnd, L"The settings were saved.\nThe dryer uses them from the next cycle.",
                       L" SETTINGS SAVED", MB_OK | MB_ICONINFORMATION);
            return 0;
        case kOwnerDrawn: SendDlgItemMessage(wnd, kProgress, PBM_STEPIT, 0, 0); return 0;
    }
    return 0;
}

LRESULT GalleryWindowProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
        case WM_CREATE: CreateGallery(wnd); return 0;
        case WM_DRAWITEM: DrawOwnerButton(reinterpret_cast<const DRAWITEMSTRUCT*>(lp)); return TRUE;
        case WM_COMMAND: return OnCommand(wnd, LOWORD(wp));
        case WM_VSCROLL:
        case WM_HSCROLL:
            OnScroll(wnd, reinterpret_cast<HWND>(lp), LOWORD(wp), HIWORD(wp));
            return 0;
        case kOpenDialogMessage:
            OpenGalleryDialog(wnd);
            PostQuitMessage(0);
            return 0;
        case WM_DESTROY: PostQuitMessage(0); return 0;
    }
    return DefWindowProc(wnd, msg, wp, lp);
}

constexpr const char* kUsage =
    "usage: panel_gallery [--headless] [--scale N] [--screenshot OUT.png] "
    "[--screenshot-dialog OUT.png]\n";

// The gallery reads its options as every panel program does; the exit code when it must stop.
std::optional<int> ParseOptions(int argc, char** argv)
{
    platform::ProgramOptions options("panel_gallery");
    options.Value("--screenshot", "OUT.png", g_options.screenshot);
    options.Value("--screenshot-dialog", "OUT.png", g_options.dialogShot);
    options.Flag("--headless", g_options.headless);
    options.Number("--scale", g_options.scale, 1, 8);
    return platform::ReportCommandLine(options.Parse(platform::Arguments(argc, argv)), kUsage);
}

}  // namespace

int main(int argc, char** argv)
{
    if (const auto code = ParseOptions(argc, argv)) return *code;
    const platform::TerminationSignals signals;  // SIGTERM and SIGINT close the gallery
    bool shots = !g_options.screenshot.empty() || !g_options.dialogShot.empty();
    platform::ScreenOptions screen;
    screen.headless = g_options.headless || shots;
    screen.scale = g_options.scale;
    screen.title = "Panel control gallery";
    if (!platform::OpenScreen(screen)) return 1;

    WNDCLASS wc;
    wc.lpfnWndProc = GalleryWindowProc;
    wc.lpszClassName = kGalleryClass;
    wc.hbrBackground = CreateSolidBrush(kBackground);
    RegisterClass(&wc);
    g_main = CreateWindowEx(0, kGalleryClass, L" CONTROL GALLERY - 00",
                            WS_POPUP | WS_CAPTION | WS_VISIBLE, 0, 0, platform::kScreenWidth,
                            platform::kScreenHeight, nullptr, 0, nullptr, nullptr);
    if (g_main == nullptr) return 1;

    int status = 0;
    if (shots) {
        if (!g_options.screenshot.empty() && !Shoot(g_options.screenshot)) status = 1;
        if (g_options.dialogShot.empty()) return status;
        PostMessage(g_main, kOpenDialogMessage, 0, 0);
    }
    MSG msg;
    while (GetMessage(&msg, nullptr, 0, 0)) {
        TranslateMessage(&msg);
        DispatchMessage(&msg);
    }
    if (g_picture != nullptr) DeleteObject(g_picture);
    return g_shotFailed ? 1 : status;
}
