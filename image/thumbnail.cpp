#include "image/thumbnail_internal.hpp"

#include <cstdint>

namespace ostrel::image {
namespace {

// One of the two "extra step" counters: every period+1 output pixels (or
// rows) one more source column (or row) is skipped, spreading the remainder
// of the integer step over the thumbnail. A period of 0 or less never fires.
struct ExtraStep {
    int64_t period;
    int64_t counter = 0;

    int64_t next() noexcept {
        if (period > 0 && counter >= period) {
            counter = 0;
            return 1;
        }
        ++counter;
        return 0;
    }
};

int64_t extraPeriod(int64_t length, int64_t n, int64_t step) noexcept {
    const int64_t leftOver = length - n * step;
    return leftOver > 0 ? n / leftOver : leftOver;
}

struct Geometry {
    bool wide;          // rows <= columns: the width decides the step
    bool small;         // the thumbnail is larger than the image both ways
    int64_t step;
    int64_t topBand;
    int64_t leftBand;
};

Geometry geometryOf(int64_t rows, int64_t columns, int64_t n) noexcept {
    Geometry g{};
    g.wide = rows <= columns;
    g.small = n > rows && n > columns;
    g.step = g.wide ? columns / n : rows / n;
    if (g.small || g.step == 0) g.step = 1;
    g.topBand = g.wide ? (n - rows / g.step) / 2 : 0;
    g.leftBand = g.wide ? 0 : (n - columns / g.step) / 2;
    return g;
}

}  // namespace

bool sampleThumbnailPlane(const uint8_t* plane, int32_t rows32, int32_t columns32, int32_t n32,
                          const std::function<bool(const uint8_t* row)>& emitRow) {
    const int64_t rows = rows32, columns = columns32, n = n32;
    const int64_t planeSize = rows * columns;
    const Geometry geo = geometryOf(rows, columns, n);
    ExtraStep columnExtra{extraPeriod(columns, n, geo.step)};
    ExtraStep rowExtra{extraPeriod(rows, n, geo.step)};
    std::vector<uint8_t> row(static_cast<size_t>(n));

    int64_t topBand = geo.topBand;
    int64_t leftBand = geo.leftBand;
    int64_t sourceRow = 0;
    int64_t sourceColumn = 0;
    int64_t sourceIndex = 0;
    for (int64_t outRow = 0; outRow < n; ++outRow) {
        for (int64_t outColumn = 0; outColumn < n; ++outColumn) {
            bool shows = geo.wide ? (topBand <= 0 && sourceRow < rows) : (leftBand <= 0 && sourceColumn < columns);
            if (geo.small) shows = sourceRow < rows && sourceColumn < columns;
            // The index stays inside the plane whatever the step pattern does:
            // a pixel the plane does not hold is black.
            row[size_t(outColumn)] = shows && sourceIndex < planeSize ? plane[sourceIndex] : 0;
            const int64_t extra = columnExtra.next();
            if (leftBand <= 0) {
                sourceIndex += geo.step + extra;
                sourceColumn += geo.step + extra;
            }
            --leftBand;
        }
        if (!emitRow(row.data())) return false;
        const int64_t extra = rowExtra.next();
        if (topBand > 0) {
            // Band rows do not move the source.
            --topBand;
        } else {
            if (!geo.wide) leftBand = geo.leftBand;
            sourceRow += geo.step + extra;
        }
        sourceIndex = sourceRow * columns;
        sourceColumn = 0;
    }
    return true;
}

ThumbnailPlanes sampleThumbnail(const RgbPlanes& source, int32_t rows, int32_t columns, int32_t n) {
    ThumbnailPlanes out;
    auto collect = [&](std::vector<uint8_t>& into, const uint8_t* plane) {
        sampleThumbnailPlane(plane, rows, columns, n, [&](const uint8_t* row) {
            into.insert(into.end(), row, row + n);
            return true;
        });
    };
    collect(out.red, source.red);
    collect(out.green, source.green);
    collect(out.blue, source.blue);
    return out;
}

float createThumb(const char* path, int32_t n) {
    if (!thumbnailSizeAccepted(n)) return kThumbnailSizeOutOfRange;
    PsdImage image;
    if (float code = loadRgbPsd(path, image)) return code;
    patchLong(image.bytes, kPsdRowsAt, uint32_t(n));
    patchLong(image.bytes, kPsdColumnsAt, uint32_t(n));
    // Exactly three planes follow, whatever the input carried.
    patchShort(image.bytes, kPsdChannelsAt, 3);

    OutputFile out;
    if (!out.open(path)) return ostrel::kOutputCannotWrite;
    out.write(image.bytes.data(), image.header.dataStart);
    const RgbPlanes planes = rgbPlanes(image.bytes, image.header);
    // A full disk ends the work at once rather than after gigabytes more.
    const auto write = [&](const uint8_t* row) {
        out.write(row, size_t(n));
        return !out.failed();
    };
    for (const uint8_t* plane : {planes.red, planes.green, planes.blue})
        if (!sampleThumbnailPlane(plane, image.header.rows, image.header.columns, n, write)) break;
    return out.commit() ? 0.0f : ostrel::kOutputCannotWrite;
}

}  // namespace ostrel::image
