// BMP strip crop on arbitrary bytes: the header checks and the planned rows
// must stay inside the file whatever its fields claim.

#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "image/bmp_crop_internal.hpp"

using namespace ostrel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    // The last two bytes choose the strip; the rest is the file, copied into
    // an allocation of exactly its size.
    const int32_t left = int8_t(data[size - 2]);
    const int32_t width = int8_t(data[size - 1]);
    const size_t fileSize = size - 2;
    std::unique_ptr<uint8_t[]> file(new uint8_t[fileSize ? fileSize : 1]);
    if (fileSize) std::memcpy(file.get(), data, fileSize);
    image::CropPlan plan{};
    if (image::planCrop({file.get(), fileSize}, left, width, plan) != 0) return 0;
    std::vector<uint8_t> out(file.get(), file.get() + plan.headerSize);
    for (uint64_t r = 0; r < plan.rows; ++r) {
        const uint8_t* strip = file.get() + plan.firstStrip + r * plan.rowStride;
        out.insert(out.end(), strip, strip + plan.stripBytes);
        out.insert(out.end(), plan.padding, 0);
    }
    return 0;
}
