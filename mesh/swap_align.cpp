#include "mesh/swap_align_internal.hpp"

#include <algorithm>
#include <cstdint>

#include "core/convert.hpp"
#include "core/file_io.hpp"
#include "core/large_buffer.hpp"
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

// The points payload of a Tev file and the bytes it holds now.
struct TevPositions {
    PointsPayload payload;
    ByteBuffer bytes;
};

// Reads the block headers up to the points block and its payload, and
// nothing else of the file: memory holds the positions, not the mesh. The
// block is found and checked as locateSwapPayload finds and checks it in the
// whole file's bytes.
float readPositions(const char* path, TevPositions& tev) {
    File in = File::openInput(path);
    const auto size = in.isOpen() ? in.size() : std::nullopt;
    if (!size || *size > SIZE_MAX) return kMeshOrBitmapCannotOpen;
    bool readFailed = false;
    const auto block = findBlockInFile(in, *size, kTevHeaderSize, kTagPoints, SearchLimit::HeaderInside, readFailed);
    if (readFailed) return kMeshOrBitmapCannotOpen;
    const auto length = block ? blockItemsLength(*size, *block, kPointBytes) : std::nullopt;
    if (!length) return kBlockMissing;
    tev.payload = {block->payloadOffset(), *length / kPointBytes, block->size};
    tev.bytes = makeLargeBuffer(*length);
    if (*length && (!in.seek(tev.payload.offset) || !in.readExact(tev.bytes.data(), *length)))
        return kMeshOrBitmapCannotOpen;
    return 0;
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

namespace {

// The vertices whose coordinate snapping changes, and with `store` the
// snapped coordinates stored.
VertexRange snapCoordinates(std::span<uint8_t> payload, float tolerance, int32_t axis, bool store) noexcept {
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
            if (store) storeF32le(coordinate, 0.0f);
        }
    }
    return changed;
}

}  // namespace

VertexRange snapAxis(std::span<uint8_t> payload, float tolerance, int32_t axis) noexcept {
    return snapCoordinates(payload, tolerance, axis, true);
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
    TevPositions tev;
    if (float code = readPositions(path, tev); code != 0) return code;
    // The vertices that change are found first, and only their old bytes are
    // kept to be put back if a write fails.
    const VertexRange changed = snapCoordinates(tev.bytes.bytes(), tolerance, axis, false);
    const auto range =
        tev.bytes.bytes().subspan(changed.first * kPointBytes, (changed.end - changed.first) * kPointBytes);
    ByteBuffer before = makeLargeBuffer(range.size());
    std::copy(range.begin(), range.end(), before.data());
    snapAxis(range, tolerance, axis);
    // Only the vertices that changed are written; the file is opened for
    // writing all the same, so a file that may not be written is refused.
    InPlaceUpdate file;
    if (!file.open(path)) return kTevSwapCannotWrite;
    const bool written = file.overwrite(tev.payload.offset + changed.first * kPointBytes, range, before.bytes());
    return written && file.commit() ? 0.0f : kTevSwapCannotWrite;
}

float swapVerticesTev(const char* tevPath, const char* pointsPath) {
    TevPositions tev;
    if (float code = readPositions(tevPath, tev); code != 0) return code;
    // The Tev's positions stay: they are what is put back if a write fails.

    // The points file is opened for reading and writing, as the host expects:
    // one it could not also write is refused.
    File pointsFile = File::openForUpdate(pointsPath);
    auto points = pointsFile.isOpen() ? readWholeLargeFile(pointsFile) : std::nullopt;
    pointsFile.close();
    if (!points) return kTevSwapPointsCannotOpen;
    if (float code = matchPointsFile(points->bytes(), tev.payload); code != 0) return code;

    const auto positions = points->bytes().subspan(kBlockHeaderSize, tev.payload.vertexCount * kPointBytes);
    return overwritePayload(tevPath, tev.payload.offset, positions, tev.bytes.bytes()) ? 0.0f : kTevSwapCannotWrite;
}

}  // namespace ostrel::mesh
