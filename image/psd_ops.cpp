#include "image/psd_ops_internal.hpp"

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

// 0xFF where the pixel's three samples equal the key, else 0. Masks instead
// of branches keep the pixel loops below vectorised.
inline uint8_t keyMask(uint8_t r, uint8_t g, uint8_t b, uint8_t kr, uint8_t kg, uint8_t kb) noexcept {
    return uint8_t(-uint8_t((r == kr) & (g == kg) & (b == kb)));
}

inline uint8_t select(uint8_t mask, uint8_t whenSet, uint8_t whenClear) noexcept {
    return uint8_t((whenSet & mask) | (whenClear & ~mask));
}

// Pixels of A whose colour is not the key overwrite B's.
void overlayUnlessKeyed(const uint8_t* __restrict ar, const uint8_t* __restrict ag, const uint8_t* __restrict ab,
                        uint8_t* __restrict br, uint8_t* __restrict bg, uint8_t* __restrict bb, size_t count,
                        uint8_t kr, uint8_t kg, uint8_t kb) noexcept {
    for (size_t i = 0; i < count; ++i) {
        const uint8_t keyed = keyMask(ar[i], ag[i], ab[i], kr, kg, kb);
        br[i] = select(keyed, br[i], ar[i]);
        bg[i] = select(keyed, bg[i], ag[i]);
        bb[i] = select(keyed, bb[i], ab[i]);
    }
}

// Gives the fill colour to the pixels whose key mask, xor `invert`, is set.
void fillWhereKeyed(uint8_t* __restrict r, uint8_t* __restrict g, uint8_t* __restrict b, size_t count, uint8_t kr,
                    uint8_t kg, uint8_t kb, uint8_t invert, uint8_t fr, uint8_t fg, uint8_t fb) noexcept {
    for (size_t i = 0; i < count; ++i) {
        const uint8_t fill = uint8_t(keyMask(r[i], g[i], b[i], kr, kg, kb) ^ invert);
        r[i] = select(fill, fr, r[i]);
        g[i] = select(fill, fg, g[i]);
        b[i] = select(fill, fb, b[i]);
    }
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
    overlayUnlessKeyed(painted.red, painted.green, painted.blue, base.red, base.green, base.blue, base.size,
                       uint8_t(key.red), uint8_t(key.green), uint8_t(key.blue));
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
    const uint8_t invert = mode == ConvertMode::Stencil ? 0xFF : 0;
    if (key.inByteRange()) {
        fillWhereKeyed(planes.red, planes.green, planes.blue, planes.size, uint8_t(key.red), uint8_t(key.green),
                       uint8_t(key.blue), invert, fr, fg, fb);
    } else if (mode == ConvertMode::Stencil) {
        // No pixel can match the key: the stencil fills every pixel.
        std::memset(planes.red, fr, planes.size);
        std::memset(planes.green, fg, planes.size);
        std::memset(planes.blue, fb, planes.size);
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
