// Text helpers that the runtime and the storage share: splitting a text at separators (words of
// a command line, the folders of a panel path or a registry key). Not for application code.
#pragma once

#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace platform::detail {

// The pieces of `text` between any of the `separators`, left to right. Runs of separators and
// separators at either end make no empty pieces: "  a  b " gives "a" and "b".
template <class Char>
std::vector<std::basic_string<Char>> SplitAtAny(
    std::basic_string_view<Char> text,
    std::type_identity_t<std::basic_string_view<Char>> separators)
{
    std::vector<std::basic_string<Char>> parts;
    std::basic_string<Char> current;
    for (const Char c : text) {
        if (separators.find(c) != std::basic_string_view<Char>::npos) {
            if (!current.empty()) parts.push_back(std::move(current));
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.empty()) parts.push_back(std::move(current));
    return parts;
}

}  // namespace platform::detail
