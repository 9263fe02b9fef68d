// The texts of one paint, as the platform's inspection records them, looked up by their words.
#pragma once

#include <string>
#include <vector>

#include "platform/runtime/runtime.h"

namespace screens_test {

using DrawnTexts = std::vector<platform::DrawnText>;

// No paint draws in it: its top byte is set (colours are 0x00BBGGRR).
inline constexpr COLORREF kNotAColour = 0xFFFFFFFF;

// The first text drawn with these words. A text the paint did not draw fails the test at the
// line that asked for it (a fatal failure naming the text and every text that was drawn) and
// comes back with no words, an empty box and kNotAColour, so that the checks made on it fail as
// well instead of reading an empty result.
platform::DrawnText Drawn(const DrawnTexts& texts, const std::wstring& text,
                          const char* file = __builtin_FILE(), int line = __builtin_LINE());

// True when a text with these words was drawn.
bool Has(const DrawnTexts& texts, const std::wstring& text);

}  // namespace screens_test
