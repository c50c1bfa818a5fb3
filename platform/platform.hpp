#pragma once
// The one platform interface: files and folders, the path splitter, and the
// public folder. Paths are NUL-terminated 8-bit texts in the platform's narrow
// encoding (the ANSI code page on Windows, UTF-8 elsewhere), passed through to
// the operating system unchanged.
//
// The path functions and the file copy are portable (platform/*.cpp); every
// other function is implemented once per platform, in platform/posix/,
// platform/windows/ or platform/macos/. None of them throws except on memory
// exhaustion, and none keeps state between calls.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ostrel::platform {

// ---- Portable: path splitting (both '/' and '\' separate folders) ----------

// Splits `path` by `mode`:
//   1 folder part: up to and including the last separator; empty without one.
//   2 base name: after the last separator, cut before its last '.'.
//   3 path without extension: everything before the last '.' anywhere in the
//     path (so a '.' in a folder name counts when the file name has none).
//   6 file name: after the last separator; the whole path without one.
// Any other mode gives the path unchanged.
std::string FileNameExtract(std::string_view path, int mode);

// Judges by name alone: false when the last path component contains a '.',
// true otherwise (the file system is not consulted).
bool IsDirectory(std::string_view path) noexcept;

// ---- Portable: copying -----------------------------------------------------

// Copies the bytes of `source` to `target` without ever losing the old
// target: the copy goes to a temporary file beside the target that replaces
// it only once complete. A missing source or a failed write leaves the old
// target as it was; copying a file onto itself leaves it intact and succeeds.
// True on success.
bool copyFile(const char* source, const char* target);

// ---- Per platform ----------------------------------------------------------

// The separator appended to a folder path before an entry name is joined to
// it: '\' on Windows, '/' elsewhere.
char folderSeparator() noexcept;

// The C runtime's remove(): true when the file is gone. (On POSIX an empty
// folder is removed too, as remove() does there.)
bool deleteFile(const char* path) noexcept;

// The C runtime's rename(): true on success. Where the platform refuses to
// replace an existing target (Windows) the call fails instead.
bool renameFile(const char* oldPath, const char* newPath) noexcept;

// Cuts an existing file back to `length` bytes (used to undo an append that
// did not complete). True on success.
bool truncateFile(const char* path, uint64_t length) noexcept;

// Makes one folder level: false when it exists already, when its parent is
// missing, or when it cannot be made.
bool createFolder(const char* path) noexcept;

// The names of a folder's entries in listing order, "." and ".." left out;
// nothing when the folder cannot be listed (missing, not a folder, no
// permission).
std::optional<std::vector<std::string>> listFolder(const char* path);

// True when both paths name one existing file (same device and file number),
// so a copy of one onto the other must not touch it.
bool sameExistingFile(const char* a, const char* b) noexcept;

// The folder shared by every user of the machine: the public documents folder
// on Windows, the local users folder on macOS and Linux. Nothing when the
// platform cannot name one.
std::optional<std::string> publicFolder();

// GetPublicFolder's result: Windows and Linux answer 0 when found and -1 when
// not; macOS answers 1 when found and 0 when not.
float publicFolderResult(bool found) noexcept;

}  // namespace ostrel::platform
