#pragma once
// A large scratch buffer taken straight from the system pages and given back
// whole when released. The read buffers of documents are allocated and freed
// as documents open, load and close; through the general heap such blocks
// raise the allocator's thresholds so that later freed memory is kept by the
// process instead of returned.

#include <cstddef>

namespace platform {

class MappedBuffer {
public:
    MappedBuffer() = default;
    // count elements of elementSize bytes; empty on failure.
    MappedBuffer(std::size_t count, std::size_t elementSize);
    ~MappedBuffer();
    MappedBuffer(MappedBuffer&& other) noexcept;
    MappedBuffer& operator=(MappedBuffer&& other) noexcept;
    MappedBuffer(const MappedBuffer&) = delete;
    MappedBuffer& operator=(const MappedBuffer&) = delete;

    explicit operator bool() const { return data_ != nullptr; }
    void* data() const { return data_; }
    std::size_t bytes() const { return bytes_; }
    void reset();

private:
    void* data_ = nullptr;
    std::size_t bytes_ = 0;
};

// The same buffer seen as elements of one type.
template <typename T>
class MappedArray {
public:
    MappedArray() = default;
    explicit MappedArray(std::size_t count) : buffer_(count, sizeof(T)) {}
    explicit operator bool() const { return static_cast<bool>(buffer_); }
    T* get() const { return static_cast<T*>(buffer_.data()); }
    void reset() { buffer_.reset(); }

private:
    MappedBuffer buffer_;
};

}  // namespace platform
