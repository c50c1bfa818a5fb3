// The Windows half of the platform interface: folders, the wide folder search,
// and the shell's public documents folder.

#include <direct.h>
#include <shlobj.h>
#include <windows.h>

#include "platform/listing.hpp"
#include "platform/platform.hpp"
#include "platform/windows/windows_text.hpp"

namespace ostrel::platform {
namespace {

// The public folder's path is converted into a 255-byte buffer with its NUL.
constexpr size_t kPublicFolderMax = 254;

bool isDotOrDotDot(const std::string& name) noexcept { return name == "." || name == ".."; }

}  // namespace

char folderSeparator() noexcept { return '\\'; }

bool createFolder(const char* path) noexcept { return path && _mkdir(path) == 0; }

std::optional<std::vector<std::string>> listFolder(const char* path) {
    auto walk = openFolderWalk(path);
    if (!walk) return std::nullopt;
    std::vector<std::string> names;
    while (auto name = walk->next()) {
        if (!isDotOrDotDot(*name)) names.push_back(std::move(*name));
    }
    return names;
}

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
