#pragma once
// Changing the vertex positions of a Tev file in place: from a points file
// (swap), or by snapping near-zero coordinates of one axis to zero (align).
// Only the points payload is rewritten; the file keeps its length.

#include <cstdint>
#include <span>

#include "core/result_codes.hpp"

namespace ostrel::mesh {

// Codes of swap and align, besides kMeshOrBitmapCannotOpen (the Tev file
// cannot be read) and kBlockMissing (no points block, or one that does not fit).
inline constexpr float kTevSwapPointsCannotOpen = -201.0f;
inline constexpr float kTevSwapPointsMismatch = -301.0f;   // points file header differs, or the file is shorter than it says
inline constexpr float kTevSwapCannotWrite = -401.0f;

float alignVerticesTev(const char* path, float tolerance, int32_t axis);
float swapVerticesTev(const char* tevPath, const char* pointsPath);

// Translates the host's one number into axis (trunc, clamped to 1..3) and
// tolerance (value minus axis, narrowed to float).
struct AxisAndTolerance {
    int32_t axis;
    float tolerance;
};
AxisAndTolerance splitAlignValue(double value) noexcept;

}  // namespace ostrel::mesh
