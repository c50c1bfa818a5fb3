// The POSIX half of the platform interface (Linux). The file calls that macOS
// shares are in posix_common.cpp.

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/platform.hpp"

namespace ostrel::platform {
namespace {

struct DirCloser {
    DIR* dir;
    ~DirCloser() { closedir(dir); }
};

bool isDotOrDotDot(const char* name) noexcept {
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

}  // namespace

bool createFolder(const char* path) noexcept { return path && ::mkdir(path, 0777) == 0; }

std::optional<std::vector<std::string>> listFolder(const char* path) {
    if (!path) return std::nullopt;
    DIR* dir = ::opendir(path);
    if (!dir) return std::nullopt;
    DirCloser closer{dir};
    std::vector<std::string> names;
    errno = 0;
    while (const dirent* entry = ::readdir(dir)) {
        if (!isDotOrDotDot(entry->d_name)) names.emplace_back(entry->d_name);
    }
    if (errno != 0) return std::nullopt;
    return names;
}

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
