#pragma once
// The one list of the library's exports, and everything a plug-in author needs
// to know of each: the builds that export it, what it answers for a null text
// or memBlock, every negative code it returns with its meaning, and what it
// does with its arguments. Everything that must agree with it is derived from
// it: the C declarations (host/ostrel.h, host/frame.hpp), the Windows
// module-definition file (cmake/WindowsExports.cmake), the macOS exported
// names, the test that compares the built library's exported names and null
// answers with it, the meanings and sections ostrel-host prints, and the
// reference EXPORTS.md (tools/reference.sh).
//
// One row per export, its fields in this order:
//   name:     the exported name, undecorated.
//   builds:   the deliverables whose library exports the name.
//   nullText, nullMem: what the export answers when that pointer is null (see
//             NullAnswer).
//   codes:    every negative code the export can answer, from its frame or its
//             worker, each with a short meaning, as {code, "meaning"} in
//             parentheses, in the order a caller meets them. An export that
//             can run out of memory or catch a fault ends its list with
//             OSTREL_INTERNAL_FAILURE.
//   about:    what the export is for and what it does with its arguments (see
//             About).

#include <algorithm>
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

// Answered by an export whose work fails in a way no file can cause: memory
// ran out, or a library fault was caught. Nothing is left half done.
inline constexpr Code kInternalFailure{-1000.0f, "memory ran out, or a library fault was caught"};

// The sections of the reference, in the order it shows them.
enum Topic : uint8_t { kMeshes, kObjGroups, kProject, kTextures, kFilesDesktop };
inline constexpr Topic kTopics[] = {kMeshes, kObjGroups, kProject, kTextures, kFilesDesktop};

// What a plug-in author reads of an export besides its codes. Every field is
// a plain-text sentence (backquoted names allowed) except `purpose`, a short
// phrase without a final period, and `related`, export names separated by
// single spaces. An argument the export ignores has "" as its meaning.
struct About {
    Topic topic;
    const char* purpose;    // what it is for, as --list prints it
    const char* text;       // what `text` means to it
    const char* value;      // what `value` means, and how it is converted
    const char* memBlock;   // what `memBlock` means: an input, or what is written into it
    const char* success;    // what it answers when it succeeds
    const char* state;      // the library state it reads or changes
    const char* related;    // the exports it is used with
};

constexpr About about(Topic topic, const char* purpose, const char* text, const char* value, const char* memBlock,
                      const char* success, const char* state, const char* related) {
    return {topic, purpose, text, value, memBlock, success, state, related};
}

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

// The last code of an export that can answer kInternalFailure (rows expand
// inside ostrel::exports).
#define OSTREL_INTERNAL_FAILURE {kInternalFailure.value, kInternalFailure.meaning}

