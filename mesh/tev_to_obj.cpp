#include "mesh/tev_to_obj.hpp"

#include <algorithm>
#include <cmath>
#include <cstring>

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
            p = formatFloatG6(p, readaFloat(xyz + 4 * axis));
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

// Powers of ten for scaling any float to six integer digits: up to 1e50 for
// the smallest subnormal, down to 1e-33 (as a division) for the largest float.
constexpr double kPow10[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22, 1e23, 1e24, 1e25, 1e26, 1e27, 1e28, 1e29, 1e30, 1e31, 1e32, 1e33, 1e34, 1e35, 1e36, 1e37, 1e38, 1e39, 1e40, 1e41, 1e42, 1e43, 1e44, 1e45, 1e46, 1e47, 1e48, 1e49, 1e50, 1e51};
constexpr uint64_t kSixDigitsLow = 100000, kSixDigitsHigh = 1000000;
constexpr int kPow10Count = int(sizeof kPow10 / sizeof kPow10[0]);

double scaledBy10(double magnitude, int k) noexcept {
    return k >= 0 ? magnitude * kPow10[k] : magnitude / kPow10[-k];
}

// Trailing zeros of the fraction are dropped, and the point with them.
char* putDigitsG(char* out, const char* digits, int integerDigits, int fractionDigits) noexcept {
    for (int i = 0; i < integerDigits; ++i) *out++ = digits[i];
    while (fractionDigits > 0 && digits[integerDigits + fractionDigits - 1] == '0') --fractionDigits;
    if (fractionDigits == 0) return out;
    *out++ = '.';
    for (int i = 0; i < fractionDigits; ++i) *out++ = digits[integerDigits + i];
    return out;
}

char* putExponentForm(char* out, const char* digits, int exponent) noexcept {
    out = putDigitsG(out, digits, 1, 5);
    *out++ = 'e';
    *out++ = exponent < 0 ? '-' : '+';
    const int shown = exponent < 0 ? -exponent : exponent;   // at most 45: two digits
    *out++ = char('0' + shown / 10);
    *out++ = char('0' + shown % 10);
    return out;
}

// 0.000ddd: the digits after -exponent - 1 zeros, trailing zeros dropped.
char* putSmallFixedForm(char* out, const char* digits, int exponent) noexcept {
    *out++ = '0';
    *out++ = '.';
    for (int i = 0; i < -exponent - 1; ++i) *out++ = '0';
    int shown = 6;
    while (digits[shown - 1] == '0') --shown;
    for (int i = 0; i < shown; ++i) *out++ = digits[i];
    return out;
}

}  // namespace

// A float is exact as a double, and scaling it by a power of ten in double
// precision errs by less than 3e-10 at six integer digits. So the rounded
// digits are certain unless the fraction lies within 1e-7 of one half; those
// rare values (exact ties among them) go to the exact general formatter.
char* formatFloatG6(char* out, float value) noexcept {
    const double magnitude = value < 0 ? -double(value) : double(value);
    if (!(magnitude > 0) || magnitude > 3.5e38) return formatG6(out, value);   // zeros, infinities, NaN
    uint64_t bits;
    std::memcpy(&bits, &magnitude, sizeof bits);
    const int binaryExponent = int(bits >> 52) - 1023;
    // floor(log10(2^binaryExponent)): the decimal exponent or one below it.
    int exponent = (binaryExponent * 78913) >> 18;
    if (5 - exponent >= kPow10Count) return formatG6(out, value);
    double scaled = scaledBy10(magnitude, 5 - exponent);
    if (scaled >= 1e6) scaled = scaledBy10(magnitude, 5 - ++exponent);
    const double whole = std::floor(scaled);
    const double fraction = scaled - whole;
    if (std::fabs(fraction - 0.5) < 1e-7) return formatG6(out, value);
    uint64_t digits = uint64_t(whole) + (fraction > 0.5 ? 1 : 0);
    if (digits == kSixDigitsHigh) {
        digits = kSixDigitsLow;
        ++exponent;
    }
    if (digits < kSixDigitsLow || digits >= kSixDigitsHigh) return formatG6(out, value);

    char text[6];
    for (int i = 5; i >= 0; --i, digits /= 10) text[i] = char('0' + digits % 10);
    if (value < 0) *out++ = '-';
    if (exponent >= 6 || exponent < -4) return putExponentForm(out, text, exponent);
    if (exponent >= 0) return putDigitsG(out, text, exponent + 1, 5 - exponent);
    return putSmallFixedForm(out, text, exponent);
}

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
