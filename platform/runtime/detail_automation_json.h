// The JSON of the automation answers: the window tree and the ok and error lines. Every text
// comes out as valid UTF-8, whatever the panel drew or the client sent. Not for application
// code.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/runtime/runtime.h"

namespace platform::detail {

// Panel text as valid UTF-8: UTF-16 surrogate pairs kept in wide characters are joined, and
// anything that is not a character becomes U+FFFD.
std::string JsonText(const std::wstring& text);

std::string OkJson();                         // {"ok":true}
std::string ErrorJson(std::string_view why);  // {"ok":false,"error":"..."}; any bytes in
// {"ok":true,"windows":[...]}, or {"windows":[...]} without the ok.
std::string WindowsJson(const std::vector<WindowInfo>& windows, bool withOk);

}  // namespace platform::detail
