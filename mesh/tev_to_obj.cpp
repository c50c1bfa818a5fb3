#include "mesh/tev_to_obj_internal.hpp"

#include <algorithm>

#include "core/byte_cursor.hpp"
#include "core/number_text.hpp"
#include "core/text_out.hpp"
#include "mesh/mesh_state.hpp"
#include "mesh/tev_format.hpp"

namespace ostrel::mesh {
namespace {

// Larger than the output file's own buffer, so every full stage goes to the
// file in one write without a second copy.
constexpr size_t kStageBytes = size_t(4) << 20;
// Longest line any step writes at once: "v " and three numbers, or "f " and
// four indices, with spaces and a line end.
constexpr size_t kLongestLine = 4 * (kNumberTextMax + 1) + 8;
constexpr size_t kColoursPerLine = 32;
constexpr size_t kPointsAt = kTevHeaderSize;                      // 32
constexpr size_t kPointsPayloadAt = kPointsAt + kBlockHeaderSize;  // 48

constexpr std::string_view kRgbIntro =
    "# The following RGB block contains Kelmor Vertex Color (Pigmesh) output as 3 hexadecimal values per vertex. "
    "The vertex color format is RRGGBB with up to 32 entries per RGB line.";

constexpr TevObjStep kStepDone{true, 0.0f};
constexpr TevObjStep kStepOutOfRange{false, kTevObjOutOfRange};

// The tag as the host sees a missing block: its unsigned value as a float.
TevObjStep tagFound(int32_t tag) noexcept { return {false, float(uint32_t(tag))}; }

// The 16-byte header of the block at `at`, when all of it is in the file.
std::optional<TevBlock> blockHeaderAt(std::span<const uint8_t> tev, uint64_t at) noexcept {
    const auto header = ByteCursor(tev).view(at, kBlockHeaderSize);
    if (!header) return std::nullopt;
    const uint8_t* p = header->data();
    return TevBlock{size_t(at), readUnInt(p), readSignInt(p + 4), readSignInt(p + 8)};
}

// The count of the third block, found by stepping over the first two by their
// size fields, as the header line reports it.
std::optional<int32_t> headerFaceCount(std::span<const uint8_t> tev, const TevBlock& points) noexcept {
    const int64_t second = int64_t(kPointsAt) + points.size;
    if (second < 0) return std::nullopt;
    const auto secondBlock = blockHeaderAt(tev, uint64_t(second));
    if (!secondBlock) return std::nullopt;
    const int64_t third = second + secondBlock->size;
    if (third < 0) return std::nullopt;
    const auto thirdBlock = blockHeaderAt(tev, uint64_t(third));
    if (!thirdBlock) return std::nullopt;
    return thirdBlock->count;
}

void appendLine(TextStage& out, std::string_view text) {
    out.append(text);
    out.append(kLineEnd);
}

void appendCounted(TextStage& out, std::string_view label, int64_t value) {
    char* p = out.reserve(label.size() + kNumberTextMax + kLineEnd.size());
    p = std::copy(label.begin(), label.end(), p);
    p = formatInt(p, value);
    out.advance(std::copy(kLineEnd.begin(), kLineEnd.end(), p));
}

void writeVertices(std::span<const uint8_t> tev, size_t count, TextStage& out) {
    const uint8_t* xyz = tev.data() + kPointsPayloadAt;
    for (size_t i = 0; i < count; ++i, xyz += kPointBytes) {
        char* p = out.reserve(kLongestLine);
        *p++ = 'v';
        for (size_t axis = 0; axis < 3; ++axis) {
            *p++ = ' ';
            p = formatG6(p, readaFloat(xyz + 4 * axis));
        }
        out.advance(std::copy(kLineEnd.begin(), kLineEnd.end(), p));
    }
}

// " rrggbb" for one entry stored blue, green, red, unused.
char* putColour(char* p, const uint8_t* entry) noexcept {
    static constexpr char kHex[] = "0123456789abcdef";
    *p++ = ' ';
    for (int channel = 2; channel >= 0; --channel) {
        *p++ = kHex[entry[channel] >> 4];
        *p++ = kHex[entry[channel] & 15];
    }
    return p;
}

// The comment block for `count` entries at `entries` (already checked to lie
// in the file).
void writeColourBlock(const uint8_t* entries, size_t count, TextStage& out) {
    appendLine(out, kRgbIntro);
    for (size_t k = 0; k < count; ++k, entries += kColourBytes) {
        char* p = out.reserve(kLongestLine);
        if (k % kColoursPerLine == 0) p = std::copy_n("#RGB ", 5, p);
        p = putColour(p, entries);
        if ((k + 1) % kColoursPerLine == 0) p = std::copy(kLineEnd.begin(), kLineEnd.end(), p);
        out.advance(p);
    }
    out.append(kLineEnd);
    appendLine(out, "# End of RGB block");
}

// "f a b c " and, for a quad, "d": corners written one-based.
char* putFace(char* p, const uint8_t* record) noexcept {
    *p++ = 'f';
    *p++ = ' ';
    for (size_t corner = 0; corner < 3; ++corner) {
        p = formatInt(p, int64_t(readSignInt(record + 4 * corner)) + 1);
        *p++ = ' ';
    }
    const int64_t fourth = int64_t(readSignInt(record + 12)) + 1;
    if (fourth > 0) p = formatInt(p, fourth);
    return std::copy(kLineEnd.begin(), kLineEnd.end(), p);
}

// One "#FaceID" group per face-id entry, while face records remain.
void writeFaceGroups(const uint8_t* records, size_t recordCount, std::span<const uint32_t> faceIDs,
                     TextStage& out) {
    size_t next = 0;
    int64_t group = 1;
    for (uint32_t facesInGroup : faceIDs) {
        if (next >= recordCount) break;
        appendCounted(out, "#FaceID ", group++);
        for (uint32_t i = 0; i < facesInGroup && next < recordCount; ++i, ++next)
            out.advance(putFace(out.reserve(kLongestLine), records + next * kFaceBytes));
    }
}

// The colours or faces block expected at `at`: done with the block, the tag
// found when it is another block, or kTevObjOutOfRange.
TevObjStep expectBlock(std::span<const uint8_t> tev, uint64_t at, int32_t tag, TevBlock& block) noexcept {
    const auto found = blockHeaderAt(tev, at);
    if (!found) return kStepOutOfRange;
    if (found->tag != tag) return tagFound(found->tag);
    block = *found;
    return kStepDone;
}

}  // namespace

// Text kept in memory starts small and grows as needed.
TextStage::TextStage(OutputFile* out) : out_(out), buffer_(out ? kStageBytes : kLongestLine * 64, '\0') {}

void TextStage::append(std::string_view text) {
    char* p = reserve(text.size());
    advance(std::copy(text.begin(), text.end(), p));
}

void TextStage::makeRoom(size_t n) {
    if (out_) {
        flush();
        if (buffer_.size() >= n) return;
    }
    buffer_.resize(std::max(buffer_.size() * 2, used_ + n));
}

void TextStage::flush() {
    if (!out_) return;
    out_->write(buffer_.data(), used_);
    used_ = 0;
}

TevObjStep planTevToObj(std::span<const uint8_t> tev, ObjPlan& plan) {
    const ByteCursor bytes(tev);
    const auto tagField = bytes.view(kPointsAt, 4);
    if (!tagField) return kStepOutOfRange;
    const int32_t tag = readUnInt(tagField->data());
    if (tag != kTagPoints) return tagFound(tag);
    const auto points = blockHeaderAt(tev, kPointsAt);
    if (!points || points->count < 0 || !bytes.view(kPointsPayloadAt, uint64_t(points->count) * kPointBytes))
        return kStepOutOfRange;
    const auto faceCount = headerFaceCount(tev, *points);
    if (!faceCount) return kStepOutOfRange;
    plan.vertexCount = size_t(points->count);
    plan.headerFaceCount = *faceCount;
    return kStepDone;
}

TevObjStep writeObjText(std::span<const uint8_t> tev, const ObjPlan& plan, std::span<const uint32_t> faceIDs,
                        TextStage& out) {
    appendLine(out, "# File exported by Kelmor plugin");
    appendCounted(out, "#Vertex count ", int64_t(plan.vertexCount));
    appendCounted(out, "#Face count ", plan.headerFaceCount);
    writeVertices(tev, plan.vertexCount, out);

    TevBlock colours;
    const uint64_t coloursAt = kPointsPayloadAt + plan.vertexCount * kPointBytes;
    if (const TevObjStep step = expectBlock(tev, coloursAt, kTagColours, colours); !step.done) return step;
    const ByteCursor bytes(tev);
    const uint64_t entriesAt = colours.payloadOffset();
    const auto entries = colours.count < 0 ? std::nullopt : bytes.view(entriesAt, uint64_t(colours.count) * kColourBytes);
    if (!entries) return kStepOutOfRange;
    writeColourBlock(entries->data(), size_t(colours.count), out);

    TevBlock faces;
    const uint64_t facesAt = entriesAt + uint64_t(colours.count) * kColourBytes;
    if (const TevObjStep step = expectBlock(tev, facesAt, kTagFaces, faces); !step.done) return step;
    const auto facesBlock = faces.size < int32_t(kBlockHeaderSize) ? std::nullopt : bytes.view(faces.offset, uint64_t(faces.size));
    if (!facesBlock) return kStepOutOfRange;
    const size_t recordCount = (size_t(faces.size) - kBlockHeaderSize) / kFaceBytes;
    writeFaceGroups(facesBlock->data() + kBlockHeaderSize, recordCount, faceIDs, out);
    return kStepDone;
}

float colourBlockOfTev(std::span<const uint8_t> tev, TextStage& out) {
    // The block at offset 32 is taken as a colours block whatever its tag.
    const ByteCursor bytes(tev);
    const auto header = bytes.view(kPointsAt, kBlockHeaderSize);
    if (!header) return kTevObjOutOfRange;
    const int32_t count = readSignInt(header->data() + 8);
    const auto entries = count < 0 ? std::nullopt : bytes.view(kPointsPayloadAt, uint64_t(count) * kColourBytes);
    if (!entries) return kTevObjOutOfRange;
    writeColourBlock(entries->data(), size_t(count), out);
    return 0;
}

float writeOBJfromTev(const char* tevPath, const char* objPath) {
    MeshState& state = meshState();
    if (state.faceID.empty()) return kTevObjNoFaceIds;
    const auto tev = readWholeFile(tevPath);
    if (!tev) return kMeshOrBitmapCannotOpen;
    ObjPlan plan;
    if (const TevObjStep planned = planTevToObj(tev->bytes(), plan); !planned.done) return planned.result;
    // Writing the OBJ over its own Tev input would destroy the input.
    if (sameExistingFile(tevPath, objPath)) return kTevObjCannotWrite;

    OutputFile file;
    if (!file.open(objPath)) return kTevObjCannotWrite;
    TextStage out(&file);
    const TevObjStep written = writeObjText(tev->bytes(), plan, state.faceID.view(), out);
    // A damaged input leaves the old output as it was; a missing block keeps
    // the lines written before it, so the host sees how far the file went.
    if (written.result == kTevObjOutOfRange) return written.result;
    out.flush();
    if (!file.commit()) return kTevObjCannotWrite;
    // Only a finished conversion uses the face ids up.
    if (written.done) state.faceID.release();
    return written.result;
}

float ReadVertColorTev(const char* inputPath, const char* outputPath) {
    const auto tev = readWholeFile(inputPath);
    if (!tev) return kMeshOrBitmapCannotOpen;
    if (sameExistingFile(inputPath, outputPath)) return kTevObjCannotWrite;
    OutputFile file;
    if (!file.open(outputPath)) return kTevObjCannotWrite;
    TextStage out(&file);
    if (float r = colourBlockOfTev(tev->bytes(), out); r != 0) return r;   // the old output stays
    out.flush();
    return file.commit() ? 0.0f : kTevObjCannotWrite;
}

}  // namespace ostrel::mesh
