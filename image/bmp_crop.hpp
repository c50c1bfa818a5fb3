#pragma once
// Cropping a vertical strip out of an uncompressed 24-bit BMP file. The strip
// takes the stored rows 1 to height-3 (stored row 0 and the last two rows are
// dropped); the output is the input's header with file size, width, height
// and image size patched, followed by the strip's rows.

#include <cstdint>
#include <span>

#include "core/result_codes.hpp"

namespace ostrel::image {

// Codes of the crop, besides kMeshOrBitmapCannotOpen (the input cannot be read)
// and kOutputCannotWrite.
namespace bmp {
inline constexpr float kNotBmp = -7;             // does not start with "BM"
inline constexpr float kTruncated = -8;          // header shorter than its fields, or rows past the end
inline constexpr float kNot24Bit = -10;          // bits per pixel other than 24
inline constexpr float kTooFewRows = -11;        // height below 3 (a top-down file counts as that)
inline constexpr float kStripOutside = -12;      // left edge or width outside the image
}  // namespace bmp

float cropBMP(const char* inputPath, const char* outputPath, int32_t leftPixels, int32_t widthPixels);

}  // namespace ostrel::image
