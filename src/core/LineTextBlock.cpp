#include "core/LineTextBlock.h"

#include <cstdlib>
#include <new>

namespace core {

namespace {
// The slots start after the header, aligned for any line text.
constexpr std::size_t kHeaderBytes = (sizeof(CLineTextBlock) + alignof(std::max_align_t) - 1) /
                                     alignof(std::max_align_t) * alignof(std::max_align_t);
}  // namespace

CLineTextBlock* CLineTextBlock::Create(std::size_t units) {
    void* memory = std::malloc(kHeaderBytes + units * sizeof(char16_t));
    if (memory == nullptr) return nullptr;
    return new (memory) CLineTextBlock(units);
}

char16_t* CLineTextBlock::Data() {
    return reinterpret_cast<char16_t*>(reinterpret_cast<unsigned char*>(this) + kHeaderBytes);
}

char16_t* CLineTextBlock::TakeSlot(std::size_t units) {
    if (units > free_) return nullptr;
    char16_t* slot = Data() + used_;
    used_ += units;
    free_ -= units;
    ++users_;
    return slot;
}

void CLineTextBlock::Release() {
    if (--users_ > 0) return;
    this->~CLineTextBlock();
    std::free(this);
}

}  // namespace core
