// The temperature setpoint screen " SELECT TEMPERATURE SETPOINT TO MODIFY - 02": the plenum
// setpoint window with a button per burner (or the dual-heat layout), the grain setpoint window
// with its help texts, and the leave button. Each button opens the temperature keypad on its
// setpoint; the windows print the setpoints the board reports.
#include "dryer/setup/temperature_screen.h"

#include <algorithm>
#include <span>
#include <string>
#include <vector>

#include "dryer/link/repaint_routes.h"
#include "dryer/screens/home_panels.h"
#include "dryer/screens/leave_button.h"
#include "dryer/screens/screen_manager.h"
#include "dryer/screens/screen_procs.h"
#include "dryer/setup/temperature_keypad.h"
#include "platform/drawing/gdi.h"
#include "platform/drawing/painter.h"
#include "platform/windowing/window.h"
#include "resources/orbitdryer/bitmap_ids.h"
#include "resources/orbitdryer/panel_colours.h"

namespace {

using home_panels::Format;
using home_panels::kDegree;

constexpr COLORREF kWindowGrey = kSilver;  // the setpoint windows' light grey
constexpr int kSetpointFont = 30;
constexpr int kSetpointWeight = 900;
constexpr UINT kBeside = DT_LEFT | DT_VCENTER | DT_SINGLELINE;

// A setpoint button: where it sits, its faces, the setpoint it edits.
struct SetpointButton {
    int id;
    int x, y, width, height;
    int upBitmap, downBitmap;
    TemperatureSetpoint setpoint;
    bool dualHeat;  // belongs to the dual-heat layout
    int shownFrom;  // fan/heaters the dryer must have for the button to show
    int burner;     // the burner whose setpoint it is (1-6), 0: a setpoint of the dryer
};

// The plenum window's ten buttons: the six burners, then the dual-heat layout's four.
constexpr SetpointButton Burner(int n, int x, int y, int up, int down)
{
    return SetpointButton{.id = kBurnerButton1 + n - 1,
                          .x = x,
                          .y = y,
                          .width = 180,
                          .height = 50,
                          .upBitmap = up,
                          .downBitmap = down,
                          .setpoint = BurnerSetpoint(n),
                          .dualHeat = false,
                          .shownFrom = n,
                          .burner = n};
}
constexpr SetpointButton kPlenumButtons[] = {
    Burner(1, 3, 135, kBitmapBurner1Up, kBitmapBurner1Down),
    Burner(2, 3, 70, kBitmapBurner2Up, kBitmapBurner2Down),
    Burner(3, 3, 5, kBitmapBurner3Up, kBitmapBurner3Down),
    Burner(4, 323, 135, kBitmapBurner4Up, kBitmapBurner4Down),
    Burner(5, 323, 70, kBitmapBurner5Up, kBitmapBurner5Down),
    Burner(6, 323, 5, kBitmapBurner6Up, kBitmapBurner6Down),
    {kHiHeatButton, 3, 135, 180, 50, kBitmapHiHeatUp, kBitmapHiHeatDown, kHiHeatSetpoint, true, 1,
     0},
    {kDualBurner1Button, 3, 70, 180, 50, kBitmapBurner1Up, kBitmapBurner1Down, BurnerSetpoint(1),
     true, 1, 1},
    {kLoHeatButton, 323, 135, 180, 50, kBitmapLoHeatUp, kBitmapLoHeatDown, kLoHeatSetpoint, true, 2,
     0},
    {kDualBurner2Button, 323, 70, 180, 50, kBitmapBurner2Up, kBitmapBurner2Down, BurnerSetpoint(2),
     true, 2, 2},
};

// The grain window's buttons: the one setpoint, or the dual-heat pair. The single button's
// setpoint depends on the drying type (GrainSetpointOf).
constexpr SetpointButton kGrainButtons[] = {
    {kGrainButton, 3, 35, 200, 50, kBitmapGrainUp, kBitmapGrainDown, kGrainSetpoint, false, 1, 0},
    {kGrainUpperButton, 3, 25, 127, 25, kBitmapGrainUpperUp, kBitmapGrainUpperDown,
     kGrainSetpointUpper, true, 1, 0},
    {kGrainLowerButton, 3, 75, 127, 25, kBitmapGrainLowerUp, kBitmapGrainLowerDown,
     kGrainSetpointLower, true, 1, 0},
};

// Where each grain setpoint is printed: the single one at x 200 as the panel always had it,
// the dual-heat pair beside their smaller buttons; all end before the help texts.
constexpr int kGrainTextRight = 308;
constexpr RECT kGrainText{200, 35, kGrainTextRight, 85};
constexpr RECT kGrainUpperText{135, 20, kGrainTextRight, 55};
constexpr RECT kGrainLowerText{135, 70, kGrainTextRight, 105};

struct HelpLine {
    const wchar_t* text;
    int x, y;
    COLORREF colour;
};
constexpr HelpLine kHelpFahrenheit[] = {
    {kGrainHelpTitle, 320, 30, kBlack},
    {kGrainHelpF1, 310, 65, kRed},
    {kGrainHelpF2, 330, 80, kRed},
};
constexpr HelpLine kHelpCelsius[] = {
    {kGrainHelpTitle, 320, 30, kBlack},
    {kGrainHelpC1, 320, 65, kRed},
    {kGrainHelpC2, 330, 80, kRed},
    {kGrainHelpC3, 405, 95, kRed},
};
constexpr int kHelpLineHeight = 15;

BitmapButtonSet gFaces;  // the leave button
BitmapButtonSet gPlenumFaces;
BitmapButtonSet gGrainFaces;
HWND gPlenumWindow = nullptr;
HWND gGrainWindow = nullptr;

// ---- what the image says ----

bool Celsius()
{
    return IsSet(DryerImage, siUnitsBit);
}
int HeatersProvided()
{
    return HeaterCountFromCode(Value(DryerImage, heaterCountCode));
}
bool DualHeatLayout()
{
    return Value(DryerImage, dryingType) == kBatchDrying && IsSet(DryerImage, dualHeatBit);
}

std::wstring SetpointText(const TemperatureSetpoint& setpoint)
{
    const bool si = Celsius();
    return Format(L" %3d %c%c ", DisplayTemperature(Value(DryerImage, setpoint.target), si),
                  kDegree, si ? L'C' : L'F');
}

const SetpointButton* FindButton(std::span<const SetpointButton> buttons, int id)
{
    const auto it = std::find_if(buttons.begin(), buttons.end(),
                                 [id](const SetpointButton& b) { return b.id == id; });
    return it != buttons.end() ? &*it : nullptr;
}

bool ButtonShown(HWND wnd, int id)
{
    return IsWindowVisible(GetDlgItem(wnd, id)) != FALSE;
}

void CreateButtons(HWND wnd, BitmapButtonSet& faces, std::span<const SetpointButton> buttons)
{
    std::vector<ButtonFace> list;
    for (const SetpointButton& b : buttons) {
        HWND button =
            CreateBitmapButton(wnd, Screens().instance, L"", b.id, b.x, b.y, b.width, b.height);
        ShowWindow(button, SW_HIDE);  // the first paint shows those the dryer has
        list.push_back(ButtonFace{b.id, b.upBitmap, b.downBitmap});
    }
    faces.Load(Screens().instance, list);
}

// ---- plenum setpoint window ----

// Which plenum buttons show, from the drying type: continuous flow shows the burners the
// dryer has (a tower's one central burner hides burners 2 and 3), batch drying the same or,
// with dual heat, its own layout; any other drying type leaves the buttons as they are.
void LayOutPlenumButtons(HWND wnd)
{
    const int type = Value(DryerImage, dryingType);
    if (type != kContinuousFlow && type != kBatchDrying) return;
    const bool dual = DualHeatLayout();
    const bool tower = type == kContinuousFlow && IsSet(DryerImage, towerBit);
    const int heaters = HeatersProvided();
    for (const SetpointButton& b : kPlenumButtons) {
        bool show = b.dualHeat == dual && b.shownFrom <= heaters;
        if (tower && !b.dualHeat && (b.burner == 2 || b.burner == 3)) show = false;
        ShowWindow(GetDlgItem(wnd, b.id), show ? SW_SHOW : SW_HIDE);
    }
}

void PaintPlenumSetpoints(HWND wnd)
{
    LayOutPlenumButtons(wnd);
    platform::Painter paint(wnd, kWindowGrey);
    for (const SetpointButton& b : kPlenumButtons) {
        if (!ButtonShown(wnd, b.id)) continue;
        const int left = b.x + b.width + 2;
        const RECT beside{left, b.y, std::min(left + 135, paint.width()), b.y + b.height};
        paint.TextToFit(SetpointText(b.setpoint), beside, kBlue, kSetpointFont, kSetpointWeight,
                        kBeside);
    }
}

void OnPlenumButton(int id)
{
    const SetpointButton* b = FindButton(kPlenumButtons, id);
    if (b == nullptr) return;
    if (b->burner > HeatersProvided()) return;  // a burner this dryer does not have
    OpenTemperatureKeypad(Screens().tempSelect, b->setpoint);
}

LRESULT PlenumSetpointProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
        case WM_CREATE: CreateButtons(wnd, gPlenumFaces, kPlenumButtons); return 0;
        case WM_DESTROY: gPlenumFaces.Release(); break;
        case WM_DRAWITEM:
            if (gPlenumFaces.Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp))) return TRUE;
            break;
        case WM_PAINT: PaintPlenumSetpoints(wnd); return 0;
        case WM_COMMAND: OnPlenumButton(LOWORD(wp)); return 0;
    }
    return DefWindowProc(wnd, msg, wp, lp);
}

