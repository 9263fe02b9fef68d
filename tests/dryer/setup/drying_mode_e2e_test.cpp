// The drying mode dialogs end to end: what the operator chooses goes out in command frames to
// the simulated Display I/O board, the board applies and echoes it, and the panel's image
// shows it with every flag cleared.
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "common/link/link_crc16.h"
#include "dryer/link/answer_decoder.h"
#include "dryer/link/command_encoder.h"
#include "dryer/setup/drying_mode.h"
#include "dryer/setup/drying_mode_controls.h"
#include "sim/display_io_board.h"
#include "tests/dryer/setup/drying_mode_support.h"

namespace {

using namespace drying_test;

class DryingModeOnTheBoard : public DryingModeTest {
protected:
    void SetUp() override
    {
        DryingModeTest::SetUp();
        ResetAnswerDecoderForTest();
    }

    // The board as it stands before the test's exchanges.
    void OnBoard(ImageField field, int value) { SetValue(board_.model().image(), field, value); }
    int BoardValue(ImageField field) { return Value(board_.Image(), field); }

    // Exchanges as the communication thread makes them: a command frame while flags are set,
    // else a poll; the board's answer is decoded into the image.
    void Exchange(int cycles)
    {
        for (int i = 0; i < cycles; ++i) {
            std::array<std::uint8_t, kMaxCommandFrame> frame{};
            std::vector<std::uint8_t> request;
            if (BuildCommandFrame(frame)) {
                request.assign(frame.begin(), frame.begin() + frame[0]);
                LinkCrc16Append(request, request.size() - 2);
            } else {
                request = {0x07, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
                LinkCrc16Append(request, 5);
            }
            now_ += 350;
            const auto answer = board_.Receive(request, now_);
            ASSERT_TRUE(AcceptAnswerFrame(answer));
        }
    }

    sim::DisplayIoBoard board_{StoppedDryer()};
    std::int64_t now_ = 0;

private:
    static sim::DryerConfig StoppedDryer()
    {
        sim::DryerConfig c;
        c.running = false;
        return c;
    }
};

TEST_F(DryingModeOnTheBoard, StagedBatchWithItsCriteriaAndLimits)
{
    OnBoard(dryingType, kContinuousFlow);
    OnBoard(moistureControlMode, kSchemeVariable);
    OnBoard(dryerOptions, firstHalfLoadBit.mask);
    OnBoard(optionByte224, fullHeatBit.mask);
    OnBoard(unitsAndOptions, siUnitsBit.mask);
    Exchange(1);
    RunDialog([] { return OpenDryingModeSelection(nullptr); }, kDryingModeSelectionTitle,
              [] {
                  Press(kModeBatchButton);
                  Press(kModeMoistureSetupButton);
                  ASSERT_TRUE(WaitForTitle(kStagedBatchSetupTitle));
                  Press(kBatchTemperatureButton);
                  Press(kBatchTimeButton);
                  Press(kBatchSafetyButton);
                  Press(kBatchDualButton);
                  Press(kBatchAcceptButton);
              });
    // What the two keypads hand over on their ACCEPT.
    SetValue(DesiredSettings, batchTimePair, 90 * 60);
    PendingCommand.Set(batchTimePair.pending);
    SetValue(DesiredSettings, batchWord277, 170);
    PendingCommand.Set(batchWord277.pending);

    Exchange(3);
    EXPECT_EQ(BoardValue(dryingType), kBatchDrying);
    EXPECT_EQ(BoardValue(moistureControlMode),
              batchSetpointCriterionBit.mask | kSchemeBatchTimeOrTemp);
    EXPECT_EQ(BoardValue(dryerOptions),
              criterionTimeBit.mask | criterionTempBit.mask | dualHeatBit.mask);
    EXPECT_EQ(BoardValue(unitsAndOptions),
              siUnitsBit.mask | safetyEnabledBit.mask | maxDryTimeBit.mask | maxGrainTempBit.mask);
    EXPECT_EQ(ReadTime(board_.Image(), batchTimePair).minutes, 90);
    EXPECT_EQ(ReadTime(board_.Image(), batchTimePair).seconds, 0);
    EXPECT_EQ(BoardValue(batchWord277), 170);
    EXPECT_EQ(BoardValue(optionByte224), fullHeatBit.mask);
    // The panel sees it all, with nothing left to send.
    for (ImageField field : {dryingType, moistureControlMode, dryerOptions, unitsAndOptions,
                             batchTimePair, batchWord277}) {
        EXPECT_EQ(Value(DryerImage, field), Value(board_.Image(), field)) << field.offset;
    }
    EXPECT_TRUE(RaisedFlags().empty());
}

TEST_F(DryingModeOnTheBoard, ContinuousFlowWithItsSchemeAndOptions)
{
    OnBoard(dryingType, kBatchDrying);
    OnBoard(moistureControlMode, kSchemeBatchMoisture);
    OnBoard(dryerOptions, criterionMoistureBit.mask | dualHeatBit.mask);
    OnBoard(optionByte224, halfHeatBit.mask);
    OnBoard(unitsAndOptions, 0);
    Exchange(1);
    RunDialog([] { return OpenDryingModeSelection(nullptr); }, kDryingModeSelectionTitle,
              [] {
                  Press(kModeContinuousButton);
                  Press(kModeMoistureSetupButton);
                  ASSERT_TRUE(WaitForTitle(kContinuousFlowSetupTitle));
                  Press(kFlowMoistureButton);
                  Press(kFlowAutoCenteringButton);
                  Press(kFlowSensorSelectButton);
                  Press(kFlowSafetyButton);
                  Press(kFlowAcceptButton);
              });
    Exchange(3);
    EXPECT_EQ(BoardValue(dryingType), kContinuousFlow);
    EXPECT_EQ(BoardValue(moistureControlMode), kSchemeFiveSpeed);
    EXPECT_EQ(BoardValue(dryerOptions), criterionMoistureBit.mask);
    EXPECT_EQ(BoardValue(optionByte224),
              halfHeatBit.mask | centerAdjustBit.mask | upperSensorDisabledBit.mask);
    EXPECT_EQ(BoardValue(unitsAndOptions), safetyEnabledBit.mask | maxGrainTempBit.mask);
    for (ImageField field :
         {dryingType, moistureControlMode, dryerOptions, optionByte224, unitsAndOptions}) {
        EXPECT_EQ(Value(DryerImage, field), Value(board_.Image(), field)) << field.offset;
    }
    EXPECT_TRUE(RaisedFlags().empty());
}

}  // namespace
