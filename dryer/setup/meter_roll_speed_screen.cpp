// "MODIFYING METER ROLL SPEED SETPOINTS (Use knob on control panel) - 23". The working speeds
// live in DesiredSettings: 159 (meteringModeBits) the selected speed, 160, 161 and 162 the high,
// medium and low speeds being edited. They are sent live through the desired metering group
// while that flag is set; otherwise the step buttons are greyed and the speeds follow the knob
// on the control panel (the decoder keeps 159-162 in step with it). ACCEPT stores them as the
// board's presets (156-158).
#include "dryer/setup/meter_roll_speed_screen.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "dryer/link/dryer_image.h"
#include "dryer/link/link_state.h"
#include "dryer/link/pending_command.h"
#include "dryer/link/repaint_routes.h"
#include "dryer/link/working_copy.h"
#include "dryer/screens/auto_repeat.h"
#include "dryer/screens/entry_dialogs.h"
#include "dryer/screens/home_panels.h"
#include "dryer/screens/screen_manager.h"
#include "dryer/setup/drying_mode_shared.h"
#include "dryer/setup/meter_roll_speed_tracking.h"
#include "platform/controls/controls.h"
#include "platform/drawing/painter.h"
#include "platform/windowing/dialog.h"
#include "platform/windowing/window.h"
#include "resources/orbitdryer/panel_colours.h"

