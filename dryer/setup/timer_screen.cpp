// The timer screen " SELECT TIMER TO MODIFY - 01": four pages (load startup delay, out-of-grain
// timer, fan setup, unload cleanout delay), each with the button that opens the keypad on its
// timer, the reload value the dryer reports, a description, and the default and range.
//
// The pages show the dryer's values from the image; every answer carries the whole image, so
// the decoder's repaint of the open timer screen is all that keeps them fresh.
#include <cstdio>
#include <iterator>
#include <string>

#include "dryer/link/link_state.h"
#include "dryer/link/repaint_routes.h"
#include "dryer/screens/leave_button.h"
#include "dryer/screens/screen_manager.h"
#include "dryer/screens/screen_procs.h"
#include "dryer/setup/timer_keypad.h"
#include "dryer/setup/timer_screen.h"
#include "platform/drawing/gdi.h"
#include "platform/drawing/painter.h"
#include "platform/windowing/window.h"
#include "resources/orbitdryer/bitmap_ids.h"
#include "resources/orbitdryer/panel_colours.h"

namespace {

// ---- pages and buttons ----------------------------------------------------------------------

enum Page { kLoadDelayPage, kOutOfGrainPage, kFanPage, kUnloadDelayPage, kPageCount };

struct PageRow {
    const wchar_t* className;
    const wchar_t* caption;
    int x, y;
};
constexpr PageRow kPages[kPageCount] = {
    {kLoadDelayPageClass, L" Load Startup Delay", 0, 0},
    {kOutOfGrainPageClass, L" Out of Grain Timer", 316, 0},
    {kFanPageClass, L" Fan Setup", 0, 191},
    {kUnloadDelayPageClass, L" Unload Cleanout Delay", 316, 191},
};
constexpr int kPageWidth = 314;
constexpr int kPageHeight = 190;
constexpr int kFirstPageId = 0x9120;

// One timer: its button (200 x 50 at x 3 of its page) and what the keypad gets.
struct PageButton {
    int id;
    Page page;
    int y;
    const wchar_t* text;  // window text of the button; the bitmap carries the caption
    int upBitmap, downBitmap;
};
struct TimerRow {
    PageButton button;
    TimerSetting timer;  // field, minimum, maximum, default, screen number
};
constexpr TimerRow kTimers[] = {
    {{kLoadDelayButton, kLoadDelayPage, 10, L"LOAD DELAY", kBitmapLoadDelayUp,
      kBitmapLoadDelayDown},
     {loadDelaySetting, {0, 10}, {10, 0}, {2, 0}, 3}},
    {{kOutOfGrainButton, kOutOfGrainPage, 10, L"OUT OF GRAIN", kBitmapOutOfGrainUp,
      kBitmapOutOfGrainDown},
     {loadTimerSetting, {0, 0}, {30, 0}, {8, 0}, 2}},
    {{kFanDelayButton, kFanPage, 3, L"FAN DELAY", kBitmapFanDelayUp, kBitmapFanDelayDown},
     {fanStartDelaySetting, {0, 1}, {0, 25}, {0, 3}, 4}},
    // The fan page's own number: the keypad never shows the number of a page left before.
    {{kFanRunAfterButton, kFanPage, 80, L"FAN RUN AFTER", kBitmapFanRunAfterUp,
      kBitmapFanRunAfterDown},
     {fanRunAfterShutdownSetting, {0, 0}, {60, 0}, {0, 0}, 4}},
    {{kUnloadDelayButton, kUnloadDelayPage, 10, L"UNLOAD DELAY", kBitmapUnloadDelayUp,
      kBitmapUnloadDelayDown},
     {unloadRunOnSetting, {0, 0}, {10, 0}, {1, 0}, 4}},
};
// Fan startup delay: up to a minute on dryers whose configuration has bit 5 (the tower's one
// central burner) set.
constexpr MinSec kLongFanDelayMaximum{0, 59};

BitmapButtonSet gExitFace;
BitmapButtonSet gTimerFaces;
HWND gPageWindows[kPageCount] = {};

TimerSetting SettingOf(const TimerRow& row)
{
    TimerSetting timer = row.timer;
    if (row.button.id == kFanDelayButton && IsSet(DryerImage, towerBit)) {
        timer.maximum = kLongFanDelayMaximum;
    }
    return timer;
}

// ---- painting a page ------------------------------------------------------------------------

constexpr int kTextFont = 13;    // descriptions, default and range: the longest line fits 307
constexpr int kReloadFont = 14;  // "Reload Value" and its minutes and seconds
constexpr int kTextLeft = 5;
constexpr int kReloadLeft = 215;
constexpr int kReloadRight = 300;
constexpr COLORREF kDefaultPurple = 0x00FF00B0;      // RGB 176, 0, 255
constexpr COLORREF kRangeBlue = 0x00C00010;          // RGB 16, 0, 192
constexpr COLORREF kPreviousLoadGreen = 0x000A7D11;  // RGB 17, 125, 10

void TextLine(platform::Painter& paint, const std::wstring& text, int y, COLORREF colour)
{
    paint.Text(text, RECT{kTextLeft, y, paint.width(), y + kTextFont + 2}, colour, kTextFont,
               FW_NORMAL, DT_LEFT | DT_SINGLELINE);
}

// "Reload Value" with the dryer's minutes and seconds below it, from y `top` down.
void ReloadValue(platform::Painter& paint, ImageField field, int top)
{
    const MinSec reload = ReadTime(DryerImage, field);
    wchar_t minutes[32];
    wchar_t seconds[32];
    std::swprintf(minutes, std::size(minutes), L"%03d Minutes", reload.minutes);
    std::swprintf(seconds, std::size(seconds), L"%02d Seconds", reload.seconds);
    const UINT format = DT_LEFT | DT_SINGLELINE;
    paint.Text(L"Reload Value", RECT{kReloadLeft, top, paint.width(), top + 15}, kBlue, kReloadFont,
               FW_NORMAL, format);
    paint.Text(minutes, RECT{kReloadLeft, top + 15, kReloadRight, top + 30}, kRed, kReloadFont,
               FW_NORMAL, format);
    paint.Text(seconds, RECT{kReloadLeft, top + 30, kReloadRight, top + 45}, kRed, kReloadFont,
               FW_NORMAL, format);
}

void DefaultAndRange(platform::Painter& paint, const wchar_t* defaultText, const wchar_t* range)
{
    TextLine(paint, defaultText, 125, kDefaultPurple);
    TextLine(paint, range, 140, kRangeBlue);
}

// While the load switch is on (not in automatic) no load is measured.
void PreviousLoad(platform::Painter& paint)
{
    if (IsSet(DryerImage, loadOnBit)) {
        TextLine(paint, L"Previous Load Timer is only", 60, kPreviousLoadGreen);
        TextLine(paint, L"functional when load is in Auto", 75, kPreviousLoadGreen);
        return;
    }
    const auto seconds = static_cast<unsigned>(PreviousLoadTime.load(std::memory_order_relaxed));
    wchar_t was[64];
    std::swprintf(was, std::size(was), L"was %03u Minutes and %02u Seconds.", seconds / 60,
                  seconds % 60);
    TextLine(paint, L"Value for previous load operation", 60, kPreviousLoadGreen);
    TextLine(paint, was, 75, kPreviousLoadGreen);
}

void PaintLoadDelayPage(platform::Painter& paint)
{
    ReloadValue(paint, loadDelaySetting, 10);
    TextLine(paint, L"Sets the minimum time delay between dryer calling", 70, kBlack);
    TextLine(paint, L"for grain and the start of the load motor.", 90, kBlack);
    // The dryer takes 10 seconds as the shortest delay; the range says so.
    DefaultAndRange(paint, L"[Default = 2 Minute]", L"[Range is 10 Seconds to 10 Minutes]");
}

void PaintOutOfGrainPage(platform::Painter& paint)
{
    ReloadValue(paint, loadTimerSetting, 10);
    PreviousLoad(paint);
    TextLine(paint, L"Sets maximum time allowed for dryer to fill.", 100, kBlack);
    DefaultAndRange(paint, L"[Default = 8 Minutes]", L"[Range is 0 to 30 Minutes]");
}

void PaintFanPage(platform::Painter& paint)
{
    ReloadValue(paint, fanStartDelaySetting, 10);
    TextLine(paint, L"Time delay between multiple fan startup", 58, kBlack);
    ReloadValue(paint, fanRunAfterShutdownSetting, 80);
    TextLine(paint, L"Time period fans will run after a shutdown", 135, kBlack);
}

void PaintUnloadDelayPage(platform::Painter& paint)
{
    ReloadValue(paint, unloadRunOnSetting, 10);
    TextLine(paint, L"Sets the amount of time unload auger(s) run after", 70, kBlack);
    TextLine(paint, L"unload system is turned off.", 90, kBlack);
    DefaultAndRange(paint, L"[Default = 1 Minute]", L"[Range is 0 to 10 Minutes]");
}

int PageOf(HWND page)
{
    const int index = GetWindowLong(page, GWL_ID) - kFirstPageId;
    return index >= 0 && index < kPageCount ? index : kLoadDelayPage;
}

void PaintPage(HWND page)
{
    platform::Painter paint(page, kSilver);
    switch (PageOf(page)) {
        case kLoadDelayPage: PaintLoadDelayPage(paint); break;
        case kOutOfGrainPage: PaintOutOfGrainPage(paint); break;
        case kFanPage: PaintFanPage(paint); break;
        case kUnloadDelayPage: PaintUnloadDelayPage(paint); break;
    }
}

LRESULT OnPageCommand(HWND page, UINT msg, WPARAM wp, LPARAM lp)
{
    for (const TimerRow& row : kTimers) {
        if (row.button.id != LOWORD(wp)) continue;
        OpenTimerKeypad(GetParent(page), SettingOf(row));
        return 0;
    }
    return DefWindowProc(page, msg, wp, lp);
}

LRESULT TimerPageProc(HWND page, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
        case WM_PAINT: PaintPage(page); return 0;
        case WM_ERASEBKGND: return 1;  // the paint covers the whole client area
        case WM_DRAWITEM:
            if (gTimerFaces.Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp))) return TRUE;
            break;
        case WM_COMMAND: return OnPageCommand(page, msg, wp, lp);
    }
    return DefWindowProc(page, msg, wp, lp);
}