// ---- grain setpoint window ----

// The single grain button edits the upper word on a dryingType 3 dryer.
TemperatureSetpoint GrainSetpointOf(const SetpointButton& b)
{
    if (b.id == kGrainButton && Value(DryerImage, dryingType) == 3) return kGrainSetpointUpper;
    return b.setpoint;
}

void LayOutGrainButtons(HWND wnd)
{
    const bool dual = DualHeatLayout();
    for (const SetpointButton& b : kGrainButtons) {
        ShowWindow(GetDlgItem(wnd, b.id), b.dualHeat == dual ? SW_SHOW : SW_HIDE);
    }
}

// The largest font, up to the line spacing, in which every help line fits the window.
int HelpFontHeight(const platform::Painter& paint, std::span<const HelpLine> lines)
{
    int height = kHelpLineHeight;
    for (const HelpLine& line : lines) {
        while (height > 8 &&
               line.x + paint.TextExtent(line.text, height, FW_NORMAL).cx > paint.width()) {
            --height;
        }
    }
    return height;
}

void PaintHelp(platform::Painter& paint)
{
    const std::span<const HelpLine> lines =
        Celsius() ? std::span<const HelpLine>(kHelpCelsius) : kHelpFahrenheit;
    const int height = HelpFontHeight(paint, lines);
    for (const HelpLine& line : lines) {
        const RECT r{line.x, line.y, paint.width(), line.y + kHelpLineHeight};
        paint.Text(line.text, r, line.colour, height, FW_NORMAL, DT_LEFT | DT_SINGLELINE);
    }
}

