#include "core/page_memory.hpp"

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

}  // namespace ostrel
