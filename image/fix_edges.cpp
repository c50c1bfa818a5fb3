// The edge fixer: four fill passes (leftwards, rightwards, upwards, downwards),
// each over the image as the earlier passes left it. Every pass acts only at
// black pixels, so the scans jump from black pixel to black pixel, testing
// sixteen (with SSE2) or eight pixels of all three planes at a time.

#include <bit>
#include <cstring>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "image/psd_ops_internal.hpp"

namespace ostrel::image {
namespace {

constexpr uint64_t kOnes = 0x0101010101010101ull;
constexpr uint64_t kHighs = 0x8080808080808080ull;

inline uint64_t load64(const uint8_t* p) noexcept {
    uint64_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

// True when one of the eight bytes of v is zero.
inline bool hasZeroByte(uint64_t v) noexcept { return ((v - kOnes) & ~v & kHighs) != 0; }

struct Pixels {
    uint8_t* red;
    uint8_t* green;
    uint8_t* blue;

    bool black(size_t i) const noexcept { return (red[i] | green[i] | blue[i]) == 0; }
    void copy(size_t to, size_t from) const noexcept {
        red[to] = red[from];
        green[to] = green[from];
        blue[to] = blue[from];
    }
    bool blackAmongEight(size_t i) const noexcept {
        return hasZeroByte(load64(red + i) | load64(green + i) | load64(blue + i));
    }

#ifdef __SSE2__
    // Bit j set where pixel i + j is black, for the sixteen pixels from i.
    unsigned blackAmongSixteen(size_t i) const noexcept {
        const auto load = [i](const uint8_t* plane) {
            return _mm_loadu_si128(reinterpret_cast<const __m128i*>(plane + i));
        };
        const __m128i any = _mm_or_si128(_mm_or_si128(load(red), load(green)), load(blue));
        return unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(any, _mm_setzero_si128())));
    }
#endif

    // First black pixel in [from, end), or end.
    size_t nextBlack(size_t from, size_t end) const noexcept {
#ifdef __SSE2__
        for (; from + 16 <= end; from += 16)
            if (const unsigned found = blackAmongSixteen(from)) return from + size_t(std::countr_zero(found));
#endif
        while (from + 8 <= end && !blackAmongEight(from)) from += 8;
        while (from < end && !black(from)) ++from;
        return from;
    }
    // Last black pixel in [begin, end), or begin - 1 (wrapping when begin is 0
    // is never asked for: every backward scan starts past row 3).
    size_t previousBlack(size_t end, size_t begin) const noexcept {
#ifdef __SSE2__
        for (; end >= begin + 16; end -= 16)
            if (const unsigned found = blackAmongSixteen(end - 16)) return end - 16 + size_t(31 - std::countl_zero(found));
#endif
        while (end >= begin + 8 && !blackAmongEight(end - 8)) end -= 8;
        while (end > begin && !black(end - 1)) --end;
        return end - 1;
    }
};

// The first three passes run row by row in one sweep: in row r the leftward
// and rightward fills (each reads and writes row r only), then the upward
// fill of row r-1 (which reads row r below it and writes rows r-1 to r-3).
// Each fill of a row sees exactly the pixels it would see were every pass
// run over the whole image before the next, while the four rows it touches
// are still in the processor's cache.

// A black pixel not in the last column takes its right neighbour's colour, and
// so do the one and two pixels left of it when they are black.
void fillLeftwards(const Pixels& px, size_t r, size_t columns) noexcept {
    const size_t rowStart = r * columns;
    const size_t scanEnd = rowStart + columns - 1;
    for (size_t p = px.nextBlack(rowStart, scanEnd); p < scanEnd; p = px.nextBlack(p + 1, scanEnd)) {
        const size_t right = p + 1;
        if (px.black(right)) continue;   // black onto black: nothing changes
        px.copy(p, right);
        const size_t column = p - rowStart;
        if (column >= 1 && px.black(p - 1)) px.copy(p - 1, right);
        if (column >= 2 && px.black(p - 2)) px.copy(p - 2, right);
    }
}

// The first three black pixels right of a coloured pixel take its colour. The
// counter k runs over the whole image, across row ends: a coloured pixel sets
// it to 1, and every black pixel steps it.
struct RightwardsCount {
    int32_t k = 1;
    size_t nextExpected = 0;   // index right after the last black pixel seen
};

void fillRightwards(const Pixels& px, size_t r, size_t columns, RightwardsCount& count) noexcept {
    const size_t rowStart = r * columns;
    const size_t rowEnd = rowStart + columns;
    for (size_t p = px.nextBlack(rowStart, rowEnd); p < rowEnd; p = px.nextBlack(p + 1, rowEnd)) {
        if (p != count.nextExpected) count.k = 1;   // coloured pixels lie between
        count.nextExpected = p + 1;
        if (p > rowStart && count.k >= 1) {
            if (!px.black(p - 1)) px.copy(p, p - 1);
            if (count.k >= 3) count.k = -1;
        }
        ++count.k;
    }
}

// In rows 2 to rows-2, a black pixel takes the colour below it, and so do the
// one and two pixels above it when they are black.
void fillUpwards(const Pixels& px, size_t r, size_t columns) noexcept {
    const size_t end = (r + 1) * columns;
    for (size_t p = px.nextBlack(r * columns, end); p < end; p = px.nextBlack(p + 1, end)) {
        const size_t below = p + columns;
        if (px.black(below)) continue;
        px.copy(p, below);
        if (px.black(p - columns)) px.copy(p - columns, below);
        if (px.black(p - 2 * columns)) px.copy(p - 2 * columns, below);
    }
}

// Backwards from the last pixel of row rows-2 to row 3, column 1: a black
// pixel takes the colour above it, and so do the one and two pixels below it
// when they are black and inside the image.
void fillDownwards(const Pixels& px, size_t rows, size_t columns) noexcept {
    const size_t begin = 3 * columns + 1;
    const size_t end = (rows - 1) * columns;
    const size_t lastWithTwoBelow = (rows - 2) * columns;   // first index of row rows-2
    for (size_t p = px.previousBlack(end, begin); p + 1 > begin; p = px.previousBlack(p, begin)) {
        const size_t above = p - columns;
        if (px.black(above)) continue;
        px.copy(p, above);
        if (px.black(p + columns)) px.copy(p + columns, above);
        if (p < lastWithTwoBelow && px.black(p + 2 * columns)) px.copy(p + 2 * columns, above);
    }
}

}  // namespace

void fixEdgesPlanes(const RgbPlanes& planes, uint32_t rows, uint32_t columns) noexcept {
    // The passes address rows 0 to 3 and columns 0 to 2 unconditionally;
    // callers refuse images below 100 x 100.
    if (rows < 4 || columns < 3) return;
    const Pixels px{planes.red, planes.green, planes.blue};
    RightwardsCount count;
    for (size_t r = 0; r < rows; ++r) {
        fillLeftwards(px, r, columns);
        fillRightwards(px, r, columns, count);
        if (r >= 3) fillUpwards(px, r - 1, columns);
    }
    fillDownwards(px, rows, columns);
}

}  // namespace ostrel::image
