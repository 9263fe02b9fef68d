// "USER SETTINGS - 20": SAVE SETTINGS and RESTORE SETTINGS each send one request bit with the
// rest of the units-and-options byte as the dryer reports it; CANCEL sends nothing.
#include <gtest/gtest.h>

#include <set>

#include "dryer/link/dryer_image.h"
#include "dryer/link/pending_command.h"
#include "dryer/setup/user_settings_dialog.h"
#include "platform/windowing/dialog.h"
#include "tests/dryer/setup/drying_mode_support.h"

namespace {

using namespace drying_test;

// A headless screen per test, the image set by the test.
class UserSettingsTest : public DryingModeTest {};

INT_PTR OpenAndPress(int reported, int button)
{
    Report(unitsAndOptions, reported);
    return RunDialog([] { return OpenUserSettings(nullptr); }, kUserSettingsTitle,
                     [&] { Press(button); });
}

TEST_F(UserSettingsTest, EachButtonSendsItsOwnRequestOnce)
{
    const struct {
        int reported;
        int button;
        int sent;
    } cases[] = {
        {0xC0, kUserSettingsSave, 0xC2},     // SI units and graph view kept
        {0xC0, kUserSettingsRestore, 0xC1},  //
        {0x38, kUserSettingsSave, 0x3A},     // batch safety bits kept
        {0x03, kUserSettingsSave, 0x02},     // a save never goes out with a restore
        {0x03, kUserSettingsRestore, 0x01},  // nor a restore with a save
    };
    for (const auto& c : cases) {
        PendingCommand.ClearAll();
        EXPECT_EQ(OpenAndPress(c.reported, c.button), IDOK);
        EXPECT_EQ(Value(DesiredSettings, unitsAndOptions), c.sent) << c.reported;
        EXPECT_EQ(RaisedFlags(), (std::set<Pending>{Pending::unitsAndOptions})) << c.reported;
    }
}

TEST_F(UserSettingsTest, CancelSendsNothing)
{
    SetValue(DesiredSettings, unitsAndOptions, 0x40);
    EXPECT_EQ(OpenAndPress(0x80, IDCANCEL), IDCANCEL);
    EXPECT_EQ(Value(DesiredSettings, unitsAndOptions), 0x40);
    EXPECT_TRUE(RaisedFlags().empty());
}

TEST_F(UserSettingsTest, ShowsItsTextsTidily)
{
    Report(unitsAndOptions, 0);
    RunDialog([] { return OpenUserSettings(nullptr); }, kUserSettingsTitle,
              [] {
                  EXPECT_EQ(
                      TextOf(kUserSettingsSaveText),
                      L"Press SAVE SETTINGS to store current dryer settings for retrieval later.");
                  EXPECT_EQ(TextOf(kUserSettingsRestoreText),
                            L"Press RESTORE SETTINGS to restore saved settings.");
                  const auto dialog = Window(kUserSettingsTitle);
                  ASSERT_TRUE(dialog.has_value());
                  ExpectTidyLayout(*dialog, Layout{});
                  Screenshot("user_settings_20");
                  Press(IDCANCEL);
              });
    EXPECT_TRUE(RaisedFlags().empty());
}

}  // namespace
