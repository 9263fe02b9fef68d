// Looking up the texts of a paint; a missing text is a test failure that lists what was drawn.
#include "tests/dryer/screens/drawn_text_support.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace screens_test {

namespace {

const platform::DrawnText* FindText(const DrawnTexts& texts, const std::wstring& text)
{
    const auto found = std::find_if(texts.begin(), texts.end(),
                                    [&](const platform::DrawnText& t) { return t.text == text; });
    return found == texts.end() ? nullptr : &*found;
}

// Records the fatal failure; the caller goes on with an empty text.
void FailMissing(const DrawnTexts& texts, const std::wstring& text, const char* file, int line)
{
    ::testing::Message drawn;
    for (const platform::DrawnText& t : texts) drawn << "\n  \"" << t.text << "\"";
    if (texts.empty()) drawn << " nothing";
    GTEST_FAIL_AT(file, line) << "\"" << text << "\" was not drawn; the paint drew:" << drawn;
}

}  // namespace

platform::DrawnText Drawn(const DrawnTexts& texts, const std::wstring& text, const char* file,
                          int line)
{
    if (const platform::DrawnText* found = FindText(texts, text)) return *found;
    FailMissing(texts, text, file, line);
    return platform::DrawnText{L"", RECT{0, 0, 0, 0}, kNotAColour};
}

bool Has(const DrawnTexts& texts, const std::wstring& text)
{
    return FindText(texts, text) != nullptr;
}

}  // namespace screens_test
