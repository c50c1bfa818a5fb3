#include "mesh/mesh_buffers_internal.hpp"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <optional>

#include "core/convert.hpp"
#include "core/file_io.hpp"
#include "core/large_buffer.hpp"
#include "mesh/mesh_state.hpp"
#include "mesh/tev_format.hpp"

namespace ostrel::mesh {
namespace {

// The three blocks an append takes, each checked to hold its items. They
// point into the appended file's own bytes, which the append may change.
struct TevParts {
    std::span<uint8_t> points;   // 12 bytes per vertex
    std::span<uint8_t> faces;    // 16 bytes per face
    std::span<uint8_t> groups;   // 2 bytes per entry
};

std::span<uint8_t> writable(std::span<uint8_t> file, std::span<const uint8_t> part) {
    return file.subspan(size_t(part.data() - file.data()), part.size());
}

// The blocks stand in the order points, faces, polygroups; each search starts
// where the previous block ends.
float locateAppendBlocks(std::span<uint8_t> file, TevParts& parts) {
    constexpr auto limit = SearchLimit::BeforeLast20;
    auto points = findBlock(file, kTevHeaderSize, kTagPoints, limit);
    auto pointItems = points ? blockItems(file, *points, kPointBytes) : std::nullopt;
    if (!pointItems) return kBlockMissing;
    auto faces = findBlock(file, points->end(), kTagFaces, limit);
    auto faceItems = faces ? blockItems(file, *faces, kFaceBytes) : std::nullopt;
    if (!faceItems) return kMergeNoFacesBlock;
    auto groups = findBlock(file, faces->end(), kTagGroups, limit);
    auto groupItems = groups ? blockItems(file, *groups, kGroupBytes) : std::nullopt;
    if (!groupItems) return kMergeNoGroupsBlock;
    parts = {writable(file, *pointItems), writable(file, *faceItems), writable(file, *groupItems)};
    return 0;
}

// Non-negative corners move by the offset (wrapping, never undefined); the
// negative marker of a missing fourth corner stays as it is.
void shiftCorners(std::span<uint8_t> corners, int32_t offset) noexcept {
    if (offset == 0) return;
    const size_t count = corners.size() / 4;
    uint8_t* bytes = corners.data();
    if constexpr (std::endian::native == std::endian::little) {
        // Whole words in the file's byte order: a branch-free loop the compiler vectorises.
        for (size_t i = 0; i < count; ++i) {
            uint32_t corner;
            std::memcpy(&corner, bytes + 4 * i, 4);
            corner = int32_t(corner) < 0 ? corner : corner + uint32_t(offset);
            std::memcpy(bytes + 4 * i, &corner, 4);
        }
    } else {
        for (size_t i = 0; i < count; ++i) {
            int32_t corner = readSignInt(bytes + 4 * i);
            if (corner >= 0) storeU32le(bytes + 4 * i, uint32_t(corner) + uint32_t(offset));
        }
    }
}

void fillGroupId(std::span<uint8_t> ids, int32_t groupId) noexcept {
    const uint8_t low = uint8_t(groupId), high = uint8_t(uint32_t(groupId) >> 8);
    for (size_t i = 0; i + 2 <= ids.size(); i += 2) {
        ids[i] = low;
        ids[i + 1] = high;
    }
}

bool fitsBlock(size_t payloadBytes) { return payloadBytes <= size_t(INT32_MAX) - kBlockHeaderSize; }

template <size_t Width>
void writeBlock(OutputFile& out, int32_t tag, const ValueRuns<Width>& values, size_t itemValues) {
    writeBlockHeader(out, tag, values.byteSize(), values.size() / itemValues);
    for (const auto& run : values.runs()) out.write(run);
}

}  // namespace

void clearTevVectors() noexcept {
    MeshState& s = meshState();
    s.gPointsV.clear();
    s.gFacesV.clear();
    s.gGroupsV.clear();
    std::vector<ByteBuffer>().swap(s.appendedFiles);
    s.gGroupID = 0;
}

float appendTevBytes(ByteBuffer file, int32_t vertexOffset, int32_t keepGroups) {
    MeshState& s = meshState();
    TevParts parts;
    if (float code = locateAppendBlocks(file.bytes(), parts); code != 0) return code;
    // Every allocation happens before the state changes, so running out of
    // memory also leaves the buffers as they were.
    s.appendedFiles.reserve(s.appendedFiles.size() + 1);
    s.gPointsV.reserveRuns(1);
    s.gFacesV.reserveRuns(1);
    s.gGroupsV.reserveRuns(1);
    shiftCorners(parts.faces, vertexOffset);
    if (keepGroups == 0) fillGroupId(parts.groups, s.gGroupID);
    s.gPointsV.appendReserved(parts.points);
    s.gFacesV.appendReserved(parts.faces);
    s.gGroupsV.appendReserved(parts.groups);
    s.appendedFiles.push_back(std::move(file));
    return float(parts.points.size() / kPointBytes);
}

float AddTev(const char* path, int32_t vertexOffset, int32_t keepGroups) {
    MeshState& s = meshState();
    s.gGroupID = int32_t(uint32_t(s.gGroupID) + 33u);
    auto file = readWholeLargeFile(path);
    if (!file) return kMeshOrBitmapCannotOpen;
    return appendTevBytes(std::move(*file), vertexOffset, keepGroups);
}

float WriteTev(const char* path) {
    MeshState& s = meshState();
    if (s.gPointsV.empty() || s.gFacesV.empty() || s.gGroupsV.empty()) return kMergeNothingToWrite;
    if (!fitsBlock(s.gPointsV.byteSize()) || !fitsBlock(s.gFacesV.byteSize()) || !fitsBlock(s.gGroupsV.byteSize()))
        return kMergeBlockTooLarge;

    OutputFile out;
    if (!out.open(path)) return kMergeCannotWrite;
    out.write(kTevHeader);
    writeBlock(out, kTagPoints, s.gPointsV, 3);
    writeBlock(out, kTagFaces, s.gFacesV, 4);
    writeBlock(out, kTagGroups, s.gGroupsV, 2);
    const uint8_t endBlock[kBlockHeaderSize] = {};
    out.write(endBlock, sizeof endBlock);
    if (!out.commit()) return kMergeCannotWrite;
    clearTevVectors();
    return 0;
}

namespace {

// The block at offset 32 is taken as a faces block whatever its tag: its
// count at bytes 40..43, its records from byte 48.
constexpr size_t kRecordsOffset = kTevHeaderSize + kBlockHeaderSize;

// How many ids a triangle and a quad get at a subdivision level:
// pow(4, level - 1) is positive or NaN; trunc saturates it into int32.
struct FaceIdCounts {
    uint32_t triangle;
    uint32_t quad;
};
FaceIdCounts faceIdCounts(double level) noexcept {
    const uint64_t per = uint64_t(std::max<int32_t>(0, ostrel::trunc(std::pow(4.0, level - 1.0))));
    return {uint32_t(std::min<uint64_t>(per * 3, UINT32_MAX)), uint32_t(std::min<uint64_t>(per * 4, UINT32_MAX))};
}

// The face count of the block header, when its records lie in a file of
// `fileSize` bytes.
std::optional<size_t> faceRecordCount(const uint8_t* blockHeader, uint64_t fileSize) noexcept {
    const int32_t count = readSignInt(blockHeader + 8);
    if (count < 0 || !rangeFits(kRecordsOffset, uint64_t(count) * kFaceBytes, fileSize)) return std::nullopt;
    return size_t(count);
}

// Appends the ids of `count` records; room for them is reserved.
void appendFaceIds(const uint8_t* record, size_t count, FaceIdCounts ids, PodBuffer<uint32_t>& out) noexcept {
    uint32_t* next = out.extendReserved(count);
    for (size_t i = 0; i < count; ++i, record += kFaceBytes)
        next[i] = readSignInt(record + 12) < 0 ? ids.triangle : ids.quad;
}

}  // namespace

float faceIDsFromBytes(std::span<const uint8_t> file, double level) {
    MeshState& s = meshState();
    s.faceID.release();
    const auto blockHeader = ByteCursor(file).view(kTevHeaderSize, kBlockHeaderSize);
    const auto count = blockHeader ? faceRecordCount(blockHeader->data(), file.size()) : std::nullopt;
    if (!count) return kBlockMissing;
    s.faceID.reserveMore(*count);
    appendFaceIds(file.data() + kRecordsOffset, *count, faceIdCounts(level), s.faceID);
    return float(s.faceID.size());
}

float GetFaceIDsTev(const char* path, double level) {
    MeshState& s = meshState();
    s.faceID.release();
    // The records are read a slice at a time: memory holds the ids, not the
    // mesh.
    File tev = File::openInput(path);
    const auto size = tev.isOpen() ? tev.size() : std::nullopt;
    if (!size) return kMeshOrBitmapCannotOpen;
    uint8_t blockHeader[kBlockHeaderSize];
    const FirstBlockHeader header = readFirstBlockHeader(tev, *size, blockHeader);
    if (header == FirstBlockHeader::ReadFailed) return kMeshOrBitmapCannotOpen;
    const auto count = header == FirstBlockHeader::Read ? faceRecordCount(blockHeader, *size) : std::nullopt;
    if (!count) return kBlockMissing;
    s.faceID.reserveMore(*count);
    const FaceIdCounts ids = faceIdCounts(level);
    const bool read = readItemsInSlices(tev, *count, kFaceBytes, [&](const uint8_t* records, size_t, size_t n) {
        appendFaceIds(records, n, ids, s.faceID);
    });
    if (!read) {
        s.faceID.release();
        return kMeshOrBitmapCannotOpen;
    }
    return float(s.faceID.size());
}

}  // namespace ostrel::mesh