#define OSTREL_EXPORT_LIST(X)                                                                                        \
    X(AddDatFile, kEvery, refused(0), refused(0),                                                                    \
      ({-16, "value below 0 (checked before the pointers)"},                                                         \
       {-4, "the data file's base name does not start with a decimal number of 0 to 4,294,967,295 (nothing read "    \
            "or appended)"},                                                                                         \
       {-1, "the data file cannot be read, or is 4 GiB - 32 bytes or longer (the project is left as it was)"},       \
       {-2, "the project cannot be opened or created for appending, is the data file itself, or the append fails "   \
            "(the project is put back to its old length)"},                                                          \
       OSTREL_INTERNAL_FAILURE),                                                                                     \
      about(kProject,                                                                                                \
            "appends a data file to a project file as one chunk",                                                    \
            "The data file to store, read whole and left as it is; it must be shorter than 4 GiB - 32 bytes. Its "   \
            "base name (after the last `/` or `\\`, cut before its last `.`) must start, after any white space, "    \
            "with a decimal number of 0 to 4,294,967,295 without a sign: the chunk number, under which "             \
            "`OpenNEWPrjFile` unpacks it (`7X.dat` and `7.dat` both give 7).",                                       \
            "The chunk's kind: below 0 is refused with -16; otherwise trunc (NaN gives 0). Kind 0 unpacks to a "     \
            "`.dat` name, any other kind to a `.dax` name.",                                                         \
            "The project file, extended where it lies by one chunk: a 32-byte header (`VD version 03` and zeros "    \
            "to 16 bytes, then the chunk number, the data length + 32, 0 and the kind, 32-bit little-endian), "      \
            "the data file's bytes, and one filler byte (a repeat of the last data byte, 0 for an empty file). "     \
            "It is only appended to, so `WritePrjFile` must have written the header and references first (a "        \
            "missing file is created holding the chunk alone), and a file stored twice is stored as two chunks. "    \
            "A failed append leaves the project at its old length.",                                                 \
            "0, also when text or memBlock is null (nothing is then done).",                                         \
            "",                                                                                                      \
            "WritePrjFile OpenNEWPrjFile"))                                                                          \
    X(AddTPoseRef, kEvery, refused(-2), refused(-2),                                                                 \
      ({-1, "value 0 or below (checked before the pointers; NaN passes)"},                                           \
       {-2, "text or memBlock missing"},                                                                             \
       OSTREL_INTERNAL_FAILURE),                                                                                     \
      about(kProject,                                                                                                \
            "appends a T-pose reference (number, name, information text) to the T-pose list",                        \
            "The reference's name, the key that `GetTPoseRef` looks up; bytes after the 254th are dropped.",         \
            "The reference's number: 0 or below is refused with -1; otherwise trunc, so values below 1 and NaN "     \
            "store 0, and 2,147,483,647 or more store 2,147,483,647.",                                               \
            "The reference's information text, read (not written), which `GetTPoseRef` hands back; bytes after "     \
            "the 254th are dropped.",                                                                                \
            "0.",                                                                                                    \
            "Appends one record to the end of the T-pose list, which may already hold the name (lookups find the "   \
            "first), and adds 1 to the current project header's reference count; a refused call changes nothing.",   \
            "GetTPoseRef ClearTPoseList WritePrjFile"))                                                              \
    X(AlignVertices_Tev, kEvery, refused(-2), unread,                                                                \
      ({-2, "text missing"},                                                                                         \
       {-1760, "the Tev file cannot be read"},                                                                       \
       {-18, "no points block, a broken block chain (a size that is negative or 1..15, or a block past the end), "   \
             "or "                                                                                                   \
         "a points count that is negative or runs past its block or the file"},                                      \
       {-401, "the Tev file cannot be opened for writing, also when nothing would change, or a write or the flush "  \
          "fails (the old bytes are put back)"},                                                                     \
       OSTREL_INTERNAL_FAILURE),                                                                                     \
      about(kMeshes,                                                                                                 \
        "snaps the coordinates near 0 on one axis of a Tev file's vertices to 0, in place",                          \
        "The Tev file to change where it lies; it must exist and be writable. Its points block is found by "         \
        "walking the block chain from byte 32 (blocks of other tags are skipped by their size); only the "           \
        "coordinates that change are written, and the file keeps its length and every other byte.",                  \
        "Axis and tolerance in one number: the axis is trunc(value) held to 1..3 (1 x, 2 y, 3 z), the tolerance "    \
        "is value minus that axis, narrowed to float. Every coordinate c of that axis with -tolerance <= c <= "      \
        "tolerance becomes +0: 1.05 snaps x within 0.05, 2.5 y within 0.5, 5.25 z within 2.25. A negative or NaN "   \
        "tolerance (0.4 gives axis 1, tolerance -0.6) snaps nothing; a NaN coordinate is never snapped; "            \
        "tolerance 0 turns only -0 into +0.",                                                                        \
        "",                                                                                                          \
        "0, also when no coordinate changed.",                                                                       \
        "",                                                                                                          \
        "SwapVertices_Tev vectorsToTev"))                                                                            \
    X(AppendOBJ, kEvery, refused(-9), refused(-9),                                                                   \
      ({-9, "text or memBlock missing"},                                                                             \
       {-1, "the OBJ to append cannot be read, or has more than 4,294,967,294 vertex lines (target unchanged, no "   \
        "record added)"},                                                                                            \
       {-3, "text and memBlock name the same file"},                                                                 \
       {-2, "the target cannot be written, or exists but cannot be read (target unchanged, no record added)"},       \
       {-7, "a face of the appended OBJ names no vertex line: zero, too far back, or beyond its vertex lines "       \
            "(target "                                                                                               \
        "unchanged, no record added)"},                                                                              \
       OSTREL_INTERNAL_FAILURE),                                                                                     \
      about(kObjGroups,                                                                                              \
        "appends an OBJ file to another as one new group and records it in the group list",                          \
        "The OBJ file S to append. Its group name G is its file name without the folder (after the last `/` or "     \
        "`\\`) and without the extension (from the last `.`): `parts/leg.part.obj` gives `leg.part`. S's `v ` "      \
        "lines are appended as they are, each `g` line becomes `g G`, each face line becomes `f ` and, for each "    \
        "vertex number k, V + k and a space (`f 11 12 13 `); every other line is dropped. Face vertex numbers "      \
        "are read up to each corner's first `/` (texture and normal numbers are dropped); a negative number "        \
        "counts back from the vertex lines before the face.",                                                        \
        "The vertex shift V, trunc: the number of vertex lines already in the target (0 for an empty or missing "    \
        "target; pass each call's answer to the next). All faces of S are shifted by the same V.",                   \
        "The target OBJ T: rebuilt as its old bytes (with a line end added when its last line lacks one) "           \
        "followed by S's lines, and replaced all at once; created when missing. Lines end in CR LF on Windows "      \
        "and in LF elsewhere.",                                                                                      \
        "V plus the number of vertex lines appended.",                                                               \
        "On success adds one group-list record: G (cut to 127 bytes), starting at the running face index and "       \
        "covering S's face lines, and advances the face index by them; a record is added also when S has no `g` "    \
        "line or no face. A failure adds no record and leaves the target as it was.",                                \
        "GroupListClear ListSplitOBJtoOBJ GroupListSave CreateFacesList"))                                           \
    X(CheckName, kEvery, refused(-1), refused(-1),                                                                   \
      ({-1, "text or memBlock missing (nothing remembered)"},                                                        \
       {-2, "memBlockSize is positive and too small for the unique name and its NUL (memBlock gets an empty text, "  \
        "nothing remembered)"},                                                                                      \
       OSTREL_INTERNAL_FAILURE),                                                                                     \
      about(kObjGroups,                                                                                              \
        "makes a name unique among the names it has handed out",                                                     \
        "The proposed name, compared byte for byte (case matters).",                                                 \
        "",                                                                                                          \
        "Receives the unique name and its NUL: the name itself when it has not been handed out; otherwise the "      \
        "stem and the lowest number from 1 that gives a name not handed out, the stem being the name cut just "      \
        "after its first `_copy`, or the name with `_copy` added (`head` taken: `head_copy1`, then `head_copy2`; "   \
        "`arm_copy7` taken: `arm_copy1`). A positive memBlockSize must leave room for the whole unique name and "    \
        "its NUL (the longest answer is the name with `_copy` and a number added): a name is never handed back "     \
        "cut.",                                                                                                      \
        "0.",                                                                                                        \
        "Adds the name handed back to the name set, where it stays until `ClearNameSet`; a refused call adds "       \
        "nothing. The name set is independent of the group list.",                                                   \
        "ClearNameSet"))                                                                                             \
    X(ClearNameSet, kEvery, unread, unread,                                                                          \
      (),                                                                                                            \
      about(kObjGroups,                                                                                              \
        "forgets every name CheckName has handed out",                                                               \
        "",                                                                                                          \
        "",                                                                                                          \
        "",                                                                                                          \
        "0.",                                                                                                        \
        "Empties the name set: every name comes back from `CheckName` unchanged once more.",                         \
        "CheckName"))                                                                                                \
    X(ClearTPoseList, kEvery, unread, unread,                                                                        \
      (),                                                                                                            \
      about(kProject,                                                                                                \
            "empties the T-pose list and sets both project headers to 0",                                            \
            "",                                                                                                      \
            "",                                                                                                      \
            "",                                                                                                      \
            "0.",                                                                                                    \
            "Empties the T-pose list and sets to 0 the reference count, the modifier and the two reserved words "    \
            "of the current project header, and the whole old-layout header; the current header's tag stays "        \
            "(`WritePrjFile` rewrites it).",                                                                         \
            "AddTPoseRef SetPrjModfier WritePrjFile OpenNEWPrjFile OpenPrjFile"))                                    \
    X(CloseFolder, kEvery, unread, unread,                                                                           \
      ({-1, "no listing open"}),                                                                                     \
      about(kFilesDesktop,                                                                                           \
        "ends the folder listing that OpenFolder started",                                                           \
        "",                                                                                                          \
        "",                                                                                                          \
        "",                                                                                                          \
        "0.",                                                                                                        \
        "Closes and forgets the open folder listing, also one that `GetFile` has read to its end; `GetFile` "        \
        "then answers -1 until the next `OpenFolder`. With no listing open nothing changes.",                        \
        "OpenFolder GetFile"))                                                                                       \
    X(CreateFacesList, kEvery, unread, unread,                                                                       \
      ({-5, "the group list is empty (the faces table is left as it was)"},                                          \
       OSTREL_INTERNAL_FAILURE),                                                                                     \
      about(kObjGroups,                                                                                              \
        "builds the table of group names and face counts from the group list",                                       \
        "",                                                                                                          \
        "",                                                                                                          \
        "",                                                                                                          \
        "0.",                                                                                                        \
        "Reads the group list and replaces the faces table with each record's name and face count (endFace - "       \
        "startFace); for a name held by several records the first one's count is kept. The table is a snapshot: "    \
        "later changes of the group list reach it only through another `CreateFacesList`.",                          \
        "GetFaces GroupListAdd GroupListLoad AppendOBJ GroupListClear"))                                             \
    X(CreateFolder, kEvery, refused(-1), unread,                                                                     \
      ({-1, "text missing, or the folder cannot be made (it exists, its parent is missing, or no permission)"}),     \
      about(kFilesDesktop,                                                                                           \
        "makes one folder",                                                                                          \
        "The folder to make, one level: its parent must exist, and a folder or file that already has the name "      \
        "is left as it is (-1). On Windows the path is in the ANSI code page; on Linux the folder gets the mode "    \
        "0777 less the process's umask; on macOS the file manager makes it, and text that is not UTF-8 makes "       \
        "nothing.",                                                                                                  \
        "",                                                                                                          \
        "",                                                                                                          \
        "0 when the folder was made.",                                                                               \
        "",                                                                                                          \
        "EmptyFolder OpenFolder FileDelete"))                                                                        \
    X(CreateThumbnail, kEvery, refused(-1), unread,                                                                  \
      ({-8, "n below 1 or above 30,000 (checked first; the file is not read)"},                                      \
       {-1, "text missing, the file cannot be read or does not start with \"8BPS\", or a read fails part way"},      \
       {-2, "PSD version is not 1"},                                                                                 \
       {-3, "colour-mode data present"},                                                                             \
       {-4, "the image data is compressed"},                                                                         \
       {-11, "the file is too short for its header, its sections or its three planes, or its rows or columns are "   \
             "negative"},                                                                                            \
       {-12, "fewer than 3 channels, or depth not 8"},                                                               \
       {-5, "the file cannot be replaced, or a write fails (the work stops there; the file is kept as it was)"},     \
       OSTREL_INTERNAL_FAILURE),                                                                                     \
      about(kTextures,                                                                                               \
            "replaces an RGB PSD file with an n x n thumbnail of it",                                                \
            "The PSD file, replaced by its thumbnail. It must be of version 1, without colour-mode data, with "      \
            "raw image data and 3 or more channels of 8 bits, the first three taken as red, green and blue. The "    \
            "result keeps its header (rows and columns set to n, channels to 3), image resources, layer and mask "   \
            "information and compression field, followed by three planes of n x n bytes; further channels are "      \
            "dropped.",                                                                                              \
            "The thumbnail's side n in pixels: trunc, 1 to 30,000. The image is subsampled, not filtered, with "     \
            "one whole step s for both directions (the longer side / n, integer division, at least 1; the width "    \
            "for an image no taller than wide), one more source column or row skipped at even intervals to use "     \
            "up the remainder; it fills the square along that side and is centred on the other between black "       \
            "bands. When n exceeds both sides the image is not scaled: it is centred along its shorter side only "   \
            "(at the left or top along the other), the band before it repeating its first row (an image no "         \
            "taller than wide) or each row's first pixel, and black beyond it.",                                     \
            "",                                                                                                      \
            "0.",                                                                                                    \
            "",                                                                                                      \
            "FileCopyTo"))                                                                                           \
    X(CropBMP_SetWidth, kEvery, unread, unread,                                                                      \
      (),                                                                                                            \
      about(kTextures,                                                                                               \
            "sets the width in pixels of the strip that CropBMPfile cuts",                                           \
            "",                                                                                                      \
            "The strip width in pixels, narrowed to float and kept; `CropBMPfile` truncates it and refuses a "       \
            "width below 1 (NaN included) or one that reaches past the image with -12.",                             \
            "",                                                                                                      \
            "0.",                                                                                                    \
            "Sets the crop width (50 when the library is loaded), kept until the library is unloaded.",              \
            "CropBMPfile"))                                                                                          \
    X(CropBMPfile, kEvery, refused(-1760), reportedLater(-5),                                                        \
      ({-1760, "the input path missing, or the input cannot be read"},                                               \
       {-7, "the input does not start with \"BM\""},                                                                 \
       {-8, "the input is shorter than 54 bytes, its pixel offset lies inside them or past the end, its width is "   \
            "negative, or its rows run past the end"},                                                               \
       {-10, "not 24 bits per pixel"},                                                                               \
       {-11, "a height below 3, a top-down file's included"},                                                        \
       {-12, "the strip lies outside the image: a left edge below 0, a crop width below 1, or one that reaches "     \
             "past the image's width"},                                                                              \
       {-5, "the output path missing, or the output cannot be written (the old file is kept)"},                      \
       OSTREL_INTERNAL_FAILURE),                                                                                     \
      about(kTextures,                                                                                               \
            "cuts a vertical strip out of a 24-bit BMP file into a new BMP file",                                    \
            "The input BMP, read whole and left as it is (unless it is also the output). It must start with "        \
            "`BM`, hold at least the 54 bytes of its headers, have its pixels at an offset of 54 or more inside "    \
            "the file, 24 bits per pixel, a width of 0 or more, a height of 3 or more (a top-down file, of "         \
            "negative height, is refused), and all its rows (width x 3 bytes, padded to a multiple of 4) inside "    \
            "the file. The compression field is not read.",                                                          \
            "The strip's left edge in pixels, trunc. The strip, as wide as the crop width set by "                   \
            "`CropBMP_SetWidth` (truncated), must lie inside the image: left edge 0 or more, width 1 or more, "      \
            "left edge + width at most the image's width.",                                                          \
            "The output BMP, created or replaced: the input's bytes before its pixels (headers and any colour "      \
            "table) with the file size, width, height (the input's height - 3) and image size rewritten, then "      \
            "the strip of stored rows 1 to height - 3 in stored order (the first row and the last two are "          \
            "dropped), each row padded with zeros to a multiple of 4 bytes. It may name the input, which is then "   \
            "replaced once the output is complete.",                                                                 \
            "0.",                                                                                                    \
            "Reads the crop width (50 pixels when the library is loaded; set by `CropBMP_SetWidth`); changes "       \
            "nothing.",                                                                                              \
            "CropBMP_SetWidth"))                                                                                     \
    X(DispSizeH, kWindowsOnly, unread, unread,                                                                       \
      (),                                                                                                            \
      about(kFilesDesktop,                                                                                           \
        "the desktop's width in pixels",                                                                             \
        "",                                                                                                          \
        "",                                                                                                          \
        "",                                                                                                          \
        "The desktop width in pixels: the right edge of the desktop window's rectangle, as Windows reports it "      \
        "to the host's process (which depends on the host's DPI awareness); 0 when it cannot be read.",              \
        "",                                                                                                          \
        "DispSizeV GetScreenFactor"))                                                                                \
    X(DispSizeV, kWindowsOnly, unread, unread,                                                                       \
      (),                                                                                                            \
      about(kFilesDesktop,                                                                                           \
        "the desktop's height in pixels",                                                                            \
        "",                                                                                                          \
        "",                                                                                                          \
        "",                                                                                                          \
        "The desktop height in pixels: the bottom edge of the desktop window's rectangle, as Windows reports "       \
        "it to the host's process (which depends on the host's DPI awareness); 0 when it cannot be read.",           \
        "",                                                                                                          \
        "DispSizeH GetScreenFactor"))                                                                                \
    X(EmptyFolder, kEvery, refused(-1), unread,                                                                      \
      ({-1, "text missing or empty, or the folder cannot be listed to its end or holds more than 1,048,576 "         \
        "entries (nothing deleted)"},                                                                                \
       OSTREL_INTERNAL_FAILURE),                                                                                     \
      about(kFilesDesktop,                                                                                           \
        "deletes the entries of a folder whose names contain a dot, leaving subfolders unvisited",                   \
        "The folder to empty; the platform's separator (`\\` on Windows, `/` elsewhere) is appended when it "        \
        "does not end in one. The whole folder is listed first; then every entry whose name contains a `.` "         \
        "(`a.txt`, `.cache`, `v1.2`) is deleted as a file, and every other entry (most folders, files without "      \
        "an extension such as `README`) stays. Nothing below the folder's own level is visited. An entry "           \
        "whose joined path would exceed 255 bytes is left alone, and a deletion that fails is skipped: on "          \
        "Windows a folder is never deleted, on macOS and Linux an empty folder with a `.` in its name is; a "        \
        "symbolic link is deleted, not what it names. On Windows the path and the names are in the ANSI code "       \
        "page, and an entry whose name has no ANSI form is reached by its short name, or left alone.",               \
        "",                                                                                                          \
        "",                                                                                                          \
        "0 once the folder was listed, whatever the single deletions did.",                                          \
        "",                                                                                                          \
        "FileDelete OpenFolder CreateFolder"))                                                                       \
    X(FileCopyTo, kEvery, refused(-1), refused(-1),                                                                  \
      ({-1, "a path missing, the source not a readable regular file, the target refused, or a read or write "        \
        "error (the old target is kept)"},                                                                           \
       OSTREL_INTERNAL_FAILURE),                                                                                     \
      about(kFilesDesktop,                                                                                           \
        "copies a file, replacing the target all at once",                                                           \
        "The source file, read from its start; it must be an existing regular file (a folder, FIFO or device "       \
        "is refused). The copy holds the bytes the source had when the copy began. On Windows the path is in "       \
        "the ANSI code page.",                                                                                       \
        "",                                                                                                          \
        "The target path, created or replaced: the copy is written to a new file beside the target and renamed "     \
        "over it only when complete (over an existing target once it is on the disk), so a failure at any "          \
        "point leaves the old target as it was; a replaced target keeps its owner, group and permission bits. "      \
        "Refused, the target untouched: a folder or other non-regular file, a read-only file, a path whose "         \
        "folder is missing or takes no new file, a file whose owner cannot be kept. A symbolic link has the "        \
        "file it names replaced and stays (the Windows builds replace the link itself). On Windows the path is "     \
        "in the ANSI code page.",                                                                                    \
        "0 when the target holds the copy; also when text and memBlock name one existing file (under any "           \
        "spelling or link), which is left as it is.",                                                                \
        "",                                                                                                          \
        "FileRename FileDelete"))                                                                                    \
    X(FileDelete, kEvery, refused(-1), unread,                                                                       \
      ({-1, "text missing, or the file cannot be deleted (missing, a folder, or no permission)"}),                   \
      about(kFilesDesktop,                                                                                           \
        "deletes a file",                                                                                            \
        "The file to delete, with the C runtime's `remove`. On macOS and Linux an empty folder is deleted "          \
        "too, and a symbolic link is deleted itself, not what it names. On Windows a folder or a read-only "         \
        "file is not deleted, and the path is in the ANSI code page.",                                               \
        "",                                                                                                          \
        "",                                                                                                          \
        "0 when deleted.",                                                                                           \
        "",                                                                                                          \
        "FileRename FileCopyTo EmptyFolder"))                                                                        \
    X(FileRename, kEvery, refused(-1), refused(-1),                                                                  \
      ({-1, "a path missing, both texts the same, the new path taken (nothing is replaced), or the rename "          \
        "failed"}),                                                                                                  \
      about(kFilesDesktop,                                                                                           \
        "renames or moves a file or folder, never replacing an existing file",                                       \
        "The file or folder to rename, as it is named now. On Windows the path is in the ANSI code page.",           \
        "",                                                                                                          \
        "The new path. Refused when it equals text byte for byte, and when anything already has the name (a "        \
        "file, a folder, a dangling link): an existing file is never replaced, on any build. The move is the "       \
        "system's rename, on macOS and Linux within one file system. On Windows the path is in the ANSI code "       \
        "page.",                                                                                                     \
        "0 when renamed.",                                                                                           \
        "",                                                                                                          \
        "FileCopyTo FileDelete"))                                                                                    \
    X(FixEdgesPSD, kWindowsLinux, refused(-1), unread,                                                               \
      ({-1, "text missing, or the file cannot be read or does not start with \"8BPS\""},                             \
       {-2, "PSD version is not 1"},                                                                                 \
       {-3, "colour-mode data present"},                                                                             \
       {-4, "the image data is compressed"},                                                                         \
       {-11, "the file is too short for its header, its sections or its three planes, or its rows or columns are "   \
             "negative"},                                                                                            \
       {-12, "fewer than 3 channels, or depth not 8"},                                                               \
       {-9, "fewer than 100 rows or columns"},                                                                       \
       {-5, "the file cannot be replaced, or the write fails (it is kept as it was)"},                               \
       OSTREL_INTERNAL_FAILURE),                                                                                     \
      about(kTextures,                                                                                               \
            "closes black gaps beside coloured areas of an RGB PSD file by up to three pixels",                      \
            "The PSD file, read whole and replaced with the result. It must be of version 1, without colour-mode "   \
            "data, with raw image data and 3 or more channels of 8 bits, the first three taken as red, green and "   \
            "blue. It needs at least 100 rows and columns. A pixel is black when its three samples are 0. Four "     \
            "passes, each over what the ones before left, give black pixels the colour of a neighbour: leftwards "   \
            "(the last three pixels of a black run that ends left of a coloured pixel), rightwards (the first "      \
            "three black pixels right of a coloured pixel in its row), then upwards and downwards likewise by up "   \
            "to three rows (scanning rows 2 to rows - 2 and 3 to rows - 2), so a lone coloured pixel at least "      \
            "four pixels from every edge grows to a 7 x 7 square. All else, further channels included, is kept "     \
            "byte for byte.",                                                                                        \
            "",                                                                                                      \
            "",                                                                                                      \
            "0; an image without black pixels, or an all-black one, is written back unchanged.",                     \
            "",                                                                                                      \
            "MergePSDfiles HealPSDfiles"))                                                                           \
    X(GetDirFileList, kWindowsOnly, refused(0), unread,                                                              \
      (OSTREL_INTERNAL_FAILURE),                                                                                     \
      about(kFilesDesktop,                                                                                           \
        "lists a folder's plain files or its subfolders as the chosen files, for GetFileInfo",                       \
        "The folder to list, at most 257 bytes in the ANSI code page; one trailing `\\` is dropped. It is "          \
        "searched with `\\*` appended, in the file system's order; hidden and system entries are skipped, and "      \
        "names come as Windows converts them to the ANSI code page.",                                                \
        "Compared with 0: 0 lists the entries that are not folders; any other value, NaN included, lists the "       \
        "folders, `.` and `..` among them.",                                                                         \
        "",                                                                                                          \
        "The number of entries listed, 1 or more. 0 when text is missing, empty or longer than 257 bytes, when "     \
        "the folder cannot be searched, and when no entry matches.",                                                 \
        "Replaces the chosen files that `GetFileInfo` reads with the listing: one entry as its full path "           \
        "(folder, `\\`, name), two or more as the folder path without a trailing `\\` and the names. The "           \
        "listing holds what fits in 65,536 bytes: the first name that does not fit ends it. The search also "        \
        "ends at an error and after 1,048,576 entries examined, as at the folder's end. A text that is "             \
        "missing, empty or too long leaves the chosen files as they were; a folder that cannot be searched or "      \
        "has no match leaves them empty.",                                                                           \
        "GetFileInfo GetFileList OpenFolder"))                                                                       \
    X(GetFaces, kEvery, refused(-1), unread,                                                                         \
      ({-1, "text missing, the faces table empty, or no group of that name in it"},                                  \
       OSTREL_INTERNAL_FAILURE),                                                                                     \
      about(kObjGroups,                                                                                              \
        "answers the face count of one named group from the faces table",                                            \
        "The group name, compared byte for byte with the table's names.",                                            \
        "",                                                                                                          \
        "",                                                                                                          \
        "The group's face count, 0 or more for records made by `GroupListAdd` or `AppendOBJ` (a loaded record "      \
        "whose end lies before its start gives a negative count).",                                                  \
        "Reads the faces table that `CreateFacesList` built and `GroupListClear` empties; changes nothing.",         \
        "CreateFacesList GroupListClear"))                                                                           \
    X(GetFile, kEvery, unread, refused(-2),                                                                          \
      ({-1, "no listing open"},                                                                                      \
       {-2, "memBlock missing (no entry is taken)"},                                                                 \
       {-3, "the listing has no entry left (its end, or 1,048,576 entries handed out)"},                             \
       {-4, "the folder could not be read further (answered once, then -3)"},                                        \
       OSTREL_INTERNAL_FAILURE),                                                                                     \
      about(kFilesDesktop,                                                                                           \
        "hands out the next entry of the open folder listing",                                                       \
        "",                                                                                                          \
        "",                                                                                                          \
        "Receives the entry's name, without folder, and its NUL. Every entry comes, in the file system's "           \
        "order: files, folders, hidden ones, `.` and `..`. On Windows names are in the ANSI code page, at most "     \
        "259 bytes; a name that has no ANSI form, or needs more than 259 bytes in it, comes as its short name, "     \
        "or as `?` when that fails too. On macOS and Linux a name is the bytes the file system stores. A block "     \
        "of 1,024 bytes holds any name on every build.",                                                             \
        "0 when a name was written.",                                                                                \
        "Reads the open folder listing and moves it on by one entry; -1 and -2 leave it as it was. A listing "       \
        "that has ended stays open, answering -3, until `CloseFolder` or the next `OpenFolder`.",                    \
        "OpenFolder CloseFolder"))                                                                                   \
    X(GetFileInfo, kWindowsOnly, refused(0), refused(0),                                                             \
      (OSTREL_INTERNAL_FAILURE),                                                                                     \
      about(kFilesDesktop,                                                                                           \
        "copies one of the chosen files into memBlock, as its full path or its name",                                \
        "`fullname` or `name`, compared byte for byte (`Name` gives 0).",                                            \
        "Trunc: the entry's number, counted from 1; below 1 (NaN too) or above the number of entries gives "         \
        "0.",                                                                                                        \
        "Receives the text and its NUL: with `fullname` the entry's full path (for two or more entries the "         \
        "folder, `\\` and the name), with `name` the name alone (for a single entry the part after its last "        \
        "`\\`; 0 and nothing written when it has none). memBlockSize must be 1 or more: the text is cut to "         \
        "memBlockSize - 1 bytes and its NUL; below 1 nothing is written and the answer is 0.",                       \
        "The length of the text written, after any cut. 0 when nothing is written: text or memBlock missing, "       \
        "another keyword, no such entry, memBlockSize below 1. After a cancelled `GetFileList` or an empty "         \
        "listing, `fullname` with 1 writes an empty text and answers 0.",                                            \
        "Reads the chosen files, the selection of the last `GetFileList` or the listing of the last "                \
        "`GetDirFileList`; changes nothing.",                                                                        \
        "GetFileList GetDirFileList"))                                                                               \
    X(GetFileList, kWindowsOnly, allowed("the filter *.*"), unread,                                                  \
      (OSTREL_INTERNAL_FAILURE),                                                                                     \
      about(kFilesDesktop,                                                                                           \
        "runs the open-file dialog; the files picked become the chosen files",                                       \
        "The filter list: description and pattern pairs separated by `|` (`Meshes|*.obj;*.tev|All|*.*`), "           \
        "cut to 255 bytes; the first pair is selected. Null gives the filter `*.*`.",                                \
        "Compared with 1: exactly 1 lets the user pick one file; any other value, NaN included, lets the user "      \
        "pick several.",                                                                                             \
        "",                                                                                                          \
        "The number of files picked, 1 or more; only existing files can be picked. 0 when the user cancels or "      \
        "the dialog fails (a selection longer than 65,536 bytes fails).",                                            \
        "Clears the chosen files, then fills them with the selection: one file as its full path, several as "        \
        "their folder and names; a cancelled dialog leaves them empty. Reads the dialog title and start folder.",    \
        "SetDialogTitle SetDefaultDir GetFileInfo GetDirFileList"))                                                  \
    X(GetPrjModfier, kEvery, unread, unread,                                                                         \
      (),                                                                                                            \
      about(kProject,                                                                                                \
            "answers the modifier of the current project or of the old-layout project last opened",                  \
            "",                                                                                                      \
            "The selector: above 0 asks for the current project's modifier (set by `SetPrjModfier` or loaded by "    \
            "`OpenNEWPrjFile`); 0 or below, or NaN, for the modifier of the project last loaded by "                 \
            "`OpenPrjFile`.",                                                                                        \
            "",                                                                                                      \
            "The modifier asked for, 0 or more, an unsigned 32-bit number as a float (exact up to 16,777,216); 0 "   \
            "when none was set or loaded, or after `ClearTPoseList`. There is no failure.",                          \
            "Reads the current or the old-layout project header; changes nothing.",                                  \
            "SetPrjModfier OpenNEWPrjFile OpenPrjFile ClearTPoseList"))                                              \
    X(GetPublicFolder, kEvery, unread, refused(kNoPublicFolder),                                                     \
      ({-1, "memBlock missing, or no public folder can be found or named (Windows, Linux; macOS answers 0)"},        \
       OSTREL_INTERNAL_FAILURE),                                                                                     \
      about(kFilesDesktop,                                                                                           \
        "writes the path of the folder that all users of the machine share",                                         \
        "",                                                                                                          \
        "",                                                                                                          \
        "Receives the folder's path, without a trailing separator, and its NUL; nothing is written on "              \
        "failure. Windows: the public documents folder (such as `C:\\Users\\Public\\Documents`) in the ANSI "        \
        "code page, at most 254 bytes, so a 255-byte block holds it; a path that needs more, or has "                \
        "characters without an ANSI form, is not written (-1). macOS: the local users folder (`/Users`), "           \
        "UTF-8. Linux: `/home`, when it is a folder.",                                                               \
        "Windows and Linux: 0. macOS: 1, and 0 (not a negative code) when no folder is found or memBlock is "        \
        "missing.",                                                                                                  \
        "",                                                                                                          \
        "CreateFolder"))                                                                                             \
    X(GetScreenFactor, kWindowsOnly, unread, unread,                                                                 \
      (),                                                                                                            \
      about(kFilesDesktop,                                                                                           \
        "the screen's scale factor: its width in logical inches over its physical width",                            \
        "",                                                                                                          \
        "",                                                                                                          \
        "",                                                                                                          \
        "The factor (HORZRES / LOGPIXELSX) / (HORZSIZE / 25.4) of the screen's device context, in single "           \
        "precision: 1 for 1,920 pixels at 96 pixels per logical inch on 508 mm; infinity when the screen "           \
        "reports a width of 0 mm.",                                                                                  \
        "",                                                                                                          \
        "DispSizeH DispSizeV"))                                                                                      \
    X(GetTPoseRef, kEvery, refused(-1), refused(-1),                                                                 \
      ({-5, "the T-pose list is empty (checked before the pointers)"},                                               \
       {-1, "text or memBlock missing, or no reference has that name (memBlock left as it was)"}),                   \
      about(kProject,                                                                                                \
            "looks a T-pose reference up by name: answers its number, writes its information text",                  \
            "The name to look up, compared whole and byte for byte (case counts) with the stored names; the "        \
            "first reference of that name wins. Stored names hold at most 254 bytes, so a longer text never "        \
            "matches.",                                                                                              \
            "",                                                                                                      \
            "Receives the matching reference's information text and its NUL, at most 255 bytes; left as it was "     \
            "when nothing matches.",                                                                                 \
            "The reference's number, 0 or more, as a float (exact up to 16,777,216).",                               \
            "Reads the T-pose list; changes nothing.",                                                               \
            "AddTPoseRef OpenNEWPrjFile OpenPrjFile"))                                                               \
    X(GroupListAdd, kEvery, refused(-1), unread,                                                                     \
      ({-2, "count 0 or below (checked before text)"},                                                               \
       {-1, "text missing"},                                                                                         \
       OSTREL_INTERNAL_FAILURE),                                                                                     \
      about(kObjGroups,                                                                                              \
        "adds a named group of a number of faces to the group list",                                                 \
        "The group name; only its first 127 bytes are kept. Names are not checked for repeats.",                     \
        "The group's face count, trunc; 0 or below is refused (0.9 and NaN too). `ListSplitOBJtoTev` reads the "     \
        "count as the record's number of vertices.",                                                                 \
        "",                                                                                                          \
        "0.",                                                                                                        \
        "Appends the record (name, startFace = the running face index, endFace = startFace + count) to the group "   \
        "list and sets the face index to endFace (wrapping at 32 bits): a 10 then b 5 give (a, 0, 10) and (b, "      \
        "10, 15). A refused call changes nothing; the faces table is not touched.",                                  \
        "GroupListClear GroupListSave ListSplitOBJtoOBJ ListSplitOBJtoTev CreateFacesList addTevFile"))              \
    X(GroupListClear, kEvery, unread, unread,                                                                        \
      (),                                                                                                            \
      about(kObjGroups,                                                                                              \
        "empties the group list and the faces table",                                                                \
        "",                                                                                                          \
        "",                                                                                                          \
        "",                                                                                                          \
        "0.",                                                                                                        \
        "Empties the group list and the faces table and sets the running face index to 0. The name set is not "      \
        "touched.",                                                                                                  \
        "GroupListAdd AppendOBJ GroupListLoad CreateFacesList"))                                                     \
    X(GroupListGetName, kEvery, unread, refused(-1),                                                                 \
      ({-1, "index -1 or below, or NaN, or memBlock missing (memBlock untouched)"}),                                 \
      about(kObjGroups,                                                                                              \
        "copies the name of one group-list record into memBlock",                                                    \
        "",                                                                                                          \
        "The record index from 0: above -1 it is taken by trunc (-0.5 gives 0, large values saturate); -1 or "       \
        "below, or NaN, is refused.",                                                                                \
        "Receives the record's name and its NUL, at most 128 bytes in all, or the text `null` when the index is "    \
        "at or past the end of the list (an empty list included).",                                                  \
        "0.",                                                                                                        \
        "Reads the group list; changes nothing.",                                                                    \
        "GroupListSize GroupListLoad GroupListAdd AppendOBJ"))                                                       \
    X(GroupListLoad, kEvery, refused(-9), unread,                                                                    \
      ({-9, "text missing (the list unchanged)"},                                                                    \
       {-3, "the file cannot be read (the list is left empty)"},                                                     \
       OSTREL_INTERNAL_FAILURE),                                                                                     \
      about(kObjGroups,                                                                                              \
        "replaces the group list with the records of a group-list file",                                             \
        "The group-list file to read, as `GroupListSave` writes it: 136-byte records without a header, each a "      \
        "128-byte name field and startFace and endFace as little-endian signed 32-bit integers. A trailing "         \
        "partial record is ignored; a name field without a NUL ends at byte 127.",                                   \
        "",                                                                                                          \
        "",                                                                                                          \
        "0.",                                                                                                        \
        "Empties the group list and sets the running face index to 0 before the file is read, so a failed load "     \
        "leaves the list empty; then appends the file's records in order. The face index stays 0: a later "          \
        "`GroupListAdd` or `AppendOBJ` numbers faces from 0 again. The faces table is not touched.",                 \
        "GroupListSave GroupListSize GroupListGetName ListSplitOBJtoOBJ ListSplitOBJtoTev getDaxFile"))              \
    X(GroupListSave, kEvery, refused(-9), unread,                                                                    \
      ({-9, "text missing"},                                                                                         \
       {-1, "the group list is empty (no file touched)"},                                                            \
       {-3, "the file cannot be created or written (the old file is kept)"},                                         \
       OSTREL_INTERNAL_FAILURE),                                                                                     \
      about(kObjGroups,                                                                                              \
        "writes the group list to a group-list file",                                                                \
        "The file to write, created or replaced: every record in list order as 136 bytes, a 128-byte name field "    \
        "(the name, then zeros) and startFace and endFace as little-endian signed 32-bit integers; no header, so "   \
        "two records make 272 bytes.",                                                                               \
        "",                                                                                                          \
        "",                                                                                                          \
        "0.",                                                                                                        \
        "Reads the group list; changes nothing.",                                                                    \
        "GroupListLoad GroupListAdd AppendOBJ"))                                                                     \
    X(GroupListSize, kEvery, unread, unread,                                                                         \
      ({-1, "the group list is empty"}),                                                                             \
      about(kObjGroups,                                                                                              \
        "answers the number of records in the group list",                                                           \
        "",                                                                                                          \
        "",                                                                                                          \
        "",                                                                                                          \
        "The number of records, 1 or more; an empty list answers -1, never 0.",                                      \
        "Reads the group list.",                                                                                     \
        "GroupListGetName GroupListLoad GroupListAdd"))                                                              \
    X(HealImportFile, kWindowsLinux, refused(-1), unread,                                                            \
      ({-1, "text missing, or the file cannot be read or does not start with \"8BPS\""},                             \
       {-2, "PSD version is not 1"},                                                                                 \
       {-3, "colour-mode data present"},                                                                             \
       {-4, "the image data is compressed"},                                                                         \
       {-11, "the header or its sections run past the first 1000 bytes or the file, rows or columns are "            \
             "negative, or the three planes run past the end"},                                                      \
       {-12, "fewer than 3 channels, or depth not 8"},                                                               \
       {-9, "fewer than 100 rows or columns"},                                                                       \
       {-201, "the file cannot be opened for reading and writing, or a read, a write or the flush fails (the old "   \
              "bytes are put back)"},                                                                                \
       OSTREL_INTERNAL_FAILURE),                                                                                     \
      about(kTextures,                                                                                               \
            "repeats rows 4 and rows-3 over a PSD file's top three and bottom two rows, in place",                   \
            "The PSD file, changed where it lies. It must be of version 1, without colour-mode data, with raw "      \
            "image data and 3 or more channels of 8 bits, the first three taken as red, green and blue. It needs "   \
            "at least 100 rows and columns, and its header sections must end within its first 1000 bytes. In "       \
            "each of the first three planes rows 0, 1 and 2 become copies of row 4, and the last two rows copies "   \
            "of row rows - 3; row 3, further channels and every other byte stay, and the length is unchanged. "      \
            "Only those rows are read and written, and a failure puts the old bytes back.",                          \
            "",                                                                                                      \
            "",                                                                                                      \
            "0.",                                                                                                    \
            "",                                                                                                      \
            "HealPSDfiles FixEdgesPSD"))                                                                             \
    X(HealPSDfiles, kEvery, refused(-1), reportedLater(-1),                                                          \
      ({-1, "text or memBlock missing, a file cannot be read or does not start with \"8BPS\", or a read fails "      \
            "part way"},                                                                                             \
       {-2, "a file's PSD version is not 1"},                                                                        \
       {-3, "colour-mode data present"},                                                                             \
       {-4, "the image data is compressed"},                                                                         \
       {-11, "a file is too short for its header, its sections or its three planes, or its rows or columns are "     \
             "negative"},                                                                                            \
       {-12, "fewer than 3 channels, or depth not 8"},                                                               \
       {-9, "A has fewer than 100 rows or columns (B is not opened)"},                                               \
       {-6, "the files differ in rows or columns"},                                                                  \
       {-5, "A's path cannot be replaced, or the write fails (A is kept as it was)"},                                \
       OSTREL_INTERNAL_FAILURE),                                                                                     \
      about(kTextures,                                                                                               \
            "heals one PSD file's edges with pixels from near row or column 50 of another",                          \
            "File A, the source of the pixels; its path receives the result, which replaces A: B's file (header, "   \
            "sections, further channels) with B's edges taken from A. Both files must be of version 1, without "     \
            "colour-mode data, with raw image data and 3 or more channels of 8 bits, the first three taken as "      \
            "red, green and blue. A needs at least 100 rows and columns, and is checked before B is opened.",        \
            "Above 0 heals the left and right edges: in rows 2 to rows - 2, B's columns 0 and 1 take A's columns "   \
            "50 and 51, and B's last two columns A's columns 48 and 49. 0 or below, or NaN, heals the top and "      \
            "bottom: B's rows 0 to 9 take A's rows 50 to 59, and B's last ten rows A's rows 40 to 49. Each in "      \
            "all three planes; every other pixel is B's.",                                                           \
            "File B, with A's rows and columns; read and left as it is (unless it names A). Each file is read "      \
            "from its own image data, so their sections may differ in length.",                                      \
            "0.",                                                                                                    \
            "",                                                                                                      \
            "MergePSDfiles HealImportFile"))                                                                         \
    X(LaunchAppWithFile, kWindowsOnly, refused(-1), unread,                                                          \
      ({-1, "text missing"},                                                                                         \
       OSTREL_INTERNAL_FAILURE),                                                                                     \
      about(kFilesDesktop,                                                                                           \
        "opens a file with its associated program",                                                                  \
        "The file to open, in the ANSI code page. Its name (the part after the last `/` or `\\`) goes to the "       \
        "shell's `open` verb with the folder part (up to and including that separator) as the working folder; "      \
        "a path without a folder part leaves the host's working folder.",                                            \
        "",                                                                                                          \
        "",                                                                                                          \
        "0 once the request is handed to the shell, whatever the shell does with it (a missing file, or one "        \
        "no program opens, also gives 0).",                                                                          \
        "",                                                                                                          \
        "GetFileInfo inPut"))                                                                                        \
    X(ListSplitOBJtoTev, kEvery, refused(-2), refused(-2),                                                           \
      ({-2, "text or memBlock missing"},                                                                             \
       {-5, "the group list is empty (checked before the Tev file is opened)"},                                      \
       {-1760, "the Tev file cannot be read (a read that fails once points files were written keeps them)"},         \
       {-18, "no points block, or a broken block chain with a size that is negative or 1..15 or a block past the "   \
             "end "                                                                                                  \
         "(nothing written)"},                                                                                       \
       {-32, "the records ask for more vertices than the points block holds, a record's range is negative, or the "  \
         "block's count runs past the block or the file (nothing written)"},                                         \
       {-3, "a points file cannot be created or written, its name cannot be looked up, no free name is left, or a "  \
        "record has more than 178,956,969 vertices, too many for a points file's size field (the files of "          \
        "earlier records are kept)"},                                                                                \
       OSTREL_INTERNAL_FAILURE),                                                                                     \
      about(kObjGroups,                                                                                              \
        "hands a Tev mesh's vertices out in runs to the group-list records as points files",                         \
        "The Tev mesh file (not an OBJ). Its points block is found by walking the block chain from byte 32; its "    \
        "positions are copied bit for bit, a run at a time, so memory holds neither the mesh nor the block.",        \
        "",                                                                                                          \
        "A path in the output folder; only its folder part is used, everything up to the last `/` or `\\` (none: "   \
        "the current folder). For each record, in list order, a new points file `<name>.Tvt` is written there: a "   \
        "16-byte header (tag 10001, size 16 + 12n, count n, 0) and the next n = endFace - startFace vertices of "    \
        "the block, 12 bytes each; the runs follow one another from the block's first vertex, whatever startFace "   \
        "says, and vertices after the last run go nowhere. The record name is made safe for a file name: `/`, "      \
        "`\\` and NUL become `_`; on Windows so do `:*?\"<>|` and control characters, and a device name such as "    \
        "`CON` gets a leading `_`. An output never replaces anything: when the name is taken (by a file, a link, "   \
        "even a dangling one, or a folder), `<name>_copy1.Tvt`, `<name>_copy2.Tvt`, ... are tried, at most "         \
        "100,000. A repeated record name so gets `<name>_copy1.Tvt`.",                                               \
        "0.",                                                                                                        \
        "Reads the group list (names, endFace - startFace); changes nothing. When each part merged by "              \
        "`addTevFile` was recorded by `GroupListAdd` with its vertex count (the append's answer), each file fits "   \
        "its part for `SwapVertices_Tev`.",                                                                          \
        "GroupListAdd addTevFile vectorsToTev SwapVertices_Tev GroupListLoad"))                                      \
    X(ListSplitOBJtoOBJ, kEvery, refused(-2), refused(-2),                                                           \
      ({-2, "text or memBlock missing"},                                                                             \
       {-5, "the group list is empty (checked before the OBJ is opened)"},                                           \
       {-1, "the OBJ cannot be read, or has more than 4,294,967,294 vertex lines (nothing written)"},                \
       {-7, "a face names no vertex line: zero, too far back, or beyond the file's vertex lines (nothing written)"}, \
       {-3, "an output cannot be created or written, its name cannot be looked up, or no free name is left (the "    \
        "outputs of the names before it are kept)"},                                                                 \
       OSTREL_INTERNAL_FAILURE),                                                                                     \
      about(kObjGroups,                                                                                              \
        "splits a combined OBJ file by the group list's face ranges into vertex-only OBJ files",                     \
        "The combined OBJ file to split, as `AppendOBJ` builds it. Its face lines are counted from 0 and handed "    \
        "to the records in list order: the faces before the first record's endFace go to it, those before the "      \
        "next record's endFace to the next, one record per face at most; startFace is not read, and the faces "      \
        "after the last range go to the last record. Face vertex numbers are read up to each corner's first `/` "    \
        "(texture and normal numbers are dropped); a negative number counts back from the vertex lines before "      \
        "the face. `g` lines and every line other than `v ` and `f` lines are ignored.",                             \
        "",                                                                                                          \
        "A path in the output folder; only its folder part is used, everything up to the last `/` or `\\` (none: "   \
        "the current folder). For each distinct record name, in byte order of the names, a new file `<name>.obj` "   \
        "is written there, holding the vertex lines, as read, that the faces of that name's first record use, in "   \
        "ascending order, and no face lines; a record without faces gives an empty file, and the faces of later "    \
        "records of the same name reach no file. The name is made safe for a file name: `/`, `\\` and NUL become "   \
        "`_`; on Windows so do `:*?\"<>|` and control characters, and a device name such as `CON` gets a leading "   \
        "`_`. An output never replaces anything: when the name is taken (by a file, a link, even a dangling one, "   \
        "or a folder), `<name>_copy1.obj`, `<name>_copy2.obj`, ... are tried, at most 100,000. Lines end in CR "     \
        "LF on Windows and in LF elsewhere.",                                                                        \
        "0.",                                                                                                        \
        "Reads the group list (names and endFace); changes nothing.",                                                \
        "AppendOBJ GroupListLoad GroupListAdd SplitOBJ"))                                                            \
    X(MakeStencilPSD, kEvery, refused(-1), unread,                                                                   \
      ({-1, "text missing, the file cannot be read or does not start with \"8BPS\", or a read fails part way"},      \
       {-2, "PSD version is not 1"},                                                                                 \
       {-3, "colour-mode data present"},                                                                             \
       {-4, "the image data is compressed"},                                                                         \
       {-11, "the file is too short for its header, its sections or its three planes, or its rows or columns are "   \
             "negative"},                                                                                            \
       {-12, "fewer than 3 channels, or depth not 8"},                                                               \
       {-5, "the file cannot be replaced, or the write fails (it is kept as it was)"},                               \
       OSTREL_INTERNAL_FAILURE),                                                                                     \
      about(kTextures,                                                                                               \
            "gives every pixel of an RGB PSD file that is not the key colour a new colour",                          \
            "The PSD file, replaced with the result. It must be of version 1, without colour-mode data, with raw "   \
            "image data and 3 or more channels of 8 bits, the first three taken as red, green and blue. Every "      \
            "pixel whose three samples do not all equal the key colour's components takes the new colour; pixels "   \
            "of the key colour, the header, the sections and further channels are kept byte for byte.",              \
            "The new colour, R x 65536 + G x 256 + B (0 to 16,777,215), narrowed to float and split in single "      \
            "precision: R = colour / 65536, G and B from the rest, each truncated toward zero (NaN gives 0). "       \
            "Each component is written as its low 8 bits.",                                                          \
            "",                                                                                                      \
            "0.",                                                                                                    \
            "Reads the key colour (0, black, when the library is loaded; set by `SetInColor`). A key with a "        \
            "component outside 0 to 255 matches no pixel: every pixel takes the new colour.",                        \
            "SetInColor SwapColorsPSD"))                                                                             \
    X(MergePSDfiles, kEvery, refused(-1), reportedLater(-1),                                                         \
      ({-1, "text or memBlock missing, a file cannot be read or does not start with \"8BPS\", or a read fails "      \
            "part way"},                                                                                             \
       {-2, "a file's PSD version is not 1"},                                                                        \
       {-3, "colour-mode data present"},                                                                             \
       {-4, "the image data is compressed"},                                                                         \
       {-11, "a file is too short for its header, its sections or its three planes, or its rows or columns are "     \
             "negative"},                                                                                            \
       {-12, "fewer than 3 channels, or depth not 8"},                                                               \
       {-6, "the files differ in rows or columns"},                                                                  \
       {-5, "A's path cannot be replaced, or the write fails (A is kept as it was)"},                                \
       OSTREL_INTERNAL_FAILURE),                                                                                     \
      about(kTextures,                                                                                               \
            "lays the pixels of one PSD file that are not the key colour over another's",                            \
            "File A, the painted file; its path receives the result, which replaces A: B's file (header, "           \
            "sections, further channels) with A's pixel wherever A's pixel is not the key colour. Both files "       \
            "must be of version 1, without colour-mode data, with raw image data and 3 or more channels of 8 "       \
            "bits, the first three taken as red, green and blue. A is checked before B is opened.",                  \
            "The key colour, R x 65536 + G x 256 + B, narrowed to float and split in single precision: R = "         \
            "colour / 65536, G and B from the rest, each truncated toward zero (NaN gives 0). A pixel of A is of "   \
            "the key colour when its three samples equal the components; a key with a component outside 0 to 255 "   \
            "(a colour of -1 or below, or above 16,777,215) matches nothing, and A shows everywhere.",               \
            "File B, the base, with A's rows and columns; read and left as it is (unless it names A). Each file "    \
            "is read from its own image data, so their sections may differ in length.",                              \
            "0.",                                                                                                    \
            "",                                                                                                      \
            "HealPSDfiles FixEdgesPSD"))                                                                             \
    X(OpenFolder, kEvery, refused(-1), unread,                                                                       \
      ({-1, "text missing or empty, or the folder cannot be listed (no listing is then open)"},                      \
       OSTREL_INTERNAL_FAILURE),                                                                                     \
      about(kFilesDesktop,                                                                                           \
        "starts a listing of a folder's entries for GetFile",                                                        \
        "The folder to list; a relative path starts at the host's current folder. On Windows it is in the "          \
        "ANSI code page (text not valid there cannot be listed), made a full path and searched with `\\*` "          \
        "appended (`*` alone after `/`, `:` or `\\`); on macOS and Linux it is opened with `opendir`.",              \
        "",                                                                                                          \
        "",                                                                                                          \
        "0.",                                                                                                        \
        "Closes any listing still open, even when the new one then fails, and on success opens the folder "          \
        "listing that `GetFile` reads from its first entry.",                                                        \
        "GetFile CloseFolder GetDirFileList"))                                                                       \
    X(OpenNEWPrjFile, kEvery, refused(0), refused(0),                                                                \
      ({-17, "the project file cannot be read (nothing loaded or unpacked)"},                                        \
       {-19, "the file is shorter than its 32-byte header, or its reference count promises more 516-byte records "   \
             "than follow (nothing loaded or unpacked)"},                                                            \
       {-20, "a chunk is shorter than its own header or runs past the end of the file, or the file ends inside a "   \
             "chunk header (references loaded, the chunks before it unpacked)"},                                     \
       {-21, "a data file could not be written completely, or its name is the project file's own (that file left "   \
             "as it was, the other chunks unpacked; answered instead of -20)"},                                      \
       OSTREL_INTERNAL_FAILURE),                                                                                     \
      about(kProject,                                                                                                \
            "loads a project file's header and references and unpacks its data files",                               \
            "The project file in the current layout, read whole and left as it is: a 32-byte header (a 16-byte "     \
            "tag, not checked; two reserved words; the reference count; the modifier), that many 516-byte "          \
            "records (the number; the name and the information text in 255 bytes each, NUL-terminated; 2 bytes), "   \
            "then the chunks `AddDatFile` appends, each a 32-byte header (chunk number at 16, chunk length = "       \
            "data length + 32 at 20, kind at 28), the data and one filler byte. Integers are 32-bit "                \
            "little-endian.",                                                                                        \
            "",                                                                                                      \
            "A path whose folder part (up to and including its last `/` or `\\`; without one, the current "          \
            "folder) receives the data files; the rest of the path is ignored. Chunk n becomes `nX.dat` (kind 0) "   \
            "or `nX.dax` (any other kind) in that folder, n in decimal; an existing file of that name is "           \
            "replaced, and a later chunk of the same name replaces an earlier one's file. A file that cannot be "    \
            "created at all (its folder is missing, or a folder or other non-regular file has the name) is "         \
            "passed over without a code.",                                                                           \
            "0, also when text or memBlock is null (nothing is then done).",                                         \
            "Replaces the T-pose list with the file's references and the current project header with the file's "    \
            "(tag, reserved words, reference count, modifier), on success and with -20 or -21; -17 and -19 leave "   \
            "them as they were.",                                                                                    \
            "WritePrjFile AddDatFile OpenPrjFile GetTPoseRef GetPrjModfier"))                                        \
    X(OpenPrjFile, kEvery, refused(0), refused(0),                                                                   \
      ({-17, "the project file cannot be read (nothing loaded or unpacked)"},                                        \
       {-19, "the file is shorter than its 16-byte header, or its reference count promises more 516-byte records "   \
             "than follow (nothing loaded or unpacked)"},                                                            \
       {-20, "a chunk is shorter than its own header or runs past the end of the file, or the file ends inside a "   \
             "chunk header (references loaded, the chunks before it unpacked)"},                                     \
       {-21, "a data file could not be written completely, or its name is the project file's own (that file left "   \
             "as it was, the other chunks unpacked; answered instead of -20)"},                                      \
       OSTREL_INTERNAL_FAILURE),                                                                                     \
      about(kProject,                                                                                                \
            "loads an old-layout project file's references and unpacks its data files",                              \
            "The project file in the old layout, read whole and left as it is: a 16-byte header (two reserved "      \
            "words, the reference count, the modifier), that many 516-byte records as in the current layout, "       \
            "then chunks of a 16-byte header (chunk number at 0, chunk length = data length + 16 at 4), the data "   \
            "and one filler byte. Integers are 32-bit little-endian.",                                               \
            "",                                                                                                      \
            "A path whose folder part (up to and including its last `/` or `\\`; without one, the current "          \
            "folder) receives the data files; the rest of the path is ignored. Chunk n becomes `nX.dat` in that "    \
            "folder (old chunks have no kind), n in decimal; an existing file of that name is replaced, and a "      \
            "later chunk of the same number replaces an earlier one's file. A file that cannot be created at all "   \
            "(its folder is missing, or a folder or other non-regular file has the name) is passed over without "    \
            "a code.",                                                                                               \
            "0, also when text or memBlock is null (nothing is then done).",                                         \
            "Replaces the T-pose list with the file's references and the old-layout project header with the "        \
            "file's (its modifier answers `GetPrjModfier` with 0 or below), on success and with -20 or -21; -17 "    \
            "and -19 leave them as they were. The current project header and its modifier are not changed.",         \
            "OpenNEWPrjFile GetTPoseRef GetPrjModfier"))                                                             \
    X(OpenQPP, kWindowsLinux, refused(-1), refused(-1),                                                              \
      ({-1, "text or memBlock missing"},                                                                             \
       {-3, "the package path is shorter than 3 bytes or ends in \"dat\", or the package or its size table is "      \
            "one of the slot files (nothing written)"},                                                              \
       {-15, "the size table cannot be read (nothing written)"},                                                     \
       {-12, "the size table is shorter than 104 bytes, or holds a negative size (nothing written)"},                \
       {-9, "the package cannot be read (nothing written)"},                                                         \
       {-13, "the package is shorter than its sizes' total (nothing written)"},                                      \
       {-5, "a slot file cannot be written (it is kept as it was; the earlier slots' files are written, the "        \
            "later ones not)"},                                                                                      \
       OSTREL_INTERNAL_FAILURE),                                                                                     \
      about(kProject,                                                                                                \
            "unpacks a scene package into the slot files of a base path",                                            \
            "The package file that `SaveQPP` writes, read whole, and its size table (the package path with its "     \
            "last three bytes replaced by `dat`), of which the first 104 bytes are read: 26 signed 32-bit "          \
            "little-endian sizes in slot order. Neither is changed. The path must be at least 3 bytes long and "     \
            "not end in `dat`.",                                                                                     \
            "",                                                                                                      \
            "The base path. Each slot whose size is above 0, in slot order, is written to the base path followed "   \
            "by the slot's suffix (`1.kel` `1.dat` `.kel` `.dat` `2.kel` `2.dat` `3.kel` ... `12.kel` `12.dat`), "   \
            "created or replaced, with the next that many bytes of the package; a slot of size 0 creates no file "   \
            "and leaves an existing one alone. Bytes of the package beyond the sizes' total are ignored. Neither "   \
            "the package nor its size table may be one of these 26 files.",                                          \
            "0.",                                                                                                    \
            "",                                                                                                      \
            "SaveQPP"))                                                                                              \
    X(PoserExportOBJ, kEvery, refused(-1), refused(-1),                                                              \
      ({-1, "a path missing, or the source cannot be read, has more than 4,294,967,294 vertex lines, or cannot be "  \
            "read again to its end or reads differently while the output is written (the positions file is left "    \
            "as it was)"},                                                                                           \
       {-7, "a face of the source names no vertex line: zero, too far back, or beyond its vertex lines (nothing "    \
        "written)"},                                                                                                 \
       {-11, "the positions file cannot be read, or cannot be read again to its end or reads differently while it "  \
             "is rewritten (it is left as it was)"},                                                                 \
       {-100, "the positions file's vertex line count differs from the number of vertices the source's faces use "   \
          "(nothing written)"},                                                                                      \
       {-3, "the positions file cannot be written (the old file is kept)"},                                          \
       OSTREL_INTERNAL_FAILURE),                                                                                     \
      about(kObjGroups,                                                                                              \
        "puts exported vertex positions back into a figure's source OBJ, written over the export",                   \
        "The figure's source OBJ S, read and not changed. The vertex numbers of its faces tell which vertex "        \
        "lines are used. Face vertex numbers are read up to each corner's first `/` (texture and normal numbers "    \
        "are dropped); a negative number counts back from the vertex lines before the face.",                        \
        "",                                                                                                          \
        "The OBJ P with the new positions: one `v ` line per vertex S's faces use, in ascending order of S's "       \
        "numbers (its other lines are ignored). P is replaced by the result: `# file written by Kelmor 2X5 "         \
        "Halvrin plugin`, `# https://www.kelmor.example`, `#Vertex Count ` and S's vertex line count, `#Face "       \
        "Count ` and S's face line count, every vertex line of S with the k-th used one replaced by P's k-th, "      \
        "then S's other lines except comments (`#` lines), negative face numbers made absolute. P may be S "         \
        "itself. Lines end in CR LF on Windows and in LF elsewhere.",                                                \
        "0.",                                                                                                        \
        "",                                                                                                          \
        "SwapVertices"))                                                                                             \
    X(RGBtoGrayscale, kEvery, refused(-1), reportedLater(-5),                                                        \
      ({-1, "text missing, the input cannot be read or does not start with \"8BPS\", or a read fails part way"},     \
       {-2, "PSD version is not 1"},                                                                                 \
       {-3, "colour-mode data present, or the colour mode is not RGB (3)"},                                          \
       {-4, "the image data is compressed"},                                                                         \
       {-11, "the input is too short for its header, its sections or its three planes, or its rows or columns "      \
             "are negative"},                                                                                        \
       {-12, "fewer than 3 channels, or depth not 8"},                                                               \
       {-5, "the output path missing, or the output cannot be written (the old file is kept)"},                      \
       OSTREL_INTERNAL_FAILURE),                                                                                     \
      about(kTextures,                                                                                               \
            "writes a one-channel grayscale copy of an RGB PSD file, with a black level",                            \
            "The input PSD file, read and left as it is (unless it is also the output). It must be of version 1, "   \
            "without colour-mode data, of colour mode 3 (RGB), with raw image data and 3 or more channels of 8 "     \
            "bits, the first three taken as red, green and blue.",                                                   \
            "The black level: below 0 gives 0, above 255 gives 255, otherwise trunc (NaN gives 0). A pixel's "       \
            "gray g = trunc(R x 0.333 + G x 0.333 + B x 0.333 + 0.5), at most 255; then 255 stays 255, a g at or "   \
            "below the level becomes 0, and any other g becomes g - (level - 1) x (255 - g) / (255 - level), the "   \
            "quotient truncated toward zero, at least 0. Level 0 keeps every gray value; level 255 turns all but "   \
            "255 to 0.",                                                                                             \
            "The output PSD file, created or replaced: the input's header with channels set to 1 and colour mode "   \
            "to 1 (grayscale), its image resources, layer and mask information and compression field unchanged, "    \
            "then one plane of rows x columns gray bytes; every input plane is dropped. It may name the input, "     \
            "which is then replaced once the output is complete.",                                                   \
            "0.",                                                                                                    \
            "",                                                                                                      \
            ""))                                                                                                     \
    X(SaveQPP, kWindowsLinux, refused(-1), refused(-1),                                                              \
      ({-1, "text or memBlock missing"},                                                                             \
       {-3, "the package path is shorter than 3 bytes or ends in \"dat\", or the package or its size table would "   \
            "be one of the slot files (nothing written)"},                                                           \
       {-5, "the package cannot be written, or a slot file that opens cannot be read to its end or is 2 GiB or "     \
            "longer (the old package and size table are kept)"},                                                     \
       {-15, "the size table cannot be written (the package is already replaced; the old size table is kept)"},      \
       OSTREL_INTERNAL_FAILURE),                                                                                     \
      about(kProject,                                                                                                \
            "packs the slot files of a base path into a scene package and its size table",                           \
            "The base path: slot k's file is the base path followed by its suffix, in the order `1.kel` `1.dat` "    \
            "`.kel` `.dat` `2.kel` `2.dat` `3.kel` ... `12.kel` `12.dat` (26 slots). Each slot file that can be "    \
            "opened is read whole (it must be under 2 GiB) and left as it is; one that is missing or cannot be "     \
            "opened is passed over with size 0.",                                                                    \
            "",                                                                                                      \
            "The package path. The package file is created or replaced with the packed files' bytes back to back "   \
            "in slot order, without a header; then its size table, the package path with its last three bytes "      \
            "replaced by `dat`, is created or replaced with 26 signed 32-bit little-endian sizes in slot order "     \
            "(104 bytes; 0 for a slot passed over or empty). The path must be at least 3 bytes long and not end "    \
            "in `dat`, and neither file may be one of the slot files.",                                              \
            "0, also when no slot file exists (an empty package and 104 zero bytes).",                               \
            "",                                                                                                      \
            "OpenQPP"))                                                                                              \
    X(ScaleUVs, kEvery, refused(-3), refused(-3),                                                                    \
      ({-3, "text or memBlock missing (nothing read or written)"},                                                   \
       {-1, "the input cannot be read (no output written)"},                                                         \
       {-2, "the output cannot be created or written (the old file is kept)"},                                       \
       OSTREL_INTERNAL_FAILURE),                                                                                     \
      about(kObjGroups,                                                                                              \
        "copies an OBJ file with its texture coordinates scaled about the centre of the UV square",                  \
        "The OBJ file to read. Lines that start with `vt` are rewritten; every other line is copied unchanged.",     \
        "The scale factor s, used as a double. When s > 0, u and v of each `vt` line become c * s + o with o = "     \
        "(1 - s) / 2 narrowed to float, the result narrowed to float, so 0.5 stays put (s = 0.5 makes `vt 0 1` "     \
        "into `vt 0.25 0.75 `). With s 0 or below, or NaN, the values stay but the lines are still rewritten.",      \
        "The OBJ file to write, created or replaced; it may be the input itself, which is replaced once the "        \
        "result is complete. Each `vt` line is written as `vt u v ` (%g with 6 significant digits, a space after "   \
        "each; a third coordinate is dropped, a missing one read as 0). Lines end in CR LF on Windows and in LF "    \
        "elsewhere.",                                                                                                \
        "0.",                                                                                                        \
        "",                                                                                                          \
        ""))                                                                                                         \
    X(SetDefaultDir, kWindowsOnly, allowed("no start folder"), unread,                                               \
      (OSTREL_INTERNAL_FAILURE),                                                                                     \
      about(kFilesDesktop,                                                                                           \
        "sets the folder the open-file dialog starts in",                                                            \
        "The folder, cut to 511 bytes and not checked. Null or an empty text lets the system choose.",               \
        "",                                                                                                          \
        "",                                                                                                          \
        "0, always.",                                                                                                \
        "Sets the dialog start folder that every later `GetFileList` uses (initially empty); it lasts until "        \
        "the library is unloaded.",                                                                                  \
        "GetFileList SetDialogTitle"))                                                                               \
    X(SetDialogTitle, kWindowsOnly, allowed("the default title"), unread,                                            \
      (OSTREL_INTERNAL_FAILURE),                                                                                     \
      about(kFilesDesktop,                                                                                           \
        "sets the title of the open-file dialog",                                                                    \
        "The title, cut to 255 bytes. Null restores the initial title, `Select Files`.",                             \
        "",                                                                                                          \
        "",                                                                                                          \
        "0, always.",                                                                                                \
        "Sets the dialog title that every later `GetFileList` shows; it lasts until the library is unloaded.",       \
        "GetFileList SetDefaultDir"))                                                                                \
    X(SetInColor, kEvery, unread, unread,                                                                            \
      (),                                                                                                            \
      about(kTextures,                                                                                               \
            "sets the key colour of SwapColorsPSD and MakeStencilPSD",                                               \
            "",                                                                                                      \
            "The key colour, R x 65536 + G x 256 + B, narrowed to float and kept. `SwapColorsPSD` and "              \
            "`MakeStencilPSD` split it in single precision: R = colour / 65536, G and B from the rest, each "        \
            "truncated toward zero (NaN gives 0). A pixel is of the key colour when its three samples equal the "    \
            "components; a key with a component outside 0 to 255 (a colour of -1 or below, or above 16,777,215) "    \
            "matches no pixel.",                                                                                     \
            "",                                                                                                      \
            "0.",                                                                                                    \
            "Sets the key colour (0, black, when the library is loaded), kept until the library is unloaded; "       \
            "`MergePSDfiles` takes its key from its own value instead.",                                             \
            "SwapColorsPSD MakeStencilPSD"))                                                                         \
    X(SetPrjModfier, kEvery, unread, unread,                                                                         \
      ({-1, "value 0 or below, or NaN (the modifier is kept)"}),                                                     \
      about(kProject,                                                                                                \
            "sets the current project's modifier",                                                                   \
            "",                                                                                                      \
            "The modifier: above 0, trunc (0.5 gives 0; 2,147,483,647 or more gives 2,147,483,647); 0 or below, "    \
            "or NaN, is refused with -1.",                                                                           \
            "",                                                                                                      \
            "0.",                                                                                                    \
            "Sets the modifier of the current project header, which `WritePrjFile` writes and `GetPrjModfier` "      \
            "with a value above 0 answers; a refused call keeps the old one.",                                       \
            "GetPrjModfier WritePrjFile ClearTPoseList"))                                                            \
    X(ShiftDown, kWindowsOnly, unread, unread,                                                                       \
      (),                                                                                                            \
      about(kFilesDesktop,                                                                                           \
        "sends a left mouse-button press and release where the pointer is",                                          \
        "",                                                                                                          \
        "",                                                                                                          \
        "",                                                                                                          \
        "0, always, even when Windows refuses the events: a left-button press and a release with the offsets "       \
        "760,300 and 860,300 but no move flag, so the pointer stays and the click lands where it is.",               \
        "",                                                                                                          \
        "ShiftUp"))                                                                                                  \
    X(ShiftUp, kWindowsOnly, unread, unread,                                                                         \
      (),                                                                                                            \
      about(kFilesDesktop,                                                                                           \
        "sends a key release of virtual key 0xC0",                                                                   \
        "",                                                                                                          \
        "",                                                                                                          \
        "",                                                                                                          \
        "0, always, even when Windows refuses the event: a key release of virtual key 0xC0 (`VK_OEM_3`, the "        \
        "key left of `1` on a US keyboard), scan code 0x45, flagged extended; no key press is sent.",                \
        "",                                                                                                          \
        "ShiftDown"))                                                                                                \
    X(SplitOBJ, kEvery, refused(-2), refused(-2),                                                                    \
      ({-2, "text or memBlock missing, or a group has no face with a vertex number (the outputs of the groups "      \
            "before "                                                                                                \
        "it in name order are written, none after it)"},                                                             \
       {-1, "the OBJ cannot be read, or has more than 4,294,967,294 vertex lines (nothing written)"},                \
       {-7, "a face names no vertex line: zero, too far back, or beyond the file's vertex lines (nothing written)"}, \
       {-3, "an output cannot be created or written, its name cannot be looked up, or no free name is left (the "    \
        "outputs of the groups before it are kept)"},                                                                \
       OSTREL_INTERNAL_FAILURE),                                                                                     \
      about(kObjGroups,                                                                                              \
        "splits an OBJ file into one OBJ file per group",                                                            \
        "The OBJ file to split. A `g` line names a group: the line from its third character on, taken whole; a "     \
        "name met again continues its group. Faces before the first `g` line belong to the first group named; a "    \
        "file without `g` lines gives no output. Face vertex numbers are read up to each corner's first `/` "        \
        "(texture and normal numbers are dropped); a negative number counts back from the vertex lines before "      \
        "the face. Lines other than `v `, `f` and `g` lines are ignored.",                                           \
        "",                                                                                                          \
        "A path in the output folder; only its folder part is used, everything up to the last `/` or `\\` (none: "   \
        "the current folder). For each group, in byte order of the names (`Zed` before `arm`), a new file "          \
        "`<group>.obj` is written there: the vertex lines its faces use, as read, in ascending order, then each "    \
        "face as `f ` and, per corner, a space and its new number from 1 (`f  1 2 3`); no group, material or "       \
        "texture lines. The group name is made safe for a file name: `/`, `\\` and NUL become `_`; on Windows so "   \
        "do `:*?\"<>|` and control characters, and a device name such as `CON` gets a leading `_`. An output "       \
        "never replaces anything: when the name is taken (by a file, a link, even a dangling one, or a folder), "    \
        "`<group>_copy1.obj`, `<group>_copy2.obj`, ... are tried, at most 100,000. Lines end in CR LF on Windows "   \
        "and in LF elsewhere.",                                                                                      \
        "0.",                                                                                                        \
        "",                                                                                                          \
        "SplitOBJtoTev ListSplitOBJtoOBJ"))                                                                          \
    X(SplitOBJtoTev, kEvery, refused(-2), refused(-2),                                                               \
      ({-2, "text or memBlock missing"},                                                                             \
       {-1, "the OBJ cannot be read, or has more than 4,294,967,294 vertex lines (nothing written)"},                \
       {-7, "a face names no vertex line: zero, too far back, or beyond the file's vertex lines (nothing written)"}, \
       {-3, "an output cannot be created or written, its name cannot be looked up, no free name is left, or a "      \
            "group "                                                                                                 \
        "uses more than 178,956,969 vertices, too many for a points file's size field (the outputs of the groups "   \
        "before it are kept)"},                                                                                      \
       OSTREL_INTERNAL_FAILURE),                                                                                     \
      about(kObjGroups,                                                                                              \
        "splits an OBJ file into one points file per group",                                                         \
        "The OBJ file to split. A `v ` line's first three numbers are its x, y and z, read as floats (missing "      \
        "ones are 0). A `g` line names a group: the line from its third character on, taken whole; a name met "      \
        "again continues its group. Faces before the first `g` line belong to the first group named; a file "        \
        "without `g` lines gives no output. Face vertex numbers are read up to each corner's first `/` (texture "    \
        "and normal numbers are dropped); a negative number counts back from the vertex lines before the face. "     \
        "Lines other than `v `, `f` and `g` lines are ignored.",                                                     \
        "",                                                                                                          \
        "A path in the output folder; only its folder part is used, everything up to the last `/` or `\\` (none: "   \
        "the current folder). For each group, in byte order of the names, a new points file `<group>.Tvt` is "       \
        "written there: a 16-byte header (tag 10001, size 16 + 12n, count n, 0) and x, y, z as little-endian "       \
        "floats for each of the n vertices its faces use, in ascending order; a group without faces gives a "        \
        "16-byte file of count 0. The group name is made safe for a file name: `/`, `\\` and NUL become `_`; on "    \
        "Windows so do `:*?\"<>|` and control characters, and a device name such as `CON` gets a leading `_`. An "   \
        "output never replaces anything: when the name is taken (by a file, a link, even a dangling one, or a "      \
        "folder), `<group>_copy1.Tvt`, `<group>_copy2.Tvt`, ... are tried, at most 100,000.",                        \
        "0.",                                                                                                        \
        "",                                                                                                          \
        "SwapVertices_Tev SplitOBJ ListSplitOBJtoTev"))                                                              \
    X(SwapColorsPSD, kEvery, refused(-1), unread,                                                                    \
      ({-1, "text missing, the file cannot be read or does not start with \"8BPS\", or a read fails part way"},      \
       {-2, "PSD version is not 1"},                                                                                 \
       {-3, "colour-mode data present"},                                                                             \
       {-4, "the image data is compressed"},                                                                         \
       {-11, "the file is too short for its header, its sections or its three planes, or its rows or columns are "   \
             "negative"},                                                                                            \
       {-12, "fewer than 3 channels, or depth not 8"},                                                               \
       {-5, "the file cannot be replaced, or the write fails (it is kept as it was)"},                               \
       OSTREL_INTERNAL_FAILURE),                                                                                     \
      about(kTextures,                                                                                               \
            "gives every pixel of an RGB PSD file that is the key colour a new colour",                              \
            "The PSD file, replaced with the result. It must be of version 1, without colour-mode data, with raw "   \
            "image data and 3 or more channels of 8 bits, the first three taken as red, green and blue. Every "      \
            "pixel whose three samples equal the key colour's components takes the new colour; other pixels, the "   \
            "header, the sections and further channels are kept byte for byte.",                                     \
            "The new colour, R x 65536 + G x 256 + B (0 to 16,777,215), narrowed to float and split in single "      \
            "precision: R = colour / 65536, G and B from the rest, each truncated toward zero (NaN gives 0). "       \
            "Each component is written as its low 8 bits.",                                                          \
            "",                                                                                                      \
            "0.",                                                                                                    \
            "Reads the key colour (0, black, when the library is loaded; set by `SetInColor`). A key with a "        \
            "component outside 0 to 255 matches no pixel: the file is written back unchanged.",                      \
            "SetInColor MakeStencilPSD"))                                                                            \
    X(SwapVertices, kEvery, refused(-2), refused(-2),                                                                \
      ({-2, "text or memBlock missing, or text's OBJ cannot be read, has more than 4,294,967,294 vertex lines, or "  \
            "cannot be read again to its end or reads differently while the result is written (it is left as it "    \
            "was)"},                                                                                                 \
       {-4, "text's OBJ has no vertex line"},                                                                        \
       {-8, "memBlock's OBJ cannot be read, has more than 4,294,967,294 vertex lines, or cannot be read again to "   \
            "its end or reads differently while the result is written (text's OBJ is left as it was)"},              \
       {-16, "memBlock's OBJ has no vertex line"},                                                                   \
       {-32, "the two OBJ files have different numbers of vertex lines"},                                            \
       {-64, "memBlock's OBJ has no line besides vertex lines and comments"},                                        \
       {-128, "text's OBJ cannot be written (the old file is kept)"},                                                \
       OSTREL_INTERNAL_FAILURE),                                                                                     \
      about(kObjGroups,                                                                                              \
        "rewrites an OBJ file with its own vertex lines and everything else of another OBJ",                         \
        "OBJ file A, whose `v ` lines are kept, as read and in order, and which is replaced by the result: `# "      \
        "written by Halvrin plugin for Kelmor`, A's vertex lines, then every line of B except its vertex lines "     \
        "and comments (`#` lines), in B's order, with negative face vertex numbers made absolute. A's other "        \
        "lines are lost; a refused call changes neither file. Lines end in CR LF on Windows and in LF elsewhere.",   \
        "",                                                                                                          \
        "OBJ file B, read and not changed, which gives the texture coordinates, normals, groups, materials and "     \
        "faces; it must have as many `v ` lines as A. Its face numbers are not checked. B may be A itself.",         \
        "0.",                                                                                                        \
        "",                                                                                                          \
        "PoserExportOBJ"))                                                                                           \
    X(SwapVertices_Tev, kEvery, refused(-2), refused(-2),                                                            \
      ({-2, "text or memBlock missing"},                                                                             \
       {-1760, "the Tev file (memBlock) cannot be read"},                                                            \
       {-18, "no points block in the Tev file, a broken block chain (a size that is negative or 1..15, or a block "  \
         "past the end), or a points count that is negative or runs past its block or the file"},                    \
       {-201, "the points file (text) cannot be opened for reading and writing, or cannot be read"},                 \
       {-301, "the points file's size or count field differs from the Tev file's points block, it is shorter than "  \
              "16 "                                                                                                  \
          "bytes, or it holds fewer positions than its count"},                                                      \
       {-401, "the Tev file cannot be opened for writing, or a write or the flush fails (the old bytes are put "     \
          "back)"},                                                                                                  \
       OSTREL_INTERNAL_FAILURE),                                                                                     \
      about(kMeshes,                                                                                                 \
        "copies the vertex positions of a points file into a Tev file, in place",                                    \
        "The points file (`.Tvt`, as `SplitOBJtoTev` and `ListSplitOBJtoTev` write it) that gives the positions: "   \
        "a 16-byte header (tag, not compared; size; count; 0), then x, y, z as little-endian floats, 12 bytes "      \
        "per vertex. It must be a regular file that may be opened for reading and writing; it is not changed.",      \
        "",                                                                                                          \
        "The Tev file changed where it lies. Its points block, found by walking the block chain from byte 32, "      \
        "gets the points file's positions bit for bit, vertex i for vertex i; only the bytes that differ are "       \
        "written, and the file keeps its length and every other byte. The points file's size field must equal "      \
        "the block's size field and its count the block's count, so a block with bytes beyond 12 per vertex "        \
        "matches no points file.",                                                                                   \
        "0.",                                                                                                        \
        "",                                                                                                          \
        "ListSplitOBJtoTev SplitOBJtoTev AlignVertices_Tev"))                                                        \
    X(Version, kEvery, unread, unread,                                                                               \
      (),                                                                                                            \
      about(kFilesDesktop,                                                                                           \
        "the library's version number, 4.4",                                                                         \
        "",                                                                                                          \
        "",                                                                                                          \
        "",                                                                                                          \
        "4.4 as a 32-bit float (4.40000010), whatever the arguments.",                                               \
        "",                                                                                                          \
        ""))                                                                                                         \
    X(WritePrjFile, kEvery, refused(-1), unread,                                                                     \
      ({-3, "the T-pose list is empty (checked first; no file touched)"},                                            \
       {-1, "text missing"},                                                                                         \
       {-17, "the project file cannot be created or written (the old file is kept)"},                                \
       OSTREL_INTERNAL_FAILURE),                                                                                     \
      about(kProject,                                                                                                \
            "writes the project header and the T-pose references as a new project file",                             \
            "The project file, created or replaced whole: a 32-byte header (the tag `VD version 03` and zeros to "   \
            "16 bytes; the two reserved words of the last current-layout project loaded, else 0; the reference "     \
            "count; the modifier), then one 516-byte record per reference in list order (the number; the name "      \
            "and the information text in 255 bytes each, zeros after the text; 2 zero bytes). Integers are "         \
            "32-bit little-endian. Data files stored in a file it replaces are dropped: append them again with "     \
            "`AddDatFile`.",                                                                                         \
            "",                                                                                                      \
            "",                                                                                                      \
            "0.",                                                                                                    \
            "Reads the T-pose list and the current project header, whose tag it sets and whose reference count "     \
            "it sets to the list's length; the list is not changed.",                                                \
            "ClearTPoseList SetPrjModfier AddTPoseRef AddDatFile OpenNEWPrjFile"))                                   \
    X(addTevFile, kEvery, refused(-9), unread,                                                                       \
      ({-1, "offset below 0 (checked before text)"},                                                                 \
       {-9, "text missing"},                                                                                         \
       {-1760, "the Tev file cannot be read"},                                                                       \
       {-18, "no points block, a broken block chain (a size that is negative or 1..15, or a block past the end), "   \
             "or "                                                                                                   \
         "a points count that is negative or runs past its block or the file (buffers unchanged)"},                  \
       {-27, "no faces block after the points block, or one whose count is negative or runs past its block or the "  \
         "file (buffers unchanged)"},                                                                                \
       {-36, "no polygroups block after the faces block, or one whose count is negative or runs past its block or "  \
         "the file (buffers unchanged)"},                                                                            \
       OSTREL_INTERNAL_FAILURE),                                                                                     \
      about(kMeshes,                                                                                                 \
        "appends one Tev file's points, faces and polygroups to the mesh buffers",                                   \
        "The Tev file to append. From byte 32 its block chain is walked to the points block (tag 10001, x, y, z "    \
        "floats per vertex), from there to the faces block (20001, four signed 32-bit corner indices per face "      \
        "from 0, a negative fourth one for a triangle), and from there to the polygroups block (40001, a 16-bit "    \
        "group id per entry); blocks of other tags are skipped by their size.",                                      \
        "The vertex offset, trunc: the number of vertices already in the buffers, the sum of the answers of the "    \
        "appends since `clearVectors` (0 for the first). It is added to every corner index of 0 or more "            \
        "(wrapping at 32 bits); negative corners stay as they are. Below 0 after trunc is refused (-0.5 gives 0 "    \
        "and is accepted).",                                                                                         \
        "",                                                                                                          \
        "The number of vertices appended, the points block's count (0 or more).",                                    \
        "Raises the running group id by 33 first, also when the append then fails with -1760, -18, -27 or -36. "     \
        "On success the mesh buffers gain the file's points, its shifted faces and one group id per polygroups "     \
        "entry: the file's own ids when `isGroups` is nonzero, otherwise the running id modulo 65536 for all, so "   \
        "the files appended after `clearVectors` get 33, 66, 99, ... The file stays in memory until "                \
        "`clearVectors` or a successful `vectorsToTev`. A failure leaves the buffers as they were.",                 \
        "clearVectors setGroups vectorsToTev GroupListAdd ListSplitOBJtoTev"))                                       \
    X(clearVectors, kEvery, unread, unread,                                                                          \
      (),                                                                                                            \
      about(kMeshes,                                                                                                 \
        "empties the mesh buffers and resets the running group id",                                                  \
        "",                                                                                                          \
        "",                                                                                                          \
        "",                                                                                                          \
        "0.",                                                                                                        \
        "Empties the mesh buffers (points, faces, group ids, and the appended files kept in memory) and sets the "   \
        "running group id to 0. `isGroups` and the face-id list are not touched.",                                   \
        "addTevFile vectorsToTev setGroups"))                                                                        \
    X(getDaxFile, kEvery, refused(-9), refused(-9),                                                                  \
      ({-9, "text or memBlock missing"},                                                                             \
       {-3, "the container cannot be read"},                                                                         \
       {-18, "no end block starting before the container's last 20 bytes, or a broken block chain (a size that is "  \
         "negative or 1..15, or a block past the end)"},                                                             \
       {-5, "the output path names the container itself, or the output cannot be created or written (the old file "  \
            "is "                                                                                                    \
        "kept)"},                                                                                                    \
       OSTREL_INTERNAL_FAILURE),                                                                                     \
      about(kObjGroups,                                                                                              \
        "writes the group-list payload behind a container's end block to a file of its own",                         \
        "The container file, read and not changed: laid out as a Tev file, its block chain is walked from byte "     \
        "32 (each 16-byte header: tag, then size with the header; size 0 steps 16 bytes) to the first end block "    \
        "(tag 0); the payload is everything from 16 bytes after that block's start to the end of the file.",         \
        "",                                                                                                          \
        "The file to write, created or replaced; it may not be the container. It receives exactly the payload "      \
        "bytes, a group-list file for `GroupListLoad`.",                                                             \
        "0.",                                                                                                        \
        "",                                                                                                          \
        "GroupListLoad"))                                                                                            \
    X(getFaceIDs, kEvery, refused(-9), unread,                                                                       \
      ({-9, "text missing"},                                                                                         \
       {-1760, "the file cannot be read (the face-id list is left empty)"},                                          \
       {-18, "the file is shorter than 48 bytes, or its face count is negative or runs past the file (the face-id "  \
         "list is left empty)"},                                                                                     \
       OSTREL_INTERNAL_FAILURE),                                                                                     \
      about(kMeshes,                                                                                                 \
        "builds the face-id list by which tevtoOBJ groups faces, from a base mesh",                                  \
        "The base mesh: a Tev file whose first block (at byte 32) is taken as a faces block whatever its tag: "      \
        "its count at bytes 40..43, then 16-byte face records from byte 48; a record whose fourth corner is "        \
        "negative is a triangle. The records are read a slice at a time.",                                           \
        "The subdivision level, used as a double: each base face stands for trunc(4^(level - 1)) times its "         \
        "corner count output faces (level 1: 3 for a triangle, 4 for a quad; level 2: 12 and 16; level 3: 48 and "   \
        "64). Below 1, or NaN, every entry is 0; an entry is at most 4,294,967,295.",                                \
        "",                                                                                                          \
        "The number of base faces read (0 or more), the length of the face-id list.",                                \
        "Empties the face-id list first, also when the call then fails, and fills it with one entry per base "       \
        "face in file order. It lasts until the next `getFaceIDs` or a complete `tevtoOBJ`; a file of no faces "     \
        "leaves it empty.",                                                                                          \
        "tevtoOBJ"))                                                                                                 \
    X(tevtoOBJ, kEvery, refused(-9), refused(-9),                                                                    \
      ({-9, "text or memBlock missing"},                                                                             \
       {-18, "the face-id list is empty: no getFaceIDs that read a face since the last complete conversion "         \
             "(nothing "                                                                                             \
         "read)"},                                                                                                   \
       {-1760, "the Tev file cannot be read"},                                                                       \
       {-20, "a count or size points outside the file: the file is too short for its first block, or the points, "   \
         "colours or faces block, or the block the face count is read from, does not fit (no OBJ created, or the "   \
         "old one kept)"},                                                                                           \
       {-2, "the OBJ path names the Tev file itself, or the OBJ cannot be created or written (the old OBJ and the "  \
        "face-id list are kept)"},                                                                                   \
       OSTREL_INTERNAL_FAILURE),                                                                                     \
      about(kMeshes,                                                                                                 \
        "converts a Tev file with vertex colours into OBJ text, its faces grouped by face id",                       \
        "The Tev file to convert, read whole. The points block (tag 10001) must stand at byte 32, the vertex "       \
        "colours block (35001, 4 bytes per entry: blue, green, red, unused) right after the 12-byte points, and "    \
        "the faces block (20001) right after the colour entries; the faces block's size, not its count, says how "   \
        "many 16-byte face records it holds.",                                                                       \
        "",                                                                                                          \
        "The OBJ file to write, created or replaced; it may not be the Tev file. Its lines: `# File exported by "    \
        "Kelmor plugin`, `#Vertex count ` and the vertex count, `#Face count ` and the count field of the third "    \
        "block (found by the first two blocks' sizes), `v x y z` per vertex (%g with 6 significant digits), the "    \
        "colour comment block (as `outMRGB` writes it), then for each face-id entry k from 1 a `#FaceID k` line "    \
        "and as many face lines as the entry says, while face records remain: `f a b c ` (with a trailing space) "   \
        "for a triangle, `f a b c d` for a quad, indices from 1. Lines end in CR LF on Windows and in LF "           \
        "elsewhere.",                                                                                                \
        "0 when the conversion is complete. Where an expected block is missing the answer is the tag found "         \
        "there, 0 or more (its 32 bits taken as unsigned; an end block gives 0, like success): at byte 32 no OBJ "   \
        "is created; in place of the colours block the OBJ holds the header and vertex lines, in place of the "      \
        "faces block also the colour block (an old OBJ is replaced). A file from `vectorsToTev` has no colours "     \
        "block and answers 20001.",                                                                                  \
        "Reads the face-id list, and empties it only when the conversion is complete; a failure or a "               \
        "missing-block answer leaves it as it was.",                                                                 \
        "getFaceIDs outMRGB"))                                                                                       \
    X(outMRGB, kEvery, refused(-9), refused(-9),                                                                     \
      ({-9, "text or memBlock missing"},                                                                             \
       {-1760, "the input cannot be read"},                                                                          \
       {-2, "the output path names the input itself, or the output cannot be created or written (the old file is "   \
        "kept)"},                                                                                                    \
       {-20, "the input is shorter than 48 bytes, or its colour count is negative or runs past the end (no output "  \
         "created, or the old one kept)"},                                                                           \
       OSTREL_INTERNAL_FAILURE),                                                                                     \
      about(kMeshes,                                                                                                 \
        "writes the vertex colours of a Tev colours block as OBJ comment lines",                                     \
        "The input file, read a slice of entries at a time: its first block (at byte 32) is taken as a vertex "      \
        "colours block whatever its tag, its count at bytes 40..43 and 4-byte entries (blue, green, red, "           \
        "unused) from byte 48.",                                                                                     \
        "",                                                                                                          \
        "The text file to write, created or replaced; it may not be the input. It holds the colour comment block "   \
        "alone: the line `# The following RGB block contains Kelmor Vertex Color (Pigmesh) output as 3 "             \
        "hexadecimal values per vertex. The vertex color format is RRGGBB with up to 32 entries per RGB line.`, "    \
        "lines of `#RGB ` and up to 32 entries, each a space and `rrggbb` in lowercase hexadecimal, a line end "     \
        "(so an empty line when the count is a multiple of 32, 0 included), and `# End of RGB block`. Lines end "    \
        "in CR LF on Windows and in LF elsewhere.",                                                                  \
        "0.",                                                                                                        \
        "",                                                                                                          \
        "tevtoOBJ"))                                                                                                 \
    X(setGroups, kEvery, unread, unread,                                                                             \
      ({-1, "value below 0, or NaN (nothing stored)"}),                                                              \
      about(kMeshes,                                                                                                 \
        "chooses whether appended Tev files keep their own polygroup ids",                                           \
        "",                                                                                                          \
        "0 or above: trunc, stored as `isGroups` (0.9 stores 0). Nonzero: each file `addTevFile` appends keeps "     \
        "the group ids it stores; 0: all faces of an appended file get that append's running id. Below 0, or "       \
        "NaN, is refused.",                                                                                          \
        "",                                                                                                          \
        "0.",                                                                                                        \
        "Sets `isGroups` (0 when the library is loaded), which holds until the next `setGroups`; `clearVectors` "    \
        "does not reset it, and a refused value leaves it as it was.",                                               \
        "addTevFile clearVectors"))                                                                                  \
    X(vectorsToTev, kEvery, refused(-9), unread,                                                                     \
      ({-9, "text missing"},                                                                                         \
       {-5, "a mesh buffer is empty (nothing written)"},                                                             \
       {-6, "a merged block would be longer than its 32-bit size field can state (nothing written)"},                \
       {-1760, "the file cannot be created or written (the old file is kept)"},                                      \
       OSTREL_INTERNAL_FAILURE),                                                                                     \
      about(kMeshes,                                                                                                 \
        "writes the mesh buffers as one Tev file and empties them",                                                  \
        "The Tev file to write, created or replaced: the 32-byte header `Tevb 1.0 Kelmor Tev Binary......`, a "      \
        "points block (tag 10001), a faces block (20001) and a polygroups block (40001), each a 16-byte header "     \
        "(tag, size with the header, count, 0) and the buffer's values in append order, then an end block of 16 "    \
        "zero bytes.",                                                                                               \
        "",                                                                                                          \
        "",                                                                                                          \
        "0.",                                                                                                        \
        "Reads the mesh buffers and, on success, empties them and sets the running group id to 0, as "               \
        "`clearVectors` does. A failure leaves the buffers, and any file already at the path, as they were. "        \
        "`isGroups` and the face-id list are not touched.",                                                          \
        "clearVectors addTevFile setGroups ListSplitOBJtoTev"))                                                      \
    X(GetOpenDialog, kMacOnly, allowed("no title"), unread,                                                          \
      (OSTREL_INTERNAL_FAILURE),                                                                                     \
      about(kFilesDesktop,                                                                                           \
        "runs the open panel; the files picked become the chosen files",                                             \
        "The panel's title, UTF-8. Null, or text that is not UTF-8, leaves the panel's own title.",                  \
        "",                                                                                                          \
        "",                                                                                                          \
        "The number of files picked, 1 or more; 0 when the user cancels. The panel offers files ending in "          \
        "`.kvo` or `.obj`, in either letter case, several at once, and no folders.",                                 \
        "An accepted panel replaces the chosen files with the picked paths, symbolic links resolved, in the "        \
        "panel's order; a cancelled one leaves them as they were.",                                                  \
        "GetFilePath ClearFileList"))                                                                                \
    X(GetFilePath, kMacOnly, unread, refused(0),                                                                     \
      (OSTREL_INTERNAL_FAILURE),                                                                                     \
      about(kFilesDesktop,                                                                                           \
        "copies the path of one of the files chosen in the open panel",                                              \
        "",                                                                                                          \
        "Trunc: the file's number, counted from 0; below 0, or not below the number of chosen files, gives 0.",      \
        "Receives the file's path, cut to 255 bytes (even inside a character), and its NUL; a block of 256 "         \
        "bytes holds it.",                                                                                           \
        "1 when the path was written; 0 when memBlock is missing or there is no such file (nothing written).",       \
        "Reads the chosen files of the last accepted `GetOpenDialog`; changes nothing.",                             \
        "GetOpenDialog ClearFileList"))                                                                              \
    X(ClearFileList, kMacOnly, unread, unread,                                                                       \
      (),                                                                                                            \
      about(kFilesDesktop,                                                                                           \
        "forgets the files chosen in the open panel",                                                                \
        "",                                                                                                          \
        "",                                                                                                          \
        "",                                                                                                          \
        "0, always.",                                                                                                \
        "Empties the chosen files: `GetFilePath` answers 0 until the next accepted `GetOpenDialog`.",                \
        "GetOpenDialog GetFilePath"))                                                                                \
    X(inPut, kMacOnly, refused(-1), unread,                                                                          \
      ({-1, "text missing, not UTF-8, or no URL can be made of it"},                                                 \
       OSTREL_INTERNAL_FAILURE),                                                                                     \
      about(kFilesDesktop,                                                                                           \
        "hands a URL to the system's launch service to open",                                                        \
        "A URL in UTF-8, such as `file:///Applications/Example.app` or `https://www.kelmor.example`, taken "         \
        "as it stands with no base; text a URL cannot hold, such as an unescaped space, makes none.",                \
        "",                                                                                                          \
        "",                                                                                                          \
        "0 when the launch service accepts the URL, which it is given as the application to open, with no "          \
        "documents. Any other answer is the launch service's own status, cut to a signed 16-bit value, such "        \
        "as -10814 when no application is found.",                                                                   \
        "",                                                                                                          \
        "LaunchAppWithFile"))                                                                                        \
    X(isKeyPressed, kMacOnly, unread, unread,                                                                        \
      (),                                                                                                            \
      about(kFilesDesktop,                                                                                           \
        "tells whether a key is held down",                                                                          \
        "",                                                                                                          \
        "Trunc; its low 16 bits are the macOS virtual key code (56.9 and 65,592 both ask for 56, the Shift "         \
        "key).",                                                                                                     \
        "",                                                                                                          \
        "1 when the key is down in the combined state of the session's input sources, else 0.",                      \
        "",                                                                                                          \
        ""))

