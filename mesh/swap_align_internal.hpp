#pragma once
// The in-memory halves of swap and align, for the tests, fuzz targets and benchmarks.

#include "mesh/swap_align.hpp"

namespace ostrel::mesh {

// The in-memory halves, also used by the fuzz targets. Each returns 0 with the
// payload's offset and length in the Tev bytes, or a code.
struct PointsPayload {
    size_t offset = 0;
    size_t vertexCount = 0;
    int32_t blockSize = 0;
};
float locateSwapPayload(std::span<const uint8_t> tev, PointsPayload& payload);
// Snaps coordinates of `axis` (1 x, 2 y, 3 z; other values change nothing) in
// the payload bytes. Answers the vertices [first, end) that changed (empty
// when none did).
struct VertexRange {
    size_t first = 0, end = 0;
};
VertexRange snapAxis(std::span<uint8_t> payload, float tolerance, int32_t axis) noexcept;
// Checks a points file against the Tev file's points block; 0 when it matches.
float matchPointsFile(std::span<const uint8_t> pointsFile, const PointsPayload& payload);

}  // namespace ostrel::mesh
