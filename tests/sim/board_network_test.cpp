// The board network behind the simulated Display I/O, as the firmware loader reaches it: the
// framing of programming requests beside the display program's polls, the scan records and
// each fault of the control channel, a board programmed block by block, and the HEX dump of
// its flash.
#include "sim/board_network.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "sim/display_io_board.h"
#include "tests/sim/sim_frames.h"

using namespace sim;
using namespace sim_test;

namespace {

using Frame = std::vector<std::uint8_t>;

Frame Open(std::uint8_t node)
{
    return WithCrc({0x01, 0x02, node, 0x01});
}
Frame Close(std::uint8_t node)
{
    return WithCrc({0x01, 0x02, node, 0x00});
}
Frame Erase()
{
    return WithCrc({0x02, 0x02, 0x00, 0xFF});
}
Frame Start(std::uint8_t address = 0)
{
    return WithCrc({0x03, 0x01, address});
}
Frame Block(std::uint8_t number, std::uint8_t fill)
{
    Frame content{0x04, 0x00, number};
    for (int i = 0; i < 256; ++i) content.push_back(static_cast<std::uint8_t>(fill + i));
    return WithCrc(content);
}
Frame Scan()
{
    return WithCrc({0x05, 0x00});
}

bool CrcGood(const Frame& answer)
{
    return answer.size() >= 4 && LinkCrc16Check(answer, answer.size() - 2);
}

// One scan record (slot 1-15) of a scan answer.
Frame Record(const Frame& scan, int slot)
{
    const auto at = scan.begin() + 2 + (slot - 1) * 5;
    return Frame(at, at + 5);
}

DryerConfig Scenario(const char* name)
{
    return FindScenario(name).value();
}

bool Ok(const std::string& reply)
{
    return reply.rfind("ok", 0) == 0;
}

// The answers of a board network with one Main I/O programmed: open, erase, start address.
void OpenErasedMainIo(DisplayIoBoard& board)
{
    ASSERT_EQ(board.Receive(Open(14), 0), Frame(WithCrc({0x81, 0x02, 14, 0x01})));
    ASSERT_EQ(board.Receive(Erase(), 0)[4], 1);
    ASSERT_EQ(board.Receive(Start(), 0)[3], 1);
}

}  // namespace

TEST(ProgrammingFraming, EachProgrammingRequestIsFramedAndPollsStillGetTheImage)
{
    DisplayIoBoard board;
    Frame stream = Poll();
    for (const Frame& f : {Open(14), Erase(), Start(), Block(0, 1), Scan(), Close(14)}) {
        stream.insert(stream.end(), f.begin(), f.end());
    }
    const Frame poll = Poll();
    stream.insert(stream.end(), poll.begin(), poll.end());
    // In slices of 7 bytes, as a slow line hands them over.
    Frame answers;
    for (std::size_t at = 0; at < stream.size(); at += 7) {
        const std::size_t n = std::min<std::size_t>(7, stream.size() - at);
        const Frame got = board.Receive(std::span(stream).subspan(at, n), 0);
        answers.insert(answers.end(), got.begin(), got.end());
    }
    // 302 + 6 + 7 + 6 + 5 + 164 + 6 + 302 bytes.
    EXPECT_EQ(answers.size(), 302u + 6 + 7 + 6 + 5 + 164 + 6 + 302);
    EXPECT_EQ(board.counters().programmingRequests, 6u);
    EXPECT_EQ(board.counters().polls, 2u);
    EXPECT_EQ(answers[302], 0x81);
    EXPECT_EQ(answers[answers.size() - 302 - 6], 0x81);
}

TEST(ProgrammingFraming, DamagedOrMalformedProgrammingRequestsAreNotAnswered)
{
    Frame badCrc = Erase();
    badCrc[5] ^= 0x01;
    Frame badCount = WithCrc({0x02, 0x03, 0x00, 0xFF});  // erase fixes its count byte at 2
    Frame cut = Block(0, 0);
    cut.pop_back();
    for (const Frame& f : {badCrc, badCount, cut}) {
        DisplayIoBoard board;
        EXPECT_TRUE(board.Receive(f, 0).empty());
        EXPECT_EQ(board.counters().programmingRequests, 0u);
    }
}

