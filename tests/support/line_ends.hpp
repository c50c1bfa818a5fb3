#pragma once
// Text outputs end their lines with the platform's line end. Tests that spell
// the expected text with "\n" compare it with the output read as text.

#include <string>
#include <string_view>

namespace ostrel::test {

// The text with every CR LF pair turned into LF (a no-op for LF-only text).
inline std::string withLfLineEnds(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        out.push_back(text[i]);
    }
    return out;
}

}  // namespace ostrel::test
