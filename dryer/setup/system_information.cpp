// " SYSTEM INFORMATION / SOFTWARE VERSION - 32" (the program's version, the panel's clock,
// which runs while the screen is open, and its memory) and "Software Release Information - 30"
// (the notes of the earlier software versions). Both are opened from the view menu.
#include "dryer/setup/system_information.h"

#include <array>
#include <string>

#include "dryer/records/data_log_hooks.h"
#include "dryer/screens/entry_dialogs.h"
#include "dryer/screens/home_panels.h"
#include "dryer/screens/screen_manager.h"
#include "platform/controls/controls.h"
#include "platform/drawing/painter.h"
#include "platform/runtime/clock.h"
#include "platform/runtime/memory_status.h"
#include "platform/windowing/dialog.h"

namespace {

using home_panels::Format;

constexpr int kVersionMajor = 1;
constexpr int kVersionMinor = 17;

constexpr COLORREF kFace = RGB(212, 208, 200);
constexpr COLORREF kTextColour = RGB(0, 0, 0);
constexpr COLORREF kVersionColour = RGB(0, 0, 160);

constexpr int kInfoWidth = 520;
constexpr int kInfoHeight = 340;
constexpr int kTextLeft = 20;
constexpr int kTextWidth = 480;
constexpr RECT kVersionRect{kTextLeft, 14, kTextLeft + kTextWidth, 60};
constexpr RECT kTimeRect{kTextLeft, 70, kTextLeft + kTextWidth, 106};
constexpr RECT kDateRect{kTextLeft, 110, kTextLeft + kTextWidth, 146};
constexpr RECT kRamRect{kTextLeft, 166, kTextLeft + kTextWidth, 192};
constexpr RECT kFreeRect{kTextLeft, 196, kTextLeft + kTextWidth, 222};

HWND gSystemInformation = nullptr;  // the open screen, repainted by the 1-second tick

std::wstring TimeText(const SYSTEMTIME& now)
{
    wchar_t text[64] = {};
    GetTimeFormat(LOCALE_SYSTEM_DEFAULT, 0, &now, L"h':'mm':'ss tt", text, 64);
    return text;
}

std::wstring DateText(const SYSTEMTIME& now)
{
    wchar_t text[64] = {};
    GetDateFormat(LOCALE_SYSTEM_DEFAULT, 0, &now, L"dddd  MMM dd',' yyy", text, 64);
    return text;
}

void PaintSystemInformation(HWND dlg)
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    MEMORYSTATUS memory;
    GlobalMemoryStatus(&memory);
    platform::Painter paint(dlg, kFace);
    const UINT line = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    paint.TextToFit(Format(L"VER: %d.%02d", kVersionMajor, kVersionMinor), kVersionRect,
                    kVersionColour, 36, FW_BOLD, line);
    paint.TextToFit(TimeText(now), kTimeRect, kTextColour, 28, FW_BOLD, line);
    paint.TextToFit(DateText(now), kDateRect, kTextColour, 28, FW_BOLD, line);
    paint.TextToFit(RamSizeText(memory.dwTotalPhys), kRamRect, kTextColour, 20, FW_NORMAL, line);
    paint.TextToFit(FreeRamText(memory.dwAvailPhys), kFreeRect, kTextColour, 20, FW_NORMAL, line);
}

void CloseInformation(HWND dlg)
{
    gSystemInformation = nullptr;
    EndDialog(dlg, IDOK);
}

INT_PTR SystemInformationProc(HWND dlg, UINT msg, WPARAM wp, LPARAM)
{
    switch (msg) {
        case WM_INITDIALOG: gSystemInformation = dlg; return TRUE;
        case WM_PAINT: PaintSystemInformation(dlg); return TRUE;
        case WM_COMMAND:
            if (LOWORD(wp) != IDOK && LOWORD(wp) != IDCANCEL) return FALSE;
            CloseInformation(dlg);
            return TRUE;
    }
    return FALSE;
}

// ---- release notes ----

