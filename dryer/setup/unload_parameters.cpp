// "Unload Parameters - 11": the maximum and minimum unload rate, each stepped by INCREASE and
// DECREASE within 0 to 100 %, shown in percent and in bushels per hour. A minimum that is not
// below the maximum is refused: once per run the screen offers the defaults as soon as the two
// meet, and ACCEPT always asks before it sends such a pair.
#include "dryer/setup/unload_parameters.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <iterator>
#include <string>

#include "dryer/link/dryer_image.h"
#include "dryer/link/working_copy.h"
#include "dryer/screens/auto_repeat.h"
#include "dryer/screens/screen_manager.h"
#include "dryer/setup/drying_mode_shared.h"
#include "dryer/setup/unload_rates.h"
#include "platform/controls/controls.h"
#include "platform/windowing/dialog.h"

namespace {

constexpr const wchar_t* kLimitsMeetText =
    L"The MAXIMUM unload rate must be greater than MINIMUM unload rate.  Set defaults?.";
constexpr const wchar_t* kAcceptLimitsMeetText =
    L"The MAXIMUM unload rate must be greater than MINIMUM unload rate.  "
    L"\t\t\t\t\t\t\t\t\t\t\tSet defaults?  Pressing YES will set defaults (Hi = 80% and Low = "
    L"10%).   \t\t\t\t\t\t\t\t\t\t\tPressing NO will not change the previous settings.";
constexpr const wchar_t* kHelpText =
    L"Set the % MAXIMUM Unloading Rate to a\nvalue slightly lower than the maximum\nunload rate "
    L"of your unloading equipment.\n(NOTE: this percentage will need to be \nexperimentally "
    L"found by manually operating \nthe dryer unload at various unload rates to \ndetermine "
    L"the maximum unload rate that \nyour equipment can handle.)  Set the \nMINIMUM Unload "
    L"Rate at 10%.  Once \nthese values have been determined, \ntouch the ACCEPT/ EXIT "
    L"button.\n";

constexpr int kLowestRate = 0;
constexpr int kHighestRate = 100;

constexpr ImageField kMaximumField = unloadRateLimit.Element(0);  // 206-207
constexpr ImageField kMinimumField = unloadRateLimit.Element(1);  // 208-209

constexpr std::array<int, 4> kStepButtons{kUnloadMaximumIncrease, kUnloadMaximumDecrease,
                                          kUnloadMinimumIncrease, kUnloadMinimumDecrease};

// The working limits, percent.
int gMaximum = 0;
int gMinimum = 0;
// The warning of limits that meet has been shown in this run of the program.
bool gLimitsWarningShown = false;

// Layout: the maximum's frame on the left, the minimum's on the right, the three buttons below.
constexpr int kFrameTop = 8;
constexpr int kFrameWidth = 290;
constexpr int kFrameHeight = 214;
constexpr int kFrameLeft[2] = {10, 310};
constexpr int kButtonTop = 234;
constexpr int kButtonWidth = 180;
constexpr int kButtonHeight = 46;

struct LimitControls {
    int frame;
    const wchar_t* title;
    int bph, percent, increase, decrease, footnote;
};
constexpr LimitControls kLimits[2] = {
    {kUnloadMaximumFrame, L"MAXIMUM UNLOAD RATE", kUnloadMaximumBph, kUnloadMaximumPercent,
     kUnloadMaximumIncrease, kUnloadMaximumDecrease, kUnloadMaximumFootnote},
    {kUnloadMinimumFrame, L"MINIMUM UNLOAD RATE", kUnloadMinimumBph, kUnloadMinimumPercent,
     kUnloadMinimumIncrease, kUnloadMinimumDecrease, kUnloadMinimumFootnote},
};
constexpr int kControlCount = 2 * 8 + 3;

std::array<DialogControl, kControlCount> BuildControls()
{
    std::array<DialogControl, kControlCount> c{};
    int n = 0;
    for (int i = 0; i < 2; ++i) {
        const LimitControls& l = kLimits[i];
        const int x = kFrameLeft[i];
        constexpr DWORD kField = SS_RIGHT | WS_BORDER;
        c[n++] = {WC_BUTTON,   l.title,      l.frame,     x, kFrameTop,
                  kFrameWidth, kFrameHeight, BS_GROUPBOX, 0};
        c[n++] = {WC_STATIC, L"", l.percent, x + 14, kFrameTop + 34, 90, 30, kField, 0};
        c[n++] = {WC_STATIC, L"%", UnloadUnitLabelId(l.percent), x + 110, kFrameTop + 38, 50, 24,
                  SS_LEFT,   0};
        c[n++] = {WC_STATIC, L"", l.bph, x + 14, kFrameTop + 78, 90, 30, kField, 0};
        c[n++] = {WC_STATIC, L"BPH", UnloadUnitLabelId(l.bph), x + 110, kFrameTop + 82, 50, 24,
                  SS_LEFT,   0};
        c[n++] = {WC_BUTTON, L"INCREASE", l.increase,    x + 166, kFrameTop + 30,
                  112,       40,          BS_PUSHBUTTON, 0};
        c[n++] = {WC_BUTTON, L"DECREASE", l.decrease,    x + 166, kFrameTop + 76,
                  112,       40,          BS_PUSHBUTTON, 0};
        c[n++] = {WC_STATIC,        L"", l.footnote, x + 12, kFrameTop + 128,
                  kFrameWidth - 24, 70,  SS_LEFT,    0};
    }
    c[n++] = {WC_BUTTON,    L"ACCEPT",     kUnloadAccept, 10, kButtonTop,
              kButtonWidth, kButtonHeight, BS_PUSHBUTTON, 0};
    c[n++] = {WC_BUTTON,    L"HELP",       kUnloadHelp,   215, kButtonTop,
              kButtonWidth, kButtonHeight, BS_PUSHBUTTON, 0};
    c[n++] = {WC_BUTTON,    L"CANCEL",     kUnloadCancel, 420, kButtonTop,
              kButtonWidth, kButtonHeight, BS_PUSHBUTTON, 0};
    return c;
}

void ShowLimit(HWND dlg, const LimitControls& l, int percent, const std::wstring& footnote)
{
    wchar_t text[32];
    std::swprintf(text, std::size(text), L"%d", percent);
    SetDlgItemText(dlg, l.percent, text);
    std::swprintf(text, std::size(text), L"%0.0f",
                  static_cast<double>(UnloadBushelsPerHour(DryerImage, percent)));
    SetDlgItemText(dlg, l.bph, text);
    SetDlgItemText(dlg, l.footnote, footnote.c_str());
}

void Refresh(HWND dlg)
{
    const std::wstring footnote = UnloadRateFootnote(DryerImage);
    ShowLimit(dlg, kLimits[0], gMaximum, footnote);
    ShowLimit(dlg, kLimits[1], gMinimum, footnote);
}

bool LimitsMeet()
{
    return gMinimum >= gMaximum;
}

void TakeDefaults()
{
    gMaximum = kDefaultMaximumUnloadRate;
    gMinimum = kDefaultMinimumUnloadRate;
}

void OnOpen(HWND dlg)
{
    PlaceDryingModeDialog(dlg, Screens().main);
    TakeWorkingCopy(unloadRateLimit);
    gMaximum = Value(DesiredSettings, kMaximumField);
    gMinimum = Value(DesiredSettings, kMinimumField);
    RegisterAutoRepeat(dlg, kStepButtons);
    Refresh(dlg);
}

void Close(HWND dlg, INT_PTR result)
{
    UnregisterAutoRepeat(dlg);
    EndDialog(dlg, result);
}

// A minimum raised to the maximum, or a maximum lowered to the minimum: the first time in a
// run the operator is offered the defaults at once; afterwards ACCEPT catches it.
void Step(HWND dlg, int& rate, int by, bool towardsTheOther)
{
    rate = std::clamp(rate + by, kLowestRate, kHighestRate);
    if (towardsTheOther && LimitsMeet() && !gLimitsWarningShown) {
        gLimitsWarningShown = true;
        Refresh(dlg);
        if (MessageBox(dlg, kLimitsMeetText, kUnloadRatesErrorCaption, MB_YESNO | MB_ICONSTOP) ==
            IDYES) {
            TakeDefaults();
        }
    }
    Refresh(dlg);
}

void Accept(HWND dlg)
{
    if (LimitsMeet()) {
        gLimitsWarningShown = true;
        if (MessageBox(dlg, kAcceptLimitsMeetText, kUnloadRatesErrorCaption,
                       MB_YESNO | MB_ICONSTOP) != IDYES) {
            Close(dlg, IDCANCEL);  // the limits stay as the dryer has them
            return;
        }
        TakeDefaults();
    }
    SetValue(DesiredSettings, kMaximumField, gMaximum);
    SetValue(DesiredSettings, kMinimumField, gMinimum);
    SendIfChanged(unloadRateLimit);
    Close(dlg, IDOK);
}

INT_PTR OnCommand(HWND dlg, int id)
{
    switch (id) {
        case kUnloadMaximumIncrease: Step(dlg, gMaximum, +1, false); return TRUE;
        case kUnloadMaximumDecrease: Step(dlg, gMaximum, -1, true); return TRUE;
        case kUnloadMinimumIncrease: Step(dlg, gMinimum, +1, true); return TRUE;
        case kUnloadMinimumDecrease: Step(dlg, gMinimum, -1, false); return TRUE;
        case kUnloadAccept: Accept(dlg); return TRUE;
        case kUnloadHelp:
            MessageBox(dlg, kHelpText, kUnloadRatesHelpCaption, MB_OKCANCEL);
            return TRUE;
        case kUnloadCancel:
        case IDCANCEL: Close(dlg, IDCANCEL); return TRUE;
    }
    return FALSE;
}

INT_PTR UnloadParametersProc(HWND dlg, UINT msg, WPARAM wp, LPARAM)
{
    switch (msg) {
        case WM_INITDIALOG: OnOpen(dlg); return TRUE;
        case WM_COMMAND: return OnCommand(dlg, LOWORD(wp));
        case WM_DESTROY: UnregisterAutoRepeat(dlg); return FALSE;
    }
    return FALSE;
}

}  // namespace

INT_PTR OpenUnloadParameters(HWND owner)
{
    static const std::array<DialogControl, kControlCount> kControls = BuildControls();
    DialogTemplate tmpl;
    tmpl.caption = kUnloadParametersTitle;
    tmpl.width = 612;
    tmpl.height = 322;
    tmpl.style = WS_POPUP | WS_CAPTION;
    tmpl.controls = kControls;
    return DialogBoxIndirectParam(Screens().instance, tmpl, owner, UnloadParametersProc, 0);
}

void ResetUnloadRatesWarning()
{
    gLimitsWarningShown = false;
}
