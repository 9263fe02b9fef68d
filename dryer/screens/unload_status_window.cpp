// The unload status window: the meter roll speed in tenths, the throughput and total bushels on
// one button, the three metering presets on another with the active preset highlighted. The
// decoder repaints the window and its speed button when the fields they show change.
#include "dryer/screens/unload_status_window.h"

#include <cstdio>
#include <string>

#include "dryer/link/dryer_image.h"
#include "dryer/link/repaint_routes.h"
#include "dryer/screens/entry_dialogs.h"
#include "dryer/screens/screen_manager.h"
#include "dryer/screens/screen_procs.h"
#include "dryer/setup/unload_bushels_setup.h"
#include "platform/controls/controls.h"
#include "platform/drawing/gdi.h"
#include "platform/drawing/painter.h"
#include "platform/windowing/window.h"
#include "resources/orbitdryer/panel_colours.h"

namespace {

// Client area 236 x 151: the speed along the top, the two buttons below it.
constexpr RECT kSpeedLabelBox{6, 2, 120, 32};
constexpr RECT kSpeedBox{120, 0, 230, 34};
constexpr RECT kStatusButton{4, 36, 232, 80};
constexpr RECT kSpeedButton{4, 84, 232, 148};

constexpr int kSpeedHeight = 30;
constexpr int kLabelHeight = 14;
constexpr int kButtonTextHeight = 15;
constexpr COLORREF kPressedFace = 0x00A0A0A0;
constexpr COLORREF kButtonShadow = 0x00808080;
constexpr COLORREF kSpeedColour = kReadingGreen;
constexpr COLORREF kActiveFace = kYellow;  // the band behind the active metering preset
constexpr COLORREF kActiveText = kBlack;
constexpr COLORREF kPresetText = kTextBlue;  // the other presets

constexpr UINT kLeftLine = DT_LEFT | DT_VCENTER | DT_SINGLELINE;
constexpr UINT kRightLine = DT_RIGHT | DT_VCENTER | DT_SINGLELINE;

// The three presets as shown, top to bottom, with the meteringMode value that makes each the
// active one.
struct PresetLine {
    const wchar_t* format;
    ImageField preset;
    int activeMode;
};
constexpr PresetLine kPresetLines[] = {
    {L" HIGH: %04d ", meteringPresetHighSpeed, 2},
    {L" MED:  %04d ", meteringPresetMediumSpeed, 1},
    {L" LOW:  %04d ", meteringPresetLowSpeed, 0},
};

void CreateButton(HWND wnd, int id, const wchar_t* text, RECT r)
{
    CreateWindowEx(0, WC_BUTTON, text, WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, r.left, r.top,
                   r.right - r.left, r.bottom - r.top, wnd, id, Screens().instance, nullptr);
}

void OnCreate(HWND wnd)
{
    CreateButton(wnd, kUnloadStatusSelectButton, L"UNLOAD_STATUS_SELECT_BUTTON", kStatusButton);
    CreateButton(wnd, kUnloadMrSpeedSelectButton, L"UNLOAD_MR_SPEED_SELECT_BUTTON", kSpeedButton);
    // The speed button is repainted on its own when a preset or the active one changes.
    SetRepaintWindow(RepaintTarget::unloadSpeedButton, GetDlgItem(wnd, kUnloadMrSpeedSelectButton));
}

void OnDestroy(HWND wnd)
{
    if (RepaintWindow(RepaintTarget::unloadSpeedButton) ==
        GetDlgItem(wnd, kUnloadMrSpeedSelectButton)) {
        SetRepaintWindow(RepaintTarget::unloadSpeedButton, nullptr);
    }
}

void PaintWindow(HWND wnd)
{
    platform::Painter paint(wnd, kBlack);
    const int tenths = Value(DryerImage, meterRollSpeed);
    wchar_t speed[16];
    std::swprintf(speed, std::size(speed), L"%2d.%d", tenths / 10, tenths % 10);
    paint.Text(L"METER ROLL RPM", kSpeedLabelBox, kWhite, kLabelHeight, FW_NORMAL, kLeftLine);
    paint.Text(speed, kSpeedBox, kSpeedColour, kSpeedHeight, FW_BOLD, kRightLine);
}

// The raised or pressed face shared by both buttons.
void DrawFace(platform::Painter& paint, const RECT& r, bool pressed)
{
    paint.Box(r, pressed ? kPressedFace : kSilver, pressed ? kSeparatorGrey : kWhite, 1);
    paint.Line(r.left, r.bottom - 1, r.right, r.bottom - 1, kButtonShadow);
    paint.Line(r.right - 1, r.top, r.right - 1, r.bottom, kButtonShadow);
}

RECT Row(const RECT& r, int row, int rows, int shift)
{
    const int height = (r.bottom - r.top - 4) / rows;
    const int top = r.top + 2 + row * height + shift;
    return RECT{r.left + 6 + shift, top, r.right - 6 + shift, top + height};
}

void DrawStatusButton(platform::Painter& paint, const RECT& r, int shift)
{
    const std::wstring perHour = std::to_wstring(Value(DryerImage, bushelsPerHour));
    const std::wstring total = std::to_wstring(ReadCounter(DryerImage, bushelCounter) / 3600);
    paint.Text(L"Bushel/Hour:", Row(r, 0, 2, shift), kBlack, kButtonTextHeight, FW_NORMAL,
               kLeftLine);
    paint.Text(perHour, Row(r, 0, 2, shift), kBlack, kButtonTextHeight, FW_BOLD, kRightLine);
    paint.Text(L"Total Bushels:", Row(r, 1, 2, shift), kBlack, kButtonTextHeight, FW_NORMAL,
               kLeftLine);
    paint.Text(total, Row(r, 1, 2, shift), kBlack, kButtonTextHeight, FW_BOLD, kRightLine);
}

// Each preset on its own line; the active one on a highlighted band.
void DrawSpeedButton(platform::Painter& paint, const RECT& r, int shift)
{
    const int active = Value(DryerImage, meteringMode);
    int row = 0;
    for (const PresetLine& line : kPresetLines) {
        wchar_t text[24];
        std::swprintf(text, std::size(text), line.format, Value(DryerImage, line.preset) * 10);
        const RECT band = Row(r, row++, 3, shift);
        const bool highlighted = line.activeMode == active;
        if (highlighted) paint.Fill(band, kActiveFace);
        paint.Text(text, band, highlighted ? kActiveText : kPresetText, kButtonTextHeight,
                   highlighted ? FW_BOLD : FW_NORMAL, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
}

LRESULT OnDrawItem(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
{
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
    if (item == nullptr) return DefWindowProc(wnd, msg, wp, lp);
    const int id = static_cast<int>(item->CtlID);
    if (id != kUnloadStatusSelectButton && id != kUnloadMrSpeedSelectButton) {
        return DefWindowProc(wnd, msg, wp, lp);
    }
    const bool pressed = (item->itemState & ODS_SELECTED) != 0;
    const int shift = pressed ? 1 : 0;
    platform::Painter paint(item->hDC);
    DrawFace(paint, item->rcItem, pressed);
    if (id == kUnloadStatusSelectButton) {
        DrawStatusButton(paint, item->rcItem, shift);
    } else {
        DrawSpeedButton(paint, item->rcItem, shift);
    }
    return TRUE;
}

LRESULT OnCommand(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (LOWORD(wp)) {
        case kUnloadStatusSelectButton: OpenUnloadBushelsSetup(Screens().main); return 0;
        case kUnloadMrSpeedSelectButton: OpenMeterRollSpeed(Screens().main); return 0;
    }
    return DefWindowProc(wnd, msg, wp, lp);
}

}  // namespace

LRESULT UnloadStatusProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
        case WM_CREATE: OnCreate(wnd); return 0;
        case WM_DESTROY: OnDestroy(wnd); return 0;
        case WM_PAINT: PaintWindow(wnd); return 0;
        case WM_DRAWITEM: return OnDrawItem(wnd, msg, wp, lp);
        case WM_COMMAND: return OnCommand(wnd, msg, wp, lp);
    }
    return DefWindowProc(wnd, msg, wp, lp);
}
