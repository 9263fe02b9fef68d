// The panel's UTF-8 conversions, which file names, drawn text, the registry, the record store
// and the automation socket all share: decoding refuses every malformed form byte by byte.
#include "platform/runtime/utf8.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(Utf8, WidenRefusesOverlongAndInvalidInput)
{
    struct Case {
        const char* name;
        std::string utf8;
        std::wstring wide;
    };
    const std::wstring bad = L"\uFFFD";
    const Case cases[] = {
        {"overlong slash in two bytes", "\xC0\xAF", bad + bad},
        {"overlong slash in three bytes", "\xE0\x80\xAF", bad + bad + bad},
        {"overlong nul in four bytes", "\xF0\x80\x80\x80", bad + bad + bad + bad},
        {"an encoded surrogate", "\xED\xA0\x80", bad + bad + bad},
        {"past U+10FFFF", "\xF4\x90\x80\x80", bad + bad + bad + bad},
        {"a lead byte of five", "\xF8\x88\x80\x80\x80", bad + bad + bad + bad + bad},
        {"a continuation without a lead",
         "\x80"
         "a",
         bad + L"a"},
        {"cut short by a letter",
         "\xE2\x82"
         "A",
         bad + bad + L"A"},
        {"cut short by the end", "\xF0\x9F\x98", bad + bad + bad},
        {"the smallest three-byte form", "\xE0\xA0\x80", L"\u0800"},
        {"the largest code point", "\xF4\x8F\xBF\xBF", L"\U0010FFFF"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(platform::Widen(c.utf8), c.wide);
    }
}

}  // namespace
