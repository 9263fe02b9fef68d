// Random bytes through the link: the first input byte chooses the path. Answers go through
// the receive path (length and CRC check, then the decoder, with the CRC sometimes made right
// so the decoder sees random payloads); flag sets go through the command builder, whose frame
// must stay within 108 bytes and parse back into whole records.
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "common/link/link_crc16.h"
#include "dryer/link/answer_decoder.h"
#include "dryer/link/command_encoder.h"
#include "dryer/link/link_state.h"
#include "dryer/link/pending_command.h"
#include "dryer/link/repaint_routes.h"

namespace {

void NoRepaint(RepaintTarget, const RECT*, BOOL) {}

void FuzzAnswer(std::span<const std::uint8_t> data, bool fixCrc)
{
    std::vector<std::uint8_t> frame(data.begin(), data.end());
    if (fixCrc && frame.size() >= kAnswerFrameSize) {
        frame.resize(kAnswerFrameSize);
        LinkCrc16Append(frame, kAnswerPayloadSize);
    }
    const bool accepted = AcceptAnswerFrame(frame);
    const bool valid =
        frame.size() == kAnswerFrameSize && LinkCrc16Check(frame, kAnswerPayloadSize);
    if (accepted != valid) std::abort();
}

void FuzzEncoder(std::span<const std::uint8_t> data)
{
    // bits of the input choose the flags, the rest fills the desired values
    for (std::size_t f = 0; f < kPendingCount; ++f) {
        const std::size_t byte = f / 8;
        const bool set = byte < data.size() && ((data[byte] >> (f % 8)) & 1) != 0;
        if (set) {
            PendingCommand.Set(static_cast<Pending>(f));
        } else {
            PendingCommand.Clear(static_cast<Pending>(f));
        }
    }
    for (std::size_t i = 11; i < data.size() && i - 11 < kImageSize; ++i) {
        DesiredSettings.Set(i - 11, data[i]);
    }
    std::array<std::uint8_t, kMaxCommandFrame> frame{};
    if (!BuildCommandFrame(frame)) return;
    const std::size_t length = frame[0];
    if (length > kMaxCommandFrame || length < 7) std::abort();
    if (!LinkCrc16Append(frame, length - 2) || !LinkCrc16Check(frame, length - 2)) std::abort();
    std::size_t at = 2;
    for (int r = 0; r < frame[1]; ++r) {
        const std::size_t d = frame[at + 2];
        if (d < 1 || d > 5) std::abort();
        at += 3 + d;
    }
    if (at != length - 2) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const bool once = [] {
        SetRepaintFunction(NoRepaint);
        return true;
    }();
    (void)once;
    if (size == 0) return 0;
    const std::span<const std::uint8_t> rest(data + 1, size - 1);
    switch (data[0] % 3) {
        case 0: FuzzAnswer(rest, false); break;
        case 1: FuzzAnswer(rest, true); break;
        case 2: FuzzEncoder(rest); break;
    }
    return 0;
}
