#pragma once
// The thumbnail sampling over planes in memory, for the tests and benchmarks.

#include <functional>
#include <vector>

#include "image/thumbnail.hpp"

namespace ostrel::image {

// Samples one source plane (rows x columns bytes) into n rows of n bytes,
// handing each finished row to `row`; pixels outside the sampled image are 0.
// The walk is the same for every plane, so the three planes of a thumbnail
// come from three calls and only one row is ever held. `row` answers whether
// to go on; false when it stopped the walk early.
bool sampleThumbnailPlane(const uint8_t* plane, int32_t rows, int32_t columns, int32_t n,
                          const std::function<bool(const uint8_t* row)>& row);

// The three planes of n x n bytes, for the tests.
struct ThumbnailPlanes {
    std::vector<uint8_t> red, green, blue;
};
ThumbnailPlanes sampleThumbnail(const RgbPlanes& source, int32_t rows, int32_t columns, int32_t n);

}  // namespace ostrel::image
