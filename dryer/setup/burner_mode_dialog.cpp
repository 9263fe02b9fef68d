// "Select Burner Mode - 10": the burner mode of each of the six fan/heaters, HI / LO, ON / OFF
// or AUTO, held in bits 0-1 of its control byte (101-106). The indicators are the working
// choice; ACCEPT writes them into the desired bytes and sends the bytes that changed.
#include <array>

#include "dryer/link/dryer_image.h"
#include "dryer/link/pending_command.h"
#include "dryer/link/working_copy.h"
#include "dryer/screens/screen_manager.h"
#include "dryer/setup/hardware_dialogs.h"
#include "platform/controls/controls.h"
#include "platform/windowing/dialog.h"

namespace {

constexpr int kIndicatorCount = 3;  // HI / LO, ON / OFF, AUTO
constexpr int kNoIndicator = -1;    // the byte holds 2, which is no mode
constexpr int kModeOfIndicator[kIndicatorCount] = {kBurnerHiLo, kBurnerOnOff, kBurnerAuto};
constexpr const wchar_t* kIndicatorText[kIndicatorCount] = {L"HI / LO", L"ON / OFF", L"AUTO"};
constexpr const wchar_t* kFrameText[kMaxHeaters] = {L"Fan/Heater #1", L"Fan/Heater #2",
                                                    L"Fan/Heater #3", L"Fan/Heater #4",
                                                    L"Fan/Heater #5", L"Fan/Heater #6"};

// Layout: the six frames in two rows of three, the five buttons below them.
constexpr int kFrameWidth = 195;
constexpr int kFrameHeight = 132;
constexpr int kFrameLeft[3] = {10, 215, 420};
constexpr int kFrameTop[2] = {8, 148};
constexpr int kButtonTop = 292;
constexpr int kButtonHeight = 42;
constexpr int kControlCount = kMaxHeaters * (2 + kIndicatorCount) + 5;

// The checked indicator of each Fan/Heater (index 0 is Fan/Heater 1).
std::array<int, kMaxHeaters> gIndicator{};

int IndicatorOfMode(int mode)
{
    for (int i = 0; i < kIndicatorCount; ++i) {
        if (kModeOfIndicator[i] == mode) return i;
    }
    return kNoIndicator;
}

std::array<DialogControl, kControlCount> BuildControls()
{
    std::array<DialogControl, kControlCount> c{};
    int n = 0;
    for (int heater = 1; heater <= kMaxHeaters; ++heater) {
        const int x = kFrameLeft[(heater - 1) % 3];
        const int y = kFrameTop[(heater - 1) / 3];
        c[n++] = {WC_BUTTON,   kFrameText[heater - 1], BurnerFrameId(heater), x, y,
                  kFrameWidth, kFrameHeight,           BS_GROUPBOX,           0};
        for (int i = 0; i < kIndicatorCount; ++i) {
            c[n++] = {WC_BUTTON,
                      kIndicatorText[i],
                      BurnerIndicatorId(heater, i),
                      x + 12,
                      y + 24 + 32 * i,
                      100,
                      24,
                      BS_RADIOBUTTON | (i == 0 ? WS_GROUP : 0),
                      0};
        }
        c[n++] = {WC_BUTTON, L"SELECT", BurnerSelectId(heater), x + 118, y + 48,
                  66,        40,        BS_PUSHBUTTON,          0};
    }
    c[n++] = {WC_BUTTON, L"ALL HI/LO",  kBurnerAllHiLo, 10, kButtonTop,
              112,       kButtonHeight, BS_PUSHBUTTON,  0};
    c[n++] = {WC_BUTTON, L"ALL ON/OFF", kBurnerAllOnOff, 132, kButtonTop,
              112,       kButtonHeight, BS_PUSHBUTTON,   0};
    c[n++] = {WC_BUTTON, L"ALL AUTO",   kBurnerAllAuto, 254, kButtonTop,
              112,       kButtonHeight, BS_PUSHBUTTON,  0};
    c[n++] = {WC_BUTTON, L"CANCEL",     IDCANCEL,      385, kButtonTop,
              110,       kButtonHeight, BS_PUSHBUTTON, 0};
    c[n++] = {WC_BUTTON, L"ACCEPT", IDOK, 505, kButtonTop, 110, kButtonHeight, BS_PUSHBUTTON, 0};
    return c;
}

void ShowIndicators(HWND dlg, int heater)
{
    for (int i = 0; i < kIndicatorCount; ++i) {
        CheckDlgButton(dlg, BurnerIndicatorId(heater, i),
                       gIndicator[heater - 1] == i ? BST_CHECKED : BST_UNCHECKED);
    }
}

void OnOpen(HWND dlg)
{
    TakeWorkingCopy(heaterControlBits);
    for (int heater = 1; heater <= kMaxHeaters; ++heater) {
        gIndicator[heater - 1] =
            IndicatorOfMode(BitsValue(DesiredSettings, ForHeater(burnerModeBits, heater)));
        ShowIndicators(dlg, heater);
    }
}

// HI / LO, ON / OFF, AUTO, HI / LO ... A Fan/Heater that reports no mode starts at HI / LO,
// so that every burner can be given a mode from its own SELECT.
void StepIndicator(HWND dlg, int heater)
{
    int& indicator = gIndicator[heater - 1];
    indicator = indicator == kNoIndicator ? 0 : (indicator + 1) % kIndicatorCount;
    ShowIndicators(dlg, heater);
}

void ChooseForAll(HWND dlg, int indicator)
{
    for (int heater = 1; heater <= kMaxHeaters; ++heater) {
        gIndicator[heater - 1] = indicator;
        ShowIndicators(dlg, heater);
    }
}

// Writes the chosen modes into the desired bytes, the other bits as the dryer reported them,
// and sends each byte that now differs from the image. A Fan/Heater left without a mode keeps
// its byte as reported: nothing the operator did not choose goes to the dryer.
void Accept(HWND dlg)
{
    for (int heater = 1; heater <= kMaxHeaters; ++heater) {
        const int indicator = gIndicator[heater - 1];
        if (indicator == kNoIndicator) continue;
        SetBitsValue(DesiredSettings, ForHeater(burnerModeBits, heater),
                     kModeOfIndicator[indicator]);
        SendIfChanged(ForHeater(heaterControlBits, heater));
    }
    EndDialog(dlg, IDOK);
}

INT_PTR OnCommand(HWND dlg, int id)
{
    switch (id) {
        case IDOK: Accept(dlg); return TRUE;
        case IDCANCEL: EndDialog(dlg, IDCANCEL); return TRUE;
        case kBurnerAllHiLo: ChooseForAll(dlg, 0); return TRUE;
        case kBurnerAllOnOff: ChooseForAll(dlg, 1); return TRUE;
        case kBurnerAllAuto: ChooseForAll(dlg, 2); return TRUE;
    }
    for (int heater = 1; heater <= kMaxHeaters; ++heater) {
        if (id == BurnerSelectId(heater)) {
            StepIndicator(dlg, heater);
            return TRUE;
        }
    }
    return FALSE;  // the indicators only show the choice
}

INT_PTR BurnerModeProc(HWND dlg, UINT msg, WPARAM wp, LPARAM)
{
    switch (msg) {
        case WM_INITDIALOG: OnOpen(dlg); return TRUE;
        case WM_COMMAND: return OnCommand(dlg, LOWORD(wp));
    }
    return FALSE;
}

}  // namespace

INT_PTR OpenBurnerMode(HWND owner)
{
    static const std::array<DialogControl, kControlCount> kControls = BuildControls();
    DialogTemplate tmpl;
    tmpl.caption = kBurnerModeTitle;
    tmpl.width = 627;
    tmpl.height = 368;
    tmpl.style = WS_POPUP | WS_CAPTION | DS_CENTER;
    tmpl.controls = kControls;
    return DialogBoxIndirectParam(Screens().instance, tmpl, owner, BurnerModeProc, 0);
}
