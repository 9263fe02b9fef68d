// Opening the set-up screens from the home screen, and reading their controls and flags.
#include "tests/dryer/setup/setup_support.h"

#include <gtest/gtest.h>

#include "dryer/screens/screen_manager.h"
#include "dryer/screens/screen_procs.h"
#include "dryer/setup/hardware_dialogs.h"
#include "dryer/setup/setup_selection.h"
#include "tests/dryer/program/panel_run.h"

namespace setup_test {

bool OpenSetupSelection()
{
    return platform::PressControl(kCmdSetup) && panel_test::Shown(kSetupSelectionClass);
}

bool OpenBurnerModeDialog()
{
    return OpenSetupSelection() && platform::PressControl(kSetupBurnerModeButton) &&
           panel_test::FindTitled(kBurnerModeTitle).has_value();
}

bool OpenHardwareSetupDialog()
{
    return OpenSetupSelection() && platform::PressControl(kSetupExtendedButton) &&
           panel_test::Shown(kExtendedSetupClass) &&
           platform::PressControl(kExtendedHardwareButton) &&
           panel_test::FindTitled(kHardwareSetupTitle).has_value();
}

std::optional<platform::ControlInfo> Control(int id)
{
    return panel_test::FindControl(id);
}

bool Checked(int id)
{
    const auto c = Control(id);
    return c.has_value() && c->checked;
}

bool Visible(int id)
{
    const auto c = Control(id);
    return c.has_value() && c->visible;
}

bool Enabled(int id)
{
    const auto c = Control(id);
    return c.has_value() && c->enabled;
}

std::wstring Text(int id)
{
    const auto c = Control(id);
    return c.has_value() ? c->text : L"(no control)";
}

int CheckedIndex(int firstId, int count)
{
    int found = -1;
    for (int i = 0; i < count; ++i) {
        if (!Checked(firstId + i)) continue;
        if (found >= 0) return -2;  // two at once: never right
        found = i;
    }
    return found;
}

Flags SetupFlagsSet()
{
    const struct {
        Pending flag;
        const char* name;
    } flags[] = {
        {Pending::heaterCount, "heaterCount"},
        {Pending::moduleCount, "moduleCount"},
        {Pending::fuel, "fuel"},
        {Pending::loadSystem, "loadSystem"},
        {Pending::dryerLength, "dryerLength"},
        {Pending::byte50, "byte50"},
        {Pending::plenumDifferential6, "plenumDifferential6"},
        {Pending::plenumDifferential5, "plenumDifferential5"},
        {Pending::plenumDifferential4, "plenumDifferential4"},
        {Pending::plenumDifferential3, "plenumDifferential3"},
        {Pending::plenumDifferential2, "plenumDifferential2"},
        {Pending::plenumDifferential1, "plenumDifferential1"},
        {Pending::heaterByte1, "heaterByte1"},
        {Pending::heaterByte2, "heaterByte2"},
        {Pending::heaterByte3, "heaterByte3"},
        {Pending::heaterByte4, "heaterByte4"},
        {Pending::heaterByte5, "heaterByte5"},
        {Pending::heaterByte6, "heaterByte6"},
        {Pending::unloadRateLimit1, "unloadRateLimit1"},
        {Pending::unloadRateLimit2, "unloadRateLimit2"},
        {Pending::byte224, "byte224"},
        {Pending::optionByte257, "optionByte257"},
        {Pending::optionByte293, "optionByte293"},
    };
    Flags set;
    for (const auto& f : flags) {
        if (PendingCommand.IsSet(f.flag)) set.emplace_back(f.name);
    }
    return set;
}

namespace {

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

void ExpectTidyLayout(const std::wstring& title, int (*frameOf)(int id))
{
    const auto dialog = panel_test::FindTitled(title);
    ASSERT_TRUE(dialog.has_value());
    EXPECT_TRUE(Inside(dialog->rect, RECT{0, 0, 640, 480}));
    std::vector<platform::ControlInfo> shown;
    for (const auto& c : dialog->controls) {
        if (c.visible) shown.push_back(c);
    }
    for (const auto& c : shown) {
        EXPECT_TRUE(Inside(c.rect, dialog->rect)) << c.id;
        const int frame = frameOf(c.id);
        if (frame != 0 && frame != c.id) {
            const auto f = Control(frame);
            ASSERT_TRUE(f.has_value() && f->visible) << c.id;
            EXPECT_TRUE(Inside(c.rect, f->rect)) << c.id;
        }
        for (const auto& other : shown) {
            const bool nested = frameOf(other.id) == c.id || frameOf(c.id) == other.id;
            if (other.id > c.id && !nested) {
                EXPECT_FALSE(Overlap(c.rect, other.rect)) << c.id << " and " << other.id;
            }
        }
    }
}

}  // namespace setup_test
