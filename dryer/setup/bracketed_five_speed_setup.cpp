// "BRACKETED 5 SPEED MOISTURE CONTROL SETUP - 23". In the five speed schemes the dryer runs the
// metering rolls at the centre speed while the grain stays within the inner limits around the
// setpoint, one speed step faster or slower between the inner and the outer limits, and a
// larger step beyond the outer ones. Moisture regulation (scheme 4) brackets the moisture
// setpoint in tenths of a percent; the temperature schemes bracket grain setpoint 1 in whole
// degrees F. Working copies: bracketOuterLimit, bracketInnerLimit, bracketOuterSpeedOffset and
// bracketInnerSpeedOffset (226-229), and moistureControlMode for the scheme.
#include "dryer/setup/bracketed_five_speed_setup.h"

#include <algorithm>
#include <array>
#include <span>
#include <string>

#include "dryer/link/dryer_image.h"
#include "dryer/link/pending_command.h"
#include "dryer/link/working_copy.h"
#include "dryer/screens/auto_repeat.h"
#include "dryer/screens/home_panels.h"
#include "dryer/screens/screen_manager.h"
#include "dryer/setup/drying_mode_shared.h"
#include "platform/controls/controls.h"
#include "platform/windowing/dialog.h"

namespace {

using home_panels::Format;
using home_panels::kDegree;

// The steps' bounds, by unit: moisture brackets in tenths of a percent, temperature brackets
// in degrees F. Speed offsets are the same in both.
struct LimitBounds {
    int outerMaximum;  // INC of the outer limit stops here
    int outerMinimum;  // DEC of the outer limit stops here
    int innerMaximum;  // INC of the inner limit stops here (and below the outer limit)
    int outerDefault;
    int innerDefault;
};
constexpr LimitBounds kMoistureBounds{30, 3, 6, 6, 3};
constexpr LimitBounds kTemperatureBounds{5, 2, 2, 3, 1};
constexpr int kInnerLimitMinimum = 1;
constexpr int kOuterOffsetMaximum = 30;
constexpr int kOuterOffsetMinimum = 3;
constexpr int kInnerOffsetMaximum = 10;
constexpr int kInnerOffsetMinimum = 1;
constexpr int kOuterOffsetDefault = 6;
constexpr int kInnerOffsetDefault = 3;
constexpr int kSpeedShownFactor = 10;  // speeds and offsets are shown x 10

constexpr std::array<const wchar_t*, 5> kRowLabels{L"POSITIVE OUTER LIMIT", L"POSITIVE INNER LIMIT",
                                                   L"SETPOINT", L"NEGATIVE INNER LIMIT",
                                                   L"NEGATIVE OUTER LIMIT"};

constexpr std::array<int, 4> kStepButtons{kBracketLimitInc, kBracketLimitDec, kBracketSpeedInc,
                                          kBracketSpeedDec};

// The pair INC and DEC edit: the outer limit with the outer speed offset, or the inner ones.
bool gEditingInner = false;

bool MoistureScheme()
{
    return BitsValue(DesiredSettings, moistureSchemeBits) == kSchemeFiveSpeed;
}

const LimitBounds& Bounds()
{
    return MoistureScheme() ? kMoistureBounds : kTemperatureBounds;
}

int Working(ImageField field)
{
    return Value(DesiredSettings, field);
}

void SetWorking(ImageField field, int value)
{
    SetValue(DesiredSettings, field, value);
}

// ---- the left column: the limits around the setpoint ----

std::wstring LimitText(wchar_t sign, int limit)
{
    if (MoistureScheme()) return Format(L"%c%01d.%d %%", sign, limit / 10, limit % 10);
    return Format(L"%c%01d %cF", sign, limit, kDegree);
}

std::wstring SetpointText()
{
    if (MoistureScheme()) {
        const int setpoint = Value(DryerImage, moistureSetpoint);
        return Format(L"%d.%d %%", setpoint / 10, setpoint % 10);
    }
    return Format(L"%d %cF", Value(DryerImage, grainSetpointMain), kDegree);
}

void ShowLimits(HWND dlg)
{
    const int outer = Working(bracketOuterLimit);
    const int inner = Working(bracketInnerLimit);
    SetDlgItemText(dlg, kBracketPositiveOuterLimit, LimitText(L'+', outer).c_str());
    SetDlgItemText(dlg, kBracketPositiveInnerLimit, LimitText(L'+', inner).c_str());
    SetDlgItemText(dlg, kBracketSetpoint, SetpointText().c_str());
    SetDlgItemText(dlg, kBracketNegativeInnerLimit, LimitText(L'-', inner).c_str());
    SetDlgItemText(dlg, kBracketNegativeOuterLimit, LimitText(L'-', outer).c_str());
}

// ---- the right column: the speed offsets and the speeds they give ----

// The rows on the side where the dryer speeds up (too wet, or grain too cool: the negative
// rows of moisture regulation, the positive rows of temperature regulation) run at the centre
// speed plus the offset; the other side slows down from the medium preset, never below 0.
int FasterSpeed(int offset)
{
    return (Value(DryerImage, fiveSpeedCenterSpeed) + offset) * kSpeedShownFactor;
}

int SlowerSpeed(int offset)
{
    const int speed = Value(DryerImage, meteringPresetMediumSpeed) * kSpeedShownFactor -
                      offset * kSpeedShownFactor;
    return std::max(speed, 0);
}

struct SpeedRow {
    int offsetId;
    int speedId;
    ImageField offset;
    bool positive;
};
constexpr std::array<SpeedRow, 4> kSpeedRows{{
    {kBracketPositiveOuterOffset, kBracketPositiveOuterSpeed, bracketOuterSpeedOffset, true},
    {kBracketPositiveInnerOffset, kBracketPositiveInnerSpeed, bracketInnerSpeedOffset, true},
    {kBracketNegativeInnerOffset, kBracketNegativeInnerSpeed, bracketInnerSpeedOffset, false},
    {kBracketNegativeOuterOffset, kBracketNegativeOuterSpeed, bracketOuterSpeedOffset, false},
}};

void ShowSpeeds(HWND dlg)
{
    SetDlgItemText(
        dlg, kBracketCenterSpeed,
        Format(L"%d", Value(DryerImage, fiveSpeedCenterSpeed) * kSpeedShownFactor).c_str());
    for (const SpeedRow& row : kSpeedRows) {
        const int offset = Working(row.offset);
        const bool faster = row.positive != MoistureScheme();
        SetDlgItemText(dlg, row.offsetId,
                       Format(faster ? L"+%d" : L"-%d", offset * kSpeedShownFactor).c_str());
        const int speed = faster ? FasterSpeed(offset) : SlowerSpeed(offset);
        SetDlgItemText(dlg, row.speedId, Format(L"%d", speed).c_str());
    }
}

// The fields of the pair INC and DEC edit are shown in black, the other pair's greyed.
void ShowSelection(HWND dlg)
{
    EnableControls(
        dlg,
        {kBracketPositiveOuterLimit, kBracketNegativeOuterLimit, kBracketPositiveOuterOffset,
         kBracketNegativeOuterOffset, kBracketPositiveOuterSpeed, kBracketNegativeOuterSpeed},
        !gEditingInner);
    EnableControls(
        dlg,
        {kBracketPositiveInnerLimit, kBracketNegativeInnerLimit, kBracketPositiveInnerOffset,
         kBracketNegativeInnerOffset, kBracketPositiveInnerSpeed, kBracketNegativeInnerSpeed},
        gEditingInner);
}

void RefreshBracketSetup(HWND dlg)
{
    ShowLimits(dlg);
    ShowSpeeds(dlg);
    ShowSelection(dlg);
}

// ---- the steps ----

void StepLimit(bool up)
{
    const LimitBounds& b = Bounds();
    const int outer = Working(bracketOuterLimit);
    const int inner = Working(bracketInnerLimit);
    if (!gEditingInner) {
        if (up && outer < b.outerMaximum) SetWorking(bracketOuterLimit, outer + 1);
        // The outer limit never drops below the inner one.
        if (!up && inner < outer && outer > b.outerMinimum)
            SetWorking(bracketOuterLimit, outer - 1);
    } else {
        if (up && inner < outer && inner < b.innerMaximum) SetWorking(bracketInnerLimit, inner + 1);
        if (!up && inner > kInnerLimitMinimum) SetWorking(bracketInnerLimit, inner - 1);
    }
}

void StepSpeedOffset(bool up)
{
    const int outer = Working(bracketOuterSpeedOffset);
    const int inner = Working(bracketInnerSpeedOffset);
    if (!gEditingInner) {
        if (up && outer < kOuterOffsetMaximum) SetWorking(bracketOuterSpeedOffset, outer + 1);
        if (!up && outer > inner + 1 && outer > kOuterOffsetMinimum)
            SetWorking(bracketOuterSpeedOffset, outer - 1);
    } else {
        // The board takes an inner step one above the outer one; the outer DEC keeps the outer
        // step above the inner one.
        if (up && inner <= outer && inner < kInnerOffsetMaximum)
            SetWorking(bracketInnerSpeedOffset, inner + 1);
        if (!up && inner > kInnerOffsetMinimum) SetWorking(bracketInnerSpeedOffset, inner - 1);
    }
}

void SelectDefaults()
{
    const LimitBounds& b = Bounds();
    SetWorking(bracketOuterLimit, b.outerDefault);
    SetWorking(bracketInnerLimit, b.innerDefault);
    SetWorking(bracketOuterSpeedOffset, kOuterOffsetDefault);
    SetWorking(bracketInnerSpeedOffset, kInnerOffsetDefault);
}

INT_PTR OnBracketCommand(HWND dlg, int id)
{
    switch (id) {
        case kBracketLimitInc: StepLimit(true); break;
        case kBracketLimitDec: StepLimit(false); break;
        case kBracketSpeedInc: StepSpeedOffset(true); break;
        case kBracketSpeedDec: StepSpeedOffset(false); break;
        case kBracketSelect: gEditingInner = !gEditingInner; break;
        case kBracketDefaults: SelectDefaults(); break;
        case kBracketAccept:
            SendIfChanged(moistureSetupBytes);
            EndDialog(dlg, IDOK);
            return TRUE;
        case IDCANCEL: EndDialog(dlg, IDCANCEL); return TRUE;
        default: return TRUE;
    }
    RefreshBracketSetup(dlg);
    return TRUE;
}

void InitBracketSetup(HWND dlg, HWND owner)
{
    TakeWorkingCopy(moistureSetupBytes);
    TakeWorkingCopy(moistureControlMode);
    const bool temperatureCaption =
        BitsValue(DesiredSettings, moistureSchemeBits) == kSchemeTempFiveSpeed;
    SetDlgItemText(dlg, kBracketLimitGroup, temperatureCaption ? L"TEMPERATURE" : L"MOISTURE");
    PlaceDryingModeDialog(dlg, owner);
    RegisterAutoRepeat(dlg, kStepButtons);
    RefreshBracketSetup(dlg);
}

INT_PTR BracketSetupProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
        case WM_INITDIALOG: InitBracketSetup(dlg, reinterpret_cast<HWND>(lp)); return TRUE;
        case WM_COMMAND: return OnBracketCommand(dlg, LOWORD(wp));
        case WM_DESTROY: UnregisterAutoRepeat(dlg); return TRUE;  // however the dialog ends
    }
    return FALSE;
}