namespace {

using home_panels::Format;

constexpr const wchar_t* kTrackingQuestion =
    L"Pressing YES will position the HI setpoint 15% above the center, and "
    L"\t\t\t\t\t\t\t\t\t\tthe LOW 15% below the center.\nNOTE: THE PRESENT SETTINGS OF THE HI "
    L"AND LOW SETPOINTS WILL BE LOST!";
constexpr const wchar_t* kTrackingCaption = L" SWITCH TO +/- 15% TRACKING OF CENTER";

constexpr int kSchemeOneSpeed = kSchemeTemp;        // 1: on / off or two speeds
constexpr int kSchemeTracking = kSchemeThreeSpeed;  // 2: three speeds, tracking possible
constexpr int kSchemeAutomatic = kSchemeVariable;   // 3: automatic while bit 7 is set
constexpr int kSelectableModeBits = 0x3F;           // SELECT acts while these read scheme 1
constexpr int kMaximumSpeed = 100;

// The working speeds, high first, and the presets they are stored in on ACCEPT.
constexpr ImageField kWorkingHigh = meteringValues.Element(0);    // 160
constexpr ImageField kWorkingMedium = meteringValues.Element(1);  // 161
constexpr ImageField kWorkingLow = meteringValues.Element(2);     // 162

constexpr std::array<int, 2> kStepButtons{kMeterIncrease, kMeterDecrease};

int Scheme()
{
    return BitsValue(DesiredSettings, moistureSchemeBits);
}

bool Tracking()
{
    return Scheme() == kSchemeTracking && IsSet(DesiredSettings, fifteenPercentTrackingBit);
}

// The speeds are set here while the board waits for the display's metering values, and
// whenever System Diagnostics gave the metering speed to the screen instead of the knob (with
// the knob switched off, the screen is the only place left to set them).
bool Editing()
{
    return PendingCommand.IsSet(Pending::desiredMeteringGroup) || MeteringByDisplay.load() != 0;
}

int Selected()
{
    return BitsValue(DesiredSettings, meteringModeBits);
}

ImageField SelectedSpeed()
{
    switch (Selected()) {
        case kMeterSelectHigh: return kWorkingHigh;
        case kMeterSelectMedium: return kWorkingMedium;
        default: return kWorkingLow;
    }
}

// While tracking, the high and low speeds are drawn from the medium one on every repaint.
void DeriveTrackedSpeeds()
{
    if (!Tracking()) return;
    const TrackedSpeeds s = TrackMediumSpeed(Value(DesiredSettings, kWorkingMedium));
    SetValue(DesiredSettings, kWorkingHigh, s.high);
    SetValue(DesiredSettings, kWorkingLow, s.low);
}

// ---- the speed picture ----

struct SpeedBar {
    const wchar_t* label;
    ImageField speed;
    int selection;  // the selection it stands for, -1: none
};

constexpr RECT kPictureArea{10, 10, 330, 340};
constexpr int kBarWidth = 70;
constexpr int kBarBase = 280;     // the bars stand on this line
constexpr int kBarTallest = 200;  // a speed of 100 %
constexpr int kLabelHeight = 16;
constexpr int kLabelWeight = 700;
constexpr UINT kCentred = DT_CENTER | DT_VCENTER | DT_SINGLELINE;

void DrawBars(platform::Painter& paint, const std::vector<SpeedBar>& bars)
{
    const int slot = (kPictureArea.right - kPictureArea.left) / static_cast<int>(bars.size());
    for (std::size_t i = 0; i < bars.size(); ++i) {
        const SpeedBar& bar = bars[i];
        const int centre = kPictureArea.left + slot * static_cast<int>(i) + slot / 2;
        const int speed = std::clamp(Value(DesiredSettings, bar.speed), 0, kMaximumSpeed);
        const int top = kBarBase - speed * kBarTallest / kMaximumSpeed;
        const bool selected = bars.size() > 1 && bar.selection == Selected();
        const RECT column{centre - kBarWidth / 2, top, centre + kBarWidth / 2, kBarBase};
        paint.Box(column, selected ? kRed : kBlue, kBlack, 1);
        paint.Text(Format(L"%d %%", Value(DesiredSettings, bar.speed)),
                   RECT{centre - slot / 2, top - 24, centre + slot / 2, top - 4}, kBlack,
                   kLabelHeight, kLabelWeight, kCentred);
        paint.TextToFit(
            bar.label,
            RECT{centre - slot / 2 + 2, kBarBase + 8, centre + slot / 2 - 2, kBarBase + 30},
            selected ? kRed : kBlack, kLabelHeight, kLabelWeight, kCentred, 1, 10);
    }
}

void DrawAutomatic(platform::Painter& paint)
{
    static constexpr std::array<const wchar_t*, 4> kNote{
        L"NOTE:  The dryer has", L"entered automatic mode.", L"No manual adjustments",
        L"are allowed in this mode."};
    paint.Text(L"AUTOMATIC SPEED", RECT{20, 40, 320, 70}, kBlue, 22, FW_BOLD, kCentred);
    for (std::size_t i = 0; i < kNote.size(); ++i) {
        const int y = 130 + static_cast<int>(i) * 26;
        paint.Text(kNote[i], RECT{20, y, 320, y + 24}, kBlack, kLabelHeight, kLabelWeight,
                   kCentred);
    }
}

std::vector<SpeedBar> BarsOfScheme()
{
    const int scheme = Scheme();
    if (scheme == kSchemeOneSpeed) {
        if (IsSet(DesiredSettings, twoSpeedOffBit))
            return {{L"HIGH SPEED", kWorkingHigh, kMeterSelectHigh}};
        return {{L"LOW SP", kWorkingLow, kMeterSelectLow},
                {L"HIGH SP", kWorkingHigh, kMeterSelectHigh}};
    }
    if (scheme == kSchemeTracking) {
        return {{L"LOW SP", kWorkingLow, kMeterSelectLow},
                {L"MAIN SP", kWorkingMedium, kMeterSelectMedium},
                {L"HIGH SP", kWorkingHigh, kMeterSelectHigh}};
    }
    if (scheme == kSchemeFiveSpeed || scheme == kSchemeTempFiveSpeed)
        return {{L"5 SPEED MED", kWorkingMedium, -1}};
    if (Value(DryerImage, dryingType) == kBatchDrying) return {{L"BATCH", kWorkingMedium, -1}};
    return {{L"MANUAL SPEED", kWorkingMedium, -1}};
}

void PaintSpeedPicture(HWND dlg)
{
    DeriveTrackedSpeeds();
    platform::Painter paint(dlg, kSilver);
    paint.Box(kPictureArea, kWhite, kDarkBlue, 2);
    if (Scheme() == kSchemeAutomatic && IsSet(DesiredSettings, moistureAutoBit)) {
        DrawAutomatic(paint);
    } else {
        DrawBars(paint, BarsOfScheme());
    }
}

// ---- the controls ----

void ShowSchemeControls(HWND dlg)
{
    const int scheme = Scheme();
    const bool offered = scheme == kSchemeOneSpeed || scheme == kSchemeTracking;
    for (int id : {kMeterScheme, kMeterFirstRadio, kMeterSecondRadio})
        ShowWindow(GetDlgItem(dlg, id), offered ? SW_SHOW : SW_HIDE);
    if (!offered) return;
    bool first = false;
    if (scheme == kSchemeOneSpeed) {
        SetDlgItemText(dlg, kMeterScheme, L"SPEED SCHEME");
        SetDlgItemText(dlg, kMeterFirstRadio, L"ON / OFF");
        SetDlgItemText(dlg, kMeterSecondRadio, L"TWO SPEED");
        first = IsSet(DesiredSettings, twoSpeedOffBit);
    } else {
        SetDlgItemText(dlg, kMeterScheme, L"15% HI/LOW  TRACKING");
        SetDlgItemText(dlg, kMeterFirstRadio, L"ON");
        SetDlgItemText(dlg, kMeterSecondRadio, L"OFF");
        first = IsSet(DesiredSettings, fifteenPercentTrackingBit);
    }
    ShowChecked(dlg, kMeterFirstRadio, first);
    ShowChecked(dlg, kMeterSecondRadio, !first);
}

void RefreshMeterScreen(HWND dlg)
{
    EnableControls(dlg, {kMeterIncrease, kMeterDecrease, kMeterSelect, kMeterAdjustGroup},
                   Editing());
    ShowSchemeControls(dlg);
    InvalidateRect(dlg, nullptr, FALSE);
}

void StepSpeed(int delta)
{
    const ImageField speed = SelectedSpeed();
    SetValue(DesiredSettings, speed,
             std::clamp(Value(DesiredSettings, speed) + delta, 0, kMaximumSpeed));
}

void SelectSpeed()
{
    if ((Value(DesiredSettings, moistureControlMode) & kSelectableModeBits) != kSchemeOneSpeed)
        return;
    const int before = Selected();
    int selected = before;
    if (IsSet(DryerImage, unloadManualBit)) {
        selected = kMeterSelectMedium;
    } else if (IsSet(DesiredSettings, twoSpeedOffBit)) {
        selected = kMeterSelectHigh;
    } else if (before == kMeterSelectLow) {
        selected = kMeterSelectHigh;
    } else if (before == kMeterSelectHigh) {
        selected = kMeterSelectLow;
    }
    if (selected == before) return;
    SetBitsValue(DesiredSettings, meteringModeBits, selected);
    PendingCommand.Set(Pending::meteringModeBits);
}

void PressScheme(HWND dlg)
{
    if (Scheme() == kSchemeOneSpeed) {
        SetBits(DesiredSettings, twoSpeedOffBit, !IsSet(DesiredSettings, twoSpeedOffBit));
    } else if (Scheme() == kSchemeTracking) {
        if (IsSet(DesiredSettings, fifteenPercentTrackingBit)) {
            SetBits(DesiredSettings, fifteenPercentTrackingBit, false);
        } else if (MessageBox(dlg, kTrackingQuestion, kTrackingCaption,
                              MB_YESNOCANCEL | MB_ICONQUESTION) == IDYES) {
            SetBits(DesiredSettings, fifteenPercentTrackingBit, true);
        }
    } else {
        return;
    }
    SendIfChanged(moistureControlMode);
}

void AcceptSpeeds(HWND dlg)
{
    if (Scheme() == kSchemeTracking) {
        SetBits(DesiredSettings, threeSpeedAcceptedBit, true);
        SendIfChanged(optionByte224);
    }
    DeriveTrackedSpeeds();
    for (int i = 0; i < meteringPreset.count(); ++i) {
        const ImageField preset = meteringPreset.Element(i);
        const int speed = Value(DesiredSettings, meteringValues.Element(i));
        if (speed == Value(DryerImage, preset)) continue;
        SetValue(DesiredSettings, preset, speed);
        PendingCommand.Set(preset.pending);
    }
    if (Editing()) {
        PendingCommand.Set(Pending::meteringModeBits);
        // The one write of the screen into the image: the selection shows at once.
        DryerImage.Set(meteringControl.offset, DesiredSettings.Get(meteringControl.offset));
    }
    EndDialog(dlg, IDOK);
}

// The board's metering values go back to its presets. The working values do too, so that a
// live edit still on its way (desired metering group) asks for the same values and the two
// commands are confirmed together instead of overriding each other on every exchange.
void CancelSpeeds(HWND dlg)
{
    for (int i = 0; i < meteringPreset.count(); ++i) {
        SetValue(DesiredSettings, meteringValues.Element(i),
                 Value(DryerImage, meteringPreset.Element(i)));
    }
    PendingCommand.Set(Pending::presetsToMetering);
    EndDialog(dlg, IDCANCEL);
}

INT_PTR OnMeterCommand(HWND dlg, int id)
{
    switch (id) {
        case kMeterIncrease: StepSpeed(1); break;
        case kMeterDecrease: StepSpeed(-1); break;
        case kMeterSelect: SelectSpeed(); break;
        case kMeterScheme: PressScheme(dlg); break;
        case kMeterAccept: AcceptSpeeds(dlg); return TRUE;
        case kMeterCancel:
        case IDCANCEL: CancelSpeeds(dlg); return TRUE;
        default: return TRUE;  // the radio buttons only show the state
    }
    RefreshMeterScreen(dlg);
    return TRUE;
}

void InitMeterScreen(HWND dlg)
{
    TakeWorkingCopy(moistureControlMode);
    TakeWorkingCopy(optionByte224);
    // The selection a previous visit sent has long gone out: the screen ends its flag.
    PendingCommand.Clear(Pending::meteringModeBits);
    CopyField(DryerImage, DesiredSettings, meteringMode);
    const bool fiveSpeed = Scheme() == kSchemeFiveSpeed || Scheme() == kSchemeTempFiveSpeed;
    SetValue(DesiredSettings, kWorkingHigh, Value(DryerImage, meteringPresetHighSpeed));
    SetValue(DesiredSettings, kWorkingMedium,
             Value(DryerImage, fiveSpeed ? fiveSpeedCenterSpeed : meteringPresetMediumSpeed));
    SetValue(DesiredSettings, kWorkingLow, Value(DryerImage, meteringPresetLowSpeed));
    SetRepaintWindow(RepaintTarget::meteringScreen, dlg);
    RegisterAutoRepeat(dlg, kStepButtons);
    RefreshMeterScreen(dlg);
}

INT_PTR MeterScreenProc(HWND dlg, UINT msg, WPARAM wp, LPARAM)
{
    switch (msg) {
        case WM_INITDIALOG: InitMeterScreen(dlg); return TRUE;
        case WM_PAINT:
            // The decoder repaints the screen when the knob or the flags change the state.
            PaintSpeedPicture(dlg);
            EnableControls(dlg, {kMeterIncrease, kMeterDecrease, kMeterSelect, kMeterAdjustGroup},
                           Editing());
            return TRUE;
        case WM_COMMAND: return OnMeterCommand(dlg, LOWORD(wp));
        case WM_DESTROY:
            UnregisterAutoRepeat(dlg);
            SetRepaintWindow(RepaintTarget::meteringScreen, nullptr);
            return TRUE;
    }
    return FALSE;
}

constexpr DWORD kPush = BS_PUSHBUTTON;

}  // namespace

