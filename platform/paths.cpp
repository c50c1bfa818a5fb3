// The path splitter shared by the project store and the desktop exports, in
// the modes the host names, over the splitting in core/path_text.hpp.

#include "core/path_text.hpp"
#include "platform/platform.hpp"

namespace ostrel::platform {

std::string FileNameExtract(std::string_view path, int mode) {
    switch (mode) {
    case kFolderPart:
        return std::string(folderPart(path));
    case kBaseName:
        return std::string(baseNameWithoutExtension(path));
    case kWithoutExtension:
        return std::string(withoutExtension(path));
    case kFileName:
        return std::string(fileNamePart(path));
    default:
        return std::string(path);
    }
}

// A name with no '.' after its last separator.
bool IsDirectory(std::string_view path) noexcept {
    return findLastCharacter(fileNamePart(path), '.') == std::string_view::npos;
}

}  // namespace ostrel::platform
