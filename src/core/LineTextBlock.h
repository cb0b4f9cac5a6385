#pragma once
// One allocation holding the text of many lines that arrived together.
//
// A followed log appends thousands of lines per read and drops as many from
// the top when the buffer limit is hit. Giving each line its own allocation
// makes both a call to the allocator per line; lines placed in a shared block
// cost one allocation per read, and dropping them only counts down the
// block's users until the last one frees it whole.
//
// Each line owns its slot in the block exactly as it would own its own
// storage (capacity rules included); a line that outgrows its slot moves to
// storage of its own and lets go of the block.

#include <cstddef>
#include <cstdint>

namespace core {

class CLineTextBlock {
public:
    // A block for `units` code units of slots, or nullptr when there is no
    // memory. The caller is its first user and releases it once it has
    // placed its lines.
    static CLineTextBlock* Create(std::size_t units);

    CLineTextBlock(const CLineTextBlock&) = delete;
    CLineTextBlock& operator=(const CLineTextBlock&) = delete;

    bool Fits(std::size_t units) const { return units <= free_; }
    // The next `units` units of the block, now used by one more line;
    // nullptr when they do not fit.
    char16_t* TakeSlot(std::size_t units);
    // A line gave its slot back; the last one frees the block.
    void Release();

private:
    explicit CLineTextBlock(std::size_t units) : free_(units) {}
    char16_t* Data();

    std::size_t users_ = 1;
    std::size_t used_ = 0;
    std::size_t free_ = 0;
};

}  // namespace core