// ---- the screen -----------------------------------------------------------------------------

void CreatePages(HWND screen)
{
    for (int i = 0; i < kPageCount; ++i) {
        WNDCLASS wc;
        wc.style = CS_HREDRAW | CS_VREDRAW | CS_NOCLOSE;
        wc.lpfnWndProc = TimerPageProc;
        wc.hInstance = Screens().instance;
        wc.iconId = 101;
        wc.hbrBackground = GetStockObject(LTGRAY_BRUSH);
        wc.lpszClassName = kPages[i].className;
        RegisterClass(&wc);  // a second run in the same process keeps the first registration
        gPageWindows[i] = CreateWindowEx(
            WS_EX_NODRAG | WS_EX_CLIENTEDGE | WS_EX_WINDOWEDGE, kPages[i].className,
            kPages[i].caption, WS_CHILD | WS_VISIBLE | WS_CAPTION, kPages[i].x, kPages[i].y,
            kPageWidth, kPageHeight, screen, kFirstPageId + i, Screens().instance, nullptr);
    }
    ButtonFace faces[std::size(kTimers)];
    for (std::size_t i = 0; i < std::size(kTimers); ++i) {
        const PageButton& b = kTimers[i].button;
        CreateBitmapButton(gPageWindows[b.page], Screens().instance, b.text, b.id, 3, b.y, 200, 50);
        faces[i] = ButtonFace{b.id, b.upBitmap, b.downBitmap};
    }
    gTimerFaces.Load(Screens().instance, faces);
}

