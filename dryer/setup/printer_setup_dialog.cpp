// " MOISTURE CONTROL PRINTER SETUP - 16": working copies of the bin number, grain type and the
// printer bytes 216-219 in DesiredSettings; the indicators show the choices, and ACCEPT / EXIT
// or the print button send what the dryer must take.
#include "dryer/setup/printer_setup_dialog.h"

#include <array>
#include <string>

#include "dryer/link/dryer_image.h"
#include "dryer/link/pending_command.h"
#include "dryer/link/working_copy.h"
#include "dryer/screens/screen_manager.h"
#include "platform/controls/controls.h"
#include "platform/windowing/dialog.h"

namespace {

constexpr int kBinCount = 100;  // bins 0-99
constexpr const wchar_t* kGrainText[kGrainTypeCount] = {L"CORN", L"WHEAT", L"SOYBEANS", L"RICE"};

// Shown printer state: the SELECT button swaps it; the dryer's byte changes on ACCEPT / EXIT.
bool gShowsDisabled = false;

// ---- layout ----
// Left: Print Summary, Enable / Disable Printer, Select Bin #; right: Grain Type Selection,
// then ACCEPT / EXIT.
constexpr int kLeftX = 10;
constexpr int kLeftWidth = 370;
constexpr int kRightX = 392;
constexpr int kRightWidth = 225;
constexpr int kFixedControls = 12;
constexpr int kControlCount = kFixedControls + 2 * kGrainTypeCount;

std::array<DialogControl, kControlCount> BuildControls()
{
    std::array<DialogControl, kControlCount> c{{
        {WC_BUTTON, L"Print Summary", kPrinterSummaryGroup, kLeftX, 8, kLeftWidth, 84, BS_GROUPBOX,
         0},
        {WC_BUTTON, L"PRINT MOISTURE CONTROL SUMMARY", kPrinterPrintSummary, kLeftX + 12, 34,
         kLeftWidth - 24, 46, BS_PUSHBUTTON, 0},
        {WC_BUTTON, L"Enable / Disable Printer", kPrinterEnableGroup, kLeftX, 100, kLeftWidth, 100,
         BS_GROUPBOX, 0},
        {WC_BUTTON, L"Printer is ENABLED", kPrinterEnabledIndicator, kLeftX + 12, 126, 200, 26,
         BS_RADIOBUTTON | WS_GROUP, 0},
        {WC_BUTTON, L"Printer is DISABLED", kPrinterDisabledIndicator, kLeftX + 12, 160, 200, 26,
         BS_RADIOBUTTON, 0},
        {WC_BUTTON, L"SELECT", kPrinterSelect, kLeftX + 240, 130, 110, 46, BS_PUSHBUTTON, 0},
        {WC_BUTTON, L"Select Bin #", kPrinterBinGroup, kLeftX, 208, kLeftWidth, 90, BS_GROUPBOX, 0},
        {WC_BUTTON, L"INCREASE", kPrinterIncrease, kLeftX + 12, 236, 110, 46, BS_PUSHBUTTON, 0},
        {WC_STATIC, L"", kPrinterBinField, kLeftX + 140, 244, 90, 30, SS_CENTER | WS_BORDER, 0},
        {WC_BUTTON, L"DECREASE", kPrinterDecrease, kLeftX + 248, 236, 110, 46, BS_PUSHBUTTON, 0},
        {WC_BUTTON, L"Grain Type Selection", kPrinterGrainGroup, kRightX, 8, kRightWidth, 232,
         BS_GROUPBOX, 0},
        {WC_BUTTON, L"ACCEPT / EXIT", IDOK, kRightX, 252, kRightWidth, 46, BS_PUSHBUTTON, 0},
    }};
    int n = kFixedControls;
    for (int g = 1; g <= kGrainTypeCount; ++g) {
        const int y = 34 + 50 * (g - 1);
        c[n++] = {WC_BUTTON,
                  kGrainText[g - 1],
                  PrinterGrainButtonId(g),
                  kRightX + 12,
                  y,
                  150,
                  44,
                  BS_PUSHBUTTON,
                  0};
        c[n++] = {WC_BUTTON,
                  L"",
                  PrinterGrainIndicatorId(g),
                  kRightX + 176,
                  y + 10,
                  30,
                  24,
                  BS_RADIOBUTTON | (g == 1 ? WS_GROUP : 0),
                  0};
    }
    return c;
}

// ---- showing the working copies ----

void ShowBin(HWND dlg)
{
    SetDlgItemText(dlg, kPrinterBinField,
                   std::to_wstring(Value(DesiredSettings, binNumber)).c_str());
}

// A grain type outside 1-4 leaves the indicators as they are.
void ShowGrain(HWND dlg)
{
    const int type = Value(DesiredSettings, grainType);
    if (type < 1 || type > kGrainTypeCount) return;
    for (int g = 1; g <= kGrainTypeCount; ++g) {
        CheckDlgButton(dlg, PrinterGrainIndicatorId(g), g == type ? BST_CHECKED : BST_UNCHECKED);
    }
}

void ShowPrinterState(HWND dlg)
{
    CheckDlgButton(dlg, kPrinterEnabledIndicator, gShowsDisabled ? BST_UNCHECKED : BST_CHECKED);
    CheckDlgButton(dlg, kPrinterDisabledIndicator, gShowsDisabled ? BST_CHECKED : BST_UNCHECKED);
}

void OnOpen(HWND dlg)
{
    for (ImageField f :
         {binNumber, grainType, settingByte216, settingByte217, settingByte218, settingByte219}) {
        TakeWorkingCopy(f);
    }
    gShowsDisabled = IsSet(DesiredSettings, printerDisabledBit);
    ShowBin(dlg);
    ShowGrain(dlg);
    ShowPrinterState(dlg);
}

// ---- the buttons ----

void StepBin(HWND dlg, int by)
{
    const int bin = Value(DesiredSettings, binNumber);
    int next = bin + by;
    if (next >= kBinCount) next = 0;
    if (next < 0) next = kBinCount - 1;
    SetValue(DesiredSettings, binNumber, next);
    ShowBin(dlg);
}

void ChooseGrain(HWND dlg, int type)
{
    SetValue(DesiredSettings, grainType, type);
    ShowGrain(dlg);
}

void SwapPrinterState(HWND dlg)
{
    gShowsDisabled = !gShowsDisabled;
    ShowPrinterState(dlg);
}

// Prints at once with the printer enabled; a disabled printer is enabled first if the
// technician agrees (No leaves everything as it is, Cancel stays in the dialog).
void PrintSummary(HWND dlg)
{
    if (IsSet(DesiredSettings, printerDisabledBit)) {
        const int answer = MessageBox(dlg, kPrinterNotEnabledText, kPrinterNotEnabledCaption,
                                      MB_YESNOCANCEL | MB_ICONQUESTION);
        if (answer == IDCANCEL) return;
        if (answer != IDYES) {
            EndDialog(dlg, IDCANCEL);
            return;
        }
        SetBits(DesiredSettings, printerDisabledBit, false);
        PendingCommand.Set(settingByte217.pending);
    }
    SetBits(DesiredSettings, printSummaryRequestBit, true);
    PendingCommand.Set(Pending::bytes218Once);
    EndDialog(dlg, IDOK);
}

void Accept(HWND dlg)
{
    SetBits(DesiredSettings, printerDisabledBit, gShowsDisabled);
    if (IsSet(DryerImage, printerDisabledBit) != gShowsDisabled) {
        PendingCommand.Set(settingByte217.pending);
    }
    SendIfChanged(grainType);
    SendIfChanged(binNumber);
    EndDialog(dlg, IDOK);
}

INT_PTR OnCommand(HWND dlg, int id)
{
    switch (id) {
        case IDOK: Accept(dlg); return TRUE;
        case IDCANCEL: EndDialog(dlg, IDCANCEL); return TRUE;  // Escape: nothing sent
        case kPrinterPrintSummary: PrintSummary(dlg); return TRUE;
        case kPrinterSelect: SwapPrinterState(dlg); return TRUE;
        case kPrinterIncrease: StepBin(dlg, 1); return TRUE;
        case kPrinterDecrease: StepBin(dlg, -1); return TRUE;
    }
    for (int g = 1; g <= kGrainTypeCount; ++g) {
        if (id == PrinterGrainButtonId(g)) {
            ChooseGrain(dlg, g);
            return TRUE;
        }
    }
    return FALSE;  // the indicators only show the choice
}

INT_PTR PrinterSetupProc(HWND dlg, UINT msg, WPARAM wp, LPARAM)
{
    switch (msg) {
        case WM_INITDIALOG: OnOpen(dlg); return TRUE;
        case WM_COMMAND: return OnCommand(dlg, LOWORD(wp));
    }
    return FALSE;
}

}  // namespace

INT_PTR OpenPrinterSetup(HWND owner)
{
    static const std::array<DialogControl, kControlCount> kControls = BuildControls();
    DialogTemplate tmpl;
    tmpl.caption = kPrinterSetupTitle;
    tmpl.width = 627;
    tmpl.height = 345;
    tmpl.style = WS_POPUP | WS_CAPTION | DS_CENTER;
    tmpl.controls = kControls;
    return DialogBoxIndirectParam(Screens().instance, tmpl, owner, PrinterSetupProc, 0);
}
