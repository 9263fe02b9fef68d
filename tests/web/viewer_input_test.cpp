// Viewers' messages and the gate their touches pass: only well-formed messages count, only the
// holder of control touches, floods are cut to the rate, and a held touch is always lifted.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "platform/web/viewer_input.h"

namespace {

using platform::detail::PointerKind;
using platform::web::ParseViewerMessage;
using platform::web::StateLine;
using platform::web::TouchGate;
using platform::web::ViewerMessage;
using platform::web::ViewerName;
using platform::web::ViewerState;
using platform::web::ViewerVerb;

class MalformedMessages : public ::testing::TestWithParam<std::string> {};

TEST_P(MalformedMessages, AreNoMessage)
{
    EXPECT_FALSE(ParseViewerMessage(GetParam()).has_value()) << GetParam();
}

INSTANTIATE_TEST_SUITE_P(
    Texts, MalformedMessages,
    ::testing::Values("", "down", "{", "[]", "null", "42", "\"down\"", "{}", R"({"type":"down"})",
                      R"({"type":"down","x":10})", R"({"type":"down","x":"10","y":10})",
                      R"({"type":"down","x":10.5,"y":10})", R"({"type":"down","x":-1,"y":10})",
                      R"({"type":"down","x":640,"y":10})", R"({"type":"down","x":10,"y":480})",
                      R"({"type":"down","x":10,"y":99999999999999999999})",
                      R"({"type":"down","x":true,"y":1})", R"({"type":"down","x":1,"y":1,"z":1})",
                      R"({"type":"DOWN","x":1,"y":1})", R"({"type":"tap","x":1,"y":1})",
                      R"({"type":["down"],"x":1,"y":1})", R"({"type":"take","x":1})",
                      R"({"type":"down","x":1,"y":1} trailing)",
                      std::string(300, '[') + std::string(300, ']'),
                      R"({"type":"down","x":1,"y":1,"pad":")" + std::string(300, 'x') + "\"}",
                      std::string("{\"type\":\"down\",\"x\":1,\"y\":1\0}", 28),
                      "\xff\xfe{\"type\":\"up\",\"x\":1,\"y\":1}"));

TEST(ViewerMessages, TouchesAndTakeAreRead)
{
    const auto down = ParseViewerMessage(R"({"type":"down","x":0,"y":479})");
    ASSERT_TRUE(down);
    EXPECT_EQ(down->verb, ViewerVerb::Down);
    EXPECT_EQ(down->x, 0);
    EXPECT_EQ(down->y, 479);
    const auto move = ParseViewerMessage(R"({ "y" : 12, "x" : 639, "type" : "move" })");
    ASSERT_TRUE(move);
    EXPECT_EQ(move->verb, ViewerVerb::Move);
    EXPECT_EQ(move->x, 639);
    EXPECT_EQ(ParseViewerMessage(R"({"type":"up","x":5,"y":6})")->verb, ViewerVerb::Up);
    EXPECT_EQ(ParseViewerMessage(R"({"type":"take"})")->verb, ViewerVerb::Take);
}

TEST(ViewerNames, KeepPlainCharactersAndAtMost24)
{
    EXPECT_EQ(ViewerName("Anna"), "Anna");
    EXPECT_EQ(ViewerName("Bob<script>alert(1)</script>"), "Bobscriptalert1script");
    EXPECT_EQ(ViewerName("O'Neil Jr. - shop_2  "), "O'Neil Jr. - shop_2");
    EXPECT_EQ(ViewerName(std::string(30, 'x')), std::string(24, 'x'));
    EXPECT_EQ(ViewerName("\xc3\xa9\"\n"), "");
}

TEST(StateLines, SayWhoWatchesAndWhoHoldsControl)
{
    const auto line = nlohmann::json::parse(
        StateLine(ViewerState{"OrbitDryer", 2, "Anna at 10.0.0.5", 1, "viewer 1 at 10.0.0.4", 3}));
    EXPECT_EQ(line["type"], "state");
    EXPECT_EQ(line["program"], "OrbitDryer");
    EXPECT_EQ(line["you"], 2);
    EXPECT_EQ(line["youName"], "Anna at 10.0.0.5");
    EXPECT_EQ(line["holder"], 1);
    EXPECT_EQ(line["holderName"], "viewer 1 at 10.0.0.4");
    EXPECT_EQ(line["viewers"], 3);
    // A name that is no UTF-8 still makes a line a browser can read.
    EXPECT_FALSE(
        nlohmann::json::parse(StateLine(ViewerState{"\xff\xfe", 1, "", 0, "", 1}), nullptr, false)
            .is_discarded());
}

struct Injected {
    PointerKind kind;
    int x;
    int y;
};

class Gate : public ::testing::Test {
protected:
    Gate()
        : gate_(
              [this](PointerKind k, int x, int y) {
                  injected_.push_back({k, x, y});
              },
              platform::web::TouchLimits{10, 5})
    {
    }
    TouchGate::Outcome Touch(int viewer, ViewerVerb verb, int x, int y, std::int64_t now = 0)
    {
        return gate_.Touch(viewer, ViewerMessage{verb, x, y}, now);
    }
    int Count(PointerKind kind) const
    {
        int n = 0;
        for (const Injected& i : injected_) n += i.kind == kind ? 1 : 0;
        return n;
    }

