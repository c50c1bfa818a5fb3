// Repair of an imported texture's top and bottom rows, in the file itself:
// only the header (within the first 1000 bytes) and ten rows per plane are
// read, and only five rows per plane are written.

#include <cstdio>
#include <memory>

#include "core/byte_cursor.hpp"
#include "image/psd_ops.hpp"

namespace ostrel::image {
namespace {

constexpr size_t kHeaderWindow = 1000;
constexpr int32_t kMinSize = 100;

bool seekTo(std::FILE* file, uint64_t offset) noexcept {
#ifdef _WIN32
    return _fseeki64(file, static_cast<int64_t>(offset), SEEK_SET) == 0;
#else
    return fseeko(file, static_cast<off_t>(offset), SEEK_SET) == 0;
#endif
}

struct FileCloser {
    void operator()(std::FILE* f) const noexcept { std::fclose(f); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

// Reads at most the first kHeaderWindow bytes and parses the header there.
float readHeaderWindow(const char* path, PsdHeader& header) {
    FileHandle file(std::fopen(path, "rb"));
    if (!file) return psd::kCannotOpenOrNotPsd;
    uint8_t window[kHeaderWindow];
    const size_t got = std::fread(window, 1, sizeof window, file.get());
    if (std::ferror(file.get())) return psd::kCannotOpenOrNotPsd;
    return parsePsdHeader({window, got}, header);
}

// Copies row `from` of one plane over rows [firstTo, firstTo + count).
bool repeatRow(std::FILE* file, uint8_t* row, uint64_t planeStart, uint64_t columns, uint64_t from,
               uint64_t firstTo, uint64_t count) {
    if (!seekTo(file, planeStart + from * columns) || std::fread(row, 1, columns, file) != columns) return false;
    for (uint64_t r = firstTo; r < firstTo + count; ++r) {
        if (!seekTo(file, planeStart + r * columns) || std::fwrite(row, 1, columns, file) != columns) return false;
    }
    return true;
}

bool healRows(std::FILE* file, const PsdHeader& header) {
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

    std::FILE* file = std::fopen(path, "r+b");
    if (!file) return psd::kCannotUpdate;
    FileHandle guard(file);
    auto size = streamSize(file);
    if (!size) return psd::kCannotUpdate;
    // The planes are not loaded, so the file's length stands in for the
    // bytes present: all three must lie inside it.
    if (float code = checkRgbPlanes(header, *size)) return code;
    if (!healRows(file, header)) return psd::kCannotUpdate;
    return std::fclose(guard.release()) == 0 ? 0.0f : psd::kCannotUpdate;
}

}  // namespace ostrel::image
