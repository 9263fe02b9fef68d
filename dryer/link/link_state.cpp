// The shared link state of link_state.h and pending_command.h, with its program-start values.
#include "dryer/link/link_state.h"

#include "dryer/link/answer_decoder.h"
#include "dryer/link/pending_command.h"

std::atomic<std::uint32_t> LinkWatchdog{kLinkWatchdogReload};
std::atomic<std::uint32_t> CommandHoldOff{0};
std::atomic<std::uint8_t> LinkResetRequest{0};

std::atomic<std::uint32_t> LoadTimerLowWater{0};
std::atomic<std::uint32_t> PreviousLoadTime{0};
std::atomic<WarningCode> LastShutdownCode{0};
std::atomic<std::uint32_t> ShutdownRecordHoldOff{0};
std::atomic<std::uint8_t> SiUnits{0};
std::atomic<std::uint8_t> BatchSpecialState{0};
std::atomic<std::uint8_t> MoistureControlUnavailable{0};

std::atomic<std::uint8_t> OpenMeteringScreenRequest{0};
std::atomic<std::uint8_t> DefaultsSwitchScreenRequest{0};

std::atomic<std::uint8_t> HomeShown{1};
std::atomic<std::uint8_t> DefaultsSwitchDismissed{0};
std::atomic<std::uint8_t> MeteringScreenShowing{0};
std::atomic<std::uint8_t> MeteringByDisplay{0};

std::atomic<RecordShutdownFn> RecordShutdownHook{nullptr};
std::atomic<HomeCompositionFn> HomeCompositionHook{nullptr};
std::atomic<RefreshMainButtonsFn> RefreshMainButtonsHook{nullptr};
std::atomic<EnableTimerButtonsFn> EnableTimerButtonsHook{nullptr};

PendingFlags PendingCommand;

namespace {

// Steps a counter toward 0 without ever wrapping, even when the other thread reloads it.
void StepDown(std::atomic<std::uint32_t>& counter)
{
    std::uint32_t value = counter.load(std::memory_order_relaxed);
    while (value > 0 &&
           !counter.compare_exchange_weak(value, value - 1, std::memory_order_relaxed)) {
    }
}

}  // namespace

void DecrementLinkWatchdog()
{
    StepDown(LinkWatchdog);
}
void DecrementShutdownRecordHoldOff()
{
    StepDown(ShutdownRecordHoldOff);
}
void RequestLinkReset()
{
    LinkResetRequest.store(1, std::memory_order_relaxed);
}

void ResetLinkStateForTest()
{
    DryerImage.Clear();
    DesiredSettings.Clear();
    PendingCommand.ClearAll();
    LinkWatchdog = kLinkWatchdogReload;
    CommandHoldOff = 0;
    LinkResetRequest = 0;
    LoadTimerLowWater = 0;
    PreviousLoadTime = 0;
    LastShutdownCode = 0;
    ShutdownRecordHoldOff = 0;
    SiUnits = 0;
    BatchSpecialState = 0;
    MoistureControlUnavailable = 0;
    OpenMeteringScreenRequest = 0;
    DefaultsSwitchScreenRequest = 0;
    HomeShown = 1;
    DefaultsSwitchDismissed = 0;
    MeteringScreenShowing = 0;
    MeteringByDisplay = 0;
    RecordShutdownHook = nullptr;
    HomeCompositionHook = nullptr;
    RefreshMainButtonsHook = nullptr;
    EnableTimerButtonsHook = nullptr;
    ResetAnswerDecoderForTest();
}
