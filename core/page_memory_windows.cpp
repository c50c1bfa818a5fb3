#include <windows.h>

#include "core/page_memory.hpp"

namespace ostrel::pages {

void* take(size_t bytes) noexcept { return VirtualAlloc(nullptr, bytes, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE); }

void giveBack(void* start, size_t) noexcept { VirtualFree(start, 0, MEM_RELEASE); }

}  // namespace ostrel::pages
