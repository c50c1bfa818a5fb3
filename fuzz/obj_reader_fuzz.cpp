// The OBJ reader over arbitrary bytes: lines, classification, face numbers,
// their checks, coordinates, and the per-group vertex sets built from them.
// Any index that escapes the vertex lines, or a set that disagrees with its
// corners, stops the run. So does any difference between scanning the bytes
// in memory and scanning them as a second thread reads them from a file in
// chunks that end anywhere in a line.

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/file_io.hpp"
#include "core/pod_buffer.hpp"
#include "obj/obj_output.hpp"
#include "obj/obj_scan.hpp"
#include "obj/obj_text.hpp"

using namespace ostrel;
using namespace ostrel::obj;

namespace {

void require(bool condition) {
    if (!condition) std::abort();
}

void checkGroup(const GroupFaces& group, VertexSetBuilder& numbers, uint64_t vertexCount) {
    uint64_t corners = 0;
    for (uint32_t size : group.faceSizes) corners += size;
    require(corners == group.corners.size());
    for (uint32_t index : group.corners) require(index < vertexCount);
    auto used = numbers.build(group.corners);
    for (size_t k = 0; k < used.size(); ++k) {
        require(k == 0 || used[k - 1] < used[k]);
        require(numbers.newNumber(used[k]) == k + 1);
    }
    for (uint32_t index : group.corners) require(numbers.newNumber(index) <= used.size());
}

GroupedObj scanWithPositions(auto&& source, PodBuffer<float>& positions, std::vector<std::string>& lines) {
    return scanGroupedFaces(source, true, [&](std::string_view line) {
        positions.reserveMore(3);
        readFloats(lineBody(line), positions.extendReserved(3), 3);
        lines.emplace_back(line);
    });
}

void setReadChunk(size_t bytes) {
    const std::string text = std::to_string(bytes);
#ifdef _WIN32
    _putenv_s("OSTREL_READ_CHUNK", text.c_str());
#else
    setenv("OSTREL_READ_CHUNK", text.c_str(), 1);
#endif
}

// The file is read in chunks that end anywhere in a line, through a window
// of three chunks that its longer lines overrun.
void requireSameWhenStreamed(std::string_view text, const GroupedObj& expected, const PodBuffer<float>& positions,
                             const std::vector<std::string>& lines) {
    static const std::string path =
        (std::filesystem::temp_directory_path() / ("ostrel-obj-fuzz-" + std::to_string(std::rand()) + ".obj")).string();
    require(writeWholeFile(path.c_str(), {reinterpret_cast<const uint8_t*>(text.data()), text.size()}));
    setReadChunk(text.empty() ? 1 : 1 + uint8_t(text[0]) % 16);
    StreamedInput input;
    require(input.open(path.c_str()));
    PodBuffer<float> streamedPositions;
    std::vector<std::string> streamedLines;
    const GroupedObj streamed = scanWithPositions(input, streamedPositions, streamedLines);
    require(input.finish());
    require(streamedLines.size() == lines.size());
    for (size_t i = 0; i < lines.size(); ++i) require(streamedLines[i] == lines[i]);
    removeFile(path.c_str());
    require(streamed.scan.vertexLines == expected.scan.vertexLines && streamed.scan.faces == expected.scan.faces);
    require(streamed.scan.verdict(-1.0f) == expected.scan.verdict(-1.0f));
    require(streamed.groupNumbers == expected.groupNumbers && streamed.groups.size() == expected.groups.size());
    for (size_t g = 0; g < expected.groups.size(); ++g)
        require(streamed.groups[g].corners == expected.groups[g].corners &&
                streamed.groups[g].faceSizes == expected.groups[g].faceSizes);
    require(streamedPositions.size() == positions.size());
    require(positions.empty() ||
            std::memcmp(streamedPositions.data(), positions.data(), positions.size() * sizeof(float)) == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), data ? size : 0);
    PodBuffer<float> positions;
    std::vector<std::string> lines;
    GroupedObj obj = scanWithPositions(text, positions, lines);
    requireSameWhenStreamed(text, obj, positions, lines);
    const uint64_t vertexLines = obj.scan.vertexLines;
    require(positions.size() == vertexLines * 3);
    if (obj.scan.verdict(-1.0f) != 0) return 0;
    VertexSetBuilder numbers(vertexLines);
    for (const auto& entry : obj.groupNumbers) checkGroup(obj.groups[entry.second], numbers, vertexLines);
    return 0;
}
