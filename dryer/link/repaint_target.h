// The windows the answer decoder asks to repaint, named by what they show. The image's field
// descriptors list the targets that draw each field; the repaint routes find the window behind
// each target.
#pragma once

#include <cstdint>

enum class RepaintTarget : std::uint8_t {
    batchDrying,                // BATCH_DRYING_WINDOW
    rightStatusBar,             // DRYER_RIGHT_STATUS_BAR_WINDOW
    dryerPicture,               // DRYER_PIC_WINDOW
    averageValues,              // AVERAGE_VALUES_WINDOW
    unloadStatus,               // UNLOAD_STATUS_WINDOW
    unloadSpeedButton,          // the speed button of the unload status window
    lineGraph,                  // LINE_GRAPH_WINDOW
    plenumPanel,                // CUSTOM_VIEW_WINDOW, the plenum and burner panel
    setupSelection,             // SETUP_SELECTION_WINDOW
    temperatureSetpointScreen,  // the open temperature setpoint screen
    timerSetpointScreen,        // the open timer setpoint screen
    switchTestScreen,
    lightOutputScreen,
    airswitchTestScreen,
    bushelCounterScreen,
    moistureCalibrationScreen,
    meteringScreen,  // moisture control set-up (metering)
    moistureSetpointScreen,
    grainTempSelectButton,  // of the moisture view
    count
};

inline constexpr int kRepaintTargetCount = static_cast<int>(RepaintTarget::count);

// A set of repaint targets, one bit per target.
using RepaintSet = std::uint32_t;

constexpr RepaintSet RepaintBit(RepaintTarget target)
{
    return RepaintSet{1} << static_cast<unsigned>(target);
}

// The sets the image's field table uses.
inline constexpr RepaintSet kBatchDryingWindow = RepaintBit(RepaintTarget::batchDrying);
inline constexpr RepaintSet kStatusBarWindow = RepaintBit(RepaintTarget::rightStatusBar);
inline constexpr RepaintSet kDryerPictureWindow = RepaintBit(RepaintTarget::dryerPicture);
inline constexpr RepaintSet kStatusChartWindow = RepaintBit(RepaintTarget::averageValues);
// The unload status window always repaints together with its speed button.
inline constexpr RepaintSet kUnloadStatusWindow =
    RepaintBit(RepaintTarget::unloadStatus) | RepaintBit(RepaintTarget::unloadSpeedButton);
inline constexpr RepaintSet kLineGraphWindow = RepaintBit(RepaintTarget::lineGraph);
inline constexpr RepaintSet kPlenumPanelWindow = RepaintBit(RepaintTarget::plenumPanel);
inline constexpr RepaintSet kSetupSelectionWindow = RepaintBit(RepaintTarget::setupSelection);
inline constexpr RepaintSet kTemperatureSetpointScreen =
    RepaintBit(RepaintTarget::temperatureSetpointScreen);
inline constexpr RepaintSet kTimerSetpointScreen = RepaintBit(RepaintTarget::timerSetpointScreen);
inline constexpr RepaintSet kSwitchTestScreen = RepaintBit(RepaintTarget::switchTestScreen);
inline constexpr RepaintSet kLightOutputScreen = RepaintBit(RepaintTarget::lightOutputScreen);
inline constexpr RepaintSet kAirswitchTestScreen = RepaintBit(RepaintTarget::airswitchTestScreen);
inline constexpr RepaintSet kBushelCounterScreen = RepaintBit(RepaintTarget::bushelCounterScreen);
inline constexpr RepaintSet kMoistureCalibrationScreen =
    RepaintBit(RepaintTarget::moistureCalibrationScreen);
inline constexpr RepaintSet kMeteringScreen = RepaintBit(RepaintTarget::meteringScreen);
inline constexpr RepaintSet kMoistureSetpointScreen =
    RepaintBit(RepaintTarget::moistureSetpointScreen);
inline constexpr RepaintSet kGrainTempSelectButton =
    RepaintBit(RepaintTarget::grainTempSelectButton);
