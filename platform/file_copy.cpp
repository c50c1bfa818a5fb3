// Copying a file so that the old target survives every failure: the bytes go
// to a temporary file beside the target, which replaces it only after the
// last byte reached the disk.

#include <cstdio>
#include <memory>

#include "core/file_io.hpp"
#include "platform/platform.hpp"

namespace ostrel::platform {
namespace {

// Large enough that each write bypasses the output buffer and goes to the
// disk in one call.
constexpr size_t kCopyChunk = size_t(4) << 20;

struct FileCloser {
    void operator()(std::FILE* f) const noexcept { std::fclose(f); }
};

bool copyStream(std::FILE* in, OutputFile& out) {
    std::unique_ptr<uint8_t[]> chunk(new uint8_t[kCopyChunk]);
    for (;;) {
        const size_t got = std::fread(chunk.get(), 1, kCopyChunk, in);
        if (got) out.write(chunk.get(), got);
        if (got < kCopyChunk) break;
    }
    // A read error is a failed copy, not a short one.
    return !std::ferror(in) && !out.failed();
}

}  // namespace

bool copyFile(const char* source, const char* target) {
    if (!source || !target) return false;
    // The copy would replace the file by itself: nothing to do, and deleting
    // or truncating the target first would destroy the source.
    if (sameExistingFile(source, target)) return true;
    std::unique_ptr<std::FILE, FileCloser> in(std::fopen(source, "rb"));
    if (!in) return false;
    OutputFile out;
    if (!out.open(target)) return false;
    if (!copyStream(in.get(), out)) {
        out.abandon();
        return false;
    }
    return out.commit();
}

}  // namespace ostrel::platform
