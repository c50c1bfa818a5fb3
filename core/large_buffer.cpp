#include "core/large_buffer.hpp"

#include <cstdint>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace ostrel {

ByteBuffer makeLargeBuffer(size_t size) {
    ByteBuffer buffer(size);
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    // Only whole 2 MB pages inside the buffer can be large ones; the advice
    // covers the buffer's own whole 4 KB pages and is only advice: when it is
    // refused, the buffer works the same.
    constexpr size_t kLargePage = size_t(2) << 20, kPage = 4096;
    if (size >= 2 * kLargePage) {
        const uintptr_t start = (uintptr_t(buffer.data()) + kPage - 1) & ~uintptr_t(kPage - 1);
        const uintptr_t end = (uintptr_t(buffer.data()) + size) & ~uintptr_t(kPage - 1);
        if (end > start) ::madvise(reinterpret_cast<void*>(start), end - start, MADV_HUGEPAGE);
    }
#endif
    return buffer;
}

std::optional<ByteBuffer> readWholeLargeFile(File& file) { return readWholeFile(file, makeLargeBuffer); }

std::optional<ByteBuffer> readWholeLargeFile(const char* path) {
    File file = File::openInput(path);
    return readWholeLargeFile(file);
}

}  // namespace ostrel
