#include "obj/obj_split.hpp"

#include <cstring>
#include <map>
#include <memory>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "core/file_io.hpp"
#include "core/pod_buffer.hpp"
#include "obj/group_list.hpp"
#include "obj/obj_output.hpp"
#include "obj/obj_scan.hpp"
#include "obj/obj_text.hpp"

namespace ostrel::obj {
namespace {

// The vertex lines, copied out of the window as it passes: the only bytes of
// the input read after the scan. Each is kept as its length (4 bytes) and its
// text, without its line end, in blocks of 4 MiB, so no block ever needs
// more than that in one piece (a line longer than a block gets a block of its
// own length); an entry per line says where it starts.
class VertexLines {
public:
    void push(std::string_view line) {
        if (line.size() > UINT32_MAX) throw std::bad_alloc();
        const size_t record = sizeof(uint32_t) + line.size();
        if (record > size_t(blockEnd_ - next_)) {
            const size_t size = std::max(record, kBlockSize);
            blocks_.push_back(std::unique_ptr<char[]>(new char[size]));
            next_ = blocks_.back().get();
            blockEnd_ = next_ + size;
        }
        starts_.push(next_);
        const uint32_t length = uint32_t(line.size());
        std::memcpy(next_, &length, sizeof length);
        if (!line.empty()) std::memcpy(next_ + sizeof length, line.data(), line.size());
        next_ += record;
    }
    size_t size() const noexcept { return starts_.size(); }
    std::string_view operator[](size_t index) const noexcept {
        const char* start = starts_[index];
        uint32_t length = 0;
        std::memcpy(&length, start, sizeof length);
        return {start + sizeof length, length};
    }

private:
    static constexpr size_t kBlockSize = size_t(4) << 20;
    std::vector<std::unique_ptr<char[]>> blocks_;
    PodBuffer<const char*> starts_;
    char* next_ = nullptr;
    char* blockEnd_ = nullptr;
};

void writeGroupObj(OutputFile& out, std::span<const uint32_t> used, const VertexSetBuilder& numbers,
                   const VertexLines& vertexLines, const GroupFaces& group) {
    for (uint32_t index : used) writeLine(out, vertexLines[index]);
    size_t corner = 0;
    for (uint32_t size : group.faceSizes) {
        out.write("f ");
        for (uint32_t i = 0; i < size; ++i, ++corner) {
            out.put(' ');
            writeNumber(out, numbers.newNumber(group.corners[corner]));
        }
        out.write(kLineEnd);
    }
}

}  // namespace

float LeanSplitOBJ(const char* inputPath, const char* outputPathInFolder) {
    StreamedInput input;
    if (!input.open(inputPath)) return kSplitCannotOpenInput;
    VertexLines vertexLines;
    GroupedObj obj = scanGroupedFaces(input, true, [&](std::string_view line) { vertexLines.push(line); });
    if (!input.finish()) return kSplitCannotOpenInput;
    if (float code = obj.scan.verdict(kSplitCannotOpenInput)) return code;

    // Outputs in the byte order of their names, up to the first group
    // without faces (and so without vertices), which ends the split.
    std::vector<std::string_view> names;
    std::vector<const GroupFaces*> groups;
    for (const auto& [name, number] : obj.groupNumbers) {
        if (obj.groups[number].corners.empty()) break;
        names.push_back(name);
        groups.push_back(&obj.groups[number]);
    }
    const std::vector<std::string> outputs = freeOutputNames(folderPart(outputPathInFolder), names, ".obj");
    const size_t failed = writeGroupOutputs(outputs, vertexLines.size(), [&](size_t i, VertexSetBuilder& numbers, OutputFile& out) {
        writeGroupObj(out, numbers.build(groups[i]->corners), numbers, vertexLines, *groups[i]);
    });
    if (failed < outputs.size()) return kSplitCannotWriteOutput;
    return names.size() < obj.groupNumbers.size() ? kSplitGroupWithoutVertices : 0.0f;
}

namespace {

// The position in the group list that each face of a combined file belongs
// to: records cover consecutive face ranges from face 0 in list order, only
// their endFace is consulted, at most one step is taken per face, and faces
// after the last record's range belong to the last record.
class FaceRangeWalk {
public:
    explicit FaceRangeWalk(const std::vector<groupID>& records) noexcept
        : records_(records), boundary_(records.front().endFace) {}

    size_t nextFace() noexcept {
        ++face_;
        if (face_ == boundary_ && position_ + 1 < records_.size()) {
            ++position_;
            boundary_ = records_[position_].endFace;
        }
        return position_;
    }

private:
    const std::vector<groupID>& records_;
    int64_t boundary_;
    int64_t face_ = -1;
    size_t position_ = 0;
};

// Record name to its first position in the list; later records of the same
// name reach no output.
std::map<std::string_view, size_t> firstPositions(const std::vector<groupID>& records) {
    std::map<std::string_view, size_t> positions;
    for (size_t i = 0; i < records.size(); ++i) positions.emplace(records[i].nameText(), i);
    return positions;
}

}  // namespace

float ListSplitOBJ(const char* inputPath, const char* outputPathInFolder) {
    const std::vector<groupID>& records = groupListState().groupsList;
    if (records.empty()) return kSplitListEmpty;
    const auto positions = firstPositions(records);
    std::vector<bool> hasOutput(records.size(), false);
    for (const auto& entry : positions) hasOutput[entry.second] = true;

    StreamedInput input;
    if (!input.open(inputPath)) return kSplitCannotOpenInput;
    VertexLines vertexLines;
    std::vector<std::vector<uint32_t>> corners(records.size());
    struct {
        VertexLines& vertexLines;
        std::vector<std::vector<uint32_t>>& corners;
        const std::vector<bool>& hasOutput;
        FaceRangeWalk walk;

        void vertex(std::string_view line) { vertexLines.push(line); }
        void face(FaceLine& face) {
            const size_t position = walk.nextFace();
            std::vector<uint32_t>* target = hasOutput[position] ? &corners[position] : nullptr;
            // Every face is read, also one no output takes: its numbers are checked.
            face.forEachCorner([&](uint64_t absolute) {
                if (target) target->push_back(uint32_t(absolute - 1));
            });
        }
    } sorter{vertexLines, corners, hasOutput, FaceRangeWalk(records)};
    const ObjScan scan = scanObj(input, sorter);
    if (!input.finish()) return kSplitCannotOpenInput;
    if (float code = scan.verdict(kSplitCannotOpenInput)) return code;

    std::vector<std::string_view> names;
    std::vector<size_t> listPositions;
    for (const auto& [name, position] : positions) {
        names.push_back(name);
        listPositions.push_back(position);
    }
    const std::vector<std::string> outputs = freeOutputNames(folderPart(outputPathInFolder), names, ".obj");
    const size_t failed = writeGroupOutputs(outputs, vertexLines.size(), [&](size_t i, VertexSetBuilder& numbers, OutputFile& out) {
        for (uint32_t index : numbers.build(corners[listPositions[i]])) writeLine(out, vertexLines[index]);
    });
    return failed < outputs.size() ? kSplitCannotWriteOutput : 0.0f;
}

}  // namespace ostrel::obj
