// "DRYER HARDWARE SETUP - 05 ": how the dryer is built. The service technician steps each group
// (modules, load system, length or model, fan/heaters, fuel, moisture sampler) with its SELECT
// button through the codes of its field, working in DesiredSettings; ACCEPT/EXIT sends each code
// that differs from what the dryer reports. A model dryer (variant 0x2 of dryerConfigBits) is
// chosen by model number and one or three fans, so the groups it has no use for are hidden.
#include <array>
#include <span>

#include "dryer/link/dryer_image.h"
#include "dryer/link/pending_command.h"
#include "dryer/link/working_copy.h"
#include "dryer/screens/screen_manager.h"
#include "dryer/setup/hardware_dialogs.h"
#include "platform/controls/controls.h"
#include "platform/windowing/dialog.h"

HardwareAcceptedFn HardwareSetupAcceptedHook = nullptr;

namespace {

constexpr int kScreenNumber = 16;  // published to the current-screen indicator while open

constexpr const wchar_t* kSamplerQuestion =
    L"Selecting YES requires cycled sampler to be installed!!!";
constexpr const wchar_t* kSamplerCaption = L" ENABLE CYCLED MOISTURE SAMPLER?";

// Codes of the fields, by their meaning.
constexpr int kTwoModules = 1;
constexpr int kThreeModules = 2;
constexpr int kOneHeater = 0;
constexpr int kTwoHeaters = 1;
constexpr int kThreeHeaters = 2;
constexpr int kFourHeaters = 3;
constexpr int kSixHeaters = 4;
constexpr int kLastLoadSystem = 2;
constexpr int kLastFuel = 3;
constexpr int kLastLength = 14;

// The fields this dialog edits.
constexpr ImageField kBuildFields[] = {heaterCountCode, moduleCountCode, fuelCode,
                                       loadSystemCode,  dryerLengthCode, samplerOption};

constexpr const wchar_t* kModuleText[] = {L"One", L"Two", L"Three"};
constexpr const wchar_t* kLoadText[] = {L"End Fill", L"Center Fill", L"Dual Fill"};
constexpr const wchar_t* kLengthText[] = {L"8",  L"10", L"12", L"14", L"16", L"18", L"20", L"22",
                                          L"24", L"26", L"28", L"34", L"36", L"38", L"40"};
// Length codes 0-10 are models on a model dryer (the letter I left out).
constexpr const wchar_t* kModelText[] = {
    L"Model A1 / A2", L"Model B1 / B2", L"Model C1 / C2", L"Model D1 / D2", L"Model E1 / E2",
    L"Model F1 / F2", L"Model G1 / G2", L"Model H1 / H2", L"Model J1 / J2", L"Model K1 / K2",
    L"Model L1 / L2", L"NOT USED",      L"NOT USED",      L"NOT USED",      L"NOT USED"};
constexpr const wchar_t* kHeaterText[] = {L"One", L"Two", L"Three", L"Four", L"Six"};
constexpr const wchar_t* kFuelText[] = {L"LP", L"Natural Gas", L"Vapor", L"Diesel"};
constexpr const wchar_t* kMeterRollText[] = {L"4 inch", L"7 inch"};
static_assert(std::size(kLengthText) == kLastLength + 1);
static_assert(std::size(kModelText) == kLastLength + 1);  // the models, then four unused codes

// One group: its frame, its indicators in rows of 24 pixels (a second column after eight
// rows), and its SELECT button, all placed from the frame's top-left corner.
struct Group {
    int base;
    const wchar_t* title;
    std::span<const wchar_t* const> choices;
    int width, height;
    int selectX, selectY;  // from the frame; selectX < 0: no SELECT button
    POINT standard;        // the frame in the standard layout
    POINT model;           // in the model layout; x < 0: hidden
};

constexpr int kRowHeight = 24;
constexpr int kRowsPerColumn = 8;
constexpr int kSecondColumn = 152;
constexpr int kSelectWidth = 100;
constexpr int kSelectHeight = 30;

// Standard layout: modules, load system and meter roll size side by side, fuel and length
// below them, fan/heaters, sampler and ACCEPT/EXIT down the right. The model layout hides the
// first three and moves model number and fuel up into their place.
constexpr Group kGroups[] = {
    {kHardwareModules, L"Number Modules", kModuleText, 142, 134, 21, 96, {6, 4}, {-1, 0}},
    {kHardwareLoadSystem, L"Load System", kLoadText, 142, 134, 21, 96, {154, 4}, {-1, 0}},
    {kHardwareMeterRoll, L"Meter Roll Size", kMeterRollText, 142, 74, -1, 0, {302, 4}, {-1, 0}},
    {kHardwareFuel, L"Fuel", kFuelText, 142, 158, 21, 122, {6, 144}, {302, 4}},
    {kHardwareLength, L"Dryer Length (ft)", kLengthText, 290, 228, 152, 190, {154, 144}, {6, 4}},
    {kHardwareHeaters, L"Number FH", kHeaterText, 176, 182, 38, 146, {452, 4}, {452, 4}},
};
constexpr RECT kSamplerFrame{452, 192, 628, 296};
constexpr RECT kAcceptButton{452, 330, 628, 382};

constexpr const Group& GroupOf(int base)
{
    for (const Group& g : kGroups) {
        if (g.base == base) return g;
    }
    return kGroups[0];
}

// Where indicator `index` of a group lies when its frame's corner is at `frame`: rows of 24
// pixels, a second column after eight rows; an indicator fills its frame's width, or its column.
constexpr RECT ChoiceRect(const Group& g, int index, POINT frame)
{
    const int column = index < kRowsPerColumn ? 0 : 1;
    const int left = frame.x + (column == 0 ? 12 : kSecondColumn);
    const int top = frame.y + 22 + kRowHeight * (index % kRowsPerColumn);
    const int width = g.choices.size() > kRowsPerColumn ? kSecondColumn - 16 : g.width - 20;
    return RECT{left, top, left + width, top + 22};
}

constexpr RECT SelectRect(const Group& g, POINT frame)
{
    const int left = frame.x + g.selectX;
    const int top = frame.y + g.selectY;
    return RECT{left, top, left + kSelectWidth, top + kSelectHeight};
}

constexpr DialogControl Button(const wchar_t* text, int id, RECT r, DWORD style)
{
    return DialogControl{WC_BUTTON,        text,  id, r.left, r.top, r.right - r.left,
                         r.bottom - r.top, style, 0};
}

constexpr int CountControls()
{
    int n = 3 + 1;  // the sampler's frame, check box and SELECT; ACCEPT/EXIT
    for (const Group& g : kGroups) {
        n += 1 + static_cast<int>(g.choices.size()) + (g.selectX >= 0 ? 1 : 0);
    }
    return n;
}
constexpr int kControlCount = CountControls();

std::array<DialogControl, kControlCount> BuildControls()
{
    std::array<DialogControl, kControlCount> c{};
    int n = 0;
    for (const Group& g : kGroups) {
        const POINT at = g.standard;
        c[n++] =
            Button(g.title, g.base, RECT{at.x, at.y, at.x + g.width, at.y + g.height}, BS_GROUPBOX);
        for (int i = 0; i < static_cast<int>(g.choices.size()); ++i) {
            c[n++] = Button(g.choices[i], HardwareChoiceId(g.base, i), ChoiceRect(g, i, at),
                            BS_RADIOBUTTON | (i == 0 ? WS_GROUP : 0));
        }
        if (g.selectX >= 0) {
            c[n++] = Button(L"SELECT", HardwareSelectId(g.base), SelectRect(g, at), BS_PUSHBUTTON);
        }
    }
    const RECT f = kSamplerFrame;
    c[n++] = Button(L"Moisture Sampler", kHardwareSampler, f, BS_GROUPBOX);
    // Two lines, so that the whole text shows in the narrow frame.
    c[n++] =
        Button(L"Enable Cycled Mode", HardwareChoiceId(kHardwareSampler, 0),
               RECT{f.left + 10, f.top + 22, f.right - 8, f.top + 58}, BS_CHECKBOX | BS_MULTILINE);
    c[n++] = Button(
        L"SELECT", HardwareSelectId(kHardwareSampler),
        RECT{f.left + 38, f.top + 64, f.left + 38 + kSelectWidth, f.top + 64 + kSelectHeight},
        BS_PUSHBUTTON);
    c[n++] = Button(L"ACCEPT/EXIT", IDOK, kAcceptButton, BS_PUSHBUTTON);
    return c;
}

// ---- the codes ----

bool ModelLayout()
{
    return BitsValue(DryerImage, dryerVariantBits) == kModelVariant;
}

int Desired(ImageField field)
{
    return Value(DesiredSettings, field);
}

// The fan/heater codes a module count allows: one module One to Three, two modules Three and
// Four, three modules Four and Six. An unknown module count is taken as one module.
bool HeatersAllowed(int modules, int heaters)
{
    switch (modules) {
        case kTwoModules: return heaters == kThreeHeaters || heaters == kFourHeaters;
        case kThreeModules: return heaters == kFourHeaters || heaters == kSixHeaters;
        default: return heaters >= kOneHeater && heaters <= kThreeHeaters;
    }
}

// The next code of a field that steps 0 .. last and wraps; a code the dryer reported beyond
// the table starts again at 0.
int NextCode(int code, int last)
{
    return code >= 0 && code < last ? code + 1 : 0;
}

void StepModules()
{
    const int modules = NextCode(Desired(moduleCountCode), kThreeModules);
    SetValue(DesiredSettings, moduleCountCode, modules);
    // Bring the fan/heaters into the range of the new module count.
    if (!HeatersAllowed(modules, Desired(heaterCountCode))) {
        SetValue(DesiredSettings, heaterCountCode,
                 modules == kThreeModules ? kFourHeaters : kThreeHeaters);
    }
}

// Steps the fan/heaters within what the module count allows; a code the dryer reported outside
// that range goes to the first allowed one, never past the table.
void StepHeaters()
{
    const int heaters = Desired(heaterCountCode);
    int next = 0;
    if (IsSet(DryerImage, towerBit)) {
        next = heaters == kOneHeater ? kThreeHeaters : kOneHeater;
    } else {
        switch (Desired(moduleCountCode)) {
            case kTwoModules: next = heaters == kThreeHeaters ? kFourHeaters : kThreeHeaters; break;
            case kThreeModules: next = heaters == kFourHeaters ? kSixHeaters : kFourHeaters; break;
            default: next = NextCode(heaters, kThreeHeaters); break;
        }
    }
    SetValue(DesiredSettings, heaterCountCode, next);
}

void StepField(ImageField field, int last)
{
    SetValue(DesiredSettings, field, NextCode(Desired(field), last));
}

void StepSampler(HWND dlg)
{
    if (IsSet(DesiredSettings, samplerInstalledBit)) {
        SetBits(DesiredSettings, samplerInstalledBit, false);
        return;
    }
    const int answer =
        MessageBox(dlg, kSamplerQuestion, kSamplerCaption, MB_YESNOCANCEL | MB_ICONQUESTION);
    if (answer == IDYES) SetBits(DesiredSettings, samplerInstalledBit, true);
}

// ---- the controls ----

void CheckChoices(HWND dlg, int group, int count, int code)
{
    for (int i = 0; i < count; ++i) {
        CheckDlgButton(dlg, HardwareChoiceId(group, i), i == code ? BST_CHECKED : BST_UNCHECKED);
    }
}

// The indicators show the desired codes; the fan/heater choices follow the module count.
void ShowChoices(HWND dlg)
{
    CheckChoices(dlg, kHardwareModules, 3, Desired(moduleCountCode));
    CheckChoices(dlg, kHardwareLoadSystem, 3, Desired(loadSystemCode));
    CheckChoices(dlg, kHardwareLength, kLastLength + 1, Desired(dryerLengthCode));
    CheckChoices(dlg, kHardwareHeaters, 5, Desired(heaterCountCode));
    CheckChoices(dlg, kHardwareFuel, kLastFuel + 1, Desired(fuelCode));
    CheckChoices(dlg, kHardwareMeterRoll, 2, IsSet(DryerImage, fourInchMeterRollBit) ? 0 : 1);
    CheckChoices(dlg, kHardwareSampler, 1, IsSet(DesiredSettings, samplerInstalledBit) ? 0 : -1);
    const int modules = Desired(moduleCountCode);
    for (int code = kOneHeater; code <= kSixHeaters; ++code) {
        EnableWindow(GetDlgItem(dlg, HardwareChoiceId(kHardwareHeaters, code)),
                     HeatersAllowed(modules, code) ? TRUE : FALSE);
    }
}

// Moves a group's frame, indicators and SELECT button so that the frame's corner is at `to`.
void MoveGroup(HWND dlg, const Group& g, POINT to)
{
    MoveWindow(GetDlgItem(dlg, g.base), to.x, to.y, g.width, g.height, TRUE);
    for (int i = 0; i < static_cast<int>(g.choices.size()); ++i) {
        const RECT r = ChoiceRect(g, i, to);
        MoveWindow(GetDlgItem(dlg, HardwareChoiceId(g.base, i)), r.left, r.top, r.right - r.left,
                   r.bottom - r.top, TRUE);
    }
    if (g.selectX >= 0) {
        const RECT r = SelectRect(g, to);
        MoveWindow(GetDlgItem(dlg, HardwareSelectId(g.base)), r.left, r.top, kSelectWidth,
                   kSelectHeight, TRUE);
    }
}

void HideGroup(HWND dlg, const Group& g)
{
    ShowWindow(GetDlgItem(dlg, g.base), SW_HIDE);
    for (int i = 0; i < static_cast<int>(g.choices.size()); ++i) {
        ShowWindow(GetDlgItem(dlg, HardwareChoiceId(g.base, i)), SW_HIDE);
    }
    if (g.selectX >= 0) ShowWindow(GetDlgItem(dlg, HardwareSelectId(g.base)), SW_HIDE);
}

// The model layout: model numbers instead of lengths, one or three fans, and no modules, load
// system or meter roll size; fuel and model number move into the freed space.
void UseModelLayout(HWND dlg)
{
    for (const Group& g : kGroups) {
        if (g.model.x < 0) {
            HideGroup(dlg, g);
        } else if (g.model.x != g.standard.x || g.model.y != g.standard.y) {
            MoveGroup(dlg, g, g.model);
        }
    }
    SetDlgItemText(dlg, kHardwareLength, L"Model Number");
    for (int code = 0; code <= kLastLength; ++code) {
        SetDlgItemText(dlg, HardwareChoiceId(kHardwareLength, code), kModelText[code]);
    }
    SetDlgItemText(dlg, kHardwareHeaters, L"Number of Fans");
    for (int code : {kTwoHeaters, kFourHeaters, kSixHeaters}) {
        ShowWindow(GetDlgItem(dlg, HardwareChoiceId(kHardwareHeaters, code)), SW_HIDE);
    }
    // Three takes the row that Two leaves.
    const Group& heaters = GroupOf(kHardwareHeaters);
    const RECT r = ChoiceRect(heaters, 1, heaters.model);
    MoveWindow(GetDlgItem(dlg, HardwareChoiceId(kHardwareHeaters, kThreeHeaters)), r.left, r.top,
               r.right - r.left, r.bottom - r.top, TRUE);
}

void OnOpen(HWND dlg)
{
    for (const ImageField& field : kBuildFields) TakeWorkingCopy(field);
    ScreenManagerState().entryContext = kScreenNumber;
    ScreenManagerState().entryContextValid = true;
    if (ModelLayout()) UseModelLayout(dlg);
    ShowChoices(dlg);
}

// More than one fan/heater rules out dual heat: clear it in the options byte's working copy,
// and send the byte only when that changes what the dryer reports.
void ClearDualHeat()
{
    TakeWorkingCopy(dryerOptions);
    SetBits(DesiredSettings, dualHeatBit, false);
    SendIfChanged(dryerOptions);
}

void Accept(HWND dlg)
{
    if (Desired(heaterCountCode) != kOneHeater) ClearDualHeat();
    for (const ImageField& field : kBuildFields) SendIfChanged(field);
    if (HardwareSetupAcceptedHook != nullptr) HardwareSetupAcceptedHook();
    EndDialog(dlg, IDOK);
}

INT_PTR OnCommand(HWND dlg, int id)
{
    switch (id) {
        case IDOK: Accept(dlg); return TRUE;
        case IDCANCEL: EndDialog(dlg, IDCANCEL); return TRUE;
        case HardwareSelectId(kHardwareModules): StepModules(); break;
        case HardwareSelectId(kHardwareHeaters): StepHeaters(); break;
        case HardwareSelectId(kHardwareLoadSystem):
            StepField(loadSystemCode, kLastLoadSystem);
            break;
        case HardwareSelectId(kHardwareFuel): StepField(fuelCode, kLastFuel); break;
        case HardwareSelectId(kHardwareLength): StepField(dryerLengthCode, kLastLength); break;
        case HardwareSelectId(kHardwareSampler): StepSampler(dlg); break;
        default: return FALSE;  // the indicators only show the choice
    }
    ShowChoices(dlg);
    return TRUE;
}

INT_PTR HardwareSetupProc(HWND dlg, UINT msg, WPARAM wp, LPARAM)
{
    switch (msg) {
        case WM_INITDIALOG: OnOpen(dlg); return TRUE;
        case WM_COMMAND: return OnCommand(dlg, LOWORD(wp));
    }
    return FALSE;
}

}  // namespace

INT_PTR OpenHardwareSetup(HWND owner)
{
    static const std::array<DialogControl, kControlCount> kControls = BuildControls();
    DialogTemplate tmpl;
    tmpl.caption = kHardwareSetupTitle;
    tmpl.width = 636;
    tmpl.height = 412;
    tmpl.style = WS_POPUP | WS_CAPTION | DS_CENTER;
    tmpl.controls = kControls;
    return DialogBoxIndirectParam(Screens().instance, tmpl, owner, HardwareSetupProc, 0);
}
