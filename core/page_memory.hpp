#pragma once
// Memory for the bytes of a whole file, taken from the system in pages, so
// that the pages a one-pass reader has finished with can be given back while
// it reads on: its peak memory is then what it keeps, not the file's size.

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

    // Gives back the whole pages inside [begin, end): their bytes are lost
    // (they read as zeros or as anything), their addresses stay readable.
    // Answers the end of the last page given back, or `begin` for none.
    size_t discard(size_t begin, size_t end) noexcept;

private:
    uint8_t* data_ = nullptr;
    size_t size_ = 0;
};

// What PageMemory asks of the system; one implementation per platform
// (page_memory_posix.cpp, page_memory_windows.cpp).
namespace pages {
size_t size() noexcept;
void* take(size_t bytes) noexcept;                     // nullptr when refused
void giveBack(void* start, size_t bytes) noexcept;     // whole mapping
void discard(void* start, size_t bytes) noexcept;      // whole pages inside it
}  // namespace pages

}  // namespace ostrel
