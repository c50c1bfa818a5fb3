#pragma once
// Text handed back to the host through memBlock, the platform line end, and
// text put together in memory.

#include <cstring>
#include <string_view>

#include "core/pod_buffer.hpp"

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

// Text put together in memory with the writing calls of OutputFile, so that
// code that writes text can write it to either: the part of an output that a
// second thread makes, say, before it follows the first part into the file.
class TextBuffer {
public:
    void write(const void* data, size_t size) {
        buffer_.reserveMore(size);
        if (size) std::memcpy(buffer_.extendReserved(size), data, size);
    }
    void write(std::string_view text) { write(text.data(), text.size()); }
    void put(char c) { buffer_.push(c); }
    std::string_view text() const noexcept { return {buffer_.data(), buffer_.size()}; }
    // Empties the text; its memory is kept for the next.
    void clear() noexcept { buffer_.clear(); }

private:
    PodBuffer<char> buffer_;
};

}  // namespace ostrel
