#pragma once
// Whole lines a source has read and not yet handed over, each ending in
// "\r\n", handed over in pieces within a budget.

#include <cstddef>
#include <string>

namespace streams {

class CReadyLines {
public:
    std::u16string& Text() { return text_; }
    std::size_t Size() const { return text_.size() - at_; }
    bool Empty() const { return at_ == text_.size(); }
    void Clear();

    // Appends to out up to the last line end within maxUnits, or one line
    // alone when even that is longer; returns the units handed over.
    std::size_t Hand(std::u16string& out, std::size_t maxUnits);

private:
    std::u16string text_;
    std::size_t at_ = 0;
};

}  // namespace streams
