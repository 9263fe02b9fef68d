// The unload status window against the simulated dryer: hidden by the home composition, and,
// shown, the meter roll speed, the throughput and total bushels, and the three metering presets
// with the active one highlighted, repainted as the dryer reports changes; its speed button
// opens the meter roll speed screen.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "dryer/link/dryer_image.h"
#include "dryer/screens/entry_dialogs.h"
#include "dryer/screens/screen_manager.h"
#include "dryer/screens/unload_status_window.h"
#include "platform/runtime/runtime.h"
#include "platform/windowing/window.h"
#include "resources/orbitdryer/panel_colours.h"
#include "tests/dryer/program/panel_run.h"

namespace {

using panel_test::PanelRun;

constexpr const wchar_t* kWindowClass = L"UNLOAD_STATUS_WINDOW";

void ShowFromTimer(HWND wnd, UINT, UINT_PTR id, DWORD)
{
    KillTimer(wnd, id);
    ShowScreen(Screens().unloadStatus, true);
}

// Shows the window the way a screen of the display would, on its own thread.
void ShowUnloadStatus(PanelRun& panel)
{
    constexpr UINT_PTR kShowTimer = 0x5E48;
    ASSERT_NE(SetTimer(Screens().main, kShowTimer, 10, ShowFromTimer), 0u);
    panel.Advance(175);
    ASSERT_TRUE(panel_test::Shown(kWindowClass));
}

std::vector<platform::DrawnText> WindowTexts()
{
    const auto w = panel_test::FindShown(kWindowClass);
    return w ? w->texts : std::vector<platform::DrawnText>{};
}

std::vector<platform::DrawnText> ButtonTexts(int id)
{
    const auto c = panel_test::FindControl(id);
    return c ? c->texts : std::vector<platform::DrawnText>{};
}

std::optional<platform::DrawnText> Find(const std::vector<platform::DrawnText>& texts,
                                        const std::wstring& text)
{
    for (const auto& t : texts) {
        if (t.text == text) return t;
    }
    return std::nullopt;
}

std::string Listed(const std::vector<platform::DrawnText>& texts)
{
    std::string list;
    for (const auto& t : texts) list += "[" + panel_test::Narrow(t.text) + "] ";
    return list;
}

// Every text of the window and its buttons inside its box, none cut.
void ExpectTextsFit()
{
    const auto w = panel_test::FindShown(kWindowClass);
    ASSERT_TRUE(w.has_value());
    std::vector<platform::DrawnText> all = w->texts;
    for (const auto& c : w->controls) all.insert(all.end(), c.texts.begin(), c.texts.end());
    for (const auto& t : all) {
        EXPECT_FALSE(t.cut) << panel_test::Narrow(t.text);
        // a glyph's side bearing may reach a pixel past the box
        EXPECT_GE(t.extent.left, t.box.left - 2) << panel_test::Narrow(t.text);
        EXPECT_LE(t.extent.right, t.box.right + 2) << panel_test::Narrow(t.text);
    }
}

class UnloadStatusWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(panel_.started());
        panel_.Pin(meteringPresetHighSpeed, 25);
        panel_.Pin(meteringPresetMediumSpeed, 17);
        panel_.Pin(meteringPresetLowSpeed, 9);
        panel_.Pin(meterRollSpeed, 123);
        panel_.Pin(bushelsPerHour, 850);
        panel_.Pin(bushelCounter, 1234 * 3600 + 3599);  // 1234 whole bushels
    }
    PanelRun panel_;
};

TEST_F(UnloadStatusWindow, TheHomeScreenKeepsItHidden)
{
    EXPECT_FALSE(panel_test::Shown(kWindowClass));
    panel_.Cycles(3);
    EXPECT_FALSE(panel_test::Shown(kWindowClass));
}

TEST_F(UnloadStatusWindow, ShowsSpeedThroughputAndTotal)
{
    ShowUnloadStatus(panel_);
    const auto texts = WindowTexts();
    EXPECT_TRUE(Find(texts, L"12.3").has_value()) << Listed(texts);
    const auto status = ButtonTexts(kUnloadStatusSelectButton);
    EXPECT_TRUE(Find(status, L"Bushel/Hour:").has_value()) << Listed(status);
    EXPECT_TRUE(Find(status, L"850").has_value()) << Listed(status);
    EXPECT_TRUE(Find(status, L"Total Bushels:").has_value()) << Listed(status);
    EXPECT_TRUE(Find(status, L"1234").has_value()) << Listed(status);

    // a speed below 10 rpm keeps its place: "%2d.%d"
    panel_.Pin(meterRollSpeed, 47);
    EXPECT_TRUE(Find(WindowTexts(), L" 4.7").has_value()) << Listed(WindowTexts());
    ExpectTextsFit();
}

// Each active preset (meteringMode 0 low, 1 medium, 2 high) is the one highlighted: drawn in
// black on its band, the others in blue.
TEST_F(UnloadStatusWindow, HighlightsTheActivePreset)
{
    ShowUnloadStatus(panel_);
    const std::wstring lines[3] = {L" LOW:  0090 ", L" MED:  0170 ", L" HIGH: 0250 "};
    for (const int mode : {0, 1, 2, 0}) {
        panel_.Pin(meteringMode, mode);
        const auto texts = ButtonTexts(kUnloadMrSpeedSelectButton);
        for (int line = 0; line < 3; ++line) {
            const auto t = Find(texts, lines[line]);
            ASSERT_TRUE(t.has_value()) << Listed(texts);
            EXPECT_EQ(t->colour, line == mode ? kBlack : kTextBlue)
                << "mode " << mode << " line " << panel_test::Narrow(lines[line]);
        }
        if (mode == 2) {
            ExpectTextsFit();
            if (const char* dir = std::getenv("SERVICE_SCREENSHOTS")) {
                platform::SaveScreenshot(std::filesystem::path(dir) / "unload_status_window.png");
            }
        }
    }
    // a preset the dryer changes is shown at once
    panel_.Pin(meteringPresetLowSpeed, 12);
    EXPECT_TRUE(Find(ButtonTexts(kUnloadMrSpeedSelectButton), L" LOW:  0120 ").has_value());
}

TEST_F(UnloadStatusWindow, TheSpeedButtonOpensTheMeterRollSpeedScreen)
{
    ShowUnloadStatus(panel_);
    ASSERT_TRUE(platform::PressControl(kUnloadMrSpeedSelectButton));
    bool opened = false;
    for (int i = 0; i < 200 && !opened; ++i) {
        panel_.Advance(175);
        opened = panel_test::FindTitled(kMeterRollSpeedTitle).has_value();
    }
    ASSERT_TRUE(opened);
    platform::SendKey(VK_ESCAPE, false);
    for (int i = 0; i < 200 && panel_test::FindTitled(kMeterRollSpeedTitle); ++i) {
        panel_.Advance(175);
    }
    EXPECT_FALSE(panel_test::FindTitled(kMeterRollSpeedTitle).has_value());
}

}  // namespace