constexpr const wchar_t* kReleaseNotes[] = {
    L"***************** Minor Software Additions - Version 1.10 ****************",
    L"  - The shutdown history keeps the last shutdowns of the dryer with their time.",
    L"  - The shutdown history can be copied to a USB flash drive.",
    L"",
    L"***************** Minor Software Additions - Version 1.11 ****************",
    L"  - A long-term data log records the dryer every 12 seconds while it is enabled.",
    L"  - The long-term data log can be copied to a USB flash drive.",
    L"",
    L"***************** Minor Software Additions - Version 1.12 ****************",
    L"  - Trend graphs of the plenum and grain temperatures and the moisture.",
    L"  - The main screen shows either the status chart or the graph.",
    L"",
    L"***************** Minor Software Additions - Version 1.13 ****************",
    L"  - Airswitch testing can be disabled for diagnostic purposes.",
    L"  - The metering roll speed can be set on the screen instead of the knob.",
    L"",
    L"***************** Minor Software Additions - Version 1.14 ****************",
    L"  - Light output and switch wiring checks on the diagnostics screen.",
    L"  - The metering rolls sensor failure shutdown can be disabled.",
    L"",
    L"***************** Minor Software Additions - Version 1.15 ****************",
    L"  - Moisture sampler set-up with its cleaning action and delay times.",
    L"  - Help pictures and texts for every shutdown.",
};

constexpr std::array<DialogControl, 2> kReleaseControls{{
    {WC_LISTBOX, nullptr, kReleaseNotesList, 8, 8, 604, 328, 0, 0},
    {WC_BUTTON, L"EXIT", IDOK, 230, 348, 160, 44, BS_PUSHBUTTON, 0},
}};

constexpr std::array<DialogControl, 1> kInformationControls{{
    {WC_BUTTON, L"EXIT", IDOK, (kInfoWidth - 160) / 2, 240, 160, 44, BS_PUSHBUTTON, 0},
}};

INT_PTR SoftwareReleaseProc(HWND dlg, UINT msg, WPARAM wp, LPARAM)
{
    switch (msg) {
        case WM_INITDIALOG:
            for (const wchar_t* note : kReleaseNotes) {
                SendDlgItemMessage(dlg, kReleaseNotesList, LB_ADDSTRING, 0,
                                   reinterpret_cast<LPARAM>(note));
            }
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wp) != IDOK && LOWORD(wp) != IDCANCEL) return FALSE;
            EndDialog(dlg, IDOK);
            return TRUE;
    }
    return FALSE;
}

std::wstring MemoryText(const wchar_t* format, std::uint64_t bytes)
{
    return Format(format, static_cast<unsigned long long>(bytes));
}

}  // namespace

std::wstring RamSizeText(std::uint64_t bytes)
{
    return MemoryText(L"RAM MEMORY SIZE: %llu Bytes", bytes);
}

std::wstring FreeRamText(std::uint64_t bytes)
{
    return MemoryText(L"FREE RAM MEMORY: %llu Bytes", bytes);
}

// The 1-second tick: the clock on the open screen moves on.
void RepaintSystemInformation()
{
    if (gSystemInformation != nullptr) InvalidateRect(gSystemInformation, nullptr, FALSE);
}

INT_PTR OpenSystemInformation(HWND owner)
{
    DialogTemplate tmpl;
    tmpl.caption = kSystemInformationTitle;
    tmpl.width = kInfoWidth;
    tmpl.height = kInfoHeight;
    tmpl.style = WS_POPUP | WS_CAPTION | DS_CENTER;
    tmpl.controls = kInformationControls;
    tmpl.background = kFace;
    return DialogBoxIndirectParam(Screens().instance, tmpl, owner, SystemInformationProc, 0);
}

INT_PTR OpenSoftwareRelease(HWND owner)
{
    DialogTemplate tmpl;
    tmpl.caption = kSoftwareReleaseTitle;
    tmpl.width = 620;
    tmpl.height = 440;
    tmpl.style = WS_POPUP | WS_CAPTION | DS_CENTER;
    tmpl.controls = kReleaseControls;
    return DialogBoxIndirectParam(Screens().instance, tmpl, owner, SoftwareReleaseProc, 0);
}
