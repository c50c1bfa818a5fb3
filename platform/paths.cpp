// The path splitter shared by the project store and the desktop exports. Both
// '/' and '\' separate folders on every platform, so paths written on one
// system split the same way on another.

#include "platform/platform.hpp"

namespace ostrel::platform {
namespace {

constexpr bool isSeparator(char c) noexcept { return c == '/' || c == '\\'; }

// Index just past the last separator; 0 when there is none.
size_t fileNameStart(std::string_view path) noexcept {
    for (size_t i = path.size(); i > 0; --i)
        if (isSeparator(path[i - 1])) return i;
    return 0;
}

std::string_view cutBeforeLastDot(std::string_view text) noexcept {
    const size_t dot = text.rfind('.');
    return dot == std::string_view::npos ? text : text.substr(0, dot);
}

}  // namespace

std::string FileNameExtract(std::string_view path, int mode) {
    const size_t nameStart = fileNameStart(path);
    switch (mode) {
    case 1:
        return std::string(path.substr(0, nameStart));
    case 2:
        return std::string(cutBeforeLastDot(path.substr(nameStart)));
    case 3:
        return std::string(cutBeforeLastDot(path));
    case 6:
        return std::string(path.substr(nameStart));
    default:
        return std::string(path);
    }
}

bool IsDirectory(std::string_view path) noexcept {
    for (size_t i = path.size(); i > 0; --i) {
        const char c = path[i - 1];
        if (c == '.') return false;
        if (isSeparator(c)) return true;
    }
    return true;
}

}  // namespace ostrel::platform
