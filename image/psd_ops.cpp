#include "image/psd_ops_internal.hpp"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

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

// Slice buffers of the streaming operations: `count` slices of `size` bytes
// in one block, reused for the whole image, so the planes pass through a few
// cached megabytes instead of a fresh copy of the file.
class SliceBuffers {
public:
    SliceBuffers(uint64_t planeSize, int count)
        : size_(size_t(std::min<uint64_t>(kPsdSlice, planeSize ? planeSize : 1))),
          storage_(new uint8_t[size_ * size_t(count)]) {}
    size_t size() const noexcept { return size_; }
    uint8_t* operator[](int k) noexcept { return storage_.get() + size_ * size_t(k); }

private:
    size_t size_;
    std::unique_ptr<uint8_t[]> storage_;
};

// One bit per pixel: set where the pixel's three samples equal the key.
// Planes are written one after the other, and each output plane needs the
// key test of all three input planes, so the test is made once and kept
// here (an eighth of a plane) rather than keeping the planes.
class KeyBits {
public:
    bool compute(PsdSource& source, SliceBuffers& slices, uint8_t kr, uint8_t kg, uint8_t kb) {
        const uint64_t planeSize = source.header.planeSize();
        bits_.assign(size_t(planeSize / 8 + 1), 0);
        uint8_t* r = slices[0];
        uint8_t* g = slices[1];
        uint8_t* b = slices[2];
        for (uint64_t done = 0; done < planeSize;) {
            const size_t count = size_t(std::min<uint64_t>(slices.size(), planeSize - done));
            if (!source.readPlane(0, done, r, count) || !source.readPlane(1, done, g, count) ||
                !source.readPlane(2, done, b, count))
                return false;
            for (size_t i = 0; i < count; ++i) r[i] = keyMask(r[i], g[i], b[i], kr, kg, kb) & 1;
            // Slices hold a multiple of 8 samples, the last one excepted.
            uint8_t* bits = bits_.data() + done / 8;
            size_t i = 0;
            for (; i + 8 <= count; i += 8) bits[i / 8] = packEight(r + i);
            for (; i < count; ++i) bits[i / 8] = uint8_t(bits[i / 8] | r[i] << (i % 8));
            done += count;
        }
        return true;
    }
    // 0xFF or 0 per sample for `count` samples from `first` on (a multiple of 8).
    void expand(uint64_t first, size_t count, uint8_t* masks) const noexcept {
        const uint8_t* bits = bits_.data() + first / 8;
        size_t i = 0;
        for (; i + 8 <= count; i += 8) {
            const uint64_t spread = spreadEight(bits[i / 8]);
            std::memcpy(masks + i, &spread, 8);
        }
        for (; i < count; ++i) masks[i] = uint8_t(-((bits[i / 8] >> (i % 8)) & 1));
    }

private:
    // Eight 0-or-1 bytes as the bits of one byte, the first byte lowest: the
    // product puts byte j's bit at bit 56 + j, and no two terms meet.
    static uint8_t packEight(const uint8_t* ones) noexcept {
        uint64_t v;
        std::memcpy(&v, ones, 8);
        return uint8_t((v * 0x0102040810204080ull) >> 56);
    }
    // The reverse, to 0xFF or 0 bytes: byte j keeps bit j of the copied byte,
    // then every nonzero byte becomes 0xFF (no carry crosses a byte).
    static uint64_t spreadEight(uint8_t bits) noexcept {
        uint64_t x = (bits * 0x0101010101010101ull) & 0x8040201008040201ull;
        x = (((x & 0x7F7F7F7F7F7F7F7Full) + 0x7F7F7F7F7F7F7F7Full) | x) & 0x8080808080808080ull;
        return (x >> 7) * 0xFF;
    }

    std::vector<uint8_t> bits_;
};

