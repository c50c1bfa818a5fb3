// Appending arbitrary bytes as a Tev file to the mesh buffers: the append
// either takes whole, checked blocks or leaves the buffers untouched.

#include <cstdint>
#include <cstdlib>
#include <span>

#include "core/file_io.hpp"
#include "mesh/mesh_buffers_internal.hpp"
#include "mesh/mesh_state.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace ostrel::mesh;
    resetMeshState();
    const int32_t keepGroups = size > 0 ? data[size - 1] & 1 : 0;
    float result = appendTevBytes(ostrel::ByteBuffer::copyOf({data, size}), 1000, keepGroups);
    const MeshState& s = meshState();
    if (result < 0 && (!s.gPointsV.empty() || !s.gFacesV.empty() || !s.gGroupsV.empty())) std::abort();
    if (result >= 0 && (s.gPointsV.size() % 3 != 0 || s.gFacesV.size() % 4 != 0)) std::abort();
    return 0;
}
