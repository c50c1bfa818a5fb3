#pragma once
// Cropping a vertical strip out of an uncompressed 24-bit BMP file. The strip
// takes the stored rows 1 to height-3 (stored row 0 and the last two rows are
// dropped); the output is the input's header with file size, width, height
// and image size patched, followed by the strip's rows.

#include <cstdint>
#include <span>

namespace ostrel::image {

namespace bmp {
inline constexpr float kCannotWrite = -5;        // output could not be opened or written
inline constexpr float kNotBmp = -7;             // does not start with "BM"
inline constexpr float kTruncated = -8;          // header shorter than its fields, or rows past the end
inline constexpr float kNot24Bit = -10;          // bits per pixel other than 24
inline constexpr float kTooFewRows = -11;        // height below 3 (a top-down file counts as that)
inline constexpr float kStripOutside = -12;      // left edge or width outside the image
inline constexpr float kCannotOpen = -1760;      // the input cannot be read
}  // namespace bmp

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

float cropBMP(const char* inputPath, const char* outputPath, int32_t leftPixels, int32_t widthPixels);

}  // namespace ostrel::image
