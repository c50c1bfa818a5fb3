#include "mesh/mesh_state.hpp"

namespace ostrel::mesh {

MeshState& meshState() noexcept {
    static MeshState state;
    return state;
}

void resetMeshState() noexcept {
    MeshState& s = meshState();
    s.gPointsV.release();
    s.gFacesV.release();
    s.gGroupsV.release();
    s.faceID.release();
    s.gGroupID = 0;
    s.isGroups = 0;
}

}  // namespace ostrel::mesh
