#include "platform/MappedBuffer.h"

#include <sys/mman.h>

#include <cstdint>
#include <utility>

namespace platform {

MappedBuffer::MappedBuffer(std::size_t count, std::size_t elementSize) {
    if (count == 0 || elementSize == 0 || count > SIZE_MAX / elementSize) return;
    const std::size_t bytes = count * elementSize;
    void* data = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (data == MAP_FAILED) return;
    data_ = data;
    bytes_ = bytes;
}

MappedBuffer::~MappedBuffer() {
    reset();
}

MappedBuffer::MappedBuffer(MappedBuffer&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)), bytes_(std::exchange(other.bytes_, 0)) {}

MappedBuffer& MappedBuffer::operator=(MappedBuffer&& other) noexcept {
    if (this != &other) {
        reset();
        data_ = std::exchange(other.data_, nullptr);
        bytes_ = std::exchange(other.bytes_, 0);
    }
    return *this;
}

void MappedBuffer::reset() {
    if (data_ != nullptr) munmap(data_, bytes_);
    data_ = nullptr;
    bytes_ = 0;
}

}  // namespace platform
