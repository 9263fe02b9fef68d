// The warning help: file names of a code, the help text's lines, the reconnect bar's travel,
// and the help dialog against help files on a panel folder.
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "dryer/screens/home_panels.h"
#include "dryer/screens/screen_manager.h"
#include "platform/controls/controls.h"
#include "platform/runtime/runtime.h"
#include "platform/runtime/test_support.h"
#include "platform/storage/files.h"
#include "tests/dryer/program/panel_run.h"
#include "tests/dryer/screens/scene_image_support.h"

using namespace home_panels;

namespace {

std::vector<std::uint8_t> Bytes(const std::string& s)
{
    return {s.begin(), s.end()};
}

TEST(HelpFiles, NamesCarryDecimalNodeAndIndex)
{
    const HelpFileNames names = HelpFilesFor(0x0E, 0x0A, 0x0E0A, 0);
    EXPECT_EQ(names.picture, L"\\Hard Disk\\WarningBitmaps\\NID_14_WARNING_ID_10.bmp");
    EXPECT_EQ(names.text, L"\\Hard Disk\\WarningBitmaps\\NID_14_WARNING_ID_10.txt");
}

TEST(HelpFiles, EveryFanHeaterUsesNodeTwo)
{
    for (int node = 2; node <= 7; ++node) {
        const HelpFileNames names = HelpFilesFor(node, 5, (node << 8) | 5, 0);
        EXPECT_EQ(names.picture, L"\\Hard Disk\\WarningBitmaps\\NID_02_WARNING_ID_05.bmp");
        EXPECT_EQ(names.text, L"\\Hard Disk\\WarningBitmaps\\NID_02_WARNING_ID_05.txt");
    }
    EXPECT_EQ(HelpFilesFor(8, 0, 0x0800, 0).text,
              L"\\Hard Disk\\WarningBitmaps\\NID_08_WARNING_ID_00.txt");
}

TEST(HelpFiles, DoorWarningAnimatesFourPictures)
{
    const wchar_t* expected[] = {L"IMG_0141", L"IMG_0142", L"IMG_0143", L"IMG_0144",
                                 L"IMG_0144", L"IMG_0144", L"IMG_0144"};
    for (int phase = 0; phase < 7; ++phase) {
        const HelpFileNames names = HelpFilesFor(0x0E, 5, 0x0E05, phase);
        EXPECT_EQ(names.picture,
                  std::wstring(L"\\Hard Disk\\WarningBitmaps\\") + expected[phase] + L".bmp");
        EXPECT_EQ(names.text, L"\\Hard Disk\\WarningBitmaps\\NID_14_WARNING_ID_05.txt");
    }
    // The door pictures follow the active code, not the selection.
    EXPECT_EQ(HelpFilesFor(0x0E, 5, 0x0E06, 0).picture,
              L"\\Hard Disk\\WarningBitmaps\\NID_14_WARNING_ID_05.bmp");
}

TEST(HelpText, CrLfLinesWithTabs)
{
    const auto lines = SplitHelpText(Bytes("First line\r\n\tIndented\r\n\r\nA\tB\r\nno end"));
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], L"First line");
    EXPECT_EQ(lines[1], L"    Indented");
    EXPECT_EQ(lines[2], L"");
    EXPECT_EQ(lines[3], L"A    B");
}

TEST(HelpText, EightBitCharactersWidenAsTheyAre)
{
    const std::vector<std::uint8_t> bytes{'1', '0', 0xB0, 'F', '\n'};
    const auto lines = SplitHelpText(bytes);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], std::wstring(L"10") + wchar_t{176} + L"F");
}

TEST(HelpText, StopsAtTheSizeLimit)
{
    std::string text(kHelpTextLimit - 1, 'x');
    text += "\n";
    text += "beyond the limit\n";
    const auto lines = SplitHelpText(Bytes(text));
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].size(), kHelpTextLimit - 1);
}

