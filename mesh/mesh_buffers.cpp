#include "mesh/mesh_buffers.hpp"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

#include "core/convert.hpp"
#include "core/file_io.hpp"
#include "mesh/mesh_state.hpp"
#include "mesh/tev_format.hpp"

namespace ostrel::mesh {
namespace {

// The three blocks an append takes, each checked to hold its items.
struct TevParts {
    std::span<const uint8_t> points;   // 12 bytes per vertex
    std::span<const uint8_t> faces;    // 16 bytes per face
    std::span<const uint8_t> groups;   // 2 bytes per entry
};

// The blocks stand in the order points, faces, polygroups; each search starts
// where the previous block ends.
float locateAppendBlocks(std::span<const uint8_t> file, TevParts& parts) {
    constexpr auto limit = SearchLimit::BeforeLast20;
    auto points = findBlock(file, kTevHeaderSize, kTagPoints, limit);
    auto pointItems = points ? blockItems(file, *points, kPointBytes) : std::nullopt;
    if (!pointItems) return kNoPoints;
    auto faces = findBlock(file, points->end(), kTagFaces, limit);
    auto faceItems = faces ? blockItems(file, *faces, kFaceBytes) : std::nullopt;
    if (!faceItems) return kNoFaces;
    auto groups = findBlock(file, faces->end(), kTagGroups, limit);
    auto groupItems = groups ? blockItems(file, *groups, kGroupBytes) : std::nullopt;
    if (!groupItems) return kNoGroups;
    parts = {*pointItems, *faceItems, *groupItems};
    return 0;
}

void appendFloats(PodBuffer<float>& out, std::span<const uint8_t> bytes) {
    const size_t n = bytes.size() / 4;
    float* tail = out.extendReserved(n);
    if constexpr (std::endian::native == std::endian::little) {
        if (n) std::memcpy(tail, bytes.data(), n * 4);
    } else {
        for (size_t i = 0; i < n; ++i) tail[i] = readaFloat(bytes.data() + 4 * i);
    }
}

// Non-negative corners move by the offset (wrapping, never undefined); the
// negative marker of a missing fourth corner stays as it is.
void appendShiftedCorners(PodBuffer<int32_t>& out, std::span<const uint8_t> bytes, int32_t offset) {
    const size_t n = bytes.size() / 4;
    int32_t* tail = out.extendReserved(n);
    const uint8_t* src = bytes.data();
    for (size_t i = 0; i < n; ++i) {
        int32_t corner = readSignInt(src + 4 * i);
        tail[i] = corner < 0 ? corner : int32_t(uint32_t(corner) + uint32_t(offset));
    }
}

void appendGroupIds(PodBuffer<uint8_t>& out, std::span<const uint8_t> bytes, bool keepGroups, int32_t groupId) {
    uint8_t* tail = out.extendReserved(bytes.size());
    if (keepGroups) {
        if (!bytes.empty()) std::memcpy(tail, bytes.data(), bytes.size());
        return;
    }
    const uint8_t low = uint8_t(groupId), high = uint8_t(uint32_t(groupId) >> 8);
    for (size_t i = 0; i < bytes.size(); i += 2) {
        tail[i] = low;
        tail[i + 1] = high;
    }
}

bool fitsBlock(size_t payloadBytes) { return payloadBytes <= size_t(INT32_MAX) - kBlockHeaderSize; }

void writeBlockHeader(OutputFile& out, int32_t tag, size_t payloadBytes, size_t count) {
    out.putI32le(tag);
    out.putI32le(int32_t(payloadBytes + kBlockHeaderSize));
    out.putI32le(int32_t(count));
    out.putI32le(0);
}

template <class T>
void writeLittleEndian(OutputFile& out, const PodBuffer<T>& values) {
    if constexpr (std::endian::native == std::endian::little || sizeof(T) == 1) {
        out.write(values.data(), values.size() * sizeof(T));
    } else {
        for (size_t i = 0; i < values.size(); ++i) {
            uint32_t bits;
            std::memcpy(&bits, &values[i], 4);
            out.putU32le(bits);
        }
    }
}

}  // namespace

void clearTevVectors() noexcept {
    MeshState& s = meshState();
    s.gPointsV.release();
    s.gFacesV.release();
    s.gGroupsV.release();
    s.gGroupID = 0;
}

float appendTevBytes(std::span<const uint8_t> file, int32_t vertexOffset, int32_t keepGroups) {
    MeshState& s = meshState();
    TevParts parts;
    if (float code = locateAppendBlocks(file, parts); code != 0) return code;
    // Every allocation happens before the first value is appended, so running
    // out of memory also leaves the buffers untouched.
    s.gPointsV.reserveMore(parts.points.size() / 4);
    s.gFacesV.reserveMore(parts.faces.size() / 4);
    s.gGroupsV.reserveMore(parts.groups.size());
    appendFloats(s.gPointsV, parts.points);
    appendShiftedCorners(s.gFacesV, parts.faces, vertexOffset);
    appendGroupIds(s.gGroupsV, parts.groups, keepGroups != 0, s.gGroupID);
    return float(parts.points.size() / kPointBytes);
}

float AddTev(const char* path, int32_t vertexOffset, int32_t keepGroups) {
    MeshState& s = meshState();
    s.gGroupID = int32_t(uint32_t(s.gGroupID) + 33u);
    auto file = readWholeFile(path);
    if (!file) return kCannotOpen;
    return appendTevBytes(file->bytes(), vertexOffset, keepGroups);
}

float WriteTev(const char* path) {
    MeshState& s = meshState();
    if (s.gPointsV.empty() || s.gFacesV.empty() || s.gGroupsV.empty()) return kNothingToWrite;
    const size_t pointBytes = s.gPointsV.size() * 4, faceBytes = s.gFacesV.size() * 4,
                 groupBytes = s.gGroupsV.size();
    if (!fitsBlock(pointBytes) || !fitsBlock(faceBytes) || !fitsBlock(groupBytes)) return kTooLarge;

    OutputFile out;
    if (!out.open(path)) return kCannotOpen;
    out.write(kTevHeader);
    writeBlockHeader(out, kTagPoints, pointBytes, s.gPointsV.size() / 3);
    writeLittleEndian(out, s.gPointsV);
    writeBlockHeader(out, kTagFaces, faceBytes, s.gFacesV.size() / 4);
    writeLittleEndian(out, s.gFacesV);
    writeBlockHeader(out, kTagGroups, groupBytes, s.gGroupsV.size() / 2);
    writeLittleEndian(out, s.gGroupsV);
    const uint8_t endBlock[kBlockHeaderSize] = {};
    out.write(endBlock, sizeof endBlock);
    if (!out.commit()) return kCannotOpen;
    clearTevVectors();
    return 0;
}

float faceIDsFromBytes(std::span<const uint8_t> file, double level) {
    MeshState& s = meshState();
    s.faceID.release();
    // pow(4, level - 1) is positive or NaN; trunc saturates it into int32.
    const uint64_t per = uint64_t(std::max<int32_t>(0, ostrel::trunc(std::pow(4.0, level - 1.0))));
    const uint32_t triangleCount = uint32_t(std::min<uint64_t>(per * 3, UINT32_MAX));
    const uint32_t quadCount = uint32_t(std::min<uint64_t>(per * 4, UINT32_MAX));

    // The block at offset 32 is taken as a faces block whatever its tag: its
    // count at bytes 40..43, its records from byte 48.
    constexpr size_t kCountOffset = kTevHeaderSize + 8, kRecordsOffset = kTevHeaderSize + kBlockHeaderSize;
    if (file.size() < kRecordsOffset) return kNoPoints;
    const int32_t faceCount = readSignInt(file.data() + kCountOffset);
    if (faceCount < 0 || !rangeFits(kRecordsOffset, uint64_t(faceCount) * kFaceBytes, file.size())) return kNoPoints;

    s.faceID.reserveMore(size_t(faceCount));
    uint32_t* out = s.faceID.extendReserved(size_t(faceCount));
    const uint8_t* record = file.data() + kRecordsOffset;
    for (int32_t i = 0; i < faceCount; ++i, record += kFaceBytes)
        out[i] = readSignInt(record + 12) < 0 ? triangleCount : quadCount;
    return float(s.faceID.size());
}

float GetFaceIDsTev(const char* path, double level) {
    meshState().faceID.release();
    auto file = readWholeFile(path);
    if (!file) return kCannotOpen;
    return faceIDsFromBytes(file->bytes(), level);
}

}  // namespace ostrel::mesh
