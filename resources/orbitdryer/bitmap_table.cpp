// The bitmap resources of the operator display that the home screen, the view menu and the
// selection screens draw: each button's released and pressed faces with their captions, and
// the few pictures. The platform paints the faces from this table unless an artwork file
// resources/orbitdryer/<id>.png takes a face's place.
#include "resources/orbitdryer/bitmap_table.h"

#include <array>

#include "resources/orbitdryer/panel_colours.h"

namespace {

constexpr COLORREF kMainFace = 0x00D8D0C8;  // the bottom row, a touch lighter
constexpr COLORREF kMenuFace = 0x00F0E8E0;  // view menu on its white window
constexpr COLORREF kExitFace = 0x008080F0;  // exits stand out in a soft red

constexpr BitmapResource Up(int id, int w, int h, const wchar_t* caption, COLORREF colour)
{
    return BitmapResource{id, w, h, caption, ArtKind::Button, colour, nullptr};
}
constexpr BitmapResource Down(int id, int w, int h, const wchar_t* caption, COLORREF colour)
{
    return BitmapResource{id, w, h, caption, ArtKind::ButtonPressed, colour, nullptr};
}

// Pairs are listed pressed first: the pressed face always has the lower id.
constexpr auto kTable = std::to_array<BitmapResource>({
    // bottom row of the home screen, 105 x 40
    Down(kBitmapMcDown, 105, 40, L"M/C", kMainFace),
    Up(kBitmapMcUp, 105, 40, L"M/C", kMainFace),
    Down(kBitmapSetupDown, 105, 40, L"Setup", kMainFace),
    Up(kBitmapSetupUp, 105, 40, L"Setup", kMainFace),
    Down(kBitmapTempDown, 105, 40, L"Temp", kMainFace),
    Up(kBitmapTempUp, 105, 40, L"Temp", kMainFace),
    Down(kBitmapTimersDown, 105, 40, L"Timers", kMainFace),
    Up(kBitmapTimersUp, 105, 40, L"Timers", kMainFace),
    Down(kBitmapViewDown, 105, 40, L"View", kMainFace),
    Up(kBitmapViewUp, 105, 40, L"View", kMainFace),
    BitmapResource{kBitmapMcGreyed, 105, 40, L"M/C", ArtKind::ButtonGreyed, kSilver, nullptr},
    // exit of the view menu, also used by the full-screen selection screens
    Down(kBitmapExitDown, 158, 41, L"Exit", kExitFace),
    Up(kBitmapExitUp, 158, 41, L"Exit", kExitFace),
    // view menu, 200 x 50
    Down(kBitmapManualsDown, 200, 50, L"Owners Manual", kMenuFace),
    Up(kBitmapManualsUp, 200, 50, L"Owners Manual", kMenuFace),
    Down(kBitmapHistoryDown, 200, 50, L"History", kMenuFace),
    Up(kBitmapHistoryUp, 200, 50, L"History", kMenuFace),
    Down(kBitmapChartViewDown, 200, 50, L"Table View", kMenuFace),
    Up(kBitmapChartViewUp, 200, 50, L"Table View", kMenuFace),
    Down(kBitmapGraphViewDown, 200, 50, L"Graph View", kMenuFace),
    Up(kBitmapGraphViewUp, 200, 50, L"Graph View", kMenuFace),
    Down(kBitmapSystemInfoDown, 200, 50, L"SYSTEM\nINFORMATION", kMenuFace),
    Up(kBitmapSystemInfoUp, 200, 50, L"SYSTEM\nINFORMATION", kMenuFace),
    Down(kBitmapSoftwareInfoDown, 200, 50, L"Software\nVersion Info", kMenuFace),
    Up(kBitmapSoftwareInfoUp, 200, 50, L"Software\nVersion Info", kMenuFace),
    // the dipswitch picture of "Please turn off DEFAULTS dipswitch! - 33"
    BitmapResource{kBitmapDefaultsDipswitch, 200, 90, L"RESET DEFAULTS\nswitch: OFF",
                   ArtKind::Picture, 0x00E0E0E0, nullptr},
    // timer pages
    // temperature setpoint windows
    // set-up selection and its dialogs
    // drying mode dialogs: "MOISTURE CONTROL SETUP", 175 x 50
    Down(kBitmapMoistureSetupDown, 175, 50, L"MOISTURE CONTROL\nSETUP", kMenuFace),
    Up(kBitmapMoistureSetupUp, 175, 50, L"MOISTURE CONTROL\nSETUP", kMenuFace),
});

}  // namespace

std::span<const BitmapResource> OrbitDryerBitmaps()
{
    return kTable;
}

void RegisterOrbitDryerBitmaps()
{
    platform::RegisterBitmapResources("orbitdryer", OrbitDryerBitmaps());
}
