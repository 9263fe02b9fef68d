// What the dryer link shares with the rest of OrbitDryer: the link watchdog and the other
// counters the timers step, the requests and flags the decoder raises for the user-interface
// thread, the flags the screens keep for the decoder, the values the decoder derives, and the
// hooks through which the decoder calls code that lives with the screens and records.
// Every item is an atomic byte or word with one writer per transition; nothing here locks.
#pragma once

#include <atomic>
#include <cstdint>

#include "dryer/link/dryer_image.h"
#include "platform/win_types.h"

// ---- link (communication thread <-> timers and warning window) ------------------------------
// Set to 10 by every valid answer, counted down once a second by the 1-second tick; 0 means
// the connection to the dryer is lost.
inline constexpr std::uint32_t kLinkWatchdogReload = 10;
extern std::atomic<std::uint32_t> LinkWatchdog;
// Set to 10 when a link reset request goes out, decremented once per exchange; commands are
// held back while it is 2 or more.
inline constexpr std::uint32_t kCommandHoldOffReload = 10;
extern std::atomic<std::uint32_t> CommandHoldOff;
// Raised by the warning window while the watchdog is 0; consumed by the communication thread.
extern std::atomic<std::uint8_t> LinkResetRequest;

// Opens "COM1:", starts the communication thread and creates the poll event. False when the
// port cannot be opened (nothing is started then). Once per run; a second call returns false.
bool OpenDryerLink();
// Orderly stop for tests and program exit: ends the thread, closes the port and the event.
// After it the link can be opened again.
void StopDryerLink();
// Wakes the communication thread for one exchange (the 175 ms tick, every second tick).
// Nothing happens while the link is not open.
void SignalPollEvent();
// True between a successful OpenDryerLink and StopDryerLink.
bool DryerLinkIsOpen();
// The 1-second tick: one step of the link watchdog toward 0.
void DecrementLinkWatchdog();
// The warning window: ask for a link reset request on the next exchange.
void RequestLinkReset();

// ---- values derived by the decoder ----------------------------------------------------------
// Lowest load-timer remaining value (seconds) seen during the current load.
extern std::atomic<std::uint32_t> LoadTimerLowWater;
// Duration of the previous load (seconds, 0-86400), shown by the load timer screen.
extern std::atomic<std::uint32_t> PreviousLoadTime;
inline constexpr std::uint32_t kPreviousLoadTimeMax = 86400;
// The WarningCode last passed to the shutdown history.
extern std::atomic<WarningCode> LastShutdownCode;
// Set to 100 when a code is recorded; the 1-second tick counts it down. While above 0 the
// same code is not recorded again.
inline constexpr std::uint32_t kShutdownRecordHoldOff = 100;
extern std::atomic<std::uint32_t> ShutdownRecordHoldOff;
void DecrementShutdownRecordHoldOff();
// Copy of unitsAndOptions bit 7: temperatures are shown in Celsius while set.
extern std::atomic<std::uint8_t> SiUnits;
// Batch drying with TIME as the only drying criterion (read by the main window).
extern std::atomic<std::uint8_t> BatchSpecialState;
// The M/C button is greyed and does nothing while set: batch drying and dryerOptions bits 4-6
// equal 1. Recomputed whenever dryingType or dryerOptions changes.
extern std::atomic<std::uint8_t> MoistureControlUnavailable;

// ---- requests to the user-interface thread (polled by the message loop after every message)
// 1: open the moisture control setpoint (metering) screen; the loop clears it.
extern std::atomic<std::uint8_t> OpenMeteringScreenRequest;
// Set while the DEFAULTS dipswitch is on and the operator has not dismissed its screen.
extern std::atomic<std::uint8_t> DefaultsSwitchScreenRequest;

// ---- flags the screens keep and the decoder reads -------------------------------------------
// Home-shown flag, initially 1: cleared while the set-up selection screen is open. The decoder
// refreshes the main button bar on a dryingType change only while it is set.
extern std::atomic<std::uint8_t> HomeShown;
// Set by the "Please turn off DEFAULTS dipswitch!" screen when the operator leaves it.
extern std::atomic<std::uint8_t> DefaultsSwitchDismissed;
// Set while the metering (moisture control set-up) screen is showing.
extern std::atomic<std::uint8_t> MeteringScreenShowing;
// The operator's choice on the diagnostics screen: 1 metering speed set by the display,
// 0 by the knob on the panel.
extern std::atomic<std::uint8_t> MeteringByDisplay;

// ---- hooks the decoder calls (on the communication thread) -----------------------------------
// A hook that touches windows must hand the work to the user-interface thread (PostMessage);
// invalidating is safe from any thread. Null hooks do nothing. Set them before OpenDryerLink.
using RecordShutdownFn = void (*)(std::uint8_t node, std::uint8_t warningIndex);
using HomeCompositionFn = void (*)();
using RefreshMainButtonsFn = void (*)();
using EnableTimerButtonsFn = void (*)(std::uint8_t dryingType);
// The shutdown history's record operation, called once for each shutdown code to record.
extern std::atomic<RecordShutdownFn> RecordShutdownHook;
// The screen manager's home composition: on a dryingType change while HomeShown is set, and on
// a change of the view bit (unitsAndOptions bit 6).
extern std::atomic<HomeCompositionFn> HomeCompositionHook;
// Redraw of the five main buttons: on a change of the view bit and whenever
// MoistureControlUnavailable changes (the M/C button greys).
extern std::atomic<RefreshMainButtonsFn> RefreshMainButtonsHook;
// Enables or disables the timer buttons (batch panel layout) for a new drying type; on every
// dryingType change.
extern std::atomic<EnableTimerButtonsFn> EnableTimerButtonsHook;

// Puts every item of this header, the image, the desired values and the flags back to their
// program-start values (tests).
void ResetLinkStateForTest();
