#include "mesh/mesh_state.hpp"

namespace ostrel::mesh {

MeshState& meshState() noexcept {
    static MeshState state;
    return state;
}

void resetMeshState() noexcept {
    MeshState& s = meshState();
    s.gPointsV.clear();
    s.gFacesV.clear();
    s.gGroupsV.clear();
    std::vector<ByteBuffer>().swap(s.appendedFiles);
    s.faceID.release();
    s.gGroupID = 0;
    s.isGroups = 0;
}

}  // namespace ostrel::mesh
