// " MOISTURE CONTROL PRINTER SETUP - 16": what it opens on, the bin number wrapping, the grain
// type and printer choices and what ACCEPT / EXIT sends of them (and only that), and the print
// button with the printer enabled and disabled (Yes, No, Cancel).
#include <gtest/gtest.h>

#include <functional>
#include <set>

#include "dryer/link/dryer_image.h"
#include "dryer/link/pending_command.h"
#include "dryer/setup/printer_setup_dialog.h"
#include "platform/windowing/dialog.h"
#include "tests/dryer/setup/drying_mode_support.h"

namespace {

using namespace drying_test;
using Flags = std::set<Pending>;

// A headless screen per test; the dryer reports bin 7, wheat and the printer enabled unless a
// test says otherwise.
class PrinterSetupTest : public DryingModeTest {
protected:
    void SetUp() override
    {
        DryingModeTest::SetUp();
        Report(binNumber, 7);
        Report(grainType, 2);
    }
    INT_PTR RunPrinter(const std::function<void()>& operate)
    {
        return RunDialog([] { return OpenPrinterSetup(nullptr); }, kPrinterSetupTitle, operate);
    }
};

int ShownGrain()
{
    int shown = 0;
    for (int g = 1; g <= kGrainTypeCount; ++g) {
        if (Checked(PrinterGrainIndicatorId(g))) shown = shown == 0 ? g : -1;
    }
    return shown;
}

void PressTimes(int id, int times)
{
    for (int i = 0; i < times; ++i) Press(id);
}

TEST_F(PrinterSetupTest, OpensOnTheDryersSettings)
{
    Report(settingByte217, 0x40);
    RunPrinter([] {
        EXPECT_EQ(TextOf(kPrinterBinField), L"7");
        EXPECT_EQ(ShownGrain(), 2);
        EXPECT_TRUE(Checked(kPrinterDisabledIndicator));
        EXPECT_FALSE(Checked(kPrinterEnabledIndicator));
        Press(IDOK);
    });
    EXPECT_TRUE(RaisedFlags().empty());  // nothing changed, nothing sent
}

TEST_F(PrinterSetupTest, BinNumberWrapsAtBothEnds)
{
    Report(binNumber, 0);
    RunPrinter([] {
        Press(kPrinterDecrease);
        EXPECT_EQ(TextOf(kPrinterBinField), L"99");
        Press(kPrinterIncrease);
        EXPECT_EQ(TextOf(kPrinterBinField), L"0");
        PressTimes(kPrinterIncrease, 12);
        EXPECT_EQ(TextOf(kPrinterBinField), L"12");
        Press(IDOK);
    });
    EXPECT_EQ(Value(DesiredSettings, binNumber), 12);
    EXPECT_EQ(RaisedFlags(), (Flags{Pending::byte202}));
}

TEST_F(PrinterSetupTest, AcceptSendsTheGrainTypeAndPrinterStateThatChanged)
{
    RunPrinter([] {
        Press(PrinterGrainButtonId(3));
        EXPECT_EQ(ShownGrain(), 3);
        Press(kPrinterSelect);
        EXPECT_TRUE(Checked(kPrinterDisabledIndicator));
        Press(IDOK);
    });
    EXPECT_EQ(Value(DesiredSettings, grainType), 3);
    EXPECT_TRUE(IsSet(DesiredSettings, printerDisabledBit));
    EXPECT_EQ(RaisedFlags(), (Flags{Pending::byte203, Pending::byte217}));
}

TEST_F(PrinterSetupTest, SelectTwiceAndTheSameGrainSendNothing)
{
    RunPrinter([] {
        PressTimes(kPrinterSelect, 2);
        Press(PrinterGrainButtonId(2));
        Press(IDOK);
    });
    EXPECT_TRUE(RaisedFlags().empty());
}

// A grain type the table does not know leaves the indicators unchecked until one is chosen.
TEST_F(PrinterSetupTest, UnknownGrainTypeChecksNoIndicator)
{
    Report(grainType, 9);
    RunPrinter([] {
        EXPECT_EQ(ShownGrain(), 0);
        Press(PrinterGrainButtonId(4));
        EXPECT_EQ(ShownGrain(), 4);
        Press(IDOK);
    });
    EXPECT_EQ(RaisedFlags(), (Flags{Pending::byte203}));
}

TEST_F(PrinterSetupTest, PrintWithThePrinterEnabledSendsTheRequestAtOnce)
{
    const INT_PTR result = RunPrinter([] { Press(kPrinterPrintSummary); });
    EXPECT_EQ(result, IDOK);
    EXPECT_TRUE(IsSet(DesiredSettings, printSummaryRequestBit));
    EXPECT_EQ(RaisedFlags(), (Flags{Pending::bytes218Once}));
}

TEST_F(PrinterSetupTest, PrintWithThePrinterDisabledAsksFirst)
{
    const struct {
        const wchar_t* answer;
        Flags sent;
    } cases[] = {
        {L"Yes", {Pending::byte217, Pending::bytes218Once}},
        {L"No", {}},
    };
    for (const auto& c : cases) {
        PendingCommand.ClearAll();
        Report(settingByte217, 0x40);
        Report(settingByte219, 0x00);
        RunPrinter([&] {
            Press(kPrinterPrintSummary);
            ASSERT_TRUE(WaitForMessageBox());
            const auto box = MessageBoxShown();
            EXPECT_EQ(box->title, kPrinterNotEnabledCaption);
            EXPECT_EQ(box->messageText, kPrinterNotEnabledText);
            platform::AnswerMessageBox(c.answer);
            EXPECT_TRUE(WaitForTitle(kPrinterSetupTitle, false));
        });
        EXPECT_EQ(RaisedFlags(), c.sent) << (c.sent.empty() ? "No" : "Yes");
        const bool yes = !c.sent.empty();
        EXPECT_EQ(IsSet(DesiredSettings, printerDisabledBit), !yes);
        EXPECT_EQ(IsSet(DesiredSettings, printSummaryRequestBit), yes);
    }
}

TEST_F(PrinterSetupTest, PrintCancelledStaysInTheDialog)
{
    Report(settingByte217, 0x40);
    RunPrinter([] {
        Press(kPrinterPrintSummary);
        ASSERT_TRUE(WaitForMessageBox());
        platform::AnswerMessageBox(L"Cancel");
        EXPECT_TRUE(Window(kPrinterSetupTitle).has_value());
        Press(IDOK);
    });
    EXPECT_TRUE(RaisedFlags().empty());
}

TEST_F(PrinterSetupTest, LayoutIsTidy)
{
    RunPrinter([] {
        Press(PrinterGrainButtonId(3));
        const auto dialog = Window(kPrinterSetupTitle);
        ASSERT_TRUE(dialog.has_value());
        Layout layout;
        layout.groups = {kPrinterSummaryGroup, kPrinterEnableGroup, kPrinterGrainGroup,
                         kPrinterBinGroup};
        layout.indicators = {kPrinterEnabledIndicator, kPrinterDisabledIndicator};
        for (int g = 1; g <= kGrainTypeCount; ++g)
            layout.indicators.insert(PrinterGrainIndicatorId(g));
        ExpectTidyLayout(*dialog, layout);
        Screenshot("printer_setup_16");
        Press(IDOK);
    });
}

}  // namespace
