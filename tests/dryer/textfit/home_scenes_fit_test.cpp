// Every text of the home panels and warning screens fits its box: the display runs in this
// process without a link, each scene of panel_scenes is written into the dryer image, and the
// inspection tree of the screen is checked.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "dryer/app/orbitdryer.h"
#include "platform/runtime/runtime.h"
#include "platform/runtime/test_support.h"
#include "tests/dryer/program/panel_run.h"
#include "tests/dryer/textfit/fit_pictures_support.h"
#include "tests/support/text_fit_check.h"
#include "tools/panel_scenes/home_panel_scenes.h"

namespace {

class HomeScenes : public ::testing::Test {
protected:
    void SetUp() override
    {
        panel_test::EnsureVirtualClock();
        root_ = panel_test::FreshPanelRoot();
        options_.root = root_.string();
        options_.port = (root_ / "no-port").string();  // no board: the scenes feed the image
        options_.headless = true;
        ui_ = std::make_unique<platform::UiThread>([this] { OrbitDryerMain(options_); });
        for (int i = 0; i < 200 && panel_test::PanelRun::MainWindowCount() == 0; ++i) {
            platform::WaitIdle();
        }
    }
    void TearDown() override
    {
        ui_.reset();
        std::error_code ec;
        std::filesystem::remove_all(root_, ec);
    }

    std::filesystem::path root_;
    OrbitDryerOptions options_;
    std::unique_ptr<platform::UiThread> ui_;
};

TEST_F(HomeScenes, EveryTextFitsItsBoxAndKeepsOffThePictures)
{
    ASSERT_EQ(panel_test::PanelRun::MainWindowCount(), 1);
    const auto scenes = HomePanelScenes();
    ASSERT_GE(scenes.size(), 10u);
    for (const Scene& scene : scenes) {
        SCOPED_TRACE(scene.name);
        ShowScene(scene);
        const auto windows = platform::InspectWindows();
        std::size_t texts = 0;
        std::size_t pictures = 0;
        for (const auto& w : windows) {
            texts += w.texts.size();
            pictures += w.pictures.size();
        }
        EXPECT_GT(texts, 10u) << "the scene drew hardly any text";
        EXPECT_GT(pictures, 3u) << "the dryer picture, its fans and symbols are pictures";
        for (const std::string& problem : text_fit::Problems(windows)) ADD_FAILURE() << problem;
        fit_test::KeepPicture("scene-" + scene.name);
    }
}

}  // namespace
