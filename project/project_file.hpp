#pragma once
// The project file: header, T-pose reference records and any number of opaque
// data files, each stored whole behind a chunk header. Two layouts are read:
// the current one (32-byte tagged header, 32-byte chunk headers with a kind)
// and the old one (16-byte header, 16-byte chunk headers, no kind); only the
// current one is written.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "project/tpose.hpp"

namespace ostrel::project {

inline constexpr std::string_view kProjectTag = "VD version 03";
inline constexpr size_t kNewHeaderBytes = 32;
inline constexpr size_t kOldHeaderBytes = 16;
inline constexpr size_t kRecordBytes = 516;
inline constexpr size_t kNewChunkHeaderBytes = 32;
inline constexpr size_t kOldChunkHeaderBytes = 16;

// Results of the project exports.
inline constexpr float kProjectListEmpty = -3.0f;      // WritePrjFile: no references to write
inline constexpr float kProjectNoPath = -1.0f;         // WritePrjFile: no path
inline constexpr float kProjectCannotWrite = -17.0f;   // WritePrjFile: cannot be created or written
inline constexpr float kProjectCannotOpen = -17.0f;    // Open*: the project file cannot be read
inline constexpr float kDatNegativeKind = -16.0f;
inline constexpr float kDatCannotRead = -1.0f;         // the data file cannot be read, or is too long to store
inline constexpr float kDatCannotAppend = -2.0f;       // the project file cannot be opened or written for appending
inline constexpr float kDatNoChunkNumber = -4.0f;      // the data file's name does not start with a 32-bit number
inline constexpr float kProjectCutShort = -19.0f;      // header or promised records missing: nothing loaded
inline constexpr float kProjectChainBroken = -20.0f;   // a chunk runs past the end or is shorter than its header
// An unpacked file could not be written completely, or would have replaced
// the project file itself; that chunk is skipped, the later ones unpacked.
inline constexpr float kProjectCannotUnpack = -21.0f;

enum class ProjectLayout { Current, Old };

// The workers behind the exports (paths already checked for null).
float WritePrjFile(const char* path);
float AddDatFile(const char* dataPath, int32_t kind, const char* projectPath);
float OpenProjectFile(const char* path, const char* targetPath, ProjectLayout layout);

}  // namespace ostrel::project
