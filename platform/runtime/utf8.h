// UTF-8 and the panel's wide text: file names, drawn text, registry and record store texts and
// automation commands all cross between the two here.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// Decodes UTF-8 strictly: a stray or invalid byte, a sequence cut short, an overlong form, a
// surrogate or a code point past U+10FFFF each become U+FFFD, and decoding goes on with the
// next byte.
std::wstring Widen(std::string_view utf8);

// Encodes wide text as UTF-8; a surrogate or a value past U+10FFFF becomes U+FFFD.
std::string Narrow(std::wstring_view wide);

}  // namespace platform
