// Copying a file so that the old target survives every failure: the bytes go
// to a temporary file beside the target, which replaces it only after the
// last byte reached the disk.

#include <cstdio>
#include <memory>

#include "core/file_io.hpp"
#include "platform/platform.hpp"

namespace ostrel::platform {
namespace {

struct FileCloser {
    void operator()(std::FILE* f) const noexcept { std::fclose(f); }
};

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
    // A read error is a failed copy, not a short one.
    if (!out.writeFrom(in.get())) {
        out.abandon();
        return false;
    }
    return out.commit();
}

}  // namespace ostrel::platform
