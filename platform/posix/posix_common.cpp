// The file calls every POSIX system answers the same way: the Linux build and
// the macOS build both compile this file.

#include <unistd.h>

#include <cstdint>
#include <cstdio>

#include "platform/platform.hpp"

namespace ostrel::platform {

char folderSeparator() noexcept { return '/'; }

bool deleteFile(const char* path) noexcept { return path && std::remove(path) == 0; }

bool renameFile(const char* oldPath, const char* newPath) noexcept {
    return oldPath && newPath && std::rename(oldPath, newPath) == 0;
}

bool truncateFile(const char* path, uint64_t length) noexcept {
    return path && length <= uint64_t(INT64_MAX) && ::truncate(path, static_cast<off_t>(length)) == 0;
}

}  // namespace ostrel::platform
