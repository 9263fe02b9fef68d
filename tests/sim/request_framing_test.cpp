// The simulator's request framing: partial input, garbage, damaged frames, malformed records.
#include "sim/request_framing.h"

#include <gtest/gtest.h>

#include <random>

#include "tests/sim/sim_frames.h"

using namespace sim;
using namespace sim_test;

namespace {

std::vector<Request> FeedAll(RequestFramer& framer, const std::vector<std::uint8_t>& bytes)
{
    framer.Feed(bytes);
    std::vector<Request> out;
    while (auto r = framer.Next()) out.push_back(*r);
    return out;
}

}  // namespace

TEST(RequestFramer, RecognisesEveryRequestKind)
{
    struct Case {
        const char* name;
        std::vector<std::uint8_t> frame;
        RequestKind kind;
    };
    const Case cases[] = {
        {"poll", Poll(), RequestKind::Poll},
        {"link reset", LinkReset(), RequestKind::LinkReset},
        {"command", Command({{3, {1}}}), RequestKind::Command},
        {"clock", Command({{53, {5, 14, 3, 3, 26}}}), RequestKind::Command},
        {"page 1", Command({{256 + 37, {0x80}}}), RequestKind::Command},
    };
    for (const Case& c : cases) {
        RequestFramer framer;
        const auto got = FeedAll(framer, c.frame);
        ASSERT_EQ(got.size(), 1u) << c.name;
        EXPECT_EQ(got[0].kind, c.kind) << c.name;
        EXPECT_EQ(framer.buffered(), 0u) << c.name;
    }
}

TEST(RequestFramer, ClockExampleFrameParsesIntoOneRecord)
{
    // 14:05 on 3 March 2026: 0C 01 00 35 05 05 0E 03 03 1A + CRC.
    const auto frame = WithCrc({0x0C, 0x01, 0x00, 0x35, 0x05, 0x05, 0x0E, 0x03, 0x03, 0x1A});
    RequestFramer framer;
    const auto got = FeedAll(framer, frame);
    ASSERT_EQ(got.size(), 1u);
    ASSERT_EQ(got[0].records.size(), 1u);
    EXPECT_EQ(got[0].records[0].address, 53);
    EXPECT_EQ(got[0].records[0].length, 5);
    EXPECT_EQ(got[0].records[0].data[1], 14);
}

TEST(RequestFramer, BuffersPartialRequestsUntilComplete)
{
    const auto frame = Command({{59, {0xB4, 0x00}}, {3, {2}}});
    RequestFramer framer;
    for (std::size_t i = 0; i + 1 < frame.size(); ++i) {
        framer.Feed(std::span(&frame[i], 1));
        EXPECT_FALSE(framer.Next().has_value()) << "after byte " << i;
    }
    framer.Feed(std::span(&frame.back(), 1));
    const auto got = framer.Next();
    ASSERT_TRUE(got.has_value());
    ASSERT_EQ(got->records.size(), 2u);
    EXPECT_EQ(got->records[0].address, 59);
    EXPECT_EQ(got->records[1].data[0], 2);
}

TEST(RequestFramer, SkipsGarbageBeforeAndBetweenRequests)
{
    std::vector<std::uint8_t> bytes{0xFF, 0x00, 0x13, 0x55};
    const auto poll = Poll();
    bytes.insert(bytes.end(), poll.begin(), poll.end());
    bytes.insert(bytes.end(), {0x42, 0x99});
    const auto reset = LinkReset();
    bytes.insert(bytes.end(), reset.begin(), reset.end());
    RequestFramer framer;
    const auto got = FeedAll(framer, bytes);
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0].kind, RequestKind::Poll);
    EXPECT_EQ(got[1].kind, RequestKind::LinkReset);
    EXPECT_EQ(framer.bytesDiscarded(), 6u);
}

TEST(RequestFramer, GarbageThatLooksLikeALongFrameDoesNotHoldBackAPoll)
{
    // 0x50 promises an 80-byte command; the poll behind it must still be answered.
    std::vector<std::uint8_t> bytes{0x50, 0x01};
    const auto poll = Poll();
    bytes.insert(bytes.end(), poll.begin(), poll.end());
    RequestFramer framer;
    const auto got = FeedAll(framer, bytes);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].kind, RequestKind::Poll);
}

TEST(RequestFramer, IgnoresDamagedFrames)
{
    struct Case {
        const char* name;
        std::vector<std::uint8_t> frame;
    };
    auto badCrc = Poll();
    badCrc[5] ^= 0x01;
    auto swapped = LinkReset();
    std::swap(swapped[2], swapped[3]);
    auto badCommand = Command({{3, {1}}});
    badCommand[4] ^= 0x10;
    auto pollNonZero = WithCrc({0x07, 0x00, 0x01, 0x00, 0x00});
    const Case cases[] = {
        {"poll with a wrong CRC", badCrc},
        {"reset with swapped CRC bytes", swapped},
        {"command with a changed byte", badCommand},
        {"poll body not zero", pollNonZero},
        {"reset with a second byte", WithCrc({0x06, 0x01})},
        {"record length 0", WithCrc({0x07 + 1, 0x01, 0x00, 0x03, 0x00, 0x00})},
        {"record length 6", Command({{3, {1, 2, 3, 4, 5, 6}}})},
        {"record count too high",
         [] {
             auto f = Command({{3, {1}}});
             f[1] = 2;
             f.resize(f.size() - 2);
             return WithCrc(f);
         }()},
        {"record past the image", Command({{298, {1, 2, 3}}})},
        {"address page 2", Command({{512 + 3, {1}}})},
    };
    for (const Case& c : cases) {
        RequestFramer framer;
        EXPECT_TRUE(FeedAll(framer, c.frame).empty()) << c.name;
        // The next good request is still recognised.
        const auto after = FeedAll(framer, Poll());
        ASSERT_EQ(after.size(), 1u) << c.name;
        EXPECT_EQ(after[0].kind, RequestKind::Poll) << c.name;
    }
}

TEST(RequestFramer, RandomBytesNeverCrashAndStayBounded)
{
    std::mt19937 random(7);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> size(1, 64);
    RequestFramer framer;
    std::size_t requests = 0;
    for (int round = 0; round < 20000; ++round) {
        std::vector<std::uint8_t> chunk(static_cast<std::size_t>(size(random)));
        for (auto& b : chunk) b = static_cast<std::uint8_t>(byte(random));
        framer.Feed(chunk);
        while (auto r = framer.Next()) {
            ++requests;
            // Whatever comes out is well-formed.
            for (const CommandRecord& rec : r->records) {
                EXPECT_GE(rec.length, 1);
                EXPECT_LE(rec.length, 5);
                EXPECT_LE(rec.address + rec.length, 300);
            }
        }
        EXPECT_LE(framer.buffered(), 1024u);
    }
    // A 16-bit CRC lets very few random frames through.
    EXPECT_LT(requests, 200u);
}
