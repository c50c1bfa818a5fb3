#pragma once
// Changing the vertex positions of a Tev file in place: from a points file
// (swap), or by snapping near-zero coordinates of one axis to zero (align).
// Only the points payload is rewritten; the file keeps its length.

#include <cstdint>
#include <span>

namespace ostrel::mesh {

inline constexpr float kSwapCannotOpenTev = -1760.0f;
inline constexpr float kSwapNoPoints = -18.0f;        // no points block, or one that does not fit its file
inline constexpr float kSwapCannotOpenPoints = -201.0f;
inline constexpr float kSwapMismatch = -301.0f;       // points file header differs, or the file is shorter than it says
inline constexpr float kSwapCannotWriteTev = -401.0f;

float alignVerticesTev(const char* path, float tolerance, int32_t axis);
float swapVerticesTev(const char* tevPath, const char* pointsPath);

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

// Translates the host's one number into axis (trunc, clamped to 1..3) and
// tolerance (value minus axis, narrowed to float).
struct AxisAndTolerance {
    int32_t axis;
    float tolerance;
};
AxisAndTolerance splitAlignValue(double value) noexcept;

}  // namespace ostrel::mesh
