#pragma once
// A growable sequence of trivially copyable values that grows with realloc.
// Large blocks are moved by the allocator's page remapping instead of being
// copied into a second block, so growing a buffer of hundreds of megabytes
// never needs twice its size in memory.

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <span>
#include <type_traits>

namespace ostrel {

template <class T>
class PodBuffer {
    static_assert(std::is_trivially_copyable_v<T>);

public:
    PodBuffer() = default;
    ~PodBuffer() { std::free(data_); }
    PodBuffer(const PodBuffer&) = delete;
    PodBuffer& operator=(const PodBuffer&) = delete;

    size_t size() const noexcept { return size_; }
    bool empty() const noexcept { return size_ == 0; }
    T* data() noexcept { return data_; }
    const T* data() const noexcept { return data_; }
    std::span<const T> view() const noexcept { return {data_, size_}; }
    T& operator[](size_t i) noexcept { return data_[i]; }
    const T& operator[](size_t i) const noexcept { return data_[i]; }

    // Makes room for `extra` more values; throws std::bad_alloc and leaves the
    // buffer as it was when memory runs out.
    void reserveMore(size_t extra) {
        if (extra <= capacity_ - size_) return;
        if (extra > maxCount() - size_) throw std::bad_alloc();
        size_t wanted = size_ + extra;
        size_t grown = capacity_ + capacity_ / 2;
        size_t capacity = grown > wanted && grown <= maxCount() ? grown : wanted;
        void* moved = std::realloc(data_, capacity * sizeof(T));
        if (!moved) throw std::bad_alloc();
        data_ = static_cast<T*>(moved);
        capacity_ = capacity;
    }
    // Appends `n` values whose storage the caller fills; room must be reserved.
    T* extendReserved(size_t n) noexcept {
        T* tail = data_ + size_;
        size_ += n;
        return tail;
    }
    void append(std::span<const T> values) {
        reserveMore(values.size());
        if (!values.empty()) std::memcpy(extendReserved(values.size()), values.data(), values.size_bytes());
    }
    void push(const T& value) {
        reserveMore(1);
        *extendReserved(1) = value;
    }
    // Empties the buffer and gives its memory back.
    void release() noexcept {
        std::free(data_);
        data_ = nullptr;
        size_ = capacity_ = 0;
    }

private:
    static constexpr size_t maxCount() noexcept { return SIZE_MAX / sizeof(T) / 2; }

    T* data_ = nullptr;
    size_t size_ = 0;
    size_t capacity_ = 0;
};

}  // namespace ostrel
