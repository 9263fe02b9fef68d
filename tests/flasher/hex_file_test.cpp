// Reading a board's program file from a release folder on the panel: the text buffer's limit,
// files that cannot be read, and what the operator is told.
#include "flasher/hex_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/storage/files.h"
#include "tests/flasher/hex_text_support.h"

using namespace hex_test;

namespace {

constexpr const wchar_t* kReleasePath = L"\\Hard Disk\\CAN_DRYER_P001\\";

class HexFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::filesystem::create_directories(release());
        platform::SetPanelRoots(root_.path(), root_.path() / "usb");
    }

    std::filesystem::path release() const { return root_.path() / "Hard Disk" / "CAN_DRYER_P001"; }

    HexFileResult Read(const std::string& name, const std::string& text)
    {
        WriteFile(release() / name, text);
        return ReadHexFile(kReleasePath + std::wstring(name.begin(), name.end()), *image_);
    }

    // A good file of exactly `size` bytes: data, then blank lines up to the end record.
    static std::string FileOfSize(std::size_t size)
    {
        const std::string data = Lines({LinearAddress(1), DataRecord(0, Pattern(16, 7))});
        const std::string end = std::string(kEndRecord) + "\n";
        return data + std::string(size - data.size() - end.size(), '\n') + end;
    }

    TempFolder root_;
    std::unique_ptr<HexImage> image_ = std::make_unique<HexImage>();
};

TEST_F(HexFile, ReadsAReleaseFileIntoTheImage)
{
    const std::vector<std::uint8_t> data = Pattern(300, 3);
    const std::string text = WriteHex({{0x10000, data}}, Layout{});
    const HexFileResult result = Read("DI.HEX", text);
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result.read.bytesRead, text.size());
    EXPECT_EQ(result.refusal, L"");
    EXPECT_EQ(image_->length, 300u);
    EXPECT_TRUE(std::equal(data.begin(), data.end(), image_->bytes.begin()));
}

TEST_F(HexFile, AFileFillingTheTextBufferIsReadOneByteMoreIsNot)
{
    const HexFileResult exact = Read("FH.HEX", FileOfSize(kHexTextBufferSize));
    ASSERT_TRUE(exact.ok());
    EXPECT_EQ(exact.read.bytesRead, kHexTextBufferSize);
    EXPECT_EQ(image_->length, 16u);

    const HexFileResult over = Read("FH.HEX", FileOfSize(kHexTextBufferSize + 1));
    EXPECT_EQ(over.read.fault, HexFault::TooLarge);
    EXPECT_EQ(over.refusal, L" >> FH.HEX: Larger Than 524288 Bytes... File Rejected!");
    EXPECT_EQ(image_->length, 0u);
    EXPECT_EQ(image_->bytes[0], 0xFF);
}

TEST_F(HexFile, AMissingFileLeavesNothingToProgram)
{
    ASSERT_TRUE(Read("MC.HEX", WriteHex({{0x10000, Pattern(64, 1)}}, Layout{})).ok());
    const HexFileResult result = ReadHexFile(L"\\Hard Disk\\CAN_DRYER_P001\\MC_GEN2.HEX", *image_);
    EXPECT_EQ(result.read.fault, HexFault::Unreadable);
    EXPECT_EQ(result.read.bytesRead, 0u);
    EXPECT_EQ(result.refusal, L" >> MC_GEN2.HEX: Cannot Be Read... File Rejected!");
    EXPECT_EQ(image_->length, 0u);
    EXPECT_EQ(image_->bytes[0], 0xFF);
}

TEST_F(HexFile, ACutOffFileAfterALongerOneIsNotTakenForWhole)
{
    // the longer file's end record lies beyond the shorter file's end: it must not be seen
    const std::string longer = WriteHex({{0x10000, Pattern(4096, 1)}}, Layout{});
    ASSERT_TRUE(Read("MI.HEX", longer).ok());
    const std::string cut = longer.substr(0, longer.size() / 2);
    const std::string shorter = cut.substr(0, cut.rfind('\n') + 1);
    const HexFileResult result = Read("MI.HEX", shorter);
    EXPECT_EQ(result.read.fault, HexFault::NoEndRecord);
    EXPECT_EQ(result.read.bytesRead, shorter.size());
    EXPECT_EQ(result.refusal, L" >> MI.HEX: No End-of-File Record... File Rejected!");
    EXPECT_EQ(image_->length, 0u);
}

TEST_F(HexFile, ARefusalNamesTheFileAndItsLine)
{
    const std::vector<std::uint8_t> four = {1, 2, 3, 4};
    const std::string text =
        Lines({LinearAddress(1), DataRecord(0, four), DataRecord(4, four), DataRecord(8, four),
               Record(0x00, 12, four, 1), std::string(kEndRecord)},
              "\r\n");
    const HexFileResult result = Read("FH.HEX", text);
    EXPECT_EQ(result.read.fault, HexFault::BadChecksum);
    EXPECT_EQ(result.read.line, 5u);
    EXPECT_EQ(result.refusal, L" >> FH.HEX Line 5: Checksum Error... File Rejected!");
    EXPECT_EQ(image_->length, 0u);
}

TEST(HexFileName, IsThePartAfterTheLastBackslash)
{
    EXPECT_EQ(HexFileName(L"\\Hard Disk\\CAN_DRYER_P001\\DI.HEX"), L"DI.HEX");
    EXPECT_EQ(HexFileName(L"MC.HEX"), L"MC.HEX");
}

}  // namespace
