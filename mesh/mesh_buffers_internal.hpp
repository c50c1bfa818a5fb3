#pragma once
// The in-memory halves of the mesh-buffer workers, for the tests and fuzz targets.

#include "mesh/mesh_buffers.hpp"

namespace ostrel::mesh {

float appendTevBytes(ByteBuffer file, int32_t vertexOffset, int32_t keepGroups);

float faceIDsFromBytes(std::span<const uint8_t> file, double level);

}  // namespace ostrel::mesh