TEST(BoardNetworkScan, TheStandardNetworkFollowsTheScenariosFanHeaters)
{
    DisplayIoBoard board(Scenario("continuous-4fh"));
    const Frame scan = board.Receive(Scan(), 0);
    ASSERT_EQ(scan.size(), 164u);
    EXPECT_EQ(scan[0], 0x85);
    EXPECT_EQ(scan[1], 160);
    EXPECT_TRUE(CrcGood(scan));
    EXPECT_EQ(Record(scan, 1), (Frame{201, 105, 0x01, 8, 0x01}));
    for (int slot = 2; slot <= 5; ++slot) {
        EXPECT_EQ(Record(scan, slot), (Frame{201, 105, static_cast<std::uint8_t>(slot), 10, 0x01}));
    }
    for (int slot = 6; slot <= 13; ++slot) EXPECT_EQ(Record(scan, slot), Frame(5, 0)) << slot;
    EXPECT_EQ(Record(scan, 14), (Frame{201, 105, 0x0E, 9, 0x01}));
    EXPECT_EQ(Record(scan, 15), (Frame{201, 105, 0x0F, 0, 0x01}));
    EXPECT_TRUE(std::all_of(scan.begin() + 77, scan.end() - 2, [](auto b) { return b == 0; }));
}

TEST(BoardNetworkScan, FaultSwitchesShowInTheRecords)
{
    struct Case {
        const char* command;
        int slot;
        Frame record;
    };
    const Case cases[] = {
        {"unplug 14", 14, Frame(5, 0)},                              // no Main I/O
        {"address 3 2", 3, Frame{201, 105, 0x02, 10, 0x01}},         // shares Fan/Heater #1's
        {"address 2 0x09", 2, Frame{201, 105, 0x09, 10, 0x02}},      // invalid for a Fan/Heater
        {"version 2 199 104", 2, Frame{199, 104, 0x02, 10, 0x01}},   // differing versions
        {"generation 15 2", 15, Frame{201, 105, 0x0F, 0, 0x11}},     // Gen 2 Moisture Control
        {"nodestatus 14 0x05", 14, Frame{201, 105, 0x0E, 9, 0x05}},  // forced status
        {"plug 9 11", 9, Frame{201, 105, 0x09, 11, 0x01}},           // a Fan/Heater Interface
        {"plug 6 5 0x33", 6, Frame{201, 105, 0x33, 5, 0x01}},        // a board of no known type
    };
    for (const Case& c : cases) {
        DisplayIoBoard board(Scenario("continuous-2fh"));
        EXPECT_TRUE(Ok(board.Control(c.command, 0))) << c.command;
        EXPECT_EQ(Record(board.Receive(Scan(), 0), c.slot), c.record) << c.command;
    }
}

TEST(BoardNetworkScan, NetworkAndScenarioRebuildTheStandardNetwork)
{
    DisplayIoBoard board(Scenario("continuous-1fh"));
    board.Control("unplug 14", 0);
    board.Control("generation 15 2", 0);
    EXPECT_TRUE(Ok(board.Control("network", 0)));
    Frame scan = board.Receive(Scan(), 0);
    EXPECT_EQ(Record(scan, 14)[3], 9);
    EXPECT_EQ(Record(scan, 15)[4], 0x01);
    EXPECT_TRUE(Ok(board.Control("scenario continuous-6fh", 0)));
    scan = board.Receive(Scan(), 0);
    EXPECT_EQ(Record(scan, 7), (Frame{201, 105, 0x07, 10, 0x01}));
}

TEST(BoardNetworkLink, OpenReachesExactlyOneBoardOrFails)
{
    struct Case {
        const char* setup;
        std::uint8_t node;
        std::uint8_t state;
    };
    const Case cases[] = {
        {"", 14, 1},
        {"", 2, 1},
        {"", 3, 2},             // continuous-1fh has no Fan/Heater #2
        {"", 0, 2},             // no board is node 0
        {"unplug 14", 14, 2},   // the missing Main I/O
        {"plug 3 10 2", 2, 2},  // two boards on one address: neither is safe to program
        {"refuse open 1", 14, 2},
    };
    for (const Case& c : cases) {
        DisplayIoBoard board;
        if (*c.setup != '\0') {
            ASSERT_TRUE(Ok(board.Control(c.setup, 0))) << c.setup;
        }
        const Frame answer = board.Receive(Open(c.node), 0);
        EXPECT_EQ(answer, WithCrc({0x81, 0x02, c.node, c.state})) << c.setup << " " << int{c.node};
        EXPECT_EQ(board.network().linkedSlot() != 0, c.state == 1) << c.setup;
    }
}

