// Grayscale with a black level: one plane written after the input's header
// sections, computed in slices so that the output never needs a buffer of its
// own beyond the output file's.

#include <algorithm>
#include <array>

#include "core/convert.hpp"
#include "image/psd_ops_internal.hpp"

namespace ostrel::image {
namespace {

constexpr size_t kSliceSize = size_t(1) << 16;

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
    PsdImage image;
    if (float code = loadPsd(inputPath, image)) return code;
    if (image.header.colourMode != kPsdModeRgb) return psd::kColourModeData;
    if (float code = checkRgbPlanes(image.header, image.bytes.size())) return code;

    patchShort(image.bytes, kPsdChannelsAt, 1);
    patchShort(image.bytes, kPsdModeAt, kPsdModeGrayscale);

    const GrayBySum& bySum = grayBySum();
    uint8_t level8[256];
    blackLevelTable(level, level8);
    std::array<uint8_t, 766> outBySum;
    for (size_t s = 0; s < outBySum.size(); ++s) outBySum[s] = level8[bySum.gray[s]];

    OutputFile out;
    if (!out.open(outputPath)) return ostrel::kOutputCannotWrite;
    out.write(image.bytes.data(), image.header.dataStart);
    const RgbPlanes planes = rgbPlanes(image.bytes, image.header);
    uint8_t slice[kSliceSize];
    for (size_t done = 0; done < planes.size;) {
        const size_t count = std::min(kSliceSize, size_t(planes.size - done));
        const uint8_t* r = planes.red + done;
        const uint8_t* g = planes.green + done;
        const uint8_t* b = planes.blue + done;
        for (size_t i = 0; i < count; ++i) {
            const unsigned sum = unsigned(r[i]) + g[i] + b[i];
            slice[i] = bySum.exact[sum] ? outBySum[sum] : level8[grayOf(r[i], g[i], b[i])];
        }
        out.write(slice, count);
        done += count;
    }
    return out.commit() ? 0.0f : ostrel::kOutputCannotWrite;
}

}  // namespace ostrel::image
