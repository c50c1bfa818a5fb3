// Tev to OBJ from arbitrary bytes: every count and size that locates the
// points, colours and faces must be checked against the file before it is
// read; the colour-block reader likewise.

#include <cstdint>
#include <cstring>
#include <memory>

#include "mesh/tev_to_obj_internal.hpp"

using namespace ostrel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    // The first byte chooses the face-id list: up to 15 groups of up to 15
    // faces (a group of 0 faces included).
    const uint32_t groups = data[0] & 15, perGroup = data[0] >> 4;
    const uint32_t faceIDs[15] = {perGroup, perGroup, perGroup, perGroup, perGroup, perGroup, perGroup, perGroup,
                                  perGroup, perGroup, perGroup, perGroup, perGroup, perGroup, perGroup};
    const size_t fileSize = size - 1;
    std::unique_ptr<uint8_t[]> file(new uint8_t[fileSize ? fileSize : 1]);
    if (fileSize) std::memcpy(file.get(), data + 1, fileSize);
    const std::span<const uint8_t> tev(file.get(), fileSize);

    mesh::ObjPlan plan;
    if (mesh::planTevToObj(tev, plan).done) {
        mesh::TextStage out;
        mesh::writeObjText(tev, plan, {faceIDs, groups}, out);
    }
    mesh::TextStage colours;
    mesh::colourBlockOfTev(tev, colours);
    return 0;
}
