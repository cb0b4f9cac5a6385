#pragma once
// The size texts of titles and status panes.

#include <cstdint>
#include <string>

namespace core {

// A file position in human form for titles: "%I64d B" below 1000, then KB
// (one decimal), MB, GB and TB (two decimals), each of powers of 1024.
std::u16string FormatHumanSize(std::uint64_t bytes);

// The "Text length in editor" pane: "%ldByte" below 1024, then "%.2fKB",
// "%.2fMB" and "%.2fGB".
std::u16string FormatTextLength(std::uint32_t bytes);

}  // namespace core
