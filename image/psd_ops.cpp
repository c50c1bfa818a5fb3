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
// key test of all three input planes, so the test is made once, in the pass
// that makes the first plane, and kept here (an eighth of a plane) for the
// other two rather than keeping their planes.
class KeyBits {
public:
    explicit KeyBits(uint64_t planeSize) : bits_(size_t(planeSize / 8 + 1), 0) {}

    // Records the test of `count` pixels from `first` on (a multiple of 8);
    // `scratch` holds `count` bytes.
    void record(uint64_t first, size_t count, const uint8_t* r, const uint8_t* g, const uint8_t* b,
                const ColourParts& key, uint8_t* scratch) noexcept {
        const uint8_t kr = uint8_t(key.red), kg = uint8_t(key.green), kb = uint8_t(key.blue);
        for (size_t i = 0; i < count; ++i) scratch[i] = keyMask(r[i], g[i], b[i], kr, kg, kb) & 1;
        uint8_t* bits = bits_.data() + first / 8;
        size_t i = 0;
        for (; i + 8 <= count; i += 8) bits[i / 8] = packEight(scratch + i);
        for (; i < count; ++i) bits[i / 8] = uint8_t(bits[i / 8] | scratch[i] << (i % 8));
    }
    // Gives `value` to the samples whose bit, xor `invert`, is set.
    void fill(uint64_t first, size_t count, uint8_t* samples, uint8_t value, bool invert) const noexcept {
        const uint8_t* bits = bits_.data() + first / 8;
        const uint64_t flip = invert ? ~uint64_t(0) : 0, values = value * kEachByte;
        size_t i = 0;
        for (; i + 8 <= count; i += 8) {
            const uint64_t mask = spreadEight(bits[i / 8]) ^ flip;
            store64(samples + i, (values & mask) | (load64(samples + i) & ~mask));
        }
        for (; i < count; ++i)
            if (bool((bits[i / 8] >> (i % 8)) & 1) != invert) samples[i] = value;
    }
    // Lays `painted` over `base` where the bit is clear.
    void overlay(uint64_t first, size_t count, uint8_t* base, const uint8_t* painted) const noexcept {
        const uint8_t* bits = bits_.data() + first / 8;
        size_t i = 0;
        for (; i + 8 <= count; i += 8) {
            const uint64_t keyed = spreadEight(bits[i / 8]);
            store64(base + i, (load64(base + i) & keyed) | (load64(painted + i) & ~keyed));
        }
        for (; i < count; ++i)
            if (!((bits[i / 8] >> (i % 8)) & 1)) base[i] = painted[i];
    }

private:
    static constexpr uint64_t kEachByte = 0x0101010101010101ull;
    static uint64_t load64(const uint8_t* p) noexcept {
        uint64_t v;
        std::memcpy(&v, p, 8);
        return v;
    }
    static void store64(uint8_t* p, uint64_t v) noexcept { std::memcpy(p, &v, 8); }
    // Eight 0-or-1 bytes as the bits of one byte, the first byte lowest: the
    // product puts byte j's bit at bit 56 + j, and no two terms meet.
    static uint8_t packEight(const uint8_t* ones) noexcept {
        return uint8_t((load64(ones) * 0x0102040810204080ull) >> 56);
    }
    // The reverse, to 0xFF-or-0 bytes: byte j keeps bit j of the copied byte,
    // then every nonzero byte becomes 0xFF (no carry crosses a byte).
    static uint64_t spreadEight(uint8_t bits) noexcept {
        uint64_t x = (bits * kEachByte) & 0x8040201008040201ull;
        x = (((x & 0x7F7F7F7F7F7F7F7Full) + 0x7F7F7F7F7F7F7F7Full) | x) & 0x8080808080808080ull;
        return (x >> 7) * 0xFF;
    }

    std::vector<uint8_t> bits_;
};

// Samples in the slice from `done` on: a whole slice or the plane's rest.
size_t sliceCount(const SliceBuffers& slices, uint64_t planeSize, uint64_t done) noexcept {
    return size_t(std::min<uint64_t>(slices.size(), planeSize - done));
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

    // B's file with A's pixels laid over it, streamed; each file is read from
    // its own data start (their sections may differ in length). A key
    // component outside 0..255 matches no sample: A shows everywhere.
    const ColourParts key = splitColour(keyColour);
    const bool keyed = key.inByteRange();
    const uint64_t planeSize = base.header.planeSize();
    SliceBuffers slices(planeSize, 5);
    KeyBits bits(keyed ? planeSize : 0);
    uint8_t* result = slices[0];
    uint8_t* over = slices[1];
    OutputFile out;
    if (!out.open(pathA)) return ostrel::kOutputCannotWrite;
    out.write(base.head.bytes());
    for (uint32_t plane = 0; plane < 3 && !out.failed(); ++plane)
        for (uint64_t done = 0; done < planeSize && !out.failed();) {
            const size_t count = sliceCount(slices, planeSize, done);
            if (!painted.readPlane(plane, done, keyed ? over : result, count)) return psd::kCannotOpenOrNotPsd;
            if (keyed) {
                if (!base.readPlane(plane, done, result, count)) return psd::kCannotOpenOrNotPsd;
                if (plane == 0) {
                    if (!painted.readPlane(1, done, slices[2], count) || !painted.readPlane(2, done, slices[3], count))
                        return psd::kCannotOpenOrNotPsd;
                    bits.record(done, count, over, slices[2], slices[3], key, slices[4]);
                }
                bits.overlay(done, count, result, over);
            }
            out.write(result, count);
            done += count;
        }
    if (!base.copyTail(out) && !out.failed()) return psd::kCannotOpenOrNotPsd;
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
    const bool stencil = mode == ConvertMode::Stencil;
    const bool keyed = key.inByteRange();
    const uint64_t planeSize = source.header.planeSize();
    SliceBuffers slices(planeSize, 4);
    KeyBits bits(keyed ? planeSize : 0);
    uint8_t* samples = slices[0];
    OutputFile out;
    if (!out.open(path)) return ostrel::kOutputCannotWrite;
    out.write(source.head.bytes());
    bool read = true;
    if (!keyed && !stencil) {
        // No pixel can match the key: the swap changes nothing.
        read = source.file.seek(source.header.dataStart) && out.writeFrom(source.file);
    } else {
        for (uint32_t plane = 0; plane < 3 && !out.failed(); ++plane)
            for (uint64_t done = 0; done < planeSize && !out.failed();) {
                const size_t count = sliceCount(slices, planeSize, done);
                if (!keyed) {
                    // Nor here: the stencil fills every pixel.
                    std::memset(samples, fills[plane], count);
                } else {
                    if (!source.readPlane(plane, done, samples, count)) return psd::kCannotOpenOrNotPsd;
                    if (plane == 0) {
                        if (!source.readPlane(1, done, slices[1], count) || !source.readPlane(2, done, slices[2], count))
                            return psd::kCannotOpenOrNotPsd;
                        bits.record(done, count, samples, slices[1], slices[2], key, slices[3]);
                    }
                    bits.fill(done, count, samples, fills[plane], stencil);
                }
                out.write(samples, count);
                done += count;
            }
        read = source.copyTail(out);
    }
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
