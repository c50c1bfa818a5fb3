#include "mesh/swap_align.hpp"

#include <cstdio>
#include <memory>

#include "core/convert.hpp"
#include "core/file_io.hpp"
#include "mesh/tev_format.hpp"

namespace ostrel::mesh {
namespace {

struct FileCloser {
    void operator()(std::FILE* f) const noexcept { std::fclose(f); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

FileHandle openReadWrite(const char* path) { return FileHandle(path ? std::fopen(path, "r+b") : nullptr); }

// Overwrites `bytes` at `offset` of an open file; true when all arrived.
bool overwriteAt(std::FILE* file, size_t offset, std::span<const uint8_t> bytes) {
    if (bytes.empty()) return true;
#ifdef _WIN32
    if (_fseeki64(file, int64_t(offset), SEEK_SET) != 0) return false;
#else
    if (fseeko(file, off_t(offset), SEEK_SET) != 0) return false;
#endif
    return std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
}

bool finish(FileHandle file) { return std::fclose(file.release()) == 0; }

}  // namespace

AxisAndTolerance splitAlignValue(double value) noexcept {
    int32_t axis = ostrel::trunc(value);
    if (axis < 1) axis = 1;
    if (axis > 3) axis = 3;
    return {axis, narrow(value - axis)};
}

float locateSwapPayload(std::span<const uint8_t> tev, PointsPayload& payload) {
    auto block = findBlock(tev, kTevHeaderSize, kTagPoints, SearchLimit::HeaderInside);
    auto items = block ? blockItems(tev, *block, kPointBytes) : std::nullopt;
    if (!items) return kSwapNoPoints;
    payload = {block->payloadOffset(), items->size() / kPointBytes, block->size};
    return 0;
}

void snapAxis(std::span<uint8_t> payload, float tolerance, int32_t axis) noexcept {
    if (axis < 1 || axis > 3) return;
    const float lower = -1.0f * tolerance;
    const size_t vertices = payload.size() / kPointBytes;
    uint8_t* coordinate = payload.data() + 4 * size_t(axis - 1);
    for (size_t i = 0; i < vertices; ++i, coordinate += kPointBytes) {
        float v = readaFloat(coordinate);
        // NaN fails both comparisons and is never snapped; -0 becomes +0.
        if (lower <= v && v <= tolerance) storeF32le(coordinate, 0.0f);
    }
}

float matchPointsFile(std::span<const uint8_t> pointsFile, const PointsPayload& payload) {
    auto header = readPointsHeader(pointsFile);
    if (!header || header->size != payload.blockSize || header->count < 0 ||
        size_t(header->count) != payload.vertexCount)
        return kSwapMismatch;
    // A points file cut short would hand over fewer positions than it promises.
    if (!rangeFits(kBlockHeaderSize, uint64_t(header->count) * kPointBytes, pointsFile.size())) return kSwapMismatch;
    return 0;
}

float alignVerticesTev(const char* path, float tolerance, int32_t axis) {
    auto tev = readWholeFile(path);
    if (!tev) return kSwapCannotOpenTev;
    PointsPayload payload;
    if (float code = locateSwapPayload(tev->bytes(), payload); code != 0) return code;
    auto points = tev->bytes().subspan(payload.offset, payload.vertexCount * kPointBytes);
    snapAxis(points, tolerance, axis);
    FileHandle file = openReadWrite(path);
    if (!file) return kSwapCannotWriteTev;
    bool written = overwriteAt(file.get(), payload.offset, points);
    return finish(std::move(file)) && written ? 0.0f : kSwapCannotWriteTev;
}

float swapVerticesTev(const char* tevPath, const char* pointsPath) {
    auto tev = readWholeFile(tevPath);
    if (!tev) return kSwapCannotOpenTev;
    PointsPayload payload;
    if (float code = locateSwapPayload(tev->bytes(), payload); code != 0) return code;
    tev.reset();  // only the payload's place is needed from here on

    // The points file is opened for reading and writing, as the host expects:
    // one it could not also write is refused.
    FileHandle pointsFile = openReadWrite(pointsPath);
    if (!pointsFile) return kSwapCannotOpenPoints;
    auto points = readWholeStream(pointsFile.get());
    pointsFile.reset();
    if (!points) return kSwapCannotOpenPoints;
    if (float code = matchPointsFile(points->bytes(), payload); code != 0) return code;

    FileHandle tevFile = openReadWrite(tevPath);
    if (!tevFile) return kSwapCannotWriteTev;
    bool written = overwriteAt(tevFile.get(), payload.offset,
                               points->bytes().subspan(kBlockHeaderSize, payload.vertexCount * kPointBytes));
    return finish(std::move(tevFile)) && written ? 0.0f : kSwapCannotWriteTev;
}

}  // namespace ostrel::mesh
