#pragma once
// The ordered lines of a text buffer, stored in blocks of 2048 entries.
//
// The array grows by one block at a time and never copies its entries to
// grow. Inserting or erasing moves only the entries on the shorter side of
// the change, so dropping lines from the top (as a followed log is trimmed)
// costs the lines dropped, not the lines kept.

#include <cstddef>
#include <memory>
#include <vector>

#include "core/TextLine.h"

namespace core {

class CLineArray {
public:
    static constexpr int kBlockSize = 2048;

    int Size() const { return static_cast<int>(size_); }
    bool Empty() const { return size_ == 0; }
    // Entries the allocated blocks can hold; a multiple of kBlockSize.
    int Allocated() const { return static_cast<int>(blocks_.size()) * kBlockSize; }

    CTextLine& operator[](int index) { return Slot(head_ + static_cast<std::size_t>(index)); }
    const CTextLine& operator[](int index) const {
        return Slot(head_ + static_cast<std::size_t>(index));
    }
    CTextLine& Back() { return (*this)[Size() - 1]; }

    void PushBack(CTextLine&& line);
    // Moves `lines` into the array so that the first of them lands at `pos`.
    void Insert(int pos, std::vector<CTextLine>& lines);
    // Removes the entries [first, last), freeing their text.
    void Erase(int first, int last);
    void Clear();

private:
    static constexpr std::size_t kShift = 11;
    static constexpr std::size_t kMask = kBlockSize - 1;
    static_assert(std::size_t{1} << kShift == kBlockSize);

    using Block = std::unique_ptr<CTextLine[]>;

    CTextLine& Slot(std::size_t slot) { return blocks_[slot >> kShift][slot & kMask]; }
    const CTextLine& Slot(std::size_t slot) const { return blocks_[slot >> kShift][slot & kMask]; }

    void ReserveFront(std::size_t count);
    void ReserveBack(std::size_t count);
    void OpenGapFromFront(std::size_t pos, std::size_t count);
    void OpenGapFromBack(std::size_t pos, std::size_t count);
    void CloseGapFromFront(std::size_t first, std::size_t count);
    void CloseGapFromBack(std::size_t first, std::size_t count);
    void ReleaseUnusedBlocks();

    std::vector<Block> blocks_;
    std::size_t head_ = 0;  // slot of entry 0
    std::size_t size_ = 0;
};

}  // namespace core
