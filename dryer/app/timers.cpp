// The display's three periodic timers. Each tick does a bounded amount of work and only asks
// for repaints; all of it runs on the user-interface thread.
#include "dryer/app/timers.h"

#include <cstdio>

#include "dryer/link/link_state.h"
#include "dryer/link/pending_command.h"
#include "dryer/records/data_log_hooks.h"
#include "dryer/records/display_settings.h"
#include "dryer/records/short_term_log.h"
#include "dryer/screens/auto_repeat.h"
#include "dryer/screens/batch_timers_panel.h"
#include "dryer/screens/entry_dialogs.h"
#include "dryer/screens/home_panels.h"
#include "dryer/screens/panel_animation.h"
#include "dryer/screens/screen_manager.h"
#include "dryer/screens/screen_procs.h"
#include "dryer/screens/status_chart.h"
#include "platform/controls/controls.h"
#include "platform/runtime/clock.h"
#include "platform/windowing/dialog.h"
#include "platform/windowing/window.h"

namespace {

constexpr int kStatusRefreshTicks = 25;
constexpr int kLongTermEvery = 12;  // seconds between long-term samples
constexpr int kGraphEvery = 10;     // unloading seconds between graph samples
constexpr int kLogFullPercent = 70;
constexpr RECT kBannerTextRect{105, 65, 260, 75};

// A batch timer: the button(s) that hold it, its setting and remaining pairs (the remaining
// pair's flag is the reload) and the question asked.
struct ReloadRow {
    BatchTimer timer;
    int button;
    int altButton;  // 0: none
    ImageField setting;
    ImageField remaining;
    const wchar_t* question;
    const wchar_t* altQuestion;
};
constexpr ReloadRow kReloadRows[] = {
    {BatchTimer::Dry, kBatchDryButton, kBatchHiHeatButton, dryTimerSetting, dryTimerRemaining,
     L"Reload DRY TIMER with %d minutes and %02d seconds?",
     L"Reload HI-HEAT DRY TIMER with %d minutes and %02d seconds?"},
    {BatchTimer::LoHeat, kBatchLoHeatButton, 0, loHeatTimerSetting, loHeatTimerRemaining,
     L"Reload LO-HEAT DRY TIMER with %d minutes and %02d seconds?", nullptr},
    {BatchTimer::Cool, kBatchCoolButton, 0, coolTimerSetting, coolTimerRemaining,
     L"Reload COOL TIMER with %d minutes and %02d seconds?", nullptr},
    {BatchTimer::Unload, kBatchUnloadButton, 0, unloadTimerSetting, unloadTimerRemaining,
     L"Reload UNLOAD TIMER with %d minutes and %02d seconds?", nullptr},
};

TickState gTicks;

bool WarningActive()
{
    return ActiveWarningCode(DryerImage) != 0;
}

void Invalidate(HWND wnd, const RECT* rect, BOOL erase)
{
    if (wnd != nullptr) InvalidateRect(wnd, rect, erase);
}

int Step3(int phase, int by)
{
    return ((phase + by) % 3 + 3) % 3;
}

// ---- 175 ms ----

void StepBlink()
{
    TickState& t = gTicks;
    t.blinkPhase = t.blinkPhase > 6 ? 0 : t.blinkPhase + 1;
    if (t.blinkPhase != 0 && t.blinkPhase != 3) return;
    if (t.blinkPhase == 0) Animation().blinkFlags &= ~kSlowBlinkBit;
    if (t.blinkPhase == 3) Animation().blinkFlags |= kSlowBlinkBit;
    if (WarningActive()) Invalidate(Screens().warning, nullptr, TRUE);
}

void StepPollPacing()
{
    ++gTicks.pollDivider;
    if (gTicks.pollDivider % 2 == 0) SignalPollEvent();
}

void StepStatusRefresh()
{
    TickState& t = gTicks;
    if (!t.statusRefreshRequested) return;
    if (--t.statusRefreshCountdown > 0) return;
    t.statusRefreshRequested = false;
    t.statusRefreshCountdown = kStatusRefreshTicks;
    Invalidate(Screens().lineGraph, nullptr, TRUE);
    Invalidate(Screens().customView, nullptr, TRUE);
}

// ---- 1 s ----

void SendClock()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    SetValue(DesiredSettings, ClockByte(ClockPart::minute), now.wMinute);
    SetValue(DesiredSettings, ClockByte(ClockPart::hour), now.wHour);
    SetValue(DesiredSettings, ClockByte(ClockPart::day), now.wDay);
    SetValue(DesiredSettings, ClockByte(ClockPart::month), now.wMonth);
    SetValue(DesiredSettings, ClockByte(ClockPart::year), now.wYear % 100);
    PendingCommand.Set(clockSetting.pending);
}

void WarnLogNearlyFull()
{
    if (LongTermFillLevelPercent() <= kLogFullPercent || !gTicks.logSizeWarningArmed) return;
    gTicks.logSizeWarningArmed = false;
    const int answer =
        MessageBox(Screens().main,
                   L"Data Logger close to full.  Do you wish to open Data Logger \n Setup Window?",
                   L"DATA LOG FILE SIZE WARNING", MB_YESNO | MB_ICONEXCLAMATION);
    if (answer == IDYES) OpenDataLoggerSetup(Screens().main);
}

void StepLongTermLog()
{
    TickState& t = gTicks;
    if (t.longTermDivider <= kLongTermEvery - 2) {
        ++t.longTermDivider;
        return;
    }
    t.longTermDivider = 0;
    if (!IsSet(DryerImage, longTermLogBit)) {
        RefreshLongTermFillLevel();  // logging is off
        return;
    }
    AppendLongTermSample();
    RepaintDataLogSetup();
    WarnLogNearlyFull();
}

