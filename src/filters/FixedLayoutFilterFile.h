#pragma once
// The older fixed-layout filter files, little-endian: a 32-byte header (magic
// "HLFF" or "IEFF", version 1, character form, record count, 16 reserved
// bytes), then the records. Highlight files hold 2156-byte
// LegacyHighlightFilterRecords with UTF-16LE texts; include/exclude files hold
// a 4-byte type (1 = include) and a NUL-terminated phrase of 260 characters,
// UTF-16LE (form 1) or 8-bit (form 0, the system code page).
//
// The count in the header is a promise the data need not keep: records are
// read one at a time up to the count or to the first record that is not
// there whole, so neither a huge count nor a short file costs anything.

#include <vector>

#include "filters/FilterFileRecords.h"

namespace filters::fixed_layout {

inline constexpr std::size_t kHeaderSize = 32;
inline constexpr std::size_t kInExRecordSizeWide = 524;
inline constexpr std::size_t kInExRecordSizeNarrow = 264;

// False when the header is short or wrong (magic, version 1, character form 1
// for highlight files, a count of at least 1); otherwise the records that
// were there whole are appended, in file order, and the read counts as done.
bool ReadHighlight(const ReadBytesAt& read, HighlightFileImport& out);
// Each record becomes an enabled filter without match case, a regular
// expression exactly when its phrase holds an asterisk; empty phrases come
// in too. A character form other than 0 or 1 gives no records. leftOut tells
// whether records beyond the most one file brings in were left out.
bool ReadInEx(const ReadBytesAt& read, std::vector<InExFilterRow>& out, bool* leftOut = nullptr);

// A file of the given form (the fuzz corpus and the tests build them).
std::vector<std::uint8_t> WriteHighlight(std::span<const HighlightFilter> filters);
std::vector<std::uint8_t> WriteInEx(std::span<const InExFilterRow> rows, bool wide);

}  // namespace filters::fixed_layout
