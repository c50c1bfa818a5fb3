#pragma once
// How project bytes are parsed and named, for the tests and fuzz targets.

#include "project/project_file.hpp"

namespace ostrel::project {

// One stored data file, as found in the project bytes.
struct StoredChunk {
    uint32_t number = 0;
    bool isDax = false;                  // kind != 0; old-layout chunks are always ".dat"
    std::span<const uint8_t> data;
};

// What a project file holds. `chainBroken` tells that the walk met a chunk it
// could not take (running past the end of the file or shorter than its own
// header); the chunks before it are complete.
struct ParsedProject {
    NewProjectHeader newHeader;          // current layout only
    OldProjectHeader oldHeader;          // old layout only
    std::vector<TPoseRef> refs;
    std::vector<StoredChunk> chunks;
    bool chainBroken = false;
};

// Parses project bytes without trusting any field: nothing when the header is
// incomplete or refCount promises more records than the file holds.
std::optional<ParsedProject> parseProject(std::span<const uint8_t> file, ProjectLayout layout);

// The name a chunk unpacks to: the folder part of `targetPath`, the chunk
// number in decimal, then "X.dat" or "X.dax".
std::string unpackedName(std::string_view targetPath, const StoredChunk& chunk);

// The number a data file's base name starts with (white space skipped),
// or nothing when it starts with no digit or the number leaves 32 bits.
std::optional<uint32_t> chunkNumberOf(std::string_view dataPath);

}  // namespace ostrel::project