void StepUnloadingLogs()
{
    TickState& t = gTicks;
    const bool unloading = IsUnloading(DryerImage);
    SetDataLogUnloading(unloading);
    Invalidate(Screens().averageValues, nullptr, FALSE);
    if (TakeShortTermIntervalRestart()) t.shortTermCountdown = 0;
    if (!unloading) return;
    // The reload replaces the decrement, so samples come sample time x 60 + 1 seconds apart.
    const int countdownWas = t.shortTermCountdown--;
    if (countdownWas < 1) {
        t.shortTermCountdown = ShortTermSampleSeconds(CurrentDisplaySettings().sampleTimeMinutes);
        WriteShortTermSample();
        Invalidate(Screens().averageValues, nullptr, FALSE);
    }
    if (t.graphCountdown > 0) --t.graphCountdown;
    if (t.graphCountdown == 0) {
        t.graphCountdown = kGraphEvery;
        WriteGraphSample();
        RepaintGraphScreen();
    }
}

bool ButtonHeld(int id)
{
    return id != 0 && BatchTimerButtonPressed(id);
}

void AskReload(const ReloadRow& row, bool alternate)
{
    const MinSec setting = ReadTime(DryerImage, row.setting);
    wchar_t text[96];
    std::swprintf(text, std::size(text), alternate ? row.altQuestion : row.question,
                  setting.minutes, setting.seconds);
    gTicks.askingReload = true;
    const int answer = MessageBox(Screens().main, text, L"RELOAD TIMER REQUEST", MB_YESNO);
    gTicks.askingReload = false;
    if (answer != IDYES) return;
    WriteTime(DesiredSettings, row.remaining, setting);
    PendingCommand.Set(row.remaining.pending);  // the reload
}

// A timer button must be seen pressed on two consecutive ticks before the question is asked.
void StepTimerReloads()
{
    if (Screens().batchDrying == nullptr) return;
    if (gTicks.askingReload) return;  // ticks go on inside the question; ask one at a time
    for (const ReloadRow& row : kReloadRows) {
        int& counter = gTicks.holdCounters[static_cast<int>(row.timer)];
        const bool alternate = ButtonHeld(row.altButton);
        if (!ButtonHeld(row.button) && !alternate) {
            counter = 1;
        } else if (counter > 0) {
            --counter;
        } else {
            counter = 1;
            AskReload(row, alternate && !ButtonHeld(row.button));
        }
    }
}

// ---- 100 ms ----

void StepBannerBlink()
{
    if (++gTicks.bannerDivider < 3) return;
    gTicks.bannerDivider = 0;
    Animation().blinkFlags ^= kBannerBlinkBit;
    Invalidate(Screens().warning, &kBannerTextRect, FALSE);
}

void StepAnimations()
{
    TickState& t = gTicks;
    PanelAnimation& a = Animation();
    for (int heater = 1; heater <= kMaxHeaters; ++heater) {
        if (IsSet(DryerImage, ForHeater(fanRunningBit, heater))) {
            a.fanPhase[heater - 1] = Step3(a.fanPhase[heater - 1], 1);
        }
    }
    if (!IsSet(DryerImage, notFillingBit)) a.loadingPhase = Step3(a.loadingPhase, -1);
    if (IsUnloading(DryerImage)) {
        a.unloadPhase = Step3(a.unloadPhase, 1);
        if (++t.slowUnloadDivider >= 5) {
            t.slowUnloadDivider = 0;
            t.slowUnloadPhase = Step3(t.slowUnloadPhase, 1);
        }
    }
    if (++t.meterRollDivider >= 3) {
        t.meterRollDivider = 0;
        if (IsSet(DryerImage, meterRollsTurningBit)) {
            const int sense = IsSet(DryerImage, meterRollDirectionBit) ? 1 : -1;
            a.meterRollPhase[0] = Step3(a.meterRollPhase[0], sense);
            a.meterRollPhase[1] = Step3(a.meterRollPhase[1], -sense);
        }
    }
    Invalidate(Screens().dryerPic, nullptr, TRUE);
}

}  // namespace

TickState& Ticks()
{
    return gTicks;
}

void ResetTicks()
{
    gTicks = TickState{};
    Animation() = PanelAnimation{};
    ResetAutoRepeat();
}

void StartTimers(HWND main)
{
    SetTimer(main, kTimer175Ms, 175, Tick175Ms);
    SetTimer(main, kTimer1s, 1000, Tick1s);
    SetTimer(main, kTimer100Ms, 100, Tick100Ms);
}

void RequestStatusRefresh()
{
    gTicks.statusRefreshRequested = true;
}

void Tick175Ms(HWND, UINT, UINT_PTR, DWORD)
{
    Invalidate(Screens().rightStatusBar, nullptr, FALSE);
    StepBlink();
    StepPollPacing();
    StepStatusRefresh();
}

void Tick1s(HWND, UINT, UINT_PTR, DWORD)
{
    SendClock();
    DecrementShutdownRecordHoldOff();
    DecrementLinkWatchdog();
    StepLongTermLog();
    StepUnloadingLogs();
    CountDownGraphScreen();
    CountDownStatusChartHold();
    RefreshSetupButtons();
    RepaintSystemInformation();
    ShutdownHistoryHoldTick();
    StepTimerReloads();
}

void Tick100Ms(HWND, UINT, UINT_PTR, DWORD)
{
    WarningRaiseLowerTick();
    StepBannerBlink();
    StepAnimations();
    StepAutoRepeat();
}
