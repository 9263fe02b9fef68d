// Pressing, holding and reading the calibration screens.
#include "tests/dryer/setup/calibration_screens_support.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/dryer/setup/setup_support.h"
#include "tests/support/text_fit_check.h"

namespace calibration_test {

bool Press(int id, int times)
{
    for (int i = 0; i < times; ++i) {
        if (!platform::PressControl(id)) return false;
    }
    return true;
}

POINT Middle(int id)
{
    const auto c = setup_test::Control(id);
    if (!c) return POINT{-1, -1};
    return POINT{(c->rect.left + c->rect.right) / 2, (c->rect.top + c->rect.bottom) / 2};
}

std::set<Pending> Raised()
{
    std::set<Pending> raised;
    for (std::size_t i = 0; i < kPendingCount; ++i) {
        const auto flag = static_cast<Pending>(i);
        if (flag != Pending::clock && PendingCommand.IsSet(flag)) raised.insert(flag);
    }
    return raised;
}

void ExpectTextsFit()
{
    platform::WaitIdle();
    for (const std::string& p : text_fit::Problems(platform::InspectWindows())) ADD_FAILURE() << p;
}

}  // namespace calibration_test
