#include "core/file_io.hpp"

#include <cstring>
#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <process.h>
#define OSTREL_GETPID _getpid
#else
#include <unistd.h>
#define OSTREL_GETPID getpid
#endif
#ifdef __linux__
#include <cerrno>
#endif

namespace ostrel {
namespace {

bool seekTo(std::FILE* f, int64_t offset, int origin) {
#ifdef _WIN32
    return _fseeki64(f, offset, origin) == 0;
#else
    return fseeko(f, static_cast<off_t>(offset), origin) == 0;
#endif
}

int64_t tellPosition(std::FILE* f) {
#ifdef _WIN32
    return _ftelli64(f);
#else
    return static_cast<int64_t>(ftello(f));
#endif
}

std::string temporaryNameBeside(const std::string& target) {
    static unsigned counter = 0;
    return target + ".~ostrel" + std::to_string(OSTREL_GETPID()) + "_" + std::to_string(++counter);
}

}  // namespace

std::optional<uint64_t> streamSize(std::FILE* file) {
    if (!seekTo(file, 0, SEEK_END)) return std::nullopt;
    int64_t size = tellPosition(file);
    if (size < 0 || !seekTo(file, 0, SEEK_SET)) return std::nullopt;
    return static_cast<uint64_t>(size);
}

std::optional<ByteBuffer> readWholeStream(std::FILE* file) {
    auto size = streamSize(file);
    if (!size || *size > SIZE_MAX) return std::nullopt;
    ByteBuffer buffer(static_cast<size_t>(*size));
    size_t done = 0;
    while (done < buffer.size()) {
        size_t got = std::fread(buffer.data() + done, 1, buffer.size() - done, file);
        if (got == 0) return std::nullopt;
        done += got;
    }
    return buffer;
}

std::optional<ByteBuffer> readWholeFile(const char* path) {
    if (!path) return std::nullopt;
    // A folder opens as a stream on some systems; it is not a file to read.
    std::error_code ec;
    if (std::filesystem::is_directory(std::filesystem::path(path), ec)) return std::nullopt;
    std::FILE* file = std::fopen(path, "rb");
    if (!file) return std::nullopt;
    auto bytes = readWholeStream(file);
    std::fclose(file);
    return bytes;
}

OutputFile::~OutputFile() { abandon(); }

bool OutputFile::open(const char* path) {
    abandon();
    if (!path || !*path) return false;
    target_ = path;
    temp_ = temporaryNameBeside(target_);
    file_ = std::fopen(temp_.c_str(), "wb");
    if (!file_) return false;
    std::setvbuf(file_, nullptr, _IONBF, 0);  // our own buffer does the batching
    buffer_.reset(new char[kBufferSize]);
    used_ = 0;
    failed_ = false;
    return true;
}

void OutputFile::flushBuffer() {
    if (!file_) {
        failed_ = true;
        used_ = 0;
        return;
    }
    if (used_ && !failed_ && std::fwrite(buffer_.get(), 1, used_, file_) != used_) failed_ = true;
    used_ = 0;
}

void OutputFile::write(const void* data, size_t size) {
    const char* bytes = static_cast<const char*>(data);
    if (size < kBufferSize - used_) {
        if (size) std::memcpy(buffer_.get() + used_, bytes, size);
        used_ += size;
        return;
    }
    flushBuffer();
    if (size < kBufferSize) {
        std::memcpy(buffer_.get(), bytes, size);
        used_ = size;
    } else if (file_ && !failed_ && std::fwrite(bytes, 1, size, file_) != size) {
        failed_ = true;
    }
}

namespace {

// The kernel's file-to-file copy: 1 when `in` was copied to its end, 0 when the
// system cannot do it for these files (the caller copies itself), -1 on error.
int copyInKernel([[maybe_unused]] std::FILE* in, [[maybe_unused]] std::FILE* out) {
#ifdef __linux__
    const int from = fileno(in), to = fileno(out);
    bool copiedAny = false;
    for (;;) {
        ssize_t n = copy_file_range(from, nullptr, to, nullptr, size_t(1) << 30, 0);
        if (n > 0) {
            copiedAny = true;
            continue;
        }
        if (n == 0) return 1;
        if (errno == EINTR) continue;
        // Unsupported between these files: nothing moved yet, so copying by
        // hand from here gives the same bytes.
        if (!copiedAny && (errno == EXDEV || errno == ENOSYS || errno == EINVAL || errno == EOPNOTSUPP)) return 0;
        return -1;
    }
#else
    return 0;
#endif
}

}  // namespace

bool OutputFile::writeFrom(std::FILE* in) {
    if (!file_ || failed_) return false;
    flushBuffer();
    if (failed_) return false;
    if (int kernel = copyInKernel(in, file_); kernel != 0) {
        failed_ = failed_ || kernel < 0;
        return !failed_;
    }
    constexpr size_t kChunk = size_t(4) << 20;
    std::unique_ptr<char[]> chunk(new char[kChunk]);
    for (;;) {
        const size_t got = std::fread(chunk.get(), 1, kChunk, in);
        if (got) write(chunk.get(), got);
        if (got < kChunk) break;
    }
    if (std::ferror(in)) failed_ = true;
    return !failed_;
}

void OutputFile::putU32le(uint32_t v) {
    char b[4] = {char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
    write(b, 4);
}

void OutputFile::putU16le(uint16_t v) {
    char b[2] = {char(v), char(v >> 8)};
    write(b, 2);
}

void OutputFile::putF32le(float v) {
    uint32_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    putU32le(bits);
}

bool OutputFile::commit() {
    if (!file_) return false;
    flushBuffer();
    bool ok = !failed_ && std::fflush(file_) == 0;
    ok = (std::fclose(file_) == 0) && ok;
    file_ = nullptr;
    if (ok) {
        std::error_code ec;
        std::filesystem::rename(std::filesystem::path(temp_), std::filesystem::path(target_), ec);
        ok = !ec;
    }
    if (!ok) std::remove(temp_.c_str());
    temp_.clear();
    buffer_.reset();
    return ok;
}

void OutputFile::abandon() {
    if (file_) {
        std::fclose(file_);
        file_ = nullptr;
        std::remove(temp_.c_str());
    }
    temp_.clear();
    buffer_.reset();
    used_ = 0;
}

bool writeWholeFile(const char* path, std::span<const uint8_t> bytes) {
    OutputFile out;
    if (!out.open(path)) return false;
    out.write(bytes);
    return out.commit();
}

}  // namespace ostrel
