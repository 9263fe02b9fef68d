// "Moisture Sampler Setup": three settings in the sampler option byte, each shown as text with
// a SELECT button that steps it. A press changes the working copy of the byte and raises its
// flag at once; the other bits of the byte, the cycled sampler's installed bit among them, go
// back to the dryer as they are.
#include "dryer/setup/moisture_sampler_setup.h"

#include <array>
#include <span>

#include "dryer/link/dryer_image.h"
#include "dryer/link/pending_command.h"
#include "dryer/link/working_copy.h"
#include "dryer/screens/screen_manager.h"
#include "platform/controls/controls.h"
#include "platform/windowing/dialog.h"

namespace {

constexpr std::array<const wchar_t*, 2> kCleaningActions{
    L"Shutdown Dryer Immediately",
    L"Switch to Grain Temperature Moisture Control",
};
constexpr std::array<const wchar_t*, 4> kActionDelays{L"Zero", L"1/2 Hour", L"1 Hour", L"2 Hour"};
constexpr std::array<const wchar_t*, 4> kGrainTempTimes{L"1 Hour", L"2 Hours", L"4 Hours",
                                                        L"Indefinite"};

// One setting: its bits, the texts of its values (SELECT steps through them and wraps), and
// its controls.
struct SamplerSetting {
    ImageBits bits;
    std::span<const wchar_t* const> values;
    int valueId;
    int selectId;
};
const std::array<SamplerSetting, 3> kSettings{{
    {samplerCleaningActionBit, kCleaningActions, kSamplerActionValue, kSamplerActionSelect},
    {samplerActionDelayBits, kActionDelays, kSamplerDelayValue, kSamplerDelaySelect},
    {samplerGrainTempTimeBits, kGrainTempTimes, kSamplerGrainTempValue, kSamplerGrainTempSelect},
}};

// Three framed rows, the value on the left and SELECT on the right of each, EXIT below.
constexpr int kWidth = 600;
constexpr int kHeight = 330;
constexpr int kRowTop[3] = {10, 90, 170};
constexpr int kFrameWidth = 576;
constexpr int kFrameHeight = 72;

constexpr std::array<DialogControl, 10> kControls{{
    {WC_BUTTON, L"Action When Sampler Requires Cleaning", kSamplerActionFrame, 12, kRowTop[0],
     kFrameWidth, kFrameHeight, BS_GROUPBOX, 0},
    {WC_STATIC, L"", kSamplerActionValue, 24, kRowTop[0] + 28, 410, 30, SS_CENTER | WS_BORDER, 0},
    {WC_BUTTON, L"SELECT", kSamplerActionSelect, 448, kRowTop[0] + 22, 128, 42, BS_PUSHBUTTON, 0},
    {WC_BUTTON, L"Action Delay Time", kSamplerDelayFrame, 12, kRowTop[1], kFrameWidth, kFrameHeight,
     BS_GROUPBOX, 0},
    {WC_STATIC, L"", kSamplerDelayValue, 24, kRowTop[1] + 28, 410, 30, SS_CENTER | WS_BORDER, 0},
    {WC_BUTTON, L"SELECT", kSamplerDelaySelect, 448, kRowTop[1] + 22, 128, 42, BS_PUSHBUTTON, 0},
    {WC_BUTTON, L"Max Grain Temp Operation Before Shutdown", kSamplerGrainTempFrame, 12, kRowTop[2],
     kFrameWidth, kFrameHeight, BS_GROUPBOX, 0},
    {WC_STATIC, L"", kSamplerGrainTempValue, 24, kRowTop[2] + 28, 410, 30, SS_CENTER | WS_BORDER,
     0},
    {WC_BUTTON, L"SELECT", kSamplerGrainTempSelect, 448, kRowTop[2] + 22, 128, 42, BS_PUSHBUTTON,
     0},
    {WC_BUTTON, L"EXIT", kSamplerExit, 448, 254, 128, 48, BS_PUSHBUTTON, 0},
}};

void ShowSetting(HWND dlg, const SamplerSetting& s)
{
    const auto value = static_cast<std::size_t>(BitsValue(DesiredSettings, s.bits));
    SetDlgItemText(dlg, s.valueId, value < s.values.size() ? s.values[value] : L"");
}

void ShowSettings(HWND dlg)
{
    for (const SamplerSetting& s : kSettings) ShowSetting(dlg, s);
}

// The next value, after the last the first; the byte goes to the dryer at once.
void Step(HWND dlg, const SamplerSetting& s)
{
    const int next = (BitsValue(DesiredSettings, s.bits) + 1) % static_cast<int>(s.values.size());
    SetBitsValue(DesiredSettings, s.bits, next);
    PendingCommand.Set(samplerOption.pending);
    ShowSetting(dlg, s);
}

INT_PTR OnCommand(HWND dlg, int id)
{
    if (id == kSamplerExit || id == IDCANCEL) {
        EndDialog(dlg, IDOK);
        return TRUE;
    }
    for (const SamplerSetting& s : kSettings) {
        if (s.selectId == id) {
            Step(dlg, s);
            return TRUE;
        }
    }
    return FALSE;
}

INT_PTR MoistureSamplerProc(HWND dlg, UINT msg, WPARAM wp, LPARAM)
{
    switch (msg) {
        case WM_INITDIALOG:
            TakeWorkingCopy(samplerOption);
            ShowSettings(dlg);
            return TRUE;
        case WM_COMMAND: return OnCommand(dlg, LOWORD(wp));
    }
    return FALSE;
}

}  // namespace

INT_PTR OpenMoistureSamplerSetup(HWND owner)
{
    DialogTemplate tmpl;
    tmpl.caption = kMoistureSamplerTitle;
    tmpl.width = kWidth;
    tmpl.height = kHeight;
    tmpl.style = WS_POPUP | WS_CAPTION | DS_CENTER;
    tmpl.controls = kControls;
    return DialogBoxIndirectParam(Screens().instance, tmpl, owner, MoistureSamplerProc, 0);
}
