#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <new>

#include "core/page_memory.hpp"

namespace ostrel {

namespace {

size_t pageSize() noexcept {
    static const size_t size = [] {
        const long reported = ::sysconf(_SC_PAGESIZE);
        return reported > 0 ? size_t(reported) : size_t(4096);
    }();
    return size;
}

}  // namespace

PageMemory::PageMemory(size_t size) {
    if (size == 0) return;
    void* pages = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (pages == MAP_FAILED) throw std::bad_alloc();
    data_ = static_cast<uint8_t*>(pages);
    size_ = size;
}

PageMemory::~PageMemory() {
    if (data_) ::munmap(data_, size_);
}

PageMemory& PageMemory::operator=(PageMemory&& other) noexcept {
    if (this != &other) {
        if (data_) ::munmap(data_, size_);
        data_ = std::exchange(other.data_, nullptr);
        size_ = std::exchange(other.size_, 0);
    }
    return *this;
}

size_t PageMemory::discard(size_t begin, size_t end) noexcept {
    const size_t page = pageSize();
    const size_t first = (begin + page - 1) / page * page;
    const size_t last = std::min(end, size_) / page * page;
    if (!data_ || first >= last) return begin;
#ifdef __linux__
    // Private anonymous pages given back read as zeros afterwards.
    ::madvise(data_ + first, last - first, MADV_DONTNEED);
#else
    ::madvise(data_ + first, last - first, MADV_FREE);
#endif
    return last;
}

}  // namespace ostrel
