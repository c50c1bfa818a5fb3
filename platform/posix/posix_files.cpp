// The POSIX half of the platform interface (Linux). The file calls that macOS
// shares are in posix_common.cpp.

#include <sys/stat.h>

#include "platform/platform.hpp"

namespace ostrel::platform {

bool createFolder(const char* path) noexcept { return path && ::mkdir(path, 0777) == 0; }

std::optional<std::string> publicFolder() {
    // The folder that holds every local user's home, as the macOS build
    // answers with its local users folder.
    static constexpr const char* kUsersFolder = "/home";
    struct stat st;
    if (::stat(kUsersFolder, &st) != 0 || !S_ISDIR(st.st_mode)) return std::nullopt;
    return std::string(kUsersFolder);
}

float publicFolderResult(bool found) noexcept { return found ? 0.0f : -1.0f; }

}  // namespace ostrel::platform
