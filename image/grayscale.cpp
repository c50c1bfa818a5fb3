// Grayscale with a black level: one plane written after the input's header
// sections, computed slice by slice from the three planes read in slices, so
// neither the input nor the output is ever held whole.

#include <algorithm>
#include <array>
#include <memory>

#include "core/convert.hpp"
#include "image/psd_ops_internal.hpp"

namespace ostrel::image {
namespace {

// ((R x 0.333 + G x 0.333) + B x 0.333) + 0.5 in double, truncated: the sum
// alone does not always decide the result (a few triples round differently),
// so the table keys on the sum and flags the sums that need the exact formula.
struct GrayBySum {
    std::array<uint8_t, 766> gray{};
    std::array<bool, 766> exact{};
};

const GrayBySum& grayBySum() {
    static const GrayBySum table = [] {
        GrayBySum t;
        std::array<bool, 766> seen{};
        t.exact.fill(true);
        for (int r = 0; r < 256; ++r)
            for (int g = 0; g < 256; ++g)
                for (int b = 0; b < 256; ++b) {
                    const int sum = r + g + b;
                    const uint8_t value = grayOf(uint8_t(r), uint8_t(g), uint8_t(b));
                    if (!seen[sum]) {
                        seen[sum] = true;
                        t.gray[sum] = value;
                    } else if (t.gray[sum] != value) {
                        t.exact[sum] = false;
                    }
                }
        return t;
    }();
    return table;
}

int32_t clampLevel(double value) noexcept {
    if (value < 0) return 0;
    if (value > 255) return 255;
    return ostrel::trunc(value);
}

}  // namespace

// On x87 (32-bit x86 without SSE2 arithmetic) intermediate results carry
// extra precision; storing each through a double in memory rounds it as the
// 64-bit builds do. The products and sums here are exact in the x87's 64-bit
// mantissa, so that store is the only rounding and the results agree exactly.
#if defined(__i386__) && !defined(__SSE2_MATH__)
using RoundedDouble = volatile double;
#else
using RoundedDouble = double;
#endif

uint8_t grayOf(uint8_t red, uint8_t green, uint8_t blue) noexcept {
    const RoundedDouble r = red * 0.333;
    const RoundedDouble g = green * 0.333;
    const RoundedDouble b = blue * 0.333;
    const RoundedDouble rg = r + g;
    const RoundedDouble rgb = rg + b;
    const RoundedDouble gray = rgb + 0.5;
    return uint8_t(std::min(ostrel::trunc(gray), 255));
}

void blackLevelTable(int32_t level, uint8_t table[256]) noexcept {
    for (int32_t g = 0; g < 256; ++g) {
        int32_t out = g;
        if (g == 255) {
            out = 255;
        } else if (g > level) {
            const int32_t q = (level - 1) * (255 - g) / (255 - level);   // level < g < 255: no zero divisor
            out = std::max(g - q, 0);
        } else {
            out = 0;
        }
        table[g] = uint8_t(out);
    }
}

float grayscalePSD(const char* inputPath, const char* outputPath, double blackLevel) {
    const int32_t level = clampLevel(blackLevel);
    PsdSource source;
    if (float code = openPsd(inputPath, source)) return code;
    if (source.header.colourMode != kPsdModeRgb) return psd::kColourModeData;
    if (float code = checkRgbPlanes(source.header, source.size)) return code;

    patchShort(source.head, kPsdChannelsAt, 1);
    patchShort(source.head, kPsdModeAt, kPsdModeGrayscale);

    const GrayBySum& bySum = grayBySum();
    uint8_t level8[256];
    blackLevelTable(level, level8);
    std::array<uint8_t, 766> outBySum;
    for (size_t s = 0; s < outBySum.size(); ++s) outBySum[s] = level8[bySum.gray[s]];

    OutputFile out;
    if (!out.open(outputPath)) return ostrel::kOutputCannotWrite;
    out.write(source.head.bytes());
    // The planes are read in slices into buffers reused to the end, and the
    // gray plane is written from the last of them.
    const uint64_t planeSize = source.header.planeSize();
    const size_t slice = size_t(std::min<uint64_t>(kPsdSlice, planeSize ? planeSize : 1));
    std::unique_ptr<uint8_t[]> buffers(new uint8_t[4 * slice]);
    uint8_t* r = buffers.get();
    uint8_t* g = r + slice;
    uint8_t* b = g + slice;
    uint8_t* gray = b + slice;
    for (uint64_t done = 0; done < planeSize && !out.failed();) {
        const size_t count = size_t(std::min<uint64_t>(slice, planeSize - done));
        if (!source.readPlane(0, done, r, count) || !source.readPlane(1, done, g, count) ||
            !source.readPlane(2, done, b, count))
            return psd::kCannotOpenOrNotPsd;
        for (size_t i = 0; i < count; ++i) {
            const unsigned sum = unsigned(r[i]) + g[i] + b[i];
            gray[i] = bySum.exact[sum] ? outBySum[sum] : level8[grayOf(r[i], g[i], b[i])];
        }
        out.write(gray, count);
        done += count;
    }
    // The input may be the output: it is closed before it is replaced.
    source.file.close();
    return out.commit() ? 0.0f : ostrel::kOutputCannotWrite;
}

}  // namespace ostrel::image
