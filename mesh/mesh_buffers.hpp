#pragma once
// Merging Tev files through the module-level mesh buffers, and the face-id list
// built from a base mesh.

#include <cstdint>
#include <span>

#include "core/file_io.hpp"
#include "core/result_codes.hpp"

namespace ostrel::mesh {

// Codes of the mesh-buffer operations, besides kMeshOrBitmapCannotOpen (a part
// cannot be read) and kBlockMissing (no points block, or one that does not fit,
// in a part or at the start of a base mesh).
inline constexpr float kMergeCannotWrite = -1760.0f;   // the merged file cannot be written
inline constexpr float kMergeNoFacesBlock = -27.0f;    // no faces block after the points, or one that does not fit
inline constexpr float kMergeNoGroupsBlock = -36.0f;   // no polygroups block after the faces, or one that does not fit
inline constexpr float kMergeNothingToWrite = -5.0f;   // a mesh buffer is empty
inline constexpr float kMergeBlockTooLarge = -6.0f;    // a merged block would overflow its 32-bit size field

void clearTevVectors() noexcept;

// Appends one Tev file to the buffers: its points, its faces shifted by
// `vertexOffset`, and its group ids (copied, or this append's gGroupID). Returns
// the file's vertex count. gGroupID is raised first, also when the append
// fails; on any failure the buffers are left exactly as they were.
float AddTev(const char* path, int32_t vertexOffset, int32_t keepGroups);

// Writes the buffers as one Tev file and empties them. A failure leaves the
// buffers, and any file already at `path`, as they were.
float WriteTev(const char* path);

// Fills faceID from the faces block at the start of a base mesh: per base face
// 4^(level-1) times its corner count. Returns the number of base faces.
float GetFaceIDsTev(const char* path, double level);

}  // namespace ostrel::mesh
