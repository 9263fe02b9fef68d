// The fake Display I/O board of the link tests.
#include "tests/dryer/link/fake_board_support.h"

#include <algorithm>

#include "common/link/link_crc16.h"
#include "dryer/link/command_encoder.h"
#include "dryer/link/dryer_image.h"

std::vector<FakeRecord> ParseCommandFrame(std::span<const std::uint8_t> frame)
{
    std::vector<FakeRecord> records;
    if (frame.size() < 4) return {};
    const std::size_t end = std::min<std::size_t>(frame[0], frame.size()) - 2;
    std::size_t at = 2;
    for (int i = 0; i < frame[1]; ++i) {
        if (at + 3 > end) return {};
        const std::uint16_t address = static_cast<std::uint16_t>(frame[at] * 256 + frame[at + 1]);
        const std::size_t length = frame[at + 2];
        if (at + 3 + length > end) return {};
        records.push_back(FakeRecord{
            address,
            std::vector<std::uint8_t>(frame.begin() + static_cast<long>(at) + 3,
                                      frame.begin() + static_cast<long>(at + 3 + length))});
        at += 3 + length;
    }
    return records;
}

FakeBoard::FakeBoard()
{
    for (std::size_t i = 0; i < image.size(); ++i) image[i] = DryerImage.Get(i);
}

std::size_t FakeBoard::Apply(std::span<const std::uint8_t> frame)
{
    const auto records = ParseCommandFrame(frame);
    for (const FakeRecord& record : records) {
        for (std::size_t i = 0; i < record.data.size(); ++i) {
            const std::size_t offset = record.address + i;
            if (offset >= image.size()) continue;
            if (std::find(refused.begin(), refused.end(), offset) != refused.end()) continue;
            image[offset] = record.data[i];
        }
    }
    return records.size();
}

std::array<std::uint8_t, kAnswerFrameSize> FakeBoard::Answer() const
{
    std::array<std::uint8_t, kAnswerFrameSize> frame{};
    std::copy(image.begin(), image.end(), frame.begin());
    LinkCrc16Append(frame, kAnswerPayloadSize);
    return frame;
}

void FakeBoard::AnswerPanel() const
{
    DecodeAnswerFrame(image);
}

std::vector<std::uint8_t> BuildFrame()
{
    std::vector<std::uint8_t> frame(kMaxCommandFrame + 20, 0xEE);
    if (!BuildCommandFrame(frame)) return {};
    frame.resize(frame[0]);
    LinkCrc16Append(frame, frame.size() - 2);
    return frame;
}
