#pragma once
// Bounds-checked reading over bytes already in memory. Every binary reader of
// the library goes through this cursor: a read either has all its bytes in the
// buffer or fails without touching anything, so no reader can step outside the
// loaded file whatever its header fields claim. Readers with hot loops take
// a checked view of a whole region once (view()) and decode inside it with the
// load helpers, which read exactly the bytes they are given.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <span>

namespace ostrel {

// Little- and big-endian decoders over exactly four (or two) bytes. They take
// each byte as 0..255 whatever the signedness of char.
inline uint32_t loadU32le(const uint8_t* p) noexcept {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
inline int32_t loadI32le(const uint8_t* p) noexcept { return static_cast<int32_t>(loadU32le(p)); }
inline uint16_t loadU16le(const uint8_t* p) noexcept { return uint16_t(p[0] | p[1] << 8); }
inline float loadF32le(const uint8_t* p) noexcept {
    uint32_t bits = loadU32le(p);
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
}
inline uint32_t loadU32be(const uint8_t* p) noexcept {
    return uint32_t(p[3]) | uint32_t(p[2]) << 8 | uint32_t(p[1]) << 16 | uint32_t(p[0]) << 24;
}
inline uint16_t loadU16be(const uint8_t* p) noexcept { return uint16_t(p[0] << 8 | p[1]); }

inline void storeU32le(uint8_t* p, uint32_t v) noexcept {
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
    p[2] = uint8_t(v >> 16);
    p[3] = uint8_t(v >> 24);
}
inline void storeU16le(uint8_t* p, uint16_t v) noexcept {
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
}
inline void storeF32le(uint8_t* p, float f) noexcept {
    uint32_t bits;
    std::memcpy(&bits, &f, sizeof bits);
    storeU32le(p, bits);
}
inline void storeU32be(uint8_t* p, uint32_t v) noexcept {
    p[0] = uint8_t(v >> 24);
    p[1] = uint8_t(v >> 16);
    p[2] = uint8_t(v >> 8);
    p[3] = uint8_t(v);
}
inline void storeU16be(uint8_t* p, uint16_t v) noexcept {
    p[0] = uint8_t(v >> 8);
    p[1] = uint8_t(v);
}

// True when [offset, offset + length) lies inside a buffer of `size` bytes,
// computed without overflow.
constexpr bool rangeFits(uint64_t offset, uint64_t length, uint64_t size) noexcept {
    return offset <= size && length <= size - offset;
}

class ByteCursor {
public:
    explicit ByteCursor(std::span<const uint8_t> bytes, size_t position = 0) noexcept
        : bytes_(bytes), pos_(position <= bytes.size() ? position : bytes.size()) {}

    size_t position() const noexcept { return pos_; }
    size_t remaining() const noexcept { return bytes_.size() - pos_; }
    std::span<const uint8_t> whole() const noexcept { return bytes_; }

    // Moves to an absolute offset; fails (and stays) when the offset is past the end.
    bool seek(size_t offset) noexcept {
        if (offset > bytes_.size()) return false;
        pos_ = offset;
        return true;
    }
    bool skip(size_t n) noexcept {
        if (remaining() < n) return false;
        pos_ += n;
        return true;
    }

    // The `length` bytes at `offset`, when all of them are in the buffer; the
    // position does not move.
    std::optional<std::span<const uint8_t>> view(uint64_t offset, uint64_t length) const noexcept {
        if (!rangeFits(offset, length, bytes_.size())) return std::nullopt;
        return bytes_.subspan(size_t(offset), size_t(length));
    }

    std::optional<std::span<const uint8_t>> readBytes(size_t n) noexcept {
        if (remaining() < n) return std::nullopt;
        auto out = bytes_.subspan(pos_, n);
        pos_ += n;
        return out;
    }
    std::optional<uint8_t> readU8() noexcept {
        if (remaining() < 1) return std::nullopt;
        return bytes_[pos_++];
    }
    std::optional<uint16_t> readU16le() noexcept { return read<uint16_t, 2>(loadU16le); }
    std::optional<uint16_t> readU16be() noexcept { return read<uint16_t, 2>(loadU16be); }
    std::optional<uint32_t> readU32le() noexcept { return read<uint32_t, 4>(loadU32le); }
    std::optional<uint32_t> readU32be() noexcept { return read<uint32_t, 4>(loadU32be); }
    std::optional<int32_t> readI32le() noexcept { return read<int32_t, 4>(loadI32le); }
    std::optional<float> readF32le() noexcept { return read<float, 4>(loadF32le); }

private:
    template <class T, size_t N, class Load>
    std::optional<T> read(Load load) noexcept {
        if (remaining() < N) return std::nullopt;
        T v = load(bytes_.data() + pos_);
        pos_ += N;
        return v;
    }

    std::span<const uint8_t> bytes_;
    size_t pos_;
};

}  // namespace ostrel
