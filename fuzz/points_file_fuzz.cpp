// A points file's header against a Tev file's points block: a file shorter
// than it promises must never be accepted.

#include <cstdint>
#include <cstdlib>
#include <span>

#include "core/byte_cursor.hpp"
#include "mesh/swap_align_internal.hpp"
#include "mesh/tev_format.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace ostrel::mesh;
    std::span<const uint8_t> file(data, size);
    auto header = readPointsHeader(file);
    if (!header) return 0;
    PointsPayload payload{0, header->count >= 0 ? size_t(header->count) : 0, header->size};
    if (matchPointsFile(file, payload) == 0 && size < 16 + payload.vertexCount * 12) std::abort();
    return 0;
}
