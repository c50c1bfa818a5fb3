#include <sys/mman.h>

#include "core/page_memory.hpp"

namespace ostrel::pages {

void* take(size_t bytes) noexcept {
    void* start = ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    return start == MAP_FAILED ? nullptr : start;
}

void giveBack(void* start, size_t bytes) noexcept { ::munmap(start, bytes); }

}  // namespace ostrel::pages
