// The scan report and the census built from scan answers made byte by byte: the edge cases
// of the records that the simulated network does not produce on its own.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "flasher/network_scan.h"
#include "tests/flasher/node_link_support.h"

namespace {

using Lines = std::vector<std::wstring>;
using Record = std::array<std::uint8_t, 5>;

std::vector<std::uint8_t> ScanAnswer(const std::vector<Record>& records)
{
    std::vector<std::uint8_t> a(164, 0);
    a[0] = 0x85;
    a[1] = 160;
    for (std::size_t r = 0; r < records.size(); ++r) {
        std::copy(records[r].begin(), records[r].end(), a.begin() + 2 + 5 * r);
    }
    return a;
}

class ScanReportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        InstallFakeNodeLine();
        ResetNetworkScanForTest();
        FlasherTickSteps steps;
        steps.addScanLine = [](const wchar_t* t) { Recorder().scanLines.emplace_back(t); };
        PlugNetworkScan(steps);
        SetFlasherTickSteps(steps);
    }
    void TearDown() override
    {
        ResetNetworkScanForTest();
        ResetNodeLinkForTest();
    }
    // The board lines of the report (heading and blank lines left out).
    static Lines BoardLines(const std::vector<Record>& records)
    {
        Recorder().scanLines.clear();
        BuildScanReport(ScanAnswer(records));
        Lines out;
        const Lines& all = Recorder().scanLines;
        for (std::size_t i = 5; i < all.size(); i += 2) {
            EXPECT_EQ(all[i + 1], L"  ");
            out.push_back(all[i]);
        }
        return out;
    }
};

TEST_F(ScanReportTest, ExampleRecordGivesTheFanHeaterLine)
{
    EXPECT_EQ(BoardLines({{201, 105, 0x03, 10, 0x01}}),
              Lines{L"2.01 .... 1.05 ........ 02 ....... FAN/HEATER (GEN1) ......... NOTHING TO "
                    L"REPORT"});
    EXPECT_TRUE(ScanPresent(static_cast<NodeId>(3)));
    EXPECT_TRUE(NetworkScan.scanDone);
}

TEST_F(ScanReportTest, HeadingIsFixedAndTheRuleHas107Hyphens)
{
    BuildScanReport(ScanAnswer({}));
    const Lines& all = Recorder().scanLines;
    ASSERT_EQ(all.size(), 5u);
    EXPECT_EQ(all[0], L"Scan Complete... Results Listed Below.");
    EXPECT_EQ(all[1], L"  ");
    EXPECT_EQ(all[4], std::wstring(107, L'-'));
    for (int node = 0; node < kNodeIdCount; ++node) {
        EXPECT_FALSE(ScanPresent(static_cast<NodeId>(node)));
    }
}

TEST_F(ScanReportTest, TypeTextsFillersAndStatusTexts)
{
    EXPECT_EQ(BoardLines({{201, 105, 0x0E, 9, 0x01},
                          {201, 105, 0x09, 11, 0x01},
                          {201, 105, 0x05, 5, 0x01},
                          {201, 105, 0x05, 5, 0x00},    // empty slot: skipped
                          {201, 105, 0x0F, 0, 0x08},    // no status bit known: no status text
                          {201, 105, 0x01, 8, 0x03}}),  // invalid wins over nothing to report
              (Lines{
                  L"2.01 .... 1.05 ........ NA ....... MAIN IO (GEN1) ............... NOTHING TO "
                  L"REPORT",
                  L"2.01 .... 1.05 ........ 08 ....... F/H INT (GEN1) ................ NOTHING "
                  L"TO REPORT",
                  L"2.01 .... 1.05 ........ NA..... NOTHING TO REPORT",
                  L"2.01 .... 1.05 ........ NA ....... MOISTURE CON (GEN1) ",
                  L"2.01 .... 1.05 ........ NA ....... DISPLAY IO (GEN1) .......... ** INVALID "
                  L"ADDRESS",
              }));
}

