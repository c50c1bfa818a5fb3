#include "mesh/tev_to_obj_internal.hpp"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <vector>

#include "core/byte_cursor.hpp"
#include "core/large_buffer.hpp"
#include "core/number_text.hpp"
#include "core/parallel.hpp"
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

// The header lines with the first vertex, then the vertex lines
// [first, first + count).
void writeVertices(std::span<const uint8_t> tev, const ObjPlan& plan, size_t first, size_t count, TextStage& out) {
    if (first == 0) {
        appendLine(out, "# File exported by Kelmor plugin");
        appendCounted(out, "#Vertex count ", int64_t(plan.vertexCount));
        appendCounted(out, "#Face count ", plan.headerFaceCount);
    }
    const uint8_t* xyz = tev.data() + kPointsPayloadAt + first * kPointBytes;
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

// Entries [first, first + count) of the comment block for `total` entries,
// taken from `entries`, where entry `first` stands (already checked to lie
// in the file): the introduction comes with the first entry, the closing
// lines with the last. Line breaks depend only on an entry's place in the
// whole block, so the block can be cut anywhere.
void writeColours(const uint8_t* entries, size_t first, size_t count, size_t total, TextStage& out) {
    if (first == 0) appendLine(out, kRgbIntro);
    for (size_t k = first; k < first + count; ++k, entries += kColourBytes) {
        char* p = out.reserve(kLongestLine);
        if (k % kColoursPerLine == 0) p = std::copy_n("#RGB ", 5, p);
        p = putColour(p, entries);
        if ((k + 1) % kColoursPerLine == 0) p = std::copy(kLineEnd.begin(), kLineEnd.end(), p);
        out.advance(p);
    }
    if (first + count == total) {
        out.append(kLineEnd);
        appendLine(out, "# End of RGB block");
    }
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

// Where the face text stands: the face-id entry, how many of its faces are
// written, and the next face record.
struct FacePosition {
    size_t group = 0;
    uint32_t inGroup = 0;
    size_t record = 0;
};

bool facesDone(const FacePosition& at, std::span<const uint32_t> faceIDs, size_t recordCount) noexcept {
    return at.group >= faceIDs.size() || at.record >= recordCount;
}

// The face text is one "#FaceID" group per face-id entry, while face records
// remain. Walks it from `at` until `limit` faces are passed, calling
// header(groupNumber) and faces(firstRecord, count), and returns where it
// stopped. A walk cut after any number of faces and resumed where it stopped
// passes the same lines as one uncut walk: a group's line is passed just
// before the group's first face (or alone, for an empty group), never at the
// end of a walk, so a cut neither repeats nor drops it.
template <class Header, class Faces>
FacePosition walkFaceGroups(FacePosition at, size_t limit, std::span<const uint32_t> faceIDs, size_t recordCount,
                            Header&& header, Faces&& faces) {
    size_t passed = 0;
    while (!facesDone(at, faceIDs, recordCount) && passed < limit) {
        const uint32_t facesInGroup = faceIDs[at.group];
        if (at.inGroup == 0) header(int64_t(at.group) + 1);
        const size_t take = std::min({size_t(facesInGroup - at.inGroup), recordCount - at.record, limit - passed});
        faces(at.record, take);
        at.record += take;
        at.inGroup += uint32_t(take);
        passed += take;
        if (at.inGroup == facesInGroup) {
            ++at.group;
            at.inGroup = 0;
        }
    }
    return at;
}

// A piece of the OBJ text that can be formatted on its own: its text depends
// only on the piece, so pieces formatted anywhere and joined in order give
// the text of one uncut pass.
struct ObjPiece {
    enum class Section : uint8_t { Vertices, Colours, Faces } section;
    size_t first = 0;   // the first vertex or colour entry
    size_t count = 0;   // vertices, colour entries, or faces at most
    FacePosition faces; // where a faces piece starts
};

// Items per piece when a second thread shares the formatting: about 1.3 MB
// of text each for common numbers, enough for the file to take a piece in
// one write without copying it, and little enough that the pieces in flight
// stay small beside the mesh.
constexpr size_t kVerticesPerPiece = size_t(48) << 10;
constexpr size_t kColoursPerPiece = size_t(192) << 10;
constexpr size_t kFacesPerPiece = size_t(40) << 10;
// The room a piece buffer starts with; one with longer lines grows.
constexpr size_t kPieceBytes = size_t(2) << 20;

// What the pieces are cut from, all checked to lie in the file.
struct ObjSource {
    std::span<const uint8_t> tev;
    const ObjPlan& plan;
    std::span<const uint32_t> faceIDs;
    const uint8_t* colours = nullptr;
    size_t colourCount = 0;
    const uint8_t* records = nullptr;
    size_t recordCount = 0;

    void format(const ObjPiece& piece, TextStage& out) const {
        switch (piece.section) {
            case ObjPiece::Section::Vertices:
                writeVertices(tev, plan, piece.first, piece.count, out);
                break;
            case ObjPiece::Section::Colours:
                writeColours(colours + piece.first * kColourBytes, piece.first, piece.count, colourCount, out);
                break;
            case ObjPiece::Section::Faces:
                walkFaceGroups(
                    piece.faces, piece.count, faceIDs, recordCount,
                    [&](int64_t group) { appendCounted(out, "#FaceID ", group); },
                    [&](size_t first, size_t count) {
                        for (size_t i = first; i < first + count; ++i)
                            out.advance(putFace(out.reserve(kLongestLine), records + i * kFaceBytes));
                    });
                break;
        }
    }
};

// Cuts [0, total) into pieces of `per` items; at least one piece, so the
// section's opening and closing lines come also when it is empty.
void cutRange(ObjPiece::Section section, size_t total, size_t per, std::vector<ObjPiece>& pieces) {
    size_t first = 0;
    do {
        const size_t count = std::min(per, total - first);
        pieces.push_back({section, first, count, {}});
        first += count;
    } while (first < total);
}

// Pieces of `per` faces; the walk of the last one reaches the end, lines of
// empty groups after its faces included.
void cutFaces(const ObjSource& source, size_t per, std::vector<ObjPiece>& pieces) {
    FacePosition at;
    do {
        pieces.push_back({ObjPiece::Section::Faces, 0, per, at});
        at = walkFaceGroups(at, per, source.faceIDs, source.recordCount, [](int64_t) {}, [](size_t, size_t) {});
    } while (!facesDone(at, source.faceIDs, source.recordCount));
}

// Formats the pieces and hands them to `out` in order. With a second thread,
// both threads take the next unformatted piece into one of a few reused
// buffers, and this thread also writes the finished pieces in order, so
// formatting overlaps writing and the text held stays a few pieces whatever
// the mesh size. Without one, or for a few pieces, they go straight into `out`.
class PieceRunner {
public:
    PieceRunner(const ObjSource& source, std::span<const ObjPiece> pieces, TextStage& out)
        : source_(source), pieces_(pieces), out_(out) {}

    void run() {
        if (pieces_.size() <= 3) {
            for (const ObjPiece& piece : pieces_) source_.format(piece, out_);
            return;
        }
        for (Slot& slot : slots_) slot.text.reserve(kPieceBytes);
        // Without a thread, the first runs every piece and the second finds none left.
        runSideBySide([this] { stopOnFailure([this] { formatAndWrite(); }); },
                      [this] { stopOnFailure([this] { formatAhead(); }); });
    }

private:
    static constexpr size_t kSlots = 4;
    struct Slot {
        TextStage text;
        bool ready = false;
    };

    // A failure on either thread stops the other, which then returns; the
    // failure itself comes out of runSideBySide.
    template <class Work>
    void stopOnFailure(Work&& work) {
        try {
            work();
        } catch (...) {
            {
                std::lock_guard lock(mutex_);
                stopped_ = true;
            }
            changed_.notify_all();
            throw;
        }
    }

    // A piece may be taken once the previous piece in its buffer is written.
    bool canTake() const noexcept { return taken_ < pieces_.size() && taken_ < written_ + kSlots; }

    void formatOne(std::unique_lock<std::mutex>& lock) {
        const size_t index = taken_++;
        Slot& slot = slots_[index % kSlots];
        lock.unlock();
        source_.format(pieces_[index], slot.text);
        lock.lock();
        slot.ready = true;
        changed_.notify_all();
    }

    // Writes the next piece as soon as it is ready, and formats one meanwhile.
    void formatAndWrite() {
        std::unique_lock lock(mutex_);
        while (written_ < pieces_.size() && !stopped_) {
            Slot& slot = slots_[written_ % kSlots];
            if (slot.ready) {
                lock.unlock();
                out_.appendPiece(slot.text.held());
                slot.text.clear();
                lock.lock();
                slot.ready = false;
                ++written_;
                changed_.notify_all();
            } else if (canTake()) {
                formatOne(lock);
            } else {
                changed_.wait(lock);
            }
        }
    }

    void formatAhead() {
        std::unique_lock lock(mutex_);
        while (taken_ < pieces_.size() && !stopped_) {
            if (canTake())
                formatOne(lock);
            else
                changed_.wait(lock);
        }
    }

    const ObjSource& source_;
    std::span<const ObjPiece> pieces_;
    TextStage& out_;
    Slot slots_[kSlots];
    std::mutex mutex_;
    std::condition_variable changed_;
    size_t taken_ = 0, written_ = 0;
    bool stopped_ = false;
};

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

// Text kept in memory starts small and grows as needed; the stage of a file
// is made at its first use, so a stage that only passes pieces on never
// holds one.
TextStage::TextStage(OutputFile* out) : out_(out) {}

void TextStage::append(std::string_view text) {
    char* p = reserve(text.size());
    advance(std::copy(text.begin(), text.end(), p));
}

void TextStage::makeRoom(size_t n) {
    if (out_) {
        flush();
        if (buffer_.size() >= n) return;
    }
    buffer_.resize(std::max({buffer_.size() * 2, used_ + n, out_ ? kStageBytes : kLongestLine * 64}));
}

void TextStage::appendPiece(std::string_view text) {
    if (!out_) return append(text);
    flush();
    out_->write(text);
}

void TextStage::flush() {
    if (!out_ || used_ == 0) return;
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

namespace {

// Checks the colours and faces blocks and cuts their text into pieces after
// the vertex pieces, as far as the blocks are there.
TevObjStep cutColoursAndFaces(ObjSource& source, bool shared, std::vector<ObjPiece>& pieces) {
    const std::span<const uint8_t> tev = source.tev;
    TevBlock colours;
    const uint64_t coloursAt = kPointsPayloadAt + source.plan.vertexCount * kPointBytes;
    if (const TevObjStep step = expectBlock(tev, coloursAt, kTagColours, colours); !step.done) return step;
    const ByteCursor bytes(tev);
    const uint64_t entriesAt = colours.payloadOffset();
    const auto entries = colours.count < 0 ? std::nullopt : bytes.view(entriesAt, uint64_t(colours.count) * kColourBytes);
    if (!entries) return kStepOutOfRange;
    source.colours = entries->data();
    source.colourCount = size_t(colours.count);
    cutRange(ObjPiece::Section::Colours, source.colourCount, shared ? kColoursPerPiece : SIZE_MAX, pieces);

    TevBlock faces;
    const uint64_t facesAt = entriesAt + uint64_t(colours.count) * kColourBytes;
    if (const TevObjStep step = expectBlock(tev, facesAt, kTagFaces, faces); !step.done) return step;
    const auto facesBlock = faces.size < int32_t(kBlockHeaderSize) ? std::nullopt : bytes.view(faces.offset, uint64_t(faces.size));
    if (!facesBlock) return kStepOutOfRange;
    source.records = facesBlock->data() + kBlockHeaderSize;
    source.recordCount = (size_t(faces.size) - kBlockHeaderSize) / kFaceBytes;
    cutFaces(source, shared ? kFacesPerPiece : SIZE_MAX, pieces);
    return kStepDone;
}

}  // namespace

TevObjStep writeObjText(std::span<const uint8_t> tev, const ObjPlan& plan, std::span<const uint32_t> faceIDs,
                        TextStage& out) {
    // Without a second thread the text is one piece per section, written in
    // one pass; with one, the same text in pieces.
    const bool shared = secondThreadAllowed();
    ObjSource source{tev, plan, faceIDs};
    std::vector<ObjPiece> pieces;
    cutRange(ObjPiece::Section::Vertices, plan.vertexCount, shared ? kVerticesPerPiece : SIZE_MAX, pieces);
    const TevObjStep step = cutColoursAndFaces(source, shared, pieces);
    PieceRunner(source, pieces, out).run();
    return step;
}

std::optional<size_t> colourEntryCount(const uint8_t* header, uint64_t fileSize) noexcept {
    const int32_t count = readSignInt(header + 8);
    if (count < 0 || !rangeFits(kPointsPayloadAt, uint64_t(count) * kColourBytes, fileSize)) return std::nullopt;
    return size_t(count);
}

float colourBlockOfTev(std::span<const uint8_t> tev, TextStage& out) {
    // The block at offset 32 is taken as a colours block whatever its tag.
    const auto header = ByteCursor(tev).view(kPointsAt, kBlockHeaderSize);
    const auto count = header ? colourEntryCount(header->data(), tev.size()) : std::nullopt;
    if (!count) return kTevObjOutOfRange;
    writeColours(tev.data() + kPointsPayloadAt, 0, *count, *count, out);
    return 0;
}

float writeOBJfromTev(const char* tevPath, const char* objPath) {
    MeshState& state = meshState();
    if (state.faceID.empty()) return kTevObjNoFaceIds;
    const auto tev = readWholeLargeFile(tevPath);
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
    // The entries are read a slice at a time: memory holds neither the file
    // nor the block.
    File tev = File::openInput(inputPath);
    const auto size = tev.isOpen() ? tev.size() : std::nullopt;
    if (!size) return kMeshOrBitmapCannotOpen;
    if (sameExistingFile(inputPath, outputPath)) return kTevObjCannotWrite;
    OutputFile file;
    if (!file.open(outputPath)) return kTevObjCannotWrite;
    // The block at offset 32 is taken as a colours block whatever its tag;
    // a file too short for its header or its entries leaves the old output.
    uint8_t blockHeader[kBlockHeaderSize];
    const FirstBlockHeader header = readFirstBlockHeader(tev, *size, blockHeader);
    if (header == FirstBlockHeader::ReadFailed) return kMeshOrBitmapCannotOpen;
    const auto count = header == FirstBlockHeader::Read ? colourEntryCount(blockHeader, *size) : std::nullopt;
    if (!count) return kTevObjOutOfRange;
    TextStage out(&file);
    // A block without entries still gets its comment lines.
    if (*count == 0) writeColours(nullptr, 0, 0, 0, out);
    const bool read = readItemsInSlices(tev, *count, kColourBytes, [&](const uint8_t* entries, size_t first, size_t n) {
        writeColours(entries, first, n, *count, out);
    });
    if (!read) return kMeshOrBitmapCannotOpen;
    out.flush();
    return file.commit() ? 0.0f : kTevObjCannotWrite;
}

}  // namespace ostrel::mesh
