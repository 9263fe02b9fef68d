// The command frame builder: the order and content of the 82 rows, their acknowledgement by
// the board's echo, one-shot rows, the length limit and the frames of known examples.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

#include "common/link/link_crc16.h"
#include "dryer/link/command_encoder.h"
#include "dryer/link/dryer_image.h"
#include "dryer/link/link_state.h"
#include "dryer/link/pending_command.h"
#include "tests/dryer/link/fake_board_support.h"

namespace {

class CommandFrame : public ::testing::Test {
protected:
    void SetUp() override { ResetLinkStateForTest(); }
    void TearDown() override { ResetLinkStateForTest(); }
};

// How a flag is confirmed.
enum class Ack { echo, oneShot, byScreen };

struct RowCase {
    int row;
    Pending flag;
    std::uint16_t address;
    std::uint8_t length;
    Ack ack;
};

// Every flag with its row as the command table lists them, and the record's address and length
// as the wire carries them: written out as numbers, so that a wrong field description cannot
// hide behind a name that the table and this test share.
const RowCase kRows[] = {
    {1, Pending::heaterCount, 3, 1, Ack::echo},
    {2, Pending::moduleCount, 4, 1, Ack::echo},
    {3, Pending::fuel, 5, 1, Ack::echo},
    {4, Pending::loadSystem, 6, 1, Ack::echo},
    {5, Pending::dryerLength, 7, 1, Ack::echo},
    {6, Pending::dryingType, 8, 1, Ack::echo},
    {7, Pending::dryTimerSetting, 11, 2, Ack::echo},
    {8, Pending::dryTimerReload, 9, 2, Ack::echo},
    {9, Pending::loHeatTimerSetting, 254, 2, Ack::echo},
    {10, Pending::loHeatTimerReload, 252, 2, Ack::echo},
    {11, Pending::coolTimerSetting, 16, 2, Ack::echo},
    {12, Pending::coolTimerReload, 14, 2, Ack::echo},
    {13, Pending::unloadTimerSetting, 21, 2, Ack::echo},
    {14, Pending::unloadTimerReload, 19, 2, Ack::echo},
    {15, Pending::loadTimer, 26, 2, Ack::echo},
    {16, Pending::loadDelay, 31, 2, Ack::echo},
    {17, Pending::unloadRunOn, 41, 2, Ack::echo},
    {18, Pending::fanStartDelay, 46, 2, Ack::echo},
    {19, Pending::optionByte49, 49, 1, Ack::echo},
    {20, Pending::byte50, 50, 1, Ack::echo},
    {21, Pending::clock, 53, 5, Ack::oneShot},
    {22, Pending::plenumSetpoint6, 59, 2, Ack::echo},
    {23, Pending::plenumSetpoint5, 61, 2, Ack::echo},
    {24, Pending::plenumSetpoint4, 63, 2, Ack::echo},
    {25, Pending::plenumSetpoint3, 65, 2, Ack::echo},
    {26, Pending::plenumSetpoint2, 67, 2, Ack::echo},
    {27, Pending::plenumSetpoint1, 69, 2, Ack::echo},
    {28, Pending::plenumDifferential6, 95, 1, Ack::echo},
    {29, Pending::plenumDifferential5, 96, 1, Ack::echo},
    {30, Pending::plenumDifferential4, 97, 1, Ack::echo},
    {31, Pending::plenumDifferential3, 98, 1, Ack::echo},
    {32, Pending::plenumDifferential2, 99, 1, Ack::echo},
    {33, Pending::plenumDifferential1, 100, 1, Ack::echo},
    {34, Pending::heaterByte6, 101, 1, Ack::echo},
    {35, Pending::heaterByte5, 102, 1, Ack::echo},
    {36, Pending::heaterByte4, 103, 1, Ack::echo},
    {37, Pending::heaterByte3, 104, 1, Ack::echo},
    {38, Pending::heaterByte2, 105, 1, Ack::echo},
    {39, Pending::heaterByte1, 106, 1, Ack::echo},
    {40, Pending::grainSetpoint1, 149, 2, Ack::echo},
    {41, Pending::grainSetpoint2, 151, 2, Ack::echo},
    {42, Pending::grainSetpoint3, 153, 2, Ack::echo},
    {43, Pending::meteringModeBits, 159, 1, Ack::byScreen},
    {44, Pending::meteringPresetHigh, 156, 1, Ack::echo},
    {45, Pending::meteringPresetMedium, 157, 1, Ack::echo},
    {46, Pending::meteringPresetLow, 158, 1, Ack::echo},
    {47, Pending::imageMeteringGroup, 159, 4, Ack::echo},
    {48, Pending::byte161, 161, 1, Ack::echo},
    {49, Pending::bphCalibration, 163, 1, Ack::echo},
    {50, Pending::moistureMode, 187, 1, Ack::echo},
    {51, Pending::presetsToMetering, 160, 3, Ack::echo},
    {52, Pending::desiredMeteringGroup, 159, 4, Ack::echo},
    {53, Pending::moistureSetpoint, 199, 2, Ack::echo},
    {54, Pending::byte202, 202, 1, Ack::echo},
    {55, Pending::byte203, 203, 1, Ack::echo},
    {56, Pending::unloadRateLimit1, 206, 2, Ack::echo},
    {57, Pending::unloadRateLimit2, 208, 2, Ack::echo},
    {58, Pending::byte216, 216, 2, Ack::echo},
    {58, Pending::byte217, 216, 2, Ack::echo},
    {59, Pending::byte218, 218, 2, Ack::echo},
    {59, Pending::byte219, 218, 2, Ack::echo},
    {59, Pending::bytes218Once, 218, 2, Ack::oneShot},
    {60, Pending::batchCounter, 221, 2, Ack::echo},
    {61, Pending::byte224, 224, 1, Ack::echo},
    {62, Pending::byte226, 226, 1, Ack::echo},
    {63, Pending::byte227, 227, 1, Ack::echo},
    {64, Pending::byte228, 228, 1, Ack::echo},
    {65, Pending::byte229, 229, 1, Ack::echo},
    {66, Pending::calibrationWord232, 232, 2, Ack::echo},
    {67, Pending::calibrationWord234, 234, 2, Ack::echo},
    {68, Pending::byte236, 236, 1, Ack::echo},
    {69, Pending::byte237, 237, 1, Ack::echo},
    {70, Pending::optionByte238, 238, 1, Ack::echo},
    {71, Pending::calibrationWord241, 241, 2, Ack::echo},
    {72, Pending::calibrationWord243, 243, 2, Ack::echo},
    {73, Pending::byte246, 246, 1, Ack::echo},
    {74, Pending::optionByte257, 257, 1, Ack::echo},
    {75, Pending::word258, 258, 2, Ack::echo},
    {76, Pending::word260, 260, 2, Ack::echo},
    {77, Pending::unitsAndOptions, 266, 1, Ack::oneShot},
    {78, Pending::fanRunAfterShutdown, 269, 2, Ack::echo},
    {79, Pending::batchTimePair, 274, 2, Ack::echo},
    {80, Pending::batchWord277, 277, 2, Ack::echo},
    {81, Pending::optionByte289, 289, 1, Ack::echo},
    {82, Pending::optionByte293, 293, 1, Ack::echo},
};

TEST_F(CommandFrame, TableHasEightyTwoRowsInOrder)
{
    const auto table = CommandTable();
    ASSERT_EQ(table.size(), 82u);
    for (const RowCase& c : kRows) {
        const CommandRow& row = table[static_cast<std::size_t>(c.row - 1)];
        EXPECT_EQ(row.address, c.address) << "row " << c.row;
        EXPECT_EQ(row.length, c.length) << "row " << c.row;
        bool hasFlag = false;
        for (Pending flag : row.flags) hasFlag = hasFlag || flag == c.flag;
        EXPECT_TRUE(hasFlag) << "row " << c.row;
    }
    EXPECT_EQ(std::size(kRows), kPendingCount);
}

// Puts distinct test values at the source of the flag's row, and sets up the metering mode the
// row belongs to.
void PrepareRow(const RowCase& c)
{
    const CommandRow& row = CommandTable()[static_cast<std::size_t>(c.row - 1)];
    if (c.flag == Pending::imageMeteringGroup) {
        // The image's mode and presets go out as the metering group, which the board echoes.
        MeteringByDisplay = 1;
        SetValue(DryerImage, meteringMode, 0x11);
        for (int i = 0; i < meteringPreset.count(); ++i) {
            SetValue(DryerImage, meteringPreset.Element(i), 0x12 + i);
        }
        SetValue(DesiredSettings, meteringControl, 0x11);
        for (int i = 0; i < meteringValues.count(); ++i) {
            SetValue(DesiredSettings, meteringValues.Element(i), 0x12 + i);
        }
        return;
    }
    if (c.flag == Pending::byte161) {
        SetValue(DryerImage, settingByte230, 0x37);
        SetValue(DesiredSettings, meteringValues.Element(1), 0x37);
        return;
    }
    if (row.source == CommandSource::image) {
        for (std::uint8_t i = 0; i < row.length; ++i) {
            DryerImage.Set(row.sourceOffset + i, static_cast<std::uint8_t>(0x21 + i));
        }
        return;
    }
    for (std::uint8_t i = 0; i < row.length; ++i) {
        // bits 6-7 clear and bit 3 of 238 clear keep the metering and bushel rules out of it
        DesiredSettings.Set(row.sourceOffset + i, static_cast<std::uint8_t>(0x31 + c.row % 7 + i));
    }
}

std::vector<std::uint8_t> ExpectedData(const RowCase& c)
{
    const CommandRow& row = CommandTable()[static_cast<std::size_t>(c.row - 1)];
    const ImageBytes& source = row.source == CommandSource::image ? DryerImage : DesiredSettings;
    std::vector<std::uint8_t> data;
    for (std::uint8_t i = 0; i < row.length; ++i) data.push_back(source.Get(row.sourceOffset + i));
    return data;
}

TEST_F(CommandFrame, EveryRowIsSentWhilePendingAndStopsOnceConfirmed)
{
    for (const RowCase& c : kRows) {
        SCOPED_TRACE(::testing::Message()
                     << "row " << c.row << " flag " << static_cast<int>(c.flag));
        ResetLinkStateForTest();
        PrepareRow(c);
        FakeBoard board;
        const std::vector<std::uint8_t> data = ExpectedData(c);
        PendingCommand.Set(c.flag);

        // A confirmed row repeats on every cycle until the echo; a one-shot row goes once.
        const int sends = c.ack == Ack::oneShot ? 1 : 2;
        for (int i = 0; i < sends; ++i) {
            const auto frame = BuildFrame();
            ASSERT_FALSE(frame.empty());
            EXPECT_TRUE(LinkCrc16Check(frame, frame.size() - 2));
            const auto records = ParseCommandFrame(frame);
            ASSERT_EQ(records.size(), 1u);
            EXPECT_EQ(frame[1], 1);
            EXPECT_EQ(frame[2], c.address >> 8);
            EXPECT_EQ(frame[3], c.address & 0xFF);
            EXPECT_EQ(records[0].address, c.address);
            EXPECT_EQ(records[0].data, data);
            EXPECT_EQ(frame.size(), 2u + 3u + c.length + 2u);
            if (i == sends - 1) board.Apply(frame);
        }
        board.AnswerPanel();
        switch (c.ack) {
            case Ack::echo:
            case Ack::oneShot:
                EXPECT_FALSE(PendingCommand.IsSet(c.flag));
                EXPECT_TRUE(BuildFrame().empty());
                break;
            case Ack::byScreen: EXPECT_TRUE(PendingCommand.IsSet(c.flag)); break;
        }
    }
}

TEST_F(CommandFrame, RefusedValueKeepsBeingSent)
{
    SetValue(DesiredSettings, fuelCode, 2);
    PendingCommand.Set(fuelCode.pending);
    FakeBoard board;
    board.refused.push_back(fuelCode.offset);
    for (int cycle = 0; cycle < 5; ++cycle) {
        const auto frame = BuildFrame();
        ASSERT_EQ(ParseCommandFrame(frame).size(), 1u);
        board.Apply(frame);
        board.AnswerPanel();
        EXPECT_TRUE(PendingCommand.IsSet(Pending::fuel));
    }
}

TEST_F(CommandFrame, NoFlagBuildsNothing)
{
    std::array<std::uint8_t, kMaxCommandFrame> frame{};
    EXPECT_FALSE(BuildCommandFrame(frame));
}

TEST_F(CommandFrame, RefusesASmallBuffer)
{
    PendingCommand.Set(Pending::fuel);
    std::array<std::uint8_t, kMaxCommandFrame - 1> frame{};
    EXPECT_FALSE(BuildCommandFrame(frame));
    EXPECT_TRUE(PendingCommand.IsSet(Pending::fuel));
}

TEST_F(CommandFrame, ClockAtFivePastTwoOnThirdOfMarch2026)
{
    SetValue(DesiredSettings, ClockByte(ClockPart::minute), 5);
    SetValue(DesiredSettings, ClockByte(ClockPart::hour), 14);
    SetValue(DesiredSettings, ClockByte(ClockPart::day), 3);
    SetValue(DesiredSettings, ClockByte(ClockPart::month), 3);
    SetValue(DesiredSettings, ClockByte(ClockPart::year), 26);
    PendingCommand.Set(Pending::clock);
    const auto frame = BuildFrame();
    const std::vector<std::uint8_t> body{0x0C, 0x01, 0x00, 0x35, 0x05,
                                         0x05, 0x0E, 0x03, 0x03, 0x1A};
    ASSERT_EQ(frame.size(), 12u);
    EXPECT_EQ(std::vector<std::uint8_t>(frame.begin(), frame.begin() + 10), body);
    const std::uint16_t crc = LinkCrc16(body);
    EXPECT_EQ(frame[10], crc & 0xFF);
    EXPECT_EQ(frame[11], crc >> 8);
    EXPECT_FALSE(PendingCommand.IsSet(Pending::clock));
}

TEST_F(CommandFrame, HeaterCountComesBeforeTheClock)
{
    PendingCommand.Set(Pending::clock);
    PendingCommand.Set(Pending::heaterCount);
    const auto frame = BuildFrame();
    ASSERT_EQ(frame[1], 2);
    const auto records = ParseCommandFrame(frame);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].address, heaterCountCode.offset);
    EXPECT_EQ(records[1].address, clockSetting.offset);
}

