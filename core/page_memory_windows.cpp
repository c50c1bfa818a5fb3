#include <windows.h>

#include <new>

#include "core/page_memory.hpp"

namespace ostrel {

namespace {

size_t pageSize() noexcept {
    static const size_t size = [] {
        SYSTEM_INFO info;
        GetSystemInfo(&info);
        return info.dwPageSize ? size_t(info.dwPageSize) : size_t(4096);
    }();
    return size;
}

}  // namespace

PageMemory::PageMemory(size_t size) {
    if (size == 0) return;
    void* pages = VirtualAlloc(nullptr, size, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
    if (!pages) throw std::bad_alloc();
    data_ = static_cast<uint8_t*>(pages);
    size_ = size;
}

PageMemory::~PageMemory() {
    if (data_) VirtualFree(data_, 0, MEM_RELEASE);
}

PageMemory& PageMemory::operator=(PageMemory&& other) noexcept {
    if (this != &other) {
        if (data_) VirtualFree(data_, 0, MEM_RELEASE);
        data_ = std::exchange(other.data_, nullptr);
        size_ = std::exchange(other.size_, 0);
    }
    return *this;
}

size_t PageMemory::discard(size_t begin, size_t end) noexcept {
    const size_t page = pageSize();
    const size_t first = (begin + page - 1) / page * page;
    const size_t last = (end < size_ ? end : size_) / page * page;
    if (!data_ || first >= last) return begin;
    // The pages stay committed and readable; the system may drop their
    // contents instead of keeping or paging them out.
    VirtualAlloc(data_ + first, last - first, MEM_RESET, PAGE_READWRITE);
    return last;
}

}  // namespace ostrel
