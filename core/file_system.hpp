#pragma once
// What the file-access layer asks of the operating system; one implementation
// per platform (file_system_posix.cpp, file_system_windows.cpp). Only
// file_io.cpp includes this header.

#include <optional>
#include <string>

#include "core/file_io.hpp"

namespace ostrel {

struct FileSystem {
    enum class Kind { Missing, RegularFile, Other };
    struct Target {
        Kind kind = Kind::Missing;
        bool writable = false;   // by this process, as the system judges it
    };

    static File adopt(File::Native native) noexcept { return File(native); }

    // The file a chain of symbolic links ends at (the path itself when it is
    // no link); nothing for a loop or a chain too long to follow.
    static std::optional<std::string> resolveLinks(const std::string& path);
    static Target inspect(const std::string& path);

    enum class Created { Yes, NameTaken, No };
    // Who may read a file being created: only its owner (a replacement, until
    // it has the old file's owner and mode), or as the process creates files.
    enum class Access { Private, Default };
    // Creates `path` for writing only when nothing, not even a dangling link,
    // is there.
    static Created createExclusive(const std::string& path, File& file, Access access);
    // Gives the new file the owner, group and permission bits of the file it
    // will replace, the owner and group first, so the file never has the old
    // mode under someone else's name. False when any of them cannot be had
    // (the old file cannot be inspected, or the caller may not give its
    // owner away); on a file system without modes, the one mode its files
    // all share counts as kept.
    static bool takeOwnerAndMode(File& file, const std::string& from) noexcept;
    // Moves `from` over `to`, replacing it in one step (on Windows written
    // through to the disk before it answers).
    static bool replace(const std::string& from, const std::string& to) noexcept;
    // Waits until every byte written to `file` and its length are on the
    // disk itself, past the drive's cache where the system can ask for that.
    static bool flushToDisk(File& file) noexcept;
    // Starts writing the bytes written to `file` so far to the disk without
    // waiting for it, so a flush at the end waits only for the last of them.
    static void startWriteBack(File& file) noexcept;
    // Makes a rename in `folder` ("" for the current folder) survive a power
    // cut. Where the system cannot, or the folder cannot be opened, nothing
    // is done: the rename itself has happened either way.
    static void flushFolder(const std::string& folder) noexcept;

    // The kernel's file-to-file copy from the current position of `in` to its
    // end: 1 when done, 0 when the system cannot do it for these files (the
    // caller copies itself; nothing moved yet), -1 on error.
    static int copyInKernel(File& in, File& out) noexcept;
    // Lets the system drop the cached pages of `path`, a file about to be
    // replaced, so the replacement's pages reuse that memory. The file's
    // contents are untouched.
    static void releaseCache(const std::string& path) noexcept;
    // Unpredictable bits for temporary names.
    static uint64_t randomBits() noexcept;
};

}  // namespace ostrel
