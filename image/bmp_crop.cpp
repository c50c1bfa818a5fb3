#include "image/bmp_crop_internal.hpp"

#include <cstring>

#include "core/byte_cursor.hpp"
#include "core/file_io.hpp"

namespace ostrel::image {
namespace {

constexpr size_t kFileSizeAt = 2;
constexpr size_t kPixelOffsetAt = 10;
constexpr size_t kWidthAt = 18;
constexpr size_t kHeightAt = 22;
constexpr size_t kBitsAt = 28;
constexpr size_t kImageSizeAt = 34;
// The fields above all lie inside the 54 bytes of the file and info headers;
// the pixels must start after them, or patching the header would change pixels.
constexpr uint64_t kMinHeaderSize = 54;

struct BmpHeader {
    uint32_t pixelOffset;
    int32_t width;
    int32_t height;
    uint16_t bitsPerPixel;
    uint64_t rowSize;
};

float readBmpHeader(std::span<const uint8_t> bytes, BmpHeader& header) noexcept {
    if (bytes.size() < 2) return bmp::kTruncated;
    if (bytes[0] != 'B' || bytes[1] != 'M') return bmp::kNotBmp;
    if (bytes.size() < kMinHeaderSize) return bmp::kTruncated;
    const uint8_t* p = bytes.data();
    header.pixelOffset = loadU32le(p + kPixelOffsetAt);
    header.width = loadI32le(p + kWidthAt);
    header.height = loadI32le(p + kHeightAt);
    header.bitsPerPixel = loadU16le(p + kBitsAt);
    if (header.pixelOffset < kMinHeaderSize || header.pixelOffset > bytes.size()) return bmp::kTruncated;
    if (header.bitsPerPixel != 24) return bmp::kNot24Bit;
    if (header.width < 0) return bmp::kTruncated;
    header.rowSize = uint64_t(header.width) * 3 + rowPadding(header.width);
    return 0;
}

}  // namespace

uint32_t rowPadding(int64_t width) noexcept {
    const uint64_t m = (uint64_t(width) * 3) % 4;
    return m == 0 ? 0 : uint32_t(4 - m);
}

float planCrop(std::span<uint8_t> file, int32_t leftPixels, int32_t widthPixels, CropPlan& plan) noexcept {
    BmpHeader header{};
    if (float code = readBmpHeader(file, header)) return code;
    if (header.height < 3) return bmp::kTooFewRows;
    if (leftPixels < 0 || widthPixels < 1 || int64_t(leftPixels) + widthPixels > header.width)
        return bmp::kStripOutside;
    if (!ByteCursor(file).view(header.pixelOffset, uint64_t(header.height) * header.rowSize)) return bmp::kTruncated;

    plan.headerSize = header.pixelOffset;
    plan.rowStride = header.rowSize;
    plan.firstStrip = header.pixelOffset + header.rowSize + uint64_t(leftPixels) * 3;   // stored row 1
    plan.stripBytes = uint64_t(widthPixels) * 3;
    plan.rows = uint64_t(header.height) - 3;
    plan.padding = rowPadding(widthPixels);
    const uint64_t imageSize = plan.rows * (plan.stripBytes + plan.padding);
    uint8_t* bytes = file.data();
    storeU32le(bytes + kFileSizeAt, uint32_t(imageSize + header.pixelOffset));
    storeU32le(bytes + kWidthAt, uint32_t(widthPixels));
    storeU32le(bytes + kHeightAt, uint32_t(plan.rows));
    storeU32le(bytes + kImageSizeAt, uint32_t(imageSize));
    return 0;
}

float cropBMP(const char* inputPath, const char* outputPath, int32_t leftPixels, int32_t widthPixels) {
    auto file = readWholeFile(inputPath);
    if (!file) return ostrel::kMeshOrBitmapCannotOpen;
    CropPlan plan{};
    if (float code = planCrop(file->bytes(), leftPixels, widthPixels, plan)) return code;

    OutputFile out;
    if (!out.open(outputPath)) return ostrel::kOutputCannotWrite;
    out.write(file->data(), plan.headerSize);
    static constexpr uint8_t kZeros[4] = {};
    const uint8_t* strip = file->data() + plan.firstStrip;
    for (uint64_t r = 0; r < plan.rows; ++r, strip += plan.rowStride) {
        out.write(strip, plan.stripBytes);
        out.write(kZeros, plan.padding);
    }
    return out.commit() ? 0.0f : ostrel::kOutputCannotWrite;
}

}  // namespace ostrel::image
