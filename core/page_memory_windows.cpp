#include <windows.h>

#include "core/page_memory.hpp"

namespace ostrel::pages {

size_t size() noexcept {
    static const size_t bytes = [] {
        SYSTEM_INFO info;
        GetSystemInfo(&info);
        return info.dwPageSize ? size_t(info.dwPageSize) : size_t(4096);
    }();
    return bytes;
}

void* take(size_t bytes) noexcept { return VirtualAlloc(nullptr, bytes, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE); }

void giveBack(void* start, size_t) noexcept { VirtualFree(start, 0, MEM_RELEASE); }

void discard(void* start, size_t bytes) noexcept {
    // The pages stay committed and readable; the system may drop their
    // contents instead of keeping or paging them out.
    VirtualAlloc(start, bytes, MEM_RESET, PAGE_READWRITE);
}

}  // namespace ostrel::pages
