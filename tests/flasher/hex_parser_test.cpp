// The HEX reader on texts built record by record: where data lands in the image, what is
// skipped, and every refusal stepped up to and across its boundary.
#include "flasher/hex_parser.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/flasher/hex_text_support.h"

using namespace hex_test;

namespace {

struct Parsed {
    HexReadResult result;
    std::unique_ptr<HexImage> image;
};

Parsed Parse(std::string_view text)
{
    Parsed out{{}, std::make_unique<HexImage>()};
    out.image->bytes.fill(0x5A);  // what an earlier board's file might have left
    out.image->length = 1234;
    out.result = ParseHexText(Bytes(text), *out.image);
    return out;
}

// The image bytes from `from` that the data should fill, and 0xFF everywhere else.
void ExpectImage(const HexImage& image, std::uint32_t length,
                 const std::vector<std::pair<std::uint32_t, std::vector<std::uint8_t>>>& data)
{
    std::vector<std::uint8_t> expected(kHexImageSize, 0xFF);
    for (const auto& [at, bytes] : data) std::copy(bytes.begin(), bytes.end(), &expected[at]);
    EXPECT_EQ(image.length, length);
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), image.bytes.begin()));
}

void ExpectBlank(const Parsed& parsed)
{
    EXPECT_EQ(parsed.image->length, 0u);
    EXPECT_TRUE(std::all_of(parsed.image->bytes.begin(), parsed.image->bytes.end(),
                            [](std::uint8_t b) { return b == 0xFF; }));
}

const std::vector<std::uint8_t> kSixteen = Pattern(16, 1);
const std::vector<std::uint8_t> kFour = {0x01, 0x02, 0x03, 0x04};
const std::string kEnd(kEndRecord);

// ---- where data lands ----

TEST(HexRecords, WithoutAddressRecordsDataStartsAtPositionZero)
{
    const Parsed p = Parse(Lines({DataRecord(0x0000, kSixteen), DataRecord(0x0010, kFour), kEnd}));
    ASSERT_TRUE(p.result.ok());
    EXPECT_EQ(p.result.bytesRead,
              Lines({DataRecord(0, kSixteen), DataRecord(0x10, kFour), kEnd}).size());
    ExpectImage(*p.image, 20, {{0, kSixteen}, {16, kFour}});
}

TEST(HexRecords, UpperAddressOneIsTheImageStart)
{
    const Parsed p = Parse(Lines({LinearAddress(0x0001), DataRecord(0x0000, kFour),
                                  LinearAddress(0x0002), DataRecord(0x0010, kSixteen), kEnd}));
    ASSERT_TRUE(p.result.ok());
    ExpectImage(*p.image, 0x10020, {{0, kFour}, {0x10010, kSixteen}});
}

TEST(HexRecords, SegmentAddressCountsInSixteens)
{
    const Parsed p = Parse(Lines({SegmentAddress(0x1000), DataRecord(0x0000, kFour),
                                  SegmentAddress(0x1001), DataRecord(0x0004, kFour), kEnd}));
    ASSERT_TRUE(p.result.ok());
    ExpectImage(*p.image, 24, {{0, kFour}, {20, kFour}});
}

TEST(HexRecords, LowerCaseDigitsAreHex)
{
    const std::vector<std::uint8_t> data = {0xAB, 0xCD, 0xEF, 0xFA, 0x0B};
    const std::string upper = Lines({LinearAddress(0x0001), DataRecord(0xBEEF, data), kEnd});
    const Parsed p = Parse(ToLower(upper));
    ASSERT_TRUE(p.result.ok());
    ExpectImage(*p.image, 0xBEEF + 5, {{0xBEEF, data}});
}

TEST(HexRecords, GapsStayBlankAndLengthIsOnePastTheHighestByte)
{
    // the higher record first: the length follows the highest position, not the last record
    const Parsed p = Parse(Lines({DataRecord(0x0100, kFour), DataRecord(0x0000, kSixteen), kEnd}));
    ASSERT_TRUE(p.result.ok());
    ExpectImage(*p.image, 0x104, {{0, kSixteen}, {0x100, kFour}});
}