TEST(ReconnectBar, TravelsRestsAndReturns)
{
    ReconnectBar bar;
    std::vector<int> seen;
    for (int i = 0; i < 30; ++i) {
        bar.Step();
        seen.push_back(bar.position);
    }
    const std::vector<int> expected{1,  2,  3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 13, 12,
                                    11, 10, 9, 8, 7, 6, 5, 4, 3, 2,  1,  0,  0,  1,  2};
    EXPECT_EQ(seen, expected);
}

// ---- the help dialog on a panel folder ----

HomePanelInputs gInputs;
std::atomic<bool> gClearCode{false};  // set by an observer thread: the warning clears
void ReadInputs(HomePanelInputs& out)
{
    out = gInputs;
    if (gClearCode) SetActiveWarningCode(out.image, 0);
}

class HelpDialog : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        panel_test::EnsureVirtualClock();
        platform::ScreenOptions options;
        options.headless = true;
        platform::OpenScreen(options);
    }
    static void TearDownTestSuite() { platform::CloseScreen(); }

    void SetUp() override
    {
        root_ = std::filesystem::temp_directory_path() /
                ("screens_help_" + std::to_string(::getpid()));  // test processes run side by side
        std::filesystem::remove_all(root_);
        std::filesystem::create_directories(root_ / "Hard Disk" / "WarningBitmaps");
        std::filesystem::create_directories(root_ / "usb");
        platform::SetPanelRoots(root_, root_ / "usb");
        gInputs = HomePanelInputs{};
        gClearCode = false;
        ResetHomePanelState();
        SetHomePanelSource(HomePanelSource{&ReadInputs, nullptr, nullptr});
    }

    void TearDown() override
    {
        ResetHomePanelSource();
        std::filesystem::remove_all(root_);
    }

    void WriteFile(const std::string& name, const std::string& content)
    {
        std::ofstream out(root_ / "Hard Disk" / "WarningBitmaps" / name, std::ios::binary);
        out << content;
    }

    // A 24-bit BMP of a plain colour.
    void WritePicture(const std::string& name, int width, int height)
    {
        const int row = (width * 3 + 3) / 4 * 4;
        const int size = 54 + row * height;
        std::string b(static_cast<std::size_t>(size), '\0');
        auto put32 = [&](int at, int v) {
            for (int i = 0; i < 4; ++i)
                b[static_cast<std::size_t>(at + i)] = static_cast<char>((v >> (8 * i)) & 0xFF);
        };
        b[0] = 'B';
        b[1] = 'M';
        put32(2, size);
        put32(10, 54);
        put32(14, 40);
        put32(18, width);
        put32(22, height);
        b[26] = 1;
        b[28] = 24;
        put32(34, row * height);
        for (int i = 54; i < size; ++i) b[static_cast<std::size_t>(i)] = static_cast<char>(0x80);
        WriteFile(name, b);
    }

    std::filesystem::path root_;
};

// Polls the window list (from the observer thread) until a window with this title or a message
// box is there, or gone; bounded to a few seconds of real time.
// Gives up after 15 s of real time, a guard against a hang; on a loaded machine a fresh test
// process may take seconds for its first paint.
bool WaitForWindow(const std::wstring& title, bool present)
{
    using namespace std::chrono_literals;
    for (int i = 0; i < 1500; ++i) {
        bool found = false;
        for (const auto& w : platform::InspectWindows()) {
            if (w.title == title || (title.empty() && w.isMessageBox)) found = true;
        }
        if (found == present) return true;
        std::this_thread::sleep_for(10ms);
    }
    return false;
}

// Runs the help dialog modally from a helper thread's point of view: the automation calls wait
// for the user-interface thread, which is inside the dialog's loop.
struct DialogView {
    std::vector<std::wstring> listLines;
    bool messageBox = false;
    std::wstring messageText;
    std::wstring title;
};