TEST_F(CommandFrame, KnownRecordHeaders)
{
    struct Case {
        Pending flag;
        std::array<std::uint8_t, 3> header;  // page, low byte, length
    };
    const Case cases[] = {
        {Pending::loHeatTimerReload, {0x00, 0xFC, 0x02}},
        {Pending::optionByte293, {0x01, 0x25, 0x01}},
        {Pending::optionByte257, {0x01, 0x01, 0x01}},
        {Pending::unitsAndOptions, {0x01, 0x0A, 0x01}},
        {Pending::batchWord277, {0x01, 0x15, 0x02}},
    };
    for (const Case& c : cases) {
        ResetLinkStateForTest();
        PendingCommand.Set(c.flag);
        const auto frame = BuildFrame();
        ASSERT_GE(frame.size(), 5u);
        EXPECT_EQ(frame[2], c.header[0]);
        EXPECT_EQ(frame[3], c.header[1]);
        EXPECT_EQ(frame[4], c.header[2]);
    }
}

TEST_F(CommandFrame, UnitsRequestBitsAreClearedAfterSending)
{
    SetBits(DesiredSettings, siUnitsBit, true);
    SetBits(DesiredSettings, graphViewBit, true);
    SetBits(DesiredSettings, unitsRequestBits, true);
    const int requested = Value(DesiredSettings, unitsAndOptions);
    PendingCommand.Set(Pending::unitsAndOptions);
    const auto frame = BuildFrame();
    ASSERT_EQ(ParseCommandFrame(frame).size(), 1u);
    EXPECT_EQ(ParseCommandFrame(frame)[0].data[0], requested);
    EXPECT_FALSE(IsSet(DesiredSettings, unitsRequestBits));
    EXPECT_TRUE(IsSet(DesiredSettings, siUnitsBit));
    EXPECT_TRUE(IsSet(DesiredSettings, graphViewBit));
    EXPECT_FALSE(PendingCommand.IsSet(Pending::unitsAndOptions));
}