INT_PTR OpenMeterRollSpeedSetpoints(HWND owner)
{
    static constexpr auto kControls = std::to_array<DialogControl>({
        {WC_BUTTON, L"Speed Adjust", kMeterAdjustGroup, 345, 4, 265, 170, BS_GROUPBOX, 0},
        {WC_BUTTON, L"INCREASE", kMeterIncrease, 357, 28, 120, 56, kPush, 0},
        {WC_BUTTON, L"DECREASE", kMeterDecrease, 479, 28, 120, 56, kPush, 0},
        {WC_BUTTON, L"SELECT", kMeterSelect, 357, 100, 242, 56, kPush, 0},
        {WC_BUTTON, L"", kMeterScheme, 345, 184, 265, 50, kPush, 0},
        {WC_BUTTON, L"", kMeterFirstRadio, 355, 242, 250, 22, BS_RADIOBUTTON, 0},
        {WC_BUTTON, L"", kMeterSecondRadio, 355, 268, 250, 22, BS_RADIOBUTTON, 0},
        {WC_BUTTON, L"ACCEPT / EXIT", kMeterAccept, 345, 300, 128, 50, kPush, 0},
        {WC_BUTTON, L"CANCEL / EXIT", kMeterCancel, 482, 300, 128, 50, kPush, 0},
    });
    DialogTemplate tmpl;
    tmpl.caption = kMeterRollSpeedTitle;
    tmpl.width = 620;
    tmpl.height = 390;
    tmpl.style = WS_POPUP | WS_CAPTION | DS_CENTER;
    tmpl.controls = kControls;
    return DialogBoxIndirectParam(Screens().instance, tmpl, owner, MeterScreenProc, 0);
}
