// Pictures of the installer's dialogs for people to look at: the search, the selection, the
// install dialog midway, during the languages and at the end. They are written to
// $USB_SCREENSHOT_DIR (default: <temp>/copyorbitfiles-screens). Each dialog is also checked to
// lie on the screen, with its controls inside it and apart from one another.
#include <gtest/gtest.h>

#include <cstdlib>

#include "installer/install_dialogs.h"
#include "tests/installer/usb_install_support.h"

namespace {

using namespace usb_test;

fs::path ScreenshotDir()
{
    const char* dir = std::getenv("USB_SCREENSHOT_DIR");
    const fs::path path = dir != nullptr && *dir != '\0'
                              ? fs::path(dir)
                              : fs::temp_directory_path() / "copyorbitfiles-screens";
    fs::create_directories(path);
    return path;
}

bool Inside(const RECT& inner, const RECT& outer)
{
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

bool Overlap(const RECT& a, const RECT& b)
{
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

void ExpectTidy(const std::wstring& caption)
{
    const auto dialog = FindTitled(caption);
    ASSERT_TRUE(dialog.has_value()) << Narrow(caption);
    EXPECT_TRUE(Inside(dialog->rect, RECT{0, 0, 640, 480})) << Narrow(caption);
    std::vector<platform::ControlInfo> shown;
    for (const auto& c : dialog->controls) {
        if (c.visible) shown.push_back(c);
    }
    for (std::size_t i = 0; i < shown.size(); ++i) {
        EXPECT_TRUE(Inside(shown[i].rect, dialog->rect)) << shown[i].id;
        for (std::size_t j = i + 1; j < shown.size(); ++j) {
            EXPECT_FALSE(Overlap(shown[i].rect, shown[j].rect))
                << shown[i].id << " and " << shown[j].id;
        }
    }
}

void Shoot(const char* name)
{
    EXPECT_TRUE(platform::SaveScreenshot(ScreenshotDir() / name)) << name;
}

TEST(UsbScreenshots, SearchAndSelection)
{
    UsbInstallRun run;
    fs::remove_all(run.usb());
    run.Install();
    Answer(L" NO USB FLASH DRIVE FOUND", L"Yes");
    run.Advance(30000);
    ExpectTidy(kSearchCaption);
    Shoot("usb-search.png");
    ASSERT_TRUE(platform::PressControl(kSearchCancel));

    fs::create_directories(run.usb());
    for (const char* name : {"CAN_DRYER_P103", "CAN_DRYER_P104", "CAN_DRYER_P105"}) {
        run.UsbRelease(name);
    }
    run.Install();
    Answer(L" COPY PROGRAM FILE FROM USB FLASH DRIVE?", L"No");
    ASSERT_TRUE(platform::PressControl(kSelectionUp));
    ExpectTidy(kSelectionCaption);
    Shoot("usb-selection.png");
    ASSERT_TRUE(platform::PressControl(kSelectionCancel));
}

TEST(UsbScreenshots, InstallMidwayDuringLanguagesAndAtTheEnd)
{
    UsbInstallRun run;
    std::map<std::string, std::string> files = {
        {"NodeFlasher.exe", "flasher"},       {"OrbitDryer.exe", "dryer"},
        {"Kickoff.exe", "kickoff"},           {"SystemFiles/nk.bin", "nk"},
        {"SystemFiles/config.sys", "config"}, {"Manuals/Dryer Manual.pdf", "manual"}};
    for (int i = 1; i <= 12; ++i) {
        files["WarningBitmaps/NID_02_WARNING_ID_" + std::to_string(10 + i) + ".bmp"] = "bmp";
    }
    for (const char* code : {"EN", "DE", "FR"}) {
        files[std::string("Languages/") + code + "/Bitmaps/home.bmp"] = code;
        files[std::string("Languages/") + code + "/root.txt"] = code;
    }
    run.UsbRelease("CAN_DRYER_P105", files);
    run.Install();
    Answer(L" COPY PROGRAM FILE FROM USB FLASH DRIVE?", L"Yes");
    ASSERT_EQ(run.RunCopy(10), CopyStop::StillRunning);
    ExpectTidy(kInstallCaption);
    Shoot("usb-install-midway.png");
    bool languagesShot = false;
    for (int i = 0; i < 100; ++i) {
        const auto rows = Rows(kInstallList);
        if (!rows.empty() && rows.back() == L"Languages Installation Complete...") {
            ExpectTidy(kInstallCaption);
            Shoot("usb-install-languages.png");
            languagesShot = true;
        }
        if (run.RunCopy(1) != CopyStop::StillRunning) break;
    }
    EXPECT_TRUE(languagesShot);
    EXPECT_FALSE(TopMessageBox().has_value());
    ExpectTidy(kInstallCaption);
    Shoot("usb-install-end.png");
    ASSERT_TRUE(platform::PressControl(kInstallCancel));
}

}  // namespace
