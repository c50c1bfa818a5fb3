#pragma once
// Text handed back to the host through memBlock, and the platform line end.

#include <cstring>
#include <string_view>

namespace ostrel {

#ifdef _WIN32
inline constexpr std::string_view kLineEnd = "\r\n";
#else
inline constexpr std::string_view kLineEnd = "\n";
#endif

// Copies text and its NUL into the host's block. A positive size bounds the
// write: the text is cut so that it and its NUL fit. A size of 0 or less means
// the host did not say, and the block must hold the whole text.
inline void copyToMemBlock(char* memBlock, int memBlockSize, std::string_view text) noexcept {
    size_t n = text.size();
    if (memBlockSize > 0 && n >= static_cast<size_t>(memBlockSize)) n = static_cast<size_t>(memBlockSize) - 1;
    if (n) std::memcpy(memBlock, text.data(), n);
    memBlock[n] = '\0';
}

// Length of a NUL-terminated text stored in a fixed field, never reading past it.
inline std::string_view fixedFieldText(const char* field, size_t width) noexcept {
    const void* nul = std::memchr(field, 0, width);
    return {field, nul ? static_cast<size_t>(static_cast<const char*>(nul) - field) : width};
}

}  // namespace ostrel
