#pragma once
// The system's file-open dialog, folder listings into the selection buffer
// (platform/listing.hpp) and handing a file or URL to the system's launcher.
// Windows builds have the dialog, listing and launch functions; the macOS
// build has the open panel, its chosen files and the URL launch.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace ostrel::platform {

// ---- Windows ---------------------------------------------------------------

// Clears the selection buffer and runs the open dialog with the filter list
// made of `filterText`, the stored title and start folder; several files may
// be chosen unless `singleSelection`. The number of files chosen; 0 when the
// user cancels or the dialog fails.
int runOpenDialog(const char* filterText, bool singleSelection);

// Lists the plain files (or, with `folders`, the subfolders) of `folder` into
// the selection buffer, skipping hidden and system entries. The number of
// entries written; 0 for a missing or empty path (buffer untouched), for a
// path longer than kMaxListedFolder bytes (refused, buffer untouched), and
// when nothing matches.
int listFolderIntoSelection(const char* folder, bool folders);
inline constexpr size_t kMaxListedFolder = 257;

// Asks the shell to open the file with its associated program, in the file's
// folder. The shell's answer is not examined.
void launchWithFile(const char* path);

// ---- macOS -----------------------------------------------------------------

// Runs the open panel titled `title`; on acceptance the chosen files replace
// the remembered ones. The number chosen; 0 when the user cancels.
int runOpenPanel(const char* title);
// The remembered files' paths (symbolic links resolved), in panel order.
const std::vector<std::string>& chosenFiles() noexcept;
void forgetChosenFiles() noexcept;
// The launch service's status for the URL made of `text`; -1 when no URL can
// be made of it.
int openUrl(const char* text);

// ---- Portable --------------------------------------------------------------

// The filter list of the open dialog: text cut to 255 bytes, every '|' a
// NUL, ended by two NULs; "*.*" when there is no text.
std::string dialogFilter(const char* text);

// Dialog settings: the title (at most 255 bytes, initially "Select Files")
// and the start folder (at most 511 bytes, initially empty).
void setDialogTitle(const char* title);
void setDefaultDir(const char* folder);
const std::string& dialogTitle() noexcept;
const std::string& defaultDir() noexcept;

// The path that GetFilePath hands back for the 0-based `number`: at most 255
// bytes of it; nothing when the number is outside the list.
std::optional<std::string> chosenFilePath(const std::vector<std::string>& files, int32_t number);
inline constexpr size_t kMaxChosenPath = 255;

}  // namespace ostrel::platform
