#include "platform/screen.hpp"

#include "core/convert.hpp"

namespace ostrel::platform {

float screenFactor(int32_t widthMillimetres, int32_t widthPixels, int32_t pixelsPerLogicalInch) noexcept {
    const float logicalInches = float(widthPixels) / float(pixelsPerLogicalInch);
    const float physicalInches = float(widthMillimetres) / 25.4f;
    return logicalInches / physicalInches;
}

uint16_t keyCodeOf(double value) noexcept { return uint16_t(uint32_t(ostrel::trunc(value)) & 0xFFFFu); }

}  // namespace ostrel::platform
