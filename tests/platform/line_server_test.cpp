// The line framing and the line server behind the control sockets: lines cut at their limit
// without running their tails, clients served side by side whatever one of them does, and
// socket paths taken only from nothing or from a stale socket. Real sockets, real clients.
#include <gtest/gtest.h>

#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "platform/devices/line_server.h"
#include "platform/runtime/clock.h"
#include "tests/support/raw_client.h"

namespace {

namespace fs = std::filesystem;
using platform::LineFramer;
using platform::LineServerLimits;
using platform::LineSocketServer;
using platform::LocalClient;
using test_support::RawConnect;

constexpr int kWaitMs = 3000;  // a bounded wait for an answer that must come

// ---- framing ----

struct FramingCase {
    const char* name;
    std::vector<std::string> feeds;
    std::vector<std::string> lines;  // "<cut>" stands for a refused line
    bool midLine;
};

class LineFraming : public ::testing::TestWithParam<FramingCase> {};

TEST_P(LineFraming, CutsLinesAndNeverRunsTheTailOfACutLine)
{
    LineFramer framer(8);
    std::deque<LineFramer::Line> got;
    for (const std::string& f : GetParam().feeds) framer.Feed(f, got);
    std::vector<std::string> lines;
    for (const auto& l : got) lines.push_back(l.cut ? "<cut>" : l.text);
    EXPECT_EQ(lines, GetParam().lines);
    EXPECT_EQ(framer.midLine(), GetParam().midLine);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LineFraming,
    ::testing::Values(
        FramingCase{"OneLine", {"tree\n"}, {"tree"}, false},
        FramingCase{
            "SplitAcrossReads", {"ta", "p 1", " 2\nid", "le\n"}, {"tap 1 2", "idle"}, false},
        FramingCase{"CarriageReturnDropped", {"idle\r\n"}, {"idle"}, false},
        FramingCase{"EmptyLinesKept", {"\n\n"}, {"", ""}, false},
        FramingCase{"ExactlyTheLimit", {"12345678\n"}, {"12345678"}, false},
        FramingCase{"UnfinishedLineWaits", {"tre"}, {}, true},
        FramingCase{
            "CutOnceTailDropped", {"123456789", "    tree\nidle\n"}, {"<cut>", "idle"}, false},
        FramingCase{
            "CutInOneRead", {"xxxxxxxxxxxxxxxxxxxxxxxx   tree\nidle\n"}, {"<cut>", "idle"}, false},
        FramingCase{"StillDroppingUntilTheNewline", {"123456789", "tree"}, {"<cut>"}, true}),
    [](const auto& param) { return std::string(param.param.name); });

// ---- the server with real clients ----

std::string TempPath(const std::string& name)
{
    return (fs::temp_directory_path() / ("line_server_" + std::to_string(::getpid()) + "_" + name))
        .string();
}

// Serves a server on a thread of its own: answers "ok LINE" to every line.
class Serving {
public:
    explicit Serving(const std::string& path, LineServerLimits limits = {}) : server_(path, limits)
    {
        thread_ = std::thread([this] {
            while (!stop_) {
                server_.Serve(10, [this](const std::string& line) {
                    ++handled_;
                    return "ok " + line;
                });
            }
        });
    }
    ~Serving()
    {
        stop_ = true;
        thread_.join();
    }
    LineSocketServer& server() { return server_; }
    int handled() const { return handled_; }

private:
    LineSocketServer server_;
    std::atomic<bool> stop_{false};
    std::atomic<int> handled_{0};
    std::thread thread_;
};

void SendAll(int fd, const std::string& bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::send(fd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
        if (n <= 0) return;
        done += static_cast<std::size_t>(n);
    }
}

bool Exchange(const std::string& path, const std::string& line, std::string& answer)
{
    LocalClient client(path);
    return client.SendLine(line) && client.ReadLine(answer, kWaitMs);
}

class LineServer : public ::testing::Test {
protected:
    void SetUp() override { platform::UseRealClock(); }
    void TearDown() override { fs::remove(path_); }
    std::string path_ = TempPath(::testing::UnitTest::GetInstance()->current_test_info()->name());
};

TEST_F(LineServer, AnswersEachLineOfSeveralClients)
{
    Serving serving(path_);
    ASSERT_TRUE(serving.server().valid()) << serving.server().error();
    LocalClient a(path_);
    LocalClient b(path_);
    ASSERT_TRUE(a.SendLine("one") && b.SendLine("two") && a.SendLine("three"));
    std::string answer;
    ASSERT_TRUE(b.ReadLine(answer, kWaitMs));
    EXPECT_EQ(answer, "ok two");
    ASSERT_TRUE(a.ReadLine(answer, kWaitMs));
    EXPECT_EQ(answer, "ok one");
    ASSERT_TRUE(a.ReadLine(answer, kWaitMs));
    EXPECT_EQ(answer, "ok three");
}

TEST_F(LineServer, ClientsThatStallOrNeverReadDelayNobody)
{
    Serving serving(path_);
    const int idle = RawConnect(path_);        // connects and says nothing
    const int halfLine = RawConnect(path_);    // sends half a line
    const int neverReads = RawConnect(path_);  // floods without reading an answer
    ASSERT_GE(idle, 0);
    ASSERT_GE(halfLine, 0);
    ASSERT_GE(neverReads, 0);
    SendAll(halfLine, "tap 1");
    std::thread flood([&] {
        std::string lines;
        for (int i = 0; i < 20000; ++i) lines += "a rather long line that asks for an answer\n";
        SendAll(neverReads, lines);  // blocks once the server stops reading it; ends on close
    });
    std::string answer;
    for (int i = 0; i < 5; ++i) {
        ASSERT_TRUE(Exchange(path_, "status", answer)) << "round " << i;
        EXPECT_EQ(answer, "ok status");
    }
    ::shutdown(neverReads, SHUT_RDWR);
    flood.join();
    for (int fd : {idle, halfLine, neverReads}) ::close(fd);
}

TEST_F(LineServer, ClientGoneBeforeReadingItsAnswerLeavesTheServerRunning)
{
    Serving serving(path_);
    for (int i = 0; i < 20; ++i) {
        const int fd = RawConnect(path_);
        ASSERT_GE(fd, 0);
        std::string lines;
        for (int n = 0; n < 200; ++n) lines += "tree\n";
        SendAll(fd, lines);
        ::close(fd);  // the answers find nobody: no SIGPIPE may end this process
    }
    std::string answer;
    ASSERT_TRUE(Exchange(path_, "still there", answer));
    EXPECT_EQ(answer, "ok still there");
}

TEST_F(LineServer, HalfClosedClientStillGetsItsAnswers)
{
    Serving serving(path_);
    const int fd = RawConnect(path_);
    ASSERT_GE(fd, 0);
    SendAll(fd, "one\ntwo\n");
    ::shutdown(fd, SHUT_WR);
    std::string got;
    char buf[256];
    for (ssize_t n; (n = ::read(fd, buf, sizeof buf)) > 0;) got.append(buf, n);
    ::close(fd);
    EXPECT_EQ(got, "ok one\nok two\n");
}

TEST_F(LineServer, OverlongLineIsRefusedOnceAndItsTailNeverRuns)
{
    Serving serving(path_);
    LocalClient client(path_);
    // Blanks before "tree" would make the tail a command of its own if it were ever run.
    ASSERT_TRUE(client.SendLine(std::string(10'000, 'x') + std::string(5000, ' ') + "tree"));
    ASSERT_TRUE(client.SendLine("next"));
    std::string answer;
    ASSERT_TRUE(client.ReadLine(answer, kWaitMs));
    EXPECT_EQ(answer, "error: line longer than 4096 bytes; it was dropped");
    ASSERT_TRUE(client.ReadLine(answer, kWaitMs));
    EXPECT_EQ(answer, "ok next");
    EXPECT_EQ(serving.handled(), 1);
}

// Whether the server closed the client within a real-time wait.
bool ClosedByServer(int fd, int waitMs)
{
    pollfd p{fd, POLLIN, 0};
    char byte = 0;
    return ::poll(&p, 1, waitMs) == 1 && ::read(fd, &byte, 1) == 0;
}

// A client that the server has accepted and answered once.
int AnsweredClient(const std::string& path)
{
    const int fd = RawConnect(path);
    SendAll(fd, "hello\n");
    char buf[16];
    const ssize_t n = ::read(fd, buf, sizeof buf);  // "ok hello\n"
    return n == 9 ? fd : -1;
}

TEST_F(LineServer, StalledAndIdleClientsAreClosedOnThePanelClock)
{
    platform::UseVirtualClock(SYSTEMTIME{2026, 3, 2, 3, 10, 0, 0, 0});
    LineServerLimits limits;
    limits.stallMs = 1000;
    limits.idleMs = 60'000;
    Serving serving(path_, limits);
    const int halfLine = AnsweredClient(path_);
    const int idle = AnsweredClient(path_);
    ASSERT_GE(halfLine, 0);
    ASSERT_GE(idle, 0);
    SendAll(halfLine, "tap 1");
    // A begun line must go on within a second of panel time.
    bool closed = false;
    for (int step = 0; step < 20 && !closed; ++step) {
        platform::SetVirtualNow(platform::NowMs() + 1100);
        closed = ClosedByServer(halfLine, 100);
    }
    EXPECT_TRUE(closed);
    EXPECT_FALSE(ClosedByServer(idle, 0));
    platform::SetVirtualNow(platform::NowMs() + 60'001);
    EXPECT_TRUE(ClosedByServer(idle, kWaitMs));
    ::close(halfLine);
    ::close(idle);
    platform::UseRealClock();
}

TEST_F(LineServer, FullServerMakesRoomByClosingTheIdlestClient)
{
    LineServerLimits limits;
    limits.maxClients = 2;
    Serving serving(path_, limits);
    const int first = RawConnect(path_);
    const int second = RawConnect(path_);
    std::string answer;
    ASSERT_TRUE(Exchange(path_, "third", answer));
    EXPECT_EQ(answer, "ok third");
    EXPECT_TRUE(ClosedByServer(first, kWaitMs));  // the oldest idle client made room
    ::close(first);
    ::close(second);
}

// ---- the socket path ----

TEST_F(LineServer, NeverReplacesAFileThatIsNotASocket)
{
    {
        std::ofstream(path_) << "operator notes\n";
    }
    LineSocketServer server(path_);
    EXPECT_FALSE(server.valid());
    EXPECT_NE(server.error().find("not a socket"), std::string::npos) << server.error();
    std::ifstream in(path_);
    std::string text;
    std::getline(in, text);
    EXPECT_EQ(text, "operator notes");
}

TEST_F(LineServer, NeverFollowsASymbolicLink)
{
    const std::string target = path_ + ".target";
    {
        std::ofstream(target) << "x";
    }
    fs::create_symlink(target, path_);
    LineSocketServer server(path_);
    EXPECT_FALSE(server.valid());
    EXPECT_TRUE(fs::is_symlink(path_));
    fs::remove(target);
}

TEST_F(LineServer, NeverTakesTheSocketOfARunningProgram)
{
    Serving first(path_);
    ASSERT_TRUE(first.server().valid());
    LineSocketServer second(path_);
    EXPECT_FALSE(second.valid());
    EXPECT_NE(second.error().find("another running program"), std::string::npos);
    std::string answer;
    ASSERT_TRUE(Exchange(path_, "first", answer));
    EXPECT_EQ(answer, "ok first");
}

TEST_F(LineServer, ReplacesAStaleSocketAndRemovesOnlyItsOwn)
{
    {
        // A socket file whose program is gone: bound, never listened on, closed.
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un addr{};
        addr.sun_family = AF_UNIX;
        path_.copy(addr.sun_path, sizeof(addr.sun_path) - 1);
        ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)), 0);
        ::close(fd);
    }
    {
        LineSocketServer server(path_);
        ASSERT_TRUE(server.valid()) << server.error();
        struct stat st {};
        ASSERT_EQ(::stat(path_.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0600u);  // for its owner only
        // Someone replaces the socket file while the server runs: theirs is left alone.
        fs::remove(path_);
        {
            std::ofstream(path_) << "theirs";
        }
    }
    EXPECT_TRUE(fs::is_regular_file(path_));
    {
        fs::remove(path_);
        LineSocketServer server(path_);
        ASSERT_TRUE(server.valid());
    }
    EXPECT_FALSE(fs::exists(path_));
}

}  // namespace