void PaintGrainSetpoints(HWND wnd)
{
    LayOutGrainButtons(wnd);
    platform::Painter paint(wnd, kWindowGrey);
    if (DualHeatLayout()) {
        paint.TextToFit(SetpointText(kGrainSetpointUpper), kGrainUpperText, kBlue, kSetpointFont,
                        kSetpointWeight, kBeside);
        paint.TextToFit(SetpointText(kGrainSetpointLower), kGrainLowerText, kBlue, kSetpointFont,
                        kSetpointWeight, kBeside);
    } else {
        paint.TextToFit(SetpointText(GrainSetpointOf(kGrainButtons[0])), kGrainText, kBlue,
                        kSetpointFont, kSetpointWeight, kBeside);
    }
    PaintHelp(paint);
}

void OnGrainButton(int id)
{
    const SetpointButton* b = FindButton(kGrainButtons, id);
    if (b == nullptr) return;
    OpenTemperatureKeypad(Screens().tempSelect, GrainSetpointOf(*b));
}

LRESULT GrainSetpointProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
        case WM_CREATE: CreateButtons(wnd, gGrainFaces, kGrainButtons); return 0;
        case WM_DESTROY: gGrainFaces.Release(); break;
        case WM_DRAWITEM:
            if (gGrainFaces.Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp))) return TRUE;
            break;
        case WM_PAINT: PaintGrainSetpoints(wnd); return 0;
        case WM_COMMAND: OnGrainButton(LOWORD(wp)); return 0;
    }
    return DefWindowProc(wnd, msg, wp, lp);
}

