#pragma once
// The one list of the library's exports, and what a plug-in author needs to
// know of each: the builds that export it, what it answers for a null text or
// memBlock, and the meaning of each negative code it returns. Everything that
// must agree with it is derived from it: the C declarations (host/frame.hpp),
// the Windows module-definition file (cmake/WindowsExports.cmake), the test
// that compares the built library's exported names and null answers with it,
// the meanings ostrel-host prints, and the README's table
// (tools/readme-exports.sh).
//
// One row per export, its fields in this order:
//   name:     the exported name, undecorated.
//   builds:   the deliverables whose library exports the name.
//   nullText, nullMem: what the export answers when that pointer is null (see
//             NullAnswer).
//   codes:    every negative code the export returns itself or from its
//             worker, each with a short meaning, as {code, "meaning"} in
//             parentheses. -1000 (kInternalFailure) is not repeated per row.
//   note:     the README's account of the codes and causes beyond the
//             documented ones ("" when there are none).

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace ostrel::exports {

enum Build : uint32_t {
    kWin64 = 1u << 0,
    kWin32 = 1u << 1,
    kMac = 1u << 2,
    kLinux = 1u << 3,
    kWindows = kWin64 | kWin32,
    kEvery = kWindows | kMac | kLinux,     // the 56 functions every build shares
    kWindowsLinux = kWindows | kLinux,     // Windows exports that need no desktop service
    kWindowsOnly = kWindows,               // desktop services of the Windows builds
    kMacOnly = kMac,                       // desktop services of the macOS build
};

struct Code {
    float value;
    const char* meaning;
};

// Returned by every export that calls a worker when the worker fails in a way
// no file can cause: memory ran out, or a library fault was caught.
inline constexpr Code kInternalFailure{-1000.0f, "memory ran out, or a library fault was caught"};

// What an export answers when its text or its memBlock is null while the other
// pointer is valid and the value passes every value check the export makes.
// Checks of the library's state that come first (an empty T-pose list, no
// open folder listing) are taken as passed.
struct NullAnswer {
    enum Kind : uint8_t {
        Unread,          // the export never reads the argument
        Refused,         // `code` at once; no file is read or written
        ReportedLater,   // `code` where the export comes to use the path, after
                         // the checks of the other argument; nothing is written
        Allowed,         // null is a valid argument: `allowedAs` says what it means
    };
    Kind kind;
    float code;
    const char* allowedAs;
};

inline constexpr NullAnswer unread{NullAnswer::Unread, 0.0f, nullptr};
constexpr NullAnswer refused(float code) { return {NullAnswer::Refused, code, nullptr}; }
constexpr NullAnswer reportedLater(float code) { return {NullAnswer::ReportedLater, code, nullptr}; }
constexpr NullAnswer allowed(const char* meaning) { return {NullAnswer::Allowed, 0.0f, meaning}; }

// GetPublicFolder reports failure as 0 on macOS, where success is 1.
#if defined(__APPLE__)
inline constexpr float kNoPublicFolder = 0.0f;
#else
inline constexpr float kNoPublicFolder = -1.0f;
#endif

}  // namespace ostrel::exports

// The codes of reading a PSD file, shared by the PSD exports. A two-file
// export reports the first file's problem before it opens the second.
#define OSTREL_PSD_READ_CODES                                                   \
    {-1, "a path missing, or a file that cannot be read or is not a PSD file"}, \
    {-2, "PSD version is not 1"},                                               \
    {-3, "colour-mode data present"},                                           \
    {-4, "the image data is compressed"},                                       \
    {-11, "the header, sections or planes run past the file"},                  \
    {-12, "fewer than 3 channels, or depth not 8"}

// The codes of unpacking a project file, either layout.
#define OSTREL_PROJECT_OPEN_CODES                                                                         \
    {-17, "the project file cannot be read"},                                                             \
    {-19, "the file is shorter than its header or its references (nothing loaded)"},                      \
    {-20, "a broken chunk chain (references loaded, earlier chunks unpacked)"},                           \
    {-21, "an unpacked file could not be written completely, or would replace the project file (the old " \
          "one is kept, later chunks unpacked)"}

