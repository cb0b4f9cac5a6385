#pragma once
// The size and duration texts of titles and status panes.

#include <cstdint>
#include <string>

namespace core {

// A file size or position in human form: "%I64d B" below 1000 (and for a
// negative size), then KB (one decimal), MB, GB and TB (two decimals), each
// of powers of 1024.
std::u16string FormatFileSize(std::int64_t bytes);
// The same for an unsigned position, as titles show the read position.
std::u16string FormatHumanSize(std::uint64_t bytes);

// A buffer size: "%ldByte" up to 1023, then "%.2fKB" up to 1048575, "%.2fMB"
// up to 1073741823 and "%.2fGB" above.
std::u16string FormatBufferSize(std::uint32_t bytes);
// The "Text length in editor" pane: the text size as a buffer size.
std::u16string FormatTextLength(std::uint32_t bytes);

// A duration in milliseconds: "%d ms" below 1000, "%.1f sec." up to 59999,
// "%.1f min." above.
std::u16string FormatDuration(std::uint32_t milliseconds);

}  // namespace core
