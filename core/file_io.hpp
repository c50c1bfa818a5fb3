#pragma once
// Whole-file input and buffered, all-or-nothing output.
//
// Readers load a file whole and parse it from memory; writers stream through a
// large buffer into a temporary file beside the target and rename it over the
// target only when every byte reached the disk. A failed operation therefore
// never destroys the user's existing file, and a write failure (disk full) is
// always seen by the caller of commit().

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace ostrel {

// Bytes of a whole file. The storage is not zero-filled first: a gigabyte mesh
// is read once, not written twice.
class ByteBuffer {
public:
    ByteBuffer() = default;
    explicit ByteBuffer(size_t size) : data_(size ? new uint8_t[size] : nullptr), size_(size) {}
    static ByteBuffer copyOf(std::span<const uint8_t> bytes) {
        ByteBuffer buffer(bytes.size());
        if (!bytes.empty()) std::copy(bytes.begin(), bytes.end(), buffer.data());
        return buffer;
    }

    uint8_t* data() noexcept { return data_.get(); }
    const uint8_t* data() const noexcept { return data_.get(); }
    size_t size() const noexcept { return size_; }
    std::span<uint8_t> bytes() noexcept { return {data_.get(), size_}; }
    std::span<const uint8_t> bytes() const noexcept { return {data_.get(), size_}; }

private:
    std::unique_ptr<uint8_t[]> data_;
    size_t size_ = 0;
};

// The whole file, or nothing when it cannot be opened or read completely.
std::optional<ByteBuffer> readWholeFile(const char* path);
// The same from a stream already open, read from its start.
std::optional<ByteBuffer> readWholeStream(std::FILE* file);

// 64-bit size of an open stream (seeks to the end and back to the start).
std::optional<uint64_t> streamSize(std::FILE* file);

class OutputFile {
public:
    OutputFile() = default;
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // Creates the temporary file beside `path`. False when it cannot be created
    // (missing folder, no permission); the target is untouched either way.
    bool open(const char* path);

    void write(const void* data, size_t size);
    void write(std::span<const uint8_t> bytes) { write(bytes.data(), bytes.size()); }
    void write(std::string_view text) { write(text.data(), text.size()); }
    void put(char c) {
        if (used_ == kBufferSize) flushBuffer();
        buffer_[used_++] = c;
    }
    // Appends everything from the current position of `in` to its end. Where
    // the system copies between files itself, the bytes never pass through
    // this process. False, with the output failed, on a read error.
    bool writeFrom(std::FILE* in);
    void putU32le(uint32_t v);
    void putI32le(int32_t v) { putU32le(static_cast<uint32_t>(v)); }
    void putF32le(float v);
    void putU16le(uint16_t v);

    // Flushes, closes and renames the temporary file over the target. True only
    // when every byte was written and the rename succeeded; on false the target
    // is as it was before open().
    bool commit();
    // Drops the temporary file; the target stays as it was.
    void abandon();

    bool failed() const noexcept { return failed_; }

private:
    static constexpr size_t kBufferSize = size_t(1) << 20;
    void flushBuffer();

    std::FILE* file_ = nullptr;
    std::string target_;
    std::string temp_;
    std::unique_ptr<char[]> buffer_;
    size_t used_ = 0;
    bool failed_ = false;
};

// Replaces `path` with exactly `bytes`, through OutputFile.
bool writeWholeFile(const char* path, std::span<const uint8_t> bytes);

}  // namespace ostrel
