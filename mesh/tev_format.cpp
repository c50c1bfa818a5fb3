#include "mesh/tev_format.hpp"

#include <algorithm>
#include <cstdint>

namespace ostrel::mesh {

std::optional<TevBlock> findBlock(std::span<const uint8_t> file, size_t from, int32_t tag,
                                  SearchLimit limit) noexcept {
    const ByteCursor bytes(file);
    return walkToBlock(file.size(), from, tag, limit, [&](size_t p) -> const uint8_t* {
        const auto header = bytes.view(p, kBlockHeaderSize);
        return header ? header->data() : nullptr;
    });
}

std::optional<TevBlock> findBlockInFile(File& in, uint64_t size, size_t from, int32_t tag, SearchLimit limit,
                                        bool& readFailed) {
    readFailed = false;
    if (size > SIZE_MAX) {
        readFailed = true;
        return std::nullopt;
    }
    constexpr size_t kWindowBytes = size_t(64) << 10;
    ByteBuffer window(kWindowBytes);
    uint64_t windowAt = 0, windowLength = 0;
    return walkToBlock(size_t(size), from, tag, limit, [&](size_t p) -> const uint8_t* {
        if (p < windowAt || p - windowAt + kBlockHeaderSize > windowLength) {
            windowAt = p;
            windowLength = std::min<uint64_t>(kWindowBytes, size - p);
            if (!in.seek(p) || !in.readExact(window.data(), size_t(windowLength))) {
                readFailed = true;
                return nullptr;
            }
        }
        return window.data() + (p - windowAt);
    });
}

FirstBlockHeader readFirstBlockHeader(File& in, uint64_t size, uint8_t header[kBlockHeaderSize]) {
    if (size < kTevHeaderSize + kBlockHeaderSize) return FirstBlockHeader::TooShort;
    if (!in.seek(kTevHeaderSize) || !in.readExact(header, kBlockHeaderSize)) return FirstBlockHeader::ReadFailed;
    return FirstBlockHeader::Read;
}

std::optional<size_t> blockItemsLength(uint64_t fileSize, const TevBlock& block, size_t itemBytes) noexcept {
    if (block.count < 0) return std::nullopt;
    const uint64_t payload = uint64_t(block.count) * itemBytes;
    // A stored size of 0 makes a header-only block, which holds no items.
    const uint64_t room = block.size >= int32_t(kBlockHeaderSize) ? uint64_t(block.size) - kBlockHeaderSize : 0;
    if (payload > room) return std::nullopt;
    // The whole block, as its size field states it, must be in the file.
    if (!rangeFits(block.offset, block.size > 0 ? uint64_t(block.size) : kBlockHeaderSize, fileSize)) return std::nullopt;
    return size_t(payload);
}

std::optional<std::span<const uint8_t>> blockItems(std::span<const uint8_t> file, const TevBlock& block,
                                                   size_t itemBytes) noexcept {
    const auto length = blockItemsLength(file.size(), block, itemBytes);
    if (!length) return std::nullopt;
    return file.subspan(block.payloadOffset(), *length);
}

void writeBlockHeader(OutputFile& out, int32_t tag, size_t payloadBytes, size_t count) {
    out.putI32le(tag);
    out.putI32le(int32_t(payloadBytes + kBlockHeaderSize));
    out.putI32le(int32_t(count));
    out.putI32le(0);
}

std::optional<PointsHeader> readPointsHeader(std::span<const uint8_t> file) noexcept {
    const auto header = ByteCursor(file).view(0, kBlockHeaderSize);
    if (!header) return std::nullopt;
    return PointsHeader{readUnInt(header->data()), readUnInt(header->data() + 4), readUnInt(header->data() + 8)};
}

bool encodePointsBlockHeader(uint8_t out[kBlockHeaderSize], uint64_t vertexCount) noexcept {
    if (vertexCount > (uint64_t(INT32_MAX) - kBlockHeaderSize) / kPointBytes) return false;
    storeU32le(out, uint32_t(kTagPoints));
    storeU32le(out + 4, uint32_t(kBlockHeaderSize + uint64_t(vertexCount) * kPointBytes));
    storeU32le(out + 8, uint32_t(vertexCount));
    storeU32le(out + 12, 0);
    return true;
}

}  // namespace ostrel::mesh
