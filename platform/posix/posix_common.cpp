// What every POSIX system answers the same way: the Linux build and the macOS
// build both compile this file.

#include "platform/platform.hpp"

namespace ostrel::platform {

char folderSeparator() noexcept { return '/'; }

}  // namespace ostrel::platform
