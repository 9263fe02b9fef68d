// The simulated board: answers, the echo of command records, the records the board acts on,
// the faults of the control channel, and robustness against random input.
#include "sim/display_io_board.h"

#include <gtest/gtest.h>

#include <random>

#include "tests/sim/sim_frames.h"

using namespace sim;
using namespace sim_test;

namespace {

DryerConfig Stopped()
{
    DryerConfig c;
    c.running = false;
    return c;
}

bool IsGoodAnswer(const std::vector<std::uint8_t>& bytes)
{
    return bytes.size() == 302 && LinkCrc16Check(bytes, 300);
}

}  // namespace

TEST(BoardAnswers, EveryRequestKindGetsAValidStatusFrame)
{
    const std::vector<std::uint8_t> requests[] = {Poll(), LinkReset(), Command({{3, {1}}})};
    for (const auto& request : requests) {
        DisplayIoBoard board;
        const auto answer = board.Receive(request, 0);
        EXPECT_TRUE(IsGoodAnswer(answer));
        EXPECT_EQ(board.counters().requestsAnswered, 1u);
    }
}

TEST(BoardAnswers, TwoRequestsInOneReadGetTwoAnswers)
{
    auto bytes = Poll();
    const auto reset = LinkReset();
    bytes.insert(bytes.end(), reset.begin(), reset.end());
    DisplayIoBoard board;
    EXPECT_EQ(board.Receive(bytes, 0).size(), 604u);
}

TEST(BoardAnswers, PayloadIsTheImage)
{
    DisplayIoBoard board(Stopped());
    const auto answer = board.Receive(Poll(), 0);
    ASSERT_TRUE(IsGoodAnswer(answer));
    const StatusImage image = board.Image();
    EXPECT_TRUE(std::equal(image.begin(), image.end(), answer.begin()));
    EXPECT_EQ(answer[dryerState.offset], kDryerStateIdle);
}

TEST(BoardAnswers, MalformedRequestsAreNotAnswered)
{
    DisplayIoBoard board;
    auto bad = Poll();
    bad[6] ^= 0x80;
    EXPECT_TRUE(board.Receive(bad, 0).empty());
    EXPECT_TRUE(board.Receive(Command({{kImageSize - 1, {1, 2}}}), 0).empty());  // past the end
    EXPECT_EQ(board.counters().requestsAnswered, 0u);
}

TEST(BoardEcho, RecordsWriteTheImageAtTheirAddresses)
{
    struct Case {
        const char* name;
        Rec record;
    };
    const Case cases[] = {
        {"heater count", {heaterCountCode.offset, {4}}},
        {"plenum setpoint 1 (LE)", {ForHeater(plenumSetpoint, 1).offset, {0xC8, 0x00}}},
        {"moisture setpoint (BE)", {moistureSetpoint.offset, {0x00, 0x91}}},
        {"page 1 sampler option", {samplerOption.offset, {0x80}}},
        {"fan run-after", {fanRunAfterShutdownSetting.offset, {3, 30}}},
        {"five bytes", {plenumDifferential.offset, {1, 2, 3, 4, 5}}},
    };
    for (const Case& c : cases) {
        DisplayIoBoard board(Stopped());
        const auto answer = board.Receive(Command({c.record}), 0);
        ASSERT_TRUE(IsGoodAnswer(answer)) << c.name;
        for (std::size_t i = 0; i < c.record.data.size(); ++i) {
            EXPECT_EQ(answer[c.record.address + i], c.record.data[i]) << c.name << " byte " << i;
        }
        EXPECT_EQ(board.counters().commandRecordsApplied, 1u) << c.name;
    }
}

