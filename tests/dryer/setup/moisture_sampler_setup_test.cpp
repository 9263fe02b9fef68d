// "Moisture Sampler Setup": each SELECT steps its setting through its values and wraps, sends
// the sampler option byte at once, and leaves the installed bit and the other settings alone.
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "dryer/link/dryer_image.h"
#include "dryer/link/pending_command.h"
#include "dryer/setup/moisture_sampler_setup.h"
#include "platform/windowing/dialog.h"
#include "tests/dryer/setup/drying_mode_support.h"

namespace {

using namespace drying_test;
using Flags = std::set<Pending>;

class MoistureSamplerTest : public DryingModeTest {
protected:
    INT_PTR RunSampler(const std::function<void()>& operate)
    {
        return RunDialog([] { return OpenMoistureSamplerSetup(nullptr); }, kMoistureSamplerTitle,
                         operate);
    }
};

struct SettingCase {
    const char* name;
    int valueId;
    int selectId;
    ImageBits bits;
    std::vector<std::wstring> texts;  // the texts of values 0, 1, ...
};

const std::vector<SettingCase>& Settings()
{
    static const std::vector<SettingCase> cases = {
        {"cleaning action",
         kSamplerActionValue,
         kSamplerActionSelect,
         samplerCleaningActionBit,
         {L"Shutdown Dryer Immediately", L"Switch to Grain Temperature Moisture Control"}},
        {"action delay",
         kSamplerDelayValue,
         kSamplerDelaySelect,
         samplerActionDelayBits,
         {L"Zero", L"1/2 Hour", L"1 Hour", L"2 Hour"}},
        {"grain temperature time",
         kSamplerGrainTempValue,
         kSamplerGrainTempSelect,
         samplerGrainTempTimeBits,
         {L"1 Hour", L"2 Hours", L"4 Hours", L"Indefinite"}},
    };
    return cases;
}

TEST_F(MoistureSamplerTest, OpensOnTheDryersSettingsAndSendsNothing)
{
    // installed, switch to grain temperature, 1 hour delay, indefinite
    Report(samplerOption, 0x80 | 0x20 | (2 << 3) | (3 << 1));
    EXPECT_EQ(RunSampler([] {
                  EXPECT_EQ(TextOf(kSamplerActionValue),
                            L"Switch to Grain Temperature Moisture Control");
                  EXPECT_EQ(TextOf(kSamplerDelayValue), L"1 Hour");
                  EXPECT_EQ(TextOf(kSamplerGrainTempValue), L"Indefinite");
                  Press(kSamplerExit);
              }),
              IDOK);
    EXPECT_TRUE(RaisedFlags().empty());
}

// Every press of every SELECT: the next value (wrapping after the last), its text, the flag
// raised by that press alone, and every other bit of the byte as the dryer reported it. Run
// with the installed bit and the spare bit 0 both set and both clear.
TEST_F(MoistureSamplerTest, EachSelectStepsItsOwnBitsAndSendsAtOnce)
{
    for (const int others : {0x81, 0x00}) {
        for (const SettingCase& c : Settings()) {
            PendingCommand.ClearAll();
            Report(samplerOption, others);
            RunSampler([&] {
                const int count = static_cast<int>(c.texts.size());
                for (int press = 1; press <= count + 1; ++press) {
                    PendingCommand.ClearAll();
                    Press(c.selectId);
                    const int expected = press % count;
                    EXPECT_EQ(BitsValue(DesiredSettings, c.bits), expected)
                        << c.name << " press " << press;
                    EXPECT_EQ(TextOf(c.valueId), c.texts[static_cast<std::size_t>(expected)])
                        << c.name;
                    EXPECT_EQ(Value(DesiredSettings, samplerOption) & ~c.bits.mask, others)
                        << c.name << " press " << press;
                    EXPECT_EQ(RaisedFlags(), (Flags{Pending::optionByte293})) << c.name;
                }
                Press(kSamplerExit);
            });
        }
    }
}

TEST_F(MoistureSamplerTest, SettingsStepIndependently)
{
    Report(samplerOption, 0x80);
    RunSampler([] {
        Press(kSamplerActionSelect);  // grain temperature
        Press(kSamplerDelaySelect);
        Press(kSamplerDelaySelect);  // 1 hour
        Press(kSamplerGrainTempSelect);
        Press(kSamplerGrainTempSelect);
        Press(kSamplerGrainTempSelect);  // indefinite
        EXPECT_EQ(TextOf(kSamplerActionValue), L"Switch to Grain Temperature Moisture Control");
        EXPECT_EQ(TextOf(kSamplerDelayValue), L"1 Hour");
        EXPECT_EQ(TextOf(kSamplerGrainTempValue), L"Indefinite");
        Press(kSamplerExit);
    });
    EXPECT_EQ(Value(DesiredSettings, samplerOption), 0x80 | 0x20 | 0x10 | 0x06);
    EXPECT_EQ(RaisedFlags(), (Flags{Pending::optionByte293}));
}

// A change still on its way is what the screen opens on, not the dryer's older byte.
TEST_F(MoistureSamplerTest, OpensOnAChangeStillOnItsWay)
{
    Report(samplerOption, 0x80);
    SetValue(DesiredSettings, samplerOption, 0x80 | 0x08);
    PendingCommand.Set(Pending::optionByte293);
    RunSampler([] {
        EXPECT_EQ(TextOf(kSamplerDelayValue), L"1/2 Hour");
        Press(kSamplerDelaySelect);
        Press(kSamplerExit);
    });
    EXPECT_EQ(Value(DesiredSettings, samplerOption), 0x80 | 0x10);
}

TEST_F(MoistureSamplerTest, EveryTextFitsItsBox)
{
    Report(samplerOption, 0x80 | 0x20 | 0x18 | 0x06);
    RunSampler([] {
        const auto dialog = Window(kMoistureSamplerTitle);
        ASSERT_TRUE(dialog.has_value());
        Layout layout;
        layout.groups = {kSamplerActionFrame, kSamplerDelayFrame, kSamplerGrainTempFrame};
        ExpectTidyLayout(*dialog, layout);
        Screenshot("moisture_sampler_setup");
        Press(kSamplerExit);
    });
}

}  // namespace