void RepaintPages()
{
    for (HWND page : gPageWindows) {
        if (page != nullptr) InvalidateRect(page, nullptr, FALSE);
    }
}

void CreateTimerScreen(HWND screen)
{
    CreateLeaveButton(screen, gExitFace, kTimerSelectExit, 240, 390);
    CreatePages(screen);
}

// The decoder repaints the timer screen while it is shown; the screen passes it on to its pages.
void OnTimerScreenShown(HWND screen, bool shown)
{
    SetRepaintWindow(RepaintTarget::timerSetpointScreen, shown ? screen : nullptr);
    if (shown) RepaintPages();
}

void PaintTimerScreen(HWND screen)
{
    platform::Painter paint(screen, kBlack);
    RepaintPages();
}

void DestroyTimerScreen(HWND screen)
{
    if (RepaintWindow(RepaintTarget::timerSetpointScreen) == screen) {
        SetRepaintWindow(RepaintTarget::timerSetpointScreen, nullptr);
    }
    gExitFace.Release();
    gTimerFaces.Release();
    for (HWND& page : gPageWindows) page = nullptr;
}

}  // namespace

LRESULT TimerSelectProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
        case WM_CREATE: CreateTimerScreen(wnd); return 0;
        case WM_DESTROY: DestroyTimerScreen(wnd); break;
        case WM_SHOWWINDOW: OnTimerScreenShown(wnd, wp != FALSE); break;
        case WM_DRAWITEM:
            if (gExitFace.Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp))) return TRUE;
            break;
        case WM_PAINT: PaintTimerScreen(wnd); return 0;
        case WM_COMMAND:
            if (LOWORD(wp) == kTimerSelectExit) {
                ReturnToHome(wnd);
                return 0;
            }
            break;
    }
    return DefWindowProc(wnd, msg, wp, lp);
}
