#pragma once
// Conversions between the host's narrow texts (the ANSI code page) and the
// wide texts of the Windows API.

#include <optional>
#include <string>
#include <string_view>

namespace ostrel::platform::windows {

// The narrow text in UTF-16; nothing when it is not valid in the code page.
std::optional<std::wstring> toWide(std::string_view narrow);

// The wide text in the ANSI code page; nothing when a character has no
// narrow form (it would come out as '?') or the result would need more than
// `maxBytes` bytes.
std::optional<std::string> toNarrow(std::wstring_view wide, size_t maxBytes);

}  // namespace ostrel::platform::windows
