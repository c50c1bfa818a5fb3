#pragma once
// The one platform interface: files and folders, the path splitter, and the
// public folder. Paths are NUL-terminated 8-bit texts in the platform's narrow
// encoding (the ANSI code page on Windows, UTF-8 elsewhere), passed through to
// the operating system unchanged.
//
// The path functions and listFolder are portable (platform/*.cpp); every
// other function is implemented once per platform, in platform/posix/,
// platform/windows/ or platform/macos/. Files themselves are opened, copied,
// renamed and removed only through core/file_io.hpp. None of these functions
// throws except on memory exhaustion, and none keeps state between calls.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ostrel::platform {

// ---- Portable: path splitting (both '/' and '\' separate folders) ----------

// The ways FileNameExtract splits a path, numbered as the host numbers them.
enum PathPart : int {
    kFolderPart = 1,        // up to and including the last separator; empty without one
    kBaseName = 2,          // after the last separator, cut before its last '.'
    kWithoutExtension = 3,  // everything before the last '.' anywhere in the path (so a
                            // '.' in a folder name counts when the file name has none)
    kFileName = 6,          // after the last separator; the whole path without one
};

// Splits `path` by `mode`, one of PathPart; any other mode gives the path
// unchanged.
std::string FileNameExtract(std::string_view path, int mode);

// Judges by name alone: false when the last path component contains a '.',
// true otherwise (the file system is not consulted).
bool IsDirectory(std::string_view path) noexcept;

// The names of a folder's entries in listing order, "." and ".." left out;
// nothing when the folder cannot be listed (missing, not a folder, no
// permission), when the listing fails part way, or when it holds more than
// kMaxFolderEntries (platform/listing.hpp) entries. Portable, over the
// platform's folder walk (platform/listing.cpp).
std::optional<std::vector<std::string>> listFolder(const char* path);

// ---- Per platform ----------------------------------------------------------

// The separator appended to a folder path before an entry name is joined to
// it: '\' on Windows, '/' elsewhere.
char folderSeparator() noexcept;

// Makes one folder level: false when it exists already, when its parent is
// missing, or when it cannot be made.
bool createFolder(const char* path) noexcept;

// The folder shared by every user of the machine: the public documents folder
// on Windows, the local users folder on macOS and Linux. Nothing when the
// platform cannot name one.
std::optional<std::string> publicFolder();

// GetPublicFolder's result: Windows and Linux answer 0 when found and -1 when
// not; macOS answers 1 when found and 0 when not.
float publicFolderResult(bool found) noexcept;

}  // namespace ostrel::platform
