// The OBJ reader over arbitrary bytes: lines, classification, face numbers,
// their checks, coordinates, and the per-group vertex sets built from them.
// Any index that escapes the vertex lines, or a set that disagrees with its
// corners, stops the run.

#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/pod_buffer.hpp"
#include "obj/obj_output.hpp"
#include "obj/obj_scan.hpp"
#include "obj/obj_text.hpp"

using namespace ostrel;
using namespace ostrel::obj;

namespace {

void require(bool condition) {
    if (!condition) std::abort();
}

void checkGroup(const GroupFaces& group, VertexSetBuilder& numbers, uint64_t vertexCount) {
    uint64_t corners = 0;
    for (uint32_t size : group.faceSizes) corners += size;
    require(corners == group.corners.size());
    for (uint32_t index : group.corners) require(index < vertexCount);
    auto used = numbers.build(group.corners);
    for (size_t k = 0; k < used.size(); ++k) {
        require(k == 0 || used[k - 1] < used[k]);
        require(numbers.newNumber(used[k]) == k + 1);
    }
    for (uint32_t index : group.corners) require(numbers.newNumber(index) <= used.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), data ? size : 0);
    PodBuffer<float> positions;
    GroupedObj obj = scanGroupedFaces(text, true, [&](std::string_view line) {
        positions.reserveMore(3);
        readFloats(lineBody(line), positions.extendReserved(3), 3);
    });
    const uint64_t vertexLines = obj.scan.vertexLines;
    require(positions.size() == vertexLines * 3);
    if (obj.scan.verdict(-1.0f) != 0) return 0;
    VertexSetBuilder numbers(vertexLines);
    for (const auto& entry : obj.groupNumbers) checkGroup(obj.groups[entry.second], numbers, vertexLines);
    return 0;
}
