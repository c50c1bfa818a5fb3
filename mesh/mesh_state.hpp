#pragma once
// The mesh subsystem's module-level state, all in one place: the buffers that
// merge Tev files, the polygroup settings, and the face-id list that the
// Tev-to-OBJ conversion consumes.

#include <cstdint>

#include "core/pod_buffer.hpp"

namespace ostrel::mesh {

struct MeshState {
    PodBuffer<float> gPointsV;     // x, y, z per vertex, in append order
    PodBuffer<int32_t> gFacesV;    // four corners per face; negative marks no fourth corner
    PodBuffer<uint8_t> gGroupsV;   // 16-bit little-endian group id per face
    int32_t gGroupID = 0;          // raised by 33 at the start of every append
    int32_t isGroups = 0;          // nonzero: appended files keep their own group ids
    PodBuffer<uint32_t> faceID;    // per base face: how many output faces share its id
};

MeshState& meshState() noexcept;
// Back to the state the library has when it is loaded.
void resetMeshState() noexcept;

}  // namespace ostrel::mesh
