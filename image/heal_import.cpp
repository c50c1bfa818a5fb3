// Repair of an imported texture's top and bottom rows, in the file itself:
// only the header (within the first 1000 bytes) and ten rows per plane are
// read, and only five rows per plane are written, all or nothing.

#include <memory>

#include "core/byte_cursor.hpp"
#include "core/file_io.hpp"
#include "image/psd_ops_internal.hpp"

namespace ostrel::image {
namespace {

constexpr size_t kHeaderWindow = 1000;
constexpr int32_t kMinSize = 100;

// Reads at most the first kHeaderWindow bytes and parses the header there.
float readHeaderWindow(const char* path, PsdHeader& header) {
    File file = File::openInput(path);
    uint8_t window[kHeaderWindow];
    size_t got = 0;
    while (file.isOpen() && got < sizeof window) {
        const auto part = file.readSome(window + got, sizeof window - got);
        if (!part) return psd::kCannotOpenOrNotPsd;
        if (*part == 0) break;
        got += *part;
    }
    if (!file.isOpen()) return psd::kCannotOpenOrNotPsd;
    return parsePsdHeader({window, got}, header);
}

// Copies row `from` of one plane over rows [firstTo, firstTo + count).
bool repeatRow(InPlaceUpdate& file, uint8_t* row, uint64_t planeStart, uint64_t columns, uint64_t from,
               uint64_t firstTo, uint64_t count) {
    if (!file.readAt(planeStart + from * columns, row, columns)) return false;
    for (uint64_t r = firstTo; r < firstTo + count; ++r)
        if (!file.overwrite(planeStart + r * columns, {row, size_t(columns)})) return false;
    return true;
}

bool healRows(InPlaceUpdate& file, const PsdHeader& header) {
    const uint64_t columns = uint64_t(header.columns);
    const uint64_t rows = uint64_t(header.rows);
    std::unique_ptr<uint8_t[]> row(new uint8_t[columns]);
    for (uint64_t plane = 0; plane < 3; ++plane)
        if (!repeatRow(file, row.get(), header.dataStart + plane * header.planeSize(), columns, 4, 0, 3)) return false;
    for (uint64_t plane = 0; plane < 3; ++plane)
        if (!repeatRow(file, row.get(), header.dataStart + plane * header.planeSize(), columns, rows - 3, rows - 2, 2))
            return false;
    return true;
}

}  // namespace

float healImportFile(const char* path) {
    if (!path) return psd::kCannotOpenOrNotPsd;
    PsdHeader header;
    if (float code = readHeaderWindow(path, header)) return code;
    if (header.channels < 3 || header.depth != 8) return psd::kNotRgb8;
    if (header.rows < kMinSize || header.columns < kMinSize) return psd::kTooSmall;

    InPlaceUpdate file;
    if (!file.open(path)) return psd::kCannotUpdate;
    // The planes are not loaded, so the file's length stands in for the
    // bytes present: all three must lie inside it.
    if (float code = checkRgbPlanes(header, file.originalSize())) return code;
    if (!healRows(file, header)) return psd::kCannotUpdate;
    return file.commit() ? 0.0f : psd::kCannotUpdate;
}

}  // namespace ostrel::image
