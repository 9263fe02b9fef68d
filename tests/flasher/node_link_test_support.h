// Helpers shared by the programming link tests: frames with their CRC, the request as
// prepared, sending and answering in one go, and the fixture that puts the in-memory line in
// place.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/link/link_crc16.h"
#include "flasher/node_link.h"
#include "tests/flasher/node_link_support.h"

namespace node_link_test {

using ByteList = std::vector<std::uint8_t>;

inline ByteList WithCrc(ByteList content)
{
    const std::size_t n = content.size();
    content.resize(n + 2);
    LinkCrc16Append(content, n);
    return content;
}

inline ByteList Request()
{
    return ByteList(NodeLink.request.begin(), NodeLink.request.begin() + NodeLink.requestLength);
}

// Sends the prepared request (tick step 7) and lets the next tick's receive and decode run.
inline void SendAndAnswer()
{
    TransmitStep();
    ReceiveStep();
    DecodeAnswer();
}

inline int Count(const std::vector<std::wstring>& lines, const std::wstring& text)
{
    return static_cast<int>(std::count(lines.begin(), lines.end(), text));
}

class NodeLinkTest : public ::testing::Test {
protected:
    void SetUp() override { line = &InstallFakeNodeLine(); }
    void TearDown() override { ResetNodeLinkForTest(); }
    FakeNodeLine* line = nullptr;
};

// Sends the prepared request with the board unplugged from the line, then hands the link
// `answer` as the next tick would read it and decodes it.
inline void AnswerWith(FakeNodeLine& l, const ByteList& answer)
{
    l.boardConnected = false;
    TransmitStep();
    Recorder() = LinkRecorder{};
    l.Inject(answer);
    ReceiveStep();
    DecodeAnswer();
}

}  // namespace node_link_test
