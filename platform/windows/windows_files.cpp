// The Windows half of the platform interface: folders and the shell's public
// documents folder (the folder search is in windows_walk.cpp).

#include <direct.h>
#include <shlobj.h>
#include <windows.h>

#include "platform/platform.hpp"
#include "platform/windows/windows_text.hpp"

namespace ostrel::platform {
namespace {

// The public folder's path is converted into a 255-byte buffer with its NUL.
constexpr size_t kPublicFolderMax = 254;

}  // namespace

char folderSeparator() noexcept { return '\\'; }

bool createFolder(const char* path) noexcept { return path && _mkdir(path) == 0; }

std::optional<std::string> publicFolder() {
    PWSTR wide = nullptr;
    if (FAILED(SHGetKnownFolderPath(FOLDERID_PublicDocuments, 0, nullptr, &wide))) {
        CoTaskMemFree(wide);
        return std::nullopt;
    }
    std::optional<std::string> narrow;
    try {
        narrow = windows::toNarrow(wide, kPublicFolderMax);
    } catch (...) {
        CoTaskMemFree(wide);
        throw;
    }
    CoTaskMemFree(wide);
    return narrow;
}

float publicFolderResult(bool found) noexcept { return found ? 0.0f : -1.0f; }

}  // namespace ostrel::platform
