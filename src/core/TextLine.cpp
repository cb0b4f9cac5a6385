#include "core/TextLine.h"

#include "core/LineTextBlock.h"

#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

namespace core {

CTextLine::CTextLine(std::u16string_view text) {
    Append(text);
}

CTextLine::CTextLine(std::u16string_view text, int reserve, CLineTextBlock& block) {
    const int length = static_cast<int>(text.size());
    const int capacity = CapacityFor(reserve > length ? reserve : length);
    text_ = block.TakeSlot(static_cast<std::size_t>(capacity));
    if (text_ == nullptr) {
        Append(text);
        return;
    }
    block_ = &block;
    capacity_ = capacity;
    if (length > 0) std::memcpy(text_, text.data(), text.size() * sizeof(char16_t));
    length_ = length;
}

CTextLine::~CTextLine() {
    ReleaseStorage();
}

void CTextLine::ReleaseStorage() {
    if (block_ != nullptr) {
        block_->Release();
    } else if (text_ != nullptr) {
        std::free(text_);
    }
}

CTextLine::CTextLine(CTextLine&& other) noexcept
    : text_(std::exchange(other.text_, nullptr)),
      block_(std::exchange(other.block_, nullptr)),
      length_(std::exchange(other.length_, 0)),
      capacity_(std::exchange(other.capacity_, kCapacityStep)),
      flags_(std::exchange(other.flags_, 0)) {}

CTextLine& CTextLine::operator=(CTextLine&& other) noexcept {
    if (this != &other) {
        ReleaseStorage();
        text_ = std::exchange(other.text_, nullptr);
        block_ = std::exchange(other.block_, nullptr);
        length_ = std::exchange(other.length_, 0);
        capacity_ = std::exchange(other.capacity_, kCapacityStep);
        flags_ = std::exchange(other.flags_, 0);
    }
    return *this;
}

void CTextLine::Append(std::u16string_view text) {
    if (text.empty()) return;
    const int newLength = length_ + static_cast<int>(text.size());
    if (text_ == nullptr || newLength >= capacity_) Reallocate(CapacityFor(newLength));
    std::memcpy(text_ + length_, text.data(), text.size() * sizeof(char16_t));
    length_ = newLength;
}

std::u16string CTextLine::CutTail(int from) {
    if (from >= length_) return {};
    std::u16string tail(Text().substr(static_cast<std::size_t>(from)));
    length_ = from;
    return tail;
}

void CTextLine::Truncate(int length) {
    if (length < length_) length_ = length;
}

void CTextLine::Erase(int pos, int count) {
    if (count <= 0 || pos >= length_) return;
    if (count > length_ - pos) count = length_ - pos;
    const int after = pos + count;
    std::memmove(text_ + pos, text_ + after,
                 static_cast<std::size_t>(length_ - after) * sizeof(char16_t));
    length_ -= count;
}

// A line in a shared block moves to storage of its own; its slot stays
// unused until the block goes.
void CTextLine::Reallocate(int capacity) {
    const std::size_t bytes = static_cast<std::size_t>(capacity) * sizeof(char16_t);
    if (block_ == nullptr) {
        void* grown = std::realloc(text_, bytes);
        if (grown == nullptr) throw std::bad_alloc();
        text_ = static_cast<char16_t*>(grown);
    } else {
        void* own = std::malloc(bytes);
        if (own == nullptr) throw std::bad_alloc();
        if (length_ > 0)
            std::memcpy(own, text_, static_cast<std::size_t>(length_) * sizeof(char16_t));
        std::exchange(block_, nullptr)->Release();
        text_ = static_cast<char16_t*>(own);
    }
    capacity_ = capacity;
}

}  // namespace core