// ---- the screen ----

HWND CreateSetpointWindow(HWND screen, const wchar_t* className, const wchar_t* caption,
                          WNDPROC proc, int y, int height)
{
    WNDCLASS wc;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = proc;
    wc.hInstance = Screens().instance;
    wc.hbrBackground = GetStockObject(LTGRAY_BRUSH);
    wc.lpszClassName = className;
    RegisterClass(&wc);  // a second run in the same process keeps the first registration
    return CreateWindowEx(WS_EX_WINDOWEDGE, className, caption, WS_CHILD | WS_VISIBLE | WS_CAPTION,
                          0, y, 630, height, screen, 0, Screens().instance, nullptr);
}

void OnCreateTempSelect(HWND wnd)
{
    gPlenumWindow = CreateSetpointWindow(wnd, kPlenumSetpointClass, kPlenumSetpointCaption,
                                         PlenumSetpointProc, 0, 240);
    gGrainWindow = CreateSetpointWindow(wnd, kGrainSetpointClass, kGrainSetpointCaption,
                                        GrainSetpointProc, 240, 150);
    CreateLeaveButton(wnd, gFaces, kTempSelectExit, 240, 395);
    // The decoder repaints the screen through this route when a setpoint it shows changes.
    SetRepaintWindow(RepaintTarget::temperatureSetpointScreen, wnd);
}

void OnDestroyTempSelect()
{
    SetRepaintWindow(RepaintTarget::temperatureSetpointScreen, nullptr);
    gFaces.Release();
    gPlenumWindow = nullptr;
    gGrainWindow = nullptr;
}

// The setpoint windows repaint whenever the screen does: their layout and texts follow the
// image on every paint.
void RepaintSetpointWindows()
{
    if (gPlenumWindow != nullptr) InvalidateRect(gPlenumWindow, nullptr, FALSE);
    if (gGrainWindow != nullptr) InvalidateRect(gGrainWindow, nullptr, FALSE);
}

// The screen itself is black behind its two windows and the leave button.
void PaintTempSelect(HWND wnd)
{
    {
        const platform::Painter paint(wnd, kBlack);
    }
    RepaintSetpointWindows();
}

void LeaveTempSelect(HWND wnd)
{
    ScreenManagerState().entryContext = 0;
    ScreenManagerState().entryContextValid = true;
    ReturnToHome(wnd);
}

}  // namespace

LRESULT TempSelectProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
        case WM_CREATE: OnCreateTempSelect(wnd); return 0;
        case WM_DESTROY: OnDestroyTempSelect(); break;
        case WM_DRAWITEM:
            if (gFaces.Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp))) return TRUE;
            break;
        case WM_SHOWWINDOW:
            if (wp != FALSE) InvalidateRect(wnd, nullptr, FALSE);
            break;
        case WM_PAINT: PaintTempSelect(wnd); return 0;
        case WM_COMMAND:
            if (LOWORD(wp) == kTempSelectExit) {
                LeaveTempSelect(wnd);
                return 0;
            }
            break;
    }
    return DefWindowProc(wnd, msg, wp, lp);
}
