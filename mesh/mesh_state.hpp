#pragma once
// The mesh subsystem's module-level state, all in one place: the buffers that
// merge Tev files, the polygroup settings, and the face-id list that the
// Tev-to-OBJ conversion consumes.
//
// The merge buffers keep the appended files themselves: gPointsV, gFacesV and
// gGroupsV are runs of little-endian values inside those files' bytes (face
// corners already shifted, group ids already replaced where asked). So an
// append copies nothing after the read, the merged file is written straight
// from the runs, and memory holds each appended file once.

#include <cstdint>
#include <span>
#include <vector>

#include "core/byte_cursor.hpp"
#include "core/file_io.hpp"
#include "core/pod_buffer.hpp"

namespace ostrel::mesh {

// A sequence of little-endian values of `Width` bytes, stored as byte runs.
template <size_t Width>
class ValueRuns {
public:
    size_t size() const noexcept { return bytes_ / Width; }
    size_t byteSize() const noexcept { return bytes_; }
    bool empty() const noexcept { return bytes_ == 0; }
    const std::vector<std::span<const uint8_t>>& runs() const noexcept { return runs_; }
    // The bytes of value `index` (for inspection; the writer walks the runs).
    const uint8_t* at(size_t index) const noexcept {
        size_t offset = index * Width;
        for (const auto& run : runs_) {
            if (offset < run.size()) return run.data() + offset;
            offset -= run.size();
        }
        return nullptr;
    }
    void reserveRuns(size_t extra) { runs_.reserve(runs_.size() + extra); }
    // Room must have been reserved: appending never fails.
    void appendReserved(std::span<const uint8_t> run) noexcept {
        if (run.empty()) return;
        runs_.push_back(run);
        bytes_ += run.size();
    }
    void clear() noexcept {
        runs_ = {};
        bytes_ = 0;
    }

private:
    std::vector<std::span<const uint8_t>> runs_;
    size_t bytes_ = 0;
};

struct MeshState {
    std::vector<ByteBuffer> appendedFiles;   // owners of the bytes the runs below point into
    ValueRuns<4> gPointsV;                   // x, y, z floats per vertex, in append order
    ValueRuns<4> gFacesV;                    // four corners per face; negative marks no fourth corner
    ValueRuns<1> gGroupsV;                   // 16-bit little-endian group id per face
    int32_t gGroupID = 0;                    // raised by 33 at the start of every append
    int32_t isGroups = 0;                    // nonzero: appended files keep their own group ids
    PodBuffer<uint32_t> faceID;              // per base face: how many output faces share its id
};

MeshState& meshState() noexcept;
// Back to the state the library has when it is loaded.
void resetMeshState() noexcept;

}  // namespace ostrel::mesh
