#pragma once
// The bits of a line's 32-bit flag word.

#include <cstdint>

namespace core {

inline constexpr int kNumberedBookmarkCount = 10;

// Numbered bookmark n (0..9): at most one line carries each n.
constexpr std::uint32_t NumberedBookmarkFlag(int n) {
    return std::uint32_t{1} << n;
}

// An unnumbered bookmark: any number of lines may carry it.
inline constexpr std::uint32_t kBookmarkFlag = 0x00080000;

// The first line of text that arrived while nobody was watching the document.
inline constexpr std::uint32_t kRedLineFlag = 0x80000000;

// The numbered bookmarks and the bookmark: a line carries at most one of them.
inline constexpr std::uint32_t kBookmarkGroup = 0x000803FF;

constexpr bool IsSingleFlag(std::uint32_t flag) {
    return flag != 0 && (flag & (flag - 1)) == 0;
}

}  // namespace core
