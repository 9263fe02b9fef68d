// The screen tests' look-up of drawn texts: a found text comes back as drawn, and a text the
// paint did not draw fails the test with what was drawn instead of ending the test program.
#include "tests/dryer/screens/drawn_text_support.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include "resources/orbitdryer/panel_colours.h"

namespace {

using screens_test::Drawn;
using screens_test::DrawnTexts;
using screens_test::Has;
using screens_test::kNotAColour;

// The statements of EXPECT_FATAL_FAILURE may not name local variables.
const DrawnTexts kPaint = {
    {L"LOW FIRE", RECT{10, 20, 90, 40}, kBlue},
    {L"185", RECT{10, 50, 40, 70}, kRed},
    {L"185", RECT{60, 50, 90, 70}, kGreen},
};
const DrawnTexts kNothing;

TEST(DrawnText, GivesTheFirstTextWithTheseWords)
{
    const platform::DrawnText low = Drawn(kPaint, L"LOW FIRE");
    EXPECT_EQ(low.text, L"LOW FIRE");
    EXPECT_EQ(low.colour, kBlue);
    EXPECT_EQ(low.rect, (RECT{10, 20, 90, 40}));
    EXPECT_EQ(Drawn(kPaint, L"185").colour, kRed);
    EXPECT_TRUE(Has(kPaint, L"185"));
    EXPECT_FALSE(Has(kPaint, L"HIGH FIRE"));
    EXPECT_FALSE(Has(kNothing, L"185"));
}

TEST(DrawnText, AMissingTextFailsTheTestNamingItAndWhatWasDrawn)
{
    EXPECT_FATAL_FAILURE(Drawn(kPaint, L"HIGH FIRE"), "\"HIGH FIRE\" was not drawn");
    EXPECT_FATAL_FAILURE(Drawn(kPaint, L"HIGH FIRE"), "\"LOW FIRE\"\n  \"185\"\n  \"185\"");
    EXPECT_FATAL_FAILURE(Drawn(kNothing, L"185"), "the paint drew: nothing");
}

TEST(DrawnText, AMissingTextComesBackEmptySoThatItsChecksFailToo)
{
    static platform::DrawnText missing{L"x", RECT{1, 2, 3, 4}, kRed};
    EXPECT_FATAL_FAILURE(missing = Drawn(kPaint, L"HIGH FIRE"), "HIGH FIRE");
    EXPECT_EQ(missing.text, L"");
    EXPECT_EQ(missing.colour, kNotAColour);
    EXPECT_EQ(missing.rect, (RECT{0, 0, 0, 0}));
}

}  // namespace
