// The folder walk over the wide folder search: the folder's full path with
// "\*" appended (only "*" after a "/", ":" or "\"), names converted to the
// ANSI code page, with the short name and then "?" for a name that has no
// narrow form.

#include <windows.h>

#include "platform/listing.hpp"
#include "platform/windows/windows_text.hpp"

namespace ostrel::platform {
namespace {

// A walked name and its NUL fit the 260 bytes of a Windows file name.
constexpr size_t kMaxWalkName = MAX_PATH - 1;

std::string narrowName(const WIN32_FIND_DATAW& entry) {
    if (auto name = windows::toNarrow(entry.cFileName, kMaxWalkName)) return *name;
    if (auto shortName = windows::toNarrow(entry.cAlternateFileName, kMaxWalkName); shortName && !shortName->empty())
        return *shortName;
    return "?";
}

std::optional<std::wstring> searchPattern(const char* path) {
    auto wide = windows::toWide(path);
    if (!wide) return std::nullopt;
    const DWORD needed = GetFullPathNameW(wide->c_str(), 0, nullptr, nullptr);
    if (needed == 0) return std::nullopt;
    std::wstring full(needed, L'\0');
    const DWORD written = GetFullPathNameW(wide->c_str(), needed, full.data(), nullptr);
    if (written == 0 || written >= needed) return std::nullopt;
    full.resize(written);
    const wchar_t last = full.empty() ? L'\0' : full.back();
    if (last != L'/' && last != L':' && last != L'\\') full += L'\\';
    full += L'*';
    return full;
}

class WindowsWalk final : public FolderWalk {
public:
    WindowsWalk(HANDLE search, const WIN32_FIND_DATAW& first) : search_(search), entry_(first) {}
    ~WindowsWalk() override { FindClose(search_); }
    WindowsWalk(const WindowsWalk&) = delete;
    WindowsWalk& operator=(const WindowsWalk&) = delete;

    std::optional<std::string> next() override {
        if (exhausted_) return std::nullopt;
        std::string name = narrowName(entry_);
        if (!FindNextFileW(search_, &entry_)) {
            exhausted_ = true;
            failed_ = GetLastError() != ERROR_NO_MORE_FILES;
        }
        return name;
    }
    bool failed() const noexcept override { return failed_; }

private:
    HANDLE search_;
    WIN32_FIND_DATAW entry_;   // the entry next() hands out
    bool exhausted_ = false;
    bool failed_ = false;      // the search ended on an error, not at the folder's end
};

}  // namespace

std::unique_ptr<FolderWalk> openFolderWalk(const char* path) {
    if (!path) return nullptr;
    const auto pattern = searchPattern(path);
    if (!pattern) return nullptr;
    WIN32_FIND_DATAW first;
    HANDLE search = FindFirstFileW(pattern->c_str(), &first);
    if (search == INVALID_HANDLE_VALUE) return nullptr;
    try {
        return std::make_unique<WindowsWalk>(search, first);
    } catch (...) {
        FindClose(search);
        throw;
    }
}

}  // namespace ostrel::platform
