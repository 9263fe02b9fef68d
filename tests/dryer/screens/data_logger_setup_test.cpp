// "DAY DATA LOGGER SETUP - 19" on its own: what it opens on, ON and OFF and what they send,
// the delete question, and the copy to the USB drive with every message it gives.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>

#include "dryer/link/dryer_image.h"
#include "dryer/link/pending_command.h"
#include "dryer/records/long_term_log.h"
#include "dryer/records/long_term_log_export.h"
#include "dryer/screens/data_logger_setup.h"
#include "dryer/screens/entry_dialogs.h"
#include "platform/runtime/runtime.h"
#include "platform/runtime/test_support.h"
#include "platform/storage/files.h"
#include "tests/dryer/program/panel_run.h"

namespace {

using panel_test::FindTitled;
using panel_test::TopMessageBox;

bool WaitFor(const std::function<bool()>& done)
{
    for (int i = 0; i < 1500; ++i) {
        if (done()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

bool DialogOpen()
{
    return FindTitled(kDataLoggerSetupTitle).has_value();
}

std::optional<platform::ControlInfo> Control(int id)
{
    const auto dialog = FindTitled(kDataLoggerSetupTitle);
    if (!dialog) return std::nullopt;
    for (const auto& c : dialog->controls) {
        if (c.id == id) return c;
    }
    return std::nullopt;
}

std::wstring Text(int id)
{
    const auto c = Control(id);
    return c ? c->text : L"(no control)";
}

bool Checked(int id)
{
    const auto c = Control(id);
    return c && c->checked;
}

struct Box {
    std::wstring caption, text;
    std::vector<std::wstring> buttons;
};

// The message box once it shows, answered with `answer` after `meanwhile` has run.
Box Answer(const std::wstring& answer, const std::function<void()>& meanwhile = {})
{
    Box box;
    if (!WaitFor([] { return TopMessageBox().has_value(); })) return box;
    const auto w = TopMessageBox();
    box = Box{w->title, w->messageText, w->buttons};
    if (meanwhile) meanwhile();
    platform::AnswerMessageBox(answer);
    return box;
}

bool Inside(const RECT& in, const RECT& out)
{
    return in.left >= out.left && in.top >= out.top && in.right <= out.right &&
           in.bottom <= out.bottom;
}

bool Overlap(const RECT& a, const RECT& b)
{
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

int FrameOf(int id)
{
    switch (id) {
        case kLoggerOnButton:
        case kLoggerOffButton:
        case kLoggerOnIndicator:
        case kLoggerOffIndicator: return kLoggerStateFrame;
        case kLoggerUsedSpaceLabel:
        case kLoggerUsedSpace:
        case kLoggerProgress: return kLoggerSpaceFrame;
    }
    return 0;
}

class DataLoggerSetup : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        panel_test::EnsureVirtualClock();
        platform::OpenScreen(platform::ScreenOptions{});
    }
    static void TearDownTestSuite() { platform::CloseScreen(); }

    void SetUp() override
    {
        root_ = std::filesystem::temp_directory_path() /
                ("screens_logger_" + std::to_string(::getpid()));
        std::filesystem::remove_all(root_);
        std::filesystem::create_directories(root_ / "Hard Disk");
        std::filesystem::create_directories(Usb());
        platform::SetPanelRoots(root_, Usb());
        ResetLongTermLogForTest();
        SetBits(DryerImage, longTermLogBit, false);
        SetBits(DesiredSettings, longTermLogBit, false);
        PendingCommand.Clear(optionByte289.pending);
    }
    void TearDown() override
    {
        SetBits(DryerImage, longTermLogBit, false);
        SetBits(DesiredSettings, longTermLogBit, false);
        PendingCommand.Clear(optionByte289.pending);
        ResetLongTermLogForTest();
        std::filesystem::remove_all(root_);
    }

    std::filesystem::path Usb() const { return root_ / "usb"; }
    std::filesystem::path Log() const
    {
        return root_ / "Hard Disk" / "DataLog" / "LongTermDataLog.dat";
    }
    // A log of `size` bytes, its fill level found as the tick finds it.
    void MakeLog(std::size_t size) const
    {
        std::filesystem::create_directories(Log().parent_path());
        std::ofstream(Log(), std::ios::binary) << std::string(size, '\x05');
        ASSERT_TRUE(RefreshLongTermFill());
    }

    // Opens the dialog and lets `driver` work it; the driver must close it.
    static void Run(const std::function<void()>& driver)
    {
        platform::DriveModal([] { return OpenDataLoggerSetup(nullptr); },
                             [&] {
                                 ASSERT_TRUE(WaitFor(&DialogOpen));
                                 driver();
                                 if (DialogOpen()) platform::PressControl(kLoggerExit);
                             });
    }

    std::filesystem::path root_;
};

TEST_F(DataLoggerSetup, OpensOnTheDryersStateAndTheUsedSpace)
{
    MakeLog(3722448);
    SetBits(DryerImage, longTermLogBit, true);
    Run([] {
        EXPECT_EQ(Text(kLoggerUsedSpaceLabel), L"Used Space:");
        EXPECT_EQ(Text(kLoggerUsedSpace), L"71 %");
        EXPECT_TRUE(Checked(kLoggerOnIndicator));
        EXPECT_FALSE(Checked(kLoggerOffIndicator));
        EXPECT_EQ(Text(kLoggerOnButton), L"ON");
        EXPECT_EQ(Text(kLoggerOffButton), L"OFF");
        EXPECT_EQ(Text(kLoggerDelete), L"DELETE DATA LOG FILE");
        EXPECT_EQ(Text(kLoggerSendToUsb), L"SEND DATA LOG FILES TO USB FLASH CARD");
        EXPECT_EQ(Text(kLoggerExit), L"EXIT");
        // Centred on the screen, then raised by 20 pixels; every control in its place.
        const auto dialog = FindTitled(kDataLoggerSetupTitle);
        ASSERT_TRUE(dialog.has_value());
        const RECT r = dialog->rect;
        EXPECT_EQ(r.left, (640 - (r.right - r.left)) / 2);
        EXPECT_EQ(r.top, (480 - (r.bottom - r.top)) / 2 - 20);
        for (const auto& c : dialog->controls) {
            EXPECT_TRUE(Inside(c.rect, r)) << c.id;
            if (FrameOf(c.id) != 0) {
                EXPECT_TRUE(Inside(c.rect, Control(FrameOf(c.id))->rect)) << c.id;
            }
            for (const auto& other : dialog->controls) {
                if (other.id <= c.id || FrameOf(c.id) == other.id || FrameOf(other.id) == c.id) {
                    continue;
                }
                EXPECT_FALSE(Overlap(c.rect, other.rect)) << c.id << " and " << other.id;
            }
        }
        platform::WaitIdle();
        if (const char* dir = std::getenv("LOGGER_SCREENSHOT_DIR")) {
            platform::SaveScreenshot(std::filesystem::path(dir) / "data-logger-setup.png");
        }
        platform::PressControl(kLoggerExit);
        EXPECT_FALSE(DialogOpen());
    });
    // The working copy is what the dryer reports; nothing is sent by opening.
    EXPECT_TRUE(IsSet(DesiredSettings, longTermLogBit));
    EXPECT_FALSE(PendingCommand.IsSet(optionByte289.pending));
}

TEST_F(DataLoggerSetup, OnAndOffSendTheSwitchOnlyWhenItChangesTheDryer)
{
    Run([] {
        EXPECT_TRUE(Checked(kLoggerOffIndicator));
        platform::PressControl(kLoggerOffButton);  // the dryer logs nothing already
        EXPECT_FALSE(PendingCommand.IsSet(optionByte289.pending));
        EXPECT_FALSE(IsSet(DesiredSettings, longTermLogBit));

        platform::PressControl(kLoggerOnButton);
        EXPECT_TRUE(Checked(kLoggerOnIndicator));
        EXPECT_FALSE(Checked(kLoggerOffIndicator));
        EXPECT_TRUE(IsSet(DesiredSettings, longTermLogBit));
        EXPECT_TRUE(PendingCommand.IsSet(optionByte289.pending));

        platform::PressControl(kLoggerOffButton);  // changed the mind before the echo
        EXPECT_TRUE(Checked(kLoggerOffIndicator));
        EXPECT_FALSE(IsSet(DesiredSettings, longTermLogBit));
        EXPECT_TRUE(PendingCommand.IsSet(optionByte289.pending));  // OFF goes out in its place
    });
}

TEST_F(DataLoggerSetup, OpeningKeepsAChangeStillOnItsWay)
{
    SetBits(DesiredSettings, longTermLogBit, true);
    PendingCommand.Set(optionByte289.pending);
    Run([] { EXPECT_TRUE(IsSet(DesiredSettings, longTermLogBit)); });
    EXPECT_TRUE(PendingCommand.IsSet(optionByte289.pending));
}

TEST_F(DataLoggerSetup, DeleteAsksFirstAndShowsTheSpaceFreedAtOnce)
{
    MakeLog(kLongTermFileFull);
    Run([this] {
        EXPECT_EQ(Text(kLoggerUsedSpace), L"100 %");
        platform::PressControl(kLoggerDelete);
        const Box no = Answer(L"No");
        EXPECT_EQ(no.caption, L"DELETE?");
        EXPECT_EQ(no.text, L"Delete data log file?");
        EXPECT_EQ(no.buttons, (std::vector<std::wstring>{L"Yes", L"No"}));
        EXPECT_TRUE(std::filesystem::exists(Log()));
        EXPECT_EQ(Text(kLoggerUsedSpace), L"100 %");
        platform::PressControl(kLoggerDelete);
        Answer(L"Yes");
        EXPECT_FALSE(std::filesystem::exists(Log()));
        EXPECT_EQ(Text(kLoggerUsedSpace), L"0 %");
    });
}

TEST_F(DataLoggerSetup, CopyWaitsForTheDriveAndAsksBeforeCopying)
{
    MakeLog(160);
    std::filesystem::remove_all(Usb());
    Run([this] {
        platform::PressControl(kLoggerSendToUsb);
        Answer(L"Cancel");  // no drive, and the operator gives up
        EXPECT_FALSE(TopMessageBox().has_value());
        platform::PressControl(kLoggerSendToUsb);
        const Box missing = Answer(L"Retry");  // still no drive: asked again
        EXPECT_EQ(missing.caption, L"USB FLASH CARD NOT PRESENT");
        EXPECT_EQ(missing.text, L"Please instert flash card into USB port.");
        EXPECT_EQ(missing.buttons, (std::vector<std::wstring>{L"Retry", L"Cancel"}));
        const Box again = Answer(L"Retry", [this] { std::filesystem::create_directories(Usb()); });
        EXPECT_EQ(again.caption, L"USB FLASH CARD NOT PRESENT");
        const Box ask = Answer(L"No");
        EXPECT_EQ(ask.caption, L"DATA LOG FILE TO USB FLASH CARD");
        EXPECT_EQ(ask.text, L"Copy dryer data log file to usb flash drive as DryerDataLog.dat.");
        EXPECT_EQ(ask.buttons, (std::vector<std::wstring>{L"Yes", L"No", L"Cancel"}));
        EXPECT_TRUE(std::filesystem::is_empty(Usb()));
        platform::PressControl(kLoggerSendToUsb);
        Answer(L"Cancel");
        EXPECT_TRUE(std::filesystem::is_empty(Usb()));
    });
}

TEST_F(DataLoggerSetup, CopyNamesTheFileThenOffersToDeleteTheLog)
{
    MakeLog(160);
    SYSTEMTIME now;
    GetLocalTime(&now);
    const std::wstring name = LongTermCopyName(now);
    Run([&] {
        platform::PressControl(kLoggerSendToUsb);
        Answer(L"Yes");
        const Box done = Answer(L"OK");
        EXPECT_EQ(done.caption, L"Successfully copied following file to USB Flash Drive.");
        EXPECT_EQ(done.text, name);
        const Box remove = Answer(L"No");
        EXPECT_EQ(remove.caption, L"DELETE?");
        EXPECT_EQ(remove.text, L"Copy successful.  Delete old data log file?");
        EXPECT_TRUE(std::filesystem::exists(Log()));
        EXPECT_EQ(std::filesystem::file_size(Usb() / platform::Narrow(name)), 160u);

        // Again within the same second: the copy of that name is there already.
        platform::PressControl(kLoggerSendToUsb);
        Answer(L"Yes");
        const Box failed = Answer(L"OK");
        EXPECT_EQ(failed.caption, L"FAILED TO COPY");
        EXPECT_EQ(failed.text, L"Could not copy file to flashdrive.");
        EXPECT_TRUE(std::filesystem::exists(Log()));  // the log is kept

        platform::AdvanceClock(1000);
        platform::PressControl(kLoggerSendToUsb);
        Answer(L"Yes");
        Answer(L"OK");
        Answer(L"Yes");
        EXPECT_FALSE(std::filesystem::exists(Log()));
        EXPECT_EQ(Text(kLoggerUsedSpace), L"0 %");
    });
}

}  // namespace
