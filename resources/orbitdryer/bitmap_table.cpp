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
    // the timer pages' buttons, 200 x 50, faced as the view menu's on the light grey
    Down(kBitmapLoadDelayDown, 200, 50, L"Load Startup\nDelay", 0x00F0E8E0),
    Up(kBitmapLoadDelayUp, 200, 50, L"Load Startup\nDelay", 0x00F0E8E0),
    Down(kBitmapOutOfGrainDown, 200, 50, L"Out of Grain\nTimer", 0x00F0E8E0),
    Up(kBitmapOutOfGrainUp, 200, 50, L"Out of Grain\nTimer", 0x00F0E8E0),
    Down(kBitmapFanDelayDown, 200, 50, L"Fan Startup\nDelay", 0x00F0E8E0),
    Up(kBitmapFanDelayUp, 200, 50, L"Fan Startup\nDelay", 0x00F0E8E0),
    Down(kBitmapFanRunAfterDown, 200, 50, L"Fan Run Time\nAfter Shutdown", 0x00F0E8E0),
    Up(kBitmapFanRunAfterUp, 200, 50, L"Fan Run Time\nAfter Shutdown", 0x00F0E8E0),
    Down(kBitmapUnloadDelayDown, 200, 50, L"Unload Cleanout\nDelay", 0x00F0E8E0),
    Up(kBitmapUnloadDelayUp, 200, 50, L"Unload Cleanout\nDelay", 0x00F0E8E0),
    // temperature setpoints: plenum 180 x 50 on pale blue, grain setpoints 200 x 50 and 127 x 25 on
    // wheat
    Down(kBitmapBurner1Down, 180, 50, L"Burner 1", 0x00F0D8C8),
    Up(kBitmapBurner1Up, 180, 50, L"Burner 1", 0x00F0D8C8),
    Down(kBitmapBurner2Down, 180, 50, L"Burner 2", 0x00F0D8C8),
    Up(kBitmapBurner2Up, 180, 50, L"Burner 2", 0x00F0D8C8),
    Down(kBitmapBurner3Down, 180, 50, L"Burner 3", 0x00F0D8C8),
    Up(kBitmapBurner3Up, 180, 50, L"Burner 3", 0x00F0D8C8),
    Down(kBitmapBurner4Down, 180, 50, L"Burner 4", 0x00F0D8C8),
    Up(kBitmapBurner4Up, 180, 50, L"Burner 4", 0x00F0D8C8),
    Down(kBitmapBurner5Down, 180, 50, L"Burner 5", 0x00F0D8C8),
    Up(kBitmapBurner5Up, 180, 50, L"Burner 5", 0x00F0D8C8),
    Down(kBitmapBurner6Down, 180, 50, L"Burner 6", 0x00F0D8C8),
    Up(kBitmapBurner6Up, 180, 50, L"Burner 6", 0x00F0D8C8),
    Down(kBitmapHiHeatDown, 180, 50, L"Hi Heat", 0x00F0D8C8),
    Up(kBitmapHiHeatUp, 180, 50, L"Hi Heat", 0x00F0D8C8),
    Down(kBitmapLoHeatDown, 180, 50, L"Lo Heat", 0x00F0D8C8),
    Up(kBitmapLoHeatUp, 180, 50, L"Lo Heat", 0x00F0D8C8),
    Down(kBitmapGrainDown, 200, 50, L"Grain Temp", 0x00B0E0F0),
    Up(kBitmapGrainUp, 200, 50, L"Grain Temp", 0x00B0E0F0),
    Down(kBitmapGrainUpperDown, 127, 25, L"Upper Grain", 0x00B0E0F0),
    Up(kBitmapGrainUpperUp, 127, 25, L"Upper Grain", 0x00B0E0F0),
    Down(kBitmapGrainLowerDown, 127, 25, L"Lower Grain", 0x00B0E0F0),
    Up(kBitmapGrainLowerUp, 127, 25, L"Lower Grain", 0x00B0E0F0),
    // set-up selection and its dialogs, 175 x 50
    Down(kBitmapDryingModeDown, 175, 50, L"Drying Mode\nSelection", kMainFace),
    Up(kBitmapDryingModeUp, 175, 50, L"Drying Mode\nSelection", kMainFace),
    Down(kBitmapContinuousFlowDown, 175, 50, L"Continuous Flow\nSetup", kMainFace),
    Up(kBitmapContinuousFlowUp, 175, 50, L"Continuous Flow\nSetup", kMainFace),
    Down(kBitmapStagedBatchDown, 175, 50, L"Staged Batch\nSetup", kMainFace),
    Up(kBitmapStagedBatchUp, 175, 50, L"Staged Batch\nSetup", kMainFace),
    Down(kBitmapUnloadParametersDown, 175, 50, L"Unload\nParameters", kMainFace),
    Up(kBitmapUnloadParametersUp, 175, 50, L"Unload\nParameters", kMainFace),
    Down(kBitmapPlenumManagerDown, 175, 50, L"Plenum Temp\nManager", kMainFace),
    Up(kBitmapPlenumManagerUp, 175, 50, L"Plenum Temp\nManager", kMainFace),
    Down(kBitmapBurnerModeDown, 175, 50, L"Burner\nMode", kMainFace),
    Up(kBitmapBurnerModeUp, 175, 50, L"Burner\nMode", kMainFace),
    Down(kBitmapMoistureCalibrationDown, 175, 50, L"Moisture Sensor\nCalibration", kMainFace),
    Up(kBitmapMoistureCalibrationUp, 175, 50, L"Moisture Sensor\nCalibration", kMainFace),
    Down(kBitmapExtendedSetupDown, 175, 50, L"Extended\nSetup", kMainFace),
    Up(kBitmapExtendedSetupUp, 175, 50, L"Extended\nSetup", kMainFace),
    Down(kBitmapHardwareSetupDown, 175, 50, L"Dryer Hardware\nSetup", kMainFace),
    Up(kBitmapHardwareSetupUp, 175, 50, L"Dryer Hardware\nSetup", kMainFace),
    Down(kBitmapDiagnosticsDown, 175, 50, L"System\nDiagnostics", kMainFace),
    Up(kBitmapDiagnosticsUp, 175, 50, L"System\nDiagnostics", kMainFace),
    Down(kBitmapBurnerDifferentialDown, 175, 50, L"Burner\nDifferential", kMainFace),
    Up(kBitmapBurnerDifferentialUp, 175, 50, L"Burner\nDifferential", kMainFace),
    Down(kBitmapPrinterSetupDown, 175, 50, L"Printer\nSetup", kMainFace),
    Up(kBitmapPrinterSetupUp, 175, 50, L"Printer\nSetup", kMainFace),
    Down(kBitmapRollReverseDown, 175, 50, L"Metering Roll\nReverse", kMainFace),
    Up(kBitmapRollReverseUp, 175, 50, L"Metering Roll\nReverse", kMainFace),
    Down(kBitmapMoistureSamplerDown, 175, 50, L"Moisture\nSampler", kMainFace),
    Up(kBitmapMoistureSamplerUp, 175, 50, L"Moisture\nSampler", kMainFace),
    Down(kBitmapUnloadBushelsDown, 175, 50, L"Unload\nBushels", kMainFace),
    Up(kBitmapUnloadBushelsUp, 175, 50, L"Unload\nBushels", kMainFace),
    Down(kBitmapTimeDateDown, 175, 50, L"Time / Date", kMainFace),
    Up(kBitmapTimeDateUp, 175, 50, L"Time / Date", kMainFace),
    Down(kBitmapUnitsDown, 175, 50, L"Units of\nMeasure", kMainFace),
    Up(kBitmapUnitsUp, 175, 50, L"Units of\nMeasure", kMainFace),
    Down(kBitmapDataLoggerDown, 175, 50, L"Day Data\nLogger", kMainFace),
    Up(kBitmapDataLoggerUp, 175, 50, L"Day Data\nLogger", kMainFace),
    Down(kBitmapUserSettingsDown, 175, 50, L"User\nSettings", kMainFace),
    Up(kBitmapUserSettingsUp, 175, 50, L"User\nSettings", kMainFace),
    Down(kBitmapBatchCounterDown, 175, 50, L"Batch\nCounter", kMainFace),
    Up(kBitmapBatchCounterUp, 175, 50, L"Batch\nCounter", kMainFace),
    // drying mode dialogs: "MOISTURE CONTROL SETUP", 175 x 50
    Down(kBitmapMoistureSetupDown, 175, 50, L"MOISTURE CONTROL\nSETUP", kMenuFace),
    Up(kBitmapMoistureSetupUp, 175, 50, L"MOISTURE CONTROL\nSETUP", kMenuFace),
    // the graph screen's trace buttons, 110 x 33: grey while the trace is off, in a light tint
    // of the trace's colour while it is on
    Down(kBitmapGraphMoistInOn, 110, 33, L"MOIST IN", 0x00A0F0A0),
    Up(kBitmapGraphMoistInOff, 110, 33, L"MOIST IN", kSilver),
    Down(kBitmapGraphTempInOn, 110, 33, L"TEMP IN", 0x0090C0FF),
    Up(kBitmapGraphTempInOff, 110, 33, L"TEMP IN", kSilver),
    Down(kBitmapGraphMoistOutOn, 110, 33, L"MOIST OUT", 0x00FFFFA0),
    Up(kBitmapGraphMoistOutOff, 110, 33, L"MOIST OUT", kSilver),
    Down(kBitmapGraphTempOutOn, 110, 33, L"TEMP OUT", 0x00FFA0FF),
    Up(kBitmapGraphTempOutOff, 110, 33, L"TEMP OUT", kSilver),
    Down(kBitmapGraphGrainTempOn, 110, 33, L"GRAIN TEMP", 0x00A0FFFF),
    Up(kBitmapGraphGrainTempOff, 110, 33, L"GRAIN TEMP", kSilver),
    Down(kBitmapGraphMrSpeedOn, 110, 33, L"M.R. SPEED", 0x00A0A0FF),
    Up(kBitmapGraphMrSpeedOff, 110, 33, L"M.R. SPEED", kSilver),
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
