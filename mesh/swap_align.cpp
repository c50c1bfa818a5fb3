#include "mesh/swap_align_internal.hpp"

#include "core/convert.hpp"
#include "core/file_io.hpp"
#include "mesh/tev_format.hpp"

namespace ostrel::mesh {
namespace {

// Writes the new positions over the old ones, all or nothing: when a write
// fails, the file is as it was. `current` holds what the file has there now.
bool overwritePayload(const char* path, uint64_t offset, std::span<const uint8_t> positions,
                      std::span<const uint8_t> current) {
    InPlaceUpdate tev;
    return tev.open(path) && tev.overwrite(offset, positions, current) && tev.commit();
}

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
    if (!items) return kBlockMissing;
    payload = {block->payloadOffset(), items->size() / kPointBytes, block->size};
    return 0;
}

VertexRange snapAxis(std::span<uint8_t> payload, float tolerance, int32_t axis) noexcept {
    VertexRange changed;
    if (axis < 1 || axis > 3) return changed;
    const float lower = -1.0f * tolerance;
    const size_t vertices = payload.size() / kPointBytes;
    uint8_t* coordinate = payload.data() + 4 * size_t(axis - 1);
    bool any = false;
    for (size_t i = 0; i < vertices; ++i, coordinate += kPointBytes) {
        float v = readaFloat(coordinate);
        // NaN fails both comparisons and is never snapped; -0 becomes +0.
        if (lower <= v && v <= tolerance) {
            // +0 stays as it is: only a changed value marks its vertex.
            if (loadU32le(coordinate) != 0) {
                if (!any) changed.first = i;
                changed.end = i + 1;
                any = true;
            }
            storeF32le(coordinate, 0.0f);
        }
    }
    return changed;
}

float matchPointsFile(std::span<const uint8_t> pointsFile, const PointsPayload& payload) {
    auto header = readPointsHeader(pointsFile);
    if (!header || header->size != payload.blockSize || header->count < 0 ||
        size_t(header->count) != payload.vertexCount)
        return kTevSwapPointsMismatch;
    // A points file cut short would hand over fewer positions than it promises.
    if (!ByteCursor(pointsFile).view(kBlockHeaderSize, uint64_t(header->count) * kPointBytes)) return kTevSwapPointsMismatch;
    return 0;
}

float alignVerticesTev(const char* path, float tolerance, int32_t axis) {
    auto tev = readWholeFile(path);
    if (!tev) return kMeshOrBitmapCannotOpen;
    PointsPayload payload;
    if (float code = locateSwapPayload(tev->bytes(), payload); code != 0) return code;
    auto points = tev->bytes().subspan(payload.offset, payload.vertexCount * kPointBytes);
    const VertexRange changed = snapAxis(points, tolerance, axis);
    // Only the vertices that changed are written; the file is opened for
    // writing all the same, so a file that may not be written is refused.
    InPlaceUpdate file;
    if (!file.open(path)) return kTevSwapCannotWrite;
    const auto snapped = points.subspan(changed.first * kPointBytes, (changed.end - changed.first) * kPointBytes);
    const bool written = snapped.empty() || file.overwrite(payload.offset + changed.first * kPointBytes, snapped);
    return written && file.commit() ? 0.0f : kTevSwapCannotWrite;
}

float swapVerticesTev(const char* tevPath, const char* pointsPath) {
    auto tev = readWholeFile(tevPath);
    if (!tev) return kMeshOrBitmapCannotOpen;
    PointsPayload payload;
    if (float code = locateSwapPayload(tev->bytes(), payload); code != 0) return code;
    // The Tev's bytes stay: they are what is put back if a write fails.

    // The points file is opened for reading and writing, as the host expects:
    // one it could not also write is refused.
    File pointsFile = File::openForUpdate(pointsPath);
    auto points = pointsFile.isOpen() ? readWholeFile(pointsFile) : std::nullopt;
    pointsFile.close();
    if (!points) return kTevSwapPointsCannotOpen;
    if (float code = matchPointsFile(points->bytes(), payload); code != 0) return code;

    const auto positions = points->bytes().subspan(kBlockHeaderSize, payload.vertexCount * kPointBytes);
    const auto current = tev->bytes().subspan(payload.offset, positions.size());
    return overwritePayload(tevPath, payload.offset, positions, current) ? 0.0f : kTevSwapCannotWrite;
}

}  // namespace ostrel::mesh
