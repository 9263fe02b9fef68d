// The warning catalogue: a sample of codes from every block, the generated Fan/Heater 2-6
// blocks, and the bounds.
#include <gtest/gtest.h>

#include <string>

#include "dryer/screens/home_panels.h"

using home_panels::WarningCatalogueText;

namespace {

struct CatalogueCase {
    int node;
    int index;
    const wchar_t* text;
};

class WarningCatalogue : public ::testing::TestWithParam<CatalogueCase> {};

TEST_P(WarningCatalogue, TextOfCode)
{
    const CatalogueCase c = GetParam();
    EXPECT_EQ(WarningCatalogueText(c.node, c.index), c.text);
}

INSTANTIATE_TEST_SUITE_P(
    EveryBlock, WarningCatalogue,
    ::testing::Values(
        CatalogueCase{0x00, 0x00, L"PLACE HOLDER MESSAGE"}, CatalogueCase{0x00, 0x01, L""},
        CatalogueCase{0x01, 0x00, L"0100 - BEGIN DISPLAY I/O ERROR"},
        CatalogueCase{0x01, 0x06, L"0106 - NETWORK CABLE FAILED BETWEEN MAIN IO AND F/H #1"},
        CatalogueCase{0x01, 0x0A, L"010A - STAGED BATCH DRY AND COOL SHUTDOWN"},
        CatalogueCase{0x01, 0x0B, L""},
        CatalogueCase{0x02, 0x00, L"0200 - BEGIN FAN/HEATER #1 WARNINGS"},
        CatalogueCase{0x02, 0x12, L"0212 - FAN #1 HAD AIRLFOW BEFORE FAN POWER"},
        CatalogueCase{0x02, 0x14, L"0214 - J4-02 GAS PRESSURE LOW LIMIT"},
        CatalogueCase{0x03, 0x00, L"0300 - BEGIN FAN/HEATER #2 WARNINGS"},
        CatalogueCase{0x03, 0x05, L"0305 - BURNER #2 GRAIN OVERHEAT"},
        CatalogueCase{0x04, 0x0D, L"040D - PLENUM #3 TEMPERATURE SENSOR SHORTED"},
        CatalogueCase{0x05, 0x10, L"0510 - GRAIN #4 TEMPERATURE SENSOR OPEN"},
        CatalogueCase{0x06, 0x05, L"0605 - BURNER #5 GRAIN OVERHEAT"},
        CatalogueCase{0x07, 0x13, L"0713 - FAN #6 NETWORK CONNECTION FAILED"},
        CatalogueCase{0x07, 0x14, L""},  // the copies have no entry 14
        CatalogueCase{0x03, 0x14, L""},
        CatalogueCase{0x08, 0x00, L"0800 - BEGIN FH #1 INTERFACE WARNINGS"},
        CatalogueCase{0x0A, 0x00, L"0A00 - BEGIN FH #3 INTERFACE WARNINGS"},
        CatalogueCase{0x0D, 0x00, L"0D00 - BEGIN FH #6 INTERFACE WARNINGS"},
        CatalogueCase{0x0D, 0x01, L""},
        CatalogueCase{0x0E, 0x00, L"0E00 - BEGIN MAIN I/O WARNINGS"},
        CatalogueCase{0x0E, 0x05, L"0E05 - MAIN I/O - REAR DISCHARGE DOOR OPENED"},
        CatalogueCase{0x0E, 0x0A, L"0E0A - MAIN I/O FUSE BLOWN ON J6-03 (PRI-UNLOAD)"},
        CatalogueCase{0x0E, 0x19, L"0E19 - MAIN I/O CYCLED SAMPLER BLOWER OVERLOAD"},
        CatalogueCase{0x0E, 0x1A, L""},
        CatalogueCase{0x0F, 0x00, L"0F00 - BEGIN MOISTURE CONTROL WARNINGS"},
        CatalogueCase{0x0F, 0x03, L"0F03 - MAX GRAIN TEMPERATURE EXCEEDED"},
        CatalogueCase{0x0F, 0x04, L""}));

TEST(WarningCatalogueBounds, CodesOutsideTheTableHaveNoEntry)
{
    EXPECT_EQ(WarningCatalogueText(16, 0), L"");
    EXPECT_EQ(WarningCatalogueText(0x0E, 30), L"");
    EXPECT_EQ(WarningCatalogueText(-1, 0), L"");
    EXPECT_EQ(WarningCatalogueText(0xFF, 0xFF), L"");
}

TEST(WarningCatalogueBlocks, FanHeaterCopiesFollowBlockTwoEntryByEntry)
{
    for (int node = 3; node <= 7; ++node) {
        for (int index = 0; index < 0x14; ++index) {
            std::wstring expected = WarningCatalogueText(2, index);
            expected[1] = static_cast<wchar_t>(L'0' + node);
            for (std::size_t at = expected.find(L"#1"); at != std::wstring::npos;
                 at = expected.find(L"#1", at + 1)) {
                expected[at + 1] = static_cast<wchar_t>(L'0' + node - 1);
            }
            EXPECT_EQ(WarningCatalogueText(node, index), expected) << node << " " << index;
        }
    }
}

TEST(WarningCatalogueBlocks, EveryTextStartsWithItsCode)
{
    const wchar_t* digits = L"0123456789ABCDEF";
    for (int node = 1; node < 16; ++node) {
        for (int index = 0; index < 30; ++index) {
            const std::wstring text = WarningCatalogueText(node, index);
            if (text.empty()) continue;
            const std::wstring code{digits[node >> 4], digits[node & 15], digits[index >> 4],
                                    digits[index & 15]};
            EXPECT_EQ(text.substr(0, 7), code + L" - ") << text;
        }
    }
}

}  // namespace