#define OSTREL_EXPORT_LIST(X)                                                                                        \
    X(AddDatFile, kEvery, refused(0), refused(0),                                                                    \
      ({-16, "value below 0"},                                                                                       \
       {-1, "the data file cannot be read, or is 4 GiB - 32 bytes or longer"},                                       \
       {-2, "the project cannot be opened for appending, is the data file itself, or the append failed"},            \
       {-4, "the data file's name does not start with a 32-bit decimal number"}),                                    \
      "-4 the data file's base name does not start with a 32-bit decimal number (nothing appended); -1 also for "    \
      "a data file of 4 GiB - 32 or more; -2 also when the data file and the project are one file, or the append "   \
      "fails midway (the project is put back to its old length)")                                                    \
    X(AddTPoseRef, kEvery, refused(-2), refused(-2),                                                                 \
      ({-1, "value 0 or below"},                                                                                     \
       {-2, "text or memBlock missing"}),                                                                            \
      "")                                                                                                            \
    X(AlignVertices_Tev, kEvery, refused(-2), unread,                                                                \
      ({-2, "text missing"},                                                                                         \
       {-1760, "the Tev file cannot be read"},                                                                       \
       {-18, "no points block, or one that runs past its block or the file"},                                        \
       {-401, "the Tev file cannot be written"}),                                                                    \
      "-18 also for a points block whose count or size runs past the block or the file; -401 also when the write "   \
      "fails")                                                                                                       \
    X(AppendOBJ, kEvery, refused(-9), refused(-9),                                                                   \
      ({-9, "text or memBlock missing"},                                                                             \
       {-1, "the OBJ to append cannot be read"},                                                                     \
       {-2, "the target cannot be read or written (it is left as it was)"},                                          \
       {-3, "text and memBlock name the same file"},                                                                 \
       {-7, "a face names no vertex line"}),                                                                         \
      "-3 text and memBlock name the same file; -7 a face names no vertex line (zero, or beyond the file's "         \
      "vertex lines); -2 also when the target exists but cannot be read, or the write fails (target unchanged, "     \
      "no record added)")                                                                                            \
    X(CheckName, kEvery, refused(-1), refused(-1),                                                                   \
      ({-1, "text or memBlock missing"}),                                                                            \
      "-1 text or memBlock missing (nothing remembered)")                                                            \
    X(ClearNameSet, kEvery, unread, unread, (), "")                                                                  \
    X(ClearTPoseList, kEvery, unread, unread, (), "")                                                                \
    X(CloseFolder, kEvery, unread, unread, ({-1, "no listing open"}), "")                                            \
    X(CreateFacesList, kEvery, unread, unread, ({-5, "the group list is empty"}), "")                                \
    X(CreateFolder, kEvery, refused(-1), unread, ({-1, "text missing, or the folder cannot be made"}), "")           \
    X(CreateThumbnail, kEvery, refused(-1), unread,                                                                  \
      ({-8, "size below 1 or above 30,000"},                                                                         \
       OSTREL_PSD_READ_CODES,                                                                                        \
       {-5, "the file cannot be written (it is left as it was)"}),                                                   \
      "-8 n below 1 or above 30,000, the largest side a version-1 PSD can state (file unchanged); -11 header, "      \
      "sections or planes run past the file; -12 fewer than 3 channels or depth not 8; -5 also when the write "      \
      "fails (the work stops at the first failed write; file unchanged)")                                            \
    X(CropBMP_SetWidth, kEvery, unread, unread, (), "")                                                              \
    X(CropBMPfile, kEvery, refused(-1760), reportedLater(-5),                                                        \
      ({-1760, "the input path missing, or the input cannot be read"},                                               \
       {-7, "the input does not start with \"BM\""},                                                                 \
       {-8, "the header, pixel offset, width or rows do not fit the file"},                                          \
       {-10, "not 24 bits per pixel"},                                                                               \
       {-11, "fewer than 3 rows"},                                                                                   \
       {-12, "the strip lies outside the image"},                                                                    \
       {-5, "the output path missing, or the output cannot be written"}),                                            \
      "-1760 input path missing; -8 header under 54 bytes, pixel offset inside the header or past the end, "         \
      "negative width, or rows past the end; -10 not 24 bits per pixel; -11 fewer than 3 rows; -12 strip outside "   \
      "the image; -5 output path missing or the write fails")                                                        \
    X(DispSizeH, kWindowsOnly, unread, unread, (), "")                                                               \
    X(DispSizeV, kWindowsOnly, unread, unread, (), "")                                                               \
    X(EmptyFolder, kEvery, refused(-1), unread, ({-1, "text missing or empty, or the folder cannot be listed"}),     \
      "-1 also when the listing fails part way or holds more than 1,048,576 entries (nothing deleted)")              \
    X(FileCopyTo, kEvery, refused(-1), refused(-1),                                                                  \
      ({-1, "a path missing, or the copy failed (the old target is kept)"}),                                         \
      "-1 also on a read or write error (the old target is kept)")                                                   \
    X(FileDelete, kEvery, refused(-1), unread, ({-1, "text missing, or the file cannot be deleted"}), "")            \
    X(FileRename, kEvery, refused(-1), refused(-1),                                                                  \
      ({-1, "a path missing, both the same, the new path taken, or the rename failed"}),                             \
      "-1 also when the new path names an existing file (never replaced, on any build)")                             \
    X(FixEdgesPSD, kWindowsLinux, refused(-1), unread,                                                               \
      (OSTREL_PSD_READ_CODES,                                                                                        \
       {-9, "fewer than 100 rows or columns"},                                                                       \
       {-5, "the file cannot be written"}),                                                                          \
      "-11 header, sections or planes run past the file; -12 fewer than 3 channels or depth not 8; -5 also when "    \
      "the write fails")                                                                                             \
    X(GetDirFileList, kWindowsOnly, refused(0), unread,                                                              \
      (),                                                                                                            \
      "0 for a folder path longer than 257 bytes (refused; the buffer is left as it was); the search ends at a "     \
      "listing error or after 1,048,576 entries, as at the folder's end")                                            \
    X(GetFaces, kEvery, refused(-1), unread,                                                                         \
      ({-1, "text missing, the faces table empty, or no group of that name"}),                                       \
      "-1 also for a name the table does not hold")                                                                  \
    X(GetFile, kEvery, unread, refused(-2),                                                                          \
      ({-1, "no listing open"},                                                                                      \
       {-2, "memBlock missing (no entry is taken)"},                                                                 \
       {-3, "the listing has no entry left"},                                                                        \
       {-4, "the folder could not be read further (once; then -3)"}),                                                \
      "-2 memBlock missing while a listing is open (no entry is taken); -4 once when the folder cannot be read to "  \
      "its end, -3 after that and after 1,048,576 entries")                                                          \
    X(GetFileInfo, kWindowsOnly, refused(0), refused(0), (), "0 and nothing written when memBlockSize is below 1")   \
    X(GetFileList, kWindowsOnly, allowed("no filter"), unread, (), "")                                               \
    X(GetPrjModfier, kEvery, unread, unread, (), "")                                                                 \
    X(GetPublicFolder, kEvery, unread, refused(kNoPublicFolder),                                                     \
      ({-1, "memBlock missing, or the folder cannot be found or named"}),                                            \
      "Linux: 0 and \"/home\"; -1 when it is missing or memBlock is null. Windows: -1 also when the path needs "     \
      "more than 254 bytes in the ANSI code page or has characters without an ANSI form")                            \
    X(GetScreenFactor, kWindowsOnly, unread, unread, (), "")                                                         \
    X(GetTPoseRef, kEvery, refused(-1), refused(-1),                                                                 \
      ({-5, "the T-pose list is empty"},                                                                             \
       {-1, "text or memBlock missing, or no reference of that name"}),                                              \
      "-1 also when memBlock is missing")                                                                            \
    X(GroupListAdd, kEvery, refused(-1), unread,                                                                     \
      ({-2, "count 0 or below"},                                                                                     \
       {-1, "text missing"}),                                                                                        \
      "")                                                                                                            \
    X(GroupListClear, kEvery, unread, unread, (), "")                                                                \
    X(GroupListGetName, kEvery, unread, refused(-1),                                                                 \
      ({-1, "index -1 or below, or NaN, or memBlock missing"}),                                                      \
      "-1 also when memBlock is missing")                                                                            \
    X(GroupListLoad, kEvery, refused(-9), unread,                                                                    \
      ({-9, "text missing"},                                                                                         \
       {-3, "the file cannot be read (the list is left empty)"}),                                                    \
      "")                                                                                                            \
    X(GroupListSave, kEvery, refused(-9), unread,                                                                    \
      ({-9, "text missing"},                                                                                         \
       {-1, "the group list is empty"},                                                                              \
       {-3, "the file cannot be written (the old file is kept)"}),                                                   \
      "-3 also when the write fails (the old file is kept)")                                                         \
    X(GroupListSize, kEvery, unread, unread, ({-1, "the group list is empty"}), "")                                  \
    X(HealImportFile, kWindowsLinux, refused(-1), unread,                                                            \
      (OSTREL_PSD_READ_CODES,                                                                                        \
       {-9, "fewer than 100 rows or columns"},                                                                       \
       {-201, "the file cannot be updated in place (the old bytes are put back)"}),                                  \
      "-11 header sections end past the first 1000 bytes, or the file is shorter than its three planes; -12 "        \
      "fewer than 3 channels or depth not 8; -201 also when a seek, read, write or close fails")                     \
    X(HealPSDfiles, kEvery, refused(-1), reportedLater(-1),                                                          \
      (OSTREL_PSD_READ_CODES,                                                                                        \
       {-9, "the first file has fewer than 100 rows or columns"},                                                    \
       {-6, "the files differ in rows or columns"},                                                                  \
       {-5, "the first file cannot be written"}),                                                                    \
      "-1 a path missing; -11 a file's header, sections or planes run past its end; -12 fewer than 3 channels or "   \
      "depth not 8; -5 also when the write fails")                                                                   \
    X(LaunchAppWithFile, kWindowsOnly, refused(-1), unread, ({-1, "text missing"}), "")                              \
    X(ListSplitOBJtoTev, kEvery, refused(-2), refused(-2),                                                           \
      ({-2, "text or memBlock missing"},                                                                             \
       {-5, "the group list is empty"},                                                                              \
       {-1760, "the Tev file cannot be read"},                                                                       \
       {-18, "no points block"},                                                                                     \
       {-32, "the vertex data runs past the input, or a record's range is negative"},                                \
       {-3, "an output file cannot be written"}),                                                                    \
      "-32 also when a record's range is negative or the points block's count is not backed by its bytes "           \
      "(checked for all records before any file is written); -3 also when a write fails")                            \
    X(ListSplitOBJtoOBJ, kEvery, refused(-2), refused(-2),                                                           \
      ({-2, "text or memBlock missing"},                                                                             \
       {-5, "the group list is empty"},                                                                              \
       {-1, "the OBJ cannot be read, or has more than 4,294,967,294 vertex lines"},                                  \
       {-7, "a face names no vertex line"},                                                                          \
       {-3, "an output file cannot be written"}),                                                                    \
      "-7 a face names no vertex line (refused before any output); -1 also for an OBJ of more than 4,294,967,294 "   \
      "vertex lines (nothing written); -3 also when a write fails")                                                  \
    X(MakeStencilPSD, kEvery, refused(-1), unread,                                                                   \
      (OSTREL_PSD_READ_CODES,                                                                                        \
       {-5, "the file cannot be written"}),                                                                          \
      "-1 path missing; -11; -12; -5 also when the write fails (as FixEdgesPSD)")                                    \
    X(MergePSDfiles, kEvery, refused(-1), reportedLater(-1),                                                         \
      (OSTREL_PSD_READ_CODES,                                                                                        \
       {-6, "the files differ in rows or columns"},                                                                  \
       {-5, "the first file cannot be written"}),                                                                    \
      "-1 a path missing; -11 a file's header, sections or planes run past its end; -12 fewer than 3 channels or "   \
      "depth not 8; -5 also when the write fails")                                                                   \
    X(OpenFolder, kEvery, refused(-1), unread, ({-1, "text missing or empty, or the folder cannot be listed"}), "")  \
    X(OpenNEWPrjFile, kEvery, refused(0), refused(0),                                                                \
      (OSTREL_PROJECT_OPEN_CODES),                                                                                   \
      "-19 file shorter than its header, or refCount promises more records than it holds (nothing loaded or "        \
      "unpacked); -20 broken chunk chain (references loaded, earlier chunks unpacked); -21 an unpacked file "        \
      "could not be written completely, or its name is the project file's own (that chunk skipped, the old file "    \
      "of that name kept, later chunks still unpacked)")                                                             \
    X(OpenPrjFile, kEvery, refused(0), refused(0), (OSTREL_PROJECT_OPEN_CODES), "as OpenNEWPrjFile: -19, -20, -21")  \
    X(OpenQPP, kWindowsLinux, refused(-1), refused(-1),                                                              \
      ({-1, "text or memBlock missing"},                                                                             \
       {-3, "the package path is shorter than 3 characters, ends in \"dat\", or names a slot file"},                 \
       {-15, "the size table cannot be read"},                                                                       \
       {-12, "the size table is shorter than 104 bytes, or holds a negative size"},                                  \
       {-9, "the package cannot be read"},                                                                           \
       {-13, "the package is shorter than its size table promises"},                                                 \
       {-5, "an unpacked file cannot be written"}),                                                                  \
      "-1 text or memBlock missing; -3 package path shorter than 3 characters, ending in \"dat\", or naming a "      \
      "slot file; -12 size table shorter than 104 bytes or holding a negative size; -13 package shorter than its "   \
      "table promises (nothing written); -5 also when a write fails")                                                \
    X(PoserExportOBJ, kEvery, refused(-1), refused(-1),                                                              \
      ({-1, "a path missing, or the source cannot be read or has more than 4,294,967,294 vertex lines"},             \
       {-7, "a face of the source names no vertex line"},                                                            \
       {-11, "the positions file cannot be read"},                                                                   \
       {-100, "the positions file's vertex count differs from the vertices the source's faces use"},                 \
       {-3, "the output cannot be written"}),                                                                        \
      "-7 a face of the source names no vertex line (checked before the output is opened); -1 also for a source "    \
      "of more than 4,294,967,294 vertex lines, more than 32-bit indices number (nothing written); -3 also when "    \
      "the write fails")                                                                                             \
    X(RGBtoGrayscale, kEvery, refused(-1), reportedLater(-5),                                                        \
      ({-1, "the input path missing, the input cannot be read, or it is not a PSD file"},                            \
       {-2, "PSD version is not 1"},                                                                                 \
       {-3, "colour-mode data present, or the colour mode is not RGB"},                                              \
       {-4, "the image data is compressed"},                                                                         \
       {-11, "the header, sections or planes run past the file"},                                                    \
       {-12, "fewer than 3 channels, or depth not 8"},                                                               \
       {-5, "the output path missing, or the output cannot be written"}),                                            \
      "-1 input missing; -11, -12 (after the colour-mode check); -5 output path missing or the write fails")         \
    X(SaveQPP, kWindowsLinux, refused(-1), refused(-1),                                                              \
      ({-1, "text or memBlock missing"},                                                                             \
       {-3, "the package path is shorter than 3 characters, ends in \"dat\", or it or its table is a slot file"},    \
       {-5, "the package cannot be written, or a slot file is 2 GiB or longer or cannot be read"},                   \
       {-15, "the size table cannot be written"}),                                                                   \
      "-1 text or memBlock missing; -3 package path shorter than 3 characters, ending in \"dat\", or the package "   \
      "or its size table would be a slot file; -5 also for a slot file of 2 GiB or more, one that opens but "        \
      "cannot be read to its end, or a failed package write (the old package kept); -15 also when the size table "   \
      "write fails")                                                                                                 \
    X(ScaleUVs, kEvery, refused(-3), refused(-3),                                                                    \
      ({-3, "text or memBlock missing"},                                                                             \
       {-1, "the input cannot be read"},                                                                             \
       {-2, "the output cannot be written"}),                                                                        \
      "-3 text or memBlock missing; -2 also when the write fails")                                                   \
    X(SetDefaultDir, kWindowsOnly, allowed("no start folder"), unread, (), "")                                       \
    X(SetDialogTitle, kWindowsOnly, allowed("the default title"), unread, (), "")                                    \
    X(SetInColor, kEvery, unread, unread, (), "")                                                                    \
    X(SetPrjModfier, kEvery, unread, unread, ({-1, "value 0 or below, or NaN"}), "")                                 \
    X(ShiftDown, kWindowsOnly, unread, unread, (), "")                                                               \
    X(ShiftUp, kWindowsOnly, unread, unread, (), "")                                                                 \
    X(SplitOBJ, kEvery, refused(-2), refused(-2),                                                                    \
      ({-2, "text or memBlock missing, or a group has no vertices"},                                                 \
       {-1, "the OBJ cannot be read, or has more than 4,294,967,294 vertex lines"},                                  \
       {-7, "a face names no vertex line"},                                                                          \
       {-3, "an output file cannot be written"}),                                                                    \
      "-7 a face names no vertex line (refused before any output); -1 also for an OBJ of more than 4,294,967,294 "   \
      "vertex lines, more than 32-bit indices number (nothing written); -3 also when a write fails")                 \
    X(SplitOBJtoTev, kEvery, refused(-2), refused(-2),                                                               \
      ({-2, "text or memBlock missing"},                                                                             \
       {-1, "the OBJ cannot be read, or has more than 4,294,967,294 vertex lines"},                                  \
       {-7, "a face names no vertex line"},                                                                          \
       {-3, "an output file cannot be written, or a group has too many vertices for a points file"}),                \
      "-7 a face names no vertex line; -1 also for an OBJ of more than 4,294,967,294 vertex lines (nothing "         \
      "written); -3 also when a write fails or a group has too many vertices for a points file's size field")        \
    X(SwapColorsPSD, kEvery, refused(-1), unread,                                                                    \
      (OSTREL_PSD_READ_CODES,                                                                                        \
       {-5, "the file cannot be written"}),                                                                          \
      "-1 path missing; -11; -12; -5 also when the write fails (as FixEdgesPSD)")                                    \
    X(SwapVertices, kEvery, refused(-2), refused(-2),                                                                \
      ({-2, "text or memBlock missing, or text's OBJ cannot be read"},                                               \
       {-4, "text's OBJ has no vertex line"},                                                                        \
       {-8, "memBlock's OBJ cannot be read"},                                                                        \
       {-16, "memBlock's OBJ has no vertex line"},                                                                   \
       {-32, "the two OBJ files have different vertex counts"},                                                      \
       {-64, "memBlock's OBJ has nothing besides vertex lines and comments"},                                        \
       {-128, "text's OBJ cannot be written"}),                                                                      \
      "-7 a face names no vertex line; -128 also when the write fails")                                              \
    X(SwapVertices_Tev, kEvery, refused(-2), refused(-2),                                                            \
      ({-2, "text or memBlock missing"},                                                                             \
       {-1760, "the Tev file (memBlock) cannot be read"},                                                            \
       {-18, "no points block in the Tev file, or one that runs past its block or the file"},                        \
       {-201, "the points file (text) cannot be opened for reading and writing"},                                    \
       {-301, "the points file's size or count differs from the Tev file's, or it is cut short"},                    \
       {-401, "the Tev file cannot be written"}),                                                                    \
      "-18 also for a points block whose count runs past the block or the file; -201 also when the points file "     \
      "cannot be read; -301 also when the points file is shorter than its header promises; -401 also when the "      \
      "write fails")                                                                                                 \
    X(Version, kEvery, unread, unread, (), "")                                                                       \
    X(WritePrjFile, kEvery, refused(-1), unread,                                                                     \
      ({-3, "the T-pose list is empty"},                                                                             \
       {-1, "text missing"},                                                                                         \
       {-17, "the project file cannot be written (the old file is kept)"}),                                          \
      "-17 also when a write fails after opening (the old file is kept)")                                            \
    X(addTevFile, kEvery, refused(-9), unread,                                                                       \
      ({-1, "offset below 0"},                                                                                       \
       {-9, "text missing"},                                                                                         \
       {-1760, "the Tev file cannot be read"},                                                                       \
       {-18, "no points block, or one that does not fit the file"},                                                  \
       {-27, "no faces block after the points, or one that does not fit the file"},                                  \
       {-36, "no polygroups block after the faces, or one that does not fit the file"}),                             \
      "-18, -27, -36 also for a block whose count runs past the block or the file, a negative count, or a chain "    \
      "with a negative or 1..15 block size; the buffers are then unchanged")                                         \
    X(clearVectors, kEvery, unread, unread, (), "")                                                                  \
    X(getDaxFile, kEvery, refused(-9), refused(-9),                                                                  \
      ({-9, "text or memBlock missing"},                                                                             \
       {-3, "the container cannot be read"},                                                                         \
       {-18, "no payload chunk, or a broken chunk chain"},                                                           \
       {-5, "the output cannot be written, or is the container itself"}),                                            \
      "-18 also for a chain with a negative or 1..15 chunk size; -5 also when the output is the container "          \
      "itself, or the write fails")                                                                                  \
    X(getFaceIDs, kEvery, refused(-9), unread,                                                                       \
      ({-9, "text missing"},                                                                                         \
       {-1760, "the file cannot be read"},                                                                           \
       {-18, "the file is shorter than 48 bytes, or its face count is negative or runs past the file"}),             \
      "-18 file shorter than 48 bytes, negative face count, or one that runs past the file (faceID stays empty)")    \
    X(tevtoOBJ, kEvery, refused(-9), refused(-9),                                                                    \
      ({-9, "text or memBlock missing"},                                                                             \
       {-18, "getFaceIDs has not run since the last conversion"},                                                    \
       {-1760, "the Tev file cannot be read"},                                                                       \
       {-20, "a count or size points outside the file"},                                                             \
       {-2, "the OBJ cannot be written, or is the Tev file itself"}),                                                \
      "-20 a count or size points outside the file (nothing created, or the old OBJ kept); -2 also when the OBJ "    \
      "path names the Tev file itself, or the write fails (the old OBJ and the face-id list are kept)")              \
    X(outMRGB, kEvery, refused(-9), refused(-9),                                                                     \
      ({-9, "text or memBlock missing"},                                                                             \
       {-1760, "the Tev file cannot be read"},                                                                       \
       {-20, "the file is shorter than 48 bytes, or a colour count is negative or runs past the end"},               \
       {-2, "the output cannot be written, or is the input itself"}),                                                \
      "-20 file shorter than 48 bytes, or a negative colour count or one past the end; -2 also when the output "     \
      "path names the input itself, or the write fails")                                                             \
    X(setGroups, kEvery, unread, unread, ({-1, "value below 0, or NaN"}), "")                                        \
    X(vectorsToTev, kEvery, refused(-9), unread,                                                                     \
      ({-9, "text missing"},                                                                                         \
       {-5, "a mesh buffer is empty"},                                                                               \
       {-6, "a merged block would be too long for its 32-bit size field"},                                           \
       {-1760, "the file cannot be written"}),                                                                       \
      "-6 a merged block would be too long for its 32-bit size field; -1760 also when the write fails (buffers "     \
      "and any existing file unchanged)")                                                                            \
    X(GetOpenDialog, kMacOnly, allowed("no title"), unread, (), "")                                                  \
    X(GetFilePath, kMacOnly, unread, refused(0), (), "0 for a missing memBlock")                                     \
    X(ClearFileList, kMacOnly, unread, unread, (), "")                                                               \
    X(inPut, kMacOnly, refused(-1), unread, ({-1, "text missing, or no URL can be made of it"}), "")                 \
    X(isKeyPressed, kMacOnly, unread, unread, (), "")

