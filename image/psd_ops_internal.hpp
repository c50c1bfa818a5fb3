#pragma once
// The pixel passes behind the PSD operations, over planes in memory, for the tests and fuzz targets.

#include "image/psd_ops.hpp"

namespace ostrel::image {

// The pixel passes behind the operations, over planes already in memory;
// exposed for the tests.
void mergePlanes(const RgbPlanes& painted, const RgbPlanes& base, float keyColour) noexcept;
void fixEdgesPlanes(const RgbPlanes& planes, uint32_t rows, uint32_t columns) noexcept;
// Gray value of one pixel after the black level: the table of all 256 values.
void blackLevelTable(int32_t level, uint8_t table[256]) noexcept;
uint8_t grayOf(uint8_t red, uint8_t green, uint8_t blue) noexcept;

}  // namespace ostrel::image