TEST(BoardNetworkLink, ABoardIsProgrammedBlockByBlockAndClosed)
{
    DisplayIoBoard board;
    OpenErasedMainIo(board);
    EXPECT_EQ(board.Receive(Block(0, 0x10), 0), WithCrc({0x84, 0x01, 0x01}));
    EXPECT_EQ(board.Receive(Block(1, 0x20), 0), WithCrc({0x84, 0x01, 0x01}));
    EXPECT_EQ(board.Receive(Close(14), 0), WithCrc({0x81, 0x02, 14, 0x00}));
    const auto& flash = board.network().board(14).flash;
    ASSERT_EQ(flash.size(), 512u);
    EXPECT_EQ(flash[0], 0x10);
    EXPECT_EQ(flash[255], static_cast<std::uint8_t>(0x10 + 255));
    EXPECT_EQ(flash[256], 0x20);
    EXPECT_EQ(board.network().linkedSlot(), 0);
    EXPECT_TRUE(board.network().board(2).flash.empty());  // only the linked board
    // After the close nothing reaches a board.
    EXPECT_EQ(board.Receive(Erase(), 0)[4], 0);
    EXPECT_EQ(board.Receive(Block(2, 0), 0)[2], 0);
}

TEST(BoardNetworkLink, BlocksMustFollowEachOtherAndALostAnswersBlockMayComeAgain)
{
    DisplayIoBoard board;
    EXPECT_EQ(board.Receive(Open(14), 0)[3], 1);
    EXPECT_EQ(board.Receive(Block(0, 1), 0)[2], 0);  // no start address yet
    ASSERT_EQ(board.Receive(Erase(), 0)[4], 1);
    ASSERT_EQ(board.Receive(Start(), 0)[3], 1);
    EXPECT_EQ(board.Receive(Block(1, 1), 0)[2], 0);  // block 0 comes first
    EXPECT_EQ(board.Receive(Block(0, 1), 0)[2], 1);
    EXPECT_EQ(board.Receive(Block(0, 1), 0)[2], 1);  // the same again: written over itself
    EXPECT_EQ(board.Receive(Block(2, 1), 0)[2], 0);  // a gap
    EXPECT_EQ(board.Receive(Block(1, 9), 0)[2], 1);
    const auto& flash = board.network().board(14).flash;
    ASSERT_EQ(flash.size(), 512u);
    EXPECT_EQ(flash[0], 1);
    EXPECT_EQ(flash[256], 9);
    EXPECT_EQ(board.Receive(Start(8), 0)[3], 2);  // beyond the 512 KiB flash
}

TEST(BoardNetworkLink, ProgrammingOnlyClearsBitsUntilTheFlashIsErased)
{
    DisplayIoBoard board;
    OpenErasedMainIo(board);
    board.Receive(Block(0, 0xF0), 0);
    ASSERT_EQ(board.Receive(Start(), 0)[3], 1);  // start again without erasing
    board.Receive(Block(0, 0x0F), 0);
    EXPECT_EQ(board.network().board(14).flash[0], 0xF0 & 0x0F);
    ASSERT_EQ(board.Receive(Erase(), 0)[4], 1);
    EXPECT_TRUE(board.network().board(14).flash.empty());
}

