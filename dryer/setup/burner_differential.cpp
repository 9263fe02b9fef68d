// "MODIFYING BURNER DIFFERENTIAL SETTINGS - 15": a PLENUM button chooses the plenum, a degree
// button gives it its differential. The six working values are drawn in two columns, the chosen
// plenum in red; ACCEPT / EXIT sends each differential that changed.
#include "dryer/setup/burner_differential.h"

#include <array>
#include <cstdio>
#include <iterator>
#include <string>

#include "dryer/link/dryer_image.h"
#include "dryer/link/working_copy.h"
#include "dryer/screens/screen_manager.h"
#include "platform/controls/controls.h"
#include "platform/drawing/painter.h"
#include "platform/windowing/dialog.h"

namespace {

constexpr const wchar_t* kHelpText =
    L"Each plenum differential (See \nOperator's Manual) can be set by first \npressing the "
    L"button corresponding to the\nplenum you wish to modify.  Then press the \nbutton that is "
    L"the gives the burner\ndifferential you wish to have for that\nparticular burner.\n";

constexpr int kPlenums = 6;
constexpr int kLargestDifferential = 5;

// The plenum whose differential the degree buttons set (1-6).
int gSelected = 1;

// Layout: each plenum's line with its button under it, plenums 3, 2, 1 down the left column
// and 6, 5, 4 down the second; the degree buttons down the right, HELP and ACCEPT / EXIT below.
constexpr int kColumnX[2] = {15, 197};
constexpr int kRowY[3] = {20, 112, 205};
constexpr int kLineWidth = 170;
constexpr int kLineHeight = 20;
constexpr int kPlenumButtonWidth = 160;
constexpr int kPlenumButtonHeight = 40;
constexpr int kDegreesX = 390;
constexpr int kBottomY = 274;
constexpr int kControlCount = kPlenums + kLargestDifferential + 2;

constexpr COLORREF kWindowColour = RGB(255, 255, 255);
constexpr COLORREF kSelectedColour = RGB(255, 0, 0);
constexpr COLORREF kOtherColour = RGB(0, 0, 255);
constexpr int kFontHeight = 15;
constexpr int kFontWeight = 900;

constexpr POINT LineCorner(int plenum)
{
    const int column = plenum <= 3 ? 0 : 1;
    const int row = plenum <= 3 ? 3 - plenum : 6 - plenum;
    return POINT{kColumnX[column], kRowY[row]};
}

constexpr const wchar_t* kPlenumText[kPlenums] = {L"PLENUM #1", L"PLENUM #2", L"PLENUM #3",
                                                  L"PLENUM #4", L"PLENUM #5", L"PLENUM #6"};
constexpr const wchar_t* kDegreesText[kLargestDifferential] = {
    L"+/- 1 DEGREES", L"+/- 2 DEGREES", L"+/- 3 DEGREES", L"+/- 4 DEGREES", L"+/- 5 DEGREES"};

std::array<DialogControl, kControlCount> BuildControls()
{
    std::array<DialogControl, kControlCount> c{};
    int n = 0;
    for (int plenum = 1; plenum <= kPlenums; ++plenum) {
        const POINT at = LineCorner(plenum);
        c[n++] = {WC_BUTTON,
                  kPlenumText[plenum - 1],
                  BurnerDifferentialPlenumId(plenum),
                  static_cast<int>(at.x),
                  static_cast<int>(at.y) + 26,
                  kPlenumButtonWidth,
                  kPlenumButtonHeight,
                  BS_PUSHBUTTON,
                  0};
    }
    for (int degrees = 1; degrees <= kLargestDifferential; ++degrees) {
        c[n++] = {WC_BUTTON,
                  kDegreesText[degrees - 1],
                  BurnerDifferentialDegreesId(degrees),
                  kDegreesX,
                  14 + 50 * (degrees - 1),
                  200,
                  42,
                  BS_PUSHBUTTON,
                  0};
    }
    c[n++] = {WC_BUTTON, L"HELP", kBurnerDifferentialHelp, 15, kBottomY, 160, 44, BS_PUSHBUTTON, 0};
    c[n++] = {WC_BUTTON, L"ACCEPT / EXIT", kBurnerDifferentialAccept,
              kDegreesX, kBottomY,         200,
              44,        BS_PUSHBUTTON,    0};
    return c;
}

ImageField DifferentialOf(int plenum)
{
    return ForHeater(plenumDifferential, plenum);
}

void Paint(HWND dlg)
{
    platform::Painter paint(dlg, kWindowColour);
    for (int plenum = 1; plenum <= kPlenums; ++plenum) {
        wchar_t text[32];
        std::swprintf(text, std::size(text), L"PLENUM %d: %3d ", plenum,
                      Value(DesiredSettings, DifferentialOf(plenum)));
        const std::wstring line = std::wstring(text) + L"\u00B0F ";  // the degree sign
        const POINT at = LineCorner(plenum);
        const RECT box{at.x, at.y, at.x + kLineWidth, at.y + kLineHeight};
        paint.Text(line, box, plenum == gSelected ? kSelectedColour : kOtherColour, kFontHeight,
                   kFontWeight, DT_LEFT | DT_SINGLELINE);
    }
}

void OnOpen(HWND dlg)
{
    TakeWorkingCopy(plenumDifferential);
    gSelected = 1;
    CenterWindowOver(dlg, GetParent(dlg));
}

void Redraw(HWND dlg)
{
    InvalidateRect(dlg, nullptr, FALSE);
}

void Accept(HWND dlg)
{
    SendIfChanged(plenumDifferential);
    EndDialog(dlg, IDOK);
}

INT_PTR OnCommand(HWND dlg, int id)
{
    switch (id) {
        case kBurnerDifferentialAccept: Accept(dlg); return TRUE;
        case kBurnerDifferentialHelp:
            MessageBox(dlg, kHelpText, kBurnerDifferentialHelpCaption, MB_OKCANCEL);
            return TRUE;
        case IDCANCEL: EndDialog(dlg, IDCANCEL); return TRUE;
    }
    for (int plenum = 1; plenum <= kPlenums; ++plenum) {
        if (id == BurnerDifferentialPlenumId(plenum)) {
            gSelected = plenum;
            Redraw(dlg);
            return TRUE;
        }
    }
    for (int degrees = 1; degrees <= kLargestDifferential; ++degrees) {
        if (id == BurnerDifferentialDegreesId(degrees)) {
            SetValue(DesiredSettings, DifferentialOf(gSelected), degrees);
            Redraw(dlg);
            return TRUE;
        }
    }
    return FALSE;
}

INT_PTR BurnerDifferentialProc(HWND dlg, UINT msg, WPARAM wp, LPARAM)
{
    switch (msg) {
        case WM_INITDIALOG: OnOpen(dlg); return TRUE;
        case WM_PAINT: Paint(dlg); return TRUE;
        case WM_COMMAND: return OnCommand(dlg, LOWORD(wp));
    }
    return FALSE;
}

}  // namespace

INT_PTR OpenBurnerDifferential(HWND owner)
{
    static const std::array<DialogControl, kControlCount> kControls = BuildControls();
    DialogTemplate tmpl;
    tmpl.caption = kBurnerDifferentialTitle;
    tmpl.width = 612;
    tmpl.height = 364;
    tmpl.style = WS_POPUP | WS_CAPTION;
    tmpl.controls = kControls;
    return DialogBoxIndirectParam(Screens().instance, tmpl, owner, BurnerDifferentialProc, 0);
}
