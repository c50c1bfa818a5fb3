#pragma once
// Square thumbnails by whole-pixel subsampling with one integer step taken
// from the longer side, the image centred along the shorter side.

#include <cstdint>
#include <functional>
#include <vector>

#include "image/psd_file.hpp"

namespace ostrel::image {

inline constexpr float kThumbnailSizeBelowOne = -8;

// Samples one source plane (rows x columns bytes) into n rows of n bytes,
// handing each finished row to `row`; pixels outside the sampled image are 0.
// The walk is the same for every plane, so the three planes of a thumbnail
// come from three calls and only one row is ever held.
void sampleThumbnailPlane(const uint8_t* plane, int32_t rows, int32_t columns, int32_t n,
                          const std::function<void(const uint8_t* row)>& row);

// The three planes of n x n bytes, for the tests.
struct ThumbnailPlanes {
    std::vector<uint8_t> red, green, blue;
};
ThumbnailPlanes sampleThumbnail(const RgbPlanes& source, int32_t rows, int32_t columns, int32_t n);

// Replaces the PSD file at `path` with its n x n thumbnail: the input's header
// sections, with rows, columns and channels set to n, n and 3, then three
// planes. 0, the PSD codes, or kThumbnailSizeBelowOne.
float createThumb(const char* path, int32_t n);

}  // namespace ostrel::image
