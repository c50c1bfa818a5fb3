// The path splitter shared by the project store and the desktop exports, in
// the modes the host names, over the splitting in core/path_text.hpp.

#include "core/path_text.hpp"
#include "platform/platform.hpp"

namespace ostrel::platform {

std::string FileNameExtract(std::string_view path, int mode) {
    switch (mode) {
    case 1:
        return std::string(folderPart(path));
    case 2:
        return std::string(baseNameWithoutExtension(path));
    case 3:
        return std::string(withoutExtension(path));
    case 6:
        return std::string(fileNamePart(path));
    default:
        return std::string(path);
    }
}

bool IsDirectory(std::string_view path) noexcept {
    for (size_t i = path.size(); i > 0; --i) {
        const char c = path[i - 1];
        if (c == '.') return false;
        if (isPathSeparator(c)) return true;
    }
    return true;
}

}  // namespace ostrel::platform