TEST(BoardNetworkFaults, RefusalsAnswerNoForTheirStepOnly)
{
    struct Case {
        const char* command;
        Frame request;
        std::size_t statusByte;
        std::uint8_t refused;
        std::uint8_t accepted;
    };
    const Case cases[] = {
        {"refuse erase 2", Erase(), 4, 0, 1},
        {"refuse start 2", Start(), 3, 2, 1},
        {"refuse write 2", Block(0, 0), 2, 0, 1},
    };
    for (const Case& c : cases) {
        DisplayIoBoard board;
        ASSERT_TRUE(Ok(board.Control(c.command, 0)));
        ASSERT_EQ(board.Receive(Open(14), 0)[3], 1) << c.command;
        if (c.request[0] >= 0x03) {
            ASSERT_EQ(board.Receive(Erase(), 0)[4], 1);
        }
        if (c.request[0] == 0x04) {
            ASSERT_EQ(board.Receive(Start(), 0)[3], 1);
        }
        for (int i = 0; i < 2; ++i) {
            const Frame answer = board.Receive(c.request, 0);
            EXPECT_TRUE(CrcGood(answer));
            EXPECT_EQ(answer[c.statusByte], c.refused) << c.command << " " << i;
        }
        EXPECT_EQ(board.Receive(c.request, 0)[c.statusByte], c.accepted) << c.command;
        EXPECT_EQ(board.network().counters().refused, 2u) << c.command;
    }
}

TEST(BoardNetworkFaults, LineFaultsReachProgrammingAnswersToo)
{
    struct Case {
        const char* command;
        std::size_t size;
        bool crcGood;
    };
    const Case cases[] = {
        {"badcrc 1", 6, false}, {"short 1", 5, false},    {"drop 1", 0, false},
        {"silent 5", 0, false}, {"long 1", 6 + 32, true},  // the answer, then stray bytes
    };
    for (const Case& c : cases) {
        DisplayIoBoard board;
        ASSERT_TRUE(Ok(board.Control(c.command, 0))) << c.command;
        Frame answer = board.Receive(Open(14), 0);
        EXPECT_EQ(answer.size(), c.size) << c.command;
        if (answer.size() > 6) answer.resize(6);
        EXPECT_EQ(CrcGood(answer), c.crcGood) << c.command;
        // The fault was used up (the silent board is still silent).
        const Frame next = board.Receive(Open(14), 0);
        EXPECT_EQ(next.size(), std::string(c.command) == "silent 5" ? 0u : 6u) << c.command;
    }
}

TEST(BoardNetworkFaults, DroppedRequestsAreCountedAndHaveNoEffect)
{
    DisplayIoBoard board;
    ASSERT_TRUE(Ok(board.Control("drop 2", 0)));
    EXPECT_TRUE(board.Receive(Open(14), 0).empty());
    EXPECT_TRUE(board.Receive(Open(14), 0).empty());
    EXPECT_EQ(board.network().linkedSlot(), 0);
    EXPECT_EQ(board.Receive(Open(14), 0)[3], 1);
    EXPECT_EQ(board.network().counters().unanswered, 2u);
    EXPECT_NE(board.Control("status", 0).find("link slot 14"), std::string::npos);
}

TEST(BoardNetworkControl, BadArgumentsAreRefusedWithTheirReason)
{
    const std::pair<const char*, const char*> cases[] = {
        {"unplug 0", "error: unplug needs a SLOT (1-15)"},
        {"unplug 16", "error: unplug needs a SLOT (1-15)"},
        {"plug 3", "error: plug needs SLOT (1-15) TYPE (0-255) [ADDRESS (0-255)]"},
        {"plug 3 256", "error: plug needs SLOT (1-15) TYPE (0-255) [ADDRESS (0-255)]"},
        {"address 9 2", "error: address needs a fitted SLOT (1-15) and ADDRESS (0-255)"},
        {"version 2 201", "error: version needs a fitted SLOT (1-15), BOOT and DRYER (0-255)"},
        {"generation 15 0", "error: generation needs a fitted SLOT (1-15) and GEN (1-16)"},
        {"generation 15 17", "error: generation needs a fitted SLOT (1-15) and GEN (1-16)"},
        {"refuse close 1",
         "error: refuse needs a STEP (open, erase, start or write) and a count N"},
        {"drop many", "error: drop needs a count N (0-100000)"},
        {"flash 0", "error: flash needs a SLOT (1-15) [PATH]"},
        {"network now", "error: network takes no arguments"},
    };
    for (const auto& [command, reply] : cases) {
        DisplayIoBoard board;
        EXPECT_EQ(board.Control(command, 0), reply) << command;
    }
    DisplayIoBoard board;
    EXPECT_NE(board.Control("help", 0).find("flash SLOT [PATH]"), std::string::npos);
    const std::string list = board.Control("boards", 0);
    EXPECT_NE(list.find("; slot 14 type 9 address 0x0E gen 1 boot 201 dryer 105 status 0x01"),
              std::string::npos);
    EXPECT_NE(list.find("; slot 13 empty;"), std::string::npos);
    EXPECT_EQ(list.rfind("ok board network: slot 1 type 8", 0), 0u);
    EXPECT_EQ(list.find('\n'), std::string::npos);
}

