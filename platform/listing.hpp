#pragma once
// Folder listings and file selections handed to the host one entry at a time.
//
// The selection buffer holds either the last open-dialog selection or the
// last folder listing, in the dialog's own multi-selection layout:
//   one entry:   the entry's full path, NUL, NUL;
//   two or more: the folder path, NUL, each entry name and its NUL, one more
//                NUL (the list ends with a double NUL).
// The folder walk (openWalk / nextWalkEntry / closeWalk) is independent of it.

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ostrel::platform {

inline constexpr size_t kSelectionBufferSize = 65536;
using SelectionBuffer = std::array<char, kSelectionBufferSize>;

// The module's one selection buffer, zeroed when the library is loaded.
SelectionBuffer& selectionBuffer() noexcept;

// The number of entries the buffer holds: the NULs met before the first NUL
// that is directly followed by another (looking at the first 65535 bytes), at
// least 1 when such a pair exists; the NULs met when none does.
int selectionCount(const SelectionBuffer& buffer) noexcept;

// The text GetFileInfo hands back for `keyword` ("fullname" or "name",
// compared byte for byte) and the 1-based entry `number`, or nothing when
// there is no such entry or the keyword is another.
std::optional<std::string> selectionEntry(const SelectionBuffer& buffer, std::string_view keyword, int32_t number);

// Writes a folder listing into a selection buffer in the layout above. The
// buffer must be zeroed first. An entry is written only while the position
// after its NUL stays below the buffer size; the first that does not fit ends
// the listing (add() returns false).
class ListingWriter {
public:
    // `folder` is the listed folder's path without a trailing separator.
    ListingWriter(SelectionBuffer& buffer, std::string_view folder) noexcept;
    bool add(std::string_view name) noexcept;
    // Completes the layout and returns the number of entries written.
    int finish() noexcept;

private:
    bool addName(std::string_view name) noexcept;
    bool put(std::string_view text) noexcept;

    SelectionBuffer& buffer_;
    std::string_view folder_;
    size_t folderEnd_ = 0;   // index of the NUL after the folder path
    size_t next_ = 0;        // where the next name goes
    std::array<char, 261> held_{};   // the first name, held back (at most MAX_PATH)
    size_t heldSize_ = 0;
    int count_ = 0;
    bool ended_ = false;   // a name did not fit: no later name is written
};

// ---- The folder walk -------------------------------------------------------

// No listing reads, and no walk hands out, more entries than this. A file
// system that keeps answering (a broken network share, a listing that starts
// over) ends there instead of running the caller's loop or memory without end.
inline constexpr size_t kMaxFolderEntries = size_t(1) << 20;

// One open listing that hands out every entry ("." and ".." and hidden ones
// too) in the file system's order. Implemented per platform.
class FolderWalk {
public:
    virtual ~FolderWalk() = default;
    // The next entry's name, or nothing when the listing has ended; once it
    // has, it stays ended.
    virtual std::optional<std::string> next() = 0;
    // True when the listing ended on an error rather than at the folder's end.
    virtual bool failed() const noexcept = 0;
};

// Opens a listing of `path`; nothing when the folder cannot be listed.
std::unique_ptr<FolderWalk> openFolderWalk(const char* path);

// Every name `walk` hands out but "." and "..", in its order; nothing when
// the walk fails before its end or has more than `limit` such names. A
// listing is all of the folder or none of it.
std::optional<std::vector<std::string>> collectNames(FolderWalk& walk, size_t limit);

// Failed: the folder could not be read further, answered once; the walk is
// Exhausted from then on.
enum class WalkResult { Entry, NoWalk, Exhausted, Failed };

// The module's one walk. openWalk replaces (and closes) any walk still open;
// it fails for a missing or empty path and for a folder that cannot be
// listed, and then no walk is open. A walk is exhausted after
// kMaxFolderEntries entries, or at the first error (answered once as Failed),
// whatever the folder holds.
bool openWalk(const char* path);
WalkResult nextWalkEntry(std::string& name);
bool walkIsOpen() noexcept;
bool closeWalk() noexcept;

}  // namespace ostrel::platform