namespace ostrel::exports {

inline constexpr size_t kMaxCodes = 10;

struct Export {
    const char* name;
    uint32_t builds;
    NullAnswer nullText;
    NullAnswer nullMem;
    std::array<Code, kMaxCodes> codeSlots;   // the codes, then empty slots
    const char* note;

    constexpr std::span<const Code> codes() const {
        size_t n = 0;
        while (n < codeSlots.size() && codeSlots[n].meaning) ++n;
        return {codeSlots.data(), n};
    }
};

#define OSTREL_UNPARENTHESIZE(...) __VA_ARGS__
#define OSTREL_EXPORT_ROW(name, builds, nullText, nullMem, codes, note) \
    Export{#name, builds, nullText, nullMem, {{OSTREL_UNPARENTHESIZE codes}}, note},
inline constexpr Export kExports[] = {OSTREL_EXPORT_LIST(OSTREL_EXPORT_ROW)};
#undef OSTREL_EXPORT_ROW
#undef OSTREL_UNPARENTHESIZE

constexpr const Export* findExport(std::string_view name) {
    for (const Export& e : kExports)
        if (name == e.name) return &e;
    return nullptr;
}

// What `result` means as a code of `e`; nullptr when it is none of its codes.
constexpr const char* meaningOf(const Export& e, float result) {
    for (const Code& code : e.codes())
        if (code.value == result) return code.meaning;
    return result == kInternalFailure.value ? kInternalFailure.meaning : nullptr;
}

namespace detail {

constexpr bool listed(const Export& e, NullAnswer answer) {
    const bool answersCode = answer.kind == NullAnswer::Refused || answer.kind == NullAnswer::ReportedLater;
    return !answersCode || answer.code >= 0 || meaningOf(e, answer.code) != nullptr;
}

// Every code of a row is negative, listed once, and not the shared -1000; a
// null answer that is a negative code is one of the row's codes; both Windows
// builds or neither; no name twice.
constexpr bool tableIsConsistent() {
    for (const Export& e : kExports) {
        const auto codes = e.codes();
        for (size_t i = 0; i < codes.size(); ++i) {
            if (!(codes[i].value < 0) || codes[i].value == kInternalFailure.value) return false;
            for (size_t j = i + 1; j < codes.size(); ++j)
                if (codes[i].value == codes[j].value) return false;
        }
        if (!listed(e, e.nullText) || !listed(e, e.nullMem)) return false;
        if ((e.builds & kWindows) != 0 && (e.builds & kWindows) != kWindows) return false;
        if (findExport(e.name) != &e) return false;
    }
    return true;
}

}  // namespace detail

static_assert(detail::tableIsConsistent(), "a row of the export table contradicts itself");

}  // namespace ostrel::exports
