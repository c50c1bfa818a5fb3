#pragma once
// The Tev binary mesh layout, standalone points files, the byte readers and
// the block search every Tev reader shares.
//
// A Tev file is a 32-byte text header and a chain of blocks. Each block starts
// with tag, size (the whole block, header included), count and a reserved word,
// all little-endian 32-bit. A points file is one points block standing alone.

#include <algorithm>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "core/byte_cursor.hpp"
#include "core/file_io.hpp"

namespace ostrel::mesh {

inline constexpr std::string_view kTevHeader = "Tevb 1.0 Kelmor Tev Binary......";
inline constexpr size_t kTevHeaderSize = 32;
inline constexpr size_t kBlockHeaderSize = 16;

enum BlockTag : int32_t {
    kTagEnd = 0,
    kTagPoints = 10001,
    kTagFaces = 20001,
    kTagColours = 35001,
    kTagGroups = 40001,
};

inline constexpr size_t kPointBytes = 12;   // x, y, z floats
inline constexpr size_t kFaceBytes = 16;    // four signed corner indices
inline constexpr size_t kGroupBytes = 2;    // 16-bit group id
inline constexpr size_t kColourBytes = 4;   // blue, green, red, unused

// The host's byte readers: bytes in file order, each taken as 0..255.
// readUnInt is the little-endian 32-bit read in two's complement; readSignInt
// is the same function, under the name used where a value may be negative.
inline int32_t readUnInt(const uint8_t* b) noexcept { return loadI32le(b); }
inline constexpr auto& readSignInt = readUnInt;
inline int32_t readanInt(uint8_t b) noexcept { return b; }
inline float readaFloat(const uint8_t* b) noexcept { return loadF32le(b); }

// Where a searching reader may look at a block header at position p of a file
// of length n.
enum class SearchLimit {
    BeforeLast20,   // p < n - 20: appending, group-list containers, list splits
    HeaderInside,   // p + 16 <= n: swap and align
};

struct TevBlock {
    size_t offset = 0;   // of the block header
    int32_t tag = 0;
    int32_t size = 0;    // as stored: 0 means a 16-byte step
    int32_t count = 0;
    size_t end() const noexcept { return offset + (size == 0 ? kBlockHeaderSize : size_t(size)); }
    size_t payloadOffset() const noexcept { return offset + kBlockHeaderSize; }
};

inline bool withinSearchLimit(size_t p, size_t n, SearchLimit limit) noexcept {
    if (limit == SearchLimit::BeforeLast20) return n > 20 && p < n - 20;
    return rangeFits(p, kBlockHeaderSize, n);
}

// Walks the chain of a file of `n` bytes from `from` to the first block with
// `tag`, taking each header from headerAt(p): its 16 bytes, or nullptr when
// they cannot be had. A size of 0 steps 16 bytes; a size that is negative or
// between 1 and 15 ends the walk without a result, and so does a block that
// runs past the end of the file (its end is not computed, so it cannot wrap
// round a 32-bit size_t to an earlier block): every walk ends and never moves
// backwards. Both limits keep a whole 16-byte header inside the file:
// p < n - 20 implies p + 16 <= n.
template <class HeaderAt>
std::optional<TevBlock> walkToBlock(size_t n, size_t from, int32_t tag, SearchLimit limit, HeaderAt&& headerAt) {
    size_t p = from;
    while (withinSearchLimit(p, n, limit)) {
        const uint8_t* header = headerAt(p);
        if (!header) return std::nullopt;
        TevBlock block{p, readUnInt(header), readUnInt(header + 4), readUnInt(header + 8)};
        if (block.tag == tag) return block;
        if (block.size != 0 && block.size < int32_t(kBlockHeaderSize)) return std::nullopt;
        if (block.size != 0 && size_t(block.size) > n - p) return std::nullopt;
        p = block.end();
    }
    return std::nullopt;
}

// walkToBlock over bytes in memory.
std::optional<TevBlock> findBlock(std::span<const uint8_t> file, size_t from, int32_t tag, SearchLimit limit) noexcept;

// walkToBlock over an open file of `size` bytes. The headers come from a
// window of the file, so a walk over many small blocks takes few reads, and
// memory holds that window, not the file. `readFailed` tells a read that
// failed from a block that is not there.
std::optional<TevBlock> findBlockInFile(File& in, uint64_t size, size_t from, int32_t tag, SearchLimit limit,
                                        bool& readFailed);

// Reads the 16-byte header of the block at byte 32 of an open file of `size`
// bytes, leaving the file at its payload. TooShort when the file ends before
// the header does.
enum class FirstBlockHeader { Read, TooShort, ReadFailed };
FirstBlockHeader readFirstBlockHeader(File& in, uint64_t size, uint8_t header[kBlockHeaderSize]);

// Reads `items` items of `itemBytes` each from the current position of `in`,
// about 1 MiB at a time into one buffer, and hands each slice to
// take(bytes, firstItem, count). False when a read fails (the file got
// shorter, say); the slices before it were handed over.
template <class Take>
bool readItemsInSlices(File& in, uint64_t items, size_t itemBytes, Take&& take) {
    const size_t sliceItems = std::max<size_t>(1, (size_t(1) << 20) / itemBytes);
    std::vector<uint8_t> slice(size_t(std::min<uint64_t>(items, sliceItems)) * itemBytes);
    for (uint64_t first = 0; first < items;) {
        const size_t count = size_t(std::min<uint64_t>(items - first, sliceItems));
        if (!in.readExact(slice.data(), count * itemBytes)) return false;
        take(static_cast<const uint8_t*>(slice.data()), size_t(first), count);
        first += count;
    }
    return true;
}

// The payload of a found block when it really holds `count` items of
// `itemBytes` each inside both the block and the file; nothing otherwise.
// A block may carry more bytes than its items need.
std::optional<std::span<const uint8_t>> blockItems(std::span<const uint8_t> file, const TevBlock& block,
                                                   size_t itemBytes) noexcept;
// The same checks in a file of `fileSize` bytes: the payload's length in bytes.
std::optional<size_t> blockItemsLength(uint64_t fileSize, const TevBlock& block, size_t itemBytes) noexcept;

// Writes a block header: the tag, the size of the whole block (these 16 bytes
// and `payloadBytes`), the item count and a zero reserved word. The caller
// checks that the size fits its 32-bit field.
void writeBlockHeader(OutputFile& out, int32_t tag, size_t payloadBytes, size_t count);

// Header fields of a standalone points file.
struct PointsHeader {
    int32_t tag = 0;
    int32_t size = 0;
    int32_t count = 0;
};
std::optional<PointsHeader> readPointsHeader(std::span<const uint8_t> file) noexcept;

// A points file for `points` (three floats per vertex), in memory.
// False, with nothing written, when the block would be too long for its
// 32-bit size field.
bool encodePointsBlockHeader(uint8_t out[kBlockHeaderSize], uint64_t vertexCount) noexcept;

}  // namespace ostrel::mesh