TEST_F(HelpDialog, ShowsTheTextFileLineByLine)
{
    WritePicture("NID_14_WARNING_ID_10.bmp", 40, 30);
    WriteFile("NID_14_WARNING_ID_10.txt", "Check the fuse.\r\n\tThen restart.\r\nunterminated");
    DialogView view;
    platform::DriveModal([&] { return OpenWarningHelpDialog(nullptr, 0x0E, 0x0A, false); },
                         [&] {
                             WaitForWindow(L"Shutdown Help File - 34", true);
                             for (const auto& w : platform::InspectWindows()) {
                                 if (w.title == L"Shutdown Help File - 34") {
                                     view.title = w.title;
                                     for (const auto& c : w.controls) {
                                         if (c.id == kHelpList) view.listLines.push_back(c.text);
                                     }
                                 }
                             }
                             platform::PressControl(kHelpCloseButton);
                         });
    EXPECT_EQ(view.title, L"Shutdown Help File - 34");
    EXPECT_EQ(WarningHelp().dialog, nullptr);
    EXPECT_EQ(WarningHelp().textLines,
              (std::vector<std::wstring>{L"Check the fuse.", L"    Then restart."}));
}

TEST_F(HelpDialog, MissingTextFileSaysSo)
{
    WritePicture("NID_02_WARNING_ID_05.bmp", 40, 30);
    platform::DriveModal([&] { return OpenWarningHelpDialog(nullptr, 0x05, 0x05, true); },
                         [&] {
                             WaitForWindow(L"Shutdown Help File - 34", true);
                             platform::PressControl(kHelpCloseButton);
                         });
    EXPECT_EQ(WarningHelp().textLines, (std::vector<std::wstring>{L"NO TEXT FILE AVAILABLE."}));
}

// Opens the help dialog of warning 0E0A and answers the message box it asks with Cancel; when
// it asks nothing, the dialog is closed.
DialogView OpenAndCancelTheMessageBox(INT_PTR& result)
{
    DialogView view;
    result = platform::DriveModal([&] { return OpenWarningHelpDialog(nullptr, 0x0E, 0x0A, false); },
                                  [&] {
                                      if (!WaitForWindow(L"", true)) {
                                          platform::PressControl(kHelpCloseButton);
                                          return;
                                      }
                                      for (const auto& w : platform::InspectWindows()) {
                                          if (w.isMessageBox) {
                                              view.messageBox = true;
                                              view.messageText = w.messageText;
                                              view.title = w.title;
                                          }
                                      }
                                      platform::AnswerMessageBox(L"Cancel");
                                  });
    return view;
}

TEST_F(HelpDialog, MissingPictureAsksRetryOrCancel)
{
    INT_PTR result = 0;
    const DialogView view = OpenAndCancelTheMessageBox(result);
    EXPECT_TRUE(view.messageBox);
    EXPECT_EQ(view.messageText, L"No help file available for this topic.");
    EXPECT_EQ(view.title, L" WARNING HELP FILE INFORMATION");
    EXPECT_EQ(result, 2);  // IDCANCEL
}

TEST_F(HelpDialog, PictureLargerThanTheScreenCountsAsMissing)
{
    WritePicture("NID_14_WARNING_ID_10.bmp", 641, 1);
    INT_PTR result = 0;
    const DialogView view = OpenAndCancelTheMessageBox(result);
    EXPECT_TRUE(view.messageBox);
    EXPECT_EQ(view.messageText, L"No help file available for this topic.");
    EXPECT_EQ(result, 2);  // IDCANCEL
}

// ---- the 100 ms tick's raise/lower rule ----

// The test's stand-in for the warning window runs the 100 ms tick's rule when an observer
// thread posts kMsgTick (posting is thread-safe; the rule runs on the user-interface thread).
constexpr UINT kMsgTick = WM_APP + 1;
LRESULT TickProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == kMsgTick) {
        WarningRaiseLowerTick();
        return 0;
    }
    return DefWindowProc(wnd, msg, wp, lp);
}

