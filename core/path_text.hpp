#pragma once
// Path splitting by the host's rules: both '/' and '\' separate folders on
// every platform, so paths written on one system split the same way on
// another. Views into the path; nothing is allocated.
//
// Text is walked forward a whole character at a time. On Windows the host's
// text is in the ANSI code page, and in the double-byte ones (932, 936, 949,
// 950) a character can be a lead byte and a second byte that may be 0x5C,
// the byte of '\': a second byte is never taken for a separator, nor looked
// into at all. macOS and Linux take UTF-8, where every byte of a character of
// more than one byte is 0x80 or above, so no character has a lead byte here.

#include <cstddef>
#include <string_view>

namespace ostrel {

// True when `c` begins a two-byte character of the host's text.
using LeadByteTest = bool (*)(unsigned char c) noexcept;
#ifdef _WIN32
// The ANSI code page's lead bytes, read once (core/text_windows.cpp).
bool hostLeadByte(unsigned char c) noexcept;
#else
inline bool hostLeadByte(unsigned char) noexcept { return false; }
#endif

// Bytes of the character that starts at `at`: 2 for a lead byte with its
// second byte, otherwise 1 (a lead byte at the very end stands alone).
inline size_t characterLength(std::string_view text, size_t at, LeadByteTest isLead = hostLeadByte) noexcept {
    return isLead(static_cast<unsigned char>(text[at])) && at + 1 < text.size() ? 2 : 1;
}

constexpr bool isPathSeparator(char c) noexcept { return c == '/' || c == '\\'; }

// Where the last character that is `c` (a single-byte character) starts;
// npos when there is none.
inline size_t findLastCharacter(std::string_view text, char c, LeadByteTest isLead = hostLeadByte) noexcept {
    size_t found = std::string_view::npos;
    for (size_t i = 0; i < text.size(); i += characterLength(text, i, isLead))
        if (text[i] == c && characterLength(text, i, isLead) == 1) found = i;
    return found;
}

// True when the last character of `text` is `c`.
inline bool endsWithCharacter(std::string_view text, char c, LeadByteTest isLead = hostLeadByte) noexcept {
    return !text.empty() && findLastCharacter(text, c, isLead) == text.size() - 1;
}

// Everything up to and including the last separator; empty when there is none.
inline std::string_view folderPart(std::string_view path, LeadByteTest isLead = hostLeadByte) noexcept {
    size_t end = 0;
    for (size_t i = 0; i < path.size(); i += characterLength(path, i, isLead))
        if (isPathSeparator(path[i]) && characterLength(path, i, isLead) == 1) end = i + 1;
    return path.substr(0, end);
}

// The part after the last separator; the whole path when there is none.
inline std::string_view fileNamePart(std::string_view path, LeadByteTest isLead = hostLeadByte) noexcept {
    return path.substr(folderPart(path, isLead).size());
}

// `text` cut before its last '.'; unchanged when it has none.
inline std::string_view withoutExtension(std::string_view text, LeadByteTest isLead = hostLeadByte) noexcept {
    return text.substr(0, findLastCharacter(text, '.', isLead));
}

// The file name part without its extension.
inline std::string_view baseNameWithoutExtension(std::string_view path, LeadByteTest isLead = hostLeadByte) noexcept {
    return withoutExtension(fileNamePart(path, isLead), isLead);
}

}  // namespace ostrel
