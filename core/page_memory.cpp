#include "core/page_memory.hpp"

#include <algorithm>
#include <new>

namespace ostrel {

PageMemory::PageMemory(size_t size) {
    if (size == 0) return;
    void* taken = pages::take(size);
    if (!taken) throw std::bad_alloc();
    data_ = static_cast<uint8_t*>(taken);
    size_ = size;
}

PageMemory::~PageMemory() {
    if (data_) pages::giveBack(data_, size_);
}

PageMemory& PageMemory::operator=(PageMemory&& other) noexcept {
    if (this != &other) {
        if (data_) pages::giveBack(data_, size_);
        data_ = std::exchange(other.data_, nullptr);
        size_ = std::exchange(other.size_, 0);
    }
    return *this;
}

size_t PageMemory::discard(size_t begin, size_t end) noexcept {
    const size_t page = pages::size();
    const size_t first = (begin + page - 1) / page * page;
    const size_t last = std::min(end, size_) / page * page;
    if (!data_ || first >= last) return begin;
    pages::discard(data_ + first, last - first);
    return last;
}

}  // namespace ostrel
