// The open dialog, folder listings into the selection buffer, and the shell
// launch, for the Windows builds.

#include <windows.h>
#include <commdlg.h>
#include <shellapi.h>

#include <cstring>
#include <string>

#include "core/path_text.hpp"
#include "platform/dialogs.hpp"
#include "platform/listing.hpp"
#include "platform/platform.hpp"

namespace ostrel::platform {
namespace {

constexpr DWORD kSkippedAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

// Closes the search handle that a listing opened, however the listing ends.
class SearchHandle {
public:
    explicit SearchHandle(HANDLE h) noexcept : h_(h) {}
    ~SearchHandle() {
        if (h_ != INVALID_HANDLE_VALUE) FindClose(h_);
    }
    SearchHandle(const SearchHandle&) = delete;
    SearchHandle& operator=(const SearchHandle&) = delete;
    HANDLE get() const noexcept { return h_; }

private:
    HANDLE h_;
};

bool keeps(const WIN32_FIND_DATAA& entry, bool folders) noexcept {
    if (entry.dwFileAttributes & kSkippedAttributes) return false;
    const bool isFolder = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    return isFolder == folders;
}

}  // namespace

int runOpenDialog(const char* filterText, bool singleSelection) {
    SelectionBuffer& buffer = selectionBuffer();
    buffer.fill('\0');
    const std::string filter = dialogFilter(filterText);

    OPENFILENAMEA dialog;
    std::memset(&dialog, 0, sizeof dialog);
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = nullptr;
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = buffer.data();
    dialog.nMaxFile = static_cast<DWORD>(buffer.size());
    dialog.lpstrInitialDir = defaultDir().c_str();
    dialog.lpstrTitle = dialogTitle().c_str();
    dialog.Flags = OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_SHAREAWARE;
    if (!singleSelection) dialog.Flags |= OFN_ALLOWMULTISELECT | OFN_EXPLORER;

    if (!GetOpenFileNameA(&dialog)) return 0;
    return selectionCount(buffer);
}

int listFolderIntoSelection(const char* folder, bool folders) {
    if (!folder || !*folder) return 0;
    std::string_view path(folder);
    if (path.size() > kMaxListedFolder) return 0;
    if (endsWithCharacter(path, '\\')) path.remove_suffix(1);

    SelectionBuffer& buffer = selectionBuffer();
    buffer.fill('\0');
    std::string pattern(path);
    pattern += "\\*";

    WIN32_FIND_DATAA entry;
    SearchHandle search(FindFirstFileA(pattern.c_str(), &entry));
    if (search.get() == INVALID_HANDLE_VALUE) return 0;
    // The buffer bounds the entries written, not those skipped: the search
    // also ends after kMaxFolderEntries entries, and at the first error.
    ListingWriter writer(buffer, path);
    size_t examined = 0;
    do {
        if (keeps(entry, folders) && !writer.add(entry.cFileName)) break;
    } while (++examined < kMaxFolderEntries && FindNextFileA(search.get(), &entry));
    return writer.finish();
}

void launchWithFile(const char* path) {
    const std::string file = FileNameExtract(path, kFileName);
    const std::string folder = FileNameExtract(path, kFolderPart);
    ShellExecuteA(nullptr, "open", file.c_str(), nullptr, folder.empty() ? nullptr : folder.c_str(), SW_SHOWDEFAULT);
}

}  // namespace ostrel::platform