TEST(HexRecords, OddRecordLengths)
{
    const std::vector<std::uint8_t> one = Pattern(1, 2), three = Pattern(3, 3),
                                    thirteen = Pattern(13, 4), most = Pattern(255, 5);
    const Parsed p = Parse(Lines({DataRecord(0, one), DataRecord(1, three), DataRecord(4, thirteen),
                                  DataRecord(17, most), kEnd}));
    ASSERT_TRUE(p.result.ok());
    ExpectImage(*p.image, 272, {{0, one}, {1, three}, {4, thirteen}, {17, most}});
}

TEST(HexRecords, RecordAcrossA64KBoundaryRunsOn)
{
    const Parsed p = Parse(Lines({LinearAddress(0x0001), DataRecord(0xFFF8, kSixteen), kEnd}));
    ASSERT_TRUE(p.result.ok());
    ExpectImage(*p.image, 0x10008, {{0xFFF8, kSixteen}});
}

TEST(HexRecords, LineEndsAndBlankLinesReadAlike)
{
    const std::vector<std::string> records = {LinearAddress(0x0001), DataRecord(0x20, kSixteen),
                                              kEnd};
    const std::string lf = Lines(records);
    const std::string texts[] = {
        lf,
        Lines(records, "\r\n"),
        lf + "\n",                        // a trailing blank line
        Lines(records, "\r\n") + "\r\n",  // the same with CR LF
        lf.substr(0, lf.size() - 1),      // no line end after the end record
        "\n" + Lines({records[0], "", records[1], "\r", records[2]}),  // blank lines between
    };
    for (const std::string& text : texts) {
        const Parsed p = Parse(text);
        ASSERT_TRUE(p.result.ok()) << text;
        ExpectImage(*p.image, 0x30, {{0x20, kSixteen}});
    }
}

TEST(HexRecords, StartRecordsAreIgnored)
{
    const std::vector<std::uint8_t> start = {0x00, 0x01, 0x00, 0x00};
    const Parsed p =
        Parse(Lines({Record(0x05, 0, start), Record(0x03, 0, start), DataRecord(0, kFour), kEnd}));
    ASSERT_TRUE(p.result.ok());
    ExpectImage(*p.image, 4, {{0, kFour}});
}

TEST(HexRecords, TextAfterTheEndRecordIsNotRead)
{
    const Parsed p = Parse(Lines({DataRecord(0, kFour), kEnd, "not a record", ":zz"}));
    ASSERT_TRUE(p.result.ok());
    ExpectImage(*p.image, 4, {{0, kFour}});
}

// ---- refusals ----

struct RefusalCase {
    const char* what;
    std::string text;
    HexFault fault;
    std::uint32_t line;
};

void ExpectRefusals(const std::vector<RefusalCase>& cases)
{
    for (const RefusalCase& c : cases) {
        const Parsed p = Parse(c.text);
        EXPECT_EQ(p.result.fault, c.fault) << c.what;
        EXPECT_EQ(p.result.line, c.line) << c.what;
        EXPECT_FALSE(p.result.ok()) << c.what;
        ExpectBlank(p);
    }
}

std::string WithLine3(const std::string& third)
{
    return Lines({LinearAddress(0x0001), DataRecord(0, kFour), third, kEnd});
}

TEST(HexRefusals, ChecksumMustAddUpToZero)
{
    ASSERT_TRUE(Parse(WithLine3(Record(0x00, 0x10, kSixteen, 0))).result.ok());
    ExpectRefusals({
        {"one above", WithLine3(Record(0x00, 0x10, kSixteen, +1)), HexFault::BadChecksum, 3},
        {"one below", WithLine3(Record(0x00, 0x10, kSixteen, -1)), HexFault::BadChecksum, 3},
        {"on an address record", Lines({Record(0x04, 0, std::vector<std::uint8_t>{0, 1}, 1), kEnd}),
         HexFault::BadChecksum, 1},
        {"on the end record", Lines({DataRecord(0, kFour), ":00000001FE"}), HexFault::BadChecksum,
         2},
        {"counted over CR LF lines",
         Lines({DataRecord(0, kFour), "", Record(0, 4, kFour, 2), kEnd}, "\r\n"),
         HexFault::BadChecksum, 3},
    });
}