// ---- HEX dump -------------------------------------------------------------------------------

namespace {

// Checks one Intel HEX line's checksum.
bool RecordSumsToZero(const std::string& line)
{
    if (line.size() < 11 || line[0] != ':' || line.size() % 2 == 0) return false;
    unsigned sum = 0;
    for (std::size_t i = 1; i < line.size(); i += 2) {
        sum += static_cast<unsigned>(std::stoul(line.substr(i, 2), nullptr, 16));
    }
    return (sum & 0xFF) == 0;
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string l; std::getline(in, l);) lines.push_back(l);
    return lines;
}

}  // namespace

TEST(BoardNetworkHex, AnErasedFlashIsJustTheEndRecord)
{
    DisplayIoBoard board;
    EXPECT_EQ(board.Control("flash 14", 0), "ok flash of slot 14\n:00000001FF");
}

TEST(BoardNetworkHex, TheDumpListsEveryProgrammedLineFromLinearAddress0x10000)
{
    DisplayIoBoard board;
    OpenErasedMainIo(board);
    board.Receive(Block(0, 0x00), 0);
    // Block 1 all erased but its last line.
    Frame content{0x04, 0x00, 0x01};
    content.resize(3 + 256, 0xFF);
    content[3 + 250] = 0x42;
    board.Receive(WithCrc(content), 0);

    const std::vector<std::string> lines = Lines(board.Control("flash 14", 0));
    ASSERT_EQ(lines.size(), 1u + 1 + 16 + 1 + 1);
    EXPECT_EQ(lines[0], "ok flash of slot 14");
    EXPECT_EQ(lines[1], ":020000040001F9");
    EXPECT_EQ(lines[2].substr(0, 9), ":10000000");
    EXPECT_EQ(lines[2].substr(9, 8), "00010203");
    EXPECT_EQ(lines[17].substr(0, 9), ":1000F000");
    EXPECT_EQ(lines[18], ":1001F000FFFFFFFFFFFFFFFFFFFF42FFFFFFFFFFCC");
    EXPECT_EQ(lines[19], ":00000001FF");
    for (std::size_t i = 1; i < lines.size(); ++i) EXPECT_TRUE(RecordSumsToZero(lines[i])) << i;
}

TEST(BoardNetworkHex, Beyond64KiBTheNextExtendedAddressFollows)
{
    DisplayIoBoard board;
    OpenErasedMainIo(board);
    for (int block = 0; block <= 256; ++block) {  // the block number wraps from 255 to 0
        ASSERT_EQ(board.Receive(Block(static_cast<std::uint8_t>(block), 0x11), 0)[2], 1) << block;
    }
    const std::vector<std::string> lines = Lines(board.Control("flash 14", 0));
    ASSERT_EQ(lines.size(), 1u + 1 + 4096 + 1 + 16 + 1);
    EXPECT_EQ(lines[4098], ":020000040002F8");
    EXPECT_EQ(lines[4099].substr(0, 9), ":10000000");
}

TEST(BoardNetworkHex, FlashToAPathWritesTheSameHex)
{
    DisplayIoBoard board;
    OpenErasedMainIo(board);
    board.Receive(Block(0, 0x30), 0);
    const std::filesystem::path path = std::filesystem::temp_directory_path() /
                                       ("flash_dump_" + std::to_string(::getpid()) + ".hex");
    EXPECT_EQ(board.Control("flash 14 " + path.string(), 0),
              "ok flash of slot 14 written to " + path.string());
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    const std::string reply = board.Control("flash 14", 0);
    EXPECT_EQ(text.str(), reply.substr(reply.find('\n') + 1) + "\n");
    std::filesystem::remove(path);
    EXPECT_EQ(board.Control("flash 14 /nonexistent-dir/x.hex", 0),
              "error: cannot write /nonexistent-dir/x.hex");
}