    std::vector<Injected> injected_;
    TouchGate gate_;
};

TEST_F(Gate, FirstViewerHoldsControlAndOthersOnlyWatch)
{
    gate_.Join(1);
    gate_.Join(2);
    EXPECT_EQ(gate_.holder(), 1);
    EXPECT_EQ(Touch(2, ViewerVerb::Down, 10, 10), TouchGate::Outcome::NotInControl);
    EXPECT_TRUE(injected_.empty());
    EXPECT_EQ(Touch(1, ViewerVerb::Down, 10, 10), TouchGate::Outcome::Applied);
    EXPECT_EQ(Touch(1, ViewerVerb::Move, 12, 11), TouchGate::Outcome::Applied);
    EXPECT_EQ(Touch(1, ViewerVerb::Up, 12, 11), TouchGate::Outcome::Applied);
    ASSERT_EQ(injected_.size(), 3u);
    EXPECT_EQ(injected_[0].kind, PointerKind::Down);
    EXPECT_EQ(injected_[1].kind, PointerKind::Move);
    EXPECT_EQ(injected_[2].kind, PointerKind::Up);
    EXPECT_EQ(injected_[2].x, 12);
}

TEST_F(Gate, TakingControlLiftsTheHoldersTouchFirst)
{
    gate_.Join(1);
    gate_.Join(2);
    Touch(1, ViewerVerb::Down, 100, 200);  // holding COOL, say
    gate_.Take(2);
    EXPECT_EQ(gate_.holder(), 2);
    ASSERT_EQ(injected_.size(), 2u);
    EXPECT_EQ(injected_[1].kind, PointerKind::Up);
    EXPECT_EQ(injected_[1].x, 100);
    EXPECT_EQ(injected_[1].y, 200);
    // The old holder's up that comes late does nothing.
    EXPECT_EQ(Touch(1, ViewerVerb::Up, 100, 200), TouchGate::Outcome::NotInControl);
    EXPECT_EQ(Count(PointerKind::Up), 1);
}

TEST_F(Gate, AHolderWhoLeavesMidPressLiftsItAndFreesControl)
{
    gate_.Join(1);
    gate_.Join(2);
    Touch(1, ViewerVerb::Down, 30, 40);
    gate_.Leave(2);  // a watcher leaving changes nothing
    EXPECT_EQ(injected_.size(), 1u);
    gate_.Leave(1);
    EXPECT_EQ(gate_.holder(), 0);
    ASSERT_EQ(injected_.size(), 2u);
    EXPECT_EQ(injected_[1].kind, PointerKind::Up);
    gate_.Join(3);
    EXPECT_EQ(gate_.holder(), 3);  // the next to come takes the free control
}

TEST_F(Gate, TouchesOutOfOrderAreIgnored)
{
    gate_.Join(1);
    EXPECT_EQ(Touch(1, ViewerVerb::Up, 1, 1), TouchGate::Outcome::Ignored);
    EXPECT_EQ(Touch(1, ViewerVerb::Move, 1, 1), TouchGate::Outcome::Ignored);
    EXPECT_EQ(Touch(1, ViewerVerb::Down, 1, 1), TouchGate::Outcome::Applied);
    EXPECT_EQ(Touch(1, ViewerVerb::Down, 2, 2), TouchGate::Outcome::Ignored);  // second finger
    EXPECT_EQ(injected_.size(), 1u);
}

TEST_F(Gate, AFloodIsCutToTheRateButEveryDownIsLifted)
{
    gate_.Join(1);
    // 1000 presses at one instant: the burst of 5 goes through, nothing more.
    for (int i = 0; i < 1000; ++i) {
        Touch(1, ViewerVerb::Down, i % 640, 1);
        Touch(1, ViewerVerb::Up, i % 640, 1);
    }
    EXPECT_EQ(Count(PointerKind::Down), 5);
    EXPECT_EQ(Count(PointerKind::Up), 5);
    // A second later 10 more have come due.
    for (int i = 0; i < 1000; ++i) {
        Touch(1, ViewerVerb::Down, 5, 5, 1000);
        Touch(1, ViewerVerb::Up, 5, 5, 1000);
    }
    EXPECT_EQ(Count(PointerKind::Down), 10);  // the credit never grows beyond the burst
    EXPECT_EQ(Count(PointerKind::Up), 10);
    // A held press whose moves run over the rate is still lifted.
    Touch(1, ViewerVerb::Down, 7, 7, 5000);
    for (int i = 0; i < 100; ++i) Touch(1, ViewerVerb::Move, 8, 8, 5000);
    EXPECT_EQ(Touch(1, ViewerVerb::Up, 9, 9, 5000), TouchGate::Outcome::Applied);
    EXPECT_EQ(Count(PointerKind::Down), Count(PointerKind::Up));
}

}  // namespace
