// " MOISTURE SENSOR CALIBRATION - 13": the wet and dry sensors' moisture and grain temperature
// as the dryer reports them, and their four calibration offsets. "<<<" and ">>>" step an offset
// by a tenth within -10.0 to +10.0 (a held button repeats through the 100 ms tick); ACCEPT sends
// each offset that differs from what the dryer reports.
#include "dryer/setup/moisture_sensor_calibration.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <iterator>

#include "dryer/link/dryer_image.h"
#include "dryer/link/repaint_routes.h"
#include "dryer/link/working_copy.h"
#include "dryer/screens/auto_repeat.h"
#include "dryer/screens/screen_manager.h"
#include "platform/controls/controls.h"
#include "platform/windowing/dialog.h"

namespace {

constexpr const wchar_t* kHelpText =
    L"To properly calibrate either moisture\nsensor, take several samples of the grain over a\n"
    L"period of time, average these values and calibrate\nthe sensors accordingly.";

struct OffsetDescription {
    CalibrationOffset offset;
    ImageField field;  // signed, tenths, high byte first
    const wchar_t* label;
    int column;  // 0 under the wet sensor, 1 under the dry sensor
    int row;
};

constexpr std::array<OffsetDescription, kCalibrationOffsetCount> kOffsets{{
    {CalibrationOffset::wetMoist, wetMoistureOffset, L"WET MOIST OFFSET", 0, 0},
    {CalibrationOffset::dryMoist, dryMoistureOffset, L"DRY MOIST OFFSET", 1, 0},
    {CalibrationOffset::wetTemp, wetSensorTempOffset, L"WET TEMP OFFSET", 0, 1},
    {CalibrationOffset::dryTemp, drySensorTempOffset, L"DRY TEMP OFFSET", 1, 1},
}};

constexpr int Id(const OffsetDescription& d, int part)
{
    return CalibrationOffsetId(d.offset, part);
}

// The step buttons in the order the held-button repeat looks at them.
constexpr std::array<int, 2 * kCalibrationOffsetCount> kStepButtons{
    Id(kOffsets[0], kOffsetUp),   Id(kOffsets[0], kOffsetDown), Id(kOffsets[1], kOffsetUp),
    Id(kOffsets[1], kOffsetDown), Id(kOffsets[2], kOffsetUp),   Id(kOffsets[2], kOffsetDown),
    Id(kOffsets[3], kOffsetUp),   Id(kOffsets[3], kOffsetDown)};

// ---- layout ----
// The wet sensor's frame and offsets on the left, the dry sensor's on the right; HELP and
// ACCEPT below.
constexpr int kColumnX[2] = {10, 320};
constexpr int kColumnWidth = 300;
constexpr int kFrameTop = 6;
constexpr int kFrameHeight = 96;
constexpr int kOffsetTop = 112;
constexpr int kOffsetRowStep = 86;
constexpr int kStepWidth = 84;
constexpr int kStepHeight = 46;
constexpr int kFieldWidth = 104;
constexpr int kButtonTop = 292;
constexpr int kButtonWidth = 200;
constexpr int kButtonHeight = 46;
constexpr int kControlCount = 6 + 4 * kCalibrationOffsetCount + 2;

struct SensorFrame {
    int frame, moisture, temperature;
    const wchar_t* caption;
};
constexpr SensorFrame kSensors[2] = {
    {kCalibrationWetFrame, kCalibrationWetMoisture, kCalibrationWetTemperature, L"WET SENSOR"},
    {kCalibrationDryFrame, kCalibrationDryMoisture, kCalibrationDryTemperature, L"DRY SENSOR"},
};

std::array<DialogControl, kControlCount> BuildControls()
{
    std::array<DialogControl, kControlCount> c{};
    int n = 0;
    for (int column = 0; column < 2; ++column) {
        const SensorFrame& s = kSensors[column];
        const int x = kColumnX[column];
        c[n++] = {WC_BUTTON,    s.caption,    s.frame,     x, kFrameTop,
                  kColumnWidth, kFrameHeight, BS_GROUPBOX, 0};
        c[n++] = {WC_STATIC,         L"", s.moisture, x + 16, kFrameTop + 28,
                  kColumnWidth - 32, 26,  SS_LEFT,    0};
        c[n++] = {WC_STATIC,         L"", s.temperature, x + 16, kFrameTop + 58,
                  kColumnWidth - 32, 26,  SS_LEFT,       0};
    }
    for (const OffsetDescription& d : kOffsets) {
        const int x = kColumnX[d.column];
        const int y = kOffsetTop + d.row * kOffsetRowStep;
        const int fieldX = x + (kColumnWidth - kFieldWidth) / 2;
        c[n++] = {WC_STATIC, d.label, Id(d, kOffsetLabel), x, y, kColumnWidth, 24, SS_CENTER, 0};
        c[n++] = {WC_BUTTON,  L"<<<",      Id(d, kOffsetDown), x, y + 28,
                  kStepWidth, kStepHeight, BS_PUSHBUTTON,      0};
        c[n++] = {WC_STATIC,   L"", Id(d, kOffsetField),   fieldX, y + 36,
                  kFieldWidth, 30,  SS_CENTER | WS_BORDER, 0};
        c[n++] = {WC_BUTTON, L">>>",     Id(d, kOffsetUp), x + kColumnWidth - kStepWidth,
                  y + 28,    kStepWidth, kStepHeight,      BS_PUSHBUTTON,
                  0};
    }
    c[n++] = {WC_BUTTON,     L"HELP",       kCalibrationHelp,
              kColumnX[0],   kButtonTop,    kButtonWidth,
              kButtonHeight, BS_PUSHBUTTON, 0};
    c[n++] = {WC_BUTTON,  L"ACCEPT",    IDOK,          kColumnX[1] + kColumnWidth - kButtonWidth,
              kButtonTop, kButtonWidth, kButtonHeight, BS_PUSHBUTTON,
              0};
    return c;
}

// ---- what the screen shows ----

// A reading in tenths as "whole.tenth" after its label, as the sensors' lines show it.
void ShowReading(HWND dlg, int id, const wchar_t* format, int tenths)
{
    wchar_t text[48];
    std::swprintf(text, std::size(text), format, tenths / 10, tenths % 10);
    SetDlgItemText(dlg, id, text);
}

void ShowReadings(HWND dlg)
{
    constexpr const wchar_t* kMoisture = L"MOISTURE:    %2d.%1d %%";
    constexpr const wchar_t* kTemperature = L"TEMPERATURE: %d.%1d F";
    ShowReading(dlg, kCalibrationWetMoisture, kMoisture, Value(DryerImage, wetMoisture));
    ShowReading(dlg, kCalibrationWetTemperature, kTemperature, Value(DryerImage, wetSensorTemp));
    ShowReading(dlg, kCalibrationDryMoisture, kMoisture, Value(DryerImage, dryMoisture));
    ShowReading(dlg, kCalibrationDryTemperature, kTemperature, Value(DryerImage, drySensorTemp));
}

void ShowOffset(HWND dlg, const OffsetDescription& d)
{
    wchar_t text[16];
    std::swprintf(text, std::size(text), L"%3.1f", Value(DesiredSettings, d.field) * 0.1);
    SetDlgItemText(dlg, Id(d, kOffsetField), text);
}

// ---- the buttons ----

void Step(HWND dlg, const OffsetDescription& d, int by)
{
    const int value = std::clamp(Value(DesiredSettings, d.field) + by, kCalibrationOffsetLowest,
                                 kCalibrationOffsetHighest);
    SetValue(DesiredSettings, d.field, value);
    ShowOffset(dlg, d);
}

void OnOpen(HWND dlg)
{
    TakeWorkingCopy(moistureOffset);
    TakeWorkingCopy(sensorTempOffset);
    for (const OffsetDescription& d : kOffsets) ShowOffset(dlg, d);
    ShowReadings(dlg);
    SetRepaintWindow(RepaintTarget::moistureCalibrationScreen, dlg);
    RegisterAutoRepeat(dlg, kStepButtons);
}

void Close(HWND dlg, INT_PTR result)
{
    UnregisterAutoRepeat(dlg);
    SetRepaintWindow(RepaintTarget::moistureCalibrationScreen, nullptr);
    EndDialog(dlg, result);
}

void Accept(HWND dlg)
{
    SendIfChanged(moistureOffset);
    SendIfChanged(sensorTempOffset);
    Close(dlg, IDOK);
}

INT_PTR OnCommand(HWND dlg, int id)
{
    switch (id) {
        case IDOK: Accept(dlg); return TRUE;
        case IDCANCEL: Close(dlg, IDCANCEL); return TRUE;
        case kCalibrationHelp:
            MessageBox(dlg, kHelpText, kMoistureCalibrationHelpCaption, MB_OK);
            return TRUE;
    }
    for (const OffsetDescription& d : kOffsets) {
        if (id == Id(d, kOffsetUp)) {
            Step(dlg, d, +1);
            return TRUE;
        }
        if (id == Id(d, kOffsetDown)) {
            Step(dlg, d, -1);
            return TRUE;
        }
    }
    return FALSE;
}

INT_PTR MoistureSensorCalibrationProc(HWND dlg, UINT msg, WPARAM wp, LPARAM)
{
    switch (msg) {
        case WM_INITDIALOG: OnOpen(dlg); return TRUE;
        // The decoder asks for a repaint when the readings change: take them from the image
        // anew, then let the dialog paint its face as usual.
        case WM_PAINT: ShowReadings(dlg); return FALSE;
        case WM_COMMAND: return OnCommand(dlg, LOWORD(wp));
        case WM_DESTROY:
            UnregisterAutoRepeat(dlg);
            SetRepaintWindow(RepaintTarget::moistureCalibrationScreen, nullptr);
            return FALSE;
    }
    return FALSE;
}

}  // namespace

INT_PTR OpenMoistureSensorCalibration(HWND owner)
{
    static const std::array<DialogControl, kControlCount> kControls = BuildControls();
    DialogTemplate tmpl;
    tmpl.caption = kMoistureSensorCalibrationTitle;
    tmpl.width = 630;
    tmpl.height = 380;
    tmpl.style = WS_POPUP | WS_CAPTION | DS_CENTER;
    tmpl.controls = kControls;
    return DialogBoxIndirectParam(Screens().instance, tmpl, owner, MoistureSensorCalibrationProc,
                                  0);
}
