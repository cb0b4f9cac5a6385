#include "core/LineArray.h"

#include <utility>

namespace core {

namespace {

std::unique_ptr<CTextLine[]> NewBlock() {
    return std::make_unique<CTextLine[]>(CLineArray::kBlockSize);
}

}  // namespace

void CLineArray::PushBack(CTextLine&& line) {
    ReserveBack(1);
    Slot(head_ + size_) = std::move(line);
    ++size_;
}

void CLineArray::Insert(int pos, std::vector<CTextLine>& lines) {
    const std::size_t at = static_cast<std::size_t>(pos);
    const std::size_t count = lines.size();
    if (count == 0) return;
    if (at < size_ - at) {
        OpenGapFromFront(at, count);
    } else {
        OpenGapFromBack(at, count);
    }
    for (std::size_t i = 0; i < count; ++i) Slot(head_ + at + i) = std::move(lines[i]);
}

void CLineArray::Erase(int first, int last) {
    const std::size_t from = static_cast<std::size_t>(first);
    const std::size_t count = static_cast<std::size_t>(last - first);
    if (last <= first) return;
    const std::size_t after = size_ - from - count;
    if (from < after) {
        CloseGapFromFront(from, count);
    } else {
        CloseGapFromBack(from, count);
    }
    ReleaseUnusedBlocks();
}

void CLineArray::Clear() {
    blocks_.clear();
    head_ = 0;
    size_ = 0;
}

void CLineArray::ReserveFront(std::size_t count) {
    if (head_ >= count) return;
    const std::size_t blocksNeeded = (count - head_ + kBlockSize - 1) / kBlockSize;
    std::vector<Block> fresh;
    fresh.reserve(blocksNeeded + blocks_.size());
    for (std::size_t i = 0; i < blocksNeeded; ++i) fresh.push_back(NewBlock());
    for (auto& block : blocks_) fresh.push_back(std::move(block));
    blocks_ = std::move(fresh);
    head_ += blocksNeeded * kBlockSize;
}

void CLineArray::ReserveBack(std::size_t count) {
    while (head_ + size_ + count > blocks_.size() * kBlockSize) blocks_.push_back(NewBlock());
}

// Moves the entries before `pos` down by `count`, leaving a gap of `count`
// empty entries at `pos`.
void CLineArray::OpenGapFromFront(std::size_t pos, std::size_t count) {
    ReserveFront(count);
    head_ -= count;
    size_ += count;
    for (std::size_t i = 0; i < pos; ++i) Slot(head_ + i) = std::move(Slot(head_ + i + count));
}

// Moves the entries from `pos` on up by `count`, leaving a gap at `pos`.
void CLineArray::OpenGapFromBack(std::size_t pos, std::size_t count) {
    ReserveBack(count);
    for (std::size_t i = size_; i > pos; --i) {
        Slot(head_ + i - 1 + count) = std::move(Slot(head_ + i - 1));
    }
    size_ += count;
}

// Moving an entry over an erased one frees the erased line's text; the slots
// left behind are reset so that they hold no text.
void CLineArray::CloseGapFromFront(std::size_t first, std::size_t count) {
    for (std::size_t i = first; i > 0; --i) {
        Slot(head_ + i - 1 + count) = std::move(Slot(head_ + i - 1));
    }
    for (std::size_t i = 0; i < count; ++i) Slot(head_ + i) = CTextLine{};
    head_ += count;
    size_ -= count;
}

void CLineArray::CloseGapFromBack(std::size_t first, std::size_t count) {
    for (std::size_t i = first; i + count < size_; ++i) {
        Slot(head_ + i) = std::move(Slot(head_ + i + count));
    }
    for (std::size_t i = size_ - count; i < size_; ++i) Slot(head_ + i) = CTextLine{};
    size_ -= count;
}

// Frees whole blocks no entry uses, keeping one spare block at the end so that
// a following log that is trimmed and appended to does not reallocate it.
void CLineArray::ReleaseUnusedBlocks() {
    const std::size_t frontBlocks = head_ / kBlockSize;
    if (frontBlocks > 0) {
        blocks_.erase(blocks_.begin(), blocks_.begin() + static_cast<std::ptrdiff_t>(frontBlocks));
        head_ -= frontBlocks * kBlockSize;
    }
    const std::size_t usedBlocks = (head_ + size_ + kBlockSize - 1) / kBlockSize;
    if (blocks_.size() > usedBlocks + 1) blocks_.resize(usedBlocks + 1);
}

}  // namespace core
