// The splits into points files: an OBJ by its "g" lines, and a Tev mesh's
// vertices by the group list.

#include <span>
#include <string_view>
#include <vector>

#include "core/file_io.hpp"
#include "core/pod_buffer.hpp"
#include "mesh/tev_format.hpp"
#include "obj/group_list.hpp"
#include "obj/obj_output.hpp"
#include "obj/obj_scan.hpp"
#include "obj/obj_split.hpp"
#include "obj/obj_text.hpp"

namespace ostrel::obj {
namespace {

constexpr std::string_view kPointsExtension = ".Tvt";

// Header of a points file of `count` vertices; false when the count is too
// large for the 32-bit size field.
bool writePointsHeader(OutputFile& out, uint64_t count) {
    uint8_t header[mesh::kBlockHeaderSize];
    if (!mesh::encodePointsBlockHeader(header, count)) return false;
    out.write(header, sizeof header);
    return true;
}

}  // namespace

float LeanSplitTev(const char* inputPath, const char* outputPathInFolder) {
    StreamedInput input;
    if (!input.open(inputPath)) return kSplitCannotOpenInput;
    // x, y, z of each vertex line; coordinates a line lacks are 0.
    PodBuffer<float> positions;
    GroupedObj obj = scanGroupedFaces(input, false, [&](std::string_view line) {
        positions.reserveMore(3);
        readFloats(lineBody(line), positions.extendReserved(3), 3);
    });
    if (!input.finish()) return kSplitCannotOpenInput;
    if (float code = obj.scan.verdict(kSplitCannotOpenInput)) return code;

    std::vector<std::string_view> names;
    std::vector<const GroupFaces*> groups;
    for (const auto& [name, number] : obj.groupNumbers) {
        names.push_back(name);
        groups.push_back(&obj.groups[number]);
    }
    const std::vector<std::string> outputs = freeOutputNames(folderPart(outputPathInFolder), names, kPointsExtension);
    const size_t failed = writeGroupOutputs(outputs, obj.scan.vertexLines, [&](size_t i, VertexSetBuilder& numbers, OutputFile& out) {
        std::span<const uint32_t> used = numbers.build(groups[i]->corners);
        if (!writePointsHeader(out, used.size())) return out.abandon();
        for (uint32_t index : used) out.write(&positions[size_t(index) * 3], mesh::kPointBytes);
    });
    return failed < outputs.size() ? kSplitCannotWriteOutput : 0.0f;
}

float ListSplitTev(const char* tevPath, const char* outputPathInFolder) {
    const std::vector<groupID>& records = groupListState().groupsList;
    if (records.empty()) return kSplitListEmpty;
    // The file is read a block header and a run of vertices at a time:
    // memory holds neither the mesh nor its points block.
    File tev = File::openInput(tevPath);
    const auto size = tev.isOpen() ? tev.size() : std::nullopt;
    if (!size) return kMeshOrBitmapCannotOpen;
    bool readFailed = false;
    const auto block = mesh::findBlockInFile(tev, *size, mesh::kTevHeaderSize, mesh::kTagPoints,
                                             mesh::SearchLimit::BeforeLast20, readFailed);
    if (readFailed) return kMeshOrBitmapCannotOpen;
    if (!block) return kBlockMissing;
    // Only the vertices the block really holds are handed out: a group list
    // asking for more (or a count the file cannot back) is refused before any
    // points file is written.
    const auto length = mesh::blockItemsLength(*size, *block, mesh::kPointBytes);
    if (!length) return kListSplitTevTooFewVertices;
    uint64_t wanted = 0;
    for (const groupID& record : records) {
        int64_t count = int64_t(record.endFace) - record.startFace;
        if (count < 0) return kListSplitTevTooFewVertices;
        wanted += uint64_t(count);
    }
    if (wanted > *length / mesh::kPointBytes) return kListSplitTevTooFewVertices;

    const std::string_view folder = folderPart(outputPathInFolder);
    uint64_t offset = block->payloadOffset();
    for (const groupID& record : records) {
        const size_t count = size_t(int64_t(record.endFace) - record.startFace);
        const uint64_t runBytes = uint64_t(count) * mesh::kPointBytes;
        // Raw 4-byte values: positions reach the points file bit for bit.
        const auto write = [&](OutputFile& out) {
            if (!writePointsHeader(out, count)) return out.abandon();
            const auto copy = [&](const uint8_t* points, size_t, size_t n) {
                out.write(points, n * mesh::kPointBytes);
            };
            readFailed =
                runBytes && (!tev.seek(offset) || !mesh::readItemsInSlices(tev, count, mesh::kPointBytes, copy));
            if (readFailed) out.abandon();
        };
        const bool written = writeOutput(freeOutputName(folder, record.nameText(), kPointsExtension), write,
                                         OutputFile::Existing::Refuse);
        if (readFailed) return kMeshOrBitmapCannotOpen;
        if (!written) return kSplitCannotWriteOutput;
        offset += runBytes;
    }
    return 0;
}

}  // namespace ostrel::obj
