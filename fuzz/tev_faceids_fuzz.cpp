// The face-id list from arbitrary bytes taken as a base mesh.

#include <cmath>
#include <cstdint>
#include <span>

#include "mesh/mesh_buffers_internal.hpp"
#include "mesh/mesh_state.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace ostrel::mesh;
    resetMeshState();
    const double level = size > 0 ? double(int8_t(data[0])) / 8.0 : 1.0;
    faceIDsFromBytes(std::span<const uint8_t>(data, size), level);
    return 0;
}
