// The in-place readers (align and swap) over arbitrary bytes: locating the
// points payload, snapping an axis inside it, matching a points file.

#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "mesh/swap_align_internal.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace ostrel::mesh;
    std::vector<uint8_t> tev(data, data + size);
    PointsPayload payload;
    if (locateSwapPayload(tev, payload) != 0) return 0;
    if (payload.offset + payload.vertexCount * 12 > tev.size()) std::abort();
    auto points = std::span<uint8_t>(tev).subspan(payload.offset, payload.vertexCount * 12);
    snapAxis(points, size > 40 ? float(data[40]) / 64.0f : 0.5f, size > 41 ? data[41] % 4 : 1);
    // The same bytes, from the payload on, as a points file.
    matchPointsFile(std::span<const uint8_t>(data, size).subspan(payload.offset - 16), payload);
    return 0;
}
