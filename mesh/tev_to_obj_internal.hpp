#pragma once
// The conversion over bytes in memory, in steps: what the workers are made
// of, for the tests, fuzz targets and benchmarks.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/file_io.hpp"
#include "mesh/tev_to_obj.hpp"

namespace ostrel::mesh {

// Collects output text in large pieces. With an OutputFile the pieces go to
// it as they fill; without one the text stays in memory (tests, fuzzing).
class TextStage {
public:
    explicit TextStage(OutputFile* out = nullptr);
    // Room for `n` more bytes at the returned position; finish with advance().
    char* reserve(size_t n) {
        if (buffer_.size() - used_ < n) makeRoom(n);
        return buffer_.data() + used_;
    }
    void advance(char* end) noexcept { used_ = size_t(end - buffer_.data()); }
    void append(std::string_view text);
    // Appends a finished piece of text; a stage of a file hands it to the
    // file without copying it.
    void appendPiece(std::string_view text);
    // Drops the in-memory text and keeps the memory for the next.
    void clear() noexcept { used_ = 0; }
    // Hands the rest to the file; the in-memory text is what has not gone out.
    void flush();
    std::string_view held() const noexcept { return {buffer_.data(), used_}; }

private:
    void makeRoom(size_t n);
    OutputFile* out_;
    std::string buffer_;
    size_t used_ = 0;
};

// How a step of the conversion ended. `result` is what the host is answered:
// 0 when the step is done; otherwise the tag found where a block was expected,
// taken as an unsigned value, or kTevObjOutOfRange. An end block found there
// gives 0 too, the same number as success, so `done` and not the number tells
// whether the step finished.
struct TevObjStep {
    bool done = false;
    float result = 0;
};

// What the conversion needs before the output is created: the vertex count
// and the face count for the header, both checked against the file.
struct ObjPlan {
    size_t vertexCount = 0;
    int32_t headerFaceCount = 0;
};
// Done with `plan` filled; otherwise the tag found when the block at offset 32
// is not a points block, or kTevObjOutOfRange when a field points outside the
// file. Whatever follows the first block, a conversion that is not planned
// creates no output.
TevObjStep planTevToObj(std::span<const uint8_t> tev, ObjPlan& plan);

// Writes the OBJ text of a planned conversion with the given face-id counts.
// Done when every block was there; otherwise the tag found where the colours
// or faces block is missing (the text written so far stays in `out`), or
// kTevObjOutOfRange.
TevObjStep writeObjText(std::span<const uint8_t> tev, const ObjPlan& plan, std::span<const uint32_t> faceIDs,
                        TextStage& out);

// The comment block for the colour entries of a Tev file whose first block is
// a colours block (count at bytes 40..43, entries from byte 48).
float colourBlockOfTev(std::span<const uint8_t> tev, TextStage& out);
// The entry count that block's 16-byte header gives, when the entries lie in a
// file of `fileSize` bytes.
std::optional<size_t> colourEntryCount(const uint8_t* header, uint64_t fileSize) noexcept;

}  // namespace ostrel::mesh