namespace ostrel::exports {

inline constexpr size_t kMaxCodes = 16;

struct Export {
    const char* name;
    uint32_t builds;
    NullAnswer nullText;
    NullAnswer nullMem;
    std::array<Code, kMaxCodes> codeSlots;   // the codes, then empty slots
    About about;

    constexpr std::span<const Code> codes() const {
        size_t n = 0;
        while (n < codeSlots.size() && codeSlots[n].meaning) ++n;
        return {codeSlots.data(), n};
    }
};

#define OSTREL_UNPARENTHESIZE(...) __VA_ARGS__
#define OSTREL_EXPORT_ROW(name, builds, nullText, nullMem, codes, about) \
    Export{#name, builds, nullText, nullMem, {{OSTREL_UNPARENTHESIZE codes}}, about},
inline constexpr Export kExports[] = {OSTREL_EXPORT_LIST(OSTREL_EXPORT_ROW)};
#undef OSTREL_EXPORT_ROW
#undef OSTREL_UNPARENTHESIZE

// Whether `name` spells `exported`; stops at the first byte that differs, so
// that the table's compile-time checks stay cheap.
constexpr bool isNamed(std::string_view name, const char* exported) {
    size_t i = 0;
    for (; i < name.size(); ++i)
        if (exported[i] == '\0' || exported[i] != name[i]) return false;
    return exported[i] == '\0';
}

constexpr const Export* findExport(std::string_view name) {
    for (const Export& e : kExports)
        if (isNamed(name, e.name)) return &e;
    return nullptr;
}

// What `result` means as a code of `e`; nullptr when it is none of its codes.
constexpr const char* meaningOf(const Export& e, float result) {
    for (const Code& code : e.codes())
        if (code.value == result) return code.meaning;
    return nullptr;
}


// Calls visit(name) for each name of a space-separated list.
template <class Visit>
constexpr void forEachName(std::string_view names, Visit&& visit) {
    while (!names.empty()) {
        const size_t end = std::min(names.find(' '), names.size());
        visit(names.substr(0, end));
        names.remove_prefix(std::min(end + 1, names.size()));
    }
}

namespace detail {

constexpr bool listed(const Export& e, NullAnswer answer) {
    const bool answersCode = answer.kind == NullAnswer::Refused || answer.kind == NullAnswer::ReportedLater;
    return !answersCode || answer.code >= 0 || meaningOf(e, answer.code) != nullptr;
}

constexpr bool isText(const char* field) { return field != nullptr; }
constexpr bool isSet(const char* field) { return field && *field; }

// An argument is described exactly when the export reads it: a pointer the
// export never reads has "" as its meaning, and one it reads has a meaning.
constexpr bool describesPointer(const char* meaning, NullAnswer answer) {
    return isText(meaning) && (*meaning != 0) == (answer.kind != NullAnswer::Unread);
}

// Every related name is an export of the table, and not the row itself.
constexpr bool relatedAreExports(const Export& e) {
    // Names, not addresses, are compared: the sanitizers' instrumentation
    // keeps a compiler from comparing addresses at compile time.
    bool known = true;
    forEachName(e.about.related, [&](std::string_view name) {
        bool exported = false;
        for (const Export& candidate : kExports) exported = exported || isNamed(name, candidate.name);
        known = known && exported && !isNamed(name, e.name);
    });
    return known;
}

constexpr bool aboutIsComplete(const Export& e) {
    const About& a = e.about;
    return isSet(a.purpose) && isSet(a.success) && isText(a.value) && isText(a.state) && isText(a.related) &&
           describesPointer(a.text, e.nullText) && describesPointer(a.memBlock, e.nullMem) && relatedAreExports(e);
}

// Every code of a row is negative and listed once, -1000 only with the shared
// meaning; a null answer that is a negative code is one of the row's codes;
// both Windows builds or neither; no name twice; the account of the export
// is complete. Answers the index of the first row that breaks a rule, or -1.
constexpr int firstInconsistentRow() {
    int row = -1;
    for (const Export& e : kExports) {
        ++row;
        const auto codes = e.codes();
        for (size_t i = 0; i < codes.size(); ++i) {
            if (!(codes[i].value < 0)) return row;
            if (codes[i].value == kInternalFailure.value &&
                std::string_view(codes[i].meaning) != kInternalFailure.meaning)
                return row;
            for (size_t j = i + 1; j < codes.size(); ++j)
                if (codes[i].value == codes[j].value) return row;
        }
        if (!listed(e, e.nullText) || !listed(e, e.nullMem)) return row;
        if ((e.builds & kWindows) != 0 && (e.builds & kWindows) != kWindows) return row;
        for (int earlier = 0; earlier < row; ++earlier)
            if (isNamed(e.name, kExports[earlier].name)) return row;
        if (!aboutIsComplete(e)) return row;
    }
    return -1;
}

}  // namespace detail

// The compiler shows the index of the row at fault.
static_assert(detail::firstInconsistentRow() == -1, "a row of the export table contradicts itself");

}  // namespace ostrel::exports