// Writes the output's planes one slice at a time: `make` fills `out` with
// `count` samples of plane `plane` from sample `first` on, reading what it
// needs; false from it (a failed read) stops the walk.
template <class Make>
bool writePlanes(OutputFile& out, uint64_t planeSize, SliceBuffers& slices, uint8_t* buffer, Make&& make) {
    for (uint32_t plane = 0; plane < 3; ++plane)
        for (uint64_t done = 0; done < planeSize;) {
            const size_t count = size_t(std::min<uint64_t>(slices.size(), planeSize - done));
            if (!make(plane, done, count, buffer)) return false;
            out.write(buffer, count);
            if (out.failed()) return true;   // commit() reports it
            done += count;
        }
    return true;
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
    PsdSource painted;
    if (float code = openRgbPsd(pathA, painted)) return code;
    PsdSource base;
    if (float code = openRgbPsd(pathB, base)) return code;
    if (!sameSize(painted.header, base.header)) return psd::kSizeMismatch;

    // B's file with A's planes laid over it, streamed: each file is read
    // from its own data start (their sections may differ in length).
    const ColourParts key = splitColour(keyColour);
    const uint64_t planeSize = base.header.planeSize();
    SliceBuffers slices(planeSize, 4);
    KeyBits keyed;
    if (key.inByteRange() &&
        !keyed.compute(painted, slices, uint8_t(key.red), uint8_t(key.green), uint8_t(key.blue)))
        return psd::kCannotOpenOrNotPsd;
    OutputFile out;
    if (!out.open(pathA)) return ostrel::kOutputCannotWrite;
    out.write(base.head.bytes());
    const bool read = writePlanes(out, planeSize, slices, slices[0], [&](uint32_t plane, uint64_t first, size_t count,
                                                                          uint8_t* result) {
        // No sample matches a key component outside 0..255: A shows everywhere.
        if (!key.inByteRange()) return painted.readPlane(plane, first, result, count);
        uint8_t* over = slices[1];
        uint8_t* masks = slices[2];
        if (!base.readPlane(plane, first, result, count) || !painted.readPlane(plane, first, over, count))
            return false;
        keyed.expand(first, count, masks);
        for (size_t i = 0; i < count; ++i) result[i] = select(masks[i], result[i], over[i]);
        return true;
    }) && base.copyTail(out);
    if (!read && !out.failed()) return psd::kCannotOpenOrNotPsd;
    // Both inputs are closed before the output replaces A.
    painted.file.close();
    base.file.close();
    return out.commit() ? 0.0f : ostrel::kOutputCannotWrite;
}

