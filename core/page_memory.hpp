#pragma once
// Memory taken from the system in whole pages, apart from the heap: the
// window an input is read through is one such block, so that it never
// splits the heap of a 32-bit process and is given back whole.

#include <cstddef>
#include <cstdint>
#include <utility>

namespace ostrel {

class PageMemory {
public:
    PageMemory() = default;
    // `size` bytes, not zero-filled by this class; throws std::bad_alloc when
    // the system has none.
    explicit PageMemory(size_t size);
    ~PageMemory();
    PageMemory(PageMemory&& other) noexcept
        : data_(std::exchange(other.data_, nullptr)), size_(std::exchange(other.size_, 0)) {}
    PageMemory& operator=(PageMemory&& other) noexcept;
    PageMemory(const PageMemory&) = delete;
    PageMemory& operator=(const PageMemory&) = delete;

    uint8_t* data() noexcept { return data_; }
    const uint8_t* data() const noexcept { return data_; }
    size_t size() const noexcept { return size_; }

private:
    uint8_t* data_ = nullptr;
    size_t size_ = 0;
};

// What PageMemory asks of the system; one implementation per platform
// (page_memory_posix.cpp, page_memory_windows.cpp).
namespace pages {
void* take(size_t bytes) noexcept;                     // nullptr when refused
void giveBack(void* start, size_t bytes) noexcept;     // whole mapping
}  // namespace pages

}  // namespace ostrel
