#include "image/thumbnail_internal.hpp"

#include <algorithm>
#include <cstdint>
#include <memory>

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

// The walk over one plane; `sample(i)` gives the plane's byte i, for i below
// rows x columns.
template <class Sample>
bool samplePlane(Sample&& sample, int32_t rows32, int32_t columns32, int32_t n32,
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
            row[size_t(outColumn)] = shows && sourceIndex < planeSize ? sample(sourceIndex) : 0;
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

// One plane of a file on disk as the walk asks for it: the samples from the
// first one asked on are read, a row or 64 KiB at a time, so only the rows
// the walk visits are read (a 512 x 512 thumbnail of an 8192 x 8192 image
// reads a sixteenth of the file).
class PlaneWindow {
public:
    PlaneWindow(PsdSource& source, uint32_t plane)
        : source_(source),
          plane_(plane),
          planeSize_(source.header.planeSize()),
          span_(size_t(std::min<uint64_t>(std::max<uint64_t>(uint64_t(source.header.columns), 64 << 10), planeSize_))),
          data_(new uint8_t[span_ ? span_ : 1]) {}

    uint8_t operator()(int64_t index) {
        const uint64_t at = uint64_t(index);
        if (at - start_ >= length_) {
            start_ = at;
            length_ = std::min<uint64_t>(span_, planeSize_ - at);
            if (!source_.readPlane(plane_, start_, data_.get(), size_t(length_))) {
                failed_ = true;
                length_ = 0;
                return 0;
            }
        }
        return data_[at - start_];
    }
    bool failed() const noexcept { return failed_; }

private:
    PsdSource& source_;
    uint32_t plane_;
    uint64_t planeSize_;
    size_t span_;
    std::unique_ptr<uint8_t[]> data_;
    uint64_t start_ = 0;
    uint64_t length_ = 0;
    bool failed_ = false;
};

}  // namespace

bool sampleThumbnailPlane(const uint8_t* plane, int32_t rows, int32_t columns, int32_t n,
                          const std::function<bool(const uint8_t* row)>& emitRow) {
    return samplePlane([plane](int64_t i) { return plane[i]; }, rows, columns, n, emitRow);
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
    PsdSource source;
    if (float code = openRgbPsd(path, source)) return code;
    patchLong(source.head, kPsdRowsAt, uint32_t(n));
    patchLong(source.head, kPsdColumnsAt, uint32_t(n));
    // Exactly three planes follow, whatever the input carried.
    patchShort(source.head, kPsdChannelsAt, 3);

    OutputFile out;
    if (!out.open(path)) return ostrel::kOutputCannotWrite;
    out.write(source.head.bytes());
    // A full disk ends the work at once rather than after gigabytes more.
    const auto write = [&](const uint8_t* row) {
        out.write(row, size_t(n));
        return !out.failed();
    };
    for (uint32_t plane = 0; plane < 3; ++plane) {
        PlaneWindow window(source, plane);
        const bool going = samplePlane(window, source.header.rows, source.header.columns, n, write);
        if (window.failed()) return psd::kCannotOpenOrNotPsd;
        if (!going) break;
    }
    // The input is the output: it is closed before it is replaced.
    source.file.close();
    return out.commit() ? 0.0f : ostrel::kOutputCannotWrite;
}

}  // namespace ostrel::image
