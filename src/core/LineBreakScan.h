#pragma once
// Finding line breaks in UTF-16 text. A break is CR, LF, CR LF or LF CR; each
// pair counts as one break, so CR CR is two breaks.

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace core {

// Index of the first CR or LF at or after `from`, or npos.
std::size_t FindLineBreak(std::u16string_view text, std::size_t from);

// Index of the first LF at or after `from`, or npos; for normalised text,
// whose only break is LF.
std::size_t FindLf(std::u16string_view text, std::size_t from);

// The breaks of one text from its start to its end, for a caller that walks
// all of them: a block of 64 units is looked at once for all the breaks in
// it, so a text of short lines is not searched anew from every line's start.
class CLineBreakCursor {
public:
    // lfOnly: only LF counts (normalised text), else CR and LF.
    CLineBreakCursor(std::u16string_view text, bool lfOnly) : text_(text), lfOnly_(lfOnly) {}

    // As FindLineBreak (or FindLf) from `from`; `from` never goes back
    // between calls.
    std::size_t Next(std::size_t from);

private:
    static constexpr std::size_t kBlock = 64;
    std::uint64_t BreaksOfBlock(std::size_t base) const;

    std::u16string_view text_;
    bool lfOnly_;
    // The breaks of [base_, base_ + kBlock) not yet passed, one bit each.
    std::size_t base_ = 0;
    std::uint64_t mask_ = 0;
    bool loaded_ = false;
};

// Number of units of the break that starts at `at` (1 or 2).
std::size_t LineBreakLength(std::u16string_view text, std::size_t at);

}  // namespace core
