// How the answer decoder asks windows to repaint without knowing them: each kind of window the
// decoder feeds has a route, a window class name (the fixed child windows) and a window slot
// that a modal screen fills while it is open. The decoder names routes; invalidation finds
// whatever window stands behind them, so screens built later are reached without touching it.
#pragma once

#include <cstdint>

#include "platform/win_types.h"

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

constexpr std::uint32_t RepaintBit(RepaintTarget target)
{
    return std::uint32_t{1} << static_cast<unsigned>(target);
}

// The class name of a route (null for screens that are dialogs without a class of their own).
const wchar_t* RepaintClassName(RepaintTarget target);

// A modal screen registers its window while open and passes null when it closes.
void SetRepaintWindow(RepaintTarget target, HWND window);
HWND RepaintWindow(RepaintTarget target);

// Invalidates the windows behind a route (rect null: all of it). Safe from any thread; a route
// with no window open does nothing.
void InvalidateRoute(RepaintTarget target, const RECT* rect, BOOL erase);

// Tests replace the invalidation to see which routes a decode asked for (null: the real one).
using RepaintFn = void (*)(RepaintTarget target, const RECT* rect, BOOL erase);
void SetRepaintFunction(RepaintFn fn);
