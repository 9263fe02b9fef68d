// "Meter Rolls Output Voltage Setup - 27": UP and DOWN step a limit within its range and send
// it at once, together with which limit the dryer should drive the meter rolls at
// (meterRollAdjustBits); DEFAULT sends both default limits; ACCEPT and CANCEL end the
// adjustment.
#include "dryer/setup/meter_roll_output_dialog.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "dryer/link/dryer_image.h"
#include "dryer/link/pending_command.h"
#include "dryer/link/working_copy.h"
#include "dryer/screens/auto_repeat.h"
#include "dryer/screens/screen_manager.h"
#include "platform/controls/controls.h"
#include "platform/windowing/dialog.h"

namespace {

struct LimitDescription {
    MeterLimit limit;
    ImageField field;
    int lowest;
    int highest;
    int adjusting;  // meterRollAdjustBits while it is stepped
    const wchar_t* caption;
    int groupX;
};

constexpr std::array<LimitDescription, 2> kLimits{{
    {MeterLimit::minimum, meterRollMinimum, kMeterRollMinimumLowest, kMeterRollMinimumHighest,
     kAdjustingMinimum, L"Minimum Speed", 10},
    {MeterLimit::maximum, meterRollMaximum, kMeterRollMaximumLowest, kMeterRollMaximumHighest,
     kAdjustingMaximum, L"Maximum Speed", 315},
}};

const LimitDescription& Describe(MeterLimit limit)
{
    return kLimits[static_cast<std::size_t>(limit)];
}

// ---- layout ----
// Two groups side by side: UP and DOWN on the left, the percentage and voltage on the right,
// the bar and the note below; DEFAULT, CANCEL and ACCEPT at the bottom.
constexpr int kGroupWidth = 295;
constexpr int kGroupHeight = 236;
constexpr int kPartsPerLimit = 7;
constexpr int kControlCount = 2 * kPartsPerLimit + 3;
constexpr int kButtonTop = 256;

std::array<DialogControl, kControlCount> BuildControls()
{
    std::array<DialogControl, kControlCount> c{};
    int n = 0;
    for (const LimitDescription& d : kLimits) {
        const int x = d.groupX;
        const auto id = [&](int part) { return MeterControlId(d.limit, part); };
        c[n++] = {WC_BUTTON,   d.caption,    id(kMeterGroup), x, 8,
                  kGroupWidth, kGroupHeight, BS_GROUPBOX,     0};
        c[n++] = {WC_BUTTON, L"UP", id(kMeterUp), x + 14, 34, 100, 46, BS_PUSHBUTTON, 0};
        c[n++] = {WC_BUTTON, L"DOWN", id(kMeterDown), x + 14, 90, 100, 46, BS_PUSHBUTTON, 0};
        c[n++] = {WC_STATIC, L"", id(kMeterPercent),     x + 130, 40,
                  150,       30,  SS_CENTER | WS_BORDER, 0};
        c[n++] = {WC_STATIC, L"", id(kMeterVolts), x + 130, 96, 150, 30, SS_CENTER | WS_BORDER, 0};
        c[n++] = {PROGRESS_CLASS, nullptr, id(kMeterBar), x + 14, 150, 266, 24, 0, 0};
        c[n++] = {WC_STATIC,
                  L"Meter rolls need to be on!",
                  id(kMeterNote),
                  x + 14,
                  190,
                  266,
                  24,
                  SS_CENTER,
                  0};
    }
    c[n++] = {WC_BUTTON, L"DEFAULT", kMeterRollDefault, 10, kButtonTop, 180, 46, BS_PUSHBUTTON, 0};
    c[n++] = {WC_BUTTON, L"CANCEL", IDCANCEL, 225, kButtonTop, 180, 46, BS_PUSHBUTTON, 0};
    c[n++] = {WC_BUTTON, L"ACCEPT", IDOK, 430, kButtonTop, 180, 46, BS_PUSHBUTTON, 0};
    return c;
}

constexpr std::array<int, 4> kStepIds{
    MeterControlId(MeterLimit::minimum, kMeterUp), MeterControlId(MeterLimit::minimum, kMeterDown),
    MeterControlId(MeterLimit::maximum, kMeterUp), MeterControlId(MeterLimit::maximum, kMeterDown)};

// ---- showing a limit ----

void ShowLimit(HWND dlg, const LimitDescription& d)
{
    const int raw = Value(DesiredSettings, d.field);
    wchar_t text[32];
    FormatMeterRollPercent(raw, text, static_cast<int>(std::size(text)));
    SetDlgItemText(dlg, MeterControlId(d.limit, kMeterPercent), text);
    FormatMeterRollVolts(raw, text, static_cast<int>(std::size(text)));
    SetDlgItemText(dlg, MeterControlId(d.limit, kMeterVolts), text);
    SendDlgItemMessage(dlg, MeterControlId(d.limit, kMeterBar), PBM_SETPOS,
                       static_cast<WPARAM>(raw), 0);
}

void OnOpen(HWND dlg)
{
    for (const LimitDescription& d : kLimits) {
        TakeWorkingCopy(d.field);
        SendDlgItemMessage(
            dlg, MeterControlId(d.limit, kMeterBar), PBM_SETRANGE, 0,
            MAKELPARAM(static_cast<unsigned>(d.lowest), static_cast<unsigned>(d.highest)));
        ShowLimit(dlg, d);
    }
    TakeWorkingCopy(optionByte238);
    RegisterAutoRepeat(dlg, kStepIds);
}

// ---- the buttons ----

// Which limit the dryer drives the meter rolls at; the byte's other bits (the bushel counter
// reset request among them) go as the dryer reports them.
void SendAdjusting(int adjusting)
{
    SetBitsValue(DesiredSettings, meterRollAdjustBits, adjusting);
    PendingCommand.Set(optionByte238.pending);
}

void SendLimit(HWND dlg, const LimitDescription& d, int raw)
{
    SetValue(DesiredSettings, d.field, raw);
    PendingCommand.Set(d.field.pending);
    ShowLimit(dlg, d);
}

void Step(HWND dlg, MeterLimit limit, int by)
{
    const LimitDescription& d = Describe(limit);
    const int raw = std::clamp(Value(DesiredSettings, d.field) + by, d.lowest, d.highest);
    SendLimit(dlg, d, raw);
    SendAdjusting(d.adjusting);
}

void Defaults(HWND dlg)
{
    SendLimit(dlg, Describe(MeterLimit::minimum), kMeterRollDefaultMinimum);
    SendLimit(dlg, Describe(MeterLimit::maximum), kMeterRollDefaultMaximum);
}

void Close(HWND dlg, INT_PTR result)
{
    UnregisterAutoRepeat(dlg);
    SendAdjusting(kAdjustingNone);
    EndDialog(dlg, result);
}

INT_PTR OnCommand(HWND dlg, int id)
{
    switch (id) {
        case IDOK: Close(dlg, IDOK); return TRUE;
        case IDCANCEL: Close(dlg, IDCANCEL); return TRUE;
        case kMeterRollDefault: Defaults(dlg); return TRUE;
    }
    for (const LimitDescription& d : kLimits) {
        if (id == MeterControlId(d.limit, kMeterUp)) {
            Step(dlg, d.limit, 1);
            return TRUE;
        }
        if (id == MeterControlId(d.limit, kMeterDown)) {
            Step(dlg, d.limit, -1);
            return TRUE;
        }
    }
    return FALSE;
}

INT_PTR MeterRollOutputProc(HWND dlg, UINT msg, WPARAM wp, LPARAM)
{
    switch (msg) {
        case WM_INITDIALOG: OnOpen(dlg); return TRUE;
        case WM_COMMAND: return OnCommand(dlg, LOWORD(wp));
    }
    return FALSE;
}

}  // namespace

void FormatMeterRollPercent(int raw, wchar_t* out, int outChars)
{
    std::swprintf(out, static_cast<std::size_t>(outChars), L"%3.2f %%", raw * 100.0 / 255.0);
}

void FormatMeterRollVolts(int raw, wchar_t* out, int outChars)
{
    std::swprintf(out, static_cast<std::size_t>(outChars), L"~%3.1f V", raw * 10.0 / 255.0);
}

INT_PTR OpenMeterRollOutput(HWND owner)
{
    static const std::array<DialogControl, kControlCount> kControls = BuildControls();
    DialogTemplate tmpl;
    tmpl.caption = kMeterRollOutputTitle;
    tmpl.width = 627;
    tmpl.height = 345;
    tmpl.style = WS_POPUP | WS_CAPTION | DS_CENTER;
    tmpl.controls = kControls;
    return DialogBoxIndirectParam(Screens().instance, tmpl, owner, MeterRollOutputProc, 0);
}
