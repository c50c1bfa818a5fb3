#pragma once
// Tev to OBJ text: vertex lines, the vertex colours as a block of comment
// lines, and the faces grouped under "#FaceID" comments by the face-id list
// that getFaceIDs built. Also the colour block alone (outMRGB).
//
// The converting reader does not search for blocks: the points block stands
// at offset 32, the colours block right after the points payload and the
// faces block right after the colour entries. Every count and size is checked
// against the file before a byte it points at is read.

#include <cstdint>
#include <span>
#include <string>

#include "core/file_io.hpp"
#include "core/result_codes.hpp"

namespace ostrel::mesh {

// Codes of the conversions, besides kMeshOrBitmapCannotOpen (the input cannot be read).
inline constexpr float kTevObjNoFaceIds = -18.0f;     // getFaceIDs has not run since the last conversion
inline constexpr float kTevObjCannotWrite = -2.0f;    // the output cannot be created or written
inline constexpr float kTevObjOutOfRange = -20.0f;    // a count or size points outside the file

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

// The workers behind tevtoOBJ and outMRGB.
float writeOBJfromTev(const char* tevPath, const char* objPath);
float ReadVertColorTev(const char* inputPath, const char* outputPath);

}  // namespace ostrel::mesh
