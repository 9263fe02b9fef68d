// The HEX reader against an independent one (Python's intelhex): files written by intelhex,
// and files of our own layouts read by intelhex, must give the same image byte for byte; files
// that intelhex refuses are refused here too.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "flasher/hex_parser.h"
#include "tests/flasher/hex_text_support.h"

using namespace hex_test;

namespace {

class HexOracle : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(OracleAvailable(folder_.path()))
            << "python3-intelhex is missing: run scripts/setup";
    }

    // Our image of the file must be intelhex's image from `origin`, then 0xFF to the end.
    void ExpectSameImage(const std::filesystem::path& file, std::uint32_t origin)
    {
        const std::optional<std::vector<std::uint8_t>> oracle = OracleImage(file, origin);
        ASSERT_TRUE(oracle.has_value()) << "intelhex refused " << file;
        auto image = std::make_unique<HexImage>();
        const HexReadResult result = ParseHexText(ReadBinary(file), *image);
        ASSERT_TRUE(result.ok()) << "refused on line " << result.line;
        ASSERT_EQ(image->length, oracle->size());
        EXPECT_TRUE(std::equal(oracle->begin(), oracle->end(), image->bytes.begin()));
        EXPECT_TRUE(std::all_of(image->bytes.begin() + image->length, image->bytes.end(),
                                [](std::uint8_t b) { return b == 0xFF; }));
    }

    std::filesystem::path Write(const std::string& name, const std::string& text)
    {
        const std::filesystem::path file = folder_.path() / name;
        WriteFile(file, text);
        return file;
    }

    TempFolder folder_;
};

TEST_F(HexOracle, FilesWrittenByIntelhexReadTheSame)
{
    // random chunks with gaps of 0 to 70000 bytes, over 64 KiB boundaries, up to 512 KiB
    const struct {
        int seed;
        int recordLength;
        bool crlf;
    } cases[] = {{1, 16, false}, {2, 13, true}, {3, 255, false}, {4, 1, true}, {5, 32, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.recordLength);
        const std::filesystem::path file = folder_.path() / ("made" + std::to_string(c.seed));
        ASSERT_TRUE(OracleMakeFile(file, c.seed, c.recordLength, c.crlf));
        ExpectSameImage(file, kHexBankedOrigin);
    }
}

TEST_F(HexOracle, SegmentAddressedFilesReadTheSame)
{
    const std::vector<Chunk> chunks = {{0x10003, Pattern(5000, 11)},
                                       {0x1FFF0, Pattern(40, 12)},  // across a 64 KiB boundary
                                       {0x40000, Pattern(77, 13)},
                                       {0x8FF00, Pattern(256, 14)}};  // to the image's last byte
    Layout layout;
    layout.addressing = Addressing::Segment;
    layout.recordLength = 11;
    ExpectSameImage(Write("segment.hex", WriteHex(chunks, layout)), kHexBankedOrigin);
}

TEST_F(HexOracle, LowerCaseCrLfAndATrailingBlankLineReadTheSame)
{
    const std::vector<Chunk> chunks = {{0x10000, Pattern(3000, 21)}, {0x30001, Pattern(999, 22)}};
    Layout layout;
    layout.recordLength = 31;
    layout.eol = "\r\n";
    layout.trailingBlankLine = true;
    ExpectSameImage(Write("lower.hex", ToLower(WriteHex(chunks, layout))), kHexBankedOrigin);
}

TEST_F(HexOracle, FilesWithoutAddressRecordsReadTheSame)
{
    const std::vector<Chunk> chunks = {
        {0x0000, Pattern(100, 31)}, {0x0200, Pattern(7, 32)}, {0xFF00, Pattern(256, 33)}};
    Layout layout;
    layout.addressing = Addressing::None;
    layout.recordLength = 7;
    ExpectSameImage(Write("plain.hex", WriteHex(chunks, layout)), 0);
}

TEST_F(HexOracle, FilesIntelhexRefusesAreRefused)
{
    const std::vector<std::uint8_t> four = {1, 2, 3, 4};
    std::string badDigit = DataRecord(0, four);
    badDigit[11] = 'X';
    const std::string texts[] = {
        Lines({Record(0x00, 0, four, 1), std::string(kEndRecord)}),   // checksum
        Lines({badDigit, std::string(kEndRecord)}),                   // not a hex digit
        Lines({DataRecord(0, four) + "0", std::string(kEndRecord)}),  // length
        Lines({Record(0x06, 0, four), std::string(kEndRecord)}),      // record type
        Lines({Record(0x04, 0, four), std::string(kEndRecord)}),      // address record
        Lines({DataRecord(0, four), DataRecord(2, four), std::string(kEndRecord)}),  // overlap
    };
    int n = 0;
    for (const std::string& text : texts) {
        SCOPED_TRACE(text);
        const std::filesystem::path file = Write("bad" + std::to_string(n++) + ".hex", text);
        EXPECT_FALSE(OracleImage(file, 0).has_value());
        auto image = std::make_unique<HexImage>();
        EXPECT_FALSE(ParseHexText(Bytes(text), *image).ok());
        EXPECT_EQ(image->length, 0u);
    }
}

}  // namespace