float mergeSeamlessPSD(const char* pathA, const char* pathB, bool leftRight) {
    PsdSource source;
    if (float code = openRgbPsd(pathA, source)) return code;
    if (smallerThanHealSize(source.header)) return psd::kTooSmall;
    PsdSource target;
    if (float code = openRgbPsd(pathB, target)) return code;
    if (!sameSize(source.header, target.header)) return psd::kSizeMismatch;

    const size_t rows = size_t(source.header.rows);
    const size_t columns = size_t(source.header.columns);
    // Whole rows at a time, at least one.
    const size_t bandRows = std::max<size_t>(1, kPsdSlice / columns);
    std::unique_ptr<uint8_t[]> band(new uint8_t[bandRows * columns]);
    const auto readBand = [&](PsdSource& file, uint32_t plane, size_t firstRow, size_t count) {
        return file.readPlane(plane, uint64_t(firstRow) * columns, band.get(), count * columns);
    };

    // The pixels of A that go into B: columns 48 to 51 of every row (left and
    // right), or rows 50 to 59 and 40 to 49 (top and bottom). Rows 0, 1 and
    // the last row of B keep their own pixels at the left and right.
    std::vector<uint8_t> fromA;
    if (leftRight) {
        fromA.resize(3 * rows * 4);
        for (uint32_t plane = 0; plane < 3; ++plane)
            for (size_t first = 0; first < rows; first += bandRows) {
                const size_t count = std::min(bandRows, rows - first);
                if (!readBand(source, plane, first, count)) return psd::kCannotOpenOrNotPsd;
                for (size_t r = 0; r < count; ++r)
                    std::memcpy(&fromA[(plane * rows + first + r) * 4], band.get() + r * columns + 48, 4);
            }
    } else {
        fromA.resize(3 * 20 * columns);
        for (uint32_t plane = 0; plane < 3; ++plane)
            if (!source.readPlane(plane, 40 * uint64_t(columns), &fromA[plane * 20 * columns], 20 * columns))
                return psd::kCannotOpenOrNotPsd;
    }
    source.file.close();

    OutputFile out;
    if (!out.open(pathA)) return ostrel::kOutputCannotWrite;
    out.write(target.head.bytes());
    for (uint32_t plane = 0; plane < 3 && !out.failed(); ++plane)
        for (size_t first = 0; first < rows && !out.failed(); first += bandRows) {
            const size_t count = std::min(bandRows, rows - first);
            if (!readBand(target, plane, first, count)) return psd::kCannotOpenOrNotPsd;
            for (size_t r = first; r < first + count; ++r) {
                uint8_t* row = band.get() + (r - first) * columns;
                if (leftRight) {
                    if (r < 2 || r > rows - 2) continue;
                    const uint8_t* a = &fromA[(plane * rows + r) * 4];   // columns 48 to 51
                    row[0] = a[2];
                    row[1] = a[3];
                    row[columns - 2] = a[0];
                    row[columns - 1] = a[1];
                } else {
                    // Rows 40 to 49 of A end B; rows 50 to 59 start it.
                    const uint8_t* a = &fromA[plane * 20 * columns];
                    if (r >= rows - 10)
                        std::memcpy(row, a + (r - (rows - 10)) * columns, columns);
                    else if (r < 10)
                        std::memcpy(row, a + (10 + r) * columns, columns);
                }
            }
            out.write(band.get(), count * columns);
        }
    if (!target.copyTail(out) && !out.failed()) return psd::kCannotOpenOrNotPsd;
    target.file.close();
    return out.commit() ? 0.0f : ostrel::kOutputCannotWrite;
}

float convertPSD(const char* path, float keyColour, float newColour, ConvertMode mode) {
    const ColourParts key = splitColour(keyColour);
    const ColourParts fill = splitColour(newColour);
    PsdSource source;
    if (float code = openRgbPsd(path, source)) return code;

    // A component is stored as its low 8 bits.
    const uint8_t fills[3] = {uint8_t(fill.red), uint8_t(fill.green), uint8_t(fill.blue)};
    const uint8_t invert = mode == ConvertMode::Stencil ? 0xFF : 0;
    const uint64_t planeSize = source.header.planeSize();
    SliceBuffers slices(planeSize, 3);
    KeyBits keyed;
    if (key.inByteRange() &&
        !keyed.compute(source, slices, uint8_t(key.red), uint8_t(key.green), uint8_t(key.blue)))
        return psd::kCannotOpenOrNotPsd;
    OutputFile out;
    if (!out.open(path)) return ostrel::kOutputCannotWrite;
    out.write(source.head.bytes());
    const bool read = writePlanes(out, planeSize, slices, slices[0], [&](uint32_t plane, uint64_t first, size_t count,
                                                                         uint8_t* result) {
        if (!key.inByteRange()) {
            // No pixel can match the key: the stencil fills every pixel and
            // the swap changes none.
            if (mode == ConvertMode::Stencil) {
                std::memset(result, fills[plane], count);
                return true;
            }
            return source.readPlane(plane, first, result, count);
        }
        uint8_t* masks = slices[1];
        if (!source.readPlane(plane, first, result, count)) return false;
        keyed.expand(first, count, masks);
        for (size_t i = 0; i < count; ++i) result[i] = select(uint8_t(masks[i] ^ invert), fills[plane], result[i]);
        return true;
    }) && source.copyTail(out);
    if (!read && !out.failed()) return psd::kCannotOpenOrNotPsd;
    source.file.close();
    return out.commit() ? 0.0f : ostrel::kOutputCannotWrite;
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