TEST_F(ScanReportTest, MoistureControlGenerationChoosesItsProgram)
{
    EXPECT_EQ(BoardLines({{201, 105, 0x0F, 0, 0x11}}),
              Lines{L"2.01 .... 1.05 ........ NA ....... MOISTURE CON (GEN2) ..... NOTHING TO "
                    L"REPORT"});
    EXPECT_EQ(MoistureControlGeneration(), 1);
    EXPECT_TRUE(ScanPresent(NodeId::moistureControl));
    BoardLines({{201, 105, 0x0F, 0, 0x01}});
    EXPECT_EQ(MoistureControlGeneration(), 0);
    EXPECT_TRUE(ScanPresent(NodeId::moistureControl));
}

TEST_F(ScanReportTest, MoistureControlOfAGenerationWithoutProgramIsNotOffered)
{
    // Gen 3 has no program file; the Gen 2 file would be the wrong program for it.
    EXPECT_EQ(BoardLines({{201, 105, 0x0F, 0, 0x21}}),
              Lines{L"2.01 .... 1.05 ........ NA ....... MOISTURE CON (GEN3) ..... NOTHING TO "
                    L"REPORT"});
    EXPECT_EQ(MoistureControlGeneration(), 2);
    EXPECT_FALSE(ScanPresent(NodeId::moistureControl));
    BoardLines({{201, 105, 0x0F, 0, 0xF1}});
    EXPECT_NE(Recorder().scanLines[5].find(L"(GEN16)"), std::wstring::npos);
    EXPECT_FALSE(ScanPresent(NodeId::moistureControl));
}

TEST_F(ScanReportTest, ABoardOfTheWrongTypeForItsNodeIsListedButNotOffered)
{
    // A Main I/O set to the address of Fan/Heater #2 would receive the Fan/Heater program.
    BoardLines({{201, 105, 0x03, 9, 0x01}, {201, 105, 0x0E, 10, 0x01}, {201, 105, 0x01, 5, 0x01}});
    EXPECT_TRUE(ScanResult.nodes[3].listed);
    EXPECT_FALSE(ScanPresent(static_cast<NodeId>(3)));
    EXPECT_FALSE(ScanPresent(NodeId::mainIo));
    EXPECT_FALSE(ScanPresent(NodeId::displayIo));
}

TEST_F(ScanReportTest, EachTypeIsOfferedOnlyOnItsOwnNodes)
{
    struct Case {
        std::uint8_t type;
        std::uint8_t address;
        bool offered;
    };
    const Case cases[] = {
        {8, 1, true},   {8, 2, false},  {10, 1, false}, {10, 2, true},  {10, 7, true},
        {10, 8, false}, {11, 7, false}, {11, 8, true},  {11, 13, true}, {11, 14, false},
        {9, 13, false}, {9, 14, true},  {9, 15, false}, {0, 14, false}, {0, 15, true},
    };
    for (const Case& c : cases) {
        BoardLines({{201, 105, c.address, c.type, 0x01}});
        EXPECT_EQ(ScanPresent(static_cast<NodeId>(c.address)), c.offered)
            << "type " << int{c.type} << " address " << int{c.address};
        EXPECT_TRUE(ScanResult.nodes[c.address].listed);
    }
}

TEST_F(ScanReportTest, AddressZeroMarksNothingAndShowsNoSlaveAddress)
{
    EXPECT_EQ(BoardLines({{201, 105, 0x00, 10, 0x01}, {201, 105, 0x01, 10, 0x01}}),
              (Lines{L"2.01 .... 1.05 ........ NA ....... FAN/HEATER (GEN1) ......... NOTHING TO "
                     L"REPORT",
                     L"2.01 .... 1.05 ........ 00 ....... FAN/HEATER (GEN1) ......... NOTHING TO "
                     L"REPORT"}));
    for (int node = 0; node < kNodeIdCount; ++node) {
        EXPECT_FALSE(ScanPresent(static_cast<NodeId>(node))) << node;
    }
}

