#include "image/psd_ops.hpp"

#include <cstring>

#include "image/colour.hpp"

namespace ostrel::image {
namespace {

constexpr int32_t kMinHealSize = 100;

bool sameSize(const PsdHeader& a, const PsdHeader& b) noexcept {
    return a.rows == b.rows && a.columns == b.columns;
}

bool smallerThanHealSize(const PsdHeader& header) noexcept {
    return header.rows < kMinHealSize || header.columns < kMinHealSize;
}

// Copies pixel `from` of one image onto pixel `to` of another, in all three planes.
inline void copyPixel(const RgbPlanes& to, size_t toIndex, const RgbPlanes& from, size_t fromIndex) noexcept {
    to.red[toIndex] = from.red[fromIndex];
    to.green[toIndex] = from.green[fromIndex];
    to.blue[toIndex] = from.blue[fromIndex];
}

// Copies `count` whole rows of every plane from `from` (starting at fromRow)
// onto `to` (starting at toRow).
void copyRows(const RgbPlanes& to, size_t toRow, const RgbPlanes& from, size_t fromRow, size_t count,
              size_t columns) noexcept {
    const size_t bytes = count * columns;
    std::memcpy(to.red + toRow * columns, from.red + fromRow * columns, bytes);
    std::memcpy(to.green + toRow * columns, from.green + fromRow * columns, bytes);
    std::memcpy(to.blue + toRow * columns, from.blue + fromRow * columns, bytes);
}

// Loads the second file of a two-file operation and checks that it matches
// the first one's size.
float loadPartner(const char* path, const PsdHeader& first, PsdImage& second) {
    if (float code = loadRgbPsd(path, second)) return code;
    return sameSize(first, second.header) ? 0.0f : psd::kSizeMismatch;
}

}  // namespace

void mergePlanes(const RgbPlanes& painted, const RgbPlanes& base, float keyColour) noexcept {
    const ColourParts key = splitColour(keyColour);
    if (!key.inByteRange()) {
        // No sample matches a component outside 0..255: every pixel of A shows.
        std::memcpy(base.red, painted.red, base.size);
        std::memcpy(base.green, painted.green, base.size);
        std::memcpy(base.blue, painted.blue, base.size);
        return;
    }
    const uint8_t kr = uint8_t(key.red), kg = uint8_t(key.green), kb = uint8_t(key.blue);
    const uint8_t* __restrict ar = painted.red;
    const uint8_t* __restrict ag = painted.green;
    const uint8_t* __restrict ab = painted.blue;
    uint8_t* __restrict br = base.red;
    uint8_t* __restrict bg = base.green;
    uint8_t* __restrict bb = base.blue;
    // Written as selects without branches so that the loop vectorises.
    for (size_t i = 0; i < base.size; ++i) {
        const bool keyed = (ar[i] == kr) & (ag[i] == kg) & (ab[i] == kb);
        br[i] = keyed ? br[i] : ar[i];
        bg[i] = keyed ? bg[i] : ag[i];
        bb[i] = keyed ? bb[i] : ab[i];
    }
}

float mergePSD(const char* pathA, const char* pathB, float keyColour) {
    PsdImage painted;
    if (float code = loadRgbPsd(pathA, painted)) return code;
    PsdImage base;
    if (float code = loadPartner(pathB, painted.header, base)) return code;
    // Each file is addressed from its own data start: their resource and layer
    // sections may differ in length.
    mergePlanes(rgbPlanes(painted.bytes, painted.header), rgbPlanes(base.bytes, base.header), keyColour);
    painted = {};   // release A before writing, to keep the peak at two files
    return writeWholePsd(pathA, base.bytes);
}

float mergeSeamlessPSD(const char* pathA, const char* pathB, bool leftRight) {
    PsdImage source;
    if (float code = loadRgbPsd(pathA, source)) return code;
    if (smallerThanHealSize(source.header)) return psd::kTooSmall;
    PsdImage target;
    if (float code = loadPartner(pathB, source.header, target)) return code;

    const RgbPlanes from = rgbPlanes(source.bytes, source.header);
    const RgbPlanes to = rgbPlanes(target.bytes, target.header);
    const size_t rows = size_t(source.header.rows);
    const size_t columns = size_t(source.header.columns);
    if (leftRight) {
        // Rows 0, 1 and the last row keep B's pixels.
        for (size_t r = 2; r <= rows - 2; ++r) {
            const size_t row = r * columns;
            copyPixel(to, row, from, row + 50);
            copyPixel(to, row + 1, from, row + 51);
            copyPixel(to, row + columns - 2, from, row + 48);
            copyPixel(to, row + columns - 1, from, row + 49);
        }
    } else {
        copyRows(to, 0, from, 50, 10, columns);
        copyRows(to, rows - 10, from, 40, 10, columns);
    }
    source = {};
    return writeWholePsd(pathA, target.bytes);
}

float convertPSD(const char* path, float keyColour, float newColour, ConvertMode mode) {
    const ColourParts key = splitColour(keyColour);
    const ColourParts fill = splitColour(newColour);
    PsdImage image;
    if (float code = loadRgbPsd(path, image)) return code;
    const RgbPlanes planes = rgbPlanes(image.bytes, image.header);

    // A component is stored as its low 8 bits.
    const uint8_t fr = uint8_t(fill.red), fg = uint8_t(fill.green), fb = uint8_t(fill.blue);
    const bool keyPossible = key.inByteRange();
    const uint8_t kr = uint8_t(key.red), kg = uint8_t(key.green), kb = uint8_t(key.blue);
    const bool fillKeyed = mode == ConvertMode::Swap;
    uint8_t* __restrict r = planes.red;
    uint8_t* __restrict g = planes.green;
    uint8_t* __restrict b = planes.blue;
    for (size_t i = 0; i < planes.size; ++i) {
        const bool keyed = keyPossible & (r[i] == kr) & (g[i] == kg) & (b[i] == kb);
        const bool fillIt = keyed == fillKeyed;
        r[i] = fillIt ? fr : r[i];
        g[i] = fillIt ? fg : g[i];
        b[i] = fillIt ? fb : b[i];
    }
    return writeWholePsd(path, image.bytes);
}

float fixEdgesPSD(const char* path) {
    PsdImage image;
    if (float code = loadRgbPsd(path, image)) return code;
    if (smallerThanHealSize(image.header)) return psd::kTooSmall;
    fixEdgesPlanes(rgbPlanes(image.bytes, image.header), uint32_t(image.header.rows),
                   uint32_t(image.header.columns));
    return writeWholePsd(path, image.bytes);
}

}  // namespace ostrel::image
