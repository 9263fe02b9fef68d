// The check of the text-fit walks on windows made up for it: each way a text can fail to fit
// is named, and texts that fit, or stand on a picture meant for them, pass.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/support/text_fit_check.h"

namespace {

platform::DrawnText TextIn(const std::wstring& words, RECT box, RECT extent, bool cut = false)
{
    platform::DrawnText t;
    t.text = words;
    t.rect = extent;
    t.colour = 0;
    t.box = box;
    t.extent = extent;
    t.cut = cut;
    return t;
}

// A 20 x 20 picture at 100, 100 whose left 10 columns are blank.
platform::DrawnPicture HalfBlankPicture()
{
    auto rows = std::make_shared<std::vector<platform::DrawnPicture::InkRow>>(
        20, platform::DrawnPicture::InkRow{10, 19});
    platform::DrawnPicture p;
    p.source = L"#517";
    p.rect = RECT{100, 100, 120, 120};
    p.ink = rows;
    p.inkOrigin = POINT{100, 100};
    return p;
}

platform::WindowInfo Window()
{
    platform::WindowInfo w;
    w.className = L"WARNING_WINDOW";
    w.rect = RECT{0, 0, 300, 200};
    w.pictures.push_back(HalfBlankPicture());
    return w;
}

bool Names(const std::vector<std::string>& problems, const std::string& words)
{
    for (const auto& p : problems) {
        if (p.find(words) != std::string::npos) return true;
    }
    return false;
}

TEST(TextFitCheck, NamesEveryWayATextFailsToFit)
{
    platform::WindowInfo w = Window();
    w.texts.push_back(TextIn(L"OVER", RECT{0, 0, 50, 20}, RECT{2, 3, 60, 17}));
    w.texts.push_back(TextIn(L"CUT", RECT{0, 30, 50, 50}, RECT{2, 33, 48, 47}, true));
    w.texts.push_back(TextIn(L"OUT", RECT{250, 60, 350, 80}, RECT{260, 62, 340, 78}));
    w.texts.push_back(TextIn(L"ON SIGN", RECT{40, 100, 200, 120}, RECT{60, 104, 160, 116}));
    const auto problems = text_fit::Problems(std::vector<platform::WindowInfo>{w});
    EXPECT_TRUE(Names(problems, "\"OVER\" glyphs {2,3,60,17} overflow box {0,0,50,20}"));
    EXPECT_TRUE(Names(problems, "\"CUT\" glyphs {2,33,48,47} are cut"));
    EXPECT_TRUE(Names(problems, "\"OUT\" glyphs {260,62,340,78} leave {0,0,300,200}"));
    EXPECT_TRUE(Names(problems, "\"ON SIGN\" glyphs {60,104,160,116} run over picture #517"));
    for (const auto& p : problems) EXPECT_EQ(p.rfind("WARNING_WINDOW: ", 0), 0u) << p;
}

TEST(TextFitCheck, PassesTextsThatFitOrStandOnTheirPicture)
{
    platform::WindowInfo w = Window();
    w.texts.push_back(TextIn(L"FITS", RECT{0, 0, 50, 20}, RECT{2, 3, 48, 17}));
    w.texts.push_back(TextIn(L"EDGE", RECT{0, 30, 50, 50}, RECT{-1, 33, 51, 47}));  // 1 px
    w.texts.push_back(TextIn(L"LABEL", RECT{102, 102, 118, 118}, RECT{103, 104, 117, 116}));
    w.texts.push_back(TextIn(L"MARGIN", RECT{40, 100, 110, 120}, RECT{60, 104, 110, 116}));
    w.texts.push_back(TextIn(L"   ", RECT{0, 60, 10, 80}, RECT{}));  // blanks have no glyphs
    platform::ControlInfo list;
    list.visible = true;
    list.rect = RECT{0, 150, 300, 200};
    list.texts.push_back(TextIn(L"CELL", RECT{2, 152, 100, 170}, RECT{3, 155, 90, 167}));
    w.controls.push_back(list);
    EXPECT_TRUE(text_fit::Problems(w).empty());

    w.controls[0].texts[0].cut = true;
    const auto problems = text_fit::Problems(w);
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_NE(problems[0].find("control 0: \"CELL\""), std::string::npos) << problems[0];
}

}  // namespace