TEST(HexRefusals, OnlyHexDigitsOnARecordLine)
{
    std::string record = DataRecord(0x10, kSixteen);
    auto with = [&](std::size_t at, char c) {
        std::string r = record;
        r[at] = c;
        return WithLine3(r);
    };
    ExpectRefusals({
        {"G in the data", with(12, 'G'), HexFault::BadCharacter, 3},
        {"g in the data", with(12, 'g'), HexFault::BadCharacter, 3},
        {"a blank inside", with(20, ' '), HexFault::BadCharacter, 3},
        {"a trailing blank", WithLine3(record + " "), HexFault::BadCharacter, 3},
        {"a CR inside", with(9, '\r'), HexFault::BadCharacter, 3},
        {"a line without a colon", WithLine3(record.substr(1)), HexFault::BadCharacter, 3},
        {"text before the colon", WithLine3("x" + record), HexFault::BadCharacter, 3},
        {"a blank before the colon", WithLine3(" " + record), HexFault::BadCharacter, 3},
        {"a NUL byte", WithLine3(std::string(1, '\0')), HexFault::BadCharacter, 3},
        {"a very long line", WithLine3(":" + std::string(600, '0') + "x"), HexFault::BadCharacter,
         3},
    });
}

TEST(HexRefusals, DigitsMustMatchTheByteCount)
{
    const std::string record = DataRecord(0x10, kSixteen);
    std::string countSaysMore = record;
    countSaysMore[2] = '1';  // 0x11 bytes announced, 0x10 given (checksum no longer matters)
    ExpectRefusals({
        {"one digit short", WithLine3(record.substr(0, record.size() - 1)), HexFault::BadLength, 3},
        {"one digit more", WithLine3(record + "0"), HexFault::BadLength, 3},
        {"one byte more", WithLine3(record + "00"), HexFault::BadLength, 3},
        {"count above the data", WithLine3(countSaysMore), HexFault::BadLength, 3},
        {"a colon alone", WithLine3(":"), HexFault::BadLength, 3},
        {"shorter than any record", WithLine3(":00000001"), HexFault::BadLength, 3},
        {"a very long line", WithLine3(":" + std::string(600, '0')), HexFault::BadLength, 3},
    });
}

TEST(HexRefusals, RecordsOfTheWrongShape)
{
    const std::vector<std::uint8_t> one = {0x01}, two = {0x00, 0x01}, three = {0, 1, 2};
    ExpectRefusals({
        {"end record with data", Lines({DataRecord(0, kFour), Record(0x01, 0, one)}),
         HexFault::BadRecord, 2},
        {"linear address of one byte", Lines({Record(0x04, 0, one), kEnd}), HexFault::BadRecord, 1},
        {"linear address at an address", Lines({Record(0x04, 2, two), kEnd}), HexFault::BadRecord,
         1},
        {"segment of three bytes", Lines({Record(0x02, 0, three), kEnd}), HexFault::BadRecord, 1},
        {"start of three bytes", Lines({Record(0x05, 0, three), kEnd}), HexFault::BadRecord, 1},
        {"segment start at an address", Lines({Record(0x03, 1, kFour), kEnd}), HexFault::BadRecord,
         1},
        {"type 06", Lines({DataRecord(0, kFour), Record(0x06, 0, kFour), kEnd}),
         HexFault::UnknownType, 2},
        {"type FF", Lines({Record(0xFF, 0, {}), kEnd}), HexFault::UnknownType, 1},
    });
}

TEST(HexRefusals, DataMustStayInsideTheImage)
{
    const std::vector<std::uint8_t> one = {0x42}, two = {0x42, 0x43};
    // the last image position, 0x8FFFF linear, is accepted
    const Parsed last = Parse(Lines({LinearAddress(0x0008), DataRecord(0xFFFF, one), kEnd}));
    ASSERT_TRUE(last.result.ok());
    ExpectImage(*last.image, kHexImageSize, {{kHexImageSize - 1, one}});
    // the first, 0x10000 linear, too, also by segment
    ASSERT_TRUE(Parse(Lines({LinearAddress(0x0001), DataRecord(0, one), kEnd})).result.ok());
    const Parsed first = Parse(Lines({SegmentAddress(0x0FFF), DataRecord(0x0010, one), kEnd}));
    ASSERT_TRUE(first.result.ok());
    ExpectImage(*first.image, 1, {{0, one}});
    ExpectRefusals({
        {"one byte past the end", Lines({LinearAddress(0x0008), DataRecord(0xFFFF, two), kEnd}),
         HexFault::OutsideImage, 2},
        {"upper address 9", Lines({LinearAddress(0x0009), DataRecord(0, one), kEnd}),
         HexFault::OutsideImage, 2},
        {"upper address 0", Lines({LinearAddress(0x0000), DataRecord(0xFFFF, one), kEnd}),
         HexFault::OutsideImage, 2},
        {"upper address 0x11 is not 0x01", Lines({LinearAddress(0x0011), DataRecord(0, one), kEnd}),
         HexFault::OutsideImage, 2},
        {"upper address 0xFFFF", Lines({LinearAddress(0xFFFF), DataRecord(0xFFFF, one), kEnd}),
         HexFault::OutsideImage, 2},
        {"one byte below the start by segment",
         Lines({SegmentAddress(0x0FFF), DataRecord(0x000F, one), kEnd}), HexFault::OutsideImage, 2},
        {"after good data",
         Lines({DataRecord(0, kFour), LinearAddress(0x0000), DataRecord(0, kFour), kEnd}),
         HexFault::OutsideImage, 3},
    });
}

