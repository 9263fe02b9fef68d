// The two wiring checks of the diagnostics screen: "Display I/O Switch Light Outputs - 28" (per
// light output of connectors J1 and J2 whether the Display I/O board drove it lately and whether
// it found it shorted) and "Display I/O Switch Test - 31" (every switch of the panel and the
// dryer type switches as the board reads them). Both show the image afresh on every paint; the
// decoder repaints them when the bits change.
#include <array>
#include <span>

#include "dryer/link/dryer_image.h"
#include "dryer/link/repaint_routes.h"
#include "dryer/screens/screen_manager.h"
#include "dryer/setup/system_diagnostics.h"
#include "platform/controls/controls.h"
#include "platform/windowing/dialog.h"

namespace {

constexpr int kRows = kConnectorRows;

// ---- light outputs ----

constexpr const wchar_t* kLightHelpCaption = L"Diagnostics/ Check light outputs Help";
constexpr const wchar_t* kLightHelpText =
    L"If the \u201Cactivated\u201D box is checked, then the\nsystem has recently been run.\n\n"
    L"If the \u201Cshorted\u201D box is checked, then the\nDisplay I/O board found that output "
    L"shorted:\ncheck the wiring and the light of that output.";

constexpr int kLabelWidth = 136;
constexpr int kBoxWidth = 85;
constexpr int kBoxInset = (kBoxWidth - 28) / 2;
constexpr int kColumnLeft[2] = {12, 322};
constexpr int kHeaderTop = 8;
constexpr int kFirstRowTop = 36;
constexpr int kRowHeight = 34;
constexpr int kLightButtonTop = kFirstRowTop + kRows * kRowHeight + 12;
constexpr int kLightControlCount = 2 * 3 + 2 * kRows * 3 + 2;

std::array<DialogControl, kLightControlCount> BuildLightControls()
{
    std::array<DialogControl, kLightControlCount> c{};
    int n = 0;
    for (int column = 0; column < 2; ++column) {
        const int x = kColumnLeft[column];
        const Connector connector = column == 0 ? Connector::j1 : Connector::j2;
        c[n++] = {WC_STATIC, L"OUTPUT", 0, x, kHeaderTop, kLabelWidth, 22, SS_LEFT, 0};
        c[n++] = {WC_STATIC, L"ACTIVATED", 0, x + kLabelWidth, kHeaderTop, kBoxWidth,
                  22,        SS_CENTER,    0};
        c[n++] = {WC_STATIC, L"SHORTED", 0, x + kLabelWidth + kBoxWidth, kHeaderTop, kBoxWidth,
                  22,        SS_CENTER,  0};
        for (int row = 1; row <= kRows; ++row) {
            const int y = kFirstRowTop + (row - 1) * kRowHeight;
            c[n++] = {WC_STATIC,
                      LightOutputLabel(connector, row),
                      LightLabelId(connector, row),
                      x,
                      y + 4,
                      kLabelWidth,
                      22,
                      SS_LEFT,
                      0};
            c[n++] = {WC_BUTTON,
                      L"",
                      LightActivatedId(connector, row),
                      x + kLabelWidth + kBoxInset,
                      y,
                      28,
                      28,
                      BS_CHECKBOX,
                      0};
            c[n++] = {WC_BUTTON,
                      L"",
                      LightShortedId(connector, row),
                      x + kLabelWidth + kBoxWidth + kBoxInset,
                      y,
                      28,
                      28,
                      BS_CHECKBOX,
                      0};
        }
    }
    c[n++] = {WC_BUTTON, L"HELP", kLightHelpButton, 12, kLightButtonTop, 296, 44, BS_PUSHBUTTON, 0};
    c[n++] = {WC_BUTTON, L"EXIT", IDOK, 322, kLightButtonTop, 296, 44, BS_PUSHBUTTON, 0};
    return c;
}

void ShowBox(HWND dlg, int id, ImageBits bits)
{
    CheckDlgButton(dlg, id, IsSet(DryerImage, bits) ? BST_CHECKED : BST_UNCHECKED);
}

void ShowLightOutputs(HWND dlg)
{
    for (const Connector connector : {Connector::j1, Connector::j2}) {
        for (int row = 1; row <= kRows; ++row) {
            const LightOutputBits bits = LightOutputOf(connector, row);
            ShowBox(dlg, LightActivatedId(connector, row), bits.activated);
            ShowBox(dlg, LightShortedId(connector, row), bits.shorted);
        }
    }
}

INT_PTR LightOutputsProc(HWND dlg, UINT msg, WPARAM wp, LPARAM)
{
    switch (msg) {
        case WM_INITDIALOG:
            SetRepaintWindow(RepaintTarget::lightOutputScreen, dlg);
            ShowLightOutputs(dlg);
            return TRUE;
        case WM_PAINT: ShowLightOutputs(dlg); return FALSE;  // the dialog paints its face
        case WM_COMMAND:
            switch (LOWORD(wp)) {
                case kLightHelpButton:
                    MessageBox(dlg, kLightHelpText, kLightHelpCaption, MB_OK);
                    return TRUE;
                case IDOK:
                case IDCANCEL:
                    SetRepaintWindow(RepaintTarget::lightOutputScreen, nullptr);
                    EndDialog(dlg, IDOK);
                    return TRUE;
            }
            return FALSE;
    }
    return FALSE;
}

// ---- switch test ----

constexpr const wchar_t* kPositionNames[kRows] = {L"1", L"2", L"3", L"4", L"5", L"6", L"7", L"8"};

// The switches run down four columns of ten, byte after byte (179 first).
constexpr int kSwitchColumns = 4;
constexpr int kSwitchRowsPerColumn = 10;
constexpr int kSwitchColumnWidth = 152;
constexpr int kSwitchRowHeight = 26;
constexpr int kSwitchTop = 26;
constexpr int kTypeTop = kSwitchTop + kSwitchRowsPerColumn * kSwitchRowHeight + 12;
constexpr int kSwitchExitTop = kTypeTop + 70;
constexpr int kSwitchControlCount = 2 + kSwitchBytes * 8 - 1 + kRows + 1;
static_assert(kSwitchBytes * 8 - 1 <= kSwitchColumns * kSwitchRowsPerColumn);

std::array<DialogControl, kSwitchControlCount> BuildSwitchControls()
{
    std::array<DialogControl, kSwitchControlCount> c{};
    int n = 0;
    c[n++] = {WC_BUTTON,
              L"Panel Switches",
              kSwitchTestFrame,
              6,
              4,
              618,
              kSwitchRowsPerColumn * kSwitchRowHeight + kSwitchTop + 2,
              BS_GROUPBOX,
              0};
    int place = 0;
    for (int byte = 0; byte < kSwitchBytes; ++byte) {
        for (int bit = 0; bit < 8; ++bit) {
            const SwitchInput input = SwitchInputOf(byte, bit);
            if (input.name == nullptr) continue;
            const int column = place / kSwitchRowsPerColumn;
            const int row = place % kSwitchRowsPerColumn;
            ++place;
            c[n++] = {WC_BUTTON,
                      input.name,
                      SwitchBoxId(byte, bit),
                      14 + column * kSwitchColumnWidth,
                      kSwitchTop + row * kSwitchRowHeight,
                      kSwitchColumnWidth - 6,
                      kSwitchRowHeight - 2,
                      BS_CHECKBOX,
                      0};
        }
    }
    c[n++] = {WC_BUTTON, L"Dryer Type Switches", kDryerTypeFrame, 6, kTypeTop, 618, 62, BS_GROUPBOX,
              0};
    for (int position = 1; position <= kRows; ++position) {
        c[n++] = {WC_BUTTON,
                  kPositionNames[position - 1],
                  DryerTypeBoxId(position),
                  20 + (position - 1) * 76,
                  kTypeTop + 26,
                  60,
                  28,
                  BS_CHECKBOX,
                  0};
    }
    c[n++] = {WC_BUTTON, L"EXIT", IDOK, 222, kSwitchExitTop, 196, 44, BS_PUSHBUTTON, 0};
    return c;
}

void ShowSwitches(HWND dlg)
{
    for (int byte = 0; byte < kSwitchBytes; ++byte) {
        for (int bit = 0; bit < 8; ++bit) {
            const SwitchInput input = SwitchInputOf(byte, bit);
            if (input.name != nullptr) ShowBox(dlg, SwitchBoxId(byte, bit), input.bits);
        }
    }
    for (int position = 1; position <= kRows; ++position) {
        ShowBox(dlg, DryerTypeBoxId(position), DryerTypeSwitch(position));
    }
}

INT_PTR SwitchTestProc(HWND dlg, UINT msg, WPARAM wp, LPARAM)
{
    switch (msg) {
        case WM_INITDIALOG:
            SetRepaintWindow(RepaintTarget::switchTestScreen, dlg);
            ShowSwitches(dlg);
            return TRUE;
        case WM_PAINT: ShowSwitches(dlg); return FALSE;  // the dialog paints its face
        case WM_COMMAND:
            if (LOWORD(wp) != IDOK && LOWORD(wp) != IDCANCEL) return FALSE;
            SetRepaintWindow(RepaintTarget::switchTestScreen, nullptr);
            EndDialog(dlg, IDOK);
            return TRUE;
    }
    return FALSE;
}

INT_PTR OpenCheck(HWND owner, const wchar_t* title, std::span<const DialogControl> controls,
                  int height, DLGPROC proc)
{
    DialogTemplate tmpl;
    tmpl.caption = title;
    tmpl.width = 636;
    tmpl.height = height;
    tmpl.style = WS_POPUP | WS_CAPTION | DS_CENTER;
    tmpl.controls = controls;
    return DialogBoxIndirectParam(Screens().instance, tmpl, owner, proc, 0);
}

}  // namespace

INT_PTR OpenLightOutputs(HWND owner)
{
    static const auto kControls = BuildLightControls();
    return OpenCheck(owner, kLightOutputsTitle, kControls, kLightButtonTop + 90, LightOutputsProc);
}

INT_PTR OpenSwitchTest(HWND owner)
{
    static const auto kControls = BuildSwitchControls();
    return OpenCheck(owner, kSwitchTestTitle, kControls, kSwitchExitTop + 90, SwitchTestProc);
}