TEST_F(CommandFrame, StopsGrowingAtLengthLimit)
{
    for (std::size_t f = 0; f < kPendingCount; ++f) PendingCommand.Set(static_cast<Pending>(f));
    std::array<std::uint8_t, 256> frame{};
    ASSERT_TRUE(BuildCommandFrame(frame));
    EXPECT_LE(frame[0], kMaxCommandFrame);
    // rows 1-20 make 92 bytes; the clock fits behind them; nothing after that
    EXPECT_EQ(frame[1], 21);
    EXPECT_EQ(frame[0], 2 + 92 + 8 + 2);
}

// The limit is tested before each length-checked row: a frame that has reached exactly 100
// bytes takes no further row, one that is short of 100 takes one more and may pass 100.
TEST_F(CommandFrame, LengthLimitIsReachedExactlyOrCrossedByOneRow)
{
    const auto setRowsUpTo = [](Pending last) {
        for (std::size_t f = 0; f <= static_cast<std::size_t>(last); ++f) {
            PendingCommand.Set(static_cast<Pending>(f));
        }
        PendingCommand.Clear(Pending::byte50);
        PendingCommand.Clear(Pending::clock);
    };
    // rows 1-19 and the plenum setpoints of fan/heaters 6 and 5: 98 bytes of records
    setRowsUpTo(Pending::optionByte49);
    PendingCommand.Set(Pending::plenumSetpoint6);
    PendingCommand.Set(Pending::plenumSetpoint5);
    PendingCommand.Set(Pending::plenumSetpoint4);
    std::array<std::uint8_t, 256> frame{};
    ASSERT_TRUE(BuildCommandFrame(frame));
    EXPECT_EQ(frame[1], 21);
    EXPECT_EQ(frame[0], 2 + 98 + 2);

    // without the one-byte row 19 the frame stands at 96 bytes and takes fan/heater 4 too
    ResetLinkStateForTest();
    setRowsUpTo(Pending::fanStartDelay);
    PendingCommand.Set(Pending::plenumSetpoint6);
    PendingCommand.Set(Pending::plenumSetpoint5);
    PendingCommand.Set(Pending::plenumSetpoint4);
    PendingCommand.Set(Pending::plenumSetpoint3);
    frame = {};
    ASSERT_TRUE(BuildCommandFrame(frame));
    EXPECT_EQ(frame[1], 21);
    EXPECT_EQ(frame[0], 2 + 99 + 2);
}