TEST(HexRefusals, EachImagePositionOnlyOnce)
{
    // adjacent records are fine; one byte of overlap is not
    ASSERT_TRUE(
        Parse(Lines({DataRecord(0x10, kSixteen), DataRecord(0x20, kFour), kEnd})).result.ok());
    ExpectRefusals({
        {"one byte of overlap", Lines({DataRecord(0x10, kSixteen), DataRecord(0x1F, kFour), kEnd}),
         HexFault::Overlap, 2},
        {"the same record twice",
         Lines({DataRecord(0x10, kFour), DataRecord(0x00, kFour), DataRecord(0x10, kFour), kEnd}),
         HexFault::Overlap, 3},
        {"before and after an address record",
         Lines({DataRecord(0x0000, kFour), LinearAddress(0x0001), DataRecord(0x0002, kFour), kEnd}),
         HexFault::Overlap, 3},
    });
}

TEST(HexRefusals, ACutOffFileIsRefused)
{
    const std::string whole = Lines({DataRecord(0, kSixteen), DataRecord(0x10, kSixteen), kEnd});
    ASSERT_TRUE(Parse(whole).result.ok());
    const std::size_t endAt = whole.find(kEnd);
    ExpectRefusals({
        {"end record missing", whole.substr(0, endAt), HexFault::NoEndRecord, 0},
        {"end record cut", whole.substr(0, whole.size() - 2), HexFault::BadLength, 3},
        {"cut inside a record", whole.substr(0, endAt - 10), HexFault::BadLength, 2},
    });
}

TEST(HexRefusals, AFileWithoutDataIsRefused)
{
    ASSERT_TRUE(Parse(Lines({DataRecord(0, std::vector<std::uint8_t>{0xFF}), kEnd})).result.ok());
    ExpectRefusals({
        {"empty", "", HexFault::NoData, 0},
        {"blank lines only", "\n\r\n\n", HexFault::NoData, 0},
        {"end record only", Lines({kEnd}), HexFault::NoData, 0},
        {"addresses and starts only", Lines({LinearAddress(1), Record(0x05, 0, kFour), kEnd}),
         HexFault::NoData, 0},
        {"empty data records", Lines({DataRecord(0, {}), DataRecord(0x10, {}), kEnd}),
         HexFault::NoData, 0},
    });
}

// ---- the operator's line ----

TEST(HexRefusalLine, NamesTheFileAndTheLine)
{
    EXPECT_EQ(HexRefusalLine(L"DI.HEX", {HexFault::BadChecksum, 3, 100}),
              L" >> DI.HEX Line 3: Checksum Error... File Rejected!");
    EXPECT_EQ(HexRefusalLine(L"FH.HEX", {HexFault::BadCharacter, 1200, 0}),
              L" >> FH.HEX Line 1200: Not a Hex Digit... File Rejected!");
    EXPECT_EQ(HexRefusalLine(L"MI.HEX", {HexFault::NoEndRecord, 0, 10}),
              L" >> MI.HEX: No End-of-File Record... File Rejected!");
    EXPECT_EQ(HexRefusalLine(L"MC.HEX", {HexFault::OutsideImage, 7, 10}),
              L" >> MC.HEX Line 7: Address Outside Flash Image... File Rejected!");
    EXPECT_EQ(HexRefusalLine(L"MC.HEX", {HexFault::None, 0, 10}), L"");
}

}  // namespace
