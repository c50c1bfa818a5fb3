#pragma once
// The crop's header checks and plan over bytes in memory, for the tests and fuzz targets.

#include "image/bmp_crop.hpp"

namespace ostrel::image {

// Padding bytes after a row of `width` 24-bit pixels, so that rows are a
// multiple of 4 bytes long.
uint32_t rowPadding(int64_t width) noexcept;

// Where the output's parts lie in the input file. After planCrop succeeds,
// every strip row [firstStrip + k * rowStride, + stripBytes) for k < rows lies
// inside the file, and so does the header [0, headerSize).
struct CropPlan {
    uint64_t headerSize;
    uint64_t firstStrip;
    uint64_t rowStride;
    uint64_t stripBytes;
    uint64_t rows;
    uint32_t padding;
};

// Checks the file and the strip, and patches the output's four header fields
// into `file`: 0 or a code of bmp::.
float planCrop(std::span<uint8_t> file, int32_t leftPixels, int32_t widthPixels, CropPlan& plan) noexcept;

}  // namespace ostrel::image
