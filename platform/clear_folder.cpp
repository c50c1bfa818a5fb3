// Emptying a folder by name: the entries whose name carries an extension are
// deleted, everything else stays, and nothing below the folder's own level is
// ever visited.

#include "platform/clear_folder.hpp"

#include "core/file_io.hpp"
#include "core/path_text.hpp"
#include "platform/platform.hpp"

namespace ostrel::platform {

// Joined paths longer than this are left alone, as the host's own file
// functions cannot name them either.
inline constexpr size_t kMaxJoinedPath = 255;

bool ClearFolder(std::string_view folder) {
    if (folder.empty()) return false;
    std::string base(folder);
    const char separator = folderSeparator();
    if (!endsWithCharacter(base, separator)) base += separator;
    const auto names = listFolder(base.c_str());
    if (!names) return false;
    std::string entryPath;
    for (const std::string& name : *names) {
        if (base.size() + name.size() > kMaxJoinedPath) continue;
        entryPath.assign(base).append(name);
        if (!IsDirectory(entryPath)) removeFile(entryPath.c_str());   // failures are ignored
    }
    return true;
}

}  // namespace ostrel::platform