constexpr DWORD kPush = BS_PUSHBUTTON;
constexpr DWORD kGroup = BS_GROUPBOX;
constexpr DWORD kField = SS_CENTER;

// Rows of both columns, top to bottom.
constexpr int kFirstRowY = 30;
constexpr int kRowPitch = 38;
constexpr int RowY(int row)
{
    return kFirstRowY + row * kRowPitch;
}

}  // namespace

void ResetFiveSpeedSelection()
{
    gEditingInner = false;
}

INT_PTR OpenFiveSpeedSetup(HWND owner)
{
    static constexpr auto kControls = std::to_array<DialogControl>({
        // the limits around the setpoint (left)
        {WC_BUTTON, L"MOISTURE", kBracketLimitGroup, 10, 4, 330, 270, kGroup, 0},
        {WC_STATIC, kRowLabels[0], kBracketFirstRowLabel, 20, RowY(0), 190, 22, SS_LEFT, 0},
        {WC_STATIC, kRowLabels[1], kBracketFirstRowLabel + 1, 20, RowY(1), 190, 22, SS_LEFT, 0},
        {WC_STATIC, kRowLabels[2], kBracketFirstRowLabel + 2, 20, RowY(2), 190, 22, SS_LEFT, 0},
        {WC_STATIC, kRowLabels[3], kBracketFirstRowLabel + 3, 20, RowY(3), 190, 22, SS_LEFT, 0},
        {WC_STATIC, kRowLabels[4], kBracketFirstRowLabel + 4, 20, RowY(4), 190, 22, SS_LEFT, 0},
        {WC_STATIC, L"", kBracketPositiveOuterLimit, 220, RowY(0), 110, 22, kField, 0},
        {WC_STATIC, L"", kBracketPositiveInnerLimit, 220, RowY(1), 110, 22, kField, 0},
        {WC_STATIC, L"", kBracketSetpoint, 220, RowY(2), 110, 22, kField, 0},
        {WC_STATIC, L"", kBracketNegativeInnerLimit, 220, RowY(3), 110, 22, kField, 0},
        {WC_STATIC, L"", kBracketNegativeOuterLimit, 220, RowY(4), 110, 22, kField, 0},
        {WC_BUTTON, L"INC", kBracketLimitInc, 20, 220, 150, 44, kPush, 0},
        {WC_BUTTON, L"DEC", kBracketLimitDec, 180, 220, 150, 44, kPush, 0},
        // the speed offsets and the speeds they give (right)
        {WC_BUTTON, L"METERING SPEED", kBracketSpeedGroup, 350, 4, 260, 270, kGroup, 0},
        {WC_STATIC, L"", kBracketPositiveOuterOffset, 360, RowY(0), 115, 22, kField, 0},
        {WC_STATIC, L"", kBracketPositiveInnerOffset, 360, RowY(1), 115, 22, kField, 0},
        {WC_STATIC, L"", kBracketCenterSpeed, 360, RowY(2), 115, 22, kField, 0},
        {WC_STATIC, L"", kBracketNegativeInnerOffset, 360, RowY(3), 115, 22, kField, 0},
        {WC_STATIC, L"", kBracketNegativeOuterOffset, 360, RowY(4), 115, 22, kField, 0},
        {WC_STATIC, L"", kBracketPositiveOuterSpeed, 485, RowY(0), 115, 22, kField, 0},
        {WC_STATIC, L"", kBracketPositiveInnerSpeed, 485, RowY(1), 115, 22, kField, 0},
        {WC_STATIC, L"", kBracketNegativeInnerSpeed, 485, RowY(3), 115, 22, kField, 0},
        {WC_STATIC, L"", kBracketNegativeOuterSpeed, 485, RowY(4), 115, 22, kField, 0},
        {WC_BUTTON, L"INC", kBracketSpeedInc, 360, 220, 115, 44, kPush, 0},
        {WC_BUTTON, L"DEC", kBracketSpeedDec, 485, 220, 115, 44, kPush, 0},
        // the bottom row
        {WC_BUTTON, L"SELECT", kBracketSelect, 10, 286, 190, 50, kPush, 0},
        {WC_BUTTON, L"SELECT DEFAULTS", kBracketDefaults, 215, 286, 190, 50, kPush, 0},
        {WC_BUTTON, L"ACCEPT / EXIT", kBracketAccept, 420, 286, 190, 50, kPush, 0},
    });
    DialogTemplate tmpl;
    tmpl.caption = kFiveSpeedSetupTitle;
    tmpl.width = 620;
    tmpl.height = 375;
    tmpl.style = WS_POPUP | WS_CAPTION;
    tmpl.controls = kControls;
    return DialogBoxIndirectParam(Screens().instance, tmpl, owner, BracketSetupProc,
                                  reinterpret_cast<LPARAM>(owner));
}