TEST(BoardEcho, TheDryersBuildStaysAsSentWhileTheDryerRuns)
{
    // What the hardware set-up and burner mode screens send: four fan/heaters in two modules,
    // vapor, center fill, 36 ft, AUTO burners beside other control bits, dual heat off, sampler.
    std::vector<Rec> records = {{heaterCountCode.offset, {3}},  {moduleCountCode.offset, {1}},
                                {fuelCode.offset, {2}},         {loadSystemCode.offset, {1}},
                                {dryerLengthCode.offset, {12}}, {dryerOptions.offset, {0x30}},
                                {samplerOption.offset, {0x80}}};
    for (int heater = 1; heater <= kMaxHeaters; ++heater) {
        const auto mode = static_cast<std::uint8_t>(kBurnerAuto | (heater == 2 ? 0x04 : 0));
        records.push_back({ForHeater(heaterControlBits, heater).offset, {mode}});
    }
    DisplayIoBoard board;  // one fan/heater, running
    board.AdvanceTo(0);
    ASSERT_TRUE(IsGoodAnswer(board.Receive(Command(records), 0)));
    EXPECT_EQ(board.counters().commandRecordsApplied, records.size());
    board.AdvanceTo(120'000);
    const auto answer = board.Receive(Poll(), 120'000);
    for (const Rec& r : records) EXPECT_EQ(answer[r.address], r.data[0]) << r.address;
    // The dryer runs the fan/heaters it was told it has.
    for (int heater = 1; heater <= 4; ++heater) {
        EXPECT_TRUE(IsSet(board.Image(), ForHeater(fanRunningBit, heater))) << heater;
    }
    EXPECT_FALSE(IsSet(board.Image(), ForHeater(fanRunningBit, 5)));
}

TEST(BoardEcho, NoechoRefusesAnOffsetUntilEchoIsRestored)
{
    DisplayIoBoard board(Stopped());
    const std::uint16_t at = plenumSetpoint.offset;  // the low byte of Fan/Heater 6's setpoint
    const std::string offset = std::to_string(at);
    const std::uint8_t before = board.Image()[at];
    EXPECT_EQ(board.Control("noecho " + offset, 0).rfind("ok", 0), 0u);
    auto answer = board.Receive(Command({{at, {0xC8, 0x00}}, {heaterCountCode.offset, {2}}}), 0);
    ASSERT_TRUE(IsGoodAnswer(answer));
    EXPECT_EQ(answer[at], before);    // refused
    EXPECT_EQ(answer[at + 1], 0x00);  // the other byte of the record is written
    EXPECT_EQ(answer[heaterCountCode.offset], 2);
    board.Control("echo " + offset, 0);
    answer = board.Receive(Command({{at, {0xC8, 0x00}}}), 0);
    EXPECT_EQ(answer[at], 0xC8);
}

TEST(BoardEcho, TimerReloadRestartsTheTimerFromItsSetting)
{
    struct Case {
        const char* name;
        ImageField remaining;
        ImageField setting;
    };
    const Case cases[] = {
        {"dry", dryTimerRemaining, dryTimerSetting},
        {"cool", coolTimerRemaining, coolTimerSetting},
        {"unload", unloadTimerRemaining, unloadTimerSetting},
        {"lo-heat", loHeatTimerRemaining, loHeatTimerSetting},
    };
    for (const Case& c : cases) {
        DisplayIoBoard board(Stopped());
        board.Receive(Command({{c.setting.offset, {45, 30}}}), 0);
        board.Control("set " + std::to_string(c.remaining.offset) + " 3", 0);
        const auto answer = board.Receive(Command({{c.remaining.offset, {45, 30}}}), 0);
        EXPECT_EQ(answer[c.remaining.offset], 45) << c.name;
        EXPECT_EQ(answer[c.remaining.offset + 1], 30) << c.name;
    }
}

TEST(BoardEcho, ClockRecordSetsTheBoardClockWithoutReportingIt)
{
    DisplayIoBoard board(Stopped());
    const auto answer = board.Receive(Command({{clockSetting.offset, {5, 14, 3, 3, 26}}}), 0);
    ASSERT_TRUE(IsGoodAnswer(answer));
    for (std::size_t i = clockSetting.offset; i < clockSetting.end(); ++i) {
        EXPECT_EQ(answer[i], 0) << i;
    }
    EXPECT_EQ(board.model().clock(), (std::array<std::uint8_t, 5>{5, 14, 3, 3, 26}));
    const std::string hour = std::to_string(ClockByte(ClockPart::hour).offset);
    EXPECT_EQ(board.Control("get " + hour, 0), "ok " + hour + " = 14 (0x0E)");
    // An impossible time is not taken.
    board.Receive(Command({{clockSetting.offset, {61, 14, 3, 3, 26}}}), 0);
    EXPECT_EQ(board.model().clock()[0], 5);
}

TEST(BoardEcho, BushelResetHoldsTheCounterAtZeroWhileRequested)
{
    DisplayIoBoard board;  // running: the counter grows while grain is unloaded
    board.AdvanceTo(0);
    board.AdvanceTo(300'000);
    ASSERT_GT(ReadCounter(board.Image(), bushelCounter), 0u);

    auto answer = board.Receive(Command({{optionByte238.offset, {bushelResetBit.mask}}}), 300'000);
    EXPECT_EQ(ReadCounter(answer, bushelCounter), 0u);
    board.AdvanceTo(310'000);
    EXPECT_EQ(ReadCounter(board.Image(), bushelCounter), 0u);  // held while the bit is set

    // the panel sends the cleared byte
    board.Receive(Command({{optionByte238.offset, {0x00}}}), 310'000);
    board.AdvanceTo(320'000);
    EXPECT_GT(ReadCounter(board.Image(), bushelCounter), 0u);
}

TEST(BoardEcho, UnitsOneShotBitsAreActedOnAndCleared)
{
    DisplayIoBoard board(Stopped());
    // Save settings with the plenum setpoint at 190, change it, then restore.
    const ImageField setpoint = ForHeater(plenumSetpoint, 1);
    const std::uint8_t si = siUnitsBit.mask;
    board.Receive(Command({{setpoint.offset, {190, 0}}}), 0);
    auto answer =
        board.Receive(Command({{unitsAndOptions.offset,
                                {static_cast<std::uint8_t>(si | saveSettingsRequestBit.mask)}}}),
                      0);
    EXPECT_EQ(answer[unitsAndOptions.offset], si);
    board.Receive(Command({{setpoint.offset, {120, 0}}}), 0);
    answer =
        board.Receive(Command({{unitsAndOptions.offset,
                                {static_cast<std::uint8_t>(si | restoreSettingsRequestBit.mask)}}}),
                      0);
    EXPECT_EQ(answer[unitsAndOptions.offset], si);
    EXPECT_EQ(Value(answer, setpoint), 190);
}

TEST(BoardEcho, DryingModeSettingsStayWhileTheDryerRuns)
{
    // What the drying mode dialogs send: the board keeps it through its one-second steps, and
    // a batch dryer goes on drying by it.
    DisplayIoBoard board;  // running
    board.AdvanceTo(0);
    const std::uint8_t safety = safetyEnabledBit.mask | maxDryTimeBit.mask | maxGrainTempBit.mask;
    const std::vector<Rec> records = {
        {dryingType.offset, {kBatchDrying}},
        {moistureControlMode.offset, {0x80}},
        {optionByte224.offset, {static_cast<std::uint8_t>(fullHeatBit.mask | 0x81)}},
        {dryerOptions.offset, {0x32}},  // TIME, TEMPERATURE, dual plenum
        {unitsAndOptions.offset, {static_cast<std::uint8_t>(siUnitsBit.mask | safety)}},
        {batchTimePair.offset, {200, 30}},
        {batchWord277.offset, {0xAA, 0x00}},  // 170 F
    };
    auto answer = board.Receive(Command(records), 0);
    ASSERT_TRUE(IsGoodAnswer(answer));
    EXPECT_EQ(board.counters().commandRecordsApplied, records.size());
    board.AdvanceTo(120'000);
    const StatusImage image = board.Image();
    for (const Rec& r : records) {
        for (std::size_t i = 0; i < r.data.size(); ++i) {
            EXPECT_EQ(image[r.address + i], r.data[i]) << "offset " << r.address + i;
        }
    }
    EXPECT_TRUE(board.model().running());
}

TEST(BoardFaults, SilentAnswersNothingUntilThePanelClockPassesIt)
{
    DisplayIoBoard board;
    board.Control("silent 10", 1000);
    EXPECT_TRUE(board.Receive(Poll(), 1000).empty());
    EXPECT_TRUE(board.Receive(Command({{heaterCountCode.offset, {2}}}), 10'999).empty());
    EXPECT_NE(Value(board.Image(), heaterCountCode), 2);  // a silent board hears nothing either
    EXPECT_TRUE(IsGoodAnswer(board.Receive(Poll(), 11'000)));
    EXPECT_EQ(board.counters().requestsIgnored, 2u);
}

TEST(BoardFaults, DamagedAnswersForTheNextN)
{
    struct Case {
        const char* command;
        std::size_t damagedSize;
        bool crcGood;
    };
    const Case cases[] = {
        {"badcrc 2", 302, false},
        {"short 2", 301, false},
        {"long 2", 302 + 32, true},
    };
    for (const Case& c : cases) {
        DisplayIoBoard board;
        EXPECT_EQ(board.Control(c.command, 0).rfind("ok", 0), 0u) << c.command;
        for (int i = 0; i < 2; ++i) {
            const auto answer = board.Receive(Poll(), 0);
            EXPECT_EQ(answer.size(), c.damagedSize) << c.command;
            EXPECT_EQ(answer.size() >= 302 && LinkCrc16Check(answer, 300), c.crcGood) << c.command;
        }
        EXPECT_TRUE(IsGoodAnswer(board.Receive(Poll(), 0))) << c.command;
    }
}

TEST(BoardFaults, NoiseGoesOutInFrontOfTheNextAnswer)
{
    DisplayIoBoard board;
    board.Control("noise 5", 0);
    const auto answer = board.Receive(Poll(), 0);
    ASSERT_EQ(answer.size(), 307u);
    EXPECT_TRUE(LinkCrc16Check(std::span(answer).subspan(5), 300));
    EXPECT_EQ(board.Receive(Poll(), 0).size(), 302u);
}

TEST(BoardControl, WarningShutsTheDryerDownAndCoolsItDown)
{
    DisplayIoBoard board;
    board.AdvanceTo(0);
    board.AdvanceTo(120'000);
    ASSERT_TRUE(board.model().running());
    EXPECT_EQ(board.Control("warn 0E05", 120'000), "ok warning 0E05");
    StatusImage image = board.Image();
    EXPECT_EQ(ActiveWarningCode(image), 0x0E05);
    EXPECT_FALSE(IsSet(image, dryerStartedBit));
    EXPECT_TRUE(IsSet(image, coolDownRunningBit));
    EXPECT_EQ(BitsValue(image, coolDownStateBits), kCoolingDown);
    EXPECT_EQ(Value(image, coolDownRemaining), 2 * 60);  // fan run-after 2:00
    EXPECT_EQ(board.Control("start", 120'000), "error: clear the warning first");

    board.AdvanceTo(150'000);
    image = board.Image();
    EXPECT_EQ(Value(image, coolDownRemaining), 90);
    board.AdvanceTo(250'000);
    image = board.Image();
    EXPECT_EQ(Value(image, coolingStatusBits), 0);
    EXPECT_FALSE(IsSet(image, ForHeater(fanRunningBit, 1)));  // fan stopped

    board.Control("clear", 250'000);
    EXPECT_EQ(ActiveWarningCode(board.Image()), 0);
    EXPECT_EQ(board.Control("start", 250'000), "ok dryer started");
}

TEST(BoardControl, CommandsAndTheirErrors)
{
    struct Case {
        const char* line;
        const char* replyStart;
    };
    const Case cases[] = {
        {"help", "control commands"},
        {"status", "ok scenario continuous-1fh"},
        {"set 3 4", "ok 3 = 4"},
        {"set 0x12 0xFF", "ok 18 = 255"},
        {"get 3", "ok 3 = 4 (0x04)"},
        {"pin 185 7", "ok 185 = 7"},
        {"unpin 185", "ok offset 185 released"},
        {"echo all", "ok every offset"},
        {"scenario batch-dual-heat", "ok scenario batch-dual-heat"},
        {"advance 10", "ok advanced 10 s"},
        {"", "error"},
        {"warn", "error"},
        {"warn 12345", "error"},
        {"warn XYZ", "error"},
        {"set 300 1", "error"},
        {"set 3 256", "error"},
        {"set -1 1", "error"},
        {"get", "error"},
        {"silent -5", "error"},
        {"badcrc many", "error"},
        {"noecho 1 2", "error"},
        {"scenario nowhere", "error"},
        {"frobnicate", "error: unknown command"},
    };
    DisplayIoBoard board;
    for (const Case& c : cases) {
        EXPECT_EQ(board.Control(c.line, 0).rfind(c.replyStart, 0), 0u)
            << c.line << " -> " << board.Control(c.line, 0);
    }
}

// A refused count names what is allowed, so someone trying the simulator sees the limit.
TEST(BoardControl, RefusedCountsStateTheirLimits)
{
    const std::pair<const char*, const char*> cases[] = {
        {"badcrc 100001", "error: badcrc needs a count N (0-100000)"},
        {"short -1", "error: short needs a count N (0-100000)"},
        {"noise 5000", "error: noise needs a count N (0-4096)"},
        {"advance 604801", "error: advance needs SECONDS (0-604800)"},
        {"silent 86401", "error: silent needs SECONDS (0-86400)"},
    };
    DisplayIoBoard board;
    for (const auto& [line, reply] : cases) EXPECT_EQ(board.Control(line, 0), reply);
    EXPECT_NE(board.Control("scenario nowhere", 0).find("continuous-1fh, continuous-2fh"),
              std::string::npos);
}

TEST(BoardControl, PinnedBytesStayPutWhileTheDryerMoves)
{
    DisplayIoBoard board;
    board.AdvanceTo(0);
    const std::uint16_t plenum1 = ForHeater(plenumTemp, 1).offset;  // its low byte moves
    board.Control("pin " + std::to_string(plenum1) + " 200", 0);
    board.AdvanceTo(60'000);
    EXPECT_EQ(board.Image()[plenum1], 200);
    EXPECT_EQ(board.Receive(Poll(), 60'000)[plenum1], 200);
}

TEST(BoardRobustness, RandomBytesNeverCrashAndNeverAnswerMalformedInput)
{
    std::mt19937 random(99);
    std::uniform_int_distribution<int> byte(0, 255);
    DisplayIoBoard board;
    std::uint64_t answers = 0;
    for (int round = 0; round < 5000; ++round) {
        std::vector<std::uint8_t> chunk(40);
        for (auto& b : chunk) b = static_cast<std::uint8_t>(byte(random));
        const auto out = board.Receive(chunk, round);
        answers += out.size() / 302;
        EXPECT_EQ(out.size() % 302, 0u);
    }
    // Whatever was answered passed a 16-bit CRC by chance; that stays rare.
    EXPECT_LT(answers, 50u);
    EXPECT_EQ(answers, board.counters().requestsAnswered);
    // And the board still serves a real request afterwards.
    EXPECT_GE(board.Receive(Poll(), 6000).size(), 302u);
}
