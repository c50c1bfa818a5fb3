// The Windows half of the platform interface: the C runtime's file calls, the
// wide folder search, and the shell's public documents folder.

#include <direct.h>
#include <shlobj.h>
#include <windows.h>

#include <cstdio>

#include "platform/listing.hpp"
#include "platform/platform.hpp"
#include "platform/windows/windows_text.hpp"

namespace ostrel::platform {
namespace {

// The public folder's path is converted into a 255-byte buffer with its NUL.
constexpr size_t kPublicFolderMax = 254;

class Handle {
public:
    explicit Handle(HANDLE h) noexcept : h_(h) {}
    ~Handle() {
        if (valid()) CloseHandle(h_);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    bool valid() const noexcept { return h_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const noexcept { return h_; }

private:
    HANDLE h_;
};

HANDLE openForQuery(const char* path) noexcept {
    return CreateFileA(path, FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                       OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

bool isDotOrDotDot(const std::string& name) noexcept { return name == "." || name == ".."; }

}  // namespace

char folderSeparator() noexcept { return '\\'; }

bool deleteFile(const char* path) noexcept { return path && std::remove(path) == 0; }

bool renameFile(const char* oldPath, const char* newPath) noexcept {
    return oldPath && newPath && std::rename(oldPath, newPath) == 0;
}

bool truncateFile(const char* path, uint64_t length) noexcept {
    if (!path || length > uint64_t(INT64_MAX)) return false;
    Handle file(CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                            nullptr));
    if (!file.valid()) return false;
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(length);
    return SetFilePointerEx(file.get(), at, nullptr, FILE_BEGIN) && SetEndOfFile(file.get());
}

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

bool sameExistingFile(const char* a, const char* b) noexcept {
    if (!a || !b) return false;
    Handle fa(openForQuery(a)), fb(openForQuery(b));
    BY_HANDLE_FILE_INFORMATION ia, ib;
    if (!fa.valid() || !fb.valid() || !GetFileInformationByHandle(fa.get(), &ia) ||
        !GetFileInformationByHandle(fb.get(), &ib))
        return false;
    return ia.dwVolumeSerialNumber == ib.dwVolumeSerialNumber && ia.nFileIndexHigh == ib.nFileIndexHigh &&
           ia.nFileIndexLow == ib.nFileIndexLow;
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
