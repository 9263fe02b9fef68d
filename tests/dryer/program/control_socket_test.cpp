// The display's automation socket under attack from outside, with real client sockets: clients
// that leave before their answer, send garbage or a 10 MB line, stay silent or never read. The
// display keeps polling the board every 350 ms through all of it, and every other client is
// answered.
#include <gtest/gtest.h>
#include <poll.h>
#include <unistd.h>

#include <nlohmann/json.hpp>
#include <string>

#include "platform/devices/local_socket.h"
#include "tests/dryer/program/panel_run.h"
#include "tests/support/raw_client.h"

namespace {

using panel_test::PanelRun;
using test_support::RawConnect;
using test_support::Repeat;
using test_support::SendWithoutWaiting;

constexpr int kAnswerWaitMs = 5000;  // real time; an answer that must come comes well before

class ControlSocket : public ::testing::Test {
protected:
    ControlSocket()
        : panel_({}, [this](const std::filesystem::path&, OrbitDryerOptions& options) {
              // Short: a socket path holds at most 107 bytes, and the root is named for the test.
              static int serial = 0;
              path_ = (std::filesystem::temp_directory_path() /
                       ("panel-ctl-" + std::to_string(::getpid()) + "-" + std::to_string(++serial) +
                        ".sock"))
                          .string();
              options.control = path_;
          })
    {
    }

    // One command from a fresh, well-behaved client.
    std::optional<nlohmann::json> Ask(const std::string& command)
    {
        platform::LocalClient client(path_);
        std::string answer;
        if (!client.SendLine(command) || !client.ReadLine(answer, kAnswerWaitMs)) return {};
        return nlohmann::json::parse(answer);
    }

    // The display polls on: every 350 ms cycle is answered by the board.
    void ExpectPolling()
    {
        const std::uint64_t before = panel_.sim().requestsAnswered();
        panel_.Cycles(4);
        EXPECT_EQ(panel_.sim().requestsAnswered() - before, 4u);
    }

    std::string path_;
    PanelRun panel_;
};

TEST_F(ControlSocket, ClientsThatLeaveBeforeTheirAnswerLeaveThePanelRunning)
{
    ASSERT_TRUE(panel_.started());
    const std::string attacks[] = {
        "tree\n",                                           // gone before the answer
        Repeat("tree\n", 300),                              // many answers, nobody to read them
        "\x01\xff garbage\n\n\r\n%s%s%n\n\x80\xc0 tree\n",  // garbage lines
        std::string(10 << 20, 'x') + "\n",                  // a 10 MB line
    };
    for (const std::string& bytes : attacks) {
        const int fd = RawConnect(path_);
        ASSERT_GE(fd, 0);
        SendWithoutWaiting(fd, bytes);
        ::close(fd);  // a SIGPIPE from the answers would end this test process
    }
    const auto idle = Ask("idle");
    ASSERT_TRUE(idle.has_value());
    EXPECT_EQ((*idle)["ok"], true);
    ExpectPolling();
}

TEST_F(ControlSocket, SilentAndNonReadingClientsDelayNobody)
{
    ASSERT_TRUE(panel_.started());
    const int silent = RawConnect(path_);
    const int halfLine = RawConnect(path_);
    const int neverReads = RawConnect(path_);
    ASSERT_GE(silent, 0);
    ASSERT_GE(halfLine, 0);
    ASSERT_GE(neverReads, 0);
    SendWithoutWaiting(halfLine, "tap 10");
    // More tree requests than answers fit in the socket unread.
    EXPECT_GT(SendWithoutWaiting(neverReads, Repeat("tree\n", 2000)), 1000u);
    for (int i = 0; i < 3; ++i) {
        const auto tree = Ask("tree");
        ASSERT_TRUE(tree.has_value()) << "round " << i;
        EXPECT_EQ((*tree)["ok"], true);
        EXPECT_FALSE((*tree)["windows"].empty());
        ExpectPolling();
    }
    for (int fd : {silent, halfLine, neverReads}) ::close(fd);
}

TEST_F(ControlSocket, TheTailOfAnOverlongLineNeverRuns)
{
    ASSERT_TRUE(panel_.started());
    platform::LocalClient client(path_);
    // Were the tail of the cut line run, the blanks before "press" would make it a command.
    const int homeButton = 0;  // any id: the answer of a run "press" would be a second line
    ASSERT_TRUE(client.SendLine(std::string(6000, 'x') + std::string(6000, ' ') + "press " +
                                std::to_string(homeButton)));
    ASSERT_TRUE(client.SendLine("idle"));
    std::string first;
    std::string second;
    ASSERT_TRUE(client.ReadLine(first, kAnswerWaitMs));
    ASSERT_TRUE(client.ReadLine(second, kAnswerWaitMs));
    const auto cut = nlohmann::json::parse(first);
    EXPECT_EQ(cut["ok"], false);
    EXPECT_NE(cut["error"].get<std::string>().find("longer than 4096 bytes"), std::string::npos);
    EXPECT_EQ(nlohmann::json::parse(second)["ok"], true);  // the answer to "idle", nothing between
}

TEST_F(ControlSocket, StalledClientIsClosedAfterTenSecondsOfPanelTime)
{
    ASSERT_TRUE(panel_.started());
    const int halfLine = RawConnect(path_);
    ASSERT_GE(halfLine, 0);
    ASSERT_TRUE(Ask("idle").has_value());  // the half line's client has been taken in by now
    SendWithoutWaiting(halfLine, "tree");
    ASSERT_TRUE(Ask("idle").has_value());
    panel_.Advance(10'500);
    pollfd p{halfLine, POLLIN, 0};
    char byte = 0;
    ASSERT_EQ(::poll(&p, 1, kAnswerWaitMs), 1);
    EXPECT_EQ(::read(halfLine, &byte, 1), 0);
    ::close(halfLine);
}

}  // namespace
