#include "core/TextLine.h"

#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

namespace core {

CTextLine::CTextLine(std::u16string_view text) {
    Append(text);
}

CTextLine::~CTextLine() {
    std::free(text_);
}

CTextLine::CTextLine(CTextLine&& other) noexcept
    : text_(std::exchange(other.text_, nullptr)),
      length_(std::exchange(other.length_, 0)),
      capacity_(std::exchange(other.capacity_, kCapacityStep)),
      flags_(std::exchange(other.flags_, 0)) {}

CTextLine& CTextLine::operator=(CTextLine&& other) noexcept {
    if (this != &other) {
        std::free(text_);
        text_ = std::exchange(other.text_, nullptr);
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

void CTextLine::Reallocate(int capacity) {
    void* grown = std::realloc(text_, static_cast<std::size_t>(capacity) * sizeof(char16_t));
    if (grown == nullptr) throw std::bad_alloc();
    text_ = static_cast<char16_t*>(grown);
    capacity_ = capacity;
}

}  // namespace core