TEST_F(CommandFrame, NeverAboveLimitForAnyLaterRowMix)
{
    // The first rows are confirmed one by one; the frame keeps serving the next ones and never
    // exceeds 108 bytes.
    for (std::size_t f = 0; f < kPendingCount; ++f) PendingCommand.Set(static_cast<Pending>(f));
    PendingCommand.Clear(Pending::meteringModeBits);  // only the metering screen clears it
    int cycles = 0;
    while (PendingCommand.AnySet() && cycles < 200) {
        std::array<std::uint8_t, 256> frame{};
        if (!BuildCommandFrame(frame)) break;
        ASSERT_LE(frame[0], kMaxCommandFrame);
        const auto records = ParseCommandFrame(std::span(frame).first(frame[0]));
        ASSERT_EQ(records.size(), frame[1]);
        // confirm the first record's flags, as a board echo would
        for (const CommandRow& row : CommandTable()) {
            if (row.address != records[0].address) continue;
            for (Pending flag : row.flags) PendingCommand.Clear(flag);
        }
        ++cycles;
    }
    EXPECT_FALSE(PendingCommand.AnySet());
    EXPECT_GT(cycles, 10);
}

TEST_F(CommandFrame, ChangedDesiredValueGoesOutOnNextCycle)
{
    SetValue(DesiredSettings, dryerLengthCode, 3);
    PendingCommand.Set(dryerLengthCode.pending);
    EXPECT_EQ(ParseCommandFrame(BuildFrame())[0].data[0], 3);
    SetValue(DesiredSettings, dryerLengthCode, 4);
    EXPECT_EQ(ParseCommandFrame(BuildFrame())[0].data[0], 4);
}

}  // namespace
