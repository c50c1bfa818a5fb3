#pragma once
// Path splitting by the host's rules: both '/' and '\' separate folders on
// every platform, so paths written on one system split the same way on
// another. Views into the path; nothing is allocated.

#include <string_view>

namespace ostrel {

constexpr bool isPathSeparator(char c) noexcept { return c == '/' || c == '\\'; }

// Everything up to and including the last separator; empty when there is none.
constexpr std::string_view folderPart(std::string_view path) noexcept {
    for (size_t i = path.size(); i > 0; --i)
        if (isPathSeparator(path[i - 1])) return path.substr(0, i);
    return {};
}

// The part after the last separator; the whole path when there is none.
constexpr std::string_view fileNamePart(std::string_view path) noexcept {
    return path.substr(folderPart(path).size());
}

// `text` cut before its last '.'; unchanged when it has none.
constexpr std::string_view withoutExtension(std::string_view text) noexcept {
    return text.substr(0, text.rfind('.'));
}

// The file name part without its extension.
constexpr std::string_view baseNameWithoutExtension(std::string_view path) noexcept {
    return withoutExtension(fileNamePart(path));
}

}  // namespace ostrel