TEST_F(ScanReportTest, ConflictCheckCoversAddressesTwoToSevenOnly)
{
    struct Case {
        std::uint8_t address;
        bool conflict;
    };
    // 1 and 8 are outside the Fan/Heater range and are not compared; 2 and 7 are its ends.
    for (const Case c : {Case{1, false}, Case{2, true}, Case{7, true}, Case{8, false}}) {
        const Lines lines =
            BoardLines({{201, 105, c.address, 10, 0x01}, {201, 105, c.address, 11, 0x01}});
        ASSERT_EQ(lines.size(), 2u);
        EXPECT_EQ(lines[0].find(L"CONFLICTING"), std::wstring::npos) << int{c.address};
        EXPECT_EQ(lines[1].find(L"CONFLICTING") != std::wstring::npos, c.conflict)
            << int{c.address};
        // Two records for one NodeId: neither board is offered to the upload.
        EXPECT_FALSE(ScanPresent(static_cast<NodeId>(c.address))) << int{c.address};
    }
}

TEST_F(ScanReportTest, ConflictIgnoresOtherTypesAndSkippedRecords)
{
    const Lines lines = BoardLines(
        {{201, 105, 0x03, 9, 0x01}, {201, 105, 0x03, 10, 0x00}, {201, 105, 0x03, 10, 0x01}});
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1].find(L"CONFLICTING"), std::wstring::npos);
}

TEST_F(ScanReportTest, BoardReportedConflictIsShownAndNotOffered)
{
    EXPECT_EQ(BoardLines({{201, 105, 0x02, 10, 0x05}}),
              Lines{L"2.01 .... 1.05 ........ 01 ....... FAN/HEATER (GEN1) ......... ** "
                    L"CONFLICTING ADDRESS"});
    EXPECT_FALSE(ScanPresent(NodeId::fanHeater1));
}

TEST_F(ScanReportTest, ShortAnswerReadsMissingRecordsAsEmpty)
{
    std::vector<std::uint8_t> a =
        ScanAnswer({{201, 105, 0x01, 8, 0x01}, {201, 105, 0x02, 10, 0x01}});
    a.resize(2 + 5 + 4);  // the second record's status byte never came
    Recorder().scanLines.clear();
    BuildScanReport(a);
    EXPECT_EQ(Recorder().scanLines.size(), 5u + 2u);
    EXPECT_TRUE(ScanPresent(NodeId::displayIo));
    EXPECT_FALSE(ScanPresent(NodeId::fanHeater1));
    BuildScanReport({});
    EXPECT_FALSE(ScanPresent(NodeId::displayIo));
}

TEST_F(ScanReportTest, FifteenthRecordIsReadAndTheRestOfThePayloadIsNot)
{
    std::vector<Record> records(15, Record{0, 0, 0, 0, 0});
    records[14] = {201, 105, 0x0F, 0, 0x01};
    std::vector<std::uint8_t> a = ScanAnswer(records);
    // Bytes 77 onward (a sixteenth record's place) are not a record.
    const std::uint8_t beyond[] = {201, 105, 0x0E, 9, 0x01};
    std::copy(std::begin(beyond), std::end(beyond), a.begin() + 77);
    Recorder().scanLines.clear();
    BuildScanReport(a);
    EXPECT_EQ(Recorder().scanLines.size(), 5u + 2u);
    EXPECT_TRUE(ScanPresent(NodeId::moistureControl));
    EXPECT_FALSE(ScanPresent(NodeId::mainIo));
}

TEST_F(ScanReportTest, NewReportClearsTheEarlierCensus)
{
    BoardLines({{201, 105, 0x0E, 9, 0x01}, {201, 105, 0x0F, 0, 0x11}});
    ASSERT_TRUE(ScanPresent(NodeId::mainIo));
    BoardLines({{201, 105, 0x01, 8, 0x01}});
    EXPECT_FALSE(ScanPresent(NodeId::mainIo));
    EXPECT_FALSE(ScanPresent(NodeId::moistureControl));
    EXPECT_EQ(MoistureControlGeneration(), 0);
    EXPECT_FALSE(ScanPresent(static_cast<NodeId>(200)));  // out of the table: never present
}

}  // namespace