class RaiseLower : public HelpDialog {
protected:
    void SetUp() override
    {
        HelpDialog::SetUp();
        WNDCLASS wc{};
        wc.lpfnWndProc = TickProc;
        wc.lpszClassName = L"TEST_RAISE_LOWER";
        RegisterClass(&wc);
        saved_ = Screens().warning;
        warning_ = CreateWindowEx(0, L"TEST_RAISE_LOWER", L"", WS_POPUP, 10, 20, 430, 325, nullptr,
                                  0, nullptr, nullptr);
        Screens().warning = warning_;
    }
    void TearDown() override
    {
        Screens().warning = saved_;
        DestroyWindow(warning_);
        HelpDialog::TearDown();
    }
    HWND warning_ = nullptr;
    HWND saved_ = nullptr;
};

TEST_F(RaiseLower, ShowsWhileACodeIsActiveAndHidesWhenItClears)
{
    WarningRaiseLowerTick();
    EXPECT_FALSE(IsWindowVisible(warning_));
    SetActiveWarningCode(gInputs.image, 0x0E08);
    WarningRaiseLowerTick();
    EXPECT_TRUE(IsWindowVisible(warning_));
    gClearCode = true;
    WarningRaiseLowerTick();
    EXPECT_FALSE(IsWindowVisible(warning_));
}

TEST_F(RaiseLower, ShowsWhileTheLinkIsLost)
{
    gInputs.linkWatchdog = 0;
    WarningRaiseLowerTick();
    EXPECT_TRUE(IsWindowVisible(warning_));
}

TEST_F(RaiseLower, DoorWarningStepsTheDoorAnimation)
{
    SetActiveWarningCode(gInputs.image, 0x0E05);
    std::vector<int> phases;
    for (int i = 0; i < 8; ++i) {
        WarningRaiseLowerTick();
        phases.push_back(WarningHelp().doorPhase);
    }
    EXPECT_EQ(phases, (std::vector<int>{1, 2, 3, 4, 5, 6, 0, 1}));
    SetActiveWarningCode(gInputs.image, 0x0E06);
    WarningRaiseLowerTick();
    EXPECT_EQ(WarningHelp().doorPhase, 1);  // any other code leaves the door alone
}

TEST_F(RaiseLower, ClearingTheWarningClosesItsHelpDialog)
{
    WritePicture("NID_14_WARNING_ID_10.bmp", 40, 30);
    SetActiveWarningCode(gInputs.image, 0x0E0A);
    bool sawDialog = false;
    bool closed = false;
    platform::DriveModal([&] { return OpenWarningHelpDialog(warning_, 0x0E, 0x0A, false); },
                         [&] {
                             sawDialog = WaitForWindow(L"Shutdown Help File - 34", true);
                             gClearCode = true;
                             PostMessage(warning_, kMsgTick, 0,
                                         0);  // the next tick closes the dialog
                             closed = WaitForWindow(L"Shutdown Help File - 34", false);
                             if (!closed) platform::PressControl(kHelpCloseButton);
                         });
    EXPECT_TRUE(sawDialog);
    EXPECT_TRUE(closed);
    EXPECT_EQ(WarningHelp().dialog, nullptr);
}

TEST_F(RaiseLower, HelpOpenedFromTheHistoryStaysOpen)
{
    WritePicture("NID_02_WARNING_ID_05.bmp", 40, 30);
    bool stillOpen = false;
    // no active warning at all
    platform::DriveModal([&] { return OpenWarningHelpDialog(warning_, 0x03, 0x05, true); },
                         [&] {
                             WaitForWindow(L"Shutdown Help File - 34", true);
                             // A few ticks with no warning active: the dialog stays.
                             for (int i = 0; i < 3; ++i) PostMessage(warning_, kMsgTick, 0, 0);
                             platform::WaitIdle();  // the ticks run
                             for (const auto& w : platform::InspectWindows()) {
                                 if (w.title == L"Shutdown Help File - 34") stillOpen = true;
                             }
                             platform::PressControl(kHelpCloseButton);
                         });
    EXPECT_TRUE(stillOpen);
}

}  // namespace
