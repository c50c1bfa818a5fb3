#include <sys/mman.h>
#include <unistd.h>

#include "core/page_memory.hpp"

namespace ostrel::pages {

size_t size() noexcept {
    static const size_t bytes = [] {
        const long reported = ::sysconf(_SC_PAGESIZE);
        return reported > 0 ? size_t(reported) : size_t(4096);
    }();
    return bytes;
}

void* take(size_t bytes) noexcept {
    void* start = ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    return start == MAP_FAILED ? nullptr : start;
}

void giveBack(void* start, size_t bytes) noexcept { ::munmap(start, bytes); }

void discard(void* start, size_t bytes) noexcept {
#ifdef __linux__
    // Private anonymous pages given back read as zeros afterwards.
    ::madvise(start, bytes, MADV_DONTNEED);
#else
    ::madvise(start, bytes, MADV_FREE);
#endif
}

}  // namespace ostrel::pages
