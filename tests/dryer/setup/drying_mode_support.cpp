// The drying mode dialogs' test harness.
#include "tests/dryer/setup/drying_mode_support.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "dryer/setup/drying_mode_shared.h"
#include "platform/drawing/gdi.h"
#include "platform/drawing/painter.h"
#include "platform/runtime/test_support.h"
#include "platform/windowing/dialog.h"
#include "resources/orbitdryer/bitmap_table.h"
#include "tests/dryer/program/panel_run.h"

namespace drying_test {

namespace {

constexpr int kControlFont = -14;  // the 14-pixel font the platform draws control texts in
constexpr int kPushPadding = 4;    // a push button's text keeps this far from each side
constexpr int kIndicatorBox = 20;  // a radio indicator's circle and the gap after it
constexpr int kGroupIndent = 8;    // a group caption starts this far in, 3 pixels padded
constexpr int kLargestBoxWidth = 620;
constexpr int kLargestBoxHeight = 470;

bool Inside(const RECT& inner, const RECT& outer)
{
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

bool Overlap(const RECT& a, const RECT& b)
{
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

}  // namespace

void DryingModeTest::SetUp()
{
    panel_test::EnsureVirtualClock();
    RegisterOrbitDryerBitmaps();
    platform::OpenScreen(platform::ScreenOptions{});
    DryerImage.Clear();
    DesiredSettings.Clear();
    PendingCommand.ClearAll();
}

void DryingModeTest::TearDown()
{
    platform::CloseScreen();
    PendingCommand.ClearAll();
    DryingModeSelectionWindow = nullptr;
}

void Report(ImageField field, int value)
{
    SetValue(DryerImage, field, value);
}

void Report(ImageField field, MinSec time)
{
    WriteTime(DryerImage, field, time);
}

INT_PTR RunDialog(const std::function<INT_PTR()>& open, const wchar_t* title,
                  const std::function<void()>& operate)
{
    return platform::DriveModal(open, [&] {
        if (WaitForTitle(title)) {
            operate();
        } else {
            ADD_FAILURE() << "no window " << panel_test::Narrow(title);
        }
        // A test that stopped half-way leaves its dialogs open: close them all, so that the
        // modal loop ends.
        if (Window(title).has_value() && !::testing::Test::HasFailure()) {
            ADD_FAILURE() << panel_test::Narrow(title) << " was left open";
        }
        for (int i = 0; i < 10 && Window(title).has_value(); ++i) {
            if (MessageBoxShown().has_value()) {
                platform::AnswerMessageBox(MessageBoxShown()->buttons.back());
            } else {
                CloseTopDialog();
            }
            platform::WaitIdle();
        }
    });
}

bool WaitForTitle(const std::wstring& title, bool shown)
{
    using namespace std::chrono_literals;
    for (int i = 0; i < 1500; ++i) {
        if (Window(title).has_value() == shown) return true;
        std::this_thread::sleep_for(10ms);
    }
    return false;
}

bool WaitForMessageBox()
{
    using namespace std::chrono_literals;
    for (int i = 0; i < 1500; ++i) {
        if (MessageBoxShown().has_value()) return true;
        std::this_thread::sleep_for(10ms);
    }
    return false;
}

platform::ControlInfo ControlOf(int id)
{
    const auto c = panel_test::FindControl(id);
    if (!c.has_value()) {
        ADD_FAILURE() << "no control " << id;
        return {};
    }
    return *c;
}

bool Checked(int id)
{
    return ControlOf(id).checked;
}

bool Enabled(int id)
{
    return ControlOf(id).enabled;
}

std::wstring TextOf(int id)
{
    return ControlOf(id).text;
}

std::optional<platform::WindowInfo> Window(const std::wstring& title)
{
    return panel_test::FindTitled(title);
}

std::optional<platform::WindowInfo> MessageBoxShown()
{
    return panel_test::TopMessageBox();
}

void Press(int id)
{
    ASSERT_TRUE(platform::PressControl(id)) << "control " << id;
}

void CloseTopDialog()
{
    // A dialog with a CANCEL button is left with it; the drying mode dialogs have none (the
    // panel has no keyboard), so they are left with Escape, their Cancel command.
    if (!platform::PressControl(IDCANCEL)) platform::SendKey(VK_ESCAPE, false);
}

void CancelDialog(const std::wstring& title)
{
    ASSERT_TRUE(WaitForTitle(title)) << panel_test::Narrow(title);
    CloseTopDialog();
    ASSERT_TRUE(WaitForTitle(title, false)) << panel_test::Narrow(title);
}

std::set<Pending> RaisedFlags()
{
    std::set<Pending> raised;
    for (std::size_t i = 0; i < kPendingCount; ++i) {
        const auto flag = static_cast<Pending>(i);
        if (PendingCommand.IsSet(flag)) raised.insert(flag);
    }
    return raised;
}

void ExpectTidyLayout(const platform::WindowInfo& dialog, const Layout& layout)
{
    // The client area: the window less its caption and border.
    const RECT client{dialog.rect.left + 1, dialog.rect.top + 21, dialog.rect.right - 1,
                      dialog.rect.bottom - 1};
    HDC dc = CreateCompatibleDC(nullptr);
    const platform::Painter measure(dc);
    for (const auto& c : dialog.controls) {
        const std::string name = panel_test::Narrow(c.text) + " (" + std::to_string(c.id) + ")";
        EXPECT_TRUE(Inside(c.rect, client)) << name << " is outside the dialog";
        const int width = c.rect.right - c.rect.left;
        const int height = c.rect.bottom - c.rect.top;
        const SIZE text = measure.TextExtent(c.text, kControlFont, FW_NORMAL);
        if (layout.pictures.contains(c.id)) {
            // drawn by its owner
        } else if (layout.groups.contains(c.id)) {
            EXPECT_LE(kGroupIndent + text.cx + 6, width - kGroupIndent) << name;
        } else if (layout.wrapped.contains(c.id)) {
            const int room = width - (layout.indicators.contains(c.id) ? kIndicatorBox : 0);
            EXPECT_LE(
                measure.TextHeight(c.text, room, kControlFont, FW_NORMAL, DT_LEFT | DT_WORDBREAK),
                height)
                << name;
        } else if (layout.indicators.contains(c.id)) {
            EXPECT_LE(kIndicatorBox + text.cx, width) << name;
            EXPECT_LE(text.cy, height) << name;
        } else if (c.className == L"button") {
            EXPECT_LE(text.cx + 2 * kPushPadding, width) << name;
            EXPECT_LE(text.cy + 4, height) << name;
        } else {
            EXPECT_LE(text.cx, width) << name;
            EXPECT_LE(text.cy, height) << name;
        }
        for (const auto& other : dialog.controls) {
            if (&other == &c || !Overlap(c.rect, other.rect)) continue;
            const bool framed = layout.groups.contains(other.id) && !layout.groups.contains(c.id) &&
                                Inside(c.rect, other.rect);
            const bool frames = layout.groups.contains(c.id) && !layout.groups.contains(other.id) &&
                                Inside(other.rect, c.rect);
            EXPECT_TRUE(framed || frames) << name << " overlaps " << panel_test::Narrow(other.text)
                                          << " (" << other.id << ")";
        }
    }
    DeleteDC(dc);
}

void ExpectFittingHelp(const platform::WindowInfo& box, const std::wstring& caption,
                       const std::wstring& start)
{
    EXPECT_EQ(box.title, caption);
    EXPECT_EQ(box.messageText.rfind(start, 0), 0u) << panel_test::Narrow(box.messageText);
    EXPECT_GT(box.messageText.size(), start.size());  // more than the first words
    EXPECT_LT(box.rect.right - box.rect.left, kLargestBoxWidth) << panel_test::Narrow(caption);
    EXPECT_LT(box.rect.bottom - box.rect.top, kLargestBoxHeight) << panel_test::Narrow(caption);
}

void Screenshot(const std::string& name)
{
    const char* dir = std::getenv("DRYING_MODE_SCREENSHOTS");
    if (dir == nullptr || *dir == '\0') return;
    std::filesystem::create_directories(dir);
    platform::WaitIdle();  // every window painted
    platform::SaveScreenshot(std::filesystem::path(dir) / (name + ".png"));
}

}  // namespace drying_test
